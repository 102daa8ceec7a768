#!/usr/bin/env bash
# Sets up what is missing, builds the program (release build in build/), writes a settings
# file for the sample work folder of this checkout and starts the program on it. Without a
# display the program runs on a virtual one (xvfb-run). Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j "$(nproc)" --target morvel

ini="$root/build/morvel-samples.ini"
bash scripts/sample-settings.sh "$ini"
export MORVEL_INI="$ini"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/morvel" "$@"
fi
exec "$root/build/morvel" "$@"

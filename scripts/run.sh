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

# The settings file of the demonstration: the folders of samples/ as absolute paths. It is
# written when it is missing or when the checkout has moved; otherwise what the program
# stored in it meanwhile (fonts, colours, recent files) is kept.
ini="$root/build/morvel-samples.ini"
if ! grep -qxF "Work Field=$root/samples/WORK" "$ini" 2>/dev/null; then
  {
    printf '[Path Setting]\n'
    printf 'Work Drive=C\n'
    printf 'Work Field=%s\n' "$root/samples/WORK"
    printf 'Estimation Form=%s\n' "$root/samples/FORM"
    printf 'Parts Form=%s\n' "$root/samples/FORM"
    printf 'Information Form=%s\n' "$root/samples/FORM"
    printf 'Other Form=%s\n' "$root/samples/MASTER"
    printf '\n[Form File Name Setting]\n'
    printf 'Estimation Form Name=meisai.MMK\n'
    printf 'Information Form Name=JYOUHOU.MJK\n'
    printf 'Part Form Name=BUZAI.MBK\n'
    printf '\n[Input Setting]\n'
    printf 'Tax=8\nDirection=1\nRound-off=0\nBackup File=0\nRound Mode=3\n'
  } | iconv -f UTF-8 -t CP932 > "$ini.tmp"
  mv "$ini.tmp" "$ini"
fi
export MORVEL_INI="$ini"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$root/build/morvel" "$@"
fi
exec "$root/build/morvel" "$@"

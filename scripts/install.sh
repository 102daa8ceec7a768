#!/usr/bin/env bash
# Sets up what is missing, builds a release build in build/ and installs the program as a
# desktop application: the program, its menu entry and icons, the file types of estimates
# and parts lists, and the user guide. The prefix is /usr/local unless given:
#
#   ./scripts/install.sh [prefix]
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${1:-/usr/local}"

bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build build -j "$(nproc)" --target morvel morvel_help

SUDO=""
if [ ! -w "$(dirname "$prefix")" ] && [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO cmake --install build
echo "Installed under $prefix: start it from the desktop's menu (みつもりモルベル) or as $prefix/bin/morvel."

#!/usr/bin/env bash
# Screenshots of the estimate grid's find and replace dialogs under a virtual display with a
# window manager (Xvfb and openbox), opened from the keyboard (Ctrl+F, Ctrl+H) on the sample
# estimate the way a user opens them.
#
#   scripts/edit-dialog-shots.sh [build folder] [picture folder] [display number]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$(realpath "${1:-build}")"
out="$(realpath -m "${2:-build/shots}")"
display=":${3:-45}"

for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || {
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends xvfb openbox xdotool imagemagick
    break
  }
done
mkdir -p "$out"
scratch="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

ini="$scratch/morvel.ini"
bash scripts/sample-settings.sh "$ini"
export MORVEL_INI="$ini" MORVEL_LOCK_DIR="$scratch" MORVEL_NO_SOUND=1 XDG_CONFIG_HOME="$scratch/config"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

wait_window() {
  local id=""
  for _ in $(seq 300); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  return 1
}

cp "$root/samples/WORK/サンプル見積.MMD" "$scratch/見積A.MMD"
"$build/morvel" /nosplash "$scratch/見積A.MMD" >"$scratch/morvel.log" 2>&1 &
pids+=($!)
main="$(wait_window "見積A")"
sleep 1.5
xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true

xdotool key --clearmodifiers ctrl+f
find="$(wait_window "^検索$")"
sleep 0.8
import -window root "$out/find-dialog.png"
xdotool key --window "$find" Escape
sleep 0.5

xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
xdotool key --clearmodifiers ctrl+h
wait_window "^置換$" >/dev/null
sleep 0.8
import -window root "$out/replace-dialog.png"
echo "$out/find-dialog.png $out/replace-dialog.png"

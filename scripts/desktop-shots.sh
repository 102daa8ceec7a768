#!/usr/bin/env bash
# Runs the program under a virtual display with a window manager (Xvfb and openbox) and
# takes screenshots of what a desktop user sees: the splash over the main window, a failed
# open whose message box is dismissed by a mouse click, cascaded and tiled estimate windows,
# the window list of the ｳｨﾝﾄﾞｳ menu, the file dialog, and the grid at 100 %. Every step is
# driven with xdotool the way a user would drive it.
#
#   scripts/desktop-shots.sh [build folder] [picture folder] [display number]
#
# The build folder holds a built `morvel` (default build/); the pictures go to the picture
# folder (default build/shots/). The script fails when a step does not show what it should.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="$(realpath "${1:-build}")"
out="$(realpath -m "${2:-build/shots}")"
display=":${3:-44}"

need=()
for tool in Xvfb openbox xdotool import xwininfo; do
  command -v "$tool" >/dev/null || need+=("$tool")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends xvfb openbox xdotool imagemagick x11-utils
fi

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

# The program's settings and single-instance lock belong to this run.
ini="$scratch/morvel.ini"
bash scripts/sample-settings.sh "$ini"
export MORVEL_INI="$ini" MORVEL_LOCK_DIR="$scratch" MORVEL_NO_SOUND=1 XDG_CONFIG_HOME="$scratch/config"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"

shot() { import -window root "$out/$1.png"; echo "$out/$1.png"; }
# Waits for a window whose title matches, prints its id.
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
wait_gone() {
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "window \"$1\" is still there" >&2
  return 1
}
start_program() {
  "$build/morvel" "$@" >"$scratch/morvel.log" 2>&1 &
  program=$!
  pids+=($program)
}
stop_program() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}

title="みつもりﾓﾙﾍﾞﾙ"

# 1. The splash over the main window.
start_program
main="$(wait_window "$title")"
sleep 0.3
shot splash
stop_program

# 2. Two estimates, maximised; the grid at 100 % in both faces (Gothic headings, Mincho
#    details); the file dialog; a file that is not an estimate opened from it, its message box
#    clicked away with the mouse; then cascade, tile and the window list.
cp "$root/samples/WORK/サンプル見積.MMD" "$scratch/見積A.MMD"
cp "$root/samples/WORK/サンプル見積.MMD" "$scratch/見積B.MMD"
printf '\013TEXT FILE..and more text follows\n' >"$scratch/not-an-estimate.MMD"
start_program /nosplash "$scratch/見積A.MMD"
main="$(wait_window "見積A")"
sleep 1.5
shot grid-100

open_file() {
  xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers ctrl+o
  wait_window "^開く$" >/dev/null
  sleep 1
  [ -n "${2:-}" ] && shot "$2"
  xdotool type --delay 20 "$1"
  xdotool key Return
}
open_file "$scratch/見積B.MMD" file-dialog
wait_window "見積B" >/dev/null
sleep 1

open_file "$scratch/not-an-estimate.MMD"
sleep 2
shot failed-open
# The message box: the program's window that is not the main one.
box=""
for w in $(xdotool search --onlyvisible --name "ﾓﾙﾍﾞﾙ" 2>/dev/null); do
  [ "$w" != "$main" ] && box="$w"
done
[ -n "$box" ] || { echo "no message box" >&2; exit 1; }
# The box's client area on the screen (xwininfo reports it without the window manager's
# frame); OK sits at its bottom right.
left="$(xwininfo -id "$box" | sed -n 's/.*Absolute upper-left X: *//p')"
top="$(xwininfo -id "$box" | sed -n 's/.*Absolute upper-left Y: *//p')"
width="$(xwininfo -id "$box" | sed -n 's/.*Width: *//p')"
height="$(xwininfo -id "$box" | sed -n 's/.*Height: *//p')"
xdotool mousemove $((left + width - 50)) $((top + height - 21))
sleep 0.3
xdotool click 1
sleep 1
if xdotool search --onlyvisible --name "ﾓﾙﾍﾞﾙ" 2>/dev/null | grep -qx "$box"; then
  shot failed-open-not-dismissed
  echo "the message box did not take the click" >&2
  exit 1
fi
shot failed-open-clicked

menu_command() { # the ｳｨﾝﾄﾞｳ menu by its mnemonic, then the item's
  xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers alt+w
  sleep 0.7
  [ -n "${2:-}" ] && shot "$2"
  xdotool key "$1"
  sleep 1
}
menu_command c
shot cascade
menu_command t
shot tile
menu_command Escape window-list
stop_program
echo "pictures in $out"

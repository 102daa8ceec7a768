#!/bin/sh
# Runs the tests of a test program that need a real X display on a virtual one (Xvfb), and
# with "xclip" also gives them xclip as another program on the clipboard, with "openbox" a
# window manager that decorates, maximises and restores the windows, with "xdotool" a user's
# keys pressed on the X server (each installed when it is missing and it can be); exits 77
# (skipped) when no virtual display can be had.
#   run_on_xvfb.sh <test binary> <gtest filter> [xclip|openbox|xdotool ...]
set -u
bin="$1"
filter="$2"
shift 2
command -v Xvfb >/dev/null 2>&1 || exit 77
window_manager=""
for helper in "$@"; do
  if ! command -v "$helper" >/dev/null 2>&1; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && SUDO="sudo -n"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$helper" \
      >/dev/null 2>&1
  fi
  command -v "$helper" >/dev/null 2>&1 || exit 77
  [ "$helper" = openbox ] && window_manager=openbox
done

# A display number nobody uses, chosen by the server itself: several of these scripts run at
# once under ctest, and picking a free number here would race with the others. A server
# started that way takes no lock file, so one started on an explicit number (another script,
# xvfb-run) would see the number as free and take its socket path: the script takes the
# lock itself, in the server's name, and when a server on an explicit number got the lock
# first it keeps its server aside (holding that number) and asks for another.
dfile=$(mktemp)
xvfb=""
lock=""
aside=""
cleanup() {
  kill ${wm:-} $xvfb $aside 2>/dev/null
  for p in $xvfb $aside; do wait "$p" 2>/dev/null; done
  [ -n "$lock" ] && rm -f "$lock"
  rm -f "$dfile" ${supp:-} ${wmlog:-}
}
trap cleanup EXIT
trap 'exit 1' INT TERM
tries=0
while [ -z "$lock" ] && [ $tries -lt 10 ]; do
  tries=$((tries + 1))
  [ -n "$xvfb" ] && aside="$aside $xvfb"
  : >"$dfile"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
  xvfb=$!
  # The server writes its number once it takes connections. The limit (60 s) is far above
  # any machine's start; it only ends a wait for a server that hangs.
  i=0
  while [ ! -s "$dfile" ] && kill -0 $xvfb 2>/dev/null && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done
  n=$(tr -dc 0-9 <"$dfile")
  if [ -z "$n" ] || [ ! -e "/tmp/.X11-unix/X$n" ]; then
    echo "run_on_xvfb.sh: Xvfb gave no display (waited $((i / 10)) s): skipped" >&2
    exit 77
  fi
  # Created only if it does not exist (noclobber), with the server's process id as X
  # servers write it, so that they take the display for a live one.
  if (set -C && printf '%10d\n' $xvfb >"/tmp/.X$n-lock") 2>/dev/null; then
    lock="/tmp/.X$n-lock"
  fi
done
if [ -z "$lock" ]; then
  echo "run_on_xvfb.sh: no display whose lock was free after $tries servers: skipped" >&2
  exit 77
fi
kill $aside 2>/dev/null
for p in $aside; do wait "$p" 2>/dev/null; done
aside=""

# The X platform plugin talks to D-Bus, whose library keeps a buffer until exit: not ours.
supp=$(mktemp)
if [ "$window_manager" = openbox ]; then
  # The window manager runs beside the tests. It has taken the screen when it names itself
  # on the root window; the tests then wait for it to manage their windows.
  wmlog=$(mktemp)
  DISPLAY=":$n" openbox --sm-disable >/dev/null 2>"$wmlog" &
  wm=$!
  if command -v xprop >/dev/null 2>&1; then
    i=0
    until DISPLAY=":$n" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
      if ! kill -0 $wm 2>/dev/null || [ $i -ge 600 ]; then
        echo "run_on_xvfb.sh: openbox did not take the screen (waited $((i / 10)) s):" >&2
        cat "$wmlog" >&2
        exit 1
      fi
      sleep 0.1
      i=$((i + 1))
    done
  fi
fi
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$supp"
DISPLAY=":$n" QT_QPA_PLATFORM=xcb MORVEL_NO_SOUND=1 LSAN_OPTIONS="suppressions=$supp" \
  "$bin" --gtest_filter="$filter"

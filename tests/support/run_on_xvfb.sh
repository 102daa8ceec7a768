#!/bin/sh
# Runs the tests of a test program that need a real X display on a virtual one (Xvfb), and
# with "xclip" also gives them xclip as another program on the clipboard, with "openbox" a
# window manager that decorates, maximises and restores the windows (either installed when it
# is missing and it can be); exits 77 (skipped) when no virtual display can be had.
#   run_on_xvfb.sh <test binary> <gtest filter> [xclip|openbox]
set -u
bin="$1"
filter="$2"
helper="${3:-}"
command -v Xvfb >/dev/null 2>&1 || exit 77
if [ -n "$helper" ]; then
  if ! command -v "$helper" >/dev/null 2>&1; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && SUDO="sudo -n"
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$helper" \
      >/dev/null 2>&1
  fi
  command -v "$helper" >/dev/null 2>&1 || exit 77
fi

# A display number nobody uses, chosen by the server itself: several of these scripts run at
# once under ctest, and picking a free number here would race with the others.
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$dfile"' EXIT INT TERM
i=0
while [ ! -s "$dfile" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
n=$(tr -dc 0-9 <"$dfile")
[ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ] || exit 77

# The X platform plugin talks to D-Bus, whose library keeps a buffer until exit: not ours.
supp=$(mktemp)
trap 'kill $xvfb 2>/dev/null; rm -f "$supp" "$dfile"' EXIT INT TERM
if [ "$helper" = openbox ]; then
  # The window manager runs beside the tests; they wait for it to manage their windows.
  DISPLAY=":$n" openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  trap 'kill $wm 2>/dev/null; kill $xvfb 2>/dev/null; rm -f "$supp" "$dfile"' EXIT INT TERM
fi
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$supp"
DISPLAY=":$n" QT_QPA_PLATFORM=xcb MORVEL_NO_SOUND=1 LSAN_OPTIONS="suppressions=$supp" \
  "$bin" --gtest_filter="$filter"

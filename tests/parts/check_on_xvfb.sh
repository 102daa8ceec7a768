#!/bin/sh
# Runs the parts grid's display tests on a virtual X display (Xvfb); exits 77 (skipped)
# when no virtual display can be had.
#   check_on_xvfb.sh <test_parts binary>
set -u
bin="$1"

command -v Xvfb >/dev/null 2>&1 || exit 77

# A display number nobody uses.
n=71
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT INT TERM
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -e "/tmp/.X11-unix/X$n" ] || exit 77

# The X platform plugin talks to D-Bus, whose library keeps a buffer until exit: not ours.
supp=$(mktemp)
trap 'kill $xvfb 2>/dev/null; rm -f "$supp"' EXIT INT TERM
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$supp"
DISPLAY=":$n" QT_QPA_PLATFORM=xcb MORVEL_NO_SOUND=1 LSAN_OPTIONS="suppressions=$supp" \
  "$bin" --gtest_filter='PartsOnXScreen.*'

#!/usr/bin/env bash
# Checks printing against a real CUPS scheduler, which the test suite never needs: a
# scheduler of this script's own (its own folder, socket and queues; the machine's own
# scheduler, if any, is not touched) with cups-pdf queues. The printing tests that ask for it
# then add and remove queues, make one the default, stop and start the scheduler while the
# print dialog is open, and print landscape pages to the built-in PDF printer and to a queue:
#
#   sudo scripts/check_cups.sh [build folder]     (default: build-test)
#
# Root is needed for the cups-pdf backend, which runs only as root. What is missing is
# installed first; the scheduler is stopped and its folder removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-test}"

if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=PATH "$0" "$@"
fi

bash scripts/setup.sh
packages=(cups-daemon cups-client cups-bsd printer-driver-cups-pdf)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target test_platform_ui test_estimate_tools

# The scheduler: a folder of its own, listening on a socket in it only.
dir="$(mktemp -d /tmp/morvel-cups.XXXXXX)"
mkdir -p "$dir/etc/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log"
cat > "$dir/etc/cupsd.conf" <<EOF
LogLevel info
Listen $dir/cups.sock
Browsing Off
WebInterface No
DefaultAuthType None
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat > "$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
SystemGroup root
User lp
Group lp
FileDevice Yes
EOF
chown -R root:lp "$dir"
chmod 0755 "$dir"
chmod 0710 "$dir/spool"
chmod 1770 "$dir/spool/tmp"
chmod 0770 "$dir/cache" "$dir/state"

export CUPS_SERVER="$dir/cups.sock"
# Starting and stopping it, as files the tests run while the print dialog is open.
cat > "$dir/start.sh" <<EOF
#!/bin/sh
cupsd -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" -f >>"$dir/log/stdout" 2>&1 &
echo \$! >"$dir/cupsd.pid"
for i in \$(seq 50); do
  CUPS_SERVER="$dir/cups.sock" lpstat -r 2>/dev/null | grep -q "is running" && exit 0
  sleep 0.2
done
echo "the scheduler did not start; see $dir/log" >&2
exit 1
EOF
cat > "$dir/stop.sh" <<EOF
#!/bin/sh
[ -f "$dir/cupsd.pid" ] || exit 0
pid=\$(cat "$dir/cupsd.pid")
kill "\$pid" 2>/dev/null
for i in \$(seq 50); do
  kill -0 "\$pid" 2>/dev/null || break
  sleep 0.2
done
rm -f "$dir/cupsd.pid"
EOF
chmod +x "$dir/start.sh" "$dir/stop.sh"
trap '"$dir/stop.sh"; rm -rf "$dir"' EXIT
"$dir/start.sh"

# What the tests are told: check against this scheduler, how to stop and start it, and
# where it keeps the files of the jobs it took.
export MORVEL_CHECK_CUPS=1
export MORVEL_CUPS_STOP="$dir/stop.sh"
export MORVEL_CUPS_START="$dir/start.sh"
export MORVEL_CUPS_SPOOL="$dir/spool"
export QT_QPA_PLATFORM=offscreen MORVEL_NO_SOUND=1

# A check that skips did not run: that counts as a failure here.
status=0
run() {
  local out
  out="$("$@" 2>&1)" || status=1
  grep -E '^\[ *(RUN|OK|FAILED|SKIPPED|PASSED) *\]|Failure|Expected|Which is|Actual' <<<"$out" || true
  if grep -q '^\[  SKIPPED \]' <<<"$out"; then status=1; fi
}
run "$build/tests/platform/ui/test_platform_ui" --gtest_filter='PrintTest.*Cups*'
run "$build/tests/estimate_tools/test_estimate_tools" --gtest_filter='EstimatePrint.*Landscape*'
if [ $status -eq 0 ]; then
  echo "All CUPS checks passed."
else
  echo "Some CUPS checks failed or did not run."
fi
exit $status

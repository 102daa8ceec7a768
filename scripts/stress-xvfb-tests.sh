#!/usr/bin/env bash
# Runs the tests that need a real X display (Xvfb, with openbox or xclip) again and again on a
# loaded machine, stress-ng keeping every processor busy beside them, and counts for each test
# how often it passed and how often it failed. The tests must be built (build-test).
#   scripts/stress-xvfb-tests.sh [runs (100)] [ctest name pattern ('OnXvfb$')] [stress-ng workers (16)]
set -uo pipefail
cd "$(dirname "$0")/.."
runs="${1:-100}"
pattern="${2:-OnXvfb\$}"
workers="${3:-16}"

if ! command -v stress-ng >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null 2>&1 && SUDO="sudo -n"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends stress-ng >/dev/null 2>&1
fi
command -v stress-ng >/dev/null 2>&1 || { echo "stress-xvfb-tests.sh: stress-ng is missing" >&2; exit 1; }

log=$(mktemp -d)
stress-ng --cpu "$workers" --quiet &
stress=$!
trap 'kill $stress 2>/dev/null; wait $stress 2>/dev/null' EXIT INT TERM

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for ((run = 1; run <= runs; run++)); do
  ctest --test-dir build-test -R "$pattern" -j 4 --output-on-failure >"$log/run$run.txt" 2>&1
  # ctest's summary lines: "1/2 Test #12: name ....   Passed   3.10 sec"
  grep -E 'Test +#[0-9]+: ' "$log/run$run.txt" | sed -E 's/.*Test +#[0-9]+: ([^ ]+) .*\*\*\*(Failed|Skipped|Timeout).*/\1 \2/;
    s/.*Test +#[0-9]+: ([^ ]+) .* (Passed|Skipped|Failed).*/\1 \2/' >>"$log/results.txt"
  grep -q -E '\*\*\*(Failed|Timeout)|\*\*\*Exception' "$log/run$run.txt" && echo "run $run failed: $log/run$run.txt"
done
echo "$runs runs beside stress-ng --cpu $workers; outputs in $log"
sort "$log/results.txt" | uniq -c

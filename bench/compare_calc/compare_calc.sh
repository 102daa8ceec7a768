#!/bin/bash
# Side by side in one session: the estimate engine (bench_estimate) against LibreOffice Calc
# on the same 10,005-row estimate built as two spreadsheets (subtotals over their ranges, and
# every total summing its direct children). A benchmark: it prints a table and
# never fails (exit 0 also when LibreOffice cannot be installed or driven).
#
#   bench/compare_calc/compare_calc.sh [path/to/bench_estimate] [runs]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
bench="${1:-$here/../../build-rel/bench/bench_estimate}"
runs="${2:-11}"
work="$(mktemp -d /tmp/compare_calc-XXXXXX)"
trap 'rm -rf "$work"' EXIT

if ! /usr/bin/python3 -c 'import uno' 2>/dev/null || ! command -v soffice >/dev/null; then
    echo "compare_calc: installing LibreOffice Calc and Python-UNO"
    if ! { apt-get install -y libreoffice-calc-nogui python3-uno >"$work/apt.log" 2>&1 ||
           { apt-get update >>"$work/apt.log" 2>&1 &&
             apt-get install -y libreoffice-calc-nogui python3-uno >>"$work/apt.log" 2>&1; }; }; then
        echo "compare_calc: LibreOffice could not be installed (see apt output below); engine figures only"
        tail -5 "$work/apt.log"
    fi
fi

if [ ! -x "$bench" ]; then
    echo "compare_calc: no benchmark program at $bench (build the Release tree first)"
    exit 0
fi
MORVEL_BENCH_DUMP="$work/rows.tsv" "$bench" "$runs" >"$work/engine.txt" 2>&1
cat "$work/engine.txt"
uptime
/usr/bin/python3 "$here/compare_calc.py" "$work/rows.tsv" "$work/engine.txt" "$runs" "$work" || true
exit 0

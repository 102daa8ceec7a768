#!/bin/bash
# Side by side in one session: the estimate engine (bench_estimate) against LibreOffice Calc
# on the same estimate built as two spreadsheets (subtotals over their ranges, and every
# total summing its direct children), at each of the given sizes (rows; by default 1,000,
# 10,000, 30,000 and 65,000). Full recalculation and one quantity edit are timed on both
# sides, and every computed value is checked against the engine's. A benchmark: it prints
# a table per size and one table of all sizes with the ratios, and never fails (exit 0 also
# when LibreOffice cannot be installed or driven).
#
#   bench/compare_calc/compare_calc.sh [path/to/bench_estimate] [runs] [rows ...]
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
shift 2 2>/dev/null || shift $#
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 30000 65000)
summary="$work/summary.txt"
for rows in "${sizes[@]}"; do
    echo "== $rows rows; load before: $(uptime | sed 's/.*load/load/')"
    MORVEL_BENCH_DUMP="$work/rows.tsv" "$bench" "$runs" "$rows" >"$work/engine.txt" 2>&1
    cat "$work/engine.txt"
    COMPARE_CALC_SUMMARY="$summary" /usr/bin/python3 "$here/compare_calc.py" "$work/rows.tsv" \
        "$work/engine.txt" "$runs" "$work" || true
    echo "== $rows rows; load after: $(uptime | sed 's/.*load/load/')"
done
if [ -s "$summary" ]; then
    echo
    echo "compare_calc: processor-time medians in ms (Calc's with the engine's time over it)"
    echo
    echo "| rows | engine recalc | Calc recalc, ranges | Calc recalc, nested | engine edit | Calc edit, ranges | Calc edit, nested | engine edit+tree | values differing |"
    echo "|---|---|---|---|---|---|---|---|---|"
    cat "$summary"
fi
exit 0

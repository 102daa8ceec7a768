#!/bin/bash
# Memory per row side by side: the estimate engine (bench_row_memory) against LibreOffice Calc
# holding the same rows as a sheet (the sample estimate's rows repeated), at each size given.
# A benchmark: it prints the figures and never fails (exit 0 also when LibreOffice cannot be
# installed or driven).
#
#   bench/compare_calc/compare_memory.sh [path/to/bench_row_memory] [rows...]
#                                        (default 10000 65000 100000)
set -u
here="$(cd "$(dirname "$0")" && pwd)"
bench="${1:-$here/../../build-rel/bench/bench_row_memory}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 65000 100000)
work="$(mktemp -d /tmp/compare_memory-XXXXXX)"
trap 'rm -rf "$work"' EXIT

if ! /usr/bin/python3 -c 'import uno' 2>/dev/null || ! command -v soffice >/dev/null; then
    echo "compare_memory: installing LibreOffice Calc and Python-UNO"
    if ! { apt-get install -y libreoffice-calc-nogui python3-uno >"$work/apt.log" 2>&1 ||
           { apt-get update >>"$work/apt.log" 2>&1 &&
             apt-get install -y libreoffice-calc-nogui python3-uno >>"$work/apt.log" 2>&1; }; }; then
        echo "compare_memory: LibreOffice could not be installed (see apt output below); engine figures only"
        tail -5 "$work/apt.log"
    fi
fi
if [ ! -x "$bench" ]; then
    echo "compare_memory: no benchmark program at $bench (build the Release tree first)"
    exit 0
fi

echo "estimate engine (bench_row_memory, /proc/self/statm):"
"$bench" "${sizes[@]}"
echo "LibreOffice Calc (VmRSS of the office processes):"
for n in "${sizes[@]}"; do
    mkdir -p "$work/$n"
    "$bench" --dump "$work/$n" "$n" >/dev/null
    /usr/bin/python3 "$here/compare_memory.py" "$work/$n/rows.txt" "$work/$n" || true
    rm -rf "$work/$n"
done
exit 0

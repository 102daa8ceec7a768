#!/bin/bash
# Opens of the benchmark estimate (65,000 rows unless given) as a user makes them: the first
# open in a new process, each process started after a pause in which another program used
# memory; then, in one process, opens after such pauses. Prints the median and the 95th
# percentile of each, elapsed, processor and system time, and beside them the median of
# opens made back to back.
#   bench/cold_open.sh [path/to/bench_estimate] [starts] [pause-ms] [MB] [rows]
# (defaults: build/bench/bench_estimate, 15 starts, 2000 ms, 512 MB used elsewhere)
set -u
bench="${1:-$(dirname "$0")/../build/bench/bench_estimate}"
starts="${2:-15}"
pause="${3:-2000}"
megabytes="${4:-512}"
rows="${5:-65000}"
work="$(mktemp -d /tmp/cold_open-XXXXXX)"
trap 'rm -rf "$work"' EXIT
MORVEL_BENCH_KEEP="$work/bench.mmd" "$bench" 1 "$rows" >/dev/null || exit 0
echo "cold_open: load $(cut -d' ' -f1-3 /proc/loadavg)"
for _ in $(seq "$starts"); do
    "$bench" --touch "$megabytes"
    sleep "$(awk -v ms="$pause" 'BEGIN { printf "%.3f", ms / 1000 }')"
    "$bench" --open "$work/bench.mmd" 5
done | awk -v pause="$pause" -v mb="$megabytes" '
    { first[NR] = $2; warm[NR] = $4; cpu[NR] = $7 }
    function sorted(a, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    }
    function median(a, n) { sorted(a, n); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    function p95(a, n,   r) { sorted(a, n); r = int((n * 95 + 99) / 100); return a[r < 1 ? 1 : r] }
    END { printf "cold_open: %d starts after %d ms and %d MB used elsewhere: first open median %.2f p95 %.2f ms, cpu median %.2f p95 %.2f ms; back to back median %.2f ms\n",
                 NR, pause, mb, median(first, NR), p95(first, NR), median(cpu, NR), p95(cpu, NR), median(warm, NR) }'
"$bench" --open "$work/bench.mmd" "$starts" "$pause" "$megabytes" | sed 's/^/in one process: /'

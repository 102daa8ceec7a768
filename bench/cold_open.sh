#!/bin/bash
# The first open of the benchmark estimate in a new process against a second open in the
# same process: starts bench_estimate --open again and again and prints the medians.
#   bench/cold_open.sh [path/to/bench_estimate] [starts]
set -u
bench="${1:-$(dirname "$0")/../build-rel/bench/bench_estimate}"
starts="${2:-15}"
work="$(mktemp -d /tmp/cold_open-XXXXXX)"
trap 'rm -rf "$work"' EXIT
MORVEL_BENCH_KEEP="$work/bench.mmd" "$bench" 1 >/dev/null || exit 0
for _ in $(seq "$starts"); do "$bench" --open "$work/bench.mmd"; done | awk '
    { first[NR] = $2; warm[NR] = $4 }
    function median(a, n,   i, j, t) {
        for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
        return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    END { f = median(first, NR); w = median(warm, NR)
          printf "cold_open: %d starts, first open %.2f ms, warm open %.2f ms, ratio %.2f\n", NR, f, w, f / w }'

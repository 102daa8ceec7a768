#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*.cpp) as a libFuzzer program with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer (build folder build-fuzz/), and runs each for the given
# number of seconds (default 60) on all cores. Inputs that break a target are saved into
# fuzz/regressions/<target>/ for a person to look at; the test run replays them from there.
#
#   scripts/fuzz.sh [seconds] [target ...]
#
# Environment: FUZZ_JOBS (parallel workers per target, default: all cores),
# FUZZ_PARALLEL (targets run at the same time, default 1: one after another; with n, n
# targets run at once, each with FUZZ_JOBS workers, so n x FUZZ_JOBS processes in all),
# FUZZ_KEEP_GOING=1 (carry on after a finding instead of moving to the next target).
# A summary (executions summed over the workers, the best worker's coverage in edges and
# features, corpus size, new findings per target) goes to build-fuzz/fuzz-summary.txt, one
# line per target in the order the targets were given, however many ran at once.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

seconds="${1:-60}"
shift || true
jobs="${FUZZ_JOBS:-$(nproc)}"
parallel="${FUZZ_PARALLEL:-1}"
if ! [[ "$jobs" =~ ^[1-9][0-9]*$ && "$parallel" =~ ^[1-9][0-9]*$ ]]; then
  echo "FUZZ_JOBS and FUZZ_PARALLEL must be whole numbers from 1 up" >&2
  exit 2
fi
max_len=65536

# clang with the libFuzzer runtime (Debian 12: clang 14 and libclang-rt-14-dev); what the
# rest of the build needs is installed by setup.sh.
bash scripts/setup.sh
need=()
command -v clang++ >/dev/null 2>&1 || need+=(clang)
# make_seeds.sh lays out the binary seeds with Python.
command -v python3 >/dev/null 2>&1 || need+=(python3)
if ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  need+=(libclang-rt-14-dev)
fi
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" apt-get install -y "${need[@]}"
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVEL_FUZZ=ON -DMORVEL_TESTS=OFF -DMORVEL_BENCH=OFF "${launcher[@]}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/*.cpp; do
    targets+=("$(basename "$src" .cpp)")
  done
fi
# The build uses as many cores as the runs will.
build_jobs=$((jobs * parallel))
[ "$build_jobs" -le "$(nproc)" ] || build_jobs=$(nproc)
cmake --build build-fuzz -j "$build_jobs" --target "${targets[@]/#/fuzz_}"

# Seeds from samples/ and the committed corpus start each target's working corpus.
bash fuzz/make_seeds.sh build-fuzz/seeds

export QT_QPA_PLATFORM=offscreen MORVEL_NO_SOUND=1
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
summary="build-fuzz/fuzz-summary.txt"
summary_format='%-20s %12s %8s %8s %8s %s\n'

# Runs one target and writes its summary line to build-fuzz/logs/<target>/summary; fails
# when the target found something.
run_target() {
  local t="$1"
  local corpus="build-fuzz/corpus/$t"
  local regressions="fuzz/regressions/$t"
  local logs="build-fuzz/logs/$t"
  mkdir -p "$corpus" "$regressions"
  # Inputs longer than the fuzzer's length limit stay out of its corpus (its workers stop on
  # them); the test run replays them all the same.
  local seeds
  for seeds in "fuzz/corpus/$t" "build-fuzz/seeds/$t" "$regressions"; do
    [ -d "$seeds" ] && find "$seeds" -maxdepth 1 -type f ! -name '.*' -size -$((max_len + 1))c \
      -exec cp -n {} "$corpus/" \;
  done
  local dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  local keep=()
  [ "${FUZZ_KEEP_GOING:-0}" = 1 ] && keep=(-ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  # One fuzzing process per worker on the shared corpus; each writes fuzz-<n>.log in logs.
  rm -rf "$logs"
  mkdir -p "$logs"
  local before
  before=$(find "$regressions" -type f ! -name '.*' | wc -l)
  echo "== $t: $seconds s on $jobs workers (logs in $logs/)"
  # Leaks inside system libraries built without frame pointers are only matched by the
  # suppressions with the full unwinder; the targets that reach the compound-file reader
  # (layouts, and embedded objects on the clipboard or dropped) need it for libgsf.
  local unwind=()
  case "$t" in
    print_layout | layout_clipboard | layout_drop_data)
      unwind=(env "LSAN_OPTIONS=$LSAN_OPTIONS:fast_unwind_on_malloc=0") ;;
  esac
  local rc=0
  (cd "$logs" && "${unwind[@]}" "$root/build-fuzz/fuzz/fuzz_$t" "$root/$corpus" -jobs="$jobs" -workers="$jobs" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len="$max_len" \
    -artifact_prefix="$root/$regressions/" -print_final_stats=1 "${dict[@]}" "${keep[@]}" >main.log 2>&1) || rc=$?
  local after
  after=$(find "$regressions" -type f ! -name '.*' | wc -l)
  # Each worker's last status line: "#<executions> ... cov: <n> ft: <n> corp: <n>/<size> ...".
  local execs=0 cov=0 ft=0 log last n c f
  for log in "$logs"/fuzz-*.log; do
    [ -f "$log" ] || continue
    last=$(grep -aE '^#[0-9]+[[:space:]]' "$log" | tail -1 || true)
    [ -n "$last" ] || continue
    n=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")
    c=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
    f=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
    execs=$((execs + n))
    [ "${c:-0}" -gt "$cov" ] && cov=$c
    [ "${f:-0}" -gt "$ft" ] && ft=$f
  done
  local corp
  corp=$(find "$corpus" -type f | wc -l)
  # shellcheck disable=SC2059 # the format is the summary's own
  printf "$summary_format" "$t" "$execs" "$cov" "$ft" "$corp" "$((after - before))" >"$logs/summary"
  if [ "$rc" -ne 0 ] || [ "$after" -ne "$before" ]; then
    echo "   $t found something: see $logs/ and $regressions/"
    return 1
  fi
  echo "== $t done"
}

# At most $parallel targets at a time: a new one starts whenever one ends.
status=0
running=0
for t in "${targets[@]}"; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done

# shellcheck disable=SC2059
printf "$summary_format" target executions cov ft corpus findings >"$summary"
for t in "${targets[@]}"; do
  if [ -f "build-fuzz/logs/$t/summary" ]; then
    cat "build-fuzz/logs/$t/summary" >>"$summary"
  else
    # shellcheck disable=SC2059
    printf "$summary_format" "$t" - - - - "did not run" >>"$summary"
    status=1
  fi
done
cat "$summary"
exit "$status"

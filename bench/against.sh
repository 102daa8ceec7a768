#!/bin/bash
# Runs a benchmark on an earlier commit's build and on the current one in turn, in one run:
# old, new, old, new, ... so that both meet the same machine load, and prints every run's
# figures and then, per side, each figure's median over the runs.
#
#   bench/against.sh [-n runs] [-b build] [-c] COMMIT [--] COMMAND [ARGS...]
#
# In COMMAND and ARGS, {} stands for the bench folder of the side being run (its build's
# bench/); every {}/NAME names a bench program, built on both sides before the first run.
#
#   bench/against.sh 229ad4f {}/bench_enter 21 7 10k
#   bench/against.sh -n 3 891bff0^ bench/cold_open.sh {}/bench_estimate 31
#   bench/against.sh -c 891bff0^ {}/bench_estimate --open /tmp/e.mmd 20 5000
#
# The earlier commit is checked out as a git worktree outside the checkout, in
# $MORVEL_AGAINST_DIR (default ~/.cache/morvel-against)/<commit>/src, and built there in
# Release (with ccache when it is installed) in .../build; both are kept for the next run
# (`git worktree remove` takes them away). The current side is this checkout's build folder
# (-b, default build), configured in Release when it does not exist yet.
#
#   -n runs   runs per side (default 5)
#   -b build  the current side's build folder, relative to the checkout (default build)
#   -c        the earlier commit's benches are built from the current bench/ sources (the
#             same measurement on the earlier code, for a mode the earlier bench lacks; it
#             has to compile against that code; only the benches are built again)
set -euo pipefail

runs=5
build=build
current_bench=0
while getopts "n:b:c" opt; do
    case "$opt" in
    n) runs="$OPTARG" ;;
    b) build="$OPTARG" ;;
    c) current_bench=1 ;;
    *) sed -n '2,/^set -e/p' "$0" | sed 's/^# \{0,1\}//;$d' >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ "$#" -ge 2 ] || { sed -n '2,/^set -e/p' "$0" | sed 's/^# \{0,1\}//;$d' >&2; exit 2; }
commit="$1"
shift
[ "$1" = "--" ] && shift

repo="$(cd "$(dirname "$0")/.." && pwd)"
old_sha="$(git -C "$repo" rev-parse --verify "$commit^{commit}")"
new_sha="$(git -C "$repo" rev-parse HEAD)"
dirty=""
git -C "$repo" diff --quiet HEAD -- || dirty="+changes"
base="${MORVEL_AGAINST_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/morvel-against}"
old_dir="$base/${old_sha:0:12}"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

# The bench programs the command names.
targets=()
for word in "$@"; do
    if [[ "$word" == "{}/"* ]]; then
        name="${word#\{\}/}"
        targets+=("${name%%[^A-Za-z0-9_]*}")
    fi
done

configure() { # source folder, build folder
    if [ ! -f "$2/CMakeCache.txt" ]; then
        cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEL_TESTS=OFF "${launcher[@]}" >/dev/null
    fi
    if ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$2/CMakeCache.txt"; then
        echo "against: $2 is not a Release build" >&2
        exit 1
    fi
}

build_side() { # source folder, build folder
    configure "$1" "$2"
    if [ "${#targets[@]}" -gt 0 ]; then
        cmake --build "$2" -j "${MORVEL_AGAINST_JOBS:-3}" --target "${targets[@]}" >"$2/against-build.log" 2>&1 ||
            { tail -30 "$2/against-build.log" >&2; echo "against: the build in $2 failed" >&2; exit 1; }
    fi
}

# The earlier commit: its own worktree, left at the commit (with the current bench/ over it
# for -c; the libraries stay built either way).
if [ ! -d "$old_dir/src" ]; then
    mkdir -p "$old_dir"
    git -C "$repo" worktree add --detach "$old_dir/src" "$old_sha" >/dev/null 2>&1
fi
git -C "$old_dir/src" checkout -q --detach "$old_sha"
if [ "$current_bench" = 1 ]; then
    rm -rf "$old_dir/src/bench"
    cp -r "$repo/bench" "$old_dir/src/bench"
    # Before the engines had a folder of their own they lay inside the estimate's and the
    # parts list's folders: the current benches include them from where they were then.
    if [ ! -d "$old_dir/src/engine" ]; then
        grep -rlE '"engine/(estimate|parts)/' "$old_dir/src/bench" |
            xargs -r sed -i -E 's#"engine/(estimate|parts)/#"\1/engine/#g'
    fi
elif ! git -C "$old_dir/src" diff --quiet HEAD -- bench || [ -n "$(git -C "$old_dir/src" status --porcelain -- bench)" ]; then
    git -C "$old_dir/src" checkout -q -- bench
    git -C "$old_dir/src" clean -qfd -- bench
fi
echo "against: building ${targets[*]:-nothing} at ${old_sha:0:12} ($old_dir/build)" >&2
build_side "$old_dir/src" "$old_dir/build"
echo "against: building ${targets[*]:-nothing} at ${new_sha:0:12}$dirty ($repo/$build)" >&2
build_side "$repo" "$repo/$build"

old_label="old ${old_sha:0:9}"
new_label="new ${new_sha:0:9}$dirty"
out="$(mktemp -d /tmp/against-XXXXXX)"
trap 'rm -rf "$out"' EXIT

# One run: its figures (standard output) kept and shown; what it says on standard error
# only when it fails.
run_side() { # label, bench folder, file
    local args=() word status=0
    for word in "${command[@]}"; do args+=("${word//\{\}/$2}"); done
    echo "== $1  load $(cut -d' ' -f1-3 /proc/loadavg)" >"$3"
    (cd "$repo" && "${args[@]}") >>"$3" 2>"$3.err" || status=$?
    if [ "$status" != 0 ]; then
        cat "$3.err" >>"$3"
        echo "(exit status $status)" >>"$3"
    fi
    sed "s/^/$1 | /" "$3"
}

command=("$@")
echo "against: ${command[*]}; $runs runs each, interleaved; $(nproc) processors"
for i in $(seq "$runs"); do
    run_side "$old_label" "$old_dir/build/bench" "$out/old.$i"
    run_side "$new_label" "$repo/$build/bench" "$out/new.$i"
done

# Per side: each line that reads the same in every run but for its numbers, with the
# median of each number over the runs.
python3 - "$out" "$runs" "$old_label" "$new_label" <<'EOF'
import re, statistics, sys
out, runs, labels = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
number = re.compile(r'(?<![\d.])-?\d+(?:\.\d+)?')
for side, label in zip(("old", "new"), labels):
    texts = [open(f"{out}/{side}.{i}").read().splitlines()[1:] for i in range(1, runs + 1)]
    print(f"== {label}: medians of {runs} runs")
    for lines in zip(*texts):
        shapes = {" ".join(number.sub("#", line).split()) for line in lines}
        if len(shapes) != 1:
            continue
        values = [[float(v) for v in number.findall(line)] for line in lines]
        if not values[0]:
            print(f"   {lines[0]}")
            continue
        medians = iter(statistics.median(column) for column in zip(*values))
        places = [len(v.split(".")[1]) if "." in v else 0 for v in number.findall(lines[0])]
        it = iter(places)
        print("   " + number.sub(lambda m: f"{next(medians):.{next(it)}f}", lines[0]))
EOF

#!/usr/bin/env python3
"""Single-line mutations over an engine's sources, to find faults its tests do not catch.

Each mutation changes one line of one source file (a comparison flipped, a bound moved by
one, a condition negated, a constant changed, a statement dropped), rebuilds the engine's
test program, runs it under a time limit and restores the file. A mutation the tests fail on
is "caught"; one they pass is "survived" and is either equivalent (the program behaves the
same) or points at a missing test. A mutation that does not compile is left out.

Use a build directory without sanitizers (a Release build is quickest):

  cmake -S . -B build-mut -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEL_BENCH=OFF \\
        -DCMAKE_CXX_FLAGS=-DMORVEL_CHECKS=1
  scripts/mutate_engine.py --build build-mut --per-file 6

Options: --sources (a folder, default engine/estimate), --target (default
test_estimate_engine), --per-file (mutations drawn per file), --seed, --files (names to keep),
--list (print the candidates and stop), --only FILE:LINE[:K] (every mutation of that line or
its K-th, repeatable), --again RESULTS (what an earlier run's results list as survived, each
line changed as it was then: run it once tests were added for them).
Results go to stdout and to <build>/mutations.tsv. The file under mutation is restored even
when the run is interrupted; check `git status` after a killed run all the same.

It is not part of the test suite: a run takes about ten seconds per mutation.
"""

import argparse
import os
import random
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# (pattern, replacement): each place on a line where a pattern matches gives one mutation.
# A replacement of None adds one to the small constant matched.
OPERATORS = [
    (r" <= ", " < "),
    (r" >= ", " > "),
    (r" < ", " <= "),
    (r" > ", " >= "),
    (r" == ", " != "),
    (r" != ", " == "),
    (r" && ", " || "),
    (r" \|\| ", " && "),
    (r" \+ 1\b", " - 1"),
    (r" - 1\b", " + 1"),
    (r"(?<![\w.])0\.5(?![\w.])", "0.4"),
    (r"1e-10", "1e-3"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"\bTRUE\b", "FALSE"),
    (r"\bFALSE\b", "TRUE"),
    (r"\(!(?=[\w(])", "("),
    (r"(?<=[(\s])(?=[\w.]+\(.*\)\)\s*$)", "!"),
    (r"\+\+", "--"),
    (r"(?<![\w.])([1-9])(?![\w.])", None),
    (r" \+ ", " - "),
    (r" - ", " + "),
    (r" \* ", " / "),
]

# Lines left alone: comments, preprocessor lines, checks, labels and declarations of scope.
SKIP = re.compile(r"^\s*(//|#|\*|/\*)|MORVEL_CHECK|\bstatic_assert\b|\bcase\b.*:\s*$|^\s*(namespace|template|using)\b")
# A statement that can be dropped: an assignment, a call, an increment, a break or continue.
STATEMENT = re.compile(r"^\s*([\w:.\->\[\]()*]+\s*(\+=|-=|=|\|=)\s*[^=].*|[\w:.\->]+\(.*\)|(\+\+|--)\w+|\w+(\+\+|--)|break|continue);\s*$")


def candidates(path):
    """Every single-line mutation of a file: (line number, description, new line)."""
    out = []
    lines = path.read_text(encoding="latin-1").splitlines(keepends=True)
    for i, line in enumerate(lines):
        if SKIP.search(line) or '"' in line:  # texts are the system's own: never mutated
            continue
        code = line.split("//")[0]
        for pattern, repl in OPERATORS:
            for m in re.finditer(pattern, code):
                if repl is None:
                    new = code[: m.start()] + str(int(m.group(1)) + 1) + code[m.end():]
                    what = f"{m.group(1)} -> {int(m.group(1)) + 1}"
                else:
                    new = code[: m.start()] + repl + code[m.end():]
                    what = f"'{m.group(0).strip() or 'call'}' -> '{repl.strip()}'"
                if not new.endswith("\n"):
                    new += "\n"
                out.append((i + 1, what, new))
        if STATEMENT.match(code) and not re.match(r"^\s*(return|auto|const|int|double|bool|CString)\b", code):
            out.append((i + 1, "statement dropped", "\n"))
    return out


def build(build_dir, target):
    r = subprocess.run(["ninja", "-C", str(build_dir), "-j", "2", target],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return r.returncode == 0


def run_tests(program, limit):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MORVEL_NO_SOUND="1")
    try:
        r = subprocess.run([str(program), "--gtest_brief=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=limit, env=env)
    except subprocess.TimeoutExpired:
        return False, "timeout"
    failed = re.findall(rb"\[  FAILED  \] (\S+)", r.stdout)
    return r.returncode == 0, failed[0].decode() if failed else f"exit {r.returncode}"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build-mut")
    ap.add_argument("--sources", default="engine/estimate")
    ap.add_argument("--target", default="test_estimate_engine")
    ap.add_argument("--per-file", type=int, default=5)
    ap.add_argument("--seed", type=int, default=50)
    ap.add_argument("--files", nargs="*")
    ap.add_argument("--only", action="append", default=[])
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--again")
    ap.add_argument("--limit", type=int, default=120)
    args = ap.parse_args()

    build_dir = (ROOT / args.build).resolve()
    program = next(build_dir.glob(f"tests/**/{args.target}"), None)
    chosen = []
    rng = random.Random(args.seed)
    for path in sorted((ROOT / args.sources).glob("*.cpp")):
        if args.files and path.name not in args.files and path.stem not in args.files:
            continue
        cands = candidates(path)
        if args.again:
            # The survivors of an earlier run, each line changed as it was then.
            for row in Path(args.again).read_text(encoding="latin-1").splitlines():
                f = row.split("\t")
                if len(f) >= 5 and f[0] == "SURVIVED" and f[1].rsplit(":", 1)[0] == str(path.relative_to(ROOT)):
                    n = int(f[1].rsplit(":", 1)[1])
                    chosen += [(path, c) for c in cands if c[0] == n and c[2].strip() == f[4]]
            continue
        if args.only:
            # FILE:LINE takes every mutation of the line, FILE:LINE:K its K-th (from 1).
            for only in args.only:
                parts = only.split(":")
                if parts[0] in (path.name, path.stem):
                    on_line = [c for c in cands if c[0] == int(parts[1])]
                    k = int(parts[2]) if len(parts) > 2 else 0
                    chosen += [(path, c) for j, c in enumerate(on_line, 1) if k in (0, j)]
            continue
        # One mutation per line at most, so that a file's draw spreads over its code; two in
        # three from lines with an operator to change, the rest a dropped statement. Twice as
        # many are drawn as are run, as some do not compile.
        by_line = {}
        for c in cands:
            by_line.setdefault(c[0], []).append(c)
        ops = [n for n in sorted(by_line) if any(c[1] != "statement dropped" for c in by_line[n])]
        stmts = [n for n in sorted(by_line) if n not in ops]
        rng.shuffle(ops)
        rng.shuffle(stmts)
        want = args.per_file * 2
        picked = ops[: want - min(len(stmts), want // 3)]
        picked += stmts[: want - len(picked)]
        rng.shuffle(picked)
        for n in picked:
            mine = [c for c in by_line[n] if c[1] != "statement dropped"] if n in ops else by_line[n]
            chosen.append((path, rng.choice(mine)))

    if args.list:
        for path, (n, what, new) in chosen:
            print(f"{path.relative_to(ROOT)}:{n}: {what}: {new.strip()}")
        return 0
    if program is None or not build(build_dir, args.target):
        sys.exit(f"{args.target} does not build in {build_dir}")

    tally = {}
    log = open(build_dir / "mutations.tsv", "a", encoding="latin-1")
    for path, (n, what, new) in chosen:
        name = path.relative_to(ROOT)
        counts = tally.setdefault(str(name), [0, 0])
        if counts[0] >= args.per_file and not (args.only or args.again):
            continue
        original = path.read_bytes()
        lines = original.decode("latin-1").splitlines(keepends=True)
        old = lines[n - 1]
        lines[n - 1] = new
        try:
            path.write_bytes("".join(lines).encode("latin-1"))
            if not build(build_dir, args.target):
                continue
            passed, why = run_tests(program, args.limit)
        finally:
            path.write_bytes(original)
        counts[0] += 1
        counts[1] += 0 if passed else 1
        verdict = "SURVIVED" if passed else "caught"
        line = f"{verdict}\t{name}:{n}\t{what}\t{old.strip()}\t{new.strip()}\t{why if not passed else ''}"
        print(line, flush=True)
        log.write(line + "\n")
        log.flush()
    log.close()
    build(build_dir, args.target)  # the program as the sources are
    print("\nfile\ttried\tcaught")
    for name, (tried, caught) in tally.items():
        print(f"{name}\t{tried}\t{caught}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

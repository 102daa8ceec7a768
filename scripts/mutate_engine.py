#!/usr/bin/env python3
"""Single-line mutations over an engine's sources, to find faults its tests do not catch.

Each mutation changes one line of one source or header (a comparison flipped, a bound moved
by one, a condition negated, a constant changed, a digit of a short text or character
changed, a statement dropped), rebuilds the test programs, runs them in turn under a time
limit and restores the file. A mutation a program fails on is "caught" (by that program; the
later ones are not run); one every program passes is "survived" and is either equivalent (the
program behaves the same) or points at a missing test. A mutation that does not compile is
left out. A mutation of an index (inside [...], or on a line that moves a pointer or an
iterator) runs in the sanitizer build when one is given, so that a read past the end fails
as it would for a user instead of passing by luck.

Use a build directory without sanitizers (a Release build is quickest), and for the indices
one with them:

  cmake -S . -B build-mut -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEL_BENCH=OFF \\
        -DCMAKE_CXX_FLAGS=-DMORVEL_CHECKS=1
  cmake -S . -B build-mut-san -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVEL_BENCH=OFF \\
        -DMORVEL_SANITIZE=ON -DCMAKE_CXX_FLAGS=-DMORVEL_CHECKS=1
  scripts/mutate_engine.py --build build-mut --sanitized-build build-mut-san --per-file 6

Options: --sources (a folder, default engine/estimate), --programs (the test programs, run in
this order; default the engine programs, then the estimate window program), --per-file
(mutations drawn per file), --seed, --files (names to keep), --headers/--no-headers (whether
the folder's headers are mutated too), --list (print the candidates and stop), --only
FILE:LINE[:K] (every mutation of that line or its K-th, repeatable), --again RESULTS (what an
earlier run's results list as survived, each line changed as it was then: run it once tests
were added for them), --limit (seconds a program may take; default three times what it takes
unmutated).
Results go to stdout and to <build>/mutations.tsv. The file under mutation is restored even
when the run is interrupted; check `git status` after a killed run all the same.

It is not part of the test suite: a run takes ten seconds to a few minutes per mutation (a
header rebuilds every file that includes it; the window program runs only for what the
engine programs let through).
"""

import argparse
import os
import random
import re
import subprocess
import sys
import time
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
# A declaration without a value (a member, a forward declaration): nothing to change.
DECLARATION = re.compile(r"^\s*(?!return\b|throw\b|delete\b|goto\b)(extern\s+)?\w[\w:<>, ]*\s+\w+;\s*$|^\s*(class|struct|enum)\b[^{]*;")
# A hexadecimal constant (a code of a character table, a bit mask): moved by one.
HEX = re.compile(r"(?<![\w.])0[xX]([0-9A-Fa-f]+)(?![\w.])")
# The texts and characters whose digits mean something to the program: short ASCII texts
# without blanks (a column's code "2", a rounding rule "U(-1)", "0.0") and digit characters.
SHORT_TEXT = re.compile(r"^[\x21-\x7e]{1,8}$")
# Where a change moves an index or a pointer: inside brackets, or on a line that adds to a
# pointer or an iterator.
POINTER_LINE = re.compile(r"\b(data|begin|end|c_str|GetString|GetBuffer)\(\)\s*[-+]|\b(p\w*|m_p\w*)\s*[-+]\s*\w|\.at\(|erase\(|resize\(")


def split_code(line):
    """The line's code without its comment, and the same with every text and character
    literal's contents blanked (so that operators inside texts are not taken for code), and
    the literals themselves: (start, end, quote) of each one's contents."""
    code, masked, literals = [], [], []
    i, n = 0, len(line)
    while i < n:
        ch = line[i]
        if ch == "/" and line[i:i + 2] == "//":
            break
        if ch in "\"'":
            # A raw text R"(...)" is left whole; ordinary ones end at the unescaped quote.
            j = i + 1
            while j < n and line[j] != ch:
                j += 2 if line[j] == "\\" else 1
            end = min(j, n)
            literals.append((i + 1, end, ch))
            code.append(line[i:end + 1])
            masked.append(ch + "_" * (end - i - 1) + (ch if end < n else ""))
            i = end + 1
            continue
        code.append(ch)
        masked.append(ch)
        i += 1
    text = "".join(code).rstrip("\n")
    return text, "".join(masked).rstrip("\n"), literals


def in_brackets(masked, pos):
    depth = 0
    for ch in masked[:pos]:
        if ch == "[":
            depth += 1
        elif ch == "]":
            depth = max(0, depth - 1)
    return depth > 0


def candidates(path):
    """Every single-line mutation of a file: (line number, description, new line, index)."""
    out = []
    lines = path.read_text(encoding="utf-8", errors="surrogateescape").splitlines(keepends=True)
    for i, line in enumerate(lines):
        if SKIP.search(line) or DECLARATION.match(line):
            continue
        code, masked, literals = split_code(line)
        if not code.strip():
            continue
        pointer_line = bool(POINTER_LINE.search(masked))

        def add(start, end, replacement, what):
            new = code[:start] + replacement + code[end:] + "\n"
            out.append((i + 1, what, new, pointer_line or in_brackets(masked, start)))

        for pattern, repl in OPERATORS:
            for m in re.finditer(pattern, masked):
                if repl is None:
                    add(m.start(), m.end(), str(int(m.group(1)) + 1), f"{m.group(1)} -> {int(m.group(1)) + 1}")
                else:
                    add(m.start(), m.end(), repl, f"'{m.group(0).strip() or 'call'}' -> '{repl.strip()}'")
        for m in HEX.finditer(masked):
            value = int(m.group(1), 16) + 1
            add(m.start(), m.end(), f"0x{value:0{len(m.group(1))}X}", f"{m.group(0)} -> 0x{value:X}")
        for start, end, quote in literals:
            body = code[start:end]
            if not SHORT_TEXT.match(body) or "\\" in body or (quote == "'" and not body.isdigit()):
                continue
            for m in re.finditer(r"\d+", body):
                digits = m.group(0)
                new_digits = str(int(digits) + 1) if quote == '"' or digits != "9" else "8"
                if quote == "'" and len(new_digits) != 1:
                    continue
                add(start + m.start(), start + m.end(), new_digits,
                    f"{quote}{body}{quote} -> {quote}{body[:m.start()]}{new_digits}{body[m.end():]}{quote}")
        if STATEMENT.match(code) and not re.match(r"^\s*(return|auto|const|int|double|bool|CString)\b", code):
            out.append((i + 1, "statement dropped", "\n", pointer_line))
    return out


def build(build_dir, targets):
    r = subprocess.run(["ninja", "-C", str(build_dir), "-j", "2", *targets],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return r.returncode == 0


def find_program(build_dir, target):
    return next(build_dir.glob(f"tests/**/{target}"), None)


def run_tests(program, limit):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", MORVEL_NO_SOUND="1",
               ASAN_OPTIONS="detect_leaks=1:abort_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    try:
        r = subprocess.run([str(program), "--gtest_brief=1"], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=limit, env=env)
    except subprocess.TimeoutExpired:
        return False, "timeout"
    failed = re.findall(rb"\[  FAILED  \] (\S+)", r.stdout)
    if failed:
        return False, failed[0].decode()
    if b"AddressSanitizer" in r.stdout or b"runtime error:" in r.stdout:
        return r.returncode == 0, "sanitizer"
    return r.returncode == 0, f"exit {r.returncode}"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build-mut")
    ap.add_argument("--sources", default="engine/estimate")
    ap.add_argument("--programs", nargs="+",
                    default=["test_estimate_engine", "test_parts_engine", "test_estimate"])
    ap.add_argument("--target", help="one program alone (as --programs TARGET)")
    ap.add_argument("--sanitized-build")
    ap.add_argument("--headers", action=argparse.BooleanOptionalAction, default=True)
    ap.add_argument("--per-file", type=int, default=5)
    ap.add_argument("--seed", type=int, default=50)
    ap.add_argument("--files", nargs="*")
    ap.add_argument("--only", action="append", default=[])
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--again")
    ap.add_argument("--limit", type=int)
    args = ap.parse_args()
    programs = [args.target] if args.target else args.programs

    build_dir = (ROOT / args.build).resolve()
    san_dir = (ROOT / args.sanitized_build).resolve() if args.sanitized_build else None
    chosen = []
    rng = random.Random(args.seed)
    sources = sorted((ROOT / args.sources).glob("*.cpp"))
    if args.headers:
        sources = sorted(sources + sorted((ROOT / args.sources).glob("*.h")))
    for path in sources:
        if args.files and path.name not in args.files and path.stem not in args.files:
            continue
        cands = candidates(path)
        if args.again:
            # The survivors of an earlier run, each line changed as it was then.
            for row in Path(args.again).read_text(encoding="latin-1").splitlines():
                f = row.split("\t")
                if len(f) >= 5 and f[0] == "SURVIVED" and f[1].rsplit(":", 1)[0] == str(path.relative_to(ROOT)):
                    n = int(f[1].rsplit(":", 1)[1])
                    chosen += [(path, c) for c in cands if c[0] == n and c[2].strip() == f[4]][:1]
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
        for path, (n, what, new, index) in chosen:
            print(f"{path.relative_to(ROOT)}:{n}: {what}{' [index]' if index else ''}: {new.strip()}")
        return 0

    # Every program is built and run once as the sources are: each must pass, and the time
    # it takes sets its limit (a mutation that makes it run three times as long hangs).
    limits = {}
    for directory in [d for d in (build_dir, san_dir) if d is not None]:
        if not build(directory, programs):
            sys.exit(f"{' '.join(programs)} do not build in {directory}")
        for target in programs:
            program = find_program(directory, target)
            started = time.monotonic()
            passed, why = run_tests(program, 3600)
            if not passed:
                sys.exit(f"{target} fails in {directory} as the sources are: {why}")
            limits[(directory, target)] = args.limit or max(60, int(3 * (time.monotonic() - started)))

    tally = {}
    log = open(build_dir / "mutations.tsv", "a", encoding="utf-8", errors="surrogateescape")
    for path, (n, what, new, index) in chosen:
        name = path.relative_to(ROOT)
        counts = tally.setdefault(str(name), [0, 0])
        if counts[0] >= args.per_file and not (args.only or args.again):
            continue
        directory = san_dir if index and san_dir is not None else build_dir
        original = path.read_bytes()
        lines = original.decode("utf-8", errors="surrogateescape").splitlines(keepends=True)
        old = lines[n - 1]
        lines[n - 1] = new
        passed, why, by = True, "", ""
        try:
            path.write_bytes("".join(lines).encode("utf-8", errors="surrogateescape"))
            # The programs are built one by one as they are wanted: most mutations are caught
            # by the first, and the later ones take longest to link.
            if not build(directory, programs[:1]):
                continue
            for k, target in enumerate(programs):
                if k > 0 and not build(directory, [target]):
                    passed, why = False, "build"
                    break
                passed, why = run_tests(find_program(directory, target), limits[(directory, target)])
                if not passed:
                    by = target
                    break
        finally:
            path.write_bytes(original)
        counts[0] += 1
        counts[1] += 0 if passed else 1
        verdict = "SURVIVED" if passed else "caught"
        build_name = "sanitized" if directory == san_dir else "plain"
        line = (f"{verdict}\t{name}:{n}\t{what}\t{old.strip()}\t{new.strip()}\t{why if not passed else ''}"
                f"\t{by}\t{build_name}")
        print(line, flush=True)
        log.write(line + "\n")
        log.flush()
    log.close()
    for directory in [d for d in (build_dir, san_dir) if d is not None]:
        build(directory, programs)  # the programs as the sources are
    print("\nfile\ttried\tcaught")
    for name, (tried, caught) in tally.items():
        print(f"{name}\t{tried}\t{caught}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

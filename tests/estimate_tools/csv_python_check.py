#!/usr/bin/env python3
"""Reads the estimate's CSV output with Python's csv module.

Runs the test program's CsvOutputForPythonsCsvModule case, which exports the sample
estimate (with cells holding commas, quotes, negative numbers and empty cells) and writes
the table it expects, one cell a line. The exported code page 932 bytes, read by the csv
module, must give exactly that table.

    csv_python_check.py <test program> <work folder>
"""
import csv
import os
import shutil
import subprocess
import sys


def main():
    program, folder = sys.argv[1], sys.argv[2]
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    env = dict(os.environ, MORVEL_CSV_CHECK_DIR=folder)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    subprocess.run([program, "--gtest_filter=EstimateIoCommandsTest.CsvOutputForPythonsCsvModule"],
                   env=env, check=True)

    expected, row = [], []
    with open(os.path.join(folder, "expected.txt"), encoding="utf-8", newline="\n") as f:
        for line in f.read().split("\n"):
            if line.startswith("C"):
                row.append(line[1:])
            elif line == "R":
                expected.append(row)
                row = []
    with open(os.path.join(folder, "export.csv"), "rb") as f:
        raw = f.read()
    assert raw.endswith(b"\r\n"), "lines end in CR LF"
    with open(os.path.join(folder, "export.csv"), encoding="cp932", newline="") as f:
        table = list(csv.reader(f))

    if table != expected:
        for i, (got, want) in enumerate(zip(table, expected)):
            if got != want:
                print(f"row {i}: csv module read {got!r}, expected {want!r}")
        print(f"{len(table)} rows read, {len(expected)} expected")
        return 1
    awkward = [cell for r in table for cell in r if "," in cell or '"' in cell]
    print(f"{len(table)} rows, {sum(len(r) for r in table)} cells read back; awkward cells: {awkward}")
    return 0 if len(table) > 10 and len(awkward) >= 3 else 1


if __name__ == "__main__":
    sys.exit(main())

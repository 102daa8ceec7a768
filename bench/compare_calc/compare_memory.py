"""Memory per row of LibreOffice Calc on the rows bench_row_memory opens: the sample estimate's
rows repeated, written by `bench_row_memory --dump` (rows.txt, code page 932). Each row becomes
a sheet row of the same cells (numbers as numbers, texts as texts; on detail rows the amount
and cost amount are the formulas ROUNDDOWN(quantity*price;0), as the estimate computes them).
The sheet is stored as .ods; then a fresh office process loads it and calculates it, and the
growth of the office processes' resident size (VmRSS of every process of its tree) divided by
the rows is printed. Never fails: a missing LibreOffice is reported.

    compare_memory.py rows.txt work-dir"""
import os
import subprocess
import sys
import time

from proc_tree import process_tree

rows_path, work = sys.argv[1], sys.argv[2]

# Columns of the sample's estimation form: C quantity, E unit price, F amount (C*E),
# G cost unit price, H cost amount (C*G).
FORMULAS = {5: "=ROUNDDOWN(C%d*E%d;0)", 7: "=ROUNDDOWN(C%d*G%d;0)"}

grid = []
for line in open(rows_path, encoding="cp932", errors="replace"):
    fields = line.rstrip("\n").split("\t")
    kind = int(fields[1])
    cells = [f.rsplit("|", 1)[0] for f in fields[7:]]
    n = len(grid) + 1
    row = []
    for c, text in enumerate(cells):
        if kind == 5 and c in FORMULAS:
            row.append(FORMULAS[c] % (n, n))
            continue
        try:
            float(text.replace(",", ""))
            row.append(text.replace(",", ""))
        except ValueError:
            # A text that Calc would not take for a formula or a number.
            row.append(("'" + text) if text[:1] in "=+-'" or text[:1].isdigit() else text)
    grid.append(row)
width = max(len(r) for r in grid)
grid = [r + [""] * (width - len(r)) for r in grid]


def resident_kb(root):
    """VmRSS (kB) of a process and all its descendants."""
    total = 0
    for pid in process_tree(root):
        try:
            with open("/proc/%d/status" % pid) as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except (OSError, ValueError):
            pass
    return total


def column(c):
    return chr(ord("A") + c)


try:
    import uno  # noqa: E402
    from com.sun.star.beans import PropertyValue  # noqa: E402

    def prop(name, value):
        p = PropertyValue()
        p.Name, p.Value = name, value
        return p

    def start_office(tag):
        pipe = "compare_memory_%d_%s" % (os.getpid(), tag)
        office = subprocess.Popen(["soffice", "--headless", "--invisible", "--nologo", "--norestore",
                                   "-env:UserInstallation=file://%s/profile" % work,
                                   "--accept=pipe,name=%s;urp;" % pipe],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(120):
            try:
                ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                return office, ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
            except Exception:
                time.sleep(0.5)
        raise RuntimeError("LibreOffice did not answer")

    def stop_office(office, desktop):
        try:
            desktop.terminate()
        except Exception:
            pass
        try:
            office.wait(timeout=30)
        except Exception:
            office.kill()

    hidden = (prop("Hidden", True),)
    src = "file://%s/rows.ods" % work
    small = "file://%s/small.ods" % work
    office, desktop = start_office("build")
    for url, rows in ((src, grid), (small, grid[:50])):
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, hidden)
        sheet = doc.Sheets.getByIndex(0)
        sheet.getCellRangeByName("A1:%s%d" % (column(width - 1), len(rows))).setFormulaArray(
            tuple(tuple(r) for r in rows))
        doc.calculateAll()
        doc.storeToURL(url, (prop("FilterName", "calc8"),))
        doc.close(True)
    stop_office(office, desktop)

    office, desktop = start_office("measure")
    # A small sheet loaded and closed first: what the first load of a process sets up is
    # not counted as the rows'.
    doc = desktop.loadComponentFromURL(small, "_blank", 0, hidden)
    doc.calculateAll()
    doc.close(True)
    time.sleep(1)
    before = resident_kb(office.pid)
    t = time.perf_counter()
    doc = desktop.loadComponentFromURL(src, "_blank", 0, hidden)
    doc.calculateAll()
    load_ms = (time.perf_counter() - t) * 1000
    time.sleep(1)
    loaded = resident_kb(office.pid)
    doc.close(True)
    time.sleep(1)
    closed = resident_kb(office.pid)
    stop_office(office, desktop)
    with open("/proc/loadavg") as f:
        load = f.read().strip()
    print("  %7d rows  resident %7.1f MB  %6.0f bytes/row  closed +%5.1f MB  load+calc %7.1f ms  load %s"
          % (len(grid), (loaded - before) / 1024.0, (loaded - before) * 1024.0 / len(grid),
             (closed - before) / 1024.0, load_ms, load))
except Exception as error:  # a benchmark never fails
    print("compare_memory: LibreOffice could not be driven (%s)" % error)

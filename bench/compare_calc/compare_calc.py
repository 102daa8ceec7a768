"""Builds the benchmark estimate as LibreOffice Calc spreadsheets, twice: amounts
=ROUNDDOWN(C*E;0), discount totals over their discount rows, the grand total and the tax,
and the subtotals either each a SUBTOTAL(9;...) over its range or each the SUM of its direct
children (nested totals). For each sheet it times loading it, calculateAll() and storing it
(medians), checks that every computed value equals the engine's, and prints one table beside
the engine's medians. Never fails: a missing LibreOffice is reported."""
import os
import re
import statistics
import subprocess
import sys
import time

from proc_tree import process_tree

rows_path, engine_path, runs, work = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]

engine = {}
engine_cpu = {}
for line in open(engine_path, encoding="utf-8", errors="replace"):
    m = re.match(r"\s+(open|recalc|edit|edit\+tree|store|save)\s+([0-9.]+) ms", line)
    if m:
        engine[m.group(1)] = float(m.group(2))
    m = re.match(r"\s+cpu (open|recalc|edit|edit\+tree|store)\s+([0-9.]+) ms", line)
    if m:
        engine_cpu[m.group(1)] = float(m.group(2))


def process_cpu_ns(root):
    """Processor time (ns) of a process and all its descendants, every thread counted
    (/proc/<pid>/task/<tid>/schedstat); 0 where /proc does not tell."""
    total = 0
    for pid in process_tree(root):
        try:
            for tid in os.listdir("/proc/%d/task" % pid):
                with open("/proc/%d/task/%s/schedstat" % (pid, tid)) as f:
                    total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return total


rows = []
for line in open(rows_path, encoding="utf-8", errors="replace"):
    f = line.rstrip("\n").split("\t")
    rows.append((int(f[1]), f[2], f[3], f[4], f[5], f[6]))


def num(text):
    try:
        return float(text.replace(",", ""))
    except ValueError:
        return None


# Column letters: A kind, C quantity, E unit price, F amount, G cost unit price, H cost.
HEADINGS = {1: "large", 2: "middle", 3: "small", 7: "kind"}
TOTALS = {11: 1, 12: 2, 13: 3, 17: 7}
# The level a total of each level is added into when totals sum their direct children.
PARENT = {3: 2, 2: 1, 1: 7, 7: 5}


def build_grid(nested):
    """The sheet's cells. Flat: every total a SUBTOTAL over its whole range (which leaves
    the subtotals inside it out). Nested: every total the SUM of its direct children (a
    small total its details, a middle total its small totals, a large total its middle
    totals and its discounts, a kind total its large totals, the grand total the kind
    totals)."""
    grid = []
    last_heading = {}
    discount_rows = []
    children = {level: [] for level in (1, 2, 3, 5, 7)}
    grand_row = None

    def total(cells, column):
        return "=SUM(%s)" % ";".join("%s%d" % (column, c) for c in cells) if cells else "0"

    for i, (kind, qty, price, amount, cost, costamt) in enumerate(rows):
        n = i + 1
        line = [str(kind), "", "", "", "", "", "", ""]
        if kind in HEADINGS:
            last_heading[kind] = n
            children[kind] = []
        elif kind == 5:
            line[2], line[4], line[6] = qty, price, cost
            line[5] = "=ROUNDDOWN(C%d*E%d;0)" % (n, n)
            line[7] = "=ROUNDDOWN(C%d*G%d;0)" % (n, n)
            children[3].append(n)
        elif kind == 6:
            line[5] = str(num(amount))
            discount_rows.append(n)
            children[1].append(n)
        elif kind in TOTALS:
            level = TOTALS[kind]
            if nested:
                line[5] = total(children[level], "F")
                line[7] = total(children[level], "H")
                children[PARENT[level]].append(n)
            else:
                h = last_heading[level]
                line[5] = "=SUBTOTAL(9;F%d:F%d)" % (h, n - 1)
                line[7] = "=SUBTOTAL(9;H%d:H%d)" % (h, n - 1)
        elif kind == 31:
            h = last_heading[1]
            inside = [d for d in discount_rows if d > h]
            line[5] = "=SUBTOTAL(9;%s)" % (";".join("F%d" % d for d in inside) or "F%d" % h)
            line[7] = "=SUBTOTAL(9;%s)" % (";".join("H%d" % d for d in inside) or "H%d" % h)
        elif kind == 15:
            if nested:
                line[5] = total(children[5], "F")
                line[7] = total(children[5], "H")
            else:
                line[5] = "=SUBTOTAL(9;F1:F%d)" % (n - 1)
                line[7] = "=SUBTOTAL(9;H1:H%d)" % (n - 1)
            grand_row = n
        elif kind == 8:
            line[5] = "=ROUNDDOWN(F%d*10/100;0)" % grand_row
            line[7] = "=F%d" % n
        grid.append(line)
    return grid


# The row the engine's edit types a quantity into (bench_estimate: the first detail row from
# the middle of the estimate on) and the grand total's row.
edit_row = len(rows) // 2
while edit_row < len(rows) - 1 and rows[edit_row][0] != 5:
    edit_row += 1
grand_index = next((i for i, r in enumerate(rows) if r[0] == 15), None)

expected = []  # (row index, column index, engine value)
for i, (kind, qty, price, amount, cost, costamt) in enumerate(rows):
    for col, text in ((5, amount), (7, costamt)):
        if num(text) is not None and kind not in HEADINGS:
            expected.append((i, col, num(text)))
SHEETS = (("subtotals over their ranges", build_grid(False)),
          ("totals summing their direct children", build_grid(True)))

print("\ncompare_calc: %d rows, %d computed values to match" % (len(rows), len(expected)))

lo = {}
lo_cpu = {}
mismatch_counts = []
try:
    import uno  # noqa: E402
    from com.sun.star.beans import PropertyValue  # noqa: E402

    def prop(name, value):
        p = PropertyValue()
        p.Name, p.Value = name, value
        return p

    pipe = "compare_calc_%d" % os.getpid()
    office = subprocess.Popen(["soffice", "--headless", "--invisible", "--nologo", "--norestore",
                               "-env:UserInstallation=file://%s/profile" % work,
                               "--accept=pipe,name=%s;urp;" % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    ctx = None
    for _ in range(120):
        try:
            ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            break
        except Exception:
            time.sleep(0.5)
    if ctx is None:
        raise RuntimeError("LibreOffice did not answer")
    desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
    hidden = (prop("Hidden", True),)
    for name, sheet_grid in SHEETS:
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, hidden)
        sheet = doc.Sheets.getByIndex(0)
        cell_range = sheet.getCellRangeByName("A1:H%d" % len(sheet_grid))
        cell_range.setFormulaArray(tuple(tuple(r) for r in sheet_grid))
        doc.calculateAll()
        src = "file://%s/estimate.ods" % work
        doc.storeToURL(src, (prop("FilterName", "calc8"),))
        doc.close(True)

        load, calc, store = [], [], []
        load_cpu, calc_cpu, store_cpu = [], [], []
        values = None
        for run in range(runs):
            c = process_cpu_ns(office.pid)
            t = time.perf_counter()
            doc = desktop.loadComponentFromURL(src, "_blank", 0, hidden)
            load.append((time.perf_counter() - t) * 1000)
            load_cpu.append((process_cpu_ns(office.pid) - c) / 1e6)
            c = process_cpu_ns(office.pid)
            t = time.perf_counter()
            doc.calculateAll()
            calc.append((time.perf_counter() - t) * 1000)
            calc_cpu.append((process_cpu_ns(office.pid) - c) / 1e6)
            if values is None:
                values = doc.Sheets.getByIndex(0).getCellRangeByName("A1:H%d" % len(sheet_grid)).getDataArray()
            c = process_cpu_ns(office.pid)
            t = time.perf_counter()
            doc.storeToURL("file://%s/again.ods" % work, (prop("FilterName", "calc8"),))
            store.append((time.perf_counter() - t) * 1000)
            store_cpu.append((process_cpu_ns(office.pid) - c) / 1e6)
            doc.close(True)
        # One quantity typed into the detail row the engine edits, and the grand total read
        # (which makes Calc work out what depends on the cell), again and again.
        doc = desktop.loadComponentFromURL(src, "_blank", 0, hidden)
        doc.calculateAll()
        calc_sheet = doc.Sheets.getByIndex(0)
        quantity = calc_sheet.getCellByPosition(2, edit_row)
        grand = calc_sheet.getCellByPosition(5, grand_index if grand_index is not None else edit_row)
        edit, edit_cpu = [], []
        for run in range(max(runs, 21)):
            c = process_cpu_ns(office.pid)
            t = time.perf_counter()
            quantity.setValue(123.4 if run % 2 == 0 else 56.7)
            grand.getValue()
            edit.append((time.perf_counter() - t) * 1000)
            edit_cpu.append((process_cpu_ns(office.pid) - c) / 1e6)
        doc.close(True)
        mismatches = [(i, c, v, values[i][c]) for (i, c, v) in expected
                      if not isinstance(values[i][c], float) or abs(values[i][c] - v) > 1e-6]
        mismatch_counts.append("%d/%d" % (len(mismatches), len(expected)))
        print("compare_calc: %s: %d of %d values differ%s" % (name, len(mismatches), len(expected),
              "" if not mismatches else ": first " + repr(mismatches[:3])))
        lo[name] = {"open": statistics.median(load), "recalc": statistics.median(calc),
                    "store": statistics.median(store), "recalc min": min(calc),
                    "edit": statistics.median(edit)}
        if min(calc_cpu) > 0:
            lo_cpu[name] = {"open": statistics.median(load_cpu), "recalc": statistics.median(calc_cpu),
                            "store": statistics.median(store_cpu), "recalc min": min(calc_cpu),
                            "edit": statistics.median(edit_cpu)}
    try:
        desktop.terminate()
    except Exception:
        pass
    office.wait(timeout=30)
except Exception as error:  # a benchmark never fails
    print("compare_calc: LibreOffice could not be driven (%s); engine figures only" % error)

def table(title, ours, theirs):
    print("\n%s\n" % title)
    names = [name for name, _ in SHEETS]
    print("| step | engine (ms) | %s |" % " | ".join("Calc, %s (ms) | ratio" % n for n in names))
    print("|---|---|%s" % ("---|---|" * len(names)))
    for step, label in (("recalc", "full recalculation"), ("edit", "one quantity edit + recalculation"),
                        ("open", "open / load"), ("store", "store")):
        e = ours.get(step)
        cells = []
        for n in names:
            o = theirs.get(n, {}).get(step)
            cells.append("%s | %s" % ("%.2f" % o if o else "—", "%.1f×" % (o / e) if e and o else "—"))
        print("| %s | %s | %s |" % (label, "%.3f" % e if e else "—", " | ".join(cells)))
    if "edit+tree" in ours:
        print("| the edit with the subject tree | %.3f |%s" % (ours["edit+tree"], " — | — |" * len(names)))


table("Elapsed time (medians):", engine, lo)
if engine_cpu:
    # LibreOffice's processor time is that of the office process and its children, every
    # thread counted; the engine's that of its one thread.
    table("Processor time (medians):", engine_cpu, lo_cpu)

# One line per size for the table compare_calc.sh prints at the end: processor times where
# /proc gives them (elapsed times otherwise), the engine's against each sheet's.
summary_path = os.environ.get("COMPARE_CALC_SUMMARY")
if summary_path:
    ours, theirs = (engine_cpu, lo_cpu) if engine_cpu and lo_cpu else (engine, lo)
    names = [name for name, _ in SHEETS]
    cells = []
    for step in ("recalc", "edit"):
        e = ours.get(step)
        cells.append("%.3f" % e if e else "—")
        for n in names:
            o = theirs.get(n, {}).get(step)
            cells.append("%.2f (%.1f×)" % (o, o / e) if e and o else "—")
    e = ours.get("edit+tree")
    cells.append("%.3f" % e if e else "—")
    with open(summary_path, "a", encoding="utf-8") as f:
        f.write("| %d | %s | %s |\n" % (len(rows), " | ".join(cells), " ".join(mismatch_counts) or "—"))

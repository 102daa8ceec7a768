#!/usr/bin/env bash
# Opens every layout file our writer makes with an independent reader of compound files
# (python3-olefile) and compares each stream with the listing the writer's test left.
#   check_with_olefile.sh <test_printform> <output folder>
# Exit 77 (skipped) when the reader is not there and cannot be installed.
set -u
test_program=$1
out=$2
# The Debian package installs into the system's Python.
PYTHON=python3
if [ -x /usr/bin/python3 ]; then PYTHON=/usr/bin/python3; fi

if ! $PYTHON -c 'import olefile' 2>/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo -n"; fi
  export DEBIAN_FRONTEND=noninteractive
  { $SUDO apt-get install -y -qq --no-install-recommends python3-olefile || \
    { $SUDO apt-get update -qq && $SUDO apt-get install -y -qq --no-install-recommends python3-olefile; }; } \
    >/dev/null 2>&1
fi
if ! $PYTHON -c 'import olefile' 2>/dev/null; then
  echo "SKIPPED: python3-olefile is not installed and could not be installed"
  exit 77
fi

rm -rf "$out"
mkdir -p "$out"
MORVEL_LAYOUT_OUT="$out" "$test_program" --gtest_filter='*WriteLayoutsForTheOutsideReader*' >"$out/writer.log" 2>&1 || {
  cat "$out/writer.log"
  echo "the writer's test failed"
  exit 1
}

$PYTHON - "$out" <<'PY'
import glob, os, sys
import olefile

def fnv1a(data):
    h = 2166136261
    for b in data:
        h ^= b
        h = (h * 16777619) & 0xFFFFFFFF
    return h

def escaped(name):
    return ''.join('\\x%02x' % ord(c) if ord(c) < 0x20 else c for c in name)

folder = sys.argv[1]
files = sorted(glob.glob(os.path.join(folder, '*.MMP')) + glob.glob(os.path.join(folder, '*.MBP')))
if len(files) < 3:
    sys.exit('expected three layout files, found %d' % len(files))
failed = False
for path in files:
    if not olefile.isOleFile(path):
        print('%s: not a compound file' % path); failed = True; continue
    ole = olefile.OleFileIO(path)
    seen = {}
    for entry in ole.listdir(streams=True, storages=False):
        data = ole.openstream(entry).read()
        seen['/'.join(escaped(p) for p in entry)] = (len(data), fnv1a(data))
    expected = {}
    with open(path + '.list', encoding='utf-8') as listing:
        for line in listing:
            name, size, digest = line.rstrip('\n').split('\t')
            expected[name] = (int(size), int(digest))
    if seen != expected:
        print('%s: streams differ\n  read:     %s\n  expected: %s' % (path, sorted(seen.items()), sorted(expected.items())))
        failed = True
    else:
        print('%s: %d streams read and equal' % (os.path.basename(path), len(seen)))
    ole.close()
sys.exit(1 if failed else 0)
PY

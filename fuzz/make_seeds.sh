#!/usr/bin/env bash
# Writes seed inputs for every fuzz target into <folder>/<target>/, made from the files of
# samples/ (as each target expects its input) and from small hand-made examples.
#   fuzz/make_seeds.sh <folder>
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
out="${1:?folder}"
samples=samples

mkdir -p "$out"/{master_tables,estimate_file,profile_file,number_rules,cp932_text,subject_drag_data,print_layout}

# An archive string: its length byte (texts here are shorter than 255 bytes), then the bytes.
str() { printf "\\x$(printf %02x "${#1}")%s" "$1"; }
word() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"; }

# Master and form files: the first byte chooses the table.
i=0
for f in MASTER/TANNI.MTD MASTER/KAMOKU.MKB MASTER/KAMOKU.MKM MASTER/KAMOKU.MKS MASTER/BUNRUL.MRD \
  FORM/meisai.MMK FORM/BUZAI.MBK FORM/JYOUHOU.MJK; do
  { printf "\\x$(printf %02x $i)"; cat "$samples/$f"; } >"$out/master_tables/$(basename "$f")"
  i=$((i + 1))
done

# Estimate files.
cp "$samples/WORK/"*.MMD "$out/estimate_file/sample.mmd"

# Print layouts, whole compound files: bit 1 of the first byte says so, bit 0 a parts layout.
for f in "$samples/FORM/"*.MMP; do { printf '\x02'; cat "$f"; } >"$out/print_layout/estimate-layout"; done
for f in "$samples/FORM/"*.MBP; do { printf '\x03'; cat "$f"; } >"$out/print_layout/parts-layout"; done

# Drag data: the sample estimation form, a large heading and one detail row.
form="$samples/FORM/meisai.MMK"
columns=$(od -An -tu2 -j29 -N2 "$form" | tr -d ' ')
{
  str "meisai.MMK"
  cat "$form"
  word 1; word 2; word "$columns"
  for row in 1 2; do
    for ((c = 0; c < columns; c++)); do
      if [ "$c" -eq 0 ]; then str "row$row"; else str "$((row * 100 + c))"; fi
      word $((c == 0 ? row : 0))
    done
  done
  word 1; word 0; str ""; word 0; word 0; str ""
  word 5; word 0; str "T1"; word 3; word 65535; str "T2"
} >"$out/subject_drag_data/sample.drag"

# Settings files: the demo settings with each kind of change.
ini=$(printf '[Path Setting]\r\nWork Drive=C\r\nWork Field=C:\\MORVEL\\WORK\r\n\r\n[Input Setting]\r\nTax=8\r\nBackup File=0\r\n\r\n[Large Font Setting]\r\nHeight=-15\r\nFaceName=ＭＳ ゴシック\r\n\r\n[ゾーン]\r\nキー=値\r\n' | iconv -f UTF-8 -t CP932)
zone=$(printf 'ゾーン' | iconv -f UTF-8 -t CP932)
{ printf '\x00'; str "Input Setting"; str "Tax"; str "10"; printf '%s' "$ini"; } >"$out/profile_file/write"
{ printf '\x01'; str "Path Setting"; str "Work Drive"; str ""; printf '%s' "$ini"; } >"$out/profile_file/remove-key"
{ printf '\x02'; str "Input Setting"; str ""; str ""; printf '%s' "$ini"; } >"$out/profile_file/remove-section"
{ printf '\x03'; str "New Section"; str "Key"; str "abc"; printf '%s' "$ini"; } >"$out/profile_file/add-section"
{ printf '\x00'; str "$zone"; str "Key"; str "value"; printf '%s' "$ini"; } >"$out/profile_file/double-byte-section"

# Number texts, rounding rules, pictures and formulas.
printf '1,234.5\nF(-2)\n###,###.##\nC*E+(1.5-2)/3' >"$out/number_rules/amount"
printf -- '-0.005\nU(1)\n#,###\n((1+2)*3)' >"$out/number_rules/nested"
printf '3495.49\nD(-3)\n#.###\n1/0+5*-3' >"$out/number_rules/cut"
printf '%s\nF(0)\n###,###\n(1)' "$(printf '１２３，４５６．７' | iconv -f UTF-8 -t CP932)" >"$out/number_rules/full-width"

# Texts in code page 932.
printf 'ゾーン 表示 ＡＢＣ abc\\' | iconv -f UTF-8 -t CP932 >"$out/cp932_text/mixed"
printf '　１２３，４５６．７８　' | iconv -f UTF-8 -t CP932 >"$out/cp932_text/full-width-number"
printf 'plain ASCII 123 [x] ~|' >"$out/cp932_text/ascii"

#!/bin/sh
# The sample estimate printed through the sample layout, read back by outside tools:
# pdfinfo (five A4 pages, the sample's 73 rows on pages of 18), pdftotext (the values where the layout puts them), pdftoppm at
# 50 dpi compared with the reference pictures in print_reference/ (ImageMagick's compare),
# and no coloured pixel in a black-and-white print. Installs poppler-utils and imagemagick
# when it can; skips (77) when it cannot.
#   check_printed_pdf.sh <test_estimate_tools> <work dir>
set -u
TEST_BIN=$1
WORK=$2
HERE=$(cd "$(dirname "$0")" && pwd)
if ! command -v pdftotext >/dev/null 2>&1 || ! command -v compare >/dev/null 2>&1; then
    (apt-get install -y poppler-utils imagemagick >/dev/null 2>&1) || true
fi
if ! command -v pdftotext >/dev/null 2>&1 || ! command -v compare >/dev/null 2>&1; then
    echo "poppler-utils or imagemagick missing: skipped"
    exit 77
fi
rm -rf "$WORK" && mkdir -p "$WORK"
MORVEL_KEEP_PRINT="$WORK/sample.pdf" "$TEST_BIN" \
    --gtest_filter=EstimatePrint.SampleEstimatePrintsThroughTheSampleLayoutToPdf >"$WORK/test.log" 2>&1 || {
    cat "$WORK/test.log"
    exit 1
}
fail=0
check() { # description, then a command that must succeed
    what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}
pdfinfo "$WORK/sample.pdf" >"$WORK/info.txt"
check "five pages" grep -Eq '^Pages: +5$' "$WORK/info.txt"
check "A4 paper" grep -Eq '^Page size: +595(\.[0-9]+)? x 841\.[0-9]+ pts|^Page size: +595 x 842 pts' "$WORK/info.txt"
pdftotext -layout "$WORK/sample.pdf" "$WORK/sample.txt"
pdftotext -layout -f 1 -l 1 "$WORK/sample.pdf" "$WORK/page1.txt"
pdftotext -layout -f 5 -l 5 "$WORK/sample.pdf" "$WORK/page5.txt"
has() { grep -Eq -e "$1" "$2"; }
check "information values" has '株式会社 山田商事 +様' "$WORK/page1.txt"
check "site" has '工事名称：山田ビル改修工事' "$WORK/page1.txt"
check "date of the fixed clock" has '2024年6月10日' "$WORK/page1.txt"
check "subject rows with quantities, units, prices and amounts" has '水盛遣方 +128\.50 m2 +350 +44,975' "$WORK/page1.txt"
check "subtotal" has '直接仮設工事 小 計 +640,655' "$WORK/page1.txt"
check "total of the information sheet" has '税込見積 +¥8,792,382' "$WORK/page1.txt"
check "computed amount" has '御見積金額 +¥\*\*\*8,792,382' "$WORK/page1.txt"
check "page 1 of 5" has '- 1 - / 5 ﾍﾟｰｼﾞ' "$WORK/page1.txt"
check "page 5 of 5" has '- 5 - / 5 ﾍﾟｰｼﾞ' "$WORK/page5.txt"
for p in 1 2 3 4 5; do
    pdftoppm -r 50 -f $p -l $p -png "$WORK/sample.pdf" "$WORK/page"
    png=$(ls "$WORK"/page-*$p.png | head -1)
    ae=$(compare -metric AE -fuzz 5% "$png" "$HERE/print_reference/sample-$p.png" "$WORK/diff-$p.png" 2>&1 >/dev/null)
    check "page $p matches its reference (AE $ae)" [ "${ae%%.*}" -le 400 ]
    # Black-and-white printing: no pixel with any saturation.
    sat=$(convert "$png" -colorspace HSL -channel G -separate +channel -format '%[fx:maxima]' info:)
    check "page $p has no coloured pixel (saturation $sat)" awk "BEGIN { exit !($sat < 0.05) }"
done
exit $fail

#!/usr/bin/env bash
# Writes the settings file of the demonstration: the folders of this checkout's samples/ as
# absolute paths. It is written when it is missing or when the checkout has moved; otherwise
# what the program stored in it meanwhile (fonts, colours, recent files) is kept.
#
#   scripts/sample-settings.sh <settings file>
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
ini="$1"
if ! grep -qxF "Work Field=$root/samples/WORK" "$ini" 2>/dev/null || ! grep -q "Large Project Text" "$ini" ||
  ! grep -q "Rows in a page" "$ini"; then
  {
    printf '[Path Setting]\n'
    printf 'Work Drive=C\n'
    printf 'Work Field=%s\n' "$root/samples/WORK"
    printf 'Estimation Form=%s\n' "$root/samples/FORM"
    printf 'Parts Form=%s\n' "$root/samples/FORM"
    printf 'Information Form=%s\n' "$root/samples/FORM"
    printf 'Other Form=%s\n' "$root/samples/MASTER"
    printf '\n[Form File Name Setting]\n'
    printf 'Estimation Form Name=meisai.MMK\n'
    printf 'Information Form Name=JYOUHOU.MJK\n'
    printf 'Part Form Name=BUZAI.MBK\n'
    printf '\n[Input Setting]\n'
    printf 'Tax=8\nDirection=1\nRound-off=0\nBackup File=0\nRound Mode=3\n'
    # A page of the grid is a printed page: the sample layout's detail table holds as many
    # rows (tools/make_samples), the grid's default.
    printf 'Rows in a page=18\n'
    # Row colours and fonts of the grid, as an estimator would set them on the colour
    # and font page: headings and their subtotals stand out from the detail rows.
    printf '\n[Color Setting]\n'
    printf 'Large Project Text=0,0,128\nLarge Project Background=220,230,250\n'
    printf 'Middle Project Text=0,64,128\nMiddle Project Background=232,240,250\n'
    printf 'Small Project Text=0,80,80\nSmall Project Background=240,248,248\n'
    printf 'Detail Text=0,0,0\nDetail Background=255,255,255\n'
    printf 'Kind Text=96,0,96\nKind Background=245,232,250\n'
    printf 'Sum Text=128,0,0\nSum Background=255,240,220\n'
    printf 'Discount Text=160,0,0\nDiscount Background=255,235,235\n'
    printf 'Free Text=0,96,0\nFree Background=235,250,235\n'
    printf 'Step Text=64,64,64\nStep Background=245,245,245\n'
    printf 'Classify Text=64,64,0\nClassify Background=250,250,230\n'
    printf 'Non Calc Text=128,128,128\nNon Calc Background=248,248,248\n'
    font() { printf '\n[%s]\nHeight=%d\nWeight=%d\nCharSet=128\nFaceName=%s\n' "$1" "$2" "$3" "$4"; }
    font 'Large Font Setting' -15 700 'ＭＳ ゴシック'
    font 'Middle Font Setting' -14 700 'ＭＳ ゴシック'
    font 'Small Font Setting' -14 400 'ＭＳ ゴシック'
    font 'Kind Font Setting' -15 700 'ＭＳ ゴシック'
    font 'Sum Font Setting' -14 700 'ＭＳ 明朝'
    font 'Detail Font Setting' -14 400 'ＭＳ 明朝'
    font 'Discount Font Setting' -14 400 'ＭＳ 明朝'
    font 'Tax Font Setting' -14 400 'ＭＳ 明朝'
    font 'Step Font Setting' -14 400 'ＭＳ 明朝'
    font 'Sort Font Setting' -14 400 'ＭＳ 明朝'
    font 'Part Font Setting' -14 400 'ＭＳ 明朝'
  } | iconv -f UTF-8 -t CP932 > "$ini.tmp"
  mv "$ini.tmp" "$ini"
fi

#!/usr/bin/env bash
# Writes seed inputs for every fuzz target into <folder>/<target>/, made from the files of
# samples/ (as each target expects its input) and from small hand-made examples.
#   fuzz/make_seeds.sh <folder>
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."
out="${1:?folder}"
samples=samples

mkdir -p "$out"/{master_tables,estimate_file,profile_file,number_rules,cp932_text,subject_drag_data,print_layout} \
  "$out"/{parts_file,estimate_import_other_form,estimate_import_csv,estimate_import_outside} \
  "$out"/{estimate_import_converter,mount_table,layout_form,picture_file,startup_file,form_page} \
  "$out"/dos_{environment,definitions,information,master,estimate,parts}

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

# Start-up files: the first byte chooses the file (in the order start-up reads them).
i=0
for f in MASTER/TANNI.MTD MASTER/KAMOKU.MKB MASTER/KAMOKU.MKM MASTER/KAMOKU.MKS MASTER/BUNRUL.MRD \
  FORM/JYOUHOU.MJK FORM/meisai.MMK FORM/BUZAI.MBK; do
  { printf "\\x$(printf %02x $i)"; cat "$samples/$f"; } >"$out/startup_file/$(basename "$f")"
  i=$((i + 1))
done

# Forms read for print layouts: the first byte chooses the kind (estimation, information,
# parts).
i=0
for f in FORM/meisai.MMK FORM/JYOUHOU.MJK FORM/BUZAI.MBK; do
  { printf "\\x$(printf %02x $i)"; cat "$samples/$f"; } >"$out/layout_form/$(basename "$f")"
  i=$((i + 1))
done

# Forms read into the setup sheet's form pages: the first byte chooses the page (estimation,
# information, parts) and the button ("読 込" below 3, "初期設定" from 3 on).
i=0
for f in FORM/meisai.MMK FORM/JYOUHOU.MJK FORM/BUZAI.MBK; do
  { printf "\\x$(printf %02x $i)"; cat "$samples/$f"; } >"$out/form_page/open-$(basename "$f")"
  { printf "\\x$(printf %02x $((i + 3)))"; cat "$samples/$f"; } >"$out/form_page/reload-$(basename "$f")"
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
# The same with a few bytes after it, which the reader leaves: the length chooses the item
# of the subject tree the data is dropped on.
for extra in 1 2 3 5 8; do
  { cat "$out/subject_drag_data/sample.drag"; head -c "$extra" /dev/zero; } >"$out/subject_drag_data/sample-$extra.drag"
done

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

# Parts lists.
cp "$samples/WORK/"*.MBD "$out/parts_file/sample.mbd"

# Estimates of another form: the first byte chooses the open estimate's information form and
# the column mapping.
for choice in 0 1 2 5; do
  { printf "\\x$(printf %02x $choice)"; cat "$samples/WORK/"*.MMD; } >"$out/estimate_import_other_form/sample-$choice"
done

# CSV input: quoted commas and quotes, blanks around fields, double-byte text, a long line.
printf '%s\r\n' "$(printf 'x,"1,000", y ,"say ""hi""",\xe5\xbb\xba\xe7\xaf\x89 ' | iconv -f UTF-8 -t CP932)" \
  'a,b,c,d,e,f,g,h' ',,,' '"unclosed,quote' >"$out/estimate_import_csv/fields"
{ printf 'row%d,%d,1.5,m2,1200,,0.5,note\n' 1 2; printf '%s\n' "$(printf '壁紙,量産品,120.5,ｍ２,1200' | iconv -f UTF-8 -t CP932)"; } \
  >"$out/estimate_import_csv/rows"

# Outside estimate data: the source kind byte, the information form byte, the data file, a
# zero byte, the converter file.
mvl=$(printf '@MVL,1\r\n"本社ビル改修工事"   \r\nskip 1\r\nskip 2\r\n@1\r\n内装工事,,,,\r\n壁紙張替,量産品,120.5,m2,1200,x,y\r\n@G1\r\n内装工事 小計\r\n@2\r\n設備工事,,,本,\r\n照明器具,LED,4,台,25000  \r\n@N\r\n値引,,,,-5000\r\n@G0\r\n合計\r\n' | iconv -f UTF-8 -t CP932)
for form in 0 1 2; do
  { printf "\\x00\\x$(printf %02x $form)"; printf '%s' "$mvl"; printf '\0A,B,C,D,E\r\n'; } \
    >"$out/estimate_import_outside/mvl-$form"
done
{ printf '\x01\x01'; printf 'M,RXA\r\ntitle\r\n\r\n\r\nd1,s,2,m,300\r\n'; printf '\0a , b,c,,D\r\n'; } \
  >"$out/estimate_import_outside/rxa"
{ printf '\x02\x02'; printf '@V\r\n2.0\r\n@M\r\ntitle\r\n\r\n\r\n@3\r\nmiddle,,,\r\nd,s,1,m,5\r\n'; printf '\0A,B,C,D,E\r\n'; } \
  >"$out/estimate_import_outside/rxb-v2"

# Converter items of the exports.
printf ' name , spec,QTY,unit,,price\r\nsecond line\r\n' >"$out/estimate_import_converter/items"
printf 'A,B,C,C,a\r\n' >"$out/estimate_import_converter/repeated"

# Mount tables as the system writes them, blanks escaped.
printf '/dev/sda1 / ext4 rw,relatime 0 0\nproc /proc proc rw 0 0\n/dev/sdb1 /media/usb\\040stick vfat rw 0 0\nserver:/share /mnt/a\\011b nfs rw 0 0\n' \
  >"$out/mount_table/mounts"

# The DOS edition's files, laid out as the conversion tests build them.
python3 - "$out" <<'EOF'
import struct, sys
out = sys.argv[1]
def w(n): return struct.pack('<H', n & 0xFFFF)
def sj(t): return t.encode('cp932')
def text(t, width, fill=b'\0'):
    b = sj(t)[:width] if isinstance(t, str) else t[:width]
    return b + fill * (width - len(b))
def put(name, data):
    open(out + '/' + name, 'wb').write(data)
tag = b'2.00' + b' ' * 6
def definition(name, type_, width, formula='', picture='', v=0, rounding='', t=0, b=0):
    r = text(name, 18, b' ') + w(type_) + w(width) + text(formula, 21) + text(picture, 21)
    r += w(0x7777) + w(0) + w(v) + text(rounding, 13) + bytes([t, b, 0])
    return r
def definitions(defs, tagged):
    return (tag if tagged else b'') + w(86) + w(len(defs)) + b'\x55' * 40 + b''.join(definition(*d) for d in defs)
estimate_defs = [('NO', 2, 7), ('名称', 2, 20), ('単位', 2, 4, '', '', 0, '', 1, 0),
                 ('数量', 3, 10, '', '#,###.##', 0, 'F(0)', 3, 0), ('摘要', 2, 8),
                 ('金額', 4, 12, 'C*D', '###,###', 2, 'D(-1)', 0, ord('F'))]
for tagged in (False, True):
    put('dos_definitions/estimate-%d' % tagged, definitions(estimate_defs, tagged))
put('dos_definitions/parts', definitions([('NO', 2, 9), ('品名', 2, 16), ('数量', 3, 8, '', '#,###', 0, 'F(0)'),
                                          ('単価', 4, 10, 'B*2', '###,###', 0, '', 2)], False))
def info(value, name, type_, width, picture='', formula='', rounding='', e=0, letter=0, wide=True):
    r = text(value, 66, b' ') + text(name, 17) + bytes([type_, width]) + text(picture, 21)
    if wide:
        r += text(formula, 21) + text(rounding, 6) + bytes([e & 0xFF, letter, 0])
    return r
items = [('山田建設', '得意先', 2, 30), ('1,080,000', '税込見積', 4, 14, '###,###', '', 'D(-1)', 2, ord('A')),
         ('', '税額', 5, 12, '###,###', 'A*0.08', 'D(0)')]
for tagged in (False, True):
    records = b''.join(info(*i, wide=tagged) for i in items) + info('', '', 8, 0, wide=tagged)
    put('dos_information/items-%d' % tagged, (tag + b'\0' * 40 if tagged else b'') + records)
def master(size, o1, w1, o2, w2, records):
    b = w(size) + w(len(records)) + w(o1) + w(w1) + w(o2) + w(w2)
    for f1, f2 in records:
        r = bytearray(size)
        r[o1:o1 + w1] = text(f1, w1, b' ')
        r[o2:o2 + w2] = text(f2, w2, b' ')
        b += bytes(r)
    return b
put('dos_master/subjects', master(24, 0, 16, 17, 6, [('仮設工事', '式'), ('土工事', 'm3')]))
put('dos_master/units', master(8, 0, 0, 1, 6, [('', 'm'), ('', '式'), ('', 'kg')]))
def layout_record(widths, fields, tail, lead):
    r = bytearray()
    for i, width in enumerate(widths):
        r += text(lead if i == 0 else (fields[i - 1] if i - 1 < len(fields) else ''), width, b' ') + b'\xa0'
    r += b'\0' * tail
    if len(r) % 2 == 0:
        r += b'\0'
    return r
est = [2, 20, 4, 10, 8, 12]
def est_record(fields, code='  ', levels=('  ',) * 5):
    r = layout_record(est, fields, 19, '  ')
    n = len(r)
    for d, lv in zip((13, 11, 9, 7, 5), levels):
        r[n - d:n - d + 2] = lv.encode()
    r[n - 3:n - 1] = code.encode()
    return bytes(r)
size = len(est_record([]))
for tagged in (False, True):
    data = (tag if tagged else b'') + w(size) + w(3)
    data += b''.join(info(*i, wide=tagged) for i in items) + info('', '', 8, 0, wide=tagged)
    data += b'\0' * (27 * 44)
    data += est_record(['建築工事'], '01', ('01', '  ', '  ', '  ', '  '))
    data += est_record(['足場', 'm2', '120', '外部', '60,000'])
    data += est_record(['小計', '', '', '', '60,000'], '11')
    put('dos_estimate/kouji-%d' % tagged, data)
parts = [4, 16, 8, 10]
recs = [layout_record(parts, f, 2, '0001') for f in (['鉄筋', '1,200', '3,500'], [], ['ｱﾙﾐ 1,5', '2', '10'])]
put('dos_parts/buzai', w(len(recs[0])) + w(len(recs)) + b'\0' * 40 + b''.join(recs))
env = bytearray(582)
for offset, path in ((95, 'Q:\\MORVEL\\DATA'), (157, 'Q:\\MORVEL'), (188, 'Q:\\MORVEL\\BUZAI'), (250, 'Q:\\MORVEL'),
                     (281, 'Q:\\MORVEL'), (343, 'Q:\\MORVEL')):
    env[offset:offset + len(path)] = path.encode()
put('dos_environment/newest', bytes(env))
put('dos_environment/oldest', bytes(env[:374]))

# Pictures: a 3 x 2 bitmap of 24 bits and a 4 x 4 bitmap of 8 bits with its colour table,
# both at 96 dots per inch.
def bmp(width, height, bits, palette, pixels):
    stride = (width * bits + 31) // 32 * 4
    rows = b''.join(pixels[y * stride:(y + 1) * stride] for y in range(height))
    offset = 14 + 40 + len(palette)
    header = b'BM' + struct.pack('<IHHI', offset + len(rows), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(rows), 3780, 3780, len(palette) // 4, 0)
    return header + info + palette + rows
put('picture_file/rgb.bmp', bmp(3, 2, 24, b'', bytes(range(24))))
put('picture_file/indexed.bmp', bmp(4, 4, 8, b''.join(bytes([i, 255 - i, i // 2, 0]) for i in range(4)), bytes([0, 1, 2, 3] * 4)))
EOF

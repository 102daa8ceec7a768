#include "app/CsvText.h"

#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/TextLines.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace CsvText {

namespace {

// Reads the field that starts at p; p ends after its comma (or at the line's end).
// bMore is set when a comma ended it.
void ReadField(std::string_view line, size_t& p, std::string& field, bool& bMore)
{
    field.clear();
    bMore = false;
    bool bQuoted = false;
    while (p < line.size()) {
        const char ch = line[p++];
        if (ch == '"') {
            if (bQuoted && p < line.size() && line[p] == '"') {
                field += '"';
                ++p;
            } else {
                bQuoted = !bQuoted;
            }
            continue;
        }
        if (ch == ',' && !bQuoted) {
            bMore = true;
            break;
        }
        if (ch == '\r' || ch == '\n')
            continue;
        // Byte by byte: a trail byte of code page 932 (0x40 and above) is never a quote or
        // a comma, so the bytes of a double-byte character pass whole.
        field += ch;
    }
    field.resize(CutAtCharacter(field, MAX_FIELD));
    // Trailing blanks go by characters, as the writer cuts them: a blank that is the
    // second byte of a character (after a lone lead byte) stays with it.
    CString trimmed(field);
    trimmed.TrimRight(' ');
    field = trimmed.str();
}

} // namespace

std::string QuoteField(const CString& field)
{
    const std::string& text = field.str();
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    quoted += '"';
    return quoted;
}

std::vector<std::string_view> SplitLines(std::string_view data)
{
    return ::SplitLines(data, MAX_LINE);
}

void SplitFields(std::string_view line, std::vector<CString>& fields)
{
    fields.clear();
    size_t p = 0;
    std::string field;
    bool bMore = true;
    while (bMore) {
        ReadField(line, p, field, bMore);
        fields.emplace_back(field);
    }
}

CString GetCsvField(std::string_view line, int nField)
{
    if (nField < 0)
        return CString();
    size_t p = 0;
    std::string field;
    bool bMore = true;
    for (int i = 0; bMore; ++i) {
        ReadField(line, p, field, bMore);
        if (i == nField)
            return CString(field);
    }
    return CString();
}

int CountFields(std::string_view line)
{
    int nCount = 1;
    bool bQuoted = false;
    for (char ch : line) {
        if (ch == '"')
            bQuoted = !bQuoted;
        else if (ch == ',' && !bQuoted)
            ++nCount;
    }
    return nCount;
}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// UTF-32's little-endian mark begins with UTF-16's: the UTF-32 marks are looked for first.
constexpr std::string_view kUtf32Marks[] = {std::string_view("\xFF\xFE\0\0", 4),
                                            std::string_view("\0\0\xFE\xFF", 4)};
constexpr std::string_view kUtf16Marks[] = {"\xFF\xFE", "\xFE\xFF"};

// The line (from 1) the byte at nOffset stands on.
int LineAt(std::string_view data, size_t nOffset)
{
    return 1 + static_cast<int>(
                   std::count(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(nOffset), '\n'));
}

bool IsAscii(std::string_view data)
{
    return std::all_of(data.begin(), data.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

bool StartsWithAny(std::string_view data, std::initializer_list<std::string_view> marks)
{
    return std::any_of(marks.begin(), marks.end(),
                       [data](std::string_view mark) { return data.starts_with(mark); });
}

CString NumberText(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    return CString(text);
}

// Why a file cannot be read, as the CSV inputs say it.
CString RefusalText(const CFileText& file)
{
    switch (file.eEncoding) {
    case CFileText::EEncoding::utf16:
    case CFileText::EEncoding::utf32:
        return "CSVﾌｧｲﾙが読めません。"_sj +
               (file.eEncoding == CFileText::EEncoding::utf16 ? "UTF-16" : "UTF-32") +
               " で保存されています。Shift-JIS か UTF-8 で保存したﾌｧｲﾙを読み込んでください。"_sj;
    default:
        break;
    }
    return "CSVﾌｧｲﾙの"_sj + NumberText(file.nLine) +
           (file.bUtf8Mark
                ? "行目が読めません。UTF-8 の文字として正しくないﾊﾞｲﾄがあります。"_sj
                : "行目が読めません。Shift-JIS の文字としても UTF-8 の文字としても正しくないﾊﾞｲﾄがあります。"_sj);
}

} // namespace

CFileText DecodeFile(std::string_view data)
{
    CFileText file;
    if (StartsWithAny(data, {kUtf32Marks[0], kUtf32Marks[1]})) {
        file.eEncoding = CFileText::EEncoding::utf32;
        return file;
    }
    if (StartsWithAny(data, {kUtf16Marks[0], kUtf16Marks[1]})) {
        file.eEncoding = CFileText::EEncoding::utf16;
        return file;
    }
    file.bUtf8Mark = data.starts_with(kUtf8Mark);
    const std::string_view body = file.bUtf8Mark ? data.substr(kUtf8Mark.size()) : data;
    const size_t nMalformedUtf8 = FindMalformedUtf8(body);
    if (file.bUtf8Mark || (nMalformedUtf8 == body.size() && !IsAscii(body))) {
        if (nMalformedUtf8 != body.size()) {
            file.eEncoding = CFileText::EEncoding::unreadable;
            file.nLine = LineAt(body, nMalformedUtf8);
            return file;
        }
        file.eEncoding = CFileText::EEncoding::utf8;
        // The mark a Japanese text gives a character its type lacks.
        std::vector<size_t> missing;
        file.text = Utf8ToCp932(body, "\x81\xAC", &missing);
        file.nReplaced = static_cast<int>(missing.size());
        file.nLine = missing.empty() ? 0 : LineAt(body, missing.front());
        return file;
    }
    const size_t nMalformedCp932 = FindMalformedCp932(data);
    if (nMalformedCp932 == data.size()) {
        file.text = std::string(data);
        return file;
    }
    // Neither encoding reads the whole file. The one that reads farther is the one it was
    // written in (a Shift-JIS text breaks as UTF-8 at its first Japanese character, a UTF-8
    // text as Shift-JIS mostly within a few), so the line named is where that one breaks.
    file.eEncoding = CFileText::EEncoding::unreadable;
    file.nLine = LineAt(data, std::max(nMalformedUtf8, nMalformedCp932));
    return file;
}

bool TakeFileText(std::string& data)
{
    CFileText file = DecodeFile(data);
    if (!file.IsRead()) {
        AfxMessageBox(RefusalText(file), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (file.nReplaced > 0) {
        CString text = "UTF-8 のCSVﾌｧｲﾙの"_sj + NumberText(file.nLine) +
                       "行目ほかにShift-JISにない文字が"_sj + NumberText(file.nReplaced) +
                       "個あります。\n「〓」にして読み込みますか？"_sj;
        if (AfxMessageBox(text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return false;
    }
    data = std::move(file.text);
    return true;
}

bool ReadInputFile(const char* lpszPath, std::string& text)
{
    text.clear();
    bool bRead = lpszPath != nullptr && *lpszPath != '\0';
    if (bRead) {
        try {
            text = ReadWholeFile(lpszPath);
        } catch (CException&) {
            text.clear();
            bRead = false;
        }
    }
    if (!bRead) {
        AfxMessageBox("CSVﾌｧｲﾙはないか、壊れています。"_sj, MB_OK);
        return false;
    }
    if (TakeFileText(text))
        return true;
    text.clear();
    return false;
}

} // namespace CsvText

#include "app/CsvText.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/TextLines.h"

#include <algorithm>
#include <cstdio>

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

} // namespace

CFileText DecodeFile(std::string_view data)
{
    CFileText file;
    const bool bMarked = data.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (!bMarked && (FindMalformedCp932(data) == data.size() || IsAscii(data) ||
                     FindMalformedUtf8(data) != data.size())) {
        file.text = std::string(data);
        return file;
    }
    const std::string_view utf8 = bMarked ? data.substr(kUtf8Mark.size()) : data;
    const size_t nMalformed = FindMalformedUtf8(utf8);
    if (nMalformed != utf8.size()) {
        file.eEncoding = CFileText::EEncoding::unreadable;
        file.nLine = LineAt(utf8, nMalformed);
        return file;
    }
    file.eEncoding = CFileText::EEncoding::utf8;
    // The mark a Japanese text gives a character its type lacks.
    std::vector<size_t> missing;
    file.text = Utf8ToCp932(utf8, "\x81\xAC", &missing);
    file.nReplaced = static_cast<int>(missing.size());
    file.nLine = missing.empty() ? 0 : LineAt(utf8, missing.front());
    return file;
}

bool TakeFileText(std::string& data)
{
    CFileText file = DecodeFile(data);
    if (file.eEncoding == CFileText::EEncoding::unreadable) {
        char line[16];
        std::snprintf(line, sizeof line, "%d", file.nLine);
        AfxMessageBox("CSVﾌｧｲﾙの"_sj + line +
                          "行目が読めません。UTF-8 の文字として正しくないﾊﾞｲﾄがあります。"_sj,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (file.nReplaced > 0) {
        char count[48];
        std::snprintf(count, sizeof count, "%d", file.nLine);
        CString text = "UTF-8 のCSVﾌｧｲﾙの"_sj + count;
        std::snprintf(count, sizeof count, "%d", file.nReplaced);
        text +=
            "行目ほかにShift-JISにない文字が"_sj + count + "個あります。\n「〓」にして読み込みますか？"_sj;
        if (AfxMessageBox(text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return false;
    }
    data = std::move(file.text);
    return true;
}

} // namespace CsvText

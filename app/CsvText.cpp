#include "app/CsvText.h"

#include "platform/base/TextLines.h"

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

} // namespace CsvText

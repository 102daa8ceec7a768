#include "estimate_tools/EstimateCsv.h"

#include "app/CEstimationFormFile.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/TextLines.h"

#include <algorithm>

namespace EstimateCsv {

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

std::string WriteEstimate(const CMorvelEMView& view, const std::vector<BOOL>& ticks)
{
    const int nUsedRows = EstimateIo::GetUsedRows(view);
    const int nColumns = std::min(static_cast<int>(ticks.size()), EstimateIo::GetColumnCount(view));
    // The unit column of headings is written empty. FindColumn answers 0 when no column has
    // the unit code; the name column 0 must not be emptied for that.
    int nUnitCol = view.FindColumn("1", "T");
    if (view.GetEstimationForm().GetItem(nUnitCol, CEstimationFormFile::colT) != "1")
        nUnitCol = -1;
    std::string text;
    text.reserve(static_cast<size_t>(nUsedRows) * 64);
    for (int r = 0; r < nUsedRows; ++r) {
        const bool bHeading = IsHeadingKind(view.GetRowKind(r));
        bool bFirst = true;
        for (int c = 0; c < nColumns; ++c) {
            if (!ticks[static_cast<size_t>(c)])
                continue;
            if (!bFirst)
                text += ',';
            bFirst = false;
            if (bHeading && c == nUnitCol)
                continue;
            // Only headings carry a subject number (it is empty for every other row).
            CString field = CMorvelEMView::RemoveLineBreaks(view.GetCellText(r, c));
            if (bHeading)
                field = view.GetSubjectNoText(r, c) + field;
            field.TrimRight(' ');
            text += QuoteField(field);
        }
        text += "\r\n";
    }
    return text;
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

int InsertRows(CMorvelEMView& view, int nRow, const std::vector<std::string_view>& lines,
               const std::vector<int>& mapping)
{
    const int nCount = static_cast<int>(lines.size());
    if (nCount == 0 || !EstimateIo::CheckRowRoom(view, nRow, nCount))
        return 0;
    EstimateIo::EnsureRowLimit(view, std::max(EstimateIo::GetUsedRows(view), nRow) + nCount + 2);
    const int nColumns = std::min(static_cast<int>(mapping.size()), EstimateIo::GetColumnCount(view));
    std::vector<CString> fields;
    for (int i = 0; i < nCount; ++i) {
        const int r = nRow + i;
        view.InsertRow(r);
        view.SetCellText("", r, 0, TRUE);
        view.SetRowKind(kindDetail, r);
        SplitFields(lines[static_cast<size_t>(i)], fields);
        for (int c = 0; c < nColumns; ++c) {
            const int j = mapping[static_cast<size_t>(c)];
            if (j < 0)
                continue;
            const CString field =
                j < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(j)] : CString();
            view.SetCellText(CMorvelEMView::TrimBlanks(field), r, c, TRUE);
        }
    }
    return nCount;
}

} // namespace EstimateCsv

#include "estimate_tools/EstimateCsv.h"

#include "app/CEstimationFormFile.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/Cp932Text.h"

#include <algorithm>

namespace EstimateCsv {

std::string WriteEstimate(const CEstimateModel& model, const CEstimationFormFile& form,
                          const std::vector<BOOL>& ticks)
{
    const int nUsedRows = model.GetUsedRows();
    const int nColumns = std::min(static_cast<int>(ticks.size()), model.Engine().Columns().GetLimit());
    // The unit column of headings is written empty. FindColumn answers 0 when no column has
    // the unit code; the name column 0 must not be emptied for that.
    int nUnitCol = model.Engine().Columns().Find("1", "T");
    if (form.GetItem(nUnitCol, CEstimationFormFile::colT) != "1")
        nUnitCol = -1;
    constexpr CEstimateModel::EPage eEdit = CEstimateModel::EPage::edit;
    std::string text;
    text.reserve(static_cast<size_t>(nUsedRows) * 64);
    for (int r = 0; r < nUsedRows; ++r) {
        const bool bHeading = IsHeadingKind(model.RowKind(eEdit, r));
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
            CString field = RemoveLineBreaks(model.CellText(eEdit, r, c));
            if (bHeading)
                field = model.GetSubjectNumberText(eEdit, r, c) + field;
            field.TrimRight(' ');
            text += QuoteField(field);
        }
        text += "\r\n";
    }
    return text;
}

CEstimateModel::CRowsRead RowsRead(const std::vector<std::string_view>& lines,
                                   const std::vector<int>& mapping, int nColumns)
{
    CEstimateModel::CRowsRead read;
    nColumns = std::min(static_cast<int>(mapping.size()), nColumns);
    for (int c = 0; c < nColumns; ++c) {
        if (mapping[static_cast<size_t>(c)] >= 0)
            read.columns.push_back(c);
    }
    read.rows.resize(lines.size());
    std::vector<CString> fields;
    for (size_t i = 0; i < lines.size(); ++i) {
        CGridRow& row = read.rows[i];
        row.SetKind(kindDetail);
        SplitFields(lines[i], fields);
        for (int c : read.columns) {
            const int j = mapping[static_cast<size_t>(c)];
            if (j < static_cast<int>(fields.size()))
                row.SetCell(c, TrimBlanks(fields[static_cast<size_t>(j)]));
        }
    }
    return read;
}

int InsertRows(CMorvelEMView& view, int nRow, const std::vector<std::string_view>& lines,
               const std::vector<int>& mapping)
{
    const int nCount = static_cast<int>(lines.size());
    if (nCount == 0 || !EstimateIo::CheckRowRoom(view, nRow, nCount))
        return 0;
    return view.InsertRowsRead(nRow, RowsRead(lines, mapping, EstimateIo::GetColumnCount(view)));
}

} // namespace EstimateCsv

// Parts rows taken into the estimate: the rows chosen in the parts selection list become
// detail rows at the current row, each estimate column filled from the parts column its
// "B" code names.
#include "app/CEstimationFormFile.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMView.h"

#include <algorithm>
#include <vector>

int CMorvelEMView::PartsColumnOfCode(const CString& strCode)
{
    if (strCode.IsEmpty())
        return -1;
    auto letter = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' : -1; };
    int nCol = -1;
    if (strCode.GetLength() == 1) {
        nCol = letter(strCode[0]);
    } else {
        const int nFirst = std::max(letter(strCode[0]), 0);
        const int nSecond = letter(strCode[1]);
        nCol = nSecond < 0 ? -1 : nFirst * 26 + nSecond;
    }
    return nCol >= 0 && nCol < CGridRow::MAX_CELLS ? nCol : -1;
}

void CMorvelEMView::InsertPartsRows(const CGridRow* const* ppRows, int nCount)
{
    if (ppRows == nullptr || nCount <= 0 || IsSummaryPageShown())
        return;
    m_nPendingLevel = pickParts;
    const int nRow = GetCurrentRow();
    // The rows are placed as those of a pick from the pop-up list, and undone likewise.
    if (!HasRoomForPopupRows(nCount))
        return;
    GetModel().InsertPartsRows(GetCurrentCol(), nRow, ppRows, nCount, PartsSourceColumns(), PageRule());
    NoteUndoRecorded();
    RecalcTotals(nRow);
    SetCurrentRow(std::min(GetCurrentRow(), GetRowLimit() - 1));
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
    SetDocumentModified();
    UpdateTreeView();
}

std::vector<int> CMorvelEMView::PartsSourceColumns() const
{
    const CEstimationFormFile& form = GetEstimationForm();
    std::vector<int> sourceCols(static_cast<size_t>(std::max(form.GetCount(), 0)),
                                CEstimateModel::notFromParts);
    for (int c = 0; c < form.GetCount(); ++c) {
        const CString& strCode = form.GetItem(c, CEstimationFormFile::colB);
        if (!strCode.IsEmpty())
            sourceCols[static_cast<size_t>(c)] = PartsColumnOfCode(strCode);
    }
    return sourceCols;
}

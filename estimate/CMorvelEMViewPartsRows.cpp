// Parts rows taken into the estimate: the rows chosen in the parts selection list become
// detail rows at the current row, each estimate column filled from the parts column its
// "B" code names.
#include "app/CEstimationFormFile.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/RowKinds.h"
#include "estimate/engine/UndoCommands.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>
#include <memory>
#include <utility>
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
    // The rows are placed as those of a pick from the pop-up list, and undone likewise:
    // undo takes out what was put in, the page alignment's rows included.
    CRowSteps steps;
    {
        const CRowStepRecording recording(*this, steps);
        if (!PlacePopupRows(nCount))
            return;
        FillPartsRows(nRow, ppRows, nCount);
    }
    RecordUndo(std::make_unique<CRowsPasteCommand>(GetCurrentCol(), nRow, nCount, true, std::move(steps)));
    RecalcTotals(nRow);
    SetCurrentRow(std::min(GetCurrentRow(), GetRowLimit() - 1));
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
    SetDocumentModified();
    UpdateTreeView();
}

void CMorvelEMView::FillPartsRows(int nRow, const CGridRow* const* ppRows, int nCount)
{
    const CEstimationFormFile& form = GetEstimationForm();
    const int nColumns = std::min(form.GetCount(), GetColumnLimit());
    // Each column takes the indent of the nearest detail row around the new rows (still
    // empty here, so they are not found themselves).
    std::vector<int> indents(static_cast<size_t>(std::max(nColumns, 0)));
    for (int c = 0; c < nColumns; ++c)
        indents[static_cast<size_t>(c)] = FindNearestCellAttr(nRow, c, kindDetail);
    for (int i = 0; i < nCount; ++i) {
        const CGridRow* pParts = ppRows[i];
        const int r = nRow + i;
        SetRowKind(kindDetail, r);
        if (pParts == nullptr)
            continue;
        for (int c = 0; c < nColumns; ++c) {
            const CString& strCode = form.GetItem(c, CEstimationFormFile::colB);
            if (strCode.IsEmpty())
                continue;
            const int nPartsCol = PartsColumnOfCode(strCode);
            const CString strSource = nPartsCol >= 0 ? pParts->m_strCell[nPartsCol] : CString();
            CString strText;
            NormalizeNumberText(c, strText, strSource);
            SetCellText(strText, r, c, TRUE);
            SetCellIndent(indents[static_cast<size_t>(c)], r, c);
        }
        // Amounts and other formula columns follow the quantities and prices taken in.
        CalcRow(r, 0);
    }
}

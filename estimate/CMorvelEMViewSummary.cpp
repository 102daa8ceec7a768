// The summary table (集計表): the estimate condensed into its headings and totals, level
// by level (kinds, large, middle and small subjects), on the summary page, or written at
// the top of the edit page.
#include "app/CEstimationFormFile.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CSummaryTable.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"
#include "grid/CTabWnd.h"
#include "platform/ui/core/WinApi.h"

CSummaryTable CMorvelEMView::SummaryTable()
{
    return GetModel().SummaryTable(GetEstimationForm().GetCount());
}

void CMorvelEMView::AddRowToSummary(int nRow, bool bAmounts, ERowKind nHeadingKind)
{
    SummaryTable().AddLine(nRow, bAmounts, nHeadingKind);
}

void CMorvelEMView::BuildSummaryLevel(ESummaryLevel eLevel)
{
    SummaryTable().BuildLevel(eLevel);
}

void CMorvelEMView::CancelSummaryTable()
{
    if (GetTabWnd() != nullptr && GetTabWnd()->m_hWnd != nullptr)
        GetTabWnd()->SetCurSel(0);
    OnEditPageTab();
}

void CMorvelEMView::MakeSummaryTable(const int levels[SUMMARY_LEVELS], bool bInternal)
{
    for (int i = 0; i < SUMMARY_LEVELS; ++i)
        m_nSummaryLevelOn[i] = levels[i] != 0 ? 1 : 0;
    // The summary page is built as its tab builds it (the edit page's cursor is kept).
    if (!bInternal && GetTabWnd() != nullptr && GetTabWnd()->m_hWnd != nullptr)
        GetTabWnd()->SetCurSel(1);
    OnSummaryPageTab();
    if (!bInternal)
        return;

    // 内部作成: back to the edit page, the summary written at its top.
    SetSummaryPageShown(false);
    HideCellEdit();
    const int nRowsPerPage = GetPageRows();
    // The new summary takes the place of one written earlier (rows of kind 100 or more, and
    // its filler rows).
    const int nOld = CSummaryTable::CountWrittenRows(Engine());
    const int nInsert = SummaryTable().GetRowsOnPages(nRowsPerPage);
    // The rows the estimate has with the new summary in place of the old one are checked
    // before either is touched: an estimate its file could not hold, or one that would
    // push rows past the row limit, keeps its old summary.
    const long long nRowsAfter = static_cast<long long>(GetUsedRows()) - nOld + nInsert;
    bool bWrite = CheckFileRowLimit(nRowsAfter);
    if (bWrite && nInsert > 0 && nRowsAfter >= GetRowLimit()) {
        MessageBeep(0);
        bWrite = false;
    }
    // Undo takes the summary out again and puts back the one written before.
    if (bWrite) {
        GetModel().WriteSummaryAtTop(nRowsPerPage);
        NoteUndoRecorded();
    }
    UpdateTreeView();
    if (bWrite)
        SetDocumentModified();
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    ClickCell(m_ptSummaryReturn.x, m_ptSummaryReturn.y);
    UpdateStatusText(statusShow);
}

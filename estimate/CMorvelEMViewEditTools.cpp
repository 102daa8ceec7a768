// The estimate grid's editing tools beside the cell editing: sorting a column block, the
// remembered row (記憶, ｼﾞｬﾝﾌﾟ, 解除), page alignment of subject headings, the user zoom, the
// fixed-rate change and the search for unnecessary rows. Those that ask through a dialog
// hand the command to the estimate tools, which run the dialog and call back the work
// here.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CRowSort.h"
#include "engine/estimate/CUnnecessaryRows.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>

// ---------------------------------------------------------------------------------------
// Sorting

bool CMorvelEMView::CanSortBlock() const
{
    if (IsSummaryPageShown() || GetSelectMode() != selectBlock)
        return false;
    const CRect rc = GetSelectionBlock();
    if (rc.left != rc.right || rc.top >= rc.bottom)
        return false;
    const ERowKind nKind = GetRowKind(rc.top);
    for (int r = rc.top + 1; r <= rc.bottom; ++r) {
        if (GetRowKind(r) != nKind)
            return false;
    }
    return true;
}

void CMorvelEMView::OnUpdateSort(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSortBlock());
}

void CMorvelEMView::OnSort()
{
    if (!CanSortBlock())
        return;
    HandToEstimateTools(ID_SORT);
}

void CMorvelEMView::SortBlock(bool bAscending)
{
    const CRect rc = GetSelectionBlock();
    // Only rows in use are sorted: a block that reaches past them ends at the last one.
    const int nCol = rc.left;
    if (!CRowSort::HasRowsToSort(Engine(), rc.top, rc.bottom, nCol))
        return;
    const int nFirst = std::max<int>(0, rc.top);
    const int nLast = std::min<int>(rc.bottom, GetUsedRows() - 1);

    // The wait dialog stands while the rows move (not for a grid without a window).
    std::unique_ptr<CWaitDialog> pWait;
    if (m_hWnd != nullptr) {
        pWait = std::make_unique<CWaitDialog>("並べ替えを行っています。"_sj, nullptr);
        pWait->Create(IDD_WAIT, nullptr);
    }

    const bool bText =
        GetEstimationForm().GetItem(nCol, CEstimationFormFile::colAttribute).Find("文字"_sj) >= 0;
    GetModel().SortRows(nFirst, nLast, nCol, bText ? CRowSort::EKey::text : CRowSort::EKey::number,
                        bAscending);
    NoteUndoRecorded();

    if (m_hWnd != nullptr) {
        CRect rcRows;
        GetCellRangeRect(0, nFirst, GetColumnLimit() - 1, nLast, &rcRows);
        InvalidateRect(&rcRows, TRUE);
        UpdateWindow();
    }
    SetDocumentModified();
    if (pWait != nullptr && pWait->m_hWnd != nullptr) {
        pWait->EndDialog(3);
        pWait->DestroyWindow();
    }
}

// ---------------------------------------------------------------------------------------
// The remembered row

void CMorvelEMView::InvalidateRowHead(int nRow)
{
    if (m_hWnd == nullptr || nRow < GetFirstVisibleCell().y ||
        nRow >= GetFirstVisibleCell().y + GetVisibleRowCount() + 1)
        return;
    CRect rc;
    GetCellRangeRect(std::min(1, GetColumnLimit() - 1), nRow, std::min(1, GetColumnLimit() - 1), nRow, &rc);
    rc.left = 0;
    InvalidateRect(&rc, TRUE);
}

void CMorvelEMView::OnRememberPosition()
{
    // Every window repaints the old and the new mark (MarkRowMoved).
    GetModel().MarkRow(GetCurrentRow());
    NoteUndoRecorded();
    if (m_hWnd != nullptr)
        UpdateWindow();
}

void CMorvelEMView::OnUpdateRememberPosition(CCmdUI* pCmdUI)
{
    const CRect rc = GetSelectionBlock();
    pCmdUI->Enable(!IsSummaryPageShown() && (GetSelectMode() == selectNone || rc.top == rc.bottom));
}

void CMorvelEMView::OnJumpToRemembered()
{
    if (GetMarkRow() < 0 || IsSummaryPageShown())
        return;
    RememberCurrentCell();
    SetCurrentRow(std::min(GetMarkRow(), GetRowLimit() - 1));
    const int nVisible = std::max(1, GetVisibleRowCount());
    if (GetCurrentRow() < GetFirstVisibleCell().y || GetCurrentRow() >= GetFirstVisibleCell().y + nVisible) {
        SetSelectMode(selectNone);
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, GetCurrentRow() - 5));
    }
    if (m_hWnd != nullptr) {
        InvalidateCells(GetPreviousCell().x, GetPreviousCell().y, GetPreviousCell().x, GetPreviousCell().y);
        InvalidateCells(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
        UpdateWindow();
    }
    UpdateStatusText(statusShow);
}

void CMorvelEMView::OnUpdateJumpToRemembered(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && GetMarkRow() >= 0);
}

void CMorvelEMView::OnReleaseMark()
{
    GetModel().SetMarkRow(-1);
    if (m_hWnd != nullptr)
        UpdateWindow();
}

// ---------------------------------------------------------------------------------------
// Page alignment

void CMorvelEMView::OnPageAlign()
{
    m_nAdjustPage = m_nAdjustPage == 0 ? 1 : 0;
    if (CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        pSettings->WriteProfileInt("Settings", "AdjustPage", m_nAdjustPage);
}

void CMorvelEMView::OnUpdatePageAlign(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nAdjustPage != 0 ? 1 : 0);
}

// ---------------------------------------------------------------------------------------
// User zoom

void CMorvelEMView::OnZoomUser()
{
    HandToEstimateTools(ID_ZOOM_USER);
    // Cancelled (or confirmed): the box shows this grid's zoom.
    ShowZoomInBox();
}

// ---------------------------------------------------------------------------------------
// Fixed-rate change

bool CMorvelEMView::CanChangeFixedRate() const
{
    if (IsSummaryPageShown())
        return false;
    if (GetSelectMode() != selectNone && GetSelectMode() != selectColumn && GetSelectMode() != selectBlock)
        return false;
    const CRect rc = GetSelectionBlock();
    return rc.left == rc.right && IsValidColumn(rc.left) && Engine().Columns().Get(rc.left).bNumeric;
}

void CMorvelEMView::OnFixedRateChange()
{
    if (!CanChangeFixedRate())
        return;
    HandToEstimateTools(ID_RATE_CHANGE);
}

void CMorvelEMView::OnUpdateFixedRateChange(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanChangeFixedRate());
}

// ---------------------------------------------------------------------------------------
// Unnecessary rows

// The dialog's conditions are the search's own numbers.
static_assert(UNROW_COND_QUANTITY_ZERO == CUnnecessaryRows::conditionQuantityZero &&
              UNROW_COND_AMOUNT_ZERO == CUnnecessaryRows::conditionAmountZero &&
              UNROW_COND_BOTH_ZERO == CUnnecessaryRows::conditionBothZero);

CUnnecessaryRows CMorvelEMView::GetUnnecessaryRows() const
{
    return CUnnecessaryRows(Engine(), IsManualUnnecessaryRowScan() ? CUnnecessaryRows::EScan::manual
                                                                   : CUnnecessaryRows::EScan::standard);
}

bool CMorvelEMView::IsUnnecessaryRow(int nCondition, int nRow) const
{
    return GetUnnecessaryRows().IsUnnecessaryRow(nCondition, nRow);
}

bool CMorvelEMView::IsManualUnnecessaryRowScan()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    return pSettings != nullptr &&
           pSettings->GetProfileString("Unnecessary Row", "ManualEditSaimoku", "") == "1";
}

int CMorvelEMView::FindUnnecessaryRow(int nCondition, int nFromRow) const
{
    return GetUnnecessaryRows().FindNext(nCondition, nFromRow);
}

LRESULT CMorvelEMView::OnUnnecessaryRowMessage(WPARAM wParam, LPARAM lParam)
{
    const int nCondition = static_cast<int>(lParam);
    switch (wParam) {
    case UNROW_FIND_NEXT: {
        const int nRow = FindUnnecessaryRow(nCondition, GetCurrentRow());
        if (nRow < 0)
            return 0;
        ClickFoundCell(0, nRow);
        return 1;
    }
    case UNROW_DELETE_FOUND: {
        const int nRow = FindUnnecessaryRow(nCondition, GetCurrentRow());
        if (nRow >= 0 && nRow == GetCurrentRow()) {
            SetSelectMode(selectNone);
            DeleteCurrentRow();
            SetDocumentModified();
        }
        return 0;
    }
    case UNROW_DELETE_ALL: {
        const CPoint ptSaved(GetCurrentCol(), GetCurrentRow());
        SetSelectMode(selectNone);
        // Every row deleted, with the page alignment after each, is one command: undo puts
        // them all back.
        const int nFirstDeleted = GetModel().DeleteUnnecessaryRows(GetUnnecessaryRows(), nCondition, PageRule());
        if (nFirstDeleted >= 0) {
            NoteUndoRecorded();
            InvalidateRows(nFirstDeleted, GetRowLimit() - 1, TRUE);
            RecalcTotals(nFirstDeleted);
            UpdateTreeView();
            SetDocumentModified();
        }
        if (m_hWnd != nullptr)
            UpdateWindow();
        SetCurrentCell(ptSaved.x, std::min(ptSaved.y, GetRowLimit() - 1));
        if (m_hWnd != nullptr)
            ClickFoundCell(GetCurrentCol(), GetCurrentRow());
        return 0;
    }
    default:
        return 0;
    }
}

void CMorvelEMView::OnDeleteUnnecessaryRows()
{
    if (IsSummaryPageShown())
        return;
    HandToEstimateTools(ID_UNNECESSARY_ROWS);
}

void CMorvelEMView::AddUnnecessaryRowDialog(CWnd* pDialog)
{
    if (pDialog != nullptr)
        m_unnecessaryRowDialogs.push_back(pDialog);
}

void CMorvelEMView::ForgetUnnecessaryRowDialog(CWnd* pDialog)
{
    m_unnecessaryRowDialogs.erase(
        std::remove(m_unnecessaryRowDialogs.begin(), m_unnecessaryRowDialogs.end(), pDialog),
        m_unnecessaryRowDialogs.end());
}

// ---------------------------------------------------------------------------------------
// Column widths into the form

void CMorvelEMView::OnLButtonUp(UINT nFlags, CPoint point)
{
    CMorvelView::OnLButtonUp(nFlags, point);
    StoreColumnWidthsInForm();
}

void CMorvelEMView::StoreColumnWidthsInForm()
{
    // The estimate's own form carries the widths the grid shows (in characters, at least
    // 1), so a resized column keeps its width in the saved estimate.
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const int nColumns = std::min(GetColumnLimit(), pDoc->m_EstimationForm.GetCount());
    for (int c = 0; c < nColumns; ++c) {
        CString strWidth;
        strWidth.Format("%d", std::max(1, GetBaseColumnWidth(c) / 10));
        pDoc->m_EstimationForm.SetItem(c, CEstimationFormFile::colWidth, strWidth);
    }
}

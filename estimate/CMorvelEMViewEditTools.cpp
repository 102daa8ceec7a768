// The estimate grid's editing tools beside the cell editing: sorting a column block, the
// remembered row (記憶, ｼﾞｬﾝﾌﾟ, 解除), page alignment of subject headings, the user zoom, the
// fixed-rate change and the search for unnecessary rows. Those that ask through a dialog
// hand the command to the estimate tools, which run the dialog and call back the work
// here.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/UndoCommands.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const CString& SortText(const CGridRow* pRow, int nCol)
{
    static const CString empty;
    if (pRow == nullptr || nCol < 0 || nCol >= CMorvelView::MAX_COLUMNS)
        return empty;
    return pRow->m_strCell[nCol];
}

// Code page 932 texts in byte order: a lead byte sorts after every single-byte character
// below it, as the multibyte comparison of the C library orders them.
int CompareBytes(const CString& a, const CString& b)
{
    const size_t nA = static_cast<size_t>(a.GetLength()), nB = static_cast<size_t>(b.GetLength());
    const int n = std::memcmp(a.c_str(), b.c_str(), std::min(nA, nB));
    if (n != 0)
        return n < 0 ? -1 : 1;
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Sorting

int CMorvelEMView::CompareTextAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return CompareBytes(SortText(pFirst, nCol), SortText(pSecond, nCol));
}

int CMorvelEMView::CompareTextDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return CompareBytes(SortText(pSecond, nCol), SortText(pFirst, nCol));
}

int CMorvelEMView::CompareNumberAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    const double a = CNumberRules::ReadNumber(SortText(pFirst, nCol));
    const double b = CNumberRules::ReadNumber(SortText(pSecond, nCol));
    return a > b ? 1 : (a < b ? -1 : 0);
}

int CMorvelEMView::CompareNumberDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return -CompareNumberAscending(pFirst, pSecond, nCol);
}

bool CMorvelEMView::CanSortBlock() const
{
    if (m_nSummaryPage != 0 || m_nSelectMode != selectBlock)
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
    const int nFirst = std::max<int>(0, rc.top);
    const int nLast = std::min<int>(rc.bottom, GetUsedRows() - 1);
    const int nCol = rc.left;
    if (nFirst >= nLast || !IsValidColumn(nCol))
        return;

    // The wait dialog stands while the rows move (not for a grid without a window).
    std::unique_ptr<CWaitDialog> pWait;
    if (m_hWnd != nullptr) {
        pWait = std::make_unique<CWaitDialog>("並べ替えを行っています。"_sj, nullptr);
        pWait->Create(IDD_WAIT, nullptr);
    }

    // Every row of the block gets its object, so that empty rows sort as empty texts.
    std::vector<CGridRow*> rows;
    rows.reserve(static_cast<size_t>(nLast - nFirst + 1));
    for (int r = nFirst; r <= nLast; ++r)
        rows.push_back(MakeEditRow(r));
    const bool bText =
        GetEstimationForm().GetItem(nCol, CEstimationFormFile::colAttribute).Find("文字"_sj) >= 0;
    int (*compare)(const CGridRow*, const CGridRow*, int) =
        bText ? (bAscending ? CompareTextAscending : CompareTextDescending)
              : (bAscending ? CompareNumberAscending : CompareNumberDescending);
    // Rows with equal keys keep their order, so a second sort by another column keeps the
    // first one's order within equal keys.
    std::stable_sort(rows.begin(), rows.end(), [compare, nCol](const CGridRow* a, const CGridRow* b) {
        return compare(a, b, nCol) < 0;
    });
    for (int r = nFirst; r <= nLast; ++r)
        EditRows().SetAt(r, rows[static_cast<size_t>(r - nFirst)]);
    NoteRowShift(nFirst);

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
    if (m_hWnd == nullptr || nRow < m_nFirstVisibleRow ||
        nRow >= m_nFirstVisibleRow + GetVisibleRowCount() + 1)
        return;
    CRect rc;
    GetCellRangeRect(std::min(1, GetColumnLimit() - 1), nRow, std::min(1, GetColumnLimit() - 1), nRow, &rc);
    rc.left = 0;
    InvalidateRect(&rc, TRUE);
    UpdateWindow();
}

void CMorvelEMView::OnRememberPosition()
{
    m_nMarkRow = m_nCurrentRow;
    InvalidateRowHead(m_nMarkRowPrev);
    InvalidateRowHead(m_nMarkRow);
    m_nMarkRowPrev = m_nMarkRow;
    RecordUndo(std::make_unique<CMarkRowCommand>(m_nCurrentRow));
}

void CMorvelEMView::OnUpdateRememberPosition(CCmdUI* pCmdUI)
{
    const CRect rc = GetSelectionBlock();
    pCmdUI->Enable(m_nSummaryPage == 0 && (m_nSelectMode == selectNone || rc.top == rc.bottom));
}

void CMorvelEMView::OnJumpToRemembered()
{
    if (m_nMarkRow < 0 || m_nSummaryPage != 0)
        return;
    m_ptPrevCell = CPoint(m_nCurrentCol, m_nCurrentRow);
    m_nCurrentRow = std::min(m_nMarkRow, GetRowLimit() - 1);
    const int nVisible = std::max(1, GetVisibleRowCount());
    if (m_nCurrentRow < m_nFirstVisibleRow || m_nCurrentRow >= m_nFirstVisibleRow + nVisible) {
        m_nSelectMode = selectNone;
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, m_nCurrentRow - 5));
    }
    if (m_hWnd != nullptr) {
        InvalidateCells(m_ptPrevCell.x, m_ptPrevCell.y, m_ptPrevCell.x, m_ptPrevCell.y);
        InvalidateCells(m_nCurrentCol, m_nCurrentRow, m_nCurrentCol, m_nCurrentRow);
        UpdateWindow();
    }
    UpdateStatusText(statusShow);
}

void CMorvelEMView::OnUpdateJumpToRemembered(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0 && m_nMarkRow >= 0);
}

void CMorvelEMView::OnReleaseMark()
{
    const int nOld = m_nMarkRow;
    m_nMarkRow = -1;
    InvalidateRowHead(nOld);
    InvalidateRowHead(m_nMarkRowPrev);
    m_nMarkRowPrev = m_nMarkRow;
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
    if (m_nSummaryPage != 0)
        return false;
    if (m_nSelectMode != selectNone && m_nSelectMode != selectColumn && m_nSelectMode != selectBlock)
        return false;
    const CRect rc = GetSelectionBlock();
    return rc.left == rc.right && IsValidColumn(rc.left) && GetColumnInfo(rc.left).bNumeric;
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

bool CMorvelEMView::IsUnnecessaryRow(int nCondition, int nRow) const
{
    // The quantity and amount columns as every part of the program finds them: the last
    // column with the code. A form without such a column has nothing to be zero, so no row
    // is unnecessary by that column (rather than testing whatever the first column holds).
    const CEstimationFormFile& form = GetEstimationForm();
    int nQuantityCol = FindColumn("3", "T");
    if (form.GetItem(nQuantityCol, CEstimationFormFile::colT) != "3")
        nQuantityCol = -1;
    int nAmountCol = FindColumn("2", "U");
    if (form.GetItem(nAmountCol, CEstimationFormFile::colV) != "2")
        nAmountCol = -1;
    auto isZero = [&](int nCol) {
        if (nCol < 0)
            return false;
        const double value = CNumberRules::ReadNumber(EditCell(nRow, nCol));
        return value > -1e-10 && value < 1e-10;
    };
    switch (nCondition) {
    case UNROW_COND_QUANTITY_ZERO:
        return isZero(nQuantityCol);
    case UNROW_COND_AMOUNT_ZERO:
        return isZero(nAmountCol);
    case UNROW_COND_BOTH_ZERO:
        return isZero(nQuantityCol) && isZero(nAmountCol);
    default:
        return false;
    }
}

bool CMorvelEMView::IsManualUnnecessaryRowScan()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    return pSettings != nullptr &&
           pSettings->GetProfileString("Unnecessary Row", "ManualEditSaimoku", "") == "1";
}

bool CMorvelEMView::IsUnnecessaryRowCandidate(int nRow, bool bManual, int nUnitCol) const
{
    const ERowKind nKind = EditKind(nRow);
    if (bManual)
        return nKind == kindDetail;
    return (nKind == kindEmpty || nKind == kindDetail) && !EditCell(nRow, nUnitCol).IsEmpty();
}

int CMorvelEMView::FindUnnecessaryRow(int nCondition, int nFromRow) const
{
    const bool bManual = IsManualUnnecessaryRowScan();
    const int nUnitCol = FindUnitColumn();
    for (int r = std::max(0, nFromRow); r < GetUsedRows(); ++r) {
        if (IsUnnecessaryRowCandidate(r, bManual, nUnitCol) && IsUnnecessaryRow(nCondition, r))
            return r;
    }
    return -1;
}

LRESULT CMorvelEMView::OnUnnecessaryRowMessage(WPARAM wParam, LPARAM lParam)
{
    const int nCondition = static_cast<int>(lParam);
    switch (wParam) {
    case UNROW_FIND_NEXT: {
        const int nRow = FindUnnecessaryRow(nCondition, m_nCurrentRow);
        if (nRow < 0)
            return 0;
        ClickFoundCell(0, nRow);
        return 1;
    }
    case UNROW_DELETE_FOUND: {
        const int nRow = FindUnnecessaryRow(nCondition, m_nCurrentRow);
        if (nRow >= 0 && nRow == m_nCurrentRow) {
            m_nSelectMode = selectNone;
            DeleteCurrentRow();
            SetDocumentModified();
        }
        return 0;
    }
    case UNROW_DELETE_ALL: {
        const CPoint ptSaved(m_nCurrentCol, m_nCurrentRow);
        m_nSelectMode = selectNone;
        int nFrom = 0;
        bool bDeleted = false;
        for (int nRow = FindUnnecessaryRow(nCondition, nFrom); nRow >= 0;
             nRow = FindUnnecessaryRow(nCondition, nFrom)) {
            SetCurrentCell(m_nCurrentCol, nRow);
            DeleteCurrentRow();
            bDeleted = true;
            nFrom = std::max(0, nRow - 1);
        }
        if (m_hWnd != nullptr)
            UpdateWindow();
        if (bDeleted)
            SetDocumentModified();
        SetCurrentCell(ptSaved.x, std::min(ptSaved.y, GetRowLimit() - 1));
        if (m_hWnd != nullptr)
            ClickFoundCell(m_nCurrentCol, m_nCurrentRow);
        return 0;
    }
    default:
        return 0;
    }
}

void CMorvelEMView::OnDeleteUnnecessaryRows()
{
    if (m_nSummaryPage != 0)
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
        strWidth.Format("%d", std::max(1, m_nBaseColumnWidth[c] / 10));
        pDoc->m_EstimationForm.SetItem(c, CEstimationFormFile::colWidth, strWidth);
    }
}

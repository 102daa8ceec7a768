// Commands beside the estimate grid's display: item clear, which empties the cells of a
// selected column, and the range total, which adds up a numeric column's cells, shows the
// sum in the frame's range-total box and can hand it to the next cell clicked.
#include "estimate/CMorvelEMView.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CFrameWnd.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int IDC_RANGE_TOTAL_BOX = 1007;

// The first window with the id among pWnd's descendants, breadth first.
CWnd* FindDescendant(CWnd* pWnd, int nID)
{
    for (CWnd* pChild = pWnd->GetWindow(GW_CHILD); pChild != nullptr;
         pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (pChild->GetDlgCtrlID() == nID)
            return pChild;
    }
    for (CWnd* pChild = pWnd->GetWindow(GW_CHILD); pChild != nullptr;
         pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (CWnd* pFound = FindDescendant(pChild, nID))
            return pFound;
    }
    return nullptr;
}

} // namespace

CRect CMorvelEMView::GetSelectionBlock() const
{
    if (m_nSelectMode == selectNone)
        return CRect(m_nCurrentCol, m_nCurrentRow, m_nCurrentCol, m_nCurrentRow);
    CRect rcBlock;
    NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                       &rcBlock);
    return rcBlock;
}

CWnd* CMorvelEMView::FindRangeTotalBox() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame != nullptr ? FindDescendant(pFrame, IDC_RANGE_TOTAL_BOX) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Item clear

void CMorvelEMView::OnItemClear()
{
    if (m_nSummaryPage != 0)
        return;
    const CRect rcBlock = GetSelectionBlock();
    const int nFirstCol = std::max<int>(rcBlock.left, 0);
    const int nLastCol = std::min<int>(rcBlock.right, GetColumnLimit() - 1);
    for (int c = nFirstCol; c <= nLastCol; ++c) {
        for (int r = 0; r < GetUsedRows(); ++r)
            SetCellText("", r, c, TRUE);
    }
    if (m_hWnd != nullptr && nFirstCol <= nLastCol) {
        CRect rcPixels;
        GetCellRangeRect(nFirstCol, std::max(m_nFirstVisibleRow, 0), nLastCol, GetRowLimit() - 1, &rcPixels);
        CRect rcGrid;
        GetGridClientRect(&rcGrid);
        rcPixels.bottom = std::min(rcPixels.bottom, rcGrid.bottom);
        InvalidateRect(&rcPixels, TRUE);
        UpdateWindow();
    }
    SetDocumentModified();
}

void CMorvelEMView::OnUpdateItemClear(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0 && m_nSelectMode == selectColumn);
}

// ---------------------------------------------------------------------------------------
// Range total

void CMorvelEMView::OnRangeAdd()
{
    const CRect rcBlock = GetSelectionBlock();
    const int nCol = rcBlock.left;
    if (!IsValidColumn(nCol))
        return;
    // The total goes on from what it was: the command adds a range to it.
    const int nLastRow = std::min<int>(rcBlock.bottom, GetUsedRows() - 1);
    for (int r = std::max<int>(rcBlock.top, 0); r <= nLastRow; ++r)
        m_rangeTotal.dTotal += std::atof(GetCellText(r, nCol));
    m_rangeTotal.nPresent = 1;
    m_rangeTotal.strText = CNumberRules::FormatByPicture(CDecimal::FromDouble(m_rangeTotal.dTotal),
                                                         GetColumnInfo(nCol).picture, TRUE);
    if (CWnd* pBox = FindRangeTotalBox()) {
        pBox->SetWindowText(m_rangeTotal.strText);
        pBox->Invalidate();
        pBox->UpdateWindow();
    }
}

void CMorvelEMView::OnUpdateRangeAdd(CCmdUI* pCmdUI)
{
    const CRect rcBlock = GetSelectionBlock();
    const bool bRange =
        m_nSelectMode == selectNone || (m_nSelectMode == selectBlock && rcBlock.left == rcBlock.right);
    pCmdUI->Enable(m_nSummaryPage == 0 && bRange && IsValidColumn(rcBlock.left) &&
                   GetColumnInfo(rcBlock.left).bNumeric);
}

void CMorvelEMView::OnRangeTotalSet()
{
    m_rangeTotal.nArmed = m_rangeTotal.nArmed ? 0 : 1;
}

void CMorvelEMView::OnUpdateRangeTotalSet(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0 && m_rangeTotal.nPresent);
    pCmdUI->SetCheck(m_rangeTotal.nArmed ? 1 : 0);
}

void CMorvelEMView::OnRangeTotalClear()
{
    m_rangeTotal.nPresent = 0;
    m_rangeTotal.nArmed = 0;
    m_rangeTotal.dTotal = 0.0;
    m_rangeTotal.strText.Empty();
    if (CWnd* pBox = FindRangeTotalBox())
        pBox->SetWindowText("");
}

// Commands beside the estimate grid's display: item clear, which empties the cells of a
// selected column, and the range total, which adds up a numeric column's cells, shows the
// sum in the frame's range-total box and can hand it to the next cell clicked.
#include "estimate/CMorvelEMView.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CFrameWnd.h"

#include <algorithm>

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
    if (GetSelectMode() == selectNone)
        return CRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    CRect rcBlock;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
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
    if (IsSummaryPageShown())
        return;
    const CRect rcBlock = GetSelectionBlock();
    // The end of the command works out again the cells the row formulas fill.
    const CEstimateModel::CColumnSpan cleared = GetModel().ClearColumns(rcBlock.left, rcBlock.right);
    if (cleared.nFirst < 0)
        return;
    NoteUndoRecorded();
    if (m_hWnd != nullptr) {
        CRect rcPixels;
        GetCellRangeRect(cleared.nFirst, std::max(GetFirstVisibleCell().y, 0), cleared.nLast,
                         GetRowLimit() - 1, &rcPixels);
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
    pCmdUI->Enable(!IsSummaryPageShown() && GetSelectMode() == selectColumn);
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
    m_rangeTotal.sum.Add(Engine(), nCol, rcBlock.top, rcBlock.bottom);
    if (CWnd* pBox = FindRangeTotalBox()) {
        pBox->SetWindowText(m_rangeTotal.sum.GetText());
        pBox->Invalidate();
        pBox->UpdateWindow();
    }
}

void CMorvelEMView::OnUpdateRangeAdd(CCmdUI* pCmdUI)
{
    const CRect rcBlock = GetSelectionBlock();
    const bool bRange =
        GetSelectMode() == selectNone || (GetSelectMode() == selectBlock && rcBlock.left == rcBlock.right);
    pCmdUI->Enable(!IsSummaryPageShown() && bRange && IsValidColumn(rcBlock.left) &&
                   Engine().Columns().Get(rcBlock.left).bNumeric);
}

void CMorvelEMView::OnRangeTotalSet()
{
    m_rangeTotal.nArmed = m_rangeTotal.nArmed ? 0 : 1;
}

void CMorvelEMView::OnUpdateRangeTotalSet(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && m_rangeTotal.sum.IsPresent());
    pCmdUI->SetCheck(m_rangeTotal.nArmed ? 1 : 0);
}

void CMorvelEMView::OnRangeTotalClear()
{
    m_rangeTotal.sum.Clear();
    m_rangeTotal.nArmed = 0;
    if (CWnd* pBox = FindRangeTotalBox())
        pBox->SetWindowText("");
}

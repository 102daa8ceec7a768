// Commands beside the estimate grid's display: item clear, which empties the cells of a
// selected column, and the range total, which adds up a numeric column's cells, shows the
// sum in the frame's range-total box and can hand it to the next cell clicked.
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/UndoCommands.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CFrameWnd.h"

#include <algorithm>
#include <utility>

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
    const int nFirstCol = std::max<int>(rcBlock.left, 0);
    const int nLastCol = std::min<int>(rcBlock.right, GetColumnLimit() - 1);
    if (nFirstCol > nLastCol || GetUsedRows() <= 0)
        return;
    // Undo gives the column back as it was, what was typed into it included (the end of
    // the command works out again the cells the row formulas fill).
    CRowImage before = TakeRowImage(0, GetUsedRows() - 1);
    for (int c = nFirstCol; c <= nLastCol; ++c) {
        for (int r = 0; r < GetUsedRows(); ++r)
            SetCellText("", r, c, TRUE);
    }
    RecordUndo(CCellsCommand::Rewrite(undoItemClear, std::move(before)));
    if (m_hWnd != nullptr) {
        CRect rcPixels;
        GetCellRangeRect(nFirstCol, std::max(GetFirstVisibleCell().y, 0), nLastCol, GetRowLimit() - 1,
                         &rcPixels);
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

// Three small tools of the parts grid: the range total of a numeric column (added up,
// shown in the frame's title and dropped into a clicked cell), the fixed-rate change of a
// numeric column on the rows that meet up to two conditions, and one bookmarked row. Their
// computations are the ones the estimate uses (CRangeSum, CFixedRateChange) over the
// document's model; the fixed-rate change and a range total dropped into a cell are undone
// as any other command.
#include "app/CShellServices.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Conditions and the fixed-rate change

namespace {

// The dialog's two conditions as the fixed-rate change reads them.
CFixedRateChange::CCondition ConditionOf(const CMorvelPMView::CRateChangeRequest& request)
{
    CFixedRateChange::CCondition condition;
    condition.nCol1 = request.nCol1;
    condition.nRelation1 = request.nOp1;
    condition.strValue1 = request.strValue1;
    condition.nCol2 = request.nCol2;
    condition.nRelation2 = request.nOp2;
    condition.strValue2 = request.strValue2;
    condition.nConjunction = request.nCombine;
    return condition;
}

} // namespace

int CMorvelPMView::ApplyRateChange(const CRateChangeRequest& request)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 0;
    const CRect rcBlock = GetSelectionBlock();
    const int nCol = rcBlock.right;
    if (!IsNumericColumn(nCol))
        return 0;
    int nChanged = 0;
    auto pCommand = pDoc->Model().ApplyFixedRate(nCol, rcBlock.top, rcBlock.bottom, request.strFormula,
                                                 ConditionOf(request), &nChanged);
    RecordRowsChanged(std::move(pCommand), rcBlock.top,
                      std::min<int>(rcBlock.bottom, pDoc->GetRowsInUse() - 1));
    return nChanged;
}

void CMorvelPMView::OnRateChange()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CRateChangeRequest request;
    if (!CShellServices::RunRateChangeDialog(this, pDoc->m_form, request))
        return;
    ApplyRateChange(request);
}

void CMorvelPMView::OnUpdateRateChange(CCmdUI* pCmdUI)
{
    bool bEnable = false;
    if (GetSelectMode() == selectColumn || GetSelectMode() == selectBlock) {
        bEnable = GetSelection().left == GetSelection().right;
    } else if (GetSelectMode() == selectNone) {
        SetSelection(selectNone, CRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow()));
        bEnable = true;
    }
    pCmdUI->Enable(bEnable && IsNumericColumn(GetSelection().right) &&
                   static_cast<bool>(CShellServices::Get().runRateChangeDialog));
}

// ---------------------------------------------------------------------------------------
// Range total

void CMorvelPMView::OnRangeAdd()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CRect rcBlock;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rcBlock);
    pDoc->Model().AddToRangeSum(m_rangeSum, rcBlock.left, rcBlock.top, rcBlock.bottom);
    if (CFrameWnd* pFrame = m_hWnd != nullptr ? GetParentFrame() : nullptr)
        pFrame->SetWindowText(m_rangeSum.GetText());
    if (m_hWnd != nullptr) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

void CMorvelPMView::OnUpdateRangeAdd(CCmdUI* pCmdUI)
{
    bool bEnable = false;
    if (GetSelectMode() == selectNone) {
        const CRect& rc = GetSelection();
        SetSelection(selectNone, CRect(rc.left, rc.bottom, rc.left, rc.bottom));
        bEnable = true;
    } else if (GetSelectMode() == selectColumn || GetSelectMode() == selectBlock) {
        bEnable = GetSelection().left == GetSelection().right;
    }
    pCmdUI->Enable(bEnable && IsNumericColumn(GetSelection().right));
}

void CMorvelPMView::OnRangeSet()
{
    m_bPlaceTotal = !m_bPlaceTotal;
}

void CMorvelPMView::OnUpdateRangeSet(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_rangeSum.IsPresent());
    pCmdUI->SetCheck(m_bPlaceTotal ? 1 : 0);
}

void CMorvelPMView::OnRangeClear()
{
    m_rangeSum.Clear();
    if (CFrameWnd* pFrame = m_hWnd != nullptr ? GetParentFrame() : nullptr)
        pFrame->SetWindowText("");
}

void CMorvelPMView::PlaceRangeTotal()
{
    if (!m_bPlaceTotal)
        return;
    m_bPlaceTotal = FALSE;
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    // Nothing goes into a column that is not numeric.
    auto pCommand = pDoc->Model().StoreNumber(GetCurrentRow(), GetCurrentCol(), m_rangeSum.GetTotal());
    if (pCommand == nullptr)
        return;
    AfterRowsChanged(GetCurrentRow(), GetCurrentRow());
    RecordUndo(std::move(pCommand));
}

// ---------------------------------------------------------------------------------------
// Bookmark

void CMorvelPMView::OnBookmarkSet()
{
    if (m_nRememberedRow >= 0)
        RepaintRow(m_nRememberedRow);
    m_nRememberedRow = GetCurrentRow();
    RepaintRow(m_nRememberedRow);
}

void CMorvelPMView::OnUpdateBookmarkSet(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectMode() == selectNone || GetSelection().top == GetSelection().bottom);
}

void CMorvelPMView::OnBookmarkJump()
{
    if (m_nRememberedRow < 0)
        return;
    m_ptLastCur = CPoint(GetCurrentCol(), GetCurrentRow());
    const int nFirstVisible = GetFirstVisibleCell().y;
    const int nLastVisible = GetFirstVisibleCell().y + std::max(0, GetVisibleRowCount() - 1);
    const CPoint ptOld(GetCurrentCol(), GetCurrentRow());
    SetCurrentRow(std::min(m_nRememberedRow, GetRowLimit() - 1));
    if (GetCurrentRow() < nFirstVisible || GetCurrentRow() > nLastVisible) {
        SetSelectMode(selectNone);
        // The grid takes a thumb position as its first visible row while the thumb moves.
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, GetCurrentRow() - 5));
    }
    InvalidateCell(ptOld.x, ptOld.y);
    InvalidateCell(GetCurrentCol(), GetCurrentRow());
    m_ptLastCur = CPoint(GetCurrentCol(), GetCurrentRow());
    UpdateStatusText();
}

void CMorvelPMView::OnUpdateBookmarkJump(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nRememberedRow >= 0);
}

void CMorvelPMView::OnBookmarkRelease()
{
    if (m_nRememberedRow < 0)
        return;
    const int nRow = m_nRememberedRow;
    m_nRememberedRow = -1;
    RepaintRow(nRow);
}

void CMorvelPMView::DrawBookmarkMark(CDC* pDC)
{
    if (m_nRememberedRow < 0 || GetRowHeaderWidth() <= 0 || m_nRememberedRow < GetFirstVisibleCell().y)
        return;
    const int nTop = GetHeaderHeight() + (m_nRememberedRow - GetFirstVisibleCell().y) * GetRowHeight();
    const int nMiddle = nTop + GetRowHeight() / 2;
    CBrush brush(RGB(255, 0, 0));
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->Ellipse(3, nMiddle - 5, 13, nMiddle + 5);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

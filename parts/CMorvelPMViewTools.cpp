// Three small tools of the parts grid: the range total of a numeric column (added up,
// shown in the frame's title and dropped into a clicked cell), the fixed-rate change of a
// numeric column on the rows that meet up to two conditions, and one bookmarked row.
// None of them is undoable.
#include "app/CShellServices.h"
#include "estimate/engine/CFixedRateChange.h"
#include "estimate/engine/CNumberRules.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/CPartsShared.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------------------
// Conditions and the fixed-rate change

BOOL CMorvelPMView::RowMatchesCondition(int nRow, int nCol1, int nOp1, const CString& strValue1, int nCol2,
                                        int nOp2, const CString& strValue2, int nCombine) const
{
    const auto test = [&](int nCol, int nOp, const CString& strValue) {
        if (strValue.IsEmpty())
            return true;
        const CString strCell = GetCellText(nRow, nCol);
        int nOrder = 0;
        if (IsNumericColumn(nCol)) {
            const double a = std::atof(strCell);
            const double b = std::atof(strValue);
            nOrder = a < b ? -1 : a > b ? 1 : 0;
        } else {
            // Byte order of the code page 932 texts.
            const int nCompare = std::strcmp(strCell, strValue);
            nOrder = nCompare < 0 ? -1 : nCompare > 0 ? 1 : 0;
        }
        return CFixedRateChange::HoldsRelation(nOrder, nOp);
    };
    const bool b1 = test(nCol1, nOp1, strValue1);
    const bool b2 = test(nCol2, nOp2, strValue2);
    if (nCombine == 0)
        return b1 || b2;
    if (nCombine == 1)
        return b1 && b2;
    return FALSE;
}

int CMorvelPMView::ApplyRateChange(const CRateChangeRequest& request)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 0;
    CRect rcBlock;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rcBlock);
    if (GetSelectMode() == selectNone)
        rcBlock.SetRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    // The change stops at the last used row: the row after it is no part of the list, and a
    // formula such as "+100" would otherwise start a new row out of nothing.
    if (rcBlock.bottom >= pDoc->GetRowsInUse())
        rcBlock.bottom = pDoc->GetRowsInUse() - 1;
    const int nCol = rcBlock.right;
    if (!IsNumericColumn(nCol))
        return 0;
    int nChanged = 0;
    const auto rules = KeepColumnRules();
    for (int r = std::max<int>(0, rcBlock.top); r <= rcBlock.bottom; ++r) {
        if (!RowMatchesCondition(r, request.nCol1, request.nOp1, request.strValue1, request.nCol2,
                                 request.nOp2, request.strValue2, request.nCombine))
            continue;
        const CString strResult = CNumberRules::EvaluateFormula(GetCellText(r, nCol) + request.strFormula);
        SetCellText(strResult, r, nCol);
        CalcRow(r, 0);
        ++nChanged;
    }
    InvalidateRows(rcBlock.top, rcBlock.bottom, true);
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
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
    if (rcBlock.bottom >= pDoc->GetRowsInUse())
        rcBlock.bottom = pDoc->GetRowsInUse();
    for (int r = std::max<int>(0, rcBlock.top); r <= rcBlock.bottom; ++r) {
        CString strNormal;
        NormalizeNumberText(rcBlock.left, strNormal, GetCellText(r, rcBlock.left));
        m_dRangeTotal += std::atof(strNormal);
    }
    m_bHasTotal = TRUE;
    if (CFrameWnd* pFrame = m_hWnd != nullptr ? GetParentFrame() : nullptr)
        pFrame->SetWindowText(GetRangeTotalText(rcBlock.left));
    if (m_hWnd != nullptr) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

CString CMorvelPMView::GetRangeTotalText(int nCol) const
{
    const CMorvelPMDoc* pDoc = GetDocument();
    return CNumberRules::FormatByPicture(m_dRangeTotal,
                                         pDoc != nullptr ? pDoc->m_form.GetItem(nCol, 3) : CString(), true);
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
    pCmdUI->Enable(m_bHasTotal);
    pCmdUI->SetCheck(m_bPlaceTotal ? 1 : 0);
}

void CMorvelPMView::OnRangeClear()
{
    m_bHasTotal = FALSE;
    m_dRangeTotal = 0.0;
    if (CFrameWnd* pFrame = m_hWnd != nullptr ? GetParentFrame() : nullptr)
        pFrame->SetWindowText("");
}

void CMorvelPMView::PlaceRangeTotal()
{
    if (!m_bPlaceTotal)
        return;
    m_bPlaceTotal = FALSE;
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !IsNumericColumn(GetCurrentCol()))
        return;
    SetCellText(CNumberRules::FormatNormal(m_dRangeTotal), GetCurrentRow(), GetCurrentCol());
    CalcRow(GetCurrentRow(), 0);
    InvalidateRows(GetCurrentRow(), GetCurrentRow());
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
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

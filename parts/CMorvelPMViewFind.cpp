// Find, replace and sort in the parts grid. The find and replace dialogs are modeless and
// send their requests to the view with WM_FINDREPLACE_REQUEST; the search walks the cells
// from the current cell on (rightwards and down, or leftwards and up), compares the stored
// texts and does not wrap. The sort orders the rows of a one-column selection by that
// column: by text in a text column, by value otherwise.
#include "app/CShellServices.h"
#include "app/CWaitDialog.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CRowSort.h"
#include "grid/ModelessMessages.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/CPartsShared.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The position of the first occurrence of strFind in strText that matches, or -1. With
// bWholeWord an occurrence must start the text or follow a half-width blank, and end the
// text or be followed by one. CString::Find never matches inside a double-byte character.
int FindInText(const CString& strText, const CString& strFind, bool bWholeWord)
{
    if (strFind.IsEmpty())
        return -1;
    const int nLength = strFind.GetLength();
    for (int nPos = strText.Find(strFind); nPos >= 0; nPos = strText.Find(strFind, nPos + 1)) {
        if (!bWholeWord)
            return nPos;
        const bool bStart = nPos == 0 || strText[nPos - 1] == ' ';
        const bool bEnd = nPos + nLength == strText.GetLength() || strText[nPos + nLength] == ' ';
        if (bStart && bEnd)
            return nPos;
    }
    return -1;
}

} // namespace

int CMorvelPMView::MatchCell(int nRow, int nCol, WPARAM nFlags, const CString& strFind) const
{
    CString strText = GetCellText(nRow, nCol);
    CString strWanted = strFind;
    if ((nFlags & FRQ_MATCH_CASE) == 0) {
        strText.MakeUpper();
        strWanted.MakeUpper();
    }
    return FindInText(strText, strWanted, (nFlags & FRQ_WHOLE_WORD) != 0);
}

int CMorvelPMView::FindNext(WPARAM nFlags, const char* lpszText)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || lpszText == nullptr)
        return -1;
    const CString strFind(lpszText);
    CRect rc;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rc);
    rc.bottom = std::min<LONG>(rc.bottom, GetRowLimit());
    if (rc.left == rc.right && rc.top == rc.bottom)
        nFlags &= ~FRQ_SELECTION_ONLY;
    const bool bSelection = (nFlags & FRQ_SELECTION_ONLY) != 0 && GetSelectMode() != selectNone;
    const bool bUp = (nFlags & FRQ_UP) != 0 && (nFlags & FRQ_DOWN) == 0;
    const int nLastCol = GetColumnCount() - 1;
    const int c0 = GetCurrentCol(), r0 = GetCurrentRow();
    const auto found = [&](int nRow, int nCol, int nPos) {
        SetCurrentCell(nCol, nRow);
        return nPos;
    };
    if (!bUp) {
        const int nFrom = bSelection ? std::max<int>(c0 + 1, rc.left) : c0 + 1;
        const int nTo = bSelection ? std::min<int>(nLastCol, rc.right) : nLastCol;
        for (int c = nFrom; c <= nTo; ++c)
            if (const int nPos = MatchCell(r0, c, nFlags, strFind); nPos >= 0)
                return found(r0, c, nPos);
        const int nRowFrom = bSelection ? std::max<int>(r0 + 1, rc.top) : r0 + 1;
        const int nRowTo = bSelection ? std::min<int>(pDoc->GetRowsInUse(), rc.bottom) : pDoc->GetRowsInUse();
        const int nColFrom = bSelection ? std::max<int>(rc.left, 0) : 0;
        const int nColTo = bSelection ? std::min<int>(rc.right, nLastCol) : nLastCol;
        for (int r = nRowFrom; r <= nRowTo; ++r)
            for (int c = nColFrom; c <= nColTo; ++c)
                if (const int nPos = MatchCell(r, c, nFlags, strFind); nPos >= 0)
                    return found(r, c, nPos);
        return -1;
    }
    const int nFrom = bSelection ? std::min<int>(c0 - 1, rc.right) : c0 - 1;
    const int nTo = bSelection ? std::max<int>(rc.left, 0) : 0;
    for (int c = nFrom; c >= nTo; --c)
        if (const int nPos = MatchCell(r0, c, nFlags, strFind); nPos >= 0)
            return found(r0, c, nPos);
    const int nRowFrom = bSelection ? std::min<int>(r0 - 1, rc.bottom) : r0 - 1;
    const int nRowTo = bSelection ? std::max<int>(rc.top, 0) : 0;
    const int nColFrom = bSelection ? std::min<int>(rc.right, nLastCol) : nLastCol;
    const int nColTo = bSelection ? std::max<int>(rc.left, 0) : 0;
    // (Row -1 holds only empty cells: the walk ends at row 0.)
    for (int r = nRowFrom; r >= nRowTo; --r)
        for (int c = nColFrom; c >= nColTo; --c)
            if (const int nPos = MatchCell(r, c, nFlags, strFind); nPos >= 0)
                return found(r, c, nPos);
    return -1;
}

void CMorvelPMView::ScrollToCell(int nCol, int nRow)
{
    m_nEditState = editClosed;
    HideCellEdit();
    if (m_hWnd == nullptr)
        return;
    const int nVisibleRows = std::max(1, GetVisibleRowCount());
    if (nRow < GetFirstVisibleCell().y || nRow >= GetFirstVisibleCell().y + nVisibleRows)
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, nRow - 3));
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    if (nCol < GetFirstVisibleCell().x || rcCell.IsRectEmpty() || rcCell.right > rcGrid.right) {
        int nOffset = 0;
        for (int c = 0; c < nCol && c < MAX_COLUMNS; ++c)
            nOffset += GetColumnWidth(c);
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, nOffset);
    }
}

void CMorvelPMView::GoToCell(int nCol, int nRow)
{
    ScrollToCell(nCol, nRow);
    if (m_hWnd == nullptr) {
        SetCurrentCell(nCol, nRow);
        return;
    }
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    if (!rcCell.IsRectEmpty())
        SimulateClick(rcCell.left + 2, rcCell.top + 2, rcCell.top + 2);
    UpdateWindow();
}

bool CMorvelPMView::ReplaceFoundText(const CString& strReplacement)
{
    CMorvelPMDoc* pDoc = GetDocument();
    const int nPos = CPartsShared::s_nFoundPos;
    const int nLength = CPartsShared::s_nFindLength;
    const CString strText = GetCellText(GetCurrentRow(), GetCurrentCol());
    // The last match must still stand in the current cell: a cell changed or left since
    // the find is not spliced at a position that no longer means anything.
    if (pDoc == nullptr || nPos < 0 || nLength <= 0 || nPos + nLength > strText.GetLength())
        return false;
    CString strFound = strText.Mid(nPos, nLength);
    CString strWanted = CPartsShared::s_strFindText;
    if ((CPartsShared::s_nFindFlags & FRQ_MATCH_CASE) == 0) {
        strFound.MakeUpper();
        strWanted.MakeUpper();
    }
    if (strFound != strWanted)
        return false;
    SetCellText(strText.Left(nPos) + strReplacement + strText.Mid(nPos + nLength), GetCurrentRow(),
                GetCurrentCol());
    return true;
}

LRESULT CMorvelPMView::OnFindReplaceRequest(WPARAM wParam, LPARAM lParam)
{
    CMorvelPMDoc* pDoc = GetDocument();
    const char* lpszText = reinterpret_cast<const char*>(lParam);
    if (pDoc == nullptr || lpszText == nullptr)
        return 0;
    if (IsReplaceAllRequest(wParam)) {
        const CString strFind(lpszText);
        const CString strReplacement(lpszText + std::strlen(lpszText) + 1);
        if (strFind.IsEmpty())
            return 0;
        CPartsShared::s_strFindText = strFind;
        CPartsShared::s_nFindFlags = wParam;
        CPartsShared::s_nFindLength = strFind.GetLength();
        const CPoint ptSaved(GetCurrentCol(), GetCurrentRow());
        if ((wParam & FRQ_SELECTION_ONLY) == 0)
            SetCurrentCell(-1, 0);
        int nReplaced = 0;
        while ((CPartsShared::s_nFoundPos = FindNext((wParam | FRQ_DOWN) & ~FRQ_UP, strFind)) >= 0) {
            if (ReplaceFoundText(strReplacement))
                ++nReplaced;
        }
        SetCurrentCell(ptSaved.x, ptSaved.y);
        if (m_hWnd != nullptr) {
            Invalidate(TRUE);
            UpdateWindow();
        }
        pDoc->SetModifiedFlag(TRUE);
        return 1;
    }
    if (IsReplaceRequest(wParam)) {
        if (!ReplaceFoundText(CString(lpszText)))
            return 0;
        InvalidateCell(GetCurrentCol(), GetCurrentRow());
        if (m_hWnd != nullptr)
            UpdateWindow();
        pDoc->SetModifiedFlag(TRUE);
        return 1;
    }
    // Find. An empty text finds nothing.
    CPartsShared::s_strFindText = lpszText;
    CPartsShared::s_nFindFlags = wParam;
    CPartsShared::s_nFindLength = static_cast<int>(std::strlen(lpszText));
    CPartsShared::s_nFoundPos = FindNext(wParam, lpszText);
    if (CPartsShared::s_nFoundPos < 0)
        return 0;
    const CPoint ptFound(GetCurrentCol(), GetCurrentRow());
    if (m_hWnd != nullptr) {
        const CRect rcOld = GetSelectionPixelRect();
        if (!rcOld.IsRectEmpty())
            InvalidateRect(&rcOld, FALSE);
    }
    if ((wParam & FRQ_SELECTION_ONLY) != 0 && GetSelectMode() != selectNone)
        ScrollToCell(ptFound.x, ptFound.y);
    else
        GoToCell(ptFound.x, ptFound.y);
    SetCurrentCell(ptFound.x, ptFound.y);
    ShowCursorMove();
    if (m_hWnd != nullptr)
        UpdateWindow();
    UpdateStatusText();
    return 1;
}

void CMorvelPMView::OpenFindDialog(bool bReplace)
{
    CWnd*& pDialog = bReplace ? m_pReplaceDlg : m_pFindDlg;
    if (pDialog != nullptr)
        return;
    // The search starts with what the user left in the cell: an edit still open is kept.
    if (m_nEditState == editOpen)
        CommitEdit(FALSE);
    pDialog = CShellServices::CreateFindReplaceDialog(this, bReplace,
                                                      GetCellText(GetCurrentRow(), GetCurrentCol()));
}

void CMorvelPMView::OnFind()
{
    OpenFindDialog(false);
}

void CMorvelPMView::OnReplace()
{
    OpenFindDialog(true);
}

void CMorvelPMView::OnUpdateFind(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pFindDlg == nullptr && static_cast<bool>(CShellServices::Get().createFindReplaceDialog));
}

void CMorvelPMView::OnUpdateReplace(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pReplaceDlg == nullptr &&
                   static_cast<bool>(CShellServices::Get().createFindReplaceDialog));
}

// ---------------------------------------------------------------------------------------
// Sort

int CMorvelPMView::SortRowsBy(int nCol, int nTop, int nBottom, bool bAscending)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || nCol < 0 || nCol >= GetColumnCount())
        return 0;
    nTop = std::max(0, nTop);
    if (nBottom >= pDoc->GetRowsInUse())
        nBottom = pDoc->GetRowsInUse() - 1;
    if (nTop > nBottom)
        return 0;
    const bool bText = GetAttribute(nCol).Find("文字"_sj) >= 0;
    // An unwritten row sorts as an empty row.
    std::vector<const CGridRow*> rows;
    rows.reserve(static_cast<size_t>(nBottom - nTop + 1));
    for (int r = nTop; r <= nBottom; ++r)
        rows.push_back(pDoc->GetRow(r));
    std::vector<int> aOrder =
        CRowSort::SortedOrder(rows, nCol, bText ? CRowSort::EKey::text : CRowSort::EKey::number, bAscending);
    for (int& nRow : aOrder)
        nRow += nTop;
    pDoc->ReorderRows(nTop, aOrder);
    InvalidateRows(nTop, nBottom, true);
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
    return nBottom - nTop + 1;
}

void CMorvelPMView::SortRows()
{
    CRect rc;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rc);
    BOOL bAscending = TRUE;
    if (!CShellServices::RunSortDialog(this, bAscending))
        return;
    std::unique_ptr<CWaitDialog> pWait;
    if (AfxGetMainWnd() != nullptr) {
        pWait = std::make_unique<CWaitDialog>("並べ替えを行っています。"_sj, nullptr);
        if (!pWait->Create(IDD_WAIT, nullptr))
            pWait.reset();
    }
    SortRowsBy(rc.left, rc.top, rc.bottom, bAscending != FALSE);
    if (m_hWnd != nullptr)
        UpdateWindow();
    if (pWait != nullptr && pWait->GetSafeHwnd() != nullptr)
        pWait->DestroyWindow();
}

void CMorvelPMView::OnSort()
{
    SortRows();
}

void CMorvelPMView::OnUpdateSort(CCmdUI* pCmdUI)
{
    pCmdUI->Enable((GetSelectMode() == selectColumn || GetSelectMode() == selectBlock) &&
                   GetSelection().left == GetSelection().right &&
                   static_cast<bool>(CShellServices::Get().runSortDialog));
}

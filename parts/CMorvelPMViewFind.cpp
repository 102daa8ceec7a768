// Find, replace and sort in the parts grid. The find and replace dialogs are modeless and
// send their requests to the view with WM_FINDREPLACE_REQUEST; the search walks the cells
// from the current cell on (rightwards and down, or leftwards and up) and does not wrap; it
// reads a number cell as the grid shows it (CCellSearch). A replace, and a replace all, is
// one undo step, and the rows it wrote get their figures worked out as typing does. The sort
// orders the rows of a one-column selection by that column: by text in a text column, by
// value otherwise.
#include "app/CShellServices.h"
#include "app/CWaitDialog.h"
#include "engine/estimate/CNumberRules.h"
#include "grid/ModelessMessages.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

CMorvelPMView::CLastFind CMorvelPMView::s_lastFind;

CCellSearch::CCellText CMorvelPMView::ReadCellForSearch(int nRow, int nCol) const
{
    CCellSearch::CCellText cell;
    const CPartsModel* pModel = GetModel();
    cell.strText = GetCellText(nRow, nCol);
    cell.bNumber =
        pModel != nullptr && pModel->IsNumberShownColumn(nCol) && CNumberRules::IsNumberText(cell.strText);
    if (cell.bNumber)
        cell.strShown = GetDisplayText(nRow, nCol, nullptr);
    return cell;
}

CCellSearch::CTextMatch CMorvelPMView::MatchCellText(int nRow, int nCol, WPARAM nFlags,
                                                     const CString& strFind) const
{
    return CCellSearch::MatchCell(ReadCellForSearch(nRow, nCol), strFind, (nFlags & FRQ_WHOLE_WORD) != 0,
                                  (nFlags & FRQ_MATCH_CASE) != 0);
}

CCellSearch::CMatch CMorvelPMView::FindNextMatch(WPARAM nFlags, const CString& strFind)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return CCellSearch::CMatch();
    CRect rc;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rc);
    rc.bottom = std::min<LONG>(rc.bottom, GetRowLimit());
    if (rc.left == rc.right && rc.top == rc.bottom)
        nFlags &= ~FRQ_SELECTION_ONLY;
    CCellSearch::COptions options;
    options.bWholeWord = (nFlags & FRQ_WHOLE_WORD) != 0;
    options.bMatchCase = (nFlags & FRQ_MATCH_CASE) != 0;
    options.bUp = (nFlags & FRQ_UP) != 0 && (nFlags & FRQ_DOWN) == 0;
    options.bSelectionOnly = (nFlags & FRQ_SELECTION_ONLY) != 0 && GetSelectMode() != selectNone;
    const CCellSearch::CMatch match =
        CCellSearch([this](int nRow, int nCol) { return ReadCellForSearch(nRow, nCol); },
                    pDoc->GetRowsInUse(), GetRowLimit(), GetColumnCount())
            .Search(strFind, options, GetCurrentCol(), GetCurrentRow(), rc);
    if (match.IsFound())
        SetCurrentCell(match.nCol, match.nRow);
    return match;
}

int CMorvelPMView::FindNext(WPARAM nFlags, const char* lpszText)
{
    return lpszText != nullptr ? FindNextMatch(nFlags, CString(lpszText)).nPosition : -1;
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

void CMorvelPMView::ReplaceMatches(const std::vector<CCellSearch::CMatch>& matches,
                                   const CString& strReplacement)
{
    CMorvelPMDoc* pDoc = GetDocument();
    // A number cell is replaced in the text it shows and keeps the number that then reads;
    // each row written gets its figures worked out once, as typing would.
    // A text replaced by itself leaves the record and the redo there were.
    RecordRowsChanged(pDoc->Model().ReplaceCells(matches, strReplacement), matches.front().nRow,
                      matches.back().nRow);
    if (m_hWnd != nullptr)
        UpdateWindow();
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
        s_lastFind.strText = strFind;
        s_lastFind.nFlags = wParam;
        // The matches first, then the replacements: what a replacement makes is never
        // searched again, and the rows are kept for undo before anything changes.
        const CPoint ptSaved(GetCurrentCol(), GetCurrentRow());
        if ((wParam & FRQ_SELECTION_ONLY) == 0)
            SetCurrentCell(-1, 0);
        std::vector<CCellSearch::CMatch> found;
        for (CCellSearch::CMatch match = FindNextMatch((wParam | FRQ_DOWN) & ~FRQ_UP, strFind);
             match.IsFound(); match = FindNextMatch((wParam | FRQ_DOWN) & ~FRQ_UP, strFind))
            found.push_back(match);
        SetCurrentCell(ptSaved.x, ptSaved.y);
        s_lastFind.nFoundPos = -1;
        if (found.empty()) {
            // Nothing replaced changes nothing: the last undo record stays.
            const CUndoKeepingScope keepUndo;
            if (m_hWnd != nullptr) {
                Invalidate(TRUE);
                UpdateWindow();
            }
            pDoc->SetModifiedFlag(TRUE);
            return 1;
        }
        ReplaceMatches(found, strReplacement);
        return 1;
    }
    if (IsReplaceRequest(wParam)) {
        // The last find's match is replaced only where it still stands: the find text
        // matches the current cell at the same place. A cell changed or left since the
        // find is not spliced at a position that no longer means anything.
        const CCellSearch::CMatch match(
            MatchCellText(GetCurrentRow(), GetCurrentCol(), s_lastFind.nFlags, s_lastFind.strText),
            GetCurrentCol(), GetCurrentRow());
        if (s_lastFind.nFoundPos < 0 || match.nPosition != s_lastFind.nFoundPos)
            return 0;
        // This match is gone; the next replace needs the next find.
        s_lastFind.nFoundPos = -1;
        ReplaceMatches({match}, CString(lpszText));
        return 1;
    }
    // Find. An empty text finds nothing.
    s_lastFind.strText = lpszText;
    s_lastFind.nFlags = wParam;
    s_lastFind.nFoundPos = FindNext(wParam, lpszText);
    if (s_lastFind.nFoundPos < 0)
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
    // A number starts as the cell shows it.
    pDialog = CShellServices::CreateFindReplaceDialog(
        this, bReplace, GetDisplayText(GetCurrentRow(), GetCurrentCol(), nullptr));
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
    if (pDoc == nullptr)
        return 0;
    int nSorted = 0;
    auto pCommand = pDoc->Model().SortRows(nCol, nTop, nBottom, bAscending, &nSorted);
    if (nSorted == 0)
        return 0;
    RecordRowsChanged(std::move(pCommand), std::max(0, nTop), std::max(0, nTop) + nSorted - 1);
    return nSorted;
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

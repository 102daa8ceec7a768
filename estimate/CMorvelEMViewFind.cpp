// Find and replace in the estimate grid. The modeless find and replace dialogs (made by the
// estimate tools) send every request here as WM_FINDREPLACE_REQUEST: the grid searches its
// cells from the current cell on and moves the current cell to a match; the replace of the
// last match in the current cell, and of every match, is the model's (it writes the cells
// and records the undo), the grid repaints.
//
// Texts are code page 932: the search steps over double-byte characters whole, so a
// single-byte character never matches the trail byte of a double-byte one, and case
// folding changes ASCII letters only.
#include "app/CShellServices.h"
#include "engine/estimate/CCellSearch.h"
#include "estimate/CMorvelEMView.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The last find text holds at most this many bytes.
constexpr int kLastFindBytes = 254;

} // namespace

CMorvelEMView::CLastMatch CMorvelEMView::s_lastMatch;

// ---------------------------------------------------------------------------------------
// The text match

CCellSearch::CCellText CMorvelEMView::ReadCellForSearch(int nRow, int nCol) const
{
    if (!IsSummaryPageShown())
        return GetModel().CellForSearch(nRow, nCol);
    CCellSearch::CCellText cell;
    cell.strText = GetCellText(nRow, nCol);
    cell.bNumber =
        CEstimateEngine::ShownNumberText(cell.strText, Engine().Columns().Get(nCol), cell.strShown);
    return cell;
}

CCellSearch::CTextMatch CMorvelEMView::MatchCellText(int nRow, int nCol, const CString& strFind,
                                                     WPARAM nFlags) const
{
    return CCellSearch::MatchCell(ReadCellForSearch(nRow, nCol), strFind, (nFlags & FRQ_WHOLE_WORD) != 0,
                                  (nFlags & FRQ_MATCH_CASE) != 0);
}

LRESULT CMorvelEMView::OnMatchCurrentCell(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0)
        return 0;
    const CString strFind(reinterpret_cast<const char*>(lParam));
    return MatchCellText(GetCurrentRow(), GetCurrentCol(), strFind, wParam).IsFound() ? 1 : 0;
}

// ---------------------------------------------------------------------------------------
// The search

CRect CMorvelEMView::GetSearchBlock(WPARAM& nFlags) const
{
    CRect rcBlock = GetSelectionBlock();
    rcBlock.bottom = std::min<LONG>(rcBlock.bottom, GetRowLimit() - 1);
    // Inside a single cell there is nothing else to search.
    if (rcBlock.left == rcBlock.right && rcBlock.top == rcBlock.bottom)
        nFlags &= ~FRQ_SELECTION_ONLY;
    return rcBlock;
}

CCellSearch::CMatch CMorvelEMView::SearchNextMatch(WPARAM nFlags, const CString& strFind)
{
    const CRect rcBlock = GetSearchBlock(nFlags);
    CCellSearch::COptions options;
    options.bWholeWord = (nFlags & FRQ_WHOLE_WORD) != 0;
    options.bMatchCase = (nFlags & FRQ_MATCH_CASE) != 0;
    options.bUp = (nFlags & FRQ_UP) != 0 && (nFlags & FRQ_DOWN) == 0;
    options.bSelectionOnly = (nFlags & FRQ_SELECTION_ONLY) != 0;
    // The page shown is searched (the dialogs stay open over the summary page).
    const CCellSearch::CMatch match =
        CCellSearch([this](int nRow, int nCol) { return ReadCellForSearch(nRow, nCol); }, GetUsedRows(),
                    GetRowLimit(), GetColumnLimit())
            .Search(strFind, options, GetCurrentCol(), GetCurrentRow(), rcBlock);
    if (match.IsFound())
        SetCurrentCell(match.nCol, match.nRow);
    return match;
}

int CMorvelEMView::SearchCells(WPARAM nFlags, const char* lpszFind)
{
    return SearchNextMatch(nFlags, CString(lpszFind != nullptr ? lpszFind : "")).nPosition;
}

void CMorvelEMView::ShowCell(int nCol, int nRow)
{
    if (nCol < 0 || nCol >= GetColumnLimit() || nRow < 0 || nRow >= GetRowLimit())
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nVisibleRows = GetVisibleRowCount();
    bool bVisible = nRow >= GetFirstVisibleCell().y &&
                    nRow < GetFirstVisibleCell().y + std::max(1, nVisibleRows) &&
                    nCol >= GetFirstVisibleCell().x;
    if (bVisible) {
        CRect rcCell;
        GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
        bVisible = rcCell.right <= rcGrid.right || m_hWnd == nullptr;
    }
    if (!bVisible) {
        // Three rows above the cell; the column before it at the left edge.
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, nRow - 3));
        int nPosition = 0;
        for (int c = 0; c < nCol - 1; ++c)
            nPosition += GetColumnWidth(c);
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, std::max(0, nPosition));
    }
    HideCellEdit();
}

void CMorvelEMView::ClickFoundCell(int nCol, int nRow)
{
    ShowCell(nCol, nRow);
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    const CPoint pt(rcCell.left + 2, rcCell.top + 2);
    // Through the button handlers, as a click: any block ends and the found cell counts as
    // the cell the last click stayed on, so Replace may work on it.
    if (m_hWnd != nullptr) {
        OnLButtonDown(0, pt);
        OnLButtonUp(0, pt);
    } else {
        PressAtPoint(pt.x, pt.y);
        m_bClickMovedCell = false;
    }
    SetCurrentCell(nCol, nRow);
    if (m_hWnd != nullptr) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

// ---------------------------------------------------------------------------------------
// The request

LRESULT CMorvelEMView::OnFindReplaceRequest(WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd != nullptr)
        InvalidateCells(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    WPARAM nFlags = wParam;
    const CRect rcBlock = GetSearchBlock(nFlags);
    const char* pText = reinterpret_cast<const char*>(lParam);
    if (pText == nullptr)
        return 0;

    if (IsReplaceAllRequest(nFlags))
        return ReplaceAll(nFlags, lParam);
    if (IsReplaceRequest(nFlags))
        return ReplaceCurrentMatch(pText);

    // Find.
    const CString strFind = LimitFindReplaceText(CString(pText), kLastFindBytes);
    s_lastMatch.nLength = strFind.GetLength();
    s_lastMatch.nFlags = nFlags & (FRQ_WHOLE_WORD | FRQ_MATCH_CASE);
    m_strLastFind = strFind;
    const int nPosition = SearchCells(nFlags, strFind);
    s_lastMatch.nPosition = nPosition;
    if (nPosition < 0)
        return 0;
    if (m_hWnd != nullptr) {
        CRect rcCells;
        GetCellRangeRect(rcBlock.left, rcBlock.top, rcBlock.right, rcBlock.bottom, &rcCells);
        InvalidateRect(&rcCells, TRUE);
    }
    if ((nFlags & FRQ_SELECTION_ONLY) == 0) {
        ClickFoundCell(GetCurrentCol(), GetCurrentRow());
    } else {
        ShowCell(GetCurrentCol(), GetCurrentRow());
        if (m_hWnd != nullptr) {
            Invalidate(FALSE);
            UpdateWindow();
        }
    }
    UpdateStatusText(statusShow);
    return 1;
}

LRESULT CMorvelEMView::ReplaceCurrentMatch(const char* lpszReplace)
{
    m_strReplaceText = LimitFindReplaceText(CString(lpszReplace));
    const int nRow = GetCurrentRow(), nCol = GetCurrentCol();
    // The last find's match is replaced only where it still stands: the find text matches
    // this cell at that place. A match found in another grid, or a cell changed since, is
    // searched for again instead of being cut at a stale position.
    const CCellSearch::CTextMatch match = MatchCellText(nRow, nCol, m_strLastFind, s_lastMatch.nFlags);
    if (s_lastMatch.nPosition < 0 || match.nPosition != s_lastMatch.nPosition || IsSummaryPageShown())
        return 0;

    // The model writes the cell as input is written and records the edit; with
    // recalculation level 2 the row is worked out at once.
    const CCellSearch::CMatch found(match, nCol, nRow);
    GetModel().ReplaceMatch(found, m_strReplaceText, GetRecalcLevel() == 2);
    NoteUndoRecorded();
    // This match is gone; the next replace needs the next find.
    s_lastMatch.nPosition = -1;
    if (m_hWnd != nullptr) {
        InvalidateRows(nRow, nRow);
        UpdateWindow();
    }
    RecalcFromRow(recalcBulk, nRow);
    SetDocumentModified();
    return 1;
}

LRESULT CMorvelEMView::ReplaceAll(WPARAM nFlags, LPARAM lParam)
{
    CString strFind, strReplace;
    UnpackReplaceAllText(lParam, strFind, strReplace);
    strFind = LimitFindReplaceText(strFind);
    strReplace = LimitFindReplaceText(strReplace);
    if (strFind.IsEmpty() || IsSummaryPageShown())
        return 1;
    s_lastMatch.nLength = strFind.GetLength();
    s_lastMatch.nFlags = nFlags & (FRQ_WHOLE_WORD | FRQ_MATCH_CASE);
    s_lastMatch.nPosition = -1;
    m_strLastFind = strFind;
    m_strReplaceText = strReplace;

    WPARAM nSearch = (nFlags & ~(FRQ_UP | FRQ_REPLACE_ALL)) | FRQ_DOWN;
    const CRect rcBlock = GetSearchBlock(nSearch);
    CCellSearch::COptions options;
    options.bWholeWord = (nSearch & FRQ_WHOLE_WORD) != 0;
    options.bMatchCase = (nSearch & FRQ_MATCH_CASE) != 0;
    options.bSelectionOnly = (nSearch & FRQ_SELECTION_ONLY) != 0;
    // The matches first, then the replacements: what a replacement makes is never searched
    // again. Nothing replaced changes nothing: the last undo record stays.
    const std::vector<CCellSearch::CMatch> found = GetModel().FindAll(strFind, options, rcBlock);
    std::optional<CUndoKeepingScope> keepUndo;
    if (found.empty())
        keepUndo.emplace();
    else if (GetModel().ReplaceAll(found, strReplace).nFirst >= 0)
        NoteUndoRecorded();
    RecalcFromRow(recalcBulk, 0);
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    SetDocumentModified();
    return 1;
}

// ---------------------------------------------------------------------------------------
// Commands and the dialogs' lifetime

void CMorvelEMView::HandToEstimateTools(UINT nID)
{
    // The dialog acts on the grid as the user left it: what was being typed is in its cell
    // (the find and replace dialogs start with it) before a pick or a new row moves the
    // current cell.
    StoreOpenEdit();
    HideCellEdit();
    if (!CShellServices::RunEstimateDialogCommand(this, nID))
        AfxMessageBox("この機能は、このﾊﾞｰｼﾞｮﾝではまだ使えません。"_sj, MB_OK);
}

void CMorvelEMView::OnEditFind()
{
    if (m_pFindDialog != nullptr || IsSummaryPageShown())
        return;
    HandToEstimateTools(ID_EDIT_FIND_DLG);
}

void CMorvelEMView::OnEditReplace()
{
    if (m_pReplaceDialog != nullptr || IsSummaryPageShown())
        return;
    HandToEstimateTools(ID_EDIT_REPLACE_DLG);
}

void CMorvelEMView::OnUpdateEditFind(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && m_pFindDialog == nullptr);
}

void CMorvelEMView::OnUpdateEditReplace(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && m_pReplaceDialog == nullptr);
}

void CMorvelEMView::SetFindDialog(CWnd* pDialog, const CString& strStartText)
{
    m_pFindDialog = pDialog;
    m_strLastFind = LimitFindReplaceText(strStartText, kLastFindBytes);
}

void CMorvelEMView::SetReplaceDialog(CWnd* pDialog)
{
    m_pReplaceDialog = pDialog;
}

void CMorvelEMView::DestroyModelessDialogs()
{
    // Each dialog tells this view it is gone (WM_MODELESS_CLOSED) while its window goes,
    // and the view forgets it then; none may outlive the grid it sends to.
    for (CWnd* pDialog : {m_pFindDialog, m_pReplaceDialog, m_pSubjectPick[0], m_pSubjectPick[1],
                          m_pSubjectPick[2], m_pUnitPick}) {
        if (pDialog != nullptr && pDialog->m_hWnd != nullptr)
            pDialog->DestroyWindow();
    }
    // The unnecessary-row dialogs forget themselves here as they go (a copy is walked).
    const std::vector<CWnd*> unnecessary = m_unnecessaryRowDialogs;
    for (CWnd* pDialog : unnecessary) {
        if (pDialog != nullptr && pDialog->m_hWnd != nullptr)
            pDialog->DestroyWindow();
    }
    m_unnecessaryRowDialogs.clear();
    m_pFindDialog = m_pReplaceDialog = nullptr;
    m_pSubjectPick[0] = m_pSubjectPick[1] = m_pSubjectPick[2] = nullptr;
    m_pUnitPick = nullptr;
}

// ---------------------------------------------------------------------------------------
// Parts registration and input fixing: their dialogs and the parts file belong to the tools.

void CMorvelEMView::OnPartsRegister()
{
    if (IsSummaryPageShown() || GetSelectMode() != selectRows)
        return;
    HandToEstimateTools(ID_PARTS_REGISTER);
}

void CMorvelEMView::OnUpdatePartsRegister(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && GetSelectMode() == selectRows);
}

void CMorvelEMView::ApplyInputFix(const std::vector<bool>& ticks)
{
    const int nColumns = std::min(GetColumnLimit(), static_cast<int>(ticks.size()));
    for (int c = 0; c < nColumns; ++c)
        SetColumnInputFixed(c, ticks[static_cast<size_t>(c)] && GetBaseColumnWidth(c) != 0);
    if (m_hWnd != nullptr) {
        CRect rcClient;
        GetClientRect(&rcClient);
        CRect rcHeaders(GetRowHeaderWidth(), 0, rcClient.right, GetHeaderHeight());
        InvalidateRect(&rcHeaders, TRUE);
        UpdateWindow();
    }
}

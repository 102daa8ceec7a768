// Cell editing and input of the estimate grid: the in-place editor opened by typing, by a
// double-click or by F2 and laid over the current cell; the commit that checks, rounds and
// stores the text, computes the row and the totals below it; the keys and clicks the view
// puts in front of the grid base view; the context menu; the row commands insert, delete
// and clear.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/Imm.h"
#include "platform/ui/core/WinApi.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateViewMenus.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstring>

namespace {

// The editor's background while the user types into a cell.
constexpr COLORREF kTypingBackground = RGB(255, 155, 255);

bool IsArrowKey(UINT nChar)
{
    return nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN;
}

// The row-kind font an edited cell of the kind shows, or -1 for an empty row and kinds
// beyond the last one.
int RowFontOfKind(ERowKind nKind)
{
    switch (KindNumber(nKind)) {
    case kindLarge:
    case kindLargeTotal:
    case SummaryKindOf(kindLarge):
    case SummaryKindOf(kindLargeTotal):
        return CMorvelSettings::fontLarge;
    case kindMiddle:
    case kindMiddleTotal:
    case SummaryKindOf(kindMiddle):
    case SummaryKindOf(kindMiddleTotal):
        return CMorvelSettings::fontMiddle;
    case kindSmall:
    case kindSmallTotal:
    case SummaryKindOf(kindSmall):
    case SummaryKindOf(kindSmallTotal):
        return CMorvelSettings::fontSmall;
    // The kind discount total (37) of the edit page is edited in the detail font.
    case kindDiscount:
    case kindLargeDiscountTotal:
    case kindMiddleDiscountTotal:
    case kindSmallDiscountTotal:
    case kindGrandDiscountTotal:
    case SummaryKindOf(kindLargeDiscountTotal):
    case SummaryKindOf(kindMiddleDiscountTotal):
    case SummaryKindOf(kindSmallDiscountTotal):
    case SummaryKindOf(kindGrandDiscountTotal):
    case SummaryKindOf(kindKindDiscountTotal):
        return CMorvelSettings::fontDiscount;
    case kindKind:
    case kindKindTotal:
    case SummaryKindOf(kindKind):
    case SummaryKindOf(kindKindTotal):
        return CMorvelSettings::fontKind;
    case kindFree:
    case SummaryKindOf(kindFree):
        return CMorvelSettings::fontTax;
    case kindStep:
        return CMorvelSettings::fontStep;
    case kindGrandTotal:
    case SummaryKindOf(kindGrandTotal):
        return CMorvelSettings::fontSum;
    case kindClassify:
    case kindClassify2:
    case kindClassify3:
    case kindClassify4:
        return CMorvelSettings::fontSort;
    default:
        return nKind > kindEmpty && nKind <= kindLastKnown ? CMorvelSettings::fontDetail : -1;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// The editor

void CMorvelEMView::OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // A key of the editor's window is a command on the grid too.
    const CCommandScope command(*this);
    OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMorvelEMView::HideCellEdit()
{
    if (m_bCellEditExists && m_wndCellEdit.m_hWnd != nullptr)
        m_wndCellEdit.HideAndFocusView();
    // The cells move or change under a pop-up list too: it closes without a choice.
    ClosePopupList();
}

CString CMorvelEMView::GetCellEditText() const
{
    CString text;
    if (m_bCellEditExists && m_wndCellEdit.m_hWnd != nullptr)
        m_wndCellEdit.GetText(text);
    return text;
}

LOGFONT CMorvelEMView::GetCellEditFont(ERowKind nKind) const
{
    LOGFONT lf{};
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const int nFont = RowFontOfKind(nKind);
    if (pSettings != nullptr)
        lf = pSettings->m_lfRowFont[nFont >= 0 ? nFont : CMorvelSettings::fontDetail];
    if (nFont < 0) {
        // An empty row takes the detail font's size in the grid's own face.
        const CString strFace = "ＭＳ 明朝"_sj;
        std::memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
        std::memcpy(lf.lfFaceName, strFace.c_str(),
                    std::min(static_cast<size_t>(strFace.GetLength()), sizeof(lf.lfFaceName) - 1));
        lf.lfWeight = FW_NORMAL;
        lf.lfItalic = lf.lfUnderline = lf.lfStrikeOut = 0;
        lf.lfCharSet = SHIFTJIS_CHARSET;
    }
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * GetZoom() / 100.0);
    lf.lfWidth = static_cast<LONG>(lf.lfWidth * GetZoom() / 100.0);
    return lf;
}

// Font, alignment and focus of the editor for the current cell; its whole text becomes
// lpszText.
void CMorvelEMView::StyleCellEdit(const char* lpszText)
{
    PARAFORMAT pf{};
    pf.cbSize = sizeof(pf);
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = IsValidColumn(GetCurrentCol()) && Engine().Columns().Get(GetCurrentCol()).bNumeric
                        ? PFA_RIGHT
                        : PFA_LEFT;
    m_wndCellEdit.SetParaFormat(pf);

    // The editor keeps using the font while it shows it: the old one goes only after the
    // new one is set.
    const LOGFONT lf = GetCellEditFont(GetRowKind(GetCurrentRow()));
    auto pFont = std::make_unique<CFont>();
    if (pFont->CreateFontIndirect(&lf)) {
        m_wndCellEdit.SetFont(pFont.get());
        m_pCellEditFont = std::move(pFont);
    }

    m_wndCellEdit.SetFocus();
    m_wndCellEdit.SetSel(0, -1);
    m_wndCellEdit.ReplaceSel(lpszText, FALSE);
}

void CMorvelEMView::OpenCellEditOnCell()
{
    if (!m_bCellEditExists || m_wndCellEdit.m_hWnd == nullptr || !IsValidColumn(GetCurrentCol()))
        return;
    if (!CheckFileRowLimitForEdit(GetCurrentRow(), GetUsedRows()))
        return;
    if (HasImeComposition())
        SetImeOpen(FALSE);

    int x = GetRowHeaderWidth() - GetMetrics().nHorzOffset;
    for (int c = 0; c < GetCurrentCol(); ++c)
        x += GetColumnWidth(c);
    const int y = (GetCurrentRow() - GetFirstVisibleCell().y) * GetRowHeight() + GetHeaderHeight();
    m_wndCellEdit.MoveWindow(x, y, GetColumnWidth(GetCurrentCol()), GetRowHeight());
    m_wndCellEdit.SetBackgroundColor(TRUE, 0);
    m_wndCellEdit.ShowWindow(SW_SHOW);

    CString strText = GetCellText(GetCurrentRow(), GetCurrentCol());
    Engine().SetEditStartText(strText);
    m_strTypedChars.Empty();
    // A number is shown as the column prints it. A numeric cell that holds something else
    // (stored as typed) is shown as it is, so that confirming it unchanged keeps it.
    const CColumnInfo& info = Engine().Columns().Get(GetCurrentCol());
    if (info.bNumeric && !strText.IsEmpty() && CNumberRules::IsNumberText(strText)) {
        const CDecimal value = CNumberRules::ReadNumberText(strText);
        strText = CNumberRules::FormatByPicture(value, info.picture, TRUE);
        // A picture that groups its digits other than by three would give a text that no
        // longer reads as a number: the digits are offered without separators then.
        if (!CNumberRules::IsNumberText(strText))
            strText = CNumberRules::FormatByPicture(value, info.picture, FALSE);
    }

    StyleCellEdit(strText);
    m_nEditState = editOpened;
    if (GetCurrentRow() >= GetUsedRows())
        UpdateScrollRanges();
}

void CMorvelEMView::PlaceCellEditOverCurrentCell()
{
    CRect rcCell;
    GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
    m_wndCellEdit.MoveWindow(rcCell.left, rcCell.top, GetColumnWidth(GetCurrentCol()), GetRowHeight());
    m_wndCellEdit.ShowWindow(SW_SHOW);
}

bool CMorvelEMView::ResumeOpenEdit()
{
    if ((m_nEditState != editTyping && m_nEditState != editOpened) || IsSummaryPageShown() ||
        !m_bCellEditExists || m_wndCellEdit.m_hWnd == nullptr)
        return false;
    ShowCurrentCell();
    PlaceCellEditOverCurrentCell();
    StyleCellEdit(GetCellEditText());
    return true;
}

bool CMorvelEMView::IsCurrentCellInCellArea() const
{
    CRect rcCell;
    GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
    CRect rcArea;
    GetGridClientRect(&rcArea);
    rcArea.left = std::max<LONG>(rcArea.left, GetRowHeaderWidth());
    rcArea.top = std::max<LONG>(rcArea.top, GetHeaderHeight());
    CRect rcCommon;
    return rcCommon.IntersectRect(&rcCell, &rcArea);
}

// ---------------------------------------------------------------------------------------
// Typing, double-click, keys

void CMorvelEMView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CMorvelView::OnChar(nChar, nRepCnt, nFlags);
    const bool bText = nChar >= 0x20 && nChar != 0x7F;
    // The summary page takes no text: the user hears that it went nowhere.
    if (IsSummaryPageShown()) {
        if (bText)
            MessageBeep(0);
        return;
    }
    // A character for a cell scrolled out of sight (the wheel, the scroll bar, a command
    // that moved the cursor) brings the cell back and goes into it.
    if (!IsCurrentCellInCellArea())
        ShowCurrentCell();
    if (!IsCurrentCellInCellArea()) {
        if (bText)
            MessageBeep(0);
        return;
    }
    if (nChar == 13 || nChar == 9 || nChar == 8 || nChar == 27) {
        m_nEditState = editClosed;
        return;
    }
    // Other control characters (Ctrl with a letter) are not text.
    if (!bText || !m_bCellEditExists || m_wndCellEdit.m_hWnd == nullptr)
        return;
    // The row after the last one of a full estimate takes no text.
    if (!CheckFileRowLimitForEdit(GetCurrentRow(), GetUsedRows()))
        return;

    if (m_nEditState == editClosed)
        m_nEditState = editOpening;
    if (m_nEditState == editOpening)
        m_wndCellEdit.SetBackgroundColor(FALSE, kTypingBackground);
    PlaceCellEditOverCurrentCell();
    if (m_nEditState == editOpening) {
        m_strTypedChars.Empty();
        // The opening text belongs to openings on a cell's text (double-click, F2).
        Engine().SetEditStartText(CString());
    } else {
        // An edit already open whose editor lost the keyboard (a scroll hid it): the
        // character follows what the editor holds, typed or edited there since, and a
        // first byte still waiting for its second one.
        const CString strWhole = WholeCharacters(m_strTypedChars);
        const CString strPending = m_strTypedChars.Mid(strWhole.GetLength());
        m_strTypedChars = GetCellEditText() + strPending;
    }
    m_strTypedChars += static_cast<char>(static_cast<BYTE>(nChar));
    // While the second byte of a double-byte character is still to come, the editor shows
    // the characters before it.
    StyleCellEdit(WholeCharacters(m_strTypedChars));

    if (GetCurrentRow() >= GetUsedRows())
        UpdateScrollRanges();
    // No cell has changed yet: storing the edit records its own undo.
    SetDocumentModifiedKeepingUndo();
    if (m_nEditState == editOpening)
        m_nEditState = editTyping;
}

void CMorvelEMView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CMorvelView::OnLButtonDblClk(nFlags, point);
    OnLButtonDown(nFlags, point);
    OnLButtonUp(nFlags, point);
    if (IsSummaryPageShown())
        return;
    if (point.y < GetHeaderHeight() || point.x < GetRowHeaderWidth()) {
        HideCellEdit();
        return;
    }
    OpenCellEditOnCell();
}

void CMorvelEMView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // A modifier on its own neither ends an edit nor moves or shrinks the selection.
    if (IsModifierKey(nChar)) {
        CMorvelView::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (IsSummaryPageShown()) {
        // The summary page is read only: it can only be looked through.
        if (IsArrowKey(nChar) || nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_HOME || nChar == VK_END)
            MoveByKey(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == VK_F4 && GetKeyState(VK_CONTROL) >= 0) {
        // The pop-up choice list of the current cell (CMorvelEMViewPopupList.cpp).
        OpenPopupListForCell();
        return;
    }
    if (nChar == VK_F2) {
        CMorvelView::OnKeyDown(nChar, nRepCnt, nFlags);
        // The editor opens over the cell where it is: a cell scrolled away comes back first.
        ShowCurrentCell();
        CRect rcCell;
        GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
        OnLButtonDblClk(0, CPoint(rcCell.left + 3, rcCell.top + 3));
        return;
    }
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        if (nChar == VK_RETURN) {
            CommitCellEdit(1);
        } else if (IsArrowKey(nChar)) {
            CommitCellEdit(0);
        } else {
            // Esc (or any other key that ends the edit): nothing is stored.
            if (m_bCellEditExists && m_wndCellEdit.m_hWnd != nullptr)
                m_wndCellEdit.SetWindowText("");
            m_nEditState = editClosed;
        }
    } else if (nChar == VK_RETURN) {
        CommitCellEdit(1);
    }
    MoveByKey(nChar, nRepCnt, nFlags);
}

void CMorvelEMView::MoveByKey(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    HideCellEdit();
    const CPoint ptOld(GetCurrentCol(), GetCurrentRow());
    CMorvelView::OnKeyDown(nChar, nRepCnt, nFlags);
    if (ptOld != CPoint(GetCurrentCol(), GetCurrentRow()))
        InvalidateCells(ptOld.x, ptOld.y, ptOld.x, ptOld.y);
    UpdateStatusText(statusShow);
}

// ---------------------------------------------------------------------------------------
// Commit

void CMorvelEMView::CommitCellEdit(int nMoveAfter)
{
    if (m_hWnd != nullptr)
        SetFocus();
    // Enter on the unit column with no edit open picks the unit from the list instead.
    if (m_nEditState == editClosed && !IsSummaryPageShown() && IsUnitColumn(GetCurrentCol())) {
        OpenUnitPick();
        HideCellEdit();
        return;
    }
    // Text typed into a parts search column looks the parts up in the parts file; the rows
    // chosen there come in instead of the text.
    if (m_nEditState == editTyping && !IsSummaryPageShown() && IsPartsSearchColumn(GetCurrentCol()) &&
        CShellServices::Get().runEstimateDialogCommand) {
        CShellServices::RunEstimateDialogCommand(this, ID_PICK_PARTS_FOR_CELL);
        HideCellEdit();
        if (m_bCellEditExists && m_wndCellEdit.m_hWnd != nullptr)
            m_wndCellEdit.SetWindowText("");
        m_nEditState = editClosed;
        if (nMoveAfter == 1)
            MoveAfterInput();
        return;
    }
    if ((m_nEditState == editTyping || m_nEditState == editOpened) && !IsSummaryPageShown())
        StoreCellEdit(FALSE, true);
    m_nEditState = editClosed;

    if (nMoveAfter == 1)
        MoveAfterInput();
}

void CMorvelEMView::StoreCellEdit(bool bStartFromCell, bool bTotalsAtCommandEnd)
{
    const int nRow = GetCurrentRow();
    const int nCol = GetCurrentCol();
    if (!IsValidRow(nRow) || !IsValidColumn(nCol))
        return;
    const bool bNumeric = Engine().Columns().Get(nCol).bNumeric;

    const CString strOld = GetCellText(nRow, nCol);
    CString strText;
    if (bNumeric) {
        // Line breaks out; a number typed in full-width characters comes back in ASCII.
        m_wndCellEdit.GetCellText(strText);
        CString strNormal = strText;
        Engine().NormalizeNumberText(nCol, strNormal, strText);
        strText = strNormal;
    } else {
        // A cell holds one line: a pasted line break does not reach it.
        m_wndCellEdit.GetText(strText);
        strText.Remove('\r');
        strText.Remove('\n');
    }
    if (bStartFromCell)
        Engine().SetEditStartText(strOld);
    GetModel().StoreInput(nCol, nRow, strText);
    NoteUndoRecorded();
    SetDocumentModified();
    InvalidateRows(nRow, nRow);
    if (bTotalsAtCommandEnd)
        RecalcTotalsAfterEdit(nRow);
    else
        RecalcTotals(nRow);
}

// ---------------------------------------------------------------------------------------
// Mouse

void CMorvelEMView::OnLButtonDown(UINT nFlags, CPoint point)
{
    const CPoint ptOld(GetCurrentCol(), GetCurrentRow());
    if (m_hWnd != nullptr)
        SetFocus();
    // A click elsewhere keeps what was typed.
    StoreOpenEdit();
    HideCellEdit();
    CMorvelView::OnLButtonDown(nFlags, point);
    InvalidateCells(ptOld.x, ptOld.y, ptOld.x, ptOld.y);

    // An armed range total goes into the numeric cell clicked; the arming ends either way.
    if (m_rangeTotal.nArmed) {
        m_rangeTotal.nArmed = 0;
        if (!IsSummaryPageShown() && IsValidColumn(GetCurrentCol()) &&
            Engine().Columns().Get(GetCurrentCol()).bNumeric)
            StoreRangeTotal(GetCurrentRow(), GetCurrentCol());
    }
    m_bClickMovedCell = ptOld != CPoint(GetCurrentCol(), GetCurrentRow());
    UpdateStatusText(statusShow);
}

void CMorvelEMView::StoreTypedEdit()
{
    StoreOpenEdit();
    HideCellEdit();
}

void CMorvelEMView::StoreOpenEdit()
{
    if (m_nEditState != editTyping && m_nEditState != editOpened)
        return;
    if (!IsSummaryPageShown())
        StoreCellEdit(TRUE);
    if (m_bCellEditExists && m_wndCellEdit.m_hWnd != nullptr)
        m_wndCellEdit.SetWindowText("");
    m_nEditState = editClosed;
}

void CMorvelEMView::StoreRangeTotal(int nRow, int nCol)
{
    GetModel().StoreRangeTotal(nCol, nRow, CNumberRules::FormatNormal(m_rangeTotal.sum.GetTotal()));
    NoteUndoRecorded();
    RecalcTotals(nRow);
    InvalidateRows(nRow, nRow);
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    SetDocumentModified();
}

// ---------------------------------------------------------------------------------------
// Context menu

void CMorvelEMView::ShowGridContextMenu(CPoint ptScreen)
{
    if (m_hWnd == nullptr)
        return;
    RegisterEstimateViewMenus();
    TrackGridMenu(IDR_ESTIMATE_CONTEXT_MENU, ptScreen);
}

void CMorvelEMView::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    if (IsSummaryPageShown())
        return;
    ShowGridContextMenu(point);
}

BOOL CMorvelEMView::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == m_hWnd && m_hWnd != nullptr) {
        const UINT nMsg = pMsg->message;
        const bool bShiftF10 = (nMsg == WM_KEYDOWN || nMsg == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 &&
                               ::GetKeyState(VK_SHIFT) < 0;
        if (bShiftF10 || nMsg == WM_CONTEXTMENU) {
            if (!IsSummaryPageShown()) {
                CRect rcGrid;
                GetGridClientRect(&rcGrid);
                CPoint pt = rcGrid.TopLeft();
                ClientToScreen(&pt);
                pt.Offset(5, 5);
                ShowGridContextMenu(pt);
            }
            return TRUE;
        }
    }
    return CMorvelView::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------
// Scrolling and updates

void CMorvelEMView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HideCellEdit();
    CMorvelView::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CMorvelEMView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HideCellEdit();
    CMorvelView::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CMorvelEMView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/)
{
    if (m_hWnd == nullptr)
        return;
    CRect rcCells;
    GetGridClientRect(&rcCells);
    rcCells.left = std::max<LONG>(rcCells.left, GetRowHeaderWidth());
    InvalidateRect(&rcCells, TRUE);
}

// ---------------------------------------------------------------------------------------
// Input method

void CMorvelEMView::SetImeOpen(bool bOpen)
{
    if (m_hWnd == nullptr)
        return;
    if (HIMC hIMC = ImmGetContext(m_hWnd)) {
        ImmSetOpenStatus(hIMC, bOpen);
        ImmReleaseContext(m_hWnd, hIMC);
    }
}

// ---------------------------------------------------------------------------------------
// Row commands

void CMorvelEMView::OnInsertRow()
{
    if (GetSelectMode() != selectRows) {
        InsertOneRow();
        return;
    }
    CRect rcRange;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rcRange);
    const int nFirst = std::max(0, static_cast<int>(rcRange.top));
    const int nCount =
        GetModel().InsertableRows(nFirst, static_cast<int>(rcRange.bottom) - nFirst + 1, PageRule());
    if (nCount <= 0 || !HasFileRoomForRows(nFirst, nCount, AdjustPageBreak(EPageBreak::findHeading, nFirst)))
        return;
    const CPoint ptCurrent(GetCurrentCol(), GetCurrentRow());
    GetModel().InsertRowsAt(nFirst, nCount, PageRule());
    NoteUndoRecorded();
    SetCurrentCell(ptCurrent.x, ptCurrent.y);
    InvalidateRows(nFirst, GetRowLimit() - 1, TRUE);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::InsertOneRow()
{
    const int nRow = GetCurrentRow();
    if (!HasFileRoomForRows(nRow, 1, AdjustPageBreak(EPageBreak::findHeading, nRow)))
        return;
    GetModel().InsertRowAt(GetCurrentCol(), nRow, PageRule());
    NoteUndoRecorded();
    SetDocumentModified();
    InvalidateRows(std::max(0, nRow - 1), GetRowLimit() - 1, TRUE);
    // Down and back up: the cursor returns to the new row through the key handling.
    SendKeyUpDown(VK_DOWN);
    SendKeyUpDown(VK_UP);
    InvalidateRows(GetCurrentRow(), GetRowLimit() - 1, TRUE);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::OnDeleteRow()
{
    DeleteCurrentRow();
}

void CMorvelEMView::DeleteCurrentRow()
{
    if (GetSelectMode() == selectRows) {
        // Whole rows go through the cut command, which keeps them for pasting. The grid
        // takes the keyboard first: the cut is its own, not that of a text box.
        if (m_hWnd != nullptr) {
            SetFocus();
            SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
        }
        return;
    }
    const int nRow = GetCurrentRow();
    GetModel().DeleteRowAt(GetCurrentCol(), nRow, PageRule());
    NoteUndoRecorded();
    SetDocumentModified();
    InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
    RecalcTotals(nRow);
    UpdateTreeView();
}

void CMorvelEMView::OnClearRow()
{
    if (GetSelectMode() == selectRows) {
        CRect rcRange;
        NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right,
                           GetSelection().bottom, &rcRange);
        const int nFirst = std::max(0, static_cast<int>(rcRange.top));
        const int nLast = static_cast<int>(rcRange.bottom);
        GetModel().ClearRows(nFirst, nLast);
        NoteUndoRecorded();
        InvalidateRows(nFirst, nLast, TRUE);
        // The totals below the first cleared row change, whichever end of the selection
        // the cursor stands on.
        RecalcTotals(std::min(nFirst, GetCurrentRow()));
        UpdateTreeView();
        SetDocumentModified();
        return;
    }
    const int nRow = GetCurrentRow();
    if (!GetModel().ClearRow(GetCurrentCol(), nRow))
        return;
    NoteUndoRecorded();
    InvalidateRows(nRow, nRow, TRUE);
    RecalcTotals(nRow);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::OnUpdateRowCommand(CCmdUI* pCmdUI)
{
    bool bEnable = !IsSummaryPageShown() && (GetSelectMode() == selectNone || GetSelectMode() == selectRows);
    if (!IsSummaryPageShown() && GetSelectMode() == selectBlock)
        bEnable = GetSelection().left == GetSelection().right && GetSelection().top == GetSelection().bottom;
    pCmdUI->Enable(bEnable);
}

void CMorvelEMView::OnDirectInput()
{
    m_nDirectInput = m_nDirectInput == 0 ? 1 : 0;
}

void CMorvelEMView::OnUpdateDirectInput(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nDirectInput);
}

// ---------------------------------------------------------------------------------------
// Drag auto-scroll

void CMorvelEMView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_DRAG_SCROLL)
        DragScrollTick();
    CMorvelView::OnTimer(nIDEvent);
}

// Editing in the parts grid: the in-place editor (opened by typing, F2 or a double click,
// committed by Enter, Up, Down, a click or any other key, abandoned by Esc), the keys and
// the mouse over the grid, the drag selection, the context menu and the row commands
// insert, delete and clear.
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/PartsViewMenus.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

// ---------------------------------------------------------------------------------------
// The editor

void CMorvelPMView::CreateCellEdit()
{
    if (m_bEditCreated || m_hWnd == nullptr)
        return;
    if (!m_wndEdit.CreateInView(this, CGridCellEdit::PARTS_VIEW_EDIT_ID)) {
        AfxMessageBox("みつもりﾓﾙﾍﾞﾙ が起動できません。"_sj);
        return;
    }
    m_bEditCreated = TRUE;
    m_wndEdit.ShowWindow(SW_HIDE);
}

void CMorvelPMView::HideCellEdit()
{
    if (m_bEditCreated && m_wndEdit.m_hWnd != nullptr)
        m_wndEdit.HideAndFocusView();
}

void CMorvelPMView::AbandonEdit()
{
    m_nEditState = editClosed;
    HideCellEdit();
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc != nullptr && m_nRowsBeforeEdit >= 0 && pDoc->GetRowsInUse() == GetCurrentRow() + 1) {
        pDoc->Model().ReduceRowsInUse(m_nRowsBeforeEdit);
        UpdateStatusText();
    }
    m_nRowsBeforeEdit = -1;
}

LOGFONT CMorvelPMView::GetZoomedFont() const
{
    LOGFONT lf{};
    if (const CMorvelPMDoc* pDoc = GetDocument())
        lf = pDoc->m_logFont;
    lf.lfHeight = lf.lfHeight * GetZoom() / 100;
    lf.lfWidth = lf.lfWidth * GetZoom() / 100;
    return lf;
}

void CMorvelPMView::StyleCellEdit(const CString& strText)
{
    PARAFORMAT pf{};
    pf.cbSize = sizeof(pf);
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = IsNumericColumn(GetCurrentCol()) ? PFA_RIGHT : PFA_LEFT;
    m_wndEdit.SetParaFormat(pf);
    // The editor keeps using its font while it shows it: the old one goes only after the
    // new one is set.
    const LOGFONT lf = GetZoomedFont();
    auto pFont = std::make_unique<CFont>();
    if (pFont->CreateFontIndirect(&lf)) {
        m_wndEdit.SetFont(pFont.get());
        m_pEditFont = std::move(pFont);
    }
    m_wndEdit.SetFocus();
    m_wndEdit.SetSel(0, -1);
    m_wndEdit.ReplaceSel(strText, FALSE);
}

void CMorvelPMView::OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMorvelPMView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CMorvelView::OnChar(nChar, nRepCnt, nFlags);
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || m_hWnd == nullptr || GetCurrentCol() < 0 || GetCurrentCol() >= GetColumnCount())
        return;
    int x = GetRowHeaderWidth() - GetMetrics().nHorzOffset;
    for (int c = 0; c < GetCurrentCol(); ++c)
        x += GetColumnWidth(c);
    const int y = GetCurrentRow() * GetRowHeight() + GetHeaderHeight() - GetMetrics().nVertOffset;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!rcClient.PtInRect(CPoint(x, y)))
        return;
    if (nChar == 13 || nChar == 9 || nChar == 8 || nChar == 27) {
        m_nEditState = editClosed;
        return;
    }
    // Other control characters (Ctrl with a letter) are commands, not text.
    if (nChar < 0x20 || nChar == 0x7F || !m_bEditCreated)
        return;
    // The row after the last one of a full list takes no text.
    if (!CheckFileRowLimitForEdit(GetCurrentRow(), pDoc->GetRowsInUse()))
        return;
    if (m_nEditState == editClosed) {
        m_nEditState = editOpening;
        m_strTypedText.Empty();
        m_nRowsBeforeEdit = pDoc->GetRowsInUse();
    }
    m_wndEdit.MoveWindow(x, y, GetColumnWidth(GetCurrentCol()), GetRowHeight());
    m_wndEdit.ShowWindow(SW_SHOW);
    m_strTypedText += static_cast<char>(static_cast<BYTE>(nChar));
    // While the trail byte of a double-byte character is still to come, the editor shows
    // the characters before it.
    StyleCellEdit(WholeCharacters(m_strTypedText));
    pDoc->Model().ExtendRowsInUse(GetCurrentRow() + 1);
    {
        // No cell has changed yet: an undo abandons the edit and takes back its record.
        const CUndoKeepingScope keepUndo;
        pDoc->SetModifiedFlag(TRUE);
    }
    m_nEditState = editOpen;
}

void CMorvelPMView::OpenEditOnCell()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !m_bEditCreated || m_wndEdit.m_hWnd == nullptr || GetCurrentCol() < 0 ||
        GetCurrentCol() >= GetColumnCount() ||
        !CheckFileRowLimitForEdit(GetCurrentRow(), pDoc->GetRowsInUse()))
        return;
    m_nEditState = editOpening;
    m_nRowsBeforeEdit = pDoc->GetRowsInUse();
    CRect rcCell;
    GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
    m_wndEdit.MoveWindow(rcCell.left, rcCell.top, GetColumnWidth(GetCurrentCol()), GetRowHeight());
    m_wndEdit.ShowWindow(SW_SHOW);
    StyleCellEdit(pDoc->Model().GetEditText(GetCurrentRow(), GetCurrentCol()));
    m_nEditState = editOpen;
    pDoc->Model().ExtendRowsInUse(GetCurrentRow() + 1);
}

void CMorvelPMView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CMorvelView::OnLButtonDblClk(nFlags, point);
    OnLButtonDown(nFlags, point);
    OnLButtonUp(nFlags, point);
    if (point.y < GetHeaderHeight() || point.x < GetRowHeaderWidth()) {
        HideCellEdit();
        return;
    }
    OpenEditOnCell();
}

// ---------------------------------------------------------------------------------------
// Commit

void CMorvelPMView::CommitEdit(BOOL bMove)
{
    if (m_hWnd != nullptr)
        SetFocus();
    if (m_nEditState == editClosed && IsUnitColumn(GetCurrentCol())) {
        OpenUnitPick();
        HideCellEdit();
        // Without a unit pick to open, Enter moves on as it does elsewhere.
        if (m_pUnitDlg != nullptr)
            return;
    }
    StoreTypedEdit();
    if (bMove)
        MoveAfterInput();
}

void CMorvelPMView::StoreTypedEdit()
{
    if (m_nEditState != editOpen)
        return;
    m_nEditState = editClosed;
    CString strText;
    if (IsNumericColumn(GetCurrentCol())) {
        m_wndEdit.GetCellText(strText);
    } else {
        // A cell holds one line: a line break pasted into the editor does not reach it.
        m_wndEdit.GetText(strText);
        strText.Remove('\r');
        strText.Remove('\n');
    }
    CommitTypedText(strText);
    HideCellEdit();
}

// ---------------------------------------------------------------------------------------
// Keys and the mouse

void CMorvelPMView::RepaintAllViews()
{
    if (CMorvelPMDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr);
}

void CMorvelPMView::ShowCursorMove()
{
    const CPoint ptCur(GetCurrentCol(), GetCurrentRow());
    if (ptCur == m_ptLastCur)
        return;
    const CPoint ptOld = m_ptLastCur;
    m_ptLastCur = ptCur;
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pView = dynamic_cast<CMorvelPMView*>(pDoc->GetNextView(pos));
        if (pView == nullptr)
            continue;
        pView->InvalidateCell(ptOld.x, ptOld.y);
        pView->InvalidateCell(ptCur.x, ptCur.y);
    }
}

void CMorvelPMView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // A modifier on its own neither commits an edit nor shrinks the selection.
    if (IsModifierKey(nChar)) {
        CMorvelView::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == VK_F2) {
        CRect rcCell;
        GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
        OnLButtonDblClk(0, CPoint(rcCell.left + 3, rcCell.top + 3));
        return;
    }
    switch (nChar) {
    case VK_RETURN:
        if (GetSelectMode() != selectNone && !GetPointerState().bShiftExtending) {
            ClearSelection();
            RepaintAllViews();
        }
        CommitEdit(TRUE);
        break;
    case VK_ESCAPE:
        // Nothing typed is kept.
        AbandonEdit();
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
        break;
    default:
        if (m_nEditState == editOpen)
            CommitEdit(FALSE);
        break;
    }
    CMorvelView::OnKeyDown(nChar, nRepCnt, nFlags);
    ShowCursorMove();
    UpdateStatusText();
}

void CMorvelPMView::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A click elsewhere keeps what was typed.
    if (m_nEditState == editOpen)
        CommitEdit(FALSE);
    m_nEditState = editClosed;
    HideCellEdit();
    const bool bInCells = point.x >= GetRowHeaderWidth() && point.y >= GetHeaderHeight();
    CMorvelView::OnLButtonDown(nFlags, point);
    if (GetSelectMode() != selectNone)
        RepaintAllViews();
    ShowCursorMove();
    UpdateStatusText();
    // An armed range total goes into the clicked cell.
    if (bInCells)
        PlaceRangeTotal();
}

void CMorvelPMView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (HitTestColumnBorder(point.x, point.y) == resizeTracking) {
        TrackColumnResize(nFlags, point.x);
        return;
    }
    DragSelectTo(nFlags, point);
    CMorvelView::OnMouseMove(nFlags, point);
}

void CMorvelPMView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_DRAG_SCROLL)
        DragScrollTick();
    CMorvelView::OnTimer(nIDEvent);
}

int CMorvelPMView::GetDragScrollInterval(int nDirection) const
{
    // Columns are wide: scrolling left goes at half the pace of the other directions.
    return nDirection == dragScrollLeft ? 100 : 50;
}

void CMorvelPMView::RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew)
{
    UpdateSelectionDisplay(rcOld, rcNew);
}

void CMorvelPMView::UpdateSelectionDisplay(const CRect& rcOld, const CRect& rcNew)
{
    if (GetSelectMode() == selectNone || m_hWnd == nullptr)
        return;
    CRect u, i;
    if (!GetSelectionChange(rcOld, rcNew, GetColumnCount() - 1, u, i))
        return;
    // Only the cells whose selection state changed, through the paint path so that fonts,
    // the grid lines and the cursor frame come out as in a full paint.
    for (int r = u.top; r <= u.bottom; ++r) {
        for (int c = u.left; c <= u.right; ++c) {
            const bool bInside = c >= i.left && c <= i.right && r >= i.top && r <= i.bottom;
            if (!bInside)
                InvalidateCell(c, r);
        }
    }
}

// ---------------------------------------------------------------------------------------
// Context menu

void CMorvelPMView::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    if (m_hWnd == nullptr)
        return;
    RegisterPartsViewMenus();
    TrackGridMenu(IDR_PARTS_CONTEXT_MENU, point);
}

BOOL CMorvelPMView::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd != nullptr && pMsg->hwnd == m_hWnd) {
        const UINT nMsg = pMsg->message;
        if ((nMsg == WM_KEYDOWN || nMsg == WM_SYSKEYDOWN) && pMsg->wParam == VK_F10 &&
            ::GetKeyState(VK_SHIFT) < 0) {
            CRect rcClient;
            GetClientRect(&rcClient);
            CPoint pt = rcClient.TopLeft();
            ClientToScreen(&pt);
            pt.Offset(5, 5);
            OnContextMenu(this, pt);
            return TRUE;
        }
    }
    return CMorvelView::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------
// Rows

bool CMorvelPMView::HasFileRoomForRows(int nRow, int nCount) const
{
    return CheckFileRowLimit(std::max<long long>(GetUsedRows(), nRow) + nCount);
}

void CMorvelPMView::InsertRow(int nRow)
{
    CPartsModel* pModel = GetModel();
    if (pModel == nullptr || nRow < 0 || nRow >= GetRowLimit() || !HasFileRoomForRows(nRow, 1))
        return;
    pModel->InsertEmptyRows(nRow, 1);
    AfterRowsChanged(nRow, GetRowLimit() - 1);
}

void CMorvelPMView::DeleteRow(int nRow)
{
    CPartsModel* pModel = GetModel();
    if (pModel == nullptr || nRow < 0 || nRow >= GetRowLimit() || !pModel->RemoveRowAt(nRow))
        return;
    AfterRowsChanged(nRow, GetRowLimit() - 1);
}

void CMorvelPMView::AfterRowsChanged(int nFirst, int nLast)
{
    CMorvelPMDoc* pDoc = GetDocument();
    InvalidateRows(nFirst, nLast, TRUE);
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
    // The rows in use the status bar shows follow at once.
    UpdateStatusText();
}

bool CMorvelPMView::RecordRowsChanged(std::unique_ptr<CPartsUndoCommand> pCommand, int nFirst, int nLast)
{
    if (pCommand == nullptr)
        return false;
    // Recorded first: the document's change then belongs to this record (marked after it, a
    // change withdraws the record before).
    RecordUndo(std::move(pCommand));
    AfterRowsChanged(nFirst, nLast);
    return true;
}

void CMorvelPMView::OnInsertRow()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const int nRow = GetCurrentRow();
    int nCount = 1;
    int nRepaintFrom = nRow;
    if (GetSelectMode() == selectRows) {
        // As many rows as are selected go in at the current row.
        CRect rcRange;
        NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right,
                           GetSelection().bottom, &rcRange);
        nCount = std::max(1, static_cast<int>(rcRange.bottom - rcRange.top + 1));
        nRepaintFrom = std::min<int>(rcRange.top, nRow);
    }
    // Rows the file could not hold are refused before anything changes.
    if (!HasFileRoomForRows(nRow, nCount))
        return;
    auto pCommand = pDoc->Model().InsertRows(nRow, nCount);
    if (pCommand == nullptr)
        return;
    SetCurrentRow(nRow);
    AfterRowsChanged(nRepaintFrom, GetRowLimit() - 1);
    RecordUndo(std::move(pCommand));
}

void CMorvelPMView::OnDeleteRow()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CRect rcRange;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rcRange);
    std::unique_ptr<CPartsUndoCommand> pCommand;
    if (GetSelectMode() == selectRows && rcRange.top <= pDoc->GetRowsInUse()) {
        // The selected rows go, as far as they are used.
        const int nTop = std::max(0, static_cast<int>(rcRange.top));
        pCommand = pDoc->Model().DeleteRows(nTop, std::min<int>(rcRange.bottom, pDoc->GetRowsInUse() - 1));
        SetCurrentCell(0, nTop);
        SetSelection(selectNone, CRect(0, nTop, 0, nTop));
        AfterRowsChanged(nTop, GetRowLimit() - 1);
    } else {
        // The current row goes (a row beyond the stored rows is not there to go).
        pCommand = pDoc->Model().DeleteRows(GetCurrentRow(), GetCurrentRow());
        if (pCommand != nullptr)
            AfterRowsChanged(GetCurrentRow(), GetRowLimit() - 1);
    }
    RecordUndo(std::move(pCommand));
}

void CMorvelPMView::OnClearRow()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    int nTop = GetCurrentRow(), nBottom = GetCurrentRow();
    if (GetSelectMode() == selectRows) {
        CRect rcRange;
        NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right,
                           GetSelection().bottom, &rcRange);
        nTop = rcRange.top;
        nBottom = rcRange.bottom;
    }
    // Rows past the last one are empty already: clearing them (the whole grid selected)
    // would only add empty rows to the list.
    auto pCommand = pDoc->Model().ClearRows(nTop, nBottom);
    if (pCommand == nullptr)
        return;
    AfterRowsChanged(pCommand->FirstRow(), pCommand->LastRow());
    RecordUndo(std::move(pCommand));
}

void CMorvelPMView::OnUpdateRowCommand(CCmdUI* pCmdUI)
{
    bool bEnable = GetSelectMode() == selectNone || GetSelectMode() == selectRows;
    if (GetSelectMode() == selectBlock)
        bEnable = GetSelection().left == GetSelection().right && GetSelection().top == GetSelection().bottom;
    pCmdUI->Enable(bEnable);
}

// The grid base view as a window: its message map, the child bars along its edges and
// their layout, the pixel-to-cell mapping, and scrolling with its own scroll bars.
#include "grid/CMorvelView.h"

#include "grid/CTabWnd.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Imm.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CMorvelView, CView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MBUTTONDOWN()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_SIZE()
ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
ON_MESSAGE(WM_IME_ENDCOMPOSITION, OnImeEndComposition)
ON_MESSAGE(WM_COMPOSITION_HANDED_OVER, OnCompositionHandedOver)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------
// Input method

LOGFONT CMorvelView::GetCurrentCellEditFont() const
{
    LOGFONT lf{};
    lf.lfHeight = -m_nRowHeight * 3 / 4;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    return lf;
}

LRESULT CMorvelView::OnImeStartComposition(WPARAM, LPARAM)
{
    HIMC hIMC = ImmGetContext(m_hWnd);
    if (hIMC == nullptr)
        return 0;
    CRect rcCell;
    GetCellRangeRect(m_nCurrentCol, m_nCurrentRow, m_nCurrentCol, m_nCurrentRow, &rcCell);
    // The pre-edit starts at the cell and may run on along the cell's row as far as the grid
    // shows it: over neither the row headers nor the view's own scroll bar, also where the
    // cell is shown only in part at the grid's right edge.
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_RECT;
    form.ptCurrentPos = CPoint(rcCell.left, rcCell.top);
    form.rcArea = CRect(m_nRowHeaderWidth, rcCell.top, rcGrid.right, rcCell.bottom);
    ImmSetCompositionWindow(hIMC, &form);
    // The pre-edit replaces the cell's text as typing does: the rest of the cell is blank
    // while it shows, as far as the grid shows the cell.
    ImmSetCompositionCover(hIMC, &rcCell);
    const LOGFONT lf = GetCurrentCellEditFont();
    ImmSetCompositionFont(hIMC, &lf);
    ImmReleaseContext(m_hWnd, hIMC);
    return 0;
}

bool CMorvelView::HasImeComposition() const
{
    if (m_hWnd == nullptr)
        return FALSE;
    HIMC hIMC = ImmGetContext(m_hWnd);
    if (hIMC == nullptr)
        return FALSE;
    const LONG nBytes = ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0);
    ImmReleaseContext(m_hWnd, hIMC);
    return nBytes > 0;
}

void CMorvelView::CommitComposition()
{
    if (m_bCommittingComposition || !HasImeComposition())
        return;
    m_bCommittingComposition = true;
    // The text arrives as typed characters: the current cell's editor opens with it.
    if (HIMC hIMC = ImmGetContext(m_hWnd)) {
        ImmNotifyIME(hIMC, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(m_hWnd, hIMC);
    }
    StoreTypedEdit();
    m_bCommittingComposition = false;
}

LRESULT CMorvelView::OnImeEndComposition(WPARAM, LPARAM)
{
    // The input method hands its text over also because the keyboard is leaving the grid
    // (a click into another window, a dialog): whether it leaves shows once the move is
    // done.
    PostMessage(WM_COMPOSITION_HANDED_OVER, 0, 0);
    return 0;
}

LRESULT CMorvelView::OnCompositionHandedOver(WPARAM, LPARAM)
{
    // Nobody types on into the cell: what the composition typed there is stored now
    // rather than left in an editor the keyboard never comes back to.
    CWnd* pFocus = GetFocus();
    if (pFocus != this && (pFocus == nullptr || !IsChild(pFocus)))
        StoreTypedEdit();
    return 0;
}

bool CMorvelView::LeavesComposition(UINT message, WPARAM wParam, LPARAM lParam) const
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A press on the composition's own cell (where it shows) leaves it be.
        CRect rcCell;
        GetCellRangeRect(m_nCurrentCol, m_nCurrentRow, m_nCurrentCol, m_nCurrentRow, &rcCell);
        CRect rcCells;
        GetGridClientRect(&rcCells);
        rcCells.left = std::max<LONG>(rcCells.left, m_nRowHeaderWidth);
        rcCells.top = std::max<LONG>(rcCells.top, m_nHeaderHeight);
        CRect rcShown;
        return !rcShown.IntersectRect(&rcCell, &rcCells) ||
               !rcShown.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return !IsModifierKey(static_cast<UINT>(wParam));
    default:
        return FALSE;
    }
}

LRESULT CMorvelView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LeavesComposition(message, wParam, lParam))
        CommitComposition();
    return CView::WindowProc(message, wParam, lParam);
}

BOOL CMorvelView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A command works on the cells as they stand, the composition's text stored in its cell.
    if (nCode == CN_COMMAND && pHandlerInfo == nullptr)
        CommitComposition();
    return CView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------------------
// Geometry

int CMorvelView::GetVisibleRowCount() const
{
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    return std::max(0, static_cast<int>(rcGrid.bottom) - m_nHeaderHeight) / nRowHeight;
}

int CMorvelView::GetColumnLeft(int nCol) const
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const int nFirst = std::clamp(m_nFirstVisibleCol, 0, nColumns);
    int x = m_nRowHeaderWidth;
    if (nCol >= nFirst) {
        for (int c = nFirst; c < nCol && c < nColumns; ++c)
            x += m_nColumnWidth[c];
    } else {
        for (int c = std::max(nCol, 0); c < nFirst; ++c)
            x -= m_nColumnWidth[c];
    }
    return x;
}

void CMorvelView::GetCellRangeFromRect(int x1, int y1, int x2, int y2, LPRECT lpRange) const
{
    if (x1 == x2 && y1 == y2) {
        lpRange->left = lpRange->top = lpRange->right = lpRange->bottom = -1;
        return;
    }
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const int nFirst = std::clamp(m_nFirstVisibleCol, 0, nColumns);

    // The first column whose right edge lies beyond x1: rightwards from the first visible
    // column, or leftwards through the columns before it for a point left of the headers.
    int nStartCol = nFirst;
    if (x1 < m_nRowHeaderWidth) {
        int nLeft = m_nRowHeaderWidth;
        while (nStartCol > 0 && nLeft > x1) {
            --nStartCol;
            nLeft -= m_nColumnWidth[nStartCol];
        }
        // nStartCol's left edge is at or left of x1 now (or it is column 0); a hidden
        // column there ends at x1 and gives way to the next.
        while (nStartCol < nFirst && nLeft + m_nColumnWidth[nStartCol] <= x1)
            nLeft += m_nColumnWidth[nStartCol++];
    } else {
        int nRight = m_nRowHeaderWidth;
        while (nStartCol < nColumns && nRight + m_nColumnWidth[nStartCol] <= x1)
            nRight += m_nColumnWidth[nStartCol++];
    }
    // The first column whose right edge is at or beyond x2.
    int nEndCol = nFirst;
    if (x2 < m_nRowHeaderWidth) {
        int nRight = m_nRowHeaderWidth; // the right edge of column nEndCol - 1
        while (nEndCol > 0 && nRight - m_nColumnWidth[nEndCol - 1] >= x2) {
            nRight -= m_nColumnWidth[nEndCol - 1];
            --nEndCol;
        }
        nEndCol = nEndCol > 0 ? nEndCol - 1 : 0;
    } else {
        int nRight = m_nRowHeaderWidth + (nEndCol < nColumns ? m_nColumnWidth[nEndCol] : 0);
        while (nEndCol < nColumns - 1 && nRight < x2)
            nRight += m_nColumnWidth[++nEndCol];
    }

    // Rows have one height: the first row whose bottom lies beyond y1, and the first whose
    // bottom is at or beyond y2 (floor and ceiling of the row count above the point).
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    const auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    const int nStartRow = m_nFirstVisibleRow + floorDiv(y1 - m_nHeaderHeight, nRowHeight);
    const int nEndRow = m_nFirstVisibleRow - 1 - floorDiv(-(y2 - m_nHeaderHeight), nRowHeight);

    lpRange->left = std::max(nStartCol, 0);
    lpRange->top = std::max(nStartRow, 0);
    lpRange->right = std::min(nEndCol, nColumns - 1);
    lpRange->bottom = std::min(nEndRow, GetRowLimit() - 1);
}

CPoint CMorvelView::CellFromPoint(int x, int y) const
{
    CRect rcRange;
    GetCellRangeFromRect(x, y, x + 2, y + 2, &rcRange);
    return CPoint(rcRange.left, rcRange.top);
}

bool CMorvelView::HasFixedColumns() const
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    for (int c = 0; c < nColumns; ++c) {
        if (m_nInputFixed[c] != 0)
            return TRUE;
    }
    return FALSE;
}

void CMorvelView::InvalidateCell(int nCol, int nRow)
{
    InvalidateCells(nCol, nRow, nCol, nRow);
}

CRect CMorvelView::GetSelectionPixelRect() const
{
    CRect rcRange;
    NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                       &rcRange);
    CRect rcPixels;
    GetCellRangeRect(rcRange.left, rcRange.top, rcRange.right, rcRange.bottom, &rcPixels);
    if (m_hWnd != nullptr && !rcPixels.IsRectEmpty()) {
        // A selection of whole columns is cut at the grid's bottom.
        CRect rcGrid;
        GetGridClientRect(&rcGrid);
        rcPixels.bottom = std::min(rcPixels.bottom, rcGrid.bottom);
        rcPixels.top = std::max<LONG>(rcPixels.top, m_nHeaderHeight);
    }
    return rcPixels;
}

void CMorvelView::ClearSelection()
{
    if (m_nSelectMode == selectNone && !m_nShiftExtend)
        return;
    const CRect rcOld = GetSelectionPixelRect();
    m_nSelectMode = selectNone;
    m_nShiftExtend = 0;
    if (m_hWnd != nullptr && !rcOld.IsRectEmpty())
        InvalidateRect(&rcOld, FALSE);
}

// ---------------------------------------------------------------------------------------
// Child windows and layout

CScrollBar* CMorvelView::GetScrollBarCtrl(int nBar) const
{
    if (nBar == SB_HORZ && m_wndHorzBar.m_hWnd != nullptr)
        return const_cast<CScrollBar*>(&m_wndHorzBar);
    if (nBar == SB_VERT && m_wndVertBar.m_hWnd != nullptr)
        return const_cast<CScrollBar*>(&m_wndVertBar);
    return CView::GetScrollBarCtrl(nBar);
}

void CMorvelView::LayoutChildWindows(int cx, int cy)
{
    const int t = BAR_THICKNESS;
    if (m_pJumpBar != nullptr && m_pJumpBar->m_hWnd != nullptr)
        m_pJumpBar->MoveWindow(0, cy - t, 80, t);
    if (m_pTabWnd != nullptr && m_pTabWnd->m_hWnd != nullptr)
        m_pTabWnd->MoveWindow(80, cy - t, 220, t);
    if (m_wndHorzBar.m_hWnd != nullptr)
        m_wndHorzBar.MoveWindow(300, cy - t, std::max(0, cx - 300 - t), t);
    if (m_wndVertBar.m_hWnd != nullptr)
        m_wndVertBar.MoveWindow(cx - t, 0, t, std::max(0, cy - t));
    if (m_wndCornerBox.m_hWnd != nullptr)
        m_wndCornerBox.MoveWindow(cx - t, cy - t, t, t);
    SetScrollRanges(m_nTotalWidth - cx + m_nRowHeaderWidth, GetUsedRows());
}

void CMorvelView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_nChildrenReady)
        LayoutChildWindows(cx, cy);
}

void CMorvelView::ApplyZoomToGeometry()
{
    const double zoom = m_nZoom / 100.0;
    m_nRowHeight = std::max(1, static_cast<int>(m_nBaseRowHeight * zoom));
    m_nHeaderHeight = static_cast<int>(m_nBaseHeaderHeight * zoom);
    m_nRowHeaderWidth = static_cast<int>(m_nBaseRowHeaderWidth * zoom);
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    for (int c = 0; c < MAX_COLUMNS; ++c)
        m_nColumnWidth[c] = c < nColumns ? static_cast<int>(m_nBaseColumnWidth[c] * zoom) : 0;
    RecalcTotalWidth();
    m_nTotalHeight = (GetRowLimit() + 1) * m_nRowHeight;
    m_nFirstVisibleCol = std::clamp(m_nFirstVisibleCol, 0, std::max(0, nColumns - 1));
    m_nHorzOffset = 0;
    for (int c = 0; c < m_nFirstVisibleCol; ++c)
        m_nHorzOffset += m_nColumnWidth[c];
    m_nVertOffset = m_nFirstVisibleRow * m_nRowHeight;

    CRect rcClient;
    if (m_hWnd != nullptr)
        GetClientRect(&rcClient);
    const int nHorzMax = m_nTotalWidth - rcClient.Width() + m_nRowHeaderWidth;
    SetScrollRanges(nHorzMax, GetUsedRows());
    if (m_hWnd == nullptr)
        return;
    if (nHorzMax < 0) {
        // Every column fits: the grid goes back to its first column.
        SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0),
                    reinterpret_cast<LPARAM>(m_wndHorzBar.m_hWnd));
        if (m_nFirstVisibleCol > 0)
            SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0),
                        reinterpret_cast<LPARAM>(m_wndHorzBar.m_hWnd));
    }
    Invalidate(TRUE);
    UpdateWindow();
}

void CMorvelView::SyncScrollBars()
{
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ)) {
        pBar->SetScrollRange(0, m_nHorzScrollMax, FALSE);
        pBar->SetScrollPos(m_nHorzOffset, TRUE);
    }
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT)) {
        pBar->SetScrollRange(0, m_nVertScrollMax, FALSE);
        pBar->SetScrollPos(m_nFirstVisibleRow, TRUE);
    }
}

// ---------------------------------------------------------------------------------------
// Scrolling

void CMorvelView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    // Everything right of the row headers moves: the column headers and the cells.
    const CRect rcArea(m_nRowHeaderWidth, 0, rcGrid.right, rcGrid.bottom);
    const auto scrollBy = [&](int dx) {
        if (dx != 0 && m_hWnd != nullptr && !rcArea.IsRectEmpty())
            ScrollWindow(dx, 0, &rcArea, &rcArea);
    };

    switch (nSBCode) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        // One column comes in from the left; hidden columns are passed over.
        while (m_nHorzOffset > 0 && m_nFirstVisibleCol > 0) {
            --m_nFirstVisibleCol;
            const int w = m_nColumnWidth[m_nFirstVisibleCol];
            m_nHorzOffset -= w;
            scrollBy(w);
            if (w != 0)
                break;
        }
        break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        while (m_nFirstVisibleCol < nColumns - 1 &&
               m_nHorzOffset + rcGrid.Width() - m_nRowHeaderWidth <= m_nTotalWidth) {
            const int w = m_nColumnWidth[m_nFirstVisibleCol];
            ++m_nFirstVisibleCol;
            m_nHorzOffset += w;
            scrollBy(-w);
            if (w != 0)
                break;
        }
        break;
    case SB_THUMBTRACK: {
        // The first visible column is the number of whole columns that fit in the position.
        const int nPosition = std::max(0, static_cast<int>(nPos));
        int nFirst = 0;
        int nOffset = 0;
        while (nFirst < nColumns - 1 && nOffset + m_nColumnWidth[nFirst] <= nPosition)
            nOffset += m_nColumnWidth[nFirst++];
        const int nOldOffset = m_nHorzOffset;
        m_nFirstVisibleCol = nFirst;
        m_nHorzOffset = nOffset;
        scrollBy(nOldOffset - nOffset);
        break;
    }
    default:
        return;
    }
    if (m_hWnd != nullptr) {
        UpdateWindow();
        if (CScrollBar* pBar = GetScrollBarCtrl(SB_HORZ))
            pBar->SetScrollPos(m_nHorzOffset);
    }
}

void CMorvelView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/)
{
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    const int h = std::max(0, static_cast<int>(rcGrid.bottom) - m_nHeaderHeight);
    const int nUpRows = (h + 1) / nRowHeight;
    const int nDownRows = h / nRowHeight;

    // While the used rows end on the screen, the bar's range follows the scrolling, so
    // that the grid can go on past the last used row.
    if (GetUsedRows() <= m_nFirstVisibleRow + 1 + h / nRowHeight) {
        switch (nSBCode) {
        case SB_LINEUP:
            m_nVertScrollMax = std::max(m_nVertScrollMax - 1, GetUsedRows() - nUpRows + 1);
            break;
        case SB_PAGEUP:
            m_nVertScrollMax = std::max(m_nVertScrollMax - nUpRows, GetUsedRows() - nUpRows + 1);
            break;
        case SB_LINEDOWN:
            m_nVertScrollMax = (m_nVertScrollMax < 1 ? 0 : m_nVertScrollMax) + 1;
            break;
        case SB_PAGEDOWN:
            m_nVertScrollMax = (m_nVertScrollMax < 1 ? 0 : m_nVertScrollMax) + nDownRows;
            break;
        default:
            break;
        }
        m_nVertScrollMax = std::max(m_nVertScrollMax, 0);
        if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT))
            pBar->SetScrollRange(0, m_nVertScrollMax, FALSE);
    }

    const int nOldFirst = m_nFirstVisibleRow;
    // The grid never scrolls past its last possible row.
    const int nMaxFirst = std::max(0, GetRowLimit() - 1);
    bool bRepaintAll = false;
    switch (nSBCode) {
    case SB_LINEUP:
        if (m_nFirstVisibleRow > 0)
            --m_nFirstVisibleRow;
        break;
    case SB_LINEDOWN:
        m_nFirstVisibleRow = std::min(m_nFirstVisibleRow + 1, nMaxFirst);
        break;
    case SB_PAGEUP:
        m_nFirstVisibleRow = std::max(0, m_nFirstVisibleRow - nUpRows);
        break;
    case SB_PAGEDOWN:
        m_nFirstVisibleRow = std::min(m_nFirstVisibleRow + nDownRows, nMaxFirst);
        break;
    case SB_THUMBTRACK:
        m_nFirstVisibleRow = std::clamp(static_cast<int>(nPos), 0, nMaxFirst);
        bRepaintAll = true;
        break;
    default:
        return;
    }
    m_nVertOffset = m_nFirstVisibleRow * nRowHeight;
    if (m_hWnd == nullptr)
        return;
    if (bRepaintAll) {
        Invalidate(TRUE);
    } else if (m_nFirstVisibleRow != nOldFirst) {
        const CRect rcArea(0, m_nHeaderHeight, rcGrid.right, rcGrid.bottom);
        if (!rcArea.IsRectEmpty())
            ScrollWindow(0, (nOldFirst - m_nFirstVisibleRow) * nRowHeight, &rcArea, &rcArea);
    }
    UpdateWindow();
    if (CScrollBar* pBar = GetScrollBarCtrl(SB_VERT))
        pBar->SetScrollPos(m_nFirstVisibleRow);
}

BOOL CMorvelView::CreateGridBars()
{
    const CRect rcSmall(0, 0, 20, 20);
    if (!m_wndHorzBar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, rcSmall, this, IDC_HORZ_BAR))
        return FALSE;
    if (!m_wndVertBar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, rcSmall, this, IDC_VERT_BAR))
        return FALSE;
    return m_wndCornerBox.Create(nullptr, WS_CHILD | WS_VISIBLE, rcSmall, this, IDC_CORNER_BOX);
}

void CMorvelView::TrackGridMenu(UINT nIDMenu, CPoint ptScreen)
{
    CMenu menu;
    if (!menu.LoadMenu(nIDMenu))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    CWnd* pOwner = this;
    while (pOwner->GetParent() != nullptr && (pOwner->GetStyle() & WS_CHILD) != 0)
        pOwner = pOwner->GetParent();
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, pOwner);
}

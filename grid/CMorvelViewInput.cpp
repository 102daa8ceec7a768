// The grid base view's mouse and keyboard: the current cell, header selections, Shift
// extension, column resizing, the arrow keys with their wrapping and hidden-column
// skipping, the input-fixed columns, Page Up/Down and the Ctrl+arrow jumps.
//
// Scrolling always goes through WM_HSCROLL / WM_VSCROLL sent to the view itself, and
// simulated clicks and keys through the view's own messages, so that the derived view's
// handlers (closing the cell editor, repainting the selection) run as they do for the user.
#include "grid/CMorvelView.h"

#include "app/CAutoScrollWnd.h"
#include "app/CMorvelSettings.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/GridViewResources.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool IsShiftDown()
{
    return GetKeyState(VK_SHIFT) < 0;
}

bool IsControlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

HCURSOR ColumnResizeCursor()
{
    RegisterGridViewResources();
    HCURSOR hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CMorvelView::IDC_COLUMN_RESIZE));
    return hCursor != nullptr ? hCursor : ::LoadCursor(nullptr, IDC_SIZEWE);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Small helpers

void CMorvelView::SimulateClick(int x, int y, int yRelease)
{
    if (m_hWnd == nullptr)
        return;
    SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(yRelease)));
}

void CMorvelView::SendKeyPressAndRelease(UINT nChar)
{
    if (m_hWnd == nullptr)
        return;
    SendMessage(WM_KEYDOWN, nChar, 1);
    SendMessage(WM_KEYUP, nChar, static_cast<LPARAM>(0xC0000001u));
}

// Scrolls the view through its own scroll messages (the derived view hides its editor
// there).
void CMorvelView::ScrollView(UINT nMsg, UINT nCode, int nPos)
{
    if (m_hWnd == nullptr) {
        if (nMsg == WM_HSCROLL)
            OnHScroll(nCode, static_cast<UINT>(std::max(0, nPos)), nullptr);
        else
            OnVScroll(nCode, static_cast<UINT>(std::max(0, nPos)), nullptr);
        return;
    }
    const CScrollBar* pBar = GetScrollBarCtrl(nMsg == WM_HSCROLL ? SB_HORZ : SB_VERT);
    SendMessage(nMsg, MAKEWPARAM(static_cast<WORD>(nCode), static_cast<WORD>(std::max(0, nPos))),
                reinterpret_cast<LPARAM>(pBar != nullptr ? pBar->m_hWnd : nullptr));
}

// ---------------------------------------------------------------------------------------
// Mouse

void CMorvelView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_nResizeState == resizeArmed) {
        DrawResizeGuide(point.x);
        m_nGuideX = point.x;
        m_nResizeState = resizeTracking;
        return;
    }
    EndShiftExtensionWithoutShift();
    if (m_nSelectMode != selectNone && !m_nShiftExtend) {
        const CRect rcOld = GetSelectionPixelRect();
        m_nSelectMode = selectNone;
        m_nPressOrigin = pressNone;
        if (!rcOld.IsRectEmpty())
            InvalidateRect(&rcOld, FALSE);
    }
    m_ptPrevCell = CPoint(m_nCurrentCol, m_nCurrentRow);

    // The clicked column: widths are taken off from the first visible column on while what
    // is left stays at least 0, so hidden columns are passed over and a point on a right
    // edge belongs to the next column. The row headers map to the first visible column,
    // the column headers to the first visible row.
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    int nCol = std::max(0, m_nFirstVisibleCol);
    int nRest = point.x - m_nRowHeaderWidth;
    if (nRest >= 0) {
        while (nCol < nColumns && nRest - m_nColumnWidth[nCol] >= 0)
            nRest -= m_nColumnWidth[nCol++];
    }
    int nRow = m_nFirstVisibleRow;
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    if (point.y - m_nHeaderHeight >= 0)
        nRow += (point.y - m_nHeaderHeight) / nRowHeight;
    if (nCol >= nColumns || nRow >= GetRowLimit())
        return;

    m_nCurrentCol = nCol;
    m_nCurrentRow = nRow;
    InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
    {
        CClientDC dc(this);
        DrawCellCursor(&dc, 1);
    }

    if (!m_nShiftExtend) {
        const bool bInRowHeader = point.x > 0 && point.x < m_nRowHeaderWidth;
        const bool bInColumnHeader = point.y > 0 && point.y < m_nHeaderHeight;
        if (!m_bDragExtending) {
            m_nPressOrigin = bInRowHeader && bInColumnHeader ? pressCorner
                             : bInRowHeader                  ? pressRowHeader
                             : bInColumnHeader               ? pressColumnHeader
                                                             : pressNone;
        }
        m_rcPressPoint.SetRect(point.x, point.y, point.x + 2, point.y + 2);
        const CPoint cell = CellFromPoint(point.x, point.y);
        m_rcSelection.SetRect(cell.x, cell.y, cell.x, cell.y);
        SetCapture();
        if (bInColumnHeader && !bInRowHeader) {
            m_rcSelection.SetRect(nCol, 0, nCol, GetRowLimit() - 1);
            m_nSelectMode = selectColumn;
        } else if (bInColumnHeader && bInRowHeader) {
            m_rcSelection.SetRect(0, 0, nColumns - 1, GetRowLimit() - 1);
            m_nSelectMode = selectRows;
        } else if (bInRowHeader) {
            m_rcSelection.SetRect(0, nRow, nColumns - 1, nRow);
            m_nSelectMode = selectRows;
        } else {
            m_nPressOrigin = pressCells;
        }
        const CRect rcSel = GetSelectionPixelRect();
        if (!rcSel.IsRectEmpty())
            InvalidateRect(&rcSel, FALSE);
        m_rcPrevSelection = m_rcSelection;
        SetFocus();
        m_nButtonDown = 1;
    }
    CView::OnLButtonDown(nFlags, point);
}

void CMorvelView::OnLButtonUp(UINT nFlags, CPoint point)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (m_nResizeState == resizeTracking) {
        DrawResizeGuide(m_nGuideX); // XOR: drawn again, it is gone
        m_nResizeState = resizeNone;
        const int c = m_nResizeCol;
        if (c >= 0 && c < nColumns) {
            const int nWidth = std::max(10, point.x + 1 - GetColumnLeft(c));
            const int nZoom = m_nZoom > 0 ? m_nZoom : 100;
            m_nColumnWidth[c] = nWidth;
            m_nBaseColumnWidth[c] = nWidth * 100 / nZoom;
            m_nBaseColumnWidth2[c] = m_nBaseColumnWidth[c];
            RecalcTotalWidth();
            CRect rcGrid;
            GetGridClientRect(&rcGrid);
            SetScrollRanges(m_nTotalWidth + m_nRowHeaderWidth - rcGrid.Width(), GetUsedRows());
            OnColumnResized(c);
            if (CDocument* pDoc = GetDocument())
                pDoc->UpdateAllViews(nullptr);
            else
                Invalidate(TRUE);
        }
    }
    if (GetCapture() == this) {
        ReleaseCapture();
        m_nButtonDown = 0;
    }
    if (m_bDragExtending) {
        if (m_nDragScrollRunning) {
            KillTimer(TIMER_DRAG_SCROLL);
            m_nDragScrollRunning = 0;
        }
        m_bDragExtending = FALSE;
        const CPoint cell = CellFromPoint(point.x, point.y);
        const int nCellCol = std::clamp<int>(cell.x, 0, std::max(0, nColumns - 1));
        const int nCellRow = std::clamp<int>(cell.y, 0, std::max(0, GetRowLimit() - 1));
        if (m_nPressOrigin == pressRowHeader) {
            m_rcSelection.right = nColumns - 1;
            m_rcSelection.bottom = nCellRow;
        } else if (m_nPressOrigin == pressColumnHeader) {
            m_rcSelection.right = nCellCol;
            m_rcSelection.bottom = GetRowLimit() - 1;
        } else {
            m_rcSelection.right = nCellCol;
            m_rcSelection.bottom = nCellRow;
        }
    }
    // The press is over, dragged or not: a click in the cells leaves no selection block
    // behind, a header press leaves its rows or column selected (the selection mode).
    m_nPressOrigin = pressNone;
    CView::OnLButtonUp(nFlags, point);
}

void CMorvelView::OnMButtonDown(UINT nFlags, CPoint point)
{
    // The middle button alone starts the auto-scroll window; with Ctrl or with other
    // buttons it is the framework's.
    if ((nFlags & MK_CONTROL) == 0 && (nFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_MBUTTON) {
        (new CAutoScrollWnd)->StartAutoScroll(this);
        return;
    }
    CView::OnMButtonDown(nFlags, point);
}

// ---------------------------------------------------------------------------------------
// Column resizing

void CMorvelView::DrawResizeGuide(int x)
{
    if (m_hWnd == nullptr)
        return;
    CClientDC dc(this);
    CPen pen(PS_SOLID, 2, RGB(128, 128, 255));
    CPen* pOldPen = dc.SelectObject(&pen);
    const int nOldRop = dc.SetROP2(R2_XORPEN);
    dc.MoveTo(x, m_nHeaderHeight);
    dc.LineTo(x, 1000);
    dc.SetROP2(nOldRop);
    dc.SelectObject(pOldPen);
}

int CMorvelView::HitTestColumnBorder(int x, int y)
{
    if (m_nResizeState == resizeNone && (y < 0 || y > m_nHeaderHeight))
        return resizeNone;
    if (m_nResizeState == resizeTracking)
        return resizeTracking;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    CRect rcClient;
    if (m_hWnd != nullptr)
        GetClientRect(&rcClient);
    int nEdge = m_nRowHeaderWidth;
    for (int c = std::max(0, m_nFirstVisibleCol); c < nColumns; ++c) {
        nEdge += m_nColumnWidth[c];
        if (std::abs(x - nEdge) < 5) {
            m_nResizeState = resizeArmed;
            m_nResizeCol = c;
            if (m_hWnd != nullptr) {
                ::SetCursor(ColumnResizeCursor());
                SetCapture();
            }
            return resizeArmed;
        }
        if (m_hWnd != nullptr && nEdge > rcClient.right)
            break;
    }
    if (m_hWnd != nullptr)
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    m_nResizeState = resizeNone;
    return resizeNone;
}

void CMorvelView::TrackColumnResize(UINT nFlags, int x)
{
    if (m_nResizeState != resizeTracking || (nFlags & MK_LBUTTON) == 0 || m_hWnd == nullptr)
        return;
    ::SetCursor(ColumnResizeCursor());
    const int nLeft = GetColumnLeft(m_nResizeCol);
    if (x <= nLeft + 10)
        return;
    DrawResizeGuide(m_nGuideX);
    m_nGuideX = x;
    DrawResizeGuide(m_nGuideX);
    CClientDC dc(this);
    DrawResizingHeaders(&dc, m_nResizeCol, x - nLeft);
}

// ---------------------------------------------------------------------------------------
// Keyboard

namespace {

// The nearest column of nonzero width left (nStep -1) or right (+1) of nCol, or -1.
int NextVisibleColumn(const CMorvelView& view, int nCol, int nStep)
{
    const int nColumns = std::clamp(view.GetColumnCount(), 0, static_cast<int>(CMorvelView::MAX_COLUMNS));
    for (int c = nCol + nStep; c >= 0 && c < nColumns; c += nStep) {
        if (view.GetColumnWidth(c) > 0)
            return c;
    }
    return -1;
}

// The sum of the widths of columns 0 .. nCol: the right edge in grid coordinates.
int AbsoluteRight(const CMorvelView& view, int nCol)
{
    int x = 0;
    for (int c = 0; c <= nCol && c < CMorvelView::MAX_COLUMNS; ++c)
        x += view.GetColumnWidth(c);
    return x;
}

} // namespace

bool CMorvelView::IsModifierKey(UINT nChar)
{
    switch (nChar) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LWIN:
    case VK_RWIN:
        return true;
    default:
        return false;
    }
}

void CMorvelView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // A modifier held down before Ctrl+C, Shift+Del or Ctrl+Ins keeps the selection those
    // commands act on; only the key it modifies decides.
    if (!IsModifierKey(nChar)) {
        const CKeyStart key = StartKeyMove();
        switch (nChar) {
        case VK_PRIOR:
        case VK_NEXT:
            PageByKey(nChar, key);
            break;
        case VK_LEFT:
            MoveLeftByKey(key);
            break;
        case VK_RIGHT:
            MoveRightByKey(key);
            break;
        case VK_UP:
            MoveUpByKey(key);
            break;
        case VK_DOWN:
            MoveDownByKey(key);
            break;
        case VK_HOME:
        case VK_END:
            if (IsControlDown())
                JumpByKey(nChar, key);
            break;
        default:
            break;
        }
    }
    if (m_hWnd != nullptr)
        CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

CMorvelView::CKeyStart CMorvelView::StartKeyMove()
{
    EndShiftExtensionWithoutShift();
    CKeyStart key;
    key.bShift = IsShiftDown();
    if (m_nSelectMode != selectNone && !m_nShiftExtend) {
        const CRect rcOld = GetSelectionPixelRect();
        if (m_hWnd != nullptr && !rcOld.IsRectEmpty())
            InvalidateRect(&rcOld, FALSE);
        if (m_nSelectMode == selectRows)
            m_rcSelection.bottom = m_rcSelection.top;
        else if (m_nSelectMode == selectBlock)
            m_nSelectMode = selectNone;
    }
    m_ptPrevCell = CPoint(m_nCurrentCol, m_nCurrentRow);
    key.ptAnchor = m_ptPrevCell;
    key.nModeBefore = m_nSelectMode;
    return key;
}

void CMorvelView::ClearSelectionUnlessShift(const CKeyStart& key)
{
    if (!key.bShift)
        ClearSelection();
}

void CMorvelView::ShowKeyMove()
{
    InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    if (m_hWnd != nullptr) {
        CClientDC dc(this);
        DrawCellCursor(&dc, 1);
    }
}

void CMorvelView::ExtendByShift(const CKeyStart& key)
{
    if (!key.bShift)
        return;
    if (!m_nShiftExtend && key.nModeBefore == selectRows)
        m_nSelectMode = selectRows;
    ExtendSelection(m_nShiftExtend, key.ptAnchor.x, key.ptAnchor.y);
}

void CMorvelView::PageByKey(UINT nChar, const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (nChar == VK_PRIOR)
        PageUp();
    else
        PageDown();
    ExtendByShift(key);
}

void CMorvelView::MoveLeftByKey(const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (JumpByCtrlArrow(VK_LEFT, key))
        return;
    if (HasFixedColumns()) {
        MoveLeftFixed();
        return;
    }
    const int nPrev = NextVisibleColumn(*this, m_nCurrentCol, -1);
    if (m_nCurrentCol == 0 || nPrev < 0) {
        // Left at the row's start goes on at the end of the row above.
        const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
        CRect rcGrid;
        GetGridClientRect(&rcGrid);
        const int nLast = NextVisibleColumn(*this, nColumns, -1);
        const int nPos = AbsoluteRight(*this, nLast) - (rcGrid.right - m_nRowHeaderWidth);
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, std::max(0, nPos));
        ScrollView(WM_HSCROLL, SB_LINERIGHT, 0);
        if (nLast > m_nCurrentCol)
            m_nCurrentCol = nLast;
        InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
        SendKeyPressAndRelease(VK_UP);
        return;
    }
    if (m_nCurrentCol == m_nFirstVisibleCol)
        ScrollView(WM_HSCROLL, SB_LINELEFT, 0);
    m_nCurrentCol = nPrev;
    ShowKeyMove();
    ExtendByShift(key);
}

void CMorvelView::MoveRightByKey(const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (JumpByCtrlArrow(VK_RIGHT, key))
        return;
    if (HasFixedColumns()) {
        MoveRightFixed();
        return;
    }
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const int nNext = NextVisibleColumn(*this, m_nCurrentCol, 1);
    if (m_nCurrentCol < nColumns - 1 && nNext >= 0) {
        // Scroll right column by column until the next column's right edge fits.
        CRect rcGrid;
        GetGridClientRect(&rcGrid);
        while (m_nFirstVisibleCol < nNext && GetColumnLeft(nNext) + m_nColumnWidth[nNext] > rcGrid.right) {
            const int nBefore = m_nFirstVisibleCol;
            ScrollView(WM_HSCROLL, SB_LINERIGHT, 0);
            if (m_nFirstVisibleCol == nBefore)
                break;
        }
        m_nCurrentCol = nNext;
        ShowKeyMove();
        ExtendByShift(key);
        return;
    }
    // Right at the row's end goes on at the start of the row below.
    ScrollView(WM_HSCROLL, SB_THUMBTRACK, 0);
    const int nFirst = NextVisibleColumn(*this, -1, 1);
    m_nCurrentCol = nFirst >= 0 ? nFirst : 0;
    InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
    SendKeyPressAndRelease(VK_DOWN);
}

void CMorvelView::MoveUpByKey(const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (m_nCurrentRow <= 0 || JumpByCtrlArrow(VK_UP, key))
        return;
    if (m_nCurrentRow == m_nFirstVisibleRow)
        ScrollView(WM_VSCROLL, SB_LINEUP, 0);
    --m_nCurrentRow;
    ShowKeyMove();
    ExtendByShift(key);
}

void CMorvelView::MoveDownByKey(const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (m_nCurrentRow >= GetRowLimit() - 1 || JumpByCtrlArrow(VK_DOWN, key))
        return;
    // One row down, scrolling when the row below the cursor would pass the grid's bottom.
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    if (m_hWnd != nullptr &&
        rcGrid.bottom < (m_nCurrentRow - m_nFirstVisibleRow + 2) * nRowHeight + m_nHeaderHeight)
        ScrollView(WM_VSCROLL, SB_LINEDOWN, 0);
    ++m_nCurrentRow;
    ShowKeyMove();
    ExtendByShift(key);
}

bool CMorvelView::JumpByCtrlArrow(UINT nChar, const CKeyStart& key)
{
    if (!IsControlDown())
        return false;
    switch (nChar) {
    case VK_UP:
        MoveToFirstRow();
        break;
    case VK_DOWN:
        MoveToLastRow();
        break;
    case VK_LEFT:
        MoveToFirstColumn();
        break;
    default:
        MoveToLastColumn();
        break;
    }
    ExtendByShift(key);
    return true;
}

void CMorvelView::JumpByKey(UINT nChar, const CKeyStart& key)
{
    ClearSelectionUnlessShift(key);
    if (nChar == VK_HOME)
        MoveToFirstCell();
    else
        MoveToLastUsedCell();
}

void CMorvelView::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SHIFT)
        m_nShiftExtend = 0;
    if (m_hWnd != nullptr)
        CView::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CMorvelView::EndShiftExtensionWithoutShift()
{
    if (m_nShiftExtend && !IsShiftDown())
        m_nShiftExtend = 0;
}

void CMorvelView::PageUp()
{
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int n = std::max(1, (static_cast<int>(rcGrid.bottom) - m_nHeaderHeight + 1) / nRowHeight);
    if (m_nFirstVisibleRow <= 0)
        return;
    // The click lands where the cursor was on the screen, so it keeps its place there.
    const int yOld = (m_nCurrentRow - m_nFirstVisibleRow) * nRowHeight + m_nHeaderHeight + 3;
    const int x = GetColumnLeft(std::max(m_nCurrentCol, m_nFirstVisibleCol)) + 3;
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(m_nFirstVisibleRow - n, 0));
    SimulateClick(x, yOld, yOld);
}

void CMorvelView::PageDown()
{
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int n = std::max(1, (static_cast<int>(rcGrid.bottom) - m_nHeaderHeight + 1) / nRowHeight);
    if (m_nFirstVisibleRow + n >= GetRowLimit())
        return;
    const int yOld = (m_nCurrentRow - m_nFirstVisibleRow) * nRowHeight + m_nHeaderHeight + 3;
    const int x = GetColumnLeft(std::max(m_nCurrentCol, m_nFirstVisibleCol)) + 3;
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, m_nFirstVisibleRow + n);
    SimulateClick(x, yOld, 3);
}

// ---------------------------------------------------------------------------------------
// Selection extension

void CMorvelView::ExtendSelection(int nContinuing, int nAnchorCol, int nAnchorRow)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (!nContinuing) {
        if (m_nSelectMode == selectRows) {
            m_rcSelection.SetRect(0, nAnchorRow, nColumns - 1, m_nCurrentRow);
        } else {
            m_nSelectMode = selectBlock;
            m_rcSelection.SetRect(nAnchorCol, nAnchorRow, m_nCurrentCol, m_nCurrentRow);
        }
        const CRect rcSel = GetSelectionPixelRect();
        if (m_hWnd != nullptr && !rcSel.IsRectEmpty())
            InvalidateRect(&rcSel, FALSE);
        m_nShiftExtend = 1;
    } else if (m_nSelectMode == selectRows) {
        m_rcSelection.bottom = m_nCurrentRow;
    } else {
        m_rcSelection.right = m_nCurrentCol;
        m_rcSelection.bottom = m_nCurrentRow;
    }

    // Every cell in exactly one of the old and the new selection is repainted: row bands
    // of the union, whole where a row lies in one selection only, else the columns that
    // differ.
    if (m_hWnd != nullptr) {
        CRect a, b;
        NormalizeCellRange(m_rcPrevSelection.left, m_rcPrevSelection.top, m_rcPrevSelection.right,
                           m_rcPrevSelection.bottom, &a);
        NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                           &b);
        const int nTop = std::max<int>(std::min(a.top, b.top), m_nFirstVisibleRow);
        const int nBottom =
            std::min<int>(std::max(a.bottom, b.bottom), m_nFirstVisibleRow + GetVisibleRowCount());
        const CRect u = UnionRange(a, b);
        for (int r = nTop; r <= nBottom; ++r) {
            const bool inA = r >= a.top && r <= a.bottom;
            const bool inB = r >= b.top && r <= b.bottom;
            if (inA != inB) {
                const CRect& only = inA ? a : b;
                InvalidateCells(only.left, r, only.right, r);
            } else if (inA && inB) {
                for (int c = u.left; c <= u.right; ++c) {
                    if ((c >= a.left && c <= a.right) != (c >= b.left && c <= b.right))
                        InvalidateCell(c, r);
                }
            }
        }
        UpdateWindow();
    }
    m_rcPrevSelection = m_rcSelection;
}

// ---------------------------------------------------------------------------------------
// Input-fixed columns

std::vector<int> CMorvelView::InputFixedColumns() const
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    std::vector<int> marks;
    for (int c = 0; c < nColumns; ++c) {
        if (m_nInputFixed[c] != 0)
            marks.push_back(c);
    }
    return marks;
}

void CMorvelView::MoveLeftFixed()
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const std::vector<int> marks = InputFixedColumns();
    if (marks.empty())
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    if (marks.size() == 1) {
        // One marked column: the cursor walks it row by row.
        m_nCurrentCol = marks.front();
        InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
        SendKeyPressAndRelease(VK_UP);
        return;
    }
    if (m_nCurrentCol <= marks.front()) {
        const int nLast = marks.back();
        const int nPos = AbsoluteRight(*this, nLast) - (rcGrid.right - m_nRowHeaderWidth);
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, std::max(0, nPos));
        m_nCurrentCol = nLast;
        ScrollCellIntoView(m_nCurrentRow, nLast);
        InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
        SendKeyPressAndRelease(VK_UP);
        return;
    }
    int nTarget = marks.front();
    for (int c : marks) {
        if (c < m_nCurrentCol)
            nTarget = c;
    }
    if (nTarget < m_nFirstVisibleCol)
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, AbsoluteRight(*this, nTarget) - m_nColumnWidth[nTarget]);
    m_nCurrentCol = nTarget;
    while (m_nCurrentCol < nColumns - 1 && m_nColumnWidth[m_nCurrentCol] == 0)
        ++m_nCurrentCol;
    InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
}

void CMorvelView::MoveRightFixed()
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const std::vector<int> marks = InputFixedColumns();
    if (marks.empty())
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nGridWidth = rcGrid.right - m_nRowHeaderWidth;
    if (marks.size() == 1) {
        m_nCurrentCol = marks.front();
        InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
        SendKeyPressAndRelease(VK_DOWN);
        return;
    }
    if (m_nCurrentCol >= marks.back()) {
        const int nFirst = marks.front();
        const int nPos = AbsoluteRight(*this, nFirst) - nGridWidth;
        ScrollView(WM_HSCROLL, SB_THUMBTRACK, std::max(0, nPos));
        m_nCurrentCol = nFirst;
        InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
        SendKeyPressAndRelease(VK_DOWN);
        return;
    }
    int nTarget = marks.back();
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        if (*it > m_nCurrentCol)
            nTarget = *it;
    }
    ScrollView(WM_HSCROLL, SB_THUMBTRACK, std::max(0, AbsoluteRight(*this, nTarget) - nGridWidth));
    m_nCurrentCol = nTarget;
    ScrollCellIntoView(m_nCurrentRow, nTarget);
    while (m_nCurrentCol < nColumns - 1 && m_nColumnWidth[m_nCurrentCol] == 0)
        ++m_nCurrentCol;
    InvalidateCell(m_ptPrevCell.x, m_ptPrevCell.y);
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
}

void CMorvelView::ScrollCellIntoView(int nRow, int nCol)
{
    ScrollRowIntoView(nRow);
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (nCol < 0 || nCol >= nColumns)
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    for (int nStep = 0; nStep <= nColumns; ++nStep) {
        const int nLeft = GetColumnLeft(nCol);
        const int nRight = nLeft + m_nColumnWidth[nCol];
        const int nBefore = m_nFirstVisibleCol;
        if (nRight > rcGrid.right && m_nFirstVisibleCol < nCol)
            ScrollView(WM_HSCROLL, SB_LINERIGHT, 0);
        else if (nLeft < m_nRowHeaderWidth)
            ScrollView(WM_HSCROLL, SB_LINELEFT, 0);
        else
            break;
        if (m_nFirstVisibleCol == nBefore)
            break;
    }
}

void CMorvelView::ScrollRowIntoView(int nRow)
{
    if (m_hWnd == nullptr || nRow < 0 || nRow >= GetRowLimit())
        return;
    // Above the grid area the row becomes its first row, below it its last whole one.
    const int nVisible = std::max(1, GetVisibleRowCount());
    int nFirst = m_nFirstVisibleRow;
    if (nRow < nFirst)
        nFirst = nRow;
    else if (nRow >= nFirst + nVisible)
        nFirst = nRow - nVisible + 1;
    const int nDelta = nFirst - m_nFirstVisibleRow;
    // A few rows line by line, as the arrow keys scroll (past the used rows the scroll bar's
    // range follows the lines); farther at once.
    constexpr int kLineSteps = 3;
    if (nDelta == 0)
        return;
    if (nDelta > kLineSteps || nDelta < -kLineSteps) {
        ScrollView(WM_VSCROLL, SB_THUMBTRACK, nFirst);
        return;
    }
    for (int i = 0; i < std::abs(nDelta); ++i)
        ScrollView(WM_VSCROLL, nDelta > 0 ? SB_LINEDOWN : SB_LINEUP, 0);
}

// ---------------------------------------------------------------------------------------
// Ctrl+arrow jumps

void CMorvelView::ScrollToLastColumn()
{
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    ScrollView(WM_HSCROLL, SB_THUMBTRACK,
               std::max(0, m_nTotalWidth - static_cast<int>(rcGrid.Width()) + m_nRowHeaderWidth));
    ScrollView(WM_HSCROLL, SB_LINERIGHT, 0);
}

void CMorvelView::MoveToLastColumn()
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    // The last column that can hold the cursor (hidden columns cannot).
    const int nLast = NextVisibleColumn(*this, nColumns, -1);
    if (nLast < 0 || m_nCurrentCol >= nLast)
        return;
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    ScrollToLastColumn();
    CRect rcCell;
    GetCellRangeRect(nLast, m_nCurrentRow, nLast, m_nCurrentRow, &rcCell);
    SimulateClick(rcCell.left + 3, rcCell.top + 3, rcCell.top + 3);
}

void CMorvelView::MoveToFirstColumn()
{
    const int nFirst = NextVisibleColumn(*this, -1, 1);
    if (nFirst < 0 || m_nCurrentCol <= nFirst)
        return;
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    ScrollView(WM_HSCROLL, SB_THUMBTRACK, 0);
    CRect rcCell;
    GetCellRangeRect(nFirst, m_nCurrentRow, nFirst, m_nCurrentRow, &rcCell);
    SimulateClick(rcCell.left + 3, rcCell.top + 3, rcCell.top + 3);
}

void CMorvelView::MoveToLastRow()
{
    const int nLastUsed = GetUsedRows() - 1;
    if (m_nCurrentRow >= nLastUsed)
        return;
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    // The last used row becomes the last row on the screen, and the cursor goes there.
    const int nVisible = std::max(1, GetVisibleRowCount());
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, GetUsedRows() - nVisible));
    const int nCol = std::max(m_nCurrentCol, m_nFirstVisibleCol);
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    const int y = (nLastUsed - m_nFirstVisibleRow) * nRowHeight + m_nHeaderHeight + 3;
    SimulateClick(GetColumnLeft(nCol) + 3, y, y);
}

void CMorvelView::MoveToFirstRow()
{
    if (m_nCurrentRow <= 0)
        return;
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, 0);
    const int nCol = std::max(m_nCurrentCol, m_nFirstVisibleCol);
    // 3 pixels into the first row, below the column headers.
    const int y = m_nHeaderHeight + 3;
    SimulateClick(GetColumnLeft(nCol) + 3, y, y);
}

void CMorvelView::MoveToFirstCell()
{
    const int nFirst = NextVisibleColumn(*this, -1, 1);
    if (nFirst < 0)
        return;
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, 0);
    ScrollView(WM_HSCROLL, SB_THUMBTRACK, 0);
    CRect rcCell;
    GetCellRangeRect(nFirst, 0, nFirst, 0, &rcCell);
    SimulateClick(rcCell.left + 3, rcCell.top + 3, rcCell.top + 3);
}

void CMorvelView::MoveToLastUsedCell()
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const int nLast = NextVisibleColumn(*this, nColumns, -1);
    if (nLast < 0)
        return;
    const int nRow = std::max(0, GetUsedRows() - 1);
    InvalidateCell(m_nCurrentCol, m_nCurrentRow);
    // The last used row becomes the last row on the screen, the last column the rightmost.
    const int nVisible = std::max(1, GetVisibleRowCount());
    ScrollView(WM_VSCROLL, SB_THUMBTRACK, std::max(0, nRow + 1 - nVisible));
    ScrollToLastColumn();
    CRect rcCell;
    GetCellRangeRect(nLast, nRow, nLast, nRow, &rcCell);
    SimulateClick(rcCell.left + 3, rcCell.top + 3, rcCell.top + 3);
}

void CMorvelView::SendKeyUpDown(UINT nChar)
{
    if (m_hWnd != nullptr) {
        SendMessage(WM_KEYUP, nChar, static_cast<LPARAM>(0xC0000001u));
        SendMessage(WM_KEYDOWN, nChar, 1);
    } else {
        OnKeyUp(nChar, 1, 0xC000);
        OnKeyDown(nChar, 1, 0);
    }
}

void CMorvelView::MoveAfterInput()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const int nDirection = pSettings != nullptr ? pSettings->m_nDirection : 1;
    if (nDirection == 1)
        SendKeyUpDown(VK_RIGHT);
    else if (nDirection == 2)
        SendKeyUpDown(VK_DOWN);
}

// ---------------------------------------------------------------------------------------
// Drag selection and its auto-scroll

void CMorvelView::RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew)
{
    if (m_hWnd == nullptr)
        return;
    CRect u, kept;
    if (!GetSelectionChange(rcOld, rcNew, GetColumnCount() - 1, u, kept))
        return;
    CRect rcPixels;
    GetCellRangeRect(u.left, u.top, u.right, u.bottom, &rcPixels);
    if (!rcPixels.IsRectEmpty())
        InvalidateRect(&rcPixels, FALSE);
}

void CMorvelView::DragSelectTo(UINT nFlags, CPoint point)
{
    if (m_hWnd == nullptr || GetCapture() != this)
        return;
    const bool bDragOrigin = m_nPressOrigin == pressRowHeader || m_nPressOrigin == pressColumnHeader ||
                             m_nPressOrigin == pressCells;
    if ((nFlags & MK_LBUTTON) == 0 || !bDragOrigin) {
        ::ReleaseCapture();
        return;
    }
    m_bDragExtending = TRUE;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const CPoint cell = CellFromPoint(point.x, point.y);
    if (m_nPressOrigin == pressRowHeader) {
        m_rcSelection.right = nColumns - 1;
        m_rcSelection.bottom = cell.y;
    } else if (m_nPressOrigin == pressColumnHeader) {
        m_rcSelection.right = cell.x;
        m_rcSelection.bottom = GetRowLimit() - 1;
    } else {
        m_rcSelection.right = cell.x;
        m_rcSelection.bottom = cell.y;
        m_nSelectMode = selectBlock;
    }
    CRect rcNew;
    NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                       &rcNew);
    CRect rcOld;
    NormalizeCellRange(m_rcPrevSelection.left, m_rcPrevSelection.top, m_rcPrevSelection.right,
                       m_rcPrevSelection.bottom, &rcOld);
    if (rcNew != rcOld) {
        RedrawSelectionChange(rcOld, rcNew);
        m_rcPrevSelection = rcNew;
    }

    // Out of the grid area the drag scrolls on by timer: below, above, right, left (the last
    // that applies wins). Back over the grid, the ticks only wait.
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    int nDirection = 0;
    if (point.y > rcGrid.bottom)
        nDirection = dragScrollDown;
    if (point.y < rcGrid.top)
        nDirection = dragScrollUp;
    if (point.x > rcGrid.right)
        nDirection = dragScrollRight;
    if (point.x < rcGrid.left)
        nDirection = dragScrollLeft;
    m_nDragScrollDir = nDirection;
    if (nDirection != 0 && !m_nDragScrollRunning) {
        SetTimer(TIMER_DRAG_SCROLL, static_cast<UINT>(GetDragScrollInterval(nDirection)));
        m_nDragScrollRunning = 1;
    }
}

void CMorvelView::DragScrollTick()
{
    if (!m_nDragScrollRunning || !m_bDragExtending)
        return;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    CRect rcOld;
    NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                       &rcOld);
    switch (m_nDragScrollDir) {
    case dragScrollDown:
        m_rcSelection.bottom = std::min<LONG>(m_rcSelection.bottom + 1, GetRowLimit() - 1);
        if (m_nFirstVisibleRow + GetVisibleRowCount() < GetRowLimit())
            ScrollView(WM_VSCROLL, SB_LINEDOWN, 0);
        break;
    case dragScrollUp:
        m_rcSelection.bottom = std::max<LONG>(m_rcSelection.bottom - 1, 0);
        ScrollView(WM_VSCROLL, SB_LINEUP, 0);
        break;
    case dragScrollRight: {
        // As many columns as the first visible one is wide.
        const int nFirstWidth =
            m_nFirstVisibleCol >= 0 && m_nFirstVisibleCol < nColumns ? m_nColumnWidth[m_nFirstVisibleCol] : 0;
        int nEnd = m_rcSelection.right;
        int nCovered = 0;
        while (nCovered < nFirstWidth && nEnd < nColumns - 1)
            nCovered += m_nColumnWidth[++nEnd];
        m_rcSelection.right = std::max(0, std::min(nEnd, nColumns - 1));
        ScrollView(WM_HSCROLL, SB_LINERIGHT, 0);
        break;
    }
    case dragScrollLeft:
        m_rcSelection.right = std::max<LONG>(m_rcSelection.right - 1, 0);
        if (m_nFirstVisibleCol > 0)
            ScrollView(WM_HSCROLL, SB_LINELEFT, 0);
        break;
    default:
        break;
    }
    CRect rcNew;
    NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                       &rcNew);
    if (rcNew != rcOld)
        RedrawSelectionChange(rcOld, rcNew);
    m_rcPrevSelection = rcNew;
}

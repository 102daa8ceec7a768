// The window class of the grid control (CGridCtrl.h): a self-drawn window whose state
// lives in one table, keyed by the window, so that the control behaves the same whichever
// object stands for it.
#include "platform/ui/controls/CGridCtrl.h"

#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

// The table may hold at most this many cells (rows x columns).
constexpr long kMaxCells = 4'000'000;
constexpr long kDefaultRowHeight = 255; // twips
constexpr long kDefaultColWidth = 960;
constexpr int kTwipsPerPixel = 15; // 1440 / 96
constexpr int kSizingSlop = 3;     // pixels either side of a column line

int ToPixels(long twips)
{
    return static_cast<int>(std::max(0L, twips) / kTwipsPerPixel);
}

struct CGridData {
    int nRows = 2;
    int nCols = 2;
    int nRow = 1;
    int nCol = 1;
    int nTopRow = 1;
    int nLeftCol = 1;
    long nScrollBars = 0;
    std::vector<long> rowHeights = std::vector<long>(2, kDefaultRowHeight);
    std::vector<long> colWidths = std::vector<long>(2, kDefaultColWidth);
    std::vector<CString> cells = std::vector<CString>(4);
    // Column resizing by the user.
    int nSizingCol = -1;
    int xSizingStart = 0;
    long nSizingWidth = 0;

    CString& Cell(int r, int c)
    {
        return cells[static_cast<size_t>(r) * static_cast<size_t>(nCols) + static_cast<size_t>(c)];
    }
    // Extents in pixels, grid line included.
    int RowExtent(int r) const { return ToPixels(rowHeights[static_cast<size_t>(r)]) + 1; }
    int ColExtent(int c) const { return ToPixels(colWidths[static_cast<size_t>(c)]) + 1; }

    // Left edge of a column in pixels inside the frame, as the view shows it now.
    int ColPosPixels(int c) const
    {
        if (c <= 0)
            return 0;
        int x = ColExtent(0);
        if (c >= nLeftCol) {
            for (int k = nLeftCol; k < c; ++k)
                x += ColExtent(k);
        } else {
            for (int k = c; k < nLeftCol; ++k)
                x -= ColExtent(k);
        }
        return x;
    }
    int RowPosPixels(int r) const
    {
        if (r <= 0)
            return 0;
        int y = RowExtent(0);
        if (r >= nTopRow) {
            for (int k = nTopRow; k < r; ++k)
                y += RowExtent(k);
        } else {
            for (int k = r; k < nTopRow; ++k)
                y -= RowExtent(k);
        }
        return y;
    }

    // Scrollable rows (columns) wholly visible from the top row (left column) in an area
    // of cy (cx) pixels inside the frame; at least 1.
    int VisibleRowsFrom(int top, int cy) const
    {
        int y = RowExtent(0);
        int n = 0;
        for (int r = top; r < nRows; ++r) {
            y += RowExtent(r) - 1;
            if (y > cy)
                break;
            ++n;
            ++y;
        }
        return std::max(n, 1);
    }
    int VisibleColsFrom(int left, int cx) const
    {
        int x = ColExtent(0);
        int n = 0;
        for (int c = left; c < nCols; ++c) {
            x += ColExtent(c) - 1;
            if (x > cx)
                break;
            ++n;
            ++x;
        }
        return std::max(n, 1);
    }
    // The largest top row that still fills the view, and the same for the left column.
    int MaxTopRow(int cy) const
    {
        int y = RowExtent(0);
        int top = nRows - 1;
        for (int r = nRows - 1; r >= 1; --r) {
            y += RowExtent(r);
            if (y - 1 > cy)
                break;
            top = r;
        }
        return std::max(1, top);
    }
    int MaxLeftCol(int cx) const
    {
        int x = ColExtent(0);
        int left = nCols - 1;
        for (int c = nCols - 1; c >= 1; --c) {
            x += ColExtent(c);
            if (x - 1 > cx)
                break;
            left = c;
        }
        return std::max(1, left);
    }

    void Resize(int rows, int cols)
    {
        std::vector<CString> next(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        for (int r = 0; r < std::min(rows, nRows); ++r) {
            for (int c = 0; c < std::min(cols, nCols); ++c)
                next[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)] =
                    Cell(r, c);
        }
        cells.swap(next);
        rowHeights.resize(static_cast<size_t>(rows), kDefaultRowHeight);
        colWidths.resize(static_cast<size_t>(cols), kDefaultColWidth);
        nRows = rows;
        nCols = cols;
        nRow = std::min(nRow, rows - 1);
        nCol = std::min(nCol, cols - 1);
        nTopRow = std::clamp(nTopRow, 1, rows - 1);
        nLeftCol = std::clamp(nLeftCol, 1, cols - 1);
    }
};

// The grids that exist, by window.
std::map<HWND, CGridData>& GridTable()
{
    static std::map<HWND, CGridData> s_grids;
    return s_grids;
}

CGridData* DataOf(CWnd* pWnd)
{
    auto& table = GridTable();
    auto it = table.find(pWnd->m_hWnd);
    return it == table.end() ? nullptr : &it->second;
}

// The area inside the one-pixel frame.
CRect InnerRect(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    rc.DeflateRect(1, 1);
    return rc;
}

void Notify(CWnd* pWnd, UINT nCode)
{
    CWnd* pParent = pWnd->GetParent();
    if (!pParent)
        return;
    NMHDR hdr{pWnd->m_hWnd, static_cast<UINT_PTR>(pWnd->GetDlgCtrlID()), nCode};
    pParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(hdr.idFrom), reinterpret_cast<LPARAM>(&hdr));
}

void UpdateScrollBars(CWnd* pWnd, CGridData& g)
{
    const CRect inner = InnerRect(pWnd);
    const bool bHorz = (g.nScrollBars & 1) != 0;
    const bool bVert = (g.nScrollBars & 2) != 0;
    pWnd->ShowScrollBar(SB_HORZ, bHorz);
    pWnd->ShowScrollBar(SB_VERT, bVert);
    if (bVert) {
        SCROLLINFO si{sizeof(SCROLLINFO),
                      SIF_ALL | SIF_DISABLENOSCROLL,
                      1,
                      g.nRows - 1,
                      static_cast<UINT>(g.VisibleRowsFrom(g.nTopRow, inner.Height())),
                      g.nTopRow,
                      0};
        pWnd->SetScrollInfo(SB_VERT, &si, TRUE);
    }
    if (bHorz) {
        SCROLLINFO si{sizeof(SCROLLINFO),
                      SIF_ALL | SIF_DISABLENOSCROLL,
                      1,
                      g.nCols - 1,
                      static_cast<UINT>(g.VisibleColsFrom(g.nLeftCol, inner.Width())),
                      g.nLeftCol,
                      0};
        pWnd->SetScrollInfo(SB_HORZ, &si, TRUE);
    }
}

void Changed(CWnd* pWnd, CGridData& g)
{
    UpdateScrollBars(pWnd, g);
    pWnd->Invalidate(FALSE);
}

void SetTopRow(CWnd* pWnd, CGridData& g, int nTop)
{
    const int top = std::clamp(nTop, 1, g.MaxTopRow(InnerRect(pWnd).Height()));
    if (top == g.nTopRow)
        return;
    g.nTopRow = top;
    Changed(pWnd, g);
}

void SetLeftCol(CWnd* pWnd, CGridData& g, int nLeft)
{
    const int left = std::clamp(nLeft, 1, g.MaxLeftCol(InnerRect(pWnd).Width()));
    if (left == g.nLeftCol)
        return;
    g.nLeftCol = left;
    Changed(pWnd, g);
}

// Makes (row, col) current; reports a change. The table may be gone after the report
// (the parent may destroy the control), so callers look the data up again.
void MoveCurrent(CWnd* pWnd, CGridData& g, int nRow, int nCol)
{
    if (nRow < 0 || nRow >= g.nRows || nCol < 0 || nCol >= g.nCols)
        return;
    if (nRow == g.nRow && nCol == g.nCol)
        return;
    g.nRow = nRow;
    g.nCol = nCol;
    pWnd->Invalidate(FALSE);
    Notify(pWnd, GRIDN_ROWCOLCHANGE);
}

// Keeps the current cell in view after the user moved it.
void ScrollIntoView(CWnd* pWnd, CGridData& g)
{
    const CRect inner = InnerRect(pWnd);
    if (g.nRow >= 1) {
        if (g.nRow < g.nTopRow)
            SetTopRow(pWnd, g, g.nRow);
        else if (g.nRow >= g.nTopRow + g.VisibleRowsFrom(g.nTopRow, inner.Height()))
            SetTopRow(pWnd, g, g.nRow - g.VisibleRowsFrom(g.nTopRow, inner.Height()) + 1);
    }
    if (g.nCol >= 1) {
        if (g.nCol < g.nLeftCol)
            SetLeftCol(pWnd, g, g.nCol);
        else if (g.nCol >= g.nLeftCol + g.VisibleColsFrom(g.nLeftCol, inner.Width()))
            SetLeftCol(pWnd, g, g.nCol - g.VisibleColsFrom(g.nLeftCol, inner.Width()) + 1);
    }
}

// The column whose right-hand line is under x (pixels inside the frame), for resizing.
int SizingColumnAt(const CGridData& g, int x, int cx)
{
    auto lineOf = [&](int c) { return g.ColPosPixels(c) + g.ColExtent(c) - 1; };
    if (std::abs(x - lineOf(0)) <= kSizingSlop)
        return 0;
    for (int c = g.nLeftCol; c < g.nCols; ++c) {
        const int line = lineOf(c);
        if (line > cx + kSizingSlop)
            break;
        if (std::abs(x - line) <= kSizingSlop)
            return c;
    }
    return -1;
}

// The cell under a point inside the frame, or false.
bool CellAt(const CGridData& g, CPoint pt, int& nRow, int& nCol)
{
    nRow = -1;
    nCol = -1;
    if (pt.y >= 0 && pt.y < g.RowExtent(0)) {
        nRow = 0;
    } else {
        for (int r = g.nTopRow; r < g.nRows; ++r) {
            const int top = g.RowPosPixels(r);
            if (pt.y >= top && pt.y < top + g.RowExtent(r)) {
                nRow = r;
                break;
            }
        }
    }
    if (pt.x >= 0 && pt.x < g.ColExtent(0)) {
        nCol = 0;
    } else {
        for (int c = g.nLeftCol; c < g.nCols; ++c) {
            const int left = g.ColPosPixels(c);
            if (pt.x >= left && pt.x < left + g.ColExtent(c)) {
                nCol = c;
                break;
            }
        }
    }
    return nRow >= 0 && nCol >= 0;
}

void Paint(CWnd* pWnd, CGridData& g)
{
    CPaintDC dc(pWnd);
    CRect client;
    pWnd->GetClientRect(&client);
    const COLORREF clrFrame = RGB(0x40, 0x40, 0x40);
    const COLORREF clrFixedLine = RGB(0x80, 0x80, 0x80);
    const COLORREF clrLine = RGB(0xC0, 0xC0, 0xC0);
    dc.FillSolidRect(&client, RGB(0x80, 0x80, 0x80));
    HFONT hFont = reinterpret_cast<HFONT>(pWnd->SendMessage(WM_GETFONT));
    CFont* pOldFont = hFont ? dc.SelectObject(CFont::FromHandle(hFont)) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    const CRect inner = InnerRect(pWnd);
    const bool bFocus = CWnd::GetFocus() == pWnd;

    auto paintCell = [&](int r, int c) {
        const int x = inner.left + g.ColPosPixels(c);
        const int y = inner.top + g.RowPosPixels(r);
        const int cx = g.ColExtent(c) - 1;
        const int cy = g.RowExtent(r) - 1;
        if (x >= inner.right || y >= inner.bottom || x + cx + 1 <= inner.left || y + cy + 1 <= inner.top)
            return;
        const bool bFixed = r == 0 || c == 0;
        CRect cell(x, y, x + cx, y + cy);
        dc.FillSolidRect(&cell, bFixed ? ::GetSysColor(COLOR_BTNFACE) : ::GetSysColor(COLOR_WINDOW));
        dc.FillSolidRect(x + cx, y, 1, cy + 1, bFixed ? clrFixedLine : clrLine);
        dc.FillSolidRect(x, y + cy, cx + 1, 1, bFixed ? clrFixedLine : clrLine);
        const CString& text = g.Cell(r, c);
        if (!text.IsEmpty()) {
            CRect rcText = cell;
            rcText.DeflateRect(GRID_CELL_MARGIN, 0);
            dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            dc.DrawText(text, &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (bFocus && r == g.nRow && c == g.nCol && !bFixed) {
            CRect rcFocus = cell;
            rcFocus.DeflateRect(1, 1);
            dc.DrawFocusRect(&rcFocus);
        }
    };

    dc.SaveDC();
    dc.IntersectClipRect(&inner);
    // Scrollable cells first, then the header column, the header row and their corner on
    // top, so that the headers stay in view.
    for (int r = g.nTopRow; r < g.nRows && g.RowPosPixels(r) < inner.Height(); ++r) {
        for (int c = g.nLeftCol; c < g.nCols && g.ColPosPixels(c) < inner.Width(); ++c)
            paintCell(r, c);
        paintCell(r, 0);
    }
    for (int c = g.nLeftCol; c < g.nCols && g.ColPosPixels(c) < inner.Width(); ++c)
        paintCell(0, c);
    paintCell(0, 0);
    dc.RestoreDC(-1);
    // The frame.
    dc.FillSolidRect(client.left, client.top, client.Width(), 1, clrFrame);
    dc.FillSolidRect(client.left, client.bottom - 1, client.Width(), 1, clrFrame);
    dc.FillSolidRect(client.left, client.top, 1, client.Height(), clrFrame);
    dc.FillSolidRect(client.right - 1, client.top, 1, client.Height(), clrFrame);
    if (pOldFont)
        dc.SelectObject(pOldFont);
}

LRESULT GetProperty(CWnd* pWnd, CGridData& g, WORD nProperty, int nIndex)
{
    switch (nProperty) {
    case GRIDP_ROWS:
        return g.nRows;
    case GRIDP_COLS:
        return g.nCols;
    case GRIDP_ROW:
        return g.nRow;
    case GRIDP_COL:
        return g.nCol;
    case GRIDP_SCROLLBARS:
        return g.nScrollBars;
    case GRIDP_TOPROW:
        return g.nTopRow;
    case GRIDP_LEFTCOL:
        return g.nLeftCol;
    case GRIDP_ROWHEIGHT:
        return nIndex >= 0 && nIndex < g.nRows ? g.rowHeights[static_cast<size_t>(nIndex)] : 0;
    case GRIDP_COLWIDTH:
        return nIndex >= 0 && nIndex < g.nCols ? g.colWidths[static_cast<size_t>(nIndex)] : 0;
    case GRIDP_ROWPOS:
        return nIndex >= 0 && nIndex < g.nRows ? static_cast<LRESULT>(g.RowPosPixels(nIndex)) * kTwipsPerPixel
                                               : 0;
    case GRIDP_COLPOS:
        return nIndex >= 0 && nIndex < g.nCols ? static_cast<LRESULT>(g.ColPosPixels(nIndex)) * kTwipsPerPixel
                                               : 0;
    default:
        (void)pWnd;
        return 0;
    }
}

void SetProperty(CWnd* pWnd, CGridData& g, WORD nProperty, int nIndex, long nValue)
{
    switch (nProperty) {
    case GRIDP_ROWS:
    case GRIDP_COLS: {
        const int rows = nProperty == GRIDP_ROWS ? static_cast<int>(nValue) : g.nRows;
        const int cols = nProperty == GRIDP_COLS ? static_cast<int>(nValue) : g.nCols;
        // The header row and column stay; a table too large to hold is refused.
        if (rows < 2 || cols < 2 || static_cast<long>(rows) * cols > kMaxCells)
            return;
        g.Resize(rows, cols);
        Changed(pWnd, g);
        return;
    }
    case GRIDP_ROW:
        MoveCurrent(pWnd, g, static_cast<int>(nValue), g.nCol);
        return;
    case GRIDP_COL:
        MoveCurrent(pWnd, g, g.nRow, static_cast<int>(nValue));
        return;
    case GRIDP_SCROLLBARS:
        g.nScrollBars = std::clamp(nValue, 0L, 3L);
        Changed(pWnd, g);
        return;
    case GRIDP_TOPROW:
        SetTopRow(pWnd, g, static_cast<int>(nValue));
        return;
    case GRIDP_LEFTCOL:
        SetLeftCol(pWnd, g, static_cast<int>(nValue));
        return;
    case GRIDP_ROWHEIGHT:
    case GRIDP_COLWIDTH: {
        auto& v = nProperty == GRIDP_ROWHEIGHT ? g.rowHeights : g.colWidths;
        const long value = std::max(0L, nValue);
        if (nIndex == -1)
            std::fill(v.begin(), v.end(), value);
        else if (nIndex >= 0 && nIndex < static_cast<int>(v.size()))
            v[static_cast<size_t>(nIndex)] = value;
        else
            return;
        Changed(pWnd, g);
        return;
    }
    default:
        return;
    }
}

// ---- the window procedure: one handler per message ------------------------------------

using GridHandler = LRESULT (*)(CGridData& g, CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam,
                                BOOL* pbHandled);

LRESULT OnNcDestroy(CGridData&, CWnd* pWnd, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    GridTable().erase(pWnd->m_hWnd);
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnPaint(CGridData& g, CWnd* pWnd, UINT, WPARAM, LPARAM, BOOL*)
{
    Paint(pWnd, g);
    return 0;
}

LRESULT OnEraseBkgnd(CGridData&, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return TRUE;
}

LRESULT OnSize(CGridData& g, CWnd* pWnd, UINT, WPARAM, LPARAM, BOOL*)
{
    g.nTopRow = std::clamp(g.nTopRow, 1, g.MaxTopRow(InnerRect(pWnd).Height()));
    g.nLeftCol = std::clamp(g.nLeftCol, 1, g.MaxLeftCol(InnerRect(pWnd).Width()));
    Changed(pWnd, g);
    return 0;
}

LRESULT OnFocusChange(CGridData&, CWnd* pWnd, UINT, WPARAM, LPARAM, BOOL*)
{
    pWnd->Invalidate(FALSE);
    return 0;
}

LRESULT OnGetDlgCode(CGridData&, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return DLGC_WANTARROWS;
}

LRESULT OnGetProperty(CGridData& g, CWnd* pWnd, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    return GetProperty(pWnd, g, static_cast<WORD>(wParam), static_cast<int>(lParam));
}

LRESULT OnSetProperty(CGridData& g, CWnd* pWnd, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    SetProperty(pWnd, g, LOWORD(static_cast<DWORD>(wParam)),
                static_cast<short>(HIWORD(static_cast<DWORD>(wParam))), static_cast<long>(lParam));
    return 0;
}

LRESULT OnCellText(CGridData& g, CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    int r = static_cast<short>(LOWORD(static_cast<DWORD>(wParam)));
    int c = static_cast<short>(HIWORD(static_cast<DWORD>(wParam)));
    if (r == -1) {
        r = g.nRow;
        c = g.nCol;
    }
    if (r < 0 || r >= g.nRows || c < 0 || c >= g.nCols)
        return FALSE;
    if (nMsg == GRM_GETCELLTEXT) {
        if (auto* p = reinterpret_cast<CString*>(lParam))
            *p = g.Cell(r, c);
    } else {
        g.Cell(r, c) = lParam ? reinterpret_cast<const char*>(lParam) : "";
        pWnd->Invalidate(FALSE);
    }
    return TRUE;
}

LRESULT OnScroll(CGridData& g, CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    if (lParam != 0)
        return 0; // a scroll-bar control's report is not ours
    const bool bVert = nMsg == WM_VSCROLL;
    const CRect inner = InnerRect(pWnd);
    const int pos = bVert ? g.nTopRow : g.nLeftCol;
    const int page =
        bVert ? g.VisibleRowsFrom(g.nTopRow, inner.Height()) : g.VisibleColsFrom(g.nLeftCol, inner.Width());
    int next = pos;
    switch (LOWORD(static_cast<DWORD>(wParam))) {
    case SB_LINEUP:
        next = pos - 1;
        break;
    case SB_LINEDOWN:
        next = pos + 1;
        break;
    case SB_PAGEUP:
        next = pos - page;
        break;
    case SB_PAGEDOWN:
        next = pos + page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        next = static_cast<short>(HIWORD(static_cast<DWORD>(wParam)));
        break;
    case SB_TOP:
        next = 1;
        break;
    case SB_BOTTOM:
        next = bVert ? g.nRows : g.nCols;
        break;
    default:
        return 0;
    }
    if (bVert)
        SetTopRow(pWnd, g, next);
    else
        SetLeftCol(pWnd, g, next);
    return 0;
}

LRESULT OnMouseWheel(CGridData& g, CWnd* pWnd, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    if (g.nScrollBars & 2) {
        const int delta = static_cast<short>(HIWORD(static_cast<DWORD>(wParam)));
        SetTopRow(pWnd, g, g.nTopRow - delta / 120 * 3);
    }
    return 0;
}

LRESULT OnSetCursor(CGridData& g, CWnd* pWnd, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    pWnd->ScreenToClient(&pt);
    const CRect inner = InnerRect(pWnd);
    if (g.nSizingCol >= 0 ||
        (pt.y - inner.top < g.RowExtent(0) && SizingColumnAt(g, pt.x - inner.left, inner.Width()) >= 0)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnLButtonDown(CGridData&, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const HWND hWnd = pWnd->m_hWnd;
    if (CWnd::GetFocus() != pWnd)
        pWnd->SetFocus();
    // Taking the focus may have run the parent's code: look the grid up again.
    CGridData* pAgain = DataOf(CWnd::FromHandle(hWnd));
    if (!pAgain)
        return 0;
    const CRect inner = InnerRect(pWnd);
    const CPoint pt(GET_X_LPARAM(lParam) - inner.left, GET_Y_LPARAM(lParam) - inner.top);
    if (pt.y < pAgain->RowExtent(0)) {
        const int nSizing = SizingColumnAt(*pAgain, pt.x, inner.Width());
        if (nSizing >= 0) {
            pAgain->nSizingCol = nSizing;
            pAgain->xSizingStart = pt.x;
            pAgain->nSizingWidth = pAgain->colWidths[static_cast<size_t>(nSizing)];
            pWnd->SetCapture();
            return 0;
        }
    }
    int nRow = 0;
    int nCol = 0;
    if (CellAt(*pAgain, pt, nRow, nCol) && nRow >= 1 && nCol >= 1)
        MoveCurrent(pWnd, *pAgain, nRow, nCol);
    if (CWnd* pSelf = CWnd::FromHandle(hWnd); pSelf && DataOf(pSelf))
        Notify(pSelf, GRIDN_CLICK);
    return 0;
}

// The right button makes the cell under it current, as a list selects the item under it,
// so that the pop-up menu its release asks the parent for acts on the row clicked. It
// raises no click: a click acts on the cell (a pick list opens), the menu only on its row.
LRESULT OnRButtonDown(CGridData& g, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const CRect inner = InnerRect(pWnd);
    const CPoint pt(GET_X_LPARAM(lParam) - inner.left, GET_Y_LPARAM(lParam) - inner.top);
    int nRow = 0;
    int nCol = 0;
    if (CellAt(g, pt, nRow, nCol) && nRow >= 1 && nCol >= 1)
        MoveCurrent(pWnd, g, nRow, nCol);
    return 0;
}

LRESULT OnMouseMove(CGridData& g, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    if (g.nSizingCol >= 0) {
        const int x = GET_X_LPARAM(lParam) - InnerRect(pWnd).left;
        g.colWidths[static_cast<size_t>(g.nSizingCol)] =
            std::max(0L, g.nSizingWidth + static_cast<long>(x - g.xSizingStart) * kTwipsPerPixel);
        Changed(pWnd, g);
    }
    return 0;
}

LRESULT OnLButtonUp(CGridData& g, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (g.nSizingCol >= 0) {
        g.nSizingCol = -1;
        ::ReleaseCapture();
    }
    return 0;
}

LRESULT OnKeyDown(CGridData& g, CWnd* pWnd, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    const CRect inner = InnerRect(pWnd);
    int r = g.nRow;
    int c = g.nCol;
    const int page = g.VisibleRowsFrom(g.nTopRow, inner.Height());
    switch (wParam) {
    case VK_UP:
        r = std::max(1, r - 1);
        break;
    case VK_DOWN:
        r = std::min(g.nRows - 1, r + 1);
        break;
    case VK_LEFT:
        c = std::max(1, c - 1);
        break;
    case VK_RIGHT:
        c = std::min(g.nCols - 1, c + 1);
        break;
    case VK_PRIOR:
        r = std::max(1, r - page);
        break;
    case VK_NEXT:
        r = std::min(g.nRows - 1, r + page);
        break;
    case VK_HOME:
        c = 1;
        break;
    case VK_END:
        c = g.nCols - 1;
        break;
    default:
        *pbHandled = FALSE;
        return 0;
    }
    const HWND hWnd = pWnd->m_hWnd;
    MoveCurrent(pWnd, g, r, c);
    // The report may have run the parent's code: look the grid up again.
    if (CWnd* pSelf = CWnd::FromHandle(hWnd)) {
        if (CGridData* pAgain = DataOf(pSelf))
            ScrollIntoView(pSelf, *pAgain);
    }
    return 0;
}

constexpr CMessageHandler<GridHandler> kGridMessages[] = {
    {WM_NCDESTROY, OnNcDestroy},
    {WM_PAINT, OnPaint},
    {WM_ERASEBKGND, OnEraseBkgnd},
    {WM_SIZE, OnSize},
    {WM_SETFOCUS, OnFocusChange},
    {WM_KILLFOCUS, OnFocusChange},
    {WM_GETDLGCODE, OnGetDlgCode},
    {GRM_GETPROPERTY, OnGetProperty},
    {GRM_SETPROPERTY, OnSetProperty},
    {GRM_GETCELLTEXT, OnCellText},
    {GRM_SETCELLTEXT, OnCellText},
    {WM_VSCROLL, OnScroll},
    {WM_HSCROLL, OnScroll},
    {WM_MOUSEWHEEL, OnMouseWheel},
    {WM_SETCURSOR, OnSetCursor},
    {WM_LBUTTONDOWN, OnLButtonDown},
    {WM_LBUTTONDBLCLK, OnLButtonDown},
    {WM_RBUTTONDOWN, OnRButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_CANCELMODE, OnLButtonUp},
    {WM_KEYDOWN, OnKeyDown},
};
static_assert(AfxMessagesUnique(kGridMessages), "a message has two handlers");

LRESULT GridProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    if (nMsg == WM_NCCREATE || nMsg == WM_CREATE) {
        GridTable()[pWnd->m_hWnd];
        *pbHandled = FALSE;
        return 0;
    }
    CGridData* pData = DataOf(pWnd);
    const GridHandler pfnHandler = pData ? AfxFindMessageHandler(kGridMessages, nMsg) : nullptr;
    if (!pfnHandler) {
        *pbHandled = FALSE;
        return 0;
    }
    return pfnHandler(*pData, pWnd, nMsg, wParam, lParam, pbHandled);
}

} // namespace

void AfxRegisterGridClass()
{
    static const bool s_registered = [] {
        CWndClassInfo info;
        info.name = AFX_GRID_CLASS;
        info.style = CS_DBLCLKS;
        info.wndProc = GridProc;
        AfxRegisterClassInfo(info);
        return true;
    }();
    (void)s_registered;
}

#include "grid/CMorvelView.h"

#include "grid/CTabWnd.h"
#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"

#include <algorithm>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNAMIC(CMorvelView, CView)

CMorvelView::CMorvelView()
    : m_nFirstVisibleCol(0),
      m_nFirstVisibleRow(0), m_nColumnWidth{}, m_nBaseColumnWidth{}, m_nBaseColumnWidth2{}, m_nInputFixed{},
      m_nRowHeight(DEFAULT_ROW_HEIGHT), m_nBaseRowHeight(DEFAULT_ROW_HEIGHT),
      m_nHeaderHeight(DEFAULT_ROW_HEIGHT), m_nBaseHeaderHeight(DEFAULT_ROW_HEIGHT), m_nZoom(100),
      m_nTotalWidth(0), m_nTotalHeight(0), m_nHorzOffset(0), m_nVertOffset(0), m_nCurrentCol(0),
      m_nCurrentRow(0), m_nColumnCount(12), m_nRowLimit(0), m_nSelectMode(selectNone),
      m_bDragExtending(FALSE), m_nHorzScrollMax(0), m_nVertScrollMax(0)
{
    // The row headers' width is the derived view's (SetBaseRowHeaderWidth).
    m_nRowHeaderWidth = 0;
    m_nBaseRowHeaderWidth = 0;
    m_nBaseRowHeaderWidth2 = 0;
}

CMorvelView::~CMorvelView()
{
    // The jump bar and the tab strip are made by the derived view but live as long as this
    // one; their windows went with the view's window.
    delete m_pJumpBar;
    delete m_pTabWnd;
}

int CMorvelView::GetFormColumnWidth(const char* lpszWidth)
{
    // Read as the number at the start of the text (as atoi reads it), but saturating: a
    // width that overflows an int, or that is negative, comes from a damaged or foreign
    // form and is kept within what the grid can show rather than wrapping.
    const long nWidth = lpszWidth != nullptr ? std::strtol(lpszWidth, nullptr, 10) : 0;
    return static_cast<int>(std::clamp(nWidth, 0L, static_cast<long>(MAX_FORM_COLUMN_WIDTH)));
}

// ---------------------------------------------------------------------------------------
// Queries and setting of the grid state

namespace {

bool IsColumnIndex(int nCol)
{
    return nCol >= 0 && nCol < CMorvelView::MAX_COLUMNS;
}

} // namespace

CString CMorvelView::GetColumnTitle(int nCol) const
{
    return IsColumnIndex(nCol) ? m_strColumnTitle[nCol] : CString();
}

int CMorvelView::GetColumnWidth(int nCol) const
{
    return IsColumnIndex(nCol) ? m_nColumnWidth[nCol] : 0;
}

int CMorvelView::GetBaseColumnWidth(int nCol) const
{
    return IsColumnIndex(nCol) ? m_nBaseColumnWidth[nCol] : 0;
}

int CMorvelView::GetRememberedColumnWidth(int nCol) const
{
    return IsColumnIndex(nCol) ? m_nBaseColumnWidth2[nCol] : 0;
}

bool CMorvelView::IsColumnInputFixed(int nCol) const
{
    return IsColumnIndex(nCol) && m_nInputFixed[nCol] != 0;
}

CMorvelView::CGridMetrics CMorvelView::GetMetrics() const
{
    CGridMetrics metrics;
    metrics.nZoom = m_nZoom;
    metrics.nRowHeight = m_nRowHeight;
    metrics.nHeaderHeight = m_nHeaderHeight;
    metrics.nRowHeaderWidth = m_nRowHeaderWidth;
    metrics.nTotalWidth = m_nTotalWidth;
    metrics.nHorzOffset = m_nHorzOffset;
    metrics.nVertOffset = m_nVertOffset;
    metrics.nHorzScrollMax = m_nHorzScrollMax;
    return metrics;
}

CMorvelView::CPointerState CMorvelView::GetPointerState() const
{
    CPointerState state;
    state.nPressOrigin = m_nPressOrigin;
    state.bDragExtending = m_bDragExtending;
    state.bDragScrolling = m_nDragScrollRunning != 0;
    state.nDragScrollDir = m_nDragScrollDir;
    state.bShiftExtending = m_nShiftExtend != 0;
    state.nResizeState = m_nResizeState;
    state.nResizeCol = m_nResizeCol;
    return state;
}

void CMorvelView::SetCurrentCell(int nCol, int nRow)
{
    m_nCurrentCol = nCol;
    m_nCurrentRow = nRow;
}

void CMorvelView::SetFirstVisibleCell(int nCol, int nRow)
{
    m_nFirstVisibleCol = nCol;
    m_nFirstVisibleRow = nRow;
}

void CMorvelView::SetSelection(int nMode, const CRect& rcSelection)
{
    m_nSelectMode = nMode;
    m_rcSelection = rcSelection;
}

void CMorvelView::GrowRowLimit(int nRows)
{
    int nRowLimit = GetRowLimit();
    if (nRowLimit >= nRows)
        return;
    if (nRowLimit <= 0)
        nRowLimit = nRows;
    while (nRowLimit < nRows)
        nRowLimit *= 2;
    SetRowLimit(nRowLimit);
    RecalcTotalHeight();
}

void CMorvelView::RecalcTotalHeight()
{
    m_nTotalHeight = (GetRowLimit() + 1) * m_nRowHeight;
}

void CMorvelView::SetColumnWidth(int nCol, int nWidth)
{
    if (IsColumnIndex(nCol))
        m_nColumnWidth[nCol] = nWidth;
}

void CMorvelView::SetBaseColumnWidth(int nCol, int nWidth)
{
    if (!IsColumnIndex(nCol))
        return;
    m_nBaseColumnWidth[nCol] = nWidth;
    m_nBaseColumnWidth2[nCol] = nWidth;
}

void CMorvelView::SetColumnInputFixed(int nCol, bool bFixed)
{
    if (IsColumnIndex(nCol))
        m_nInputFixed[nCol] = bFixed ? 1 : 0;
}

void CMorvelView::SetColumnTitle(int nCol, const CString& strTitle)
{
    if (IsColumnIndex(nCol))
        m_strColumnTitle[nCol] = strTitle;
}

void CMorvelView::SetColumnShown(int nCol, bool bShown)
{
    if (IsColumnIndex(nCol))
        m_nBaseColumnWidth[nCol] = bShown ? m_nBaseColumnWidth2[nCol] : 0;
}

void CMorvelView::TakeColumnWidths(const CMorvelView& other)
{
    for (int c = 0; c < MAX_COLUMNS; ++c) {
        m_nBaseColumnWidth[c] = other.m_nBaseColumnWidth[c];
        m_nBaseColumnWidth2[c] = other.m_nBaseColumnWidth2[c];
    }
}

void CMorvelView::SetScrollOrigin(int nCol, int nRow)
{
    m_nFirstVisibleRow = nRow;
    m_nVertOffset = m_nFirstVisibleRow * m_nRowHeight;
    m_nFirstVisibleCol = nCol;
    m_nHorzOffset = 0;
    for (int c = 0; c < m_nFirstVisibleCol; ++c)
        m_nHorzOffset += m_nColumnWidth[c];
}

void CMorvelView::StartSelectionAt(int nCol, int nRow)
{
    m_nSelectMode = selectNone;
    m_rcSelection.SetRect(nCol, nRow, nCol, nRow);
    m_rcPrevSelection = m_rcSelection;
}

HWND CMorvelView::GetGridBarHandle(int nBar) const
{
    return nBar == SB_HORZ ? m_wndHorzBar.m_hWnd : m_wndVertBar.m_hWnd;
}

void CMorvelView::SetRowMetrics(int nRowHeaderWidth, int nHeaderHeight, int nRowHeight)
{
    m_nRowHeaderWidth = nRowHeaderWidth;
    m_nHeaderHeight = nHeaderHeight;
    m_nRowHeight = nRowHeight;
}

namespace {

// A count with thousands separators ("65,535").
CString GroupedCount(long long nCount)
{
    std::string digits = std::to_string(nCount < 0 ? -nCount : nCount);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<size_t>(i), ",");
    return CString((nCount < 0 ? "-" : "") + digits);
}

} // namespace

CString CMorvelView::GetFileRowLimitText(long long nRows)
{
    return CString("行数 "_sj) + GroupedCount(nRows) + CString(" 行は、ファイルに保存できる "_sj) +
           GroupedCount(MAX_FILE_ROWS) + CString(" 行を超えます。"_sj);
}

bool CMorvelView::CheckFileRowLimit(long long nRowsAfter)
{
    if (nRowsAfter <= MAX_FILE_ROWS)
        return true;
    AfxMessageBox(GetFileRowLimitText(nRowsAfter) + "\n"_sj + CString("行を挿入できません。"_sj),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CMorvelView::CheckFileRowLimitForSave(long long nRows, const char* lpszPathName)
{
    if (nRows <= MAX_FILE_ROWS)
        return true;
    CString strName = lpszPathName != nullptr ? DisplayPath(lpszPathName) : CString();
    AfxMessageBox(strName + CString("を保存できませんでした。"_sj) + "\n"_sj + GetFileRowLimitText(nRows) +
                      "\n"_sj + CString("元のファイルは変更されていません。"_sj),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool CMorvelView::CheckFileRowLimitForEdit(int nRow, int nUsedRows)
{
    return nRow < nUsedRows || CheckFileRowLimit(static_cast<long long>(nRow) + 1);
}

void CMorvelView::GetGridClientRect(LPRECT lpRect) const
{
    CRect rect;
    if (m_hWnd != nullptr) {
        GetClientRect(&rect);
        // Bars of the frame stand outside the client area; the view's own take its edges.
        if (!m_bFrameScrollBars) {
            rect.right = std::max(rect.left, rect.right - static_cast<LONG>(BAR_THICKNESS));
            rect.bottom = std::max(rect.top, rect.bottom - static_cast<LONG>(BAR_THICKNESS));
        }
    }
    *lpRect = rect;
}

void CMorvelView::GetCellRangeRect(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow,
                                   LPRECT lpRect) const
{
    CRect rect;
    const int nColumns = std::min(GetColumnCount(), static_cast<int>(MAX_COLUMNS));
    if (nFirstCol < 0 || nFirstRow < 0 || nLastCol < 0 || nLastRow < 0 || nLastCol >= nColumns ||
        nLastRow >= GetRowLimit()) {
        *lpRect = rect;
        return;
    }
    const int nFirstVisible = std::max(0, m_nFirstVisibleCol);
    int nLeft = m_nRowHeaderWidth;
    for (int c = nFirstVisible; c < nFirstCol && c < nColumns; ++c)
        nLeft += m_nColumnWidth[c];
    int nRight = m_nRowHeaderWidth;
    for (int c = nFirstVisible; c <= nLastCol; ++c)
        nRight += m_nColumnWidth[c];
    const int nTop = m_nHeaderHeight + std::max(0, nFirstRow - m_nFirstVisibleRow) * m_nRowHeight;
    const int nBottom = m_nHeaderHeight + std::max(0, nLastRow - m_nFirstVisibleRow + 1) * m_nRowHeight;
    rect.SetRect(nLeft, nTop, nRight, nBottom);
    *lpRect = rect;
}

void CMorvelView::NormalizeCellRange(int nCol1, int nRow1, int nCol2, int nRow2, LPRECT lpRange)
{
    lpRange->left = std::min(nCol1, nCol2);
    lpRange->right = std::max(nCol1, nCol2);
    lpRange->top = std::min(nRow1, nRow2);
    lpRange->bottom = std::max(nRow1, nRow2);
}

bool CMorvelView::GetSelectionChange(const CRect& rcOld, const CRect& rcNew, int nLastCol, CRect& rcChanged,
                                     CRect& rcKept) const
{
    CRect a, b;
    NormalizeCellRange(rcOld.left, rcOld.top, rcOld.right, rcOld.bottom, &a);
    NormalizeCellRange(rcNew.left, rcNew.top, rcNew.right, rcNew.bottom, &b);
    rcChanged = UnionRange(a, b);
    rcKept = IntersectRange(a, b);
    rcChanged.left = std::max<LONG>(rcChanged.left, m_nFirstVisibleCol);
    rcChanged.top = std::max<LONG>(rcChanged.top, m_nFirstVisibleRow);
    rcChanged.right = std::min<LONG>(rcChanged.right, nLastCol);
    rcChanged.bottom = std::min<LONG>(rcChanged.bottom,
                                      std::min(GetRowLimit() - 1, m_nFirstVisibleRow + GetVisibleRowCount()));
    return rcChanged.left <= rcChanged.right && rcChanged.top <= rcChanged.bottom;
}

CString CMorvelView::WholeCharacters(const CString& strText)
{
    const int nLength = strText.GetLength();
    int i = 0;
    while (i < nLength) {
        if (IsCp932LeadByte(static_cast<BYTE>(strText[i]))) {
            if (i + 1 >= nLength)
                return strText.Left(i);
            i += 2;
        } else {
            ++i;
        }
    }
    return strText;
}

CRect CMorvelView::UnionRange(const CRect& a, const CRect& b)
{
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

CRect CMorvelView::IntersectRange(const CRect& a, const CRect& b)
{
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
}

void CMorvelView::SetScrollRanges(int nHorzMax, int nUsedRows)
{
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : DEFAULT_ROW_HEIGHT;
    const int nVisibleRows = std::max(0, static_cast<int>(rcGrid.Height()) - m_nHeaderHeight) / nRowHeight;
    const int nVertMax = nUsedRows - nVisibleRows + 1;
    m_nHorzScrollMax = std::max(0, nHorzMax);
    m_nVertScrollMax = nVertMax < 1 ? 0 : nVertMax;
    SyncScrollBars();
}

void CMorvelView::RecalcTotalWidth()
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    m_nTotalWidth = 0;
    for (int c = 0; c < nColumns; ++c)
        m_nTotalWidth += m_nColumnWidth[c];
}

void CMorvelView::InvalidateCells(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow, bool bErase)
{
    if (m_hWnd == nullptr)
        return;
    // Rows above or below the window have no pixels to paint: a recalculation of a long
    // estimate writes thousands of total rows, and most of them are out of sight.
    if (std::max(nFirstRow, nLastRow) < m_nFirstVisibleRow)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nTopRow = std::min(nFirstRow, nLastRow);
    if (m_nHeaderHeight + static_cast<long long>(nTopRow - m_nFirstVisibleRow) * m_nRowHeight >=
        rcClient.bottom)
        return;
    CRect rect;
    GetCellRangeRect(std::min(nFirstCol, nLastCol), std::min(nFirstRow, nLastRow),
                     std::max(nFirstCol, nLastCol), std::max(nFirstRow, nLastRow), &rect);
    if (!rect.IsRectEmpty())
        InvalidateRect(&rect, bErase);
}

void CMorvelView::InvalidateRows(int nFirstRow, int nLastRow, bool bErase)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (nColumns > 0)
        InvalidateCells(0, std::max(0, nFirstRow), nColumns - 1, std::min(nLastRow, GetRowLimit() - 1),
                        bErase);
}

void CMorvelView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    // The window is made without the framework's scroll bars (no WS_HSCROLL/WS_VSCROLL):
    // the view's own bars carry all scrolling.
    CRect rcClient;
    if (m_hWnd != nullptr)
        GetClientRect(&rcClient);
    SetScrollRanges(m_nTotalWidth - rcClient.Width() + m_nRowHeaderWidth, GetUsedRows());
}

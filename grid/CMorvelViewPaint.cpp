// The grid base view's painting: the corner box, the column and row headers, the grid
// lines with the page separators of the estimate grid, and the cursor frame. Cell contents
// are the derived view's.
#include "grid/CMorvelView.h"

#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr COLORREF kGridLineColor = RGB(128, 128, 128);

bool SameLogFont(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

void HorizontalLine(CDC* pDC, int x1, int x2, int y)
{
    pDC->MoveTo(x1, y);
    pDC->LineTo(x2, y);
}

} // namespace

void CMorvelView::PrepareHeaderFonts(CDC* pDC)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    if (CFont* pFont = pDC->GetCurrentFont())
        pFont->GetLogFont(&lf);
    if (m_fontHeader.m_hObject != nullptr && m_nHeaderFontZoom == m_nZoom &&
        SameLogFont(lf, m_lfHeaderSource))
        return;
    m_lfHeaderSource = lf;
    m_nHeaderFontZoom = m_nZoom;

    const CString strFace = "ＭＳ 明朝"_sj;
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    std::strncpy(lf.lfFaceName, strFace, LF_FACESIZE - 1);
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * (m_nZoom / 100.0));
    lf.lfWidth = static_cast<LONG>(lf.lfWidth * (m_nZoom / 100.0));
    lf.lfWeight = FW_NORMAL;
    m_fontHeader.DeleteObject();
    m_fontHeader.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontHeaderBold.DeleteObject();
    m_fontHeaderBold.CreateFontIndirect(&lf);
}

void CMorvelView::DrawColumnHeader(CDC* pDC, int nCol, int nLeft, int nRight)
{
    const CRect rcBox(nLeft, 0, nRight, m_nHeaderHeight);
    if (!pDC->RectVisible(&rcBox))
        return;
    // An input-fixed column shows its title inverted and bold.
    const bool bFixed = m_nInputFixed[nCol] != 0;
    pDC->FillSolidRect(&rcBox, GetSysColor(bFixed ? COLOR_WINDOWTEXT : COLOR_BTNFACE));
    pDC->Draw3dRect(&rcBox, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    pDC->SetTextColor(GetSysColor(bFixed ? COLOR_WINDOW : COLOR_WINDOWTEXT));
    CFont* pOldFont = bFixed ? pDC->SelectObject(&m_fontHeaderBold) : nullptr;
    const CString& strTitle = m_strColumnTitle[nCol];
    pDC->ExtTextOut(nLeft + (nRight - nLeft + 1) / 2, 2, ETO_CLIPPED, &rcBox, strTitle, nullptr);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}

void CMorvelView::OnDraw(CDC* pDC)
{
    CRect rcClip;
    if (pDC->GetClipBox(&rcClip) == NULLREGION || rcClip.IsRectEmpty())
        return;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;

    CPen penGrid(PS_SOLID, 1, kGridLineColor);
    CPen* pOldPen = pDC->SelectObject(&penGrid);
    PrepareHeaderFonts(pDC);
    CFont* pOldFont = pDC->SelectObject(&m_fontHeader);
    const UINT nOldAlign = pDC->SetTextAlign(TA_CENTER);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->GetTextColor();

    CRect rcRange;
    GetCellRangeFromRect(rcClip.left, rcClip.top, rcClip.right, rcClip.bottom, &rcRange);
    const int nFirstCol = std::max<int>(rcRange.left, m_nFirstVisibleCol);
    const int nFirstRow = std::max<int>(rcRange.top, m_nFirstVisibleRow);
    const int nLastCol = std::min<int>(rcRange.right, nColumns - 1);
    const int nLastRow = std::min<int>(rcRange.bottom, GetRowLimit() - 1);

    // Below the last row the grid can hold there is only the window's background.
    const int nLastPossibleBottom = m_nTotalHeight - m_nVertOffset - nRowHeight + m_nHeaderHeight;
    if (nLastPossibleBottom < rcClip.bottom) {
        const CRect rcBelow(rcClip.left, nLastPossibleBottom + 1, rcClip.right, rcClip.bottom);
        pDC->FillSolidRect(&rcBelow, GetSysColor(COLOR_WINDOW));
    }

    // The corner box.
    const CRect rcCorner(0, 0, m_nRowHeaderWidth, m_nHeaderHeight);
    pDC->FillSolidRect(&rcCorner, GetSysColor(COLOR_BTNFACE));
    pDC->Draw3dRect(&rcCorner, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));

    const int nRowsBottom = m_nHeaderHeight + (nLastRow - m_nFirstVisibleRow + 1) * nRowHeight;
    int nRangeRight = m_nRowHeaderWidth;

    // Column headers and the vertical grid lines.
    if (nFirstCol <= nLastCol) {
        int x = GetColumnLeft(nFirstCol);
        for (int c = nFirstCol; c <= nLastCol; ++c) {
            const int nRight = x + m_nColumnWidth[c];
            if (m_nColumnWidth[c] > 0) {
                DrawColumnHeader(pDC, c, x, nRight);
                if (nLastRow >= nFirstRow) {
                    pDC->MoveTo(x, m_nHeaderHeight);
                    pDC->LineTo(x, nRowsBottom);
                    pDC->MoveTo(nRight, m_nHeaderHeight);
                    pDC->LineTo(nRight, nRowsBottom);
                }
            }
            x = nRight;
        }
        nRangeRight = x;
    }

    // Row headers (the row's number within its page) and the horizontal grid lines.
    if (nFirstRow <= nLastRow) {
        const int nRowsPerPage = std::max(1, GetPageSeparatorRows());
        const bool bPageLines = GetPageSeparatorRows() > 0;
        CPen penThick(PS_SOLID, 2, kGridLineColor);
        const COLORREF clrFace = GetSysColor(COLOR_BTNFACE);
        const COLORREF clrLight = GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF clrDark = GetSysColor(COLOR_3DDKSHADOW);
        pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        TEXTMETRIC tm;
        std::memset(&tm, 0, sizeof tm);
        pDC->GetTextMetrics(&tm);
        const int nTextTop = std::max(0, (nRowHeight - static_cast<int>(tm.tmHeight)) / 2);
        char szNumber[16];
        for (int r = nFirstRow; r <= nLastRow; ++r) {
            const int y = (r - m_nFirstVisibleRow) * nRowHeight + m_nHeaderHeight;
            const CRect rcBox(0, y, m_nRowHeaderWidth, y + nRowHeight);
            // Only the headers of the rows being painted: the rows between an edited row
            // and its total are left as they are.
            if (!pDC->RectVisible(&rcBox))
                continue;
            pDC->FillSolidRect(&rcBox, clrFace);
            pDC->Draw3dRect(&rcBox, clrLight, clrDark);
            const int nLength = std::snprintf(szNumber, sizeof szNumber, "%d", GetRowHeaderNumber(r));
            if (HasRowHeaderMark(r)) {
                pDC->SetTextAlign(TA_RIGHT);
                pDC->ExtTextOut(m_nRowHeaderWidth - ROW_MARK_RIGHT_MARGIN, y + nTextTop, ETO_CLIPPED, &rcBox,
                                szNumber, static_cast<UINT>(nLength), nullptr);
                pDC->SetTextAlign(TA_CENTER);
            } else {
                pDC->ExtTextOut(m_nRowHeaderWidth / 2, y + nTextTop, ETO_CLIPPED, &rcBox, szNumber,
                                static_cast<UINT>(nLength), nullptr);
            }
        }
        if (bPageLines)
            pDC->SelectObject(&penThick);
        for (int r = nFirstRow; r <= nLastRow; ++r) {
            const int y = (r - m_nFirstVisibleRow) * nRowHeight + m_nHeaderHeight;
            const int yBottom = y + nRowHeight;
            if (!bPageLines) {
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, y);
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, yBottom);
                continue;
            }
            // A page starts: a double line above the row; a page ends: a double line below.
            if (r % nRowsPerPage == 0 && r > 0) {
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, y - 1);
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, y + 1);
            } else {
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, y);
            }
            if (r % nRowsPerPage == nRowsPerPage - 1) {
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, yBottom - 1);
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, yBottom + 1);
            } else {
                HorizontalLine(pDC, m_nRowHeaderWidth, nRangeRight, yBottom);
            }
        }
        pDC->SelectObject(&penGrid);
    }

    DrawCellCursor(pDC, 1);

    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
    pDC->SelectObject(pOldFont);
    pDC->SelectObject(pOldPen);
}

void CMorvelView::DrawCellCursor(CDC* pDC, int nShow)
{
    if (nShow != 1 || pDC == nullptr)
        return;
    int nCol = m_nCurrentCol;
    int nRow = m_nCurrentRow;
    if (m_nShiftExtend) {
        nCol = m_rcSelection.left;
        nRow = m_rcSelection.top;
    }
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (nCol < 0 || nCol >= nColumns || nRow < 0 || nRow >= GetRowLimit())
        return;
    if (nCol < m_nFirstVisibleCol || nRow < m_nFirstVisibleRow)
        return;
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    if (rcCell.Width() <= 0 || rcCell.Height() <= 0)
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    if (m_hWnd != nullptr && (rcCell.left >= rcGrid.right || rcCell.top >= rcGrid.bottom))
        return;

    CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = static_cast<CBrush*>(pDC->SelectStockObject(NULL_BRUSH));
    pDC->Rectangle(rcCell.left + 1, rcCell.top + 1, rcCell.right - 1, rcCell.bottom - 1);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void CMorvelView::DrawResizingHeaders(CDC* pDC, int nCol, int nWidth)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (pDC == nullptr || nCol < 0 || nCol >= nColumns)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    PrepareHeaderFonts(pDC);
    CFont* pOldFont = pDC->SelectObject(&m_fontHeader);
    const UINT nOldAlign = pDC->SetTextAlign(TA_CENTER);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    int x = GetColumnLeft(nCol);
    const int nLeftOfCol = x;
    for (int c = nCol; c < nColumns && x < rcClient.right; ++c) {
        const int w = c == nCol ? nWidth : m_nColumnWidth[c];
        if (w > 0)
            DrawColumnHeader(pDC, c, x, x + w);
        x += w;
    }
    // What lies beyond the last header is background again.
    if (x < rcClient.right && x >= nLeftOfCol)
        pDC->FillSolidRect(x, 0, rcClient.right - x, m_nHeaderHeight, GetSysColor(COLOR_WINDOW));
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
    pDC->SelectObject(pOldFont);
}

// What the drawing objects do in the layout editor: their drawing at the view's zoom, the
// handles of a selected object, hit tests, fitting a text's frame to its text and the
// tool tip of a text.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/LineStyles.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

int CDrawingShared::s_nLastTipCell = -1;
int CDrawingShared::s_nTextTipShown = -1;

namespace {

CRect ZoomedOrPlain(CPrintFormView* pView, const CRect& rect)
{
    return pView ? pView->ZoomRect(rect) : rect;
}

// Inside a rectangle of the page (y up): left <= x < right and bottom < y <= top, on the
// normalised copy.
bool InsideYUp(const CRect& rect, CPoint point)
{
    const CRect n = NormalizedRect(rect);
    return point.x >= n.left && point.x < n.right && point.y > n.top && point.y <= n.bottom;
}

} // namespace

// ---- The base object ----------------------------------------------------------------------

void CDrawObj::Draw(CDC*, CPrintFormView*)
{
    m_bVisible = FALSE;
}

void CDrawObj::DrawTracker(CDC* pDC, int nState, CPrintFormView* pView)
{
    if (pDC == nullptr || pView == nullptr || (nState != 1 && nState != 2))
        return;
    // Every handle inverts its square; handles on one point cancel in pairs. A table has
    // thousands of handles on one corner, so the inversions are counted first and each
    // square is inverted once when its count is odd: the picture is the same.
    std::map<std::pair<int, int>, int> counts;
    const int nCount = GetHandleCount();
    for (int n = 1; n <= nCount; ++n) {
        const CPoint p = pView->ZoomPoint(GetHandle(n));
        ++counts[{p.x, p.y}];
    }
    const int d = pView->ZoomLength(3);
    const int w = pView->ZoomLength(7);
    for (const auto& [point, n] : counts)
        if (n % 2 == 1)
            pDC->PatBlt(point.first - d, point.second - d, w, w, DSTINVERT);
}

CRect CDrawObj::GetHandleRect(int nHandle, CPrintFormView* pView)
{
    if (pView == nullptr)
        return CRect();
    CPoint point = GetHandle(nHandle);
    pView->DocToClient(point);
    CRect rect(point.x - 3, point.y - 3, point.x + 3, point.y + 3);
    pView->ClientToDocRect(rect);
    return rect;
}

int CDrawObj::HitTest(CPoint point, CPrintFormView* pView, BOOL bSelected)
{
    if (pView == nullptr)
        return 0;
    if (bSelected) {
        const int nCount = GetHandleCount();
        for (int n = 1; n <= nCount; ++n)
            if (InsideYUp(pView->ZoomRect(GetHandleRect(n, pView)), point))
                return n;
        return 0;
    }
    const CRect r = pView->ZoomRect(m_position);
    return point.x >= r.left && point.x < r.right && point.y > r.bottom && point.y <= r.top ? 1 : 0;
}

// ---- Rectangles and lines -----------------------------------------------------------------

void CDrawRect::Draw(CDC* pDC, CPrintFormView* pView)
{
    if (!m_bVisible)
        return;
    const CRect r = ZoomedOrPlain(pView, m_position);
    if (m_nShape == rectangle)
        DrawStyledRect(pDC, r, m_nLineStyle, m_bFill, m_nFillPattern, m_lineColor, m_foreColor, m_backColor);
    else
        DrawStyledStraightLine(pDC, r.left, r.top, r.right, r.bottom, m_nLineStyle, m_lineColor);
    m_bVisible = FALSE;
}

// ---- Texts --------------------------------------------------------------------------------

void CDrawText::Draw(CDC* pDC, CPrintFormView* pView)
{
    if (!m_bVisible)
        return;
    const CRect zoomed = ZoomedOrPlain(pView, m_position);
    DrawStyledRect(pDC, zoomed, m_nLineStyle, m_bFill, m_nFillPattern, m_lineColor, m_foreColor, m_backColor);

    CRect r = NormalizedRect(zoomed);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(m_clrText);
    LOGFONT lf = m_logFont;
    if (pView)
        lf.lfHeight = pView->ZoomLength(lf.lfHeight);
    CFont font;
    CFont* pOldFont = font.CreateFontIndirect(&lf) ? pDC->SelectObject(&font) : nullptr;
    const int nMargin = pView ? pView->ZoomLength(5) : 5;
    r.left += nMargin;
    r.right -= nMargin;
    const CString shown = GetFieldDisplayText(m_strText);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int y = (r.top + r.bottom) / 2 + tm.tmHeight / 2;
    switch (m_nAlign) {
    case alignLeft:
        pDC->ExtTextOut(r.left, y, ETO_CLIPPED, &r, shown, nullptr);
        break;
    case alignCenter:
        pDC->SetTextAlign(TA_CENTER);
        pDC->ExtTextOut(r.left + r.Width() / 2, y, ETO_CLIPPED, &r, shown, nullptr);
        pDC->SetTextAlign(0);
        break;
    case alignRight:
        pDC->SetTextAlign(TA_RIGHT);
        if (m_logFont.lfItalic == 1)
            pDC->TextOut(r.right, y, shown);
        else
            pDC->ExtTextOut(r.right, y, ETO_CLIPPED, &r, shown, nullptr);
        pDC->SetTextAlign(0);
        break;
    default:
        break;
    }
    if (pOldFont)
        pDC->SelectObject(pOldFont);
    pDC->SetTextColor(oldColor);
    pDC->SetBkMode(nOldMode);
    m_bVisible = FALSE;
}

namespace {

// A context mapped as the editor and the paper map theirs: 0.01 inch a unit, y up.
void MapInObjectUnits(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    dc.SetWindowExt(100, -100);
}

// The width in object units of a text drawn at a zoom (percent) on a context mapped in
// object units: the font's height is zoomed as the editor zooms it, and the width taken
// back to object units, rounded up.
int DrawnTextWidth(CDC& dc, LOGFONT lf, const CString& text, int nZoom)
{
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * (nZoom / 100.0));
    CFont font;
    if (!font.CreateFontIndirect(&lf))
        return 0;
    CFont* pOldFont = dc.SelectObject(&font);
    const int cx = dc.GetTextExtent(text).cx;
    dc.SelectObject(pOldFont);
    return static_cast<int>(std::ceil(cx * 100.0 / nZoom));
}

} // namespace

void CDrawText::FitToText(CPrintFormView* pView)
{
    const CString shown = GetFieldDisplayText(m_strText);
    CSize extent;
    {
        // Measured in the screen's pixels, taken as object units.
        CClientDC dc(pView);
        CFont font;
        CFont* pOldFont = font.CreateFontIndirect(&m_logFont) ? dc.SelectObject(&font) : nullptr;
        extent = dc.GetTextExtent(shown);
        if (pOldFont)
            dc.SelectObject(pOldFont);
    }
    // The text must not be cut where it is drawn: on paper, and on the screen at the
    // editor's zooms, where a font of few pixels (bold ones above all) comes out wider than
    // its height says. The frame takes the widest of these. (At 25 % the letters are a few
    // pixels high and their widths say nothing of the text.)
    {
        CClientDC screen(pView);
        MapInObjectUnits(screen);
        for (int nZoom : {50, 75, 100, 150, 200, pView != nullptr ? pView->GetZoom() : 100})
            extent.cx = std::max<LONG>(extent.cx, DrawnTextWidth(screen, m_logFont, shown, nZoom));
        CDC printer;
        if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->CreatePrinterDC(printer)) {
            MapInObjectUnits(printer);
            extent.cx = std::max<LONG>(extent.cx, DrawnTextWidth(printer, m_logFont, shown, 100));
        }
    }
    extent.cy += 6;
    const int x0 = std::min(m_position.left, m_position.right);
    const int c = (m_position.top + m_position.bottom) / 2;
    if (pView)
        pView->InvalObj(this);
    else
        Invalidate();
    m_position = CRect(x0 + extent.cx + 10, c - extent.cy / 2, x0, c + extent.cy / 2);
    if (pView)
        pView->InvalObj(this);
    else
        Invalidate();
    MarkModified();
}

void CDrawText::UpdateToolTip(int x, int y, CPrintFormView* pView)
{
    if (pView == nullptr)
        return;
    CToolTipCtrl& tip = pView->GetToolTip();
    const CRect r = NormalizedRect(m_position);
    if (r.PtInRect(CPoint(x, y))) {
        if (CDrawingShared::s_nTextTipShown != 0) {
            CDrawingShared::s_nTextTipShown = 0;
            tip.UpdateTipText(GetFieldDisplayText(m_strText), pView);
            tip.Activate(TRUE);
        }
        return;
    }
    CDrawingShared::s_nTextTipShown = -1;
    tip.UpdateTipText("", pView);
    tip.Activate(FALSE);
}

// ---- Embedded objects ---------------------------------------------------------------------

void CDrawOleObj::Draw(CDC* pDC, CPrintFormView* pView)
{
    if (!m_bVisible)
        return;
    DrawItemIn(pDC, ZoomedOrPlain(pView, m_position));
    m_bVisible = FALSE;
}

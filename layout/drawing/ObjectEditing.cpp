// What the drawing objects do in the layout editor: their drawing at the view's zoom, the
// handles of a selected object, hit tests, fitting a text's frame to its text and the
// tool tip of a text.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/IDrawingView.h"
#include "layout/drawing/LineStyles.h"
#include "platform/ui/controls/CToolTipCtrl.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CView.h"
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

CRect ZoomedOrPlain(IDrawingView* pView, const CRect& rect)
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

void CDrawObj::Draw(CDC*, IDrawingView*)
{
    m_bVisible = FALSE;
}

void CDrawObj::DrawTracker(CDC* pDC, int nState, IDrawingView* pView)
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

CRect CDrawObj::GetHandleRect(int nHandle, IDrawingView* pView)
{
    if (pView == nullptr)
        return CRect();
    CPoint point = GetHandle(nHandle);
    pView->DocToClient(point);
    CRect rect(point.x - 3, point.y - 3, point.x + 3, point.y + 3);
    pView->ClientToDocRect(rect);
    return rect;
}

int CDrawObj::HitTest(CPoint point, IDrawingView* pView, BOOL bSelected)
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

void CDrawRect::Draw(CDC* pDC, IDrawingView* pView)
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

namespace {

// A context mapped as the editor and the paper map theirs: 0.01 inch a unit, y up.
void MapInObjectUnits(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    dc.SetWindowExt(100, -100);
}

// The extent in object units of one line of text in a font whose sizes are object units,
// on a context mapped in object units.
CSize TextExtentInObjectUnits(CDC& dc, const LOGFONT& lf, const CString& text)
{
    MapInObjectUnits(dc);
    CFont font;
    CFont* pOldFont = font.CreateFontIndirect(&lf) ? dc.SelectObject(&font) : nullptr;
    const CSize extent = dc.GetTextExtent(text);
    if (pOldFont)
        dc.SelectObject(pOldFont);
    return extent;
}

// When text in regular (made from lf, average character width nAverage and selected into
// dc) is wider than nRoom, selects into dc a narrower cut of the font in which it fits,
// made in narrow; otherwise leaves regular selected.
void SelectNarrowedFont(CDC& dc, const LOGFONT& lf, LONG nAverage, const CString& text, int nRoom,
                        CFont& regular, CFont& narrow)
{
    const int nShown = dc.GetTextExtent(text).cx;
    if (nRoom <= 0 || nShown <= nRoom)
        return;
    LOGFONT narrowed = lf;
    const LONG nWidth = lf.lfWidth != 0 ? std::abs(lf.lfWidth) : nAverage;
    narrowed.lfWidth = std::max<LONG>(1, static_cast<LONG>(static_cast<long long>(nWidth) * nRoom / nShown));
    // Letters of whole pixels may still take a little more: a step narrower then.
    for (int nStep = 0; nStep < 3 && narrowed.lfWidth >= 1; ++nStep, --narrowed.lfWidth) {
        dc.SelectObject(&regular);
        narrow.DeleteObject();
        if (!narrow.CreateFontIndirect(&narrowed))
            return;
        dc.SelectObject(&narrow);
        if (dc.GetTextExtent(text).cx <= nRoom)
            return;
    }
}

} // namespace

void CDrawText::Draw(CDC* pDC, IDrawingView* pView)
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
    // A small font on the screen comes out wider than on paper (its letters snap to whole
    // pixels). The editor shows the text in the room it takes on paper, narrowed where it
    // must be, so that a frame fitted to the printed text shows the whole text here too.
    CFont narrow;
    if (pOldFont != nullptr && !shown.IsEmpty()) {
        const int nPrinted = PrintedExtent(shown, pView).cx;
        SelectNarrowedFont(*pDC, lf, tm.tmAveCharWidth, shown, pView ? pView->ZoomLength(nPrinted) : nPrinted,
                           font, narrow);
    }
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

CSize CDrawText::PrintedExtent(const CString& strText, IDrawingView* pView) const
{
    CDC printer;
    if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->CreatePrinterDC(printer))
        return TextExtentInObjectUnits(printer, m_logFont, strText);
    CClientDC screen(pView ? &pView->GetEditorView() : nullptr);
    return TextExtentInObjectUnits(screen, m_logFont, strText);
}

void CDrawText::FitToText(IDrawingView* pView)
{
    // The frame fits the text as it prints, so that neither a wide frame covers a
    // neighbour on paper nor a narrow one cuts the text there. The editor's zoom has no
    // say in it (the editor shows the text in the room it takes on paper, see Draw).
    CSize extent = PrintedExtent(GetFieldDisplayText(m_strText), pView);
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

void CDrawText::UpdateToolTip(int x, int y, IDrawingView* pView)
{
    if (pView == nullptr)
        return;
    CToolTipCtrl& tip = pView->GetToolTip();
    const CRect r = NormalizedRect(m_position);
    if (r.PtInRect(CPoint(x, y))) {
        if (CDrawingShared::s_nTextTipShown != 0) {
            CDrawingShared::s_nTextTipShown = 0;
            tip.UpdateTipText(GetFieldDisplayText(m_strText), &pView->GetEditorView());
            tip.Activate(TRUE);
        }
        return;
    }
    CDrawingShared::s_nTextTipShown = -1;
    tip.UpdateTipText("", &pView->GetEditorView());
    tip.Activate(FALSE);
}

// ---- Embedded objects ---------------------------------------------------------------------

void CDrawOleObj::Draw(CDC* pDC, IDrawingView* pView)
{
    if (!m_bVisible)
        return;
    DrawItemIn(pDC, ZoomedOrPlain(pView, m_position));
    m_bVisible = FALSE;
}

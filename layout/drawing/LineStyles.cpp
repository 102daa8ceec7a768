#include "layout/drawing/LineStyles.h"

#include "layout/drawing/CShadingDialog.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "layout/drawing/DrawingShared.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

CRect Normalised(const RECT& r)
{
    CRect n(r);
    n.NormalizeRect();
    return n;
}

} // namespace

BYTE FillPatternRow(int nPattern, int nRow)
{
    const BYTE* rows = GetFillPatternRows(nPattern);
    return rows != nullptr && nRow >= 0 && nRow < 8 ? rows[nRow] : 0;
}

void FillPatternWords(int nPattern, WORD words[8])
{
    for (int i = 0; i < 8; ++i) {
        BYTE b = FillPatternRow(nPattern, i);
        words[i] = static_cast<WORD>(b << 8 | b);
    }
}

void FillShading(CDC* pDC, const RECT& rect, int nPattern, COLORREF fore, COLORREF back)
{
    if (pDC == nullptr || nPattern < 0 || nPattern >= FILL_PATTERN_COUNT)
        return;
    WORD words[8];
    FillPatternWords(nPattern, words);
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, words);
    CBrush brush;
    brush.CreatePatternBrush(&bitmap);
    // A monochrome pattern brush paints clear bits in the text colour and set bits in the
    // background colour.
    COLORREF oldText = pDC->SetTextColor(back);
    COLORREF oldBack = pDC->SetBkColor(fore);
    CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CRect r = Normalised(rect);
    // Without a pen the rectangle paints its interior only.
    pDC->Rectangle(&r);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBack);
}

CLineBars LineStyleBars(int nStyle)
{
    CLineBars bars;
    auto one = [&](int a, int b) {
        bars.nFrom[bars.nCount] = a;
        bars.nTo[bars.nCount] = b;
        ++bars.nCount;
    };
    switch (nStyle) {
    case 1:
        one(0, 0);
        break;
    case 2:
        one(-1, 0);
        break;
    case 3:
        one(-1, 1);
        break;
    case 4:
        one(-2, 1);
        break;
    case 5:
        one(-3, 2);
        break;
    case 6:
        one(-4, 3);
        break;
    case 7:
        one(-1, -1), one(1, 1);
        break;
    case 8:
        one(-3, -2), one(1, 2);
        break;
    case 9:
        one(-4, -2), one(2, 4);
        break;
    default:
        break;
    }
    return bars;
}

int LineStyleWidth(int nStyle)
{
    if (nStyle == 10 || nStyle == 11)
        return 1;
    CLineBars bars = LineStyleBars(nStyle);
    return bars.nCount == 0 ? 0 : bars.nTo[bars.nCount - 1] - bars.nFrom[0] + 1;
}

bool DrawsOnScreen(const CDC* pDC)
{
    return !pDC->IsPrinting() || CDrawingShared::s_bPrintPreview;
}

namespace {

void PenLine(CDC* pDC, int nPenStyle, int nWidth, COLORREF color, int x1, int y1, int x2, int y2)
{
    CPen pen(nPenStyle, nWidth, color);
    CPen* pOld = pDC->SelectObject(&pen);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SelectObject(pOld);
}

// The pixels as shown along one axis of a device whose pixels are shown smaller than drawn
// (a preview of a printer's page). There a stroke of a double line and the gap between its
// strokes are about a pixel as shown or less; each would touch two pixels, and ink that thin
// is put on every pixel it touches, so that the gap fills up and the line shows as one bar.
// Put on whole pixels as shown instead (as many as each comes nearest to, at least one),
// the strokes keep a gap of paper between them, as on paper.
class CShownPixels {
public:
    CShownPixels(CDC* pDC, BOOL bDown) { pDC->GetShownPixelGrid(bDown, m_origin, m_size); }
    // Whether a double line of strokes and a gap of so many device pixels each needs the
    // grid and has room on it: a preview, a stroke under two pixels as shown, and the whole
    // line near three pixels or more (a double line shown smaller cannot show its gap; it is
    // drawn as drawn, as the paper seen that small shows it).
    bool Needed(int nDevice) const
    {
        return m_size > 1.0 && nDevice < 2.0 * m_size && 3.0 * nDevice >= 2.5 * m_size;
    }
    // The pixel whose leading boundary lies nearest a device coordinate, and the pixel that
    // holds it.
    int Nearest(int nDevice) const { return static_cast<int>(std::lround((nDevice - m_origin) / m_size)); }
    int Holding(int nDevice) const { return static_cast<int>(std::floor((nDevice - m_origin) / m_size)); }
    int Count(int nDevice) const { return std::max(1, static_cast<int>(std::lround(nDevice / m_size))); }
    // Device coordinates of ink just inside the pixels [nFrom, nTo): it covers those pixels
    // and touches no other (a device pixel at least, should a pixel as shown be that thin).
    int From(int nFrom) const { return static_cast<int>(std::ceil(m_origin + nFrom * m_size + 0.5)); }
    int To(int nTo) const
    {
        return std::max(From(nTo - 1) + 1, static_cast<int>(std::floor(m_origin + nTo * m_size - 0.5)));
    }

private:
    double m_origin = 0.0;
    double m_size = 1.0;
};

// Draws in device pixels while it lives: the mapping of the layout's units is put aside.
class CDevicePixels {
public:
    explicit CDevicePixels(CDC* pDC) : m_pDC(pDC), m_nSaved(pDC->SaveDC())
    {
        pDC->SetMapMode(MM_TEXT);
        pDC->SetWindowOrg(0, 0);
        pDC->SetViewportOrg(0, 0);
    }
    ~CDevicePixels() { m_pDC->RestoreDC(m_nSaved); }
    CDevicePixels(const CDevicePixels&) = delete;
    CDevicePixels& operator=(const CDevicePixels&) = delete;

private:
    CDC* m_pDC;
    int m_nSaved;
};

void FillDevice(CDC* pDC, int left, int top, int right, int bottom, COLORREF color)
{
    CBrush brush(color);
    const CRect r(left, top, right, bottom);
    pDC->FillRect(&r, &brush);
}

// The device size of so many layout units, across and down.
CSize DeviceSize(CDC* pDC, int nUnits)
{
    CSize size(nUnits, nUnits);
    pDC->LPtoDP(&size);
    return CSize(std::abs(size.cx), std::abs(size.cy));
}

// A double frame of strokes and a gap of nUnits each, inside a rectangle, on whole pixels as
// shown (CShownPixels); false where the frame keeps apart as drawn.
bool DoubleFrameOnShownPixels(CDC* pDC, const CRect& rect, int nUnits, COLORREF color)
{
    if (!DrawsOnScreen(pDC))
        return false;
    const CShownPixels across(pDC, FALSE), down(pDC, TRUE);
    const CSize unit = DeviceSize(pDC, nUnits);
    if (!across.Needed(unit.cx) || !down.Needed(unit.cy))
        return false;
    CRect device = rect;
    pDC->LPtoDP(&device);
    device.NormalizeRect();
    // Whole pixels: the frame's outer edges, each stroke and the gap.
    int l = across.Nearest(device.left), r = across.Nearest(device.right);
    int t = down.Nearest(device.top), b = down.Nearest(device.bottom);
    const int sx = across.Count(unit.cx), sy = down.Count(unit.cy);
    const CDevicePixels pixels(pDC);
    for (int n = 0; n < 2; ++n) {
        if (r - l < 2 * sx || b - t < 2 * sy)
            break;
        FillDevice(pDC, across.From(l), down.From(t), across.To(r), down.To(t + sy), color);
        FillDevice(pDC, across.From(l), down.From(b - sy), across.To(r), down.To(b), color);
        FillDevice(pDC, across.From(l), down.From(t), across.To(l + sx), down.To(b), color);
        FillDevice(pDC, across.From(r - sx), down.From(t), across.To(r), down.To(b), color);
        l += 2 * sx;
        r -= 2 * sx;
        t += 2 * sy;
        b -= 2 * sy;
    }
    return true;
}

// A double line of strokes and a gap of nUnits each along a horizontal or vertical line, the
// gap over the line, on whole pixels as shown (CShownPixels); false where it keeps apart as
// drawn or the line is slanted.
bool DoubleLineOnShownPixels(CDC* pDC, int x1, int y1, int x2, int y2, int nUnits, COLORREF color)
{
    if (!DrawsOnScreen(pDC) || (x1 != x2 && y1 != y2))
        return false;
    const bool bHorizontal = y1 == y2;
    const CShownPixels grid(pDC, bHorizontal ? TRUE : FALSE);
    const CSize unit = DeviceSize(pDC, nUnits);
    const int nStroke = bHorizontal ? unit.cy : unit.cx;
    if (!grid.Needed(nStroke))
        return false;
    POINT ends[2] = {{x1, y1}, {x2, y2}};
    pDC->LPtoDP(ends, 2);
    const int s = grid.Count(nStroke);
    const int gap = grid.Holding(bHorizontal ? ends[0].y : ends[0].x) - (s - 1) / 2;
    const int from = grid.From(gap - s), to = grid.To(gap + 2 * s);
    const int first = grid.To(gap), second = grid.From(gap + s);
    const CDevicePixels pixels(pDC);
    if (bHorizontal) {
        const int left = std::min(ends[0].x, ends[1].x), right = std::max(ends[0].x, ends[1].x) + 1;
        FillDevice(pDC, left, from, right, first, color);
        FillDevice(pDC, left, second, right, to, color);
    } else {
        const int top = std::min(ends[0].y, ends[1].y), bottom = std::max(ends[0].y, ends[1].y) + 1;
        FillDevice(pDC, from, top, first, bottom, color);
        FillDevice(pDC, second, top, to, bottom, color);
    }
    return true;
}

void Dots(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    if (y1 == y2)
        for (int x = std::min(x1, x2); x < std::max(x1, x2); x += 2)
            pDC->SetPixel(x, y1, color);
    else
        for (int y = std::min(y1, y2); y < std::max(y1, y2); y += 2)
            pDC->SetPixel(x1, y, color);
}

} // namespace

void DrawRuleLine(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle, COLORREF color)
{
    const bool bScreen = DrawsOnScreen(pDC);
    const bool bHorizontal = y1 == y2;
    switch (nStyle) {
    case 1:
    case 2:
    case 3:
    case 4:
        // Only the printing state counts: a preview draws them as the printer does.
        PenLine(pDC, PS_SOLID, pDC->IsPrinting() ? nStyle - 1 : nStyle, color, x1, y1, x2, y2);
        break;
    case 5:
        PenLine(pDC, PS_SOLID, 6, color, x1, y1, x2, y2);
        break;
    case 6:
        PenLine(pDC, PS_SOLID, 8, color, x1, y1, x2, y2);
        break;
    case 7:
    case 8:
    case 9: {
        int d = nStyle - 6;
        if (DoubleLineOnShownPixels(pDC, x1, y1, x2, y2, d, color))
            break;
        for (int s : {-d, d}) {
            if (bHorizontal)
                PenLine(pDC, PS_SOLID, d, color, x1, y1 + s, x2, y2 + s);
            else
                PenLine(pDC, PS_SOLID, d, color, x1 + s, y1, x2 + s, y2);
        }
        break;
    }
    case 10:
        if (bScreen)
            Dots(pDC, x1, y1, x2, y2, color);
        else
            PenLine(pDC, PS_DOT, 0, color, x1, y1, x2, y2);
        break;
    case 11:
        PenLine(pDC, bScreen ? PS_DOT : PS_DASH, bScreen ? 1 : 0, color, x1, y1, x2, y2);
        break;
    default:
        break;
    }
}

void ClearDoubleGap(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle)
{
    if (nStyle >= 7 && nStyle <= 9)
        PenLine(pDC, PS_SOLID, nStyle - 6, RGB(255, 255, 255), x1, y1, x2, y2);
}

void DrawStyledRect(CDC* pDC, const RECT& rect, int nStyle, BOOL bFill, int nPattern, COLORREF lineColor,
                    COLORREF fore, COLORREF back)
{
    if (nStyle < 0 || nStyle >= LINE_STYLE_COUNT)
        return;
    CRect r = Normalised(rect);
    auto frame = [&](const CRect& f, int nPenStyle, int nWidth) {
        CPen pen(nPenStyle, nWidth, lineColor);
        CPen* pOldPen = pDC->SelectObject(&pen);
        CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(&f);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(static_cast<CBrush*>(pOldBrush));
    };
    CRect shaded = r;
    if (nStyle >= 7 && nStyle <= 9) {
        int d = 2 * (nStyle - 6);
        shaded.DeflateRect(d, d);
    }
    if (bFill)
        FillShading(pDC, shaded, nPattern, fore, back);
    static const int kWidths[] = {0, 1, 2, 3, 4, 6, 8};
    if (nStyle >= 1 && nStyle <= 6) {
        frame(r, PS_INSIDEFRAME, kWidths[nStyle]);
    } else if (nStyle >= 7 && nStyle <= 9) {
        if (DoubleFrameOnShownPixels(pDC, r, nStyle - 6, lineColor))
            return;
        frame(r, PS_INSIDEFRAME, nStyle - 6);
        frame(shaded, PS_INSIDEFRAME, nStyle - 6);
    } else if (nStyle == 10) {
        if (DrawsOnScreen(pDC)) {
            CRect d(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
            Dots(pDC, d.left, d.top, d.right, d.top, lineColor);
            Dots(pDC, d.left, d.bottom, d.right, d.bottom, lineColor);
            Dots(pDC, d.left, d.top, d.left, d.bottom, lineColor);
            Dots(pDC, d.right, d.top, d.right, d.bottom, lineColor);
        } else {
            frame(r, PS_DOT, 0);
        }
    } else if (nStyle == 11) {
        frame(r, DrawsOnScreen(pDC) ? PS_DOT : PS_DASH, DrawsOnScreen(pDC) ? 1 : 0);
    }
}

void DrawStyledStraightLine(CDC* pDC, int x1, int y1, int x2, int y2, int nStyle, COLORREF color)
{
    static const int kWidths[] = {0, 1, 2, 3, 4, 6, 8, 1, 2, 3, 1, 1};
    if (nStyle <= 0 || nStyle >= LINE_STYLE_COUNT)
        return;
    const int w = kWidths[nStyle];
    auto pull = [w](int& a, int& b) {
        if (a <= b) {
            a += (w + 1) / 2;
            b -= w / 2;
        } else {
            a -= w / 2;
            b += (w + 1) / 2;
        }
    };
    pull(x1, x2);
    pull(y1, y2);
    const bool bScreen = DrawsOnScreen(pDC);
    if (nStyle <= 6) {
        PenLine(pDC, PS_SOLID, w, color, x1, y1, x2, y2);
    } else if (nStyle <= 9) {
        if (DoubleLineOnShownPixels(pDC, x1, y1, x2, y2, w, color))
            return;
        int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
        bool bSteep = dx == 0 || dy / dx >= 1;
        for (int s : {-w, w}) {
            if (bSteep)
                PenLine(pDC, PS_SOLID, w, color, x1 + s, y1, x2 + s, y2);
            else
                PenLine(pDC, PS_SOLID, w, color, x1, y1 + s, x2, y2 + s);
        }
    } else if (nStyle == 10) {
        if (bScreen && (x1 == x2 || y1 == y2))
            Dots(pDC, x1, y1, x2, y2, color);
        else
            PenLine(pDC, PS_DOT, bScreen ? 1 : 0, color, x1, y1, x2, y2);
    } else {
        PenLine(pDC, bScreen ? PS_DOT : PS_DASH, bScreen ? 1 : 0, color, x1, y1, x2, y2);
    }
}

#include "platform/ui/gdi/CDC_p.h"

#include <algorithm>

namespace {

COLORREF FromQRgb(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

} // namespace

// ---------------------------------------------------------------------------------------
// Lines and shapes.
// ---------------------------------------------------------------------------------------

CPoint CDC::GetCurrentPosition() const
{
    return CPoint(m_pImpl->st.curPos.x(), m_pImpl->st.curPos.y());
}

CPoint CDC::MoveTo(int x, int y)
{
    const CPoint old = GetCurrentPosition();
    m_pImpl->st.curPos = QPoint(x, y);
    m_pImpl->styleOffset = 0;
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    CDCImpl& d = *m_pImpl;
    const QPoint from = d.st.curPos;
    const QPoint a = d.L2D(from.x(), from.y()), b = d.L2D(x, y);
    const int nReach = d.Pen().width + 1;
    QPainter* p = d.PainterTouching(QRect(a, b).normalized().adjusted(-nReach, -nReach, nReach, nReach));
    d.st.curPos = QPoint(x, y);
    if (!p)
        return FALSE;
    d.PenLine(p, a, b, d.Pen());
    return TRUE;
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p || !lpPoints || nCount < 2)
        return FALSE;
    const auto pen = d.Pen();
    d.styleOffset = 0;
    if (pen.width > 1 && !pen.null) {
        // Wide lines join smoothly: one stroke through all points.
        bool straight = true;
        for (int i = 1; i < nCount; ++i)
            straight = straight && (lpPoints[i].x == lpPoints[0].x || lpPoints[i].y == lpPoints[0].y);
        if (!straight) {
            const CMix m = MixFor(d.st.rop2, pen.color, d.host->rasterOps);
            if (m.skip)
                return TRUE;
            QPainterPath path;
            path.moveTo(QPointF(d.L2D(lpPoints[0].x, lpPoints[0].y)) + QPointF(0.5, 0.5));
            for (int i = 1; i < nCount; ++i)
                path.lineTo(QPointF(d.L2D(lpPoints[i].x, lpPoints[i].y)) + QPointF(0.5, 0.5));
            d.SetMode(p, m.mode);
            p->setPen(QPen(m.color, pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->setBrush(Qt::NoBrush);
            p->drawPath(path);
            d.ForgetPen();
            return TRUE;
        }
    }
    for (int i = 1; i < nCount; ++i)
        d.PenLine(p, d.L2D(lpPoints[i - 1].x, lpPoints[i - 1].y), d.L2D(lpPoints[i].x, lpPoints[i].y), pen);
    return TRUE;
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p || !lpPoints || nCount < 2)
        return FALSE;
    QPolygon poly;
    poly.reserve(nCount);
    for (int i = 0; i < nCount; ++i)
        poly.append(d.L2D(lpPoints[i].x, lpPoints[i].y));
    QPainterPath path;
    path.setFillRule(d.st.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    d.PathShape(p, path);
    return TRUE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    CDCImpl& d = *m_pImpl;
    const QRect r = d.DevRect(x1, y1, x2, y2);
    const int nReach = d.Pen().width + 1;
    QPainter* p = d.PainterTouching(r.adjusted(-nReach, -nReach, nReach, nReach));
    if (!p)
        return FALSE;
    d.RectangleDev(p, r);
    return TRUE;
}

namespace {

// A rounded shape inside a bounding rectangle (right and bottom exclusive); a box
// narrower than two pixels draws nothing. addShape adds the outline to the path.
template <class AddShape>
BOOL BoundedShape(CDCImpl& d, int x1, int y1, int x2, int y2, AddShape addShape)
{
    QPainter* p = d.Painter();
    if (!p)
        return FALSE;
    const QRect r = d.DevRect(x1, y1, x2, y2);
    if (r.width() < 2 || r.height() < 2)
        return TRUE;
    QPainterPath path;
    addShape(path, QRectF(r.left(), r.top(), r.width() - 1, r.height() - 1));
    d.PathShape(p, path);
    return TRUE;
}

} // namespace

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    CDCImpl& d = *m_pImpl;
    return BoundedShape(d, x1, y1, x2, y2, [&](QPainterPath& path, const QRectF& box) {
        path.addRoundedRect(box, d.LenX(x3) / 2.0, d.LenY(y3) / 2.0);
    });
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return BoundedShape(*m_pImpl, x1, y1, x2, y2,
                        [](QPainterPath& path, const QRectF& box) { path.addEllipse(box); });
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    CDCImpl& d = *m_pImpl;
    CGdiData* b = GdiData(pBrush);
    if (!lpRect || !b || b->kind != CGdiKind::Brush)
        return;
    const QRect r = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    QPainter* p = d.PainterTouching(r);
    if (!p)
        return;
    d.FillBrush(p, QRegion(r), b, R2_COPYPEN);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    if (lpRect)
        FillSolidRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                      clr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    CDCImpl& d = *m_pImpl;
    // Like the opaque text output it is made of, it leaves clr as the background colour.
    d.st.bkColor = clr & 0xFFFFFF;
    const QRect r = d.DevRect(x, y, x + cx, y + cy);
    QPainter* p = d.PainterTouching(r);
    if (!p)
        return;
    if (r.isEmpty())
        return;
    d.SetMode(p, QPainter::CompositionMode_SourceOver);
    p->fillRect(r, ToQColor(clr));
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    CGdiData* b = GdiData(pBrush);
    if (!p || !lpRect || !b || b->kind != CGdiKind::Brush)
        return;
    const QRect r = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    if (r.isEmpty())
        return;
    // The border is one logical unit wide and high.
    const int bw = std::max(1, d.LenX(1));
    const int bh = std::max(1, d.LenY(1));
    QRegion frame(r);
    const QRect inner = r.adjusted(bw, bh, -bw, -bh);
    if (inner.width() > 0 && inner.height() > 0)
        frame -= QRegion(inner);
    d.FillBrush(p, frame, b, R2_COPYPEN);
}

void CDC::InvertRect(LPCRECT lpRect)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p || !lpRect)
        return;
    CMix m = MixFor(R2_NOT, 0, d.host->rasterOps);
    d.FillDev(p, d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom), m);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (lpRect)
        Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                   clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

void CDC::DrawFocusRect(LPCRECT lpRect)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p || !lpRect)
        return;
    const QRect r = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    if (r.isEmpty())
        return;
    // Every other pixel of the one-pixel frame is inverted (a checkerboard anchored at the
    // device origin), so that a second call restores the frame exactly.
    QRegion frame(r);
    const QRect inner = r.adjusted(1, 1, -1, -1);
    if (!inner.isEmpty())
        frame -= QRegion(inner);
    QPolygon points;
    for (const QRect& band : frame)
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                if (((x + y) & 1) == 0)
                    points.append(QPoint(x, y));
    if (points.isEmpty())
        return;
    CMix m = MixFor(R2_NOT, 0, d.host->rasterOps);
    if (m.skip)
        return;
    d.SetMode(p, m.mode);
    d.PlotPixels(p, points, Qt::black);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    const QRegion* r = RegionOf(pRgn);
    CGdiData* b = GdiData(pBrush);
    if (!p || !r || !b || b->kind != CGdiKind::Brush)
        return FALSE;
    d.FillBrush(p, *r, b, R2_COPYPEN);
    return TRUE;
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    const QRegion* r = RegionOf(pRgn);
    CGdiData* b = GdiData(pBrush);
    if (!p || !r || !b || b->kind != CGdiKind::Brush)
        return FALSE;
    const int w = std::max(1, d.LenX(nWidth)), h = std::max(1, d.LenY(nHeight));
    // The frame: the region less its copy shrunk by the width on every side.
    QRegion inner =
        *r & r->translated(w, 0) & r->translated(-w, 0) & r->translated(0, h) & r->translated(0, -h);
    d.FillBrush(p, *r - inner, b, R2_COPYPEN);
    return TRUE;
}

BOOL CDC::InvertRgn(CRgn* pRgn)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    const QRegion* r = RegionOf(pRgn);
    if (!p || !r)
        return FALSE;
    d.FillDev(p, *r, MixFor(R2_NOT, 0, d.host->rasterOps));
    return TRUE;
}

BOOL CDC::PaintRgn(CRgn* pRgn)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    const QRegion* r = RegionOf(pRgn);
    if (!p || !r)
        return FALSE;
    d.FillBrush(p, *r, d.st.brush.get(), d.st.rop2);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p)
        return CLR_INVALID;
    const QPoint pt = d.L2D(x, y);
    if (!d.VisibleRegion().contains(pt))
        return CLR_INVALID;
    d.SetMode(p, QPainter::CompositionMode_SourceOver);
    p->fillRect(QRect(pt, QSize(1, 1)), ToQColor(crColor));
    return crColor & 0xFFFFFF;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    const CDCImpl& d = *m_pImpl;
    const QImage* img = d.Image();
    if (!img || d.transformed)
        return CLR_INVALID;
    QPoint pt = d.L2D(x, y);
    if (!d.VisibleRegion().contains(pt))
        return CLR_INVALID;
    if (d.host)
        pt = d.host->baseTransform.map(pt);
    const double dpr = img->devicePixelRatio();
    const int px = static_cast<int>(pt.x() * dpr), py = static_cast<int>(pt.y() * dpr);
    if (!img->valid(px, py))
        return CLR_INVALID;
    return FromQRgb(img->pixel(px, py));
}

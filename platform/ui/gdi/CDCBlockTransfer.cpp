#include "platform/ui/gdi/CDC_p.h"

// ---------------------------------------------------------------------------------------
// Block transfers.
// ---------------------------------------------------------------------------------------

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (!p)
        return FALSE;
    const QRect r = d.DevRect(x, y, x + nWidth, y + nHeight);
    switch (dwRop) {
    case PATCOPY:
        d.FillBrush(p, QRegion(r), d.st.brush.get(), R2_COPYPEN);
        return TRUE;
    case PATINVERT:
        d.FillBrush(p, QRegion(r), d.st.brush.get(), R2_XORPEN);
        return TRUE;
    case DSTINVERT:
        d.FillDev(p, r, MixFor(R2_NOT, 0, d.host->rasterOps));
        return TRUE;
    case BLACKNESS:
        d.FillDev(p, r, MixFor(R2_BLACK, 0, d.host->rasterOps));
        return TRUE;
    case WHITENESS:
        d.FillDev(p, r, MixFor(R2_WHITE, 0, d.host->rasterOps));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return StretchBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, nWidth, nHeight, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    CDCImpl& d = *m_pImpl;
    if (dwRop == PATCOPY || dwRop == PATINVERT || dwRop == DSTINVERT || dwRop == BLACKNESS ||
        dwRop == WHITENESS)
        return PatBlt(x, y, nWidth, nHeight, dwRop);
    QPainter* p = d.Painter();
    if (!p || !pSrcDC || !pSrcDC->m_hDC)
        return FALSE;
    const CDCImpl& s = *pSrcDC->m_pImpl;
    const QImage* srcImage = s.Image();
    if (!srcImage || s.transformed)
        return FALSE;

    // Device corners on both sides; opposite directions mirror the picture.
    const int dx1 = d.XL2D(x), dy1 = d.YL2D(y), dx2 = d.XL2D(x + nWidth), dy2 = d.YL2D(y + nHeight);
    const int sx1 = s.XL2D(xSrc), sy1 = s.YL2D(ySrc), sx2 = s.XL2D(xSrc + nSrcWidth),
              sy2 = s.YL2D(ySrc + nSrcHeight);
    const QRect dst = OrderedRect(dx1, dy1, dx2, dy2);
    QRect src = OrderedRect(sx1, sy1, sx2, sy2);
    if (dst.isEmpty() || src.isEmpty())
        return TRUE;
    const bool mirrorX = (dx2 - dx1 < 0) != (sx2 - sx1 < 0);
    const bool mirrorY = (dy2 - dy1 < 0) != (sy2 - sy1 < 0);

    if (s.host && !s.host->baseTransform.isIdentity())
        src = s.host->baseTransform.mapRect(src);
    const double dpr = srcImage->devicePixelRatio();
    const QRect srcPixels(Round(src.left() * dpr), Round(src.top() * dpr), Round(src.width() * dpr),
                          Round(src.height() * dpr));
    QImage block;
    const bool srcMono = s.memory && s.st.bitmap && s.st.bitmap->mono;
    const bool dstMono = d.memory && d.st.bitmap && d.st.bitmap->mono;
    const bool sameDevice = srcImage == d.Image();
    if (srcMono && !dstMono) {
        // Monochrome to colour: 0 bits take the text colour, 1 bits the background colour
        // of the destination.
        block = srcImage->copy(srcPixels).convertToFormat(QImage::Format_RGB32);
        const QRgb zero = ToQColor(d.st.textColor).rgb(), one = ToQColor(d.st.bkColor).rgb();
        for (int yy = 0; yy < block.height(); ++yy) {
            QRgb* line = reinterpret_cast<QRgb*>(block.scanLine(yy));
            for (int xx = 0; xx < block.width(); ++xx)
                line[xx] = (line[xx] & 0xFFFFFF) ? one : zero;
        }
    } else if (dstMono && !srcMono) {
        // Colour to monochrome: the source's background colour becomes 1 (white), the rest 0.
        block = srcImage->copy(srcPixels).convertToFormat(QImage::Format_RGB32);
        const QRgb bk = ToQColor(s.st.bkColor).rgb() & 0xFFFFFF;
        for (int yy = 0; yy < block.height(); ++yy) {
            QRgb* line = reinterpret_cast<QRgb*>(block.scanLine(yy));
            for (int xx = 0; xx < block.width(); ++xx)
                line[xx] = (line[xx] & 0xFFFFFF) == bk ? 0xFFFFFFFF : 0xFF000000;
        }
    } else if (sameDevice || mirrorX || mirrorY) {
        block = srcImage->copy(srcPixels);
    }
    if (!block.isNull() && (mirrorX || mirrorY))
        block = block.mirrored(mirrorX, mirrorY);

    QPainter::CompositionMode mode;
    bool raster = true;
    switch (dwRop) {
    case SRCCOPY:
        mode = QPainter::CompositionMode_Source;
        raster = false;
        break;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case SRCERASE:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case NOTSRCCOPY:
        mode = QPainter::RasterOp_NotSource;
        break;
    case NOTSRCERASE:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case MERGEPAINT:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case MERGECOPY: {
        // Source AND brush: combine them first, then copy.
        if (block.isNull())
            block = srcImage->copy(srcPixels);
        block = block.convertToFormat(QImage::Format_RGB32);
        QPainter pp(&block);
        pp.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        const CGdiData* b = d.st.brush.get();
        if (b && b->brush.lbStyle == BS_SOLID)
            pp.fillRect(block.rect(), ToQColor(b->brush.lbColor));
        else if (b && b->brush.lbStyle != BS_NULL)
            pp.fillRect(block.rect(), QBrush(d.BrushTile(b)));
        pp.end();
        mode = QPainter::CompositionMode_Source;
        raster = false;
        break;
    }
    default:
        return FALSE;
    }
    if (raster && !d.host->rasterOps)
        mode = QPainter::CompositionMode_SourceOver;
    d.SetMode(p, mode);
    p->setRenderHint(QPainter::SmoothPixmapTransform, d.st.stretchMode == HALFTONE);
    if (block.isNull())
        p->drawImage(QRectF(dst), *srcImage, QRectF(srcPixels));
    else
        p->drawImage(QRectF(dst), block, QRectF(block.rect()));
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    return TRUE;
}

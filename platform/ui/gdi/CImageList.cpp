#include "platform/ui/gdi/CImageList.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CImageList_p.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"
#include "platform/ui/gdi/SysColors.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPointer>

#include <algorithm>

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The tiles of a bitmap, cx wide, left to right (a last narrower tile is dropped, as the
// common controls do).
std::vector<QImage> SplitStrip(const QImage& strip, int cx, int cy)
{
    std::vector<QImage> tiles;
    if (strip.isNull() || cx <= 0 || cy <= 0)
        return tiles;
    const int n = strip.width() / cx;
    for (int i = 0; i < n; ++i) {
        QImage tile(cx, cy, QImage::Format_ARGB32);
        tile.fill(Qt::black);
        QPainter p(&tile);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), strip, QRect(i * cx, 0, cx, std::min(cy, strip.height())));
        p.end();
        tiles.push_back(tile);
    }
    return tiles;
}

// Pixels of the mask colour become transparent.
void ApplyMaskColour(QImage& image, COLORREF crMask)
{
    const QRgb key = ToQColor(crMask).rgb() & 0xFFFFFF;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = (line[x] & 0xFFFFFF) == key ? 0u : (line[x] | 0xFF000000u);
    }
}

// White pixels of the mask are transparent, the others opaque.
void ApplyMaskImage(QImage& image, const QImage& mask, int xOffset)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int mx = x + xOffset;
            const bool transparent =
                mx < mask.width() && y < mask.height() && (mask.pixel(mx, y) & 0xFFFFFF) == 0xFFFFFF;
            line[x] = transparent ? 0u : (line[x] | 0xFF000000u);
        }
    }
}

// An icon at the list's size, its transparency all or nothing as a masked picture has.
QImage FitIcon(const QImage& icon, int cx, int cy)
{
    QImage image(cx, cy, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.drawImage(QRect(0, 0, cx, cy), icon.convertToFormat(QImage::Format_ARGB32));
    p.end();
    // Keep the transparency all-or-nothing, as a masked picture is.
    for (int y = 0; y < cy; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < cx; ++x)
            line[x] = qAlpha(line[x]) < 128 ? 0u : (qUnpremultiply(line[x]) | 0xFF000000u);
    }
    return image;
}

// The drag image: one window following the mouse, shared by all lists as on Windows.
struct CDragImageState {
    QImage image;
    CPoint hotSpot;
    QPointer<QLabel> label;
    HWND hWndLock = nullptr;
    bool shown = false;
};

CDragImageState& DragState()
{
    static CDragImageState state;
    return state;
}

void PlaceDragLabel(CPoint pt)
{
    CDragImageState& s = DragState();
    if (!s.label)
        return;
    POINT screen = pt;
    if (CWnd* pWnd = CWnd::FromHandle(s.hWndLock))
        pWnd->ClientToScreen(&screen);
    s.label->move(screen.x - s.hotSpot.x, screen.y - s.hotSpot.y);
}

} // namespace

// ---------------------------------------------------------------------------------------
// The shared list.
// ---------------------------------------------------------------------------------------
void CImageListData::Release()
{
    if (--refs == 0)
        delete this;
}

QImage CImageListData::Render(int nImage, UINT nStyle, COLORREF clrBk, COLORREF clrFg) const
{
    if (!Valid(nImage))
        return QImage();
    QImage image = images[static_cast<size_t>(nImage)].copy();
    // The overlay goes on first so that a selected picture blends as a whole.
    const UINT nOverlay = (nStyle & ILD_OVERLAYMASK) >> 8;
    if (nOverlay > 0 && nOverlay < overlays.size() && overlays[nOverlay] > 0 &&
        Valid(overlays[nOverlay] - 1)) {
        QPainter p(&image);
        p.drawImage(QPoint(0, 0), images[static_cast<size_t>(overlays[nOverlay] - 1)]);
    }
    if (nStyle & (ILD_BLEND50 | ILD_BLEND25)) {
        const COLORREF fg =
            (clrFg == CLR_DEFAULT || clrFg == CLR_NONE) ? GetSysColor(COLOR_HIGHLIGHT) : clrFg;
        const int weight = (nStyle & ILD_BLEND50) ? 128 : 64; // share of the blend colour in 256ths
        const QColor c = ToQColor(fg);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QRgb px = line[x];
                if (qAlpha(px) == 0)
                    continue;
                line[x] = qRgba((qRed(px) * (256 - weight) + c.red() * weight) / 256,
                                (qGreen(px) * (256 - weight) + c.green() * weight) / 256,
                                (qBlue(px) * (256 - weight) + c.blue() * weight) / 256, 255);
            }
        }
    }
    // Without a mask, or with ILD_NORMAL and a background colour, the picture is opaque.
    COLORREF bk = clrBk;
    if (bk == CLR_DEFAULT)
        bk = bkColor;
    if (!Masked()) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] |= 0xFF000000u;
        }
    } else if (!(nStyle & ILD_TRANSPARENT) && bk != CLR_NONE) {
        QImage filled(image.size(), QImage::Format_ARGB32);
        filled.fill(ToQColor(bk));
        QPainter p(&filled);
        p.drawImage(QPoint(0, 0), image);
        p.end();
        image = filled;
    }
    return image;
}

HIMAGELIST CImageListRef::Reset(HIMAGELIST hImageList)
{
    HIMAGELIST hOld = Handle();
    CImageListData* pNew = CImageListData::From(hImageList);
    if (pNew)
        pNew->AddRef();
    if (m_p)
        m_p->Release();
    m_p = pNew;
    return hOld;
}

HIMAGELIST CImageListRef::Exchange(HIMAGELIST hImageList)
{
    CImageListData* pOld = m_p;
    const bool bOthersHoldIt = pOld && pOld->refs > 1;
    HIMAGELIST hOld = Reset(hImageList);
    if (pOld == m_p || bOthersHoldIt)
        return hOld;
    return nullptr;
}

QPixmap AfxImageListPixmap(HIMAGELIST hImageList, int nImage, UINT nStyle)
{
    CImageListData* d = CImageListData::From(hImageList);
    if (!d || !d->Valid(nImage))
        return QPixmap();
    return QPixmap::fromImage(d->Render(nImage, nStyle | ILD_TRANSPARENT, CLR_NONE, CLR_DEFAULT));
}

QImage AfxImageFromIcon(HICON hIcon)
{
    const QIcon icon = AfxIconFromHandle(hIcon);
    if (icon.isNull())
        return QImage();
    // The largest picture the icon has; the list fits it to its own size.
    const QList<QSize> sizes = icon.availableSizes();
    QSize best(32, 32);
    for (const QSize& sz : sizes)
        if (sz.width() * sz.height() > best.width() * best.height() || sizes.size() == 1)
            best = sz;
    return icon.pixmap(best).toImage();
}

// ---------------------------------------------------------------------------------------
// CImageList.
// ---------------------------------------------------------------------------------------
CImageList::~CImageList()
{
    if (!m_bTemporary)
        DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    CImageListData* d = CImageListData::From(hImageList);
    if (!d)
        return nullptr;
    if (d->owner)
        return d->owner;
    if (!d->temporary) {
        d->temporary = std::make_unique<CImageList>();
        d->temporary->m_bTemporary = true;
        d->temporary->m_hImageList = hImageList;
    }
    return d->temporary.get();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    (void)nGrow;
    if (cx <= 0 || cy <= 0)
        return FALSE;
    DeleteImageList();
    auto* d = new CImageListData;
    d->cx = cx;
    d->cy = cy;
    d->flags = nFlags;
    d->owner = this;
    d->images.reserve(static_cast<size_t>(std::max(0, nInitial)));
    m_hImageList = d->Handle();
    return TRUE;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(nBitmapID))
        return FALSE;
    BITMAP bm{};
    bitmap.GetBitmap(&bm);
    if (!Create(cx, bm.bmHeight, ILC_COLOR24 | ILC_MASK, 0, nGrow))
        return FALSE;
    return Add(&bitmap, crMask) >= 0 || bm.bmWidth < cx;
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (!hImageList)
        return FALSE;
    DeleteImageList();
    CImageListData* d = CImageListData::From(hImageList);
    d->AddRef();
    if (!d->owner)
        d->owner = this;
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    if (CImageListData* d = CImageListData::From(h)) {
        if (d->owner == this)
            d->owner = nullptr;
        // The reference moves to the caller's handle.
    }
    m_hImageList = nullptr;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d)
        return FALSE;
    m_hImageList = nullptr;
    if (d->owner == this)
        d->owner = nullptr;
    d->Release();
    return TRUE;
}

int CImageList::GetImageCount() const
{
    CImageListData* d = CImageListData::From(m_hImageList);
    return d ? static_cast<int>(d->images.size()) : 0;
}

BOOL CImageList::SetImageCount(UINT uNewCount)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d)
        return FALSE;
    QImage blank(d->cx, d->cy, QImage::Format_ARGB32);
    blank.fill(d->Masked() ? Qt::transparent : Qt::black);
    d->images.resize(uNewCount, blank);
    ++d->generation;
    return TRUE;
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    QImage* src = ImageOf(pbmImage);
    if (!d || !src)
        return -1;
    std::vector<QImage> tiles = SplitStrip(*src, d->cx, d->cy);
    if (tiles.empty())
        return -1;
    const QImage* mask = ImageOf(pbmMask);
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (d->Masked() && mask)
            ApplyMaskImage(tiles[i], *mask, static_cast<int>(i) * d->cx);
        else
            ApplyMaskColour(tiles[i], CLR_NONE); // all opaque
    }
    const int first = static_cast<int>(d->images.size());
    d->images.insert(d->images.end(), tiles.begin(), tiles.end());
    ++d->generation;
    return first;
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    QImage* src = ImageOf(pbmImage);
    if (!d || !src)
        return -1;
    std::vector<QImage> tiles = SplitStrip(*src, d->cx, d->cy);
    if (tiles.empty())
        return -1;
    for (QImage& tile : tiles)
        ApplyMaskColour(tile, d->Masked() ? crMask : CLR_NONE);
    const int first = static_cast<int>(d->images.size());
    d->images.insert(d->images.end(), tiles.begin(), tiles.end());
    ++d->generation;
    return first;
}

int CImageList::Add(HICON hIcon)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    const QImage icon = AfxImageFromIcon(hIcon);
    if (!d || icon.isNull())
        return -1;
    d->images.push_back(FitIcon(icon, d->cx, d->cy));
    ++d->generation;
    return static_cast<int>(d->images.size()) - 1;
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    QImage* src = ImageOf(pbmImage);
    if (!d || !src || !d->Valid(nImage))
        return FALSE;
    std::vector<QImage> tiles = SplitStrip(*src, d->cx, d->cy);
    if (tiles.empty())
        return FALSE;
    const QImage* mask = ImageOf(pbmMask);
    if (d->Masked() && mask)
        ApplyMaskImage(tiles[0], *mask, 0);
    else
        ApplyMaskColour(tiles[0], CLR_NONE);
    d->images[static_cast<size_t>(nImage)] = tiles[0];
    ++d->generation;
    return TRUE;
}

int CImageList::Replace(int nImage, HICON hIcon)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d)
        return -1;
    if (nImage == -1)
        return Add(hIcon);
    const QImage icon = AfxImageFromIcon(hIcon);
    if (!d->Valid(nImage) || icon.isNull())
        return -1;
    d->images[static_cast<size_t>(nImage)] = FitIcon(icon, d->cx, d->cy);
    ++d->generation;
    return nImage;
}

BOOL CImageList::Remove(int nImage)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d)
        return FALSE;
    if (nImage == -1) {
        d->images.clear();
    } else {
        if (!d->Valid(nImage))
            return FALSE;
        d->images.erase(d->images.begin() + nImage);
    }
    ++d->generation;
    return TRUE;
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d || !d->Valid(nImage) || nOverlay < 1 || nOverlay > 15)
        return FALSE;
    d->overlays[static_cast<size_t>(nOverlay)] = nImage + 1;
    ++d->generation;
    return TRUE;
}

COLORREF CImageList::SetBkColor(COLORREF cr)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d)
        return CLR_NONE;
    const COLORREF old = d->bkColor;
    d->bkColor = cr;
    ++d->generation;
    return old;
}

COLORREF CImageList::GetBkColor() const
{
    CImageListData* d = CImageListData::From(m_hImageList);
    return d ? d->bkColor : CLR_NONE;
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d || !d->Valid(nImage) || !pImageInfo)
        return FALSE;
    *pImageInfo = IMAGEINFO{};
    pImageInfo->rcImage = RECT{0, 0, d->cx, d->cy};
    return TRUE;
}

BOOL CImageList::GetIconSize(int* cx, int* cy) const
{
    return ImageList_GetIconSize(m_hImageList, cx, cy);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_DrawEx(m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, 0, 0,
                            CLR_DEFAULT, CLR_DEFAULT, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle)
{
    return ImageList_DrawEx(m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, sz.cx, sz.cy,
                            clrBk, clrFg, nStyle);
}

// ---------------------------------------------------------------------------------------
// The drag image.
// ---------------------------------------------------------------------------------------
BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    CImageListData* d = CImageListData::From(m_hImageList);
    if (!d || !d->Valid(nImage))
        return FALSE;
    EndDrag();
    CDragImageState& s = DragState();
    s.image = d->Render(nImage, ILD_TRANSPARENT, CLR_NONE, CLR_DEFAULT);
    s.hotSpot = ptHotSpot;
    return TRUE;
}

void CImageList::EndDrag()
{
    CDragImageState& s = DragState();
    if (s.label)
        delete s.label.data();
    s = CDragImageState();
}

BOOL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    CDragImageState& s = DragState();
    if (s.image.isNull() || !qApp)
        return FALSE;
    s.hWndLock = pWndLock ? pWndLock->GetSafeHwnd() : nullptr;
    if (!s.label) {
        auto* label =
            new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAttribute(Qt::WA_ShowWithoutActivating);
        QImage faded = s.image;
        QPainter p(&faded);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.fillRect(faded.rect(), QColor(0, 0, 0, 160));
        p.end();
        label->setPixmap(QPixmap::fromImage(faded));
        label->resize(faded.size());
        s.label = label;
    }
    PlaceDragLabel(point);
    s.label->show();
    s.shown = true;
    return TRUE;
}

BOOL CImageList::DragMove(CPoint pt)
{
    CDragImageState& s = DragState();
    if (!s.label)
        return FALSE;
    PlaceDragLabel(pt);
    return TRUE;
}

BOOL CImageList::DragLeave(CWnd* pWndLock)
{
    (void)pWndLock;
    CDragImageState& s = DragState();
    if (s.label)
        s.label->hide();
    s.shown = false;
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL bShow)
{
    CDragImageState& s = DragState();
    if (!s.label)
        return FALSE;
    s.label->setVisible(bShow != FALSE);
    s.shown = bShow != FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Handle-level functions.
// ---------------------------------------------------------------------------------------
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle)
{
    CImageListData* d = CImageListData::From(himl);
    CDC* pDC = CDC::FromHandle(hdcDst);
    if (!d || !d->Valid(i) || !pDC || !pDC->GetSafeHdc())
        return FALSE;
    const int cx = dx > 0 ? std::min(dx, d->cx) : d->cx;
    const int cy = dy > 0 ? std::min(dy, d->cy) : d->cy;
    QImage picture = d->Render(i, fStyle, rgbBk, rgbFg).copy(0, 0, cx, cy);
    if (fStyle & ILD_MASK) {
        // The mask alone: black where the picture is, white where it is transparent.
        QImage mask(picture.size(), QImage::Format_ARGB32);
        for (int yy = 0; yy < picture.height(); ++yy)
            for (int xx = 0; xx < picture.width(); ++xx)
                mask.setPixel(xx, yy, qAlpha(picture.pixel(xx, yy)) ? 0xFF000000u : 0xFFFFFFFFu);
        picture = mask;
    }

    // The picture goes through the context as two block transfers, as masked pictures are
    // drawn with GDI: the mask (white where transparent) ANDed, then the picture (black where
    // transparent) ORed. The context's mapping, clipping and output offsets apply.
    bool opaque = true;
    for (int yy = 0; yy < picture.height() && opaque; ++yy)
        for (int xx = 0; xx < picture.width(); ++xx)
            if (qAlpha(picture.pixel(xx, yy)) == 0) {
                opaque = false;
                break;
            }
    QImage colour(picture.size(), QImage::Format_RGB32);
    QImage mask(picture.size(), QImage::Format_RGB32);
    for (int yy = 0; yy < picture.height(); ++yy) {
        for (int xx = 0; xx < picture.width(); ++xx) {
            const QRgb px = picture.pixel(xx, yy);
            const bool on = qAlpha(px) != 0;
            colour.setPixel(xx, yy, on ? (px | 0xFF000000u) : 0xFF000000u);
            mask.setPixel(xx, yy, on ? 0xFF000000u : 0xFFFFFFFFu);
        }
    }
    // Devices without raster operations (a widget being painted) get the picture through
    // the painter, blended over what is there.
    QPaintDevice* pDevice = pDC->GetDevice();
    if (!opaque && pDevice && pDevice->devType() != QInternal::Image) {
        QPainter* pPainter = pDC->GetPainter();
        if (!pPainter)
            return FALSE;
        POINT ptDev{x, y};
        pDC->LPtoDP(&ptDev);
        pPainter->save();
        pPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        pPainter->drawImage(QPoint(ptDev.x, ptDev.y), picture);
        pPainter->restore();
        return TRUE;
    }
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC))
        return FALSE;
    CBitmap bmColour;
    if (!SetBitmapImage(&bmColour, colour))
        return FALSE;
    // The pixels are device pixels: the far corner is found in device space and taken
    // back to logical units, so that the transfer covers cx by cy device pixels.
    POINT corner{x, y};
    pDC->LPtoDP(&corner);
    corner.x += cx;
    corner.y += cy;
    pDC->DPtoLP(&corner);
    const CSize size(corner.x - x, corner.y - y);
    BOOL ok = TRUE;
    if (opaque) {
        CBitmap* pOld = memDC.SelectObject(&bmColour);
        ok = pDC->StretchBlt(x, y, size.cx, size.cy, &memDC, 0, 0, cx, cy, SRCCOPY);
        memDC.SelectObject(pOld);
        return ok;
    }
    CBitmap bmMask;
    if (!SetBitmapImage(&bmMask, mask))
        return FALSE;
    CBitmap* pOld = memDC.SelectObject(&bmMask);
    const COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    const COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
    ok = pDC->StretchBlt(x, y, size.cx, size.cy, &memDC, 0, 0, cx, cy, SRCAND);
    memDC.SelectObject(&bmColour);
    ok = pDC->StretchBlt(x, y, size.cx, size.cy, &memDC, 0, 0, cx, cy, SRCPAINT) && ok;
    memDC.SelectObject(pOld);
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBk);
    return ok;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    CImageListData* d = CImageListData::From(himl);
    if (!d)
        return FALSE;
    if (cx)
        *cx = d->cx;
    if (cy)
        *cy = d->cy;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl)
{
    CImageListData* d = CImageListData::From(himl);
    return d ? static_cast<int>(d->images.size()) : 0;
}

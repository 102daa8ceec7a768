#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CDC_p.h"
#include "platform/ui/gdi/SysColors.h"

#include <QPainterPath>
#include <QPolygon>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    long long q = product / nDenominator;
    const long long r = product % nDenominator;
    // Round halves away from zero.
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(nDenominator)))
        q += ((product < 0) != (nDenominator < 0)) ? -1 : 1;
    if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(q);
}

namespace {

CBitmapResourceLoader& BitmapLoader()
{
    static CBitmapResourceLoader loader;
    return loader;
}

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// Hatch patterns, rows top to bottom, most significant bit leftmost.
const BYTE kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
};

// A monochrome image from rows of bits (1 = white).
QImage MonoImage(int width, int height, const BYTE* bits, int bytesPerRow)
{
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull())
        return img;
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const bool set = bits && (bits[y * bytesPerRow + x / 8] & (0x80 >> (x % 8)));
            line[x] = set ? kWhite : kBlack;
        }
    }
    return img;
}

bool ValidBitmapSize(int w, int h)
{
    // Refuse sizes that cannot be meant (and would exhaust memory): at most 2^28 pixels.
    return w > 0 && h > 0 && w <= 65536 && h <= 65536 && static_cast<long long>(w) * h <= (1LL << 28);
}

int MonoRowBytes(int width)
{
    return ((width + 15) / 16) * 2;
}

void CopyFaceName(char* dest, const char* src)
{
    std::memset(dest, 0, LF_FACESIZE);
    if (src)
        std::strncpy(dest, src, LF_FACESIZE - 1);
}

CGdiData* MakeStock(int nIndex)
{
    auto solidBrush = [](COLORREF c) {
        auto* d = new CGdiData(CGdiKind::Brush);
        d->brush = {BS_SOLID, c, 0};
        return d;
    };
    auto pen = [](int style, COLORREF c) {
        auto* d = new CGdiData(CGdiKind::Pen);
        d->pen = {static_cast<UINT>(style), {0, 0}, c};
        return d;
    };
    auto font = [](LONG height, LONG width, LONG weight, BYTE pitchFamily, const CString& face) {
        auto* d = new CGdiData(CGdiKind::Font);
        d->font.lfHeight = height;
        d->font.lfWidth = width;
        d->font.lfWeight = weight;
        d->font.lfCharSet = SHIFTJIS_CHARSET;
        d->font.lfPitchAndFamily = pitchFamily;
        CopyFaceName(d->font.lfFaceName, face);
        return d;
    };
    switch (nIndex) {
    case WHITE_BRUSH:
        return solidBrush(RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return solidBrush(RGB(192, 192, 192));
    case GRAY_BRUSH:
        return solidBrush(RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return solidBrush(RGB(64, 64, 64));
    case BLACK_BRUSH:
        return solidBrush(RGB(0, 0, 0));
    case NULL_BRUSH: {
        auto* d = new CGdiData(CGdiKind::Brush);
        d->brush = {BS_NULL, 0, 0};
        return d;
    }
    case WHITE_PEN:
        return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN:
        return pen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN:
        return pen(PS_NULL, RGB(0, 0, 0));
    // The fonts of a Japanese desktop: the bold "System" cell font of 18 pixels with
    // half-width characters 8 pixels wide, and the 9-point gothic of dialogs and bars.
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        return font(18, 8, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
    case SYSTEM_FIXED_FONT:
        return font(18, 8, FW_NORMAL, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"_sj);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
        return font(12, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック"_sj);
    case ANSI_VAR_FONT:
        return font(12, 0, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック"_sj);
    case DEFAULT_GUI_FONT:
        return font(-12, 0, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック"_sj);
    default:
        return nullptr;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// Descriptions.
// ---------------------------------------------------------------------------------------

CGdiData::~CGdiData()
{
    // The temporary wrapper owns no reference; it goes with the description.
    temporary.reset();
}

CGdiObject* CGdiData::Wrapper()
{
    if (owner)
        return owner;
    if (!temporary) {
        CGdiObject* w = nullptr;
        switch (kind) {
        case CGdiKind::Pen:
            w = new CPen;
            break;
        case CGdiKind::Brush:
            w = new CBrush;
            break;
        case CGdiKind::Font:
            w = new CFont;
            break;
        case CGdiKind::Bitmap:
            w = new CBitmap;
            break;
        case CGdiKind::Region:
            w = new CRgn;
            break;
        }
        w->m_hObject = Handle();
        w->m_bTemporary = true;
        temporary.reset(w);
    }
    return temporary.get();
}

std::shared_ptr<const CRealizedFont> CGdiData::Realize(int devHeight, int devWidth, int logPixelsY,
                                                       bool bPaper) const
{
    for (CFontCacheEntry& e : fontCache) {
        if (e.realized && e.devHeight == devHeight && e.devWidth == devWidth && e.paper == bPaper &&
            (devHeight != 0 || e.logPixelsY == logPixelsY))
            return e.realized;
    }
    auto rf = CFontRealizer::Realize(font, devHeight, devWidth, logPixelsY, bPaper);
    fontCache[1] = fontCache[0];
    fontCache[0] = {devHeight, devWidth, logPixelsY, bPaper, rf};
    return rf;
}

CGdiData* StockGdiData(int nIndex)
{
    static CGdiData* table[DEFAULT_GUI_FONT + 1] = {};
    if (nIndex < 0 || nIndex > DEFAULT_GUI_FONT)
        return nullptr;
    if (!table[nIndex]) {
        CGdiData* d = MakeStock(nIndex);
        if (!d)
            return nullptr;
        d->stock = true;
        // A permanent wrapper, so that FromHandle and SelectObject hand back one object.
        d->Wrapper();
        table[nIndex] = d;
    }
    return table[nIndex];
}

CGdiData* DefaultBitmapData()
{
    static CGdiData* data = [] {
        auto* d = new CGdiData(CGdiKind::Bitmap);
        d->image = MonoImage(1, 1, nullptr, 2);
        d->mono = true;
        d->stock = true;
        d->Wrapper();
        return d;
    }();
    return data;
}

namespace {
std::deque<CGdiRef>& RecentlyReleased()
{
    static std::deque<CGdiRef> recent;
    return recent;
}
} // namespace

void DeferRelease(CGdiRef ref)
{
    if (!ref || ref->stock || ref->refs > 1)
        return; // someone else keeps it alive
    std::deque<CGdiRef>& recent = RecentlyReleased();
    recent.push_back(std::move(ref));
    while (recent.size() > 256)
        recent.pop_front();
}

void ReleaseGdiCaches()
{
    RecentlyReleased().clear();
    for (int i = 0; i <= DEFAULT_GUI_FONT; ++i) {
        if (CGdiData* d = StockGdiData(i))
            for (auto& entry : d->fontCache)
                entry = CGdiData::CFontCacheEntry();
    }
}

// ---------------------------------------------------------------------------------------
// CGdiObject.
// ---------------------------------------------------------------------------------------

CGdiObject::~CGdiObject()
{
    if (!m_bTemporary)
        DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return hObject ? CGdiData::From(hObject)->Wrapper() : nullptr;
}

void CGdiObject::Adopt(CGdiData* pData)
{
    DeleteObject();
    m_hObject = pData ? pData->Handle() : nullptr;
    if (pData && !pData->owner)
        pData->owner = this;
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_bTemporary)
        return FALSE;
    CGdiData* d = CGdiData::From(hObject);
    DeleteObject();
    // Take over a reference that a bare handle owned, or share the description.
    if (d->handleRefs > 0)
        --d->handleRefs;
    else
        d->AddRef();
    m_hObject = hObject;
    if (!d->owner)
        d->owner = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (!h || m_bTemporary)
        return h;
    CGdiData* d = CGdiData::From(h);
    if (d->owner == this)
        d->owner = nullptr;
    if (!d->stock)
        ++d->handleRefs; // our reference now belongs to the handle
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject || m_bTemporary)
        return FALSE;
    CGdiData* d = CGdiData::From(m_hObject);
    m_hObject = nullptr;
    if (d->owner == this)
        d->owner = nullptr;
    d->Release();
    return TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    CGdiData* d = GdiData(this);
    if (!d)
        return 0;
    const void* src = nullptr;
    int size = 0;
    BITMAP bm{};
    switch (d->kind) {
    case CGdiKind::Pen:
        src = &d->pen;
        size = sizeof(LOGPEN);
        break;
    case CGdiKind::Brush:
        src = &d->brush;
        size = sizeof(LOGBRUSH);
        break;
    case CGdiKind::Font:
        src = &d->font;
        size = sizeof(LOGFONT);
        break;
    case CGdiKind::Bitmap:
        bm.bmType = 0;
        bm.bmWidth = static_cast<LONG>(std::lround(d->image.deviceIndependentSize().width()));
        bm.bmHeight = static_cast<LONG>(std::lround(d->image.deviceIndependentSize().height()));
        bm.bmPlanes = 1;
        bm.bmBitsPixel = d->mono ? 1 : 32;
        bm.bmWidthBytes = d->mono ? MonoRowBytes(bm.bmWidth) : bm.bmWidth * 4;
        bm.bmBits = nullptr;
        src = &bm;
        size = sizeof(BITMAP);
        break;
    case CGdiKind::Region:
        return 0;
    }
    if (!lpObject)
        return size;
    const int n = nCount < size ? nCount : size;
    if (n <= 0)
        return 0;
    std::memcpy(lpObject, src, static_cast<size_t>(n));
    return n;
}

UINT CGdiObject::GetObjectType() const
{
    CGdiData* d = GdiData(this);
    return d ? static_cast<UINT>(d->kind) : 0;
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    CGdiData* d = StockGdiData(nIndex);
    if (!d || m_bTemporary)
        return FALSE;
    DeleteObject();
    m_hObject = d->Handle();
    return TRUE;
}

BOOL CGdiObject::UnrealizeObject()
{
    return m_hObject != nullptr;
}

// ---------------------------------------------------------------------------------------
// Pens and brushes.
// ---------------------------------------------------------------------------------------

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    LOGPEN lp{static_cast<UINT>(nPenStyle), {nWidth < 0 ? -nWidth : nWidth, 0}, crColor};
    return CreatePenIndirect(&lp);
}

BOOL CPen::CreatePenIndirect(const LOGPEN* lpLogPen)
{
    if (!lpLogPen || m_bTemporary)
        return FALSE;
    const int style = static_cast<int>(lpLogPen->lopnStyle) & PS_STYLE_MASK;
    if (style > PS_INSIDEFRAME)
        return FALSE;
    auto* d = new CGdiData(CGdiKind::Pen);
    d->pen = *lpLogPen;
    d->pen.lopnWidth.x = std::abs(d->pen.lopnWidth.x);
    d->pen.lopnWidth.y = 0;
    Adopt(d);
    return TRUE;
}

int CPen::GetLogPen(LOGPEN* pLogPen) const
{
    return GetObject(sizeof(LOGPEN), pLogPen);
}

CPen* CPen::FromHandle(HPEN hPen)
{
    return static_cast<CPen*>(CGdiObject::FromHandle(hPen));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    LOGBRUSH lb{BS_SOLID, crColor, 0};
    return CreateBrushIndirect(&lb);
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    LOGBRUSH lb{BS_HATCHED, crColor, static_cast<UINT_PTR>(nIndex)};
    return CreateBrushIndirect(&lb);
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    CGdiData* bm = GdiData(pBitmap);
    if (!bm || bm->image.isNull())
        return FALSE;
    LOGBRUSH lb{BS_PATTERN, 0, reinterpret_cast<UINT_PTR>(bm->Handle())};
    return CreateBrushIndirect(&lb);
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    if (!lpLogBrush || m_bTemporary)
        return FALSE;
    auto* d = new CGdiData(CGdiKind::Brush);
    d->brush = *lpLogBrush;
    switch (lpLogBrush->lbStyle) {
    case BS_SOLID:
    case BS_NULL:
        d->brush.lbHatch = 0;
        break;
    case BS_HATCHED: {
        const UINT_PTR h = lpLogBrush->lbHatch;
        if (h > static_cast<UINT_PTR>(HS_DIAGCROSS)) {
            delete d;
            return FALSE;
        }
        d->pattern = MonoImage(8, 8, kHatches[h], 1);
        // A hatch paints its lines in the brush colour: they are the 1 bits here.
        d->patternMono = true;
        break;
    }
    case BS_PATTERN:
    case BS_PATTERN8X8: {
        CGdiData* bm =
            lpLogBrush->lbHatch ? CGdiData::From(reinterpret_cast<HGDIOBJ>(lpLogBrush->lbHatch)) : nullptr;
        if (!bm || bm->kind != CGdiKind::Bitmap || bm->image.isNull()) {
            delete d;
            return FALSE;
        }
        // A copy: the brush keeps its pattern when the bitmap is deleted.
        d->pattern = bm->image.copy();
        d->patternMono = bm->mono;
        d->brush.lbStyle = BS_PATTERN;
        break;
    }
    default:
        delete d;
        return FALSE;
    }
    Adopt(d);
    return TRUE;
}

BOOL CBrush::CreateSysColorBrush(int nIndex)
{
    return CreateSolidBrush(GetSysColor(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const
{
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}

CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush));
}

// ---------------------------------------------------------------------------------------
// Fonts.
// ---------------------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    if (!lpLogFont || m_bTemporary)
        return FALSE;
    auto* d = new CGdiData(CGdiKind::Font);
    d->font = *lpLogFont;
    // The face name field may arrive without its terminator; keep at most 31 bytes.
    const size_t n = strnlen(lpLogFont->lfFaceName, LF_FACESIZE);
    std::memset(d->font.lfFaceName, 0, LF_FACESIZE);
    std::memcpy(d->font.lfFaceName, lpLogFont->lfFaceName, n < LF_FACESIZE ? n : LF_FACESIZE - 1);
    Adopt(d);
    return TRUE;
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = nEscapement;
    lf.lfOrientation = nOrientation;
    lf.lfWeight = nWeight;
    lf.lfItalic = bItalic;
    lf.lfUnderline = bUnderline;
    lf.lfStrikeOut = cStrikeOut;
    lf.lfCharSet = nCharSet;
    lf.lfOutPrecision = nOutPrecision;
    lf.lfClipPrecision = nClipPrecision;
    lf.lfQuality = nQuality;
    lf.lfPitchAndFamily = nPitchAndFamily;
    CopyFaceName(lf.lfFaceName, lpszFacename);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    CopyFaceName(lf.lfFaceName, lpszFaceName);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont)
        return FALSE;
    LOGFONT lf = *lpLogFont;
    // lfHeight holds tenths of a point: the device height it stands for, taken back to
    // the context's logical units, as a character height.
    const int logPixelsY = (pDC && pDC->GetSafeHdc()) ? pDC->GetDeviceCaps(LOGPIXELSY) : 96;
    POINT pt[2] = {{0, MulDiv(logPixelsY, lf.lfHeight, 720)}, {0, 0}};
    if (pDC && pDC->GetSafeHdc())
        pDC->DPtoLP(pt, 2);
    lf.lfHeight = -std::abs(pt[0].y - pt[1].y);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const
{
    return GetObject(sizeof(LOGFONT), pLogFont);
}

CFont* CFont::FromHandle(HFONT hFont)
{
    return static_cast<CFont*>(CGdiObject::FromHandle(hFont));
}

// ---------------------------------------------------------------------------------------
// Bitmaps.
// ---------------------------------------------------------------------------------------

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    if (m_bTemporary || !BitmapLoader())
        return FALSE;
    QImage img = BitmapLoader()(nIDResource, nullptr);
    return !img.isNull() && SetBitmapImage(this, img);
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    if (m_bTemporary || !BitmapLoader() || !lpszResourceName)
        return FALSE;
    if (IS_INTRESOURCE(lpszResourceName))
        return LoadBitmap(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszResourceName)));
    QImage img = BitmapLoader()(0, lpszResourceName);
    return !img.isNull() && SetBitmapImage(this, img);
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, LPCVOID lpBits)
{
    if (m_bTemporary || !ValidBitmapSize(nWidth, nHeight) || nPlanes != 1)
        return FALSE;
    auto* d = new CGdiData(CGdiKind::Bitmap);
    const BYTE* bits = static_cast<const BYTE*>(lpBits);
    if (nBitcount == 1) {
        d->image = MonoImage(nWidth, nHeight, bits, MonoRowBytes(nWidth));
        d->mono = true;
    } else if (nBitcount == 24 || nBitcount == 32) {
        d->image = QImage(nWidth, nHeight, QImage::Format_RGB32);
        if (!d->image.isNull()) {
            d->image.fill(kBlack);
            if (bits) {
                // Rows are word aligned; pixels are blue, green, red (and a spare byte).
                const int bpp = static_cast<int>(nBitcount) / 8;
                const int rowBytes = ((nWidth * bpp + 1) / 2) * 2;
                for (int y = 0; y < nHeight; ++y) {
                    QRgb* line = reinterpret_cast<QRgb*>(d->image.scanLine(y));
                    const BYTE* p = bits + static_cast<size_t>(y) * rowBytes;
                    for (int x = 0; x < nWidth; ++x, p += bpp)
                        line[x] = qRgb(p[2], p[1], p[0]);
                }
            }
        }
    } else {
        delete d;
        return FALSE;
    }
    if (d->image.isNull()) {
        delete d;
        return FALSE;
    }
    Adopt(d);
    return TRUE;
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap)
{
    if (!lpBitmap)
        return FALSE;
    return CreateBitmap(lpBitmap->bmWidth, lpBitmap->bmHeight, lpBitmap->bmPlanes, lpBitmap->bmBitsPixel,
                        lpBitmap->bmBits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    // Always colour: a monochrome result (what a bare memory context would give) is never
    // what the drawing code means by an off-screen buffer.
    const double dpr = CDCImpl::DevicePixelRatioOf(pDC);
    if (dpr == 1.0 || !ValidBitmapSize(nWidth, nHeight))
        return CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
    // At the context's density: the bitmap still measures nWidth x nHeight to its drawing
    // code, and its pixels are the device's.
    if (!CreateBitmap(static_cast<int>(std::ceil(nWidth * dpr)), static_cast<int>(std::ceil(nHeight * dpr)),
                      1, 32, nullptr))
        return CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
    GdiData(this)->image.setDevicePixelRatio(dpr);
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    return GetObject(sizeof(BITMAP), pBitMap);
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, LPCVOID lpBits)
{
    CGdiData* d = GdiData(this);
    if (!d || !lpBits)
        return 0;
    const int w = d->image.width();
    const int h = d->image.height();
    const BYTE* bits = static_cast<const BYTE*>(lpBits);
    if (d->mono) {
        const int rowBytes = MonoRowBytes(w);
        const DWORD total = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(h);
        const DWORD n = dwCount < total ? dwCount : total;
        for (int y = 0; y < h; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(d->image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const DWORD byte = static_cast<DWORD>(y * rowBytes + x / 8);
                if (byte >= n)
                    return n;
                line[x] = (bits[byte] & (0x80 >> (x % 8))) ? kWhite : kBlack;
            }
        }
        return n;
    }
    const DWORD total = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
    const DWORD n = dwCount < total ? dwCount : total;
    for (DWORD i = 0; i + 4 <= n; i += 4) {
        const int pixel = static_cast<int>(i / 4);
        const BYTE* p = bits + i;
        reinterpret_cast<QRgb*>(d->image.scanLine(pixel / w))[pixel % w] = qRgb(p[2], p[1], p[0]);
    }
    return n;
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    CGdiData* d = GdiData(this);
    if (!d || !lpBits)
        return 0;
    const QImage& img = d->image;
    const int w = img.width();
    const int h = img.height();
    BYTE* out = static_cast<BYTE*>(lpBits);
    if (d->mono) {
        const int rowBytes = MonoRowBytes(w);
        const DWORD total = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(h);
        const DWORD n = dwCount < total ? dwCount : total;
        std::memset(out, 0, n);
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                const DWORD byte = static_cast<DWORD>(y * rowBytes + x / 8);
                if (byte >= n)
                    return n;
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                    out[byte] = static_cast<BYTE>(out[byte] | (0x80 >> (x % 8)));
            }
        }
        return n;
    }
    const DWORD total = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
    const DWORD n = dwCount < total ? dwCount : total;
    for (DWORD i = 0; i + 4 <= n; i += 4) {
        const int pixel = static_cast<int>(i / 4);
        const QRgb c = reinterpret_cast<const QRgb*>(img.constScanLine(pixel / w))[pixel % w];
        out[i] = static_cast<BYTE>(qBlue(c));
        out[i + 1] = static_cast<BYTE>(qGreen(c));
        out[i + 2] = static_cast<BYTE>(qRed(c));
        out[i + 3] = 0;
    }
    return n;
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight)
{
    CGdiData* d = GdiData(this);
    if (!d)
        return CSize();
    const CSize old = d->dimension;
    d->dimension = CSize(nWidth, nHeight);
    return old;
}

CSize CBitmap::GetBitmapDimension() const
{
    CGdiData* d = GdiData(this);
    return d ? d->dimension : CSize();
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap));
}

// ---------------------------------------------------------------------------------------
// Regions.
// ---------------------------------------------------------------------------------------

namespace {

QRect ToQRect(int x1, int y1, int x2, int y2)
{
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

int RegionKind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

static BOOL CreateRegion(CRgn* rgn, const QRegion& region)
{
    auto* d = new CGdiData(CGdiKind::Region);
    d->region = region;
    CGdiData::Adopt(rgn, d);
    return TRUE;
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    if (m_bTemporary)
        return FALSE;
    return CreateRegion(this, QRegion(ToQRect(x1, y1, x2, y2)));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect)
{
    return lpRect && CreateRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    if (m_bTemporary)
        return FALSE;
    return CreateRegion(this, QRegion(ToQRect(x1, y1, x2, y2), QRegion::Ellipse));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect)
{
    return lpRect && CreateEllipticRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
{
    if (m_bTemporary || !lpPoints || nCount < 2)
        return FALSE;
    QPolygon poly;
    poly.reserve(nCount);
    for (int i = 0; i < nCount; ++i)
        poly.append(QPoint(lpPoints[i].x, lpPoints[i].y));
    return CreateRegion(this, QRegion(poly, nMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    if (m_bTemporary)
        return FALSE;
    QPainterPath path;
    path.addRoundedRect(QRectF(ToQRect(x1, y1, x2, y2)), std::abs(x3) / 2.0, std::abs(y3) / 2.0);
    return CreateRegion(this, QRegion(path.toFillPolygon().toPolygon()));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    if (QRegion* r = RegionOf(this))
        *r = QRegion(ToQRect(x1, y1, x2, y2));
    else
        CreateRectRgn(x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT lpRect)
{
    if (lpRect)
        SetRectRgn(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    const QRegion* a = RegionOf(pRgn1);
    const QRegion* b = RegionOf(pRgn2);
    if (!a || (nCombineMode != RGN_COPY && !b))
        return ERROR;
    QRegion result;
    switch (nCombineMode) {
    case RGN_AND:
        result = *a & *b;
        break;
    case RGN_OR:
        result = *a | *b;
        break;
    case RGN_XOR:
        result = *a ^ *b;
        break;
    case RGN_DIFF:
        result = *a - *b;
        break;
    case RGN_COPY:
        result = *a;
        break;
    default:
        return ERROR;
    }
    if (QRegion* mine = RegionOf(this))
        *mine = result;
    else if (!CreateRegion(this, result))
        return ERROR;
    return RegionKind(result);
}

int CRgn::CopyRgn(const CRgn* pRgnSrc)
{
    return CombineRgn(pRgnSrc, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(const CRgn* pRgn) const
{
    const QRegion* a = RegionOf(this);
    const QRegion* b = RegionOf(pRgn);
    return a && b && *a == *b;
}

int CRgn::OffsetRgn(int x, int y)
{
    QRegion* r = RegionOf(this);
    if (!r)
        return ERROR;
    r->translate(x, y);
    return RegionKind(*r);
}

int CRgn::GetRgnBox(LPRECT lpRect) const
{
    const QRegion* r = RegionOf(this);
    if (!r || !lpRect)
        return ERROR;
    const QRect b = r->boundingRect();
    if (r->isEmpty())
        *lpRect = RECT{0, 0, 0, 0};
    else
        *lpRect = RECT{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
    return RegionKind(*r);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    const QRegion* r = RegionOf(this);
    return r && r->contains(QPoint(x, y));
}

BOOL CRgn::RectInRegion(LPCRECT lpRect) const
{
    const QRegion* r = RegionOf(this);
    return r && lpRect && r->intersects(ToQRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom));
}

CRgn* CRgn::FromHandle(HRGN hRgn)
{
    return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn));
}

// ---------------------------------------------------------------------------------------
// Accessors for the window layer.
// ---------------------------------------------------------------------------------------

QRegion* RegionOf(CRgn* pRgn)
{
    CGdiData* d = GdiData(pRgn);
    return d && d->kind == CGdiKind::Region ? &d->region : nullptr;
}

const QRegion* RegionOf(const CRgn* pRgn)
{
    CGdiData* d = GdiData(pRgn);
    return d && d->kind == CGdiKind::Region ? &d->region : nullptr;
}

QImage* ImageOf(CBitmap* pBitmap)
{
    CGdiData* d = GdiData(pBitmap);
    return d && d->kind == CGdiKind::Bitmap ? &d->image : nullptr;
}

BOOL IsMonochrome(const CBitmap* pBitmap)
{
    CGdiData* d = GdiData(pBitmap);
    return d && d->kind == CGdiKind::Bitmap && d->mono;
}

QFont WidgetFontOf(const CFont* pFont)
{
    CGdiData* d = GdiData(pFont);
    if (!d || d->kind != CGdiKind::Font)
        d = StockGdiData(DEFAULT_GUI_FONT);
    return CFontMapper::WidgetFont(d->font);
}

BOOL SetBitmapImage(CBitmap* pBitmap, const QImage& image)
{
    if (!pBitmap || image.isNull())
        return FALSE;
    auto* d = new CGdiData(CGdiKind::Bitmap);
    d->image = image.convertToFormat(QImage::Format_RGB32);
    d->mono = false;
    CGdiData::Adopt(pBitmap, d);
    return TRUE;
}

void SetBitmapResourceLoader(CBitmapResourceLoader loader)
{
    BitmapLoader() = std::move(loader);
}

// ---------------------------------------------------------------------------------------
// Handle-level functions.
// ---------------------------------------------------------------------------------------

HGDIOBJ GetStockObject(int nIndex)
{
    CGdiData* d = StockGdiData(nIndex);
    return d ? d->Handle() : nullptr;
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    if (!hObject)
        return FALSE;
    CGdiData* d = CGdiData::From(hObject);
    if (d->stock)
        return TRUE;
    if (d->handleRefs > 0) {
        --d->handleRefs;
        d->Release();
        return TRUE;
    }
    if (d->owner)
        return d->owner->DeleteObject();
    return FALSE;
}

int GetObject(HGDIOBJ hObject, int nCount, LPVOID lpObject)
{
    CGdiObject* w = CGdiObject::FromHandle(hObject);
    return w ? w->GetObject(nCount, lpObject) : 0;
}

UINT GetObjectType(HGDIOBJ hObject)
{
    return hObject ? static_cast<UINT>(CGdiData::From(hObject)->kind) : 0;
}

HBRUSH CreateSolidBrush(COLORREF crColor)
{
    CBrush brush;
    brush.CreateSolidBrush(crColor);
    return static_cast<HBRUSH>(brush.Detach());
}

HPEN CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    CPen pen;
    if (!pen.CreatePen(nPenStyle, nWidth, crColor))
        return nullptr;
    return static_cast<HPEN>(pen.Detach());
}

HFONT CreateFontIndirect(const LOGFONT* lpLogFont)
{
    CFont font;
    if (!font.CreateFontIndirect(lpLogFont))
        return nullptr;
    return static_cast<HFONT>(font.Detach());
}

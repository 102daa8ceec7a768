// The state and drawing primitives of a device context (platform/ui internal: only the
// CDC*.cpp files of this folder include it). CDC.h is the interface; CDCImpl holds what a
// context is at any moment (the selected objects, the mapping, the clip, the painter it draws
// through) and the device-space primitives the drawing members of CDC are built from. The
// members of CDC live in CDC.cpp (creation, attaching, printing jobs, saved states, selection),
// CDCMapping.cpp, CDCDrawing.cpp (lines and shapes), CDCBlockTransfer.cpp (bitmaps and raster
// operations), CDCText.cpp and CDCClipping.cpp.
#pragma once

#include "platform/ui/gdi/CDC.h"

#include "platform/base/Cp932.h"
#include "platform/ui/gdi/FontMapper_p.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

// Helpers shared by the files of the device context.

inline QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Coordinates stay within +-2^30 so that sums and differences of two never overflow.
constexpr double kCoordLimit = 1073741824.0;
inline int Round(double v)
{
    return static_cast<int>(std::lround(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

// A device rectangle from two corners in any order: right and bottom exclusive.
inline QRect OrderedRect(int x1, int y1, int x2, int y2)
{
    // Far outside any device the edges are pulled in; what can show stays the same.
    constexpr int limit = 1 << 28;
    x1 = std::clamp(x1, -limit, limit);
    x2 = std::clamp(x2, -limit, limit);
    y1 = std::clamp(y1, -limit, limit);
    y2 = std::clamp(y2, -limit, limit);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

// Text from code page 932 for display: 0x5C shows as the yen sign. Plain ASCII (the bulk
// of the numbers in the grids) skips the table.
inline QString DisplayText(const char* text, int nCount)
{
    if (!text || nCount <= 0)
        return QString();
    bool ascii = true;
    for (int i = 0; i < nCount; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 || c == 0x5C || c == 0) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(text, nCount);
    const std::u16string u = Cp932ToUtf16(std::string_view(text, static_cast<size_t>(nCount)), true);
    return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
}

// Byte ranges of the characters of a code page 932 text (a lead byte with its trail).
inline std::vector<std::pair<int, int>> CharacterSpans(const char* text, int n)
{
    std::vector<std::pair<int, int>> spans;
    for (int i = 0; i < n;) {
        int len = 1;
        if (IsCp932LeadByte(static_cast<BYTE>(text[i])) && i + 1 < n)
            len = 2;
        spans.emplace_back(i, len);
        i += len;
    }
    return spans;
}

// Dash patterns of one-pixel styled pens, in device pixels: on, off, on, off ...
inline const std::vector<int>& DashPattern(int style)
{
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    static const std::vector<int> none;
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return none;
    }
}

// How a mix mode draws: skipped, or a composition of the painter with a colour, and for
// the one mode Qt lacks (pen OR NOT destination) an inversion before the second pass.
struct CMix {
    bool skip = false;
    bool invertFirst = false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    QColor color;
};

inline CMix MixFor(int rop2, COLORREF c, bool rasterOps)
{
    CMix m;
    m.color = ToQColor(c);
    switch (rop2) {
    case R2_BLACK:
        m.color = Qt::black;
        break;
    case R2_WHITE:
        m.color = Qt::white;
        break;
    case R2_NOP:
        m.skip = true;
        break;
    case R2_COPYPEN:
        break;
    case R2_NOT:
        m.mode = QPainter::RasterOp_NotDestination;
        break;
    case R2_NOTCOPYPEN:
        m.mode = QPainter::RasterOp_NotSource;
        break;
    case R2_XORPEN:
        m.mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case R2_NOTXORPEN:
        m.mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
    case R2_MASKPEN:
        m.mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case R2_MERGEPEN:
        m.mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case R2_MASKNOTPEN:
        m.mode = QPainter::RasterOp_NotSourceAndDestination;
        break;
    case R2_MERGENOTPEN:
        m.mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    case R2_MASKPENNOT:
        m.mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case R2_NOTMASKPEN:
        m.mode = QPainter::RasterOp_NotSourceOrNotDestination;
        break;
    case R2_NOTMERGEPEN:
        m.mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case R2_MERGEPENNOT:
        // pen | ~dst in two passes: dst = ~dst, then dst = pen | dst.
        m.invertFirst = true;
        m.mode = QPainter::RasterOp_SourceOrDestination;
        break;
    default:
        break;
    }
    if (!rasterOps && m.mode != QPainter::CompositionMode_SourceOver) {
        // Printers and vector devices have no raster operations: draw plainly.
        m.invertFirst = false;
        if (m.mode == QPainter::RasterOp_NotDestination)
            m.skip = true;
        m.mode = QPainter::CompositionMode_SourceOver;
    }
    return m;
}

// The painter of a device, shared by every context attached to it at the same time.
struct CPainterHost {
    QPaintDevice* device = nullptr;
    QPainter* painter = nullptr;
    std::unique_ptr<QPainter> owned;
    int users = 0;
    const void* lastUser = nullptr; // whose clip and transform the painter holds
    unsigned clipVersion = 0;
    bool rasterOps = false;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    bool modeKnown = true;
    // A painter someone else began (an item of a control being painted) may come translated
    // and clipped: device coordinates of the contexts are its coordinates at that moment.
    QTransform baseTransform;
    bool hasBaseClip = false;
    QRegion baseClip;
    std::shared_ptr<const CRealizedFont> font; // the font the painter holds
    QRgb penColor = 0;
    bool penSet = false;
    std::vector<quint32> savedPixels; // where the pixels around a clipped glyph wait (CDCText.cpp)
};

inline std::unordered_map<QPaintDevice*, CPainterHost*>& Hosts()
{
    static std::unordered_map<QPaintDevice*, CPainterHost*> hosts;
    return hosts;
}

inline CPainterHost* AcquireHost(QPaintDevice* device, QPainter* external)
{
    auto& hosts = Hosts();
    auto it = hosts.find(device);
    if (it != hosts.end()) {
        if (external && it->second->painter != external)
            return nullptr;
        ++it->second->users;
        return it->second;
    }
    auto* host = new CPainterHost;
    host->device = device;
    if (external) {
        host->painter = external;
        host->baseTransform = external->worldTransform();
        host->hasBaseClip = external->hasClipping();
        if (host->hasBaseClip)
            host->baseClip = external->clipRegion();
    } else {
        host->owned = std::make_unique<QPainter>();
        if (!host->owned->begin(device)) {
            delete host;
            return nullptr;
        }
        host->painter = host->owned.get();
    }
    host->painter->setRenderHint(QPainter::Antialiasing, false);
    host->painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    host->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    host->rasterOps =
        host->painter->paintEngine() && host->painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    host->users = 1;
    hosts.emplace(device, host);
    return host;
}

inline void ReleaseHost(CPainterHost* host)
{
    if (!host || --host->users > 0)
        return;
    Hosts().erase(host->device);
    if (host->owned && host->owned->isActive())
        host->owned->end();
    delete host;
}

// ---------------------------------------------------------------------------------------
// State.
// ---------------------------------------------------------------------------------------

struct CDCState {
    int mapMode = MM_TEXT;
    int wndOrgX = 0, wndOrgY = 0, vpOrgX = 0, vpOrgY = 0;
    int wndExtX = 1, wndExtY = 1, vpExtX = 1, vpExtY = 1;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    int charExtra = 0;
    QPoint brushOrg;
    QPoint curPos; // logical
    CGdiRef pen, brush, font, bitmap;
    bool hasClip = false;
    QRegion clip; // device coordinates
};

class CPrintJobWatch;

struct CDCImpl {
    explicit CDCImpl(CDC* o) : owner(o) {}

    CDC* owner;
    CDCState st;
    std::vector<CDCState> saved;
    CDeviceCaps caps;
    QPaintDevice* device = nullptr;
    CPainterHost* host = nullptr;
    bool memory = false;
    bool hasSystemClip = false;
    QRegion systemClip;
    bool transformed = false;
    double outScale = 1.0;
    int outDx = 0, outDy = 0;
    int outHairline = 1; // painter pixels across a pixel as shown (a line one device pixel wide)
    unsigned clipVersion = 1;
    mutable QRegion visible;
    mutable unsigned visibleVersion = 0;
    mutable QRect visibleBounds;
    int styleOffset = 0; // position in the dash pattern of styled lines
    bool pageOpen = false;
    int pagesStarted = 0;
    // A job for a system printer: what CUPS makes of it (PrintJobWatch_p.h).
    std::shared_ptr<CPrintJobWatch> jobWatch;
    // The font realised for the current selection and mapping.
    unsigned long long rfFont = 0; // serial of the font description
    int rfHeight = 0, rfWidth = 0, rfDpi = 0;
    std::shared_ptr<const CRealizedFont> rf;

    // --- mapping ---
    bool Identity() const { return st.wndExtX == st.vpExtX && st.wndExtY == st.vpExtY; }
    double ScaleX() const { return static_cast<double>(st.vpExtX) / st.wndExtX; }
    double ScaleY() const { return static_cast<double>(st.vpExtY) / st.wndExtY; }
    int XL2D(int x) const
    {
        if (st.wndExtX == st.vpExtX)
            return Round(static_cast<double>(x) - st.wndOrgX + st.vpOrgX);
        return Round(st.vpOrgX + (static_cast<double>(x) - st.wndOrgX) * st.vpExtX / st.wndExtX);
    }
    int YL2D(int y) const
    {
        if (st.wndExtY == st.vpExtY)
            return Round(static_cast<double>(y) - st.wndOrgY + st.vpOrgY);
        return Round(st.vpOrgY + (static_cast<double>(y) - st.wndOrgY) * st.vpExtY / st.wndExtY);
    }
    int XD2L(int x) const
    {
        if (st.wndExtX == st.vpExtX)
            return Round(static_cast<double>(x) - st.vpOrgX + st.wndOrgX);
        return Round(st.wndOrgX + (static_cast<double>(x) - st.vpOrgX) * st.wndExtX / st.vpExtX);
    }
    int YD2L(int y) const
    {
        if (st.wndExtY == st.vpExtY)
            return Round(static_cast<double>(y) - st.vpOrgY + st.wndOrgY);
        return Round(st.wndOrgY + (static_cast<double>(y) - st.vpOrgY) * st.wndExtY / st.vpExtY);
    }
    QPoint L2D(int x, int y) const { return QPoint(XL2D(x), YL2D(y)); }
    int LenX(int l) const { return Round(std::fabs(l * ScaleX())); }
    int LenY(int l) const { return Round(std::fabs(l * ScaleY())); }
    int DevLenToLX(int d) const { return Round(std::fabs(d / ScaleX())); }
    int DevLenToLY(int d) const { return Round(std::fabs(d / ScaleY())); }
    QRect DevRect(int l, int t, int r, int b) const
    {
        return OrderedRect(XL2D(l), YL2D(t), XL2D(r), YL2D(b));
    }

    // Sets the viewport's or the window's extents (extX/extY are one pair of st), returning
    // the former ones. Extents only count in the two scalable modes; a zero extent would
    // divide by zero.
    CSize SetExtents(int& extX, int& extY, int cx, int cy)
    {
        const CSize old(extX, extY);
        if (st.mapMode != MM_ISOTROPIC && st.mapMode != MM_ANISOTROPIC)
            return old;
        if (cx == 0 || cy == 0)
            return old;
        extX = cx;
        extY = cy;
        FixIsotropic();
        return old;
    }
    CSize ScaleExtents(int& extX, int& extY, int xNum, int xDenom, int yNum, int yDenom)
    {
        const CSize old(extX, extY);
        if (xDenom == 0 || yDenom == 0)
            return old;
        SetExtents(extX, extY, MulDiv(old.cx, xNum, xDenom), MulDiv(old.cy, yNum, yDenom));
        return old;
    }

    void FixIsotropic()
    {
        if (st.mapMode != MM_ISOTROPIC)
            return;
        // Equal scales on both axes: the larger viewport extent shrinks, signs are kept.
        const double sx = std::fabs(static_cast<double>(st.vpExtX) / st.wndExtX);
        const double sy = std::fabs(static_cast<double>(st.vpExtY) / st.wndExtY);
        if (sx < sy) {
            const int v = Round(sx * std::abs(st.wndExtY));
            st.vpExtY = (st.vpExtY < 0 ? -1 : 1) * std::max(1, v);
        } else if (sy < sx) {
            const int v = Round(sy * std::abs(st.wndExtX));
            st.vpExtX = (st.vpExtX < 0 ? -1 : 1) * std::max(1, v);
        }
    }

    // --- device ---
    QRect DeviceBounds() const
    {
        // A preview draws a described page; everything else is as large as its device.
        if (transformed || !device)
            return QRect(0, 0, caps.horzRes, caps.vertRes);
        QRect bounds(0, 0, device->width(), device->height());
        if (device->devType() == QInternal::Image) {
            const auto* img = static_cast<const QImage*>(device);
            const double dpr = img->devicePixelRatio();
            bounds = QRect(0, 0, Round(img->width() / dpr), Round(img->height() / dpr));
        }
        // A borrowed painter's coordinates may start elsewhere on the device.
        if (host && !host->baseTransform.isIdentity() && host->baseTransform.isInvertible())
            bounds = host->baseTransform.inverted().mapRect(bounds);
        return bounds;
    }
    const QImage* Image() const
    {
        return device && device->devType() == QInternal::Image ? static_cast<const QImage*>(device) : nullptr;
    }
    // The density of the image a context draws on (1 for anything else): a bitmap made
    // compatible with a window's context is as fine as the window's back buffer.
    static double DevicePixelRatioOf(const CDC* pDC)
    {
        const QImage* img = pDC && pDC->m_pImpl ? pDC->m_pImpl->Image() : nullptr;
        return img ? img->devicePixelRatio() : 1.0;
    }

    // The area drawing may touch, in device coordinates; false when nothing limits it.
    bool EffectiveClip(QRegion& out) const
    {
        if (!hasSystemClip && !st.hasClip)
            return false;
        if (hasSystemClip && st.hasClip)
            out = systemClip & st.clip;
        else
            out = hasSystemClip ? systemClip : st.clip;
        return true;
    }
    // Cached per clip change: SetPixel asks for it once per point.
    const QRegion& VisibleRegion() const
    {
        const QRect bounds = DeviceBounds();
        if (visibleVersion != clipVersion || visibleBounds != bounds) {
            QRegion r;
            visible = EffectiveClip(r) ? (r & bounds) : QRegion(bounds);
            visibleVersion = clipVersion;
            visibleBounds = bounds;
        }
        return visible;
    }
    void ClipChanged() { ++clipVersion; }

    // Lets go of the shared painter; it no longer holds this context's clip and transform.
    void LeaveHost()
    {
        if (host->lastUser == this)
            host->lastUser = nullptr;
        ReleaseHost(host);
    }
    // A memory context goes on drawing on another bitmap's image.
    bool DrawOn(QImage* image)
    {
        CPainterHost* next = AcquireHost(image, nullptr);
        if (!next)
            return false;
        LeaveHost();
        host = next;
        device = image;
        return true;
    }

    // The cosmetic pen of a thin line in a preview: outHairline pixels of the painter.
    QPen HairlinePen(const QColor& color) const
    {
        QPen pen(color, outHairline);
        pen.setCosmetic(true);
        return pen;
    }

    QTransform FullTransform() const
    {
        if (!transformed)
            return host->baseTransform;
        QTransform t;
        t.translate(outDx, outDy);
        t.scale(outScale, outScale);
        return t * host->baseTransform;
    }
    void ApplyTransform(QPainter* p) const
    {
        const QTransform t = FullTransform();
        if (p->transform() != t)
            p->setTransform(t);
    }
    void ApplyClip(QPainter* p, const QRect* extra = nullptr) const
    {
        QRegion r;
        bool clipped = EffectiveClip(r);
        if (extra) {
            r = clipped ? (r & *extra) : QRegion(*extra);
            clipped = true;
        }
        if (host->hasBaseClip) {
            // The painter's own clip first, in its coordinates, then ours within it.
            p->setTransform(host->baseTransform);
            p->setClipRegion(host->baseClip);
            ApplyTransform(p);
            if (clipped)
                p->setClipRegion(r, Qt::IntersectClip);
            return;
        }
        if (!clipped)
            p->setClipping(false);
        else if (r.rectCount() <= 1)
            p->setClipRect(r.boundingRect());
        else
            p->setClipRegion(r);
    }

    // What this context's drawing may have changed since it was attached, in device pixels:
    // a window's context hands the window only that to show. A drawing call that does not
    // say what it reaches counts as reaching everything.
    QRect touched;
    bool touchedAll = false;
    void Touch(const QRect& deviceRect)
    {
        if (transformed || (host != nullptr && !host->baseTransform.isIdentity()))
            touchedAll = true;
        else
            touched |= deviceRect;
    }
    static CDCImpl& Of(CDC& dc) { return *dc.m_pImpl; }

    // The painter, holding this context's clip and transform, for drawing anywhere.
    QPainter* Painter()
    {
        touchedAll = true;
        return HostPainter();
    }
    // The painter for drawing inside deviceRect alone.
    QPainter* PainterTouching(const QRect& deviceRect)
    {
        Touch(deviceRect);
        return HostPainter();
    }
    QPainter* HostPainter()
    {
        if (!host)
            return nullptr;
        QPainter* p = host->painter;
        if (host->lastUser != this || host->clipVersion != clipVersion) {
            ApplyTransform(p);
            ApplyClip(p);
            host->lastUser = this;
            host->clipVersion = clipVersion;
        }
        return p;
    }
    // A painter clipped further to rect until the next call of Painter().
    QPainter* PainterClippedTo(const QRect& rect)
    {
        QPainter* p = PainterTouching(rect);
        if (p) {
            ApplyClip(p, &rect);
            host->lastUser = nullptr;
        }
        return p;
    }
    void SetMode(QPainter* p, QPainter::CompositionMode mode)
    {
        if (!host->modeKnown || host->mode != mode) {
            p->setCompositionMode(mode);
            host->mode = mode;
            host->modeKnown = true;
        }
    }
    // A one-pixel pen for single pixels and text (cosmetic: one pixel also in previews).
    void SetPenColor(QPainter* p, const QColor& c)
    {
        if (!host->penSet || host->penColor != c.rgb()) {
            QPen pen(c, 0);
            pen.setCapStyle(Qt::FlatCap);
            p->setPen(pen);
            host->penColor = c.rgb();
            host->penSet = true;
        }
    }
    void ForgetPen() { host->penSet = false; }

    // Single pixels of the context in one colour. On a finer device (a high-density back
    // buffer) a pixel is a square of device pixels: a point of the one-pixel pen would set
    // only one of them, and a line plotted point by point would show a gap after each.
    void PlotPixels(QPainter* p, const QPolygon& pts, const QColor& c)
    {
        const double density = p->device() ? p->device()->devicePixelRatio() : 1.0;
        if (density == 1.0 || transformed) {
            SetPenColor(p, c);
            p->drawPoints(pts);
            return;
        }
        QList<QRect> squares;
        squares.reserve(pts.size());
        for (const QPoint& pt : pts)
            squares.append(QRect(pt, QSize(1, 1)));
        p->setPen(Qt::NoPen);
        p->setBrush(c);
        p->drawRects(squares);
        p->setBrush(Qt::NoBrush);
        ForgetPen();
    }

    // --- objects ---
    const CRealizedFont& Font()
    {
        CGdiData* f = st.font.get();
        const int h =
            f->font.lfHeight == 0 ? 0 : (f->font.lfHeight < 0 ? -1 : 1) * std::max(1, LenY(f->font.lfHeight));
        const int w = f->font.lfWidth == 0 ? 0 : std::max(1, LenX(f->font.lfWidth));
        const bool paper = caps.technology != DT_RASDISPLAY;
        if (!rf || rfFont != f->serial || rfHeight != h || rfWidth != w || rfDpi != caps.logPixelsY ||
            rf->paper != paper) {
            rf = f->Realize(h, w, caps.logPixelsY, paper);
            rfFont = f->serial;
            rfHeight = h;
            rfWidth = w;
            rfDpi = caps.logPixelsY;
        }
        return *rf;
    }

    struct CPenInfo {
        bool null = true;
        int style = PS_SOLID;
        int width = 1; // device pixels
        bool insideFrame = false;
        COLORREF color = 0;
    };
    CPenInfo Pen() const
    {
        CPenInfo info;
        const CGdiData* d = st.pen.get();
        if (!d)
            return info;
        const int style = static_cast<int>(d->pen.lopnStyle) & PS_STYLE_MASK;
        if (style == PS_NULL)
            return info;
        info.null = false;
        info.color = d->pen.lopnColor;
        const int w = d->pen.lopnWidth.x;
        info.width = w == 0 ? 1 : std::max(1, LenX(w));
        info.insideFrame = style == PS_INSIDEFRAME;
        // Styled lines exist only for thin pens; wider ones draw solid.
        info.style = (w <= 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) ? style : PS_SOLID;
        return info;
    }

    // The 8 x 8 (or larger) tile a pattern brush paints with in this context's colours.
    QImage BrushTile(const CGdiData* b) const
    {
        if (b->brush.lbStyle == BS_HATCHED) {
            QImage tile(b->pattern.size(), QImage::Format_ARGB32_Premultiplied);
            const QRgb line = ToQColor(b->brush.lbColor).rgb();
            const QRgb gap = st.bkMode == OPAQUE ? ToQColor(st.bkColor).rgb() : 0;
            for (int y = 0; y < tile.height(); ++y)
                for (int x = 0; x < tile.width(); ++x)
                    tile.setPixel(x, y, (b->pattern.pixel(x, y) & 0xFFFFFF) ? line : gap);
            return tile;
        }
        if (b->patternMono) {
            // 0 bits take the text colour, 1 bits the background colour.
            QImage tile(b->pattern.size(), QImage::Format_RGB32);
            const QRgb zero = ToQColor(st.textColor).rgb();
            const QRgb one = ToQColor(st.bkColor).rgb();
            for (int y = 0; y < tile.height(); ++y)
                for (int x = 0; x < tile.width(); ++x)
                    tile.setPixel(x, y, (b->pattern.pixel(x, y) & 0xFFFFFF) ? one : zero);
            return tile;
        }
        return b->pattern;
    }

    // --- primitives (device coordinates) ---
    // A preview draws its page larger than shown and brings it down by averaging: ink
    // thinner than a pixel as shown (a thin line, each stroke of a double frame) would end
    // up a light grey hairline, or vanish, where the paper has a black line. Such ink covers
    // the whole pixels as shown that it touches, as the printer's thinnest line is a whole
    // dot; the paper's colour (a gap between strokes) is left to average away. False when
    // the rectangle is not drawn here.
    bool SnapsToShownPixels(const CMix& m) const
    {
        return transformed && outHairline >= 2 && !m.invertFirst &&
               m.mode == QPainter::CompositionMode_SourceOver && m.color != QColor(Qt::white);
    }
    bool FillShownPixels(QPainter* p, const QRect& r, const CMix& m)
    {
        if (!SnapsToShownPixels(m))
            return false;
        const QRectF painted = FullTransform().mapRect(QRectF(r));
        const double k = outHairline;
        if (painted.width() >= k && painted.height() >= k)
            return false;
        // The thin sides out to whole pixels as shown; a side a pixel wide or more as drawn.
        const auto snap = [k](double lo, double hi, double& from, double& to) {
            if (hi - lo >= k) {
                from = std::round(lo);
                to = std::round(hi);
                return;
            }
            from = std::floor(lo / k) * k;
            to = std::max(from + k, std::ceil(hi / k) * k);
        };
        double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
        snap(painted.left(), painted.right(), x0, x1);
        snap(painted.top(), painted.bottom(), y0, y1);
        const QTransform saved = p->transform();
        p->setTransform(QTransform());
        SetMode(p, m.mode);
        p->fillRect(QRectF(x0, y0, x1 - x0, y1 - y0), m.color);
        p->setTransform(saved);
        return true;
    }
    void FillDev(QPainter* p, const QRect& r, const CMix& m)
    {
        if (m.skip || r.isEmpty())
            return;
        if (FillShownPixels(p, r, m))
            return;
        if (m.invertFirst) {
            SetMode(p, QPainter::RasterOp_NotDestination);
            p->fillRect(r, Qt::black);
        }
        SetMode(p, m.mode);
        p->fillRect(r, m.color);
    }
    void FillDev(QPainter* p, const QRegion& rgn, const CMix& m)
    {
        for (const QRect& r : rgn)
            FillDev(p, r, m);
    }

    // Fills with a brush under a mix mode (the shape interiors use the context's mix
    // mode; FillRect and PatBlt pass R2_COPYPEN or their own).
    void FillBrush(QPainter* p, const QRegion& area, const CGdiData* b, int rop2)
    {
        if (!b || b->brush.lbStyle == BS_NULL || area.isEmpty())
            return;
        if (b->brush.lbStyle == BS_SOLID) {
            const CMix m = MixFor(rop2, b->brush.lbColor, host->rasterOps);
            FillDev(p, area, m);
            return;
        }
        const CMix m = MixFor(rop2, 0, host->rasterOps);
        if (m.skip)
            return;
        QImage tile = BrushTile(b);
        if (rop2 == R2_BLACK || rop2 == R2_WHITE) {
            FillDev(p, area, m);
            return;
        }
        const QBrush brush(tile);
        p->setBrushOrigin(st.brushOrg);
        for (const QRect& r : area) {
            if (m.invertFirst) {
                SetMode(p, QPainter::RasterOp_NotDestination);
                p->fillRect(r, Qt::black);
            }
            SetMode(p, m.mode);
            p->fillRect(r, brush);
        }
    }

    // The part of the segment a-b inside area, as parameters t0 <= t1 in [0, 1]
    // (Liang-Barsky); false when the segment misses the area.
    static bool ClipSegment(QPoint a, QPoint b, const QRectF& area, double& t0, double& t1)
    {
        const double dx = static_cast<double>(b.x()) - a.x(), dy = static_cast<double>(b.y()) - a.y();
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(),
                             area.bottom() - a.y()};
        t0 = 0;
        t1 = 1;
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0)
                    return false;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            if (t0 > t1)
                return false;
        }
        return true;
    }

    // One-pixel line from a to b, the end point excluded.
    void ThinLine(QPainter* p, QPoint a, QPoint b, const CPenInfo& pen)
    {
        if (a == b)
            return;
        const CMix m = MixFor(st.rop2, pen.color, host->rasterOps);
        if (m.skip)
            return;
        const std::vector<int>& pattern = DashPattern(pen.style);
        // A line far longer than any device (a guide drawn "to the bottom", coordinates of
        // a zoomed-out page) is cut to what can show, its dash pattern kept in step.
        const long long steps = std::max(std::llabs(static_cast<long long>(b.x()) - a.x()),
                                         std::llabs(static_cast<long long>(b.y()) - a.y()));
        if (steps > 16384) {
            double t0 = 0, t1 = 1;
            const QRectF area = QRectF(VisibleRegion().boundingRect()).adjusted(-2, -2, 2, 2);
            if (!ClipSegment(a, b, area, t0, t1)) {
                styleOffset += static_cast<int>(std::min<long long>(steps, 1 << 30));
                return;
            }
            const QPointF d(static_cast<double>(b.x()) - a.x(), static_cast<double>(b.y()) - a.y());
            const QPoint na = (QPointF(a) + d * t0).toPoint();
            const QPoint nb = (QPointF(a) + d * t1).toPoint();
            styleOffset += static_cast<int>(steps * t0);
            a = na;
            b = nb;
            if (a == b)
                return;
        }
        if (transformed && pattern.empty() &&
            !(SnapsToShownPixels(m) && (a.x() == b.x() || a.y() == b.y()))) {
            // A preview: a cosmetic line of the painter, which stays one screen pixel (a
            // line across or down the page fills the pixels it crosses, below).
            if (m.invertFirst) {
                SetMode(p, QPainter::RasterOp_NotDestination);
                p->setPen(HairlinePen(Qt::black));
                p->drawLine(a, b);
            }
            SetMode(p, m.mode);
            p->setPen(HairlinePen(m.color));
            p->drawLine(a, b);
            ForgetPen();
            return;
        }
        if (pattern.empty() && a.y() == b.y()) {
            const int x1 = a.x() < b.x() ? a.x() : b.x() + 1;
            const int x2 = a.x() < b.x() ? b.x() - 1 : a.x();
            FillDev(p, QRect(QPoint(x1, a.y()), QPoint(x2, a.y())), m);
            return;
        }
        if (pattern.empty() && a.x() == b.x()) {
            const int y1 = a.y() < b.y() ? a.y() : b.y() + 1;
            const int y2 = a.y() < b.y() ? b.y() - 1 : a.y();
            FillDev(p, QRect(QPoint(a.x(), y1), QPoint(a.x(), y2)), m);
            return;
        }
        // Bresenham: every pixel once, so that raster operations apply exactly once.
        QPolygon on, off;
        const int dx = std::abs(b.x() - a.x()), sx = a.x() < b.x() ? 1 : -1;
        const int dy = -std::abs(b.y() - a.y()), sy = a.y() < b.y() ? 1 : -1;
        int err = dx + dy;
        int x = a.x(), y = a.y();
        int period = 0;
        for (int v : pattern)
            period += v;
        const int scale = std::max(1, caps.logPixelsX / 96);
        while (x != b.x() || y != b.y()) {
            bool isOn = true;
            if (!pattern.empty()) {
                int pos = (styleOffset / scale) % period;
                isOn = true;
                for (int v : pattern) {
                    if (pos < v)
                        break;
                    pos -= v;
                    isOn = !isOn;
                }
                ++styleOffset;
            }
            (isOn ? on : off).append(QPoint(x, y));
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
        auto plot = [&](const QPolygon& pts, const CMix& mix) {
            if (pts.isEmpty() || mix.skip)
                return;
            if (mix.invertFirst) {
                SetMode(p, QPainter::RasterOp_NotDestination);
                PlotPixels(p, pts, Qt::black);
            }
            SetMode(p, mix.mode);
            PlotPixels(p, pts, mix.color);
        };
        plot(on, m);
        // The gaps of a styled line take the background colour in OPAQUE mode.
        if (st.bkMode == OPAQUE)
            plot(off, MixFor(st.rop2, st.bkColor, host->rasterOps));
    }

    // A pen line of any width from a to b (thin lines exclude the end point).
    void PenLine(QPainter* p, QPoint a, QPoint b, const CPenInfo& pen)
    {
        if (pen.null)
            return;
        if (pen.width <= 1) {
            ThinLine(p, a, b, pen);
            return;
        }
        const CMix m = MixFor(st.rop2, pen.color, host->rasterOps);
        if (m.skip)
            return;
        const int w = pen.width;
        if ((!transformed || SnapsToShownPixels(m)) && (a.y() == b.y() || a.x() == b.x())) {
            // Horizontal and vertical wide lines: the band of w x w squares centred on
            // each point of the line, end points included (cut to the device first).
            const long long lo = w / 2, hi = w - 1 - w / 2;
            const QRect area = VisibleRegion().boundingRect().adjusted(-1, -1, 1, 1);
            const long long l = std::max<long long>(std::min(a.x(), b.x()) - lo, area.left());
            const long long t = std::max<long long>(std::min(a.y(), b.y()) - lo, area.top());
            const long long r =
                std::min<long long>(static_cast<long long>(std::max(a.x(), b.x())) + hi, area.right());
            const long long btm =
                std::min<long long>(static_cast<long long>(std::max(a.y(), b.y())) + hi, area.bottom());
            if (l <= r && t <= btm)
                FillDev(p,
                        QRect(QPoint(static_cast<int>(l), static_cast<int>(t)),
                              QPoint(static_cast<int>(r), static_cast<int>(btm))),
                        m);
            return;
        }
        QPen qpen(m.color, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        if (m.invertFirst) {
            SetMode(p, QPainter::RasterOp_NotDestination);
            p->setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p->drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
        }
        SetMode(p, m.mode);
        p->setPen(qpen);
        p->drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
        ForgetPen();
    }

    // The frame of a device rectangle (right and bottom exclusive) drawn with the pen,
    // and its inside filled with the brush, each pixel touched once.
    void RectangleDev(QPainter* p, const QRect& outer)
    {
        const CPenInfo pen = Pen();
        const CGdiData* brush = st.brush.get();
        if (pen.null) {
            // Without a pen the filled area is one pixel smaller on the right and bottom.
            const QRect inner(outer.left(), outer.top(), outer.width() - 1, outer.height() - 1);
            FillBrush(p, QRegion(inner), brush, st.rop2);
            return;
        }
        if (outer.isEmpty())
            return;
        const int w = pen.width;
        QRect frameOuter, frameInner;
        if (pen.insideFrame || w <= 1) {
            frameOuter = outer;
            frameInner = outer.adjusted(w, w, -w, -w);
        } else {
            const int lo = w / 2, hi = w - 1 - w / 2;
            frameOuter = outer.adjusted(-lo, -lo, hi, hi);
            frameInner = outer.adjusted(hi + 1, hi + 1, -(lo + 1), -(lo + 1));
        }
        if (frameInner.width() <= 0 || frameInner.height() <= 0)
            frameInner = QRect();
        FillBrush(p, QRegion(frameInner), brush, st.rop2);
        if (w <= 1 && pen.style != PS_SOLID) {
            // Styled frames walk the outline like four joined lines.
            const int l = outer.left(), t = outer.top(), r = outer.right(), b = outer.bottom();
            styleOffset = 0;
            ThinLine(p, QPoint(l, t), QPoint(r, t), pen);
            ThinLine(p, QPoint(r, t), QPoint(r, b), pen);
            ThinLine(p, QPoint(r, b), QPoint(l, b), pen);
            ThinLine(p, QPoint(l, b), QPoint(l, t), pen);
            return;
        }
        const CMix m = MixFor(st.rop2, pen.color, host->rasterOps);
        QRegion frame(frameOuter);
        if (!frameInner.isEmpty())
            frame -= QRegion(frameInner);
        if (transformed && w <= 1 && SnapsToShownPixels(m)) {
            // A preview: a frame a pixel wide as shown, whatever the zoom.
            QRegion thin(outer);
            if (const QRect in = outer.adjusted(1, 1, -1, -1); in.width() > 0 && in.height() > 0)
                thin -= QRegion(in);
            FillDev(p, thin, m);
            return;
        }
        if (transformed && w <= 1) {
            SetMode(p, m.mode);
            p->setPen(HairlinePen(m.color));
            p->setBrush(Qt::NoBrush);
            p->drawRect(outer.adjusted(0, 0, -1, -1));
            ForgetPen();
            return;
        }
        FillDev(p, frame, m);
    }

    // Shapes Qt draws for us (ellipses, rounded rectangles, polygons): the brush fills
    // the inside, then the pen strokes the outline.
    void PathShape(QPainter* p, const QPainterPath& path)
    {
        const CPenInfo pen = Pen();
        const CGdiData* b = st.brush.get();
        if (b && b->brush.lbStyle != BS_NULL) {
            const CMix m = MixFor(st.rop2, b->brush.lbColor, host->rasterOps);
            if (!m.skip) {
                QBrush brush = b->brush.lbStyle == BS_SOLID ? QBrush(m.color) : QBrush(BrushTile(b));
                if (st.rop2 == R2_BLACK || st.rop2 == R2_WHITE)
                    brush = QBrush(m.color);
                p->setBrushOrigin(st.brushOrg);
                SetMode(p, m.mode);
                p->setPen(Qt::NoPen);
                p->setBrush(brush);
                p->drawPath(path);
                ForgetPen();
            }
        }
        if (!pen.null) {
            const CMix m = MixFor(st.rop2, pen.color, host->rasterOps);
            if (!m.skip) {
                QPen qpen(m.color, pen.width <= 1 ? 0 : pen.width);
                if (pen.width <= 1 && pen.style != PS_SOLID) {
                    QVector<qreal> dashes;
                    for (int v : DashPattern(pen.style))
                        dashes.append(v);
                    qpen.setDashPattern(dashes);
                }
                SetMode(p, m.mode);
                p->setPen(qpen);
                p->setBrush(Qt::NoBrush);
                p->drawPath(path);
                ForgetPen();
            }
        }
    }

    // --- text ---
    struct CTextRun {
        QString text;
        int width = 0;                     // device pixels
        std::vector<int> advances;         // per character when spacing is given or added
        CPreparedText* prepared = nullptr; // the font's layout of the text, if it has one
    };

    // The font's layout of a text, made at its first use. Texts are kept until there are
    // too many, then all let go.
    static CPreparedText& Prepare(const CRealizedFont& f, const char* text, int n)
    {
        constexpr size_t kMaxPrepared = 2048;
        std::string key(text, static_cast<size_t>(n));
        auto it = f.prepared.find(key);
        if (it != f.prepared.end())
            return it->second;
        if (f.prepared.size() >= kMaxPrepared)
            f.prepared.clear();
        CPreparedText t;
        t.text = DisplayText(text, n);
        t.width = f.Width(t.text);
        return f.prepared.emplace(std::move(key), std::move(t)).first->second;
    }

    // The screen glyphs of a prepared text, found the first time it is drawn; false when
    // the face lacks one of its characters.
    static bool ScreenLayout(const CRealizedFont& f, CPreparedText& t)
    {
        if (t.glyphs == CPreparedText::glyphsUnknown) {
            CTextRun run;
            run.text = t.text;
            QList<quint32> glyphs;
            QList<QPointF> positions;
            t.glyphs = CPreparedText::glyphsMissing;
            if (ScreenGlyphs(run, f, glyphs, positions)) {
                t.glyphs = CPreparedText::glyphsFound;
                t.glyphRun.setRawFont(f.screenGlyphs);
                t.glyphRun.setGlyphIndexes(glyphs);
                t.glyphRun.setPositions(positions);
                t.glyphRun.setUnderline(f.font.underline());
                t.glyphRun.setStrikeOut(f.font.strikeOut());
                // Hinting and antialiasing may reach a pixel or two past the outline, and a
                // bold made from a regular face is widened by a twenty-fourth of its size.
                const int blur = 2 + f.ppem / 12;
                t.inks.reserve(static_cast<size_t>(glyphs.size()));
                for (qsizetype i = 0; i < glyphs.size(); ++i)
                    t.inks.push_back(f.screenGlyphs.boundingRect(glyphs[i])
                                         .toAlignedRect()
                                         .translated(positions[i].toPoint())
                                         .adjusted(-blur, -blur, blur, blur));
            }
        }
        return t.glyphs == CPreparedText::glyphsFound;
    }

    // A text as drawn: from the font's prepared layout when the font's own advances place
    // it, else placed character by character.
    CTextRun MakeRun(LPCTSTR text, int n, const LPINT lpDx)
    {
        CTextRun run;
        const CRealizedFont& f = Font();
        if (!lpDx && st.charExtra == 0) {
            CPreparedText& t = Prepare(f, text, n);
            run.text = t.text;
            run.width = t.width;
            run.prepared = &t;
            return run;
        }
        run.text = DisplayText(text, n);
        // Per-character placement: widths from lpDx (one entry per byte) or the font's
        // advance plus the extra spacing.
        const int extra = st.charExtra == 0 ? 0 : LenX(st.charExtra) * (st.charExtra < 0 ? -1 : 1);
        for (const auto& [start, len] : CharacterSpans(text, n)) {
            int adv;
            if (lpDx) {
                int logical = 0;
                for (int i = 0; i < len; ++i)
                    logical += lpDx[start + i];
                adv = LenX(logical) * (logical < 0 ? -1 : 1);
            } else {
                adv = f.Width(DisplayText(text + start, len)) + extra;
            }
            run.advances.push_back(adv);
            run.width += adv;
        }
        return run;
    }

    // The glyphs of a run in the font's screen glyphs, each at the whole pixel its advances
    // give from the run's start. false when the face lacks one of the characters: the text
    // path then finds another face for it.
    static bool ScreenGlyphs(const CTextRun& run, const CRealizedFont& f, QList<quint32>& glyphs,
                             QList<QPointF>& positions)
    {
        if (!f.screenGlyphs.isValid() || !f.metrics || run.text.isEmpty())
            return false;
        glyphs = f.screenGlyphs.glyphIndexesForString(run.text);
        if (glyphs.size() != run.text.size())
            return false;
        positions.clear();
        positions.reserve(glyphs.size());
        int x = 0;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (glyphs[i] == 0)
                return false;
            positions.append(QPointF(x, 0));
            if (run.advances.empty())
                x += f.metrics->horizontalAdvance(run.text[i]);
            else
                x += static_cast<size_t>(i) < run.advances.size() ? run.advances[static_cast<size_t>(i)] : 0;
        }
        return true;
    }

    // Draws glyphs of the font's screen glyphs placed in the device pixels of the context.
    // Where the painter's device is finer (a high-density back buffer) they are drawn with
    // the face realised at the finer size, at the same places, and not scaled up.
    static void PaintGlyphRun(QPainter* p, QPoint origin, const QGlyphRun& glyphRun, const CRealizedFont& f)
    {
        const double density = p->device() ? p->device()->devicePixelRatio() : 1.0;
        if (density == 1.0) {
            p->drawGlyphRun(QPointF(origin), glyphRun);
            return;
        }
        QGlyphRun fine = glyphRun;
        fine.setRawFont(f.ScreenGlyphsAt(density));
        QList<QPointF> positions = glyphRun.positions();
        for (QPointF& pt : positions)
            pt *= density;
        fine.setPositions(positions);
        const QTransform world = p->worldTransform();
        p->setWorldTransform(QTransform::fromScale(1.0 / density, 1.0 / density) * world);
        p->drawGlyphRun(QPointF(origin) * density, fine);
        p->setWorldTransform(world);
    }

    static void DrawGlyphs(QPainter* p, QPoint origin, const QList<quint32>& glyphs,
                           const QList<QPointF>& positions, const CRealizedFont& f)
    {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(f.screenGlyphs);
        glyphRun.setGlyphIndexes(glyphs);
        glyphRun.setPositions(positions);
        glyphRun.setUnderline(f.font.underline());
        glyphRun.setStrikeOut(f.font.strikeOut());
        PaintGlyphRun(p, origin, glyphRun, f);
    }

    // Draws a run on a screen-like device with the font's screen glyphs. false, with nothing
    // drawn, when the face lacks one of the characters.
    static bool DrawScreenGlyphs(QPainter* p, QPoint origin, const CTextRun& run, const CRealizedFont& f)
    {
        if (run.prepared) {
            if (!ScreenLayout(f, *run.prepared))
                return false;
            PaintGlyphRun(p, origin, run.prepared->glyphRun, f);
            return true;
        }
        QList<quint32> glyphs;
        QList<QPointF> positions;
        if (!ScreenGlyphs(run, f, glyphs, positions))
            return false;
        DrawGlyphs(p, origin, glyphs, positions, f);
        return true;
    }

    // Whether the painter writes the printer's file (the PDF that every printer is given)
    // rather than an image standing for the paper (a preview page).
    static bool PaintsPaper(QPainter* p)
    {
        return p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Pdf;
    }

    // The outlines of a run's characters in the face of font, each placed where the run's
    // own font puts it (its advances, or the font's advance of each character). Given the
    // pixels of a picture (device pixels to them, neither turned nor mirrored), each glyph
    // is set on them as renderers set glyphs: its baseline on a whole row of pixels and its
    // left end on a quarter of a pixel.
    static QPainterPath RunOutline(QPoint origin, const CTextRun& run, const CRealizedFont& f,
                                   const QFont& face, const QTransform* pPixels = nullptr)
    {
        const QTransform fromPixels = pPixels ? pPixels->inverted() : QTransform();
        QPainterPath path;
        int x = origin.x();
        for (qsizetype i = 0; i < run.text.size(); ++i) {
            // One UTF-16 unit per code page 932 character.
            const QString character = run.text.mid(i, 1);
            QPointF at(x, origin.y());
            if (pPixels) {
                const QPointF pixel = pPixels->map(at);
                at = fromPixels.map(QPointF(std::floor(pixel.x() * 4) / 4, std::round(pixel.y())));
            }
            path.addText(at, face, character);
            if (run.advances.empty())
                x += f.Width(character);
            else if (static_cast<size_t>(i) < run.advances.size())
                x += run.advances[static_cast<size_t>(i)];
        }
        return path;
    }

    // A made-up bold on an image that stands for paper, as the paper has it: the regular
    // glyphs printed twice at the bold font's places, the second time a little to the left,
    // and an underline or a strike-out once along the run. Drawn from the regular outlines:
    // the image's own engine emboldens by another measure, and only at some sizes and scales,
    // so that a preview page would be bolder or fainter than the paper by its zoom.
    // A renderer of the paper sets both prints on the pixels of the picture it makes, and the
    // second one darkens the edge pixels the first covered in part. A page drawn larger than
    // shown (outHairline painter pixels a pixel) and brought down would lose that darkening,
    // lighter than the paper the smaller the zoom: the text is set on the pixels of the page
    // as shown, and each of them put on the page as a square of outHairline painter pixels,
    // which bringing the page down gives back as it was.
    void DrawPaperBold(QPainter* p, QPoint origin, const CTextRun& run, const CRealizedFont& f)
    {
        QFont regular = f.font;
        regular.setWeight(QFont::Normal);
        regular.setUnderline(false);
        regular.setStrikeOut(false);
        const QTransform world = p->worldTransform();
        const int k = outHairline;
        const QTransform shown = world * QTransform::fromScale(1.0 / k, 1.0 / k);
        const bool onPixels =
            Image() != nullptr && shown.type() <= QTransform::TxScale && shown.m11() > 0 && shown.m22() > 0;
        const QPainterPath glyphs = RunOutline(origin, run, f, regular, onPixels ? &shown : nullptr);
        const QFontMetricsF metrics(f.font);
        const double thickness = metrics.lineWidth();
        QPainterPath lines;
        const auto line = [&](double offset) {
            lines.addRect(QRectF(origin.x(), origin.y() + offset - thickness / 2, run.width, thickness));
        };
        if (f.font.underline())
            line(metrics.underlinePos());
        if (f.font.strikeOut())
            line(-metrics.strikeOutPos());
        const QColor colour = ToQColor(st.textColor);
        const bool smooth = !(f.font.styleStrategy() & QFont::NoAntialias);
        const auto print = [&](QPainter& painter) {
            const bool wasSmooth = painter.testRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::Antialiasing, smooth);
            painter.fillPath(glyphs, colour);
            painter.fillPath(glyphs.translated(-f.boldOffset, 0), colour);
            if (!lines.isEmpty())
                painter.fillPath(lines, colour);
            painter.setRenderHint(QPainter::Antialiasing, wasSmooth);
        };
        if (!onPixels) {
            print(*p);
            return;
        }
        const QRectF reach =
            glyphs.boundingRect() | glyphs.boundingRect().translated(-f.boldOffset, 0) | lines.boundingRect();
        const QRect area = shown.mapRect(reach).toAlignedRect().adjusted(-1, -1, 1, 1);
        QImage pixels(area.size(), QImage::Format_ARGB32_Premultiplied);
        pixels.fill(Qt::transparent);
        {
            QPainter painter(&pixels);
            painter.setTransform(shown * QTransform::fromTranslate(-area.left(), -area.top()));
            print(painter);
        }
        const bool wasScaledSmoothly = p->testRenderHint(QPainter::SmoothPixmapTransform);
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        p->setWorldTransform(QTransform::fromScale(k, k));
        p->drawImage(area.topLeft(), pixels);
        p->setWorldTransform(world);
        p->setRenderHint(QPainter::SmoothPixmapTransform, wasScaledSmoothly);
    }

    // Where a run aligned by align at the device point ref starts: its left end, and its
    // baseline.
    QPoint RunOrigin(QPoint ref, const CTextRun& run, UINT align)
    {
        const CRealizedFont& f = Font();
        int left = ref.x();
        switch (align & TA_CENTER) {
        case TA_RIGHT:
            left -= run.width;
            break;
        case TA_CENTER:
            left -= run.width / 2;
            break;
        default:
            break;
        }
        int baseline = ref.y();
        switch (align & TA_BASELINE) {
        case TA_BOTTOM:
            baseline -= f.descent;
            break;
        case TA_BASELINE:
            break;
        default:
            baseline += f.ascent;
            break;
        }
        return QPoint(left, baseline);
    }

    // Draws a run as DrawRun does, clipped to the device rectangle clip, without the
    // painter's clip where it can (CDCText.cpp). false, with nothing drawn, where that does
    // not apply: the caller then clips with the painter.
    bool DrawRunClipped(const QRect& clip, QPoint ref, const CTextRun& run, UINT align, bool opaqueBox);

    void DrawRun(QPainter* p, QPoint ref, const CTextRun& run, UINT align, bool opaqueBox)
    {
        const CRealizedFont& f = Font();
        const QPoint origin = RunOrigin(ref, run, align);
        const int left = origin.x();
        const int baseline = origin.y();
        const bool rotated = f.escapement % 3600 != 0;
        if (rotated) {
            // Rotate about the reference point: the same offsets along the turned axes.
            QTransform t = p->transform();
            t.translate(ref.x(), ref.y());
            t.rotate(-f.escapement / 10.0);
            t.translate(-ref.x(), -ref.y());
            p->setTransform(t);
        }
        if (opaqueBox) {
            SetMode(p, QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(left, baseline - f.ascent, run.width, f.height), ToQColor(st.bkColor));
        }
        SetMode(p, QPainter::CompositionMode_SourceOver);
        if (host->font.get() != &f) {
            p->setFont(f.font);
            host->font = rf;
        }
        SetPenColor(p, ToQColor(st.textColor));
        if (caps.technology == DT_RASDISPLAY && DrawScreenGlyphs(p, QPoint(left, baseline), run, f)) {
            // drawn with the screen's glyphs
        } else if (f.paper && f.syntheticBold && !PaintsPaper(p)) {
            DrawPaperBold(p, QPoint(left, baseline), run, f);
        } else if (run.advances.empty() && !(f.paper && f.syntheticBold)) {
            p->drawText(QPoint(left, baseline), run.text);
        } else {
            // Placed character by character at the measured advances: the given ones, or
            // (a made-up bold on paper) the regular face's, which the toolkit's own layout of
            // the bold font does not keep.
            int x = left;
            for (qsizetype pos = 0; pos < run.text.size(); ++pos) {
                // Characters in the run line up with the advances: one UTF-16 unit per
                // code page 932 character (a surrogate pair never comes out of it).
                const QString character = run.text.mid(pos, 1);
                p->drawText(QPoint(x, baseline), character);
                if (run.advances.empty())
                    x += f.Width(character);
                else if (static_cast<size_t>(pos) < run.advances.size())
                    x += run.advances[static_cast<size_t>(pos)];
            }
        }
        if (rotated)
            ApplyTransform(p);
    }
};

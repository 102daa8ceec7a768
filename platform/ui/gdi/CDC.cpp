#include "platform/ui/gdi/CDC.h"

#include "platform/base/Cp932.h"
#include "platform/ui/gdi/FontMapper_p.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QGuiApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

IMPLEMENT_DYNAMIC(CDC, CObject)

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
COLORREF FromQRgb(QRgb c)
{
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

// Coordinates stay within +-2^30 so that sums and differences of two never overflow.
constexpr double kCoordLimit = 1073741824.0;
int Round(double v)
{
    return static_cast<int>(std::lround(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

// A device rectangle from two corners in any order: right and bottom exclusive.
QRect OrderedRect(int x1, int y1, int x2, int y2)
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

RECT ToRECT(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int RegionKind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Text from code page 932 for display: 0x5C shows as the yen sign. Plain ASCII (the bulk
// of the numbers in the grids) skips the table.
QString DisplayText(const char* text, int nCount)
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

int TextLength(LPCTSTR text, int nCount)
{
    if (!text)
        return 0;
    return nCount < 0 ? static_cast<int>(std::strlen(text)) : nCount;
}

// Byte ranges of the characters of a code page 932 text (a lead byte with its trail).
std::vector<std::pair<int, int>> CharacterSpans(const char* text, int n)
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
const std::vector<int>& DashPattern(int style)
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

// Mapping-mode units per inch (metric and English modes; y grows upward).
int UnitsPerInch(int mapMode)
{
    switch (mapMode) {
    case MM_LOMETRIC:
        return 254;
    case MM_HIMETRIC:
        return 2540;
    case MM_LOENGLISH:
        return 100;
    case MM_HIENGLISH:
        return 1000;
    case MM_TWIPS:
        return 1440;
    default:
        return 0;
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

CMix MixFor(int rop2, COLORREF c, bool rasterOps)
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
};

std::unordered_map<QPaintDevice*, CPainterHost*>& Hosts()
{
    static std::unordered_map<QPaintDevice*, CPainterHost*> hosts;
    return hosts;
}

CPainterHost* AcquireHost(QPaintDevice* device, QPainter* external)
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

void ReleaseHost(CPainterHost* host)
{
    if (!host || --host->users > 0)
        return;
    Hosts().erase(host->device);
    if (host->owned && host->owned->isActive())
        host->owned->end();
    delete host;
}

} // namespace

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
    unsigned clipVersion = 1;
    mutable QRegion visible;
    mutable unsigned visibleVersion = 0;
    mutable QRect visibleBounds;
    int styleOffset = 0; // position in the dash pattern of styled lines
    bool pageOpen = false;
    int pagesStarted = 0;
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

    // The painter, holding this context's clip and transform.
    QPainter* Painter()
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
        QPainter* p = Painter();
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

    // --- objects ---
    const CRealizedFont& Font()
    {
        CGdiData* f = st.font.get();
        const int h =
            f->font.lfHeight == 0 ? 0 : (f->font.lfHeight < 0 ? -1 : 1) * std::max(1, LenY(f->font.lfHeight));
        const int w = f->font.lfWidth == 0 ? 0 : std::max(1, LenX(f->font.lfWidth));
        if (!rf || rfFont != f->serial || rfHeight != h || rfWidth != w || rfDpi != caps.logPixelsY) {
            rf = f->Realize(h, w, caps.logPixelsY);
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
    void FillDev(QPainter* p, const QRect& r, const CMix& m)
    {
        if (m.skip || r.isEmpty())
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
        if (transformed && pattern.empty()) {
            // A preview: a cosmetic line of the painter, which stays one screen pixel.
            if (m.invertFirst) {
                SetMode(p, QPainter::RasterOp_NotDestination);
                p->setPen(QPen(Qt::black, 0));
                p->drawLine(a, b);
            }
            SetMode(p, m.mode);
            p->setPen(QPen(m.color, 0));
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
                SetPenColor(p, Qt::black);
                p->drawPoints(pts);
            }
            SetMode(p, mix.mode);
            SetPenColor(p, mix.color);
            p->drawPoints(pts);
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
        if (!transformed && (a.y() == b.y() || a.x() == b.x())) {
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
        if (transformed && w <= 1) {
            SetMode(p, m.mode);
            p->setPen(QPen(m.color, 0));
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
        int width = 0;             // device pixels
        std::vector<int> advances; // per character when spacing is given or added
    };

    CTextRun MakeRun(LPCTSTR text, int n, const LPINT lpDx)
    {
        CTextRun run;
        const CRealizedFont& f = Font();
        run.text = DisplayText(text, n);
        if (!lpDx && st.charExtra == 0) {
            run.width = f.Width(run.text);
            return run;
        }
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

    // Draws a run with its reference point at the device point ref, aligned by align.
    void DrawRun(QPainter* p, QPoint ref, const CTextRun& run, UINT align, bool opaqueBox)
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
        if (run.advances.empty()) {
            p->drawText(QPoint(left, baseline), run.text);
        } else {
            int x = left;
            qsizetype pos = 0;
            for (int adv : run.advances) {
                // Characters in the run line up with the advances: one UTF-16 unit per
                // code page 932 character (a surrogate pair never comes out of it).
                if (pos < run.text.size())
                    p->drawText(QPoint(x, baseline), run.text.mid(pos, 1));
                ++pos;
                x += adv;
            }
        }
        if (rotated)
            ApplyTransform(p);
    }
};

// ---------------------------------------------------------------------------------------
// Construction and attaching.
// ---------------------------------------------------------------------------------------

CDC::CDC() : m_pOwnImpl(std::make_unique<CDCImpl>(this)), m_pImpl(m_pOwnImpl.get())
{
    CDCState& st = m_pImpl->st;
    st.pen = CGdiRef(StockGdiData(BLACK_PEN));
    st.brush = CGdiRef(StockGdiData(WHITE_BRUSH));
    st.font = CGdiRef(StockGdiData(SYSTEM_FONT));
}

CDC::~CDC()
{
    if (m_pImpl != m_pOwnImpl.get())
        Detach();
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC)
        return FALSE;
    if (m_pImpl != m_pOwnImpl.get())
        Detach();
    DeleteDC();
    m_pImpl = reinterpret_cast<CDCImpl*>(hDC);
    m_hDC = m_hAttribDC = hDC;
    m_bPrinting = m_pImpl->owner->m_bPrinting;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (m_pImpl != m_pOwnImpl.get()) {
        m_pImpl = m_pOwnImpl.get();
        m_hDC = m_hAttribDC = nullptr;
        m_bPrinting = FALSE;
    }
    return h;
}

CDC* CDC::FromHandle(HDC hDC)
{
    return hDC ? reinterpret_cast<CDCImpl*>(hDC)->owner : nullptr;
}

namespace {

// A screen (and memory contexts): 96 dpi whatever the display, the size of the primary
// screen.
CDeviceCaps ScreenCaps()
{
    CDeviceCaps caps;
    caps.technology = DT_RASDISPLAY;
    caps.logPixelsX = caps.logPixelsY = 96;
    if (qGuiApp) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            caps.horzRes = screen->geometry().width();
            caps.vertRes = screen->geometry().height();
        }
    }
    caps.horzSize = MulDiv(caps.horzRes, 254, 960);
    caps.vertSize = MulDiv(caps.vertRes, 254, 960);
    caps.bitsPixel = 32;
    return caps;
}

CDeviceCaps PrinterCaps(QPaintDevice* device)
{
    CDeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = std::max(1, device->logicalDpiX());
    caps.logPixelsY = std::max(1, device->logicalDpiY());
    caps.horzRes = device->width();
    caps.vertRes = device->height();
    caps.physicalWidth = caps.horzRes;
    caps.physicalHeight = caps.vertRes;
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device)) {
        // From inches rather than Qt's whole points, so that A4 at 600 dpi is 4961 pixels.
        const QPageLayout layout = paged->pageLayout();
        const QRectF full = layout.fullRect(QPageLayout::Inch);
        const QRectF paint = layout.paintRect(QPageLayout::Inch);
        caps.physicalWidth = Round(full.width() * caps.logPixelsX);
        caps.physicalHeight = Round(full.height() * caps.logPixelsY);
        bool fullPage = false;
        if (device->devType() == QInternal::Printer)
            fullPage = static_cast<QPrinter*>(device)->fullPage();
        if (!fullPage) {
            caps.physicalOffsetX = Round((paint.left() - full.left()) * caps.logPixelsX);
            caps.physicalOffsetY = Round((paint.top() - full.top()) * caps.logPixelsY);
        }
    }
    caps.horzSize = MulDiv(caps.horzRes, 254, caps.logPixelsX * 10);
    caps.vertSize = MulDiv(caps.vertRes, 254, caps.logPixelsY * 10);
    caps.bitsPixel = 24;
    return caps;
}

CDeviceCaps CapsFor(QPaintDevice* device, BOOL isPrinting)
{
    const bool paged =
        device->devType() == QInternal::Printer || dynamic_cast<QPagedPaintDevice*>(device) != nullptr;
    if (isPrinting && paged)
        return PrinterCaps(device);
    return ScreenCaps();
}

} // namespace

BOOL CDC::AttachDevice(QPaintDevice* device, BOOL isPrinting)
{
    DetachDevice();
    if (!device)
        return FALSE;
    CPainterHost* host = AcquireHost(device, nullptr);
    if (!host)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    d.host = host;
    d.device = device;
    d.memory = false;
    d.caps = CapsFor(device, isPrinting);
    d.ClipChanged();
    m_bPrinting = isPrinting ? TRUE : FALSE;
    m_hDC = m_hAttribDC = reinterpret_cast<HDC>(m_pImpl);
    return TRUE;
}

BOOL CDC::AttachPainter(QPainter* painter, BOOL isPrinting)
{
    DetachDevice();
    if (!painter || !painter->isActive() || !painter->device())
        return FALSE;
    CPainterHost* host = AcquireHost(painter->device(), painter);
    if (!host)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    d.host = host;
    d.device = painter->device();
    d.memory = false;
    d.caps = CapsFor(d.device, isPrinting);
    // The painter's clip is the area the system allows.
    d.hasSystemClip = host->hasBaseClip;
    d.systemClip = host->hasBaseClip ? host->baseClip : QRegion();
    d.ClipChanged();
    m_bPrinting = isPrinting ? TRUE : FALSE;
    m_hDC = m_hAttribDC = reinterpret_cast<HDC>(m_pImpl);
    return TRUE;
}

void CDC::DetachDevice()
{
    if (m_pImpl != m_pOwnImpl.get()) {
        Detach();
        return;
    }
    CDCImpl& d = *m_pImpl;
    if (d.host)
        d.LeaveHost();
    d.host = nullptr;
    d.device = nullptr;
    d.hasSystemClip = false;
    d.systemClip = QRegion();
    d.transformed = false;
    m_hDC = m_hAttribDC = nullptr;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    DeleteDC();
    CDCImpl& d = *m_pImpl;
    // A fresh context starts with the 1 x 1 monochrome bitmap.
    CGdiData* bm = DefaultBitmapData();
    CPainterHost* host = AcquireHost(&bm->image, nullptr);
    if (!host)
        return FALSE;
    d.st = CDCState();
    d.st.pen = CGdiRef(StockGdiData(BLACK_PEN));
    d.st.brush = CGdiRef(StockGdiData(WHITE_BRUSH));
    d.st.font = CGdiRef(StockGdiData(SYSTEM_FONT));
    d.st.bitmap = CGdiRef(bm);
    d.saved.clear();
    d.host = host;
    d.device = &bm->image;
    d.memory = true;
    d.caps = (pDC && pDC->GetSafeHdc()) ? pDC->m_pImpl->caps : ScreenCaps();
    d.ClipChanged();
    m_bPrinting = FALSE;
    m_hDC = m_hAttribDC = reinterpret_cast<HDC>(m_pImpl);
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (m_pImpl != m_pOwnImpl.get()) {
        Detach(); // the context belongs to its owner
        return TRUE;
    }
    if (!m_hDC)
        return FALSE;
    DetachDevice();
    CDCImpl& d = *m_pImpl;
    d.saved.clear();
    d.st.bitmap = CGdiRef();
    d.memory = false;
    d.rf.reset();
    d.rfFont = 0;
    return TRUE;
}

BOOL CDC::IsMemoryDC() const
{
    return m_pImpl->memory ? TRUE : FALSE;
}
QPaintDevice* CDC::GetDevice() const
{
    return m_pImpl->device;
}
QPainter* CDC::GetPainter() const
{
    // Ready for this context (its clip and transform); whatever the caller then changes on
    // it is set again by the next drawing call.
    CDCImpl& d = *m_pImpl;
    QPainter* p = d.Painter();
    if (p) {
        d.host->lastUser = nullptr;
        d.host->modeKnown = false;
        d.host->penSet = false;
        d.host->font.reset();
    }
    return p;
}

void CDC::SetDeviceCaps(const CDeviceCaps& caps)
{
    m_pImpl->caps = caps;
    m_pImpl->ClipChanged();
}

const CDeviceCaps& CDC::GetDeviceCapsRecord() const
{
    return m_pImpl->caps;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    const CDeviceCaps& c = m_pImpl->caps;
    switch (nIndex) {
    case DRIVERVERSION:
        return 0x4000;
    case TECHNOLOGY:
        return c.technology;
    case HORZSIZE:
        return c.horzSize;
    case VERTSIZE:
        return c.vertSize;
    case HORZRES:
        return c.horzRes;
    case VERTRES:
        return c.vertRes;
    case BITSPIXEL:
        return c.bitsPixel;
    case PLANES:
        return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
        return -1;
    case NUMFONTS:
        return 0;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
        return c.logPixelsX;
    case LOGPIXELSY:
        return c.logPixelsY;
    case SIZEPALETTE:
        return 0;
    case PHYSICALWIDTH:
        return c.physicalWidth;
    case PHYSICALHEIGHT:
        return c.physicalHeight;
    case PHYSICALOFFSETX:
        return c.physicalOffsetX;
    case PHYSICALOFFSETY:
        return c.physicalOffsetY;
    case RASTERCAPS:
        return RC_BITBLT | RC_STRETCHBLT;
    default:
        return 0;
    }
}

void CDC::SetSystemClipRgn(const CRgn* pRgn)
{
    const QRegion* r = RegionOf(pRgn);
    m_pImpl->hasSystemClip = r != nullptr;
    m_pImpl->systemClip = r ? *r : QRegion();
    m_pImpl->ClipChanged();
}

void CDC::SetSystemClipRect(LPCRECT lpRect)
{
    m_pImpl->hasSystemClip = lpRect != nullptr;
    m_pImpl->systemClip =
        lpRect ? QRegion(OrderedRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)) : QRegion();
    m_pImpl->ClipChanged();
}

void CDC::SetOutputTransform(double scale, int dx, int dy)
{
    CDCImpl& d = *m_pImpl;
    d.transformed = !(scale == 1.0 && dx == 0 && dy == 0) && scale > 0;
    d.outScale = scale > 0 ? scale : 1.0;
    d.outDx = dx;
    d.outDy = dy;
    d.ClipChanged();
}

// ---------------------------------------------------------------------------------------
// Printing jobs.
// ---------------------------------------------------------------------------------------

int CDC::StartDoc(LPCTSTR)
{
    return m_hDC ? 1 : -1;
}

int CDC::StartPage()
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return -1;
    // The first page is the one the painter began on; each further page asks the device
    // for a new sheet.
    if (d.pagesStarted > 0) {
        if (auto* paged = dynamic_cast<QPagedPaintDevice*>(d.device)) {
            if (!paged->newPage())
                return -1;
        }
    }
    ++d.pagesStarted;
    d.pageOpen = true;
    return 1;
}

int CDC::EndPage()
{
    if (!m_hDC)
        return -1;
    m_pImpl->pageOpen = false;
    return 1;
}

int CDC::EndDoc()
{
    if (!m_hDC)
        return -1;
    m_pImpl->pagesStarted = 0;
    DetachDevice();
    return 1;
}

int CDC::AbortDoc()
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return -1;
    if (d.device && d.device->devType() == QInternal::Printer)
        static_cast<QPrinter*>(d.device)->abort();
    d.pagesStarted = 0;
    DetachDevice();
    return 1;
}

// ---------------------------------------------------------------------------------------
// State.
// ---------------------------------------------------------------------------------------

namespace {

// Stores a new value and hands back the one it replaced, as every Set… of the context does.
template <class T>
T Exchange(T& field, T value)
{
    const T old = field;
    field = value;
    return old;
}

// A mode outside its valid values leaves the context as it was and reports 0.
int ExchangeMode(int& field, int value, bool valid)
{
    return valid ? Exchange(field, value) : 0;
}

CPoint ExchangeOrg(int& orgX, int& orgY, int x, int y)
{
    const CPoint old(orgX, orgY);
    orgX = x;
    orgY = y;
    return old;
}

// Scales a size by num/denom on each axis (MulDiv rounding).
void ScaleSize(LPSIZE lpSize, int xNum, int xDenom, int yNum, int yDenom)
{
    if (!lpSize)
        return;
    lpSize->cx = MulDiv(lpSize->cx, xNum, xDenom);
    lpSize->cy = MulDiv(lpSize->cy, yNum, yDenom);
}

} // namespace

int CDC::SaveDC()
{
    if (!m_hDC)
        return 0;
    m_pImpl->saved.push_back(m_pImpl->st);
    return static_cast<int>(m_pImpl->saved.size());
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    CDCImpl& d = *m_pImpl;
    const int count = static_cast<int>(d.saved.size());
    int index;
    if (nSavedDC < 0)
        index = count + nSavedDC;
    else
        index = nSavedDC - 1;
    if (!m_hDC || index < 0 || index >= count)
        return FALSE;
    CDCState state = d.saved[static_cast<size_t>(index)];
    d.saved.resize(static_cast<size_t>(index));
    // A memory context may get its former bitmap back: draw on that one again.
    if (d.memory && state.bitmap.get() != d.st.bitmap.get() && state.bitmap)
        d.DrawOn(&state.bitmap->image);
    d.st = std::move(state);
    d.ClipChanged();
    return TRUE;
}

CPoint CDC::GetBrushOrg() const
{
    return CPoint(m_pImpl->st.brushOrg.x(), m_pImpl->st.brushOrg.y());
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    const QPoint old = Exchange(m_pImpl->st.brushOrg, QPoint(x, y));
    return CPoint(old.x(), old.y());
}

int CDC::GetROP2() const
{
    return m_pImpl->st.rop2;
}

int CDC::SetROP2(int nDrawMode)
{
    return ExchangeMode(m_pImpl->st.rop2, nDrawMode, nDrawMode >= R2_BLACK && nDrawMode <= R2_WHITE);
}

int CDC::GetBkMode() const
{
    return m_pImpl->st.bkMode;
}

int CDC::SetBkMode(int nBkMode)
{
    return ExchangeMode(m_pImpl->st.bkMode, nBkMode, nBkMode == OPAQUE || nBkMode == TRANSPARENT);
}

COLORREF CDC::GetBkColor() const
{
    return m_pImpl->st.bkColor;
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    return Exchange(m_pImpl->st.bkColor, crColor & 0xFFFFFF);
}

COLORREF CDC::GetTextColor() const
{
    return m_pImpl->st.textColor;
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    return Exchange(m_pImpl->st.textColor, crColor & 0xFFFFFF);
}

UINT CDC::GetTextAlign() const
{
    return m_pImpl->st.textAlign;
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    return Exchange(m_pImpl->st.textAlign, nFlags & TA_MASK);
}

int CDC::GetPolyFillMode() const
{
    return m_pImpl->st.polyFillMode;
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    return ExchangeMode(m_pImpl->st.polyFillMode, nPolyFillMode,
                        nPolyFillMode == ALTERNATE || nPolyFillMode == WINDING);
}

int CDC::GetStretchBltMode() const
{
    return m_pImpl->st.stretchMode;
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    return ExchangeMode(m_pImpl->st.stretchMode, nStretchMode,
                        nStretchMode >= BLACKONWHITE && nStretchMode <= HALFTONE);
}

int CDC::GetTextCharacterExtra() const
{
    return m_pImpl->st.charExtra;
}

int CDC::SetTextCharacterExtra(int nCharExtra)
{
    return Exchange(m_pImpl->st.charExtra, nCharExtra);
}

// ---------------------------------------------------------------------------------------
// Mapping.
// ---------------------------------------------------------------------------------------

int CDC::GetMapMode() const
{
    return m_pImpl->st.mapMode;
}

int CDC::SetMapMode(int nMapMode)
{
    CDCImpl& d = *m_pImpl;
    CDCState& st = d.st;
    const int old = st.mapMode;
    if (nMapMode < MM_TEXT || nMapMode > MM_ANISOTROPIC)
        return 0;
    if (nMapMode == MM_TEXT) {
        st.wndExtX = st.wndExtY = st.vpExtX = st.vpExtY = 1;
    } else if (const int upi = UnitsPerInch(nMapMode)) {
        // Fixed units per inch at the device's resolution, y growing upward.
        st.wndExtX = st.wndExtY = upi;
        st.vpExtX = d.caps.logPixelsX;
        st.vpExtY = -d.caps.logPixelsY;
    } else if (nMapMode == MM_ISOTROPIC && old != MM_ISOTROPIC && old != MM_ANISOTROPIC) {
        // Entering the isotropic mode starts from the metric mode's extents.
        st.wndExtX = st.wndExtY = 254;
        st.vpExtX = d.caps.logPixelsX;
        st.vpExtY = -d.caps.logPixelsY;
    }
    // MM_ANISOTROPIC keeps the current extents.
    st.mapMode = nMapMode;
    d.FixIsotropic();
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    return CPoint(m_pImpl->st.vpOrgX, m_pImpl->st.vpOrgY);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    return ExchangeOrg(m_pImpl->st.vpOrgX, m_pImpl->st.vpOrgY, x, y);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    CDCState& st = m_pImpl->st;
    return ExchangeOrg(st.vpOrgX, st.vpOrgY, st.vpOrgX + nWidth, st.vpOrgY + nHeight);
}

CSize CDC::GetViewportExt() const
{
    return CSize(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    return m_pImpl->SetExtents(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY, cx, cy);
}

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_pImpl->ScaleExtents(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY, xNum, xDenom, yNum, yDenom);
}

CPoint CDC::GetWindowOrg() const
{
    return CPoint(m_pImpl->st.wndOrgX, m_pImpl->st.wndOrgY);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return ExchangeOrg(m_pImpl->st.wndOrgX, m_pImpl->st.wndOrgY, x, y);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    CDCState& st = m_pImpl->st;
    return ExchangeOrg(st.wndOrgX, st.wndOrgY, st.wndOrgX + nWidth, st.wndOrgY + nHeight);
}

CSize CDC::GetWindowExt() const
{
    return CSize(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    return m_pImpl->SetExtents(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY, cx, cy);
}

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_pImpl->ScaleExtents(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY, xNum, xDenom, yNum, yDenom);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        lpPoints[i].x = m_pImpl->XL2D(lpPoints[i].x);
        lpPoints[i].y = m_pImpl->YL2D(lpPoints[i].y);
    }
}

void CDC::LPtoDP(LPRECT lpRect) const
{
    if (lpRect)
        LPtoDP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    const CDCState& st = m_pImpl->st;
    ScaleSize(lpSize, std::abs(st.vpExtX), std::abs(st.wndExtX), std::abs(st.vpExtY), std::abs(st.wndExtY));
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        lpPoints[i].x = m_pImpl->XD2L(lpPoints[i].x);
        lpPoints[i].y = m_pImpl->YD2L(lpPoints[i].y);
    }
}

void CDC::DPtoLP(LPRECT lpRect) const
{
    if (lpRect)
        DPtoLP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    const CDCState& st = m_pImpl->st;
    ScaleSize(lpSize, std::abs(st.wndExtX), std::abs(st.vpExtX), std::abs(st.wndExtY), std::abs(st.vpExtY));
}

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const
{
    ScaleSize(lpSize, 2540, m_pImpl->caps.logPixelsX, 2540, m_pImpl->caps.logPixelsY);
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const
{
    ScaleSize(lpSize, m_pImpl->caps.logPixelsX, 2540, m_pImpl->caps.logPixelsY, 2540);
}

void CDC::LPtoHIMETRIC(LPSIZE lpSize) const
{
    if (m_pImpl->st.mapMode == MM_HIMETRIC)
        return;
    LPtoDP(lpSize);
    DPtoHIMETRIC(lpSize);
}

void CDC::HIMETRICtoLP(LPSIZE lpSize) const
{
    if (m_pImpl->st.mapMode == MM_HIMETRIC)
        return;
    HIMETRICtoDP(lpSize);
    DPtoLP(lpSize);
}

// ---------------------------------------------------------------------------------------
// Objects.
// ---------------------------------------------------------------------------------------

namespace {

CGdiObject* Previous(const CGdiRef& ref)
{
    return ref ? ref->Wrapper() : nullptr;
}

// The object a selection replaced: its wrapper, kept usable even when the context held the
// last reference.
CGdiObject* Replaced(CGdiRef old)
{
    CGdiObject* w = Previous(old);
    DeferRelease(std::move(old));
    return w;
}

// Puts a pen, brush or font into its slot of the context's state.
template <class T>
T* SelectInto(CGdiRef& slot, T* pObject, CGdiKind kind)
{
    CGdiData* d = GdiData(pObject);
    if (!d || d->kind != kind)
        return nullptr;
    CGdiRef old = std::move(slot);
    slot = CGdiRef(d);
    return static_cast<T*>(Replaced(std::move(old)));
}

} // namespace

CPen* CDC::SelectObject(CPen* pPen)
{
    return SelectInto(m_pImpl->st.pen, pPen, CGdiKind::Pen);
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return SelectInto(m_pImpl->st.brush, pBrush, CGdiKind::Brush);
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return SelectInto(m_pImpl->st.font, pFont, CGdiKind::Font);
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    CDCImpl& impl = *m_pImpl;
    CGdiData* d = GdiData(pBitmap);
    if (!d || d->kind != CGdiKind::Bitmap || !impl.memory || !m_hDC)
        return nullptr;
    if (d == impl.st.bitmap.get())
        return pBitmap;
    if (!impl.DrawOn(&d->image))
        return nullptr;
    CGdiRef old = std::move(impl.st.bitmap);
    impl.st.bitmap = CGdiRef(d);
    impl.ClipChanged();
    return static_cast<CBitmap*>(Replaced(std::move(old)));
}

int CDC::SelectObject(CRgn* pRgn)
{
    return pRgn ? SelectClipRgn(pRgn) : ERROR;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    CGdiData* d = GdiData(pObject);
    if (!d)
        return nullptr;
    switch (d->kind) {
    case CGdiKind::Pen:
        return SelectObject(static_cast<CPen*>(d->Wrapper()));
    case CGdiKind::Brush:
        return SelectObject(static_cast<CBrush*>(d->Wrapper()));
    case CGdiKind::Font:
        return SelectObject(static_cast<CFont*>(d->Wrapper()));
    case CGdiKind::Bitmap:
        return SelectObject(static_cast<CBitmap*>(d->Wrapper()));
    case CGdiKind::Region:
        return nullptr;
    }
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    CGdiData* d = StockGdiData(nIndex);
    return d ? SelectObject(d->Wrapper()) : nullptr;
}

CPen* CDC::GetCurrentPen() const
{
    return static_cast<CPen*>(Previous(m_pImpl->st.pen));
}
CBrush* CDC::GetCurrentBrush() const
{
    return static_cast<CBrush*>(Previous(m_pImpl->st.brush));
}
CFont* CDC::GetCurrentFont() const
{
    return static_cast<CFont*>(Previous(m_pImpl->st.font));
}
CBitmap* CDC::GetCurrentBitmap() const
{
    return static_cast<CBitmap*>(Previous(m_pImpl->st.bitmap));
}

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
    QPainter* p = d.Painter();
    const QPoint from = d.st.curPos;
    d.st.curPos = QPoint(x, y);
    if (!p)
        return FALSE;
    d.PenLine(p, d.L2D(from.x(), from.y()), d.L2D(x, y), d.Pen());
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
    QPainter* p = d.Painter();
    if (!p)
        return FALSE;
    d.RectangleDev(p, d.DevRect(x1, y1, x2, y2));
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
    QPainter* p = d.Painter();
    CGdiData* b = GdiData(pBrush);
    if (!p || !lpRect || !b || b->kind != CGdiKind::Brush)
        return;
    d.FillBrush(p, QRegion(d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom)), b,
                R2_COPYPEN);
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
    QPainter* p = d.Painter();
    if (!p)
        return;
    const QRect r = d.DevRect(x, y, x + cx, y + cy);
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
    d.SetPenColor(p, Qt::black);
    p->drawPoints(points);
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

// ---------------------------------------------------------------------------------------
// Text.
// ---------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ExtTextOut(x, y, 0, nullptr, lpszString, static_cast<UINT>(TextLength(lpszString, nCount)),
                      nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths)
{
    CDCImpl& d = *m_pImpl;
    if (!d.host)
        return FALSE;
    const int n = lpszString ? static_cast<int>(nCount) : 0;
    const bool updateCp = (d.st.textAlign & TA_UPDATECP) != 0;
    QPoint ref = updateCp ? d.L2D(d.st.curPos.x(), d.st.curPos.y()) : d.L2D(x, y);
    QRect rect;
    if (lpRect)
        rect = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);

    QPainter* p = (lpRect && (nOptions & ETO_CLIPPED)) ? d.PainterClippedTo(rect) : d.Painter();
    if (lpRect && (nOptions & ETO_OPAQUE) && !rect.isEmpty()) {
        d.SetMode(p, QPainter::CompositionMode_SourceOver);
        p->fillRect(rect, ToQColor(d.st.bkColor));
    }
    CDCImpl::CTextRun run;
    if (n > 0) {
        run = d.MakeRun(lpszString, n, lpDxWidths);
        // In OPAQUE mode the text's cell is filled, unless the rectangle already was.
        const bool box = d.st.bkMode == OPAQUE && !(lpRect && (nOptions & ETO_OPAQUE));
        d.DrawRun(p, ref, run, d.st.textAlign, box);
    }
    if (updateCp) {
        const int logical = d.DevLenToLX(run.width);
        switch (d.st.textAlign & TA_CENTER) {
        case TA_LEFT:
            d.st.curPos.rx() += d.ScaleX() < 0 ? -logical : logical;
            break;
        case TA_RIGHT:
            d.st.curPos.rx() -= d.ScaleX() < 0 ? -logical : logical;
            break;
        default:
            break;
        }
    }
    return TRUE;
}

namespace {

struct CLine {
    QString text;
    int width = 0;
    int prefixPos = -1; // index of the underlined mnemonic character in text
};

bool IsBreakSpace(QChar c)
{
    return c == u' ' || c == QChar(0x3000);
}

// Characters of the wide scripts may break anywhere; Latin words only at blanks.
bool WideChar(QChar c)
{
    return c.unicode() >= 0x2E80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
}

} // namespace

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    CDCImpl& d = *m_pImpl;
    if (!d.host || !lpRect)
        return 0;
    const int n = TextLength(lpszString, nCount);
    const CRealizedFont& f = d.Font();
    QString text = DisplayText(lpszString, n);
    // Line ends: one line drops them, several lines break at each of CR LF, LF and CR.
    if (nFormat & DT_SINGLELINE) {
        text.remove(u'\r');
        text.remove(u'\n');
    } else {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }

    // Mnemonic prefixes: "&x" underlines x, "&&" is a plain ampersand.
    int prefixIndex = -1;
    if (!(nFormat & DT_NOPREFIX)) {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'&' && i + 1 < text.size()) {
                ++i;
                if (text[i] != u'&' && prefixIndex < 0)
                    prefixIndex = static_cast<int>(out.size());
            } else if (text[i] == u'&') {
                continue;
            }
            out.append(text[i]);
        }
        text = out;
        if (nFormat & DT_HIDEPREFIX)
            prefixIndex = -1;
    }

    // Tabs expand to stops every eight average characters.
    if (nFormat & DT_EXPANDTABS) {
        const int tabChars = (nFormat & DT_TABSTOP) ? ((nFormat >> 8) & 0xFF) : 8;
        const int stop = std::max(1, tabChars) * f.aveCharWidth;
        QString out;
        int column = 0; // pixels since the line start
        for (QChar c : text) {
            if (c == u'\n' || c == u'\r') {
                column = 0;
                out.append(c);
            } else if (c == u'\t') {
                const int next = (column / stop + 1) * stop;
                while (column < next) {
                    out.append(u' ');
                    column += std::max(1, f.Width(QStringLiteral(" ")));
                }
            } else {
                out.append(c);
                column += f.Width(QString(c));
            }
        }
        text = out;
    }

    const QRect box = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    const bool single = (nFormat & DT_SINGLELINE) != 0;
    const bool wrap = (nFormat & DT_WORDBREAK) && !single;

    // Break into lines.
    std::vector<CLine> lines;
    {
        const QStringList paragraphs = text.split(u'\n');
        int consumed = 0; // characters of text before the current paragraph (for the prefix)
        for (const QString& para : paragraphs) {
            if (!wrap || f.Width(para) <= box.width()) {
                CLine line{para, f.Width(para), -1};
                if (prefixIndex >= consumed && prefixIndex < consumed + para.size())
                    line.prefixPos = prefixIndex - consumed;
                lines.push_back(line);
            } else {
                qsizetype start = 0;
                while (start < para.size()) {
                    // Take as many characters as fit, ending at the last break opportunity.
                    qsizetype end = start, lastBreak = -1;
                    while (end < para.size()) {
                        const int w = f.Width(para.mid(start, end - start + 1));
                        if (w > box.width() && end > start)
                            break;
                        ++end;
                        if (end < para.size() &&
                            (IsBreakSpace(para[end]) || WideChar(para[end]) || WideChar(para[end - 1])))
                            lastBreak = end;
                    }
                    if (end < para.size()) {
                        if (lastBreak > start) {
                            end = lastBreak;
                        } else {
                            // A word longer than the line stays whole and runs over.
                            while (end < para.size() && !IsBreakSpace(para[end]) && !WideChar(para[end]) &&
                                   !WideChar(para[end - 1]))
                                ++end;
                        }
                    }
                    QString block = para.mid(start, end - start);
                    CLine line{block, 0, -1};
                    if (prefixIndex >= consumed + start && prefixIndex < consumed + end)
                        line.prefixPos = static_cast<int>(prefixIndex - consumed - start);
                    while (line.text.endsWith(u' '))
                        line.text.chop(1);
                    line.width = f.Width(line.text);
                    lines.push_back(line);
                    start = end;
                    while (start < para.size() && IsBreakSpace(para[start]))
                        ++start;
                }
            }
            consumed += static_cast<int>(para.size()) + 1;
        }
        if (lines.empty())
            lines.push_back(CLine{});
    }

    // End ellipsis: the last line that does not fit loses characters for "...".
    if ((nFormat & DT_END_ELLIPSIS) && !(nFormat & DT_CALCRECT)) {
        CLine& last = lines.back();
        if (last.width > box.width()) {
            const QString dots = QStringLiteral("...");
            QString s = last.text;
            while (!s.isEmpty() && f.Width(s + dots) > box.width())
                s.chop(1);
            last.text = s + dots;
            last.width = f.Width(last.text);
            if (last.prefixPos >= s.size())
                last.prefixPos = -1;
        }
    }

    const int lineHeight = f.height + ((nFormat & DT_EXTERNALLEADING) ? f.externalLeading : 0);
    const int total = lineHeight * static_cast<int>(lines.size());
    int maxWidth = 0;
    for (const CLine& l : lines)
        maxWidth = std::max(maxWidth, l.width);

    if (nFormat & DT_CALCRECT) {
        // The rectangle is fitted to the text from its top-left corner.
        const int devLeft = d.XL2D(lpRect->left);
        const int devTop = d.YL2D(lpRect->top);
        const int right = wrap ? std::max(maxWidth, 0) : maxWidth;
        lpRect->right = d.XD2L(devLeft + right);
        lpRect->bottom = d.YD2L(devTop + total);
        return d.DevLenToLY(total);
    }

    int top = box.top();
    if (single) {
        if (nFormat & DT_VCENTER)
            top = box.top() + (box.height() - lineHeight) / 2;
        else if (nFormat & DT_BOTTOM)
            top = box.bottom() + 1 - lineHeight;
    }
    QPainter* p = (nFormat & DT_NOCLIP) ? d.Painter() : d.PainterClippedTo(box);
    const bool opaque = d.st.bkMode == OPAQUE;
    int y = top;
    for (const CLine& line : lines) {
        int x = box.left();
        if (nFormat & DT_CENTER)
            x = box.left() + (box.width() - line.width) / 2;
        else if (nFormat & DT_RIGHT)
            x = box.right() + 1 - line.width;
        if (!(nFormat & DT_PREFIXONLY)) {
            CDCImpl::CTextRun run;
            run.text = line.text;
            run.width = line.width;
            d.DrawRun(p, QPoint(x, y), run, TA_LEFT | TA_TOP, opaque);
        }
        if (line.prefixPos >= 0 && line.prefixPos < line.text.size()) {
            const int ux = x + f.Width(line.text.left(line.prefixPos));
            const int uw = f.Width(line.text.mid(line.prefixPos, 1));
            d.SetMode(p, QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(ux, y + f.ascent + 1, uw, 1), ToQColor(d.st.textColor));
        }
        y += lineHeight;
    }
    if (single && (nFormat & (DT_VCENTER | DT_BOTTOM)))
        return d.DevLenToLY(top + lineHeight - box.top());
    return d.DevLenToLY(total);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    CDCImpl& d = *m_pImpl;
    const int n = TextLength(lpszString, nCount);
    const CRealizedFont& f = d.Font();
    const CDCImpl::CTextRun run = d.MakeRun(lpszString, n, nullptr);
    return CSize(d.DevLenToLX(run.width), d.DevLenToLY(f.height));
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    if (!lpMetrics)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    const CRealizedFont& f = d.Font();
    const LOGFONT& lf = d.st.font->font;
    std::memset(lpMetrics, 0, sizeof(TEXTMETRIC));
    lpMetrics->tmHeight = d.DevLenToLY(f.height);
    lpMetrics->tmAscent = d.DevLenToLY(f.ascent);
    lpMetrics->tmDescent = d.DevLenToLY(f.descent);
    lpMetrics->tmInternalLeading = d.DevLenToLY(f.internalLeading);
    lpMetrics->tmExternalLeading = d.DevLenToLY(f.externalLeading);
    lpMetrics->tmAveCharWidth = d.DevLenToLX(f.aveCharWidth);
    lpMetrics->tmMaxCharWidth = d.DevLenToLX(f.maxCharWidth);
    lpMetrics->tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
    lpMetrics->tmOverhang = 0;
    lpMetrics->tmDigitizedAspectX = d.caps.logPixelsX;
    lpMetrics->tmDigitizedAspectY = d.caps.logPixelsY;
    lpMetrics->tmFirstChar = 0x20;
    lpMetrics->tmLastChar = 0xFC;
    lpMetrics->tmDefaultChar = 0x1F;
    lpMetrics->tmBreakChar = 0x20;
    lpMetrics->tmItalic = lf.lfItalic ? 1 : 0;
    lpMetrics->tmUnderlined = lf.lfUnderline ? 1 : 0;
    lpMetrics->tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    // TMPF_FIXED_PITCH set means a proportional font.
    lpMetrics->tmPitchAndFamily = static_cast<BYTE>((f.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                                    TMPF_TRUETYPE | (f.mincho ? FF_ROMAN : FF_MODERN));
    lpMetrics->tmCharSet = SHIFTJIS_CHARSET;
    return TRUE;
}

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    if (!lpBuffer || nFirstChar > nLastChar || nLastChar > 0xFF)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    const CRealizedFont& f = d.Font();
    for (UINT c = nFirstChar; c <= nLastChar; ++c) {
        const char ch = static_cast<char>(c);
        lpBuffer[c - nFirstChar] = d.DevLenToLX(f.Width(DisplayText(&ch, 1)));
    }
    return TRUE;
}

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const
{
    const char* face = m_pImpl->st.font->font.lfFaceName;
    const int len = static_cast<int>(strnlen(face, LF_FACESIZE));
    if (!lpszFacename || nCount <= 0)
        return len + 1;
    const int n = std::min(len, nCount - 1);
    std::memcpy(lpszFacename, face, static_cast<size_t>(n));
    lpszFacename[n] = '\0';
    return n;
}

int CDC::GetTextFace(CString& rString) const
{
    const char* face = m_pImpl->st.font->font.lfFaceName;
    rString = CString(face, static_cast<int>(strnlen(face, LF_FACESIZE)));
    return rString.GetLength();
}

int CDC::EnumFontFamiliesEx(LPLOGFONT lpLogFont, FONTENUMPROC lpEnumFontFamProc, LPARAM lParam, DWORD)
{
    if (!lpEnumFontFamProc)
        return 0;
    BYTE charset = lpLogFont ? lpLogFont->lfCharSet : DEFAULT_CHARSET;
    if (charset == DEFAULT_CHARSET)
        charset = SHIFTJIS_CHARSET;
    CString wanted;
    if (lpLogFont)
        wanted =
            CString(lpLogFont->lfFaceName, static_cast<int>(strnlen(lpLogFont->lfFaceName, LF_FACESIZE)));
    int result = 1;
    for (const CString& face : CFontMapper::JapaneseFaceNames()) {
        if (!wanted.IsEmpty() && face.CompareNoCase(wanted) != 0)
            continue;
        ENUMLOGFONTEX elf;
        std::memset(&elf, 0, sizeof(elf));
        LOGFONT& lf = elf.elfLogFont;
        lf.lfHeight = 16;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = charset;
        lf.lfOutPrecision = OUT_STROKE_PRECIS;
        lf.lfClipPrecision = CLIP_STROKE_PRECIS;
        lf.lfQuality = DRAFT_QUALITY;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        const auto rf = CFontRealizer::Realize(lf, 16, 0, 96);
        lf.lfPitchAndFamily = static_cast<BYTE>((rf->fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) |
                                                (rf->mincho ? FF_ROMAN : FF_MODERN));
        std::strncpy(elf.elfFullName, face, LF_FULLFACESIZE - 1);
        std::strncpy(elf.elfStyle, "Regular", LF_FACESIZE - 1);
        std::strncpy(elf.elfScript, CString("日本語"_sj), LF_FACESIZE - 1);
        NEWTEXTMETRICEX ntm;
        std::memset(&ntm, 0, sizeof(ntm));
        TEXTMETRIC& tm = ntm.ntmTm;
        tm.tmHeight = rf->height;
        tm.tmAscent = rf->ascent;
        tm.tmDescent = rf->descent;
        tm.tmInternalLeading = rf->internalLeading;
        tm.tmExternalLeading = rf->externalLeading;
        tm.tmAveCharWidth = rf->aveCharWidth;
        tm.tmMaxCharWidth = rf->maxCharWidth;
        tm.tmWeight = FW_NORMAL;
        tm.tmPitchAndFamily = static_cast<BYTE>((rf->fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                                TMPF_TRUETYPE | (rf->mincho ? FF_ROMAN : FF_MODERN));
        tm.tmCharSet = charset;
        ntm.ntmSizeEM = static_cast<UINT>(rf->ppem);
        ntm.ntmCellHeight = static_cast<UINT>(rf->height);
        ntm.ntmAvgWidth = static_cast<UINT>(rf->aveCharWidth);
        result = lpEnumFontFamProc(&elf.elfLogFont, &ntm.ntmTm, TRUETYPE_FONTTYPE, lParam);
        if (result == 0)
            break;
    }
    return result;
}

// ---------------------------------------------------------------------------------------
// Clipping.
// ---------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const
{
    const CDCImpl& d = *m_pImpl;
    if (!lpRect)
        return ERROR;
    if (!m_hDC) {
        *lpRect = RECT{0, 0, 0, 0};
        return ERROR;
    }
    const QRegion visible = d.VisibleRegion();
    if (visible.isEmpty()) {
        *lpRect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const QRect b = visible.boundingRect();
    RECT r = ToRECT(b);
    DPtoLP(&r);
    // Reported in ascending order on both axes, whatever way the axes point.
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    *lpRect = r;
    return RegionKind(visible);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
    d.st.clip = current & d.DevRect(x1, y1, x2, y2);
    d.st.hasClip = true;
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
    d.st.clip = current - QRegion(d.DevRect(x1, y1, x2, y2));
    d.st.hasClip = true;
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return SelectClipRgn(pRgn, RGN_COPY);
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion* r = RegionOf(pRgn);
    if (!r) {
        if (nMode != RGN_COPY)
            return ERROR;
        d.st.hasClip = false;
        d.st.clip = QRegion();
    } else {
        const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
        switch (nMode) {
        case RGN_AND:
            d.st.clip = current & *r;
            break;
        case RGN_OR:
            d.st.clip = current | *r;
            break;
        case RGN_XOR:
            d.st.clip = current ^ *r;
            break;
        case RGN_DIFF:
            d.st.clip = current - *r;
            break;
        case RGN_COPY:
            d.st.clip = *r;
            break;
        default:
            return ERROR;
        }
        d.st.hasClip = true;
    }
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::OffsetClipRgn(int x, int y)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    if (d.st.hasClip) {
        d.st.clip.translate(d.LenX(x) * (x * d.ScaleX() < 0 ? -1 : 1),
                            d.LenY(y) * (y * d.ScaleY() < 0 ? -1 : 1));
        d.ClipChanged();
    }
    return RegionKind(d.VisibleRegion());
}

BOOL CDC::PtVisible(int x, int y) const
{
    const CDCImpl& d = *m_pImpl;
    return m_hDC && d.VisibleRegion().contains(d.L2D(x, y));
}

BOOL CDC::RectVisible(LPCRECT lpRect) const
{
    const CDCImpl& d = *m_pImpl;
    return m_hDC && lpRect &&
           d.VisibleRegion().intersects(d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom));
}

// ---------------------------------------------------------------------------------------
// Handle-level functions.
// ---------------------------------------------------------------------------------------

int GetDeviceCaps(HDC hDC, int nIndex)
{
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->GetDeviceCaps(nIndex) : 0;
}

BOOL GetTextExtentPoint32(HDC hDC, LPCTSTR lpString, int nCount, LPSIZE lpSize)
{
    CDC* dc = CDC::FromHandle(hDC);
    if (!dc || !lpSize)
        return FALSE;
    *lpSize = dc->GetTextExtent(lpString, nCount);
    return TRUE;
}

BOOL GetTextMetrics(HDC hDC, LPTEXTMETRIC lpMetrics)
{
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->GetTextMetrics(lpMetrics) : FALSE;
}

HGDIOBJ SelectObject(HDC hDC, HGDIOBJ hObject)
{
    CDC* dc = CDC::FromHandle(hDC);
    CGdiObject* obj = CGdiObject::FromHandle(hObject);
    if (!dc || !obj)
        return nullptr;
    CGdiObject* old = dc->SelectObject(obj);
    return old ? old->m_hObject : nullptr;
}

int EnumFontFamiliesEx(HDC hDC, LPLOGFONT lpLogFont, FONTENUMPROC lpProc, LPARAM lParam, DWORD dwFlags)
{
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->EnumFontFamiliesEx(lpLogFont, lpProc, lParam, dwFlags) : 0;
}

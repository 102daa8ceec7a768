// The descriptions behind GDI handles (platform/ui internal; also for the window layer,
// which needs a region's QRegion, a font's QFont or a bitmap's QImage).
#pragma once

#include "platform/ui/gdi/FontMapper_p.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QImage>
#include <QRegion>

#include <functional>
#include <memory>

enum class CGdiKind : UINT {
    Pen = OBJ_PEN,
    Brush = OBJ_BRUSH,
    Font = OBJ_FONT,
    Bitmap = OBJ_BITMAP,
    Region = OBJ_REGION,
};

// One shared description. References are held by the wrapper object that owns the handle,
// by every context that has it selected (also in saved states), and by handles given out
// without a wrapper (Detach, the handle-level Create functions). Stock descriptions are
// never freed.
struct CGdiData {
    explicit CGdiData(CGdiKind k) : kind(k), serial(NextSerial()) {}
    ~CGdiData();
    CGdiData(const CGdiData&) = delete;
    CGdiData& operator=(const CGdiData&) = delete;

    CGdiKind kind;
    // Unique for the life of the process (addresses are reused, serials are not).
    unsigned long long serial;
    int refs = 1;
    int handleRefs = 0; // references owned by bare handles
    bool stock = false;
    CGdiObject* owner = nullptr;           // the live wrapper that created or attached it
    std::unique_ptr<CGdiObject> temporary; // wrapper handed out once the owner is gone

    // Pen.
    LOGPEN pen{};
    // Brush. A hatch or pattern brush keeps its pattern as an image: a monochrome pattern
    // holds white for 1 bits and black for 0 bits.
    LOGBRUSH brush{};
    QImage pattern;
    bool patternMono = false;
    // Font.
    LOGFONT font{};
    struct CFontCacheEntry {
        int devHeight = 0;
        int devWidth = 0;
        int logPixelsY = 0;
        bool paper = false;
        std::shared_ptr<const CRealizedFont> realized;
    };
    mutable CFontCacheEntry fontCache[2];
    // Bitmap: RGB32 pixels; a monochrome bitmap holds only black (0) and white (1).
    QImage image;
    bool mono = false;
    CSize dimension;
    // Region, in device coordinates.
    QRegion region;

    static unsigned long long NextSerial()
    {
        static unsigned long long next = 0;
        return ++next;
    }
    static CGdiData* From(HGDIOBJ h) { return static_cast<CGdiData*>(h); }
    HGDIOBJ Handle() { return static_cast<HGDIOBJ>(this); }
    void AddRef()
    {
        if (!stock)
            ++refs;
    }
    void Release()
    {
        if (!stock && --refs == 0)
            delete this;
    }
    // Makes pObject own pData (one reference), releasing what it had.
    static void Adopt(CGdiObject* pObject, CGdiData* pData) { pObject->Adopt(pData); }
    // The wrapper for FromHandle: the owner, or a temporary one kept here.
    CGdiObject* Wrapper();
    // The font realised for a device, a printer with bPaper (cached per object for the last
    // two sizes).
    std::shared_ptr<const CRealizedFont> Realize(int devHeight, int devWidth, int logPixelsY,
                                                 bool bPaper) const;
};

// A counted reference to a description.
class CGdiRef {
public:
    CGdiRef() = default;
    explicit CGdiRef(CGdiData* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CGdiRef(const CGdiRef& o) : CGdiRef(o.m_p) {}
    CGdiRef(CGdiRef&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    CGdiRef& operator=(const CGdiRef& o)
    {
        CGdiRef copy(o);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    CGdiRef& operator=(CGdiRef&& o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~CGdiRef()
    {
        if (m_p)
            m_p->Release();
    }
    CGdiData* get() const { return m_p; }
    CGdiData* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    CGdiData* m_p = nullptr;
};

// The description of a wrapper (null when it has no handle).
inline CGdiData* GdiData(const CGdiObject* pObject)
{
    return pObject ? CGdiData::From(pObject->m_hObject) : nullptr;
}

// Stock descriptions (never freed).
CGdiData* StockGdiData(int nIndex);
// The 1 x 1 monochrome bitmap every memory context starts with (never freed).
CGdiData* DefaultBitmapData();
// Keeps a description that a context let go of alive for a while, so that the wrapper
// SelectObject handed back for it stays usable until the caller selects it again (its
// owner may have been deleted while it was selected). The oldest of these go first.
void DeferRelease(CGdiRef ref);
// Lets go of everything the drawing objects keep between uses (when the application
// object goes, before Qt's font machinery does).
void ReleaseGdiCaches();

// Accessors for the window layer.
QRegion* RegionOf(CRgn* pRgn);
const QRegion* RegionOf(const CRgn* pRgn);
QImage* ImageOf(CBitmap* pBitmap);
BOOL IsMonochrome(const CBitmap* pBitmap);
// The font of a CFont for widgets on the 96 dpi screen (the default GUI font for null).
QFont WidgetFontOf(const CFont* pFont);
// Makes a bitmap hold a copy of image (colour).
BOOL SetBitmapImage(CBitmap* pBitmap, const QImage& image);

// Where LoadBitmap finds bitmaps by resource id or name: the resources register a loader
// that returns a null image for unknown names.
using CBitmapResourceLoader = std::function<QImage(UINT nID, const char* lpszName)>;
void SetBitmapResourceLoader(CBitmapResourceLoader loader);

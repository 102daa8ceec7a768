#include "platform/ui/gdi/CDC_p.h"
#include "platform/ui/gdi/PrintJobWatch_p.h"

#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QScreen>

#include <algorithm>

IMPLEMENT_DYNAMIC(CDC, CObject)

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
    d.touched = QRect();
    d.touchedAll = false;
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
    d.outHairline = 1;
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

void CDC::SetOutputTransform(double scale, int dx, int dy, int nHairline)
{
    CDCImpl& d = *m_pImpl;
    d.transformed = !(scale == 1.0 && dx == 0 && dy == 0) && scale > 0;
    d.outScale = scale > 0 ? scale : 1.0;
    d.outDx = dx;
    d.outDy = dy;
    d.outHairline = std::max(1, nHairline);
    d.ClipChanged();
}

void CDC::GetShownPixelGrid(BOOL bDown, double& origin, double& size) const
{
    const CDCImpl& d = *m_pImpl;
    origin = 0.0;
    size = 1.0;
    if (!d.transformed)
        return;
    // A painter pixel is at device * scale + offset; a pixel as shown is outHairline of them.
    origin = -(bDown ? d.outDy : d.outDx) / d.outScale;
    size = d.outHairline / d.outScale;
}

// ---------------------------------------------------------------------------------------
// Printing jobs.
// ---------------------------------------------------------------------------------------

int CDC::StartDoc(LPCTSTR)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return -1;
    d.jobWatch.reset();
    // A system printer's queue is asked before anything is drawn: one that refuses jobs
    // would drop this one unseen.
    if (d.device && d.device->devType() == QInternal::Printer) {
        const auto* printer = static_cast<const QPrinter*>(d.device);
        if (printer->outputFormat() == QPrinter::NativeFormat && !printer->printerName().isEmpty()) {
            d.jobWatch = std::make_shared<CPrintJobWatch>(printer->printerName().toStdString());
            if (!d.jobWatch->QueueAccepts())
                return -1;
        }
    }
    return 1;
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
    // Detaching ends the painter, which hands the job to the queue (when it has pages).
    const bool bPages = m_pImpl->pagesStarted > 0;
    m_pImpl->pagesStarted = 0;
    const std::shared_ptr<CPrintJobWatch> watch = std::move(m_pImpl->jobWatch);
    DetachDevice();
    return bPages && watch && !watch->JobReached() ? -1 : 1;
}

int CDC::AbortDoc()
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return -1;
    if (d.device && d.device->devType() == QInternal::Printer)
        static_cast<QPrinter*>(d.device)->abort();
    d.pagesStarted = 0;
    d.jobWatch.reset();
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

BOOL GetTextExtentExPoint(HDC hDC, LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                          LPSIZE lpSize)
{
    CDC* dc = CDC::FromHandle(hDC);
    return dc ? dc->GetTextExtentExPoint(lpszString, nCount, nMaxExtent, lpnFit, alpDx, lpSize) : FALSE;
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

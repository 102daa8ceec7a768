// CDC: a device context over a Qt paint device (a window's back buffer, a memory bitmap,
// a printer, a preview page).
//
// The context maps logical coordinates to device coordinates itself, as the mapping modes
// define, and draws in device space: font heights and pen widths are scaled by the mapping
// instead of drawing through a transform, so text stays upright when the y axis points up.
// Pixel rules follow the ones the drawing code was written for: a line excludes its end
// point, a rectangle excludes its right and bottom edges, XOR drawing twice restores the
// pixels, and text metrics do not depend on the display (the screen is 96 dpi).
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <memory>

class QPaintDevice;
class QPainter;
struct CDCImpl;

// ---------------------------------------------------------------------------------------
// Constants.
// ---------------------------------------------------------------------------------------

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Mix modes of pens and brushes (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Raster operations of the block transfers.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stretching modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT TA_MASK = TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// GetDeviceCaps indexes.
constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;
constexpr int NUMPENS = 18;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int ASPECTX = 40;
constexpr int ASPECTY = 42;
constexpr int ASPECTXY = 44;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
constexpr int RASTERCAPS = 38;
constexpr int DT_PLOTTER = 0;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_STRETCHBLT = 0x0800;

// What GetDeviceCaps reports. Screens and memory contexts describe a 96 dpi display;
// printers describe their page (filled from the printer when one is attached, or set by
// the printing code).
struct CDeviceCaps {
    int technology = DT_RASDISPLAY;
    int logPixelsX = 96;
    int logPixelsY = 96;
    int horzRes = 1920;      // printable width in device pixels
    int vertRes = 1080;      // printable height in device pixels
    int horzSize = 508;      // printable width in millimetres
    int vertSize = 286;      // printable height in millimetres
    int physicalWidth = 0;   // paper width in device pixels (printers)
    int physicalHeight = 0;  // paper height in device pixels (printers)
    int physicalOffsetX = 0; // left edge of the printable area on the paper (printers)
    int physicalOffsetY = 0; // top edge of the printable area on the paper (printers)
    int bitsPixel = 32;
};

// ---------------------------------------------------------------------------------------
// The device context.
// ---------------------------------------------------------------------------------------

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC();
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Non-null while the context is attached to a device (a valid context).
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    // The context that owns a handle.
    static CDC* FromHandle(HDC hDC);
    // Makes this object a second way to reach the context behind hDC (owner-drawn items
    // get a handle); the two share one state. Detach gives the handle back untouched.
    BOOL Attach(HDC hDC);
    HDC Detach();

    // --- Attaching ---------------------------------------------------------------------
    // Starts drawing on a device. Contexts attached to the same device at the same time
    // share one painter, each keeping its own state. The device must outlive the
    // attachment. For a printer the caps are read from it; otherwise they describe the
    // 96 dpi screen with the device's size.
    BOOL AttachDevice(QPaintDevice* device, BOOL isPrinting = FALSE);
    // Draws through a painter that someone else began and ends (a print job or preview).
    BOOL AttachPainter(QPainter* painter, BOOL isPrinting = FALSE);
    void DetachDevice();
    // A memory context: it draws on the bitmap selected into it (a 1 x 1 monochrome bitmap
    // until one is selected) and reports the caps of pDC (of the screen when pDC is null).
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_bPrinting; }
    BOOL IsMemoryDC() const;

    // The device the context draws on, or null (platform use).
    QPaintDevice* GetDevice() const;
    // The painter, clipped and transformed for this context: its coordinates are the
    // context's device coordinates (platform use; null when not attached).
    QPainter* GetPainter() const;

    void SetDeviceCaps(const CDeviceCaps& caps);
    const CDeviceCaps& GetDeviceCapsRecord() const;
    int GetDeviceCaps(int nIndex) const;

    // The area the system lets the context draw in, in device coordinates (a window's
    // invalid region for a paint context). Clip regions selected by the drawing code are
    // intersected with it. Null or no call: the whole device.
    void SetSystemClipRgn(const CRgn* pRgn);
    void SetSystemClipRect(LPCRECT lpRect);

    // For previews: device coordinates of this context are drawn on the painter scaled by
    // scale and moved by (dx, dy) painter pixels. Logical results (text extents, caps,
    // clip boxes) stay those of the described device. A painter drawing larger than its
    // picture is shown gives nHairline: so many painter pixels across make a pixel as shown.
    // Lines of one device pixel are drawn that wide (they stay visible when the picture is
    // brought down), and a made-up bold is set on the pixels as shown (as dark as on paper).
    void SetOutputTransform(double scale, int dx, int dy, int nHairline = 1);
    // Where the pixels as shown lie on the device, across (x) or down (y): the device
    // coordinate of a boundary between two of them and the device pixels from one boundary
    // to the next. A preview that shows the device's page smaller than the device draws it
    // has more than one device pixel a pixel; without one the device's own pixels (0, 1).
    // Drawing code that must keep strokes and the gaps between them apart on the screen
    // puts each on whole pixels as shown.
    void GetShownPixelGrid(BOOL bDown, double& origin, double& size) const;

    // --- Printing jobs (printer contexts) -------------------------------------------------
    // Keep the context attached for the whole job: the painter begins the job when it is
    // attached and ends it (writes the file) on EndDoc or DetachDevice. Every StartPage
    // after the first asks the printer for a new sheet. AbortDoc drops the job.
    virtual int StartDoc(LPCTSTR lpszDocName);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();

    // --- State -------------------------------------------------------------------------
    int SaveDC();
    // nSavedDC: a value SaveDC returned, or -1 for the most recent one.
    BOOL RestoreDC(int nSavedDC);

    // The device point where the top-left pixel of pattern and hatch brushes lies; the
    // pattern repeats from there in both directions.
    CPoint GetBrushOrg() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
    int GetROP2() const;
    int SetROP2(int nDrawMode);
    int GetBkMode() const;
    int SetBkMode(int nBkMode);
    COLORREF GetBkColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    UINT GetTextAlign() const;
    UINT SetTextAlign(UINT nFlags);
    int GetPolyFillMode() const;
    int SetPolyFillMode(int nPolyFillMode);
    int GetStretchBltMode() const;
    int SetStretchBltMode(int nStretchMode);
    int GetTextCharacterExtra() const;
    int SetTextCharacterExtra(int nCharExtra);

    // --- Mapping -----------------------------------------------------------------------
    int GetMapMode() const;
    int SetMapMode(int nMapMode);
    CPoint GetViewportOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int nWidth, int nHeight);
    CSize GetViewportExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    CPoint GetWindowOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint OffsetWindowOrg(int nWidth, int nHeight);
    CSize GetWindowExt() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);

    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void LPtoDP(LPSIZE lpSize) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;
    void DPtoLP(LPSIZE lpSize) const;
    // HIMETRIC (0.01 mm) sizes to and from device or logical units.
    void DPtoHIMETRIC(LPSIZE lpSize) const;
    void HIMETRICtoDP(LPSIZE lpSize) const;
    void LPtoHIMETRIC(LPSIZE lpSize) const;
    void HIMETRICtoLP(LPSIZE lpSize) const;

    // --- Objects -----------------------------------------------------------------------
    // Each returns the object that was selected before, for restoring (null on failure).
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    // Selects a copy of the region as the clip region; returns the region kind.
    int SelectObject(CRgn* pRgn);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // --- Lines and shapes --------------------------------------------------------------
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Polyline(const POINT* lpPoints, int nCount);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect)
    {
        return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL RoundRect(LPCRECT lpRect, POINT point)
    {
        return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect) { return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }

    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void InvertRect(LPCRECT lpRect);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    // A dotted frame drawn by inverting pixels: drawing it twice removes it.
    void DrawFocusRect(LPCRECT lpRect);
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
    BOOL InvertRgn(CRgn* pRgn);
    BOOL PaintRgn(CRgn* pRgn);

    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor) { return SetPixel(x, y, crColor) != CLR_INVALID; }
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }

    // --- Block transfers ---------------------------------------------------------------
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop);

    // --- Text --------------------------------------------------------------------------
    // Texts are code page 932 bytes; nCount is a byte count (-1: up to the first zero).
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                    LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
    {
        return ExtTextOut(x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
    }
    // Returns the height of the text in logical units (0 on failure).
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    // The widths of a text's heads in one measure, as the text is measured whole: alpDx (may
    // be null) gets nCount entries, the width up to the end of each byte (both bytes of a
    // double-byte character the width after it); lpnFit (may be null) how many bytes of whole
    // characters fit in nMaxExtent; lpSize (may be null) the whole text's extent.
    BOOL GetTextExtentExPoint(LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                              LPSIZE lpSize) const;
    CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const
    {
        return GetTextExtent(lpszString, nCount);
    }
    CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
    BOOL GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return GetTextMetrics(lpMetrics); }
    // Widths of single-byte characters nFirstChar..nLastChar in logical units.
    BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const;
    // The face name of the selected font as the font was created (code page 932).
    int GetTextFace(int nCount, LPTSTR lpszFacename) const;
    int GetTextFace(CString& rString) const;
    // Calls lpEnumFontFamProc once per installed family that covers Japanese text (or
    // every family when lpLogFont->lfCharSet is DEFAULT_CHARSET and lfFaceName is empty —
    // the same set here), with the family's face name in code page 932. Stops when the
    // callback returns 0; returns the callback's last result.
    int EnumFontFamiliesEx(LPLOGFONT lpLogFont, FONTENUMPROC lpEnumFontFamProc, LPARAM lParam,
                           DWORD dwFlags = 0);

    // --- Clipping ----------------------------------------------------------------------
    // The smallest rectangle around the area that can be drawn, in logical units.
    int GetClipBox(LPRECT lpRect) const;
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect)
    {
        return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT lpRect)
    {
        return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    // pRgn in device coordinates; null removes the clip region.
    int SelectClipRgn(CRgn* pRgn);
    int SelectClipRgn(CRgn* pRgn, int nMode);
    int OffsetClipRgn(int x, int y);
    BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
    BOOL RectVisible(LPCRECT lpRect) const;
    // The area drawing reaches (while painting, the part of the window that needs it, cut
    // by any clip region selected), in device coordinates, into pRgn (made when it is not
    // yet): what GetClipBox gives the rectangle around. NULLREGION, SIMPLEREGION,
    // COMPLEXREGION or ERROR.
    int GetVisibleRgn(CRgn* pRgn) const;

private:
    friend struct CDCImpl;
    std::unique_ptr<CDCImpl> m_pOwnImpl;
    CDCImpl* m_pImpl; // the state in use: our own, or that of the context attached by handle
};

// Handle-level functions for code written against handles.
int GetDeviceCaps(HDC hDC, int nIndex);
BOOL GetTextExtentPoint32(HDC hDC, LPCTSTR lpString, int nCount, LPSIZE lpSize);
BOOL GetTextExtentExPoint(HDC hDC, LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                          LPSIZE lpSize);
BOOL GetTextMetrics(HDC hDC, LPTEXTMETRIC lpMetrics);
HGDIOBJ SelectObject(HDC hDC, HGDIOBJ hObject);
int EnumFontFamiliesEx(HDC hDC, LPLOGFONT lpLogFont, FONTENUMPROC lpProc, LPARAM lParam, DWORD dwFlags);

// CImageList: a row of equally sized small pictures (tree and list icons), each with its
// transparent parts, drawn by index into a device context.
//
// Pictures come from bitmaps (split into tiles of the list's width; a mask colour or a
// mask bitmap marks what is transparent) or from icons. A list drawn with ILD_BLEND50
// (ILD_SELECTED) is mixed half and half with the highlight colour, as selected icons are
// shown. The overlay bits of the style (INDEXTOOVERLAYMASK) draw a second picture on top.
//
// The handle is shared: a control that shows the list keeps it alive, so deleting the
// CImageList while a control still shows it never leaves the control with a dangling list.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

class CBitmap;
class CDC;
class CWnd;

MORVEL_DECLARE_HANDLE(HIMAGELIST);

// Creation flags.
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

// Drawing styles.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_OVERLAYMASK = 0x0F00;
constexpr UINT INDEXTOOVERLAYMASK(UINT i)
{
    return i << 8;
}

// Colours with a special meaning for the image lists.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

struct IMAGEINFO {
    HBITMAP hbmImage;
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage;
};

struct CImageListData; // the shared list behind a handle (platform/ui internal)

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    // The object standing for a handle: its owner while it lives, otherwise a wrapper kept
    // with the list.
    static CImageList* FromHandle(HIMAGELIST hImageList);

    // An empty list of cx by cy pictures. nInitial and nGrow only size the storage.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // A masked list filled from a bitmap resource cut into tiles cx wide.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL SetImageCount(UINT uNewCount);
    // Adds the bitmap's tiles (cx wide, left to right); returns the index of the first,
    // or -1. With a mask bitmap its white pixels are transparent; with a mask colour the
    // pixels of that colour are.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon);
    // -1 removes every picture.
    BOOL Remove(int nImage);
    // Overlay n (1 to 15) draws picture nImage on top when a style carries
    // INDEXTOOVERLAYMASK(n).
    BOOL SetOverlayImage(int nImage, int nOverlay);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    BOOL GetIconSize(int* cx, int* cy) const;

    // Draws picture nImage with its top-left corner at pt (logical units of pDC).
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // As Draw; clrBk replaces the transparent parts unless CLR_NONE, clrFg is the blend
    // colour (CLR_DEFAULT: the highlight colour).
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);

    // ---- drag image ---------------------------------------------------------------------
    // A semi-transparent copy of a picture follows the mouse while something is dragged.
    // Points are client coordinates of the window given to DragEnter.
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    static void EndDrag();
    static BOOL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL DragMove(CPoint pt);
    static BOOL DragLeave(CWnd* pWndLock);
    static BOOL DragShowNolock(BOOL bShow);

private:
    friend struct CImageListData;
    bool m_bTemporary = false;
};

// Handle-level functions for code written against handles.
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle);
BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy, COLORREF rgbBk,
                      COLORREF rgbFg, UINT fStyle);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
int ImageList_GetImageCount(HIMAGELIST himl);

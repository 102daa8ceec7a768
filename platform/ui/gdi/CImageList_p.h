// The shared list behind an image list handle (platform/ui internal; the tree and list
// controls show its pictures through Qt).
#pragma once

#include "platform/ui/gdi/CImageList.h"

#include <QImage>
#include <QPixmap>

#include <array>
#include <memory>
#include <vector>

struct CImageListData {
    int cx = 16;
    int cy = 16;
    UINT flags = 0;
    int refs = 1;
    COLORREF bkColor = CLR_NONE;
    // Pictures with their transparency in the alpha channel (0 or 255).
    std::vector<QImage> images;
    std::array<int, 16> overlays{}; // overlay n -> picture index + 1 (0: none)
    CImageList* owner = nullptr;
    std::unique_ptr<CImageList> temporary; // the wrapper FromHandle hands out once the owner is gone
    int generation = 0;                    // changes whenever a picture changes

    static CImageListData* From(HIMAGELIST h) { return reinterpret_cast<CImageListData*>(h); }
    HIMAGELIST Handle() { return reinterpret_cast<HIMAGELIST>(this); }
    void AddRef() { ++refs; }
    void Release();
    bool Masked() const { return (flags & ILC_MASK) != 0; }
    bool Valid(int nImage) const { return nImage >= 0 && nImage < static_cast<int>(images.size()); }

    // The picture as it is shown: blended with blendColour for ILD_BLEND50/25 (CLR_NONE: not
    // blended), transparent parts kept or filled with the list's background colour, and
    // the overlay of the style drawn on top. A null image for a bad index.
    QImage Render(int nImage, UINT nStyle, COLORREF clrBk, COLORREF clrFg) const;
};

// A counted reference held by the controls that show a list.
class CImageListRef {
public:
    CImageListRef() = default;
    CImageListRef(const CImageListRef&) = delete;
    CImageListRef& operator=(const CImageListRef&) = delete;
    ~CImageListRef() { Reset(nullptr); }
    // Holds hImageList instead; returns the handle held before.
    HIMAGELIST Reset(HIMAGELIST hImageList);
    // The same for a control's set-image-list message: the previous list is returned only
    // while someone else still holds it (a list nobody keeps goes away here, and a handle
    // to it would name nothing).
    HIMAGELIST Exchange(HIMAGELIST hImageList);
    CImageListData* get() const { return m_p; }
    HIMAGELIST Handle() const { return m_p ? m_p->Handle() : nullptr; }

private:
    CImageListData* m_p = nullptr;
};

// A picture of a list as a pixmap for Qt's item views (null pixmap for none).
QPixmap AfxImageListPixmap(HIMAGELIST hImageList, int nImage, UINT nStyle = ILD_NORMAL);
// The picture of an icon handle (from LoadIcon); null when there is none.
QImage AfxImageFromIcon(HICON hIcon);

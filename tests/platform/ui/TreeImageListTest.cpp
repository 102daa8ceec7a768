// Image lists as the trees and lists draw them: pieces of a bitmap with a mask colour or a
// mask bitmap, transparent drawing into a device context, the half blend of selected
// pictures and overlays.
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kGreen = RGB(0, 160, 0);

// A memory context of w x h pixels filled with one colour.
struct Canvas {
    CDC dc;
    CBitmap bmp;
    CBitmap* pOld = nullptr;
    Canvas(int w, int h, COLORREF fill)
    {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateBitmap(w, h, 1, 32, nullptr);
        pOld = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~Canvas() { dc.SelectObject(pOld); }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }
};

// Two 4 x 4 pictures side by side: the first red with a white top row, the second blue
// with a white left column.
void MakeStrip(CBitmap& bmp)
{
    std::vector<DWORD> bits(8 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            DWORD c = x < 4 ? 0xFF0000 : 0x0000FF; // 0x00RRGGBB
            if ((x < 4 && y == 0) || (x == 4))
                c = 0xFFFFFF;
            bits[static_cast<size_t>(y * 8 + x)] = c;
        }
    bmp.CreateBitmap(8, 4, 1, 32, bits.data());
}

} // namespace

TEST(ImageListTest, MaskColourMakesPixelsTransparent)
{
    CBitmap strip;
    MakeStrip(strip);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    EXPECT_EQ(list.Add(&strip, RGB(255, 255, 255)), 0);
    EXPECT_EQ(list.GetImageCount(), 2);
    int cx = 0, cy = 0;
    EXPECT_TRUE(list.GetIconSize(&cx, &cy));
    EXPECT_EQ(cx, 4);
    EXPECT_EQ(cy, 4);

    Canvas c(20, 20, kGreen);
    ASSERT_TRUE(list.Draw(&c.dc, 0, CPoint(10, 10), ILD_TRANSPARENT));
    EXPECT_EQ(c.At(11, 10), kGreen) << "white top row is transparent";
    EXPECT_EQ(c.At(11, 11), RGB(255, 0, 0));
    EXPECT_EQ(c.At(13, 13), RGB(255, 0, 0));
    EXPECT_EQ(c.At(14, 13), kGreen) << "nothing right of the picture";
    ASSERT_TRUE(list.Draw(&c.dc, 1, CPoint(0, 0), ILD_NORMAL));
    EXPECT_EQ(c.At(0, 2), kGreen) << "ILD_NORMAL without a background colour is transparent too";
    EXPECT_EQ(c.At(1, 2), RGB(0, 0, 255));
    EXPECT_FALSE(list.Draw(&c.dc, 2, CPoint(0, 0), ILD_NORMAL)) << "no third picture";
}

TEST(ImageListTest, MaskBitmapAndBackgroundColour)
{
    CBitmap strip;
    MakeStrip(strip);
    // The mask: white (transparent) only at the bottom-right pixel of each picture.
    std::vector<DWORD> maskBits(8 * 4, 0x000000);
    maskBits[3 * 8 + 3] = 0xFFFFFF;
    maskBits[3 * 8 + 7] = 0xFFFFFF;
    CBitmap mask;
    mask.CreateBitmap(8, 4, 1, 32, maskBits.data());
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    EXPECT_EQ(list.Add(&strip, &mask), 0);

    Canvas c(8, 8, kGreen);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(c.At(3, 3), kGreen);
    EXPECT_EQ(c.At(1, 0), RGB(255, 255, 255)) << "white in the picture is not transparent here";

    // With a background colour, ILD_NORMAL fills the transparent part; ILD_TRANSPARENT does not.
    EXPECT_EQ(list.SetBkColor(RGB(0, 0, 0)), CLR_NONE);
    list.Draw(&c.dc, 0, CPoint(4, 4), ILD_NORMAL);
    EXPECT_EQ(c.At(7, 7), RGB(0, 0, 0));
    Canvas d(8, 8, kGreen);
    list.Draw(&d.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(d.At(3, 3), kGreen);
}

TEST(ImageListTest, SelectedPicturesBlendWithTheHighlight)
{
    CBitmap strip;
    MakeStrip(strip);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    list.Add(&strip, RGB(255, 255, 255));
    Canvas c(8, 8, kGreen);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_SELECTED);
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF px = c.At(2, 2);
    EXPECT_NEAR(GetRValue(px), (255 + GetRValue(hl)) / 2, 2);
    EXPECT_NEAR(GetGValue(px), GetGValue(hl) / 2, 2);
    EXPECT_NEAR(GetBValue(px), GetBValue(hl) / 2, 2);
    EXPECT_EQ(c.At(1, 0), kGreen) << "transparent parts stay transparent";

    // A blend colour of one's own.
    Canvas d(8, 8, kGreen);
    list.DrawEx(&d.dc, 0, CPoint(0, 0), CSize(0, 0), CLR_NONE, RGB(0, 0, 0), ILD_BLEND50);
    EXPECT_NEAR(GetRValue(d.At(2, 2)), 128, 2);
}

TEST(ImageListTest, OverlayDrawsOnTop)
{
    CBitmap strip;
    MakeStrip(strip);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    list.Add(&strip, RGB(255, 255, 255));
    ASSERT_TRUE(list.SetOverlayImage(1, 1));
    EXPECT_FALSE(list.SetOverlayImage(5, 1));
    Canvas c(8, 8, kGreen);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_TRANSPARENT | INDEXTOOVERLAYMASK(1));
    // The blue overlay covers the red picture except its own transparent left column,
    // where the red (or, in the top row, the background) shows.
    EXPECT_EQ(c.At(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(c.At(0, 2), RGB(255, 0, 0));
    EXPECT_EQ(c.At(0, 0), kGreen);
}

TEST(ImageListTest, ReplaceRemoveAndMapping)
{
    CBitmap strip;
    MakeStrip(strip);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    list.Add(&strip, RGB(255, 255, 255));
    ASSERT_TRUE(list.Remove(0));
    EXPECT_EQ(list.GetImageCount(), 1);
    Canvas c(8, 8, kGreen);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(c.At(1, 1), RGB(0, 0, 255)) << "the second picture moved up";
    ASSERT_TRUE(list.Remove(-1));
    EXPECT_EQ(list.GetImageCount(), 0);

    // Pictures are drawn in device pixels whatever the mapping: the top-left corner is
    // mapped, the size is not stretched.
    list.Add(&strip, RGB(255, 255, 255));
    Canvas d(100, 100, kGreen);
    d.dc.SetMapMode(MM_LOENGLISH);
    list.Draw(&d.dc, 0, CPoint(10, -10), ILD_TRANSPARENT); // 0.1 inch = 9.6 pixels
    d.dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(d.At(11, 11), RGB(255, 0, 0));
    EXPECT_EQ(d.At(14, 14), kGreen);
}

TEST(ImageListTest, HandlesOutliveTheirObjectWhileShared)
{
    CBitmap strip;
    MakeStrip(strip);
    auto* pList = new CImageList;
    ASSERT_TRUE(pList->Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 2));
    pList->Add(&strip, RGB(255, 255, 255));
    CImageList other;
    ASSERT_TRUE(other.Attach(pList->GetSafeHandle()));
    EXPECT_EQ(CImageList::FromHandle(pList->GetSafeHandle()), pList);
    delete pList;
    // The second owner still has the pictures.
    EXPECT_EQ(other.GetImageCount(), 2);
    EXPECT_EQ(CImageList::FromHandle(other.GetSafeHandle())->GetSafeHandle(), other.GetSafeHandle());
    Canvas c(4, 4, kGreen);
    EXPECT_TRUE(other.Draw(&c.dc, 1, CPoint(0, 0), ILD_TRANSPARENT));
}

TEST(ImageListTest, IconsOfTheResourcesAreAdded)
{
    // A 2 x 2 icon: red, and a transparent corner.
    static const char* const xpm[] = {"2 2 2 1", "r c #FF0000", ". c None", "rr", "r."};
    ASSERT_TRUE(RegisterIconResource(9261, ImageFromXpm(xpm)));
    HICON hIcon = LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(9261));
    ASSERT_NE(hIcon, nullptr);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 1));
    EXPECT_EQ(list.Add(hIcon), 0);
    EXPECT_EQ(list.Add(static_cast<HICON>(nullptr)), -1);
    Canvas c(4, 4, kGreen);
    list.Draw(&c.dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0)) << "the icon fills the list's size";
    EXPECT_EQ(c.At(3, 3), kGreen) << "its transparent corner stays transparent";
}

// Drawing objects: selection and restoring, lifetimes of selected objects, handles,
// stored descriptions, bitmaps and regions.
#include "tests/platform/ui/GdiTestCanvas.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <gtest/gtest.h>

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectForRestoring)
{
    CGdiCanvas c(10, 10);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* pStock = c.dc.SelectObject(&red);
    ASSERT_NE(pStock, nullptr);
    EXPECT_EQ(pStock->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(c.dc.SelectObject(&blue), &red);
    EXPECT_EQ(c.dc.SelectObject(pStock), &blue);
    EXPECT_EQ(c.dc.GetCurrentPen(), pStock);
    CGdiObject* pOldBrush = c.dc.SelectStockObject(GRAY_BRUSH);
    EXPECT_EQ(pOldBrush->m_hObject, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(c.dc.GetCurrentBrush()->m_hObject, GetStockObject(GRAY_BRUSH));
}

TEST(GdiObjects, DeletingASelectedObjectLeavesTheContextDrawing)
{
    CGdiCanvas c(20, 20);
    CPen* pOld = nullptr;
    {
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        pOld = c.dc.SelectObject(&red);
    } // destroyed while selected
    c.dc.MoveTo(0, 5);
    c.dc.LineTo(10, 5);
    EXPECT_EQ(c.At(3, 5), RGB(255, 0, 0));
    // Selecting something else hands back a usable stand-in for the destroyed pen.
    CPen* pGone = c.dc.SelectObject(pOld);
    ASSERT_NE(pGone, nullptr);
    LOGPEN lp{};
    EXPECT_EQ(pGone->GetLogPen(&lp), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
    c.dc.SelectObject(pGone);
    c.dc.MoveTo(0, 8);
    c.dc.LineTo(10, 8);
    EXPECT_EQ(c.At(3, 8), RGB(255, 0, 0));
    c.dc.SelectObject(pOld);
}

TEST(GdiObjects, HandlesDetachAttachAndDelete)
{
    CBrush brush(RGB(1, 2, 3));
    HBRUSH h = brush;
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CBrush::FromHandle(h), &brush);
    EXPECT_EQ(GetObjectType(h), OBJ_BRUSH);
    EXPECT_EQ(brush.Detach(), h);
    EXPECT_EQ(brush.m_hObject, nullptr);
    CBrush other;
    EXPECT_TRUE(other.Attach(h));
    EXPECT_EQ(CBrush::FromHandle(h), &other);
    HGDIOBJ raw = other.Detach();
    EXPECT_TRUE(DeleteObject(raw));
    EXPECT_FALSE(other.DeleteObject()); // nothing left to delete

    HPEN hp = CreatePen(PS_DASH, 1, RGB(4, 5, 6));
    LOGPEN lp{};
    EXPECT_EQ(GetObject(hp, sizeof(lp), &lp), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_TRUE(DeleteObject(hp));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))); // stock objects stay
    EXPECT_NE(GetStockObject(BLACK_PEN), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);
}

TEST(GdiObjects, DescriptionsComeBackAsStored)
{
    LOGFONT lf = MakeLogFont(-21, "ＭＳ Ｐ明朝"_sj, FW_BOLD);
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfEscapement = 450;
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONT back{};
    EXPECT_EQ(font.GetLogFont(&back), static_cast<int>(sizeof(LOGFONT)));
    EXPECT_EQ(std::memcmp(&lf, &back, sizeof(LOGFONT)), 0);

    // A face name without its terminator is cut to 31 bytes.
    std::memset(lf.lfFaceName, 'X', LF_FACESIZE);
    CFont longName;
    longName.CreateFontIndirect(&lf);
    longName.GetLogFont(&back);
    EXPECT_EQ(std::strlen(back.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));

    CBrush hatch;
    EXPECT_FALSE(hatch.CreateHatchBrush(6, 0));
    EXPECT_TRUE(hatch.CreateHatchBrush(HS_DIAGCROSS, RGB(7, 8, 9)));
    LOGBRUSH lb{};
    hatch.GetLogBrush(&lb);
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<UINT_PTR>(HS_DIAGCROSS));
}

TEST(GdiObjects, MonochromeBitmapBitsRoundTrip)
{
    // 10 x 3 pixels: each row one word, the six bits past the width are padding.
    const BYTE bits[6] = {0xA5, 0xFF, 0xFF, 0xC0, 0x00, 0x40};
    CBitmap bm;
    ASSERT_TRUE(bm.CreateBitmap(10, 3, 1, 1, bits));
    BITMAP info{};
    bm.GetBitmap(&info);
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmWidthBytes, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    BYTE back[12] = {};
    EXPECT_EQ(bm.GetBitmapBits(sizeof(back), back), 6u);
    const BYTE expected[6] = {0xA5, 0xC0, 0xFF, 0xC0, 0x00, 0x40}; // padding comes back clear
    EXPECT_EQ(std::memcmp(back, expected, 6), 0);
    EXPECT_EQ(ImageOf(&bm)->pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(ImageOf(&bm)->pixel(1, 0), 0xFF000000u);
}

TEST(GdiObjects, BitmapsRefuseImpossibleSizes)
{
    CBitmap bm;
    EXPECT_FALSE(bm.CreateBitmap(0, 10, 1, 1, nullptr));
    EXPECT_FALSE(bm.CreateBitmap(10, -1, 1, 32, nullptr));
    EXPECT_FALSE(bm.CreateBitmap(100000, 100000, 1, 32, nullptr));
    EXPECT_FALSE(bm.CreateBitmap(4, 4, 1, 7, nullptr));
    EXPECT_EQ(bm.m_hObject, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    EXPECT_FALSE(bm.CreateCompatibleBitmap(&dc, -5, 5));
    EXPECT_TRUE(bm.CreateCompatibleBitmap(&dc, 5, 5));
    EXPECT_FALSE(IsMonochrome(&bm)); // compatible bitmaps are colour
}

TEST(GdiObjects, BitmapSelectsOnlyIntoMemoryContexts)
{
    QImage window(10, 10, QImage::Format_RGB32);
    CDC screen;
    screen.AttachDevice(&window);
    CBitmap bm;
    bm.CreateBitmap(4, 4, 1, 32, nullptr);
    EXPECT_EQ(screen.SelectObject(&bm), nullptr);
    screen.DetachDevice();
}

TEST(GdiObjects, RegionsCombineAndReportTheirKind)
{
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    c.CreateRectRgn(0, 0, 1, 1);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    CRect box;
    EXPECT_EQ(c.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(5, 5, 10, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(c.PtInRegion(12, 12));
    EXPECT_FALSE(c.PtInRegion(12, 2));
    EXPECT_EQ(c.CombineRgn(&a, &a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(c.CombineRgn(&a, &b, 99), ERROR);
    CRgn ellipse;
    ellipse.CreateEllipticRgn(0, 0, 20, 10);
    EXPECT_TRUE(ellipse.PtInRegion(10, 5));
    EXPECT_FALSE(ellipse.PtInRegion(0, 0));
    ellipse.OffsetRgn(100, 0);
    EXPECT_TRUE(ellipse.PtInRegion(110, 5));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    copy.CopyRgn(&ellipse);
    EXPECT_TRUE(copy.EqualRgn(&ellipse));
    const RECT probe{105, 4, 106, 5};
    EXPECT_TRUE(ellipse.RectInRegion(&probe));
}

TEST(GdiObjects, AContextReachedByHandleSharesItsState)
{
    // Owner-drawn items receive a handle and wrap it in a context object of their own.
    CGdiCanvas c(20, 20);
    CDC item;
    ASSERT_TRUE(item.Attach(c.dc.GetSafeHdc()));
    item.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetTextColor(), RGB(1, 2, 3));
    item.FillSolidRect(0, 0, 5, 5, RGB(255, 0, 0));
    EXPECT_EQ(c.At(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(CDC::FromHandle(item.GetSafeHdc()), &c.dc);
    EXPECT_EQ(item.Detach(), c.dc.GetSafeHdc());
    EXPECT_EQ(item.GetSafeHdc(), nullptr);
    // The owner still draws after the wrapper let go.
    c.dc.FillSolidRect(10, 10, 5, 5, RGB(0, 255, 0));
    EXPECT_EQ(c.At(12, 12), RGB(0, 255, 0));
    {
        CDC scoped;
        scoped.Attach(c.dc.GetSafeHdc());
    } // destroying the wrapper leaves the context alone
    c.dc.SetPixel(18, 18, RGB(0, 0, 255));
    EXPECT_EQ(c.At(18, 18), RGB(0, 0, 255));
}

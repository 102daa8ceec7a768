// Clipping: clip boxes in logical units, clip rectangles and regions, the area the system
// allows, and contexts sharing one device.
#include "tests/platform/ui/GdiTestCanvas.h"

#include "platform/ui/gdi/CDC.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
} // namespace

TEST(GdiClip, ClipBoxOfAMemoryContextIsItsBitmap)
{
    CGdiCanvas c(120, 80);
    CRect box;
    EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, 0, 120, 80));
    // In logical units, ascending on both axes even with y pointing up.
    c.dc.SetMapMode(MM_LOENGLISH);
    EXPECT_EQ(c.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(0, -83, 125, 0));
}

TEST(GdiClip, IntersectAndExcludeLimitDrawing)
{
    CGdiCanvas c(50, 50);
    EXPECT_EQ(c.dc.IntersectClipRect(10, 10, 40, 40), SIMPLEREGION);
    EXPECT_EQ(c.dc.ExcludeClipRect(20, 20, 30, 30), COMPLEXREGION);
    CRect box;
    EXPECT_EQ(c.dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(10, 10, 40, 40));
    c.dc.FillSolidRect(0, 0, 50, 50, kRed);
    EXPECT_EQ(c.At(9, 9), kWhite);
    EXPECT_EQ(c.At(10, 10), kRed);
    EXPECT_EQ(c.At(25, 25), kWhite);
    EXPECT_EQ(c.At(39, 39), kRed);
    EXPECT_EQ(c.At(40, 40), kWhite);
    EXPECT_FALSE(c.dc.PtVisible(25, 25));
    EXPECT_TRUE(c.dc.PtVisible(15, 15));
    // Removing the clip region gives the whole bitmap back.
    EXPECT_EQ(c.dc.SelectClipRgn(nullptr), SIMPLEREGION);
    c.dc.FillSolidRect(0, 0, 50, 50, kRed);
    EXPECT_EQ(c.CountColor(kRed), 2500);
}

TEST(GdiClip, DisjointClipIsNullRegionAndDrawsNothing)
{
    CGdiCanvas c(20, 20);
    c.dc.IntersectClipRect(0, 0, 5, 5);
    EXPECT_EQ(c.dc.IntersectClipRect(10, 10, 15, 15), NULLREGION);
    CRect box(1, 2, 3, 4);
    EXPECT_EQ(c.dc.GetClipBox(&box), NULLREGION);
    EXPECT_TRUE(box.IsRectNull());
    c.dc.FillSolidRect(0, 0, 20, 20, kRed);
    c.dc.TextOut(0, 0, "ABC"_sj);
    EXPECT_EQ(c.CountColor(kWhite), 400);
}

TEST(GdiClip, ClipRegionsAreInDeviceUnits)
{
    CGdiCanvas c(40, 40);
    c.dc.SetViewportOrg(10, 10); // logical (0, 0) is device (10, 10)
    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(c.dc.SelectClipRgn(&rgn), SIMPLEREGION);
    rgn.DeleteObject(); // the context keeps its own copy
    c.dc.FillSolidRect(-10, -10, 40, 40, kRed);
    EXPECT_EQ(c.Ink(), CRect(0, 0, 10, 10));
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(-10, -10, 0, 0));
}

TEST(GdiClip, SystemClipLimitsEveryClipRegion)
{
    CGdiCanvas c(40, 40);
    RECT paint{5, 5, 25, 25};
    c.dc.SetSystemClipRect(&paint);
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 5, 25, 25));
    c.dc.IntersectClipRect(20, 0, 40, 40);
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(20, 5, 25, 25));
    c.dc.SelectClipRgn(nullptr);
    c.dc.FillSolidRect(0, 0, 40, 40, kRed);
    EXPECT_EQ(c.Ink(), CRect(5, 5, 25, 25));
}

TEST(GdiClip, SaveAndRestoreBringBackTheClip)
{
    CGdiCanvas c(30, 30);
    c.dc.SaveDC();
    c.dc.IntersectClipRect(0, 0, 5, 5);
    c.dc.RestoreDC(-1);
    c.dc.FillSolidRect(0, 0, 30, 30, kRed);
    EXPECT_EQ(c.CountColor(kRed), 900);
}

TEST(GdiClip, ContextsOnOneDeviceKeepTheirOwnClipAndMapping)
{
    // A paint context and a client context of one window draw into the same buffer at
    // the same time (a view converting coordinates while it paints).
    QImage buffer(40, 40, QImage::Format_RGB32);
    buffer.fill(Qt::white);
    CDC paint, client;
    ASSERT_TRUE(paint.AttachDevice(&buffer));
    ASSERT_TRUE(client.AttachDevice(&buffer));
    paint.IntersectClipRect(0, 0, 10, 10);
    client.SetViewportOrg(20, 20);
    paint.FillSolidRect(0, 0, 40, 40, kRed);
    client.FillSolidRect(0, 0, 5, 5, RGB(0, 0, 255));
    paint.FillSolidRect(0, 0, 40, 40, kRed);
    client.DetachDevice();
    paint.SetPixel(2, 2, RGB(0, 255, 0));
    paint.DetachDevice();
    EXPECT_EQ(buffer.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(buffer.pixel(2, 2), qRgb(0, 255, 0));
    EXPECT_EQ(buffer.pixel(15, 15), qRgb(255, 255, 255));
    EXPECT_EQ(buffer.pixel(22, 22), qRgb(0, 0, 255));
    EXPECT_EQ(buffer.pixel(25, 25), qRgb(255, 255, 255));
}

TEST(GdiClip, OffScreenPaintingAsTheViewsDoIt)
{
    // The estimate view's repaint: a memory context offset to the clip box, painted, then
    // copied to the same place on the window.
    QImage window(100, 60, QImage::Format_RGB32);
    window.fill(Qt::white);
    CDC screen;
    ASSERT_TRUE(screen.AttachDevice(&window));
    RECT invalid{30, 20, 70, 50};
    screen.SetSystemClipRect(&invalid);
    CRect clip;
    screen.GetClipBox(&clip);
    ASSERT_EQ(clip, CRect(30, 20, 70, 50));

    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, clip.Width(), clip.Height()));
    CBitmap* pOld = mem.SelectObject(&bitmap);
    mem.OffsetViewportOrg(-clip.left, -clip.top);
    mem.SetBrushOrg(clip.left % 8, clip.top % 8);
    mem.IntersectClipRect(clip);
    CRect memClip;
    mem.GetClipBox(&memClip);
    EXPECT_EQ(memClip, clip);
    mem.FillSolidRect(0, 0, 100, 60, RGB(0, 0, 255)); // window coordinates
    mem.SetPixel(31, 21, kRed);

    screen.SetViewportOrg(0, 0);
    mem.SetViewportOrg(0, 0);
    screen.BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOld);
    screen.DetachDevice();
    EXPECT_EQ(window.pixel(31, 21), qRgb(255, 0, 0));
    EXPECT_EQ(window.pixel(30, 20), qRgb(0, 0, 255));
    EXPECT_EQ(window.pixel(69, 49), qRgb(0, 0, 255));
    EXPECT_EQ(window.pixel(70, 50), qRgb(255, 255, 255));
    EXPECT_EQ(window.pixel(29, 20), qRgb(255, 255, 255));
}

TEST(GdiClip, ABorrowedPainterKeepsItsTranslationAndClip)
{
    // Owner-drawn items get a painter that is already moved to the item and clipped to it.
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(10, 10);
    painter.setClipRect(QRect(0, 0, 20, 20));
    {
        CDC dc;
        ASSERT_TRUE(dc.AttachPainter(&painter));
        CRect box;
        dc.GetClipBox(&box);
        EXPECT_EQ(box, CRect(0, 0, 20, 20));
        dc.FillSolidRect(-50, -50, 200, 200, kRed);
        dc.IntersectClipRect(0, 0, 5, 5);
        dc.FillSolidRect(0, 0, 100, 100, RGB(0, 0, 255));
        dc.DetachDevice();
    }
    EXPECT_TRUE(painter.isActive());
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(10, 10));
    painter.end();
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(12, 12), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(29, 29), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(30, 30), qRgb(255, 255, 255));
}

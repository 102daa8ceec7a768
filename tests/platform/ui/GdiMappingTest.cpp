// Mapping modes: logical units to device pixels and back, as the print layouts and the
// scroll views set them up.
#include "tests/platform/ui/GdiTestCanvas.h"

#include "platform/ui/gdi/CDC.h"

#include <gtest/gtest.h>

TEST(GdiMapping, MulDivRoundsHalvesAwayFromZeroAndRejectsZeroDivisor)
{
    EXPECT_EQ(MulDiv(100, 96, 72), 133);
    EXPECT_EQ(MulDiv(9, 96, 72), 12);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(7, 3, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2, 1), -1); // overflow
}

TEST(GdiMapping, LoEnglishPutsOneHundredUnitsOneInchRightAndDown)
{
    CGdiCanvas c(200, 200);
    c.dc.SetMapMode(MM_LOENGLISH);
    POINT pt{100, -100};
    c.dc.LPtoDP(&pt);
    EXPECT_EQ(pt.x, 96);
    EXPECT_EQ(pt.y, 96);
    c.dc.DPtoLP(&pt);
    EXPECT_EQ(pt.x, 100);
    EXPECT_EQ(pt.y, -100);

    // And the pixel really lands there.
    c.dc.SetPixel(100, -100, RGB(255, 0, 0));
    EXPECT_EQ(c.At(96, 96), RGB(255, 0, 0));
    EXPECT_EQ(c.CountColor(RGB(255, 0, 0)), 1);
}

TEST(GdiMapping, MetricAndEnglishModesHaveTheirUnitsPerInch)
{
    CGdiCanvas c(10, 10);
    const struct {
        int mode;
        int unitsPerInch;
    } cases[] = {{MM_LOMETRIC, 254}, {MM_HIMETRIC, 2540}, {MM_HIENGLISH, 1000}, {MM_TWIPS, 1440}};
    for (const auto& k : cases) {
        c.dc.SetMapMode(k.mode);
        POINT pt{k.unitsPerInch, -2 * k.unitsPerInch};
        c.dc.LPtoDP(&pt);
        EXPECT_EQ(pt.x, 96) << k.mode;
        EXPECT_EQ(pt.y, 192) << k.mode;
    }
}

TEST(GdiMapping, AnisotropicLayoutMappingCentresThePage)
{
    // The print layouts: 0.01 inch per unit, y up, (0, 0) in the middle of a 600 dpi page.
    CGdiCanvas c(10, 10);
    CDeviceCaps caps = c.dc.GetDeviceCapsRecord();
    caps.logPixelsX = caps.logPixelsY = 600;
    c.dc.SetDeviceCaps(caps);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetViewportExt(c.dc.GetDeviceCaps(LOGPIXELSX), c.dc.GetDeviceCaps(LOGPIXELSY));
    c.dc.SetWindowExt(100, -100);
    c.dc.SetWindowOrg(-400, 550);
    POINT pts[2] = {{-400, 550}, {0, 0}};
    c.dc.LPtoDP(pts, 2);
    EXPECT_EQ(pts[0].x, 0);
    EXPECT_EQ(pts[0].y, 0);
    EXPECT_EQ(pts[1].x, 2400);
    EXPECT_EQ(pts[1].y, 3300);
    // Rectangles keep their corner order; sizes convert as magnitudes.
    RECT r{0, 0, 100, -100};
    c.dc.LPtoDP(&r);
    EXPECT_EQ(r.left, 2400);
    EXPECT_EQ(r.top, 3300);
    EXPECT_EQ(r.right, 3000);
    EXPECT_EQ(r.bottom, 3900);
    SIZE s{100, 100};
    c.dc.LPtoDP(&s);
    EXPECT_EQ(s.cx, 600);
    EXPECT_EQ(s.cy, 600);
}

TEST(GdiMapping, ViewportOriginOffsetsMoveTheDeviceOrigin)
{
    CGdiCanvas c(50, 50);
    c.dc.SetViewportOrg(10, 20);
    c.dc.OffsetViewportOrg(-3, -4);
    EXPECT_EQ(c.dc.GetViewportOrg(), CPoint(7, 16));
    c.dc.OffsetWindowOrg(2, 2);
    POINT pt{5, 5};
    c.dc.LPtoDP(&pt);
    EXPECT_EQ(pt.x, 10);
    EXPECT_EQ(pt.y, 19);
    c.dc.SetPixel(5, 5, RGB(0, 0, 255));
    EXPECT_EQ(c.At(10, 19), RGB(0, 0, 255));
}

TEST(GdiMapping, ExtentsCountOnlyInScalableModesAndNeverZero)
{
    CGdiCanvas c(10, 10);
    c.dc.SetWindowExt(100, -100); // ignored in MM_TEXT
    EXPECT_EQ(c.dc.GetWindowExt(), CSize(1, 1));
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(0, 100); // would divide by zero: refused
    c.dc.SetViewportExt(10, 0);
    EXPECT_EQ(c.dc.GetWindowExt(), CSize(1, 1));
    EXPECT_EQ(c.dc.GetViewportExt(), CSize(1, 1));
    POINT pt{3, 4};
    c.dc.LPtoDP(&pt);
    EXPECT_EQ(pt.x, 3);
    EXPECT_EQ(pt.y, 4);
}

TEST(GdiMapping, IsotropicKeepsEqualScalesOnBothAxes)
{
    CGdiCanvas c(10, 10);
    c.dc.SetMapMode(MM_ISOTROPIC);
    c.dc.SetWindowExt(1000, 1000);
    c.dc.SetViewportExt(200, -500);
    // The larger axis shrinks to the smaller scale; the y direction stays up.
    EXPECT_EQ(c.dc.GetViewportExt(), CSize(200, -200));
    POINT pt{500, 500};
    c.dc.LPtoDP(&pt);
    EXPECT_EQ(pt.x, 100);
    EXPECT_EQ(pt.y, -100);
}

TEST(GdiMapping, HimetricConversionsUseTheDeviceResolution)
{
    CGdiCanvas c(10, 10);
    SIZE s{96, 48};
    c.dc.DPtoHIMETRIC(&s);
    EXPECT_EQ(s.cx, 2540);
    EXPECT_EQ(s.cy, 1270);
    c.dc.HIMETRICtoDP(&s);
    EXPECT_EQ(s.cx, 96);
    EXPECT_EQ(s.cy, 48);
    c.dc.SetMapMode(MM_LOENGLISH);
    SIZE l{100, 100};
    c.dc.LPtoHIMETRIC(&l);
    EXPECT_EQ(l.cx, 2540);
    EXPECT_EQ(l.cy, 2540);
}

TEST(GdiMapping, SaveAndRestoreBringBackMappingColoursAndObjects)
{
    CGdiCanvas c(10, 10);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* pOldPen = c.dc.GetCurrentPen();
    const int level = c.dc.SaveDC();
    EXPECT_EQ(level, 1);
    c.dc.SetMapMode(MM_LOENGLISH);
    c.dc.SetTextColor(RGB(1, 2, 3));
    c.dc.SelectObject(&red);
    c.dc.SaveDC();
    c.dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(c.dc.RestoreDC(-1));
    EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(c.dc.GetMapMode(), MM_LOENGLISH);
    EXPECT_EQ(c.dc.GetCurrentPen(), &red);
    EXPECT_TRUE(c.dc.RestoreDC(level));
    EXPECT_EQ(c.dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(c.dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(c.dc.GetCurrentPen(), pOldPen);
    EXPECT_FALSE(c.dc.RestoreDC(-1)); // nothing saved any more
}

TEST(GdiMapping, ScreenContextsReportNinetySixDotsPerInch)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_NE(dc.GetSafeHdc(), nullptr);
    EXPECT_EQ(CDC::FromHandle(dc.GetSafeHdc()), &dc);
    EXPECT_EQ(GetDeviceCaps(dc.GetSafeHdc(), LOGPIXELSY), 96);
    dc.DeleteDC();
    EXPECT_EQ(dc.GetSafeHdc(), nullptr);
}

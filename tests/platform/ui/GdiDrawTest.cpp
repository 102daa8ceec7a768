// Lines, shapes, brushes and raster operations, checked pixel by pixel on memory contexts.
#include "tests/platform/ui/GdiTestCanvas.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(0x40, 0x80, 0xC0);

QImage Snapshot(CGdiCanvas& c)
{
    return c.Image().copy();
}

} // namespace

TEST(GdiDraw, LineExcludesItsEndPoint)
{
    CGdiCanvas c(20, 20);
    c.dc.MoveTo(2, 5);
    c.dc.LineTo(10, 5);
    for (int x = 2; x < 10; ++x)
        EXPECT_EQ(c.At(x, 5), kBlack) << x;
    EXPECT_EQ(c.At(10, 5), kWhite);
    EXPECT_EQ(c.At(1, 5), kWhite);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(10, 5));
    // Diagonal: one pixel per step, the end left out.
    c.dc.MoveTo(0, 10);
    c.dc.LineTo(5, 15);
    EXPECT_EQ(c.At(0, 10), kBlack);
    EXPECT_EQ(c.At(4, 14), kBlack);
    EXPECT_EQ(c.At(5, 15), kWhite);
}

TEST(GdiDraw, RectangleExcludesRightAndBottomEdgesWhateverTheCornerOrder)
{
    for (int flip = 0; flip < 2; ++flip) {
        CGdiCanvas c(12, 12, kGrey);
        CBrush white(kWhite);
        c.dc.SelectObject(&white);
        if (flip)
            c.dc.Rectangle(8, 7, 2, 2);
        else
            c.dc.Rectangle(2, 2, 8, 7);
        EXPECT_EQ(c.Ink(kGrey), CRect(2, 2, 8, 7)) << flip;
        EXPECT_EQ(c.At(2, 2), kBlack);
        EXPECT_EQ(c.At(7, 6), kBlack);
        EXPECT_EQ(c.At(7, 3), kBlack);
        EXPECT_EQ(c.At(3, 3), kWhite);
        EXPECT_EQ(c.At(6, 5), kWhite);
    }
}

TEST(GdiDraw, RectangleWithoutPenFillsOnePixelLess)
{
    CGdiCanvas c(12, 12, kGrey);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.SelectStockObject(BLACK_BRUSH);
    c.dc.Rectangle(2, 2, 8, 7);
    EXPECT_EQ(c.Ink(kGrey), CRect(2, 2, 7, 6));
}

TEST(GdiDraw, InsideFramePenStaysWithinTheRectangle)
{
    CGdiCanvas c(20, 20, kGrey);
    CPen pen(PS_INSIDEFRAME, 3, RGB(255, 0, 0));
    c.dc.SelectObject(&pen);
    c.dc.SelectStockObject(HOLLOW_BRUSH);
    c.dc.Rectangle(4, 4, 16, 14);
    EXPECT_EQ(c.Ink(kGrey), CRect(4, 4, 16, 14));
    EXPECT_EQ(c.At(6, 6), RGB(255, 0, 0));
    EXPECT_EQ(c.At(7, 7), kGrey); // hollow inside the three-pixel frame
    EXPECT_EQ(c.At(13, 11), RGB(255, 0, 0));
}

TEST(GdiDraw, PenWidthScalesWithTheMappingAndZeroIsOnePixel)
{
    CGdiCanvas c(60, 60);
    c.dc.SetMapMode(MM_ANISOTROPIC);
    c.dc.SetWindowExt(1, 1);
    c.dc.SetViewportExt(4, 4);
    CPen thick(PS_SOLID, 2, kBlack); // 8 device pixels
    c.dc.SelectObject(&thick);
    c.dc.MoveTo(2, 5);
    c.dc.LineTo(10, 5);
    const CRect wide = c.Ink();
    EXPECT_EQ(wide.Height(), 8);
    CGdiCanvas d(60, 60);
    d.dc.SetMapMode(MM_ANISOTROPIC);
    d.dc.SetWindowExt(1, 1);
    d.dc.SetViewportExt(4, 4);
    CPen hair(PS_SOLID, 0, kBlack);
    d.dc.SelectObject(&hair);
    d.dc.MoveTo(2, 5);
    d.dc.LineTo(10, 5);
    EXPECT_EQ(d.Ink(), CRect(8, 20, 40, 21));
}

TEST(GdiDraw, XorPenDrawnTwiceRestoresThePixels)
{
    CGdiCanvas c(40, 40, kGrey);
    c.dc.FillSolidRect(10, 0, 10, 40, RGB(200, 30, 90));
    const QImage before = Snapshot(c);
    CPen guide(PS_SOLID, 2, RGB(128, 128, 255));
    c.dc.SelectObject(&guide);
    c.dc.SetROP2(R2_XORPEN);
    c.dc.SelectStockObject(NULL_BRUSH);
    for (int pass = 0; pass < 2; ++pass) {
        c.dc.MoveTo(15, 2);
        c.dc.LineTo(15, 1000);
        c.dc.MoveTo(0, 0);
        c.dc.LineTo(30, 25);
        c.dc.Rectangle(3, 3, 25, 20);
        if (pass == 0) {
            EXPECT_NE(Snapshot(c), before);
            // XOR of the pen colour with the background.
            EXPECT_EQ(c.At(15, 30), RGB(128 ^ 200, 128 ^ 30, 255 ^ 90));
        }
    }
    EXPECT_EQ(Snapshot(c), before);
}

TEST(GdiDraw, NotXorPenInvertsTheXorAndRestoresOnTheSecondPass)
{
    CGdiCanvas c(20, 20, kGrey);
    const QImage before = Snapshot(c);
    c.dc.SetROP2(R2_NOTXORPEN);
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    c.dc.SelectObject(&pen);
    c.dc.SelectStockObject(NULL_BRUSH);
    c.dc.Rectangle(2, 2, 18, 18);
    // A black pen under NOT XOR inverts what it covers; the white gaps (OPAQUE) leave
    // the background as it was.
    EXPECT_EQ(c.At(2, 2), RGB(0xFF - 0x40, 0xFF - 0x80, 0xFF - 0xC0));
    EXPECT_EQ(c.At(5, 2), kGrey);
    c.dc.Rectangle(2, 2, 18, 18);
    EXPECT_EQ(Snapshot(c), before);
}

TEST(GdiDraw, MixModesCombineThePenWithTheScreen)
{
    const struct {
        int rop;
        COLORREF expected;
    } cases[] = {
        {R2_COPYPEN, RGB(0xF0, 0x0F, 0x33)},
        {R2_NOT, RGB(0xFF - 0x40, 0xFF - 0x80, 0xFF - 0xC0)},
        {R2_BLACK, kBlack},
        {R2_WHITE, kWhite},
        {R2_NOP, kGrey},
        {R2_MASKPEN, RGB(0xF0 & 0x40, 0x0F & 0x80, 0x33 & 0xC0)},
        {R2_MERGEPEN, RGB(0xF0 | 0x40, 0x0F | 0x80, 0x33 | 0xC0)},
        {R2_MERGEPENNOT, RGB((0xF0 | 0xBF) & 0xFF, (0x0F | 0x7F) & 0xFF, (0x33 | 0x3F) & 0xFF)},
    };
    for (const auto& k : cases) {
        CGdiCanvas c(10, 10, kGrey);
        CPen pen(PS_SOLID, 0, RGB(0xF0, 0x0F, 0x33));
        c.dc.SelectObject(&pen);
        c.dc.SetROP2(k.rop);
        c.dc.MoveTo(0, 5);
        c.dc.LineTo(9, 5);
        EXPECT_EQ(c.At(4, 5), k.expected) << k.rop;
    }
}

TEST(GdiDraw, StyledPensDashAndPaintTheGapsOnlyWhenOpaque)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        CGdiCanvas c(40, 5, kGrey);
        CPen dot(PS_DOT, 1, kBlack);
        c.dc.SelectObject(&dot);
        c.dc.SetBkMode(mode);
        c.dc.SetBkColor(RGB(255, 0, 0));
        c.dc.MoveTo(0, 2);
        c.dc.LineTo(40, 2);
        const COLORREF gap = mode == OPAQUE ? RGB(255, 0, 0) : kGrey;
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(c.At(x, 2), (x / 3) % 2 == 0 ? kBlack : gap) << "x " << x << " mode " << mode;
    }
    // A dashed pen wider than one unit draws solid.
    CGdiCanvas w(40, 9, kGrey);
    CPen wide(PS_DASH, 3, kBlack);
    w.dc.SelectObject(&wide);
    w.dc.MoveTo(0, 4);
    w.dc.LineTo(39, 4);
    for (int x = 2; x < 36; ++x)
        EXPECT_EQ(w.At(x, 4), kBlack) << x;
}

TEST(GdiDraw, MonochromePatternBrushFollowsTheBrushOriginAndTheTextColours)
{
    // Rows of an 8 x 8 pattern, word aligned as the stored patterns are.
    const BYTE rows[8] = {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    WORD words[8];
    for (int i = 0; i < 8; ++i)
        words[i] = static_cast<WORD>(rows[i] | (rows[i] << 8));
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, words));
    CBrush brush;
    ASSERT_TRUE(brush.CreatePatternBrush(&pattern));
    pattern.DeleteObject(); // the brush keeps its own copy

    CGdiCanvas c(32, 32, kGrey);
    c.dc.SetTextColor(RGB(0, 0, 255)); // 0 bits
    c.dc.SetBkColor(RGB(255, 255, 0)); // 1 bits
    c.dc.SetBrushOrg(3, 2);
    RECT r{0, 0, 32, 32};
    c.dc.FillRect(&r, &brush);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int px = ((x - 3) % 8 + 8) % 8, py = ((y - 2) % 8 + 8) % 8;
            const bool set = rows[py] & (0x80 >> px);
            ASSERT_EQ(c.At(x, y), set ? RGB(255, 255, 0) : RGB(0, 0, 255)) << x << "," << y;
        }
}

TEST(GdiDraw, HatchBrushGapsFollowTheBackgroundMode)
{
    CBrush hatch(HS_HORIZONTAL, RGB(255, 0, 0));
    for (int mode : {OPAQUE, TRANSPARENT}) {
        CGdiCanvas c(16, 16, kGrey);
        c.dc.SetBkMode(mode);
        c.dc.SetBkColor(kWhite);
        RECT r{0, 0, 16, 16};
        c.dc.FillRect(&r, &hatch);
        const int red = c.CountColor(RGB(255, 0, 0));
        EXPECT_EQ(red, 2 * 16); // one row in each 8 rows
        EXPECT_EQ(c.CountColor(mode == OPAQUE ? kWhite : kGrey), 16 * 16 - red);
    }
}

TEST(GdiDraw, FillSolidRectLeavesItsColourAsBackgroundAndDraw3dRectFramesTheEdges)
{
    CGdiCanvas c(20, 20, kGrey);
    c.dc.FillSolidRect(2, 2, 5, 5, RGB(9, 8, 7));
    EXPECT_EQ(c.dc.GetBkColor(), RGB(9, 8, 7));
    EXPECT_EQ(c.Ink(kGrey), CRect(2, 2, 7, 7));
    c.dc.Draw3dRect(10, 10, 6, 5, RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(c.At(10, 10), kWhite);
    EXPECT_EQ(c.At(14, 10), kWhite);
    EXPECT_EQ(c.At(15, 10), kBlack);
    EXPECT_EQ(c.At(10, 13), kWhite);
    EXPECT_EQ(c.At(10, 14), kBlack);
    EXPECT_EQ(c.At(15, 14), kBlack);
    EXPECT_EQ(c.At(12, 12), kGrey);
    EXPECT_EQ(c.At(16, 12), kGrey);
}

TEST(GdiDraw, FocusRectAndDestinationInversionUndoThemselves)
{
    CGdiCanvas c(30, 30, kGrey);
    c.dc.FillSolidRect(5, 5, 10, 10, RGB(10, 200, 30));
    const QImage before = Snapshot(c);
    RECT r{2, 3, 20, 17};
    c.dc.DrawFocusRect(&r);
    EXPECT_NE(Snapshot(c), before);
    // Every other pixel of the frame is inverted.
    EXPECT_EQ(c.At(2, 3), kGrey);
    EXPECT_EQ(c.At(2, 4), RGB(0xFF - 0x40, 0xFF - 0x80, 0xFF - 0xC0));
    EXPECT_EQ(c.At(3, 3), RGB(0xFF - 0x40, 0xFF - 0x80, 0xFF - 0xC0));
    EXPECT_EQ(c.At(3, 4), kGrey);
    EXPECT_EQ(c.At(10, 10), RGB(10, 200, 30)); // inside untouched
    c.dc.DrawFocusRect(&r);
    EXPECT_EQ(Snapshot(c), before);
    c.dc.PatBlt(4, 4, 8, 8, DSTINVERT);
    EXPECT_EQ(c.At(6, 6), RGB(245, 55, 225));
    c.dc.InvertRect(&r);
    c.dc.InvertRect(&r);
    c.dc.PatBlt(4, 4, 8, 8, DSTINVERT);
    EXPECT_EQ(Snapshot(c), before);
}

TEST(GdiDraw, PatBltPaintsTheBrushAndRefusesUnknownOperations)
{
    CGdiCanvas c(10, 10, kGrey);
    CBrush red(RGB(255, 0, 0));
    c.dc.SelectObject(&red);
    EXPECT_TRUE(c.dc.PatBlt(1, 1, 3, 3, PATCOPY));
    EXPECT_EQ(c.Ink(kGrey), CRect(1, 1, 4, 4));
    EXPECT_TRUE(c.dc.PatBlt(6, 6, 2, 2, BLACKNESS));
    EXPECT_EQ(c.At(7, 7), kBlack);
    EXPECT_FALSE(c.dc.PatBlt(0, 0, 2, 2, SRCCOPY));
}

TEST(GdiDraw, BitBltCopiesAndCombinesFromAMemoryContext)
{
    CGdiCanvas src(10, 10, RGB(0, 0, 0));
    src.dc.FillSolidRect(2, 2, 3, 3, RGB(0xF0, 0xF0, 0xF0));
    CGdiCanvas dst(20, 20, kGrey);
    EXPECT_TRUE(dst.dc.BitBlt(10, 5, 5, 5, &src.dc, 1, 1, SRCCOPY));
    EXPECT_EQ(dst.At(11, 6), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(dst.At(10, 5), kBlack);
    EXPECT_EQ(dst.At(9, 5), kGrey);
    EXPECT_EQ(dst.At(15, 10), kGrey);
    // XOR twice restores.
    const QImage before = Snapshot(dst);
    dst.dc.BitBlt(0, 0, 10, 10, &src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dst.At(2, 2), RGB(0x40 ^ 0xF0, 0x80 ^ 0xF0, 0xC0 ^ 0xF0));
    dst.dc.BitBlt(0, 0, 10, 10, &src.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(Snapshot(dst), before);
    // Stretching doubles every pixel.
    CGdiCanvas big(20, 20, kGrey);
    big.dc.StretchBlt(0, 0, 20, 20, &src.dc, 0, 0, 10, 10, SRCCOPY);
    EXPECT_EQ(big.At(4, 4), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(big.At(9, 9), RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(big.At(10, 10), kBlack);
    EXPECT_EQ(big.At(3, 3), kBlack);
}

TEST(GdiDraw, MonochromeBitmapsBlitInTheDestinationColours)
{
    const WORD rows[2] = {0x00C0, 0x0000}; // first row: two 1 bits at the left
    CBitmap mono;
    ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, rows));
    CDC monoDC;
    ASSERT_TRUE(monoDC.CreateCompatibleDC(nullptr));
    CBitmap* pOld = monoDC.SelectObject(&mono);
    ASSERT_NE(pOld, nullptr);
    CGdiCanvas c(4, 2, kGrey);
    c.dc.SetTextColor(RGB(255, 0, 0)); // 0 bits
    c.dc.SetBkColor(RGB(0, 255, 0));   // 1 bits
    c.dc.BitBlt(0, 0, 4, 2, &monoDC, 0, 0, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(c.At(2, 0), RGB(255, 0, 0));
    EXPECT_EQ(c.At(0, 1), RGB(255, 0, 0));
    monoDC.SelectObject(pOld);
}

TEST(GdiDraw, EllipseAndPolygonStayInsideTheirBounds)
{
    CGdiCanvas c(40, 40, kGrey);
    CBrush red(RGB(255, 0, 0));
    c.dc.SelectObject(&red);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.Ellipse(3, 3, 13, 13);
    const CRect ink = c.Ink(kGrey);
    EXPECT_GE(ink.left, 3);
    EXPECT_GE(ink.top, 3);
    EXPECT_LE(ink.right, 13);
    EXPECT_LE(ink.bottom, 13);
    EXPECT_EQ(c.At(8, 8), RGB(255, 0, 0));

    CGdiCanvas p(40, 40, kGrey);
    p.dc.SelectObject(&red);
    const POINT tri[3] = {{5, 5}, {35, 5}, {5, 35}};
    p.dc.Polygon(tri, 3);
    EXPECT_EQ(p.At(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(p.At(5, 5), kBlack); // outline
    EXPECT_EQ(p.At(30, 30), kGrey);
}

TEST(GdiDraw, SetAndGetPixelRespectTheClipAndTheDevice)
{
    CGdiCanvas c(10, 10, kGrey);
    EXPECT_EQ(c.dc.SetPixel(3, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(3, 4), RGB(1, 2, 3));
    EXPECT_EQ(c.dc.GetPixel(30, 4), CLR_INVALID);
    c.dc.IntersectClipRect(5, 5, 10, 10);
    EXPECT_EQ(c.dc.SetPixel(1, 1, RGB(9, 9, 9)), CLR_INVALID);
    EXPECT_EQ(c.At(1, 1), kGrey);
}

TEST(GdiDraw, SysColorsComeFromTheFixedPalette)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(999), 0u);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
    LOGBRUSH lb{};
    EXPECT_EQ(CBrush::FromHandle(face)->GetLogBrush(&lb), static_cast<int>(sizeof(LOGBRUSH)));
    EXPECT_EQ(lb.lbStyle, BS_SOLID);
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetSysColorBrush(-5), nullptr);
}

TEST(GdiDraw, EndlessLinesAreCutToTheDevice)
{
    // Far-reaching coordinates must neither take long nor overflow.
    CGdiCanvas c(50, 50);
    c.dc.MoveTo(-2000000000, -2000000000);
    c.dc.LineTo(2000000000, 2000000000);
    EXPECT_EQ(c.At(25, 25), kBlack);
    EXPECT_EQ(c.At(10, 10), kBlack);
    CPen dash(PS_DASH, 1, kBlack);
    c.dc.SelectObject(&dash);
    c.dc.MoveTo(-1000000000, 40);
    c.dc.LineTo(1000000000, 41);
    CPen wide(PS_SOLID, 5, RGB(255, 0, 0));
    c.dc.SelectObject(&wide);
    c.dc.MoveTo(-2000000000, 5);
    c.dc.LineTo(2000000000, 5);
    EXPECT_EQ(c.At(0, 5), RGB(255, 0, 0));
    EXPECT_EQ(c.At(49, 7), RGB(255, 0, 0));
    c.dc.SelectStockObject(BLACK_PEN);
    c.dc.Rectangle(-2000000000, 20, 2000000000, 30);
    EXPECT_EQ(c.At(25, 20), kBlack);
    EXPECT_EQ(c.At(25, 25), kWhite);
    EXPECT_EQ(c.At(25, 29), kBlack);
}

// Painting of self-drawn windows: the retained back buffer, WM_PAINT for the invalid area,
// erasing, drawing with a client context at any time, and scrolling the picture.
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include "UiTestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace {

QRgb Pixel(HWND h, int x, int y)
{
    QImage* p = AfxGetBackBuffer(h);
    return p ? (p->pixel(x, y) & 0xFFFFFF) : 0xDEADBEEF;
}

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kWhite = 0xFFFFFF;

// Paints its client area red, noting each paint's area; can invalidate once while painting.
class CPaintWnd : public CWnd {
public:
    std::vector<CRect> painted;
    std::vector<BOOL> erased;
    int eraseCount = 0;
    bool invalidateDuringPaint = false;
    COLORREF colour = RGB(255, 0, 0);

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        painted.push_back(CRect(dc.m_ps.rcPaint));
        erased.push_back(dc.m_ps.fErase);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, colour);
        if (invalidateDuringPaint) {
            invalidateDuringPaint = false;
            CRect r(0, 0, 5, 5);
            InvalidateRect(&r, FALSE);
        }
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        ++eraseCount;
        return CWnd::OnEraseBkgnd(pDC);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintWnd, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class PaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "p", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr));
        PumpEvents();
    }
    void TearDown() override
    {
        wnd.DestroyWindow();
        PumpEvents();
    }
    CPaintWnd wnd;
};

} // namespace

TEST_F(PaintTest, NewWindowIsPaintedWholeAfterErasing)
{
    ASSERT_FALSE(wnd.painted.empty());
    EXPECT_EQ(wnd.painted.front(), CRect(0, 0, 100, 80));
    EXPECT_EQ(wnd.eraseCount, 1);
    EXPECT_FALSE(wnd.erased.front()) << "the class background erased it";
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 40), kRed);
}

TEST_F(PaintTest, InvalidAreasGatherAndPaintOnceLater)
{
    wnd.painted.clear();
    wnd.colour = RGB(0, 0, 255);
    CRect a(10, 10, 20, 20), b(30, 5, 40, 15);
    wnd.InvalidateRect(&a, FALSE);
    wnd.InvalidateRect(&b, FALSE);
    EXPECT_TRUE(wnd.painted.empty()) << "painting waits for the event loop";
    CRect upd;
    EXPECT_TRUE(wnd.GetUpdateRect(&upd));
    EXPECT_EQ(upd, CRect(10, 5, 40, 20));
    PumpEvents();
    ASSERT_EQ(wnd.painted.size(), 1u);
    EXPECT_EQ(wnd.painted[0], CRect(10, 5, 40, 20));
    // Only the invalid rectangles were repainted, not the rest of their bounding box.
    EXPECT_EQ(Pixel(wnd.m_hWnd, 15, 15), kBlue);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 35, 10), kBlue);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 25, 18), kRed);
    EXPECT_FALSE(wnd.GetUpdateRect(&upd));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceAndValidateCancels)
{
    wnd.painted.clear();
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.painted.size(), 1u);
    wnd.Invalidate(FALSE);
    wnd.ValidateRect(nullptr);
    PumpEvents();
    EXPECT_EQ(wnd.painted.size(), 1u);
}

TEST_F(PaintTest, InvalidatingWhilePaintingPaintsAgain)
{
    wnd.painted.clear();
    wnd.invalidateDuringPaint = true;
    wnd.Invalidate(FALSE);
    PumpEvents();
    ASSERT_EQ(wnd.painted.size(), 2u);
    EXPECT_EQ(wnd.painted[1], CRect(0, 0, 5, 5));
}

TEST_F(PaintTest, EraseOnlyWhenAsked)
{
    wnd.eraseCount = 0;
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.eraseCount, 0);
    wnd.Invalidate(TRUE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.eraseCount, 1);
}

TEST_F(PaintTest, XorLineDrawnTwiceWithAClientContextRestoresThePixels)
{
    const QImage before = *AfxGetBackBuffer(wnd.m_hWnd);
    for (int i = 0; i < 2; ++i) {
        CClientDC dc(&wnd);
        CPen pen(PS_SOLID, 0, RGB(255, 255, 255));
        CPen* pOld = dc.SelectObject(&pen);
        const int oldRop = dc.SetROP2(R2_XORPEN);
        dc.MoveTo(5, 5);
        dc.LineTo(90, 70);
        dc.SetROP2(oldRop);
        dc.SelectObject(pOld);
        if (i == 0) {
            EXPECT_NE(Pixel(wnd.m_hWnd, 5, 5), kRed) << "the guide line shows after the first drawing";
        }
    }
    EXPECT_EQ(*AfxGetBackBuffer(wnd.m_hWnd), before);
}

TEST_F(PaintTest, ScrollWindowMovesThePictureAndInvalidatesTheUncoveredStrip)
{
    // A blue stripe across rows 10..19.
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(0, 10, 100, 10, RGB(0, 0, 255));
    }
    wnd.painted.clear();
    wnd.colour = RGB(255, 255, 255);
    wnd.ScrollWindow(0, -5);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 5), kBlue) << "row 10 moved up to row 5";
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 14), kBlue);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 15), kRed);
    CRect upd;
    ASSERT_TRUE(wnd.GetUpdateRect(&upd));
    EXPECT_EQ(upd, CRect(0, 75, 100, 80));
    PumpEvents();
    ASSERT_EQ(wnd.painted.size(), 1u);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 77), kWhite);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 50, 74), kRed);
}

TEST_F(PaintTest, ScrollWithinARectangleLeavesTheRestAlone)
{
    {
        CClientDC dc(&wnd);
        dc.FillSolidRect(20, 0, 10, 80, RGB(0, 0, 255));
    }
    CRect scroll(10, 0, 60, 40);
    wnd.ScrollWindow(10, 0, &scroll, &scroll);
    EXPECT_EQ(Pixel(wnd.m_hWnd, 35, 20), kBlue) << "moved right inside the rectangle";
    EXPECT_EQ(Pixel(wnd.m_hWnd, 25, 20), kRed) << "uncovered part of the old stripe";
    EXPECT_EQ(Pixel(wnd.m_hWnd, 25, 60), kBlue) << "below the rectangle nothing moved";
    CRect upd;
    ASSERT_TRUE(wnd.GetUpdateRect(&upd));
    EXPECT_EQ(upd, CRect(10, 0, 20, 40));
}

TEST_F(PaintTest, ResizingPaintsTheNewArea)
{
    wnd.painted.clear();
    wnd.MoveWindow(0, 0, 120, 80, FALSE);
    PumpEvents();
    ASSERT_FALSE(wnd.painted.empty());
    // The framework's window class repaints the whole area when the width changes.
    EXPECT_EQ(wnd.painted.back(), CRect(0, 0, 120, 80));
    EXPECT_EQ(Pixel(wnd.m_hWnd, 110, 40), kRed);
}

TEST_F(PaintTest, TheScreenShowsAgainWhatWasDrawnAndNotTheBoxAroundIt)
{
    // The keyboard goes to a child and comes back: that paints nothing of its own.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "c", WS_CHILD | WS_VISIBLE, 60, 0, 20, 20, wnd.m_hWnd, nullptr));
    wnd.SetFocus();
    PumpEvents();
    ASSERT_EQ(CWnd::GetFocus(), &wnd);
    CPaintedArea shown(wnd.GetClientWidget());
    child.SetFocus();
    wnd.SetFocus();
    PumpEvents();
    EXPECT_TRUE(shown.IsEmpty());

    // Two corners invalidated: the two corners are painted and shown, not the middle.
    CRect rcTopLeft(0, 0, 10, 10), rcBottomRight(90, 70, 100, 80);
    wnd.InvalidateRect(&rcTopLeft, FALSE);
    wnd.InvalidateRect(&rcBottomRight, FALSE);
    wnd.UpdateWindow();
    PumpEvents();
    EXPECT_TRUE(shown.Contains(5, 5));
    EXPECT_TRUE(shown.Contains(95, 75));
    EXPECT_FALSE(shown.Contains(50, 40));

    // A client context shows the frame it drew, and a context that only measured nothing.
    CPaintedArea drawn(wnd.GetClientWidget());
    {
        CClientDC dc(&wnd);
        dc.GetTextExtent("abc");
    }
    PumpEvents();
    EXPECT_TRUE(drawn.IsEmpty());
    {
        CClientDC dc(&wnd);
        dc.Rectangle(20, 20, 30, 30);
    }
    PumpEvents();
    EXPECT_TRUE(drawn.Contains(20, 25));
    EXPECT_FALSE(drawn.Contains(60, 60));
    EXPECT_EQ(Pixel(wnd.m_hWnd, 20, 25), 0u);
    child.DestroyWindow();
}

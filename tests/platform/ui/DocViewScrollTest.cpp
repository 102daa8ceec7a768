// Scroll views: the scroll sizes in pixels and in 0.01 inch, scrolling by lines, pages,
// positions and the wheel, the viewport origin OnPrepareDC sets, and a drawing smaller than
// the window standing in its middle.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A scroll view alone in a window of its own, its client area 300 x 200 pixels.
class ScrollViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE));
        m_pView = new CTestScrollView;
        ASSERT_TRUE(
            m_pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &m_host, 1));
        m_pView->SendMessage(WM_INITIALUPDATE);
        PumpEvents();
    }
    void TearDown() override { m_host.DestroyWindow(); }

    CPoint ViewportOrigin()
    {
        CClientDC dc(m_pView);
        m_pView->OnPrepareDC(&dc);
        return dc.GetViewportOrg();
    }

    CRecorderWnd m_host;
    CTestScrollView* m_pView = nullptr; // deletes itself with its window
};

} // namespace

TEST_F(ScrollViewTest, ScrollingMovesThePositionWithinTheDrawing)
{
    EXPECT_EQ(m_pView->GetTotalSize(), CSize(1000, 2000));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, 0));
    m_pView->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 20));
    m_pView->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 220));
    m_pView->SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(10, 220));
    m_pView->SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(10, 0));
    m_pView->SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(10, 0)) << "not above the top";

    m_pView->ScrollToPosition(CPoint(50, 70));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(50, 70));
    EXPECT_EQ(ViewportOrigin(), CPoint(-50, -70)) << "drawing code draws as if unscrolled";

    // The far end: the last window-full of the drawing.
    CRect client;
    m_pView->GetClientRect(&client);
    m_pView->ScrollToPosition(CPoint(5000, 5000));
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(1000 - client.Width(), 2000 - client.Height()));
}

TEST_F(ScrollViewTest, WheelScrollsThreeLinesPerNotch)
{
    CPoint pt(10, 10);
    m_pView->ClientToScreen(&pt);
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                         MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 60));
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)),
                         MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 0));
}

TEST_F(ScrollViewTest, SmallDrawingStandsInTheMiddleWithoutScrollBars)
{
    m_pView->SetScrollSizes(MM_TEXT, CSize(100, 50));
    PumpEvents();
    CRect client;
    m_pView->GetClientRect(&client);
    EXPECT_EQ(ViewportOrigin(), CPoint((client.Width() - 100) / 2, (client.Height() - 50) / 2));
    m_pView->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 0)) << "nothing to scroll";
}

TEST_F(ScrollViewTest, HundredthsOfAnInchCountDownwardsAtNinetySixPixelsPerInch)
{
    m_pView->SetScrollSizes(MM_LOENGLISH, CSize(1000, 1000));
    int nMapMode = 0;
    SIZE total{};
    SIZE page{};
    SIZE line{};
    m_pView->GetDeviceScrollSizes(nMapMode, total, page, line);
    EXPECT_EQ(nMapMode, MM_LOENGLISH);
    EXPECT_EQ(CSize(total), CSize(960, 960));
    EXPECT_EQ(CSize(page), CSize(96, 96)) << "a tenth of the drawing";
    m_pView->ScrollToPosition(CPoint(0, -100));
    EXPECT_EQ(m_pView->GetDeviceScrollPosition(), CPoint(0, 96));
    EXPECT_EQ(m_pView->GetScrollPosition(), CPoint(0, -100));
}

TEST_F(ScrollViewTest, PrintingContextIsNotScrolled)
{
    m_pView->ScrollToPosition(CPoint(40, 80));
    QImage page(100, 100, QImage::Format_RGB32);
    CDC dc;
    ASSERT_TRUE(dc.AttachDevice(&page, TRUE));
    m_pView->OnPrepareDC(&dc);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    dc.DetachDevice();
}

// The jump bar (its four buttons reach the grid view), middle-button auto-scrolling (the
// badge, the distances that scroll, the pointer's shape, how it ends) and the colour
// button's raised and pressed tile.
#include "app/CAutoScrollWnd.h"
#include "app/CColourButton.h"
#include "app/CJumpBarWnd.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"
#include "resources/SharedControlResources.h"

#include "SharedControlsTestSupport.h"

#include <QAction>
#include <QToolBar>

#include <algorithm>
#include <gtest/gtest.h>

using namespace commonctl;
using namespace sharedctl;

namespace {

// ---------------------------------------------------------------------------------------
// The jump bar.
// ---------------------------------------------------------------------------------------
class CJumpTestView : public CView {
public:
    std::vector<UINT> jumps;
    void OnDraw(CDC*) override {}
    afx_msg void OnJump(UINT nID) { jumps.push_back(nID); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CJumpTestView, CView)
ON_COMMAND_RANGE(ID_JUMP_FIRST_COLUMN, ID_JUMP_LAST_ROW, OnJump)
END_MESSAGE_MAP()

class JumpBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pFrame = new CFrameWnd;
        ASSERT_TRUE(pFrame->Create(nullptr, "jump", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400)));
        pView = new CJumpTestView;
        ASSERT_TRUE(pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), pFrame,
                                  AFX_IDW_PANE_FIRST));
        pFrame->SetActiveView(pView);
        ASSERT_TRUE(jump.Create(pView, CRect(0, 282, 80, 300), 1));
        PumpEvents();
    }
    void TearDown() override
    {
        jump.DestroyWindow();
        if (pFrame && pFrame->m_hWnd)
            pFrame->DestroyWindow();
        PumpEvents();
    }
    QToolBar* ToolBarWidget() const { return qobject_cast<QToolBar*>(jump.GetToolBar()->GetWidget()); }
    std::vector<QAction*> Buttons() const
    {
        std::vector<QAction*> v;
        for (QAction* a : ToolBarWidget()->actions())
            if (!a->isSeparator())
                v.push_back(a);
        return v;
    }

    CFrameWnd* pFrame = nullptr;
    CJumpTestView* pView = nullptr;
    CJumpBarWnd jump;
};

TEST_F(JumpBarTest, HoldsFourJumpButtonsPlacedAboveItsTopEdge)
{
    CToolBar* pBar = jump.GetToolBar();
    ASSERT_NE(pBar, nullptr);
    ASSERT_EQ(pBar->GetCount(), 4);
    EXPECT_EQ(pBar->GetItemID(0), ID_JUMP_FIRST_COLUMN);
    EXPECT_EQ(pBar->GetItemID(1), ID_JUMP_LAST_COLUMN);
    EXPECT_EQ(pBar->GetItemID(2), ID_JUMP_FIRST_ROW);
    EXPECT_EQ(pBar->GetItemID(3), ID_JUMP_LAST_ROW);
    EXPECT_EQ(pBar->GetDlgCtrlID(), static_cast<int>(AFX_IDW_TOOLBAR));
    EXPECT_TRUE(pBar->GetBarStyle() & CBRS_TOOLTIPS);
    EXPECT_TRUE(pBar->GetBarStyle() & CBRS_FLYBY);
    CRect rc;
    pBar->GetWindowRect(&rc);
    jump.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(0, -5, 100, 27));
    // Each button has its picture and its tip.
    const std::vector<QAction*> buttons = Buttons();
    ASSERT_EQ(buttons.size(), 4u);
    for (QAction* a : buttons)
        EXPECT_FALSE(a->icon().isNull());
    EXPECT_EQ(buttons[0]->toolTip(), QString::fromUtf8("先頭列"));
    EXPECT_EQ(buttons[3]->toolTip(), QString::fromUtf8("最終行"));
}

TEST_F(JumpBarTest, EachButtonReachesTheGridView)
{
    for (QAction* a : Buttons())
        a->trigger();
    PumpEvents();
    EXPECT_EQ(pView->jumps, (std::vector<UINT>{ID_JUMP_FIRST_COLUMN, ID_JUMP_LAST_COLUMN, ID_JUMP_FIRST_ROW,
                                               ID_JUMP_LAST_ROW}));
}

TEST_F(JumpBarTest, ACommandOfItsBarGoesOnToTheViewOthersDoNot)
{
    jump.SendMessage(WM_COMMAND, MAKEWPARAM(ID_JUMP_FIRST_ROW, 0),
                     reinterpret_cast<LPARAM>(jump.GetToolBar()->m_hWnd));
    EXPECT_EQ(pView->jumps, (std::vector<UINT>{ID_JUMP_FIRST_ROW}));
    jump.SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
    EXPECT_EQ(pView->jumps.size(), 1u);
}

TEST_F(JumpBarTest, ButtonsFollowTheGridViewEvenWhenAnotherViewIsActive)
{
    CToolBar* pBar = jump.GetToolBar();
    pFrame->SetActiveView(nullptr);
    pBar->OnUpdateCmdUI(pFrame, TRUE);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(pBar->GetButtonStyle(i) & TBBS_DISABLED) << i;

    // In a window that has no jumps the buttons are off.
    CNotifyParent plain;
    ASSERT_TRUE(plain.CreateTopLevel(200, 60));
    CJumpBarWnd other;
    ASSERT_TRUE(other.Create(&plain, CRect(0, 40, 80, 58), 2));
    other.GetToolBar()->OnUpdateCmdUI(pFrame, TRUE);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(other.GetToolBar()->GetButtonStyle(i) & TBBS_DISABLED) << i;
    other.DestroyWindow();
    plain.DestroyWindow();
}

// ---------------------------------------------------------------------------------------
// Auto-scrolling.
// ---------------------------------------------------------------------------------------
// A view that records its scroll messages. With bars of its own (controls) those count;
// otherwise the window's scroll-bar styles do.
class CScrollTestView : public CRecorderWnd {
public:
    CScrollBar m_barHorz;
    CScrollBar m_barVert;
    bool m_bOwnBars = false;

    CScrollBar* GetScrollBarCtrl(int nBar) const override
    {
        if (!m_bOwnBars)
            return nullptr;
        return const_cast<CScrollBar*>(nBar == SB_VERT ? &m_barVert : &m_barHorz);
    }
    void MakeOwnBars()
    {
        m_bOwnBars = true;
        m_barHorz.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 282, 382, 300), this, 1);
        m_barVert.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(382, 0, 400, 282), this, 2);
    }
    std::vector<std::pair<UINT, UINT>> Scrolls() const
    {
        std::vector<std::pair<UINT, UINT>> v;
        for (const auto& m : log)
            if (m.message == WM_VSCROLL || m.message == WM_HSCROLL)
                v.emplace_back(m.message, LOWORD(static_cast<DWORD>(m.wParam)));
        return v;
    }
};

class AutoScrollTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterSharedControlResources(); }
    void TearDown() override
    {
        if (CAutoScrollWnd* p = CAutoScrollWnd::GetActive())
            p->DestroyWindow();
        view.DestroyWindow();
        PumpEvents();
    }
    // Puts the pointer at a point of the view's client area.
    void PointerAt(int x, int y)
    {
        POINT pt{x, y};
        view.ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
    }
    CAutoScrollWnd* Start()
    {
        // The view's window has settled (it is the active window) before the middle click.
        PumpEvents();
        PointerAt(200, 150);
        (new CAutoScrollWnd)->StartAutoScroll(&view);
        return CAutoScrollWnd::GetActive();
    }
    // One timer tick with the pointer (dx, dy) from the origin.
    void TickAt(CAutoScrollWnd* p, int dx, int dy)
    {
        const CPoint o = p->GetOrigin();
        PointerAt(o.x + dx, o.y + dy);
        p->SendMessage(WM_TIMER, CAutoScrollWnd::TIMER_ID);
    }
    static HCURSOR Cursor(UINT nID) { return ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(nID)); }

    CScrollTestView view;
};

TEST(AutoScrollDirectionTest, TheLongerOffsetDecidesAndSmallOffsetsAreNeutral)
{
    int d = 0;
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(0, 30, d), CAutoScrollWnd::DirDown);
    EXPECT_EQ(d, 30);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(5, -30, d), CAutoScrollWnd::DirUp);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(-31, 30, d), CAutoScrollWnd::DirLeft);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(40, 3, d), CAutoScrollWnd::DirRight);
    // Equal offsets count as vertical.
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(10, 10, d), CAutoScrollWnd::DirDown);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(0, 0, d), CAutoScrollWnd::DirNeutral);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(4, -4, d), CAutoScrollWnd::DirNeutral);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(0, 5, d), CAutoScrollWnd::DirDown);
    EXPECT_EQ(CAutoScrollWnd::ClassifyOffset(-5, 0, d), CAutoScrollWnd::DirLeft);
}

TEST_F(AutoScrollTest, AViewThatCannotScrollGetsNoBadge)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300));
    const size_t nWindows = AfxGetAllWindows().size();
    EXPECT_FALSE((new CAutoScrollWnd)->StartAutoScroll(&view));
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr);
    EXPECT_EQ(AfxGetAllWindows().size(), nWindows);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Its own bars, both disabled: the same.
    view.MakeOwnBars();
    view.m_barHorz.EnableWindow(FALSE);
    view.m_barVert.EnableWindow(FALSE);
    EXPECT_FALSE((new CAutoScrollWnd)->StartAutoScroll(&view));
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr);
}

TEST_F(AutoScrollTest, TheBadgeSitsAtThePointerWhichMovesUpAndLeft)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    PointerAt(200, 150);
    POINT before{0, 0};
    ::GetCursorPos(&before);
    ASSERT_TRUE((new CAutoScrollWnd)->StartAutoScroll(&view));
    CAutoScrollWnd* p = CAutoScrollWnd::GetActive();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetOrigin(), CPoint(185, 135));
    POINT now{0, 0};
    ::GetCursorPos(&now);
    EXPECT_EQ(now.x, before.x - 15);
    EXPECT_EQ(now.y, before.y - 15);
    CRect rc;
    p->GetWindowRect(&rc);
    EXPECT_EQ(rc, CRect(now.x, now.y, now.x + 30, now.y + 30));
    EXPECT_TRUE(p->IsWindowVisible());
    EXPECT_TRUE(p->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(p->GetStyle() & WS_POPUP);
    EXPECT_EQ(CWnd::GetCapture(), p);
    EXPECT_EQ(p->GetBitmapOffset(), 0) << "both directions scroll";
}

TEST_F(AutoScrollTest, TwentyThreePixelsAwayScrollNothingTwentyFourScrollEveryTick)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    p->KillTimer(CAutoScrollWnd::TIMER_ID); // the test ticks by hand
    view.log.clear();

    TickAt(p, 0, 23);
    EXPECT_TRUE(view.Scrolls().empty());
    EXPECT_EQ(p->GetDirection(), CAutoScrollWnd::DirDown);
    EXPECT_EQ(::GetCursor(), Cursor(IDC_AUTOSCROLL_DOWN));

    TickAt(p, 0, 24);
    TickAt(p, 2, 24);
    TickAt(p, 0, 47);
    using S = std::pair<UINT, UINT>;
    EXPECT_EQ(
        view.Scrolls(),
        (std::vector<S>{{WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_LINEDOWN}}));

    view.log.clear();
    TickAt(p, 3, -30);
    TickAt(p, -40, 10);
    TickAt(p, 25, -24);
    EXPECT_EQ(
        view.Scrolls(),
        (std::vector<S>{{WM_VSCROLL, SB_LINEUP}, {WM_HSCROLL, SB_LINELEFT}, {WM_HSCROLL, SB_LINERIGHT}}));
    EXPECT_EQ(::GetCursor(), Cursor(IDC_AUTOSCROLL_RIGHT));
    TickAt(p, -3, -30);
    EXPECT_EQ(::GetCursor(), Cursor(IDC_AUTOSCROLL_UP));
    TickAt(p, -30, 0);
    EXPECT_EQ(::GetCursor(), Cursor(IDC_AUTOSCROLL_LEFT));

    view.log.clear();
    TickAt(p, 4, -3);
    EXPECT_EQ(p->GetDirection(), CAutoScrollWnd::DirNeutral);
    EXPECT_EQ(::GetCursor(), Cursor(IDC_AUTOSCROLL_NEUTRAL));
    EXPECT_TRUE(view.Scrolls().empty());
}

TEST_F(AutoScrollTest, TheTimerKeepsScrollingWhileThePointerStaysAway)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL));
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetBitmapOffset(), 52) << "vertical only";
    const CPoint o = p->GetOrigin();
    PointerAt(o.x, o.y + 60);
    EXPECT_TRUE(WaitUntil([this] { return view.Scrolls().size() >= 3; }, "three scrolls of the timer"));
    for (const auto& [msg, code] : view.Scrolls()) {
        EXPECT_EQ(msg, WM_VSCROLL);
        EXPECT_EQ(code, static_cast<UINT>(SB_LINEDOWN));
    }
}

TEST_F(AutoScrollTest, ScrollMessagesCarryTheViewsOwnBar)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300));
    view.MakeOwnBars();
    view.m_barVert.EnableWindow(FALSE);
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetBitmapOffset(), 26) << "horizontal only";
    p->KillTimer(CAutoScrollWnd::TIMER_ID);
    view.log.clear();
    TickAt(p, 30, 0);
    const auto h = view.Messages(WM_HSCROLL);
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(h[0].lParam), view.m_barHorz.m_hWnd);
}

TEST_F(AutoScrollTest, AMiddleClickEndsItAndThePointerGoesBack)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    const HWND hBadge = p->m_hWnd;
    POINT before{0, 0};
    ::GetCursorPos(&before);
    p->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(10, 10));
    PumpEvents();
    EXPECT_FALSE(::IsWindow(hBadge));
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    POINT after{0, 0};
    ::GetCursorPos(&after);
    EXPECT_EQ(after.x, before.x + 15);
    EXPECT_EQ(after.y, before.y + 15);
    // A new middle click starts again.
    EXPECT_NE(Start(), nullptr);
}

TEST_F(AutoScrollTest, LosingTheFocusEndsIt)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    PumpEvents();
    ASSERT_EQ(CAutoScrollWnd::GetActive(), p) << "the badge keeps going while it has the focus";
    EXPECT_EQ(CWnd::GetFocus(), p);
    view.SetFocus();
    PumpEvents();
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr);
}

TEST_F(AutoScrollTest, AViewClosedUnderneathEndsItSafely)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL));
    ASSERT_NE(Start(), nullptr);
    view.DestroyWindow();
    EXPECT_TRUE(
        WaitUntil([] { return CAutoScrollWnd::GetActive() == nullptr; }, "the badge to go with its view"));
}

TEST_F(AutoScrollTest, TheBadgeShowsThePictureOfTheDirectionsThatScroll)
{
    ASSERT_TRUE(view.CreateTopLevel(400, 300, WS_POPUP | WS_VISIBLE | WS_HSCROLL));
    CAutoScrollWnd* p = Start();
    ASSERT_NE(p, nullptr);
    p->KillTimer(CAutoScrollWnd::TIMER_ID);
    p->Invalidate();
    p->UpdateWindow();
    QImage* pBuffer = AfxGetBackBuffer(p->m_hWnd);
    ASSERT_NE(pBuffer, nullptr);
    // Horizontal only: arrows at the left and right of the badge, none above or below.
    auto dark = [&](int x, int y) { return qGray(pBuffer->pixel(x, y)) < 60; };
    const int c = 2 + 13; // the picture starts 2 pixels in
    bool left = false, right = false, up = false, down = false;
    for (int d = 4; d <= 8; ++d) {
        left = left || dark(2 + d, c);
        right = right || dark(2 + 25 - d, c);
        up = up || dark(c, 2 + d);
        down = down || dark(c, 2 + 25 - d);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
    EXPECT_FALSE(up);
    EXPECT_FALSE(down);
}

// ---------------------------------------------------------------------------------------
// The colour button.
// ---------------------------------------------------------------------------------------
TEST(ColourButtonTest, RaisedTileInItsColourSinksWhenPressed)
{
    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateTopLevel(120, 80));
    CColourButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 50, 34), &parent, 1101));
    EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
    button.SetColour(RGB(255, 0, 0) | 0xFF000000);
    EXPECT_EQ(button.GetColour(), RGB(255, 0, 0));
    button.Invalidate();
    PumpEvents();
    QWidget* w = button.GetWidget();
    QImage img = Grab(w);
    // The tile spans (2, 2) to (37, 21): two pixels of edge, a frame, then the colour.
    EXPECT_EQ(img.pixel(2, 10) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(3, 3) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(36, 10) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(20, 20) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(4, 10) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF) << "framed in its colour";
    EXPECT_EQ(img.pixel(20, 12) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);

    // Pressed: dark edge top-left, light bottom-right, framed in the inverse colour.
    SendMouse(w, QEvent::MouseButtonPress, QPoint(20, 12), Qt::LeftButton, Qt::LeftButton);
    img = Grab(w);
    EXPECT_EQ(img.pixel(2, 10) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(36, 10) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(4, 10) & 0xFFFFFF, qRgb(0, 255, 255) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(20, 12) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);

    // Released: raised again, and the owner hears the click.
    SendMouse(w, QEvent::MouseButtonRelease, QPoint(20, 12), Qt::LeftButton, Qt::NoButton);
    PumpEvents();
    img = Grab(w);
    EXPECT_EQ(img.pixel(2, 10) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF);
    EXPECT_EQ(img.pixel(4, 10) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(parent.CommandCount(BN_CLICKED), 1);
    button.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace

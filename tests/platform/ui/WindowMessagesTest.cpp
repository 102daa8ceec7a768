// Windows and their messages: creation and destruction order, sent versus posted messages,
// timers, capture, focus and the relations between windows.
#include "platform/base/CException.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string>* g_events = nullptr;

void Note(const std::string& s)
{
    if (g_events)
        g_events->push_back(s);
}

class CNamedWnd : public CWnd {
public:
    explicit CNamedWnd(std::string name, bool deleteSelf = false)
        : m_name(std::move(name)), m_bDeleteSelf(deleteSelf)
    {
    }
    ~CNamedWnd() override { Note(m_name + ":deleted"); }

    std::string m_name;
    bool m_bDeleteSelf;
    bool m_bRefuseCreate = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        Note(m_name + ":create " + std::to_string(lpcs->cx) + "x" + std::to_string(lpcs->cy));
        return m_bRefuseCreate ? -1 : 0;
    }
    afx_msg void OnSize(UINT, int cx, int cy)
    {
        Note(m_name + ":size " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    afx_msg void OnDestroy() { Note(m_name + ":destroy"); }
    afx_msg void OnNcDestroy()
    {
        Note(m_name + ":ncdestroy");
        CWnd::OnNcDestroy();
    }
    void PostNcDestroy() override
    {
        if (m_bDeleteSelf)
            delete this;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNamedWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

class CTimerWnd : public CWnd {
public:
    std::vector<UINT_PTR> ticks;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        ticks.push_back(nIDEvent);
        if (ticks.size() == 3)
            KillTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerWnd, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

class WindowMessagesTest : public ::testing::Test {
protected:
    void SetUp() override { g_events = &events; }
    void TearDown() override
    {
        g_events = nullptr;
        PumpEvents();
    }
    std::vector<std::string> events;
};

} // namespace

TEST_F(WindowMessagesTest, CreateSendsCreateThenSizeWithTheClientSize)
{
    CNamedWnd wnd("w");
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 10, 20, 160, 90, nullptr, nullptr));
    EXPECT_EQ(events, (std::vector<std::string>{"w:create 160x90", "w:size 160x90"}));
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc, CRect(0, 0, 160, 90));
    events.clear();
    wnd.MoveWindow(0, 0, 200, 100);
    EXPECT_EQ(events, (std::vector<std::string>{"w:size 200x100"}))
        << "WM_SIZE comes at once, also when hidden";
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, BorderAndScrollBarsAreOutsideTheClientArea)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_CLIENTEDGE, nullptr, "w", WS_POPUP | WS_VSCROLL, 0, 0, 200, 100, nullptr,
                             nullptr));
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200 - 4 - ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(rc.Height(), 100 - 4);
    wnd.ShowScrollBar(SB_VERT, FALSE);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200 - 4);
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, CreateRefusedByOnCreateFailsAndLeavesNoWindow)
{
    CNamedWnd wnd("w");
    wnd.m_bRefuseCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(events.front(), "w:create 10x10");
    EXPECT_NE(std::find(events.begin(), events.end(), "w:ncdestroy"), events.end());
}

TEST_F(WindowMessagesTest, DestroyOrderParentFirstThenChildrenNcDestroyChildrenFirst)
{
    CNamedWnd parent("p");
    auto* child = new CNamedWnd("c", true);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child->Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 5));
    EXPECT_EQ(parent.GetDlgItem(5), child);
    EXPECT_EQ(child->GetParent(), &parent);
    HWND hChild = child->m_hWnd;
    events.clear();
    parent.DestroyWindow();
    EXPECT_EQ(events, (std::vector<std::string>{"p:destroy", "c:destroy", "c:ncdestroy", "c:deleted",
                                                "p:ncdestroy"}));
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(parent.m_hWnd, nullptr);
}

TEST_F(WindowMessagesTest, SentMessagesRunAtOncePostedOnesInOrderLater)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    PumpEvents();
    wnd.log.clear();
    EXPECT_TRUE(wnd.PostMessage(WM_USER + 1, 1, 0));
    EXPECT_TRUE(wnd.PostMessage(WM_USER + 2, 2, 0));
    wnd.SendMessage(WM_USER + 3, 3, 0);
    ASSERT_EQ(wnd.log.size(), 1u);
    EXPECT_EQ(wnd.log[0].message, WM_USER + 3);
    PumpEvents();
    std::vector<UINT> order;
    for (const auto& m : wnd.log) {
        if (m.message >= WM_USER && m.message <= WM_USER + 3)
            order.push_back(m.message);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 3, WM_USER + 1, WM_USER + 2}));
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, PostedMessagesToADestroyedWindowAreDropped)
{
    auto* wnd = new CRecorderWnd;
    ASSERT_TRUE(wnd->CreateTopLevel());
    HWND h = wnd->m_hWnd;
    EXPECT_TRUE(::PostMessage(h, WM_USER + 9, 0, 0));
    wnd->DestroyWindow();
    delete wnd;
    PumpEvents(); // must not reach the deleted object
    EXPECT_FALSE(::PostMessage(h, WM_USER + 9, 0, 0));
    EXPECT_EQ(::SendMessage(h, WM_USER + 9, 0, 0), 0);
}

TEST_F(WindowMessagesTest, TimersDeliverWmTimerUntilKilled)
{
    CTimerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.SetTimer(7, 10, nullptr), 7u);
    ASSERT_TRUE(WaitUntil([&] { return wnd.ticks.size() >= 3; }, "three ticks of the timer"));
    LetTimersRun(std::chrono::milliseconds(10));
    EXPECT_EQ(wnd.ticks, (std::vector<UINT_PTR>{7, 7, 7})) << "no tick after KillTimer";
    EXPECT_FALSE(wnd.KillTimer(7));
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, CaptureRedirectsMouseMessagesEvenWithoutAButton)
{
    CRecorderWnd a;
    CRecorderWnd b;
    ASSERT_TRUE(a.CreateTopLevel());
    ASSERT_TRUE(b.CreateEx(0, nullptr, "b", WS_POPUP | WS_VISIBLE, 400, 100, 100, 100, nullptr, nullptr));
    PumpEvents();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(a.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &a);
    a.log.clear();
    b.log.clear();
    // A movement over b, no button pressed: a gets it, in its own client coordinates.
    QWidget* bw = b.GetClientWidget();
    const QPoint global = bw->mapToGlobal(QPoint(5, 6));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), QPointF(global), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bw, &move);
    auto moves = a.Messages(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    POINT expected{global.x(), global.y()};
    a.ScreenToClient(&expected);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), expected.x);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), expected.y);
    EXPECT_TRUE(b.Messages(WM_MOUSEMOVE).empty());
    // Another window taking the capture tells the first one.
    b.SetCapture();
    EXPECT_EQ(a.Messages(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_TRUE(::ReleaseCapture());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(b.Messages(WM_CAPTURECHANGED).size(), 1u);
    a.DestroyWindow();
    b.DestroyWindow();
}

TEST_F(WindowMessagesTest, FocusMovesWithKillAndSetFocusMessages)
{
    CRecorderWnd top;
    ASSERT_TRUE(top.CreateTopLevel());
    CRecorderWnd a;
    CRecorderWnd b;
    ASSERT_TRUE(a.CreateEx(0, nullptr, "a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top.m_hWnd,
                           reinterpret_cast<HMENU>(1)));
    ASSERT_TRUE(b.CreateEx(0, nullptr, "b", WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, top.m_hWnd,
                           reinterpret_cast<HMENU>(2)));
    PumpEvents();
    a.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &a);
    ASSERT_FALSE(a.Messages(WM_SETFOCUS).empty());
    a.log.clear();
    b.log.clear();
    b.SetFocus();
    EXPECT_EQ(CWnd::GetFocus(), &b);
    ASSERT_EQ(a.Messages(WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(a.Messages(WM_KILLFOCUS)[0].wParam), b.m_hWnd);
    ASSERT_EQ(b.Messages(WM_SETFOCUS).size(), 1u);
    EXPECT_EQ(reinterpret_cast<HWND>(b.Messages(WM_SETFOCUS)[0].wParam), a.m_hWnd);
    top.DestroyWindow();
}

TEST_F(WindowMessagesTest, ChildWalkFollowsCreationOrderAndZOrderChanges)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd c1, c2, c3;
    ASSERT_TRUE(c1.Create(nullptr, "1", WS_CHILD, CRect(0, 0, 5, 5), &parent, 1));
    ASSERT_TRUE(c2.Create(nullptr, "2", WS_CHILD, CRect(0, 0, 5, 5), &parent, 2));
    ASSERT_TRUE(c3.Create(nullptr, "3", WS_CHILD, CRect(0, 0, 5, 5), &parent, 3));
    EXPECT_EQ(parent.GetWindow(GW_CHILD), &c1);
    EXPECT_EQ(c1.GetWindow(GW_HWNDNEXT), &c2);
    EXPECT_EQ(c3.GetWindow(GW_HWNDNEXT), nullptr);
    c3.BringWindowToTop();
    EXPECT_EQ(parent.GetWindow(GW_CHILD), &c3);
    EXPECT_EQ(c3.GetWindow(GW_HWNDNEXT), &c1);
    EXPECT_TRUE(parent.IsChild(&c2));
    EXPECT_FALSE(c1.IsChild(&c2));
    parent.DestroyWindow();
    EXPECT_EQ(c1.m_hWnd, nullptr);
}

TEST_F(WindowMessagesTest, WindowTextRoundTripsCp932AndCloseDestroys)
{
    CNamedWnd wnd("w");
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    const CString title = "見積処理 - ｱｲｳ\\"_sj;
    wnd.SetWindowText(title);
    CString back;
    wnd.GetWindowText(back);
    EXPECT_EQ(back, title);
    EXPECT_EQ(wnd.GetWindowTextLength(), title.GetLength());
    char small[4];
    // "見" is two bytes: a 4-byte buffer takes "見" and not half of "積".
    EXPECT_EQ(wnd.GetWindowText(small, 4), 2);
    EXPECT_EQ(std::string(small), std::string(title.Left(2)));
    EXPECT_EQ(wnd.GetWidget()->windowTitle(), QString::fromUtf8("見積処理 - ｱｲｳ¥"));
    events.clear();
    wnd.SendMessage(WM_CLOSE);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(events.front(), "w:destroy");
}

TEST_F(WindowMessagesTest, ShowAndEnableFollowStyleBits)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 1));
    EXPECT_FALSE(child.IsWindowVisible()) << "a child of a hidden window is not visible";
    parent.ShowWindow(SW_SHOW);
    EXPECT_TRUE(child.IsWindowVisible());
    EXPECT_FALSE(child.EnableWindow(FALSE));
    EXPECT_FALSE(child.IsWindowEnabled());
    EXPECT_TRUE(child.EnableWindow(TRUE)) << "returns that it was disabled before";
    parent.DestroyWindow();
}

namespace {

class CThrowingWnd : public CWnd {
protected:
    afx_msg LRESULT OnBoom(WPARAM, LPARAM)
    {
        throw CFileException(CFileException::fileNotFound, -1, "X.MTD");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
ON_MESSAGE(WM_USER + 20, OnBoom)
END_MESSAGE_MAP()

} // namespace

TEST_F(WindowMessagesTest, AFailureInAHandlerIsReportedAndDoesNotEscapeTheLoop)
{
    MessageBoxRecorder rec;
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    wnd.PostMessage(WM_USER + 20);
    PumpEvents();
    ASSERT_EQ(rec.entries.size(), 1u);
    EXPECT_NE(rec.entries[0].type & MB_ICONEXCLAMATION, 0u);
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, SubclassingTakesTheMessagesAndGivesThemBack)
{
    CRecorderWnd original;
    ASSERT_TRUE(original.CreateTopLevel());
    HWND h = original.m_hWnd;
    CRecorderWnd taker;
    ASSERT_TRUE(taker.SubclassWindow(h));
    EXPECT_EQ(CWnd::FromHandle(h), &taker);
    EXPECT_EQ(original.m_hWnd, nullptr);
    ::SendMessage(h, WM_USER + 4, 0, 0);
    EXPECT_EQ(taker.Messages(WM_USER + 4).size(), 1u);
    EXPECT_TRUE(original.Messages(WM_USER + 4).empty());
    EXPECT_EQ(taker.UnsubclassWindow(), h);
    EXPECT_EQ(CWnd::FromHandle(h), &original);
    EXPECT_EQ(original.m_hWnd, h);
    original.DestroyWindow();
}

TEST_F(WindowMessagesTest, ToolkitWindowsParentedToOursGetNoWindowMessages)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    // A toolkit dialog (as a file dialog is) over our window.
    auto* dialog = new QWidget(wnd.GetWidget(), Qt::Dialog); // goes with our window
    auto* edit = new QWidget(dialog);
    dialog->show();
    wnd.log.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QString(QChar(15)));
    QApplication::sendEvent(edit, &key);
    EXPECT_TRUE(wnd.Messages(WM_KEYDOWN).empty());
    EXPECT_TRUE(wnd.Messages(WM_CHAR).empty());
    wnd.DestroyWindow();
}

TEST_F(WindowMessagesTest, EllipticRegionShapesTheWindowAndCenteringUsesTheScreen)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "r", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateEllipticRgn(0, 0, 100, 50));
    EXPECT_TRUE(wnd.SetWindowRgn(rgn, TRUE));
    const QRegion mask = wnd.GetWidget()->mask();
    EXPECT_TRUE(mask.contains(QPoint(50, 25)));
    EXPECT_FALSE(mask.contains(QPoint(1, 1))) << "the corner is outside the ellipse";
    wnd.SetWindowRgn(nullptr, TRUE);
    EXPECT_TRUE(wnd.GetWidget()->mask().isEmpty());

    wnd.CenterWindow();
    CRect rc;
    wnd.GetWindowRect(&rc);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rc.left, (cx - 100) / 2);
    EXPECT_EQ(rc.top, (cy - 50) / 2);
    wnd.DestroyWindow();
}

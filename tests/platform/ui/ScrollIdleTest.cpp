// A window's own scroll bars, the idle-time update pass, dropped files and timer callbacks.
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WinApi.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QMimeData>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

namespace {

QScrollBar* BarOf(CWnd& wnd, int nBar)
{
    CWndState* p = AfxGetWndState(wnd.m_hWnd);
    return p && p->frame ? p->frame->ScrollBar(nBar) : nullptr;
}

} // namespace

TEST(ScrollBarTest, RangeShowsTheBarAndPositionStaysInsideIt)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "s", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 100, nullptr, nullptr));
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    wnd.SetScrollInfo(SB_VERT, &si);
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200) << "nothing to scroll: the bar goes";
    wnd.log.clear();
    si = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 95, 0};
    wnd.SetScrollInfo(SB_VERT, &si);
    wnd.GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), 200 - ::GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(wnd.Messages(WM_SIZE).size(), 1u) << "the client area shrank";
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 80) << "the last page starts at 80";
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 80);
    EXPECT_EQ(wnd.SetScrollPos(SB_VERT, -5), 80);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
    int nMin = -1, nMax = -1;
    wnd.GetScrollRange(SB_VERT, &nMin, &nMax);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 99);
    wnd.DestroyWindow();
}

TEST(ScrollBarTest, ClickingTheBarSendsScrollCodesAndTheWindowMovesIt)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "s", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 100, nullptr, nullptr));
    wnd.SetScrollRange(SB_VERT, 0, 50);
    wnd.SetScrollPos(SB_VERT, 10);
    QScrollBar* pBar = BarOf(wnd, SB_VERT);
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->isVisible());
    EXPECT_EQ(pBar->value(), 10);
    wnd.log.clear();
    pBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    auto v = wnd.Messages(WM_VSCROLL);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(v[0].wParam)), SB_LINEDOWN);
    EXPECT_EQ(v[0].lParam, 0) << "the window's own bar, not a control";
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 10) << "the window decides the new position";
    EXPECT_EQ(pBar->value(), 10);
    pBar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(LOWORD(static_cast<DWORD>(wnd.Messages(WM_VSCROLL).back().wParam)), SB_PAGEUP);
    wnd.DestroyWindow();
}

namespace {

class CIdleApp : public CWinApp {
public:
    int idleCalls = 0;
    BOOL OnIdle(LONG lCount) override
    {
        if (lCount == 0)
            ++idleCalls;
        return CWinApp::OnIdle(lCount);
    }
};

} // namespace

TEST(IdleTest, EmptyQueueRunsTheUpdatePassOnTheMainWindow)
{
    CIdleApp app;
    CRecorderWnd main;
    ASSERT_TRUE(main.CreateTopLevel());
    CRecorderWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "c", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, main.m_hWnd,
                               reinterpret_cast<HMENU>(1)));
    app.m_pMainWnd = &main;
    main.log.clear();
    child.log.clear();
    main.PostMessage(WM_USER + 1);
    // The idle pass comes when the loop has nothing left and is about to sleep: short loops
    // run until one of them went to sleep.
    EXPECT_TRUE(WaitUntil(
        [&] {
            QEventLoop loop;
            QTimer::singleShot(5, &loop, &QEventLoop::quit);
            loop.exec();
            return app.idleCalls >= 1;
        },
        "the loop to run the idle pass"));
    EXPECT_FALSE(main.Messages(WM_IDLEUPDATECMDUI).empty());
    EXPECT_FALSE(child.Messages(WM_IDLEUPDATECMDUI).empty()) << "the bars inside the main window too";
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST(IdleTest, DestroyingTheMainWindowEndsTheLoop)
{
    CWinApp app;
    auto* main = new CRecorderWnd;
    ASSERT_TRUE(main->CreateTopLevel());
    app.m_pMainWnd = main;
    main->PostMessage(WM_CLOSE);
    int exitCode = -1;
    // Only ends a loop the quit never reached; it goes with the test.
    QObject safetyNet;
    QTimer::singleShot(kEventWaitLimit, &safetyNet, [] { QCoreApplication::exit(99); });
    exitCode = QCoreApplication::exec();
    EXPECT_EQ(exitCode, 0) << "WM_CLOSE destroyed the main window, which posted the quit";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(main->m_hWnd, nullptr);
    delete main;
}

TEST(DropFilesTest, FilesDroppedOnAnAcceptingWindowArriveAsWmDropFiles)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("見積.MMD"), {1, 2, 3});
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    wnd.DragAcceptFiles(TRUE);
    CRecorderWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "c", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, wnd.m_hWnd,
                               reinterpret_cast<HMENU>(1)));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.NativeFile("見積.MMD")))});
    // A drag enters the child (the accepting parent takes it), then drops.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(child.GetClientWidget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(child.GetClientWidget(), &drop);
    PumpEvents();
    auto drops = wnd.Messages(WM_DROPFILES);
    ASSERT_EQ(drops.size(), 1u) << "the accepting parent gets the files dropped on its child";
    HANDLE hDrop = reinterpret_cast<HANDLE>(drops[0].wParam);
    ASSERT_EQ(DragQueryFile(hDrop, 0xFFFFFFFF, nullptr, 0), 1u);
    const UINT len = DragQueryFile(hDrop, 0, nullptr, 0);
    std::vector<char> buf(len + 1);
    EXPECT_EQ(DragQueryFile(hDrop, 0, buf.data(), len + 1), len);
    EXPECT_EQ(CString(buf.data()), SystemPathFromNative(dir.NativeFile("見積.MMD")));
    DragFinish(hDrop);
    wnd.DestroyWindow();
}

namespace {
std::vector<UINT_PTR> g_timerCalls;
void CALLBACK_TimerProc(HWND, UINT nMsg, UINT_PTR nID, DWORD)
{
    if (nMsg == WM_TIMER)
        g_timerCalls.push_back(nID);
}
} // namespace

TEST(TimerTest, TimerProcIsCalledInsteadOfTheWindow)
{
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.CreateTopLevel());
    g_timerCalls.clear();
    wnd.SetTimer(3, 10, CALLBACK_TimerProc);
    ASSERT_TRUE(WaitUntil([] { return !g_timerCalls.empty(); }, "the timer to call its procedure"));
    wnd.KillTimer(3);
    EXPECT_EQ(g_timerCalls.front(), 3u);
    EXPECT_TRUE(wnd.Messages(WM_TIMER).empty());
    wnd.DestroyWindow();
}

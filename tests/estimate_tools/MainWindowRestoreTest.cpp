// The main window on a real X display with a window manager (tests/support/run_on_xvfb.sh runs
// this under Xvfb with openbox): it opens maximised, and restored from maximised it stands
// inside the work area with the frame the window manager draws around it, its status bar on
// the screen. Without an X display (the ordinary offscreen test run) the test skips itself.
#include "estimate/EstimateRegistration.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/EventWait.h"

#include <QScreen>
#include <QStatusBar>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

bool OnXDisplay()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform != nullptr && std::string(platform) == "xcb" && display != nullptr && *display != '\0';
}

// The program started as it starts, without the tests' usual window size.
class MainWindowRestore : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        if (!OnXDisplay())
            GTEST_SKIP() << "needs an X display with a window manager (run_on_xvfb.sh ... openbox)";
        m_pFolder = std::make_unique<CEstimateTestFolder>();
        RegisterEstimate();
        m_pApp = std::make_unique<CMorvelApp>();
        m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
        ASSERT_TRUE(m_pApp->InitInstance());
        ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    }
};

std::string Describe(const QRect& rc)
{
    return std::to_string(rc.width()) + "x" + std::to_string(rc.height()) + " at " + std::to_string(rc.x()) +
           "," + std::to_string(rc.y());
}

} // namespace

TEST_F(MainWindowRestore, RestoredFromMaximisedTheWindowAndItsStatusBarFitTheWorkArea)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    ASSERT_NE(pTop->screen(), nullptr);
    const QRect area = pTop->screen()->availableGeometry();
    // The window manager answers in its own time: maximised, its frame over the work area.
    ASSERT_TRUE(WaitUntil(
        [&] {
            return pTop->isMaximized() && pTop->frameGeometry() != pTop->geometry() &&
                   pTop->frameGeometry() == area;
        },
        "the window manager to maximise the main window with its frame over the work area"));
    // All the window manager did to the maximised window has come in, as before a person
    // clicks the restore button: every event handled, and a round trip to the X server.
    DrainEventsAndSync();
    const QRect maximised = pTop->geometry();

    pTop->showNormal(); // what the window manager's restore button asks for
    ASSERT_TRUE(WaitUntil([&] { return !pTop->isMaximized() && pTop->geometry() != maximised; },
                          "the window manager to restore the main window"));
    // The window manager places the restored window, the program fits it into the work area,
    // and the window manager places it again. Where the window and its status bar are is what
    // the X server last reported (the widget's own geometry is what the program last asked
    // for, ahead of the window manager).
    const QWindow* pWindow = pTop->windowHandle();
    ASSERT_NE(pWindow, nullptr);
    const auto frame = [pWindow] { return pWindow->frameGeometry(); };
    const QStatusBar* pStatus = pTop->findChild<QStatusBar*>();
    ASSERT_NE(pStatus, nullptr);
    const auto status = [pStatus] { return QRect(pStatus->mapToGlobal(QPoint(0, 0)), pStatus->size()); };
    ASSERT_TRUE(WaitUntil([&] { return area.contains(frame()) && area.contains(status()); },
                          "the restored window and its status bar to fit the work area"))
        << "frame " << Describe(frame()) << ", status bar " << Describe(status()) << " in " << Describe(area);
    // Nothing more on its way: every event handled, and a round trip to the X server.
    DrainEventsAndSync();
    EXPECT_TRUE(area.contains(frame())) << "frame " << Describe(frame()) << " in " << Describe(area);
    EXPECT_TRUE(area.contains(status())) << "status bar " << Describe(status()) << " in " << Describe(area);
    // The window is still a large one: most of the work area.
    EXPECT_GT(frame().width() * 10, area.width() * 9);
    EXPECT_GT(frame().height() * 10, area.height() * 9);
}

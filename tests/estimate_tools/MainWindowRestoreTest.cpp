// The main window on a real X display with a window manager (tests/support/run_on_xvfb.sh runs
// this under Xvfb with openbox): it opens maximised, and restored from maximised it stands
// inside the work area with the frame the window manager draws around it, its status bar on
// the screen. Without an X display (the ordinary offscreen test run) the test skips itself.
#include "estimate/EstimateRegistration.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
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

    // Runs the event loop (the window manager answers in its own time) until pred holds.
    static bool PumpUntil(const std::function<bool()>& pred, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!pred() && t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return pred();
    }
};

} // namespace

TEST_F(MainWindowRestore, RestoredFromMaximisedTheWindowAndItsStatusBarFitTheWorkArea)
{
    QWidget* pTop = m_pApp->m_pMainWnd->GetWidget();
    ASSERT_NE(pTop->screen(), nullptr);
    const QRect area = pTop->screen()->availableGeometry();
    // Maximised and framed by the window manager.
    ASSERT_TRUE(PumpUntil([&] { return pTop->isMaximized() && pTop->frameGeometry() != pTop->geometry(); }));
    PumpUntil([] { return false; }, 500);
    const QRect maximised = pTop->geometry();

    pTop->showNormal(); // what the window manager's restore button asks for
    ASSERT_TRUE(PumpUntil([&] { return !pTop->isMaximized() && pTop->geometry() != maximised; }));
    // The window manager and the program may go on placing it for a moment.
    PumpUntil([] { return false; }, 500);
    EXPECT_TRUE(area.contains(pTop->frameGeometry()))
        << "frame " << pTop->frameGeometry().width() << "x" << pTop->frameGeometry().height() << " at "
        << pTop->frameGeometry().x() << "," << pTop->frameGeometry().y() << " in " << area.width() << "x"
        << area.height();
    const QStatusBar* pStatus = pTop->findChild<QStatusBar*>();
    ASSERT_NE(pStatus, nullptr);
    const QRect status(pStatus->mapToGlobal(QPoint(0, 0)), pStatus->size());
    EXPECT_TRUE(area.contains(status));
    // The window is still a large one: most of the work area.
    EXPECT_GT(pTop->frameGeometry().width() * 10, area.width() * 9);
    EXPECT_GT(pTop->frameGeometry().height() * 10, area.height() * 9);
}

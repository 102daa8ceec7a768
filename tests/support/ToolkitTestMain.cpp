// The main of the test programs whose tests make real windows: a Qt application on the
// offscreen platform (no display needed) for the whole run, then the tests. Another platform
// can be chosen through QT_QPA_PLATFORM to watch the tests; sound is off. The machine's
// printers are hidden whatever the environment says: a test that wants printers sets up
// its own (tests/support/TestPrinterSystem.h), so that no test depends on the printers a
// machine has or on a scheduler that comes and goes during the run.
#include "platform/ui/core/CWndManager_p.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

#include <cstdlib>
#include <gtest/gtest.h>

// The sanitizers' leak check finds the thread-local blocks of libraries loaded at run time
// (Qt's plugins) by a guess at the C library's layout, which a block that happens to start
// 16 bytes into a page defeats (a known fault of the sanitizer runtime): it then reads far
// outside the block and dies after every test has passed. Those blocks are left out of its
// search; leaks are still found everywhere else.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

namespace {

// A test that closes the program's main window posts the quit that ends the program's event
// loop. With no such loop running, the toolkit keeps the quit pending, and every modal loop
// after it (dialogs, message boxes, the preview) would return at once, in whatever test runs
// next. After each test, an application loop of its own takes what the test left posted
// (that quit among it) and ends, which clears the pending quit, as the program's end would.
class PendingQuitEnder : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        // The timer goes with its context, so that it cannot end a loop of the next test.
        QObject context;
        QTimer::singleShot(0, &context, [] { QCoreApplication::exit(0); });
        QApplication::exec();
    }
};

// The tests' keys are sent to the windows without a keyboard behind them: the toolkit takes
// the modifiers of every key pressed that way as the keyboard's, and keeps them until a key
// from the keyboard says otherwise, which never comes. The next test's first mouse event
// from the window system carries them, and the program takes Shift or Ctrl as held (a
// click that extends a selection instead of starting one). After each test the keyboard is
// let go: the toolkit hears a key released with no modifier held, as from the keyboard, and
// the program's key state goes back to no key down.
class KeyboardLetGo : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&release);
        QCoreApplication::instance()->notify(QCoreApplication::instance(), &release);
        if (CWndManager* pManager = CWndManager::InstanceIfReady())
            pManager->m_keyDown.fill(false);
    }
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MORVEL_NO_SOUND", "1", 0);
    setenv("MORVEL_PRINTER", "pdf", 1);
    ::testing::InitGoogleTest(&argc, argv);
    KeepTheWorkingFolderOfEveryTest();
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new PendingQuitEnder);
    ::testing::UnitTest::GetInstance()->listeners().Append(new KeyboardLetGo);
    return RUN_ALL_TESTS();
}

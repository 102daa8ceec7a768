// The main window on a real X display with a window manager (tests/support/run_on_xvfb.sh runs
// this under Xvfb with openbox): it opens maximised, and restored from maximised it stands
// inside the work area with the frame the window manager draws around it, its status bar on
// the screen. Without an X display (the ordinary offscreen test run) the test skips itself.
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/XDisplay.h"

#include "platform/ui/core/WinDefs.h"
#include "platform/ui/dialogs/MessageBoxUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(MORVEL_HAVE_XCB)
#include <xcb/xcb.h>

#include <cstring>
#endif

namespace {

std::string Describe(const QRect& rc)
{
    return std::to_string(rc.width()) + "x" + std::to_string(rc.height()) + " at " + std::to_string(rc.x()) +
           "," + std::to_string(rc.y());
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
        RegisterEstimateTools();
        m_pApp = std::make_unique<CMorvelApp>();
        m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
        ASSERT_TRUE(m_pApp->InitInstance());
        ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
        m_pTop = m_pApp->m_pMainWnd->GetWidget();
    }

    // The window manager answers in its own time: maximised, its frame over the work area.
    // All it did to the maximised window has then come in, as before a person clicks the
    // restore button: every event handled, and a round trip to the X server.
    void WaitMaximised()
    {
        ASSERT_NE(m_pTop->screen(), nullptr);
        m_area = m_pTop->screen()->availableGeometry();
        ASSERT_TRUE(WaitUntil(
            [this] {
                return m_pTop->isMaximized() && m_pTop->frameGeometry() != m_pTop->geometry() &&
                       m_pTop->frameGeometry() == m_area;
            },
            "the window manager to maximise the main window with its frame over the work area"));
        DrainEventsAndSync();
    }

    // Where the window and its status bar are is what the X server last reported (the
    // widget's own geometry is what the program last asked for, ahead of the window manager).
    QRect Frame() const { return m_pTop->windowHandle()->frameGeometry(); }
    QRect StatusBar() const
    {
        const QStatusBar* pStatus = m_pTop->findChild<QStatusBar*>();
        return pStatus ? QRect(pStatus->mapToGlobal(QPoint(0, 0)), pStatus->size()) : QRect();
    }

    // The window manager places the restored window, the program fits it into the work area,
    // and the window manager places it again: in the end the window and its status bar stand
    // in the work area, the window still most of it, and nothing more is on its way.
    void ExpectRestoredToFit()
    {
        ASSERT_TRUE(WaitUntil([this] { return m_area.contains(Frame()) && m_area.contains(StatusBar()); },
                              "the restored window and its status bar to fit the work area"))
            << "frame " << Describe(Frame()) << ", status bar " << Describe(StatusBar()) << " in "
            << Describe(m_area);
        DrainEventsAndSync();
        EXPECT_FALSE(m_pTop->isMaximized());
        EXPECT_TRUE(m_area.contains(Frame())) << "frame " << Describe(Frame()) << " in " << Describe(m_area);
        EXPECT_TRUE(m_area.contains(StatusBar()))
            << "status bar " << Describe(StatusBar()) << " in " << Describe(m_area);
        EXPECT_GT(Frame().width() * 10, m_area.width() * 9);
        EXPECT_GT(Frame().height() * 10, m_area.height() * 9);
    }

    QWidget* m_pTop = nullptr;
    QRect m_area;
};

#if defined(MORVEL_HAVE_XCB)
xcb_atom_t Atom(xcb_connection_t* c, const char* lpszName)
{
    xcb_intern_atom_reply_t* pReply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(lpszName)), lpszName), nullptr);
    const xcb_atom_t a = pReply != nullptr ? pReply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(pReply);
    return a;
}

// A window property of 32-bit values (atoms, cardinals) as the X server holds it.
std::vector<uint32_t> Values(WId window, const char* lpszProperty)
{
    auto* pX11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (pX11 == nullptr)
        return {};
    xcb_connection_t* c = pX11->connection();
    xcb_get_property_reply_t* pReply =
        xcb_get_property_reply(c,
                               xcb_get_property(c, 0, static_cast<xcb_window_t>(window),
                                                Atom(c, lpszProperty), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                               nullptr);
    std::vector<uint32_t> values;
    if (pReply != nullptr) {
        const auto* p = static_cast<const uint32_t*>(xcb_get_property_value(pReply));
        values.assign(p, p + xcb_get_property_value_length(pReply) / 4);
        std::free(pReply);
    }
    return values;
}

// The names of the atoms of a window property, without the prefix given.
std::vector<std::string> AtomNames(WId window, const char* lpszProperty, const std::string& prefix)
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    std::vector<std::string> names;
    for (uint32_t atom : Values(window, lpszProperty)) {
        xcb_get_atom_name_reply_t* pName = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
        if (pName != nullptr) {
            std::string name(xcb_get_atom_name_name(pName),
                             static_cast<size_t>(xcb_get_atom_name_name_length(pName)));
            if (name.rfind(prefix, 0) == 0)
                names.push_back(name.substr(prefix.size()));
            std::free(pName);
        }
    }
    return names;
}
#endif

} // namespace

// Dialogs of every kind show a caption and a close box, no minimise and no maximise box, and
// tell the window manager what they are: a dialog, nothing else. Openbox, which would give a
// dialog the buttons of a main window, draws only the border; the caption is the program's.
// The window manager lets the user move and close them.
TEST_F(MainWindowRestore, DialogsAreTypedAsDialogsAndShowACaptionWithACloseBoxOnly)
{
#if !defined(MORVEL_HAVE_XCB)
    GTEST_SKIP() << "needs the X connection library";
#else
    // Each dialog, once the window manager has taken it: what it is and shows, then the
    // dialog is closed through its close box (or, when the manager never answers within
    // the wait limit, all the same).
    struct CSeen {
        std::string title;
        std::vector<std::string> types, actions;
        std::vector<uint32_t> extents; // left, right, top, bottom
        int nCaptionButtons = -1;
        int nUnderCaption = 0; // the dialog's own widgets the caption covers
    };
    std::vector<CSeen> seen;
    QElapsedTimer clock;
    QObject timers; // the checks still waiting go with it
    std::function<void()> inspect = [&] {
        QWidget* pDialog = QApplication::activeModalWidget();
        CSeen s;
        if (pDialog != nullptr) {
            s.actions = AtomNames(pDialog->winId(), "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_");
            s.extents = Values(pDialog->winId(), "_NET_FRAME_EXTENTS");
        }
        if ((s.actions.empty() || s.extents.size() != 4) && clock.elapsed() < kEventWaitLimit.count()) {
            QTimer::singleShot(20, &timers, inspect);
            return;
        }
        if (pDialog != nullptr) {
            s.title = pDialog->windowTitle().toStdString();
            s.types = AtomNames(pDialog->winId(), "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_");
            if (auto* pCaption = pDialog->findChild<QWidget*>(QStringLiteral("morvelDialogCaption"))) {
                s.nCaptionButtons = pCaption->isVisible()
                                        ? static_cast<int>(pCaption->findChildren<QToolButton*>().size())
                                        : 0;
                for (QWidget* pChild : pDialog->findChildren<QWidget*>()) {
                    const QRect shown(pChild->mapTo(pDialog, QPoint(0, 0)), pChild->size());
                    s.nUnderCaption += pChild->isVisible() && pChild != pCaption &&
                                       !pCaption->isAncestorOf(pChild) &&
                                       shown.intersects(pCaption->geometry());
                }
            }
            QToolButton* pClose =
                pDialog->findChild<QToolButton*>(QStringLiteral("morvelDialogCaptionClose"));
            seen.push_back(s);
            if (pClose != nullptr)
                pClose->click();
            else
                pDialog->close();
        } else {
            seen.push_back(s);
        }
    };
    const auto run = [&](const std::function<void()>& open) {
        clock.start();
        QTimer::singleShot(0, &timers, inspect);
        open();
    };
    CWnd* pMain = m_pApp->m_pMainWnd;
    run([&] { pMain->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); }); // a dialog of the program
    run([&] { AfxShowMessageBox(pMain, "?", "Morvel", MB_OKCANCEL | MB_ICONQUESTION); });
    run([&] { pMain->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0); }); // the file dialog
    // A property sheet, with its tabs: 科目No.設定 of an estimate.
    RegisterEstimateDialogs();
    CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
    ASSERT_NE(OpenSample(), nullptr);
    run([&] { pMain->SendMessage(WM_COMMAND, ID_SUBJECT_NO, 0); });
    ASSERT_EQ(seen.size(), 4u);
    for (const CSeen& s : seen) {
        SCOPED_TRACE(s.title);
        ASSERT_FALSE(s.types.empty());
        EXPECT_EQ(s.types.front(), "DIALOG");
        EXPECT_EQ(std::find(s.types.begin(), s.types.end(), "TOOLBAR"), s.types.end());
        EXPECT_NE(std::find(s.actions.begin(), s.actions.end(), "CLOSE"), s.actions.end());
        EXPECT_NE(std::find(s.actions.begin(), s.actions.end(), "MOVE"), s.actions.end());
        // The window manager's frame is a border all round, with no title bar of its own.
        ASSERT_EQ(s.extents.size(), 4u);
        EXPECT_EQ(s.extents[2], s.extents[0]);
        EXPECT_EQ(s.nCaptionButtons, 1) << "the caption holds the close box alone";
        EXPECT_EQ(s.nUnderCaption, 0) << "the caption covers none of the dialog";
    }
#endif
}

TEST_F(MainWindowRestore, RestoredFromMaximisedTheWindowAndItsStatusBarFitTheWorkArea)
{
    WaitMaximised();
    const QRect maximised = m_pTop->geometry();
    m_pTop->showNormal(); // what the window manager's restore button asks for
    ASSERT_TRUE(WaitUntil([&] { return !m_pTop->isMaximized() && m_pTop->geometry() != maximised; },
                          "the window manager to restore the main window"));
    ExpectRestoredToFit();

    // Moved partly past the right edge (as the user drags it), the window stays there: the
    // program does not pull it back into the work area.
    const QRect fitted = Frame();
    m_pTop->move(fitted.topLeft() + QPoint(m_area.width() / 4, 0));
    ASSERT_TRUE(WaitUntil([&] { return Frame().topLeft() != fitted.topLeft(); },
                          "the window manager to move the window"));
    DrainEventsAndSync();
    EXPECT_GT(Frame().right(), m_area.right()) << "frame " << Describe(Frame()) << " in " << Describe(m_area);
}

// The program held up (as on a loaded machine) right after it asks for the restore: what
// the window manager did meanwhile (restored, placed and framed the window) comes in all
// together, long after the ask.
TEST_F(MainWindowRestore, RestoredWhileTheProgramIsHeldUpTheWindowAndItsStatusBarFitTheWorkArea)
{
    WaitMaximised();
    m_pTop->showNormal();
    QThread::msleep(1500);
    ExpectRestoredToFit();
}

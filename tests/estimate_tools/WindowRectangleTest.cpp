// Windows under a window manager on a real X display (tests/support/run_on_xvfb.sh runs these
// under Xvfb with openbox): the rectangle a window reports is the one it is placed at, so a
// window that keeps its rectangle opens where and as large as it was closed. Without an X
// display the tests skip themselves.
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "resources/EstimateCommandIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/XDisplay.h"

#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string Describe(const CRect& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom);
}

class WindowRectangle : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        if (!OnXDisplay())
            GTEST_SKIP() << "needs an X display with a window manager (run_on_xvfb.sh ... openbox)";
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    // Until the window manager has framed the window and every answer of the X server is in:
    // where the window stands then is where the user sees it.
    static void WaitFramed(QWidget* pWindow)
    {
        ASSERT_TRUE(WaitUntil(
            [pWindow] {
                return pWindow->windowHandle() != nullptr && pWindow->windowHandle()->isExposed() &&
                       pWindow->frameGeometry() != pWindow->geometry();
            },
            "the window manager to frame the window"));
        DrainEventsAndSync();
    }

    // Put back where it stands, ten times over, the window stays there and as large.
    static void ExpectPlacedWhereItStands(CWnd& wnd)
    {
        CRect rcFirst;
        wnd.GetWindowRect(&rcFirst);
        for (int i = 0; i < 10; ++i) {
            CRect rc;
            wnd.GetWindowRect(&rc);
            if (CWnd* pParent = wnd.GetParent(); pParent != nullptr && (wnd.GetStyle() & WS_CHILD))
                pParent->ScreenToClient(&rc);
            wnd.MoveWindow(&rc);
            // A top-level window is where the X server says once the window manager has
            // placed it (a window placed elsewhere never gets there: the wait ends then).
            if (QWidget* w = wnd.GetWidget(); w->isWindow()) {
                const QRect asked(rc.left, rc.top, rc.Width(), rc.Height());
                (void)WaitUntil([&] { return w->windowHandle()->geometry() == asked; }, "the window placed",
                                std::chrono::seconds(2));
            }
            DrainEventsAndSync();
        }
        CRect rcLast;
        wnd.GetWindowRect(&rcLast);
        EXPECT_EQ(Describe(rcFirst), Describe(rcLast));
    }
};

} // namespace

// The parts selection list (a parts search column, "*", Enter) keeps its rectangle when it
// closes and takes it when it opens: opened and closed ten times, it stands where it stood.
TEST_F(WindowRectangle, ThePartsListOpensWhereAndAsLargeAsItWasClosed)
{
    m_pDoc->m_EstimationForm.SetItem(scSpec, CEstimationFormFile::colT, "5");
    m_pView->SetupFromDocument();
    const std::string parts = NativePath(m_pView->GetCurrentPartFile());
    const std::string sample = std::string(MORVEL_SOURCE_DIR) + "/samples/WORK/部材処理.MBD";
    if (!std::filesystem::exists(parts))
        std::filesystem::copy_file(sample, parts);
    m_pApp->WriteProfileString("List Control Setting", "Part List Rect", "563,363,1036,634");

    CDialogAnswerer answerer;
    std::vector<std::string> shown, kept;
    for (int i = 0; i < 10; ++i) {
        answerer.AnswerDialog(IDD_SELECT_LIST, [&](CDialog& dlg) {
            WaitFramed(dlg.GetWidget());
            // Where the X server has the window, inside the window manager's border.
            const QRect g = dlg.GetWidget()->windowHandle()->geometry();
            shown.push_back(Describe(CRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height())));
            // MORVEL_WINDOW_SHOTS=<folder>: the screen as the list opens the last time.
            if (const char* shots = std::getenv("MORVEL_WINDOW_SHOTS"); shots != nullptr && i == 9)
                EXPECT_EQ(
                    0, std::system(("import -window root " + std::string(shots) + "/partslist.png").c_str()));
            dlg.SendMessage(WM_COMMAND, IDCANCEL, 0); // Esc
        });
        GoTo(scSpec, srFirstDetail);
        TypeUtf8("*");
        Key(VK_RETURN);
        kept.push_back(m_pApp->GetProfileString("List Control Setting", "Part List Rect", "").str());
    }
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ(std::vector<std::string>(10, "563,363,1036,634"), shown);
    EXPECT_EQ(std::vector<std::string>(10, "563,363,1036,634"), kept);
}

// The main window and a document window, each put back at the rectangle it reports, stay.
TEST_F(WindowRectangle, TheMainWindowAndADocumentWindowStayWherePlaced)
{
    CWnd* pMain = m_pApp->m_pMainWnd;
    ASSERT_NE(pMain, nullptr);
    pMain->ShowWindow(SW_RESTORE);
    WaitFramed(pMain->GetWidget());
    pMain->MoveWindow(100, 80, 1000, 700);
    DrainEventsAndSync();
    {
        SCOPED_TRACE("main window");
        ExpectPlacedWhereItStands(*pMain);
    }
    CFrameWnd* pChild = m_pView->GetParentFrame();
    ASSERT_NE(pChild, nullptr);
    pChild->ShowWindow(SW_RESTORE);
    DrainEventsAndSync();
    pChild->MoveWindow(30, 20, 600, 400);
    DrainEventsAndSync();
    {
        SCOPED_TRACE("document window");
        CRect rc;
        pChild->GetWindowRect(&rc);
        pChild->GetParent()->ScreenToClient(&rc);
        EXPECT_EQ("30,20,630,420", Describe(rc));
        ExpectPlacedWhereItStands(*pChild);
    }
}

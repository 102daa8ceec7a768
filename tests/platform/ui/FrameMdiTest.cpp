// The MDI main frame and its document windows: command routing, menus per document type,
// the child walk in activation order, titles, accelerators and closing.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/ole/DropFiles_p.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// What a command's update leaves: enabled or not, checked or not.
class CProbeCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetText(LPCTSTR) override {}
};

CProbeCmdUI UpdateOf(CCmdTarget* pTarget, UINT nID)
{
    CProbeCmdUI state;
    state.m_nID = nID;
    state.DoUpdate(pTarget, TRUE);
    return state;
}

// The texts of the menu bar's entries.
std::vector<std::string> MenuBarTitles(CFrameWnd* pFrame)
{
    std::vector<std::string> titles;
    auto* pMain = qobject_cast<QMainWindow*>(pFrame->GetWidget());
    if (!pMain || !pMain->menuWidget())
        return titles;
    for (QAction* a : pMain->menuBar()->actions())
        titles.push_back(a->text().toStdString());
    return titles;
}

CString WindowText(CWnd* pWnd)
{
    CString s;
    pWnd->GetWindowText(s);
    return s;
}

} // namespace

TEST(FrameMdiTest, CommandsRouteViewDocumentChildMainApplication)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.Main(), nullptr);
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);

    // Each command is handled by the first level of the route that has a handler for it.
    const std::pair<UINT, const char*> expected[] = {
        {ID_TEST_FROM_VIEW, "view"}, {ID_TEST_FROM_DOC, "doc"}, {ID_TEST_FROM_CHILD, "child"},
        {ID_TEST_FROM_MAIN, "main"}, {ID_TEST_FROM_APP, "app"},
    };
    for (const auto& [nID, level] : expected) {
        RouteLog().clear();
        env.Main()->SendMessage(WM_COMMAND, nID, 0);
        ASSERT_EQ(RouteLog().size(), 1u) << nID;
        EXPECT_EQ(RouteLog()[0], std::string(level) + ":" + std::to_string(nID));
    }

    // A command nobody handles goes nowhere and its menu item is disabled; one whose update
    // handler disables it is not carried out although the document handles it.
    RouteLog().clear();
    env.Main()->SendMessage(WM_COMMAND, ID_TEST_UNHANDLED, 0);
    env.Main()->SendMessage(WM_COMMAND, ID_TEST_DISABLED, 0);
    EXPECT_TRUE(RouteLog().empty());
    EXPECT_FALSE(UpdateOf(env.Main(), ID_TEST_UNHANDLED).m_bEnabled);
    EXPECT_FALSE(UpdateOf(env.Main(), ID_TEST_DISABLED).m_bEnabled);
    EXPECT_TRUE(UpdateOf(env.Main(), ID_TEST_FROM_CHILD).m_bEnabled);
}

TEST(FrameMdiTest, CommandsFromAChildFrameReachTheMainFrameBeforeTheApplication)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pChild = env.Main()->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    RouteLog().clear();
    pChild->SendMessage(WM_COMMAND, ID_TEST_FROM_MAIN, 0);
    pChild->SendMessage(WM_COMMAND, ID_TEST_FROM_APP, 0);
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"main:40013", "app:40014"}));
}

TEST(FrameMdiTest, WithoutDocumentsTheMainFrameAndApplicationHandleCommands)
{
    CFrameTestEnvironment env;
    EXPECT_EQ(env.Main()->MDIGetActive(), nullptr);
    env.Main()->SendMessage(WM_COMMAND, ID_TEST_FROM_VIEW, 0);
    env.Main()->SendMessage(WM_COMMAND, ID_TEST_FROM_APP, 0);
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"main:40010", "app:40014"}));
}

TEST(FrameMdiTest, MenuFollowsTheActiveDocumentType)
{
    CFrameTestEnvironment env;
    CTestMainFrame* pMain = env.Main();
    ASSERT_NE(pMain->GetMenu(), nullptr);
    const HMENU hDefault = pMain->m_hMenuDefault;
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, hDefault);
    EXPECT_EQ(MenuBarTitles(pMain).size(), 1u);

    CDocument* pA = env.TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pA, nullptr);
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, env.TemplateA()->m_hMenuShared);
    ASSERT_EQ(MenuBarTitles(pMain).size(), 2u);
    EXPECT_EQ(MenuBarTitles(pMain)[1], std::string("見積A(&A)"));

    CDocument* pB = env.TemplateB()->OpenDocumentFile(nullptr);
    ASSERT_NE(pB, nullptr);
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, env.TemplateB()->m_hMenuShared);
    EXPECT_EQ(MenuBarTitles(pMain)[1], std::string("部材B(&B)"));

    // Activating the first window again brings its menu back.
    CMDIChildWnd* pFrameA = env.WalkChildren().back();
    pMain->MDIActivate(pFrameA);
    EXPECT_EQ(pMain->MDIGetActive(), pFrameA);
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, env.TemplateA()->m_hMenuShared);

    // With the last document window gone, the frame's own menu again.
    pA->OnCloseDocument();
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, env.TemplateB()->m_hMenuShared);
    pB->OnCloseDocument();
    EXPECT_EQ(pMain->MDIGetActive(), nullptr);
    EXPECT_EQ(pMain->GetMenu()->m_hMenu, hDefault);
}

TEST(FrameMdiTest, ChildWalkStartsAtTheActiveWindow)
{
    CFrameTestEnvironment env;
    CDocument* p1 = env.TemplateA()->OpenDocumentFile(nullptr);
    CDocument* p2 = env.TemplateB()->OpenDocumentFile(nullptr);
    CDocument* p3 = env.TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_TRUE(p1 && p2 && p3);
    auto docOf = [](CMDIChildWnd* pChild) { return pChild->GetActiveDocument(); };

    std::vector<CMDIChildWnd*> walk = env.WalkChildren();
    ASSERT_EQ(walk.size(), 3u);
    // The newest window is active and first; the others follow.
    EXPECT_EQ(docOf(walk[0]), p3);
    EXPECT_EQ(walk[0], env.Main()->MDIGetActive());

    // Activating the oldest one puts it first, the others keep their order behind it.
    CMDIChildWnd* pOldest = nullptr;
    for (CMDIChildWnd* p : walk)
        if (docOf(p) == p1)
            pOldest = p;
    ASSERT_NE(pOldest, nullptr);
    env.Main()->MDIActivate(pOldest);
    walk = env.WalkChildren();
    ASSERT_EQ(walk.size(), 3u);
    EXPECT_EQ(docOf(walk[0]), p1);
    EXPECT_EQ(docOf(walk[1]), p3);
    EXPECT_EQ(docOf(walk[2]), p2);

    // Closing the active window makes the next one in the walk active.
    p1->OnCloseDocument();
    walk = env.WalkChildren();
    ASSERT_EQ(walk.size(), 2u);
    EXPECT_EQ(env.Main()->MDIGetActive(), walk[0]);
    EXPECT_EQ(docOf(walk[0]), p3);
}

TEST(FrameMdiTest, TitlesShowTheDocumentThenTheApplication)
{
    CFrameTestEnvironment env;
    EXPECT_EQ(WindowText(env.Main()), "ﾃｽﾄ ﾓﾙﾍﾞﾙ"_sj);
    CDocument* pDoc = env.TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetTitle(), CString("TestA1"));
    CMDIChildWnd* pChild = env.Main()->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(WindowText(pChild), CString("TestA1"));
    EXPECT_EQ(WindowText(env.Main()), "TestA1 - ﾃｽﾄ ﾓﾙﾍﾞﾙ"_sj);
    ASSERT_NE(pChild->GetSubWindow(), nullptr);
    EXPECT_EQ(pChild->GetSubWindow()->windowTitle().toStdString(), "TestA1");
    EXPECT_TRUE(pChild->GetSubWindow()->isMaximized() || pChild->GetSubWindow()->isVisible());

    // A new title shows at once in both captions.
    pDoc->SetTitle("見積.TSA"_sj);
    EXPECT_EQ(WindowText(pChild), "見積.TSA"_sj);
    EXPECT_EQ(WindowText(env.Main()), "見積.TSA - ﾃｽﾄ ﾓﾙﾍﾞﾙ"_sj);

    // The next new document of the type counts on.
    CDocument* pSecond = env.TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pSecond, nullptr);
    EXPECT_EQ(pSecond->GetTitle(), CString("TestA2"));
}

TEST(FrameMdiTest, MaximisedStyleOpensDocumentWindowsMaximised)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pFirst = env.Main()->MDIGetActive();
    pFirst->MDIMaximize();
    BOOL bMaximized = FALSE;
    env.Main()->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
    // A window opened while the active one is maximised opens maximised as well.
    ASSERT_NE(env.TemplateB()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pSecond = env.Main()->MDIGetActive();
    ASSERT_NE(pSecond, pFirst);
    EXPECT_TRUE(pSecond->GetSubWindow()->isMaximized());
    // ... and fills the area, as a maximised window does; so does a third.
    QMdiArea* pArea = env.Main()->GetMdiArea();
    ASSERT_NE(pArea, nullptr);
    const QRect area(QPoint(0, 0), pArea->viewport()->size());
    EXPECT_EQ(pSecond->GetSubWindow()->geometry(), area);
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pThird = env.Main()->MDIGetActive();
    EXPECT_EQ(pThird->GetSubWindow()->geometry(), area);
    // The windows behind keep a normal place of a useful size to come back to, and each
    // fills the area again when it is chosen.
    for (CMDIChildWnd* pChild : {pFirst, pSecond}) {
        EXPECT_GE(pChild->GetSubWindow()->width(), area.width() / 2);
        EXPECT_GE(pChild->GetSubWindow()->height(), area.height() / 2);
    }
    env.Main()->MDIActivate(pSecond);
    EXPECT_TRUE(pSecond->GetSubWindow()->isMaximized());
    EXPECT_EQ(pSecond->GetSubWindow()->geometry(), area);
    pSecond->MDIRestore();
    EXPECT_GE(pSecond->GetSubWindow()->width(), area.width() / 2);
    EXPECT_GE(pSecond->GetSubWindow()->height(), area.height() / 2);
}

// Closing the maximised window leaves the one that comes to the front maximised, as the
// windows share the one state; a window in its normal place stays normal after a close.
TEST(FrameMdiTest, ClosingTheMaximisedWindowKeepsTheNextOneMaximised)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pFirst = env.Main()->MDIGetActive();
    env.Main()->MDIMaximize(pFirst);
    ASSERT_NE(env.TemplateB()->OpenDocumentFile(nullptr), nullptr);
    ASSERT_NE(env.Main()->MDIGetActive(), pFirst);
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    BOOL bMaximized = FALSE;
    EXPECT_EQ(env.Main()->MDIGetActive(&bMaximized), pFirst);
    EXPECT_TRUE(bMaximized);
    EXPECT_TRUE(pFirst->GetSubWindow()->isMaximized());

    pFirst->MDIRestore();
    ASSERT_NE(env.TemplateB()->OpenDocumentFile(nullptr), nullptr);
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    EXPECT_EQ(env.Main()->MDIGetActive(&bMaximized), pFirst);
    EXPECT_FALSE(bMaximized);
    EXPECT_FALSE(pFirst->GetSubWindow()->isMaximized());
}

TEST(FrameMdiTest, AcceleratorsOfTheFrameAndTheActiveDocument)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CView* pView = env.Main()->MDIGetActive()->GetActiveView();
    ASSERT_NE(pView, nullptr);

    // Ctrl+K belongs to type A's table, Ctrl+T to the frame's; both work from the view.
    auto press = [&](UINT vk) {
        MSG msg{};
        msg.hwnd = pView->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = vk;
        return env.App().PreTranslateMessage(&msg);
    };
    SetKeyStateForTest(VK_CONTROL, true);
    EXPECT_TRUE(press('K'));
    EXPECT_TRUE(press('T'));
    EXPECT_FALSE(press('Q'));
    SetKeyStateForTest(VK_CONTROL, false);
    PumpEvents();
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"view:40010", "main:40013"}));
}

// With the keyboard on the frame itself (a dialog has just closed, nothing was clicked yet)
// the active document's accelerators still work.
TEST(FrameMdiTest, TheActiveDocumentsAcceleratorsWorkWhenTheFrameHasTheKeyboard)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    env.Main()->SetFocus();
    PumpEvents();
    MSG msg{};
    msg.hwnd = env.Main()->m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = 'K';
    SetKeyStateForTest(VK_CONTROL, true);
    EXPECT_TRUE(env.App().PreTranslateMessage(&msg));
    SetKeyStateForTest(VK_CONTROL, false);
    PumpEvents();
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"view:40010"}));
}

TEST(FrameMdiTest, TheKeyboardGivenToTheMainWindowGoesOnToTheActiveDocumentsView)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pChild = env.Main()->MDIGetActive();
    ASSERT_NE(pChild, nullptr);
    CView* pView = pChild->GetActiveView();
    ASSERT_NE(pView, nullptr);
    env.Main()->SetFocus();
    PumpEvents();
    EXPECT_EQ(CWnd::GetFocus(), pView);
}

TEST(FrameMdiTest, ClosingAModifiedDocumentWindowAsksToSave)
{
    CFrameTestEnvironment env;
    CDocument* pDoc = env.TemplateA()->OpenDocumentFile(nullptr);
    ASSERT_NE(pDoc, nullptr);
    pDoc->SetModifiedFlag();
    CMDIChildWnd* pChild = env.Main()->MDIGetActive();
    {
        CDialogAnswerer answerer;
        answerer.AnswerNextMessageBox(IDCANCEL);
        pChild->SendMessage(WM_CLOSE);
        ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
        EXPECT_EQ(answerer.MessageBoxTexts()[0], "TestA1 への変更を保存しますか?"_sj);
    }
    // Cancel keeps the window and the document.
    EXPECT_EQ(env.WalkChildren().size(), 1u);
    {
        CDialogAnswerer answerer;
        answerer.AnswerNextMessageBox(IDNO);
        pChild->SendMessage(WM_CLOSE);
    }
    EXPECT_EQ(env.WalkChildren().size(), 0u);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 0);
}

TEST(FrameMdiTest, ClosingTheMainFrameClosesEveryDocument)
{
    CFrameTestEnvironment env;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    ASSERT_NE(env.TemplateB()->OpenDocumentFile(nullptr), nullptr);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 2);
    const HWND hMain = env.Main()->m_hWnd;
    env.Main()->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(hMain));
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 0);
}

TEST(FrameMdiTest, FilesDroppedOnTheFrameOpenAsDocuments)
{
    CFrameTestEnvironment env;
    TempDir dir;
    for (const char* name : {"drop1.tsa", "drop2.tsb"}) {
        ByteBuilder b;
        b.Str("x").Word(1);
        WriteNativeFile(dir.NativeFile(name), b.Bytes());
    }
    HANDLE hDrop = AfxCreateDropFiles({dir.Folder() + "drop1.tsa", dir.Folder() + "drop2.tsb"});
    env.Main()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 2);
    ASSERT_NE(env.Main()->MDIGetActive(), nullptr);
    EXPECT_EQ(env.Main()->MDIGetActive()->GetActiveDocument()->GetTitle(), CString("drop2.tsb"));
}

// Cascading gives every document window a useful size (not the bars alone), each one a
// title bar further down and right; the window menu lists the open windows with the active
// one checked, and choosing one activates it; the next-window command goes round them all.
TEST(FrameMdiTest, CascadeSizesTheWindowListAndNextWindowGoRoundAllDocuments)
{
    CFrameTestEnvironment env;
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CTestMainFrame* pMain = env.Main();
    QMdiArea* pArea = pMain->GetMdiArea();
    ASSERT_NE(pArea, nullptr);
    pMain->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE);
    const QSize area = pArea->viewport()->size();
    std::vector<QRect> placed;
    for (QMdiSubWindow* pSub : pArea->subWindowList(QMdiArea::CreationOrder)) {
        EXPECT_FALSE(pSub->isMaximized());
        EXPECT_GE(pSub->width(), area.width() * 2 / 3);
        EXPECT_GE(pSub->height(), area.height() * 2 / 3);
        EXPECT_LE(pSub->geometry().bottom(), area.height());
        placed.push_back(pSub->geometry());
    }
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_NE(placed[0].topLeft(), placed[1].topLeft());
    EXPECT_NE(placed[1].topLeft(), placed[2].topLeft());

    // The window menu: its own items, a separator, then one entry per document window.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, "重ねて表示(&C)"_sj);
    menu.AppendMenu(MF_STRING, ID_WINDOW_TILE_HORZ, "並べて表示(&T)"_sj);
    for (int pass = 0; pass < 2; ++pass) // made afresh each time, never twice
        pMain->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu.m_hMenu), 1);
    ASSERT_EQ(menu.GetMenuItemCount(), 6);
    EXPECT_NE(menu.GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    const std::vector<CMDIChildWnd*> windows = pMain->GetDocumentWindows();
    ASSERT_EQ(windows.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        CString text;
        menu.GetMenuString(3 + i, text, MF_BYPOSITION);
        CString expected;
        expected.Format("&%d %s", i + 1, WindowText(windows[static_cast<size_t>(i)]).c_str());
        EXPECT_EQ(text, expected);
        const bool bActive = windows[static_cast<size_t>(i)] == pMain->MDIGetActive();
        EXPECT_EQ((menu.GetMenuState(3 + i, MF_BYPOSITION) & MF_CHECKED) != 0, bActive) << i;
        EXPECT_EQ(menu.GetMenuState(3 + i, MF_BYPOSITION) & MF_GRAYED, 0u) << i;
    }
    pMain->SendMessage(WM_COMMAND, CMDIFrameWnd::kWindowListFirst);
    EXPECT_EQ(pMain->MDIGetActive(), windows[0]);

    // Next window, three times: every window once, then back to the first.
    std::vector<CMDIChildWnd*> visited;
    for (int i = 0; i < 3; ++i) {
        pMain->MDINext();
        visited.push_back(pMain->MDIGetActive());
    }
    EXPECT_EQ(visited, (std::vector<CMDIChildWnd*>{windows[1], windows[2], windows[0]}));
    pMain->MDIPrev();
    EXPECT_EQ(pMain->MDIGetActive(), windows[2]);
}

// Tiling horizontally stacks the windows, each as wide as the area; vertically puts them
// side by side, each as tall as the area; five windows make a grid. The windows cover the
// area without overlapping.
TEST(FrameMdiTest, TilingFollowsTheDirectionAndCoversTheAreaWithoutOverlap)
{
    CFrameTestEnvironment env;
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CTestMainFrame* pMain = env.Main();
    QMdiArea* pArea = pMain->GetMdiArea();
    ASSERT_NE(pArea, nullptr);
    const QSize area = pArea->viewport()->size();
    ASSERT_GT(area.width(), 300);
    ASSERT_GT(area.height(), 300);
    auto placed = [&] {
        std::vector<QRect> rects;
        for (QMdiSubWindow* pSub : pArea->subWindowList(QMdiArea::CreationOrder)) {
            EXPECT_FALSE(pSub->isMaximized());
            rects.push_back(pSub->geometry());
        }
        return rects;
    };
    auto expectTiling = [&](const std::vector<QRect>& rects) {
        long covered = 0;
        for (size_t i = 0; i < rects.size(); ++i) {
            EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(rects[i])) << i;
            covered += static_cast<long>(rects[i].width()) * rects[i].height();
            for (size_t j = i + 1; j < rects.size(); ++j)
                EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
        }
        EXPECT_EQ(covered, static_cast<long>(area.width()) * area.height());
    };

    pMain->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
    std::vector<QRect> rects = placed();
    ASSERT_EQ(rects.size(), 3u);
    for (const QRect& r : rects) {
        EXPECT_EQ(r.width(), area.width());
        EXPECT_NEAR(r.height(), area.height() / 3, 1);
    }
    expectTiling(rects);

    pMain->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
    rects = placed();
    for (const QRect& r : rects) {
        EXPECT_EQ(r.height(), area.height());
        EXPECT_NEAR(r.width(), area.width() / 3, 1);
    }
    expectTiling(rects);

    for (int i = 0; i < 2; ++i)
        ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    pMain->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
    rects = placed();
    ASSERT_EQ(rects.size(), 5u);
    expectTiling(rects);
    // Three bands, one above the other: two of two windows, one of one.
    std::map<int, int> perBand;
    for (const QRect& r : rects)
        ++perBand[r.top()];
    EXPECT_EQ(perBand.size(), 3u);
}

// A file that cannot be read leaves the other windows as they were: a maximised window
// stays maximised, and no window of the failed file shows while its message is up.
TEST(FrameMdiTest, AFailedOpenLeavesTheMaximisedWindowMaximisedAndShowsNoEmptyWindow)
{
    CFrameTestEnvironment env;
    TempDir dir;
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    CMDIChildWnd* pFirst = env.Main()->MDIGetActive();
    ASSERT_NE(pFirst, nullptr);
    env.Main()->MDIMaximize(pFirst);
    ASSERT_TRUE(pFirst->GetSubWindow()->isMaximized());
    ByteBuilder truncated;
    truncated.Byte(20).Raw("abc");
    WriteNativeFile(dir.NativeFile("bad.tsa"), truncated.Bytes());
    int nVisibleWhileReported = -1;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const CString&, UINT, UINT) {
        nVisibleWhileReported = 0;
        for (QMdiSubWindow* pSub : env.Main()->GetMdiArea()->subWindowList())
            nVisibleWhileReported += pSub->isVisible() ? 1 : 0;
        return IDOK;
    });
    EXPECT_EQ(env.App().OpenDocumentFile(dir.Folder() + "bad.tsa"), nullptr);
    SetMessageBoxHandler(previous);
    EXPECT_EQ(nVisibleWhileReported, 1) << "only the window that was there";
    EXPECT_EQ(env.Main()->MDIGetActive(), pFirst);
    BOOL bMaximized = FALSE;
    env.Main()->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
    EXPECT_TRUE(pFirst->GetSubWindow()->isMaximized());
}

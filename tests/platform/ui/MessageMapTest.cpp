// Message maps and command routing: which handler a message or command reaches, in which
// order the targets are asked, and how update handlers set the state of an item.
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT ID_CMD_BOTH = 40001; // command and update handler
constexpr UINT ID_CMD_ONLY = 40002; // command handler only
constexpr UINT ID_CMD_NONE = 40003; // no handler at all
constexpr UINT ID_CMD_DOC = 40004;  // handled by the second target
constexpr UINT ID_CMD_RANGE1 = 40010;
constexpr UINT ID_CMD_RANGE3 = 40012;
constexpr UINT ID_CMD_EX = 40020;       // handler declines, routing goes on
constexpr UINT ID_CMD_CONTINUE = 40021; // update handler lets the next target decide

std::vector<std::string>* g_trace = nullptr;

void Trace(const std::string& s)
{
    if (g_trace)
        g_trace->push_back(s);
}

// The second target in the route (standing for a document).
class CDocTarget : public CCmdTarget {
public:
    BOOL m_bCheck = TRUE;

protected:
    afx_msg void OnDocCommand() { Trace("doc:command"); }
    afx_msg void OnUpdateDoc(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bCheck); }
    afx_msg BOOL OnEx(UINT nID)
    {
        Trace("doc:ex " + std::to_string(nID));
        return TRUE;
    }
    afx_msg void OnUpdateContinue(CCmdUI* pCmdUI)
    {
        Trace("doc:update-continue");
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDocTarget, CCmdTarget)
ON_COMMAND(ID_CMD_DOC, OnDocCommand)
ON_UPDATE_COMMAND_UI(ID_CMD_DOC, OnUpdateDoc)
ON_COMMAND_EX(ID_CMD_EX, OnEx)
ON_UPDATE_COMMAND_UI(ID_CMD_CONTINUE, OnUpdateContinue)
END_MESSAGE_MAP()

// A window whose own map is asked first, then the document's (as a view routes).
class CViewWnd : public CWnd {
public:
    CDocTarget* m_pDoc = nullptr;
    BOOL m_bEnableBoth = FALSE;
    std::vector<UINT> m_rangeIds;
    UINT m_nRegistered = 0;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return m_pDoc && m_pDoc->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

    static UINT s_nRegisteredMsg;

protected:
    afx_msg void OnBoth() { Trace("view:both"); }
    afx_msg void OnUpdateBoth(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableBoth); }
    afx_msg void OnOnly() { Trace("view:only"); }
    afx_msg void OnRange(UINT nID) { m_rangeIds.push_back(nID); }
    afx_msg BOOL OnExDecline(UINT)
    {
        Trace("view:ex-decline");
        return FALSE;
    }
    afx_msg void OnUpdateContinue(CCmdUI* pCmdUI)
    {
        Trace("view:update-continue");
        pCmdUI->ContinueRouting();
    }
    afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        m_nRegistered = static_cast<UINT>(wParam);
        return 7;
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        Trace("view:size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
    }
    DECLARE_MESSAGE_MAP()
};

UINT CViewWnd::s_nRegisteredMsg = RegisterWindowMessage("MorvelTestRegistered");

BEGIN_MESSAGE_MAP(CViewWnd, CWnd)
ON_COMMAND(ID_CMD_BOTH, OnBoth)
ON_UPDATE_COMMAND_UI(ID_CMD_BOTH, OnUpdateBoth)
ON_COMMAND(ID_CMD_ONLY, OnOnly)
ON_COMMAND_RANGE(ID_CMD_RANGE1, ID_CMD_RANGE3, OnRange)
ON_COMMAND_EX(ID_CMD_EX, OnExDecline)
ON_UPDATE_COMMAND_UI(ID_CMD_CONTINUE, OnUpdateContinue)
ON_MESSAGE(WM_USER + 5, OnUser)
ON_REGISTERED_MESSAGE(s_nRegisteredMsg, OnRegistered)
ON_WM_SIZE()
END_MESSAGE_MAP()

// A derived window: its own handler wins over the base class's for the same command.
class CDerivedViewWnd : public CViewWnd {
protected:
    afx_msg void OnOnlyDerived() { Trace("derived:only"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedViewWnd, CViewWnd)
ON_COMMAND(ID_CMD_ONLY, OnOnlyDerived)
END_MESSAGE_MAP()

// A CCmdUI that records what the handlers set instead of changing a menu.
class CProbeCmdUI : public CCmdUI {
public:
    int enabled = -1;
    int checked = -1;
    void Enable(BOOL bOn) override
    {
        enabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
};

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override { g_trace = &trace; }
    void TearDown() override { g_trace = nullptr; }
    std::vector<std::string> trace;
};

} // namespace

TEST_F(MessageMapTest, CommandsRouteThroughTheWindowBeforeTheDocument)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_ONLY, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_DOC, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(view.OnCmdMsg(ID_CMD_NONE, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(trace, (std::vector<std::string>{"view:only", "doc:command"}));
}

TEST_F(MessageMapTest, DerivedHandlerWinsAndBaseMapStillAnswersTheRest)
{
    CDocTarget doc;
    CDerivedViewWnd view;
    view.m_pDoc = &doc;
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_ONLY, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_BOTH, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(trace, (std::vector<std::string>{"derived:only", "view:both"}));
}

TEST_F(MessageMapTest, RangeHandlerGetsTheIdAndExHandlerCanDecline)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_RANGE1 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_RANGE3, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(view.OnCmdMsg(ID_CMD_RANGE3 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(view.m_rangeIds, (std::vector<UINT>{ID_CMD_RANGE1 + 1, ID_CMD_RANGE3}));
    // The view's EX handler returns FALSE: the document gets the command.
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_EX, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(trace, (std::vector<std::string>{"view:ex-decline", "doc:ex 40020"}));
}

TEST_F(MessageMapTest, UpdateStatesFollowHandlersAndAutoDisable)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;

    CProbeCmdUI both;
    both.m_nID = ID_CMD_BOTH;
    view.m_bEnableBoth = FALSE;
    EXPECT_TRUE(both.DoUpdate(&view, TRUE));
    EXPECT_EQ(both.enabled, 0) << "the update handler's choice wins over the command handler";

    CProbeCmdUI only;
    only.m_nID = ID_CMD_ONLY;
    EXPECT_FALSE(only.DoUpdate(&view, TRUE));
    EXPECT_EQ(only.enabled, 1) << "a command handler without update handler enables the item";

    CProbeCmdUI none;
    none.m_nID = ID_CMD_NONE;
    none.DoUpdate(&view, TRUE);
    EXPECT_EQ(none.enabled, 0) << "no handler at all disables the item when auto-disable is on";

    CProbeCmdUI untouched;
    untouched.m_nID = ID_CMD_NONE;
    untouched.DoUpdate(&view, FALSE);
    EXPECT_EQ(untouched.enabled, -1) << "without auto-disable the item is left alone";

    CProbeCmdUI check;
    check.m_nID = ID_CMD_DOC;
    doc.m_bCheck = TRUE;
    check.DoUpdate(&view, TRUE);
    EXPECT_EQ(check.checked, 1);
    EXPECT_EQ(check.enabled, 1) << "the document's command handler enables it";
}

TEST_F(MessageMapTest, ContinueRoutingLetsTheNextTargetDecide)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    CProbeCmdUI probe;
    probe.m_nID = ID_CMD_CONTINUE;
    EXPECT_TRUE(probe.DoUpdate(&view, TRUE));
    EXPECT_EQ(trace, (std::vector<std::string>{"view:update-continue", "doc:update-continue"}));
    EXPECT_EQ(probe.enabled, 0);
}

TEST_F(MessageMapTest, HandlerInfoReportsWithoutCalling)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    EXPECT_TRUE(view.OnCmdMsg(ID_CMD_DOC, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &doc);
    EXPECT_TRUE(trace.empty());
}

TEST_F(MessageMapTest, WindowMessagesReachTheirHandlersWithUnpackedParameters)
{
    CViewWnd view;
    ASSERT_TRUE(view.CreateEx(0, nullptr, "v", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr));
    trace.clear();
    EXPECT_EQ(view.SendMessage(WM_USER + 5, 30, 12), 42);
    view.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(trace.back(), "view:size 2 640x480");
    EXPECT_NE(CViewWnd::s_nRegisteredMsg, 0u);
    EXPECT_EQ(CViewWnd::s_nRegisteredMsg, RegisterWindowMessage("morveltestregistered"))
        << "registered names ignore case and give the same number";
    EXPECT_GE(CViewWnd::s_nRegisteredMsg, 0xC000u);
    EXPECT_EQ(view.SendMessage(CViewWnd::s_nRegisteredMsg, 99, 0), 7);
    EXPECT_EQ(view.m_nRegistered, 99u);
    view.DestroyWindow();
}

TEST_F(MessageMapTest, MenuCommandOfADisabledItemIsNotCarriedOut)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    ASSERT_TRUE(view.CreateEx(0, nullptr, "v", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    trace.clear();
    view.m_bEnableBoth = FALSE;
    view.SendMessage(WM_COMMAND, ID_CMD_BOTH, 0);
    EXPECT_TRUE(trace.empty()) << "an accelerator for a disabled command does nothing";
    view.m_bEnableBoth = TRUE;
    view.SendMessage(WM_COMMAND, ID_CMD_BOTH, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"view:both"}));
    view.DestroyWindow();
}

TEST_F(MessageMapTest, MenuUpdatePassSetsEveryItem)
{
    CDocTarget doc;
    CViewWnd view;
    view.m_pDoc = &doc;
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_CMD_BOTH, "both");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_CMD_ONLY, "only");
    menu.AppendMenu(MF_STRING, ID_CMD_NONE, "none");
    menu.AppendMenu(MF_STRING, ID_CMD_DOC, "doc");
    view.m_bEnableBoth = TRUE;
    doc.m_bCheck = TRUE;
    AfxUpdateMenuCmdUI(&menu, &view, TRUE);
    EXPECT_EQ(menu.GetMenuState(ID_CMD_BOTH, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuState(ID_CMD_ONLY, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(menu.GetMenuState(ID_CMD_NONE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(menu.GetMenuState(ID_CMD_DOC, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

// Menus still alive when the process ends (an exit from inside the toolkit's event handler
// when the display goes away) keep their temporary wrappers; the menu table's end must not
// hand those wrappers a table that is already being taken apart.
TEST(MenuTableAtExit, MenusWithTemporaryWrappersOutlivingTheProcessEndCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            for (int i = 0; i < 16; ++i) {
                CMenu made;
                made.CreatePopupMenu();
                made.AppendMenu(MF_STRING, 1, "item");
                CMenu::FromHandle(made.Detach())->EnableMenuItem(1, MF_GRAYED);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

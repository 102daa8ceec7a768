// The prompts of the parts window's range-total, fixed-rate and bookmark commands, as the
// main frame's status bar shows them while the user points at the item: in the menu bar's
// Tools menu, in the grid's context menu and on the parts bar. The menus are the program's
// own Qt menus, walked as a user opens them; the status bar is the running frame's.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/frames/CToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <string>
#include <vector>

namespace {

struct Prompt {
    UINT nID;
    const char* menuText; // the item's text in the menu bar's Tools menu
    const char* prompt;
};

// Every command of the three tools with the text the status bar shows for it.
const std::vector<Prompt>& MenuPrompts()
{
    static const std::vector<Prompt> s_prompts = {
        {ID_RANGE_ADD, "加算(&P)", "合計値に加算します。"},
        {ID_RANGE_SET, "ｾｯﾄ(&S)", "合計値を指定ｾﾙにｾｯﾄトします。"},
        {ID_RANGE_CLEAR, "ｸﾘｱ(&C)", "合計値をｸﾘｱします。"},
        {ID_RATE_CHANGE, "定率変更(&H)", "定率変更を行います。"},
        {ID_ROW_REMEMBER, "記憶(&M)", "記憶行を指定します。"},
        {ID_ROW_JUMP, "ｼﾞｬﾝﾌﾟ(&J)", "記憶行へ移動します｡"},
        {ID_ROW_RELEASE, "解除(&U)", "記憶行を解除します。"},
    };
    return s_prompts;
}

// The items of a menu and of every pop-up below it, each pop-up filled as it is when the
// user opens it.
void CollectActions(QMenu* pMenu, std::vector<QAction*>& actions)
{
    emit pMenu->aboutToShow();
    for (QAction* pAction : pMenu->actions()) {
        if (QMenu* pSub = pAction->menu())
            CollectActions(pSub, actions);
        else if (!pAction->isSeparator())
            actions.push_back(pAction);
    }
}

QAction* FindAction(const std::vector<QAction*>& actions, UINT nID)
{
    for (QAction* pAction : actions) {
        if (pAction->data().toUInt() == nID)
            return pAction;
    }
    return nullptr;
}

class PartsStatusPromptsTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        ASSERT_NE(nullptr, OpenSample());
        m_pMain = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
        ASSERT_NE(nullptr, m_pMain);
    }
    std::string MessagePane() { return m_pMain->GetStatusBar().GetPaneText(0).ToUtf8(); }

    CMainFrame* m_pMain = nullptr;
};

} // namespace

TEST_F(PartsStatusPromptsTest, TheToolsMenuItemsShowTheirPrompts)
{
    auto* pWindow = qobject_cast<QMainWindow*>(m_pMain->GetWidget());
    ASSERT_NE(nullptr, pWindow);
    QMenu* pTools = nullptr;
    for (QAction* pAction : pWindow->menuBar()->actions()) {
        if (pAction->text() == QString::fromUtf8("ﾂｰﾙ(&T)"))
            pTools = pAction->menu();
    }
    ASSERT_NE(nullptr, pTools) << "the parts list's menu bar has its Tools menu";
    std::vector<QAction*> actions;
    CollectActions(pTools, actions);
    for (const Prompt& prompt : MenuPrompts()) {
        SCOPED_TRACE(prompt.menuText);
        QAction* pAction = FindAction(actions, prompt.nID);
        ASSERT_NE(nullptr, pAction);
        EXPECT_EQ(QString::fromUtf8(prompt.menuText), pAction->text());
        pAction->hover();
        EXPECT_EQ(prompt.prompt, MessagePane());
    }
    // Closing the menus brings the idle text back.
    m_pMain->SendMessage(WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    EXPECT_EQ("ﾚﾃﾞｨ", MessagePane());
}

TEST_F(PartsStatusPromptsTest, TheContextMenuItemsShowTheSamePrompts)
{
    std::vector<std::string> shown;
    int nMenus = 0;
    const PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) -> UINT {
        ++nMenus;
        // The context menu as the user sees it, owned by the window the grid gave it.
        QMenu* pMenu = AfxBuildQMenu(pPopup->m_hMenu, m_pMain->m_hWnd, nullptr);
        std::vector<QAction*> actions;
        CollectActions(pMenu, actions);
        for (const Prompt& prompt : MenuPrompts()) {
            QAction* pAction = FindAction(actions, prompt.nID);
            if (pAction == nullptr) {
                shown.push_back("(missing)");
                continue;
            }
            pAction->hover();
            shown.push_back(MessagePane());
        }
        delete pMenu;
        return 0u;
    });
    CRect rc;
    m_pView->GetCellRangeRect(1, 1, 1, 1, &rc);
    CPoint point(rc.left + 3, rc.top + 3);
    m_pView->ClientToScreen(&point);
    m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->m_hWnd),
                         MAKELPARAM(point.x, point.y));
    AfxSetPopupMenuChooser(previous);
    ASSERT_EQ(1, nMenus);
    std::vector<std::string> expected;
    for (const Prompt& prompt : MenuPrompts())
        expected.push_back(prompt.prompt);
    EXPECT_EQ(expected, shown);
}

TEST_F(PartsStatusPromptsTest, ThePartsBarButtonsShowTheirPrompts)
{
    auto* pFrame = dynamic_cast<CChildPMFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(nullptr, pFrame);
    CToolBar& bar = pFrame->m_wndPartsBar;
    auto* pTool = qobject_cast<QToolBar*>(bar.GetWidget());
    ASSERT_NE(nullptr, pTool);
    const std::pair<UINT, const char*> buttons[] = {
        {ID_RANGE_ADD_BAR, "合計値に加算します。"},
        {ID_RANGE_SET_BAR, "範囲合計値をセルにセットします。 "},
        {ID_RANGE_CLEAR_BAR, "範囲合計値をクリアします。"},
        {ID_RATE_CHANGE, "定率変更を行います。"},
    };
    for (const auto& [nID, prompt] : buttons) {
        SCOPED_TRACE(nID);
        const int nIndex = bar.CommandToIndex(nID);
        ASSERT_GE(nIndex, 0);
        QAction* pAction = pTool->actions().value(nIndex);
        ASSERT_NE(nullptr, pAction);
        pAction->hover();
        EXPECT_EQ(prompt, MessagePane());
        bar.OnButtonLeft();
        EXPECT_EQ("ﾚﾃﾞｨ", MessagePane());
    }
}

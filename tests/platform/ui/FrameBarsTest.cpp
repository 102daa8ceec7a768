// Tool bars and the status bar of a frame: buttons from the resources, a control hosted on
// a widened separator, docking beside another bar, the tool-bar switch, command states at
// idle time, prompts in the message pane, pane layout and the Caps Lock indicator.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

QToolBar* QtBar(CToolBar& bar)
{
    return qobject_cast<QToolBar*>(bar.GetWidget());
}

// The Qt action of a button (the bar's actions in button order).
QAction* ActionOf(CToolBar& bar, int nIndex)
{
    QToolBar* pTool = QtBar(bar);
    return pTool ? pTool->actions().value(nIndex) : nullptr;
}

CString PaneText(CStatusBar& bar, int nIndex)
{
    return bar.GetPaneText(nIndex);
}

} // namespace

TEST(FrameBarsTest, ToolBarLoadsItsButtonsWithPicturesAndTips)
{
    CFrameTestEnvironment env;
    CToolBar& bar = env.Main()->m_wndToolBar;
    ASSERT_EQ(bar.GetCount(), 7);
    EXPECT_EQ(bar.GetItemID(0), ID_TEST_TOOL);
    UINT nID = 0;
    UINT nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(1, nID, nStyle, iImage);
    EXPECT_EQ(nStyle & TBBS_SEPARATOR, TBBS_SEPARATOR);
    bar.GetButtonInfo(2, nID, nStyle, iImage);
    EXPECT_EQ(nID, ID_TEST_FROM_MAIN);
    EXPECT_EQ(iImage, 1) << "separators take no picture";
    QAction* pTool = ActionOf(bar, 0);
    ASSERT_NE(pTool, nullptr);
    EXPECT_EQ(pTool->toolTip().toStdString(), "ﾃｽﾄ") << "the tip is the second field of the string";
    EXPECT_FALSE(pTool->icon().isNull());
    EXPECT_EQ(bar.CommandToIndex(ID_TEST_UNHANDLED), 3);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);
}

TEST(FrameBarsTest, WidenedSeparatorHostsAComboBoxAtItsRoom)
{
    CFrameTestEnvironment env;
    CToolBar& bar = env.Main()->m_wndToolBar;
    UINT nID = 0;
    UINT nStyle = 0;
    int cx = 0;
    bar.GetButtonInfo(5, nID, nStyle, cx);
    EXPECT_EQ(nID, ID_TEST_ZOOMBOX);
    EXPECT_EQ(nStyle & TBBS_SEPARATOR, TBBS_SEPARATOR);
    EXPECT_EQ(cx, 85);
    PumpEvents();
    CRect room;
    bar.GetItemRect(5, &room);
    EXPECT_EQ(room.Width(), 85);
    CWnd* pCombo = bar.GetDlgItem(ID_TEST_ZOOMBOX);
    ASSERT_NE(pCombo, nullptr);
    EXPECT_EQ(pCombo->GetParent(), &bar);
    CRect rc;
    pCombo->GetWindowRect(&rc);
    bar.ScreenToClient(&rc);
    EXPECT_EQ(rc.left, room.left) << "the box stands on its room";
    EXPECT_EQ(rc.Width(), 85);
    // The buttons before the room end left of it; the one after starts right of it.
    CRect before;
    CRect after;
    bar.GetItemRect(3, &before);
    bar.GetItemRect(6, &after);
    EXPECT_LE(before.right, room.left);
    EXPECT_GE(after.left, room.right);
}

TEST(FrameBarsTest, BarDockedBesideAnotherSharesItsRow)
{
    CFrameTestEnvironment env;
    CTestMainFrame* pMain = env.Main();
    EXPECT_EQ(pMain->GetBarRow(&pMain->m_wndToolBar), 0);
    EXPECT_EQ(pMain->GetBarRow(&pMain->m_wndSecondBar), 0);
    auto* pQtMain = qobject_cast<QMainWindow*>(pMain->GetWidget());
    ASSERT_NE(pQtMain, nullptr);
    EXPECT_EQ(pQtMain->toolBarArea(QtBar(pMain->m_wndSecondBar)), Qt::TopToolBarArea);
    EXPECT_FALSE(pQtMain->toolBarBreak(QtBar(pMain->m_wndSecondBar)));
    PumpEvents();
    CRect first;
    CRect second;
    pMain->m_wndToolBar.GetWindowRect(&first);
    pMain->m_wndSecondBar.GetWindowRect(&second);
    EXPECT_EQ(first.top, second.top);
    EXPECT_GE(second.left, first.right) << "right of the main bar";

    // Docked without a rectangle, a bar starts a row of its own.
    pMain->DockControlBar(&pMain->m_wndSecondBar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(pMain->GetBarRow(&pMain->m_wndSecondBar), 1);
    EXPECT_TRUE(pQtMain->toolBarBreak(QtBar(pMain->m_wndSecondBar)));
}

TEST(FrameBarsTest, ToolBarCommandShowsAndHidesTheBarAndTicksItsItem)
{
    CFrameTestEnvironment env;
    CTestMainFrame* pMain = env.Main();
    CToolBar& bar = pMain->m_wndToolBar;
    ASSERT_TRUE(bar.IsVisible());
    auto checkOf = [&] {
        struct CProbe : CCmdUI {
            int nCheck = -1;
            void SetCheck(int n) override { nCheck = n; }
        } probe;
        probe.m_nID = ID_VIEW_TOOLBAR;
        probe.DoUpdate(pMain, TRUE);
        return probe.nCheck;
    };
    EXPECT_EQ(checkOf(), 1);
    pMain->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(QtBar(bar)->isVisible());
    EXPECT_EQ(checkOf(), 0);
    pMain->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_TRUE(QtBar(bar)->isVisible());
    EXPECT_EQ(checkOf(), 1);
}

TEST(FrameBarsTest, ButtonClickSendsItsCommandToTheFrame)
{
    CFrameTestEnvironment env;
    QAction* pAction = ActionOf(env.Main()->m_wndToolBar, 0);
    ASSERT_NE(pAction, nullptr);
    pAction->trigger();
    EXPECT_TRUE(RouteLog().empty()) << "the command goes through the queue";
    PumpEvents();
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"main:40017"}));
}

TEST(FrameBarsTest, IdleUpdateDisablesButtonsWithoutHandlers)
{
    CFrameTestEnvironment env;
    CToolBar& bar = env.Main()->m_wndToolBar;
    env.App().RunIdle();
    EXPECT_EQ(bar.GetButtonStyle(3) & TBBS_DISABLED, TBBS_DISABLED) << "ID_TEST_UNHANDLED";
    EXPECT_FALSE(ActionOf(bar, 3)->isEnabled());
    EXPECT_EQ(bar.GetButtonStyle(0) & TBBS_DISABLED, 0u);
    EXPECT_TRUE(ActionOf(bar, 2)->isEnabled()) << "the main frame handles ID_TEST_FROM_MAIN";

    // A disabled button does nothing.
    ActionOf(bar, 3)->trigger();
    PumpEvents();
    EXPECT_TRUE(RouteLog().empty());

    // With a document open its view's update handler decides for ID_TEST_DISABLED, which the
    // document would handle.
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    env.App().RunIdle();
    EXPECT_EQ(bar.GetButtonStyle(6) & TBBS_DISABLED, TBBS_DISABLED);
}

TEST(FrameBarsTest, FlyByPromptShowsInTheMessagePane)
{
    CFrameTestEnvironment env;
    CStatusBar& status = env.Main()->m_wndStatusBar;
    PumpEvents();
    EXPECT_EQ(PaneText(status, 0), "ﾚﾃﾞｨ"_sj) << "the idle text after creation";
    ActionOf(env.Main()->m_wndToolBar, 0)->hover();
    EXPECT_EQ(PaneText(status, 0), "ﾃｽﾄのｺﾏﾝﾄﾞを実行します"_sj);
    env.Main()->m_wndToolBar.OnButtonLeft();
    EXPECT_EQ(PaneText(status, 0), "ﾚﾃﾞｨ"_sj);

    // Menu items show their prompts as well; closing the menus brings the idle text back.
    env.Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_FROM_MAIN, 0),
                            reinterpret_cast<LPARAM>(env.Main()->m_hMenuDefault));
    EXPECT_EQ(PaneText(status, 0), "ﾒｲﾝﾌﾚｰﾑのｺﾏﾝﾄﾞ"_sj);
    env.Main()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    EXPECT_EQ(PaneText(status, 0), "ﾚﾃﾞｨ"_sj);
    env.Main()->SetMessageText("処理中です"_sj);
    CString text;
    status.GetWindowText(text);
    EXPECT_EQ(text, "処理中です"_sj);
}

TEST(FrameBarsTest, StatusPanesTakeTheirWidthsFromTheirStrings)
{
    CFrameTestEnvironment env;
    CStatusBar& status = env.Main()->m_wndStatusBar;
    ASSERT_EQ(status.GetCount(), 4);
    EXPECT_EQ(status.CommandToIndex(IDS_TEST_PANE1), 1);
    EXPECT_EQ(status.CommandToIndex(ID_INDICATOR_CAPS), 3);
    UINT nID = 0;
    UINT nStyle = 0;
    int cx1 = 0;
    int cx2 = 0;
    status.GetPaneInfo(0, nID, nStyle, cx1);
    EXPECT_EQ(nID, ID_SEPARATOR);
    EXPECT_EQ(nStyle, SBPS_STRETCH | SBPS_NOBORDERS);
    status.GetPaneInfo(1, nID, nStyle, cx1);
    status.GetPaneInfo(2, nID, nStyle, cx2);
    EXPECT_GT(cx2, 0);
    EXPECT_NEAR(cx1, 2 * cx2, 1) << "twelve blanks are twice as wide as six";
    EXPECT_TRUE(status.SetPaneText(1, "  1 行   1 列"_sj));
    EXPECT_EQ(PaneText(status, 1), "  1 行   1 列"_sj);
    EXPECT_FALSE(status.SetPaneText(9, "x"));

    // The stretching pane takes what the others leave; the panes end at the bar's right.
    PumpEvents();
    CRect bar;
    status.GetClientRect(&bar);
    CRect pane0;
    CRect pane3;
    status.GetItemRect(0, &pane0);
    status.GetItemRect(3, &pane3);
    EXPECT_GT(pane0.Width(), cx1);
    EXPECT_LE(pane3.right, bar.right);
    EXPECT_GE(pane3.right, bar.right - 8);

    // A message pane 16384 wide pushes the others off the bar, as while a menu is open.
    status.SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 16384);
    CRect pane1;
    status.GetItemRect(1, &pane1);
    EXPECT_GE(pane1.left, bar.right);
}

// What the views set at every Enter (the cursor's place, the amount) repaints the panes it
// changes, not the whole bar.
TEST(FrameBarsTest, PaneTextRepaintsItsPaneAndAWiderPaneTheOnesItMoves)
{
    CFrameTestEnvironment env;
    CStatusBar& status = env.Main()->m_wndStatusBar;
    PumpEvents();
    auto middleOf = [&](int nIndex) {
        CRect rc;
        status.GetItemRect(nIndex, &rc);
        return rc.CenterPoint();
    };
    {
        CPaintedArea painted(status.GetWidget());
        status.SetPaneText(1, "  2 行   1 列"_sj);
        PumpEvents();
        EXPECT_TRUE(painted.Contains(middleOf(1).x, middleOf(1).y));
        EXPECT_FALSE(painted.Contains(middleOf(2).x, middleOf(2).y));
        EXPECT_FALSE(painted.Contains(middleOf(0).x, middleOf(0).y));
    }
    {
        // Pane 2 grows to the left into the stretching message pane; the indicator right
        // of it stays where it is.
        UINT nID = 0;
        UINT nStyle = 0;
        int cx = 0;
        status.GetPaneInfo(2, nID, nStyle, cx);
        const CPoint oldMiddle1 = middleOf(1);
        CPaintedArea painted(status.GetWidget());
        status.SetPaneInfo(2, nID, nStyle, cx + 40);
        PumpEvents();
        EXPECT_TRUE(painted.Contains(oldMiddle1.x, oldMiddle1.y)) << "where pane 1 stood";
        EXPECT_TRUE(painted.Contains(middleOf(1).x, middleOf(1).y)) << "where it stands now";
        EXPECT_TRUE(painted.Contains(middleOf(2).x, middleOf(2).y));
        EXPECT_FALSE(painted.Contains(middleOf(3).x, middleOf(3).y));
    }
}

// Commands enabled and disabled at idle time after every edit change how their buttons
// look; the bars and the main window are not laid out again for that.
TEST(FrameBarsTest, ButtonStateShowsWithoutLayingOutTheWindow)
{
    CFrameTestEnvironment env;
    CToolBar& bar = env.Main()->m_wndToolBar;
    env.App().RunIdle();
    PumpEvents();
    ASSERT_EQ(bar.GetButtonStyle(3) & TBBS_DISABLED, TBBS_DISABLED);
    QWidget* pButton = QtBar(bar)->widgetForAction(ActionOf(bar, 3));
    ASSERT_NE(pButton, nullptr);

    struct CLayoutWatch : QObject {
        int nRequests = 0;
        bool eventFilter(QObject*, QEvent* pEvent) override
        {
            nRequests += pEvent->type() == QEvent::LayoutRequest ? 1 : 0;
            return false;
        }
    } watch;
    env.Main()->GetWidget()->installEventFilter(&watch);
    QtBar(bar)->installEventFilter(&watch);
    bar.SetButtonStyle(3, bar.GetButtonStyle(3) & ~TBBS_DISABLED);
    bar.SetButtonStyle(0, bar.GetButtonStyle(0) | TBBS_CHECKBOX | TBBS_CHECKED);
    PumpEvents();
    EXPECT_EQ(watch.nRequests, 0);
    EXPECT_TRUE(pButton->isEnabled());
    EXPECT_TRUE(ActionOf(bar, 3)->isEnabled());
    auto* pFirst = qobject_cast<QAbstractButton*>(QtBar(bar)->widgetForAction(ActionOf(bar, 0)));
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(pFirst->isChecked());
    bar.SetButtonStyle(3, bar.GetButtonStyle(3) | TBBS_DISABLED);
    PumpEvents();
    EXPECT_FALSE(pButton->isEnabled());

    // A button hidden or shown again does move the others.
    bar.SetButtonStyle(3, bar.GetButtonStyle(3) | TBBS_HIDDEN);
    PumpEvents();
    EXPECT_FALSE(pButton->isVisible());
    EXPECT_GT(watch.nRequests, 0);
}

TEST(FrameBarsTest, CapsIndicatorFollowsCapsLock)
{
    CFrameTestEnvironment env;
    CStatusBar& status = env.Main()->m_wndStatusBar;
    CWndManager& manager = CWndManager::Instance();
    const bool saved = manager.m_bCapsLock;
    manager.m_bCapsLock = false;
    env.App().RunIdle();
    EXPECT_EQ(status.GetPaneStyle(3) & SBPS_DISABLED, SBPS_DISABLED);
    manager.m_bCapsLock = true;
    env.App().RunIdle();
    EXPECT_EQ(status.GetPaneStyle(3) & SBPS_DISABLED, 0u);
    EXPECT_EQ(PaneText(status, 3), CString("CAP"));
    manager.m_bCapsLock = saved;
}

TEST(FrameBarsTest, MenuBarItemsBecomeCommandsOfTheFrame)
{
    CFrameTestEnvironment env;
    auto* pQtMain = qobject_cast<QMainWindow*>(env.Main()->GetWidget());
    auto* pBar = dynamic_cast<CFrameMenuBar*>(pQtMain->menuWidget());
    ASSERT_NE(pBar, nullptr);
    QAction item(QStringLiteral("x"));
    item.setData(ID_TEST_FROM_MAIN);
    emit pBar->triggered(&item);
    PumpEvents();
    EXPECT_EQ(RouteLog(), (std::vector<std::string>{"main:40013"})) << "exactly once";
}

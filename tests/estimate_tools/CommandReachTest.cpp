// Every command a user can reach in the estimate window is either carried out or shown
// disabled: each menu of the main frame, the grid's context menu, its two tool-bar pop-ups
// and every tool bar get their command-state update as when they open or at idle time, and
// no item may then be enabled without a handler along the route its command takes.
#include "app/CChildEMFrame.h"
#include "app/CMainFrame.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "grid/CTabWnd.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateViewMenus.h"
#include "resources/ResourceIds.h"
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/frames/CToolBar.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

bool IsItemEnabled(CMenu* pMenu, int nIndex)
{
    return (pMenu->GetMenuState(static_cast<UINT>(nIndex), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool Handles(CCmdTarget* pRoute, UINT nID)
{
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    return pRoute->OnCmdMsg(nID, CN_COMMAND, nullptr, &info) != FALSE;
}

class CommandReachTest : public SubjectTreeWindowTest {
protected:
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        RegisterEstimateDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_NE(Frame(), nullptr);
    }

    // Checks one pop-up whose states are set; its nested pop-ups get their update as the
    // owner gives it when they open.
    void CheckPopup(CMenu* pPopup, CWnd* pOwner, CCmdTarget* pRoute, const std::string& where)
    {
        for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
            const UINT nID = pPopup->GetMenuItemID(i);
            if (nID == 0)
                continue;
            if (nID == static_cast<UINT>(-1)) {
                CMenu* pSub = pPopup->GetSubMenu(i);
                ASSERT_NE(pSub, nullptr);
                UpdateAsOpened(pSub, pOwner);
                CheckPopup(pSub, pOwner, pRoute, where + "/" + std::to_string(i));
                continue;
            }
            if (nID >= 0xF000)
                continue;
            ++m_nChecked;
            if (IsItemEnabled(pPopup, i)) {
                EXPECT_TRUE(Handles(pRoute, nID))
                    << where << ": command " << nID << " enabled without a handler";
            }
        }
    }

    // What opening a pop-up does: the owner hears WM_INITMENUPOPUP (frames update there), a
    // window that is not a frame gets the update along its own route.
    static void UpdateAsOpened(CMenu* pPopup, CWnd* pOwner)
    {
        pOwner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->m_hMenu), 0);
        if (!pOwner->IsFrameWnd())
            AfxUpdateOwnedPopupCmdUI(pPopup, pOwner);
    }

    // A menu resource as the main frame shows it in its menu bar.
    void CheckFrameMenu(UINT nIDMenu)
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(nIDMenu)) << nIDMenu;
        CWnd* pMain = AfxGetMainWnd();
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
            CMenu* pSub = menu.GetSubMenu(i);
            if (pSub == nullptr)
                continue;
            UpdateAsOpened(pSub, pMain);
            CheckPopup(pSub, pMain, pMain, "menu " + std::to_string(nIDMenu) + "/" + std::to_string(i));
        }
    }

    // A pop-up the grid tracks: its states as shown, captured when it would open.
    void CheckTrackedPopup(const std::function<void()>& open, CWnd* pOwner, const std::string& where)
    {
        bool bShown = false;
        PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) {
            bShown = true;
            CheckPopup(pPopup, pOwner, pOwner, where);
            return 0u;
        });
        open();
        AfxSetPopupMenuChooser(previous);
        EXPECT_TRUE(bShown) << where;
    }

    void CheckToolBar(CToolBar& bar, CFrameWnd* pTarget, const std::string& where)
    {
        bar.OnUpdateCmdUI(pTarget, TRUE);
        for (int i = 0; i < bar.GetCount(); ++i) {
            const UINT nID = bar.GetItemID(i);
            // Gaps, and the boxes placed on widened gaps (the zoom box, the range total).
            if (nID == 0 || (bar.GetButtonStyle(i) & TBBS_SEPARATOR) != 0)
                continue;
            ++m_nChecked;
            if ((bar.GetButtonStyle(i) & TBBS_DISABLED) == 0) {
                EXPECT_TRUE(Handles(pTarget, nID))
                    << where << ": button " << nID << " enabled without a handler";
            }
        }
    }

    int m_nChecked = 0;
};

} // namespace

TEST_F(CommandReachTest, NoMenuItemOrButtonIsEnabledWithoutAHandler)
{
    CWnd* pMain = AfxGetMainWnd();
    ASSERT_NE(pMain, nullptr);
    // The menus with the estimate window active, on the edit page and then on the summary
    // page, where many commands change their state.
    for (int nPass = 0; nPass < 2; ++nPass) {
        const std::string page = nPass == 0 ? "edit page " : "summary page ";
        CheckFrameMenu(IDR_MAINFRAME);
        CheckFrameMenu(IDR_MORVELTYPE);
        CheckTrackedPopup([&] { m_pView->ShowGridContextMenu(CPoint(10, 10)); }, pMain,
                          page + "context menu");
        CheckTrackedPopup([&] { Command(ID_SUBJECT_MENU); }, m_pView, page + "科目 pop-up");
        CheckTrackedPopup([&] { Command(ID_TOTAL_MENU); }, m_pView, page + "合計 pop-up");
        CheckToolBar(Frame()->m_wndEstimateBar, Frame(), page + "estimate bar");
        CheckToolBar(Frame()->m_wndPageBar, Frame(), page + "page bar");
        if (auto* pMainFrame = dynamic_cast<CMainFrame*>(pMain)) {
            CheckToolBar(pMainFrame->GetToolBar(), pMainFrame, page + "main tool bar");
            CheckToolBar(pMainFrame->GetMorvelBar(), pMainFrame, page + "ﾓﾙﾍﾞﾙﾊﾞｰ");
        }
        Command(CTabWnd::ID_SUMMARY_PAGE_TAB);
    }
    EXPECT_GT(m_nChecked, 100);
}

TEST_F(CommandReachTest, TheDialogCommandsAreOfferedOnTheEditPage)
{
    // The estimate menu as the frame shows it: these items are enabled and handled.
    const UINT offered[] = {ID_INFORMATION_INPUT, ID_KIND_INPUT,  ID_DISCOUNT_INPUT, ID_STEP_SETTING,
                            ID_CLASSIFY_TOTAL,    ID_SUBJECT_NO,  ID_INDENT,         ID_TOTAL_DISCOUNT,
                            ID_PAGE_SELECT,       ID_PAGE_INSERT, ID_PAGE_DELETE,    ID_PICK_LARGE,
                            ID_PICK_MIDDLE,       ID_PICK_SMALL,  ID_SUMMARY_TABLE,  ID_DISPLAY_FIX};
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MORVELTYPE));
    CWnd* pMain = AfxGetMainWnd();
    std::map<UINT, bool> enabled;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CMenu* pSub = menu.GetSubMenu(i);
        if (pSub == nullptr)
            continue;
        UpdateAsOpened(pSub, pMain);
        for (int k = 0; k < pSub->GetMenuItemCount(); ++k)
            enabled[pSub->GetMenuItemID(k)] = IsItemEnabled(pSub, k);
    }
    for (UINT nID : offered) {
        ASSERT_TRUE(enabled.count(nID) != 0) << nID;
        EXPECT_TRUE(enabled[nID]) << nID << " is not offered";
        EXPECT_TRUE(Handles(pMain, nID)) << nID;
    }
    // On the summary page the row commands are not offered; the information sheet is.
    Command(CTabWnd::ID_SUMMARY_PAGE_TAB);
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        CMenu* pSub = menu.GetSubMenu(i);
        if (pSub == nullptr)
            continue;
        UpdateAsOpened(pSub, pMain);
        for (int k = 0; k < pSub->GetMenuItemCount(); ++k)
            enabled[pSub->GetMenuItemID(k)] = IsItemEnabled(pSub, k);
    }
    EXPECT_TRUE(enabled[ID_INFORMATION_INPUT]);
    for (UINT nID : {ID_KIND_INPUT, ID_DISCOUNT_INPUT, ID_STEP_SETTING, ID_CLASSIFY_TOTAL, ID_TOTAL_DISCOUNT,
                     ID_PICK_LARGE, ID_SUMMARY_TABLE, ID_UNIT, ID_INDENT, ID_SUBJECT_NO, ID_IMPORT_OTHER})
        EXPECT_FALSE(enabled[nID]) << nID;
}

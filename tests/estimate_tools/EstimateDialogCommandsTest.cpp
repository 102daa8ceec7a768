// The estimate view's page commands run through their dialogs as a user runs them, and
// the pop-up menus the view tracks show the states of the command route.
#include "estimate_tools/EstimateDialogCommands.h"
#include "estimate_tools/CPageDialogs.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateViewMenus.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/EventWait.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

class EstimateDialogCommandsTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    std::vector<CString> Names(int nFirst, int nCount) const
    {
        std::vector<CString> names;
        for (int r = nFirst; r < nFirst + nCount; ++r)
            names.push_back(m_pView->GetCellText(r, scName));
        return names;
    }

    // Answers the next page dialog of that template with a typed page number and OK.
    static void AnswerPage(CDialogAnswerer& answerer, UINT nIDD, const char* lpszPage)
    {
        answerer.AnswerDialog(nIDD, [text = CString(lpszPage)](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_PAGE_NUMBER, text);
            ClickDlgButton(dlg, IDOK);
        });
    }
};

} // namespace

TEST_F(EstimateDialogCommandsTest, PageSelectGoesToTheTypedPageWithinThePages)
{
    const int nPageRows = m_pView->GetPageRows();
    CDialogAnswerer answerer;
    AnswerPage(answerer, IDD_PAGE_SELECT, "3");
    Command(ID_PAGE_SELECT);
    EXPECT_EQ(2 * nPageRows, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ(2 * nPageRows, m_pView->GetCurrentRow());

    // A page before the first is held at the first page.
    AnswerPage(answerer, IDD_PAGE_SELECT, "0");
    Command(ID_PAGE_SELECT);
    EXPECT_EQ(0, m_pView->GetFirstVisibleCell().y);

    AnswerPage(answerer, IDD_PAGE_SELECT, "100000");
    Command(ID_PAGE_SELECT);
    EXPECT_EQ(m_pView->GetLastPage() * nPageRows, m_pView->GetFirstVisibleCell().y);

    // Cancel moves nothing.
    answerer.AnswerDialog(IDD_PAGE_SELECT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_PAGE_NUMBER, "1");
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_PAGE_SELECT);
    EXPECT_EQ(m_pView->GetLastPage() * nPageRows, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(EstimateDialogCommandsTest, PageInsertOffersTheCurrentPageAndInsertsBeforeOrAfterIt)
{
    const int nPageRows = m_pView->GetPageRows();
    const std::vector<CString> before = Names(0, 3 * nPageRows);
    GoTo(scName, nPageRows + 2); // on page 2

    CDialogAnswerer answerer;
    CString offered;
    UINT nBeforeChecked = 0;
    answerer.AnswerDialog(IDD_PAGE_INSERT, [&](CDialog& dlg) {
        dlg.GetDlgItemText(IDC_PAGE_NUMBER, offered);
        nBeforeChecked = dlg.IsDlgButtonChecked(IDC_PAGE_BEFORE);
        ClickDlgButton(dlg, IDOK); // page 2, before it
    });
    Command(ID_PAGE_INSERT);
    EXPECT_EQ("2", offered.str());
    EXPECT_EQ(1u, nBeforeChecked);
    // An empty page where page 2 was; page 2 follows it.
    for (int r = nPageRows; r < 2 * nPageRows; ++r)
        EXPECT_TRUE(m_pView->GetCellText(r, scName).IsEmpty()) << r;
    EXPECT_EQ(std::vector<CString>(before.begin(), before.begin() + nPageRows), Names(0, nPageRows));
    EXPECT_EQ(std::vector<CString>(before.begin() + nPageRows, before.begin() + 2 * nPageRows),
              Names(2 * nPageRows, nPageRows));
    EXPECT_EQ(nPageRows, m_pView->GetCurrentRow());
    EXPECT_TRUE(IsModified());

    // "後": after page 1, that is before what is now page 2 (the empty one).
    answerer.AnswerDialog(IDD_PAGE_INSERT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_PAGE_NUMBER, "1");
        ClickDlgButton(dlg, IDC_PAGE_AFTER);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_PAGE_INSERT);
    for (int r = nPageRows; r < 3 * nPageRows; ++r)
        EXPECT_TRUE(m_pView->GetCellText(r, scName).IsEmpty()) << r;
    EXPECT_EQ(std::vector<CString>(before.begin() + nPageRows, before.begin() + 2 * nPageRows),
              Names(3 * nPageRows, nPageRows));

    // Page numbers outside the pages, and Cancel, insert nothing.
    const std::vector<CString> now = Names(0, 5 * nPageRows);
    AnswerPage(answerer, IDD_PAGE_INSERT, "0");
    Command(ID_PAGE_INSERT);
    answerer.EndDialogWith(IDD_PAGE_INSERT, IDCANCEL);
    Command(ID_PAGE_INSERT);
    EXPECT_EQ(now, Names(0, 5 * nPageRows));
}

TEST_F(EstimateDialogCommandsTest, PageDeleteRemovesTheTypedPage)
{
    const int nPageRows = m_pView->GetPageRows();
    ASSERT_GT(m_pView->GetUsedRows(), nPageRows);
    const std::vector<CString> before = Names(nPageRows, nPageRows);
    ASSERT_FALSE(Names(0, nPageRows) == before);

    CDialogAnswerer answerer;
    AnswerPage(answerer, IDD_PAGE_DELETE, "1");
    Command(ID_PAGE_DELETE);
    EXPECT_EQ(before, Names(0, nPageRows));
    EXPECT_TRUE(IsModified());

    // Not a page: nothing changes.
    const std::vector<CString> now = Names(0, 3 * nPageRows);
    AnswerPage(answerer, IDD_PAGE_DELETE, "x");
    Command(ID_PAGE_DELETE);
    EXPECT_EQ(now, Names(0, 3 * nPageRows));
}

// 頁削除 offers the current page as 頁 挿入 does, and asks before it deletes a page that
// holds rows; a page without rows goes without a question.
TEST_F(EstimateDialogCommandsTest, PageDeleteOffersTheCurrentPageAndAsksBeforeDeletingRows)
{
    const int nPageRows = m_pView->GetPageRows();
    ASSERT_GT(m_pView->GetUsedRows(), 2 * nPageRows);
    const std::vector<CString> before = Names(0, 3 * nPageRows);
    GoTo(scName, nPageRows + 2); // on page 2

    CDialogAnswerer answerer;
    CString offered;
    answerer.AnswerDialog(IDD_PAGE_DELETE, [&](CDialog& dlg) {
        dlg.GetDlgItemText(IDC_PAGE_NUMBER, offered);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerNextMessageBox(IDCANCEL);
    Command(ID_PAGE_DELETE);
    EXPECT_EQ(offered.str(), "2");
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0].ToUtf8(), "2ﾍﾟｰｼﾞの明細を削除します。よろしいですか？");
    EXPECT_EQ(answerer.GetShown().back().nType, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(Names(0, 3 * nPageRows), before) << "cancelled";
    EXPECT_FALSE(IsModified());

    answerer.ClearShown();
    AnswerPage(answerer, IDD_PAGE_DELETE, "2");
    answerer.AnswerNextMessageBox(IDOK);
    Command(ID_PAGE_DELETE);
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(Names(nPageRows, nPageRows),
              std::vector<CString>(before.begin() + 2 * nPageRows, before.begin() + 3 * nPageRows));

    // An empty page inserted before page 1 goes without a question.
    answerer.ClearShown();
    AnswerPage(answerer, IDD_PAGE_INSERT, "1");
    Command(ID_PAGE_INSERT);
    AnswerPage(answerer, IDD_PAGE_DELETE, "1");
    Command(ID_PAGE_DELETE);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(Names(0, nPageRows), std::vector<CString>(before.begin(), before.begin() + nPageRows));
}

TEST_F(EstimateDialogCommandsTest, ToolBarPopUpsShowTheStatesOfTheViewsCommandRoute)
{
    // Each item the view's pop-up shows enabled must be answered along the route of the
    // command the menu sends: the view and its document.
    for (UINT nCommand : {ID_SUBJECT_MENU, ID_TOTAL_MENU}) {
        std::map<UINT, bool> enabled;
        PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) {
            for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
                const UINT nID = pPopup->GetMenuItemID(i);
                if (nID == 0 || nID == static_cast<UINT>(-1))
                    continue;
                enabled[nID] = (pPopup->GetMenuState(i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
            }
            return 0u;
        });
        Command(nCommand);
        AfxSetPopupMenuChooser(previous);
        ASSERT_FALSE(enabled.empty()) << nCommand;
        for (const auto& [nID, bEnabled] : enabled) {
            if (!bEnabled)
                continue;
            AFX_CMDHANDLERINFO info{nullptr, nullptr};
            EXPECT_TRUE(m_pView->OnCmdMsg(nID, CN_COMMAND, nullptr, &info))
                << "enabled without a handler: " << nID << " in menu " << nCommand;
        }
    }
}

// Pictures of the page dialogs for a person to look at: with MORVEL_DIALOG_SHOTS naming a
// folder and a real display, each dialog is photographed while it is up.
TEST_F(EstimateDialogCommandsTest, PageDialogPictures)
{
    const char* lpszFolder = std::getenv("MORVEL_DIALOG_SHOTS");
    if (lpszFolder == nullptr)
        GTEST_SKIP() << "MORVEL_DIALOG_SHOTS not set";
    CDialogAnswerer answerer;
    int nTaken = 0;
    for (UINT nIDD : {IDD_PAGE_SELECT, IDD_PAGE_DELETE, IDD_PAGE_INSERT}) {
        answerer.AnswerDialog(nIDD, [&, nIDD](CDialog& dlg) {
            dlg.ShowWindow(SW_SHOW);
            dlg.SetForegroundWindow();
            if (TakeScreenshot(dlg.GetWidget(),
                               std::string(lpszFolder) + "/page" + std::to_string(nIDD) + ".png"))
                ++nTaken;
            ClickDlgButton(dlg, IDCANCEL);
        });
    }
    Command(ID_PAGE_SELECT);
    Command(ID_PAGE_DELETE);
    Command(ID_PAGE_INSERT);
    EXPECT_EQ(3, nTaken);
}

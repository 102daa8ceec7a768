// The subject and unit pick lists beside the estimate grid: choices reach the grid, the
// lists follow their close-after-choice flags, and their master edits reach the tables and
// the master files.
#include "app/CMorvelApp.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class PickDialogsTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        CPickListFlags::Get() = CPickListFlags{};
        ASSERT_NE(OpenSample(), nullptr);
        m_nUsed = m_pView->GetUsedRows();
    }

    CSubjectFile& Subjects() { return m_pApp->m_subjectFile; }
    CUnitFile& Units() { return m_pApp->m_unitFile; }
    CSubjectPickDialog* SubjectPick(ERowKind nHeading) const
    {
        return dynamic_cast<CSubjectPickDialog*>(
            m_pView->GetPickDialog(CMorvelEMView::PickOfHeading(nHeading)));
    }
    CUnitPickDialog* UnitPick() const
    {
        return dynamic_cast<CUnitPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::pickUnit));
    }
    static void Select(CListCtrl& list, int nItem)
    {
        list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::string FileBytes(const std::string& relative) const
    {
        std::ifstream in(m_pFolder->Native(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    int m_nUsed = 0;
};

} // namespace

TEST_F(PickDialogsTest, ASubjectPickedLandsAsAHeadingAndTheListCloses)
{
    GoTo(scName, m_nUsed);
    Command(ID_PICK_MIDDLE);
    CSubjectPickDialog* pPick = SubjectPick(kindMiddle);
    ASSERT_NE(pPick, nullptr);
    EXPECT_TRUE(pPick->IsWindowVisible());
    const int nLevel = CSubjectFile::levelMiddle;
    ASSERT_GT(Subjects().GetCount(nLevel), 2);
    EXPECT_EQ(Subjects().GetCount(nLevel), pPick->List().GetItemCount());
    EXPECT_EQ(0, pPick->List().GetNextItem(-1, LVNI_SELECTED));
    CString caption;
    pPick->GetWindowText(caption);
    EXPECT_EQ("中科目選択", caption.ToUtf8());
    EXPECT_EQ(1u, pPick->IsDlgButtonChecked(IDC_PICK_CLOSE_AFTER));

    // Opening it again brings the same list forward.
    Command(ID_PICK_MIDDLE);
    EXPECT_EQ(pPick, SubjectPick(kindMiddle));

    Select(pPick->List(), 2);
    ClickDlgButton(*pPick, IDOK);
    Pump();
    EXPECT_EQ(kindMiddle, m_pView->GetRowKind(m_nUsed));
    EXPECT_EQ(Subjects().GetName(nLevel, 2).str(), m_pView->GetCellText(m_nUsed, scName).str());
    EXPECT_EQ(Subjects().GetUnit(nLevel, 2).str(), m_pView->GetCellText(m_nUsed, scUnit).str());
    EXPECT_EQ(m_nUsed + 1, m_pView->GetCurrentRow());
    EXPECT_EQ(nullptr, SubjectPick(kindMiddle));
}

TEST_F(PickDialogsTest, TheCloseAfterChoiceFlagIsKeptPerLevelForTheRun)
{
    GoTo(scName, m_nUsed);
    Command(ID_PICK_LARGE);
    CSubjectPickDialog* pPick = SubjectPick(kindLarge);
    ASSERT_NE(pPick, nullptr);
    ClickDlgButton(*pPick, IDC_PICK_CLOSE_AFTER);
    // Two choices; the list stays.
    Select(pPick->List(), 0);
    ClickDlgButton(*pPick, IDOK);
    Select(pPick->List(), 1);
    ClickDlgButton(*pPick, IDOK);
    EXPECT_EQ(pPick, SubjectPick(kindLarge));
    EXPECT_EQ(kindLarge, m_pView->GetRowKind(m_nUsed));
    EXPECT_EQ(kindLarge, m_pView->GetRowKind(m_nUsed + 1));
    EXPECT_EQ(Subjects().GetName(CSubjectFile::levelLarge, 1).str(),
              m_pView->GetCellText(m_nUsed + 1, scName).str());
    // Without a row chosen OK sends nothing and is greyed.
    pPick->List().SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_FALSE(pPick->GetDlgItem(IDOK)->IsWindowEnabled());
    EXPECT_FALSE(pPick->GetDlgItem(IDC_PICK_DELETE)->IsWindowEnabled());
    ClickDlgButton(*pPick, IDCANCEL);
    EXPECT_EQ(nullptr, SubjectPick(kindLarge));
    EXPECT_EQ(m_nUsed + 2, m_pView->GetUsedRows());

    // The next large list starts with the flag off; the small list's is still on.
    Command(ID_PICK_LARGE);
    ASSERT_NE(SubjectPick(kindLarge), nullptr);
    EXPECT_EQ(0u, SubjectPick(kindLarge)->IsDlgButtonChecked(IDC_PICK_CLOSE_AFTER));
    Command(ID_PICK_SMALL);
    ASSERT_NE(SubjectPick(kindSmall), nullptr);
    EXPECT_EQ(1u, SubjectPick(kindSmall)->IsDlgButtonChecked(IDC_PICK_CLOSE_AFTER));
    // The close box closes them as Cancel does.
    SubjectPick(kindLarge)->SendMessage(WM_CLOSE);
    SubjectPick(kindSmall)->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(nullptr, SubjectPick(kindLarge));
    EXPECT_EQ(nullptr, SubjectPick(kindSmall));
}

TEST_F(PickDialogsTest, APickCommandIsGreyedInTheMenuWhileItsListIsOpen)
{
    // The input menu of the estimate window as the main frame updates it when it opens.
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MORVELTYPE));
    CMenu* pInput = nullptr;
    for (int i = 0; i < menu.GetMenuItemCount() && pInput == nullptr; ++i) {
        CMenu* pSub = menu.GetSubMenu(i);
        if (pSub != nullptr && pSub->GetMenuState(ID_PICK_LARGE, MF_BYCOMMAND) != static_cast<UINT>(-1))
            pInput = pSub;
    }
    ASSERT_NE(pInput, nullptr);
    auto enabled = [&](UINT nID) {
        AfxGetMainWnd()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pInput->m_hMenu), 0);
        return (pInput->GetMenuState(nID, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
    };
    const UINT ids[] = {ID_PICK_LARGE, ID_PICK_MIDDLE, ID_PICK_SMALL};
    const ERowKind levels[] = {kindLarge, kindMiddle, kindSmall};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(enabled(ids[i]));
        Command(ids[i]);
        ASSERT_NE(SubjectPick(levels[i]), nullptr);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(i != j, enabled(ids[j])) << j;
        ClickDlgButton(*SubjectPick(levels[i]), IDCANCEL);
        Pump();
        EXPECT_TRUE(enabled(ids[i]));
    }
}

// The unit column of 小科目選択 shows its heading and every unit whole, also a long unit
// added through the list.
TEST_F(PickDialogsTest, TheSmallSubjectListShowsEveryUnitWhole)
{
    Command(ID_PICK_SMALL);
    CSubjectPickDialog* pPick = SubjectPick(kindSmall);
    ASSERT_NE(pPick, nullptr);
    CListCtrlEx& list = pPick->List();
    const auto cut = [&list] {
        CClientDC dc(&list);
        CFont* pOldFont = dc.SelectObject(list.GetFont());
        std::vector<std::string> texts;
        const int cx = list.GetColumnWidth(1);
        if (dc.GetTextExtent("単位"_sj).cx + 24 > cx)
            texts.push_back("単位");
        for (int i = 0; i < list.GetItemCount(); ++i) {
            BOOL bShortened = FALSE;
            CListCtrlEx::MakeShortString(&dc, list.GetItemText(i, 1), cx, 12, &bShortened);
            if (bShortened)
                texts.push_back(list.GetItemText(i, 1).ToUtf8());
        }
        dc.SelectObject(pOldFont);
        return texts;
    };
    ASSERT_GT(list.GetItemCount(), 0);
    EXPECT_EQ(cut(), std::vector<std::string>());

    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_NAME_UNIT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "養生"_sj);
        TypeDlgItemText(dlg, IDC_ROW_UNIT, "ｍ２・日当り"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    ClickDlgButton(*pPick, IDC_PICK_ADD);
    ASSERT_EQ(list.GetItemText(list.GetItemCount() - 1, 1).ToUtf8(), "ｍ２・日当り");
    EXPECT_EQ(cut(), std::vector<std::string>());
}

TEST_F(PickDialogsTest, SubjectListEditsTheMasterAndItsFile)
{
    const int nLevel = CSubjectFile::levelSmall;
    const int nCount = Subjects().GetCount(nLevel);
    ASSERT_GE(nCount, 4);
    const CString fourth = Subjects().GetName(nLevel, 3);
    const std::string before = FileBytes("MASTER/KAMOKU.MKS");
    Command(ID_PICK_SMALL);
    CSubjectPickDialog* pPick = SubjectPick(kindSmall);
    ASSERT_NE(pPick, nullptr);

    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_NAME_UNIT, [](CDialog& dlg) {
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ("小科目入力", caption.ToUtf8());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_ROW_TEXT)->IsWindowVisible());
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "新規小科目"_sj);
        TypeDlgItemText(dlg, IDC_ROW_UNIT, "ｍ"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    ClickDlgButton(*pPick, IDC_PICK_ADD);
    ASSERT_EQ(nCount + 1, Subjects().GetCount(nLevel));
    EXPECT_EQ("新規小科目", Subjects().GetName(nLevel, nCount).ToUtf8());
    EXPECT_EQ(nCount + 1, pPick->List().GetItemCount());
    const std::string added = FileBytes("MASTER/KAMOKU.MKS");
    EXPECT_NE(before, added);
    EXPECT_NE(std::string::npos, added.find("新規小科目"_sj.str()));

    // Change: the dialog comes filled with the entry.
    Select(pPick->List(), nCount);
    answerer.AnswerDialog(IDD_NAME_UNIT, [](CDialog& dlg) {
        CString name;
        dlg.GetDlgItemText(IDC_ROW_TEXT, name);
        EXPECT_EQ("新規小科目", name.ToUtf8());
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "変更小科目"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    ClickDlgButton(*pPick, IDC_PICK_CHANGE);
    EXPECT_EQ("変更小科目", Subjects().GetName(nLevel, nCount).ToUtf8());
    EXPECT_EQ("変更小科目", pPick->List().GetItemText(nCount, 0).ToUtf8());

    // Delete the third: No keeps it, Yes removes it and the fourth moves up.
    Select(pPick->List(), 2);
    answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDNO);
    ClickDlgButton(*pPick, IDC_PICK_DELETE);
    EXPECT_EQ(nCount + 1, Subjects().GetCount(nLevel));
    answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDYES);
    ClickDlgButton(*pPick, IDC_PICK_DELETE);
    EXPECT_EQ(nCount, Subjects().GetCount(nLevel));
    EXPECT_EQ(fourth.str(), Subjects().GetName(nLevel, 2).str());
    EXPECT_EQ(fourth.str(), pPick->List().GetItemText(2, 0).str());
    EXPECT_EQ(0, answerer.CountUnanswered());
    pPick->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_EQ(nullptr, SubjectPick(kindSmall));
}

TEST_F(PickDialogsTest, EnterOnTheUnitColumnPicksAUnitForTheCell)
{
    ASSERT_GT(Units().GetCount(), 3);
    GoTo(scUnit, srFirstDetail);
    const CString unit = m_pView->GetCellText(srFirstDetail, scUnit);
    Key(VK_RETURN);
    CUnitPickDialog* pPick = UnitPick();
    ASSERT_NE(pPick, nullptr);
    EXPECT_TRUE(pPick->IsWindowVisible());
    // No cursor movement; the cell's own unit is chosen.
    EXPECT_EQ(scUnit, m_pView->GetCurrentCol());
    const int nSelected = pPick->List().GetNextItem(-1, LVNI_SELECTED);
    ASSERT_GE(nSelected, 0);
    EXPECT_EQ(unit.str(), pPick->List().GetItemText(nSelected, 0).str());
    // While it is open the command is greyed.
    const int nOther = nSelected == 0 ? 1 : 0;
    Select(pPick->List(), nOther);
    ClickDlgButton(*pPick, IDOK);
    Pump();
    EXPECT_EQ(nullptr, UnitPick());
    EXPECT_EQ(Units().GetUnit(nOther).str(), m_pView->GetCellText(srFirstDetail, scUnit).str());
    EXPECT_EQ(kindDetail, m_pView->GetRowKind(srFirstDetail));
    EXPECT_TRUE(IsModified());

    // A cell holding no known unit: nothing chosen, change and delete greyed; OK leaves the
    // cell as it was.
    GoTo(scUnit, srFirstDetail + 1);
    m_pView->SetCellText("未知単位"_sj, srFirstDetail + 1, scUnit, TRUE);
    Command(ID_UNIT);
    pPick = UnitPick();
    ASSERT_NE(pPick, nullptr);
    EXPECT_EQ(-1, pPick->List().GetNextItem(-1, LVNI_SELECTED));
    EXPECT_FALSE(pPick->GetDlgItem(IDC_PICK_CHANGE)->IsWindowEnabled());
    EXPECT_FALSE(pPick->GetDlgItem(IDC_PICK_DELETE)->IsWindowEnabled());
    ClickDlgButton(*pPick, IDOK);
    EXPECT_EQ(nullptr, UnitPick());
    EXPECT_EQ("未知単位", Utf8Cell(srFirstDetail + 1, scUnit));
}

TEST_F(PickDialogsTest, UnitListAddsChangesAndDeletesUnits)
{
    const int nCount = Units().GetCount();
    GoTo(scUnit, srFirstDetail);
    Command(ID_UNIT);
    CUnitPickDialog* pPick = UnitPick();
    ASSERT_NE(pPick, nullptr);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_NAME_UNIT, [](CDialog& dlg) {
        // Only the unit shows.
        EXPECT_FALSE(dlg.GetDlgItem(IDC_ROW_TEXT)->IsWindowVisible());
        EXPECT_FALSE(dlg.GetDlgItem(IDC_NAME_LABEL)->IsWindowVisible());
        TypeDlgItemText(dlg, IDC_ROW_UNIT, "ケース"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    ClickDlgButton(*pPick, IDC_PICK_ADD);
    ASSERT_EQ(nCount + 1, Units().GetCount());
    EXPECT_EQ("ケース", Units().GetUnit(nCount).ToUtf8());
    EXPECT_NE(std::string::npos, FileBytes("MASTER/TANNI.MTD").find("ケース"_sj.str()));

    Select(pPick->List(), nCount);
    answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDYES);
    ClickDlgButton(*pPick, IDC_PICK_DELETE);
    EXPECT_EQ(nCount, Units().GetCount());
    EXPECT_EQ(std::string::npos, FileBytes("MASTER/TANNI.MTD").find("ケース"_sj.str()));
    // Cancel answers "nothing" and closes.
    ClickDlgButton(*pPick, IDCANCEL);
    EXPECT_EQ(nullptr, UnitPick());
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(PickDialogsTest, AListLeftBehindByAnotherListsEditDeletesNothingByMistake)
{
    // Two lists of the same level (as two estimate windows have them).
    const int nLevel = CSubjectFile::levelLarge;
    const int nCount = Subjects().GetCount(nLevel);
    ASSERT_GE(nCount, 3);
    const CString second = Subjects().GetName(nLevel, 1);
    const CString third = Subjects().GetName(nLevel, 2);
    auto* pFirst = new CSubjectPickDialog(1, m_pView, Subjects());
    auto* pOther = new CSubjectPickDialog(1, m_pView, Subjects());
    ASSERT_TRUE(pFirst->Create());
    ASSERT_TRUE(pOther->Create());
    CDialogAnswerer answerer;
    answerer.SetDefaultMessageBoxAnswer(IDYES);
    // The first list deletes entry 0; the other list still shows it.
    Select(pFirst->List(), 0);
    ClickDlgButton(*pFirst, IDC_PICK_DELETE);
    ASSERT_EQ(nCount - 1, Subjects().GetCount(nLevel));
    EXPECT_EQ(nCount, pOther->List().GetItemCount());
    // The other list's row 1 (the old second entry) is no longer the master's entry 1: the
    // delete is refused and the list shows the master again.
    Select(pOther->List(), 1);
    ClickDlgButton(*pOther, IDC_PICK_DELETE);
    EXPECT_EQ(nCount - 1, Subjects().GetCount(nLevel));
    EXPECT_EQ(second.str(), Subjects().GetName(nLevel, 0).str());
    EXPECT_EQ(nCount - 1, pOther->List().GetItemCount());
    EXPECT_EQ(third.str(), pOther->List().GetItemText(1, 0).str());
    // Now current, it deletes what it shows.
    Select(pOther->List(), 1);
    ClickDlgButton(*pOther, IDC_PICK_DELETE);
    EXPECT_EQ(nCount - 2, Subjects().GetCount(nLevel));
    EXPECT_EQ(second.str(), Subjects().GetName(nLevel, 0).str());
    pFirst->DestroyWindow();
    pOther->DestroyWindow();
}

// Text typed and left open when a pick list is chosen from the menu is kept in the row it
// was typed in; nothing of it is stored later into the cell that is current then.
TEST_F(PickDialogsTest, TextTypedBeforeAPickStaysInItsRow)
{
    GoTo(scName, m_nUsed);
    TypeUtf8("ABC");
    ASSERT_TRUE(EditorVisible());
    Command(ID_PICK_MIDDLE);
    CSubjectPickDialog* pPick = SubjectPick(kindMiddle);
    ASSERT_NE(pPick, nullptr);
    Select(pPick->List(), 2);
    ClickDlgButton(*pPick, IDOK);
    Pump();
    GoTo(scSpec, srFirstDetail);
    const int nLevel = CSubjectFile::levelMiddle;
    EXPECT_EQ(Subjects().GetName(nLevel, 2).str(), m_pView->GetCellText(m_nUsed, scName).str());
    EXPECT_EQ("ABC", Utf8Cell(m_nUsed + 1, scName));
    EXPECT_EQ("", Utf8Cell(m_nUsed + 2, scName));
    EXPECT_EQ(m_nUsed + 2, m_pView->GetUsedRows());

    // The unit typed into a unit cell gives way to the unit picked for it.
    GoTo(scUnit, srFirstDetail);
    TypeUtf8("zz");
    Command(ID_UNIT);
    ASSERT_NE(UnitPick(), nullptr);
    Select(UnitPick()->List(), 1);
    ClickDlgButton(*UnitPick(), IDOK);
    Pump();
    GoTo(scSpec, srFirstDetail + 2);
    EXPECT_EQ(Units().GetUnit(1).str(), m_pView->GetCellText(srFirstDetail, scUnit).str());
    EXPECT_NE("zz", Utf8Cell(srFirstDetail + 1, scUnit));
}

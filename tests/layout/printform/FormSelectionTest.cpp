// New layouts through the form-selection sheets, as a user makes them: File New of a layout
// type shows "形式ﾌｧｲﾙ選択" with the form files of each folder, the chosen forms are read into
// the layout, and the layout saves with a backup and reopens with the same forms and
// objects. Cancel makes no layout.
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFilePages.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/Path.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "resources/PrintFormIds.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <filesystem>

namespace {

class FormSelectionTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        // A second estimation form whose first item is named differently.
        std::filesystem::copy_file(m_pFolder->Native("FORM/meisai.MMK"), m_pFolder->Native("FORM/OTHER.MMK"));
    }

    CDocument* NewLayout(UINT nIDResource)
    {
        CDocManager* pManager = m_pApp->m_pDocManager;
        for (POSITION pos = pManager->GetFirstDocTemplatePosition(); pos;) {
            CDocTemplate* pTemplate = pManager->GetNextDocTemplate(pos);
            if (pTemplate->GetResourceID() == nIDResource) {
                CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
                Pump();
                return pDoc;
            }
        }
        return nullptr;
    }

    // The rows of a page's list: file names in list order, and the selected one.
    static std::vector<CString> Rows(CPrintFilePage& page, int* pSelected)
    {
        std::vector<CString> rows;
        for (int i = 0; i < page.m_list.GetItemCount(); ++i) {
            EXPECT_EQ(page.m_list.GetItemText(i, 0), CString(std::to_string(i + 1)));
            rows.push_back(page.m_list.GetItemText(i, 1));
        }
        *pSelected = page.m_list.GetNextItem(-1, LVNI_SELECTED);
        return rows;
    }

    static void SelectRow(CPrintFilePage& page, const CString& name)
    {
        for (int i = 0; i < page.m_list.GetItemCount(); ++i) {
            if (page.m_list.GetItemText(i, 1) == name)
                page.m_list.SetItemState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            else
                page.m_list.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }

    CDialogAnswerer answerer;
};

} // namespace

TEST_F(FormSelectionTest, NewEstimateLayoutTakesTheChosenFormsAndReopensWithThem)
{
    CString caption;
    bool bInformationPageMade = true;
    bool bHelpVisible = true;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        auto& sheet = dynamic_cast<CMyEMPrintFileSheet&>(d);
        d.GetWindowText(caption);
        EXPECT_EQ(sheet.GetActivePage(), &sheet.m_estimationPage);
        int nSelected = -1;
        std::vector<CString> rows = Rows(sheet.m_estimationPage, &nSelected);
        ASSERT_EQ(rows.size(), 2u);
        // The settings name "meisai.MMK": it starts selected.
        ASSERT_GE(nSelected, 0);
        EXPECT_EQ(rows[static_cast<size_t>(nSelected)], "meisai.MMK");
        bHelpVisible = d.GetDlgItem(IDHELP)->IsWindowVisible();
        SelectRow(sheet.m_estimationPage, "OTHER.MMK");
        bInformationPageMade = sheet.m_informationPage.m_hWnd != nullptr;
        ClickDlgButton(d, IDOK);
    });
    auto* pDoc = dynamic_cast<CPrintEMDoc*>(NewLayout(IDR_EMFORMTYPE));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(caption, "形式ﾌｧｲﾙ選択"_sj);
    EXPECT_FALSE(bHelpVisible);
    EXPECT_FALSE(bInformationPageMade);
    EXPECT_EQ(pDoc->m_strCurEstimationForm, "OTHER.MMK");
    // The page never opened gives back the name it was given, unchanged.
    EXPECT_EQ(pDoc->m_strCurInformationForm, "JYOUHOU.MJK");
    EXPECT_EQ(pDoc->m_curEstimationForm.GetCount(), 10);
    EXPECT_EQ(pDoc->m_curInformationForm.GetCount(), 13);
    EXPECT_TRUE(pDoc->m_objects.IsEmpty());

    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = "$見積(1,金額,12)$"_sj;
    pDoc->Add(pText);
    pDoc->Add(new CDrawRect(CRect(-100, 100, 100, -100)));
    const CString path = m_pFolder->System("WORK/NEW.MMP");
    ASSERT_TRUE(pDoc->DoSave(path));
    EXPECT_FALSE(FileExists(m_pFolder->System("WORK/NEW.BMP")));
    ASSERT_TRUE(pDoc->DoSave(path)); // the second save keeps the first as the backup
    EXPECT_TRUE(FileExists(m_pFolder->System("WORK/NEW.BMP")));
    pDoc->OnCloseDocument();
    Pump();

    auto* pAgain = dynamic_cast<CPrintEMDoc*>(Open(path));
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(pAgain->m_strCurEstimationForm, "OTHER.MMK");
    EXPECT_EQ(pAgain->m_strCurInformationForm, "JYOUHOU.MJK");
    EXPECT_EQ(pAgain->m_curEstimationForm.GetCount(), 10);
    ASSERT_EQ(pAgain->m_objects.GetCount(), 2);
    EXPECT_EQ(dynamic_cast<CDrawText*>(pAgain->m_objects.GetHead())->m_strText, "$見積(1,金額,12)$"_sj);
    ASSERT_EQ(pAgain->GetFieldRefCount(), 1);
    EXPECT_EQ(pAgain->GetFieldRef(0)->m_nValue, 12);
}

TEST_F(FormSelectionTest, NewPartsLayoutTakesItsFormAndSavesWithABackup)
{
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        auto& sheet = dynamic_cast<CMyPMPrintFileSheet&>(d);
        int nSelected = -1;
        std::vector<CString> rows = Rows(sheet.m_partsPage, &nSelected);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(nSelected, 0);
        ClickDlgButton(d, IDOK);
    });
    auto* pDoc = dynamic_cast<CPrintPMDoc*>(NewLayout(IDR_PMFORMTYPE));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_strCurPartsForm, "BUZAI.MBK");
    EXPECT_EQ(pDoc->m_curPartsForm.GetCount(), 7);
    pDoc->Add(new CDrawText(CRect(-200, 300, 200, 270)));
    const CString path = m_pFolder->System("WORK/NEW.MBP");
    ASSERT_TRUE(pDoc->DoSave(path));
    ASSERT_TRUE(pDoc->DoSave(path));
    EXPECT_TRUE(FileExists(m_pFolder->System("WORK/NEW.BBP")));
    pDoc->OnCloseDocument();
    Pump();
    auto* pAgain = dynamic_cast<CPrintPMDoc*>(Open(path));
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(pAgain->m_strCurPartsForm, "BUZAI.MBK");
    EXPECT_EQ(pAgain->m_objects.GetCount(), 1);
}

TEST_F(FormSelectionTest, CancelOrAFormThatCannotBeReadMakesNoLayout)
{
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& d) { ClickDlgButton(d, IDCANCEL); });
    EXPECT_EQ(NewLayout(IDR_EMFORMTYPE), nullptr);

    // An empty folder: OK returns no name, and no layout is made.
    m_pFolder->Profile().WriteProfileString("Path Setting", "Parts Form", m_pFolder->System("MASTER"));
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& d) {
        auto& sheet = dynamic_cast<CMyPMPrintFileSheet&>(d);
        EXPECT_EQ(sheet.m_partsPage.m_list.GetItemCount(), 0);
        ClickDlgButton(d, IDOK);
    });
    EXPECT_EQ(NewLayout(IDR_PMFORMTYPE), nullptr);
}

TEST_F(FormSelectionTest, PreselectionIsComparedInUpperCaseAndRowsFollowTheFolder)
{
    CMyEMPrintFileSheet sheet("形式ﾌｧｲﾙ選択"_sj, "other.mmk", "jyouhou.mjk");
    CString chosen;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& d) {
        int nSelected = -1;
        std::vector<CString> rows = Rows(sheet.m_estimationPage, &nSelected);
        ASSERT_GE(nSelected, 0);
        EXPECT_EQ(rows[static_cast<size_t>(nSelected)], "OTHER.MMK");
        // The information page, opened, selects the file listed in lower case.
        ASSERT_TRUE(sheet.SetActivePage(1));
        rows = Rows(sheet.m_informationPage, &nSelected);
        ASSERT_GE(nSelected, 0);
        EXPECT_EQ(rows[static_cast<size_t>(nSelected)], "JYOUHOU.MJK");
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheet.m_estimationPage.m_strFileName, "OTHER.MMK");
    EXPECT_EQ(sheet.m_informationPage.m_strFileName, "JYOUHOU.MJK");
}

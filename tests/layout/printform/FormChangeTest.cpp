// "使用形式変更(&K)" of the layout documents, through the form-selection sheet and the
// item-mapping dialog as a user answers them: the new form takes over and every token
// points at the item the user mapped to it.
#include "estimate_tools/EstimateToolsRegistration.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFilePages.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/FormFileReading.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateIoIds.h"
#include "resources/PrintFormIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/layout/printform/LayoutTestSupport.h"
#include "tests/support/EventWait.h"

#include <cstdlib>
#include <memory>

namespace {

CString sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

void SelectRow(CPrintFilePage& page, const CString& name)
{
    for (int i = 0; i < page.m_list.GetItemCount(); ++i) {
        const UINT nState = page.m_list.GetItemText(i, 1) == name ? LVIS_SELECTED | LVIS_FOCUSED : 0;
        page.m_list.SetItemState(i, nState, LVIS_SELECTED | LVIS_FOCUSED);
    }
}

template <class Form>
void WriteForm(const CString& path, Form& form)
{
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    form.Serialize(ar);
    ar.Close();
}

class FormChangeTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        RegisterEstimateIoDialogs();
        m_pDoc = std::make_unique<CPrintEMDoc>();
        ASSERT_TRUE(m_pDoc->ReadForms("meisai.MMK", "JYOUHOU.MJK"));
        const CEstimationFormFile& form = m_pDoc->m_curEstimationForm;
        ASSERT_GE(form.GetCount(), 4);
        for (int i = 0; i < 4; ++i)
            m_old.push_back(form.GetItem(i, 0));
        // The new form: the first three items in another order and under new names; the
        // rest as they were.
        CEstimationFormFile other = form;
        other.SetItem(0, 0, sj("新A"));
        other.SetItem(1, 0, sj("新B"));
        other.SetItem(2, 0, sj("新C"));
        WriteForm(m_pFolder->System("FORM/OTHER.MMK"), other);
        // A file that is no form at all.
        WriteNativeFile(m_pFolder->Native("FORM/BAD.MMK"),
                        {'n', 'o', 't', ' ', 'a', ' ', 'f', 'o', 'r', 'm'});
    }

    // The form-selection sheet answered with the estimation form fileName.
    void ChooseEstimationForm(const char* fileName)
    {
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [fileName](CDialog& d) {
            auto& sheet = dynamic_cast<CMyEMPrintFileSheet&>(d);
            SelectRow(sheet.m_estimationPage, fileName);
            ClickDlgButton(d, IDOK);
        });
    }

    // The mapping dialog: new item i takes the old item sources[i] (-1: left empty).
    void MapItems(std::vector<int> sources, int nResult = IDOK)
    {
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [this, sources, nResult](CDialog& d) {
            for (size_t i = 0; i < sources.size(); ++i) {
                if (sources[i] < 0)
                    continue;
                answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [k = sources[i]](CDialog& list) {
                    DoubleClickListRow(list, IDC_IMPORT_ITEM_LIST, k + 1);
                });
                DoubleClickListRow(d, IDC_IMPORT_FORMAT_LIST, static_cast<int>(i));
            }
            ClickDlgButton(d, nResult);
        });
    }

    CString Token(int nOld, int nRow) const
    {
        CString s;
        s.Format("%s%d)$", (sj("$見積(1,") + m_old[static_cast<size_t>(nOld)] + ",").c_str(), nRow);
        return s;
    }

    BOOL ChangeForm() { return m_pDoc->OnCmdMsg(ID_CHANGE_FORM, CN_COMMAND, nullptr, nullptr); }

    CDialogAnswerer answerer;
    std::unique_ptr<CPrintEMDoc> m_pDoc;
    std::vector<CString> m_old;
};

} // namespace

TEST_F(FormChangeTest, EveryTokenPointsAtTheItemTheUserMapped)
{
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = sj("計 ") + Token(0, 1) + Token(1, 2) + Token(2, 3) + Token(3, 4) + sj(" 円");
    m_pDoc->Add(pText);
    auto* pTable = new CDrawTable(CRect(100, 0, 0, 40));
    pTable->AddCell(CRect(50, 0, 0, 20))->m_strText = Token(0, 7);
    pTable->AddCell(CRect(100, 0, 50, 20))->m_strText =
        Token(2, 8) + sj("$情報(") + m_pDoc->m_curInformationForm.GetItem(0, 0) + ")$";
    m_pDoc->Add(pTable);
    m_pDoc->SetModifiedFlag(FALSE);

    ChooseEstimationForm("OTHER.MMK");
    // 新A (new 0) comes from old item 2, 新B from old item 0, 新C from old item 1: a mapping
    // that is not its own inverse. Old item 3 is mapped by nobody.
    MapItems({2, 0, 1});
    ASSERT_TRUE(ChangeForm());
    EXPECT_EQ(answerer.CountUnanswered(), 0);

    EXPECT_EQ(m_pDoc->m_strCurEstimationForm, "OTHER.MMK");
    EXPECT_EQ(m_pDoc->m_strPrevEstimationForm, "meisai.MMK");
    EXPECT_EQ(m_pDoc->m_prevEstimationForm.GetItem(0, 0), m_old[0]);
    ASSERT_GE(m_pDoc->m_astrFieldMap.GetSize(), 3);
    EXPECT_EQ(m_pDoc->m_astrFieldMap[0], " C");
    EXPECT_EQ(m_pDoc->m_astrFieldMap[1], " A");
    EXPECT_EQ(pText->m_strText, sj("計 $見積(1,新B,1)$$見積(1,新C,2)$$見積(1,新A,3)$ 円"));
    EXPECT_EQ(pTable->GetCell(0)->m_strText, sj("$見積(1,新B,7)$"));
    // The information form did not change: its token stays.
    EXPECT_EQ(pTable->GetCell(1)->m_strText,
              sj("$見積(1,新A,8)$$情報(") + m_pDoc->m_curInformationForm.GetItem(0, 0) + ")$");
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(FormChangeTest, CancelledMappingKeepsTokensButTheNewFormIsUsedAndSaved)
{
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = Token(0, 1);
    m_pDoc->Add(pText);
    m_pDoc->SetModifiedFlag(FALSE);
    ChooseEstimationForm("OTHER.MMK");
    MapItems({2, 0, 1}, IDCANCEL);
    ChangeForm();
    EXPECT_EQ(m_pDoc->m_strCurEstimationForm, "OTHER.MMK");
    EXPECT_EQ(pText->m_strText, Token(0, 1));
    // The form in use is part of the file: the change must not be lost on closing.
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(FormChangeTest, SameFormBadFormOrCancelChangeNothing)
{
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = Token(1, 1);
    m_pDoc->Add(pText);
    m_pDoc->SetModifiedFlag(FALSE);

    // Cancel in the sheet.
    answerer.EndDialogWith(AFX_IDD_PROPSHEET, IDCANCEL);
    ChangeForm();
    // The same form again under its own name: no mapping dialog.
    ChooseEstimationForm("meisai.MMK");
    ChangeForm();
    // A file that is no form: its message, and nothing changes.
    ChooseEstimationForm("BAD.MMK");
    answerer.AnswerMessageBox(sj("見積形式ﾌｧｲﾙがないか、壊れています。"), IDOK);
    ChangeForm();

    EXPECT_EQ(answerer.CountUnanswered(), 0);
    for (UINT nID : answerer.DialogIds())
        EXPECT_NE(nID, IDD_IMPORT_FORMAT);
    EXPECT_EQ(m_pDoc->m_strCurEstimationForm, "meisai.MMK");
    EXPECT_TRUE(m_pDoc->m_strPrevEstimationForm.IsEmpty());
    EXPECT_EQ(pText->m_strText, Token(1, 1));
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(FormChangeTest, PartsLayoutRemapsItsPartsTokens)
{
    CPrintPMDoc doc;
    ASSERT_TRUE(doc.ReadForms("BUZAI.MBK"));
    const CPartFormFile& form = doc.m_curPartsForm;
    ASSERT_GE(form.GetCount(), 2);
    const CString first = form.GetItem(0, 0), second = form.GetItem(1, 0);
    CPartFormFile other = form;
    other.SetItem(0, 0, sj("部品"));
    WriteForm(m_pFolder->System("FORM/OTHER.MBK"), other);
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = sj("$部材(1,") + first + ",2)$" + sj("$部材(1,") + second + ",2)$";
    doc.Add(pText);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& d) {
        auto& sheet = dynamic_cast<CMyPMPrintFileSheet&>(d);
        SelectRow(sheet.m_partsPage, "OTHER.MBK");
        ClickDlgButton(d, IDOK);
    });
    // New item 0 (部品) from old item 0; new item 1 from nothing.
    MapItems({0, -1});
    ASSERT_TRUE(doc.OnCmdMsg(ID_CHANGE_FORM, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(doc.m_strCurPartsForm, "OTHER.MBK");
    EXPECT_EQ(pText->m_strText, sj("$部材(1,部品,2)$"));
}

// A picture of the mapping dialog during a change of form, for a person to look at: only
// when MORVEL_SCREENSHOT_DIR names a folder and the run is on a real display.
TEST_F(FormChangeTest, ScreenshotOfTheMappingDuringAChangeOfForm)
{
    const char* pDir = std::getenv("MORVEL_SCREENSHOT_DIR");
    if (pDir == nullptr)
        GTEST_SKIP() << "MORVEL_SCREENSHOT_DIR is not set";
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = Token(0, 1) + Token(1, 1) + Token(2, 1);
    m_pDoc->Add(pText);
    ChooseEstimationForm("OTHER.MMK");
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [&](CDialog& d) {
        for (int i = 0; i < 3; ++i) {
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [k = (i + 2) % 3](CDialog& list) {
                DoubleClickListRow(list, IDC_IMPORT_ITEM_LIST, k + 1);
            });
            DoubleClickListRow(d, IDC_IMPORT_FORMAT_LIST, i);
        }
        EXPECT_TRUE(TakeScreenshot(d.GetWidget(), std::string(pDir) + "/change-of-form-mapping.png"));
        ClickDlgButton(d, IDOK);
    });
    ASSERT_TRUE(ChangeForm());
    EXPECT_EQ(pText->m_strText, sj("$見積(1,新B,1)$$見積(1,新C,1)$$見積(1,新A,1)$"));
}

// The property commands that open the text-property dialogs (a text object, the selected
// cells of a table, the layout view's text tool) and the table's row-height command, run
// through the dialogs as a user answers them.
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/TextPropRunner.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/LayoutDialogIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"

namespace {

CString sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

class ObjectPropertiesTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        ASSERT_TRUE(m_doc.ReadForms("meisai.MMK", "JYOUHOU.MJK"));
        ASSERT_TRUE(m_parts.ReadForms("BUZAI.MBK"));
    }

    // The name of an estimation-form item whose attribute is not text, and one that is.
    CString ItemWhere(bool bText) const
    {
        const CEstimationFormFile& form = m_doc.m_curEstimationForm;
        for (int i = 0; i < form.GetCount(); ++i) {
            if ((form.GetItem(i, 1) == sj("文字")) == bText)
                return form.GetItem(i, 0);
        }
        return CString();
    }

    CDialogAnswerer answerer;
    CPrintEMDoc m_doc;
    CPrintPMDoc m_parts;
};

} // namespace

TEST_F(ObjectPropertiesTest, TextObjectTakesTextPicturesAndTheFieldsAlignment)
{
    auto* pText = new CDrawText(CRect(-200, 300, 200, 270));
    pText->m_strText = "old";
    pText->m_nAlign = CTextAttributes::alignLeft;
    m_doc.Add(pText);
    m_doc.SetModifiedFlag(FALSE);
    const CString number = ItemWhere(false);
    ASSERT_FALSE(number.IsEmpty());
    CString caption;
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [&](CDialog& d) {
        d.GetWindowText(caption);
        EXPECT_FALSE(d.GetDlgItem(IDC_TP_RULED_LINE)->IsWindowVisible());
        ClickDlgButton(d, IDC_TP_DELETE);
        ClickDlgButton(d, IDC_TP_ESTIMATE);
        SelectDlgItem(d, IDC_TP_FORMAT, 2);
        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
        ClickDlgButton(d, IDOK);
    });
    pText->OnEditProperties();
    EXPECT_EQ(caption, sj("文字ﾌﾟﾛﾊﾟﾃｨ"));
    // The first item of the form is chosen when a field kind starts without a token.
    const CString first = m_doc.m_curEstimationForm.GetItem(0, 0);
    EXPECT_EQ(pText->m_strText, sj("$見積(1,") + first + ",1)$");
    EXPECT_EQ(pText->m_nEstimatePicture, 2);
    EXPECT_EQ(pText->m_nAlign, pText->AlignFromEstimateField());
    EXPECT_TRUE(m_doc.IsModified());

    // Cancel changes nothing.
    m_doc.SetModifiedFlag(FALSE);
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& d) {
        ClickDlgButton(d, IDC_TP_DELETE);
        ClickDlgButton(d, IDCANCEL);
    });
    pText->OnEditProperties();
    EXPECT_EQ(pText->m_strText, sj("$見積(1,") + first + ",1)$");
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(ObjectPropertiesTest, TableRowsGetOneTextEachCountingUp)
{
    // Three rows of two cells; the upper two rows are selected, all four of their cells.
    auto* pTable = new CDrawTable(CRect(100, 0, 0, 60));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 2; ++col)
            pTable->AddCell(CRect(50 * col + 50, 20 * row, 50 * col, 20 * row + 20));
    }
    m_parts.Add(pTable);
    for (int i = 2; i < 6; ++i)
        pTable->GetCell(i)->m_bSelected = TRUE;
    const CString name = m_parts.m_curPartsForm.GetItem(0, 0);
    // The row's text comes from the cell the exchange sort of the upper edges puts first:
    // of the top row's cells 4 and 5, cell 5.
    pTable->GetCell(5)->m_strText = sj("$部材(1,") + name + ",5)$";
    std::vector<CString> pieces;
    answerer.AnswerDialog(IDD_TEXT_PROP_PM, [&](CDialog& d) {
        auto* pList = static_cast<CListBox*>(d.GetDlgItem(IDC_TP_PIECES));
        for (int i = 0; i < pList->GetCount(); ++i) {
            CString s;
            pList->GetText(i, s);
            pieces.push_back(s);
        }
        ClickDlgButton(d, IDC_TP_DATE);
        SelectDlgItem(d, IDC_TP_FORMAT, 5);
        ClickDlgButton(d, IDC_TP_ADD_AFTER);
        ClickDlgButton(d, IDOK);
    });
    pTable->OnEditProperties();
    ASSERT_EQ(pieces.size(), 1u);
    const CString top = sj("$部材(1,") + name + ",5)$" + sj("$日付()$");
    const CString next = sj("$部材(1,") + name + ",6)$" + sj("$日付()$");
    EXPECT_EQ(pTable->GetCell(4)->m_strText, top);
    EXPECT_EQ(pTable->GetCell(5)->m_strText, top);
    EXPECT_EQ(pTable->GetCell(2)->m_strText, next);
    EXPECT_EQ(pTable->GetCell(3)->m_strText, next);
    EXPECT_EQ(pTable->GetCell(0)->m_strText, "");
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(pTable->GetCell(i)->m_nDateFormat, 5) << i;
    EXPECT_NE(pTable->GetCell(0)->m_nDateFormat, 5);
}

TEST_F(ObjectPropertiesTest, TextToolGivesItsSettingsToTheNextText)
{
    CPendingTextSettings pending;
    pending.m_bShading = TRUE;
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& d) {
        EXPECT_TRUE(d.GetDlgItem(IDC_TP_RULED_LINE)->IsWindowVisible());
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_TP_SHADING), static_cast<UINT>(BST_CHECKED));
        ClickDlgButton(d, IDC_TP_RULED_LINE);
        ClickDlgButton(d, IDC_TP_PAGE);
        SelectDlgItem(d, IDC_TP_FORMAT, 3);
        ClickDlgButton(d, IDC_TP_ADD_BEFORE);
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(RunTextToolDialog(&m_doc, pending), IDOK);
    EXPECT_EQ(pending.m_strText, sj("$ﾍﾟｰｼﾞ()$"));
    EXPECT_EQ(pending.m_nPagePicture, 3);
    EXPECT_TRUE(pending.m_bRuledLine);
    EXPECT_TRUE(pending.m_bShading);
    // Cancel leaves the pending settings alone; a document that is no layout shows nothing.
    answerer.EndDialogWith(IDD_TEXT_PROP_PM, IDCANCEL);
    CPendingTextSettings parts = pending;
    EXPECT_EQ(RunTextToolDialog(&m_parts, parts), IDCANCEL);
    EXPECT_EQ(parts.m_strText, pending.m_strText);
    EXPECT_EQ(RunTextToolDialog(nullptr, parts), IDCANCEL);
    // (The documents of the fixture, made before the application, said that they found no
    // printer; only the dialogs count here.)
    for (const auto& shown : answerer.GetShown()) {
        if (shown.kind == CDialogAnswerer::ShownDialog) {
            EXPECT_TRUE(shown.answered) << shown.nID;
        }
    }
}

TEST_F(ObjectPropertiesTest, RowHeightCommandAsksAndAppliesTheChoice)
{
    auto* pTable = new CDrawTable(CRect(50, 0, 0, 45));
    pTable->AddCell(CRect(50, 0, 0, 20));
    pTable->AddCell(CRect(50, 20, 0, 45));
    m_doc.Add(pTable);
    pTable->GetCell(0)->m_bSelected = TRUE;
    // One selected row: no dialog.
    pTable->SetHeight(nullptr, 0);
    EXPECT_TRUE(answerer.DialogIds().empty());
    pTable->GetCell(1)->m_bSelected = TRUE;
    int nPreset = -1;
    answerer.AnswerDialog(IDD_ROW_HEIGHT, [&](CDialog& d) {
        nPreset = d.IsDlgButtonChecked(IDC_RH_AVERAGE) == BST_CHECKED ? 2 : -1;
        ClickDlgButton(d, IDC_RH_HIGHEST);
        ClickDlgButton(d, IDOK);
    });
    m_doc.SetModifiedFlag(FALSE);
    pTable->SetHeight(nullptr, 0);
    EXPECT_EQ(nPreset, 2);
    EXPECT_EQ(pTable->GetCell(1)->m_rect, CRect(50, 20, 0, 45));
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(50, -5, 0, 20));
    EXPECT_EQ(pTable->m_position.top, -5);
    EXPECT_TRUE(m_doc.IsModified());
    // Cancel: nothing changes.
    answerer.EndDialogWith(IDD_ROW_HEIGHT, IDCANCEL);
    pTable->GetCell(0)->m_rect = CRect(50, 0, 0, 20);
    pTable->SetHeight(nullptr, 0);
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(50, 0, 0, 20));
}

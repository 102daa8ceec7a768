// Numbers typed into the estimate window's dialogs read as typing into a number cell reads
// them ("▲10,000", "１０", "10,000円"), and a text that is no number is refused with a
// message while the dialog stays open: 値引入力, 分類合計設定's rate, ｲﾝﾃﾞﾝﾄ, 定率変更's rate and
// compared values, the page dialogs and ｽﾞｰﾑ.
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CClassifyDialogs.h"
#include "estimate_tools/CPageDialogs.h"
#include "estimate_tools/CRateCalcDialog.h"
#include "estimate_tools/CRowDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "layout/printform/CZoomDialog.h"
#include "platform/ui/controls/CComboBox.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/NumberFieldTyping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

class NumberFieldsTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateCommandDialogs();
        RegisterEstimateDialogs();
        RegisterEstimateEditDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
        m_nUsed = m_pView->GetUsedRows();
    }

    // The amount a 値引入力 of text makes on a new row at the end, or nothing when refused.
    CFieldTyping Discount(const char* lpszUtf8)
    {
        GoTo(scName, m_nUsed);
        return TypeIntoNumberField(IDD_DISCOUNT_INPUT, IDC_ROW_TEXT, CString::FromUtf8(lpszUtf8),
                                   [this] { Command(ID_DISCOUNT_INPUT); });
    }

    int m_nUsed = 0;
};

} // namespace

TEST_F(NumberFieldsTest, DiscountInputReadsTheAmountAsACellReadsItAndRefusesAWord)
{
    struct Case {
        const char* text;
        double amount;
    };
    for (const Case& c : {Case{"▲10,000", -10000}, Case{"▲５，０００", -5000}, Case{"１０，０００円", 10000},
                          Case{"10,000円", 10000}}) {
        const int nRow = m_nUsed;
        const CFieldTyping typing = Discount(c.text);
        EXPECT_TRUE(typing.bTaken) << c.text;
        ASSERT_EQ(kindDiscount, m_pView->GetRowKind(nRow)) << c.text;
        EXPECT_DOUBLE_EQ(c.amount, Value(nRow, scAmount)) << c.text;
        m_nUsed = m_pView->GetUsedRows();
    }
    // A word: the message, the dialog left open, no row.
    const CFieldTyping typing = Discount("約10,000");
    EXPECT_FALSE(typing.bTaken);
    ASSERT_EQ(1u, typing.messages.size());
    EXPECT_EQ("数値を入力してください。", typing.messages[0].ToUtf8());
    EXPECT_EQ(m_nUsed, m_pView->GetUsedRows());
}

TEST_F(NumberFieldsTest, TheTableOfTextsRunsOverEveryNumberFieldOfTheEstimatesDialogs)
{
    ExpectNumberFieldReadsTheTable("値引入力", -1e15, 1e15, false, [this](const CString& text, double& read) {
        CDiscountDialog dlg(1, m_pView);
        CFieldTyping typing =
            TypeIntoNumberField(IDD_DISCOUNT_INPUT, IDC_ROW_TEXT, text, [&] { dlg.DoModal(); });
        read = std::atof(dlg.m_strDiscount);
        return typing;
    });
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    ASSERT_NE(pApp, nullptr);
    ExpectNumberFieldReadsTheTable(
        "分類合計設定", -1e15, 1e15, false, [&](const CString& text, double& read) {
            CClassRateDialog dlg(pApp->m_classifyFile, m_pView);
            CFieldTyping typing =
                TypeIntoNumberField(IDD_CLASS_RATE, IDC_ROW_TEXT, text, [&] { dlg.DoModal(); });
            read = std::atof(dlg.m_strRate);
            return typing;
        });
    ExpectNumberFieldReadsTheTable("定率変更", -1e15, 1e15, false, [&](const CString& text, double& read) {
        CRateCalcDialog dlg(m_pView, m_pView->GetEstimationForm().GetItemNames(), false);
        CFieldTyping typing =
            TypeIntoNumberField(IDD_RATE_CALC, IDC_RATE_FORMULA, "*" + text, [&] { dlg.DoModal(); });
        EXPECT_TRUE(!typing.bTaken || dlg.m_strFormula.Left(1) == "*") << dlg.m_strFormula.str();
        read = std::atof(dlg.m_strFormula.Mid(1));
        return typing;
    });
    for (UINT nIDD : {IDD_PAGE_SELECT, IDD_PAGE_DELETE, IDD_PAGE_INSERT}) {
        ExpectNumberFieldReadsTheTable("頁", INT_MIN, INT_MAX, true, [&](const CString& text, double& read) {
            std::unique_ptr<CPageNumberDialog> pDlg;
            if (nIDD == IDD_PAGE_SELECT)
                pDlg = std::make_unique<CPageSelectDialog>(m_pView);
            else if (nIDD == IDD_PAGE_DELETE)
                pDlg = std::make_unique<CPageDeleteDialog>(m_pView, 1);
            else
                pDlg = std::make_unique<CPageInsertDialog>(m_pView, 1);
            CFieldTyping typing = TypeIntoNumberField(nIDD, IDC_PAGE_NUMBER, text, [&] { pDlg->DoModal(); });
            read = pDlg->m_nPage;
            return typing;
        });
    }
    ExpectNumberFieldReadsTheTable(
        "ｽﾞｰﾑ", CZoomDialog::MIN_ZOOM, CZoomDialog::MAX_ZOOM, true, [&](const CString& text, double& read) {
            CZoomDialog dlg(100, m_pView);
            CFieldTyping typing =
                TypeIntoNumberField(IDD_ZOOM, IDC_ZOOM_PERCENT, text, [&] { dlg.DoModal(); });
            read = dlg.m_nZoom;
            return typing;
        });
}

TEST_F(NumberFieldsTest, TheClassificationRateReadsAsTypedAndAStoredWordAddsNothing)
{
    m_pView->SetCellText("Z9", srFirstDetail, scClass, TRUE);
    const double amount = Value(srFirstDetail, scAmount);
    ASSERT_GT(amount, 0.0);
    GoTo(scName, m_nUsed);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_CLASS_RATE, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "１０"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_2); // 全体
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "Z9");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_CLASSIFY_TOTAL);
    ASSERT_EQ(kindClassify, m_pView->GetRowKind(m_nUsed));
    EXPECT_DOUBLE_EQ(std::floor(amount * 10 / 100), Value(m_nUsed, scAmount));

    // A rate the classification table keeps as a word ("1e3") reaches the row only as it
    // is stored: the row adds nothing rather than reading the word's leading digit.
    GoTo(scName, m_nUsed + 1);
    m_pView->ApplyClassifySetting("", "1e3", "Z9", scClass, 0, EStepRange::wholeEstimate, false, false);
    ASSERT_EQ(kindClassify, m_pView->GetRowKind(m_nUsed + 1));
    EXPECT_DOUBLE_EQ(0.0, Value(m_nUsed + 1, scAmount));
}

TEST_F(NumberFieldsTest, TheIndentAmountReadsAsTypedAndAWordMovesNothing)
{
    CDialogAnswerer answerer;
    auto* pDlg = new CIndentDialog(m_pView, m_pView->GetEstimationForm());
    ASSERT_TRUE(pDlg->Create());
    static_cast<CComboBox*>(pDlg->GetDlgItem(IDC_ROW_ITEM_COMBO))->SetCurSel(scName);
    const int nBefore = m_pView->GetCellIndent(srFirstDetail, scName);
    TypeDlgItemText(*pDlg, IDC_ROW_TEXT, "２"_sj);
    ClickDlgButton(*pDlg, IDC_INDENT_RIGHT);
    EXPECT_EQ(nBefore + 2, m_pView->GetCellIndent(srFirstDetail, scName));
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    TypeDlgItemText(*pDlg, IDC_ROW_TEXT, "1abc56");
    ClickDlgButton(*pDlg, IDC_INDENT_RIGHT);
    EXPECT_EQ(nBefore + 2, m_pView->GetCellIndent(srFirstDetail, scName));
    ASSERT_EQ(1u, answerer.MessageBoxTexts().size());
    EXPECT_EQ("整数を入力してください。", answerer.MessageBoxTexts()[0].ToUtf8());
    pDlg->DestroyWindow();
}

TEST_F(NumberFieldsTest, TheFixedRateChangeReadsItsRateAndComparedValueAsTyped)
{
    // 単価 of the first detail doubled where 数量 is greater than "１００" (128.5).
    const double price = Value(srFirstDetail, scPrice);
    ASSERT_GT(Value(srFirstDetail, scQty), 100.0);
    m_pView->SetCurrentCell(scPrice, srFirstDetail);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(scPrice, srFirstDetail, scPrice, srFirstDetail));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_RATE_CALC, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_RATE_FORMULA, "×２"_sj);
        ClickDlgButton(dlg, IDC_RATE_CONDITIONS);
        SelectDlgItem(dlg, IDC_RATE_ITEM1, scQty);
        SelectDlgItem(dlg, IDC_RATE_RELATION1, 5); // 大きい
        TypeDlgItemText(dlg, IDC_RATE_VALUE1, "１００"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_RATE_CHANGE);
    EXPECT_DOUBLE_EQ(price * 2, Value(srFirstDetail, scPrice));
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(NumberFieldsTest, AStepSettingsCodeForANumberColumnReadsAsTyped)
{
    // The cost price column is the step factor; the rows whose 単価 is 350 are counted.
    m_pDoc->m_EstimationForm.SetItem(scCostPrice, CEstimationFormFile::colT, "7");
    m_pView->SetupFromDocument();
    m_pView->SetCellText("2", srFirstDetail, scCostPrice, TRUE);
    double expected = 0.0;
    for (int r = 0; r < m_nUsed; ++r) {
        if (m_pView->GetRowKind(r) == kindDetail && Value(r, scPrice) == 350.0)
            expected += Value(r, scQty) * Value(r, scCostPrice);
    }
    ASSERT_GT(expected, 0.0);
    GoTo(scName, m_nUsed);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_STEP_SETTING, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_2); // 全体
        SelectDlgItem(dlg, IDC_ROW_ITEM_COMBO, scPrice);
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "３５０"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_STEP_SETTING);
    ASSERT_EQ(kindStep, m_pView->GetRowKind(m_nUsed));
    EXPECT_NEAR(expected, Value(m_nUsed, scQty), 0.001);
}

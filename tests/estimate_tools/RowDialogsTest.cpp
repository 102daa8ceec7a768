// The kind heading, discount, discount total, step and indent commands run through their
// dialogs as a user runs them, on the sample estimate's window.
#include "app/CColumnSelectDialog.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CClassifyDialogs.h"
#include "estimate_tools/CEMProjectNoSheet.h"
#include "estimate_tools/CRowDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/RealInput.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <cmath>
#include <string>
#include <vector>

namespace {

class RowDialogsTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateCommandDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
        m_nUsed = m_pView->GetUsedRows();
    }

    static CComboBox& Combo(CDialog& dlg, UINT nID) { return *static_cast<CComboBox*>(dlg.GetDlgItem(nID)); }
    static BOOL Enabled(CDialog& dlg, UINT nID) { return dlg.GetDlgItem(nID)->IsWindowEnabled(); }
    static CString ItemText(CDialog& dlg, UINT nID)
    {
        CString text;
        dlg.GetDlgItemText(nID, text);
        return text;
    }

    // A row selected as a user selects it: a click on its row header.
    void SelectRow(int nRow)
    {
        const LPARAM lParam = MAKELPARAM(m_pView->GetMetrics().nRowHeaderWidth / 2, CellPoint(0, nRow).y);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
    }

    int m_nUsed = 0;
};

// Whether the one message shown since the last ClearShown says the file could not hold
// the rows.
bool ToldTheFileRowLimit(const CDialogAnswerer& answerer)
{
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    if (texts.size() != 1)
        return false;
    const std::string text = texts[0].ToUtf8();
    return text.find("ファイルに保存できる 65,535 行を超えます。") != std::string::npos &&
           text.find("行を挿入できません。") != std::string::npos;
}

// The column list as the user sees it: the rows of its visible area.
QWidget* ListRows(CColumnSelectDialog& dlg)
{
    return static_cast<QAbstractScrollArea*>(dlg.m_list.GetWidget())->viewport();
}

// What the tick box of a row shows: -1 no box drawn, 0 an empty box, 1 a box with a tick.
int TickShown(CColumnSelectDialog& dlg, int nRow)
{
    const QImage picture = ListRows(dlg)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int top = nRow * CCheckMarkListBox::ITEM_HEIGHT;
    const auto dark = [&](int x, int y) { return qGray(picture.pixel(x, y)) < 100; };
    // The box: a dark frame 4 pixels inside the row's 20-pixel tick column.
    for (int y = top + 4; y < top + 16; ++y)
        if (!dark(4, y) || !dark(15, y))
            return -1;
    int nInside = 0;
    for (int y = top + 5; y < top + 15; ++y)
        for (int x = 5; x < 15; ++x)
            nInside += dark(x, y) ? 1 : 0;
    return nInside > 0 ? 1 : 0;
}

// Counts the times the list's rows are painted on the screen.
class CPaintCounter : public QObject {
public:
    int m_nPaints = 0;

protected:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            ++m_nPaints;
        return QObject::eventFilter(pObject, pEvent);
    }
};

void ClickRow(CColumnSelectDialog& dlg, int nRow, int x)
{
    QWidget* pRows = ListRows(dlg);
    const QPointF at(x, nRow * CCheckMarkListBox::ITEM_HEIGHT + 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, pRows->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(pRows, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, pRows->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(pRows, &release);
}

} // namespace

TEST(DiscountText, IsReadWholeWithItsSeparators)
{
    EXPECT_EQ("1000.000000", ReadDiscountText("1,000").str());
    EXPECT_EQ("1500.000000", ReadDiscountText("1500").str());
    EXPECT_EQ("-2000.500000", ReadDiscountText(" -2,000.5").str());
    EXPECT_EQ("", ReadDiscountText("値引"_sj).str()) << "no number: refused";
    EXPECT_EQ("12.000000", ReadDiscountText("12円"_sj).str());
}

TEST_F(RowDialogsTest, KindInputMakesAKindHeadingWithTheTypedNameAndUnit)
{
    GoTo(scName, m_nUsed);
    CDialogAnswerer answerer;
    CString offeredUnit;
    answerer.AnswerDialog(IDD_KIND_INPUT, [&](CDialog& dlg) {
        offeredUnit = ItemText(dlg, IDC_ROW_UNIT);
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "電気設備工事"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_KIND_INPUT);
    EXPECT_EQ("式", offeredUnit.ToUtf8());
    EXPECT_EQ(kindKind, m_pView->GetRowKind(m_nUsed));
    EXPECT_EQ("電気設備工事", Utf8Cell(m_nUsed, scName));
    EXPECT_EQ("式", Utf8Cell(m_nUsed, scUnit));
    EXPECT_EQ(m_nUsed + 1, m_pView->GetCurrentRow());

    // Cancel makes nothing.
    answerer.AnswerDialog(IDD_KIND_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "x");
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_KIND_INPUT);
    EXPECT_EQ(m_nUsed + 1, m_pView->GetUsedRows());
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, DiscountInputReadsTheAmountWithItsSeparators)
{
    GoTo(scName, m_nUsed);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_DISCOUNT_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "-12,345");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_DISCOUNT_INPUT);
    EXPECT_EQ(kindDiscount, m_pView->GetRowKind(m_nUsed));
    EXPECT_EQ("値引", Utf8Cell(m_nUsed, scName));
    EXPECT_DOUBLE_EQ(-12345.0, Value(m_nUsed, scAmount));
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, DiscountTotalTakesTheChosenLevel)
{
    struct Choice {
        UINT nRadio;
        int nKind;
    };
    const Choice choices[] = {{IDC_RADIO_1, kindSmallDiscountTotal},
                              {IDC_RADIO_2, kindMiddleDiscountTotal},
                              {IDC_RADIO_3, kindLargeDiscountTotal},
                              {IDC_RADIO_4, kindKindDiscountTotal},
                              {IDC_RADIO_5, kindGrandDiscountTotal}};
    CDialogAnswerer answerer;
    int nRow = m_nUsed;
    for (const Choice& choice : choices) {
        GoTo(scName, nRow);
        UINT nChecked = 0;
        answerer.AnswerDialog(IDD_DISCOUNT_TOTAL, [&](CDialog& dlg) {
            nChecked = dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_5);
            ClickDlgButton(dlg, choice.nRadio);
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_TOTAL_DISCOUNT);
        EXPECT_EQ(IDC_RADIO_1, nChecked); // 小科目 is offered first, every time
        EXPECT_EQ(choice.nKind, m_pView->GetRowKind(nRow)) << choice.nRadio;
        EXPECT_EQ(nRow + 1, m_pView->GetCurrentRow());
        ++nRow;
    }
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, StepSettingMakesChangesAndReleasesAStepRow)
{
    // The sample form's cost price column becomes the step factor (T 7).
    m_pDoc->m_EstimationForm.SetItem(scCostPrice, CEstimationFormFile::colT, "7");
    m_pView->SetupFromDocument();
    m_pView->SetCellText("X1", srFirstDetail, scNote, TRUE);
    m_pView->SetCellText("2", srFirstDetail, scCostPrice, TRUE);
    m_pView->SetCellText("X1", srFirstDetail + 1, scNote, TRUE);
    m_pView->SetCellText("3", srFirstDetail + 1, scCostPrice, TRUE);
    const double expected = Value(srFirstDetail, scQty) * 2 + Value(srFirstDetail + 1, scQty) * 3;
    const int nRow = m_nUsed;
    GoTo(scName, nRow);

    // 科目指定 without a level has no range: nothing is made.
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_STEP_SETTING, [&](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_3);
        EXPECT_EQ(-1, Combo(dlg, IDC_ROW_LEVEL_COMBO).GetCurSel());
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_STEP_SETTING);
    EXPECT_NE(kindStep, m_pView->GetRowKind(nRow));

    answerer.AnswerDialog(IDD_STEP_SETTING, [&](CDialog& dlg) {
        // A new setting: 科目内, no level, "解除" greyed, the first item offered.
        EXPECT_EQ(IDC_RADIO_1, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_3)));
        EXPECT_FALSE(Enabled(dlg, IDC_ROW_LEVEL_COMBO));
        EXPECT_FALSE(Enabled(dlg, IDC_ROW_RELEASE));
        EXPECT_EQ(0, Combo(dlg, IDC_ROW_ITEM_COMBO).GetCurSel());
        EXPECT_EQ(10, Combo(dlg, IDC_ROW_ITEM_COMBO).GetCount());
        ClickDlgButton(dlg, IDC_RADIO_2); // 全体
        SelectDlgItem(dlg, IDC_ROW_ITEM_COMBO, scNote);
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "X1");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_STEP_SETTING);
    EXPECT_EQ(kindStep, m_pView->GetRowKind(nRow));
    EXPECT_EQ("X1", m_pView->GetRowParamText1(nRow).str());
    EXPECT_EQ(scNote, m_pView->GetRowParam1(nRow));
    EXPECT_EQ(1, m_pView->GetRowParam2(nRow));
    EXPECT_NEAR(expected, Value(nRow, scQty), 0.001);

    // On the step row the dialog shows its settings; 科目指定 with 大科目 is range 3.
    answerer.AnswerDialog(IDD_STEP_SETTING, [&](CDialog& dlg) {
        EXPECT_EQ(IDC_RADIO_2, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_3)));
        EXPECT_EQ(scNote, Combo(dlg, IDC_ROW_ITEM_COMBO).GetCurSel());
        EXPECT_EQ("X1", ItemText(dlg, IDC_ROW_TEXT).str());
        EXPECT_TRUE(Enabled(dlg, IDC_ROW_RELEASE));
        ClickDlgButton(dlg, IDC_RADIO_3);
        EXPECT_TRUE(Enabled(dlg, IDC_ROW_LEVEL_COMBO));
        SelectDlgItem(dlg, IDC_ROW_LEVEL_COMBO, 1);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_STEP_SETTING);
    EXPECT_EQ(kindStep, m_pView->GetRowKind(nRow));
    EXPECT_EQ(3, m_pView->GetRowParam2(nRow));

    // 解除 asks first; No keeps the row, Yes makes it a detail row.
    answerer.AnswerMessageBox("設定を解除しますか。"_sj, IDNO);
    answerer.AnswerDialog(IDD_STEP_SETTING, [&](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_ROW_RELEASE);
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_STEP_SETTING);
    EXPECT_EQ(kindStep, m_pView->GetRowKind(nRow));
    answerer.AnswerMessageBox("設定を解除しますか。"_sj, IDYES);
    answerer.AnswerDialog(IDD_STEP_SETTING, [&](CDialog& dlg) { ClickDlgButton(dlg, IDC_ROW_RELEASE); });
    Command(ID_STEP_SETTING);
    EXPECT_EQ(kindDetail, m_pView->GetRowKind(nRow));
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, IndentToolShiftsOneItemOfOneLevelAndOutlivesNoView)
{
    auto* pDlg = new CIndentDialog(m_pView, m_pView->GetEstimationForm());
    ASSERT_TRUE(pDlg->Create());
    EXPECT_TRUE(pDlg->IsWindowVisible());
    // Item 1 (規格) and 細目 are offered; the edit holds 1.
    EXPECT_EQ(1, static_cast<CComboBox*>(pDlg->GetDlgItem(IDC_ROW_ITEM_COMBO))->GetCurSel());
    EXPECT_EQ(INDENT_LEVEL_DETAIL,
              static_cast<CComboBox*>(pDlg->GetDlgItem(IDC_ROW_LEVEL_COMBO))->GetCurSel());
    EXPECT_FALSE(pDlg->GetDlgItem(IDC_ROW_RELEASE)->IsWindowEnabled());
    SelectDlgItem(*pDlg, IDC_ROW_ITEM_COMBO, scName);
    TypeDlgItemText(*pDlg, IDC_ROW_TEXT, "2");
    const int nLargeIndent = m_pView->GetCellIndent(srLarge, scName);
    const int nDetailIndent = m_pView->GetCellIndent(srFirstDetail, scName);
    m_pDoc->SetModifiedFlag(FALSE);
    ClickDlgButton(*pDlg, IDC_INDENT_RIGHT);
    EXPECT_EQ(nDetailIndent + 2, m_pView->GetCellIndent(srFirstDetail, scName));
    EXPECT_EQ(nLargeIndent, m_pView->GetCellIndent(srLarge, scName));
    EXPECT_TRUE(IsModified());
    EXPECT_TRUE(pDlg->GetDlgItem(IDC_ROW_RELEASE)->IsWindowEnabled());
    // Left past the edge gives a negative indent.
    TypeDlgItemText(*pDlg, IDC_ROW_TEXT, "5");
    ClickDlgButton(*pDlg, IDC_INDENT_LEFT);
    EXPECT_EQ(nDetailIndent - 3, m_pView->GetCellIndent(srFirstDetail, scName));
    // 全般: every row; 解除 puts them at the edge.
    SelectDlgItem(*pDlg, IDC_ROW_LEVEL_COMBO, INDENT_LEVEL_ALL);
    ClickDlgButton(*pDlg, IDC_INDENT_RIGHT);
    EXPECT_EQ(nLargeIndent + 5, m_pView->GetCellIndent(srLarge, scName));
    ClickDlgButton(*pDlg, IDC_ROW_RELEASE);
    EXPECT_EQ(0, m_pView->GetCellIndent(srLarge, scName));
    EXPECT_EQ(0, m_pView->GetCellIndent(srFirstDetail, scName));

    // A second tool from the command, and the estimate window closed under both: their
    // buttons then close them instead of reaching a view that is gone.
    Command(ID_INDENT);
    HWND hDlg = pDlg->GetSafeHwnd();
    m_pDoc->SetModifiedFlag(FALSE);
    m_pDoc->OnCloseDocument();
    m_pDoc = nullptr;
    m_pView = nullptr;
    Pump();
    ASSERT_TRUE(::IsWindow(hDlg));
    ClickDlgButton(*pDlg, IDC_INDENT_RIGHT);
    EXPECT_FALSE(::IsWindow(hDlg));
}

TEST_F(RowDialogsTest, ClassificationTotalAsksForTheRateTheSettingsAndUpdateOrAdd)
{
    m_pView->SetCellText("Z9", srFirstDetail, scClass, TRUE);
    m_pView->SetCellText("Z9", srFirstDetail + 1, scClass, TRUE);
    const double sum = Value(srFirstDetail, scAmount) + Value(srFirstDetail + 1, scAmount);
    ASSERT_GT(sum, 0.0);
    const int nRow = m_nUsed;
    GoTo(scName, nRow);

    CDialogAnswerer answerer;
    CString offeredRate;
    answerer.AnswerDialog(IDD_CLASS_RATE, [&](CDialog& dlg) {
        auto& rate = static_cast<CClassRateDialog&>(dlg);
        // The classification table with its two headings; the first row offered.
        EXPECT_EQ(8, rate.List().GetItemCount());
        EXPECT_EQ(0, rate.List().GetNextItem(-1, LVNI_SELECTED));
        offeredRate = ItemText(dlg, IDC_ROW_TEXT);
        // Choosing a row brings its rate.
        rate.List().SetItemState(5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_EQ("5", ItemText(dlg, IDC_ROW_TEXT).str());
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [&](CDialog& dlg) {
        // A new setting: 見積金額, 科目内, the classification item, "解除" greyed.
        EXPECT_EQ(IDC_RADIO_4, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_4, IDC_RADIO_5)));
        EXPECT_EQ(IDC_RADIO_1, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_3)));
        EXPECT_EQ(scClass, Combo(dlg, IDC_ROW_ITEM_COMBO).GetCurSel());
        EXPECT_FALSE(Enabled(dlg, IDC_ROW_RELEASE));
        ClickDlgButton(dlg, IDC_RADIO_2);
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "Z9");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_CLASSIFY_TOTAL);
    EXPECT_EQ("100", offeredRate.str());
    ASSERT_EQ(kindClassify, m_pView->GetRowKind(nRow));
    EXPECT_EQ("5", m_pView->GetRowParamText2(nRow).str());
    EXPECT_EQ("Z9", m_pView->GetRowParamText1(nRow).str());
    EXPECT_EQ(scClass, m_pView->GetRowParam1(nRow));
    EXPECT_EQ(1, m_pView->GetRowParam2(nRow));
    EXPECT_EQ(0, m_pView->GetRowParam3(nRow));
    // 5 % of the two amounts, cut to whole yen by the amount column.
    EXPECT_DOUBLE_EQ(std::floor(sum * 5 / 100), Value(nRow, scAmount));

    // On the classification row: the rate kept (the sample form shows no name, so none is
    // chosen), the settings shown, and "新規行を追加" adds a second row above it.
    GoTo(scName, nRow);
    answerer.AnswerDialog(IDD_CLASS_RATE, [&](CDialog& dlg) {
        EXPECT_EQ("5", ItemText(dlg, IDC_ROW_TEXT).str());
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "10");
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [&](CDialog& dlg) {
        EXPECT_EQ(IDC_RADIO_2, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_3)));
        EXPECT_EQ("Z9", ItemText(dlg, IDC_ROW_TEXT).str());
        EXPECT_TRUE(Enabled(dlg, IDC_ROW_RELEASE));
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_CLASS_UPDATE, [&](CDialog& dlg) {
        EXPECT_EQ(IDC_RADIO_1, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_2)));
        ClickDlgButton(dlg, IDC_RADIO_2);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_CLASSIFY_TOTAL);
    ASSERT_EQ(kindClassify, m_pView->GetRowKind(nRow));
    ASSERT_EQ(kindClassify, m_pView->GetRowKind(nRow + 1));
    EXPECT_EQ("10", m_pView->GetRowParamText2(nRow).str());
    EXPECT_EQ("5", m_pView->GetRowParamText2(nRow + 1).str());
    EXPECT_DOUBLE_EQ(std::floor(sum * 10 / 100), Value(nRow, scAmount));

    // 解除 on Yes makes it a detail row again; 科目指定 without a level makes nothing.
    answerer.EndDialogWith(IDD_CLASS_RATE, IDOK);
    answerer.AnswerMessageBox("設定を解除しますか。"_sj, IDYES);
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [&](CDialog& dlg) { ClickDlgButton(dlg, IDC_ROW_RELEASE); });
    Command(ID_CLASSIFY_TOTAL);
    EXPECT_EQ(kindDetail, m_pView->GetRowKind(nRow));
    const int nUsed = m_pView->GetUsedRows();
    GoTo(scName, nUsed);
    answerer.AnswerDialog(IDD_CLASS_RATE, [&](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [&](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_3);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_CLASSIFY_TOTAL);
    EXPECT_EQ(nUsed, m_pView->GetUsedRows());
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, SubjectNumberingSheetSwitchesNumbersOnKeepsThemOnCancelAndReleases)
{
    m_pView->GetModel().SetNumbering(CMorvelEMView::CSubjectNumbering{});
    m_pDoc->SetModifiedFlag(FALSE);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        auto& sheet = static_cast<CPropertySheet&>(dlg);
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ("科目No", caption.ToUtf8());
        EXPECT_EQ("配置", ItemText(dlg, IDOK).ToUtf8());
        EXPECT_FALSE(dlg.GetDlgItem(IDHELP)->IsWindowVisible());
        ASSERT_NE(dlg.GetDlgItem(IDC_NUMBERING_RELEASE), nullptr);
        EXPECT_EQ("解除", ItemText(dlg, IDC_NUMBERING_RELEASE).ToUtf8());
        // "全般" first: the target item 1 and the upper numbers on.
        ASSERT_EQ(5, sheet.GetPageCount());
        EXPECT_EQ(0, sheet.GetActiveIndex());
        // The level pages in order: 種目, 大科目, 中科目, 小科目.
        EXPECT_NE(nullptr, dynamic_cast<CEMProjectNoPage5*>(sheet.GetPage(0)));
        EXPECT_NE(nullptr, dynamic_cast<CEMProjectNoPage1*>(sheet.GetPage(1)));
        EXPECT_NE(nullptr, dynamic_cast<CEMProjectNoPage2*>(sheet.GetPage(2)));
        EXPECT_NE(nullptr, dynamic_cast<CEMProjectNoPage3*>(sheet.GetPage(3)));
        EXPECT_NE(nullptr, dynamic_cast<CEMProjectNoPage4*>(sheet.GetPage(4)));
        CPropertyPage* pGeneral = sheet.GetActivePage();
        EXPECT_EQ(1, static_cast<CComboBox*>(pGeneral->GetDlgItem(IDC_ROW_ITEM_COMBO))->GetCurSel());
        EXPECT_EQ(1u, pGeneral->IsDlgButtonChecked(IDC_NUMBERING_UPPER));
        SelectDlgItem(*pGeneral, IDC_ROW_ITEM_COMBO, scName);
        ClickDlgButton(*pGeneral, IDC_NUMBERING_UPPER);
        // 大科目: "なし".
        ASSERT_TRUE(sheet.SetActivePage(2));
        CPropertyPage* pLarge = sheet.GetActivePage();
        EXPECT_EQ(IDC_RADIO_1, static_cast<UINT>(pLarge->GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_4)));
        ClickDlgButton(*pLarge, IDC_RADIO_4);
        // 中科目: two digits.
        ASSERT_TRUE(sheet.SetActivePage(3));
        ClickDlgButton(*sheet.GetActivePage(), IDC_RADIO_2);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_SUBJECT_NO);
    CMorvelEMView::CSubjectNumbering n = m_pView->GetModel().GetNumbering();
    EXPECT_EQ(1, n.nShown);
    EXPECT_EQ(scName, n.nColumn);
    EXPECT_EQ(0, n.nMode);
    EXPECT_EQ(3, n.nLargeStyle);
    EXPECT_EQ(1, n.nMiddleStyle);
    EXPECT_EQ(2, n.nKindStyle);
    EXPECT_EQ(1, n.nSmallStyle);
    EXPECT_TRUE(IsModified());
    // The first middle heading shows its own number only, with a leading zero.
    EXPECT_EQ("01.", m_pView->GetSubjectNoText(srMiddle, scName).str());

    // Cancel after changes leaves everything as it was.
    m_pDoc->SetModifiedFlag(FALSE);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        auto& sheet = static_cast<CPropertySheet&>(dlg);
        ASSERT_TRUE(sheet.SetActivePage(1));
        ClickDlgButton(*sheet.GetActivePage(), IDC_RADIO_1);
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_SUBJECT_NO);
    EXPECT_EQ(2, m_pView->GetModel().GetNumbering().nKindStyle);
    EXPECT_EQ(1, m_pView->GetModel().GetNumbering().nShown);
    EXPECT_FALSE(IsModified());

    // 解除 switches the numbers off and keeps the styles for next time.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET,
                          [&](CDialog& dlg) { ClickDlgButton(dlg, IDC_NUMBERING_RELEASE); });
    Command(ID_SUBJECT_NO);
    n = m_pView->GetModel().GetNumbering();
    EXPECT_EQ(0, n.nShown);
    EXPECT_EQ(3, n.nLargeStyle);
    EXPECT_EQ(scName, n.nColumn);
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, DisplayFixingHidesTheUntickedColumnsAndShowsThemAgain)
{
    ASSERT_TRUE(m_pView->GetDisplayTicks()[scNote]);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        auto& columns = static_cast<CColumnSelectDialog&>(dlg);
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ("表示固定", caption.ToUtf8());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_COLUMN_SELECT_ALL)->IsWindowVisible());
        EXPECT_TRUE(columns.m_list.GetCheck(scNote));
        // A click on the note's tick box clears it.
        const LPARAM point = MAKELPARAM(5, scNote * CCheckMarkListBox::ITEM_HEIGHT + 5);
        columns.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        columns.m_list.SendMessage(WM_LBUTTONUP, 0, point);
        EXPECT_FALSE(columns.m_list.GetCheck(scNote));
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_DISPLAY_FIX);
    EXPECT_FALSE(m_pView->GetDisplayTicks()[scNote]);
    EXPECT_TRUE(m_pView->GetDisplayTicks()[scName]);

    // The next opening shows it unticked; "全選択" shows every column again.
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        EXPECT_FALSE(static_cast<CColumnSelectDialog&>(dlg).m_list.GetCheck(scNote));
        ClickDlgButton(dlg, IDC_COLUMN_SELECT_ALL);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_DISPLAY_FIX);
    EXPECT_TRUE(m_pView->GetDisplayTicks()[scNote]);
    // Esc changes nothing.
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_COLUMN_DESELECT_ALL);
        PressDlgKey(dlg, VK_ESCAPE);
    });
    Command(ID_DISPLAY_FIX);
    EXPECT_TRUE(m_pView->GetDisplayTicks()[scNote]);
    EXPECT_EQ(0, answerer.CountUnanswered());
}

// Every row shows its tick; a click on a row's tick box or on its text turns it over and
// chooses the row; "全解除" and "全選択" show at once.
TEST_F(RowDialogsTest, TheColumnListShowsEachTickAndAClickOnTheBoxOrTheTextTurnsItOver)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& d) {
        auto& dlg = static_cast<CColumnSelectDialog&>(d);
        ASSERT_TRUE(dlg.m_list.GetCheck(scName));
        ASSERT_TRUE(dlg.m_list.GetCheck(scNote));
        EXPECT_EQ(TickShown(dlg, scName), 1);
        EXPECT_EQ(TickShown(dlg, scNote), 1);
        ClickRow(dlg, scNote, 8);
        EXPECT_FALSE(dlg.m_list.GetCheck(scNote));
        EXPECT_EQ(TickShown(dlg, scNote), 0);
        EXPECT_EQ(TickShown(dlg, scName), 1);
        ClickRow(dlg, scName, 60);
        EXPECT_FALSE(dlg.m_list.GetCheck(scName)) << "a click on the text ticks as one on the box";
        EXPECT_EQ(TickShown(dlg, scName), 0);
        EXPECT_EQ(dlg.m_list.GetCurSel(), scName);
        ClickRow(dlg, scName, 60);
        EXPECT_EQ(TickShown(dlg, scName), 1);
        ClickRow(dlg, scNote, 8);
        EXPECT_EQ(TickShown(dlg, scNote), 1);
        // The buttons repaint the rows on the screen at once, not only the ticks behind them.
        QApplication::processEvents();
        CPaintCounter painted;
        ListRows(dlg)->installEventFilter(&painted);
        ClickDlgButton(d, IDC_COLUMN_DESELECT_ALL);
        QApplication::processEvents();
        ListRows(dlg)->removeEventFilter(&painted);
        EXPECT_GT(painted.m_nPaints, 0);
        EXPECT_EQ(TickShown(dlg, scName), 0);
        EXPECT_EQ(TickShown(dlg, scNote), 0);
        ClickDlgButton(d, IDC_COLUMN_SELECT_ALL);
        EXPECT_EQ(TickShown(dlg, scName), 1);
        EXPECT_EQ(TickShown(dlg, scNote), 1);
        PressDlgKey(d, VK_ESCAPE);
    });
    Command(ID_DISPLAY_FIX);
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(RowDialogsTest, TheInputFixingVariantOffersOnlyClearing)
{
    CColumnSelectDialog dlg(m_pView, m_pView->GetEstimationForm(), CColumnSelectDialog::purposeInputFix);
    dlg.m_list.SetCheck(scQty, TRUE);
    dlg.m_list.SetEnable(scNote, FALSE);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& d) {
        auto& columns = static_cast<CColumnSelectDialog&>(d);
        CString caption, label;
        d.GetWindowText(caption);
        EXPECT_EQ("入力固定", caption.ToUtf8());
        EXPECT_FALSE(d.GetDlgItem(IDC_COLUMN_SELECT_ALL)->IsWindowVisible());
        d.GetDlgItemText(IDC_COLUMN_DESELECT_ALL, label);
        EXPECT_EQ("解除(&D)", label.ToUtf8());
        // A disabled row is not ticked by a click.
        const LPARAM point = MAKELPARAM(5, scNote * CCheckMarkListBox::ITEM_HEIGHT + 5);
        columns.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
        EXPECT_FALSE(columns.m_list.GetCheck(scNote));
        ClickDlgButton(d, IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.m_list.GetCheck(scQty));
    EXPECT_FALSE(dlg.m_list.GetCheck(scNote));
}

TEST_F(RowDialogsTest, InputFixingTicksTheColumnsTheArrowsKeepTo)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        auto& columns = static_cast<CColumnSelectDialog&>(dlg);
        CString caption;
        dlg.GetWindowText(caption);
        EXPECT_EQ("入力固定", caption.ToUtf8());
        for (int nRow : {scQty, scPrice}) {
            const LPARAM point = MAKELPARAM(5, nRow * CCheckMarkListBox::ITEM_HEIGHT + 5);
            columns.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
            columns.m_list.SendMessage(WM_LBUTTONUP, 0, point);
        }
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INPUT_FIX);
    EXPECT_TRUE(m_pView->IsColumnInputFixed(scQty));
    EXPECT_TRUE(m_pView->IsColumnInputFixed(scPrice));
    EXPECT_FALSE(m_pView->IsColumnInputFixed(scName));
    // The next opening shows the marks; "解除(&D)" clears them.
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        EXPECT_TRUE(static_cast<CColumnSelectDialog&>(dlg).m_list.GetCheck(scQty));
        ClickDlgButton(dlg, IDC_COLUMN_DESELECT_ALL);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INPUT_FIX);
    EXPECT_FALSE(m_pView->IsColumnInputFixed(scQty));
    EXPECT_EQ(0, answerer.CountUnanswered());
}

// The keyboard alone: the arrows choose a column and Space ticks it or clears it, as a
// click on its box does; a disabled row keeps its tick.
TEST_F(RowDialogsTest, SpaceTicksTheChosenColumnOfTheList)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        auto& columns = static_cast<CColumnSelectDialog&>(dlg);
        columns.m_list.SetFocus();
        QWidget* pList = columns.m_list.GetWidget();
        for (int i = 0; i < scQty; ++i)
            RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Down);
        ASSERT_EQ(columns.m_list.GetCurSel(), scQty);
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Space);
        EXPECT_TRUE(columns.m_list.GetCheck(scQty));
        EXPECT_EQ(TickShown(columns, scQty), 1);
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Space);
        EXPECT_FALSE(columns.m_list.GetCheck(scQty));
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Space);
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Down);
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Down);
        columns.m_list.SetEnable(scPrice, FALSE);
        RealInput::PressKeys(pList, Qt::NoModifier, Qt::Key_Space);
        EXPECT_FALSE(columns.m_list.GetCheck(scPrice));
        EXPECT_TRUE(dlg.IsModalRunning()) << "Space is the list's, not a button's";
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INPUT_FIX);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_TRUE(m_pView->IsColumnInputFixed(scQty));
    EXPECT_FALSE(m_pView->IsColumnInputFixed(scPrice));
}

TEST_F(RowDialogsTest, SingleRowInsertionsAtTheFileRowLimitAreRefusedAndChangeNothing)
{
    // The estimate as long as its file can be: every command that adds a row says why it
    // cannot, on a row inside the estimate and on the row after its last one.
    FillToTheFileRowLimit();
    CDialogAnswerer answerer;
    answerer.AlwaysAnswerDialog(IDD_KIND_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "電気設備工事"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(IDD_DISCOUNT_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "-100");
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AlwaysAnswerDialog(IDD_DISCOUNT_TOTAL, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    const UINT commands[] = {ID_ROW_INSERT, ID_TOTAL_SMALL, ID_TOTAL_GRAND,    ID_TAX_ROW,
                             ID_PAGE_FEED,  ID_KIND_INPUT,  ID_DISCOUNT_INPUT, ID_TOTAL_DISCOUNT};
    for (int nRow : {static_cast<int>(srFirstDetail), static_cast<int>(CMorvelView::MAX_FILE_ROWS)}) {
        for (UINT nID : commands) {
            GoTo(scName, nRow);
            const std::vector<BYTE> before = StoredState();
            answerer.ClearShown();
            Command(nID);
            EXPECT_EQ(StoredState(), before) << "command " << nID << " on row " << nRow;
            const std::vector<CString> texts = answerer.MessageBoxTexts();
            ASSERT_EQ(texts.size(), 1u) << "command " << nID << " on row " << nRow;
            const std::string text = texts[0].ToUtf8();
            EXPECT_NE(text.find("ファイルに保存できる 65,535 行を超えます。"), std::string::npos) << text;
            EXPECT_NE(text.find("行を挿入できません。"), std::string::npos) << text;
        }
    }
}

TEST_F(RowDialogsTest, PageAlignmentThatWouldPassTheFileRowLimitIsRefusedAndChangesNothing)
{
    // A full estimate whose last pages hold a heading behind an empty row two rows into a
    // page with a row above it (a cut aligns every such heading, pushing it to the next
    // page), and a heading at a page start under a row (a row pasted above it pushes it on).
    FillToTheFileRowLimit();
    m_pView->SetPageAlignment(true);
    const int P = m_pView->GetPageRows();
    const int nLoose = (CMorvelView::MAX_FILE_ROWS / P - 4) * P;
    const int nHeading = nLoose + 2 * P;
    for (int nRow : {nLoose, nHeading - 1}) {
        m_pView->SetCellText("x", nRow, scName, TRUE);
        m_pView->SetRowKind(kindDetail, nRow);
    }
    for (int nRow : {nLoose + 2, nHeading}) {
        m_pView->SetCellText("見出し"_sj, nRow, scName, TRUE);
        m_pView->SetRowKind(kindLarge, nRow);
    }
    CDialogAnswerer answerer;
    GoTo(scName, nHeading + 2);
    SelectRow(nHeading + 2);
    std::vector<BYTE> before = StoredState();
    Command(ID_EDIT_CUT);
    EXPECT_EQ(StoredState(), before);
    EXPECT_TRUE(ToldTheFileRowLimit(answerer));

    // One row short of full: the pasted row fits, the rows its alignment adds do not.
    m_pView->GetModel().RestoreUsedRows(CMorvelView::MAX_FILE_ROWS - 1);
    SelectRow(nHeading - 1);
    Command(ID_EDIT_COPY);
    SelectRow(nHeading - 1);
    before = StoredState();
    answerer.ClearShown();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(StoredState(), before);
    EXPECT_TRUE(ToldTheFileRowLimit(answerer));
}

TEST_F(RowDialogsTest, TheRowAfterTheLastOneOfAFullEstimateTakesNoText)
{
    FillToTheFileRowLimit();
    const int nAfter = CMorvelView::MAX_FILE_ROWS;
    CDialogAnswerer answerer;
    GoTo(scName, nAfter);
    Type("1");
    Key(VK_RETURN);
    EXPECT_TRUE(ToldTheFileRowLimit(answerer));
    EXPECT_EQ(m_pView->GetUsedRows(), nAfter);
    EXPECT_EQ(Cell(nAfter, scName), "");
    EXPECT_FALSE(IsModified());
    GoTo(scName, nAfter);
    answerer.ClearShown();
    Key(VK_F2);
    EXPECT_FALSE(EditorVisible());
    EXPECT_TRUE(ToldTheFileRowLimit(answerer));
    // The last row takes text as any other.
    GoTo(scName, nAfter - 1);
    answerer.ClearShown();
    Type("1");
    EXPECT_EQ(EditorText(), "1");
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    Key(VK_ESCAPE);

    // Cells pasted over a block that reaches the row after the last would write it.
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(scName, nAfter - 3, scName, nAfter - 2));
    Command(ID_EDIT_COPY);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(scName, nAfter - 1, scName, nAfter));
    const std::vector<BYTE> before = StoredState();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(StoredState(), before);
    EXPECT_TRUE(ToldTheFileRowLimit(answerer));
}

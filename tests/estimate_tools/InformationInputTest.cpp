// The information sheet, the dialog driven as a user drives it, from the estimate's command and from a new
// estimate's first showing.
#include "engine/estimate/CNumberRules.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CNewTypeDialog.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/engine/estimate/InformationFormTestSupport.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/RealInput.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using InformationValues::Values;

CInformationFormFile MakeForm(const std::vector<ItemRow>& items)
{
    CInformationFormFile form;
    for (size_t i = 0; i < items.size(); ++i)
        for (int j = 0; j < 8; ++j)
            form.SetItem(static_cast<int>(i), j, CString::FromUtf8(items[i][static_cast<size_t>(j)]));
    form.SetCount(static_cast<int>(items.size()));
    return form;
}

std::string U(const CString& text)
{
    return text.ToUtf8();
}

CInformationFormFile SheetForm()
{
    return MakeForm(SheetItems());
}

} // namespace

namespace {

class InformationInputTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateCommandDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
    }

    static CInformationInputDialog& Sheet(CDialog& dlg) { return static_cast<CInformationInputDialog&>(dlg); }
    static CString GridText(CDialog& dlg, int nRow, int nCol)
    {
        return Sheet(dlg).Grid().GetTextMatrix(static_cast<short>(nRow), static_cast<short>(nCol));
    }
    static CString EditorText(CDialog& dlg)
    {
        CString text;
        Sheet(dlg).Editor().GetWindowText(text);
        return text;
    }
    static void Press(CDialog& dlg, UINT nVirtKey)
    {
        Sheet(dlg).Editor().SendMessage(WM_KEYDOWN, nVirtKey, 0);
    }
    static void Char(CDialog& dlg, UINT nChar) { Sheet(dlg).Editor().SendMessage(WM_CHAR, nChar, 0); }
};

} // namespace

TEST_F(InformationInputTest, TheCommandEditsTheValuesAndStoresThemAfterOK)
{
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->m_InformationForm = SheetForm();
    m_pView->GetModel().SetInformation(0, "旧得意先"_sj);
    m_pView->GetModel().SetInformation(2, "1000");
    m_pDoc->SetModifiedFlag(FALSE);
    CString strTotal, strTax, strNet;
    m_pView->GetInformationAmounts(strTotal, strTax, strNet);
    ASSERT_GT(atof(strTotal.c_str()), 0.0);

    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CInformationInputDialog& sheet = Sheet(dlg);
        // The heading row, numbered rows with the item names, the values shown.
        EXPECT_EQ(9, sheet.Grid().GetRows());
        EXPECT_EQ(3, sheet.Grid().GetCols());
        EXPECT_EQ("No.", GridText(dlg, 0, 0).str());
        EXPECT_EQ("名称", U(GridText(dlg, 0, 1)));
        EXPECT_EQ("内容", U(GridText(dlg, 0, 2)));
        EXPECT_EQ("8", GridText(dlg, 8, 0).str());
        EXPECT_EQ("単価", U(GridText(dlg, 3, 1)));
        EXPECT_EQ("\\1,000", GridText(dlg, 3, 2).str());
        // The amount with tax as the view computes it, prefixed and formatted.
        EXPECT_EQ(
            InformationValues::DisplayText(CInformationFormTexts(sheet.m_form), 4, strTotal, true).str(),
            GridText(dlg, 5, 2).str());
        // Row 1 is current with its value in the editor.
        EXPECT_EQ(1, sheet.GetCurrentRow());
        EXPECT_EQ("旧得意先", U(EditorText(dlg)));

        TypeDlgItemText(dlg, IDC_INFO_EDIT, "山田建設"_sj);
        Press(dlg, VK_TAB);
        EXPECT_EQ(2, sheet.GetCurrentRow());
        EXPECT_EQ("山田建設", U(GridText(dlg, 1, 2)));
        // Full-width digits become ASCII.
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "３"_sj);
        Press(dlg, VK_DOWN);
        EXPECT_EQ("3.00", GridText(dlg, 2, 2).str());
        // The editor offers the value with its yen mark; typing one before the number
        // stores the number alone, and the grid shows it formatted with the mark.
        EXPECT_EQ("\\1000", EditorText(dlg).str());
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "\\2000");
        Press(dlg, VK_RETURN);
        EXPECT_EQ("\\2,000", GridText(dlg, 3, 2).str());
        // The computed item follows at once: 3 x 2000, shown over its cell as the cell
        // shows it.
        EXPECT_EQ(4, sheet.GetCurrentRow());
        EXPECT_EQ("***6,000", EditorText(dlg).str());
        EXPECT_EQ("***6,000", GridText(dlg, 4, 2).str());
        // It takes no typing.
        Char(dlg, '9');
        EXPECT_EQ("***6,000", EditorText(dlg).str());
        Press(dlg, VK_DOWN);
        // Nor does an amount item.
        EXPECT_EQ(5, sheet.GetCurrentRow());
        const CString before = EditorText(dlg);
        Char(dlg, '1');
        Press(dlg, VK_BACK);
        EXPECT_EQ(before.str(), EditorText(dlg).str());
        // Up and back: the amount item was not changed by leaving it.
        Press(dlg, VK_UP);
        EXPECT_EQ(4, sheet.GetCurrentRow());
        // Shift+Tab is not needed here; row 3 with a mark typed and OK at once.
        Press(dlg, VK_UP);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "\\2500");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ("山田建設", U(m_pView->GetModel().GetInformation(0)));
    EXPECT_EQ("3", m_pView->GetModel().GetInformation(1).str());
    // OK stores the number without the mark typed before it.
    EXPECT_EQ("2500", m_pView->GetModel().GetInformation(2).str());
    EXPECT_DOUBLE_EQ(7500.0, atof(m_pView->GetModel().GetInformation(3).c_str()));
    EXPECT_EQ(strTotal.str(), m_pView->GetModel().GetInformation(4).str());
    EXPECT_EQ(strTax.str(), m_pView->GetModel().GetInformation(5).str());
    EXPECT_EQ(strNet.str(), m_pView->GetModel().GetInformation(6).str());
    EXPECT_EQ(8, m_pView->GetModel().GetInformationCount());
    EXPECT_TRUE(IsModified());
}

// The sample's sheet: 出精値引 (a "数値" item with a yen mark) and 御見積金額 (計算: the amount
// with tax less the discount, shown after "***").
TEST_F(InformationInputTest, ADiscountWithYenAndEnCountsInFullAndAWordIsRefusedWhereItIsTyped)
{
    ASSERT_NE(OpenSample(), nullptr);
    const CInformationFormFile& form = m_pDoc->m_InformationForm;
    int nDiscount = -1, nQuote = -1;
    for (int i = 0; i < form.GetCount(); ++i) {
        if (form.GetItem(i, 0) == "出精値引"_sj)
            nDiscount = i;
        if (form.GetItem(i, 0) == "御見積金額"_sj)
            nQuote = i;
    }
    ASSERT_GE(nDiscount, 0);
    ASSERT_EQ(nDiscount + 1, nQuote);
    CString strTotal, strTax, strNet;
    m_pView->GetInformationAmounts(strTotal, strTax, strNet);
    const double total = std::floor(std::atof(strTotal));
    ASSERT_GT(total, 20000);
    auto quote = [](double value) {
        return "***" + CNumberRules::FormatByPicture(value, "###,###,###", true).str();
    };
    const CString refused =
        "「出精値引」には数値を入力してください。\n（例：10000、10,000、￥10,000、10,000円）"_sj;

    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CInformationInputDialog& sheet = Sheet(dlg);
        while (sheet.GetCurrentRow() < nDiscount + 1)
            Press(dlg, VK_DOWN);
        // Typed with separators and "円", then on to the estimate amount: ten thousand off,
        // shown over the computed row as its cell shows it.
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "10,000円"_sj);
        Press(dlg, VK_DOWN);
        ASSERT_EQ(nQuote + 1, sheet.GetCurrentRow());
        EXPECT_EQ("\\10,000", GridText(dlg, nDiscount + 1, 2).str());
        EXPECT_EQ(quote(total - 10000), GridText(dlg, nQuote + 1, 2).str());
        EXPECT_EQ(quote(total - 10000), EditorText(dlg).str());
        // A discount above the amount: a negative estimate amount, shown the same way.
        Press(dlg, VK_UP);
        TypeDlgItemText(dlg, IDC_INFO_EDIT,
                        CString::FromUtf8(std::to_string(static_cast<long long>(total) + 1234)));
        Press(dlg, VK_DOWN);
        EXPECT_EQ(quote(-1234), GridText(dlg, nQuote + 1, 2).str());
        EXPECT_EQ(quote(-1234), EditorText(dlg).str());

        // A word is refused where it is typed: by a moving key, a click on another row
        // and OK, each with the message; the row stays with the text to put right.
        Press(dlg, VK_UP);
        const CString before = GridText(dlg, nDiscount + 1, 2);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "一万円"_sj);
        for (const std::function<void()>& leave : std::initializer_list<std::function<void()>>{
                 [&] { Press(dlg, VK_DOWN); }, [&] { sheet.Grid().SetRow(2); },
                 [&] { ClickDlgButton(dlg, IDOK); }}) {
            const size_t nShown = answerer.MessageBoxTexts().size();
            answerer.AnswerMessageBox(refused, IDOK);
            leave();
            ASSERT_EQ(nShown + 1, answerer.MessageBoxTexts().size());
            EXPECT_EQ(refused.str(), answerer.MessageBoxTexts().back().str());
            EXPECT_EQ(nDiscount + 1, sheet.GetCurrentRow());
            EXPECT_EQ(nDiscount + 1, sheet.Grid().GetRow());
            EXPECT_EQ("一万円", U(EditorText(dlg)));
            EXPECT_EQ(before.str(), GridText(dlg, nDiscount + 1, 2).str());
        }
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "￥５，０００"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ(3u, answerer.MessageBoxTexts().size());
    // Kept as the plain number it was written as, the estimate amount worked out from it.
    EXPECT_EQ("5000", m_pView->GetModel().GetInformation(nDiscount).str());
    EXPECT_DOUBLE_EQ(total - 5000, std::atof(m_pView->GetModel().GetInformation(nQuote)));
}

// "No." and the row numbers fit their column in the sheet's own font, margins included.
TEST_F(InformationInputTest, TheNumberColumnShowsItsHeadingWhole)
{
    ASSERT_NE(OpenSample(), nullptr);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CGridCtrl& grid = Sheet(dlg).Grid();
        const int nCell = CGridCtrl::TwipsToPixels(grid.GetColWidth(0)) - 2 * GRID_CELL_MARGIN;
        CClientDC dc(&grid);
        dc.SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(grid.SendMessage(WM_GETFONT))));
        for (short r : {short{0}, static_cast<short>(grid.GetRows() - 1)}) {
            const CString text = grid.GetTextMatrix(r, 0);
            EXPECT_LE(dc.GetTextExtent(text).cx, nCell) << text.str();
        }
        EXPECT_EQ("No.", grid.GetTextMatrix(0, 0).str());
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(InformationInputTest, CancelAndAnUnchangedOKLeaveTheEstimateAlone)
{
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->m_InformationForm = MakeForm({
        {"得意先名", "文字", "30", "", "", "", "", ""},
        {"現場", "文字", "30", "", "", "", "", ""},
        {"工期", "文字", "30", "", "", "", "", ""},
    });
    m_pView->GetModel().SetInformation(0, "A");
    m_pDoc->SetModifiedFlag(FALSE);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "B");
        Press(dlg, VK_TAB);
        answerer.AnswerMessageBox("入力した内容を破棄します。よろしいですか？"_sj, IDYES);
        ClickDlgButton(dlg, IDCANCEL);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ(1u, answerer.MessageBoxTexts().size());
    EXPECT_EQ("A", m_pView->GetModel().GetInformation(0).str());
    EXPECT_FALSE(IsModified());

    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CInformationInputDialog& sheet = Sheet(dlg);
        // Three items: rows 1 to 3; Tab on the last row stays there, Up on row 1 too.
        Press(dlg, VK_UP);
        EXPECT_EQ(1, sheet.GetCurrentRow());
        Press(dlg, VK_TAB);
        Press(dlg, VK_TAB);
        Press(dlg, VK_TAB);
        EXPECT_EQ(3, sheet.GetCurrentRow());
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ("A", m_pView->GetModel().GetInformation(0).str());
    EXPECT_FALSE(IsModified());
}

TEST_F(InformationInputTest, AClickMovesToTheRowAndTheScrollBarScrolls)
{
    ASSERT_NE(OpenSample(), nullptr);
    std::vector<ItemRow> items;
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i)
        names.push_back("項目" + std::to_string(i));
    for (const std::string& name : names)
        items.push_back({name.c_str(), "文字", "10", "", "", "", "", ""});
    m_pDoc->m_InformationForm = MakeForm(items);
    int nLastRow = 0;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CInformationInputDialog& sheet = Sheet(dlg);
        const int v = sheet.GetVisibleRows();
        ASSERT_GT(v, 2);
        ASSERT_LT(v, 20);
        EXPECT_EQ(42 - v, sheet.ScrollBar().GetScrollLimit());
        // The grid is cut to whole rows: the heading and v rows of 19 pixels.
        CRect rc;
        sheet.Grid().GetWindowRect(&rc);
        EXPECT_EQ((v + 1) * 19, rc.Height());
        // Typing then a click elsewhere commits the row left.
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "x");
        sheet.Grid().SetRow(3);
        EXPECT_EQ(3, sheet.GetCurrentRow());
        EXPECT_EQ("x", GridText(dlg, 1, 2).str());
        // Page Down moves by the rows shown less one, the scroll bar with it.
        Press(dlg, VK_NEXT);
        EXPECT_EQ(3 + v - 1, sheet.GetCurrentRow());
        EXPECT_EQ(v, sheet.ScrollBar().GetScrollPos());
        EXPECT_EQ(v, sheet.Grid().GetTopRow());
        // Line up on the bar: the view moves one row up.
        dlg.SendMessage(WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(sheet.ScrollBar().m_hWnd));
        EXPECT_EQ(v - 1, sheet.Grid().GetTopRow());
        // The editor lies over the current row's value cell.
        CRect rcEdit;
        sheet.Editor().GetWindowRect(&rcEdit);
        sheet.Grid().GetWindowRect(&rc);
        EXPECT_EQ(rc.top + 1 + (sheet.GetCurrentRow() - (v - 1) + 1) * 19, rcEdit.top);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "y");
        nLastRow = sheet.GetCurrentRow();
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ("x", m_pView->GetModel().GetInformation(0).str());
    ASSERT_GT(nLastRow, 1);
    EXPECT_EQ("y", m_pView->GetModel().GetInformation(nLastRow - 1).str());
}

TEST_F(InformationInputTest, ANewEstimateOpensWithItsInformationSheet)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_NEWTYPEDLG, [](CDialog& dlg) {
        // The estimate is the first type offered.
        SelectDlgItem(dlg, CNewTypeDialog::IDC_TYPE_LIST, 0);
        ClickDlgButton(dlg, IDOK);
    });
    int nItems = -1;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        nItems = Sheet(dlg).GetItemCount();
        EXPECT_EQ(nItems + 1, Sheet(dlg).Grid().GetRows());
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "新しい得意先"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    m_pApp->OnFileNew();
    Pump();
    EXPECT_EQ(0, answerer.CountUnanswered());
    ASSERT_EQ(std::vector<UINT>({AFX_IDD_NEWTYPEDLG, IDD_INFORMATION_INPUT}), answerer.DialogIds());
    auto* pMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    ASSERT_NE(pMain, nullptr);
    auto* pDoc = dynamic_cast<CMorvelEMDoc*>(pMain->GetActiveFrame()->GetActiveDocument());
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->m_InformationForm.GetCount(), nItems);
    ASSERT_GT(nItems, 0);
    EXPECT_EQ("新しい得意先", U(pDoc->GetEstimateView()->GetModel().GetInformation(0)));
}

// Esc in the editor takes back what was typed there last; the sheet stays open with every
// value typed. ｷｬﾝｾﾙ, the close box and Esc outside the editor ask before they drop typed
// values; left as it opened, the sheet closes without a word. No key reaches the estimate
// behind it.
TEST_F(InformationInputTest, EscInTheEditorTakesBackTheLastChangeAndTypedValuesAreNotDroppedUnasked)
{
    ASSERT_NE(OpenSample(), nullptr);
    GoTo(scNote, srFirstDetail);
    const std::vector<BYTE> before = StoredState();
    const CInformationFormFile& form = m_pDoc->m_InformationForm;
    int nDiscount = -1;
    for (int i = 0; i < form.GetCount(); ++i) {
        if (form.GetItem(i, 0) == "出精値引"_sj)
            nDiscount = i;
    }
    ASSERT_GT(nDiscount, 4);
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ("文字", U(form.GetItem(i, CInformationFormFile::colAttribute)));
    std::vector<CString> original;
    for (int i = 0; i < form.GetCount(); ++i)
        original.push_back(m_pView->GetModel().GetInformation(i));
    const CString question = "入力した内容を破棄します。よろしいですか？"_sj;
    // Keys as the keyboard gives them, through the program's own key handling.
    auto press = [](int nKey) {
        QWidget* pTarget = RealInput::KeyboardWidget();
        ASSERT_NE(pTarget, nullptr);
        RealInput::PressKeys(pTarget, Qt::NoModifier, nKey);
    };
    auto type = [](const char* text) {
        QWidget* pTarget = RealInput::KeyboardWidget();
        ASSERT_NE(pTarget, nullptr);
        RealInput::TypeText(pTarget, QString::fromUtf8(text));
    };
    const char* const typed[] = {"ABC", "QQ", "R3", "R4"};

    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
        CInformationInputDialog& sheet = Sheet(dlg);
        dlg.SetActiveWindow();
        for (const char* text : typed) {
            type(text);
            press(Qt::Key_Down);
        }
        while (sheet.GetCurrentRow() < nDiscount + 1)
            press(Qt::Key_Down);
        const CString discount = EditorText(dlg);
        type("123");
        EXPECT_EQ(discount + "123", EditorText(dlg));
        // Esc takes the typing back, once; the sheet stays, the rows left keep their values.
        for (int n = 0; n < 2; ++n) {
            press(Qt::Key_Escape);
            EXPECT_TRUE(dlg.IsModalRunning());
            EXPECT_EQ(nDiscount + 1, sheet.GetCurrentRow());
            EXPECT_EQ(discount.str(), EditorText(dlg).str());
        }
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(U(original[static_cast<size_t>(i)]) + typed[i], U(GridText(dlg, i + 1, 2)));
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
        // ｷｬﾝｾﾙ and the close box ask; No goes on typing.
        answerer.AnswerMessageBox(question, IDNO);
        ClickDlgButton(dlg, IDCANCEL);
        answerer.AnswerMessageBox(question, IDNO);
        dlg.SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(std::vector<CString>(2, question), answerer.MessageBoxTexts());
        EXPECT_TRUE(dlg.IsModalRunning());
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(U(original[static_cast<size_t>(i)]) + typed[i], U(m_pView->GetModel().GetInformation(i)));
    EXPECT_EQ(original[static_cast<size_t>(nDiscount)].str(),
              m_pView->GetModel().GetInformation(nDiscount).str());
    const CString customer = m_pView->GetModel().GetInformation(0);
    m_pDoc->SetModifiedFlag(FALSE);
    const std::vector<BYTE> afterOK = StoredState();

    // Typed and moved off, then Esc with the focus on the grid: the question, Yes drops it.
    // Left as it opened (a row visited, typing taken back), the sheet closes without one.
    const std::function<void(CDialog&)> states[] = {
        [&](CDialog& dlg) {
            type("XYZ");
            press(Qt::Key_Down);
            answerer.AnswerMessageBox(question, IDYES);
            Sheet(dlg).Grid().SetFocus();
        },
        [&](CDialog& dlg) {
            press(Qt::Key_Down);
            type("7");
            press(Qt::Key_Escape);
            EXPECT_TRUE(dlg.IsModalRunning());
            ClickDlgButton(dlg, IDCANCEL);
        },
    };
    for (size_t i = 0; i < std::size(states); ++i) {
        SCOPED_TRACE(i);
        answerer.ClearShown();
        answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
            dlg.SetActiveWindow();
            states[i](dlg);
            if (dlg.IsModalRunning())
                press(Qt::Key_Escape);
        });
        Command(ID_INFORMATION_INPUT);
        ASSERT_FALSE(answerer.GetShown().empty());
        EXPECT_EQ(IDCANCEL, answerer.GetShown()[0].nResult);
        EXPECT_EQ(i == 0 ? 1u : 0u, answerer.MessageBoxTexts().size());
        EXPECT_EQ(0, answerer.CountUnanswered());
        EXPECT_EQ(customer.str(), m_pView->GetModel().GetInformation(0).str());
        EXPECT_FALSE(IsModified());
        // No key reached the estimate behind the sheet.
        EXPECT_EQ(afterOK, StoredState());
        EXPECT_FALSE(EditorVisible());
    }
    EXPECT_NE(before, afterOK);
    // The next keys are the estimate's.
    type("7");
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ("7", EstimateWindowTest::EditorText());
}

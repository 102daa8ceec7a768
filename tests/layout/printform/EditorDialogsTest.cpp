// The small dialogs of the layout editor as a user fills them: ranges refused with the
// standard message, the table ruled-line dialog's patterns, outer frame and colours.
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CTableRuledLineDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "tests/layout/printform/LayoutTestSupport.h"
#include "tests/support/NumberFieldTyping.h"

namespace {

// Runs a spin dialog with a typed value; TRUE when OK took it.
template <class Dialog>
bool Accepts(Dialog& dialog, const char* typed)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(Dialog::IDD, [typed](CDialog& dlg) {
        TypeDlgItemText(dlg, 1031, typed);
        ClickDlgButton(dlg, IDOK);
    });
    return dialog.DoModal() == IDOK;
}

} // namespace

TEST_F(LayoutAppTest, SpinDialogsKeepTheirRanges)
{
    CGridWidthDialog grid;
    grid.m_nWidth = 10;
    EXPECT_FALSE(Accepts(grid, "4"));
    EXPECT_FALSE(Accepts(grid, "51"));
    EXPECT_TRUE(Accepts(grid, "50"));
    EXPECT_EQ(grid.m_nWidth, 50u);

    CLineSpacingDialog spacing;
    spacing.m_nSpacing = 10;
    EXPECT_TRUE(Accepts(spacing, "0"));
    EXPECT_EQ(spacing.m_nSpacing, 0u);
    EXPECT_FALSE(Accepts(spacing, "101"));

    CInsertTableDialog table;
    EXPECT_FALSE(Accepts(table, "0"));
    EXPECT_TRUE(Accepts(table, "100"));
    EXPECT_EQ(table.m_nRows, 100u);
    EXPECT_EQ(table.m_nCols, 2u);
}

TEST_F(LayoutAppTest, TableRuledLineDialogUntouchedLeavesEveryLine)
{
    CTableRuledLineDialog dialog;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(CTableRuledLineDialog::IDD, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nPattern, 1);
    for (int style : {dialog.m_nInnerV, dialog.m_nInnerH, dialog.m_nLeft, dialog.m_nRight, dialog.m_nTop,
                      dialog.m_nBottom})
        EXPECT_EQ(style, -1);
    for (COLORREF c : {dialog.m_clrInnerV, dialog.m_clrInnerH, dialog.m_clrLeft, dialog.m_clrRight,
                       dialog.m_clrTop, dialog.m_clrBottom})
        EXPECT_EQ(c, RGB(0, 0, 0));
}

TEST_F(LayoutAppTest, TableRuledLineDialogOuterFrameThenOneEdge)
{
    CTableRuledLineDialog dialog;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(CTableRuledLineDialog::IDD, [](CDialog& dlg) {
        SelectDlgItem(dlg, 1150, 3);  // style 2 for the whole frame
        SelectDlgItem(dlg, 1141, 11); // style 10 for the left edge
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nTop, 2);
    EXPECT_EQ(dialog.m_nRight, 2);
    EXPECT_EQ(dialog.m_nBottom, 2);
    EXPECT_EQ(dialog.m_nLeft, 10);
    EXPECT_EQ(dialog.m_nInnerV, -1);
}

TEST_F(LayoutAppTest, TableRuledLinePatternSixLeavesOnlyTheInnerHorizontalLine)
{
    CTableRuledLineDialog dialog;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(CTableRuledLineDialog::IDD, [](CDialog& dlg) {
        ClickDlgButton(dlg, 1064);
        for (int nID : {1150, 1182, 1141, 1142, 1143, 1144, 1145, 1146, 1148, 1149, 1152, 1154})
            EXPECT_FALSE(dlg.GetDlgItem(nID)->IsWindowEnabled()) << nID;
        EXPECT_TRUE(dlg.GetDlgItem(1151)->IsWindowEnabled());
        EXPECT_TRUE(dlg.GetDlgItem(1147)->IsWindowEnabled());
        EXPECT_EQ(dlg.IsDlgButtonChecked(1064), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(dlg.IsDlgButtonChecked(1071), static_cast<UINT>(BST_UNCHECKED));
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nPattern, 6);
}

TEST_F(LayoutAppTest, TableRuledLineColourButtonsSetTheirLines)
{
    CTableRuledLineDialog dialog;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(CTableRuledLineDialog::IDD, [&answerer](CDialog& dlg) {
        answerer.AnswerColorDialog(RGB(200, 0, 0));
        ClickDlgButton(dlg, 1146); // bottom edge only
        answerer.AnswerColorDialog(RGB(0, 0, 200));
        ClickDlgButton(dlg, 1182); // the outer frame: all four edges
        answerer.AnswerColorDialog(RGB(0, 120, 0));
        ClickDlgButton(dlg, 1154); // inner vertical
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_clrBottom, RGB(0, 0, 200));
    EXPECT_EQ(dialog.m_clrLeft, RGB(0, 0, 200));
    EXPECT_EQ(dialog.m_clrInnerV, RGB(0, 120, 0));
    EXPECT_EQ(dialog.m_clrInnerH, RGB(0, 0, 0));

    CTableRuledLineDialog second;
    answerer.AnswerDialog(CTableRuledLineDialog::IDD, [&answerer](CDialog& dlg) {
        answerer.AnswerColorDialog(RGB(200, 0, 0));
        ClickDlgButton(dlg, 1146);
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(second.DoModal(), IDOK);
    EXPECT_EQ(second.m_clrBottom, RGB(200, 0, 0));
    EXPECT_EQ(second.m_clrTop, RGB(0, 0, 0));
}

TEST_F(LayoutAppTest, TheTableOfTextsRunsOverEveryNumberFieldOfTheEditorsDialogs)
{
    auto run = [](const char* lpszField, double lo, double hi, int nIDC, auto pick, auto* pKind) {
        using Dialog = std::remove_pointer_t<decltype(pKind)>;
        ExpectNumberFieldReadsTheTable(lpszField, lo, hi, true, [&](const CString& text, double& read) {
            Dialog dialog;
            CFieldTyping typing = TypeIntoNumberField(Dialog::IDD, nIDC, text, [&] { dialog.DoModal(); });
            read = static_cast<double>(pick(dialog));
            return typing;
        });
    };
    run(
        "ｸﾞﾘｯﾄﾞ 幅", 5, 50, 1031, [](CGridWidthDialog& d) { return d.m_nWidth; },
        static_cast<CGridWidthDialog*>(nullptr));
    run(
        "行間", 0, 100, 1031, [](CLineSpacingDialog& d) { return d.m_nSpacing; },
        static_cast<CLineSpacingDialog*>(nullptr));
    run(
        "表 行数", 1, 100, 1031, [](CInsertTableDialog& d) { return d.m_nRows; },
        static_cast<CInsertTableDialog*>(nullptr));
    run(
        "表 列数", 1, 100, 1101, [](CInsertTableDialog& d) { return d.m_nCols; },
        static_cast<CInsertTableDialog*>(nullptr));
}

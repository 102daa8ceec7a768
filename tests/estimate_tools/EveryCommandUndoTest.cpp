// Every command of the estimate window that changes its rows, run as a user runs it (menus,
// dialogs, keys, the subject tree), is taken back by undo to exactly the rows before it and
// done again by redo to exactly the rows it made: kinds, cells, indents, used rows, the bytes
// a save writes; at the default recalculation level and at level 1. (Typing, the row
// commands, cut and paste, the special rows, the non-calculated mark and the fixed-rate
// change are held so in tests/estimate/UndoRedoTest.cpp.)
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CEstimationFormFile.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/CUnnecessaryRowDialog.h"
#include "grid/ModelessMessages.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "resources/ResourceIds.h"

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

class EveryCommandUndo : public SubjectTreeWindowTest {
protected:
    bool RecordsTreeCommands() const override { return false; }
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "1");
    }

    // What the user sees of the rows: the used rows, then each row's kind and cells with their
    // indents.
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> lines{std::to_string(m_pView->GetUsedRows())};
        for (int r = 0; r < m_pView->GetUsedRows() + 3; ++r) {
            std::string line = std::to_string(m_pView->GetRowKind(r));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                line += "|" + m_pView->GetCellText(r, c).ToUtf8() + ">" +
                        std::to_string(m_pView->GetCellIndent(r, c));
            lines.push_back(line);
        }
        return lines;
    }
    int IsEnabled(UINT nID)
    {
        struct CRecorder : CCmdUI {
            void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
            int m_nEnabled = -1;
        } cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI.m_nEnabled;
    }
    // The first row of a kind from nFrom on (-1: none).
    int RowOf(ERowKind nKind, int nFrom = 0) const { return FindRow(nKind, nFrom); }
    void ClickHeader(int nCol)
    {
        const LPARAM lParam = MAKELPARAM(CellPoint(nCol, 0).x, m_pView->GetHeaderHeight() / 2);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
    }

    // The commands of the table run one after another, each taken back and done again.
    void TakeEachCommandBackAndDoItAgain();

    CDialogAnswerer m_answerer;
};

struct CStep {
    const char* pszName;
    CMorvelEMView::EUndoAction eAction;
    std::function<void()> run;
};

} // namespace

void EveryCommandUndo::TakeEachCommandBackAndDoItAgain()
{
    ASSERT_NE(OpenSampleWindow(), nullptr);
    WidenTree(m_pView);
    // The cost price column is the step rows' factor (T 7).
    m_pDoc->m_EstimationForm.SetItem(scCostPrice, CEstimationFormFile::colT, "7");
    m_pView->SetupFromDocument();
    // Two rows the unnecessary-row search finds (a unit, no quantity) and a file of rows to
    // read.
    const int nEnd = m_pView->GetUsedRows();
    for (int r : {nEnd, nEnd + 1}) {
        m_pView->SetCellText(CString::FromUtf8("不要"), r, scName, TRUE);
        m_pView->SetCellText("m", r, scUnit, TRUE);
        m_pView->SetRowKind(kindDetail, r);
    }
    const std::string csvPath = m_pFolder->Native("WORK/rows.csv");
    std::ofstream(csvPath, std::ios::binary) << "A,,12.5,m,3400\r\nB,,3,m2,1250.5\r\n";
    Command(ID_RECALCULATE);

    const std::vector<CStep> steps = {
        {"項目ｸﾘｱ", CMorvelEMView::undoItemClear,
         [&] {
             ClickHeader(scPrice);
             Command(ID_ITEM_CLEAR);
         }},
        {"ｲﾝﾃﾞﾝﾄ", CMorvelEMView::undoIndent,
         [&] {
             CIndentRequest request{scName, INDENT_LEVEL_DETAIL, 2};
             m_pView->SendMessage(WM_INDENT_COMMAND, INDENT_INCREASE, reinterpret_cast<LPARAM>(&request));
         }},
        {"並べ替え", CMorvelEMView::undoSort,
         [&] {
             // Three detail rows whose quantities the sort turns round.
             int r = RowOf(kindDetail);
             while (m_pView->GetRowKind(r + 1) != kindDetail || m_pView->GetRowKind(r + 2) != kindDetail ||
                    Value(r, scQty) == Value(r + 2, scQty))
                 r = RowOf(kindDetail, r + 1);
             const bool bAscending = Value(r, scQty) > Value(r + 2, scQty);
             GoTo(scQty, r);
             m_pView->SetSelection(CMorvelView::selectBlock, CRect(scQty, r, scQty, r + 2));
             m_answerer.AnswerDialog(IDD_SORT, [bAscending](CDialog& dlg) {
                 ClickDlgButton(dlg, bAscending ? IDC_SORT_ASCENDING : IDC_SORT_DESCENDING);
             });
             Command(ID_SORT);
         }},
        {"歩掛設定", CMorvelEMView::undoStepSetting,
         [&] {
             GoTo(scName, RowOf(kindDetail, 10));
             m_answerer.AnswerDialog(IDD_STEP_SETTING, [](CDialog& dlg) {
                 ClickDlgButton(dlg, IDC_RADIO_2);
                 SelectDlgItem(dlg, IDC_ROW_ITEM_COMBO, scUnit);
                 TypeDlgItemText(dlg, IDC_ROW_TEXT, "m2");
                 ClickDlgButton(dlg, IDOK);
             });
             Command(ID_STEP_SETTING);
         }},
        {"分類合計設定", CMorvelEMView::undoSpecialRow,
         [&] {
             // Within the first subject, above every total and tax row it feeds.
             GoTo(scName, srFirstDetail + 2);
             m_answerer.AnswerDialog(IDD_CLASS_RATE, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
             m_answerer.AnswerDialog(IDD_CLASS_TOTAL, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
             Command(ID_CLASSIFY_TOTAL);
         }},
        {"値引合計", CMorvelEMView::undoSpecialRow,
         [&] {
             GoTo(scName, srMiddleTotal);
             m_answerer.AnswerDialog(IDD_DISCOUNT_TOTAL, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
             Command(ID_TOTAL_DISCOUNT);
         }},
        {"分類合計設定 解除", CMorvelEMView::undoClassifySetting,
         [&] {
             GoTo(scName, RowOf(kindClassify));
             m_answerer.AnswerDialog(IDD_CLASS_RATE, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
             m_answerer.AnswerDialog(IDD_CLASS_TOTAL,
                                     [](CDialog& dlg) { ClickDlgButton(dlg, IDC_ROW_RELEASE); });
             Command(ID_CLASSIFY_TOTAL);
         }},
        {"単位", CMorvelEMView::undoCellEdit,
         [&] {
             GoTo(scUnit, srFirstDetail + 1);
             Command(ID_UNIT);
             auto* pPick = dynamic_cast<CUnitPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::pickUnit));
             ASSERT_NE(pPick, nullptr);
             int nItem = 0;
             while (pPick->List().GetItemText(nItem, 0) == m_pView->GetCellText(srFirstDetail + 1, scUnit))
                 ++nItem;
             pPick->List().SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
             ClickDlgButton(*pPick, IDOK);
         }},
        {"ﾍﾟｰｼﾞ挿入", CMorvelEMView::undoPageInsert,
         [&] {
             GoTo(scName, 20);
             m_answerer.AnswerDialog(IDD_PAGE_INSERT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
             Command(ID_PAGE_INSERT);
         }},
        {"ﾍﾟｰｼﾞ削除", CMorvelEMView::undoPageDelete,
         [&] {
             GoTo(scName, 40);
             m_answerer.AnswerDialog(IDD_PAGE_DELETE, [](CDialog& dlg) {
                 TypeDlgItemText(dlg, IDC_PAGE_NUMBER, "3");
                 ClickDlgButton(dlg, IDOK);
             });
             Command(ID_PAGE_DELETE);
         }},
        {"ﾍﾟｰｼﾞ送り", CMorvelEMView::undoPageFeed,
         [&] {
             GoTo(scName, 10);
             Command(ID_PAGE_FEED);
         }},
        {"不要行削除", CMorvelEMView::undoUnnecessaryRows,
         [&] {
             Command(ID_UNNECESSARY_ROWS);
             auto* pDlg = dynamic_cast<CUnnecessaryRowDialog*>(m_pView->GetUnnecessaryRowDialogs().back());
             ASSERT_NE(pDlg, nullptr);
             ClickDlgButton(*pDlg, IDC_UNROW_DELETE_ALL);
             pDlg->SendMessage(WM_CLOSE);
         }},
        {"科目のドラッグ", CMorvelEMView::undoSubjectDrag,
         [&] {
             const int nMiddle = RowOf(kindMiddle);
             DragItem(Tree(), ItemOfRow(Tree(), nMiddle), Tree(),
                      ItemOfRow(Tree(), RowOf(kindMiddle, nMiddle + 1)));
         }},
        {"ﾃｷｽﾄ入力", CMorvelEMView::undoRowsRead,
         [&] {
             GoTo(scName, 12);
             m_answerer.AnswerFileDialog(SystemPathFromNative(csvPath));
             m_answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
                 DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 0);
                 ClickDlgButton(dlg, IDOK);
             });
             m_answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                                     [](CDialog& dlg) { ClickDlgButton(dlg, IDC_IMPORT_SELECT_ALL); });
             Command(ID_TEXT_INPUT);
         }},
        {"集計表 内部作成", CMorvelEMView::undoSummaryWritten,
         [&] {
             m_answerer.AnswerDialog(IDD_SUMMARY, [](CDialog& dlg) {
                 ClickDlgButton(dlg, IDC_RADIO_2);
                 ClickDlgButton(dlg, IDOK);
             });
             Command(ID_SUMMARY_TABLE);
         }},
        {"置換 すべて", CMorvelEMView::undoReplaceAll,
         [&] {
             GoTo(scName, 0);
             Command(ID_EDIT_REPLACE_DLG);
             auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
             ASSERT_NE(pDlg, nullptr);
             TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString::FromUtf8("工事"));
             TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8("作業"));
             ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
             pDlg->SendMessage(WM_CLOSE);
         }},
    };
    for (const CStep& step : steps) {
        SCOPED_TRACE(step.pszName);
        const std::vector<std::string> before = Picture();
        const std::vector<BYTE> bytesBefore = SavedBytes();
        step.run();
        Pump();
        const std::vector<std::string> after = Picture();
        const std::vector<BYTE> bytesAfter = SavedBytes();
        ASSERT_NE(after, before) << "the command changed nothing";
        EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), step.eAction);
        ASSERT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Picture(), before) << "after undo";
        EXPECT_TRUE(SavedBytes() == bytesBefore) << "after undo";
        Command(ID_EDIT_REDO);
        EXPECT_EQ(Picture(), after) << "after redo";
        EXPECT_TRUE(SavedBytes() == bytesAfter) << "after redo";
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
    }
}

TEST_F(EveryCommandUndo, EachChangeOfTheRowsIsTakenBackAndDoneAgainExactly)
{
    TakeEachCommandBackAndDoItAgain();
}

namespace {

// Level 1 under another tax rate than the sample's: the totals and tax rows each command
// works out are given back as they stood.
class EveryCommandUndoAtLevel1 : public EveryCommandUndo {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        EveryCommandUndo::WriteSettings(profile);
        profile.WriteProfileString("ReCalcSetting", "Level", "1");
        profile.WriteProfileString("Input Setting", "Tax", "10");
    }
};

} // namespace

TEST_F(EveryCommandUndoAtLevel1, EachChangeOfTheRowsIsTakenBackAndDoneAgainExactly)
{
    TakeEachCommandBackAndDoItAgain();
}

namespace {

// Level 2: a change in bulk works every row out; undo gives back the figures as they stood.
class EveryCommandUndoAtLevel2 : public EveryCommandUndo {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        EveryCommandUndo::WriteSettings(profile);
        profile.WriteProfileString("ReCalcSetting", "Level", "2");
        profile.WriteProfileString("Input Setting", "Tax", "10");
    }
};

} // namespace

TEST_F(EveryCommandUndoAtLevel2, EachChangeOfTheRowsIsTakenBackAndDoneAgainExactly)
{
    TakeEachCommandBackAndDoItAgain();
}

// A command that leaves the rows as they were records nothing: undo still takes back the
// command before it.
TEST_F(EveryCommandUndo, ACommandThatChangesNothingRecordsNoUndoStep)
{
    ASSERT_NE(OpenSampleWindow(), nullptr);
    const std::vector<std::string> before = Picture();
    GoTo(scQty, srFirstDetail);
    Type("200");
    Key(VK_RETURN);
    Pump();
    const std::vector<std::string> typed = Picture();
    ASSERT_NE(before, typed);
    ASSERT_EQ(m_pView->GetModel().Undo().GetUndoAction(), CMorvelEMView::undoCellEdit);

    const std::vector<CStep> steps = {
        {"貼り付け", CMorvelEMView::undoCellEdit,
         [&] {
             m_pView->SetCurrentCell(scQty, srFirstDetail + 1);
             m_pView->SetSelection(CMorvelView::selectBlock,
                                   CRect(scQty, srFirstDetail + 1, scPrice, srFirstDetail + 1));
             Command(ID_EDIT_COPY);
             GoTo(scQty, srFirstDetail + 1);
             Command(ID_EDIT_PASTE);
         }},
        {"切り取り", CMorvelEMView::undoCellEdit,
         [&] {
             m_pView->SetCurrentCell(scNote, srFirstDetail);
             m_pView->SetSelection(CMorvelView::selectBlock,
                                   CRect(scNote, srFirstDetail, scNote, srFirstDetail + 2));
             Command(ID_EDIT_CUT);
         }},
        {"F2", CMorvelEMView::undoCellEdit,
         [&] {
             GoTo(scName, srMiddle);
             Key(VK_F2);
             Key(VK_RETURN);
         }},
        {"並べ替え", CMorvelEMView::undoCellEdit,
         [&] {
             // せっこうボード張り and ビニルクロス張り of 2階 会議室, 96.60 each.
             ASSERT_EQ(Value(25, scQty), Value(26, scQty));
             GoTo(scQty, 25);
             m_pView->SetSelection(CMorvelView::selectBlock, CRect(scQty, 25, scQty, 26));
             m_answerer.AnswerDialog(IDD_SORT, [](CDialog& dlg) { ClickDlgButton(dlg, IDC_SORT_ASCENDING); });
             Command(ID_SORT);
         }},
        {"非計算行 解除", CMorvelEMView::undoCellEdit,
         [&] {
             GoTo(scName, srFirstDetail + 1);
             Command(ID_NONCALC_RELEASE);
         }},
        {"置換", CMorvelEMView::undoCellEdit,
         [&] {
             GoTo(scName, 0);
             Command(ID_EDIT_REPLACE_DLG);
             auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
             ASSERT_NE(pDlg, nullptr);
             TypeDlgItemText(*pDlg, IDC_FIND_TEXT, CString::FromUtf8("工事"));
             TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, CString::FromUtf8("工事"));
             ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
             ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
             ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
             pDlg->SendMessage(WM_CLOSE);
         }},
    };
    for (const CStep& step : steps) {
        SCOPED_TRACE(step.pszName);
        step.run();
        Pump();
        ASSERT_EQ(Picture(), typed) << "the command changed the rows";
        EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), step.eAction);
        EXPECT_EQ(IsEnabled(ID_EDIT_UNDO), 1);
        EXPECT_FALSE(m_pView->GetModel().Undo().CanRedo());
    }
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Picture(), before);
}

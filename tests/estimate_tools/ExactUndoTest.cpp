// Undo gives back exactly the estimate a save wrote before the command, and redo exactly the
// one after it: special rows put in where the page alignment moves rows, rows written past
// the used ones, and figures a recalculation level leaves as they stood.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"
#include "tests/support/RealInput.h"

#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CPickDialogs.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/ResourceIds.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class ExactUndo : public SubjectTreeWindowTest {
protected:
    bool RecordsTreeCommands() const override { return false; }
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "1");
        profile.WriteProfileString("Input Setting", "Tax", "10");
        profile.WriteProfileString("ReCalcSetting", "Level", Level());
    }
    virtual const char* Level() const { return "3"; }

    // Ctrl and a key, pressed on the grid as the keyboard gives them.
    void CtrlKey(int nKey)
    {
        RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, nKey);
        Pump();
    }
    // The command run, then Ctrl+Z and Ctrl+Y: the bytes before it, then those after it.
    void CheckUndoAndRedo(const char* pszWhat, const std::function<void()>& command)
    {
        SCOPED_TRACE(pszWhat);
        const std::vector<BYTE> before = SavedBytes();
        command();
        Pump();
        const std::vector<BYTE> after = SavedBytes();
        ASSERT_NE(after, before) << "the command changed nothing";
        CtrlKey(Qt::Key_Z);
        EXPECT_EQ(SavedBytes().size(), before.size()) << "after undo";
        EXPECT_TRUE(SavedBytes() == before) << "after undo";
        CtrlKey(Qt::Key_Y);
        EXPECT_TRUE(SavedBytes() == after) << "after redo";
        CtrlKey(Qt::Key_Z);
        EXPECT_TRUE(SavedBytes() == before) << "after the second undo";
    }
    // A subject picked from the small subject list by its name.
    void PickSmallSubject(const CString& name)
    {
        Command(ID_PICK_SMALL);
        auto* pPick = dynamic_cast<CSubjectPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::pickSmall));
        ASSERT_NE(pPick, nullptr);
        CListCtrl& list = pPick->List();
        int nItem = 0;
        while (nItem < list.GetItemCount() && list.GetItemText(nItem, 0) != name)
            ++nItem;
        ASSERT_LT(nItem, list.GetItemCount());
        list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ClickDlgButton(*pPick, IDOK);
        Pump();
        if (m_pView->GetPickDialog(CMorvelEMView::pickSmall) != nullptr)
            pPick->SendMessage(WM_CLOSE);
        Pump();
    }
    void InsertKind(int nRow, const char* pszName)
    {
        GoTo(scName, nRow);
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_KIND_INPUT, [pszName](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ROW_TEXT, CString::FromUtf8(pszName));
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_KIND_INPUT);
    }
};

} // namespace

// A page put in above 電気設備工事, then a row of each special kind put in on the empty page:
// the heading that starts the next page stays there (an empty row goes), and the undo gives
// back exactly those empty rows, not the page's.
TEST_F(ExactUndo, SpecialRowsPutInAboveAHeadingAtAPageStartAreTakenBackExactly)
{
    ASSERT_NE(OpenSampleWindow(), nullptr);
    const int nPage = m_pView->GetPageRows();
    ASSERT_EQ(nPage, 18);
    ASSERT_EQ(Utf8Cell(2 * nPage, scName), "電気設備工事");
    GoTo(scName, 50);
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_PAGE_INSERT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_PAGE_INSERT);
    }
    ASSERT_EQ(Utf8Cell(3 * nPage, scName), "電気設備工事");
    const int nRow = 47;
    CheckUndoAndRedo("小科目選択", [&] {
        GoTo(scName, nRow);
        PickSmallSubject(CString::FromUtf8("基礎型枠"));
        EXPECT_EQ(m_pView->GetRowKind(nRow), kindSmall);
        EXPECT_EQ(Utf8Cell(3 * nPage, scName), "電気設備工事");
    });
    EXPECT_EQ(Utf8Cell(3 * nPage, scName), "電気設備工事");
    CheckUndoAndRedo("種目入力", [&] { InsertKind(nRow, "基礎工事"); });
    const std::vector<std::pair<const char*, UINT>> commands = {
        {"小科目合計", ID_TOTAL_SMALL}, {"総合計", ID_TOTAL_GRAND}, {"消費税", ID_TAX_ROW}};
    for (const auto& [pszName, nID] : commands) {
        CheckUndoAndRedo(pszName, [&, nID = nID] {
            GoTo(scName, nRow);
            Command(nID);
        });
    }
    CheckUndoAndRedo("値引入力", [&] {
        GoTo(scName, nRow);
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_DISCOUNT_INPUT, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ROW_TEXT, "-1,234");
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_DISCOUNT_INPUT);
    });
}

// A kind heading put in far below the used rows: undo leaves the used rows as they were, no
// empty row kept in use.
TEST_F(ExactUndo, AKindHeadingBelowTheUsedRowsIsTakenBackWithTheRowsItBroughtIntoUse)
{
    ASSERT_NE(OpenSampleWindow(), nullptr);
    const int nUsed = m_pView->GetUsedRows();
    CheckUndoAndRedo("種目入力", [&] { InsertKind(nUsed + 16, "基礎工事"); });
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
}

namespace {

// Level 1: the sample's figures stay those it was saved with (another tax rate).
class ExactUndoAtLevel1 : public ExactUndo {
protected:
    const char* Level() const override { return "1"; }

public:
    // 定率変更 "*2" over the unit prices from row 64 on: the totals and the tax row below
    // are worked out again (at level 2 every row); undo gives back the tax the estimate
    // held, not a new one.
    void ChangeTheRateAndTakeItBack()
    {
        ASSERT_NE(OpenSampleWindow(), nullptr);
        const int nTax = FindRow(kindFree);
        ASSERT_GT(nTax, 63);
        const std::string tax = Utf8Cell(nTax, scAmount);
        CheckUndoAndRedo("定率変更", [&] {
            m_pView->SetCurrentCell(scPrice, 63);
            m_pView->SetSelection(CMorvelView::selectBlock, CRect(scPrice, 63, scPrice, 332));
            CDialogAnswerer answerer;
            answerer.AnswerDialog(IDD_RATE_CALC, [](CDialog& dlg) {
                TypeDlgItemText(dlg, IDC_RATE_FORMULA, "*2");
                ClickDlgButton(dlg, IDOK);
            });
            Command(ID_RATE_CHANGE);
            EXPECT_NE(Utf8Cell(nTax, scAmount), tax);
        });
        EXPECT_EQ(Utf8Cell(nTax, scAmount), tax);
    }
};

class ExactUndoAtLevel2 : public ExactUndoAtLevel1 {
protected:
    const char* Level() const override { return "2"; }
};

} // namespace

TEST_F(ExactUndoAtLevel1, AFixedRateChangeTakenBackLeavesTheFiguresAsTheyStood)
{
    ChangeTheRateAndTakeItBack();
}

TEST_F(ExactUndoAtLevel2, AFixedRateChangeTakenBackLeavesTheFiguresAsTheyStood)
{
    ChangeTheRateAndTakeItBack();
}

// The estimate grid's editing tools through their real dialogs: sorting, the user zoom,
// the fixed-rate calculation, the unnecessary-row search, the remembered row, page
// alignment and parts registration into the sample parts list.
#include "app/CEstimationFormFile.h"
#include "app/CMainFrame.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CPrintRowSource.h"
#include "estimate_tools/CRateCalcDialog.h"
#include "estimate_tools/CUnnecessaryRowDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "estimate_tools/EstimateEditCommands.h"
#include "grid/ModelessMessages.h"
#include "parts/CMorvelPMDoc.h"
#include "resources/EstimateEditIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/DialogCancelWays.h"
#include "tests/support/RealInput.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

namespace {

class EditTools : public EstimateWindowTest {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
        m_nFree = m_pView->GetUsedRows() + 2;
    }

    // Detail rows below the estimate: name, 規格 and 数量 per row.
    void PutDetails(std::initializer_list<std::array<const char*, 3>> rows)
    {
        int r = m_nFree;
        for (const auto& row : rows) {
            m_pView->SetCellText(CString::FromUtf8(row[0]), r, scName, TRUE);
            m_pView->SetCellText(CString::FromUtf8(row[1]), r, scSpec, TRUE);
            m_pView->SetCellText(CString::FromUtf8(row[2]), r, scQty, TRUE);
            m_pView->SetRowKind(kindDetail, r);
            ++r;
        }
    }
    std::vector<std::string> Names(int nFirst, int nCount) const
    {
        std::vector<std::string> names;
        for (int r = nFirst; r < nFirst + nCount; ++r)
            names.push_back(Utf8Cell(r, scName));
        return names;
    }
    void SelectColumnBlock(int nCol, int nFirst, int nLast)
    {
        m_pView->SetSelection(CMorvelView::selectBlock, CRect(nCol, nFirst, nCol, nLast));
        m_pView->SetCurrentCell(nCol, nFirst);
    }
    void Sort(bool bAscending)
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_SORT, [bAscending](CDialog& dlg) {
            ClickDlgButton(dlg, bAscending ? IDC_SORT_ASCENDING : IDC_SORT_DESCENDING);
        });
        Command(ID_SORT);
        EXPECT_EQ(answerer.CountUnanswered(), 0);
    }

    class CStateRecorder : public CCmdUI {
    public:
        void Enable(BOOL bOn) override
        {
            m_nEnabled = bOn ? 1 : 0;
            m_bEnableChanged = TRUE;
        }
        void SetCheck(int nCheck) override { m_nCheck = nCheck; }
        int m_nEnabled = -1;
        int m_nCheck = -1;
    };
    CStateRecorder State(UINT nID)
    {
        CStateRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI;
    }

    int m_nFree = 0;
};

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A stored text's length prefix: one byte below 255, else 0xFF and a word.
std::optional<size_t> SkipText(const std::vector<uint8_t>& b, size_t p)
{
    if (p >= b.size())
        return std::nullopt;
    if (b[p] < 0xFF)
        return p + 1 + b[p];
    if (p + 3 > b.size())
        return std::nullopt;
    const size_t n = b[p + 1] | (b[p + 2] << 8);
    return p + 3 + n;
}

size_t Word(const std::vector<uint8_t>& b, size_t p)
{
    return b[p] | (b[p + 1] << 8);
}

// Where the row count R stands in a parts-list file: the one place from which R x K texts,
// a count n and 2n texts end exactly at the end of the file.
std::optional<size_t> FindRowCount(const std::vector<uint8_t>& b, size_t& nTail)
{
    for (size_t p = 0; p + 6 <= b.size(); ++p) {
        const size_t nRows = Word(b, p), nCols = Word(b, p + 2);
        if (nCols == 0 || nCols > 100)
            continue;
        std::optional<size_t> q = p + 4;
        for (size_t i = 0; i < nRows * nCols && q; ++i)
            q = SkipText(b, *q);
        if (!q || *q + 2 > b.size())
            continue;
        const size_t nTailAt = *q;
        const size_t n = Word(b, nTailAt);
        q = nTailAt + 2;
        for (size_t i = 0; i < 2 * n && q && *q <= b.size(); ++i)
            q = SkipText(b, *q);
        if (q && *q == b.size()) {
            nTail = nTailAt;
            return p;
        }
    }
    return std::nullopt;
}

} // namespace

TEST_F(EditTools, SortingNumbersAndTextsAscendingAndDescending)
{
    PutDetails({{"A", "10", "10"}, {"B", "9", "9"}, {"C", "", ""}});
    // Numbers: the empty text counts as 0.
    SelectColumnBlock(scQty, m_nFree, m_nFree + 2);
    ASSERT_EQ(State(ID_SORT).m_nEnabled, 1);
    Sort(true);
    EXPECT_EQ(Names(m_nFree, 3), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(IsModified());
    Sort(false);
    EXPECT_EQ(Names(m_nFree, 3), (std::vector<std::string>{"A", "B", "C"}));
    // Texts: "10" before "9", in byte order.
    SelectColumnBlock(scSpec, m_nFree, m_nFree + 2);
    Sort(true);
    EXPECT_EQ(Names(m_nFree, 3), (std::vector<std::string>{"C", "A", "B"}));
}

TEST_F(EditTools, TwoKeysSortedOneAfterTheOtherKeepTheFirstOrderWithinEqualKeys)
{
    PutDetails({{"d", "乙", "2"}, {"a", "甲", "1"}, {"c", "乙", "1"}, {"b", "甲", "2"}});
    SelectColumnBlock(scQty, m_nFree, m_nFree + 3);
    Sort(true);
    SelectColumnBlock(scSpec, m_nFree, m_nFree + 3);
    Sort(false);
    // 規格 descending (甲 is 0x8D62, after 乙 0x89B3 in code page 932), 数量 ascending within
    // each, as the first sort left them.
    EXPECT_EQ(Names(m_nFree, 4), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(EditTools, SortIsRefusedForMixedKindsAndCancelledByTheCloseBox)
{
    PutDetails({{"A", "", "3"}, {"B", "", "1"}});
    m_pView->SetRowKind(kindSmall, m_nFree + 1);
    SelectColumnBlock(scQty, m_nFree, m_nFree + 1);
    EXPECT_EQ(State(ID_SORT).m_nEnabled, 0);
    m_pView->SetRowKind(kindDetail, m_nFree + 1);
    ASSERT_EQ(State(ID_SORT).m_nEnabled, 1);
    CDialogAnswerer answerer;
    answerer.EndDialogWith(IDD_SORT, IDCANCEL);
    Command(ID_SORT);
    EXPECT_EQ(Names(m_nFree, 2), (std::vector<std::string>{"A", "B"}));
    // A block reaching past the used rows sorts the rows in use only.
    const int nUsed = m_pView->GetUsedRows();
    SelectColumnBlock(scQty, m_nFree, m_nFree + 30);
    m_pView->SortBlock(true);
    EXPECT_EQ(Names(m_nFree, 2), (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
}

// The sort dialog is left as any dialog is: its ｷｬﾝｾﾙ button, Esc or the close box end it
// without a direction, and nothing is sorted.
TEST_F(EditTools, SortIsCancelledByItsCancelButtonEscOrTheCloseBox)
{
    PutDetails({{"A", "", "3"}, {"B", "", "1"}});
    SelectColumnBlock(scQty, m_nFree, m_nFree + 1);
    const std::vector<std::function<void(CDialog&)>> ways = WaysToCancelADialog();
    for (size_t i = 0; i < ways.size(); ++i) {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_SORT, ways[i]);
        Command(ID_SORT);
        ASSERT_EQ(answerer.GetShown().size(), 1u);
        EXPECT_EQ(answerer.GetShown()[0].nResult, IDCANCEL) << i;
        EXPECT_EQ(answerer.CountUnanswered(), 0) << i << ": the dialog ended by itself";
        EXPECT_EQ(Names(m_nFree, 2), (std::vector<std::string>{"A", "B"})) << i;
    }
}

TEST_F(EditTools, TheUserZoomTakesTheTypedPercentAndRefusesOneOutOfRange)
{
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
            CString text;
            dlg.GetDlgItemText(IDC_ZOOM_PERCENT, text);
            EXPECT_EQ(text, "100");
            TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "120");
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_ZOOM_USER);
    }
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 120);
    EXPECT_EQ(State(ID_ZOOM_USER).m_nCheck, 1);
    EXPECT_EQ(State(ID_ZOOM_100).m_nCheck, 0);
    // The main frame's zoom box shows the user's zoom as its last, selected entry.
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    ASSERT_NE(pFrame, nullptr);
    CComboBox& box = pFrame->GetZoomBox();
    ASSERT_NE(box.m_hWnd, nullptr);
    CString strLast;
    box.GetLBText(box.GetCount() - 1, strLast);
    EXPECT_EQ(strLast, "120%");
    EXPECT_EQ(box.GetCurSel(), box.GetCount() - 1);
    // Choosing the last entry of the box asks for the zoom too.
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "80");
            ClickDlgButton(dlg, IDOK);
        });
        box.SetCurSel(6);
        m_pView->OnZoomBoxChange();
        EXPECT_EQ(answerer.CountUnanswered(), 0);
    }
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 80);
    box.GetLBText(box.GetCount() - 1, strLast);
    EXPECT_EQ(strLast, "80%");
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "500");
            ClickDlgButton(dlg, IDOK); // refused: the dialog stays open and is cancelled
        });
        Command(ID_ZOOM_USER);
        EXPECT_GE(answerer.MessageBoxTexts().size(), 1u);
    }
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 80);
}

TEST_F(EditTools, TheFixedRateCalculationChangesTheRowsThatMeetItsConditionAndIsRemembered)
{
    PutDetails({{"A", "", "5"}, {"B", "", "50"}, {"C", "", "500"}});
    for (int i = 0; i < 3; ++i)
        m_pView->SetCellText("100", m_nFree + i, scPrice, TRUE);
    SelectColumnBlock(scPrice, m_nFree, m_nFree + 2);
    ASSERT_EQ(State(ID_RATE_CHANGE).m_nEnabled, 1);
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_RATE_CALC, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_RATE_FORMULA, "*2");
            ClickDlgButton(dlg, IDC_RATE_CONDITIONS);
            SelectDlgItem(dlg, IDC_RATE_ITEM1, scQty);
            SelectDlgItem(dlg, IDC_RATE_RELATION1, 5); // 大きい
            TypeDlgItemText(dlg, IDC_RATE_VALUE1, "10");
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_RATE_CHANGE);
    }
    EXPECT_DOUBLE_EQ(Value(m_nFree, scPrice), 100);
    EXPECT_DOUBLE_EQ(Value(m_nFree + 1, scPrice), 200);
    EXPECT_DOUBLE_EQ(Value(m_nFree + 2, scPrice), 200);
    EXPECT_DOUBLE_EQ(Value(m_nFree + 2, scAmount), 500 * 200);
    // The second opening shows the calculation; with the conditions off it applies to all,
    // whatever was typed into them.
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_RATE_CALC, [](CDialog& dlg) {
            CString text;
            dlg.GetDlgItemText(IDC_RATE_FORMULA, text);
            EXPECT_EQ(text, "*2");
            TypeDlgItemText(dlg, IDC_RATE_VALUE1, "10");
            EXPECT_FALSE(dlg.GetDlgItem(IDC_RATE_VALUE1)->IsWindowEnabled());
            ClickDlgButton(dlg, IDOK);
        });
        Command(ID_RATE_CHANGE);
    }
    EXPECT_DOUBLE_EQ(Value(m_nFree, scPrice), 200);
    EXPECT_DOUBLE_EQ(Value(m_nFree + 1, scPrice), 400);
    // Cancel keeps the remembered calculation.
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_RATE_CALC, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_RATE_FORMULA, "/3");
            ClickDlgButton(dlg, IDCANCEL);
        });
        Command(ID_RATE_CHANGE);
    }
    EXPECT_EQ(CRateCalcDialog::GetLastFormula(), "*2");
    EXPECT_DOUBLE_EQ(Value(m_nFree, scPrice), 200);
    // A text column cannot be changed by a rate.
    SelectColumnBlock(scSpec, m_nFree, m_nFree + 2);
    EXPECT_EQ(State(ID_RATE_CHANGE).m_nEnabled, 0);
}

TEST_F(EditTools, UnnecessaryRowsAreFoundOneByOneAndDeletedAllTogether)
{
    // 数量 zero (empty) with a unit: unnecessary; without a unit the standard search
    // passes it over; a heading never counts.
    PutDetails({{"zero", "", ""}, {"nounit", "", ""}, {"kept", "", "3"}, {"tiny", "", "0.00000000001"}});
    m_pView->SetCellText(CString::FromUtf8("m"), m_nFree, scUnit, TRUE);
    m_pView->SetCellText(CString::FromUtf8("m"), m_nFree + 2, scUnit, TRUE);
    m_pView->SetCellText(CString::FromUtf8("m"), m_nFree + 3, scUnit, TRUE);
    EXPECT_TRUE(m_pView->IsUnnecessaryRow(UNROW_COND_QUANTITY_ZERO, m_nFree + 3));
    m_pView->SetCellText("0.01", m_nFree + 3, scQty, TRUE);
    EXPECT_FALSE(m_pView->IsUnnecessaryRow(UNROW_COND_QUANTITY_ZERO, m_nFree + 3));
    m_pView->SetCellText("", m_nFree + 3, scQty, TRUE);

    GoTo(scName, m_nFree - 1);
    Command(ID_UNNECESSARY_ROWS);
    Command(ID_UNNECESSARY_ROWS); // a second one may be open beside it
    ASSERT_EQ(m_pView->GetUnnecessaryRowDialogs().size(), 2u);
    auto* pUnrow = dynamic_cast<CUnnecessaryRowDialog*>(m_pView->GetUnnecessaryRowDialogs().back());
    ASSERT_NE(pUnrow, nullptr);
    EXPECT_FALSE(pUnrow->GetDlgItem(IDC_UNROW_DELETE)->IsWindowEnabled());
    ClickDlgButton(*pUnrow, IDC_UNROW_FIND);
    EXPECT_EQ(m_pView->GetCurrentRow(), m_nFree);
    EXPECT_EQ(m_pView->GetCurrentCol(), 0);
    EXPECT_TRUE(pUnrow->GetDlgItem(IDC_UNROW_DELETE)->IsWindowEnabled());
    ClickDlgButton(*pUnrow, IDC_UNROW_DELETE);
    EXPECT_EQ(Utf8Cell(m_nFree, scName), "nounit");

    const CPoint ptBefore(scName, 5);
    GoTo(ptBefore.x, ptBefore.y);
    ClickDlgButton(*pUnrow, IDC_UNROW_DELETE_ALL);
    EXPECT_EQ(Names(m_nFree, 2), (std::vector<std::string>{"nounit", "kept"}));
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), ptBefore);

    // Nothing left to find: the dialog says so and disables 削除.
    CDialogAnswerer answerer;
    GoTo(scName, m_nFree);
    ClickDlgButton(*pUnrow, IDC_UNROW_FIND);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0], "項目が見つかりません。"_sj);
    EXPECT_FALSE(pUnrow->GetDlgItem(IDC_UNROW_DELETE)->IsWindowEnabled());

    // Both dialogs go with the grid.
    const HWND hDlg = pUnrow->m_hWnd;
    // One closed by its Cancel is forgotten by the grid.
    ClickDlgButton(*m_pView->GetUnnecessaryRowDialogs().front(), IDCANCEL);
    EXPECT_EQ(m_pView->GetUnnecessaryRowDialogs().size(), 1u);
    m_pDoc->SetModifiedFlag(FALSE);
    m_pDoc->OnCloseDocument();
    m_pDoc = nullptr;
    m_pView = nullptr;
    Pump();
    EXPECT_FALSE(::IsWindow(hDlg));
}

TEST_F(EditTools, TheSearchAndTheZeroRowPrintCopyTakeTheLastQuantityColumn)
{
    // A form with a second quantity column (備考): the last one counts, in the dialog and
    // in the print copy alike.
    m_pDoc->m_EstimationForm.SetItem(scNote, CEstimationFormFile::colT, "3");
    PutDetails({{"first", "", "0"}, {"last", "", "4"}});
    m_pView->SetCellText("2", m_nFree, scNote, TRUE);
    for (int r = m_nFree; r < m_nFree + 2; ++r)
        m_pView->SetCellText("m", r, scUnit, TRUE);

    GoTo(scName, m_nFree - 1);
    Command(ID_UNNECESSARY_ROWS);
    auto* pUnrow = dynamic_cast<CUnnecessaryRowDialog*>(m_pView->GetUnnecessaryRowDialogs().back());
    ASSERT_NE(pUnrow, nullptr);
    ClickDlgButton(*pUnrow, IDC_UNROW_FIND);
    EXPECT_EQ(m_pView->GetCurrentRow(), m_nFree + 1);
    ClickDlgButton(*pUnrow, IDCANCEL);

    m_pApp->WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    const std::unique_ptr<CPrintRowSource> pPrinted = m_pView->CopyRowsForPrint();
    EXPECT_EQ(pPrinted->GetCellText(m_nFree, scName).ToUtf8(), "first");
    EXPECT_EQ(pPrinted->GetCellText(m_nFree + 1, scName).ToUtf8(), "");
    EXPECT_EQ(Names(m_nFree, 2), (std::vector<std::string>{"first", "last"}));
}

TEST_F(EditTools, RememberJumpAndReleaseTheMarkedRow)
{
    GoTo(scQty, 4);
    Command(ID_ROW_REMEMBER);
    EXPECT_EQ(m_pView->GetMarkRow(), 4);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), CMorvelEMView::undoMarkRow);
    GoTo(scPrice, 40);
    ASSERT_EQ(State(ID_ROW_JUMP).m_nEnabled, 1);
    Command(ID_ROW_JUMP);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scPrice, 4));
    // Undo forgets the mark; redo sets it again.
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_pView->GetMarkRow(), -1);
    EXPECT_EQ(State(ID_ROW_JUMP).m_nEnabled, 0);
    Command(ID_EDIT_REDO);
    EXPECT_EQ(m_pView->GetMarkRow(), 4);
    Command(ID_ROW_RELEASE);
    EXPECT_EQ(m_pView->GetMarkRow(), -1);
    EXPECT_EQ(State(ID_ROW_RELEASE).m_nEnabled, 0);
}

TEST_F(EditTools, PageAlignmentIsToggledAndKeptInTheSettings)
{
    EXPECT_EQ(State(ID_PAGE_ALIGN).m_nCheck, 0);
    Command(ID_PAGE_ALIGN);
    EXPECT_EQ(State(ID_PAGE_ALIGN_BAR).m_nCheck, 1);
    EXPECT_TRUE(m_pView->IsPageAlignmentOn());
    EXPECT_EQ(m_pFolder->Profile().GetProfileInt("Settings", "AdjustPage", -1), 1);
    Command(ID_PAGE_ALIGN_BAR);
    EXPECT_FALSE(m_pView->IsPageAlignmentOn());
}

TEST_F(EditTools, AdjustPagesStartsAHeadingOnTheNextPageOrPullsItUp)
{
    m_pView->SetPageAlignment(true);
    const int P = m_pView->GetPageRows();
    // A heading one row into a page behind an empty row, with a filled row before it on
    // that page: it moves to the next page. With only empty rows before it, it moves up.
    const int nPage = (m_pView->GetUsedRows() / P + 2) * P;
    m_pView->SetCellText("x", nPage, scName, TRUE);
    m_pView->SetRowKind(kindDetail, nPage);
    m_pView->SetCellText(CString::FromUtf8("見出し"), nPage + 2, scName, TRUE);
    m_pView->SetRowKind(kindLarge, nPage + 2);
    EXPECT_EQ(m_pView->AdjustPages(nPage + 2), nPage + P);
    EXPECT_EQ(m_pView->GetRowKind(nPage + P), kindLarge);
    m_pView->SetRowKind(kindEmpty, nPage);
    m_pView->SetCellText("", nPage, scName, TRUE);
    EXPECT_EQ(m_pView->AdjustPages(nPage + P), nPage + P);
    m_pView->SetPageAlignment(false);
    EXPECT_EQ(m_pView->AdjustPages(nPage), -1);
}

TEST_F(EditTools, PartsRegistrationAppendsTheSelectedRowsAndKeepsEverythingElse)
{
    const std::string native = m_pFolder->Native("WORK") + "/部材処理.MBD";
    const CString path = m_pFolder->System("WORK") + "\\" + "部材処理.MBD"_sj;
    const std::vector<uint8_t> before = ReadBytes(native);
    size_t nTail = 0;
    const std::optional<size_t> posR = FindRowCount(before, nTail);
    ASSERT_TRUE(posR.has_value());
    const size_t nRows = Word(before, *posR), nCols = Word(before, *posR + 2);

    // Which estimate column goes into which parts cell.
    const CEstimationFormFile& form = m_pView->GetEstimationForm();
    std::vector<std::pair<int, int>> map;
    for (int c = 0; c < form.GetCount(); ++c) {
        const CString& b = form.GetItem(c, CEstimationFormFile::colB);
        if (!b.IsEmpty() && b[0] >= 'A' && b[0] <= 'I')
            map.emplace_back(c, b[0] - 'A');
    }
    ASSERT_FALSE(map.empty()) << "the sample form names parts cells";

    // Rows 3 to 5 selected in the row headers.
    const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, 3).y));
    m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, 5).y));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, CellPoint(0, 5).y));
    ASSERT_EQ(State(ID_PARTS_REGISTER).m_nEnabled, 1);
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(path);
        answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDYES);
        Command(ID_PARTS_REGISTER);
        EXPECT_EQ(answerer.CountUnanswered(), 0);
    }

    // Expected bytes, built from the old file: the row count grows by 3, the rows follow the
    // old ones, everything else stays.
    std::vector<uint8_t> expected(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(*posR));
    const size_t nNewRows = nRows + 3;
    expected.push_back(static_cast<uint8_t>(nNewRows & 0xFF));
    expected.push_back(static_cast<uint8_t>(nNewRows >> 8));
    expected.insert(expected.end(), before.begin() + static_cast<std::ptrdiff_t>(*posR + 2),
                    before.begin() + static_cast<std::ptrdiff_t>(nTail));
    for (int r = 3; r <= 5; ++r) {
        for (size_t k = 0; k < nCols; ++k) {
            std::string cell;
            for (const auto& [c, p] : map)
                if (static_cast<size_t>(p) == k)
                    cell = m_pView->GetCellText(r, c).str();
            ASSERT_LT(cell.size(), 255u);
            expected.push_back(static_cast<uint8_t>(cell.size()));
            expected.insert(expected.end(), cell.begin(), cell.end());
        }
    }
    expected.insert(expected.end(), before.begin() + static_cast<std::ptrdiff_t>(nTail), before.end());
    EXPECT_EQ(ReadBytes(native), expected);

    // No at the question writes nothing.
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(path);
        answerer.AnswerMessageBox("実行してもよいですか？"_sj, IDNO);
        Command(ID_PARTS_REGISTER);
    }
    EXPECT_EQ(ReadBytes(native), expected);
}

TEST_F(EditTools, PartsRegistrationWorksTheNewRowsOutByThePartsListsOwnFormulas)
{
    // The parts list's amount is its quantity times its price, doubled: the amounts the
    // estimate sends are not the list's figures.
    const CString path = m_pFolder->System("WORK") + "\\" + "部材処理.MBD"_sj;
    int nOldRows = 0;
    {
        CMorvelPMDoc list;
        list.m_bAutoDelete = FALSE;
        ASSERT_TRUE(list.OnOpenDocument(path));
        nOldRows = list.GetRowsInUse();
        list.m_form.GetItem(5, 4) = "C*E*2";
        ASSERT_TRUE(list.CDocument::OnSaveDocument(path));
    }
    const int nFirst = 3, nLast = 12;
    ASSERT_TRUE(AppendRowsToPartsFile(*m_pView, nFirst, nLast, path));
    CMorvelPMDoc list;
    list.m_bAutoDelete = FALSE;
    ASSERT_TRUE(list.OnOpenDocument(path));
    ASSERT_EQ(nOldRows + nLast - nFirst + 1, list.GetRowsInUse());
    int nWorkedOut = 0;
    for (int r = nOldRows; r < list.GetRowsInUse(); ++r) {
        const CGridRow* pRow = list.GetRow(r);
        ASSERT_NE(nullptr, pRow);
        const double qty = std::atof(pRow->m_strCell[2].str().c_str());
        const double price = std::atof(pRow->m_strCell[4].str().c_str());
        if (qty == 0.0 || price == 0.0)
            continue;
        // Whole yen, cut down.
        EXPECT_DOUBLE_EQ(std::floor(qty * price * 2 + 1e-6), std::atof(pRow->m_strCell[5].str().c_str()))
            << r;
        ++nWorkedOut;
    }
    EXPECT_GT(nWorkedOut, 0) << "rows with a quantity and a price were registered";
}

TEST_F(EditTools, PartsRegistrationRefusesAFileThatIsNotAPartsList)
{
    const std::string native = m_pFolder->Native("WORK") + "/not_parts.MBD";
    {
        std::ofstream out(native, std::ios::binary);
        out << "\x0bNot a parts" << std::string(40, '\0');
    }
    const std::vector<uint8_t> before = ReadBytes(native);
    CDialogAnswerer answerer;
    EXPECT_FALSE(AppendRowsToPartsFile(*m_pView, 3, 5, m_pFolder->System("WORK") + "\\not_parts.MBD"));
    EXPECT_EQ(ReadBytes(native), before);
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(answerer.MessageBoxTexts()[0], "部材ﾌｧｲﾙではありません。"_sj);
}

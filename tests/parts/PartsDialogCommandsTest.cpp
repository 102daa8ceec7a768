// The parts grid's commands that ask through the program's dialogs (the estimate tools'
// sort, fixed-rate, CSV column and file dialogs), answered as a user would answer them.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "app/CMorvelApp.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/parts/PartsTestSupport.h"

#include <algorithm>

namespace {

enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

class PartsDialogCommandsTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
    }
};

} // namespace

TEST_F(PartsDialogCommandsTest, SortThroughTheSortDialogOrdersTheSelectedColumnsRows)
{
    Click(colPrice, 0);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 0, colPrice, 4));
    EXPECT_EQ(1, Enabled(ID_SORT));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_SORT, [](CDialog& dlg) { ClickDlgButton(dlg, IDC_SORT_DESCENDING); });
    Command(ID_SORT);
    // Prices 98, 14,800, 1,650, 420, 38 descending: 14,800 first, 38 last; whole rows move.
    EXPECT_EQ("14800.000000", Cell(0, colPrice));
    EXPECT_EQ("38.000000", Cell(4, colPrice));
    EXPECT_EQ("生コンクリート", Cell(0, colName));
    // Two columns: disabled.
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colQty, 0, colPrice, 4));
    EXPECT_EQ(0, Enabled(ID_SORT));
}

TEST_F(PartsDialogCommandsTest, CsvOutputCancelledAtTheColumnChoiceLeavesTheFileAsItWas)
{
    const std::string native = m_dir.NativeFile("WORK/out.csv");
    WriteNativeFile(native, {'o', 'l', 'd'});
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.EndDialogWith(IDD_COLUMN_SELECT, IDCANCEL);
        Command(ID_TEXT_OUTPUT);
        EXPECT_EQ(std::vector<UINT>({IDD_COLUMN_SELECT}), answerer.DialogIds());
    }
    EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), ReadNativeFile(native));
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_TEXT_OUTPUT);
    }
    const auto bytes = ReadNativeFile(native);
    const std::string text(bytes.begin(), bytes.end());
    const std::string first = Sj("異形棒鋼") + ",SD295A D13,1250.500000,kg,98.000000,122549.000000,\r\n";
    EXPECT_EQ(first, text.substr(0, first.size()));
    EXPECT_EQ(5u, static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
}

TEST_F(PartsDialogCommandsTest, TheFixedRateCommandRunsTheFixedRateDialog)
{
    Click(colPrice, 0);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 0, colPrice, 1));
    ASSERT_EQ(1, Enabled(ID_RATE_CHANGE));
    CDialogAnswerer answerer;
    bool bShown = false;
    answerer.AnswerDialog(IDD_RATE_CALC, [&](CDialog& dlg) {
        bShown = true;
        TypeDlgItemText(dlg, IDC_RATE_FORMULA, "*2");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_RATE_CHANGE);
    EXPECT_TRUE(bShown);
    EXPECT_EQ("196.000000", Cell(0, colPrice));
    EXPECT_EQ("29600.000000", Cell(1, colPrice));
    EXPECT_EQ("1650.000000", Cell(2, colPrice));
}

TEST_F(PartsDialogCommandsTest, TheUserZoomComesFromTheZoomDialogAndShowsInTheZoomBox)
{
    ASSERT_EQ(1, Enabled(ID_ZOOM_USER));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "120");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_ZOOM_USER);
    EXPECT_EQ(120, m_pDoc->m_nZoom);
    EXPECT_EQ(120, m_pView->GetMetrics().nZoom);
    // 20 x 10 pixels at 100 % for the name column.
    EXPECT_EQ(240, m_pView->GetColumnWidth(0));
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    CComboBox& box = pFrame->m_wndZoomBox;
    ASSERT_GT(box.GetCount(), 0);
    CString strLast;
    box.GetLBText(box.GetCount() - 1, strLast);
    EXPECT_EQ("120%", strLast.ToUtf8());
    EXPECT_EQ(box.GetCount() - 1, box.GetCurSel());
}

TEST_F(PartsDialogCommandsTest, TheUnitListPicksAUnitForTheCellAndClosesWithIt)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    ASSERT_NE(nullptr, pApp);
    ASSERT_GT(pApp->m_unitFile.GetCount(), 1);
    Click(colUnit, 0);
    EXPECT_EQ(1, Enabled(ID_UNIT));
    Command(ID_UNIT);
    auto* pPick = dynamic_cast<CUnitPickDialog*>(m_pView->GetUnitPick());
    ASSERT_NE(nullptr, pPick);
    EXPECT_TRUE(pPick->IsWindowVisible());
    EXPECT_EQ(0, Enabled(ID_UNIT)) << "one list at a time";
    // A unit other than the cell's own goes into the cell; the list closes and the cursor
    // moves on as after an input.
    const std::string before = Cell(0, colUnit);
    int nItem = 0;
    if (pPick->List().GetItemText(0, 0).ToUtf8() == before)
        nItem = 1;
    pPick->List().SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    const std::string chosen = pPick->List().GetItemText(nItem, 0).ToUtf8();
    ClickDlgButton(*pPick, IDOK);
    EXPECT_EQ(nullptr, m_pView->GetUnitPick());
    EXPECT_EQ(chosen, Cell(0, colUnit));
    EXPECT_NE(before, chosen);
    EXPECT_TRUE(m_pView->GetDocument()->IsModified());
}

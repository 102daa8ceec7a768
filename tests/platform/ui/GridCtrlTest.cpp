// The grid control in a dialog, driven through CGridCtrl as the setup pages drive it:
// twips geometry and its pixel positions, the current cell and its synchronous events,
// clicks, column resizing by the user, scrolling and the keyboard.
#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CDialog.h"

#include "DialogTestSupport.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT IDD_GRID = 9201;
constexpr int IDC_GRID = 1042;

void RegisterGridTemplate()
{
    RegisterDialogTemplate(DialogTemplate(
        IDD_GRID, "表"_sj, 240, 160, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
        {
            {DlgCustom, IDC_GRID, CString(), 5, 5, 200, 120, WS_TABSTOP, 0, 0, CString(AFX_GRID_CLASS)},
        }));
}

// A dialog that notes every event of its grid with the cell the grid reported as current
// at that moment.
class CGridDialog : public CDialog {
public:
    CGridDialog() : CDialog(IDD_GRID) {}
    CGridCtrl m_grid;
    std::vector<std::string> events;

    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_GRID, m_grid); }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr && hdr->idFrom == static_cast<UINT_PTR>(IDC_GRID)) {
            const char* name = hdr->code == GRIDN_ROWCOLCHANGE ? "change"
                               : hdr->code == GRIDN_CLICK      ? "click"
                                                               : "?";
            events.push_back(std::string(name) + " " + std::to_string(m_grid.GetRow()) + "," +
                             std::to_string(m_grid.GetCol()));
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
};

class GridCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterGridTemplate();
        ASSERT_TRUE(dlg.Create(IDD_GRID));
        grid().SetRows(1000);
        grid().SetCols(3);
        grid().SetColWidth(0, 340);
        grid().SetColWidth(1, 1530);
        grid().SetColWidth(2, 640);
        grid().SetRowHeight(-1, 270);
        dlg.events.clear();
    }
    void TearDown() override { dlg.DestroyWindow(); }
    CGridCtrl& grid() { return dlg.m_grid; }
    // Client point of the middle of a cell, from the positions the grid reports.
    CPoint CellCentre(int r, int c)
    {
        const int x = 1 + static_cast<int>(grid().GetColPos(static_cast<short>(c)) / 15) +
                      static_cast<int>(grid().GetColWidth(static_cast<short>(c)) / 30);
        const int y = 1 + static_cast<int>(grid().GetRowPos(static_cast<short>(r)) / 15) +
                      static_cast<int>(grid().GetRowHeight(static_cast<short>(r)) / 30);
        return CPoint(x, y);
    }
    void Click(CPoint pt)
    {
        grid().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        grid().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    CGridDialog dlg;
};

} // namespace

TEST_F(GridCtrlTest, PositionsAreTwipsOfWholePixelsWithOneGridLinePerCell)
{
    // 340 twips are 22 pixels, 1530 are 102; each cell is followed by one pixel of line.
    EXPECT_EQ(grid().GetColPos(0), 0);
    EXPECT_EQ(grid().GetColPos(1), (22 + 1) * 15);
    EXPECT_EQ(grid().GetColPos(2), (22 + 1 + 102 + 1) * 15);
    EXPECT_EQ(grid().GetRowPos(1), (18 + 1) * 15);
    EXPECT_EQ(grid().GetRowPos(5), 5 * (18 + 1) * 15);
    EXPECT_EQ(grid().GetColWidth(1), 1530);
    EXPECT_EQ(grid().GetRowHeight(999), 270);

    // Scrolling moves the scrollable rows under the header row, which stays at the top.
    grid().SetTopRow(10);
    EXPECT_EQ(grid().GetTopRow(), 10);
    EXPECT_EQ(grid().GetRowPos(0), 0);
    EXPECT_EQ(grid().GetRowPos(10), (18 + 1) * 15);
    EXPECT_EQ(grid().GetRowPos(12), 3 * (18 + 1) * 15);
    EXPECT_TRUE(dlg.events.empty()); // scrolling is no change of the current cell
    EXPECT_EQ(grid().GetRow(), 1);

    // The top row cannot go below 1 nor so far that the view is not filled.
    grid().SetTopRow(0);
    EXPECT_EQ(grid().GetTopRow(), 1);
    grid().SetTopRow(999);
    const int top = grid().GetTopRow();
    EXPECT_LT(top, 999);
    CRect rc;
    grid().GetClientRect(&rc);
    EXPECT_LE(grid().GetRowPos(999) / 15 + 18, rc.Height() - 2);
    EXPECT_GT(grid().GetRowPos(999) / 15 + 18 + 19, rc.Height() - 2);
}

TEST_F(GridCtrlTest, SettingTheCurrentCellFromCodeReportsAtOnceOnlyWhenItChanges)
{
    grid().SetRow(5);
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"change 5,1"}));
    grid().SetRow(5);
    grid().SetCol(1);
    EXPECT_EQ(dlg.events.size(), 1u);
    grid().SetCol(2);
    EXPECT_EQ(dlg.events.back(), "change 5,2");
    // Outside the table nothing happens.
    grid().SetRow(1000);
    grid().SetCol(-1);
    EXPECT_EQ(grid().GetRow(), 5);
    EXPECT_EQ(grid().GetCol(), 2);
    EXPECT_EQ(dlg.events.size(), 2u);

    // Text is the current cell's; the first and the last data rows hold their own.
    grid().SetText("末尾"_sj);
    grid().SetRow(1);
    grid().SetText("先頭"_sj);
    grid().SetRow(999);
    grid().SetText("最終"_sj);
    EXPECT_EQ(grid().GetTextMatrix(5, 2), "末尾"_sj);
    EXPECT_EQ(grid().GetTextMatrix(1, 2), "先頭"_sj);
    EXPECT_EQ(grid().GetTextMatrix(999, 2), "最終"_sj);
    grid().SetRow(1);
    EXPECT_EQ(grid().GetText(), "先頭"_sj);
}

TEST_F(GridCtrlTest, AClickMovesTheCurrentCellAndThenReportsTheClick)
{
    Click(CellCentre(3, 2));
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"change 3,2", "click 3,2"}));
    dlg.events.clear();
    // The same cell again: no change, still a click.
    Click(CellCentre(3, 2));
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"click 3,2"}));
    dlg.events.clear();
    // A header cell is never current.
    Click(CellCentre(0, 1));
    Click(CellCentre(4, 0));
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"click 3,2", "click 3,2"}));
    EXPECT_EQ(CWnd::GetFocus(), &grid());
}

TEST_F(GridCtrlTest, DraggingAHeaderLineResizesTheColumnLeftOfIt)
{
    const int line = 1 + static_cast<int>(grid().GetColPos(1) / 15) + 102; // right line of column 1
    const int y = 5;
    grid().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(line, y));
    grid().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(line + 20, y));
    grid().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(line + 20, y));
    EXPECT_EQ(grid().GetColWidth(1), 1530 + 20 * 15);
    EXPECT_EQ(grid().GetColPos(2), (22 + 1 + 122 + 1) * 15);
    EXPECT_TRUE(dlg.events.empty());
    // Moving the mouse afterwards changes nothing.
    grid().SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(line + 60, y));
    EXPECT_EQ(grid().GetColWidth(1), 1530 + 20 * 15);
}

TEST_F(GridCtrlTest, ResizingTheTableKeepsTextsAndTheCurrentCellInside)
{
    grid().SetRow(999);
    grid().SetCol(2);
    grid().SetText("x");
    grid().SetTextMatrix(2, 1, "y");
    grid().SetRows(100);
    EXPECT_EQ(grid().GetRows(), 100);
    EXPECT_EQ(grid().GetRow(), 99);
    EXPECT_EQ(grid().GetTextMatrix(2, 1), "y");
    grid().SetCols(11);
    EXPECT_EQ(grid().GetCols(), 11);
    EXPECT_EQ(grid().GetTextMatrix(2, 1), "y");
    EXPECT_EQ(grid().GetColWidth(2), 640);
    // The header row and column always stay.
    grid().SetRows(1);
    grid().SetCols(0);
    EXPECT_EQ(grid().GetRows(), 100);
    EXPECT_EQ(grid().GetCols(), 11);
}

TEST_F(GridCtrlTest, OwnScrollBarsScrollTheViewAndKeysMoveTheCellIntoView)
{
    EXPECT_EQ(grid().GetGridScrollBars(), 0);
    grid().SetGridScrollBars(2);
    grid().SendMessage(WM_VSCROLL, SB_LINEDOWN);
    grid().SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid().GetTopRow(), 3);
    EXPECT_EQ(grid().GetRow(), 1);
    grid().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 500));
    EXPECT_EQ(grid().GetTopRow(), 500);

    grid().SetFocus();
    grid().SetTopRow(1);
    dlg.events.clear();
    grid().SendMessage(WM_KEYDOWN, VK_RIGHT);
    grid().SendMessage(WM_KEYDOWN, VK_NEXT);
    EXPECT_EQ(grid().GetCol(), 2);
    EXPECT_GT(grid().GetRow(), 2);
    EXPECT_EQ(dlg.events.size(), 2u);
    for (int i = 0; i < 40; ++i)
        grid().SendMessage(WM_KEYDOWN, VK_DOWN);
    // The current row is in view: below the header row and above the bottom.
    CRect rc;
    grid().GetClientRect(&rc);
    const long pos = grid().GetRowPos(grid().GetRow()) / 15;
    EXPECT_GT(pos, 0);
    EXPECT_LE(pos + 18, rc.Height());
    grid().SendMessage(WM_KEYDOWN, VK_LEFT);
    grid().SendMessage(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(grid().GetCol(), 1);
    EXPECT_EQ(grid().SendMessage(WM_GETDLGCODE) & DLGC_WANTARROWS, static_cast<LRESULT>(DLGC_WANTARROWS));
}

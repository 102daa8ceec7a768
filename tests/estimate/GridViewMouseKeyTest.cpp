// The grid as a user moves around it: clicks make cells current and select rows, columns
// or the whole grid; a column's right edge in the header resizes it; the arrow keys move
// and wrap, skipping hidden columns and walking input-fixed columns; Page Up/Down keep
// the cursor's place on the screen; Shift extends the selection; Ctrl+arrows and the jump
// bar jump; the scroll bars scroll.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CAutoScrollWnd.h"
#include "grid/CTabWnd.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

class GridViewMouseKey : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
    }

    CMorvelEMView& View() { return *m_pView; }
    int Columns() { return View().GetColumnCount(); }
    CPoint Current() { return CPoint(View().GetCurrentCol(), View().GetCurrentRow()); }

    void Mouse(UINT nMsg, UINT nFlags, int x, int y)
    {
        View().SendMessage(nMsg, nFlags, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
    void Press(int x, int y)
    {
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Mouse(WM_LBUTTONUP, 0, x, y);
    }
    CRect CellRect(int nCol, int nRow)
    {
        CRect rc;
        View().GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return rc;
    }
    // Hides a column as display fixing does (its width 0) and lays the grid out again.
    void HideColumn(int nCol)
    {
        View().SetBaseColumnWidth(nCol, 0);
        View().RecalcLayout();
    }
    // A real key press on the grid window (its modifiers reach the key state as well).
    void QtKey(QEvent::Type type, int key, Qt::KeyboardModifiers mods)
    {
        QKeyEvent event(type, key, mods);
        QApplication::sendEvent(View().GetClientWidget(), &event);
    }
    void ShiftKey(int key)
    {
        QtKey(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QtKey(QEvent::KeyPress, key, Qt::ShiftModifier);
        QtKey(QEvent::KeyRelease, key, Qt::ShiftModifier);
    }
    void ReleaseShift() { QtKey(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier); }
};

} // namespace

// ---- mouse ------------------------------------------------------------------------------

TEST_F(GridViewMouseKey, AClickMakesTheClickedCellCurrentAndLeavesNoBlockBehind)
{
    Click(scPrice, 5);
    EXPECT_EQ(Current(), CPoint(scPrice, 5));
    EXPECT_EQ(View().GetPreviousCell(), CPoint(0, 0));
    EXPECT_EQ(View().GetSelectMode(), 0);
    EXPECT_EQ(View().GetPointerState().nPressOrigin, 0) << "the press is over";
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(GridViewMouseKey, AClickOnAColumnsRightEdgeTakesTheNextColumnAndOneBeyondTheGridIsIgnored)
{
    const CRect rc = CellRect(scSpec, 4);
    Press(rc.right, rc.top + 3);
    EXPECT_EQ(Current(), CPoint(scQty, 4));
    Press(rc.right - 1, rc.top + 3);
    EXPECT_EQ(Current(), CPoint(scSpec, 4));

    const CRect rcLast = CellRect(Columns() - 1, 4);
    Press(rcLast.right + 5, rcLast.top + 3);
    EXPECT_EQ(Current(), CPoint(scSpec, 4)) << "nothing lies right of the last column";
}

TEST_F(GridViewMouseKey, HeaderPressesSelectARowAColumnOrTheWholeGrid)
{
    const CRect rc = CellRect(scQty, 6);
    Press(5, rc.top + 3); // row header
    EXPECT_EQ(View().GetSelectMode(), 1);
    EXPECT_EQ(View().GetSelection(), CRect(0, 6, Columns() - 1, 6));
    EXPECT_EQ(Current().y, 6);

    Press(rc.left + 3, 5); // column header
    EXPECT_EQ(View().GetSelectMode(), 10);
    EXPECT_EQ(View().GetSelection(), CRect(scQty, 0, scQty, View().GetRowLimit() - 1));

    Press(5, 5); // corner
    EXPECT_EQ(View().GetSelectMode(), 1);
    EXPECT_EQ(View().GetSelection(), CRect(0, 0, Columns() - 1, View().GetRowLimit() - 1));

    Click(scQty, 6); // a press in the cells ends the selection
    EXPECT_EQ(View().GetSelectMode(), 0);
}

TEST_F(GridViewMouseKey, DraggingAColumnsRightEdgeInTheHeaderResizesIt)
{
    const int nLeft = View().GetColumnLeft(scSpec);
    const int nEdge = nLeft + View().GetColumnWidth(scSpec);
    Mouse(WM_MOUSEMOVE, 0, nEdge - 2, 5);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeArmed);
    EXPECT_EQ(View().GetPointerState().nResizeCol, scSpec);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, nEdge - 2, 5);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeTracking);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, nLeft + 60, 5);
    Mouse(WM_LBUTTONUP, 0, nLeft + 60, 5);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeNone);
    EXPECT_EQ(View().GetColumnWidth(scSpec), 61);
    EXPECT_EQ(View().GetBaseColumnWidth(scSpec), 61);
    EXPECT_EQ(View().GetRememberedColumnWidth(scSpec), 61);
    EXPECT_EQ(View().GetColumnLeft(scQty), nLeft + 61) << "the columns right of it moved";
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Never narrower than 10 pixels.
    const int nEdge2 = nLeft + 61;
    Mouse(WM_MOUSEMOVE, 0, nEdge2 + 1, 5);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, nEdge2 + 1, 5);
    Mouse(WM_LBUTTONUP, 0, nLeft + 2, 5);
    EXPECT_EQ(View().GetColumnWidth(scSpec), 10);
}

TEST_F(GridViewMouseKey, AColumnResizedAtHalfZoomStoresItsFullSizeWidth)
{
    View().SetZoom(50);
    View().RecalcLayout();
    const int nLeft = View().GetColumnLeft(scName);
    const int nEdge = nLeft + View().GetColumnWidth(scName);
    Mouse(WM_MOUSEMOVE, 0, nEdge, 5);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, nEdge, 5);
    Mouse(WM_LBUTTONUP, 0, nLeft + 99, 5);
    EXPECT_EQ(View().GetColumnWidth(scName), 100);
    EXPECT_EQ(View().GetBaseColumnWidth(scName), 200);
}

TEST_F(GridViewMouseKey, AMoveAwayFromTheEdgeDisarmsTheResize)
{
    const int nEdge = View().GetColumnLeft(scSpec) + View().GetColumnWidth(scSpec);
    Mouse(WM_MOUSEMOVE, 0, nEdge + 4, 5);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeArmed);
    Mouse(WM_MOUSEMOVE, 0, nEdge + 5, 5);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeNone)
        << "5 pixels off is outside the zone";
    Mouse(WM_MOUSEMOVE, 0, nEdge, View().GetMetrics().nHeaderHeight + 10);
    EXPECT_EQ(View().GetPointerState().nResizeState, CMorvelView::resizeNone) << "below the header band";
}

// ---- keyboard ---------------------------------------------------------------------------

TEST_F(GridViewMouseKey, ArrowsMoveAndWrapAtTheEndsOfARow)
{
    GoTo(0, 5);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(1, 5));
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(0, 5));
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(Columns() - 1, 4)) << "Left at the start goes to the end of the row above";
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(0, 5)) << "Right at the end goes to the start of the row below";
    EXPECT_EQ(View().GetFirstVisibleCell().x, 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_UP);
    EXPECT_EQ(Current(), CPoint(0, 6));
}

TEST_F(GridViewMouseKey, HiddenColumnsAreNeverCurrentThroughTheKeyboard)
{
    HideColumn(scSpec);
    HideColumn(Columns() - 1);
    GoTo(scName, 5);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scQty, 5));
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(scName, 5));
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(Columns() - 2, 4)) << "the last column that shows";
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scName, 5));

    // With only hidden columns left of it, Left wraps as from the first column.
    HideColumn(scName);
    GoTo(scQty, 5);
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(Columns() - 2, 4));
}

TEST_F(GridViewMouseKey, DownAtTheBottomScrollsOneRowAndUpAtTheTopScrollsBack)
{
    const int nVisible = View().GetVisibleRowCount();
    ASSERT_GT(nVisible, 5);
    GoTo(0, nVisible - 1);
    ASSERT_EQ(View().GetFirstVisibleCell().y, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Current().y, nVisible);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1);
    EXPECT_EQ(View().GetScrollBarCtrl(SB_VERT)->GetScrollPos(), 1);
    GoTo(0, 1);
    Key(VK_UP);
    EXPECT_EQ(Current().y, 0);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 0);
}

TEST_F(GridViewMouseKey, PageDownAndUpScrollAScreenfulAndKeepTheCursorsPlaceOnTheScreen)
{
    GoTo(scQty, 3);
    const CRect rcBefore = CellRect(scQty, 3);
    const int n = View().GetVisibleRowCount();
    Key(VK_NEXT);
    EXPECT_EQ(View().GetFirstVisibleCell().y, n);
    EXPECT_EQ(Current(), CPoint(scQty, 3 + n));
    EXPECT_EQ(CellRect(scQty, 3 + n), rcBefore);
    Key(VK_PRIOR);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 0);
    EXPECT_EQ(Current(), CPoint(scQty, 3));
    Key(VK_PRIOR);
    EXPECT_EQ(Current(), CPoint(scQty, 3)) << "already at the top";
}

TEST_F(GridViewMouseKey, ShiftArrowsMakeABlockThatAKeyWithoutShiftEnds)
{
    GoTo(scQty, 4);
    ShiftKey(Qt::Key_Right);
    ShiftKey(Qt::Key_Down);
    ReleaseShift();
    EXPECT_EQ(View().GetSelectMode(), 20);
    EXPECT_EQ(View().GetSelection(), CRect(scQty, 4, scUnit, 5));
    EXPECT_EQ(Current(), CPoint(scUnit, 5));
    EXPECT_EQ(View().GetPointerState().bShiftExtending, 0) << "releasing Shift ends the extension";

    Key(VK_DOWN);
    EXPECT_EQ(View().GetSelectMode(), 0);
}

TEST_F(GridViewMouseKey, ShiftDownAfterARowHeaderPressExtendsWholeRows)
{
    const CRect rc = CellRect(0, 5);
    Press(5, rc.top + 3);
    ASSERT_EQ(View().GetSelectMode(), 1);
    ShiftKey(Qt::Key_Down);
    ShiftKey(Qt::Key_Down);
    ReleaseShift();
    EXPECT_EQ(View().GetSelectMode(), 1);
    EXPECT_EQ(View().GetSelection(), CRect(0, 5, Columns() - 1, 7));
}

TEST_F(GridViewMouseKey, CtrlArrowsJumpToTheEndsOfTheGrid)
{
    GoTo(scQty, 5);
    Command(ID_JUMP_CTRL_RIGHT);
    EXPECT_EQ(Current(), CPoint(Columns() - 1, 5));
    Command(ID_JUMP_CTRL_LEFT);
    EXPECT_EQ(Current(), CPoint(0, 5));
    Command(ID_JUMP_CTRL_DOWN);
    EXPECT_EQ(Current(), CPoint(0, View().GetUsedRows() - 1));
    EXPECT_GT(View().GetFirstVisibleCell().y, 0);
    const CRect rc = CellRect(0, View().GetUsedRows() - 1);
    CRect rcGrid;
    View().GetGridClientRect(&rcGrid);
    EXPECT_LE(rc.bottom, rcGrid.bottom) << "the last used row is on the screen";
    Command(ID_JUMP_CTRL_UP);
    EXPECT_EQ(Current(), CPoint(0, 0));
    EXPECT_EQ(View().GetFirstVisibleCell().y, 0);
    EXPECT_EQ(View().GetSelectMode(), 0) << "the jump's click lands in the cells, not the header";
}

// As in any grid: Ctrl+End goes to the last used row's last column, Ctrl+Home back to the
// first cell, each brought into view (at 200 % the grid shows neither end at once).
TEST_F(GridViewMouseKey, CtrlHomeAndCtrlEndGoToTheFirstAndTheLastUsedCellInView)
{
    Command(ID_ZOOM_200);
    GoTo(scQty, 5);
    CRect rcGrid;
    View().GetGridClientRect(&rcGrid);
    const auto inView = [&](CPoint cell) {
        const CRect rc = CellRect(cell.x, cell.y);
        return rc.left >= View().GetMetrics().nRowHeaderWidth && rc.right <= rcGrid.right &&
               rc.top >= View().GetMetrics().nHeaderHeight && rc.bottom <= rcGrid.bottom;
    };
    const CPoint last(Columns() - 1, View().GetUsedRows() - 1);
    ASSERT_FALSE(inView(last));

    RealInput::PressKeys(View().GetClientWidget(), Qt::ControlModifier, Qt::Key_End);
    EXPECT_EQ(Current(), last);
    EXPECT_TRUE(inView(last));
    EXPECT_EQ(View().GetSelectMode(), 0);

    RealInput::PressKeys(View().GetClientWidget(), Qt::ControlModifier, Qt::Key_Home);
    EXPECT_EQ(Current(), CPoint(0, 0));
    EXPECT_EQ(View().GetFirstVisibleCell(), CPoint(0, 0));
    // Home and End alone do not jump.
    GoTo(scQty, 5);
    RealInput::PressKeys(View().GetClientWidget(), Qt::NoModifier, Qt::Key_End);
    EXPECT_EQ(Current(), CPoint(scQty, 5));
}

TEST_F(GridViewMouseKey, InputFixedColumnsAreWalkedByLeftAndRight)
{
    View().SetColumnInputFixed(scQty, true);
    View().SetColumnInputFixed(scPrice, true);
    ASSERT_TRUE(View().HasFixedColumns());
    GoTo(scName, 5);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scQty, 5));
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scPrice, 5));
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scQty, 6)) << "after the last marked column, the first one of the next row";
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(scPrice, 5))
        << "before the first marked column, the last one of the row above";
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(scQty, 5));

    // One marked column: the cursor walks down (Right) and up (Left) in it.
    View().SetColumnInputFixed(scPrice, false);
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), CPoint(scQty, 6));
    Key(VK_LEFT);
    EXPECT_EQ(Current(), CPoint(scQty, 5));
}

// ---- scrolling --------------------------------------------------------------------------

TEST_F(GridViewMouseKey, TheScrollBarsScrollTheGrid)
{
    int nMin = 0, nMax = 0;
    View().GetScrollBarCtrl(SB_VERT)->GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(nMax, View().GetUsedRows() - View().GetVisibleRowCount() + 1);

    View().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_VERT)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1);
    EXPECT_EQ(View().GetMetrics().nVertOffset, View().GetMetrics().nRowHeight);
    View().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_VERT)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().y, 20);
    EXPECT_EQ(View().GetScrollBarCtrl(SB_VERT)->GetScrollPos(), 20);
    View().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_VERT)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().y, 0) << "fewer rows than a page lie above";

    // A narrow window: the columns do not all fit and the horizontal bar moves by columns.
    m_pApp->m_pMainWnd->MoveWindow(0, 0, 700, 600);
    Pump();
    View().SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_HORZ)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().x, 1);
    EXPECT_EQ(View().GetMetrics().nHorzOffset, View().GetColumnWidth(0));
    EXPECT_EQ(View().GetScrollBarCtrl(SB_HORZ)->GetScrollPos(), View().GetColumnWidth(0));
    const int nTwo = View().GetColumnWidth(0) + View().GetColumnWidth(1);
    View().SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(nTwo + 3)),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_HORZ)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().x, 2) << "the whole columns that fit in the position";
    EXPECT_EQ(View().GetMetrics().nHorzOffset, nTwo);
    View().SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0),
                       reinterpret_cast<LPARAM>(View().GetScrollBarCtrl(SB_HORZ)->m_hWnd));
    EXPECT_EQ(View().GetFirstVisibleCell().x, 1);
}

TEST_F(GridViewMouseKey, TheJumpBarsCommandsScrollToTheEnds)
{
    Command(ID_JUMP_LAST_ROW);
    EXPECT_EQ(View().GetFirstVisibleCell().y, View().GetUsedRows() - 3);
    Command(ID_JUMP_FIRST_ROW);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 0);
}

TEST_F(GridViewMouseKey, TheBarsSitAlongTheBottomAndRightEdges)
{
    CRect rcClient;
    View().GetClientRect(&rcClient);
    const auto place = [&](CWnd* pWnd) {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        View().ScreenToClient(&rc);
        return rc;
    };
    ASSERT_TRUE(View().HasChildWindows());
    EXPECT_EQ(place(View().GetJumpBar()), CRect(0, rcClient.bottom - 18, 80, rcClient.bottom));
    EXPECT_EQ(place(View().GetTabWnd()), CRect(80, rcClient.bottom - 18, 300, rcClient.bottom));
    EXPECT_EQ(place(View().GetScrollBarCtrl(SB_HORZ)),
              CRect(300, rcClient.bottom - 18, rcClient.right - 18, rcClient.bottom));
    EXPECT_EQ(place(View().GetScrollBarCtrl(SB_VERT)),
              CRect(rcClient.right - 18, 0, rcClient.right, rcClient.bottom - 18));
    EXPECT_EQ(place(View().GetCornerBox()),
              CRect(rcClient.right - 18, rcClient.bottom - 18, rcClient.right, rcClient.bottom));
    EXPECT_EQ(View().GetTabWnd()->GetTabCount(), 2);
}

TEST_F(GridViewMouseKey, TheWheelScrollsALineAPageWithShift)
{
    const auto wheel = [&](UINT nFlags, int nDelta) {
        View().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(nFlags), static_cast<WORD>(nDelta)),
                           MAKELPARAM(100, 100));
    };
    wheel(0, -120);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1);
    wheel(0, -360); // a fast wheel: still one line
    EXPECT_EQ(View().GetFirstVisibleCell().y, 2);
    wheel(0, 120);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1);
    wheel(MK_SHIFT, -120);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1 + View().GetVisibleRowCount());
    wheel(MK_SHIFT, 120);
    EXPECT_EQ(View().GetFirstVisibleCell().y, 1);
}

TEST_F(GridViewMouseKey, TheMiddleButtonAloneStartsAutoScrollingWithTheGridsOwnBars)
{
    for (const auto& [nBar, nID] :
         {std::pair{SB_VERT, CMorvelView::IDC_VERT_BAR}, std::pair{SB_HORZ, CMorvelView::IDC_HORZ_BAR}}) {
        CScrollBar* pBar = View().GetScrollBarCtrl(nBar);
        ASSERT_NE(pBar, nullptr);
        EXPECT_EQ(pBar->GetParent(), &View());
        EXPECT_EQ(static_cast<UINT>(pBar->GetDlgCtrlID()), nID);
    }
    Mouse(WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, 200, 200);
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr) << "not with Ctrl";
    Mouse(WM_MBUTTONDOWN, MK_MBUTTON, 200, 200);
    CAutoScrollWnd* pActive = CAutoScrollWnd::GetActive();
    ASSERT_NE(pActive, nullptr);
    ASSERT_GT(View().GetMetrics().nHorzScrollMax, 0);
    EXPECT_EQ(pActive->GetBitmapOffset(), 0) << "the grid's own bars can scroll both ways";
    pActive->SendMessage(WM_MBUTTONDOWN, MK_MBUTTON, 0);
    Pump();
    EXPECT_EQ(CAutoScrollWnd::GetActive(), nullptr);
}

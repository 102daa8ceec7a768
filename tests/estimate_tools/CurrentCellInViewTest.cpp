// The current cell on the screen: a command that moves it below the window's last row
// scrolls it into view, and a key typed while it lies off the screen brings it back and goes
// into it, so that nothing typed is lost. On the sample estimate's window, through the menu
// commands, their dialogs and the keys.
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class CurrentCellInView : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateCommandDialogs();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
        m_answerer.AlwaysAnswerDialog(IDD_KIND_INPUT, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ROW_TEXT, "A");
            ClickDlgButton(dlg, IDOK);
        });
        m_answerer.AlwaysAnswerDialog(IDD_DISCOUNT_INPUT, [](CDialog& dlg) {
            TypeDlgItemText(dlg, IDC_ROW_TEXT, "-100");
            ClickDlgButton(dlg, IDOK);
        });
        m_answerer.AlwaysAnswerDialog(IDD_DISCOUNT_TOTAL, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    }

    // The whole cell lies in the grid's cell area.
    bool Shown(int nCol, int nRow) const
    {
        CRect rcCell, rcGrid;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
        m_pView->GetGridClientRect(&rcGrid);
        return !rcCell.IsRectEmpty() && rcCell.top >= m_pView->GetHeaderHeight() &&
               rcCell.bottom <= rcGrid.bottom && rcCell.left >= m_pView->GetRowHeaderWidth() &&
               rcCell.right <= rcGrid.right;
    }
    // The scroll bar's thumb dragged to a row.
    void ScrollTo(int nRow)
    {
        m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, nRow),
                             reinterpret_cast<LPARAM>(m_pView->GetScrollBarCtrl(SB_VERT)->m_hWnd));
    }
    bool CurrentShown() const { return Shown(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()); }
    // The name cell of the window's last whole row, made current by a click.
    int ClickLastShownRow()
    {
        int nRow = m_pView->GetFirstVisibleCell().y;
        while (Shown(scName, nRow + 1))
            ++nRow;
        Click(scName, nRow);
        return nRow;
    }

    CDialogAnswerer m_answerer;
};

} // namespace

// Two kind headings put in at the window's last row leave the cursor two rows below it:
// the rows typed there are stored, none lost.
TEST_F(CurrentCellInView, TextTypedAfterHeadingsAtTheBottomOfTheWindowIsStored)
{
    ScrollTo(18);
    const int nRow = ClickLastShownRow();
    Command(ID_KIND_INPUT);
    Command(ID_KIND_INPUT);
    ASSERT_EQ(m_pView->GetCurrentRow(), nRow + 2);
    EXPECT_TRUE(CurrentShown());
    Type("abc");
    Key(VK_RETURN);
    Type("def");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(nRow + 2, scName), "abc");
    EXPECT_EQ(Cell(nRow + 2, scSpec), "def");
    EXPECT_EQ(m_pView->GetRowKind(nRow + 2), kindDetail);
    EXPECT_TRUE(CurrentShown());
}

// Every command that moves the cursor past the window's last row shows it there.
TEST_F(CurrentCellInView, EveryCommandThatMovesTheCursorDownShowsIt)
{
    const std::function<void()> commands[] = {
        [this] { Command(ID_KIND_INPUT); },
        [this] { Command(ID_DISCOUNT_INPUT); },
        [this] { Command(ID_TOTAL_DISCOUNT); },
        [this] { Command(ID_TOTAL_SMALL); },
        [this] { Command(ID_TOTAL_GRAND); },
        [this] { // a large subject picked from its list
            Command(ID_PICK_LARGE);
            auto* pPick = dynamic_cast<CSubjectPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::pickLarge));
            ASSERT_NE(pPick, nullptr);
            pPick->List().SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ClickDlgButton(*pPick, IDOK);
            if (m_pView->GetPickDialog(CMorvelEMView::pickLarge) != nullptr)
                pPick->SendMessage(WM_CLOSE);
        },
    };
    for (size_t i = 0; i < std::size(commands); ++i) {
        for (int n = 0; n < 2; ++n) {
            const int nRow = ClickLastShownRow();
            commands[i]();
            Pump();
            ASSERT_EQ(m_pView->GetCurrentRow(), nRow + 1) << i;
            EXPECT_TRUE(CurrentShown()) << i << " row " << nRow + 1;
        }
    }
}

// The window scrolled away from the cursor (wheel, scroll bar): a key typed then, or one
// the input method hands over, a paste, goes into the cursor's cell, which comes back into
// view.
TEST_F(CurrentCellInView, WhatIsTypedOrPastedWhileTheCursorIsScrolledAwayGoesIntoItsCell)
{
    GoTo(scQty, srFirstDetail);
    ScrollTo(60);
    ASSERT_FALSE(CurrentShown());
    Type("12");
    EXPECT_TRUE(CurrentShown());
    EXPECT_EQ(EditorText(), "12");
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scQty), "12.000000");

    // F2 opens the cell where it is, not at the window's corner.
    ScrollTo(60);
    const CPoint ptCell(m_pView->GetCurrentCol(), m_pView->GetCurrentRow());
    Key(VK_F2);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), ptCell);
    EXPECT_TRUE(CurrentShown());
    EXPECT_EQ(EditorText(), Utf8Cell(ptCell.y, ptCell.x));
    Key(VK_ESCAPE);

    // An edit the scroll hid goes on where it stood: what was typed into it stays.
    GoTo(scSpec, srFirstDetail);
    Type("ab");
    ScrollTo(60);
    Type("c");
    EXPECT_TRUE(CurrentShown());
    Key(VK_RETURN);
    EXPECT_EQ(Cell(srFirstDetail, scSpec), "abc");

    // A cell pasted at the cursor scrolled away: the cursor comes back and shows it.
    GoTo(scSpec, srFirstDetail);
    Command(ID_EDIT_COPY);
    GoTo(scSpec, srFirstDetail + 1);
    ScrollTo(60);
    Command(ID_EDIT_PASTE);
    EXPECT_TRUE(CurrentShown());
    EXPECT_EQ(Cell(srFirstDetail + 1, scSpec), "abc");
}

// Display fixing: unticked columns are hidden (width 0, no input-fixed mark), ticked ones
// come back at their remembered width, and the layout follows at the current zoom. Print
// and print preview are enabled only while the estimate has a print layout chosen. The
// window tests do the same on the sample estimate as a user meets it: clicks land on the
// columns that are shown, and a fixed-rate change over a column selected from its header.
#include "tests/estimate/EstimateTestSupport.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/SharedRecords.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

namespace {

class DisplayFix : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }

    // The standard form's widths at zoom 100: 200 150 80 40 100 120 60 200 (950).
    std::vector<bool> AllBut(std::initializer_list<int> hidden)
    {
        std::vector<bool> ticks(static_cast<size_t>(view->GetColumnCount()), true);
        for (int c : hidden)
            ticks[static_cast<size_t>(c)] = false;
        return ticks;
    }
};

} // namespace

TEST_F(DisplayFix, UntickedColumnsAreHiddenAndLoseTheirInputFixedMark)
{
    ASSERT_EQ(std::vector<bool>(8, true), view->GetDisplayTicks());
    ASSERT_EQ(950, view->GetMetrics().nTotalWidth);
    view->SetColumnInputFixed(colQty, true);
    view->SetColumnInputFixed(colPrice, true);

    view->ApplyDisplayFix(AllBut({colSpec, colQty}));

    EXPECT_EQ(0, view->GetBaseColumnWidth(colSpec));
    EXPECT_EQ(0, view->GetColumnWidth(colSpec));
    EXPECT_EQ(0, view->GetColumnWidth(colQty));
    EXPECT_EQ(200, view->GetColumnWidth(colName));
    EXPECT_EQ(950 - 150 - 80, view->GetMetrics().nTotalWidth);
    EXPECT_EQ(0, view->IsColumnInputFixed(colQty)) << "a hidden column is no longer input-fixed";
    EXPECT_EQ(1, view->IsColumnInputFixed(colPrice));
    EXPECT_EQ((std::vector<bool>{true, false, false, true, true, true, true, true}), view->GetDisplayTicks());
    EXPECT_EQ(150, view->GetRememberedColumnWidth(colSpec)) << "the width to come back to is kept";
}

TEST_F(DisplayFix, TickedColumnsComeBackAtTheirRememberedWidth)
{
    // A resize leaves the new width as the one to remember.
    view->SetBaseColumnWidth(colNote, 61);
    view->ApplyDisplayFix(AllBut({colSpec, colNote}));
    ASSERT_EQ(0, view->GetBaseColumnWidth(colNote));

    view->ApplyDisplayFix(AllBut({}));
    EXPECT_EQ(150, view->GetBaseColumnWidth(colSpec));
    EXPECT_EQ(61, view->GetBaseColumnWidth(colNote));
    EXPECT_EQ(61, view->GetColumnWidth(colNote));
    EXPECT_EQ(950 - 200 + 61, view->GetMetrics().nTotalWidth);
}

TEST_F(DisplayFix, TheLayoutFollowsAtTheCurrentZoom)
{
    view->SetZoom(50);
    view->ApplyDisplayFix(AllBut({colName}));
    EXPECT_EQ(0, view->GetColumnWidth(colName));
    EXPECT_EQ(75, view->GetColumnWidth(colSpec));
    EXPECT_EQ((950 - 200) / 2, view->GetMetrics().nTotalWidth);
    EXPECT_EQ(0, view->GetMetrics().nHorzOffset);
}

TEST_F(DisplayFix, ColumnsBeyondTheTicksGivenStayAsTheyAre)
{
    view->ApplyDisplayFix(AllBut({colNote}));
    view->ApplyDisplayFix({FALSE, TRUE});
    EXPECT_EQ(0, view->GetBaseColumnWidth(colName));
    EXPECT_EQ(150, view->GetBaseColumnWidth(colSpec));
    EXPECT_EQ(80, view->GetBaseColumnWidth(colQty));
    EXPECT_EQ(0, view->GetBaseColumnWidth(colNote));
}

// ---------------------------------------------------------------------------------------
// On the sample estimate's window

namespace {

class DisplayFixWindow : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
    }
    void Press(CPoint pt)
    {
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        Pump();
    }
};

} // namespace

TEST_F(DisplayFixWindow, AClickLandsOnTheColumnsThatAreShown)
{
    const CPoint ptSpec = CellPoint(scSpec, srFirstDetail);
    std::vector<bool> ticks = m_pView->GetDisplayTicks();
    ticks[scSpec] = false;
    m_pView->ApplyDisplayFix(ticks);
    Pump();
    Press(ptSpec);
    EXPECT_EQ(scQty, m_pView->GetCurrentCol()) << "the hidden column takes no room";

    ticks[scSpec] = true;
    m_pView->ApplyDisplayFix(ticks);
    Pump();
    Press(ptSpec);
    EXPECT_EQ(scSpec, m_pView->GetCurrentCol());
}

TEST_F(DisplayFixWindow, AFixedRateChangeOverAColumnSelectedFromItsHeader)
{
    const double price = Value(srFirstDetail, scPrice);
    const double qty = Value(srFirstDetail, scQty);
    const double total = Value(srMiddleTotal, scAmount);
    ASSERT_GT(price, 0);
    ASSERT_FALSE(IsModified());

    Press(CPoint(CellPoint(scPrice, srFirstDetail).x, m_pView->GetMetrics().nHeaderHeight / 2));
    ASSERT_EQ(10, m_pView->GetSelectMode());

    CMorvelEMView::CRateCondition condition;
    condition.nCol1 = scName;
    condition.nRelation1 = 2;
    condition.strValue1 = m_pView->GetCellText(srFirstDetail, scName);
    m_pView->ApplyFixedRateChange("*2", condition);
    Pump();

    EXPECT_EQ(price * 2, Value(srFirstDetail, scPrice));
    EXPECT_EQ(price * qty * 2, Value(srFirstDetail, scAmount));
    EXPECT_EQ(total + price * qty, Value(srMiddleTotal, scAmount));
    EXPECT_TRUE(IsModified());
}

// The small commands beside the grid's display: item clear empties a selected column's
// cells, the range total adds up a numeric column (again and again), arms and clears.
#include "tests/estimate/EstimateTestSupport.h"

#include "engine/estimate/CGridRow.h"

namespace {

class RangeTotal : public EstimateViewTest {
protected:
    void SetUp() override
    {
        Open();
        Detail(0, "足場", "10", "1200");
        Detail(1, "型枠", "2.5", "300");
        Detail(2, "養生", "", "");
    }
    // Selects a block of one column as Shift+arrows do.
    void SelectColumnBlock(int nCol, int nFirstRow, int nLastRow)
    {
        view->SetSelection(CMorvelView::selectBlock, CRect(nCol, nFirstRow, nCol, nLastRow));
    }
    BOOL RangeAddEnabled()
    {
        TestCmdUI ui;
        view->OnUpdateRangeAdd(&ui);
        return ui.enabled;
    }
    BOOL ItemClearEnabled()
    {
        TestCmdUI ui;
        view->OnUpdateItemClear(&ui);
        return ui.enabled;
    }
};

} // namespace

TEST_F(RangeTotal, AddingARangeTwiceDoublesTheTotalInTheColumnsPicture)
{
    SelectColumnBlock(colPrice, 0, 2);
    ASSERT_TRUE(RangeAddEnabled());
    view->OnRangeAdd();
    EXPECT_EQ(view->GetRangeTotal().sum.GetText(), CString("1,500"));
    EXPECT_TRUE(view->GetRangeTotal().sum.IsPresent());
    view->OnRangeAdd();
    EXPECT_EQ(view->GetRangeTotal().sum.GetText(), CString("3,000"));

    view->OnRangeTotalClear();
    EXPECT_FALSE(view->GetRangeTotal().sum.IsPresent());
    EXPECT_TRUE(view->GetRangeTotal().sum.GetText().IsEmpty());
    view->OnRangeAdd();
    EXPECT_EQ(view->GetRangeTotal().sum.GetText(), CString("1,500")) << "from zero again";
}

TEST_F(RangeTotal, RowsBeyondTheUsedRowsAddNothing)
{
    view->GetModel().Engine().MakeRow(2)->SetCell(colPrice, "99");
    view->GetModel().RestoreUsedRows(2);
    SelectColumnBlock(colPrice, 0, 10);
    view->OnRangeAdd();
    EXPECT_EQ(view->GetRangeTotal().sum.GetText(), CString("1,500"));
}

TEST_F(RangeTotal, AddingNeedsOneNumericColumnOnTheEditPage)
{
    SelectColumnBlock(colName, 0, 1);
    EXPECT_FALSE(RangeAddEnabled()) << "a text column";
    view->SetSelection(CMorvelView::selectBlock, CRect(colQty, 0, colPrice, 1));
    EXPECT_FALSE(RangeAddEnabled()) << "two columns";
    view->SetSelection(CMorvelView::selectNone, view->GetSelection());
    view->SetCurrentCell(colQty, view->GetCurrentRow());
    EXPECT_TRUE(RangeAddEnabled()) << "the current cell alone";
    view->SetSummaryPageShown(true);
    EXPECT_FALSE(RangeAddEnabled());
}

TEST_F(RangeTotal, TheSetCommandTogglesWhileATotalIsPresent)
{
    TestCmdUI ui;
    view->OnUpdateRangeTotalSet(&ui);
    EXPECT_FALSE(ui.enabled);
    SelectColumnBlock(colPrice, 0, 1);
    view->OnRangeAdd();
    view->OnUpdateRangeTotalSet(&ui);
    EXPECT_TRUE(ui.enabled);
    view->OnRangeTotalSet();
    EXPECT_TRUE(view->GetRangeTotal().nArmed);
    view->OnRangeTotalSet();
    EXPECT_FALSE(view->GetRangeTotal().nArmed);
}

TEST_F(RangeTotal, ItemClearEmptiesTheSelectedColumnOfEveryUsedRow)
{
    EXPECT_FALSE(ItemClearEnabled());
    view->SetSelection(CMorvelView::selectColumn, CRect(colPrice, 0, colPrice, view->GetRowLimit() - 1));
    ASSERT_TRUE(ItemClearEnabled());
    doc->SetModifiedFlag(FALSE);
    view->OnItemClear();
    EXPECT_EQ(Cell(0, colPrice), "");
    EXPECT_EQ(Cell(1, colPrice), "");
    EXPECT_EQ(Cell(0, colQty), "10.000000") << "other columns stay";
    EXPECT_NE(Cell(0, colAmount), "") << "no recalculation follows";
    EXPECT_TRUE(doc->IsModified());
}

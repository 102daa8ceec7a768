// The small commands beside the grid's display: item clear empties a selected column's
// cells, the range total adds up a numeric column (again and again), arms and clears.
#include "tests/estimate/EstimateTestSupport.h"

#include "estimate/CGridRow.h"

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
        view->m_nSelectMode = 20;
        view->m_rcSelection.SetRect(nCol, nFirstRow, nCol, nLastRow);
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
    EXPECT_EQ(view->m_strRangeTotalText, CString("1,500"));
    EXPECT_TRUE(view->m_nRangeTotalPresent);
    view->OnRangeAdd();
    EXPECT_EQ(view->m_strRangeTotalText, CString("3,000"));

    view->OnRangeTotalClear();
    EXPECT_FALSE(view->m_nRangeTotalPresent);
    EXPECT_TRUE(view->m_strRangeTotalText.IsEmpty());
    view->OnRangeAdd();
    EXPECT_EQ(view->m_strRangeTotalText, CString("1,500")) << "from zero again";
}

TEST_F(RangeTotal, RowsBeyondTheUsedRowsAddNothing)
{
    view->m_EditRows.GetRow(2)->m_strCell[colPrice] = "99";
    view->m_nUsedRows = 2;
    SelectColumnBlock(colPrice, 0, 10);
    view->OnRangeAdd();
    EXPECT_EQ(view->m_strRangeTotalText, CString("1,500"));
}

TEST_F(RangeTotal, AddingNeedsOneNumericColumnOnTheEditPage)
{
    SelectColumnBlock(colName, 0, 1);
    EXPECT_FALSE(RangeAddEnabled()) << "a text column";
    view->m_nSelectMode = 20;
    view->m_rcSelection.SetRect(colQty, 0, colPrice, 1);
    EXPECT_FALSE(RangeAddEnabled()) << "two columns";
    view->m_nSelectMode = 0;
    view->m_nCurrentCol = colQty;
    EXPECT_TRUE(RangeAddEnabled()) << "the current cell alone";
    view->m_nSummaryPage = 1;
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
    EXPECT_TRUE(view->m_nRangeTotalArmed);
    view->OnRangeTotalSet();
    EXPECT_FALSE(view->m_nRangeTotalArmed);
}

TEST_F(RangeTotal, ItemClearEmptiesTheSelectedColumnOfEveryUsedRow)
{
    EXPECT_FALSE(ItemClearEnabled());
    view->m_nSelectMode = 10;
    view->m_rcSelection.SetRect(colPrice, 0, colPrice, view->m_nRowLimit - 1);
    ASSERT_TRUE(ItemClearEnabled());
    doc->SetModifiedFlag(FALSE);
    view->OnItemClear();
    EXPECT_EQ(Cell(0, colPrice), "");
    EXPECT_EQ(Cell(1, colPrice), "");
    EXPECT_EQ(Cell(0, colQty), "10.000000") << "other columns stay";
    EXPECT_NE(Cell(0, colAmount), "") << "no recalculation follows";
    EXPECT_TRUE(doc->IsModified());
}

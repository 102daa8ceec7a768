// Estimate pages: page moves, page select, insert, delete and feed, and page alignment.
#include "tests/estimate/EstimateTestSupport.h"

namespace {

class EstimatePagesTest : public EstimateViewTest {
protected:
    // A grid of nRowsPerPage rows a page (0: the default 18).
    void OpenWithPages(int nRowsPerPage)
    {
        if (nRowsPerPage > 0)
            settings->WriteProfileInt("Input Setting", "Rows in a page", nRowsPerPage);
        Open();
    }
    std::string Name(int row) const { return Utf8Cell(row, colName); }
    CPoint Current() const { return CPoint(view->GetCurrentCol(), view->GetCurrentRow()); }
};

} // namespace

TEST_F(EstimatePagesTest, PreviousAndNextPageMoveOnePageFromTheFirstVisibleRow)
{
    OpenWithPages(0);
    ASSERT_EQ(18, view->GetPageRows());
    view->SetCurrentCell(4, view->GetCurrentRow());
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 40);
    view->OnPrevPage();
    EXPECT_EQ(18, view->GetFirstVisibleCell().y);
    EXPECT_EQ(18 * view->GetMetrics().nRowHeight, view->GetMetrics().nVertOffset);
    // The top-left visible cell becomes current, as by a click inside it.
    EXPECT_EQ(CPoint(0, 18), Current());
    EXPECT_EQ(CPoint(4, 0), view->GetPreviousCell());

    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 40);
    view->OnNextPage();
    EXPECT_EQ(54, view->GetFirstVisibleCell().y);
    EXPECT_EQ(CPoint(0, 54), Current());
}

TEST_F(EstimatePagesTest, PreviousPageOnTheFirstPageOnlySelectsTheTopLeftCell)
{
    OpenWithPages(0);
    view->SetCurrentCell(3, view->GetCurrentRow());
    view->SetCurrentCell(view->GetCurrentCol(), 7);
    view->OnPrevPage();
    EXPECT_EQ(0, view->GetFirstVisibleCell().y);
    EXPECT_EQ(CPoint(0, 0), Current());

    // Part of the first page scrolled away: back to its top.
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 5);
    view->OnPrevPage();
    EXPECT_EQ(0, view->GetFirstVisibleCell().y);
}

TEST_F(EstimatePagesTest, NextPageOnTheLastPageStaysOnIt)
{
    OpenWithPages(0);
    ASSERT_EQ(1100, view->GetRowLimit());
    EXPECT_EQ(61, view->GetLastPage()); // (1100 - 1) / 18
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 61 * 18);
    view->OnNextPage();
    EXPECT_EQ(61 * 18, view->GetFirstVisibleCell().y);
    EXPECT_EQ(61 * 18, view->GetCurrentRow());

    // The click passes over a hidden first column.
    view->SetColumnWidth(0, 0);
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 0);
    view->OnNextPage();
    EXPECT_EQ(CPoint(1, 18), Current());
}

TEST_F(EstimatePagesTest, PageSelectKeepsTheNumberWithinThePages)
{
    OpenWithPages(0);
    view->SelectPage(3);
    EXPECT_EQ(36, view->GetFirstVisibleCell().y);
    view->SelectPage(0);
    EXPECT_EQ(0, view->GetFirstVisibleCell().y);
    view->SelectPage(-5);
    EXPECT_EQ(0, view->GetFirstVisibleCell().y);
    view->SelectPage(1000);
    EXPECT_EQ(61 * 18, view->GetFirstVisibleCell().y);
}

TEST_F(EstimatePagesTest, PageFeedOnAPagesFirstRowPushesItAWholePageDown)
{
    OpenWithPages(5);
    Detail(0, "a", "1", "10");
    Detail(5, "b", "2", "20");
    Detail(6, "c", "3", "30");
    view->SetCurrentCell(view->GetCurrentCol(), 5);
    doc->SetModifiedFlag(FALSE);
    view->FeedPage();
    EXPECT_EQ("b", Name(10));
    EXPECT_EQ("c", Name(11));
    for (int r = 5; r < 10; ++r)
        EXPECT_EQ(kindEmpty, view->GetRowKind(r)) << r;
    EXPECT_EQ(12, view->GetUsedRows());
    EXPECT_EQ(10, view->GetFirstVisibleCell().y);
    EXPECT_EQ(10, view->GetCurrentRow());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EstimatePagesTest, PageFeedInsideAPageMovesTheRestOfItToTheNextPage)
{
    OpenWithPages(5);
    Detail(0, "a", "1", "10");
    Detail(1, "b", "1", "10");
    Detail(2, "c", "1", "10");
    Detail(3, "d", "1", "10");
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->FeedPage();
    EXPECT_EQ("b", Name(1));
    EXPECT_EQ("", Name(2));
    EXPECT_EQ("c", Name(5));
    EXPECT_EQ("d", Name(6));
    EXPECT_EQ(CPoint(0, 5), Current());
}

TEST_F(EstimatePagesTest, PageFeedKeepsTheNextHeadingAtAPageStartWhileAlignmentIsOn)
{
    for (int nAdjust : {1, 0}) {
        SCOPED_TRACE(nAdjust);
        OpenWithPages(5);
        view->SetPageAlignment(nAdjust != 0);
        for (int r = 0; r < 4; ++r)
            Detail(r, "d", "1", "10");
        Detail(5, "e", "1", "10");
        Detail(6, "f", "1", "10");
        Heading(10, kindMiddle, "土工事");
        Detail(11, "g", "1", "10");
        view->SetCurrentCell(view->GetCurrentCol(), 2);
        view->FeedPage();
        // Three rows pushed the heading to row 13; alignment takes away the empty rows
        // before it on its page.
        const int nHeading = nAdjust ? 10 : 13;
        EXPECT_EQ(kindMiddle, view->GetRowKind(nHeading));
        EXPECT_EQ("土工事", Utf8Cell(nHeading, colName));
        EXPECT_EQ("g", Name(nHeading + 1));
        EXPECT_EQ("f", Name(9));
    }
}

TEST_F(EstimatePagesTest, PageInsertBeforeThePageOrAfterIt)
{
    OpenWithPages(5);
    for (int r = 0; r < 4; ++r)
        Detail(r, std::to_string(r).c_str(), "1", "10");
    doc->SetModifiedFlag(FALSE);

    // Before page 1: every row moves down a page.
    ASSERT_TRUE(view->InsertPage(1, TRUE));
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(kindEmpty, view->GetRowKind(r)) << r;
    EXPECT_EQ("0", Name(5));
    EXPECT_EQ("3", Name(8));
    EXPECT_EQ(CPoint(0, 0), Current());
    EXPECT_TRUE(doc->IsModified());

    // After page 1: the empty page becomes page 2.
    view->SetCurrentCell(2, view->GetCurrentRow());
    ASSERT_TRUE(view->InsertPage(1, FALSE));
    EXPECT_EQ("0", Name(10));
    EXPECT_EQ(CPoint(2, 5), Current());

    // Numbers outside 1 .. row limit / rows per page + 1 change nothing.
    const int nUsed = view->GetUsedRows();
    EXPECT_FALSE(view->InsertPage(0, TRUE));
    EXPECT_FALSE(view->InsertPage(1100 / 5 + 2, TRUE));
    EXPECT_EQ(nUsed, view->GetUsedRows());
    EXPECT_EQ("0", Name(10));
}

TEST_F(EstimatePagesTest, PageDeleteRemovesThePagesRowsAndRefreshesTheTotalsBelow)
{
    OpenWithPages(5);
    Detail(0, "a", "1", "100");
    Detail(1, "b", "1", "200");
    Detail(5, "c", "1", "300");
    Detail(6, "d", "1", "400");
    view->SetCurrentCell(view->GetCurrentCol(), 10);
    view->InsertTotal(CMorvelEMView::levelGrand);
    ASSERT_EQ(kindGrandTotal, view->GetRowKind(10));
    ASSERT_EQ(1000.0, Value(10, colAmount));

    ASSERT_TRUE(view->DeletePage(2));
    EXPECT_EQ("a", Name(0));
    EXPECT_EQ(kindGrandTotal, view->GetRowKind(5));
    EXPECT_EQ(300.0, Value(5, colAmount));
    EXPECT_EQ(6, view->GetUsedRows());

    // A page without used rows is not there to delete.
    EXPECT_FALSE(view->DeletePage(3));
    EXPECT_FALSE(view->DeletePage(0));
    EXPECT_EQ(6, view->GetUsedRows());
}

TEST_F(EstimatePagesTest, AlignmentMovesAHeadingUpOverEmptyRowsOrDownToTheNextPage)
{
    OpenWithPages(25);
    for (int r = 25; r < 30; ++r)
        Detail(r, "x", "1", "1");
    Heading(30, kindLarge, "建築工事");
    EXPECT_EQ(50, view->AdjustPageBreak(CMorvelEMView::EPageBreak::alignRow, 30));
    EXPECT_EQ(kindLarge, view->GetRowKind(50));
    EXPECT_EQ(kindEmpty, view->GetRowKind(30));

    OpenWithPages(25);
    Heading(30, kindLarge, "建築工事");
    EXPECT_EQ(25, view->AdjustPageBreak(CMorvelEMView::EPageBreak::alignRow, 30));
    EXPECT_EQ(kindLarge, view->GetRowKind(25));

    // Switched off: nothing moves.
    view->SetPageAlignment(false);
    EXPECT_EQ(0, view->AdjustPageBreak(CMorvelEMView::EPageBreak::alignRow, 25));
    EXPECT_EQ(0, view->AdjustPageBreak(CMorvelEMView::EPageBreak::findHeading, 0));
    EXPECT_EQ(kindLarge, view->GetRowKind(25));
}

TEST_F(EstimatePagesTest, ClickCellScrollsACellOutOfViewAndMakesItCurrent)
{
    OpenWithPages(0);
    view->ClickCell(colPrice, 100);
    EXPECT_EQ(CPoint(colPrice, 100), Current());
    EXPECT_EQ(97, view->GetFirstVisibleCell().y);
    EXPECT_EQ(colPrice - 1, view->GetFirstVisibleCell().x);
    // Cells outside the grid are not clicked.
    view->ClickCell(99, 0);
    view->ClickCell(0, 5000);
    EXPECT_EQ(CPoint(colPrice, 100), Current());
}

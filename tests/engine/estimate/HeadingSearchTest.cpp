// Where the subjects lie: the total row that closes a heading, and the rows a heading takes
// along when its subject is cut or dragged from the subject tree (down to its own total
// row, or without one to where the next heading of its level, or a higher one, begins).
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CHeadingSearch.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

class HeadingSearchTest : public ::testing::Test {
protected:
    // Rows of the given kinds (as the file stores them) from row 0 on, with a name in each
    // heading.
    void Rows(std::initializer_list<int> numbers)
    {
        for (int nNumber : numbers) {
            const ERowKind kind = KindFromNumber(nNumber);
            if (kind == kindDetail)
                e.AddRow(kind, {"明細", nullptr, "1", nullptr, "100"});
            else if (kind != kindEmpty)
                e.AddRow(kind, {"見出し"});
            else
                e.AddRow(kind, {});
        }
    }
    int Count(int nRow) const { return CHeadingSearch(e.engine).GetSubjectRowCount(nRow); }

    CTestEstimate e{StandardTestColumns()};
};

} // namespace

TEST_F(HeadingSearchTest, TheTotalThatClosesAHeading)
{
    e.AddRow(kindLarge, {"建築工事"});
    e.AddRow(kindMiddle, {"仮設"});
    e.AddRow(kindDetail, {"足場", nullptr, "10", nullptr, "100"});
    e.AddRow(kindMiddleTotal, {});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindLarge, {"電気"});
    e.AddRow(kindDetail, {"配線", nullptr, "1", nullptr, "1"});
    e.AddRow(kindLarge, {"設備"});
    e.AddRow(kindLargeTotal, {});
    EXPECT_EQ(e.engine.FindTotalRow(1, kindLarge), 4);
    EXPECT_EQ(e.engine.FindTotalRow(2, kindMiddle), 3);
    EXPECT_EQ(e.engine.FindTotalRow(6, kindLarge), -1) << "another large heading comes first";
    EXPECT_EQ(e.engine.FindTotalRow(4, kindLargeTotal), 3) << "a total row is its own total";
    EXPECT_EQ(e.engine.FindTotalRow(9, kindLarge), -1) << "the end of the rows";
}

TEST_F(HeadingSearchTest, AHeadingWithItsTotalTakesEverythingDownToTheTotal)
{
    //    0 large, 1 middle, 2 detail, 3 middle total, 4 detail, 5 large total, 6 large
    Rows({1, 2, 5, 12, 5, 11, 1});
    EXPECT_EQ(6, Count(0));
    EXPECT_EQ(3, Count(1));
}

TEST_F(HeadingSearchTest, AKindHeadingSpansItsLargeSubjectsUpToTheKindTotal)
{
    //    0 kind, 1 large, 2 detail, 3 large total, 4 large, 5 detail, 6 large total, 7 kind total, 8 kind
    Rows({7, 1, 5, 11, 1, 5, 11, 17, 7});
    EXPECT_EQ(8, Count(0));
    EXPECT_EQ(3, Count(4));
}

TEST_F(HeadingSearchTest, WithoutATotalTheBlockEndsAtTheNextHeadingOfItsLevelOrAbove)
{
    //    0 large, 1 middle, 2 detail, 3 middle, 4 detail, 5 large, 6 detail
    Rows({1, 2, 5, 2, 5, 1, 5});
    EXPECT_EQ(5, Count(0)); // the middle headings belong to it
    EXPECT_EQ(2, Count(1)); // ends at the next middle heading
    EXPECT_EQ(2, Count(3)); // ends at the large heading
}

TEST_F(HeadingSearchTest, ATotalOfTheParentEndsASubjectWithoutItsOwnTotal)
{
    //    0 large, 1 middle, 2 small, 3 detail, 4 middle total, 5 detail, 6 large total
    Rows({1, 2, 3, 5, 12, 5, 11});
    // The small subject has no total of its own: the middle total ends it.
    EXPECT_EQ(2, Count(2));
    // The middle subject's first scan meets its own total.
    EXPECT_EQ(4, Count(1));
}

TEST_F(HeadingSearchTest, ASmallSubjectWithoutTotalStopsAtAnyRowThatIsNotADetail)
{
    //    0 small, 1 detail, 2 empty, 3 detail, 4 step row, 5 detail
    Rows({3, 5, 0, 5, 9, 5});
    EXPECT_EQ(4, Count(0));
}

TEST_F(HeadingSearchTest, ASubjectRunningToTheEndTakesTheRowAfterTheLastUsedOne)
{
    //    0 detail, 1 large, 2 detail, 3 detail (used rows 4)
    Rows({5, 1, 5, 5});
    EXPECT_EQ(4, Count(1));
    // A row that is not a heading counts to the same end.
    EXPECT_EQ(5, Count(0));
}

TEST_F(HeadingSearchTest, RowsOutsideTheGridHaveNoBlock)
{
    Rows({1, 5, 11});
    EXPECT_EQ(0, Count(-1));
    EXPECT_EQ(0, Count(e.sheet.nRowLimit));
}

// The subject tree's list: each heading with its total's row and amount, a heading without
// a total closed by the next heading of its own kind; the same from the kept totals' list
// of kinds as from the rows.
TEST_F(HeadingSearchTest, TheHeadingsWithTheirTotalsFromTheRowsAndFromTheKeptKinds)
{
    //    0 large, 1 middle, 2 detail, 3 middle, 4 detail, 5 middle total, 6 large total, 7 grand
    Rows({1, 2, 5, 2, 5, 12, 11, 15});
    e.engine.RecalcAll();
    const CString strAmount = e.engine.EditCell(6, colAmount);
    ASSERT_EQ("200.000000", strAmount.str());
    for (const bool bKept : {false, true}) {
        if (bKept)
            ASSERT_TRUE(e.engine.KeepTotalsOfTheRows());
        else
            e.engine.ForgetKeptTotals();
        ASSERT_EQ(bKept, e.engine.KeptKinds() != nullptr);
        std::vector<CHeadingSearch::CHeadingRow> headings;
        CHeadingSearch(e.engine).FindHeadingRows(headings, 10, colName, colAmount);
        ASSERT_EQ(3u, headings.size());
        EXPECT_EQ(6, headings[0].nTotalRow);
        EXPECT_EQ(strAmount, *headings[0].pAmount);
        EXPECT_EQ(-1, headings[1].nTotalRow) << "the next middle heading closes it";
        EXPECT_TRUE(headings[1].pAmount->IsEmpty());
        EXPECT_EQ(3, headings[2].nRow);
        EXPECT_EQ(5, headings[2].nTotalRow);
        EXPECT_EQ("見出し", headings[2].pName->ToUtf8());

        CHeadingSearch(e.engine).FindHeadingRows(headings, 1, colName, colAmount);
        EXPECT_EQ(1u, headings.size()) << "at most the limit";
    }
}

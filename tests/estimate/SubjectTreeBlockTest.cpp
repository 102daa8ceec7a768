// The rows a heading takes along when its subject is cut or dragged from the subject tree:
// down to its own total row, or without one to where the next heading of its level (or a
// higher one) begins.
#include "tests/estimate/EstimateTestSupport.h"

namespace {

class SubjectBlockTest : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }
    // Rows of the given kinds (as the file stores them) from row 0 on, with a name in each
    // heading.
    void Rows(std::initializer_list<int> numbers)
    {
        int row = 0;
        for (int nNumber : numbers) {
            const ERowKind kind = KindFromNumber(nNumber);
            if (kind == kindDetail)
                Detail(row, "明細", "1", "100");
            else if (kind != kindEmpty)
                Heading(row, kind, "見出し");
            ++row;
        }
        view->SetUsedRows(row);
    }
};

} // namespace

TEST_F(SubjectBlockTest, AHeadingWithItsTotalTakesEverythingDownToTheTotal)
{
    //    0 large, 1 middle, 2 detail, 3 middle total, 4 detail, 5 large total, 6 large
    Rows({1, 2, 5, 12, 5, 11, 1});
    EXPECT_EQ(6, view->GetSubjectRowCount(0));
    EXPECT_EQ(3, view->GetSubjectRowCount(1));
}

TEST_F(SubjectBlockTest, AKindHeadingSpansItsLargeSubjectsUpToTheKindTotal)
{
    //    0 kind, 1 large, 2 detail, 3 large total, 4 large, 5 detail, 6 large total, 7 kind total, 8 kind
    Rows({7, 1, 5, 11, 1, 5, 11, 17, 7});
    EXPECT_EQ(8, view->GetSubjectRowCount(0));
    EXPECT_EQ(3, view->GetSubjectRowCount(4));
}

TEST_F(SubjectBlockTest, WithoutATotalTheBlockEndsAtTheNextHeadingOfItsLevelOrAbove)
{
    //    0 large, 1 middle, 2 detail, 3 middle, 4 detail, 5 large, 6 detail
    Rows({1, 2, 5, 2, 5, 1, 5});
    EXPECT_EQ(5, view->GetSubjectRowCount(0)); // the middle headings belong to it
    EXPECT_EQ(2, view->GetSubjectRowCount(1)); // ends at the next middle heading
    EXPECT_EQ(2, view->GetSubjectRowCount(3)); // ends at the large heading
}

TEST_F(SubjectBlockTest, ATotalOfTheParentEndsASubjectWithoutItsOwnTotal)
{
    //    0 large, 1 middle, 2 small, 3 detail, 4 middle total, 5 detail, 6 large total
    Rows({1, 2, 3, 5, 12, 5, 11});
    // The small subject has no total of its own: the middle total ends it.
    EXPECT_EQ(2, view->GetSubjectRowCount(2));
    // The middle subject's first scan meets its own total.
    EXPECT_EQ(4, view->GetSubjectRowCount(1));
}

TEST_F(SubjectBlockTest, ASmallSubjectWithoutTotalStopsAtAnyRowThatIsNotADetail)
{
    //    0 small, 1 detail, 2 empty, 3 detail, 4 step row, 5 detail
    Rows({3, 5, 0, 5, 9, 5});
    EXPECT_EQ(4, view->GetSubjectRowCount(0));
}

TEST_F(SubjectBlockTest, ASubjectRunningToTheEndTakesTheRowAfterTheLastUsedOne)
{
    //    0 detail, 1 large, 2 detail, 3 detail (used rows 4)
    Rows({5, 1, 5, 5});
    EXPECT_EQ(4, view->GetSubjectRowCount(1));
    // A row that is not a heading counts to the same end.
    EXPECT_EQ(5, view->GetSubjectRowCount(0));
}

TEST_F(SubjectBlockTest, RowsOutsideTheGridHaveNoBlock)
{
    Rows({1, 5, 11});
    EXPECT_EQ(0, view->GetSubjectRowCount(-1));
    EXPECT_EQ(0, view->GetSubjectRowCount(view->GetRowLimit()));
}

TEST_F(SubjectBlockTest, TheBlockIsReadFromTheEditPageWhileTheSummaryPageIsShown)
{
    Rows({1, 5, 5, 11});
    view->SetSummaryPageShown(true);
    EXPECT_EQ(4, view->GetSubjectRowCount(0));
}

// The rows a heading takes along when its subject is cut or dragged from the subject tree:
// down to its own total row, or without one to where the next heading of its level (or a
// higher one) begins. The view reads the block from the edit page whatever page it shows;
// the blocks themselves are the engine's (tests/engine/estimate/HeadingSearchTest.cpp).
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
        view->GetModel().RestoreUsedRows(row);
    }
};

} // namespace

TEST_F(SubjectBlockTest, TheBlockIsReadFromTheEditPageWhileTheSummaryPageIsShown)
{
    Rows({1, 5, 5, 11});
    view->SetSummaryPageShown(true);
    EXPECT_EQ(4, view->GetSubjectRowCount(0));
}

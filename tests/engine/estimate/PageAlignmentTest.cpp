// Page alignment on lists of row kinds and over an estimate of the test's own: which heading
// is kept at a page start, how a heading moves up or down, and the rows a cut would leave.
#include "engine/estimate/PageAlignment.h"
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using PageAlignment::CRowKindList;

namespace {

// nRows rows, empty but for the kinds given by row.
CRowKindList Kinds(int nRows, const std::map<int, ERowKind>& kinds)
{
    std::vector<ERowKind> list(static_cast<size_t>(nRows), kindEmpty);
    for (const auto& [nRow, nKind] : kinds)
        list[static_cast<size_t>(nRow)] = nKind;
    return CRowKindList(std::move(list));
}

} // namespace

TEST(PageAlignmentTest, FindingTheNextHeadingPassesOverPagesThatHoldOtherRows)
{
    const CRowKindList rows = Kinds(13, {{0, kindDetail}, {5, kindDetail}, {7, kindSmall}, {12, kindKind}});
    // Page 1 holds a detail first: its heading at row 7 is not looked at.
    EXPECT_EQ(12, PageAlignment::FirstHeadingOnNextPages(rows, 0, 5));
    // From page 1 on the next pages are searched: page 2 has the heading at row 12.
    EXPECT_EQ(12, PageAlignment::FirstHeadingOnNextPages(rows, 7, 5));
    EXPECT_EQ(-1, PageAlignment::FirstHeadingOnNextPages(rows, 12, 5));
}

TEST(PageAlignmentTest, AHeadingMovesUpOverEmptyRowsOrDownPastOthersAndLaterHeadingsFollow)
{
    // Pages of 5: a heading behind an empty row on a page with a detail goes to the next
    // page; the heading after it behind empty rows only moves up to its page start.
    CRowKindList rows = Kinds(14, {{5, kindDetail}, {7, kindLarge}, {8, kindDetail}, {13, kindLarge}});
    EXPECT_EQ(15, PageAlignment::AlignHeadings(rows, 7, 5));
    EXPECT_EQ(kindLarge, rows.Kind(10));
    EXPECT_EQ(kindDetail, rows.Kind(11));
    EXPECT_EQ(kindLarge, rows.Kind(15));
    EXPECT_EQ(16, rows.Count());

    // A row put in before a heading kept at its page start leaves the heading there.
    EXPECT_TRUE(PageAlignment::InsertRowAligned(rows, 6, 5));
    EXPECT_EQ(kindLarge, rows.Kind(10));
    EXPECT_EQ(kindLarge, rows.Kind(15));
}

TEST(PageAlignmentTest, RowsAfterACutCountTheRowsAlignmentPutsInAndLeaveTheEstimate)
{
    CTestEstimate e({{"文字", "", "", "", "6", ""}});
    for (ERowKind nKind : {kindDetail, kindDetail, kindDetail, kindEmpty, kindEmpty, kindLarge, kindDetail})
        e.AddRow(nKind, {"x"});
    // Pages of 5: the heading at row 5 starts page 2. Cutting row 2 pulls it up to row 4,
    // on a page with details, so one empty row pushes it back: 7 rows still.
    const int nHeading = PageAlignment::FirstHeadingOnNextPages(
        CRowKindList({kindDetail, kindDetail, kindDetail, kindEmpty, kindEmpty, kindLarge}), 2, 5);
    ASSERT_EQ(5, nHeading);
    EXPECT_EQ(4, PageAlignment::HeadingAfterCut(nHeading, 2, 1));
    EXPECT_EQ(-1, PageAlignment::HeadingAfterCut(nHeading, 2, 4)) << "the cut took the heading";
    EXPECT_EQ(7, PageAlignment::RowsAfterCut(e.engine, 2, 1, nHeading, 5));
    // Cutting both empty rows too brings it to row 2: three empty rows push it to row 5.
    EXPECT_EQ(7, PageAlignment::RowsAfterCut(e.engine, 2, 3, nHeading, 5));
    EXPECT_EQ(7, e.sheet.nUsedRows);
    EXPECT_EQ(kindLarge, e.engine.EditKind(5));
}

// A heading behind an empty row later in the estimate (an estimate aligned only from now
// on) is aligned by the cut as well: its empty rows count among the rows the file must hold.
TEST(PageAlignmentTest, RowsAfterACutCountTheLaterHeadingsAlignedWithIt)
{
    CTestEstimate e({{"文字", "", "", "", "6", ""}});
    for (ERowKind nKind : {kindDetail, kindDetail, kindDetail, kindEmpty, kindEmpty, kindLarge, kindDetail,
                           kindEmpty, kindLarge, kindDetail})
        e.AddRow(nKind, {"x"});
    // Pages of 5: cutting row 0 pulls the heading at row 5 up a row, and an empty row pushes
    // it back; the heading at row 8 behind an empty row then goes to row 10, two rows on.
    EXPECT_EQ(12, PageAlignment::RowsAfterCut(e.engine, 0, 1, 5, 5));
    EXPECT_EQ(10, e.sheet.nUsedRows) << "the estimate itself is left";
}

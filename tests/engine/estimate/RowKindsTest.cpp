// The row-kind vocabulary against the kinds an estimate file stores: 0 empty, 1 2 3 the
// large, middle and small headings, 5 detail, 6 discount, 7 kind heading, 8 free (tax) row,
// 9 step, heading + 10 its total (15 the grand total), 21 to 24 classification rows,
// level + 30 the discount totals (35 the discount grand total), + 50 non-calculated and
// + 100 a summary-page row. The expectations are written out from that list.
#include "engine/estimate/RowKinds.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

namespace {

bool In(const std::set<int>& kinds, int nKind)
{
    return kinds.count(nKind) != 0;
}

} // namespace

TEST(RowKinds, TheNamesCarryTheNumbersTheFilesStore)
{
    const std::pair<int, int> named[] = {{kindEmpty, 0},
                                         {kindLarge, 1},
                                         {kindMiddle, 2},
                                         {kindSmall, 3},
                                         {kindDetail, 5},
                                         {kindDiscount, 6},
                                         {kindKind, 7},
                                         {kindFree, 8},
                                         {kindStep, 9},
                                         {kindLargeTotal, 11},
                                         {kindMiddleTotal, 12},
                                         {kindSmallTotal, 13},
                                         {kindGrandTotal, 15},
                                         {kindKindTotal, 17},
                                         {kindClassify, 21},
                                         {kindClassify4, 24},
                                         {kindLargeDiscountTotal, 31},
                                         {kindGrandDiscountTotal, 35},
                                         {kindKindDiscountTotal, 37}};
    for (const auto& [nName, nStored] : named)
        EXPECT_EQ(nName, nStored);

    // A heading's total is ten above it, its discount total thirty above its level; level
    // 5 (the whole estimate) gives the two grand totals.
    for (const auto& [nHeading, nTotal, nDiscountTotal] :
         {std::tuple{1, 11, 31}, std::tuple{2, 12, 32}, std::tuple{3, 13, 33}, std::tuple{7, 17, 37},
          std::tuple{5, 15, 35}}) {
        EXPECT_EQ(TotalKindOf(KindFromNumber(nHeading)), nTotal);
        EXPECT_EQ(TotalKindOf(LevelFromNumber(nHeading)), nTotal);
        EXPECT_EQ(HeadingOfTotalKind(KindFromNumber(nTotal)), nHeading);
        EXPECT_EQ(LevelNumber(LevelOfTotalKind(KindFromNumber(nTotal))), nHeading);
        EXPECT_EQ(DiscountTotalKindOf(LevelFromNumber(nHeading)), nDiscountTotal);
        EXPECT_EQ(LevelNumber(LevelOfDiscountTotalKind(KindFromNumber(nDiscountTotal))), nHeading);
    }
    EXPECT_EQ(NonCalculatedKindOf(kindDetail), 55);
    EXPECT_EQ(SummaryKindOf(kindKindTotal), 117);
}

TEST(RowKinds, EachPredicateHoldsForExactlyItsKinds)
{
    const std::set<int> headings = {1, 2, 3, 7};
    const std::set<int> leaves = {5, 6, 8, 9, 21, 22, 23};
    const std::set<int> headingTotals = {11, 12, 13, 17};
    const std::set<int> discountTotals = {31, 32, 33, 35, 37};
    const std::set<int> subtotals = {11, 12, 13, 17, 31, 32, 33, 37}; // not 15 and 35
    for (int n = -1; n < 300; ++n) {
        const ERowKind k = KindFromNumber(n);
        EXPECT_EQ(IsHeadingKind(k), In(headings, k)) << k;
        EXPECT_EQ(IsLeafKind(k), In(leaves, k)) << k;
        EXPECT_EQ(IsHeadingTotalKind(k), In(headingTotals, k)) << k;
        EXPECT_EQ(IsTotalKind(k), In(headingTotals, k) || k == 15) << k;
        EXPECT_EQ(IsDiscountTotalKind(k), In(discountTotals, k)) << k;
        EXPECT_EQ(IsSubtotalKind(k), In(subtotals, k)) << k;
        EXPECT_EQ(IsClassifyKind(k), k >= 21 && k <= 24) << k;
        EXPECT_EQ(IsNonCalculatedKind(k), k >= 50 && k <= 99) << k;
        EXPECT_EQ(IsSummaryKind(k), k >= 100) << k;
        EXPECT_EQ(IsOwnTotalKind(k),
                  k == 8 || k == 11 || k == 12 || k == 13 || k == 15 || k == 17 || (k >= 31 && k <= 37))
            << k;
    }
}

TEST(RowKinds, HeadingsStandKindAboveLargeAboveMiddleAboveSmall)
{
    // Rank from the top; a heading is at or above another when its rank is not larger.
    const std::pair<int, int> ranks[] = {{7, 0}, {1, 1}, {2, 2}, {3, 3}};
    for (const auto& [nKind, nKindRank] : ranks) {
        for (const auto& [nHeading, nHeadingRank] : ranks)
            EXPECT_EQ(IsHeadingAtOrAbove(KindFromNumber(nKind), KindFromNumber(nHeading)),
                      nKindRank <= nHeadingRank)
                << nKind << " " << nHeading;
        EXPECT_FALSE(IsHeadingAtOrAbove(KindFromNumber(nKind), HeadingKindOf(ETotalLevel::levelGrand)))
            << "the grand level has no heading";
        EXPECT_FALSE(IsHeadingAtOrAbove(kindDetail, KindFromNumber(nKind))) << "a detail is no heading";
    }
}

TEST(RowKinds, TheDisplayPaintsTheListedNonCalculatedKindsInTheirColours)
{
    const std::set<int> painted = {51, 52, 53, 55, 56, 57, 58, 59, 61, 62, 63, 65,
                                   66, 67, 68, 69, 71, 72, 73, 74, 81, 82, 83, 85};
    for (int k = 0; k < 200; ++k)
        EXPECT_EQ(IsPaintedNonCalculatedKind(KindFromNumber(k)), In(painted, k)) << k;
}

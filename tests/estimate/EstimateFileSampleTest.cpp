// The demo estimate in samples/WORK: it opens, its totals and tax are what the engine
// computes, and a save with the full save-time recalculation writes the same file again.
#include "tests/estimate/EstimateFileTestSupport.h"

#include "platform/base/Path.h"

#include <filesystem>
#include <set>

namespace {

std::string SampleEstimatePath()
{
    // The build passes the source tree's root; the samples lie in its samples/.
    const std::filesystem::path root = std::filesystem::path(MORVEL_SOURCE_DIR);
    return (root / "samples" / "WORK" / "サンプル見積.MMD").string();
}

class EstimateFileSampleTest : public EstimateFileTest {
protected:
    EstimateFileSampleTest()
    {
        // The sample settings: 8 % tax rounded by the amount column's rounding rule.
        settings->m_nTax = 8;
        settings->m_nRoundMode = 3;
        settings->WriteProfileInt("ReCalcSetting", "Level", 3);
    }
};

} // namespace

TEST_F(EstimateFileSampleTest, TheSampleEstimateOpensWithEveryKindOfRowAndConsistentTotals)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(SampleEstimatePath());
    ASSERT_FALSE(bytes.empty());
    OpenedEstimate e;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(e.doc->OnOpenDocument(SystemPathFromNative(SampleEstimatePath())));
    e.view->SetupFromDocument();
    EXPECT_TRUE(boxes.entries.empty());
    ASSERT_EQ(10, e.doc->m_EstimationForm.GetCount());
    EXPECT_EQ(13, e.view->GetModel().GetInformationCount());
    EXPECT_EQ("株式会社 山田商事", e.view->GetModel().GetInformation(0).ToUtf8());

    // Kind, large, middle and small headings, details, a discount, the tax row, every kind
    // of subtotal, a discount total and the grand total.
    std::set<int> kinds;
    double details = 0, discounts = 0, grandTotal = 0, tax = 0;
    const int nAmount = 5;
    for (int r = 0; r < e.view->GetUsedRows(); ++r) {
        const int nKind = e.view->GetRowKind(r);
        kinds.insert(nKind);
        const double amount = CNumberRules::ReadNumber(e.view->GetCellText(r, nAmount));
        if (nKind == kindDetail)
            details += amount;
        else if (nKind == kindDiscount)
            discounts += amount;
        else if (nKind == kindGrandTotal)
            grandTotal = amount;
        else if (nKind == kindFree)
            tax = amount;
    }
    for (int nKind : {0, 1, 2, 3, 5, 6, 7, 8, 11, 12, 13, 15, 17, 31})
        EXPECT_TRUE(kinds.count(nKind)) << nKind;
    EXPECT_LT(discounts, 0.0);
    EXPECT_EQ(details + discounts, grandTotal);
    // 8 %, cut to whole yen by the amount column's "D(-1)".
    EXPECT_EQ(static_cast<double>(static_cast<long long>(grandTotal * 8 / 100)), tax);

    // Saving recalculates everything and changes nothing.
    ASSERT_TRUE(e.doc->OnSaveDocument(Path("again.mmd")));
    EXPECT_EQ(bytes, Read("again.mmd"));
}

// Every heading of the sample stands under an open heading of the next higher level (large
// subjects under a kind, middle under large, small under middle), and every subtotal closes
// the heading it belongs to with the sum of the details and discounts under it: the tree
// beside the grid and the totals then tell the same story.
TEST_F(EstimateFileSampleTest, TheSampleEstimateNestsEveryHeadingUnderItsParentAndItsTotalsAddUp)
{
    OpenedEstimate e;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(e.doc->OnOpenDocument(SystemPathFromNative(SampleEstimatePath())));
    e.view->SetupFromDocument();
    const int nAmount = 5;
    // Depth of a heading kind: kind 0, large 1, middle 2, small 3.
    auto depthOf = [](int nKind) {
        switch (nKind) {
        case kindKind:
            return 0;
        case kindLarge:
            return 1;
        case kindMiddle:
            return 2;
        case kindSmall:
            return 3;
        default:
            return -1;
        }
    };
    struct Open {
        int nRow;
        int nDepth;
        double sum;
    };
    std::vector<Open> open;
    int nKindHeadings = 0;
    for (int r = 0; r < e.view->GetUsedRows(); ++r) {
        const int nKind = e.view->GetRowKind(r);
        const double amount = CNumberRules::ReadNumber(e.view->GetCellText(r, nAmount));
        if (const int nDepth = depthOf(nKind); nDepth >= 0) {
            // A heading of the same or a higher level ends what is open at its depth only
            // when that was closed by its total; the sample closes every heading.
            if (nDepth == 0) {
                EXPECT_TRUE(open.empty()) << "kind heading in row " << r << " inside another heading";
                ++nKindHeadings;
            } else {
                ASSERT_FALSE(open.empty()) << "heading in row " << r << " stands outside every kind";
                // Details may stand directly under a large subject, so a small heading needs a
                // middle one, a middle heading a large one, a large heading a kind.
                EXPECT_EQ(nDepth - 1, open.back().nDepth) << "heading in row " << r;
            }
            open.push_back({r, nDepth, 0});
        } else if (nKind == kindDetail || nKind == kindDiscount) {
            if (!open.empty())
                open.back().sum += amount;
        } else if (const int nClosed = depthOf(nKind - kindTotalOffset); nClosed >= 0) {
            ASSERT_FALSE(open.empty()) << "subtotal in row " << r << " closes nothing";
            EXPECT_EQ(nClosed, open.back().nDepth) << "subtotal in row " << r;
            EXPECT_DOUBLE_EQ(open.back().sum, amount)
                << "subtotal in row " << r << " of the heading in row " << open.back().nRow;
            open.pop_back();
            if (!open.empty())
                open.back().sum += amount;
        }
    }
    EXPECT_TRUE(open.empty()) << "a heading in row " << (open.empty() ? -1 : open.back().nRow)
                              << " is never closed";
    EXPECT_GE(nKindHeadings, 2);
}

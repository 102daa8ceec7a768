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
        // The sample settings: 8 % tax rounded by the amount column's specification.
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
    EXPECT_EQ(13, e.view->GetInformationCount());
    EXPECT_EQ("株式会社 山田商事", e.view->GetInformation(0).ToUtf8());

    // Kind, large, middle and small headings, details, a discount, the tax row, every kind
    // of subtotal, a discount total and the grand total.
    std::set<int> kinds;
    double details = 0, discounts = 0, grandTotal = 0, tax = 0;
    const int nAmount = 5;
    for (int r = 0; r < e.view->GetUsedRows(); ++r) {
        const int nKind = e.view->GetRowKind(r);
        kinds.insert(nKind);
        const double amount = CNumberRules::ReadNumber(e.view->GetCellText(r, nAmount));
        if (nKind == 5)
            details += amount;
        else if (nKind == 6)
            discounts += amount;
        else if (nKind == 15)
            grandTotal = amount;
        else if (nKind == 8)
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

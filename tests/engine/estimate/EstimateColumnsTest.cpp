// The columns' rules as CEstimateColumns keeps them: taken again when the form's texts
// change between batches, whichever question (the attribute's or the whole column's) came
// first in a batch, and a change while a batch lives reported in the builds with checks.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CEstimateColumns.h"
#include "platform/base/Check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Quantity, price and amount ("C*E"-like, over columns 0 and 1), and a note.
std::vector<CTestColumn> Columns()
{
    return {{"数値", "###,###.##", "", "", "", ""},
            {"数値", "###,###", "", "", "", ""},
            {"計算", "###,###", "A*B", "D(-1)", "", ""},
            {"文字", "", "", "", "", ""}};
}

} // namespace

TEST(EstimateColumnsTest, EveryTextChangedBetweenBatchesIsTakenAgain)
{
    CTestSheet sheet(Columns());
    const CEstimateColumns columns(sheet, sheet.nColumnCount);
    {
        const CEstimateColumns::CBatch batch(columns);
        ASSERT_EQ(columns.Get(2).formula.GetReferences(), (std::vector<int>{0, 1}));
        EXPECT_TRUE(columns.Get(2).spec.bActive);
        EXPECT_FALSE(columns.IsNumeric(3));
    }
    // The attribute stays: a batch that first asks only whether the column computes must
    // still give the new rounding rule and formula when the whole column is asked for.
    sheet.SetColumnText(2, IColumnTexts::textRounding, "");
    sheet.SetColumnText(2, IColumnTexts::textFormula, "B/A");
    {
        const CEstimateColumns::CBatch batch(columns);
        EXPECT_TRUE(columns.IsFormula(2));
        EXPECT_FALSE(columns.Get(2).spec.bActive);
        EXPECT_EQ(columns.Get(2).formula.GetReferences(), (std::vector<int>{1, 0}));
    }
    // The attribute changes: the attribute's question sees it, in a batch and outside one.
    sheet.SetColumnText(3, IColumnTexts::textAttribute, "計算");
    sheet.SetColumnText(2, IColumnTexts::textAttribute, "文字");
    {
        const CEstimateColumns::CBatch batch(columns);
        EXPECT_TRUE(columns.IsFormula(3));
        EXPECT_FALSE(columns.IsNumeric(2));
        EXPECT_EQ(columns.GetFormulaColumns(), (std::vector<int>{3}));
    }
    sheet.SetColumnText(3, IColumnTexts::textAttribute, "数値");
    EXPECT_FALSE(columns.IsFormula(3));
    EXPECT_TRUE(columns.IsNumeric(3));
}

TEST(EstimateColumnsTest, AFormChangedWhileABatchLivesIsReported)
{
    if constexpr (!kChecksOn)
        GTEST_SKIP() << "a build without checks";
    CTestSheet sheet(Columns());
    const CEstimateColumns columns(sheet, sheet.nColumnCount);
    std::vector<std::string> failures;
    CCheckHandlerScope scope([&](const CCheckFailure& failure) { failures.push_back(failure.message); });
    const CEstimateColumns::CBatch batch(columns);
    EXPECT_TRUE(columns.IsFormula(2));
    (void)columns.Get(1);
    EXPECT_EQ(columns.GetFormulaColumns(), (std::vector<int>{2}));
    EXPECT_TRUE(failures.empty());
    sheet.SetColumnText(2, IColumnTexts::textAttribute, "文字");
    (void)columns.IsFormula(2);
    (void)columns.GetFormulaColumns();
    sheet.SetColumnText(1, IColumnTexts::textPicture, "#.#");
    (void)columns.Get(1);
    EXPECT_EQ(failures, (std::vector<std::string>(3, "the form stays as it is while a batch lives")));
}

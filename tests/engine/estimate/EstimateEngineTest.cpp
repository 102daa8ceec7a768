// The estimate engine on its own, over rows and a form of the test's own: no view, no window
// and no toolkit in this program. The totals and the tax are held against sums the test
// works out from the numbers it typed.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Name, quantity, unit price, and an amount "計 A" worked out as quantity x price and cut
// to whole yen.
std::vector<CTestColumn> AmountColumns()
{
    return {
        {"文字", "", "", "", "6", ""},
        {"数値", "#,###.##", "", "", "3", ""},
        {"数値", "###,###", "", "", "", ""},
        {"計 A", "###,###", "B*C", "D(-1)", "", "2"},
    };
}

std::string Normal(long long nValue)
{
    char text[64];
    std::snprintf(text, sizeof text, "%lld.000000", nValue);
    return text;
}

} // namespace

// A large heading with three details, its total, the grand total and the consumption tax
// (10 %, rounded down): recalculated in full, then one quantity typed again, which the
// engine follows through its kept sums; both give the sums of the numbers typed.
TEST(EstimateEngineTest, TotalsAndTaxOfAnEstimateWithoutAView)
{
    CTestEstimate e(AmountColumns());
    e.sheet.tax.nRate = 10;
    e.sheet.tax.eRounding = ETaxRounding::down;
    e.AddRow(kindLarge, {"建築工事"});
    e.AddRow(kindDetail, {"足場", "12.5", "1,480"});
    e.AddRow(kindDetail, {"型枠", "3.25", "7,777"});
    e.AddRow(kindDetail, {"鉄筋", "40", "95"});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindGrandTotal, {});
    e.AddRow(kindFree, {"消費税"});
    ASSERT_EQ(7, e.sheet.nUsedRows);
    e.engine.RecalcAll();

    // 12.5 x 1480 = 18500, 3.25 x 7777 = 25275.25 cut to 25275, 40 x 95 = 3800.
    long long nAmounts[] = {18500, 25275, 3800};
    long long nSum = nAmounts[0] + nAmounts[1] + nAmounts[2];
    EXPECT_EQ(Normal(nAmounts[1]), e.Cell(2, 3));
    EXPECT_EQ(Normal(nSum), e.Cell(4, 3));
    EXPECT_EQ(Normal(nSum), e.Cell(5, 3));
    EXPECT_EQ(Normal(nSum / 10), e.Cell(6, 3));
    // A free row is left out of the estimate's amount the tax is taken from.
    EXPECT_EQ(static_cast<double>(nSum), e.engine.SumEstimateAmount(3, true));
    EXPECT_EQ(static_cast<double>(nSum + nSum / 10), e.engine.SumEstimateAmount(3, false));

    // Enter on a new quantity: the row, then the totals from it down, through the kept sums.
    e.engine.SetCellText("7", 3, 1, true);
    e.engine.CalcRow(3, 0);
    e.engine.RecalcTotals(3);
    EXPECT_TRUE(e.engine.AreTotalsKept());
    EXPECT_TRUE(e.engine.KeptSumsMatchTheRows());
    nAmounts[2] = 7 * 95;
    nSum = nAmounts[0] + nAmounts[1] + nAmounts[2];
    EXPECT_EQ(Normal(nSum), e.Cell(4, 3));
    EXPECT_EQ(Normal(nSum), e.Cell(5, 3));
    EXPECT_EQ(Normal(nSum / 10), e.Cell(6, 3));
}

// A column the totals add whose formula works out each row's share of the amount, cut to
// whole yen: a total shows the sum of the rows' shares, not the share of its amount.
TEST(EstimateEngineTest, ATotalAddsUpTheRowsFiguresOfAFormulaColumn)
{
    std::vector<CTestColumn> columns = AmountColumns();
    columns.push_back({"計 A", "###,###", "D/10", "D(-1)", "", "4"});
    CTestEstimate e(columns);
    e.AddRow(kindLarge, {"建築工事"});
    e.AddRow(kindDetail, {"足場", "1", "15"});
    e.AddRow(kindDetail, {"型枠", "1", "15"});
    e.AddRow(kindLargeTotal, {});
    e.engine.RecalcAll();
    EXPECT_EQ(Normal(30), e.Cell(3, 3));
    EXPECT_EQ(Normal(2), e.Cell(3, 4)) << "1 + 1, not 30 / 10";
}

// Several rows edited before one recalculation (a paste over rows, say), then a row marked
// non-calculated: the totals take every change, through the sums kept per total.
TEST(EstimateEngineTest, EditsOfSeveralRowsAndAKindChangeReachTheTotalsThroughTheKeptSums)
{
    CTestEstimate e(AmountColumns());
    e.AddRow(kindLarge, {"建築工事"});
    e.AddRow(kindDetail, {"足場", "1", "1,000"});
    e.AddRow(kindDetail, {"型枠", "1", "200"});
    e.AddRow(kindDetail, {"鉄筋", "1", "30"});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindGrandTotal, {});
    e.engine.RecalcAll();

    for (int r : {1, 3}) {
        e.engine.SetCellText("2", r, 1, true);
        e.engine.CalcRow(r, 0);
    }
    e.engine.RecalcTotals(1);
    EXPECT_EQ(Normal(2000 + 200 + 60), e.Cell(4, 3));
    EXPECT_EQ(Normal(2000 + 200 + 60), e.Cell(5, 3));

    e.engine.SetRowKind(NonCalculatedKindOf(kindDetail), 2);
    e.engine.RecalcTotals(2);
    EXPECT_TRUE(e.engine.AreTotalsKept());
    EXPECT_EQ(Normal(2000 + 60), e.Cell(4, 3));
    EXPECT_EQ(Normal(2000 + 60), e.Cell(5, 3));
}

// The tax at 10 % of 1,003 and of 1,007 (100.3 and 100.7) rounded as the settings say: up,
// down, half up, or by the amount column's rule (cut to whole yen).
TEST(EstimateEngineTest, TheTaxIsRoundedAsTheSettingsSay)
{
    struct CCase {
        ETaxRounding eRounding;
        const char* tax1003;
        const char* tax1007;
    };
    const CCase cases[] = {
        {ETaxRounding::up, "101.000000", "101.000000"},
        {ETaxRounding::down, "100.000000", "100.000000"},
        {ETaxRounding::halfUp, "100.000000", "101.000000"},
        {ETaxRounding::byColumn, "100.000000", "100.000000"},
    };
    for (const CCase& test : cases) {
        for (const char* price : {"1,003", "1,007"}) {
            CTestEstimate e(AmountColumns());
            e.sheet.tax.nRate = 10;
            e.sheet.tax.eRounding = test.eRounding;
            e.AddRow(kindDetail, {"足場", "1", price});
            e.AddRow(kindGrandTotal, {});
            e.AddRow(kindFree, {"消費税"});
            e.engine.RecalcAll();
            EXPECT_EQ(price[4] == '3' ? test.tax1003 : test.tax1007, e.Cell(2, 3))
                << static_cast<int>(test.eRounding) << " " << price;
        }
    }
}

// A cell outside the row limit or the form's columns stores nothing and grows no used row.
TEST(EstimateEngineTest, ACellOutsideTheRowLimitOrTheFormIsNotStored)
{
    CTestEstimate e(AmountColumns());
    e.sheet.nRowLimit = 10;
    e.AddRow(kindDetail, {"足場", "1", "1,000"});
    EXPECT_FALSE(e.engine.SetCellText("x", 10, 0, true));
    EXPECT_FALSE(e.engine.SetCellText("x", 0, 4, true));
    EXPECT_FALSE(e.engine.SetCellText("x", -1, 0, true));
    EXPECT_EQ(1, e.sheet.nUsedRows);
    EXPECT_EQ(1, e.rows.GetSize());
    EXPECT_EQ("", e.rows.GetRow(0)->GetCell(4).str());
}

// Two tax rows one under the other both take the new tax when an amount above them changes,
// through the kept sums (whole amounts) and through a walk over the rows (amounts with
// decimals).
TEST(EstimateEngineTest, TaxRowsSideBySideBothTakeTheNewTax)
{
    for (const char* picture : {"###,###", "#,###.##"}) {
        CTestEstimate e({
            {"文字", "", "", "", "6", ""},
            {"数値", "#,###.##", "", "", "3", ""},
            {"数値", "#,###.##", "", "", "", ""},
            {"計 A", picture, "B*C", "", "", "2"},
        });
        e.sheet.tax.nRate = 10;
        e.sheet.tax.eRounding = ETaxRounding::down;
        e.AddRow(kindDetail, {"足場", "1", "1,000.5"});
        e.AddRow(kindGrandTotal, {});
        e.AddRow(kindFree, {"消費税"});
        e.AddRow(kindFree, {"消費税"});
        e.engine.RecalcAll();
        ASSERT_EQ(Normal(100), e.Cell(3, 3)) << picture;
        for (bool bForget : {false, true}) {
            e.engine.SetCellText(bForget ? "3" : "2", 0, 1, true);
            e.engine.CalcRow(0, 0);
            if (bForget)
                e.engine.ForgetKeptTotals();
            e.engine.RecalcTotals(0);
            const long long nTax = bForget ? 300 : 200;
            EXPECT_EQ(Normal(nTax), e.Cell(2, 3)) << picture << bForget;
            EXPECT_EQ(Normal(nTax), e.Cell(3, 3)) << picture << bForget;
        }
    }
}

// 600 estimates in one, each closed by its grand total and tax row: an edit at the top
// changes every grand total and tax row below it (1,200 rows). The end of the command
// still finishes the work through the kept sums, not by recalculating everything.
TEST(EstimateEngineTest, AnEditOverHundredsOfGrandTotalsAndTaxRowsEndsThroughTheKeptSums)
{
    CTestEstimate e(AmountColumns());
    e.sheet.tax.nRate = 10;
    e.sheet.tax.eRounding = ETaxRounding::down;
    const int nEstimates = 600;
    for (int i = 0; i < nEstimates; ++i) {
        e.AddRow(kindDetail, {"足場", "1", "1,000"});
        e.AddRow(kindGrandTotal, {});
        e.AddRow(kindFree, {"消費税"});
    }
    e.engine.RecalcAll();

    e.engine.SetCellText("3", 0, 1, true);
    e.engine.CalcRow(0, 0);
    e.engine.RecalcTotals(0);
    EXPECT_TRUE(e.engine.RecalcChangedFigures());
    EXPECT_TRUE(e.engine.AreTotalsKept());
    const long long nSum = 1000LL * (nEstimates + 2);
    // The last grand total adds the tax rows above it too.
    EXPECT_EQ(Normal(nSum + (nEstimates - 1) * (nSum / 10)), e.Cell(3 * nEstimates - 2, 3));
    EXPECT_EQ(Normal(nSum / 10), e.Cell(2, 3));
    EXPECT_EQ(Normal(nSum / 10), e.Cell(3 * nEstimates - 1, 3));
    EXPECT_FALSE(e.engine.HasChangesSinceFiguresDone());
    EXPECT_FALSE(e.engine.RecalcChangedFigures()) << "nothing left to work out";
}

// A column worked out from the amount, left of it in the form, on a total row and on the
// tax row: one full recalculation after a quantity changed gives it the new total and tax,
// as a second one would.
TEST(EstimateEngineTest, OneFullRecalculationWorksOutTotalAndTaxRowsOnTheirNewFigures)
{
    // Name, quantity, unit price, half the amount (not added up), the amount.
    CTestEstimate e({
        {"文字", "", "", "", "6", ""},
        {"数値", "#,###.##", "", "", "3", ""},
        {"数値", "###,###", "", "", "", ""},
        {"計", "###,###", "E/2", "D(-1)", "", ""},
        {"計 A", "###,###", "B*C", "D(-1)", "", "2"},
    });
    e.sheet.tax.nRate = 10;
    e.AddRow(kindLarge, {"仮設工事"});
    e.AddRow(kindDetail, {"ItemA", "2", "1000"});
    e.AddRow(kindDetail, {"ItemB", "3", "1000"});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindFree, {"消費税"});
    e.engine.RecalcAll();
    ASSERT_EQ(Normal(5000), e.Cell(3, 4));
    ASSERT_EQ(Normal(500), e.Cell(4, 4));

    e.engine.SetCellText("4", 1, 1, true);
    e.engine.RecalcAll();
    EXPECT_EQ(Normal(7000), e.Cell(3, 4));
    EXPECT_EQ(Normal(3500), e.Cell(3, 3));
    EXPECT_EQ(Normal(700), e.Cell(4, 4));
    EXPECT_EQ(Normal(350), e.Cell(4, 3));
}

// A total row works out a formula column that reads a column right of it (the half of a
// doubled amount the totals do not add) on that column as the row's last rewrite left it:
// which totals an edit rewrites changes what they show, so such a form keeps no sums and
// an edit walks the totals; the amounts come out as typed.
TEST(EstimateEngineTest, AFormWhoseTotalsReadAFormulaRightOfItKeepsNoSums)
{
    std::vector<CTestColumn> columns = AmountColumns();
    columns.insert(columns.begin() + 3, {"計", "###,###", "F/2", "", "", ""});
    columns[4][2] = "B*C";
    columns.push_back({"計", "###,###", "E*2", "", "", ""});
    CTestEstimate e(columns);
    e.AddRow(kindLarge, {"仮設"});
    e.AddRow(kindDetail, {"足場", "1", "100"});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindLarge, {"基礎"});
    e.AddRow(kindDetail, {"型枠", "1", "300"});
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindGrandTotal, {});
    e.engine.RecalcAll();

    e.engine.SetCellText("2", 1, 1, true);
    e.engine.CalcRow(1, 0);
    e.engine.RecalcTotals(1);
    EXPECT_FALSE(e.engine.AreTotalsKept());
    EXPECT_EQ(Normal(200), e.Cell(2, 4));
    EXPECT_EQ(Normal(500), e.Cell(6, 4));
}

// A word stored in a summed number cell ("1abc56", "1,1,250.50": no number as typed) adds
// nothing, wherever the sum is made: the full recalculation's walk, an edit through the
// kept sums, the totals made one by one, and the estimate's amount the tax is taken from.
TEST(EstimateEngineTest, AWordInASummedNumberCellAddsNothing)
{
    const std::vector<CTestColumn> columns = {
        {"文字", "", "", "", "6", ""},
        {"数値", "###,###", "", "", "", "2"},
    };
    for (bool bOneByOne : {false, true}) {
        CTestEstimate e(columns);
        e.engine.SetTotalsOneByOne(bOneByOne);
        e.sheet.tax.nRate = 10;
        e.AddRow(kindLarge, {"建築工事"});
        e.AddRow(kindDetail, {"足場", "1,000"});
        e.AddRow(kindDetail, {"型枠", "1abc56"});
        e.AddRow(kindDetail, {"鉄筋", "1,1,250.50"});
        e.AddRow(kindLargeTotal, {});
        e.AddRow(kindGrandTotal, {});
        e.AddRow(kindFree, {"消費税"});
        ASSERT_EQ("1abc56", e.Cell(2, 1));
        e.engine.RecalcAll();
        EXPECT_EQ(Normal(1000), e.Cell(4, 1)) << bOneByOne;
        EXPECT_EQ(Normal(1000), e.Cell(5, 1)) << bOneByOne;
        EXPECT_EQ(Normal(100), e.Cell(6, 1)) << bOneByOne;
        EXPECT_EQ(1000.0, e.engine.SumEstimateAmount(1, true)) << bOneByOne;

        e.engine.SetCellText("2,000", 1, 1, true);
        e.engine.CalcRow(1, 0);
        e.engine.RecalcTotals(1);
        EXPECT_EQ(!bOneByOne, e.engine.AreTotalsKept());
        EXPECT_EQ(Normal(2000), e.Cell(4, 1)) << bOneByOne;
        EXPECT_EQ(Normal(2000), e.Cell(5, 1)) << bOneByOne;
        EXPECT_EQ(Normal(200), e.Cell(6, 1)) << bOneByOne;
    }
}

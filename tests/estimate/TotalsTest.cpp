#include "tests/estimate/EstimateTestSupport.h"

#include "engine/estimate/CGridRow.h"

namespace {

class TotalsTest : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }

    // A complete estimate built as a user builds it, the total rows made by the commands:
    //  0 種目 建築工事            7 掘削 3 x 1000         11 建築工事 小計 (17)
    //  1 大 仮設工事              8 値引 -200 (6)         12 消費税 (8)
    //  2 足場 10 x 100            9 土工事 小計 (12)      13 総合計 (15)
    //  3 養生 2 x 250            10 基礎工事 小計 (11)
    //  4 仮設工事 小計 (11)
    //  5 大 基礎工事  6 中 土工事
    void BuildEstimate()
    {
        Heading(0, kindKind, "建築工事");
        Heading(1, kindLarge, "仮設工事");
        Detail(2, "足場", "10", "100");
        Detail(3, "養生", "2", "250");
        Total(4, CMorvelEMView::levelLarge);
        Heading(5, kindLarge, "基礎工事");
        Heading(6, kindMiddle, "土工事");
        Detail(7, "掘削", "3", "1000");
        view->SetCellText("値引"_sj, 8, colName, TRUE);
        view->SetCellText("-200", 8, colAmount, TRUE);
        view->SetRowKind(kindDiscount, 8);
        Total(9, CMorvelEMView::levelMiddle);
        Total(10, CMorvelEMView::levelLarge);
        Total(11, CMorvelEMView::levelKind);
        view->SetCurrentCell(view->GetCurrentCol(), 12);
        view->InsertConsumptionTax();
        Total(13, CMorvelEMView::levelGrand);
    }
    void Total(int row, ETotalLevel level)
    {
        view->SetCurrentCell(view->GetCurrentCol(), row);
        view->InsertTotal(level);
    }
};

} // namespace

TEST_F(TotalsTest, TotalCommandsLabelAndFillEveryLevel)
{
    BuildEstimate();
    EXPECT_EQ(kindLargeTotal, view->GetRowKind(4));
    EXPECT_EQ("仮設工事 小  計", Utf8Cell(4, colName));
    EXPECT_EQ(1500, Value(4, colAmount));
    EXPECT_EQ(kindMiddleTotal, view->GetRowKind(9));
    EXPECT_EQ("土工事 小  計", Utf8Cell(9, colName));
    EXPECT_EQ(2800, Value(9, colAmount));
    EXPECT_EQ("基礎工事 小  計", Utf8Cell(10, colName));
    EXPECT_EQ(2800, Value(10, colAmount)); // 計 A: the leaf rows under the middle heading too
    EXPECT_EQ(kindKindTotal, view->GetRowKind(11));
    EXPECT_EQ(4300, Value(11, colAmount));
    EXPECT_EQ(kindFree, view->GetRowKind(12));
    EXPECT_EQ("消費税", Utf8Cell(12, colName));
    EXPECT_EQ("344.000000", Cell(12, colAmount));
    EXPECT_EQ(kindGrandTotal, view->GetRowKind(13));
    EXPECT_EQ("【 総  合  計 】", Utf8Cell(13, colName));
    EXPECT_EQ(4644, Value(13, colAmount)); // the tax row counts in the grand total
    EXPECT_EQ(14, view->GetCurrentRow());
    EXPECT_EQ(14, view->GetUsedRows());
}

TEST_F(TotalsTest, RecalculationFromTheTopRefreshesTotalsAndTax)
{
    BuildEstimate();
    view->SetCellText("20", 2, colQty, TRUE);
    view->GetModel().Engine().CalcRow(2, 0);
    doc->SetModifiedFlag(FALSE);
    view->RecalcTotals(-1);
    EXPECT_EQ(2500, Value(4, colAmount));
    EXPECT_EQ(5300, Value(11, colAmount));
    EXPECT_EQ(424, Value(12, colAmount));
    EXPECT_EQ(5724, Value(13, colAmount));
    EXPECT_TRUE(doc->IsModified());
    // Labels of existing totals are kept.
    EXPECT_EQ("仮設工事 小  計", Utf8Cell(4, colName));
}

TEST_F(TotalsTest, RecalculatingBelowATotalLeavesThatTotalAlone)
{
    BuildEstimate();
    view->SetCellText("20", 2, colQty, TRUE);
    view->GetModel().Engine().CalcRow(2, 0);
    view->RecalcTotals(5);
    EXPECT_EQ(1500, Value(4, colAmount));
    EXPECT_EQ(5300, Value(11, colAmount)); // below the start: refreshed
}

TEST_F(TotalsTest, NonCalculatedRowsCountInNoTotal)
{
    BuildEstimate();
    view->SetRowKind(NonCalculatedKindOf(kindDetail), 3);
    view->RecalcTotals(0);
    EXPECT_EQ(1000, Value(4, colAmount));
    EXPECT_EQ(3800, Value(11, colAmount));
    EXPECT_EQ(304, Value(12, colAmount));
}

TEST_F(TotalsTest, AGrandTotalDirectlyBelowRowZeroCoversRowZeroOnly)
{
    Detail(0, "a", "1", "100");
    Total(1, CMorvelEMView::levelGrand);
    EXPECT_EQ(kindGrandTotal, view->GetRowKind(1));
    EXPECT_EQ(100, Value(1, colAmount));
}

TEST_F(TotalsTest, ATotalWithoutItsHeadingLeavesTheInsertedRowEmpty)
{
    Detail(0, "a", "1", "100");
    Total(1, CMorvelEMView::levelLarge);
    EXPECT_EQ(kindEmpty, view->GetRowKind(1));
    EXPECT_EQ("", Cell(1, colAmount));
    Heading(2, kindSmall, "s");
    Total(3, CMorvelEMView::levelSmall); // nothing between heading and total
    EXPECT_EQ(kindEmpty, view->GetRowKind(3));
}

TEST_F(TotalsTest, TheTotalLabelTakesTheIndentOfTheNearestLargeHeading)
{
    Heading(0, kindLarge, "L");
    view->SetCellIndent(3, 0, colName);
    Heading(1, kindSmall, "S");
    Detail(2, "a", "1", "5");
    Total(3, CMorvelEMView::levelSmall);
    EXPECT_EQ(3, view->GetCellIndent(3, colName));
    EXPECT_EQ("S 小  計", Utf8Cell(3, colName));
}

TEST_F(TotalsTest, TwoTaxRowsAreBothRefreshed)
{
    Detail(0, "a", "10", "100");
    view->SetRowKind(kindFree, 1);
    view->SetCellText("1", 1, colAmount, TRUE);
    Detail(2, "b", "5", "100");
    view->SetRowKind(kindFree, 3);
    view->SetCellText("2", 3, colAmount, TRUE);
    view->RecalcTotals(0);
    EXPECT_EQ(120, Value(1, colAmount));
    EXPECT_EQ(120, Value(3, colAmount));
}

TEST_F(TotalsTest, TaxRateAndRoundingComeFromTheSettings)
{
    Detail(0, "a", "1", "12345");
    CString tax;
    settings->m_nRoundMode = 1;
    view->GetModel().Engine().CalcTaxAmount(tax, colAmount, TRUE, 8);
    EXPECT_EQ("987.000000", tax.str());
    settings->m_nRoundMode = 2;
    view->GetModel().Engine().CalcTaxAmount(tax, colAmount, TRUE, 8);
    EXPECT_EQ("988.000000", tax.str());
    settings->m_nRoundMode = 0;
    view->GetModel().Engine().CalcTaxAmount(tax, colAmount, TRUE, 8);
    EXPECT_EQ("988.000000", tax.str());
    settings->m_nRoundMode = 3; // the amount column's own D(-1)
    view->GetModel().Engine().CalcTaxAmount(tax, colAmount, TRUE, 8);
    EXPECT_EQ("987.000000", tax.str());
    settings->m_nRoundMode = 7;
    view->GetModel().Engine().CalcTaxAmount(tax, colAmount, TRUE, 8);
    EXPECT_EQ("987.600000", tax.str());
    view->GetModel().Engine().CalcTaxAmount(tax, -1, TRUE, 8);
    EXPECT_EQ("0.0", tax.str());

    settings->m_nRoundMode = 3;
    settings->m_nTax = 10;
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->InsertConsumptionTax();
    EXPECT_EQ("1234.000000", Cell(1, colAmount));
}

TEST_F(TotalsTest, TheSecondAmountColumnOfTheTaxRowFollowsTheVerticalTotalSetting)
{
    std::vector<FormColumn> columns = StandardColumns();
    columns.push_back({"原価", "計 A", "12", "###,###", "F*0.6", "D(-1)", "", "3"});
    Open(columns);
    Detail(0, "a", "10", "1000");
    EXPECT_EQ(6000, Value(0, 8));
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->InsertConsumptionTax();
    EXPECT_EQ(800, Value(1, colAmount));
    EXPECT_EQ(800, Value(1, 8));
    settings->WriteProfileString("Tax Vertical Total", "3", "縦合計"_sj);
    EXPECT_TRUE(view->IsTaxVerticalTotal());
    view->RecalcTotals(0);
    EXPECT_EQ(800, Value(1, colAmount));
    EXPECT_EQ(480, Value(1, 8));
}

TEST_F(TotalsTest, DiscountTotalsAddOnlyDiscountRows)
{
    Heading(0, kindLarge, "仮設工事");
    Detail(1, "a", "1", "1000");
    view->SetCellText("-100", 2, colAmount, TRUE);
    view->SetRowKind(kindDiscount, 2);
    view->SetCellText("-50", 3, colAmount, TRUE);
    view->SetRowKind(kindDiscount, 3);
    view->SetCurrentCell(view->GetCurrentCol(), 4);
    view->InsertDiscountTotal(CMorvelEMView::levelLarge);
    EXPECT_EQ(kindLargeDiscountTotal, view->GetRowKind(4));
    EXPECT_EQ(1, view->GetRowParam1(4));
    EXPECT_EQ("仮設工事値引合計", Utf8Cell(4, colName));
    EXPECT_EQ(-150, Value(4, colAmount));
    EXPECT_EQ(5, view->GetCurrentRow());

    // A level-5 discount total covers every discount row above it.
    Heading(5, kindLarge, "other");
    view->SetCellText("-7", 6, colAmount, TRUE);
    view->SetRowKind(kindDiscount, 6);
    view->SetCurrentCell(view->GetCurrentCol(), 7);
    view->InsertDiscountTotal(CMorvelEMView::levelGrand);
    EXPECT_EQ(kindGrandDiscountTotal, view->GetRowKind(7));
    EXPECT_EQ("値引 総 合 計", Utf8Cell(7, colName));
    EXPECT_EQ(-157, Value(7, colAmount));
}

TEST_F(TotalsTest, ARenamedHeadingDetachesItsDiscountTotal)
{
    Heading(0, kindLarge, "仮設工事");
    view->SetCellText("-100", 1, colAmount, TRUE);
    view->SetRowKind(kindDiscount, 1);
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->InsertDiscountTotal(CMorvelEMView::levelLarge);
    EXPECT_EQ(-100, Value(2, colAmount));
    view->SetCellText("-300", 1, colAmount, TRUE);
    view->SetCellText("別工事"_sj, 0, colName, TRUE);
    view->RecalcTotals(0);
    // Its heading is not found by the label: it adds no rows, and keeps no figure of the
    // time it did.
    EXPECT_EQ("", Cell(2, colAmount));
    view->SetCellText("仮設工事"_sj, 0, colName, TRUE);
    view->RecalcTotals(0);
    EXPECT_EQ(-300, Value(2, colAmount));
}

TEST_F(TotalsTest, SubtotalColumnsAddSubtotalsAndFormulaColumnsComputeOnTheTotalRow)
{
    Open({
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"数量", "数値", "8", "", "", "", "3", ""},
        {"金額", "計 A", "10", "###,###", "B*10", "", "", "2"},
        {"集計", "計 B", "10", "###,###", "B*100", "", "", "1"},
        {"倍額", "計 C", "10", "###,###", "C*2", "", "", ""},
        {"無印", "計 A", "10", "###,###", "B*1", "", "", ""},
    });
    Heading(0, kindLarge, "L");
    Heading(1, kindMiddle, "M");
    view->SetCellText("1", 2, 1, TRUE);
    view->SetRowKind(kindDetail, 2);
    view->GetModel().Engine().CalcRow(2, 0);
    // Subtotals with values of their own in the 計 B column.
    view->SetRowKind(kindSmallTotal, 3);
    view->SetCellText("300", 3, 3, TRUE);
    view->SetRowKind(kindMiddleTotal, 4);
    view->SetCellText("500", 4, 3, TRUE);
    view->SetCellText("1", 5, 1, TRUE);
    view->SetRowKind(kindDetail, 5);
    view->GetModel().Engine().CalcRow(5, 0);
    view->SetCurrentCell(view->GetCurrentCol(), 6);
    view->InsertTotal(CMorvelEMView::levelLarge);
    EXPECT_EQ(20, Value(6, 2));  // 計 A: the two detail rows
    EXPECT_EQ(800, Value(6, 3)); // 計 B: the subtotals instead
    EXPECT_EQ(40, Value(6, 4));  // 計 C: its formula on the total row
    EXPECT_EQ("", Cell(6, 5));   // no "V" code: not written
}

TEST_F(TotalsTest, SumUnderAHeadingReadsDownToTheNextHeadingOfItsLevel)
{
    Heading(0, kindLarge, "L1");
    Detail(1, "a", "1", "100");
    Heading(2, kindMiddle, "M");
    Detail(3, "b", "1", "50");
    view->SetRowKind(kindMiddleTotal, 4);
    view->SetCellText("999", 4, colAmount, TRUE);
    Heading(5, kindLarge, "L2");
    Detail(6, "c", "1", "7");
    view->SetCellText("-3", 7, colAmount, TRUE);
    view->SetRowKind(kindDiscount, 7);
    const CEstimateEngine& engine = view->GetModel().Engine();
    EXPECT_DOUBLE_EQ(150, engine.SumUnderHeading(0, CMorvelEMView::levelLarge, colAmount));
    EXPECT_DOUBLE_EQ(50, engine.SumUnderHeading(2, CMorvelEMView::levelMiddle, colAmount));
    EXPECT_DOUBLE_EQ(154, engine.SumUnderHeading(0, CMorvelEMView::levelGrand, colAmount));
    EXPECT_DOUBLE_EQ(-3, engine.SumUnderHeading(5, CMorvelEMView::levelDiscount, colAmount));
    EXPECT_DOUBLE_EQ(0, engine.SumUnderHeading(7, CMorvelEMView::levelLarge, colAmount - 99));
}

TEST_F(TotalsTest, TotalCommandsAreEnabledOnTheEditPageOnly)
{
    TestCmdUI cmdUI;
    view->OnUpdateEditPageOnly(&cmdUI);
    EXPECT_TRUE(cmdUI.enabled);
    view->SetSummaryPageShown(true);
    view->OnUpdateEditPageOnly(&cmdUI);
    EXPECT_FALSE(cmdUI.enabled);
}

TEST_F(TotalsTest, ATotalInsertedAboveAPageStartingHeadingKeepsTheHeadingAtItsPageStart)
{
    Heading(0, kindLarge, "L1");
    for (int r = 1; r <= 10; ++r)
        Detail(r, "d", "1", "10");
    Heading(18, kindLarge, "L2"); // starts the second page of 18 rows
    Detail(19, "e", "1", "5");
    Total(11, CMorvelEMView::levelLarge);
    EXPECT_EQ(kindLargeTotal, view->GetRowKind(11));
    EXPECT_EQ(100, Value(11, colAmount));
    EXPECT_EQ(kindLarge, view->GetRowKind(18)); // an empty row above it went instead
    EXPECT_EQ("L2", Cell(18, colName));
    EXPECT_EQ("e", Cell(19, colName));

    view->SetPageAlignment(false); // without alignment the heading moves down
    Total(12, CMorvelEMView::levelGrand);
    EXPECT_EQ(kindLarge, view->GetRowKind(19));
}

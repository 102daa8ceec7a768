// The CSV text of an estimate without windows: lines per row, headings, quoting.
#include "estimate_tools/EstimateCsv.h"
#include "tests/estimate/EstimateTestSupport.h"

#include <gtest/gtest.h>

namespace {

class EstimateCsvTextTest : public EstimateViewTest {};

TEST_F(EstimateCsvTextTest, ThreeRowsWithTwoColumnsChosenGiveThreeLines)
{
    Open();
    Heading(0, kindLarge, "建築");
    view->SetCellText("式"_sj, 0, colUnit, TRUE);
    Detail(2, "足場", "10", "500");
    view->SetCellText("m2", 2, colUnit, TRUE);
    std::vector<BOOL> ticks(8, FALSE);
    ticks[colName] = ticks[colUnit] = TRUE;
    // The heading's unit column is written empty; an empty row gives a single comma.
    EXPECT_EQ(EstimateCsv::WriteEstimate(view->GetModel(), view->GetEstimationForm(), ticks),
              "建築,\r\n,\r\n足場,m2\r\n"_sj.str());
}

TEST_F(EstimateCsvTextTest, WithoutAUnitColumnHeadingsKeepEveryCell)
{
    std::vector<FormColumn> columns = StandardColumns();
    columns[colUnit].t = "";
    Open(columns);
    Heading(0, kindKind, "本体");
    view->SetCellText("式"_sj, 0, colUnit, TRUE);
    std::vector<BOOL> ticks(8, FALSE);
    ticks[colName] = ticks[colUnit] = TRUE;
    EXPECT_EQ(EstimateCsv::WriteEstimate(view->GetModel(), view->GetEstimationForm(), ticks),
              "本体,式\r\n"_sj.str());
}

TEST_F(EstimateCsvTextTest, FieldsAreQuotedOnlyWhenTheyHoldACommaOrAQuote)
{
    EXPECT_EQ(EstimateCsv::QuoteField("plain text"), "plain text");
    EXPECT_EQ(EstimateCsv::QuoteField("1,000"), "\"1,000\"");
    EXPECT_EQ(EstimateCsv::QuoteField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(EstimateCsv::QuoteField(""), "");
    // Line breaks and trailing blanks leave the cell on output.
    Open();
    view->SetCellText("a\r\nb  ", 0, colName, TRUE);
    view->SetRowKind(kindDetail, 0);
    EXPECT_EQ(EstimateCsv::WriteEstimate(view->GetModel(), view->GetEstimationForm(), {TRUE}), "ab\r\n");
    // Fields longer than the field limit are cut, never overrun.
    const std::string longField(5000, 'x');
    EXPECT_EQ(EstimateCsv::GetCsvField(longField + ",y", 0).GetLength(), 2047);
    EXPECT_EQ(EstimateCsv::GetCsvField(longField + ",y", 1), "y");
}

} // namespace

// The summary table over an estimate of the test's own, without a view: which rows become
// lines at a level, what each line carries, and that the lines add up to the totals.
#include "engine/estimate/CSummaryTable.h"
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

enum { cName, cQty, cUnit, cPrice, cAmount, COLUMNS };

// Name ("T" 2), quantity ("T" 3), unit ("T" 1), unit price and the amount ("V" 2).
std::vector<CTestColumn> SummaryColumns()
{
    return {
        {"文字", "", "", "", "2", ""},
        {"数値", "#,###.##", "", "", "3", ""},
        {"文字", "", "", "", "1", ""},
        {"数値", "###,###", "", "", "", ""},
        {"計 A", "###,###", "B*D", "D(-1)", "", "2"},
    };
}

class SummaryTableTest : public ::testing::Test {
protected:
    void Detail(const char* lpszQty, const char* lpszPrice)
    {
        e.AddRow(kindDetail, {"明細", lpszQty, "m", lpszPrice});
    }
    CSummaryTable Table() { return CSummaryTable(e.engine, summary, e.sheet.nRowLimit, COLUMNS); }
    ERowKind Kind(int nRow) const
    {
        return summary.GetRow(nRow) != nullptr ? summary.GetRow(nRow)->GetKind() : kindEmpty;
    }
    std::string Cell(int nRow, int nCol) const
    {
        return summary.GetRow(nRow) != nullptr ? summary.GetRow(nRow)->m_strCell[nCol].ToUtf8() : "<none>";
    }

    CTestEstimate e{SummaryColumns()};
    CGridRowArray summary;
};

} // namespace

// Kinds 7, 1, 5, 5, 11, 1, 5, 11, 17 at the large level: the kind heading opens (its unit
// left out, having no rows of its own), each large heading carries its total's amount and a
// quantity of one, the kind total closes the group with an empty row.
TEST_F(SummaryTableTest, LargeLevelTakesHeadingsWithTheirTotalsAndClosesTheGroup)
{
    e.AddRow(kindKind, {"建築", nullptr, "式"});
    e.AddRow(kindLarge, {"仮設"});
    e.engine.MakeRow(1)->SetIndent(cName, 2);
    Detail("2", "1000");
    Detail("3", "500");
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindLarge, {"基礎"});
    Detail("1", "700");
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindKindTotal, {});
    e.engine.RecalcAll();

    CSummaryTable table = Table();
    table.BuildLevel(ESummaryLevel::largeSubjects);
    ASSERT_EQ(5, summary.GetSize());
    const std::vector<ERowKind> kinds = {SummaryKindOf(kindKind), SummaryKindOf(kindLarge),
                                         SummaryKindOf(kindLarge), SummaryKindOf(kindKindTotal), kindEmpty};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(kinds[static_cast<size_t>(r)], Kind(r)) << r;
    EXPECT_EQ("建築", Cell(0, cName));
    EXPECT_EQ("", Cell(0, cUnit));
    EXPECT_EQ("", Cell(0, cAmount));
    EXPECT_EQ("仮設", Cell(1, cName));
    EXPECT_EQ(2, summary.GetRow(1)->GetIndent(cName)) << "a line keeps its row's indents";
    EXPECT_EQ("1", Cell(1, cQty));
    // The line's own formula finds no unit price: the total's amount stays.
    EXPECT_EQ(e.Cell(4, cAmount), Cell(1, cAmount));
    EXPECT_EQ(3500.0, std::atof(Cell(1, cAmount).c_str()));
    EXPECT_EQ(e.Cell(7, cAmount), Cell(2, cAmount));
    EXPECT_EQ(e.Cell(8, cAmount), Cell(3, cAmount));
    EXPECT_EQ("", Cell(4, cName));

    // The next level starts on a page of its own.
    table.FillPage(18);
    EXPECT_EQ(18, summary.GetSize());
    EXPECT_EQ(18, table.GetRowsOnPages(18));
    table.BuildLevel(ESummaryLevel::kinds);
    EXPECT_EQ(SummaryKindOf(kindKind), Kind(18));
}

// Rows under the kind heading before any large heading belong to no large line: the kind
// heading's line carries them. A large heading without a total carries the sum of its rows.
// The lines add up to the kind total.
TEST_F(SummaryTableTest, OpeningLineCarriesRowsUnderNoHeadingOfTheLevelAndLinesAddUp)
{
    e.AddRow(kindKind, {"建築"});
    Detail("1", "900");
    e.AddRow(kindLarge, {"仮設"});
    Detail("2", "1000");
    Detail("3", "500");
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindLarge, {"基礎"});
    Detail("1", "700");
    e.AddRow(kindDiscount, {"値引", nullptr, nullptr, nullptr, "-100"});
    e.AddRow(kindKindTotal, {});
    e.engine.RecalcAll();

    Table().BuildLevel(ESummaryLevel::largeSubjects);
    ASSERT_EQ(5, summary.GetSize());
    EXPECT_EQ("1", Cell(0, cQty));
    EXPECT_EQ(900.0, std::atof(Cell(0, cAmount).c_str()));
    EXPECT_EQ(3500.0, std::atof(Cell(1, cAmount).c_str()));
    // 700 and the discount of -100 in its block.
    EXPECT_EQ(600.0, std::atof(Cell(2, cAmount).c_str()));
    EXPECT_EQ(SummaryKindOf(kindKindTotal), Kind(3));
    double lines = 0;
    for (int r = 0; r < 3; ++r)
        lines += std::atof(Cell(r, cAmount).c_str());
    EXPECT_EQ(std::atof(Cell(3, cAmount).c_str()), lines);
    EXPECT_EQ(std::atof(e.Cell(9, cAmount).c_str()), lines);
}

// A summary row's formula works on its own cells; a summary written at the top of the edit
// page is counted up to the first row of the estimate.
TEST_F(SummaryTableTest, RowFormulaOfASummaryRowAndTheRowsOfAWrittenSummary)
{
    const CEstimateColumns& columns = e.engine.Columns();
    CSummaryTable::SetKind(summary, e.sheet.nRowLimit, SummaryKindOf(kindLarge), 0);
    CSummaryTable::SetCell(summary, e.sheet.nRowLimit, columns, 0, cQty, "2");
    CSummaryTable::SetCell(summary, e.sheet.nRowLimit, columns, 0, cPrice, "300.5");
    CSummaryTable::SetCell(summary, e.sheet.nRowLimit, columns, 0, cAmount, "x");
    CSummaryTable::SetCell(summary, e.sheet.nRowLimit, columns, 0, COLUMNS, "outside");
    CSummaryTable::CalcRow(summary, e.sheet.nRowLimit, columns, 0, 0);
    EXPECT_EQ("601.000000", Cell(0, cAmount));
    EXPECT_EQ(1, summary.GetSize());

    e.AddRow(SummaryKindOf(kindKind), {"建築"});
    e.AddRow(kindEmpty, {});
    e.AddRow(SummaryKindOf(kindKindTotal), {});
    e.AddRow(kindKind, {"建築"});
    e.AddRow(SummaryKindOf(kindLarge), {});
    EXPECT_EQ(3, CSummaryTable::CountWrittenRows(e.engine));
}

// A large heading without a total carries its rows down to the next heading, its last row
// too; rows under the kind heading after a large heading's total, a middle heading's among
// them, belong to the kind heading's line. Lines that end on a page's last row keep it.
TEST_F(SummaryTableTest, EveryRowCountsOnceWhereLargeHeadingsAndTheirTotalsLeaveIt)
{
    e.AddRow(kindKind, {"建築"});
    e.AddRow(kindLarge, {"仮設"});
    Detail("2", "1000");
    e.AddRow(kindLargeTotal, {});
    e.AddRow(kindMiddle, {"電気"}); // under no large heading: the kind heading's line
    Detail("1", "400");
    e.AddRow(kindLarge, {"基礎"});
    Detail("3", "500");
    Detail("1", "700");
    e.AddRow(kindLarge, {"外構"});
    Detail("1", "100");
    e.AddRow(kindLargeTotal, {});
    e.engine.RecalcAll();

    CSummaryTable table = Table();
    table.BuildLevel(ESummaryLevel::largeSubjects);
    ASSERT_EQ(4, summary.GetSize());
    const double amounts[] = {400, 2000, 2200, 100};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(amounts[r], std::atof(Cell(r, cAmount).c_str())) << r;
    table.FillPage(4);
    EXPECT_EQ(4, summary.GetSize());
    EXPECT_EQ("外構", Cell(3, cName));
}

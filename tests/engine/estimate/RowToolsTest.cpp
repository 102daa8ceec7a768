// The editing tools' computations over an estimate's rows without a view: the sort of a
// column block, the search for unnecessary rows and the range total's sum.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CRangeSum.h"
#include "engine/estimate/CRowSort.h"
#include "engine/estimate/CUnnecessaryRows.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

class RowToolsTest : public ::testing::Test {
protected:
    std::vector<std::string> Column(int nCol, int nFirstRow, int nLastRow) const
    {
        std::vector<std::string> texts;
        for (int r = nFirstRow; r <= nLastRow; ++r)
            texts.push_back(e.engine.EditCell(r, nCol).ToUtf8());
        return texts;
    }

    CTestEstimate e{StandardTestColumns()};
};

using Texts = std::vector<std::string>;

} // namespace

// Numbers by value (not by their texts), texts by their code page 932 bytes: "B" before
// "a", a double-byte character after every single-byte one; whole rows move.
TEST_F(RowToolsTest, SortingOrdersNumbersByValueAndTextsByTheirBytes)
{
    e.AddRow(kindDetail, {"a", nullptr, "10"});
    e.AddRow(kindDetail, {"足場", nullptr, "9"});
    e.AddRow(kindDetail, {"B", nullptr, "100"});
    ASSERT_TRUE(CRowSort::SortRows(e.engine, 0, 2, colQty, CRowSort::EKey::number, true));
    EXPECT_EQ((Texts{"9.000000", "10.000000", "100.000000"}), Column(colQty, 0, 2));
    EXPECT_EQ((Texts{"足場", "a", "B"}), Column(colName, 0, 2)) << "whole rows move";

    ASSERT_TRUE(CRowSort::SortRows(e.engine, 0, 2, colName, CRowSort::EKey::text, true));
    EXPECT_EQ((Texts{"B", "a", "足場"}), Column(colName, 0, 2));
    ASSERT_TRUE(CRowSort::SortRows(e.engine, 0, 2, colName, CRowSort::EKey::text, false));
    EXPECT_EQ((Texts{"足場", "a", "B"}), Column(colName, 0, 2));
}

// Equal keys keep their order in either direction; an empty row sorts as empty texts;
// rows past the used rows and blocks of one row are left alone.
TEST_F(RowToolsTest, SortingKeepsEqualKeysInOrderAndStaysInsideTheUsedRows)
{
    e.AddRow(kindDetail, {"一", nullptr, "2"});
    e.AddRow(kindDetail, {"二", nullptr, "1"});
    e.AddRow(kindEmpty, {});
    e.AddRow(kindDetail, {"三", nullptr, "2"});
    e.engine.SetCellText("5", 5, colQty, true); // beyond the four rows of the block
    e.sheet.nUsedRows = 4;
    ASSERT_TRUE(CRowSort::SortRows(e.engine, 0, 40, colQty, CRowSort::EKey::number, false));
    EXPECT_EQ((Texts{"一", "三", "二", ""}), Column(colName, 0, 3));
    EXPECT_EQ("5.000000", e.engine.EditCell(5, colQty).str());
    // A grid's unwritten row (no row object) sorts as an empty row too.
    EXPECT_EQ((std::vector<int>{1, 0}),
              CRowSort::SortedOrder({e.rows.GetRow(0), nullptr}, colName, CRowSort::EKey::text, true));
    EXPECT_FALSE(CRowSort::SortRows(e.engine, 3, 3, colQty, CRowSort::EKey::number, true));
    EXPECT_FALSE(CRowSort::SortRows(e.engine, 0, 3, 99, CRowSort::EKey::number, true));
}

// Equal keys keep their order in an ascending sort too, and among equal texts in a
// descending one: a sort by one column leaves rows of the same key as the user put them.
TEST_F(RowToolsTest, EqualKeysKeepTheirOrderAscendingAndDescendingForNumbersAndTexts)
{
    for (const char* lpszName : {"b", "a", "b", "a"})
        e.AddRow(kindDetail, {lpszName, nullptr, lpszName[0] == 'a' ? "1" : "2"});
    const std::vector<const CGridRow*> rows{e.rows.GetRow(0), e.rows.GetRow(1), e.rows.GetRow(2),
                                            e.rows.GetRow(3)};
    for (const auto& [nCol, eKey] :
         {std::pair{colQty, CRowSort::EKey::number}, std::pair{colName, CRowSort::EKey::text}}) {
        EXPECT_EQ((std::vector<int>{1, 3, 0, 2}), CRowSort::SortedOrder(rows, nCol, eKey, true));
        EXPECT_EQ((std::vector<int>{0, 2, 1, 3}), CRowSort::SortedOrder(rows, nCol, eKey, false));
    }
}

// A block that ends at the last used row is sorted too, down to its last two rows.
TEST_F(RowToolsTest, TheLastTwoUsedRowsAreSorted)
{
    for (const char* lpszQuantity : {"1", "3", "2"})
        e.AddRow(kindDetail, {lpszQuantity, nullptr, lpszQuantity});
    ASSERT_TRUE(CRowSort::SortRows(e.engine, 1, 2, colQty, CRowSort::EKey::number, true));
    EXPECT_EQ((Texts{"1", "2", "3"}), Column(colName, 0, 2));
}

// The standard scanner looks at empty and detail rows with a unit, the manual one at every
// detail row; each condition asks its own numbers to be zero.
TEST_F(RowToolsTest, UnnecessaryRowsByConditionAndScanner)
{
    e.AddRow(kindLarge, {"建築工事"});                          // 0 never
    e.AddRow(kindDetail, {"足場", nullptr, "0", "m", "100"});   // 1 quantity 0, amount 0
    e.AddRow(kindDetail, {"型枠", nullptr, "2", "m", "0"});     // 2 amount 0
    e.AddRow(kindDetail, {"養生", nullptr, "0", nullptr, "0"}); // 3 no unit
    e.AddRow(kindDetail, {"鉄筋", nullptr, "3", "t", "10"});    // 4 numbers
    const CUnnecessaryRows standard(e.engine, CUnnecessaryRows::EScan::standard);
    const CUnnecessaryRows manual(e.engine, CUnnecessaryRows::EScan::manual);
    EXPECT_EQ(1, standard.FindNext(CUnnecessaryRows::conditionQuantityZero, 0));
    EXPECT_EQ(1, standard.FindNext(CUnnecessaryRows::conditionAmountZero, 0));
    EXPECT_EQ(2, standard.FindNext(CUnnecessaryRows::conditionAmountZero, 2));
    EXPECT_EQ(-1, standard.FindNext(CUnnecessaryRows::conditionQuantityZero, 2)) << "row 3 has no unit";
    EXPECT_EQ(3, manual.FindNext(CUnnecessaryRows::conditionQuantityZero, 2));
    EXPECT_EQ(-1, manual.FindNext(7, 0)) << "an unknown condition";
    EXPECT_FALSE(manual.IsCandidate(0));
    EXPECT_TRUE(standard.IsUnnecessaryRow(CUnnecessaryRows::conditionBothZero, 1));
    EXPECT_FALSE(standard.IsUnnecessaryRow(CUnnecessaryRows::conditionBothZero, 2));
}

TEST_F(RowToolsTest, AFormWithoutAQuantityColumnHasNoRowWithAZeroQuantity)
{
    std::vector<CTestColumn> columns = StandardTestColumns();
    columns[colQty][4] = "";
    CTestEstimate noQuantity(columns);
    noQuantity.AddRow(kindDetail, {"足場", nullptr, "0", "m", "0"});
    const CUnnecessaryRows rows(noQuantity.engine, CUnnecessaryRows::EScan::standard);
    EXPECT_FALSE(rows.IsUnnecessaryRow(CUnnecessaryRows::conditionQuantityZero, 0));
    EXPECT_TRUE(rows.IsUnnecessaryRow(CUnnecessaryRows::conditionAmountZero, 0));
}

// A form may put its quantity in its first column.
TEST_F(RowToolsTest, AQuantityInTheFormsFirstColumnIsLookedAt)
{
    std::vector<CTestColumn> columns = StandardTestColumns();
    std::swap(columns[colName], columns[colQty]);
    columns[colAmount][2] = "A*E";
    CTestEstimate firstQuantity(columns);
    firstQuantity.AddRow(kindDetail, {"0", nullptr, "足場", "m", "100"});
    const CUnnecessaryRows rows(firstQuantity.engine, CUnnecessaryRows::EScan::standard);
    EXPECT_EQ(0, rows.FindNext(CUnnecessaryRows::conditionQuantityZero, 0));
}

// Each add goes on from the total so far, over the used rows only, and the text follows
// the column's picture; a cell adds the number it holds, a word nothing.
TEST_F(RowToolsTest, TheRangeSumAddsOnInTheColumnsPicture)
{
    e.AddRow(kindDetail, {"足場", nullptr, "10", nullptr, "1200"});
    e.AddRow(kindDetail, {"型枠", "2x", "2.5", nullptr, "300"});
    e.engine.SetCellText("99", 3, colPrice, true);
    e.sheet.nUsedRows = 2;
    CRangeSum sum;
    EXPECT_FALSE(sum.IsPresent());
    sum.Add(e.engine, colPrice, 0, 10);
    EXPECT_TRUE(sum.IsPresent());
    EXPECT_EQ("1,500", sum.GetText().str());
    sum.Add(e.engine, colPrice, 1, 1);
    EXPECT_DOUBLE_EQ(1800.0, sum.GetTotal());
    EXPECT_EQ("1,800", sum.GetText().str());
    sum.Add(e.engine, colSpec, 0, 1);
    EXPECT_DOUBLE_EQ(1800.0, sum.GetTotal()) << "\"2x\" is a word: it adds nothing";
    sum.Clear();
    EXPECT_FALSE(sum.IsPresent());
    EXPECT_DOUBLE_EQ(0.0, sum.GetTotal());
}

// The manual scan looks at detail rows alone, whatever an empty row holds; the standard one
// at an empty row with a unit too. A number is zero only when it is: a quantity of five
// ten-thousandths, either side of zero, is no zero quantity.
TEST_F(RowToolsTest, UnnecessaryRowsHoldNumbersThatAreExactlyZero)
{
    std::vector<CTestColumn> columns = StandardTestColumns();
    columns[colQty][1] = "#,###.####"; // four decimals, rounded by none
    columns[colQty][3] = "";
    CTestEstimate t(columns);
    t.AddRow(kindEmpty, {"足場", nullptr, "0", "m", "100"});        // 0 empty row
    t.AddRow(kindDetail, {"型枠", nullptr, "0.0005", "m", "100"});  // 1
    t.AddRow(kindDetail, {"鉄筋", nullptr, "-0.0005", "t", "100"}); // 2
    t.AddRow(kindDetail, {"養生", nullptr, "0", "m", "100"});       // 3
    ASSERT_EQ("0.000500", t.Cell(1, colQty));
    const CUnnecessaryRows standard(t.engine, CUnnecessaryRows::EScan::standard);
    const CUnnecessaryRows manual(t.engine, CUnnecessaryRows::EScan::manual);
    EXPECT_EQ(0, standard.FindNext(CUnnecessaryRows::conditionQuantityZero, 0));
    EXPECT_EQ(3, standard.FindNext(CUnnecessaryRows::conditionQuantityZero, 1));
    EXPECT_EQ(3, manual.FindNext(CUnnecessaryRows::conditionQuantityZero, 0));
}

// A row's formula columns ("計") worked out by the engine as Enter works them out: products,
// sums, signs, parentheses and division by zero, the column's rounding, column names of one
// and two letters, a reference beyond the form, the order of the columns, the kinds that are
// not calculated, and a form changed while the estimate is open.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The form of a plain estimate: name, spec, quantity, unit, unit price, amount = quantity x
// unit price, step factor and a remark.
//   A 名称 (T 6)   B 規格   C 数量 (T 3)   D 単位 (T 1)   E 単価   F 金額 = C*E (計 A, V 2)
//   G 歩掛率 (T 7)   H 備考
std::vector<CTestColumn> StandardColumns()
{
    return {
        {"文字", "", "", "", "6", ""},         {"文字", "", "", "", "", ""},
        {"数値", "#,###.##", "", "", "3", ""}, {"文字", "", "", "", "1", ""},
        {"数値", "###,###", "", "", "", ""},   {"計 A", "###,###", "C*E", "D(-1)", "", "2"},
        {"数値", "#.###", "", "", "7", ""},    {"文字", "", "", "", "", ""},
    };
}
// The columns by their names: colName, colQty, colPrice, colAmount (EstimateEngineTestSupport.h).

// A small form: A and B numbers, C computed by a formula.
std::vector<CTestColumn> ThreeColumns(const char* formula, const char* rounding = "",
                                      const char* picture = "")
{
    return {
        {"数値", "#.######", "", "", "", ""},
        {"数値", "#.######", "", "", "", ""},
        {"計 A", picture, formula, rounding, "", "2"},
    };
}

class RowFormulaTest : public ::testing::Test {
protected:
    RowFormulaTest() { Open(StandardColumns()); }

    void Open(const std::vector<CTestColumn>& columns) { e = std::make_unique<CTestEstimate>(columns); }
    void Type(const char* lpszText, int nRow, int nCol) { e->engine.SetCellText(lpszText, nRow, nCol, true); }
    // A detail row typed in, its formulas worked out as a commit works them out.
    void Detail(int nRow, const char* lpszName, const char* lpszQty, const char* lpszPrice)
    {
        Type(CString::FromUtf8(lpszName), nRow, colName);
        if (*lpszQty)
            Type(lpszQty, nRow, colQty);
        if (*lpszPrice)
            Type(lpszPrice, nRow, colPrice);
        e->engine.SetRowKind(kindDetail, nRow);
        e->engine.CalcRow(nRow, 0);
    }
    std::string Cell(int nRow, int nCol) const { return e->Cell(nRow, nCol); }

    std::unique_ptr<CTestEstimate> e;
};

} // namespace

TEST_F(RowFormulaTest, AmountIsQuantityTimesUnitPrice)
{
    Detail(0, "足場", "3", "1500");
    EXPECT_EQ("4500.000000", Cell(0, colAmount));
    Type("2.5", 0, colQty);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("3750.000000", Cell(0, colAmount));
}

TEST_F(RowFormulaTest, AProductOverACellWithoutANumberLeavesTheTypedAmount)
{
    Type("999", 0, colAmount);
    Type("1500", 0, colPrice);
    e->engine.CalcRow(0, 0); // quantity empty
    EXPECT_EQ("999.000000", Cell(0, colAmount));
    Type("", 0, colPrice);
    e->engine.CalcRow(0, 0); // no number at all: the row keeps what was typed
    EXPECT_EQ(1, e->engine.FormulaLacksNumbers(0, "C*E"));
    EXPECT_EQ("999.000000", Cell(0, colAmount));
}

// A quantity that is not a number ("abc", "2*3") leaves the product nothing to work with:
// the amount is left as it is.
TEST_F(RowFormulaTest, AQuantityThatIsNotANumberLeavesTheAmountAsItIs)
{
    for (const char* lpszTyped : {"abc", "2*3"}) {
        Detail(0, "足場", "12.5", "1000");
        ASSERT_EQ("12500.000000", Cell(0, colAmount));
        Type(lpszTyped, 0, colQty);
        e->engine.CalcRow(0, 0);
        EXPECT_EQ("12500.000000", Cell(0, colAmount)) << lpszTyped;
        EXPECT_EQ(lpszTyped, Cell(0, colQty)) << "what was typed stays";
    }
}

TEST_F(RowFormulaTest, ASumOverAnEmptyCellCountsItAsZero)
{
    Open(ThreeColumns("A+B"));
    Type("1500", 0, 1);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("1500.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, SubtractingANegativeCellAdds)
{
    Open(ThreeColumns("A-B"));
    Type("5", 0, 0);
    Type("-3", 0, 1);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("8.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, DivisionByZeroEmptiesTheCell)
{
    Open(ThreeColumns("A/B"));
    Type("5", 0, 0);
    Type("7", 0, 2);
    Type("0", 0, 1);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("", Cell(0, 2));
}

TEST_F(RowFormulaTest, ParenthesesAndPrecedenceInAFormula)
{
    Open(ThreeColumns("(A+B)*2-A/2"));
    Type("4", 0, 0);
    Type("1", 0, 1);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("8.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, TheResultIsRoundedAsWrittenByTheColumn)
{
    Open(ThreeColumns("A*B", "F(-2)", "#.#"));
    Type("1.15", 0, 0);
    Type("3", 0, 1);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("3.500000", Cell(0, 2)); // 3.45, not 3.4499999...
}

TEST_F(RowFormulaTest, TwoLetterAndLowerCaseColumnReferences)
{
    std::vector<CTestColumn> columns(28, CTestColumn{"文字", "", "", "", "", ""});
    columns[1] = {"計 A", "", "aa*ab+z", "", "", "2"};
    columns[25] = {"数値", "", "", "", "", ""};
    columns[26] = {"数値", "", "", "", "", ""};
    columns[27] = {"数値", "", "", "", "", ""};
    Open(columns);
    Type("6", 0, 26);
    Type("7", 0, 27);
    Type("1", 0, 25);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("43.000000", Cell(0, 1));
}

TEST_F(RowFormulaTest, AReferenceBeyondTheFormReadsAsEmpty)
{
    Open(ThreeColumns("A+ZZ"));
    Type("2", 0, 0);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("2.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, ColumnsAreComputedLeftToRight)
{
    Open({
        {"数値", "", "", "", "", ""},
        {"計 A", "", "D+1", "", "", ""},
        {"計 A", "", "A*2", "", "", ""},
        {"計 A", "", "C*10", "", "", ""},
    });
    Type("1", 0, 0);
    Type("5", 0, 3);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("6.000000", Cell(0, 1)); // the previous value of D, to its right
    EXPECT_EQ("2.000000", Cell(0, 2));
    EXPECT_EQ("20.000000", Cell(0, 3)); // the new value of C, to its left
    e->engine.CalcRow(0, 2);            // from C on: B keeps its value
    EXPECT_EQ("6.000000", Cell(0, 1));
}

TEST_F(RowFormulaTest, HeadingsAndSummaryRowsAreNotCalculatedButNonCalculatedRowsAre)
{
    for (ERowKind kind : {kindLarge, kindMiddle, kindSmall, kindKind, SummaryKindOf(kindDetail)}) {
        Type("2", 0, colQty);
        Type("10", 0, colPrice);
        Type("", 0, colAmount);
        e->engine.SetRowKind(kind, 0);
        e->engine.CalcRow(0, 0);
        EXPECT_EQ("", Cell(0, colAmount)) << kind;
    }
    e->engine.SetRowKind(NonCalculatedKindOf(kindDetail), 0);
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("20.000000", Cell(0, colAmount));
}

TEST_F(RowFormulaTest, NormalizeNumberTextByColumnAttribute)
{
    CString result = "untouched";
    e->engine.NormalizeNumberText(colPrice, result, "1,234.5");
    EXPECT_EQ("1234.500000", result.str());
    e->engine.NormalizeNumberText(colPrice, result, "abc");
    EXPECT_EQ("abc", result.str());
    e->engine.NormalizeNumberText(colName, result, "1,234.5");
    EXPECT_EQ("1,234.5", result.str());
    result = "untouched";
    e->engine.NormalizeNumberText(-1, result, "1");
    EXPECT_EQ("untouched", result.str());
}

TEST_F(RowFormulaTest, AFormChangedBetweenCalculationsIsFollowed)
{
    Detail(0, "a", "2", "10");
    EXPECT_EQ("20.000000", Cell(0, colAmount));
    e->sheet.SetColumnText(colAmount, IColumnTexts::textFormula, "C+E");
    e->engine.CalcRow(0, 0);
    EXPECT_EQ("12.000000", Cell(0, colAmount));
}

#include "tests/estimate/EstimateTestSupport.h"

namespace {

class RowFormulaTest : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }
};

// A small form: A and B numbers, C computed by a formula.
std::vector<FormColumn> ThreeColumns(const char* formula, const char* rounding = "", const char* picture = "")
{
    return {
        {"A", "数値", "8", "#.######", "", "", "", ""},
        {"B", "数値", "8", "#.######", "", "", "", ""},
        {"C", "計 A", "8", picture, formula, rounding, "", "2"},
    };
}

} // namespace

TEST_F(RowFormulaTest, AmountIsQuantityTimesUnitPrice)
{
    Detail(0, "足場", "3", "1500");
    EXPECT_EQ("4500.000000", Cell(0, colAmount));
    view->SetCellText("2.5", 0, colQty, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("3750.000000", Cell(0, colAmount));
}

TEST_F(RowFormulaTest, AProductOverACellWithoutANumberLeavesTheTypedAmount)
{
    view->SetCellText("999", 0, colAmount, TRUE);
    view->SetCellText("1500", 0, colPrice, TRUE);
    view->CalcRow(0, 0); // quantity empty
    EXPECT_EQ("999.000000", Cell(0, colAmount));
    view->SetCellText("", 0, colPrice, TRUE);
    view->CalcRow(0, 0); // no number at all: the row keeps what was typed
    EXPECT_EQ(1, view->FormulaLacksNumbers(0, "C*E"));
    EXPECT_EQ("999.000000", Cell(0, colAmount));
}

// A quantity that is not a number ("abc", "2*3") leaves the product nothing to work with:
// the amount is left as it is.
TEST_F(RowFormulaTest, AQuantityThatIsNotANumberLeavesTheAmountAsItIs)
{
    for (const char* lpszTyped : {"abc", "2*3"}) {
        Detail(0, "足場", "12.5", "1000");
        ASSERT_EQ("12500.000000", Cell(0, colAmount));
        view->SetCellText(lpszTyped, 0, colQty, TRUE);
        view->CalcRow(0, 0);
        EXPECT_EQ("12500.000000", Cell(0, colAmount)) << lpszTyped;
        EXPECT_EQ(lpszTyped, Cell(0, colQty)) << "what was typed stays";
    }
}

TEST_F(RowFormulaTest, ASumOverAnEmptyCellCountsItAsZero)
{
    Open(ThreeColumns("A+B"));
    view->SetCellText("1500", 0, 1, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("1500.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, SubtractingANegativeCellAdds)
{
    Open(ThreeColumns("A-B"));
    view->SetCellText("5", 0, 0, TRUE);
    view->SetCellText("-3", 0, 1, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("8.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, DivisionByZeroEmptiesTheCell)
{
    Open(ThreeColumns("A/B"));
    view->SetCellText("5", 0, 0, TRUE);
    view->SetCellText("7", 0, 2, TRUE);
    view->SetCellText("0", 0, 1, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("", Cell(0, 2));
}

TEST_F(RowFormulaTest, ParenthesesAndPrecedenceInAFormula)
{
    Open(ThreeColumns("(A+B)*2-A/2"));
    view->SetCellText("4", 0, 0, TRUE);
    view->SetCellText("1", 0, 1, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("8.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, TheResultIsRoundedAsWrittenByTheColumn)
{
    Open(ThreeColumns("A*B", "F(-2)", "#.#"));
    view->SetCellText("1.15", 0, 0, TRUE);
    view->SetCellText("3", 0, 1, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("3.500000", Cell(0, 2)); // 3.45, not 3.4499999...
}

TEST_F(RowFormulaTest, TwoLetterAndLowerCaseColumnReferences)
{
    std::vector<FormColumn> columns(28, FormColumn{"x", "文字", "5", "", "", "", "", ""});
    columns[1] = {"total", "計 A", "8", "", "aa*ab+z", "", "", "2"};
    columns[25] = {"Z", "数値", "5", "", "", "", "", ""};
    columns[26] = {"AA", "数値", "5", "", "", "", "", ""};
    columns[27] = {"AB", "数値", "5", "", "", "", "", ""};
    Open(columns);
    view->SetCellText("6", 0, 26, TRUE);
    view->SetCellText("7", 0, 27, TRUE);
    view->SetCellText("1", 0, 25, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("43.000000", Cell(0, 1));
}

TEST_F(RowFormulaTest, AReferenceBeyondTheFormReadsAsEmpty)
{
    Open(ThreeColumns("A+ZZ"));
    view->SetCellText("2", 0, 0, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("2.000000", Cell(0, 2));
}

TEST_F(RowFormulaTest, ColumnsAreComputedLeftToRight)
{
    Open({
        {"A", "数値", "5", "", "", "", "", ""},
        {"B", "計 A", "5", "", "D+1", "", "", ""},
        {"C", "計 A", "5", "", "A*2", "", "", ""},
        {"D", "計 A", "5", "", "C*10", "", "", ""},
    });
    view->SetCellText("1", 0, 0, TRUE);
    view->SetCellText("5", 0, 3, TRUE);
    view->CalcRow(0, 0);
    EXPECT_EQ("6.000000", Cell(0, 1)); // the previous value of D, to its right
    EXPECT_EQ("2.000000", Cell(0, 2));
    EXPECT_EQ("20.000000", Cell(0, 3)); // the new value of C, to its left
    view->CalcRow(0, 2);                // from C on: B keeps its value
    EXPECT_EQ("6.000000", Cell(0, 1));
}

TEST_F(RowFormulaTest, HeadingsAndSummaryRowsAreNotCalculatedButNonCalculatedRowsAre)
{
    for (ERowKind kind : {kindLarge, kindMiddle, kindSmall, kindKind, SummaryKindOf(kindDetail)}) {
        view->SetCellText("2", 0, colQty, TRUE);
        view->SetCellText("10", 0, colPrice, TRUE);
        view->SetCellText("", 0, colAmount, TRUE);
        view->SetRowKind(kind, 0);
        view->CalcRow(0, 0);
        EXPECT_EQ("", Cell(0, colAmount)) << kind;
    }
    view->SetRowKind(NonCalculatedKindOf(kindDetail), 0);
    view->CalcRow(0, 0);
    EXPECT_EQ("20.000000", Cell(0, colAmount));
}

TEST_F(RowFormulaTest, NormalizeNumberTextByColumnAttribute)
{
    CString result = "untouched";
    view->NormalizeNumberText(colPrice, result, "1,234.5");
    EXPECT_EQ("1234.500000", result.str());
    view->NormalizeNumberText(colPrice, result, "abc");
    EXPECT_EQ("abc", result.str());
    view->NormalizeNumberText(colName, result, "1,234.5");
    EXPECT_EQ("1,234.5", result.str());
    result = "untouched";
    view->NormalizeNumberText(-1, result, "1");
    EXPECT_EQ("untouched", result.str());
}

TEST_F(RowFormulaTest, AFormChangedBetweenCalculationsIsFollowed)
{
    Detail(0, "a", "2", "10");
    EXPECT_EQ("20.000000", Cell(0, colAmount));
    doc->m_EstimationForm.SetItem(colAmount, CEstimationFormFile::colFormula, "C+E");
    view->CalcRow(0, 0);
    EXPECT_EQ("12.000000", Cell(0, colAmount));
}

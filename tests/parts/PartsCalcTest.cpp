// The parts grid's cell store and row formulas: numbers are kept in their "%f" form,
// rounded by the column, shown by its picture; typing into a number column evaluates the
// row's formulas.
#include "tests/parts/PartsTestSupport.h"

namespace {

class PartsCalcTest : public PartsTest {
protected:
    PartsCalcTest()
    {
        FillForm(p.doc->m_form, SamplePartItems());
        p.view->TakeDocumentRows();
    }
    void Type(int nRow, int nCol, const char* utf8)
    {
        p.view->SetCurrentCell(nCol, nRow);
        p.view->CommitTypedText(CString::FromUtf8(utf8));
    }
    std::string Cell(int nRow, int nCol) const { return p.view->GetCellText(nRow, nCol).str(); }

    OpenedParts p;
};

} // namespace

TEST_F(PartsCalcTest, TypingAQuantityAndAPriceRecalculatesTheRow)
{
    Type(0, 0, "異形棒鋼");
    EXPECT_EQ(1, p.doc->GetRowsInUse());
    EXPECT_TRUE(p.doc->IsModified());
    Type(0, 1, "12.5");
    // B*D with D empty: the amount is left alone.
    EXPECT_EQ("", Cell(0, 4));
    Type(0, 3, "98");
    EXPECT_EQ("98.000000", Cell(0, 3));
    EXPECT_EQ("1225.000000", Cell(0, 4));
    // A new quantity: the amount follows.
    Type(0, 1, "1,250.5");
    EXPECT_EQ("1250.500000", Cell(0, 1));
    EXPECT_EQ("122549.000000", Cell(0, 4));
    // The amount's picture has no decimals: 3.3 x 98 = 323.4 is kept as 323.
    Type(0, 1, "3.3");
    EXPECT_EQ("323.000000", Cell(0, 4));
    // The price column rounds half up away its first decimal: 98.5 -> 99.
    Type(0, 3, "98.5");
    EXPECT_EQ("99.000000", Cell(0, 3));
    EXPECT_EQ("327.000000", Cell(0, 4));
    // A text in the quantity column is kept as typed and stops the product.
    Type(0, 1, "abc");
    EXPECT_EQ("abc", Cell(0, 1));
    EXPECT_EQ("327.000000", Cell(0, 4));
}

TEST_F(PartsCalcTest, NumbersAreStoredInTheirNormalFormAndShownByThePicture)
{
    p.view->SetCellText("1,234.5", 0, 1);
    EXPECT_EQ("1234.500000", Cell(0, 1));
    bool bRight = false;
    EXPECT_EQ("1,234.50", p.view->GetDisplayText(0, 1, &bRight).str());
    EXPECT_TRUE(bRight);
    p.view->SetCellText("0", 1, 1);
    EXPECT_EQ("0.000000", Cell(1, 1));
    EXPECT_EQ("", p.view->GetDisplayText(1, 1, &bRight).str());
    // A text column keeps its text and shows it left-aligned.
    p.view->SetCellText("1,000", 0, 0);
    EXPECT_EQ("1,000", Cell(0, 0));
    EXPECT_EQ("1,000", p.view->GetDisplayText(0, 0, &bRight).str());
    EXPECT_FALSE(bRight);
    // A "計" column is calculated and stored as a number but drawn as stored, on the left.
    p.view->SetCellText("5", 2, 5);
    EXPECT_EQ("5.000000", Cell(2, 5));
    EXPECT_EQ("5.000000", p.view->GetDisplayText(2, 5, &bRight).str());
    EXPECT_FALSE(bRight);
}

TEST_F(PartsCalcTest, FormulasStopOnOperandsThatAreNotNumbersAsEachEvaluationSays)
{
    // F = a+b (lower case works as upper case), A a text, B 12.
    p.view->SetCellText("12", 0, 1);
    p.view->SetCellText("old", 0, 5);
    // After a paste (CalcRow) a non-number operand leaves the cell alone ...
    p.view->CalcRow(0, 0);
    EXPECT_EQ("old", Cell(0, 5));
    // ... after typing (CalcCurrentRow, no "*" or "/") it counts as empty.
    p.view->SetCurrentCell(1, 0);
    p.view->CalcCurrentRow();
    EXPECT_EQ("12.000000", Cell(0, 5));
    // No number among the operands: not evaluated at all.
    p.view->SetCellText("keep", 1, 5);
    p.view->SetCurrentCell(1, 1);
    p.view->CalcCurrentRow();
    EXPECT_EQ("keep", Cell(1, 5));
    EXPECT_TRUE(p.view->HasNoNumericOperand("A+B", 1));
    EXPECT_FALSE(p.view->HasNoNumericOperand("a+b", 0));
    // AA names column 26, beyond the columns: an empty operand.
    EXPECT_TRUE(p.view->HasNoNumericOperand("AA", 0));
}

TEST_F(PartsCalcTest, ANoteInAFormulaNamesNoColumn)
{
    // The amount's formula carries a note; "単" ends in the byte of a "P", which is no
    // column of the list.
    p.doc->m_form.GetItem(4, 4) = CString::FromUtf8("b*d 単価");
    Type(0, 1, "12");
    Type(0, 3, "98");
    EXPECT_EQ("1176.000000", Cell(0, 4));
    // The same after a paste into the row.
    p.view->SetCellText("3", 0, 1);
    p.view->CalcRow(0, 0);
    EXPECT_EQ("294.000000", Cell(0, 4));
}

TEST_F(PartsCalcTest, TheRowLimitBoundsTheStore)
{
    p.view->SetCellText("x", 1099, 0);
    EXPECT_EQ(1100, p.doc->GetRowsInUse());
    EXPECT_EQ(1100, p.view->GetUsedRows());
    EXPECT_EQ(nullptr, p.doc->GetRow(500));
    EXPECT_EQ("", Cell(500, 0));
    p.view->SetCellText("y", 1100, 0);
    p.view->SetCellText("y", 0, 6);
    p.view->SetCellText("y", -1, 0);
    EXPECT_EQ(1100, p.doc->GetRowArraySize());
    EXPECT_EQ("", Cell(0, 6));
}

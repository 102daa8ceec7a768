// The parts list's row formulas without a window: typing works the row out, an operand that
// is no number stops a formula as each evaluation says, and the quick calculation (column
// rules kept from the form, formulas of plain numbers compiled) gives, byte for byte, what
// the plain way gives (rules read from the form's texts at every cell, formulas put
// together as texts) on generated lists of awkward cells under forms with every kind of
// formula, rounding rule and picture.
#include "tests/engine/parts/PartsModelTestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace {

// Columns A..J. Formulas that compile, ones that must take the plain way (no operator, a
// constant, a leading sign, a double-byte character, a column past the form) and every
// rounding mode and picture.
std::vector<CTestItem> GeneratedForm(int nVariant)
{
    static const char* const roundings[] = {"", "F(-1)", "U(-3)", "D(2)", "f(-2)", "U(0)", "D(-1)", "F(1)"};
    static const char* const pictures[] = {"###,###", "#,###.##", "", "#.###", "###,###.#", "##,##,##.##"};
    const auto rounding = [&](int k) { return roundings[static_cast<size_t>((k + nVariant) % 8)]; };
    const auto picture = [&](int k) { return pictures[static_cast<size_t>((k + nVariant) % 6)]; };
    return {
        {"文字", "", "", "", ""},
        {"数値", picture(0), "", rounding(0), ""},
        {"文字", "", "", "", "1"},
        {"数値", picture(1), "", rounding(1), ""},
        {"計算", picture(2), nVariant % 2 ? "b*d" : "B*D", rounding(2), ""},
        {"計算", picture(3), "(b + d) / e - 1.5", rounding(3), ""},
        {"計", picture(4), nVariant % 3 == 0 ? "-B" : "E+F*2-B/D", rounding(4), ""},
        {"計算", picture(5), nVariant % 2 ? "100*2" : "B", rounding(5), ""},
        {"計算", picture(0), nVariant % 2 ? "Z+B" : "B*AB", rounding(6), ""},
        {"計 A", picture(1), "B+Ｄ*D", rounding(7), ""},
    };
}

// Cell texts a list may hold: plain numbers of every size, numbers with separators,
// blanks and signs, number texts that are no plain number, words, empty cells.
std::string RandomCell(std::mt19937& rng, int nCol)
{
    static const char* const odd[] = {"",
                                      "abc",
                                      "1,250.5",
                                      " 12",
                                      "+5",
                                      "-0",
                                      "0",
                                      "12.",
                                      ".5",
                                      "-.5",
                                      "5-3",
                                      "1 200",
                                      "-",
                                      ",",
                                      "0.0000001",
                                      "99999999999.5",
                                      "-123456789.125",
                                      "3.3",
                                      "0.005",
                                      "鉄筋",
                                      "１２",
                                      "１２５．５",
                                      "10,000円",
                                      "▲5,000",
                                      "1,1,250.50"};
    std::uniform_int_distribution<int> pick(0, 9);
    const int n = pick(rng);
    if (nCol == 0 || nCol == 2)
        return n < 8 ? "text" + std::to_string(n) : "";
    if (n < 6) {
        std::uniform_int_distribution<int> whole(-5000, 200000);
        std::uniform_int_distribution<int> frac(0, 999);
        std::string text = std::to_string(whole(rng));
        if (n % 2 == 0)
            text += "." + std::to_string(frac(rng));
        return text;
    }
    std::uniform_int_distribution<size_t> which(0, std::size(odd) - 1);
    return CString::FromUtf8(odd[which(rng)]).str();
}

std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i])
            return "cell " + std::to_string(i) + "\n quick: " + a[i] + "\n plain: " + b[i];
    }
    return a.size() == b.size() ? "" : "row counts differ";
}

} // namespace

TEST(PartsRowFormulasTest, TypingAQuantityAndAPriceWorksTheRowOut)
{
    CTestPartsList list(SampleItems());
    list.Type(0, colName, "異形棒鋼");
    list.Type(0, colQty, "12.5");
    EXPECT_EQ("", list.Cell(0, colAmount)) << "B*D with D empty is left alone";
    EXPECT_EQ("13.000000", list.Cell(0, colSum)) << "a number typed: A+B counts the name as empty";
    list.Type(0, colPrice, "98");
    EXPECT_EQ("1225.000000", list.Cell(0, colAmount));
    list.Type(0, colQty, "1,250.5");
    EXPECT_EQ("122549.000000", list.Cell(0, colAmount));
    // The amount's picture has no decimals: 3.3 x 98 = 323.4 is kept as 323.
    list.Type(0, colQty, "3.3");
    EXPECT_EQ("323.000000", list.Cell(0, colAmount));
    list.Type(0, colPrice, "98.5");
    EXPECT_EQ("327.000000", list.Cell(0, colAmount));
    // A word in the quantity stops the product; a number typed in full-width characters
    // is stored in ASCII.
    list.Type(0, colQty, "abc");
    EXPECT_EQ("abc", list.Cell(0, colQty));
    EXPECT_EQ("327.000000", list.Cell(0, colAmount));
    list.Type(0, colQty, "２");
    EXPECT_EQ("2.000000", list.Cell(0, colQty));
    EXPECT_EQ("198.000000", list.Cell(0, colAmount));
}

TEST(PartsRowFormulasTest, OperandsThatAreNoNumberStopAFormulaAsEachEvaluationSays)
{
    CTestPartsList list(SampleItems());
    CPartsModel& model = list.model;
    // F = a+b (lower case works as upper case), A a text, B 12.
    list.Put(0, colQty, "12");
    list.Put(0, colSum, "old");
    // A row's recalculation leaves the cell alone ...
    model.CalcRow(0, 0);
    EXPECT_EQ("old", list.Cell(0, colSum));
    // ... typing (no "*" or "/") counts the word as empty.
    model.CalcTypedRow(0);
    EXPECT_EQ("12.000000", list.Cell(0, colSum));
    // No number among the operands: not worked out at all.
    list.Put(1, colSum, "keep");
    model.CalcTypedRow(1);
    EXPECT_EQ("keep", list.Cell(1, colSum));
    EXPECT_TRUE(model.HasNoNumericOperand("A+B", 1));
    EXPECT_FALSE(model.HasNoNumericOperand("a+b", 0));
    EXPECT_TRUE(model.HasNoNumericOperand("AA", 0)) << "column 26 lies past the form";
}

TEST(PartsRowFormulasTest, ANoteInAFormulaNamesNoColumn)
{
    // "単" ends in the byte of a "P", which is no column of the list.
    std::vector<CTestItem> items = SampleItems();
    items[colAmount][2] = "b*d 単価";
    CTestPartsList list(items);
    list.Type(0, colQty, "12");
    list.Type(0, colPrice, "98");
    EXPECT_EQ("1176.000000", list.Cell(0, colAmount));
    list.Put(0, colQty, "3");
    list.model.CalcRow(0, 0);
    EXPECT_EQ("294.000000", list.Cell(0, colAmount));
}

TEST(PartsRowFormulasTest, TheQuickWayGivesThePlainWaysTextsOnGeneratedLists)
{
    const int nRows = 300;
    for (int nVariant = 0; nVariant < 6; ++nVariant) {
        SCOPED_TRACE(nVariant);
        const std::vector<CTestItem> items = GeneratedForm(nVariant);
        CTestPartsList quick(items, 400), plain(items, 400);
        plain.model.SetPlainCalculation(true);
        std::mt19937 rng(static_cast<unsigned>(1000 + nVariant));
        for (int r = 0; r < nRows; ++r) {
            for (int c = 0; c < static_cast<int>(items.size()); ++c) {
                const CString text(RandomCell(rng, c));
                quick.model.SetCell(r, c, text);
                plain.model.SetCell(r, c, text);
            }
        }
        // A row never written at all: deleted, and an empty row inserted in its place.
        for (CTestPartsList* pList : {&quick, &plain}) {
            pList->model.RemoveRowAt(7);
            pList->model.InsertEmptyRows(7, 1);
        }
        const auto initial = quick.AllCells();
        ASSERT_EQ(initial, plain.AllCells());

        // Every row's formulas, from the first column and from a later one.
        for (int r = 0; r < nRows + 3; ++r) {
            quick.model.CalcRow(r, r % 3 == 0 ? 5 : 0);
            plain.model.CalcRow(r, r % 3 == 0 ? 5 : 0);
        }
        const auto afterRecalc = quick.AllCells();
        ASSERT_EQ(afterRecalc, plain.AllCells()) << FirstDifference(afterRecalc, plain.AllCells());
        EXPECT_NE(initial, afterRecalc) << "the formulas changed something";

        // Texts stored into every column, and the typed row's calculation (where an operand
        // that is no number stops only a product or a quotient).
        std::mt19937 rngStore(static_cast<unsigned>(2000 + nVariant));
        for (int r = 0; r < nRows; r += 3) {
            for (int c = 0; c < static_cast<int>(items.size()); ++c) {
                const CString text(RandomCell(rngStore, c));
                quick.model.SetCellText(text, r, c);
                plain.model.SetCellText(text, r, c);
            }
            quick.model.CalcTypedRow(r);
            plain.model.CalcTypedRow(r);
        }
        const auto afterStore = quick.AllCells();
        ASSERT_EQ(afterStore, plain.AllCells()) << FirstDifference(afterStore, plain.AllCells());
        EXPECT_NE(afterRecalc, afterStore) << "the stores changed something";

        // The form changes under the list: the quick way takes the new rules at once.
        for (CTestPartsList* pList : {&quick, &plain}) {
            pList->SetColumnText(4, IColumnTexts::textRounding, "U(-1)");
            pList->SetColumnText(4, IColumnTexts::textPicture, "#,###.#");
            pList->SetColumnText(5, IColumnTexts::textFormula, "D/B+E");
            pList->SetColumnText(3, IColumnTexts::textAttribute, "文字");
        }
        for (int r = 0; r < nRows; ++r) {
            quick.model.CalcRow(r, 0);
            plain.model.CalcRow(r, 0);
        }
        const auto afterChange = quick.AllCells();
        ASSERT_EQ(afterChange, plain.AllCells()) << FirstDifference(afterChange, plain.AllCells());
        EXPECT_NE(afterStore, afterChange);
    }
}

TEST(PartsRowFormulasTest, TheQuickWayKeepsTheSampleFormsResults)
{
    // Worked out by hand, the cells stored as typing stores them: 12.5 x 98 = 1,225; the
    // price rounds half up to whole yen (98.5 -> 99, and 3.3 x 99 = 326.7 shows as 327 by the
    // amount's picture); 1,250.5 x 98 = 122,549.
    CTestPartsList list(SampleItems());
    const char* const cells[][2] = {{"12.5", "98"}, {"3.3", "98.5"}, {"1,250.5", "98"}, {"abc", "98"}};
    for (int r = 0; r < 4; ++r) {
        list.Put(r, colQty, cells[r][0]);
        list.Put(r, colPrice, cells[r][1]);
        list.model.CalcRow(r, 0);
    }
    EXPECT_EQ("1225.000000", list.Cell(0, colAmount));
    EXPECT_EQ("327.000000", list.Cell(1, colAmount));
    EXPECT_EQ("122549.000000", list.Cell(2, colAmount));
    EXPECT_EQ("", list.Cell(3, colAmount)) << "a word stops the product";
}

TEST(PartsRowFormulasTest, InsertedRowsTakeTheFigureOfAFormulaOfNoColumn)
{
    std::vector<CTestItem> items = SampleItems();
    items[colSum][1] = "#.##";
    items[colSum][2] = "1.08";
    CTestPartsList list(items);
    list.Record(list.model.InsertRows(2, 2));
    EXPECT_EQ(4, list.model.GetRowsInUse());
    EXPECT_EQ("1.080000", list.Cell(2, colSum));
    EXPECT_EQ("1.080000", list.Cell(3, colSum));
    EXPECT_EQ("", list.Cell(1, colSum)) << "rows the insert did not make are left as they are";
}

// A command that empties a number a figure was worked out from takes the figure along, in
// both ways of working out; a figure the command wrote itself, and one beside a word, stay.
TEST(PartsRowFormulasTest, AFigureWorkedOutFromANumberACommandEmptiedGoesWithIt)
{
    for (bool bPlain : {false, true}) {
        SCOPED_TRACE(bPlain);
        CTestPartsList list(SampleItems());
        CPartsModel& model = list.model;
        model.SetPlainCalculation(bPlain);
        for (int r = 0; r < 4; ++r) {
            list.Put(r, colQty, "2");
            list.Put(r, colPrice, "300");
            model.CalcRow(r, 0);
        }
        ASSERT_EQ("600.000000", list.Cell(0, colAmount));
        list.Record(model.CutCells(CRect(colQty, 0, colQty, 0), CPMObjList()));
        EXPECT_EQ("", list.Cell(0, colAmount)) << "cut";
        list.Type(1, colQty, "");
        EXPECT_EQ("", list.Cell(1, colAmount)) << "typed empty";
        // The quantity emptied and an amount of its own pasted with it.
        CPMObjList records;
        MakeRecords(records, 0, colQty, {{"", "", "300", "5000"}});
        list.Record(model.PasteCellsAt(colQty, 2, records));
        EXPECT_EQ("5000.000000", list.Cell(2, colAmount)) << "pasted";
        list.Type(3, colQty, "lot");
        EXPECT_EQ("600.000000", list.Cell(3, colAmount)) << "a word";
        list.Undo();
        EXPECT_EQ("2.000000", list.Cell(3, colQty));
    }
}

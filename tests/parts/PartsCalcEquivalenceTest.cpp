// The parts grid's quick calculation (column rules kept from the form, formulas of plain
// numbers evaluated compiled) gives, byte for byte, what the plain way gives (rules read
// from the form's texts at every cell, formulas put together as texts and read): on
// generated lists of awkward cells under forms with every kind of formula, rounding rule and
// picture, through row recalculation, the current row's calculation, stored texts and a
// change of the form between two passes.
#include "tests/parts/PartsTestSupport.h"

#include "estimate/engine/CGridRow.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Columns A..J. Formulas that compile, ones that must take the plain way (no operator, a
// constant, a leading sign, a double-byte character, a column past the form) and every
// rounding mode and picture.
std::vector<PartItem> GeneratedForm(int nVariant)
{
    static const char* const roundings[] = {"", "F(-1)", "U(-3)", "D(2)", "f(-2)", "U(0)", "D(-1)", "F(1)"};
    static const char* const pictures[] = {"###,###", "#,###.##", "", "#.###", "###,###.#", "##,##,##.##"};
    const auto rounding = [&](int k) { return roundings[static_cast<size_t>((k + nVariant) % 8)]; };
    const auto picture = [&](int k) { return pictures[static_cast<size_t>((k + nVariant) % 6)]; };
    return {
        {"部材名", "文字", "20", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", picture(0), "", rounding(0), "", "", "", ""},
        {"単位", "文字", "5", "", "", "", "1", "", "", ""},
        {"単価", "数値", "10", picture(1), "", rounding(1), "", "", "", ""},
        {"金額", "計算", "12", picture(2), nVariant % 2 ? "b*d" : "B*D", rounding(2), "", "", "", ""},
        {"率", "計算", "8", picture(3), "(b + d) / e - 1.5", rounding(3), "", "", "", ""},
        {"計", "計", "12", picture(4), nVariant % 3 == 0 ? "-B" : "E+F*2-B/D", rounding(4), "", "", "", ""},
        {"定数", "計算", "8", picture(5), nVariant % 2 ? "100*2" : "B", rounding(5), "", "", "", ""},
        {"外", "計算", "8", picture(0), nVariant % 2 ? "Z+B" : "B*AB", rounding(6), "", "", "", ""},
        {"漢字", "計 A", "8", picture(1), "B+Ｄ*D", rounding(7), "", "", "", ""},
    };
}

// Cell texts a list may hold: plain numbers of every size, numbers with separators,
// blanks and signs, number texts that are no plain number, words, empty cells.
std::string RandomCell(std::mt19937& rng, int nCol)
{
    static const char* const odd[] = {"",        "abc",   "1,250.5", " 12",   "+5",    "-0",   "0",       "12.",
                                      ".5",      "-.5",   "5-3",     "1 200", "-",     ",",    "0.0000001",
                                      "99999999999.5",    "-123456789.125",   "3.3",   "0.005", "鉄筋", "１２"};
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
    return Sj(odd[which(rng)]);
}

struct CGeneratedList {
    explicit CGeneratedList(const std::vector<PartItem>& items, bool bPlain)
    {
        FillForm(p.doc->m_form, items);
        p.doc->SetRowLimit(400);
        p.view->TakeDocumentRows();
        p.view->SetPlainCalculation(bPlain);
    }
    void PutRaw(int nRow, int nCol, const std::string& text) { p.doc->SetCell(nRow, nCol, CString(text)); }
    std::vector<std::string> Cells() const
    {
        std::vector<std::string> cells;
        for (int r = 0; r < p.doc->GetRowsInUse(); ++r) {
            std::string line;
            for (int c = 0; c < p.view->GetColumnCount(); ++c)
                line += p.view->GetCellText(r, c).str() + "|";
            cells.push_back(line);
        }
        return cells;
    }
    OpenedParts p;
};

std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] != b[i])
            return "row " + std::to_string(i) + "\n quick: " + a[i] + "\n plain: " + b[i];
    }
    return a.size() == b.size() ? "" : "row counts differ";
}

class PartsCalcEquivalenceTest : public PartsTest {};

} // namespace

TEST_F(PartsCalcEquivalenceTest, TheQuickWayGivesThePlainWaysTextsOnGeneratedLists)
{
    const int nRows = 300;
    for (int nVariant = 0; nVariant < 6; ++nVariant) {
        SCOPED_TRACE(nVariant);
        const std::vector<PartItem> items = GeneratedForm(nVariant);
        CGeneratedList quick(items, false);
        CGeneratedList plain(items, true);
        std::mt19937 rng(static_cast<unsigned>(1000 + nVariant));
        for (int r = 0; r < nRows; ++r) {
            for (int c = 0; c < static_cast<int>(items.size()); ++c) {
                const std::string text = RandomCell(rng, c);
                quick.PutRaw(r, c, text);
                plain.PutRaw(r, c, text);
            }
        }
        // Some rows never written at all: deleted, and an empty row inserted in their place.
        for (CGeneratedList* pList : {&quick, &plain}) {
            pList->p.view->DeleteRow(7);
            pList->p.view->InsertRow(7);
        }
        const auto initial = quick.Cells();
        ASSERT_EQ(initial, plain.Cells());

        // Every row's formulas, from the first column and from a later one.
        for (int r = 0; r < nRows + 3; ++r) {
            quick.p.view->CalcRow(r, r % 3 == 0 ? 5 : 0);
            plain.p.view->CalcRow(r, r % 3 == 0 ? 5 : 0);
        }
        const auto afterRecalc = quick.Cells();
        ASSERT_EQ(afterRecalc, plain.Cells()) << FirstDifference(afterRecalc, plain.Cells());
        EXPECT_NE(initial, afterRecalc) << "the formulas changed something";

        // Texts stored into every column, and the current row's calculation (where an
        // operand that is no number stops only a product or a quotient).
        std::mt19937 rngStore(static_cast<unsigned>(2000 + nVariant));
        for (int r = 0; r < nRows; r += 3) {
            for (int c = 0; c < static_cast<int>(items.size()); ++c) {
                const CString text(RandomCell(rngStore, c));
                quick.p.view->SetCellText(text, r, c);
                plain.p.view->SetCellText(text, r, c);
            }
            quick.p.view->SetCurrentCell(1, r);
            plain.p.view->SetCurrentCell(1, r);
            quick.p.view->CalcCurrentRow();
            plain.p.view->CalcCurrentRow();
        }
        const auto afterStore = quick.Cells();
        ASSERT_EQ(afterStore, plain.Cells()) << FirstDifference(afterStore, plain.Cells());
        EXPECT_NE(afterRecalc, afterStore) << "the stores changed something";

        // The form changes under the list (a rounding rule, a picture, a formula): the quick
        // way takes the new rules at once.
        for (CGeneratedList* pList : {&quick, &plain}) {
            CPartFormFile& form = pList->p.doc->m_form;
            form.GetItem(4, 5) = "U(-1)";
            form.GetItem(4, 3) = "#,###.#";
            form.GetItem(5, 4) = "D/B+E";
            form.GetItem(3, 1) = CString::FromUtf8("文字");
        }
        for (int r = 0; r < nRows; ++r) {
            quick.p.view->CalcRow(r, 0);
            plain.p.view->CalcRow(r, 0);
        }
        const auto afterChange = quick.Cells();
        ASSERT_EQ(afterChange, plain.Cells()) << FirstDifference(afterChange, plain.Cells());
        EXPECT_NE(afterStore, afterChange);
    }
}

TEST_F(PartsCalcEquivalenceTest, TheQuickWayKeepsTheSampleFormsResults)
{
    // The amounts of the sample form worked out by hand, the cells stored as typing stores
    // them: 12.5 x 98 = 1,225; the price rounds half up to whole yen (98.5 -> 99, and
    // 3.3 x 99 = 326.7 shows as 327 by the amount's picture); 1,250.5 x 98 = 122,549.
    CGeneratedList list(SamplePartItems(), false);
    const char* const cells[][2] = {{"12.5", "98"}, {"3.3", "98.5"}, {"1,250.5", "98"}, {"abc", "98"}};
    for (int r = 0; r < 4; ++r) {
        list.p.view->SetCellText(cells[r][0], r, 1);
        list.p.view->SetCellText(cells[r][1], r, 3);
        list.p.view->CalcRow(r, 0);
    }
    EXPECT_EQ("1225.000000", list.p.view->GetCellText(0, 4).str());
    EXPECT_EQ("327.000000", list.p.view->GetCellText(1, 4).str());
    EXPECT_EQ("122549.000000", list.p.view->GetCellText(2, 4).str());
    EXPECT_EQ("", list.p.view->GetCellText(3, 4).str()) << "a word stops the product";
}

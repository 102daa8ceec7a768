// The row formula every grid works out (CRowFormula): how a formula is read, double-byte
// characters and all; what the estimate's rules and the parts list's rules make of the same
// row; that the compiled way gives what the texts give; and, through the engine, that a row
// holding none of the referenced numbers keeps what was typed.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CRowFormula.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// A row's cells by column ("" for any other column).
struct CRow {
    std::map<int, CString> cells;
    CString none;
    const CString& operator()(int nCol) const
    {
        const auto it = cells.find(nCol);
        return it != cells.end() ? it->second : none;
    }
};

CRow Row(std::initializer_list<std::pair<const int, const char*>> cells)
{
    CRow row;
    for (const auto& [nCol, text] : cells)
        row.cells[nCol] = CString::FromUtf8(text);
    return row;
}

// What the formula does to the row under the rules: "keep", "empty" or the result ("%g").
std::string Outcome(const char* formula, const CRow& row, const CRowFormula::CRules& rules)
{
    const CRowFormula parsed{CString::FromUtf8(formula)};
    std::string expression;
    double result = 0.0;
    switch (parsed.Evaluate(row, rules, expression, result)) {
    case CRowFormula::EOutcome::keep:
        return "keep";
    case CRowFormula::EOutcome::empty:
        return "empty";
    default:
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%g", result);
    return text;
}

constexpr CRowFormula::CRules estimate = CRowFormula::estimateRules;
constexpr CRowFormula::CRules partsRow = CRowFormula::partsRowRules;
constexpr CRowFormula::CRules partsTyped = CRowFormula::partsTypedRules;

} // namespace

TEST(RowFormulaRulesTest, ColumnNamesAreReadWholeCharacterByWholeCharacter)
{
    // Lower case names columns as upper case does; two letters together name one column.
    const CRowFormula formula{CString::FromUtf8("(b+AA)*az")};
    EXPECT_EQ(formula.GetReferences(), (std::vector<int>{1, 26, 51}));
    EXPECT_EQ(formula.GetSegments(), (std::vector<std::string>{"(", "+", ")*", ""}));
    EXPECT_TRUE(formula.HasProductOrQuotient());
    EXPECT_TRUE(formula.IsCompiled());
    // "単" and "ア" end in the bytes of "P" and "A": still no column; a note after a formula
    // leaves it a product of B and D.
    const CRowFormula noted{CString::FromUtf8("B*D 単価ア")};
    EXPECT_EQ(noted.GetReferences(), (std::vector<int>{1, 3}));
    EXPECT_EQ(noted.GetSegments().back(), CString::FromUtf8(" 単価ア").str());
    EXPECT_FALSE(noted.IsCompiled());
    EXPECT_EQ(Outcome("B*D 単価ア", Row({{1, "12"}, {3, "98"}}), partsRow), "1176");
    EXPECT_EQ(Outcome("B*D 単価ア", Row({{1, "12"}, {3, "98"}}), estimate), "1176");
}

TEST(RowFormulaRulesTest, TheEstimateAndThePartsListDifferOnlyWhereTheirRulesSay)
{
    // A product over a cell without a number keeps the cell, under every rule.
    for (const CRowFormula::CRules& rules : {estimate, partsRow, partsTyped}) {
        EXPECT_EQ(Outcome("B*C", Row({{2, "1500"}}), rules), "keep");
        EXPECT_EQ(Outcome("B*C", Row({{1, "一式"}, {2, "1500"}}), rules), "keep");
        EXPECT_EQ(Outcome("B*C", Row({{1, "3"}, {2, "1500"}}), rules), "4500");
        // None of the referenced numbers: what was typed stays, even in a sum.
        EXPECT_EQ(Outcome("B+C", Row({{1, "abc"}}), rules), "keep");
        // A division by zero alone leaves nothing.
        EXPECT_EQ(Outcome("B/C", Row({{1, "3"}, {2, "0"}}), rules), "empty");
        EXPECT_EQ(Outcome("A-B", Row({{0, "5.000000"}, {1, "-3.000000"}}), rules), "8");
    }
    // A sum over an empty cell counts it as 0, except in the parts list's row recalculation.
    EXPECT_EQ(Outcome("B+C", Row({{2, "1500"}}), estimate), "1500");
    EXPECT_EQ(Outcome("B+C", Row({{2, "1500"}}), partsTyped), "1500");
    EXPECT_EQ(Outcome("B+C", Row({{2, "1500"}}), partsRow), "keep");
    // A formula naming no column: the estimate has no number of the row to work on, the
    // parts list works it out every time.
    EXPECT_EQ(Outcome("2*3", Row({}), estimate), "keep");
    EXPECT_EQ(Outcome("2*3", Row({}), partsRow), "6");
    EXPECT_EQ(Outcome("", Row({}), partsTyped), "empty");
}

TEST(RowFormulaRulesTest, TheCompiledWayGivesWhatTheTextsGive)
{
    const char* formulas[] = {"B*C", "(b + c) / d - 1.5", "-B", "B", "B+C*2-B/D", "100*2", "B*AB"};
    const char* texts[] = {"",      "12", "-3.5", "0", "1,250.5", " 12", "abc", "99999999999.5",
                           "0.005", "-0", "1 200"};
    for (const char* formula : formulas) {
        const CRowFormula parsed{CString(formula)};
        for (const char* b : texts) {
            for (const char* c : texts) {
                const CRow row = Row({{1, b}, {2, c}, {3, "7"}, {27, "2"}});
                for (const CRowFormula::CRules& rules : {estimate, partsRow, partsTyped}) {
                    std::string expression;
                    std::vector<double> values;
                    double slow = 0.0;
                    double quick = 0.0;
                    const auto slowOutcome = parsed.Evaluate(row, rules, expression, slow);
                    EXPECT_EQ(parsed.EvaluateQuick(row, rules, expression, values, quick), slowOutcome)
                        << formula << " B=" << b << " C=" << c;
                    if (slowOutcome == CRowFormula::EOutcome::number) {
                        EXPECT_EQ(quick, slow) << formula << " B=" << b << " C=" << c;
                    }
                }
            }
        }
    }
}

// Through the engine: an amount typed into a detail row without quantity and price stays;
// once a quantity and a price are typed the formula takes over.
TEST(RowFormulaRulesTest, AnEstimateRowWithoutTheNumbersKeepsTheTypedAmount)
{
    CTestEstimate e({
        {"文字", "", "", "", "6", ""},
        {"数値", "#,###.##", "", "", "3", ""},
        {"数値", "###,###", "", "", "", ""},
        {"計 A", "###,###", "B*C", "D(-1)", "", "2"},
        {"計 A", "###,###", "10*10", "", "", ""},
    });
    e.AddRow(kindDetail, {"諸経費", nullptr, nullptr, "50000", "7"});
    EXPECT_EQ(e.Cell(0, 3), "50000.000000");
    EXPECT_EQ(e.Cell(0, 4), "7.000000"); // names no column: kept
    e.AddRow(kindDetail, {"足場", "2.5", "1234", "1", nullptr});
    EXPECT_EQ(e.Cell(1, 3), "3085.000000");
    EXPECT_EQ(e.engine.FormulaLacksNumbers(0, "b*c"), 1);
    EXPECT_EQ(e.engine.FormulaLacksNumbers(1, "b*c"), 0);
    EXPECT_EQ(e.engine.FormulaLacksNumbers(1, "2*3"), 1);
}

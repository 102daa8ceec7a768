// The fixed-rate change's rules without a view: the condition test (relations, numeric and
// text comparison, empty values, conjunctions) and the new text of a cell.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CFixedRateChange.h"

#include <gtest/gtest.h>

namespace {

class FixedRateChangeTest : public ::testing::Test {
protected:
    //  0 大 建築工事 (1)
    //  1 足場 10 x 1200      3 養生 (no numbers)
    //  2 型枠 2.5 x 300      4 鉄筋 4 x 5000
    FixedRateChangeTest()
    {
        e.AddRow(kindLarge, {"建築工事"});
        e.AddRow(kindDetail, {"足場", nullptr, "10", nullptr, "1200"});
        e.AddRow(kindDetail, {"型枠", nullptr, "2.5", nullptr, "300"});
        e.AddRow(kindDetail, {"養生"});
        e.AddRow(kindDetail, {"鉄筋", nullptr, "4", nullptr, "5000"});
    }
    bool Match(int nRow, int nCol1, int nRel1, const char* value1, int nCol2, int nRel2, const char* value2,
               int nConjunction) const
    {
        CFixedRateChange::CCondition c;
        c.nCol1 = nCol1;
        c.nRelation1 = nRel1;
        c.strValue1 = CString::FromUtf8(value1);
        c.nCol2 = nCol2;
        c.nRelation2 = nRel2;
        c.strValue2 = CString::FromUtf8(value2);
        c.nConjunction = nConjunction;
        return CFixedRateChange::Matches(e.engine, nRow, c);
    }

    CTestEstimate e{StandardTestColumns()};
};

} // namespace

TEST_F(FixedRateChangeTest, NumericRelationsCompareTheCellWithTheValue)
{
    // Row 2: 数量 2.5.
    const char* expected[][6] = {
        // <   <=   =    !=   >=   >      against
        {"0", "0", "0", "1", "1", "1"}, // 2
        {"0", "1", "1", "0", "1", "0"}, // 2.5
        {"1", "1", "0", "1", "0", "0"}, // 3
    };
    const char* values[] = {"2", "2.50", "3"};
    for (int v = 0; v < 3; ++v) {
        for (int rel = 0; rel < 6; ++rel) {
            EXPECT_EQ(expected[v][rel][0] == '1', Match(2, colQty, rel, values[v], -1, -1, "", 1))
                << "relation " << rel << " against " << values[v];
        }
    }
    EXPECT_TRUE(Match(2, colQty, 9, "100", -1, -1, "", 1)) << "no relation: holds";
    EXPECT_TRUE(Match(1, colPrice, 0, "1,500", -1, -1, "", 1)) << "1200 < 1,500";
    EXPECT_FALSE(Match(1, colPrice, 0, "1,000", -1, -1, "", 1)) << "1200 < 1,000";
    EXPECT_TRUE(Match(1, colQty, 5, "9", -1, -1, "", 1)) << "10 > 9 as numbers";
}

TEST_F(FixedRateChangeTest, TextColumnsCompareAsTexts)
{
    EXPECT_TRUE(Match(2, colName, 2, "型枠", -1, -1, "", 1));
    EXPECT_FALSE(Match(1, colName, 2, "型枠", -1, -1, "", 1));
    EXPECT_TRUE(Match(1, colName, 3, "型枠", -1, -1, "", 1));
    e.engine.SetCellText("10", 1, colNote, true);
    e.engine.SetCellText("9", 2, colNote, true);
    EXPECT_TRUE(Match(1, colNote, 0, "9", -1, -1, "", 1)) << "\"10\" sorts before \"9\"";
    EXPECT_FALSE(Match(2, colNote, 0, "9", -1, -1, "", 1));
}

TEST_F(FixedRateChangeTest, EmptyValuesHoldAndConjunctionsJoin)
{
    // An empty value holds, so "and" with it is the other condition alone.
    EXPECT_TRUE(Match(1, colQty, 5, "5", colQty, 0, "", 1));
    EXPECT_FALSE(Match(2, colQty, 5, "5", colQty, 0, "", 1));
    // ... and "or" with it always holds.
    EXPECT_TRUE(Match(2, colQty, 5, "5", colQty, 0, "", 0));
    EXPECT_FALSE(Match(2, colQty, 5, "5", colName, 2, "足場", 0));
    EXPECT_TRUE(Match(2, colQty, 5, "5", colName, 2, "型枠", 0));
    EXPECT_FALSE(Match(1, -1, -1, "", -1, -1, "", 7)) << "an unknown conjunction";
}

TEST_F(FixedRateChangeTest, AConditionWithoutAColumnComparesAnEmptyCell)
{
    EXPECT_FALSE(Match(1, -1, 2, "1200", -1, -1, "", 1));
    EXPECT_TRUE(Match(1, -1, 3, "1200", -1, -1, "", 1));
    EXPECT_TRUE(Match(1, 500, 0, "a", -1, -1, "", 1));
}

// The new text is the number with the formula worked out; a cell without a number, a row
// that fails the condition and a calculation that leaves no number give none.
TEST_F(FixedRateChangeTest, TheNewTextOfACell)
{
    CFixedRateChange::CCondition atLeastFour;
    atLeastFour.nCol1 = colQty;
    atLeastFour.nRelation1 = 4;
    atLeastFour.strValue1 = "4";
    const CFixedRateChange change(e.engine, "*1.1", atLeastFour);
    CString strNew = "untouched";
    ASSERT_TRUE(change.NewText(1, colPrice, strNew));
    EXPECT_DOUBLE_EQ(1320.0, CNumberRules::ReadNumber(strNew));
    strNew = "untouched";
    EXPECT_FALSE(change.NewText(2, colPrice, strNew)) << "2.5 is less than 4";
    EXPECT_FALSE(change.NewText(3, colPrice, strNew)) << "no number in the cell";
    EXPECT_FALSE(CFixedRateChange(e.engine, "/0", {}).NewText(1, colPrice, strNew));
    EXPECT_FALSE(CFixedRateChange(e.engine, CString::FromUtf8("円"), {}).NewText(1, colPrice, strNew));
    EXPECT_EQ("untouched", strNew.str());
}

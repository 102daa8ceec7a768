// The parts list's tools without a window: the fixed-rate change with its conditions, the
// range total, the sort, a unit or a total put into a cell, and the records of the
// clipboard format; and every command leaving the figures a full recalculation makes.
#include "tests/engine/parts/PartsModelTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using PartsModelToolsTest = PartsFiveRowsTest;

CFixedRateChange::CCondition Condition(int nCol1, int nRelation1, const char* lpszValue1, int nCol2 = 0,
                                       int nRelation2 = -1, const char* lpszValue2 = "", int nConjunction = 1)
{
    CFixedRateChange::CCondition condition;
    condition.nCol1 = nCol1;
    condition.nRelation1 = nRelation1;
    condition.strValue1 = lpszValue1;
    condition.nCol2 = nCol2;
    condition.nRelation2 = nRelation2;
    condition.strValue2 = lpszValue2;
    condition.nConjunction = nConjunction;
    return condition;
}

// One record of the clipboard format written byte by byte: the class (new, or again by its
// index), the four words, then 100 strings (only the block's columns hold text).
void AppendRecord(ByteBuilder& b, bool bFirst, int nFirstCol, int nLastCol, int nRow, int nLastRow)
{
    if (bFirst)
        b.Word(0xFFFF).Word(0).Word(6).Raw("CPMObj");
    else
        b.Word(0x8001);
    b.Word(static_cast<uint16_t>(nFirstCol)).Word(static_cast<uint16_t>(nLastCol));
    b.Word(static_cast<uint16_t>(nRow)).Word(static_cast<uint16_t>(nLastRow));
    for (int c = 0; c < 100; ++c)
        b.Str(c >= nFirstCol && c <= nLastCol ? "r" + std::to_string(nRow) : std::string());
}

// A list of records as the clipboard carries it: the count, then the records.
std::vector<BYTE> Records(int nCount, const std::vector<std::array<int, 4>>& records)
{
    ByteBuilder b;
    b.Word(static_cast<uint16_t>(nCount));
    for (size_t i = 0; i < records.size(); ++i)
        AppendRecord(b, i == 0, records[i][0], records[i][1], records[i][2], records[i][3]);
    return b.Bytes();
}

} // namespace

TEST_F(PartsModelToolsTest, ConditionsCompareNumbersInNumberColumnsAndTextsElsewhere)
{
    list.Put(0, colUnit, "9");
    list.Put(0, colQty, "9");
    // Text: "9" > "10"; numbers: 9 < 10, and a value written with a separator is the number
    // it shows.
    EXPECT_TRUE(model.RowMatches(0, Condition(colUnit, 5, "10")));
    EXPECT_TRUE(model.RowMatches(0, Condition(colQty, 0, "10")));
    EXPECT_FALSE(model.RowMatches(0, Condition(colQty, 5, "10")));
    EXPECT_TRUE(model.RowMatches(0, Condition(colQty, 0, "1,000")));
    // An empty value holds; or and and; any other conjunction is false.
    EXPECT_TRUE(model.RowMatches(0, Condition(colQty, 5, "", colUnit, 2, "9", 1)));
    EXPECT_TRUE(model.RowMatches(0, Condition(colQty, 5, "10", colUnit, 2, "9", 0)));
    EXPECT_FALSE(model.RowMatches(0, Condition(colQty, 5, "10", colUnit, 2, "9", 1)));
    EXPECT_FALSE(model.RowMatches(0, Condition(colQty, 0, "10", colUnit, 2, "9", 2)));
}

TEST_F(PartsModelToolsTest, TheFixedRateChangeStartsAnEmptyCellKeepsAWordAndStopsAtTheLastUsedRow)
{
    list.Put(1, colPrice, "");
    list.Put(2, colPrice, "abc");
    before = list.AllCells();
    int nChanged = 0;
    auto pCommand = model.ApplyFixedRate(colPrice, 0, 9, "+100", Condition(colQty, 4, "2"), &nChanged);
    EXPECT_EQ(3, nChanged) << "rows 1, 3 and 4 meet the condition; row 2 holds a word";
    EXPECT_EQ("100.000000", list.Cell(0, colPrice)) << "quantity 1 is not at least 2";
    EXPECT_EQ("100.000000", list.Cell(1, colPrice));
    EXPECT_EQ("abc", list.Cell(2, colPrice));
    EXPECT_EQ("500.000000", list.Cell(3, colPrice));
    EXPECT_EQ("2000.000000", list.Cell(3, colAmount)) << "the row worked out: 4 x 500";
    EXPECT_EQ(5, model.GetRowsInUse());
    ExpectUndoneAndRedone(std::move(pCommand));
    // The row after the last is no part of the list: no change starts it.
    list.Record(model.ApplyFixedRate(colPrice, 4, 9, "+1", Condition(0, -1, "")));
    EXPECT_EQ(5, model.GetRowsInUse());
    EXPECT_EQ("", list.Cell(5, colPrice));
    list.Undo();

    // Rounded by the column (whole yen, half up); a result that is no number changes nothing.
    model.ApplyFixedRate(colPrice, 0, 0, "*1.005", Condition(0, -1, ""));
    EXPECT_EQ("101.000000", list.Cell(0, colPrice));
    before = list.AllCells();
    EXPECT_EQ(nullptr, model.ApplyFixedRate(colPrice, 0, 4, "/0", Condition(0, -1, ""), &nChanged));
    EXPECT_EQ(0, nChanged);
    EXPECT_EQ(nullptr, model.ApplyFixedRate(colName, 0, 4, "+1", Condition(0, -1, "")))
        << "a text column takes no change";
    EXPECT_EQ(before, list.AllCells());
}

TEST_F(PartsModelToolsTest, TheRangeTotalReadsANumberWithSeparatorsAndShowsByThePicture)
{
    model.SetCell(0, colQty, "1,250");
    model.SetCell(1, colQty, "abc");
    model.SetCell(2, colQty, "0.25");
    CRangeSum sum;
    model.AddToRangeSum(sum, colQty, 0, 1099);
    EXPECT_DOUBLE_EQ(1250.0 + 0.25 + 4 + 5, sum.GetTotal());
    EXPECT_EQ("1,259.25", sum.GetText().ToUtf8());
    // A second add goes on top of the first, shown by its own column's picture.
    model.AddToRangeSum(sum, colPrice, 4, 4);
    EXPECT_DOUBLE_EQ(1759.25, sum.GetTotal());
    EXPECT_EQ("1,759", sum.GetText().ToUtf8());
}

TEST_F(PartsModelToolsTest, AUnitPickedAndATotalPlacedWorkTheRowOutAndAreUndone)
{
    ExpectUndoneAndRedone(model.StoreCellText(5, colUnit, "kg"));
    EXPECT_EQ(5, model.GetRowsInUse()) << "undo takes the row the unit started away again";
    auto pCommand = model.StoreNumber(1, colQty, 1.5);
    EXPECT_EQ("1.500000", list.Cell(1, colQty));
    EXPECT_EQ("300.000000", list.Cell(1, colAmount));
    ExpectUndoneAndRedone(std::move(pCommand));
}

TEST_F(PartsModelToolsTest, ASortOrdersNumbersByValueAndTextsByText)
{
    const char* const names[] = {"b", "10", "a", "9", ""};
    const char* const numbers[] = {"10", "9", "", "100", "1.5"};
    for (int r = 0; r < 5; ++r) {
        list.Put(r, colName, names[r]);
        list.Put(r, colQty, numbers[r]);
    }
    int nSorted = 0;
    // Rows 1..9 of the number column: 9 rows asked, 4 in use below row 0.
    list.Record(model.SortRows(colQty, 1, 9, true, &nSorted));
    EXPECT_EQ(4, nSorted);
    EXPECT_EQ("b", list.Cell(0, colName));  // outside the range
    EXPECT_EQ("a", list.Cell(1, colName));  // empty counts as 0
    EXPECT_EQ("", list.Cell(2, colName));   // 1.5
    EXPECT_EQ("10", list.Cell(3, colName)); // 9
    EXPECT_EQ("9", list.Cell(4, colName));  // 100
    // Text order: "10" before "9"; descending puts them the other way.
    list.Record(model.SortRows(colName, 0, 4, true, &nSorted));
    EXPECT_EQ(5, nSorted);
    const std::vector<std::string> ascending = {"", "10", "9", "a", "b"};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(ascending[static_cast<size_t>(r)], list.Cell(r, colName)) << r;
    EXPECT_EQ("1.500000", list.Cell(0, colQty)) << "whole rows move";
    list.Record(model.SortRows(colName, 0, 4, false, &nSorted));
    EXPECT_EQ("b", list.Cell(0, colName));
    // A range past the used rows sorts nothing.
    EXPECT_EQ(nullptr, model.SortRows(colName, 7, 9, true, &nSorted));
    EXPECT_EQ(0, nSorted);
}

TEST(PartsModelSortTest, RowsNeverWrittenSortAsEmptyRowsAndStayEmpty)
{
    CTestPartsList list(SampleItems());
    list.Put(3, colName, "z");
    list.Put(1, colName, "y");
    // Rows 0 and 2 were never written.
    int nSorted = 0;
    list.Record(list.model.SortRows(colName, 0, 3, false, &nSorted));
    EXPECT_EQ(4, nSorted);
    EXPECT_EQ("z", list.Cell(0, colName));
    EXPECT_EQ("y", list.Cell(1, colName));
    EXPECT_EQ("", list.Cell(2, colName));
    EXPECT_EQ("", list.Cell(3, colName));
    EXPECT_EQ(4, list.model.GetRowsInUse());
}

TEST_F(PartsModelToolsTest, ClipboardRecordsReadBackAsTheyWereWritten)
{
    CPMObjList records;
    ASSERT_TRUE(model.CopyBlock(CRect(colQty, 1, colPrice, 3), records));
    const std::vector<BYTE> bytes = records.StoreExchangeBytes();
    CPMObjList back;
    ASSERT_TRUE(back.LoadExchangeBytes(bytes.data(), bytes.size()));
    EXPECT_EQ(CRect(colQty, 1, colPrice, 3), back.GetBlock());
    ASSERT_EQ(3, back.GetCount());
    POSITION pos = back.GetHeadPosition();
    for (int r = 1; r <= 3; ++r) {
        const CPMObj* pObj = back.GetNext(pos);
        EXPECT_EQ(r, pObj->m_nRow);
        for (int c = 0; c < CPMObj::MAX_COLUMNS; ++c)
            EXPECT_EQ(c >= colQty && c <= colPrice ? list.Cell(r, c) : "", pObj->m_strCell[c].ToUtf8())
                << r << c;
    }
}

TEST(PartsClipboardRecordsTest, RecordsThatFormNoBlockOrEndEarlyLoadNothing)
{
    const std::vector<BYTE> good = Records(2, {{0, 1, 4, 5}, {0, 1, 5, 5}});
    CPMObjList list;
    ASSERT_TRUE(list.LoadExchangeBytes(good.data(), good.size()));
    const auto expectRefused = [&](const std::vector<BYTE>& bytes, const char* lpszWhy) {
        EXPECT_FALSE(list.LoadExchangeBytes(bytes.data(), bytes.size())) << lpszWhy;
        EXPECT_EQ(CRect(0, 4, 1, 5), list.GetBlock()) << lpszWhy << ": the list stays as it was";
    };
    expectRefused(Records(1, {{2, 1, 0, 0}}), "first column after the last");
    expectRefused(Records(1, {{98, 100, 0, 0}}), "a last column past the 100 cells");
    expectRefused(Records(1, {{0, 0, 3, 2}}), "a row after its block's last");
    expectRefused(Records(2, {{0, 1, 5, 6}, {0, 1, 4, 6}}), "rows out of order");
    expectRefused(Records(2, {{0, 1, 4, 5}, {0, 2, 5, 5}}), "records of other columns");
    expectRefused(Records(1, {{0, 1, 4, 5}}), "a block of two rows with one record");
    expectRefused(Records(3, {{0, 0, 0, 2}}), "a count of three records, one present");
    expectRefused(Records(0, {}), "no record");
    for (size_t n = 0; n < good.size(); ++n)
        expectRefused(std::vector<BYTE>(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)), "cut short");
}

TEST_F(PartsModelToolsTest, EveryCommandLeavesTheFiguresOfAFullRecalculation)
{
    // F worked out as a constant, which every row has (an empty one too), and once from A,
    // a text column whose cell may hold a number.
    for (const char* lpszFormula : {"1.1", "a*2"}) {
        SCOPED_TRACE(lpszFormula);
        list.SetColumnText(colSum, IColumnTexts::textAttribute, "計算");
        list.SetColumnText(colSum, IColumnTexts::textFormula, lpszFormula);
        model.CalcRows(0, model.GetRowsInUse() - 1);
        const auto expectRecalculated = [&](const char* lpszStep) {
            const auto now = list.AllCells();
            model.CalcRows(0, model.GetRowsInUse() - 1);
            EXPECT_EQ(now, list.AllCells()) << lpszStep;
        };
        CPMObjList records;
        MakeRecords(records, 0, colName, {{"3", "4"}, {"5", "6"}});
        list.Record(model.StoreTypedText(1, colName, "3", -1));
        expectRecalculated("typing into a text column");
        list.Record(model.StoreTypedText(2, colQty, "7", -1));
        expectRecalculated("typing into a number column");
        list.Record(model.CutCells(CRect(colAmount, 0, colSum, 4), records));
        expectRecalculated("cells cut");
        list.Record(
            model.PasteTiled(CRect(colName, 0, colQty, 3), records, CPartsUndoCommand::undoPasteTiled));
        expectRecalculated("a paste over a block");
        list.Record(model.PasteCellsAt(colName, 4, records));
        expectRecalculated("a paste at a cell");
        list.Record(model.PasteRowsAt(1, records));
        expectRecalculated("rows pasted");
        list.Undo();
        expectRecalculated("the undo of rows pasted");
        list.Record(model.InsertRows(2, 2));
        expectRecalculated("rows inserted");
        list.Record(model.ClearRows(0, 0));
        expectRecalculated("a row cleared");
        list.Record(model.InsertReadRows(1, {{"2", "8", "", "9"}}, {1, 0, 2, 3}));
        expectRecalculated("rows read");
        list.Record(model.ApplyFixedRate(colPrice, 0, 9, "*2", Condition(0, -1, "")));
        expectRecalculated("the fixed-rate change");
        list.Record(model.SortRows(colQty, 0, 9, false));
        expectRecalculated("a sort");
        list.Record(model.StoreCellText(3, colQty, "11"));
        expectRecalculated("a unit or a total put into a cell");
    }
}

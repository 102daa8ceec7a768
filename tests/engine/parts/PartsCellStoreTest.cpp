// The parts list's cell store, column roles and rows without a window: numbers kept in their
// "%f" form, rounded by the column and shown by its picture; the rows in use and the row
// limit kept by the row operations.
#include "tests/engine/parts/PartsModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PartsCellStoreTest : public ::testing::Test {
protected:
    CTestPartsList list{SampleItems()};
    CPartsModel& model = list.model;
};

} // namespace

TEST_F(PartsCellStoreTest, NumbersAreStoredInTheirNormalFormAndShownByThePicture)
{
    list.Put(0, colQty, "1,234.5");
    EXPECT_EQ("1234.500000", list.Cell(0, colQty));
    bool bRight = false;
    EXPECT_EQ("1,234.50", model.GetDisplayText(0, colQty, &bRight).str());
    EXPECT_TRUE(bRight);
    // The price rounds half up to whole yen; zero and what is within 1e-8 of it show empty
    // (a text as a file may hold it), what is farther by the picture.
    list.Put(1, colPrice, "98.5");
    EXPECT_EQ("99.000000", list.Cell(1, colPrice));
    for (const char* lpszZero : {"0", "0.000000001"}) {
        model.SetCell(2, colQty, lpszZero);
        EXPECT_EQ("", model.GetDisplayText(2, colQty, &bRight).str()) << lpszZero;
    }
    model.SetCell(2, colQty, "0.0005");
    EXPECT_EQ("0.00", model.GetDisplayText(2, colQty, &bRight).str());
    // A text column keeps its text, shown on the left; a "計" column is stored as a number
    // but shown as stored, on the left; a word in a number column stays as typed.
    list.Put(0, colName, "1,000");
    EXPECT_EQ("1,000", model.GetDisplayText(0, colName, &bRight).str());
    EXPECT_FALSE(bRight);
    list.Put(2, colSum, "5");
    EXPECT_EQ("5.000000", model.GetDisplayText(2, colSum, &bRight).str());
    EXPECT_FALSE(bRight);
    list.Put(3, colQty, "abc");
    EXPECT_EQ("abc", model.GetDisplayText(3, colQty, &bRight).str());
    // The edit text of a number: as its column prints it.
    EXPECT_EQ("1,234.50", model.GetEditText(0, colQty).str());
    EXPECT_EQ("abc", model.GetEditText(3, colQty).str());
}

TEST_F(PartsCellStoreTest, ColumnRolesComeFromTheAttributeAndTheUnitCode)
{
    const bool expected[][5] = {
        // numeric calculated shown   unit   text
        {false, false, false, false, true}, // 文字
        {true, false, true, false, false},  // 数値
        {false, false, false, true, true},  // 文字, T 1
        {true, false, true, false, false},  // 数値
        {true, true, true, false, false},   // 計算
        {true, true, false, false, false},  // 計
        {false, false, false, false, false} // past the form
    };
    for (int c = 0; c <= colSum + 1; ++c) {
        const bool* e = expected[c];
        EXPECT_EQ(e[0], model.IsNumericColumn(c)) << c;
        EXPECT_EQ(e[1], model.IsCalculatedColumn(c)) << c;
        EXPECT_EQ(e[2], model.IsNumberShownColumn(c)) << c;
        EXPECT_EQ(e[3], model.IsUnitColumn(c)) << c;
        EXPECT_EQ(e[4], model.IsTextColumn(c)) << c;
    }
}

TEST_F(PartsCellStoreTest, TheRowLimitAndTheColumnsBoundTheStore)
{
    list.Put(1099, colName, "x");
    EXPECT_EQ(1100, model.GetRowsInUse());
    EXPECT_EQ(nullptr, model.GetRow(500));
    EXPECT_EQ("", list.Cell(500, colName));
    list.Put(1100, colName, "y");
    list.Put(0, colSum + 1, "y");
    list.Put(-1, colName, "y");
    EXPECT_EQ(1100, model.GetRowArraySize());
    EXPECT_EQ("", list.Cell(0, colSum + 1));
    EXPECT_GT(list.nCountsChanged, 0) << "the panes hear of the rows in use";
}

TEST_F(PartsCellStoreTest, FewerRowsInUseDropTheRowsPastThem)
{
    list.Put(4, colName, "e");
    EXPECT_FALSE(model.ExtendRowsInUse(3));
    EXPECT_TRUE(model.ExtendRowsInUse(7));
    model.ReduceRowsInUse(2);
    EXPECT_EQ(2, model.GetRowsInUse());
    EXPECT_EQ(2, model.GetRowArraySize());
    // Growing again brings nothing of the dropped rows back.
    model.SetRowsInUse(6);
    EXPECT_EQ("", list.Cell(4, colName));
    model.SetRowsInUse(-3);
    EXPECT_EQ(0, model.GetRowsInUse());
}

TEST_F(PartsCellStoreTest, InsertedAndRemovedRowsKeepTheCountsInStep)
{
    list.Put(0, colName, "a");
    list.Put(1, colName, "b");
    // Inserted past the last row: the rows between count as used.
    model.InsertEmptyRows(5, 2);
    EXPECT_EQ(7, model.GetRowsInUse());
    model.InsertEmptyRows(1, 1);
    EXPECT_EQ(8, model.GetRowsInUse());
    EXPECT_EQ("b", list.Cell(2, colName));
    EXPECT_TRUE(model.RemoveRowAt(0));
    EXPECT_EQ(7, model.GetRowsInUse());
    EXPECT_FALSE(model.RemoveRowAt(model.GetRowArraySize()));
    EXPECT_EQ(7, model.GetRowsInUse());
    // Rows pushed past the limit raise it (doubling) rather than being lost.
    CTestPartsList small(SampleItems(), 4);
    small.Put(3, colName, "last");
    small.model.InsertEmptyRows(0, 2);
    EXPECT_EQ(8, small.model.GetRowLimit());
    EXPECT_EQ("last", small.Cell(5, colName));
}

TEST_F(PartsCellStoreTest, AReorderMustNameEachRowOfItsRangeOnce)
{
    for (int r = 0; r < 3; ++r)
        list.Put(r, colName, std::string(1, static_cast<char>('a' + r)).c_str());
    EXPECT_FALSE(model.ReorderRows(0, {0, 0, 2}));
    EXPECT_FALSE(model.ReorderRows(0, {0, 1, 3}));
    EXPECT_EQ("a", list.Cell(0, colName));
    EXPECT_TRUE(model.ReorderRows(0, {2, 0, 1}));
    EXPECT_EQ("c", list.Cell(0, colName));
    EXPECT_EQ("b", list.Cell(2, colName));
}

TEST_F(PartsCellStoreTest, AppendedRowsFollowTheRowsInUseAndAReadListStartsWithoutUndo)
{
    list.Put(0, colName, "a");
    model.InsertEmptyRows(3, 1); // rows 1..3 used, never written
    std::vector<std::unique_ptr<CGridRow>> rows;
    rows.push_back(std::make_unique<CGridRow>());
    rows.back()->SetCell(colName, "z");
    EXPECT_EQ(4, model.AppendRows(std::move(rows)));
    EXPECT_EQ("z", list.Cell(4, colName));
    EXPECT_EQ(5, model.GetRowsInUse());

    list.Type(0, colName, "typed");
    ASSERT_TRUE(model.Undo().CanUndo());
    std::vector<std::unique_ptr<CGridRow>> read(3000);
    model.TakeReadRows(std::move(read), 1100);
    EXPECT_EQ(3000, model.GetRowsInUse());
    EXPECT_EQ(4400, model.GetRowLimit());
    EXPECT_FALSE(model.Undo().CanUndo());
}

TEST_F(PartsCellStoreTest, ABlockCopiedStopsAtTheUsedRowsAndTheLastColumn)
{
    list.Put(0, colQty, "1");
    list.Put(1, colQty, "2");
    CPMObjList records;
    ASSERT_TRUE(model.CopyBlock(CRect(colQty, 1, 120, 9), records));
    ASSERT_EQ(1, records.GetCount());
    EXPECT_EQ(CRect(colQty, 1, 99, 1), records.GetBlock());
    EXPECT_EQ("2.000000", records.GetHead()->m_strCell[colQty].ToUtf8());
    // The row after the last used one copies as an empty row; below it nothing is copied.
    EXPECT_TRUE(model.CopyBlock(CRect(0, 2, 0, 2), records));
    EXPECT_FALSE(model.CopyBlock(CRect(0, 3, 0, 3), records));
    EXPECT_TRUE(records.IsEmpty());
}

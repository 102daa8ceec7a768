// What a print job reads of an estimate's rows: the rows where they stand, or a copy of the
// job's own without the rows it leaves out, which the estimate's changes leave alone; empty
// rows outside the grid's limits; subject numbers counted over the rows read.
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CPrintRowSource.h"
#include "engine/estimate/RowKinds.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<CGridRow> MakeRow(ERowKind nKind, const char* lpszName, int nIndent)
{
    auto pRow = std::make_unique<CGridRow>();
    pRow->SetKind(nKind);
    pRow->SetCell(1, lpszName);
    pRow->SetIndent(1, nIndent);
    return pRow;
}

} // namespace

TEST(PrintRowSourceTest, ReadsTheRowsWhereTheyStandUntilItTakesACopy)
{
    CGridRowArray rows;
    rows.Add(MakeRow(kindDetail, "zero", 0));
    rows.Add(nullptr);
    rows.Add(MakeRow(kindLarge, "heading", 2));
    CPrintRowSource source(rows, 3, 10, 3);
    EXPECT_FALSE(source.IsCopy());
    rows.GetRow(0)->SetCell(1, "changed");
    EXPECT_EQ(source.GetCellText(0, 1), CString("changed"));

    // The copy leaves out its first row, as printing without zero rows does; the rows
    // below move up, and a row without a row object stays one.
    source.CopyLeavingOut([](int nRow) { return nRow == 0; });
    EXPECT_TRUE(source.IsCopy());
    EXPECT_EQ(source.GetRowCount(), 2);
    EXPECT_EQ(source.GetRowKind(0), kindEmpty);
    EXPECT_EQ(source.GetCellText(1, 1), CString("heading"));
    EXPECT_EQ(source.GetRowKind(1), kindLarge);
    EXPECT_EQ(source.GetCellIndent(1, 1), 2);
    // The estimate's rows are as they were, and what is done to them after the copy does not
    // reach it.
    EXPECT_EQ(rows.GetSize(), 3);
    EXPECT_EQ(rows.GetRow(0)->GetCell(1), CString("changed"));
    rows.GetRow(2)->SetCell(1, "renamed");
    rows.RemoveAll();
    EXPECT_EQ(source.GetCellText(1, 1), CString("heading"));
    // Beyond the copy's rows, the row limit or the columns: an empty row of kind 0.
    EXPECT_EQ(source.GetRowKind(3), kindEmpty);
    EXPECT_EQ(source.GetCellText(1, 3), CString(""));
    EXPECT_EQ(CPrintRowSource(rows, 0, 0, 3).GetRowKind(0), kindEmpty);
}

// Printing without zero rows: the rows picked are left out of the copy alone, each asked
// once, the copy keeping the length of the rows; a second copy replaces the first.
TEST(PrintRowSourceTest, RowsLeftOutOfTheCopyLeaveTheRowsAndTheCopysLength)
{
    CGridRowArray rows;
    for (const char* lpszName : {"a", "zero", "b", "zero", "zero", "c"})
        rows.Add(MakeRow(kindDetail, lpszName, 0));
    rows.Add(MakeRow(kindDetail, "zero", 0)); // below the rows printed: kept, never asked
    auto isZero = [&](int nRow) { return rows.GetRow(nRow)->GetCell(1) == "zero"; };

    CPrintRowSource source(rows, 6, 10, 3);
    source.CopyLeavingOut([](int) { return false; });
    rows.GetRow(0)->SetCell(1, "zero");
    std::vector<int> asked;
    source.CopyLeavingOut([&](int nRow) {
        asked.push_back(nRow);
        return isZero(nRow);
    });
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), asked);
    EXPECT_EQ(2, source.GetRowCount());
    const char* expected[] = {"b", "c", "zero", "", "", "", "", ""};
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(CString(expected[r]), source.GetCellText(r, 1)) << r;
    EXPECT_EQ(7, rows.GetSize());
    EXPECT_EQ(CString("zero"), rows.GetRow(1)->GetCell(1));
}

// The subject numbers of a copy count the copy's headings, and keep doing so whatever
// happens to the estimate's rows.
TEST(PrintRowSourceTest, TheCopyIsNumberedByItsOwnHeadings)
{
    CGridRowArray rows;
    rows.CountChanges();
    for (ERowKind nKind : {kindLarge, kindDetail, kindLarge, kindMiddle})
        rows.Add(MakeRow(nKind, "", 0));
    CSubjectNumbering numbering;
    numbering.nShown = 1;
    numbering.nColumn = 1;
    CPrintRowSource source(rows, 4, 10, 3);
    EXPECT_EQ(source.GetSubjectNumberText(numbering, 2, 1), CString("B."));
    source.CopyLeavingOut([](int nRow) { return nRow == 0; });
    EXPECT_EQ(source.GetSubjectNumberText(numbering, 1, 1), CString("A."));
    EXPECT_EQ(source.GetSubjectNumberText(numbering, 2, 1), CString("A.1."));
    rows.InsertAt(0, MakeRow(kindLarge, "", 0));
    EXPECT_EQ(source.GetSubjectNumberText(numbering, 2, 1), CString("A.1."));
    EXPECT_EQ(source.GetSubjectNumberText(numbering, 2, 0), CString(""));
}

// What a print job reads of an estimate's rows: the store's print copy while there is one,
// whatever the store serves, and empty rows outside the grid's limits.
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CGridRowArray.h"
#include "estimate/engine/CPrintRowSource.h"
#include "estimate/engine/RowKinds.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CGridRow* MakeRow(ERowKind nKind, const char* lpszName, int nIndent)
{
    auto* pRow = new CGridRow;
    pRow->SetKind(nKind);
    pRow->SetCell(1, lpszName);
    pRow->SetIndent(1, nIndent);
    return pRow;
}

} // namespace

TEST(PrintRowSourceTest, ReadsTheCopyWhileThereIsOneWhateverTheStoreServes)
{
    CGridRowArray rows;
    rows.Add(MakeRow(kindDetail, "zero", 0));
    rows.Add(MakeRow(kindLarge, "heading", 2));
    const CPrintRowSource source(rows, 10, 3);
    EXPECT_EQ(source.GetCellText(0, 1), CString("zero"));

    rows.MakePrintCopy();
    // The copy drops its first row, as printing without zero rows does.
    rows.ServePrintCopy(true);
    delete rows.GetRow(0);
    rows.RemoveAt(0);
    rows.ServePrintCopy(false);
    EXPECT_EQ(rows.GetRow(0)->GetCell(1), CString("zero"));
    EXPECT_EQ(source.GetCellText(0, 1), CString("heading"));
    EXPECT_EQ(source.GetRowKind(0), kindLarge);
    EXPECT_EQ(source.GetCellIndent(0, 1), 2);
    // Beyond the copy's rows, the row limit or the columns: an empty row of kind 0.
    EXPECT_EQ(source.GetRowKind(1), kindEmpty);
    EXPECT_EQ(source.GetCellText(0, 3), CString(""));
    EXPECT_EQ(CPrintRowSource(rows, 0, 3).GetRowKind(0), kindEmpty);

    rows.DeletePrintCopy();
    EXPECT_EQ(source.GetCellText(0, 1), CString("zero"));
    for (INT_PTR i = 0; i < rows.GetWorkingArray().GetSize(); ++i)
        delete rows.GetRow(i);
}

// Printing without zero rows: the rows picked go from the copy alone, each asked once the
// rows below it went, the copy keeping its length; not served, nothing is taken.
TEST(PrintRowSourceTest, RowsTakenOutOfTheCopyLeaveTheWorkingRowsAndTheCopysLength)
{
    CGridRowArray rows;
    for (const char* lpszName : {"zero", "a", "b", "zero", "zero", "c"})
        rows.Add(MakeRow(kindDetail, lpszName, 0));
    rows.Add(nullptr);
    auto isZero = [&](int nRow) { return rows.GetRow(nRow)->GetCell(1) == "zero"; };
    EXPECT_EQ(6, rows.RemovePrintCopyRows(6, isZero));

    rows.MakePrintCopy();
    rows.ServePrintCopy(true);
    std::vector<int> asked;
    EXPECT_EQ(3, rows.RemovePrintCopyRows(6, [&](int nRow) {
        asked.push_back(nRow);
        return isZero(nRow);
    }));
    EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1, 0}), asked);
    EXPECT_EQ(7, rows.GetSize());
    const CPrintRowSource source(rows, 10, 3);
    rows.ServePrintCopy(false);
    const char* expected[] = {"a", "b", "c", "", "", "", ""};
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(CString(expected[r]), source.GetCellText(r, 1)) << r;
    EXPECT_EQ(CString("zero"), rows.GetRow(0)->GetCell(1));

    rows.DeletePrintCopy();
    for (INT_PTR i = 0; i < rows.GetWorkingArray().GetSize(); ++i)
        delete rows.GetRow(i);
}

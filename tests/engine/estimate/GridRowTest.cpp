#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRowPool.h"
#include "engine/estimate/RowKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<CGridRow> MakeRow(int kind, const char* first)
{
    auto row = std::make_unique<CGridRow>();
    row->SetKind(KindFromNumber(kind));
    row->SetCell(0, first);
    return row;
}

// The memory of this process its kernel may take back when it needs it (pages given with
// MADV_FREE), in KB; -1 where the kernel does not show it.
long LazyFreeKilobytes()
{
    std::ifstream rollup("/proc/self/smaps_rollup");
    std::string strKey;
    long nKilobytes = 0;
    while (rollup >> strKey) {
        if (strKey == "LazyFree:" && rollup >> nKilobytes)
            return nKilobytes;
        rollup.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return -1;
}

// The rows belong to the array: the sanitizer sees any row it leaks or deletes twice.
class GridRowArrayTest : public ::testing::Test {
protected:
    CGridRowArray rows;
};

} // namespace

TEST(GridRowTest, NewRowIsEmptyAndAssignmentCopiesEveryField)
{
    CGridRow row;
    EXPECT_EQ(kindEmpty, row.GetKind());
    EXPECT_TRUE(row.m_strCell[99].IsEmpty());
    EXPECT_EQ(0, row.m_nIndent[99]);
    EXPECT_EQ(0, row.GetParam3());

    row.SetKind(KindFromNumber(21));
    row.SetCell(0, "name");
    row.SetCell(99, "last");
    row.SetIndent(5, -1);
    row.SetParamText1("target");
    row.SetParamText2("10");
    row.SetParam1(3);
    row.SetParam2(4);
    row.SetParam3(1);

    CGridRow copy;
    copy.SetCell(7, "overwritten");
    copy = row;
    EXPECT_EQ(kindClassify, copy.GetKind());
    EXPECT_EQ(CString("name"), copy.m_strCell[0]);
    EXPECT_EQ(CString("last"), copy.m_strCell[99]);
    EXPECT_TRUE(copy.m_strCell[7].IsEmpty());
    EXPECT_EQ(-1, copy.m_nIndent[5]);
    EXPECT_EQ(CString("target"), copy.GetParamText1());
    EXPECT_EQ(CString("10"), copy.GetParamText2());
    EXPECT_EQ(3, copy.GetParam1());
    EXPECT_EQ(4, copy.GetParam2());
    EXPECT_EQ(1, copy.GetParam3());
    // A row without parameter texts copied over one with them leaves none behind.
    copy = CGridRow();
    EXPECT_TRUE(copy.GetParamText1().IsEmpty());
    EXPECT_TRUE(copy.GetParamText2().IsEmpty());
    copy.SetParamText2("8");
    EXPECT_TRUE(copy.GetParamText1().IsEmpty());
    EXPECT_EQ(CString("8"), copy.GetParamText2());
}

// A row holds the cells up to its last text and the indents up to its last indent; every
// other cell, those outside 0..99 included, reads as empty with indent 0, and writing an
// empty text or a zero indent there takes no memory. The row itself fills one cache line.
TEST(GridRowTest, HoldsOnlyTheCellsItUses)
{
    EXPECT_LE(sizeof(CGridRow), 64u);
    CGridRow row;
    row.SetCell(40, "");
    row.SetIndent(60, 0);
    row.SetCell(-1, "outside");
    row.SetCell(CGridRow::MAX_CELLS, "outside");
    row.SetIndent(CGridRow::MAX_CELLS, 3);
    EXPECT_EQ(0, row.m_strCell.GetSize());
    EXPECT_TRUE(row.m_strCell[-1].IsEmpty());
    EXPECT_TRUE(row.GetCell(CGridRow::MAX_CELLS).IsEmpty());
    EXPECT_EQ(0, row.GetIndent(-1));
    EXPECT_EQ(CNumberRules::ReadNumber(""), row.ReadNumber(50));

    for (int c = 0; c < 9; ++c)
        row.SetCell(c, std::to_string(c + 1));
    EXPECT_GE(row.m_strCell.GetSize(), 9);
    EXPECT_LT(row.m_strCell.GetSize(), 20);
    row.SetIndent(2, 4);
    EXPECT_EQ(4, row.GetIndent(2));
    EXPECT_EQ(0, row.GetIndent(3));
    // A cell set, emptied and set again reads its present text and number.
    row.SetCell(4, "");
    EXPECT_TRUE(row.m_strCell[4].IsEmpty());
    EXPECT_EQ(0.0, row.ReadNumber(4));
    row.SetCell(4, "77");
    EXPECT_EQ(77.0, row.ReadNumber(4));

    // A copy holds no more cells than the texts need.
    row.SetCell(8, "");
    CGridRow copy(row);
    EXPECT_EQ(8, copy.m_strCell.GetSize());
    EXPECT_EQ(CString("8"), copy.m_strCell[7]);
    EXPECT_EQ(4, copy.GetIndent(2));
    // Assigning a shorter row empties the cells beyond its texts.
    CGridRow shorter;
    shorter.SetCell(0, "only");
    copy = shorter;
    EXPECT_EQ(CString("only"), copy.m_strCell[0]);
    for (int c = 1; c < CGridRow::MAX_CELLS; ++c) {
        ASSERT_TRUE(copy.m_strCell[c].IsEmpty()) << c;
        ASSERT_EQ(0, copy.m_nIndent[c]) << c;
    }
    copy.EmptyCells();
    EXPECT_TRUE(copy.m_strCell[0].IsEmpty());
    EXPECT_EQ(0, copy.m_strCell.GetSize());
}

TEST_F(GridRowArrayTest, IndexesBeyondTheEndReadAsNoRow)
{
    rows.Add(MakeRow(5, "a"));
    EXPECT_EQ(nullptr, rows.GetRow(1));
    EXPECT_EQ(nullptr, rows.GetRow(-1));
    EXPECT_EQ(0, rows.GetUpperBound());
    rows.InsertAt(3, MakeRow(7, "b"));
    EXPECT_EQ(4, rows.GetSize());
    EXPECT_EQ(nullptr, rows.GetRow(1));
    EXPECT_EQ(nullptr, rows.GetRow(2));
    ASSERT_NE(nullptr, rows.GetRow(3));
    EXPECT_EQ(kindKind, rows.GetRow(3)->GetKind());
}

TEST_F(GridRowArrayTest, TheArrayOwnsItsRowsUntilOneIsReleased)
{
    rows.Add(MakeRow(5, "a"));
    rows.Add(MakeRow(5, "b"));
    rows.InsertEmptyAt(1, 2);
    EXPECT_EQ(4, rows.GetSize());
    EXPECT_EQ(CString("b"), rows.GetRow(3)->m_strCell[0]);
    rows.RemoveAt(1, 2);
    EXPECT_EQ(CString("b"), rows.GetRow(1)->m_strCell[0]);
    // A row released is the caller's; its entry stays, empty.
    std::unique_ptr<CGridRow> a = rows.Release(0);
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(nullptr, rows.GetRow(0));
    EXPECT_EQ(2, rows.GetSize());
    // A row put over another deletes it; reordered rows are neither deleted nor copied.
    rows.SetAt(0, std::move(a));
    rows.SetAt(1, MakeRow(7, "c"));
    CGridRow* pA = rows.GetRow(0);
    rows.Reorder(0, {rows.GetRow(1), pA});
    EXPECT_EQ(kindKind, rows.GetRow(0)->GetKind());
    EXPECT_EQ(pA, rows.GetRow(1));
    // A row set past the end grows the array with empty entries.
    rows.SetAtGrow(4, MakeRow(5, "d"));
    EXPECT_EQ(5, rows.GetSize());
    EXPECT_EQ(nullptr, rows.GetRow(3));
    rows.RemoveAt(0, 100);
    EXPECT_EQ(0, rows.GetSize());
}

TEST_F(GridRowArrayTest, ACountingStoreCountsEveryChangeOfItsEntriesAndRows)
{
    rows.Add(MakeRow(5, "a"));
    rows.CountChanges();
    EXPECT_TRUE(rows.CountsChangesOf(*rows.GetRow(0)));
    unsigned long long nCount = rows.GetChangeCount();
    const auto changed = [&] {
        const bool bChanged = rows.GetChangeCount() != nCount;
        nCount = rows.GetChangeCount();
        return bChanged;
    };
    rows.GetRow(0)->SetCell(1, "x");
    EXPECT_TRUE(changed());
    rows.Add(MakeRow(5, "b"));
    EXPECT_TRUE(changed());
    EXPECT_TRUE(rows.CountsChangesOf(*rows.GetRow(1)));
    rows.InsertEmptyAt(0, 1);
    EXPECT_TRUE(changed());
    std::unique_ptr<CGridRow> a = rows.Release(1);
    EXPECT_TRUE(changed());
    rows.Reorder(1, {rows.GetRow(2), rows.GetRow(1)});
    EXPECT_TRUE(changed());
    rows.RemoveAt(0);
    EXPECT_TRUE(changed());
    // A row written through an entry handed out for writing is not taken in.
    rows.EntryForWriting(0) = MakeRow(5, "stray");
    EXPECT_TRUE(changed());
    EXPECT_FALSE(rows.CountsChangesOf(*rows.GetRow(0)));
    EXPECT_FALSE(changed());
}

// The pool rows come from: slots do not overlap, are aligned, are reused after being
// given back, and a pool grows by whole blocks.
TEST(RowPoolTest, SlotsAreDistinctAlignedReusedAndGrowByBlocks)
{
    CRowPool pool(sizeof(CGridRow), std::size_t{2} << 20);
    EXPECT_GE(pool.GetSlotSize(), sizeof(CGridRow));
    EXPECT_EQ(pool.GetSlotSize() % 64, 0u);
    const std::size_t perBlock = (std::size_t{2} << 20) / pool.GetSlotSize();
    std::vector<CGridRow*> rows;
    for (std::size_t i = 0; i < perBlock + 3; ++i) {
        void* p = pool.Allocate();
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % 64, 0u);
        ASSERT_TRUE(pool.Owns(p));
        rows.push_back(::new (p) CGridRow);
        rows.back()->SetKind(KindFromNumber(static_cast<int>(i)));
        rows.back()->SetCell(99, std::to_string(i) + " a text longer than any short-string buffer");
    }
    EXPECT_EQ(pool.GetBlockCount(), 2u);
    // Every row kept what was written into it: no two slots overlap.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i]->GetKind(), static_cast<int>(i));
        ASSERT_EQ(rows[i]->m_strCell[99], std::to_string(i) + " a text longer than any short-string buffer");
    }
    // Given back, slots are handed out again before any new block is asked for.
    void* pFreed = rows[5];
    rows[5]->~CGridRow();
    pool.Free(pFreed);
    EXPECT_EQ(pool.Allocate(), pFreed);
    rows[5] = ::new (pFreed) CGridRow;
    // Two given back come back both, whichever first.
    void* pTwo[] = {rows[6], rows[7]};
    for (void* p : pTwo) {
        static_cast<CGridRow*>(p)->~CGridRow();
        pool.Free(p);
    }
    void* pAgain[] = {pool.Allocate(), pool.Allocate()};
    EXPECT_TRUE((pAgain[0] == pTwo[0] && pAgain[1] == pTwo[1]) ||
                (pAgain[0] == pTwo[1] && pAgain[1] == pTwo[0]));
    rows[6] = ::new (pTwo[0]) CGridRow;
    rows[7] = ::new (pTwo[1]) CGridRow;
    EXPECT_EQ(pool.GetBlockCount(), 2u);
    int local = 0;
    EXPECT_FALSE(pool.Owns(&local));
    for (CGridRow* row : rows) {
        row->~CGridRow();
        pool.Free(row);
    }
}

// The pools of a row's cells: slots of a smaller alignment are not rounded up to a cache
// line. A row typed into grows by a step of cells at least; a row read whole or copied holds
// exactly its cells, and its indents (the first two in the row itself).
TEST(RowPoolTest, CellSlotsKeepTheirSizeAndRowsReadOrCopiedHoldExactlyTheirCells)
{
    CRowPool pool(12 * 40, std::size_t{2} << 20, 8);
    EXPECT_EQ(pool.GetSlotSize(), 480u);
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % 8, 0u);
    EXPECT_GE(std::max(a, b), static_cast<void*>(static_cast<char*>(std::min(a, b)) + 480));
    pool.Free(a);
    pool.Free(b);
    for (int nCol : {0, 3, 4, 9, 12, 97, 99}) {
        CGridRow row;
        row.SetCell(nCol, "x");
        EXPECT_EQ(row.m_strCell.GetSize(), std::max(nCol + 1, int{CGridRow::CELLS_STEP})) << nCol;
        const CGridRow copy(row);
        EXPECT_EQ(copy.m_strCell.GetSize(), nCol + 1) << nCol;
    }

    CString texts[9] = {"a", "", "c"};
    const int indents[9] = {2, 0, 0, 0, 0, 5};
    CGridRow read;
    read.TakeCells(texts, indents, 9);
    EXPECT_EQ(3, read.m_strCell.GetSize());
    EXPECT_EQ(CString("c"), read.GetCell(2));
    EXPECT_EQ(2, read.GetIndent(0));
    EXPECT_EQ(5, read.GetIndent(5));
    // Indents move between the row and an array of their own, keeping their values.
    read.SetIndent(5, 0);
    read.SetIndent(1, 3);
    CGridRow copy(read);
    EXPECT_EQ(2, copy.GetIndent(0));
    EXPECT_EQ(3, copy.GetIndent(1));
    EXPECT_EQ(0, copy.GetIndent(5));
    copy.SetIndent(7, 9);
    EXPECT_EQ(3, copy.GetIndent(1));
    EXPECT_EQ(9, copy.GetIndent(7));
    read = copy;
    EXPECT_EQ(9, read.GetIndent(7));
    EXPECT_EQ(2, read.GetIndent(0));
    read.EmptyCells();
    EXPECT_EQ(0, read.GetIndent(0));
    EXPECT_EQ(0, read.GetIndent(7));
}

// A block whose slots are all given back goes back to the system, one block that held few
// slots aside; the slots of the blocks still in use stay where they are and are handed out
// first. A block that held many slots at once (an estimate's rows) gives its pages to the
// kernel whatever (they count as lazily freed at once) and is the next block a pool of its
// size takes.
TEST(RowPoolTest, UnusedBlocksGoBackToTheSystemButOne)
{
    CRowPool pool(4096, std::size_t{2} << 20);
    const std::size_t perBlock = (std::size_t{2} << 20) / pool.GetSlotSize();
    ASSERT_LT(perBlock, 1024u) << "blocks that never hold many slots at once";
    std::vector<void*> slots;
    for (std::size_t i = 0; i < 3 * perBlock + 1; ++i)
        slots.push_back(pool.Allocate());
    ASSERT_EQ(pool.GetBlockCount(), 4u);
    // Every other slot of the first block stays in use; all others are given back, the
    // last block's first.
    for (std::size_t i = slots.size(); i-- > 0;) {
        if (i < perBlock && i % 2 == 0)
            continue;
        pool.Free(slots[i]);
    }
    EXPECT_EQ(pool.GetBlockCount(), 2u) << "the first block and one unused block";
    EXPECT_TRUE(pool.Owns(slots[0]));
    // The first block's given-back slots come first.
    void* p = pool.Allocate();
    EXPECT_GE(static_cast<char*>(p), static_cast<char*>(slots[0]));
    EXPECT_LT(static_cast<char*>(p), static_cast<char*>(slots[0]) + (std::size_t{2} << 20));
    pool.Free(p);
    for (std::size_t i = 0; i < perBlock; i += 2)
        pool.Free(slots[i]);
    EXPECT_EQ(pool.GetBlockCount(), 1u);
    // The kept block serves the next rows.
    std::vector<void*> again;
    for (std::size_t i = 0; i < perBlock; ++i)
        again.push_back(pool.Allocate());
    EXPECT_EQ(pool.GetBlockCount(), 1u);
    for (void* q : again)
        pool.Free(q);

    CRowPool rows(sizeof(CGridRow), std::size_t{2} << 20);
    std::vector<void*> many;
    for (std::size_t i = 0; i < 1024; ++i) {
        many.push_back(rows.Allocate());
        std::memset(many.back(), 1, rows.GetSlotSize());
    }
    ASSERT_EQ(rows.GetBlockCount(), 1u);
    const long nLazyBefore = LazyFreeKilobytes();
    ASSERT_GE(nLazyBefore, 0) << "the kernel shows no lazily freed memory";
    for (void* q : many)
        rows.Free(q);
    EXPECT_EQ(rows.GetBlockCount(), 0u);
    const std::size_t nWritten = 1024 * rows.GetSlotSize();
    EXPECT_GE(LazyFreeKilobytes() - nLazyBefore, static_cast<long>(nWritten / 1024));
    CRowPool next(sizeof(CGridRow), std::size_t{2} << 20);
    void* pFirst = next.Allocate();
    EXPECT_EQ(pFirst, *std::min_element(many.begin(), many.end()));
    ::new (pFirst) CGridRow;
    static_cast<CGridRow*>(pFirst)->~CGridRow();
    next.Free(pFirst);
    // Once an estimate is read, the spares it did not take go back for good.
    for (void*& q : many) {
        q = rows.Allocate();
        std::memset(q, 1, rows.GetSlotSize());
    }
    for (void* q : many)
        rows.Free(q);
    const long nLazySpared = LazyFreeKilobytes();
    CRowPool::ReleaseSpareBlocks();
    EXPECT_LE(LazyFreeKilobytes(), nLazySpared - static_cast<long>(nWritten / 1024));
}

// Rows made with new and deleted, and rows kept by unique_ptr, work as any object.
TEST(RowPoolTest, RowsMadeWithNewKeepTheirTextsAndCanBeDeleted)
{
    std::vector<std::unique_ptr<CGridRow>> rows;
    for (int i = 0; i < 3000; ++i) {
        rows.push_back(std::make_unique<CGridRow>());
        rows.back()->SetCell(i % CGridRow::MAX_CELLS, std::to_string(i));
    }
    for (int i = 0; i < 3000; i += 2)
        rows[static_cast<size_t>(i)].reset();
    for (int i = 0; i < 3000; i += 2)
        rows[static_cast<size_t>(i)] = std::make_unique<CGridRow>(*rows[static_cast<size_t>(i + 1)]);
    for (int i = 0; i < 3000; ++i) {
        const int source = i % 2 == 0 ? i + 1 : i;
        ASSERT_EQ(rows[static_cast<size_t>(i)]->m_strCell[source % CGridRow::MAX_CELLS],
                  std::to_string(source));
    }
}

TEST(GridRowNumberTest, RememberedNumbersFollowEveryTextChange)
{
    CGridRow row;
    // Texts of every shape the cells hold, each read twice (parsed, then remembered) and
    // compared with reading the text afresh.
    const char* const texts[] = {"123.450000", "123.460000", "",    "-0.500000",
                                 "1,500",      " 12",        "abc", "12345678901234567890.000000",
                                 "7",          "7.",         "-",   "99999999999999.990000"};
    for (int nCell : {0, 5, 99}) {
        for (const char* text : texts) {
            row.SetCell(nCell, text);
            EXPECT_EQ(CNumberRules::ReadStoredNumber(text), row.ReadNumber(nCell)) << text;
            EXPECT_EQ(CNumberRules::ReadStoredNumber(text), row.ReadNumber(nCell)) << text;
        }
    }
    // More cells than the cache holds: every one still reads its own text, also after
    // changes of equal length.
    for (int c = 0; c < 20; ++c)
        row.SetCell(c, CString(std::to_string(c * 11).c_str()));
    for (int pass = 0; pass < 2; ++pass) {
        for (int c = 0; c < 20; ++c)
            EXPECT_EQ(c * 11.0, row.ReadNumber(c)) << c;
    }
    row.SetCell(3, "34");
    EXPECT_EQ(34.0, row.ReadNumber(3));
    // A copy reads the texts it was given.
    CGridRow copy(row);
    copy.SetCell(3, "35");
    EXPECT_EQ(35.0, copy.ReadNumber(3));
    EXPECT_EQ(34.0, row.ReadNumber(3));
    row = copy;
    EXPECT_EQ(35.0, row.ReadNumber(3));
    EXPECT_EQ(0.0, row.ReadNumber(-1));
    EXPECT_EQ(0.0, row.ReadNumber(CGridRow::MAX_CELLS));

    // The totals remember a number with its text: it is taken for that text alone, of any
    // length the entry holds, a byte changed anywhere in it is another text.
    for (size_t n = 1; n <= CRememberedNumber::TEXT_LIMIT; ++n) {
        const std::string text = std::string(n, '1');
        CRememberedNumber entry;
        entry.Set(2, text, 1.0);
        EXPECT_TRUE(entry.Matches(2, text)) << n;
        EXPECT_FALSE(entry.Matches(3, text)) << n;
        for (size_t i = 0; i < n; ++i) {
            std::string other = text;
            other[i] = '2';
            EXPECT_FALSE(entry.Matches(2, other)) << n << " " << i;
        }
    }
}

// The find over a page of cells without a view: the order cells are looked at in (never the
// starting cell, never wrapping), the selection block, and the text match's case folding,
// whole words and double-byte characters.
#include "estimate/engine/CCellSearch.h"
#include "estimate/engine/CGridRow.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class CellSearchTest : public ::testing::Test {
protected:
    ~CellSearchTest() override { rows.DeleteWorkingRows(); }
    void Put(int nRow, int nCol, const char* text)
    {
        while (rows.GetSize() <= nRow)
            rows.Add(new CGridRow);
        rows.GetRow(nRow)->SetCell(nCol, CString::FromUtf8(text));
    }
    // The match as (column, row, position).
    std::tuple<int, int, int> Find(const char* text, CCellSearch::COptions options, int nCol, int nRow,
                                   CRect rcBlock = CRect()) const
    {
        const CCellSearch::CMatch m =
            CCellSearch(rows, 3, 10, 3).Search(CString::FromUtf8(text), options, nCol, nRow, rcBlock);
        return {m.nCol, m.nRow, m.nPosition};
    }

    CGridRowArray rows;
};

using M = std::tuple<int, int, int>;

} // namespace

TEST_F(CellSearchTest, DownAndUpFromTheCellAfterTheStartWithoutWrapping)
{
    Put(0, 0, "足場 a");
    Put(0, 2, "xa");
    Put(2, 1, "ba");
    const CCellSearch::COptions down;
    EXPECT_EQ(M(2, 0, 1), Find("A", down, 0, 0)) << "folded case; the start itself is skipped";
    EXPECT_EQ(M(1, 2, 1), Find("a", down, 2, 0));
    EXPECT_EQ(M(-1, -1, -1), Find("a", down, 1, 2)) << "no wrapping round";
    CCellSearch::COptions up;
    up.bUp = true;
    EXPECT_EQ(M(2, 0, 1), Find("a", up, 1, 2));
    EXPECT_EQ(M(0, 0, 5), Find("a", up, 2, 0));
    CCellSearch::COptions block;
    block.bSelectionOnly = true;
    EXPECT_EQ(M(-1, -1, -1), Find("a", block, 0, 0, CRect(0, 0, 0, 2))) << "the other columns lie outside";
    EXPECT_EQ(M(1, 2, 1), Find("a", block, 0, 0, CRect(1, 0, 1, 2)));
}

TEST_F(CellSearchTest, CaseWholeWordsAndDoubleByteCharacters)
{
    EXPECT_EQ(-1, CCellSearch::FindInText("abc", "", false, false)) << "an empty text matches nothing";
    EXPECT_EQ(1, CCellSearch::FindInText("xABc", "ab", false, false));
    EXPECT_EQ(-1, CCellSearch::FindInText("xABc", "ab", false, true));
    EXPECT_EQ(0, CCellSearch::FindInText("abc abc", "ABC", true, false));
    EXPECT_EQ(-1, CCellSearch::FindInText("xabc abcx", "abc", true, false));
    EXPECT_EQ(5, CCellSearch::FindInText("xabc abc", "abc", true, false));
    // "ソ" is 0x83 0x5C: its trail byte is the backslash, which must not match there.
    EXPECT_EQ(-1, CCellSearch::FindInText(CString::FromUtf8("ソ"), "\\", false, false));
    EXPECT_EQ(2, CCellSearch::FindInText(CString::FromUtf8("ソ\\"), "\\", false, false));
}

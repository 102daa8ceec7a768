// The find over a page of cells without a view: the order cells are looked at in (never the
// starting cell, never wrapping), the selection block, the text match's case folding, whole
// words and double-byte characters, and number cells matched as they show.
#include "engine/estimate/CCellSearch.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class CellSearchTest : public ::testing::Test {
protected:
    void Put(int nRow, int nCol, const char* text)
    {
        while (rows.GetSize() <= nRow)
            rows.Add(std::make_unique<CGridRow>());
        rows.GetRow(nRow)->SetCell(nCol, CString::FromUtf8(text));
    }
    // The match as (column, row, position).
    std::tuple<int, int, int> Find(const char* text, CCellSearch::COptions options, int nCol, int nRow,
                                   CRect rcBlock = CRect()) const
    {
        const auto read = [this](int nRow, int nCol) {
            CCellSearch::CCellText cell;
            if (const CGridRow* pRow = rows.GetRow(nRow))
                cell.strText = pRow->m_strCell[nCol];
            return cell;
        };
        const CCellSearch::CMatch m =
            CCellSearch(read, 3, 10, 3).Search(CString::FromUtf8(text), options, nCol, nRow, rcBlock);
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

namespace {

CCellSearch::CCellText NumberCell(const char* stored, const char* shown)
{
    CCellSearch::CCellText cell;
    cell.strText = stored;
    cell.bNumber = true;
    cell.strShown = shown;
    return cell;
}

// The cell's text after the find text is replaced, or "(none)" when it does not match.
std::string ReplaceIn(const CCellSearch::CCellText& cell, const char* find, const char* replacement,
                      bool bWholeWord = false)
{
    const CCellSearch::CTextMatch m = CCellSearch::MatchCell(cell, find, bWholeWord, false);
    return m.IsFound() ? m.Replaced(replacement).str() : "(none)";
}

} // namespace

TEST(CellMatchTest, ANumberCellMatchesAsItShowsAndAsItsNumberNeverAsStored)
{
    const CCellSearch::CCellText cell = NumberCell("1250.500000", "1,250.50");
    // The number itself, however many decimals it is written with, is the whole cell.
    EXPECT_EQ("200", ReplaceIn(cell, "1250.5", "200"));
    EXPECT_EQ("200", ReplaceIn(cell, "1250.50", "200"));
    EXPECT_EQ("200", ReplaceIn(NumberCell("128.500000", "128.50"), "128.5", "200"));
    // Parts of it in the shown text, then in the shown text without separators.
    EXPECT_EQ("1,300.50", ReplaceIn(cell, "250", "300"));
    EXPECT_EQ("2,000", ReplaceIn(cell, "1,250.50", "2,000"));
    EXPECT_EQ("1300.50", ReplaceIn(cell, "1250", "1300"));
    EXPECT_EQ("-1300.50", ReplaceIn(NumberCell("-1250.500000", "-1,250.50"), "1250", "1300"));
    // The stored digits are no text of the cell; as a whole word only the whole shown text.
    EXPECT_EQ("(none)", ReplaceIn(cell, "5000", "1"));
    EXPECT_EQ("(none)", ReplaceIn(cell, "250", "1", true));
    EXPECT_EQ("7", ReplaceIn(cell, "1,250.50", "7", true));
    // A zero that shows as nothing is still found by its number.
    EXPECT_EQ("5", ReplaceIn(NumberCell("0.000000", ""), "0", "5"));
    // A text cell is the text it holds, digits and all.
    CCellSearch::CCellText text;
    text.strText = "1250.500000";
    EXPECT_EQ("1250.1", ReplaceIn(text, "500000", "1"));
    EXPECT_EQ("(none)", ReplaceIn(text, "1,250", "1"));
}

TEST(CellMatchTest, TheSearchFindsANumberCellByWhatItShows)
{
    const auto read = [](int nRow, int nCol) {
        return nRow == 2 && nCol == 1 ? NumberCell("98000.000000", "98,000") : CCellSearch::CCellText();
    };
    const CCellSearch::CMatch m = CCellSearch(read, 3, 10, 3).Search("98,000", {}, 0, 0, CRect());
    EXPECT_EQ(std::make_tuple(1, 2, 0, 6), std::make_tuple(m.nCol, m.nRow, m.nPosition, m.nLength));
    EXPECT_FALSE(CCellSearch(read, 3, 10, 3).Search("000000", {}, 0, 0, CRect()).IsFound());
}

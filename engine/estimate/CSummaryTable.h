// CSummaryTable: the summary table (集計表), the estimate condensed into its headings and
// totals, level by level (kinds, large, middle and small subjects). It reads the edit page's
// rows through the engine and builds rows of its own, each of the kind of the row it stands
// for + 100, which the summary page shows and the edit page can take at its top.
//
// A line carries the amount of its heading's total (a total or discount row its own); a
// heading with no total gets the sum of its rows. An opening heading (a kind heading at the
// large level, say) carries the amounts of its rows that lie under no heading of the level,
// so that the lines of a level always add up to each total shown.
//
// A line carries no subject number: the numbers a line would take are those of the page
// being built, the summary page, where no row is a heading of the edit page.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <functional>

class CEstimateColumns;
class CEstimateEngine;
class CGridRowArray;

// The levels of the summary table: the lines of the kinds, or of the large, middle or small
// subjects. A type of its own: the totals' levels (ETotalLevel) name the same headings with
// other numbers.
enum class ESummaryLevel : int { kinds, largeSubjects, middleSubjects, smallSubjects };
// The levels in the order the table takes them, and a level's place in that order.
inline constexpr ESummaryLevel SUMMARY_LEVELS_IN_ORDER[] = {
    ESummaryLevel::kinds, ESummaryLevel::largeSubjects, ESummaryLevel::middleSubjects,
    ESummaryLevel::smallSubjects};
constexpr int SummaryLevelIndex(ESummaryLevel eLevel)
{
    return static_cast<int>(eLevel);
}

class CSummaryTable {
public:
    // The summary of the estimate the engine computes, built into rows (which it owns the
    // row objects of); no row at or past nRowLimit is made. nFormColumns: the columns of the
    // estimation form, of which a line takes those the grid shows.
    CSummaryTable(const CEstimateEngine& engine, CGridRowArray& rows, int nRowLimit, int nFormColumns);
    CSummaryTable(const CSummaryTable&) = delete;
    CSummaryTable& operator=(const CSummaryTable&) = delete;

    // Deletes every row of the table.
    void Clear();
    // Appends the lines of one level, walking the edit page from its first row.
    void BuildLevel(ESummaryLevel eLevel);
    // Appends the line of edit row nRow: with amounts (bAmounts) or as an opening line
    // whose amount columns are left out; nHeadingKind: the heading kind of the level the
    // line is built for (kindEmpty: none).
    void AddLine(int nRow, bool bAmounts, ERowKind nHeadingKind);
    // Fills the level just built up to the end of its page with an empty row object at its
    // last row, so that the next level begins on a page of its own.
    void FillPage(int nRowsPerPage);
    // The rows of a table written at the top of the edit page: whole pages.
    int GetRowsOnPages(int nRowsPerPage) const;

    // One cell or kind of a summary row, the row object made when missing (nothing outside
    // the row limit or the columns).
    static void SetCell(CGridRowArray& rows, int nRowLimit, const CEstimateColumns& columns, int nRow,
                        int nCol, const char* lpszText);
    static void SetKind(CGridRowArray& rows, int nRowLimit, ERowKind nKind, int nRow);
    // The row formulas of a summary row from nFirstCol on, with the estimate's rules: a
    // line none of whose referenced cells holds a number keeps what was copied into it;
    // the result is rounded by the column's rounding rule and kept in normal form.
    static void CalcRow(CGridRowArray& rows, int nRowLimit, const CEstimateColumns& columns, int nRow,
                        int nFirstCol);
    // The rows a summary written earlier at the top of the edit page occupies there (rows
    // of summary kinds and the empty rows among them, up to the first other row).
    static int CountWrittenRows(const CEstimateEngine& engine);

private:
    // The end of the block of heading nRow: its own total (past it with bPastOwnTotal), a
    // heading at its level or above, or such a heading's total; the used rows when none.
    int BlockEnd(int nRow, bool bPastOwnTotal) const;
    // The rows of nRow's block under no heading of the level (or between it and the
    // opening heading nRow) whose amounts the line carries.
    void ForEachOwnRow(int nRow, ERowKind nHeadingKind, const std::function<void(int)>& visit) const;
    bool HasOwnRows(int nRow, ERowKind nHeadingKind) const;
    CString AmountText(int nRow, int nCol, int nTotalRow, ERowKind nHeadingKind) const;
    int NextRow() const;

    const CEstimateEngine& m_engine;
    CGridRowArray& m_rows;
    const int m_nRowLimit;
    const int m_nFormColumns;
};

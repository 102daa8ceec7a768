// Page alignment ("ページ揃え"): a heading that follows an empty row starts a page of its
// own. A page of the estimate is a printed page of a fixed number of rows; alignment moves a
// heading up over the empty rows before it on its page, or pushes it to the next page with
// empty rows when its page holds anything else.
//
// The rules work on any rows that offer, as TRows:
//     int Count() const;              the used rows
//     ERowKind Kind(int nRow) const;  a row's kind (kindEmpty past the used rows)
//     void Delete(int nRow);          takes a row out, the rows below move up
//     void Insert(int nRow);          puts an empty row in, the rows below move down
// The estimate model hands its edit page (each change through its own row operations, which
// the undo record and the totals follow); a list of kinds (CRowKindList) tries a change
// first, to see how many rows it would leave.
#pragma once

#include "engine/estimate/RowKinds.h"

#include <algorithm>
#include <utility>
#include <vector>

class CEstimateEngine;

namespace PageAlignment {

// The kinds of rows, on which a change and its alignment are tried.
class CRowKindList {
public:
    explicit CRowKindList(std::vector<ERowKind> kinds) : m_kinds(std::move(kinds)) {}
    int Count() const { return static_cast<int>(m_kinds.size()); }
    ERowKind Kind(int nRow) const
    {
        return nRow >= 0 && nRow < Count() ? m_kinds[static_cast<size_t>(nRow)] : kindEmpty;
    }
    void Delete(int nRow)
    {
        if (nRow >= 0 && nRow < Count())
            m_kinds.erase(m_kinds.begin() + nRow);
    }
    void Insert(int nRow)
    {
        if (nRow > Count())
            m_kinds.resize(static_cast<size_t>(nRow), kindEmpty);
        m_kinds.insert(m_kinds.begin() + nRow, kindEmpty);
    }

private:
    std::vector<ERowKind> m_kinds;
};

// nRow starts a page: the empty rows before it on its page go (the page start is returned)
// or, when one of them is not empty, empty rows push it to the next page (its start).
template <class TRows>
int AlignRowToPage(TRows& rows, int nRow, int nPageRows)
{
    const int nStart = nRow / nPageRows * nPageRows;
    bool bEmptyBefore = true;
    for (int r = nStart; r < nRow && bEmptyBefore; ++r)
        bEmptyBefore = rows.Kind(r) == kindEmpty;
    if (bEmptyBefore) {
        for (int r = nStart; r < nRow; ++r)
            rows.Delete(nStart);
        return nStart;
    }
    const int nPad = nPageRows - nRow % nPageRows;
    for (int i = 0; i < nPad; ++i)
        rows.Insert(nRow);
    return nStart + nPageRows;
}

// nRow starts a page, and so does every later heading that follows an empty row. The last
// row aligned.
template <class TRows>
int AlignHeadings(TRows& rows, int nRow, int nPageRows)
{
    const int r = AlignRowToPage(rows, std::max(0, nRow), nPageRows);
    int nLast = r;
    for (int i = r + 1; i < rows.Count(); ++i) {
        if (IsHeadingKind(rows.Kind(i)) && rows.Kind(i - 1) == kindEmpty && i % nPageRows != 0) {
            i = AlignRowToPage(rows, i, nPageRows);
            nLast = i;
        }
    }
    return nLast;
}

// The heading that alignment keeps at a page start after a change at nRow: the first
// heading on the pages after nRow's that has only empty rows before it on its page (a
// page that holds anything else first keeps its rows); -1 when none.
template <class TRows>
int FirstHeadingOnNextPages(const TRows& rows, int nRow, int nPageRows)
{
    int r = (std::max(0, nRow) / nPageRows + 1) * nPageRows;
    while (r < rows.Count()) {
        const ERowKind nKind = rows.Kind(r);
        if (nKind == kindEmpty)
            ++r;
        else if (IsHeadingKind(nKind))
            return r;
        else
            r = (r / nPageRows + 1) * nPageRows;
    }
    return -1;
}

// An empty row put in at nRow, the heading that stood at the start of a later page kept
// there. Whether a heading was aligned.
template <class TRows>
bool InsertRowAligned(TRows& rows, int nRow, int nPageRows)
{
    const int nHeading = FirstHeadingOnNextPages(rows, nRow, nPageRows);
    rows.Insert(nRow);
    if (nHeading <= 0)
        return false;
    AlignRowToPage(rows, nHeading + 1, nPageRows);
    return true;
}

// Where the heading nHeading (FirstHeadingOnNextPages before a cut of nCount rows at
// nFirst) stands after the cut, or -1 when it is none or was cut.
int HeadingAfterCut(int nHeading, int nFirst, int nCount);

// The rows the edit page would use after nCount rows at nFirst are cut and the headings
// from nHeading (FirstHeadingOnNextPages before the cut) are aligned again: alignment can
// insert rows anywhere in the estimate, so the count is worked out on the kinds first.
int RowsAfterCut(const CEstimateEngine& engine, int nFirst, int nCount, int nHeading, int nPageRows);

} // namespace PageAlignment

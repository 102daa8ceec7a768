// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place.
#include "estimate/CMorvelEMView.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool IsOneOf(int nKind, std::initializer_list<int> kinds)
{
    for (int k : kinds)
        if (k == nKind)
            return true;
    return false;
}

// Kinds that end a heading's block before its own total was found (the block then has no
// total of its own, and the second scan decides).
bool EndsBeforeTotal(int nHeading, int nKind)
{
    switch (nHeading) {
    case CMorvelEMView::kindLarge:
        return IsOneOf(nKind, {1, 7, 15});
    case CMorvelEMView::kindMiddle:
        return IsOneOf(nKind, {1, 2, 7, 11, 15});
    case CMorvelEMView::kindSmall:
        return IsOneOf(nKind, {2, 3, 7, 11, 12, 15});
    case CMorvelEMView::kindKind:
        return IsOneOf(nKind, {7, 15});
    default:
        return false;
    }
}

// Kinds that end a block without a total row.
bool EndsBlockWithoutTotal(int nHeading, int nKind)
{
    switch (nHeading) {
    case CMorvelEMView::kindLarge:
        return IsOneOf(nKind, {1, 6, 7, 8, 15});
    case CMorvelEMView::kindMiddle:
        return IsOneOf(nKind, {1, 2, 6, 7, 8, 11, 15});
    case CMorvelEMView::kindSmall:
        return !IsOneOf(nKind, {0, 5, 13, 23, 33});
    case CMorvelEMView::kindKind:
        return IsOneOf(nKind, {7, 15});
    default:
        return false;
    }
}

bool IsSubjectHeading(int nKind)
{
    return nKind == CMorvelEMView::kindLarge || nKind == CMorvelEMView::kindMiddle ||
           nKind == CMorvelEMView::kindSmall || nKind == CMorvelEMView::kindKind;
}

} // namespace

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    if (!IsValidRow(nRow))
        return 0;
    // The scans look at the row just after the used rows as well: an empty row there
    // belongs to a block that runs to the end of the estimate.
    const int nLast = std::min(m_nUsedRows, m_nRowLimit - 1);
    const int nHeading = EditKind(nRow);
    if (!IsSubjectHeading(nHeading))
        return nLast >= nRow ? nLast - nRow + 1 : 1;

    int nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        const int nKind = EditKind(r);
        if (nKind == nHeading + kindTotalOffset)
            return nCount + 1;
        if (EndsBeforeTotal(nHeading, nKind))
            break;
        ++nCount;
    }

    nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        if (EndsBlockWithoutTotal(nHeading, EditKind(r)))
            break;
        ++nCount;
    }
    return nCount;
}

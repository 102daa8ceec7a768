// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place.
#include "estimate/CMorvelEMView.h"

#include <algorithm>

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    if (!IsValidRow(nRow))
        return 0;
    // The scans look at the row just after the used rows as well: an empty row there
    // belongs to a block that runs to the end of the estimate.
    const int nLast = std::min(m_nUsedRows, m_nRowLimit - 1);
    const int nHeading = EditKind(nRow);
    if (!IsHeadingKind(nHeading))
        return nLast >= nRow ? nLast - nRow + 1 : 1;

    int nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        const int nKind = EditKind(r);
        if (nKind == TotalKindOf(nHeading))
            return nCount + 1;
        if (EndsHeadingBlock(nHeading, nKind))
            break;
        ++nCount;
    }

    nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        if (EndsHeadingBlockWithoutTotal(nHeading, EditKind(r)))
            break;
        ++nCount;
    }
    return nCount;
}

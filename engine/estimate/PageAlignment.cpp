#include "engine/estimate/PageAlignment.h"

#include "engine/estimate/CEstimateEngine.h"

namespace PageAlignment {

int HeadingAfterCut(int nHeading, int nFirst, int nCount)
{
    // A heading the cut took itself: its old place minus the cut names some other row.
    if (nHeading <= 0 || nHeading < nFirst + nCount)
        return -1;
    return nHeading - nCount;
}

int RowsAfterCut(const CEstimateEngine& engine, int nFirst, int nCount, int nHeading, int nPageRows)
{
    const int nUsedRows = engine.GetUsedRows();
    std::vector<ERowKind> kinds;
    kinds.reserve(static_cast<size_t>(nUsedRows));
    for (int r = 0; r < nUsedRows; ++r) {
        if (r < nFirst || r >= nFirst + nCount)
            kinds.push_back(engine.EditKind(r));
    }
    CRowKindList rows(std::move(kinds));
    if (const int nMoved = HeadingAfterCut(nHeading, nFirst, nCount); nMoved >= 0)
        AlignRowToPage(rows, nMoved, nPageRows);
    AlignHeadings(rows, nHeading, nPageRows);
    return rows.Count();
}

} // namespace PageAlignment

// The extent of a subject block: the rows a heading takes along when its subject is cut
// from the subject tree or dragged to another place.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"

#include <algorithm>
#include <iterator>

int CMorvelEMView::GetSubjectRowCount(int nRow) const
{
    if (!IsValidRow(nRow))
        return 0;
    // The scans look at the row just after the used rows as well: an empty row there
    // belongs to a block that runs to the end of the estimate.
    const int nLast = std::min(GetUsedRows(), GetRowLimit() - 1);
    const ERowKind nHeading = EditKind(nRow);
    if (!IsHeadingKind(nHeading))
        return nLast >= nRow ? nLast - nRow + 1 : 1;

    int nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        const ERowKind nKind = EditKind(r);
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

void CMorvelEMView::FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit) const
{
    headings.clear();
    // The heading of each kind still waiting for its total (an index into headings, or
    // -1): the next heading of its own kind ends the wait without a total.
    int nWaiting[kindKind + 1];
    std::fill(std::begin(nWaiting), std::end(nWaiting), -1);
    static const CString strEmpty;
    const int nColumns = GetColumnLimit();
    const int nNameCol = FindNameColumn();
    const int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
    auto cellOf = [nColumns](const CGridRow* pRow, int nCol) {
        return pRow != nullptr && nCol >= 0 && nCol < nColumns ? &pRow->m_strCell[nCol] : &strEmpty;
    };
    auto take = [&](int r, ERowKind nKind, const CGridRow* pRow) {
        if (IsHeadingKind(nKind)) {
            nWaiting[nKind] = -1;
            if (headings.size() < nLimit) {
                nWaiting[nKind] = static_cast<int>(headings.size());
                headings.push_back(CHeadingRow{r, nKind, -1, cellOf(pRow, nNameCol), &strEmpty});
            }
        } else if (IsHeadingTotalKind(nKind)) {
            const ERowKind nHeading = HeadingOfTotalKind(nKind);
            if (nWaiting[nHeading] >= 0) {
                CHeadingRow& heading = headings[static_cast<size_t>(nWaiting[nHeading])];
                heading.nTotalRow = r;
                heading.pAmount = cellOf(pRow, nAmountCol);
                nWaiting[nHeading] = -1;
            }
        }
    };
    const int nLast = GetUsedRows() - 1;
    // While the kept totals hold the rows' kinds, they lie one after another there; the
    // rows themselves lie a row's size apart.
    if (const std::vector<ERowKind>* pKinds = KeptKinds()) {
        for (int r = 0; r <= nLast; ++r) {
            const ERowKind nKind = (*pKinds)[static_cast<size_t>(r)];
            if (IsHeadingKind(nKind) || IsHeadingTotalKind(nKind))
                take(r, nKind, EditRows().GetRow(r));
        }
        return;
    }
    for (int r = 0; r <= nLast; ++r) {
        // The kinds lie a row's size apart: asked for well ahead, many arrive at once.
        if (r + KIND_PREFETCH_DISTANCE <= nLast) {
            if (const CGridRow* pAhead = EditRows().GetRow(r + KIND_PREFETCH_DISTANCE))
                pAhead->PrefetchKind();
        }
        if (const CGridRow* pRow = EditRows().GetRow(r))
            take(r, pRow->GetKind(), pRow);
    }
}

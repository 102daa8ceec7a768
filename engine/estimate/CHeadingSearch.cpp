// The subjects of the edit page: a heading's block and the list of headings.
#include "engine/estimate/CHeadingSearch.h"

#include <algorithm>
#include <iterator>

int CHeadingSearch::GetSubjectRowCount(int nRow) const
{
    if (!m_engine.IsValidRow(nRow))
        return 0;
    // The scans look at the row just after the used rows as well: an empty row there
    // belongs to a block that runs to the end of the estimate.
    const int nLast = std::min(m_engine.GetUsedRows(), m_engine.GetRowLimit() - 1);
    const ERowKind nHeading = m_engine.EditKind(nRow);
    if (!IsHeadingKind(nHeading))
        return nLast >= nRow ? nLast - nRow + 1 : 1;

    int nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (nKind == TotalKindOf(nHeading))
            return nCount + 1;
        if (EndsHeadingBlock(nHeading, nKind))
            break;
        ++nCount;
    }

    nCount = 1;
    for (int r = nRow + 1; r <= nLast; ++r) {
        if (EndsHeadingBlockWithoutTotal(nHeading, m_engine.EditKind(r)))
            break;
        ++nCount;
    }
    return nCount;
}

void CHeadingSearch::FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit, int nNameCol,
                                     int nAmountCol) const
{
    headings.clear();
    // The heading of each kind still waiting for its total (an index into headings, or
    // -1): the next heading of its own kind ends the wait without a total.
    int nWaiting[kindKind + 1];
    std::fill(std::begin(nWaiting), std::end(nWaiting), -1);
    static const CString strEmpty;
    auto take = [&](int r, ERowKind nKind) {
        if (IsHeadingKind(nKind)) {
            nWaiting[nKind] = -1;
            if (headings.size() < nLimit) {
                nWaiting[nKind] = static_cast<int>(headings.size());
                headings.push_back(CHeadingRow{r, nKind, -1, &m_engine.EditCell(r, nNameCol), &strEmpty});
            }
        } else if (IsHeadingTotalKind(nKind)) {
            const ERowKind nHeading = HeadingOfTotalKind(nKind);
            if (nWaiting[nHeading] >= 0) {
                CHeadingRow& heading = headings[static_cast<size_t>(nWaiting[nHeading])];
                heading.nTotalRow = r;
                heading.pAmount = &m_engine.EditCell(r, nAmountCol);
                nWaiting[nHeading] = -1;
            }
        }
    };
    const int nLast = m_engine.GetUsedRows() - 1;
    // While the kept totals hold the rows' kinds, they lie one after another there; the
    // rows themselves lie a row's size apart.
    if (const std::vector<ERowKind>* pKinds = m_engine.KeptKinds()) {
        for (int r = 0; r <= nLast; ++r) {
            const ERowKind nKind = (*pKinds)[static_cast<size_t>(r)];
            if (IsHeadingKind(nKind) || IsHeadingTotalKind(nKind))
                take(r, nKind);
        }
        return;
    }
    for (int r = 0; r <= nLast; ++r) {
        // The kinds lie a row's size apart: asked for well ahead, many arrive at once.
        if (r + CEstimateEngine::KIND_PREFETCH_DISTANCE <= nLast)
            m_engine.PrefetchKind(r + CEstimateEngine::KIND_PREFETCH_DISTANCE);
        take(r, m_engine.EditKind(r));
    }
}

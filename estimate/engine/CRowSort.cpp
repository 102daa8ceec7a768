// The sort of a block of rows by one column.
#include "estimate/engine/CRowSort.h"

#include "estimate/engine/CEstimateEngine.h"
#include "estimate/engine/CNumberRules.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const CString& SortText(const CGridRow* pRow, int nCol)
{
    static const CString empty;
    if (pRow == nullptr || nCol < 0 || nCol >= CEstimateColumns::MAX_COLUMNS)
        return empty;
    return pRow->m_strCell[nCol];
}

int CompareBytes(const CString& a, const CString& b)
{
    const size_t nA = static_cast<size_t>(a.GetLength()), nB = static_cast<size_t>(b.GetLength());
    const int n = std::memcmp(a.c_str(), b.c_str(), std::min(nA, nB));
    if (n != 0)
        return n < 0 ? -1 : 1;
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

} // namespace

int CRowSort::CompareTextAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return CompareBytes(SortText(pFirst, nCol), SortText(pSecond, nCol));
}

int CRowSort::CompareTextDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return CompareBytes(SortText(pSecond, nCol), SortText(pFirst, nCol));
}

int CRowSort::CompareNumberAscending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    const double a = CNumberRules::ReadNumber(SortText(pFirst, nCol));
    const double b = CNumberRules::ReadNumber(SortText(pSecond, nCol));
    return a > b ? 1 : (a < b ? -1 : 0);
}

int CRowSort::CompareNumberDescending(const CGridRow* pFirst, const CGridRow* pSecond, int nCol)
{
    return -CompareNumberAscending(pFirst, pSecond, nCol);
}

bool CRowSort::HasRowsToSort(const CEstimateEngine& engine, int nFirstRow, int nLastRow, int nCol)
{
    return std::max(0, nFirstRow) < std::min(nLastRow, engine.GetUsedRows() - 1) &&
           engine.IsValidColumn(nCol);
}

bool CRowSort::SortRows(CEstimateEngine& engine, int nFirstRow, int nLastRow, int nCol, EKey eKey,
                        bool bAscending)
{
    if (!HasRowsToSort(engine, nFirstRow, nLastRow, nCol))
        return false;
    const int nFirst = std::max(0, nFirstRow);
    const int nLast = std::min(nLastRow, engine.GetUsedRows() - 1);
    std::vector<CGridRow*> rows;
    rows.reserve(static_cast<size_t>(nLast - nFirst + 1));
    for (int r = nFirst; r <= nLast; ++r)
        rows.push_back(engine.MakeRow(r));
    int (*compare)(const CGridRow*, const CGridRow*, int) =
        eKey == EKey::text ? (bAscending ? CompareTextAscending : CompareTextDescending)
                           : (bAscending ? CompareNumberAscending : CompareNumberDescending);
    std::stable_sort(rows.begin(), rows.end(), [compare, nCol](const CGridRow* a, const CGridRow* b) {
        return compare(a, b, nCol) < 0;
    });
    engine.PlaceRows(nFirst, rows);
    return true;
}

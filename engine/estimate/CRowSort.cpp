// The sort of a block of rows by one column.
#include "engine/estimate/CRowSort.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>
#include <cstring>

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

std::vector<int> CRowSort::SortedOrder(const std::vector<const CGridRow*>& rows, int nCol, EKey eKey,
                                       bool bAscending)
{
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        order[i] = static_cast<int>(i);
    if (eKey == EKey::text) {
        std::vector<const CString*> keys;
        keys.reserve(rows.size());
        for (const CGridRow* pRow : rows)
            keys.push_back(&SortText(pRow, nCol));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int n = CompareBytes(*keys[static_cast<size_t>(a)], *keys[static_cast<size_t>(b)]);
            return bAscending ? n < 0 : n > 0;
        });
        return order;
    }
    std::vector<double> keys;
    keys.reserve(rows.size());
    for (const CGridRow* pRow : rows)
        keys.push_back(CNumberRules::ReadNumber(SortText(pRow, nCol)));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const double x = keys[static_cast<size_t>(a)], y = keys[static_cast<size_t>(b)];
        return bAscending ? x < y : x > y;
    });
    return order;
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
    const std::vector<int> order =
        SortedOrder(std::vector<const CGridRow*>(rows.begin(), rows.end()), nCol, eKey, bAscending);
    std::vector<CGridRow*> sorted;
    sorted.reserve(rows.size());
    for (const int i : order)
        sorted.push_back(rows[static_cast<size_t>(i)]);
    engine.PlaceRows(nFirst, sorted);
    return true;
}

#include "estimate/engine/CRowImage.h"

#include "estimate/engine/CEstimateEngine.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CGridRowArray.h"
#include "estimate/engine/CUndoCommand.h"

#include <algorithm>

CRowImage::~CRowImage() = default;

CRowImage CRowImage::Take(const CGridRowArray& rows, int nFirst, int nLast, int nUsedRows, int nRowLimit)
{
    return Take([&rows](int nRow) { return rows.GetRow(nRow); }, nFirst, nLast, nUsedRows, nRowLimit);
}

CRowImage CRowImage::Take(const RowGetter& rowAt, int nFirst, int nLast, int nUsedRows, int nRowLimit)
{
    CRowImage image;
    image.m_nFirstRow = std::max(0, nFirst);
    image.m_nUsedRows = nUsedRows;
    for (int r = image.m_nFirstRow; r <= nLast && r < nRowLimit; ++r) {
        const CGridRow* pRow = rowAt(r);
        image.m_rows.push_back(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr);
    }
    return image;
}

void CRowImage::PutBack(IUndoTarget& target) const
{
    PutBack(
        [&target](int nRow, const CGridRow* pKept) {
            if (pKept != nullptr)
                *target.Engine().MakeRow(nRow) = *pKept;
            else
                target.DropRow(nRow);
        },
        [&target](int nUsedRows) { target.RestoreUsedRows(nUsedRows); });
}

void CRowImage::PutBack(const RowSetter& putRow, const std::function<void(int nUsedRows)>& setUsedRows) const
{
    if (m_rows.empty())
        return;
    for (size_t i = 0; i < m_rows.size(); ++i)
        putRow(m_nFirstRow + static_cast<int>(i), m_rows[i].get());
    setUsedRows(m_nUsedRows);
}

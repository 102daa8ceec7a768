#include "engine/estimate/CRowImage.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CUndoCommand.h"

#include <algorithm>

namespace {

// Two rows alike: kind, parameters and every cell's text and indent (null: an empty row).
bool SameRow(const CGridRow* pKept, const CGridRow* pNow)
{
    static const CGridRow s_empty;
    const CGridRow& kept = pKept != nullptr ? *pKept : s_empty;
    const CGridRow& now = pNow != nullptr ? *pNow : s_empty;
    if (kept.GetKind() != now.GetKind() || kept.GetParam1() != now.GetParam1() ||
        kept.GetParam2() != now.GetParam2() || kept.GetParam3() != now.GetParam3() ||
        kept.GetParamText1() != now.GetParamText1() || kept.GetParamText2() != now.GetParamText2())
        return false;
    for (int c = 0; c < CGridRow::MAX_CELLS; ++c) {
        if (kept.GetCell(c) != now.GetCell(c) || kept.GetIndent(c) != now.GetIndent(c))
            return false;
    }
    return true;
}

} // namespace

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

bool CRowImage::Matches(const CGridRowArray& rows, int nUsedRows) const
{
    return Matches([&rows](int nRow) { return rows.GetRow(nRow); }, nUsedRows);
}

bool CRowImage::Matches(const RowGetter& rowAt, int nUsedRows) const
{
    if (nUsedRows != m_nUsedRows)
        return false;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (!SameRow(m_rows[i].get(), rowAt(m_nFirstRow + static_cast<int>(i))))
            return false;
    }
    return true;
}

const CGridRow* CRowImage::GetRow(int nRow) const
{
    if (nRow < m_nFirstRow || nRow > LastRow())
        return nullptr;
    return m_rows[static_cast<size_t>(nRow - m_nFirstRow)].get();
}

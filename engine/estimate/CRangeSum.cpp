// The range total's sum over a column block.
#include "engine/estimate/CRangeSum.h"

#include "engine/estimate/CEstimateColumns.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>

void CRangeSum::Add(const IGridCells& cells, int nCol, int nFirstRow, int nLastRow)
{
    const CEstimateColumns& columns = cells.GetColumns();
    if (!columns.IsValid(nCol))
        return;
    const int nLast = std::min(nLastRow, cells.GetUsedRows() - 1);
    for (int r = std::max(nFirstRow, 0); r <= nLast; ++r)
        m_dTotal += CNumberRules::ReadNumberText(cells.GetCell(r, nCol)).ToDouble();
    m_bPresent = true;
    m_strText = CNumberRules::FormatByPicture(CDecimal::FromDouble(m_dTotal), columns.Get(nCol).picture, TRUE);
}

void CRangeSum::Add(const CEstimateEngine& engine, int nCol, int nFirstRow, int nLastRow)
{
    Add(CEngineCells(engine), nCol, nFirstRow, nLastRow);
}

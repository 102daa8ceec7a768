// The range total's sum over a column block.
#include "estimate/engine/CRangeSum.h"

#include "estimate/engine/CEstimateEngine.h"
#include "estimate/engine/CNumberRules.h"

#include <algorithm>
#include <cstdlib>

void CRangeSum::Add(const CEstimateEngine& engine, int nCol, int nFirstRow, int nLastRow)
{
    if (!engine.IsValidColumn(nCol))
        return;
    const int nLast = std::min(nLastRow, engine.GetUsedRows() - 1);
    for (int r = std::max(nFirstRow, 0); r <= nLast; ++r)
        m_dTotal += std::atof(engine.EditCell(r, nCol));
    m_bPresent = true;
    m_strText = CNumberRules::FormatByPicture(CDecimal::FromDouble(m_dTotal),
                                              engine.Columns().Get(nCol).picture, TRUE);
}

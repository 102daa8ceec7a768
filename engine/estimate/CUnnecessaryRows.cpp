// The search for rows whose numbers are zero.
#include "engine/estimate/CUnnecessaryRows.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>

CUnnecessaryRows::CUnnecessaryRows(const CEstimateEngine& engine, EScan eScan)
    : m_engine(engine), m_eScan(eScan)
{
    const CEstimateColumns& columns = engine.Columns();
    m_nQuantityCol = columns.Find("3", "T");
    if (columns.Get(m_nQuantityCol).strT != "3")
        m_nQuantityCol = -1;
    m_nAmountCol = columns.Find("2", "U");
    if (columns.Get(m_nAmountCol).strV != "2")
        m_nAmountCol = -1;
    m_nUnitCol = columns.Find("1", "T");
}

bool CUnnecessaryRows::IsZero(int nRow, int nCol) const
{
    if (nCol < 0)
        return false;
    const double value = CNumberRules::ReadNumber(m_engine.EditCell(nRow, nCol));
    return value > -1e-10 && value < 1e-10;
}

bool CUnnecessaryRows::IsUnnecessaryRow(int nCondition, int nRow) const
{
    switch (nCondition) {
    case conditionQuantityZero:
        return IsZero(nRow, m_nQuantityCol);
    case conditionAmountZero:
        return IsZero(nRow, m_nAmountCol);
    case conditionBothZero:
        return IsZero(nRow, m_nQuantityCol) && IsZero(nRow, m_nAmountCol);
    default:
        return false;
    }
}

bool CUnnecessaryRows::IsCandidate(int nRow) const
{
    const ERowKind nKind = m_engine.EditKind(nRow);
    if (m_eScan == EScan::manual)
        return nKind == kindDetail;
    return (nKind == kindEmpty || nKind == kindDetail) && !m_engine.EditCell(nRow, m_nUnitCol).IsEmpty();
}

int CUnnecessaryRows::FindNext(int nCondition, int nFromRow) const
{
    const int nUsedRows = m_engine.GetUsedRows();
    for (int r = std::max(0, nFromRow); r < nUsedRows; ++r) {
        if (IsCandidate(r) && IsUnnecessaryRow(nCondition, r))
            return r;
    }
    return -1;
}

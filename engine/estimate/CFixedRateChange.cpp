// The fixed-rate change: which rows meet its conditions and what their numbers become.
#include "engine/estimate/CFixedRateChange.h"

#include "engine/estimate/CEstimateColumns.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"

namespace {

// The value of a compared text: a number text as written (group separators dropped, so
// that "1,000" typed as a condition value means a thousand), anything else read as far as
// it reads as a number.
double ComparedNumber(const CString& strText)
{
    if (CNumberRules::IsNumberText(strText))
        return CNumberRules::ReadNumberText(strText).ToDouble();
    return CNumberRules::ReadNumber(strText);
}

} // namespace

const CString& CEngineCells::GetCell(int nRow, int nCol) const
{
    return m_engine.EditCell(nRow, nCol);
}

int CEngineCells::GetUsedRows() const
{
    return m_engine.GetUsedRows();
}

const CEstimateColumns& CEngineCells::GetColumns() const
{
    return m_engine.Columns();
}

bool CFixedRateChange::HoldsRelation(int nOrder, int nRelation)
{
    switch (nRelation) {
    case 0:
        return nOrder < 0;
    case 1:
        return nOrder <= 0;
    case 2:
        return nOrder == 0;
    case 3:
        return nOrder != 0;
    case 4:
        return nOrder >= 0;
    case 5:
        return nOrder > 0;
    default:
        return true; // no relation chosen: the condition does not restrict
    }
}

bool CFixedRateChange::Matches(const IGridCells& cells, int nRow, const CCondition& condition)
{
    const CEstimateColumns& columns = cells.GetColumns();
    auto holds = [&](int nCol, int nRelation, const CString& strValue) {
        if (strValue.IsEmpty())
            return true;
        const CString& strCell = cells.GetCell(nRow, nCol);
        int nOrder;
        if (columns.IsValid(nCol) && columns.IsNumeric(nCol)) {
            const double left = ComparedNumber(strCell);
            const double right = ComparedNumber(strValue);
            nOrder = left < right ? -1 : (left > right ? 1 : 0);
        } else {
            nOrder = strCell.Compare(strValue);
        }
        return HoldsRelation(nOrder, nRelation);
    };
    const bool bFirst = holds(condition.nCol1, condition.nRelation1, condition.strValue1);
    const bool bSecond = holds(condition.nCol2, condition.nRelation2, condition.strValue2);
    switch (condition.nConjunction) {
    case 0:
        return bFirst || bSecond;
    case 1:
        return bFirst && bSecond;
    default:
        return false;
    }
}

bool CFixedRateChange::Matches(const CEstimateEngine& engine, int nRow, const CCondition& condition)
{
    return Matches(CEngineCells(engine), nRow, condition);
}

bool CFixedRateChange::NewText(int nRow, int nCol, CString& strNew) const
{
    const CString& strOld = m_cells.GetCell(nRow, nCol);
    const bool bTakesPart = CNumberRules::IsNumberText(strOld) || (m_rules.bEmptyCells && strOld.IsEmpty());
    if (!bTakesPart || !Matches(m_cells, nRow, m_condition))
        return false;
    const CString strResult = CNumberRules::EvaluateFormula(strOld + m_strFormula);
    if (!CNumberRules::IsNumberText(strResult))
        return false;
    strNew = strResult;
    return true;
}

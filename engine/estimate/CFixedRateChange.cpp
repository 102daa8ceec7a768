// The fixed-rate change: which rows meet its conditions and what their numbers become.
#include "engine/estimate/CFixedRateChange.h"

#include "engine/estimate/CEstimateColumns.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Cp932Text.h"

#include <string>

namespace {

// The operator a calculation starts with, ASCII or full width, and the bytes it takes; 0 for
// none.
char FormulaOperator(const char* p, int& nBytes)
{
    nBytes = 1;
    if (*p == '+' || *p == '-' || *p == '*' || *p == '/')
        return *p;
    nBytes = 2;
    const auto lead = static_cast<unsigned char>(p[0]);
    const auto trail = static_cast<unsigned char>(p[1]);
    if (lead != 0x81 || trail == 0)
        return 0;
    switch (trail) {
    case 0x7B: // "＋"
        return '+';
    case 0x7C: // "－"
        return '-';
    case 0x96: // "＊"
    case 0x7E: // "×"
        return '*';
    case 0x5E: // "／"
    case 0x80: // "÷"
        return '/';
    default:
        return 0;
    }
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

bool CFixedRateChange::ReadFormula(const CString& strTyped, CString& strFormula)
{
    const char* p = strTyped;
    while (IsBlankChar(p) != 0)
        p += IsBlankChar(p) == -1 ? 1 : 2;
    int nBytes = 0;
    const char cOperator = FormulaOperator(p, nBytes);
    std::string plain;
    if (cOperator == 0 || !CNumberRules::ReadTypedNumber(p + nBytes, plain))
        return false;
    strFormula = CString(std::string(1, cOperator) + plain);
    return true;
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
        CDecimal value;
        if (columns.IsValid(nCol) && columns.IsNumeric(nCol) &&
            CNumberRules::ReadTypedNumber(strValue, value)) {
            const double left = CNumberRules::ReadStoredNumber(strCell.str());
            const double right = value.ToDouble();
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

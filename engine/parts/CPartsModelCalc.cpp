// The parts list's stored numbers and row formulas. The quick way takes each column's rules
// from the parts form once (its attribute, rounding rule, picture and formula, as the
// estimate's columns take them: CEstimateColumns) and keeps them while the form's texts stay
// the same, and works a formula whose operands are plain numbers out compiled; the plain way
// takes the rules from the texts at every cell and works every formula out through the
// texts. The formulas are the estimate's (CRowFormula), under the parts list's rules; both
// ways store the same texts byte for byte.
#include "engine/parts/CPartsModel.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>

namespace {

// RoundBySpec on a value with the rule already taken apart.
double RoundByRules(double value, const CNumberRules::CRoundSpec& spec)
{
    if (value > -CNumberRules::ZERO_TOLERANCE && value < CNumberRules::ZERO_TOLERANCE)
        return value;
    if (!spec.bActive)
        return value;
    CDecimal number = CDecimal::FromDouble(value);
    CNumberRules::RoundBySpec(number, spec);
    return number.ToDouble();
}

double ReadNumberOf(const CString& strText)
{
    const std::string& text = strText.str();
    return CNumberRules::ReadNumber(text.data(), text.data() + text.size());
}

} // namespace

CString CPartsModel::StoredCellText(const CString& strText, int nCol) const
{
    const CEstimateColumns::CColumnInfo& rules = m_columns.Get(nCol);
    CDecimal number;
    if (!rules.bNumeric || !CNumberRules::ReadTypedNumber(strText, number))
        return strText;
    // NormalizeNumberText, RoundBySpec, FormatByPicture and NormalizeNumberText again, as
    // the plain way does them. The picture's decimals count; its separators, which a
    // picture may place where no typed number has them, are left out.
    const CString strNormal = CNumberRules::FormatNormal(number);
    const double value = RoundByRules(ReadNumberOf(strNormal), rules.spec);
    return CNumberRules::NormalizeNumber(
        CNumberRules::FormatByPicture(CDecimal::FromDouble(value), rules.picture, false));
}

CString CPartsModel::StoredCellTextPlain(const CString& strText, int nCol) const
{
    CString strStored = strText;
    CString strNormal;
    NormalizeNumberText(nCol, strNormal, strText);
    if (IsNumericColumn(nCol) && CNumberRules::IsNumberText(strNormal)) {
        const double value = CNumberRules::RoundBySpec(CNumberRules::ReadNumber(strNormal),
                                                       GetColumnText(nCol, IColumnTexts::textRounding));
        const CString strShown =
            CNumberRules::FormatByPicture(value, GetColumnText(nCol, IColumnTexts::textPicture), false);
        NormalizeNumberText(nCol, strStored, strShown);
    }
    return strStored;
}

bool CPartsModel::HasNoNumericOperand(const CString& strFormula, int nRow) const
{
    const CRowFormula formula(strFormula);
    return formula.LacksNumbers([&](int nCol) -> const CString& { return GetCellText(nRow, nCol); });
}

void CPartsModel::CalcFormulaColumns(int nRow, int nFirstCol, const CRowFormula::CRules& rules,
                                     const CGridRow* pBefore)
{
    const CEstimateColumns::CBatch batch(m_columns); // the form stays as it is meanwhile
    if (m_bPlainCalculation) {
        for (int c = nFirstCol; c < m_nColumnCount; ++c) {
            if (IsCalculatedColumn(c))
                EvaluateColumn(nRow, c, rules, pBefore);
        }
        return;
    }
    // The formula columns from one look at every column's attribute.
    for (int c : m_columns.GetFormulaColumns()) {
        if (c >= nFirstCol && c < m_nColumnCount)
            EvaluateColumn(nRow, c, rules, pBefore);
    }
}

void CPartsModel::CalcWrittenRow(int nRow, const CRowImage& before, const CRowFormula::CRules& rules)
{
    if (nRow < 0 || nRow >= m_nRowLimit)
        return;
    // A row that had no object held no number a formula could have lost.
    CalcFormulaColumns(nRow, 0, rules, before.GetRow(nRow));
}

bool CPartsModel::LostItsOperand(const CRowFormula& formula, int nRow, int nCol, const CGridRow& before,
                                 const CRowFormula::CRules& rules) const
{
    // A figure the command wrote itself (a pasted amount) is the command's.
    if (GetCellText(nRow, nCol) != before.m_strCell[nCol])
        return false;
    bool bEmptied = false;
    for (int nRef : formula.GetReferences()) {
        if (nRef >= 0 && nRef < m_nColumnCount && GetCellText(nRow, nRef).IsEmpty() &&
            CNumberRules::IsNumberText(before.m_strCell[nRef]))
            bEmptied = true;
    }
    if (!bEmptied)
        return false;
    static const CString s_strNone;
    const auto cell = [&](int nRef) -> const CString& {
        return nRef >= 0 && nRef < m_nColumnCount ? before.m_strCell[nRef] : s_strNone;
    };
    std::string expression;
    double result = 0.0;
    return formula.Evaluate(cell, rules, expression, result) == CRowFormula::EOutcome::number;
}

void CPartsModel::CalcRow(int nRow, int nFirstCol)
{
    if (nRow < 0 || nRow >= m_nRowLimit)
        return;
    CalcFormulaColumns(nRow, std::max(0, nFirstCol), CRowFormula::partsRowRules);
}

void CPartsModel::CalcTypedRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRowLimit)
        return;
    CalcFormulaColumns(nRow, 0, CRowFormula::partsTypedRules);
}

void CPartsModel::CalcRows(int nTop, int nBottom)
{
    const auto rules = KeepColumnRules();
    for (int r = std::max(0, nTop); r <= nBottom; ++r)
        CalcRow(r, 0);
}

void CPartsModel::EvaluateColumn(int nRow, int nCol, const CRowFormula::CRules& rules,
                                 const CGridRow* pBefore)
{
    const CGridRow* pRow = GetRow(nRow);
    static const CString s_strNone;
    // A row never written and a column past the form's read as empty cells.
    const auto cell = [&](int nRef) -> const CString& {
        return pRow != nullptr && nRef >= 0 && nRef < m_nColumnCount ? pRow->m_strCell[nRef] : s_strNone;
    };
    double result = 0.0;
    CRowFormula::EOutcome outcome = CRowFormula::EOutcome::keep;
    double value = 0.0;
    if (m_bPlainCalculation) {
        // The plain way takes the formula and the rounding rule from the form's texts at
        // every cell, and works the formula out through the texts.
        m_plainFormula.AssignForTexts(GetColumnText(nCol, IColumnTexts::textFormula));
        outcome = m_plainFormula.Evaluate(cell, rules, m_strExpression, result);
        if (outcome == CRowFormula::EOutcome::number)
            value = CNumberRules::RoundBySpec(ReadNumberOf(CNumberRules::FormatNormal(result)),
                                              GetColumnText(nCol, IColumnTexts::textRounding));
        else if (outcome == CRowFormula::EOutcome::keep && pBefore != nullptr &&
                 LostItsOperand(m_plainFormula, nRow, nCol, *pBefore, rules))
            outcome = CRowFormula::EOutcome::empty;
    } else {
        const CEstimateColumns::CColumnInfo& columnRules = m_columns.Get(nCol);
        outcome = columnRules.formula.EvaluateQuick(cell, rules, m_strExpression, m_formulaValues, result);
        if (outcome == CRowFormula::EOutcome::number)
            value = RoundByRules(ReadNumberOf(CNumberRules::FormatNormal(result)), columnRules.spec);
        else if (outcome == CRowFormula::EOutcome::keep && pBefore != nullptr &&
                 LostItsOperand(columnRules.formula, nRow, nCol, *pBefore, rules))
            outcome = CRowFormula::EOutcome::empty;
    }
    if (outcome == CRowFormula::EOutcome::empty)
        SetCellText(CString(), nRow, nCol);
    else if (outcome == CRowFormula::EOutcome::number)
        // The result in "%f" form, read again and rounded by the column's rule.
        SetCellText(CNumberRules::FormatNormal(value), nRow, nCol);
}

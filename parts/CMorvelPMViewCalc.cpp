// The parts grid's cell store and row formulas. The quick way takes each column's rules
// from the parts form once (its attribute, rounding rule, picture and formula) and keeps
// them while the form's texts stay the same, and works a formula whose operands are plain
// numbers out compiled; the plain way takes the rules from the texts at every cell and works
// every formula out through the texts. The formulas are the estimate's (CRowFormula), under
// the parts list's rules; both ways store the same texts byte for byte.
#include "app/CPartFormFile.h"
#include "estimate/engine/CGridRow.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"

#include <algorithm>
#include <cstring>

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

void CMorvelPMView::BuildColumnRules(CColumnRules& rules, const CPartFormFile& form, int nCol)
{
    rules.strAttribute = form.GetItem(nCol, 1);
    rules.strPicture = form.GetItem(nCol, 3);
    rules.strFormula = form.GetItem(nCol, 4);
    rules.strRounding = form.GetItem(nCol, 5);
    static const CString s_strNumber = "数値"_sj;
    static const CString s_strCalc = "計"_sj;
    rules.bCalculated = rules.strAttribute.Find(s_strCalc) >= 0;
    rules.bNumeric = rules.strAttribute == s_strNumber || rules.bCalculated;
    rules.spec = CNumberRules::ParseRoundSpec(rules.strRounding);
    rules.picture = CNumberRules::ParsePicture(rules.strPicture);
    rules.formula.Assign(rules.strFormula);
    rules.bBuilt = true;
}

const CMorvelPMView::CColumnRules& CMorvelPMView::GetColumnRules(int nCol) const
{
    static const CColumnRules s_none;
    const CPartFormFile* pForm = GetForm();
    if (pForm == nullptr || nCol < 0 || nCol >= std::min(pForm->GetCount(), static_cast<int>(MAX_COLUMNS)))
        return s_none;
    if (m_columnRules.size() < static_cast<size_t>(MAX_COLUMNS))
        m_columnRules.resize(MAX_COLUMNS); // never resized again: references stay valid
    CColumnRules& rules = m_columnRules[static_cast<size_t>(nCol)];
    // The form can be changed from outside (a column resize, the settings sheet, a test):
    // the rules are taken again whenever a text they came from differs.
    if (!rules.bBuilt || rules.strAttribute != pForm->GetItem(nCol, 1) ||
        rules.strFormula != pForm->GetItem(nCol, 4) || rules.strRounding != pForm->GetItem(nCol, 5) ||
        rules.strPicture != pForm->GetItem(nCol, 3))
        BuildColumnRules(rules, *pForm, nCol);
    return rules;
}

CString CMorvelPMView::StoredCellText(const CString& strText, int nCol) const
{
    const CColumnRules& rules = GetColumnRules(nCol);
    if (!rules.bNumeric || !CNumberRules::IsNumberText(strText))
        return strText;
    // NormalizeNumberText, RoundBySpec, FormatByPicture and NormalizeNumberText again, as
    // the plain way does them.
    const CString strNormal = CNumberRules::NormalizeNumber(strText);
    const double value = RoundByRules(ReadNumberOf(strNormal), rules.spec);
    const CString strShown = CNumberRules::FormatByPicture(CDecimal::FromDouble(value), rules.picture, true);
    return CNumberRules::IsNumberText(strShown) ? CNumberRules::NormalizeNumber(strShown) : strShown;
}

void CMorvelPMView::EvaluateColumn(int nRow, int nCol, const CRowFormula::CRules& rules)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const CGridRow* pRow = pDoc->GetRow(nRow);
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
        const CRowFormula formula(pDoc->m_form.GetItem(nCol, 4));
        outcome = formula.Evaluate(cell, rules, m_strExpression, result);
        if (outcome == CRowFormula::EOutcome::number)
            value = CNumberRules::RoundBySpec(ReadNumberOf(CNumberRules::FormatNormal(result)),
                                              pDoc->m_form.GetItem(nCol, 5));
    } else {
        const CColumnRules& columnRules = GetColumnRules(nCol);
        outcome = columnRules.formula.EvaluateQuick(cell, rules, m_strExpression, m_formulaValues, result);
        if (outcome == CRowFormula::EOutcome::number)
            value = RoundByRules(ReadNumberOf(CNumberRules::FormatNormal(result)), columnRules.spec);
    }
    if (outcome == CRowFormula::EOutcome::empty)
        SetCellText(CString(), nRow, nCol);
    else if (outcome == CRowFormula::EOutcome::number)
        // The result in "%f" form, read again and rounded by the column's rule.
        SetCellText(CNumberRules::FormatNormal(value), nRow, nCol);
}

// The parts grid's cell store and row formulas. The quick way takes each column's rules
// from the parts form once (its attribute, rounding rule, picture and formula, as the
// estimate's columns take them: CEstimateColumns) and keeps them while the form's texts
// stay the same, and works a formula whose operands are plain numbers out compiled; the
// plain way takes the rules from the texts at every cell and works every formula out
// through the texts. The formulas are the estimate's (CRowFormula), under the parts list's
// rules; both ways store the same texts byte for byte.
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

namespace {

// The parts form's items in the estimation form's places; a parts form has no "V" code.
constexpr int kFormItems[IColumnTexts::COLUMN_TEXTS] = {1, 3, 4, 5, CPartFormFile::colT, -1};

// The columns of a form whose texts are read (at most 100; none without a form).
int ColumnsOf(const CPartFormFile* pForm)
{
    return pForm != nullptr ? std::min(pForm->GetCount(), static_cast<int>(CMorvelPMView::MAX_COLUMNS)) : 0;
}

const CString g_strNoText;

// A text of the form (an empty one outside its columns, and for a text it has not).
const CString& TextOf(const CPartFormFile* pForm, int nColumns, int nCol, IColumnTexts::EColumnText eText)
{
    const int nItem = eText >= 0 && eText < IColumnTexts::COLUMN_TEXTS ? kFormItems[eText] : -1;
    return nItem >= 0 && nCol >= 0 && nCol < nColumns ? pForm->GetItem(nCol, nItem) : g_strNoText;
}

} // namespace

const CPartFormFile* CMorvelPMView::CFormColumns::FindForm() const
{
    if (m_view.m_pDocument != m_pDocumentSeen) {
        m_pDocumentSeen = m_view.m_pDocument;
        m_pForm = m_view.GetForm();
    }
    return m_pForm;
}

const CString& CMorvelPMView::CFormColumns::GetColumnText(int nCol, EColumnText eText) const
{
    const CPartFormFile* pForm = FindForm();
    return TextOf(pForm, ColumnsOf(pForm), nCol, eText);
}

void CMorvelPMView::CFormColumns::GetTextOfColumns(EColumnText eText, int nColumns,
                                                   const CString* texts[]) const
{
    const CPartFormFile* pForm = FindForm();
    const int nInForm = ColumnsOf(pForm);
    for (int nCol = 0; nCol < nColumns; ++nCol)
        texts[nCol] = &TextOf(pForm, nInForm, nCol, eText);
}

void CMorvelPMView::CFormColumns::GetColumnTexts(int nCol, const CString* texts[COLUMN_TEXTS]) const
{
    const CPartFormFile* pForm = FindForm();
    const int nInForm = ColumnsOf(pForm);
    for (int nText = 0; nText < COLUMN_TEXTS; ++nText)
        texts[nText] = &TextOf(pForm, nInForm, nCol, static_cast<EColumnText>(nText));
}

CString CMorvelPMView::StoredCellText(const CString& strText, int nCol) const
{
    const CEstimateColumns::CColumnInfo& rules = m_columns.Get(nCol);
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
        return pRow != nullptr && nRef >= 0 && nRef < GetColumnCount() ? pRow->m_strCell[nRef] : s_strNone;
    };
    double result = 0.0;
    CRowFormula::EOutcome outcome = CRowFormula::EOutcome::keep;
    double value = 0.0;
    if (m_bPlainCalculation) {
        // The plain way takes the formula and the rounding rule from the form's texts at
        // every cell, and works the formula out through the texts.
        m_plainFormula.AssignForTexts(pDoc->m_form.GetItem(nCol, 4));
        outcome = m_plainFormula.Evaluate(cell, rules, m_strExpression, result);
        if (outcome == CRowFormula::EOutcome::number)
            value = CNumberRules::RoundBySpec(ReadNumberOf(CNumberRules::FormatNormal(result)),
                                              pDoc->m_form.GetItem(nCol, 5));
    } else {
        const CEstimateColumns::CColumnInfo& columnRules = m_columns.Get(nCol);
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

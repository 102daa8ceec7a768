// The quick way of the parts grid's cell store and row formulas: each column's rules are
// taken from the parts form once (its attribute, rounding rule, picture and formula) and
// kept while the form's texts stay the same, and a formula whose operands are plain numbers
// is evaluated compiled instead of being put together as a text and read again. Every step
// after the evaluation is the plain way's own, with the rules already taken apart, so the
// stored texts are the same byte for byte.
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

// A formula (upper case) taken apart at its column references as the plain way reads them:
// byte by byte, one letter A-Z or two letters. FALSE for a formula with a double-byte
// character (the plain way may take its second byte for a letter).
bool SplitFormula(const std::string& formula, std::vector<int>& refs, std::vector<std::string>& segments)
{
    refs.clear();
    segments.assign(1, std::string());
    for (size_t i = 0; i < formula.size(); ++i) {
        const char ch = formula[i];
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
        if (ch < 'A' || ch > 'Z') {
            segments.back().push_back(ch);
            continue;
        }
        int nCol = ch - 'A';
        if (i + 1 < formula.size() && formula[i + 1] >= 'A' && formula[i + 1] <= 'Z') {
            nCol = (ch - 'A' + 1) * 26 + (formula[i + 1] - 'A');
            ++i;
        }
        refs.push_back(nCol);
        segments.emplace_back();
    }
    return true;
}

// TRUE when the formula's own characters keep an operator or a parenthesis after what the
// text evaluation passes over at its start (blanks and one sign): then the text made of it
// is always evaluated as arithmetic, never handed back as a plain value.
bool KeepsAnOperator(const std::vector<std::string>& segments)
{
    for (size_t i = 0; i < segments.size(); ++i) {
        const std::string& segment = segments[i];
        size_t n = 0;
        if (i == 0) {
            while (n < segment.size() && segment[n] == ' ')
                ++n;
            if (n < segment.size() && (segment[n] == '+' || segment[n] == '-'))
                ++n;
        }
        for (; n < segment.size(); ++n) {
            if (std::strchr("+-*/()", segment[n]) != nullptr && segment[n] != '\0')
                return true;
        }
    }
    return false;
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
    CString strFormula = rules.strFormula;
    strFormula.MakeUpper();
    rules.compiled.clear();
    rules.bCompiled = rules.bCalculated && SplitFormula(strFormula.str(), rules.refs, rules.segments) &&
                      !rules.refs.empty() && KeepsAnOperator(rules.segments) &&
                      CNumberRules::CompileFormula(rules.segments, rules.compiled);
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

bool CMorvelPMView::EvaluateColumnQuick(int nRow, int nCol, const CColumnRules& rules)
{
    if (!rules.bCompiled)
        return false;
    CMorvelPMDoc* pDoc = GetDocument();
    const CGridRow* pRow = pDoc != nullptr ? pDoc->GetRow(nRow) : nullptr;
    // An operand that is not a number (an empty cell, a row never written, a column past
    // the form's) leaves the cell as it is.
    if (pRow == nullptr)
        return true;
    m_formulaValues.resize(rules.refs.size());
    for (size_t i = 0; i < rules.refs.size(); ++i) {
        const int nRef = rules.refs[i];
        if (nRef >= m_nColumnCount)
            return true;
        const std::string& text = pRow->m_strCell[nRef].str();
        if (!CNumberRules::ReadPlainNumber(text.data(), text.data() + text.size(), m_formulaValues[i]))
            return !CNumberRules::IsNumberText(text.c_str()); // other number texts: the plain way
    }
    double result = 0.0;
    if (!CNumberRules::EvaluateCompiled(rules.compiled, m_formulaValues.data(), result)) {
        SetCellText(CString(), nRow, nCol);
        return true;
    }
    // What the text evaluation hands back ("%f" form), read again and rounded by the rule.
    const double value = RoundByRules(ReadNumberOf(CNumberRules::FormatNormal(result)), rules.spec);
    SetCellText(CNumberRules::FormatNormal(value), nRow, nCol);
    return true;
}

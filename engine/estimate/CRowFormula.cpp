#include "engine/estimate/CRowFormula.h"

#include "platform/base/Cp932.h"

void CRowFormula::Assign(const CString& strFormula)
{
    AssignForTexts(strFormula);
    m_bCompiled = CNumberRules::CompileFormula(m_segments, m_compiled);
}

void CRowFormula::AssignForTexts(const CString& strFormula)
{
    CString strUpper(strFormula);
    strUpper.MakeUpper();
    m_bMulDiv = strUpper.Find('*') >= 0 || strUpper.Find('/') >= 0;
    Parse(strUpper, m_refs, m_segments);
    m_bCompiled = false;
    m_compiled.clear();
}

void CRowFormula::Parse(const CString& strUpper, std::vector<int>& refs, std::vector<std::string>& segments)
{
    refs.clear();
    segments.assign(1, std::string());
    const std::string& text = strUpper.str();
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (IsCp932LeadByte(static_cast<BYTE>(ch)) && i + 1 < text.size()) {
            // A double-byte character is copied whole: its second byte is no letter.
            segments.back().push_back(ch);
            segments.back().push_back(text[++i]);
            continue;
        }
        if (ch < 'A' || ch > 'Z') {
            segments.back().push_back(ch);
            continue;
        }
        int nCol = ch - 'A';
        if (i + 1 < text.size() && text[i + 1] >= 'A' && text[i + 1] <= 'Z') {
            nCol = (ch - 'A' + 1) * 26 + (text[i + 1] - 'A');
            ++i;
        }
        refs.push_back(nCol);
        segments.emplace_back();
    }
}

bool CRowFormula::EvaluateText(const std::string& expression, double& result)
{
    return CNumberRules::EvaluateExpression(expression.data(), expression.data() + expression.size(), result);
}

CDecimal CRowFormula::RoundedResult(double result, const CNumberRules::CRoundSpec& spec)
{
    CDecimal value = CDecimal::FromDouble(result);
    value.Round(-6, CDecimal::roundHalfUp);
    CNumberRules::RoundBySpec(value, spec);
    return value;
}

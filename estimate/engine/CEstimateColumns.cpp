#include "estimate/engine/CEstimateColumns.h"

#include "platform/base/Cp932.h"

CEstimateColumns::CEstimateColumns(const IColumnTexts& sheet, const int& nColumnCount)
    : m_sheet(sheet), m_nColumnCount(nColumnCount)
{
}

const CEstimateColumns::CColumnInfo& CEstimateColumns::GetChecked(int nCol) const
{
    static const CColumnInfo empty;
    if (nCol < 0 || nCol >= GetLimit())
        return empty;
    if (m_info.size() < static_cast<size_t>(MAX_COLUMNS))
        m_info.resize(MAX_COLUMNS); // never resized again: references stay valid
    CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
    if (m_nBatchDepth > 0 && info.bValid && info.nGeneration == m_nGeneration)
        return info;
    auto text = [&](IEstimateSheet::EColumnText eText) -> const CString& {
        return m_sheet.GetColumnText(nCol, eText);
    };
    if (!info.bValid || info.strAttribute != text(IEstimateSheet::textAttribute) ||
        info.strPicture != text(IEstimateSheet::textPicture) ||
        info.strFormula != text(IEstimateSheet::textFormula) ||
        info.strRounding != text(IEstimateSheet::textRounding) || info.strT != text(IEstimateSheet::textT) ||
        info.strV != text(IEstimateSheet::textV))
        Build(info, nCol);
    info.nGeneration = m_nGeneration;
    return info;
}

void CEstimateColumns::Build(CColumnInfo& info, int nCol) const
{
    info.strAttribute = m_sheet.GetColumnText(nCol, IEstimateSheet::textAttribute);
    info.strPicture = m_sheet.GetColumnText(nCol, IEstimateSheet::textPicture);
    info.strFormula = m_sheet.GetColumnText(nCol, IEstimateSheet::textFormula);
    info.strRounding = m_sheet.GetColumnText(nCol, IEstimateSheet::textRounding);
    info.strT = m_sheet.GetColumnText(nCol, IEstimateSheet::textT);
    info.strV = m_sheet.GetColumnText(nCol, IEstimateSheet::textV);

    CString strAttribute(info.strAttribute);
    strAttribute.MakeUpper();
    const CString strKei = "計"_sj;
    const CString strNumeric = "数値"_sj;
    info.bFormula = strAttribute.Find(strKei) >= 0;
    info.bNumeric = info.bFormula || strAttribute == strNumeric;
    info.bTotalByFormula = strAttribute.Find("計 C"_sj) >= 0;
    // The attribute is searched for the four modes in this order and the last one found
    // decides.
    info.eTotalMode = ETotalMode::none;
    if (info.bTotalByFormula)
        info.eTotalMode = ETotalMode::byFormula;
    if (strAttribute.Find("計 B"_sj) >= 0)
        info.eTotalMode = ETotalMode::subtotals;
    if (strAttribute.Find("計 A"_sj) >= 0 || strAttribute.Find(strNumeric) >= 0)
        info.eTotalMode = ETotalMode::leafRows;

    info.spec = CNumberRules::ParseRoundSpec(info.strRounding);
    info.picture = CNumberRules::ParsePicture(info.strPicture);
    info.formula.Assign(info.strFormula);
    info.bValid = true;
}

void CEstimateColumns::BuildFormulaColumns() const
{
    m_formulaColumns.clear();
    const int nColumns = GetLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        if (Get(nCol).bFormula)
            m_formulaColumns.push_back(nCol);
    }
    m_nFormulaColumnsGeneration = m_nGeneration;
}

int CEstimateColumns::FindFirstTotalByFormula() const
{
    const int nColumns = GetLimit();
    for (int c = 0; c < nColumns; ++c) {
        if (Get(c).bTotalByFormula)
            return c;
    }
    return -1;
}

int CEstimateColumns::FindFirst(IEstimateSheet::EColumnText eText, const char* lpszValue) const
{
    const int nColumns = GetLimit();
    for (int c = 0; c < nColumns; ++c) {
        if (m_sheet.GetColumnText(c, eText) == lpszValue)
            return c;
    }
    return -1;
}

int CEstimateColumns::Find(const char* lpszKey, const char* lpszCode) const
{
    const CString strKey(lpszKey);
    const CString strCode(lpszCode);
    const int nColumns = GetLimit();
    int nFound = 0;
    for (int c = 0; c < nColumns; ++c) {
        if (strCode == "T") {
            const CString& strT = m_sheet.GetColumnText(c, IEstimateSheet::textT);
            bool bMatch = strT == strKey;
            if (strKey == "5")
                bMatch = strT == "2" || strT == "5";
            else if (strKey == "6")
                bMatch = strT == "2" || strT == "6";
            if (bMatch)
                nFound = c;
        } else if (strCode == "U") {
            if (m_sheet.GetColumnText(c, IEstimateSheet::textV) == strKey)
                nFound = c;
        } else {
            return 0;
        }
    }
    return nFound;
}

std::string CEstimateColumns::GetRulesText() const
{
    const int nColumns = GetLimit();
    std::string rules = std::to_string(nColumns);
    for (int c = 0; c < nColumns; ++c) {
        for (int nText = 0; nText < IEstimateSheet::COLUMN_TEXTS; ++nText) {
            rules += '\t';
            rules += m_sheet.GetColumnText(c, static_cast<IEstimateSheet::EColumnText>(nText)).str();
        }
    }
    return rules;
}

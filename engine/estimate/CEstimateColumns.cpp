#include "engine/estimate/CEstimateColumns.h"

#include "platform/base/Cp932.h"

CEstimateColumns::CEstimateColumns(const IColumnTexts& sheet, const int& nColumnCount)
    : m_sheet(sheet), m_nColumnCount(nColumnCount)
{
}

namespace {

const CEstimateColumns::CColumnInfo& NoColumn()
{
    static const CEstimateColumns::CColumnInfo empty;
    return empty;
}

// The texts a column's information keeps, in the sheet's order.
bool SameTexts(const CEstimateColumns::CColumnInfo& info,
               const CString* const texts[IColumnTexts::COLUMN_TEXTS])
{
    return info.strAttribute == *texts[IColumnTexts::textAttribute] &&
           info.strFormula == *texts[IColumnTexts::textFormula] &&
           info.strRounding == *texts[IColumnTexts::textRounding] &&
           info.strPicture == *texts[IColumnTexts::textPicture] && info.strT == *texts[IColumnTexts::textT] &&
           info.strV == *texts[IColumnTexts::textV];
}

} // namespace

const CEstimateColumns::CColumnInfo& CEstimateColumns::GetChecked(int nCol) const
{
    if (nCol < 0 || nCol >= GetLimit())
        return NoColumn();
    if (m_info.size() < static_cast<size_t>(MAX_COLUMNS))
        m_info.resize(MAX_COLUMNS); // never resized again: references stay valid
    CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
    if (m_nBatchDepth > 0 && info.bValid && info.nGeneration == m_nGeneration)
        return info;
    const CString* texts[IColumnTexts::COLUMN_TEXTS];
    m_sheet.GetColumnTexts(nCol, texts);
    if (!info.bValid || !SameTexts(info, texts))
        Build(info, texts);
    info.nGeneration = m_nGeneration;
    info.nAttributeGeneration = m_nGeneration;
    return info;
}

const CEstimateColumns::CColumnInfo& CEstimateColumns::GetAttributeChecked(int nCol) const
{
    if (nCol < 0 || nCol >= GetLimit() || static_cast<size_t>(nCol) >= m_info.size())
        return GetChecked(nCol);
    CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
    if (!info.bValid || info.strAttribute != m_sheet.GetColumnText(nCol, IEstimateSheet::textAttribute))
        return GetChecked(nCol);
    info.nAttributeGeneration = m_nGeneration;
    return info;
}

bool CEstimateColumns::MatchesSheet(int nCol, const CColumnInfo& info, bool bAttributeOnly) const
{
    if (bAttributeOnly)
        return info.strAttribute == m_sheet.GetColumnText(nCol, IEstimateSheet::textAttribute);
    const CString* texts[IColumnTexts::COLUMN_TEXTS];
    m_sheet.GetColumnTexts(nCol, texts);
    return SameTexts(info, texts);
}

void CEstimateColumns::Build(CColumnInfo& info, const CString* const texts[IColumnTexts::COLUMN_TEXTS]) const
{
    // Copied before anything is taken apart: the pointers are the sheet's.
    info.strAttribute = *texts[IEstimateSheet::textAttribute];
    info.strPicture = *texts[IEstimateSheet::textPicture];
    info.strFormula = *texts[IEstimateSheet::textFormula];
    info.strRounding = *texts[IEstimateSheet::textRounding];
    info.strT = *texts[IEstimateSheet::textT];
    info.strV = *texts[IEstimateSheet::textV];

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
    if (nColumns == 0)
        return;
    if (m_info.size() < static_cast<size_t>(MAX_COLUMNS))
        m_info.resize(MAX_COLUMNS); // never resized again: references stay valid
    // Every attribute in one call; a column whose attribute differs is taken again whole.
    const CString* attributes[MAX_COLUMNS];
    m_sheet.GetTextOfColumns(IColumnTexts::textAttribute, nColumns, attributes);
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
        if (info.bValid && info.strAttribute == *attributes[nCol])
            info.nAttributeGeneration = m_nGeneration;
        else
            GetChecked(nCol);
        if (info.bFormula)
            m_formulaColumns.push_back(nCol);
    }
    m_nFormulaColumnsGeneration = m_nGeneration;
}

bool CEstimateColumns::FormulaColumnsMatchSheet() const
{
    // The list was made from the kept attributes of the columns within the limit.
    const int nColumns = GetLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        if (static_cast<size_t>(nCol) >= m_info.size() ||
            m_info[static_cast<size_t>(nCol)].strAttribute !=
                m_sheet.GetColumnText(nCol, IEstimateSheet::textAttribute))
            return false;
    }
    return true;
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

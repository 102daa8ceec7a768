// Cell numbers of the estimate view: the column rules taken from the estimation form, the
// stored form of numbers and the row formulas.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/NumberFormatting.h"
#include "platform/base/Cp932.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

// ---------------------------------------------------------------------------------------
// Column rules

CMorvelEMView::CColumnBatch::CColumnBatch(const CMorvelEMView& view) : m_view(view)
{
    if (m_view.m_nColumnBatchDepth++ == 0)
        ++m_view.m_nColumnGeneration;
}

CMorvelEMView::CColumnBatch::~CColumnBatch()
{
    --m_view.m_nColumnBatchDepth;
}

const CMorvelEMView::CColumnInfo& CMorvelEMView::GetColumnInfoChecked(int nCol) const
{
    static const CColumnInfo empty;
    if (nCol < 0 || nCol >= GetColumnLimit())
        return empty;
    if (m_columnInfo.size() < static_cast<size_t>(MAX_COLUMNS))
        m_columnInfo.resize(MAX_COLUMNS); // never resized again: references stay valid
    CColumnInfo& info = m_columnInfo[static_cast<size_t>(nCol)];
    if (m_nColumnBatchDepth > 0 && info.bValid && info.nGeneration == m_nColumnGeneration)
        return info;
    const CEstimationFormFile& form = GetEstimationForm();
    if (!info.bValid || info.strAttribute != form.GetItem(nCol, CEstimationFormFile::colAttribute) ||
        info.strPicture != form.GetItem(nCol, CEstimationFormFile::colPicture) ||
        info.strFormula != form.GetItem(nCol, CEstimationFormFile::colFormula) ||
        info.strRounding != form.GetItem(nCol, CEstimationFormFile::colRounding) ||
        info.strT != form.GetItem(nCol, CEstimationFormFile::colT) ||
        info.strV != form.GetItem(nCol, CEstimationFormFile::colV))
        BuildColumnInfo(info, form, nCol);
    info.nGeneration = m_nColumnGeneration;
    return info;
}

void CMorvelEMView::BuildColumnInfo(CColumnInfo& info, const CEstimationFormFile& form, int nCol)
{
    info.strAttribute = form.GetItem(nCol, CEstimationFormFile::colAttribute);
    info.strPicture = form.GetItem(nCol, CEstimationFormFile::colPicture);
    info.strFormula = form.GetItem(nCol, CEstimationFormFile::colFormula);
    info.strRounding = form.GetItem(nCol, CEstimationFormFile::colRounding);
    info.strT = form.GetItem(nCol, CEstimationFormFile::colT);
    info.strV = form.GetItem(nCol, CEstimationFormFile::colV);

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
    CString strFormula(info.strFormula);
    strFormula.MakeUpper();
    info.bMulDiv = strFormula.Find('*') >= 0 || strFormula.Find('/') >= 0;
    ParseFormula(strFormula, info.refs, info.segments);
    info.bCompiled = info.bFormula && CNumberRules::CompileFormula(info.segments, info.compiled);
    info.bValid = true;
}

void CMorvelEMView::ParseFormula(const CString& strFormula, std::vector<int>& refs,
                                 std::vector<std::string>& segments)
{
    refs.clear();
    segments.assign(1, std::string());
    const std::string& text = strFormula.str();
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

void CMorvelEMView::BuildFormulaColumns() const
{
    m_formulaColumns.clear();
    const int nColumns = GetColumnLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        if (GetColumnInfo(nCol).bFormula)
            m_formulaColumns.push_back(nCol);
    }
    m_nFormulaColumnsGeneration = m_nColumnGeneration;
}

// ---------------------------------------------------------------------------------------
// Stored numbers

void CMorvelEMView::NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const
{
    if (!IsValidColumn(nCol))
        return;
    const CColumnInfo& info = GetColumnInfo(nCol);
    if (info.strAttribute.IsEmpty() || info.strAttribute == "文字"_sj) {
        strResult = lpszText;
    } else if (info.bNumeric) {
        if (CNumberRules::IsNumberText(lpszText))
            strResult = CNumberRules::NormalizeNumber(lpszText);
        else
            strResult = lpszText;
    }
}

CString CMorvelEMView::StoredNumberText(int nCol, CDecimal value, bool bRoundBySpec) const
{
    const CColumnInfo& info = GetColumnInfo(nCol);
    value.Round(-6, CDecimal::roundHalfUp); // the value of its normal form
    if (bRoundBySpec)
        CNumberRules::RoundBySpec(value, info.spec);
    value.Round(-info.picture.nDecimals, CDecimal::roundHalfUp);
    return CNumberRules::FormatNormal(value);
}

void CMorvelEMView::StoreNumber(int nRow, int nCol, const CDecimal& value)
{
    m_strEditStartText.Empty();
    if (!IsValidRow(nRow) || !IsValidColumn(nCol))
        return;
    if (GetColumnInfo(nCol).bNumeric)
        StoreCell(nRow, nCol, StoredNumberText(nCol, value, EditKind(nRow) != kindFree));
    else
        StoreCell(nRow, nCol, CNumberRules::FormatNormal(value));
}

void CMorvelEMView::StoreNumber(int nRow, int nCol, double value, bool bSpecAlways)
{
    CGridRow* pRow = m_EditRows.GetRow(nRow);
    if (!m_bNumbersThroughTexts && pRow != nullptr && IsValidRow(nRow) && IsValidColumn(nCol) &&
        StoreWholeNumber(*pRow, nRow, nCol, GetColumnInfo(nCol), value, bSpecAlways))
        return;
    CDecimal number = CDecimal::FromDouble(value);
    if (bSpecAlways && IsValidColumn(nCol)) {
        number.Round(-6, CDecimal::roundHalfUp);
        CNumberRules::RoundBySpec(number, GetColumnInfo(nCol).spec);
    }
    StoreNumber(nRow, nCol, number);
}

bool CMorvelEMView::StoreWholeNumber(CGridRow& row, int nRow, int nCol, const CColumnInfo& info, double value,
                                     bool bSpecAlways, double* pStored)
{
    // A numeric column rounds by its rounding rule (not on a free row) and its picture's
    // decimals; any other column keeps the normal form's six. Rounding by the
    // rounding rule twice changes nothing.
    static const CNumberRules::CRoundSpec noRounding;
    const bool bRoundBySpec = bSpecAlways || (info.bNumeric && row.GetKind() != kindFree);
    const int nDecimals = info.bNumeric ? info.picture.nDecimals : 6;
    double stored = 0.0;
    bool bSame = false;
    if (!NumberFormatting::FormatRoundedNormal(value, bRoundBySpec ? info.spec : noRounding, nDecimals,
                                               row.m_strCell[nCol].str(), m_strNumberText, stored, bSame))
        return false;
    m_strEditStartText.Empty();
    if (!bSame)
        StoreCell(nRow, nCol, CString(m_strNumberText));
    else if (m_nUsedRows <= nRow)
        StoreCell(nRow, nCol, CString(row.m_strCell[nCol]));
    if (m_bRememberInRows)
        row.RememberNumber(nCol, stored);
    if (pStored != nullptr)
        *pStored = stored;
    return true;
}

// ---------------------------------------------------------------------------------------
// Row formulas

bool CMorvelEMView::CalcCompiledFormula(CGridRow& row, int nRow, int nCol, const CColumnInfo& info,
                                        int nColumns)
{
    const size_t nRefs = info.refs.size();
    double localValues[8];
    double* pValues = localValues;
    if (nRefs > std::size(localValues)) {
        m_formulaValues.resize(nRefs);
        pValues = m_formulaValues.data();
    }
    for (size_t i = 0; i < nRefs; ++i) {
        const int nRef = info.refs[i];
        if (nRef >= nColumns)
            return false;
        const size_t nAt = static_cast<size_t>(nRef);
        if (m_rowValueStamps[nAt] != m_nRowValueStamp) {
            const std::string& text = row.m_strCell[nRef].str();
            double value = 0.0;
            if (!CNumberRules::ReadPlainNumber(text.data(), text.data() + text.size(), value))
                value = std::numeric_limits<double>::quiet_NaN();
            m_rowValues[nAt] = value;
            m_rowValueStamps[nAt] = m_nRowValueStamp;
        }
        if (std::isnan(m_rowValues[nAt]))
            return false;
        pValues[i] = m_rowValues[nAt];
    }
    double result = 0.0;
    if (!CNumberRules::EvaluateCompiled(info.compiled, pValues, result))
        return false;
    // The result rounded by the column's rounding rule, then stored: StoreNumber rounds by it
    // again (no change) and by the picture.
    const size_t nAt = static_cast<size_t>(nCol);
    if (StoreWholeNumber(row, nRow, nCol, info, result, true, &m_rowValues[nAt])) {
        m_rowValueStamps[nAt] = m_nRowValueStamp;
    } else {
        StoreNumber(nRow, nCol, result, true);
        m_rowValueStamps[nAt] = 0;
    }
    return true;
}

int CMorvelEMView::FormulaLacksNumbers(int nRow, const char* lpszFormula) const
{
    CString strFormula(lpszFormula);
    strFormula.MakeUpper();
    std::vector<int> refs;
    std::vector<std::string> segments;
    ParseFormula(strFormula, refs, segments);
    for (int nCol : refs) {
        if (CNumberRules::IsNumberText(EditCell(nRow, nCol)))
            return 0;
    }
    return 1;
}

void CMorvelEMView::CalcRow(int nRow, int nFirstCol)
{
    if (!IsValidRow(nRow))
        return;
    CGridRow* pRow = m_EditRows.GetRow(nRow);
    const int nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    if (IsHeadingKind(nKind) || IsSummaryKind(nKind))
        return;
    CColumnBatch batch(*this);
    if (++m_nRowValueStamp == 0) {
        m_rowValueStamps.fill(0);
        m_nRowValueStamp = 1;
    }
    const int nColumns = GetColumnLimit();
    for (int nCol : GetFormulaColumns()) {
        if (nCol < nFirstCol)
            continue;
        const CColumnInfo& info = GetColumnInfo(nCol);
        // A formula that names no column ("2*3") has no number of the row to work on: the
        // cell keeps what was typed into it, whichever way the formula would be worked out.
        if (info.refs.empty())
            continue;
        if (info.bCompiled && !m_bNumbersThroughTexts && pRow != nullptr &&
            CalcCompiledFormula(*pRow, nRow, nCol, info, nColumns))
            continue;
        // The way through the texts may change the cell: its number is read again.
        m_rowValueStamps[static_cast<size_t>(nCol)] = 0;
        // A row without any of the numbers the formula uses keeps what was typed into it.
        bool bHasNumber = false;
        for (int nRef : info.refs) {
            if (CNumberRules::IsNumberText(EditCell(nRow, nRef))) {
                bHasNumber = true;
                break;
            }
        }
        if (!bHasNumber)
            continue;
        m_strExpression.clear();
        m_strExpression += info.segments[0];
        bool bSkip = false;
        bool bNotANumber = false;
        for (size_t i = 0; i < info.refs.size(); ++i) {
            const CString& strCell = EditCell(nRow, info.refs[i]);
            if (info.bMulDiv && !CNumberRules::IsNumberText(strCell)) {
                // A product over an empty cell is left alone (an amount typed beside a unit
                // price alone stays); over a cell holding something that is not a number
                // ("abc", "2*3") it has nothing to work with, and a result computed from
                // the cell's old number must not stay.
                bSkip = true;
                bNotANumber = !strCell.IsEmpty();
                break;
            }
            m_strExpression += strCell.str();
            m_strExpression += info.segments[i + 1];
        }
        if (bNotANumber)
            SetCellText("", nRow, nCol, TRUE);
        if (bSkip)
            continue;
        double result = 0.0;
        if (!CNumberRules::EvaluateExpression(m_strExpression.data(),
                                              m_strExpression.data() + m_strExpression.size(), result)) {
            SetCellText("", nRow, nCol, TRUE);
            continue;
        }
        CDecimal value = CDecimal::FromDouble(result);
        value.Round(-6, CDecimal::roundHalfUp);
        CNumberRules::RoundBySpec(value, info.spec);
        StoreNumber(nRow, nCol, value);
    }
}

void CMorvelEMView::CalcSummaryRow(int nRow, int nFirstCol)
{
    if (m_nSummaryPage != 1 || !IsValidRow(nRow))
        return;
    CColumnBatch batch(*this);
    const int nColumns = GetColumnLimit();
    for (int nCol = std::max(0, nFirstCol); nCol < nColumns; ++nCol) {
        const CColumnInfo& info = GetColumnInfo(nCol);
        if (!info.bFormula)
            continue;
        std::string expression = info.segments[0];
        bool bSkip = false;
        for (size_t i = 0; i < info.refs.size(); ++i) {
            const CString strCell = GetCellText(nRow, info.refs[i]);
            if (info.bMulDiv && !CNumberRules::IsNumberText(strCell)) {
                bSkip = true;
                break;
            }
            expression += strCell.str();
            expression += info.segments[i + 1];
        }
        if (bSkip)
            continue;
        CString strResult;
        double result = 0.0;
        if (CNumberRules::EvaluateExpression(expression.data(), expression.data() + expression.size(),
                                             result)) {
            CDecimal value = CDecimal::FromDouble(result);
            value.Round(-6, CDecimal::roundHalfUp);
            CNumberRules::RoundBySpec(value, info.spec);
            strResult = CNumberRules::FormatNormal(value);
        }
        CGridRow* pRow = m_SummaryRows.GetRow(nRow);
        if (pRow == nullptr) {
            pRow = new CGridRow;
            m_SummaryRows.SetAtGrow(nRow, pRow);
        }
        pRow->SetCell(nCol, std::move(strResult));
    }
}

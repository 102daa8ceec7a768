// Cell numbers of the estimate view: the row formulas of the edit page (the engine's) and
// of the summary page.
#include "estimate/CMorvelEMView.h"

#include "estimate/engine/CGridRow.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Stored numbers and row formulas: the engine's

void CMorvelEMView::NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const
{
    m_engine.NormalizeNumberText(nCol, strResult, lpszText);
}

int CMorvelEMView::FormulaLacksNumbers(int nRow, const char* lpszFormula) const
{
    return m_engine.FormulaLacksNumbers(nRow, lpszFormula);
}

void CMorvelEMView::CalcRow(int nRow, int nFirstCol)
{
    m_engine.CalcRow(nRow, nFirstCol);
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

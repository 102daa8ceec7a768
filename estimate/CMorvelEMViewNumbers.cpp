// Cell numbers of the estimate view: the row formulas of the edit page (the engine's) and
// of the summary page.
#include "estimate/CMorvelEMView.h"

#include "estimate/engine/CGridRow.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Stored numbers and row formulas: the engine's

void CMorvelEMView::NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const
{
    Engine().NormalizeNumberText(nCol, strResult, lpszText);
}

int CMorvelEMView::FormulaLacksNumbers(int nRow, const char* lpszFormula) const
{
    return Engine().FormulaLacksNumbers(nRow, lpszFormula);
}

void CMorvelEMView::CalcRow(int nRow, int nFirstCol)
{
    Engine().CalcRow(nRow, nFirstCol);
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
        // The summary page's rows take the estimate's rules: a line none of whose referenced
        // cells holds a number (a heading's line) keeps what was copied into it.
        std::string expression;
        double result = 0.0;
        const CRowFormula::EOutcome outcome =
            info.formula.Evaluate([&](int nRef) { return GetCellText(nRow, nRef); },
                                  CRowFormula::estimateRules, expression, result);
        if (outcome == CRowFormula::EOutcome::keep)
            continue;
        CString strResult;
        if (outcome == CRowFormula::EOutcome::number) {
            strResult = CNumberRules::FormatNormal(CRowFormula::RoundedResult(result, info.spec));
        }
        CGridRow* pRow = SummaryRows().GetRow(nRow);
        if (pRow == nullptr) {
            pRow = new CGridRow;
            SummaryRows().SetAtGrow(nRow, pRow);
        }
        pRow->SetCell(nCol, std::move(strResult));
    }
}

// Cell numbers of the estimate view: the row formulas of the edit page (the engine's) and
// of the summary page.
#include "estimate/CMorvelEMView.h"

#include "estimate/engine/CSummaryTable.h"

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
    if (!IsSummaryPageShown())
        return;
    CSummaryTable::CalcRow(SummaryRows(), GetRowLimit(), Engine().Columns(), nRow, nFirstCol);
}

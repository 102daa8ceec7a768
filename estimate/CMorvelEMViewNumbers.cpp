// Cell numbers of the estimate view: the row formulas of the edit page (the engine's).
#include "estimate/CMorvelEMView.h"

// ---------------------------------------------------------------------------------------
// Stored numbers and row formulas: the engine's

void CMorvelEMView::CalcRow(int nRow, int nFirstCol)
{
    Engine().CalcRow(nRow, nFirstCol);
}

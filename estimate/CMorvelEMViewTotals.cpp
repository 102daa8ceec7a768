// Totals of the estimate view: the total commands, and the engine's totals and
// recalculation with what the window does after them.
#include "estimate/CMorvelEMView.h"

#include "app/CMorvelSettings.h"

void CMorvelEMView::RecalcTotals(int nFromRow)
{
    Engine().RecalcTotals(nFromRow);
    AfterRecalculation();
}

void CMorvelEMView::RecalcTotalsAfterEdit(int nRow)
{
    if (m_nCommandDepth > 0 && GetRecalcLevel() == 3)
        m_bRecalcAtCommandEnd = true;
    else
        RecalcTotals(nRow);
}

void CMorvelEMView::AfterRecalculation()
{
    UpdateTreeView();
    SetDocumentModified();
    UpdateStatusText(statusShow);
}

bool CMorvelEMView::IsTaxVerticalTotal()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return FALSE;
    return pSettings->GetProfileString("Tax Vertical Total", "3", "") == "縦合計"_sj ? TRUE : FALSE;
}

void CMorvelEMView::InsertTotal(ETotalLevel nLevel)
{
    const int nRow = GetCurrentRow();
    if (!HasFileRoomForRows(nRow, 1, AdjustPageBreak(EPageBreak::findHeading, nRow)))
        return;
    GetModel().InsertTotalRow(GetCurrentCol(), nRow, nLevel, PageRule());
    NewRowMade(nRow);
    if (nLevel != levelGrand)
        UpdateTreeView();
    MoveCurrentRowDown();
}

void CMorvelEMView::OnSmallTotal()
{
    InsertTotal(levelSmall);
}
void CMorvelEMView::OnMiddleTotal()
{
    InsertTotal(levelMiddle);
}
void CMorvelEMView::OnLargeTotal()
{
    InsertTotal(levelLarge);
}
void CMorvelEMView::OnKindTotal()
{
    InsertTotal(levelKind);
}
void CMorvelEMView::OnGrandTotal()
{
    InsertTotal(levelGrand);
}

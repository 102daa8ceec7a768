// The estimate view's commands that ask a question in a dialog before they act: the page
// commands, the information sheet, the special rows, subject numbering, the pick lists,
// the summary table, display and input fixing and the indent tool. The dialogs belong to the
// estimate tools, which install the commands' work in the shell services while the program
// starts; the view hands each command over with its id (HandToEstimateTools), and the
// table in estimate_tools/EstimateDialogCommands.cpp finds the command's handler.
#include "app/CEstimationFormFile.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

void CMorvelEMView::OnPageSelect()
{
    HandToEstimateTools(ID_PAGE_SELECT);
}

void CMorvelEMView::OnPageInsert()
{
    HandToEstimateTools(ID_PAGE_INSERT);
}

void CMorvelEMView::OnPageDelete()
{
    HandToEstimateTools(ID_PAGE_DELETE);
}

void CMorvelEMView::OnInformationInput()
{
    HandToEstimateTools(ID_INFORMATION_INPUT);
}

void CMorvelEMView::OnKindInput()
{
    HandToEstimateTools(ID_KIND_INPUT);
}

void CMorvelEMView::OnDiscountInput()
{
    HandToEstimateTools(ID_DISCOUNT_INPUT);
}

void CMorvelEMView::OnStepSetting()
{
    HandToEstimateTools(ID_STEP_SETTING);
}

void CMorvelEMView::OnDiscountTotal()
{
    HandToEstimateTools(ID_TOTAL_DISCOUNT);
}

void CMorvelEMView::OnClassifyTotal()
{
    HandToEstimateTools(ID_CLASSIFY_TOTAL);
}

void CMorvelEMView::OnSubjectNumbering()
{
    HandToEstimateTools(ID_SUBJECT_NO);
}

void CMorvelEMView::OnSummaryTable()
{
    HandToEstimateTools(ID_SUMMARY_TABLE);
}

void CMorvelEMView::OnDisplayFix()
{
    HandToEstimateTools(ID_DISPLAY_FIX);
}

void CMorvelEMView::OnInputFix()
{
    HandToEstimateTools(ID_INPUT_FIX);
}

void CMorvelEMView::OnIndent()
{
    HandToEstimateTools(ID_INDENT);
}

void CMorvelEMView::OnPickLargeSubject()
{
    HandToEstimateTools(ID_PICK_LARGE);
}

void CMorvelEMView::OnPickMiddleSubject()
{
    HandToEstimateTools(ID_PICK_MIDDLE);
}

void CMorvelEMView::OnPickSmallSubject()
{
    HandToEstimateTools(ID_PICK_SMALL);
}

// A level's pick command is greyed while that level's list is open.
void CMorvelEMView::OnUpdatePickSubject(CCmdUI* pCmdUI)
{
    EPickPurpose eLevel = pickSmall;
    if (pCmdUI->m_nID == ID_PICK_LARGE)
        eLevel = pickLarge;
    else if (pCmdUI->m_nID == ID_PICK_MIDDLE)
        eLevel = pickMiddle;
    pCmdUI->Enable(!IsSummaryPageShown() && CShellServices::Get().runEstimateDialogCommand &&
                   GetPickDialog(eLevel) == nullptr);
}

bool CMorvelEMView::IsUnitColumn(int nCol) const
{
    const CEstimationFormFile& form = GetEstimationForm();
    return nCol >= 0 && nCol < form.GetCount() && form.GetItem(nCol, CEstimationFormFile::colT) == "1";
}

bool CMorvelEMView::IsPartsSearchColumn(int nCol) const
{
    const CEstimationFormFile& form = GetEstimationForm();
    if (nCol < 0 || nCol >= form.GetCount())
        return false;
    const CString& t = form.GetItem(nCol, CEstimationFormFile::colT);
    return t == "2" || t == "5";
}

void CMorvelEMView::OpenUnitPick()
{
    // Without the estimate tools there is no pick list: the cell is left as it is.
    if (m_pUnitPick != nullptr || !CShellServices::Get().runEstimateDialogCommand)
        return;
    CShellServices::RunEstimateDialogCommand(this, ID_UNIT);
}

void CMorvelEMView::OnUnit()
{
    if (IsSummaryPageShown() || !IsUnitColumn(GetCurrentCol()))
        return;
    // A unit typed so far is kept; the one picked then replaces it.
    StoreOpenEdit();
    HideCellEdit();
    OpenUnitPick();
}

void CMorvelEMView::OnUpdateUnit(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown() && IsUnitColumn(GetCurrentCol()) && m_pUnitPick == nullptr &&
                   CShellServices::Get().runEstimateDialogCommand);
}

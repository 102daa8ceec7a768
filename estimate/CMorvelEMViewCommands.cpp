// The estimate view's commands that ask a question in a dialog before they act: the page
// select, insert and delete commands, the information sheet, the kind heading, discount,
// step and discount total rows, and the indent tool. The dialogs belong to the estimate tools, which
// install the commands' work in the shell services while the program starts; the view
// hands each command over with its id.
#include "app/CEstimationFormFile.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

namespace {

void RunDialogCommand(CMorvelEMView* pView, UINT nID)
{
    const auto& run = CShellServices::Get().runEstimateDialogCommand;
    if (run)
        run(pView, nID);
    else
        AfxMessageBox("この機能は、このﾊﾞｰｼﾞｮﾝではまだ使えません。"_sj, MB_OK);
}

} // namespace

void CMorvelEMView::OnPageSelect()
{
    RunDialogCommand(this, ID_PAGE_SELECT);
}

void CMorvelEMView::OnPageInsert()
{
    RunDialogCommand(this, ID_PAGE_INSERT);
}

void CMorvelEMView::OnPageDelete()
{
    RunDialogCommand(this, ID_PAGE_DELETE);
}

void CMorvelEMView::OnInformationInput()
{
    RunDialogCommand(this, ID_INFORMATION_INPUT);
}

void CMorvelEMView::OnKindInput()
{
    RunDialogCommand(this, ID_KIND_INPUT);
}

void CMorvelEMView::OnDiscountInput()
{
    RunDialogCommand(this, ID_DISCOUNT_INPUT);
}

void CMorvelEMView::OnStepSetting()
{
    RunDialogCommand(this, ID_STEP_SETTING);
}

void CMorvelEMView::OnDiscountTotal()
{
    RunDialogCommand(this, ID_TOTAL_DISCOUNT);
}

void CMorvelEMView::OnClassifyTotal()
{
    RunDialogCommand(this, ID_CLASSIFY_TOTAL);
}

void CMorvelEMView::OnSubjectNumbering()
{
    RunDialogCommand(this, ID_SUBJECT_NO);
}

void CMorvelEMView::OnSummaryTable()
{
    RunDialogCommand(this, ID_SUMMARY_TABLE);
}

void CMorvelEMView::OnDisplayFix()
{
    RunDialogCommand(this, ID_DISPLAY_FIX);
}

void CMorvelEMView::OnInputFix()
{
    RunDialogCommand(this, ID_INPUT_FIX);
}

void CMorvelEMView::OnIndent()
{
    RunDialogCommand(this, ID_INDENT);
}

void CMorvelEMView::OnPickLargeSubject()
{
    RunDialogCommand(this, ID_PICK_LARGE);
}

void CMorvelEMView::OnPickMiddleSubject()
{
    RunDialogCommand(this, ID_PICK_MIDDLE);
}

void CMorvelEMView::OnPickSmallSubject()
{
    RunDialogCommand(this, ID_PICK_SMALL);
}

void CMorvelEMView::OnUpdatePickSubject(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0 && CShellServices::Get().runEstimateDialogCommand);
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
    CShellServices::Get().runEstimateDialogCommand(this, ID_UNIT);
}

void CMorvelEMView::OnUnit()
{
    if (m_nSummaryPage == 0 && IsUnitColumn(m_nCurrentCol))
        OpenUnitPick();
}

void CMorvelEMView::OnUpdateUnit(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0 && IsUnitColumn(m_nCurrentCol) && m_pUnitPick == nullptr &&
                   CShellServices::Get().runEstimateDialogCommand);
}

#include "estimate_tools/EstimateRowDialogCommands.h"

#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/RowKinds.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/CRowDialogs.h"

#include "platform/base/Collections.h"
#include "resources/ResourceIds.h"
#include <memory>

#include <algorithm>

namespace {

void InformationInput(CMorvelEMView& view)
{
    CMorvelEMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strTotal, strTax, strNet;
    view.GetInformationAmounts(strTotal, strTax, strNet);
    CInformationInputDialog dlg(strTotal, strTax, strNet, &view);
    dlg.m_strFormName = pDoc->m_strInformationFormName;
    dlg.m_form = pDoc->m_InformationForm;
    for (int i = 0; i < CMorvelEMView::MAX_INFORMATION; ++i)
        dlg.m_values[static_cast<size_t>(i)] = view.GetInformation(i);
    if (dlg.DoModal() != IDOK)
        return;
    CStringArray values;
    for (int i = 0; i < dlg.GetItemCount(); ++i)
        values.Add(dlg.m_values[static_cast<size_t>(i)]);
    view.ApplyInformationValues(values);
}

void KindInput(CMorvelEMView& view)
{
    CKindInputDialog dlg(1, &view);
    if (dlg.DoModal() == IDOK)
        view.InsertKindHeading(dlg.m_strName, dlg.m_strUnit);
}

void DiscountInput(CMorvelEMView& view)
{
    CDiscountDialog dlg(1, &view);
    if (dlg.DoModal() == IDOK)
        view.InsertDiscount(dlg.m_strDiscount);
}

void StepSetting(CMorvelEMView& view)
{
    const CEstimationFormFile& form = view.GetEstimationForm();
    const int nRow = view.GetCurrentRow();
    std::unique_ptr<CStepSettingDialog> pDlg;
    if (view.GetRowKind(nRow) == kindStep) {
        pDlg = std::make_unique<CStepSettingDialog>(form, view.GetRowParamText1(nRow),
                                                    view.GetRowParam1(nRow), view.GetRowParam2(nRow), &view);
        pDlg->m_nState = CStepSettingDialog::stateEdit;
    } else {
        pDlg = std::make_unique<CStepSettingDialog>(form, &view);
    }
    if (pDlg->DoModal() != IDOK)
        return;
    if (pDlg->m_nState == CStepSettingDialog::stateReleased) {
        if (view.GetRowKind(nRow) == kindStep)
            view.ApplyStepSetting(true, "", 0, 0);
        return;
    }
    // Without a target item or a level for "科目指定" there is no range to add up.
    if (pDlg->m_nTargetItem < 0 || pDlg->m_nRange < 0)
        return;
    view.ApplyStepSetting(false, pDlg->m_strTarget, pDlg->m_nTargetItem, pDlg->m_nRange);
}

void DiscountTotal(CMorvelEMView& view)
{
    CDiscountTotalDialog dlg(&view);
    if (dlg.DoModal() == IDOK)
        view.InsertDiscountTotal(dlg.m_nLevel);
}

void Indent(CMorvelEMView& view)
{
    // Each use opens another tool; the tool deletes itself when closed.
    auto* pDlg = new CIndentDialog(&view, view.GetEstimationForm());
    if (!pDlg->Create())
        delete pDlg;
}

} // namespace

bool RunEstimateRowDialogCommand(CMorvelEMView& view, UINT nID)
{
    switch (nID) {
    case ID_INFORMATION_INPUT:
        InformationInput(view);
        return true;
    case ID_KIND_INPUT:
        KindInput(view);
        return true;
    case ID_DISCOUNT_INPUT:
        DiscountInput(view);
        return true;
    case ID_STEP_SETTING:
        StepSetting(view);
        return true;
    case ID_TOTAL_DISCOUNT:
        DiscountTotal(view);
        return true;
    case ID_INDENT:
        Indent(view);
        return true;
    default:
        return false;
    }
}

#include "estimate_tools/EstimateToolsRegistration.h"
#include "estimate_tools/CEstimatePrinting.h"

#include "app/CPartFormFile.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/CRateCalcDialog.h"
#include "estimate_tools/CSortDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "estimate_tools/EstimateIoCommands.h"
#include "grid/ModelessMessages.h"
#include "layout/printform/CZoomDialog.h"
#include "parts/CMorvelPMView.h"
#include "resources/ChildFrameIds.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateDialogsIds.h"
#include "resources/EstimateIoIds.h"

void RegisterEstimateTools()
{
    RegisterChildFrameResources();

    CShellServices& services = CShellServices::Get();
    services.pEstimateTreeViewClass = RUNTIME_CLASS(CMorvelEMTreeView);
    services.getEstimateUsedRows = [](CView* pGrid) {
        auto* pView = dynamic_cast<CMorvelEMView*>(pGrid);
        return pView != nullptr ? pView->GetUsedRows() : 0;
    };
    RegisterEstimatePrinting();
    services.cutAllEstimateRows = [](CView* pGrid) {
        if (auto* pView = dynamic_cast<CMorvelEMView*>(pGrid))
            CMorvelEMTreeView::CutRowsThroughGrid(*pView, 0, pView->GetUsedRows() - 1);
    };
    services.getSubjectTreeLabelsRight = [](CView* pTree) {
        auto* pTreeView = dynamic_cast<CMorvelEMTreeView*>(pTree);
        return pTreeView != nullptr ? pTreeView->GetWholeLabelsRight() : 0;
    };

    // The view's import and export commands and their dialogs.
    RegisterEstimateIoDialogs();
    services.runEstimateIoCommand = RunEstimateIoCommand;

    // The view's commands that ask through a dialog first (the page dialogs, ...).
    RegisterEstimateDialogs();
    RegisterEstimateCommandDialogs();
    services.runEstimateDialogCommand = RunEstimateDialogCommand;

    RegisterPartsGridDialogs(services);
}

void RegisterPartsGridDialogs(CShellServices& services)
{
    // The editing dialogs the parts grid shares with the estimate grid.
    services.createUnitPick = [](CWnd* pOwner, const CString& strUnit) -> CWnd* {
        return OpenUnitPickDialog(pOwner, strUnit);
    };
    services.createFindReplaceDialog = [](CWnd* pOwner, bool bReplace, const CString& strText) -> CWnd* {
        if (bReplace) {
            auto* pDialog = new CReplaceDialog(pOwner);
            pDialog->m_strFind = LimitFindReplaceText(strText);
            if (pDialog->Create())
                return pDialog;
            delete pDialog;
            return nullptr;
        }
        auto* pDialog = new CFindDialog(pOwner);
        pDialog->m_strFind = LimitFindReplaceText(strText);
        if (pDialog->Create())
            return pDialog;
        delete pDialog;
        return nullptr;
    };
    services.runSortDialog = [](CWnd* pParent, BOOL& bAscending) {
        CSortDialog dlg(pParent);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        bAscending = dlg.m_bAscending != 0 ? TRUE : FALSE;
        return TRUE;
    };
    services.runZoomDialog = [](CWnd* pParent, int& nZoom) {
        CZoomDialog dlg(nZoom, pParent);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        nZoom = dlg.m_nZoom;
        return TRUE;
    };
    services.runRateChangeDialog = [](CWnd* pParent, const CPartFormFile& form,
                                      CShellServices::CRateChangeRequest& request) {
        CRateCalcDialog dlg(pParent, form.GetItemNames(), true);
        if (dlg.DoModal() != IDOK)
            return FALSE;
        request.strFormula = dlg.m_strFormula;
        request.nCol1 = dlg.m_nItem1;
        request.nOp1 = dlg.m_nOperator1;
        // A condition without a relation does not restrict, whatever value was typed.
        request.strValue1 = dlg.m_nOperator1 >= 0 ? dlg.m_strValue1 : CString();
        request.nCol2 = dlg.m_nItem2;
        request.nOp2 = dlg.m_nOperator2;
        request.strValue2 = dlg.m_nOperator2 >= 0 ? dlg.m_strValue2 : CString();
        request.nCombine = dlg.m_nRelation;
        return TRUE;
    };
}

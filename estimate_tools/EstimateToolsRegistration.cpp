#include "estimate_tools/CEstimatePrinting.h"
#include "estimate_tools/EstimateToolsRegistration.h"

#include "app/CShellServices.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "estimate_tools/EstimateIoCommands.h"
#include "resources/ChildFrameIds.h"
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

    // The view's import and export commands and their dialogs.
    RegisterEstimateIoDialogs();
    services.runEstimateIoCommand = RunEstimateIoCommand;

    // The view's commands that ask through a dialog first (the page dialogs, ...).
    RegisterEstimateDialogs();
    services.runEstimateDialogCommand = RunEstimateDialogCommand;
}

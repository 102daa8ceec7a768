#include "estimate_tools/EstimateToolsRegistration.h"

#include "app/CChildEMFrame.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

void RegisterEstimateTools()
{
    RegisterChildFrameResources();
    CShellServices::Get().SetDocumentClasses(IDR_MORVELTYPE, RUNTIME_CLASS(CMorvelEMDoc),
                                             RUNTIME_CLASS(CChildEMFrame), RUNTIME_CLASS(CMorvelEMView));

    CChildEMFrame::CEstimateServices services = CChildEMFrame::GetEstimateServices();
    services.pTreeViewClass = RUNTIME_CLASS(CMorvelEMTreeView);
    services.getUsedRows = [](CView* pGrid) {
        auto* pView = dynamic_cast<CMorvelEMView*>(pGrid);
        return pView != nullptr ? pView->m_nUsedRows : 0;
    };
    services.cutAllRows = [](CView* pGrid) {
        if (auto* pView = dynamic_cast<CMorvelEMView*>(pGrid))
            CMorvelEMTreeView::CutRowsThroughGrid(*pView, 0, pView->m_nUsedRows - 1);
    };
    CChildEMFrame::SetEstimateServices(services);
}

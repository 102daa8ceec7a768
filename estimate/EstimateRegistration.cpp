#include "estimate/EstimateRegistration.h"

#include "app/CChildEMFrame.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "resources/EstimateViewMenus.h"
#include "resources/GridViewResources.h"
#include "resources/ResourceIds.h"

void RegisterEstimate()
{
    CShellServices::Get().SetDocumentClasses(IDR_MORVELTYPE, RUNTIME_CLASS(CMorvelEMDoc),
                                             RUNTIME_CLASS(CChildEMFrame), RUNTIME_CLASS(CMorvelEMView));
    RegisterGridViewResources();
    RegisterEstimateViewMenus();
}

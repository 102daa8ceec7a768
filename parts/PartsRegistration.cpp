#include "parts/PartsRegistration.h"

#include "app/CChildPMFrame.h"
#include "app/CShellServices.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "resources/ResourceIds.h"

void RegisterParts()
{
    CShellServices::Get().SetDocumentClasses(IDR_PARTSTYPE, RUNTIME_CLASS(CMorvelPMDoc),
                                             RUNTIME_CLASS(CChildPMFrame), RUNTIME_CLASS(CMorvelPMView));
}

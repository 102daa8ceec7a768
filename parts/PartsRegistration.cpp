#include "parts/PartsRegistration.h"

#include "app/CChildPMFrame.h"
#include "app/CShellServices.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsIoCommands.h"
#include "resources/ResourceIds.h"

void RegisterParts()
{
    CShellServices& services = CShellServices::Get();
    services.SetDocumentClasses(IDR_PARTSTYPE, RUNTIME_CLASS(CMorvelPMDoc), RUNTIME_CLASS(CChildPMFrame),
                                RUNTIME_CLASS(CMorvelPMView));
    // The list's exchange commands (CSV output and input, another parts file).
    services.runPartsIoCommand = RunPartsIoCommand;
}

#include "dosconvert/DosConvertRegistration.h"

#include "app/CShellServices.h"
#include "dosconvert/DosConversion.h"
#include "resources/DosConvertIds.h"

void RegisterDosConvert()
{
    RegisterDosConvertResources();
    CShellServices::Get().runDosConversion = [](CWnd* pMainFrame) { RunDosConversionCommand(pMainFrame); };
}

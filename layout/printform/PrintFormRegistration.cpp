#include "layout/printform/PrintFormRegistration.h"

#include "app/CChildEMFormFrame.h"
#include "app/CChildPMFormFrame.h"
#include "app/CShellServices.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormFileDialog.h"
#include "layout/printform/CPrintLayoutViews.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/CTableRuledLineDialog.h"
#include "layout/printform/PrintBarBoxes.h"
#include "resources/LayoutDialogIds.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/PrintFormIds.h"
#include "resources/ResourceIds.h"
#include "resources/SetupIds.h"

void RegisterPrintForm()
{
    // The layouts read drawing objects: their classes must be known first.
    RegisterDrawing();
    RegisterPrintFormDialogs();
    RegisterEditorDialogTemplates();
    RegisterTableDialogTemplates();
    RegisterPrintFormEditorResources();
    RegisterPrintFormChoice();
    RegisterPrintBarBoxes();
    RegisterLayoutDialogs();
    // The editor's shading and ruled-line dialogs are the ones the print settings page uses.
    RegisterSetupResources();
    CShellServices& services = CShellServices::Get();
    services.SetDocumentClasses(IDR_EMFORMTYPE, RUNTIME_CLASS(CPrintEMDoc), RUNTIME_CLASS(CChildEMFormFrame),
                                RUNTIME_CLASS(CPrintEMFormView));
    services.SetDocumentClasses(IDR_PMFORMTYPE, RUNTIME_CLASS(CPrintPMDoc), RUNTIME_CLASS(CChildPMFormFrame),
                                RUNTIME_CLASS(CPrintPMFormView));
}

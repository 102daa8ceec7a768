// The program's entry. The application object is built before main() runs, as the
// framework expects; main() lets each subsystem that is part of the program register what
// it provides (document classes, sheets, services, resources) in CShellServices, in a fixed
// order, and AfxWinMain makes the Qt application, hands the arguments over and runs
// start-up and the message loop. A new subsystem adds its one registration call below.
#include "app/CMorvelApp.h"
#include "dosconvert/DosConvertRegistration.h"
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/PrintFormRegistration.h"
#include "parts/PartsRegistration.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/MessageBoxUi.h"
#include "setup/SetupRegistration.h"

CMorvelApp theApp;

int main(int argc, char** argv)
{
    // Estimates: the estimate document, its window and the grid view.
    RegisterEstimate();
    // The estimate tools: the subject tree beside the grid, the window's clear command.
    RegisterEstimateTools();
    // Parts lists: the parts document, its window and its grid view.
    RegisterParts();
    // Print layouts: the drawing objects and the estimate and parts layout documents.
    RegisterDrawing();
    RegisterPrintForm();
    // The setup and environment sheets.
    RegisterSetup();
    // The conversion of the DOS edition's data behind "DOS版MORVEL(&D)".
    RegisterDosConvert();
    // Messages are shown in message boxes on the screen.
    AfxInstallMessageBoxUi();
    return AfxWinMain(argc, argv);
}

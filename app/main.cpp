// The program's entry. The application object is built before main() runs, as the
// framework expects; main() registers the document classes of the subsystems that are part
// of the program, and AfxWinMain makes the Qt application, hands the arguments over and
// runs start-up and the message loop.
#include "app/CMorvelApp.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/MessageBoxUi.h"

CMorvelApp theApp;

int main(int argc, char** argv)
{
    // Estimates: the estimate window with the subject tree beside the grid.
    RegisterEstimateTools();
    // Messages are shown in message boxes on the screen.
    AfxInstallMessageBoxUi();
    return AfxWinMain(argc, argv);
}

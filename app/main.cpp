// The program's entry. The application object is built before main() runs, as the
// framework expects; main() names the document classes of the subsystems that are part of
// the program, and AfxWinMain makes the Qt application, hands the arguments over and runs
// start-up and the message loop.
#include "app/CMorvelApp.h"
#include "app/CPlainChildFrame.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/MessageBoxUi.h"
#include "resources/ResourceIds.h"

CMorvelApp theApp;

int main(int argc, char** argv)
{
    // Estimates open in a plain document window until their own frame (subject tree and
    // grid side by side) is part of the program.
    CShellServices::Get().SetDocumentClasses(IDR_MORVELTYPE, RUNTIME_CLASS(CMorvelEMDoc),
                                             RUNTIME_CLASS(CPlainChildFrame), RUNTIME_CLASS(CMorvelEMView));
    // Messages are shown in message boxes on the screen.
    AfxInstallMessageBoxUi();
    return AfxWinMain(argc, argv);
}

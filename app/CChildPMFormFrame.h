// CChildPMFormFrame: the window of an parts print layout. It is the print-layout window with the
// setup sheet of its own kind: "導入処理(&I)..." shows the parts-form page over copies of the
// forms the layout was made with.
#pragma once

#include "app/CChildFormFrame.h"

class CChildPMFormFrame : public CChildFormFrame {
    DECLARE_DYNCREATE(CChildPMFormFrame)
public:
    CChildPMFormFrame();
    ~CChildPMFormFrame() override;

protected:
    // The import-mode setup sheet over the active layout's forms, as the setup subsystem
    // registers it in CShellServices; until then the command says that the sheet is not
    // available.
    void RunImportSheet() override;
};

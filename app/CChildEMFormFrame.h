// CChildEMFormFrame: the window of an estimate print layout. It is the print-layout window with the
// setup sheet of its own kind: "導入処理(&I)..." shows the estimation-form and information-form pages over
// copies of the forms the layout was made with.
#pragma once

#include "app/CChildFormFrame.h"

class CChildEMFormFrame : public CChildFormFrame {
    DECLARE_DYNCREATE(CChildEMFormFrame)
public:
    CChildEMFormFrame();
    ~CChildEMFormFrame() override;

protected:
    // The import-mode setup sheet over the active layout's forms, as the setup subsystem
    // registers it in CShellServices; until then the command says that the sheet is not
    // available.
    void RunImportSheet() override;
};

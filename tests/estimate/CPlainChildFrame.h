// A document window for the grid's window tests: it opens maximised, as every document
// window of the program does, with the estimate view filling it and no subject tree, so that
// the grid is tested on its own.
#pragma once

#include "platform/ui/frames/CMDIChildWnd.h"

class CPlainChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CPlainChildFrame)
public:
    CPlainChildFrame();
    ~CPlainChildFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

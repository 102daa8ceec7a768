// A document window that opens maximised, as every document window of the program does,
// with the document's view filling it. Document types whose own child frame (bars,
// splitter) is not part of the program yet open in it.
#pragma once

#include "platform/ui/CMDIChildWnd.h"

class CPlainChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CPlainChildFrame)
public:
    CPlainChildFrame();
    ~CPlainChildFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

// CPrintFormPlainView: the window of a print layout until the layout editor exists. It
// shows the layout's paper colour and nothing else, and handles no command, so every
// editing command of the layout window stays disabled.
#pragma once

#include "platform/ui/frames/CView.h"

class CPrintFormPlainView : public CView {
    DECLARE_DYNCREATE(CPrintFormPlainView)
public:
    CPrintFormPlainView();
    ~CPrintFormPlainView() override;

protected:
    void OnDraw(CDC* pDC) override;
};

// CPrintEMFormView and CPrintPMFormView: the editing views of estimate and parts print
// layouts. They are the editor view as it stands; their own text command, which asks for
// the text and its field pictures first, comes with the text-property dialogs.
#pragma once

#include "printform/CPrintFormView.h"

class CPrintEMFormView : public CPrintFormView {
    DECLARE_DYNCREATE(CPrintEMFormView)
public:
    CPrintEMFormView();
    ~CPrintEMFormView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
};

class CPrintPMFormView : public CPrintFormView {
    DECLARE_DYNCREATE(CPrintPMFormView)
public:
    CPrintPMFormView();
    ~CPrintPMFormView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
};

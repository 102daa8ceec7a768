// CPrintEMFormView and CPrintPMFormView: the editing views of estimate and parts print
// layouts: the editor view with the text command "文字(&T)", which asks for the next text
// and its field pictures in the text-property dialog of the layout's kind.
#pragma once

#include "printform/CPrintFormView.h"

class CPrintEMFormView : public CPrintFormView {
    DECLARE_DYNCREATE(CPrintEMFormView)
public:
    CPrintEMFormView();
    ~CPrintEMFormView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // The text tool becomes current; the dialog's text and pictures wait for its next
    // click. Cancel returns to the selection tool.
    afx_msg void OnDrawText();
    DECLARE_MESSAGE_MAP()
};

class CPrintPMFormView : public CPrintFormView {
    DECLARE_DYNCREATE(CPrintPMFormView)
public:
    CPrintPMFormView();
    ~CPrintPMFormView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    afx_msg void OnDrawText();
    DECLARE_MESSAGE_MAP()
};

// CPrintEMFormView and CPrintPMFormView: the editing views of estimate and parts print
// layouts. Both are the editor view with its editing, formatting and text commands mapped,
// and their own text command, which asks for the text and its field pictures first (the
// dialog of the layout's kind).
#pragma once

#include "layout/printform/CPrintFormView.h"

class CPrintEMFormView : public CPrintFormView {
    DECLARE_DYNCREATE(CPrintEMFormView)
public:
    CPrintEMFormView();
    ~CPrintEMFormView() override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
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

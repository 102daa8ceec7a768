// CCtrlView: a view that is a control window (the tree view, a list view): the control
// paints itself and handles its own input; the view adds the document and the frame.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/frames/CView.h"

class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    // lpszClass: the control's window class; dwStyle: the style the view gets when its
    // creator asks for the framework's default view style.
    CCtrlView(LPCTSTR lpszClass, DWORD dwStyle);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The control draws itself; printing the view draws nothing.
    void OnDraw(CDC* pDC) override;

    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

protected:
    CString m_strClass;
    DWORD m_dwDefaultStyle;
};

#include "platform/ui/frames/CCtrlView.h"

#include "platform/ui/controls/CommonControls_p.h"

IMPLEMENT_DYNAMIC(CCtrlView, CView)

BEGIN_MESSAGE_MAP(CCtrlView, CView)
ON_WM_PAINT()
END_MESSAGE_MAP()

CCtrlView::CCtrlView(LPCTSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}

BOOL CCtrlView::PreCreateWindow(CREATESTRUCT& cs)
{
    AfxRegisterCommonControlClasses();
    cs.lpszClass = m_strClass;
    // The framework's default view style stands for the control's own default style (a
    // border or not is the control's choice).
    if ((static_cast<DWORD>(cs.style) | WS_BORDER) == AFX_WS_DEFAULT_VIEW)
        cs.style = static_cast<LONG>(m_dwDefaultStyle & (static_cast<DWORD>(cs.style) | ~WS_BORDER));
    const LPCTSTR lpszClass = cs.lpszClass;
    const BOOL bOk = CView::PreCreateWindow(cs);
    cs.lpszClass = lpszClass;
    return bOk;
}

void CCtrlView::OnDraw(CDC* pDC)
{
    (void)pDC;
}

void CCtrlView::OnPaint()
{
    Default();
}

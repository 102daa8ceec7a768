#include "platform/ui/frames/CTreeView.h"

IMPLEMENT_DYNCREATE(CTreeView, CCtrlView)

BEGIN_MESSAGE_MAP(CTreeView, CCtrlView)
END_MESSAGE_MAP()

CTreeView::CTreeView() : CCtrlView(WC_TREEVIEW, AFX_WS_DEFAULT_VIEW) {}

CTreeView::~CTreeView()
{
    // The control object only borrowed the view's window.
    m_treeCtrl.m_hWnd = nullptr;
}

CTreeCtrl& CTreeView::GetTreeCtrl() const
{
    m_treeCtrl.m_hWnd = m_hWnd;
    return m_treeCtrl;
}

// The grid and the main frame's zoom box: every grid window shares the one box on the main
// tool bar, and the grid that has the keyboard shows its zoom there. Losing the keyboard
// also ends a Shift extension of the selection.
#include "app/CMainFrame.h"
#include "grid/CMorvelView.h"

void CMorvelView::OnSetFocus(CWnd* pOldWnd)
{
    CView::OnSetFocus(pOldWnd);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowZoom(m_nZoom);
}

void CMorvelView::OnKillFocus(CWnd* pNewWnd)
{
    m_nShiftExtend = 0;
    CView::OnKillFocus(pNewWnd);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->OfferUserZoom();
}

void CMorvelView::OnDestroy()
{
    // Closing one of two windows leaves the other's zoom: the next grid to take the
    // keyboard shows its own.
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ForgetZoom(this);
    CView::OnDestroy();
}

// Zoom of the estimate grid: the fixed steps of the 表示 menu and of the main frame's zoom
// box, and the box kept showing the zoom of the grid that has the keyboard.
#include "app/CMainFrame.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

void CMorvelEMView::SetZoom(int nPercent)
{
    CMorvelView::SetZoom(nPercent);
    const CMorvelEMDoc* pDoc = GetDocument();
    if (m_pModel != nullptr && (pDoc == nullptr || pDoc->GetEstimateView() == this))
        m_pModel->SetZoom(nPercent);
}

void CMorvelEMView::SetFixedZoom(int nPercent)
{
    SetZoom(nPercent);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SelectZoomEntry(nPercent);
    RecalcLayout();
}

void CMorvelEMView::OnZoom25()
{
    SetFixedZoom(25);
}
void CMorvelEMView::OnZoom50()
{
    SetFixedZoom(50);
}
void CMorvelEMView::OnZoom75()
{
    SetFixedZoom(75);
}
void CMorvelEMView::OnZoom100()
{
    SetFixedZoom(100);
}
void CMorvelEMView::OnZoom150()
{
    SetFixedZoom(150);
}
void CMorvelEMView::OnZoom200()
{
    SetFixedZoom(200);
}

void CMorvelEMView::OnUpdateZoom(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    if (pCmdUI->m_nID == ID_ZOOM_USER) {
        // The user's own zoom is checked when the zoom is none of the fixed steps.
        pCmdUI->SetCheck(CMainFrame::IsZoomStep(GetZoom()) ? 0 : 1);
        return;
    }
    pCmdUI->SetCheck(CMainFrame::GetZoomOfCommand(pCmdUI->m_nID) == GetZoom() ? 1 : 0);
}

void CMorvelEMView::OnZoomBoxChange()
{
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SendZoomCommand(this);
}

void CMorvelEMView::ApplyUserZoom(int nPercent)
{
    SetZoom(nPercent);
    // The box's last entry shows the user's zoom and is selected.
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowUserZoom(nPercent);
    RecalcLayout();
}

void CMorvelEMView::ShowZoomInBox()
{
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowZoom(GetZoom());
}

void CMorvelEMView::OnSetFocus(CWnd* pOldWnd)
{
    CMorvelView::OnSetFocus(pOldWnd);
    UpdateStatusText(statusShow);
}

void CMorvelEMView::OnKillFocus(CWnd* pNewWnd)
{
    CMorvelView::OnKillFocus(pNewWnd);
    if (!CMainFrame::KeepsStatusPanes(this, pNewWnd))
        UpdateStatusText(statusHide);
}

void CMorvelEMView::OnDestroy()
{
    DestroyModelessDialogs();
    CMorvelView::OnDestroy();
}

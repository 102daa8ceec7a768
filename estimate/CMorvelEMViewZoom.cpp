// Zoom of the estimate grid: the fixed steps of the 表示 menu and of the main frame's zoom
// box, and the box kept showing the zoom of the grid that has the keyboard.
#include "app/CMainFrame.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "resources/ResourceIds.h"

namespace {

// The zoom box's entries by index and the commands they stand for.
constexpr UINT kZoomBoxCommands[] = {ID_ZOOM_25,  ID_ZOOM_50,  ID_ZOOM_75,  ID_ZOOM_100,
                                     ID_ZOOM_150, ID_ZOOM_200, ID_ZOOM_USER};
constexpr int kFixedZooms[] = {25, 50, 75, 100, 150, 200};

CComboBox* ZoomBox()
{
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (pFrame == nullptr || pFrame->m_wndZoomBox.m_hWnd == nullptr)
        return nullptr;
    return &pFrame->m_wndZoomBox;
}

CString ZoomText(int nPercent)
{
    CString str;
    str.Format("%d%%", nPercent);
    return str;
}

int ZoomOfCommand(UINT nID)
{
    for (int i = 0; i < 6; ++i) {
        if (kZoomBoxCommands[i] == nID)
            return kFixedZooms[i];
    }
    return 0;
}

} // namespace

void CMorvelEMView::SetFixedZoom(int nPercent)
{
    m_nZoom = nPercent;
    if (CComboBox* pBox = ZoomBox()) {
        const int nIndex = pBox->FindStringExact(-1, ZoomText(nPercent));
        if (nIndex >= 0)
            pBox->SetCurSel(nIndex);
    }
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
        bool bFixed = false;
        for (int nZoom : kFixedZooms)
            bFixed = bFixed || nZoom == m_nZoom;
        pCmdUI->SetCheck(bFixed ? 0 : 1);
        return;
    }
    pCmdUI->SetCheck(ZoomOfCommand(pCmdUI->m_nID) == m_nZoom ? 1 : 0);
}

void CMorvelEMView::OnZoomBoxChange()
{
    CComboBox* pBox = ZoomBox();
    if (pBox == nullptr)
        return;
    const int nIndex = pBox->GetCurSel();
    if (nIndex < 0 || nIndex > 6)
        return;
    SendMessage(WM_COMMAND, kZoomBoxCommands[nIndex], 0);
}

void CMorvelEMView::ApplyUserZoom(int nPercent)
{
    m_nZoom = nPercent;
    // The box's last entry shows the user's zoom and is selected.
    if (CComboBox* pBox = ZoomBox()) {
        if (pBox->GetCount() > 0)
            pBox->DeleteString(pBox->GetCount() - 1);
        pBox->SetCurSel(pBox->AddString(ZoomText(nPercent)));
    }
    RecalcLayout();
}

void CMorvelEMView::ShowZoomInBox()
{
    if (CComboBox* pBox = ZoomBox()) {
        int nIndex = pBox->FindStringExact(-1, ZoomText(m_nZoom));
        if (nIndex < 0) {
            pBox->DeleteString(pBox->GetCount() - 1);
            nIndex = pBox->AddString(ZoomText(m_nZoom));
        }
        pBox->SetCurSel(nIndex);
    }
}

void CMorvelEMView::OnSetFocus(CWnd* pOldWnd)
{
    CMorvelView::OnSetFocus(pOldWnd);
    if (CComboBox* pBox = ZoomBox()) {
        const CString strZoom = ZoomText(m_nZoom);
        int nIndex = pBox->FindStringExact(-1, strZoom);
        if (nIndex < 0) {
            pBox->DeleteString(pBox->GetCount() - 1);
            nIndex = pBox->AddString(strZoom);
        }
        pBox->SetCurSel(nIndex);
    }
    UpdateStatusText(statusShow);
}

void CMorvelEMView::OnKillFocus(CWnd* pNewWnd)
{
    CMorvelView::OnKillFocus(pNewWnd);
    if (CComboBox* pBox = ZoomBox()) {
        // The last entry offers the user's own zoom again; what is selected stays.
        const int nSelected = pBox->GetCurSel();
        CString strLast;
        if (pBox->GetCount() > 0)
            pBox->GetLBText(pBox->GetCount() - 1, strLast);
        if (strLast != "ﾕｰｻﾞｰ 指定..."_sj) {
            pBox->DeleteString(pBox->GetCount() - 1);
            pBox->AddString("ﾕｰｻﾞｰ 指定..."_sj);
            pBox->SetCurSel(nSelected == pBox->GetCount() - 1 ? -1 : nSelected);
        }
    }
    if (!CMainFrame::KeepsStatusPanes(this, pNewWnd))
        UpdateStatusText(statusHide);
}

void CMorvelEMView::OnDestroy()
{
    // A closed estimate's zoom is no longer shown; the next grid to take the keyboard
    // selects its own.
    auto* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (CComboBox* pBox = ZoomBox(); pBox != nullptr && pFrame->ClearsZoomBoxOnClose(this))
        pBox->SetCurSel(-1);
    DestroyModelessDialogs();
    CMorvelView::OnDestroy();
}

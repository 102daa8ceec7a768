#include "layout/printform/CZoomDialog.h"

#include "platform/ui/controls/CEdit.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateEditIds.h"

CZoomDialog::CZoomDialog(CWnd* pParent) : CDialog(IDD_ZOOM, pParent)
{
    RegisterEstimateEditDialogs();
}

CZoomDialog::CZoomDialog(int nZoom, CWnd* pParent) : CDialog(IDD_ZOOM, pParent), m_nZoom(nZoom)
{
    RegisterEstimateEditDialogs();
}

void CZoomDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ZOOM_PERCENT, m_nZoom);
    DDV_MinMaxInt(pDX, m_nZoom, MIN_ZOOM, MAX_ZOOM);
}

BOOL CZoomDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The whole number is selected, so typing replaces it.
    if (auto* pEdit = static_cast<CEdit*>(GetDlgItem(IDC_ZOOM_PERCENT))) {
        pEdit->SetSel(0, -1);
        pEdit->SetFocus();
    }
    return FALSE;
}

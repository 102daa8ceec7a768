#include "estimate_tools/CSortDialog.h"

#include "resources/EstimateEditIds.h"

BEGIN_MESSAGE_MAP(CSortDialog, CDialog)
ON_BN_CLICKED(IDC_SORT_ASCENDING, OnAscending)
ON_BN_CLICKED(IDC_SORT_DESCENDING, OnDescending)
END_MESSAGE_MAP()

CSortDialog::CSortDialog(CWnd* pParent) : CDialog(IDD_SORT, pParent)
{
    RegisterEstimateEditDialogs();
}

void CSortDialog::OnAscending()
{
    m_bAscending = 1;
    EndDialog(IDOK);
}

void CSortDialog::OnDescending()
{
    m_bAscending = 0;
    EndDialog(IDOK);
}

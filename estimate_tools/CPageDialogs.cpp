#include "estimate_tools/CPageDialogs.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateDialogsIds.h"

CPageNumberDialog::CPageNumberDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
    RegisterEstimateDialogs();
}

void CPageNumberDialog::OnOK()
{
    // A page is a whole number typed as any number is ("３", "1,200"); anything else is
    // refused and the dialog stays for a correction. The commands hold the number within
    // the estimate's pages.
    if (!ReadDialogFields(this, [this](CDataExchange* pDX) { DDX_Text(pDX, IDC_PAGE_NUMBER, m_nPage); }))
        return;
    CDialog::OnOK();
}

CPageSelectDialog::CPageSelectDialog(CWnd* pParent) : CPageNumberDialog(IDD_PAGE_SELECT, pParent) {}

void CPageNumberDialog::ShowPageNumber()
{
    CString text;
    text.Format("%d", m_nPage);
    SetDlgItemText(IDC_PAGE_NUMBER, text);
}

CPageDeleteDialog::CPageDeleteDialog(CWnd* pParent, int nCurrentPage)
    : CPageNumberDialog(IDD_PAGE_DELETE, pParent)
{
    m_nPage = nCurrentPage;
}

BOOL CPageDeleteDialog::OnInitDialog()
{
    CPageNumberDialog::OnInitDialog();
    ShowPageNumber();
    return TRUE;
}

BEGIN_MESSAGE_MAP(CPageInsertDialog, CPageNumberDialog)
ON_BN_CLICKED(IDC_PAGE_BEFORE, OnBefore)
ON_BN_CLICKED(IDC_PAGE_AFTER, OnAfter)
END_MESSAGE_MAP()

CPageInsertDialog::CPageInsertDialog(CWnd* pParent, int nCurrentPage)
    : CPageNumberDialog(IDD_PAGE_INSERT, pParent)
{
    m_nPage = nCurrentPage;
}

BOOL CPageInsertDialog::OnInitDialog()
{
    CPageNumberDialog::OnInitDialog();
    ShowPageNumber();
    m_nBefore = 1;
    CheckRadioButton(IDC_PAGE_BEFORE, IDC_PAGE_AFTER, IDC_PAGE_BEFORE);
    return TRUE;
}

void CPageInsertDialog::OnBefore()
{
    m_nBefore = 1;
}

void CPageInsertDialog::OnAfter()
{
    m_nBefore = 0;
}

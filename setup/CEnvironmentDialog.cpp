#include "setup/CEnvironmentDialog.h"

IMPLEMENT_DYNAMIC(CEnvironmentDialog, CCBPropertySheet)

BEGIN_MESSAGE_MAP(CEnvironmentDialog, CCBPropertySheet)
ON_MESSAGE(WM_HELP, OnHelpRequest)
END_MESSAGE_MAP()

void CEnvironmentDialog::AddAllPages()
{
    m_colourPage.m_nDocKind = m_nDocKind;
    AddPage(&m_pathPage);
    AddPage(&m_inputPage);
    AddPage(&m_outputPage);
    AddPage(&m_colourPage);
}

CEnvironmentDialog::CEnvironmentDialog(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
    AddAllPages();
}

CEnvironmentDialog::CEnvironmentDialog(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddAllPages();
}

CEnvironmentDialog::CEnvironmentDialog(LPCTSTR pszCaption, int, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_pathPage);
}

CEnvironmentDialog::CEnvironmentDialog(int, LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage), m_nDocKind(1)
{
    m_inputPage.m_nEstimateView = 1;
    AddAllPages();
}

CEnvironmentDialog::CEnvironmentDialog(int nDocKind, int, LPCTSTR pszCaption, CWnd* pParentWnd,
                                       UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage), m_nDocKind(nDocKind)
{
    AddAllPages();
}

BOOL CEnvironmentDialog::OnInitDialog()
{
    CRect rcOK;
    CRect rcCancel;
    CRect rcApply;
    CRect rcHelp;
    GetDlgItem(IDOK)->GetWindowRect(&rcOK);
    GetDlgItem(IDCANCEL)->GetWindowRect(&rcCancel);
    GetDlgItem(ID_APPLY_NOW)->GetWindowRect(&rcApply);
    GetDlgItem(IDHELP)->GetWindowRect(&rcHelp);
    for (CRect* p : {&rcOK, &rcCancel, &rcApply, &rcHelp})
        ScreenToClient(p);
    GetDlgItem(IDOK)->MoveWindow(&rcCancel);
    GetDlgItem(IDCANCEL)->MoveWindow(&rcApply);
    GetDlgItem(ID_APPLY_NOW)->MoveWindow(&rcHelp);
    GetDlgItem(IDHELP)->ShowWindow(SW_HIDE);
    GetDlgItem(IDHELP)->EnableWindow(FALSE);
    return CCBPropertySheet::OnInitDialog();
}

LRESULT CEnvironmentDialog::OnHelpRequest(WPARAM, LPARAM)
{
    return 0;
}

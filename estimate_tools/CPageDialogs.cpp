#include "estimate_tools/CPageDialogs.h"

#include "resources/EstimateDialogsIds.h"

#include <climits>
#include <string>

int ParsePageNumber(const CString& text)
{
    const std::string head = text.Left(28).str();
    const char* p = head.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = *p++ == '-';
    long long nValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        nValue = nValue * 10 + (*p - '0');
        if (nValue > static_cast<long long>(INT_MAX) + 1)
            nValue = static_cast<long long>(INT_MAX) + 1;
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > INT_MAX)
        return INT_MAX;
    return static_cast<int>(nValue);
}

CPageNumberDialog::CPageNumberDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
    RegisterEstimateDialogs();
}

void CPageNumberDialog::OnOK()
{
    CString text;
    GetDlgItemText(IDC_PAGE_NUMBER, text);
    m_nPage = ParsePageNumber(text);
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

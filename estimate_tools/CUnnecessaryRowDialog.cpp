#include "estimate_tools/CUnnecessaryRowDialog.h"

#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "resources/EstimateEditIds.h"

BEGIN_MESSAGE_MAP(CUnnecessaryRowDialog, CDialog)
ON_BN_CLICKED(IDC_UNROW_FIND, OnFindNext)
ON_BN_CLICKED(IDC_UNROW_DELETE, OnDelete)
ON_BN_CLICKED(IDC_UNROW_DELETE_ALL, OnDeleteAll)
ON_BN_CLICKED(IDC_UNROW_QUANTITY, OnQuantity)
ON_BN_CLICKED(IDC_UNROW_AMOUNT, OnAmount)
ON_BN_CLICKED(IDC_UNROW_BOTH, OnBoth)
END_MESSAGE_MAP()

CUnnecessaryRowDialog::CUnnecessaryRowDialog(CWnd* pOwner)
    : CDialog(IDD_UNNECESSARY_ROWS, pOwner), m_pOwner(pOwner)
{
    RegisterEstimateEditDialogs();
}

BOOL CUnnecessaryRowDialog::Create()
{
    return CDialog::Create(IDD_UNNECESSARY_ROWS, m_pOwner);
}

BOOL CUnnecessaryRowDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pDelete = GetDlgItem(IDC_UNROW_DELETE))
        pDelete->EnableWindow(FALSE);
    m_nCondition = 1;
    CheckRadioButton(IDC_UNROW_QUANTITY, IDC_UNROW_BOTH, IDC_UNROW_QUANTITY);
    return TRUE;
}

void CUnnecessaryRowDialog::OnFindNext()
{
    const LRESULT found =
        m_pOwner != nullptr ? m_pOwner->SendMessage(WM_UNNECESSARY_ROW_COMMAND, UNROW_FIND_NEXT, m_nCondition)
                            : 0;
    if (CWnd* pDelete = GetDlgItem(IDC_UNROW_DELETE))
        pDelete->EnableWindow(found != 0);
    if (found == 0)
        AfxMessageBox("項目が見つかりません。"_sj, MB_OK);
    if (m_hWnd != nullptr)
        SetFocus();
}

void CUnnecessaryRowDialog::OnDelete()
{
    if (m_pOwner != nullptr)
        m_pOwner->SendMessage(WM_UNNECESSARY_ROW_COMMAND, UNROW_DELETE_FOUND, m_nCondition);
    if (m_hWnd != nullptr)
        SetFocus();
}

void CUnnecessaryRowDialog::OnDeleteAll()
{
    if (m_pOwner != nullptr)
        m_pOwner->SendMessage(WM_UNNECESSARY_ROW_COMMAND, UNROW_DELETE_ALL, m_nCondition);
    if (m_hWnd != nullptr)
        SetFocus();
}

void CUnnecessaryRowDialog::OnQuantity()
{
    m_nCondition = UNROW_COND_QUANTITY_ZERO;
}

void CUnnecessaryRowDialog::OnAmount()
{
    m_nCondition = UNROW_COND_AMOUNT_ZERO;
}

void CUnnecessaryRowDialog::OnBoth()
{
    m_nCondition = UNROW_COND_BOTH_ZERO;
}

void CUnnecessaryRowDialog::OnOK()
{
    OnFindNext();
}

void CUnnecessaryRowDialog::OnCancel()
{
    DestroyWindow();
}

void CUnnecessaryRowDialog::PostNcDestroy()
{
    if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr)
        m_pOwner->SendMessage(WM_MODELESS_CLOSED, MODELESS_UNNECESSARY_ROWS, reinterpret_cast<LPARAM>(this));
    delete this;
}

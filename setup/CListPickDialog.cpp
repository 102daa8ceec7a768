#include "setup/CListPickDialog.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/SetupIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListPickDialog, CDialog)

BEGIN_MESSAGE_MAP(CListPickDialog, CDialog)
ON_LBN_SELCHANGE(IDC_PICK_LIST, OnSelChange)
ON_LBN_DBLCLK(IDC_PICK_LIST, OnDblClk)
END_MESSAGE_MAP()

CListPickDialog::CListPickDialog(CWnd* pParent) : CDialog(IDD_LIST_PICK, pParent) {}

CListPickDialog::CListPickDialog(const CString* pTexts, int nCount, const CString& strTitle, int nSelect,
                                 CWnd* pParent)
    : CDialog(IDD_LIST_PICK, pParent), m_strTitle(strTitle), m_nSelect(nSelect)
{
    // The visible limit of the list: at most 100 texts are taken.
    m_nCount = std::clamp(nCount, 0, MAX_TEXTS);
    for (int i = 0; i < m_nCount; ++i)
        m_strTexts.push_back(pTexts[i]);
}

void CListPickDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PICK_LIST, m_list);
}

BOOL CListPickDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->ShowWindow(SW_HIDE);
    for (int i = 0; i < m_nCount && i < static_cast<int>(m_strTexts.size()); ++i)
        m_list.AddString(m_strTexts[static_cast<size_t>(i)]);
    // An index outside the list leaves it without a selection.
    m_list.SetCurSel(m_nSelect);
    SetWindowText(m_strTitle);
    m_list.SetFocus();
    return FALSE;
}

void CListPickDialog::OnSelChange()
{
    m_nSelect = m_list.GetCurSel();
}

void CListPickDialog::OnDblClk()
{
    m_nSelect = m_list.GetCurSel();
    EndDialog(IDOK);
}

void CListPickDialog::OnOK()
{
    // The index last stored (a preset outside the list comes back unchanged).
    EndDialog(IDOK);
}

BOOL CListPickDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_hWnd) {
        if (m_list.GetCurSel() >= 0)
            m_nSelect = m_list.GetCurSel();
        OnOK();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

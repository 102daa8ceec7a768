#include "platform/ui/dialogs/CPropertyPage.h"

#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/CPropertySheet.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage() = default;

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption)
{
}

CPropertyPage::CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName), m_nIDCaption(nIDCaption)
{
}

CPropertyPage::~CPropertyPage()
{
    if (m_pSheet)
        m_pSheet->RemovePage(this);
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

// The sheet closes; a page only takes part.
void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL bChanged)
{
    m_bModified = bChanged;
    if (m_pSheet)
        m_pSheet->UpdateApplyButton();
}

CString CPropertyPage::GetTitle() const
{
    if (m_nIDCaption != 0) {
        CString title;
        if (AfxLoadString(m_nIDCaption, title))
            return title;
    }
    if (!m_psp.pszTitle.IsEmpty())
        return m_psp.pszTitle;
    if (const DialogTemplate* pTemplate = FindDialogTemplate(GetTemplateID()))
        return pTemplate->caption;
    return CString();
}

// Dialog keys belong to the sheet: Enter presses the sheet's default button and Esc its
// Cancel, not the page's own OnOK/OnCancel.
BOOL CPropertyPage::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CPropertyPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    if ((nID == IDOK || nID == IDCANCEL) && lParam == 0 && m_pSheet && m_pSheet->m_hWnd &&
        GetDlgItem(static_cast<int>(nID)) == nullptr) {
        // A command for the sheet's buttons that reached the page goes on to the sheet.
        m_pSheet->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

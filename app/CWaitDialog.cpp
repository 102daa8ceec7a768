#include "app/CWaitDialog.h"

#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CWaitDialog, CDialog)

BEGIN_MESSAGE_MAP(CWaitDialog, CDialog)
ON_WM_DESTROY()
ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CWaitDialog::CWaitDialog(const char* lpszMessage, CWnd* pParent)
    : CDialog(IDD_WAIT, pParent), m_strMessage(lpszMessage)
{
}

CWaitDialog::~CWaitDialog()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

void CWaitDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_WAIT_MESSAGE, m_strMessage);
}

BOOL CWaitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Clicks elsewhere wait until the operation is over; the hourglass says why.
    SetCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    return TRUE;
}

void CWaitDialog::OnCancel()
{
    // Esc does not stop the operation; the dialog goes when the operation ends.
}

void CWaitDialog::OnCaptureChanged(CWnd* pWnd)
{
    (void)pWnd;
    if (IsWindowVisible())
        ShowWindow(SW_HIDE);
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

void CWaitDialog::OnDestroy()
{
    if (CWnd::GetCapture() == this)
        ReleaseCapture();
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    CDialog::OnDestroy();
}

CWaitScope::CWaitScope(const CString& strText)
{
    if (AfxGetMainWnd() == nullptr)
        return;
    m_pDialog = std::make_unique<CWaitDialog>(strText, nullptr);
    if (!m_pDialog->Create(IDD_WAIT, nullptr))
        m_pDialog.reset();
}

void CWaitScope::Close()
{
    if (m_pDialog != nullptr && m_pDialog->GetSafeHwnd() != nullptr)
        m_pDialog->DestroyWindow();
    m_pDialog.reset();
}

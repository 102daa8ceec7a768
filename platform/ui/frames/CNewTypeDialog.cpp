#include "platform/ui/frames/CNewTypeDialog.h"

#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTemplate.h"
#include "platform/ui/frames/CDocManager.h"

IMPLEMENT_DYNAMIC(CNewTypeDialog, CDialog)

BEGIN_MESSAGE_MAP(CNewTypeDialog, CDialog)
ON_LBN_DBLCLK(CNewTypeDialog::IDC_TYPE_LIST, OnListDoubleClick)
END_MESSAGE_MAP()

namespace {

DialogTemplate MakeNewTypeTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_NEWTYPEDLG;
    t.caption = "新規"_sj;
    t.cx = 154;
    t.cy = 74;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    t.controls = {
        {DlgStatic, IDC_STATIC, "新規(&N)"_sj, 7, 7, 80, 8},
        {DlgListBox, CNewTypeDialog::IDC_TYPE_LIST, CString(), 7, 18, 88, 49,
         LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
        {DlgPushButton, IDOK, "OK"_sj, 101, 18, 46, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 101, 36, 46, 14, WS_TABSTOP},
    };
    return t;
}

const bool s_registered = RegisterDialogTemplate(AFX_IDD_NEWTYPEDLG, MakeNewTypeTemplate);

} // namespace

CNewTypeDialog::CNewTypeDialog(const std::vector<CString>& names, CWnd* pParentWnd)
    : CDialog(AFX_IDD_NEWTYPEDLG, pParentWnd), m_names(names)
{
    (void)s_registered;
}

BOOL CNewTypeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const CString& name : m_names)
        SendDlgItemMessage(IDC_TYPE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (!m_names.empty())
        SendDlgItemMessage(IDC_TYPE_LIST, LB_SETCURSEL, 0, 0);
    return TRUE;
}

void CNewTypeDialog::OnOK()
{
    m_nSelected = static_cast<int>(SendDlgItemMessage(IDC_TYPE_LIST, LB_GETCURSEL, 0, 0));
    if (m_nSelected < 0 || m_nSelected >= static_cast<int>(m_names.size()))
        m_nSelected = -1;
    CDialog::OnOK();
}

void CNewTypeDialog::OnListDoubleClick()
{
    OnOK();
}

#include "layout/printform/CEditorDialogs.h"

#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CSpinButtonCtrl.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/DialogTemplate.h"

IMPLEMENT_DYNAMIC(CInsertTableDialog, CDialog)

namespace {

constexpr UINT IDC_VALUE_EDIT = 1031;
constexpr UINT IDC_VALUE_SPIN = 108;
constexpr UINT IDC_COLS_EDIT = 1101;
constexpr UINT IDC_COLS_SPIN = 1155;
constexpr DWORD kStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

} // namespace

void SetUpSpin(CDialog& dialog, UINT nSpin, int nLower, int nUpper, int nPos)
{
    CSpinButtonCtrl spin;
    if (!spin.SubclassDlgItem(nSpin, &dialog))
        return;
    spin.SetRange32(nLower, nUpper);
    spin.SetBase(10);
    spin.SetPos32(nPos);
    spin.Detach();
}

CInsertTableDialog::CInsertTableDialog(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CInsertTableDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpSpin(*this, IDC_VALUE_SPIN, 1, 100, static_cast<int>(m_nRows));
    SetUpSpin(*this, IDC_COLS_SPIN, 1, 100, static_cast<int>(m_nCols));
    return TRUE;
}

void CInsertTableDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, static_cast<int>(IDC_VALUE_EDIT), m_nRows);
    DDV_MinMaxUInt(pDX, m_nRows, 1, 100);
    DDX_Text(pDX, static_cast<int>(IDC_COLS_EDIT), m_nCols);
    DDV_MinMaxUInt(pDX, m_nCols, 1, 100);
}

void RegisterEditorDialogTemplates()
{
    RegisterDialogTemplate(CInsertTableDialog::IDD, [] {
        return DialogTemplate(
            CInsertTableDialog::IDD, "表の挿入"_sj, 150, 66, kStyle,
            {
                DialogControl(DlgStatic, 0xFFFF, "行数(&R):"_sj, 8, 10, 36, 8),
                DialogControl(DlgEdit, IDC_VALUE_EDIT, CString(), 46, 8, 34, 12,
                              ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP),
                DialogControl(DlgUpDown, IDC_VALUE_SPIN, CString(), 80, 8, 10, 12,
                              UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS),
                DialogControl(DlgStatic, 0xFFFF, "列数(&C):"_sj, 8, 28, 36, 8),
                DialogControl(DlgEdit, IDC_COLS_EDIT, CString(), 46, 26, 34, 12,
                              ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP),
                DialogControl(DlgUpDown, IDC_COLS_SPIN, CString(), 80, 26, 10, 12,
                              UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS),
                DialogControl(DlgPushButton, IDOK, "OK", 96, 8, 48, 14, BS_DEFPUSHBUTTON),
                DialogControl(DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 96, 26, 48, 14),
            },
            "ＭＳ Ｐゴシック"_sj, 9);
    });
}

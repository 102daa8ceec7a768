#include "setup/CInputDialog.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "estimate/CMorvelEMView.h"
#include "parts/CMorvelPMDoc.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNCREATE(CInputDialog, CPropertyPage)

BEGIN_MESSAGE_MAP(CInputDialog, CPropertyPage)
ON_EN_CHANGE(IDC_ROWS_IN_PAGE, OnChanged)
ON_EN_CHANGE(IDC_ESTIMATE_MAX_ROWS, OnChanged)
ON_EN_CHANGE(IDC_PARTS_MAX_ROWS, OnChanged)
ON_EN_CHANGE(IDC_TAX_RATE, OnChanged)
ON_BN_CLICKED(IDC_MOVE_RIGHT, OnChanged)
ON_BN_CLICKED(IDC_MOVE_STAY, OnChanged)
ON_BN_CLICKED(IDC_MOVE_DOWN, OnChanged)
ON_BN_CLICKED(IDC_BACKUP_ON, OnChanged)
ON_BN_CLICKED(IDC_BACKUP_OFF, OnChanged)
ON_BN_CLICKED(IDC_TAX_UP, OnChanged)
ON_BN_CLICKED(IDC_TAX_DOWN, OnChanged)
ON_BN_CLICKED(IDC_TAX_HALF, OnChanged)
ON_BN_CLICKED(IDC_TAX_FORM, OnChanged)
END_MESSAGE_MAP()

namespace {

CMorvelApp& App()
{
    return *static_cast<CMorvelApp*>(AfxGetApp());
}

// The radio group of the move setting lists its buttons in template order: stay, right,
// down, which are the values 0, 1, 2.

} // namespace

CInputDialog::CInputDialog() : CPropertyPage(IDD_INPUT_PAGE)
{
    CMorvelApp& app = App();
    // The values the grids use, read as they read them: a missing key shows the grids'
    // own default, never a number that nothing uses.
    m_nRowsInPage = CMorvelSettings::ReadRowsPerPage();
    m_nEstimateMaxRows = CMorvelEMView::ReadRowLimitSetting();
    m_nPartsMaxRows = CMorvelPMDoc::ReadRowLimitSetting();
    m_nTax = app.m_nTax;
    m_nDirection = app.m_nDirection;
    m_nBackup = app.m_nBackupFile;
    m_nRoundMode = app.m_nRoundMode;
    m_nRoundOff = app.m_nRoundOff;
}

void CInputDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_ROWS_IN_PAGE, m_nRowsInPage);
    DDV_MinMaxInt(pDX, m_nRowsInPage, 1, 1000);
    DDX_Text(pDX, IDC_ESTIMATE_MAX_ROWS, m_nEstimateMaxRows);
    DDV_MinMaxInt(pDX, m_nEstimateMaxRows, 100, 10000);
    DDX_Text(pDX, IDC_PARTS_MAX_ROWS, m_nPartsMaxRows);
    DDV_MinMaxInt(pDX, m_nPartsMaxRows, 100, 10000);
    DDX_Text(pDX, IDC_TAX_RATE, m_nTax);
    DDV_MinMaxInt(pDX, m_nTax, 1, 100);
    DDX_Radio(pDX, IDC_MOVE_STAY, m_nDirection);
    DDX_Radio(pDX, IDC_BACKUP_ON, m_nBackup);
    DDX_Radio(pDX, IDC_TAX_UP, m_nRoundMode);
}

BOOL CInputDialog::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (m_nEstimateView) {
        for (int nID : {IDC_ROWS_IN_PAGE, IDC_ESTIMATE_MAX_ROWS, IDC_PARTS_MAX_ROWS})
            GetDlgItem(nID)->EnableWindow(FALSE);
    }
    SetModified(FALSE);
    return TRUE;
}

void CInputDialog::OnChanged()
{
    SetModified(TRUE);
}

BOOL CInputDialog::OnApply()
{
    // The ranges were checked when the page was left (OnKillActive) or the sheet confirmed.
    CMorvelApp& app = App();
    const BOOL bWritten =
        app.WriteProfileInt("Input Setting", "Rows in a page", m_nRowsInPage) &&
        app.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", m_nEstimateMaxRows) &&
        app.WriteProfileInt("Input Setting", "Parts Maxmum Rows", m_nPartsMaxRows);
    app.m_nTax = m_nTax;
    app.m_nDirection = m_nDirection;
    app.m_nRoundOff = m_nRoundOff;
    app.m_nBackupFile = m_nBackup;
    app.m_nRoundMode = m_nRoundMode;
    app.WriteInputSettings();
    if (!bWritten) {
        // The values are the application's now; only the file is behind.
        AfxMessageBox("設定ﾌｧｲﾙに書き込めません。"_sj, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return CPropertyPage::OnApply();
}

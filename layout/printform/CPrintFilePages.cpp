#include "layout/printform/CPrintFilePages.h"

#include "app/CMorvelSettings.h"
#include "platform/base/Path.h"
#include "resources/PrintFormIds.h"

#include <vector>

IMPLEMENT_DYNAMIC(CPrintFilePage, CPropertyPage)
IMPLEMENT_DYNCREATE(CMyEMPrintFilePage, CPrintFilePage)
IMPLEMENT_DYNCREATE(CMyIMPrintFilePage, CPrintFilePage)
IMPLEMENT_DYNCREATE(CMyPMPrintFilePage, CPrintFilePage)
IMPLEMENT_DYNAMIC(CMyEMPrintFileSheet, CPropertySheet)
IMPLEMENT_DYNAMIC(CMyPMPrintFileSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CMyEMPrintFileSheet, CPropertySheet)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMyPMPrintFileSheet, CPropertySheet)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------
// Pages
// ---------------------------------------------------------------------------------------
CPrintFilePage::CPrintFilePage(UINT nIDTemplate, const char* lpszDefaultName, const char* lpszFolderKey,
                               const char* lpszPattern, const CString& strColumnHeader)
    : CPropertyPage(nIDTemplate), m_strFileName(lpszDefaultName), m_lpszFolderKey(lpszFolderKey),
      m_lpszPattern(lpszPattern), m_strColumnHeader(strColumnHeader)
{
}

BOOL CPrintFilePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_strFileName.MakeUpper();
    m_list.SubclassDlgItem(IDC_PRINT_FILE_LIST, this);
    m_list.InsertColumn(0, "No.", LVCFMT_LEFT, 40);
    m_list.InsertColumn(1, m_strColumnHeader, LVCFMT_LEFT, 150);

    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const CString strFolder = pSettings ? pSettings->GetPathSetting(m_lpszFolderKey) : CString();
    SetCurrentDirectory(strFolder);
    int nSelect = -1;
    int nRow = 0;
    for (const CFindFileEntry& entry : FindFiles(strFolder + m_lpszPattern)) {
        if (entry.isDirectory)
            continue;
        CString strNumber;
        strNumber.Format("%d", nRow + 1);
        m_list.InsertItem(nRow, strNumber);
        m_list.SetItemText(nRow, 1, entry.name);
        CString strUpper = entry.name;
        strUpper.MakeUpper();
        if (nSelect < 0 && strUpper == m_strFileName)
            nSelect = nRow;
        ++nRow;
    }
    // A preselected name that is not listed starts on the first file, so that OK always
    // returns the file shown selected.
    if (nSelect < 0 && nRow > 0)
        nSelect = 0;
    if (nSelect >= 0) {
        m_list.SetItemState(nSelect, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.EnsureVisible(nSelect, FALSE);
    }
    CMorvelSettings::SetWorkFolderAsCurrent(pSettings);
    return TRUE;
}

void CPrintFilePage::OnOK()
{
    const int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    m_strFileName = nRow >= 0 ? m_list.GetItemText(nRow, 1) : CString();
    CPropertyPage::OnOK();
}

CMyEMPrintFilePage::CMyEMPrintFilePage()
    : CPrintFilePage(IDD_EM_PRINT_FILE_PAGE, "MEISAI.MMK", "Estimation Form", "*.MMK", "見積形式ﾌｧｲﾙ"_sj)
{
}

CMyIMPrintFilePage::CMyIMPrintFilePage()
    : CPrintFilePage(IDD_IM_PRINT_FILE_PAGE, "JYOUHOU.MJK", "Information Form", "*.MJK", "情報形式ﾌｧｲﾙ"_sj)
{
}

CMyPMPrintFilePage::CMyPMPrintFilePage()
    : CPrintFilePage(IDD_PM_PRINT_FILE_PAGE, "BUZAI.MBK", "Parts Form", "*.MBK", "部材形式ﾌｧｲﾙ"_sj)
{
}

// ---------------------------------------------------------------------------------------
// Sheets
// ---------------------------------------------------------------------------------------
void ShiftPrintFileSheetButtons(CPropertySheet& sheet)
{
    CWnd* pOK = sheet.GetDlgItem(IDOK);
    CWnd* pCancel = sheet.GetDlgItem(IDCANCEL);
    CWnd* pApply = sheet.GetDlgItem(ID_APPLY_NOW);
    CWnd* pHelp = sheet.GetDlgItem(IDHELP);
    if (!pOK || !pCancel || !pApply || !pHelp)
        return;
    auto rectOf = [&sheet](CWnd* pButton) {
        CRect r;
        pButton->GetWindowRect(&r);
        sheet.ScreenToClient(&r);
        return r;
    };
    const CRect rcCancel = rectOf(pCancel), rcApply = rectOf(pApply), rcHelp = rectOf(pHelp);
    pOK->MoveWindow(&rcCancel, TRUE);
    pCancel->MoveWindow(&rcApply, TRUE);
    pApply->MoveWindow(&rcHelp, TRUE);
    pHelp->ShowWindow(SW_HIDE);
    pHelp->EnableWindow(FALSE);
}

CMyEMPrintFileSheet::CMyEMPrintFileSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_estimationPage);
    AddPage(&m_informationPage);
}

CMyEMPrintFileSheet::CMyEMPrintFileSheet(LPCTSTR pszCaption, const CString& strEstimationForm,
                                         const CString& strInformationForm, CWnd* pParentWnd,
                                         UINT iSelectPage)
    : CMyEMPrintFileSheet(pszCaption, pParentWnd, iSelectPage)
{
    m_estimationPage.m_strFileName = strEstimationForm;
    m_informationPage.m_strFileName = strInformationForm;
}

BOOL CMyEMPrintFileSheet::OnInitDialog()
{
    ShiftPrintFileSheetButtons(*this);
    return CPropertySheet::OnInitDialog();
}

BOOL CMyEMPrintFileSheet::OnHelpInfo(HELPINFO* pHelpInfo)
{
    (void)pHelpInfo;
    return FALSE;
}

CMyPMPrintFileSheet::CMyPMPrintFileSheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddPage(&m_partsPage);
}

CMyPMPrintFileSheet::CMyPMPrintFileSheet(LPCTSTR pszCaption, const CString& strPartsForm, CWnd* pParentWnd,
                                         UINT iSelectPage)
    : CMyPMPrintFileSheet(pszCaption, pParentWnd, iSelectPage)
{
    m_partsPage.m_strFileName = strPartsForm;
}

BOOL CMyPMPrintFileSheet::OnInitDialog()
{
    ShiftPrintFileSheetButtons(*this);
    return CPropertySheet::OnInitDialog();
}

BOOL CMyPMPrintFileSheet::OnHelpInfo(HELPINFO* pHelpInfo)
{
    (void)pHelpInfo;
    return FALSE;
}

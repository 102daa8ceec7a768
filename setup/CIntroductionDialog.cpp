#include "setup/CIntroductionDialog.h"

#include "platform/base/CString.h"
#include "resources/SetupIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CIntroductionDialog, CCBPropertySheet)

BEGIN_MESSAGE_MAP(CIntroductionDialog, CCBPropertySheet)
ON_MESSAGE(WM_HELP, OnHelpRequest)
END_MESSAGE_MAP()

void CIntroductionDialog::AddAllPages()
{
    AddPage(&m_unitsPage);
    AddPage(&m_subjectPage);
    AddPage(&m_divisionPage);
    AddPage(&m_estimationPage);
    AddPage(&m_partsPage);
    AddPage(&m_informationPage);
}

CIntroductionDialog::CIntroductionDialog(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(nIDCaption, pParentWnd, iSelectPage)
{
    AddAllPages();
    m_estimationPage.m_nShown = m_partsPage.m_nShown = m_informationPage.m_nShown = 0;
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    AddAllPages();
    m_estimationPage.m_nShown = m_partsPage.m_nShown = m_informationPage.m_nShown = 0;
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPageKey, CWnd* pParentWnd,
                                         UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    const CString key = lpszPageKey ? lpszPageKey : "";
    if (key == "Unit") {
        m_unitsPage.m_nSinglePage = 1;
        AddPage(&m_unitsPage);
    } else if (key == "SubjectLarge" || key == "SubjectMiddle" || key == "SubjectSmall") {
        m_subjectPage.m_nSinglePage = 1;
        m_subjectPage.m_nLevel = key == "SubjectLarge" ? 0 : key == "SubjectMiddle" ? 1 : 2;
        AddPage(&m_subjectPage);
    } else if (key == "Division") {
        m_divisionPage.m_nSinglePage = 1;
        AddPage(&m_divisionPage);
    } else if (key == "Estimation") {
        m_estimationPage.m_nSinglePage = 1;
        m_estimationPage.m_nShown = 0;
        AddPage(&m_estimationPage);
    } else if (key == "Part") {
        m_partsPage.m_nSinglePage = 1;
        m_partsPage.m_nShown = 0;
        AddPage(&m_partsPage);
    } else if (key == "Information") {
        m_informationPage.m_nSinglePage = 1;
        m_informationPage.m_nShown = 0;
        AddPage(&m_informationPage);
    }
}

void CIntroductionDialog::SetImportMode()
{
    m_nSetup = 0;
    m_unitsPage.m_nSetup = m_subjectPage.m_nSetup = m_divisionPage.m_nSetup = 0;
    m_estimationPage.m_nSetup = m_partsPage.m_nSetup = m_informationPage.m_nSetup = 0;
}

void CIntroductionDialog::SetImportMode(LPCTSTR lpszEstimationName, const CEstimationFormFile& estimation,
                                        LPCTSTR lpszInformationName, const CInformationFormFile& information)
{
    SetImportMode();
    m_estimationPage.m_strFormName = lpszEstimationName ? lpszEstimationName : "";
    m_estimationPage.m_formCopy = estimation;
    m_informationPage.m_strFormName = lpszInformationName ? lpszInformationName : "";
    m_informationPage.m_formCopy = information;
}

void CIntroductionDialog::SetImportMode(LPCTSTR lpszPartsName, const CPartFormFile& parts)
{
    SetImportMode();
    m_partsPage.m_strFormName = lpszPartsName ? lpszPartsName : "";
    m_partsPage.m_formCopy = parts;
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, int, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    SetImportMode();
    AddAllPages();
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszEstimationName,
                                         const CEstimationFormFile& estimation, LPCTSTR lpszInformationName,
                                         const CInformationFormFile& information, CWnd* pParentWnd,
                                         UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    SetImportMode(lpszEstimationName, estimation, lpszInformationName, information);
    AddPage(&m_unitsPage);
    AddPage(&m_subjectPage);
    AddPage(&m_divisionPage);
    AddPage(&m_estimationPage);
    AddPage(&m_informationPage);
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszEstimationName,
                                         const CEstimationFormFile& estimation, LPCTSTR lpszInformationName,
                                         const CInformationFormFile& information, int, CWnd* pParentWnd,
                                         UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    SetImportMode(lpszEstimationName, estimation, lpszInformationName, information);
    AddPage(&m_estimationPage);
    AddPage(&m_informationPage);
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPartsName,
                                         const CPartFormFile& parts, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    SetImportMode(lpszPartsName, parts);
    AddPage(&m_unitsPage);
    AddPage(&m_partsPage);
}

CIntroductionDialog::CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPartsName,
                                         const CPartFormFile& parts, int, CWnd* pParentWnd, UINT iSelectPage)
    : CCBPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    SetImportMode(lpszPartsName, parts);
    AddPage(&m_partsPage);
}

void CIntroductionDialog::SaveModifiedForms()
{
    if (m_estimationPage.m_nShown && m_estimationPage.m_nSetup) {
        if (m_estimationPage.IsModified())
            m_estimationPage.SaveFormFileAs();
        m_estimationPage.m_nShown = 0;
    }
    if (m_partsPage.m_nShown && m_partsPage.m_nSetup) {
        if (m_partsPage.IsModified())
            m_partsPage.SaveFormFile();
        m_partsPage.m_nShown = 0;
    }
    if (m_informationPage.m_nShown && m_informationPage.m_nSetup) {
        if (m_informationPage.IsModified())
            m_informationPage.SaveAs();
        m_informationPage.m_nShown = 0;
    }
}

BOOL CIntroductionDialog::OnInitDialog()
{
    CRect rcApply;
    CRect rcHelp;
    GetDlgItem(ID_APPLY_NOW)->GetWindowRect(&rcApply);
    GetDlgItem(IDHELP)->GetWindowRect(&rcHelp);
    ScreenToClient(&rcApply);
    ScreenToClient(&rcHelp);
    GetDlgItem(IDOK)->MoveWindow(&rcApply);
    GetDlgItem(IDCANCEL)->MoveWindow(&rcHelp);
    for (int nID : {static_cast<int>(ID_APPLY_NOW), IDHELP}) {
        GetDlgItem(nID)->ShowWindow(SW_HIDE);
        GetDlgItem(nID)->EnableWindow(FALSE);
    }
    if (!m_nSetup) {
        GetDlgItem(IDOK)->ShowWindow(SW_HIDE);
        GetDlgItem(IDOK)->EnableWindow(FALSE);
        SetDlgItemText(IDCANCEL, "OK");
        // Enter presses the one button left.
        SetDefID(IDCANCEL);
    }
    const BOOL bResult = CCBPropertySheet::OnInitDialog();
    if (!m_nSetup) {
        // The sheet shows copies of the document's forms and the masters: it says so in
        // the button row, from the sheet's left margin to the button.
        CRect rcClient;
        GetClientRect(&rcClient);
        const int nMargin = std::max(0, static_cast<int>(rcClient.right - rcHelp.right));
        const CRect rcNote(rcClient.left + nMargin, rcHelp.top, rcApply.left - nMargin, rcHelp.bottom);
        if (m_wndViewOnly.Create("参照のみです。ここでは変更できません。"_sj,
                                 WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, rcNote, this,
                                 IDC_VIEW_ONLY_NOTE))
            m_wndViewOnly.SetFont(GetFont());
    }
    return bResult;
}

LRESULT CIntroductionDialog::OnHelpRequest(WPARAM, LPARAM)
{
    return 0;
}

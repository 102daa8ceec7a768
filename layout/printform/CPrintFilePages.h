// The form-selection sheets of the print layouts and their pages. Each page lists the form
// files of one folder ("No." and the file name) and gives back the chosen name; the estimate
// sheet holds the estimation-form and information-form pages, the parts sheet the parts-form
// page. The sheets return only file names; the layout documents read the files.
//
// A page the user never opens is never initialised: its m_strFileName keeps the name it was
// given (not upper-cased). An opened page returns the name of its selected row as the folder
// lists it, or an empty name when no row is selected.
#pragma once

#include "app/CListCtrlEx.h"
#include "platform/ui/dialogs/CPropertyPage.h"
#include "platform/ui/dialogs/CPropertySheet.h"

// What the three pages share: the list, the folder and the pattern of their files.
class CPrintFilePage : public CPropertyPage {
    DECLARE_DYNAMIC(CPrintFilePage)
public:
    CString m_strFileName;
    CListCtrlEx m_list;

protected:
    CPrintFilePage(UINT nIDTemplate, const char* lpszDefaultName, const char* lpszFolderKey,
                   const char* lpszPattern, const CString& strColumnHeader);
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const char* m_lpszFolderKey;
    const char* m_lpszPattern;
    CString m_strColumnHeader;
};

// "見積形式選択": estimation-form files (".MMK") of the "Estimation Form" folder.
class CMyEMPrintFilePage : public CPrintFilePage {
    DECLARE_DYNCREATE(CMyEMPrintFilePage)
public:
    CMyEMPrintFilePage();
};

// "情報形式選択": information-form files (".MJK") of the "Information Form" folder.
class CMyIMPrintFilePage : public CPrintFilePage {
    DECLARE_DYNCREATE(CMyIMPrintFilePage)
public:
    CMyIMPrintFilePage();
};

// "部材形式選択": parts-form files (".MBK") of the "Parts Form" folder.
class CMyPMPrintFilePage : public CPrintFilePage {
    DECLARE_DYNCREATE(CMyPMPrintFilePage)
public:
    CMyPMPrintFilePage();
};

// The sheets place their visible buttons one place further right than the framework does
// (OK where Cancel stands, Cancel where Apply stands, Apply where Help stands) and hide the
// Help button; F1 does nothing.
class CMyEMPrintFileSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CMyEMPrintFileSheet)
public:
    CMyEMPrintFileSheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CMyEMPrintFileSheet(LPCTSTR pszCaption, const CString& strEstimationForm,
                        const CString& strInformationForm, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    CMyEMPrintFilePage m_estimationPage;
    CMyIMPrintFilePage m_informationPage;

protected:
    BOOL OnInitDialog() override;
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    DECLARE_MESSAGE_MAP()
};

class CMyPMPrintFileSheet : public CPropertySheet {
    DECLARE_DYNAMIC(CMyPMPrintFileSheet)
public:
    CMyPMPrintFileSheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CMyPMPrintFileSheet(LPCTSTR pszCaption, const CString& strPartsForm, CWnd* pParentWnd = nullptr,
                        UINT iSelectPage = 0);

    CMyPMPrintFilePage m_partsPage;

protected:
    BOOL OnInitDialog() override;
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    DECLARE_MESSAGE_MAP()
};

// Moves the standard buttons of a form-selection sheet one place to the right and hides
// Help.
void ShiftPrintFileSheetButtons(CPropertySheet& sheet);

// CIntroductionDialog: the setup sheet "導入処理": the unit, subject and classification
// masters and the estimation, parts and information forms. In setup mode the pages edit
// the application's masters and forms; opened alone on one page at start-up, that page
// creates its missing file; in import mode the form pages show copies of a document's
// forms, a line beside the single button labelled "OK" says that nothing can be changed,
// and a key typed into a page sounds.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "platform/ui/controls/CStatic.h"
#include "setup/CCBPropertySheet.h"
#include "setup/CDivisionDialog.h"
#include "setup/CEstimationDialog.h"
#include "setup/CInformationDialog.h"
#include "setup/CPartsDialog.h"
#include "setup/CSubjectDialog.h"
#include "setup/CUnitsDialog.h"

class CIntroductionDialog : public CCBPropertySheet {
    DECLARE_DYNAMIC(CIntroductionDialog)
public:
    // Setup mode, all six pages.
    CIntroductionDialog(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CIntroductionDialog(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // Setup mode, only the page the key names ("Unit", "SubjectLarge", "SubjectMiddle",
    // "SubjectSmall", "Division", "Estimation", "Part", "Information").
    CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPageKey, CWnd* pParentWnd = nullptr,
                        UINT iSelectPage = 0);
    // Import mode, all six pages.
    CIntroductionDialog(LPCTSTR pszCaption, int nImport, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // Import mode with an estimate's forms: units, subjects, classifications, estimation,
    // information.
    CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszEstimationName, const CEstimationFormFile& estimation,
                        LPCTSTR lpszInformationName, const CInformationFormFile& information,
                        CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // The same forms, only the estimation and information pages (an estimate print layout).
    CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszEstimationName, const CEstimationFormFile& estimation,
                        LPCTSTR lpszInformationName, const CInformationFormFile& information, int nFormsOnly,
                        CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // Import mode with a parts list's form: units and parts.
    CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPartsName, const CPartFormFile& parts,
                        CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    // The same form, only the parts page (a parts print layout).
    CIntroductionDialog(LPCTSTR pszCaption, LPCTSTR lpszPartsName, const CPartFormFile& parts, int nFormOnly,
                        CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // For each form page shown in setup mode: offers to save a changed grid under a name,
    // then forgets that it was shown (so the first form page's OK serves all three).
    void SaveModifiedForms();

    int m_nSetup = 1;
    CUnitsDialog m_unitsPage;
    CSubjectDialog m_subjectPage;
    CDivisionDialog m_divisionPage;
    CEstimationDialog m_estimationPage;
    CPartsDialog m_partsPage;
    CInformationDialog m_informationPage;
    // Import mode: "参照のみ" and why, where the sheet's other buttons stood.
    CStatic m_wndViewOnly;

protected:
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnHelpRequest(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void AddAllPages();
    void SetImportMode();
    // Import mode over copies of a document's forms, which the form pages then edit.
    void SetImportMode(LPCTSTR lpszEstimationName, const CEstimationFormFile& estimation,
                       LPCTSTR lpszInformationName, const CInformationFormFile& information);
    void SetImportMode(LPCTSTR lpszPartsName, const CPartFormFile& parts);
};

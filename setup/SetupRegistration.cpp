#include "setup/SetupRegistration.h"

#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "parts/CMorvelPMDoc.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "resources/SetupIds.h"
#include "setup/CEnvironmentDialog.h"
#include "setup/CIntroductionDialog.h"

namespace {

const char* const kIntroductionCaption = "導入処理";
const char* const kEnvironmentCaption = "環境設定";

INT_PTR RunSheet(CCBPropertySheet& sheet, const char* lpszFaceName, int nPointSize)
{
    if (lpszFaceName && nPointSize > 0)
        return sheet.DoModal(lpszFaceName, static_cast<WORD>(nPointSize));
    return sheet.DoModal();
}

// Every open estimate window lays itself out again with the row fonts and colours the
// environment sheet has just stored.
void RelayoutEstimateViews()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !pApp->m_pDocManager)
        return;
    POSITION posTemplate = pApp->m_pDocManager->GetFirstDocTemplatePosition();
    while (posTemplate) {
        CDocTemplate* pTemplate = pApp->m_pDocManager->GetNextDocTemplate(posTemplate);
        POSITION posDoc = pTemplate ? pTemplate->GetFirstDocPosition() : nullptr;
        while (posDoc) {
            CDocument* pDoc = pTemplate->GetNextDoc(posDoc);
            POSITION posView = pDoc ? pDoc->GetFirstViewPosition() : nullptr;
            while (posView) {
                if (auto* pView = dynamic_cast<CMorvelEMView*>(pDoc->GetNextView(posView))) {
                    pView->RecalcLayout();
                    pView->Invalidate();
                }
            }
        }
    }
}

} // namespace

void RegisterSetup()
{
    RegisterSetupResources();
    CShellServices& services = CShellServices::Get();
    services.runIntroductionPage = [](const char* lpszPageKey) {
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), lpszPageKey, nullptr, 0);
        return static_cast<int>(sheet.DoModal());
    };
    services.runEnvironmentPathPage = [] {
        CEnvironmentDialog sheet(CString::FromUtf8(kEnvironmentCaption), 1, nullptr, 0);
        return static_cast<int>(sheet.DoModal());
    };
    services.runIntroductionSheet = [](CWnd* pParent, const char* lpszFaceName, int nPointSize) {
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), pParent, 0);
        return static_cast<int>(RunSheet(sheet, lpszFaceName, nPointSize));
    };
    services.runEnvironmentSheet = [](CWnd* pParent, const char* lpszFaceName, int nPointSize) {
        CEnvironmentDialog sheet(CString::FromUtf8(kEnvironmentCaption), pParent, 0);
        const int nResult = static_cast<int>(RunSheet(sheet, lpszFaceName, nPointSize));
        if (nResult == IDOK)
            RelayoutEstimateViews();
        return nResult;
    };
    services.runViewEnvironmentSheet = [](CWnd* pParent, int nDocKind) {
        const CString caption = CString::FromUtf8(kEnvironmentCaption);
        if (nDocKind == 1) {
            CEnvironmentDialog sheet(1, caption, pParent, 0);
            return static_cast<int>(sheet.DoModal());
        }
        CEnvironmentDialog sheet(nDocKind, 1, caption, pParent, 0);
        return static_cast<int>(sheet.DoModal());
    };
    services.runEstimateImportSheet = [](CDocument* pDoc, CWnd* pParent) {
        auto* pEstimate = dynamic_cast<CMorvelEMDoc*>(pDoc);
        if (!pEstimate)
            return;
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), pEstimate->m_strEstimationFormName,
                                  pEstimate->m_EstimationForm, pEstimate->m_strInformationFormName,
                                  pEstimate->m_InformationForm, pParent, 0);
        sheet.DoModal();
    };
    // The sheets below take copies of the document's forms; nothing goes back to the
    // document (a page may still store its copy under a new file name).
    services.runPartsImportSheet = [](CDocument* pDoc, CWnd* pParent) {
        auto* pParts = dynamic_cast<CMorvelPMDoc*>(pDoc);
        if (!pParts)
            return;
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), pParts->m_strFormName,
                                  pParts->m_form, pParent, 0);
        sheet.DoModal();
    };
    services.runEstimateFormImportSheet = [](CDocument* pDoc, CWnd* pParent) {
        auto* pLayout = dynamic_cast<CPrintEMDoc*>(pDoc);
        if (!pLayout)
            return;
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), pLayout->m_strCurEstimationForm,
                                  pLayout->m_curEstimationForm, pLayout->m_strCurInformationForm,
                                  pLayout->m_curInformationForm, 1, pParent, 0);
        sheet.DoModal();
    };
    services.runPartsFormImportSheet = [](CDocument* pDoc, CWnd* pParent) {
        auto* pLayout = dynamic_cast<CPrintPMDoc*>(pDoc);
        if (!pLayout)
            return;
        CIntroductionDialog sheet(CString::FromUtf8(kIntroductionCaption), pLayout->m_strCurPartsForm,
                                  pLayout->m_curPartsForm, 1, pParent, 0);
        sheet.DoModal();
    };
}

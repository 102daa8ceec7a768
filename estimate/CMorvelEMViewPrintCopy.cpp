// The rows an estimate's print job reads (without zero rows where the setting asks), the
// choice of print layouts and the printer set-up.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "app/CWaitDialog.h"
#include "app/SharedRecords.h"
#include "engine/estimate/CPrintRowSource.h"
#include "engine/estimate/CUnnecessaryRows.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "resources/ResourceIds.h"

namespace {

CString ReadSetting(const char* lpszSection, const char* lpszKey)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    return pSettings != nullptr ? pSettings->GetProfileString(lpszSection, lpszKey, "") : CString();
}

} // namespace

// ---------------------------------------------------------------------------------------
// The rows a print job reads
// ---------------------------------------------------------------------------------------
std::unique_ptr<CPrintRowSource> CMorvelEMView::CopyRowsForPrint() const
{
    const bool bSummary = IsSummaryPageShown();
    auto pRows = std::make_unique<CPrintRowSource>(bSummary ? SummaryRows() : EditRows(), GetPrintRowCount(),
                                                   GetRowLimit(), GetColumnLimit());
    if (ReadSetting("Print Setting", "NonPrint ZeroSuryo Mitumori") != "1")
        return pRows;
    if (bSummary) {
        // The summary page prints whole, from a copy that the estimate's changes leave alone.
        pRows->CopyLeavingOut([](int) { return false; });
        return pRows;
    }
    // The rows the unnecessary-row search finds with "数量＆見積金額=0". Each is judged by
    // its own cells alone, so the estimate's rows answer as the copy's would.
    const CUnnecessaryRows unnecessary = GetUnnecessaryRows();
    pRows->CopyLeavingOut([&](int nRow) {
        return unnecessary.IsCandidate(nRow) &&
               unnecessary.IsUnnecessaryRow(CUnnecessaryRows::conditionBothZero, nRow);
    });
    return pRows;
}

// ---------------------------------------------------------------------------------------
// Choosing the print layouts, printer set-up
// ---------------------------------------------------------------------------------------
void CMorvelEMView::OnUpdatePrintFormSelect(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CShellServices::Get().chooseEstimatePrintForms && GetDocument() != nullptr);
}

void CMorvelEMView::OnPrintFormSelect()
{
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !CShellServices::Get().chooseEstimatePrintForms)
        return;
    if (m_hWnd != nullptr) {
        m_pPrintFormWait = std::make_shared<CWaitDialog>("印刷形式の読み込み中..."_sj, this);
        m_pPrintFormWait->Create(IDD_WAIT, this);
    }
    CObArray chosen;
    const INT_PTR nResult = CShellServices::ChooseEstimatePrintForms(this, chosen);
    // The dialog takes the wait dialog down once its lists are filled; should it fail to
    // open at all, it goes here.
    m_pPrintFormWait.reset();
    if (nResult != IDOK) {
        for (INT_PTR i = 0; i < chosen.GetSize(); ++i)
            delete chosen.GetAt(i);
        return;
    }
    for (INT_PTR i = 0; i < pDoc->m_aPrintForms.GetSize(); ++i)
        delete pDoc->m_aPrintForms.GetAt(i);
    pDoc->m_aPrintForms.RemoveAll();
    for (INT_PTR i = 0; i < chosen.GetSize(); ++i) {
        const auto* pChosen = static_cast<const CPrintFormEntry*>(chosen.GetAt(i));
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = pChosen->m_strTitle;
        pEntry->m_strFolder = pChosen->m_strFolder;
        pDoc->m_aPrintForms.Add(pEntry);
        delete pChosen;
    }
    RecalcFromRow(recalcSaveOrPrint, 0);
    pDoc->SetModifiedFlag(TRUE);
}

void CMorvelEMView::OnFilePrintSetup()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->OnFilePrintSetup();
    if (CMorvelEMDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr);
}

// The estimate view's print copy without zero rows, the choice of print layouts and the
// printer set-up.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "app/CWaitDialog.h"
#include "app/SharedRecords.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/RowKinds.h"
#include "grid/ModelessMessages.h"
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
// The print copy
// ---------------------------------------------------------------------------------------
void CMorvelEMView::CopyRowsForPrint()
{
    EditRows().MakePrintCopy();
    SummaryRows().MakePrintCopy();
    m_printCopy.bMade = true;
    m_printCopy.nUsedRows = GetUsedRows();
    m_printCopy.nCopyUsedRows = GetUsedRows();
    m_printCopy.nCurrentCol = GetCurrentCol();
    m_printCopy.nCurrentRow = GetCurrentRow();
    m_printCopy.nSelectMode = GetSelectMode();
    m_printCopy.rcSelection = GetSelection();
}

void CMorvelEMView::SetPrintCopyActive(bool bActive)
{
    EditRows().ServePrintCopy(bActive);
    SummaryRows().ServePrintCopy(bActive);
}

void CMorvelEMView::RestoreRowsAfterPrint()
{
    EditRows().DeletePrintCopy();
    SummaryRows().DeletePrintCopy();
    if (!m_printCopy.bMade)
        return;
    m_printCopy.bMade = false;
    SetUsedRows(m_printCopy.nUsedRows);
    SetCurrentCell(m_printCopy.nCurrentCol, m_printCopy.nCurrentRow);
    SetSelection(m_printCopy.nSelectMode, m_printCopy.rcSelection);
}

void CMorvelEMView::RemoveZeroRowsFromPrintCopy()
{
    // The rows the unnecessary-row search finds with "数量＆見積金額=0".
    const bool bManual = IsManualUnnecessaryRowScan();
    const int nUnitCol = FindUnitColumn();
    for (int nRow = GetUsedRows() - 1; nRow >= 0; --nRow) {
        if (!IsUnnecessaryRowCandidate(nRow, bManual, nUnitCol) ||
            !IsUnnecessaryRow(UNROW_COND_BOTH_ZERO, nRow))
            continue;
        RemovePrintCopyRow(nRow);
        // The copy keeps the row limit's length: an empty row takes the place at the end.
        EditRows().Add(nullptr);
        SetUsedRows(GetUsedRows() - 1);
    }
}

void CMorvelEMView::BeginPrintSkipZeroRows()
{
    if (ReadSetting("Print Setting", "NonPrint ZeroSuryo Mitumori") != "1")
        return;
    if (IsPrintCopyActive())
        return;
    CopyRowsForPrint();
    SetPrintCopyActive(true);
    RemoveZeroRowsFromPrintCopy();
    m_printCopy.nCopyUsedRows = GetUsedRows();
}

void CMorvelEMView::EndPrintSkipZeroRows(BOOL bRepaint)
{
    if (!IsPrintCopyActive())
        return;
    SetPrintCopyActive(false);
    RestoreRowsAfterPrint();
    if (bRepaint && m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void CMorvelEMView::SuspendPrintCopy()
{
    if (!m_printCopy.bMade || !IsPrintCopyActive())
        return;
    m_printCopy.nCopyUsedRows = GetUsedRows();
    SetPrintCopyActive(false);
    SetUsedRows(m_printCopy.nUsedRows);
}

void CMorvelEMView::ResumePrintCopy()
{
    if (!m_printCopy.bMade || IsPrintCopyActive())
        return;
    SetPrintCopyActive(true);
    SetUsedRows(m_printCopy.nCopyUsedRows);
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

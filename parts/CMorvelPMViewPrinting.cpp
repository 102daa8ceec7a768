// The parts list's printing: the choice of its parts print layouts, printer set-up, the
// print and preview commands and the framework's print steps, through the same print job
// as the estimate's (each layout opened once for the job, an open one used as it stands).
#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "app/SharedRecords.h"
#include "grid/ModelessMessages.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/FieldTokens.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintFormFileDialog.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/ResourceIds.h"

// What the layouts' parts tokens read of the list being printed, and the job.
struct CPartsPrintState : public CPartsFieldData {
    explicit CPartsPrintState(const CMorvelPMView& view) : m_view(view) {}
    int GetLayoutPage() const override { return m_nLayoutPage; }
    int GetPrintPages() const override { return m_nPrintPages; }
    CString GetCellText(int nRow, int nCol) const override { return m_view.GetCellText(nRow, nCol); }
    const CPartFormFile& GetPartsForm() const override
    {
        static const CPartFormFile s_empty;
        const CMorvelPMDoc* pDoc = m_view.GetDocument();
        return pDoc != nullptr ? pDoc->m_form : s_empty;
    }

    const CMorvelPMView& m_view;
    int m_nPrintPages = 0;
    int m_nLayoutPage = 1;
    // From the page count to the end of printing.
    std::unique_ptr<CLayoutPrintJob> m_pJob;
    std::unique_ptr<CWaitDialog> m_pWait;
};

namespace {

CPartsPrintState& StateOf(std::shared_ptr<CPartsPrintState>& pState, const CMorvelPMView& view)
{
    if (!pState)
        pState = std::make_shared<CPartsPrintState>(view);
    return *pState;
}

// The printing commands of the parts view, in the message-map form.
const AFX_MSGMAP_ENTRY* PrintingEntries()
{
    using ThisClass = CMorvelPMView;
    static const AFX_MSGMAP_ENTRY s_entries[] = {
        ON_COMMAND(ID_PRINT_FORM_SELECT, OnSelectPrintForm)
            ON_UPDATE_COMMAND_UI(ID_PRINT_FORM_SELECT, OnUpdateSelectPrintForm)
                ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup) ON_COMMAND(ID_FILE_PRINT, OnPartsFilePrint)
                    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateFilePrint)
                        ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPartsFilePrintPreview) ON_UPDATE_COMMAND_UI(
                            ID_FILE_PRINT_PREVIEW, OnUpdateFilePrintPreview){0, 0, 0, 0, nullptr, nullptr}};
    return s_entries;
}

} // namespace

BOOL CMorvelPMView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == CN_COMMAND || nCode == CN_UPDATE_COMMAND_UI) {
        const AFX_MSGMAP_ENTRY* pEntry =
            CCmdTarget::FindMessageEntry(PrintingEntries(), WM_COMMAND, static_cast<UINT>(nCode), nID);
        if (pEntry != nullptr)
            return CallCommandEntry(*pEntry, WM_COMMAND, nID, static_cast<UINT>(nCode), pExtra, pHandlerInfo);
    }
    return CMorvelView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMorvelPMView::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The layout dialog has filled its lists: the wait dialog goes.
    if (message == WM_MODELESS_CLOSED && wParam == MODELESS_PRINT_FORM_LOADED) {
        if (m_pPrintState)
            m_pPrintState->m_pWait.reset();
        *pResult = 0;
        return TRUE;
    }
    return CMorvelView::OnWndMsg(message, wParam, lParam, pResult);
}

int CMorvelPMView::GetPrintPages() const
{
    return m_pPrintState ? m_pPrintState->m_nPrintPages : 0;
}

int CMorvelPMView::GetLayoutPage() const
{
    return m_pPrintState ? m_pPrintState->m_nLayoutPage : 1;
}

bool CMorvelPMView::IsPrintFormWaitShown() const
{
    return m_pPrintState && m_pPrintState->m_pWait != nullptr;
}

// ---------------------------------------------------------------------------------------
// Choosing the layouts, printer set-up
// ---------------------------------------------------------------------------------------
void CMorvelPMView::OnUpdateSelectPrintForm(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetDocument() != nullptr);
}

void CMorvelPMView::OnSelectPrintForm()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CPartsPrintState& state = StateOf(m_pPrintState, *this);
    if (m_hWnd != nullptr) {
        state.m_pWait = std::make_unique<CWaitDialog>("印刷形式の読み込み中..."_sj, this);
        state.m_pWait->Create(IDD_WAIT, this);
    }
    CPrintFormFileDialog dlg(CPrintFormFileDialog::modeParts, this);
    dlg.m_strPartsFormName = pDoc->m_strFormName;
    dlg.m_partsForm = pDoc->m_form;
    dlg.StartFrom(pDoc->m_aPrintForms, pDoc->GetPathName(), ".MBD");
    const INT_PTR nResult = dlg.DoModal();
    state.m_pWait.reset(); // should the dialog not have opened at all
    if (nResult != IDOK)
        return;
    pDoc->ClearPrintForms();
    for (INT_PTR i = 0; i < dlg.m_aResult.GetSize(); ++i) {
        const auto* pChosen = static_cast<const CPrintFormEntry*>(dlg.m_aResult.GetAt(i));
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = pChosen->m_strTitle;
        pEntry->m_strFolder = pChosen->m_strFolder;
        pDoc->m_aPrintForms.Add(pEntry);
    }
    pDoc->SetModifiedFlag(TRUE);
}

void CMorvelPMView::OnFilePrintSetup()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->OnFilePrintSetup();
    if (CMorvelPMDoc* pDoc = GetDocument())
        pDoc->UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------
// Print and preview
// ---------------------------------------------------------------------------------------
void CMorvelPMView::OnUpdateFilePrint(CCmdUI* pCmdUI)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    pCmdUI->Enable(pDoc != nullptr && pDoc->m_aPrintForms.GetSize() > 0);
}

void CMorvelPMView::OnUpdateFilePrintPreview(CCmdUI* pCmdUI)
{
    OnUpdateFilePrint(pCmdUI);
}

void CMorvelPMView::OnPartsFilePrint()
{
    CDrawingShared::s_bPrintPreview = FALSE;
    OnFilePrint();
}

void CMorvelPMView::OnPartsFilePrintPreview()
{
    CDrawingShared::s_bPrintPreview = TRUE;
    OnFilePrintPreview();
}

BOOL CMorvelPMView::OnPreparePrinting(CPrintInfo* pInfo)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return FALSE;
    CPartsPrintState& state = StateOf(m_pPrintState, *this);
    state.m_pJob = std::make_unique<CLayoutPrintJob>(CLayoutPrintJob::partsLayouts);
    state.m_nPrintPages = state.m_pJob->CountPages(pDoc->m_aPrintForms, GetUsedRows(), pDoc->GetPathName());
    if (pInfo != nullptr) {
        pInfo->SetMaxPage(static_cast<UINT>(state.m_nPrintPages > 0 ? state.m_nPrintPages : 1));
        pInfo->m_nNumPreviewPages = 2;
    }
    if (state.m_nPrintPages == 0) {
        state.m_pJob.reset();
        return FALSE;
    }
    return DoPreparePrinting(pInfo);
}

void CMorvelPMView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC != nullptr && pDC->IsPrinting())
        CLayoutPrintJob::MapPrintingDC(pDC);
    CMorvelView::OnPrepareDC(pDC, pInfo);
}

void CMorvelPMView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!m_pPrintState || !m_pPrintState->m_pJob || m_pPrintState->m_nPrintPages == 0 || pInfo == nullptr)
        return;
    CPartsPrintState& state = *m_pPrintState;
    CDrawingShared::s_bPrintPreview = pInfo->m_bPreview;
    state.m_pJob->DrawPage(pDC, static_cast<int>(pInfo->m_nCurPage), nullptr, &state,
                           [&](int nLayoutPage) { state.m_nLayoutPage = nLayoutPage; });
}

void CMorvelPMView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (m_pPrintState)
        m_pPrintState->m_pJob.reset();
    CDrawingShared::s_bPrintPreview = FALSE;
    CMorvelView::OnEndPrinting(pDC, pInfo);
}

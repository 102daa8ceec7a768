// The estimate view's side of printing: the print and preview commands and the framework's
// print steps, handed to the print road that prints through the chosen print layouts
// (registered in CShellServices by the estimate tools).
#include "app/CInformationFormTexts.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/CPrintRowSource.h"
#include "estimate/engine/InformationValues.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CPrintInfo.h"

#include <algorithm>

int CMorvelEMView::GetPrintRowCount() const
{
    return IsSummaryPageShown() ? static_cast<int>(GetSummaryRows().GetSize()) : GetUsedRows();
}

CPrintRowSource CMorvelEMView::GetPrintRows() const
{
    return CPrintRowSource(IsSummaryPageShown() ? SummaryRows() : EditRows(), GetRowLimit(),
                           GetColumnLimit());
}

void CMorvelEMView::OnUpdateEstimatePrint(CCmdUI* pCmdUI)
{
    const CShellServices& services = CShellServices::Get();
    CMorvelEMDoc* pDoc = GetDocument();
    pCmdUI->Enable(services.prepareEstimatePrinting && services.printEstimatePage && pDoc != nullptr &&
                   pDoc->m_aPrintForms.GetSize() > 0);
}

void CMorvelEMView::ComputeInformationAmounts()
{
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    // The amounts and the computed items as the information sheet makes them, so that the
    // paper shows what the sheet showed (a value typed as "10,000" is ten thousand).
    static_assert(MAX_INFORMATION <= InformationValues::MAX_ITEMS);
    const CInformationFormTexts form(pDoc->m_InformationForm);
    const int nItems = std::min(form.GetItemCount(), static_cast<int>(MAX_INFORMATION));
    InformationValues::Values values;
    for (int i = 0; i < nItems; ++i)
        values[static_cast<size_t>(i)] = GetInformation(i);
    InformationValues::WorkOutForOutput(form, values, Engine());
    for (int i = 0; i < nItems; ++i) {
        if (values[static_cast<size_t>(i)] != GetInformation(i))
            SetInformation(i, values[static_cast<size_t>(i)]);
    }
}

void CMorvelEMView::OnEstimatePrint()
{
    // The figures first, then the information amounts from them: worked out after the
    // amounts, the print's recalculation would put a new tax on the paper beside the old
    // one in the amounts.
    WorkOutFiguresForOutput(outputPaper);
    BeginPrintSkipZeroRows();
    OnFilePrint();
    // Page counting drops the copy; a job that never got that far drops it here.
    EndPrintSkipZeroRows(TRUE);
}

void CMorvelEMView::OnEstimatePrintPreview()
{
    WorkOutFiguresForOutput(outputPaper);
    BeginPrintSkipZeroRows();
    OnFilePrintPreview();
    EndPrintSkipZeroRows(TRUE);
}

BOOL CMorvelEMView::OnPreparePrinting(CPrintInfo* pInfo)
{
    const BOOL bPages = CShellServices::PrepareEstimatePrinting(this, pInfo);
    // The pages were counted on the copy; the print dialog and everything after it start
    // from the real rows.
    EndPrintSkipZeroRows(TRUE);
    if (!bPages)
        return FALSE;
    return DoPreparePrinting(pInfo);
}

void CMorvelEMView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    // Nothing changes the rows behind the print dialog; worked out again all the same, the
    // job prints the figures and amounts of the rows it prints.
    WorkOutFiguresForOutput(outputPaper);
    CMorvelView::OnBeginPrinting(pDC, pInfo);
    // One copy for the whole job, made from the recalculated rows and served only while a
    // page draws, so that the grid shows its own rows in between.
    BeginPrintSkipZeroRows();
    SuspendPrintCopy();
}

void CMorvelEMView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    ResumePrintCopy();
    CShellServices::PrintEstimatePage(this, pDC, pInfo);
    SuspendPrintCopy();
}

void CMorvelEMView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CShellServices::EndEstimatePrinting(this);
    EndPrintSkipZeroRows(FALSE);
    RestoreRowsAfterPrint();
    CMorvelView::OnEndPrinting(pDC, pInfo);
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

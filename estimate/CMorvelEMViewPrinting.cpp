// The estimate view's side of printing: the print and preview commands and the framework's
// print steps, handed to the print road that prints through the chosen print layouts
// (registered in CShellServices by the estimate tools).
#include "app/CInformationFormTexts.h"
#include "app/CShellServices.h"
#include "engine/estimate/InformationValues.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CPrintInfo.h"

#include <algorithm>

int CMorvelEMView::GetPrintRowCount() const
{
    return IsSummaryPageShown() ? static_cast<int>(GetSummaryRows().GetSize()) : GetUsedRows();
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
        values[static_cast<size_t>(i)] = GetModel().GetInformation(i);
    InformationValues::WorkOutForOutput(form, values, Engine());
    for (int i = 0; i < nItems; ++i) {
        if (values[static_cast<size_t>(i)] != GetModel().GetInformation(i))
            GetModel().SetInformation(i, values[static_cast<size_t>(i)]);
    }
}

void CMorvelEMView::OnEstimatePrint()
{
    // The figures first, then the information amounts from them: worked out after the
    // amounts, the print's recalculation would put a new tax on the paper beside the old
    // one in the amounts.
    WorkOutFiguresForOutput(outputPaper);
    OnFilePrint();
}

void CMorvelEMView::OnEstimatePrintPreview()
{
    WorkOutFiguresForOutput(outputPaper);
    OnFilePrintPreview();
}

BOOL CMorvelEMView::OnPreparePrinting(CPrintInfo* pInfo)
{
    // The job counts its pages on the rows it is given to print (CopyRowsForPrint).
    if (!CShellServices::PrepareEstimatePrinting(this, pInfo))
        return FALSE;
    return DoPreparePrinting(pInfo);
}

void CMorvelEMView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    // Nothing changes the rows behind the print dialog; worked out again all the same, the
    // job prints the figures and amounts of the rows it prints, taken again from the
    // recalculated rows.
    WorkOutFiguresForOutput(outputPaper);
    CShellServices::BeginEstimatePrinting(this);
    CMorvelView::OnBeginPrinting(pDC, pInfo);
}

void CMorvelEMView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    CShellServices::PrintEstimatePage(this, pDC, pInfo);
}

void CMorvelEMView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CShellServices::EndEstimatePrinting(this);
    CMorvelView::OnEndPrinting(pDC, pInfo);
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

// The estimate view's side of printing: the print and preview commands and the framework's
// print steps, handed to the print road that prints through the chosen print layouts
// (registered in CShellServices by the estimate tools).
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CPrintInfo.h"

CString CMorvelEMView::GetInformationValue(int nItem) const
{
    if (nItem < 0 || nItem >= MAX_INFORMATION)
        return CString();
    return m_strInformation[nItem];
}

int CMorvelEMView::GetPrintRowCount() const
{
    return m_nSummaryPage == 1 ? static_cast<int>(m_SummaryRows.GetSize()) : m_nUsedRows;
}

void CMorvelEMView::OnUpdateEstimatePrint(CCmdUI* pCmdUI)
{
    const CShellServices& services = CShellServices::Get();
    CMorvelEMDoc* pDoc = GetDocument();
    pCmdUI->Enable(services.prepareEstimatePrinting && services.printEstimatePage && pDoc != nullptr &&
                   pDoc->m_aPrintForms.GetSize() > 0);
}

void CMorvelEMView::OnEstimatePrint()
{
    OnFilePrint();
}

void CMorvelEMView::OnEstimatePrintPreview()
{
    OnFilePrintPreview();
}

BOOL CMorvelEMView::OnPreparePrinting(CPrintInfo* pInfo)
{
    const CShellServices& services = CShellServices::Get();
    if (!services.prepareEstimatePrinting)
        return FALSE;
    if (!services.prepareEstimatePrinting(this, pInfo))
        return FALSE;
    return DoPreparePrinting(pInfo);
}

void CMorvelEMView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    CMorvelView::OnBeginPrinting(pDC, pInfo);
}

void CMorvelEMView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    const CShellServices& services = CShellServices::Get();
    if (services.printEstimatePage)
        services.printEstimatePage(this, pDC, pInfo);
}

void CMorvelEMView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    const CShellServices& services = CShellServices::Get();
    if (services.endEstimatePrinting)
        services.endEstimatePrinting(this);
    CMorvelView::OnEndPrinting(pDC, pInfo);
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

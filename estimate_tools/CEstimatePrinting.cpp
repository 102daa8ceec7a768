#include "estimate_tools/CEstimatePrinting.h"

#include "app/CShellServices.h"
#include "engine/estimate/CPrintRowSource.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "platform/ui/frames/CPrintInfo.h"

#include <map>
#include <memory>

namespace {

// The print job of each estimate view that is printing or previewing: from the page count
// to the end of printing. Process-wide because the framework's print loop calls the view's
// steps one after the other with nothing of ours in between.
struct CEstimatePrintJobs {
    struct CJob {
        explicit CJob(const CMorvelEMView& view) : layouts(CLayoutPrintJob::estimateLayouts), source(view) {}
        CLayoutPrintJob layouts;
        CEstimatePrintSource source;
    };
    static std::map<const CView*, std::unique_ptr<CJob>>& Jobs()
    {
        static std::map<const CView*, std::unique_ptr<CJob>> s_jobs;
        return s_jobs;
    }
};

BOOL PrepareEstimatePrinting(CView* pGrid, CPrintInfo* pInfo)
{
    auto* pView = dynamic_cast<CMorvelEMView*>(pGrid);
    if (pView == nullptr || pView->GetDocument() == nullptr)
        return FALSE;
    auto pJob = std::make_unique<CEstimatePrintJobs::CJob>(*pView);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    int nPages =
        pJob->layouts.CountPages(pDoc->m_aPrintForms, pJob->source.GetRowCount(), pDoc->GetPathName());
    pJob->source.m_nPrintPages = nPages;
    if (pInfo != nullptr) {
        pInfo->SetMaxPage(static_cast<UINT>(nPages > 0 ? nPages : 1));
        pInfo->m_nNumPreviewPages = 2;
        CDrawingShared::s_bPrintPreview = pInfo->m_bPreview;
    }
    if (nPages == 0) {
        CEstimatePrintJobs::Jobs().erase(pGrid);
        return FALSE;
    }
    CEstimatePrintJobs::Jobs()[pGrid] = std::move(pJob);
    return TRUE;
}

void BeginEstimatePrinting(CView* pGrid)
{
    auto it = CEstimatePrintJobs::Jobs().find(pGrid);
    if (it != CEstimatePrintJobs::Jobs().end())
        it->second->source.TakeRows();
}

void PrintEstimatePage(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)
{
    auto it = CEstimatePrintJobs::Jobs().find(pGrid);
    if (it == CEstimatePrintJobs::Jobs().end() || pInfo == nullptr || it->second->layouts.GetPageCount() == 0)
        return;
    CEstimatePrintJobs::CJob& job = *it->second;
    CDrawingShared::s_bPrintPreview = pInfo->m_bPreview;
    job.layouts.DrawPage(pDC, static_cast<int>(pInfo->m_nCurPage), &job.source, nullptr,
                         [&](int nLayoutPage) { job.source.m_nLayoutPage = nLayoutPage; });
}

void PrepareEstimatePrintDC(CView* /*pGrid*/, CDC* pDC, CPrintInfo* /*pInfo*/)
{
    CLayoutPrintJob::MapPrintingDC(pDC);
}

void EndEstimatePrinting(CView* pGrid)
{
    CEstimatePrintJobs::Jobs().erase(pGrid);
    CDrawingShared::s_bPrintPreview = FALSE;
}

} // namespace

CEstimatePrintSource::CEstimatePrintSource(const CMorvelEMView& view)
    : m_view(view), m_pRows(view.CopyRowsForPrint())
{
}
CEstimatePrintSource::~CEstimatePrintSource() = default;

void CEstimatePrintSource::TakeRows()
{
    m_pRows = m_view.CopyRowsForPrint();
}
int CEstimatePrintSource::GetRowCount() const
{
    return m_pRows->GetRowCount();
}

// The rows come from the job's own rows: the copy without zero rows where the job has one,
// whatever is done to the estimate meanwhile.
CString CEstimatePrintSource::GetCellText(int nRow, int nCol) const
{
    return m_pRows->GetCellText(nRow, nCol);
}
ERowKind CEstimatePrintSource::GetRowKind(int nRow) const
{
    return m_pRows->GetRowKind(nRow);
}
CString CEstimatePrintSource::GetSubjectNoText(int nRow, int nCol) const
{
    return m_pRows->GetSubjectNumberText(m_view.GetModel().GetNumbering(), nRow, nCol);
}
int CEstimatePrintSource::GetCellIndent(int nRow, int nCol) const
{
    return m_pRows->GetCellIndent(nRow, nCol);
}
CString CEstimatePrintSource::GetInformationValue(int nItem) const
{
    return m_view.GetModel().GetInformation(nItem);
}
const CEstimationFormFile& CEstimatePrintSource::GetEstimationForm() const
{
    return m_view.GetEstimationForm();
}

const CInformationFormFile& CEstimatePrintSource::GetInformationForm() const
{
    static const CInformationFormFile s_empty;
    return m_view.GetDocument() != nullptr ? m_view.GetDocument()->m_InformationForm : s_empty;
}

void RegisterEstimatePrinting()
{
    CShellServices& services = CShellServices::Get();
    services.prepareEstimatePrinting = PrepareEstimatePrinting;
    services.beginEstimatePrinting = BeginEstimatePrinting;
    services.printEstimatePage = PrintEstimatePage;
    services.endEstimatePrinting = EndEstimatePrinting;
    services.prepareEstimatePrintDC = PrepareEstimatePrintDC;
}

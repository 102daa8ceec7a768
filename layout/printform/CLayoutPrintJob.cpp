#include "layout/printform/CLayoutPrintJob.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelDocManager.h"
#include "app/SharedRecords.h"
#include "layout/drawing/CDrawObj.h"
#include "layout/printform/CDrawObjList.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/gdi/CDC.h"

#include <algorithm>
#include <climits>

CLayoutPrintJob::CLayoutPrintJob(Kind kind) : m_kind(kind) {}

CLayoutPrintJob::~CLayoutPrintJob()
{
    Clear();
}

void CLayoutPrintJob::Clear()
{
    for (CLayout& l : m_layouts)
        if (l.bOwned)
            delete l.pDoc;
    m_layouts.clear();
    m_nPageCount = 0;
}

CString CLayoutPrintJob::EntryFolder(const CPrintFormEntry& entry, const char* lpszDocumentPath)
{
    return PrintFormFolder(entry.m_strFolder, lpszDocumentPath);
}

CString CLayoutPrintJob::LayoutPath(const CPrintFormEntry& entry) const
{
    return EntryFolder(entry, m_strDocumentPath) + entry.m_strTitle +
           (m_kind == estimateLayouts ? ".MMP" : ".MBP");
}

std::vector<CLayoutPrintJob::COpenLayout> CLayoutPrintJob::OpenLayouts(Kind kind)
{
    std::vector<COpenLayout> open;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_pDocManager == nullptr)
        return open;
    const char* ext = kind == estimateLayouts ? ".MMP" : ".MBP";
    POSITION tpos = pApp->m_pDocManager->GetFirstDocTemplatePosition();
    while (tpos != nullptr) {
        CDocTemplate* pTemplate = pApp->m_pDocManager->GetNextDocTemplate(tpos);
        POSITION dpos = pTemplate->GetFirstDocPosition();
        while (dpos != nullptr) {
            CDocument* pDoc = pTemplate->GetNextDoc(dpos);
            auto* pLayout = kind == estimateLayouts
                                ? static_cast<CPrintDoc*>(dynamic_cast<CPrintEMDoc*>(pDoc))
                                : static_cast<CPrintDoc*>(dynamic_cast<CPrintPMDoc*>(pDoc));
            if (pLayout == nullptr || pLayout->GetPathName().IsEmpty())
                continue;
            CString name = pLayout->GetPathName();
            if (name.Find('.') < 0)
                name += ext;
            name.MakeUpper();
            open.push_back({pLayout, name});
        }
    }
    return open;
}

CPrintDoc* CLayoutPrintJob::FindOpenLayout(const CString& path) const
{
    CString wanted = path;
    wanted.MakeUpper();
    CPrintDoc* pFound = nullptr;
    for (const COpenLayout& open : OpenLayouts(m_kind))
        if (open.strPath == wanted)
            pFound = open.pDoc; // the last match wins
    return pFound;
}

std::unique_ptr<CPrintDoc> CLayoutPrintJob::OpenLayout(const CString& path) const
{
    if (!FileExists(path))
        return nullptr;
    std::unique_ptr<CPrintDoc> pDoc;
    if (m_kind == estimateLayouts)
        pDoc = std::make_unique<CPrintEMDoc>();
    else
        pDoc = std::make_unique<CPrintPMDoc>();
    // A layout that cannot be read whole is not printed half-read.
    if (!pDoc->OnOpenDocument(path))
        return nullptr;
    return pDoc;
}

int CLayoutPrintJob::PagesOf(const CPrintDoc& layout, int nRows)
{
    if (layout.GetFieldRefCount() == 0)
        return 1;
    int nSmallest = INT_MAX;
    for (INT_PTR i = 0; i < layout.GetFieldRefCount(); ++i)
        nSmallest = std::min(nSmallest, layout.GetFieldRef(i)->m_nValue);
    nSmallest = std::max(nSmallest, 1);
    return nRows <= 0 ? 0 : (nRows + nSmallest - 1) / nSmallest;
}

int CLayoutPrintJob::CountPages(CObArray& entries, int nRows, const char* lpszDocumentPath)
{
    Clear();
    m_strDocumentPath = lpszDocumentPath != nullptr ? lpszDocumentPath : "";
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        auto* pEntry = static_cast<CPrintFormEntry*>(entries.GetAt(i));
        CString path = LayoutPath(*pEntry);
        CLayout layout;
        layout.pDoc = FindOpenLayout(path);
        if (layout.pDoc == nullptr) {
            // A missing file is said here; a damaged one the layout document names itself.
            std::unique_ptr<CPrintDoc> pOpened;
            if (!FileExists(path))
                AfxMessageBox("印刷形式ﾌｧｲﾙが存在しません。"_sj, MB_OK);
            else
                pOpened = OpenLayout(path);
            layout.pDoc = pOpened.release();
            layout.bOwned = layout.pDoc != nullptr;
        }
        int nPages = 0;
        if (layout.pDoc != nullptr) {
            // Tokens typed since the last save count as well.
            if (auto* pEM = dynamic_cast<CPrintEMDoc*>(layout.pDoc))
                pEM->RebuildFieldRefs();
            else if (auto* pPM = dynamic_cast<CPrintPMDoc*>(layout.pDoc))
                pPM->RebuildFieldRefs();
            nPages = PagesOf(*layout.pDoc, nRows);
        }
        layout.nFirst = m_nPageCount + 1;
        layout.nLast = layout.nFirst + nPages - 1;
        pEntry->m_nFirstPage = layout.nFirst;
        pEntry->m_nLastPage = layout.nLast;
        m_nPageCount += nPages;
        m_layouts.push_back(layout);
    }
    return m_nPageCount;
}

void CLayoutPrintJob::MapPrintingDC(CDC* pDC)
{
    // The paper and margins of the printer the page goes to, read as a new layout reads
    // them: a page is placed alike on every printer and in the preview, whatever paper the
    // layouts had when they were opened (before the print dialog changed the printer, say).
    CSize paper(0, 0);
    CRect margins(0, 0, 0, 0);
    CPrintDoc::ComputePaperSize(*pDC, paper);
    CMorvelApp::GetPrinterMargins(*pDC, margins);
    const int w = paper.cx - (margins.left + margins.right);
    const int h = paper.cy - (margins.top + margins.bottom);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetViewportExt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
    pDC->SetWindowExt(100, -100);
    pDC->SetWindowOrg(-(w / 2), h / 2);
}

BOOL CLayoutPrintJob::DrawPage(CDC* pDC, int nPage, const CEstimateFieldData* pEstimate,
                               const CPartsFieldData* pParts,
                               const std::function<void(int nLayoutPage)>& onLayoutPage)
{
    CRect page;
    pDC->GetClipBox(&page);
    BOOL bDrawn = FALSE;
    for (const CLayout& l : m_layouts) {
        if (l.pDoc == nullptr || nPage < l.nFirst || nPage > l.nLast)
            continue;
        if (onLayoutPage)
            onLayoutPage(nPage - l.nFirst + 1);
        CDrawObjList* pObjects = l.pDoc->GetObjectList();
        POSITION pos = pObjects->GetHeadPosition();
        while (pos != nullptr) {
            CDrawObj* pObj = pObjects->GetNext(pos);
            pObj->m_bVisible = pObj->Intersects(page);
            if (pEstimate != nullptr)
                pObj->DrawEM(pDC, pEstimate);
            else
                pObj->DrawPM(pDC, pParts);
        }
        bDrawn = TRUE;
    }
    return bDrawn;
}

#include "platform/ui/frames/CView.h"

#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWaitCursor.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/frames/CPrinterSettings_p.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <QPrinter>

#include <algorithm>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_WM_SETFOCUS()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CView::CView()
{
    AfxInstallDocManagerHooks();
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::IsSelected(const CObject* pDocItem) const
{
    (void)pDocItem;
    return FALSE;
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams)) {
        if (pContext->m_pCurrentDoc)
            pContext->m_pCurrentDoc->AddView(this);
    }
    return 0;
}

void CView::OnDestroy()
{
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click makes the view the frame's active view.
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame && pFrame->GetActiveView() != this)
        pFrame->SetActiveView(this);
    return nResult;
}

void CView::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    if (m_bActivating)
        return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() != this) {
        m_bActivating = TRUE;
        pFrame->SetActiveView(this);
        m_bActivating = FALSE;
    }
}

LRESULT CView::OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    OnInitialUpdate();
    return 0;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CScrollBar* CView::GetScrollBarCtrl(int nBar) const
{
    // A pane of a splitter with shared scroll bars scrolls with the splitter's bars.
    if (auto* pSplitter = dynamic_cast<CSplitterWnd*>(GetParent())) {
        int row = 0;
        int col = 0;
        if (pSplitter->IsChildPane(const_cast<CView*>(this), &row, &col))
            return pSplitter->GetSharedScrollBar(nBar, row, col);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Document and activation.
// ---------------------------------------------------------------------------------------
void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    (void)pDeactiveView;
    if (bActivate && pActivateView == this && m_hWnd) {
        // The active view of the active window takes the keyboard.
        CWnd* pTop = GetTopLevelParent();
        CWnd* pActive = CWnd::GetActiveWindow();
        if (!pActive || pActive == pTop)
            SetFocus();
    }
}

void CView::OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd)
{
    (void)nState;
    (void)pFrameWnd;
}

BOOL CView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    (void)nScrollCode;
    (void)nPos;
    (void)bDoScroll;
    return FALSE;
}

BOOL CView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    (void)sizeScroll;
    (void)bDoScroll;
    return FALSE;
}

// ---------------------------------------------------------------------------------------
// Printing.
// ---------------------------------------------------------------------------------------
void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    // A document that does not know its length prints its first page only.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF)
        pInfo->m_bContinuePrinting = (pInfo->m_nCurPage == 1);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    (void)pInfo;
}

void CView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pInfo;
    OnDraw(pDC);
}

void CView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    (void)pInfo;
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    if (!pInfo || !pInfo->m_pPD)
        return FALSE;
    CPrintDialog& dlg = *pInfo->m_pPD;
    dlg.m_pd.nMinPage = static_cast<WORD>(pInfo->GetMinPage());
    dlg.m_pd.nMaxPage = static_cast<WORD>(pInfo->GetMaxPage());
    if (pInfo->GetMaxPage() == 0xFFFF || pInfo->GetMaxPage() < pInfo->GetMinPage())
        dlg.m_pd.Flags |= PD_NOPAGENUMS;
    else
        dlg.m_pd.Flags &= ~PD_NOPAGENUMS;
    dlg.m_pd.nFromPage = dlg.m_pd.nMinPage;
    dlg.m_pd.nToPage = dlg.m_pd.nMaxPage;
    // No dialog for a preview, nor for a direct print: the application's printer as it is.
    if (pInfo->m_bPreview)
        return dlg.GetDefaults();
    const CDocument* pDoc = GetDocument();
    dlg.SetOutputFileName(
        CPrinterSettings::Instance().GetOutputFileNameFor(pDoc ? pDoc->GetTitle() : CString()));
    if (pInfo->m_bDirect)
        return dlg.GetDefaults() && dlg.ConfirmOutputFile();
    dlg.m_pParentWnd = this;
    return dlg.DoModal() == IDOK;
}

void CView::OnFilePrint()
{
    const MSG* pMsg = GetCurrentMessage();
    const UINT nCommand =
        pMsg && pMsg->message == WM_COMMAND ? LOWORD(static_cast<DWORD>(pMsg->wParam)) : ID_FILE_PRINT;
    RunPrintJob(nCommand);
}

void CView::RunPrintJob(UINT nCommand)
{
    CPrintInfo printInfo;
    printInfo.m_bDirect = nCommand == ID_FILE_PRINT_DIRECT;
    if (!OnPreparePrinting(&printInfo))
        return;

    // The printer the dialog chose, with the file the PDF printer writes.
    const CPrintDialog& dlg = *printInfo.m_pPD;
    const CPrinterSettings& settings = dlg.m_settings;
    const CString docTitle = GetDocument() ? GetDocument()->GetTitle() : CString();
    CString outputFile = dlg.GetOutputFileName();
    if (outputFile.IsEmpty())
        outputFile = settings.GetOutputFileNameFor(docTitle);
    QPrinter printer(QPrinter::HighResolution);
    // A printer the system no longer knows (its scheduler stopped, its queue removed) takes
    // no job, and the job goes nowhere else.
    const BOOL bConfigured = AfxConfigureQPrinter(settings, printer, outputFile);
    printer.setDocName(QString::fromStdString(docTitle.ToUtf8()));

    CDC dcPrint;
    if (!bConfigured || !dcPrint.AttachDevice(&printer, TRUE)) {
        AfxMessageBox("印刷を開始できませんでした。"_sj, MB_ICONEXCLAMATION);
        return;
    }
    // The PDF printer reports the page exactly as its settings describe it.
    if (settings.IsPdfPrinter())
        dcPrint.SetDeviceCaps(settings.GetDeviceCaps());
    // A queue that does not accept jobs now would drop this one.
    if (dcPrint.StartDoc(docTitle) < 0) {
        dcPrint.AbortDoc();
        AfxMessageBox("印刷を開始できませんでした。"_sj, MB_ICONEXCLAMATION);
        return;
    }
    CWaitCursor wait;
    OnBeginPrinting(&dcPrint, &printInfo);

    const UINT nStartPage = std::max(printInfo.GetFromPage(), printInfo.GetMinPage());
    const UINT nEndPage = std::min(printInfo.GetToPage(), printInfo.GetMaxPage());
    const int nCopies = std::max(1, dlg.GetCopies());
    BOOL bError = FALSE;
    for (int copy = 0; copy < nCopies && !bError; ++copy) {
        printInfo.m_bContinuePrinting = TRUE;
        for (printInfo.m_nCurPage = nStartPage; printInfo.m_nCurPage <= nEndPage; ++printInfo.m_nCurPage) {
            OnPrepareDC(&dcPrint, &printInfo);
            if (!printInfo.m_bContinuePrinting)
                break;
            CRect rectDraw(0, 0, dcPrint.GetDeviceCaps(HORZRES), dcPrint.GetDeviceCaps(VERTRES));
            dcPrint.DPtoLP(&rectDraw);
            printInfo.m_rectDraw = rectDraw;
            if (dcPrint.StartPage() < 0) {
                bError = TRUE;
                break;
            }
            OnPrint(&dcPrint, &printInfo);
            if (dcPrint.EndPage() < 0) {
                bError = TRUE;
                break;
            }
            if (printInfo.m_nCurPage == 0xFFFF)
                break;
        }
    }
    OnEndPrinting(&dcPrint, &printInfo);
    if (bError) {
        dcPrint.AbortDoc();
        AfxMessageBox("印刷中にエラーが発生しました。"_sj, MB_ICONEXCLAMATION);
    } else if (dcPrint.EndDoc() < 0) {
        // The job never reached the printer's queue.
        AfxMessageBox("印刷中にエラーが発生しました。"_sj, MB_ICONEXCLAMATION);
    }
}

void CView::OnFilePrintPreview()
{
    CPrintInfo printInfo;
    printInfo.m_bPreview = TRUE;
    if (!OnPreparePrinting(&printInfo))
        return;
    CPrintPreview preview(this, &printInfo);
    const BOOL bPrint = preview.Run();
    // The preview's print button prints the same view once the preview has gone.
    if (bPrint && m_hWnd)
        PostMessage(WM_COMMAND, ID_FILE_PRINT, 0);
}

DWORD CView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    (void)pDataObject;
    (void)dwKeyState;
    (void)point;
    return 0; // DROPEFFECT_NONE
}

DWORD CView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    (void)pDataObject;
    (void)dwKeyState;
    (void)point;
    return 0; // DROPEFFECT_NONE
}

void CView::OnDragLeave() {}

BOOL CView::OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point)
{
    (void)pDataObject;
    (void)dropEffect;
    (void)point;
    return FALSE;
}

DWORD CView::OnDragScroll(DWORD dwKeyState, CPoint point)
{
    (void)dwKeyState;
    (void)point;
    return 0; // DROPEFFECT_NONE
}

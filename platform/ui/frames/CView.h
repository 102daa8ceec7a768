// CView: a window inside a frame that shows a document. It paints through OnDraw (on the
// screen, and page by page when printing), hears about document changes through OnUpdate,
// and passes the commands it does not handle on to its document.
//
// Printing: OnFilePrint and OnFilePrintPreview run the print loop over the application's
// printer (see CPrinterSettings): OnPreparePrinting (which normally calls
// DoPreparePrinting for the print dialog) -> OnBeginPrinting -> for each page OnPrepareDC
// and OnPrint -> OnEndPrinting. The preview window drives the same steps on its pages.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

class CDC;
class COleDataObject;
class CDocument;
class CFrameWnd;
class CPrintInfo;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
protected:
    CView();

public:
    // Leaves its document (which may then close itself).
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    virtual BOOL IsSelected(const CObject* pDocItem) const;

    // ---- drawing ------------------------------------------------------------------------
    virtual void OnDraw(CDC* pDC) = 0;

    // A drop target registered on the view hands the drag to these (see COleDropTarget).
    // The defaults accept nothing.
    virtual DWORD OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DWORD OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point);
    virtual DWORD OnDragScroll(DWORD dwKeyState, CPoint point);
    // Sets the context up before drawing or printing a page. With pInfo and an unknown
    // page count (0xFFFF), only the first page is printed.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

    // ---- document and activation --------------------------------------------------------
    // After the view is created and its document is loaded. The default calls OnUpdate.
    virtual void OnInitialUpdate();
    // The document changed; the default repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The view becomes (or stops being) the frame's active view.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    // ---- scrolling shared with splitters ------------------------------------------------
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    // ---- printing -----------------------------------------------------------------------
    // Returns FALSE to cancel the job. Views call DoPreparePrinting from here.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Draws one page; the default calls OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Shows the print dialog (not for a preview or a direct print) and makes the printer's
    // context ready. FALSE when the user cancelled or no printer could be used.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The view first, then its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Views delete themselves when their window goes.
    void PostNcDestroy() override;
    // A pane of a dynamic splitter scrolls with the splitter's shared scroll bars.
    CScrollBar* GetScrollBarCtrl(int nBar) const override;

    // The framework's print commands; views that print map them in their message maps.
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    // A view that gets the keyboard (a click, Tab) becomes its frame's active view.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;

private:
    void RunPrintJob(UINT nCommand);
    BOOL m_bActivating = FALSE;
};

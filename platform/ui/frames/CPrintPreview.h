// CPrintPreview: the print preview window. It shows one or two pages of a view's print
// side by side, drawn by the same steps as printing (OnPrepareDC and OnPrint on a context
// that reports the printer), and lets the user page through them, zoom, print or close.
#pragma once

#include "platform/base/Types.h"

#include <functional>
#include <memory>

class CDC;
class CPrintInfo;
class CView;
struct CPrintPreviewImpl;

class CPrintPreview {
public:
    // pInfo has been through the view's OnPreparePrinting.
    CPrintPreview(CView* pView, CPrintInfo* pInfo);
    ~CPrintPreview();
    CPrintPreview(const CPrintPreview&) = delete;
    CPrintPreview& operator=(const CPrintPreview&) = delete;

    // Runs OnBeginPrinting, shows the pages until the window closes, then OnEndPrinting.
    // TRUE when the user asked to print.
    BOOL Run();

    // ---- what the window's buttons do ---------------------------------------------------
    UINT GetCurrentPage() const; // the first page shown
    int GetNumPages() const;     // pages shown side by side: 1 or 2
    void SetNumPages(int nPages);
    BOOL NextPage();
    BOOL PrevPage();
    // The last page, once known (the view's maximum, or where its pages ended).
    UINT GetLastPage() const;
    int GetZoom() const; // percent of the printed size on a 96 dpi screen
    void ZoomIn();
    void ZoomOut();
    // Ends the preview (with bPrint the print command follows).
    void Close(BOOL bPrint = FALSE);
    // Draws a page again (after the pages changed); FALSE when there is no such page.
    BOOL RenderPage(UINT nPage);

    // Tests look at the preview instead of a person: while set, Run calls the hook with the
    // preview (the first pages drawn) instead of waiting, and ends when the hook returns.
    using TestHook = std::function<void(CPrintPreview& preview)>;
    static TestHook SetTestHook(TestHook hook);

    CPrintPreviewImpl* GetImpl() const { return m_pImpl.get(); }

private:
    std::unique_ptr<CPrintPreviewImpl> m_pImpl;
};

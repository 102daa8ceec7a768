// CPrintInfo: the state of one print job or print preview, handed to every step of the
// view's printing (OnPreparePrinting, OnBeginPrinting, OnPrepareDC, OnPrint,
// OnEndPrinting). Page numbers count from 1.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CPrintDialog;

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    // The page range the document offers. A maximum of 0xFFFF means "not known": the loop
    // then prints page 1 only unless OnPrepareDC keeps m_bContinuePrinting set.
    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    // The range the user chose in the print dialog (the whole document unless narrowed).
    UINT GetFromPage() const;
    UINT GetToPage() const;
    void SetFromPage(UINT nFromPage) { m_nFromPage = nFromPage; }
    void SetToPage(UINT nToPage) { m_nToPage = nToPage; }
    UINT GetOffsetPage() const { return m_nOffsetPage; }

    CPrintDialog* m_pPD;      // the print dialog of this job (owned)
    BOOL m_bDirect;           // print without asking (the direct-print command)
    BOOL m_bPreview;          // the job draws a print preview
    BOOL m_bContinuePrinting; // cleared by OnPrepareDC to end the job early
    UINT m_nCurPage;          // the page being prepared or printed
    UINT m_nNumPreviewPages;  // pages shown side by side in the preview (1 or 2)
    CString m_strPageDesc;    // format of the preview's page caption
    void* m_lpUserData;
    RECT m_rectDraw; // the printable area of the page, in logical units
    UINT m_nOffsetPage;
    UINT m_nJobNumber; // a number for the job once it started, else 0

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    UINT m_nFromPage = 0; // 0: not narrowed
    UINT m_nToPage = 0;
};

// CLayoutPrintJob: one print job or preview of an estimate or a parts list through its
// chosen print layouts. Each layout is opened once for the whole job (or, when it is open
// in the editor, used as it stands there, unsaved edits included), its field references
// rebuilt from its tokens, its pages counted, and then each page drawn by the one layout
// whose page range holds it.
//
// Page count of a layout: one page when it has no field references; otherwise the data's
// rows divided by the smallest rows-per-page value of its references, rounded up (no rows,
// no pages). A smallest value below 1 (a token naming line 0) counts as one row a page,
// never a division by zero. A layout file that is missing is left out with
// "印刷形式ﾌｧｲﾙが存在しません。"; one that cannot be read whole is left out after the layout
// document's own message naming it (never printed half-read). Both once, while counting.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"

#include <functional>
#include <memory>
#include <vector>

class CDC;
class CPrintDoc;
class CEstimateFieldData;
class CPartsFieldData;

class CLayoutPrintJob {
public:
    enum Kind { estimateLayouts, partsLayouts };

    explicit CLayoutPrintJob(Kind kind);
    ~CLayoutPrintJob();
    CLayoutPrintJob(const CLayoutPrintJob&) = delete;
    CLayoutPrintJob& operator=(const CLayoutPrintJob&) = delete;

    // The folder of a chosen layout: the entry's own, or, when it is kept relative to the
    // document that chose it (the sample documents keep "..\FORM\"), that folder taken from
    // the folder of the document's path, so that a work folder copied or moved whole with
    // its layouts still prints. A document not saved yet leaves it as it is.
    static CString EntryFolder(const class CPrintFormEntry& entry, const char* lpszDocumentPath);
    // The layout file of an entry of the job's document: folder + title + ".MMP" or ".MBP".
    CString LayoutPath(const class CPrintFormEntry& entry) const;

    // Opens the layouts of the entries (CPrintFormEntry*, in order) of the document at
    // lpszDocumentPath, counts their pages against nRows data rows and writes each entry's
    // first and last page (an entry without pages gets last = first - 1). Returns the
    // job's page total.
    int CountPages(CObArray& entries, int nRows, const char* lpszDocumentPath);
    int GetPageCount() const { return m_nPageCount; }

    // The pages per layout of a layout's references against nRows rows.
    static int PagesOf(const CPrintDoc& layout, int nRows);

    // Draws page nPage (from 1) of the job: the objects of the layout that holds it, each
    // marked as meeting the page rectangle (the device context's clip box) or not, drawn
    // through the data source. onLayoutPage is told the page's number within its layout
    // before anything draws. FALSE when no layout holds the page.
    BOOL DrawPage(CDC* pDC, int nPage, const CEstimateFieldData* pEstimate, const CPartsFieldData* pParts,
                  const std::function<void(int nLayoutPage)>& onLayoutPage);

    // The layout document used for an entry index (null when it was left out).

    // Maps a printing context as the layouts draw: MM_ANISOTROPIC, one logical unit 0.01
    // inch with y up, (0, 0) the centre of the printable area of the context's paper (its
    // paper less its margins, in whole 0.01 inch as a new layout takes them).
    static void MapPrintingDC(CDC* pDC);

    // The layout documents of a kind that are open in the program, each with its path as
    // printing compares it: upper-cased, the kind's extension added when it has no ".".
    struct COpenLayout {
        CPrintDoc* pDoc;
        CString strPath;
    };
    static std::vector<COpenLayout> OpenLayouts(Kind kind);

private:
    struct CLayout {
        CPrintDoc* pDoc = nullptr;
        bool bOwned = false;
        int nFirst = 0;
        int nLast = -1;
    };
    // The open layout document of a path, or null.
    CPrintDoc* FindOpenLayout(const CString& path) const;
    // A layout read from its file; null when the file is missing or damaged.
    std::unique_ptr<CPrintDoc> OpenLayout(const CString& path) const;
    void Clear();

    Kind m_kind;
    CString m_strDocumentPath;
    std::vector<CLayout> m_layouts;
    int m_nPageCount = 0;
};

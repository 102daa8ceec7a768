// Estimate files (".MMD"), opened as the program opens them: a document with its grid view
// attached (no window), on the offscreen platform. What the estimator relies on:
// - a file that does not open says why, leaves the document and its view as they were and
//   the file on disk untouched;
// - a file that opens saves, opens again and saves again to the same bytes (nothing is
//   lost or changed by a second round);
// - what was read survives the work done on it: the view's set-up, a full recalculation,
//   numbers typed into its rows with the totals following (held against the rows by the
//   builds with checks), the subject numbers, the summary page and a paint.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// A document with its estimate view, as the framework makes them, freed in order.
struct CEstimate {
    CEstimate() : pDoc(new CMorvelEMDoc), pView(new CMorvelEMView)
    {
        pDoc->m_bAutoDelete = FALSE;
        pDoc->AddView(pView);
    }
    ~CEstimate()
    {
        delete pView;
        delete pDoc;
    }
    CEstimate(const CEstimate&) = delete;
    CEstimate& operator=(const CEstimate&) = delete;

    // Everything the document and its view keep of an estimate, as the file would hold it,
    // with the counts the framework adds.
    std::vector<uint8_t> State() const
    {
        std::vector<uint8_t> bytes = FuzzStore([this](CArchive& ar) { pDoc->Serialize(ar); });
        for (int n : {pDoc->m_nLoadedRowCount, pDoc->m_nNewEstimate, pView->GetUsedRows(),
                      pView->GetRowLimit(), pView->GetColumnCount(), pView->GetModel().GetInformationCount()})
            bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&n),
                         reinterpret_cast<const uint8_t*>(&n + 1));
        return bytes;
    }

    CMorvelEMDoc* pDoc;
    CMorvelEMView* pView;
};

// What a save must carry over: every row of the edit page with all its cells, and every
// information value, as the first view holds them and the reopened view reads them.
void CheckSameContent(const CMorvelEMView& a, const CMorvelEMView& b)
{
    FUZZ_CHECK(a.GetUsedRows() == b.GetUsedRows());
    FUZZ_CHECK(a.GetColumnCount() == b.GetColumnCount());
    for (int r = 0; r < a.GetUsedRows(); ++r) {
        const CGridRow* pA = a.GetEditRow(r);
        const CGridRow* pB = b.GetEditRow(r);
        if (pA == nullptr || pB == nullptr) {
            FUZZ_CHECK(pA == pB || (pA == nullptr ? pB->GetKind() == 0 : pA->GetKind() == 0));
            continue;
        }
        FUZZ_CHECK(pA->GetKind() == pB->GetKind());
        FUZZ_CHECK(pA->GetParam1() == pB->GetParam1() && pA->GetParam2() == pB->GetParam2() &&
                   pA->GetParam3() == pB->GetParam3());
        FUZZ_CHECK(pA->GetParamText1() == pB->GetParamText1() && pA->GetParamText2() == pB->GetParamText2());
        for (int c = 0; c < CGridRow::MAX_CELLS; ++c) {
            if (pA->m_strCell[c] != pB->m_strCell[c])
                std::fprintf(stderr, "row %d column %d: \"%s\" became \"%s\"\n", r, c,
                             pA->m_strCell[c].c_str(), pB->m_strCell[c].c_str());
            FUZZ_CHECK(pA->m_strCell[c] == pB->m_strCell[c]);
            FUZZ_CHECK(c >= a.GetColumnCount() || pA->m_nIndent[c] == pB->m_nIndent[c]);
        }
    }
    for (int i = 0; i < CMorvelEMView::MAX_INFORMATION; ++i)
        FUZZ_CHECK(a.GetModel().GetInformation(i) == b.GetModel().GetInformation(i));
}

CProfileFile* g_pProfile = nullptr;
CMorvelSettings* g_pSettings = nullptr;

// Work that a user does on an opened estimate; none of it may fail on what was read.
void WorkOn(CEstimate& e)
{
    CMorvelEMView& view = *e.pView;
    view.RecalcAll();
    // Numbers typed into detail rows down the estimate, each stored, its row worked out and
    // the totals recalculated from it as Enter does: the totals follow through the sums kept
    // per total, which the builds with checks hold against the rows every time.
    int nNumberCol = -1;
    for (int c = 0; c < view.GetColumnCount() && nNumberCol < 0; ++c) {
        if (view.GetEstimationForm().GetItem(c, CEstimationFormFile::colAttribute) == "数値"_sj)
            nNumberCol = c;
    }
    const int nStep = 1 + view.GetUsedRows() / 8;
    for (int r = 0, nEdit = 0; nNumberCol >= 0 && r < view.GetUsedRows(); r += nStep) {
        if (view.GetRowKind(r) != kindDetail)
            continue;
        view.SetCellText(nEdit++ % 2 == 0 ? "12" : "3.5", r, nNumberCol, TRUE);
        view.GetModel().Engine().CalcRow(r, 0);
        view.RecalcTotals(r);
    }
    for (int r = 0; r < view.GetUsedRows() && r < 500; ++r)
        (void)view.GetSubjectNoText(r, view.GetModel().GetNumbering().nColumn);
    view.OnSummaryPageTab();
    view.OnEditPageTab();

    // One paint: both passes into a bitmap of a screen's size.
    CDC dc;
    FUZZ_CHECK(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    FUZZ_CHECK(bitmap.CreateCompatibleBitmap(&dc, 800, 600));
    CBitmap* pOld = dc.SelectObject(&bitmap);
    view.OnDraw(&dc);
    view.OnDraw(&dc);
    dc.SelectObject(pOld);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitToolkit();
    g_pProfile = new CProfileFile(FuzzFolder() + "morvel.ini");
    g_pSettings = new CMorvelSettings(*g_pProfile);
    CMorvelSettings::SetCurrent(g_pSettings);
    g_pSettings->WritePathSetting("Work Field", FuzzFolder());
    // Saving recalculates everything; backups are off.
    g_pSettings->WriteProfileInt("ReCalcSetting", "Level", 3);
    g_pSettings->WriteProfileInt("Input Setting", "Backup File", 1);
    g_pSettings->m_nTax = 8;
    g_pSettings->m_nRoundMode = 3;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string native = FuzzNativeFolder() + "input.mmd";
    FuzzWriteNativeFile(native, data, size);
    const CString path = FuzzFolder() + "input.mmd";

    FuzzMessageBoxes boxes;
    CEstimate first;
    first.pView->SetupFromDocument();
    const std::vector<uint8_t> before = first.State();
    const BOOL bOpened = first.pDoc->OnOpenDocument(path);
    // The file is only read.
    FUZZ_CHECK(FuzzReadNativeFile(native) == std::vector<uint8_t>(data, data + size));
    if (!bOpened) {
        FUZZ_CHECK(!boxes.texts.empty());
        FUZZ_CHECK(first.State() == before);
        return 0;
    }
    first.pView->SetupFromDocument();
    boxes.texts.clear();

    // Open, save, open, save: the two saves are the same bytes.
    const CString pathA = FuzzFolder() + "a.mmd";
    const CString pathB = FuzzFolder() + "b.mmd";
    FUZZ_CHECK(first.pDoc->OnSaveDocument(pathA));
    const std::vector<uint8_t> savedA = FuzzReadNativeFile(FuzzNativeFolder() + "a.mmd");
    {
        CEstimate second;
        FUZZ_CHECK(second.pDoc->OnOpenDocument(pathA));
        second.pView->SetupFromDocument();
        CheckSameContent(*first.pView, *second.pView);
        FUZZ_CHECK(second.pDoc->OnSaveDocument(pathB));
        const std::vector<uint8_t> savedB = FuzzReadNativeFile(FuzzNativeFolder() + "b.mmd");
        FUZZ_CHECK(savedA == savedB);
    }
    FUZZ_CHECK(boxes.texts.empty());

    WorkOn(first);
    return 0;
}

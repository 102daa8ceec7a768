// The drag data of a subject dragged between subject trees ("MORVEL EMTREEVIEW"): bytes from
// another window, possibly of another program. What the user relies on:
// - data the reader refuses, or that ends early, is refused as a whole (a refused form says
//   so once); nothing of it is taken;
// - data that was read goes into an estimate's rows, and what the rows hold is written out
//   and read back unchanged.
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CSubjectDragData.h"
#include "fuzz/support/FuzzSupport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

int Signed16(int nValue)
{
    return static_cast<short>(static_cast<unsigned>(nValue) & 0xFFFFu);
}

// Reads both halves as a drop does; 0 when the data was taken, -1 when refused.
int ReadDragData(CArchive& ar, CSubjectDragData& data, size_t& nBoxesAfterForm, FuzzMessageBoxes& boxes)
{
    if (!data.ReadForm(ar))
        return -1;
    nBoxesAfterForm = boxes.texts.size();
    return data.ReadRows(ar) ? 0 : -1;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitToolkit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    CSubjectDragData drag;
    size_t nBoxesAfterForm = 0;
    const int nResult =
        FuzzLoad(data, size, [&](CArchive& ar) { return ReadDragData(ar, drag, nBoxesAfterForm, boxes); });
    // Only a refused form speaks, once; the rest is refused silently, and nothing of refused
    // rows is taken.
    FUZZ_CHECK(boxes.texts.size() <= 1);
    if (nResult != 0) {
        FUZZ_CHECK(drag.m_rows.empty() && drag.m_nColumns == 0 && drag.m_nKind == 0);
        return 0;
    }
    FUZZ_CHECK(boxes.texts.empty());
    FUZZ_CHECK(drag.m_nColumns >= 0 && drag.m_nColumns <= CSubjectDragData::MAX_COLUMNS);
    for (const CSubjectDragData::CRow& row : drag.m_rows)
        FUZZ_CHECK(static_cast<int>(row.cells.size()) == drag.m_nColumns &&
                   static_cast<int>(row.indents.size()) == drag.m_nColumns);

    // The rows go into an estimate that uses the dragged form, as a drop inserts them.
    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->m_EstimationForm = drag.m_Form;
    pDoc->m_strEstimationFormName = drag.m_strFormName;
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    pView->SetupFromDocument();
    const int nRows = std::min(drag.GetRowCount(), pView->GetRowLimit() - 2);
    for (int k = 0; k < nRows; ++k) {
        const CSubjectDragData::CRow& row = drag.m_rows[static_cast<size_t>(k)];
        pView->InsertRow(k);
        for (int c = 0; c < drag.m_nColumns; ++c) {
            pView->SetCellText(row.cells[static_cast<size_t>(c)], k, c, TRUE);
            pView->SetCellIndent(row.indents[static_cast<size_t>(c)], k, c);
        }
        pView->SetRowKind(row.nKind, k);
        pView->SetRowParam3(row.nParam3, k);
        pView->SetRowParamText1(row.strParamText1, k);
        pView->SetRowParam1(row.nParam1, k);
        pView->SetRowParam2(row.nParam2, k);
        pView->SetRowParamText2(row.strParamText2, k);
    }

    // What the rows hold now is dragged on: written and read back, it is the same.
    const std::vector<uint8_t> bytes =
        FuzzStore([&](CArchive& ar) { CSubjectDragData::Write(ar, *pView, drag.m_nKind, 0); });
    CSubjectDragData again;
    FUZZ_CHECK(FuzzLoad(bytes.data(), bytes.size(),
                        [&](CArchive& ar) { return ReadDragData(ar, again, nBoxesAfterForm, boxes); }) == 0);
    FUZZ_CHECK(boxes.texts.empty());
    FUZZ_CHECK(again.m_Form.IsSameForm(pDoc->m_EstimationForm));
    FUZZ_CHECK(again.m_nColumns == pView->GetColumnCount());
    FUZZ_CHECK(again.m_nKind == (drag.m_nKind & 0xFFFF));
    for (int k = 0; k < again.GetRowCount(); ++k) {
        const CSubjectDragData::CRow& row = again.m_rows[static_cast<size_t>(k)];
        for (int c = 0; c < again.m_nColumns; ++c) {
            FUZZ_CHECK(row.cells[static_cast<size_t>(c)] == pView->GetCellText(k, c));
            FUZZ_CHECK(row.indents[static_cast<size_t>(c)] == Signed16(pView->GetCellIndent(k, c)));
        }
        FUZZ_CHECK(row.nKind == (pView->GetRowKind(k) & 0xFFFF));
        FUZZ_CHECK(row.nParam1 == Signed16(pView->GetRowParam1(k)));
        FUZZ_CHECK(row.nParam2 == Signed16(pView->GetRowParam2(k)));
        FUZZ_CHECK(row.nParam3 == Signed16(pView->GetRowParam3(k)));
        FUZZ_CHECK(row.strParamText1 == pView->GetRowParamText1(k));
        FUZZ_CHECK(row.strParamText2 == pView->GetRowParamText2(k));
    }
    delete pView;
    delete pDoc;
    return 0;
}

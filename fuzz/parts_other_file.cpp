// Another parts file read for the import "他形式ﾌｧｲﾙ読込". What a user relies on:
// - a file that does not read gives nothing to insert (the list stays as it was);
// - a file that reads has at most 100 cells per row, every row that many cells, and its
//   rows go into a list one for one, the mapped cells where the mapping says.
#include "fuzz/support/FuzzSupport.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    PartsImport::COtherPartsFile other;
    if (PartsImport::ReadOtherPartsFile(data, size, other) != PartsImport::readOk) {
        FUZZ_CHECK(other.rows.empty() && other.nColumns == 0 && other.form.GetCount() == 0);
        return 0;
    }
    FUZZ_CHECK(other.nColumns >= 0 && other.nColumns <= CMorvelPMDoc::MAX_COLUMNS);
    for (const auto& row : other.rows)
        FUZZ_CHECK(static_cast<int>(row.size()) == other.nColumns);

    auto pDoc = std::make_unique<CMorvelPMDoc>();
    pDoc->m_bAutoDelete = FALSE;
    auto* pView = new CMorvelPMView;
    pDoc->AddView(pView);
    pDoc->m_form = other.form;
    pView->TakeDocumentRows();
    // Each list column takes the source column of the same index, backwards, so that
    // out-of-range sources are tried too.
    std::vector<int> mapping;
    for (int c = 0; c < pView->GetColumnCount(); ++c)
        mapping.push_back(other.nColumns - 1 - c);
    const int nRows = static_cast<int>(other.rows.size());
    const int nInserted = PartsImport::InsertOtherRows(*pView, 0, other, mapping);
    FUZZ_CHECK(nInserted == (nRows > 0 ? nRows : 0));
    FUZZ_CHECK(pDoc->GetRowsInUse() == nInserted);
    // Text columns hold what the file held; number columns their number form of it.
    for (int r = 0; r < nInserted; ++r) {
        for (int c = 0; c < pView->GetColumnCount(); ++c) {
            const int j = mapping[static_cast<size_t>(c)];
            if (j < 0 || j >= other.nColumns || pView->IsNumericColumn(c))
                continue;
            FUZZ_CHECK(pView->GetCellText(r, c) ==
                       other.rows[static_cast<size_t>(r)][static_cast<size_t>(j)]);
        }
    }
    pDoc->RemoveView(pView);
    delete pView;
    return 0;
}

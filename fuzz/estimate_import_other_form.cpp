// Fuzz target: an estimate file read as "an estimate of another form" (the rows and
// information values that 他形式ﾌｧｲﾙ読込 places into the open estimate). The first byte
// chooses the open estimate's information form and the column mapping; the rest is the file.
//
// What a user relies on:
// - a damaged file is refused whole: nothing of it is kept, and the estimate is untouched;
// - a file that is read holds no more columns and information values than an estimate has,
//   with every row carrying exactly its file's column count;
// - its rows and information values go into the open estimate, which then saves, opens
//   again and saves to the same bytes; an insertion the file could not hold leaves the
//   estimate byte for byte as it was.
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/COtherFormEstimate.h"
#include "fuzz/support/FuzzEstimate.h"
#include "fuzz/support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitEstimateSettings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FuzzMessageBoxes boxes;
    const uint8_t choice = data[0];
    COtherFormEstimate file;
    const auto result = file.Read(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    if (result != COtherFormEstimate::readOk) {
        FUZZ_CHECK(file.m_rows.empty() && file.m_information.empty() && file.m_nColumns == 0);
        FUZZ_CHECK(file.m_EstimationForm.GetCount() == 0 && file.m_InformationForm.GetCount() == 0);
        return 0;
    }
    FUZZ_CHECK(file.m_nColumns >= 0 && file.m_nColumns <= COtherFormEstimate::MAX_COLUMNS);
    FUZZ_CHECK(file.m_information.size() <= COtherFormEstimate::MAX_INFORMATION);
    for (const auto& row : file.m_rows)
        FUZZ_CHECK(static_cast<int>(row.cells.size()) == file.m_nColumns);

    // Into an estimate with a few rows of its own, at row 1: column c takes file column
    // c + shift (or nothing past the file's columns), information item i the value i + shift.
    CFuzzEstimate estimate(choice % FUZZ_INFORMATION_FORMS);
    CMorvelEMView& view = *estimate.pView;
    for (int r = 0; r < 3; ++r) {
        view.InsertRow(r);
        view.SetRowKind(kindDetail, r);
        view.SetCellText("own", r, 0, TRUE);
    }
    const int nShift = (choice / FUZZ_INFORMATION_FORMS) % 4 - 1;
    std::vector<int> mapping(static_cast<size_t>(view.GetColumnCount()));
    for (size_t c = 0; c < mapping.size(); ++c)
        mapping[c] = static_cast<int>(c) + nShift;
    const std::vector<uint8_t> before = estimate.State();
    boxes.texts.clear();
    const int nInserted = file.InsertRows(view, 1, mapping);
    if (nInserted == 0) {
        // Nothing to insert, or more rows than the file could hold: nothing changed.
        FUZZ_CHECK(estimate.State() == before);
        FUZZ_CHECK(file.m_rows.empty() || !boxes.texts.empty());
    } else {
        FUZZ_CHECK(nInserted == static_cast<int>(file.m_rows.size()));
        FUZZ_CHECK(view.GetUsedRows() == 3 + nInserted);
    }
    std::vector<int> information(CMorvelEMView::MAX_INFORMATION);
    for (size_t i = 0; i < information.size(); ++i)
        information[i] = static_cast<int>(i) + nShift;
    file.ApplyInformation(view, information, nInserted > 0);
    estimate.CheckSavesAndOpensAgain();
    return 0;
}

// Fuzz target: the exports' converter-information file "m2k.inf" (an outside file whose
// item names its author chooses), and the export it steers.
//
// What a user relies on: any first line gives item names without outer blanks and
// upper-cased, and a column code finds the first item of its name; the export of the
// sample estimate with those items leaves the estimate as it was and is whole lines.
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/EstimateExport.h"
#include "fuzz/support/FuzzEstimate.h"
#include "fuzz/support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

// The sample estimate, opened once; the export reads it and must not change it.
CFuzzEstimate& SampleEstimate()
{
    static CFuzzEstimate* s_pEstimate = [] {
        auto* pEstimate = new CFuzzEstimate; // lives until the process ends
        FuzzMessageBoxes boxes;
        const std::string path = std::string(MORVEL_SOURCE_DIR) + "/samples/WORK/サンプル見積.MMD";
        const std::vector<uint8_t> bytes = FuzzReadNativeFile(path);
        FuzzWriteNativeFile(FuzzNativeFolder() + "sample.mmd", bytes.data(), bytes.size());
        FUZZ_CHECK(pEstimate->pDoc->OnOpenDocument(FuzzFolder() + "sample.mmd"));
        pEstimate->pView->SetupFromDocument();
        return pEstimate;
    }();
    return *s_pEstimate;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // An estimate document moves the process into the work folder; libFuzzer still has to
    // start its workers and write their logs where it was started.
    const std::filesystem::path started = std::filesystem::current_path();
    FuzzInitEstimateSettings();
    (void)SampleEstimate();
    std::filesystem::current_path(started);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = EstimateExport::ParseConverterItems(text);
    for (size_t i = 0; i < items.size(); ++i) {
        const CString& item = items[i];
        FUZZ_CHECK(item.Find('\n') < 0 && item.Find(',') < 0);
        CString copy = item;
        copy.Trim(' ');
        copy.MakeUpper();
        FUZZ_CHECK(copy == item);
        // A name is looked up as the column code gives it, a text without zero bytes.
        if (item.str().find('\0') != std::string::npos)
            continue;
        const int nFound = CMorvelEMView::FindInfItem(item, items);
        FUZZ_CHECK(nFound >= 0 && nFound <= static_cast<int>(i) &&
                   items[static_cast<size_t>(nFound)] == item);
    }

    CFuzzEstimate& sample = SampleEstimate();
    const std::vector<uint8_t> before = sample.State();
    const std::string exported =
        EstimateExport::WriteExport(sample.pView->GetModel(), sample.pView->GetEstimationForm(), items);
    FUZZ_CHECK(sample.State() == before);
    FUZZ_CHECK(exported.rfind("@M\r\n\"", 0) == 0 && exported.size() >= 2 &&
               exported.compare(exported.size() - 2, 2, "\r\n") == 0);
    return 0;
}

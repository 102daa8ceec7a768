// Fuzz target: the exports' converter-information file "m2k.inf" (an outside file whose
// item names its author chooses).
//
// What a user relies on: any first line gives item names without outer blanks and
// upper-cased, and a column code finds the first item of its name.
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/EstimateExport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto items = EstimateExport::ParseConverterItems(text);
    for (size_t i = 0; i < items.size(); ++i) {
        const CString& item = items[i];
        if (item.Find('\n') >= 0 || item.Find(',') >= 0)
            std::abort();
        CString copy = item;
        copy.Trim(' ');
        copy.MakeUpper();
        if (copy != item)
            std::abort();
        // A name is looked up as the column code gives it, a text without zero bytes.
        if (item.str().find('\0') != std::string::npos)
            continue;
        const int nFound = CMorvelEMView::FindInfItem(item, items);
        if (nFound < 0 || nFound > static_cast<int>(i) || items[static_cast<size_t>(nFound)] != item)
            std::abort();
    }
    return 0;
}

// Fuzz target: the estimate's CSV text as the CSV input reads it, and the round trip of
// the CSV output.
//
// What a user relies on: any text is split into lines and fields within the reader's
// limits, field by field and line at once alike; and fields the output writes (the input's
// own fields, which hold no line breaks and no trailing blanks) come back unchanged.
#include "estimate_tools/EstimateCsv.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<CString> fields;
    for (const auto& line : EstimateCsv::SplitLines(text)) {
        if (line.size() > EstimateCsv::MAX_LINE)
            std::abort();
        EstimateCsv::SplitFields(line, fields);
        if (fields.empty())
            std::abort();
        for (size_t i = 0; i < fields.size(); ++i) {
            const CString& field = fields[i];
            if (field.GetLength() > EstimateCsv::MAX_FIELD)
                std::abort();
            if (i < 6 && EstimateCsv::GetCsvField(line, static_cast<int>(i)) != field)
                std::abort();
            if (field.Find('\r') >= 0 || field.Find('\n') >= 0)
                std::abort();
        }
        if (!EstimateCsv::GetCsvField(line, static_cast<int>(fields.size())).IsEmpty())
            std::abort();

        // Written as the output writes them and read back: the same fields.
        std::string written;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                written += ',';
            written += EstimateCsv::QuoteField(fields[i]);
        }
        std::vector<CString> back;
        EstimateCsv::SplitFields(written, back);
        if (written.size() <= EstimateCsv::MAX_LINE && back != fields)
            std::abort();
    }
    return 0;
}

// Fuzz target: the outside packages' estimate data (".MVL", ".RXA", ".RXB") and their
// converter-information files. The first byte picks the source kind; the rest is the data
// file up to the first zero byte, then the converter file.
//
// What a user relies on: any bytes are either refused or read into rows whose fields keep
// the reader's limits; reading field by field gives what reading the whole line gives.
#include "estimate/COutsideEstimateReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int nKind = 1 + data[0] % 3;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t zero = rest.find('\0');
    const std::string_view file = rest.substr(0, zero);
    const std::string_view converter =
        zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);

    const auto entries = COutsideEstimateReader::ParseConverterLine(converter);
    if (entries.size() > COutsideEstimateReader::MAX_POSITIONS || entries.empty())
        std::abort();
    for (const CString& entry : entries) {
        for (int i = 0; i < entry.GetLength(); ++i) {
            if (entry[i] < 'A' || entry[i] > 'Z')
                std::abort();
        }
    }

    COutsideEstimateReader reader;
    const auto result = reader.Read(file, nKind);
    if (result != COutsideEstimateReader::headerOk) {
        if (!reader.m_rows.empty())
            std::abort(); // a refused file gives nothing
        return 0;
    }
    if (reader.m_strInfName.IsEmpty() || reader.m_strMissingMessage.IsEmpty())
        std::abort();
    const auto lines = COutsideEstimateReader::SplitLines(file);
    if (reader.m_rows.size() > lines.size())
        std::abort();
    for (const auto& line : lines) {
        if (line.size() > COutsideEstimateReader::MAX_LINE)
            std::abort();
        std::vector<CString> fields;
        COutsideEstimateReader::SplitFields(line, fields);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (fields[i].GetLength() > COutsideEstimateReader::MAX_FIELD)
                std::abort();
            if (i < 8 && COutsideEstimateReader::GetField(line, static_cast<int>(i)) != fields[i])
                std::abort();
        }
        if (!COutsideEstimateReader::GetField(line, static_cast<int>(fields.size())).IsEmpty())
            std::abort();
    }
    for (const auto& row : reader.m_rows) {
        if (row.nKind < 0 || row.nKind > 17)
            std::abort();
    }
    return 0;
}

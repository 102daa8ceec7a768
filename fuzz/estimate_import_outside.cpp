// Fuzz target: the outside packages' estimate data (".MVL", ".RXA", ".RXB") and their
// converter-information files. The first byte picks the source kind, the second the
// information form (below); the rest is the data
// file up to the first zero byte, then the converter file.
//
// What a user relies on: any bytes are either refused or read into rows whose fields keep
// the reader's limits; reading field by field gives what reading the whole line gives.
// Opened as the program opens such a file (the converter file beside it), a refused file
// leaves the new estimate byte for byte as it was, and one that is read gives an estimate
// that saves, opens again and saves to the same bytes, whichever information form (none,
// the sample's, all 100 items) the estimate has; the second byte chooses it.
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/COutsideEstimateReader.h"
#include "fuzz/support/FuzzEstimate.h"
#include "fuzz/support/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// The estimate as ImportConvertedFile gets it, reading the data file's bytes with the
// converter file beside it.
void CheckImport(int nKind, int nInformationForm, std::string_view file, std::string_view converter,
                 const COutsideEstimateReader& reader)
{
    static const char* const s_extensions[] = {"", "MVL", "RXA", "RXB"};
    const std::string name = std::string("input.") + s_extensions[nKind];
    FuzzWriteNativeFile(FuzzNativeFolder() + name, reinterpret_cast<const uint8_t*>(file.data()),
                        file.size());
    const std::string infName = reader.m_strInfName.IsEmpty() ? "none.inf" : reader.m_strInfName.str();
    FuzzWriteNativeFile(FuzzNativeFolder() + infName, reinterpret_cast<const uint8_t*>(converter.data()),
                        converter.size());
    FuzzMessageBoxes boxes;
    CFuzzEstimate estimate(nInformationForm);
    const std::vector<uint8_t> before = estimate.State();
    const bool bRead = estimate.pDoc->ImportConvertedFile(FuzzFolder() + name.c_str(), nKind);
    if (!bRead) {
        FUZZ_CHECK(estimate.State() == before);
        return;
    }
    FUZZ_CHECK(!reader.m_rows.empty() || estimate.pView->GetUsedRows() == 0);
    estimate.CheckSavesAndOpensAgain();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitEstimateSettings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int nKind = 1 + data[0] % 3;
    const int nInformationForm = data[1] % FUZZ_INFORMATION_FORMS;
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
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
        CheckImport(nKind, nInformationForm, file, converter, reader);
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
    CheckImport(nKind, nInformationForm, file, converter, reader);
    return 0;
}

// Fuzz target: the estimate's CSV text as the CSV input reads it into an estimate, and the
// CSV output of what it read.
//
// What a user relies on:
// - a file's bytes are read as UTF-8 converted to code page 932 when they are UTF-8 (every
//   byte of the result part of a code page 932 character, each character the code page
//   lacks counted with a line where it stands), else as Shift-JIS byte for byte when they
//   are Shift-JIS, or refused with the line that cannot be read (or, marked UTF-16 or
//   UTF-32, refused as such);
// - any text is split into lines and fields within the reader's limits, field by field
//   and line at once alike;
// - a cell the output writes comes back unchanged: written as the output writes it (line
//   breaks removed, trailing blanks cut) and read again, it is the same text;
// - the lines go into the open estimate as detail rows, which then saves, opens again and
//   saves to the same bytes; lines the file could not hold are refused with a message and
//   leave the estimate byte for byte as it was.
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/EstimateCsv.h"
#include "fuzz/support/FuzzEstimate.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Cp932.h"
#include "platform/base/Cp932Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitEstimateSettings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CsvText::CFileText file = CsvText::DecodeFile(bytes);
    switch (file.eEncoding) {
    case CsvText::CFileText::EEncoding::unreadable:
        FUZZ_CHECK(file.text.empty());
        FUZZ_CHECK(file.nLine >= 1 &&
                   file.nLine <= 1 + static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')));
        // Refused only what neither encoding reads whole (or what is marked UTF-8 and is not).
        FUZZ_CHECK(file.bUtf8Mark || FindMalformedCp932(bytes) != bytes.size());
        break;
    case CsvText::CFileText::EEncoding::utf16:
    case CsvText::CFileText::EEncoding::utf32:
        FUZZ_CHECK(file.text.empty() && (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
                                         bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))));
        break;
    case CsvText::CFileText::EEncoding::shiftJis:
        // Shift-JIS only what is no UTF-8 with characters beyond ASCII.
        FUZZ_CHECK(file.text == bytes && file.nReplaced == 0);
        FUZZ_CHECK(FindMalformedCp932(bytes) == bytes.size());
        FUZZ_CHECK(FindMalformedUtf8(bytes) != bytes.size() ||
                   std::all_of(bytes.begin(), bytes.end(), [](char ch) { return (ch & 0x80) == 0; }));
        break;
    case CsvText::CFileText::EEncoding::utf8: {
        // Read as UTF-8 only what is UTF-8 after its byte-order mark, if any.
        const std::string_view utf8 = bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
        FUZZ_CHECK(FindMalformedUtf8(utf8) == utf8.size());
    }
        FUZZ_CHECK(FindMalformedCp932(file.text) == file.text.size());
        FUZZ_CHECK((file.nReplaced == 0) == (file.nLine == 0));
        break;
    }
    // A refused file's bytes still go through the text rules and into the estimate: cells
    // that came another way (a paste, a file of another form) can hold any bytes, and the
    // writer and reader must keep them as well.
    const std::string_view text = file.IsRead() ? std::string_view(file.text) : bytes;
    const std::vector<std::string_view> lines = EstimateCsv::SplitLines(text);
    std::vector<CString> fields;
    for (const auto& line : lines) {
        FUZZ_CHECK(line.size() <= EstimateCsv::MAX_LINE);
        EstimateCsv::SplitFields(line, fields);
        FUZZ_CHECK(!fields.empty());
        for (size_t i = 0; i < fields.size(); ++i) {
            const CString& field = fields[i];
            FUZZ_CHECK(field.GetLength() <= EstimateCsv::MAX_FIELD);
            FUZZ_CHECK(i >= 6 || EstimateCsv::GetCsvField(line, static_cast<int>(i)) == field);
            FUZZ_CHECK(field.Find('\r') < 0 && field.Find('\n') < 0);
        }
        FUZZ_CHECK(EstimateCsv::GetCsvField(line, static_cast<int>(fields.size())).IsEmpty());

        // The whole line taken as one cell and written as the output writes a cell.
        CString cell = RemoveLineBreaks(CString(std::string(line)));
        cell.TrimRight(' ');
        if (cell.GetLength() <= EstimateCsv::MAX_FIELD) {
            const std::string written = EstimateCsv::QuoteField(cell);
            EstimateCsv::SplitFields(written, fields);
            FUZZ_CHECK(fields.size() == 1 && fields[0] == cell);
        }
    }
    if (lines.empty())
        return 0;

    // Into an estimate with one row of its own, at row 1; column c takes field c.
    FuzzMessageBoxes boxes;
    CFuzzEstimate estimate;
    CMorvelEMView& view = *estimate.pView;
    view.InsertRow(0);
    view.SetRowKind(kindDetail, 0);
    view.SetCellText("own", 0, 0, TRUE);
    std::vector<int> mapping(static_cast<size_t>(view.GetColumnCount()));
    for (size_t c = 0; c < mapping.size(); ++c)
        mapping[c] = static_cast<int>(c);
    const std::vector<uint8_t> before = estimate.State();
    const int nInserted = EstimateCsv::InsertRows(view, 1, lines, mapping);
    if (nInserted == 0) {
        FUZZ_CHECK(!boxes.texts.empty());
        FUZZ_CHECK(estimate.State() == before);
        return 0;
    }
    FUZZ_CHECK(nInserted == static_cast<int>(lines.size()) && view.GetUsedRows() == 1 + nInserted);
    estimate.CheckSavesAndOpensAgain();
    return 0;
}

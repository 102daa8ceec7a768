// The text of CSV files in code page 932, as every reader and writer of them in the program
// handles it (the estimate's and the parts list's CSV alike), so that a field ends at the
// same byte in each; a file saved as UTF-8 is read as the same text in code page 932, and a
// file in neither encoding is refused rather than read garbled.
//
// A written field is plain unless it holds a comma or a double quote; then it is put in
// double quotes with its quotes doubled, so that every reader of CSV gets the same cells
// back. Reading groups commas inside double quotes; a doubled quote inside quotes stands for
// one quote; any other quote is dropped.
#pragma once

#include "platform/base/CString.h"

#include <string>
#include <string_view>
#include <vector>

namespace CsvText {

enum { MAX_LINE = 65534, MAX_FIELD = 2047 };

// One field as written: plain, or quoted when it holds a comma or a double quote.
std::string QuoteField(const CString& field);

// The lines of a CSV text as a text-mode read with the line limit gives them.
std::vector<std::string_view> SplitLines(std::string_view data);
// The fields of a line: commas outside double quotes separate; CR and LF dropped; each
// field without trailing blanks and at most MAX_FIELD bytes.
void SplitFields(std::string_view line, std::vector<CString>& fields);
// Field n (from 0) of a line; empty beyond the last.
CString GetCsvField(std::string_view line, int nField);
// The number of fields of a line (commas outside quotes, plus one).
int CountFields(std::string_view line);

// What the bytes of a CSV file are read as. Japanese Shift-JIS text is almost never
// well-formed UTF-8, while short UTF-8 text often is well-formed Shift-JIS too, so UTF-8 is
// tried first: a file that starts with the UTF-8 byte-order mark, or whose bytes are
// well-formed UTF-8 with characters beyond ASCII, is UTF-8 (as spreadsheets save it now) and
// converted to code page 932, each character that code page lacks becoming "〓". Any other
// file that is well-formed Shift-JIS (plain ASCII among them) is read byte for byte as it
// is. Everything else cannot be read: a file marked as UTF-8 with bytes that are no UTF-8,
// a file that is neither, and a file marked as UTF-16 or UTF-32 (which no reader of CSV
// here takes).
struct CFileText {
    enum class EEncoding { shiftJis, utf8, unreadable, utf16, utf32 };
    EEncoding eEncoding = EEncoding::shiftJis;
    std::string text; // code page 932 (empty when not read)
    // unreadable: the first line (from 1) that cannot be read; utf8: the first line with
    // a character code page 932 lacks (0: none); utf16, utf32: 0.
    int nLine = 0;
    int nReplaced = 0; // the characters code page 932 lacks
    bool bUtf8Mark = false; // the file starts with UTF-8's byte-order mark

    bool IsRead() const { return eEncoding == EEncoding::shiftJis || eEncoding == EEncoding::utf8; }
};
CFileText DecodeFile(std::string_view data);
// The CSV inputs' reading of a file's bytes (DecodeFile), in place. A file that cannot be
// read is refused with a message that names its first unreadable line (or its encoding); a
// UTF-8 file with characters code page 932 lacks says how many and where and is read only
// when the user goes on. False, data left as it was, when nothing is to be read.
bool TakeFileText(std::string& data);
// The CSV inputs' reading of the file at lpszPath: its bytes read whole and taken as
// TakeFileText takes them. A file that is missing or cannot be read says so. False, text
// empty, when nothing is to be read.
bool ReadInputFile(const char* lpszPath, std::string& text);

} // namespace CsvText

// The text of CSV files in code page 932, as every reader and writer of them in the program
// handles it (the estimate's and the parts list's CSV alike), so that a field ends at the
// same byte in each.
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

} // namespace CsvText

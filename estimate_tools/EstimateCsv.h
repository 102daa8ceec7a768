// The estimate's CSV text: writing chosen columns of the edit page's rows, and reading
// such a text back as detail rows under the columns the user maps.
//
// Written fields are plain (the subject number in front of a heading's text, line breaks
// removed, trailing blanks cut) except that a field holding a comma or a double quote is
// put in double quotes with its quotes doubled, so that every reader of CSV gets the same
// cells back. Reading groups commas inside double quotes; a doubled quote inside quotes
// stands for one quote; any other quote is dropped.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>
#include <string_view>
#include <vector>

class CMorvelEMView;

namespace EstimateCsv {

enum { MAX_LINE = 65534, MAX_FIELD = 2047 };

// One field as written: plain, or quoted when it holds a comma or a double quote.
std::string QuoteField(const CString& field);

// The CSV text of the edit page: one line per row from row 0 to the last used row, the
// ticked columns (ticks[c] nonzero) in order, each line ended by CR LF.
std::string WriteEstimate(const CMorvelEMView& view, const std::vector<BOOL>& ticks);

// The lines of a CSV text as a text-mode read with the line limit gives them.
std::vector<std::string_view> SplitLines(std::string_view data);
// The fields of a line: commas outside double quotes separate; CR and LF dropped; each
// field without trailing blanks and at most MAX_FIELD bytes.
void SplitFields(std::string_view line, std::vector<CString>& fields);
// Field n (from 0) of a line; empty beyond the last.
CString GetCsvField(std::string_view line, int nField);
// The number of fields of a line (commas outside quotes, plus one).
int CountFields(std::string_view line);

// Inserts one detail row per line at nRow of the edit page: column c gets the field
// mapping[c] with its blanks trimmed (-1: nothing). Returns the rows inserted: none, and
// the user told why, when the estimate would then hold more rows than its file can.
int InsertRows(CMorvelEMView& view, int nRow, const std::vector<std::string_view>& lines,
               const std::vector<int>& mapping);

} // namespace EstimateCsv

// The estimate's CSV text: writing chosen columns of the edit page's rows, and reading
// such a text back as detail rows under the columns the user maps.
//
// Written fields are plain (the subject number in front of a heading's text, line breaks
// removed, trailing blanks cut) except that a field holding a comma or a double quote is
// put in double quotes with its quotes doubled, so that every reader of CSV gets the same
// cells back. Reading groups commas inside double quotes; a doubled quote inside quotes
// stands for one quote; any other quote is dropped.
#pragma once

#include "app/CsvText.h"
#include "engine/estimate/CEstimateModel.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>
#include <string_view>
#include <vector>

class CEstimationFormFile;
class CMorvelEMView;

namespace EstimateCsv {

// The CSV text's own rules (app/CsvText.h), under the names the estimate's callers use.
using CsvText::CountFields;
using CsvText::GetCsvField;
using CsvText::MAX_FIELD;
using CsvText::MAX_LINE;
using CsvText::QuoteField;
using CsvText::SplitFields;
using CsvText::SplitLines;

// The CSV text of the model's edit page, whichever page a window shows: one line per row
// from row 0 to the last used row, the ticked columns (ticks[c] nonzero) in order, each line
// ended by CR LF. The estimation form tells the unit column, written empty for headings.
std::string WriteEstimate(const CEstimateModel& model, const CEstimationFormFile& form,
                          const std::vector<BOOL>& ticks);

// One detail row per line: column c (of the first nColumns) gets the field mapping[c] with
// its blanks trimmed, empty when the line has no such field (-1: nothing).
CEstimateModel::CRowsRead RowsRead(const std::vector<std::string_view>& lines,
                                   const std::vector<int>& mapping, int nColumns);
// Inserts those rows at nRow of the edit page as one command, with the page alignment after
// them (CMorvelEMView::InsertRowsRead). Returns the rows inserted: none, and the user told
// why, when the estimate would then hold more rows than its file can.
int InsertRows(CMorvelEMView& view, int nRow, const std::vector<std::string_view>& lines,
               const std::vector<int>& mapping);

} // namespace EstimateCsv

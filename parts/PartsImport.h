// The parts list's exchange with files other than its own: the CSV text of chosen columns,
// its reading back under the columns the user maps, and the cells of another parts file
// (made with a possibly different parts form) read for the same kind of mapping.
//
// Written CSV fields are the stored texts without trailing blanks and without line breaks
// (a cell is one line of a CSV row); a field holding a comma or a double quote is put in
// double quotes with its quotes doubled, so that any CSV reader gets the same cells back.
// Reading groups commas inside double quotes; a doubled quote inside quotes stands for one
// quote; other quotes are dropped.
#pragma once

#include "app/CPartFormFile.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>
#include <string_view>
#include <vector>

class CMorvelPMView;

namespace PartsImport {

// The CSV text of rows 0 .. rows in use - 1: the ticked columns (ticks[c] nonzero) in
// order, one line per row ended by CR LF (an empty line for a row without ticked columns).
std::string WriteCsv(const CMorvelPMView& view, const std::vector<BOOL>& ticks);

// The number of fields of the text's first line (commas outside quotes, plus one).
int CountFirstLineFields(std::string_view data);

// Inserts one row per line of the text at nRow (the rows from nRow move down): list column
// c gets field mapping[c] trimmed of half-width blanks (-1: nothing). Returns the rows
// inserted, which are one undo step (CMorvelPMView::InsertReadRows).
int InsertCsvRows(CMorvelPMView& view, int nRow, std::string_view data, const std::vector<int>& mapping);

// Another parts file, read up to its cells.
struct COtherPartsFile {
    CPartFormFile form;
    int nColumns = 0;                       // cells per stored row, at most 100
    std::vector<std::vector<CString>> rows; // nColumns texts each
};
enum ReadResult {
    readOk = 0,
    readNotParts = 1, // the magic is not a parts list's
    readBadForm = 2,  // the embedded form is damaged (its reader has told the user)
    readDamaged = 3   // the file ends early or claims more than 100 columns
};
// Reads a parts file held in memory. Reading stops at the first fault; out is filled only
// when the whole file up to its cells was read.
ReadResult ReadOtherPartsFile(const BYTE* pData, size_t nSize, COtherPartsFile& out);

// Inserts the other file's rows at nRow: list column c gets source column mapping[c]
// (-1: nothing). Returns the rows inserted, which are one undo step.
int InsertOtherRows(CMorvelPMView& view, int nRow, const COtherPartsFile& other,
                    const std::vector<int>& mapping);

} // namespace PartsImport

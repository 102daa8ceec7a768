// What the estimate's import commands need besides the commands of the window they run in:
// the whole bytes of a file, the folder of a path, and, reached through that window, what
// they read or set of its document's model (used rows, row limit, column count, the
// information values) and of the window itself (current row, page shown and selection).
// They are gathered here so that the import code uses them through one set of functions;
// the exports read the model itself (EstimateCsv::WriteEstimate, EstimateExport).
#pragma once

#include "engine/estimate/CGridRow.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>

#include "grid/CMorvelView.h"

class CMorvelEMView;

namespace EstimateIo {

// A row from another estimate (a file of another form, a dragged subject) given its kind,
// parameters and parameter texts, as the estimate model puts such rows in.
template <class TRow>
void SetKindAndParameters(CGridRow& target, const TRow& row)
{
    target.SetKind(row.nKind);
    target.SetParam1(row.nParam1);
    target.SetParam2(row.nParam2);
    target.SetParam3(row.nParam3);
    target.SetParamText1(row.strParamText1);
    target.SetParamText2(row.strParamText2);
}

// Reads the whole file into data. false (data empty) when it cannot be opened or read.
bool ReadWholeFile(const char* lpszPath, std::string& data);
// The folder of a path, with its trailing separator ("C:\a\b.RXB" gives "C:\a\"); empty
// for a bare file name.
CString GetFolder(const char* lpszPath);
// The program's folder, ending in a backslash.
CString GetProgramFolder();

int GetUsedRows(const CMorvelEMView& view);
int GetRowLimit(const CMorvelEMView& view);
// Raises the row limit (doubling it, as opening a large file does) until nRows rows fit.
void EnsureRowLimit(CMorvelEMView& view, int nRows);
// Whether nCount rows inserted at nRow leave an estimate the file can hold, with the rows
// the page alignment of the heading nHeading after them may add (AdjustPageBreak's findHeading,
// above 0); when not, the user is told why (CMorvelView::CheckFileRowLimit) and nothing
// may be inserted.
bool CheckRowRoom(const CMorvelEMView& view, int nRow, int nCount, int nHeading = 0);
int GetCurrentRow(const CMorvelEMView& view);
int GetColumnCount(const CMorvelEMView& view);
bool IsEditPageShown(const CMorvelEMView& view);
// The selection mode (CMorvelView::selectNone .. selectBlock) and, for a block,
// whether its first and last cells are the same cell.
int GetSelectMode(const CMorvelEMView& view);
bool IsSingleCellBlock(const CMorvelEMView& view);
int GetInformationCount(const CMorvelEMView& view);
CString GetInformationValue(const CMorvelEMView& view, int nIndex);
// Sets one information value (an index beyond the model's 100 values is ignored); the
// count grows to cover it.
void SetInformationValue(CMorvelEMView& view, int nIndex, const CString& value);

} // namespace EstimateIo

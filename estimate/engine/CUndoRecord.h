// The estimate's undo record: one action each way, what it needs to be taken back, and the
// action codes undo and redo act on. The estimate model keeps one per estimate, so every
// window on the estimate undoes the same last action.
#pragma once

#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CGridRowArray.h"
#include "estimate/engine/RowKinds.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <climits>
#include <memory>
#include <vector>

// The undo record's action codes: what undo takes back and redo does again, with the
// position each records (see RecordUndo).
enum EUndoAction : int {
    undoNone = -1,
    undoCellEdit = 1,        // cell (column, row); the old and the new text
    undoRowInsert = 11,      // the current cell
    undoRowDelete = 12,      // row; the deleted row in the row store
    undoRowClear = 13,       // row; the row's former contents in the row store
    undoRowsCut = 21,        // the first cut row
    undoRowsPaste = 22,      // the first pasted row
    undoRowsPasteCount = 23, // the first pasted row, and the pasted row count
    undoMarkRow = 31,        // remembering a row
    undoNonCalcSet = 32,     // x the row count, y the first row
    undoNonCalcRelease = 33, // x the row count, y the first row
    undoFixedRate = 34,      // x the column, y the first row; the texts in the text store
    undoRowsClear = 35,      // y the first row; the rows' former contents in the row store
    undoRowsInsert = 36,     // x the row count, y the first row
    undoCellsCut = 40,
    undoCellsPaste = 41,
    undoSpecialRow = 50 // a special row made or a picked subject placed: the row
};
// Rows nFirstRow on, whole (kind, parameters, every cell with the ones the row's formulas
// and the totals worked out), with the used-row count; a null row had no row object.
struct CRowImage {
    int nFirstRow = 0;
    int nUsedRows = 0;
    std::vector<std::unique_ptr<CGridRow>> rows;
    int LastRow() const { return nFirstRow + static_cast<int>(rows.size()) - 1; }
};
// The undo record: one action each way, its position and what it needs to be taken
// back. Its invariant: the stores hold what the undo action named last needs (an
// action that keeps rows or texts empties its store first), and they own their
// entries (row copies in rows, CUndoTextEntry in texts).
struct CUndoRecord {
    CUndoRecord() = default;
    CUndoRecord(const CUndoRecord&) = delete;
    CUndoRecord& operator=(const CUndoRecord&) = delete;
    int nAction = undoNone;      // what undo takes back
    int nRedoAction = undoNone;  // what redo does again
    CPoint ptPosition;           // x column (or a row count), y row
    int nPasteCount = 0;         // with undoRowsPasteCount
    CString strUndoText;         // an edited cell's old text
    CString strRedoText;         // and its new text
    CGridRowArray rows;          // row copies
    CGridRowArray texts;         // text entries of the fixed-rate change
    std::vector<ERowKind> kinds; // the kinds rows had before a non-calculated mark changed
    // The rows a cell command (an edit, a replacement, a cut or a paste of cells) wrote,
    // as they were before it, kept by this grid whatever the shared buffers get later.
    // Undo puts them back and keeps the rows as they stood then in rowsAfter, which redo
    // puts back: either way the rows are exactly what they were, kinds and worked-out
    // cells included, and only the totals are worked out again.
    CRowImage rowsBefore;
    CRowImage rowsAfter;
    CRect rcCellBlock; // the block a cell cut emptied
    // What a rows command (a cut, a paste) did to the rows, one step per insertion or
    // deletion in the order they happened, the empty rows page alignment added or took
    // away among them. The rows a step took out are in rows, in the same order. Undo
    // takes the steps back, last first, which gives the rows exactly as they were.
    struct CRowStep {
        int nRow = 0;
        int nCount = 0;
        bool bInserted = false; // rows put in at nRow (else taken out there)
        int nUsedRowsBefore = 0;
    };
    std::vector<CRowStep> rowSteps;
    // The first row that rows were inserted, deleted or reordered at since the record
    // was made (INT_MAX: none). Rows moved only below the rows the record names leave
    // it good.
    int nShiftedFrom = INT_MAX;
};

// CUndoCommand: one action of the estimate that undo can take back and redo can do again.
// Each editing command that can be undone records one (CUndoStore keeps the last); the
// command holds what it needs either way and knows how to do it, over the estimate it is
// handed (IUndoTarget). Taking an action back puts the rows back exactly as they were,
// computed cells and row kinds included. Doing it again either puts the rows back as the
// action left them, or runs the same editing command again over the same rows, which then
// records a command of its own.
//
// A command names rows by number. CUndoStore asks it for the last row it names, so that a
// change of rows it does not know about (rows inserted above them) makes it unusable
// rather than wrong.
#pragma once

#include "engine/estimate/CFixedRateChange.h"
#include "platform/base/CString.h"

#include <memory>
#include <optional>
#include <vector>

class CEstimateEngine;
class CGridRow;
class CGridRowArray;
class CRowImage;

struct CUndoOutcome;

// What undo and redo act on: the estimate's rows and counts, and its editing commands that a
// redo runs again. The estimate model implements it; the engine's tests give it one of their
// own.
class IUndoTarget {
public:
    // ---- the rows, as undo and redo put them back ---------------------------------------
    virtual CEstimateEngine& Engine() = 0;
    virtual const CGridRowArray& EditRows() const = 0;
    virtual int GetUsedRows() const = 0;
    virtual int GetRowLimit() const = 0;
    // The used-row count put back as it was (the grid's scroll ranges follow).
    virtual void RestoreUsedRows(int nRows) = 0;
    // The row object at nRow goes: the row is empty again, as it was before it was written.
    virtual void DropRow(int nRow) = 0;
    // Rows put in at nRow (taking over the objects; a null entry stands for an empty row),
    // and rows taken out there (the objects handed over in taken), as the row insertion and
    // deletion of the grid do it.
    virtual void PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows) = 0;
    virtual void TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>& taken) = 0;

    // ---- the information values, as undo and redo put them back ------------------------
    virtual int GetInformationCount() const = 0;
    virtual void SetInformationCount(int nCount) = 0;
    virtual const CString& GetInformation(int nIndex) const = 0;
    virtual void SetInformation(int nIndex, const CString& value) = 0;

    // ---- the editing commands a redo (or an undo) runs again -----------------------------
    // Each runs as the user's command does at the given cell or rows, and records its own
    // undo command as it runs.
    virtual void InsertRowAt(int nCol, int nRow) = 0;
    virtual void DeleteRowAt(int nCol, int nRow) = 0;
    virtual void ClearRowAt(int nCol, int nRow) = 0;
    virtual void InsertRowsAt(int nFirstRow, int nCount) = 0;
    virtual void ClearRowsAt(int nFirstRow, int nCount) = 0;
    // The copy buffers' row commands: each says what the grid does afterwards (its current
    // cell and selection as the command leaves them, the rows it repaints).
    // nCount rows cut from nFirstRow as the cut command cuts them, the cell at nCol,
    // nFirstRow current.
    virtual CUndoOutcome CutRowsAt(int nCol, int nFirstRow, int nCount) = 0;
    // The rows copied to the row copy buffer as the copy command copies them (the cell at
    // nCol, nFirstRow current afterwards, nothing selected).
    virtual CUndoOutcome CopyRowsAt(int nCol, int nFirstRow, int nCount) = 0;
    // The rows pasted above nRow as a paste of one selected row pastes them (that row stays
    // selected); bCounted: the paste records itself as a paste of as many rows as were
    // selected.
    virtual CUndoOutcome PasteRowsAt(int nCol, int nRow, const std::vector<const CGridRow*>& rows,
                                     bool bCounted) = 0;
    // The remembered row (-1: none), its row headers repainted.
    virtual void SetMarkRow(int nRow) = 0;
    virtual void SetNonCalculated(bool bSet, int nFirstRow, int nLastRow) = 0;
    // The fixed-rate change's settings: the formula text appended to each number, and the
    // condition a row must meet (as the calculation dialog gives them).
    struct CRateSettings {
        CString strFormula;
        CFixedRateChange::CCondition condition;
    };
    virtual void ApplyFixedRate(int nCol, int nFirstRow, int nLastRow, const CRateSettings& settings) = 0;

protected:
    ~IUndoTarget() = default;
};

// What the grid does after an undo or a redo: where the current cell goes, what is selected,
// and from which row on it repaints and works the totals out again.
struct CUndoOutcome {
    // stays: where it is; again: set again where it is (rows may have gone from under it);
    // moved: to nCol, nRow.
    enum class ECell { stays, again, moved };
    enum class ESelection { stays, none, rows };
    ECell eCell = ECell::stays;
    int nCol = 0;
    int nRow = 0;
    ESelection eSelection = ESelection::stays;
    int nFirstSelected = 0;
    int nSelectedCount = 0;
    // The rows from here on changed: repainted, the totals worked out again from here, the
    // subject tree made again. -1: nothing to do (a command run again did it itself).
    int nChangedFrom = -1;
    // The totals worked out again from here instead (-1: from nChangedFrom).
    int nTotalsFrom = -1;
    // The changed rows were written in bulk (rows pasted): the window's recalculation level
    // may have every row from nChangedFrom worked out again.
    bool bBulkChange = false;
    // A row brought into view when it is not (-1: none), as the row cut shows its place.
    int nShownRow = -1;
};

class CUndoCommand {
public:
    // What the commands act on and what the grid does afterwards (for CUndoStoreOf).
    using Target = IUndoTarget;
    using Outcome = CUndoOutcome;
    // The action codes the grid's undo keeps (each command reports its own).
    enum EAction : int {
        undoNone = -1,
        undoCellEdit = 1,
        undoRowInsert = 11,
        undoRowDelete = 12,
        undoRowClear = 13,
        undoPageInsert = 14,
        undoPageDelete = 15,
        undoPageFeed = 16,
        undoUnnecessaryRows = 17, // every unnecessary row deleted at once
        undoSubjectDrag = 18,     // a subject dragged in the tree, or dropped from another
        undoRowsRead = 19,        // rows read from a CSV file or an estimate of another form
        undoSummaryWritten = 20,  // the summary table written at the top of the rows
        undoRowsCut = 21,
        undoRowsPaste = 22,
        undoRowsPasteCount = 23, // as many rows pasted as were selected
        undoMarkRow = 31,
        undoNonCalcSet = 32,
        undoNonCalcRelease = 33,
        undoFixedRate = 34,
        undoRowsClear = 35,
        undoRowsInsert = 36,
        undoCellsCut = 40,
        undoCellsPaste = 41,
        undoItemClear = 42,
        undoIndent = 43,
        undoSort = 44,
        undoStepSetting = 45,     // a step row made, changed or released in place
        undoClassifySetting = 46, // a classification row changed or released in place
        undoReplaceAll = 47,
        undoSpecialRow = 50 // a special row made, or a picked subject placed
    };

    CUndoCommand();
    CUndoCommand(const CUndoCommand&) = delete;
    CUndoCommand& operator=(const CUndoCommand&) = delete;
    virtual ~CUndoCommand();

    virtual EAction Action() const = 0;
    // Takes the action back, and does it again (only after it was taken back).
    virtual CUndoOutcome Undo(IUndoTarget& target) = 0;
    virtual CUndoOutcome Redo(IUndoTarget& target) = 0;
    // The first and the last row the command names (its cell, its rows, the rows it moved).
    virtual int FirstRow() const = 0;
    virtual int LastRow() const = 0;
    // Whether the estimate stands as the command found it, right after the command: it
    // changed nothing, and the store records nothing (the undo and redo there were stay). A
    // command that keeps the rows it writes in place as they were (RowsBefore) changed
    // nothing when they stand so; one that kept none (rows moved, a mark set) changed
    // something.
    virtual bool ChangedNothing(const IUndoTarget& target) const;
    // For a command that moved rows: the first row the store had noted moved before its
    // first step (none: not known). The rows of a command that changed nothing stand where
    // they stood, and the store's commands act on them as before.
    virtual std::optional<int> ShiftedFromBefore() const { return std::nullopt; }
    // The rows the command wrote in place, whole as they were before it (null: it keeps
    // none so).
    virtual const CRowImage* RowsBefore() const { return nullptr; }
    // Every used row as it stood before the command, with the used-row count, kept by a
    // command that writes some rows but whose change what follows it may give back while
    // rewriting others (a pasted figure the totals write again): whether it changed nothing
    // is then told by every row.
    void KeepEveryRowBefore(CRowImage&& rows);
    // The rows ChangedNothing compares: every used row when kept, else RowsBefore().
    const CRowImage* ComparedRows() const;

private:
    std::unique_ptr<CRowImage> m_pEveryRow;
};

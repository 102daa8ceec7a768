// The parts list's undo commands, in the undo store both grids use (CUndoStoreOf), one per
// document. A command keeps exactly what its editing command changed and puts it back
// itself; redo puts back what the command left. Neither runs an editing command again, so
// neither depends on the selection, the cursor or the clipboard of its moment.
//
// Two kinds cover every command of the list:
// - CPartsRowsWritten: rows written in place (typing, a paste or cut of cells, a sort, a
//   replace, a row clear, a unit picked, the fixed-rate change, a range total placed). The
//   rows are kept whole as they were, with the rows in use; undo and redo exchange them with
//   what the rows hold.
// - CPartsRowsSplice: rows put in or taken out at one row (a row insert or delete, rows cut
//   or pasted, rows read from a CSV file or another parts file). The rows taken out are
//   kept; undo takes the rows put in out again (keeping them as the command left them) and
//   puts the others back, redo the other way round.
//
// What a user sees besides the rows is what the editing commands did: an undo of a rows cut
// makes the cut's first cell current; an undo of rows pasted cuts them (they go to the
// clipboard, as rows); a redo of a cut puts what it cut on the clipboard again; the row
// delete and insert move the cursor by the rows' count less one. The grid does these from
// the outcome.
#pragma once

#include "engine/estimate/CRowImage.h"
#include "engine/estimate/CUndoStore.h"
#include "engine/parts/CPMObj.h"

#include <memory>
#include <optional>
#include <vector>

class CGridRow;
class CPartsModel;

// What the grid does after an undo or a redo.
struct CPartsUndoOutcome {
    // stays: where it is; moved: to nCol, nRow (scrolled into view with bScroll); shifted:
    // its row moves by nShift (never above row 0), only when it lies below nShiftBelow when
    // that is not -1.
    enum class ECell { stays, moved, shifted };
    ECell eCell = ECell::stays;
    int nCol = 0;
    int nRow = 0;
    bool bScroll = false;
    int nShift = 0;
    int nShiftBelow = -1;
    // The rows from here on changed: repainted (-1: none).
    int nChangedFrom = -1;
    // Records to put on the clipboard (the command's own, valid while it is kept; null: the
    // clipboard stays as it is), and whether the copy mode becomes rows.
    const CPMObjList* pClipboard = nullptr;
    bool bClipboardRows = false;
};

class CPartsUndoCommand {
public:
    using Target = CPartsModel;
    using Outcome = CPartsUndoOutcome;
    // What the command was (the undo kind).
    enum EAction : int {
        undoNone = -1,
        undoCutCells = 0,
        undoCutRows = 1,
        undoPasteCells = 2,
        undoPasteRows = 3,
        undoPasteTiled = 4,
        undoPasteColumn = 5,
        undoRowDelete = 6,
        undoRowInsert = 7,
        // Rows written in place: typing into a cell, a sort, a replace, a row clear, a unit
        // picked, the fixed-rate change, a range total placed.
        undoRowsWritten = 8,
        // Rows read from a CSV file or from another parts file.
        undoRowsRead = 9
    };

    CPartsUndoCommand() = default;
    CPartsUndoCommand(const CPartsUndoCommand&) = delete;
    CPartsUndoCommand& operator=(const CPartsUndoCommand&) = delete;
    virtual ~CPartsUndoCommand() = default;

    virtual EAction Action() const = 0;
    virtual CPartsUndoOutcome Undo(CPartsModel& model) = 0;
    virtual CPartsUndoOutcome Redo(CPartsModel& model) = 0;
    // The first and the last row the command names.
    virtual int FirstRow() const = 0;
    virtual int LastRow() const = 0;
    // Whether the list stands as the command found it, right after the command: it changed
    // nothing, and records nothing.
    virtual bool ChangedNothing(const CPartsModel& /*model*/) const { return false; }
    // The first row the store had noted moved before the command moved rows (none: not
    // known); see CUndoCommand::ShiftedFromBefore.
    virtual std::optional<int> ShiftedFromBefore() const { return std::nullopt; }
};

using CPartsUndoStore = CUndoStoreOf<CPartsUndoCommand>;

class CPartsRowsWritten final : public CPartsUndoCommand {
public:
    // The rows of before, as they were before the command wrote them.
    CPartsRowsWritten(EAction eAction, CRowImage&& before) : m_eAction(eAction), m_rows(std::move(before)) {}
    // What a cut put on the clipboard, which its redo puts there again.
    void KeepForClipboard(const CPMObjList& records) { m_clipboard.CopyFrom(records); }

    EAction Action() const override { return m_eAction; }
    CPartsUndoOutcome Undo(CPartsModel& model) override;
    CPartsUndoOutcome Redo(CPartsModel& model) override;
    int FirstRow() const override { return m_rows.FirstRow(); }
    int LastRow() const override { return m_rows.LastRow(); }
    // The rows it wrote stand as they were, with the rows in use.
    bool ChangedNothing(const CPartsModel& model) const override;

private:
    // The kept rows go back and the rows as they stand are kept instead.
    void Exchange(CPartsModel& model);

    EAction m_eAction;
    CRowImage m_rows;
    CPMObjList m_clipboard;
};

class CPartsRowsSplice final : public CPartsUndoCommand {
public:
    // At nRow the command took out removed (in order; a null entry: a row without an
    // object) and put nInserted rows in, the rows in use going from nRowsBefore to
    // nRowsAfter.
    CPartsRowsSplice(EAction eAction, int nRow, std::vector<std::unique_ptr<CGridRow>>&& removed,
                     int nInserted, int nRowsBefore, int nRowsAfter);
    ~CPartsRowsSplice() override;
    // A rows cut: the column of the cell its undo makes current, and what it put on the
    // clipboard (its redo puts it there again).
    void KeepCut(int nCol, const CPMObjList& records);
    // Rows pasted: their undo cuts columns 0 to nLastCol of them to the clipboard.
    void SetPastedWidth(int nLastCol) { m_nPastedLastCol = nLastCol; }

    EAction Action() const override { return m_eAction; }
    CPartsUndoOutcome Undo(CPartsModel& model) override;
    CPartsUndoOutcome Redo(CPartsModel& model) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override;

private:
    EAction m_eAction;
    int m_nRow;
    int m_nRemoved;
    int m_nInserted;
    int m_nRowsBefore;
    int m_nRowsAfter;
    // The rows out of the list: those the command took out (before an undo and after a
    // redo), or those it put in (after an undo).
    std::vector<std::unique_ptr<CGridRow>> m_out;
    int m_nCutCol = 0;
    int m_nPastedLastCol = 0;
    CPMObjList m_clipboard;
};

// CUndoStore: the estimate's one level of undo and redo. It holds the last command recorded
// (which undo takes back) or the command undo took back (which redo does again), never both.
//
// A command names rows by number. Every insertion, deletion or reordering of rows is noted
// here with the first row that moved (NoteRowShift); once rows at or above the last row the
// command names moved by something it does not know about (a page inserted, a subject
// dragged, a sort), neither undo nor redo acts on it rather than change the wrong rows. Rows
// moved only below its rows leave it as good as it was. Undo and redo themselves, and the
// commands they run again, keep it in step.
#pragma once

#include "estimate/engine/CUndoCommand.h"

#include <climits>
#include <memory>

class CUndoStore {
public:
    CUndoStore() = default;
    CUndoStore(const CUndoStore&) = delete;
    CUndoStore& operator=(const CUndoStore&) = delete;

    // The command undo takes back from now on; what redo could do again goes (the rows it
    // would act on are no longer those it was made for).
    void Record(std::unique_ptr<CUndoCommand> pCommand);
    // A change by a command that recorded nothing: neither undo nor redo acts any more.
    void Withdraw();

    const CUndoCommand* GetUndoCommand() const { return m_pUndo.get(); }
    // The action codes of the two (CUndoCommand::undoNone: nothing).
    CUndoCommand::EAction GetUndoAction() const;
    CUndoCommand::EAction GetRedoAction() const;
    bool CanUndo() const { return m_pUndo != nullptr && IsCurrent(); }
    bool CanRedo() const { return m_pRedo != nullptr && IsCurrent(); }

    // Takes the last command back; redo can do it again afterwards. What the command runs
    // again meanwhile records nothing that undo could take back. Nothing happens (an empty
    // outcome) when undo cannot act.
    CUndoOutcome Undo(IUndoTarget& target);
    // Does the command again; undo takes back what the redo did: the command a command run
    // again recorded, or the command itself.
    CUndoOutcome Redo(IUndoTarget& target);

    // Rows inserted, deleted or reordered from nFromRow on.
    void NoteRowShift(int nFromRow);
    // A command that moves rows after it recorded keeps its record in step.
    void KeepInStep() { m_nShiftedFrom = INT_MAX; }
    // false once rows at or above the last row the command names moved.
    bool IsCurrent() const;

private:
    std::unique_ptr<CUndoCommand> m_pUndo;
    std::unique_ptr<CUndoCommand> m_pRedo;
    // The first row that moved since the command was recorded (INT_MAX: none).
    int m_nShiftedFrom = INT_MAX;
};

// CUndoStore: a document's one level of undo and redo. It holds the last command recorded
// (which undo takes back) or the command undo took back (which redo does again), never both.
//
// A command names rows by number. Every insertion, deletion or reordering of rows is noted
// here with the first row that moved (NoteRowShift); once rows at or above the last row the
// command names moved by something it does not know about (a page inserted, a subject
// dragged, a sort), neither undo nor redo acts on it rather than change the wrong rows. Rows
// moved only below its rows leave it as good as it was. Undo and redo themselves, and the
// commands they run again, keep it in step.
//
// The store is one for both grids: CUndoStoreOf takes the grid's command class, which says
// what its commands act on (Target), what the grid does afterwards (Outcome) and its action
// codes (EAction, with undoNone for none). The estimate's is CUndoStore; the parts list's
// keeps its own commands (engine/parts/PartsUndoCommands.h) in the same store.
#pragma once

#include "engine/estimate/CUndoCommand.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <utility>

template <class TCommand>
class CUndoStoreOf {
public:
    using EAction = typename TCommand::EAction;
    using Target = typename TCommand::Target;
    using Outcome = typename TCommand::Outcome;

    CUndoStoreOf() = default;
    CUndoStoreOf(const CUndoStoreOf&) = delete;
    CUndoStoreOf& operator=(const CUndoStoreOf&) = delete;

    // What the store's commands act on, where it asks whether a command changed anything.
    void WatchTarget(const Target& target) { m_pTarget = &target; }

    // The command undo takes back from now on; what redo could do again goes (the rows it
    // would act on are no longer those it was made for). A command that left the watched
    // target as it found it changed nothing: it is not recorded, and the undo and redo there
    // were stay.
    void Record(std::unique_ptr<TCommand> pCommand)
    {
        if (pCommand != nullptr && m_pTarget != nullptr && pCommand->ChangedNothing(*m_pTarget)) {
            // The rows it moved stand where they stood.
            if (const std::optional<int> nShiftedFrom = pCommand->ShiftedFromBefore())
                m_nShiftedFrom = *nShiftedFrom;
            return;
        }
        // What it replaces is kept until the store changes again (TakeBackUnchanged); a
        // command that joined the last one took that in.
        if (std::exchange(m_bJoining, false))
            m_replaced.reset();
        else
            m_replaced.emplace(CReplaced{std::move(m_pUndo), std::move(m_pRedo), m_nShiftedFrom, m_nRecords});
        m_pUndo = std::move(pCommand);
        m_pRedo.reset();
        KeepInStep();
        ++m_nRecords;
    }
    // The last command recorded, once what follows it in the same user command is done (the
    // figures worked out again), leaves the watched target as it found it: it is taken back
    // and the undo and redo it replaced come back as they were, with the record count they
    // had. false when the store changed otherwise since the record, or it changed something.
    bool TakeBackUnchanged()
    {
        if (!m_replaced || m_pUndo == nullptr || m_pTarget == nullptr || !m_pUndo->ChangedNothing(*m_pTarget))
            return false;
        CReplaced replaced = std::move(*m_replaced);
        m_replaced.reset();
        m_pUndo = std::move(replaced.pUndo);
        m_pRedo = std::move(replaced.pRedo);
        m_nShiftedFrom = replaced.nShiftedFrom;
        m_nRecords = replaced.nRecords;
        return true;
    }
    // A change by a command that recorded nothing: neither undo nor redo acts any more.
    void Withdraw()
    {
        m_pUndo.reset();
        m_pRedo.reset();
        m_replaced.reset();
        ++m_nRecords;
    }
    // How often a command was recorded or the record withdrawn: what is kept along with the
    // record belongs to it while this stays.
    unsigned long long GetRecordCount() const { return m_nRecords; }

    const TCommand* GetUndoCommand() const { return m_pUndo.get(); }
    // The last command recorded, taken out for a command that joins it to record it again as
    // part of its own; null when undo could not act on it.
    std::unique_ptr<TCommand> TakeUndoCommand()
    {
        if (!CanUndo())
            return nullptr;
        m_bJoining = true;
        return std::move(m_pUndo);
    }
    // The action codes of the two (undoNone: nothing).
    EAction GetUndoAction() const { return m_pUndo != nullptr ? m_pUndo->Action() : TCommand::undoNone; }
    EAction GetRedoAction() const { return m_pRedo != nullptr ? m_pRedo->Action() : TCommand::undoNone; }
    bool CanUndo() const { return m_pUndo != nullptr && IsCurrent(); }
    bool CanRedo() const { return m_pRedo != nullptr && IsCurrent(); }

    // Takes the last command back; redo can do it again afterwards. What the command runs
    // again meanwhile records nothing that undo could take back. Nothing happens (an empty
    // outcome) when undo cannot act.
    Outcome Undo(Target& target)
    {
        if (!CanUndo())
            return {};
        MORVEL_CHECK(m_pRedo == nullptr, "undo and redo never both hold a command");
        m_replaced.reset();
        std::unique_ptr<TCommand> pCommand = std::move(m_pUndo);
        const Outcome outcome = pCommand->Undo(target);
        // A command the undo ran again (the delete of a special row) recorded its own command:
        // only the redo of the command taken back is left.
        m_pUndo.reset();
        m_pRedo = std::move(pCommand);
        KeepInStep();
        return outcome;
    }
    // Does the command again; undo takes back what the redo did: the command a command run
    // again recorded, or the command itself.
    Outcome Redo(Target& target)
    {
        if (!CanRedo())
            return {};
        MORVEL_CHECK(m_pUndo == nullptr, "undo and redo never both hold a command");
        m_replaced.reset();
        std::unique_ptr<TCommand> pCommand = std::move(m_pRedo);
        const Outcome outcome = pCommand->Redo(target);
        // A command run again recorded what its next undo needs; a command that put its rows
        // back itself stays.
        if (m_pUndo == nullptr)
            m_pUndo = std::move(pCommand);
        m_pRedo.reset();
        KeepInStep();
        return outcome;
    }

    // Rows inserted, deleted or reordered from nFromRow on.
    void NoteRowShift(int nFromRow)
    {
        m_nShiftedFrom = std::min(m_nShiftedFrom, std::max(0, nFromRow));
        m_replaced.reset();
    }
    // A command that moves rows after it recorded keeps its record in step.
    void KeepInStep() { m_nShiftedFrom = INT_MAX; }
    // The first row moved since the command was recorded (INT_MAX: none).
    int GetShiftedFrom() const { return m_nShiftedFrom; }
    // false once rows at or above the last row the command names moved.
    bool IsCurrent() const
    {
        const TCommand* pCommand = m_pUndo != nullptr ? m_pUndo.get() : m_pRedo.get();
        return pCommand == nullptr || m_nShiftedFrom > pCommand->LastRow();
    }

private:
    // The undo and redo a record replaced, as they stood.
    struct CReplaced {
        std::unique_ptr<TCommand> pUndo;
        std::unique_ptr<TCommand> pRedo;
        int nShiftedFrom;
        unsigned long long nRecords;
    };

    std::unique_ptr<TCommand> m_pUndo;
    std::unique_ptr<TCommand> m_pRedo;
    // The first row that moved since the command was recorded (INT_MAX: none).
    int m_nShiftedFrom = INT_MAX;
    unsigned long long m_nRecords = 0;
    const Target* m_pTarget = nullptr;
    std::optional<CReplaced> m_replaced;
    bool m_bJoining = false; // TakeUndoCommand gave the record to the one recorded next
};

// The estimate's store.
using CUndoStore = CUndoStoreOf<CUndoCommand>;

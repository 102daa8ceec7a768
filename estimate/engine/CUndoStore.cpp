#include "estimate/engine/CUndoStore.h"

#include "platform/base/Check.h"

#include <algorithm>
#include <utility>

void CUndoStore::Record(std::unique_ptr<CUndoCommand> pCommand)
{
    m_pUndo = std::move(pCommand);
    m_pRedo.reset();
    KeepInStep();
}

void CUndoStore::Withdraw()
{
    m_pUndo.reset();
    m_pRedo.reset();
}

CUndoCommand::EAction CUndoStore::GetUndoAction() const
{
    return m_pUndo != nullptr ? m_pUndo->Action() : CUndoCommand::undoNone;
}

CUndoCommand::EAction CUndoStore::GetRedoAction() const
{
    return m_pRedo != nullptr ? m_pRedo->Action() : CUndoCommand::undoNone;
}

CUndoOutcome CUndoStore::Undo(IUndoTarget& target)
{
    if (!CanUndo())
        return {};
    MORVEL_CHECK(m_pRedo == nullptr, "undo and redo never both hold a command");
    std::unique_ptr<CUndoCommand> pCommand = std::move(m_pUndo);
    const CUndoOutcome outcome = pCommand->Undo(target);
    // A command the undo ran again (the delete of a special row) recorded its own command:
    // only the redo of the command taken back is left.
    m_pUndo.reset();
    m_pRedo = std::move(pCommand);
    KeepInStep();
    return outcome;
}

CUndoOutcome CUndoStore::Redo(IUndoTarget& target)
{
    if (!CanRedo())
        return {};
    MORVEL_CHECK(m_pUndo == nullptr, "undo and redo never both hold a command");
    std::unique_ptr<CUndoCommand> pCommand = std::move(m_pRedo);
    const CUndoOutcome outcome = pCommand->Redo(target);
    // A command run again recorded what its next undo needs; a command that put its rows
    // back itself stays.
    if (m_pUndo == nullptr)
        m_pUndo = std::move(pCommand);
    m_pRedo.reset();
    KeepInStep();
    return outcome;
}

void CUndoStore::NoteRowShift(int nFromRow)
{
    m_nShiftedFrom = std::min(m_nShiftedFrom, std::max(0, nFromRow));
}

bool CUndoStore::IsCurrent() const
{
    const CUndoCommand* pCommand = m_pUndo != nullptr ? m_pUndo.get() : m_pRedo.get();
    return pCommand == nullptr || m_nShiftedFrom > pCommand->LastRow();
}

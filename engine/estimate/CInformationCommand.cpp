#include "engine/estimate/CInformationCommand.h"

#include <utility>

CInformationCommand::CValues CInformationCommand::Take(const IUndoTarget& target, int nValues)
{
    CValues taken;
    taken.nCount = target.GetInformationCount();
    for (int i = 0; i < nValues; ++i)
        taken.values.push_back(target.GetInformation(i));
    return taken;
}

CInformationCommand::CInformationCommand(std::unique_ptr<CUndoCommand> pRows, CValues&& before,
                                         CValues&& after)
    : m_pRows(std::move(pRows)), m_before(std::move(before)), m_after(std::move(after))
{
}

void CInformationCommand::Put(IUndoTarget& target, const CValues& values)
{
    for (size_t i = 0; i < values.values.size(); ++i)
        target.SetInformation(static_cast<int>(i), values.values[i]);
    // A value set grows the count: the count goes last.
    target.SetInformationCount(values.nCount);
}

CUndoOutcome CInformationCommand::Undo(IUndoTarget& target)
{
    const CUndoOutcome outcome = m_pRows != nullptr ? m_pRows->Undo(target) : CUndoOutcome();
    Put(target, m_before);
    return outcome;
}

CUndoOutcome CInformationCommand::Redo(IUndoTarget& target)
{
    const CUndoOutcome outcome = m_pRows != nullptr ? m_pRows->Redo(target) : CUndoOutcome();
    Put(target, m_after);
    return outcome;
}

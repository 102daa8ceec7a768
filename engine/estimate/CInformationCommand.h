// CInformationCommand: the information values a command took over, with the rows the same
// command read. Reading an estimate of another form puts its rows in and then takes over its
// information values through a mapping of their own: one undo takes both back, one redo does
// both again.
#pragma once

#include "engine/estimate/CUndoCommand.h"
#include "platform/base/CString.h"

#include <memory>
#include <vector>

class CInformationCommand final : public CUndoCommand {
public:
    // The information values as they stand: their count and the first nValues of them (as
    // many as the command may have changed, count or no count).
    struct CValues {
        int nCount = 0;
        std::vector<CString> values;
    };
    static CValues Take(const IUndoTarget& target, int nValues);

    // pRows: the rows command the same command recorded before it took the values over (its
    // redo puts the rows back itself, recording nothing), or null when it read no rows.
    CInformationCommand(std::unique_ptr<CUndoCommand> pRows, CValues&& before, CValues&& after);

    EAction Action() const override { return m_pRows != nullptr ? m_pRows->Action() : undoRowsRead; }
    // The rows' command taken back, then the values as they were; redo the other way round.
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    // The rows' command's rows; values alone name no row, so no shift of rows makes them
    // unusable.
    int FirstRow() const override { return m_pRows != nullptr ? m_pRows->FirstRow() : 0; }
    int LastRow() const override { return m_pRows != nullptr ? m_pRows->LastRow() : -1; }

private:
    static void Put(IUndoTarget& target, const CValues& values);

    std::unique_ptr<CUndoCommand> m_pRows;
    CValues m_before;
    CValues m_after;
};

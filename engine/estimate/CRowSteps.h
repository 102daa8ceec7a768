// CRowSteps: what a rows command (an insert, a delete, a cut, a paste, a pick of list rows)
// did to the rows, one step per insertion or deletion in the order they happened, the empty
// rows the page alignment put in or took away among them, with the row objects the steps
// took out (owned here, in the order they went). Taking the steps back, last first, gives
// the rows exactly as they were before the command, objects and used-row count included.
#pragma once

#include "engine/estimate/CRowImage.h"

#include <climits>
#include <memory>
#include <optional>
#include <vector>

class CGridRow;
class IUndoTarget;

class CRowSteps {
public:
    struct CStep {
        int nRow = 0;
        int nCount = 0;
        bool bInserted = false; // rows put in at nRow (else taken out there)
        int nUsedRowsBefore = 0;
    };

    CRowSteps() = default;
    CRowSteps(CRowSteps&&) noexcept = default;
    CRowSteps& operator=(CRowSteps&&) noexcept = default;
    CRowSteps(const CRowSteps&) = delete;
    CRowSteps& operator=(const CRowSteps&) = delete;
    ~CRowSteps();

    // A step (none for no rows).
    void Note(int nRow, int nCount, bool bInserted, int nUsedRowsBefore);
    // A row object a step took out, taken over.
    void Keep(CGridRow* pRow);

    bool IsEmpty() const { return m_steps.empty(); }
    const std::vector<CStep>& Steps() const { return m_steps; }
    size_t GetKeptCount() const { return m_kept.size(); }
    const CGridRow* GetKept(size_t i) const { return m_kept[i].get(); }
    // The last row the steps name (a deleted row, the last row put in), at least nLast.
    int LastRow(int nLast) const;

    // The first row the steps name (INT_MAX without steps).
    int FirstRow() const;

    // The used rows whole as they were before the first step, for telling whether the
    // command changed anything at all (a row inserted or deleted below the used rows);
    // null until kept. With them, the first row the undo store had noted moved then
    // (CUndoStore::GetShiftedFrom): a command that changed nothing moved no row.
    void KeepRowsBefore(CRowImage&& before, int nShiftedFrom)
    {
        m_before = std::move(before);
        m_bRowsKept = true;
        m_nShiftedFromBefore = nShiftedFrom;
    }
    const CRowImage* RowsBefore() const { return m_bRowsKept ? &m_before : nullptr; }
    std::optional<int> ShiftedFromBefore() const
    {
        return m_bRowsKept ? std::optional<int>(m_nShiftedFromBefore) : std::nullopt;
    }

    // Takes the steps back, last first, and empties them. The rows the first step put in
    // (when it put rows in) go to pFirstStepRows when given; every other row taken out is
    // freed. Returns the first row a step moved (page alignment may have moved rows above the
    // command's own), INT_MAX without steps.
    int TakeBack(IUndoTarget& target, std::vector<std::unique_ptr<CGridRow>>* pFirstStepRows = nullptr);
    // Takes the steps back as TakeBack does, but keeps them, and keeps the rows each step
    // put in as the command left them (with what was written into them since), for Replay.
    int TakeBackForReplay(IUndoTarget& target);
    // After TakeBackForReplay: does the steps again in their order, each putting in the rows
    // it had put in, each taking out what it took out (kept again), so that the rows are
    // those the command left. Returns the first row a step moved, INT_MAX without steps.
    int Replay(IUndoTarget& target);

private:
    // Takes the steps back; the rows of the steps that put rows in go to taken (by step,
    // when given) or are freed.
    int TakeBackSteps(IUndoTarget& target, std::vector<std::vector<std::unique_ptr<CGridRow>>>* pTaken);

    std::vector<CStep> m_steps;
    std::vector<std::unique_ptr<CGridRow>> m_kept;
    // After TakeBackForReplay, for each step the rows it had put in (empty for a step that
    // took rows out).
    std::vector<std::vector<std::unique_ptr<CGridRow>>> m_putIn;
    CRowImage m_before;
    bool m_bRowsKept = false;
    int m_nShiftedFromBefore = INT_MAX;
};

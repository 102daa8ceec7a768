#include "engine/estimate/CRowSteps.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CUndoCommand.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <climits>

CRowSteps::~CRowSteps() = default;

void CRowSteps::Note(int nRow, int nCount, bool bInserted, int nUsedRowsBefore)
{
    if (nCount > 0)
        m_steps.push_back({nRow, nCount, bInserted, nUsedRowsBefore});
}

void CRowSteps::Keep(CGridRow* pRow)
{
    m_kept.emplace_back(pRow);
}

int CRowSteps::LastRow(int nLast) const
{
    for (const CStep& step : m_steps)
        nLast = std::max(nLast, step.bInserted ? step.nRow + step.nCount - 1 : step.nRow);
    return nLast;
}

int CRowSteps::FirstRow() const
{
    int nFirst = INT_MAX;
    for (const CStep& step : m_steps)
        nFirst = std::min(nFirst, step.nRow);
    return nFirst;
}

int CRowSteps::TakeBack(IUndoTarget& target, std::vector<std::unique_ptr<CGridRow>>* pFirstStepRows)
{
    std::vector<std::vector<std::unique_ptr<CGridRow>>> taken;
    const int nFirstMoved = TakeBackSteps(target, pFirstStepRows != nullptr ? &taken : nullptr);
    if (pFirstStepRows != nullptr && !taken.empty()) {
        for (std::unique_ptr<CGridRow>& pRow : taken.front())
            pFirstStepRows->push_back(std::move(pRow));
    }
    m_steps.clear();
    return nFirstMoved;
}

int CRowSteps::TakeBackForReplay(IUndoTarget& target)
{
    m_putIn.clear();
    return TakeBackSteps(target, &m_putIn);
}

int CRowSteps::TakeBackSteps(IUndoTarget& target, std::vector<std::vector<std::unique_ptr<CGridRow>>>* pTaken)
{
    if (pTaken != nullptr) {
        pTaken->clear();
        pTaken->resize(m_steps.size());
    }
    int nFirstMoved = INT_MAX;
    for (size_t i = m_steps.size(); i-- > 0;) {
        const CStep& step = m_steps[i];
        nFirstMoved = std::min(nFirstMoved, step.nRow);
        if (step.bInserted) {
            std::vector<CGridRow*> out;
            target.TakeRowsOut(step.nRow, step.nCount, out);
            for (CGridRow* pRow : out) {
                if (pTaken != nullptr)
                    (*pTaken)[i].emplace_back(pRow);
                else
                    delete pRow;
            }
        } else {
            MORVEL_CHECK(m_kept.size() >= static_cast<size_t>(step.nCount), "a step's rows are kept");
            const size_t nFrom = m_kept.size() - std::min(m_kept.size(), static_cast<size_t>(step.nCount));
            std::vector<CGridRow*> back;
            for (size_t k = nFrom; k < m_kept.size(); ++k)
                back.push_back(m_kept[k].release());
            m_kept.resize(nFrom);
            target.PutRowsIn(step.nRow, static_cast<int>(back.size()), back.data());
        }
        // Rows below the used ones count as taken out or put in as well; the used-row count
        // goes back to what it was.
        target.RestoreUsedRows(step.nUsedRowsBefore);
    }
    MORVEL_CHECK(m_kept.empty(), "every row taken out went back");
    m_kept.clear();
    return nFirstMoved;
}

int CRowSteps::Replay(IUndoTarget& target)
{
    MORVEL_CHECK(m_putIn.size() == m_steps.size(), "the steps were taken back for a replay");
    int nFirstMoved = INT_MAX;
    for (size_t i = 0; i < m_steps.size(); ++i) {
        const CStep& step = m_steps[i];
        nFirstMoved = std::min(nFirstMoved, step.nRow);
        if (step.bInserted) {
            // The rows as the command left them; an empty one for any it lost meanwhile.
            std::vector<CGridRow*> rows(static_cast<size_t>(step.nCount), nullptr);
            std::vector<std::unique_ptr<CGridRow>>& putIn = m_putIn[i];
            for (size_t k = 0; k < rows.size() && k < putIn.size(); ++k)
                rows[k] = putIn[k].release();
            for (CGridRow*& pRow : rows) {
                if (pRow == nullptr)
                    pRow = new CGridRow;
            }
            target.PutRowsIn(step.nRow, step.nCount, rows.data());
        } else {
            std::vector<CGridRow*> taken;
            target.TakeRowsOut(step.nRow, step.nCount, taken);
            for (CGridRow* pRow : taken)
                Keep(pRow);
        }
    }
    m_putIn.clear();
    return nFirstMoved;
}

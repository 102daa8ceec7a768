#include "estimate/engine/CRowSteps.h"

#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CUndoCommand.h"
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

int CRowSteps::TakeBack(IUndoTarget& target, std::vector<std::unique_ptr<CGridRow>>* pFirstStepRows)
{
    const std::vector<CStep> steps = std::move(m_steps);
    m_steps.clear();
    int nFirstMoved = INT_MAX;
    for (size_t i = steps.size(); i-- > 0;) {
        const CStep& step = steps[i];
        nFirstMoved = std::min(nFirstMoved, step.nRow);
        if (step.bInserted) {
            std::vector<CGridRow*> out;
            target.TakeRowsOut(step.nRow, step.nCount, out);
            for (CGridRow* pRow : out) {
                if (i == 0 && pFirstStepRows != nullptr)
                    pFirstStepRows->emplace_back(pRow);
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
        target.SetUsedRows(step.nUsedRowsBefore);
    }
    MORVEL_CHECK(m_kept.empty(), "every row taken out went back");
    m_kept.clear();
    return nFirstMoved;
}

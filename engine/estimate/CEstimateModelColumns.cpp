// The estimate model's commands over whole columns: item clear, which empties a column's
// cells in every used row, and the indent tool's, which moves one item's text right or left
// in every row of a level. Each keeps the edit page's rows it rewrites for its undo command.
#include "engine/estimate/CEstimateModel.h"

#include "engine/estimate/RowKinds.h"
#include "engine/estimate/UndoCommands.h"

#include <algorithm>
#include <utility>

namespace {

// A heading of the level, its total, or the heading on the summary page.
bool IsHeadingOrItsTotal(ERowKind nKind, ERowKind nHeading)
{
    return nKind == nHeading || nKind == TotalKindOf(nHeading) || nKind == SummaryKindOf(nHeading);
}

bool IsIndentTarget(ERowKind nKind, CEstimateModel::EIndentLevel eLevel)
{
    using EIndentLevel = CEstimateModel::EIndentLevel;
    switch (eLevel) {
    case EIndentLevel::kind:
        return IsHeadingOrItsTotal(nKind, kindKind);
    case EIndentLevel::large:
        return IsHeadingOrItsTotal(nKind, kindLarge);
    case EIndentLevel::middle:
        return IsHeadingOrItsTotal(nKind, kindMiddle);
    case EIndentLevel::small:
        return IsHeadingOrItsTotal(nKind, kindSmall);
    case EIndentLevel::detail:
        return nKind == kindDetail || nKind == SummaryKindOf(kindDetail);
    case EIndentLevel::all:
        return true;
    }
    return false; // a level the indent tool does not offer moves no row
}

} // namespace

CEstimateModel::CColumnSpan CEstimateModel::ClearColumns(int nFirstCol, int nLastCol)
{
    nFirstCol = std::max(nFirstCol, 0);
    nLastCol = std::min(nLastCol, m_engine.Columns().GetLimit() - 1);
    if (nFirstCol > nLastCol || m_nUsedRows <= 0)
        return {};
    // The rows as they were, what was typed into them included.
    CRowImage before = TakeEveryRow();
    for (int c = nFirstCol; c <= nLastCol; ++c) {
        for (int r = 0; r < m_nUsedRows; ++r)
            m_engine.SetCellText("", r, c, true);
    }
    m_undo.Record(CCellsCommand::Rewrite(CUndoCommand::undoItemClear, std::move(before)));
    return {nFirstCol, nLastCol};
}

bool CEstimateModel::IndentColumn(EPage ePage, int nCol, EIndentLevel eLevel, EIndentMove eMove, int nAmount)
{
    if (!m_engine.IsValidColumn(nCol))
        return false;
    const bool bSummary = ePage == EPage::summary;
    const int nLastRow = bSummary ? static_cast<int>(m_summaryRows.GetSize()) - 1 : m_nUsedRows - 1;
    // The edit page's rows as they were, for undo (the summary page is made again from them).
    CRowImage before =
        bSummary ? CRowImage() : CRowImage::Take(m_editRows, 0, nLastRow, m_nUsedRows, m_nRowLimit);
    for (int r = 0; r <= nLastRow; ++r) {
        const ERowKind nKind = RowKind(ePage, r);
        if (!IsIndentTarget(nKind, eLevel))
            continue;
        int nIndent = 0;
        if (eMove == EIndentMove::reduce)
            nIndent = CellIndent(ePage, r, nCol) - nAmount;
        else if (eMove == EIndentMove::increase)
            nIndent = CellIndent(ePage, r, nCol) + nAmount;
        SetCellIndent(ePage, nIndent, r, nCol);
        // A summary row written at the top shows the same heading on the summary page.
        if (!bSummary && IsSummaryKind(nKind) && r < m_summaryRows.GetSize())
            SetCellIndent(EPage::summary, nIndent, r, nCol);
    }
    if (before.IsEmpty())
        return false;
    m_undo.Record(CCellsCommand::Rewrite(CUndoCommand::undoIndent, std::move(before)));
    return true;
}

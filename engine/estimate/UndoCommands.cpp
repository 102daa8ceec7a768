#include "engine/estimate/UndoCommands.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

// The last of nCount rows from nFirstRow (at least the one).
int LastOf(int nFirstRow, int nCount)
{
    return nFirstRow + std::max(1, nCount) - 1;
}

// A kept row back at nRow as it was, its figures included; a row beyond the used ones that
// holds something makes them reach it.
void PutRowBack(IUndoTarget& target, const CGridRow& kept, int nRow)
{
    *target.Engine().MakeRow(nRow) = kept;
    if (target.GetUsedRows() <= nRow && kept.GetKind() != kindEmpty)
        target.RestoreUsedRows(nRow + 1);
}

CUndoOutcome ChangedFrom(int nRow)
{
    CUndoOutcome outcome;
    outcome.nChangedFrom = nRow;
    return outcome;
}

// A command run again at the cell nCol, nRow, nothing selected.
CUndoOutcome AtCell(int nCol, int nRow, int nChangedFrom)
{
    CUndoOutcome outcome = ChangedFrom(nChangedFrom);
    outcome.eSelection = CUndoOutcome::ESelection::none;
    outcome.eCell = CUndoOutcome::ECell::moved;
    outcome.nCol = nCol;
    outcome.nRow = nRow;
    return outcome;
}

// A command run again over nCount whole rows from nFirstRow, which stay selected.
CUndoOutcome RowsSelected(int nFirstRow, int nCount)
{
    CUndoOutcome outcome = ChangedFrom(nFirstRow);
    outcome.eSelection = CUndoOutcome::ESelection::rows;
    outcome.nFirstSelected = nFirstRow;
    outcome.nSelectedCount = nCount;
    return outcome;
}

CString IntText(int n)
{
    return CString(std::to_string(n).c_str());
}

} // namespace

// ---------------------------------------------------------------------------------------
// Every command

CUndoCommand::CUndoCommand() = default;
CUndoCommand::~CUndoCommand() = default;

void CUndoCommand::KeepEveryRowBefore(CRowImage&& rows)
{
    m_pEveryRow = std::make_unique<CRowImage>(std::move(rows));
}

const CRowImage* CUndoCommand::ComparedRows() const
{
    return m_pEveryRow != nullptr ? m_pEveryRow.get() : RowsBefore();
}

bool CUndoCommand::ChangedNothing(const IUndoTarget& target) const
{
    // An image of no rows stands for a command that wrote none: it changed nothing as long
    // as the used rows stayed too.
    const CRowImage* pBefore = ComparedRows();
    return pBefore != nullptr && pBefore->Matches(target.EditRows(), target.GetUsedRows());
}

// ---------------------------------------------------------------------------------------
// Cells

CCellsCommand::CCellsCommand(EAction eAction, int nCol, int nRow, CRowImage&& before)
    : m_eAction(eAction), m_nCol(nCol), m_nRow(nRow), m_before(std::move(before))
{
}

std::unique_ptr<CCellsCommand> CCellsCommand::Edit(int nCol, int nRow, const CString& strOld,
                                                   const CString& strNew, CRowImage&& before)
{
    std::unique_ptr<CCellsCommand> pCommand(new CCellsCommand(undoCellEdit, nCol, nRow, std::move(before)));
    pCommand->m_strOld = strOld;
    pCommand->m_strNew = strNew;
    return pCommand;
}

std::unique_ptr<CCellsCommand> CCellsCommand::Paste(int nCol, int nRow, CRowImage&& before)
{
    return std::unique_ptr<CCellsCommand>(new CCellsCommand(undoCellsPaste, nCol, nRow, std::move(before)));
}

std::unique_ptr<CCellsCommand> CCellsCommand::Cut(int nCol, int nRow, int nFirstCol, int nFirstRow,
                                                  CRowImage&& before)
{
    std::unique_ptr<CCellsCommand> pCommand(new CCellsCommand(undoCellsCut, nCol, nRow, std::move(before)));
    pCommand->m_nBlockCol = nFirstCol;
    pCommand->m_nBlockRow = nFirstRow;
    return pCommand;
}

std::unique_ptr<CCellsCommand> CCellsCommand::Rewrite(EAction eAction, CRowImage&& before)
{
    const int nFirstRow = before.FirstRow();
    return std::unique_ptr<CCellsCommand>(new CCellsCommand(eAction, 0, nFirstRow, std::move(before)));
}

CUndoOutcome CCellsCommand::Undo(IUndoTarget& target)
{
    m_after = CRowImage::Take(target.EditRows(), m_before.FirstRow(), m_before.LastRow(),
                              target.GetUsedRows(), target.GetRowLimit());
    m_before.PutBack(target);
    CUndoOutcome outcome = ChangedFrom(m_before.FirstRow());
    if (m_eAction == undoCellsCut) {
        // The cut block is current again, its first cell the current cell.
        outcome.eSelection = CUndoOutcome::ESelection::none;
        outcome.eCell = CUndoOutcome::ECell::moved;
        outcome.nCol = m_nBlockCol;
        outcome.nRow = m_nBlockRow;
    }
    return outcome;
}

CUndoOutcome CCellsCommand::Redo(IUndoTarget& target)
{
    m_after.PutBack(target);
    return ChangedFrom(m_after.FirstRow());
}

int CCellsCommand::LastRow() const
{
    return std::max(m_nRow, m_before.LastRow());
}

// ---------------------------------------------------------------------------------------
// Rows inserted and deleted

CUndoOutcome CRowStepsCommand::Undo(IUndoTarget& target)
{
    const int nFirstMoved = m_steps.TakeBack(target);
    CUndoOutcome outcome = ChangedFrom(std::min(FirstRow(), nFirstMoved));
    outcome.eSelection = CUndoOutcome::ESelection::none;
    outcome.eCell = CUndoOutcome::ECell::again;
    return outcome;
}

CRowsReplayCommand::CRowsReplayCommand(EAction eAction, CRowSteps&& steps)
    : CRowStepsCommand(std::move(steps)), m_eAction(eAction)
{
}

CUndoOutcome CRowsReplayCommand::Undo(IUndoTarget& target)
{
    m_nUsedRowsAfter = target.GetUsedRows();
    const int nFirstMoved = m_steps.TakeBackForReplay(target);
    CUndoOutcome outcome = ChangedFrom(nFirstMoved);
    outcome.eSelection = CUndoOutcome::ESelection::none;
    outcome.eCell = CUndoOutcome::ECell::again;
    return outcome;
}

CUndoOutcome CRowsReplayCommand::Redo(IUndoTarget& target)
{
    const int nFirstMoved = m_steps.Replay(target);
    // The command may have grown the used rows beyond its steps (text written past them).
    target.RestoreUsedRows(m_nUsedRowsAfter);
    CUndoOutcome outcome = ChangedFrom(nFirstMoved);
    outcome.eSelection = CUndoOutcome::ESelection::none;
    outcome.eCell = CUndoOutcome::ECell::again;
    return outcome;
}

int CRowsReplayCommand::FirstRow() const
{
    return std::min(m_steps.FirstRow(), INT_MAX - 1);
}

CUndoOutcome CRowInsertCommand::Redo(IUndoTarget& target)
{
    target.InsertRowAt(GetCol(), FirstRow());
    return AtCell(GetCol(), FirstRow(), std::max(0, FirstRow() - 1));
}

CUndoOutcome CRowDeleteCommand::Redo(IUndoTarget& target)
{
    target.DeleteRowAt(GetCol(), FirstRow());
    return AtCell(GetCol(), FirstRow(), FirstRow());
}

CRowsInsertCommand::CRowsInsertCommand(int nFirstRow, int nCount, CRowSteps&& steps)
    : CRowStepsCommand(std::move(steps)), m_nFirstRow(nFirstRow), m_nCount(nCount)
{
}

CUndoOutcome CRowsInsertCommand::Redo(IUndoTarget& target)
{
    target.InsertRowsAt(m_nFirstRow, m_nCount);
    return RowsSelected(m_nFirstRow, m_nCount);
}

int CRowsInsertCommand::LastRow() const
{
    return m_steps.LastRow(LastOf(m_nFirstRow, m_nCount));
}

// ---------------------------------------------------------------------------------------
// Rows cut and pasted

CRowsCutCommand::CRowsCutCommand(int nFirstRow, int nCount, CRowSteps&& steps)
    : CRowStepsCommand(std::move(steps)), m_nFirstRow(nFirstRow), m_nCount(nCount)
{
}

CUndoOutcome CRowsCutCommand::Undo(IUndoTarget& target)
{
    const int nFirstMoved = m_steps.TakeBack(target);
    CUndoOutcome outcome = ChangedFrom(std::min(m_nFirstRow, nFirstMoved));
    outcome.eCell = CUndoOutcome::ECell::moved;
    outcome.nCol = 0;
    outcome.nRow = m_nFirstRow;
    outcome.eSelection = CUndoOutcome::ESelection::rows;
    outcome.nFirstSelected = m_nFirstRow;
    outcome.nSelectedCount = std::max(1, m_nCount);
    return outcome;
}

CUndoOutcome CRowsCutCommand::Redo(IUndoTarget& target)
{
    if (m_nCount <= 0)
        return {};
    return target.CutRowsAt(0, m_nFirstRow, m_nCount);
}

int CRowsCutCommand::LastRow() const
{
    return m_steps.LastRow(LastOf(m_nFirstRow, m_nCount));
}

CRowsPasteCommand::CRowsPasteCommand(int nCol, int nRow, int nCount, bool bCounted, CRowSteps&& steps)
    : CRowStepsCommand(std::move(steps)), m_nCol(nCol), m_nRow(nRow), m_nCount(nCount), m_bCounted(bCounted)
{
}

CRowsPasteCommand::~CRowsPasteCommand() = default;

CUndoOutcome CRowsPasteCommand::Undo(IUndoTarget& target)
{
    if (m_nCount <= 0)
        return {};
    MORVEL_CHECK(!m_steps.IsEmpty() && m_steps.Steps().front().bInserted &&
                     m_steps.Steps().front().nRow == m_nRow && m_steps.Steps().front().nCount == m_nCount,
                 "a paste's first step puts its rows in");
    // The copy leaves the paste's cell current and nothing selected.
    CUndoOutcome outcome = target.CopyRowsAt(m_nCol, m_nRow, m_nCount);
    m_pasted.clear();
    const int nFirstMoved = m_steps.TakeBack(target, &m_pasted);
    outcome.nChangedFrom = std::min(m_nRow, nFirstMoved);
    return outcome;
}

CUndoOutcome CRowsPasteCommand::Redo(IUndoTarget& target)
{
    // The rows stay this command's while the paste copies them into new rows.
    std::vector<const CGridRow*> rows;
    for (const std::unique_ptr<CGridRow>& pRow : m_pasted)
        rows.push_back(pRow.get());
    return target.PasteRowsAt(m_nCol, m_nRow, rows, m_bCounted);
}

int CRowsPasteCommand::LastRow() const
{
    return m_steps.LastRow(LastOf(m_nRow, m_nCount));
}

// ---------------------------------------------------------------------------------------
// Rows cleared

CRowsClearCommand::CRowsClearCommand(int nCol, int nRow) : m_bWholeRows(false), m_nCol(nCol), m_nRow(nRow) {}

CRowsClearCommand::CRowsClearCommand(int nFirstRow) : m_bWholeRows(true), m_nCol(0), m_nRow(nFirstRow) {}

CRowsClearCommand::~CRowsClearCommand() = default;

void CRowsClearCommand::Keep(const CGridRow* pRow)
{
    m_kept.push_back(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : std::make_unique<CGridRow>());
}

CUndoOutcome CRowsClearCommand::Undo(IUndoTarget& target)
{
    for (size_t i = 0; i < m_kept.size(); ++i)
        PutRowBack(target, *m_kept[i], m_nRow + static_cast<int>(i));
    return ChangedFrom(m_nRow);
}

CUndoOutcome CRowsClearCommand::Redo(IUndoTarget& target)
{
    if (!m_bWholeRows) {
        target.ClearRowAt(m_nCol, m_nRow);
        return AtCell(m_nCol, m_nRow, m_nRow);
    }
    if (m_kept.empty())
        return {};
    target.ClearRowsAt(m_nRow, static_cast<int>(m_kept.size()));
    return RowsSelected(m_nRow, static_cast<int>(m_kept.size()));
}

int CRowsClearCommand::LastRow() const
{
    return m_bWholeRows ? LastOf(m_nRow, static_cast<int>(m_kept.size())) : m_nRow;
}

// ---------------------------------------------------------------------------------------
// The remembered row

CUndoOutcome CMarkRowCommand::Undo(IUndoTarget& target)
{
    target.SetMarkRow(-1);
    return {};
}

CUndoOutcome CMarkRowCommand::Redo(IUndoTarget& target)
{
    target.SetMarkRow(m_nRow);
    return {};
}

// ---------------------------------------------------------------------------------------
// Non-calculated marks

CNonCalculatedCommand::CNonCalculatedCommand(bool bSet, int nFirstRow, int nCount,
                                             std::vector<ERowKind>&& kinds)
    : m_bSet(bSet), m_nFirstRow(nFirstRow), m_nCount(nCount), m_kinds(std::move(kinds))
{
}

CUndoOutcome CNonCalculatedCommand::Undo(IUndoTarget& target)
{
    if (!m_before.IsEmpty()) {
        m_before.PutBack(target);
        return ChangedFrom(m_nFirstRow);
    }
    CEstimateEngine& engine = target.Engine();
    const int nCount = std::min(m_nCount, static_cast<int>(m_kinds.size()));
    for (int i = 0; i < nCount; ++i) {
        const int nRow = m_nFirstRow + i;
        const ERowKind nKind = m_kinds[static_cast<size_t>(i)];
        // A row that had no object and has none now stays without one.
        if (engine.IsValidRow(nRow) && (target.EditRows().GetRow(nRow) != nullptr || nKind != kindEmpty))
            engine.SetRowKind(nKind, nRow);
    }
    return ChangedFrom(m_nFirstRow);
}

CUndoOutcome CNonCalculatedCommand::Redo(IUndoTarget& target)
{
    if (m_nCount > 0)
        target.SetNonCalculated(m_bSet, m_nFirstRow, m_nFirstRow + m_nCount - 1);
    return ChangedFrom(m_nFirstRow);
}

int CNonCalculatedCommand::LastRow() const
{
    return LastOf(m_nFirstRow, m_nCount);
}

bool CNonCalculatedCommand::ChangedNothing(const IUndoTarget& target) const
{
    const int nCount = std::min(m_nCount, static_cast<int>(m_kinds.size()));
    for (int i = 0; i < nCount; ++i) {
        const CGridRow* pRow = target.EditRows().GetRow(m_nFirstRow + i);
        if ((pRow != nullptr ? pRow->GetKind() : kindEmpty) != m_kinds[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Fixed-rate change

std::vector<CString> CFixedRateCommand::GetTexts() const
{
    std::vector<CString> texts = m_formerTexts;
    if (m_settings.has_value()) {
        const CFixedRateChange::CCondition& condition = m_settings->condition;
        texts.insert(texts.end(),
                     {m_settings->strFormula, IntText(condition.nCol1), IntText(condition.nRelation1),
                      condition.strValue1, IntText(condition.nCol2), IntText(condition.nRelation2),
                      condition.strValue2, IntText(condition.nConjunction)});
    }
    return texts;
}

CUndoOutcome CFixedRateCommand::Undo(IUndoTarget& target)
{
    if (!m_before.IsEmpty()) {
        m_before.PutBack(target);
        return ChangedFrom(m_nFirstRow);
    }
    CEstimateEngine& engine = target.Engine();
    for (int i = 0; i < FormerTextCount(); ++i) {
        CString strText = m_formerTexts[static_cast<size_t>(i)];
        if (CNumberRules::IsNumberText(strText))
            strText = CNumberRules::FormatNormal(CNumberRules::ReadNumberText(strText));
        const int nRow = m_nFirstRow + i;
        engine.SetCellText(strText, nRow, m_nCol, true);
        engine.CalcRow(nRow, 0);
    }
    return ChangedFrom(m_nFirstRow);
}

CUndoOutcome CFixedRateCommand::Redo(IUndoTarget& target)
{
    if (!m_settings.has_value())
        return {};
    // The same column over the same rows as the first time.
    target.ApplyFixedRate(m_nCol, m_nFirstRow, m_nFirstRow + std::max(0, FormerTextCount() - 1), *m_settings);
    return ChangedFrom(m_nFirstRow);
}

int CFixedRateCommand::LastRow() const
{
    return LastOf(m_nFirstRow, FormerTextCount());
}

// ---------------------------------------------------------------------------------------
// Special rows

CSpecialRowCommand::CSpecialRowCommand(int nCol, int nRow, int nUsedRowsBefore, CRowSteps&& steps)
    : CRowStepsCommand(std::move(steps)), m_nCol(nCol), m_nRow(nRow), m_nUsedRowsBefore(nUsedRowsBefore)
{
}

CSpecialRowCommand::~CSpecialRowCommand() = default;

CUndoOutcome CSpecialRowCommand::Undo(IUndoTarget& target)
{
    m_nUsedRowsAfter = target.GetUsedRows();
    int nFirstMoved = m_nRow;
    if (!m_steps.IsEmpty()) {
        nFirstMoved = std::min(nFirstMoved, m_steps.TakeBackForReplay(target));
    } else {
        const CGridRow* pRow = target.EditRows().GetRow(m_nRow);
        m_pKept = pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr;
        target.DropRow(m_nRow);
    }
    target.RestoreUsedRows(m_nUsedRowsBefore);
    return AtCell(m_nCol, m_nRow, nFirstMoved);
}

CUndoOutcome CSpecialRowCommand::Redo(IUndoTarget& target)
{
    int nFirstMoved = m_nRow;
    if (!m_steps.IsEmpty()) {
        nFirstMoved = std::min(nFirstMoved, m_steps.Replay(target));
    } else if (m_pKept != nullptr) {
        *target.Engine().MakeRow(m_nRow) = *m_pKept;
        m_pKept.reset();
    }
    target.RestoreUsedRows(m_nUsedRowsAfter);
    return ChangedFrom(nFirstMoved);
}

#include "engine/parts/PartsUndoCommands.h"

#include "engine/estimate/CGridRow.h"
#include "engine/parts/CPartsModel.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Rows written in place

void CPartsRowsWritten::Exchange(CPartsModel& model)
{
    CRowImage now = model.TakeImage(m_rows.FirstRow(), m_rows.LastRow());
    m_rows.PutBack([&model](int nRow, const CGridRow* pKept) { model.PutRow(nRow, pKept); },
                   [&model](int nRowsInUse) { model.SetRowsInUse(nRowsInUse); });
    m_rows = std::move(now);
}

bool CPartsRowsWritten::ChangedNothing(const CPartsModel& model) const
{
    return !m_rows.IsEmpty() &&
           m_rows.Matches([&model](int nRow) { return model.GetRow(nRow); }, model.GetRowsInUse());
}

CPartsUndoOutcome CPartsRowsWritten::Undo(CPartsModel& model)
{
    Exchange(model);
    CPartsUndoOutcome outcome;
    outcome.nChangedFrom = FirstRow();
    return outcome;
}

CPartsUndoOutcome CPartsRowsWritten::Redo(CPartsModel& model)
{
    Exchange(model);
    CPartsUndoOutcome outcome;
    outcome.nChangedFrom = FirstRow();
    if (!m_clipboard.IsEmpty())
        outcome.pClipboard = &m_clipboard;
    return outcome;
}

// ---------------------------------------------------------------------------------------
// Rows put in and taken out

CPartsRowsSplice::CPartsRowsSplice(EAction eAction, int nRow,
                                   std::vector<std::unique_ptr<CGridRow>>&& removed, int nInserted,
                                   int nRowsBefore, int nRowsAfter)
    : m_eAction(eAction), m_nRow(nRow), m_nRemoved(static_cast<int>(removed.size())), m_nInserted(nInserted),
      m_nRowsBefore(nRowsBefore), m_nRowsAfter(nRowsAfter), m_out(std::move(removed))
{
}

CPartsRowsSplice::~CPartsRowsSplice() = default;

void CPartsRowsSplice::KeepCut(int nCol, const CPMObjList& records)
{
    m_nCutCol = nCol;
    m_clipboard.CopyFrom(records);
}

int CPartsRowsSplice::LastRow() const
{
    return m_nRow + std::max(0, std::max(m_nRemoved, m_nInserted) - 1);
}

CPartsUndoOutcome CPartsRowsSplice::Undo(CPartsModel& model)
{
    CPartsUndoOutcome outcome;
    outcome.nChangedFrom = m_nRow;
    if (m_eAction == undoPasteRows) {
        // The pasted rows are cut again: as the rows cut, the columns the clipboard held.
        model.CopyBlock(CRect(0, m_nRow, m_nPastedLastCol, m_nRow + m_nInserted - 1), m_clipboard);
        outcome.pClipboard = &m_clipboard;
        outcome.bClipboardRows = true;
        outcome.eCell = CPartsUndoOutcome::ECell::moved;
        outcome.nRow = m_nRow;
    } else if (m_eAction == undoCutRows) {
        outcome.eCell = CPartsUndoOutcome::ECell::moved;
        outcome.nCol = m_nCutCol;
        outcome.nRow = m_nRow;
        outcome.bScroll = true;
    } else if (m_eAction == undoRowDelete) {
        outcome.eCell = CPartsUndoOutcome::ECell::shifted;
        outcome.nShift = m_nRemoved - 1;
    } else if (m_eAction == undoRowInsert) {
        outcome.eCell = CPartsUndoOutcome::ECell::shifted;
        outcome.nShift = 1 - m_nInserted;
        outcome.nShiftBelow = m_nRow;
    }
    std::vector<std::unique_ptr<CGridRow>> inserted = model.TakeRowsOut(m_nRow, m_nInserted);
    model.PutRowsIn(m_nRow, m_out);
    m_out = std::move(inserted);
    model.SetRowsInUse(m_nRowsBefore);
    return outcome;
}

CPartsUndoOutcome CPartsRowsSplice::Redo(CPartsModel& model)
{
    CPartsUndoOutcome outcome;
    outcome.nChangedFrom = m_nRow;
    if (m_eAction == undoCutRows) {
        if (!m_clipboard.IsEmpty())
            outcome.pClipboard = &m_clipboard;
    } else if (m_eAction == undoRowDelete) {
        outcome.eCell = CPartsUndoOutcome::ECell::shifted;
        outcome.nShift = 1 - m_nRemoved;
        outcome.nShiftBelow = m_nRow;
    } else if (m_eAction == undoRowInsert) {
        outcome.eCell = CPartsUndoOutcome::ECell::shifted;
        outcome.nShift = m_nInserted - 1;
    }
    std::vector<std::unique_ptr<CGridRow>> removed = model.TakeRowsOut(m_nRow, m_nRemoved);
    model.PutRowsIn(m_nRow, m_out);
    m_out = std::move(removed);
    model.SetRowsInUse(m_nRowsAfter);
    return outcome;
}

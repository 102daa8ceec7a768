// Undo and redo of the estimate grid: one action each way. The editing commands record
// what they did in the undo record (RecordUndo: an action code, a position and the data to
// take it back); undo takes that one action back, redo does it again, mostly by running the
// same command at the recorded position, which records its own undo data as it runs.
//
// A record describes rows by number. A later insertion or deletion of rows that the
// record does not know about (a page inserted, rows dragged in the subject tree, a sort)
// moves the rows under those numbers when it happens at or above the last row the record
// names: the record remembers the first row moved since it was made, and once that lies
// within its rows neither undo nor redo act on it (both are disabled) rather than change
// the wrong rows. Rows moved only below its rows leave it as good as it was.
#include "estimate/CMorvelEMView.h"

#include "app/CMorvelApp.h"
#include "estimate/CCopyBufferItems.h"
#include "estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CUndoTextEntry.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// The eight settings a fixed-rate change keeps after the column's former texts.
constexpr INT_PTR kFixedRateSettings = 8;

const CString& UndoText(const CGridRowArray& texts, INT_PTR i)
{
    static const CString empty;
    const auto* pEntry = static_cast<const CUndoTextEntry*>(texts.GetWorkingArray().GetAt(i));
    return pEntry != nullptr ? pEntry->m_strText : empty;
}

} // namespace

// ---------------------------------------------------------------------------------------
// The record's step with the rows

void CMorvelEMView::KeepUndoRecordInStep()
{
    m_undo.nShiftedFrom = INT_MAX;
}

bool CMorvelEMView::IsUndoRecordCurrent() const
{
    return m_undo.nShiftedFrom > UndoRecordLastRow();
}

void CMorvelEMView::NoteRowShift(int nFromRow)
{
    m_undo.nShiftedFrom = std::min(m_undo.nShiftedFrom, std::max(0, nFromRow));
}

int CMorvelEMView::UndoRecordLastRow() const
{
    const int nAction = m_undo.nAction >= 0 ? m_undo.nAction : m_undo.nRedoAction;
    const CPoint pt = m_undo.ptPosition;
    // The rows from the position on, as many as the action names (at least the one).
    const auto rowsFrom = [&pt](INT_PTR nCount) { return pt.y + std::max(1, static_cast<int>(nCount)) - 1; };
    switch (nAction) {
    case undoRowsCut:
    case undoRowsPaste:
    case undoRowsPasteCount:
        return rowsFrom(m_undo.nPasteCount);
    case undoNonCalcSet:
    case undoNonCalcRelease:
    case undoRowsInsert:
        return rowsFrom(pt.x);
    case undoFixedRate:
        return rowsFrom(m_undo.texts.GetWorkingArray().GetSize() - kFixedRateSettings);
    case undoRowsClear:
        return rowsFrom(m_undo.rows.GetWorkingArray().GetSize());
    case undoCellsCut:
    case undoCellsPaste: {
        // The kept cells: two corners, then each cell's offset from the first corner.
        int nLast = std::max<int>(pt.y, m_undo.rcCellBlock.bottom);
        for (size_t i = 0; i < m_undo.cells.size(); ++i) {
            const CPoint ptCell = m_undo.cells[i].pt;
            nLast = std::max<int>(nLast, i < 2 ? ptCell.y : m_undo.cells[0].pt.y + ptCell.y);
        }
        return nLast;
    }
    default:
        return pt.y;
    }
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelEMView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_undo.nAction >= 0 && m_nSummaryPage == 0 && IsUndoRecordCurrent());
}

void CMorvelEMView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_undo.nRedoAction >= 0 && m_nSummaryPage == 0 && IsUndoRecordCurrent());
}

void CMorvelEMView::FinishOpenEditForUndo()
{
    // An edit still open is stored first, as the Down and Up keys store it, so that undo
    // takes back the latest action: the edit itself. The cursor stays on its cell.
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        const CPoint ptCell(m_nCurrentCol, m_nCurrentRow);
        SendKeyUpDown(VK_DOWN);
        SendKeyUpDown(VK_UP);
        if (CPoint(m_nCurrentCol, m_nCurrentRow) != ptCell)
            SetCurrentCell(ptCell.x, ptCell.y);
    }
    HideCellEdit();
}

void CMorvelEMView::OnEditUndo()
{
    if (m_nSummaryPage != 0)
        return;
    FinishOpenEditForUndo();
    const int nAction = m_undo.nAction;
    if (nAction < 0 || !IsUndoRecordCurrent())
        return;
    PerformUndo(nAction);
    m_undo.nRedoAction = nAction;
    SetDocumentModified();
    m_undo.nAction = undoNone;
    KeepUndoRecordInStep();
}

void CMorvelEMView::OnEditRedo()
{
    if (m_nSummaryPage != 0)
        return;
    FinishOpenEditForUndo();
    const int nAction = m_undo.nRedoAction;
    if (nAction < 0 || !IsUndoRecordCurrent())
        return;
    PerformRedo(nAction);
    SetDocumentModified();
    m_undo.nAction = nAction;
    m_undo.nRedoAction = undoNone;
    KeepUndoRecordInStep();
}

// ---------------------------------------------------------------------------------------
// Helpers the actions share

std::vector<const CGridRow*> CMorvelEMView::UndoRows() const
{
    std::vector<const CGridRow*> rows;
    for (INT_PTR i = 0; i < m_undo.rows.GetWorkingArray().GetSize(); ++i)
        rows.push_back(static_cast<const CGridRow*>(m_undo.rows.GetWorkingArray().GetAt(i)));
    return rows;
}

void CMorvelEMView::SelectWholeRows(int nFirstRow, int nCount)
{
    const int nColumns = GetColumnLimit();
    m_nSelectMode = selectRows;
    m_rcSelection.SetRect(0, nFirstRow, std::max(0, nColumns - 1), nFirstRow + std::max(1, nCount) - 1);
}

void CMorvelEMView::RefreshAfterUndo(int nFromRow)
{
    if (m_hWnd != nullptr) {
        InvalidateRows(std::max(0, nFromRow), m_nRowLimit - 1, TRUE);
        UpdateWindow();
    }
    RecalcTotals(nFromRow);
    UpdateTreeView();
}

void CMorvelEMView::RestoreRowFromUndo(INT_PTR nEntry, int nRow)
{
    const CGridRow* pSaved = m_undo.rows.GetRow(static_cast<int>(nEntry));
    CopyRow(pSaved, MakeEditRow(nRow));
    if (m_nUsedRows <= nRow && pSaved != nullptr && pSaved->m_nKind != kindEmpty) {
        m_nUsedRows = nRow + 1;
        UpdateScrollRanges();
    }
    CalcRow(nRow, 0);
}

void CMorvelEMView::SetRowKindsForUndo(bool bNonCalculated, int nFirstRow, int nCount)
{
    // Redo repeats the command, which keeps the kinds it finds for the next undo.
    if (nCount <= 0)
        return;
    SetNonCalculated(bNonCalculated, nFirstRow, nFirstRow + nCount - 1);
}

// ---------------------------------------------------------------------------------------
// Undo

void CMorvelEMView::PerformUndo(int nAction)
{
    const CPoint pt = m_undo.ptPosition;
    switch (nAction) {
    case undoCellEdit:
        SetCellText(m_undo.strUndoText, pt.y, pt.x, TRUE);
        CalcRow(pt.y, 0);
        if (m_hWnd != nullptr)
            InvalidateRows(pt.y, pt.y);
        RecalcTotals(pt.y);
        break;
    case undoRowInsert:
        m_nSelectMode = selectNone;
        SetCurrentCell(pt.x, pt.y);
        DeleteCurrentRow();
        break;
    case undoRowDelete: {
        InsertRowAligned(pt.y);
        RestoreRowFromUndo(0, pt.y);
        RefreshAfterUndo(pt.y);
        break;
    }
    case undoRowClear:
        RestoreRowFromUndo(0, pt.y);
        RefreshAfterUndo(pt.y);
        break;
    case undoRowsCut:
        // The cut rows (kept by the cut) go back above the row they left.
        SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(pt.y, 1);
        PasteRows(UndoRows());
        break;
    case undoRowsPaste:
    case undoRowsPasteCount: {
        // Exactly the rows the paste inserted go.
        const int nCount = m_undo.nPasteCount;
        if (nCount <= 0)
            break;
        SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(pt.y, nCount);
        CutRowsToBuffer();
        break;
    }
    case undoMarkRow:
        m_nMarkRow = -1;
        RefreshMarkRowHeads();
        break;
    case undoNonCalcSet:
    case undoNonCalcRelease: {
        // The kinds the rows had before the command, exactly: rows the command left alone
        // (already marked, or empty) keep their kind.
        const int nCount = std::min<int>(pt.x, static_cast<int>(m_undo.kinds.size()));
        for (int i = 0; i < nCount; ++i) {
            if (IsValidRow(pt.y + i) && (GetEditRow(pt.y + i) != nullptr || m_undo.kinds[i] != kindEmpty))
                SetRowKind(m_undo.kinds[static_cast<size_t>(i)], pt.y + i);
        }
        RefreshAfterUndo(pt.y);
        break;
    }
    case undoFixedRate: {
        const INT_PTR nTexts = m_undo.texts.GetWorkingArray().GetSize() - kFixedRateSettings;
        for (INT_PTR i = 0; i < nTexts; ++i) {
            CString strText = UndoText(m_undo.texts, i);
            if (CNumberRules::IsNumberText(strText))
                strText = CNumberRules::FormatNormal(CNumberRules::ReadNumberText(strText));
            const int nRow = pt.y + static_cast<int>(i);
            SetCellText(strText, nRow, pt.x, TRUE);
            CalcRow(nRow, 0);
        }
        RefreshAfterUndo(pt.y);
        break;
    }
    case undoRowsClear: {
        const INT_PTR nRows = m_undo.rows.GetWorkingArray().GetSize();
        for (INT_PTR i = 0; i < nRows; ++i)
            RestoreRowFromUndo(i, pt.y + static_cast<int>(i));
        RefreshAfterUndo(pt.y);
        break;
    }
    case undoRowsInsert: {
        const CPoint ptCurrent(m_nCurrentCol, m_nCurrentRow);
        SetCurrentCell(m_nCurrentCol, pt.y);
        const int nHeading = AdjustPageBreak(0, pt.y);
        DeleteRows(pt.y, pt.x);
        if (nHeading > 0)
            AdjustPageBreak(1, nHeading - pt.x);
        SetCurrentCell(ptCurrent.x, ptCurrent.y);
        m_nSelectMode = selectNone;
        RefreshAfterUndo(pt.y);
        break;
    }
    case undoCellsCut: {
        // The cut cells (kept by the cut) go back from the block's first corner.
        if (m_undo.cells.size() < 2)
            break;
        CObArray cut;
        FillCellBuffer(cut, m_undo.cells);
        SetCurrentCell(m_undo.cells[0].pt.x, m_undo.cells[0].pt.y);
        m_nSelectMode = selectNone;
        PasteCellsFrom(&cut, nullptr, 0);
        m_nSelectMode = selectNone;
        FillCellBuffer(cut, {});
        break;
    }
    case undoCellsPaste: {
        // The cells the paste overwrote (kept by the paste) are written back.
        CObArray overwritten;
        FillCellBuffer(overwritten, m_undo.cells);
        PasteCellsFrom(nullptr, &overwritten, 1);
        FillCellBuffer(overwritten, {});
        break;
    }
    case undoSpecialRow:
        m_nSelectMode = selectNone;
        SetCurrentCell(pt.x, pt.y);
        DeleteCurrentRow();
        break;
    default:
        break; // codes nothing records: only the common steps
    }
}

// ---------------------------------------------------------------------------------------
// Redo

void CMorvelEMView::PerformRedo(int nAction)
{
    const CPoint pt = m_undo.ptPosition;
    switch (nAction) {
    case undoCellEdit:
        SetCellText(m_undo.strRedoText, pt.y, pt.x, TRUE);
        CalcRow(pt.y, 0);
        if (m_hWnd != nullptr)
            InvalidateRows(pt.y, pt.y);
        RecalcTotals(pt.y);
        break;
    case undoRowInsert:
        m_nSelectMode = selectNone;
        SetCurrentCell(pt.x, pt.y);
        InsertOneRow();
        break;
    case undoRowDelete:
        m_nSelectMode = selectNone;
        SetCurrentCell(pt.x, pt.y);
        DeleteCurrentRow();
        break;
    case undoRowClear:
        m_nSelectMode = selectNone;
        SetCurrentCell(pt.x, pt.y);
        OnClearRow();
        break;
    case undoRowsCut: {
        // The undo pasted the rows back: as many are cut again.
        const int nCount = m_undo.nPasteCount;
        if (nCount <= 0)
            break;
        SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(pt.y, nCount);
        CutRowsToBuffer();
        break;
    }
    case undoRowsPaste:
    case undoRowsPasteCount:
        // The undo cut the pasted rows into the row copy buffer, in their order: pasting
        // them at the row puts back exactly what the paste made.
        SetCurrentCell(pt.x, pt.y);
        SelectWholeRows(pt.y, 1);
        PasteRows(UndoRows());
        break;
    case undoMarkRow:
        m_nMarkRow = pt.y;
        RefreshMarkRowHeads();
        break;
    case undoNonCalcSet:
        SetRowKindsForUndo(true, pt.y, pt.x);
        break;
    case undoNonCalcRelease:
        SetRowKindsForUndo(false, pt.y, pt.x);
        break;
    case undoFixedRate: {
        const INT_PTR nAll = m_undo.texts.GetWorkingArray().GetSize();
        const INT_PTR nTexts = nAll - kFixedRateSettings;
        if (nTexts < 0)
            break;
        const CString strFormula = UndoText(m_undo.texts, nTexts);
        CRateCondition condition;
        condition.nCol1 = std::atoi(UndoText(m_undo.texts, nTexts + 1));
        condition.nRelation1 = std::atoi(UndoText(m_undo.texts, nTexts + 2));
        condition.strValue1 = UndoText(m_undo.texts, nTexts + 3);
        condition.nCol2 = std::atoi(UndoText(m_undo.texts, nTexts + 4));
        condition.nRelation2 = std::atoi(UndoText(m_undo.texts, nTexts + 5));
        condition.strValue2 = UndoText(m_undo.texts, nTexts + 6);
        condition.nConjunction = std::atoi(UndoText(m_undo.texts, nTexts + 7));
        // The same column over the same rows as the first time.
        m_nSelectMode = selectBlock;
        m_rcSelection.SetRect(pt.x, pt.y, pt.x, pt.y + std::max<int>(0, static_cast<int>(nTexts) - 1));
        ApplyFixedRateChange(strFormula, condition);
        break;
    }
    case undoRowsClear: {
        const int nCount = static_cast<int>(m_undo.rows.GetWorkingArray().GetSize());
        if (nCount <= 0)
            break;
        SelectWholeRows(pt.y, nCount);
        OnClearRow();
        break;
    }
    case undoRowsInsert:
        SelectWholeRows(pt.y, pt.x);
        OnInsertRow();
        break;
    case undoCellsCut:
        m_nSelectMode = selectBlock;
        m_rcSelection = m_undo.rcCellBlock;
        CutCellsToBuffer();
        break;
    case undoCellsPaste: {
        // The cell copy buffer again, at the block the paste wrote (its corners are the
        // first two of the kept cells).
        if (m_undo.cells.size() < 2)
            break;
        const CPoint ptFirst = m_undo.cells[0].pt, ptSecond = m_undo.cells[1].pt;
        if (ptSecond.x < 0) {
            // A paste at a cell: the same cell again.
            SetCurrentCell(ptFirst.x, ptFirst.y);
            m_nSelectMode = selectNone;
        } else {
            m_nSelectMode = selectBlock;
            m_rcSelection.SetRect(ptFirst.x, ptFirst.y, ptSecond.x, ptSecond.y);
        }
        PasteCellsFromBuffer(0);
        break;
    }
    case undoSpecialRow:
        // The undo deleted the row through the row delete command, which kept it.
        InsertRowAligned(pt.y);
        RestoreRowFromUndo(0, pt.y);
        if (m_hWnd != nullptr) {
            InvalidateRows(pt.y, m_nRowLimit - 1, TRUE);
            UpdateWindow();
        }
        RecalcTotals(pt.y);
        UpdateTreeView();
        break;
    default:
        break;
    }
}

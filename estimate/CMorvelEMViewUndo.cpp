// Undo and redo of the estimate grid: one action each way. The editing commands record what
// they did as an undo command (engine/estimate/UndoCommands.h), which knows how to take
// itself back and do itself again over the estimate's model; the model's undo store keeps
// the last one. This file runs a step on the model (the copy buffers' row commands with the
// application's buffers) and does what is left to the grid afterwards: the current cell,
// the selection, the repaint.
//
// A command names rows by number. A later insertion or deletion of rows that it does not
// know about (a page inserted, rows dragged in the subject tree, a sort) moves the rows under
// those numbers when it happens at or above the last row the command names: the store notes
// the first row moved (NoteRowShift), and once that lies within its rows neither undo nor
// redo act on it (both are disabled) rather than change the wrong rows.
#include "estimate/CMorvelEMView.h"

#include "engine/estimate/UndoCommands.h"
#include "estimate/CMorvelEMDoc.h"
#include "platform/base/Check.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <memory>

// ---------------------------------------------------------------------------------------
// Recording

void CMorvelEMView::WithdrawUndo()
{
    // A rows command still open (a subject's drag, its drop in another message) records
    // what it changed when it ends, or leaves the record there was when it changed nothing.
    if (GetModel().IsRowsCommandOpen())
        return;
    Undo().Withdraw();
}

// ---------------------------------------------------------------------------------------
// The steps of a rows command

CMorvelEMView::CRowsCommandScope::CRowsCommandScope(CMorvelEMView& view, CUndoCommand::EAction eAction)
    : m_view(view), m_pViewLife(view.m_pLife)
{
    m_view.GetModel().BeginRowsCommand(eAction);
    ++m_view.m_nRowsCommands;
}

CMorvelEMView::CRowsCommandScope::~CRowsCommandScope()
{
    if (m_pViewLife.expired())
        return;
    --m_view.m_nRowsCommands;
    if (m_view.GetModel().EndRowsCommand())
        m_view.NoteUndoRecorded();
}

// ---------------------------------------------------------------------------------------
// Selection

void CMorvelEMView::SelectWholeRows(int nFirstRow, int nCount)
{
    const int nColumns = GetColumnLimit();
    SetSelection(selectRows,
                 CRect(0, nFirstRow, std::max(0, nColumns - 1), nFirstRow + std::max(1, nCount) - 1));
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelEMView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Undo().CanUndo() && !IsSummaryPageShown());
}

void CMorvelEMView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Undo().CanRedo() && !IsSummaryPageShown());
}

void CMorvelEMView::FinishOpenEditForUndo()
{
    // An edit still open is stored first, as the Down and Up keys store it, so that undo
    // takes back the latest action: the edit itself. The cursor stays on its cell.
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        const CPoint ptCell(GetCurrentCol(), GetCurrentRow());
        SendKeyUpDown(VK_DOWN);
        SendKeyUpDown(VK_UP);
        if (CPoint(GetCurrentCol(), GetCurrentRow()) != ptCell)
            SetCurrentCell(ptCell.x, ptCell.y);
    }
    HideCellEdit();
}

void CMorvelEMView::RunUndoStep(bool bRedo)
{
    if (IsSummaryPageShown())
        return;
    FinishOpenEditForUndo();
    if (bRedo ? !Undo().CanRedo() : !Undo().CanUndo())
        return;
    // What the step changes belongs to the store's command.
    NoteUndoRecorded();
    const CPoint ptCurrent(GetCurrentCol(), GetCurrentRow());
    const CRect rcSelected = GetSelectMode() != selectNone ? GetSelectionPixelRect() : CRect();
    // At a level that leaves figures as they stand, the step gives back the figures the
    // command found, or those it left, as the model kept them: nothing is worked out.
    const bool bWorkOut = GetRecalcLevel() == 3;
    // The row commands a redo runs again follow this window's page rule; those of the copy
    // buffers work with the application's buffers.
    const CUndoOutcome outcome = GetModel().RunUndoStep(bRedo, PageRule(), CopyBuffers());
    UpdateScrollRanges();

    if (outcome.eSelection != CUndoOutcome::ESelection::stays)
        SetSelectMode(selectNone);
    if (outcome.eSelection == CUndoOutcome::ESelection::none)
        ClearPressOrigin();
    if (outcome.eCell == CUndoOutcome::ECell::again)
        SetCurrentCell(GetCurrentCol(), GetCurrentRow());
    else if (outcome.eCell == CUndoOutcome::ECell::moved)
        SetCurrentCell(outcome.nCol, outcome.nRow);
    if (outcome.eSelection == CUndoOutcome::ESelection::rows)
        SelectWholeRows(outcome.nFirstSelected, outcome.nSelectedCount);
    if (outcome.nShownRow >= 0)
        ShowCutPlace(outcome.nShownRow);
    if (outcome.nChangedFrom >= 0) {
        // Rows written in bulk are worked out as a bulk change is.
        if (bWorkOut && outcome.bBulkChange)
            RecalcFromRow(2, outcome.nChangedFrom);
        if (m_hWnd != nullptr) {
            InvalidateRows(outcome.nChangedFrom, GetRowLimit() - 1, TRUE);
            UpdateWindow();
        }
        if (bWorkOut)
            RecalcTotals(outcome.nTotalsFrom >= 0 ? outcome.nTotalsFrom : outcome.nChangedFrom);
        else
            AfterRecalculation();
        UpdateTreeView();
    }
    SetDocumentModified();

    // A step that makes another cell current or selects other rows leaves no frame or
    // highlight behind at the old place.
    if (m_hWnd == nullptr)
        return;
    InvalidateCell(ptCurrent.x, ptCurrent.y);
    if (!rcSelected.IsRectEmpty())
        InvalidateRect(&rcSelected, FALSE);
    UpdateWindow();
}

void CMorvelEMView::OnEditUndo()
{
    RunUndoStep(false);
}

void CMorvelEMView::OnEditRedo()
{
    RunUndoStep(true);
}

// Undo and redo of the parts grid: one action each way. The editing commands' computations
// (the document's model) return an undo command that keeps what they changed
// (engine/parts/PartsUndoCommands.h); the document's undo store keeps the last one, so every
// pane of the list undoes the same command. This file records the commands and does what is
// left to the grid after a step: the cursor, the clipboard, the repaint.
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>

void CMorvelPMView::RecordUndo(std::unique_ptr<CPartsUndoCommand> pCommand)
{
    CPartsModel* pModel = GetModel();
    if (pModel == nullptr || pCommand == nullptr)
        return;
    pModel->Undo().Record(std::move(pCommand));
    NoteUndoRecorded();
}

void CMorvelPMView::WithdrawUndo()
{
    if (CPartsModel* pModel = GetModel())
        pModel->Undo().Withdraw();
}

bool CMorvelPMView::CanUndo() const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr && pModel->Undo().CanUndo();
}

bool CMorvelPMView::CanRedo() const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr && pModel->Undo().CanRedo();
}

void CMorvelPMView::RunUndoStep(bool bRedo)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !(bRedo ? CanRedo() : CanUndo()))
        return;
    // An open edit is abandoned first: undo reverses the last command, never what is
    // being typed.
    if (m_nEditState != editClosed)
        AbandonEdit();
    // What the step changes belongs to the store's command.
    NoteUndoRecorded();
    CPartsUndoStore& store = pDoc->Model().Undo();
    const CPartsUndoOutcome outcome = bRedo ? store.Redo(pDoc->Model()) : store.Undo(pDoc->Model());

    if (outcome.eCell == CPartsUndoOutcome::ECell::moved) {
        HideCellEdit();
        SetCurrentCell(outcome.nCol, outcome.nRow);
        if (outcome.bScroll)
            ScrollCellIntoView(GetCurrentRow(), GetCurrentCol());
    } else if (outcome.eCell == CPartsUndoOutcome::ECell::shifted &&
               (outcome.nShiftBelow < 0 || outcome.nShiftBelow < GetCurrentRow())) {
        SetCurrentRow(std::max(0, GetCurrentRow() + outcome.nShift));
    }
    if (outcome.pClipboard != nullptr) {
        PutOnClipboard(*outcome.pClipboard);
        if (outcome.bClipboardRows)
            SetCopyMode(copyRows);
    }
    if (outcome.nChangedFrom >= 0)
        InvalidateRows(outcome.nChangedFrom, GetRowLimit() - 1, TRUE);
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CMorvelPMView::OnEditUndo()
{
    RunUndoStep(false);
}

void CMorvelPMView::OnEditRedo()
{
    RunUndoStep(true);
}

void CMorvelPMView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanUndo());
}

void CMorvelPMView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanRedo());
}

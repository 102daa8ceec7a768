// One level of undo and redo in the parts grid. The undo record (m_undoList) holds the
// texts of the block the last structural command changed; the row-delete record
// (m_rowDeleteList) the rows the last row delete took out. Undo writes a record back or
// runs the opposite command; redo runs the undone command again on the record's block.
// What each kind does either way is in one table, CUndoActions.
// Typing, a sort and a replace keep the rows they change as the record; row clear and the
// document-wide commands are not undoable: their changes withdraw the record
// (CMorvelView::NoteDocumentChanged).
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/CPartsShared.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>

void CMorvelPMView::SaveSelectionInto(CPMObjList& list, bool bForRowDelete)
{
    list.DeleteAll();
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const int nUsed = pDoc->GetRowsInUse();
    CRect rc;
    if (GetSelectMode() == selectNone)
        rc.SetRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    else
        NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right,
                           GetSelection().bottom, &rc);
    if (bForRowDelete && GetSelectMode() != selectRows) {
        // A row delete without a row selection takes out the current row: its record is the
        // whole row, so that undo brings all of its cells back.
        rc.SetRect(0, GetCurrentRow(), std::max(0, GetColumnCount() - 1), GetCurrentRow());
    }
    if (GetSelectMode() == selectBlock || GetSelectMode() == selectNone) {
        if (!bForRowDelete && rc.top <= nUsed && rc.bottom > nUsed)
            rc.bottom = nUsed;
        if (bForRowDelete && rc.bottom > nUsed)
            rc.bottom = nUsed - 1;
    } else if (GetSelectMode() == selectRows) {
        if (rc.top >= nUsed)
            rc.top = nUsed - 1;
        if (rc.bottom >= nUsed)
            rc.bottom = nUsed - 1;
    }
    if (rc.bottom > nUsed)
        rc.bottom = nUsed - 1;
    KeepBlockInto(list, rc);
}

void CMorvelPMView::SaveSelectionForUndo()
{
    SaveSelectionInto(m_undoList, false);
    const CMorvelPMDoc* pDoc = GetDocument();
    m_nUndoRowsInUse = pDoc != nullptr ? pDoc->GetRowsInUse() : -1;
}

void CMorvelPMView::SaveSelectionForRowDelete()
{
    SaveSelectionInto(m_rowDeleteList, true);
}

void CMorvelPMView::SaveBlockForUndo(const CRect& rcBlock)
{
    m_undoList.DeleteAll();
    CRect rc;
    NormalizeCellRange(rcBlock.left, rcBlock.top, rcBlock.right, rcBlock.bottom, &rc);
    KeepBlockInto(m_undoList, rc);
    const CMorvelPMDoc* pDoc = GetDocument();
    m_nUndoRowsInUse = pDoc != nullptr ? pDoc->GetRowsInUse() : -1;
}

void CMorvelPMView::KeepBlockInto(CPMObjList& list, CRect rc)
{
    rc.left = std::clamp<LONG>(rc.left, 0, CPMObj::MAX_COLUMNS - 1);
    rc.right = std::clamp<LONG>(rc.right, rc.left, CPMObj::MAX_COLUMNS - 1);
    for (int r = std::max<int>(0, rc.top); r <= rc.bottom; ++r) {
        auto* pObj = new CPMObj;
        pObj->m_nRow = r;
        pObj->m_nLastRow = rc.bottom;
        pObj->m_nFirstCol = rc.left;
        pObj->m_nLastCol = rc.right;
        for (int c = rc.left; c <= rc.right; ++c)
            pObj->m_strCell[c] = GetCellText(r, c);
        list.AddTail(pObj);
    }
}

void CMorvelPMView::CopyRowDeleteToUndo()
{
    m_undoList.CopyFrom(m_rowDeleteList);
    // The rows go back in where they were: the rows in use are already right.
    m_nUndoRowsInUse = -1;
}

void CMorvelPMView::RestoreUndoRecord()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const auto rules = KeepColumnRules();
    POSITION pos = m_undoList.GetHeadPosition();
    while (pos != nullptr) {
        const CPMObj* pObj = m_undoList.GetNext(pos);
        const int nLast = std::min<int>(pObj->m_nLastCol, CPMObj::MAX_COLUMNS - 1);
        for (int c = std::max(0, pObj->m_nFirstCol); c <= nLast; ++c)
            SetCellText(pObj->m_strCell[c], pObj->m_nRow, c);
        // The record may hold some columns only: the row's formulas take its texts again.
        CalcRow(pObj->m_nRow, 0);
    }
    // Rows a paste or typing added past the last row go again.
    if (m_nUndoRowsInUse >= 0 && pDoc->GetRowsInUse() > m_nUndoRowsInUse) {
        pDoc->ReduceRowsInUse(m_nUndoRowsInUse);
        SetVScrollRange(pDoc->GetRowsInUse());
    }
    pDoc->SetModifiedFlag(TRUE);
    const CRect rcBlock = GetUndoBlock();
    InvalidateRows(rcBlock.top, GetRowLimit() - 1, TRUE);
}

void CMorvelPMView::RecordUndo(int nKind)
{
    m_nUndoKind = nKind;
    m_bCanUndo = nKind != undoNone;
    m_bCanRedo = FALSE;
    NoteUndoRecorded();
}

void CMorvelPMView::ForgetUndo()
{
    m_bCanUndo = FALSE;
    m_bCanRedo = FALSE;
}

void CMorvelPMView::WithdrawUndo()
{
    ForgetUndo();
    m_nUndoKind = undoNone;
}

// ---------------------------------------------------------------------------------------
// The actions. A step returns false when it finds nothing to act on and the record is to
// stay as it was; the steps come in pairs, undo before redo. Redo, and the undo of row
// commands, run the command again as the user would on the record's block.

struct CMorvelPMView::CUndoActions {
    using Step = bool (*)(CMorvelPMView& v);
    struct CEntry {
        int nKind;
        Step pfnUndo;
        Step pfnRedo;
    };
    static const CEntry* Find(int nKind);

    // The user's selection (and with bAll the current cell and the copy mode), put back
    // once a command run on the record's block is done.
    struct CKeptChoice {
        CMorvelPMView& v;
        const bool bAll;
        const CRect rcSelection = v.GetSelection();
        const int nSelectMode = v.GetSelectMode();
        const CPoint ptCurrent{v.GetCurrentCol(), v.GetCurrentRow()};
        const int nCopyMode = CPartsShared::s_nCopyMode;
        ~CKeptChoice()
        {
            v.SetSelection(nSelectMode, rcSelection);
            if (!bAll)
                return;
            v.SetCurrentCell(ptCurrent.x, ptCurrent.y);
            CPartsShared::s_nCopyMode = nCopyMode;
        }
    };

    static bool IsOneCell(const CRect& rc) { return rc.left == rc.right && rc.top == rc.bottom; }

    // A row command on the block's rows: the current cell at its top left, the rows
    // selected (a one-cell block: just the cell).
    static void RunOnRows(CMorvelPMView& v, const CRect& rcBlock, void (CMorvelPMView::*pCommand)())
    {
        const CKeptChoice kept{v, true};
        v.SetCurrentCell(rcBlock.left, rcBlock.top);
        if (IsOneCell(rcBlock)) {
            v.SetSelection(selectNone, CRect(rcBlock.left, rcBlock.top, rcBlock.left, rcBlock.top));
        } else {
            v.SetSelection(selectRows, rcBlock);
        }
        (v.*pCommand)();
    }

    // ---- Cells written back (a cell cut, and every paste but a row paste)

    static bool RestoreRecord(CMorvelPMView& v)
    {
        v.RestoreUndoRecord();
        return true;
    }

    static bool CutAgain(CMorvelPMView& v, int nSelectMode)
    {
        const CRect rcBlock = v.GetUndoBlock();
        const CKeptChoice kept{v, true};
        v.SetCurrentCell(rcBlock.left, rcBlock.top);
        if (IsOneCell(rcBlock)) {
            v.SetSelectMode(selectNone);
        } else {
            v.SetSelection(nSelectMode, rcBlock);
        }
        v.OnEditCut();
        return true;
    }
    static bool CutCellsAgain(CMorvelPMView& v) { return CutAgain(v, selectBlock); }

    // A paste at the block's first cell; a row paste of a one-cell block pastes cells.
    static bool PasteAgain(CMorvelPMView& v, bool bRows)
    {
        const CRect rcBlock = v.GetUndoBlock();
        const CKeptChoice kept{v, true};
        CPartsShared::s_nCopyMode =
            bRows && !IsOneCell(rcBlock) ? CPartsShared::copyRows : CPartsShared::copyCells;
        v.SetCurrentCell(rcBlock.left, rcBlock.top);
        v.OnEditPaste();
        return true;
    }
    static bool PasteCellsAgain(CMorvelPMView& v) { return PasteAgain(v, false); }

    // A paste over the block as the selection.
    static bool TileAgain(CMorvelPMView& v)
    {
        const CRect rcBlock = v.GetUndoBlock();
        const CKeptChoice kept{v, true};
        CPartsShared::s_nCopyMode = CPartsShared::copyCells;
        v.SetCurrentCell(rcBlock.left, rcBlock.top);
        v.SetSelection(v.GetSelectMode(), rcBlock);
        v.OnEditPaste();
        return true;
    }

    // ---- Rows written in place (typing, a sort, a replace): the record and the rows change places,
    // so that undo and redo are the same step.
    static bool ExchangeRecord(CMorvelPMView& v)
    {
        const CMorvelPMDoc* pDoc = v.GetDocument();
        if (v.m_undoList.IsEmpty() || pDoc == nullptr)
            return false;
        CPMObjList now;
        v.KeepBlockInto(now, v.GetUndoBlock());
        const int nRowsNow = pDoc->GetRowsInUse();
        v.RestoreUndoRecord();
        v.m_undoList.CopyFrom(now);
        v.m_nUndoRowsInUse = nRowsNow;
        return true;
    }

    // ---- Rows cut and pasted

    // As many empty rows as were cut go in at the block, then get their texts back.
    static bool PutBackCutRows(CMorvelPMView& v)
    {
        if (v.m_undoList.IsEmpty())
            return false;
        const CRect rcBlock = v.GetUndoBlock();
        v.HideCellEdit();
        v.SetCurrentCell(rcBlock.left, rcBlock.top);
        v.ScrollCellIntoView(v.GetCurrentRow(), v.GetCurrentCol());
        for (int i = 0; i < static_cast<int>(v.m_undoList.GetCount()); ++i)
            v.InsertRowQuiet(rcBlock.top);
        v.InvalidateRows(rcBlock.top, v.GetRowLimit() - 1, TRUE);
        v.RestoreUndoRecord();
        return true;
    }
    static bool CutRowsAgain(CMorvelPMView& v) { return CutAgain(v, selectRows); }

    // The pasted rows are cut again; the cursor stays where the cut leaves it.
    static bool CutPastedRows(CMorvelPMView& v)
    {
        if (v.m_undoList.IsEmpty())
            return false;
        const CKeptChoice kept{v, false};
        v.SetSelection(selectRows, v.GetUndoBlock());
        v.OnEditCut();
        return true;
    }
    static bool PasteRowsAgain(CMorvelPMView& v) { return PasteAgain(v, true); }

    // ---- Rows deleted and inserted

    // Empty rows go in where the deleted rows were, and get the deleted texts back.
    static bool PutBackDeletedRows(CMorvelPMView& v)
    {
        const CRect rcBlock = v.m_rowDeleteList.GetBlock();
        if (v.m_rowDeleteList.IsEmpty())
            return true;
        RunOnRows(v, rcBlock, &CMorvelPMView::OnInsertRow);
        v.SetCurrentRow(v.GetCurrentRow() + (rcBlock.bottom - rcBlock.top));
        v.CopyRowDeleteToUndo();
        v.RestoreUndoRecord();
        return true;
    }

    static bool DeleteRows(CMorvelPMView& v, const CRect& rcBlock)
    {
        RunOnRows(v, rcBlock, &CMorvelPMView::OnDeleteRow);
        if (rcBlock.top < v.GetCurrentRow())
            v.SetCurrentRow(std::max<int>(0, v.GetCurrentRow() - (rcBlock.bottom - rcBlock.top)));
        return true;
    }

    static bool DeleteRowsAgain(CMorvelPMView& v)
    {
        return !v.m_undoList.IsEmpty() && DeleteRows(v, v.GetUndoBlock());
    }

    static bool DeleteInsertedRows(CMorvelPMView& v)
    {
        if (!v.m_undoList.IsEmpty())
            DeleteRows(v, v.GetUndoBlock());
        return true;
    }

    static bool InsertRowsAgain(CMorvelPMView& v)
    {
        if (v.m_undoList.IsEmpty())
            return false;
        const CRect rcBlock = v.GetUndoBlock();
        RunOnRows(v, rcBlock, &CMorvelPMView::OnInsertRow);
        v.SetCurrentRow(v.GetCurrentRow() + (rcBlock.bottom - rcBlock.top));
        return true;
    }
};

const CMorvelPMView::CUndoActions::CEntry* CMorvelPMView::CUndoActions::Find(int nKind)
{
    static const CEntry entries[] = {
        // clang-format off
        // kind           undo                 redo
        {undoCutCells,    &RestoreRecord,      &CutCellsAgain},
        {undoCutRows,     &PutBackCutRows,     &CutRowsAgain},
        {undoPasteCells,  &RestoreRecord,      &PasteCellsAgain},
        {undoPasteRows,   &CutPastedRows,      &PasteRowsAgain},
        {undoPasteTiled,  &RestoreRecord,      &TileAgain},
        {undoPasteColumn, &RestoreRecord,      &TileAgain},
        {undoRowDelete,   &PutBackDeletedRows, &DeleteRowsAgain},
        {undoRowInsert,   &DeleteInsertedRows, &InsertRowsAgain},
        {undoRowsWritten, &ExchangeRecord,     &ExchangeRecord},
        // clang-format on
    };
    for (const CEntry& entry : entries)
        if (entry.nKind == nKind)
            return &entry;
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelPMView::OnEditUndo()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !m_bCanUndo)
        return;
    // An open edit is abandoned first: undo reverses the last command, never what is
    // being typed.
    if (m_nEditState != editClosed)
        AbandonEdit();
    const int nKind = m_nUndoKind;
    const CUndoActions::CEntry* pEntry = CUndoActions::Find(nKind);
    // What the undo changes belongs to the record.
    NoteUndoRecorded();
    if (pEntry == nullptr || !pEntry->pfnUndo(*this))
        return;
    // The commands undo runs record themselves: the record is the undone command's again.
    m_nUndoKind = nKind;
    m_bCanUndo = FALSE;
    m_bCanRedo = TRUE;
    pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CMorvelPMView::OnEditRedo()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !m_bCanRedo)
        return;
    if (m_nEditState != editClosed)
        AbandonEdit();
    // The command run again records itself.
    const CUndoActions::CEntry* pEntry = CUndoActions::Find(m_nUndoKind);
    NoteUndoRecorded();
    if (pEntry == nullptr || !pEntry->pfnRedo(*this))
        return;
    m_bCanUndo = TRUE;
    m_bCanRedo = FALSE;
    pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
}

void CMorvelPMView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bCanUndo);
}

void CMorvelPMView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bCanRedo);
}

void CMorvelPMView::OnSortWithUndo()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    // The rows the sort may move, whole, as the sort finds them (within the used rows).
    const CRect rcSelection = GetSelectionBlock();
    const CRect rcRows(0, std::max<int>(0, rcSelection.top), std::max(0, GetColumnCount() - 1),
                       std::min<int>(rcSelection.bottom, pDoc->GetRowsInUse() - 1));
    CPMObjList before;
    if (rcRows.top <= rcRows.bottom)
        KeepBlockInto(before, rcRows);
    const int nRowsBefore = pDoc->GetRowsInUse();
    OnSort();
    CPMObjList after;
    if (rcRows.top <= rcRows.bottom)
        KeepBlockInto(after, rcRows);
    bool bMoved = false;
    POSITION posBefore = before.GetHeadPosition();
    POSITION posAfter = after.GetHeadPosition();
    while (!bMoved && posBefore != nullptr && posAfter != nullptr) {
        const CPMObj* pBefore = before.GetNext(posBefore);
        const CPMObj* pAfter = after.GetNext(posAfter);
        for (int c = rcRows.left; c <= rcRows.right && !bMoved; ++c)
            bMoved = pBefore->m_strCell[c] != pAfter->m_strCell[c];
    }
    if (!bMoved)
        return;
    m_undoList.CopyFrom(before);
    m_nUndoRowsInUse = nRowsBefore;
    RecordUndo(undoRowsWritten);
}

// One level of undo and redo in the parts grid. The undo record (m_undoList) holds the
// texts of the block the last structural command changed; the row-delete record
// (m_rowDeleteList) the rows the last row delete took out. Undo writes a record back or
// runs the opposite command; redo runs the undone command again on the record's block.
// Typing, row clear and the document-wide commands are not undoable.
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>

void CMorvelPMView::SaveSelectionInto(CPMObjList& list, bool bForRowDelete)
{
    list.DeleteAll();
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const int nUsed = pDoc->m_nRowsInUse;
    CRect rc;
    if (m_nSelectMode == selectNone)
        rc.SetRect(m_nCurrentCol, m_nCurrentRow, m_nCurrentCol, m_nCurrentRow);
    else
        NormalizeCellRange(m_rcSelection.left, m_rcSelection.top, m_rcSelection.right, m_rcSelection.bottom,
                           &rc);
    if (bForRowDelete && m_nSelectMode != selectRows) {
        // A row delete without a row selection takes out the current row: its record is the
        // whole row, so that undo brings all of its cells back.
        rc.SetRect(0, m_nCurrentRow, std::max(0, m_nColumnCount - 1), m_nCurrentRow);
    }
    if (m_nSelectMode == selectBlock || m_nSelectMode == selectNone) {
        if (!bForRowDelete && rc.top <= nUsed && rc.bottom > nUsed)
            rc.bottom = nUsed;
        if (bForRowDelete && rc.bottom > nUsed)
            rc.bottom = nUsed - 1;
    } else if (m_nSelectMode == selectRows) {
        if (rc.top >= nUsed)
            rc.top = nUsed - 1;
        if (rc.bottom >= nUsed)
            rc.bottom = nUsed - 1;
    }
    if (rc.bottom > nUsed)
        rc.bottom = nUsed - 1;
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

void CMorvelPMView::SaveSelectionForUndo()
{
    SaveSelectionInto(m_undoList, false);
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
        m_undoList.AddTail(pObj);
    }
}

void CMorvelPMView::CopyRowDeleteToUndo()
{
    m_undoList.CopyFrom(m_rowDeleteList);
}

void CMorvelPMView::RestoreUndoRecord()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    POSITION pos = m_undoList.GetHeadPosition();
    while (pos != nullptr) {
        const CPMObj* pObj = m_undoList.GetNext(pos);
        const int nLast = std::min<int>(pObj->m_nLastCol, CPMObj::MAX_COLUMNS - 1);
        for (int c = std::max(0, pObj->m_nFirstCol); c <= nLast; ++c)
            SetCellText(pObj->m_strCell[c], pObj->m_nRow, c);
    }
    pDoc->SetModifiedFlag(TRUE);
    const CRect rcBlock = GetUndoBlock();
    InvalidateRows(rcBlock.top, m_nRowLimit - 1, TRUE);
}

void CMorvelPMView::RunOnBlock(const CRect& rcBlock, void (CMorvelPMView::*pCommand)())
{
    const CRect rcSaved = m_rcSelection;
    const int nSavedMode = m_nSelectMode;
    const CPoint ptSaved(m_nCurrentCol, m_nCurrentRow);
    m_nCurrentCol = rcBlock.left;
    m_nCurrentRow = rcBlock.top;
    if (rcBlock.left == rcBlock.right && rcBlock.top == rcBlock.bottom) {
        m_rcSelection.SetRect(rcBlock.left, rcBlock.top, rcBlock.left, rcBlock.top);
        m_nSelectMode = selectNone;
    } else {
        m_rcSelection = rcBlock;
        m_nSelectMode = selectRows;
    }
    (this->*pCommand)();
    m_rcSelection = rcSaved;
    m_nSelectMode = nSavedMode;
    m_nCurrentCol = ptSaved.x;
    m_nCurrentRow = ptSaved.y;
}

void CMorvelPMView::OnEditUndo()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !m_bCanUndo)
        return;
    // An open edit is abandoned first: undo reverses the last structural command, never
    // what is being typed.
    if (m_nEditState != editClosed) {
        m_nEditState = editClosed;
        HideCellEdit();
    }
    const int nKind = m_nUndoKind;
    switch (nKind) {
    case undoRowDelete: {
        const CRect rcBlock = m_rowDeleteList.GetBlock();
        if (m_rowDeleteList.IsEmpty())
            break;
        RunOnBlock(rcBlock, &CMorvelPMView::OnInsertRow);
        m_nCurrentRow += rcBlock.bottom - rcBlock.top;
        CopyRowDeleteToUndo();
        RestoreUndoRecord();
        break;
    }
    case undoRowInsert: {
        const CRect rcBlock = GetUndoBlock();
        if (m_undoList.IsEmpty())
            break;
        RunOnBlock(rcBlock, &CMorvelPMView::OnDeleteRow);
        if (rcBlock.top < m_nCurrentRow)
            m_nCurrentRow = std::max<int>(0, m_nCurrentRow - (rcBlock.bottom - rcBlock.top));
        break;
    }
    default:
        if (!UndoClipboardCommand(nKind))
            return;
        break;
    }
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
    if (m_nEditState != editClosed) {
        m_nEditState = editClosed;
        HideCellEdit();
    }
    const int nKind = m_nUndoKind;
    const CRect rcBlock = GetUndoBlock();
    switch (nKind) {
    case undoRowDelete:
        if (m_undoList.IsEmpty())
            return;
        RunOnBlock(rcBlock, &CMorvelPMView::OnDeleteRow);
        if (rcBlock.top < m_nCurrentRow)
            m_nCurrentRow = std::max<int>(0, m_nCurrentRow - (rcBlock.bottom - rcBlock.top));
        m_nUndoKind = undoRowDelete;
        break;
    case undoRowInsert:
        if (m_undoList.IsEmpty())
            return;
        RunOnBlock(rcBlock, &CMorvelPMView::OnInsertRow);
        m_nCurrentRow += rcBlock.bottom - rcBlock.top;
        m_nUndoKind = undoRowInsert;
        break;
    default:
        if (!RedoClipboardCommand(nKind, rcBlock))
            return;
        break;
    }
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

// The grid's own clipboard: whole rows and blocks of cells copied, cut and pasted through
// the application's copy buffers, which every estimate window of the process shares, so
// rows copied in one estimate paste into another. The model does the copying and the
// writing (engine/estimate/CEstimateModelClipboard.cpp); the window works out the rows or
// the block from its selection, checks that the estimate's file holds the rows written, and
// repaints. The desktop clipboard is only used by text boxes: while one has the keyboard
// (the in-place cell editor above all), the commands become its clipboard messages
// (grid/FocusedEditor.h).
#include "app/CMorvelApp.h"
#include "engine/estimate/CEstimateCopyBuffers.h"
#include "estimate/CMorvelEMView.h"
#include "grid/FocusedEditor.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>

namespace {

enum { copyModeRows = 1, copyModeCells = 3 };

CRect Ordered(const CRect& rc)
{
    return CRect(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
                 std::max(rc.top, rc.bottom));
}

} // namespace

int CMorvelEMView::s_nCopyMode = 0;

CEstimateCopyBuffers* CMorvelEMView::CopyBuffers()
{
    CMorvelApp* pApp = GetMorvelApp();
    return pApp != nullptr ? &pApp->EstimateCopyBuffers() : nullptr;
}

int CMorvelEMView::TakeCopyMode(bool bPaste)
{
    int nMode = copyModeCells;
    if (GetSelectMode() == selectRows) {
        nMode = copyModeRows;
    } else if (GetSelectMode() == selectNone) {
        SetSelection(bPaste ? selectBlock : selectNone,
                     CRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow()));
    }
    s_nCopyMode = nMode;
    return nMode;
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelEMView::OnEditCopy()
{
    if (ForwardToFocusedEditor(this, WM_COPY))
        return;
    if (TakeCopyMode(false) == copyModeRows)
        CopyRowsToBuffer();
    else
        CopyCellsToBuffer();
}

void CMorvelEMView::OnEditCut()
{
    if (ForwardToFocusedEditor(this, WM_CUT))
        return;
    if (TakeCopyMode(false) == copyModeRows)
        CutRowsToBuffer();
    else
        CutCellsToBuffer();
}

void CMorvelEMView::OnEditPaste()
{
    if (ForwardToFocusedEditor(this, WM_PASTE))
        return;
    // An edit still open, whose editor a scroll hid, takes the paste over its cell again.
    if (ResumeOpenEdit()) {
        m_wndCellEdit.SendMessage(WM_PASTE);
        return;
    }
    // What goes in at the cursor shows there: a cursor scrolled away comes back first.
    if (GetSelectMode() == selectNone)
        ShowCurrentCell();
    if (TakeCopyMode(true) == copyModeRows)
        PasteRowsFromBuffer();
    else
        PasteCellsFromBuffer(0);
}

void CMorvelEMView::OnUpdateEditCutCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown());
}

void CMorvelEMView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    if (UpdatePasteForFocusedEditor(this, pCmdUI))
        return;
    if ((m_nEditState == editTyping || m_nEditState == editOpened) && !IsSummaryPageShown()) {
        pCmdUI->Enable(IsClipboardFormatAvailable(CF_TEXT));
        return;
    }
    const CEstimateCopyBuffers* pBuffers = CopyBuffers();
    pCmdUI->Enable(!IsSummaryPageShown() && pBuffers != nullptr && pBuffers->IsFilled());
}

// ---------------------------------------------------------------------------------------
// Cells

void CMorvelEMView::CopyCellsToBuffer()
{
    if (CEstimateCopyBuffers* pBuffers = CopyBuffers())
        GetModel().CopyCells(*pBuffers, Ordered(GetSelection()));
}

void CMorvelEMView::CutCellsToBuffer()
{
    CEstimateCopyBuffers* pBuffers = CopyBuffers();
    if (pBuffers == nullptr)
        return;
    const CEstimateModel::CWrittenRows cut =
        GetModel().CutCells(*pBuffers, Ordered(GetSelection()), CPoint(GetCurrentCol(), GetCurrentRow()));
    NoteUndoRecorded();
    if (m_hWnd != nullptr) {
        InvalidateRows(cut.nFirst, cut.nLast);
        UpdateWindow();
    }
    // From the first row cut: a total inside the block adds up the rows above it in the
    // block, which changed too.
    RecalcTotals(cut.nFirst);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::PasteCellsFromBuffer(int nFromUndo)
{
    CEstimateCopyBuffers* pBuffers = CopyBuffers();
    if (pBuffers == nullptr)
        return;
    if (m_hWnd != nullptr)
        InvalidateCells(GetPreviousCell().x, GetPreviousCell().y, GetPreviousCell().x, GetPreviousCell().y);
    const CPoint ptCurrent(GetCurrentCol(), GetCurrentRow());
    // A fresh paste writes what it overwrites into the application's undo cell buffer; a
    // paste from undo reads it. This grid's own undo keeps the rows written, whole.
    if (nFromUndo != 0) {
        FinishCellPaste(GetModel().PasteUndoCells(*pBuffers, ptCurrent));
        return;
    }
    const CEstimateModel::CCellPasteTarget target = CellPasteTarget();
    // Cells pasted past the last row make rows: they must fit in the file.
    if (!CheckFileRowLimitForEdit(GetModel().LastCellPasteRow(*pBuffers, target), GetUsedRows()))
        return;
    FinishCellPaste(GetModel().PasteCells(*pBuffers, target));
}

CEstimateModel::CCellPasteTarget CMorvelEMView::CellPasteTarget() const
{
    using EOver = CEstimateModel::CCellPasteTarget::EOver;
    CEstimateModel::CCellPasteTarget target;
    target.ptCell = CPoint(GetCurrentCol(), GetCurrentRow());
    target.rcBlock = Ordered(GetSelection());
    // A block of one cell is the current cell as well: the paste command makes one of it,
    // and a second paste there writes the whole block again.
    const CRect& rc = target.rcBlock;
    if (GetSelectMode() == selectNone ||
        (GetSelectMode() == selectBlock && rc.left == rc.right && rc.top == rc.bottom))
        target.eOver = EOver::cell;
    else if (GetSelectMode() == selectRows)
        target.eOver = EOver::rows;
    else if (GetSelectMode() == selectColumn)
        target.eOver = EOver::column;
    else
        target.eOver = EOver::block;
    return target;
}

void CMorvelEMView::FinishCellPaste(const CEstimateModel::CWrittenRows& written)
{
    if (written.nFirst < 0)
        return;
    NoteUndoRecorded();
    if (m_hWnd != nullptr) {
        InvalidateRows(written.nFirst, written.nLast);
        UpdateWindow();
    }
    // From the first row written: a total row inside the target adds up rows above it
    // that the paste changed.
    RecalcFromRow(2, written.nFirst);
    UpdateTreeView();
    SetDocumentModified();
}

// ---------------------------------------------------------------------------------------
// Rows

void CMorvelEMView::CopyRowsToBuffer()
{
    CEstimateCopyBuffers* pBuffers = CopyBuffers();
    if (pBuffers == nullptr)
        return;
    SelectWholeColumnsOfSelection();
    const CRect rc = Ordered(GetSelection());
    GetModel().CopyRows(*pBuffers, rc.top, rc.bottom);
}

void CMorvelEMView::SelectWholeColumnsOfSelection()
{
    CRect rcRows = GetSelection();
    rcRows.left = 0;
    rcRows.right = GetColumnLimit() - 1;
    SetSelection(GetSelectMode(), rcRows);
}

void CMorvelEMView::CutRowsToBuffer()
{
    CEstimateCopyBuffers* pBuffers = CopyBuffers();
    if (pBuffers == nullptr)
        return;
    // The rows the copy takes: the selected ones among the used rows.
    const CRect rcRows = Ordered(GetSelection());
    const int nFirst = rcRows.top;
    const int nHeading = AdjustPageBreak(EPageBreak::findHeading, nFirst);
    const int nCut = std::max(0, std::min<int>(rcRows.bottom, GetUsedRows() - 1) - nFirst + 1);
    // The headings after the cut start their pages again, which may insert rows.
    if (!HasFileRoomAfterCut(nFirst, nCut, nHeading))
        return;
    SelectWholeColumnsOfSelection();
    const CEstimateModel::CRowsCut cut = GetModel().CutRows(*pBuffers, rcRows.top, rcRows.bottom, PageRule());
    NoteUndoRecorded();
    SetSelectMode(selectNone);
    ClearPressOrigin();
    ShowCutPlace(nFirst);
    if (m_hWnd != nullptr) {
        InvalidateRows(std::max(0, cut.nChangedFrom), GetRowLimit() - 1, true);
        UpdateWindow();
    }
    RecalcTotals(GetCurrentRow());
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::ShowCutPlace(int nRow)
{
    if (m_hWnd == nullptr)
        return;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nRowHeight = GetRowHeight() > 0 ? GetRowHeight() : 1;
    const int nVisible = std::max(0, static_cast<int>(rcGrid.bottom) - GetHeaderHeight()) / nRowHeight;
    if (nRow < GetFirstVisibleCell().y || nRow >= GetFirstVisibleCell().y + nVisible)
        OnVScroll(SB_THUMBTRACK, static_cast<UINT>(std::max(0, nRow - 3)), nullptr);
}

void CMorvelEMView::PasteRowsFromBuffer()
{
    const CEstimateCopyBuffers* pBuffers = CopyBuffers();
    if (pBuffers == nullptr || pBuffers->Rows().empty())
        return;
    const int c = static_cast<int>(pBuffers->Rows().size());
    const int nRow = GetCurrentRow();
    // The paste inserts the buffer's rows, or as many as rows are selected.
    const CRect rcSelected = Ordered(GetSelection());
    const int k = rcSelected.bottom - rcSelected.top + 1;
    if (!HasFileRoomForRows(nRow, k < 2 ? c : k, AdjustPageBreak(EPageBreak::findHeading, nRow)))
        return;
    GetModel().PasteRows(*pBuffers, GetCurrentCol(), nRow, k, PageRule());
    NoteUndoRecorded();
    SetDocumentModified();
    RecalcFromRow(2, nRow);
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, true);
    if (m_hWnd != nullptr)
        UpdateWindow();
    RecalcTotals(nRow);
    UpdateTreeView();
    SetDocumentModified();
}

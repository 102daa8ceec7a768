// The grid's own clipboard: whole rows and blocks of cells copied, cut and pasted through
// the application's copy buffers, which every estimate window of the process shares, so
// rows copied in one estimate paste into another. The desktop clipboard is only used by
// text boxes: while one has the keyboard (the in-place cell editor above all), the commands
// become its clipboard messages (grid/FocusedEditor.h).
#include "app/CMorvelApp.h"
#include "estimate/CCopyBufferItems.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/PageAlignment.h"
#include "estimate/engine/RowKinds.h"
#include "estimate/engine/UndoCommands.h"
#include "grid/FocusedEditor.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

enum { copyModeRows = 1, copyModeCells = 3 };

void ClearBuffer(CObArray& buffer)
{
    for (INT_PTR i = 0; i < buffer.GetSize(); ++i)
        delete buffer.GetAt(i);
    buffer.RemoveAll();
}

const CCellBufferItem* CellItem(const CObArray& buffer, INT_PTR i)
{
    return dynamic_cast<const CCellBufferItem*>(buffer.GetAt(i));
}

CRect Ordered(const CRect& rc)
{
    return CRect(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
                 std::max(rc.top, rc.bottom));
}

} // namespace

int CMorvelEMView::s_nCopyMode = 0;

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
    CMorvelApp* pApp = GetMorvelApp();
    const bool bFilled =
        pApp != nullptr && (pApp->m_aRowCopyBuffer.GetSize() >= 2 || pApp->m_aCellCopyBuffer.GetSize() >= 2);
    pCmdUI->Enable(!IsSummaryPageShown() && bFilled);
}

// ---------------------------------------------------------------------------------------
// Cells

void CMorvelEMView::CopyCellsToBuffer()
{
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    CRect rc = Ordered(GetSelection());
    rc.bottom = std::min<LONG>(rc.bottom, GetRowLimit() - 1);
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    rc.right = std::min<LONG>(rc.right, nColumns - 1);
    CObArray& buffer = pApp->m_aCellCopyBuffer;
    // The items of the last copy are used again (a large copy after a large copy makes and
    // frees no objects); the ones left over go.
    INT_PTR nItem = 0;
    auto put = [&](CPoint pt, const CString& strText) {
        if (nItem < buffer.GetSize()) {
            auto* pItem = static_cast<CCellBufferItem*>(buffer.GetAt(nItem));
            pItem->m_pt = pt;
            pItem->m_strText = strText;
        } else {
            buffer.Add(new CCellBufferItem(pt, strText));
        }
        ++nItem;
    };
    static const CString s_empty;
    put(CPoint(rc.left, rc.top), s_empty);
    put(CPoint(rc.right, rc.bottom), s_empty);
    for (int r = rc.top; r <= rc.bottom && r < GetUsedRows(); ++r) {
        for (int c = rc.left; c <= rc.right; ++c)
            put(CPoint(c - rc.left, r - rc.top),
                IsValidRow(r) && IsValidColumn(c) ? EditCell(r, c) : s_empty);
    }
    for (INT_PTR i = nItem; i < buffer.GetSize(); ++i)
        delete buffer.GetAt(i);
    buffer.SetSize(nItem);
}

void CMorvelEMView::CutCellsToBuffer()
{
    CopyCellsToBuffer();
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    const CObArray& buffer = pApp->m_aCellCopyBuffer;
    const CPoint ptFirst = CellItem(buffer, 0)->m_pt;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    int nLargestRow = ptFirst.y;
    for (INT_PTR i = 2; i < buffer.GetSize(); ++i)
        nLargestRow = std::max<int>(nLargestRow, ptFirst.y + CellItem(buffer, i)->m_pt.y);
    CRowImage before = TakeRowImage(ptFirst.y, nLargestRow);
    for (INT_PTR i = 2; i < buffer.GetSize(); ++i) {
        const CPoint pt = CellItem(buffer, i)->m_pt;
        const int nRow = ptFirst.y + pt.y, nCol = ptFirst.x + pt.x;
        SetCellText("", nRow, nCol, true);
        CalcRow(nRow, nCol);
        if (m_hWnd != nullptr)
            InvalidateCells(nCol, nRow, nColumns - 1, nRow);
    }
    if (m_hWnd != nullptr)
        UpdateWindow();
    // From the first row cut: a total inside the block adds up the rows above it in the
    // block, which changed too.
    RecalcTotals(ptFirst.y);
    UpdateTreeView();
    SetDocumentModified();
    RecordUndo(CCellsCommand::Cut(GetCurrentCol(), GetCurrentRow(), ptFirst.x, ptFirst.y, std::move(before)));
}

void CMorvelEMView::PasteCellsFromBuffer(int nFromUndo)
{
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    const CObArray& source = pApp->m_aCellCopyBuffer;
    // A fresh paste writes what it overwrites into the application's undo cell buffer; a
    // paste from undo reads it. This grid's own undo keeps the rows written, whole.
    CObArray& undo = pApp->m_aUndoCellBuffer;
    if (m_hWnd != nullptr)
        InvalidateCells(GetPreviousCell().x, GetPreviousCell().y, GetPreviousCell().x, GetPreviousCell().y);
    CRowImage before;
    int nFirstRow = -1;
    if (nFromUndo != 0)
        nFirstRow = PasteCellsFromUndo(undo, before);
    else if (IsCellPasteAtCurrentCell())
        nFirstRow = PasteCellsAtCurrentCell(source, undo, before);
    else
        nFirstRow = PasteCellsOverBlock(source, undo, before);
    if (nFirstRow < 0)
        return;
    FinishCellPaste(nFirstRow, std::move(before));
}

bool CMorvelEMView::IsCellPasteAtCurrentCell() const
{
    // A block of one cell is the current cell as well: the paste command makes one of it,
    // and a second paste there writes the whole block again.
    const CRect rcBlock = Ordered(GetSelection());
    return GetSelectMode() == selectNone ||
           (GetSelectMode() == selectBlock && rcBlock.left == rcBlock.right && rcBlock.top == rcBlock.bottom);
}

bool CMorvelEMView::WritePastedCell(int nRow, int nCol, const CString& strText)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (nRow < 0 || nRow >= GetRowLimit() || nCol < 0 || nCol >= nColumns)
        return false;
    SetCellText(strText, nRow, nCol, true);
    // Text pasted into an empty row makes it a detail row.
    if (GetRowKind(nRow) == kindEmpty) {
        SetRowKind(kindDetail, nRow);
        if (m_hWnd != nullptr)
            InvalidateRows(nRow, nRow);
    }
    CalcRow(nRow, nCol);
    if (m_hWnd != nullptr)
        InvalidateCells(nCol, nRow, nColumns - 1, nRow);
    return true;
}

int CMorvelEMView::PasteCellsFromUndo(const CObArray& cells, CRowImage& before)
{
    if (cells.GetSize() < 2)
        return -1;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const CPoint ptFirst = CellItem(cells, 0)->m_pt;
    const auto isWritten = [&](int nRow, int nCol) {
        return nRow >= 0 && nRow < GetRowLimit() && nCol >= 0 && nCol < nColumns;
    };
    int nFirst = INT_MAX, nLast = -1;
    for (INT_PTR i = 2; i < cells.GetSize(); ++i) {
        const CPoint pt = CellItem(cells, i)->m_pt;
        const int nRow = ptFirst.y + pt.y;
        if (isWritten(nRow, ptFirst.x + pt.x)) {
            nFirst = std::min(nFirst, nRow);
            nLast = std::max(nLast, nRow);
        }
    }
    before = TakeRowImage(nFirst, nLast);
    std::vector<int> rows;
    for (INT_PTR i = 2; i < cells.GetSize(); ++i) {
        const CCellBufferItem* pItem = CellItem(cells, i);
        const int nRow = ptFirst.y + pItem->m_pt.y, nCol = ptFirst.x + pItem->m_pt.x;
        if (!isWritten(nRow, nCol))
            continue;
        SetCellText(pItem->m_strText, nRow, nCol, true);
        if (m_hWnd != nullptr)
            InvalidateCells(nCol, nRow, nCol, nRow);
        Model().ReachRow(nRow);
        rows.push_back(nRow);
    }
    if (rows.empty())
        return -1;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int nRow : rows)
        CalcRow(nRow, 0);
    return rows.front();
}

int CMorvelEMView::PasteCellsAtCurrentCell(const CObArray& source, CObArray& undo, CRowImage& before)
{
    if (source.GetSize() < 2)
        return -1;
    const CPoint ptAt(GetCurrentCol(), GetCurrentRow());
    // Cells pasted past the last row make rows: they must fit in the file.
    int nFirstTarget = INT_MAX, nLastTarget = -1;
    for (INT_PTR i = 2; i < source.GetSize(); ++i) {
        const int nRow = ptAt.y + CellItem(source, i)->m_pt.y;
        if (nRow < GetRowLimit()) {
            nFirstTarget = std::min(nFirstTarget, nRow);
            nLastTarget = std::max(nLastTarget, nRow);
        }
    }
    if (!CheckFileRowLimitForEdit(nLastTarget, GetUsedRows()))
        return -1;
    before = TakeRowImage(nFirstTarget, nLastTarget);
    // The overwritten cells keep the buffer's offsets from the current cell; (-1, -1) as
    // the second corner says that the paste was made at a cell.
    ClearBuffer(undo);
    undo.Add(new CCellBufferItem(ptAt, CString()));
    undo.Add(new CCellBufferItem(CPoint(-1, -1), CString()));
    for (INT_PTR i = 2; i < source.GetSize(); ++i) {
        const CPoint pt = CellItem(source, i)->m_pt;
        undo.Add(new CCellBufferItem(pt, GetCellText(ptAt.y + pt.y, ptAt.x + pt.x)));
    }
    int nFirstRow = -1;
    for (INT_PTR i = 2; i < source.GetSize(); ++i) {
        const CCellBufferItem* pItem = CellItem(source, i);
        const int nRow = ptAt.y + pItem->m_pt.y;
        if (WritePastedCell(nRow, ptAt.x + pItem->m_pt.x, pItem->m_strText))
            nFirstRow = nFirstRow < 0 ? nRow : std::min(nFirstRow, nRow);
    }
    return nFirstRow;
}

CMorvelEMView::CPasteSource CMorvelEMView::MeasurePasteSource(const CObArray& source)
{
    // The height and width from the items (the number of distinct row and column offsets):
    // a block copied beyond the used rows may have fewer rows than its corners say.
    CPasteSource block;
    std::vector<int> rowOffsets, colOffsets;
    for (INT_PTR i = 2; i < source.GetSize(); ++i) {
        const CPoint pt = CellItem(source, i)->m_pt;
        if (std::find(rowOffsets.begin(), rowOffsets.end(), pt.y) == rowOffsets.end())
            rowOffsets.push_back(pt.y);
        if (std::find(colOffsets.begin(), colOffsets.end(), pt.x) == colOffsets.end())
            colOffsets.push_back(pt.x);
    }
    block.nHeight = static_cast<int>(rowOffsets.size());
    block.nWidth = static_cast<int>(colOffsets.size());
    block.texts.assign(static_cast<size_t>(block.nHeight) * block.nWidth, nullptr);
    for (INT_PTR i = 2; i < source.GetSize(); ++i) {
        const CCellBufferItem* pItem = CellItem(source, i);
        if (pItem->m_pt.y >= 0 && pItem->m_pt.y < block.nHeight && pItem->m_pt.x >= 0 &&
            pItem->m_pt.x < block.nWidth)
            block.texts[static_cast<size_t>(pItem->m_pt.y) * block.nWidth + pItem->m_pt.x] =
                &pItem->m_strText;
    }
    return block;
}

int CMorvelEMView::PasteCellsOverBlock(const CObArray& source, CObArray& undo, CRowImage& before)
{
    if (source.GetSize() < 2)
        return -1;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    const CPasteSource block = MeasurePasteSource(source);
    if (block.nHeight == 0 || block.nWidth == 0)
        return -1; // a block with no items has nothing to repeat over the target
    CRect rcTarget = Ordered(GetSelection());
    if (GetSelectMode() == selectRows) {
        rcTarget.left = 0;
        rcTarget.right = nColumns - 1;
    } else if (GetSelectMode() == selectColumn) {
        // A whole column takes the paste down its used rows, or the block's rows once where
        // they are more: no empty row is added after them.
        rcTarget.bottom = std::max<LONG>(GetUsedRows() - 1, rcTarget.top + block.nHeight - 1);
    }
    rcTarget.bottom = std::min<LONG>(rcTarget.bottom, GetRowLimit() - 1);
    rcTarget.right = std::min<LONG>(rcTarget.right, nColumns - 1);

    if (!CheckFileRowLimitForEdit(rcTarget.bottom, GetUsedRows()))
        return -1; // every target row is written, so each must fit in the file

    before = TakeRowImage(rcTarget.top, rcTarget.bottom);
    ClearBuffer(undo);
    undo.Add(new CCellBufferItem(CPoint(rcTarget.left, rcTarget.top), CString()));
    undo.Add(new CCellBufferItem(CPoint(rcTarget.right, rcTarget.bottom), CString()));
    for (int r = rcTarget.top; r <= rcTarget.bottom; ++r)
        for (int c = rcTarget.left; c <= rcTarget.right; ++c)
            undo.Add(new CCellBufferItem(CPoint(c - rcTarget.left, r - rcTarget.top), GetCellText(r, c)));
    // A smaller source is repeated over the target in both directions.
    for (int r = rcTarget.top; r <= rcTarget.bottom; ++r) {
        for (int c = rcTarget.left; c <= rcTarget.right; ++c) {
            const CString* pText =
                block.texts[static_cast<size_t>((r - rcTarget.top) % block.nHeight) * block.nWidth +
                            (c - rcTarget.left) % block.nWidth];
            WritePastedCell(r, c, pText != nullptr ? *pText : CString());
        }
    }
    return rcTarget.top;
}

void CMorvelEMView::FinishCellPaste(int nFirstRow, CRowImage&& before)
{
    if (m_hWnd != nullptr)
        UpdateWindow();
    // From the first row written: a total row inside the target adds up rows above it
    // that the paste changed.
    RecalcFromRow(2, nFirstRow);
    UpdateTreeView();
    SetDocumentModified();
    // The rows written stay with this grid's undo: a paste in another estimate window
    // refills the shared undo buffer.
    RecordUndo(CCellsCommand::Paste(GetCurrentCol(), GetCurrentRow(), std::move(before)));
}

// ---------------------------------------------------------------------------------------
// Rows

void CMorvelEMView::CopyRowsToBuffer()
{
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    CRect rcRows = GetSelection();
    rcRows.left = 0;
    rcRows.right = nColumns - 1;
    SetSelection(GetSelectMode(), rcRows);
    CopyCellsToBuffer();
    const CRect rc = Ordered(GetSelection());
    CObArray& buffer = pApp->m_aRowCopyBuffer;
    // As for the cells: the row objects of the last copy take the new rows.
    INT_PTR nItem = 0;
    for (int r = rc.top; r <= rc.bottom && r < GetUsedRows(); ++r, ++nItem) {
        if (nItem >= buffer.GetSize())
            buffer.Add(new CRowBufferItem);
        CGridRow* pCopy = static_cast<CRowBufferItem*>(buffer.GetAt(nItem))->Row();
        // A reused row keeps nothing of its last contents: CopyRow sets every field the
        // form's columns use, and the columns beyond them are emptied.
        CopyRow(std::as_const(*this).GetEditRow(r), pCopy);
        for (int c = nColumns; c < MAX_COLUMNS; ++c) {
            pCopy->EmptyCell(c);
            pCopy->SetIndent(c, 0);
        }
    }
    for (INT_PTR i = nItem; i < buffer.GetSize(); ++i)
        delete buffer.GetAt(i);
    buffer.SetSize(nItem);
}

void CMorvelEMView::CutRowsToBuffer()
{
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    // The rows the copy takes: the selected ones among the used rows.
    const CRect rcRows = Ordered(GetSelection());
    const int nFirst = rcRows.top;
    const int nHeading = AdjustPageBreak(EPageBreak::findHeading, nFirst);
    const int nCut = std::max(0, std::min<int>(rcRows.bottom, GetUsedRows() - 1) - nFirst + 1);
    // The headings after the cut start their pages again, which may insert rows.
    if (!HasFileRoomAfterCut(nFirst, nCut, nHeading))
        return;
    CopyRowsToBuffer();
    const int n = static_cast<int>(pApp->m_aRowCopyBuffer.GetSize());
    SetSelectMode(selectNone);
    ClearPressOrigin();
    int nAligned = -1;
    CRowSteps steps;
    {
        // The cut rows stay with this grid's undo, whatever is copied meanwhile: the row
        // objects themselves move there (the copy buffer holds copies of them), and so do
        // the empty rows the page alignment takes away.
        const CRowStepRecording recording(*this, steps);
        DeleteRows(nFirst, n);
        if (const int nMoved = PageAlignment::HeadingAfterCut(nHeading, nFirst, n); nMoved >= 0)
            AdjustPageBreak(EPageBreak::alignRow, nMoved);
        // The headings after the cut start their pages again.
        nAligned = AdjustPages(nHeading);
    }
    RecordUndo(std::make_unique<CRowsCutCommand>(nFirst, n, std::move(steps)));

    if (m_hWnd != nullptr) {
        CRect rcGrid;
        GetGridClientRect(&rcGrid);
        const int nRowHeight = GetRowHeight() > 0 ? GetRowHeight() : 1;
        const int nVisible = std::max(0, static_cast<int>(rcGrid.bottom) - GetHeaderHeight()) / nRowHeight;
        if (nFirst < GetFirstVisibleCell().y || nFirst >= GetFirstVisibleCell().y + nVisible)
            OnVScroll(SB_THUMBTRACK, static_cast<UINT>(std::max(0, nFirst - 3)), nullptr);
        const int nFrom = nAligned >= 0 ? std::min(nAligned, nFirst) : nFirst;
        InvalidateRows(std::max(0, nFrom), GetRowLimit() - 1, true);
        UpdateWindow();
    }
    RecalcTotals(GetCurrentRow());
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::PasteRowsFromBuffer()
{
    CMorvelApp* pApp = GetMorvelApp();
    if (pApp == nullptr)
        return;
    std::vector<const CGridRow*> rows;
    for (INT_PTR i = 0; i < pApp->m_aRowCopyBuffer.GetSize(); ++i)
        rows.push_back(static_cast<const CRowBufferItem*>(pApp->m_aRowCopyBuffer.GetAt(i))->Row());
    PasteRows(rows);
}

void CMorvelEMView::PasteRows(const std::vector<const CGridRow*>& rows, bool bCounted)
{
    const int c = static_cast<int>(rows.size());
    if (c == 0)
        return;
    const int nRow = GetCurrentRow();
    // The paste inserts the buffer's rows, or as many as rows are selected.
    const CRect rcSelected = Ordered(GetSelection());
    const int nInserted =
        rcSelected.bottom - rcSelected.top + 1 < 2 ? c : rcSelected.bottom - rcSelected.top + 1;
    const int nHeading = AdjustPageBreak(EPageBreak::findHeading, nRow);
    if (!HasFileRoomForRows(nRow, nInserted, nHeading))
        return;
    const CRect rc = Ordered(GetSelection());
    const int k = rc.bottom - rc.top + 1;
    auto source = [&](int i) { return rows[static_cast<size_t>(i)]; };
    // The undo takes out exactly the rows the paste puts in, the page alignment's included.
    CRowSteps steps;
    if (k < 2) {
        const CRowStepRecording recording(*this, steps);
        // The rows stand above the current row in the buffer's order.
        InsertRows(nRow, c);
        for (int i = 0; i < c; ++i)
            CopyRow(source(i), MakeEditRow(nRow + i));
        if (nHeading > 0)
            AdjustPageBreak(EPageBreak::alignRow, nHeading + c);
    } else {
        const CRowStepRecording recording(*this, steps);
        // As many rows as selected, each inserted above the ones before it: the last one
        // (buffer row (k - 1) mod c) stands first.
        InsertRows(nRow, k);
        for (int j = 0; j < k; ++j)
            CopyRow(source((k - 1 - j) % c), MakeEditRow(nRow + j));
        if (nHeading > 0)
            AdjustPageBreak(EPageBreak::alignRow, nHeading + std::max(c, k));
    }
    // How many rows the paste put in (the undo takes exactly these out again).
    RecordUndo(std::make_unique<CRowsPasteCommand>(GetCurrentCol(), nRow, k < 2 ? c : k, bCounted || k >= 2,
                                                   std::move(steps)));
    RecalcFromRow(2, nRow);
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, true);
    RefreshMarkRowHeads();
    if (m_hWnd != nullptr)
        UpdateWindow();
    RecalcTotals(nRow);
    UpdateTreeView();
    SetDocumentModified();
}

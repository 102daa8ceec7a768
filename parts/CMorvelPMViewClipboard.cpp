// Cut, copy and paste of the parts grid through the desktop clipboard, in the private
// format "Morvel PM Data" (a list of row records), so that rows and blocks of cells go
// between parts-list windows, also of other running copies of the program. The copy mode
// (rows or cells) of the last copy decides how a paste lays the records out: new rows, a
// block at the current cell, or tiled over a selection. While a text box has the keyboard
// (the in-place editor above all), the commands are its own clipboard commands
// (grid/FocusedEditor.h).
#include "grid/FocusedEditor.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/CPartsShared.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"

#include <algorithm>

namespace {

CRect Ordered(const CRect& rc)
{
    return CRect(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
                 std::max(rc.top, rc.bottom));
}

} // namespace

CRect CMorvelPMView::GetSelectionBlock() const
{
    if (GetSelectMode() == selectNone)
        return CRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    return Ordered(GetSelection());
}

bool CMorvelPMView::ReadClipboardRows(COleDataObject* pData)
{
    if (pData == nullptr)
        return false;
    std::vector<BYTE> bytes;
    if (!pData->GetBytes(static_cast<CLIPFORMAT>(CPartsShared::GetDataFormat()), bytes))
        return false;
    return m_exchangeList.LoadExchangeBytes(bytes.data(), bytes.size());
}

bool CMorvelPMView::ReadClipboard()
{
    m_exchangeList.DeleteAll();
    COleDataObject data;
    if (!data.AttachClipboard())
        return false;
    return ReadClipboardRows(&data);
}

void CMorvelPMView::CopyBlockToClipboard(CRect rcBlock)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || rcBlock.top > pDoc->GetRowsInUse())
        return;
    if (rcBlock.bottom > pDoc->GetRowsInUse())
        rcBlock.bottom = pDoc->GetRowsInUse() - 1;
    rcBlock.left = std::clamp<LONG>(rcBlock.left, 0, CPMObj::MAX_COLUMNS - 1);
    rcBlock.right = std::clamp<LONG>(rcBlock.right, rcBlock.left, CPMObj::MAX_COLUMNS - 1);
    m_exchangeList.DeleteAll();
    for (int r = std::max<int>(0, rcBlock.top); r <= rcBlock.bottom; ++r) {
        auto* pObj = new CPMObj;
        pObj->m_nRow = r;
        pObj->m_nLastRow = rcBlock.bottom;
        pObj->m_nFirstCol = rcBlock.left;
        pObj->m_nLastCol = rcBlock.right;
        for (int c = rcBlock.left; c <= rcBlock.right; ++c)
            pObj->m_strCell[c] = GetCellText(r, c);
        m_exchangeList.AddTail(pObj);
    }
    if (m_exchangeList.IsEmpty())
        return;
    auto* pSource = new COleDataSource;
    pSource->CacheData(static_cast<CLIPFORMAT>(CPartsShared::GetDataFormat()),
                       m_exchangeList.StoreExchangeBytes());
    pSource->SetClipboard();
}

void CMorvelPMView::OnEditCopy()
{
    if (ForwardToFocusedEditor(this, WM_COPY))
        return;
    CPartsShared::s_nCopyMode =
        GetSelectMode() == selectRows ? CPartsShared::copyRows : CPartsShared::copyCells;
    CopyBlockToClipboard(GetSelectionBlock());
    ForgetUndo();
}

void CMorvelPMView::OnEditCut()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    SaveSelectionForUndo();
    if (ForwardToFocusedEditor(this, WM_CUT))
        return;
    CPartsShared::s_nCopyMode = GetSelectMode() == selectRows   ? CPartsShared::copyRows
                                : GetSelectMode() == selectNone ? CPartsShared::copyNone
                                                                : CPartsShared::copyCells;
    CRect rcBlock = GetSelectionBlock();
    int nUndoKind = m_nUndoKind; // nothing below the used rows is cut: the kind stays
    if (rcBlock.top <= pDoc->GetRowsInUse()) {
        if (rcBlock.bottom > pDoc->GetRowsInUse())
            rcBlock.bottom = pDoc->GetRowsInUse() - 1;
        if (GetSelectMode() == selectRows) {
            CPartsShared::s_nCopyMode = CPartsShared::copyRows;
            CopyBlockToClipboard(rcBlock);
            const int nTop = std::max<int>(0, rcBlock.top);
            for (int r = nTop; r <= rcBlock.bottom; ++r)
                RemoveRow(nTop);
            SetCurrentCell(0, nTop);
            SetSelection(selectNone, CRect(0, nTop, 0, nTop));
            pDoc->SetModifiedFlag(TRUE);
            InvalidateRows(nTop, GetRowLimit() - 1, TRUE);
            nUndoKind = undoCutRows;
        } else {
            CPartsShared::s_nCopyMode = CPartsShared::copyCells;
            CopyBlockToClipboard(rcBlock);
            ClearCells(rcBlock.left, rcBlock.top, rcBlock.right, rcBlock.bottom);
            pDoc->SetModifiedFlag(TRUE);
            nUndoKind = undoCutCells;
        }
        pDoc->UpdateAllViews(nullptr);
    }
    RecordUndo(nUndoKind);
}

void CMorvelPMView::OnEditPaste()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    if (ForwardToFocusedEditor(this, WM_PASTE))
        return;
    int nKind = GetSelectMode();
    if (nKind == selectBlock && GetSelection().left == GetSelection().right &&
        GetSelection().top == GetSelection().bottom)
        nKind = selectNone;
    const int nMode = CPartsShared::s_nCopyMode;
    int nUndoKind = m_nUndoKind; // a paste of nothing keeps the kind
    const bool bTiling = (nKind == selectBlock || nKind == selectRows || nKind == selectColumn) &&
                         (nMode == CPartsShared::copyCells || nMode == CPartsShared::copyRows);
    if (bTiling) {
        CRect rcTarget = Ordered(GetSelection());
        rcTarget.bottom = std::min<LONG>(rcTarget.bottom, GetRowLimit() - 1);
        // A selection that runs to the last row the list allows (a whole column, the whole
        // grid) stands for the list: the paste fills its used rows, or the clipboard's rows
        // once where they are more, and adds no empty rows after them.
        const bool bWholeList = nKind == selectColumn || rcTarget.bottom >= GetRowLimit() - 1;
        const bool bRead = ReadClipboard();
        if (bRead && bWholeList) {
            const int nFilled = std::max<int>(pDoc->GetRowsInUse() - 1,
                                              rcTarget.top + static_cast<int>(m_exchangeList.GetCount()) - 1);
            rcTarget.bottom = std::min<LONG>(rcTarget.bottom, nFilled);
        }
        // Every target row is written, so each must fit in the file.
        if (bRead && !CheckFileRowLimitForEdit(static_cast<int>(rcTarget.bottom), pDoc->GetRowsInUse()))
            return;
        if (bRead) {
            SaveBlockForUndo(rcTarget);
            const CPMObj* pFirst = m_exchangeList.GetHead();
            const int nWidth = pFirst->m_nLastCol - pFirst->m_nFirstCol + 1;
            POSITION pos = m_exchangeList.GetHeadPosition();
            const auto rules = KeepColumnRules();
            for (int r = rcTarget.top; r <= rcTarget.bottom; ++r) {
                if (pos == nullptr)
                    pos = m_exchangeList.GetHeadPosition();
                const CPMObj* pObj = m_exchangeList.GetNext(pos);
                for (int c = rcTarget.left; c <= rcTarget.right; ++c)
                    SetCellText(pObj->m_strCell[(c - rcTarget.left) % nWidth + pObj->m_nFirstCol], r, c);
                CalcRow(r, 0);
            }
            pDoc->SetModifiedFlag(TRUE);
            nUndoKind = nKind == selectColumn ? undoPasteColumn : undoPasteTiled;
        }
        SetVScrollRange(pDoc->GetRowsInUse());
    } else if (nKind == selectNone && nMode == CPartsShared::copyCells) {
        if (ReadClipboard() &&
            CheckFileRowLimitForEdit(
                std::min<int>(GetCurrentRow() + m_exchangeList.GetBlock().Height(), GetRowLimit() - 1),
                pDoc->GetRowsInUse())) {
            const CRect rcSource = m_exchangeList.GetBlock();
            // The record is the whole target block, also where it lies past the used rows,
            // so that undo empties every cell the paste wrote.
            SaveBlockForUndo(CRect(GetCurrentCol(), GetCurrentRow(),
                                   std::min<int>(GetCurrentCol() + rcSource.Width(), GetColumnCount() - 1),
                                   std::min<int>(GetCurrentRow() + rcSource.Height(), GetRowLimit() - 1)));
            int nRow = GetCurrentRow();
            POSITION pos = m_exchangeList.GetHeadPosition();
            const auto rules = KeepColumnRules();
            while (pos != nullptr) {
                const CPMObj* pObj = m_exchangeList.GetNext(pos);
                const int nLastCol =
                    std::min(GetCurrentCol() + pObj->m_nLastCol - pObj->m_nFirstCol, GetColumnCount() - 1);
                for (int c = GetCurrentCol(); c <= nLastCol; ++c) {
                    SetCellText(pObj->m_strCell[c - GetCurrentCol() + pObj->m_nFirstCol], nRow, c);
                    CalcRow(nRow, 0);
                }
                ++nRow;
            }
            pDoc->SetModifiedFlag(TRUE);
            nUndoKind = undoPasteCells;
        }
    } else if (nKind == selectNone && nMode == CPartsShared::copyRows) {
        const int nRowsInUse = pDoc->GetRowsInUse();
        if (ReadClipboard() && CheckFileRowLimit(std::max(nRowsInUse, GetCurrentRow()) +
                                                 static_cast<long long>(m_exchangeList.GetCount()))) {
            const CRect rcSource = m_exchangeList.GetBlock();
            // One new row per record (the records were checked to form one block).
            const int nRows = static_cast<int>(m_exchangeList.GetCount());
            for (int i = 0; i < nRows; ++i)
                InsertRowQuiet(GetCurrentRow() + i);
            const CRect rcSaved = GetSelection();
            const int nSavedKind = GetSelectMode();
            SetSelection(selectBlock,
                         CRect(0, GetCurrentRow(), rcSource.Width(), GetCurrentRow() + rcSource.Height()));
            SaveSelectionForUndo();
            SetSelection(nSavedKind, rcSaved);
            int nRow = GetCurrentRow();
            POSITION pos = m_exchangeList.GetHeadPosition();
            const auto rules = KeepColumnRules();
            while (pos != nullptr) {
                const CPMObj* pObj = m_exchangeList.GetNext(pos);
                for (int c = 0; c < GetColumnCount(); ++c) {
                    const int nSourceCol = c + pObj->m_nFirstCol;
                    // Columns past the record's block hold no text.
                    SetCellText(nSourceCol <= pObj->m_nLastCol ? pObj->m_strCell[nSourceCol] : CString(),
                                nRow, c);
                    CalcRow(nRow, 0);
                }
                ++nRow;
            }
            pDoc->SetModifiedFlag(TRUE);
            nUndoKind = undoPasteRows;
        }
    }
    InvalidateRows(0, GetRowLimit() - 1, TRUE);
    pDoc->UpdateAllViews(nullptr);
    RecordUndo(nUndoKind);
}

void CMorvelPMView::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CMorvelPMView::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CMorvelPMView::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    if (UpdatePasteForFocusedEditor(this, pCmdUI))
        return;
    pCmdUI->Enable(TRUE);
}

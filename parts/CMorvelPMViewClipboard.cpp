// Cut, copy and paste of the parts grid through the desktop clipboard, in the private
// format "Morvel PM Data" (a list of row records), so that rows and blocks of cells go
// between parts-list windows, also of other running copies of the program. The copy mode
// (rows or cells) of the last copy decides how a paste lays the records out: new rows, a
// block at the current cell, or tiled over a selection. While a text box has the keyboard
// (the in-place editor above all), the commands are its own clipboard commands
// (grid/FocusedEditor.h). What the commands write is the model's (CPartsModel: CopyBlock,
// CutCells, CutRows, TiledPasteBlock, PasteTiled, PasteCellsAt, PasteRowsAt); this file reads
// and fills the clipboard, hands the model the selection and records the undo commands.
#include "grid/FocusedEditor.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"

#include <algorithm>

// Before any copy in this program a paste takes what another copy of the program put on
// the clipboard as a block of cells.
int CMorvelPMView::s_nCopyMode = CMorvelPMView::copyCells;

namespace {

CRect Ordered(const CRect& rc)
{
    return CRect(std::min(rc.left, rc.right), std::min(rc.top, rc.bottom), std::max(rc.left, rc.right),
                 std::max(rc.top, rc.bottom));
}

} // namespace

UINT CMorvelPMView::GetDataFormat()
{
    static const UINT s_nFormat = RegisterClipboardFormat("Morvel PM Data");
    return s_nFormat;
}

CRect CMorvelPMView::GetSelectionBlock() const
{
    if (GetSelectMode() == selectNone)
        return CRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    return Ordered(GetSelection());
}

bool CMorvelPMView::ReadClipboardRows(COleDataObject* pData, CPMObjList& records)
{
    if (pData == nullptr)
        return false;
    std::vector<BYTE> bytes;
    if (!pData->GetBytes(static_cast<CLIPFORMAT>(GetDataFormat()), bytes))
        return false;
    return records.LoadExchangeBytes(bytes.data(), bytes.size());
}

bool CMorvelPMView::ReadClipboard(CPMObjList& records)
{
    COleDataObject data;
    if (!data.AttachClipboard())
        return false;
    return ReadClipboardRows(&data, records);
}

void CMorvelPMView::PutOnClipboard(const CPMObjList& records)
{
    auto* pSource = new COleDataSource;
    pSource->CacheData(static_cast<CLIPFORMAT>(GetDataFormat()), records.StoreExchangeBytes());
    pSource->SetClipboard();
}

void CMorvelPMView::CopyBlockToClipboard(const CRect& rcBlock, CPMObjList& records)
{
    const CPartsModel* pModel = GetModel();
    if (pModel != nullptr && pModel->CopyBlock(rcBlock, records))
        PutOnClipboard(records);
}

void CMorvelPMView::OnEditCopy()
{
    if (ForwardToFocusedEditor(this, WM_COPY))
        return;
    SetCopyMode(GetSelectMode() == selectRows ? copyRows : copyCells);
    CPMObjList records;
    CopyBlockToClipboard(GetSelectionBlock(), records);
    WithdrawUndo();
}

void CMorvelPMView::OnEditCut()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || ForwardToFocusedEditor(this, WM_CUT))
        return;
    SetCopyMode(GetSelectMode() == selectRows   ? copyRows
                : GetSelectMode() == selectNone ? copyNone
                                                : copyCells);
    CRect rcBlock = GetSelectionBlock();
    // Nothing below the row after the last used one is cut (nor recorded for undo).
    if (rcBlock.top > pDoc->GetRowsInUse())
        return;
    if (rcBlock.bottom > pDoc->GetRowsInUse())
        rcBlock.bottom = pDoc->GetRowsInUse() - 1;
    CPMObjList records;
    std::unique_ptr<CPartsUndoCommand> pCommand;
    if (GetSelectMode() == selectRows) {
        SetCopyMode(copyRows);
        CopyBlockToClipboard(rcBlock, records);
        const int nTop = std::max<int>(0, rcBlock.top);
        pCommand = pDoc->Model().CutRows(nTop, rcBlock.bottom, rcBlock.left, records);
        SetCurrentCell(0, nTop);
        SetSelection(selectNone, CRect(0, nTop, 0, nTop));
        RecordRowsChanged(std::move(pCommand), nTop, GetRowLimit() - 1);
    } else {
        SetCopyMode(copyCells);
        CopyBlockToClipboard(rcBlock, records);
        RecordRowsChanged(pDoc->Model().CutCells(rcBlock, records), rcBlock.top, rcBlock.bottom);
    }
}

void CMorvelPMView::OnEditPaste()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || ForwardToFocusedEditor(this, WM_PASTE))
        return;
    CPartsModel& model = pDoc->Model();
    int nKind = GetSelectMode();
    if (nKind == selectBlock && GetSelection().left == GetSelection().right &&
        GetSelection().top == GetSelection().bottom)
        nKind = selectNone;
    const int nMode = GetCopyMode();
    CPMObjList records;
    std::unique_ptr<CPartsUndoCommand> pCommand;
    const bool bTiling =
        (nKind == selectBlock || nKind == selectRows || nKind == selectColumn) && (nMode == copyCells || nMode == copyRows);
    if (bTiling) {
        if (ReadClipboard(records)) {
            const CRect rcTarget = model.TiledPasteBlock(
                Ordered(GetSelection()), static_cast<int>(records.GetCount()), nKind == selectColumn);
            // Every target row is written, so each must fit in the file.
            if (!CheckFileRowLimitForEdit(static_cast<int>(rcTarget.bottom), model.GetRowsInUse()))
                return;
            pCommand = model.PasteTiled(rcTarget, records,
                                        nKind == selectColumn ? CPartsUndoCommand::undoPasteColumn
                                                              : CPartsUndoCommand::undoPasteTiled);
        }
    } else if (nKind == selectNone && nMode == copyCells) {
        if (ReadClipboard(records) &&
            CheckFileRowLimitForEdit(std::min<int>(GetCurrentRow() + records.GetBlock().Height(), GetRowLimit() - 1),
                                     model.GetRowsInUse()))
            pCommand = model.PasteCellsAt(GetCurrentCol(), GetCurrentRow(), records);
    } else if (nKind == selectNone && nMode == copyRows) {
        if (ReadClipboard(records) && CheckFileRowLimit(std::max(model.GetRowsInUse(), GetCurrentRow()) +
                                                        static_cast<long long>(records.GetCount())))
            pCommand = model.PasteRowsAt(GetCurrentRow(), records);
    }
    if (pCommand != nullptr)
        pDoc->SetModifiedFlag(TRUE);
    InvalidateRows(0, GetRowLimit() - 1, TRUE);
    pDoc->UpdateAllViews(nullptr);
    // The rows in use the status bar shows follow at once.
    UpdateStatusText();
    RecordUndo(std::move(pCommand));
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

// The parts list's CSV output and input and the reading of another parts file. The
// commands run through the shell's parts exchange service (the file, column and mapping
// dialogs belong to the estimate tools); while it is missing they stay disabled. The rows
// read are one undo step.
#include "app/CShellServices.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

void CMorvelPMDoc::OnCsvOutput()
{
    if (CMorvelPMView* pView = GetPartsView())
        CShellServices::RunPartsIoCommand(pView, ID_TEXT_OUTPUT);
}

void CMorvelPMDoc::OnUpdateCsvOutput(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetPartsView() != nullptr && static_cast<bool>(CShellServices::Get().runPartsIoCommand));
}

int CMorvelPMView::InsertReadRows(int nRow, const std::vector<std::vector<CString>>& rows,
                                  const std::vector<int>& mapping)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 0;
    const int nCount = static_cast<int>(rows.size());
    std::unique_ptr<CPartsUndoCommand> pCommand;
    // Rows the list's file could not hold are not read at all (the user is told why).
    if (nRow >= 0 && nRow < GetRowLimit() && nCount > 0 && HasFileRoomForRows(nRow, nCount))
        pCommand = pDoc->Model().InsertReadRows(nRow, rows, mapping);
    InvalidateRows(nRow, GetRowLimit() - 1, true);
    if (m_hWnd != nullptr)
        UpdateWindow();
    pDoc->SetModifiedFlag(TRUE);
    pDoc->UpdateAllViews(nullptr);
    UpdateStatusText();
    // The rows read are taken out again by undo, and come back by redo.
    const int nInserted = pCommand != nullptr ? nCount : 0;
    RecordUndo(std::move(pCommand));
    return nInserted;
}

void CMorvelPMView::OnCsvInput()
{
    CShellServices::RunPartsIoCommand(this, ID_TEXT_INPUT);
}

void CMorvelPMView::OnReadOtherForm()
{
    CShellServices::RunPartsIoCommand(this, ID_READ_OTHER_FORM);
}

void CMorvelPMView::OnUpdateImport(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(static_cast<bool>(CShellServices::Get().runPartsIoCommand));
}

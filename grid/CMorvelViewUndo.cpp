// The grids' undo records against the changes they do not know about (see CMorvelView.h).
#include "grid/CMorvelView.h"

#include "platform/ui/frames/CDocument.h"

int CMorvelView::s_nUndoKeeping = 0;

void CMorvelView::NoteDocumentChanged(CDocument& doc)
{
    if (s_nUndoKeeping > 0)
        return;
    const unsigned long long nSerial = CWnd::GetMessageSerial();
    POSITION pos = doc.GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pGrid = dynamic_cast<CMorvelView*>(doc.GetNextView(pos));
        if (pGrid != nullptr && pGrid->m_nUndoMessageSerial != nSerial)
            pGrid->WithdrawUndo();
    }
}

// The grids' undo records against the changes they do not know about (see CMorvelView.h).
#include "grid/CMorvelView.h"

#include "platform/ui/frames/CDocument.h"

#include <vector>

int CMorvelView::s_nUndoKeeping = 0;

void CMorvelView::NoteDocumentChanged(CDocument& doc)
{
    if (s_nUndoKeeping > 0)
        return;
    const unsigned long long nSerial = CWnd::GetMessageSerial();
    std::vector<CMorvelView*> grids;
    POSITION pos = doc.GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pGrid = dynamic_cast<CMorvelView*>(doc.GetNextView(pos));
        if (pGrid == nullptr)
            continue;
        // The windows share the document's record: one made in this message stays.
        if (pGrid->m_nUndoMessageSerial == nSerial)
            return;
        grids.push_back(pGrid);
    }
    for (CMorvelView* pGrid : grids)
        pGrid->WithdrawUndo();
}

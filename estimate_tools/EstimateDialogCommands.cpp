#include "estimate_tools/EstimateDialogCommands.h"

#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CPageDialogs.h"
#include "estimate_tools/EstimateEditCommands.h"
#include "estimate_tools/EstimateRowDialogCommands.h"
#include "resources/ResourceIds.h"

namespace {

void PageSelect(CMorvelEMView& view)
{
    CPageSelectDialog dlg(&view);
    if (dlg.DoModal() != IDOK)
        return;
    // SelectPage holds the number within the pages.
    view.SelectPage(dlg.m_nPage);
}

void PageDelete(CMorvelEMView& view)
{
    CPageDeleteDialog dlg(&view);
    if (dlg.DoModal() != IDOK)
        return;
    // A number outside the pages, or a page holding no rows, deletes nothing.
    view.DeletePage(dlg.m_nPage);
}

void PageInsert(CMorvelEMView& view)
{
    CPageInsertDialog dlg(&view, view.GetCurrentRow() / view.GetPageRows() + 1);
    if (dlg.DoModal() != IDOK)
        return;
    // A number outside the pages inserts nothing.
    view.InsertPage(dlg.m_nPage, dlg.m_nBefore != 0);
}

} // namespace

void RunEstimateDialogCommand(CView* pView, UINT nID)
{
    auto* pEstimate = dynamic_cast<CMorvelEMView*>(pView);
    if (pEstimate == nullptr)
        return;
    switch (nID) {
    case ID_PAGE_SELECT:
        PageSelect(*pEstimate);
        break;
    case ID_PAGE_DELETE:
        PageDelete(*pEstimate);
        break;
    case ID_PAGE_INSERT:
        PageInsert(*pEstimate);
        break;
    default:
        if (!RunEstimateEditCommand(*pEstimate, nID))
            RunEstimateRowDialogCommand(*pEstimate, nID);
        break;
    }
}

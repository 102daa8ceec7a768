// The indent tool's request: one item's text in all rows of one level moves right or left
// by whole characters, or back to the cell's edge.
#include "estimate/CMorvelEMView.h"
#include "grid/ModelessMessages.h"

#include <algorithm>

namespace {

using EIndentLevel = CEstimateModel::EIndentLevel;
using EIndentMove = CEstimateModel::EIndentMove;

// The indent tool's choices are the model's levels and moves, in the same order.
static_assert(static_cast<int>(EIndentLevel::kind) == INDENT_LEVEL_KIND &&
              static_cast<int>(EIndentLevel::large) == INDENT_LEVEL_LARGE &&
              static_cast<int>(EIndentLevel::middle) == INDENT_LEVEL_MIDDLE &&
              static_cast<int>(EIndentLevel::small) == INDENT_LEVEL_SMALL &&
              static_cast<int>(EIndentLevel::detail) == INDENT_LEVEL_DETAIL &&
              static_cast<int>(EIndentLevel::all) == INDENT_LEVEL_ALL);

EIndentMove IndentMove(WPARAM wParam)
{
    return wParam == INDENT_REDUCE     ? EIndentMove::reduce
           : wParam == INDENT_INCREASE ? EIndentMove::increase
                                       : EIndentMove::remove;
}

} // namespace

LRESULT CMorvelEMView::OnIndentCommand(WPARAM wParam, LPARAM lParam)
{
    const auto* pRequest = reinterpret_cast<const CIndentRequest*>(lParam);
    if (pRequest == nullptr || !IsValidColumn(pRequest->nItem))
        return 0;
    // The rows repainted: the page's rows (an indent moves no row).
    const int nLastRow =
        IsSummaryPageShown() ? static_cast<int>(SummaryRows().GetSize()) - 1 : GetUsedRows() - 1;
    if (GetModel().IndentColumn(ShownPage(), pRequest->nItem, static_cast<EIndentLevel>(pRequest->nLevel),
                             IndentMove(wParam), pRequest->nAmount))
        NoteUndoRecorded();
    if (m_hWnd != nullptr) {
        InvalidateRows(0, std::max(nLastRow, 0));
        UpdateWindow();
    }
    SetDocumentModified();
    return 0;
}

// The indent tool's request: one item's text in all rows of one level moves right or left
// by whole characters, or back to the cell's edge.
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/RowKinds.h"
#include "estimate/engine/UndoCommands.h"
#include "grid/ModelessMessages.h"

#include <algorithm>
#include <utility>

namespace {

// A heading of the level, its total, or the heading on the summary page.
bool IsHeadingOrItsTotal(ERowKind nKind, ERowKind nHeading)
{
    return nKind == nHeading || nKind == TotalKindOf(nHeading) || nKind == SummaryKindOf(nHeading);
}

bool IsIndentTarget(ERowKind nKind, int nLevel)
{
    switch (nLevel) {
    case INDENT_LEVEL_KIND:
        return IsHeadingOrItsTotal(nKind, kindKind);
    case INDENT_LEVEL_LARGE:
        return IsHeadingOrItsTotal(nKind, kindLarge);
    case INDENT_LEVEL_MIDDLE:
        return IsHeadingOrItsTotal(nKind, kindMiddle);
    case INDENT_LEVEL_SMALL:
        return IsHeadingOrItsTotal(nKind, kindSmall);
    case INDENT_LEVEL_DETAIL:
        return nKind == kindDetail || nKind == SummaryKindOf(kindDetail);
    case INDENT_LEVEL_ALL:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT CMorvelEMView::OnIndentCommand(WPARAM wParam, LPARAM lParam)
{
    const auto* pRequest = reinterpret_cast<const CIndentRequest*>(lParam);
    if (pRequest == nullptr || !IsValidColumn(pRequest->nItem))
        return 0;
    const int nCol = pRequest->nItem;
    const bool bSummary = IsSummaryPageShown();
    const int nLastRow = bSummary ? static_cast<int>(SummaryRows().GetSize()) - 1 : GetUsedRows() - 1;
    // The edit page's rows as they were, for undo (the summary page is made again from them).
    CRowImage before = bSummary ? CRowImage() : TakeRowImage(0, nLastRow);
    for (int r = 0; r <= nLastRow; ++r) {
        const ERowKind nKind = GetRowKind(r);
        if (!IsIndentTarget(nKind, pRequest->nLevel))
            continue;
        int nIndent = 0;
        if (wParam == INDENT_REDUCE)
            nIndent = GetCellIndent(r, nCol) - pRequest->nAmount;
        else if (wParam == INDENT_INCREASE)
            nIndent = GetCellIndent(r, nCol) + pRequest->nAmount;
        SetCellIndent(nIndent, r, nCol);
        // A summary row shows the same heading on the summary page.
        if (!bSummary && nKind >= kindSummaryOffset && r < SummaryRows().GetSize()) {
            SetSummaryPageShown(true);
            SetCellIndent(nIndent, r, nCol);
            SetSummaryPageShown(false);
        }
    }
    if (!before.IsEmpty())
        RecordUndo(CCellsCommand::Rewrite(undoIndent, std::move(before)));
    if (m_hWnd != nullptr) {
        InvalidateRows(0, std::max(nLastRow, 0));
        UpdateWindow();
    }
    SetDocumentModified();
    return 0;
}

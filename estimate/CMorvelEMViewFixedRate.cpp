// Commands beside the estimate grid's display that change what the grid shows or holds as a
// whole: display fixing (which columns are shown), the fixed-rate change (one calculation
// over the numbers of a selected column, optionally only in rows that meet conditions) and
// the enabling of print and print preview.
#include "estimate/CMorvelEMView.h"

#include "engine/estimate/CFixedRateChange.h"
#include "engine/estimate/UndoCommands.h"
#include "estimate/CMorvelEMDoc.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Display fixing

std::vector<bool> CMorvelEMView::GetDisplayTicks() const
{
    const int nColumns = GetColumnLimit();
    std::vector<bool> ticks(static_cast<size_t>(nColumns));
    for (int c = 0; c < nColumns; ++c)
        ticks[static_cast<size_t>(c)] = GetBaseColumnWidth(c) != 0;
    return ticks;
}

void CMorvelEMView::ApplyDisplayFix(const std::vector<bool>& ticks)
{
    const int nColumns = std::min(GetColumnLimit(), static_cast<int>(ticks.size()));
    for (int c = 0; c < nColumns; ++c) {
        // A column shown again comes back at the width it had when it was last shown (or
        // resized); the remembered width itself never changes here.
        SetColumnShown(c, ticks[static_cast<size_t>(c)]);
        // The cursor must not be led into a column nobody can see.
        if (GetBaseColumnWidth(c) == 0)
            SetColumnInputFixed(c, false);
    }
    if (m_hWnd != nullptr) {
        CRect rcClient;
        GetClientRect(&rcClient);
        CRect rcHeaders(GetRowHeaderWidth(), 0, rcClient.right, GetHeaderHeight());
        InvalidateRect(&rcHeaders, TRUE);
    }
    RecalcLayout();
}

// ---------------------------------------------------------------------------------------
// Fixed-rate change

bool CMorvelEMView::MatchRateCondition(int nRow, int nCol1, int nRelation1, const char* lpszValue1, int nCol2,
                                       int nRelation2, const char* lpszValue2, int nConjunction) const
{
    CRateCondition condition;
    condition.nCol1 = nCol1;
    condition.nRelation1 = nRelation1;
    condition.strValue1 = lpszValue1 != nullptr ? lpszValue1 : "";
    condition.nCol2 = nCol2;
    condition.nRelation2 = nRelation2;
    condition.strValue2 = lpszValue2 != nullptr ? lpszValue2 : "";
    condition.nConjunction = nConjunction;
    return MatchRateCondition(nRow, condition);
}

bool CMorvelEMView::MatchRateCondition(int nRow, const CRateCondition& condition) const
{
    return CFixedRateChange::Matches(Engine(), nRow, condition);
}

void CMorvelEMView::ApplyFixedRateChange(const char* lpszFormula, const CRateCondition& condition)
{
    const CRect rcBlock = GetSelectionBlock();
    const int nCol = rcBlock.right;
    if (!IsValidColumn(nCol))
        return;
    const int nFirstRow = std::max<int>(rcBlock.top, 0);
    IUndoTarget::CRateSettings settings;
    settings.strFormula = lpszFormula != nullptr ? lpszFormula : "";
    settings.condition = condition;
    GetModel().ApplyFixedRate(nCol, nFirstRow, rcBlock.bottom, settings);
    NoteUndoRecorded();

    RecalcTotals(nFirstRow);
    if (m_hWnd != nullptr) {
        InvalidateRows(nFirstRow, GetRowLimit() - 1, TRUE);
        UpdateWindow();
    }
    SetDocumentModified();
}

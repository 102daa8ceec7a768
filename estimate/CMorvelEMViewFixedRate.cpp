// Commands beside the estimate grid's display that change what the grid shows or holds as a
// whole: display fixing (which columns are shown), the fixed-rate change (one calculation
// over the numbers of a selected column, optionally only in rows that meet conditions) and
// the enabling of print and print preview.
#include "estimate/CMorvelEMView.h"

#include "estimate/CMorvelEMDoc.h"
#include "estimate/engine/UndoCommands.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>

namespace {

// The value of a compared text: a number text as written (group separators dropped, so
// that "1,000" typed as a condition value means a thousand), anything else read as far as
// it reads as a number.
double ComparedNumber(const CString& strText)
{
    if (CNumberRules::IsNumberText(strText))
        return CNumberRules::ReadNumberText(strText).ToDouble();
    return CNumberRules::ReadNumber(strText);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Display fixing

std::vector<bool> CMorvelEMView::GetDisplayTicks() const
{
    const int nColumns = GetColumnLimit();
    std::vector<bool> ticks(static_cast<size_t>(nColumns));
    for (int c = 0; c < nColumns; ++c)
        ticks[static_cast<size_t>(c)] = m_nBaseColumnWidth[c] != 0;
    return ticks;
}

void CMorvelEMView::ApplyDisplayFix(const std::vector<bool>& ticks)
{
    const int nColumns = std::min(GetColumnLimit(), static_cast<int>(ticks.size()));
    for (int c = 0; c < nColumns; ++c) {
        // A column shown again comes back at the width it had when it was last shown (or
        // resized); the remembered width itself never changes here.
        m_nBaseColumnWidth[c] = ticks[static_cast<size_t>(c)] ? m_nBaseColumnWidth2[c] : 0;
        // The cursor must not be led into a column nobody can see.
        if (m_nBaseColumnWidth[c] == 0)
            m_nInputFixed[c] = 0;
    }
    if (m_hWnd != nullptr) {
        CRect rcClient;
        GetClientRect(&rcClient);
        CRect rcHeaders(m_nRowHeaderWidth, 0, rcClient.right, m_nHeaderHeight);
        InvalidateRect(&rcHeaders, TRUE);
    }
    RecalcLayout();
}

// ---------------------------------------------------------------------------------------
// Fixed-rate change

bool CMorvelEMView::MatchRateCondition(int nRow, int nCol1, int nRelation1, const char* lpszValue1, int nCol2,
                                       int nRelation2, const char* lpszValue2, int nConjunction) const
{
    auto holds = [&](int nCol, int nRelation, const char* lpszValue) {
        if (lpszValue == nullptr || *lpszValue == '\0')
            return true;
        // A condition without a valid column (no item chosen) compares an empty cell.
        const CString& strCell = EditCell(nRow, nCol);
        const CString strValue(lpszValue);
        int nOrder;
        if (IsValidColumn(nCol) && GetColumnInfo(nCol).bNumeric) {
            const double left = ComparedNumber(strCell);
            const double right = ComparedNumber(strValue);
            nOrder = left < right ? -1 : (left > right ? 1 : 0);
        } else {
            nOrder = strCell.Compare(strValue);
        }
        return HoldsRelation(nOrder, nRelation);
    };
    const bool bFirst = holds(nCol1, nRelation1, lpszValue1);
    const bool bSecond = holds(nCol2, nRelation2, lpszValue2);
    switch (nConjunction) {
    case 0:
        return bFirst || bSecond;
    case 1:
        return bFirst && bSecond;
    default:
        return FALSE;
    }
}

bool CMorvelEMView::MatchRateCondition(int nRow, const CRateCondition& condition) const
{
    return MatchRateCondition(nRow, condition.nCol1, condition.nRelation1, condition.strValue1,
                              condition.nCol2, condition.nRelation2, condition.strValue2,
                              condition.nConjunction);
}

void CMorvelEMView::ApplyFixedRateChange(const char* lpszFormula, const CRateCondition& condition)
{
    const CRect rcBlock = GetSelectionBlock();
    const int nCol = rcBlock.right;
    if (!IsValidColumn(nCol))
        return;
    const int nFirstRow = std::max<int>(rcBlock.top, 0);
    // Rows below the used rows hold nothing to change (and must not be made by an undo).
    const int nLastRow = std::min<int>(rcBlock.bottom, GetUsedRows() - 1);
    const CString strFormula(lpszFormula != nullptr ? lpszFormula : "");

    // The command keeps the column's former texts, then the settings, so that a redo can
    // repeat the change exactly.
    auto pCommand = std::make_unique<CFixedRateCommand>(nCol, nFirstRow);

    for (int r = nFirstRow; r <= nLastRow; ++r) {
        const CString strOld = EditCell(r, nCol);
        pCommand->AddFormerText(strOld);
        if (CNumberRules::IsNumberText(strOld) && MatchRateCondition(r, condition)) {
            CString strResult = strOld + strFormula;
            EvaluateFormula(strResult);
            // A calculation that leaves no number (a division by zero, a formula that is
            // not arithmetic) keeps the cell's number rather than blanking or garbling it.
            if (CNumberRules::IsNumberText(strResult))
                SetCellText(strResult, r, nCol, TRUE);
        }
        CalcRow(r, 0);
    }

    IUndoTarget::CRateSettings settings;
    settings.strFormula = strFormula;
    settings.nCol1 = condition.nCol1;
    settings.nRelation1 = condition.nRelation1;
    settings.strValue1 = condition.strValue1;
    settings.nCol2 = condition.nCol2;
    settings.nRelation2 = condition.nRelation2;
    settings.strValue2 = condition.strValue2;
    settings.nConjunction = condition.nConjunction;
    pCommand->AddSettings(settings);
    RecordUndo(std::move(pCommand));

    RecalcTotals(nFirstRow);
    if (m_hWnd != nullptr) {
        InvalidateRows(nFirstRow, GetRowLimit() - 1, TRUE);
        UpdateWindow();
    }
    SetDocumentModified();
}

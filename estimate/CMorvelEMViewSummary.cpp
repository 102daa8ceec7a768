// The summary table (集計表): the estimate condensed into its headings and totals, level
// by level (kinds, large, middle and small subjects), on the summary page, or written at
// the top of the edit page.
#include "app/CEstimationFormFile.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/CCompensatedSum.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CNumberRules.h"
#include "estimate/engine/RowKinds.h"
#include "grid/CTabWnd.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>
#include <vector>

namespace {

// Per level: the kinds taken with their amounts and the kinds taken as opening rows.
struct CSummaryLevelKinds {
    std::initializer_list<int> amounts;
    std::initializer_list<int> openings;
};

const CSummaryLevelKinds& LevelKinds(int nLevel)
{
    static const CSummaryLevelKinds levels[] = {
        {{kindKind, kindFree, kindGrandTotal, kindGrandDiscountTotal, kindKindDiscountTotal}, {}},
        {{kindLarge, kindFree, kindGrandTotal, kindKindTotal, kindLargeDiscountTotal, kindGrandDiscountTotal},
         {kindKind}},
        {{kindMiddle, kindFree, kindLargeTotal, kindGrandTotal, kindKindTotal, kindMiddleDiscountTotal,
          kindGrandDiscountTotal},
         {kindLarge, kindKind}},
        {{kindSmall, kindFree, kindLargeTotal, kindMiddleTotal, kindGrandTotal, kindKindTotal,
          kindSmallDiscountTotal, kindGrandDiscountTotal},
         {kindLarge, kindMiddle, kindKind}},
    };
    return levels[nLevel];
}

bool Contains(std::initializer_list<int> kinds, int nKind)
{
    return std::find(kinds.begin(), kinds.end(), nKind) != kinds.end();
}

// The heading whose rows carry the amounts of a level.
ERowKind LevelHeading(int nLevel)
{
    static const ERowKind headings[] = {kindKind, kindLarge, kindMiddle, kindSmall};
    return headings[nLevel];
}

// Whether a row of kind nKind ends the block of the heading nHeading: its own total, a
// heading at its level or above, or the total of such a heading or of the whole estimate.
bool EndsSummaryBlock(ERowKind nHeading, ERowKind nKind)
{
    if (nKind == TotalKindOf(nHeading) || nKind == kindGrandTotal || IsHeadingAtOrAbove(nKind, nHeading))
        return true;
    return IsHeadingTotalKind(nKind) && IsHeadingAtOrAbove(HeadingOfTotalKind(nKind), nHeading);
}

} // namespace

int CMorvelEMView::SummaryBlockEnd(int nRow, bool bPastOwnTotal) const
{
    const ERowKind nHeading = EditKind(nRow);
    for (int r = nRow + 1; r < GetUsedRows(); ++r) {
        const ERowKind nKind = EditKind(r);
        if (EndsSummaryBlock(nHeading, nKind) && !(bPastOwnTotal && nKind == TotalKindOf(nHeading)))
            return r;
    }
    return GetUsedRows();
}

void CMorvelEMView::ForEachOwnSummaryRow(int nRow, ERowKind nLevelHeading,
                                         const std::function<void(int)>& visit) const
{
    const int nEnd = SummaryBlockEnd(nRow, false);
    ERowKind nInner =
        kindEmpty; // the heading of the level, or between it and the opening, whose block r is in
    for (int r = nRow + 1; r < nEnd; ++r) {
        const ERowKind nKind = EditKind(r);
        if (nInner != kindEmpty && EndsSummaryBlock(nInner, nKind)) {
            const bool bOwnTotal = nKind == TotalKindOf(nInner);
            nInner = kindEmpty;
            if (bOwnTotal)
                continue;
        }
        if (IsHeadingKind(nKind) && IsHeadingAtOrAbove(nKind, nLevelHeading)) {
            nInner = nKind;
            continue;
        }
        // Discounts are lines of their own and the free row is one; the rest are added.
        if (nInner == kindEmpty && IsLeafKind(nKind) && nKind != kindDiscount && nKind != kindFree)
            visit(r);
    }
}

bool CMorvelEMView::HasOwnSummaryRows(int nRow, ERowKind nLevelHeading) const
{
    bool bAny = false;
    ForEachOwnSummaryRow(nRow, nLevelHeading, [&](int) { bAny = true; });
    return bAny;
}

CString CMorvelEMView::SummaryAmountText(int nRow, int nCol, int nTotalRow, ERowKind nLevelHeading) const
{
    const ERowKind nKind = EditKind(nRow);
    const bool bOpening = nLevelHeading != kindEmpty && IsHeadingKind(nKind) && nKind != nLevelHeading;
    // The discount totals of the level within the heading's block are lines of their own:
    // the heading's line carries its amount before those discounts.
    std::vector<int> discountTotals;
    if (nKind == nLevelHeading) {
        const ERowKind nDiscountTotal = DiscountTotalKindOf(LevelOfHeadingKind(nLevelHeading));
        const int nEnd = SummaryBlockEnd(nRow, true);
        for (int r = nRow + 1; r < nEnd; ++r) {
            if (EditKind(r) == nDiscountTotal)
                discountTotals.push_back(r);
        }
    }
    if (!bOpening && discountTotals.empty() && nTotalRow >= 0)
        return EditCell(nTotalRow, nCol);
    CCompensatedSum sum;
    if (bOpening) {
        // An opening heading's line stands for its rows under no heading of the level.
        ForEachOwnSummaryRow(nRow, nLevelHeading, [&](int r) { sum.Add(CellValue(r, nCol)); });
    } else {
        sum.Add(nTotalRow >= 0 ? CellValue(nTotalRow, nCol)
                               : SumUnderHeading(nRow, LevelOfHeadingKind(nKind), nCol));
        for (int r : discountTotals)
            sum.Add(-CellValue(r, nCol));
    }
    CDecimal value = CDecimal::FromDouble(sum.Get());
    CNumberRules::RoundBySpec(value, GetColumnInfo(nCol).spec);
    return CNumberRules::FormatNormal(value);
}

void CMorvelEMView::AddRowToSummary(int nRow, bool bAmounts, ERowKind nLevelHeading)
{
    const int nNew = static_cast<int>(SummaryRows().GetUpperBound()) + 1;
    if (!IsValidRow(nNew))
        return;
    const ERowKind nKind = EditKind(nRow);
    SetSummaryRowKind(SummaryKindOf(nKind), nNew);
    CGridRow* pNew = SummaryRows().GetRow(nNew);
    const CEstimationFormFile& form = GetEstimationForm();
    const int nColumns = std::min(form.GetCount(), GetColumnLimit());
    // A discount row stands for itself, as a total row does.
    const int nTotalRow = !bAmounts ? -1 : nKind == kindDiscount ? nRow : FindTotalRow(nRow + 1, nKind);
    for (int c = 0; c < nColumns; ++c) {
        if (pNew != nullptr)
            pNew->SetIndent(c, GetCellIndentOfEditRow(nRow, c));
        const CString strNumber = GetSubjectNoText(nRow, c);
        const CString& strCell = EditCell(nRow, c);
        const CString& t = form.GetItem(c, CEstimationFormFile::colT);
        const CString& v = form.GetItem(c, CEstimationFormFile::colV);
        CString strText = strNumber + strCell;
        if (t == "1" && !bAmounts) {
            strText.Empty();
        } else if (t == "2") {
            // the number and the text, as they are
        } else if (t == "3" && bAmounts && IsHeadingKind(nKind)) {
            strText = strNumber + "1"; // a heading counts once
        } else if (t == "1" && bAmounts) {
            strText = strCell;
        } else if ((v == "1" || v == "2" || v == "3") && bAmounts) {
            strText = strNumber + SummaryAmountText(nRow, c, nTotalRow, nLevelHeading);
        }
        SetSummaryCellText(strText, nNew, c);
    }
    if (bAmounts) {
        const int nSaved = m_nSummaryPage;
        m_nSummaryPage = 1;
        CalcSummaryRow(nNew, 0);
        m_nSummaryPage = nSaved;
    }
}

void CMorvelEMView::BuildSummaryLevel(int nLevel)
{
    if (nLevel < 0 || nLevel >= SUMMARY_LEVELS)
        return;
    const CSummaryLevelKinds& kinds = LevelKinds(nLevel);
    const bool bCloseGroups = nLevel != summaryKind;
    int nOpenKind = -1; // the kind of the heading that opened the group, -1 when none is open
    // A plain discount that lies in the block of no heading of the level is in no line of
    // the level but in the totals below it: it becomes a line of its own, so that the lines
    // add up to those totals (a closing 出精値引 before the grand total).
    const ERowKind nLevelHeading = LevelHeading(nLevel);
    bool bInLevelBlock = false;
    for (int r = 0; r < GetUsedRows(); ++r) {
        const ERowKind nKind = EditKind(r);
        if (nKind == nLevelHeading)
            bInLevelBlock = true;
        else if (bInLevelBlock && EndsSummaryBlock(nLevelHeading, nKind))
            bInLevelBlock = false;
        if (nKind == kindDiscount && !bInLevelBlock) {
            AddRowToSummary(r, true, nLevelHeading);
        } else if (Contains(kinds.openings, nKind)) {
            if (nOpenKind < 0)
                nOpenKind = nKind;
            // An opening heading with rows under no heading of the level (電気設備工事 with
            // its details and no middle headings, at the middle level) carries their amounts,
            // which no other line of the level holds.
            AddRowToSummary(r, HasOwnSummaryRows(r, nLevelHeading), nLevelHeading);
        } else if (Contains(kinds.amounts, nKind)) {
            AddRowToSummary(r, true, nLevelHeading);
            // The opening heading's total closes its group with an empty row.
            if (bCloseGroups && nOpenKind >= 0 && nKind == nOpenKind + kindTotalOffset) {
                SetSummaryCellText("", static_cast<int>(SummaryRows().GetUpperBound()) + 1, 0);
                nOpenKind = -1;
            }
        }
    }
}

void CMorvelEMView::CancelSummaryTable()
{
    if (m_pTabWnd != nullptr && m_pTabWnd->m_hWnd != nullptr)
        m_pTabWnd->SetCurSel(0);
    OnEditPageTab();
}

void CMorvelEMView::MakeSummaryTable(const int levels[SUMMARY_LEVELS], bool bInternal)
{
    for (int i = 0; i < SUMMARY_LEVELS; ++i)
        m_nSummaryLevelOn[i] = levels[i] != 0 ? 1 : 0;
    // The summary page is built as its tab builds it (the edit page's cursor is kept).
    if (!bInternal && m_pTabWnd != nullptr && m_pTabWnd->m_hWnd != nullptr)
        m_pTabWnd->SetCurSel(1);
    OnSummaryPageTab();
    if (!bInternal)
        return;

    // 内部作成: back to the edit page, the summary written at its top.
    m_nSummaryPage = 0;
    HideCellEdit();
    const int nRowsPerPage = GetPageRows();
    // A summary written earlier (rows of kind 100 or more, and its filler rows) goes first;
    // only those rows are taken away, never a row of the estimate.
    int nOld = 0;
    while (nOld < GetUsedRows()) {
        const ERowKind nKind = EditKind(nOld);
        if (nKind != kindEmpty && nKind < kindSummaryOffset)
            break;
        ++nOld;
    }
    const int nLast = static_cast<int>(SummaryRows().GetUpperBound());
    const int nInsert = nLast >= 0 ? (nLast / nRowsPerPage + 1) * nRowsPerPage : 0;
    // The rows the estimate has with the new summary in place of the old one are checked
    // before either is touched: an estimate its file could not hold, or one that would
    // push rows past the row limit, keeps its old summary.
    const long long nRowsAfter = static_cast<long long>(GetUsedRows()) - nOld + nInsert;
    bool bWrite = CheckFileRowLimit(nRowsAfter);
    if (bWrite && nInsert > 0 && nRowsAfter >= GetRowLimit()) {
        MessageBeep(0);
        bWrite = false;
    }
    if (bWrite) {
        for (int i = 0; i < nOld; ++i)
            DeleteRow(0);
        for (int i = 0; i < nInsert; ++i)
            InsertRow(0);
        for (int r = 0; r <= nLast; ++r) {
            const CGridRow* pSummary = SummaryRows().GetRow(r);
            if (pSummary == nullptr)
                continue;
            SetRowKind(pSummary->GetKind(), r);
            for (int c = 0; c < GetColumnLimit(); ++c)
                SetCellText(pSummary->m_strCell[c], r, c, TRUE);
        }
    }
    UpdateTreeView();
    if (bWrite)
        SetDocumentModified();
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
    }
    ClickCell(m_ptSummaryReturn.x, m_ptSummaryReturn.y);
    UpdateStatusText(statusShow);
}

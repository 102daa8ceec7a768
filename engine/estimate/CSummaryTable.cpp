#include "engine/estimate/CSummaryTable.h"

#include "engine/estimate/CCompensatedSum.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRowFormula.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Per level: the kinds taken with their amounts and the kinds taken as opening rows.
struct CLevelKinds {
    std::initializer_list<ERowKind> amounts;
    std::initializer_list<ERowKind> openings;
};

const CLevelKinds& LevelKinds(ESummaryLevel eLevel)
{
    static const CLevelKinds levels[] = {
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
    return levels[SummaryLevelIndex(eLevel)];
}

bool Contains(std::initializer_list<ERowKind> kinds, ERowKind nKind)
{
    return std::find(kinds.begin(), kinds.end(), nKind) != kinds.end();
}

// The kind of the headings whose rows carry the amounts of a level.
ERowKind LevelHeadingKind(ESummaryLevel eLevel)
{
    static const ERowKind headings[] = {kindKind, kindLarge, kindMiddle, kindSmall};
    return headings[SummaryLevelIndex(eLevel)];
}

// Whether a row of kind nKind ends the block of the heading nHeading: its own total, a
// heading at its level or above, or the total of such a heading or of the whole estimate.
bool EndsBlock(ERowKind nHeading, ERowKind nKind)
{
    if (nKind == TotalKindOf(nHeading) || nKind == kindGrandTotal || IsHeadingAtOrAbove(nKind, nHeading))
        return true;
    return IsHeadingTotalKind(nKind) && IsHeadingAtOrAbove(HeadingOfTotalKind(nKind), nHeading);
}

CGridRow* MakeRow(CGridRowArray& rows, int nRow)
{
    CGridRow* pRow = rows.GetRow(nRow);
    if (pRow == nullptr) {
        auto pNew = std::make_unique<CGridRow>();
        pRow = pNew.get();
        rows.SetAtGrow(nRow, std::move(pNew));
    }
    return pRow;
}

} // namespace

CSummaryTable::CSummaryTable(const CEstimateEngine& engine, CGridRowArray& rows, int nRowLimit,
                             int nFormColumns)
    : m_engine(engine), m_rows(rows), m_nRowLimit(nRowLimit), m_nFormColumns(nFormColumns)
{
}

void CSummaryTable::Clear()
{
    m_rows.RemoveAll();
}

int CSummaryTable::NextRow() const
{
    return static_cast<int>(m_rows.GetUpperBound()) + 1;
}

int CSummaryTable::BlockEnd(int nRow, bool bPastOwnTotal) const
{
    const ERowKind nHeading = m_engine.EditKind(nRow);
    const int nUsedRows = m_engine.GetUsedRows();
    for (int r = nRow + 1; r < nUsedRows; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (EndsBlock(nHeading, nKind) && !(bPastOwnTotal && nKind == TotalKindOf(nHeading)))
            return r;
    }
    return nUsedRows;
}

void CSummaryTable::ForEachOwnRow(int nRow, ERowKind nHeadingKind,
                                  const std::function<void(int)>& visit) const
{
    const int nEnd = BlockEnd(nRow, false);
    // The heading of the level, or between it and the opening, whose block r is in.
    ERowKind nInner = kindEmpty;
    for (int r = nRow + 1; r < nEnd; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (nInner != kindEmpty && EndsBlock(nInner, nKind)) {
            const bool bOwnTotal = nKind == TotalKindOf(nInner);
            nInner = kindEmpty;
            if (bOwnTotal)
                continue;
        }
        if (IsHeadingKind(nKind) && IsHeadingAtOrAbove(nKind, nHeadingKind)) {
            nInner = nKind;
            continue;
        }
        // Discounts are lines of their own and the free row is one; the rest are added.
        if (nInner == kindEmpty && IsLeafKind(nKind) && nKind != kindDiscount && nKind != kindFree)
            visit(r);
    }
}

bool CSummaryTable::HasOwnRows(int nRow, ERowKind nHeadingKind) const
{
    bool bAny = false;
    ForEachOwnRow(nRow, nHeadingKind, [&](int) { bAny = true; });
    return bAny;
}

CString CSummaryTable::AmountText(int nRow, int nCol, int nTotalRow, ERowKind nHeadingKind) const
{
    const ERowKind nKind = m_engine.EditKind(nRow);
    const bool bOpening = nHeadingKind != kindEmpty && IsHeadingKind(nKind) && nKind != nHeadingKind;
    // The discount totals of the level within the heading's block are lines of their own:
    // the heading's line carries its amount before those discounts.
    std::vector<int> discountTotals;
    if (nKind == nHeadingKind) {
        const ERowKind nDiscountTotal = DiscountTotalKindOf(LevelOfHeadingKind(nHeadingKind));
        const int nEnd = BlockEnd(nRow, true);
        for (int r = nRow + 1; r < nEnd; ++r) {
            if (m_engine.EditKind(r) == nDiscountTotal)
                discountTotals.push_back(r);
        }
    }
    if (!bOpening && discountTotals.empty() && nTotalRow >= 0)
        return m_engine.EditCell(nTotalRow, nCol);
    CCompensatedSum sum;
    if (bOpening) {
        // An opening heading's line stands for its rows under no heading of the level.
        ForEachOwnRow(nRow, nHeadingKind, [&](int r) { sum.Add(m_engine.CellValue(r, nCol)); });
    } else {
        sum.Add(nTotalRow >= 0 ? m_engine.CellValue(nTotalRow, nCol)
                               : m_engine.SumUnderHeading(nRow, LevelOfHeadingKind(nKind), nCol));
        for (int r : discountTotals)
            sum.Add(-m_engine.CellValue(r, nCol));
    }
    CDecimal value = CDecimal::FromDouble(sum.Get());
    CNumberRules::RoundBySpec(value, m_engine.Columns().Get(nCol).spec);
    return CNumberRules::FormatNormal(value);
}

void CSummaryTable::AddLine(int nRow, bool bAmounts, ERowKind nHeadingKind)
{
    const int nNew = NextRow();
    if (nNew < 0 || nNew >= m_nRowLimit)
        return;
    const CEstimateColumns& columns = m_engine.Columns();
    const CEstimateColumns::CBatch batch(columns);
    const ERowKind nKind = m_engine.EditKind(nRow);
    CGridRow* pNew = MakeRow(m_rows, nNew);
    pNew->SetKind(SummaryKindOf(nKind));
    const CGridRow* pEdit = m_engine.Rows().GetRow(nRow);
    const int nColumns = std::min(m_nFormColumns, columns.GetLimit());
    // A discount row stands for itself, as a total row does.
    const int nTotalRow = !bAmounts               ? -1
                          : nKind == kindDiscount ? nRow
                                                  : m_engine.FindTotalRow(nRow + 1, nKind);
    for (int c = 0; c < nColumns; ++c) {
        pNew->SetIndent(c, pEdit != nullptr ? pEdit->m_nIndent[c] : 0);
        const CString& strCell = m_engine.EditCell(nRow, c);
        const CEstimateColumns::CColumnInfo& info = columns.Get(c);
        const CString& t = info.strT;
        const CString& v = info.strV;
        CString strText = strCell;
        if (t == "1" && !bAmounts) {
            strText.Empty();
        } else if (t == "2" || (t == "1" && bAmounts)) {
            // the text, as it is
        } else if (t == "3" && bAmounts && IsHeadingKind(nKind)) {
            strText = "1"; // a heading counts once
        } else if ((v == "1" || v == "2" || v == "3") && bAmounts) {
            strText = AmountText(nRow, c, nTotalRow, nHeadingKind);
        }
        pNew->SetCell(c, std::move(strText));
    }
    if (bAmounts)
        CalcRow(m_rows, m_nRowLimit, columns, nNew, 0);
}

void CSummaryTable::BuildLevel(ESummaryLevel eLevel)
{
    const CLevelKinds& kinds = LevelKinds(eLevel);
    const bool bCloseGroups = eLevel != ESummaryLevel::kinds;
    // The kind of the heading that opened the group, empty when none is open.
    ERowKind nOpenKind = kindEmpty;
    // A plain discount that lies in the block of no heading of the level is in no line of
    // the level but in the totals below it: it becomes a line of its own, so that the lines
    // add up to those totals (a closing 出精値引 before the grand total).
    const ERowKind nHeadingKind = LevelHeadingKind(eLevel);
    bool bInLevelBlock = false;
    const int nUsedRows = m_engine.GetUsedRows();
    for (int r = 0; r < nUsedRows; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (nKind == nHeadingKind)
            bInLevelBlock = true;
        else if (bInLevelBlock && EndsBlock(nHeadingKind, nKind))
            bInLevelBlock = false;
        if (nKind == kindDiscount && !bInLevelBlock) {
            AddLine(r, true, nHeadingKind);
        } else if (Contains(kinds.openings, nKind)) {
            if (nOpenKind == kindEmpty)
                nOpenKind = nKind;
            // An opening heading with rows under no heading of the level (電気設備工事 with
            // its details and no middle headings, at the middle level) carries their amounts,
            // which no other line of the level holds.
            AddLine(r, HasOwnRows(r, nHeadingKind), nHeadingKind);
        } else if (Contains(kinds.amounts, nKind)) {
            AddLine(r, true, nHeadingKind);
            // The opening heading's total closes its group with an empty row.
            if (bCloseGroups && nOpenKind != kindEmpty && nKind == TotalKindOf(nOpenKind)) {
                SetCell(m_rows, m_nRowLimit, m_engine.Columns(), NextRow(), 0, "");
                nOpenKind = kindEmpty;
            }
        }
    }
}

void CSummaryTable::FillPage(int nRowsPerPage)
{
    const int nLast = static_cast<int>(m_rows.GetUpperBound());
    if (nLast < 0 || nRowsPerPage <= 0)
        return;
    const int nEnd = nLast + (nRowsPerPage - 1 - nLast % nRowsPerPage);
    if (nEnd > nLast)
        m_rows.SetAtGrow(nEnd, std::make_unique<CGridRow>());
}

int CSummaryTable::GetRowsOnPages(int nRowsPerPage) const
{
    const int nLast = static_cast<int>(m_rows.GetUpperBound());
    return nLast >= 0 && nRowsPerPage > 0 ? (nLast / nRowsPerPage + 1) * nRowsPerPage : 0;
}

void CSummaryTable::SetCell(CGridRowArray& rows, int nRowLimit, const CEstimateColumns& columns, int nRow,
                            int nCol, const char* lpszText)
{
    if (nRow < 0 || nRow >= nRowLimit || !columns.IsValid(nCol))
        return;
    MakeRow(rows, nRow)->SetCell(nCol, lpszText != nullptr ? lpszText : "");
}

void CSummaryTable::SetKind(CGridRowArray& rows, int nRowLimit, ERowKind nKind, int nRow)
{
    if (nRow < 0 || nRow >= nRowLimit)
        return;
    MakeRow(rows, nRow)->SetKind(nKind);
}

void CSummaryTable::CalcRow(CGridRowArray& rows, int nRowLimit, const CEstimateColumns& columns, int nRow,
                            int nFirstCol)
{
    if (nRow < 0 || nRow >= nRowLimit)
        return;
    const CEstimateColumns::CBatch batch(columns);
    const int nColumns = columns.GetLimit();
    std::string expression;
    for (int nCol = std::max(0, nFirstCol); nCol < nColumns; ++nCol) {
        const CEstimateColumns::CColumnInfo& info = columns.Get(nCol);
        if (!info.bFormula)
            continue;
        // The summary page's rows take the estimate's rules: a line none of whose referenced
        // cells holds a number (a heading's line) keeps what was copied into it.
        double result = 0.0;
        const CRowFormula::EOutcome outcome = info.formula.Evaluate(
            [&](int nRef) -> const CString& {
                static const CString s_strEmpty;
                const CGridRow* pRow = rows.GetRow(nRow);
                return pRow != nullptr && columns.IsValid(nRef) ? pRow->m_strCell[nRef] : s_strEmpty;
            },
            CRowFormula::estimateRules, expression, result);
        if (outcome == CRowFormula::EOutcome::keep)
            continue;
        CString strResult;
        if (outcome == CRowFormula::EOutcome::number)
            strResult = CNumberRules::FormatNormal(CRowFormula::RoundedResult(result, info.spec));
        MakeRow(rows, nRow)->SetCell(nCol, std::move(strResult));
    }
}

int CSummaryTable::CountWrittenRows(const CEstimateEngine& engine)
{
    // Only those rows are taken away, never a row of the estimate.
    const int nUsedRows = engine.GetUsedRows();
    int nOld = 0;
    while (nOld < nUsedRows) {
        const ERowKind nKind = engine.EditKind(nOld);
        if (nKind != kindEmpty && !IsSummaryKind(nKind))
            break;
        ++nOld;
    }
    return nOld;
}

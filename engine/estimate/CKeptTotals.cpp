// The totals an edit can change. A recalculation from an edited row down rewrites every
// total below it from the rows; most of them come out as they were. The engine keeps each
// total's sums and the numbers they were made from, notes the rows it changes itself, and
// after an edit rewrites only the totals whose rows changed (and those the rewritten totals
// feed), in the order and with the texts the walk over the rows gives.
#include "engine/estimate/CKeptTotals.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <functional>

namespace {

// Beyond this many changed rows a recalculation walks the rows: a bulk change.
constexpr size_t kMaxChangedRows = 256;

// Kinds whose change moves the totals' ranges or that the recalculation makes itself: the
// kept sums are dropped when a row takes or leaves one of them.
bool IsPlaceKind(ERowKind nKind)
{
    return IsSectionStartKind(nKind) || IsTotalKind(nKind) || IsDiscountTotalKind(nKind) ||
           nKind == kindFree || nKind == kindStep || nKind == kindClassify;
}

// Whether a column adds a row of the kind: a leaf row, or with "計 B" a subtotal row.
bool AddsRow(bool bBySubtotals, ERowKind nKind)
{
    return bBySubtotals ? IsSubtotalKind(nKind) : IsLeafKind(nKind);
}

// The rows whose numbers any sum adds (a discount row is also added by the discount
// totals, in every column).
bool IsCountedKind(ERowKind nKind)
{
    return IsLeafKind(nKind) || IsSubtotalKind(nKind);
}

} // namespace

// ---------------------------------------------------------------------------------------
// The totals to rewrite

void CKeptTotals::CPending::Mark(int nIndex)
{
    if (m_marked[static_cast<size_t>(nIndex)] != 0)
        return;
    m_marked[static_cast<size_t>(nIndex)] = 1;
    m_heap.push_back(nIndex);
    std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
}

bool CKeptTotals::CPending::Unmark(int nIndex)
{
    const bool bMarked = m_marked[static_cast<size_t>(nIndex)] != 0;
    m_marked[static_cast<size_t>(nIndex)] = 0;
    return bMarked;
}

int CKeptTotals::CPending::First()
{
    while (!m_heap.empty() && m_marked[static_cast<size_t>(m_heap.front())] == 0) {
        std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
        m_heap.pop_back();
    }
    return m_heap.empty() ? -1 : m_heap.front();
}

// ---------------------------------------------------------------------------------------
// Whether they are kept, and the engine's own changes

int CKeptTotals::SlotOfLevel(ETotalLevel nLevel)
{
    switch (nLevel) {
    case ETotalLevel::levelKind:
        return slotKind;
    case ETotalLevel::levelLarge:
        return slotLarge;
    case ETotalLevel::levelMiddle:
        return slotMiddle;
    case ETotalLevel::levelSmall:
        return slotSmall;
    default:
        return -1;
    }
}

bool CKeptTotals::IsCurrent(const CEstimateEngine& engine) const
{
    return m_eState == stateBuilt && m_changedRows.empty() && engine.Rows().GetChangeCount() == m_nChanges &&
           engine.GetUsedRows() == m_nUsedRows;
}

bool CKeptTotals::IsInStep(unsigned long long nChangeCount) const
{
    return m_eState != stateOff && nChangeCount == m_nChanges;
}

void CKeptTotals::NoteChangedRow(int nRow)
{
    if (m_changedRows.empty() || m_changedRows.back() != nRow)
        m_changedRows.push_back(nRow);
    if (m_changedRows.size() > kMaxChangedRows)
        m_eState = stateOff;
}

void CKeptTotals::NoteCellChange(bool bInStep, unsigned long long nChangeCount, int nRow, bool bMovesRanges)
{
    if (m_eState == stateOff)
        return; // nothing kept
    if (!bInStep) {
        m_eState = stateOff;
        return;
    }
    m_nChanges = nChangeCount;
    if (m_eState == stateBlocked)
        return;
    if (bMovesRanges) {
        m_eState = stateOff;
        return;
    }
    NoteChangedRow(nRow);
}

void CKeptTotals::NoteKindChange(bool bInStep, unsigned long long nChangeCount, int nRow, ERowKind nOldKind,
                                 ERowKind nNewKind)
{
    if (m_eState == stateOff)
        return;
    if (!bInStep || IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind)) {
        m_eState = stateOff;
        return;
    }
    m_nChanges = nChangeCount;
    if (m_eState == stateBlocked || nOldKind == nNewKind)
        return;
    NoteChangedRow(nRow);
}

void CKeptTotals::NoteNeutralChange(bool bInStep, unsigned long long nChangeCount)
{
    if (m_eState == stateOff)
        return;
    if (bInStep)
        m_nChanges = nChangeCount;
    else
        m_eState = stateOff;
}

void CKeptTotals::Block(const CEstimateEngine& engine, bool bByNumber)
{
    std::string strRules = std::move(m_strRules);
    Clear();
    m_eState = stateBlocked;
    m_bBlockedByNumber = bByNumber;
    m_nChanges = engine.Rows().GetChangeCount();
    m_nUsedRows = engine.GetUsedRows();
    m_strRules = std::move(strRules);
}

bool CKeptTotals::ReadRow(const CEstimateEngine& engine, int nRow, ERowKind& nKind, int64_t* pValues) const
{
    const CGridRow* pRow = engine.Rows().GetRow(nRow);
    nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    const size_t nSums = m_columns.size();
    for (size_t i = 0; i < nSums; ++i) {
        pValues[i] = 0;
        // Only the numbers some sum adds: a column's own rows and the discount rows.
        if (pRow == nullptr || !(AddsRow(m_bySubtotals[i] != 0, nKind) || nKind == kindDiscount))
            continue;
        const std::string& text = pRow->m_strCell[m_columns[i]].str();
        if (!CWholeSums::ToWhole(CNumberRules::ReadStoredNumber(text), pValues[i]))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Made from the rows

bool CKeptTotals::MayBuildInWalk(int nFromRow) const
{
    return m_eState != stateBlocked || (m_bBlockedByNumber && nFromRow == 0);
}

void CKeptTotals::FollowFrom(const CEstimateEngine& engine, int nFromRow)
{
    std::string strRules = engine.Columns().GetRulesText();
    if (m_eState == stateBuilt) {
        m_nUsedRows = engine.GetUsedRows();
        m_strRules = std::move(strRules);
        return;
    }
    // Rows the kept sums cannot follow stay so while nothing but cells changed (a number
    // they cannot keep is looked at again by the next recalculation from the first row).
    if (m_eState == stateBlocked && engine.Rows().GetChangeCount() == m_nChanges &&
        m_nUsedRows == engine.GetUsedRows() && (m_strRules.empty() || m_strRules == strRules)) {
        m_strRules = std::move(strRules);
        return;
    }
    Clear();
    m_eState = stateFollowing;
    m_nChanges = engine.Rows().GetChangeCount();
    m_nUsedRows = engine.GetUsedRows();
    m_nFirstFresh = std::max(0, nFromRow);
    m_strRules = std::move(strRules);
}

bool CKeptTotals::StartKeepingRows(const CEstimateEngine& engine)
{
    // What the rows were known as stays; the sums start afresh.
    CKeptTotals known;
    known.m_nChanges = m_nChanges;
    known.m_nUsedRows = m_nUsedRows;
    known.m_nFirstFresh = m_nFirstFresh;
    known.m_strRules = std::move(m_strRules);
    known.m_changedRows = std::move(m_changedRows);
    *this = std::move(known);
    std::vector<CTotalColumn> columns;
    engine.GetTotalColumns(columns);
    const size_t nSums = columns.size();
    for (const CTotalColumn& column : columns) {
        m_columns.push_back(column.nCol);
        m_bySubtotals.push_back(column.eTotalMode == CEstimateColumns::ETotalMode::subtotals ? 1 : 0);
    }
    // A formula a total row works out must read only cells the total has written before
    // it (its sums, written first, and the formula columns left of it): a formula column
    // at or right of it keeps the text of the row's last rewrite, which the walk and the
    // kept sums may leave at different times.
    if (engine.TotalFormulasReadAhead())
        return false;
    const CEstimateColumns& rules = engine.Columns();
    const size_t nRows = static_cast<size_t>(std::max(engine.GetUsedRows(), 0));
    m_kinds.assign(nRows, kindEmpty);
    m_values.assign(nRows * nSums, 0);
    m_estimate.assign(nSums, 0);
    m_leaves.assign(nSums, 0);
    m_budgets.assign(nSums, CWholeSums());
    m_running.assign(nSums, 0);
    m_discounts.assign(nSums, 0);
    m_started.assign(SLOTS * nSums, 0);
    m_nNameCol = rules.FindNameColumn();
    return true;
}

bool CKeptTotals::StartBuild(const CEstimateEngine& engine)
{
    if (!StartKeepingRows(engine))
        return false;
    // The sums stand for the columns' rules they are made under, for what is made of them
    // before this recalculation ends (the totals below a tax row) as after.
    m_strRules = engine.Columns().GetRulesText();
    return true;
}

bool CKeptTotals::BuildOtherRow(const CEstimateEngine& engine, int nRow, ERowKind nKind, bool bTotalWritten)
{
    m_bBlockedByNumber = false;
    if (nKind == kindStep || nKind == kindClassify || nRow >= static_cast<int>(m_kinds.size()))
        return false;
    // The details above it first: a heading or a total reads the running sums.
    if (!TakeDetails(nRow))
        return false;
    m_nAddedTo = nRow + 1;
    m_kinds[static_cast<size_t>(nRow)] = nKind;
    if (IsSectionStartKind(nKind)) {
        KeepHeading(nRow, nKind);
        return true;
    }
    if (IsTotalKind(nKind))
        KeepTotal(nRow, nKind);
    else if (IsDiscountTotalKind(nKind))
        KeepDiscountTotal(engine, nRow, nKind);
    else if (nKind == kindFree)
        m_freeRows.push_back(nRow);
    if (!bTotalWritten && (IsTotalKind(nKind) || IsDiscountTotalKind(nKind)))
        m_unwritten.push_back(static_cast<int>(m_totals.size()) - 1);
    return !IsCountedKind(nKind) || KeepNumbers(nRow, nKind);
}

void CKeptTotals::StopBuild(const CEstimateEngine& engine, bool bByNumber)
{
    Block(engine, bByNumber);
}

void CKeptTotals::KeepHeading(int nRow, ERowKind nKind)
{
    const size_t nSums = m_columns.size();
    const int nSlot = SlotOfLevel(LevelOfHeadingKind(SectionHeadingKindOf(nKind)));
    m_headings[nSlot].push_back(nRow);
    m_discountsAtHeading[nSlot].insert(m_discountsAtHeading[nSlot].end(), m_discounts.begin(),
                                       m_discounts.end());
    std::copy(m_running.begin(), m_running.end(),
              m_started.begin() + static_cast<std::ptrdiff_t>(nSlot * nSums));
}

void CKeptTotals::KeepTotal(int nRow, ERowKind nKind)
{
    const size_t nSums = m_columns.size();
    const int nSlot = SlotOfLevel(LevelOfTotalKind(nKind));
    // It adds no rows without a heading of its level above it (the nearest one may be
    // marked non-calculated) or with nothing between the heading and itself.
    const int nHeading = nSlot >= 0 && !m_headings[nSlot].empty() ? m_headings[nSlot].back() : -1;
    const bool bRange = nSlot < 0 ? nRow > 0
                                  : nHeading >= 0 && nHeading + 1 <= nRow - 1 &&
                                        m_kinds[static_cast<size_t>(nHeading)] == HeadingOfTotalKind(nKind);
    if (!bRange) {
        KeepTotalWithoutRows(nRow, nKind);
        return;
    }
    const int nIndex = static_cast<int>(m_totals.size());
    m_totals.push_back({nRow, nSlot < 0 ? 0 : nHeading + 1, nKind, true});
    for (size_t i = 0; i < nSums; ++i)
        m_sums.push_back(nSlot < 0 ? m_running[i]
                                   : m_running[i] - m_started[static_cast<size_t>(nSlot) * nSums + i]);
    (nSlot < 0 ? m_grandTotals : m_levelTotals[nSlot]).push_back(nIndex);
}

void CKeptTotals::KeepDiscountTotal(const CEstimateEngine& engine, int nRow, ERowKind nKind)
{
    const size_t nSums = m_columns.size();
    const ETotalLevel nLevel = LevelOfDiscountTotalKind(nKind);
    m_nLastDiscountRow = nRow;
    m_nLastDiscountLevel = nLevel;
    // As MakeTotalRow finds it: the nearest heading of the level above whose name the
    // total's label holds (the whole estimate for the grand discount total); one marked
    // non-calculated adds no rows.
    const int nSlot = SlotOfLevel(nLevel);
    int nStart = 0;
    // The discount sums before nStart, at nBeforeAt of the heading's store (none: 0). Kept as
    // an index: without summed columns the store is empty and holds no element to point at.
    const std::vector<int64_t>* pBefore = nullptr;
    size_t nBeforeAt = 0;
    bool bFound = nLevel == ETotalLevel::levelGrand;
    if (!bFound && nSlot >= 0) {
        const CString& strLabel = engine.EditCell(nRow, m_nNameCol);
        for (size_t j = m_headings[nSlot].size(); j-- > 0;) {
            const int h = m_headings[nSlot][j];
            if (strLabel.Find(engine.EditCell(h, m_nNameCol)) >= 0) {
                nStart = h + 1;
                pBefore = &m_discountsAtHeading[nSlot];
                nBeforeAt = j * nSums;
                bFound = IsHeadingKind(m_kinds[static_cast<size_t>(h)]);
                break;
            }
        }
    }
    if (!bFound || nStart > nRow - 1) {
        KeepTotalWithoutRows(nRow, nKind);
        return;
    }
    const int nIndex = static_cast<int>(m_totals.size());
    m_totals.push_back({nRow, nStart, nKind, true});
    for (size_t i = 0; i < nSums; ++i)
        m_sums.push_back(m_discounts[i] - (pBefore != nullptr ? (*pBefore)[nBeforeAt + i] : 0));
    m_discountTotals.push_back(nIndex);
}

void CKeptTotals::KeepTotalWithoutRows(int nRow, ERowKind nKind)
{
    // Kept too: it is written again when its own cells change.
    m_totals.push_back({nRow, nRow, nKind, false});
    m_sums.insert(m_sums.end(), m_columns.size(), 0);
}

int64_t* CKeptTotals::RowValues(int nRow)
{
    return const_cast<int64_t*>(std::as_const(*this).RowValues(nRow));
}

const int64_t* CKeptTotals::RowValues(int nRow) const
{
    const size_t nSums = m_columns.size();
    MORVEL_CHECK(nRow >= 0 && static_cast<size_t>(nRow) < m_kinds.size() &&
                     (static_cast<size_t>(nRow) + 1) * nSums <= m_values.size(),
                 "the row's numbers are in the store");
    return m_values.data() + static_cast<size_t>(nRow) * nSums;
}

bool CKeptTotals::TakeDetails(int nRow)
{
    const size_t nSums = m_columns.size();
    const size_t nFirst = static_cast<size_t>(m_nAddedTo);
    const size_t nEnd = static_cast<size_t>(std::max(nRow, m_nAddedTo));
    m_nAddedTo = static_cast<int>(nEnd);
    for (size_t i = 0; i < nSums; ++i) {
        if (m_bySubtotals[i] != 0)
            continue;
        // Each number's magnitude is at most the budget: the sum of magnitudes is checked
        // as it grows, and cannot overflow before it passes the budget.
        int64_t nSum = 0;
        int64_t nMagnitudes = 0;
        // Indexed row by row: the range is empty for an estimate without rows, whose store
        // is empty too.
        for (size_t r = nFirst; r < nEnd; ++r) {
            const int64_t nValue = m_values[r * nSums + i];
            nSum += nValue;
            nMagnitudes += std::llabs(nValue);
            if (nMagnitudes > CWholeSums::LIMIT)
                break;
        }
        if (!m_budgets[i].Take(nMagnitudes)) {
            m_bBlockedByNumber = true;
            return false;
        }
        m_running[i] += nSum;
        m_leaves[i] += nSum;
        m_estimate[i] += nSum;
    }
    return true;
}

bool CKeptTotals::KeepNumbers(int nRow, ERowKind nKind)
{
    // (The row's values hold 0 where no sum adds the number.)
    const size_t nSums = m_columns.size();
    const int64_t* pValues = RowValues(nRow);
    const bool bLeaf = IsLeafKind(nKind);
    for (size_t i = 0; i < nSums; ++i) {
        const int64_t nValue = pValues[i];
        if (!m_budgets[i].Take(nValue)) {
            m_bBlockedByNumber = true;
            return false;
        }
        if (AddsRow(m_bySubtotals[i] != 0, nKind))
            m_running[i] += nValue;
        if (nKind == kindDiscount)
            m_discounts[i] += nValue;
        if (m_bySubtotals[i] == 0 && bLeaf) {
            m_leaves[i] += nValue;
            if (nKind != kindFree)
                m_estimate[i] += nValue;
        }
    }
    return true;
}

void CKeptTotals::EndKeepingRows()
{
    // Every total the walk did not write may not show its sums; so may those over the rows
    // changed since.
    m_stale = std::move(m_unwritten);
    m_unwritten.clear();
    for (int r : m_changedRows) {
        if (r < 0 || r >= static_cast<int>(m_kinds.size()))
            continue;
        ForTotalsOver(r, true, true, [this](int nIndex) { m_stale.push_back(nIndex); });
        const int nIndex = FindTotal(r);
        if (nIndex >= 0)
            m_stale.push_back(nIndex);
    }
    m_changedRows.clear();
    m_running.clear();
    m_discounts.clear();
    m_started.clear();
    for (std::vector<int64_t>& at : m_discountsAtHeading)
        at.clear();
    m_eState = stateBuilt;
}

bool CKeptTotals::EndBuild(const CEstimateEngine& engine)
{
    if (!TakeDetails(static_cast<int>(m_kinds.size())))
        return false;
    m_changedRows.clear();
    EndKeepingRows();
    m_nChanges = engine.Rows().GetChangeCount();
    m_nUsedRows = engine.GetUsedRows();
    return true;
}

bool CKeptTotals::BuildFromRows(const CEstimateEngine& engine)
{
    if (!StartKeepingRows(engine))
        return false;
    const int nRows = engine.GetUsedRows();
    int nFirstCell = -1;
    int nLastCell = -1;
    for (int nCol : m_columns) {
        nFirstCell = nFirstCell < 0 ? nCol : std::min(nFirstCell, nCol);
        nLastCell = std::max(nLastCell, nCol);
    }
    for (int r = 0; r < nRows; ++r) {
        // Rows lie kilobytes apart: the kind and the summed cells are fetched well ahead
        // (there is little to do per row).
        engine.PrefetchRow(r + CEstimateEngine::KIND_PREFETCH_DISTANCE, nFirstCell, nLastCell, 0, -1);
        ERowKind nKind = kindEmpty;
        if (!ReadRow(engine, r, nKind, ValuesToBuild(r))) {
            m_bBlockedByNumber = true;
            return false;
        }
        // The totals above the first row a walk wrote from may not show their sums.
        if (!BuildRow(engine, r, nKind, r >= m_nFirstFresh))
            return false;
    }
    if (!TakeDetails(nRows))
        return false;
    EndKeepingRows();
    return true;
}

bool CKeptTotals::BuildFromTheRows(const CEstimateEngine& engine)
{
    Clear();
    m_nChanges = engine.Rows().GetChangeCount();
    m_nUsedRows = engine.GetUsedRows();
    // Nothing was written: every total may show what the file held, not its sums.
    m_nFirstFresh = INT_MAX;
    m_strRules = engine.Columns().GetRulesText();
    if (!BuildFromRows(engine)) {
        Clear();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// A recalculation through them

template <typename Visit>
void CKeptTotals::ForTotalsOver(int nRow, bool bGrand, bool bDiscounts, Visit visit) const
{
    // A heading total adds the rows between the nearest heading of its level above it and
    // itself: the totals of the level after nRow and before the next section of the level,
    // when a heading of the level lies above nRow.
    for (int nSlot = 0; nSlot < SLOTS; ++nSlot) {
        const std::vector<int>& headings = m_headings[nSlot];
        const auto itNext = std::upper_bound(headings.begin(), headings.end(), nRow);
        if (itNext == headings.begin())
            continue; // no heading of the level above
        const int nNext = itNext == headings.end() ? INT_MAX : *itNext;
        const std::vector<int>& totals = m_levelTotals[nSlot];
        auto it = std::upper_bound(totals.begin(), totals.end(), nRow,
                                   [this](int nValue, int nIndex) { return nValue < m_totals[nIndex].nRow; });
        for (; it != totals.end() && m_totals[*it].nRow < nNext; ++it)
            visit(*it);
    }
    if (bGrand) {
        for (int nIndex : m_grandTotals) {
            if (m_totals[nIndex].nRow > nRow)
                visit(nIndex);
        }
    }
    if (bDiscounts) {
        for (int nIndex : m_discountTotals) {
            const CTotal& total = m_totals[nIndex];
            if (total.nStart <= nRow && nRow < total.nRow)
                visit(nIndex);
        }
    }
}

int CKeptTotals::FindTotal(int nRow) const
{
    const auto it = std::lower_bound(m_totals.begin(), m_totals.end(), nRow,
                                     [](const CTotal& t, int nValue) { return t.nRow < nValue; });
    return it != m_totals.end() && it->nRow == nRow ? static_cast<int>(it - m_totals.begin()) : -1;
}

void CKeptTotals::MarkTotal(int nIndex)
{
    if (m_totals[static_cast<size_t>(nIndex)].nRow >= m_nFrom)
        m_pending.Mark(nIndex);
    else
        m_stale.push_back(nIndex);
}

bool CKeptTotals::ApplyChange(int nRow, ERowKind nOldKind, const int64_t* pOld, ERowKind nNewKind,
                              const int64_t* pNew)
{
    const size_t nSums = m_columns.size();
    // The differences for the heading and grand totals, for the discount totals (discount
    // rows alone) and for the estimate's amounts.
    int64_t heading[CEstimateColumns::MAX_COLUMNS];
    int64_t discount[CEstimateColumns::MAX_COLUMNS];
    bool bHeading = false;
    bool bDiscount = false;
    for (size_t i = 0; i < nSums; ++i) {
        const bool bBySubtotals = m_bySubtotals[i] != 0;
        auto counted = [&](ERowKind nKind, const int64_t* pValues) {
            return AddsRow(bBySubtotals, nKind) ? pValues[i] : 0;
        };
        heading[i] = counted(nNewKind, pNew) - counted(nOldKind, pOld);
        discount[i] = (nNewKind == kindDiscount ? pNew[i] : 0) - (nOldKind == kindDiscount ? pOld[i] : 0);
        bHeading = bHeading || heading[i] != 0;
        bDiscount = bDiscount || discount[i] != 0;
        if (!bBySubtotals) {
            auto leaf = [i](ERowKind nKind, bool bFree, const int64_t* pValues) {
                return IsLeafKind(nKind) && (bFree || nKind != kindFree) ? pValues[i] : 0;
            };
            m_estimate[i] += leaf(nNewKind, false, pNew) - leaf(nOldKind, false, pOld);
            m_leaves[i] += leaf(nNewKind, true, pNew) - leaf(nOldKind, true, pOld);
        }
        if (!m_budgets[i].Replace(pOld[i], pNew[i]))
            return false;
        m_values[static_cast<size_t>(nRow) * nSums + i] = pNew[i];
    }
    m_kinds[static_cast<size_t>(nRow)] = nNewKind;
    if (bHeading && !m_grandTotals.empty()) {
        // The first grand total below the row takes the change, and through it every one
        // after it.
        const auto it =
            std::upper_bound(m_grandTotals.begin(), m_grandTotals.end(), nRow,
                             [this](int nValue, int nIndex) { return nValue < m_totals[nIndex].nRow; });
        const size_t nAt = static_cast<size_t>(it - m_grandTotals.begin());
        for (size_t i = 0; i < nSums && nAt < m_grandTotals.size(); ++i)
            m_grandChanges[nAt * nSums + i] += heading[i];
    }
    if (bHeading || bDiscount) {
        ForTotalsOver(nRow, false, bDiscount, [&](int nIndex) {
            const int64_t* pDifference = IsDiscountTotalKind(m_totals[nIndex].nKind) ? discount : heading;
            bool bChanged = false;
            for (size_t i = 0; i < nSums; ++i) {
                m_sums[static_cast<size_t>(nIndex) * nSums + i] += pDifference[i];
                bChanged = bChanged || pDifference[i] != 0;
            }
            if (bChanged)
                MarkTotal(nIndex);
        });
    }
    return true;
}

bool CKeptTotals::KnowsTheRows(const CEstimateEngine& engine) const
{
    return engine.Rows().GetChangeCount() == m_nChanges && engine.GetUsedRows() >= m_nUsedRows &&
           engine.Columns().GetRulesText() == m_strRules;
}

bool CKeptTotals::TakeChanges(const CEstimateEngine& engine, int nFromRow)
{
    if (m_eState != stateFollowing && m_eState != stateBuilt)
        return false;
    if (!KnowsTheRows(engine)) {
        m_eState = stateOff;
        return false;
    }
    // Rows added at the end are changed rows (nothing lies below them).
    const int nUsedRows = engine.GetUsedRows();
    for (int r = m_nUsedRows; r < nUsedRows; ++r)
        m_changedRows.push_back(r);
    if (m_changedRows.size() > kMaxChangedRows) {
        m_eState = stateOff;
        return false;
    }
    if (m_eState == stateFollowing) {
        m_nUsedRows = nUsedRows;
        if (!BuildFromRows(engine)) {
            Block(engine, m_bBlockedByNumber);
            return false;
        }
    }
    const size_t nSums = m_columns.size();
    m_kinds.resize(std::max(m_kinds.size(), static_cast<size_t>(nUsedRows)), kindEmpty);
    m_values.resize(m_kinds.size() * nSums, 0);
    m_nUsedRows = nUsedRows;
    m_nFrom = std::max(0, nFromRow);
    m_grandChanges.assign(m_grandTotals.size() * nSums, 0);
    m_pending.Reset(m_totals.size());
    // The stale totals from the first row on are rewritten now.
    std::erase_if(m_stale, [&](int nIndex) {
        if (m_totals[static_cast<size_t>(nIndex)].nRow < m_nFrom)
            return false;
        m_pending.Mark(nIndex);
        return true;
    });
    // The rows the engine changed: their differences go to the totals over them, and a
    // total changed by hand is written again.
    std::sort(m_changedRows.begin(), m_changedRows.end());
    m_changedRows.erase(std::unique(m_changedRows.begin(), m_changedRows.end()), m_changedRows.end());
    m_oldValues.resize(nSums);
    m_newValues.resize(nSums);
    m_changedFree.clear();
    for (int r : m_changedRows) {
        if (r < 0 || r >= nUsedRows)
            continue;
        const ERowKind nOldKind = m_kinds[static_cast<size_t>(r)];
        std::copy_n(RowValues(r), nSums, m_oldValues.begin());
        ERowKind nNewKind = kindEmpty;
        if (!ReadRow(engine, r, nNewKind, m_newValues.data()) ||
            (nNewKind != nOldKind && (IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind))) ||
            !ApplyChange(r, nOldKind, m_oldValues.data(), nNewKind, m_newValues.data())) {
            m_eState = stateOff;
            return false;
        }
        if (IsTotalKind(nNewKind) || IsDiscountTotalKind(nNewKind)) {
            const int nIndex = FindTotal(r);
            if (nIndex >= 0)
                MarkTotal(nIndex);
        } else if (nNewKind == kindFree) {
            m_changedFree.push_back(r);
        }
    }
    m_changedRows.clear();
    return true;
}

bool CKeptTotals::HasTaxRowFrom(int nFromRow) const
{
    return !m_freeRows.empty() && m_freeRows.back() >= nFromRow;
}

std::vector<std::pair<int, CCompensatedSum>> CKeptTotals::GetEstimateAmounts() const
{
    std::vector<std::pair<int, CCompensatedSum>> amounts;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_bySubtotals[i] == 0)
            amounts.emplace_back(m_columns[i], CWholeSums::Compensated(m_estimate[i]));
    }
    return amounts;
}

void CKeptTotals::StartRewrite(const CTaxTexts& tax)
{
    const size_t nSums = m_columns.size();
    m_tax = tax;
    m_nFree = static_cast<size_t>(std::lower_bound(m_freeRows.begin(), m_freeRows.end(), m_nFrom) -
                                  m_freeRows.begin());
    // A tax row above the rows rewritten now that a change reached may not show the tax.
    for (int r : m_changedFree) {
        const size_t nAt = static_cast<size_t>(std::lower_bound(m_freeRows.begin(), m_freeRows.end(), r) -
                                               m_freeRows.begin());
        if (nAt < m_nFree && m_nTaxShownFrom <= nAt)
            m_nTaxShownFrom = nAt + 1;
    }
    m_bTaxAsShown = m_nTaxShownFrom <= m_nFree && m_taxShown.SameAs(tax);
    // The grand totals take the changes above them in row order; those above the first row
    // are not rewritten now.
    m_nGrand = 0;
    m_grandChange.assign(nSums, 0);
    while (m_nGrand < m_grandTotals.size() && m_totals[m_grandTotals[m_nGrand]].nRow < m_nFrom) {
        const int nIndex = m_grandTotals[m_nGrand];
        if (TakeGrandChanges())
            m_stale.push_back(nIndex);
    }
    // The rows written below are followed here, not noted as changes.
    m_eState = stateOff;
}

bool CKeptTotals::TakeGrandChanges()
{
    const size_t nSums = m_columns.size();
    const size_t nIndex = static_cast<size_t>(m_grandTotals[m_nGrand]);
    bool bChanged = false;
    for (size_t i = 0; i < nSums; ++i) {
        m_grandChange[i] += m_grandChanges[m_nGrand * nSums + i];
        m_sums[nIndex * nSums + i] += m_grandChange[i];
        bChanged = bChanged || m_grandChange[i] != 0;
    }
    ++m_nGrand;
    return bChanged;
}

bool CKeptTotals::NextRewrite(CRewrite& rewrite)
{
    const size_t nSums = m_columns.size();
    for (;;) {
        const int nPending = m_pending.First();
        const int nTotalRow = nPending < 0 ? INT_MAX : m_totals[static_cast<size_t>(nPending)].nRow;
        const int nFreeRow = m_nFree < m_freeRows.size() ? m_freeRows[m_nFree] : INT_MAX;
        const int nGrandRow =
            m_nGrand < m_grandTotals.size() ? m_totals[m_grandTotals[m_nGrand]].nRow : INT_MAX;
        if (nTotalRow == INT_MAX && nFreeRow == INT_MAX && nGrandRow == INT_MAX)
            return false;
        int nIndex = -1;
        if (nGrandRow <= nTotalRow && nGrandRow < nFreeRow) {
            // A grand total (also one marked for rewriting): rewritten when its sums moved.
            nIndex = m_grandTotals[m_nGrand];
            const bool bChanged = TakeGrandChanges();
            if (!m_pending.Unmark(nIndex) && !bChanged)
                continue;
        } else if (nTotalRow < nFreeRow) {
            nIndex = nPending;
            m_pending.Unmark(nIndex);
        } else {
            // A tax row: left alone when it shows the tax and no change reached it.
            ++m_nFree;
            if (m_bTaxAsShown && !std::binary_search(m_changedFree.begin(), m_changedFree.end(), nFreeRow))
                continue;
            rewrite = CRewrite{CRewrite::taxRow, nFreeRow, kindFree, nullptr};
            return true;
        }
        const CTotal& total = m_totals[static_cast<size_t>(nIndex)];
        rewrite = CRewrite{total.bAddsRows ? CRewrite::total : CRewrite::totalWithoutRows, total.nRow,
                           total.nKind, m_sums.data() + static_cast<size_t>(nIndex) * nSums};
        return true;
    }
}

bool CKeptTotals::TakeRewritten(const CEstimateEngine& engine, int nRow)
{
    // What the row now adds to the totals below it.
    const size_t nSums = m_columns.size();
    const ERowKind nKind = m_kinds[static_cast<size_t>(nRow)];
    std::copy_n(RowValues(nRow), nSums, m_oldValues.begin());
    ERowKind nNewKind = kindEmpty;
    if (!ReadRow(engine, nRow, nNewKind, m_newValues.data()) || nNewKind != nKind ||
        !ApplyChange(nRow, nKind, m_oldValues.data(), nKind, m_newValues.data())) {
        m_eState = stateOff;
        return false;
    }
    return true;
}

void CKeptTotals::EndRewrite(const CEstimateEngine& engine)
{
    m_eState = stateBuilt;
    m_nChanges = engine.Rows().GetChangeCount();
    // Every tax row from the first row down shows this tax now.
    const size_t nFirstFree = static_cast<size_t>(
        std::lower_bound(m_freeRows.begin(), m_freeRows.end(), m_nFrom) - m_freeRows.begin());
    if (nFirstFree < m_freeRows.size() && !m_bTaxAsShown) {
        m_nTaxShownFrom = nFirstFree;
        m_taxShown = m_tax;
    }
    // Totals marked stale again and again stay listed once.
    if (m_stale.size() > m_totals.size()) {
        std::sort(m_stale.begin(), m_stale.end());
        m_stale.erase(std::unique(m_stale.begin(), m_stale.end()), m_stale.end());
    }
    if constexpr (kChecksOn)
        MORVEL_CHECK(MatchesTheRows(engine), "the kept sums are those of the rows");
}

bool CKeptTotals::LastDiscountLevelFrom(int nFromRow, ETotalLevel& nLevel) const
{
    if (m_nLastDiscountRow < nFromRow)
        return false;
    nLevel = m_nLastDiscountLevel;
    return true;
}

// ---------------------------------------------------------------------------------------
// Read while they are current

bool CKeptTotals::TakeAmount(const CEstimateEngine& engine, int nCol, bool bExcludeFree, double& amount) const
{
    if (!IsCurrent(engine))
        return false;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i] == nCol && m_bySubtotals[i] == 0) {
            amount = static_cast<double>(bExcludeFree ? m_estimate[i] : m_leaves[i]);
            return true;
        }
    }
    return false;
}

bool CKeptTotals::MatchesTheRows(const CEstimateEngine& engine) const
{
    const size_t nSums = m_columns.size();
    const size_t nRows = static_cast<size_t>(std::max(engine.GetUsedRows(), 0));
    if (m_eState != stateBuilt || m_kinds.size() != nRows || m_values.size() != nRows * nSums)
        return false;
    // Per summed column, what the rows before each row add: the rows the column adds, and
    // the discount rows; beside them the estimate's and all leaf rows and the magnitudes.
    std::vector<int64_t> counted((nRows + 1) * nSums, 0), discounts((nRows + 1) * nSums, 0);
    std::vector<int64_t> estimate(nSums, 0), leaves(nSums, 0);
    std::vector<CWholeSums> budgets(nSums);
    std::vector<int64_t> values(nSums);
    std::vector<int> headings[SLOTS];
    std::vector<int> freeRows;
    for (size_t r = 0; r < nRows; ++r) {
        const CGridRow* pRow = engine.Rows().GetRow(static_cast<INT_PTR>(r));
        if (pRow != nullptr && !engine.Rows().CountsChangesOf(*pRow))
            return false; // a change of this row would go uncounted
        ERowKind nKind = kindEmpty;
        if (!ReadRow(engine, static_cast<int>(r), nKind, values.data()) || nKind != m_kinds[r])
            return false;
        if (IsSectionStartKind(nKind))
            headings[SlotOfLevel(LevelOfHeadingKind(SectionHeadingKindOf(nKind)))].push_back(
                static_cast<int>(r));
        else if (nKind == kindFree)
            freeRows.push_back(static_cast<int>(r));
        for (size_t i = 0; i < nSums; ++i) {
            if (values[i] != m_values[r * nSums + i])
                return false;
            const bool bAdds = AddsRow(m_bySubtotals[i] != 0, nKind);
            counted[(r + 1) * nSums + i] = counted[r * nSums + i] + (bAdds ? values[i] : 0);
            discounts[(r + 1) * nSums + i] =
                discounts[r * nSums + i] + (nKind == kindDiscount ? values[i] : 0);
            (void)budgets[i].Take(values[i]);
            if (m_bySubtotals[i] == 0 && IsLeafKind(nKind)) {
                leaves[i] += values[i];
                estimate[i] += nKind != kindFree ? values[i] : 0;
            }
        }
    }
    if (estimate != m_estimate || leaves != m_leaves || budgets != m_budgets || freeRows != m_freeRows)
        return false;
    for (int nSlot = 0; nSlot < SLOTS; ++nSlot) {
        if (headings[nSlot] != m_headings[nSlot])
            return false;
    }
    for (size_t t = 0; t < m_totals.size(); ++t) {
        const CTotal& total = m_totals[t];
        if (total.nRow < 0 || static_cast<size_t>(total.nRow) >= nRows || total.nStart < 0 ||
            total.nStart > total.nRow || m_kinds[static_cast<size_t>(total.nRow)] != total.nKind)
            return false;
        const std::vector<int64_t>& added = IsDiscountTotalKind(total.nKind) ? discounts : counted;
        for (size_t i = 0; i < nSums; ++i) {
            const int64_t nSum = !total.bAddsRows ? 0
                                                  : added[static_cast<size_t>(total.nRow) * nSums + i] -
                                                        added[static_cast<size_t>(total.nStart) * nSums + i];
            if (nSum != m_sums[t * nSums + i])
                return false;
        }
    }
    return true;
}

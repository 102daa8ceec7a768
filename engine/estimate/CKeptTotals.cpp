// The totals an edit can change. A recalculation from an edited row down rewrites every
// total below it from the rows; most of them come out as they were. The engine keeps each
// total's sums and the numbers they were made from, notes the rows it changes itself, and
// after an edit rewrites only the totals whose rows changed (and those the rewritten totals
// feed), in the order and with the texts the walk over the rows gives.
#include "engine/estimate/CKeptTotals.h"

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

namespace {

// Beyond this many changed rows a recalculation walks the rows: a bulk change.
constexpr size_t kMaxChangedRows = 256;

// Kinds whose change moves the totals' ranges or that the recalculation makes itself: the
// kept sums are dropped when a row takes or leaves one of them.
bool IsPlaceKind(ERowKind nKind)
{
    return IsHeadingKind(nKind) || IsTotalKind(nKind) || IsDiscountTotalKind(nKind) || nKind == kindFree ||
           nKind == kindStep || nKind == kindClassify;
}

bool IsCountedKind(ERowKind nKind)
{
    return IsLeafKind(nKind) || IsSubtotalKind(nKind);
}

} // namespace

// The totals a recalculation rewrites, taken in row order (a total's index follows its row):
// each marked once, however many changed rows it adds. A heap over the indices with a mark
// per total: an estimate's first recalculation may rewrite thousands of them.
class CKeptTotals::CPending {
public:
    explicit CPending(size_t nTotals) : m_marked(nTotals, 0) {}
    void Mark(int nIndex)
    {
        if (m_marked[static_cast<size_t>(nIndex)] != 0)
            return;
        m_marked[static_cast<size_t>(nIndex)] = 1;
        m_heap.push_back(nIndex);
        std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
    }
    // Whether the total was marked; it is not any more.
    bool Unmark(int nIndex)
    {
        const bool bMarked = m_marked[static_cast<size_t>(nIndex)] != 0;
        m_marked[static_cast<size_t>(nIndex)] = 0;
        return bMarked;
    }
    // The first marked total, or -1.
    int First()
    {
        while (!m_heap.empty() && m_marked[static_cast<size_t>(m_heap.front())] == 0) {
            std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
            m_heap.pop_back();
        }
        return m_heap.empty() ? -1 : m_heap.front();
    }

private:
    std::vector<char> m_marked;
    std::vector<int> m_heap;
};

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

bool CKeptTotals::IsInStep(unsigned long long nChangeCount) const
{
    return m_eState != stateOff && nChangeCount == m_nChanges;
}

void CKeptTotals::Start(const CEstimateEngine& engine, int nFromRow)
{
    if (engine.m_bTotalsOneByOne)
        return;
    std::string strRules = engine.m_columns.GetRulesText();
    // The walk recorded the rows as it read them: what was written after it is noted.
    if (m_eState == stateRecorded || m_eState == stateBuilt) {
        m_nUsedRows = engine.m_nUsedRows;
        m_strRules = std::move(strRules);
        return;
    }
    // Rows the kept sums cannot follow stay so while nothing but cells changed (a number
    // they cannot keep is looked at again by the next recalculation from the first row).
    if (m_eState == stateBlocked && engine.m_rows.GetChangeCount() == m_nChanges &&
        m_nUsedRows == engine.m_nUsedRows && (m_strRules.empty() || m_strRules == strRules)) {
        m_strRules = std::move(strRules);
        return;
    }
    Clear();
    m_eState = stateTracking;
    m_nChanges = engine.m_rows.GetChangeCount();
    m_nUsedRows = engine.m_nUsedRows;
    m_nFirstFresh = std::max(0, nFromRow);
    m_strRules = std::move(strRules);
}

void CKeptTotals::NoteChangedRow(int nRow)
{
    if (m_changedRows.empty() || m_changedRows.back() != nRow)
        m_changedRows.push_back(nRow);
    if (m_changedRows.size() > kMaxChangedRows)
        m_eState = stateOff;
}

void CKeptTotals::NoteCellChange(const CEstimateEngine& engine, bool bInStep, int nRow, int nCol)
{
    if (m_eState == stateOff)
        return; // nothing kept
    if (!bInStep) {
        m_eState = stateOff;
        return;
    }
    m_nChanges = engine.m_rows.GetChangeCount();
    if (m_eState == stateBlocked)
        return;
    // A discount total finds its heading by the heading's name in its label.
    const ERowKind nKind = engine.EditKind(nRow);
    if ((IsHeadingKind(nKind) || IsDiscountTotalKind(nKind)) && nCol == engine.m_columns.FindNameColumn()) {
        m_eState = stateOff;
        return;
    }
    NoteChangedRow(nRow);
}

void CKeptTotals::NoteKindChange(const CEstimateEngine& engine, bool bInStep, int nRow, ERowKind nOldKind,
                                 ERowKind nNewKind)
{
    if (m_eState == stateOff)
        return;
    if (!bInStep || IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind)) {
        m_eState = stateOff;
        return;
    }
    m_nChanges = engine.m_rows.GetChangeCount();
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

bool CKeptTotals::ReadRow(const CEstimateEngine& engine, int nRow, ERowKind& nKind, int64_t* pValues) const
{
    const CGridRow* pRow = engine.m_rows.GetRow(nRow);
    nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    const size_t nSums = m_columns.size();
    const bool bLeaf = IsLeafKind(nKind);
    const bool bSubtotal = IsSubtotalKind(nKind);
    for (size_t i = 0; i < nSums; ++i) {
        pValues[i] = 0;
        // Only the numbers some sum adds: a column's own rows (leaf or subtotal rows by its
        // mode) and the discount rows (the discount totals add them in every column).
        if (pRow == nullptr || !((m_bySubtotals[i] ? bSubtotal : bLeaf) || nKind == kindDiscount))
            continue;
        const std::string& text = pRow->m_strCell[m_columns[i]].str();
        double value = 0.0;
        if (!CNumberRules::ReadNormalForm(text.data(), text.data() + text.size(), value))
            value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
        if (!CWholeSums::ToWhole(value, pValues[i]))
            return false;
    }
    return true;
}

template <typename Visit>
void CKeptTotals::ForTotalsOver(int nRow, bool bGrand, bool bDiscounts, Visit visit) const
{
    // A heading total adds the rows between the nearest heading of its level above it and
    // itself: the totals of the level after nRow and before the next heading of the level,
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

bool CKeptTotals::ApplyChange(int nRow, ERowKind nOldKind, const int64_t* pOld, ERowKind nNewKind,
                              const int64_t* pNew, int nFromRow, CPending& pending)
{
    const size_t nSums = m_columns.size();
    // The differences for the heading and grand totals, for the discount totals (discount
    // rows alone) and for the estimate's amounts.
    int64_t heading[CEstimateColumns::MAX_COLUMNS];
    int64_t discount[CEstimateColumns::MAX_COLUMNS];
    bool bHeading = false;
    bool bDiscount = false;
    for (size_t i = 0; i < nSums; ++i) {
        auto counted = [&](ERowKind nKind, const int64_t* pValues) {
            return (m_bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind)) ? pValues[i] : 0;
        };
        heading[i] = counted(nNewKind, pNew) - counted(nOldKind, pOld);
        discount[i] = (nNewKind == kindDiscount ? pNew[i] : 0) - (nOldKind == kindDiscount ? pOld[i] : 0);
        bHeading = bHeading || heading[i] != 0;
        bDiscount = bDiscount || discount[i] != 0;
        if (!m_bySubtotals[i]) {
            auto leaf = [](ERowKind nKind, bool bFree, const int64_t* pValues, size_t n) {
                return IsLeafKind(nKind) && (bFree || nKind != kindFree) ? pValues[n] : 0;
            };
            m_estimate[i] += leaf(nNewKind, false, pNew, i) - leaf(nOldKind, false, pOld, i);
            m_leaves[i] += leaf(nNewKind, true, pNew, i) - leaf(nOldKind, true, pOld, i);
        }
        if (!m_budgets[i].Replace(pOld[i], pNew[i]))
            return false;
        m_values[static_cast<size_t>(nRow) * nSums + i] = pNew[i];
    }
    m_kinds[static_cast<size_t>(nRow)] = nNewKind;
    auto mark = [&](int nIndex) {
        if (m_totals[nIndex].nRow >= nFromRow)
            pending.Mark(nIndex);
        else
            m_stale.push_back(nIndex);
    };
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
            const CTotal& total = m_totals[nIndex];
            const int64_t* pDifference = IsDiscountTotalKind(total.nKind) ? discount : heading;
            bool bChanged = false;
            for (size_t i = 0; i < nSums; ++i) {
                m_sums[static_cast<size_t>(nIndex) * nSums + i] += pDifference[i];
                bChanged = bChanged || pDifference[i] != 0;
            }
            if (bChanged)
                mark(nIndex);
        });
    }
    return true;
}

bool CKeptTotals::StartKeepingRows(const CEstimateEngine& engine, bool bAllocate)
{
    // What the rows were known as stays; the sums start afresh.
    CKeptTotals known;
    known.m_nChanges = m_nChanges;
    known.m_nUsedRows = m_nUsedRows;
    known.m_nFirstFresh = m_nFirstFresh;
    known.m_nFreshEnd = m_nFreshEnd;
    known.m_strRules = std::move(m_strRules);
    known.m_changedRows = std::move(m_changedRows);
    *this = std::move(known);
    std::vector<CEstimateEngine::CTotalColumn> columns;
    engine.GetTotalColumns(columns);
    const size_t nSums = columns.size();
    for (const CEstimateEngine::CTotalColumn& column : columns) {
        m_columns.push_back(column.nCol);
        m_bySubtotals.push_back(column.eTotalMode == CEstimateEngine::ETotalMode::subtotals ? 1 : 0);
    }
    // A formula a total row works out must read only cells the total has written before
    // it (its sums, written first, and the formula columns left of it): a formula column
    // at or right of it keeps the text of the row's last rewrite, which the walk and the
    // kept sums may leave at different times.
    const CEstimateColumns& rules = engine.m_columns;
    auto isSummed = [&columns](int nCol) {
        return std::any_of(
            columns.begin(), columns.end(),
            [nCol](const CEstimateEngine::CTotalColumn& column) { return column.nCol == nCol; });
    };
    for (int nCol : rules.GetFormulaColumns()) {
        if (isSummed(nCol))
            continue;
        for (int nRef : rules.Get(nCol).formula.GetReferences()) {
            if (nRef >= nCol && rules.IsFormula(nRef) && !isSummed(nRef))
                return false;
        }
    }
    if (bAllocate) {
        const size_t nRows = static_cast<size_t>(std::max(engine.m_nUsedRows, 0));
        m_kinds.assign(nRows, kindEmpty);
        m_values.assign(nRows * nSums, 0);
    }
    m_estimate.assign(nSums, 0);
    m_leaves.assign(nSums, 0);
    m_budgets.assign(nSums, CWholeSums());
    m_running.assign(nSums, 0);
    m_discounts.assign(nSums, 0);
    m_started.assign(SLOTS * nSums, 0);
    m_nNameCol = rules.FindNameColumn();
    return true;
}

bool CKeptTotals::KeepRow(const CEstimateEngine& engine, int r, ERowKind nKind, const int64_t* pValues)
{
    const size_t nSums = m_columns.size();
    if (nKind == kindStep || nKind == kindClassify || r >= static_cast<int>(m_kinds.size()))
        return false;
    m_kinds[static_cast<size_t>(r)] = nKind;
    if (IsHeadingKind(nKind)) {
        const int nSlot = SlotOfLevel(LevelOfHeadingKind(nKind));
        m_headings[nSlot].push_back(r);
        m_discountsAtHeading[nSlot].insert(m_discountsAtHeading[nSlot].end(), m_discounts.begin(),
                                           m_discounts.end());
        std::copy(m_running.begin(), m_running.end(),
                  m_started.begin() + static_cast<std::ptrdiff_t>(nSlot * nSums));
        return true;
    }
    if (IsTotalKind(nKind)) {
        const ETotalLevel nLevel = LevelOfTotalKind(nKind);
        const int nSlot = SlotOfLevel(nLevel);
        // The walk leaves a total alone without a heading of its level above it or with
        // nothing between the heading and itself.
        const int nHeading = nSlot >= 0 && !m_headings[nSlot].empty() ? m_headings[nSlot].back() : -1;
        const bool bRange = nSlot < 0 ? r > 0 : nHeading >= 0 && nHeading + 1 <= r - 1;
        if (bRange) {
            const int nIndex = static_cast<int>(m_totals.size());
            m_totals.push_back({r, nSlot < 0 ? 0 : nHeading + 1, nKind});
            for (size_t i = 0; i < nSums; ++i)
                m_sums.push_back(nSlot < 0
                                     ? m_running[i]
                                     : m_running[i] - m_started[static_cast<size_t>(nSlot) * nSums + i]);
            (nSlot < 0 ? m_grandTotals : m_levelTotals[nSlot]).push_back(nIndex);
        }
    } else if (IsDiscountTotalKind(nKind)) {
        const ETotalLevel nLevel = LevelOfDiscountTotalKind(nKind);
        m_nLastDiscountRow = r;
        m_nLastDiscountLevel = nLevel;
        // As MakeTotalRow finds it: the nearest heading of the level above whose name the
        // total's label holds (the whole estimate for the grand discount total).
        const int nSlot = SlotOfLevel(nLevel);
        int nStart = 0;
        const int64_t* pBefore = nullptr; // the discount sums before nStart (none: 0)
        bool bFound = nLevel == CEstimateEngine::levelGrand;
        if (!bFound && nSlot >= 0) {
            const CString& strLabel = engine.EditCell(r, m_nNameCol);
            for (size_t j = m_headings[nSlot].size(); j-- > 0;) {
                const int h = m_headings[nSlot][j];
                if (strLabel.Find(engine.EditCell(h, m_nNameCol)) >= 0) {
                    nStart = h + 1;
                    pBefore = &m_discountsAtHeading[nSlot][j * nSums];
                    bFound = true;
                    break;
                }
            }
        }
        if (bFound && nStart <= r - 1) {
            const int nIndex = static_cast<int>(m_totals.size());
            m_totals.push_back({r, nStart, nKind});
            for (size_t i = 0; i < nSums; ++i)
                m_sums.push_back(m_discounts[i] - (pBefore != nullptr ? pBefore[i] : 0));
            m_discountTotals.push_back(nIndex);
        }
    } else if (nKind == kindFree) {
        m_freeRows.push_back(r);
    }
    if (!IsCountedKind(nKind))
        return true;
    // (pValues holds 0 where no sum adds the number.)
    for (size_t i = 0; i < nSums; ++i) {
        const int64_t nValue = pValues[i];
        m_values[static_cast<size_t>(r) * nSums + i] = nValue;
        if (!m_budgets[i].Take(nValue)) {
            m_bBlockedByNumber = true;
            return false;
        }
        if (m_bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind))
            m_running[i] += nValue;
        if (nKind == kindDiscount)
            m_discounts[i] += nValue;
        if (!m_bySubtotals[i] && IsLeafKind(nKind)) {
            m_leaves[i] += nValue;
            if (nKind != kindFree)
                m_estimate[i] += nValue;
        }
    }
    return true;
}

void CKeptTotals::EndKeepingRows()
{
    // Every total above the row the walk started from may not show its sums; so may those
    // over the rows changed since.
    for (size_t i = 0; i < m_totals.size(); ++i) {
        if (m_totals[i].nRow < m_nFirstFresh || m_totals[i].nRow >= m_nFreshEnd)
            m_stale.push_back(static_cast<int>(i));
    }
    for (int r : m_changedRows) {
        if (r < 0 || r >= static_cast<int>(m_kinds.size()))
            continue;
        ForTotalsOver(r, true, true, [this](int nIndex) { m_stale.push_back(nIndex); });
        const auto it = std::lower_bound(m_totals.begin(), m_totals.end(), r,
                                         [](const CTotal& t, int nRow) { return t.nRow < nRow; });
        if (it != m_totals.end() && it->nRow == r)
            m_stale.push_back(static_cast<int>(it - m_totals.begin()));
    }
    m_changedRows.clear();
    m_running.clear();
    m_discounts.clear();
    m_started.clear();
    for (std::vector<int64_t>& at : m_discountsAtHeading)
        at.clear();
    m_eState = stateBuilt;
}

void CKeptTotals::Block(const CEstimateEngine& engine, bool bByNumber)
{
    std::string strRules = std::move(m_strRules);
    Clear();
    m_eState = stateBlocked;
    m_bBlockedByNumber = bByNumber;
    m_nChanges = engine.m_rows.GetChangeCount();
    m_nUsedRows = engine.m_nUsedRows;
    m_strRules = std::move(strRules);
}

bool CKeptTotals::MayRecordInWalk(int nFromRow) const
{
    return m_eState != stateBlocked || (m_bBlockedByNumber && nFromRow == 0);
}

bool CKeptTotals::StartRecord(const CEstimateEngine& engine, CRecord& record)
{
    if (!StartKeepingRows(engine, true))
        return false;
    // The record stands for the columns' rules it is made under, for what is made of it
    // before this recalculation ends (the totals below a tax row) as after.
    m_strRules = engine.m_columns.GetRulesText();
    record =
        CRecord{m_kinds.data(), m_values.data(), m_columns.data(), m_bySubtotals.data(), m_columns.size()};
    return true;
}

void CKeptTotals::EndRecord(const CEstimateEngine& engine, int nFromRow, int nWriteEnd)
{
    m_nFirstFresh = nFromRow;
    m_nFreshEnd = nWriteEnd;
    m_changedRows.clear();
    m_eState = stateRecorded;
    m_nChanges = engine.m_rows.GetChangeCount();
    m_nUsedRows = engine.m_nUsedRows;
}

void CKeptTotals::BuildFromWalk(const CEstimateEngine& engine)
{
    if (m_eState != stateRecorded || !IsInStep(engine.m_rows.GetChangeCount()) ||
        m_nUsedRows != engine.m_nUsedRows || engine.m_columns.GetRulesText() != m_strRules)
        return;
    if (!BuildFromRecord(engine))
        Block(engine, m_bBlockedByNumber);
}

bool CKeptTotals::FinishBelowTheTax(CEstimateEngine& engine, int nTaxRow)
{
    if (m_eState != stateRecorded || !IsInStep(engine.m_rows.GetChangeCount()) ||
        m_nUsedRows != engine.m_nUsedRows || engine.m_columns.GetRulesText() != m_strRules)
        return false;
    // The tax rows are rewritten below; the totals from the first one down are stale.
    if (!BuildFromRecord(engine)) {
        Block(engine, m_bBlockedByNumber);
        return false;
    }
    return Recalc(engine, nTaxRow);
}

bool CKeptTotals::BuildFromRecord(const CEstimateEngine& engine)
{
    // The walk's record is taken over as it is; the rows changed since it stay noted, for
    // their differences to be added once the sums are made.
    std::vector<ERowKind> kinds = std::move(m_kinds);
    std::vector<int64_t> values = std::move(m_values);
    std::vector<int> changedRows = std::move(m_changedRows);
    if (!StartKeepingRows(engine, false))
        return false;
    m_kinds = std::move(kinds);
    m_values = std::move(values);
    const size_t nSums = m_columns.size();
    if (m_values.size() != m_kinds.size() * nSums)
        return false;
    const size_t nRows = m_kinds.size();
    for (size_t r = 0; r < nRows; ++r) {
        const ERowKind nKind = m_kinds[r];
        const int64_t* pValues = m_values.data() + r * nSums; // no sums: an empty table
        if (nKind == kindDetail) {
            // The common row, added by the leaf rows' columns alone (as KeepRow adds it).
            for (size_t i = 0; i < nSums; ++i) {
                if (!m_budgets[i].Take(pValues[i])) {
                    m_bBlockedByNumber = true;
                    return false;
                }
                if (!m_bySubtotals[i]) {
                    m_running[i] += pValues[i];
                    m_leaves[i] += pValues[i];
                    m_estimate[i] += pValues[i];
                }
            }
            continue;
        }
        if (!KeepRow(engine, static_cast<int>(r), nKind, pValues))
            return false;
    }
    EndKeepingRows();
    m_changedRows = std::move(changedRows);
    return true;
}

bool CKeptTotals::BuildFromTheRows(const CEstimateEngine& engine)
{
    Clear();
    if (engine.m_bTotalsOneByOne)
        return false;
    m_nChanges = engine.m_rows.GetChangeCount();
    m_nUsedRows = engine.m_nUsedRows;
    // Nothing was written: every total may show what the file held, not its sums.
    m_nFirstFresh = INT_MAX;
    m_strRules = engine.m_columns.GetRulesText();
    if (!BuildFromRows(engine)) {
        Clear();
        return false;
    }
    return true;
}

bool CKeptTotals::BuildFromRows(const CEstimateEngine& engine)
{
    if (!StartKeepingRows(engine, true))
        return false;
    const int nRows = engine.m_nUsedRows;
    int nFirstCell = -1;
    int nLastCell = -1;
    for (int nCol : m_columns) {
        nFirstCell = nFirstCell < 0 ? nCol : std::min(nFirstCell, nCol);
        nLastCell = std::max(nLastCell, nCol);
    }
    std::vector<int64_t> rowValues(m_columns.size());
    for (int r = 0; r < nRows; ++r) {
        // Rows lie kilobytes apart: the kind and the summed cells are fetched well ahead
        // (there is little to do per row).
        engine.PrefetchRow(r + CEstimateEngine::KIND_PREFETCH_DISTANCE, nFirstCell, nLastCell, 0, -1);
        ERowKind nKind = kindEmpty;
        if (!ReadRow(engine, r, nKind, rowValues.data())) {
            m_bBlockedByNumber = true;
            return false;
        }
        if (!KeepRow(engine, r, nKind, rowValues.data()))
            return false;
    }
    EndKeepingRows();
    return true;
}

bool CKeptTotals::Recalc(CEstimateEngine& engine, int nFromRow)
{
    if (m_eState == stateOff || m_eState == stateBlocked)
        return false;
    const int nUsedRows = engine.m_nUsedRows;
    if (engine.m_bTotalsOneByOne || engine.m_bCalcRowsInWalk ||
        engine.m_rows.GetChangeCount() != m_nChanges || nUsedRows < m_nUsedRows ||
        engine.m_columns.GetRulesText() != m_strRules) {
        m_eState = stateOff;
        return false;
    }
    // Rows added at the end are changed rows (nothing lies below them).
    for (int r = m_nUsedRows; r < nUsedRows; ++r)
        m_changedRows.push_back(r);
    if (m_changedRows.size() > kMaxChangedRows) {
        m_eState = stateOff;
        return false;
    }
    if (m_eState == stateTracking) {
        m_nUsedRows = nUsedRows;
        if (!BuildFromRows(engine)) {
            Block(engine, m_bBlockedByNumber);
            return false;
        }
    } else if (m_eState == stateRecorded && !BuildFromRecord(engine)) {
        Block(engine, m_bBlockedByNumber);
        return false;
    }
    if (static_cast<size_t>(nUsedRows) > m_kinds.size()) {
        m_kinds.resize(static_cast<size_t>(nUsedRows), kindEmpty);
        m_values.resize(static_cast<size_t>(nUsedRows) * m_columns.size(), 0);
    }
    m_nUsedRows = nUsedRows;
    const size_t nSums = m_columns.size();
    const int nFrom = std::max(0, nFromRow);
    auto fail = [this]() {
        m_eState = stateOff;
        return false;
    };

    m_grandChanges.assign(m_grandTotals.size() * nSums, 0);
    // The totals to rewrite, in row order (the indices follow the rows).
    CPending pending(m_totals.size());
    std::erase_if(m_stale, [&](int nIndex) {
        if (m_totals[static_cast<size_t>(nIndex)].nRow < nFrom)
            return false;
        pending.Mark(nIndex);
        return true;
    });
    std::vector<int64_t> oldValues(nSums), newValues(nSums);
    // The rows the engine changed: their differences go to the totals over them, and a
    // total changed by hand is written again.
    std::sort(m_changedRows.begin(), m_changedRows.end());
    m_changedRows.erase(std::unique(m_changedRows.begin(), m_changedRows.end()), m_changedRows.end());
    for (int r : m_changedRows) {
        if (r < 0 || r >= nUsedRows)
            continue;
        const ERowKind nOldKind = m_kinds[static_cast<size_t>(r)];
        std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(r) * nSums), nSums,
                    oldValues.begin());
        ERowKind nNewKind = kindEmpty;
        if (!ReadRow(engine, r, nNewKind, newValues.data()))
            return fail();
        if (nNewKind != nOldKind && (IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind)))
            return fail();
        if (!ApplyChange(r, nOldKind, oldValues.data(), nNewKind, newValues.data(), nFrom, pending))
            return fail();
        if (IsTotalKind(nNewKind) || IsDiscountTotalKind(nNewKind)) {
            const auto it = std::lower_bound(m_totals.begin(), m_totals.end(), r,
                                             [](const CTotal& t, int nRow) { return t.nRow < nRow; });
            if (it != m_totals.end() && it->nRow == r) {
                const int nIndex = static_cast<int>(it - m_totals.begin());
                if (r >= nFrom)
                    pending.Mark(nIndex);
                else
                    m_stale.push_back(nIndex);
            }
        }
    }
    // The free rows among them (their own cells changed) are rewritten whatever the tax.
    std::vector<int> changedFree;
    for (int r : m_changedRows) {
        if (r >= 0 && r < nUsedRows && m_kinds[static_cast<size_t>(r)] == kindFree)
            changedFree.push_back(r);
    }
    if (!changedFree.empty() && changedFree.front() < nFrom)
        m_bTaxShown = false; // a free row above the rows rewritten now may not show the tax
    m_changedRows.clear();

    // The walk sets the discount level at every discount total it meets.
    if (m_nLastDiscountRow >= nFrom)
        engine.m_nDiscountLevel = m_nLastDiscountLevel;

    // Totals and free (tax) rows from nFrom down, in row order: each tax row takes the
    // estimate's amounts, and a rewritten total's change goes on to the totals below that
    // add it.
    std::vector<CEstimateEngine::CTotalColumn> sums;
    engine.GetTotalColumns(sums);
    if (sums.size() != nSums)
        return fail();
    auto itFree = std::lower_bound(m_freeRows.begin(), m_freeRows.end(), nFrom);
    // Every tax row takes the estimate's amounts, which the rows rewritten here (totals and
    // tax rows) do not add: the tax is worked out once, from the kept sums, as it is taken
    // from the walk.
    CEstimateEngine::CTaxTexts tax;
    if (itFree != m_freeRows.end()) {
        engine.m_walkedAmounts.clear();
        for (size_t i = 0; i < nSums; ++i) {
            if (!m_bySubtotals[i])
                engine.m_walkedAmounts.emplace_back(m_columns[i], CWholeSums::Compensated(m_estimate[i]));
        }
        engine.m_bWalkedAmounts = true;
        tax = engine.MakeTaxTexts();
        engine.m_bWalkedAmounts = false;
    }
    const bool bTaxAsShown = m_bTaxShown && m_nShownTaxColumns[0] == tax.nAmountCol &&
                             m_nShownTaxColumns[1] == tax.nSecondCol && m_strShownTax[0] == tax.strTax &&
                             m_strShownTax[1] == tax.strSecondTax;
    // Whether free rows are rewritten now, and all of them.
    const bool bAnyFreeRow = itFree != m_freeRows.end();
    const bool bEveryFreeRow = bAnyFreeRow && itFree == m_freeRows.begin();
    if (bTaxAsShown && bAnyFreeRow)
        engine.m_strEditStartText.Empty(); // as the rewrite of a free row would
    // The grand totals take the changes above them in row order: nGrand is the next one,
    // grandChange what the rows above it changed. Those above nFrom are not rewritten now.
    size_t nGrand = 0;
    std::vector<int64_t> grandChange(nSums, 0);
    auto takeGrandChanges = [&]() {
        const size_t nIndex = static_cast<size_t>(m_grandTotals[nGrand]);
        bool bChanged = false;
        for (size_t i = 0; i < nSums; ++i) {
            grandChange[i] += m_grandChanges[nGrand * nSums + i];
            m_sums[nIndex * nSums + i] += grandChange[i];
            bChanged = bChanged || grandChange[i] != 0;
        }
        ++nGrand;
        return bChanged;
    };
    while (nGrand < m_grandTotals.size() && m_totals[m_grandTotals[nGrand]].nRow < nFrom) {
        const int nIndex = m_grandTotals[nGrand];
        if (takeGrandChanges())
            m_stale.push_back(nIndex);
    }
    // The rows written below are followed here, not noted as changes.
    m_eState = stateOff;
    for (;;) {
        const int nPending = pending.First();
        const int nTotalRow = nPending < 0 ? INT_MAX : m_totals[static_cast<size_t>(nPending)].nRow;
        const int nFreeRow = itFree == m_freeRows.end() ? INT_MAX : *itFree;
        const int nGrandRow = nGrand < m_grandTotals.size() ? m_totals[m_grandTotals[nGrand]].nRow : INT_MAX;
        if (nTotalRow == INT_MAX && nFreeRow == INT_MAX && nGrandRow == INT_MAX)
            break;
        int nRow = 0;
        if (nGrandRow <= nTotalRow && nGrandRow < nFreeRow) {
            // A grand total (also one marked for rewriting): rewritten when its sums moved.
            const int nIndex = m_grandTotals[nGrand];
            const bool bChanged = takeGrandChanges();
            const bool bMarked = pending.Unmark(nIndex);
            if (!bChanged && !bMarked)
                continue;
            nRow = nGrandRow;
            if (engine.EditKind(nRow) != m_totals[nIndex].nKind)
                return fail();
            for (size_t i = 0; i < nSums; ++i)
                sums[i].sum = CWholeSums::Compensated(m_sums[static_cast<size_t>(nIndex) * nSums + i]);
            engine.WriteTotalRow(nRow, sums);
        } else if (nTotalRow < nFreeRow) {
            const int nIndex = nPending;
            pending.Unmark(nIndex);
            nRow = nTotalRow;
            if (engine.EditKind(nRow) != m_totals[nIndex].nKind)
                return fail();
            for (size_t i = 0; i < nSums; ++i)
                sums[i].sum = CWholeSums::Compensated(m_sums[static_cast<size_t>(nIndex) * nSums + i]);
            engine.WriteTotalRow(nRow, sums);
        } else {
            nRow = nFreeRow;
            ++itFree;
            if (bTaxAsShown && !std::binary_search(changedFree.begin(), changedFree.end(), nRow))
                continue;
            if (engine.EditKind(nRow) != kindFree)
                return fail();
            engine.StoreTaxRow(nRow, tax);
            engine.m_sheet.RowsWritten(nRow, nRow);
        }
        // What the row now adds to the totals below it.
        const ERowKind nKind = m_kinds[static_cast<size_t>(nRow)];
        std::copy_n(m_values.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(nRow) * nSums), nSums,
                    oldValues.begin());
        ERowKind nNewKind = kindEmpty;
        if (!ReadRow(engine, nRow, nNewKind, newValues.data()) || nNewKind != nKind)
            return fail();
        if (!ApplyChange(nRow, nKind, oldValues.data(), nKind, newValues.data(), nFrom, pending))
            return fail();
    }
    m_eState = stateBuilt;
    m_changedRows.clear();
    m_nChanges = engine.m_rows.GetChangeCount();
    if (bEveryFreeRow && !bTaxAsShown) {
        m_bTaxShown = true;
        m_nShownTaxColumns[0] = tax.nAmountCol;
        m_nShownTaxColumns[1] = tax.nSecondCol;
        m_strShownTax[0] = tax.strTax;
        m_strShownTax[1] = tax.strSecondTax;
    } else if (bAnyFreeRow && !bTaxAsShown) {
        m_bTaxShown = false; // those above the rows rewritten show another tax
    }
    // Totals marked stale again and again stay listed once.
    if (m_stale.size() > m_totals.size()) {
        std::sort(m_stale.begin(), m_stale.end());
        m_stale.erase(std::unique(m_stale.begin(), m_stale.end()), m_stale.end());
    }
    if constexpr (kChecksOn)
        MORVEL_CHECK(MatchesTheRows(engine), "the kept sums are those of the rows");
    return true;
}

bool CKeptTotals::IsCurrent(const CEstimateEngine& engine) const
{
    return m_eState == stateBuilt && m_changedRows.empty() && engine.m_rows.GetChangeCount() == m_nChanges &&
           engine.m_nUsedRows == m_nUsedRows;
}

bool CKeptTotals::TakeAmount(const CEstimateEngine& engine, int nCol, bool bExcludeFree, double& amount) const
{
    if (!IsCurrent(engine))
        return false;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i] == nCol && !m_bySubtotals[i]) {
            amount = static_cast<double>(bExcludeFree ? m_estimate[i] : m_leaves[i]);
            return true;
        }
    }
    return false;
}

bool CKeptTotals::MatchesTheRows(const CEstimateEngine& engine) const
{
    const size_t nSums = m_columns.size();
    const size_t nRows = static_cast<size_t>(std::max(engine.m_nUsedRows, 0));
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
        const CGridRow* pRow = engine.m_rows.GetRow(static_cast<INT_PTR>(r));
        if (pRow != nullptr && !engine.m_rows.CountsChangesOf(*pRow))
            return false; // a change of this row would go uncounted
        ERowKind nKind = kindEmpty;
        if (!ReadRow(engine, static_cast<int>(r), nKind, values.data()) || nKind != m_kinds[r])
            return false;
        if (IsHeadingKind(nKind))
            headings[SlotOfLevel(LevelOfHeadingKind(nKind))].push_back(static_cast<int>(r));
        else if (nKind == kindFree)
            freeRows.push_back(static_cast<int>(r));
        for (size_t i = 0; i < nSums; ++i) {
            if (values[i] != m_values[r * nSums + i])
                return false;
            const bool bAdds = m_bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind);
            counted[(r + 1) * nSums + i] = counted[r * nSums + i] + (bAdds ? values[i] : 0);
            discounts[(r + 1) * nSums + i] =
                discounts[r * nSums + i] + (nKind == kindDiscount ? values[i] : 0);
            (void)budgets[i].Take(values[i]);
            if (!m_bySubtotals[i] && IsLeafKind(nKind)) {
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
            const int64_t nSum = added[static_cast<size_t>(total.nRow) * nSums + i] -
                                 added[static_cast<size_t>(total.nStart) * nSums + i];
            if (nSum != m_sums[t * nSums + i])
                return false;
        }
    }
    return true;
}

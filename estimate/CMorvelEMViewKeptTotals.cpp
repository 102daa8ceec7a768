// The totals an edit can change. A recalculation from an edited row down rewrites every
// total below it from the rows; most of them come out as they were. The view keeps each
// total's sums (CKeptTotals) and the numbers they were made from, notes the rows it changes
// itself, and after an edit rewrites only the totals whose rows changed (and those the
// rewritten totals feed), in the order and with the texts the walk over the rows gives.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "estimate/engine/CNumberRules.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this many changed rows a recalculation walks the rows: a bulk change.
constexpr size_t kMaxChangedRows = 256;
// While the magnitudes of every number a column adds stay within 2^52, every sum and
// difference of its numbers is exact, whatever the order (CKeptTotals).
constexpr int64_t kExactLimit = int64_t{1} << 52;

int SlotOfLevel(int nLevel)
{
    switch (nLevel) {
    case kindKind:
        return CKeptTotals::slotKind;
    case kindLarge:
        return CKeptTotals::slotLarge;
    case kindMiddle:
        return CKeptTotals::slotMiddle;
    case kindSmall:
        return CKeptTotals::slotSmall;
    default:
        return -1;
    }
}

// Kinds whose change moves the totals' ranges or that the recalculation makes itself: the
// kept sums are dropped when a row takes or leaves one of them.
bool IsPlaceKind(int nKind)
{
    return IsHeadingKind(nKind) || IsTotalKind(nKind) || IsDiscountTotalKind(nKind) || nKind == kindFree ||
           nKind == kindStep || nKind == kindClassify;
}

bool IsCountedKind(int nKind)
{
    return IsLeafKind(nKind) || IsSubtotalKind(nKind);
}

} // namespace

std::string CMorvelEMView::KeptColumnRules() const
{
    const CEstimationFormFile& form = GetEstimationForm();
    const int nColumns = GetColumnLimit();
    std::string rules = std::to_string(nColumns);
    for (int c = 0; c < nColumns; ++c) {
        for (int nItem : {static_cast<int>(CEstimationFormFile::colAttribute),
                          static_cast<int>(CEstimationFormFile::colPicture),
                          static_cast<int>(CEstimationFormFile::colFormula),
                          static_cast<int>(CEstimationFormFile::colRounding),
                          static_cast<int>(CEstimationFormFile::colT), static_cast<int>(CEstimationFormFile::colV)}) {
            rules += '\t';
            rules += form.GetItem(c, nItem).str();
        }
    }
    return rules;
}

void CMorvelEMView::StartKeptTotals(int nFromRow)
{
    CKeptTotals& k = m_kept;
    if (IsPrintCopyActive() || m_bTotalsOneByOne)
        return;
    std::string strRules = KeptColumnRules();
    // The walk recorded the rows as it read them: what was written after it is noted.
    if (k.eState == CKeptTotals::stateRecorded || k.eState == CKeptTotals::stateBuilt) {
        k.nUsedRows = m_nUsedRows;
        k.strRules = std::move(strRules);
        return;
    }
    // Rows the kept sums cannot follow stay so while nothing but cells changed (a number
    // they cannot keep is looked at again by the next recalculation from the first row).
    if (k.eState == CKeptTotals::stateBlocked && m_EditRows.GetChangeCount() == k.nChanges &&
        k.nUsedRows == m_nUsedRows && (k.strRules.empty() || k.strRules == strRules)) {
        k.strRules = std::move(strRules);
        return;
    }
    k.Clear();
    k.eState = CKeptTotals::stateTracking;
    k.nChanges = m_EditRows.GetChangeCount();
    k.nUsedRows = m_nUsedRows;
    k.nFirstFresh = std::max(0, nFromRow);
    k.strRules = std::move(strRules);
}

void CMorvelEMView::NoteKeptCellChange(bool bInStep, int nRow, int nCol)
{
    CKeptTotals& k = m_kept;
    if (IsPrintCopyActive())
        return; // the print copy's rows
    if (!bInStep) {
        k.eState = CKeptTotals::stateOff;
        return;
    }
    k.nChanges = m_EditRows.GetChangeCount();
    if (k.eState == CKeptTotals::stateBlocked)
        return;
    // A discount total finds its heading by the heading's name in its label.
    const int nKind = EditKind(nRow);
    if ((IsHeadingKind(nKind) || IsDiscountTotalKind(nKind)) && nCol == FindNameColumn()) {
        k.eState = CKeptTotals::stateOff;
        return;
    }
    if (k.changedRows.empty() || k.changedRows.back() != nRow)
        k.changedRows.push_back(nRow);
    if (k.changedRows.size() > kMaxChangedRows)
        k.eState = CKeptTotals::stateOff;
}

void CMorvelEMView::NoteKeptKindChange(bool bInStep, int nRow, int nOldKind, int nNewKind)
{
    CKeptTotals& k = m_kept;
    if (IsPrintCopyActive())
        return;
    if (!bInStep || IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind)) {
        k.eState = CKeptTotals::stateOff;
        return;
    }
    k.nChanges = m_EditRows.GetChangeCount();
    if (k.eState == CKeptTotals::stateBlocked || nOldKind == nNewKind)
        return;
    if (k.changedRows.empty() || k.changedRows.back() != nRow)
        k.changedRows.push_back(nRow);
    if (k.changedRows.size() > kMaxChangedRows)
        k.eState = CKeptTotals::stateOff;
}

bool CMorvelEMView::ReadKeptRow(int nRow, int& nKind, int64_t* pValues) const
{
    const CKeptTotals& k = m_kept;
    const CGridRow* pRow = m_EditRows.GetRow(nRow);
    nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    const size_t nSums = k.columns.size();
    const bool bLeaf = IsLeafKind(nKind);
    const bool bSubtotal = IsSubtotalKind(nKind);
    for (size_t i = 0; i < nSums; ++i) {
        pValues[i] = 0;
        // Only the numbers some sum adds: a column's own rows (leaf or subtotal rows by its
        // mode) and the discount rows (the discount totals add them in every column).
        if (pRow == nullptr || !((k.bySubtotals[i] ? bSubtotal : bLeaf) || nKind == kindDiscount))
            continue;
        const std::string& text = pRow->m_strCell[k.columns[i]].str();
        double value = 0.0;
        if (!CNumberRules::ReadNormalForm(text.data(), text.data() + text.size(), value))
            value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
        if (!ToKeptNumber(value, pValues[i]))
            return false;
    }
    return true;
}

template <typename Visit>
void CMorvelEMView::ForKeptTotalsOver(int nRow, bool bDiscounts, Visit visit) const
{
    const CKeptTotals& k = m_kept;
    // A heading total adds the rows between the nearest heading of its level above it and
    // itself: the totals of the level after nRow and before the next heading of the level,
    // when a heading of the level lies above nRow.
    for (int nSlot = 0; nSlot < CKeptTotals::SLOTS; ++nSlot) {
        const std::vector<int>& headings = k.headings[nSlot];
        const auto itNext = std::upper_bound(headings.begin(), headings.end(), nRow);
        if (itNext == headings.begin())
            continue; // no heading of the level above
        const int nNext = itNext == headings.end() ? INT_MAX : *itNext;
        const std::vector<int>& totals = k.levelTotals[nSlot];
        auto it = std::upper_bound(totals.begin(), totals.end(), nRow,
                                   [&k](int nValue, int nIndex) { return nValue < k.totals[nIndex].nRow; });
        for (; it != totals.end() && k.totals[*it].nRow < nNext; ++it)
            visit(*it);
    }
    for (int nIndex : k.grandTotals) {
        if (k.totals[nIndex].nRow > nRow)
            visit(nIndex);
    }
    if (bDiscounts) {
        for (int nIndex : k.discountTotals) {
            const CKeptTotals::CTotal& total = k.totals[nIndex];
            if (total.nStart <= nRow && nRow < total.nRow)
                visit(nIndex);
        }
    }
}

bool CMorvelEMView::ApplyKeptChange(int nRow, int nOldKind, const int64_t* pOld, int nNewKind, const int64_t* pNew,
                                    int nFromRow, std::set<int>& pending)
{
    CKeptTotals& k = m_kept;
    const size_t nSums = k.columns.size();
    // The differences for the heading and grand totals, for the discount totals (discount
    // rows alone) and for the estimate's amounts.
    int64_t heading[CMorvelEMView::MAX_COLUMNS];
    int64_t discount[CMorvelEMView::MAX_COLUMNS];
    bool bHeading = false;
    bool bDiscount = false;
    for (size_t i = 0; i < nSums; ++i) {
        auto counted = [&](int nKind, const int64_t* pValues) {
            return (k.bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind)) ? pValues[i] : 0;
        };
        heading[i] = counted(nNewKind, pNew) - counted(nOldKind, pOld);
        discount[i] = (nNewKind == kindDiscount ? pNew[i] : 0) - (nOldKind == kindDiscount ? pOld[i] : 0);
        bHeading = bHeading || heading[i] != 0;
        bDiscount = bDiscount || discount[i] != 0;
        if (!k.bySubtotals[i]) {
            auto leaf = [](int nKind, bool bFree, const int64_t* pValues, size_t n) {
                return IsLeafKind(nKind) && (bFree || nKind != kindFree) ? pValues[n] : 0;
            };
            k.estimate[i] += leaf(nNewKind, false, pNew, i) - leaf(nOldKind, false, pOld, i);
            k.leaves[i] += leaf(nNewKind, true, pNew, i) - leaf(nOldKind, true, pOld, i);
        }
        k.magnitudes[i] += std::llabs(pNew[i]) - std::llabs(pOld[i]);
        if (k.magnitudes[i] > kExactLimit)
            return false;
        k.values[static_cast<size_t>(nRow) * nSums + i] = pNew[i];
    }
    k.kinds[static_cast<size_t>(nRow)] = nNewKind;
    auto mark = [&](int nIndex) {
        if (k.totals[nIndex].nRow >= nFromRow)
            pending.insert(nIndex);
        else
            k.stale.insert(nIndex);
    };
    if (bHeading || bDiscount) {
        ForKeptTotalsOver(nRow, bDiscount, [&](int nIndex) {
            const CKeptTotals::CTotal& total = k.totals[nIndex];
            const int64_t* pDifference = IsDiscountTotalKind(total.nKind) ? discount : heading;
            bool bChanged = false;
            for (size_t i = 0; i < nSums; ++i) {
                k.sums[static_cast<size_t>(nIndex) * nSums + i] += pDifference[i];
                bChanged = bChanged || pDifference[i] != 0;
            }
            if (bChanged)
                mark(nIndex);
        });
    }
    return true;
}

bool CMorvelEMView::StartKeepingRows(bool bAllocate)
{
    CKeptTotals& k = m_kept;
    // What the rows were known as stays; the sums start afresh.
    CKeptTotals known;
    known.nChanges = k.nChanges;
    known.nUsedRows = k.nUsedRows;
    known.nFirstFresh = k.nFirstFresh;
    known.strRules = std::move(k.strRules);
    known.changedRows = std::move(k.changedRows);
    k = std::move(known);
    std::vector<CTotalColumn> columns;
    GetTotalColumns(columns);
    const size_t nSums = columns.size();
    for (const CTotalColumn& column : columns) {
        k.columns.push_back(column.nCol);
        k.bySubtotals.push_back(column.eTotalMode == ETotalMode::subtotals ? 1 : 0);
    }
    // A formula a total row works out ("計 C") must read only columns the total has
    // written before it: columns to its right keep the text of the row's last rewrite, which
    // the walk and the kept sums may leave at different times.
    const int nColumns = GetColumnLimit();
    int nFirstByFormula = -1;
    for (int c = 0; c < nColumns && nFirstByFormula < 0; ++c) {
        if (GetColumnInfo(c).bTotalByFormula)
            nFirstByFormula = c;
    }
    if (nFirstByFormula >= 0) {
        for (int nCol : GetFormulaColumns()) {
            if (nCol < nFirstByFormula)
                continue;
            for (int nRef : GetColumnInfo(nCol).refs) {
                if (nRef >= nFirstByFormula)
                    return false;
            }
        }
    }
    if (bAllocate) {
        const size_t nRows = static_cast<size_t>(std::max(m_nUsedRows, 0));
        k.kinds.assign(nRows, kindEmpty);
        k.values.assign(nRows * nSums, 0);
    }
    k.estimate.assign(nSums, 0);
    k.leaves.assign(nSums, 0);
    k.magnitudes.assign(nSums, 0);
    k.running.assign(nSums, 0);
    k.discounts.assign(nSums, 0);
    k.started.assign(CKeptTotals::SLOTS * nSums, 0);
    k.nNameCol = FindNameColumn();
    return true;
}

bool CMorvelEMView::KeepRow(int r, int nKind, const int64_t* pValues)
{
    CKeptTotals& k = m_kept;
    const size_t nSums = k.columns.size();
    if (nKind == kindStep || nKind == kindClassify || r >= static_cast<int>(k.kinds.size()))
        return false;
    k.kinds[static_cast<size_t>(r)] = nKind;
    if (IsHeadingKind(nKind)) {
        const int nSlot = SlotOfLevel(nKind);
        k.headings[nSlot].push_back(r);
        k.discountsAtHeading[nSlot].insert(k.discountsAtHeading[nSlot].end(), k.discounts.begin(),
                                           k.discounts.end());
        std::copy(k.running.begin(), k.running.end(), k.started.begin() + static_cast<std::ptrdiff_t>(nSlot * nSums));
        return true;
    }
    if (IsTotalKind(nKind)) {
        const int nLevel = HeadingOfTotalKind(nKind);
        const int nSlot = SlotOfLevel(nLevel);
        // The walk leaves a total alone without a heading of its level above it or with
        // nothing between the heading and itself.
        const int nHeading = nSlot >= 0 && !k.headings[nSlot].empty() ? k.headings[nSlot].back() : -1;
        const bool bRange = nSlot < 0 ? r > 0 : nHeading >= 0 && nHeading + 1 <= r - 1;
        if (bRange) {
            const int nIndex = static_cast<int>(k.totals.size());
            k.totals.push_back({r, nSlot < 0 ? 0 : nHeading + 1, nKind});
            for (size_t i = 0; i < nSums; ++i)
                k.sums.push_back(nSlot < 0 ? k.running[i]
                                           : k.running[i] - k.started[static_cast<size_t>(nSlot) * nSums + i]);
            (nSlot < 0 ? k.grandTotals : k.levelTotals[nSlot]).push_back(nIndex);
        }
    } else if (IsDiscountTotalKind(nKind)) {
        const int nLevel = LevelOfDiscountTotalKind(nKind);
        k.nLastDiscountRow = r;
        k.nLastDiscountLevel = nLevel;
        // As MakeTotalRow finds it: the nearest heading of the level above whose name the
        // total's label holds (the whole estimate for the grand discount total).
        const int nSlot = SlotOfLevel(nLevel);
        int nStart = 0;
        const int64_t* pBefore = nullptr; // the discount sums before nStart (none: 0)
        bool bFound = nLevel == levelGrand;
        if (!bFound && nSlot >= 0) {
            const CString& strLabel = EditCell(r, k.nNameCol);
            for (size_t j = k.headings[nSlot].size(); j-- > 0;) {
                const int h = k.headings[nSlot][j];
                if (strLabel.Find(EditCell(h, k.nNameCol)) >= 0) {
                    nStart = h + 1;
                    pBefore = &k.discountsAtHeading[nSlot][j * nSums];
                    bFound = true;
                    break;
                }
            }
        }
        if (bFound && nStart <= r - 1) {
            const int nIndex = static_cast<int>(k.totals.size());
            k.totals.push_back({r, nStart, nKind});
            for (size_t i = 0; i < nSums; ++i)
                k.sums.push_back(k.discounts[i] - (pBefore != nullptr ? pBefore[i] : 0));
            k.discountTotals.push_back(nIndex);
        }
    } else if (nKind == kindFree) {
        k.freeRows.push_back(r);
    }
    if (!IsCountedKind(nKind))
        return true;
    // (pValues holds 0 where no sum adds the number.)
    for (size_t i = 0; i < nSums; ++i) {
        const int64_t nValue = pValues[i];
        k.values[static_cast<size_t>(r) * nSums + i] = nValue;
        k.magnitudes[i] += std::llabs(nValue);
        if (k.magnitudes[i] > kExactLimit) {
            k.bBlockedByNumber = true;
            return false;
        }
        if (k.bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind))
            k.running[i] += nValue;
        if (nKind == kindDiscount)
            k.discounts[i] += nValue;
        if (!k.bySubtotals[i] && IsLeafKind(nKind)) {
            k.leaves[i] += nValue;
            if (nKind != kindFree)
                k.estimate[i] += nValue;
        }
    }
    return true;
}

void CMorvelEMView::EndKeepingRows()
{
    CKeptTotals& k = m_kept;
    // Every total above the row the walk started from may not show its sums; so may those
    // over the rows changed since.
    for (size_t i = 0; i < k.totals.size() && k.totals[i].nRow < k.nFirstFresh; ++i)
        k.stale.insert(static_cast<int>(i));
    for (int r : k.changedRows) {
        if (r < 0 || r >= static_cast<int>(k.kinds.size()))
            continue;
        ForKeptTotalsOver(r, true, [&k](int nIndex) { k.stale.insert(nIndex); });
        const auto it = std::lower_bound(k.totals.begin(), k.totals.end(), r,
                                         [](const CKeptTotals::CTotal& t, int nRow) { return t.nRow < nRow; });
        if (it != k.totals.end() && it->nRow == r)
            k.stale.insert(static_cast<int>(it - k.totals.begin()));
    }
    k.changedRows.clear();
    k.running.clear();
    k.discounts.clear();
    k.started.clear();
    for (std::vector<int64_t>& at : k.discountsAtHeading)
        at.clear();
    k.eState = CKeptTotals::stateBuilt;
}

void CMorvelEMView::BlockKeptTotals(bool bByNumber)
{
    CKeptTotals& k = m_kept;
    const std::string strRules = std::move(k.strRules);
    k.Clear();
    k.eState = CKeptTotals::stateBlocked;
    k.bBlockedByNumber = bByNumber;
    k.nChanges = m_EditRows.GetChangeCount();
    k.nUsedRows = m_nUsedRows;
    k.strRules = strRules;
}

bool CMorvelEMView::ToKeptNumber(double value, int64_t& nValue)
{
    if (!(std::fabs(value) <= static_cast<double>(kExactLimit)))
        return false;
    nValue = static_cast<int64_t>(value);
    return static_cast<double>(nValue) == value;
}

bool CMorvelEMView::BuildRecordedTotals()
{
    CKeptTotals& k = m_kept;
    // The walk's record is taken over as it is; the rows changed since it stay noted, for
    // their differences to be added once the sums are made.
    std::vector<int> kinds = std::move(k.kinds);
    std::vector<int64_t> values = std::move(k.values);
    std::vector<int> changedRows = std::move(k.changedRows);
    if (!StartKeepingRows(false))
        return false;
    k.kinds = std::move(kinds);
    k.values = std::move(values);
    const size_t nSums = k.columns.size();
    if (k.values.size() != k.kinds.size() * nSums)
        return false;
    const size_t nRows = k.kinds.size();
    for (size_t r = 0; r < nRows; ++r) {
        const int nKind = k.kinds[r];
        const int64_t* pValues = k.values.data() + r * nSums; // no sums: an empty table
        if (nKind == kindDetail) {
            // The common row, added by the leaf rows' columns alone (as KeepRow adds it).
            for (size_t i = 0; i < nSums; ++i) {
                k.magnitudes[i] += std::llabs(pValues[i]);
                if (k.magnitudes[i] > kExactLimit) {
                    k.bBlockedByNumber = true;
                    return false;
                }
                if (!k.bySubtotals[i]) {
                    k.running[i] += pValues[i];
                    k.leaves[i] += pValues[i];
                    k.estimate[i] += pValues[i];
                }
            }
            continue;
        }
        if (!KeepRow(static_cast<int>(r), nKind, pValues))
            return false;
    }
    EndKeepingRows();
    k.changedRows = std::move(changedRows);
    return true;
}

bool CMorvelEMView::BuildKeptTotals()
{
    CKeptTotals& k = m_kept;
    if (!StartKeepingRows())
        return false;
    const int nRows = m_nUsedRows;
    int nFirstCell = -1;
    int nLastCell = -1;
    for (int nCol : k.columns) {
        nFirstCell = nFirstCell < 0 ? nCol : std::min(nFirstCell, nCol);
        nLastCell = std::max(nLastCell, nCol);
    }
    std::vector<int64_t> rowValues(k.columns.size());
    for (int r = 0; r < nRows; ++r) {
        // Rows lie kilobytes apart: the kind and the summed cells are fetched well ahead
        // (there is little to do per row).
        PrefetchRow(r + KIND_PREFETCH_DISTANCE, nFirstCell, nLastCell, 0, -1);
        int nKind = kindEmpty;
        if (!ReadKeptRow(r, nKind, rowValues.data())) {
            k.bBlockedByNumber = true;
            return false;
        }
        if (!KeepRow(r, nKind, rowValues.data()))
            return false;
    }
    EndKeepingRows();
    return true;
}

bool CMorvelEMView::RecalcKeptTotals(int nFromRow)
{
    CKeptTotals& k = m_kept;
    if (k.eState == CKeptTotals::stateOff || k.eState == CKeptTotals::stateBlocked)
        return false;
    if (m_bTotalsOneByOne || m_bCalcRowsInWalk || IsPrintCopyActive() ||
        m_EditRows.GetChangeCount() != k.nChanges || m_nUsedRows < k.nUsedRows ||
        KeptColumnRules() != k.strRules) {
        k.eState = CKeptTotals::stateOff;
        return false;
    }
    // Rows added at the end are changed rows (nothing lies below them).
    for (int r = k.nUsedRows; r < m_nUsedRows; ++r)
        k.changedRows.push_back(r);
    if (k.changedRows.size() > kMaxChangedRows) {
        k.eState = CKeptTotals::stateOff;
        return false;
    }
    if (k.eState == CKeptTotals::stateTracking) {
        k.nUsedRows = m_nUsedRows;
        if (!BuildKeptTotals()) {
            BlockKeptTotals(k.bBlockedByNumber);
            return false;
        }
    } else if (k.eState == CKeptTotals::stateRecorded && !BuildRecordedTotals()) {
        BlockKeptTotals(k.bBlockedByNumber);
        return false;
    }
    if (static_cast<size_t>(m_nUsedRows) > k.kinds.size()) {
        k.kinds.resize(static_cast<size_t>(m_nUsedRows), kindEmpty);
        k.values.resize(static_cast<size_t>(m_nUsedRows) * k.columns.size(), 0);
    }
    k.nUsedRows = m_nUsedRows;
    const size_t nSums = k.columns.size();
    const int nFrom = std::max(0, nFromRow);
    auto fail = [&k]() {
        k.eState = CKeptTotals::stateOff;
        return false;
    };

    // The totals to rewrite, in row order (the indices follow the rows).
    std::set<int> pending;
    for (auto it = k.stale.begin(); it != k.stale.end();) {
        if (k.totals[*it].nRow >= nFrom) {
            pending.insert(*it);
            it = k.stale.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<int64_t> oldValues(nSums), newValues(nSums);
    // The rows the view changed: their differences go to the totals over them, and a total
    // changed by hand is written again.
    std::sort(k.changedRows.begin(), k.changedRows.end());
    k.changedRows.erase(std::unique(k.changedRows.begin(), k.changedRows.end()), k.changedRows.end());
    for (int r : k.changedRows) {
        if (r < 0 || r >= m_nUsedRows)
            continue;
        const int nOldKind = k.kinds[static_cast<size_t>(r)];
        std::copy_n(k.values.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(r) * nSums), nSums,
                    oldValues.begin());
        int nNewKind = kindEmpty;
        if (!ReadKeptRow(r, nNewKind, newValues.data()))
            return fail();
        if (nNewKind != nOldKind && (IsPlaceKind(nOldKind) || IsPlaceKind(nNewKind)))
            return fail();
        if (!ApplyKeptChange(r, nOldKind, oldValues.data(), nNewKind, newValues.data(), nFrom, pending))
            return fail();
        if (IsTotalKind(nNewKind) || IsDiscountTotalKind(nNewKind)) {
            const auto it = std::lower_bound(k.totals.begin(), k.totals.end(), r,
                                             [](const CKeptTotals::CTotal& t, int nRow) { return t.nRow < nRow; });
            if (it != k.totals.end() && it->nRow == r) {
                const int nIndex = static_cast<int>(it - k.totals.begin());
                if (r >= nFrom)
                    pending.insert(nIndex);
                else
                    k.stale.insert(nIndex);
            }
        }
    }
    k.changedRows.clear();

    // The walk sets the discount level at every discount total it meets.
    if (k.nLastDiscountRow >= nFrom)
        m_nDiscountLevel = k.nLastDiscountLevel;

    // Totals and free (tax) rows from nFrom down, in row order: each tax row takes the
    // estimate's amounts, and a rewritten total's change goes on to the totals below that
    // add it.
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    if (sums.size() != nSums)
        return fail();
    auto itFree = std::lower_bound(k.freeRows.begin(), k.freeRows.end(), nFrom);
    // The rows written below are followed here, not noted as changes.
    k.eState = CKeptTotals::stateOff;
    for (;;) {
        const int nTotalRow = pending.empty() ? INT_MAX : k.totals[*pending.begin()].nRow;
        const int nFreeRow = itFree == k.freeRows.end() ? INT_MAX : *itFree;
        if (nTotalRow == INT_MAX && nFreeRow == INT_MAX)
            break;
        int nRow = 0;
        if (nTotalRow < nFreeRow) {
            const int nIndex = *pending.begin();
            pending.erase(pending.begin());
            nRow = nTotalRow;
            if (EditKind(nRow) != k.totals[nIndex].nKind)
                return fail();
            for (size_t i = 0; i < nSums; ++i)
                sums[i].sum = CCompensatedSum::OfExact(static_cast<double>(k.sums[static_cast<size_t>(nIndex) * nSums + i]));
            WriteTotalRow(nRow, sums);
        } else {
            nRow = nFreeRow;
            ++itFree;
            if (EditKind(nRow) != kindFree)
                return fail();
            // The tax takes the estimate's amount from the kept sums, as it takes it from the
            // walk.
            m_walkedAmounts.clear();
            for (size_t i = 0; i < nSums; ++i) {
                if (!k.bySubtotals[i])
                    m_walkedAmounts.emplace_back(k.columns[i],
                                                 CCompensatedSum::OfExact(static_cast<double>(k.estimate[i])));
            }
            m_bWalkedAmounts = true;
            int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
            if (nAmountCol < 0)
                nAmountCol = 0;
            const int nSecondCol = FindFirstColumn(CEstimationFormFile::colV, "3");
            const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
            const int nRate = pSettings != nullptr ? pSettings->m_nTax : 8;
            CString strTax;
            CalcTaxAmount(strTax, nAmountCol, TRUE, nRate);
            m_bWalkedAmounts = false;
            StoreTaxRow(nRow, nAmountCol, nSecondCol, strTax, nRate);
            InvalidateRows(nRow, nRow);
        }
        // What the row now adds to the totals below it.
        const int nKind = k.kinds[static_cast<size_t>(nRow)];
        std::copy_n(k.values.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(nRow) * nSums), nSums,
                    oldValues.begin());
        int nNewKind = kindEmpty;
        if (!ReadKeptRow(nRow, nNewKind, newValues.data()) || nNewKind != nKind)
            return fail();
        if (!ApplyKeptChange(nRow, nKind, oldValues.data(), nKind, newValues.data(), nFrom, pending))
            return fail();
    }
    k.eState = CKeptTotals::stateBuilt;
    k.changedRows.clear();
    k.nChanges = m_EditRows.GetChangeCount();
    if constexpr (kChecksOn)
        MORVEL_CHECK(KeptSumsMatchTheRows(), "the kept sums are those of the rows");
    return true;
}

bool CMorvelEMView::KeptSumsMatchTheRows() const
{
    const CKeptTotals& k = m_kept;
    const size_t nSums = k.columns.size();
    const size_t nRows = static_cast<size_t>(std::max(m_nUsedRows, 0));
    if (k.eState != CKeptTotals::stateBuilt || k.kinds.size() != nRows || k.values.size() != nRows * nSums)
        return false;
    // Per summed column, what the rows before each row add: the rows the column adds, the
    // discount rows, and the magnitudes; beside them the estimate's and all leaf rows.
    std::vector<int64_t> counted((nRows + 1) * nSums, 0), discounts((nRows + 1) * nSums, 0);
    std::vector<int64_t> estimate(nSums, 0), leaves(nSums, 0), magnitudes(nSums, 0);
    std::vector<int64_t> values(nSums);
    std::vector<int> headings[CKeptTotals::SLOTS];
    std::vector<int> freeRows;
    for (size_t r = 0; r < nRows; ++r) {
        const CGridRow* pRow = m_EditRows.GetRow(static_cast<INT_PTR>(r));
        if (pRow != nullptr && !m_EditRows.CountsChangesOf(*pRow))
            return false; // a change of this row would go uncounted
        int nKind = kindEmpty;
        if (!ReadKeptRow(static_cast<int>(r), nKind, values.data()) || nKind != k.kinds[r])
            return false;
        if (IsHeadingKind(nKind))
            headings[SlotOfLevel(nKind)].push_back(static_cast<int>(r));
        else if (nKind == kindFree)
            freeRows.push_back(static_cast<int>(r));
        for (size_t i = 0; i < nSums; ++i) {
            if (values[i] != k.values[r * nSums + i])
                return false;
            const bool bAdds = k.bySubtotals[i] ? IsSubtotalKind(nKind) : IsLeafKind(nKind);
            counted[(r + 1) * nSums + i] = counted[r * nSums + i] + (bAdds ? values[i] : 0);
            discounts[(r + 1) * nSums + i] =
                discounts[r * nSums + i] + (nKind == kindDiscount ? values[i] : 0);
            magnitudes[i] += std::llabs(values[i]);
            if (!k.bySubtotals[i] && IsLeafKind(nKind)) {
                leaves[i] += values[i];
                estimate[i] += nKind != kindFree ? values[i] : 0;
            }
        }
    }
    if (estimate != k.estimate || leaves != k.leaves || magnitudes != k.magnitudes || freeRows != k.freeRows)
        return false;
    for (int nSlot = 0; nSlot < CKeptTotals::SLOTS; ++nSlot) {
        if (headings[nSlot] != k.headings[nSlot])
            return false;
    }
    for (size_t t = 0; t < k.totals.size(); ++t) {
        const CKeptTotals::CTotal& total = k.totals[t];
        if (total.nRow < 0 || static_cast<size_t>(total.nRow) >= nRows || total.nStart < 0 ||
            total.nStart > total.nRow || k.kinds[static_cast<size_t>(total.nRow)] != total.nKind)
            return false;
        const std::vector<int64_t>& added = IsDiscountTotalKind(total.nKind) ? discounts : counted;
        for (size_t i = 0; i < nSums; ++i) {
            const int64_t nSum = added[static_cast<size_t>(total.nRow) * nSums + i] -
                                 added[static_cast<size_t>(total.nStart) * nSums + i];
            if (nSum != k.sums[t * nSums + i])
                return false;
        }
    }
    return true;
}

bool CMorvelEMView::AreKeptSumsCurrent() const
{
    const CKeptTotals& k = m_kept;
    return k.eState == CKeptTotals::stateBuilt && k.changedRows.empty() && !IsPrintCopyActive() &&
           m_EditRows.GetChangeCount() == k.nChanges && m_nUsedRows == k.nUsedRows;
}

const std::vector<int>* CMorvelEMView::KeptKinds() const
{
    return AreKeptSumsCurrent() ? &m_kept.kinds : nullptr;
}

bool CMorvelEMView::TakeKeptAmount(int nCol, bool bExcludeFree, double& amount) const
{
    const CKeptTotals& k = m_kept;
    if (!AreKeptSumsCurrent())
        return false;
    for (size_t i = 0; i < k.columns.size(); ++i) {
        if (k.columns[i] == nCol && !k.bySubtotals[i]) {
            amount = static_cast<double>(bExcludeFree ? k.estimate[i] : k.leaves[i]);
            return true;
        }
    }
    return false;
}

#include "engine/estimate/CTotalsWalk.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CKeptTotals.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <cmath>

int CTotalsWalk::SlotOf(ETotalLevel nLevel)
{
    switch (nLevel) {
    case CEstimateEngine::levelKind:
        return slotKind;
    case CEstimateEngine::levelLarge:
        return slotLarge;
    case CEstimateEngine::levelMiddle:
        return slotMiddle;
    case CEstimateEngine::levelSmall:
        return slotSmall;
    default:
        return slotGrand;
    }
}

CTotalsWalk::CTotalsWalk(CEstimateEngine& engine, int nFromRow, bool bWhole, const COptions& options)
    : m_engine(engine), m_nFromRow(nFromRow), m_options(options), m_bWhole(bWhole),
      m_bCalcRows(options.bCalcRows)
{
    engine.GetTotalColumns(m_columns);
    m_nSums = m_columns.size();
    m_sums = m_columns;
    m_whole.resize(m_nSums);
    m_running.resize(SLOTS * m_nSums);
    m_estimate.resize(m_nSums);
    m_pStore = m_bCalcRows ? nullptr : options.pStore;
    m_bTotalsWorkOutOnSums = m_bCalcRows && !engine.TotalFormulasReadAhead();
    if (m_bCalcRows)
        engine.GetRowFormulas(m_formulas);
    m_bAnyBySubtotals = std::any_of(m_columns.begin(), m_columns.end(), [](const CTotalColumn& column) {
        return column.eTotalMode == CEstimateColumns::ETotalMode::subtotals;
    });
    const size_t nEntries = static_cast<size_t>(std::max(engine.GetUsedRows(), 0)) * m_nSums;
    if (m_pStore != nullptr && m_pStore->size() < nEntries)
        m_pStore->resize(nEntries);
    // A walk that reads every row from the first builds the sums kept per total.
    if (options.pBuild != nullptr && (bWhole || m_bCalcRows) && options.pBuild->StartBuild(engine))
        m_pBuild = options.pBuild;
    m_rowNumbers.resize(m_pBuild != nullptr ? m_nSums : 0);
    m_pRowNumbers = m_pBuild != nullptr ? m_rowNumbers.data() : nullptr;
    ChoosePrefetchCells();
}

std::vector<std::pair<int, CCompensatedSum>> CTotalsWalk::GetEstimateAmounts() const
{
    std::vector<std::pair<int, CCompensatedSum>> amounts;
    for (size_t i = 0; i < m_nSums; ++i) {
        if (m_columns[i].eTotalMode == CEstimateColumns::ETotalMode::leafRows)
            amounts.emplace_back(m_columns[i].nCol, m_whole[i].bWhole
                                                        ? CWholeSums::Compensated(m_whole[i].nEstimate)
                                                        : m_estimate[i]);
    }
    return amounts;
}

int CTotalsWalk::FindLevelStart() const
{
    // A heading level's sum starts at the last heading of its kind above nFromRow at the
    // earliest; the rows above all of those count for the grand total alone.
    int nLevelStart = m_nFromRow;
    bool bSeen[slotGrand] = {false, false, false, false};
    int nToSee = slotGrand;
    for (int r = std::min(m_nFromRow, m_engine.GetUsedRows() - 1); r >= 0 && nToSee > 0; --r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (IsSectionStartKind(nKind) && !bSeen[SlotOf(LevelOfHeadingKind(SectionHeadingKindOf(nKind)))]) {
            bSeen[SlotOf(LevelOfHeadingKind(SectionHeadingKindOf(nKind)))] = true;
            --nToSee;
            nLevelStart = r;
        }
    }
    return nLevelStart;
}

void CTotalsWalk::ChoosePrefetchCells()
{
    m_nFirstCell = m_nSums > 0 ? m_columns.front().nCol : -1;
    m_nLastCell = m_nSums > 0 ? m_columns.back().nCol : -2;
    if (!m_bCalcRows)
        return;
    auto widen = [this](int nCol) {
        m_nFirstCell = m_nFirstCell < 0 ? nCol : std::min(m_nFirstCell, nCol);
        m_nLastCell = std::max(m_nLastCell, nCol);
    };
    const CEstimateColumns& columns = m_engine.Columns();
    const int nColumns = columns.GetLimit();
    for (int nCol : columns.GetFormulaColumns()) {
        widen(nCol);
        for (int nRef : columns.Get(nCol).formula.GetReferences()) {
            if (nRef >= 0 && nRef < nColumns)
                widen(nRef);
        }
    }
}

void CTotalsWalk::CalcRow(int nRow)
{
    m_bFresh = m_engine.CalcRowKeepingNumbers(nRow, m_formulas);
}

// (Inline: read for every summed cell of the walk.)
__attribute__((always_inline)) inline double CTotalsWalk::ReadNumber(const CGridRow* pRow, int nRow, size_t i)
{
    const int nCol = m_columns[i].nCol;
    double value = 0.0;
    if (m_bFresh && m_engine.TakeRowNumber(nCol, value))
        return value;
    const std::string& text = pRow->m_strCell[nCol].str();
    if (m_pStore == nullptr)
        return CNumberRules::ReadStoredNumber(text);
    CRememberedNumber& entry = (*m_pStore)[static_cast<size_t>(nRow) * m_nSums + i];
    if (entry.Matches(nCol, text))
        return entry.value;
    value = CNumberRules::ReadStoredNumber(text);
    entry.Set(nCol, text, value);
    return value;
}

void CTotalsWalk::LeaveWhole(size_t i)
{
    CColumnSums& w = m_whole[i];
    for (int nSlot = 0; nSlot < SLOTS; ++nSlot)
        m_running[static_cast<size_t>(nSlot) * m_nSums + i] =
            CWholeSums::Compensated(w.nAll - w.nStart[nSlot]);
    m_estimate[i] = CWholeSums::Compensated(w.nEstimate);
    w.bWhole = false;
}

void CTotalsWalk::StartSlot(int nSlot)
{
    m_bWaitsForTax[nSlot] = false;
    for (size_t i = 0; i < m_nSums; ++i) {
        if (m_whole[i].bWhole)
            m_whole[i].nStart[nSlot] = m_whole[i].nAll;
        else
            m_running[static_cast<size_t>(nSlot) * m_nSums + i] = CCompensatedSum();
    }
}

CCompensatedSum CTotalsWalk::SlotSum(int nSlot, size_t i) const
{
    const CColumnSums& w = m_whole[i];
    return w.bWhole ? CWholeSums::Compensated(w.nAll - w.nStart[nSlot])
                    : m_running[static_cast<size_t>(nSlot) * m_nSums + i];
}

void CTotalsWalk::AddRow(const CGridRow* pRow, int nRow, ERowKind nKind, int nFirstSlot)
{
    AddNumbers<false>(pRow, nRow, nKind, nFirstSlot, nullptr);
}

void CTotalsWalk::AddKeptRow(int nRow, ERowKind nKind, const double* pKept)
{
    AddNumbers<true>(nullptr, nRow, nKind, 0, pKept);
}

template <bool bKept>
__attribute__((always_inline)) inline void
CTotalsWalk::AddNumbers(const CGridRow* pRow, int nRow, ERowKind nKind, int nFirstSlot, const double* pKept)
{
    const bool bLeaf = IsLeafKind(nKind);
    const bool bSubtotal = IsSubtotalKind(nKind);
    if (!bLeaf && !bSubtotal)
        return;
    const bool bEstimate = bLeaf && nKind != kindFree;
    for (size_t i = 0; i < m_nSums; ++i) {
        if (!(m_columns[i].eTotalMode == CEstimateEngine::ETotalMode::leafRows ? bLeaf : bSubtotal))
            continue;
        const double value = bKept ? pKept[i] : pRow != nullptr ? ReadNumber(pRow, nRow, i) : 0.0;
        if (m_pRowNumbers != nullptr)
            m_pRowNumbers[i] = value;
        CColumnSums& w = m_whole[i];
        int64_t nValue = 0;
        const bool bWholeNumber = CWholeSums::ToWhole(value, nValue);
        // The kept totals being built take the whole numbers alone (and their own budget).
        if (m_pBuildValues != nullptr) {
            m_pBuildValues[i] = nValue;
            m_bBuildFails = m_bBuildFails || !bWholeNumber;
        }
        if (w.bWhole) {
            if (bWholeNumber && w.budget.Take(nValue)) {
                w.nAll += nValue;
                if (bEstimate)
                    w.nEstimate += nValue;
                continue;
            }
            LeaveWhole(i);
        }
        if (bEstimate)
            m_estimate[i].Add(value);
        for (int nSlot = nFirstSlot; nSlot < SLOTS; ++nSlot) {
            if (m_nHeadingRow[nSlot] >= 0)
                m_running[static_cast<size_t>(nSlot) * m_nSums + i].Add(value);
        }
    }
}

void CTotalsWalk::BuildRow(const CGridRow* pRow, int nRow, ERowKind nKind, bool bWritten)
{
    if (m_pBuild == nullptr)
        return;
    // AddRow wrote the numbers it read for the sums of the row's own kind.
    if (nKind == kindStep || nKind == kindClassify || m_bBuildFails) {
        StopBuild(nRow, nKind, m_bBuildFails);
        return;
    }
    if (nKind == kindDiscount && pRow != nullptr) {
        // A discount row's others are read for the discount totals, which add it in every
        // column.
        int64_t* pValues = m_pBuild->ValuesToBuild(nRow);
        for (size_t i = 0; i < m_nSums; ++i) {
            if (m_columns[i].eTotalMode != CEstimateColumns::ETotalMode::subtotals)
                continue;
            const std::string& text = pRow->m_strCell[m_columns[i].nCol].str();
            if (!CWholeSums::ToWhole(CNumberRules::ReadStoredNumber(text), pValues[i])) {
                StopBuild(nRow, nKind, true);
                return;
            }
        }
    }
    if (!m_pBuild->BuildRow(m_engine, nRow, nKind, bWritten))
        StopBuild(nRow, nKind, true);
}

void CTotalsWalk::StopBuild(int nRow, ERowKind nKind, bool bByNumber)
{
    m_pRowNumbers = nullptr;
    CWalkBelowTax* pKept = m_options.pBelowTax;
    if (pKept != nullptr && pKept->m_nFromRow >= 0 && pKept->m_nFromRow <= nRow && !m_bKeeping) {
        // The kept totals were built from the first tax row down, and give up here: what
        // the walks below the tax rows go on from is taken from them, the whole numbers
        // AddRow read, and kept from this row on.
        StartKeeping();
        const std::vector<ERowKind>& kinds = m_pBuild->GetKinds();
        for (int r = pKept->m_nFromRow; r < nRow; ++r) {
            const size_t nAt = static_cast<size_t>(r - pKept->m_nFromRow);
            pKept->m_kinds[nAt] = kinds[static_cast<size_t>(r)];
            const int64_t* pValues = m_pBuild->GetValues(r);
            for (size_t i = 0; i < m_nSums; ++i)
                pKept->m_numbers[nAt * m_nSums + i] = static_cast<double>(pValues[i]);
        }
        if (nRow < m_engine.GetUsedRows()) {
            KeepRow(nRow, nKind);
            std::copy(m_rowNumbers.begin(), m_rowNumbers.end(), m_pRowNumbers);
            m_pRowNumbers = nullptr;
        }
    }
    m_pBuild->StopBuild(m_engine, bByNumber);
    m_pBuild = nullptr;
    m_pBuildValues = nullptr;
}

void CTotalsWalk::StartBuildRow(int nRow)
{
    m_pBuildValues = m_pBuild != nullptr ? m_pBuild->ValuesToBuild(nRow) : nullptr;
    m_bBuildFails = false;
}

void CTotalsWalk::WaitForTheTax()
{
    for (bool& bWaits : m_bWaitsForTax)
        bWaits = true;
}

bool CTotalsWalk::WriteTotal(int nRow, ERowKind nKind)
{
    if (IsDiscountTotalKind(nKind)) {
        // (It adds discount rows alone, which no tax row is.)
        const ETotalLevel nLevel = LevelOfDiscountTotalKind(nKind);
        m_engine.SetDiscountLevel(nLevel);
        m_engine.MakeTotalRow(nRow, CEstimateEngine::levelDiscount, m_nHeadingRow[SlotOf(nLevel)]);
        return true;
    }
    const int nSlot = SlotOf(LevelOfTotalKind(nKind));
    if (!m_engine.IsValidRow(nRow))
        return true;
    if (m_pBuild != nullptr && m_bWaitsForTax[nSlot])
        return false;
    // A total adds no rows without a heading of its level above it (the nearest one may be
    // marked non-calculated) or with nothing between the heading and itself.
    const int nHeading = m_nHeadingRow[nSlot];
    const bool bRange = nSlot == slotGrand ? nRow > 0
                                           : nHeading >= 0 && nHeading + 1 <= nRow - 1 &&
                                                 m_engine.EditKind(nHeading) == HeadingOfTotalKind(nKind);
    if (!bRange) {
        m_engine.WriteTotalWithoutRows(nRow);
        return true;
    }
    if constexpr (kChecksOn)
        MORVEL_CHECK(nSlot == slotGrand || IsOneSection(nHeading, nRow, nSlot),
                     "a total adds the rows of its heading's section alone");
    for (size_t i = 0; i < m_nSums; ++i)
        m_sums[i].sum = SlotSum(nSlot, i);
    m_engine.WriteTotalRow(nRow, m_sums);
    return true;
}

bool CTotalsWalk::IsOneSection(int nHeading, int nRow, int nSlot) const
{
    for (int r = nHeading + 1; r < nRow; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (IsSectionStartKind(nKind) && SlotOf(LevelOfHeadingKind(SectionHeadingKindOf(nKind))) == nSlot)
            return false;
    }
    return true;
}

void CTotalsWalk::KeepSumsAt(int nRow)
{
    CWalkBelowTax& kept = *m_options.pBelowTax;
    kept.m_nFromRow = nRow;
    kept.m_whole = m_whole;
    kept.m_running = m_running;
    kept.m_estimate = m_estimate;
    std::copy(std::begin(m_nHeadingRow), std::end(m_nHeadingRow), std::begin(kept.m_nHeadingRow));
}

void CTotalsWalk::StartKeeping()
{
    CWalkBelowTax& kept = *m_options.pBelowTax;
    const size_t nRows = static_cast<size_t>(std::max(0, m_engine.GetUsedRows() - kept.m_nFromRow));
    kept.m_kinds.assign(nRows, kindEmpty);
    kept.m_numbers.assign(nRows * m_nSums, 0.0);
    m_bKeeping = true;
}

void CTotalsWalk::KeepRow(int nRow, ERowKind nKind)
{
    CWalkBelowTax& kept = *m_options.pBelowTax;
    const size_t nAt = static_cast<size_t>(nRow - kept.m_nFromRow);
    kept.m_kinds[nAt] = nKind;
    m_pRowNumbers = kept.m_numbers.data() + nAt * m_nSums;
}

void CTotalsWalk::GoOnBelowTheTax(CWalkBelowTax& kept)
{
    m_whole = kept.m_whole;
    m_running = kept.m_running;
    m_estimate = kept.m_estimate;
    std::copy(std::begin(kept.m_nHeadingRow), std::end(kept.m_nHeadingRow), std::begin(m_nHeadingRow));
    const CGridRowArray& rows = m_engine.Rows();
    const int nLast = m_engine.GetUsedRows() - 1;
    for (int r = kept.m_nFromRow; r <= nLast; ++r) {
        const size_t nAt = static_cast<size_t>(r - kept.m_nFromRow);
        const ERowKind nKind = kept.m_kinds[nAt];
        // The tax row above the walk's first row was given its tax since; the step and
        // classification rows from there down were made again.
        bool bWritten =
            r == m_nFromRow - 1 || (r >= m_nFromRow && (nKind == kindStep || nKind == kindClassify));
        if (r >= m_nFromRow && (IsDiscountTotalKind(nKind) || IsTotalKind(nKind))) {
            WriteTotal(r, nKind);
            bWritten = true;
        } else if (m_options.pTax != nullptr && r >= m_nFromRow && nKind == kindFree) {
            m_engine.WriteTaxRow(r, *m_options.pTax);
            bWritten = true;
        }
        if (IsSectionStartKind(nKind)) {
            const int nSlot = SlotOf(LevelOfHeadingKind(SectionHeadingKindOf(nKind)));
            m_nHeadingRow[nSlot] = r;
            StartSlot(nSlot);
            continue;
        }
        double* pNumbers = kept.m_numbers.data() + nAt * m_nSums;
        if (bWritten) {
            // Read back, as the walk reads back the totals it writes, and kept for the
            // walks after this one.
            m_pRowNumbers = pNumbers;
            AddRow(rows.GetRow(r), r, nKind, 0);
            m_pRowNumbers = nullptr;
        } else {
            AddKeptRow(r, nKind, pNumbers);
        }
    }
    m_bFromTheTop = true;
}

void CTotalsWalk::Run()
{
    // A walk below a tax row, building no kept totals, reads only the rows written since the
    // first walk.
    if (m_options.pBelowTax != nullptr && m_pBuild == nullptr && m_bWhole && !m_bCalcRows &&
        m_options.pBelowTax->CanGoOn(m_nFromRow, m_engine.GetUsedRows())) {
        GoOnBelowTheTax(*m_options.pBelowTax);
        return;
    }
    const int nLast = m_engine.GetUsedRows() - 1;
    const int nLevelStart = FindLevelStart();
    int r = m_bWhole || m_bCalcRows ? 0 : nLevelStart;
    m_bFromTheTop = r == 0;
    m_nRowsWalked += static_cast<unsigned long long>(std::max(0, nLast + 1 - r));
    const CGridRowArray& rows = m_engine.Rows();
    // The totals above the walk's first row that this recalculation wrote before it.
    const int nFreshFrom = m_options.nFreshFrom >= 0 ? m_options.nFreshFrom : m_nFromRow;
    // The rows' remembered numbers are not read (the engine's store holds them).
    auto prefetch = [&](int nRow) { m_engine.PrefetchRow(nRow, m_nFirstCell, m_nLastCell, 0, -1); };
    for (; r < nLevelStart; ++r) {
        prefetch(r + CEstimateEngine::ROW_PREFETCH_DISTANCE);
        if (m_bCalcRows)
            CalcRow(r);
        const CGridRow* pRow = rows.GetRow(r);
        const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
        StartBuildRow(r);
        if (pRow != nullptr)
            AddRow(pRow, r, nKind, slotGrand);
        BuildRow(pRow, r, nKind, r >= nFreshFrom);
    }
    // From the first tax row down the walk keeps what the walks after it go on from, unless
    // it builds the kept totals (they write the rows below the tax row themselves).
    const int nKeepFrom = m_options.pBelowTax != nullptr && !m_options.pBelowTax->IsKept()
                              ? std::max(r, m_options.nKeepFrom)
                              : INT_MAX;
    for (; r <= nLast; ++r) {
        prefetch(r + CEstimateEngine::ROW_PREFETCH_DISTANCE);
        if (r == nKeepFrom) {
            // While the kept totals are built, they keep the rows (StopBuild).
            KeepSumsAt(r);
            if (m_pBuild == nullptr)
                StartKeeping();
        }
        m_bFresh = false;
        const CGridRow* pRow = rows.GetRow(r);
        const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
        // A total row works out its formulas on the sums it is given (WriteTotalRow), here,
        // by the kept totals or by the walk below the tax row: worked out before, they would
        // come out the same.
        if (m_bCalcRows && !(m_bTotalsWorkOutOnSums && (IsTotalKind(nKind) || IsDiscountTotalKind(nKind))))
            CalcRow(r);
        if (m_bKeeping)
            KeepRow(r, nKind);
        bool bWritten = r >= nFreshFrom && r < m_nFromRow;
        if (r >= m_nFromRow && (r < m_options.nWriteEnd || m_pBuild != nullptr) &&
            (IsDiscountTotalKind(nKind) || IsTotalKind(nKind))) {
            // The walk writes this row's totals after CalcRow: its numbers are read again.
            m_bFresh = false;
            bWritten = WriteTotal(r, nKind);
        } else if (m_options.pTax != nullptr && r >= m_nFromRow && nKind == kindFree) {
            m_bFresh = false;
            m_engine.WriteTaxRow(r, *m_options.pTax);
        }
        if (IsSectionStartKind(nKind)) {
            const int nSlot = SlotOf(LevelOfHeadingKind(SectionHeadingKindOf(nKind)));
            m_nHeadingRow[nSlot] = r;
            StartSlot(nSlot);
            BuildRow(pRow, r, nKind, true);
            continue; // a heading adds nothing
        }
        StartBuildRow(r);
        AddRow(pRow, r, nKind, 0);
        // The tax rows the kept totals write move with the tax, and so do the totals left to
        // them, which the columns that add subtotals add.
        if (m_pBuild != nullptr &&
            ((nKind == kindFree && r >= m_options.nKeepFrom && m_options.pTax == nullptr) ||
             (m_bAnyBySubtotals && !bWritten && r >= m_nFromRow && IsTotalKind(nKind))))
            WaitForTheTax();
        BuildRow(pRow, r, nKind, bWritten);
    }
    m_pRowNumbers = nullptr;
    // Built to the end, the kept totals write the rows below the tax row: nothing is kept.
    if (m_pBuild != nullptr && m_options.pBelowTax != nullptr && nKeepFrom <= nLast)
        *m_options.pBelowTax = CWalkBelowTax();
    if (m_pBuild != nullptr && !m_pBuild->EndBuild(m_engine)) {
        StopBuild(nLast + 1, kindEmpty, true);
    } else if (m_pBuild != nullptr && m_options.nKeepFrom > nLast) {
        // No tax row is left to the kept totals: they hold the rows as the walk leaves them.
        if constexpr (kChecksOn)
            MORVEL_CHECK(m_engine.KeptSumsMatchTheRows(),
                         "the kept sums are those of the rows the walk read");
    }
}

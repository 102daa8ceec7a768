#include "engine/estimate/CTotalsWalk.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"

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
      m_bCalcRows(engine.m_bCalcRowsInWalk)
{
    engine.GetTotalColumns(m_columns);
    m_nSums = m_columns.size();
    m_sums = m_columns;
    m_whole.resize(m_nSums);
    m_running.resize(SLOTS * m_nSums);
    m_estimate.resize(m_nSums);
    m_bStore = !m_bCalcRows && options.bStore;
    const size_t nEntries = static_cast<size_t>(std::max(engine.m_nUsedRows, 0)) * m_nSums;
    if (m_bStore && engine.m_walkNumbers.size() < nEntries)
        engine.m_walkNumbers.resize(nEntries);
    // A walk that reads every row from the first records them for the sums kept per total.
    m_bRecord =
        engine.m_bKeepInWalk && (bWhole || m_bCalcRows) && engine.m_kept.StartRecord(engine, m_record);
    engine.m_bKeepInWalk = false;
    m_rowNumbers.resize(m_bRecord ? m_nSums : 0);
    m_pRowNumbers = m_bRecord ? m_rowNumbers.data() : nullptr;
    ChoosePrefetchCells();
}

int CTotalsWalk::FindLevelStart() const
{
    // A heading level's sum starts at the last heading of its kind above nFromRow at the
    // earliest; the rows above all of those count for the grand total alone.
    int nLevelStart = m_nFromRow;
    bool bSeen[slotGrand] = {false, false, false, false};
    int nToSee = slotGrand;
    for (int r = std::min(m_nFromRow, m_engine.m_nUsedRows - 1); r >= 0 && nToSee > 0; --r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (IsHeadingKind(nKind) && !bSeen[SlotOf(LevelOfHeadingKind(nKind))]) {
            bSeen[SlotOf(LevelOfHeadingKind(nKind))] = true;
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
    const CEstimateColumns& columns = m_engine.m_columns;
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
    const unsigned nStamp = m_engine.m_nRowValueStamp;
    m_engine.m_bRememberInRows = false;
    m_engine.CalcRow(nRow, 0);
    m_engine.m_bRememberInRows = true;
    m_bFresh = m_engine.m_nRowValueStamp != nStamp;
}

// (Inline: read for every summed cell of the walk.)
__attribute__((always_inline)) inline double CTotalsWalk::ReadNumber(const CGridRow* pRow, int nRow, size_t i)
{
    const int nCol = m_columns[i].nCol;
    const std::string& text = pRow->m_strCell[nCol].str();
    if (m_bFresh) {
        const size_t nAt = static_cast<size_t>(nCol);
        if (m_engine.m_rowValueStamps[nAt] == m_engine.m_nRowValueStamp &&
            !std::isnan(m_engine.m_rowValues[nAt]))
            return m_engine.m_rowValues[nAt];
    }
    if (!m_bStore)
        return CNumberRules::ReadNumber(text.data(), text.data() + text.size());
    CRememberedNumber& entry = m_engine.m_walkNumbers[static_cast<size_t>(nRow) * m_nSums + i];
    if (entry.Matches(nCol, text))
        return entry.value;
    const double value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
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
        if (w.bWhole) {
            int64_t nValue = 0;
            if (CWholeSums::ToWhole(value, nValue) && w.budget.Take(nValue)) {
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

void CTotalsWalk::RecordRow(const CGridRow* pRow, int nRow, ERowKind nKind)
{
    if (!m_bRecord)
        return;
    if (nKind == kindStep || nKind == kindClassify) {
        StopRecord(nRow, nKind, false);
        return;
    }
    m_record.pKinds[nRow] = nKind;
    if (pRow == nullptr || !(IsLeafKind(nKind) || IsSubtotalKind(nKind)))
        return;
    const bool bLeaf = IsLeafKind(nKind);
    int64_t* pValues =
        m_record.pValues + static_cast<size_t>(nRow) * m_record.nSums; // no sums: an empty table
    for (size_t i = 0; i < m_record.nSums; ++i) {
        // The numbers AddRow read for the sums of the row's own kind; a discount row's
        // others are read for the discount totals, which add it in every column.
        double value = 0.0;
        if (!m_record.pBySubtotals[i] ? bLeaf : !bLeaf) {
            value = m_rowNumbers[i];
        } else if (nKind == kindDiscount) {
            const std::string& text = pRow->m_strCell[m_record.pColumns[i]].str();
            value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
        }
        if (!CWholeSums::ToWhole(value, pValues[i])) {
            StopRecord(nRow, nKind, true);
            return;
        }
    }
}

void CTotalsWalk::StopRecord(int nRow, ERowKind nKind, bool bByNumber)
{
    m_pRowNumbers = nullptr;
    CWalkBelowTax* pKept = m_options.pBelowTax;
    if (pKept != nullptr && pKept->m_nFromRow >= 0 && pKept->m_nFromRow <= nRow && !m_bKeeping) {
        // The rows from the first tax row were recorded for the kept sums, which give up
        // here: what the walks below the tax rows go on from is taken from the record, the
        // whole numbers AddRow read, and kept from this row on.
        StartKeeping();
        for (int r = pKept->m_nFromRow; r < nRow; ++r) {
            const size_t nAt = static_cast<size_t>(r - pKept->m_nFromRow);
            pKept->m_kinds[nAt] = m_record.pKinds[r];
            for (size_t i = 0; i < m_nSums; ++i)
                pKept->m_numbers[nAt * m_nSums + i] =
                    static_cast<double>(m_record.pValues[static_cast<size_t>(r) * m_record.nSums + i]);
        }
        KeepRow(nRow, nKind);
        std::copy(m_rowNumbers.begin(), m_rowNumbers.end(), m_pRowNumbers);
        m_pRowNumbers = nullptr;
    }
    m_engine.m_kept.StopRecord(m_engine, bByNumber);
    m_bRecord = false;
}

void CTotalsWalk::WriteTotal(int nRow, ERowKind nKind)
{
    if (IsDiscountTotalKind(nKind)) {
        m_engine.m_nDiscountLevel = LevelOfDiscountTotalKind(nKind);
        m_engine.MakeTotalRow(nRow, CEstimateEngine::levelDiscount,
                              m_nHeadingRow[SlotOf(m_engine.m_nDiscountLevel)]);
        return;
    }
    const int nSlot = SlotOf(LevelOfTotalKind(nKind));
    // MakeTotalRow leaves a total alone that has no heading of its level above it or
    // nothing between the heading and itself.
    const int nHeading = m_nHeadingRow[nSlot];
    const bool bRange = nSlot == slotGrand ? nRow > 0 : nHeading >= 0 && nHeading + 1 <= nRow - 1;
    if (!bRange || !m_engine.IsValidRow(nRow))
        return;
    for (size_t i = 0; i < m_nSums; ++i)
        m_sums[i].sum = SlotSum(nSlot, i);
    m_engine.WriteTotalRow(nRow, m_sums);
}

void CTotalsWalk::TakeWalkedAmounts(bool bFromTheTop)
{
    m_engine.m_walkedAmounts.clear();
    for (size_t i = 0; i < m_nSums; ++i) {
        if (m_columns[i].eTotalMode == CEstimateEngine::ETotalMode::leafRows)
            m_engine.m_walkedAmounts.emplace_back(
                m_columns[i].nCol,
                m_whole[i].bWhole ? CWholeSums::Compensated(m_whole[i].nEstimate) : m_estimate[i]);
    }
    m_engine.m_bWalkedAmounts = bFromTheTop;
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
    const size_t nRows = static_cast<size_t>(std::max(0, m_engine.m_nUsedRows - kept.m_nFromRow));
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
    const CGridRowArray& rows = m_engine.m_rows;
    const int nLast = m_engine.m_nUsedRows - 1;
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
            m_engine.StoreTaxRow(r, *m_options.pTax);
            m_engine.m_sheet.RowsWritten(r, r);
            bWritten = true;
        }
        if (IsHeadingKind(nKind)) {
            const int nSlot = SlotOf(LevelOfHeadingKind(nKind));
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
    TakeWalkedAmounts(true);
}

void CTotalsWalk::Run()
{
    // A walk below a tax row, recording no rows for the kept sums, reads only the rows
    // written since the first walk.
    if (m_options.pBelowTax != nullptr && !m_bRecord && m_bWhole && !m_bCalcRows &&
        m_options.pBelowTax->CanGoOn(m_nFromRow, m_engine.m_nUsedRows)) {
        GoOnBelowTheTax(*m_options.pBelowTax);
        return;
    }
    const int nLast = m_engine.m_nUsedRows - 1;
    const int nLevelStart = FindLevelStart();
    int r = m_bWhole || m_bCalcRows ? 0 : nLevelStart;
    const bool bFromTheTop = r == 0;
    m_engine.m_nRowsWalked += static_cast<unsigned long long>(std::max(0, nLast + 1 - r));
    const CGridRowArray& rows = m_engine.m_rows;
    // The rows' remembered numbers are not read (the engine's store holds them).
    auto prefetch = [&](int nRow) { m_engine.PrefetchRow(nRow, m_nFirstCell, m_nLastCell, 0, -1); };
    for (; r < nLevelStart; ++r) {
        prefetch(r + CEstimateEngine::ROW_PREFETCH_DISTANCE);
        if (m_bCalcRows)
            CalcRow(r);
        const CGridRow* pRow = rows.GetRow(r);
        if (pRow != nullptr)
            AddRow(pRow, r, pRow->GetKind(), slotGrand);
        RecordRow(pRow, r, pRow != nullptr ? pRow->GetKind() : kindEmpty);
    }
    // From the first tax row down the walk keeps what the walks after it go on from, unless
    // the kept sums are recorded (they finish the rows below the tax row themselves).
    const int nKeepFrom = m_options.pBelowTax != nullptr && !m_options.pBelowTax->IsKept()
                              ? std::max(r, m_options.nKeepFrom)
                              : INT_MAX;
    for (; r <= nLast; ++r) {
        prefetch(r + CEstimateEngine::ROW_PREFETCH_DISTANCE);
        if (r == nKeepFrom) {
            // While the rows are recorded, the record keeps them (StopRecord).
            KeepSumsAt(r);
            if (!m_bRecord)
                StartKeeping();
        }
        m_bFresh = false;
        if (m_bCalcRows)
            CalcRow(r);
        const CGridRow* pRow = rows.GetRow(r);
        const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
        if (m_bKeeping)
            KeepRow(r, nKind);
        if (r >= m_nFromRow && r < m_options.nWriteEnd &&
            (IsDiscountTotalKind(nKind) || IsTotalKind(nKind))) {
            // The walk writes this row's totals after CalcRow: its numbers are read again.
            m_bFresh = false;
            WriteTotal(r, nKind);
        } else if (m_options.pTax != nullptr && r >= m_nFromRow && nKind == kindFree) {
            m_bFresh = false;
            m_engine.StoreTaxRow(r, *m_options.pTax);
            m_engine.m_sheet.RowsWritten(r, r);
        }
        if (IsHeadingKind(nKind)) {
            const int nSlot = SlotOf(LevelOfHeadingKind(nKind));
            m_nHeadingRow[nSlot] = r;
            StartSlot(nSlot);
            RecordRow(pRow, r, nKind);
            continue; // a heading adds nothing
        }
        AddRow(pRow, r, nKind, 0);
        RecordRow(pRow, r, nKind);
    }
    m_pRowNumbers = nullptr;
    // Recorded to the end, the kept sums finish the rows below the tax row: nothing is kept.
    if (m_bRecord && m_options.pBelowTax != nullptr && nKeepFrom <= nLast)
        *m_options.pBelowTax = CWalkBelowTax();
    if (m_bRecord)
        m_engine.m_kept.EndRecord(m_engine, m_options.nFreshFrom >= 0 ? m_options.nFreshFrom : m_nFromRow,
                                  m_options.nWriteEnd);
    m_engine.m_bCalcRowsInWalk = false;
    TakeWalkedAmounts(bFromTheTop);
}

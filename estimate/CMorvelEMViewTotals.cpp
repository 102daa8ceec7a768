// Totals of the estimate view: subtotals, the grand total and discount totals, and the
// recalculation that refreshes every computed row from a given row down.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "estimate/engine/CCompensatedSum.h"
#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CNumberRules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

void CMorvelEMView::PrefetchRow(int nRow, int nFirstCell, int nLastCell, int nFirstNumber,
                                int nLastNumber) const
{
    if (nRow < m_nUsedRows) {
        if (const CGridRow* pRow = m_EditRows.GetRow(nRow))
            pRow->Prefetch(nFirstCell, nLastCell, nFirstNumber, nLastNumber);
    }
}

bool CMorvelEMView::TakeWalkedAmount(int nCol, bool bExcludeFree, double& amount) const
{
    if (!m_bWalkedAmounts || !bExcludeFree)
        return false;
    for (const auto& [nSumCol, sum] : m_walkedAmounts) {
        if (nSumCol == nCol) {
            amount = sum.Get();
            return true;
        }
    }
    return false;
}

void CMorvelEMView::MakeTotalRow(int nRow, int nLevel, int nLastHeading)
{
    if (!IsValidRow(nRow))
        return;
    CColumnBatch batch(*this);
    const int nNameCol = FindNameColumn();
    const CString strName = EditCell(nRow, nNameCol);
    const int nDiscountLevel = m_nDiscountLevel;

    int nStart = 0;
    int nTotalKind = 0;
    if (nLevel == levelGrand) {
        nTotalKind = kindGrandTotal;
    } else if (nLevel == levelDiscount) {
        // Only the levels the discount-total choice offers make a discount total.
        if (nDiscountLevel != levelLarge && nDiscountLevel != levelMiddle && nDiscountLevel != levelSmall &&
            nDiscountLevel != levelGrand && nDiscountLevel != levelKind)
            return;
        nTotalKind = DiscountTotalKindOf(nDiscountLevel);
        if (nDiscountLevel != levelGrand) {
            // An existing discount total finds its heading again by the name in its label.
            const bool bExisting = EditKind(nRow) == nTotalKind;
            // No heading of the level lies between the last one and nRow: the search
            // would pass the rows between without stopping.
            int r = nLastHeading >= 0 && nLastHeading < nRow && EditKind(nLastHeading) == nDiscountLevel
                        ? nLastHeading
                        : nRow - 1;
            for (; r >= 0; --r) {
                if (EditKind(r) != nDiscountLevel)
                    continue;
                if (!bExisting || strName.Find(EditCell(r, nNameCol)) >= 0)
                    break;
            }
            if (r < 0)
                return;
            nStart = r + 1;
        }
    } else if (nLevel == levelLarge || nLevel == levelMiddle || nLevel == levelSmall || nLevel == levelKind) {
        nTotalKind = TotalKindOf(nLevel);
        int r = nRow - 1;
        while (r >= 0 && EditKind(r) != nLevel)
            --r;
        if (r < 0)
            return;
        nStart = r + 1;
    } else {
        return;
    }
    const int nEnd = nRow - 1;
    if (nEnd < nStart)
        return;

    if (EditKind(nRow) != nTotalKind) {
        CString strLabel;
        if (nLevel == levelGrand)
            strLabel = "【 総  合  計 】"_sj;
        else if (nLevel == levelDiscount && nDiscountLevel == levelGrand)
            strLabel = "値引 総 合 計"_sj;
        else if (nLevel == levelDiscount)
            strLabel = EditCell(nStart - 1, nNameCol) + "値引合計"_sj;
        else
            strLabel = EditCell(nStart - 1, nNameCol) + " 小  計"_sj;
        SetRowKind(nTotalKind, nRow);
        if (nLevel == levelDiscount)
            SetRowParam1(nDiscountLevel, nRow);
        SetCellText(strLabel, nRow, nNameCol, TRUE);
        SetCellIndent(FindNameIndent(nRow, kindLarge, nNameCol), nRow, nNameCol);
    }
    if (nStart > 0)
        --nStart; // the heading row lies in the range; its kind is never added

    // The summed columns are added up in one walk over the range; the rows added lie above
    // the total row, so nothing written to it below changes a sum.
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    if (!sums.empty()) {
        for (int r = nStart; r <= nEnd; ++r) {
            const int nKind = EditKind(r);
            const bool bDiscount = nKind == kindDiscount;
            const bool bLeaf = IsLeafKind(nKind);
            const bool bSubtotal = IsSubtotalKind(nKind);
            for (size_t i = 0; i < sums.size(); ++i) {
                bool bAdd;
                if (nLevel == levelDiscount)
                    bAdd = bDiscount;
                else if (sums[i].eTotalMode == ETotalMode::leafRows)
                    bAdd = bLeaf;
                else
                    bAdd = bSubtotal;
                if (bAdd)
                    sums[i].sum.Add(CellValue(r, sums[i].nCol));
            }
        }
    }
    WriteTotalRow(nRow, sums);
}

void CMorvelEMView::GetTotalColumns(std::vector<CTotalColumn>& columns) const
{
    columns.clear();
    const int nColumns = GetColumnLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        const CColumnInfo& info = GetColumnInfo(nCol);
        if (!info.bTotalByFormula && !info.strV.IsEmpty() &&
            (info.eTotalMode == ETotalMode::leafRows || info.eTotalMode == ETotalMode::subtotals))
            columns.push_back(CTotalColumn{nCol, info.eTotalMode, CCompensatedSum()});
    }
}

void CMorvelEMView::WriteTotalRow(int nRow, const std::vector<CTotalColumn>& sums)
{
    // Written in column order: a formula column of the total row works on the totals left of it.
    auto itSum = sums.begin();
    const int nColumns = GetColumnLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        if (GetColumnInfo(nCol).bTotalByFormula) {
            CalcRow(nRow, nCol);
        } else if (itSum != sums.end() && itSum->nCol == nCol) {
            StoreNumber(nRow, nCol, itSum->sum.Get());
            ++itSum;
        }
    }
    InvalidateRows(nRow, nRow);
}

// The totals of the heading levels and the grand total from nFromRow down, in one walk from
// the top. A total of a heading level adds the rows from the nearest heading of its kind
// above it, the grand total every row above it; both in row order, as MakeTotalRow does. So
// each level keeps one running sum per summed column, started again at each heading of its
// kind, and every row is read once however many totals lie above it. A total row is written
// before it is added to the higher levels, and rows are only read above the row being
// written, so the results are those of MakeTotalRow called row by row. Discount totals
// (few, and found by name) are made by MakeTotalRow in their place in the walk.
void CMorvelEMView::RecalcTotalRows(int nFromRow, bool bAny, bool bWhole)
{
    m_bWalkedAmounts = false;
    const int nLast = m_nUsedRows - 1;
    if (!bAny) {
        if (m_bCalcRowsInWalk)
            CalcRowsFirst();
        return;
    }
    std::vector<CTotalColumn> columns;
    GetTotalColumns(columns);
    const size_t nSums = columns.size();
    // Running sums: the four heading levels, then the grand total.
    enum { slotKind, slotLarge, slotMiddle, slotSmall, slotGrand, slotCount };
    auto slotOf = [](int nLevel) {
        switch (nLevel) {
        case levelKind:
            return slotKind;
        case levelLarge:
            return slotLarge;
        case levelMiddle:
            return slotMiddle;
        case levelSmall:
            return slotSmall;
        default:
            return slotGrand;
        }
    };
    std::vector<CCompensatedSum> running(slotCount * nSums);
    // Beside the totals, the leaf rows other than free rows of every column summed over
    // leaf rows, for the tax (SumEstimateAmount adds the same rows in the same order).
    std::vector<CCompensatedSum> estimate(nSums);
    int nHeadingRow[slotCount] = {-1, -1, -1, -1, 0};
    std::vector<CTotalColumn> sums = columns;
    // Amounts are mostly whole numbers. While a column adds only whole numbers and its sums
    // stay within 2^52, every compensated addition is exact and carries nothing, so the
    // column keeps one 64-bit sum of everything added (every number read goes to the grand
    // total and to each level whose heading has been seen) and, per level, that sum where
    // the level's heading started it again: a level's sum is the difference, exact. A
    // number that is no whole number, or a sum growing past 2^52, turns the column's sums
    // into the compensated ones they stand for, and the walk goes on with those.
    constexpr double kExactLimit = 4503599627370496.0; // 2^52
    constexpr int64_t kWholeLimit = int64_t{1} << 52;
    struct CWholeSums {
        bool bWhole = true;
        int64_t nAll = 0;               // every number added
        int64_t nEstimate = 0;          // the leaf rows other than free rows
        int64_t nStart[slotCount] = {}; // nAll where each level's sum started
    };
    std::vector<CWholeSums> whole(nSums);
    auto leaveWhole = [&](size_t i) {
        CWholeSums& w = whole[i];
        for (int nSlot = 0; nSlot < slotCount; ++nSlot)
            running[static_cast<size_t>(nSlot) * nSums + i] =
                CCompensatedSum::OfExact(static_cast<double>(w.nAll - w.nStart[nSlot]));
        estimate[i] = CCompensatedSum::OfExact(static_cast<double>(w.nEstimate));
        w.bWhole = false;
    };
    auto startSlot = [&](int nSlot) {
        for (size_t i = 0; i < nSums; ++i) {
            if (whole[i].bWhole)
                whole[i].nStart[nSlot] = whole[i].nAll;
            else
                running[static_cast<size_t>(nSlot) * nSums + i] = CCompensatedSum();
        }
    };
    auto slotSum = [&](int nSlot, size_t i) {
        const CWholeSums& w = whole[i];
        return w.bWhole ? CCompensatedSum::OfExact(static_cast<double>(w.nAll - w.nStart[nSlot]))
                        : running[static_cast<size_t>(nSlot) * nSums + i];
    };
    // The summed columns are columns of the form, so a row's numbers are read from it
    // directly (CellValue's checks aside), through m_walkNumbers. A walk that works out the
    // rows (a full recalculation) leaves that store alone: a row it has just worked out
    // (bFresh) gives the numbers of its formula results as CalcRow kept them, without
    // reading them, and the totals it writes are read from their new texts; writing the
    // store would cost it more than a fifth of its time, for the walks after it, which the
    // kept totals mostly spare.
    bool bFresh = false;
    const bool bStore = !m_bCalcRowsInWalk;
    if (bStore && m_walkNumbers.size() < static_cast<size_t>(std::max(m_nUsedRows, 0)) * nSums)
        m_walkNumbers.resize(static_cast<size_t>(m_nUsedRows) * nSums);
    auto readNumber = [&](const CGridRow* pRow, int nRow, size_t i) {
        const int nCol = columns[i].nCol;
        const std::string& text = pRow->m_strCell[nCol].str();
        if (bFresh) {
            const size_t nAt = static_cast<size_t>(nCol);
            if (m_rowValueStamps[nAt] == m_nRowValueStamp && !std::isnan(m_rowValues[nAt]))
                return m_rowValues[nAt];
        }
        if (!bStore)
            return CNumberRules::ReadNumber(text.data(), text.data() + text.size());
        CRememberedNumber& entry = m_walkNumbers[static_cast<size_t>(nRow) * nSums + i];
        if (entry.Matches(nCol, text))
            return entry.value;
        const double value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
        entry.Set(nCol, text, value);
        return value;
    };
    // A walk that reads every row from the first records, for the sums kept per total, each
    // row's kind and the numbers addRow reads (rowNumbers), with the discount rows' others;
    // the sums are made from them at the next edit (RecalcKeptTotals).
    bool bKeep = m_bKeepInWalk && (bWhole || m_bCalcRowsInWalk) && StartKeepingRows();
    m_bKeepInWalk = false;
    std::vector<double> rowNumbers(bKeep ? nSums : 0);
    auto keepRow = [&](const CGridRow* pRow, int nRow, int nKind) {
        if (nKind == kindStep || nKind == kindClassify) {
            BlockKeptTotals(false);
            bKeep = false;
            return;
        }
        m_kept.kinds[static_cast<size_t>(nRow)] = nKind;
        if (pRow == nullptr || !(IsLeafKind(nKind) || IsSubtotalKind(nKind)))
            return;
        const bool bLeaf = IsLeafKind(nKind);
        int64_t* pValues = m_kept.values.data() + static_cast<size_t>(nRow) * nSums; // no sums: an empty table
        for (size_t i = 0; i < nSums; ++i) {
            double value = 0.0;
            if (columns[i].eTotalMode == ETotalMode::leafRows ? bLeaf : !bLeaf) {
                value = rowNumbers[i];
            } else if (nKind == kindDiscount) {
                const std::string& text = pRow->m_strCell[columns[i].nCol].str();
                value = CNumberRules::ReadNumber(text.data(), text.data() + text.size());
            }
            if (!ToKeptNumber(value, pValues[i])) {
                BlockKeptTotals(true);
                bKeep = false;
                return;
            }
        }
    };
    auto addRow = [&](const CGridRow* pRow, int nRow, int nKind, int nFirstSlot) {
        const bool bLeaf = IsLeafKind(nKind);
        const bool bSubtotal = IsSubtotalKind(nKind);
        if (!bLeaf && !bSubtotal)
            return;
        const bool bEstimate = bLeaf && nKind != kindFree;
        for (size_t i = 0; i < nSums; ++i) {
            if (!(columns[i].eTotalMode == ETotalMode::leafRows ? bLeaf : bSubtotal))
                continue;
            const double value = pRow != nullptr ? readNumber(pRow, nRow, i) : 0.0;
            if (bKeep)
                rowNumbers[i] = value;
            CWholeSums& w = whole[i];
            if (w.bWhole) {
                if (std::fabs(value) <= kExactLimit) {
                    const int64_t nValue = static_cast<int64_t>(value);
                    if (static_cast<double>(nValue) == value) {
                        const int64_t nAll = w.nAll + nValue;
                        const int64_t nEstimate = bEstimate ? w.nEstimate + nValue : w.nEstimate;
                        if (nAll <= kWholeLimit && nAll >= -kWholeLimit && nEstimate <= kWholeLimit &&
                            nEstimate >= -kWholeLimit) {
                            w.nAll = nAll;
                            w.nEstimate = nEstimate;
                            continue;
                        }
                    }
                }
                leaveWhole(i);
            }
            if (bEstimate)
                estimate[i].Add(value);
            for (int nSlot = nFirstSlot; nSlot < slotCount; ++nSlot) {
                if (nHeadingRow[nSlot] >= 0)
                    running[static_cast<size_t>(nSlot) * nSums + i].Add(value);
            }
        }
    };
    // A heading level's sum starts at the last heading of its kind above nFromRow at the
    // earliest; the rows above all of those count for the grand total alone.
    int nLevelStart = nFromRow;
    {
        bool bSeen[slotGrand] = {false, false, false, false};
        int nToSee = slotGrand;
        for (int r = std::min(nFromRow, nLast); r >= 0 && nToSee > 0; --r) {
            const int nKind = EditKind(r);
            if (IsHeadingKind(nKind) && !bSeen[slotOf(nKind)]) {
                bSeen[slotOf(nKind)] = true;
                --nToSee;
                nLevelStart = r;
            }
        }
    }
    const int nFirstSummed = nSums > 0 ? columns.front().nCol : 0;
    const int nLastSummed = nSums > 0 ? columns.back().nCol : 0;
    const bool bCalcRows = m_bCalcRowsInWalk;
    int r = bWhole || bCalcRows ? 0 : nLevelStart;
    const bool bWalkedAmounts = r == 0;
    // Fetched ahead: the cells the walk reads, with those the row formulas read and write
    // when it works them out.
    int nFirstCell = nSums > 0 ? nFirstSummed : -1;
    int nLastCell = nSums > 0 ? nLastSummed : -2;
    // The rows' remembered numbers are not read (m_walkNumbers holds them).
    const int nFirstNumber = 0;
    const int nLastNumber = -1;
    auto widen = [](int& nFirst, int& nLast, int nCol) {
        nFirst = nFirst < 0 ? nCol : std::min(nFirst, nCol);
        nLast = std::max(nLast, nCol);
    };
    if (bCalcRows) {
        const int nColumns = GetColumnLimit();
        for (int nCol : GetFormulaColumns()) {
            widen(nFirstCell, nLastCell, nCol);
            for (int nRef : GetColumnInfo(nCol).refs) {
                if (nRef >= 0 && nRef < nColumns)
                    widen(nFirstCell, nLastCell, nRef);
            }
        }
    }
    auto prefetch = [&](int nRow) { PrefetchRow(nRow, nFirstCell, nLastCell, nFirstNumber, nLastNumber); };
    // Works out the row's formulas when the walk does; bFresh tells whether CalcRow kept
    // the row's numbers (it leaves heading and summary rows alone).
    auto calcRow = [&](int nRow) {
        const unsigned nStamp = m_nRowValueStamp;
        m_bRememberInRows = false;
        CalcRow(nRow, 0);
        m_bRememberInRows = true;
        bFresh = m_nRowValueStamp != nStamp;
    };
    for (; r < nLevelStart; ++r) {
        prefetch(r + ROW_PREFETCH_DISTANCE);
        if (bCalcRows)
            calcRow(r);
        const CGridRow* pRow = m_EditRows.GetRow(r);
        if (pRow != nullptr)
            addRow(pRow, r, pRow->GetKind(), slotGrand);
        if (bKeep)
            keepRow(pRow, r, pRow != nullptr ? pRow->GetKind() : kindEmpty);
    }
    for (; r <= nLast; ++r) {
        prefetch(r + ROW_PREFETCH_DISTANCE);
        bFresh = false;
        if (bCalcRows)
            calcRow(r);
        const CGridRow* pRow = m_EditRows.GetRow(r);
        const int nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
        if (r >= nFromRow && (IsDiscountTotalKind(nKind) || IsTotalKind(nKind))) {
            // The walk writes this row's totals after CalcRow: its numbers are read again.
            bFresh = false;
            if (IsDiscountTotalKind(nKind)) {
                m_nDiscountLevel = LevelOfDiscountTotalKind(nKind);
                MakeTotalRow(r, levelDiscount, nHeadingRow[slotOf(m_nDiscountLevel)]);
            } else if (IsTotalKind(nKind)) {
                const int nSlot = slotOf(HeadingOfTotalKind(nKind));
                // MakeTotalRow leaves a total alone that has no heading of its level above
                // it or nothing between the heading and itself.
                const int nHeading = nHeadingRow[nSlot];
                const bool bRange = nSlot == slotGrand ? r > 0 : nHeading >= 0 && nHeading + 1 <= r - 1;
                if (bRange && IsValidRow(r)) {
                    for (size_t i = 0; i < nSums; ++i)
                        sums[i].sum = slotSum(nSlot, i);
                    WriteTotalRow(r, sums);
                }
            }
        }
        if (IsHeadingKind(nKind)) {
            const int nSlot = slotOf(nKind);
            nHeadingRow[nSlot] = r;
            startSlot(nSlot);
            if (bKeep)
                keepRow(pRow, r, nKind);
            continue; // a heading adds nothing
        }
        addRow(pRow, r, nKind, 0);
        if (bKeep)
            keepRow(pRow, r, nKind);
    }
    if (bKeep) {
        m_kept.nFirstFresh = nFromRow;
        m_kept.changedRows.clear();
        m_kept.eState = CKeptTotals::stateRecorded;
        m_kept.nChanges = m_EditRows.GetChangeCount();
        m_kept.nUsedRows = m_nUsedRows;
    }
    m_bCalcRowsInWalk = false;
    m_walkedAmounts.clear();
    for (size_t i = 0; i < nSums; ++i) {
        if (columns[i].eTotalMode == ETotalMode::leafRows)
            m_walkedAmounts.emplace_back(
                columns[i].nCol, whole[i].bWhole
                                     ? CCompensatedSum::OfExact(static_cast<double>(whole[i].nEstimate))
                                     : estimate[i]);
    }
    m_bWalkedAmounts = bWalkedAmounts;
}

void CMorvelEMView::RecalcPasses(int nFromRow, int& nTaxRow)
{
    m_bWalkedAmounts = false;
    const int nLast = m_nUsedRows - 1;
    const int nTargetNameCol = FindClassifyNameColumn();
    // One look at the kinds finds the step rows, the classification rows and the first free
    // row: making a step or classification row changes that row alone, and its kind stays.
    std::vector<int> steps, classifies;
    nTaxRow = -1;
    // Whether there is a total to make, and whether the sums of the whole estimate are
    // wanted: by a grand total, or by a free row (the tax takes the estimate's amount from
    // the walk). Without them the walk does not read the rows above every heading level's
    // start (a total added at the end of a growing estimate reads its own headings' rows,
    // not the whole estimate above it).
    bool bAnyTotal = false;
    bool bGrandTotal = false;
    for (int r = nFromRow; r <= nLast; ++r) {
        // The kinds lie a row's size apart: asked for well ahead, many arrive at once.
        if (r + KIND_PREFETCH_DISTANCE <= nLast) {
            if (const CGridRow* pAhead = m_EditRows.GetRow(r + KIND_PREFETCH_DISTANCE))
                pAhead->PrefetchKind();
        }
        const CGridRow* pRow = m_EditRows.GetRow(r);
        if (pRow == nullptr)
            continue;
        if (pRow->GetKind() == kindStep)
            steps.push_back(r);
        else if (pRow->GetKind() == kindClassify)
            classifies.push_back(r);
        else if (pRow->GetKind() == kindFree && nTaxRow < 0)
            nTaxRow = r;
        else if (IsTotalKind(pRow->GetKind()) || IsDiscountTotalKind(pRow->GetKind()))
            bAnyTotal = true;
        bGrandTotal = bGrandTotal || pRow->GetKind() == kindGrandTotal;
    }
    // Step and classification rows read other rows' results, and the totals made one by
    // one read whole ranges: the rows are worked out before all of them.
    if (m_bCalcRowsInWalk && (!steps.empty() || !classifies.empty() || m_bTotalsOneByOne || nFromRow > 0))
        CalcRowsFirst();
    for (int r : steps) {
        const CGridRow* pRow = m_EditRows.GetRow(r);
        const CString strTarget = pRow->GetParamText1();
        MakeStepRow(r, strTarget, pRow->GetParam1(), pRow->GetParam2());
    }
    for (int r : classifies) {
        const CGridRow* pRow = m_EditRows.GetRow(r);
        const CString strName = EditCell(r, nTargetNameCol);
        const CString strRate = pRow->GetParamText2();
        const CString strTarget = pRow->GetParamText1();
        MakeClassifyRow(r, strName, strRate, strTarget, pRow->GetParam1(), pRow->GetParam3(),
                        pRow->GetParam2());
    }
    if (m_bTotalsOneByOne) {
        for (int r = nFromRow; r <= nLast; ++r) {
            const int nKind = EditKind(r);
            if (IsDiscountTotalKind(nKind)) {
                m_nDiscountLevel = LevelOfDiscountTotalKind(nKind);
                MakeTotalRow(r, levelDiscount);
            } else if (IsTotalKind(nKind)) {
                MakeTotalRow(r, HeadingOfTotalKind(nKind));
            }
        }
    } else {
        RecalcTotalRows(nFromRow, bAnyTotal, bGrandTotal || nTaxRow >= 0);
    }
}

void CMorvelEMView::RecalcTotals(int nFromRow)
{
    CColumnBatch batch(*this);
    int nFrom = std::max(0, nFromRow);
    // After an edit, the totals it can change, from the sums kept per total.
    if (RecalcKeptTotals(nFrom)) {
        m_bWalkedAmounts = false;
        UpdateTreeView();
        SetDocumentModified();
        UpdateStatusText(statusShow);
        return;
    }
    const int nWalkFrom = nFrom;
    // The first walk makes the sums kept per total as it reads the rows, when it reads
    // them all (rows the kept sums cannot follow stay so; a number they could not keep is
    // looked at again from the first row).
    m_bKeepInWalk = false;
    if (!IsPrintCopyActive() && !m_bTotalsOneByOne &&
        (m_kept.eState != CKeptTotals::stateBlocked || (m_kept.bBlockedByNumber && nFrom == 0))) {
        ForgetKeptTotals();
        m_bKeepInWalk = true;
    }
    // Each tax row starts the passes again below it, so that totals under a tax row take
    // the new tax in; the next tax row is then found by that round.
    for (;;) {
        int nTaxRow = -1;
        RecalcPasses(nFrom, nTaxRow);
        if (nTaxRow < 0)
            break;
        int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
        if (nAmountCol < 0)
            nAmountCol = 0;
        const int nSecondCol = FindFirstColumn(CEstimationFormFile::colV, "3");
        const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
        const int nRate = pSettings != nullptr ? pSettings->m_nTax : 8;
        CString strTax;
        CalcTaxAmount(strTax, nAmountCol, TRUE, nRate);
        StoreTaxRow(nTaxRow, nAmountCol, nSecondCol, strTax, nRate);
        InvalidateRows(nTaxRow, nTaxRow);
        nFrom = nTaxRow + 1;
    }
    m_bWalkedAmounts = false;
    m_bKeepInWalk = false;
    StartKeptTotals(nWalkFrom);
    UpdateTreeView();
    SetDocumentModified();
    UpdateStatusText(statusShow);
}

void CMorvelEMView::StoreTaxRow(int nRow, int nAmountCol, int nSecondCol, const CString& strTax, int nRate)
{
    SetCellText(CNumberRules::NormalizeNumber(strTax), nRow, nAmountCol, TRUE);
    if (nSecondCol >= 0) {
        if (IsTaxVerticalTotal()) {
            CString strSecondTax;
            CalcTaxAmount(strSecondTax, nSecondCol, TRUE, nRate);
            SetCellText(strSecondTax, nRow, nSecondCol, TRUE);
        } else {
            SetCellText(strTax, nRow, nSecondCol, TRUE);
        }
        CalcRow(nRow, std::max(nAmountCol, nSecondCol) + 1);
    } else {
        CalcRow(nRow, nAmountCol + 1);
    }
}

double CMorvelEMView::SumUnderHeading(int nRow, int nLevel, int nCol) const
{
    if (!IsValidColumn(nCol))
        return 0.0;
    int nStart = nLevel == levelGrand ? 0 : nRow + 1;
    int nEnd = m_nUsedRows - 1;
    for (int r = nStart; r < m_nUsedRows; ++r) {
        const int nKind = EditKind(r);
        // The levels 1, 2, 3 and 7 are the heading kinds; the grand and discount levels
        // run to the end.
        if (IsHeadingAtOrAbove(nKind, nLevel)) {
            nEnd = r - 1;
            break;
        }
    }
    if (nStart > nEnd)
        return 0.0;
    if (nStart > 0)
        --nStart;
    CCompensatedSum sum;
    for (int r = nStart; r <= nEnd; ++r) {
        const int nKind = EditKind(r);
        bool bAdd;
        if (nLevel == levelDiscount)
            bAdd = nKind == kindDiscount;
        else
            bAdd = IsLeafKind(nKind) || IsHeadingKind(nKind);
        if (bAdd)
            sum.Add(CellValue(r, nCol));
    }
    return sum.Get();
}

bool CMorvelEMView::IsTaxVerticalTotal() const
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return FALSE;
    return pSettings->GetProfileString("Tax Vertical Total", "3", "") == "縦合計"_sj ? TRUE : FALSE;
}

void CMorvelEMView::InsertTotal(int nLevel)
{
    const int nRow = m_nCurrentRow;
    if (!HasFileRoomForRows(nRow, 1, AdjustPageBreak(0, nRow)))
        return;
    InsertRowAligned(nRow);
    MakeTotalRow(nRow, nLevel);
    if (nLevel != levelGrand)
        UpdateTreeView();
    // Undo takes the new total row away again, as it does a row insertion.
    RecordUndo(undoSpecialRow, CPoint(m_nCurrentCol, nRow));
    MoveCurrentRowDown();
    InvalidateRows(nRow, m_nCurrentRow);
}

void CMorvelEMView::OnSmallTotal()
{
    InsertTotal(levelSmall);
}
void CMorvelEMView::OnMiddleTotal()
{
    InsertTotal(levelMiddle);
}
void CMorvelEMView::OnLargeTotal()
{
    InsertTotal(levelLarge);
}
void CMorvelEMView::OnKindTotal()
{
    InsertTotal(levelKind);
}
void CMorvelEMView::OnGrandTotal()
{
    InsertTotal(levelGrand);
}

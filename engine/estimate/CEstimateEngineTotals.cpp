// The estimate engine's totals: total rows made and filled, step, classification and tax
// rows, and the recalculation that refreshes every computed row from a given row down.
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CScopedValue.h"

#include "engine/estimate/CTotalsWalk.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <climits>
#include <utility>

// ---------------------------------------------------------------------------------------
// Total rows

void CEstimateEngine::MakeTotalRow(int nRow, ETotalLevel nLevel, int nLastHeading)
{
    if (!IsValidRow(nRow))
        return;
    CEstimateColumns::CBatch batch(m_columns);
    const int nNameCol = m_columns.FindNameColumn();
    const CString strName = EditCell(nRow, nNameCol);
    const ETotalLevel nDiscountLevel = m_nDiscountLevel;

    ERowKind nTotalKind = kindEmpty;
    if (nLevel == levelGrand) {
        nTotalKind = kindGrandTotal;
    } else if (nLevel == levelDiscount) {
        // Only the levels the discount-total choice offers make a discount total.
        if (nDiscountLevel != levelLarge && nDiscountLevel != levelMiddle && nDiscountLevel != levelSmall &&
            nDiscountLevel != levelGrand && nDiscountLevel != levelKind)
            return;
        nTotalKind = DiscountTotalKindOf(nDiscountLevel);
    } else if (nLevel == levelLarge || nLevel == levelMiddle || nLevel == levelSmall || nLevel == levelKind) {
        nTotalKind = TotalKindOf(nLevel);
    } else {
        return;
    }
    const int nStart = FindTotalRange(nRow, nLevel, nLastHeading);
    const int nEnd = nRow - 1;
    if (nStart < 0 || nEnd < nStart) {
        // No rows to add: a row made a total now stays as it is, one that is a total
        // already shows what its own formulas make of it.
        if (EditKind(nRow) == nTotalKind)
            WriteTotalWithoutRows(nRow);
        return;
    }

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
            MakeRow(nRow)->SetParam1(LevelNumber(nDiscountLevel));
        SetCellText(strLabel, nRow, nNameCol, TRUE);
        if (IsValidColumn(nNameCol)) {
            const int nIndent = FindNameIndent(nRow, kindLarge, nNameCol);
            const CInStep inStep = BeforeNeutralChange();
            MakeRow(nRow)->SetIndent(nNameCol, nIndent);
            NoteNeutralChange(inStep);
        }
    }
    // The summed columns are added up in one walk over the range, the heading row in it
    // (its kind is never added); the rows added lie above the total row, so nothing written
    // to it below changes a sum.
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    if (!sums.empty()) {
        for (int r = std::max(0, nStart - 1); r <= nEnd; ++r) {
            const ERowKind nKind = EditKind(r);
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

void CEstimateEngine::GetTotalColumns(std::vector<CTotalColumn>& columns) const
{
    columns.clear();
    const int nColumns = m_columns.GetLimit();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        const CColumnInfo& info = m_columns.Get(nCol);
        if (!info.bTotalByFormula && !info.strV.IsEmpty() &&
            (info.eTotalMode == ETotalMode::leafRows || info.eTotalMode == ETotalMode::subtotals))
            columns.push_back(CTotalColumn{nCol, info.eTotalMode, CCompensatedSum()});
    }
}

bool CEstimateEngine::TotalFormulasReadAhead() const
{
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    auto isSummed = [&sums](int nCol) {
        return std::any_of(sums.begin(), sums.end(), [nCol](const CTotalColumn& column) { return column.nCol == nCol; });
    };
    for (int nCol : m_columns.GetFormulaColumns()) {
        if (isSummed(nCol))
            continue;
        for (int nRef : m_columns.Get(nCol).formula.GetReferences()) {
            if (nRef >= nCol && m_columns.IsFormula(nRef) && !isSummed(nRef))
                return true;
        }
    }
    return false;
}

void CEstimateEngine::WriteTotalRow(int nRow, const std::vector<CTotalColumn>& sums)
{
    // The sums first, then every other formula column of the row in column order ("計 C"
    // and any column the total does not add up): they work on the totals the row shows
    // now. Worked out before the sums, such a column would show the last totals, and each
    // full recalculation would move it on by one change.
    m_sheet.RowToBeRewritten(nRow);
    m_summedColumns.clear();
    for (const CTotalColumn& column : sums) {
        StoreNumber(nRow, column.nCol, column.sum.Get());
        m_summedColumns.push_back(column.nCol);
    }
    CalcRowExcept(nRow, 0, m_summedColumns);
    m_sheet.RowsWritten(nRow, nRow);
}

int CEstimateEngine::FindTotalRange(int nRow, ETotalLevel nLevel, int nLastHeading) const
{
    if (nLevel == levelGrand || (nLevel == levelDiscount && m_nDiscountLevel == levelGrand))
        return 0;
    // A heading of the level marked non-calculated ends the search: the rows above it are
    // another section's, and it adds none itself.
    if (nLevel != levelDiscount) {
        const ERowKind nHeading = HeadingKindOf(nLevel);
        int r = nRow - 1;
        while (r >= 0 && SectionHeadingKindOf(EditKind(r)) != nHeading)
            --r;
        return r >= 0 && EditKind(r) == nHeading ? r + 1 : -1;
    }
    // An existing discount total finds its heading again by the name in its label; a new
    // one takes the nearest heading.
    const ERowKind nHeading = HeadingKindOf(m_nDiscountLevel);
    const int nNameCol = m_columns.FindNameColumn();
    const CString& strName = EditCell(nRow, nNameCol);
    const bool bExisting = EditKind(nRow) == DiscountTotalKindOf(m_nDiscountLevel);
    // No heading of the level lies between the last one and nRow: the search would pass
    // the rows between without stopping.
    int r =
        nLastHeading >= 0 && nLastHeading < nRow && SectionHeadingKindOf(EditKind(nLastHeading)) == nHeading
            ? nLastHeading
            : nRow - 1;
    for (; r >= 0; --r) {
        if (SectionHeadingKindOf(EditKind(r)) != nHeading)
            continue;
        if (!bExisting || strName.Find(EditCell(r, nNameCol)) >= 0)
            break;
    }
    return r >= 0 && EditKind(r) == nHeading ? r + 1 : -1;
}

void CEstimateEngine::WriteTotalWithoutRows(int nRow)
{
    // Its figures are what its own row formulas make of its other cells, whatever they
    // showed before (a total's sums, cells pasted onto it): the summed and the formula
    // columns emptied, then worked out.
    CGridRow* pRow = m_rows.GetRow(nRow);
    if (pRow == nullptr)
        return;
    m_sheet.RowToBeRewritten(nRow);
    const unsigned long long nChanges = m_rows.GetChangeCount();
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    auto empty = [&](int nCol) {
        if (!pRow->m_strCell[nCol].IsEmpty())
            StoreCell(nRow, nCol, CString());
    };
    for (const CTotalColumn& column : sums)
        empty(column.nCol);
    for (int nCol : m_columns.GetFormulaColumns())
        empty(nCol);
    CalcRow(nRow, 0);
    if (m_rows.GetChangeCount() != nChanges)
        m_sheet.RowsWritten(nRow, nRow);
}

int CEstimateEngine::FindTotalRow(int nStartRow, ERowKind nKind) const
{
    if (IsOwnTotalKind(nKind))
        return nStartRow - 1;
    for (int r = std::max(0, nStartRow); r < m_nUsedRows; ++r) {
        const ERowKind k = EditKind(r);
        if (k == TotalKindOf(nKind))
            return r;
        if (IsHeadingAtOrAbove(k, nKind))
            return -1;
    }
    return -1;
}

double CEstimateEngine::SumUnderHeading(int nRow, ETotalLevel nLevel, int nCol) const
{
    if (!IsValidColumn(nCol))
        return 0.0;
    int nStart = nLevel == levelGrand ? 0 : nRow + 1;
    int nEnd = m_nUsedRows - 1;
    for (int r = nStart; r < m_nUsedRows; ++r) {
        const ERowKind nKind = EditKind(r);
        // The levels 1, 2, 3 and 7 are the heading kinds; the grand and discount levels
        // run to the end.
        if (IsHeadingAtOrAbove(nKind, HeadingKindOf(nLevel))) {
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
        const ERowKind nKind = EditKind(r);
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

// ---------------------------------------------------------------------------------------
// The recalculation

void CEstimateEngine::RecalcTotalRows(int nFromRow, bool bAny, bool bWhole, int nWriteEnd, int nTaxRow)
{
    m_bWalkedAmounts = false;
    if (!bAny) {
        if (m_bCalcRowsInWalk)
            CalcRowsFirst();
        return;
    }
    CTotalsWalk::COptions options;
    options.nWriteEnd = nWriteEnd;
    options.bCalcRows = m_bCalcRowsInWalk;
    options.pStore = &m_walkNumbers;
    options.pBuild = m_bKeepInWalk ? &m_kept : nullptr;
    options.nKeepFrom = nTaxRow;
    options.pBelowTax = m_pBelowTax;
    m_bKeepInWalk = false;
    CTotalsWalk walk(*this, nFromRow, bWhole, options);
    RunWalk(walk);
}

void CEstimateEngine::RunWalk(CTotalsWalk& walk)
{
    walk.Run();
    m_nRowsWalked += walk.GetRowsWalked();
    m_walkedAmounts = walk.GetEstimateAmounts();
    m_bWalkedAmounts = walk.ReadFromTheTop();
    m_bCalcRowsInWalk = false;
}

void CEstimateEngine::RecalcPasses(int nFromRow, int& nTaxRow, bool& bBelowTaxInOneWalk,
                                   const std::vector<ERowKind>* pKinds)
{
    m_bWalkedAmounts = false;
    const int nLast = m_nUsedRows - 1;
    const int nTargetNameCol = m_columns.FindClassifyNameColumn();
    // One look at the kinds finds the step rows, the classification rows and the first free
    // row: making a step or classification row changes that row alone, and its kind stays.
    // Both in row order: each reads the rows above it only, so made from the top down, every
    // one of them reads rows already made (a step row over a classification row included).
    std::vector<int> remade;
    nTaxRow = -1;
    // Whether there is a total to make, and whether the sums of the whole estimate are
    // wanted: by a grand total, or by a free row (the tax takes the estimate's amount from
    // the walk). Without them the walk does not read the rows above every heading level's
    // start (a total added at the end of a growing estimate reads its own headings' rows,
    // not the whole estimate above it).
    bool bAnyTotal = false;
    bool bGrandTotal = false;
    bool bSecondTaxRow = false;
    const auto note = [&](int r, ERowKind nKind) {
        if (nKind == kindStep || nKind == kindClassify)
            remade.push_back(r);
        else if (nKind == kindFree && nTaxRow < 0)
            nTaxRow = r;
        else if (nKind == kindFree)
            bSecondTaxRow = true;
        else if (IsTotalKind(nKind) || IsDiscountTotalKind(nKind))
            bAnyTotal = true;
        bGrandTotal = bGrandTotal || nKind == kindGrandTotal;
    };
    if (pKinds != nullptr && pKinds->size() >= static_cast<size_t>(nLast + 1)) {
        // The kept totals' kinds lie side by side, a byte a row (a missing row's is empty).
        for (int r = nFromRow; r <= nLast; ++r)
            note(r, (*pKinds)[static_cast<size_t>(r)]);
    } else {
        for (int r = nFromRow; r <= nLast; ++r) {
            // The rows' kinds lie a row's size apart: asked for well ahead, many arrive at once.
            if (r + KIND_PREFETCH_DISTANCE <= nLast) {
                if (const CGridRow* pAhead = m_rows.GetRow(r + KIND_PREFETCH_DISTANCE))
                    pAhead->PrefetchKind();
            }
            if (const CGridRow* pRow = m_rows.GetRow(r))
                note(r, pRow->GetKind());
        }
    }
    const int nLastRemade = remade.empty() ? -1 : remade.back();
    bBelowTaxInOneWalk = bSecondTaxRow && !m_bTotalsOneByOne && nLastRemade < nTaxRow;
    // Step and classification rows read other rows' results, and the totals made one by
    // one read whole ranges: the rows are worked out before all of them.
    if (m_bCalcRowsInWalk && (!remade.empty() || m_bTotalsOneByOne || nFromRow > 0))
        CalcRowsFirst();
    for (int r : remade) {
        const CGridRow* pRow = m_rows.GetRow(r);
        // A row whose kept range code is unknown (a damaged file) stays as it is.
        const std::optional<EStepRange> eRange = StepRangeFromCode(pRow->GetParam2());
        if (!eRange)
            continue;
        const CString strTarget = pRow->GetParamText1();
        if (pRow->GetKind() == kindStep) {
            MakeStepRow(r, strTarget, pRow->GetParam1(), *eRange);
            continue;
        }
        const CString strName = EditCell(r, nTargetNameCol);
        const CString strRate = pRow->GetParamText2();
        MakeClassifyRow(r, strName, strRate, strTarget, pRow->GetParam1(), pRow->GetParam3(), *eRange);
    }
    if (m_bTotalsOneByOne) {
        for (int r = nFromRow; r <= nLast; ++r) {
            const ERowKind nKind = EditKind(r);
            if (IsDiscountTotalKind(nKind)) {
                m_nDiscountLevel = LevelOfDiscountTotalKind(nKind);
                MakeTotalRow(r, levelDiscount);
            } else if (IsTotalKind(nKind)) {
                MakeTotalRow(r, LevelOfTotalKind(nKind));
            }
        }
    } else if (bBelowTaxInOneWalk) {
        // This walk works out the rows and the estimate's amount for the tax, writes the
        // totals above the tax row and records the rows for the kept sums; the totals below
        // are made from those sums or by a walk below the tax row (RecalcTotals).
        RecalcTotalRows(nFromRow, bAnyTotal, true, nTaxRow, nTaxRow);
    } else {
        RecalcTotalRows(nFromRow, bAnyTotal, bGrandTotal || nTaxRow >= 0, INT_MAX,
                        nTaxRow >= 0 ? nTaxRow : INT_MAX);
    }
}

void CEstimateEngine::RecalcTotals(int nFromRow)
{
    CEstimateColumns::CBatch batch(m_columns);
    // The recalculation before this one put down every flag its walks raised.
    MORVEL_CHECK(m_bInRecalc ||
                     (!m_bKeepInWalk && !m_bWalkedAmounts && m_pBelowTax == nullptr && m_bRememberInRows),
                 "a recalculation leaves no flag of its walks raised");
    // What the recalculation writes is made again by the next one from the first row: those
    // rows are not followed one by one (see NoteFigureChange).
    const CScopedValue<bool> inRecalc(m_bInRecalc, true);
    int nFrom = std::max(0, nFromRow);
    // While the kept totals hold the rows as they are, the first look at the kinds reads
    // their list of the kinds (a byte a row, side by side) instead of the rows: the list
    // stays as it is until the first walk makes it again, and stands while no row changes
    // (a recalculation through the kept sums that gives up may have written some).
    const std::vector<ERowKind>* pKeptKinds = KeptKinds();
    const unsigned long long nKindsChanges = m_rows.GetChangeCount();
    // After an edit, the totals it can change, from the sums kept per total.
    if (RecalcThroughKeptSums(nFrom))
        return;
    if (m_rows.GetChangeCount() != nKindsChanges)
        pKeptKinds = nullptr;
    const int nWalkFrom = nFrom;
    {
        // The walks' flags are raised for the walks alone: the kept totals follow the rows
        // below with every flag down.
        const CScopedValue<bool> keepInWalk(m_bKeepInWalk, false);
        const CScopedValue<bool> walkedAmounts(m_bWalkedAmounts, false);
        // The first walk builds the sums kept per total as it reads the rows, when it reads
        // them all.
        if (!m_bTotalsOneByOne && m_kept.MayBuildInWalk(nFrom)) {
            m_kept.Forget();
            m_bKeepInWalk = true;
        }
        // Each tax row starts the passes again below it, so that totals under a tax row take
        // the new tax in; the next tax row is then found by that round.
        // A full recalculation works out the rows in its first walk; it keeps no numbers for
        // later walks (see CTotalsWalk).
        const bool bRowsWorkedOut = m_bCalcRowsInWalk;
        CWalkBelowTax belowTax;
        const CScopedValue<CWalkBelowTax*> belowTaxOfWalks(m_pBelowTax, &belowTax);
        for (;;) {
            int nTaxRow = -1;
            bool bBelowTaxInOneWalk = false;
            const bool bKeepInWalk = m_bKeepInWalk;
            RecalcPasses(nFrom, nTaxRow, bBelowTaxInOneWalk, std::exchange(pKeptKinds, nullptr));
            if (nTaxRow < 0)
                break;
            // Every tax row takes the estimate's amount, which neither totals nor tax rows add.
            // A walk that built the kept totals left to them the tax rows and the totals whose
            // sums move with the tax (see CTotalsWalk): they write those in row order, reading
            // no other row. (A round per tax row cost a walk each: with a tax row per 種目 the
            // recalculation grew with the square of the rows.)
            if (bKeepInWalk && m_kept.IsBuilt() && RecalcThroughKeptSums(nTaxRow))
                break;
            const CTaxTexts tax = MakeTaxTexts();
            WriteTaxRow(nTaxRow, tax);
            nFrom = nTaxRow + 1;
            if (!bBelowTaxInOneWalk)
                continue;
            // Otherwise, without step and classification rows below the tax row, one walk does
            // what the rounds would: it gives each tax row its tax where it meets it, before the
            // rows below read it, and makes every total below from the rows as they then stand.
            // Where no kept sums are to be built (numbers with decimals, step or classification
            // rows above the tax row), it goes on from what the first walk kept at the tax row
            // and reads only the rows written since; otherwise it reads every row, and builds
            // the kept sums.
            CTotalsWalk::COptions options;
            options.pTax = &tax;
            options.nFreshFrom = nWalkFrom;
            options.pStore = bRowsWorkedOut ? nullptr : &m_walkNumbers;
            options.pBelowTax = &belowTax;
            if (!belowTax.CanGoOn(nFrom, m_nUsedRows) || (bKeepInWalk && !m_kept.IsBlocked()))
                options.pBuild = bKeepInWalk ? &m_kept : nullptr;
            CTotalsWalk walk(*this, nFrom, true, options);
            RunWalk(walk);
            break;
        }
    }
    if (!m_bTotalsOneByOne)
        m_kept.FollowFrom(*this, nWalkFrom);
}

bool CEstimateEngine::RecalcThroughKeptSums(int nFromRow)
{
    if (m_bTotalsOneByOne || m_bCalcRowsInWalk) {
        m_kept.Forget();
        return false;
    }
    if (!m_kept.TakeChanges(*this, nFromRow))
        return false;
    // Every tax row takes the estimate's amounts, which the rows rewritten here (totals and
    // tax rows) do not add: the tax is worked out once, from the kept sums, as it is taken
    // from the walk.
    CTaxTexts tax;
    if (m_kept.HasTaxRowFrom(nFromRow)) {
        m_walkedAmounts = m_kept.GetEstimateAmounts();
        const CScopedValue<bool> walkedAmounts(m_bWalkedAmounts, true);
        tax = MakeTaxTexts();
        m_strEditStartText.Empty(); // as the rewrite of a tax row would
    }
    // The walk sets the discount level at every discount total it meets.
    ETotalLevel nDiscountLevel = m_nDiscountLevel;
    if (m_kept.LastDiscountLevelFrom(nFromRow, nDiscountLevel))
        m_nDiscountLevel = nDiscountLevel;
    std::vector<CTotalColumn> sums;
    GetTotalColumns(sums);
    m_kept.StartRewrite(tax);
    CKeptTotals::CRewrite rewrite;
    while (m_kept.NextRewrite(rewrite)) {
        if (EditKind(rewrite.nRow) != rewrite.nKind) {
            m_kept.Forget();
            return false;
        }
        switch (rewrite.eWhat) {
        case CKeptTotals::CRewrite::total:
            for (size_t i = 0; i < sums.size(); ++i)
                sums[i].sum = CWholeSums::Compensated(rewrite.pSums[i]);
            WriteTotalRow(rewrite.nRow, sums);
            break;
        case CKeptTotals::CRewrite::totalWithoutRows:
            WriteTotalWithoutRows(rewrite.nRow);
            break;
        case CKeptTotals::CRewrite::taxRow:
            WriteTaxRow(rewrite.nRow, tax);
            break;
        }
        if (!m_kept.TakeRewritten(*this, rewrite.nRow))
            return false;
    }
    m_kept.EndRewrite(*this);
    return true;
}

void CEstimateEngine::StartOnRowsRead(bool bWorkOut)
{
    CEstimateColumns::CBatch batch(m_columns);
    m_bKeepWhenIdle = false;
    if (bWorkOut) {
        // Its walk builds the kept sums.
        RecalcAll();
        return;
    }
    TakeFiguresAsDone();
    m_bRecalcAllWanted = true;
    m_kept.Forget();
    m_bKeepWhenIdle = true;
}

bool CEstimateEngine::KeepTotalsWhenIdle()
{
    if (!m_bKeepWhenIdle)
        return false;
    m_bKeepWhenIdle = false;
    return m_kept.IsOff() && KeepTotalsOfTheRows();
}

bool CEstimateEngine::KeepTotalsOfTheRows()
{
    CEstimateColumns::CBatch batch(m_columns);
    return m_kept.BuildFromTheRows(*this);
}

void CEstimateEngine::RecalcAll()
{
    CEstimateColumns::CBatch batch(m_columns);
    // The row formulas are worked out by the totals walk, each row just before the walk
    // reads it, so that the rows are gone through once; where that cannot be (step or
    // classification rows, which read other rows' results before the walk), they are
    // worked out first (CalcRowsFirst).
    m_bCalcRowsInWalk = true;
    RecalcTotals(0);
    // Every way through RecalcTotals works the rows out: the walk, or CalcRowsFirst before
    // the passes that read other rows' results.
    MORVEL_CHECK(!m_bCalcRowsInWalk, "a recalculation from the first row works out every row");
    TakeFiguresAsDone();
}

// ---------------------------------------------------------------------------------------
// Every figure after a command

namespace {
// Beyond this many rows written since the figures were done, the rows are not followed one
// by one: working them out is then no cheaper than recalculating everything.
constexpr size_t kMaxFigureRows = 1024;
} // namespace

void CEstimateEngine::NoteFigureChange(bool bInStep, int nRow)
{
    // Totals, tax, step and classification rows a recalculation writes are made again by
    // the recalculation from the first row that finishes a command: counting them as rows to
    // work out would pass the limit below after one edit over hundreds of totals below it
    // (one 種目 per estimate, each closed by its grand total and tax row).
    if (bInStep && m_bInRecalc) {
        m_nFiguresChanges = m_rows.GetChangeCount();
        m_bRecalcWrote = true;
        return;
    }
    if (!bInStep || m_figureRows.size() >= kMaxFigureRows) {
        m_bFiguresKnown = false;
        m_figureRows.clear();
        return;
    }
    m_nFiguresChanges = m_rows.GetChangeCount();
    if (m_figureRows.empty() || m_figureRows.back() != nRow)
        m_figureRows.push_back(nRow);
}

void CEstimateEngine::TakeFiguresAsDone()
{
    m_bFiguresTaken = true;
    m_bFiguresKnown = true;
    m_figuresTax = m_sheet.GetTaxSettings();
    m_nFiguresChanges = m_rows.GetChangeCount();
    m_figureRows.clear();
    m_bRecalcWrote = false;
    m_bRecalcAllWanted = false;
}

bool CEstimateEngine::RecalcChangedFigures()
{
    if (!HasChangesSinceFiguresDone())
        return false;
    // Step and classification rows are made after the row formulas, from other rows'
    // results, so a full recalculation works out their own formulas before they change: only
    // RecalcAll itself gives what it gives. So too where a total's rows may have changed
    // and where the figures are still a file's.
    if (!IsFiguresInStep() || m_bRecalcAllWanted || HasRemadeRows()) {
        RecalcAll();
        return true;
    }
    CEstimateColumns::CBatch batch(m_columns);
    // Only the rows written since the figures were done can differ from what their formulas
    // give (every other row was worked out then and has not changed); they are worked out
    // first, as RecalcAll works out every row, then the totals and tax rows are made from
    // the rows above them.
    std::vector<int> rows;
    rows.swap(m_figureRows);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int r : rows) {
        if (r < m_nUsedRows)
            CalcRow(r, 0);
    }
    // From the first row: every tax row takes the estimate's amount wherever it stands, and
    // a total above the rows changed (a heading put in above them, rows moved) is made again.
    // Through the kept sums this rewrites only the totals the changes reach.
    RecalcTotals(0);
    TakeFiguresAsDone();
    return true;
}

bool CEstimateEngine::HasRemadeRows() const
{
    // The kept sums are never made over step or classification rows.
    if (m_kept.IsBuilt()) {
        for (int r : m_figureRows) {
            const ERowKind nKind = EditKind(r);
            if (nKind == kindStep || nKind == kindClassify)
                return true;
        }
        return false;
    }
    for (int r = 0; r < m_nUsedRows; ++r) {
        if (r + KIND_PREFETCH_DISTANCE < m_nUsedRows) {
            if (const CGridRow* pAhead = m_rows.GetRow(r + KIND_PREFETCH_DISTANCE))
                pAhead->PrefetchKind();
        }
        const ERowKind nKind = EditKind(r);
        if (nKind == kindStep || nKind == kindClassify)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// Step and classification rows

int CEstimateEngine::FindRangeStart(int nRow, EStepRange eRange) const
{
    auto findUp = [this, nRow](auto matches) {
        for (int r = nRow; r >= 0; --r) {
            if (matches(EditKind(r)))
                return r;
        }
        return 0;
    };
    switch (eRange) {
    case EStepRange::nearestHeading:
        return findUp([](ERowKind k) { return IsHeadingKind(k); });
    case EStepRange::wholeEstimate:
        return 0;
    case EStepRange::kindHeading:
        return findUp([](ERowKind k) { return k == kindKind; });
    case EStepRange::largeHeading:
        return findUp([](ERowKind k) { return k == kindLarge; });
    case EStepRange::middleHeading:
        return findUp([](ERowKind k) { return k == kindMiddle; });
    case EStepRange::smallHeading:
        return findUp([](ERowKind k) { return k == kindSmall; });
    }
    return -1;
}

bool CEstimateEngine::CellMatchesTarget(int nRow, int nTargetCol, const char* lpszTarget) const
{
    const CString& strCell = EditCell(nRow, nTargetCol);
    // A code typed for a number column reads as typing reads it ("１０", "1,000"); a code that
    // is no number is looked for as it is written.
    CDecimal target;
    if (IsValidColumn(nTargetCol) && m_columns.Get(nTargetCol).bNumeric &&
        CNumberRules::ReadTypedNumber(lpszTarget, target))
        return CNumberRules::ReadDecimal(strCell) == target;
    return strCell == lpszTarget;
}

int CEstimateEngine::FindNameIndent(int nRow, ERowKind nKind, int nNameCol) const
{
    auto indentOf = [this, nNameCol](int r) {
        const CGridRow* pRow = m_rows.GetRow(r);
        return pRow != nullptr && IsValidColumn(nNameCol) ? pRow->m_nIndent[nNameCol] : 0;
    };
    for (int r = nRow + 1; r < m_nUsedRows; ++r) {
        if (EditKind(r) == nKind)
            return indentOf(r);
    }
    for (int r = nRow - 1; r >= 0; --r) {
        if (EditKind(r) == nKind)
            return indentOf(r);
    }
    return 0;
}

void CEstimateEngine::MakeStepRow(int nRow, const char* lpszTarget, int nTargetCol, EStepRange eRange)
{
    if (!IsValidRow(nRow))
        return;
    m_sheet.RowToBeRewritten(nRow);
    CEstimateColumns::CBatch batch(m_columns);
    const int nQuantityCol = m_columns.FindFirst(IEstimateSheet::textT, "3");
    const int nFactorCol = m_columns.FindFirst(IEstimateSheet::textT, "7");
    if (nQuantityCol < 0 || nFactorCol < 0)
        return;
    const int nStart = FindRangeStart(nRow, eRange);
    if (nStart < 0)
        return;
    const CString strTarget(lpszTarget);
    CCompensatedSum sum;
    for (int r = nStart; r < nRow; ++r) {
        if (CellMatchesTarget(r, nTargetCol, strTarget))
            sum.Add(CellValue(r, nQuantityCol) * CellValue(r, nFactorCol));
    }
    CDecimal value = CDecimal::FromDouble(sum.Get());
    CNumberRules::RoundBySpec(value, m_columns.Get(nQuantityCol).spec);
    StoreNumber(nRow, nQuantityCol, value);
    SetRowKind(kindStep, nRow);
    CGridRow* pRow = MakeRow(nRow);
    pRow->SetParamText1(strTarget);
    pRow->SetParam1(nTargetCol);
    pRow->SetParam2(StepRangeCode(eRange));
    CalcRow(nRow, nQuantityCol);
    m_sheet.RowsWritten(nRow, nRow);
}

void CEstimateEngine::MakeClassifyRow(int nRow, const char* lpszName, const char* lpszRate,
                                      const char* lpszTarget, int nTargetCol, int nColumnMode,
                                      EStepRange eRange)
{
    if (!IsValidRow(nRow) || !IsValidColumn(nTargetCol))
        return;
    m_sheet.RowToBeRewritten(nRow);
    const int nStart = FindRangeStart(nRow, eRange);
    if (nStart < 0)
        return;
    CEstimateColumns::CBatch batch(m_columns);
    // The texts may come from the row itself: keep copies before the row changes.
    const CString strName(lpszName);
    const CString strRate(lpszRate);
    const CString strTarget(lpszTarget);
    // The rate as typing reads it ("１０", "2.5"); one that is no number ("1e3" kept as a word
    // in the classification table) adds nothing.
    CDecimal typedRate;
    const double rate = CNumberRules::ReadTypedNumber(strRate, typedRate) ? typedRate.ToDouble() : 0.0;
    SetCellText(strName, nRow, m_columns.FindFirst(IEstimateSheet::textT, "2"), TRUE);

    std::vector<int> filled;
    const int nColumns = m_columns.GetLimit();
    for (int c = 0; c < nColumns; ++c) {
        const CString& strV = m_columns.Get(c).strV;
        if ((nColumnMode == 0 && strV == "2") || (nColumnMode == 1 && (strV == "2" || strV == "1")))
            filled.push_back(c);
    }
    std::vector<CCompensatedSum> sums(filled.size());
    for (int r = nStart; r < nRow; ++r) {
        if (!CellMatchesTarget(r, nTargetCol, strTarget))
            continue;
        for (size_t i = 0; i < filled.size(); ++i)
            sums[i].Add(CellValue(r, filled[i]));
    }
    for (size_t i = 0; i < filled.size(); ++i) {
        CDecimal value = CDecimal::FromDouble(rate * sums[i].Get() / 100.0);
        CNumberRules::RoundBySpec(value, m_columns.Get(filled[i]).spec);
        StoreNumber(nRow, filled[i], value);
    }
    SetRowKind(kindClassify, nRow);
    CGridRow* pRow = MakeRow(nRow);
    pRow->SetParamText1(strTarget);
    pRow->SetParam1(nTargetCol);
    pRow->SetParam2(StepRangeCode(eRange));
    pRow->SetParam3(nColumnMode);
    pRow->SetParamText2(strRate);
    // The row's other formulas work on the sums just stored (a column taking the amount
    // with its tax): worked out before them, a figure would change at every recalculation.
    // The filled columns keep the sums, whatever formula they have on a detail row.
    CalcRowExcept(nRow, 0, filled);
    m_sheet.RowsWritten(nRow, nRow);
}

// ---------------------------------------------------------------------------------------
// Tax

bool CEstimateEngine::TakeWalkedAmount(int nCol, bool bExcludeFree, double& amount) const
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

bool CEstimateEngine::TakeKeptAmount(int nCol, bool bExcludeFree, double& amount) const
{
    return m_kept.TakeAmount(*this, nCol, bExcludeFree, amount);
}

double CEstimateEngine::SumEstimateAmount(int nCol, bool bExcludeFree) const
{
    if (!IsValidColumn(nCol))
        return 0.0;
    double kept = 0.0;
    if (TakeKeptAmount(nCol, bExcludeFree, kept))
        return kept;
    CCompensatedSum sum;
    for (int r = 0; r < m_nUsedRows; ++r) {
        const CGridRow* pRow = m_rows.GetRow(r);
        if (pRow == nullptr)
            continue;
        const ERowKind nKind = pRow->GetKind();
        // The leaf kinds, the free row (the tax row) only when asked for.
        const bool bAdd = nKind == kindFree ? !bExcludeFree : IsLeafKind(nKind);
        if (bAdd)
            sum.Add(pRow->ReadNumber(nCol));
    }
    return sum.Get();
}

void CEstimateEngine::CalcTaxAmount(CString& strTax, int nCol, bool bExcludeFree, int nRate)
{
    if (nCol == -1) {
        strTax = "0.0";
        return;
    }
    double amount = 0.0;
    if (!TakeWalkedAmount(nCol, bExcludeFree, amount))
        amount = SumEstimateAmount(nCol, bExcludeFree);
    CDecimal tax = CDecimal::FromDouble(amount * nRate / 100.0);
    switch (m_sheet.GetTaxSettings().eRounding) {
    case ETaxRounding::up:
        CNumberRules::RoundBySpec(tax, CNumberRules::ParseRoundSpec("U(-1)"));
        break;
    case ETaxRounding::down:
        CNumberRules::RoundBySpec(tax, CNumberRules::ParseRoundSpec("D(-1)"));
        break;
    case ETaxRounding::halfUp:
        CNumberRules::RoundBySpec(tax, CNumberRules::ParseRoundSpec("F(-1)"));
        break;
    case ETaxRounding::byColumn:
        if (IsValidColumn(nCol))
            CNumberRules::RoundBySpec(tax, m_columns.Get(nCol).spec);
        break;
    case ETaxRounding::none:
        break;
    }
    strTax = CNumberRules::FormatNormal(tax);
}

CTaxTexts CEstimateEngine::MakeTaxTexts()
{
    const IEstimateSheet::CTaxSettings settings = m_sheet.GetTaxSettings();
    CTaxTexts tax;
    tax.nAmountCol = std::max(0, m_columns.FindAmountColumn());
    tax.nSecondCol = m_columns.FindFirst(IEstimateSheet::textV, "3");
    CalcTaxAmount(tax.strTax, tax.nAmountCol, true, settings.nRate);
    if (tax.nSecondCol >= 0 && m_sheet.IsTaxVerticalTotal())
        CalcTaxAmount(tax.strSecondTax, tax.nSecondCol, true, settings.nRate);
    else
        tax.strSecondTax = tax.strTax;
    // As SetCellText stores them on a free row.
    auto stored = [this](int nCol, const CString& strText) {
        if (!IsValidColumn(nCol) || !m_columns.Get(nCol).bNumeric || !CNumberRules::IsNumberText(strText))
            return strText;
        return StoredNumberText(nCol, CNumberRules::ReadNumberText(strText), false);
    };
    tax.strStoredTax = stored(tax.nAmountCol, CNumberRules::NormalizeNumber(tax.strTax));
    if (tax.nSecondCol >= 0)
        tax.strStoredSecondTax = stored(tax.nSecondCol, tax.strSecondTax);
    return tax;
}

void CEstimateEngine::StoreTaxText(int nRow, int nCol, const CString& strStored)
{
    m_strEditStartText.Empty(); // as a write would
    if (!IsValidRow(nRow) || !IsValidColumn(nCol) || EditCell(nRow, nCol) == strStored)
        return;
    StoreCell(nRow, nCol, CString(strStored));
}

void CEstimateEngine::StoreTaxRow(int nRow, const CTaxTexts& tax)
{
    // The tax, then the row's other formula columns in column order, on the tax the row
    // shows now (as a total row's work on its totals).
    m_sheet.RowToBeRewritten(nRow);
    if (EditKind(nRow) != kindFree) {
        // Not yet a tax row (the tax row command writes it first): stored as any cell.
        auto store = [&](int nCol, const CString& strText) {
            if (IsValidRow(nRow) && IsValidColumn(nCol) && nRow <= m_rows.GetUpperBound() &&
                EditCell(nRow, nCol) == StoredText(strText, nRow, nCol))
                m_strEditStartText.Empty();
            else
                SetCellText(strText, nRow, nCol, TRUE);
        };
        store(tax.nAmountCol, CNumberRules::NormalizeNumber(tax.strTax));
        if (tax.nSecondCol >= 0)
            store(tax.nSecondCol, tax.strSecondTax);
    } else {
        StoreTaxText(nRow, tax.nAmountCol, tax.strStoredTax);
        if (tax.nSecondCol >= 0)
            StoreTaxText(nRow, tax.nSecondCol, tax.strStoredSecondTax);
    }
    m_summedColumns.assign(1, tax.nAmountCol);
    if (tax.nSecondCol >= 0) {
        m_summedColumns.push_back(tax.nSecondCol);
        std::sort(m_summedColumns.begin(), m_summedColumns.end());
    }
    CalcRowExcept(nRow, 0, m_summedColumns);
}

void CEstimateEngine::WriteTaxRow(int nRow, const CTaxTexts& tax)
{
    StoreTaxRow(nRow, tax);
    m_sheet.RowsWritten(nRow, nRow);
}

void CEstimateEngine::StoreTaxRow(int nRow, int nAmountCol, int nSecondCol, const CString& strTax, int nRate)
{
    CTaxTexts tax;
    tax.nAmountCol = nAmountCol;
    tax.nSecondCol = nSecondCol;
    tax.strTax = strTax;
    if (nSecondCol >= 0 && m_sheet.IsTaxVerticalTotal())
        CalcTaxAmount(tax.strSecondTax, nSecondCol, true, nRate);
    else
        tax.strSecondTax = strTax;
    StoreTaxRow(nRow, tax);
}

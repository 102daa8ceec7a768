// CTotalsWalk: the totals of the heading levels and the grand total from a row down, in one
// walk from the top (CEstimateEngine::RecalcTotals's third pass).
//
// A total of a heading level adds the rows from the nearest heading of its kind above it,
// the grand total every row above it, both in row order, as MakeTotalRow does. So each
// level keeps one running sum per summed column, started again at each heading of its kind,
// and every row is read once however many totals lie above it. A total row is written
// before it is added to the higher levels, and rows are only read above the row being
// written, so the results are those of MakeTotalRow called row by row. Discount totals (few,
// and found by name) are made by MakeTotalRow in their place in the walk.
//
// Amounts are mostly whole numbers: while a column adds only whole numbers within its
// budget (CWholeSums), it keeps one 64-bit sum of everything added (every number read goes
// to the grand total and to each level whose heading has been seen) and, per level, that
// sum where the level's heading started it again: a level's sum is the difference, exact.
// A number that is no whole number, or one past the budget, turns the column's sums into
// the compensated ones they stand for, and the walk goes on with those.
//
// Beside the totals the walk adds the estimate's amount (the leaf rows other than free rows
// of every column summed over leaf rows) for the tax, in the order SumEstimateAmount adds
// them; a walk that reads every row from the first builds the kept totals as it reads them;
// and a full recalculation's walk works out each row's formulas just before it reads the
// row, so that the rows are gone through once.
//
// Below the first tax row the recalculation rewrites, a walk that builds the kept totals
// leaves alone the totals whose rows hold a tax row (or such a total): their sums move with
// the tax, which is known once every row has been read. The kept totals then write the tax
// rows and those totals, reading no other row. The walk reads the estimate through the
// engine's public functions.
#pragma once

#include "engine/estimate/CCompensatedSum.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CWholeSums.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

class CGridRow;
class CKeptTotals;
class CWalkBelowTax;
struct CRememberedNumber;

class CTotalsWalk {
public:
    // What a walk does beyond the totals from its first row down.
    struct COptions {
        // The rows from here on are read, but their totals are not written (a walk below
        // the first tax row writes them).
        int nWriteEnd = INT_MAX;
        // Every free row from the first row down takes this tax where the walk meets it,
        // before it is read.
        const CTaxTexts* pTax = nullptr;
        // The first row whose totals the recalculation wrote, for the kept totals it builds
        // (-1: the walk's first row).
        int nFreshFrom = -1;
        // Each row's formulas are worked out just before the walk reads the row (a full
        // recalculation).
        bool bCalcRows = false;
        // Where the numbers read are kept for later walks (null: nowhere).
        std::vector<CRememberedNumber>* pStore = nullptr;
        // The kept totals, built as the walk reads every row from the first (null: none).
        CKeptTotals* pBuild = nullptr;
        // The first tax row the recalculation rewrites. A walk that builds no kept totals
        // keeps in pBelowTax its sums on reaching it and what it reads from there down; a
        // walk below a tax row goes on from what an earlier walk of the recalculation kept
        // (CWalkBelowTax).
        int nKeepFrom = INT_MAX;
        CWalkBelowTax* pBelowTax = nullptr;
    };
    // The walk from nFromRow down; bWhole: a grand total or a free row lies at or below it,
    // which want the sums of the whole estimate (without them the walk starts at the last
    // heading of every level above nFromRow).
    CTotalsWalk(CEstimateEngine& engine, int nFromRow, bool bWhole, const COptions& options);
    CTotalsWalk(const CTotalsWalk&) = delete;
    CTotalsWalk& operator=(const CTotalsWalk&) = delete;
    void Run();
    // What it read: the rows (a row read by two walks counts twice), whether from the first
    // row, and the estimate's amount per column summed over leaf rows.
    unsigned long long GetRowsWalked() const { return m_nRowsWalked; }
    bool ReadFromTheTop() const { return m_bFromTheTop; }
    std::vector<std::pair<int, CCompensatedSum>> GetEstimateAmounts() const;

private:
    friend class CWalkBelowTax;
    // Running sums: the four heading levels, then the grand total.
    enum { slotKind, slotLarge, slotMiddle, slotSmall, slotGrand, SLOTS };
    static int SlotOf(ETotalLevel nLevel);
    // One summed column's sums while they are whole.
    struct CColumnSums {
        bool bWhole = true;
        CWholeSums budget;
        int64_t nAll = 0;           // every number added
        int64_t nEstimate = 0;      // the leaf rows other than free rows
        int64_t nStart[SLOTS] = {}; // nAll where each level's sum started
    };

    // The row at which the heading levels' sums start: the last heading of every level at
    // or above nFromRow.
    int FindLevelStart() const;
    // The cells fetched ahead: those the walk reads, with those the row formulas read and
    // write when it works them out.
    void ChoosePrefetchCells();
    // Works out the row's formulas; m_bFresh tells whether CalcRow kept the row's numbers
    // (it leaves heading and summary rows alone).
    void CalcRow(int nRow);
    double ReadNumber(const CGridRow* pRow, int nRow, size_t i);
    void AddRow(const CGridRow* pRow, int nRow, ERowKind nKind, int nFirstSlot);
    // The same with the row's numbers as an earlier walk read them (pKept, per summed column).
    void AddKeptRow(int nRow, ERowKind nKind, const double* pKept);
    template <bool bKept>
    void AddNumbers(const CGridRow* pRow, int nRow, ERowKind nKind, int nFirstSlot, const double* pKept);
    // Keeps the sums before nRow, and from StartKeeping on, row by row from nRow, the kinds
    // and the numbers read.
    void KeepSumsAt(int nRow);
    void StartKeeping();
    void KeepRow(int nRow, ERowKind nKind);
    // The walk on what an earlier walk kept (pBelowTax).
    void GoOnBelowTheTax(CWalkBelowTax& kept);
    // The row's kind and numbers into the kept totals being built (bWritten: a total the
    // recalculation wrote).
    void BuildRow(const CGridRow* pRow, int nRow, ERowKind nKind, bool bWritten);
    // Where AddRow writes the numbers of row nRow for the kept totals being built.
    void StartBuildRow(int nRow);
    // The rows met one the kept sums cannot follow at nRow: the build ends there.
    void StopBuild(int nRow, ERowKind nKind, bool bByNumber);
    void LeaveWhole(size_t i);
    void StartSlot(int nSlot);
    CCompensatedSum SlotSum(int nSlot, size_t i) const;
    // A total or discount total row at nRow, written from the sums so far: false when it
    // is left to the kept totals, its sums moving with the tax.
    bool WriteTotal(int nRow, ERowKind nKind);
    // A row added whose numbers move with the tax: the totals over it wait for the tax.
    void WaitForTheTax();
    // Whether no section of the slot's level starts between a heading and a total below it
    // (the rows the total adds lie in the heading's section); walks those rows.
    bool IsOneSection(int nHeading, int nRow, int nSlot) const;

    CEstimateEngine& m_engine;
    const int m_nFromRow;
    const COptions m_options;
    const bool m_bWhole;
    const bool m_bCalcRows;
    std::vector<CTotalColumn> m_columns;
    std::vector<CTotalColumn> m_sums; // what a total row is given
    size_t m_nSums = 0;
    std::vector<CColumnSums> m_whole;
    std::vector<CCompensatedSum> m_running; // slot x summed column, once a column is not whole
    std::vector<CCompensatedSum> m_estimate;
    int m_nHeadingRow[SLOTS] = {-1, -1, -1, -1, 0};
    // Per level: the rows added since its section started hold one whose numbers move with
    // the tax (only while the kept totals are built, which write such totals).
    bool m_bWaitsForTax[SLOTS] = {};
    bool m_bAnyBySubtotals = false; // a summed column adds subtotal rows ("計 B")
    // The totals' own formulas are worked out when the totals are written, not before.
    bool m_bTotalsWorkOutOnSums = false;
    CEstimateEngine::CRowFormulas m_formulas; // the row formulas it works out
    unsigned long long m_nRowsWalked = 0;
    bool m_bFromTheTop = false;
    // A row the walk has just worked out gives its formula results' numbers as CalcRow kept
    // them (m_bFresh); the walk reads other numbers through the engine's store of read
    // numbers (m_pStore), which a walk that works out the rows leaves alone: writing it
    // would cost it more than a fifth of its time, for the walks after it, which the kept
    // totals mostly spare.
    bool m_bFresh = false;
    std::vector<CRememberedNumber>* m_pStore = nullptr;
    CKeptTotals* m_pBuild = nullptr;
    std::vector<double> m_rowNumbers; // the numbers AddRow read of the row
    // Where AddRow writes the row's numbers as the kept totals being built take them, and
    // whether one of them is no whole number (the build then gives up at the row).
    int64_t* m_pBuildValues = nullptr;
    bool m_bBuildFails = false;
    // Where AddRow puts the numbers it reads of the row: m_rowNumbers while the kept totals
    // are built, the row's place in what is kept for the walks below the tax row while they
    // are kept, null otherwise.
    double* m_pRowNumbers = nullptr;
    bool m_bKeeping = false; // the rows read are kept for the walks below the tax rows
    int m_nFirstCell = -1;
    int m_nLastCell = -2;
};

// What the first walk of a recalculation read from the first tax row down, and its sums on
// reaching that row. Below a tax row the recalculation writes only totals, tax rows and
// step and classification rows (made again before the walk that follows each tax row):
// every other row reads as the first walk read it. So each walk after the first, from the
// row after a tax row, goes on from the sums kept at the first tax row, takes the rows'
// kinds and numbers from here, and reads only the rows written since (keeping what it reads
// for the walks after it), instead of reading every row of the estimate again. Numbers
// with decimals, and step and classification rows, which the kept totals cannot take (they
// write the rows below the tax row otherwise), are so finished in one reading of the rows
// as well.
class CWalkBelowTax {
public:
    bool IsKept() const { return m_nFromRow >= 0; }
    // Whether a walk from nFromRow over nUsedRows rows can go on from what is kept: it
    // starts below the first tax row, and the rows are those kept.
    bool CanGoOn(int nFromRow, int nUsedRows) const
    {
        return IsKept() && nFromRow > m_nFromRow &&
               m_kinds.size() == static_cast<size_t>(std::max(0, nUsedRows - m_nFromRow));
    }

private:
    friend class CTotalsWalk;
    int m_nFromRow = -1;
    std::vector<CTotalsWalk::CColumnSums> m_whole;
    std::vector<CCompensatedSum> m_running;
    std::vector<CCompensatedSum> m_estimate;
    int m_nHeadingRow[CTotalsWalk::SLOTS] = {};
    std::vector<ERowKind> m_kinds; // per row from m_nFromRow
    std::vector<double> m_numbers; // per row from m_nFromRow and summed column: what AddRow read
};

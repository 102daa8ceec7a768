// CEstimateEngine: the computation of an estimate over the rows of its edit page. It stores
// cells as the cell store stores them (numbers rounded by their column and kept in normal
// form), works out row formulas, makes totals, step, classification and tax rows, and
// recalculates them from a row down, keeping each total's sums between recalculations so
// that an edit rewrites only the totals it changes. The estimate model (CEstimateModel)
// holds one over its edit page; the model's commands and the windows' number and total
// operations call it, and tests drive it with a sheet of their own, without any window.
//
// Where it stands, and what it relies on:
// - The rows are the edit page's store (CGridRowArray), which counts the changes of its
//   rows; the used rows, the row limit and the column count are read where the model keeps
//   them. What a write does beyond the rows (the used rows grown, rows repainted) and the
//   form's texts and tax settings come from the sheet (IEstimateSheet).
// - A full recalculation (RecalcTotals) runs in passes: step and classification rows from
//   the top down (each with its own formulas worked out on what it was given), then the
//   totals in one walk from the top (CTotalsWalk), then each consumption-tax row.
//   The walk gives the texts the totals made one by one (MakeTotalRow per total, the
//   reference SetTotalsOneByOne keeps) give, byte for byte.
// - The kept totals (CKeptTotals) stand while the store's change count is the one they were
//   made at: every change the engine makes itself is noted as it is made; any other drops
//   them and the next recalculation walks the rows. The builds with checks hold the kept
//   sums against a walk over the rows after every recalculation through them.
#pragma once

#include "engine/estimate/CCompensatedSum.h"
#include "engine/estimate/CDecimal.h"
#include "engine/estimate/CEstimateColumns.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CKeptTotals.h"
#include "engine/estimate/IEstimateSheet.h"
#include "engine/estimate/RowKinds.h"
#include "engine/estimate/TotalRows.h"
#include "platform/base/CString.h"

#include <cmath>

#include <array>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CTotalsWalk;
class CWalkBelowTax;

// The rows a step or classification row adds up: those from the nearest heading above it
// (of any level, or of one level) or from the top of the estimate, down to the row itself.
enum class EStepRange : int {
    nearestHeading,
    wholeEstimate,
    kindHeading,
    largeHeading,
    middleHeading,
    smallHeading
};
// A range as the row keeps it (its second parameter, written to the file) and as its
// dialog chooses it (codes 0 to 5), and back; an unknown code is no range.
constexpr std::optional<EStepRange> StepRangeFromCode(int nCode)
{
    if (nCode < static_cast<int>(EStepRange::nearestHeading) ||
        nCode > static_cast<int>(EStepRange::smallHeading))
        return std::nullopt;
    return static_cast<EStepRange>(nCode);
}
constexpr int StepRangeCode(EStepRange eRange)
{
    return static_cast<int>(eRange);
}

class CEstimateEngine {
public:
    // The total levels (RowKinds.h) by their names here too: CEstimateEngine::levelGrand.
    using enum ETotalLevel;
    // The rows ahead of the one being worked on whose cells the recalculation loops fetch in
    // advance (PrefetchRow): a row's header and its cells lie apart and are otherwise a
    // cache miss each.
    enum { ROW_PREFETCH_DISTANCE = 6 };
    // The same for a look at the row kinds alone, which does little per row.
    enum { KIND_PREFETCH_DISTANCE = 24 };

    using CColumnInfo = CEstimateColumns::CColumnInfo;
    using ETotalMode = CEstimateColumns::ETotalMode;

    // The engine over the edit page's rows (which it makes count their changes), with their
    // counts, read where the model (or a test's sheet) keeps them.
    CEstimateEngine(IEstimateSheet& sheet, CGridRowArray& rows, const int& nUsedRows, const int& nRowLimit,
                    const int& nColumnCount);
    CEstimateEngine(const CEstimateEngine&) = delete;
    CEstimateEngine& operator=(const CEstimateEngine&) = delete;

    const CEstimateColumns& Columns() const { return m_columns; }
    int GetUsedRows() const { return m_nUsedRows; }
    int GetRowLimit() const { return m_nRowLimit; }
    bool IsValidRow(int nRow) const { return nRow >= 0 && nRow < m_nRowLimit; }
    bool IsValidColumn(int nCol) const { return m_columns.IsValid(nCol); }

    // ---- reading the rows -------------------------------------------------------------
    // A cell's text without a copy (empty for a missing row or cell), a row's kind (0 for a
    // missing row) and the number a cell reads as.
    const CString& EditCell(int nRow, int nCol) const;
    // The edit page's rows themselves, for reading.
    const CGridRowArray& Rows() const { return m_rows; }
    ERowKind EditKind(int nRow) const
    {
        const CGridRow* pRow = m_rows.GetRow(nRow);
        return pRow != nullptr ? pRow->GetKind() : kindEmpty;
    }
    double CellValue(int nRow, int nCol) const;
    // Asks the processor for the row's kind ahead of use (a look at the kinds alone).
    void PrefetchKind(int nRow) const
    {
        if (const CGridRow* pRow = m_rows.GetRow(nRow))
            pRow->PrefetchKind();
    }
    // Asks the processor for the row's kind and cells ahead of use (CGridRow::Prefetch).
    void PrefetchRow(int nRow, int nFirstCell, int nLastCell, int nFirstNumber = -1,
                     int nLastNumber = -1) const
    {
        if (nRow < m_nUsedRows) {
            if (const CGridRow* pRow = m_rows.GetRow(nRow))
                pRow->Prefetch(nFirstCell, nLastCell, nFirstNumber, nLastNumber);
        }
    }

    // ---- the cell store ---------------------------------------------------------------
    // The text an edit of a cell started from: a commit of an empty text into a cell whose
    // edit started empty stores nothing. Every store forgets it.
    const CString& GetEditStartText() const { return m_strEditStartText; }
    void SetEditStartText(const CString& strText) { m_strEditStartText = strText; }
    // A cell written as typed: a number text in a numeric column is rounded by the column's
    // rounding rule (not in a free row) and picture and kept in normal form; with bForce
    // false an empty text into a cell whose edit started empty stores nothing. 1 when stored.
    bool SetCellText(const char* lpszText, int nRow, int nCol, bool bForce);
    // What SetCellText stores for the text in a valid cell.
    CString StoredText(const char* pText, int nRow, int nCol) const;
    // The user's input into a cell (typed, replaced): SetCellText, then in a numeric column
    // what it stored kept as input is (CNumberRules::InputTextKept), and the row's formulas
    // worked out with bCalcRow. Whether SetCellText stored.
    bool StoreInputText(const char* lpszText, int nRow, int nCol, bool bForce, bool bCalcRow);
    // Stores a final text: the row object made (growing the rows and the used rows as
    // needed), the change noted for the kept totals.
    bool StoreCell(int nRow, int nCol, CString&& strText);
    void SetRowKind(ERowKind nKind, int nRow);
    // From now on the sheet is told of each row from nFromRow on before a cell or the kind
    // of it changes (IEstimateSheet::RowToBeWritten), until told otherwise (INT_MAX: no
    // row).
    void KeepRowsBeforeWrites(int nFromRow) { m_nKeepWritesFrom = nFromRow; }
    // The edit page's row object at nRow, made (growing the array) when missing.
    CGridRow* MakeRow(int nRow);
    // Puts the rows back from nFirstRow on in the order given: they must be the row objects
    // of those places (MakeRow's), reordered. The kept totals know rows by their places and
    // are left to the caller to forget.
    void PlaceRows(int nFirstRow, const std::vector<CGridRow*>& rows);
    // Whether a change the engine is about to make can be noted (nothing else changed the
    // rows since the kept totals, and the figures, last knew them); NoteNeutralChange after a
    // change that moves no number (an indent) keeps them in step.
    bool IsKeptInStep() const { return m_kept.IsInStep(m_rows.GetChangeCount()); }
    struct CInStep {
        bool bKept;
        bool bFigures;
    };
    CInStep BeforeNeutralChange() const { return {IsKeptInStep(), IsFiguresInStep()}; }
    void NoteNeutralChange(CInStep inStep)
    {
        m_kept.NoteNeutralChange(inStep.bKept, m_rows.GetChangeCount());
        if (inStep.bFigures)
            m_nFiguresChanges = m_rows.GetChangeCount();
        else
            m_bFiguresKnown = false;
    }
    // A number text in a numeric column in its normal form; other texts as they are.
    void NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const;
    // A number in a numeric column as the grid shows it, by the column's picture (values
    // closer to zero than 1e-8 show as zero): false for any other cell.
    static bool ShownNumberText(const CString& strCell, const CColumnInfo& info, CString& strShown);
    // The stored text of a value in a column: its normal form rounded by the column's rule
    // (bRoundBySpec) and the picture's decimals.
    CString StoredNumberText(int nCol, CDecimal value, bool bRoundBySpec) const;
    // Stores the normal form of a value rounded by the column's rules (as SetCellText with
    // force does for a number text).
    void StoreNumber(int nRow, int nCol, const CDecimal& value);
    // The same for a double, worked out in whole numbers where it can be; a text equal to
    // the cell's is not stored again. bSpecAlways: rounded by the column's rounding rule on
    // a free row too (as a row formula is).
    void StoreNumber(int nRow, int nCol, double value, bool bSpecAlways = false);

    // ---- row formulas -----------------------------------------------------------------
    // Computes the formula columns ("計") of a row from nFirstCol on, left to right;
    // headings and summary rows are not calculated.
    void CalcRow(int nRow, int nFirstCol) { CalcRowExcept(nRow, nFirstCol, {}); }
    // The same, leaving the columns in kept (sorted) as they are.
    void CalcRowExcept(int nRow, int nFirstCol, const std::vector<int>& kept);
    // The row formulas of every used row from nFirstRow on.
    void CalcRows(int nFirstRow);
    // 1 when no column the formula references holds a number in the row.
    int FormulaLacksNumbers(int nRow, const char* lpszFormula) const;

    // ---- totals and the recalculation -------------------------------------------------
    // Makes the row the total of a level (discount: of the engine's discount level) unless
    // it is one already, and fills it. nLastHeading: the last row of the discount level's
    // heading kind above nRow when the caller knows it, or -1.
    void MakeTotalRow(int nRow, ETotalLevel nLevel, int nLastHeading = -1);
    // The level the next discount total is made for (the recalculation sets it from each
    // discount total it meets).
    void SetDiscountLevel(ETotalLevel nLevel) { m_nDiscountLevel = nLevel; }
    // Step rows, classification rows, totals and tax rows from nFromRow (-1: 0) down to the
    // last used row: through the kept sums after an edit where they serve, else in passes.
    void RecalcTotals(int nFromRow);
    // Row formulas of every used row, then the totals from row 0 (the rows gone through once
    // where that can be).
    void RecalcAll();
    // The reference ways the quick ones are held against: the totals made one by one, each
    // walking its own range, and numbers worked out through their texts and CDecimal.
    void SetTotalsOneByOne(bool bOn) { m_bTotalsOneByOne = bOn; }
    void SetNumbersThroughTexts(bool bOn) { m_bNumbersThroughTexts = bOn; }
    double SumUnderHeading(int nRow, ETotalLevel nLevel, int nCol) const;
    // The total row of the heading kind nKind from nStartRow down: -1 when a heading at its
    // level or above (or the end of the rows) comes first; a row of a total, sum, tax or
    // discount-total kind is its own total (nStartRow - 1).
    int FindTotalRow(int nStartRow, ERowKind nKind) const;
    // The step and classification rows (their texts copied first: they may be the row's own).
    void MakeStepRow(int nRow, const char* lpszTarget, int nTargetCol, EStepRange eRange);
    void MakeClassifyRow(int nRow, const char* lpszName, const char* lpszRate, const char* lpszTarget,
                         int nTargetCol, int nColumnMode, EStepRange eRange);
    // The first row of a step or classification range.
    int FindRangeStart(int nRow, EStepRange eRange) const;
    bool CellMatchesTarget(int nRow, int nTargetCol, const char* lpszTarget) const;
    // The indent of the name cell of the nearest row of a kind, looking down first.
    int FindNameIndent(int nRow, ERowKind nKind, int nNameCol) const;
    // The tax of a column as a number text, and the sum of a column over the estimate's
    // leaf rows (the free rows too unless bExcludeFree).
    void CalcTaxAmount(CString& strTax, int nCol, bool bExcludeFree, int nRate);
    double SumEstimateAmount(int nCol, bool bExcludeFree) const;
    // The tax row's cells: the tax in the amount column, the second column's (the same
    // text, or its own column's tax with the vertical total), then its other formulas.
    void StoreTaxRow(int nRow, int nAmountCol, int nSecondCol, const CString& strTax, int nRate);
    IEstimateSheet::CTaxSettings GetTaxSettings() const { return m_sheet.GetTaxSettings(); }

    // ---- every figure after a command -------------------------------------------------
    // Whether the rows or the tax settings changed since every figure was last what a full
    // recalculation gives (never before the figures were first taken: the rows are still
    // being read).
    bool HasChangesSinceFiguresDone() const
    {
        return m_bFiguresTaken &&
               (!m_bFiguresKnown || m_rows.GetChangeCount() != m_nFiguresChanges || !m_figureRows.empty() ||
                m_bRecalcWrote || !(m_sheet.GetTaxSettings() == m_figuresTax));
    }
    // Takes the figures as they stand for right (an estimate just made, or one just worked
    // out in full).
    void TakeFiguresAsDone();
    // Sets the engine out on the rows of an estimate just read. A file holds the figures
    // its form and the settings gave when it was saved, which they need not give now
    // (saved without a recalculation, under another tax rate): with bWorkOut every figure
    // is worked out at once (RecalcAll), and the totals' sums are kept from its walk;
    // otherwise they stay the file's, the first change of a row after them works every one
    // out, and the sums are made when the program is next idle (KeepTotalsWhenIdle), so that
    // the open costs no more than the file's reading and the first edit what any other does.
    void StartOnRowsRead(bool bWorkOut);
    // Makes the kept totals of an estimate just read with its file's figures, when nothing
    // has made them since (an edit, a recalculation): true when they were made now.
    bool KeepTotalsWhenIdle();
    // Brings every computed figure (row formulas, step, classification and total rows, tax
    // rows wherever they stand) to what RecalcAll gives from the rows as they are. When only
    // the engine's own writes changed the rows since the figures were last done, it works
    // out those rows and rewrites the totals and tax rows through the kept sums; otherwise
    // it runs RecalcAll. false when nothing changed.
    bool RecalcChangedFigures();

    // ---- the kept totals --------------------------------------------------------------
    // Whether each total's sums are kept, so that a recalculation after an edit rewrites
    // only the totals it changes (never with the totals made one by one).
    bool AreTotalsKept() const { return m_kept.IsBuilt(); }
    // The rows changed beyond what the kept totals can follow: a full walk makes them again.
    void ForgetKeptTotals() { m_kept.Forget(); }
    // Makes the kept totals from the rows as they stand, writing nothing (an estimate just
    // read), so that its first edit rewrites the totals it changes instead of walking every
    // row; false where the rows are of a kind the kept totals cannot follow.
    bool KeepTotalsOfTheRows();
    // The rows' kinds one after another while the kept sums hold the rows as they are; null
    // otherwise.
    const std::vector<ERowKind>* KeptKinds() const;
    // The consistency check the builds with checks run after every recalculation through
    // the kept sums.
    bool KeptSumsMatchTheRows() const { return m_kept.MatchesTheRows(*this); }
    // The rows the totals walks have read since the engine was made (a row read by two walks
    // counts twice): what a recalculation costs in passes over the rows.
    unsigned long long GetRowsWalked() const { return m_nRowsWalked; }

    // ---- what the totals walk and the kept totals use ---------------------------------
    // The columns the totals add up, in column order, each with an empty sum.
    void GetTotalColumns(std::vector<CTotalColumn>& columns) const;
    // Whether a formula a total row works out reads a formula column at or right of its own
    // that the total does not add up: such a column shows the text of the row's last
    // rewrite, so a total row's figures then hang on when it was last written.
    bool TotalFormulasReadAhead() const;
    // Stores the sums into a total row (the columns in column order), then works out the
    // row's other formula columns on them.
    void WriteTotalRow(int nRow, const std::vector<CTotalColumn>& sums);
    // A total that adds no rows (no heading, or nothing between the heading and itself): its
    // figures are what its own row formulas make of its other cells, never what it showed
    // before.
    void WriteTotalWithoutRows(int nRow);
    // The tax texts into a tax row, then its other formula columns; the row is repainted.
    void WriteTaxRow(int nRow, const CTaxTexts& tax);
    // The formula columns with what the form says of them, taken once for the rows of a
    // recalculation (the form stays as it is while one runs).
    struct CRowFormulas {
        std::vector<int> columns;
        std::vector<CColumnInfo> infos;
        int nColumns = 0;
    };
    void GetRowFormulas(CRowFormulas& formulas) const;
    // Works out the row's formulas as CalcRow does, keeping the numbers it reads and writes
    // for TakeRowNumber, and leaving the rows' remembered numbers alone (the walk keeps its
    // own store of them): true when it worked the row out (not a heading or summary row).
    bool CalcRowKeepingNumbers(int nRow, const CRowFormulas& formulas);
    // The number of a column of the row CalcRowKeepingNumbers last worked out, as CalcRow
    // read or wrote it: false where it read none (the cell is then read from its text).
    bool TakeRowNumber(int nCol, double& value) const
    {
        const size_t nAt = static_cast<size_t>(nCol);
        if (m_rowValueStamps[nAt] != m_nRowValueStamp || std::isnan(m_rowValues[nAt]))
            return false;
        value = m_rowValues[nAt];
        return true;
    }

private:
    // The tests of the kept totals' consistency check break a kept sum on purpose.
    friend struct CKeptTotalsProbe;

    // The first row a total at nRow of a level adds (its heading's row + 1; 0 for the whole
    // estimate), or -1 when it has no heading: none of the level above it, the nearest one
    // marked non-calculated, or for a discount total none whose name its label holds.
    // nLastHeading as MakeTotalRow takes it.
    int FindTotalRange(int nRow, ETotalLevel nLevel, int nLastHeading) const;
    // The passes of a recalculation from nFromRow: step rows, classification rows, the
    // totals; nTaxRow receives the first free row at or below nFromRow (-1: none).
    // bBelowTaxInOneWalk: more tax rows lie below that one, and no step or classification
    // row does, so one walk below it (in RecalcTotals) does the rounds the tax rows below
    // would start; the totals below the tax row are then left to it. pKinds: the rows'
    // kinds as the kept totals hold them, read in place of the rows' own (null: none).
    void RecalcPasses(int nFromRow, int& nTaxRow, bool& bBelowTaxInOneWalk,
                      const std::vector<ERowKind>* pKinds = nullptr);
    // The totals of the walk from nFromRow down (CTotalsWalk); bAny: a total row lies at or
    // below nFromRow; bWhole: a grand total or a free row does; totals from nWriteEnd on
    // are read, not written; nTaxRow: the first free row at or below nFromRow (INT_MAX:
    // none).
    void RecalcTotalRows(int nFromRow, bool bAny, bool bWhole, int nWriteEnd, int nTaxRow);
    void CalcRowsFirst();
    // Runs a totals walk, takes in what it read (the rows walked, the estimate's amounts)
    // and ends the working out of rows in a walk.
    void RunWalk(CTotalsWalk& walk);
    // The recalculation from nFromRow through the kept totals: the totals the changes since
    // they were made reach, those not showing their sums and the tax rows, rewritten in row
    // order. false where they cannot serve (the walk then does the work).
    bool RecalcThroughKeptSums(int nFromRow);
    // The texts of a tax row now, from the amounts the last walk (or the kept sums) took
    // where they serve.
    CTaxTexts MakeTaxTexts();
    // The tax texts into a tax row (a free row, whose numbers the column's rounding rule
    // leaves alone), then the row's other formula columns.
    void StoreTaxRow(int nRow, const CTaxTexts& tax);
    // One stored tax text, written only when the cell does not hold it already: a
    // recalculation that finds the tax as it stands changes nothing (an export or a print
    // leaves the estimate unmodified).
    void StoreTaxText(int nRow, int nCol, const CString& strStored);
    bool StoreWholeNumber(CGridRow& row, int nRow, int nCol, const CColumnInfo& info, double value,
                          bool bSpecAlways, double* pStored = nullptr);
    bool CalcCompiledFormula(CGridRow& row, int nRow, int nCol, const CColumnInfo& info, int nColumns);
    // A new row for the numbers CalcRow reads and writes (m_rowValues), and one formula
    // column of the row worked out.
    void StartRowValues();
    void CalcFormulaColumn(CGridRow* pRow, int nRow, int nCol, const CColumnInfo& info, int nColumns);
    // What SumEstimateAmount(nCol, true) gives for the summed columns, as the last walk (or
    // the kept sums) took it; used straight after, anything else clears it.
    bool TakeWalkedAmount(int nCol, bool bExcludeFree, double& amount) const;
    bool TakeKeptAmount(int nCol, bool bExcludeFree, double& amount) const;

    IEstimateSheet& m_sheet;
    CGridRowArray& m_rows;
    const int& m_nUsedRows;
    int m_nKeepWritesFrom = INT_MAX; // KeepRowsBeforeWrites
    const int& m_nRowLimit;
    CEstimateColumns m_columns;
    CKeptTotals m_kept;
    CString m_strEditStartText;
    ETotalLevel m_nDiscountLevel = LevelFromNumber(0); // none until a discount total is met
    bool m_bTotalsOneByOne = false;
    bool m_bNumbersThroughTexts = false;
    // Set by RecalcAll: the next totals walk works out each row's formulas (CalcRow) just
    // before it reads the row; cleared once the rows are worked out.
    bool m_bCalcRowsInWalk = false;
    // Set by RecalcTotals for its first walk: a walk from row 0 builds the kept totals as
    // it reads the rows.
    bool m_bKeepInWalk = false;
    // Set by RecalcTotals while it recalculates: what its first walk keeps from the first
    // tax row down, for the walks below the tax rows to go on from (CWalkBelowTax).
    CWalkBelowTax* m_pBelowTax = nullptr;
    // Cleared by the totals walk while it works out rows: the rows' remembered numbers are
    // left alone (StoreWholeNumber); the walk takes the numbers it stores as CalcRow kept
    // them.
    bool m_bRememberInRows = true;

    std::string m_strExpression;         // the formula being evaluated, reused across rows
    std::string m_strNumberText;         // a number text being made, reused across cells
    std::vector<double> m_formulaValues; // the slot values of a compiled formula
    std::vector<int> m_summedColumns;    // the columns a total or tax row stored its sums in
    // The numbers of the row CalcRow works on, read once for all its compiled formulas and
    // kept in step as they write: per column the value (NaN: no plain number) and the
    // number of the CalcRow call it belongs to (m_nRowValueStamp; older ones are unread).
    std::array<double, CEstimateColumns::MAX_COLUMNS> m_rowValues{};
    std::array<unsigned, CEstimateColumns::MAX_COLUMNS> m_rowValueStamps{};
    unsigned m_nRowValueStamp = 0;

    // The numbers of the summed columns as the totals walks that do not work out the rows
    // last read them, row by row (entry nRow x summed columns + the column's place among
    // them), each with the text it was read from: the walk reads them from here, one run
    // through memory, instead of from the rows' own remembered numbers, which lie kilobytes
    // apart. An entry is used only when its text equals the cell's present text, and its
    // number is what that text reads as, so rows moved, changed or a changed form cost a
    // new reading, never a wrong sum. Cost: 32 bytes per row and summed column.
    std::vector<CRememberedNumber> m_walkNumbers;
    std::vector<std::pair<int, CCompensatedSum>> m_walkedAmounts;
    bool m_bWalkedAmounts = false;
    unsigned long long m_nRowsWalked = 0;

    // Whether every figure is what a full recalculation gives, but for the rows the engine
    // wrote since (m_figureRows): the store's change count then was m_nFiguresChanges, and
    // every write the engine noted since kept it in step. A write the engine did not make
    // (rows inserted, deleted, pasted, put back by an undo, read from a file) moves the
    // count away, and RecalcChangedFigures then recalculates everything.
    bool IsFiguresInStep() const { return m_bFiguresKnown && m_rows.GetChangeCount() == m_nFiguresChanges; }
    void NoteFigureChange(bool bInStep, int nRow);
    // A heading or total came or went, or a name a discount total finds its heading by
    // changed: a total may add other rows than before, or none (it is then a row like any
    // other, worked out by its own formulas), so only RecalcAll gives what it gives. The
    // recalculation itself moves none.
    void NoteRangesMoved()
    {
        if (!m_bInRecalc)
            m_bRecalcAllWanted = true;
    }
    // Whether the estimate holds step or classification rows.
    bool HasRemadeRows() const;
    bool m_bFiguresTaken = false;
    bool m_bFiguresKnown = false;
    // The tax settings the figures were done under: the tax rows take another rate or
    // rounding at the end of the next command (the settings sheet's, say).
    IEstimateSheet::CTaxSettings m_figuresTax;
    unsigned long long m_nFiguresChanges = 0;
    std::vector<int> m_figureRows;
    // A recalculation is running (RecalcTotals), and one wrote rows since the figures were
    // last done: those are left to the recalculation from the first row, not to m_figureRows.
    bool m_bInRecalc = false;
    bool m_bRecalcWrote = false;
    // The figures cannot be brought up to date row by row (NoteRangesMoved, a file's
    // figures taken as read): the next RecalcChangedFigures runs RecalcAll.
    bool m_bRecalcAllWanted = false;
    // The rows were read with their file's figures: KeepTotalsWhenIdle makes the kept sums.
    bool m_bKeepWhenIdle = false;
};

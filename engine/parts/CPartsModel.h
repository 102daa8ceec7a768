// CPartsModel: a parts list's data apart from any window. The parts document owns one; every
// pane of the list reads and writes it, and what the list computes is tested without a
// window (tests/engine/parts).
//
// It holds the rows (element i is row i; an element may be null and the array may end before
// the rows in use or run past them: such a row reads as empty), the rows in use (the rows the
// file stores), the row limit, the column count of the list's parts form, the columns' rules
// taken from the form's texts (which the host gives, IPartsModelHost) and the undo store.
// The cell store, the row formulas and the computations of the editing commands are its
// own; each command returns its undo command (null when it changed nothing), which the
// grid records. The grid shows the rows and repaints what a command changed.
//
// Column roles, by the form item's attribute: "文字" text; "数値" a number column; an
// attribute containing "計" a calculated column (its 計算式 is worked out within the row),
// shown as a number only when it contains "計算". Numbers are stored in their "%f" form,
// rounded by the column's 丸め and the decimals of its 数値書式.
#pragma once

#include "engine/estimate/CCellSearch.h"
#include "engine/estimate/CEstimateColumns.h"
#include "engine/estimate/CFixedRateChange.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CRangeSum.h"
#include "engine/estimate/CRowFormula.h"
#include "engine/estimate/IEstimateSheet.h"
#include "engine/estimate/IGridCells.h"
#include "engine/parts/PartsUndoCommands.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <memory>
#include <string>
#include <vector>

// What the model needs of the list around it: the parts form's texts (attribute, picture,
// formula, rounding, T) and the panes told when the row counts changed.
class IPartsModelHost : public IColumnTexts {
public:
    // The rows in use or the row limit changed: the panes' scroll ranges and heights follow.
    virtual void RowCountsChanged() = 0;

protected:
    ~IPartsModelHost() = default;
};

class CPartsModel final : private IGridCells {
public:
    enum { MAX_COLUMNS = 100 };
    using EAction = CPartsUndoCommand::EAction;
    using CommandPtr = std::unique_ptr<CPartsUndoCommand>;

    explicit CPartsModel(IPartsModelHost& host);
    ~CPartsModel();
    CPartsModel(const CPartsModel&) = delete;
    CPartsModel& operator=(const CPartsModel&) = delete;

    // ---- counts -----------------------------------------------------------------------
    int GetRowsInUse() const { return m_nRowsInUse; }
    // The rows in use become nRows (at least 0); when they fall, the rows past them go, so
    // that none comes back when the list grows again.
    void SetRowsInUse(int nRows);
    // The rows in use become nRows when they are fewer; true when they grew.
    bool ExtendRowsInUse(int nRows);
    // The rows in use fall back to nRows when they are more.
    void ReduceRowsInUse(int nRows);
    int GetRowLimit() const { return m_nRowLimit; }
    void SetRowLimit(int nRowLimit);
    // The limit doubled until nRows rows fit (a list read or grown past the setting keeps
    // every row reachable).
    void GrowRowLimitToFit(int nRows);
    // The parts form's item count (at most MAX_COLUMNS).
    int GetColumnCount() const { return m_nColumnCount; }
    void SetColumnCount(int nColumns);

    // ---- rows -------------------------------------------------------------------------
    // Elements of the row array, the null ones included.
    int GetRowArraySize() const { return static_cast<int>(m_rows.size()); }
    // A row, or null when it was never written.
    const CGridRow* GetRow(int nRow) const;
    // Stores a cell's text as given, making its row when it has none (the array grows, the
    // rows between stay null); the rows in use reach the row. true when they grew; false
    // and nothing stored for a cell outside 0..MAX_COLUMNS-1 or a negative row.
    bool SetCell(int nRow, int nCol, const CString& strText);
    // nCount new empty rows after the array's last element; the rows in use stay.
    void AllocateRows(int nCount);
    // nCount unwritten rows at nRow (the rows from nRow on move down); the rows in use grow
    // by nCount and reach the last new row, the row limit grows to hold them.
    void InsertEmptyRows(int nRow, int nCount);
    // Removes row nRow (the rows below move up) and the rows in use fall by one, never below
    // 0. false, and nothing changes, when the row lies beyond the array.
    bool RemoveRowAt(int nRow);
    // Row nTop + i becomes the row that was row aOrder[i]: aOrder names each row of
    // nTop..nTop+size-1 once (false, and nothing changes, otherwise). The array grows to
    // hold the range; the rows in use stay.
    bool ReorderRows(int nTop, const std::vector<int>& aOrder);
    // Appends rows after the rows in use (the row limit grows when they pass it); returns
    // the first of them.
    int AppendRows(std::vector<std::unique_ptr<CGridRow>> rows);
    // The rows of a list read from its file: they are all in use, the row limit is the one
    // given (grown to hold them), and nothing done before can be undone.
    void TakeReadRows(std::vector<std::unique_ptr<CGridRow>> rows, int nRowLimit);
    // Rows nFirst..nLast (within the row limit) whole as they are, with the rows in use.
    CRowImage TakeImage(int nFirst, int nLast) const;

    // ---- columns ----------------------------------------------------------------------
    // A text of the form (empty outside its items).
    const CString& GetColumnText(int nCol, IColumnTexts::EColumnText eText) const;
    bool IsNumericColumn(int nCol) const;     // "数値", or containing "計"
    bool IsCalculatedColumn(int nCol) const;  // containing "計"
    bool IsNumberShownColumn(int nCol) const; // "数値", or containing "計算"
    bool IsUnitColumn(int nCol) const;        // code T "1"
    bool IsTextColumn(int nCol) const;        // containing "文字": sorted by its text
    // The cells are stored and calculated by the rules of their columns taken from the form
    // once (kept while the form's texts stay the same) and formulas of plain numbers are
    // evaluated compiled. With the plain way on, every cell takes its rules from the form's
    // texts again and every formula is put together as a text and read; both ways give the
    // same cell texts, byte for byte.
    void SetPlainCalculation(bool bOn) { m_bPlainCalculation = bOn; }
    // The columns' rules checked against the form once for as long as the returned scope
    // lives (rather than once per CalcRow or SetCellText), for a loop over many rows during
    // which the form stays as it is.
    [[nodiscard]] CEstimateColumns::CBatch KeepColumnRules() const
    {
        return CEstimateColumns::CBatch(m_columns);
    }

    // ---- the cell store ---------------------------------------------------------------
    // "" outside the columns and the row limit and for a row never written.
    const CString& GetCellText(int nRow, int nCol) const;
    // A number text in a number column in its "%f" form; anything else unchanged.
    void NormalizeNumberText(int nCol, CString& strOut, const CString& strIn) const;
    // Stores a text (a number in a number column rounded by the column's rules); nothing
    // outside the columns and the row limit. No formulas.
    void SetCellText(const CString& strText, int nRow, int nCol);
    // The text a cell shows: numbers by the column's picture (empty for zero); *pRight tells
    // whether it is drawn right-aligned.
    CString GetDisplayText(int nRow, int nCol, bool* pRight) const;
    // The text an edit opened on a cell starts with: a number as its column prints it, any
    // other text as stored.
    CString GetEditText(int nRow, int nCol) const;

    // ---- row formulas -----------------------------------------------------------------
    // Every calculated column of a row from a column on (any operand that is not a number
    // stops the formula), of a row a number was just typed into (such an operand stops a
    // formula only when it holds "*" or "/"), and CalcRow from the first column for every row of
    // nTop..nBottom: what a command that wrote, cleared or inserted those rows leaves, a full
    // recalculation's figures.
    void CalcRow(int nRow, int nFirstCol);
    void CalcTypedRow(int nRow);
    void CalcRows(int nTop, int nBottom);
    // true when no column the formula names holds a number in the row.
    bool HasNoNumericOperand(const CString& strFormula, int nRow) const;

    // ---- the editing commands ---------------------------------------------------------
    // Each changes the rows and returns its undo command, or null when it changed nothing.
    // Blocks are ordered (left <= right, top <= bottom).

    // A text typed into a cell: stored in its normal form (in a number column a number
    // typed in full-width characters in ASCII, rounded by the column's rule), then the
    // row's formulas. nRowsBeforeEdit: the rows in use when the edit began (typing past the
    // last row adds it at once), -1 when not known.
    CommandPtr StoreTypedText(int nRow, int nCol, const CString& strText, int nRowsBeforeEdit);
    // A text put into a cell as it is picked (a unit): stored, the row worked out.
    CommandPtr StoreCellText(int nRow, int nCol, const CString& strText);
    // The range total put into a cell of a number column ("%f" of the value), the row
    // worked out; nothing in any other column.
    CommandPtr StoreNumber(int nRow, int nCol, double value);
    // The records a copy of the block puts on the clipboard: one per row from its top to
    // its bottom (cut to the used rows) with the texts of its columns (cut to 0..99). false,
    // and the list empty, when the block starts below the row after the last used one.
    bool CopyBlock(CRect rcBlock, CPMObjList& records) const;
    // The block's cells emptied (a cell cut), their rows worked out.
    CommandPtr CutCells(const CRect& rcBlock, const CPMObjList& clipboard);
    // Whole rows cut (rows nTop..nBottom, cut to the used rows): taken out.
    CommandPtr CutRows(int nTop, int nBottom, int nCol, const CPMObjList& clipboard);
    // The block a paste of nRecords records tiled over the selection rcSelection (ordered)
    // writes: the selection cut at the row limit. A whole column (bColumn), or a selection
    // that runs to the last row the list allows (the whole grid), stands for the list: the
    // paste fills its used rows, or the records' rows once where they are more, and adds no
    // empty rows after them.
    CRect TiledPasteBlock(CRect rcSelection, int nRecords, bool bColumn) const;
    // The clipboard's records tiled over the block (a record per row, starting again after
    // the last; columns repeated by the records' width), each row worked out. eAction tells
    // a whole column from any other block.
    CommandPtr PasteTiled(const CRect& rcTarget, const CPMObjList& records, EAction eAction);
    // The records written from the cell (nCol, nRow) on, the columns cut at the last one.
    CommandPtr PasteCellsAt(int nCol, int nRow, const CPMObjList& records);
    // One new row per record at nRow, every column taking the record's text of the column
    // as far from the record's first column (nothing past its last).
    CommandPtr PasteRowsAt(int nRow, const CPMObjList& records);
    // nCount empty rows at nRow, worked out (a formula of no column has its figure there).
    CommandPtr InsertRows(int nRow, int nCount);
    // Rows nTop..nBottom taken out (those beyond the array are not there to take).
    CommandPtr DeleteRows(int nTop, int nBottom);
    // Every column of rows nTop..nBottom (cut to the used rows) emptied, the rows worked out.
    CommandPtr ClearRows(int nTop, int nBottom);
    // Rows nTop..nBottom (cut to the used rows) ordered by column nCol: text order in a
    // "文字" column, values elsewhere; equal keys keep their order. *pSorted: the rows
    // ordered (0 when none). The command is null also when no row moved.
    CommandPtr SortRows(int nCol, int nTop, int nBottom, bool bAscending, int* pSorted = nullptr);
    // The matches of a replace (in search order), each cell taking its text with the match
    // replaced; each row written worked out once as typing works it out.
    CommandPtr ReplaceCells(const std::vector<CCellSearch::CMatch>& matches, const CString& strReplacement);
    // The fixed-rate change of number column nCol in rows nTop..nBottom (cut to the used
    // rows): each row that meets the condition and holds a number (or is empty) gets it
    // with the formula appended, worked out; the rows changed are worked out. *pChanged: the
    // rows changed.
    CommandPtr ApplyFixedRate(int nCol, int nTop, int nBottom, const CString& strFormula,
                              const CFixedRateChange::CCondition& condition, int* pChanged = nullptr);
    // Whether a row meets the fixed-rate change's condition.
    bool RowMatches(int nRow, const CFixedRateChange::CCondition& condition) const;
    // Adds the cells of column nCol, rows nTop..nBottom, to a range total.
    void AddToRangeSum(CRangeSum& sum, int nCol, int nTop, int nBottom) const;
    // Rows read from a CSV file or from another parts file, put in at nRow (the rows from
    // there on move down): list column c of each new row takes the row's text mapping[c]
    // (-1, or a text the row has not: nothing), and the row is worked out. null when there
    // is no row to put in or nRow lies outside the row limit.
    CommandPtr InsertReadRows(int nRow, const std::vector<std::vector<CString>>& rows,
                              const std::vector<int>& mapping);

    // ---- undo -------------------------------------------------------------------------
    CPartsUndoStore& Undo() { return m_undo; }
    const CPartsUndoStore& Undo() const { return m_undo; }

private:
    // The undo commands put back what they keep through the row moves below.
    friend class CPartsRowsWritten;
    friend class CPartsRowsSplice;

    // Whole rows moved: row nRow becomes a copy of pRow (null: the row has no object
    // again), rows put in at nRow, and nCount rows taken out there (those beyond the array
    // are not there to take: fewer may come back). None touches the rows in use.
    void PutRow(int nRow, const CGridRow* pRow);
    void PutRowsIn(int nRow, std::vector<std::unique_ptr<CGridRow>>& rows);
    std::vector<std::unique_ptr<CGridRow>> TakeRowsOut(int nRow, int nCount);

    // The tools' view of the cells (IGridCells).
    const CString& GetCell(int nRow, int nCol) const override { return GetCellText(nRow, nCol); }
    int GetUsedRows() const override { return m_nRowsInUse; }
    const CEstimateColumns& GetColumns() const override { return m_columns; }

    void CountsChanged() { m_host.RowCountsChanged(); }
    CString StoredCellText(const CString& strText, int nCol) const;
    CString StoredCellTextPlain(const CString& strText, int nCol) const;
    // The number column's cell as the user's input is kept (CNumberRules::InputTextKept).
    void StoreInputKept(int nRow, int nCol);
    // Works out column nCol's formula in a row by the given rules (CRowFormula). With the
    // row as it was before a command wrote it (pBefore), a figure the formula worked out
    // there from a number the command emptied goes with that number: the cell, where the
    // command left it as it was, is emptied where the formula, an operand gone, would keep it.
    void EvaluateColumn(int nRow, int nCol, const CRowFormula::CRules& rules, const CGridRow* pBefore);
    bool LostItsOperand(const CRowFormula& formula, int nRow, int nCol, const CGridRow& before,
                        const CRowFormula::CRules& rules) const;
    // Every formula column of a row from nFirstCol on, in column order.
    void CalcFormulaColumns(int nRow, int nFirstCol, const CRowFormula::CRules& rules,
                            const CGridRow* pBefore = nullptr);
    // The formulas of a row a command wrote, whose rows as they were before holds.
    void CalcWrittenRow(int nRow, const CRowImage& before, const CRowFormula::CRules& rules);
    // The command of rows written in place, kept as before holds them: null for no rows,
    // and for rows that stand as they were (the command changed nothing).
    std::unique_ptr<CPartsRowsWritten> Written(EAction eAction, CRowImage&& before) const;
    // Rows nTop..nBottom taken out, as a command of eAction (null when none was there).
    std::unique_ptr<CPartsRowsSplice> TakeOut(EAction eAction, int nTop, int nBottom);

    IPartsModelHost& m_host;
    std::vector<std::unique_ptr<CGridRow>> m_rows; // element i is row i; may be null
    int m_nRowsInUse = 0;
    int m_nRowLimit = 0;
    int m_nColumnCount = 0;
    // What the cell store and the calculation need of each column (numeric, calculated,
    // rounding rule, picture, formula), taken from the parts form as the estimate takes its
    // columns from its form, and taken again whenever a text they came from differs.
    CEstimateColumns m_columns{m_host, m_nColumnCount};
    std::vector<double> m_formulaValues;
    std::string m_strExpression; // the formula being worked out, reused from cell to cell
    CRowFormula m_plainFormula;  // the plain way's formula, read from the form at every cell
    bool m_bPlainCalculation = false;
    CPartsUndoStore m_undo;
};

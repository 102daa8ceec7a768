// CEstimateModel: an estimate's data apart from any window. The estimate document owns one;
// every window on the estimate reads and writes it, so two windows on one estimate show the
// same rows, and what the estimate computes is tested without a window.
//
// It holds the two pages of rows (the edit page, which the engine computes over, and the
// summary page the summary-table command makes from it), the edit page's used-row count
// and the row limit, the column count of the estimation form, the information values, the
// subject numbering with the numbers it keeps, the undo store, and the engine.
//
// A page is asked for by name (Rows(EPage::edit)): which page a window shows does not
// change what a reader gets. What a computation does beyond the rows (the windows repaint
// the rows written and follow the used rows grown; the form's texts and the tax settings)
// is asked of the host (IEstimateModelHost), which the document is.
#pragma once

#include "engine/estimate/CCellSearch.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CRowSort.h"
#include "engine/estimate/CRowSteps.h"
#include "engine/estimate/CSubjectNumbers.h"
#include "engine/estimate/CUndoCommand.h"
#include "engine/estimate/CUndoStore.h"
#include "engine/estimate/IEstimateSheet.h"
#include "platform/base/CString.h"

#include <array>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CEstimateCopyBuffers;
class CSummaryTable;
class CUnnecessaryRows;

// What the model needs of the estimate around it. The column texts and the tax settings
// are those of IEstimateSheet; GrowUsedRows tells that the model's used rows grew to
// nRows (the windows' scroll ranges follow), RowsWritten that rows were rewritten.
class IEstimateModelHost : public IEstimateSheet {
public:
    // Rows were put in or taken out at nFromRow: the rows from there on stand elsewhere, the
    // used rows and the row limit may have changed (the windows end a selection drag and
    // follow the grid's height).
    virtual void RowsMoved(int nFromRow) = 0;
    // The remembered row went from nOld to nNew (-1: none): every window repaints both.
    virtual void MarkRowMoved(int nOld, int nNew) = 0;

protected:
    ~IEstimateModelHost() = default;
};

class CEstimateModel : private IEstimateSheet, private IUndoTarget {
public:
    enum class EPage { edit, summary };
    enum { MAX_INFORMATION = 100 };
    // How the rows stand on printed pages for the row commands: the rows of a page, and
    // whether a heading after an empty row starts a page ("ページ揃え"; the window's setting).
    struct CPageRule {
        int nPageRows = 1;
        bool bAlign = false;
    };

    explicit CEstimateModel(IEstimateModelHost& host);
    ~CEstimateModel();
    CEstimateModel(const CEstimateModel&) = delete;
    CEstimateModel& operator=(const CEstimateModel&) = delete;

    // ---- rows and their counts --------------------------------------------------------
    // A page's rows, for reading: every change goes through the operations below, so that
    // the used rows, the kept totals and the windows follow it.
    const CGridRowArray& Rows(EPage ePage) const
    {
        return ePage == EPage::summary ? m_summaryRows : m_editRows;
    }
    // The edit page's used rows. They change as rows are put in and taken out, written past
    // the last used one (ReachRow) or replaced whole (ReplaceEditRows); RestoreUsedRows is
    // the one way to give them a count of its own: what an undo step puts back.
    int GetUsedRows() const override { return m_nUsedRows; }
    void RestoreUsedRows(int nUsedRows) override { SetUsedRowCount(nUsedRows); }
    // How many rows the estimate may have (the grid's last row is one below it).
    int GetRowLimit() const override { return m_nRowLimit; }
    void SetRowLimit(int nRowLimit) { m_nRowLimit = nRowLimit; }
    // The limit grown, by doubling (from the count itself when there is none), until nRows
    // rows fit: an estimate read with more rows than the setting allows keeps every row
    // reachable. A limit that already fits stays.
    void GrowRowLimitToFit(int nRows);
    // The edit page's rows replaced whole (an estimate read or converted): what was kept of
    // the former rows is forgotten, the used rows are the new rows, and the row limit grows
    // (doubling) until every one of them is reachable.
    void ReplaceEditRows(std::vector<std::unique_ptr<CGridRow>>&& rows);
    // The used rows grown to reach nRow (a row written at or past the last used one).
    void ReachRow(int nRow)
    {
        if (nRow >= m_nUsedRows)
            GrowUsedRows(nRow + 1);
    }
    // The indent of a cell of a page (nothing for a cell outside the row limit or the
    // form's columns), the row object made when missing. An indent moves no number, so the
    // kept totals stay; a row made past the edit page's stored rows makes the used rows
    // reach it, one more than before at least.
    void SetCellIndent(EPage ePage, int nIndent, int nRow, int nCol);

    // ---- the summary page ----------------------------------------------------------------
    // One cell or kind of a summary row, the row object made when missing (nothing outside
    // the row limit or the form's columns).
    void SetSummaryCell(int nRow, int nCol, const char* lpszText);
    void SetSummaryKind(ERowKind nKind, int nRow);
    // The summary table's builder over the summary page's rows (nFormColumns: the estimation
    // form's columns).
    CSummaryTable SummaryTable(int nFormColumns);

    // ---- rows put in and taken out of the edit page ------------------------------------
    // Every insertion and deletion of rows goes through these two, so that the used rows,
    // the row limit, the kept totals and the undo store follow the rows moved.
    // nCount rows put in at nRow, the rows below moving down: ppRows' objects taken over
    // (null: new empty rows). The used rows grow to cover them, and the row limit doubles
    // until the last used row stays below it (no row falls off the estimate).
    void PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows) override;
    // Up to nCount rows taken out at nRow (as many as the page has there): their objects go
    // to pTaken, else to the steps being recorded, else they are deleted. Returns how many
    // rows went.
    int TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>* pTaken);
    // Rows at and below nFromRow moved by a command: the kept totals, which know the rows by
    // their places, are dropped, and the undo store learns it (see CUndoStore::NoteRowShift).
    void NoteRowShift(int nFromRow);
    // While steps are recorded, every insertion and deletion above is one of them (one rows
    // command records at a time; taking steps back is no step).
    void BeginRowSteps(CRowSteps& steps);
    void EndRowSteps() { m_pRowSteps = nullptr; }
    bool IsRecordingRowSteps() const { return m_pRowSteps != nullptr; }

    // ---- page alignment ------------------------------------------------------------------
    // Each does nothing (and gives 0, or -1 for AlignHeadings) while the rule does not align.
    // The heading that alignment keeps at a page start after a change at nRow (0: none).
    int FirstAlignedHeading(int nRow, const CPageRule& rule) const;
    // nRow made to start a page (PageAlignment::AlignRowToPage); the page start.
    int AlignRowToPage(int nRow, const CPageRule& rule);
    // nRow and every later heading after an empty row made to start a page; the last aligned.
    int AlignHeadings(int nRow, const CPageRule& rule);
    // An empty row put in at nRow, a heading at the start of a later page kept there.
    void InsertRowAligned(int nRow, const CPageRule& rule);

    // ---- row commands ---------------------------------------------------------------------
    // Each works as the user's command does and records its undo command; the windows repaint
    // from the rows they name and work the totals out.
    // One empty row put in at nRow, the cell at nCol current (page alignment after it).
    void InsertRowAt(int nCol, int nRow, const CPageRule& rule);
    // The row at nRow taken out, the cell at nCol current (page alignment after it): the row
    // goes to the command's steps.
    void DeleteRowAt(int nCol, int nRow, const CPageRule& rule);
    // nCount empty rows put in at nFirstRow, as many as there is room for below the row limit
    // (what page alignment may add kept free); how many went in (0: none, nothing recorded).
    int InsertRowsAt(int nFirstRow, int nCount, const CPageRule& rule);
    // How many of nCount rows InsertRowsAt puts in at nFirstRow.
    int InsertableRows(int nFirstRow, int nCount, const CPageRule& rule) const;
    // The row at nRow emptied, the cell at nCol current; false (nothing recorded) when the
    // row holds nothing.
    bool ClearRow(int nCol, int nRow);
    // The used rows among nFirstRow..nLastRow emptied.
    void ClearRows(int nFirstRow, int nLastRow);
    // Rows nFirstRow..nLastRow (either order) marked non-calculated (bSet) or released: a
    // summary row or a row already so stays as it is. Records its undo command.
    void SetNonCalculated(bool bSet, int nFirstRow, int nLastRow) override;
    // The fixed-rate change of column nCol over the used rows among nFirstRow..nLastRow
    // (nothing, and nothing recorded, for a column outside the form).
    void ApplyFixedRate(int nCol, int nFirstRow, int nLastRow, const CRateSettings& settings) override;
    // The remembered row (-1: none); it moves with its row and goes with it.
    int GetMarkRow() const { return m_nMarkRow; }
    void SetMarkRow(int nRow) override;
    // Records the remembered row at nRow (an undoable command).
    void MarkRow(int nRow);

    // ---- commands over whole columns (CEstimateModelColumns.cpp) -------------------------
    // The columns a command emptied (nFirst -1: none, and nothing recorded).
    struct CColumnSpan {
        int nFirst = -1;
        int nLast = -1;
    };
    // Item clear: every used row's cells of columns nFirstCol..nLastCol (cut to the form's
    // columns) emptied, as the user empties a cell. Undo gives the rows back as they were,
    // what was typed into them included; the caller works out the cells the row formulas fill.
    CColumnSpan ClearColumns(int nFirstCol, int nLastCol);
    // The rows an indent moves, in the order of the indent tool's choices: the headings of a
    // level with their totals and their summary rows, the detail rows with theirs, or every row.
    enum class EIndentLevel : int { kind, large, middle, small, detail, all };
    // Which way the indent goes: fewer characters, more, or back to the cell's edge.
    enum class EIndentMove { reduce, increase, remove };
    // The indent of column nCol moved by nAmount characters (or removed) in every row of ePage
    // at eLevel (none outside the form's columns). On the edit page a summary row written at
    // the top takes the same indent on the summary page, and the edit page's rows are kept
    // for undo; the summary page, made again from the edit page, records nothing. Whether an
    // undo command was recorded.
    bool IndentColumn(EPage ePage, int nCol, EIndentLevel eLevel, EIndentMove eMove, int nAmount);

    // ---- pages, list rows, parts rows and the summary at the top -------------------------
    // (CEstimateModelPages.cpp) Each writes the rows as the user's command does and records
    // its undo command; the windows check the file's room for the rows first, then move the
    // cursor, repaint and work the totals out.
    // An empty page put in as page nPage (its first row nPage * rule.nPageRows), the rows from
    // there on a page further down.
    void InsertPage(int nPage, const CPageRule& rule);
    // The used rows of page nPage taken out, the rows below moving up; false (nothing
    // recorded) when the page holds no used row.
    bool DeletePage(int nPage, const CPageRule& rule);
    // Empty rows put in at nRow up to the end of its page, so that the row there starts the
    // next page, the heading the page alignment keeps at a page start kept there; how many
    // rows went in.
    int FeedPage(int nRow, const CPageRule& rule);
    // Every row unnecessary under nCondition (CUnnecessaryRows::FindNext from the row before
    // the last one deleted) deleted, each with the page alignment after it, as one command;
    // the first row deleted (-1: none, nothing recorded).
    int DeleteUnnecessaryRows(const CUnnecessaryRows& unnecessary, int nCondition, const CPageRule& rule);
    // nCount rows put in at nRow for rows taken from a list (past the used rows too, which then
    // reach them, so that an undo takes out exactly these rows), the heading the page
    // alignment keeps at a page start kept there. A step of the command being recorded.
    void PlaceListRows(int nRow, int nCount, const CPageRule& rule);
    // Where an estimate column takes a parts row's text from (InsertPartsRows): a parts
    // column, or one of these.
    enum : int {
        partsColumnNone = -1, // the form names no parts column: the cell is written empty
        notFromParts = -2,    // the form takes nothing from the parts: the cell is left alone
    };
    // nCount detail rows put in at nRow (PlaceListRows), each filled from a parts row (null:
    // a detail row left empty): column c takes the text of parts column sourceCols[c] (a
    // number text in its normal form) with the indent of the nearest detail row around the
    // new rows, then the row formulas are worked out. Recorded as a paste of as many rows at
    // the cell nCol, nRow.
    void InsertPartsRows(int nCol, int nRow, const CGridRow* const* ppRows, int nCount,
                         const std::vector<int>& sourceCols, const CPageRule& rule);
    // The summary page's rows written at the top of the edit page in whole pages of
    // nPageRows, in place of a summary written there earlier (CSummaryTable::CountWrittenRows;
    // no other row is taken away). Undo takes it out and puts the earlier one back.
    void WriteSummaryAtTop(int nPageRows);
    // A plain row put in at nRow (no page alignment) and made a classification row
    // (CEstimateEngine::MakeClassifyRow with these settings); undo takes exactly it out again.
    void InsertClassifyRow(int nRow, const char* lpszName, const char* lpszRate, const char* lpszTarget,
                           int nTargetCol, int nColumnMode, EStepRange eRange);
    // A plain row put in at nRow (no page alignment) and made the discount total of
    // nDiscountLevel, which becomes the engine's discount level.
    void InsertDiscountTotal(int nRow, ETotalLevel nDiscountLevel);
    // Rows picked from a list put in at nRow (PlaceListRows), one per entry of texts (the
    // texts of the entry's list columns), each made of kind nKind: estimate column c takes
    // the text of list column listCols[c] (-1 or a column the entry lacks: left alone) in its
    // normal form, with the indent of the nearest row of nKind, then the row formulas are
    // worked out. Recorded as a paste of as many rows at the cell nCol, nRow.
    void InsertPickedRows(int nCol, int nRow, const std::vector<std::vector<CString>>& texts, ERowKind nKind,
                          const std::vector<int>& listCols, const CPageRule& rule);
    // Rows read from a file: each row's kind, parameters and parameter texts, and its cells in
    // the estimate's columns; only the columns named in columns are written.
    struct CRowsRead {
        std::vector<CGridRow> rows;
        std::vector<int> columns;
    };
    // The rows read put in at nRow in their order (the row limit grown first to hold them and
    // two more), the heading the page alignment keeps at a page start kept there, the cells
    // written as typed. One command: undo takes them out again. How many rows went in.
    int InsertRowsRead(int nRow, const CRowsRead& read, const CPageRule& rule);
    // A subject's rows put in after nInsertRow in their order: the cells of the first nColumns
    // columns as typed with their indents, then the kinds and parameters (a step of the
    // command being recorded, see BeginRowsCommand).
    void InsertSubjectRows(int nInsertRow, const std::vector<CGridRow>& rows, int nColumns);

    // ---- special rows and the cells the picks write (CEstimateModelSpecialRows.cpp) -------
    // Each writes its row as the user's command does and records its undo command (through
    // the undo store, which records nothing for a command that left the rows as they were);
    // the windows check the file's room for the row first, then move the cursor, repaint and
    // work the totals out.
    // How a special row finds its place at nRow.
    enum class ENewRow {
        // Below the used rows the used rows reach it (no row goes in); among them an empty
        // row goes in, the heading the page alignment keeps at a page start kept there.
        reach,
        // An empty row goes in wherever nRow is, the heading kept at its page start.
        insert,
    };
    // A heading of kind nHeading (kind, large, middle or small) at nRow: strName (a number
    // text in its normal form) in the name column with the indent of the nearest heading of
    // its kind, strUnit in the unit column when the form has one (a column whose "T" code is
    // "1"; without one the unit goes nowhere). Recorded as a special row made, the cell nCol,
    // nRow current for its undo.
    void InsertHeadingRow(int nCol, int nRow, ERowKind nHeading, const CString& strName,
                          const CString& strUnit, ENewRow eNewRow, const CPageRule& rule);
    // The total of nLevel in a row put in at nRow (ENewRow::insert), recorded as a special row.
    void InsertTotalRow(int nCol, int nRow, ETotalLevel nLevel, const CPageRule& rule);
    // A discount row at nRow (ENewRow::reach) named "値引": strAmount in the amount column in
    // its normal form, a number rounded by the column's rule (CEstimateEngine::StoredNumberText),
    // the columns after it worked out. Recorded as a special row.
    void InsertDiscountRow(int nCol, int nRow, const CString& strAmount, const CPageRule& rule);
    // A consumption-tax row at nRow (ENewRow::reach) named "消費税", a free row holding the tax
    // of the amount column (worked out before the row goes in) at the tax settings' rate.
    // false, with nothing changed, for a form without an amount column.
    bool InsertTaxRow(int nCol, int nRow, const CPageRule& rule);
    // The row at nRow made a step row with these settings, or released to a detail row, in
    // place: undo gives the row back as it was.
    void SetStepRow(int nRow, bool bRelease, const char* lpszTarget, int nTargetCol, EStepRange eRange);
    // The classification row at nRow changed to these settings, or released to a detail row,
    // in place (InsertClassifyRow makes a new one).
    void SetClassifyRow(int nRow, bool bRelease, const char* lpszName, const char* lpszRate,
                        const char* lpszTarget, int nTargetCol, int nColumnMode, EStepRange eRange);
    // A unit picked from a list written into the cell at nCol, nRow in its normal form (the
    // used rows reach the row, an empty row becomes a detail row), the row's formulas worked
    // out with bCalcRow. Recorded as an edit of the cell.
    void WritePickedUnit(int nCol, int nRow, const CString& strUnit, bool bCalcRow);
    // The user's input into the cell at nCol, nRow (CEstimateEngine::StoreInputText, the row
    // worked out; an empty row that took the text becomes a detail row). Recorded as an edit
    // of the cell even when nothing was stored. Whether the text was stored.
    bool StoreInput(int nCol, int nRow, const CString& strText);
    // The range total strValue written into the cell at nCol, nRow, the columns after it
    // worked out. Recorded as an edit of the cell.
    void StoreRangeTotal(int nCol, int nRow, const CString& strValue);
    // The used rows among nFirstRow..nLastRow sorted by column nCol (CRowSort::SortRows), the
    // rows kept in their former order for the undo.
    void SortRows(int nFirstRow, int nLastRow, int nCol, CRowSort::EKey eKey, bool bAscending);
    // Rows read into a new estimate, each put at its row of targets (the rows between stay
    // as they are): an empty first cell, the row's kind, the cells of read.columns written as
    // typed, then its formulas worked out. No undo: an estimate made from a file is no
    // command.
    void WriteRowsAt(const CRowsRead& read, const std::vector<int>& targets);

    // ---- a rows command over several calls ------------------------------------------------
    // A subject dragged out of the tree is one command with its drop and the rows taken out
    // after it, which come from different windows: from BeginRowsCommand to the matching
    // EndRowsCommand every row put in or taken out is its step. One begun while another is
    // open joins it; the end of the outermost records the steps as a command of eAction that
    // is done again as it left the rows (true), or nothing when no row moved or bRecord is
    // false (a window gone in the middle: rows it moved withdraw the undo and redo there
    // were). One that left the rows as they were leaves the undo and redo there were.
    void BeginRowsCommand(CUndoCommand::EAction eAction);
    bool EndRowsCommand(bool bRecord = true);
    bool IsRowsCommandOpen() const { return m_nRowsCommandDepth > 0; }

    // ---- the copy buffers' commands (CEstimateModelClipboard.cpp) -------------------------
    // Whole rows and blocks of cells copied, cut and pasted through the copy buffers, which
    // the caller hands in (the application's, shared by every estimate window). Each works
    // as the user's command does on the rows or the block the window works out from its
    // selection, records its undo command (a copy records none) and says what the windows
    // repaint; the window checks first that the estimate's file holds the rows written.
    // A row copied as the grid copies it: kind, parameters, and the cells and indents of the
    // form's columns (a null source: an empty row).
    void CopyRow(const CGridRow* pSource, CGridRow* pTarget) const;
    // The block rcBlock (ordered, cut to the row limit and the form's columns) copied to the
    // cell copy buffer: its corners, then a cell per column of each used row in it.
    void CopyCells(CEstimateCopyBuffers& buffers, const CRect& rcBlock) const;
    // The rows a cell command wrote (nFirst -1: none, and nothing recorded).
    struct CWrittenRows {
        int nFirst = -1;
        int nLast = -1;
    };
    // The block copied, then its cells emptied; the cell at ptCurrent current for the undo.
    CWrittenRows CutCells(CEstimateCopyBuffers& buffers, const CRect& rcBlock, CPoint ptCurrent);
    // Where a cell paste goes: at the current cell ptCell (the whole buffer at its offsets
    // from there), or over the selection rcBlock (ordered), which the buffer's block repeats
    // over; whole rows take every column, a whole column its used rows (at least the block's
    // height).
    struct CCellPasteTarget {
        enum class EOver { cell, block, rows, column };
        EOver eOver = EOver::cell;
        CRect rcBlock;
        CPoint ptCell;
    };
    // The last row a paste at target writes (-1: none): the estimate's file must hold it.
    int LastCellPasteRow(const CEstimateCopyBuffers& buffers, const CCellPasteTarget& target) const;
    // The cell copy buffer pasted at target, the cells it overwrites going to the undo cell
    // buffer; an empty row written becomes a detail row.
    CWrittenRows PasteCells(CEstimateCopyBuffers& buffers, const CCellPasteTarget& target);
    // The undo cell buffer's cells written back at its first corner plus their offsets, the
    // cell at ptCurrent current for the undo.
    CWrittenRows PasteUndoCells(const CEstimateCopyBuffers& buffers, CPoint ptCurrent);
    // Rows nFirstRow..nLastRow (ordered; the used ones among them) copied to the row copy
    // buffer, their cells to the cell copy buffer.
    void CopyRows(CEstimateCopyBuffers& buffers, int nFirstRow, int nLastRow) const;
    // What a cut of rows did: how many rows went from nFirstRow, and the first row whose
    // place changed (the page alignment after the cut may move rows above the cut).
    struct CRowsCut {
        int nFirstRow = 0;
        int nCount = 0;
        int nChangedFrom = 0;
    };
    // The rows copied, then taken out (the undo keeps them), and the headings after them
    // aligned to their pages again.
    CRowsCut CutRows(CEstimateCopyBuffers& buffers, int nFirstRow, int nLastRow, const CPageRule& rule);
    // The row copy buffer's rows put in above nRow in their order, or as many rows as are
    // selected (nSelected, at least two), the last buffer row first; the cell at nCol, nRow
    // current. How many rows went in (0: none, nothing recorded).
    int PasteRows(const CEstimateCopyBuffers& buffers, int nCol, int nRow, int nSelected,
                  const CPageRule& rule);

    // ---- find and replace (CEstimateModelReplace.cpp) ---------------------------------------
    // A cell of the edit page as a find reads it: a number cell with the text the grid shows
    // for it (CEstimateEngine::ShownNumberText).
    CCellSearch::CCellText CellForSearch(int nRow, int nCol) const;
    // The cells of the edit page under a find (the row limit and the form's columns).
    CCellSearch EditPageSearch() const;
    // Every match of strFind on the edit page, in search order from the page's first cell
    // (with options.bSelectionOnly: rcBlock's first cell) on, the first cell included.
    std::vector<CCellSearch::CMatch> FindAll(const CString& strFind, const CCellSearch::COptions& options,
                                             const CRect& rcBlock) const;
    // The match's cell takes its text with the match replaced by strReplacement, stored as
    // input is (CEstimateEngine::StoreInputText: a number read by the one reading of numbers
    // and rounded by its column's rule), its row worked out with bCalcRow; an empty row
    // written becomes a detail row. Recorded as an edit of the cell.
    void ReplaceMatch(const CCellSearch::CMatch& match, const CString& strReplacement, bool bCalcRow);
    // Every match replaced so, as one command (a replace all); the rows written (none, and
    // nothing recorded, without matches).
    CWrittenRows ReplaceAll(const std::vector<CCellSearch::CMatch>& matches, const CString& strReplacement);

    // ---- undo and redo -------------------------------------------------------------------
    // The store's last command taken back (bRedo false) or done again, over this model: the
    // row commands it runs again follow rule, and those of the copy buffers work with
    // pBuffers (none: they do nothing). The figures kept for the command (KeepFiguresForUndo)
    // change places with the rows' own before it is taken back and after it is done again.
    CUndoOutcome RunUndoStep(bool bRedo, const CPageRule& rule, CEstimateCopyBuffers* pBuffers);
    // Undo gives back the figures the command found and redo those it left, rather than
    // working them out again (a recalculation level may leave figures as they stand, and a
    // total without rows keeps what it shows): the rows a recalculation is about to write
    // are kept as they stand, each row the first time after the last command was recorded
    // (or the rows command still open began). The engine says which total, tax, step and
    // classification rows it rewrites (RowToBeRewritten); before the formulas of every row
    // from nFromRow on are worked out, those rows are to be kept: each of them is kept
    // before the engine first changes it (RowToBeWritten), a row the recalculation leaves
    // as it stands needs no copy. Nothing is kept while no command can be undone.
    void KeepFiguresForUndo(int nFromRow);
    // The last command recorded, whose change the figures worked out after it gave back
    // (amounts cleared that their rows' formulas fill again), changed nothing: its record is
    // taken back and the one before comes back with its redo (CUndoStore::TakeBackUnchanged).
    // Whether it was taken back.
    bool TakeBackUnchangedRecord();

    // The estimation form's column count (MAX_COLUMNS at most, as the form reader keeps it).
    int GetColumnCount() const { return m_nColumnCount; }
    void SetColumnCount(int nColumnCount) { m_nColumnCount = nColumnCount; }

    // A page's row (null for a missing row or one at or past the row limit), cell text and
    // indent (empty and 0 for a cell outside the form's columns) and row kind (kindEmpty
    // for a missing row).
    const CGridRow* Row(EPage ePage, int nRow) const
    {
        return nRow >= 0 && nRow < m_nRowLimit ? Rows(ePage).GetRow(nRow) : nullptr;
    }
    const CString& CellText(EPage ePage, int nRow, int nCol) const;
    int CellIndent(EPage ePage, int nRow, int nCol) const;
    // Whether every cell of the edit page's row nRow in the first nFormColumns columns (the
    // estimation form's) is empty, whatever the row's kind.
    bool IsEditRowEmpty(int nRow, int nFormColumns) const;
    ERowKind RowKind(EPage ePage, int nRow) const
    {
        const CGridRow* pRow = Row(ePage, nRow);
        return pRow != nullptr ? pRow->GetKind() : kindEmpty;
    }

    // The zoom in percent the estimate is shown at and its file keeps (its first window's).
    int GetZoom() const { return m_nZoom; }
    void SetZoom(int nZoom) { m_nZoom = nZoom; }

    // ---- the computation --------------------------------------------------------------
    CEstimateEngine& Engine() override { return m_engine; }
    const CEstimateEngine& Engine() const { return m_engine; }

    // ---- information values -----------------------------------------------------------
    // The information sheet's values as stored (MAX_INFORMATION at most).
    int GetInformationCount() const override { return m_nInformationCount; }
    void SetInformationCount(int nCount) override;
    // A value; an index outside the values gives the empty text.
    const CString& GetInformation(int nIndex) const override;
    // Sets one value (an index beyond MAX_INFORMATION is ignored); the count grows to
    // cover it.
    void SetInformation(int nIndex, const CString& value) override;
    // Every value emptied (a new estimate).
    void ClearInformation();
    // Values taken over by a command (index, value; an index beyond MAX_INFORMATION is
    // ignored), recorded for undo: with the rows command recorded last when bWithRows (the
    // rows the same command read), so that one undo takes both back. Records nothing when
    // no value changes; true when one did.
    bool TakeOverInformation(const std::vector<std::pair<int, CString>>& values, bool bWithRows);

    // ---- subject numbers --------------------------------------------------------------
    const CSubjectNumbering& GetNumbering() const { return m_numbering; }
    void SetNumbering(const CSubjectNumbering& numbering) { m_numbering = numbering; }
    // The number of nRow in column nCol of a page ("" where none is shown).
    CString GetSubjectNumberText(EPage ePage, int nRow, int nCol) const
    {
        return m_subjectNumbers.GetText(Rows(ePage), m_nRowLimit, m_numbering, nRow, nCol);
    }

    // ---- undo -------------------------------------------------------------------------
    CUndoStore& Undo() { return m_undo; }
    const CUndoStore& Undo() const { return m_undo; }

private:
    class CPageKinds;
    class CAlignedRows;
    class CStepRecording;

    // What the undo commands act on (IUndoTarget): this model.
    const CGridRowArray& EditRows() const override { return m_editRows; }
    void DropRow(int nRow) override;
    void TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>& taken) override;
    void InsertRowAt(int nCol, int nRow) override { InsertRowAt(nCol, nRow, m_stepRule); }
    void DeleteRowAt(int nCol, int nRow) override { DeleteRowAt(nCol, nRow, m_stepRule); }
    void ClearRowAt(int nCol, int nRow) override { ClearRow(nCol, nRow); }
    void InsertRowsAt(int nFirstRow, int nCount) override { InsertRowsAt(nFirstRow, nCount, m_stepRule); }
    void ClearRowsAt(int nFirstRow, int nCount) override { ClearRows(nFirstRow, nFirstRow + nCount - 1); }
    CUndoOutcome CutRowsAt(int nCol, int nFirstRow, int nCount) override;
    CUndoOutcome CopyRowsAt(int nCol, int nFirstRow, int nCount) override;
    CUndoOutcome PasteRowsAt(int nCol, int nRow, const std::vector<const CGridRow*>& rows,
                             bool bCounted) override;
    // The clipboard commands' work (CEstimateModelClipboard.cpp): a cell pasted (false
    // outside the grid); the rows pasted from given rows.
    bool WritePastedCell(int nRow, int nCol, const CString& strText);
    int PasteRowsFrom(const std::vector<const CGridRow*>& rows, int nCol, int nRow, int nSelected,
                      bool bCounted, const CPageRule& rule);
    // A replaced text written into the match's cell (ReplaceMatch).
    void WriteReplaced(const CCellSearch::CMatch& match, const CString& strReplacement, bool bCalcRow);
    // The rows from nFromRow on moved: the remembered row follows (nMoved rows put in, or
    // taken out when negative), the host is told.
    void FollowRowsMoved(int nFromRow, int nMoved);
    // The rows KeepFiguresForUndo kept and the rows as they stand change places; the first
    // such row (INT_MAX: none).
    int ExchangeUndoFigures();
    // nMoved rows put in at nRow (taken out when negative) while a rows command is open: the
    // rows kept for it follow their rows.
    void MoveUndoFigures(int nRow, int nMoved);
    // Whether rows are kept for the undo now (the rows kept for an earlier record go).
    bool KeepsFiguresForUndo();
    // The row kept as it stands, unless it was kept already.
    void KeepFigureRow(int nRow);
    // The rows kept for an earlier record go, and no row is kept before it is written.
    void ForgetUndoFigures();
    // Every used row of the edit page as it stands, with the used-row count.
    CRowImage TakeEveryRow() const;
    // Records a command that wrote cells (pasted, cut, replaced, changed at a fixed rate),
    // with every used row as it stood before it.
    void RecordCellsWritten(std::unique_ptr<CUndoCommand> pCommand, CRowImage&& every);

    // The engine's sheet: the used rows grow here, everything else is the host's.
    const CString& GetColumnText(int nCol, EColumnText eText) const override;
    void GrowUsedRows(int nRows) override;
    // Every change of the used-row count comes here.
    void SetUsedRowCount(int nUsedRows);
    void RowsWritten(int nFirst, int nLast) override;
    void RowToBeRewritten(int nRow) override;
    void RowToBeWritten(int nRow) override;
    CTaxSettings GetTaxSettings() const override;
    bool IsTaxVerticalTotal() const override;

    IEstimateModelHost& m_host;
    CGridRowArray m_editRows;
    CGridRowArray m_summaryRows; // the summary table's rows (kinds + 100)
    int m_nUsedRows = 0;
    int m_nRowLimit = 0;
    int m_nColumnCount = 12; // the grids' count until a form is read
    int m_nZoom = 100;
    std::array<CString, MAX_INFORMATION> m_strInformation;
    int m_nInformationCount = 0;
    CSubjectNumbering m_numbering;
    CSubjectNumbers m_subjectNumbers; // the numbers' counts, kept while the rows stay
    CUndoStore m_undo;
    // The rows KeepFiguresForUndo kept (null: a row without an object), for the record the
    // undo store's record count m_nFiguresRecord stands for.
    std::map<int, std::unique_ptr<CGridRow>> m_undoFigures;
    unsigned long long m_nFiguresRecord = 0;
    // The rows from this one on are kept before the engine first writes them, for the same
    // record (INT_MAX: none).
    int m_nKeepFiguresFrom = INT_MAX;
    // The figures of the record the last one replaced, while the store may give that record
    // back (TakeBackUnchangedRecord).
    struct CReplacedFigures {
        std::map<int, std::unique_ptr<CGridRow>> rows;
        unsigned long long nRecord = 0;
        int nKeepFrom = INT_MAX;
    };
    std::optional<CReplacedFigures> m_replacedFigures;
    bool m_bInUndoStep = false;
    CRowSteps* m_pRowSteps = nullptr; // the steps of the rows command being recorded
    // The rows command open over several calls (BeginRowsCommand): how deep, its steps and
    // action.
    int m_nRowsCommandDepth = 0;
    CRowSteps m_rowsCommandSteps;
    CUndoCommand::EAction m_eRowsCommandAction = CUndoCommand::undoSubjectDrag;
    int m_nMarkRow = -1;
    // While an undo step runs: the rule and the copy buffers it was given.
    CPageRule m_stepRule;
    CEstimateCopyBuffers* m_pStepBuffers = nullptr;
    // The engine reads the rows and the counts above, so it comes after them.
    CEstimateEngine m_engine;
};

// The estimate's undo commands, one class per kind of action (see CUndoCommand). Each says in
// its comment what its undo and its redo do; the editing commands of the grid make them as
// they record.
#pragma once

#include "engine/estimate/CRowImage.h"
#include "engine/estimate/CRowSteps.h"
#include "engine/estimate/CUndoCommand.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <memory>
#include <optional>
#include <vector>

// Cells written (an edit, a replacement, a unit picked, a range total, cells cut or pasted,
// every match replaced): the rows the command wrote are kept whole as they were before it.
// Undo puts them back and keeps them as they stood then; redo puts those back. Either way
// only the totals are worked out again.
class CCellsCommand final : public CUndoCommand {
public:
    // An edit of the cell at nCol, nRow from strOld to strNew.
    static std::unique_ptr<CCellsCommand> Edit(int nCol, int nRow, const CString& strOld,
                                               const CString& strNew, CRowImage&& before);
    // Cells pasted, the cell at nCol, nRow current.
    static std::unique_ptr<CCellsCommand> Paste(int nCol, int nRow, CRowImage&& before);
    // The block from its first cell (nFirstCol, nFirstRow) on cut, the cell at nCol, nRow
    // current: undo makes the block's first cell current again.
    static std::unique_ptr<CCellsCommand> Cut(int nCol, int nRow, int nFirstCol, int nFirstRow,
                                              CRowImage&& before);
    // The rows of before rewritten in place by another command (eAction: a column cleared,
    // indents, a sort, a step or classification row set, replace all).
    static std::unique_ptr<CCellsCommand> Rewrite(EAction eAction, CRowImage&& before);

    EAction Action() const override { return m_eAction; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override;

    int GetCol() const { return m_nCol; }
    const CString& GetOldText() const { return m_strOld; }
    const CString& GetNewText() const { return m_strNew; }

protected:
    const CRowImage* RowsBefore() const override { return &m_before; }

private:
    CCellsCommand(EAction eAction, int nCol, int nRow, CRowImage&& before);
    EAction m_eAction;
    int m_nCol;
    int m_nRow;
    CString m_strOld;
    CString m_strNew;
    int m_nBlockCol = -1;
    int m_nBlockRow = -1;
    CRowImage m_before;
    CRowImage m_after;
};

// A rows command whose undo takes its row steps back (CRowSteps): the rows are exactly
// those before it. Its redo runs the command again.
class CRowStepsCommand : public CUndoCommand {
public:
    CUndoOutcome Undo(IUndoTarget& target) override;
    const CRowSteps& Steps() const { return m_steps; }

protected:
    explicit CRowStepsCommand(CRowSteps&& steps) : m_steps(std::move(steps)) {}
    const CRowImage* RowsBefore() const override { return m_steps.RowsBefore(); }
    std::optional<int> ShiftedFromBefore() const override { return m_steps.ShiftedFromBefore(); }
    CRowSteps m_steps;
};

// Rows put in and taken out by a command that has no redo of its own (pages inserted,
// deleted or fed, unnecessary rows deleted, subjects dragged, rows read from a file, a
// summary written at the top of the rows, a discount total or classification row put in
// as a plain row), the rows it put in filled as it filled them.
// Undo takes the steps back, keeping those rows as the command left them; redo does the
// steps again with them, so the rows are again those the command left.
class CRowsReplayCommand final : public CRowStepsCommand {
public:
    CRowsReplayCommand(EAction eAction, CRowSteps&& steps);
    EAction Action() const override { return m_eAction; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override;
    int LastRow() const override { return m_steps.LastRow(FirstRow()); }

private:
    EAction m_eAction;
    int m_nUsedRowsAfter = 0; // as the command left them (taken by the undo)
};

// One row inserted or deleted at the current cell (nCol, nRow); redo runs the command at
// that cell again.
class CRowAtCellCommand : public CRowStepsCommand {
public:
    CRowAtCellCommand(int nCol, int nRow, CRowSteps&& steps)
        : CRowStepsCommand(std::move(steps)), m_nCol(nCol), m_nRow(nRow)
    {
    }
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override { return m_steps.LastRow(m_nRow); }
    int GetCol() const { return m_nCol; }

private:
    const int m_nCol;
    const int m_nRow;
};

class CRowInsertCommand final : public CRowAtCellCommand {
public:
    using CRowAtCellCommand::CRowAtCellCommand;
    EAction Action() const override { return undoRowInsert; }
    CUndoOutcome Redo(IUndoTarget& target) override;
};

class CRowDeleteCommand final : public CRowAtCellCommand {
public:
    using CRowAtCellCommand::CRowAtCellCommand;
    EAction Action() const override { return undoRowDelete; }
    CUndoOutcome Redo(IUndoTarget& target) override;
};

// nCount empty rows inserted at nFirstRow (whole rows selected).
class CRowsInsertCommand final : public CRowStepsCommand {
public:
    CRowsInsertCommand(int nFirstRow, int nCount, CRowSteps&& steps);
    EAction Action() const override { return undoRowsInsert; }
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nFirstRow; }
    int LastRow() const override;
    int GetRowCount() const { return m_nCount; }

private:
    int m_nFirstRow;
    int m_nCount;
};

// nCount rows cut from nFirstRow: undo puts them back (and the empty rows the page alignment
// moved), selected as they were; redo cuts as many rows from there again.
class CRowsCutCommand final : public CRowStepsCommand {
public:
    CRowsCutCommand(int nFirstRow, int nCount, CRowSteps&& steps);
    EAction Action() const override { return undoRowsCut; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nFirstRow; }
    int LastRow() const override;
    int GetRowCount() const { return m_nCount; }

private:
    int m_nFirstRow;
    int m_nCount;
};

// nCount rows pasted (or picked from a list) above nRow, the cell at nCol, nRow current.
// Undo copies them to the row copy buffer as the cut command would, then takes the paste's
// steps back instead of cutting (the rows are exactly those before the paste); the rows it
// took out are kept, and redo pastes them above the row again.
class CRowsPasteCommand final : public CRowStepsCommand {
public:
    // bCounted: as many rows as were selected (else the buffer's rows).
    CRowsPasteCommand(int nCol, int nRow, int nCount, bool bCounted, CRowSteps&& steps);
    ~CRowsPasteCommand() override;
    EAction Action() const override { return m_bCounted ? undoRowsPasteCount : undoRowsPaste; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override;
    int GetCol() const { return m_nCol; }
    int GetRowCount() const { return m_nCount; }

private:
    int m_nCol;
    int m_nRow;
    int m_nCount;
    bool m_bCounted;
    std::vector<std::unique_ptr<CGridRow>> m_pasted; // after the undo
};

// Rows cleared in place: one at the current cell (nCol, nRow), or whole rows from nFirstRow.
// The rows are kept as they were; undo puts them back as they were, figures included, redo
// clears them again.
class CRowsClearCommand final : public CUndoCommand {
public:
    // The current row cleared.
    CRowsClearCommand(int nCol, int nRow);
    // Whole rows from nFirstRow cleared (as many as are kept).
    explicit CRowsClearCommand(int nFirstRow);
    ~CRowsClearCommand() override;
    // The next row's contents as they were (a copy; a null row is an empty one).
    void Keep(const CGridRow* pRow);
    // The rows it clears, whole as they were with the used rows (for ChangedNothing).
    void KeepRows(CRowImage&& before)
    {
        m_before = std::move(before);
        m_bRowsKept = true;
    }

    EAction Action() const override { return m_bWholeRows ? undoRowsClear : undoRowClear; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override;
    size_t GetKeptCount() const { return m_kept.size(); }
    const CGridRow& GetKept(size_t i) const { return *m_kept[i]; }

protected:
    const CRowImage* RowsBefore() const override { return m_bRowsKept ? &m_before : nullptr; }

private:
    bool m_bWholeRows;
    int m_nCol;
    int m_nRow;
    std::vector<std::unique_ptr<CGridRow>> m_kept;
    CRowImage m_before;
    bool m_bRowsKept = false;
};

// The remembered row set at nRow: undo forgets it, redo remembers it again.
class CMarkRowCommand final : public CUndoCommand {
public:
    explicit CMarkRowCommand(int nRow) : m_nRow(nRow) {}
    EAction Action() const override { return undoMarkRow; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override { return m_nRow; }

private:
    int m_nRow;
};

// Rows marked non-calculated, or released: undo gives each row exactly the kind it had (a
// row the command left alone keeps its kind), and the rows whole as they were when it kept
// them (KeepRows: the figures a row's own formulas work out once its kind changed); redo runs
// the command over the rows again.
class CNonCalculatedCommand final : public CUndoCommand {
public:
    // The rows nFirstRow on with the kinds they had (one per valid row of the command).
    CNonCalculatedCommand(bool bSet, int nFirstRow, int nCount, std::vector<ERowKind>&& kinds);
    void KeepRows(CRowImage&& before) { m_before = std::move(before); }
    EAction Action() const override { return m_bSet ? undoNonCalcSet : undoNonCalcRelease; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nFirstRow; }
    int LastRow() const override;
    // Every row has the kind it had.
    bool ChangedNothing(const IUndoTarget& target) const override;
    int GetRowCount() const { return m_nCount; }

private:
    bool m_bSet;
    int m_nFirstRow;
    int m_nCount;
    std::vector<ERowKind> m_kinds;
    CRowImage m_before;
};

// A fixed-rate change of column nCol from nFirstRow on: the column's former texts, one per
// row, and the settings it ran with. Undo puts the rows back as they were when it kept them
// (KeepRows), else writes the texts back (numbers in their normal form) and works the rows
// out; redo repeats the change with the same settings over the same rows.
class CFixedRateCommand final : public CUndoCommand {
public:
    // How many texts the settings print as (GetTexts).
    enum { SETTINGS = 8 };
    CFixedRateCommand(int nCol, int nFirstRow) : m_nCol(nCol), m_nFirstRow(nFirstRow) {}
    void AddFormerText(const CString& strText) { m_formerTexts.push_back(strText); }
    // The settings the change ran with, which its redo repeats (a command without them has no
    // redo).
    void AddSettings(const IUndoTarget::CRateSettings& settings) { m_settings = settings; }
    // The rows the change works out, whole as they were before it (figures their formulas
    // give otherwise at a level that leaves them as they stand).
    void KeepRows(CRowImage&& before)
    {
        m_before = std::move(before);
        m_bRowsKept = true;
    }

    EAction Action() const override { return undoFixedRate; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nFirstRow; }
    int LastRow() const override;
    int GetCol() const { return m_nCol; }
    const std::vector<CString>& GetFormerTexts() const { return m_formerTexts; }
    const std::optional<IUndoTarget::CRateSettings>& GetSettings() const { return m_settings; }
    // The record printed: the former texts, then the settings as eight texts (the formula, the
    // first condition's column, relation and value, the second's, the conjunction).
    std::vector<CString> GetTexts() const;

protected:
    const CRowImage* RowsBefore() const override { return m_bRowsKept ? &m_before : nullptr; }

private:
    int FormerTextCount() const { return static_cast<int>(m_formerTexts.size()); }
    int m_nCol;
    int m_nFirstRow;
    std::vector<CString> m_formerTexts;
    std::optional<IUndoTarget::CRateSettings> m_settings;
    CRowImage m_before;
    bool m_bRowsKept = false;
};

// A special row made at nRow (a total, a discount, a tax row, a kind row, a heading picked),
// the cell at nCol, nRow current. Its steps put the row in there, with the empty rows the page
// alignment put in or took away to keep a heading at its page start; a row written below the
// used rows has none, the used rows reaching it from nUsedRowsBefore. Undo takes the steps
// back (or the row away), so that the rows and the used rows are exactly those before the
// command, keeping the row as the command left it; redo puts it back with the same steps.
class CSpecialRowCommand final : public CRowStepsCommand {
public:
    CSpecialRowCommand(int nCol, int nRow, int nUsedRowsBefore, CRowSteps&& steps);
    ~CSpecialRowCommand() override;
    EAction Action() const override { return undoSpecialRow; }
    CUndoOutcome Undo(IUndoTarget& target) override;
    CUndoOutcome Redo(IUndoTarget& target) override;
    int FirstRow() const override { return m_nRow; }
    int LastRow() const override { return m_steps.LastRow(m_nRow); }

private:
    int m_nCol;
    int m_nRow;
    int m_nUsedRowsBefore;
    int m_nUsedRowsAfter = 0;          // as the command left them (taken by the undo)
    std::unique_ptr<CGridRow> m_pKept; // the row written below the used rows, after the undo
};

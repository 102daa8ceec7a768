// The undo commands and their store over an estimate of the test's own, without a view: each
// kind of command is made as its editing command makes it, taken back (the whole estimate,
// computed amounts, totals, kinds and used rows, must be what it was), and done again.
#include "engine/estimate/UndoCommands.h"
#include "engine/estimate/CUndoStore.h"
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>

namespace {

// Name, quantity, unit price and the amount "計 A" = quantity x price; a total sums it.
std::vector<CTestColumn> AmountColumns()
{
    return {
        {"文字", "", "", "", "6", ""},
        {"数値", "#,###.##", "", "", "3", ""},
        {"数値", "###,###", "", "", "", ""},
        {"計 A", "###,###", "B*C", "D(-1)", "", "2"},
    };
}

// The estimate's rows as the grid works on them, with the editing commands a redo runs
// again written down instead of run, but the row-delete, which takes its row out.
class CTestUndoTarget final : public IUndoTarget {
public:
    explicit CTestUndoTarget(CTestEstimate& estimate) : e(estimate) {}

    CEstimateEngine& Engine() override { return e.engine; }
    const CGridRowArray& EditRows() const override { return e.rows; }
    int GetUsedRows() const override { return e.sheet.nUsedRows; }
    int GetRowLimit() const override { return e.sheet.nRowLimit; }
    void RestoreUsedRows(int nRows) override { e.sheet.nUsedRows = nRows; }
    void DropRow(int nRow) override { e.rows.SetAt(nRow, nullptr); }
    void PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows) override
    {
        const int nUsedBefore = e.sheet.nUsedRows;
        e.rows.InsertEmptyAt(nRow, nCount);
        for (int i = 0; i < nCount; ++i)
            e.rows.SetAt(nRow + i, ppRows != nullptr ? CGridRowArray::CRowPtr(ppRows[i])
                                                     : std::make_unique<CGridRow>());
        e.sheet.nUsedRows = std::max(nUsedBefore + nCount, nRow + nCount);
        if (pSteps != nullptr)
            pSteps->Note(nRow, nCount, true, nUsedBefore);
    }
    void TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>& taken) override
    {
        const int nUsedBefore = e.sheet.nUsedRows;
        for (int i = 0; i < nCount; ++i)
            taken.push_back(e.rows.Release(nRow + i).release());
        e.rows.RemoveAt(nRow, nCount);
        e.sheet.nUsedRows -= nCount;
        if (pSteps != nullptr)
            pSteps->Note(nRow, nCount, false, nUsedBefore);
    }
    // Rows taken out as a command does it: kept by its steps.
    void DeleteRows(int nRow, int nCount)
    {
        std::vector<CGridRow*> taken;
        TakeRowsOut(nRow, nCount, taken);
        for (CGridRow* pRow : taken)
            pSteps->Keep(pRow);
    }

    // The two record a command of their own in pStore, when given, as a command run again
    // does (one that tells them apart: the remembered row).
    void InsertRowAt(int nCol, int nRow) override
    {
        Note("insert", nCol, nRow);
        if (pStore != nullptr)
            pStore->Record(std::make_unique<CMarkRowCommand>(nRow));
    }
    void DeleteRowAt(int nCol, int nRow) override
    {
        Note("delete", nCol, nRow);
        if (pStore != nullptr)
            pStore->Record(std::make_unique<CMarkRowCommand>(nRow));
        std::vector<CGridRow*> taken;
        TakeRowsOut(nRow, 1, taken);
        delete taken[0];
    }
    void ClearRowAt(int nCol, int nRow) override { Note("clear", nCol, nRow); }
    void InsertRowsAt(int nFirstRow, int nCount) override { Note("insert rows", nFirstRow, nCount); }
    void ClearRowsAt(int nFirstRow, int nCount) override { Note("clear rows", nFirstRow, nCount); }
    CUndoOutcome CutRowsAt(int nCol, int nFirstRow, int nCount) override
    {
        Note("cut", nCol, nFirstRow, nCount);
        return {};
    }
    CUndoOutcome CopyRowsAt(int nCol, int nFirstRow, int nCount) override
    {
        Note("copy", nCol, nFirstRow, nCount);
        return {};
    }
    CUndoOutcome PasteRowsAt(int nCol, int nRow, const std::vector<const CGridRow*>& rows,
                             bool bCounted) override
    {
        Note(bCounted ? "paste counted" : "paste", nCol, nRow, static_cast<int>(rows.size()));
        for (const CGridRow* pRow : rows)
            calls.back() += " " + pRow->m_strCell[0].ToUtf8();
        return {};
    }
    void SetMarkRow(int nRow) override { Note("mark", nRow); }
    void SetNonCalculated(bool bSet, int nFirstRow, int nLastRow) override
    {
        Note(bSet ? "non-calculated" : "calculated", nFirstRow, nLastRow);
    }
    void ApplyFixedRate(int nCol, int nFirstRow, int nLastRow, const CRateSettings& s) override
    {
        Note("rate " + s.strFormula.ToUtf8(), nCol, nFirstRow, nLastRow);
        const CFixedRateChange::CCondition& c = s.condition;
        Note("if", c.nCol1, c.nRelation1, c.nCol2, c.nRelation2, c.nConjunction);
        calls.back() += " " + c.strValue1.ToUtf8() + " " + c.strValue2.ToUtf8();
    }

    int GetInformationCount() const override { return nInformation; }
    void SetInformationCount(int nCount) override { nInformation = nCount; }
    const CString& GetInformation(int nIndex) const override
    {
        return information.at(static_cast<size_t>(nIndex));
    }
    void SetInformation(int nIndex, const CString& value) override
    {
        information.at(static_cast<size_t>(nIndex)) = value;
        nInformation = std::max(nInformation, nIndex + 1);
    }

    CRowSteps* pSteps = nullptr;
    CUndoStore* pStore = nullptr;
    std::vector<std::string> calls;
    std::array<CString, 100> information;
    int nInformation = 0;

private:
    template <typename... Ints>
    void Note(const std::string& strWhat, Ints... n)
    {
        calls.push_back(strWhat);
        ((calls.back() += " " + std::to_string(n)), ...);
    }
    CTestEstimate& e;
};

class UndoCommandsTest : public ::testing::Test {
protected:
    // A heading, four details, their total and the grand total, worked out in full.
    void SetUp() override
    {
        e.AddRow(kindLarge, {"建築工事"});
        e.AddRow(kindDetail, {"足場", "12.5", "1,480"});
        e.AddRow(kindDetail, {"型枠", "3.25", "7,777"});
        e.AddRow(kindDetail, {"鉄筋", "40", "95"});
        e.AddRow(kindDetail, {"養生", "2", "3,000"});
        e.AddRow(kindLargeTotal, {});
        e.AddRow(kindGrandTotal, {});
        e.engine.RecalcAll();
    }
    // Every row the grid shows: its kind and its cells, and the used-row count.
    std::string Picture() const
    {
        std::string picture = "used " + std::to_string(e.sheet.nUsedRows) + "\n";
        for (int r = 0; r < e.sheet.nUsedRows + 2; ++r) {
            picture += std::to_string(e.engine.EditKind(r)) + ":";
            for (int c = 0; c < e.sheet.nColumnCount; ++c)
                picture += e.Cell(r, c) + "|";
            picture += "\n";
        }
        return picture;
    }
    // As the grid does after an undo or a redo.
    CUndoOutcome Finish(const CUndoOutcome& outcome)
    {
        if (outcome.nChangedFrom >= 0)
            e.engine.RecalcTotals(outcome.nChangedFrom);
        return outcome;
    }
    CUndoOutcome Undo(CUndoCommand& command) { return Finish(command.Undo(target)); }
    // The steps of rows cut as the cut takes them out.
    CRowSteps CutSteps(int nRow, int nCount)
    {
        CRowSteps steps;
        target.pSteps = &steps;
        target.DeleteRows(nRow, nCount);
        target.pSteps = nullptr;
        return steps;
    }
    CUndoOutcome Redo(CUndoCommand& command) { return Finish(command.Redo(target)); }

    CTestEstimate e{AmountColumns()};
    CTestUndoTarget target{e};
};

} // namespace

TEST_F(UndoCommandsTest, CellsWrittenComeBackWholeEitherWayWithTheirAmountsAndTotals)
{
    const std::string before = Picture();
    auto pEdit = CCellsCommand::Edit(1, 2, "3.25", "8", CRowImage::Take(e.rows, 2, 2, 7, e.sheet.nRowLimit));
    e.engine.SetCellText("8", 2, 1, true);
    e.engine.CalcRow(2, 0);
    e.engine.RecalcTotals(2);
    const std::string after = Picture();
    ASSERT_NE(before, after);

    EXPECT_EQ(2, Undo(*pEdit).nChangedFrom);
    EXPECT_EQ(before, Picture());
    Redo(*pEdit);
    EXPECT_EQ(after, Picture());
    Undo(*pEdit);
    EXPECT_EQ(before, Picture());

    // Cells cut from rows 7 and 8, below the used rows: the rows go again, and so do the
    // used rows the paste made; the undo of a cut makes the block's first cell current.
    auto pCut = CCellsCommand::Cut(0, 1, 1, 7, CRowImage::Take(e.rows, 7, 8, 7, e.sheet.nRowLimit));
    e.engine.SetCellText("5", 8, 1, true);
    e.sheet.GrowUsedRows(9);
    const CUndoOutcome outcome = Undo(*pCut);
    EXPECT_EQ(before, Picture());
    EXPECT_EQ(nullptr, e.rows.GetRow(8));
    EXPECT_EQ(CUndoOutcome::ECell::moved, outcome.eCell);
    EXPECT_EQ(1, outcome.nCol);
    EXPECT_EQ(7, outcome.nRow);
}

TEST_F(UndoCommandsTest, RowStepsAreTakenBackLastFirstAndARedoRunsTheCommandAgain)
{
    const std::string before = Picture();
    // A delete of row 2 whose page alignment then put three empty rows in above it.
    CRowSteps deleteSteps;
    target.pSteps = &deleteSteps;
    target.DeleteRows(2, 1);
    target.PutRowsIn(1, 3, nullptr);
    target.pSteps = nullptr;
    CRowDeleteCommand deleteRow(3, 2, std::move(deleteSteps));
    EXPECT_EQ(3, deleteRow.LastRow()) << "the alignment's rows count";
    e.engine.RecalcAll();

    const CUndoOutcome undone = Undo(deleteRow);
    EXPECT_EQ(before, Picture());
    EXPECT_EQ(1, undone.nChangedFrom) << "from the first row a step moved";
    EXPECT_EQ(CUndoOutcome::ESelection::none, undone.eSelection);
    Redo(deleteRow);
    EXPECT_EQ(std::vector<std::string>{"delete 3 2"}, target.calls);
    e.engine.RecalcAll();
    const std::string beforePaste = Picture();

    // A paste of two rows above row 1: its undo copies them as a cut would, takes them out
    // and keeps them, and its redo pastes those rows again.
    CRowSteps pasteSteps;
    target.pSteps = &pasteSteps;
    target.PutRowsIn(1, 2, nullptr);
    target.pSteps = nullptr;
    e.engine.SetCellText(CString::FromUtf8("枠"), 1, 0, true);
    e.engine.SetCellText(CString::FromUtf8("柱"), 2, 0, true);
    CRowsPasteCommand paste(0, 1, 2, true, std::move(pasteSteps));
    Undo(paste);
    EXPECT_EQ(beforePaste, Picture());
    Redo(paste);
    EXPECT_EQ("copy 0 1 2", target.calls[1]);
    EXPECT_EQ("paste counted 0 1 2 枠 柱", target.calls[2]);
    EXPECT_EQ(CUndoCommand::undoRowsPasteCount, paste.Action());

    // Rows 3 and 4 cut: back in their places and selected.
    CRowsCutCommand cut(3, 2, CutSteps(3, 2));
    const CUndoOutcome uncut = Undo(cut);
    EXPECT_EQ(beforePaste, Picture());
    EXPECT_EQ(CUndoOutcome::ESelection::rows, uncut.eSelection);
    EXPECT_EQ(3, uncut.nFirstSelected);
    EXPECT_EQ(2, uncut.nSelectedCount);
    Redo(cut);
    EXPECT_EQ("cut 0 3 2", target.calls.back());
}

// A row inserted, deleted or cleared again by a redo, and a special row taken back, leave
// the current cell where the command was given: its column as well as its row.
TEST_F(UndoCommandsTest, ARowCommandRunAgainLandsOnTheCellItWasGivenAt)
{
    CRowSteps insertSteps;
    target.pSteps = &insertSteps;
    target.PutRowsIn(4, 1, nullptr);
    target.pSteps = nullptr;
    CRowInsertCommand insert(3, 4, std::move(insertSteps));
    Undo(insert);
    CRowsClearCommand clear(5, 2);
    clear.Keep(e.rows.GetRow(2));
    const int nBelow = e.sheet.nUsedRows;
    CSpecialRowCommand special(2, nBelow, nBelow, CRowSteps());
    for (const auto& [outcome, nCol, nRow] : {std::tuple{Redo(insert), 3, 4}, std::tuple{Redo(clear), 5, 2},
                                              std::tuple{Undo(special), 2, nBelow}}) {
        EXPECT_EQ(CUndoOutcome::ECell::moved, outcome.eCell);
        EXPECT_EQ(nCol, outcome.nCol);
        EXPECT_EQ(nRow, outcome.nRow);
    }
}

// A row delete taken back is done again at its own row: the rows its page alignment put in
// below it went back with the undo, so rows moved below its row since leave the redo; rows
// moved at its row refuse it.
TEST_F(UndoCommandsTest, ARowDeleteTakenBackNamesItsOwnRowForItsRedo)
{
    CUndoStore store;
    CRowSteps steps;
    target.pSteps = &steps;
    target.DeleteRows(2, 1);
    target.PutRowsIn(1, 3, nullptr);
    target.pSteps = nullptr;
    store.Record(std::make_unique<CRowDeleteCommand>(0, 2, std::move(steps)));
    store.Undo(target);
    store.NoteRowShift(3);
    EXPECT_TRUE(store.CanRedo());
    store.NoteRowShift(2);
    EXPECT_FALSE(store.CanRedo());
}

// A command that leaves the rows as it found them changed nothing, and the store records
// nothing for it: a cell typed again as it stood, rows marked as they already were.
TEST_F(UndoCommandsTest, ACommandThatLeftTheRowsAsTheyWereChangedNothing)
{
    const auto pEdit =
        CCellsCommand::Edit(1, 2, "3.25", "3.25", CRowImage::Take(e.rows, 2, 2, 7, e.sheet.nRowLimit));
    CNonCalculatedCommand marks(true, 1, 3, {kindDetail, kindDetail, kindDetail});
    EXPECT_TRUE(pEdit->ChangedNothing(target));
    EXPECT_TRUE(marks.ChangedNothing(target));
    e.engine.SetCellText("8", 2, 1, true);
    e.engine.SetRowKind(kindEmpty, 3);
    EXPECT_FALSE(pEdit->ChangedNothing(target));
    EXPECT_FALSE(marks.ChangedNothing(target));
}

// A rows command done again as recorded (the unnecessary rows deleted, say): its undo gives
// the rows and the used rows as they were, with no selection left; its redo gives the rows
// as the command left them, with what was written into its rows since. A command that
// moved no rows has no step. The undo of a one-row cut selects that row alone.
TEST_F(UndoCommandsTest, ARowsCommandIsTakenBackAndDoneAgainWithTheRowsItLeft)
{
    const std::string before = Picture();
    CRowSteps steps;
    target.pSteps = &steps;
    target.DeleteRows(2, 2);
    target.PutRowsIn(8, 2, nullptr); // below the used rows, which grow to them
    target.pSteps = nullptr;
    e.engine.SetCellText(CString::FromUtf8("仮設"), 8, 0, true);
    e.engine.RecalcAll();
    const std::string after = Picture();
    CRowsReplayCommand command(CUndoCommand::undoUnnecessaryRows, std::move(steps));
    const CUndoOutcome undone = Undo(command);
    EXPECT_EQ(before, Picture());
    EXPECT_EQ(CUndoOutcome::ESelection::none, undone.eSelection);
    Redo(command);
    EXPECT_EQ(after, Picture());
    Undo(command);
    EXPECT_EQ(before, Picture());

    CRowSteps none;
    none.Note(3, 0, true, 7);
    EXPECT_TRUE(none.IsEmpty());

    CRowsCutCommand cut(1, 1, CutSteps(1, 1));
    const CUndoOutcome uncut = Undo(cut);
    EXPECT_EQ(before, Picture());
    EXPECT_EQ(1, uncut.nFirstSelected);
    EXPECT_EQ(1, uncut.nSelectedCount);
}

TEST_F(UndoCommandsTest, ClearedAndSpecialRowsComeBackWithTheirWorkedOutCells)
{
    const std::string before = Picture();
    CRowsClearCommand clear(2);
    for (int r = 2; r <= 3; ++r) {
        clear.Keep(e.rows.GetRow(r));
        target.DropRow(r);
    }
    e.engine.RecalcTotals(2);
    Undo(clear);
    EXPECT_EQ(before, Picture());
    Redo(clear);
    EXPECT_EQ("clear rows 2 2", target.calls.back());

    // A subtotal made at row 5: undo takes the row put in out again, redo puts the same row
    // back; a kind heading written three rows below the used ones goes, and the used rows
    // with it.
    const int nUsed = target.GetUsedRows();
    CRowSteps steps;
    target.pSteps = &steps;
    target.PutRowsIn(5, 1, nullptr);
    target.pSteps = nullptr;
    e.engine.MakeTotalRow(5, CEstimateEngine::levelLarge);
    e.engine.RecalcTotals(0);
    const std::string after = Picture();
    CSpecialRowCommand total(0, 5, nUsed, std::move(steps));
    Undo(total);
    EXPECT_EQ(before, Picture());
    Redo(total);
    EXPECT_EQ(after, Picture());
    Undo(total);
    const int nBelow = nUsed + 3;
    e.engine.SetCellText("本体", nBelow, 0, true);
    e.engine.SetRowKind(kindKind, nBelow);
    target.RestoreUsedRows(nBelow + 1);
    const std::string kind = Picture();
    CSpecialRowCommand heading(0, nBelow, nUsed, CRowSteps());
    Undo(heading);
    EXPECT_EQ(before, Picture());
    EXPECT_EQ(nUsed, target.GetUsedRows());
    Redo(heading);
    EXPECT_EQ(kind, Picture());
}

TEST_F(UndoCommandsTest, KindsAndFixedRateTextsComeBackAndARedoRepeatsTheSettings)
{
    const std::string before = Picture();
    CNonCalculatedCommand mark(true, 1, 3, {kindDetail, kindDetail, kindDetail});
    for (int r = 1; r <= 3; ++r)
        e.engine.SetRowKind(NonCalculatedKindOf(kindDetail), r);
    e.engine.RecalcTotals(1);
    ASSERT_NE(before, Picture());
    Undo(mark);
    EXPECT_EQ(before, Picture());
    Redo(mark);
    EXPECT_EQ("non-calculated 1 3", target.calls.back());

    // The unit prices of rows 1 to 3 doubled where the quantity is at least 4.
    CFixedRateCommand rate(2, 1);
    for (int r = 1; r <= 3; ++r)
        rate.AddFormerText(e.engine.EditCell(r, 2));
    IUndoTarget::CRateSettings settings;
    settings.strFormula = "*2";
    settings.condition.nCol1 = 1;
    settings.condition.nRelation1 = 4;
    settings.condition.strValue1 = "4";
    rate.AddSettings(settings);
    for (int r : {1, 3}) {
        e.engine.SetCellText(r == 1 ? "2960" : "190", r, 2, true);
        e.engine.CalcRow(r, 0);
    }
    e.engine.RecalcTotals(1);
    ASSERT_EQ(3u + CFixedRateCommand::SETTINGS, rate.GetTexts().size());
    EXPECT_EQ(3, rate.LastRow());
    Undo(rate);
    EXPECT_EQ(before, Picture());
    Redo(rate);
    EXPECT_EQ("rate *2 2 1 3", target.calls[target.calls.size() - 2]);
    EXPECT_EQ("if 1 4 -1 -1 1 4 ", target.calls.back());
}

TEST_F(UndoCommandsTest, TheStoreHoldsOneCommandEachWayAndRefusesOnceItsRowsMoved)
{
    CUndoStore store;
    EXPECT_FALSE(store.CanUndo());
    store.Record(std::make_unique<CMarkRowCommand>(4));
    EXPECT_EQ(CUndoCommand::undoMarkRow, store.GetUndoAction());
    store.Undo(target);
    EXPECT_EQ(CUndoCommand::undoNone, store.GetUndoAction());
    EXPECT_EQ(CUndoCommand::undoMarkRow, store.GetRedoAction());
    store.Redo(target);
    EXPECT_EQ((std::vector<std::string>{"mark -1", "mark 4"}), target.calls);
    EXPECT_EQ(CUndoCommand::undoMarkRow, store.GetUndoAction()) << "a command that records nothing stays";
    EXPECT_FALSE(store.CanRedo());

    // Rows moved below the command's rows leave it; at its row, it is refused.
    store.NoteRowShift(5);
    EXPECT_TRUE(store.CanUndo());
    store.NoteRowShift(4);
    EXPECT_FALSE(store.CanUndo());
    store.Record(std::make_unique<CMarkRowCommand>(4));
    EXPECT_TRUE(store.CanUndo()) << "a command recorded after the rows moved";
    store.KeepInStep();

    // A redo that runs its command again leaves undo the command that run recorded; an
    // undo leaves only the redo of the command it took back.
    target.pStore = &store;
    store.Record(std::make_unique<CRowInsertCommand>(2, 3, CRowSteps()));
    store.Undo(target);
    store.Redo(target);
    EXPECT_EQ("insert 2 3", target.calls.back());
    EXPECT_EQ(CUndoCommand::undoMarkRow, store.GetUndoAction());
    store.Record(std::make_unique<CSpecialRowCommand>(0, 1, target.GetUsedRows(), CRowSteps()));
    store.Undo(target);
    EXPECT_EQ(CUndoCommand::undoNone, store.GetUndoAction());
    EXPECT_EQ(CUndoCommand::undoSpecialRow, store.GetRedoAction());
    store.Withdraw();
    EXPECT_FALSE(store.CanRedo());
}

// A clear of the amounts, which a recalculation then works out again, is taken back: the
// undo and redo it replaced come back with their record count. A clear the recalculation
// does not give back stays, and so does one recorded after a command was taken out to join
// it, or followed by rows moved.
TEST_F(UndoCommandsTest, ARecordWhoseChangeARecalculationGaveBackIsTakenBackForTheOneBefore)
{
    CUndoStore store;
    store.WatchTarget(target);
    store.Record(std::make_unique<CMarkRowCommand>(4));
    store.Undo(target);
    const unsigned long long nRecords = store.GetRecordCount();
    const std::string before = Picture();
    const auto clearAndRecalc = [&](int nCol) {
        CRowImage rows = CRowImage::Take(e.rows, 0, e.sheet.nUsedRows - 1, e.sheet.nUsedRows, e.sheet.nRowLimit);
        for (int r = 0; r < e.sheet.nUsedRows; ++r)
            e.engine.SetCellText("", r, nCol, true);
        store.Record(CCellsCommand::Rewrite(CUndoCommand::undoItemClear, std::move(rows)));
        e.engine.RecalcAll();
    };

    clearAndRecalc(3);
    ASSERT_EQ(before, Picture());
    EXPECT_TRUE(store.TakeBackUnchanged());
    EXPECT_FALSE(store.CanUndo());
    EXPECT_EQ(CUndoCommand::undoMarkRow, store.GetRedoAction());
    EXPECT_EQ(nRecords, store.GetRecordCount());
    EXPECT_FALSE(store.TakeBackUnchanged()) << "the record before is no record to take back";

    clearAndRecalc(1);
    EXPECT_FALSE(store.TakeBackUnchanged()) << "the quantities stay cleared";
    Finish(store.Undo(target));
    ASSERT_EQ(before, Picture());

    store.Record(std::make_unique<CMarkRowCommand>(4));
    EXPECT_NE(store.TakeUndoCommand(), nullptr);
    clearAndRecalc(3);
    EXPECT_FALSE(store.TakeBackUnchanged()) << "the command it joined went with it";
    store.Record(std::make_unique<CMarkRowCommand>(4));
    clearAndRecalc(3);
    store.NoteRowShift(20);
    EXPECT_FALSE(store.TakeBackUnchanged()) << "rows moved since";
}

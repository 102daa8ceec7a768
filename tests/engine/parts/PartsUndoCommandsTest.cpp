// The parts list's editing commands and their undo without a window: each command as the
// grid runs it, then undone (every cell and the rows in use exactly as before, byte for
// byte) and done again (exactly as the command left them), with what the grid is told to do
// besides: the cursor, the clipboard.
#include "tests/engine/parts/PartsModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

using PartsUndoCommandsTest = PartsFiveRowsTest;

} // namespace

TEST_F(PartsUndoCommandsTest, TypingIsUndoneWithTheRowsInUseFromBeforeTheEdit)
{
    ExpectUndoneAndRedone(model.StoreTypedText(1, colPrice, "250", -1));
    // Typing two rows past the last: the edit had made the rows in use 8 already.
    model.ExtendRowsInUse(8);
    list.Record(model.StoreTypedText(7, colName, "x", 5));
    EXPECT_EQ(8, model.GetRowsInUse());
    list.Undo();
    EXPECT_EQ(before, list.AllCells());
    EXPECT_EQ(5, model.GetRowArraySize()) << "no row is left past the rows in use";
}

TEST_F(PartsUndoCommandsTest, UndoGivesBackTheTextsExactlyAsTheyWere)
{
    // A text read from a file as it was written, not in the form the store would give it.
    model.SetCell(2, colQty, "3.5");
    before = list.AllCells();
    CPMObjList records;
    MakeRecords(records, 0, colQty, {{"9"}});
    ExpectUndoneAndRedone(model.PasteCellsAt(colQty, 2, records));
    EXPECT_EQ("3.5", list.Cell(2, colQty));
}

TEST_F(PartsUndoCommandsTest, CellsCutComeBackAndTheRedoPutsTheCutOnTheClipboardAgain)
{
    // One cell alone is cut too.
    ExpectUndoneAndRedone(model.CutCells(CRect(colName, 3, colName, 3), CPMObjList()));

    CPMObjList records;
    ASSERT_TRUE(model.CopyBlock(CRect(colQty, 1, colPrice, 2), records));
    auto pCommand = model.CutCells(CRect(colQty, 1, colPrice, 2), records);
    EXPECT_EQ("", list.Cell(1, colQty));
    EXPECT_EQ("", list.Cell(2, colAmount)) << "the amount worked out from the numbers cut goes with them";
    list.Record(std::move(pCommand));
    EXPECT_EQ(nullptr, list.Undo().pClipboard);
    EXPECT_EQ(before, list.AllCells());
    const CPartsUndoOutcome redo = list.Redo();
    ASSERT_NE(nullptr, redo.pClipboard);
    EXPECT_EQ(CRect(colQty, 1, colPrice, 2), redo.pClipboard->GetBlock());
    EXPECT_FALSE(redo.bClipboardRows);
    EXPECT_EQ("", list.Cell(2, colQty));
}

TEST_F(PartsUndoCommandsTest, RowsCutComeBackWithTheCursorOnTheFirstOfThem)
{
    CPMObjList records;
    model.CopyBlock(CRect(0, 1, 5, 2), records);
    auto pCommand = model.CutRows(1, 2, 0, records);
    EXPECT_EQ(3, model.GetRowsInUse());
    EXPECT_EQ("d", list.Cell(1, colName));
    list.Record(std::move(pCommand));
    const CPartsUndoOutcome undo = list.Undo();
    EXPECT_EQ(before, list.AllCells());
    EXPECT_EQ(CPartsUndoOutcome::ECell::moved, undo.eCell);
    EXPECT_EQ(1, undo.nRow);
    EXPECT_TRUE(undo.bScroll);
    EXPECT_NE(nullptr, list.Redo().pClipboard);
    EXPECT_EQ(3, model.GetRowsInUse());
}

TEST_F(PartsUndoCommandsTest, RowsPastedAreCutAgainByUndoAsRowsOfTheClipboardsWidth)
{
    CPMObjList records;
    MakeRecords(records, 0, colQty, {{"7", "m"}, {"8", "kg"}});
    auto pCommand = model.PasteRowsAt(1, records);
    EXPECT_EQ(7, model.GetRowsInUse());
    EXPECT_EQ("7", list.Cell(1, colName)) << "each record's first column goes to the first";
    EXPECT_EQ("m", list.Cell(1, colQty)) << "a word stays a word in a number column";
    EXPECT_EQ("b", list.Cell(3, colName));
    list.Record(std::move(pCommand));
    const auto after = list.AllCells();
    const CPartsUndoOutcome undo = list.Undo();
    EXPECT_EQ(before, list.AllCells());
    ASSERT_NE(nullptr, undo.pClipboard);
    EXPECT_TRUE(undo.bClipboardRows);
    EXPECT_EQ(CRect(0, 1, 1, 2), undo.pClipboard->GetBlock());
    EXPECT_EQ(CPartsUndoOutcome::ECell::moved, undo.eCell);
    EXPECT_EQ(CPoint(0, 1), CPoint(undo.nCol, undo.nRow));
    list.Redo();
    EXPECT_EQ(after, list.AllCells());
    list.Undo();
    // At the first row as anywhere else.
    ExpectUndoneAndRedone(model.PasteRowsAt(0, records));
}

TEST_F(PartsUndoCommandsTest, RowDeletesAndInsertsMoveTheCursorByTheirRowsLessOne)
{
    auto pDelete = model.DeleteRows(1, 3);
    EXPECT_EQ(2, model.GetRowsInUse());
    list.Record(std::move(pDelete));
    CPartsUndoOutcome step = list.Undo();
    EXPECT_EQ(before, list.AllCells());
    EXPECT_EQ(CPartsUndoOutcome::ECell::shifted, step.eCell);
    EXPECT_EQ(2, step.nShift);
    EXPECT_EQ(-1, step.nShiftBelow);
    step = list.Redo();
    EXPECT_EQ(-2, step.nShift);
    EXPECT_EQ(1, step.nShiftBelow);
    list.Undo();

    ExpectUndoneAndRedone(model.InsertRows(2, 3));
    step = list.Redo();
    EXPECT_EQ(2, step.nShift);
    step = list.Undo();
    EXPECT_EQ(-2, step.nShift);
    EXPECT_EQ(2, step.nShiftBelow);
    // An insert past the used rows makes the rows between used; undo takes them away.
    ExpectUndoneAndRedone(model.InsertRows(9, 1));
}

TEST_F(PartsUndoCommandsTest, APasteTiledRepeatsTheRecordsAndTheirColumns)
{
    CPMObjList records;
    MakeRecords(records, 0, colName, {{"x", "1"}});
    auto pCommand =
        model.PasteTiled(CRect(colName, 3, colUnit, 6), records, CPartsUndoCommand::undoPasteTiled);
    for (int r = 3; r <= 6; ++r) {
        EXPECT_EQ("x", list.Cell(r, colName));
        EXPECT_EQ("1.000000", list.Cell(r, colQty));
        EXPECT_EQ("x", list.Cell(r, colUnit));
    }
    EXPECT_EQ("400.000000", list.Cell(3, colAmount)) << "each row worked out";
    EXPECT_EQ(CPartsUndoCommand::undoPasteTiled, pCommand->Action());
    ExpectUndoneAndRedone(std::move(pCommand));
    EXPECT_EQ(5, model.GetRowsInUse());
}

// A whole column, or a selection down to the list's last row, stands for the list: a paste
// over it fills the five used rows, or the records' rows once where they are more, and never
// the rows down to the limit (1,100 rows written).
TEST_F(PartsUndoCommandsTest, AWholeColumnPasteFillsTheUsedRowsOrTheRecordsOnce)
{
    const int nLast = model.GetRowLimit() - 1;
    struct CCase {
        CRect rcSelection;
        int nRecords;
        bool bColumn;
        int nBottom;
    };
    const CCase cases[] = {
        {CRect(colName, 0, colName, nLast), 2, true, 4},
        {CRect(colName, 0, colName, nLast), 8, true, 7},
        {CRect(colName, 3, colName, nLast), 4, true, 6},
        {CRect(colName, 0, colQty, nLast + 5), 2, false, 4}, // the whole grid
        {CRect(colName, 1, colName, nLast - 1), 2, false, nLast - 1},
        {CRect(colName, 2, colName, 3), 1, true, 3},
    };
    for (const CCase& test : cases) {
        const CRect rcBlock = model.TiledPasteBlock(test.rcSelection, test.nRecords, test.bColumn);
        EXPECT_EQ(test.nBottom, rcBlock.bottom) << test.rcSelection.top << " " << test.rcSelection.bottom;
        EXPECT_EQ(test.rcSelection.top, rcBlock.top);
        EXPECT_EQ(test.rcSelection.right, rcBlock.right);
    }
    CPMObjList records;
    MakeRecords(records, 0, colName, {{"x"}, {"y"}});
    const CRect rcColumn(colUnit, 0, colUnit, nLast);
    auto pCommand = model.PasteTiled(model.TiledPasteBlock(rcColumn, 2, true), records,
                                     CPartsUndoCommand::undoPasteColumn);
    EXPECT_EQ(5, model.GetRowsInUse());
    EXPECT_EQ("x", list.Cell(4, colUnit));
    EXPECT_EQ("", list.Cell(5, colUnit));
    ExpectUndoneAndRedone(std::move(pCommand));
}

TEST_F(PartsUndoCommandsTest, APasteAtTheCellStopsAtTheLastColumn)
{
    CPMObjList records;
    MakeRecords(records, 0, colName, {{"p", "1", "q"}, {"r", "2", "s"}});
    auto pCommand = model.PasteCellsAt(colAmount, 4, records);
    EXPECT_EQ("2500.000000", list.Cell(4, colAmount)) << "a formula column takes its figure again";
    EXPECT_EQ("1.000000", list.Cell(4, colSum));
    EXPECT_EQ("r", list.Cell(5, colAmount));
    EXPECT_EQ(6, model.GetRowsInUse());
    ExpectUndoneAndRedone(std::move(pCommand));
}

TEST_F(PartsUndoCommandsTest, ClearedRowsStopAtTheLastUsedRowAndComeBack)
{
    EXPECT_EQ(nullptr, model.ClearRows(5, 9));
    auto pCommand = model.ClearRows(3, 9);
    EXPECT_EQ("", list.Cell(4, colName));
    EXPECT_EQ(5, model.GetRowsInUse());
    ExpectUndoneAndRedone(std::move(pCommand));
}

TEST_F(PartsUndoCommandsTest, ASortIsUndoneOnlyWhereItMovedARow)
{
    int nSorted = 0;
    EXPECT_EQ(nullptr, model.SortRows(colPrice, 0, 9, true, &nSorted)) << "already in order";
    EXPECT_EQ(5, nSorted);
    auto pCommand = model.SortRows(colPrice, 1, 9, false, &nSorted);
    EXPECT_EQ(4, nSorted);
    EXPECT_EQ("a", list.Cell(0, colName));
    EXPECT_EQ("e", list.Cell(1, colName));
    EXPECT_EQ("500.000000", list.Cell(1, colPrice)) << "whole rows move";
    ExpectUndoneAndRedone(std::move(pCommand));
    // A sort that leaves its first row where it was but moves others is undone too.
    list.Put(0, colPrice, "999");
    before = list.AllCells();
    ExpectUndoneAndRedone(model.SortRows(colPrice, 0, 4, false));
}

TEST_F(PartsUndoCommandsTest, AReplaceWorksItsRowsOutAndIsOneStep)
{
    std::vector<CCellSearch::CMatch> matches;
    for (int r : {1, 3}) {
        CCellSearch::CTextMatch text;
        text.nPosition = 0;
        text.nLength = 1;
        text.strIn = model.GetCellText(r, colQty);
        matches.emplace_back(text, colQty, r);
    }
    auto pCommand = model.ReplaceCells(matches, "9");
    EXPECT_EQ("9.000000", list.Cell(1, colQty));
    EXPECT_EQ("9.000000", list.Cell(3, colQty));
    EXPECT_EQ("1800.000000", list.Cell(1, colAmount));
    EXPECT_EQ("3600.000000", list.Cell(3, colAmount));
    EXPECT_EQ("9.000000", list.Cell(1, colSum))
        << "as typing works a row out: the word A counts as empty in a sum";
    ExpectUndoneAndRedone(std::move(pCommand));
}

// A replaced number is read as a typed one, full-width digits, separators and "円" alike;
// what is then no number stays a word and makes no figure.
TEST_F(PartsUndoCommandsTest, AReplacedTextIsReadByTheOneReadingOfNumbers)
{
    const auto whole = [this](int nRow) {
        CCellSearch::CTextMatch text;
        text.nPosition = 0;
        text.strIn = model.GetCellText(nRow, colQty);
        text.nLength = text.strIn.GetLength();
        return CCellSearch::CMatch(text, colQty, nRow);
    };
    auto pCommand = model.ReplaceCells({whole(1)}, "９９"_sj);
    EXPECT_EQ("99.000000", list.Cell(1, colQty));
    EXPECT_EQ("19800.000000", list.Cell(1, colAmount));
    ExpectUndoneAndRedone(std::move(pCommand));
    model.ReplaceCells({whole(3)}, "1,200円"_sj);
    EXPECT_EQ("1200.000000", list.Cell(3, colQty));
    EXPECT_EQ("480000.000000", list.Cell(3, colAmount));
    model.ReplaceCells({whole(3)}, "1,1,250.50");
    EXPECT_EQ("1,1,250.50", list.Cell(3, colQty)) << "no number: kept as a word";
}

TEST_F(PartsUndoCommandsTest, RowsReadTakeTheirMappedTextsAndAreTakenOutAndPutBack)
{
    // Column c of the list takes text mapping[c] of each row read; -1 and texts a row has
    // not leave the cell empty.
    const std::vector<std::vector<CString>> rows = {{"9", "bolt", "x", "30"}, {"2"}, {}};
    const std::vector<int> mapping = {1, 0, -1, 3, 2, 0, 0};
    auto pCommand = model.InsertReadRows(2, rows, mapping);
    EXPECT_EQ(8, model.GetRowsInUse());
    EXPECT_EQ("bolt", list.Cell(2, colName));
    EXPECT_EQ("9.000000", list.Cell(2, colQty));
    EXPECT_EQ("", list.Cell(2, colUnit));
    EXPECT_EQ("30.000000", list.Cell(2, colPrice));
    EXPECT_EQ("270.000000", list.Cell(2, colAmount)) << "the row worked out over the text read into it";
    EXPECT_EQ("", list.Cell(3, colName));
    EXPECT_EQ("2.000000", list.Cell(3, colSum));
    EXPECT_EQ("c", list.Cell(5, colName)) << "the rows from the insert on move down";
    ExpectUndoneAndRedone(std::move(pCommand));
    EXPECT_EQ(nullptr, model.InsertReadRows(1100, rows, mapping)) << "past the row limit";
}

TEST_F(PartsUndoCommandsTest, TheStoreHoldsOneCommandAndRefusesItOnceItsRowsMoved)
{
    list.Type(2, colName, "x");
    EXPECT_TRUE(model.Undo().CanUndo());
    EXPECT_EQ(CPartsUndoCommand::undoRowsWritten, model.Undo().GetUndoAction());
    // Rows appended below its row leave it usable; rows moved above it do not.
    std::vector<std::unique_ptr<CGridRow>> rows(1);
    model.AppendRows(std::move(rows));
    EXPECT_TRUE(model.Undo().CanUndo());
    model.RemoveRowAt(0);
    EXPECT_FALSE(model.Undo().CanUndo());
    EXPECT_EQ(CPartsUndoOutcome().nChangedFrom, list.Undo().nChangedFrom)
        << "an undo that cannot act does nothing";
    // A command recorded ends what redo could do.
    list.Type(0, colName, "y");
    list.Undo();
    EXPECT_TRUE(model.Undo().CanRedo());
    list.Type(1, colName, "z");
    EXPECT_FALSE(model.Undo().CanRedo());
    EXPECT_TRUE(model.Undo().CanUndo());
}

TEST_F(PartsUndoCommandsTest, CommandsThatChangeNothingGiveNoUndo)
{
    CPMObjList none;
    EXPECT_EQ(nullptr, model.DeleteRows(7, 9)) << "no row there";
    EXPECT_EQ(nullptr, model.CutCells(CRect(0, 3, 0, 2), none));
    EXPECT_EQ(nullptr, model.PasteTiled(CRect(0, 0, 1, 1), none, CPartsUndoCommand::undoPasteTiled));
    EXPECT_EQ(nullptr, model.PasteRowsAt(0, none));
    EXPECT_EQ(nullptr, model.InsertRows(1100, 1)) << "past the row limit";
    EXPECT_EQ(nullptr, model.StoreNumber(0, colName, 5.0)) << "a total goes into a number column only";
    EXPECT_EQ(nullptr, model.InsertReadRows(0, {}, {0}));
    EXPECT_EQ(before, list.AllCells());
}

TEST_F(PartsUndoCommandsTest, ADeleteOrACutReachingPastTheRowsTakesOnlyTheRowsThere)
{
    auto pCommand = model.DeleteRows(3, 9);
    EXPECT_EQ(3, model.GetRowsInUse());
    EXPECT_EQ(4, pCommand->LastRow()) << "two rows were there to take";
    ExpectUndoneAndRedone(std::move(pCommand));
    CPMObjList records;
    model.CopyBlock(CRect(0, 4, 5, 9), records);
    pCommand = model.CutRows(4, 9, colQty, records);
    EXPECT_EQ(4, model.GetRowsInUse());
    list.Record(std::move(pCommand));
    const CPartsUndoOutcome undo = list.Undo();
    EXPECT_EQ(before, list.AllCells());
    EXPECT_EQ(CPoint(colQty, 4), CPoint(undo.nCol, undo.nRow)) << "the cut's first cell becomes current";
}

TEST_F(PartsUndoCommandsTest, CellsPastedPastTheLastRowAddTheRowsTheyFillAndUndoTakesThemAway)
{
    CPMObjList records;
    MakeRecords(records, 0, colQty, {{"2"}, {"3"}});
    auto pCommand = model.PasteCellsAt(colQty, 7, records);
    EXPECT_EQ(9, model.GetRowsInUse());
    EXPECT_EQ("3.000000", list.Cell(8, colQty));
    ExpectUndoneAndRedone(std::move(pCommand));
    EXPECT_EQ(5, model.GetRowArraySize()) << "no row is left past the rows in use";
}

TEST(PartsRowLimitTest, RowsPutInPastTheLimitRaiseItAndStayReachable)
{
    CTestPartsList list(SampleItems(), 4);
    for (int r = 0; r < 3; ++r)
        list.Put(r, colName, std::string(1, static_cast<char>('a' + r)).c_str());
    CPMObjList records;
    MakeRecords(records, 0, colName, {{"v"}, {"w"}, {"x"}, {"y"}, {"z"}});
    // Eight rows: the limit doubles once, to just hold them.
    list.Record(list.model.PasteRowsAt(1, records));
    EXPECT_EQ(8, list.model.GetRowsInUse());
    EXPECT_EQ(8, list.model.GetRowLimit());
    EXPECT_EQ("c", list.Cell(7, colName));
    list.Record(list.model.InsertReadRows(7, {{"r"}, {"s"}, {"t"}}, {0}));
    EXPECT_EQ(16, list.model.GetRowLimit());
    EXPECT_EQ("t", list.Cell(9, colName));
    EXPECT_EQ("c", list.Cell(10, colName));
    list.Undo();
    EXPECT_EQ(8, list.model.GetRowsInUse());
    EXPECT_EQ("", list.Cell(10, colName));
    EXPECT_EQ("c", list.Cell(7, colName));
}

// The estimate model without a window: its two pages stay apart, a page is read by its
// name, the engine writes the edit page and tells the host, and the counts keep their
// rules (the row limit grows by doubling, the information count covers what was set).
#include "engine/estimate/CEstimateCopyBuffers.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/CSummaryTable.h"
#include "engine/estimate/CUnnecessaryRows.h"
#include "engine/estimate/UndoCommands.h"

#include "EstimateEngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The form of CTestSheet, and what the model told its host.
class CTestHost : public IEstimateModelHost {
public:
    explicit CTestHost(const std::vector<CTestColumn>& columns) : m_sheet(columns) {}
    const CString& GetColumnText(int nCol, EColumnText eText) const override
    {
        return m_sheet.GetColumnText(nCol, eText);
    }
    void GrowUsedRows(int nRows) override { grown.push_back(nRows); }
    void RowsWritten(int nFirst, int nLast) override { written.emplace_back(nFirst, nLast); }
    void RowsMoved(int nFromRow) override { moved.push_back(nFromRow); }
    void MarkRowMoved(int, int nNew) override { marks.push_back(nNew); }
    CTaxSettings GetTaxSettings() const override { return {}; }
    bool IsTaxVerticalTotal() const override { return false; }

    std::vector<int> grown;
    std::vector<int> moved;
    std::vector<int> marks;
    std::vector<std::pair<int, int>> written;

private:
    CTestSheet m_sheet;
};

using EPage = CEstimateModel::EPage;

// Name, quantity, price, amount (= quantity x price).
const std::vector<CTestColumn> kColumns = {
    {"文字", "", "", "", "6", ""},
    {"数値", "#,###.##", "", "", "3", ""},
    {"数値", "###,###", "", "", "", ""},
    {"計 A", "###,###", "B*C", "D(-1)", "", "2"},
};

class EstimateModelTest : public ::testing::Test {
protected:
    EstimateModelTest()
    {
        model.SetRowLimit(100);
        model.SetColumnCount(static_cast<int>(kColumns.size()));
    }
    // A detail row typed in at nRow, its formula worked out.
    void Detail(int nRow, const char* name, const char* qty, const char* price)
    {
        CEstimateEngine& engine = model.Engine();
        engine.SetCellText(CString::FromUtf8(name), nRow, 0, true);
        engine.SetCellText(qty, nRow, 1, true);
        engine.SetCellText(price, nRow, 2, true);
        engine.SetRowKind(kindDetail, nRow);
        engine.CalcRow(nRow, 0);
    }
    // The large heading "L" over the details a (2 x 300) and b (3 x 10).
    void LargeHeadingAndTwoDetails()
    {
        model.Engine().SetCellText("L", 0, 0, true);
        model.Engine().SetRowKind(kindLarge, 0);
        Detail(1, "a", "2", "300");
        Detail(2, "b", "3", "10");
    }
    std::string Cell(EPage ePage, int nRow, int nCol) const
    {
        return model.CellText(ePage, nRow, nCol).str();
    }
    double Value(EPage ePage, int nRow, int nCol) const { return std::stod("0" + Cell(ePage, nRow, nCol)); }

    CTestHost host{kColumns};
    CEstimateModel model{host};
};

TEST_F(EstimateModelTest, TheEngineWritesTheEditPageGrowsItsUsedRowsAndTellsTheHost)
{
    Detail(0, "a", "2", "300");
    Detail(4, "b", "3", "10");
    EXPECT_EQ(5, model.GetUsedRows());
    model.Engine().MakeTotalRow(5, ETotalLevel::levelGrand);
    EXPECT_EQ(6, model.GetUsedRows());
    EXPECT_EQ(600, Value(EPage::edit, 0, 3));
    EXPECT_EQ(630, Value(EPage::edit, 5, 3));
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 4));
    // The host heard of every growth, ending at the model's count, and of the total written.
    ASSERT_FALSE(host.grown.empty());
    EXPECT_EQ(6, host.grown.back());
    EXPECT_NE(std::find(host.written.begin(), host.written.end(), std::make_pair(5, 5)), host.written.end());
    // The summary page saw none of it.
    EXPECT_EQ(0, model.Rows(EPage::summary).GetSize());
    EXPECT_EQ("", Cell(EPage::summary, 0, 0));
    EXPECT_EQ(kindEmpty, model.RowKind(EPage::summary, 4));
}

TEST_F(EstimateModelTest, WritingTheSummaryPageLeavesTheEditPageAndItsUsedRowsAlone)
{
    Detail(0, "a", "2", "300");
    const unsigned long long nChanges = model.Rows(EPage::edit).GetChangeCount();
    model.SetSummaryKind(kindLarge, 0);
    model.SetSummaryCell(0, 0, "summary");
    model.SetSummaryKind(kindEmpty, 2);

    EXPECT_EQ("summary", Cell(EPage::summary, 0, 0));
    EXPECT_EQ("a", Cell(EPage::edit, 0, 0));
    EXPECT_EQ(1, model.GetUsedRows());
    EXPECT_EQ(nChanges, model.Rows(EPage::edit).GetChangeCount());
    // Each page's subject numbers count its own headings.
    CSubjectNumbering numbering;
    numbering.nShown = 1;
    numbering.nColumn = 0;
    model.SetNumbering(numbering);
    EXPECT_EQ("", model.GetSubjectNumberText(EPage::edit, 0, 0).str());
    EXPECT_NE("", model.GetSubjectNumberText(EPage::summary, 0, 0).str());
}

TEST_F(EstimateModelTest, ReadsOutsideTheRowLimitOrTheColumnsAreEmpty)
{
    Detail(2, "a", "1", "1");
    EXPECT_EQ("a", Cell(EPage::edit, 2, 0));
    EXPECT_EQ("", Cell(EPage::edit, 2, 7)); // beyond the form's columns
    EXPECT_EQ("", Cell(EPage::edit, -1, 0));
    model.SetRowLimit(2); // the row now lies past the limit
    EXPECT_EQ(nullptr, model.Row(EPage::edit, 2));
    EXPECT_EQ("", Cell(EPage::edit, 2, 0));
    EXPECT_EQ(kindEmpty, model.RowKind(EPage::edit, 2));
    EXPECT_EQ(0, model.CellIndent(EPage::edit, 2, 0));
}

TEST_F(EstimateModelTest, TheRowLimitGrowsByDoublingUntilTheRowsFit)
{
    const std::vector<std::pair<int, int>> cases = {// limit, rows -> the limit after
                                                    {100, 50},  {100, 100}, {100, 101},
                                                    {100, 401}, {0, 37},    {-5, 37}};
    for (const auto& [nLimit, nRows] : cases) {
        model.SetRowLimit(nLimit);
        model.GrowRowLimitToFit(nRows);
        const int nAfter = model.GetRowLimit();
        EXPECT_GE(nAfter, nRows) << nLimit << " " << nRows;
        if (nLimit >= nRows)
            EXPECT_EQ(nLimit, nAfter);
        else if (nLimit <= 0)
            EXPECT_EQ(nRows, nAfter);
        else // a power-of-two multiple of the old limit, the first that fits
            EXPECT_TRUE(nAfter % nLimit == 0 && nAfter / 2 < nRows) << nLimit << " " << nRows;
    }
}

TEST_F(EstimateModelTest, InformationValuesCoverWhatWasSetWithinTheLimit)
{
    model.SetInformation(0, "見積書");
    EXPECT_EQ("見積書", model.GetInformation(0).str());
    model.SetInformation(4, "工事名");
    EXPECT_EQ(5, model.GetInformationCount());
    EXPECT_EQ("工事名", model.GetInformation(4).str());
    EXPECT_EQ("", model.GetInformation(3).str());
    model.SetInformation(CEstimateModel::MAX_INFORMATION, "x"); // beyond the values: ignored
    model.SetInformation(-1, "x");
    EXPECT_EQ(5, model.GetInformationCount());
    EXPECT_EQ("", model.GetInformation(CEstimateModel::MAX_INFORMATION).str());
    model.SetInformationCount(1000);
    EXPECT_EQ(CEstimateModel::MAX_INFORMATION, model.GetInformationCount());
    model.ClearInformation();
    EXPECT_EQ("", model.GetInformation(4).str());
}

TEST_F(EstimateModelTest, RowsPutInAndTakenOutMoveTheRowsTheCountsTheStepsAndTheUndoRecord)
{
    for (int r = 0; r < 3; ++r)
        Detail(r, std::to_string(r).c_str(), "1", "1");
    model.SetRowLimit(4);
    model.Undo().Record(std::make_unique<CMarkRowCommand>(2));

    // Two rows at row 1: the used rows cover them, the limit doubles past the last used
    // row, and the record of a command on a moved row can neither undo nor redo.
    CRowSteps steps;
    model.BeginRowSteps(steps);
    model.PutRowsIn(1, 2, nullptr);
    EXPECT_EQ(5, model.GetUsedRows());
    EXPECT_EQ(8, model.GetRowLimit());
    EXPECT_EQ("2", Cell(EPage::edit, 4, 0));
    EXPECT_EQ(kindEmpty, model.RowKind(EPage::edit, 1));
    EXPECT_FALSE(model.Undo().CanUndo());

    // Taken out while recorded: the row goes to the steps, not away; past the rows: nothing.
    EXPECT_EQ(1, model.TakeRowsOut(0, 1, nullptr));
    EXPECT_EQ(0, model.TakeRowsOut(7, 1, nullptr));
    model.EndRowSteps();
    EXPECT_EQ(1u, steps.GetKeptCount());
    EXPECT_EQ(4, model.GetUsedRows());
    EXPECT_EQ("1", Cell(EPage::edit, 2, 0));
    ASSERT_EQ(2u, steps.Steps().size());
    EXPECT_TRUE(steps.Steps()[0].bInserted);
    EXPECT_EQ(3, steps.Steps()[0].nUsedRowsBefore);
    EXPECT_FALSE(steps.Steps()[1].bInserted);
    EXPECT_EQ(0, steps.Steps()[1].nRow);

    // Taken out with no command recording: gone.
    EXPECT_EQ(1, model.TakeRowsOut(3, 1, nullptr));
    EXPECT_EQ(3, model.GetUsedRows());

    // Rows written past the used ones make them reach the row.
    model.ReachRow(6);
    EXPECT_EQ(7, model.GetUsedRows());
    model.ReachRow(2);
    EXPECT_EQ(7, model.GetUsedRows());
}

TEST_F(EstimateModelTest, NonCalculatedMarksSkipSummaryRowsAndRecordEveryFormerKind)
{
    Detail(0, "a", "2", "3");
    model.Engine().MakeTotalRow(1, ETotalLevel::levelGrand);
    model.Engine().SetRowKind(SummaryKindOf(kindDetail), 2);
    model.SetNonCalculated(true, 2, 0); // either order
    EXPECT_EQ(NonCalculatedKindOf(kindDetail), model.RowKind(EPage::edit, 0));
    EXPECT_TRUE(IsNonCalculatedKind(model.RowKind(EPage::edit, 1)));
    EXPECT_TRUE(IsSummaryKind(model.RowKind(EPage::edit, 2)));
    EXPECT_EQ(CUndoCommand::undoNonCalcSet, model.Undo().GetUndoAction());
    EXPECT_EQ(0, model.Undo().GetUndoCommand()->FirstRow());
    EXPECT_EQ(2, model.Undo().GetUndoCommand()->LastRow());

    model.SetNonCalculated(false, 0, 1);
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 0));
    EXPECT_EQ(CUndoCommand::undoNonCalcRelease, model.Undo().GetUndoAction());
    model.SetNonCalculated(true, 1, 1);
    EXPECT_EQ(1, model.Undo().GetUndoCommand()->FirstRow());
    EXPECT_EQ(1, model.Undo().GetUndoCommand()->LastRow());
}

TEST_F(EstimateModelTest, RowsReplacedWholeAreTheUsedRowsWithinAGrownLimit)
{
    Detail(0, "old", "1", "1");
    model.SetRowLimit(2);
    std::vector<std::unique_ptr<CGridRow>> rows;
    for (int r = 0; r < 5; ++r) {
        rows.push_back(std::make_unique<CGridRow>());
        rows.back()->SetCell(0, std::to_string(r).c_str());
    }
    model.ReplaceEditRows(std::move(rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(5, model.GetUsedRows());
    EXPECT_EQ(8, model.GetRowLimit());
    EXPECT_EQ("0", Cell(EPage::edit, 0, 0));
    EXPECT_EQ("4", Cell(EPage::edit, 4, 0));
}

} // namespace

// Every row, its kind and its cells, the used rows and the remembered row.
static std::string Snapshot(const CEstimateModel& model)
{
    std::string s = std::to_string(model.GetUsedRows()) + " mark " + std::to_string(model.GetMarkRow());
    for (int r = 0; r < model.GetRowLimit(); ++r) {
        s += "\n" + std::to_string(static_cast<int>(model.RowKind(EPage::edit, r)));
        for (int c = 0; c < static_cast<int>(kColumns.size()); ++c)
            s += "|" + model.CellText(EPage::edit, r, c).str();
    }
    return s;
}

// The command changes the rows; undo gives back the rows before it, redo those after it, and
// an undo of the redo those before it again.
static void ExpectUndoneAndRedone(CEstimateModel& model, const CEstimateModel::CPageRule& rule,
                                  const std::string& strName, const std::function<void()>& command)
{
    const std::string strBefore = Snapshot(model);
    command();
    const std::string strAfter = Snapshot(model);
    EXPECT_NE(strBefore, strAfter) << strName;
    model.RunUndoStep(false, rule, nullptr);
    EXPECT_EQ(strBefore, Snapshot(model)) << strName;
    model.RunUndoStep(true, rule, nullptr);
    EXPECT_EQ(strAfter, Snapshot(model)) << strName;
    // What the redo recorded is taken back as the command was.
    model.RunUndoStep(false, rule, nullptr);
    EXPECT_EQ(strBefore, Snapshot(model)) << strName;
}

TEST_F(EstimateModelTest, RowCommandsAreUndoneAndRedoneOnTheModelAlone)
{
    // Pages of four rows, aligned: a heading after an empty row starts page 2 (row 4), and
    // every command before it pushes or pulls it along.
    const CEstimateModel::CPageRule rule{4, true};
    const auto setUp = [&] {
        model.ReplaceEditRows({});
        model.SetRowLimit(40);
        model.SetMarkRow(-1);
        Detail(0, "a", "2", "300");
        Detail(1, "b", "3", "10");
        model.Engine().SetCellText("H", 4, 0, true);
        model.Engine().SetRowKind(kindLarge, 4);
        Detail(5, "c", "1", "5");
    };
    IUndoTarget::CRateSettings rate;
    rate.strFormula = "*2";
    // Prices of a quantity above 2 or of at most 5 doubled: "b" and "c", not "a". Every
    // setting left out of a redo would double "a" too, or leave "b" or "c".
    IUndoTarget::CRateSettings twoConditions = rate;
    twoConditions.condition = {1, 5, "2", 2, 1, "5", 0};
    const std::vector<std::pair<std::string, std::function<void()>>> commands = {
        {"insert", [&] { model.InsertRowAt(1, 1, rule); }},
        {"delete", [&] { model.DeleteRowAt(0, 0, rule); }},
        {"insert rows", [&] { EXPECT_EQ(2, model.InsertRowsAt(0, 2, rule)); }},
        {"clear", [&] { EXPECT_TRUE(model.ClearRow(0, 1)); }},
        {"clear rows", [&] { model.ClearRows(0, 5); }},
        {"non-calculated", [&] { model.SetNonCalculated(true, 0, 5); }},
        {"fixed rate", [&] { model.ApplyFixedRate(2, 0, 9, rate); }},
        {"fixed rate, two conditions",
         [&] {
             model.ApplyFixedRate(2, 0, 9, twoConditions);
             EXPECT_EQ((std::vector<double>{300, 20, 10}),
                       (std::vector<double>{Value(EPage::edit, 0, 2), Value(EPage::edit, 1, 2),
                                            Value(EPage::edit, 5, 2)}));
         }},
        {"mark", [&] { model.MarkRow(4); }},
        // Quantity, price and amount emptied in every used row: the form's columns end
        // there. The names stay.
        {"item clear",
         [&] {
             const CEstimateModel::CColumnSpan cleared = model.ClearColumns(1, 99);
             EXPECT_EQ(1, cleared.nFirst);
             EXPECT_EQ(3, cleared.nLast);
             EXPECT_EQ("", Cell(EPage::edit, 5, 1));
             EXPECT_EQ("c", Cell(EPage::edit, 5, 0));
             EXPECT_EQ(CUndoCommand::undoItemClear, model.Undo().GetUndoAction());
         }},
    };
    for (const auto& [strName, command] : commands) {
        setUp();
        if (strName != "mark")
            model.SetMarkRow(5); // the remembered row moves with the rows
        ExpectUndoneAndRedone(model, rule, strName, command);
    }
}

TEST_F(EstimateModelTest, AnItemClearOutsideTheColumnsOrTheUsedRowsRecordsNothing)
{
    model.Undo().Record(std::make_unique<CMarkRowCommand>(0));
    EXPECT_EQ(-1, model.ClearColumns(0, 0).nFirst) << "no used row";
    Detail(0, "a", "2", "300");
    EXPECT_EQ(-1, model.ClearColumns(4, 9).nFirst);
    EXPECT_EQ(-1, model.ClearColumns(2, 1).nFirst);
    EXPECT_EQ(CUndoCommand::undoMarkRow, model.Undo().GetUndoAction());
    EXPECT_EQ(0, model.ClearColumns(-3, 0).nFirst);
    EXPECT_EQ("", Cell(EPage::edit, 0, 0));
}

// Row clears over empty rows and fixed-rate changes that write every number as it was leave
// the estimate as it was: the store records nothing, and the undo taken back stays to be done
// again.
TEST_F(EstimateModelTest, RowCommandsThatLeaveTheRowsAsTheyWereRecordNothingAndKeepTheRedo)
{
    const CEstimateModel::CPageRule rule{4, false};
    Detail(0, "a", "2", "300");
    Detail(2, "b", "3", "10");
    model.Engine().SetCellText("H", 3, 0, true);
    model.Engine().SetRowKind(kindLarge, 3);
    ASSERT_TRUE(model.ClearRow(0, 2));
    model.RunUndoStep(false, rule, nullptr);
    ASSERT_TRUE(model.Undo().CanRedo());
    IUndoTarget::CRateSettings once;
    once.strFormula = "*1";
    IUndoTarget::CRateSettings twice;
    twice.strFormula = "*2";
    const std::vector<std::pair<std::string, std::function<void()>>> commands = {
        {"empty row cleared", [&] { model.ClearRows(1, 1); }},
        {"rows below the used rows cleared", [&] { model.ClearRows(4, 7); }},
        {"prices times one", [&] { model.ApplyFixedRate(2, 0, 3, once); }},
        {"an empty row's price doubled", [&] { model.ApplyFixedRate(2, 1, 1, twice); }},
        {"prices below the used rows doubled", [&] { model.ApplyFixedRate(2, 4, 9, twice); }},
    };
    for (const auto& [strName, command] : commands) {
        const unsigned long long nRecords = model.Undo().GetRecordCount();
        command();
        EXPECT_EQ(nRecords, model.Undo().GetRecordCount()) << strName;
        EXPECT_TRUE(model.Undo().CanRedo()) << strName;
        EXPECT_FALSE(model.Undo().CanUndo()) << strName;
    }
    EXPECT_EQ("b", Cell(EPage::edit, 2, 0));
    model.RunUndoStep(true, rule, nullptr);
    EXPECT_EQ("", Cell(EPage::edit, 2, 0)) << "the clear done again";
}

TEST_F(EstimateModelTest, AnIndentMovesTheRowsOfItsLevelAndASummaryRowOnBothPages)
{
    using EIndentLevel = CEstimateModel::EIndentLevel;
    using EIndentMove = CEstimateModel::EIndentMove;
    // A large heading, its detail and total; a summary of the heading written at the top.
    model.Engine().SetCellText("H", 0, 0, true);
    model.Engine().SetRowKind(kindLarge, 0);
    Detail(1, "a", "2", "300");
    model.Engine().SetCellText("T", 2, 0, true);
    model.Engine().SetRowKind(kindLargeTotal, 2);
    model.SetSummaryKind(SummaryKindOf(kindLarge), 0);
    model.SetSummaryCell(0, 0, "H");
    model.SetSummaryKind(SummaryKindOf(kindDetail), 1);
    model.WriteSummaryAtTop(4); // the summary rows are rows 0 and 1, the heading row 4
    const auto indents = [&](EPage ePage, int nRows) {
        std::vector<int> result;
        for (int r = 0; r < nRows; ++r)
            result.push_back(model.CellIndent(ePage, r, 0));
        return result;
    };

    EXPECT_TRUE(model.IndentColumn(EPage::edit, 0, EIndentLevel::large, EIndentMove::increase, 3));
    EXPECT_EQ((std::vector<int>{3, 0, 0, 0, 3, 0, 3}), indents(EPage::edit, 7));
    EXPECT_EQ((std::vector<int>{3, 0}), indents(EPage::summary, 2)) << "the summary page follows";
    EXPECT_TRUE(model.IndentColumn(EPage::edit, 0, EIndentLevel::large, EIndentMove::reduce, 1));
    EXPECT_EQ((std::vector<int>{2, 0, 0, 0, 2, 0, 2}), indents(EPage::edit, 7));
    EXPECT_TRUE(model.IndentColumn(EPage::edit, 0, EIndentLevel::detail, EIndentMove::increase, 1));
    EXPECT_EQ((std::vector<int>{2, 1, 0, 0, 2, 1, 2}), indents(EPage::edit, 7));
    EXPECT_EQ((std::vector<int>{2, 1}), indents(EPage::summary, 2));
    EXPECT_EQ(CUndoCommand::undoIndent, model.Undo().GetUndoAction());
    model.RunUndoStep(false, {4, false}, nullptr);
    EXPECT_EQ((std::vector<int>{2, 0, 0, 0, 2, 0, 2}), indents(EPage::edit, 7));
    model.RunUndoStep(true, {4, false}, nullptr);
    EXPECT_EQ((std::vector<int>{2, 1, 0, 0, 2, 1, 2}), indents(EPage::edit, 7));

    // Every row back to the cell's edge; on the summary page alone, nothing recorded.
    EXPECT_TRUE(model.IndentColumn(EPage::edit, 0, EIndentLevel::all, EIndentMove::remove, 5));
    EXPECT_EQ((std::vector<int>(7, 0)), indents(EPage::edit, 7));
    EXPECT_FALSE(model.IndentColumn(EPage::summary, 0, EIndentLevel::all, EIndentMove::increase, 4));
    EXPECT_EQ((std::vector<int>{4, 4}), indents(EPage::summary, 2));
    EXPECT_EQ((std::vector<int>(7, 0)), indents(EPage::edit, 7));
    EXPECT_EQ(CUndoCommand::undoIndent, model.Undo().GetUndoAction());
    EXPECT_FALSE(model.IndentColumn(EPage::edit, 4, EIndentLevel::all, EIndentMove::increase, 1))
        << "no column of the form";
}

TEST_F(EstimateModelTest, UnnecessaryRowsSideBySideAllGoInOneCommand)
{
    const CEstimateModel::CPageRule rule{4, false};
    Detail(0, "a", "2", "300");
    Detail(1, "b", "0", "10");
    Detail(2, "c", "0", "10");
    Detail(3, "d", "1", "5");
    Detail(4, "e", "0", "1");
    ExpectUndoneAndRedone(model, rule, "unnecessary rows", [&] {
        const CUnnecessaryRows unnecessary(model.Engine(), CUnnecessaryRows::EScan::manual);
        EXPECT_EQ(1, model.DeleteUnnecessaryRows(unnecessary, CUnnecessaryRows::conditionQuantityZero, rule));
        EXPECT_EQ(2, model.GetUsedRows());
        EXPECT_EQ("d", Cell(EPage::edit, 1, 0));
    });
}

// Replace finds a number as it shows and writes the cell as typed input is written: read by
// the one reading of numbers (full-width digits, "円", separators) and rounded by its column,
// a word kept as it is; one match is an edit of its cell, several one replace all, each taken
// back and done again on the model alone.
TEST_F(EstimateModelTest, AReplaceWritesAsTypingWritesAndIsOneCommand)
{
    const CEstimateModel::CPageRule rule{40, false};
    Detail(0, "a", "128.5", "350");
    Detail(1, "b", "128.5", "280");
    Detail(2, "c", "10", "1,200");
    CCellSearch::COptions options;
    const CRect rcAll(0, 0, 3, 99);
    std::vector<CCellSearch::CMatch> found = model.FindAll("128.50", options, rcAll);
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ("128.50", found[0].strIn.str()) << "found as the cell shows it";
    ExpectUndoneAndRedone(model, rule, "replace all", [&] { model.ReplaceAll(found, "２００．００５"_sj); });
    model.RunUndoStep(true, rule, nullptr);
    EXPECT_EQ("200.010000", Cell(EPage::edit, 0, 1)) << "rounded to the picture's two decimals";
    EXPECT_EQ("200.010000", Cell(EPage::edit, 1, 1));

    // Two quantities, the price 1,200 and the amount 12,000 (without its separators).
    found = model.FindAll("200", options, rcAll);
    ASSERT_EQ(4u, found.size());
    ASSERT_EQ(2, found[2].nCol);
    ExpectUndoneAndRedone(model, rule, "replace", [&] { model.ReplaceMatch(found[2], "1,250.50", true); });
    model.RunUndoStep(true, rule, nullptr);
    EXPECT_EQ("1,1,250.50", Cell(EPage::edit, 2, 2)) << "no number: a word";
    model.ReplaceMatch(model.FindAll("1,1,250.50", options, rcAll).front(), "12,000円"_sj, true);
    EXPECT_EQ("12000.000000", Cell(EPage::edit, 2, 2));
    EXPECT_EQ("120000.000000", Cell(EPage::edit, 2, 3)) << "the row worked out at once";

    // Text replaced into an empty row makes it a detail row.
    model.Engine().SetCellText("@", 5, 0, true);
    ASSERT_EQ(kindEmpty, model.RowKind(EPage::edit, 5));
    model.ReplaceAll(model.FindAll("@", options, rcAll), "x");
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 5));
}

// A cell's whole text replaced by nothing is emptied, as deleting it by typing would.
TEST_F(EstimateModelTest, ReplacingACellsWholeTextWithNothingEmptiesIt)
{
    Detail(0, "a", "2", "350");
    model.ReplaceAll(model.FindAll("a", CCellSearch::COptions(), CRect(0, 0, 3, 99)), "");
    EXPECT_EQ("", Cell(EPage::edit, 0, 0));
}

// Information values a read takes over join the rows it read: one undo takes both back and
// the redo brings both again; values taken over alone are a step of their own.
TEST_F(EstimateModelTest, InformationTakenOverWithTheRowsReadIsUndoneAndRedoneWithThem)
{
    const CEstimateModel::CPageRule rule{40, false};
    CEstimateModel::CRowsRead read;
    read.columns = {0};
    read.rows.resize(1);
    read.rows[0].SetKind(kindDetail);
    read.rows[0].SetCell(0, "R");
    const std::string strBefore = Snapshot(model);
    ASSERT_EQ(1, model.InsertRowsRead(0, read, rule));
    ASSERT_TRUE(model.TakeOverInformation({{2, "Site A"}}, true));
    model.RunUndoStep(false, rule, nullptr);
    EXPECT_EQ(strBefore, Snapshot(model));
    EXPECT_EQ("", model.GetInformation(2).str());
    model.RunUndoStep(true, rule, nullptr);
    EXPECT_EQ("R", Cell(EPage::edit, 0, 0));
    EXPECT_EQ("Site A", model.GetInformation(2).str());

    ASSERT_TRUE(model.TakeOverInformation({{2, "Site B"}}, false));
    model.RunUndoStep(false, rule, nullptr);
    EXPECT_EQ("Site A", model.GetInformation(2).str());
    EXPECT_EQ("R", Cell(EPage::edit, 0, 0)) << "the rows read stay";
}

TEST_F(EstimateModelTest, RowCommandsKeepAHeadingAtItsPageStartAndTheMarkOnItsRow)
{
    Detail(0, "a", "2", "300");
    model.Engine().SetCellText("H", 4, 0, true);
    model.Engine().SetRowKind(kindLarge, 4);
    model.MarkRow(4);
    model.InsertRowAt(0, 0, {4, true});
    EXPECT_EQ(kindLarge, model.RowKind(EPage::edit, 4)) << "the heading stays at its page start";
    EXPECT_EQ(4, model.GetMarkRow());
    model.InsertRowAt(0, 0, {4, false});
    EXPECT_EQ(kindLarge, model.RowKind(EPage::edit, 5));
    EXPECT_EQ(5, model.GetMarkRow()) << "the remembered row moves with its row";
    model.DeleteRowAt(0, 5, {4, false});
    EXPECT_EQ(-1, model.GetMarkRow()) << "and goes with it";
    EXPECT_FALSE(host.moved.empty());
    // The windows heard of each move of the mark (the aligned insertion moves it down and
    // the alignment back up), and of nothing else.
    EXPECT_EQ((std::vector<int>{4, 5, 4, 5, -1}), host.marks);
}

TEST_F(EstimateModelTest, PageCommandsKeepTheAlignedHeadingAndAreUndoneAndRedone)
{
    // Pages of four rows: "b" has no quantity, the heading starts page 2 (row 4).
    const CEstimateModel::CPageRule rule{4, true};
    const auto setUp = [&] {
        model.ReplaceEditRows({});
        model.SetRowLimit(40);
        Detail(0, "a", "2", "300");
        Detail(1, "b", "0", "10");
        model.Engine().SetCellText("H", 4, 0, true);
        model.Engine().SetRowKind(kindLarge, 4);
        Detail(5, "c", "1", "5");
    };
    struct CCase {
        const char* name;
        std::function<void()> command;
        CUndoCommand::EAction eAction;
        int nHeadingRow; // where the heading stands after the command
        int nUsedRows;
    };
    const std::vector<CCase> cases = {
        {"insert page", [&] { model.InsertPage(0, rule); }, CUndoCommand::undoPageInsert, 8, 10},
        {"delete page", [&] { EXPECT_TRUE(model.DeletePage(0, rule)); }, CUndoCommand::undoPageDelete, 0, 2},
        // Three rows push "b" to page 2, and the heading to page 3.
        {"feed page", [&] { EXPECT_EQ(3, model.FeedPage(1, rule)); }, CUndoCommand::undoPageFeed, 8, 10},
        // "b" goes; the heading would move up to page 1, behind "a", so it goes to page 2.
        {"unnecessary rows",
         [&] {
             const CUnnecessaryRows unnecessary(model.Engine(), CUnnecessaryRows::EScan::manual);
             EXPECT_EQ(
                 1, model.DeleteUnnecessaryRows(unnecessary, CUnnecessaryRows::conditionQuantityZero, rule));
         },
         CUndoCommand::undoUnnecessaryRows, 4, 6},
    };
    for (const CCase& test : cases) {
        setUp();
        ExpectUndoneAndRedone(model, rule, test.name, [&] {
            test.command();
            EXPECT_EQ(test.eAction, model.Undo().GetUndoAction()) << test.name;
            EXPECT_EQ("H", Cell(EPage::edit, test.nHeadingRow, 0)) << test.name;
            EXPECT_EQ(test.nUsedRows, model.GetUsedRows()) << test.name;
        });
    }
    // A page past the used rows holds nothing to delete, and nothing is recorded.
    setUp();
    model.Undo().Record(std::make_unique<CMarkRowCommand>(0));
    EXPECT_FALSE(model.DeletePage(2, rule));
    EXPECT_EQ(CUndoCommand::undoMarkRow, model.Undo().GetUndoAction());
}

TEST_F(EstimateModelTest, ASummaryWrittenAgainReplacesTheOneWrittenBeforeAndUndoBringsItBack)
{
    const CEstimateModel::CPageRule rule{4, false};
    model.Engine().SetCellText("H", 0, 0, true);
    model.Engine().SetRowKind(kindLarge, 0);
    Detail(1, "a", "2", "300");
    // A summary page of these lines ("": no row there), as the summary table leaves it.
    const auto summary = [&](const std::vector<const char*>& names) {
        model.SummaryTable(model.GetColumnCount()).Clear();
        for (int r = 0; r < static_cast<int>(names.size()); ++r) {
            if (*names[static_cast<size_t>(r)] == '\0')
                continue;
            model.SetSummaryKind(SummaryKindOf(kindLarge), r);
            model.SetSummaryCell(r, 0, names[static_cast<size_t>(r)]);
        }
    };
    const auto summaryRows = [&] {
        std::string s;
        for (int r = 0; r < model.GetUsedRows(); ++r)
            s += IsSummaryKind(model.RowKind(EPage::edit, r)) ? Cell(EPage::edit, r, 0) + " " : "";
        return s;
    };
    summary({"S1"});
    model.WriteSummaryAtTop(rule.nPageRows); // a page
    EXPECT_EQ("S1 ", summaryRows());
    EXPECT_EQ("H", Cell(EPage::edit, 4, 0));
    // Two pages in place of the one: the estimate's rows follow them.
    summary({"S2", "", "", "", "S3"});
    ExpectUndoneAndRedone(model, rule, "summary", [&] {
        model.WriteSummaryAtTop(rule.nPageRows);
        EXPECT_EQ(CUndoCommand::undoSummaryWritten, model.Undo().GetUndoAction());
        EXPECT_EQ("S2 S3 ", summaryRows());
        EXPECT_EQ("H", Cell(EPage::edit, 8, 0));
        EXPECT_EQ(10, model.GetUsedRows());
    });
    EXPECT_EQ("S1 ", summaryRows());
}

TEST_F(EstimateModelTest, PartsRowsTakeTheColumnsTheFormNamesAndAreWorkedOut)
{
    Detail(0, "a", "2", "300");
    model.Engine().MakeRow(0)->SetIndent(0, 3);
    CGridRow parts;
    parts.SetCell(1, "P-1");
    parts.SetCell(2, "1,200");
    parts.SetCell(5, "4");
    const CGridRow* rows[] = {&parts, nullptr};
    // Name from parts column 1, quantity from 5, price from 2; the amount is worked out.
    const std::vector<int> sourceCols = {1, 5, 2, CEstimateModel::notFromParts};
    const std::string strBefore = Snapshot(model);
    model.InsertPartsRows(0, 1, rows, 2, sourceCols, {4, true});

    EXPECT_EQ("P-1", Cell(EPage::edit, 1, 0));
    EXPECT_EQ(4, Value(EPage::edit, 1, 1));
    EXPECT_EQ(1200, Value(EPage::edit, 1, 2));
    EXPECT_EQ(4800, Value(EPage::edit, 1, 3));
    EXPECT_EQ(3, model.CellIndent(EPage::edit, 1, 0)) << "the nearest detail row's indent";
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 2));
    EXPECT_EQ("", Cell(EPage::edit, 2, 0));
    EXPECT_EQ(3, model.GetUsedRows());
    EXPECT_EQ(CUndoCommand::undoRowsPasteCount, model.Undo().GetUndoAction());
    model.RunUndoStep(false, {4, true}, nullptr);
    EXPECT_EQ(strBefore, Snapshot(model));
}

TEST_F(EstimateModelTest, SpecialRowsGoInAsPlainRowsAndAreUndoneAndRedone)
{
    // A large heading over "a" (600) and "b" (30); a heading at the start of page 2.
    const CEstimateModel::CPageRule rule{4, true};
    const auto setUp = [&] {
        model.ReplaceEditRows({});
        model.SetRowLimit(40);
        LargeHeadingAndTwoDetails();
        model.Engine().SetCellText("H", 4, 0, true);
        model.Engine().SetRowKind(kindLarge, 4);
    };
    setUp();
    ExpectUndoneAndRedone(model, rule, "classify", [&] {
        // 10 % of the amounts of the rows named "a" under the heading.
        model.InsertClassifyRow(2, "", "10", "a", 0, 0, EStepRange::nearestHeading);
        EXPECT_EQ(CUndoCommand::undoSpecialRow, model.Undo().GetUndoAction());
        EXPECT_EQ(kindClassify, model.RowKind(EPage::edit, 2));
        EXPECT_EQ(60, Value(EPage::edit, 2, 3));
        EXPECT_EQ("b", Cell(EPage::edit, 3, 0));
        EXPECT_EQ("H", Cell(EPage::edit, 5, 0)) << "no page alignment";
    });
    setUp();
    model.Engine().SetRowKind(kindDiscount, 2); // "b" a discount of 30
    ExpectUndoneAndRedone(model, rule, "discount total", [&] {
        model.InsertDiscountTotal(3, ETotalLevel::levelLarge);
        EXPECT_EQ(CUndoCommand::undoSpecialRow, model.Undo().GetUndoAction());
        EXPECT_EQ(DiscountTotalKindOf(ETotalLevel::levelLarge), model.RowKind(EPage::edit, 3));
        EXPECT_EQ(LevelNumber(ETotalLevel::levelLarge), model.Row(EPage::edit, 3)->GetParam1());
        EXPECT_EQ(CString::FromUtf8("L値引合計").str(), Cell(EPage::edit, 3, 0));
        EXPECT_EQ(30, Value(EPage::edit, 3, 3)) << "the discounts under the heading";
        EXPECT_EQ(6, model.GetUsedRows());
    });
}

TEST_F(EstimateModelTest, PickedRowsTakeTheListColumnsTheFormNamesAndAreUndoneAndRedone)
{
    Detail(0, "a", "2", "300");
    model.Engine().MakeRow(0)->SetIndent(0, 3);
    // Name from list column 0, quantity from 3, price from 1; the second entry has only a
    // name.
    const std::vector<std::vector<CString>> texts = {{"P-1", "1,200", "x", "4"}, {"Q"}};
    const std::vector<int> listCols = {0, 3, 1, -1};
    ExpectUndoneAndRedone(model, {4, true}, "pick", [&] {
        model.InsertPickedRows(0, 1, texts, kindDetail, listCols, {4, true});
        EXPECT_EQ(CUndoCommand::undoRowsPasteCount, model.Undo().GetUndoAction());
        EXPECT_EQ("P-1", Cell(EPage::edit, 1, 0));
        EXPECT_EQ(4, Value(EPage::edit, 1, 1));
        EXPECT_EQ(1200, Value(EPage::edit, 1, 2));
        EXPECT_EQ(4800, Value(EPage::edit, 1, 3));
        EXPECT_EQ(3, model.CellIndent(EPage::edit, 1, 0)) << "the nearest detail row's indent";
        EXPECT_EQ(3, model.CellIndent(EPage::edit, 2, 0));
        EXPECT_EQ("Q", Cell(EPage::edit, 2, 0));
        EXPECT_EQ("", Cell(EPage::edit, 2, 1));
        EXPECT_EQ(3, model.GetUsedRows());
    });
    // Free rows stay out of the totals and keep their kind.
    model.InsertPickedRows(0, 0, {{"F"}}, kindFree, listCols, {4, true});
    EXPECT_EQ(kindFree, model.RowKind(EPage::edit, 0));
}

TEST_F(EstimateModelTest, RowsReadGoInAsOneCommandWithTheirKindsAndTheHeadingAlignedAfterThem)
{
    const CEstimateModel::CPageRule rule{4, true};
    Detail(0, "a", "2", "300");
    model.Engine().SetCellText("H", 4, 0, true);
    model.Engine().SetRowKind(kindLarge, 4);
    CEstimateModel::CRowsRead read;
    read.columns = {0, 1};
    read.rows.resize(2);
    read.rows[0].SetKind(kindMiddle);
    read.rows[0].SetParam2(7);
    read.rows[0].SetParamText1("t");
    read.rows[0].SetCell(0, "M");
    read.rows[1].SetKind(kindDetail);
    read.rows[1].SetCell(1, "1234.567");
    read.rows[1].SetCell(2, "99"); // a column not read
    ExpectUndoneAndRedone(model, rule, "rows read", [&] {
        EXPECT_EQ(2, model.InsertRowsRead(1, read, rule));
        EXPECT_EQ(CUndoCommand::undoRowsRead, model.Undo().GetUndoAction());
        EXPECT_EQ(kindMiddle, model.RowKind(EPage::edit, 1));
        EXPECT_EQ("M", Cell(EPage::edit, 1, 0));
        EXPECT_EQ(7, model.Row(EPage::edit, 1)->GetParam2());
        EXPECT_EQ("t", model.Row(EPage::edit, 1)->GetParamText1().str());
        EXPECT_EQ(1234.57, Value(EPage::edit, 2, 1)) << "rounded as typed in the column";
        EXPECT_EQ("", Cell(EPage::edit, 2, 2));
        // The heading pushed to row 6 starts its page again: the empty rows before it go.
        EXPECT_EQ("H", Cell(EPage::edit, 4, 0));
        EXPECT_EQ(5, model.GetUsedRows());
    });
    EXPECT_EQ(0, model.InsertRowsRead(0, {}, rule));
}

TEST_F(EstimateModelTest, ASubjectDraggedAndDroppedIsOneCommandOverItsCalls)
{
    LargeHeadingAndTwoDetails();
    std::vector<CGridRow> subject(2);
    subject[0].SetCell(0, "M");
    subject[0].SetIndent(0, 2);
    subject[0].SetKind(kindMiddle);
    subject[0].SetParamText1(CString("t\0x", 3));
    subject[1].SetCell(1, "1234.567");
    subject[1].SetKind(kindDetail);
    ExpectUndoneAndRedone(model, {4, false}, "drag", [&] {
        // The drag, the drop inside it after row 2, and the dragged rows 1 and 2 taken out.
        model.BeginRowsCommand(CUndoCommand::undoSubjectDrag);
        model.BeginRowsCommand(CUndoCommand::undoSubjectDrag);
        model.InsertSubjectRows(2, subject, 2);
        EXPECT_FALSE(model.EndRowsCommand()) << "the drop joins the drag";
        model.TakeRowsOut(1, 2, nullptr);
        EXPECT_TRUE(model.EndRowsCommand());
        EXPECT_EQ(CUndoCommand::undoSubjectDrag, model.Undo().GetUndoAction());
        EXPECT_EQ("M", Cell(EPage::edit, 1, 0));
        EXPECT_EQ(2, model.CellIndent(EPage::edit, 1, 0));
        EXPECT_EQ(kindMiddle, model.RowKind(EPage::edit, 1));
        EXPECT_EQ("t", model.Row(EPage::edit, 1)->GetParamText1().str()) << "up to its zero byte";
        EXPECT_EQ(1234.57, Value(EPage::edit, 2, 1));
        EXPECT_EQ(3, model.GetUsedRows());
    });
    // A command whose window went records nothing; the rows it moved withdraw the record
    // there was. One that moved none leaves it.
    model.Undo().Record(std::make_unique<CMarkRowCommand>(0));
    model.BeginRowsCommand(CUndoCommand::undoSubjectDrag);
    EXPECT_FALSE(model.EndRowsCommand(false));
    EXPECT_EQ(CUndoCommand::undoMarkRow, model.Undo().GetUndoAction());
    model.BeginRowsCommand(CUndoCommand::undoSubjectDrag);
    model.InsertSubjectRows(0, subject, 2);
    EXPECT_FALSE(model.EndRowsCommand(false));
    EXPECT_EQ(CUndoCommand::undoNone, model.Undo().GetUndoAction());
}

TEST_F(EstimateModelTest, ASubjectDraggedUpIsUndoneWithTheFiguresItsDropWorkedOut)
{
    LargeHeadingAndTwoDetails();
    std::vector<CGridRow> subject(1);
    subject[0].SetCell(0, "b");
    subject[0].SetCell(1, "3");
    subject[0].SetCell(2, "10");
    subject[0].SetKind(kindDetail);
    const std::string strAmount = Cell(EPage::edit, 2, 3);
    ASSERT_NE("", strAmount);
    ExpectUndoneAndRedone(model, {4, false}, "drag up", [&] {
        // Row 2 dropped after row 0 without its amount, worked out from the drop on (the rows
        // from there kept for the undo), then the dragged row, now row 3, taken out.
        model.BeginRowsCommand(CUndoCommand::undoSubjectDrag);
        model.InsertSubjectRows(0, subject, 3);
        model.KeepFiguresForUndo(1);
        model.Engine().CalcRows(1);
        model.TakeRowsOut(3, 1, nullptr);
        EXPECT_TRUE(model.EndRowsCommand());
        EXPECT_EQ(strAmount, Cell(EPage::edit, 1, 3));
        EXPECT_EQ("a", Cell(EPage::edit, 2, 0));
        EXPECT_EQ(3, model.GetUsedRows());
    });
}

// The copy buffers' commands over two detail rows, the buffers handed in as a window hands
// the application's.
class EstimateModelClipboardTest : public EstimateModelTest {
protected:
    void SetUp() override
    {
        Detail(0, "a", "2", "300");
        Detail(1, "b", "3", "10");
    }
    const CEstimateModel::CPageRule rule{4, false};
    CEstimateCopyBuffers buffers;
};

TEST_F(EstimateModelClipboardTest, RowsCutAndPastedBackThroughTheBuffersAreUndoneAndRedoneOnTheModel)
{
    Detail(2, "c", "1", "5");
    Detail(3, "d", "4", "4");
    const std::string strBefore = Snapshot(model);
    const auto names = [&] {
        std::string s;
        for (const std::unique_ptr<CGridRow>& pRow : buffers.Rows())
            s += pRow->m_strCell[0].str();
        return s;
    };

    const CEstimateModel::CRowsCut cut = model.CutRows(buffers, 1, 2, rule);
    EXPECT_EQ(2, cut.nCount);
    EXPECT_EQ("bc", names());
    EXPECT_EQ(2u + 2 * kColumns.size(), buffers.Cells().size());
    EXPECT_EQ(2, model.GetUsedRows());
    const std::string strCut = Snapshot(model);
    model.RunUndoStep(false, rule, &buffers);
    EXPECT_EQ(strBefore, Snapshot(model));
    // The redo cuts the rows again into the buffers it is given.
    buffers.Rows().clear();
    const CUndoOutcome recut = model.RunUndoStep(true, rule, &buffers);
    EXPECT_EQ(strCut, Snapshot(model));
    EXPECT_EQ("bc", names());
    EXPECT_EQ(CUndoOutcome::ECell::moved, recut.eCell);
    EXPECT_EQ(1, recut.nRow);
    EXPECT_EQ(CUndoOutcome::ESelection::none, recut.eSelection);

    // Pasted back above row 1: the rows are those before the cut.
    EXPECT_EQ(2, model.PasteRows(buffers, 0, 1, 1, rule));
    EXPECT_EQ(strBefore, Snapshot(model));
    EXPECT_EQ(4, model.GetUsedRows());
    // The paste's undo copies the rows it takes out; its redo puts them in again, selected.
    buffers.Rows().clear();
    model.RunUndoStep(false, rule, &buffers);
    EXPECT_EQ(strCut, Snapshot(model));
    EXPECT_EQ("bc", names());
    const CUndoOutcome repaste = model.RunUndoStep(true, rule, &buffers);
    EXPECT_EQ(strBefore, Snapshot(model));
    EXPECT_EQ(CUndoOutcome::ESelection::rows, repaste.eSelection);
    EXPECT_EQ(1, repaste.nFirstSelected);
    EXPECT_EQ(CUndoOutcome::ECell::moved, repaste.eCell);
    EXPECT_EQ(1, repaste.nRow);

    // Rows cut below the used rows take nothing, and their redo leaves the buffers alone.
    model.CutRows(buffers, 6, 7, rule);
    EXPECT_EQ(strBefore, Snapshot(model));
    model.RunUndoStep(false, rule, &buffers);
    model.CopyRows(buffers, 0, 0);
    model.RunUndoStep(true, rule, &buffers);
    EXPECT_EQ("a", names());
    EXPECT_EQ(strBefore, Snapshot(model));
}

TEST_F(EstimateModelClipboardTest, ACellPastedAtTheCurrentCellIsUndoneAndRedone)
{
    model.CopyCells(buffers, CRect(1, 1, 1, 1));
    CEstimateModel::CCellPasteTarget target;
    target.ptCell = CPoint(1, 0);
    ExpectUndoneAndRedone(model, rule, "cell paste", [&] {
        const CEstimateModel::CWrittenRows written = model.PasteCells(buffers, target);
        EXPECT_EQ(0, written.nFirst);
        EXPECT_EQ(3, Value(EPage::edit, 0, 1));
        EXPECT_EQ(900, Value(EPage::edit, 0, 3));
    });
    // The overwritten cell waits in the undo cell buffer, and goes back from there.
    model.PasteCells(buffers, target);
    ASSERT_EQ(3u, buffers.UndoCells().size());
    model.PasteUndoCells(buffers, CPoint(1, 0));
    EXPECT_EQ(2, Value(EPage::edit, 0, 1));
}

TEST_F(EstimateModelClipboardTest, ACellBlockPastedOverALargerBlockRepeatsAndItsUndoPutsTheCellsBack)
{
    Detail(3, "x", "", "");
    model.CopyCells(buffers, CRect(1, 0, 2, 1));
    const std::string strBefore = Snapshot(model);

    CEstimateModel::CCellPasteTarget target;
    target.eOver = CEstimateModel::CCellPasteTarget::EOver::block;
    target.rcBlock = CRect(1, 3, 2, 6);
    target.ptCell = CPoint(1, 3);
    EXPECT_EQ(6, model.LastCellPasteRow(buffers, target));
    const CEstimateModel::CWrittenRows written = model.PasteCells(buffers, target);
    EXPECT_EQ(3, written.nFirst);
    EXPECT_EQ(6, written.nLast);
    // The 2 x 2 block twice down the four rows, each row worked out and a detail row.
    EXPECT_EQ(600, Value(EPage::edit, 3, 3));
    EXPECT_EQ(30, Value(EPage::edit, 4, 3));
    EXPECT_EQ(600, Value(EPage::edit, 5, 3));
    EXPECT_EQ(30, Value(EPage::edit, 6, 3));
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 6));
    EXPECT_EQ("x", Cell(EPage::edit, 3, 0));
    // The overwritten cells wait in the undo cell buffer at the target's first corner.
    ASSERT_EQ(2u + 8, buffers.UndoCells().size());
    EXPECT_EQ(CPoint(1, 3), buffers.UndoCells()[0].pt);

    const std::string strAfter = Snapshot(model);
    model.RunUndoStep(false, rule, &buffers);
    EXPECT_EQ(strBefore, Snapshot(model));
    model.RunUndoStep(true, rule, &buffers);
    EXPECT_EQ(strAfter, Snapshot(model));
}

TEST_F(EstimateModelTest, HeadingTotalDiscountAndTaxRowsAreSpecialRowsWithTheirPageAlignment)
{
    // A large heading over "a" (600); a large heading (indent 2) at the start of page 2 that
    // every row put in above it leaves there.
    using ENewRow = CEstimateModel::ENewRow;
    const CEstimateModel::CPageRule rule{4, true};
    const auto setUp = [&] {
        model.ReplaceEditRows({});
        model.SetRowLimit(40);
        model.Engine().SetCellText("L", 0, 0, true);
        model.Engine().SetRowKind(kindLarge, 0);
        Detail(1, "a", "2", "300");
        model.Engine().SetCellText("H", 4, 0, true);
        model.Engine().SetRowKind(kindLarge, 4);
        model.SetCellIndent(EPage::edit, 2, 4, 0);
    };
    const auto expectSpecialRow = [&](int nRow, ERowKind nKind, const std::string& strName) {
        EXPECT_EQ(CUndoCommand::undoSpecialRow, model.Undo().GetUndoAction()) << strName;
        EXPECT_EQ(nKind, model.RowKind(EPage::edit, nRow)) << strName;
        EXPECT_EQ(CString::FromUtf8(strName.c_str()).str(), Cell(EPage::edit, nRow, 0));
        EXPECT_EQ("H", Cell(EPage::edit, 4, 0)) << strName << ": the heading keeps its page start";
    };
    setUp();
    ExpectUndoneAndRedone(model, rule, "heading", [&] {
        // The form has no unit column: the unit goes nowhere and the name stays.
        model.InsertHeadingRow(0, 1, kindLarge, "M", "式"_sj, ENewRow::reach, rule);
        expectSpecialRow(1, kindLarge, "M");
        EXPECT_EQ(2, model.CellIndent(EPage::edit, 1, 0))
            << "the nearest large heading's, looking down first";
        EXPECT_EQ("a", Cell(EPage::edit, 2, 0));
    });
    ExpectUndoneAndRedone(model, rule, "heading below the used rows", [&] {
        model.InsertHeadingRow(0, 9, kindKind, "K", "", ENewRow::reach, rule);
        expectSpecialRow(9, kindKind, "K");
        EXPECT_EQ(10, model.GetUsedRows());
    });
    ExpectUndoneAndRedone(model, rule, "total", [&] {
        model.InsertTotalRow(0, 2, ETotalLevel::levelLarge, rule);
        EXPECT_EQ(TotalKindOf(ETotalLevel::levelLarge), model.RowKind(EPage::edit, 2));
        EXPECT_EQ(600, Value(EPage::edit, 2, 3));
        EXPECT_EQ("H", Cell(EPage::edit, 4, 0));
    });
    ExpectUndoneAndRedone(model, rule, "discount", [&] {
        // The amount column rounds D(-1): to whole units, down.
        model.InsertDiscountRow(0, 2, "-1,000.4", rule);
        expectSpecialRow(2, kindDiscount, "値引");
        EXPECT_EQ("-1000.000000", Cell(EPage::edit, 2, 3));
    });
    ExpectUndoneAndRedone(model, rule, "tax", [&] {
        EXPECT_TRUE(model.InsertTaxRow(0, 2, rule));
        expectSpecialRow(2, kindFree, "消費税");
        EXPECT_EQ(48, Value(EPage::edit, 2, 3)) << "8 % of 600";
    });
}

TEST_F(EstimateModelTest, AHeadingsUnitGoesOnlyIntoAColumnWhoseTCodeIsOne)
{
    CTestHost unitHost({{"文字", "", "", "", "6", ""}, {"文字", "", "", "", "1", ""}});
    CEstimateModel unitModel(unitHost);
    unitModel.SetRowLimit(10);
    unitModel.SetColumnCount(2);
    unitModel.InsertHeadingRow(0, 0, kindKind, "建築工事"_sj, "式"_sj, CEstimateModel::ENewRow::reach,
                               {4, false});
    EXPECT_EQ("建築工事"_sj, unitModel.CellText(EPage::edit, 0, 0));
    EXPECT_EQ("式"_sj, unitModel.CellText(EPage::edit, 0, 1));
}

TEST_F(EstimateModelTest, RowsAndCellsRewrittenInPlaceAreUndoneAndRedoneAndAnUnchangedOneRecordsNothing)
{
    const CEstimateModel::CPageRule rule{4, false};
    Detail(0, "a", "2", "300");
    Detail(1, "b", "3", "10");
    Detail(2, "c", "1", "5");
    model.Engine().SetRowKind(kindStep, 1);
    ExpectUndoneAndRedone(model, rule, "step released", [&] {
        model.SetStepRow(1, true, "", -1, EStepRange::nearestHeading);
        EXPECT_EQ(CUndoCommand::undoStepSetting, model.Undo().GetUndoAction());
        EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 1));
    });
    ExpectUndoneAndRedone(model, rule, "classification in place", [&] {
        model.SetClassifyRow(2, false, "", "10", "a", 0, 0, EStepRange::nearestHeading);
        EXPECT_EQ(CUndoCommand::undoClassifySetting, model.Undo().GetUndoAction());
        EXPECT_EQ(kindClassify, model.RowKind(EPage::edit, 2));
        EXPECT_EQ(60, Value(EPage::edit, 2, 3)) << "10 % of the rows named a";
    });
    ExpectUndoneAndRedone(model, rule, "unit picked", [&] {
        model.WritePickedUnit(0, 5, "ｍ２"_sj, true);
        EXPECT_EQ(CUndoCommand::undoCellEdit, model.Undo().GetUndoAction());
        EXPECT_EQ("ｍ２"_sj, model.CellText(EPage::edit, 5, 0));
        EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 5)) << "an empty row becomes a detail row";
        EXPECT_EQ(6, model.GetUsedRows());
    });
    ExpectUndoneAndRedone(model, rule, "input", [&] {
        EXPECT_TRUE(model.StoreInput(1, 0, "1,234.567"));
        EXPECT_EQ(1234.57, Value(EPage::edit, 0, 1)) << "rounded as typed in the column";
        EXPECT_EQ(370371, Value(EPage::edit, 0, 3)) << "the row worked out";
    });
    ExpectUndoneAndRedone(model, rule, "range total", [&] {
        model.StoreRangeTotal(2, 1, "77");
        EXPECT_EQ(231, Value(EPage::edit, 1, 3)) << "3 x 77";
    });
    ExpectUndoneAndRedone(model, rule, "sort", [&] {
        model.SortRows(0, 2, 0, CRowSort::EKey::text, false);
        EXPECT_EQ(CUndoCommand::undoSort, model.Undo().GetUndoAction());
        EXPECT_EQ("c", Cell(EPage::edit, 0, 0));
        EXPECT_EQ("a", Cell(EPage::edit, 2, 0));
    });
    ExpectUndoneAndRedone(model, rule, "fixed rate", [&] {
        // Prices of the rows named "b" doubled; the redo runs with the settings as given.
        IUndoTarget::CRateSettings settings;
        settings.strFormula = "*2";
        settings.condition = {0, 2, "b", -1, -1, "", 1};
        model.ApplyFixedRate(2, 0, 2, settings);
        EXPECT_EQ(20, Value(EPage::edit, 1, 2));
        const auto* pRate = dynamic_cast<const CFixedRateCommand*>(model.Undo().GetUndoCommand());
        ASSERT_NE(nullptr, pRate);
        ASSERT_TRUE(pRate->GetSettings().has_value());
        EXPECT_EQ("b", pRate->GetSettings()->condition.strValue1.str());
        EXPECT_EQ(2, pRate->GetSettings()->condition.nRelation1);
    });
    // What leaves the rows as they were records nothing: the last command stays.
    model.MarkRow(0);
    model.StoreInput(0, 1, "b");
    model.SortRows(0, 2, 0, CRowSort::EKey::text, true);
    EXPECT_EQ(CUndoCommand::undoMarkRow, model.Undo().GetUndoAction());
}

TEST_F(EstimateModelTest, RowsWrittenAtTheirPlacesTakeTheirKindsAndColumnsAndRecordNoUndo)
{
    CEstimateModel::CRowsRead read;
    read.columns = {0, 1, 2};
    read.rows.resize(2);
    read.rows[0].SetKind(kindLarge);
    read.rows[0].SetCell(0, "L");
    read.rows[1].SetKind(kindDetail);
    read.rows[1].SetCell(0, "a");
    read.rows[1].SetCell(1, "2");
    read.rows[1].SetCell(2, "300");
    read.rows[1].SetCell(3, "9"); // a column not read
    model.WriteRowsAt(read, {0, 4});
    EXPECT_EQ(kindLarge, model.RowKind(EPage::edit, 0));
    EXPECT_EQ("L", Cell(EPage::edit, 0, 0));
    EXPECT_EQ(kindEmpty, model.RowKind(EPage::edit, 2));
    EXPECT_EQ(kindDetail, model.RowKind(EPage::edit, 4));
    EXPECT_EQ(600, Value(EPage::edit, 4, 3)) << "worked out, not read";
    EXPECT_EQ(5, model.GetUsedRows());
    EXPECT_EQ(CUndoCommand::undoNone, model.Undo().GetUndoAction());
}

// The estimate model without a window: its two pages stay apart, a page is read by its
// name, the engine writes the edit page and tells the host, and the counts keep their
// rules (the row limit grows by doubling, the information count covers what was set).
#include "estimate/engine/CEstimateModel.h"
#include "estimate/engine/UndoCommands.h"

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
    CTaxSettings GetTaxSettings() const override { return {}; }
    bool IsTaxVerticalTotal() const override { return false; }

    std::vector<int> grown;
    std::vector<int> moved;
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
    const std::vector<std::pair<std::string, std::function<void()>>> commands = {
        {"insert", [&] { model.InsertRowAt(1, 1, rule); }},
        {"delete", [&] { model.DeleteRowAt(0, 0, rule); }},
        {"insert rows", [&] { EXPECT_EQ(2, model.InsertRowsAt(0, 2, rule)); }},
        {"clear", [&] { EXPECT_TRUE(model.ClearRow(0, 1)); }},
        {"clear rows", [&] { model.ClearRows(0, 5); }},
        {"non-calculated", [&] { model.SetNonCalculated(true, 0, 5); }},
        {"fixed rate", [&] { model.ApplyFixedRate(2, 0, 9, rate); }},
        {"mark", [&] { model.MarkRow(4); }},
    };
    for (const auto& [strName, command] : commands) {
        setUp();
        if (strName != "mark")
            model.SetMarkRow(5); // the remembered row moves with the rows
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
}

// The fixed-rate change: one calculation appended to every number of a selected column, in
// the rows that meet the conditions; the undo text store keeps the former texts and the
// settings; rows and totals follow and the estimate is modified. (The condition test on its
// own is the engine's: tests/engine/estimate/FixedRateChangeTest.cpp.)
#include "tests/estimate/EstimateTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

#include "engine/estimate/CGridRow.h"

#include <string>
#include <vector>

namespace {

using CRateCondition = CMorvelEMView::CRateCondition;

class FixedRateChange : public EstimateViewTest {
protected:
    //  0 大 建築工事 (1)
    //  1 足場 10 x 1200      3 養生 (no numbers)     5 建築工事 小計 (11)
    //  2 型枠 2.5 x 300      4 鉄筋 4 x 5000
    void SetUp() override
    {
        Open();
        Heading(0, kindLarge, "建築工事");
        Detail(1, "足場", "10", "1200");
        Detail(2, "型枠", "2.5", "300");
        Detail(3, "養生", "", "");
        Detail(4, "鉄筋", "4", "5000");
        view->SetCurrentCell(view->GetCurrentCol(), 5);
        view->InsertTotal(CMorvelEMView::levelLarge);
        ASSERT_EQ(kindLargeTotal, view->GetRowKind(5));
        ASSERT_EQ(6, view->GetUsedRows());
        ASSERT_EQ(12000 + 750 + 20000, Value(5, colAmount));
        doc->SetModifiedFlag(FALSE);
    }
    // The whole column selected from its header.
    void SelectColumn(int nCol)
    {
        view->SetSelection(CMorvelView::selectColumn, CRect(nCol, 0, nCol, view->GetRowLimit() - 1));
    }
    static CRateCondition Condition(int nCol1, int nRel1, const char* value1, int nCol2 = -1, int nRel2 = -1,
                                    const char* value2 = "", int nConjunction = 1)
    {
        CRateCondition c;
        c.nCol1 = nCol1;
        c.nRelation1 = nRel1;
        c.strValue1 = CString::FromUtf8(value1);
        c.nCol2 = nCol2;
        c.nRelation2 = nRel2;
        c.strValue2 = CString::FromUtf8(value2);
        c.nConjunction = nConjunction;
        return c;
    }
    std::vector<std::string> UndoTexts() const
    {
        std::vector<std::string> texts;
        if (const CFixedRateCommand* pCommand = UndoCommandAs<CFixedRateCommand>(*view))
            for (const CString& strText : pCommand->GetTexts())
                texts.push_back(strText.ToUtf8());
        return texts;
    }
    std::vector<std::string> ColumnTexts(int nCol, int nFirstRow, int nLastRow) const
    {
        std::vector<std::string> texts;
        for (int r = nFirstRow; r <= nLastRow; ++r)
            texts.push_back(Utf8Cell(r, nCol));
        return texts;
    }
};

} // namespace

TEST_F(FixedRateChange, OnlyRowsMeetingTheConditionChangeAndTotalsFollow)
{
    SelectColumn(colPrice);
    // 数量 >= 4: 足場 (10) and 鉄筋 (4), not 型枠 (2.5).
    view->ApplyFixedRateChange("*1.1", Condition(colQty, 4, "4"));

    EXPECT_EQ(1320, Value(1, colPrice));
    EXPECT_EQ(300, Value(2, colPrice));
    EXPECT_EQ("", Cell(3, colPrice)) << "a cell without a number stays empty";
    EXPECT_EQ(5500, Value(4, colPrice));
    EXPECT_EQ(13200, Value(1, colAmount)) << "the row's formula follows the new price";
    EXPECT_EQ(750, Value(2, colAmount));
    EXPECT_EQ(22000, Value(4, colAmount));
    EXPECT_EQ(13200 + 750 + 22000, Value(5, colAmount)) << "the total follows";
    EXPECT_EQ(6, view->GetUsedRows()) << "no row beyond the estimate is made";
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FixedRateChange, TheUndoTextStoreHoldsFormerTextsThenTheSettingsInOrder)
{
    std::vector<std::string> expected = ColumnTexts(colPrice, 0, 5);
    // Something redo could do again: the remembered row taken back.
    view->OnRememberPosition();
    view->OnEditUndo();
    ASSERT_EQ(CMorvelEMView::undoMarkRow, view->GetModel().Undo().GetRedoAction());
    SelectColumn(colPrice);
    view->ApplyFixedRateChange("*1.2", Condition(colName, 2, "足場", colQty, 5, "3", 0));

    for (const char* setting : {"*1.2", "0", "2", "足場", "2", "5", "3", "0"})
        expected.push_back(setting);
    EXPECT_EQ(expected, UndoTexts());
    EXPECT_EQ("1200.000000", UndoTexts()[1]) << "the text as it was, not the new one";
    EXPECT_EQ(34, view->GetModel().Undo().GetUndoAction());
    ASSERT_NE(UndoCommandAs<CFixedRateCommand>(*view), nullptr);
    EXPECT_EQ(CPoint(colPrice, 0), CPoint(UndoCommandAs<CFixedRateCommand>(*view)->GetCol(),
                                          UndoCommandAs<CFixedRateCommand>(*view)->FirstRow()));
    EXPECT_EQ(CMorvelEMView::undoNone, view->GetModel().Undo().GetRedoAction())
        << "a new action ends what redo could do";

    // A second change replaces the store rather than adding to it.
    view->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 4, colPrice, 2)); // dragged upwards
    view->ApplyFixedRateChange("+1", Condition(-1, -1, "", -1, -1, "", 1));
    EXPECT_EQ((std::vector<std::string>{"300.000000", "", "6000.000000", "+1", "-1", "-1", "", "-1", "-1", "",
                                        "1"}),
              UndoTexts());
    EXPECT_EQ(CPoint(colPrice, 2), CPoint(UndoCommandAs<CFixedRateCommand>(*view)->GetCol(),
                                          UndoCommandAs<CFixedRateCommand>(*view)->FirstRow()));
}

TEST_F(FixedRateChange, OrAndAndJoinTwoConditions)
{
    SelectColumn(colPrice);
    // 名称 = 型枠 or 数量 > 5: 足場 and 型枠.
    view->ApplyFixedRateChange("*2", Condition(colName, 2, "型枠", colQty, 5, "5", 0));
    EXPECT_EQ(2400, Value(1, colPrice));
    EXPECT_EQ(600, Value(2, colPrice));
    EXPECT_EQ(5000, Value(4, colPrice));

    // 数量 < 10 and 単価 >= 1000: 鉄筋 only (足場 has 10, 型枠 600).
    view->ApplyFixedRateChange("/2", Condition(colQty, 0, "10", colPrice, 4, "1000", 1));
    EXPECT_EQ(2400, Value(1, colPrice));
    EXPECT_EQ(600, Value(2, colPrice));
    EXPECT_EQ(2500, Value(4, colPrice));
}

// A change that changes no row leaves the undo and the redo as they were.
TEST_F(FixedRateChange, AnUnknownConjunctionChangesNothingAndRecordsNothing)
{
    SelectColumn(colPrice);
    const unsigned long long nRecords = view->GetModel().Undo().GetRecordCount();
    const auto undoAction = view->GetModel().Undo().GetUndoAction();
    view->ApplyFixedRateChange("*3", Condition(-1, -1, "", -1, -1, "", 2));
    EXPECT_EQ(1200, Value(1, colPrice));
    EXPECT_EQ(5000, Value(4, colPrice));
    EXPECT_EQ(undoAction, view->GetModel().Undo().GetUndoAction());
    EXPECT_EQ(nRecords, view->GetModel().Undo().GetRecordCount());
}

TEST_F(FixedRateChange, WithoutConditionsTheCurrentCellAloneChanges)
{
    view->SetSelection(CMorvelView::selectNone, view->GetSelection());
    view->SetCurrentCell(colQty, view->GetCurrentRow());
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->ApplyFixedRateChange("*2", Condition(colQty, -1, "", colQty, -1, "", 1));
    EXPECT_EQ(5, Value(2, colQty));
    EXPECT_EQ(1500, Value(2, colAmount));
    EXPECT_EQ(10, Value(1, colQty));
    EXPECT_EQ(12000 + 1500 + 20000, Value(5, colAmount)) << "the totals from the row down";
    EXPECT_EQ((std::vector<std::string>{"2.500000", "*2", "2", "-1", "", "2", "-1", "", "1"}), UndoTexts());
}

TEST_F(FixedRateChange, TheNewNumberIsRoundedByTheColumnsRule)
{
    SelectColumn(colPrice); // 単価 rounds F(-1): to whole units, half up
    view->ApplyFixedRateChange("*1.0005", Condition(-1, -1, "", -1, -1, "", 1));
    EXPECT_EQ("1201.000000", Cell(1, colPrice)); // 1200.6
    EXPECT_EQ("300.000000", Cell(2, colPrice));  // 300.15
}

TEST_F(FixedRateChange, ACalculationThatLeavesNoNumberKeepsTheCell)
{
    SelectColumn(colPrice);
    view->ApplyFixedRateChange("/0", Condition(-1, -1, "", -1, -1, "", 1));
    EXPECT_EQ(1200, Value(1, colPrice)) << "a division by zero does not blank prices";
    view->ApplyFixedRateChange("円"_sj, Condition(-1, -1, "", -1, -1, "", 1));
    EXPECT_EQ("1200.000000", Cell(1, colPrice)) << "nor does a formula that is not arithmetic";
    EXPECT_EQ(12000 + 750 + 20000, Value(5, colAmount));
}

TEST_F(FixedRateChange, RowsBeyondTheUsedRowsAreLeftAlone)
{
    view->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 4, colPrice, 40));
    view->ApplyFixedRateChange("*2", Condition(-1, -1, "", -1, -1, "", 1));
    EXPECT_EQ(10000, Value(4, colPrice));
    EXPECT_EQ(6, view->GetUsedRows());
    // Rows 4 and 5 only: an undo restores nothing outside the estimate.
    EXPECT_EQ(2u + 8u, UndoTexts().size());
}

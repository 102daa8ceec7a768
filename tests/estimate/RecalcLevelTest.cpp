#include "tests/estimate/EstimateTestSupport.h"

namespace {

// An estimate whose quantity changed after its amount and total were computed: a
// recalculation shows as the new amount 2 x 100 and total.
class RecalcLevelTest : public EstimateViewTest {
protected:
    void OpenWithLevel(const char* level)
    {
        if (level != nullptr)
            settings->WriteProfileString("ReCalcSetting", "Level", level);
        Open();
        Detail(0, "a", "1", "100");
        view->SetCurrentCell(view->GetCurrentCol(), 1);
        view->InsertTotal(CMorvelEMView::levelGrand);
        view->SetCellText("2", 0, colQty, TRUE);
        doc->SetModifiedFlag(FALSE);
    }
    bool Recalculated() const { return Value(0, colAmount) == 200 && Value(1, colAmount) == 200; }
    bool Untouched() const { return Value(0, colAmount) == 100 && Value(1, colAmount) == 100; }
};

} // namespace

TEST_F(RecalcLevelTest, MissingKeyAndZeroMeanLevelThree)
{
    OpenWithLevel(nullptr);
    EXPECT_EQ(3, view->GetRecalcLevel());
    view->RecalcFromRow(CMorvelEMView::recalcSaveOrPrint, 0);
    EXPECT_TRUE(Recalculated());

    OpenWithLevel("0");
    EXPECT_EQ(3, view->GetRecalcLevel());
    view->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    EXPECT_TRUE(Recalculated());
}

TEST_F(RecalcLevelTest, LevelTwoRecalculatesBulkChangesButNotSaving)
{
    OpenWithLevel("2");
    view->RecalcFromRow(CMorvelEMView::recalcSaveOrPrint, 0);
    EXPECT_TRUE(Untouched());
    view->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    EXPECT_TRUE(Recalculated());
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(RecalcLevelTest, LevelOneIgnoresEveryRequestButF7StillRecalculates)
{
    for (const char* level : {"1", "-1", "4"}) {
        OpenWithLevel(level);
        view->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
        view->RecalcFromRow(CMorvelEMView::recalcSaveOrPrint, 0);
        EXPECT_TRUE(Untouched()) << level;
        view->OnRecalculate();
        EXPECT_TRUE(Recalculated()) << level;
    }
}

TEST_F(RecalcLevelTest, F7MarksTheDocumentModifiedEvenWhenNothingChanged)
{
    OpenWithLevel("1");
    view->OnRecalculate();
    doc->SetModifiedFlag(FALSE);
    view->OnRecalculate();
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(RecalcLevelTest, ARequestWorksOnTheEditPageAndLeavesTheShownPageAsItWas)
{
    OpenWithLevel("3");
    view->SetSummaryPageShown(true);
    view->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
    EXPECT_TRUE(view->IsSummaryPageShown());
    view->SetSummaryPageShown(false);
    EXPECT_TRUE(Recalculated());
    TestCmdUI cmdUI;
    view->OnUpdateRecalculate(&cmdUI);
    EXPECT_TRUE(cmdUI.enabled);
    view->SetSummaryPageShown(true);
    view->OnUpdateRecalculate(&cmdUI);
    EXPECT_FALSE(cmdUI.enabled);
}

TEST_F(RecalcLevelTest, ARequestFromARowBelowLeavesTheRowsAboveAlone)
{
    OpenWithLevel("3");
    view->RecalcFromRow(CMorvelEMView::recalcBulk, 1);
    EXPECT_EQ(100, Value(0, colAmount)); // its formula is not computed again
    EXPECT_EQ(100, Value(1, colAmount));
}

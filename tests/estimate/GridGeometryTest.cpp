// The grid's pixel geometry and the display's row operations, without a window: which
// cells a pixel rectangle covers (edges, hidden columns, the area left of the headers,
// clamping), the colour group of each row kind, the summary page's rows and its levels
// each starting on a page of their own.
#include "tests/estimate/EstimateTestSupport.h"

#include "engine/estimate/CGridRow.h"

namespace {

class GridGeometry : public EstimateViewTest {
protected:
    void SetUp() override
    {
        Open();
        // Row headers 27 wide, column headers 24 high, rows 20 high; the columns of the
        // standard form are 200, 150, 80, 40, 100, 120, 60 and 200 pixels wide.
        view->SetRowMetrics(27, 24, 20);
    }
    CRect Range(int x1, int y1, int x2, int y2)
    {
        CRect rc;
        view->GetCellRangeFromRect(x1, y1, x2, y2, &rc);
        return rc;
    }
};

// A view whose summary levels each give a fixed number of rows.
class CSummaryLevelsView : public CMorvelEMView {
public:
    int m_nRows[SUMMARY_LEVELS] = {5, 3, 0, 2};
    void BuildSummaryLevel(ESummaryLevel eLevel) override
    {
        const int nLevel = SummaryLevelIndex(eLevel);
        const int nFirst = static_cast<int>(GetSummaryRows().GetSize());
        for (int i = 0; i < m_nRows[nLevel]; ++i) {
            GetModel().SetSummaryKind(KindFromNumber(100 + (eLevel == ESummaryLevel::kinds ? 7 : nLevel)),
                                      nFirst + i);
            GetModel().SetSummaryCell(nFirst + i, 0, "x");
        }
    }
};

class SummaryPage : public EstimateViewTest {
protected:
    void SetUp() override
    {
        Open();
        delete view; // it leaves the document
        summaryView = new CSummaryLevelsView;
        view = summaryView;
        doc->AddView(view);
        view->SetupFromDocument();
    }
    CSummaryLevelsView* summaryView = nullptr;
};

} // namespace

TEST_F(GridGeometry, APointOnARightEdgeStartsTheNextColumnAndEndsItsOwn)
{
    // Column 0 spans x 27..227, column 1 227..377.
    EXPECT_EQ(Range(227, 30, 228, 31), CRect(1, 0, 1, 0));
    EXPECT_EQ(Range(100, 30, 227, 31), CRect(0, 0, 0, 0)) << "ending on the edge ends in column 0";
    EXPECT_EQ(Range(100, 30, 228, 31), CRect(0, 0, 1, 0));
    // Rows: 24..44 is row 0, 44..64 row 1.
    EXPECT_EQ(Range(30, 44, 31, 45), CRect(0, 1, 0, 1));
    EXPECT_EQ(Range(30, 30, 31, 44), CRect(0, 0, 0, 0));
    // Corners are ordered first.
    EXPECT_EQ(Range(228, 45, 100, 30), CRect(0, 0, 1, 1));
}

TEST_F(GridGeometry, AZeroSizeRectangleCoversNothing)
{
    EXPECT_EQ(Range(50, 50, 50, 50), CRect(-1, -1, -1, -1));
}

TEST_F(GridGeometry, RangesAreClampedToTheGrid)
{
    EXPECT_EQ(Range(5000, 30, 5001, 31).right, 7) << "beyond the last column: the last";
    EXPECT_EQ(Range(30, 100000, 31, 100001).bottom, view->GetRowLimit() - 1);
    // Above and left of the cells (the headers) the start is column 0 and row 0.
    EXPECT_EQ(Range(0, 0, 30, 30), CRect(0, 0, 0, 0));
}

TEST_F(GridGeometry, LeftOfTheRowHeadersTheColumnsBeforeTheFirstVisibleCount)
{
    view->SetFirstVisibleCell(2, view->GetFirstVisibleCell().y);
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 10);
    // Column 1 lies at -123..27, column 0 at -323..-123; row 9 at 4..24.
    EXPECT_EQ(Range(0, 10, 30, 30), CRect(1, 9, 2, 10));
    EXPECT_EQ(Range(-200, 30, -150, 31), CRect(0, 10, 0, 10));
    EXPECT_EQ(view->GetColumnLeft(0), 27 - 350);
    EXPECT_EQ(view->GetColumnLeft(3), 27 + 80);
}

TEST_F(GridGeometry, HiddenColumnsTakeNoRoom)
{
    view->SetColumnWidth(1, 0);
    EXPECT_EQ(Range(228, 30, 229, 31), CRect(2, 0, 2, 0)) << "the pixel right of column 0 is column 2";
    CRect rc;
    view->GetCellRangeRect(2, 0, 2, 0, &rc);
    EXPECT_EQ(rc, CRect(227, 24, 307, 44));
}

TEST_F(GridGeometry, EveryRowKindHasItsColourGroup)
{
    using V = CMorvelEMView;
    const std::pair<int, int> cases[] = {
        {1, V::styleLarge},     {11, V::styleLarge},    {101, V::styleLarge}, {111, V::styleLarge},
        {12, V::styleMiddle},   {113, V::styleSmall},   {5, V::styleDetail},  {105, V::styleOther},
        {6, V::styleDiscount},  {37, V::styleDiscount}, {36, V::styleOther},  {137, V::styleDiscount},
        {7, V::styleKind},      {117, V::styleKind},    {8, V::styleFree},    {108, V::styleFree},
        {9, V::styleStep},      {109, V::styleOther},   {15, V::styleSum},    {115, V::styleSum},
        {21, V::styleClassify}, {24, V::styleClassify}, {121, V::styleOther}, {51, V::styleNonCalc},
        {54, V::styleOther},    {85, V::styleNonCalc},  {86, V::styleOther},  {0, V::styleOther},
        {4, V::styleOther},     {138, V::styleOther},
    };
    for (const auto& [nKind, nStyle] : cases)
        EXPECT_EQ(V::GetRowStyle(KindFromNumber(nKind)), nStyle) << "kind " << nKind;
}

TEST_F(SummaryPage, TheSummaryPageHasRowsOfItsOwnWithinTheGrid)
{
    CEstimateModel& model = view->GetModel();
    model.SetSummaryCell(3, 1, "集計"_sj);
    model.SetSummaryKind(SummaryKindOf(kindDetail), 3);
    model.SetSummaryCell(-1, 0, "x");
    model.SetSummaryCell(0, 100, "x");
    model.SetSummaryKind(SummaryKindOf(kindDetail), view->GetRowLimit());
    EXPECT_EQ(view->GetSummaryRows().GetSize(), 4);
    EXPECT_EQ(view->GetCellText(3, 1), CString()) << "the edit page is shown";
    view->SetSummaryPageShown(true);
    EXPECT_EQ(view->GetCellText(3, 1), "集計"_sj);
    EXPECT_EQ(view->GetRowKind(3), SummaryKindOf(kindDetail));
}

TEST_F(SummaryPage, EachSummaryLevelStartsOnAPageAndTheEditPageComesBack)
{
    ASSERT_EQ(view->GetPageRows(), 18);
    Detail(0, "足場", "10", "100");
    view->SetCurrentCell(colPrice, view->GetCurrentRow());
    view->SetCurrentCell(view->GetCurrentCol(), 0);
    view->SetSummaryLevelOn(CMorvelEMView::summaryKind, true);
    view->SetSummaryLevelOn(CMorvelEMView::summaryLarge, true);
    view->SetSummaryLevelOn(CMorvelEMView::summarySmall, true);
    view->OnSummaryPageTab();
    EXPECT_TRUE(view->IsSummaryPageShown());
    EXPECT_EQ(view->GetCurrentCol(), 0);
    EXPECT_EQ(view->GetCurrentRow(), 0);
    EXPECT_EQ(view->GetRowKind(4), SummaryKindOf(kindKind));
    EXPECT_EQ(view->GetRowKind(5), kindEmpty);
    EXPECT_EQ(view->GetRowKind(18), SummaryKindOf(kindLarge))
        << "the large-subject level starts on the second page";
    EXPECT_EQ(view->GetRowKind(36), SummaryKindOf(kindSmall)) << "the small-subject level on the third";
    EXPECT_EQ(view->GetSummaryRows().GetSize(), 54);

    // The summary tab again rebuilds the page; the return cell stays the edit page's.
    view->SetCurrentCell(view->GetCurrentCol(), 20);
    view->OnSummaryPageTab();
    EXPECT_EQ(view->GetSummaryRows().GetSize(), 54);
    EXPECT_EQ(view->GetCurrentRow(), 0);

    view->OnEditPageTab();
    EXPECT_FALSE(view->IsSummaryPageShown());
    EXPECT_EQ(view->GetCurrentCol(), colPrice);
    EXPECT_EQ(view->GetCurrentRow(), 0);
    EXPECT_EQ(Utf8Cell(0, colName), "足場");
}

TEST_F(SummaryPage, WithNoLevelSwitchedOnTheSummaryPageIsEmpty)
{
    Detail(0, "足場", "10", "100");
    // Large and middle subjects are shown until the summary command says otherwise.
    EXPECT_TRUE(view->IsSummaryLevelOn(CMorvelEMView::summaryLarge));
    EXPECT_TRUE(view->IsSummaryLevelOn(CMorvelEMView::summaryMiddle));
    for (int nLevel = 0; nLevel < CMorvelEMView::SUMMARY_LEVELS; ++nLevel)
        view->SetSummaryLevelOn(nLevel, false);
    view->OnSummaryPageTab();
    EXPECT_EQ(view->GetSummaryRows().GetSize(), 0);
    EXPECT_EQ(view->GetCellText(0, colName), CString());
}

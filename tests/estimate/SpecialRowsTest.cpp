#include "tests/estimate/EstimateTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

namespace {

class SpecialRowsTest : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }

    // A detail with its 規格 (the target of steps and classifications) and step factor.
    void StepDetail(int row, const char* spec, const char* qty, const char* factor)
    {
        Detail(row, "d", qty, "");
        view->SetCellText(CString::FromUtf8(spec), row, colSpec, TRUE);
        view->SetCellText(factor, row, colFactor, TRUE);
    }
};

// The classification form: the name column is "名称．検索" (T 2), and a cost column is
// filled by classifications of column mode 1 (V 1).
std::vector<FormColumn> ClassifyColumns()
{
    std::vector<FormColumn> columns = StandardColumns();
    columns[colName].t = "2";
    columns.push_back({"原価", "数値", "10", "###,###", "", "D(-1)", "", "1"});
    return columns;
}

} // namespace

TEST_F(SpecialRowsTest, KindHeadingTakesNameUnitAndTheIndentOfTheNearestKindHeading)
{
    view->InsertKindHeading("建築工事"_sj, "式"_sj);
    EXPECT_EQ(kindKind, view->GetRowKind(0));
    EXPECT_EQ("建築工事", Utf8Cell(0, colName));
    EXPECT_EQ("式", Utf8Cell(0, colUnit));
    EXPECT_EQ(1, view->GetCurrentRow());
    EXPECT_EQ(50, view->GetModel().Undo().GetUndoAction());
    ASSERT_NE(UndoCommandAs<CSpecialRowCommand>(*view), nullptr);
    EXPECT_EQ(0, UndoCommandAs<CSpecialRowCommand>(*view)->FirstRow());
    EXPECT_TRUE(doc->IsModified());

    view->SetCellIndent(2, 0, colName);
    Detail(1, "a", "1", "1");
    view->SetCurrentCell(view->GetCurrentCol(), 1); // inside the used rows: a row is inserted
    view->InsertKindHeading("電気工事"_sj, "式"_sj);
    EXPECT_EQ(kindKind, view->GetRowKind(1));
    EXPECT_EQ(2, view->GetCellIndent(1, colName));
    EXPECT_EQ("a", Cell(2, colName));
    EXPECT_EQ(3, view->GetUsedRows());
}

TEST_F(SpecialRowsTest, AKindHeadingOnAFormWithoutAUnitColumnKeepsItsNameAsAPickedHeadingDoes)
{
    // 単位 without its T code: no column takes the unit.
    std::vector<FormColumn> columns = StandardColumns();
    columns[colUnit].t = "";
    Open(columns);
    view->InsertKindHeading("建築工事"_sj, "式"_sj);
    EXPECT_EQ(kindKind, view->GetRowKind(0));
    EXPECT_EQ("建築工事", Utf8Cell(0, colName));
    EXPECT_EQ("", Cell(0, colUnit));
    CString picked = "新設工事/式"_sj;
    view->OnPickedLargeSubject(0, reinterpret_cast<LPARAM>(&picked));
    EXPECT_EQ(kindLarge, view->GetRowKind(1));
    EXPECT_EQ("新設工事", Utf8Cell(1, colName));
}

TEST_F(SpecialRowsTest, DiscountRowIsRoundedByTheAmountColumnAndRecalculatesBelow)
{
    Detail(0, "a", "1", "1000");
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->InsertDiscount("-1,000.4");
    EXPECT_EQ(kindDiscount, view->GetRowKind(1));
    EXPECT_EQ("値引", Utf8Cell(1, colName));
    EXPECT_EQ("-1000.000000", Cell(1, colAmount));
    EXPECT_EQ(2, view->GetCurrentRow());

    // Inserted above a grand total, the total takes the discount in.
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->InsertTotal(CMorvelEMView::levelGrand);
    EXPECT_EQ(0, Value(2, colAmount));
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->InsertDiscount("-500");
    EXPECT_EQ(kindDiscount, view->GetRowKind(2));
    EXPECT_EQ(kindGrandTotal, view->GetRowKind(3));
    EXPECT_EQ(-500, Value(3, colAmount));
}

TEST_F(SpecialRowsTest, StepRowAddsQuantityTimesFactorOfMatchingRowsInItsRange)
{
    StepDetail(0, "型枠", "8", "1"); // above the small heading
    Heading(1, kindSmall, "躯体");
    StepDetail(2, "型枠", "10", "0.5");
    StepDetail(3, "型枠", "4", "0.25");
    StepDetail(4, "鉄筋", "100", "1");
    view->SetRowKind(kindSmallTotal, 5); // a total whose target cell matches counts too
    view->SetCellText("型枠"_sj, 5, colSpec, TRUE);
    view->SetCellText("2", 5, colQty, TRUE);
    view->SetCellText("1", 5, colFactor, TRUE);

    view->GetModel().Engine().MakeStepRow(6, "型枠"_sj, colSpec, EStepRange::smallHeading);
    EXPECT_EQ(kindStep, view->GetRowKind(6));
    EXPECT_EQ("8.000000", Cell(6, colQty)); // 5 + 1 + 2
    EXPECT_EQ("型枠", view->GetRowParamText1(6).ToUtf8());
    EXPECT_EQ(colSpec, view->GetRowParam1(6));
    EXPECT_EQ(5, view->GetRowParam2(6));

    view->GetModel().Engine().MakeStepRow(6, "型枠"_sj, colSpec, EStepRange::wholeEstimate); // from row 0
    EXPECT_EQ("16.000000", Cell(6, colQty));

    // The recalculation makes it again from its parameters.
    view->SetCellText("20", 2, colQty, TRUE);
    view->RecalcTotals(0);
    EXPECT_EQ("21.000000", Cell(6, colQty));
}

TEST_F(SpecialRowsTest, StepRowsNeedTheirColumnsAndAKnownRangeCode)
{
    StepDetail(0, "x", "10", "1");
    // A range code no dialog gives (and a file should not hold) is no range.
    EXPECT_FALSE(StepRangeFromCode(6).has_value());
    EXPECT_FALSE(StepRangeFromCode(-1).has_value());
    EXPECT_EQ(EStepRange::smallHeading, StepRangeFromCode(5));

    std::vector<FormColumn> columns = StandardColumns();
    columns[colFactor].t = "";
    Open(columns);
    StepDetail(0, "x", "10", "1");
    view->GetModel().Engine().MakeStepRow(1, "x", colSpec, EStepRange::wholeEstimate);
    EXPECT_EQ(kindEmpty, view->GetRowKind(1));
}

TEST_F(SpecialRowsTest, NumericTargetsMatchByValue)
{
    StepDetail(0, "", "5", "2");
    StepDetail(1, "", "5.0", "3");
    StepDetail(2, "", "6", "100");
    view->GetModel().Engine().MakeStepRow(3, "5", colQty, EStepRange::wholeEstimate);
    EXPECT_EQ("25.000000", Cell(3, colQty));
}

TEST_F(SpecialRowsTest, StepSettingReleasedBecomesADetailRow)
{
    StepDetail(0, "x", "10", "1");
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->ApplyStepSetting(FALSE, "x", colSpec, EStepRange::wholeEstimate);
    EXPECT_EQ(kindStep, view->GetRowKind(1));
    view->ApplyStepSetting(TRUE, "", 0, EStepRange::nearestHeading);
    EXPECT_EQ(kindDetail, view->GetRowKind(1));
}

TEST_F(SpecialRowsTest, ClassificationFillsAmountAndCostColumnsWithRateTimesSum)
{
    Open(ClassifyColumns());
    Detail(0, "a", "1", "1000");
    view->SetCellText("A", 0, colSpec, TRUE);
    view->SetCellText("600", 0, 8, TRUE);
    Detail(1, "b", "1", "500");
    view->SetCellText("B", 1, colSpec, TRUE);
    Detail(2, "c", "1", "200");
    view->SetCellText("A", 2, colSpec, TRUE);
    view->SetCellText("100", 2, 8, TRUE);

    view->SetCurrentCell(view->GetCurrentCol(), 3);
    view->ApplyClassifySetting("A類"_sj, "10", "A", colSpec, 1, EStepRange::wholeEstimate, FALSE, FALSE);
    EXPECT_EQ(kindClassify, view->GetRowKind(3));
    EXPECT_EQ("A類", Utf8Cell(3, colName));
    EXPECT_EQ("120.000000", Cell(3, colAmount));
    EXPECT_EQ("70.000000", Cell(3, 8));
    EXPECT_EQ("A", view->GetRowParamText1(3).str());
    EXPECT_EQ("10", view->GetRowParamText2(3).str());
    EXPECT_EQ(colSpec, view->GetRowParam1(3));
    EXPECT_EQ(1, view->GetRowParam2(3));
    EXPECT_EQ(1, view->GetRowParam3(3));
    EXPECT_EQ(50, view->GetModel().Undo().GetUndoAction());

    // Made again at every recalculation, keeping its name.
    view->SetCellText("2000", 0, colPrice, TRUE);
    view->GetModel().Engine().CalcRow(0, 0);
    view->RecalcTotals(0);
    EXPECT_EQ("220.000000", Cell(3, colAmount));
    EXPECT_EQ("A類", Utf8Cell(3, colName));

    // Column mode 0 fills the amount column only; the rate is rounded by the column.
    view->GetModel().Engine().MakeClassifyRow(3, "A類"_sj, "3.3", "A", colSpec, 0, EStepRange::wholeEstimate);
    EXPECT_EQ("72.000000", Cell(3, colAmount)); // 72.6 cut by D(-1)
    view->ApplyClassifySetting("", "", "", 0, 0, EStepRange::nearestHeading, TRUE, FALSE);
    EXPECT_EQ(kindDetail, view->GetRowKind(3));
}

TEST_F(SpecialRowsTest, OneF7LeavesAClassificationRowsOwnFormulasAsASecondOneWould)
{
    // 税込 = 金額 x 1.1 on every row, the classification row's too.
    std::vector<FormColumn> columns = ClassifyColumns();
    columns.push_back({"税込", "計", "12", "###,###", "F*1.1", "D(-1)", "", ""});
    Open(columns);
    const int colWithTax = 9;
    Detail(0, "a", "1", "1000");
    view->SetCellText("A", 0, colSpec, TRUE);
    Detail(1, "b", "1", "500");
    view->SetCellText("B", 1, colSpec, TRUE);
    view->SetCurrentCell(view->GetCurrentCol(), 2);
    view->ApplyClassifySetting("A類"_sj, "10", "A", colSpec, 0, EStepRange::wholeEstimate, FALSE, FALSE);
    EXPECT_EQ("100.000000", Cell(2, colAmount));
    EXPECT_EQ("110.000000", Cell(2, colWithTax));

    // A price typed with the recalculation left to F7.
    view->SetCellText("3000", 0, colPrice, TRUE);
    view->OnRecalculate();
    EXPECT_EQ("300.000000", Cell(2, colAmount));
    EXPECT_EQ("330.000000", Cell(2, colWithTax));
    auto cells = [&]() {
        std::vector<std::string> texts;
        for (int r = 0; r < view->GetUsedRows(); ++r) {
            for (int c = 0; c <= colWithTax; ++c)
                texts.push_back(Cell(r, c));
        }
        return texts;
    };
    const std::vector<std::string> once = cells();
    view->OnRecalculate();
    EXPECT_EQ(once, cells());
}

TEST_F(SpecialRowsTest, AStepRowUnderAClassificationRowTakesWhatTheSameF7GaveIt)
{
    // The classification fills the quantity too (V 1), which the step row below adds.
    std::vector<FormColumn> columns = ClassifyColumns();
    columns[colQty].v = "1";
    Open(columns);
    StepDetail(0, "A", "1", "2");
    view->SetCellText("1000", 0, colPrice, TRUE);
    view->GetModel().Engine().MakeClassifyRow(1, "A類"_sj, "10", "A", colSpec, 1, EStepRange::wholeEstimate);
    view->SetCellText("A", 1, colSpec, TRUE);
    view->SetCellText("3", 1, colFactor, TRUE);
    view->GetModel().Engine().MakeStepRow(2, "A", colSpec, EStepRange::wholeEstimate);
    view->SetCellText("2", 0, colQty, TRUE);

    view->OnRecalculate();
    EXPECT_EQ("0.200000", Cell(1, colQty));
    EXPECT_EQ("4.600000", Cell(2, colQty)); // 2 x 2 + 0.2 x 3
    view->OnRecalculate();
    EXPECT_EQ("4.600000", Cell(2, colQty));
}

TEST_F(SpecialRowsTest, ClassificationOutsideTheColumnsMakesNothing)
{
    Open(ClassifyColumns());
    Detail(0, "a", "1", "1000");
    view->GetModel().Engine().MakeClassifyRow(1, "x", "10", "A", 42, 0, EStepRange::wholeEstimate);
    EXPECT_EQ(kindEmpty, view->GetRowKind(1));
    EXPECT_EQ("", Cell(1, colName));
}

TEST_F(SpecialRowsTest, ConsumptionTaxRowAndTheFormWithoutAnAmountColumn)
{
    Detail(0, "a", "1", "12345");
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->OnConsumptionTax();
    EXPECT_EQ(kindFree, view->GetRowKind(1));
    EXPECT_EQ("987.000000", Cell(1, colAmount)); // 987.6 cut by the column's D(-1)
    EXPECT_EQ(1, view->GetCurrentRow());

    std::vector<FormColumn> columns = StandardColumns();
    columns[colAmount].v = "";
    Open(columns);
    Detail(0, "a", "1", "12345");
    view->SetCurrentCell(view->GetCurrentCol(), 1);
    view->OnConsumptionTax();
    EXPECT_EQ(kindEmpty, view->GetRowKind(1));
    EXPECT_EQ(1, view->GetUsedRows());
}

TEST_F(SpecialRowsTest, NonCalculatedMarkOverASelectionIncludingAnEmptyRow)
{
    view->SetRowKind(kindDiscount, 0);
    view->SetRowKind(kindLarge, 1);
    view->SetRowKind(kindKind, 3);
    view->SetRowKind(kindGrandTotal, 4);
    view->GetModel().RestoreUsedRows(5);
    view->SetSelection(CMorvelView::selectRows, view->GetSelection());
    view->SetSelection(view->GetSelectMode(), CRect(0, 2, 7, 0)); // as dragged: bottom to top
    view->OnNonCalcSet();
    EXPECT_EQ(NonCalculatedKindOf(kindDiscount), view->GetRowKind(0));
    EXPECT_EQ(NonCalculatedKindOf(kindLarge), view->GetRowKind(1));
    EXPECT_EQ(NonCalculatedKindOf(kindEmpty), view->GetRowKind(2));
    EXPECT_EQ(kindKind, view->GetRowKind(3));
    EXPECT_EQ(32, view->GetModel().Undo().GetUndoAction());
    ASSERT_NE(UndoCommandAs<CNonCalculatedCommand>(*view), nullptr);
    EXPECT_EQ(3, UndoCommandAs<CNonCalculatedCommand>(*view)->GetRowCount());
    EXPECT_EQ(0, UndoCommandAs<CNonCalculatedCommand>(*view)->FirstRow());

    view->OnNonCalcRelease();
    EXPECT_EQ(kindDiscount, view->GetRowKind(0));
    EXPECT_EQ(kindLarge, view->GetRowKind(1));
    EXPECT_EQ(kindEmpty, view->GetRowKind(2));
    EXPECT_EQ(33, view->GetModel().Undo().GetUndoAction());

    // Without a selection the current row alone; other kinds stay.
    view->SetSelection(CMorvelView::selectNone, view->GetSelection());
    view->SetCurrentCell(view->GetCurrentCol(), 4);
    view->OnNonCalcRelease();
    EXPECT_EQ(kindGrandTotal, view->GetRowKind(4));
    view->OnNonCalcSet();
    EXPECT_EQ(NonCalculatedKindOf(kindGrandTotal), view->GetRowKind(4));
}

TEST_F(SpecialRowsTest, NonCalculatedCommandsNeedTheSelectionWithinTheUsedRows)
{
    TestCmdUI cmdUI;
    view->GetModel().RestoreUsedRows(3);
    view->SetSelection(CMorvelView::selectRows, view->GetSelection());
    view->SetSelection(view->GetSelectMode(), CRect(0, 1, 7, 3));
    view->OnUpdateNonCalc(&cmdUI);
    EXPECT_FALSE(cmdUI.enabled);
    view->SetSelection(view->GetSelectMode(), CRect(0, 1, 7, 2));
    view->OnUpdateNonCalc(&cmdUI);
    EXPECT_TRUE(cmdUI.enabled);
    view->SetSummaryPageShown(true);
    view->OnUpdateNonCalc(&cmdUI);
    EXPECT_FALSE(cmdUI.enabled);
}

TEST_F(SpecialRowsTest, SubjectNumbersInLettersAndDigits)
{
    CString text;
    const auto SetStyle = [&](int CMorvelEMView::CSubjectNumbering::*pStyle, int nStyle) {
        CMorvelEMView::CSubjectNumbering numbering = view->GetModel().GetNumbering();
        numbering.*pStyle = nStyle;
        view->GetModel().SetNumbering(numbering);
    };
    SetStyle(&CMorvelEMView::CSubjectNumbering::nKindStyle, 0);
    const std::pair<int, const char*> letters[] = {{1, "A."},   {26, "Z."},  {27, "AA."},  {52, "AZ."},
                                                   {53, "BA."}, {78, "BZ."}, {702, "ZZ."}, {703, "703."}};
    for (const auto& [n, expected] : letters) {
        view->FormatSubjectNo(1, text, n, 0, 0, 0);
        EXPECT_EQ(expected, text.str()) << n;
    }
    SetStyle(&CMorvelEMView::CSubjectNumbering::nKindStyle, 1);
    view->FormatSubjectNo(1, text, 7, 0, 0, 0);
    EXPECT_EQ("07.", text.str());
    SetStyle(&CMorvelEMView::CSubjectNumbering::nLargeStyle, 2);
    SetStyle(&CMorvelEMView::CSubjectNumbering::nMiddleStyle, 2);
    view->FormatSubjectNo(1, text, 0, 2, 3, 0);
    EXPECT_EQ("2.3.", text.str());
    view->FormatSubjectNo(0, text, 0, 2, 3, 0); // the deepest level alone
    EXPECT_EQ("3.", text.str());
    SetStyle(&CMorvelEMView::CSubjectNumbering::nSmallStyle, 3);
    view->FormatSubjectNo(0, text, 0, 2, 3, 4); // a level numbered "none" also replaces
    EXPECT_EQ("", text.str());
}

TEST_F(SpecialRowsTest, SubjectNumberTextCountsTheHeadingsAbove)
{
    Heading(0, kindKind, "k");
    Heading(1, kindLarge, "l");
    Heading(2, kindMiddle, "m");
    Detail(3, "d", "1", "1");
    Heading(4, kindMiddle, "m2");
    Heading(5, kindLarge, "l2");
    EXPECT_EQ("", view->GetSubjectNoText(1, 1).str()); // numbering is off
    view->ApplySubjectNumbering(TRUE, FALSE, 2, 0, 2, 1, 0, 1);
    EXPECT_EQ("1.", view->GetSubjectNoText(0, 0).str());
    EXPECT_EQ("1.A.", view->GetSubjectNoText(1, 0).str());
    EXPECT_EQ("1.A.1.", view->GetSubjectNoText(2, 0).str());
    EXPECT_EQ("", view->GetSubjectNoText(3, 0).str());
    EXPECT_EQ("1.A.2.", view->GetSubjectNoText(4, 0).str());
    EXPECT_EQ("1.B.", view->GetSubjectNoText(5, 0).str());
    EXPECT_EQ("", view->GetSubjectNoText(5, 1).str()); // not the numbering column
    // The numbers follow the rows: a large heading put in above the first, then taken out.
    view->InsertRow(1);
    Heading(1, kindLarge, "l0");
    EXPECT_EQ("1.B.", view->GetSubjectNoText(2, 0).str());
    EXPECT_EQ("1.B.1.", view->GetSubjectNoText(3, 0).str());
    EXPECT_EQ("1.C.", view->GetSubjectNoText(6, 0).str());
    view->DeleteRow(1);
    EXPECT_EQ("1.B.", view->GetSubjectNoText(5, 0).str());
    EXPECT_EQ("1.A.1.", view->GetSubjectNoText(2, 0).str());
    view->ApplySubjectNumbering(FALSE, FALSE, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(1, view->GetModel().GetNumbering().nShown);
    view->ApplySubjectNumbering(FALSE, TRUE, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(0, view->GetModel().GetNumbering().nShown);
    EXPECT_EQ(2, view->GetModel().GetNumbering().nKindStyle); // Cancel keeps the styles
}

#include "tests/estimate/EstimateTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CPrintRowSource.h"
#include "platform/base/Cp932Text.h"

namespace {

class RowAccessTest : public EstimateViewTest {
protected:
    void SetUp() override { Open(); }
};

} // namespace

TEST_F(RowAccessTest, SetupTakesColumnsWidthsAndTitlesFromTheForm)
{
    EXPECT_EQ(8, view->GetColumnCount());
    EXPECT_EQ(200, view->GetColumnWidth(colName));
    EXPECT_EQ(120, view->GetBaseColumnWidth(colAmount));
    EXPECT_EQ("数量", view->GetColumnTitle(colQty).ToUtf8());
    EXPECT_EQ(200 + 150 + 80 + 40 + 100 + 120 + 60 + 200, view->GetMetrics().nTotalWidth);
    EXPECT_EQ(1100, view->GetRowLimit());
    EXPECT_EQ(24, view->GetMetrics().nHeaderHeight);
    // 18 rows per page: two digits and one more (27), and room for a row's mark (14).
    EXPECT_EQ(27 + 14, view->GetMetrics().nRowHeaderWidth);
}

TEST_F(RowAccessTest, MissingRowsReadAsEmptyRowsOfKindZero)
{
    view->SetRowKind(kindDetail, 3);
    EXPECT_EQ(kindDetail, view->GetRowKind(3));
    EXPECT_EQ(kindEmpty, view->GetRowKind(1));  // a null entry
    EXPECT_EQ(kindEmpty, view->GetRowKind(10)); // beyond the array
    EXPECT_EQ(kindEmpty, view->GetRowKind(-1));
    EXPECT_EQ("", Cell(1, colName));
    EXPECT_EQ("", Cell(3, 99));
    EXPECT_EQ("", Cell(3, -1));
    EXPECT_EQ(0, view->GetCellIndent(50, colName));
    EXPECT_EQ(0, view->GetRowParam3(50));
    EXPECT_EQ("", view->GetRowParamText2(-1).str());
}

TEST_F(RowAccessTest, AnEmptyEditOfAnEmptyCellStoresNothingUnlessForced)
{
    EXPECT_EQ(0, view->SetCellText("", 2, colName, FALSE));
    EXPECT_EQ(nullptr, view->GetEditRow(2));
    EXPECT_EQ(0, view->GetUsedRows());

    EXPECT_EQ(1, view->SetCellText("", 2, colName, TRUE));
    EXPECT_NE(nullptr, view->GetEditRow(2));
    EXPECT_EQ(3, view->GetUsedRows());

    // An edit that started on a filled cell may empty it.
    view->GetModel().Engine().SetEditStartText("old");
    EXPECT_EQ(1, view->SetCellText("", 4, colName, FALSE));
    EXPECT_TRUE(view->GetModel().Engine().GetEditStartText().IsEmpty());
}

TEST_F(RowAccessTest, StoringBelowTheUsedRowsRaisesThemAndInvalidPlacesStoreNothing)
{
    Detail(0, "a", "1", "1");
    Detail(2, "b", "1", "1");
    EXPECT_EQ(3, view->GetUsedRows());
    EXPECT_EQ(1, view->SetCellText("x", 10, colNote, FALSE));
    EXPECT_EQ(11, view->GetUsedRows());
    EXPECT_EQ(0, view->SetCellText("x", 1100, colNote, TRUE));
    EXPECT_EQ(0, view->SetCellText("x", -1, colNote, TRUE));
    EXPECT_EQ(0, view->SetCellText("1", 0, -1, TRUE)); // no column: nothing is read or stored
    EXPECT_EQ(0, view->SetCellText("1", 0, 8, TRUE));
    EXPECT_EQ(11, view->GetUsedRows());
}

TEST_F(RowAccessTest, NumbersAreRoundedByTheColumnAndKeptInNormalForm)
{
    view->SetCellText("1,234.5", 0, colPrice, TRUE); // F(-1), ###,###
    EXPECT_EQ("1235.000000", Cell(0, colPrice));
    view->SetCellText("1234.5678", 0, colQty, TRUE); // F(-3), two decimals
    EXPECT_EQ("1234.570000", Cell(0, colQty));
    view->SetCellText("12a", 0, colPrice, TRUE); // not a number: as typed
    EXPECT_EQ("12a", Cell(0, colPrice));
    view->SetCellText("1,234.5", 0, colNote, TRUE); // a text column keeps the text
    EXPECT_EQ("1,234.5", Cell(0, colNote));
    view->SetCellText("-0.4", 0, colPrice, TRUE);
    EXPECT_EQ("0.000000", Cell(0, colPrice));
}

TEST_F(RowAccessTest, AFreeRowIsFormattedByThePictureButNotRoundedBySpec)
{
    std::vector<FormColumn> columns = StandardColumns();
    columns[colPrice].rounding = "D(-1)";
    Open(columns);
    view->SetCellText("1234.5", 0, colPrice, TRUE);
    EXPECT_EQ("1234.000000", Cell(0, colPrice));
    view->SetRowKind(kindFree, 1);
    view->SetCellText("1234.5", 1, colPrice, TRUE);
    EXPECT_EQ("1235.000000", Cell(1, colPrice));
}

TEST_F(RowAccessTest, FullWidthDigitsTypedIntoANumericCellAreStoredAsANumber)
{
    CString typed = "１，２３４．５"_sj;
    ToHalfWidthNumber(typed);
    view->SetCellText(typed, 0, colPrice, TRUE);
    EXPECT_EQ("1235.000000", Cell(0, colPrice));

    CString mixed = "１２個"_sj; // other characters: kept as typed
    EXPECT_EQ(-1, ToHalfWidthNumber(mixed));
    view->SetCellText(mixed, 1, colPrice, TRUE);
    EXPECT_EQ("１２個", Utf8Cell(1, colPrice));
}

TEST_F(RowAccessTest, InsertRowAtTheRowLimitRaisesTheLimitAndLosesNoRow)
{
    settings->WriteProfileInt("Input Setting", "Estimation Maxmum Rows", 5);
    Open();
    EXPECT_EQ(5, view->GetRowLimit());
    Detail(0, "a", "1", "1");
    Detail(3, "d", "1", "1");
    view->GetModel().SetMarkRow(3);
    view->InsertRow(1);
    EXPECT_EQ(5, view->GetUsedRows());
    EXPECT_EQ(4, view->GetMarkRow());
    EXPECT_EQ("d", Cell(4, colName));
    EXPECT_TRUE(doc->IsModified());
    // The used rows stay below the limit: it doubles rather than pushing "d" out.
    EXPECT_EQ(10, view->GetRowLimit());
    view->InsertRow(0);
    view->InsertRow(4);
    EXPECT_EQ(7, view->GetUsedRows());
    EXPECT_EQ("a", Cell(1, colName));
    EXPECT_EQ("d", Cell(6, colName));
    EXPECT_LT(view->GetUsedRows(), view->GetRowLimit());
}

TEST_F(RowAccessTest, DeleteRowMovesRowsUpAndNeverMakesTheUsedRowsNegative)
{
    Detail(0, "a", "1", "1");
    Detail(1, "b", "1", "1");
    view->GetModel().SetMarkRow(1);
    view->DeleteRow(0);
    EXPECT_EQ("b", Cell(0, colName));
    EXPECT_EQ(1, view->GetUsedRows());
    EXPECT_EQ(0, view->GetMarkRow());
    view->DeleteRow(0);
    EXPECT_EQ(-1, view->GetMarkRow());
    view->GetModel().RestoreUsedRows(0);
    view->SetRowKind(kindDetail, 0);
    view->DeleteRow(0);
    EXPECT_EQ(0, view->GetUsedRows());
    view->DeleteRow(7); // beyond the stored rows
    EXPECT_EQ(0, view->GetUsedRows());
}

TEST_F(RowAccessTest, FindColumnReturnsTheLastMatchOrZero)
{
    std::vector<FormColumn> columns = StandardColumns();
    columns[colSpec].t = "2";
    columns[colNote].t = "5";
    columns[colNote].v = "2";
    Open(columns);
    const CEstimateColumns& form = view->GetModel().Engine().Columns();
    EXPECT_EQ(colNote, form.Find("5", "T"));
    EXPECT_EQ(colSpec, form.Find("6", "T")); // "2" counts for the name too, and is last
    EXPECT_EQ(colQty, form.Find("3", "T"));
    EXPECT_EQ(colNote, form.Find("2", "U"));
    EXPECT_EQ(0, form.Find("9", "T"));
    EXPECT_EQ(0, form.Find("3", "X"));
    // The amount column is the first with "V" code "2".
    view->SetCellText("7", 0, colAmount, TRUE);
    EXPECT_EQ("7.000000", view->GetAmountText(0).str());
}

TEST_F(RowAccessTest, RowParametersAndIndentsMakeTheRowObject)
{
    view->SetRowParam1(3, 4);
    view->SetRowParam2(4, 4);
    view->SetRowParam3(70000, 4);
    view->SetRowParamText1("target", 4);
    view->SetRowParamText2("10", 4);
    EXPECT_EQ(3, view->GetRowParam1(4));
    EXPECT_EQ(4, view->GetRowParam2(4));
    EXPECT_EQ(70000, view->GetRowParam3(4));
    EXPECT_EQ("target", view->GetRowParamText1(4).str());
    EXPECT_EQ("10", view->GetRowParamText2(4).str());
    view->SetRowParam1(1, 1100); // beyond the limit: ignored
    EXPECT_EQ(0, view->GetRowParam1(1100));

    // An indent on a row beyond the array raises the used rows.
    view->SetCellIndent(2, 8, colName);
    EXPECT_EQ(2, view->GetCellIndent(8, colName));
    EXPECT_EQ(9, view->GetUsedRows());
}

TEST_F(RowAccessTest, CopyRowCopiesTheFormColumnsAndClearsWithoutASource)
{
    CGridRow source;
    source.SetKind(KindFromNumber(21));
    source.SetParam3(1);
    source.SetParamText2("10");
    source.SetCell(colAmount, "5.000000");
    source.SetIndent(colName, 2);
    source.SetCell(50, "beyond the form");
    CGridRow target;
    view->CopyRow(&source, &target);
    EXPECT_EQ(kindClassify, target.GetKind());
    EXPECT_EQ(1, target.GetParam3());
    EXPECT_EQ(CString("10"), target.GetParamText2());
    EXPECT_EQ(CString("5.000000"), target.m_strCell[colAmount]);
    EXPECT_EQ(2, target.m_nIndent[colName]);
    EXPECT_TRUE(target.m_strCell[50].IsEmpty());
    view->CopyRow(nullptr, &target);
    EXPECT_EQ(kindEmpty, target.GetKind());
    EXPECT_TRUE(target.m_strCell[colAmount].IsEmpty());
    EXPECT_EQ(0, target.m_nIndent[colName]);
}

TEST_F(RowAccessTest, MoreRowsThanTheLimitRaiseTheLimitSoThatNoRowIsLost)
{
    settings->WriteProfileInt("Input Setting", "Estimation Maxmum Rows", 10);
    Open(StandardColumns(), 15);
    EXPECT_EQ(20, view->GetRowLimit()); // doubled once
    Open(StandardColumns(), 45);
    EXPECT_EQ(80, view->GetRowLimit()); // doubled until every row fits
    EXPECT_EQ(45, view->GetUsedRows());
}

TEST_F(RowAccessTest, GettersServeTheSummaryPageWhileItIsShown)
{
    Detail(0, "edit", "1", "1");
    view->GetModel().SetSummaryKind(SummaryKindOf(kindDetail), 0);
    view->GetModel().SetSummaryCell(0, colName, "summary");
    view->SetSummaryPageShown(true);
    EXPECT_EQ("summary", Cell(0, colName));
    EXPECT_EQ(SummaryKindOf(kindDetail), view->GetRowKind(0));
    EXPECT_EQ(kindDetail, view->GetEditRow(0)->GetKind());
    view->SetSummaryPageShown(false);
    EXPECT_EQ("edit", Cell(0, colName));
}

TEST_F(RowAccessTest, WhileAnEstimatePrintsTheGettersServeItsOwnRows)
{
    Detail(0, "a", "1", "1");
    Detail(1, "b", "0", "1");
    // A print job leaves the zero-quantity row out of a copy of its own.
    CPrintRowSource printed(view->GetEditRows(), view->GetUsedRows(), view->GetRowLimit(),
                            view->GetColumnCount());
    printed.CopyLeavingOut([](int nRow) { return nRow == 1; });
    EXPECT_EQ("", printed.GetCellText(1, colName).str());
    EXPECT_EQ("a", Cell(0, colName));
    EXPECT_EQ("b", Cell(1, colName));
    EXPECT_EQ(2, view->GetUsedRows());
}

TEST_F(RowAccessTest, InformationAmountsAreTheTotalTheTaxAndTheAmountWithoutTax)
{
    Detail(0, "a", "10", "100");
    view->SetRowKind(kindFree, 1);
    view->SetCellText("80", 1, colAmount, TRUE);
    CString total, tax, net;
    view->GetInformationAmounts(total, tax, net);
    EXPECT_EQ("1080.000000", total.str());
    EXPECT_EQ("80.000000", tax.str());
    EXPECT_EQ("1000.000000", net.str());

    CStringArray values;
    values.Add("customer");
    values.Add("site");
    doc->SetModifiedFlag(FALSE);
    view->ApplyInformationValues(values);
    EXPECT_EQ(2, view->GetModel().GetInformationCount());
    EXPECT_EQ(CString("site"), view->GetModel().GetInformation(1));
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(FALSE);
    view->ApplyInformationValues(values);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(RowAccessTest, CellRangeRectanglesFollowTheWidthsAndTheFirstVisibleCell)
{
    CRect rect;
    view->GetCellRangeRect(1, 2, 2, 3, &rect);
    const int x0 = view->GetMetrics().nRowHeaderWidth;
    EXPECT_EQ(CRect(x0 + 200, 24 + 2 * 24, x0 + 200 + 150 + 80, 24 + 4 * 24), rect);
    view->SetFirstVisibleCell(1, view->GetFirstVisibleCell().y);
    view->SetFirstVisibleCell(view->GetFirstVisibleCell().x, 3);
    view->GetCellRangeRect(0, 0, 1, 3, &rect); // starts left of and above the visible cells
    EXPECT_EQ(CRect(x0, 24, x0 + 150, 24 + 24), rect);
    view->GetCellRangeRect(0, 0, 8, 0, &rect); // beyond the last column
    EXPECT_TRUE(rect.IsRectNull());
    view->GetCellRangeRect(0, 0, 0, 1100, &rect); // beyond the row limit
    EXPECT_TRUE(rect.IsRectNull());
}

TEST_F(RowAccessTest, RowsPerPageBelowOneCountAsTwentyFive)
{
    settings->WriteProfileInt("Input Setting", "Rows in a page", 0);
    Open();
    EXPECT_EQ(25, view->GetRowsPerPage());
    EXPECT_EQ(27 + 14, view->GetMetrics().nRowHeaderWidth);
    settings->WriteProfileInt("Input Setting", "Rows in a page", 100000);
    Open();
    EXPECT_EQ(50 + 14, view->GetMetrics().nRowHeaderWidth); // the number's part at most 50
}

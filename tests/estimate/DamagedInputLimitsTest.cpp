// Limits that keep damaged or foreign input from hurting the estimator: formulas nested
// beyond reason yield no number instead of exhausting the stack, form widths out of range
// are kept within what the grid shows, and an estimate file whose cells or information
// values have no form item to belong to is refused instead of losing them at the next save.
#include "tests/estimate/EstimateFileTestSupport.h"
#include "tests/estimate/EstimateTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"

#include <string>

namespace {

std::string Nested(int nDepth, const std::string& inner)
{
    return std::string(static_cast<size_t>(nDepth), '(') + inner +
           std::string(static_cast<size_t>(nDepth), ')');
}

} // namespace

TEST(FormulaNesting, DeepNestingYieldsNoNumberAndNormalNestingStillComputes)
{
    // At the limit the formula computes as written.
    const int nLimit = CNumberRules::MAX_FORMULA_DEPTH;
    EXPECT_EQ("6.000000", CNumberRules::EvaluateFormula(Nested(nLimit, "2*3").c_str()).str());
    EXPECT_EQ("7.000000", CNumberRules::EvaluateFormula(("1+" + Nested(nLimit, "2*3")).c_str()).str());
    // One level more, or 100,000 unclosed, and the formula is malformed: no number.
    EXPECT_EQ("", CNumberRules::EvaluateFormula(Nested(nLimit + 1, "2*3").c_str()).str());
    const std::string deep = std::string(100000, '(') + "1";
    EXPECT_EQ("", CNumberRules::EvaluateFormula(deep.c_str()).str());
    double value = 42.0;
    EXPECT_FALSE(CNumberRules::EvaluateExpression(deep.c_str(), value));
    EXPECT_EQ(0.0, value);
    // Nesting that goes deep and comes back counts its greatest depth, not the parentheses.
    std::string wide;
    for (int i = 0; i < 1000; ++i)
        wide += (i ? "+" : "") + Nested(3, "1");
    EXPECT_EQ("1000.000000", CNumberRules::EvaluateFormula(wide.c_str()).str());
}

class DeepFormulaInEstimate : public EstimateViewTest {};

TEST_F(DeepFormulaInEstimate, ARowFormulaOrCellNestedTooDeepLeavesTheCellEmptyAndTheRestComputes)
{
    // The amount column's formula is the quantity inside 100,000 parentheses.
    std::vector<FormColumn> columns = StandardColumns();
    const std::string deepFormula = std::string(100000, '(') + "C";
    columns[colAmount].formula = deepFormula.c_str();
    Open(columns);
    Detail(0, "基礎", "3", "1000");
    EXPECT_EQ("", Cell(0, colAmount));
    view->RecalcAll();
    EXPECT_EQ("", Cell(0, colAmount));
    EXPECT_EQ("3.000000", Cell(0, colQty));

    // A cell that holds the deep text feeds a sum: no number there, nothing else moves.
    columns = StandardColumns();
    columns[colAmount].formula = "C+E";
    Open(columns);
    Detail(0, "基礎", "3", "1000");
    Detail(1, "土間", "2", "500");
    EXPECT_EQ("502.000000", Cell(1, colAmount));
    view->SetCellText((std::string(100000, '(') + "5").c_str(), 1, colQty, TRUE);
    view->GetModel().Engine().CalcRow(1, 0);
    view->RecalcAll();
    EXPECT_EQ("1003.000000", Cell(0, colAmount));
    EXPECT_EQ("", Cell(1, colAmount));
}

TEST_F(DeepFormulaInEstimate, FormWidthsFromFilesAreKeptWithinTheGridsRange)
{
    EXPECT_EQ(12, CMorvelEMView::GetFormColumnWidth("12"));
    EXPECT_EQ(8, CMorvelEMView::GetFormColumnWidth(" 8mm"));
    EXPECT_EQ(0, CMorvelEMView::GetFormColumnWidth("abc"));
    EXPECT_EQ(0, CMorvelEMView::GetFormColumnWidth("-5"));
    EXPECT_EQ(CMorvelEMView::MAX_FORM_COLUMN_WIDTH, CMorvelEMView::GetFormColumnWidth("999999999"));
    EXPECT_EQ(CMorvelEMView::MAX_FORM_COLUMN_WIDTH,
              CMorvelEMView::GetFormColumnWidth("99999999999999999999999"));

    // In the grid: "999999999" characters would overflow as pixels; the column is as wide as
    // the limit allows and the others keep their widths.
    std::vector<FormColumn> columns = StandardColumns();
    columns[colName].width = "999999999";
    columns[colSpec].width = "-20";
    Open(columns);
    EXPECT_EQ(CMorvelEMView::MAX_FORM_COLUMN_WIDTH * 10, view->GetBaseColumnWidth(colName));
    EXPECT_EQ(0, view->GetBaseColumnWidth(colSpec));
    EXPECT_EQ(80, view->GetBaseColumnWidth(colQty));
    EXPECT_GT(view->GetColumnWidth(colName), 0);
}

namespace {

const char kDamaged[] = "は予期しない形式か、壊れています。";

class FileCellsWithoutFormItem : public EstimateFileTest {
protected:
    // The sample's three-item estimation form and two-item information form, nColumns cells
    // per row and the given information values.
    std::vector<uint8_t> File(uint16_t nColumns, const std::vector<const char*>& information)
    {
        EstimateFileBuilder b;
        b.Magic().Text("meisai.MMK").Form("This is estimation form file", SampleEstimationItems());
        b.Text("JYOUHOU.MJK").Form("This is information form file", SampleInformationItems());
        b.Words({nColumns, 1, 0, 1, 2, 0, 2, 1, 1, 100});
        b.bytes.Word(5).Word(0).Word(0).Word(0).Str("").Str("");
        for (int c = 0; c < nColumns; ++c)
            b.bytes.Str("cell" + std::to_string(c)).Word(0);
        b.Words({static_cast<uint16_t>(information.size())});
        for (const char* value : information)
            b.Text(value);
        b.Words({0});
        return b.Bytes();
    }

    // The file does not open, says why, changes neither the document nor the file.
    void ExpectRefused(const std::vector<uint8_t>& bytes)
    {
        Write("foreign.mmd", bytes);
        OpenedEstimate e;
        e.doc->m_strEstimationFormName = "before";
        MessageBoxRecorder boxes;
        EXPECT_FALSE(e.doc->OnOpenDocument(Path("foreign.mmd")));
        ASSERT_EQ(1u, boxes.entries.size());
        EXPECT_NE(std::string::npos, boxes.entries[0].text.ToUtf8().find(kDamaged))
            << boxes.entries[0].text.ToUtf8();
        EXPECT_EQ("before", e.doc->m_strEstimationFormName.str());
        EXPECT_EQ(0, e.doc->m_EstimationForm.GetCount());
        EXPECT_EQ(0, e.view->GetUsedRows());
        EXPECT_EQ(0, e.view->GetModel().GetInformationCount());
        EXPECT_EQ(bytes, Read("foreign.mmd"));
    }
};

} // namespace

TEST_F(FileCellsWithoutFormItem, MoreColumnsOrInformationValuesThanTheFormsHaveItemsAreRefused)
{
    ExpectRefused(File(4, {"山田建設", "1,080,000"}));
    ExpectRefused(File(5, {}));
    ExpectRefused(File(3, {"山田建設", "1,080,000", "no item for this"}));
}

TEST_F(FileCellsWithoutFormItem, AsManyOrFewerOpenAndEverythingReadIsSavedAgain)
{
    for (uint16_t nColumns : {3, 2, 0}) {
        Write("ok.mmd", File(nColumns, {"山田建設"}));
        OpenedEstimate e;
        MessageBoxRecorder boxes;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("ok.mmd"))) << nColumns;
        e.view->SetupFromDocument();
        EXPECT_TRUE(boxes.entries.empty());
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("saved.mmd")));

        OpenedEstimate again;
        ASSERT_TRUE(again.doc->OnOpenDocument(Path("saved.mmd")));
        again.view->SetupFromDocument();
        EXPECT_EQ(3, again.view->GetColumnCount());
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(c < nColumns ? "cell" + std::to_string(c) : "", again.view->GetCellText(0, c).str());
        EXPECT_EQ(2, again.view->GetModel().GetInformationCount());
        EXPECT_EQ("山田建設", again.view->GetModel().GetInformation(0).ToUtf8());
        EXPECT_EQ("", again.view->GetModel().GetInformation(1).str());
    }
}

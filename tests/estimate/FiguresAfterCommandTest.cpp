// Every figure a command leaves is the one a full recalculation (F7) makes, also where the
// command changed no figure itself: a formula column of a total row after the total
// changed, a total whose heading stopped being one, the rows of an estimate whose file
// holds figures its form and settings do not give; the subject numbers drawn in the grid
// follow the headings above them, and the status bar's amount the rows. Each through the
// window, as a user does it.
#include "tests/estimate/EstimateFileTestSupport.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CMainFrame.h"
#include "engine/estimate/CPrintRowSource.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CStatusBar.h"
#include "resources/ResourceIds.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A form of the estimate files written here: 原価金額 works out half the amount, also on
// a total row, which does not add it up; 差額 is the amount less that.
//   A 名称  B 規格  C 数量  D 単位  E 単価  F 金額 = C*E  G 原価金額 = F/2  H 差額 = F-G
std::vector<std::array<const char*, 10>> HalfCostItems()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", "", "", ""},
        {"規格", "文字", "10", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", "###,###.##", "", "F(-3)", "3", "", "", ""},
        {"単位", "文字", "4", "", "", "", "1", "", "", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""},
        {"金額", "計 A", "12", "###,###", "C*E", "D(-1)", "", "2", "", ""},
        {"原価金額", "計", "12", "###,###", "F/2", "D(-1)", "", "", "", ""},
        {"差額", "計", "12", "###,###", "F-G", "D(-1)", "", "", "", ""},
    };
}
enum { hcName = 0, hcQty = 2, hcPrice = 4, hcAmount = 5, hcCost = 6, hcMargin = 7 };

FileRow HalfCostRow(uint16_t kind, const char* name, const char* qty, const char* price, const char* amount,
                    const char* cost, const char* margin)
{
    return {kind,
            0,
            0,
            0,
            "",
            "",
            {{name, 0}, {"", 0}, {qty, 0}, {"", 0}, {price, 0}, {amount, 0}, {cost, 0}, {margin, 0}}};
}

class FiguresAfterCommand : public EstimateWindowTest {
protected:
    // Writes an estimate of the half-cost form with the rows given and opens it as File
    // Open does.
    CMorvelEMView* OpenHalfCostEstimate(const std::vector<FileRow>& rows)
    {
        EstimateFileBuilder b;
        b.Magic().Text("meisai.MMK").Form("This is estimation form file", HalfCostItems());
        b.Text("JYOUHOU.MJK")
            .Form("This is information form file", std::vector<std::array<const char*, 8>>{});
        b.Words({static_cast<uint16_t>(HalfCostItems().size()), static_cast<uint16_t>(rows.size()), 0, 1, 2,
                 0, 2, 1, 1, 100});
        for (const FileRow& row : rows)
            b.Row(row);
        b.Words({0}).Words({0});
        WriteNativeFile(m_pFolder->Native("WORK/half.mmd"), b.Bytes());
        return OpenEstimate(m_pFolder->System("WORK/half.mmd"));
    }

    void TypeAt(int nCol, int nRow, const char* lpszText)
    {
        GoTo(nCol, nRow);
        Type(lpszText);
        Key(VK_RETURN);
        Pump();
    }

    // Every kind and cell of the used rows.
    std::vector<std::string> Picture() const
    {
        std::vector<std::string> lines;
        for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
            std::string line = std::to_string(m_pView->GetRowKind(r));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                line += "|" + Utf8Cell(r, c);
            lines.push_back(line);
        }
        return lines;
    }
    // The grid shows the rows of a picture taken before (the first row that differs).
    void ExpectPicture(const std::vector<std::string>& expected, const char* lpszWhat)
    {
        const std::vector<std::string> shown = Picture();
        for (size_t r = 0; r < shown.size() && r < expected.size(); ++r) {
            if (shown[r] != expected[r]) {
                ADD_FAILURE() << "row " << r << "\n  shown " << shown[r] << "\n  " << lpszWhat << " "
                              << expected[r];
                return;
            }
        }
        EXPECT_EQ(shown.size(), expected.size());
    }
    void SelectRows(int nFirst, int nLast)
    {
        GoTo(scName, nFirst);
        const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, nFirst).y));
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, CellPoint(0, nLast).y));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, CellPoint(0, nLast).y));
    }
    // The status bar's amount pane.
    std::string AmountPane() const
    {
        CStatusBar& bar = CMainFrame::GetMain()->GetStatusBar();
        return bar.GetPaneText(bar.CommandToIndex(ID_INDICATOR_PANE2)).ToUtf8();
    }
    // The amount pane as the command left it is the pane after F7.
    void ExpectAmountAsAfterF7(const char* lpszStep)
    {
        const std::string shown = AmountPane();
        Command(ID_RECALCULATE);
        EXPECT_EQ(AmountPane(), shown) << lpszStep;
    }
    // The grid as the command left it is the grid after F7 (the first row that differs).
    void ExpectAsAfterF7()
    {
        const std::vector<std::string> shown = Picture();
        Command(ID_RECALCULATE);
        ExpectPicture(shown, "before F7");
    }
};

} // namespace

TEST_F(FiguresAfterCommand, AFormulaColumnOfATotalRowWorksOnTheTotalItJustGot)
{
    ASSERT_NE(
        OpenHalfCostEstimate({
            HalfCostRow(2, "仮設工事", "", "", "", "", ""),
            HalfCostRow(5, "ItemA", "2.000000", "1000.000000", "2000.000000", "1000.000000", "1000.000000"),
            HalfCostRow(5, "ItemB", "3.000000", "1000.000000", "3000.000000", "1500.000000", "1500.000000"),
            HalfCostRow(12, "仮設工事 小  計", "", "", "5000.000000", "2500.000000", "2500.000000"),
        }),
        nullptr);
    TypeAt(hcQty, 1, "4");
    EXPECT_EQ(7000, Value(3, hcAmount));
    EXPECT_EQ(3500, Value(3, hcCost));
    EXPECT_EQ(3500, Value(3, hcMargin));
    ExpectAsAfterF7();
}

TEST_F(FiguresAfterCommand, TheRowsOfAFileWhoseFiguresItsFormDoesNotGiveAreWorkedOutAfterATypedQuantity)
{
    // Saved where 差額 was not worked out (another form, or no recalculation at the save):
    // the rows and the total hold no 差額, the total an old amount.
    ASSERT_NE(OpenHalfCostEstimate({
                  HalfCostRow(2, "仮設工事", "", "", "", "", ""),
                  HalfCostRow(5, "ItemA", "2.000000", "1000.000000", "2000.000000", "1000.000000", ""),
                  HalfCostRow(5, "ItemB", "3.000000", "5997.000000", "17991.000000", "8995.000000", ""),
                  HalfCostRow(12, "仮設工事 小  計", "", "", "9000.000000", "4500.000000", ""),
              }),
              nullptr);
    TypeAt(hcQty, 1, "4");
    EXPECT_EQ("8996.000000", Cell(2, hcMargin));
    EXPECT_EQ(21991, Value(3, hcAmount));
    ExpectAsAfterF7();
}

TEST_F(FiguresAfterCommand, ATotalWhoseHeadingIsMarkedNonCalculatedShowsItsOwnRowFormulas)
{
    ASSERT_NE(OpenSample(), nullptr);
    const int nElectric = 40; // 電気工事 1 式 x 240,000, cost 190,000
    ASSERT_EQ("電気工事", Utf8Cell(nElectric, scName));
    // The 電気工事 row copied as cells and pasted onto the name of 直接仮設工事's subtotal.
    m_pView->SetCurrentCell(scName, nElectric);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(scName, nElectric, scNote, nElectric));
    Command(ID_EDIT_COPY);
    GoTo(scName, srMiddleTotal);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(640655, Value(srMiddleTotal, scAmount));
    // Its heading marked non-calculated, the subtotal is no total any more: its own row
    // formulas make its amount and cost, on the screen too.
    GoTo(scName, srMiddle);
    CDrawnCells drawn(*m_pView);
    m_pView->Invalidate(TRUE);
    Pump();
    Command(ID_NONCALC_SET);
    EXPECT_EQ(240000, Value(srMiddleTotal, scAmount));
    EXPECT_EQ(190000, Value(srMiddleTotal, scCost));
    EXPECT_EQ(std::vector<std::string>{}, drawn.StaleCells());
    ExpectAsAfterF7();
}

TEST_F(FiguresAfterCommand, ATotalWhoseHeadingIsNonCalculatedAddsNothingOfTheSectionAbove)
{
    ASSERT_NE(OpenSample(), nullptr);
    // B.電気設備工事 on page 3, closed by its subtotal; 建築工事 and its subtotal above it.
    const int nElectric = 36, nElectricTotal = 41, nKindTotal = 42, nGrand = 71, nTax = 72;
    ASSERT_EQ("電気設備工事", Utf8Cell(nElectric, scName));
    ASSERT_EQ(kindLargeTotal, m_pView->GetRowKind(nElectricTotal));
    ASSERT_EQ(1013600, Value(nElectricTotal, scAmount));
    const std::string kindTotal = Cell(nKindTotal, scAmount), grand = Cell(nGrand, scAmount),
                      tax = Cell(nTax, scAmount);

    GoTo(scName, nElectric);
    Command(ID_NONCALC_SET);
    ASSERT_EQ(NonCalculatedKindOf(kindLarge), m_pView->GetRowKind(nElectric));
    // The subtotal has no heading of its level: it adds no rows, not 建築工事's above the
    // non-calculated heading, and shows what its own row formulas make of its cells.
    EXPECT_EQ("", Cell(nElectricTotal, scAmount));
    EXPECT_EQ("", Cell(nElectricTotal, scCost));
    const std::unique_ptr<CPrintRowSource> pPrinted = m_pView->CopyRowsForPrint();
    EXPECT_EQ("", pPrinted->GetCellText(nElectricTotal, scAmount).str()) << "as printed";
    // The details under the heading still count where every row counts.
    EXPECT_EQ(kindTotal, Cell(nKindTotal, scAmount));
    EXPECT_EQ(grand, Cell(nGrand, scAmount));
    EXPECT_EQ(tax, Cell(nTax, scAmount));
    ExpectAsAfterF7();

    GoTo(scName, nElectric);
    Command(ID_NONCALC_RELEASE);
    EXPECT_EQ(1013600, Value(nElectricTotal, scAmount));
    EXPECT_EQ(803000, Value(nElectricTotal, scCost));
}

TEST_F(FiguresAfterCommand, ADiscountTotalWhoseLabelNamesNoHeadingShowsTheSameFiguresAfterAnUndo)
{
    // Rows 60 to 64 of one sample (外構工事値引合計 down to 共通費・管理費) pasted as cells
    // over row 57 of another: the discount total at row 60 reads 諸経費, no large heading.
    CMorvelEMView* pFirst = OpenSample();
    ASSERT_NE(pFirst, nullptr);
    const int nDiscountTotal = 60, nOuterWorks = 55;
    m_pView->SetCurrentCell(scName, nDiscountTotal);
    m_pView->SetSelection(CMorvelView::selectBlock,
                          CRect(scName, nDiscountTotal, scNote, nDiscountTotal + 4));
    Command(ID_EDIT_COPY);
    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    ASSERT_NE(OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD"), nullptr);
    ASSERT_NE(m_pView, pFirst);
    GoTo(scName, 57);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(kindLargeDiscountTotal, m_pView->GetRowKind(nDiscountTotal));
    ASSERT_EQ("諸経費", Utf8Cell(nDiscountTotal, scName));
    const std::vector<std::string> pasted = Picture();

    // Named 諸経費 for a moment, 外構工事 is its heading: it adds the discount row above it.
    GoTo(scName, nOuterWorks);
    TypeUtf8("諸経費");
    Key(VK_RETURN);
    Pump();
    ASSERT_EQ(941600, Value(nDiscountTotal, scAmount));
    // Taken back, the rows are those of the paste, and so are the figures.
    Command(ID_EDIT_UNDO);
    ASSERT_EQ("外構工事", Utf8Cell(nOuterWorks, scName));
    ExpectPicture(pasted, "pasted");
    ExpectAsAfterF7();
}

TEST_F(FiguresAfterCommand, SubjectNumbersBelowAHeadingThatGoesAreDrawnAgain)
{
    // The sample numbers the middle headings by themselves ("1." 直接仮設工事, "2." 土工事).
    ASSERT_NE(OpenSample(), nullptr);
    const int nEarthwork = 8;
    CDrawnCells drawn(*m_pView);
    m_pView->Invalidate(TRUE);
    Pump();
    ASSERT_EQ("2.", m_pView->GetSubjectNoText(nEarthwork, scName).str());
    ASSERT_EQ(std::vector<std::string>{}, drawn.StaleCells());

    // The cell clicked first, so that what the click repaints is painted before the command.
    GoTo(scName, srMiddle);
    Pump();
    Command(ID_ROW_CLEAR);
    EXPECT_EQ("1.", m_pView->GetSubjectNoText(nEarthwork, scName).str());
    EXPECT_EQ(std::vector<std::string>{}, drawn.StaleCells()) << "after the row clear";

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(std::vector<std::string>{}, drawn.StaleCells()) << "after its undo";
    GoTo(scName, srMiddle);
    Pump();
    Command(ID_NONCALC_SET);
    EXPECT_EQ("1.", m_pView->GetSubjectNoText(nEarthwork, scName).str());
    EXPECT_EQ(std::vector<std::string>{}, drawn.StaleCells()) << "after the non-calculated mark";
}

// The status bar's amount adds up the rows themselves: rows pasted into an estimate without a
// grand total, and rows cut and pasted where no total row's figure changes, show their
// amount at once.
TEST_F(FiguresAfterCommand, TheAmountPaneFollowsRowsThatChangeNoTotalRow)
{
    ASSERT_NE(OpenSample(), nullptr);
    // The sample without its 総合計 and 消費税 rows.
    const int nGrand = m_pView->GetUsedRows() - 2;
    ASSERT_EQ(kindGrandTotal, m_pView->GetRowKind(nGrand));
    SelectRows(nGrand, nGrand + 1);
    Command(ID_EDIT_CUT);
    ExpectAmountAsAfterF7("the grand total cut");
    // 埋戻し to 普通コンクリート pasted below 本体工事's total.
    SelectRows(10, 14);
    Command(ID_EDIT_COPY);
    const std::string before = AmountPane();
    GoTo(scName, 43);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ("埋戻し", Utf8Cell(43, scName));
    EXPECT_NE(before, AmountPane());
    ExpectAmountAsAfterF7("rows pasted");

    // Details without headings or totals: a row cut, and pasted below the other.
    ASSERT_NE(
        OpenHalfCostEstimate({
            HalfCostRow(5, "ItemA", "2.000000", "1000.000000", "2000.000000", "1000.000000", "1000.000000"),
            HalfCostRow(5, "ItemB", "3.000000", "1000.000000", "3000.000000", "1500.000000", "1500.000000"),
        }),
        nullptr);
    SelectRows(0, 0);
    Command(ID_EDIT_CUT);
    ASSERT_NE(std::string::npos, AmountPane().find("3,000"));
    GoTo(hcName, 1);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ("ItemA", Utf8Cell(1, hcName));
    EXPECT_NE(std::string::npos, AmountPane().find("5,000")) << AmountPane();
    ExpectAmountAsAfterF7("a row cut and pasted");
}

// The one-walk recalculation of the totals, the compiled row formulas and the numbers
// rounded and written in whole numbers give, byte for byte, what the totals made one by one
// (each walking its own range) and the formulas and numbers worked out through texts give:
// every cell text, every kind and the stored file, on the sample estimate and on generated
// estimates with every kind of special row, after full recalculations and after single
// edits. And the remembered cell numbers of a row always read as the text they stand for.
#include "tests/estimate/EstimateFileTestSupport.h"
#include "tests/estimate/EstimateTestSupport.h"

#include "estimate/engine/CGridRow.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Check.h"
#include "platform/base/Path.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string SampleEstimatePath()
{
    const std::filesystem::path root = std::filesystem::path(MORVEL_SOURCE_DIR);
    return (root / "samples" / "WORK" / "サンプル見積.MMD").string();
}

// Every cell text and kind of the used rows, and the bytes the document stores.
struct CEstimateImage {
    std::vector<std::string> cells;
    std::vector<uint8_t> file;
};

CEstimateImage TakeImage(CMorvelEMDoc& doc, CMorvelEMView& view)
{
    CEstimateImage image;
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        std::string line = std::to_string(view.GetRowKind(r));
        for (int c = 0; c < view.GetColumnCount(); ++c)
            line += "|" + view.GetCellText(r, c).str();
        image.cells.push_back(line);
    }
    CMemFile memFile(1 << 16);
    {
        CArchive ar(&memFile, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    const std::vector<BYTE> bytes = memFile.Detach();
    image.file.assign(bytes.begin(), bytes.end());
    return image;
}

// The first differing line, for a readable failure.
std::string FirstDifference(const CEstimateImage& a, const CEstimateImage& b)
{
    for (size_t i = 0; i < a.cells.size() && i < b.cells.size(); ++i) {
        if (a.cells[i] != b.cells[i])
            return "row " + std::to_string(i) + ": " + a.cells[i] + " / " + b.cells[i];
    }
    return a.cells.size() == b.cells.size() ? std::string() : "row counts differ";
}

void ExpectSame(const CEstimateImage& oneWalk, const CEstimateImage& reference, const std::string& step)
{
    EXPECT_EQ(oneWalk.cells, reference.cells) << step << ": " << FirstDifference(oneWalk, reference);
    EXPECT_TRUE(oneWalk.file == reference.file) << step << ": the stored files differ";
}

// A form with every way of totalling: a "計 A" amount, a "計 B" cost over the subtotals
// and a "計 C" margin that the total rows work out by their formula.
std::vector<FormColumn> TotallingColumns()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"規格", "文字", "15", "", "", "", "5", ""},
        {"数量", "数値", "8", "#,###.##", "", "F(-3)", "3", ""},
        {"単位", "文字", "4", "", "", "", "1", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", ""},
        {"金額", "計 A", "12", "###,###", "C*E", "D(-1)", "", "2"},
        {"歩掛率", "数値", "6", "#.###", "", "", "7", ""},
        {"原価", "計 B", "12", "###,###.#", "C*G*E/3", "U(-2)", "", "3"},
        {"差額", "計 C", "12", "###,###", "F-H", "", "", ""},
        {"備考", "文字", "20", "", "", "", "", ""},
    };
}

// The same estimate in two views: one recalculating in one walk, one by the reference.
class RecalcEquivalenceTest : public EstimateFileTest {
protected:
    RecalcEquivalenceTest()
    {
        settings->m_nTax = 10;
        settings->m_nRoundMode = 3;
    }

    void OpenBoth(const std::vector<FormColumn>& columns)
    {
        for (OpenedEstimate* e : {&oneWalk, &reference}) {
            BuildForm(e->doc->m_EstimationForm, columns);
            e->doc->m_nNewEstimate = 1;
            e->view->SetupFromDocument();
            e->view->SetRowLimit(4000);
        }
        reference.view->SetTotalsOneByOne(true);
        reference.view->SetNumbersThroughTexts(true);
    }

    template <typename Step>
    void Both(Step step)
    {
        step(*oneWalk.view);
        step(*reference.view);
    }

    void Compare(const std::string& step)
    {
        ExpectSame(TakeImage(*oneWalk.doc, *oneWalk.view), TakeImage(*reference.doc, *reference.view), step);
    }

    // Types a number into a row as Enter does and recalculates from there.
    static void Edit(CMorvelEMView& view, int nRow, int nCol, const char* lpszText)
    {
        view.SetCellText(lpszText, nRow, nCol, TRUE);
        view.CalcRow(nRow, 0);
        view.RecalcTotals(nRow);
    }

    OpenedEstimate oneWalk;
    OpenedEstimate reference;
};

// A generated estimate built through the view's commands: kind, large, middle and small
// headings, details with quantities of up to three decimals (some negative, some empty),
// discounts, discount totals of several levels, step and classification rows, a tax row
// with totals under it, a total with nothing above it and a total straight after its
// heading. It starts at nStartRow.
void BuildGenerated(CMorvelEMView& view, unsigned seed, bool bStepsAndClassifications = true,
                    int nStartRow = 0)
{
    unsigned state = seed;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    auto row = [&view]() { return view.GetCurrentRow(); };
    auto down = [&view]() { view.SetCurrentCell(view.GetCurrentCol(), view.GetCurrentRow() + 1); };
    auto heading = [&](int nKind, const char* lpszName) {
        view.SetCellText(CString::FromUtf8(lpszName), row(), 0, TRUE);
        view.SetRowKind(nKind, row());
        down();
    };
    auto detail = [&]() {
        const int r = row();
        char qty[32], price[32], factor[32];
        std::snprintf(qty, sizeof(qty), "%s%u.%03u", next(9) == 0 ? "-" : "", next(400), next(1000));
        std::snprintf(price, sizeof(price), "%u", 1 + next(250000));
        std::snprintf(factor, sizeof(factor), "0.%u", next(1000));
        view.SetCellText("資材"_sj, r, 0, TRUE);
        view.SetCellText(next(3) == 0 ? "A" : "B", r, 1, TRUE);
        if (next(12) != 0)
            view.SetCellText(qty, r, 2, TRUE);
        view.SetCellText(price, r, 4, TRUE);
        view.SetCellText(factor, r, 6, TRUE);
        view.SetRowKind(kindDetail, r);
        view.CalcRow(r, 0);
        down();
    };

    auto bareTotal = [&](int nKind) {
        view.SetCellText("小計"_sj, row(), 0, TRUE);
        view.SetRowKind(nKind, row());
        down();
    };
    view.SetCurrentCell(0, nStartRow);
    bareTotal(kindSmallTotal); // no small heading above it: left alone
    for (int k = 0; k < 2; ++k) {
        heading(kindKind, "本体工事");
        for (int l = 0; l < 3; ++l) {
            heading(kindLarge, "建築工事");
            for (int m = 0; m < 3; ++m) {
                heading(kindMiddle, "内装工事");
                for (int s = 0; s < 3; ++s) {
                    heading(kindSmall, "1階");
                    const int nDetails = static_cast<int>(next(8));
                    for (int d = 0; d < nDetails; ++d)
                        detail();
                    if (next(4) == 0)
                        view.InsertDiscount("-1234");
                    if (next(5) == 0)
                        view.InsertDiscountTotal(CMorvelEMView::levelSmall);
                    view.InsertTotal(CMorvelEMView::levelSmall);
                }
                if (next(3) == 0 && bStepsAndClassifications) {
                    view.ApplyStepSetting(FALSE, "A", 1, 4);
                    down();
                }
                view.InsertTotal(CMorvelEMView::levelMiddle);
            }
            view.InsertDiscount("-5000");
            view.InsertDiscountTotal(CMorvelEMView::levelLarge);
            if (bStepsAndClassifications) {
                view.ApplyClassifySetting("A類"_sj, "12.5", "A", 1, 1, 3, FALSE, FALSE);
                down();
            }
            view.InsertTotal(CMorvelEMView::levelLarge);
        }
        view.InsertTotal(CMorvelEMView::levelKind);
        if (k == 0) {
            view.InsertConsumptionTax(); // a tax row with totals below it
            down();
        }
    }
    heading(kindSmall, "別途");
    bareTotal(kindSmallTotal); // straight after its heading: left alone
    view.InsertDiscountTotal(CMorvelEMView::levelGrand);
    view.InsertTotal(CMorvelEMView::levelGrand);
    view.InsertConsumptionTax();
}

} // namespace

TEST_F(RecalcEquivalenceTest, GeneratedEstimatesRecalculateAsTheTotalsMadeOneByOne)
{
    for (unsigned seed : {1u, 7u, 2024u}) {
        SCOPED_TRACE(seed);
        OpenBoth(TotallingColumns());
        Both([seed](CMorvelEMView& view) { BuildGenerated(view, seed); });
        ASSERT_GT(oneWalk.view->GetUsedRows(), 150);
        Compare("built");

        Both([](CMorvelEMView& view) { view.RecalcAll(); });
        Compare("full recalculation");

        // Single edits at the top, in the middle, at a heading and below the first tax row.
        const int nUsed = oneWalk.view->GetUsedRows();
        for (int nRow : {1, nUsed / 3, nUsed / 2, nUsed - 5}) {
            int r = nRow;
            while (r < nUsed && oneWalk.view->GetRowKind(r) != kindDetail)
                ++r;
            if (r >= nUsed)
                continue;
            Both([r](CMorvelEMView& view) { Edit(view, r, 2, "77.125"); });
            Compare("quantity edited in row " + std::to_string(r));
            Both([r](CMorvelEMView& view) { Edit(view, r, 4, "3,300"); });
            Compare("price edited in row " + std::to_string(r));
        }

        // Rows marked non-calculated, then released again.
        Both([nUsed](CMorvelEMView& view) { view.SetNonCalculated(TRUE, nUsed / 4, nUsed / 4 + 30); });
        Compare("non-calculated rows");
        Both([nUsed](CMorvelEMView& view) { view.SetNonCalculated(FALSE, nUsed / 4, nUsed / 4 + 30); });
        Compare("non-calculated rows released");

        // Texts put straight into the rows (not through the view), some not numbers at all.
        Both([nUsed](CMorvelEMView& view) {
            for (int r = 0; r < nUsed; r += 7) {
                if (CGridRow* pRow = view.GetEditRow(r)) {
                    pRow->SetCell(2, r % 2 ? "1,500" : " 12.5");
                    pRow->SetCell(4, r % 3 ? "-" : "abc");
                }
            }
            view.RecalcAll();
        });
        Compare("texts put into the rows");
    }
}

// The totals walk reads the summed columns' numbers from its own store (one entry per row
// and summed column, each with the text it came from), not from the rows. Whatever happens
// to the rows between two walks, the sums are those of the rows' present texts: amounts and
// costs changed straight in the rows to other numbers of the same length, rows deleted and
// inserted above the rows read, and walks that start below the rows whose entries they use.
TEST_F(RecalcEquivalenceTest, TheWalksRememberedNumbersFollowTheRowsTexts)
{
    OpenBoth(TotallingColumns());
    Both([](CMorvelEMView& view) {
        BuildGenerated(view, 11u);
        view.RecalcAll();
    });
    const int nUsed = oneWalk.view->GetUsedRows();
    ASSERT_GT(nUsed, 150);
    auto lowDetail = [&](CMorvelEMView& view) {
        int r = view.GetUsedRows() * 3 / 4;
        while (r < view.GetUsedRows() && view.GetRowKind(r) != kindDetail)
            ++r;
        return r;
    };
    const int nEdit = lowDetail(*oneWalk.view);
    ASSERT_LT(nEdit, nUsed);
    Both([nEdit](CMorvelEMView& view) { Edit(view, nEdit, 2, "3.5"); });
    Compare("edited below, the walk's store filled");

    // Amounts of the details and costs of the subtotals above the edited row put straight
    // into the rows: the same lengths, other digits.
    Both([nEdit](CMorvelEMView& view) {
        for (int r = 0; r < nEdit; ++r) {
            CGridRow* pRow = view.GetEditRow(r);
            if (pRow == nullptr)
                continue;
            for (int nCol : {5, 7}) {
                std::string text = pRow->m_strCell[nCol].str();
                for (char& c : text) {
                    if (c >= '1' && c <= '8')
                        c = static_cast<char>(c + 1);
                }
                pRow->SetCell(nCol, CString(text.c_str()));
            }
        }
        Edit(view, nEdit, 2, "4.5");
    });
    Compare("amounts and costs changed in the rows above the edit");

    // Rows deleted and inserted near the top: every row below moves against the store.
    Both([](CMorvelEMView& view) {
        view.DeleteRows(3, 4);
        view.InsertRows(20, 3);
    });
    Both([&](CMorvelEMView& view) { Edit(view, lowDetail(view), 2, "5.25"); });
    Compare("rows deleted and inserted above the edit");

    // A detail's amount given another detail's text, and the full recalculation after all.
    Both([&](CMorvelEMView& view) {
        std::vector<int> details;
        for (int r = 0; r < nEdit; ++r) {
            if (view.GetRowKind(r) == kindDetail)
                details.push_back(r);
        }
        for (size_t i = 1; i < details.size(); i += 2)
            view.GetEditRow(details[i])->SetCell(5, view.GetEditRow(details[i - 1])->m_strCell[5]);
        Edit(view, lowDetail(view), 2, "6");
    });
    Compare("amounts copied between rows");
    Both([](CMorvelEMView& view) { view.RecalcAll(); });
    Compare("full recalculation at the end");
}

// Without a grand total or a tax row below the edited row, the walk does not read the
// rows above the headings the edit lies under: the totals below still come out as the
// totals made one by one, with the rows above changed straight in the rows too.
TEST_F(RecalcEquivalenceTest, EditsWithoutAGrandTotalOrTaxBelowTotalAsOneByOne)
{
    OpenBoth(TotallingColumns());
    Both([](CMorvelEMView& view) {
        BuildGenerated(view, 17u);
        // The grand totals and the last tax row go: the first tax row stays in the middle.
        int nLast = view.GetUsedRows() - 1;
        while (nLast > 0 && view.GetRowKind(nLast) != kindSmall)
            --nLast;
        view.DeleteRows(nLast + 2, view.GetUsedRows() - nLast - 2);
        view.RecalcAll();
    });
    Compare("grand totals removed");
    const int nUsed = oneWalk.view->GetUsedRows();
    int nTax = nUsed - 1;
    while (nTax > 0 && oneWalk.view->GetRowKind(nTax) != kindFree)
        --nTax;
    ASSERT_GT(nTax, 0);
    for (int nRow : {nTax + 3, (nTax + nUsed) / 2, nUsed - 12}) {
        int r = nRow;
        while (r < nUsed && oneWalk.view->GetRowKind(r) != kindDetail)
            ++r;
        ASSERT_LT(r, nUsed);
        Both([r](CMorvelEMView& view) {
            for (int above = 0; above < r; above += 5) {
                if (CGridRow* pRow = view.GetEditRow(above); pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(5, std::to_string(above * 3) + ".000000");
            }
            Edit(view, r, 2, "41.5");
        });
        Compare("edited in row " + std::to_string(r));
    }
}

// Without step and classification rows the full recalculation works out the row formulas
// inside the totals walk; the texts stay those of formulas worked out first. The
// quantities are put straight into the rows first, so that the formulas have work to do.
TEST_F(RecalcEquivalenceTest, RowFormulasWorkedOutInTheTotalsWalkGiveTheSameTexts)
{
    for (unsigned seed : {3u, 99u}) {
        SCOPED_TRACE(seed);
        OpenBoth(TotallingColumns());
        Both([seed](CMorvelEMView& view) { BuildGenerated(view, seed, false); });
        ASSERT_GT(oneWalk.view->GetUsedRows(), 100);
        Compare("built");
        Both([](CMorvelEMView& view) {
            for (int r = 0; r < view.GetUsedRows(); ++r) {
                CGridRow* pRow = view.GetEditRow(r);
                if (pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(2, std::to_string(r % 50) + "." + std::to_string(r % 7));
            }
            view.RecalcAll();
        });
        Compare("full recalculation after quantities changed");
        Both([](CMorvelEMView& view) { view.RecalcAll(); });
        Compare("full recalculation again");
    }
}

TEST_F(RecalcEquivalenceTest, TheSampleEstimateRecalculatesAsTheTotalsMadeOneByOne)
{
    settings->m_nTax = 8;
    for (OpenedEstimate* e : {&oneWalk, &reference}) {
        ASSERT_TRUE(e->doc->OnOpenDocument(SystemPathFromNative(SampleEstimatePath())));
        e->view->SetupFromDocument();
    }
    reference.view->SetTotalsOneByOne(true);
    reference.view->SetNumbersThroughTexts(true);
    const CEstimateImage opened = TakeImage(*oneWalk.doc, *oneWalk.view);

    Both([](CMorvelEMView& view) { view.RecalcAll(); });
    Compare("full recalculation");
    // The sample's stored totals are the engine's: recalculating changes no byte.
    EXPECT_EQ(opened.cells, TakeImage(*oneWalk.doc, *oneWalk.view).cells);

    const int nUsed = oneWalk.view->GetUsedRows();
    for (int r = 0; r < nUsed; ++r) {
        if (oneWalk.view->GetRowKind(r) != kindDetail)
            continue;
        Both([r](CMorvelEMView& view) { Edit(view, r, 2, r % 2 ? "12.345" : "-3"); });
        Compare("quantity edited in row " + std::to_string(r));
    }
}

// Row formulas of every shape the compiled way takes or leaves to the texts: products,
// sums under a division (some by zero), parentheses and signs, a reference beside a number,
// results far beyond 10^15 and below 10^-6; rounding up, down and half up at several
// positions (tens and hundreds among them) and pictures with up to four decimals; negative,
// signed, pointed and huge cell values, and texts that are no plain numbers.
std::vector<FormColumn> FormulaShapeColumns()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"数量", "数値", "8", "#,###.###", "", "F(-4)", "3", ""},
        {"単価", "数値", "10", "###,###.##", "", "D(-3)", "", ""},
        {"係数", "数値", "6", "#.####", "", "", "7", ""},
        {"金額", "計 A", "12", "###,###,###", "B*C", "U(-1)", "", "2"},
        {"率", "計 A", "12", "#,###.##", "(B+C)/D", "F(-3)", "", "3"},
        {"差", "計 A", "12", "###,###.#", "-E-F*2+ ( B - 3.5 )", "D(2)", "", ""},
        {"比", "計 A", "12", "#.####", "B/(C-C)+D/B", "U(3)", "", ""},
        {"大", "計 A", "16", "###,###,###,###", "E*E*1000", "F(-1)", "", ""},
        {"小", "計 A", "12", "#.######", "D/B/1000000", "F(-8)", "", ""},
        {"桁", "計 A", "12", "###,###", "B 2+C1", "", "", ""},
    };
}

TEST_F(RecalcEquivalenceTest, FormulasOfEveryShapeGiveTheTextsOfTheTextWay)
{
    OpenBoth(FormulaShapeColumns());
    const char* const quantities[] = {"1",   "-2.5", "0.0005", "12345.678", "+7",  "3.",
                                      ".25", "0",    "-0.5",   "1,500",     "abc", "",
                                      "99",  "1e3",  "-.125",  "0.00005"};
    const char* const prices[] = {"1.25",     "-3.333", "250000",  "0.001", "999999999.99", "1.005",
                                  "12345678", "2.675",  "-0.0015", "",      "7 5",          "5"};
    const char* const factors[] = {"0", "1.5", "-0.25", "3", "0.0001", "", "2"};
    unsigned state = 11;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    Both([](CMorvelEMView& view) { view.SetCurrentCell(0, 0); });
    for (int r = 0; r < 240; ++r) {
        const char* q = quantities[next(std::size(quantities))];
        const char* p = prices[next(std::size(prices))];
        const char* f = factors[next(std::size(factors))];
        Both([&](CMorvelEMView& view) {
            view.SetCellText("資材"_sj, r, 0, TRUE);
            view.SetCellText(q, r, 1, TRUE);
            view.SetCellText(p, r, 2, TRUE);
            view.SetCellText(f, r, 3, TRUE);
            view.SetRowKind(r % 17 == 16 ? kindFree : kindDetail, r);
            view.CalcRow(r, 0);
        });
    }
    Compare("rows calculated as they were typed");
    // Texts put straight into the rows, not normalised.
    Both([](CMorvelEMView& view) {
        for (int r = 0; r < 240; r += 5) {
            if (CGridRow* pRow = view.GetEditRow(r)) {
                pRow->SetCell(1, r % 2 ? "-0.000" : "00012.50");
                pRow->SetCell(2, r % 3 ? "123456789012345678" : "-.5");
            }
        }
        view.RecalcAll();
    });
    Compare("full recalculation");
    for (int r : {3, 100, 239}) {
        Both([r](CMorvelEMView& view) { Edit(view, r, 1, "-12.34565"); });
        Compare("quantity edited in row " + std::to_string(r));
    }
    // The quick ways were taken at all: an amount the compiled formula worked out.
    EXPECT_FALSE(oneWalk.view->GetCellText(1, 4).IsEmpty());
}

// Formulas the compiled way must leave as the text way does: ones that name no column
// ("2*3" leaves the cell as typed), ones over a text column, and malformed ones (operators
// without operands, doubled operators, unmatched parentheses, references side by side).
TEST_F(RecalcEquivalenceTest, FormulasWithoutReferencesOverTextsAndMalformedAgreeWithTheTextWay)
{
    std::vector<FormColumn> columns = {
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"数量", "数値", "8", "#,###.###", "", "", "3", ""},
        {"単価", "数値", "10", "###,###.##", "", "", "", ""},
    };
    const char* const formulas[] = {"2*3",  "(1+2)*3", "7",    "A*B",  "A+B", "B-A",  "B*",  "*B",    "B**C",
                                    "B+*C", "(B*C",    "B*C)", ")B(C", "B/",  "B--C", "B C", "(B)(C)"};
    for (const char* lpszFormula : formulas)
        columns.push_back({"計", "計 A", "12", "###,###.##", lpszFormula, "", "", ""});
    OpenBoth(columns);
    const char* const names[] = {"資材", "", "12", "1,500", "-"};
    const char* const quantities[] = {"3", "", "-2.5", "abc", "0"};
    const char* const prices[] = {"1200", "", "0.25", "x", "-7"};
    const int nColumns = static_cast<int>(columns.size());
    for (int r = 0; r < 25; ++r) {
        Both([&](CMorvelEMView& view) {
            view.SetCellText(names[r % 5], r, 0, TRUE);
            view.SetCellText(quantities[r / 5], r, 1, TRUE);
            view.SetCellText(prices[(r + r / 5) % 5], r, 2, TRUE);
            // What was typed into the formula cells before: kept where a formula has nothing
            // to work on.
            for (int c = 3; c < nColumns; ++c)
                view.SetCellText("5", r, c, TRUE);
            view.SetRowKind(kindDetail, r);
            view.CalcRow(r, 0);
        });
    }
    Compare("rows calculated");
    // A formula without references leaves the typed number alone, the compiled way too.
    EXPECT_EQ("5.000000", oneWalk.view->GetCellText(0, 3).str());
    Both([](CMorvelEMView& view) { view.RecalcAll(); });
    Compare("full recalculation");
}

// The totals walk keeps the sums of whole amounts as whole numbers and turns them into the
// compensated sums they stand for when a column first adds a number with decimals or its
// sum grows past 2^52. Amounts with decimals that start at any row (after whole ones, then
// whole again), a column whose grand total passes 2^52 partway down, negative amounts and a
// column summed over the subtotals: the texts are those of the totals made one by one.
std::vector<FormColumn> LargeAndFractionalColumns()
{
    return {
        {"名称", "文字", "20", "", "", "", "6", ""},
        {"規格", "文字", "15", "", "", "", "5", ""},
        {"数量", "数値", "8", "#,###.###", "", "", "3", ""},
        {"単位", "文字", "4", "", "", "", "1", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", ""},
        {"金額", "計 A", "14", "###,###.##", "C*E", "", "", "2"},
        {"係数", "数値", "6", "#.###", "", "", "7", ""},
        {"巨額", "計 A", "22", "###,###,###,###,###", "C*E*G*100000000", "F(-1)", "", "4"},
        {"原価", "計 B", "12", "###,###.#", "C*G", "U(-2)", "", "3"},
        {"備考", "文字", "20", "", "", "", "", ""},
    };
}

TEST_F(RecalcEquivalenceTest, WholeAndFractionalAmountsAndHugeSumsTotalAsOneByOne)
{
    for (unsigned seed : {5u, 31u}) {
        SCOPED_TRACE(seed);
        OpenBoth(LargeAndFractionalColumns());
        Both([seed](CMorvelEMView& view) { BuildGenerated(view, seed); });
        ASSERT_GT(oneWalk.view->GetUsedRows(), 150);
        Compare("built");
        const int nUsed = oneWalk.view->GetUsedRows();
        // Whole quantities above a row that moves down the estimate, quantities with
        // decimals below it.
        for (int nSplit : {0, nUsed / 5, nUsed / 2, nUsed - 10, nUsed}) {
            Both([nSplit](CMorvelEMView& view) {
                for (int r = 0; r < view.GetUsedRows(); ++r) {
                    CGridRow* pRow = view.GetEditRow(r);
                    if (pRow != nullptr && pRow->GetKind() == kindDetail)
                        pRow->SetCell(2, r < nSplit ? std::to_string(1 + r % 40) + ".000000"
                                                    : std::to_string(r % 40) + "." + std::to_string(r % 997));
                }
                view.RecalcAll();
            });
            Compare("decimals from row " + std::to_string(nSplit));
        }
        // All whole, then single edits bringing decimals in and taking them out again.
        Both([](CMorvelEMView& view) {
            for (int r = 0; r < view.GetUsedRows(); ++r) {
                CGridRow* pRow = view.GetEditRow(r);
                if (pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(2, r % 11 == 0 ? "-3" : std::to_string(r % 60));
            }
            view.RecalcAll();
        });
        Compare("whole quantities");
        // The amounts the huge column reaches: its grand total lies past 2^52.
        int nGrand = nUsed - 1;
        while (nGrand > 0 && oneWalk.view->GetRowKind(nGrand) != kindGrandTotal)
            --nGrand;
        EXPECT_GT(CNumberRules::ReadNumber(oneWalk.view->GetCellText(nGrand, 7)), 4503599627370496.0)
            << oneWalk.view->GetCellText(nGrand, 7).str();
        for (int nRow : {2, nUsed / 3, nUsed - 8}) {
            int r = nRow;
            while (r < nUsed && oneWalk.view->GetRowKind(r) != kindDetail)
                ++r;
            if (r >= nUsed)
                continue;
            Both([r](CMorvelEMView& view) { Edit(view, r, 2, "0.125"); });
            Compare("decimals typed in row " + std::to_string(r));
            Both([r](CMorvelEMView& view) { Edit(view, r, 2, "7"); });
            Compare("whole again in row " + std::to_string(r));
        }
    }
}

// Formulas over summed columns ("F*2", "H*2" over the cost summed over the subtotals): on
// a total row CalcRow reads the old totals before the walk writes the new ones, so the
// walk reads the written totals again instead of taking the numbers CalcRow kept.
TEST_F(RecalcEquivalenceTest, FormulasOverSummedColumnsTotalTheNewTotals)
{
    std::vector<FormColumn> columns = TotallingColumns();
    columns[8] = {"差額", "文字", "12", "", "", "", "", ""};
    columns.push_back({"倍額", "計 A", "12", "###,###", "F*2", "", "", "4"});
    columns.push_back({"倍原価", "計 A", "12", "###,###", "H*2", "", "", "5"});
    OpenBoth(columns);
    Both([](CMorvelEMView& view) { BuildGenerated(view, 13u, false); });
    Compare("built");
    Both([](CMorvelEMView& view) { view.RecalcAll(); });
    Compare("full recalculation");
    // Costs typed into the discount rows reach the totals summed over the subtotals
    // through the discount totals; changed, every such total changes.
    for (int nRound = 1; nRound <= 2; ++nRound) {
        Both([nRound](CMorvelEMView& view) {
            for (int r = 0; r < view.GetUsedRows(); ++r) {
                CGridRow* pRow = view.GetEditRow(r);
                if (pRow == nullptr)
                    continue;
                if (pRow->GetKind() == kindDiscount)
                    pRow->SetCell(7, std::to_string(nRound * 1000 + r * 7) + ".000000");
                else if (pRow->GetKind() == kindDetail)
                    pRow->SetCell(4, std::to_string(nRound * 100 + r * 7) + ".000000");
            }
            view.RecalcAll();
        });
        Compare("full recalculation after costs and prices changed, round " + std::to_string(nRound));
    }
}

TEST(GridRowNumberTest, RememberedNumbersFollowEveryTextChange)
{
    CGridRow row;
    // Texts of every shape the cells hold, each read twice (parsed, then remembered) and
    // compared with reading the text afresh.
    const char* const texts[] = {"123.450000", "123.460000", "",    "-0.500000",
                                 "1,500",      " 12",        "abc", "12345678901234567890.000000",
                                 "7",          "7.",         "-",   "99999999999999.990000"};
    for (int nCell : {0, 5, 99}) {
        for (const char* text : texts) {
            row.SetCell(nCell, text);
            EXPECT_EQ(CNumberRules::ReadNumber(text), row.ReadNumber(nCell)) << text;
            EXPECT_EQ(CNumberRules::ReadNumber(text), row.ReadNumber(nCell)) << text;
        }
    }
    // More cells than the cache holds: every one still reads its own text, also after
    // changes of equal length.
    for (int c = 0; c < 20; ++c)
        row.SetCell(c, CString(std::to_string(c * 11).c_str()));
    for (int pass = 0; pass < 2; ++pass) {
        for (int c = 0; c < 20; ++c)
            EXPECT_EQ(c * 11.0, row.ReadNumber(c)) << c;
    }
    row.SetCell(3, "34");
    EXPECT_EQ(34.0, row.ReadNumber(3));
    // A copy reads the texts it was given.
    CGridRow copy(row);
    copy.SetCell(3, "35");
    EXPECT_EQ(35.0, copy.ReadNumber(3));
    EXPECT_EQ(34.0, row.ReadNumber(3));
    row = copy;
    EXPECT_EQ(35.0, row.ReadNumber(3));
    EXPECT_EQ(0.0, row.ReadNumber(-1));
    EXPECT_EQ(0.0, row.ReadNumber(CGridRow::MAX_CELLS));
}

// The kept sums: a recalculation after an edit rewrites only the totals the edit changes,
// from each total's kept sums, and must leave every text and stored byte as the totals made
// one by one leave them, whatever came before: edits anywhere (details, discounts, totals
// typed over, rows added at the end), cells stored without a recalculation and the totals
// then recalculated from further down, kinds changed, rows inserted and deleted, headings
// renamed, texts put straight into the rows, and full recalculations between.
TEST_F(RecalcEquivalenceTest, KeptTotalsFollowRandomEditSequencesAsTheTotalsMadeOneByOne)
{
    // The columns the totals add hold whole numbers (the kept sums work on those alone).
    std::vector<FormColumn> columns = TotallingColumns();
    columns[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    for (unsigned seed : {5u, 23u, 77u}) {
        SCOPED_TRACE(seed);
        OpenBoth(columns);
        Both([seed](CMorvelEMView& view) {
            BuildGenerated(view, seed, false);
            view.RecalcAll();
        });
        Compare("built");
        unsigned state = seed * 7919u;
        auto next = [&state](unsigned n) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 8) % n);
        };
        // A row of one of the kinds, picked at random (-1: none).
        auto rowOf = [&](auto isKind) {
            const CMorvelEMView& view = *oneWalk.view;
            const int nUsed = view.GetUsedRows();
            const int nStart = next(static_cast<unsigned>(nUsed));
            for (int i = 0; i < nUsed; ++i) {
                const int r = (nStart + i) % nUsed;
                if (isKind(view.GetRowKind(r)))
                    return r;
            }
            return -1;
        };
        auto detail = [&]() { return rowOf([](int nKind) { return nKind == kindDetail; }); };
        // The steps run on the view that keeps its totals, each followed by its image, and
        // afterwards on the reference.
        std::vector<std::function<void(CMorvelEMView&)>> steps;
        std::vector<std::pair<std::string, CEstimateImage>> images;
        auto Step = [&](std::function<void(CMorvelEMView&)> step) {
            step(*oneWalk.view);
            steps.push_back(std::move(step));
        };
        int nKeptRecalcs = 0;
        for (int step = 0; step < 160; ++step) {
            const int nOp = next(20);
            const std::string strNumber = std::to_string(next(5000)) + (next(2) ? ".25" : "");
            nKeptRecalcs += oneWalk.view->AreTotalsKept() ? 1 : 0;
            std::string what = "step " + std::to_string(step) + " op " + std::to_string(nOp);
            if (nOp < 8) {
                // A quantity, a price or an amount typed over its formula, as Enter stores it.
                const int r = detail();
                const int nCol = nOp < 4 ? 2 : (nOp < 6 ? 4 : 5);
                if (r >= 0)
                    Step([=](CMorvelEMView& view) { Edit(view, r, nCol, strNumber.c_str()); });
                what += " row " + std::to_string(r);
            } else if (nOp == 8) {
                // A discount's amount.
                const int r = rowOf([](int nKind) { return nKind == kindDiscount; });
                const std::string strAmount = "-" + strNumber;
                if (r >= 0)
                    Step([=](CMorvelEMView& view) { Edit(view, r, 5, strAmount.c_str()); });
            } else if (nOp == 9) {
                // A subtotal's or total's cell typed over, recalculated from it or from above.
                const int r = rowOf([](int nKind) { return IsTotalKind(nKind) || IsDiscountTotalKind(nKind); });
                const int nFrom = next(2) ? r : std::max(0, r - 1 - next(30));
                const int nCol = next(2) ? 5 : 7;
                if (r >= 0)
                    Step([=](CMorvelEMView& view) {
                        view.SetCellText(strNumber.c_str(), r, nCol, TRUE);
                        view.RecalcTotals(nFrom);
                    });
            } else if (nOp == 10 || nOp == 11) {
                // A cell stored without a recalculation; the totals then recalculated from a
                // row below it, which leaves the totals between as they were.
                const int r = detail();
                const int nBelow = r + 1 + next(40);
                if (r >= 0)
                    Step([=](CMorvelEMView& view) {
                        view.SetCellText(strNumber.c_str(), r, 4, TRUE);
                        view.CalcRow(r, 0);
                        view.RecalcTotals(nBelow);
                    });
            } else if (nOp == 12) {
                // A new detail typed below the last row.
                Step([=](CMorvelEMView& view) {
                    const int r = view.GetUsedRows();
                    view.SetCellText("3", r, 2, TRUE);
                    view.SetCellText(strNumber.c_str(), r, 4, TRUE);
                    view.SetRowKind(kindDetail, r);
                    view.CalcRow(r, 0);
                    view.RecalcTotals(r);
                });
            } else if (nOp == 13) {
                // A detail marked non-calculated, or released again.
                const int r = rowOf([](int nKind) { return nKind == kindDetail || nKind == kindDetail + 50; });
                if (r >= 0)
                    Step([=](CMorvelEMView& view) { view.SetNonCalculated(view.GetRowKind(r) == kindDetail, r, r); });
            } else if (nOp == 14) {
                // A discount made a detail and back: kinds the totals add differently.
                const int r = rowOf([](int nKind) { return nKind == kindDiscount || nKind == kindDetail; });
                if (r >= 0)
                    Step([=](CMorvelEMView& view) {
                        view.SetRowKind(view.GetRowKind(r) == kindDetail ? kindDiscount : kindDetail, r);
                        view.RecalcTotals(r);
                    });
            } else if (nOp == 15) {
                // An amount put straight into a row (now and then one with decimals, which
                // the kept sums leave to the walk), then an edit elsewhere.
                const int r = detail();
                const int r2 = detail();
                const std::string strAmount = next(4) == 0 ? strNumber : std::to_string(next(5000));
                if (r >= 0 && r2 >= 0)
                    Step([=](CMorvelEMView& view) {
                        view.GetEditRow(r)->SetCell(5, CString(strAmount.c_str()));
                        Edit(view, r2, 2, "2");
                    });
            } else if (nOp == 16) {
                // A row inserted and another deleted, then an edit.
                const int r = detail();
                if (r >= 0)
                    Step([=](CMorvelEMView& view) {
                        view.InsertRows(r, 1);
                        view.DeleteRows(r + 3, 1);
                        view.RecalcTotals(r);
                    });
            } else if (nOp == 17) {
                // A heading renamed (the discount totals find their headings by name).
                const int r = rowOf([](int nKind) { return nKind == kindLarge; });
                const CString strName = next(2) ? "建築工事"_sj : "改修工事"_sj;
                if (r >= 0)
                    Step([=](CMorvelEMView& view) { Edit(view, r, 0, strName); });
            } else if (nOp == 18) {
                const int nFrom = next(2) ? 0 : detail();
                Step([=](CMorvelEMView& view) { view.RecalcTotals(nFrom); });
            } else {
                Step([](CMorvelEMView& view) { view.RecalcAll(); });
            }
            images.emplace_back(what, TakeImage(*oneWalk.doc, *oneWalk.view));
        }
        // Most recalculations took the kept sums: the test is about them.
        EXPECT_GT(nKeptRecalcs, 60);
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i](*reference.view);
            ExpectSame(images[i].second, TakeImage(*reference.doc, *reference.view), images[i].first);
            if (HasFailure())
                return;
        }
    }
}

// Each estimate counts the changes of its own rows: edits in another estimate window, rows
// copied out of another estimate and another estimate opened leave the sums this one keeps
// in use. Two windows hold the same estimate and are edited in turn, one keeping its totals
// and one making them one by one; after every edit both show the same texts, and the one
// that keeps its totals rewrote them from its kept sums, not by a walk over every row.
TEST_F(RecalcEquivalenceTest, EditsInOtherEstimatesLeaveTheKeptTotalsInUse)
{
    std::vector<FormColumn> columns = TotallingColumns();
    columns[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    OpenBoth(columns);
    Both([](CMorvelEMView& view) {
        BuildGenerated(view, 41u, false);
        view.RecalcAll();
    });
    Compare("built");
    std::vector<int> details;
    for (int r = 0; r < oneWalk.view->GetUsedRows(); ++r) {
        if (oneWalk.view->GetRowKind(r) == kindDetail)
            details.push_back(r);
    }
    ASSERT_GT(details.size(), 20u);
    const CString strSample = SystemPathFromNative(SampleEstimatePath());
    int nKept = 0;
    const int nRounds = 24;
    for (int i = 0; i < nRounds; ++i) {
        const int r = details[static_cast<size_t>(i * 7) % details.size()];
        const std::string strQuantity = std::to_string(3 + i) + ".5";
        Edit(*oneWalk.view, r, 2, strQuantity.c_str());
        nKept += oneWalk.view->AreTotalsKept() ? 1 : 0;
        // The other window: the same edit, then rows copied out of it, or another estimate
        // opened beside both.
        Edit(*reference.view, r, 2, strQuantity.c_str());
        if (i % 3 == 0) {
            CGridRow copy;
            reference.view->CopyRow(reference.view->GetEditRows().GetRow(r), &copy);
            const CGridRow again(copy);
        } else if (i % 3 == 1) {
            OpenedEstimate other;
            ASSERT_TRUE(other.doc->OnOpenDocument(strSample));
            other.view->SetupFromDocument();
            other.view->RecalcAll();
        }
        Compare("round " + std::to_string(i));
    }
    EXPECT_EQ(nRounds, nKept);
}

// What the consistency check's tests break on purpose.
struct CKeptTotalsProbe {
    static CKeptTotals& Of(CMorvelEMView& view) { return view.GetModel().Engine().m_kept; }
    static std::vector<int64_t>& Sums(CKeptTotals& kept) { return kept.m_sums; }
    static CGridRowArray& Rows(CMorvelEMView& view)
    {
        return view.GetModel().Rows(CEstimateModel::EPage::edit);
    }
};

// The builds with checks hold the kept sums against a walk over the rows after every
// recalculation through them: a wrong kept sum, or a row of the estimate whose changes
// would count elsewhere, fails the check at that recalculation.
TEST_F(RecalcEquivalenceTest, AWrongKeptSumOrAnUncountedRowFailsTheConsistencyCheck)
{
    if (!kChecksOn)
        GTEST_SKIP() << "a build without checks";
    std::vector<FormColumn> columns = TotallingColumns();
    columns[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    OpenBoth(columns);
    CMorvelEMView& view = *oneWalk.view;
    BuildGenerated(view, 3u, false);
    view.RecalcAll();
    std::vector<int> details;
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        if (view.GetRowKind(r) == kindDetail)
            details.push_back(r);
    }
    ASSERT_GT(details.size(), 8u);
    std::vector<std::string> failures;
    CCheckHandlerScope scope([&](const CCheckFailure& failure) { failures.push_back(failure.message); });
    Edit(view, details[1], 2, "12");
    ASSERT_TRUE(view.AreTotalsKept());
    EXPECT_TRUE(failures.empty());

    std::vector<int64_t>& sums = CKeptTotalsProbe::Sums(CKeptTotalsProbe::Of(view));
    ASSERT_FALSE(sums.empty());
    sums[sums.size() / 2] += 100;
    Edit(view, details[2], 2, "13");
    EXPECT_EQ(1u, failures.size());

    // A row put into the estimate past the store: the next walk makes the sums afresh, and
    // the first recalculation through them finds the row.
    failures.clear();
    CPtrArray& working = CKeptTotalsProbe::Rows(view).GetWorkingArray();
    auto* pStray = new CGridRow(*view.GetEditRows().GetRow(details[3]));
    delete static_cast<CGridRow*>(working.GetAt(details[3]));
    working.SetAt(details[3], pStray);
    view.RecalcAll();
    Edit(view, details[4], 2, "14");
    EXPECT_EQ(1u, failures.size());
}

// Several whole estimates in one file, each 種目 closed by its grand total and its
// consumption-tax row, some with a step row: the recalculation that gives every tax row
// below the first its tax in one walk (where no step or classification row lies below a
// tax row) leaves every text and byte as the rounds made below each tax row do, with the
// second tax column taking the amount's tax or, with the vertical total, its own.
TEST_F(RecalcEquivalenceTest, ATaxRowPerKindRecalculatesAsTheRoundsBelowEachTaxRow)
{
    for (const bool bVertical : {false, true}) {
        SCOPED_TRACE(bVertical);
        settings->WriteProfileString("Tax Vertical Total", "3", bVertical ? "縦合計"_sj : "");
        settings->m_nRoundMode = bVertical ? 1 : 3;
        OpenBoth(TotallingColumns());
        Both([](CMorvelEMView& view) {
            for (int k = 0; k < 6; ++k) {
                BuildGenerated(view, 60u + static_cast<unsigned>(k), k == 0, view.GetUsedRows());
                view.InsertTotal(CMorvelEMView::levelGrand);
                view.InsertConsumptionTax();
                view.SetCurrentCell(0, view.GetCurrentRow() + 1);
            }
        });
        Compare("built");
        Both([](CMorvelEMView& view) { view.RecalcAll(); });
        Compare("full recalculation");
        // Edits in the first estimate (which holds step and classification rows), above its
        // first tax row, and between and below the tax rows of the others.
        const int nUsed = oneWalk.view->GetUsedRows();
        for (int nRow : {3, nUsed / 5, nUsed / 2, nUsed - 40}) {
            int r = nRow;
            while (r < nUsed && oneWalk.view->GetRowKind(r) != kindDetail)
                ++r;
            ASSERT_LT(r, nUsed);
            Both([r](CMorvelEMView& view) { Edit(view, r, 2, "41.5"); });
            Compare("quantity edited in row " + std::to_string(r));
            Both([r](CMorvelEMView& view) {
                view.GetEditRow(r)->SetCell(4, "1234");
                view.RecalcTotals(r);
            });
            Compare("price put into row " + std::to_string(r));
        }
    }
}

// The end of a command at the default recalculation level: after each of 400 random
// changes of the kinds commands make (a quantity typed and recalculated from its row, with
// tax rows above it; a price stored with no recalculation; a detail row or a heading put in
// with no recalculation; a row deleted; a number put straight into a row), RecalcAfterCommand
// leaves every text and stored byte as a full recalculation of the same rows makes them (the
// reference's: totals one by one, numbers through texts), on estimates of two 種目 each
// closed by its grand total and tax row, with and without step and classification rows.
TEST_F(RecalcEquivalenceTest, TheEndOfEveryCommandLeavesTheFiguresOfAFullRecalculation)
{
    settings->WriteProfileInt("ReCalcSetting", "Level", 3);
    std::vector<FormColumn> columns = TotallingColumns();
    columns[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    for (const bool bSteps : {false, true}) {
        SCOPED_TRACE(bSteps);
        OpenBoth(columns);
        Both([bSteps](CMorvelEMView& view) {
            for (unsigned k = 0; k < 2; ++k) {
                BuildGenerated(view, 90u + k, bSteps && k == 1, view.GetUsedRows());
                view.InsertTotal(CMorvelEMView::levelGrand);
                view.InsertConsumptionTax();
                view.SetCurrentCell(0, view.GetCurrentRow() + 1);
            }
            view.RecalcAll();
        });
        Compare("built");
        unsigned state = bSteps ? 3u : 11u;
        auto next = [&state](unsigned n) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 8) % n);
        };
        int nKept = 0;
        for (int step = 0; step < 400; ++step) {
            const int nUsed = oneWalk.view->GetUsedRows();
            int r = next(static_cast<unsigned>(nUsed));
            while (r + 1 < nUsed && oneWalk.view->GetRowKind(r) != kindDetail)
                ++r;
            const int nOp = next(10);
            const std::string strNumber = std::to_string(1 + next(5000)) + (next(3) == 0 ? ".5" : "");
            std::function<void(CMorvelEMView&)> change;
            if (nOp < 5) {
                change = [=](CMorvelEMView& view) { Edit(view, r, nOp < 3 ? 2 : 4, strNumber.c_str()); };
            } else if (nOp == 5) {
                change = [=](CMorvelEMView& view) { view.SetCellText(strNumber.c_str(), r, 4, TRUE); };
            } else if (nOp == 6 || nOp == 7) {
                const int nKind = nOp == 6 ? kindDetail : (next(2) ? kindMiddle : kindKind);
                change = [=](CMorvelEMView& view) {
                    view.InsertRows(r, 1);
                    view.SetCellText(nKind == kindDetail ? "資材"_sj : "新工事"_sj, r, 0, TRUE);
                    view.SetCellText(strNumber.c_str(), r, 2, TRUE);
                    view.SetCellText("1200", r, 4, TRUE);
                    view.SetRowKind(nKind, r);
                };
            } else if (nOp == 8) {
                change = [=](CMorvelEMView& view) { view.DeleteRows(r, 1); };
            } else {
                change = [=](CMorvelEMView& view) {
                    view.GetEditRow(r)->SetCell(2, CString(strNumber.c_str()));
                };
            }
            change(*oneWalk.view);
            oneWalk.view->RecalcAfterCommand();
            nKept += oneWalk.view->AreTotalsKept() ? 1 : 0;
            change(*reference.view);
            reference.view->RecalcAll();
            Compare("step " + std::to_string(step) + " op " + std::to_string(nOp) + " row " +
                    std::to_string(r));
            if (HasFailure())
                return;
        }
        // Without step rows most ends of commands went through the kept sums.
        if (!bSteps)
            EXPECT_GT(nKept, 120);
    }
}

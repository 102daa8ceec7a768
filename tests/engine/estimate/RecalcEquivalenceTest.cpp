// The one-walk recalculation of the totals, the compiled row formulas and the numbers
// rounded and written in whole numbers give, byte for byte, what the totals made one by one
// (each walking its own range) and the formulas and numbers worked out through texts give:
// every cell text, kind, parameter and indent of the rows, on generated estimates with every
// kind of special row, after full recalculations and after single edits. And the remembered
// cell numbers of a row always read as the text they stand for. Two estimates of the engine
// test sheet are put through the same steps: one as the program works, one by the reference
// ways; no view, no window.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CKeptTotals.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using enum ETotalLevel;

CString Sj(const char* lpszUtf8)
{
    return CString::FromUtf8(lpszUtf8);
}

// One column of an estimation form as the form file lists it; the engine reads all but the
// name and the width.
struct FormColumn {
    const char* name;
    const char* attribute;
    const char* width;
    const char* picture;
    const char* formula;
    const char* rounding;
    const char* t;
    const char* v;
};

std::vector<CTestColumn> SheetColumns(const std::vector<FormColumn>& columns)
{
    std::vector<CTestColumn> texts;
    for (const FormColumn& c : columns)
        texts.push_back({c.attribute, c.picture, c.formula, c.rounding, c.t, c.v});
    return texts;
}

// An estimate of the test sheet put together as the estimate's commands put it together:
// rows typed at a current row, totals, discounts, discount totals, step, classification
// and tax rows placed there, rows inserted and deleted, rows marked non-calculated, and the
// figures worked out at the end of a command.
class CCommandEstimate : public CTestEstimate {
public:
    explicit CCommandEstimate(const std::vector<FormColumn>& columns) : CTestEstimate(SheetColumns(columns))
    {
        sheet.nRowLimit = 4000;
        // As an estimate just made: its figures are right until a row changes.
        engine.TakeFiguresAsDone();
        engine.KeepTotalsOfTheRows();
    }

    int GetUsedRows() const { return sheet.nUsedRows; }
    int GetColumnCount() const { return sheet.nColumnCount; }
    ERowKind GetRowKind(int nRow) const { return engine.EditKind(nRow); }
    const CString& GetCellText(int nRow, int nCol) const { return engine.EditCell(nRow, nCol); }
    CGridRow* GetEditRow(int nRow) { return rows.GetRow(nRow); }
    bool AreTotalsKept() const { return engine.AreTotalsKept(); }

    void SetCellText(const char* lpszText, int nRow, int nCol)
    {
        engine.SetCellText(lpszText, nRow, nCol, true);
    }
    void SetRowKind(ERowKind nKind, int nRow) { engine.SetRowKind(nKind, nRow); }
    void CalcRow(int nRow, int nFirstCol) { engine.CalcRow(nRow, nFirstCol); }
    void RecalcTotals(int nFromRow) { engine.RecalcTotals(nFromRow); }
    void RecalcAll() { engine.RecalcAll(); }
    // What the end of every command does at the default recalculation level.
    void RecalcAfterCommand()
    {
        if (engine.HasChangesSinceFiguresDone()) {
            EXPECT_TRUE(engine.RecalcChangedFigures()) << "figures were worked out: the rows are repainted";
        }
    }

    int GetCurrentRow() const { return m_nCurrentRow; }
    void SetCurrentRow(int nRow) { m_nCurrentRow = nRow; }
    void Down() { ++m_nCurrentRow; }

    void InsertRows(int nRow, int nCount)
    {
        sheet.nUsedRows = std::max(sheet.nUsedRows + nCount, nRow + nCount);
        rows.InsertEmptyAt(nRow, nCount);
        for (int i = 0; i < nCount; ++i)
            rows.SetAt(nRow + i, std::make_unique<CGridRow>());
    }
    void DeleteRows(int nRow, int nCount)
    {
        const int n = std::min(nCount, static_cast<int>(rows.GetSize()) - nRow);
        if (nRow < 0 || n <= 0)
            return;
        rows.RemoveAt(nRow, n);
        if (nRow < sheet.nUsedRows)
            sheet.nUsedRows -= std::min(n, sheet.nUsedRows - nRow);
    }

    // The commands, at the current row.
    void InsertTotal(ETotalLevel nLevel)
    {
        InsertRows(m_nCurrentRow, 1);
        engine.MakeTotalRow(m_nCurrentRow, nLevel);
        Down();
    }
    void InsertDiscount(const char* lpszAmount)
    {
        PlaceNewRow();
        const int nRow = m_nCurrentRow;
        const int nAmountCol = FirstColumnOfV("2");
        SetCellText(Sj("値引"), nRow, 0);
        SetCellText(lpszAmount, nRow, nAmountCol);
        engine.CalcRow(nRow, nAmountCol + 1);
        engine.SetRowKind(kindDiscount, nRow);
        Down();
        engine.RecalcTotals(m_nCurrentRow);
    }
    void InsertDiscountTotal(ETotalLevel nDiscountLevel)
    {
        engine.SetDiscountLevel(nDiscountLevel);
        InsertRows(m_nCurrentRow, 1);
        engine.MakeTotalRow(m_nCurrentRow, levelDiscount);
        engine.RecalcTotals(m_nCurrentRow);
        Down();
    }
    void MakeStepRow(const char* lpszTarget, int nTargetCol, EStepRange eRange)
    {
        engine.MakeStepRow(m_nCurrentRow, lpszTarget, nTargetCol, eRange);
        engine.RecalcTotals(m_nCurrentRow);
    }
    void InsertClassifyRow(const char* lpszName, const char* lpszRate, const char* lpszTarget, int nTargetCol,
                           int nColumnMode, EStepRange eRange)
    {
        InsertRows(m_nCurrentRow, 1);
        engine.MakeClassifyRow(m_nCurrentRow, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode,
                               eRange);
        engine.RecalcTotals(m_nCurrentRow);
    }
    // The tax row stays the current row.
    void InsertConsumptionTax()
    {
        const int nAmountCol = FirstColumnOfV("2");
        const int nSecondCol = FirstColumnOfV("3");
        CString strTax;
        engine.CalcTaxAmount(strTax, nAmountCol, true, sheet.tax.nRate);
        PlaceNewRow();
        const int nRow = m_nCurrentRow;
        SetCellText(Sj("消費税"), nRow, 0);
        engine.StoreTaxRow(nRow, nAmountCol, nSecondCol, strTax, sheet.tax.nRate);
        engine.SetRowKind(kindFree, nRow);
        engine.RecalcTotals(nRow);
    }
    // A recalculation request from a row at the default level: the formulas of the rows
    // from there, then the totals; from the first row, every figure.
    void RecalcFromRow(int nFirstRow)
    {
        engine.CalcRows(nFirstRow);
        engine.RecalcTotals(nFirstRow);
        if (nFirstRow <= 0)
            engine.TakeFiguresAsDone();
    }
    // The cells of a row from a column on, copied and pasted at that column of a row: a
    // cell at a time with the row's formulas from it on, an empty row becoming a detail,
    // then the request from the row.
    void PasteCells(int nFromRow, int nToRow, int nFirstCol)
    {
        std::vector<CString> texts;
        for (int c = nFirstCol; c < sheet.nColumnCount; ++c)
            texts.push_back(engine.EditCell(nFromRow, c));
        for (int c = nFirstCol; c < sheet.nColumnCount; ++c) {
            engine.SetCellText(texts[static_cast<size_t>(c - nFirstCol)], nToRow, c, true);
            if (engine.EditKind(nToRow) == kindEmpty)
                engine.SetRowKind(kindDetail, nToRow);
            engine.CalcRow(nToRow, c);
        }
        RecalcFromRow(nToRow);
    }
    // The row clear of a row: its row object goes, the totals from it are recalculated.
    void ClearRow(int nRow)
    {
        if (engine.EditKind(nRow) == kindEmpty || nRow > rows.GetUpperBound())
            return;
        rows.SetAt(nRow, nullptr);
        engine.RecalcTotals(nRow);
    }
    // The item clear of a column: every used row's cell emptied, nothing recalculated.
    void ClearColumn(int nCol)
    {
        for (int r = 0; r < sheet.nUsedRows; ++r)
            engine.SetCellText("", r, nCol, true);
    }
    // Replace all of one digit by another in the columns given, then the request from the
    // first row.
    void ReplaceDigit(char from, char to, const std::vector<int>& columns)
    {
        for (int r = 0; r < sheet.nUsedRows; ++r) {
            for (int c : columns) {
                std::string text = engine.EditCell(r, c).str();
                if (text.find(from) == std::string::npos)
                    continue;
                std::replace(text.begin(), text.end(), from, to);
                engine.SetCellText(text.c_str(), r, c, true);
            }
        }
        RecalcFromRow(0);
    }
    void SetNonCalculated(bool bSet, int nFirstRow, int nLastRow)
    {
        for (int r = nFirstRow; r <= nLastRow && engine.IsValidRow(r); ++r) {
            const ERowKind nKind = engine.EditKind(r);
            if (bSet && !IsNonCalculatedKind(nKind) && !IsSummaryKind(nKind))
                engine.SetRowKind(NonCalculatedKindOf(nKind), r);
            else if (!bSet && IsNonCalculatedKind(nKind))
                engine.SetRowKind(CalculatedKindOf(nKind), r);
        }
        engine.RecalcTotals(nFirstRow);
    }

private:
    void PlaceNewRow()
    {
        if (m_nCurrentRow < sheet.nUsedRows)
            InsertRows(m_nCurrentRow, 1);
    }
    int FirstColumnOfV(const char* lpszCode) const
    {
        for (int c = 0; c < sheet.nColumnCount; ++c) {
            if (sheet.GetColumnText(c, IColumnTexts::textV) == lpszCode)
                return c;
        }
        return -1;
    }

    int m_nCurrentRow = 0;
};

// Every cell text, kind, parameter and indent of the used rows: all a row stores.
struct CEstimateImage {
    std::vector<std::string> cells;
};

CEstimateImage TakeImage(const CCommandEstimate& est)
{
    CEstimateImage image;
    for (int r = 0; r < est.GetUsedRows(); ++r) {
        std::string line = std::to_string(est.GetRowKind(r));
        for (int c = 0; c < est.GetColumnCount(); ++c)
            line += "|" + est.GetCellText(r, c).str();
        if (const CGridRow* pRow = est.rows.GetRow(r)) {
            line += "|" + std::to_string(pRow->GetParam1()) + "," + std::to_string(pRow->GetParam2()) + "," +
                    std::to_string(pRow->GetParam3()) + "," + pRow->GetParamText1().str() + "," +
                    pRow->GetParamText2().str();
            for (int c = 0; c < est.GetColumnCount(); ++c)
                line += "," + std::to_string(pRow->GetIndent(c));
        }
        image.cells.push_back(line);
    }
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

// The same estimate twice: one recalculating in one walk, one by the reference.
class RecalcEquivalenceTest : public ::testing::Test {
protected:
    void OpenBoth(const std::vector<FormColumn>& columns)
    {
        m_columns = columns;
        oneWalk = MakeEstimate(false);
        reference = MakeEstimate(true);
    }
    // Both estimates saved and opened again, under the settings now and with the form as
    // changeForm leaves it: the rows as they were, every figure as they held it. The one
    // that works as the program does starts on them as an opened estimate does.
    void Reopen(bool bWorkOut, const std::function<void(CCommandEstimate&)>& changeForm)
    {
        for (std::unique_ptr<CCommandEstimate>* pEstimate : {&oneWalk, &reference}) {
            std::unique_ptr<CCommandEstimate> opened = MakeEstimate(pEstimate == &reference);
            changeForm(*opened);
            const CCommandEstimate& saved = **pEstimate;
            for (int r = 0; r < saved.GetUsedRows(); ++r) {
                const CGridRow* pRow = saved.rows.GetRow(r);
                opened->rows.Add(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr);
            }
            opened->sheet.nUsedRows = saved.GetUsedRows();
            *pEstimate = std::move(opened);
        }
        oneWalk->engine.StartOnRowsRead(bWorkOut);
    }

    template <typename Step>
    void Both(Step step)
    {
        step(*oneWalk);
        step(*reference);
    }

    void Compare(const std::string& step) { ExpectSame(TakeImage(*oneWalk), TakeImage(*reference), step); }
    // Both recalculated in full, as they are and then saved and opened again: the figures
    // are the reference's, and the walks of each full recalculation read every row once.
    void RecalculateReadingEveryRowOnce()
    {
        for (const bool bReopened : {false, true}) {
            if (bReopened)
                Reopen(false, [](CCommandEstimate&) {});
            const unsigned long long nWalked = oneWalk->engine.GetRowsWalked();
            Both([](CCommandEstimate& est) { est.RecalcAll(); });
            Compare(bReopened ? "opened under another tax rate and recalculated" : "recalculated");
            EXPECT_EQ(static_cast<unsigned long long>(oneWalk->GetUsedRows()),
                      oneWalk->engine.GetRowsWalked() - nWalked);
        }
        // So too opened at the default level under a changed form, its figures worked out as
        // it opens: the first recalculation under the form's rules.
        Reopen(true, [](CCommandEstimate& est) {
            est.sheet.SetColumnText(7, IColumnTexts::textRounding, "U(-1)");
        });
        reference->RecalcAll();
        Compare("opened, its figures worked out");
        EXPECT_EQ(static_cast<unsigned long long>(oneWalk->GetUsedRows()), oneWalk->engine.GetRowsWalked());
    }

    // The first heading total at or below a row (the row itself when there is none), and
    // the first heading of a kind, marked non-calculated or not (row 0 when there is none).
    int NextTotal(int nRow) const
    {
        for (int r = nRow; r < oneWalk->GetUsedRows(); ++r) {
            if (IsHeadingTotalKind(oneWalk->GetRowKind(r)))
                return r;
        }
        return nRow;
    }
    int FirstHeading(ERowKind nKind) const
    {
        for (int r = 0; r < oneWalk->GetUsedRows(); ++r) {
            const ERowKind k = oneWalk->GetRowKind(r);
            if (k == nKind || k == NonCalculatedKindOf(nKind))
                return r;
        }
        return 0;
    }
    static std::array<ERowKind, 4> HeadingKinds() { return {kindKind, kindLarge, kindMiddle, kindSmall}; }
    // The first total of a heading's kind below it (the heading itself when there is none).
    int TotalOf(int nHeading) const
    {
        const ERowKind nMarked = oneWalk->GetRowKind(nHeading);
        const ERowKind nKind = IsNonCalculatedKind(nMarked) ? CalculatedKindOf(nMarked) : nMarked;
        for (int r = nHeading + 1; IsHeadingKind(nKind) && r < oneWalk->GetUsedRows(); ++r) {
            if (oneWalk->GetRowKind(r) == TotalKindOf(nKind))
                return r;
        }
        return nHeading;
    }

    // Types a number into a row as Enter does and recalculates from there.
    static void Edit(CCommandEstimate& est, int nRow, int nCol, const char* lpszText)
    {
        est.SetCellText(lpszText, nRow, nCol);
        est.CalcRow(nRow, 0);
        est.RecalcTotals(nRow);
    }

    int nTaxRate = 10;
    int nRoundMode = 3;
    bool bVerticalTotal = false;
    std::unique_ptr<CCommandEstimate> oneWalk;
    std::unique_ptr<CCommandEstimate> reference;

private:
    std::unique_ptr<CCommandEstimate> MakeEstimate(bool bReference) const
    {
        auto est = std::make_unique<CCommandEstimate>(m_columns);
        est->sheet.tax.nRate = nTaxRate;
        est->sheet.tax.eRounding = TaxRoundingFromSetting(nRoundMode);
        est->sheet.bVerticalTotal = bVerticalTotal;
        est->engine.SetTotalsOneByOne(bReference);
        est->engine.SetNumbersThroughTexts(bReference);
        return est;
    }

    std::vector<FormColumn> m_columns;
};

// The digits of an ASCII number in full width (UTF-8).
std::string FullWidthDigits(const char* lpszNumber)
{
    static const char* const digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string text;
    for (const char* p = lpszNumber; *p != '\0'; ++p)
        text += *p >= '0' && *p <= '9' ? digits[*p - '0'] : std::string(1, *p);
    return text;
}

// A whole number with a separator between each group of three digits.
std::string Grouped(unsigned n)
{
    std::string text = std::to_string(n);
    for (int i = static_cast<int>(text.size()) - 3; i > 0; i -= 3)
        text.insert(static_cast<size_t>(i), ",");
    return text;
}

// A generated estimate built through the estimate's commands: kind, large, middle and small
// headings, details with quantities of up to three decimals (some negative, some empty),
// discounts, discount totals of several levels, step and classification rows, a tax row
// with totals under it, a total with nothing above it and a total straight after its
// heading. It starts at nStartRow.
void BuildGenerated(CCommandEstimate& est, unsigned seed, bool bStepsAndClassifications = true,
                    int nStartRow = 0)
{
    unsigned state = seed;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    auto row = [&est]() { return est.GetCurrentRow(); };
    auto down = [&est]() { est.Down(); };
    auto heading = [&](ERowKind nKind, const char* lpszName) {
        est.SetCellText(CString::FromUtf8(lpszName), row(), 0);
        est.SetRowKind(nKind, row());
        down();
    };
    auto detail = [&]() {
        const int r = row();
        char qty[32], price[32], factor[32];
        std::snprintf(qty, sizeof(qty), "%s%u.%03u", next(9) == 0 ? "-" : "", next(400), next(1000));
        const unsigned nPrice = 1 + next(250000);
        std::snprintf(price, sizeof(price), "%u", nPrice);
        std::snprintf(factor, sizeof(factor), "0.%u", next(1000));
        est.SetCellText(Sj("資材"), r, 0);
        est.SetCellText(next(3) == 0 ? "A" : "B", r, 1);
        if (next(12) != 0)
            est.SetCellText(qty, r, 2);
        // Some prices come in as an estimator writes them: full-width digits, or separators
        // and "円"; they are the same numbers.
        if (nPrice % 5 == 0)
            est.SetCellText(CString::FromUtf8(FullWidthDigits(price)), r, 4);
        else if (nPrice % 7 == 0)
            est.SetCellText(CString::FromUtf8(Grouped(nPrice) + "円"), r, 4);
        else
            est.SetCellText(price, r, 4);
        est.SetCellText(factor, r, 6);
        est.SetRowKind(kindDetail, r);
        est.CalcRow(r, 0);
        down();
    };

    auto bareTotal = [&](ERowKind nKind) {
        est.SetCellText(Sj("小計"), row(), 0);
        est.SetRowKind(nKind, row());
        down();
    };
    est.SetCurrentRow(nStartRow);
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
                        est.InsertDiscount("-1234");
                    if (next(5) == 0)
                        est.InsertDiscountTotal(levelSmall);
                    est.InsertTotal(levelSmall);
                }
                if (next(3) == 0 && bStepsAndClassifications) {
                    est.MakeStepRow("A", 1, EStepRange::middleHeading);
                    down();
                }
                est.InsertTotal(levelMiddle);
            }
            est.InsertDiscount("-5000");
            est.InsertDiscountTotal(levelLarge);
            if (bStepsAndClassifications) {
                est.InsertClassifyRow(Sj("A類"), "12.5", "A", 1, 1, EStepRange::largeHeading);
                down();
            }
            est.InsertTotal(levelLarge);
        }
        est.InsertTotal(levelKind);
        if (k == 0) {
            est.InsertConsumptionTax(); // a tax row with totals below it
            down();
        }
    }
    heading(kindSmall, "別途");
    bareTotal(kindSmallTotal); // straight after its heading: left alone
    est.InsertDiscountTotal(levelGrand);
    est.InsertTotal(levelGrand);
    est.InsertConsumptionTax();
}

} // namespace

TEST_F(RecalcEquivalenceTest, GeneratedEstimatesRecalculateAsTheTotalsMadeOneByOne)
{
    for (unsigned seed : {1u, 7u, 2024u}) {
        SCOPED_TRACE(seed);
        OpenBoth(TotallingColumns());
        Both([seed](CCommandEstimate& est) { BuildGenerated(est, seed); });
        ASSERT_GT(oneWalk->GetUsedRows(), 150);
        Compare("built");

        Both([](CCommandEstimate& est) { est.RecalcAll(); });
        Compare("full recalculation");

        // Single edits at the top, in the middle, at a heading and below the first tax row.
        const int nUsed = oneWalk->GetUsedRows();
        for (int nRow : {1, nUsed / 3, nUsed / 2, nUsed - 5}) {
            int r = nRow;
            while (r < nUsed && oneWalk->GetRowKind(r) != kindDetail)
                ++r;
            if (r >= nUsed)
                continue;
            Both([r](CCommandEstimate& est) { Edit(est, r, 2, "77.125"); });
            Compare("quantity edited in row " + std::to_string(r));
            Both([r](CCommandEstimate& est) { Edit(est, r, 4, "3,300"); });
            Compare("price edited in row " + std::to_string(r));
        }

        // Rows marked non-calculated, then released again.
        Both([nUsed](CCommandEstimate& est) { est.SetNonCalculated(true, nUsed / 4, nUsed / 4 + 30); });
        Compare("non-calculated rows");
        Both([nUsed](CCommandEstimate& est) { est.SetNonCalculated(false, nUsed / 4, nUsed / 4 + 30); });
        Compare("non-calculated rows released");

        // Texts put straight into the rows (not through the est), some not numbers at all.
        Both([nUsed](CCommandEstimate& est) {
            for (int r = 0; r < nUsed; r += 7) {
                if (CGridRow* pRow = est.GetEditRow(r)) {
                    pRow->SetCell(2, r % 2 ? "1,500" : " 12.5");
                    pRow->SetCell(4, r % 3 ? "-" : "abc");
                }
            }
            est.RecalcAll();
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
    Both([](CCommandEstimate& est) {
        BuildGenerated(est, 11u);
        est.RecalcAll();
    });
    const int nUsed = oneWalk->GetUsedRows();
    ASSERT_GT(nUsed, 150);
    auto lowDetail = [&](CCommandEstimate& est) {
        int r = est.GetUsedRows() * 3 / 4;
        while (r < est.GetUsedRows() && est.GetRowKind(r) != kindDetail)
            ++r;
        return r;
    };
    const int nEdit = lowDetail(*oneWalk);
    ASSERT_LT(nEdit, nUsed);
    Both([nEdit](CCommandEstimate& est) { Edit(est, nEdit, 2, "3.5"); });
    Compare("edited below, the walk's store filled");

    // Amounts of the details and costs of the subtotals above the edited row put straight
    // into the rows: the same lengths, other digits.
    Both([nEdit](CCommandEstimate& est) {
        for (int r = 0; r < nEdit; ++r) {
            CGridRow* pRow = est.GetEditRow(r);
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
        Edit(est, nEdit, 2, "4.5");
    });
    Compare("amounts and costs changed in the rows above the edit");

    // Rows deleted and inserted near the top: every row below moves against the store.
    Both([](CCommandEstimate& est) {
        est.DeleteRows(3, 4);
        est.InsertRows(20, 3);
    });
    Both([&](CCommandEstimate& est) { Edit(est, lowDetail(est), 2, "5.25"); });
    Compare("rows deleted and inserted above the edit");

    // A detail's amount given another detail's text, and the full recalculation after all.
    Both([&](CCommandEstimate& est) {
        std::vector<int> details;
        for (int r = 0; r < nEdit; ++r) {
            if (est.GetRowKind(r) == kindDetail)
                details.push_back(r);
        }
        for (size_t i = 1; i < details.size(); i += 2)
            est.GetEditRow(details[i])->SetCell(5, est.GetEditRow(details[i - 1])->m_strCell[5]);
        Edit(est, lowDetail(est), 2, "6");
    });
    Compare("amounts copied between rows");
    Both([](CCommandEstimate& est) { est.RecalcAll(); });
    Compare("full recalculation at the end");
}

// Without a grand total or a tax row below the edited row, the walk does not read the
// rows above the headings the edit lies under: the totals below still come out as the
// totals made one by one, with the rows above changed straight in the rows too.
TEST_F(RecalcEquivalenceTest, EditsWithoutAGrandTotalOrTaxBelowTotalAsOneByOne)
{
    OpenBoth(TotallingColumns());
    Both([](CCommandEstimate& est) {
        BuildGenerated(est, 17u);
        // The grand totals and the last tax row go: the first tax row stays in the middle.
        int nLast = est.GetUsedRows() - 1;
        while (nLast > 0 && est.GetRowKind(nLast) != kindSmall)
            --nLast;
        est.DeleteRows(nLast + 2, est.GetUsedRows() - nLast - 2);
        est.RecalcAll();
    });
    Compare("grand totals removed");
    const int nUsed = oneWalk->GetUsedRows();
    int nTax = nUsed - 1;
    while (nTax > 0 && oneWalk->GetRowKind(nTax) != kindFree)
        --nTax;
    ASSERT_GT(nTax, 0);
    for (int nRow : {nTax + 3, (nTax + nUsed) / 2, nUsed - 12}) {
        int r = nRow;
        while (r < nUsed && oneWalk->GetRowKind(r) != kindDetail)
            ++r;
        ASSERT_LT(r, nUsed);
        Both([r](CCommandEstimate& est) {
            for (int above = 0; above < r; above += 5) {
                if (CGridRow* pRow = est.GetEditRow(above); pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(5, std::to_string(above * 3) + ".000000");
            }
            Edit(est, r, 2, "41.5");
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
        Both([seed](CCommandEstimate& est) { BuildGenerated(est, seed, false); });
        ASSERT_GT(oneWalk->GetUsedRows(), 100);
        Compare("built");
        Both([](CCommandEstimate& est) {
            for (int r = 0; r < est.GetUsedRows(); ++r) {
                CGridRow* pRow = est.GetEditRow(r);
                if (pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(2, std::to_string(r % 50) + "." + std::to_string(r % 7));
            }
            est.RecalcAll();
        });
        Compare("full recalculation after quantities changed");
        Both([](CCommandEstimate& est) { est.RecalcAll(); });
        Compare("full recalculation again");
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
    Both([](CCommandEstimate& est) { est.SetCurrentRow(0); });
    for (int r = 0; r < 240; ++r) {
        const char* q = quantities[next(std::size(quantities))];
        const char* p = prices[next(std::size(prices))];
        const char* f = factors[next(std::size(factors))];
        Both([&](CCommandEstimate& est) {
            est.SetCellText(Sj("資材"), r, 0);
            est.SetCellText(q, r, 1);
            est.SetCellText(p, r, 2);
            est.SetCellText(f, r, 3);
            est.SetRowKind(r % 17 == 16 ? kindFree : kindDetail, r);
            est.CalcRow(r, 0);
        });
    }
    Compare("rows calculated as they were typed");
    // Texts put straight into the rows, not normalised.
    Both([](CCommandEstimate& est) {
        for (int r = 0; r < 240; r += 5) {
            if (CGridRow* pRow = est.GetEditRow(r)) {
                pRow->SetCell(1, r % 2 ? "-0.000" : "00012.50");
                pRow->SetCell(2, r % 3 ? "123456789012345678" : "-.5");
            }
        }
        est.RecalcAll();
    });
    Compare("full recalculation");
    for (int r : {3, 100, 239}) {
        Both([r](CCommandEstimate& est) { Edit(est, r, 1, "-12.34565"); });
        Compare("quantity edited in row " + std::to_string(r));
    }
    // The quick ways were taken at all: an amount the compiled formula worked out.
    EXPECT_FALSE(oneWalk->GetCellText(1, 4).IsEmpty());
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
        Both([&](CCommandEstimate& est) {
            est.SetCellText(names[r % 5], r, 0);
            est.SetCellText(quantities[r / 5], r, 1);
            est.SetCellText(prices[(r + r / 5) % 5], r, 2);
            // What was typed into the formula cells before: kept where a formula has nothing
            // to work on.
            for (int c = 3; c < nColumns; ++c)
                est.SetCellText("5", r, c);
            est.SetRowKind(kindDetail, r);
            est.CalcRow(r, 0);
        });
    }
    Compare("rows calculated");
    // A formula without references leaves the typed number alone, the compiled way too.
    EXPECT_EQ("5.000000", oneWalk->GetCellText(0, 3).str());
    Both([](CCommandEstimate& est) { est.RecalcAll(); });
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
        Both([seed](CCommandEstimate& est) { BuildGenerated(est, seed); });
        ASSERT_GT(oneWalk->GetUsedRows(), 150);
        Compare("built");
        const int nUsed = oneWalk->GetUsedRows();
        // Whole quantities above a row that moves down the estimate, quantities with
        // decimals below it.
        for (int nSplit : {0, nUsed / 5, nUsed / 2, nUsed - 10, nUsed}) {
            Both([nSplit](CCommandEstimate& est) {
                for (int r = 0; r < est.GetUsedRows(); ++r) {
                    CGridRow* pRow = est.GetEditRow(r);
                    if (pRow != nullptr && pRow->GetKind() == kindDetail)
                        pRow->SetCell(2, r < nSplit ? std::to_string(1 + r % 40) + ".000000"
                                                    : std::to_string(r % 40) + "." + std::to_string(r % 997));
                }
                est.RecalcAll();
            });
            Compare("decimals from row " + std::to_string(nSplit));
        }
        // All whole, then single edits bringing decimals in and taking them out again.
        Both([](CCommandEstimate& est) {
            for (int r = 0; r < est.GetUsedRows(); ++r) {
                CGridRow* pRow = est.GetEditRow(r);
                if (pRow != nullptr && pRow->GetKind() == kindDetail)
                    pRow->SetCell(2, r % 11 == 0 ? "-3" : std::to_string(r % 60));
            }
            est.RecalcAll();
        });
        Compare("whole quantities");
        // The amounts the huge column reaches: its grand total lies past 2^52.
        int nGrand = nUsed - 1;
        while (nGrand > 0 && oneWalk->GetRowKind(nGrand) != kindGrandTotal)
            --nGrand;
        EXPECT_GT(CNumberRules::ReadNumber(oneWalk->GetCellText(nGrand, 7)), 4503599627370496.0)
            << oneWalk->GetCellText(nGrand, 7).str();
        for (int nRow : {2, nUsed / 3, nUsed - 8}) {
            int r = nRow;
            while (r < nUsed && oneWalk->GetRowKind(r) != kindDetail)
                ++r;
            if (r >= nUsed)
                continue;
            Both([r](CCommandEstimate& est) { Edit(est, r, 2, "0.125"); });
            Compare("decimals typed in row " + std::to_string(r));
            Both([r](CCommandEstimate& est) { Edit(est, r, 2, "7"); });
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
    Both([](CCommandEstimate& est) { BuildGenerated(est, 13u, false); });
    Compare("built");
    Both([](CCommandEstimate& est) { est.RecalcAll(); });
    Compare("full recalculation");
    // Costs typed into the discount rows reach the totals summed over the subtotals
    // through the discount totals; changed, every such total changes.
    for (int nRound = 1; nRound <= 2; ++nRound) {
        Both([nRound](CCommandEstimate& est) {
            for (int r = 0; r < est.GetUsedRows(); ++r) {
                CGridRow* pRow = est.GetEditRow(r);
                if (pRow == nullptr)
                    continue;
                if (pRow->GetKind() == kindDiscount)
                    pRow->SetCell(7, std::to_string(nRound * 1000 + r * 7) + ".000000");
                else if (pRow->GetKind() == kindDetail)
                    pRow->SetCell(4, std::to_string(nRound * 100 + r * 7) + ".000000");
            }
            est.RecalcAll();
        });
        Compare("full recalculation after costs and prices changed, round " + std::to_string(nRound));
    }
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
        Both([seed](CCommandEstimate& est) {
            BuildGenerated(est, seed, false);
            est.RecalcAll();
        });
        Compare("built");
        unsigned state = seed * 7919u;
        auto next = [&state](unsigned n) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 8) % n);
        };
        // A row of one of the kinds, picked at random (-1: none).
        auto rowOf = [&](auto isKind) {
            const CCommandEstimate& est = *oneWalk;
            const int nUsed = est.GetUsedRows();
            const int nStart = next(static_cast<unsigned>(nUsed));
            for (int i = 0; i < nUsed; ++i) {
                const int r = (nStart + i) % nUsed;
                if (isKind(est.GetRowKind(r)))
                    return r;
            }
            return -1;
        };
        auto detail = [&]() { return rowOf([](ERowKind nKind) { return nKind == kindDetail; }); };
        // The steps run on the est that keeps its totals, each followed by its image, and
        // afterwards on the reference.
        std::vector<std::function<void(CCommandEstimate&)>> steps;
        std::vector<std::pair<std::string, CEstimateImage>> images;
        auto Step = [&](std::function<void(CCommandEstimate&)> step) {
            step(*oneWalk);
            steps.push_back(std::move(step));
        };
        int nKeptRecalcs = 0;
        for (int step = 0; step < 160; ++step) {
            const int nOp = next(20);
            const std::string strNumber = std::to_string(next(5000)) + (next(2) ? ".25" : "");
            nKeptRecalcs += oneWalk->AreTotalsKept() ? 1 : 0;
            std::string what = "step " + std::to_string(step) + " op " + std::to_string(nOp);
            if (nOp < 8) {
                // A quantity, a price or an amount typed over its formula, as Enter stores it.
                const int r = detail();
                const int nCol = nOp < 4 ? 2 : (nOp < 6 ? 4 : 5);
                if (r >= 0)
                    Step([=](CCommandEstimate& est) { Edit(est, r, nCol, strNumber.c_str()); });
                what += " row " + std::to_string(r);
            } else if (nOp == 8) {
                // A discount's amount.
                const int r = rowOf([](ERowKind nKind) { return nKind == kindDiscount; });
                const std::string strAmount = "-" + strNumber;
                if (r >= 0)
                    Step([=](CCommandEstimate& est) { Edit(est, r, 5, strAmount.c_str()); });
            } else if (nOp == 9) {
                // A subtotal's or total's cell typed over, recalculated from it or from above.
                const int r =
                    rowOf([](ERowKind nKind) { return IsTotalKind(nKind) || IsDiscountTotalKind(nKind); });
                const int nFrom = next(2) ? r : std::max(0, r - 1 - next(30));
                const int nCol = next(2) ? 5 : 7;
                if (r >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.SetCellText(strNumber.c_str(), r, nCol);
                        est.RecalcTotals(nFrom);
                    });
            } else if (nOp == 10 || nOp == 11) {
                // A cell stored without a recalculation; the totals then recalculated from a
                // row below it, which leaves the totals between as they were.
                const int r = detail();
                const int nBelow = r + 1 + next(40);
                if (r >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.SetCellText(strNumber.c_str(), r, 4);
                        est.CalcRow(r, 0);
                        est.RecalcTotals(nBelow);
                    });
            } else if (nOp == 12) {
                // A new detail typed below the last row.
                Step([=](CCommandEstimate& est) {
                    const int r = est.GetUsedRows();
                    est.SetCellText("3", r, 2);
                    est.SetCellText(strNumber.c_str(), r, 4);
                    est.SetRowKind(kindDetail, r);
                    est.CalcRow(r, 0);
                    est.RecalcTotals(r);
                });
            } else if (nOp == 13) {
                // A detail marked non-calculated, or released again.
                const int r = rowOf([](ERowKind nKind) {
                    return nKind == kindDetail || nKind == NonCalculatedKindOf(kindDetail);
                });
                if (r >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.SetNonCalculated(est.GetRowKind(r) == kindDetail, r, r);
                    });
            } else if (nOp == 14) {
                // A discount made a detail and back: kinds the totals add differently.
                const int r =
                    rowOf([](ERowKind nKind) { return nKind == kindDiscount || nKind == kindDetail; });
                if (r >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.SetRowKind(est.GetRowKind(r) == kindDetail ? kindDiscount : kindDetail, r);
                        est.RecalcTotals(r);
                    });
            } else if (nOp == 15) {
                // An amount put straight into a row (now and then one with decimals, which
                // the kept sums leave to the walk), then an edit elsewhere.
                const int r = detail();
                const int r2 = detail();
                const std::string strAmount = next(4) == 0 ? strNumber : std::to_string(next(5000));
                if (r >= 0 && r2 >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.GetEditRow(r)->SetCell(5, CString(strAmount.c_str()));
                        Edit(est, r2, 2, "2");
                    });
            } else if (nOp == 16) {
                // A row inserted and another deleted, then an edit.
                const int r = detail();
                if (r >= 0)
                    Step([=](CCommandEstimate& est) {
                        est.InsertRows(r, 1);
                        est.DeleteRows(r + 3, 1);
                        est.RecalcTotals(r);
                    });
            } else if (nOp == 17) {
                // A heading renamed (the discount totals find their headings by name).
                const int r = rowOf([](ERowKind nKind) { return nKind == kindLarge; });
                const CString strName = next(2) ? Sj("建築工事") : Sj("改修工事");
                if (r >= 0)
                    Step([=](CCommandEstimate& est) { Edit(est, r, 0, strName); });
            } else if (nOp == 18) {
                const int nFrom = next(2) ? 0 : detail();
                Step([=](CCommandEstimate& est) { est.RecalcTotals(nFrom); });
            } else {
                Step([](CCommandEstimate& est) { est.RecalcAll(); });
            }
            images.emplace_back(what, TakeImage(*oneWalk));
        }
        // Most recalculations took the kept sums: the test is about them.
        EXPECT_GT(nKeptRecalcs, 60);
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i](*reference);
            ExpectSame(images[i].second, TakeImage(*reference), images[i].first);
            if (HasFailure())
                return;
        }
    }
}

// Each estimate counts the changes of its own rows: edits in another estimate, rows
// copied out of another estimate and another estimate made leave the sums this one keeps
// in use. Two estimates hold the same rows and are edited in turn, one keeping its totals
// and one making them one by one; after every edit both show the same texts, and the one
// that keeps its totals rewrote them from its kept sums, not by a walk over every row.
TEST_F(RecalcEquivalenceTest, EditsInOtherEstimatesLeaveTheKeptTotalsInUse)
{
    std::vector<FormColumn> columns = TotallingColumns();
    columns[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    OpenBoth(columns);
    Both([](CCommandEstimate& est) {
        BuildGenerated(est, 41u, false);
        est.RecalcAll();
    });
    Compare("built");
    std::vector<int> details;
    for (int r = 0; r < oneWalk->GetUsedRows(); ++r) {
        if (oneWalk->GetRowKind(r) == kindDetail)
            details.push_back(r);
    }
    ASSERT_GT(details.size(), 20u);
    int nKept = 0;
    const int nRounds = 24;
    for (int i = 0; i < nRounds; ++i) {
        const int r = details[static_cast<size_t>(i * 7) % details.size()];
        const std::string strQuantity = std::to_string(3 + i) + ".5";
        Edit(*oneWalk, r, 2, strQuantity.c_str());
        nKept += oneWalk->AreTotalsKept() ? 1 : 0;
        // The other estimate: the same edit, then rows copied out of it, or a third
        // estimate made and recalculated beside both.
        Edit(*reference, r, 2, strQuantity.c_str());
        if (i % 3 == 0) {
            CGridRow copy;
            copy = *reference->GetEditRow(r);
            const CGridRow again(copy);
        } else if (i % 3 == 1) {
            CCommandEstimate other(TotallingColumns());
            BuildGenerated(other, 50u + static_cast<unsigned>(i), false);
            other.RecalcAll();
        }
        Compare("round " + std::to_string(i));
    }
    EXPECT_EQ(nRounds, nKept);
}

// What the consistency check's tests break on purpose.
struct CKeptTotalsProbe {
    static CKeptTotals& Of(CCommandEstimate& est) { return est.engine.m_kept; }
    static std::vector<int64_t>& Sums(CKeptTotals& kept) { return kept.m_sums; }
    static CGridRowArray& Rows(CCommandEstimate& est) { return est.rows; }
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
    CCommandEstimate& est = *oneWalk;
    BuildGenerated(est, 3u, false);
    est.RecalcAll();
    std::vector<int> details;
    for (int r = 0; r < est.GetUsedRows(); ++r) {
        if (est.GetRowKind(r) == kindDetail)
            details.push_back(r);
    }
    ASSERT_GT(details.size(), 8u);
    std::vector<std::string> failures;
    CCheckHandlerScope scope([&](const CCheckFailure& failure) { failures.push_back(failure.message); });
    Edit(est, details[1], 2, "12");
    ASSERT_TRUE(est.AreTotalsKept());
    EXPECT_TRUE(failures.empty());

    std::vector<int64_t>& sums = CKeptTotalsProbe::Sums(CKeptTotalsProbe::Of(est));
    ASSERT_FALSE(sums.empty());
    sums[sums.size() / 2] += 100;
    Edit(est, details[2], 2, "13");
    EXPECT_EQ(1u, failures.size());

    // A row put into the estimate past the store: the next walk makes the sums afresh, and
    // every recalculation through them finds the row: the full one itself, which makes the
    // totals below its tax row from them, and the edit after it.
    failures.clear();
    CGridRowArray& rows = CKeptTotalsProbe::Rows(est);
    rows.EntryForWriting(details[3]) = std::make_unique<CGridRow>(*est.GetEditRow(details[3]));
    est.RecalcAll();
    EXPECT_EQ(1u, failures.size());
    Edit(est, details[4], 2, "14");
    EXPECT_EQ(2u, failures.size());
}

// Without a tax row the walk that builds the kept sums leaves nothing to them: the builds with
// checks hold its sums against the rows as it leaves them. A row put into the estimate past
// the store (its changes counted nowhere) is such a fault, and the check names it at the walk.
TEST_F(RecalcEquivalenceTest, AWalkThatBuildsTheKeptSumsOverAnUncountedRowFailsItsCheck)
{
    if (!kChecksOn)
        GTEST_SKIP() << "a build without checks";
    OpenBoth(TotallingColumns());
    CCommandEstimate& est = *oneWalk;
    for (int k = 0; k < 2; ++k) {
        est.SetCellText(Sj("1階"), est.GetCurrentRow(), 0);
        est.SetRowKind(kindSmall, est.GetCurrentRow());
        est.Down();
        for (const char* lpszQuantity : {"3", "12", "7"}) {
            est.SetCellText(lpszQuantity, est.GetCurrentRow(), 2);
            est.SetCellText("1500", est.GetCurrentRow(), 4);
            est.SetRowKind(kindDetail, est.GetCurrentRow());
            est.Down();
        }
        est.InsertTotal(levelSmall);
    }
    est.InsertTotal(levelGrand);
    std::vector<std::string> failures;
    CCheckHandlerScope scope([&](const CCheckFailure& failure) { failures.push_back(failure.message); });
    est.RecalcAll();
    ASSERT_TRUE(est.AreTotalsKept());
    ASSERT_TRUE(failures.empty());

    CGridRowArray& rows = CKeptTotalsProbe::Rows(est);
    rows.EntryForWriting(2) = std::make_unique<CGridRow>(*est.GetEditRow(2));
    est.RecalcAll();
    EXPECT_EQ(std::vector<std::string>{"the kept sums are those of the rows the walk read"}, failures);
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
        bVerticalTotal = bVertical;
        nRoundMode = bVertical ? 1 : 3;
        OpenBoth(TotallingColumns());
        Both([](CCommandEstimate& est) {
            for (int k = 0; k < 6; ++k) {
                BuildGenerated(est, 60u + static_cast<unsigned>(k), k == 0, est.GetUsedRows());
                est.InsertTotal(levelGrand);
                est.InsertConsumptionTax();
                est.Down();
            }
        });
        Compare("built");
        Both([](CCommandEstimate& est) { est.RecalcAll(); });
        Compare("full recalculation");
        // Edits in the first estimate (which holds step and classification rows), above its
        // first tax row, and between and below the tax rows of the others.
        const int nUsed = oneWalk->GetUsedRows();
        for (int nRow : {3, nUsed / 5, nUsed / 2, nUsed - 40}) {
            int r = nRow;
            while (r < nUsed && oneWalk->GetRowKind(r) != kindDetail)
                ++r;
            ASSERT_LT(r, nUsed);
            Both([r](CCommandEstimate& est) { Edit(est, r, 2, "41.5"); });
            Compare("quantity edited in row " + std::to_string(r));
            Both([r](CCommandEstimate& est) {
                est.GetEditRow(r)->SetCell(4, "1234");
                est.RecalcTotals(r);
            });
            Compare("price put into row " + std::to_string(r));
        }
    }
}

// Without step or classification rows, a full recalculation of an estimate with a tax row
// per 種目 reads every row once, opened or not: the tax rows and the totals below the first
// one come from the sums its walk recorded, not from a second walk; and the texts are the
// reference's.
TEST_F(RecalcEquivalenceTest, AFullRecalculationWithATaxRowPerKindReadsEveryRowOnce)
{
    OpenBoth(TotallingColumns());
    Both([](CCommandEstimate& est) {
        for (int k = 0; k < 5; ++k) {
            BuildGenerated(est, 80u + static_cast<unsigned>(k), false, est.GetUsedRows());
            est.InsertTotal(levelGrand);
            est.InsertConsumptionTax();
            est.Down();
        }
    });
    nTaxRate = 8;
    RecalculateReadingEveryRowOnce();
}

// So too where the kept sums cannot finish the rows below the first tax row: amounts with
// decimals, and step and classification rows (from the first 種目 on, or below the first
// tax row only, which are made again after each tax row takes its tax). The rows below a
// tax row are not read again; only those the recalculation writes there are read back.
TEST_F(RecalcEquivalenceTest, AFullRecalculationWithDecimalsOrStepRowsReadsEveryRowOnce)
{
    std::vector<FormColumn> decimals = TotallingColumns();
    decimals[5] = {"金額", "計 A", "12", "###,###.##", "C*E", "", "", "2"};
    struct CShape {
        const char* lpszName;
        const std::vector<FormColumn>* pColumns;
        std::array<bool, 3> bSteps; // per 種目 and its tax rows
    };
    const std::vector<FormColumn> wholeAmounts = TotallingColumns();
    for (const CShape& shape :
         {CShape{"amounts with decimals", &decimals, {false, false, false}},
          CShape{"step and classification rows", &wholeAmounts, {true, true, true}},
          CShape{"step rows below the first tax row", &wholeAmounts, {false, true, true}}}) {
        SCOPED_TRACE(shape.lpszName);
        OpenBoth(*shape.pColumns);
        Both([&shape](CCommandEstimate& est) {
            for (size_t k = 0; k < shape.bSteps.size(); ++k) {
                BuildGenerated(est, 90u + static_cast<unsigned>(k), shape.bSteps[k], est.GetUsedRows());
                est.Down();
            }
        });
        nTaxRate = 8;
        RecalculateReadingEveryRowOnce();
        nTaxRate = 10;
    }
}

// The end of a command at the default recalculation level: after each of 300 random
// changes of the kinds commands make, RecalcAfterCommand leaves every text and stored byte as
// a full recalculation of the same rows makes them (the reference's: totals one by one,
// numbers through texts). The changes: a quantity typed and recalculated from its row, with
// tax rows above it; a price stored with no recalculation; a detail row or a heading put in
// with no recalculation; a row deleted; a number put straight into a row; a row's cells
// pasted onto any row (a total or a heading too); a row cleared; a column of names or of
// computed figures cleared over every row; a digit replaced in the quantities and prices;
// rows of any kind marked non-calculated or released, the first heading of a level among
// them after its total took pasted cells; a heading renamed; and the estimate saved and
// opened again under another tax rate, tax rounding, vertical total or form, its figures
// worked out as it opens or at its first change. On estimates of two 種目 each closed by its grand total and
// tax row, with and without step and classification rows, and on a form whose total rows work out formula
// columns they do not add up.
TEST_F(RecalcEquivalenceTest, TheEndOfEveryCommandLeavesTheFiguresOfAFullRecalculation)
{
    std::vector<FormColumn> wholeCosts = TotallingColumns();
    wholeCosts[7] = {"原価", "計 B", "12", "###,###", "C*G*E/3", "U(-1)", "", "3"};
    // Half the amount and what is left of it, worked out on every row, the total rows too,
    // though they add neither up.
    std::vector<FormColumn> totalRowFormulas = wholeCosts;
    totalRowFormulas[8] = {"半額", "計", "12", "###,###", "F/2", "D(-1)", "", ""};
    totalRowFormulas.push_back({"残額", "計 C", "12", "###,###", "F-I", "", "", ""});
    struct CCase {
        const std::vector<FormColumn>* pColumns;
        bool bSteps;
    };
    for (const CCase& c :
         {CCase{&wholeCosts, false}, CCase{&wholeCosts, true}, CCase{&totalRowFormulas, false}}) {
        const bool bSteps = c.bSteps;
        const std::vector<FormColumn>& columns = *c.pColumns;
        SCOPED_TRACE(std::to_string(columns.size()) + (bSteps ? " columns, steps" : " columns"));
        nTaxRate = 10;
        nRoundMode = 3;
        bVerticalTotal = false;
        OpenBoth(columns);
        Both([bSteps](CCommandEstimate& est) {
            for (unsigned k = 0; k < 2; ++k) {
                BuildGenerated(est, 90u + k, bSteps && k == 1, est.GetUsedRows());
                est.InsertTotal(levelGrand);
                est.InsertConsumptionTax();
                est.Down();
            }
            est.RecalcAll();
        });
        Compare("built");
        unsigned state = bSteps ? 3u : 11u + static_cast<unsigned>(columns.size());
        auto next = [&state](unsigned n) {
            state = state * 1103515245u + 12345u;
            return static_cast<int>((state >> 8) % n);
        };
        const int nColumns = static_cast<int>(columns.size());
        int nKept = 0;
        const int nSteps = 300;
        for (int step = 0; step < nSteps; ++step) {
            const int nUsed = oneWalk->GetUsedRows();
            const int rAny = next(static_cast<unsigned>(nUsed));
            int r = rAny;
            while (r + 1 < nUsed && oneWalk->GetRowKind(r) != kindDetail)
                ++r;
            const int nOp = next(17);
            const std::string strNumber = std::to_string(1 + next(5000)) + (next(3) == 0 ? ".5" : "");
            // A command before the one of the step, each finished as the program does.
            std::function<void(CCommandEstimate&)> before;
            std::function<void(CCommandEstimate&)> change;
            if (nOp < 5) {
                change = [=](CCommandEstimate& est) { Edit(est, r, nOp < 3 ? 2 : 4, strNumber.c_str()); };
            } else if (nOp == 5 && next(2) == 0) {
                change = [=](CCommandEstimate& est) { est.SetCellText(strNumber.c_str(), r, 4); };
            } else if (nOp == 5) {
                // Typed into any row, a total among them (one that adds no rows shows what its
                // own formulas make of its cells).
                const int nCol = 2 + 2 * next(2);
                change = [=](CCommandEstimate& est) { Edit(est, rAny, nCol, strNumber.c_str()); };
            } else if (nOp == 6 || nOp == 7) {
                const ERowKind nKind = nOp == 6 ? kindDetail : (next(2) ? kindMiddle : kindKind);
                change = [=](CCommandEstimate& est) {
                    est.InsertRows(r, 1);
                    est.SetCellText(nKind == kindDetail ? Sj("資材") : Sj("新工事"), r, 0);
                    est.SetCellText(strNumber.c_str(), r, 2);
                    est.SetCellText("1200", r, 4);
                    est.SetRowKind(nKind, r);
                };
            } else if (nOp == 8) {
                change = [=](CCommandEstimate& est) { est.DeleteRows(r, 1); };
            } else if (nOp == 9) {
                change = [=](CCommandEstimate& est) {
                    est.GetEditRow(r)->SetCell(2, CString(strNumber.c_str()));
                };
            } else if (nOp == 10) {
                // A detail row's cells from a column on, pasted at that column of any row, of
                // a total row or of the total of the first heading of a level.
                const int nFirstCol = next(3);
                const int nWhere = next(3);
                const int nTo = nWhere == 0   ? rAny
                                : nWhere == 1 ? NextTotal(rAny)
                                              : TotalOf(FirstHeading(HeadingKinds()[next(4)]));
                change = [=](CCommandEstimate& est) { est.PasteCells(r, nTo, nFirstCol); };
            } else if (nOp == 11) {
                change = [=](CCommandEstimate& est) { est.ClearRow(rAny); };
            } else if (nOp == 12) {
                // A column that no row formula reads (the names, the computed columns), so
                // that the estimate keeps the numbers it is worked out from.
                const int cleared[] = {0, 1, 5, 7, 8, nColumns - 1};
                const int nCol = cleared[next(6)];
                change = [=](CCommandEstimate& est) { est.ClearColumn(nCol); };
            } else if (nOp == 13) {
                const char from = static_cast<char>('0' + next(10)), to = static_cast<char>('0' + next(10));
                change = [=](CCommandEstimate& est) { est.ReplaceDigit(from, to, {2, 4}); };
            } else if (nOp == 14) {
                // Any rows marked or released; or the first heading of a level, after a
                // detail row's cells were pasted onto its total: marked, the total adds no
                // rows and its own formulas make its figures; released, it adds them again.
                bool bSet = next(3) != 0;
                int nFirst = rAny, nLast = rAny + next(4);
                if (next(2) != 0) {
                    nFirst = nLast = FirstHeading(HeadingKinds()[next(4)]);
                    bSet = !IsNonCalculatedKind(oneWalk->GetRowKind(nFirst));
                    const int nTotal = TotalOf(nFirst);
                    before = [=](CCommandEstimate& est) { est.PasteCells(r, nTotal, 1); };
                }
                change = [=](CCommandEstimate& est) { est.SetNonCalculated(bSet, nFirst, nLast); };
            } else if (nOp == 15) {
                int h = rAny;
                while (h + 1 < nUsed && !IsHeadingKind(oneWalk->GetRowKind(h)))
                    ++h;
                const CString strName = next(2) ? Sj("内装工事") : Sj("別工事");
                change = [=](CCommandEstimate& est) { est.SetCellText(strName, h, 0); };
            } else {
                // Saved and opened again under other settings, a form changed meanwhile.
                nTaxRate = next(2) ? 8 : 10;
                nRoundMode = next(4);
                bVerticalTotal = next(2) != 0;
                const char* lpszCostRounding = next(2) ? "U(-1)" : "D(1)";
                const bool bWorkOut = next(2) != 0;
                Reopen(bWorkOut, [&](CCommandEstimate& est) {
                    est.sheet.SetColumnText(7, IColumnTexts::textRounding, lpszCostRounding);
                });
                // Figures kept as the file's are worked out at the first change.
                change = [=](CCommandEstimate& est) { Edit(est, r, 2, strNumber.c_str()); };
            }
            if (before) {
                before(*oneWalk);
                oneWalk->RecalcAfterCommand();
                before(*reference);
                reference->RecalcAll();
            }
            change(*oneWalk);
            oneWalk->RecalcAfterCommand();
            nKept += oneWalk->AreTotalsKept() ? 1 : 0;
            change(*reference);
            reference->RecalcAll();
            Compare("step " + std::to_string(step) + " op " + std::to_string(nOp) + " row " +
                    std::to_string(r) + " / " + std::to_string(rAny));
            if (HasFailure())
                return;
        }
        // Without step rows many ends of commands went through the kept sums.
        if (!bSteps) {
            EXPECT_GT(nKept, nSteps / 5);
        }
    }
}

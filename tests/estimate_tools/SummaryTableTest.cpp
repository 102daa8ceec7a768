// The summary table from its command and dialog: the levels chosen, each level on pages of
// its own, headings with the amounts of their totals, and the summary written at the top
// of the edit page once however often it is made there.
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CSummaryDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "grid/CTabWnd.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SummaryTableTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    // Answers the summary dialog with these levels and the place chosen.
    void Answer(CDialogAnswerer& answerer, std::vector<int> levels, bool bInternal)
    {
        answerer.AnswerDialog(IDD_SUMMARY, [levels, bInternal](CDialog& dlg) {
            const UINT boxes[] = {IDC_SUMMARY_KIND, IDC_SUMMARY_LARGE, IDC_SUMMARY_MIDDLE, IDC_SUMMARY_SMALL};
            for (int i = 0; i < 4; ++i) {
                if ((dlg.IsDlgButtonChecked(boxes[i]) != 0) != (levels[static_cast<size_t>(i)] != 0))
                    ClickDlgButton(dlg, boxes[i]);
            }
            ClickDlgButton(dlg, bInternal ? IDC_RADIO_2 : IDC_RADIO_1);
            ClickDlgButton(dlg, IDOK);
        });
    }

    std::vector<std::string> EditRows(int nFirst) const
    {
        std::vector<std::string> rows;
        for (int r = nFirst; r < m_pView->GetUsedRows(); ++r) {
            std::string row = std::to_string(m_pView->GetRowKind(r));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                row += "|" + Cell(r, c);
            rows.push_back(row);
        }
        return rows;
    }

    const CGridRow* SummaryRow(int nRow) const { return m_pView->GetSummaryRows().GetRow(nRow); }
};

} // namespace

TEST_F(SummaryTableTest, LargeSubjectsCarryTheirTotalsAmountsAndAQuantityOfOne)
{
    // The dialog offers the view's levels: large and middle at first.
    CDialogAnswerer answerer;
    int offered[4] = {-1, -1, -1, -1};
    answerer.AnswerDialog(IDD_SUMMARY, [&](CDialog& dlg) {
        const UINT boxes[] = {IDC_SUMMARY_KIND, IDC_SUMMARY_LARGE, IDC_SUMMARY_MIDDLE, IDC_SUMMARY_SMALL};
        for (int i = 0; i < 4; ++i)
            offered[i] = static_cast<int>(dlg.IsDlgButtonChecked(boxes[i]));
        EXPECT_EQ(IDC_RADIO_1, static_cast<UINT>(dlg.GetCheckedRadioButton(IDC_RADIO_1, IDC_RADIO_2)));
        ClickDlgButton(dlg, IDC_SUMMARY_MIDDLE); // large alone
        ClickDlgButton(dlg, IDOK);
    });
    const std::vector<std::string> edit = EditRows(0);
    Command(ID_SUMMARY_TABLE);
    EXPECT_EQ(0, offered[0]);
    EXPECT_EQ(1, offered[1]);
    EXPECT_EQ(1, offered[2]);
    EXPECT_EQ(0, offered[3]);
    ASSERT_TRUE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(1, m_pView->GetTabWnd()->GetCurSel());
    // The edit page is left alone (its rows read once it is shown again).
    Command(CTabWnd::ID_EDIT_PAGE_TAB);
    EXPECT_EQ(edit, EditRows(0));

    // Walk the edit page as a person would: the kind heading opens, every large heading
    // follows with its total's amount, the kind total closes with an empty row; a discount
    // outside every large subject stands on its own.
    std::vector<int> expectedRows;
    bool bInLarge = false;
    for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
        const int k = m_pView->GetRowKind(r);
        if (k == kindLarge)
            bInLarge = true;
        else if (k == kindLargeTotal || k == kindKind || k == kindKindTotal || k == kindGrandTotal)
            bInLarge = false;
        if (k == kindKind || k == kindLarge || k == kindKindTotal || k == kindGrandTotal || k == kindFree ||
            k == kindLargeDiscountTotal || k == kindGrandDiscountTotal || (k == kindDiscount && !bInLarge))
            expectedRows.push_back(r);
    }
    ASSERT_GT(expectedRows.size(), 2u);
    int s = 0;
    for (int r : expectedRows) {
        const CGridRow* pRow = SummaryRow(s);
        ASSERT_NE(pRow, nullptr) << s;
        const int k = m_pView->GetRowKind(r);
        EXPECT_EQ(k + 100, pRow->GetKind()) << s;
        EXPECT_EQ(m_pView->GetCellText(r, scName).str(), pRow->m_strCell[scName].str()) << s;
        if (k == kindKind) {
            EXPECT_TRUE(pRow->m_strCell[scUnit].IsEmpty()); // an opening row shows no unit
        }
        if (k == kindLarge) {
            // The large total below the heading gives the amount, less the large discount
            // total above it, which is a line of its own.
            int t = r + 1;
            double discountTotal = 0;
            while (t < m_pView->GetUsedRows() && m_pView->GetRowKind(t) != kindLargeTotal) {
                if (m_pView->GetRowKind(t) == kindLargeDiscountTotal)
                    discountTotal += Value(t, scAmount);
                ++t;
            }
            ASSERT_LT(t, m_pView->GetUsedRows());
            EXPECT_DOUBLE_EQ(Value(t, scAmount) - discountTotal, atof(pRow->m_strCell[scAmount].c_str()))
                << s;
            EXPECT_EQ("1", pRow->m_strCell[scQty].str()) << s;
        }
        ++s;
        if (k == kindKindTotal) {
            // The group of the kind heading closes with an empty row.
            const CGridRow* pEmpty = SummaryRow(s);
            ASSERT_NE(pEmpty, nullptr);
            EXPECT_EQ(kindEmpty, pEmpty->GetKind());
            ++s;
        }
    }
    // The level is filled up to the end of its page.
    EXPECT_EQ(0, static_cast<int>(m_pView->GetSummaryRows().GetSize()) % m_pView->GetPageRows());
    EXPECT_EQ(0, answerer.CountUnanswered());
}

TEST_F(SummaryTableTest, EachLevelStartsOnAPageOfItsOwnAndCancelChangesNothing)
{
    CDialogAnswerer answerer;
    Answer(answerer, {0, 1, 1, 0}, false);
    Command(ID_SUMMARY_TABLE);
    const int nPage = m_pView->GetPageRows();
    const CGridRowArray& rows = m_pView->GetSummaryRows();
    int nFirstMiddle = -1;
    for (int r = 0; r < rows.GetSize(); ++r) {
        const CGridRow* pRow = rows.GetRow(r);
        if (pRow != nullptr && pRow->GetKind() == kindMiddle + 100) {
            nFirstMiddle = r;
            break;
        }
    }
    ASSERT_GT(nFirstMiddle, 0);
    // The middle level begins the page after the large level ends; the large level's
    // opening kind heading comes again in front of it.
    EXPECT_EQ(kindKind + 100, rows.GetRow(nFirstMiddle - 2)->GetKind());
    EXPECT_EQ(0, (nFirstMiddle - 2) % nPage);

    // No level: an empty summary page.
    Command(CTabWnd::ID_EDIT_PAGE_TAB);
    Answer(answerer, {0, 0, 0, 0}, false);
    Command(ID_SUMMARY_TABLE);
    EXPECT_EQ(0, m_pView->GetSummaryRows().GetSize());

    // Cancel: neither page changes.
    Command(CTabWnd::ID_EDIT_PAGE_TAB);
    const std::vector<std::string> edit = EditRows(0);
    answerer.EndDialogWith(IDD_SUMMARY, IDCANCEL);
    Command(ID_SUMMARY_TABLE);
    EXPECT_FALSE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(edit, EditRows(0));
    EXPECT_EQ(0, m_pView->GetSummaryRows().GetSize());
}

TEST_F(SummaryTableTest, ADiscountUnderNoHeadingOfTheLevelIsALineAndTheLinesAddUpToTheGrandTotal)
{
    // The sample closes with 出精値引 -150,000 after the last kind total, before the grand
    // total; 外構工事 has a discount of its own inside its large subject.
    struct Case {
        std::vector<int> levels;
        int nHeading;
    } cases[] = {{{1, 0, 0, 0}, kindKind}, {{0, 1, 0, 0}, kindLarge}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nHeading);
        Command(CTabWnd::ID_EDIT_PAGE_TAB);
        CDialogAnswerer answerer;
        Answer(answerer, c.levels, false);
        Command(ID_SUMMARY_TABLE);
        double lines = 0, grand = 0;
        int nDiscounts = 0;
        const CGridRowArray& rows = m_pView->GetSummaryRows();
        for (int r = 0; r < rows.GetSize(); ++r) {
            const CGridRow* pRow = rows.GetRow(r);
            if (pRow == nullptr)
                continue;
            const double amount = atof(pRow->m_strCell[scAmount].c_str());
            // The headings of the level and their discount totals.
            if (pRow->GetKind() == c.nHeading + 100 ||
                pRow->GetKind() == DiscountTotalKindOf(LevelFromNumber(c.nHeading)) + 100)
                lines += amount;
            if (pRow->GetKind() == kindDiscount + 100) {
                lines += amount;
                ++nDiscounts;
                EXPECT_EQ("出精値引", pRow->m_strCell[scName].ToUtf8());
            }
            if (pRow->GetKind() == kindGrandTotal + 100)
                grand = amount;
        }
        EXPECT_EQ(1, nDiscounts);
        EXPECT_NE(0, grand);
        EXPECT_DOUBLE_EQ(grand, lines);
    }
}

TEST_F(SummaryTableTest, CancelShowsTheEditPageWithTheEditorHidden)
{
    GoTo(scNote, srFirstDetail);
    TypeUtf8("x");
    ASSERT_TRUE(EditorVisible());
    CDialogAnswerer answerer;
    answerer.EndDialogWith(IDD_SUMMARY, IDCANCEL);
    Command(ID_SUMMARY_TABLE);
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(0, m_pView->GetTabWnd()->GetCurSel());
}

TEST_F(SummaryTableTest, MadeInsideTheEstimateItIsWrittenOnceAtTheTop)
{
    const std::vector<std::string> edit = EditRows(0);
    const int nPage = m_pView->GetPageRows();
    CDialogAnswerer answerer;
    Answer(answerer, {0, 1, 0, 0}, true);
    Command(ID_SUMMARY_TABLE);
    EXPECT_FALSE(m_pView->IsSummaryPageShown());
    EXPECT_TRUE(IsModified());
    const int nSummary = static_cast<int>(m_pView->GetSummaryRows().GetSize());
    ASSERT_GT(nSummary, 0);
    const int nPages = (nSummary - 1) / nPage + 1;
    // The summary's rows on the first pages, the estimate after them, whole.
    EXPECT_EQ(kindKind + 100, m_pView->GetRowKind(0));
    EXPECT_EQ(edit, EditRows(nPages * nPage));

    // Again: still one summary.
    Answer(answerer, {0, 1, 0, 0}, true);
    Command(ID_SUMMARY_TABLE);
    EXPECT_EQ(edit, EditRows(nPages * nPage));
    int nSummaryKinds = 0;
    for (int r = 0; r < m_pView->GetUsedRows(); ++r)
        nSummaryKinds += m_pView->GetRowKind(r) >= 100 ? 1 : 0;
    int nExpected = 0;
    for (int r = 0; r < nSummary; ++r) {
        const CGridRow* pRow = m_pView->GetSummaryRows().GetRow(r);
        nExpected += pRow != nullptr && pRow->GetKind() >= 100 ? 1 : 0;
    }
    EXPECT_EQ(nExpected, nSummaryKinds);
}

TEST_F(SummaryTableTest, AWriteThatWouldPassTheFileRowLimitKeepsTheOldSummary)
{
    CDialogAnswerer answerer;
    Answer(answerer, {0, 1, 0, 0}, true);
    Command(ID_SUMMARY_TABLE);
    // Full: the summary of every level, longer than the one in place, cannot replace it.
    FillToTheFileRowLimit();
    const std::vector<BYTE> before = StoredState();
    answerer.ClearShown();
    Answer(answerer, {1, 1, 1, 1}, true);
    Command(ID_SUMMARY_TABLE);
    EXPECT_EQ(StoredState(), before);
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].ToUtf8().find("ファイルに保存できる 65,535 行を超えます。"), std::string::npos);
}

TEST_F(SummaryTableTest, AtEveryLevelTheLinesAddUpToEachTotalShown)
{
    // The sample: 電気設備工事 and 外構工事 have no middle headings (their details stand
    // right under them), 外構工事 has a discount of 20,000 and its discount total inside,
    // and the estimate closes with 出精値引 before the grand total.
    const int nLevelKinds[] = {kindKind, kindLarge, kindMiddle, kindSmall};
    for (int nLevel = 0; nLevel < 4; ++nLevel) {
        SCOPED_TRACE(nLevel);
        Command(CTabWnd::ID_EDIT_PAGE_TAB);
        CDialogAnswerer answerer;
        std::vector<int> levels(4, 0);
        levels[static_cast<size_t>(nLevel)] = 1;
        Answer(answerer, levels, false);
        Command(ID_SUMMARY_TABLE);
        const CGridRowArray& rows = m_pView->GetSummaryRows();
        auto kindOf = [&](int r) {
            const CGridRow* pRow = rows.GetRow(r);
            return pRow != nullptr ? EditPageKindOf(pRow->GetKind()) : kindEmpty;
        };
        int nTotals = 0;
        for (int t = 0; t < rows.GetSize(); ++t) {
            const ERowKind k = kindOf(t);
            if (!IsTotalKind(k))
                continue;
            ++nTotals;
            // The block of a heading's total starts at its heading; the grand total's at the top.
            int nStart = 0;
            if (k != kindGrandTotal) {
                nStart = t - 1;
                while (nStart >= 0 && kindOf(nStart) != k - kindTotalOffset)
                    --nStart;
                ASSERT_GE(nStart, 0) << "the heading of the total in summary row " << t;
            }
            for (int nCol : {static_cast<int>(scAmount), static_cast<int>(scCost)}) {
                double lines = 0;
                for (int r = nStart; r < t; ++r) {
                    // Totals within the block add up lines already counted.
                    if (!IsTotalKind(kindOf(r)) && rows.GetRow(r) != nullptr)
                        lines += atof(rows.GetRow(r)->m_strCell[nCol].c_str());
                }
                EXPECT_DOUBLE_EQ(atof(rows.GetRow(t)->m_strCell[nCol].c_str()), lines)
                    << "summary row " << t << " (kind " << k << "), column " << nCol;
            }
        }
        EXPECT_GE(nTotals, 1);
        // Each heading of the level is a line of its own.
        int nHeadings = 0;
        for (int r = 0; r < rows.GetSize(); ++r)
            nHeadings += kindOf(r) == nLevelKinds[nLevel] ? 1 : 0;
        EXPECT_GE(nHeadings, 1);
    }
}

// A column worked out as a sum over cells a heading's line leaves empty (the cost unit price
// plus a fixed charge) and carried to the summary: each heading's line keeps the amount of
// its total, the formula finding none of its numbers there.
TEST_F(SummaryTableTest, ALineWithoutTheFormulasNumbersKeepsTheAmountOfItsTotal)
{
    CEstimationFormFile& form = const_cast<CEstimationFormFile&>(m_pView->GetEstimationForm());
    form.SetItem(scNote, 1, CString::FromUtf8("計 A"));
    form.SetItem(scNote, 4, "g+1000");
    form.SetItem(scNote, CEstimationFormFile::colV, "1");
    m_pView->RecalcAll();
    int nTotal = srLarge + 1;
    while (nTotal < m_pView->GetUsedRows() && m_pView->GetRowKind(nTotal) != kindLargeTotal)
        ++nTotal;
    ASSERT_LT(nTotal, m_pView->GetUsedRows());
    const std::string total = Cell(nTotal, scNote);
    ASSERT_GT(atof(total.c_str()), 1000.0);

    CDialogAnswerer answerer;
    Answer(answerer, {0, 1, 0, 0}, false);
    Command(ID_SUMMARY_TABLE);
    const CGridRowArray& rows = m_pView->GetSummaryRows();
    int nLine = 0;
    while (nLine < rows.GetSize() &&
           (rows.GetRow(nLine) == nullptr || rows.GetRow(nLine)->GetKind() != SummaryKindOf(kindLarge)))
        ++nLine;
    ASSERT_LT(nLine, rows.GetSize());
    EXPECT_EQ(rows.GetRow(nLine)->m_strCell[scName].str(), Cell(srLarge, scName));
    EXPECT_EQ(rows.GetRow(nLine)->m_strCell[scNote].str(), total);
}

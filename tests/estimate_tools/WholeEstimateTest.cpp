// A whole estimate built as an estimator builds it, through the menus' commands, their
// dialogs and the keyboard only, from a new estimate with the sample masters and forms;
// saved, closed and opened again, it comes back cell for cell with its information sheet.
#include "app/CMorvelApp.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CClassifyDialogs.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "grid/CTabWnd.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CNewTypeDialog.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WholeEstimateTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        CPickListFlags::Get() = CPickListFlags{};
    }

    std::vector<std::string> Snapshot() const
    {
        std::vector<std::string> cells;
        for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
            cells.push_back("#" + std::to_string(m_pView->GetRowKind(r)));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                cells.push_back(Cell(r, c) + "@" + std::to_string(m_pView->GetCellIndent(r, c)));
        }
        for (int i = 0; i < m_pView->GetModel().GetInformationCount(); ++i)
            cells.push_back("info " + m_pView->GetModel().GetInformation(i).str());
        const CMorvelEMView::CSubjectNumbering& n = m_pView->GetModel().GetNumbering();
        cells.push_back("numbering " + std::to_string(n.nShown) + std::to_string(n.nColumn) +
                        std::to_string(n.nKindStyle) + std::to_string(n.nLargeStyle) +
                        std::to_string(n.nMiddleStyle) + std::to_string(n.nSmallStyle) +
                        std::to_string(n.nMode));
        return cells;
    }

    // A subject picked from the level's list (the first entry unless told).
    void PickSubject(UINT nCommand, ERowKind nHeading, int nEntry = 0)
    {
        Command(nCommand);
        auto* pPick =
            dynamic_cast<CSubjectPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::PickOfHeading(nHeading)));
        ASSERT_NE(pPick, nullptr);
        pPick->List().SetItemState(nEntry, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ClickDlgButton(*pPick, IDOK);
        Pump();
    }

    // A detail typed cell by cell, its unit picked from the unit list with Enter.
    void Detail(int nRow, const char* name, const char* qty, int nUnit, const char* price, const char* klass)
    {
        GoTo(scName, nRow);
        TypeUtf8(name);
        Key(VK_RETURN);
        GoTo(scQty, nRow);
        TypeUtf8(qty);
        Key(VK_RETURN);
        GoTo(scUnit, nRow);
        Key(VK_RETURN);
        auto* pUnits = dynamic_cast<CUnitPickDialog*>(m_pView->GetPickDialog(CMorvelEMView::pickUnit));
        ASSERT_NE(pUnits, nullptr);
        pUnits->List().SetItemState(nUnit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ClickDlgButton(*pUnits, IDOK);
        Pump();
        GoTo(scPrice, nRow);
        TypeUtf8(price);
        Key(VK_RETURN);
        GoTo(scClass, nRow);
        TypeUtf8(klass);
        Key(VK_RETURN);
    }
};

} // namespace

// A new estimate saved as it opens, with no row, at every recalculation level: the save
// works out the figures of no rows, and the file opens again as the same empty estimate.
TEST_F(WholeEstimateTest, ANewEmptyEstimateSavesAndOpensAgainAtEveryLevel)
{
    for (const char* level : {"1", "2", "3"}) {
        SCOPED_TRACE(level);
        m_pFolder->Profile().WriteProfileString("ReCalcSetting", "Level", level);
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_NEWTYPEDLG, [](CDialog& dlg) {
            SelectDlgItem(dlg, CNewTypeDialog::IDC_TYPE_LIST, 0);
            ClickDlgButton(dlg, IDOK);
        });
        answerer.AnswerDialog(IDD_INFORMATION_INPUT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        m_pApp->OnFileNew();
        Pump();
        auto* pMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        ASSERT_NE(pMain, nullptr);
        m_pDoc = dynamic_cast<CMorvelEMDoc*>(pMain->GetActiveFrame()->GetActiveDocument());
        ASSERT_NE(m_pDoc, nullptr);
        m_pView = m_pDoc->GetEstimateView();
        ASSERT_NE(m_pView, nullptr);
        ASSERT_EQ(m_pView->GetRecalcLevel(), level[0] - '0');
        ASSERT_EQ(0, m_pView->GetUsedRows());
        const std::vector<std::string> before = Snapshot();

        const CString path = m_pFolder->System(std::string("WORK/EMPTY") + level + ".MMD");
        answerer.AnswerFileDialog(path);
        Command(ID_FILE_SAVE);
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
        EXPECT_FALSE(IsModified());
        EXPECT_TRUE(FileExists(path));
        m_pDoc->OnCloseDocument();
        m_pDoc = nullptr;
        m_pView = nullptr;
        Pump();
        ASSERT_NE(OpenEstimate(path), nullptr);
        EXPECT_EQ(0, m_pView->GetUsedRows());
        EXPECT_EQ(before, Snapshot());
        m_pDoc->OnCloseDocument();
        m_pDoc = nullptr;
        m_pView = nullptr;
        Pump();
    }
}

TEST_F(WholeEstimateTest, BuiltWithCommandsDialogsAndKeysItSavesAndReopensIdentical)
{
    CDialogAnswerer answerer;
    // A new estimate opens with its information sheet.
    answerer.AnswerDialog(AFX_IDD_NEWTYPEDLG, [](CDialog& dlg) {
        SelectDlgItem(dlg, CNewTypeDialog::IDC_TYPE_LIST, 0);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [](CDialog& dlg) {
        auto press = [&](UINT nKey) { dlg.GetDlgItem(IDC_INFO_EDIT)->SendMessage(WM_KEYDOWN, nKey, 0); };
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "山田建設株式会社"_sj);
        press(VK_TAB);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "山田邸新築工事"_sj);
        press(VK_TAB);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "東京都港区"_sj);
        press(VK_TAB);
        TypeDlgItemText(dlg, IDC_INFO_EDIT, "2026/12/07");
        ClickDlgButton(dlg, IDOK);
    });
    m_pApp->OnFileNew();
    Pump();
    auto* pMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    ASSERT_NE(pMain, nullptr);
    m_pDoc = dynamic_cast<CMorvelEMDoc*>(pMain->GetActiveFrame()->GetActiveDocument());
    ASSERT_NE(m_pDoc, nullptr);
    m_pView = m_pDoc->GetEstimateView();
    ASSERT_NE(m_pView, nullptr);
    ASSERT_EQ(0, m_pView->GetUsedRows());
    EXPECT_EQ("山田建設株式会社", m_pView->GetModel().GetInformation(0).ToUtf8());
    EXPECT_EQ("2026/12/07", m_pView->GetModel().GetInformation(3).str());

    // 0 the kind heading, 1-3 large, middle and small subjects from the masters.
    GoTo(scName, 0);
    answerer.AnswerDialog(IDD_KIND_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "建築工事"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_KIND_INPUT);
    PickSubject(ID_PICK_LARGE, kindLarge);
    PickSubject(ID_PICK_MIDDLE, kindMiddle);
    PickSubject(ID_PICK_SMALL, kindSmall);
    ASSERT_EQ(4, m_pView->GetCurrentRow());
    // 4-5 details; 6 a discount; 7 the small subtotal; 8 its discount total.
    Detail(4, "基礎コンクリート", "12.5", 2, "18000", "材");
    Detail(5, "型枠", "40", 1, "4500", "材");
    GoTo(scName, 6);
    answerer.AnswerDialog(IDD_DISCOUNT_INPUT, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "-5,000");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_DISCOUNT_INPUT);
    Command(ID_TOTAL_SMALL);
    answerer.AnswerDialog(IDD_DISCOUNT_TOTAL, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    Command(ID_TOTAL_DISCOUNT);
    // 9 middle and 10 large subtotals; 11 a classification total of 5 % on "材".
    Command(ID_TOTAL_MIDDLE);
    Command(ID_TOTAL_LARGE);
    answerer.AnswerDialog(IDD_CLASS_RATE, [](CDialog& dlg) {
        auto& rate = static_cast<CClassRateDialog&>(dlg);
        rate.List().SetItemState(5, LVIS_SELECTED | LVIS_FOCUSED,
                                 LVIS_SELECTED | LVIS_FOCUSED); // 共通仮設費 5
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_CLASS_TOTAL, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_2);
        TypeDlgItemText(dlg, IDC_ROW_TEXT, "材"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_CLASSIFY_TOTAL);
    // 12 the kind total, 13 the grand total, 14 the consumption tax.
    GoTo(scName, 12);
    Command(ID_TOTAL_KIND);
    Command(ID_TOTAL_GRAND);
    Command(ID_TAX_ROW);
    // Subject numbers with the sheet's settings.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    Command(ID_SUBJECT_NO);
    // The summary page of large and middle subjects.
    answerer.AnswerDialog(IDD_SUMMARY, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    Command(ID_SUMMARY_TABLE);
    ASSERT_TRUE(m_pView->IsSummaryPageShown());
    const CGridRowArray& summary = m_pView->GetSummaryRows();
    ASSERT_GE(summary.GetSize(), 4);
    EXPECT_EQ(kindKind + 100, summary.GetRow(0)->GetKind());
    EXPECT_EQ(kindLarge + 100, summary.GetRow(1)->GetKind());
    EXPECT_EQ("1", summary.GetRow(1)->m_strCell[scQty].str());
    EXPECT_DOUBLE_EQ(400000.0, atof(summary.GetRow(1)->m_strCell[scAmount].c_str()));
    EXPECT_EQ(kindKindTotal + 100, summary.GetRow(2)->GetKind());
    Command(CTabWnd::ID_EDIT_PAGE_TAB);
    // The information sheet again: the amounts are taken in.
    answerer.AnswerDialog(IDD_INFORMATION_INPUT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    Command(ID_INFORMATION_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());

    // The rows as a person reads them.
    const int expectedKinds[] = {kindKind,        kindLarge,      kindMiddle,
                                 kindSmall,       kindDetail,     kindDetail,
                                 kindDiscount,    kindSmallTotal, kindSmallDiscountTotal,
                                 kindMiddleTotal, kindLargeTotal, kindClassify,
                                 kindKindTotal,   kindGrandTotal, kindFree};
    ASSERT_EQ(15, m_pView->GetUsedRows());
    for (int r = 0; r < 15; ++r)
        EXPECT_EQ(expectedKinds[r], m_pView->GetRowKind(r)) << r;
    CMorvelApp& app = *m_pApp;
    EXPECT_EQ("建築工事", Utf8Cell(0, scName));
    EXPECT_EQ("式", Utf8Cell(0, scUnit));
    EXPECT_EQ(app.m_subjectFile.GetName(CSubjectFile::levelLarge, 0).str(), Cell(1, scName));
    EXPECT_EQ(app.m_subjectFile.GetName(CSubjectFile::levelMiddle, 0).str(), Cell(2, scName));
    EXPECT_EQ(app.m_subjectFile.GetName(CSubjectFile::levelSmall, 0).str(), Cell(3, scName));
    EXPECT_EQ(app.m_unitFile.GetUnit(2).str(), Cell(4, scUnit));
    EXPECT_EQ(app.m_unitFile.GetUnit(1).str(), Cell(5, scUnit));
    // 12.5 x 18,000 = 225,000; 40 x 4,500 = 180,000; the discount -5,000.
    EXPECT_DOUBLE_EQ(225000.0, Value(4, scAmount));
    EXPECT_DOUBLE_EQ(180000.0, Value(5, scAmount));
    EXPECT_DOUBLE_EQ(-5000.0, Value(6, scAmount));
    EXPECT_DOUBLE_EQ(400000.0, Value(7, scAmount));
    EXPECT_DOUBLE_EQ(-5000.0, Value(8, scAmount));
    EXPECT_DOUBLE_EQ(400000.0, Value(9, scAmount));
    EXPECT_DOUBLE_EQ(400000.0, Value(10, scAmount));
    // 5 % of the two "材" details.
    EXPECT_DOUBLE_EQ(20250.0, Value(11, scAmount));
    EXPECT_DOUBLE_EQ(420250.0, Value(13, scAmount));
    // 8 % of 420,250, cut to yen by the amount column.
    EXPECT_DOUBLE_EQ(33620.0, Value(14, scAmount));
    EXPECT_EQ(1, m_pView->GetModel().GetNumbering().nShown);
    // The sheet's amounts: with tax, tax, without tax.
    EXPECT_DOUBLE_EQ(420250.0 + 33620.0, atof(m_pView->GetModel().GetInformation(9).c_str()));
    EXPECT_DOUBLE_EQ(33620.0, atof(m_pView->GetModel().GetInformation(8).c_str()));
    EXPECT_DOUBLE_EQ(420250.0, atof(m_pView->GetModel().GetInformation(7).c_str()));

    // Save under a name, close, open again.
    const std::vector<std::string> before = Snapshot();
    const CString path = m_pFolder->System("WORK/山田邸.MMD");
    answerer.AnswerFileDialog(path);
    Command(ID_FILE_SAVE);
    EXPECT_FALSE(IsModified());
    m_pDoc->OnCloseDocument();
    m_pDoc = nullptr;
    m_pView = nullptr;
    Pump();
    ASSERT_NE(OpenEstimate(path), nullptr);
    EXPECT_EQ(before, Snapshot());
    EXPECT_FALSE(IsModified());
}

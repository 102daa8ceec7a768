// The master pages of the setup sheet, driven through the real sheet as a user would:
// grid rows numbered from 1 map onto the tables' entries from 0 (first and last row), a
// file that cannot be written is reported without losing the typed data, and the subject
// page's levels.
#include "app/CMorvelApp.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "resources/SetupIds.h"
#include "setup/CIntroductionDialog.h"
#include "setup/SetupRegistration.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/setup/SetupTestSupport.h"
#include "tests/support/NumberInputTexts.h"

#include <gtest/gtest.h>

#include <QLabel>

#include <filesystem>

namespace {

// A started application on a copy of the samples, with the setup sheets registered.
class MasterPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSetup();
        ASSERT_TRUE(app.Start());
    }
    CMorvelApp& App() { return app.App(); }
    std::string Master(const char* name) const { return folder.Native(std::string("MASTER/") + name); }

    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
};

CUnitFile ReadUnits(const std::string& nativePath)
{
    CUnitFile units;
    CFile f(SystemPathFromNative(nativePath), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    EXPECT_EQ(units.Serialize(ar), 0);
    return units;
}

} // namespace

TEST_F(MasterPagesTest, TheFirstAndTheLastGridRowAreTheFirstAndTheLastTableEntries)
{
    const CString firstBefore = App().m_unitFile.GetUnit(0);
    CIntroductionDialog sheet("導入処理"_sj, "Unit", nullptr, 0);
    // Opened alone at start-up the grid starts empty; the user fills row 1, jumps to the
    // last row with PgDn and fills it.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = sheet.m_unitsPage;
        EXPECT_EQ(page.CellText(1, 1), "");
        TypeCell(page.Editor(), "最初"_sj);
        for (int i = 0; i < 200; ++i)
            PressKey(page.Editor(), VK_NEXT);
        EXPECT_EQ(page.GetCurrentRow(), 999);
        // The view has followed: the last row is on the screen.
        EXPECT_GT(page.Grid().GetTopRow(), 900);
        TypeCell(page.Editor(), "最後"_sj);
        PressKey(page.Editor(), VK_DOWN); // stays on the last row
        EXPECT_EQ(page.GetCurrentRow(), 999);
        EXPECT_EQ(page.CellText(999, 1), "最後"_sj);
        // Row 998 and the rows between are empty, yet the count runs to the last name.
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_NE(firstBefore, "最初"_sj);
    ASSERT_EQ(App().m_unitFile.GetCount(), 999);
    EXPECT_EQ(App().m_unitFile.GetUnit(0), "最初"_sj);
    EXPECT_EQ(App().m_unitFile.GetUnit(1), "");
    EXPECT_EQ(App().m_unitFile.GetUnit(998), "最後"_sj);
    const CUnitFile written = ReadUnits(Master("tanni.MTD"));
    ASSERT_EQ(written.GetCount(), 999);
    EXPECT_EQ(written.GetUnit(0), "最初"_sj);
    EXPECT_EQ(written.GetUnit(998), "最後"_sj);
}

TEST_F(MasterPagesTest, TheTableShowsFromRowOneAndRowCommandsKeepEveryRow)
{
    const int nCount = App().m_unitFile.GetCount();
    ASSERT_GT(nCount, 3);
    const CString first = App().m_unitFile.GetUnit(0);
    const CString second = App().m_unitFile.GetUnit(1);
    const CString last = App().m_unitFile.GetUnit(nCount - 1);
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = sheet.m_unitsPage;
        EXPECT_EQ(page.CellText(0, 0), "No.");
        EXPECT_EQ(page.CellText(1, 0), "1");
        EXPECT_EQ(page.CellText(1, 1), first);
        EXPECT_EQ(page.CellText(nCount, 1), last);
        EXPECT_EQ(page.CellText(nCount + 1, 1), "");
        // Insert a row at row 1: everything moves down one.
        page.SendMessage(WM_COMMAND, ID_GRID_ROW_INSERT);
        EXPECT_EQ(page.CellText(1, 1), "");
        EXPECT_EQ(page.CellText(2, 1), first);
        EXPECT_EQ(page.CellText(nCount + 1, 1), last);
        // Type a new first unit, cut the second row (the old first) and paste it back on
        // row 3 after inserting there.
        TypeCell(page.Editor(), "新単位"_sj);
        PressKey(page.Editor(), VK_DOWN);
        // Typed over a unit, a text replaces it (the old first unit, kept).
        TypeKeys(page.Editor(), "別単位"_sj);
        PressKey(page.Editor(), VK_UP);
        EXPECT_EQ(page.CellText(2, 1), "別単位"_sj);
        PressKey(page.Editor(), VK_DOWN);
        TypeKeys(page.Editor(), first);
        page.SendMessage(WM_COMMAND, ID_ROW_CUT);
        EXPECT_EQ(page.CellText(2, 1), second);
        EXPECT_EQ(page.CellText(nCount + 1, 1), "");
        page.SendMessage(WM_COMMAND, ID_GRID_ROW_INSERT);
        page.SendMessage(WM_COMMAND, ID_ROW_PASTE);
        EXPECT_EQ(page.CellText(2, 1), first);
        EXPECT_EQ(page.CellText(3, 1), second);
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    ASSERT_EQ(App().m_unitFile.GetCount(), nCount + 1);
    EXPECT_EQ(App().m_unitFile.GetUnit(0), "新単位"_sj);
    EXPECT_EQ(App().m_unitFile.GetUnit(1), first);
    EXPECT_EQ(App().m_unitFile.GetUnit(nCount), last);
    EXPECT_EQ(ReadUnits(Master("tanni.MTD")).GetCount(), nCount + 1);
}

// A row inserted where the user is typing, below every row that holds text, takes the
// typed text down with the row instead of dropping it.
TEST_F(MasterPagesTest, InsertingARowMovesTheTextBeingTypedDownWithIt)
{
    const int nCount = App().m_unitFile.GetCount();
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CUnitsDialog& page = sheet.m_unitsPage;
        while (page.GetCurrentRow() <= nCount)
            PressKey(page.Editor(), VK_DOWN);
        TypeCell(page.Editor(), "新単位"_sj);
        page.SendMessage(WM_COMMAND, ID_GRID_ROW_INSERT);
        EXPECT_EQ(page.CellText(nCount + 1, 1), "");
        EXPECT_EQ(page.CellText(nCount + 2, 1), "新単位"_sj);
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
}

// A right click opens the row menu on the row clicked, and 行切り取り moves every row below
// it up whole: names typed below the table without their second column (a classification
// without its percentage, a subject without its unit) are neither emptied nor cut instead.
TEST_F(MasterPagesTest, RowCutFromTheRightClickMenuMovesTheRowsBelowUpWhole)
{
    const int nClasses = App().m_classifyFile.GetCount();
    const int nLarge = App().m_subjectFile.GetCount(0);
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        const std::pair<CMasterPage*, int> pages[] = {{&sheet.m_divisionPage, nClasses},
                                                      {&sheet.m_subjectPage, nLarge}};
        for (const auto& [pPage, n] : pages) {
            ASSERT_TRUE(sheet.SetActivePage(pPage));
            const CString fourth = pPage->CellText(4, 1);
            ClickGridCell(pPage->Grid(), n + 1, 1);
            TypeCell(pPage->Editor(), "名前だけ一"_sj);
            PressKey(pPage->Editor(), VK_DOWN);
            TypeCell(pPage->Editor(), "名前だけ二"_sj);
            // The second column of row 3, where the table's second column still has text.
            RightClickGridCell(pPage->Grid(), 3, 2, ID_ROW_CUT);
            EXPECT_EQ(pPage->GetCurrentRow(), 3);
            EXPECT_EQ(pPage->GetCurrentCol(), 2);
            EXPECT_EQ(pPage->CellText(3, 1), fourth);
            EXPECT_EQ(pPage->CellText(n, 1), "名前だけ一"_sj);
            EXPECT_EQ(pPage->CellText(n, 2), "");
            EXPECT_EQ(pPage->CellText(n + 1, 1), "名前だけ二"_sj);
        }
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    ASSERT_EQ(App().m_classifyFile.GetCount(), nClasses + 1);
    EXPECT_EQ(App().m_classifyFile.GetName(nClasses), "名前だけ二"_sj);
    ASSERT_EQ(App().m_subjectFile.GetCount(0), nLarge + 1);
    EXPECT_EQ(App().m_subjectFile.GetName(0, nLarge - 1), "名前だけ一"_sj);
}

TEST_F(MasterPagesTest, AFileThatCannotBeWrittenIsReportedTheSheetStaysOpenAndNothingTypedIsLost)
{
    // The masters' folder is gone (a removed stick): nothing can be written there.
    std::filesystem::remove_all(folder.Native("MASTER"));
    CIntroductionDialog sheet("導入処理"_sj, "Division", nullptr, 0);
    bool bStillOpen = false;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CDivisionDialog& page = sheet.m_divisionPage;
        TypeCell(page.Editor(), "材料費"_sj);
        PressKey(page.Editor(), VK_TAB);
        TypeCell(page.Editor(), "７０"_sj); // full-width digits become "70"
        PressKey(page.Editor(), VK_TAB);
        ClickDlgButton(dlg, IDOK);
        bStillOpen = dlg.IsModalRunning() != FALSE;
        EXPECT_EQ(page.CellText(1, 1), "材料費"_sj);
        // The folder is back: OK now writes.
        std::filesystem::create_directories(folder.Native("MASTER"));
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(bStillOpen);
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(answerer.MessageBoxTexts()[0].Left(10), "分類ﾌｧｲﾙに"_sj);
    ASSERT_EQ(App().m_classifyFile.GetCount(), 1);
    EXPECT_EQ(App().m_classifyFile.GetName(0), "材料費"_sj);
    EXPECT_EQ(App().m_classifyFile.GetPercent(0), "70");
    EXPECT_TRUE(std::filesystem::exists(Master("bunrul.MRD")));
}

// The classification's percentage reads a number as every number cell reads one
// (tests/support/NumberInputTexts.h): kept in plain ASCII; a word is kept as it is typed.
TEST_F(MasterPagesTest, APercentageIsReadAsEveryNumberCellReadsANumber)
{
    CIntroductionDialog sheet("導入処理"_sj, "Division", nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CDivisionDialog& page = sheet.m_divisionPage;
        for (const CNumberInputText& t : NumberInputTexts()) {
            TypeCell(page.Editor(), "分類"_sj);
            PressKey(page.Editor(), VK_TAB);
            TypeCell(page.Editor(), CString::FromUtf8(t.utf8));
            PressKey(page.Editor(), VK_TAB);
        }
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    ASSERT_EQ(App().m_classifyFile.GetCount(), static_cast<int>(NumberInputTexts().size()));
    for (int i = 0; i < App().m_classifyFile.GetCount(); ++i) {
        const CNumberInputText& t = NumberInputTexts()[static_cast<size_t>(i)];
        const CString percent = App().m_classifyFile.GetPercent(i);
        if (t.bNumber) {
            EXPECT_TRUE(CNumberRules::IsNumberText(percent)) << t.utf8 << ": " << percent.ToUtf8();
            EXPECT_DOUBLE_EQ(t.value, std::atof(percent)) << t.utf8;
        } else {
            EXPECT_EQ(t.utf8, percent.ToUtf8());
        }
    }
}

TEST_F(MasterPagesTest, SubjectLevelsKeepTheirEditsAcrossSwitchesAndAreWrittenTogether)
{
    const CString large0 = App().m_subjectFile.GetName(0, 0);
    const CString middle0 = App().m_subjectFile.GetName(1, 0);
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(1));
        CSubjectDialog& page = sheet.m_subjectPage;
        EXPECT_EQ(page.CellText(1, 1), large0);
        TypeCell(page.Editor(), "大の変更"_sj);
        ClickDlgButton(page, IDC_SUBJECT_MIDDLE);
        EXPECT_EQ(page.CellText(1, 1), middle0);
        TypeCell(page.Editor(), "中の変更"_sj);
        ClickDlgButton(page, IDC_SUBJECT_LARGE);
        EXPECT_EQ(page.CellText(1, 1), "大の変更"_sj);
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    for (int n : {0, 1}) {
        CSubjectFile level;
        CFile f(SystemPathFromNative(Master(n == 0 ? "kamoku.MKB" : "kamoku.MKM")), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        ASSERT_EQ(level.SerializeLevel(n, ar), 0);
        EXPECT_EQ(level.GetName(n, 0), n == 0 ? "大の変更"_sj : "中の変更"_sj);
    }
}

TEST_F(MasterPagesTest, CancelOfTheSinglePageAtStartupLeavesAnEmptyFile)
{
    folder.RemoveFile("MASTER/KAMOKU.MKS");
    CIntroductionDialog sheet("導入処理"_sj, "SubjectSmall", nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        EXPECT_FALSE(sheet.m_subjectPage.GetDlgItem(IDC_SUBJECT_LARGE)->IsWindowVisible());
        ClickDlgButton(dlg, IDCANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    CSubjectFile level;
    CFile f(SystemPathFromNative(Master("kamoku.MKS")), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    ASSERT_EQ(level.SerializeLevel(2, ar), 0);
    EXPECT_EQ(level.GetCount(2), 0);
}

// Every page names its file in one line inside its own frame, in this system's form,
// shortened in the middle when the folder is long, so that the file name always shows;
// each page has its editor class of its own.
TEST_F(MasterPagesTest, ThePathLabelOfEveryPageFitsAndEndsInTheFileName)
{
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        const struct {
            CPropertyPage* pPage;
            UINT nRightEdge; // the scroll bar at the grid's right, inside the page's frame
            const char* file;
            const char* editor;
        } pages[] = {
            {&sheet.m_unitsPage, IDC_MASTER_VSCROLL, "TANNI.MTD", "CUnitsCellEdit"},
            {&sheet.m_subjectPage, IDC_MASTER_VSCROLL, "KAMOKU.MKB", "CSubjectCellEdit"},
            {&sheet.m_divisionPage, IDC_MASTER_VSCROLL, "BUNRUL.MRD", "CDivisionCellEdit"},
            {&sheet.m_estimationPage, IDC_FORM_VSCROLL, "meisai.MMK", "CEstimationCellEdit"},
            {&sheet.m_partsPage, IDC_FORM_VSCROLL, "BUZAI.MBK", "CPartsCellEdit"},
            {&sheet.m_informationPage, IDC_FORM_VSCROLL, "JYOUHOU.MJK", "CInformationFormCellEdit"},
        };
        for (const auto& page : pages) {
            ASSERT_TRUE(sheet.SetActivePage(page.pPage));
            CWnd* pLabel = page.pPage->GetDlgItem(IDC_PATH_LABEL);
            ASSERT_NE(pLabel, nullptr);
            CRect rcLabel, rcEdge;
            pLabel->GetWindowRect(&rcLabel);
            page.pPage->GetDlgItem(page.nRightEdge)->GetWindowRect(&rcEdge);
            EXPECT_LE(rcLabel.right, rcEdge.right) << page.file;
            auto* pShown = qobject_cast<QLabel*>(pLabel->GetWidget());
            ASSERT_NE(pShown, nullptr);
            const QString shown = pShown->text();
            EXPECT_LE(pShown->fontMetrics().horizontalAdvance(shown), pShown->contentsRect().width())
                << page.file;
            EXPECT_TRUE(shown.startsWith('/') || shown.startsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(shown.endsWith(QString::fromUtf8(page.file), Qt::CaseInsensitive))
                << shown.toStdString();
            EXPECT_STREQ(page.pPage->GetDlgItem(IDC_CELL_EDIT)->GetRuntimeClass()->m_lpszClassName,
                         page.editor);
        }
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
}

namespace {

// The width of the editor laid over the current cell, and the width of that cell inside
// its grid lines as the grid draws it.
struct CEditorFit {
    long nEditor;
    long nCell;
};
CEditorFit FitOfEditor(CGridCtrl& grid, CWnd& editor, int nCol)
{
    CRect rcEditor;
    editor.GetWindowRect(&rcEditor);
    const short c = static_cast<short>(nCol);
    const long nNextPos = c + 1 < grid.GetCols() ? grid.GetColPos(static_cast<short>(c + 1))
                                                 : grid.GetColPos(c) + (grid.GetColWidth(c) / 15 + 1) * 15;
    return {rcEditor.Width(), (nNextPos - grid.GetColPos(c)) / 15 - 1};
}

} // namespace

// The editor covers the current cell and leaves the grid line beside it showing, so that
// it never seems to reach over the next cell, whatever the column's width in twips: on
// the classification page opened alone at start-up and in the whole sheet, and on a
// form page.
TEST_F(MasterPagesTest, TheEditorCoversTheCurrentCellOnly)
{
    {
        CIntroductionDialog sheet("導入処理"_sj);
        answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
            ASSERT_TRUE(sheet.SetActivePage(&sheet.m_divisionPage));
            CDivisionDialog& page = sheet.m_divisionPage;
            for (int nCol = 1; nCol <= 2; ++nCol) {
                const CEditorFit fit = FitOfEditor(page.Grid(), page.Editor(), page.GetCurrentCol());
                EXPECT_EQ(fit.nEditor, fit.nCell) << "column " << nCol;
                page.MoveCell(CSetupCellEdit::keyTab);
            }
            ASSERT_TRUE(sheet.SetActivePage(&sheet.m_estimationPage));
            CFormPage& form = sheet.m_estimationPage;
            while (form.GetCurrentCol() < 4) // 1930 twips wide
                form.MoveCell(CSetupCellEdit::keyTab);
            const CEditorFit fit = FitOfEditor(form.Grid(), form.Editor(), form.GetCurrentCol());
            EXPECT_EQ(fit.nEditor, fit.nCell);
            ClickDlgButton(dlg, IDCANCEL);
        });
        sheet.DoModal();
    }

    folder.RemoveFile("MASTER/BUNRUL.MRD");
    CIntroductionDialog single("導入処理"_sj, "Division", nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CDivisionDialog& page = single.m_divisionPage;
        EXPECT_EQ(page.GetCurrentRow(), 1);
        const CEditorFit fit = FitOfEditor(page.Grid(), page.Editor(), page.GetCurrentCol());
        EXPECT_EQ(fit.nEditor, fit.nCell);
        ClickDlgButton(dlg, IDCANCEL);
    });
    single.DoModal();
}

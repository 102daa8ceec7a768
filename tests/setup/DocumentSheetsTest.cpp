// The sheets the document windows open, in the running program: "導入処理" of the parts
// window and of both print-layout windows shows copies of the document's forms with one
// "OK" button and changes nothing; "環境設定" of the estimate and parts grids runs the
// sheet for their kind, and the open lists of that kind take the new fonts at once, the
// estimates a new tax rate.
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/PrintFormRegistration.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsRegistration.h"
#include "platform/base/Path.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "resources/ResourceIds.h"
#include "resources/SetupIds.h"
#include "setup/CEnvironmentDialog.h"
#include "setup/CIntroductionDialog.h"
#include "setup/SetupRegistration.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/setup/SetupTestSupport.h"

#include "tests/support/RealInput.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

class DocumentSheetsTest : public ::testing::Test {
protected:
    DocumentSheetsTest() : m_savedServices(CShellServices::Get()) {}
    ~DocumentSheetsTest() override { CShellServices::Get() = m_savedServices; }

    void SetUp() override
    {
        const fs::path work = fs::path(SamplesFolder()) / "WORK";
        fs::copy_file(work / "部材処理.MBD", folder.Native("WORK/部材処理.MBD"));
        fs::copy_file(work / "部材処理.MBD", folder.Native("WORK/部材2.MBD"));
        fs::copy_file(work / "サンプル見積.MMD", folder.Native("WORK/見積1.MMD"));
        fs::copy_file(work / "サンプル見積.MMD", folder.Native("WORK/見積2.MMD"));
        RegisterEstimate();
        RegisterEstimateTools();
        RegisterParts();
        RegisterDrawing();
        RegisterPrintForm();
        RegisterSetup();
        ASSERT_TRUE(app.Start());
        app->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    CMorvelApp& App() { return app.App(); }
    CDocument* Open(const std::string& relative)
    {
        CDocument* pDoc = App().OpenDocumentFile(folder.System(relative));
        Pump();
        return pDoc;
    }
    template <class TView>
    static TView* ViewOf(CDocument* pDoc)
    {
        POSITION pos = pDoc ? pDoc->GetFirstViewPosition() : nullptr;
        while (pos) {
            if (auto* pView = dynamic_cast<TView*>(pDoc->GetNextView(pos)))
                return pView;
        }
        return nullptr;
    }
    // The window of the document's first view, made the active document window.
    static CFrameWnd* ActivateFrameOf(CDocument* pDoc)
    {
        POSITION pos = pDoc->GetFirstViewPosition();
        CView* pView = pos ? pDoc->GetNextView(pos) : nullptr;
        CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr;
        if (pFrame)
            static_cast<CMDIFrameWnd*>(AfxGetMainWnd())->MDIActivate(pFrame);
        return pFrame;
    }
    // Names and modification times of the files of the forms folder.
    std::map<std::string, fs::file_time_type> FormFolder() const
    {
        std::map<std::string, fs::file_time_type> files;
        for (const auto& entry : fs::directory_iterator(folder.Native("FORM")))
            files[entry.path().filename().string()] = entry.last_write_time();
        return files;
    }

    CShellServices m_savedServices;
    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
};

} // namespace

TEST_F(DocumentSheetsTest, ThePartsWindowsImportSheetShowsTheListsFormAndChangesNothing)
{
    auto* pDoc = dynamic_cast<CMorvelPMDoc*>(Open("WORK/部材処理.MBD"));
    ASSERT_NE(pDoc, nullptr);
    // The list carries a form of its own, different from the application's.
    pDoc->m_form.SetItem(0, 0, "文書の部材"_sj);
    const CString appFirst = App().m_partForm.GetItem(0, 0);
    ASSERT_NE(appFirst, "文書の部材"_sj);
    const auto formsBefore = FormFolder();
    CFrameWnd* pFrame = ActivateFrameOf(pDoc);
    ASSERT_NE(pFrame, nullptr);
    int nRuns = 0;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        auto* pSheet = dynamic_cast<CIntroductionDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        EXPECT_EQ(pSheet->m_nSetup, 0);
        ASSERT_EQ(pSheet->GetPageCount(), 2); // units, parts form
        EXPECT_EQ(pSheet->GetPage(0), &pSheet->m_unitsPage);
        EXPECT_EQ(pSheet->GetPage(1), &pSheet->m_partsPage);
        EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowVisible());
        CString text;
        dlg.GetDlgItemText(IDCANCEL, text);
        EXPECT_EQ(text, "OK");
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_partsPage));
        EXPECT_EQ(pSheet->m_partsPage.CellText(1, 1), "文書の部材"_sj);
        // The file the form came from, as a path of this machine.
        CString label;
        pSheet->m_partsPage.GetDlgItemText(IDC_PATH_LABEL, label);
        EXPECT_EQ(label.ToUtf8(), folder.Native("FORM") + "/" + pDoc->m_strFormName.ToUtf8());
        ClickDlgButton(dlg, IDCANCEL);
    });
    pFrame->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(nRuns, 1);
    EXPECT_EQ(pDoc->m_form.GetItem(0, 0), "文書の部材"_sj);
    EXPECT_EQ(App().m_partForm.GetItem(0, 0), appFirst);
    EXPECT_EQ(FormFolder(), formsBefore);
}

TEST_F(DocumentSheetsTest, ThePrintLayoutWindowsImportSheetsShowOnlyTheLayoutsForms)
{
    auto* pEstimateLayout = dynamic_cast<CPrintEMDoc*>(Open("FORM/見積書.MMP"));
    ASSERT_NE(pEstimateLayout, nullptr);
    auto* pPartsLayout = dynamic_cast<CPrintPMDoc*>(Open("FORM/部材表.MBP"));
    ASSERT_NE(pPartsLayout, nullptr);
    pEstimateLayout->m_curEstimationForm.SetItem(0, 0, "様式の見積項目"_sj);
    pEstimateLayout->m_curInformationForm.SetItem(0, 0, "様式の情報項目"_sj);
    pPartsLayout->m_curPartsForm.SetItem(0, 0, "様式の部材項目"_sj);
    const auto formsBefore = FormFolder();

    int nRuns = 0;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        auto* pSheet = dynamic_cast<CIntroductionDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        EXPECT_EQ(pSheet->m_nSetup, 0);
        ASSERT_EQ(pSheet->GetPageCount(), 2); // estimation and information forms
        EXPECT_EQ(pSheet->GetPage(0), &pSheet->m_estimationPage);
        EXPECT_EQ(pSheet->GetPage(1), &pSheet->m_informationPage);
        EXPECT_EQ(pSheet->m_estimationPage.CellText(1, 1), "様式の見積項目"_sj);
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_informationPage));
        EXPECT_EQ(pSheet->m_informationPage.CellText(1, 1), "様式の情報項目"_sj);
        ClickDlgButton(dlg, IDCANCEL);
    });
    ActivateFrameOf(pEstimateLayout)->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(nRuns, 1);

    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        auto* pSheet = dynamic_cast<CIntroductionDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        ASSERT_EQ(pSheet->GetPageCount(), 1); // the parts form alone
        EXPECT_EQ(pSheet->GetPage(0), &pSheet->m_partsPage);
        EXPECT_EQ(pSheet->m_partsPage.CellText(1, 1), "様式の部材項目"_sj);
        CString text;
        dlg.GetDlgItemText(IDCANCEL, text);
        EXPECT_EQ(text, "OK");
        ClickDlgButton(dlg, IDCANCEL);
    });
    ActivateFrameOf(pPartsLayout)->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(nRuns, 2);
    EXPECT_EQ(pEstimateLayout->m_curEstimationForm.GetItem(0, 0), "様式の見積項目"_sj);
    EXPECT_NE(App().m_estimationForm.GetItem(0, 0), "様式の見積項目"_sj);
    EXPECT_NE(App().m_partForm.GetItem(0, 0), "様式の部材項目"_sj);
    EXPECT_EQ(FormFolder(), formsBefore);
}

TEST_F(DocumentSheetsTest, TheEstimateGridsSettingsRunForAnEstimateAndRelayOutEveryEstimate)
{
    CDocument* pFirst = Open("WORK/見積1.MMD");
    CDocument* pSecond = Open("WORK/見積2.MMD");
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    CMorvelEMView* pFirstGrid = ViewOf<CMorvelEMView>(pFirst);
    CMorvelEMView* pSecondGrid = ViewOf<CMorvelEMView>(pSecond);
    ASSERT_NE(pFirstGrid, nullptr);
    ASSERT_NE(pSecondGrid, nullptr);
    const int nFirstHeight = pFirstGrid->GetMetrics().nRowHeight;
    const int nSecondHeight = pSecondGrid->GetMetrics().nRowHeight;
    CFrameWnd* pFrame = ActivateFrameOf(pSecond);
    pFrame->SetActiveView(pSecondGrid);

    LOGFONT large{};
    large.lfHeight = -18; // 14 points, the largest the font dialog offers
    large.lfWeight = 400;
    large.lfCharSet = 128;
    std::strcpy(large.lfFaceName, "ＭＳ 明朝"_sj.c_str());
    int nRuns = 0;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        auto* pSheet = dynamic_cast<CEnvironmentDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        EXPECT_EQ(pSheet->m_nDocKind, 1);
        EXPECT_EQ(pSheet->GetPageCount(), 4);
        EXPECT_EQ(pSheet->m_inputPage.m_nEstimateView, 1);
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_colourPage));
        // The parts row is not the estimate's to change.
        EXPECT_FALSE(pSheet->m_colourPage.GetDlgItem(1186)->IsWindowEnabled());
        answerer.AnswerFontDialog(large);
        ClickDlgButton(pSheet->m_colourPage, 1107); // 大科目 font
        ClickDlgButton(dlg, IDOK);
    });
    // The menu's command reaches the grid of the active estimate window.
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    Pump();
    EXPECT_EQ(nRuns, 1);
    EXPECT_EQ(App().m_lfRowFont[CMorvelSettings::fontLarge].lfHeight, -18);
    EXPECT_GT(pSecondGrid->GetMetrics().nRowHeight, nSecondHeight);
    EXPECT_GT(pFirstGrid->GetMetrics().nRowHeight, nFirstHeight);
}

// A tax rate changed on the estimate window's "環境設定" is in its tax row as the sheet
// closes, and in another estimate's at the next message its grid handles.
TEST_F(DocumentSheetsTest, ATaxRateChangedInTheEstimatesSettingsIsInTheTaxRowsAtOnce)
{
    CDocument* pFirst = Open("WORK/見積1.MMD");
    CDocument* pSecond = Open("WORK/見積2.MMD");
    CMorvelEMView* pFirstGrid = ViewOf<CMorvelEMView>(pFirst);
    CMorvelEMView* pSecondGrid = ViewOf<CMorvelEMView>(pSecond);
    ASSERT_NE(pFirstGrid, nullptr);
    ASSERT_NE(pSecondGrid, nullptr);
    // The sample's tax row: 8 % of the amount 8,141,095.
    const int nTaxRow = 72, nAmountCol = 5;
    ASSERT_EQ("651287.000000", pSecondGrid->GetCellText(nTaxRow, nAmountCol).str());
    ActivateFrameOf(pSecond)->SetActiveView(pSecondGrid);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        auto* pSheet = dynamic_cast<CEnvironmentDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_inputPage));
        TypeDlgItemText(pSheet->m_inputPage, IDC_TAX_RATE, "10");
        ClickDlgButton(dlg, IDOK);
    });
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    Pump();
    ASSERT_EQ(App().m_nTax, 10);
    // 814,109.5 rounded down as the amount column rounds.
    EXPECT_EQ("814109.000000", pSecondGrid->GetCellText(nTaxRow, nAmountCol).str());
    pFirstGrid->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ("814109.000000", pFirstGrid->GetCellText(nTaxRow, nAmountCol).str());
}

TEST_F(DocumentSheetsTest, ThePartsGridsSettingsRunForAPartsListAndEveryListTakesTheNewFont)
{
    auto* pFirst = dynamic_cast<CMorvelPMDoc*>(Open("WORK/部材処理.MBD"));
    auto* pSecond = dynamic_cast<CMorvelPMDoc*>(Open("WORK/部材2.MBD"));
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    CMorvelPMView* pFirstGrid = ViewOf<CMorvelPMView>(pFirst);
    CMorvelPMView* pSecondGrid = ViewOf<CMorvelPMView>(pSecond);
    ASSERT_NE(pFirstGrid, nullptr);
    ASSERT_NE(pSecondGrid, nullptr);
    const int nFirstHeight = pFirstGrid->GetMetrics().nRowHeight;
    const int nSecondHeight = pSecondGrid->GetMetrics().nRowHeight;
    ActivateFrameOf(pFirst)->SetActiveView(pFirstGrid);

    LOGFONT large{};
    large.lfHeight = -18; // 14 points, the largest the font dialog offers
    large.lfWeight = 400;
    large.lfCharSet = 128;
    std::strcpy(large.lfFaceName, "ＭＳ ゴシック"_sj.c_str());
    int nRuns = 0;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        auto* pSheet = dynamic_cast<CEnvironmentDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        EXPECT_EQ(pSheet->m_nDocKind, 0);
        EXPECT_EQ(pSheet->GetPageCount(), 4);
        EXPECT_EQ(pSheet->m_inputPage.m_nEstimateView, 0);
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_colourPage));
        // Only the parts row belongs to a parts list.
        EXPECT_TRUE(pSheet->m_colourPage.GetDlgItem(1186)->IsWindowEnabled());
        EXPECT_FALSE(pSheet->m_colourPage.GetDlgItem(1088)->IsWindowEnabled());
        answerer.AnswerFontDialog(large);
        ClickDlgButton(pSheet->m_colourPage, 1187); // 部材 font
        ClickDlgButton(dlg, IDOK);
    });
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    Pump();
    EXPECT_EQ(nRuns, 1);
    EXPECT_EQ(pFirst->m_logFont.lfHeight, -18);
    EXPECT_EQ(pSecond->m_logFont.lfHeight, -18);
    EXPECT_GT(pFirstGrid->GetMetrics().nRowHeight, nFirstHeight);
    EXPECT_GT(pSecondGrid->GetMetrics().nRowHeight, nSecondHeight);

    // Cancel changes nothing.
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ++nRuns;
        ClickDlgButton(dlg, IDCANCEL);
    });
    const int nHeight = pFirstGrid->GetMetrics().nRowHeight;
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    EXPECT_EQ(nRuns, 2);
    EXPECT_EQ(pFirstGrid->GetMetrics().nRowHeight, nHeight);
}

// The settings hold no page size and no row limits (as the sample settings did): the input
// page of the estimate grid's "環境設定" shows what the grids use, not numbers of its own.
TEST_F(DocumentSheetsTest, TheInputPageShowsThePageSizeAndRowLimitsTheGridsUse)
{
    auto* pParts = dynamic_cast<CMorvelPMDoc*>(Open("WORK/部材処理.MBD"));
    CDocument* pEstimate = Open("WORK/見積1.MMD");
    ASSERT_NE(pParts, nullptr);
    ASSERT_NE(pEstimate, nullptr);
    CMorvelEMView* pGrid = ViewOf<CMorvelEMView>(pEstimate);
    ASSERT_NE(pGrid, nullptr);
    for (const char* key : {"Rows in a page", "Estimation Maxmum Rows", "Parts Maxmum Rows"})
        ASSERT_TRUE(App().GetProfileValue("Input Setting", key).IsEmpty()) << key;
    ActivateFrameOf(pEstimate)->SetActiveView(pGrid);
    std::vector<int> shown;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        auto* pSheet = dynamic_cast<CEnvironmentDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_inputPage));
        for (int nID : {IDC_ROWS_IN_PAGE, IDC_ESTIMATE_MAX_ROWS, IDC_PARTS_MAX_ROWS})
            shown.push_back(static_cast<int>(pSheet->m_inputPage.GetDlgItemInt(nID)));
        ClickDlgButton(dlg, IDCANCEL);
    });
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    EXPECT_EQ(shown, (std::vector<int>{pGrid->GetPageRows(), pGrid->GetRowLimit(), pParts->GetRowLimit()}));
}

// "導入処理" of an estimate window shows the masters only: a click on a grid cell and keys
// typed change no cell, and switching the subject level leaves every subject where it was
// (the hidden editor's text went into the clicked row and into the program's subject
// table). The one button closes the sheet with the masters and their files as they were.
TEST_F(DocumentSheetsTest, TheEstimateWindowsImportSheetShowsTheMastersReadOnly)
{
    CDocument* pEstimate = Open("WORK/見積1.MMD");
    ASSERT_NE(pEstimate, nullptr);
    CFrameWnd* pFrame = ActivateFrameOf(pEstimate);
    const std::vector<uint8_t> largeFile = ReadNativeFile(folder.Native("MASTER/KAMOKU.MKB"));
    const CString fourth = App().m_subjectFile.GetName(CSubjectFile::levelLarge, 3);
    const CString firstUnit = App().m_unitFile.GetUnit(0);
    // A click 10 pixels into the name column of a data row (rows of 18 pixels and a line).
    const auto clickRow = [](CSetupGridPage& page, int nRow) {
        RealInput::Drag(page.Grid().GetClientWidget(), QPoint(40, 1 + 19 * nRow + 9),
                        QPoint(40, 1 + 19 * nRow + 9));
        Pump();
    };
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        auto* pSheet = dynamic_cast<CIntroductionDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        CUnitsDialog& units = pSheet->m_unitsPage;
        clickRow(units, 1);
        RealInput::TypeText(RealInput::KeyboardWidget(), "XYZ");
        Pump();
        EXPECT_EQ(units.CellText(1, 1), firstUnit);

        ASSERT_TRUE(pSheet->SetActivePage(&pSheet->m_subjectPage));
        Pump();
        CSubjectDialog& subjects = pSheet->m_subjectPage;
        clickRow(subjects, 4);
        EXPECT_EQ(subjects.GetCurrentRow(), 4);
        RealInput::TypeText(RealInput::KeyboardWidget(), "XYZ");
        ClickDlgButton(subjects, IDC_SUBJECT_MIDDLE);
        ClickDlgButton(subjects, IDC_SUBJECT_LARGE);
        EXPECT_EQ(subjects.CellText(4, 1), fourth);
        ClickDlgButton(dlg, IDCANCEL);
    });
    pFrame->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
    EXPECT_EQ(App().m_subjectFile.GetName(CSubjectFile::levelLarge, 3), fourth);
    EXPECT_EQ(App().m_unitFile.GetUnit(0), firstUnit);
    EXPECT_EQ(ReadNativeFile(folder.Native("MASTER/KAMOKU.MKB")), largeFile);
}

// Opened from an estimate the sheet only shows: a line in it says so, and a key typed into a
// page's table sounds (a unit typed there would otherwise be lost without a word); moving
// through the table stays silent. Fails while the sheet looks editable and typing does
// nothing at all.
TEST_F(DocumentSheetsTest, TheEstimateWindowsImportSheetSaysItIsReadOnlyAndTypingSounds)
{
    CDocument* pEstimate = Open("WORK/見積1.MMD");
    ASSERT_NE(pEstimate, nullptr);
    CFrameWnd* pFrame = ActivateFrameOf(pEstimate);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        CWnd* pNote = dlg.GetDlgItem(IDC_VIEW_ONLY_NOTE);
        ASSERT_NE(pNote, nullptr) << "no line says the sheet is for viewing";
        EXPECT_TRUE(pNote->IsWindowVisible());
        CString note;
        pNote->GetWindowText(note);
        EXPECT_NE(note.Find("参照のみ"_sj), -1) << note.ToUtf8();
        auto* pSheet = dynamic_cast<CIntroductionDialog*>(&dlg);
        ASSERT_NE(pSheet, nullptr);
        CUnitsDialog& units = pSheet->m_unitsPage;
        RealInput::Drag(units.Grid().GetClientWidget(), QPoint(40, 1 + 19 + 9), QPoint(40, 1 + 19 + 9));
        Pump();
        const UINT nBefore = AfxGetMessageBeepCount();
        RealInput::PressKeys(RealInput::KeyboardWidget(), Qt::NoModifier, Qt::Key_Down);
        Pump();
        EXPECT_EQ(AfxGetMessageBeepCount(), nBefore) << "a move makes no sound";
        RealInput::TypeText(RealInput::KeyboardWidget(), QStringLiteral("m"));
        Pump();
        EXPECT_EQ(AfxGetMessageBeepCount(), nBefore + 1) << "a typed letter sounds";
        RealInput::TypeText(RealInput::KeyboardWidget(), QString::fromUtf8("式"));
        Pump();
        EXPECT_EQ(AfxGetMessageBeepCount(), nBefore + 2) << "a double-byte character sounds once";
        ClickDlgButton(dlg, IDCANCEL);
    });
    pFrame->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
}

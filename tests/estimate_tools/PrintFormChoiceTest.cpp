// Choosing the print layouts of an estimate ("印刷形式選択" and its dialog "印刷形式ﾌｧｲﾙ選択")
// and printing without the zero rows, on the sample work folder: the candidates a folder
// offers, the chosen order, folders per entry, layouts open in the editor, and the print
// copy that leaves zero rows out and leaves the estimate as it was.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/SharedRecords.h"
#include "engine/estimate/CPrintRowSource.h"
#include "estimate_tools/CEstimatePrinting.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormFileDialog.h"
#include "layout/printform/PrintFormRegistration.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CNewTypeDialog.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/EstimateCommandIds.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

namespace {

std::vector<std::string> ListTexts(CWnd& dlg, UINT nID)
{
    std::vector<std::string> texts;
    auto* pList = static_cast<CListBox*>(dlg.GetDlgItem(nID));
    for (int i = 0; pList != nullptr && i < pList->GetCount(); ++i) {
        CString text;
        pList->GetText(i, text);
        texts.push_back(text.ToUtf8());
    }
    return texts;
}

std::string ItemText(CWnd& dlg, UINT nID)
{
    CString text;
    dlg.GetDlgItem(nID)->GetWindowText(text);
    return text.ToUtf8();
}

// A folder kept in the system's form (UTF-8) as the dialog shows it.
std::string Shown(const std::string& folder)
{
    return DisplayPath(CString::FromUtf8(folder.c_str())).ToUtf8();
}

void CopyNativeFile(const std::string& from, const std::string& to, size_t nKeep = std::string::npos)
{
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(to, std::ios::binary) << bytes.substr(0, nKeep == std::string::npos ? bytes.size() : nKeep);
}

class PrintFormChoice : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        RegisterDrawing();
        RegisterPrintForm();
        EstimateWindowTest::SetUp();
        RegisterEstimatePrinting();
        CPrinterSettings::Instance().UsePdfPrinter();
        // The work folder offers two copies of the sample layout (one named in lower
        // case), one made for another information form and a damaged one.
        const std::string sample = m_pFolder->Native("FORM/見積書.MMP");
        CopyNativeFile(sample, m_pFolder->Native("WORK/b.mmp"));
        CopyNativeFile(sample, m_pFolder->Native("WORK/A.MMP"));
        CopyNativeFile(sample, m_pFolder->Native("WORK/BAD.MMP"), 3000);
        CPrintEMDoc other;
        ASSERT_TRUE(other.OnOpenDocument(m_pFolder->System("WORK/A.MMP")));
        other.m_curInformationForm.SetItem(0, CInformationFormFile::colName, "別の項目"_sj);
        ASSERT_TRUE(other.OnSaveDocument(m_pFolder->System("WORK/OTHER.MMP")));
    }

    CString WorkFolder() const { return m_pApp->GetPathSetting("Work Field"); }

    // Runs "印刷形式選択" on the estimate view with the answer given.
    void ChooseLayouts(CDialogAnswerer& answerer, CDialogAnswerer::DialogAction action)
    {
        answerer.AnswerDialog(IDD_PRINT_FORM_FILE, std::move(action));
        m_pView->SendMessage(WM_COMMAND, ID_PRINT_FORM_SELECT, 0);
    }

    std::vector<std::pair<std::string, std::string>> DocumentLayouts() const
    {
        std::vector<std::pair<std::string, std::string>> layouts;
        for (INT_PTR i = 0; i < m_pDoc->m_aPrintForms.GetSize(); ++i) {
            const auto* p = static_cast<const CPrintFormEntry*>(m_pDoc->m_aPrintForms.GetAt(i));
            layouts.emplace_back(p->m_strTitle.ToUtf8(), p->m_strFolder.ToUtf8());
        }
        return layouts;
    }
};

TEST_F(PrintFormChoice, WorkFolderOffersTheLayoutsOfTheEstimatesFormsAndOkKeepsTheOrderChosen)
{
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->ClearPrintForms(); // an estimate with no layout chosen yet
    m_pDoc->SetModifiedFlag(FALSE);
    // The wait dialog is up while the dialog reads the layouts, and gone once its lists are
    // filled.
    CShellServices& services = CShellServices::Get();
    auto choose = services.chooseEstimatePrintForms;
    bool bWaitShownBefore = false;
    services.chooseEstimatePrintForms = [&](CView* pGrid, CObArray& chosen) {
        bWaitShownBefore = m_pView->IsPrintFormWaitShown();
        return choose(pGrid, chosen);
    };
    const std::string work = WorkFolder().ToUtf8();
    CDialogAnswerer answerer;
    ChooseLayouts(answerer, [&](CDialog& dlg) {
        EXPECT_FALSE(m_pView->IsPrintFormWaitShown()) << "the dialog took the wait dialog down";
        // Upper-cased and sorted; neither the other form's layout nor the damaged one.
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), (std::vector<std::string>{"A", "B"}));
        // The folder in this system's own form.
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CANDIDATE_FOLDER), Shown(work));
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CANDIDATE_FOLDER).find('\\'), std::string::npos);
        EXPECT_TRUE(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST).empty());
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), "");
        // Nothing is selected yet: Add does nothing.
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        EXPECT_TRUE(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST).empty());
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 1);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 1);
        ClickDlgButton(dlg, IDC_PRINT_ADD); // the same layout twice prints twice
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST), (std::vector<std::string>{"B", "A", "B"}));
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), Shown(work));
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_TRUE(bWaitShownBefore);
    EXPECT_FALSE(m_pView->IsPrintFormWaitShown());
    EXPECT_EQ(DocumentLayouts(),
              (std::vector<std::pair<std::string, std::string>>{{"B", work}, {"A", work}, {"B", work}}));
    EXPECT_TRUE(IsModified());
    // The damaged layout said so while it was looked at; nothing else was asked.
    for (const CString& text : answerer.MessageBoxTexts())
        EXPECT_NE(text.Find("BAD.MMP"), -1) << text.ToUtf8();
    services.chooseEstimatePrintForms = choose;
}

TEST_F(PrintFormChoice, AnotherFolderGivesItsLayoutsItsFolderAndEarlierEntriesKeepTheirs)
{
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->ClearPrintForms();
    const std::string work = WorkFolder().ToUtf8();
    CString form = m_pFolder->System("FORM/見積書.MMP");
    CDialogAnswerer answerer;
    answerer.SetDefaultMessageBoxAnswer(IDOK);
    ChooseLayouts(answerer, [&](CDialog& dlg) {
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        answerer.AnswerFileDialog(form);
        ClickDlgButton(dlg, IDC_PRINT_CANDIDATE_BROWSE);
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), (std::vector<std::string>{"見積書"}));
        // The folder as chosen, in its own case.
        const CString folder = form.Left(form.GetLength() - CString("見積書.MMP"_sj).GetLength());
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CANDIDATE_FOLDER), Shown(folder.ToUtf8()));
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        // The folder shown follows the chosen row picked.
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), Shown(work)) << "the first entry's";
        SelectDlgItem(dlg, IDC_PRINT_CHOSEN_LIST, 1);
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), Shown(folder.ToUtf8()));
        // "更新" goes back to the work folder.
        ClickDlgButton(dlg, IDC_PRINT_REFRESH);
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), (std::vector<std::string>{"A", "B"}));
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(DocumentLayouts().size(), 2u);
    EXPECT_EQ(DocumentLayouts()[0], std::make_pair(std::string("A"), work));
    EXPECT_EQ(DocumentLayouts()[1].first, "見積書");
    // And it prints: the chosen layouts are found where they were chosen.
    TempDir out;
    CDialogAnswerer printing;
    printing.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, out.Folder() + "chosen.pdf");
        ClickDlgButton(dlg, IDOK);
    });
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_TRUE(printing.MessageBoxTexts().empty());
    const auto* pSecond = static_cast<const CPrintFormEntry*>(m_pDoc->m_aPrintForms.GetAt(1));
    EXPECT_GT(pSecond->m_nLastPage, pSecond->m_nFirstPage);
}

// A work folder without layouts says so and offers those of the forms' folder;
// "選択候補ﾌｫﾙﾀﾞ" opens where the layouts are: the forms' folder, or the folder of a layout
// the estimate prints through.
TEST_F(PrintFormChoice, BrowsingStartsWhereTheLayoutsAre)
{
    for (const char* name : {"b.mmp", "A.MMP", "BAD.MMP", "OTHER.MMP"})
        std::filesystem::remove(m_pFolder->Native(std::string("WORK/") + name));
    const std::string other = m_pFolder->Native("OTHER");
    std::filesystem::create_directories(other);
    CopyNativeFile(m_pFolder->Native("FORM/見積書.MMP"), other + "/X.MMP");
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->ClearPrintForms();
    std::vector<std::string> starts;
    const auto browse = [&](CDialogAnswerer& answerer, const std::string& pick) {
        answerer.AnswerFileDialog([&starts, pick](CFileDialog& dlg, CString& path) {
            starts.push_back(dlg.GetStartFolder().ToUtf8());
            path = SystemPathFromNative(pick);
            return TRUE;
        });
    };
    CDialogAnswerer answerer;
    ChooseLayouts(answerer, [&](CDialog& dlg) {
        const std::vector<std::string> offered{"(ﾃﾞｰﾀﾌｫﾙﾀﾞにはありません)", "見積書"};
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), offered);
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CANDIDATE_FOLDER), Shown(m_pFolder->System("FORM/").ToUtf8()));
        browse(answerer, m_pFolder->Native("FORM/見積書.MMP"));
        ClickDlgButton(dlg, IDC_PRINT_CANDIDATE_BROWSE);
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), offered);
        // A layout from another folder; chosen, its folder is where browsing starts next.
        browse(answerer, other + "/X.MMP");
        ClickDlgButton(dlg, IDC_PRINT_CANDIDATE_BROWSE);
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        browse(answerer, other + "/X.MMP");
        ClickDlgButton(dlg, IDC_PRINT_CANDIDATE_BROWSE);
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(NativePath(CString::FromUtf8(starts[0].c_str())), m_pFolder->Native("FORM/"));
    EXPECT_EQ(NativePath(CString::FromUtf8(starts[2].c_str())), other + "/");
}

// A new estimate, whose work folder holds no layout, is offered the layouts of its forms
// from the forms' folder under a line saying the work folder has none (which Add passes
// over); the one chosen prints from there.
TEST_F(PrintFormChoice, ANewEstimateIsOfferedTheLayoutsOfItsFormsWhereTheyAre)
{
    for (const char* name : {"b.mmp", "A.MMP", "BAD.MMP", "OTHER.MMP"})
        std::filesystem::remove(m_pFolder->Native(std::string("WORK/") + name));
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
    ASSERT_EQ(m_pDoc->m_aPrintForms.GetSize(), 0);
    const CString form = m_pFolder->System("FORM/");
    ChooseLayouts(answerer, [&](CDialog& dlg) {
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST),
                  (std::vector<std::string>{"(ﾃﾞｰﾀﾌｫﾙﾀﾞにはありません)", "見積書"}));
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CANDIDATE_FOLDER), Shown(form.ToUtf8()));
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        EXPECT_TRUE(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST).empty());
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 1);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(DocumentLayouts(),
              (std::vector<std::pair<std::string, std::string>>{{"見積書", form.ToUtf8()}}));
    m_pDoc->SetModifiedFlag(FALSE);
}

TEST_F(PrintFormChoice, RemovingAndCancellingAndALayoutOpenWithOtherForms)
{
    ASSERT_NE(OpenSample(), nullptr);
    m_pDoc->ClearPrintForms();
    auto* pEntry = new CPrintFormEntry;
    pEntry->m_strTitle = "A";
    pEntry->m_strFolder = "C:\\ELSEWHERE\\";
    m_pDoc->m_aPrintForms.Add(pEntry);
    // "B" is open in the editor with an information form changed and not saved: it is
    // judged by what the editor holds.
    auto* pOpen = dynamic_cast<CPrintEMDoc*>(m_pApp->OpenDocumentFile(WorkFolder() + "b.mmp"));
    ASSERT_NE(pOpen, nullptr);
    pOpen->m_curInformationForm.SetItem(1, CInformationFormFile::colAttribute, "計算"_sj);
    CDialogAnswerer answerer;
    answerer.SetDefaultMessageBoxAnswer(IDOK);
    ChooseLayouts(answerer, [&](CDialog& dlg) {
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CANDIDATE_LIST), (std::vector<std::string>{"A"}));
        EXPECT_EQ(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST), (std::vector<std::string>{"A"}));
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), Shown("C:\\ELSEWHERE\\"));
        ClickDlgButton(dlg, IDC_PRINT_REMOVE);
        EXPECT_TRUE(ListTexts(dlg, IDC_PRINT_CHOSEN_LIST).empty());
        EXPECT_EQ(ItemText(dlg, IDC_PRINT_CHOSEN_FOLDER), "") << "the only row went";
        ClickDlgButton(dlg, IDC_PRINT_REMOVE); // nothing left: nothing happens
        ClickDlgButton(dlg, IDCANCEL);
    });
    EXPECT_EQ(DocumentLayouts(), (std::vector<std::pair<std::string, std::string>>{{"A", "C:\\ELSEWHERE\\"}}))
        << "Cancel keeps the list";
    pOpen->SetModifiedFlag(FALSE);
}

TEST_F(PrintFormChoice, PrinterSetupFromTheEstimateWindowTurnsThePrintedPages)
{
    ASSERT_NE(OpenSample(), nullptr);
    const CPrinterSettings saved = CPrinterSettings::Instance();
    auto* pEntry = new CPrintFormEntry;
    pEntry->m_strTitle = "A";
    pEntry->m_strFolder = WorkFolder();
    m_pDoc->m_aPrintForms.Add(pEntry);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [](CDialog& dlg) {
        ClickDlgButton(dlg, CPrintDialog::IDC_LANDSCAPE);
        ClickDlgButton(dlg, IDOK);
    });
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP, 0);
    ASSERT_EQ(answerer.DialogIds().size(), 1u);
    TempDir out;
    const CString pdf = out.Folder() + "landscape.pdf";
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, pdf);
        ClickDlgButton(dlg, IDOK);
    });
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    std::ifstream in(NativePath(pdf), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A4 turned: 842 points wide, 595 high.
    EXPECT_TRUE(std::regex_search(bytes, std::regex(R"(/MediaBox\s*\[\s*0\s+0\s+84[12](\.\d+)?\s+595)")));
    CPrinterSettings::Instance() = saved;
}

// ---------------------------------------------------------------------------------------
// Printing without the zero rows
// ---------------------------------------------------------------------------------------
class ZeroRowPrint : public PrintFormChoice {
protected:
    // Thirty detail rows with a unit whose quantity and amount are empty (a page of the
    // sample layout), after the first detail row; a row without a unit and a row with a
    // quantity stay printed.
    enum { ZERO_ROWS = 30 };
    void AddZeroRows()
    {
        for (int i = 0; i < ZERO_ROWS; ++i) {
            m_pView->InsertRow(srFirstDetail + 1);
            m_pView->SetRowKind(kindDetail, srFirstDetail + 1);
            m_pView->SetCellText("ゼロ行"_sj, srFirstDetail + 1, scName, TRUE);
            m_pView->SetCellText("m2", srFirstDetail + 1, scUnit, TRUE);
        }
        m_pView->InsertRow(srFirstDetail + 1);
        m_pView->SetRowKind(kindDetail, srFirstDetail + 1);
        m_pView->SetCellText("単位なし"_sj, srFirstDetail + 1, scName, TRUE);
        m_pView->InsertRow(srFirstDetail + 1);
        m_pView->SetRowKind(kindDetail, srFirstDetail + 1);
        m_pView->SetCellText("数量あり"_sj, srFirstDetail + 1, scName, TRUE);
        m_pView->SetCellText("m2", srFirstDetail + 1, scUnit, TRUE);
        m_pView->SetCellText("2", srFirstDetail + 1, scQty, TRUE);
        m_pView->RecalcAll();
    }
    static int CountPrintedNamed(const CPrintRowSource& rows, const char* utf8)
    {
        int n = 0;
        for (int r = 0; r < rows.GetRowCount(); ++r)
            n += rows.GetCellText(r, scName) == CString::FromUtf8(utf8) ? 1 : 0;
        return n;
    }
    int CountRowsNamed(const char* utf8)
    {
        int n = 0;
        for (int r = 0; r < m_pView->GetUsedRows(); ++r)
            if (m_pView->GetCellText(r, scName) == CString::FromUtf8(utf8))
                ++n;
        return n;
    }
};

TEST_F(ZeroRowPrint, TheJobsRowsLeaveOutZeroRowsWithAUnitAndTheEstimateStaysAsItWas)
{
    ASSERT_NE(OpenSample(), nullptr);
    AddZeroRows();
    const int nUsed = m_pView->GetUsedRows();
    m_pView->SetCurrentCell(scQty, 20);
    m_pView->SetSelection(CMorvelView::selectRows, CRect(0, 18, 9, 21));
    const int nUndo = m_pView->GetModel().Undo().GetUndoAction();
    m_pDoc->SetModifiedFlag(FALSE);

    // Off: the job reads the estimate's rows.
    EXPECT_FALSE(m_pView->CopyRowsForPrint()->IsCopy());

    m_pApp->WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    std::unique_ptr<CPrintRowSource> pRows = m_pView->CopyRowsForPrint();
    ASSERT_TRUE(pRows->IsCopy());
    EXPECT_EQ(pRows->GetRowCount(), nUsed - ZERO_ROWS);
    EXPECT_EQ(CountPrintedNamed(*pRows, "ゼロ行"), 0);
    EXPECT_EQ(CountPrintedNamed(*pRows, "単位なし"), 1);
    EXPECT_EQ(CountPrintedNamed(*pRows, "数量あり"), 1);
    // The estimate and its window are as they were, with the job's rows taken.
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
    EXPECT_EQ(CountRowsNamed("ゼロ行"), ZERO_ROWS);
    EXPECT_EQ(m_pView->GetCurrentRow(), 20);
    EXPECT_EQ(m_pView->GetCurrentCol(), static_cast<int>(scQty));
    EXPECT_EQ(m_pView->GetSelection(), CRect(0, 18, 9, 21));
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), nUndo) << "printing records nothing for undo";
    EXPECT_FALSE(IsModified());

    // With the manual scanner a detail row without a unit is left out as well.
    m_pApp->WriteProfileString("Unnecessary Row", "ManualEditSaimoku", "1");
    pRows = m_pView->CopyRowsForPrint();
    EXPECT_EQ(CountPrintedNamed(*pRows, "単位なし"), 0);
    EXPECT_EQ(pRows->GetRowCount(), nUsed - ZERO_ROWS - 1);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
}

// Two windows on the estimate: while one prints, a repaint of the other shows the
// estimate's rows, not the rows the print leaves out. The page count stops at the message
// of a layout that is missing, and the other window repaints under it.
TEST_F(ZeroRowPrint, TheOtherWindowOnTheEstimatePaintsItsRowsWhileTheEstimatePrints)
{
    ASSERT_NE(OpenSample(), nullptr);
    AddZeroRows();
    CMorvelEMView* pPrinting = m_pView;
    Command(ID_WINDOW_NEW);
    CMorvelEMView* pOther = nullptr;
    for (POSITION pos = m_pDoc->GetFirstViewPosition(); pos != nullptr;) {
        auto* pGrid = dynamic_cast<CMorvelEMView*>(m_pDoc->GetNextView(pos));
        if (pGrid != nullptr && pGrid != pPrinting)
            pOther = pGrid;
    }
    ASSERT_NE(pOther, nullptr);
    m_pApp->WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    m_pDoc->ClearPrintForms();
    auto* pEntry = new CPrintFormEntry;
    pEntry->m_strTitle = "MISSING";
    pEntry->m_strFolder = WorkFolder();
    m_pDoc->m_aPrintForms.Add(pEntry);

    // What the other window shows: its rows in use, the names of its rows and the pixels of
    // the name cells of the rows in view, painted afresh.
    struct CShown {
        int nUsedRows = 0;
        std::vector<CString> names;
        std::vector<COLORREF> pixels;
        bool operator==(const CShown&) const = default;
    };
    const auto shown = [&] {
        pOther->Invalidate(TRUE);
        pOther->UpdateWindow();
        CShown now;
        now.nUsedRows = pOther->GetUsedRows();
        for (int r = 0; r < now.nUsedRows; ++r)
            now.names.push_back(pOther->GetCellText(r, scName));
        CClientDC dc(pOther);
        CRect rcNames;
        pOther->GetCellRangeRect(scName, srFirstDetail, scName, srFirstDetail + 12, &rcNames);
        for (int y = rcNames.top; y < rcNames.bottom; y += 2)
            for (int x = rcNames.left; x < rcNames.right; x += 2)
                now.pixels.push_back(dc.GetPixel(x, y) & 0xFFFFFF);
        return now;
    };
    Pump();
    const CShown before = shown();
    ASSERT_EQ(std::count(before.names.begin(), before.names.end(), "ゼロ行"_sj), ZERO_ROWS);
    std::optional<CShown> whilePrinting;
    const MessageBoxHandler previous = SetMessageBoxHandler([&](const CString& text, UINT, UINT) {
        if (text == "印刷形式ﾌｧｲﾙが存在しません。"_sj && !whilePrinting)
            whilePrinting = shown();
        return IDOK;
    });
    pPrinting->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    SetMessageBoxHandler(previous);
    ASSERT_TRUE(whilePrinting.has_value()) << "the page count stopped at no message";
    EXPECT_EQ(whilePrinting->nUsedRows, before.nUsedRows);
    EXPECT_EQ(whilePrinting->names, before.names);
    EXPECT_TRUE(whilePrinting->pixels == before.pixels) << "the other window painted other rows";
    EXPECT_EQ(shown(), before);
}

TEST_F(ZeroRowPrint, ThePrintSourceReadsTheJobsCopyWhateverIsDoneToTheEstimate)
{
    ASSERT_NE(OpenSample(), nullptr);
    AddZeroRows();
    const int nUsed = m_pView->GetUsedRows();
    m_pApp->WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    const CEstimatePrintSource source(*m_pView);
    // The estimate is edited while the job prints: the job prints the rows it was given.
    ASSERT_EQ(m_pView->GetCellText(srFirstDetail + 3, scName), "ゼロ行"_sj);
    m_pView->DeleteRows(srFirstDetail + 1, 2);
    m_pView->SetCellText("changed"_sj, srFirstDetail + 1, scName, TRUE);
    int nZero = 0, nNoUnit = 0;
    for (int r = 0; r < nUsed; ++r) {
        nZero += source.GetCellText(r, scName) == "ゼロ行"_sj ? 1 : 0;
        nNoUnit += source.GetCellText(r, scName) == "単位なし"_sj ? 1 : 0;
    }
    EXPECT_EQ(nZero, 0);
    EXPECT_EQ(nNoUnit, 1);
    EXPECT_EQ(source.GetRowKind(srFirstDetail + 2), kindDetail);
    EXPECT_EQ(source.GetRowCount(), nUsed - ZERO_ROWS);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed - 2);
}

TEST_F(ZeroRowPrint, APrintJobCountsAndPrintsWithoutTheZeroRows)
{
    ASSERT_NE(OpenSample(), nullptr);
    AddZeroRows();
    const int nUsed = m_pView->GetUsedRows();
    m_pDoc->ClearPrintForms(); // instead of the sample's own layout
    auto* pEntry = new CPrintFormEntry;
    pEntry->m_strTitle = "A";
    pEntry->m_strFolder = WorkFolder();
    m_pDoc->m_aPrintForms.Add(pEntry);
    // One line a page: the page count is the rows printed.
    CPrintEMDoc layout;
    ASSERT_TRUE(layout.OnOpenDocument(WorkFolder() + "A.MMP"));
    auto print = [&](const char* name) {
        TempDir out;
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, out.Folder() + name);
            ClickDlgButton(dlg, IDOK);
        });
        m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        Pump();
        return pEntry->m_nLastPage;
    };
    const int nAll = print("all.pdf");
    m_pApp->WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    const int nWithout = print("without.pdf");
    ASSERT_GE(layout.GetFieldRefCount(), 1);
    int nPerPage = 1000000;
    for (INT_PTR i = 0; i < layout.GetFieldRefCount(); ++i)
        nPerPage = std::min(nPerPage, layout.GetFieldRef(i)->m_nValue);
    EXPECT_EQ(nAll, (nUsed + nPerPage - 1) / nPerPage);
    EXPECT_EQ(nWithout, (nUsed - ZERO_ROWS + nPerPage - 1) / nPerPage);
    EXPECT_LT(nWithout, nAll);
    EXPECT_EQ(m_pView->GetUsedRows(), nUsed);
    EXPECT_EQ(CountRowsNamed("ゼロ行"), ZERO_ROWS);
}

// ---------------------------------------------------------------------------------------
// The page's mapping
// ---------------------------------------------------------------------------------------
// A printer context at 300 dpi on paper of 827 x 1169 hundredths of an inch (A4) whose
// printable area starts margins (0.01 inch) in.
void SetPrinterCaps(CDC& dc, const CRect& margins)
{
    CDeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = caps.logPixelsY = 300;
    caps.physicalWidth = 827 * 3;
    caps.physicalHeight = 1169 * 3;
    caps.physicalOffsetX = margins.left * 3;
    caps.physicalOffsetY = margins.top * 3;
    caps.horzRes = (827 - margins.left - margins.right) * 3;
    caps.vertRes = (1169 - margins.top - margins.bottom) * 3;
    dc.SetDeviceCaps(caps);
}

TEST(LayoutPageMapping, OriginAtTheCentreOfThePagesPrintableAreaInHundredthsOfAnInchYUp)
{
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    SetPrinterCaps(dc, CRect(25, 50, 75, 100)); // left, top, right, bottom margins
    CLayoutPrintJob::MapPrintingDC(&dc);
    // Printable 727 x 1019: its top-left corner, (-363, 509), is the device's origin.
    CPoint corner(-363, 509);
    dc.LPtoDP(&corner, 1);
    EXPECT_EQ(corner, CPoint(0, 0));
    // One inch right and one inch down.
    CPoint inch(-363 + 100, 509 - 100);
    dc.LPtoDP(&inch, 1);
    EXPECT_EQ(inch, CPoint(300, 300));
    // Other margins move the origin with them.
    SetPrinterCaps(dc, CRect(0, 0, 0, 0));
    CLayoutPrintJob::MapPrintingDC(&dc);
    CPoint paperCorner(-413, 584);
    dc.LPtoDP(&paperCorner, 1);
    EXPECT_EQ(paperCorner, CPoint(0, 0));
}

} // namespace

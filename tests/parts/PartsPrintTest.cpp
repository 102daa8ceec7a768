// A parts list printed through parts print layouts in the running program: choosing the
// layouts in "印刷形式ﾌｧｲﾙ選択", print and preview enabled only while one is chosen, the
// pages of several layouts one after the other (a layout without parts fields takes one
// page), a missing layout left out with its message, and the pages drawn into a PDF.
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "app/SharedRecords.h"
#include "estimate/EstimateRegistration.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CDrawObjList.h"
#include "layout/printform/CPrintPMDoc.h"
#include "layout/printform/PrintFormRegistration.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsRegistration.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

namespace fs = std::filesystem;

namespace {

int PdfPageCount(const std::string& nativePath)
{
    std::ifstream in(nativePath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex pageRe(R"(/Type\s*/Page[^s])");
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pageRe), std::sregex_iterator()));
}

class PartsPrint : public ::testing::Test {
protected:
    PartsPrint() : m_savedServices(CShellServices::Get()), m_savedPrinter(CPrinterSettings::Instance()) {}
    ~PartsPrint() override
    {
        CShellServices::Get() = m_savedServices;
        CPrinterSettings::Instance() = m_savedPrinter;
        CSplashWindow::EnableSplash(TRUE);
    }

    void SetUp() override
    {
        const fs::path samples = fs::path(MORVEL_SOURCE_DIR) / "samples";
        const fs::path root = m_dir.Native();
        for (const char* folder : {"MASTER", "FORM", "WORK"}) {
            fs::create_directories(root / folder);
            for (const auto& entry : fs::directory_iterator(samples / folder))
                fs::copy_file(entry.path(), root / folder / entry.path().filename());
        }
        // The sample parts layout in the work folder, where the layout choice looks first.
        fs::copy_file(samples / "FORM" / "部材表.MBP", root / "WORK" / "部材表.MBP");
        fs::create_directories(root / "lock");
        CProfileFile profile(SystemPathFromNative(m_dir.NativeFile("test.ini")));
        profile.WriteProfileString("Path Setting", "Work Drive", "C");
        for (const char* key : {"Estimation Form", "Parts Form", "Information Form"})
            profile.WriteProfileString("Path Setting", key, SystemPathFromNative(m_dir.NativeFile("FORM")));
        profile.WriteProfileString("Path Setting", "Work Field",
                                   SystemPathFromNative(m_dir.NativeFile("WORK")));
        profile.WriteProfileString("Path Setting", "Other Form",
                                   SystemPathFromNative(m_dir.NativeFile("MASTER")));
        profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
        profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
        profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");
        profile.WriteProfileString("Input Setting", "Backup File", "1");
        setenv("MORVEL_INI", m_dir.NativeFile("test.ini").c_str(), 1);
        setenv("MORVEL_LOCK_DIR", m_dir.NativeFile("lock").c_str(), 1);
        setenv("MORVEL_NO_SOUND", "1", 1);

        RegisterEstimate();
        RegisterParts();
        RegisterPrintForm();
        CPrinterSettings::Instance().UsePdfPrinter();
        m_pApp = std::make_unique<CMorvelApp>();
        m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
        ASSERT_TRUE(m_pApp->InitInstance());
        m_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
        Pump();
        m_pDoc = dynamic_cast<CMorvelPMDoc*>(m_pApp->OpenDocumentFile(WorkFile("部材処理.MBD")));
        ASSERT_NE(m_pDoc, nullptr);
        m_pView = m_pDoc->GetPartsView();
        ASSERT_NE(m_pView, nullptr);
        Pump();
    }
    void TearDown() override
    {
        if (m_pDoc != nullptr)
            m_pDoc->SetModifiedFlag(FALSE);
        if (m_pApp && m_pApp->m_pMainWnd != nullptr) {
            if (m_pApp->m_pMainWnd->GetSafeHwnd() != nullptr)
                m_pApp->m_pMainWnd->DestroyWindow();
            m_pApp->m_pMainWnd = nullptr;
        }
        m_pApp.reset();
        unsetenv("MORVEL_INI");
        unsetenv("MORVEL_LOCK_DIR");
        unsetenv("MORVEL_NO_SOUND");
    }

    void Pump()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    CString WorkFile(const char* utf8) const
    {
        return SystemPathFromNative(m_dir.NativeFile("WORK")) + "\\" + CString::FromUtf8(utf8);
    }
    CString WorkFolder() const { return SystemPathFromNative(m_dir.NativeFile("WORK")) + "\\"; }
    // The list made nRows rows long by the row commands: empty rows inserted after the
    // last, or the last rows deleted.
    void UseRows(int nRows)
    {
        while (m_pDoc->GetRowsInUse() < nRows)
            m_pView->InsertRow(m_pDoc->GetRowsInUse());
        while (m_pDoc->GetRowsInUse() > nRows)
            m_pView->DeleteRow(m_pDoc->GetRowsInUse() - 1);
    }

    bool Enabled(UINT nID)
    {
        struct CState : public CCmdUI {
            void Enable(BOOL bOn) override
            {
                m_bOn = bOn != FALSE;
                m_bEnableChanged = TRUE;
            }
            bool m_bOn = false;
        } state;
        state.m_nID = nID;
        state.DoUpdate(m_pView, FALSE);
        return state.m_bOn;
    }

    // A parts layout for the list's form holding only a page number: no parts fields.
    void MakeCoverLayout(const char* utf8Name)
    {
        CPrintPMDoc cover;
        ASSERT_TRUE(cover.OnOpenDocument(WorkFile("部材表.MBP")));
        CDrawObjList* pObjects = cover.GetObjectList();
        while (!pObjects->IsEmpty())
            delete pObjects->RemoveHead();
        auto* pText = new CDrawText(CRect(-200, 300, 200, 250));
        pText->m_strText = "$ﾍﾟｰｼﾞ()$"_sj;
        cover.Add(pText);
        ASSERT_TRUE(cover.OnSaveDocument(WorkFile(utf8Name)));
    }

    // Prints through the print dialog into a PDF; the messages shown.
    std::vector<CString> PrintTo(const CString& output)
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, output);
            ClickDlgButton(dlg, IDOK);
        });
        m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        Pump();
        return answerer.MessageBoxTexts();
    }

    const CPrintFormEntry* Entry(int i) const
    {
        return static_cast<const CPrintFormEntry*>(m_pDoc->m_aPrintForms.GetAt(i));
    }

    TempDir m_dir;
    CShellServices m_savedServices;
    CPrinterSettings m_savedPrinter;
    std::unique_ptr<CMorvelApp> m_pApp;
    CMorvelPMDoc* m_pDoc = nullptr;
    CMorvelPMView* m_pView = nullptr;
};

// Saved into another folder through 名前を付けて保存, the sample list still prints through its
// layout.
TEST_F(PartsPrint, TheSampleListSavedInAnotherFolderStillPrintsThroughItsLayout)
{
    const fs::path folder = fs::path(m_dir.Native()) / "ELSEWHERE" / "DEEP";
    fs::create_directories(folder);
    const CString path = SystemPathFromNative((folder / "COPY.MBD").string());
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(path);
    m_pView->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS, 0);
    Pump();
    ASSERT_TRUE(fs::equivalent(NativePath(m_pDoc->GetPathName()), folder / "COPY.MBD"));
    ASSERT_EQ(m_pDoc->m_aPrintForms.GetSize(), 1);
    TempDir out;
    EXPECT_TRUE(PrintTo(out.Folder() + "copy.pdf").empty());
}

// The sample list keeps the sample layout beside its folder: it prints at once, whatever
// the current folder.
TEST_F(PartsPrint, TheSampleListPrintsThroughItsOwnLayoutAtOnce)
{
    ASSERT_TRUE(SetCurrentDirectory(SystemPathFromNative(m_dir.Native())));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_PREVIEW));
    TempDir out;
    EXPECT_TRUE(PrintTo(out.Folder() + "sample.pdf").empty());
    ASSERT_EQ(m_pDoc->m_aPrintForms.GetSize(), 1);
    EXPECT_EQ(Entry(0)->m_strTitle, "部材表"_sj);
    EXPECT_EQ(Entry(0)->m_nLastPage, 1);
    EXPECT_EQ(PdfPageCount(NativePath(out.Folder() + "sample.pdf")), 1);
}

TEST_F(PartsPrint, LayoutsChosenInTheDialogPrintOneAfterTheOtherToPdf)
{
    MakeCoverLayout("表紙.MBP");
    m_pDoc->ClearPrintForms();
    EXPECT_FALSE(Enabled(ID_FILE_PRINT)) << "no layout chosen yet";
    EXPECT_FALSE(Enabled(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(Enabled(ID_PRINT_FORM_SELECT));
    m_pDoc->SetModifiedFlag(FALSE);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PRINT_FORM_FILE, [&](CDialog& dlg) {
        EXPECT_FALSE(m_pView->IsPrintFormWaitShown()) << "the dialog took the wait dialog down";
        auto* pCandidates = static_cast<CListBox*>(dlg.GetDlgItem(IDC_PRINT_CANDIDATE_LIST));
        ASSERT_EQ(pCandidates->GetCount(), 2);
        CString first, second;
        pCandidates->GetText(0, first);
        pCandidates->GetText(1, second);
        // Sorted by title: the cover first in code page 932 order ("表" 0x955C, "部" 0x9594).
        EXPECT_EQ(first, "表紙"_sj);
        EXPECT_EQ(second, "部材表"_sj);
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 1);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        SelectDlgItem(dlg, IDC_PRINT_CANDIDATE_LIST, 0);
        ClickDlgButton(dlg, IDC_PRINT_ADD);
        ClickDlgButton(dlg, IDOK);
    });
    m_pView->SendMessage(WM_COMMAND, ID_PRINT_FORM_SELECT, 0);
    ASSERT_EQ(m_pDoc->m_aPrintForms.GetSize(), 2);
    EXPECT_EQ(Entry(0)->m_strTitle, "部材表"_sj);
    EXPECT_EQ(Entry(1)->m_strTitle, "表紙"_sj);
    EXPECT_EQ(Entry(0)->m_strFolder, WorkFolder());
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_PREVIEW));

    // 45 rows in use against the sample layout's 40 lines: 2 pages, then the cover's one.
    UseRows(45);
    m_pView->TakeDocumentRows();
    TempDir out;
    EXPECT_TRUE(PrintTo(out.Folder() + "parts.pdf").empty());
    EXPECT_EQ(Entry(0)->m_nFirstPage, 1);
    EXPECT_EQ(Entry(0)->m_nLastPage, 2);
    EXPECT_EQ(Entry(1)->m_nFirstPage, 3);
    EXPECT_EQ(Entry(1)->m_nLastPage, 3);
    EXPECT_EQ(PdfPageCount(NativePath(out.Folder() + "parts.pdf")), 3);
    EXPECT_EQ(m_pView->GetLayoutPage(), 1) << "page 3 is the cover's first page";
    // MORVEL_KEEP_PRINT=<file>: the PDF kept for a person to look at.
    if (const char* keep = std::getenv("MORVEL_KEEP_PRINT")) {
        std::ifstream in(NativePath(out.Folder() + "parts.pdf"), std::ios::binary);
        std::ofstream(keep, std::ios::binary) << in.rdbuf();
    }

    // 40 rows: exactly two pages are one; an empty list: the sample layout has no page and
    // the cover still one.
    UseRows(40);
    m_pView->TakeDocumentRows();
    PrintTo(out.Folder() + "forty.pdf");
    EXPECT_EQ(Entry(0)->m_nLastPage, 1);
    EXPECT_EQ(Entry(1)->m_nFirstPage, 2);
    UseRows(0);
    m_pView->TakeDocumentRows();
    PrintTo(out.Folder() + "empty.pdf");
    EXPECT_EQ(Entry(0)->m_nLastPage, 0);
    EXPECT_EQ(Entry(1)->m_nFirstPage, 1);
    EXPECT_EQ(PdfPageCount(NativePath(out.Folder() + "empty.pdf")), 1);
}

TEST_F(PartsPrint, AMissingLayoutIsSaidOnceAndPreviewPagesThroughTheRest)
{
    m_pDoc->ClearPrintForms();
    for (const char* title : {"ない", "部材表"}) {
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = CString::FromUtf8(title);
        pEntry->m_strFolder = WorkFolder();
        m_pDoc->m_aPrintForms.Add(pEntry);
    }
    UseRows(81);
    m_pView->TakeDocumentRows();
    CDialogAnswerer answerer;
    bool bRan = false;
    CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        bRan = true;
        EXPECT_EQ(preview.GetLastPage(), 3u);
        EXPECT_EQ(preview.GetNumPages(), 2);
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(m_pView->GetLayoutPage(), 3) << "the third page of the sample layout";
        EXPECT_EQ(m_pView->GetPrintPages(), 3);
        preview.Close(FALSE);
    });
    m_pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(previous);
    EXPECT_TRUE(bRan);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0], "印刷形式ﾌｧｲﾙが存在しません。"_sj);
    EXPECT_EQ(Entry(0)->m_nLastPage, Entry(0)->m_nFirstPage - 1) << "no pages";
}

} // namespace

// Documents, templates and the document manager: reading and writing through Serialize,
// the modified flag, saving safely, the save prompt, the template strings and file
// matching, opening an open file again, and the File New chooser.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CNewTypeDialog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// A document file of type A: the text (code page 932) as an archive string, then the value
// as a word.
std::vector<uint8_t> DocBytes(const CString& text, uint16_t value)
{
    ByteBuilder b;
    b.Str(text.str()).Word(value);
    return b.Bytes();
}

CTestViewA* FirstView(CDocument* pDoc)
{
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos ? dynamic_cast<CTestViewA*>(pDoc->GetNextView(pos)) : nullptr;
}

} // namespace

TEST(DocViewTest, TemplateStringsAndFileTypes)
{
    CFrameTestEnvironment env(FALSE);
    CMultiDocTemplate* pA = env.TemplateA();
    CString s;
    EXPECT_TRUE(pA->GetDocString(s, CDocTemplate::windowTitle));
    EXPECT_EQ(s, CString(""));
    pA->GetDocString(s, CDocTemplate::docName);
    EXPECT_EQ(s, CString("TestA"));
    pA->GetDocString(s, CDocTemplate::filterName);
    EXPECT_EQ(s, "TestA ﾌｧｲﾙ (*.TSA)"_sj);
    pA->GetDocString(s, CDocTemplate::filterExt);
    EXPECT_EQ(s, CString(".TSA"));
    pA->GetDocString(s, CDocTemplate::regFileTypeName);
    EXPECT_EQ(s, "TestA ﾌｧｲﾙ"_sj);
    EXPECT_EQ(CDocManager::GetTemplateFilter(pA), "TestA ﾌｧｲﾙ (*.TSA)|*.TSA|"_sj);

    // The extension decides without regard to case; any other file may still be tried.
    CDocument* pMatch = nullptr;
    EXPECT_EQ(pA->MatchDocType("C:\\WORK\\見積.tsa"_sj, pMatch), CDocTemplate::yesAttemptNative);
    EXPECT_EQ(pA->MatchDocType("C:\\WORK\\A.TSB", pMatch), CDocTemplate::yesAttemptForeign);
    EXPECT_EQ(pMatch, nullptr);
}

TEST(DocViewTest, OpeningAFileReadsItThroughSerialize)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    WriteNativeFile(dir.NativeFile("a.tsa"), DocBytes("見積の本文"_sj, 1234));
    const CString path = dir.Folder() + "a.tsa";
    env.App().SetProfilePath(dir.Folder() + "TEST.INI");
    env.App().LoadStdProfileSettings(4);

    CDocument* pDoc = env.App().OpenDocumentFile(path);
    auto* pA = dynamic_cast<CTestDocA*>(pDoc);
    ASSERT_NE(pA, nullptr);
    EXPECT_EQ(pA->GetDocTemplate(), env.TemplateA());
    EXPECT_EQ(pA->m_text, "見積の本文"_sj);
    EXPECT_EQ(pA->m_value, 1234);
    EXPECT_FALSE(pA->IsModified());
    EXPECT_EQ(pA->GetPathName(), path);
    EXPECT_EQ(pA->GetTitle(), CString("a.tsa"));
    // The view was made and updated once; the path joined the recent files.
    CTestViewA* pView = FirstView(pA);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->m_nInitialUpdates, 1);
    ASSERT_EQ(env.App().GetRecentFileCount(), 1);
    EXPECT_EQ(env.App().GetRecentFile(0), path);

    pA->SetModifiedFlag();
    EXPECT_TRUE(pA->IsModified());
    pA->UpdateAllViews(nullptr, 7);
    EXPECT_EQ(pView->m_lastHint, 7);
    const int nUpdates = pView->m_nUpdates;
    pA->UpdateAllViews(pView, 8);
    EXPECT_EQ(pView->m_nUpdates, nUpdates) << "the sender is not told";
}

TEST(DocViewTest, AnOpenFileIsActivatedInsteadOfOpenedTwice)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    WriteNativeFile(dir.NativeFile("b.tsa"), DocBytes("x", 1));
    WriteNativeFile(dir.NativeFile("c.tsb"), DocBytes("y", 2));
    CDocument* pFirst = env.App().OpenDocumentFile(dir.Folder() + "b.tsa");
    CDocument* pOther = env.App().OpenDocumentFile(dir.Folder() + "c.tsb");
    ASSERT_TRUE(pFirst && pOther);
    EXPECT_TRUE(dynamic_cast<CTestDocB*>(pOther) != nullptr) << "the .TSB template";
    EXPECT_NE(env.Main()->MDIGetActive()->GetActiveDocument(), pFirst);

    // The same file by another spelling of its name.
    CDocument* pAgain = env.App().OpenDocumentFile(dir.Folder() + "B.TSA");
    EXPECT_EQ(pAgain, pFirst);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 2);
    EXPECT_EQ(env.Main()->MDIGetActive()->GetActiveDocument(), pFirst);
}

TEST(DocViewTest, AFileThatCannotBeReadIsReportedAndNothingOpens)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    // The text's length prefix promises more bytes than the file has.
    ByteBuilder truncated;
    truncated.Byte(20).Raw("abc");
    WriteNativeFile(dir.NativeFile("bad.tsa"), truncated.Bytes());
    CDialogAnswerer answerer;
    EXPECT_EQ(env.App().OpenDocumentFile(dir.Folder() + "bad.tsa"), nullptr);
    EXPECT_EQ(env.App().OpenDocumentFile(dir.Folder() + "missing.tsa"), nullptr);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 2u);
    EXPECT_NE(answerer.MessageBoxTexts()[0].Find("bad.tsa"), -1);
    EXPECT_NE(answerer.MessageBoxTexts()[1].Find("が見つかりません"_sj), -1);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 0);
    EXPECT_TRUE(env.WalkChildren().empty()) << "no window is left behind";
}

TEST(DocViewTest, SavingWritesTheFileAndClearsTheModifiedFlag)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    auto* pDoc = dynamic_cast<CTestDocA*>(env.TemplateA()->OpenDocumentFile(nullptr));
    ASSERT_NE(pDoc, nullptr);
    pDoc->m_text = "部材"_sj;
    pDoc->m_value = 0x0102;
    pDoc->SetModifiedFlag();
    const CString path = dir.Folder() + "saved.tsa";
    ASSERT_TRUE(pDoc->DoSave(path));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->GetPathName(), path);
    EXPECT_EQ(pDoc->GetTitle(), CString("saved.tsa"));
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("saved.tsa")), DocBytes("部材"_sj, 0x0102));
}

TEST(DocViewTest, AFailingSaveKeepsTheOldFileWhole)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    WriteNativeFile(dir.NativeFile("keep.tsa"), DocBytes("old", 7));
    auto* pDoc = dynamic_cast<CTestDocA*>(env.App().OpenDocumentFile(dir.Folder() + "keep.tsa"));
    ASSERT_NE(pDoc, nullptr);
    pDoc->m_text = "new text";
    pDoc->SetModifiedFlag();
    CDialogAnswerer answerer;
    CTestDocA::s_failStoring = true;
    EXPECT_FALSE(pDoc->DoFileSave());
    CTestDocA::s_failStoring = false;
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u) << "the failure is reported";
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("keep.tsa")), DocBytes("old", 7));
}

// Messages name a file by its native path. A save that fails for a full disk says so
// (writing beyond the file-size limit fails as a full disk does) and that the old file is
// still there, as it is.
TEST(DocViewTest, FailuresShowTheNativePathAndAFullDiskSaysSoAndKeepsTheOldFile)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    CDialogAnswerer answerer;
    EXPECT_EQ(env.App().OpenDocumentFile(dir.Folder() + "missing.tsa"), nullptr);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0],
              CString(dir.NativeFile("missing.tsa")) + "が見つかりません。"_sj);

    WriteNativeFile(dir.NativeFile("full.tsa"), DocBytes("old", 7));
    auto* pDoc = dynamic_cast<CTestDocA*>(env.App().OpenDocumentFile(dir.Folder() + "full.tsa"));
    ASSERT_NE(pDoc, nullptr);
    pDoc->m_text = CString(std::string(4096, 'x').c_str());
    pDoc->SetModifiedFlag();
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL bSaved = pDoc->DoFileSave();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(bSaved);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 2u);
    EXPECT_EQ(answerer.MessageBoxTexts()[1],
              "ディスクがいっぱいのため、"_sj + CString(dir.NativeFile("full.tsa")) +
                  "を保存できませんでした。\n元のファイルは変更されていません。"_sj);
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("full.tsa")), DocBytes("old", 7));
    EXPECT_TRUE(pDoc->IsModified());
}

TEST(DocViewTest, SavePromptYesSavesNoDiscardsCancelKeeps)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    WriteNativeFile(dir.NativeFile("p.tsa"), DocBytes("before", 1));
    auto* pDoc = dynamic_cast<CTestDocA*>(env.App().OpenDocumentFile(dir.Folder() + "p.tsa"));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->SaveModified()) << "nothing to ask when unchanged";

    pDoc->m_text = "after";
    pDoc->SetModifiedFlag();
    {
        CDialogAnswerer answerer;
        answerer.AnswerNextMessageBox(IDCANCEL);
        EXPECT_FALSE(pDoc->SaveModified());
        ASSERT_EQ(answerer.GetShown().size(), 1u);
        EXPECT_EQ(answerer.GetShown()[0].text, "p.tsa への変更を保存しますか?"_sj);
        EXPECT_EQ(answerer.GetShown()[0].nType & 0x0F, MB_YESNOCANCEL);
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("p.tsa")), DocBytes("before", 1));
    {
        CDialogAnswerer answerer;
        answerer.AnswerNextMessageBox(IDNO);
        EXPECT_TRUE(pDoc->SaveModified());
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("p.tsa")), DocBytes("before", 1));
    {
        CDialogAnswerer answerer;
        answerer.AnswerNextMessageBox(IDYES);
        EXPECT_TRUE(pDoc->SaveModified());
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("p.tsa")), DocBytes("after", 1));
}

TEST(DocViewTest, SaveOfANewDocumentAsksForANameFromItsTitle)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    auto* pDoc = dynamic_cast<CTestDocA*>(env.TemplateA()->OpenDocumentFile(nullptr));
    ASSERT_NE(pDoc, nullptr);
    CString proposed;
    CDialogAnswerer answerer;
    const CString target = dir.Folder() + "named.tsa";
    answerer.AnswerFileDialog([&](CFileDialog& dlg, CString& path) {
        (void)dlg;
        path = target;
        return TRUE;
    });
    EXPECT_TRUE(pDoc->DoFileSave());
    ASSERT_EQ(answerer.GetShown().size(), 1u);
    EXPECT_EQ(answerer.GetShown()[0].kind, CDialogAnswerer::ShownFileDialog);
    EXPECT_EQ(pDoc->GetPathName(), target);
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("named.tsa")), DocBytes("", 0));

    // A cancelled dialog saves nothing.
    auto* pOther = dynamic_cast<CTestDocA*>(env.TemplateA()->OpenDocumentFile(nullptr));
    answerer.AnswerFileDialog(CString());
    EXPECT_FALSE(pOther->DoFileSave());
    EXPECT_TRUE(pOther->GetPathName().IsEmpty());
}

TEST(DocViewTest, FileNewAsksForTheTypeWhenThereAreSeveral)
{
    CFrameTestEnvironment env(FALSE);
    std::vector<CString> listed;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_NEWTYPEDLG, [&](CDialog& dlg) {
        for (int i = 0; i < 4; ++i) {
            CString name;
            const int len =
                static_cast<int>(dlg.SendDlgItemMessage(CNewTypeDialog::IDC_TYPE_LIST, LB_GETTEXTLEN, i));
            if (len < 0)
                break;
            name.GetBufferSetLength(len);
            dlg.SendDlgItemMessage(CNewTypeDialog::IDC_TYPE_LIST, LB_GETTEXT, i,
                                   reinterpret_cast<LPARAM>(name.GetBuffer(len + 1)));
            name.ReleaseBuffer();
            listed.push_back(name);
        }
        SelectDlgItem(dlg, CNewTypeDialog::IDC_TYPE_LIST, 1);
        ClickDlgButton(dlg, IDOK);
    });
    env.App().OnFileNew();
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0], CString("TestA"));
    EXPECT_EQ(listed[1], CString("TestB"));
    ASSERT_EQ(env.App().GetOpenDocumentCount(), 1);
    EXPECT_TRUE(dynamic_cast<CTestDocB*>(env.Main()->MDIGetActive()->GetActiveDocument()) != nullptr);
    ASSERT_FALSE(answerer.GetShown().empty());
    EXPECT_EQ(answerer.GetShown()[0].caption, "新規"_sj);

    // Cancel makes nothing.
    answerer.EndDialogWith(AFX_IDD_NEWTYPEDLG, IDCANCEL);
    env.App().OnFileNew();
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 1);
}

TEST(DocViewTest, ClosingTheLastViewClosesTheDocument)
{
    CFrameTestEnvironment env(FALSE);
    auto* pDoc = dynamic_cast<CTestDocA*>(env.TemplateA()->OpenDocumentFile(nullptr));
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetViewCount(), 1);
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    EXPECT_EQ(env.App().GetOpenDocumentCount(), 0);
    EXPECT_TRUE(env.WalkChildren().empty());
}

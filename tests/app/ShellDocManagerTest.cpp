// The document manager's file dialog: the four document types' filters, the start folder
// remembered per extension, and the path helpers it relies on.
#include "app/CMorvelApp.h"
#include "app/CMorvelDocManager.h"
#include "app/CMorvelDocTemplate.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace {

// What one file dialog was given.
struct CDialogSeen {
    BOOL bOpen = FALSE;
    CString strInitialDir;
    CString strFileName;
    CString strFilter;
    CString strDefExt;
    DWORD dwFlags = 0;
};

class ShellDocManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.Start());
        m_pManager = dynamic_cast<CMorvelDocManager*>(m_app->m_pDocManager);
        ASSERT_NE(m_pManager, nullptr);
        std::filesystem::create_directories(m_folder.Native("A"));
        std::filesystem::create_directories(m_folder.Native("B"));
        WriteNativeFile(m_folder.Native("A/list.MBD"), {0});
        WriteNativeFile(m_folder.Native("B/estimate.MMD"), {0});
    }

    // Answers the next file dialog with strAnswer (empty: cancel) and records it.
    void Answer(const CString& strAnswer)
    {
        m_answerer.AnswerFileDialog([this, strAnswer](CFileDialog& dlg, CString& path) {
            CDialogSeen seen;
            seen.bOpen = dlg.IsOpenDialog();
            seen.strInitialDir = dlg.m_ofn.lpstrInitialDir ? dlg.m_ofn.lpstrInitialDir : "";
            seen.strFileName = dlg.GetInitialFileName();
            seen.strFilter = FilterStringOf(dlg);
            seen.strDefExt = dlg.m_ofn.lpstrDefExt ? dlg.m_ofn.lpstrDefExt : "";
            seen.dwFlags = dlg.m_ofn.Flags;
            m_seen.push_back(seen);
            path = strAnswer;
            return strAnswer.IsEmpty() ? FALSE : TRUE;
        });
    }

    BOOL PromptOpen(CString& fileName)
    {
        return m_pManager->DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_FILEMUSTEXIST, TRUE, nullptr);
    }

    CShellTestFolder m_folder;
    CShellTestApp m_app;
    CDialogAnswerer m_answerer;
    CMorvelDocManager* m_pManager = nullptr;
    std::vector<CDialogSeen> m_seen;
};

} // namespace

TEST_F(ShellDocManager, OpenListsTheFourDocumentTypesAndAllFiles)
{
    Answer(CString());
    CString fileName;
    EXPECT_FALSE(PromptOpen(fileName));
    ASSERT_EQ(m_seen.size(), 1u);
    EXPECT_TRUE(m_seen[0].bOpen);
    EXPECT_EQ(m_seen[0].strFilter, "見積処理ﾌｧｲﾙ (*.MMD)|*.MMD|部材処理ﾌｧｲﾙ (*.MBD)|*.MBD|"
                                   "見積印刷形式ﾌｧｲﾙ (*.MMP)|*.MMP|部材印刷形式ﾌｧｲﾙ (*.MBP)|*.MBP|"
                                   "すべてのﾌｧｲﾙ (*.*)|*.*||"_sj);
    EXPECT_EQ(m_seen[0].strDefExt, "MMD");
    // The dialog never moves the current directory and hides the read-only box.
    EXPECT_NE(m_seen[0].dwFlags & OFN_NOCHANGEDIR, 0u);
    EXPECT_NE(m_seen[0].dwFlags & OFN_HIDEREADONLY, 0u);
    EXPECT_NE(m_seen[0].dwFlags & OFN_FILEMUSTEXIST, 0u);
}

TEST_F(ShellDocManager, ATemplatesOwnDialogListsOnlyItsFilter)
{
    POSITION pos = m_pManager->GetFirstDocTemplatePosition();
    m_pManager->GetNextDocTemplate(pos);
    CDocTemplate* pParts = m_pManager->GetNextDocTemplate(pos);
    ASSERT_NE(pParts, nullptr);
    CString strDefExt;
    EXPECT_EQ(m_pManager->BuildFilter(pParts, strDefExt),
              "部材処理ﾌｧｲﾙ (*.MBD)|*.MBD|すべてのﾌｧｲﾙ (*.*)|*.*||"_sj);
    EXPECT_EQ(strDefExt, "MBD");
}

TEST_F(ShellDocManager, FirstOpenStartsInTheWorkFolderThenWhereTheLastDocumentWasOpened)
{
    Answer(m_folder.System("A/list.MBD"));
    CString fileName;
    ASSERT_TRUE(PromptOpen(fileName));
    EXPECT_EQ(fileName, m_folder.System("A/list.MBD"));
    EXPECT_EQ(m_seen[0].strInitialDir, m_app->GetPathSetting("Work Field"));

    // An estimate next: the dialog starts in folder A all the same.
    Answer(m_folder.System("B/estimate.MMD"));
    ASSERT_TRUE(PromptOpen(fileName));
    EXPECT_EQ(m_seen[1].strInitialDir, m_folder.System("A/"));
    Answer(CString());
    EXPECT_FALSE(PromptOpen(fileName));
    EXPECT_EQ(m_seen[2].strInitialDir, m_folder.System("B/"));
}

TEST_F(ShellDocManager, ACancelledDialogRemembersNothing)
{
    Answer(CString());
    CString fileName = "keep";
    EXPECT_FALSE(PromptOpen(fileName));
    EXPECT_EQ(fileName, "keep");
    EXPECT_EQ(GetExtensionPathMap().GetCount(), 0);
}

// The folder of a save is remembered once the document was written there (a save that
// fails leaves the dialogs where they were).
TEST_F(ShellDocManager, SavingANewDocumentOffersOnlyTheNameAndRemembersTheFolderOnceSaved)
{
    const CString before = GetExtensionPath("MMD");
    Answer(m_folder.System("B/new.MMD"));
    CString fileName = m_folder.System("A/見積処理1.MMD");
    ASSERT_TRUE(m_pManager->DoPromptFileName(fileName, AFX_IDS_SAVEFILE, 0, FALSE, nullptr));
    ASSERT_EQ(m_seen.size(), 1u);
    EXPECT_FALSE(m_seen[0].bOpen);
    EXPECT_EQ(m_seen[0].strFileName, "見積処理1.MMD"_sj);
    EXPECT_NE(m_seen[0].dwFlags & OFN_OVERWRITEPROMPT, 0u);
    EXPECT_EQ(fileName, m_folder.System("B/new.MMD"));
    EXPECT_EQ(GetExtensionPath("mmd"), before);
    m_pManager->OnPromptedFileSaved(fileName);
    EXPECT_EQ(GetExtensionPath("mmd"), m_folder.System("B/"));
}

TEST_F(ShellDocManager, WithRemoveBackSlashTheStartFolderLosesItsTrailingBackslash)
{
    SetExtensionPath("MMD", "C:\\WORK\\A\\");
    EXPECT_EQ(m_pManager->GetStartFolder(), "C:\\WORK\\A\\");
    m_app->WriteProfileString("Dialog", "FileDialog", "removebackslash");
    EXPECT_EQ(m_pManager->GetStartFolder(), "C:\\WORK\\A");
    // The import of outside data takes the folder as it comes.
    EXPECT_EQ(GetExtensionPath("MMD"), "C:\\WORK\\A\\");
}

TEST_F(ShellDocManager, AFolderRememberedUnderAnotherExtensionLeavesTheDocumentDialogAlone)
{
    SetExtensionPath("csv", m_folder.System("A/"));
    EXPECT_EQ(GetExtensionPath("CSV"), m_folder.System("A/"));
    EXPECT_EQ(m_pManager->GetStartFolder(), m_app->GetPathSetting("Work Field"));
}

TEST_F(ShellDocManager, TypesWithoutTheirSubsystemStillOfferTheirFilterButSayTheyCannotBeOpened)
{
    POSITION pos = m_pManager->GetFirstDocTemplatePosition();
    std::vector<UINT> ids;
    while (pos != nullptr) {
        CDocTemplate* pTemplate = m_pManager->GetNextDocTemplate(pos);
        ids.push_back(pTemplate->GetResourceID());
        CString strDocName;
        EXPECT_TRUE(pTemplate->GetDocString(strDocName, CDocTemplate::docName));
        EXPECT_FALSE(strDocName.IsEmpty());
    }
    EXPECT_EQ(ids, (std::vector<UINT>{IDR_MORVELTYPE, IDR_PARTSTYPE, IDR_EMFORMTYPE, IDR_PMFORMTYPE}));

    // A print layout (no document class in this program yet).
    WriteNativeFile(m_folder.Native("A/layout.MMP"), {0});
    m_answerer.AnswerMessageBox("この形式のﾌｧｲﾙはまだ開けません。"_sj, IDOK);
    EXPECT_EQ(m_app->OpenDocumentFile(m_folder.System("A/layout.MMP")), nullptr);
    EXPECT_EQ(m_answerer.MessageBoxTexts(), std::vector<CString>{"この形式のﾌｧｲﾙはまだ開けません。"_sj});
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 0);
}

// The real File Open dialog names the program's own files by their types, whatever the
// desktop has installed: the program run from its build folder has none of them there. The
// forms are named too (they read "不明" once).
TEST(ShellFileDialog, TheProgramsOwnFilesShowTheirTypeNames)
{
    CShellTestFolder folder;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    for (const char* lpszName : {"a.MMD", "b.mbd", "c.MMP", "d.MBP", "e.MMK", "f.mbk", "g.MJK"})
        WriteNativeFile(folder.Native("WORK/") + lpszName, {0});
    std::map<std::string, std::string> types;
    int nTries = 0;
    std::function<void()> inspect = [&] {
        auto* q = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(q, nullptr);
        auto* pList = q->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(pList, nullptr);
        QAbstractItemModel* pModel = pList->model();
        // The folder is read in the background; wait for its seven files.
        if (pModel->rowCount(pList->rootIndex()) < 7 && ++nTries < 200) {
            QTimer::singleShot(20, inspect);
            return;
        }
        for (int r = 0; r < pModel->rowCount(pList->rootIndex()); ++r)
            types[pModel->index(r, 0, pList->rootIndex()).data().toString().toStdString()] =
                pModel->index(r, 2, pList->rootIndex()).data().toString().toStdString();
        q->reject();
    };
    // All files: the list shows the four types at once.
    auto* pManager = dynamic_cast<CMorvelDocManager*>(app->m_pDocManager);
    ASSERT_NE(pManager, nullptr);
    QTimer::singleShot(0, [&] {
        auto* q = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(q, nullptr);
        q->selectNameFilter(q->nameFilters().back());
        inspect();
    });
    CString fileName;
    EXPECT_FALSE(pManager->DoPromptFileName(fileName, AFX_IDS_OPENFILE, 0, TRUE, nullptr));
    EXPECT_EQ(types, (std::map<std::string, std::string>{{"a.MMD", "見積処理ﾌｧｲﾙ"},
                                                         {"b.mbd", "部材処理ﾌｧｲﾙ"},
                                                         {"c.MMP", "見積印刷形式ﾌｧｲﾙ"},
                                                         {"d.MBP", "部材印刷形式ﾌｧｲﾙ"},
                                                         {"e.MMK", "見積形式ﾌｧｲﾙ"},
                                                         {"f.mbk", "部材形式ﾌｧｲﾙ"},
                                                         {"g.MJK", "情報形式ﾌｧｲﾙ"}}));
}

TEST(ShellPaths, FolderFileNameAndExtensionOfAPath)
{
    EXPECT_EQ(GetFolderOfPath("C:\\WORK\\A.MMD"), "C:\\WORK\\");
    EXPECT_EQ(GetFileNameOfPath("C:\\WORK\\A.MMD"), "A.MMD");
    EXPECT_EQ(GetFolderOfPath("/srv/work/a.mmd"), "/srv/work/");
    EXPECT_EQ(GetExtensionOfPath("/srv/work.d/a.rxb"), "rxb");
    EXPECT_EQ(GetExtensionOfPath("/srv/work.d/noext"), "");
    EXPECT_EQ(GetFolderOfPath("A.MMD"), "");
    // "ソ" is 0x83 0x5C: its second byte is no separator.
    const CString strSo = "C:\\ソ.MMD"_sj;
    EXPECT_EQ(GetFileNameOfPath(strSo), "ソ.MMD"_sj);
    EXPECT_EQ(GetFolderOfPath("C:\\A\\ソ"_sj), "C:\\A\\");
}

TEST(ShellPaths, TrailingBackslashIsRemovedOnlyWhenItIsOne)
{
    EXPECT_EQ(RemoveTrailingBackslash("C:\\WORK\\"), "C:\\WORK");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\WORK"), "C:\\WORK");
    EXPECT_EQ(RemoveTrailingBackslash("\\"), "");
    // A folder ending in "ソ" (0x83 0x5C) keeps its last character.
    const CString strSo = "C:\\ソ"_sj;
    EXPECT_EQ(RemoveTrailingBackslash(strSo), strSo);
    EXPECT_EQ(RemoveTrailingBackslash(strSo + "\\"), strSo);
}

TEST(ShellPaths, ExtensionIsReplacedInTheFileNameOnly)
{
    EXPECT_EQ(ReplaceFileExtension("/usr/lib/morvel.d/morvel", ".chm"), "/usr/lib/morvel.d/morvel.chm");
    EXPECT_EQ(ReplaceFileExtension("C:\\MORVEL\\MORVEL.EXE", ".chm"), "C:\\MORVEL\\MORVEL.chm");
}

TEST(ShellPaths, RememberedFoldersAreKeptByUpperCaseExtension)
{
    CShellTestFolder folder;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(GetExtensionPath("M2K"), app->GetPathSetting("Work Field"));
    SetExtensionPath("m2k", "C:\\EXPORT\\");
    EXPECT_EQ(GetExtensionPath("M2K"), "C:\\EXPORT\\");
    EXPECT_EQ(app->GetExtensionPath("m2K"), "C:\\EXPORT\\");
    SetExtensionPath("M2K", "C:\\OTHER\\");
    EXPECT_EQ(GetExtensionPath("m2k"), "C:\\OTHER\\");
    EXPECT_EQ(GetExtensionPathMap().GetCount(), 1);
    EXPECT_FALSE(IsWow64());
}

// The main frame: its bars and zoom box, the message pane while menus are open, the
// commands that need no document, and the walk over the document windows.
#include "app/CMainFrame.h"
#include "app/CMorvelApp.h"
#include "app/CMorvelDocManager.h"
#include "app/CShellServices.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QTextBrowser>
#include <QUrl>

#include <cstdlib>
#include <filesystem>

namespace {

class CServicesGuard {
public:
    CServicesGuard() : m_saved(CShellServices::Get()) {}
    ~CServicesGuard() { CShellServices::Get() = m_saved; }

private:
    CShellServices m_saved;
};

// Records what an update handler did to an item.
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    int m_nEnabled = -1;
    int m_nCheck = -1;
};

int CheckOf(CFrameWnd* pFrame, UINT nID)
{
    CRecordingCmdUI cmdUI;
    cmdUI.m_nID = nID;
    cmdUI.DoUpdate(pFrame, TRUE);
    return cmdUI.m_nCheck;
}

class ShellMainFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.Start());
        m_pFrame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
    }

    CShellTestFolder m_folder;
    CShellTestApp m_app;
    CMainFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(ShellMainFrame, BothToolBarsStandOnOneRowAtTheTopTheSecondRightOfTheFirst)
{
    ASSERT_TRUE(m_pFrame->GetToolBar().IsWindowVisible());
    ASSERT_TRUE(m_pFrame->GetMorvelBar().IsWindowVisible());
    const int nRow = m_pFrame->GetBarRow(&m_pFrame->GetToolBar());
    EXPECT_GE(nRow, 0);
    EXPECT_EQ(m_pFrame->GetBarRow(&m_pFrame->GetMorvelBar()), nRow);
    CRect rcMain;
    CRect rcSecond;
    m_pFrame->GetToolBar().GetWindowRect(&rcMain);
    m_pFrame->GetMorvelBar().GetWindowRect(&rcSecond);
    EXPECT_GE(rcSecond.left, rcMain.right - 1);
    EXPECT_LT(rcSecond.top, rcMain.bottom);
    EXPECT_GT(rcSecond.bottom, rcMain.top);
    CString strTitle;
    m_pFrame->GetToolBar().GetWindowText(strTitle);
    EXPECT_EQ(strTitle, "ﾂｰﾙﾊﾞｰ"_sj);
    m_pFrame->GetMorvelBar().GetWindowText(strTitle);
    EXPECT_EQ(strTitle, "ﾓﾙﾍﾞﾙﾊﾞｰ"_sj);
}

TEST_F(ShellMainFrame, ZoomBoxTakesButtonSeventeenAndHoldsTheSevenZoomSteps)
{
    CComboBox& box = m_pFrame->GetZoomBox();
    ASSERT_NE(box.GetSafeHwnd(), nullptr);
    EXPECT_EQ(box.GetDlgCtrlID(), static_cast<int>(IDC_ZOOM_BOX));
    EXPECT_EQ(box.GetParent(), &m_pFrame->GetToolBar());
    EXPECT_EQ(m_pFrame->GetToolBar().GetItemID(ZOOM_BOX_BUTTON_INDEX), IDC_ZOOM_BOX);
    UINT nID = 0;
    UINT nStyle = 0;
    int nWidth = 0;
    m_pFrame->GetToolBar().GetButtonInfo(ZOOM_BOX_BUTTON_INDEX, nID, nStyle, nWidth);
    EXPECT_NE(nStyle & TBBS_SEPARATOR, 0u);
    EXPECT_EQ(nWidth, 85);

    const CString expected[] = {"25%", "50%", "75%", "100%", "150%", "200%", "ﾕｰｻﾞｰ 指定..."_sj};
    ASSERT_EQ(box.GetCount(), 7);
    for (int i = 0; i < 7; ++i) {
        CString strText;
        box.GetLBText(i, strText);
        EXPECT_EQ(strText, expected[i]) << i;
    }
    EXPECT_EQ(box.FindStringExact(-1, "100%"), 3);
}

TEST_F(ShellMainFrame, StatusBarHasTheMessagePaneTwoViewPanesAndCapsLock)
{
    CStatusBar& bar = m_pFrame->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 4);
    EXPECT_EQ(bar.GetItemID(0), ID_SEPARATOR);
    EXPECT_EQ(bar.GetItemID(1), ID_INDICATOR_PANE1);
    EXPECT_EQ(bar.GetItemID(2), ID_INDICATOR_PANE2);
    EXPECT_EQ(bar.GetItemID(3), ID_INDICATOR_CAPS);
    UINT nID = 0;
    UINT nStyle = 0;
    int nWidth1 = 0;
    int nWidth2 = 0;
    bar.GetPaneInfo(1, nID, nStyle, nWidth1);
    bar.GetPaneInfo(2, nID, nStyle, nWidth2);
    // 44 and 33 blanks wide.
    EXPECT_GT(nWidth1, nWidth2);
    EXPECT_GT(nWidth2, 0);
}

TEST_F(ShellMainFrame, MessagePaneWidensWhileAMenuOfTheMenuBarIsOpenAndComesBackAfterwards)
{
    CStatusBar& bar = m_pFrame->GetStatusBar();
    UINT nID = 0;
    UINT nStyle = 0;
    int nWidth = 0;
    bar.GetPaneInfo(0, nID, nStyle, nWidth);

    CMenu* pFileMenu = m_app->m_menuFrame.GetSubMenu(0);
    ASSERT_NE(pFileMenu, nullptr);
    // Opening "ﾌｧｲﾙ(&F)": the menu selection comes first, then the pop-up's initialisation.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_MOUSESELECT),
                          reinterpret_cast<LPARAM>(m_app->m_menuFrame.GetSafeHmenu()));
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFileMenu->GetSafeHmenu()),
                          MAKELPARAM(0, 0));
    UINT nOpenID = 0;
    UINT nOpenStyle = 0;
    int nOpenWidth = 0;
    bar.GetPaneInfo(0, nOpenID, nOpenStyle, nOpenWidth);
    EXPECT_EQ(nOpenID, nID);
    EXPECT_EQ(nOpenStyle, SBPS_NOBORDERS | SBPS_STRETCH);
    EXPECT_EQ(nOpenWidth, 16384);

    // A second pop-up while the menu is open keeps what was saved first.
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFileMenu->GetSafeHmenu()),
                          MAKELPARAM(0, 0));

    // Closed without a choice.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
    UINT nAfterID = 0;
    UINT nAfterStyle = 0;
    int nAfterWidth = 0;
    bar.GetPaneInfo(0, nAfterID, nAfterStyle, nAfterWidth);
    EXPECT_EQ(nAfterID, nID);
    EXPECT_EQ(nAfterStyle, nStyle);
    EXPECT_EQ(nAfterWidth, nWidth);
}

TEST_F(ShellMainFrame, AContextMenuLeavesTheMessagePaneAlone)
{
    CStatusBar& bar = m_pFrame->GetStatusBar();
    UINT nID = 0;
    UINT nStyle = 0;
    int nWidth = 0;
    bar.GetPaneInfo(0, nID, nStyle, nWidth);
    CMenu* pFileMenu = m_app->m_menuFrame.GetSubMenu(0);
    ASSERT_NE(pFileMenu, nullptr);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFileMenu->GetSafeHmenu()),
                          MAKELPARAM(0, 0));
    UINT nAfterID = 0;
    UINT nAfterStyle = 0;
    int nAfterWidth = 0;
    bar.GetPaneInfo(0, nAfterID, nAfterStyle, nAfterWidth);
    EXPECT_EQ(nAfterStyle, nStyle);
    EXPECT_EQ(nAfterWidth, nWidth);
}

TEST_F(ShellMainFrame, ToolBarCommandsHideAndShowTheirBarsWithTicksWhileVisible)
{
    EXPECT_EQ(CheckOf(m_pFrame, ID_VIEW_MORVELBAR), 1);
    EXPECT_EQ(CheckOf(m_pFrame, ID_VIEW_TOOLBAR), 1);

    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_MORVELBAR);
    EXPECT_FALSE(m_pFrame->GetMorvelBar().IsWindowVisible());
    EXPECT_TRUE(m_pFrame->GetToolBar().IsWindowVisible());
    EXPECT_EQ(CheckOf(m_pFrame, ID_VIEW_MORVELBAR), 0);

    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_pFrame->GetToolBar().IsWindowVisible());
    EXPECT_EQ(CheckOf(m_pFrame, ID_VIEW_TOOLBAR), 0);

    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_MORVELBAR);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_pFrame->GetMorvelBar().IsWindowVisible());
    EXPECT_TRUE(m_pFrame->GetToolBar().IsWindowVisible());
    EXPECT_EQ(CheckOf(m_pFrame, ID_VIEW_MORVELBAR), 1);
}

TEST_F(ShellMainFrame, AfterTheSettingsSheetsTheWorkFolderIsTheCurrentDirectoryAgain)
{
    CServicesGuard guard;
    std::string face;
    int nPoints = 0;
    int nCalls = 0;
    auto sheet = [&](CWnd* pParent, const char* lpszFace, int nPointSize) {
        EXPECT_EQ(pParent, m_pFrame);
        face = lpszFace;
        nPoints = nPointSize;
        ++nCalls;
        SetCurrentDirectory(m_folder.System("FORM"));
        return IDCANCEL;
    };
    CShellServices::Get().runEnvironmentSheet = sheet;
    CShellServices::Get().runIntroductionSheet = sheet;
    const std::string work = std::filesystem::canonical(m_folder.Native("WORK")).string();

    m_pFrame->SendMessage(WM_COMMAND, ID_ENVIRONMENT);
    EXPECT_EQ(std::filesystem::current_path().string(), work);
    EXPECT_EQ(CString(face.c_str()), "ＭＳ Ｐゴシック"_sj);
    EXPECT_EQ(nPoints, 9);

    m_pFrame->SendMessage(WM_COMMAND, ID_INTRODUCTION);
    EXPECT_EQ(std::filesystem::current_path().string(), work);
    EXPECT_EQ(nCalls, 2);
}

TEST_F(ShellMainFrame, ImportOfOutsideDataRemembersItsFolderForTheNextDocumentDialog)
{
    std::filesystem::create_directories(m_folder.Native("OUTSIDE"));
    const CString strChosen = m_folder.System("OUTSIDE/site.rxb");
    const CString strFolder = m_folder.System("OUTSIDE/");
    WriteNativeFile(m_folder.Native("OUTSIDE/site.rxb"), {1, 2, 3});

    CDialogAnswerer answerer;
    CString strFilter;
    CString strDefExt;
    CString strInitialDir;
    answerer.AnswerFileDialog([&](CFileDialog& dlg, CString& path) {
        strFilter = FilterStringOf(dlg);
        strDefExt = dlg.m_ofn.lpstrDefExt ? dlg.m_ofn.lpstrDefExt : "";
        strInitialDir = dlg.m_ofn.lpstrInitialDir ? dlg.m_ofn.lpstrInitialDir : "";
        path = strChosen;
        return TRUE;
    });
    // No document type takes these files yet.
    answerer.AnswerNextMessageBox(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_IMPORT_OTHER);

    EXPECT_EQ(strFilter,
              "Tessan RX3000詳細積算ﾃﾞｰﾀﾌｧｲﾙ(*.RXB)|*.RXB|Tessan RX3000営業見積ﾃﾞｰﾀﾌｧｲﾙ(*.RXA)|*.RXA|"
              "Tessan TP5000積算ﾃﾞｰﾀﾌｧｲﾙ(*.MVL)|*.MVL||"_sj);
    EXPECT_EQ(strDefExt, "MMK");
    EXPECT_EQ(strInitialDir, m_app->GetPathSetting("Work Field"));
    EXPECT_EQ(GetExtensionPath("RXB"), strFolder);
    EXPECT_EQ(GetExtensionPath("MMD"), strFolder);

    // The next File Open starts there.
    CString strNextInitialDir;
    answerer.AnswerFileDialog([&](CFileDialog& dlg, CString&) {
        strNextInitialDir = dlg.m_ofn.lpstrInitialDir ? dlg.m_ofn.lpstrInitialDir : "";
        return FALSE;
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(strNextInitialDir, strFolder);
}

TEST_F(ShellMainFrame, CancellingTheImportChangesNothing)
{
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(CString());
    m_pFrame->SendMessage(WM_COMMAND, ID_IMPORT_OTHER);
    EXPECT_EQ(GetExtensionPathMap().GetCount(), 0);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
}

TEST_F(ShellMainFrame, DosConversionCommandGoesToTheConversion)
{
    CServicesGuard guard;
    CWnd* pCalledWith = nullptr;
    CShellServices::Get().runDosConversion = [&](CWnd* pMainFrame) { pCalledWith = pMainFrame; };
    m_pFrame->SendMessage(WM_COMMAND, ID_DOS_CONVERT);
    EXPECT_EQ(pCalledWith, m_pFrame);
}

// The guide is found beside a built program (help/) or where an installed one keeps it
// (../share/morvel/help), and the help commands open its pages in the desktop's browser.
TEST_F(ShellMainFrame, HelpCommandsOpenTheGuideInTheBrowserAtTheirTopic)
{
    TempDir dir;
    namespace fs = std::filesystem;
    const fs::path root(dir.Native());
    const fs::path installed = root / "share" / "morvel" / "help";
    fs::create_directories(installed);
    fs::create_directories(root / "build" / "help");
    for (const char* page : {"index.html", "estimate.html"})
        WriteNativeFile((installed / page).string(), {'<', 'p', '>'});
    WriteNativeFile((root / "build" / "help" / "index.html").string(), {'<', 'p', '>'});
    EXPECT_EQ(CMainFrame::FindHelpFile(SystemPathFromNative((root / "bin" / "morvel").string())),
              SystemPathFromNative((installed / "index.html").string()));
    EXPECT_EQ(CMainFrame::FindHelpFile(SystemPathFromNative((root / "build" / "morvel").string())),
              SystemPathFromNative((root / "build" / "help" / "index.html").string()));

    // The browser: whatever opens a local file gets the page.
    QTextBrowser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "setSource");
    setenv("MORVEL_HELP_DIR", installed.c_str(), 1);
    CDialogAnswerer answerer;
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    const QUrl index = browser.source();
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP);
    const QUrl help = browser.source();
    unsetenv("MORVEL_HELP_DIR");
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_TRUE(answerer.MessageBoxTexts().empty()) << "nothing is missing";
    EXPECT_EQ(index.toLocalFile().toStdString(), (installed / "index.html").string());
    // Without a document the context help is the table of contents too.
    EXPECT_EQ(help.toLocalFile().toStdString(), (installed / "index.html").string());
    EXPECT_EQ(m_pFrame->GetHelpTopic(ID_HELP_FINDER), "index.html");
}

// With no browser to hand the page to, the command says so instead of doing nothing.
TEST_F(ShellMainFrame, HelpWithoutABrowserSaysSo)
{
    TempDir dir;
    WriteNativeFile(dir.Native() + "/index.html", {'<', 'p', '>'});
    CScopedEnvironment env;
    env.Set("MORVEL_HELP_DIR", dir.Native());
    env.Set("PATH", dir.Native()); // no program there to open a page with
    CDialogAnswerer answerer;
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].Find("ﾌﾞﾗｳｻﾞが見つかりません"_sj), -1) << texts[0].ToUtf8();
    EXPECT_NE(texts[0].Find(CString((dir.Native() + "/index.html").c_str())), -1) << texts[0].ToUtf8();
}

// The guide in the tree has every page the commands and its own links name.
TEST(ShellHelpGuide, EveryPageTheGuideLinksToIsInTheTree)
{
    namespace fs = std::filesystem;
    const fs::path help = fs::path(MORVEL_SOURCE_DIR) / "docs" / "help";
    ASSERT_TRUE(fs::is_regular_file(help / "index.html"));
    ASSERT_TRUE(fs::is_regular_file(help / "estimate.html"));
    int nLinks = 0;
    for (const auto& entry : fs::directory_iterator(help)) {
        if (entry.path().extension() != ".html")
            continue;
        const std::vector<uint8_t> bytes = ReadNativeFile(entry.path().string());
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_NE(text.find("<html lang=\"ja\">"), std::string::npos) << entry.path();
        for (size_t at = text.find("href=\""); at != std::string::npos; at = text.find("href=\"", at + 1)) {
            const size_t start = at + 6;
            const std::string target = text.substr(start, text.find('"', start) - start);
            EXPECT_TRUE(fs::is_regular_file(help / target)) << entry.path() << " -> " << target;
            ++nLinks;
        }
    }
    EXPECT_GT(nLinks, 10);
}

TEST_F(ShellMainFrame, TheFrameShowsTheFrameMenuAndTheProgramTitleWhileNoDocumentIsOpen)
{
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_EQ(strTitle, "みつもりﾓﾙﾍﾞﾙ"_sj);
    EXPECT_EQ(m_pFrame->m_hMenuDefault, m_app->m_menuFrame.GetSafeHmenu());
    CMenu* pMenu = m_pFrame->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->GetMenuItemCount(), m_app->m_menuFrame.GetMenuItemCount());
    CString strText;
    pMenu->GetMenuString(ID_FILE_OPEN, strText, MF_BYCOMMAND);
    EXPECT_EQ(strText, "開く(&O)...\tCtrl+O"_sj);
    EXPECT_TRUE(m_pFrame->IsZoomed());
}

TEST_F(ShellMainFrame, WalkOverTheDocumentWindowsGivesEachChildFrameOnceAndStaysAtTheEnd)
{
    EXPECT_EQ(m_pFrame->GetMDIChildCount(), 0);
    EXPECT_EQ(m_pFrame->GetNextMDIChild(), nullptr);

    std::vector<CMDIChildWnd*> children;
    for (int i = 0; i < 3; ++i) {
        CMDIChildWnd* pChild = new CMDIChildWnd;
        CString strTitle;
        strTitle.Format("child %d", i);
        ASSERT_TRUE(pChild->Create(nullptr, strTitle, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                   CFrameWnd::rectDefault, m_pFrame));
        children.push_back(pChild);
    }

    EXPECT_EQ(m_pFrame->GetMDIChildCount(), 3);
    // The count leaves the walk at its end.
    EXPECT_EQ(m_pFrame->GetNextMDIChild(), nullptr);

    m_pFrame->ResetMDIChildWalk();
    std::vector<CMDIChildWnd*> walked;
    while (CMDIChildWnd* pChild = m_pFrame->GetNextMDIChild())
        walked.push_back(pChild);
    ASSERT_EQ(walked.size(), 3u);
    for (CMDIChildWnd* pChild : children)
        EXPECT_EQ(std::count(walked.begin(), walked.end(), pChild), 1);
    EXPECT_EQ(m_pFrame->GetNextMDIChild(), nullptr);

    // A window closed in the middle of a walk ends it instead of being touched.
    m_pFrame->ResetMDIChildWalk();
    CMDIChildWnd* pFirst = m_pFrame->GetNextMDIChild();
    ASSERT_NE(pFirst, nullptr);
    pFirst->DestroyWindow();
    EXPECT_EQ(m_pFrame->GetNextMDIChild(), nullptr);
    EXPECT_EQ(m_pFrame->GetMDIChildCount(), 2);
}

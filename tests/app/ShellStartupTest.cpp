// Start-up of the program on a work folder: the eight master and form files, the
// process-selection dialog for a missing file, damaged files, the single instance, the
// fonts and the recent-file list.
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CSingleInstanceLock.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <QWindow>

#include <filesystem>
#include <functional>

namespace {

// Reads one file of the folder with a table's own reader, to compare with what start-up
// loaded.
template <class TTable>
TTable ReadTable(const std::string& nativePath, const std::function<int(TTable&, CArchive&)>& read)
{
    TTable table;
    CFile f(SystemPathFromNative(nativePath), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    EXPECT_EQ(read(table, ar), 0) << nativePath;
    return table;
}

// Puts the services of the setup subsystem back as they were (not installed).
class CServicesGuard {
public:
    CServicesGuard() : m_saved(CShellServices::Get()) {}
    ~CServicesGuard() { CShellServices::Get() = m_saved; }

private:
    CShellServices m_saved;
};

// The last word of a start-up that ends: it names the file and says the program ends.
bool IsEndOfStartup(const CString& text, const char* lpszFile)
{
    CString upper = text;
    upper.MakeUpper();
    return upper.Find(lpszFile) >= 0 && text.Find("ﾌﾟﾛｸﾞﾗﾑを終了します。"_sj) >= 0;
}

} // namespace

TEST(ShellStartup, StartupOnTheSamplesLoadsAllEightFiles)
{
    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());

    const CUnitFile units = ReadTable<CUnitFile>(folder.Native("MASTER/TANNI.MTD"),
                                                 [](CUnitFile& t, CArchive& ar) { return t.Serialize(ar); });
    ASSERT_GT(units.GetCount(), 0);
    EXPECT_EQ(app->m_unitFile.GetCount(), units.GetCount());
    EXPECT_EQ(app->m_unitFile.GetUnit(0), units.GetUnit(0));
    EXPECT_EQ(app->m_unitFile.GetUnit(units.GetCount() - 1), units.GetUnit(units.GetCount() - 1));

    const char* const levelFiles[] = {"MASTER/KAMOKU.MKB", "MASTER/KAMOKU.MKM", "MASTER/KAMOKU.MKS"};
    for (int nLevel = 0; nLevel < CSubjectFile::LEVEL_COUNT; ++nLevel) {
        const CSubjectFile subjects = ReadTable<CSubjectFile>(
            folder.Native(levelFiles[nLevel]),
            [nLevel](CSubjectFile& t, CArchive& ar) { return t.SerializeLevel(nLevel, ar); });
        ASSERT_GT(subjects.GetCount(nLevel), 0) << nLevel;
        EXPECT_EQ(app->m_subjectFile.GetCount(nLevel), subjects.GetCount(nLevel)) << nLevel;
        EXPECT_EQ(app->m_subjectFile.GetName(nLevel, 0), subjects.GetName(nLevel, 0)) << nLevel;
    }

    const CClassifyFile classes = ReadTable<CClassifyFile>(
        folder.Native("MASTER/BUNRUL.MRD"), [](CClassifyFile& t, CArchive& ar) { return t.Serialize(ar); });
    EXPECT_GT(classes.GetCount(), 0);
    EXPECT_EQ(app->m_classifyFile.GetCount(), classes.GetCount());

    const CEstimationFormFile estimation =
        ReadTable<CEstimationFormFile>(folder.Native("FORM/meisai.MMK"),
                                       [](CEstimationFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    const CPartFormFile parts = ReadTable<CPartFormFile>(
        folder.Native("FORM/BUZAI.MBK"), [](CPartFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    const CInformationFormFile information = ReadTable<CInformationFormFile>(
        folder.Native("FORM/JYOUHOU.MJK"),
        [](CInformationFormFile& t, CArchive& ar) { return t.Serialize(ar); });
    EXPECT_GT(estimation.GetCount(), 0);
    EXPECT_EQ(app->m_estimationForm.GetCount(), estimation.GetCount());
    EXPECT_TRUE(app->m_estimationForm.IsSameForm(estimation));
    EXPECT_EQ(app->m_partForm.GetCount(), parts.GetCount());
    EXPECT_TRUE(app->m_partForm.IsSameForm(parts));
    EXPECT_EQ(app->m_informationForm.GetCount(), information.GetCount());
    EXPECT_TRUE(app->m_informationForm.IsSameForm(information));

    // The form members hold the bare names once start-up is over.
    EXPECT_EQ(app->m_strEstimationFormFile, "meisai.MMK");
    EXPECT_EQ(app->m_strInformationFormFile, "JYOUHOU.MJK");
    EXPECT_EQ(app->m_strPartFormFile, "BUZAI.MBK");

    // Nothing was asked, the settings were read, and no document is open.
    EXPECT_TRUE(answerer.GetShown().empty());
    EXPECT_EQ(app->m_nTax, 8);
    EXPECT_EQ(app->m_nRoundMode, 3);
    ASSERT_NE(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(app->m_pMainWnd->IsWindowVisible());
    EXPECT_EQ(app->GetOpenDocumentCount(), 0);
}

TEST(ShellStartup, MissingMiddleSubjectFileShowsItsMessageAndTheProcessSelection)
{
    CShellTestFolder folder;
    folder.RemoveFile("MASTER/KAMOKU.MKM");
    CServicesGuard servicesGuard;
    std::vector<std::string> pagesAsked;
    BOOL bSmallReadBefore = TRUE;
    CShellTestApp app;
    // The setup page makes the file anew, as the real page does.
    CShellServices::Get().runIntroductionPage = [&](const char* lpszPageKey) {
        pagesAsked.push_back(lpszPageKey);
        bSmallReadBefore = app->m_subjectFile.GetCount(CSubjectFile::levelSmall) > 0;
        folder.WriteFile("MASTER/KAMOKU.MKM",
                         SubjectFileBytes(CSubjectFile::levelMiddle, {{"土工事", "式"}, {"木工事", "式"}}));
        return IDOK;
    };

    CDialogAnswerer answerer;
    answerer.AnswerMessageBox("中科目ﾌｧｲﾙがないか、壊れています。"_sj, IDOK);
    int nSelectOnOpen = -1;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [&](CDialog& dlg) {
        nSelectOnOpen = dlg.IsDlgButtonChecked(IDC_RADIO_NEW) ? 0 : 1;
        ClickDlgButton(dlg, IDC_RADIO_NEW);
        ClickDlgButton(dlg, IDOK);
    });
    ASSERT_TRUE(app.Start());

    const auto& shown = answerer.GetShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].kind, CDialogAnswerer::ShownMessageBox);
    EXPECT_EQ(shown[0].text, "中科目ﾌｧｲﾙがないか、壊れています。"_sj);
    // A plain box: no icon.
    EXPECT_EQ(shown[0].nType & 0xF0, 0u);
    EXPECT_EQ(shown[1].kind, CDialogAnswerer::ShownDialog);
    EXPECT_EQ(shown[1].nID, IDD_PROCESS_SELECT);
    EXPECT_EQ(shown[1].caption, "処理選択"_sj);
    EXPECT_EQ(nSelectOnOpen, 0) << "新規作成 is chosen when the dialog opens";

    ASSERT_EQ(pagesAsked, std::vector<std::string>{"SubjectMiddle"});
    EXPECT_FALSE(bSmallReadBefore) << "the small subjects are read after the middle ones";
    EXPECT_GT(app->m_unitFile.GetCount(), 0);
    EXPECT_GT(app->m_subjectFile.GetCount(CSubjectFile::levelLarge), 0);
    EXPECT_EQ(app->m_subjectFile.GetCount(CSubjectFile::levelMiddle), 2);
    EXPECT_GT(app->m_subjectFile.GetCount(CSubjectFile::levelSmall), 0);
}

TEST(ShellStartup, ASetupSheetThatMakesNoFileEndsStartup)
{
    CShellTestFolder folder;
    folder.RemoveFile("MASTER/TANNI.MTD");
    CServicesGuard servicesGuard;
    CShellServices::Get().runIntroductionPage = [](const char*) { return IDOK; };
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(answerer.MessageBoxTexts().front(), "単位ﾌｧｲﾙがないか、壊れています。"_sj);
}

TEST(ShellStartup, CancellingTheProcessSelectionEndsStartup)
{
    CShellTestFolder folder;
    folder.RemoveFile("FORM/BUZAI.MBK");
    CDialogAnswerer answerer;
    answerer.EndDialogWith(IDD_PROCESS_SELECT, IDCANCEL);
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "部材形式ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_TRUE(IsEndOfStartup(texts[1], "BUZAI.MBK")) << texts[1].ToUtf8();
    // Every file before the parts form was read.
    EXPECT_GT(app->m_estimationForm.GetCount(), 0);
    EXPECT_EQ(app->m_partForm.GetCount(), 0);
}

TEST(ShellStartup, WithoutTheSetupSubsystemNewCreationSaysSoAndEndsStartup)
{
    CShellTestFolder folder;
    folder.RemoveFile("MASTER/KAMOKU.MKS");
    CServicesGuard servicesGuard;
    CShellServices::Get().runIntroductionPage = nullptr;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "小科目ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(texts[1], "導入処理の画面はまだ用意されていません。"_sj);
    EXPECT_TRUE(IsEndOfStartup(texts[2], "KAMOKU.MKS")) << texts[2].ToUtf8();
}

TEST(ShellStartup, PathChangeReadsTheFormFromTheNewFolderAndKeepsBareNames)
{
    CShellTestFolder folder;
    // The estimation form lies in another folder under another name.
    std::filesystem::create_directories(folder.Native("FORM2"));
    std::filesystem::rename(folder.Native("FORM/meisai.MMK"), folder.Native("FORM2/other.MMK"));
    CServicesGuard servicesGuard;
    CShellServices::Get().runEnvironmentPathPage = [&]() {
        folder.Profile().WriteProfileString("Path Setting", "Estimation Form", folder.System("FORM2"));
        folder.Profile().WriteProfileString("Form File Name Setting", "Estimation Form Name", "other.MMK");
        return IDOK;
    };
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"見積形式ﾌｧｲﾙがないか、壊れています。"_sj});
    EXPECT_GT(app->m_estimationForm.GetCount(), 0);
    EXPECT_EQ(app->m_strEstimationFormFile, "other.MMK");
    EXPECT_EQ(app->m_strPartFormFile, "BUZAI.MBK");
}

TEST(ShellStartup, PathChangeForAMasterLooksInTheNewFolder)
{
    CShellTestFolder folder;
    std::filesystem::create_directories(folder.Native("MASTER2"));
    for (const char* name : {"TANNI.MTD", "KAMOKU.MKB", "KAMOKU.MKM", "KAMOKU.MKS", "BUNRUL.MRD"})
        std::filesystem::rename(folder.Native(std::string("MASTER/") + name),
                                folder.Native(std::string("MASTER2/") + name));
    CServicesGuard servicesGuard;
    CShellServices::Get().runEnvironmentPathPage = [&]() {
        folder.Profile().WriteProfileString("Path Setting", "Other Form", folder.System("MASTER2"));
        return IDOK;
    };
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"単位ﾌｧｲﾙがないか、壊れています。"_sj});
    EXPECT_GT(app->m_unitFile.GetCount(), 0);
    EXPECT_GT(app->m_classifyFile.GetCount(), 0);
}

TEST(ShellStartup, PathSheetNotClosedWithOkEndsStartup)
{
    CShellTestFolder folder;
    folder.RemoveFile("FORM/JYOUHOU.MJK");
    CServicesGuard servicesGuard;
    CShellServices::Get().runEnvironmentPathPage = []() { return IDCANCEL; };
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    ASSERT_FALSE(answerer.MessageBoxTexts().empty());
    EXPECT_TRUE(IsEndOfStartup(answerer.MessageBoxTexts().back(), "JYOUHOU.MJK"));
}

// A path change after which the file is still missing asks about the file again, so that
// it can be made in the new folders in the same start; ending that question ends start-up
// with a word.
TEST(ShellStartup, AFileStillMissingAfterThePathChangeIsAskedAboutAgain)
{
    CShellTestFolder folder;
    folder.RemoveFile("MASTER/KAMOKU.MKM");
    CServicesGuard servicesGuard;
    int nPathPages = 0;
    CShellServices::Get().runEnvironmentPathPage = [&]() {
        ++nPathPages;
        return IDOK;
    };
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_PROCESS_SELECT, [](CDialog& dlg) {
        ClickDlgButton(dlg, IDC_RADIO_PATH);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.EndDialogWith(IDD_PROCESS_SELECT, IDCANCEL);
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    EXPECT_EQ(nPathPages, 1);
    EXPECT_EQ(answerer.DialogIds(), (std::vector<UINT>{IDD_PROCESS_SELECT, IDD_PROCESS_SELECT}));
    const std::vector<CString> texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "中科目ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(texts[1], "中科目ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_TRUE(IsEndOfStartup(texts[2], "KAMOKU.MKM")) << texts[2].ToUtf8();
}

TEST(ShellStartup, WrongMagicShowsTheMessageWithTheExclamationIconAndStartupGoesOn)
{
    CShellTestFolder folder;
    folder.WriteFile("MASTER/TANNI.MTD", ByteBuilder().Str("This is unit filE").Word(1).Str("m").Bytes());
    CDialogAnswerer answerer;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    const auto& shown = answerer.GetShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "単位ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(shown[0].nType & 0xF0, MB_ICONEXCLAMATION);
    EXPECT_EQ(app->m_unitFile.GetCount(), 0);
    EXPECT_GT(app->m_subjectFile.GetCount(CSubjectFile::levelLarge), 0);
    EXPECT_GT(app->m_partForm.GetCount(), 0);
}

TEST(ShellStartup, AFileThatEndsEarlyIsReportedLikeAWrongMagicAndStartupGoesOn)
{
    CShellTestFolder folder;
    // The magic and a count of three, then only one subject pair.
    folder.WriteFile("MASTER/KAMOKU.MKB",
                     ByteBuilder().Str("This is project form file").Word(3).Str("A").Str("B").Bytes());
    CDialogAnswerer answerer;
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    const auto& shown = answerer.GetShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "大科目ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(shown[0].nType & 0xF0, MB_ICONEXCLAMATION);
    EXPECT_EQ(app->m_subjectFile.GetCount(CSubjectFile::levelLarge), 0);
    EXPECT_GT(app->m_subjectFile.GetCount(CSubjectFile::levelMiddle), 0);
}

TEST(ShellStartup, ASecondInstanceIsRefused)
{
    CShellTestFolder folder;
    // Another program holds the instance lock.
    CSingleInstanceLock other("Morvel Mutex");
    ASSERT_TRUE(other.Lock());
    CDialogAnswerer answerer;
    CShellTestApp app;
    EXPECT_FALSE(app.Start());
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"ほかのモルベルプログラムは実行中です。"_sj});
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_TRUE(other.IsLocked());
}

TEST(ShellStartup, TheRunningProgramKeepsTheLockUntilItEnds)
{
    CShellTestFolder folder;
    {
        CShellTestApp app;
        ASSERT_TRUE(app.Start());
        CSingleInstanceLock second("Morvel Mutex");
        EXPECT_FALSE(second.Lock());
    }
    CSingleInstanceLock afterwards("Morvel Mutex");
    EXPECT_TRUE(afterwards.Lock());
}

TEST(ShellStartup, NonCalculatedFontWithoutHeightFallsBackToTheDetailFont)
{
    CShellTestFolder folder;
    CProfileFile& profile = folder.Profile();
    profile.WriteProfileInt("Detail Font Setting", "Height", -16);
    profile.WriteProfileInt("Detail Font Setting", "Weight", 700);
    profile.WriteProfileString("Detail Font Setting", "FaceName", "ＭＳ ゴシック"_sj);
    profile.WriteProfileString("NonCalc Font Setting", "FaceName", "ＭＳ 明朝"_sj);
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    const LOGFONT& detail = app->m_lfRowFont[CMorvelSettings::fontDetail];
    const LOGFONT& nonCalc = app->m_lfRowFont[CMorvelSettings::fontNonCalc];
    EXPECT_EQ(detail.lfHeight, -16);
    EXPECT_EQ(nonCalc.lfHeight, -16);
    EXPECT_EQ(nonCalc.lfWeight, 700);
    EXPECT_STREQ(nonCalc.lfFaceName, CString("ＭＳ ゴシック"_sj).c_str());
}

TEST(ShellStartup, NonCalculatedFontWithAHeightKeepsItsOwnFont)
{
    CShellTestFolder folder;
    CProfileFile& profile = folder.Profile();
    profile.WriteProfileInt("Detail Font Setting", "Height", -16);
    profile.WriteProfileInt("NonCalc Font Setting", "Height", -12);
    profile.WriteProfileString("NonCalc Font Setting", "FaceName", "ＭＳ 明朝"_sj);
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    const LOGFONT& nonCalc = app->m_lfRowFont[CMorvelSettings::fontNonCalc];
    EXPECT_EQ(nonCalc.lfHeight, -12);
    EXPECT_STREQ(nonCalc.lfFaceName, CString("ＭＳ 明朝"_sj).c_str());
}

TEST(ShellStartup, RecentFilesSurviveARestart)
{
    CShellTestFolder folder;
    const CString strFirst = folder.System("WORK/first.MMD");
    const CString strSecond = folder.System("WORK/second.MBD");
    {
        CShellTestApp app;
        ASSERT_TRUE(app.Start());
        app->AddToRecentFileList(strFirst);
        app->AddToRecentFileList(strSecond);
        app.Stop();
        app->ExitInstance();
    }
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(app->GetRecentFileCount(), 2);
    EXPECT_EQ(app->GetRecentFile(0), strSecond);
    EXPECT_EQ(app->GetRecentFile(1), strFirst);
    EXPECT_EQ(app->GetMaxRecentFiles(), 4u);
}

TEST(ShellStartup, SplashIsShownOverTheFrameUnlessTheCommandLineSwitchesItOff)
{
    CShellTestFolder folder;
    {
        CShellTestApp app;
        ASSERT_TRUE(app.Start({}));
        ASSERT_NE(CSplashWindow::GetSplashWindow(), nullptr);
        EXPECT_TRUE(CSplashWindow::GetSplashWindow()->IsWindowVisible());
        // A window manager keeps it over the main frame, which is mapped after it: it is
        // transient for the frame and asks to stay on top.
        QWidget* pSplash = CSplashWindow::GetSplashWindow()->GetWidget();
        QWidget* pFrame = app->m_pMainWnd->GetWidget();
        ASSERT_TRUE(pSplash && pFrame && pSplash->windowHandle() && pFrame->windowHandle());
        EXPECT_EQ(pSplash->windowHandle()->transientParent(), pFrame->windowHandle());
        EXPECT_TRUE(pSplash->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(pSplash->windowFlags() & Qt::FramelessWindowHint);
        // Start-up loads its files with the picture shown; it goes on its own later.
        CSplashWindow::GetSplashWindow()->HideSplash();
    }
    for (const char* lpszSwitch : {"/nosplash", "/Embedding", "-Automation"}) {
        CShellTestApp app;
        ASSERT_TRUE(app.Start({lpszSwitch})) << lpszSwitch;
        EXPECT_EQ(CSplashWindow::GetSplashWindow(), nullptr) << lpszSwitch;
    }
}

TEST(ShellStartup, ANamedFileThatCannotBeOpenedEndsStartupAfterTheEightFiles)
{
    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
    EXPECT_FALSE(app.Start({"/nosplash", folder.System("WORK/missing.MBP")}));
    // The masters and forms were all read before the file was tried.
    EXPECT_GT(app->m_partForm.GetCount(), 0);
    EXPECT_FALSE(answerer.MessageBoxTexts().empty());
}

TEST(ShellStartup, SettingsFileBesideTheProgramTakesItsExtensionOnlyFromTheFileName)
{
    EXPECT_EQ(CMorvelApp::MakeSettingsFilePath("/opt/morvel/bin/morvel"), "/opt/morvel/bin/morvel.ini");
    EXPECT_EQ(CMorvelApp::MakeSettingsFilePath("/opt/morvel-1.0/bin/morvel"),
              "/opt/morvel-1.0/bin/morvel.ini");
    EXPECT_EQ(CMorvelApp::MakeSettingsFilePath("C:\\MORVEL\\MORVEL.EXE"), "C:\\MORVEL\\MORVEL.ini");
    EXPECT_EQ(CMorvelApp::MakeSettingsFilePath("C:\\PROG.V2\\MORVEL.EXE"), "C:\\PROG.V2\\MORVEL.ini");
    EXPECT_EQ(CMorvelApp::MakeSettingsFilePath("/x/morvel.bin.old"), "/x/morvel.bin.ini");
}

TEST(ShellStartup, SettingsFileNamedByTheEnvironmentIsUsedAsItIs)
{
    CShellTestFolder folder;
    EXPECT_EQ(CMorvelApp::GetSettingsFilePath(), SystemPathFromNative(folder.SettingsFile()));
    CShellTestApp app;
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(app->GetProfilePath(), SystemPathFromNative(folder.SettingsFile()));
}

TEST(ShellStartup, ARelativeSettingsFileNameStaysWithTheFolderTheProgramStartedIn)
{
    CShellTestFolder folder;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Native());
    folder.Environment().Set("MORVEL_INI", "test.ini");
    {
        CShellTestApp app;
        ASSERT_TRUE(app.Start());
        // Start-up has moved to the work folder; the settings are still the test's.
        EXPECT_EQ(app->GetProfilePath(), SystemPathFromNative(folder.SettingsFile()));
        EXPECT_EQ(app->m_strPartFormFile, "BUZAI.MBK");
    }
    std::filesystem::current_path(before);
}

TEST(ShellStartup, OlderProfileInTheConfigurationFolderIsMovedToTheSettingsFile)
{
    CShellTestFolder folder;
    CScopedEnvironment env;
    env.Unset("MORVEL_INI");
    env.Set("XDG_CONFIG_HOME", folder.Native("config"));
    std::filesystem::create_directories(folder.Native("config/morvel"));
    // Where this test program's settings file lies: beside it, or in the configuration
    // folder when its folder cannot be written.
    const CString strSettings = CMorvelApp::GetSettingsFilePath();
    const std::string nativeSettings = NativePath(strSettings);
    const bool bExisted = std::filesystem::exists(nativeSettings);
    if (bExisted)
        GTEST_SKIP() << "a settings file beside the test program exists already";
    const std::string title = NativePath(GetModuleFileName());
    const std::string oldProfile =
        folder.Native("config/morvel/") + std::filesystem::path(title).stem().string() + ".INI";
    WriteNativeFile(oldProfile, std::vector<uint8_t>{'[', 'I', ']', '\n', 'T', 'a', 'x', '=', '5', '\n'});
    {
        CShellTestApp app;
        app->SetCommandLine({"/nosplash"});
        CDialogAnswerer answerer;
        answerer.SetDefaultMessageBoxAnswer(IDOK);
        answerer.EndDialogWith(IDD_PROCESS_SELECT, IDCANCEL);
        app->InitInstance();
        EXPECT_EQ(app->GetProfilePath(), strSettings);
    }
    EXPECT_TRUE(std::filesystem::exists(nativeSettings));
    EXPECT_FALSE(std::filesystem::exists(oldProfile));
    std::filesystem::remove(nativeSettings);
}

// The application object and the services around it: the recent-file list kept in the
// settings file, the command line, menus from the resources, the single-instance lock, the
// clipboard and the stand-ins.
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CCommandLineInfo.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CSingleInstanceLock.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <filesystem>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<CString> Args(std::initializer_list<const char*> list)
{
    std::vector<CString> v;
    for (const char* s : list)
        v.emplace_back(s);
    return v;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Recent files.
// ---------------------------------------------------------------------------------------
TEST(RecentFilesTest, ListSurvivesANewApplicationObject)
{
    TempDir dir;
    const CString ini = dir.Folder() + "MORVEL.INI";
    {
        CWinApp app;
        app.SetProfilePath(ini);
        app.LoadStdProfileSettings(4);
        EXPECT_EQ(app.GetRecentFileCount(), 0);
        app.AddToRecentFileList("C:\\WORK\\A.MMD");
        app.AddToRecentFileList("C:\\WORK\\B.MBD");
        app.AddToRecentFileList("C:\\WORK\\見積.MMD"_sj);
        app.AddToRecentFileList("c:\\work\\a.mmd"); // the same file again moves to the top
        app.ExitInstance();
    }
    CProfileFile profile(ini);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1", ""), CString("c:\\work\\a.mmd"));
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File2", ""), "C:\\WORK\\見積.MMD"_sj);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File3", ""), CString("C:\\WORK\\B.MBD"));
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File4", "none"), CString("none"));
    {
        CWinApp app;
        app.SetProfilePath(ini);
        app.LoadStdProfileSettings(4);
        ASSERT_EQ(app.GetRecentFileCount(), 3);
        EXPECT_EQ(app.GetRecentFile(0), CString("c:\\work\\a.mmd"));
        EXPECT_EQ(app.GetRecentFile(2), CString("C:\\WORK\\B.MBD"));
        for (const char* f : {"C:\\1.MMD", "C:\\2.MMD", "C:\\3.MMD"})
            app.AddToRecentFileList(f);
        EXPECT_EQ(app.GetRecentFileCount(), 4) << "four entries at most";
        app.ExitInstance();
    }
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File4", ""), CString("c:\\work\\a.mmd"));
}

TEST(RecentFilesTest, ProfileNameReplacedDirectlyIsPickedUp)
{
    TempDir dir;
    const CString ini = dir.Folder() + "OTHER.INI";
    CWinApp app;
    // The way programs of this family replace the settings file: free and duplicate.
    std::free(const_cast<char*>(app.m_pszProfileName));
    app.m_pszProfileName = strdup(ini);
    app.WriteProfileInt("Input Setting", "Tax", 8);
    EXPECT_EQ(CProfileFile(ini).GetProfileInt("Input Setting", "Tax", 0), 8u);
    EXPECT_EQ(app.GetProfileInt("Input Setting", "Tax", 0), 8u);
}

namespace {

// Opens only the files it is told exist.
class COpeningApp : public CWinApp {
public:
    std::vector<CString> opened;
    std::vector<CString> existing;
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override
    {
        opened.emplace_back(lpszFileName);
        for (const CString& s : existing) {
            if (s == lpszFileName)
                return reinterpret_cast<CDocument*>(this); // any non-null document
        }
        return nullptr;
    }
};

} // namespace

TEST(RecentFilesTest, MenuShowsTheFilesAndOpensThem)
{
    TempDir dir;
    COpeningApp app;
    app.SetProfilePath(dir.Folder() + "M.INI");
    app.LoadStdProfileSettings(4);
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "開く(&O)..."_sj);
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "最近使ったﾌｧｲﾙ"_sj);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "終了(&X)"_sj);

    AfxUpdateMenuCmdUI(&menu, &app, TRUE);
    EXPECT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_NE(menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED, 0u) << "empty list: greyed";
    EXPECT_NE(menu.GetMenuState(ID_FILE_OPEN, MF_BYCOMMAND) & MF_GRAYED, 0u) << "nobody handles Open here";

    app.AddToRecentFileList("C:\\W\\ONE.MMD");
    app.AddToRecentFileList("C:\\W\\TWO&.MMD");
    AfxUpdateMenuCmdUI(&menu, &app, TRUE);
    ASSERT_EQ(menu.GetMenuItemCount(), 5);
    CString text;
    menu.GetMenuString(1, text, MF_BYPOSITION);
    // The menu shows native paths; the list keeps the system form.
    EXPECT_EQ(text, CString("&1 /W/TWO&&.MMD"));
    menu.GetMenuString(2, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString("&2 /W/ONE.MMD"));
    EXPECT_EQ(menu.GetMenuItemID(2), ID_FILE_MRU_FILE2);
    EXPECT_EQ(menu.GetMenuState(ID_FILE_MRU_FILE2, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.GetMenuItemID(3), 0u) << "the separator stays after the list";

    // Running the update again keeps one copy of the list.
    AfxUpdateMenuCmdUI(&menu, &app, TRUE);
    EXPECT_EQ(menu.GetMenuItemCount(), 5);

    // Choosing an entry opens it; a file that cannot be opened leaves the list.
    app.existing = {"C:\\W\\ONE.MMD"};
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE2, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(app.opened.back(), CString("C:\\W\\ONE.MMD"));
    EXPECT_EQ(app.GetRecentFileCount(), 2);
    EXPECT_TRUE(app.OnCmdMsg(ID_FILE_MRU_FILE1, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(app.GetRecentFileCount(), 1);
    EXPECT_EQ(app.GetRecentFile(0), CString("C:\\W\\ONE.MMD"));
}

// ---------------------------------------------------------------------------------------
// Command line.
// ---------------------------------------------------------------------------------------
TEST(CommandLineTest, FileNameSwitchesAndSplash)
{
    struct Case {
        std::vector<CString> args;
        int command;
        BOOL splash;
        const char* file;
    };
    const Case cases[] = {
        {Args({}), CCommandLineInfo::FileNew, TRUE, ""},
        {Args({"/home/user/work/A.MMD"}), CCommandLineInfo::FileOpen, TRUE, "/home/user/work/A.MMD"},
        {Args({"/nosplash"}), CCommandLineInfo::FileNew, FALSE, ""},
        {Args({"-NoSplash", "B.MBD"}), CCommandLineInfo::FileOpen, FALSE, "B.MBD"},
        {Args({"/Embedding"}), CCommandLineInfo::FileNew, FALSE, ""},
        {Args({"-Automation"}), CCommandLineInfo::FileNew, FALSE, ""},
        {Args({"/p", "C.MMD"}), CCommandLineInfo::FilePrint, TRUE, "C.MMD"},
        {Args({"/dde"}), CCommandLineInfo::FileDDE, TRUE, ""},
    };
    for (const Case& c : cases) {
        CWinApp app;
        app.SetCommandLine(c.args);
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        EXPECT_EQ(info.m_nShellCommand, c.command) << c.args.size();
        EXPECT_EQ(info.m_bShowSplash, c.splash) << c.args.size();
        // Arguments are file-system names; the system gets its own form of them, and a
        // relative name means the folder the program was started in (the tests run in it).
        std::string expected = c.file;
        if (!expected.empty() && expected[0] != '/')
            expected = std::filesystem::current_path().string() + "/" + expected;
        EXPECT_EQ(info.m_strFileName, expected.empty() ? CString() : SystemPathFromNative(expected));
    }
}

TEST(CommandLineTest, ProcessShellCommandOpensOrDoesNothing)
{
    COpeningApp app;
    app.existing = {"X.MMD"};
    CCommandLineInfo open;
    open.m_nShellCommand = CCommandLineInfo::FileOpen;
    open.m_strFileName = "X.MMD";
    EXPECT_TRUE(app.ProcessShellCommand(open));
    open.m_strFileName = "MISSING.MMD";
    EXPECT_FALSE(app.ProcessShellCommand(open));
    CCommandLineInfo nothing;
    nothing.m_nShellCommand = CCommandLineInfo::FileNothing;
    EXPECT_TRUE(app.ProcessShellCommand(nothing));
    EXPECT_EQ(app.opened.size(), 2u);
}

// ---------------------------------------------------------------------------------------
// Menus.
// ---------------------------------------------------------------------------------------
namespace {

constexpr UINT IDR_TEST_MENU = 9101;

std::vector<CMenuResourceItem> MakeTestMenu()
{
    return {MenuPopup("ﾌｧｲﾙ(&F)"_sj, {MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN), MenuSeparator(),
                                      MenuPopup("その他(&V)"_sj, {MenuItem("DOS版MORVEL(&D)"_sj, 33154)}),
                                      MenuItem("終了(&X)"_sj, ID_APP_EXIT, MF_GRAYED)}),
            MenuPopup("表示(&V)"_sj, {MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR, MF_CHECKED)})};
}

const bool s_menuRegistered = RegisterMenuResource(IDR_TEST_MENU, MakeTestMenu);

class CMenuOwnerWnd : public CRecorderWnd {
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back(LOWORD(static_cast<DWORD>(wParam)));
        return CWnd::OnCommand(wParam, lParam);
    }
};

} // namespace

TEST(MenuTest, LoadsTheResourceTree)
{
    ASSERT_TRUE(s_menuRegistered);
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(99999));
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_EQ(menu.GetMenuItemCount(), 2);
    EXPECT_EQ(menu.GetMenuItemID(0), static_cast<UINT>(-1));
    CMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->GetMenuItemCount(), 4);
    EXPECT_EQ(pFile->GetMenuItemID(0), ID_FILE_OPEN);
    EXPECT_EQ(pFile->GetMenuItemID(1), 0u);
    CString text;
    pFile->GetMenuString(ID_FILE_OPEN, text, MF_BYCOMMAND);
    EXPECT_EQ(text, "開く(&O)...\tCtrl+O"_sj);
    EXPECT_NE(menu.GetMenuState(ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u) << "found in a nested pop-up";
    EXPECT_EQ(menu.EnableMenuItem(ID_APP_EXIT, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(menu.GetMenuState(ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(menu.CheckMenuItem(ID_VIEW_TOOLBAR, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu.EnableMenuItem(12345, MF_GRAYED), static_cast<UINT>(-1));
    EXPECT_EQ(AfxFindPopupMenuFromID(&menu, 33154), pFile->GetSubMenu(2));
    // The sub-menu object belongs to the menu: destroying the menu leaves no handle behind.
    HMENU hSub = pFile->m_hMenu;
    menu.DestroyMenu();
    EXPECT_FALSE(IsMenu(hSub));
}

TEST(MenuTest, TrackPopupMenuUpdatesThenPostsTheChosenCommand)
{
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateTopLevel());
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    CMenu* pPopup = menu.GetSubMenu(0);
    UINT shownCount = 0;
    PopupMenuChooser old = AfxSetPopupMenuChooser([&](CMenu* p) {
        shownCount = static_cast<UINT>(p->GetMenuItemCount());
        return ID_FILE_OPEN;
    });
    owner.log.clear();
    EXPECT_TRUE(pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, 10, 10, &owner));
    EXPECT_EQ(shownCount, 4u);
    auto init = owner.Messages(WM_INITMENUPOPUP);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(reinterpret_cast<HMENU>(init[0].wParam), pPopup->m_hMenu);
    EXPECT_TRUE(owner.commands.empty()) << "the command is posted, not sent";
    PumpEvents();
    EXPECT_EQ(owner.commands, (std::vector<UINT>{ID_FILE_OPEN}));
    // With TPM_RETURNCMD the id comes back and nothing is sent.
    owner.commands.clear();
    EXPECT_EQ(static_cast<UINT>(pPopup->TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner)), ID_FILE_OPEN);
    PumpEvents();
    EXPECT_TRUE(owner.commands.empty());
    AfxSetPopupMenuChooser(old);
    owner.DestroyWindow();
}

TEST(MenuTest, EditingItemsByPositionAndCommand)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "a");
    menu.AppendMenu(MF_STRING, 3, "c");
    menu.InsertMenu(3, MF_BYCOMMAND | MF_STRING, 2, "b");
    menu.InsertMenu(0xFFFFFFFF, MF_BYPOSITION | MF_STRING, 4, "d");
    ASSERT_EQ(menu.GetMenuItemCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(menu.GetMenuItemID(i), static_cast<UINT>(i + 1));
    menu.ModifyMenu(2, MF_BYCOMMAND | MF_STRING, 22, "B");
    CString s;
    menu.GetMenuString(22, s, MF_BYCOMMAND);
    EXPECT_EQ(s, CString("B"));
    EXPECT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(menu.DeleteMenu(1, MF_BYCOMMAND));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_TRUE(menu.CheckMenuRadioItem(3, 22, 3, MF_BYCOMMAND));
    EXPECT_NE(menu.GetMenuState(3, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(menu.GetMenuState(4, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

// ---------------------------------------------------------------------------------------
// Resources.
// ---------------------------------------------------------------------------------------
TEST(ResourceTest, StringsAndDocumentStringFields)
{
    // The strings stay registered for the rest of the run: ids of this test's own, so that no
    // other test's resources (the frame tests' document strings) are replaced.
    static constexpr UINT IDS_RESOURCE_TEST_DOC = 9190;
    static constexpr UINT IDS_RESOURCE_TEST_BLANKS = 9191;
    RegisterStringTable([] {
        return std::vector<std::pair<UINT, CString>>{
            {IDS_RESOURCE_TEST_DOC,
             "\n見積処理\n見積処理\n見積処理ﾌｧｲﾙ (*.MMD)\n.MMD\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n見積処理ﾌｧｲﾙ\n"_sj},
            {IDS_RESOURCE_TEST_BLANKS, CString(' ', 44)}};
    });
    CString s;
    EXPECT_TRUE(AfxLoadString(IDS_RESOURCE_TEST_BLANKS, s));
    EXPECT_EQ(s.GetLength(), 44);
    EXPECT_FALSE(AfxLoadString(9999, s));
    EXPECT_TRUE(s.IsEmpty());
    const CString full = AfxLoadString(IDS_RESOURCE_TEST_DOC);
    CString field;
    EXPECT_TRUE(AfxExtractSubString(field, full, 3));
    EXPECT_EQ(field, "見積処理ﾌｧｲﾙ (*.MMD)"_sj);
    EXPECT_TRUE(AfxExtractSubString(field, full, 4));
    EXPECT_EQ(field, CString(".MMD"));
    EXPECT_TRUE(AfxExtractSubString(field, full, 0));
    EXPECT_TRUE(field.IsEmpty());
    EXPECT_FALSE(AfxExtractSubString(field, full, 12));
}

TEST(ResourceTest, CursorsStandardAndFromResources)
{
    EXPECT_NE(::LoadCursor(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(::LoadCursor(nullptr, IDC_WAIT), ::LoadCursor(nullptr, IDC_WAIT)) << "shared handles";
    EXPECT_NE(::LoadCursor(nullptr, IDC_WAIT), ::LoadCursor(nullptr, IDC_ARROW));
    static const char* const kXpm[] = {"2 2 2 1", "  c None", "x c #000000", "x ", " x"};
    RegisterCursorResource(9130, ImageFromXpm(kXpm), 1, 1);
    HCURSOR h = AfxGetApp() ? AfxGetApp()->LoadCursor(9130)
                            : ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(9130));
    EXPECT_NE(h, nullptr);
    EXPECT_EQ(::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(9131)), nullptr) << "unknown resource";
}

// ---------------------------------------------------------------------------------------
// Single instance.
// ---------------------------------------------------------------------------------------
namespace {

class LockDirTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("MORVEL_LOCK_DIR", dir.Native().c_str(), 1); }
    void TearDown() override { unsetenv("MORVEL_LOCK_DIR"); }
    TempDir dir;
};

} // namespace

TEST_F(LockDirTest, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    CSingleInstanceLock first("Morvel Mutex");
    CSingleInstanceLock second("Morvel Mutex");
    EXPECT_EQ(first.GetLockPath(), dir.Native() + "/Morvel Mutex." + std::to_string(getuid()) + ".lock");
    EXPECT_TRUE(first.Lock());
    EXPECT_TRUE(first.Lock()) << "the holder asking again keeps it";
    EXPECT_FALSE(second.Lock());
    CSingleInstanceLock other("Other Mutex");
    EXPECT_TRUE(other.Lock()) << "another name is another lock";
    first.Unlock();
    EXPECT_TRUE(second.Lock());
}

TEST_F(LockDirTest, AnotherProcessIsRefusedAndALockLeftByADeadProcessIsTakenOver)
{
    // A child process takes the lock and ends without releasing it.
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        CSingleInstanceLock lock("Morvel Mutex");
        _exit(lock.Lock() ? 0 : 1);
    }
    int status = 0;
    waitpid(holder, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    CSingleInstanceLock mine("Morvel Mutex");
    EXPECT_TRUE(mine.Lock()) << "the dead holder's file holds no lock";

    // While this process holds it, a second process is refused.
    const pid_t second = fork();
    ASSERT_GE(second, 0);
    if (second == 0) {
        CSingleInstanceLock lock("Morvel Mutex");
        _exit(lock.Lock() ? 0 : 1);
    }
    waitpid(second, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST_F(LockDirTest, ALockFileThatCannotBeOpenedIsNotTakenForAnotherInstance)
{
    // What the user cannot open (here a folder in the lock's place) shows no instance of
    // the user's: the program runs, unguarded, instead of being refused for good.
    CSingleInstanceLock lock("Morvel Mutex");
    ASSERT_TRUE(std::filesystem::create_directory(lock.GetLockPath()));
    EXPECT_TRUE(lock.Lock());
    EXPECT_TRUE(lock.IsUnguarded());
    EXPECT_FALSE(lock.IsLocked());
}

TEST(SingleInstanceLockTest, TheFolderDependsOnTheUserAloneNotOnTheSessionsEnvironment)
{
    // su, ssh and cron start the same user with other runtime and temporary folders.
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"MORVEL_LOCK_DIR", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    unsetenv("MORVEL_LOCK_DIR");
    TempDir a, b;
    setenv("XDG_RUNTIME_DIR", a.Native().c_str(), 1);
    setenv("TMPDIR", a.Native().c_str(), 1);
    const std::string first = CSingleInstanceLock::GetLockFolder();
    setenv("XDG_RUNTIME_DIR", b.Native().c_str(), 1);
    setenv("TMPDIR", b.Native().c_str(), 1);
    const std::string second = CSingleInstanceLock::GetLockFolder();
    for (const auto& [name, value] : saved) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, CSingleInstanceLock::GetLockFolder());
    EXPECT_EQ(first.rfind(a.Native(), 0), std::string::npos);
    struct stat st {};
    ASSERT_EQ(lstat(first.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, getuid());
    EXPECT_EQ(st.st_mode & 077, 0u) << "nobody else may place files in it";
}

// ---------------------------------------------------------------------------------------
// Clipboard.
// ---------------------------------------------------------------------------------------
TEST(ClipboardTest, RegisteredFormatKeepsTheBytesAndTextConvertsToUtf8)
{
    const UINT fmt = RegisterClipboardFormat("Morvel PM Data");
    EXPECT_GE(fmt, 0xC000u);
    EXPECT_EQ(fmt, RegisterClipboardFormat("Morvel PM Data"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "one opener at a time";
    EXPECT_TRUE(EmptyClipboard());
    const unsigned char bytes[] = {0x00, 0x01, 0x82, 0xA0, 0xFF};
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof bytes);
    std::memcpy(GlobalLock(h), bytes, sizeof bytes);
    GlobalUnlock(h);
    EXPECT_NE(SetClipboardData(fmt, h), nullptr);
    const CString text = "単価\t1,000"_sj;
    HGLOBAL t = GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(text.GetLength()) + 1);
    std::memcpy(GlobalLock(t), text.c_str(), static_cast<size_t>(text.GetLength()) + 1);
    GlobalUnlock(t);
    EXPECT_NE(SetClipboardData(CF_TEXT, t), nullptr);
    EXPECT_TRUE(CloseClipboard());

    const QMimeData* pData = QApplication::clipboard()->mimeData();
    ASSERT_NE(pData, nullptr);
    EXPECT_EQ(pData->text(), QString::fromUtf8("単価\t1,000"));
    EXPECT_TRUE(pData->hasFormat(QStringLiteral("application/x-morvel-Morvel PM Data")));

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(IsClipboardFormatAvailable(fmt));
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormat("MORVEL EMTREEVIEW")));
    HGLOBAL back = GetClipboardData(fmt);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(GlobalSize(back), sizeof bytes);
    EXPECT_EQ(std::memcmp(GlobalLock(back), bytes, sizeof bytes), 0);
    GlobalUnlock(back);
    HGLOBAL backText = GetClipboardData(CF_TEXT);
    ASSERT_NE(backText, nullptr);
    EXPECT_EQ(CString(static_cast<const char*>(GlobalLock(backText))), text);
    GlobalUnlock(backText);
    EXPECT_TRUE(CloseClipboard());

    char name[64];
    EXPECT_EQ(GetClipboardFormatName(fmt, name, sizeof name), 14);
    EXPECT_STREQ(name, "Morvel PM Data");
}

TEST(ClipboardTest, TextFromAnotherProgramArrivesAsCp932)
{
    QApplication::clipboard()->setText(QString::fromUtf8("ｱｲｳ¥100"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CString(static_cast<const char*>(GlobalLock(h))), CString("\xB1\xB2\xB3\x5C"
                                                                        "100"));
    GlobalUnlock(h);
    CloseClipboard();
}

// ---------------------------------------------------------------------------------------
// Stand-ins.
// ---------------------------------------------------------------------------------------
TEST(StandInTest, StartUpServicesSucceedWithoutTheirWindowsCounterparts)
{
    EXPECT_TRUE(AfxOleInit());
    EXPECT_NE(LoadLibrary("Grid32.OCX"), nullptr);
    BOOL wow = TRUE;
    EXPECT_TRUE(IsWow64Process(GetCurrentProcess(), &wow));
    EXPECT_FALSE(wow);
    TempDir dir;
    // No such file: no sound and no failure.
    EXPECT_FALSE(PlaySound(dir.Folder() + "welcome.wav", nullptr, SND_FILENAME | SND_SYNC));
}

TEST(StandInTest, MissingHelpFileIsReported)
{
    MessageBoxRecorder rec;
    TempDir dir;
    const CString help = dir.Folder() + "MORVEL.chm";
    EXPECT_EQ(HtmlHelp(nullptr, help, HH_DISPLAY_TOPIC, 0), nullptr);
    ASSERT_EQ(rec.entries.size(), 1u);
    // The message names the file as the desktop shows it.
    EXPECT_NE(rec.entries[0].text.Find(CString(dir.Native() + "/MORVEL.chm")), -1);
}

#include "platform/base/Path.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <unistd.h>

#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

void Touch(const std::string& native, const std::string& content = "x")
{
    WriteNativeFile(native, std::vector<uint8_t>(content.begin(), content.end()));
}

std::string ReadText(const std::string& native)
{
    std::vector<uint8_t> bytes = ReadNativeFile(native);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Names(const std::vector<CFindFileEntry>& entries)
{
    std::vector<std::string> names;
    for (const CFindFileEntry& e : entries)
        names.push_back(e.name.str());
    return names;
}

// Restores an environment variable when the test ends.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CScopedEnv()
    {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
        ResetDriveTable();
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// Restores the current directory when the test ends.
class CScopedCwd {
public:
    CScopedCwd() : m_old(fs::current_path()) {}
    ~CScopedCwd() { fs::current_path(m_old); }

private:
    fs::path m_old;
};

// A temporary folder mapped as drive T:, the way a work folder on its own drive appears.
class PathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDriveTable();
        SetDriveRoot('T', m_dir.Native());
    }
    void TearDown() override { ResetDriveTable(); }

    std::string Native(const std::string& name) const { return m_dir.NativeFile(name); }

    CScopedEnv m_drives{"MORVEL_DRIVES", nullptr}; // the default table, whatever the shell says
    TempDir m_dir;
};

} // namespace

// ---------------------------------------------------------------------------------------
// Mapping names

TEST_F(PathTest, WindowsPathFindsExistingNameWithOtherCase)
{
    fs::create_directories(Native("Morvel/Work"));
    Touch(Native("Morvel/Work/TANNI.MTD"), "unit");

    EXPECT_EQ(NativePath("T:\\MORVEL\\WORK\\tanni.MTD"), Native("Morvel/Work/TANNI.MTD"));
    EXPECT_EQ(NativePath("t:/morvel/work/Tanni.mtd"), Native("Morvel/Work/TANNI.MTD"));
    EXPECT_TRUE(FileExists("T:\\MORVEL\\WORK\\tanni.MTD"));
    EXPECT_TRUE(DirectoryExists("T:\\morvel\\WORK"));
    EXPECT_FALSE(FileExists("T:\\morvel\\WORK"));
    EXPECT_FALSE(DirectoryExists("T:\\MORVEL\\WORK\\tanni.MTD"));
}

TEST_F(PathTest, RepeatedSeparatorsAndFolderPlusSeparatorPlusFileWork)
{
    fs::create_directories(Native("work"));
    Touch(Native("work/KAMOKU.MKB"));

    // The folder setting always ends in a separator, and names are often appended with
    // another one in front.
    EXPECT_EQ(NativePath("T:\\work\\\\KAMOKU.MKB"), Native("work/KAMOKU.MKB"));
    EXPECT_EQ(NativePath("T:\\\\work\\/\\kamoku.mkb"), Native("work/KAMOKU.MKB"));

    // A POSIX folder, with or without its own separator, followed by "\" and the name.
    CString posixFolder(Utf8ToCp932(Native("work")));
    EXPECT_TRUE(FileExists(posixFolder + "\\" + "kamoku.MKB"));
    EXPECT_TRUE(FileExists(posixFolder + "/\\KAMOKU.MKB"));
    EXPECT_EQ(NativePath(m_dir.Folder() + "work\\" + "KAMOKU.MKB"), Native("work/KAMOKU.MKB"));
}

TEST_F(PathTest, MissingComponentsAreKeptAsGivenBelowTheLastExistingOne)
{
    fs::create_directories(Native("Data"));

    EXPECT_EQ(NativePath("T:\\DATA\\New File.txt"), Native("Data/New File.txt"));
    EXPECT_EQ(NativePath("T:\\Missing\\Sub\\File.TXT"), Native("Missing/Sub/File.TXT"));
    // A trailing separator stays, so the result still names a folder.
    EXPECT_EQ(NativePath("T:\\data\\"), Native("Data") + "/");
}

TEST_F(PathTest, DotAndDotDotComponentsAreApplied)
{
    fs::create_directories(Native("a/b"));
    Touch(Native("a/b/f.txt"));

    EXPECT_EQ(NativePath("T:\\A\\.\\x\\..\\B\\F.TXT"), Native("a/b/f.txt"));
    // Nothing lies above a drive's root.
    EXPECT_EQ(NativePath("T:\\..\\..\\a\\b\\f.txt"), Native("a/b/f.txt"));
    EXPECT_EQ(NativePath("/.."), "/");
}

TEST_F(PathTest, DriveRelativeAndDriveOnlyPathsStartAtTheDriveRoot)
{
    Touch(Native("BUNRUL.MRD"));
    EXPECT_EQ(NativePath("T:bunrul.mrd"), Native("BUNRUL.MRD"));
    EXPECT_EQ(NativePath("T:"), m_dir.Native());
    EXPECT_EQ(NativePath("T:\\"), m_dir.Native());
}

TEST_F(PathTest, UnmappedDriveNamesNothing)
{
    EXPECT_EQ(NativePath("Q:\\TANNI.MTD"), "");
    EXPECT_FALSE(FileExists("Q:\\TANNI.MTD"));
    EXPECT_FALSE(CreateDirectory("Q:\\NEW"));
    EXPECT_FALSE(WriteFileAtomically("Q:\\x.txt", "a", 1));
    EXPECT_EQ(GetDriveType("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST_F(PathTest, LeadingBackslashMeansRootOfTheCurrentDrive)
{
    // By default every folder lies on C:, whose root is the file-system root.
    EXPECT_EQ(NativePath("\\tmp"), NativePath("/tmp"));
    EXPECT_EQ(NativePath("\\"), "/");

    // With the current folder on T:, an empty folder setting ("\" + name) finds T:'s root.
    Touch(Native("TANNI.MTD"));
    fs::create_directories(Native("sub"));
    CScopedCwd restore;
    ASSERT_TRUE(SetCurrentDirectory("T:\\SUB"));
    EXPECT_EQ(GetCurrentDriveLetter(), 'T');
    EXPECT_EQ(NativePath("\\tanni.mtd"), Native("TANNI.MTD"));
}

TEST_F(PathTest, RelativePathsPassThroughRelativeToTheCurrentFolder)
{
    fs::create_directories(Native("Work"));
    Touch(Native("Work/Form.MIT"));
    CScopedCwd restore;
    ASSERT_EQ(chdir(m_dir.Native().c_str()), 0);

    EXPECT_EQ(NativePath("work\\form.mit"), "Work/Form.MIT");
    EXPECT_TRUE(FileExists("WORK/FORM.MIT"));
    EXPECT_EQ(NativePath(".\\work\\"), "Work/");
    EXPECT_EQ(NativePath("."), ".");
}

TEST_F(PathTest, JapaneseNamesAreStoredAsUtf8AndComeBackAsCp932)
{
    // "表" and "ソ" end in the byte 0x5C, which must not be taken for a separator.
    const CString folder = m_dir.Folder() + "ソフト表"_sj;
    const CString file = folder + "\\" + "単価表.MTD"_sj;
    ASSERT_EQ(std::string("\x83\x5C", 2), std::string("ソ"_sj.str().substr(0, 2)));
    ASSERT_TRUE(CreateDirectory(folder));
    ASSERT_TRUE(WriteFileAtomically(file, "abc", 3));

    EXPECT_EQ(NativePath(file), Native("ソフト表/単価表.MTD"));
    EXPECT_EQ(ReadText(Native("ソフト表/単価表.MTD")), "abc");
    EXPECT_EQ(NamesIn(m_dir.Native()), std::vector<std::string>{"ソフト表"});

    std::vector<CFindFileEntry> found = FindFiles(folder + "\\*.*");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "単価表.MTD"_sj);
    EXPECT_EQ(found[0].size, 3u);
    EXPECT_EQ(SystemPathFromNative(Native("ソフト表/単価表.MTD")), "T:\\ソフト表\\単価表.MTD"_sj);
}

TEST_F(PathTest, CaseFoldingNeverTouchesTrailBytes)
{
    // "ヂ" is 0x83 0x61: its trail byte is the letter "a". "ア" is 0x83 0x41 ("A").
    Touch(Native("ヂ.txt"));
    EXPECT_EQ(NativePath("T:\\ア.TXT"_sj), Native("ア.TXT"));
    EXPECT_FALSE(FileExists("T:\\ア.txt"_sj));
    EXPECT_TRUE(FileExists("T:\\ヂ.TXT"_sj));
    EXPECT_TRUE(FindFiles("T:\\ア.*"_sj).empty());
    EXPECT_EQ(Names(FindFiles("T:\\ヂ.TXT"_sj)), std::vector<std::string>{"ヂ.txt"_sj.str()});
}

TEST_F(PathTest, SystemPathFromNativeUsesTheMostSpecificDrive)
{
    EXPECT_EQ(SystemPathFromNative(Native("Work/TANNI.MTD")), "T:\\Work\\TANNI.MTD");
    EXPECT_EQ(SystemPathFromNative(m_dir.Native()), "T:\\");
    EXPECT_EQ(SystemPathFromNative("/usr/bin/morvel"), "C:\\usr\\bin\\morvel");
    EXPECT_EQ(SystemPathFromNative("/"), "C:\\");
    EXPECT_EQ(SystemPathFromNative("work/a.txt"), "work\\a.txt");

    // Without a drive holding the path, the POSIX path stays as it is.
    SetDriveRoot('C', "");
    EXPECT_EQ(SystemPathFromNative("/usr/bin/morvel"), "/usr/bin/morvel");
}

TEST_F(PathTest, SystemPathsRoundTripThroughNativePaths)
{
    fs::create_directories(Native("Work/Forms"));
    Touch(Native("Work/Forms/EST.MMK"));
    for (const std::string& native : {Native("Work/Forms/EST.MMK"), Native("Work"), std::string("/usr")})
        EXPECT_EQ(NativePath(SystemPathFromNative(native)), native) << native;
}

// ---------------------------------------------------------------------------------------
// Drive table

TEST(DriveTableTest, DefaultMapsOnlyCToTheRoot)
{
    CScopedEnv env("MORVEL_DRIVES", nullptr);
    ResetDriveTable();
    EXPECT_EQ(GetDriveRoot('C'), "/");
    EXPECT_EQ(GetDriveRoot('c'), "/");
    EXPECT_EQ(GetDriveRoot('D'), "");
    EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveType("D:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    CString label("old");
    EXPECT_FALSE(GetVolumeLabel("D:\\", label));
    EXPECT_TRUE(GetVolumeLabel("C:\\", label));
    EXPECT_EQ(label, "");
}

TEST(DriveTableTest, EnvironmentConfiguresLettersAndRemovableMedia)
{
    CScopedEnv env("MORVEL_DRIVES",
                   " d=/media/usb/morvel01/ , E:=/srv/stick;removable,F=/srv/data, 7=/x, C=");
    ResetDriveTable();
    EXPECT_EQ(GetDriveRoot('D'), "/media/usb/morvel01");
    EXPECT_EQ(GetDriveRoot('E'), "/srv/stick");
    EXPECT_EQ(GetDriveRoot('F'), "/srv/data");
    EXPECT_EQ(GetDriveRoot('C'), ""); // "C=" takes the default away

    EXPECT_EQ(GetDriveType("D:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveType("e:"), static_cast<UINT>(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveType("F:\\"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));

    CString label;
    EXPECT_TRUE(GetVolumeLabel("D:\\", label));
    EXPECT_EQ(label, "MORVEL01");

    SetDriveRemovable('F', TRUE);
    EXPECT_EQ(GetDriveType("F:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    SetDriveRoot('G', "/mnt/cd");
    EXPECT_EQ(GetDriveType("G:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
}

TEST(DriveTableTest, VolumeLabelIsUpperCasedWithoutTouchingKanji)
{
    CScopedEnv env("MORVEL_DRIVES", "D=/media/usb/work能x");
    ResetDriveTable();
    CString label;
    ASSERT_TRUE(GetVolumeLabel("D:\\", label));
    EXPECT_EQ(label, "WORK能X"_sj); // "能" ends in 0x5C; its bytes stay as they are
}

// ---------------------------------------------------------------------------------------
// Listing

TEST_F(PathTest, FindFilesMatchesWildcardsWithoutRegardToCase)
{
    Touch(Native("A.MMK"), "12345");
    Touch(Native("b.mmk"));
    Touch(Native("c.MMKX"));
    Touch(Native("d.txt"));
    Touch(Native("noext"));
    fs::create_directories(Native("Sub.MMK"));

    std::vector<CFindFileEntry> mmk = FindFiles("T:\\*.MMK");
    EXPECT_EQ(Names(mmk), (std::vector<std::string>{"A.MMK", "Sub.MMK", "b.mmk"}));
    ASSERT_EQ(mmk.size(), 3u);
    EXPECT_FALSE(mmk[0].isDirectory);
    EXPECT_EQ(mmk[0].size, 5u);
    EXPECT_TRUE(mmk[1].isDirectory);

    EXPECT_EQ(Names(FindFiles("T:\\?.mmk")), (std::vector<std::string>{"A.MMK", "b.mmk"}));
    EXPECT_EQ(Names(FindFiles("T:\\*.*")),
              (std::vector<std::string>{"A.MMK", "Sub.MMK", "b.mmk", "c.MMKX", "d.txt", "noext"}));
    EXPECT_EQ(Names(FindFiles("T:\\*")),
              (std::vector<std::string>{"A.MMK", "Sub.MMK", "b.mmk", "c.MMKX", "d.txt", "noext"}));
    EXPECT_EQ(Names(FindFiles("T:\\*x*")), (std::vector<std::string>{"c.MMKX", "d.txt", "noext"}));
    EXPECT_EQ(Names(FindFiles("T:\\D.TXT")), std::vector<std::string>{"d.txt"});
    EXPECT_EQ(Names(FindFiles("T:*.txt")), std::vector<std::string>{"d.txt"});
    EXPECT_TRUE(FindFiles("T:\\*.BZI").empty());
    EXPECT_TRUE(FindFiles("T:\\NoSuchFolder\\*.*").empty());
    EXPECT_TRUE(FindFiles("T:\\").empty());
}

TEST_F(PathTest, FindFilesQuestionMarkTakesADoubleByteCharacterWhole)
{
    Touch(Native("表.MIT"));
    Touch(Native("ab.MIT"));
    EXPECT_EQ(Names(FindFiles("T:\\?.mit")), std::vector<std::string>{"表.MIT"_sj.str()});
    EXPECT_EQ(Names(FindFiles("T:\\??.mit")), std::vector<std::string>{"ab.MIT"});
    EXPECT_EQ(Names(FindFiles("T:\\*表*"_sj)), std::vector<std::string>{"表.MIT"_sj.str()});
}

// ---------------------------------------------------------------------------------------
// Copying, moving, deleting

TEST_F(PathTest, CopyFileHonoursFailIfExists)
{
    Touch(Native("src.txt"), "new content");
    Touch(Native("DST.TXT"), "old");

    EXPECT_FALSE(CopyFile("T:\\src.txt", "T:\\dst.txt", TRUE));
    EXPECT_EQ(ReadText(Native("DST.TXT")), "old");

    EXPECT_TRUE(CopyFile("T:\\src.txt", "T:\\dst.txt", FALSE));
    EXPECT_EQ(ReadText(Native("DST.TXT")), "new content");
    // The existing name was replaced: no second file under the other case.
    EXPECT_EQ(NamesIn(m_dir.Native()), (std::vector<std::string>{"DST.TXT", "src.txt"}));

    EXPECT_TRUE(CopyFile("T:\\SRC.TXT", "T:\\fresh.txt", TRUE));
    EXPECT_EQ(ReadText(Native("fresh.txt")), "new content");
}

TEST_F(PathTest, CopyFileFailsCleanlyOnBadArguments)
{
    Touch(Native("a.txt"), "keep me");
    fs::create_directories(Native("dir"));

    EXPECT_FALSE(CopyFile("T:\\missing.txt", "T:\\b.txt", FALSE));
    EXPECT_FALSE(FileExists("T:\\b.txt"));
    EXPECT_FALSE(CopyFile("T:\\a.txt", "T:\\A.TXT", FALSE)); // onto itself
    EXPECT_EQ(ReadText(Native("a.txt")), "keep me");
    EXPECT_FALSE(CopyFile("T:\\dir", "T:\\c.txt", FALSE));
    EXPECT_FALSE(CopyFile("T:\\a.txt", "T:\\dir", FALSE));
    EXPECT_FALSE(CopyFile("T:\\a.txt", "T:\\nofolder\\a.txt", FALSE));
    EXPECT_EQ(NamesIn(m_dir.Native()), (std::vector<std::string>{"a.txt", "dir"}));
}

TEST_F(PathTest, CopyFileKeepsPermissionsAndLargeContent)
{
    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 + 7);
    Touch(Native("big.bin"), big);
    ::chmod(Native("big.bin").c_str(), 0640);

    ASSERT_TRUE(CopyFile("T:\\big.bin", "T:\\copy.bin", FALSE));
    EXPECT_EQ(ReadText(Native("copy.bin")), big);
    struct stat info;
    ASSERT_EQ(::stat(Native("copy.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(PathTest, DeleteFileRemovesFilesOnly)
{
    Touch(Native("Old.BAK"));
    fs::create_directories(Native("folder"));
    EXPECT_TRUE(DeleteFile("T:\\old.bak"));
    EXPECT_FALSE(fs::exists(Native("Old.BAK")));
    EXPECT_FALSE(DeleteFile("T:\\old.bak"));
    EXPECT_FALSE(DeleteFile("T:\\folder"));
    EXPECT_TRUE(fs::exists(Native("folder")));
}

TEST_F(PathTest, CreateDirectoryMakesOneLevelOnly)
{
    EXPECT_TRUE(CreateDirectory("T:\\WORK"));
    EXPECT_TRUE(fs::is_directory(Native("WORK")));
    EXPECT_FALSE(CreateDirectory("T:\\work")); // exists already, under any case
    EXPECT_FALSE(CreateDirectory("T:\\A\\B")); // parent missing
    EXPECT_FALSE(fs::exists(Native("A")));
    EXPECT_TRUE(CreateDirectory("T:\\work\\Forms\\")); // trailing separator is fine
    EXPECT_TRUE(fs::is_directory(Native("WORK/Forms")));

    EXPECT_FALSE(RemoveDirectory("T:\\work")); // not empty
    EXPECT_TRUE(RemoveDirectory("T:\\WORK\\FORMS"));
    EXPECT_TRUE(RemoveDirectory("T:\\work"));
    EXPECT_TRUE(NamesIn(m_dir.Native()).empty());
}

TEST_F(PathTest, MoveFileRefusesToReplaceAndCanChangeCase)
{
    Touch(Native("a.txt"), "A");
    Touch(Native("b.txt"), "B");

    EXPECT_FALSE(MoveFile("T:\\a.txt", "T:\\B.TXT"));
    EXPECT_EQ(ReadText(Native("b.txt")), "B");

    EXPECT_TRUE(MoveFile("T:\\a.txt", "T:\\A.TXT"));
    EXPECT_EQ(NamesIn(m_dir.Native()), (std::vector<std::string>{"A.TXT", "b.txt"}));

    EXPECT_TRUE(MoveFile("T:\\a.txt", "T:\\c.txt"));
    EXPECT_EQ(ReadText(Native("c.txt")), "A");
    EXPECT_FALSE(MoveFile("T:\\missing.txt", "T:\\d.txt"));
}

// ---------------------------------------------------------------------------------------
// Writing whole files

TEST_F(PathTest, WriteFileAtomicallyCreatesAndReplaces)
{
    ASSERT_TRUE(WriteFileAtomically("T:\\TANNI.MTD", "first", 5));
    EXPECT_EQ(ReadText(Native("TANNI.MTD")), "first");

    ::chmod(Native("TANNI.MTD").c_str(), 0604);
    ASSERT_TRUE(WriteFileAtomically("T:\\tanni.mtd", "2nd", 3));
    // The existing name is replaced, with its permissions, and no temporary file is left.
    EXPECT_EQ(NamesIn(m_dir.Native()), std::vector<std::string>{"TANNI.MTD"});
    EXPECT_EQ(ReadText(Native("TANNI.MTD")), "2nd");
    struct stat info;
    ASSERT_EQ(::stat(Native("TANNI.MTD").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);

    ASSERT_TRUE(WriteFileAtomically("T:\\TANNI.MTD", nullptr, 0));
    EXPECT_EQ(fs::file_size(Native("TANNI.MTD")), 0u);
}

TEST_F(PathTest, WriteFileAtomicallyFailsWithoutTouchingAnything)
{
    fs::create_directories(Native("dir"));
    EXPECT_FALSE(WriteFileAtomically("T:\\missing\\x.txt", "a", 1));
    EXPECT_FALSE(WriteFileAtomically("T:\\dir", "a", 1));
    EXPECT_TRUE(fs::is_directory(Native("dir")));
    EXPECT_EQ(NamesIn(m_dir.Native()), std::vector<std::string>{"dir"});
}

TEST_F(PathTest, WriteFileAtomicallyReplacesTheFileALinkNames)
{
    Touch(Native("real.ini"), "old");
    fs::create_symlink(Native("real.ini"), Native("link.ini"));
    ASSERT_TRUE(WriteFileAtomically("T:\\LINK.INI", "new", 3));
    EXPECT_TRUE(fs::is_symlink(Native("link.ini")));
    EXPECT_EQ(ReadText(Native("real.ini")), "new");
}

// A file without a write bit is read-only for everyone, the superuser included (the kernel
// lets the superuser write it, so its bits decide): it is refused with EACCES and kept, and so
// is the settings file.
TEST_F(PathTest, AFileNobodyMayWriteIsNotReplaced)
{
    Touch(Native("TANNI.MTD"), "old");
    Touch(Native("MORVEL.INI"), "[A]\nB=1\n");
    for (const char* name : {"TANNI.MTD", "MORVEL.INI"})
        ASSERT_EQ(::chmod(Native(name).c_str(), 0444), 0);
    errno = 0;
    EXPECT_FALSE(CanWriteFileAtomically("T:\\TANNI.MTD"));
    EXPECT_EQ(errno, EACCES);
    errno = 0;
    EXPECT_FALSE(WriteFileAtomically("T:\\TANNI.MTD", "new", 3));
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(CProfileFile("T:\\MORVEL.INI").WriteProfileString("A", "B", "2"));
    EXPECT_EQ(ReadText(Native("TANNI.MTD")), "old");
    EXPECT_EQ(ReadText(Native("MORVEL.INI")), "[A]\nB=1\n");
    struct stat info;
    ASSERT_EQ(::stat(Native("TANNI.MTD").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(NamesIn(m_dir.Native()), (std::vector<std::string>{"MORVEL.INI", "TANNI.MTD"}));
    // One write bit is enough.
    ASSERT_EQ(::chmod(Native("TANNI.MTD").c_str(), 0644), 0);
    EXPECT_TRUE(CanWriteFileAtomically("T:\\TANNI.MTD"));
    EXPECT_TRUE(WriteFileAtomically("T:\\TANNI.MTD", "new", 3));
}

// The temporary files a writer killed part-way left go with the next write of the file or
// RemoveLeftTemporaries; those of a running process, this one's among them, and the names
// of other files stay.
TEST_F(PathTest, TemporariesADeadWriterLeftGoAndARunningOnesStay)
{
    const pid_t dead = ::fork();
    ASSERT_GE(dead, 0);
    if (dead == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const auto temporary = [](const char* name, long pid, int n) {
        return std::string(".") + name + "." + std::to_string(pid) + "." + std::to_string(n) + ".tmp";
    };
    const std::vector<std::string> kept = {
        temporary("TANNI.MTD", running, 1), temporary("TANNI.MTD", ::getpid(), 2),
        temporary("KAMOKU.MKB", dead, 3), ".TANNI.MTD.x.4.tmp", "TANNI.MTD"};
    for (const std::string& name : kept)
        Touch(Native(name));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Touch(Native(temporary("TANNI.MTD", dead, 5)));
        Touch(Native(temporary("TANNI.MTD", dead, 6)));
        if (round == 0)
            EXPECT_TRUE(WriteFileAtomically("T:\\tanni.mtd", "new", 3));
        else
            RemoveLeftTemporaries("T:\\TANNI.MTD");
        std::vector<std::string> expected = kept;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(NamesIn(m_dir.Native()), expected);
    }
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
}

// Every other way the program writes a file through a temporary (a copy: the backups; the
// trial before a save) and every reading of a file (documents, masters and forms through
// CFile, the settings) clears what a dead writer of that file left; a running writer's
// temporary stays.
TEST_F(PathTest, EveryCopyTrialAndReadingOfAFileClearsADeadWritersTemporaries)
{
    const pid_t dead = ::fork();
    ASSERT_GE(dead, 0);
    if (dead == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    const pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const auto temporary = [](const char* name, long pid) {
        return std::string(".") + name + "." + std::to_string(pid) + ".0.tmp";
    };
    for (const char* name : {"K.MMD", "KAMOKU.MKB", "TANNI.MTD", "MORVEL.INI"})
        Touch(Native(name), "[A]\nB=1\n");
    const std::vector<std::pair<const char*, std::function<void()>>> uses = {
        {"K.BMD", [] { EXPECT_TRUE(CopyFile("T:\\K.MMD", "T:\\K.BMD", FALSE)); }},
        {"TANNI.MTD", [] { EXPECT_TRUE(CanWriteFileAtomically("T:\\TANNI.MTD")); }},
        {"K.MMD", [] { EXPECT_FALSE(ReadWholeFileBytes("T:\\K.MMD").empty()); }},
        {"KAMOKU.MKB", [] { EXPECT_TRUE(CFile().Open("T:\\KAMOKU.MKB", CFile::modeRead)); }},
        {"MORVEL.INI", [] { EXPECT_EQ(CProfileFile("T:\\MORVEL.INI").GetProfileString("A", "B"), "1"); }},
    };
    for (const auto& [name, use] : uses) {
        SCOPED_TRACE(name);
        Touch(Native(temporary(name, dead)));
        Touch(Native(temporary(name, running)));
        use();
        EXPECT_FALSE(fs::exists(Native(temporary(name, dead))));
        EXPECT_TRUE(fs::exists(Native(temporary(name, running))));
        fs::remove(Native(temporary(name, running)));
    }
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
}

// ---------------------------------------------------------------------------------------
// Process paths

TEST_F(PathTest, CurrentDirectoryIsReportedAsASystemPath)
{
    fs::create_directories(Native("Work"));
    CScopedCwd restore;
    ASSERT_TRUE(SetCurrentDirectory("T:\\WORK\\"));
    EXPECT_EQ(fs::current_path().string(), Native("Work"));
    EXPECT_EQ(GetCurrentDirectory(), "T:\\Work");
    EXPECT_FALSE(SetCurrentDirectory("T:\\nothing"));
    EXPECT_EQ(GetCurrentDirectory(), "T:\\Work");
}

TEST_F(PathTest, ARelativePathMadeFullKeepsItsMeaningAfterTheCurrentFolderMoves)
{
    fs::create_directories(Native("Work/Sub"));
    fs::create_directories(Native("Other"));
    Touch(Native("Work/見積.MMD"), "estimate");
    CScopedCwd restore;
    ASSERT_TRUE(SetCurrentDirectory("T:\\WORK"));

    const CString full = GetFullPath("見積.MMD"_sj);
    EXPECT_EQ(full, "T:\\Work\\見積.MMD"_sj);
    ASSERT_TRUE(SetCurrentDirectory("T:\\OTHER"));
    EXPECT_TRUE(FileExists(full));
    EXPECT_FALSE(FileExists("見積.MMD"_sj)); // what the relative name means now

    // "." and ".." are resolved, never above the drive's root; a trailing separator stays.
    EXPECT_EQ(GetFullPath("..\\Work\\.\\Sub\\"), "T:\\Work\\Sub\\");
    EXPECT_EQ(GetFullPath("..\\..\\..\\x.MMD"), "T:\\x.MMD");
    // Rooted without a drive: the current drive's root.
    EXPECT_EQ(GetFullPath("\\Work\\見積.MMD"_sj), "T:\\Work\\見積.MMD"_sj);
    // A double-byte character whose trail byte is 0x5C ("表" is 0x95 0x5C) is no separator.
    EXPECT_EQ(GetFullPath("表\\a.MMD"_sj), "T:\\Other\\表\\a.MMD"_sj);
}

TEST_F(PathTest, FullPathsComeBackExactlyAsGiven)
{
    CScopedCwd restore;
    fs::create_directories(Native("Work"));
    ASSERT_TRUE(SetCurrentDirectory("T:\\WORK"));
    for (const char* path : {"T:\\a\\..\\b.MMD", "C:rel.MMD", "/tmp/./x", "\\\\server\\share\\x"}) {
        EXPECT_FALSE(IsPathRelative(path)) << path;
        EXPECT_EQ(GetFullPath(path), CString(path));
    }
    EXPECT_TRUE(IsPathRelative("a.MMD"));
    EXPECT_TRUE(IsPathRelative("\\a.MMD"));
    EXPECT_FALSE(IsPathRelative(""));
    EXPECT_EQ(GetFullPath(""), CString());
}

TEST(ModulePathTest, ModuleFileNameNamesTheRunningProgram)
{
    CScopedEnv env("MORVEL_DRIVES", nullptr);
    ResetDriveTable();
    CString module = GetModuleFileName();
    ASSERT_FALSE(module.IsEmpty());
    EXPECT_EQ(module.Left(3), "C:\\");
    EXPECT_EQ(fs::path(NativePath(module)), fs::canonical("/proc/self/exe"));
}

// A test that moves into a temporary folder and deletes it leaves the next test of the run
// where the run started: the keeper every test program installs puts it back.
TEST(WorkingFolderKeeperTest, PutsBackTheFolderATestLeftInAFolderItDeleted)
{
    const fs::path before = fs::current_path();
    WorkingFolderKeeper keeper;
    const ::testing::TestInfo& info = *::testing::UnitTest::GetInstance()->current_test_info();
    keeper.OnTestStart(info);
    {
        TempDir dir;
        fs::current_path(dir.Native());
    }
    std::error_code ec;
    EXPECT_TRUE(fs::current_path(ec).empty()) << "the folder is gone";
    keeper.OnTestEnd(info);
    EXPECT_EQ(fs::current_path(), before);
}

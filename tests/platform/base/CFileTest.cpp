#include "platform/base/CFile.h"
#include "platform/base/CSharedFile.h"
#include "platform/base/Cp932.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes FromText(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

int OpenCause(const CString& path, UINT flags)
{
    CFile file;
    CFileException error;
    if (file.Open(path, flags, &error))
        return CFileException::none;
    EXPECT_FALSE(file.IsOpen());
    return error.m_cause;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Open modes

TEST(FileOpen, CreateWriteMakesANewFileAndTruncatesAnOldOne)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("A.DAT"), FromText("old content"));
    {
        CFile file(dir.Folder() + "A.DAT", CFile::modeCreate | CFile::modeWrite);
        file.Write("new", 3);
        file.Close();
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("A.DAT")), FromText("new"));
    {
        CFile file(dir.Folder() + "B.DAT", CFile::modeCreate | CFile::modeWrite);
        file.Close();
    }
    EXPECT_TRUE(std::filesystem::exists(dir.NativeFile("B.DAT")));
}

TEST(FileOpen, WriteWithoutCreateFailsOnAMissingFileAndKeepsAnOldOnesTail)
{
    TempDir dir;
    EXPECT_EQ(OpenCause(dir.Folder() + "MISSING.DAT", CFile::modeWrite), CFileException::fileNotFound);
    EXPECT_FALSE(std::filesystem::exists(dir.NativeFile("MISSING.DAT")));
    try {
        CFile file(dir.Folder() + "MISSING.DAT", CFile::modeWrite);
        ADD_FAILURE() << "opened a missing file";
    } catch (CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, dir.Folder() + "MISSING.DAT");
    }

    WriteNativeFile(dir.NativeFile("OLD.DAT"), FromText("0123456789"));
    CFile file(dir.Folder() + "OLD.DAT", CFile::modeWrite);
    file.Write("abc", 3);
    file.Close();
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("OLD.DAT")), FromText("abc3456789"));
}

TEST(FileOpen, NoTruncateKeepsTheContentAndCreatesWhenMissing)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("K.DAT"), FromText("keep"));
    {
        CFile file(dir.Folder() + "K.DAT", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 4u);
        file.SeekToEnd();
        file.Write("!", 1);
        file.Close();
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("K.DAT")), FromText("keep!"));
    {
        CFile file(dir.Folder() + "N.DAT", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        file.Close();
    }
    EXPECT_TRUE(std::filesystem::exists(dir.NativeFile("N.DAT")));
}

TEST(FileOpen, ReadOnlyFilesRefuseWritesAndFoldersRefuseOpening)
{
    TempDir dir;
    WriteNativeFile(dir.NativeFile("R.DAT"), FromText("data"));
    CFile file(dir.Folder() + "R.DAT", CFile::modeRead | CFile::shareDenyNone);
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, 8), 4u);
    EXPECT_EQ(std::string(buf, 4), "data");
    EXPECT_THROW(file.Write("x", 1), CFileException);
    file.Close();
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("R.DAT")), FromText("data"));

    std::filesystem::create_directory(dir.NativeFile("FOLDER"));
    EXPECT_EQ(OpenCause(dir.Folder() + "FOLDER", CFile::modeRead), CFileException::accessDenied);
    EXPECT_EQ(OpenCause(dir.Folder() + "FOLDER", CFile::modeCreate | CFile::modeWrite),
              CFileException::accessDenied);
    EXPECT_EQ(OpenCause(CString(""), CFile::modeRead), CFileException::badPath);
}

TEST(FileOpen, PermissionDeniedIsAccessDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    TempDir dir;
    WriteNativeFile(dir.NativeFile("P.DAT"), FromText("x"));
    std::filesystem::permissions(dir.NativeFile("P.DAT"), std::filesystem::perms::none);
    EXPECT_EQ(OpenCause(dir.Folder() + "P.DAT", CFile::modeRead), CFileException::accessDenied);
}

TEST(FileOpen, WindowsFormPathsAndJapaneseNamesReachTheDisk)
{
    TempDir dir;
    std::filesystem::create_directory(dir.NativeFile("WORK"));
    // "work\見積.MMD" in CP932: the separator is a backslash, the name is stored as UTF-8.
    const CString path = dir.Folder() + "work\\" + CString::FromUtf8("見積.MMD");
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        file.Write("x", 1);
        EXPECT_EQ(file.GetFilePath(), path);
        EXPECT_EQ(file.GetFileName(), CString::FromUtf8("見積.MMD"));
        file.Close();
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("WORK/見積.MMD")), FromText("x"));
}

TEST(FileOpen, FileNameStopsAtRealSeparatorsOnly)
{
    TempDir dir;
    // "表" is 0x95 0x5C: its trail byte is not a separator.
    const CString name = CString::FromUtf8("表計算.TXT");
    ASSERT_EQ(static_cast<BYTE>(name[1]), 0x5C);
    CFile file(dir.Folder() + name, CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(file.GetFileName(), name);
}

// ---------------------------------------------------------------------------------------
// Reading, writing, positions

TEST(FileIo, SeekLengthAndPositionFollowTheData)
{
    TempDir dir;
    CFile file(dir.Folder() + "S.DAT", CFile::modeCreate | CFile::modeReadWrite);
    file.Write("0123456789", 10);
    // The length counts bytes still in the stream's buffer.
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.Seek(-4, CFile::end), 6);
    char buf[4];
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(file.Read(buf, 4), 0u);
    // Writing right after reading, and reading right after writing.
    file.Seek(2, CFile::begin);
    file.Write("AB", 2);
    EXPECT_EQ(file.Read(buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), "45");
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "01AB");
    try {
        file.Seek(-1, CFile::begin);
        ADD_FAILURE() << "seek before the start";
    } catch (CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
    }
    file.Close();
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("S.DAT")), FromText("01AB4"));
}

TEST(FileIo, AClosedFileRefusesWork)
{
    CFile file;
    EXPECT_FALSE(file.IsOpen());
    char buf[1];
    EXPECT_THROW(file.Read(buf, 1), CFileException);
    EXPECT_THROW(file.Write("x", 1), CFileException);
    EXPECT_THROW(file.GetLength(), CFileException);
    file.Close(); // closing twice is harmless
    file.Abort();
}

TEST(FileIo, AFullDiskIsReportedNotSwallowed)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile file("/dev/full", CFile::modeWrite);
    std::string block(100000, 'x');
    try {
        file.Write(block.data(), static_cast<UINT>(block.size()));
        file.Close();
        ADD_FAILURE() << "writing to a full device succeeded";
    } catch (CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
    }
}

TEST(FileIo, RemoveAndRenameReportFailures)
{
    TempDir dir;
    const CString folder = dir.Folder();
    try {
        CFile::Remove(folder + "NONE.DAT");
        ADD_FAILURE() << "removed a missing file";
    } catch (CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
    WriteNativeFile(dir.NativeFile("ONE.DAT"), FromText("1"));
    WriteNativeFile(dir.NativeFile("TWO.DAT"), FromText("2"));
    // Renaming onto an existing file fails and keeps both.
    try {
        CFile::Rename(folder + "ONE.DAT", folder + "TWO.DAT");
        ADD_FAILURE() << "renamed over an existing file";
    } catch (CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    }
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("ONE.DAT")), FromText("1"));
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("TWO.DAT")), FromText("2"));

    CFile::Rename(folder + "ONE.DAT", folder + "THREE.DAT");
    EXPECT_FALSE(std::filesystem::exists(dir.NativeFile("ONE.DAT")));
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("THREE.DAT")), FromText("1"));
    // A change of letter case only renames the file itself.
    CFile::Rename(folder + "THREE.DAT", folder + "three.dat");
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("three.dat")), FromText("1"));
    EXPECT_FALSE(std::filesystem::exists(dir.NativeFile("THREE.DAT")));

    CFile::Remove(folder + "TWO.DAT");
    EXPECT_FALSE(std::filesystem::exists(dir.NativeFile("TWO.DAT")));
}

// ---------------------------------------------------------------------------------------
// Memory files

TEST(MemFile, GrowsReadsAndSeeksLikeAFile)
{
    CMemFile file;
    EXPECT_TRUE(file.IsOpen());
    file.Write("hello", 5);
    EXPECT_EQ(file.GetLength(), 5u);
    file.Seek(8, CFile::begin); // past the end: the gap becomes zeros on the next write
    file.Write("!", 1);
    EXPECT_EQ(file.GetData(), (Bytes{'h', 'e', 'l', 'l', 'o', 0, 0, 0, '!'}));
    file.SeekToBegin();
    char buf[16];
    EXPECT_EQ(file.Read(buf, 16), 9u);
    EXPECT_EQ(file.Read(buf, 16), 0u);
    EXPECT_THROW(file.Seek(-10, CFile::end), CFileException);
    file.SetLength(3);
    EXPECT_EQ(file.GetPosition(), 3u);
    EXPECT_EQ(file.Detach(), (Bytes{'h', 'e', 'l'}));
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(MemFile, AttachedBytesWithoutGrowthKeepTheirLength)
{
    const BYTE data[] = {1, 2, 3, 4};
    CMemFile file(data, 4);
    BYTE buf[4];
    EXPECT_EQ(file.Read(buf, 4), 4u);
    EXPECT_EQ(buf[3], 4);
    file.SeekToBegin();
    file.Write("\x09", 1); // inside the bytes: allowed
    file.SeekToEnd();
    EXPECT_THROW(file.Write("x", 1), CMemoryException);
    EXPECT_EQ(file.GetData(), (Bytes{9, 2, 3, 4}));
    file.Close();
    EXPECT_EQ(file.GetLength(), 0u);

    CSharedFile shared;
    std::string big(10000, 's');
    shared.Write(big.data(), static_cast<UINT>(big.size()));
    EXPECT_EQ(shared.Detach().size(), 10000u);
}

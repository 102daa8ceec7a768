#include "platform/base/Profile.h"
#include "platform/base/Path.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDriveTable();
        m_path = m_dir.Folder() + "MORVEL.INI";
        m_profile.SetPath(m_path);
    }

    std::string Native() const { return m_dir.NativeFile("MORVEL.INI"); }
    void WriteFile(const std::string& text)
    {
        WriteNativeFile(Native(), std::vector<uint8_t>(text.begin(), text.end()));
    }
    std::string ReadFile() const
    {
        std::vector<uint8_t> bytes = ReadNativeFile(Native());
        return std::string(bytes.begin(), bytes.end());
    }

    TempDir m_dir;
    CString m_path;
    CProfileFile m_profile;
};

} // namespace

// ---------------------------------------------------------------------------------------
// Reading

TEST_F(ProfileTest, MissingFileGivesTheDefaults)
{
    EXPECT_EQ(m_profile.GetProfileInt("Input Setting", "Tax", 8), 8u);
    EXPECT_EQ(static_cast<int>(m_profile.GetProfileInt("Input Setting", "Tax", -3)), -3);
    EXPECT_EQ(m_profile.GetProfileString("Kind Font Setting", "FaceName", "System"), "System");
    EXPECT_EQ(m_profile.GetProfileString("Path Setting", "Work Field"), "");
    EXPECT_FALSE(fs::exists(Native()));
}

TEST_F(ProfileTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    WriteFile("[Path Setting]\r\nWork Field=C:\\MORVEL\\WORK\r\n[input setting]\r\nTAX=5\r\n");
    EXPECT_EQ(m_profile.GetProfileString("PATH SETTING", "work field"), "C:\\MORVEL\\WORK");
    EXPECT_EQ(m_profile.GetProfileString("path setting", "Work Field"), "C:\\MORVEL\\WORK");
    EXPECT_EQ(m_profile.GetProfileInt("Input Setting", "Tax", 8), 5u);
    EXPECT_EQ(m_profile.GetProfileString("Path Setting", "Work Drive", "none"), "none");
    EXPECT_EQ(m_profile.GetProfileString("Other", "Work Field", "none"), "none");
}

TEST_F(ProfileTest, CaseFoldingLeavesDoubleByteCharactersAlone)
{
    // "ヂ" is 0x83 0x61 and "ア" 0x83 0x41: folding the trail byte would make them equal.
    WriteFile("[" + "ヂ"_sj.str() + "]\r\n" + "ヂ"_sj.str() + "=1\r\n");
    EXPECT_EQ(m_profile.GetProfileInt("ヂ"_sj, "ヂ"_sj, 9), 1u);
    EXPECT_EQ(m_profile.GetProfileInt("ア"_sj, "ヂ"_sj, 9), 9u);
    EXPECT_EQ(m_profile.GetProfileInt("ヂ"_sj, "ア"_sj, 9), 9u);
}

TEST_F(ProfileTest, ValuesAreTrimmedAndMayContainEqualsSigns)
{
    WriteFile("[S]\r\n  Key  =  some value \t\r\nExpr= a=b=c \r\nEmpty=\r\nQuoted=\" padded \"\r\n"
              "no equals sign here\r\n=orphan\r\n");
    EXPECT_EQ(m_profile.GetProfileString("S", "Key"), "some value");
    EXPECT_EQ(m_profile.GetProfileString("S", " key "), "some value");
    EXPECT_EQ(m_profile.GetProfileString("S", "Expr"), "a=b=c");
    EXPECT_EQ(m_profile.GetProfileString("S", "Empty", "dflt"), "");
    EXPECT_EQ(m_profile.GetProfileString("S", "Quoted"), " padded ");
    EXPECT_EQ(m_profile.GetProfileString("S", "no equals sign here", "dflt"), "dflt");
    EXPECT_EQ(m_profile.GetProfileString("S", "", "dflt"), "dflt");
}

TEST_F(ProfileTest, IntegersAreParsedAsWindowsDoes)
{
    WriteFile("[N]\r\nPlain=12\r\nNeg=-5\r\nPlus=+7\r\nHex=0x1F\r\nHexUpper=0XfF\r\nWord=abc\r\n"
              "Trailing=12abc\r\nColour=255,0,0\r\nEmpty=\r\nSpaced=  42  \r\nBig=4294967297\r\n");
    EXPECT_EQ(m_profile.GetProfileInt("N", "Plain", 99), 12u);
    EXPECT_EQ(static_cast<int>(m_profile.GetProfileInt("N", "Neg", 99)), -5);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Plus", 99), 7u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Hex", 99), 31u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "HexUpper", 99), 255u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Word", 99), 0u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Trailing", 99), 12u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Colour", 99), 255u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Empty", 99), 99u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Spaced", 99), 42u);
    EXPECT_EQ(m_profile.GetProfileInt("N", "Big", 99), 1u); // wraps as a 32-bit number
    EXPECT_EQ(m_profile.GetProfileInt("N", "Missing", 99), 99u);
}

TEST_F(ProfileTest, LineFeedOnlyFilesAndTheFirstOfRepeatedEntriesAreRead)
{
    WriteFile("; settings\n[A]\nx=1\nx=2\n[B]\ny=3\n[a]\nx=4\nz=5\n[C]\nw=6");
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 1u);
    EXPECT_EQ(m_profile.GetProfileInt("B", "y", 0), 3u);
    EXPECT_EQ(m_profile.GetProfileInt("A", "z", 0), 0u); // only the first [A] answers
    EXPECT_EQ(m_profile.GetProfileInt("C", "w", 0), 6u); // last line without a line end
}

TEST_F(ProfileTest, KeysBeforeTheFirstSectionBelongToNone)
{
    WriteFile("loose=1\r\n[ S ]\r\nk=2\r\n");
    EXPECT_EQ(m_profile.GetProfileInt("", "loose", 0), 0u);
    EXPECT_EQ(m_profile.GetProfileInt("S", "k", 0), 2u);
}

// ---------------------------------------------------------------------------------------
// Writing

TEST_F(ProfileTest, FirstWriteCreatesTheFileInCrLfText)
{
    ASSERT_TRUE(m_profile.WriteProfileString("Path Setting", "Work Field", "C:\\MORVEL\\WORK"));
    ASSERT_TRUE(m_profile.WriteProfileInt("Input Setting", "Tax", 10));
    ASSERT_TRUE(m_profile.WriteProfileInt("Input Setting", "Round Mode", -1));
    EXPECT_EQ(ReadFile(), "[Path Setting]\r\nWork Field=C:\\MORVEL\\WORK\r\n\r\n"
                          "[Input Setting]\r\nTax=10\r\nRound Mode=-1\r\n");
    EXPECT_EQ(static_cast<int>(m_profile.GetProfileInt("Input Setting", "Round Mode", 0)), -1);
}

TEST_F(ProfileTest, WritesKeepEveryOtherLineAndTheirOrder)
{
    WriteFile("; written by hand\r\n"
              "[Path Setting]\r\n"
              "Work Field=C:\\OLD\r\n"
              "; the forms live here\r\n"
              "Other Form=C:\\FORMS\r\n"
              "\r\n"
              "[Input Setting]\r\n"
              "Tax = 8\r\n"
              "\r\n"
              "\r\n"
              "[Recent File List]\r\n"
              "File1=C:\\A.MMD\r\n");

    ASSERT_TRUE(m_profile.WriteProfileString("path setting", "WORK FIELD", "D:\\NEW"));
    ASSERT_TRUE(m_profile.WriteProfileString("Input Setting", "Direction", "1"));
    ASSERT_TRUE(m_profile.WriteProfileInt("Input Setting", "tax", 10));
    ASSERT_TRUE(m_profile.WriteProfileString("Dialog", "FileDialog", "RemoveBackSlash"));

    EXPECT_EQ(ReadFile(), "; written by hand\r\n"
                          "[Path Setting]\r\n"
                          "Work Field=D:\\NEW\r\n"
                          "; the forms live here\r\n"
                          "Other Form=C:\\FORMS\r\n"
                          "\r\n"
                          "[Input Setting]\r\n"
                          "Tax=10\r\n"
                          "Direction=1\r\n"
                          "\r\n"
                          "\r\n"
                          "[Recent File List]\r\n"
                          "File1=C:\\A.MMD\r\n"
                          "\r\n"
                          "[Dialog]\r\n"
                          "FileDialog=RemoveBackSlash\r\n");
}

TEST_F(ProfileTest, Cp932ValuesAreStoredAsTheirBytes)
{
    const CString subject = "直接仮設工事"_sj;
    const CString face = "ＭＳ 明朝"_sj;
    ASSERT_TRUE(m_profile.WriteProfileString("Print Font Setting", "FaceName", face));
    ASSERT_TRUE(m_profile.WriteProfileString("科目"_sj, "名前"_sj, subject));
    EXPECT_EQ(m_profile.GetProfileString("Print Font Setting", "FaceName"), face);
    EXPECT_EQ(m_profile.GetProfileString("科目"_sj, "名前"_sj), subject);

    const std::string bytes = ReadFile();
    EXPECT_NE(bytes.find(std::string("FaceName=") + face.str() + "\r\n"), std::string::npos);
    // "直接仮設工事" in code page 932.
    EXPECT_NE(bytes.find("\x92\xbc\x90\xda\x89\xbc\x90\xdd\x8d\x48\x8e\x96"), std::string::npos);
}

TEST_F(ProfileTest, ValueWithEqualsSignRoundTrips)
{
    ASSERT_TRUE(m_profile.WriteProfileString("Formula", "Amount", "A=B*C"));
    EXPECT_EQ(m_profile.GetProfileString("Formula", "Amount"), "A=B*C");
    ASSERT_TRUE(m_profile.WriteProfileString("Formula", "Amount", "=x="));
    EXPECT_EQ(m_profile.GetProfileString("Formula", "Amount"), "=x=");
}

TEST_F(ProfileTest, NullValueRemovesTheKeyAndNullKeyTheSection)
{
    WriteFile("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n[C]\r\nw=4\r\n[b]\r\nv=5\r\n");

    ASSERT_TRUE(m_profile.WriteProfileString("a", "X", nullptr));
    EXPECT_EQ(m_profile.GetProfileString("A", "x", "gone"), "gone");
    EXPECT_EQ(m_profile.GetProfileInt("A", "y", 0), 2u);

    ASSERT_TRUE(m_profile.WriteProfileString("B", nullptr, nullptr));
    EXPECT_EQ(m_profile.GetProfileInt("B", "z", 0), 0u);
    EXPECT_EQ(m_profile.GetProfileInt("B", "v", 0), 0u); // a repeated block goes with it
    EXPECT_EQ(ReadFile(), "[A]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");

    // Removing what is not there changes nothing.
    EXPECT_TRUE(m_profile.WriteProfileString("Missing", nullptr, nullptr));
    EXPECT_TRUE(m_profile.WriteProfileString("A", "missing", nullptr));
    EXPECT_EQ(ReadFile(), "[A]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");
}

TEST_F(ProfileTest, RemovingFromAMissingFileDoesNotCreateIt)
{
    EXPECT_TRUE(m_profile.WriteProfileString("A", "x", nullptr));
    EXPECT_TRUE(m_profile.WriteProfileString("A", nullptr, nullptr));
    EXPECT_FALSE(fs::exists(Native()));
}

TEST_F(ProfileTest, LineBreaksInAValueCannotAddKeysOrSections)
{
    ASSERT_TRUE(m_profile.WriteProfileString("A", "x", "first\r\n[Injected]\r\ny=2"));
    EXPECT_EQ(m_profile.GetProfileString("A", "x"), "first");
    EXPECT_EQ(m_profile.GetProfileString("Injected", "y", "none"), "none");
    EXPECT_FALSE(m_profile.WriteProfileString("A", "k=v", "1"));
    EXPECT_FALSE(m_profile.WriteProfileString("A]", "k", "1"));
    EXPECT_FALSE(m_profile.WriteProfileString("A", "[k", "1"));
    EXPECT_EQ(ReadFile(), "[A]\r\nx=first\r\n");
}

TEST_F(ProfileTest, WriteIntoAMissingFolderFails)
{
    CProfileFile profile(m_dir.Folder() + "nofolder\\MORVEL.INI");
    EXPECT_FALSE(profile.WriteProfileString("A", "x", "1"));
    EXPECT_FALSE(fs::exists(m_dir.NativeFile("nofolder")));
    EXPECT_FALSE(CProfileFile().WriteProfileString("A", "x", "1"));
}

TEST_F(ProfileTest, ProfileFoundUnderAnotherCaseIsUpdatedInPlace)
{
    WriteNativeFile(m_dir.NativeFile("morvel.ini"), {'[', 'A', ']', '\r', '\n', 'x', '=', '1', '\r', '\n'});
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 1u);
    ASSERT_TRUE(m_profile.WriteProfileInt("A", "x", 2));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_dir.Native()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"morvel.ini"});
    std::vector<uint8_t> bytes = ReadNativeFile(m_dir.NativeFile("morvel.ini"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[A]\r\nx=2\r\n");
}

// ---------------------------------------------------------------------------------------
// The parsed-file cache

TEST_F(ProfileTest, ReadsSeeChangesMadeOnDiskAndThroughOtherObjects)
{
    WriteFile("[A]\r\nx=1\r\n");
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 1u);

    // Another program rewrites the file.
    WriteFile("[A]\r\nx=22\r\n");
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 22u);

    // Same size, later time.
    WriteFile("[A]\r\nx=33\r\n");
    struct timespec times[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Native().c_str(), times, 0), 0);
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 33u);

    // Another object on the same file writes.
    CProfileFile other(m_path);
    ASSERT_TRUE(other.WriteProfileInt("A", "x", 44));
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 0), 44u);

    // The file goes away.
    fs::remove(Native());
    EXPECT_EQ(m_profile.GetProfileInt("A", "x", 7), 7u);
}

TEST_F(ProfileTest, ManyReadsAndWritesStayConsistent)
{
    for (int i = 0; i < 50; ++i) {
        CString key;
        key.Format("Key%d", i);
        ASSERT_TRUE(m_profile.WriteProfileInt("Many", key, i * 3));
    }
    for (int round = 0; round < 10; ++round) {
        for (int i = 0; i < 50; ++i) {
            CString key;
            key.Format("KEY%d", i);
            ASSERT_EQ(m_profile.GetProfileInt("many", key, -1), static_cast<UINT>(i * 3));
        }
    }
}

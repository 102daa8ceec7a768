// The master edit operations of the pick dialogs (each rewrites its file) and the
// backup copies of master and form files.
#include "app/CMorvelSettings.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "app/MasterBackup.h"
#include "platform/base/Cp932.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// A work folder whose settings point "Other Form" at a MASTER folder inside it.
class MasterEditTest : public ::testing::Test {
protected:
    MasterEditTest() : m_profile(CString(Utf8ToCp932(m_dir.NativeFile("morvel.ini")))), m_settings(m_profile)
    {
        // The master edit operations find their folder through the current settings.
        CMorvelSettings::SetCurrent(&m_settings);
        std::filesystem::create_directory(m_dir.NativeFile("MASTER"));
        m_settings.WritePathSetting("Other Form", SystemPathFromNative(m_dir.NativeFile("MASTER")));
    }

    std::string MasterFile(const std::string& name) const { return m_dir.NativeFile("MASTER/" + name); }

    static std::vector<uint8_t>
    SubjectFileBytes(const std::vector<std::pair<std::string, std::string>>& pairs)
    {
        ByteBuilder b;
        b.Str("This is project form file").Word(static_cast<uint16_t>(pairs.size()));
        for (const auto& [name, unit] : pairs)
            b.Str(CString::FromUtf8(name).str()).Str(CString::FromUtf8(unit).str());
        return b.Bytes();
    }

    TempDir m_dir;
    CProfileFile m_profile;
    CMorvelSettings m_settings;
};

} // namespace

TEST_F(MasterEditTest, DeletingSubjectZeroOfThreeRewritesTheFileWithTwo)
{
    const std::vector<uint8_t> three =
        SubjectFileBytes({{"土工事", "式"}, {"地業工事", "式"}, {"鉄筋工事", "t"}});
    WriteNativeFile(MasterFile("kamoku.MKM"), three);

    CSubjectFile subjects;
    subjects.SetLevel(CSubjectFile::levelMiddle,
                      {{"土工事"_sj, "式"_sj}, {"地業工事"_sj, "式"_sj}, {"鉄筋工事"_sj, "t"}});

    MessageBoxRecorder boxes;
    EXPECT_TRUE(subjects.DeleteMiddle(0));
    EXPECT_EQ(2, subjects.GetCount(CSubjectFile::levelMiddle));
    EXPECT_EQ("地業工事"_sj, subjects.GetName(CSubjectFile::levelMiddle, 0));
    EXPECT_EQ("鉄筋工事"_sj, subjects.GetName(CSubjectFile::levelMiddle, 1));
    EXPECT_EQ(CString("t"), subjects.GetUnit(CSubjectFile::levelMiddle, 1));

    // The whole file is the two pairs: no tail of the old third pair behind them.
    EXPECT_EQ(SubjectFileBytes({{"地業工事", "式"}, {"鉄筋工事", "t"}}),
              ReadNativeFile(MasterFile("kamoku.MKM")));
    EXPECT_TRUE(boxes.entries.empty());
}

TEST_F(MasterEditTest, AddAndChangeRewriteTheirLevelOnly)
{
    CSubjectFile subjects;
    EXPECT_TRUE(subjects.AddLarge("建築工事"_sj, "式"_sj));
    EXPECT_TRUE(subjects.AddSmall("根切り"_sj, "m3"));
    EXPECT_TRUE(subjects.AddSmall("埋戻し"_sj, "m3"));
    EXPECT_TRUE(subjects.ChangeSmall(1, "残土処分"_sj, "m3"));

    EXPECT_EQ(SubjectFileBytes({{"建築工事", "式"}}), ReadNativeFile(MasterFile("kamoku.MKB")));
    EXPECT_EQ(SubjectFileBytes({{"根切り", "m3"}, {"残土処分", "m3"}}),
              ReadNativeFile(MasterFile("kamoku.MKS")));
    EXPECT_FALSE(std::filesystem::exists(MasterFile("kamoku.MKM")));
}

TEST_F(MasterEditTest, UnitEditsCreateAMissingFileAndKeepItExact)
{
    CUnitFile units;
    EXPECT_TRUE(units.AddUnit("m"));
    EXPECT_TRUE(units.AddUnit("kg"));
    const std::vector<uint8_t> two =
        ByteBuilder().Str("This is unit file").Word(2).Str("m").Str("kg").Bytes();
    EXPECT_EQ(two, ReadNativeFile(MasterFile("tanni.MTD")));

    EXPECT_TRUE(units.ChangeUnit(0, "m2"));
    EXPECT_TRUE(units.DeleteUnit(1));
    EXPECT_EQ(1, units.GetCount());
    EXPECT_EQ(ByteBuilder().Str("This is unit file").Word(1).Str("m2").Bytes(),
              ReadNativeFile(MasterFile("tanni.MTD")));
}

TEST_F(MasterEditTest, AnUpperCaseMasterIsRewrittenInPlace)
{
    WriteNativeFile(MasterFile("TANNI.MTD"),
                    ByteBuilder().Str("This is unit file").Word(1).Str("old unit").Bytes());
    CUnitFile units;
    units.SetUnits({"m"});
    EXPECT_TRUE(units.AddUnit("kg"));

    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.NativeFile("MASTER")))
        nFiles += entry.path().filename() == "TANNI.MTD" || entry.path().filename() == "tanni.MTD";
    EXPECT_EQ(1, nFiles);
    EXPECT_EQ(ByteBuilder().Str("This is unit file").Word(2).Str("m").Str("kg").Bytes(),
              ReadNativeFile(MasterFile("TANNI.MTD")));
}

TEST_F(MasterEditTest, AFileThatCannotBeWrittenIsReportedAndTheEditKept)
{
    m_settings.WritePathSetting("Other Form", SystemPathFromNative(m_dir.NativeFile("no such folder")));
    CUnitFile units;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(units.AddUnit("m"));
    EXPECT_EQ(1, units.GetCount());
    EXPECT_EQ(CString("m"), units.GetUnit(0));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(0, boxes.entries[0].text.Find("単位ﾌｧｲﾙに書き込めません。"_sj));
    EXPECT_EQ(MB_ICONEXCLAMATION, boxes.entries[0].type & 0xF0);

    CSubjectFile subjects;
    EXPECT_FALSE(subjects.AddMiddle("土工事"_sj, "式"_sj));
    ASSERT_EQ(2u, boxes.entries.size());
    EXPECT_EQ(0, boxes.entries[1].text.Find("中科目ﾌｧｲﾙに書き込めません。"_sj));
    EXPECT_EQ(1, subjects.GetCount(CSubjectFile::levelMiddle));
}

// A master nobody may write (no write bit, which holds for the superuser too) is kept as it
// is, and the user is told as for any master that cannot be written.
TEST_F(MasterEditTest, AMasterNobodyMayWriteIsReportedAndKept)
{
    const std::vector<uint8_t> bytes = ByteBuilder().Str("This is unit file").Word(1).Str("m").Bytes();
    WriteNativeFile(MasterFile("TANNI.MTD"), bytes);
    ASSERT_EQ(0, ::chmod(MasterFile("TANNI.MTD").c_str(), 0444));
    CUnitFile units;
    units.SetUnits({"m"});
    MessageBoxRecorder boxes;
    EXPECT_FALSE(units.AddUnit("kg"));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(0, boxes.entries[0].text.Find("単位ﾌｧｲﾙに書き込めません。"_sj));
    EXPECT_NE(-1, boxes.entries[0].text.Find("元のファイルは変更されていません。"_sj));
    EXPECT_EQ(bytes, ReadNativeFile(MasterFile("TANNI.MTD")));
}

TEST_F(MasterEditTest, IndexesOutsideTheTableChangeNothing)
{
    CUnitFile units;
    units.SetUnits({"m"});
    EXPECT_FALSE(units.ChangeUnit(1, "x"));
    EXPECT_FALSE(units.DeleteUnit(-1));
    EXPECT_FALSE(units.DeleteUnit(1));
    EXPECT_EQ(1, units.GetCount());
    EXPECT_FALSE(std::filesystem::exists(MasterFile("tanni.MTD")));

    units.SetUnits(std::vector<CString>(CUnitFile::MAX_UNITS, "m"));
    EXPECT_FALSE(units.AddUnit("one too many"));
    EXPECT_EQ(CUnitFile::MAX_UNITS, units.GetCount());

    CSubjectFile subjects;
    EXPECT_FALSE(subjects.DeleteSmall(0));
    EXPECT_FALSE(subjects.ChangeLarge(0, "x", "y"));
    EXPECT_EQ(0, subjects.GetCount(CSubjectFile::levelSmall));
}

TEST_F(MasterEditTest, TheFolderIsLookedUpAtEveryEdit)
{
    CUnitFile units;
    EXPECT_TRUE(units.AddUnit("m"));
    std::filesystem::create_directory(m_dir.NativeFile("OTHER"));
    m_settings.WritePathSetting("Other Form", SystemPathFromNative(m_dir.NativeFile("OTHER")));
    EXPECT_TRUE(units.AddUnit("kg"));
    EXPECT_EQ(ByteBuilder().Str("This is unit file").Word(2).Str("m").Str("kg").Bytes(),
              ReadNativeFile(m_dir.NativeFile("OTHER/tanni.MTD")));
}

// ---- Backup names and copies -----------------------------------------------------------

TEST(MasterBackupTest, MasterFilesHaveFixedBackupNames)
{
    EXPECT_STREQ("tanni.BTD", GetMasterBackupName(masterUnit));
    EXPECT_STREQ("kamoku.BKB", GetMasterBackupName(masterLarge));
    EXPECT_STREQ("kamoku.BKM", GetMasterBackupName(masterMiddle));
    EXPECT_STREQ("kamoku.BKS", GetMasterBackupName(masterSmall));
    EXPECT_STREQ("bunrul.BRD", GetMasterBackupName(masterClassify));
    EXPECT_STREQ("kamoku.MKS", GetMasterFileName(masterSmall));
    EXPECT_STREQ("BUNRUL.MRD", GetMasterStartupFileName(masterClassify));
}

TEST(MasterBackupTest, FormBackupReplacesTheTextAfterTheLastDot)
{
    EXPECT_EQ(CString("C:\\MORVEL\\FORM\\meisai.BMK"),
              GetFormBackupPath("C:\\MORVEL\\FORM\\meisai.MMK", formEstimation));
    EXPECT_EQ(CString("BUZAI.BBK"), GetFormBackupPath("BUZAI.MBK", formParts));
    EXPECT_EQ(CString("a.b.BJK"), GetFormBackupPath("a.b.MJK", formInformation));
    // A dot in a folder name is not the extension's.
    EXPECT_EQ(CString("C:\\my.forms\\JYOUHOU.BJK"),
              GetFormBackupPath("C:\\my.forms\\JYOUHOU", formInformation));
    EXPECT_EQ(CString("/home/u/v1.2/meisai.BMK"),
              GetFormBackupPath("/home/u/v1.2/meisai.MMK", formEstimation));
    // 表 ends in the byte 0x5C: it must not be taken for a separator.
    EXPECT_EQ("C:\\a.BMK"_sj, GetFormBackupPath("C:\\a.表"_sj, formEstimation));
}

TEST(MasterBackupTest, CopyIsMadeOnlyWhileBackupFileIsZero)
{
    TempDir dir;
    const CString folder = dir.Folder();
    WriteNativeFile(dir.NativeFile("tanni.MTD"), {1, 2, 3});
    WriteNativeFile(dir.NativeFile("tanni.BTD"), {9, 9, 9, 9, 9});

    // What a backup killed part-way left goes even while no copy is made.
    const std::string left = dir.NativeFile(".tanni.BTD.999999999.0.tmp");
    WriteNativeFile(left, {7});
    EXPECT_FALSE(MakeMasterBackup(folder, masterUnit, 1));
    EXPECT_EQ((std::vector<uint8_t>{9, 9, 9, 9, 9}), ReadNativeFile(dir.NativeFile("tanni.BTD")));
    EXPECT_FALSE(std::filesystem::exists(left));

    EXPECT_TRUE(MakeMasterBackup(folder, masterUnit, 0));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), ReadNativeFile(dir.NativeFile("tanni.BTD")));

    WriteNativeFile(dir.NativeFile("meisai.MMK"), {4, 5});
    EXPECT_TRUE(MakeFormBackup(folder + "meisai.MMK", formEstimation, 0));
    EXPECT_EQ((std::vector<uint8_t>{4, 5}), ReadNativeFile(dir.NativeFile("meisai.BMK")));
}

TEST(MasterBackupTest, AFileNobodyMayWriteKeepsItsEarlierBackup)
{
    TempDir dir;
    const CString folder = dir.Folder();
    WriteNativeFile(dir.NativeFile("tanni.MTD"), {1, 2, 3});
    WriteNativeFile(dir.NativeFile("tanni.BTD"), {9, 9});
    WriteNativeFile(dir.NativeFile("meisai.MMK"), {4, 5});
    WriteNativeFile(dir.NativeFile("meisai.BMK"), {8});
    ASSERT_EQ(0, ::chmod(dir.NativeFile("tanni.MTD").c_str(), 0444));
    ASSERT_EQ(0, ::chmod(dir.NativeFile("meisai.MMK").c_str(), 0444));

    EXPECT_FALSE(MakeMasterBackup(folder, masterUnit, 0));
    EXPECT_FALSE(MakeFormBackup(folder + "meisai.MMK", formEstimation, 0));
    EXPECT_EQ((std::vector<uint8_t>{9, 9}), ReadNativeFile(dir.NativeFile("tanni.BTD")));
    EXPECT_EQ((std::vector<uint8_t>{8}), ReadNativeFile(dir.NativeFile("meisai.BMK")));
}

TEST(MasterBackupTest, MissingSourceMakesNoBackupAndNoMessage)
{
    TempDir dir;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(MakeMasterBackup(dir.Folder(), masterClassify, 0));
    EXPECT_FALSE(std::filesystem::exists(dir.NativeFile("bunrul.BRD")));
    EXPECT_TRUE(boxes.entries.empty());
}

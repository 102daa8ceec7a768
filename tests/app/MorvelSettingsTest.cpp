// The settings the application object reads and writes: folders, the file-dialog switch,
// fonts, colours, print switches, input settings and form file names.
#include "app/CMorvelSettings.h"
#include "platform/base/Cp932.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

class MorvelSettingsTest : public ::testing::Test {
protected:
    MorvelSettingsTest() : m_strIni(Utf8ToCp932(m_dir.NativeFile("morvel.ini"))) { Reopen(); }

    // A settings file written by hand, in code page 932 with CR LF line ends.
    void WriteIni(const std::string& utf8Text)
    {
        std::string text;
        for (char ch : Utf8ToCp932(utf8Text)) {
            if (ch == '\n')
                text += '\r';
            text += ch;
        }
        WriteNativeFile(m_dir.NativeFile("morvel.ini"), std::vector<uint8_t>(text.begin(), text.end()));
        Reopen();
    }

    // Fresh objects over the same file, as after a restart.
    void Reopen()
    {
        m_settings.reset();
        m_profile = std::make_unique<CProfileFile>(m_strIni);
        m_settings = std::make_unique<CMorvelSettings>(*m_profile);
    }

    std::vector<uint8_t> IniBytes() const { return ReadNativeFile(m_dir.NativeFile("morvel.ini")); }

    TempDir m_dir;
    CString m_strIni;
    std::unique_ptr<CProfileFile> m_profile;
    std::unique_ptr<CMorvelSettings> m_settings;
};

LOGFONT MakeFont(LONG height, const char* face)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = 7;
    lf.lfEscapement = 10;
    lf.lfOrientation = 20;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 49;
    const size_t n = std::min(std::strlen(face), static_cast<size_t>(LF_FACESIZE - 1));
    std::memcpy(lf.lfFaceName, face, n);
    lf.lfFaceName[n] = '\0';
    return lf;
}

bool SameFont(const LOGFONT& a, const LOGFONT& b)
{
    return std::memcmp(&a, &b, sizeof(LOGFONT)) == 0;
}

} // namespace

TEST_F(MorvelSettingsTest, PathSettingAlwaysGetsOneMoreBackslash)
{
    WriteIni("[Path Setting]\nWork Field=C:\\MORVEL\\WORK\nOther Form=C:\\MORVEL\\MASTER\\\n");
    EXPECT_EQ(CString("C:\\MORVEL\\WORK\\"), m_settings->GetPathSetting("Work Field"));
    EXPECT_EQ(CString("C:\\MORVEL\\MASTER\\\\"), m_settings->GetPathSetting("Other Form"));
    EXPECT_EQ(CString("\\"), m_settings->GetPathSetting("Parts Form"));
    // Keys are found without regard to case.
    EXPECT_EQ(CString("C:\\MORVEL\\WORK\\"), m_settings->GetPathSetting("work field"));
}

TEST_F(MorvelSettingsTest, WrittenPathIsReadAtTheNextLookup)
{
    m_settings->WritePathSetting("Estimation Form", "D:\\見積\\形式"_sj);
    EXPECT_EQ("D:\\見積\\形式\\"_sj, m_settings->GetPathSetting("Estimation Form"));
    m_settings->WritePathSetting("Estimation Form", "E:\\");
    EXPECT_EQ(CString("E:\\\\"), m_settings->GetPathSetting("Estimation Form"));
}

TEST_F(MorvelSettingsTest, RemoveBackSlashComparesWithoutCaseAndByOrder)
{
    const struct {
        const char* value;
        BOOL expected;
    } cases[] = {
        {"removebackslash", TRUE},
        {"RemoveBackSlash", TRUE},
        {"REMOVEBACKSLASH", TRUE},
        {"Apple", FALSE},
        {"Quit", FALSE},
        {"Remove", FALSE},
        {"Save", TRUE},
        {"Zero", TRUE},
        {"", FALSE},
    };
    for (const auto& c : cases) {
        WriteIni(std::string("[Dialog]\nFileDialog=") + c.value + "\n");
        EXPECT_EQ(c.expected, m_settings->IsRemoveBackSlash()) << c.value;
    }
    WriteIni("[Dialog]\n");
    EXPECT_FALSE(m_settings->IsRemoveBackSlash());
}

TEST_F(MorvelSettingsTest, ProfileValueIsEmptyWhenMissing)
{
    WriteIni("[Print Setting]\nNonPrint ZeroSuryo Mitumori=1\n");
    EXPECT_EQ(CString("1"), m_settings->GetProfileValue("Print Setting", "NonPrint ZeroSuryo Mitumori"));
    EXPECT_EQ(CString(), m_settings->GetProfileValue("Print Setting", "Nothing"));
    EXPECT_EQ(CString(), m_settings->GetProfileValue("No Section", "Nothing"));
}

TEST_F(MorvelSettingsTest, FontSectionWithHeightZeroIsIgnored)
{
    WriteIni("[Large Font Setting]\nHeight=0\nWeight=700\nFaceName=Other\nCharSet=128\n");
    LOGFONT lf = MakeFont(0, "Keep");
    const LOGFONT before = lf;
    m_settings->ReadFontSetting("Large Font Setting", lf);
    EXPECT_TRUE(SameFont(before, lf));

    // A missing section reads as height 0 as well.
    m_settings->ReadFontSetting("No Font Setting", &lf);
    EXPECT_TRUE(SameFont(before, lf));
}

TEST_F(MorvelSettingsTest, FontReadFillsEveryFieldWithItsDefault)
{
    WriteIni("[Detail Font Setting]\nHeight=-16\n");
    LOGFONT lf = MakeFont(0, "Previous face name that is long");
    m_settings->ReadFontSetting("Detail Font Setting", lf);
    EXPECT_EQ(-16, lf.lfHeight);
    EXPECT_EQ(0, lf.lfWidth);
    EXPECT_EQ(0, lf.lfWeight);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(1, lf.lfCharSet);
    EXPECT_EQ(0, lf.lfPitchAndFamily);
    EXPECT_STREQ("System", lf.lfFaceName);
    // The rest of the old, longer name is gone too.
    for (int i = 6; i < LF_FACESIZE; ++i)
        EXPECT_EQ('\0', lf.lfFaceName[i]) << i;
}

TEST_F(MorvelSettingsTest, FaceNameIsCutTo31Bytes)
{
    WriteIni("[Sum Font Setting]\nHeight=12\nFaceName=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\n");
    LOGFONT lf{};
    m_settings->ReadFontSetting("Sum Font Setting", lf);
    EXPECT_EQ(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"), lf.lfFaceName);
    EXPECT_EQ('\0', lf.lfFaceName[31]);

    // 30 ASCII letters and a double-byte character: the character does not fit whole and
    // is left out rather than split.
    WriteIni("[Sum Font Setting]\nHeight=12\nFaceName=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123明朝\n");
    m_settings->ReadFontSetting("Sum Font Setting", lf);
    EXPECT_EQ(std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"), lf.lfFaceName);

    WriteIni("[Sum Font Setting]\nHeight=12\nFaceName=ＭＳ 明朝\n");
    m_settings->ReadFontSetting("Sum Font Setting", lf);
    EXPECT_EQ(("ＭＳ 明朝"_sj).str(), lf.lfFaceName);
}

TEST_F(MorvelSettingsTest, FontWrittenAndReadBackIsTheSame)
{
    const LOGFONT written = MakeFont(-13, ("ＭＳ Ｐゴシック"_sj).c_str());
    m_settings->WriteFontSetting("Tax Font Setting", written);
    Reopen();
    LOGFONT read{};
    m_settings->ReadFontSetting("Tax Font Setting", read);
    EXPECT_TRUE(SameFont(written, read));
}

TEST_F(MorvelSettingsTest, FontKeysAreWrittenInTheirOrder)
{
    m_settings->WriteFontSetting("Kind Font Setting", MakeFont(-12, "System"));
    const std::vector<uint8_t> bytes = IniBytes();
    const std::string text(bytes.begin(), bytes.end());
    size_t at = text.find("[Kind Font Setting]");
    ASSERT_NE(std::string::npos, at);
    for (const char* key : {"Height=-12", "Width=7", "Escapement=10", "Orientation=20", "Weight=700",
                            "Italic=1", "Underline=1", "StrikeOut=0", "OutPrecision=3", "ClipPrecision=2",
                            "Quality=1", "PitchAndFamily=49", "CharSet=128", "FaceName=System"}) {
        const size_t next = text.find(key, at);
        ASSERT_NE(std::string::npos, next) << key;
        at = next;
    }
}

TEST_F(MorvelSettingsTest, WritingAFontOfHeightZeroLeavesItsSectionUntouched)
{
    WriteIni("[Part Font Setting]\nHeight=-12\nFaceName=Old\n");
    const std::vector<uint8_t> before = IniBytes();
    m_settings->WriteFontSetting("Part Font Setting", MakeFont(0, "New"));
    m_settings->WriteFontSetting("Fresh Font Setting", MakeFont(0, "New"));
    EXPECT_EQ(before, IniBytes());
}

TEST_F(MorvelSettingsTest, NonCalculatedRowsFallBackToTheDetailFont)
{
    WriteIni("[Detail Font Setting]\nHeight=-14\nWeight=400\nCharSet=128\nFaceName=ＭＳ 明朝\n"
             "[Small Font Setting]\nHeight=-11\nFaceName=Small\n");
    m_settings->ReadRowFonts();
    const LOGFONT& detail = m_settings->m_lfRowFont[CMorvelSettings::fontDetail];
    EXPECT_EQ(-14, detail.lfHeight);
    EXPECT_TRUE(SameFont(detail, m_settings->m_lfRowFont[CMorvelSettings::fontNonCalc]));
    // Index 2 is the small-subject font, 3 the middle one.
    EXPECT_STREQ("Small", m_settings->m_lfRowFont[2].lfFaceName);
    EXPECT_EQ(0, m_settings->m_lfRowFont[3].lfHeight);
}

TEST_F(MorvelSettingsTest, NonCalculatedFontOfItsOwnIsKept)
{
    WriteIni("[Detail Font Setting]\nHeight=-14\nFaceName=Detail\n"
             "[NonCalc Font Setting]\nHeight=-10\nFaceName=NonCalc\n");
    m_settings->ReadRowFonts();
    EXPECT_EQ(-10, m_settings->m_lfRowFont[CMorvelSettings::fontNonCalc].lfHeight);
    EXPECT_STREQ("NonCalc", m_settings->m_lfRowFont[CMorvelSettings::fontNonCalc].lfFaceName);
}

TEST_F(MorvelSettingsTest, ColorsAndPrintSwitchesHaveTheirDefaults)
{
    m_settings->ReadColorSettings();
    EXPECT_EQ(RGB(0, 0, 0), m_settings->m_clrPrintFont);
    EXPECT_EQ(RGB(255, 255, 255), m_settings->m_clrPaper);
    EXPECT_EQ(RGB(0, 0, 0), m_settings->m_clrFill);
    EXPECT_EQ(RGB(255, 255, 255), m_settings->m_clrFillBackground);
    EXPECT_EQ(RGB(0, 0, 0), m_settings->m_clrBorder);
    EXPECT_EQ(1, m_settings->m_nIsFill);
    EXPECT_EQ(1, m_settings->m_nBorderStyle);
    EXPECT_EQ(0, m_settings->m_nFillMode);
    EXPECT_EQ(1, m_settings->m_nDataAlign);
    EXPECT_EQ(1, m_settings->m_nDataFont);
    EXPECT_EQ(1, m_settings->m_nDataColor);
    EXPECT_EQ(2, m_settings->m_nMinus);
    EXPECT_EQ(1, m_settings->m_nPrintColor);
    EXPECT_EQ(1, m_settings->m_nSpaceSetting);
    EXPECT_EQ(0, m_settings->m_nNonPrintZeroSuryo);
    EXPECT_EQ(0, m_settings->m_lfPrintFont.lfHeight);
}

TEST_F(MorvelSettingsTest, ColorTextsKeepTheLowEightBitsAndBadOnesFallBack)
{
    WriteIni("[Color Setting]\nPrint Font Color=255,0,128\nPaper Color=300,-1,5\nFill Color=red\n"
             "Fill Background Color=1,2\nBorder Color= 10, 20, 30\n");
    m_settings->ReadColorSettings();
    EXPECT_EQ(RGB(255, 0, 128), m_settings->m_clrPrintFont);
    EXPECT_EQ(RGB(44, 255, 5), m_settings->m_clrPaper);
    EXPECT_EQ(RGB(0, 0, 0), m_settings->m_clrFill);
    EXPECT_EQ(RGB(255, 255, 255), m_settings->m_clrFillBackground);
    EXPECT_EQ(RGB(10, 20, 30), m_settings->m_clrBorder);
}

TEST_F(MorvelSettingsTest, ColorSettingsWrittenAndReadBack)
{
    m_settings->m_lfPrintFont = MakeFont(-20, "Print");
    m_settings->m_clrPrintFont = RGB(1, 2, 3);
    m_settings->m_clrPaper = RGB(250, 240, 230);
    m_settings->m_clrFill = RGB(200, 200, 255);
    m_settings->m_clrFillBackground = RGB(0, 128, 0);
    m_settings->m_clrBorder = RGB(9, 8, 7);
    m_settings->m_nIsFill = 0;
    m_settings->m_nBorderStyle = 3;
    m_settings->m_nFillMode = 2;
    m_settings->m_nDataAlign = 0;
    m_settings->m_nDataFont = 0;
    m_settings->m_nDataColor = 0;
    m_settings->m_nMinus = 1;
    m_settings->m_nPrintColor = 0;
    m_settings->m_nSpaceSetting = 0;
    m_settings->m_nNonPrintZeroSuryo = 1;
    m_settings->WriteColorSettings();

    CProfileFile profile(m_strIni);
    EXPECT_EQ(CString("250,240,230"), profile.GetProfileString("Color Setting", "Paper Color", ""));

    Reopen();
    m_settings->ReadColorSettings();
    EXPECT_TRUE(SameFont(MakeFont(-20, "Print"), m_settings->m_lfPrintFont));
    EXPECT_EQ(RGB(1, 2, 3), m_settings->m_clrPrintFont);
    EXPECT_EQ(RGB(250, 240, 230), m_settings->m_clrPaper);
    EXPECT_EQ(RGB(200, 200, 255), m_settings->m_clrFill);
    EXPECT_EQ(RGB(0, 128, 0), m_settings->m_clrFillBackground);
    EXPECT_EQ(RGB(9, 8, 7), m_settings->m_clrBorder);
    EXPECT_EQ(0, m_settings->m_nIsFill);
    EXPECT_EQ(3, m_settings->m_nBorderStyle);
    EXPECT_EQ(2, m_settings->m_nFillMode);
    EXPECT_EQ(0, m_settings->m_nDataAlign);
    EXPECT_EQ(0, m_settings->m_nDataFont);
    EXPECT_EQ(0, m_settings->m_nDataColor);
    EXPECT_EQ(1, m_settings->m_nMinus);
    EXPECT_EQ(0, m_settings->m_nPrintColor);
    EXPECT_EQ(0, m_settings->m_nSpaceSetting);
    EXPECT_EQ(1, m_settings->m_nNonPrintZeroSuryo);
}

TEST_F(MorvelSettingsTest, InputSettingsDefaultsAndRoundTrip)
{
    // Before reading: the direction is 1, the rest 0.
    EXPECT_EQ(1, m_settings->m_nDirection);
    EXPECT_EQ(0, m_settings->m_nTax);
    EXPECT_EQ(1, m_settings->m_nPrintFormSelect);

    m_settings->ReadInputSettings();
    EXPECT_EQ(8, m_settings->m_nTax);
    EXPECT_EQ(1, m_settings->m_nDirection);
    EXPECT_EQ(0, m_settings->m_nRoundOff);
    EXPECT_EQ(0, m_settings->m_nBackupFile);
    EXPECT_EQ(3, m_settings->m_nRoundMode);

    m_settings->m_nTax = 10;
    m_settings->m_nDirection = 2;
    m_settings->m_nRoundOff = 1;
    m_settings->m_nBackupFile = 1;
    m_settings->m_nRoundMode = 0;
    m_settings->WriteInputSettings();
    Reopen();
    m_settings->ReadInputSettings();
    EXPECT_EQ(10, m_settings->m_nTax);
    EXPECT_EQ(2, m_settings->m_nDirection);
    EXPECT_EQ(1, m_settings->m_nRoundOff);
    EXPECT_EQ(1, m_settings->m_nBackupFile);
    EXPECT_EQ(0, m_settings->m_nRoundMode);
}

TEST_F(MorvelSettingsTest, FormFileNamesAreReadAndWrittenUnderTheirKeys)
{
    WriteIni("[Form File Name Setting]\nEstimation Form Name=meisai.MMK\nPart Form Name=BUZAI.MBK\n");
    m_settings->ReadFormFileNames();
    EXPECT_EQ(CString("meisai.MMK"), m_settings->m_strEstimationFormFile);
    EXPECT_EQ(CString(), m_settings->m_strInformationFormFile);
    EXPECT_EQ(CString("BUZAI.MBK"), m_settings->m_strPartFormFile);

    m_settings->m_strInformationFormFile = "情報.MJK"_sj;
    m_settings->WriteFormFileNames();
    CProfileFile profile(m_strIni);
    EXPECT_EQ("情報.MJK"_sj, profile.GetProfileString("Form File Name Setting", "Information Form Name", ""));
    EXPECT_EQ(CString("meisai.MMK"),
              profile.GetProfileString("Form File Name Setting", "Estimation Form Name", ""));
}

TEST_F(MorvelSettingsTest, SettingsMadeCurrentAreTheCurrentOnesUntilTheyGo)
{
    WriteIni("[Path Setting]\nOther Form=C:\\MORVEL\\MASTER\n");
    // Building settings does not make them current; only SetCurrent does.
    EXPECT_EQ(nullptr, CMorvelSettings::GetCurrent());
    CMorvelSettings::SetCurrent(m_settings.get());
    {
        CProfileFile other(m_strIni);
        CMorvelSettings otherSettings(other);
        EXPECT_EQ(m_settings.get(), CMorvelSettings::GetCurrent());
    }
    EXPECT_EQ(m_settings.get(), CMorvelSettings::GetCurrent());
    EXPECT_EQ(CString("C:\\MORVEL\\MASTER\\kamoku.MKM"), CMorvelSettings::GetMasterFilePath(masterMiddle));
    m_settings.reset();
    EXPECT_EQ(nullptr, CMorvelSettings::GetCurrent());
    EXPECT_EQ(CString("\\tanni.MTD"), CMorvelSettings::GetMasterFilePath(masterUnit));
}

TEST_F(MorvelSettingsTest, TheCurrentSettingsGiveTheirNumbersAndWorkFolderAndNoSettingsTheDefaults)
{
    TempDir work;
    WriteIni("[Input Setting]\nBackup File=1\n[Path Setting]\nWork Field=" + work.Native() + "\n");
    const std::filesystem::path start = std::filesystem::current_path();

    EXPECT_EQ(CMorvelSettings::CurrentProfileInt("Input Setting", "Backup File", 7), 7);
    CMorvelSettings::SetWorkFolderAsCurrent();
    EXPECT_EQ(std::filesystem::current_path(), start);

    CMorvelSettings::SetCurrent(m_settings.get());
    EXPECT_EQ(CMorvelSettings::CurrentProfileInt("Input Setting", "Backup File", 7), 1);
    EXPECT_EQ(CMorvelSettings::CurrentProfileInt("Input Setting", "Tax", -2), -2);
    CMorvelSettings::SetWorkFolderAsCurrent();
    const std::filesystem::path moved = std::filesystem::current_path();
    std::filesystem::current_path(start);
    EXPECT_TRUE(std::filesystem::equivalent(moved, work.Native()));
}

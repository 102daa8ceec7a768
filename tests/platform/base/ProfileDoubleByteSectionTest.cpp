// Section names with double-byte characters whose second byte is "]" (0x5D), such as
// "ゾーン" (0x83 0x5D ...): the name is read by characters, so the section is found, read
// and written like any other.
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Bytes(const std::vector<uint8_t>& v)
{
    return std::string(v.begin(), v.end());
}

class ProfileDoubleByteSection : public ::testing::Test {
protected:
    ProfileDoubleByteSection() : profile(dir.Folder() + "morvel.ini") {}
    TempDir dir;
    CProfileFile profile;
};

// "ゾーン" and "キー", "値" in code page 932, written out byte by byte.
const std::string kZone = "\x83\x5D\x81\x5B\x83\x93";
const std::string kKey = "\x83\x4C\x81\x5B";
const std::string kValue = "\x92\x6C";

} // namespace

TEST_F(ProfileDoubleByteSection, ASectionWhoseNameHoldsTrailByte5DIsReadAndWritten)
{
    const std::string text = "[Input Setting]\r\nTax=8\r\n\r\n[" + kZone + "]\r\n" + kKey + "=" + kValue +
                             "\r\n\r\n[Other]\r\nA=1\r\n";
    WriteNativeFile(dir.NativeFile("morvel.ini"), std::vector<uint8_t>(text.begin(), text.end()));

    EXPECT_EQ(kValue, profile.GetProfileString(kZone.c_str(), kKey.c_str(), "default").str());
    EXPECT_EQ(8u, profile.GetProfileInt("Input Setting", "Tax", 0));

    // Changing the key and adding one change only those lines.
    ASSERT_TRUE(profile.WriteProfileString(kZone.c_str(), kKey.c_str(), "new"));
    ASSERT_TRUE(profile.WriteProfileString(kZone.c_str(), "Added", "2"));
    EXPECT_EQ("[Input Setting]\r\nTax=8\r\n\r\n[" + kZone + "]\r\n" + kKey +
                  "=new\r\nAdded=2\r\n\r\n[Other]\r\nA=1\r\n",
              Bytes(ReadNativeFile(dir.NativeFile("morvel.ini"))));
    EXPECT_EQ("new", profile.GetProfileString(kZone.c_str(), kKey.c_str(), "default").str());
    EXPECT_EQ(1u, profile.GetProfileInt("Other", "A", 0));

    // A new section of such a name reads back, and removing it leaves the others.
    const std::string kTable = "\x95\x5C\x83\x5D"; // "表ゾ": trail bytes 0x5C and 0x5D
    ASSERT_TRUE(profile.WriteProfileInt(kTable.c_str(), "Width", 120));
    EXPECT_EQ(120u, profile.GetProfileInt(kTable.c_str(), "Width", 0));
    ASSERT_TRUE(profile.WriteProfileString(kZone.c_str(), nullptr, nullptr));
    EXPECT_EQ("default", profile.GetProfileString(kZone.c_str(), kKey.c_str(), "default").str());
    EXPECT_EQ(120u, profile.GetProfileInt(kTable.c_str(), "Width", 0));
    EXPECT_EQ(8u, profile.GetProfileInt("Input Setting", "Tax", 0));
}

TEST_F(ProfileDoubleByteSection, NamesThatCannotStandBetweenBracketsAreRefused)
{
    ASSERT_TRUE(profile.WriteProfileString("Kept", "Key", "1"));
    const std::vector<uint8_t> before = ReadNativeFile(dir.NativeFile("morvel.ini"));
    // A "]" of its own would end the name early; a lead byte at the end would take the
    // closing "]" as its second byte.
    for (const char* name : {"a]b", "]", "abc\x83", "\x83"})
        EXPECT_FALSE(profile.WriteProfileString(name, "Key", "2")) << name;
    EXPECT_EQ(before, ReadNativeFile(dir.NativeFile("morvel.ini")));
    // A line whose name ends in a lead byte before "]" is no section: its keys belong to none.
    const std::string text = "[abc\x83]\r\nKey=3\r\n";
    WriteNativeFile(dir.NativeFile("morvel.ini"), std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ("none", profile.GetProfileString("abc\x83", "Key", "none").str());
}

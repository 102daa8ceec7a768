#include "platform/base/Cp932.h"
#include "platform/base/Cp932TableBuild.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Decodes one code (a single byte below 0x100, else lead << 8 | trail) to UTF-16.
std::u16string Decode(int code)
{
    std::string bytes;
    if (code >= 0x100)
        bytes += static_cast<char>(code >> 8);
    bytes += static_cast<char>(code & 0xFF);
    return Cp932ToUtf16(bytes);
}

int CodeOf(const std::string& bytes)
{
    if (bytes.size() == 1)
        return static_cast<BYTE>(bytes[0]);
    if (bytes.size() == 2)
        return (static_cast<BYTE>(bytes[0]) << 8) | static_cast<BYTE>(bytes[1]);
    return -1;
}

} // namespace

TEST(Cp932Characters, LeadBytesAndCharacterLength)
{
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0x9F));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0xDF)); // half-width katakana are single bytes
    EXPECT_TRUE(IsCp932LeadByte(0xE0));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte(0xFD));
    EXPECT_EQ(Cp932CharLength("\x95\x5C"), 2);
    EXPECT_EQ(Cp932CharLength("a\x95"), 1);
    EXPECT_EQ(Cp932CharLength("\xB1"), 1);
    EXPECT_EQ(Cp932CharLength("\x95"), 1); // lead byte before the terminator
    EXPECT_EQ(Cp932CharLength(""), 1);
}

TEST(Cp932Conversion, KnownCharactersBothWays)
{
    struct Case {
        std::string cp932;
        std::string utf8;
    } cases[] = {
        {"\x95\x5C", "表"},       {"\x83\x5C", "ソ"}, {"\x8C\x76", "計"}, {"\x92\x6C", "値"},
        {"\x8E\xAE", "式"},       {"\x82\x6D", "Ｎ"}, {"\xB1\xDF", "ｱﾟ"}, {"\x81\x40", "　"},
        {"\x88\x9F", "亜"},       {"\x87\x40", "①"},  {"\xFA\x40", "ⅰ"},  {"\x81\x60", "～"},
        {"m2 \x8E\xAE", "m2 式"}, {"\x7E", "~"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
        EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    }
    EXPECT_EQ(Cp932ToUtf16("\x95\x5C"
                           "a"),
              u"表a");
    EXPECT_EQ(Utf16ToCp932(u"表a"), "\x95\x5C"
                                    "a");
}

TEST(Cp932Conversion, LookAlikesTypedOnThisDesktopBecomeTheUsualCodes)
{
    // Input methods here type the wave dash, the double vertical line and the minus
    // sign where Japanese Windows texts hold the full-width forms.
    EXPECT_EQ(Utf8ToCp932("〜"), "\x81\x60"); // U+301C
    EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60"); // U+FF5E
    EXPECT_EQ(Utf8ToCp932("‖"), "\x81\x61");  // U+2016
    EXPECT_EQ(Utf8ToCp932("−"), "\x81\x7C");  // U+2212
    EXPECT_EQ(Utf8ToCp932("¢£¬"), "\x81\x91\x81\x92\x81\xCA");
}

TEST(Cp932Conversion, EveryCharacterSurvivesARoundTrip)
{
    int characters = 0;
    for (int code = 0; code < 0x10000; ++code) {
        if (code < 0x100 ? IsCp932LeadByte(static_cast<BYTE>(code)) : !IsCp932LeadByte(code >> 8))
            continue;
        if (code >= 0x100 && ((code & 0xFF) < 0x40 || (code & 0xFF) == 0x7F || (code & 0xFF) > 0xFC))
            continue;
        const std::u16string u = Decode(code);
        ASSERT_EQ(u.size(), 1u) << std::hex << code;
        if (u[0] == 0xFFFD)
            continue; // unassigned
        ++characters;
        const std::string back = Utf16ToCp932(u);
        const int backCode = CodeOf(back);
        ASSERT_NE(backCode, -1) << std::hex << code;
        // The code written back may be another code of the same character (the NEC and
        // IBM extensions repeat some), but it must read as the same character.
        EXPECT_EQ(Decode(backCode), u) << std::hex << code;
        // Codes of the JIS X 0208 rows, single bytes and the user-defined area are the
        // preferred ones: they come back byte for byte.
        const int lead = code >> 8;
        const bool preferred = code < 0x100 || (lead >= 0x81 && lead <= 0x84) ||
                               (lead >= 0x88 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA) ||
                               (lead >= 0xF0 && lead <= 0xF9);
        if (preferred) {
            EXPECT_EQ(backCode, code) << std::hex << code;
        }
        // Through UTF-8 as well.
        EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(back)), back) << std::hex << code;
    }
    // 7915 characters of the code page plus 1880 user-defined ones.
    EXPECT_GT(characters, 9000);
}

TEST(Cp932Conversion, DuplicateCodesWriteThePreferredCode)
{
    EXPECT_EQ(Utf16ToCp932(Decode(0x8790)), "\x81\xE0"); // ≒ NEC row 13 -> JIS
    EXPECT_EQ(Utf16ToCp932(Decode(0xFA54)), "\x81\xCA"); // ¬ IBM -> JIS
    EXPECT_EQ(Utf16ToCp932(Decode(0xEEEF)), "\xFA\x40"); // ⅰ NEC-selected IBM -> IBM
    EXPECT_EQ(Utf16ToCp932(Decode(0xFA4A)), "\x87\x54"); // Ⅰ IBM -> NEC row 13
}

TEST(Cp932Conversion, UserDefinedAreaMapsToPrivateUse)
{
    EXPECT_EQ(Cp932ToUtf16("\xF0\x40"), std::u16string(1, char16_t(0xE000)));
    EXPECT_EQ(Utf16ToCp932(std::u16string(1, char16_t(0xE000))), "\xF0\x40");
    EXPECT_EQ(Cp932ToUtf16("\xF9\xFC"), std::u16string(1, char16_t(0xE757)));
}

TEST(Cp932Display, SingleByteBackslashShowsAsYen)
{
    EXPECT_EQ(Cp932ToUtf8("C:\\WORK\\", true), "C:¥WORK¥");
    EXPECT_EQ(Cp932ToUtf8("C:\\WORK\\", false), "C:\\WORK\\");
    EXPECT_EQ(Cp932ToUtf16("\\100", true), u"¥100");
    // The trail byte 0x5C of 表 and ソ is part of the character, not a yen sign.
    EXPECT_EQ(Cp932ToUtf8("\x95\x5C\\\x83\x5C", true), "表¥ソ");
    EXPECT_EQ(Cp932ToUtf16("\x95\x5C\x83\x5C", true), u"表ソ");
}

TEST(Cp932Display, BackslashAndYenBothBecomeByte5C)
{
    EXPECT_EQ(Utf8ToCp932("¥1,000"), "\\1,000");
    EXPECT_EQ(Utf8ToCp932("\\1,000"), "\\1,000");
    EXPECT_EQ(Utf16ToCp932(u"¥\\"), "\\\\");
    // Shown and typed back, a text is unchanged.
    const std::string text = "\\\x95\x5C\x8C\x76\\";
    EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(text, true)), text);
    EXPECT_EQ(Utf16ToCp932(Cp932ToUtf16(text, true)), text);
}

TEST(Cp932Invalid, BadBytesBecomeReplacementCharacters)
{
    const std::u16string fffd(1, char16_t(0xFFFD));
    EXPECT_EQ(Cp932ToUtf16("\x80"), fffd);
    EXPECT_EQ(Cp932ToUtf16("\xA0"), fffd);
    EXPECT_EQ(Cp932ToUtf16("\xFD\xFE\xFF"), fffd + fffd + fffd);
    // A lead byte at the end, or before a byte that cannot be a trail byte, loses only
    // itself: the next character is kept.
    EXPECT_EQ(Cp932ToUtf16("a\x95"), u"a" + fffd);
    EXPECT_EQ(Cp932ToUtf16("\x95"
                           "1"),
              fffd + u"1");
    EXPECT_EQ(Cp932ToUtf16(std::string("\x95\x00"
                                       "b",
                                       3)),
              fffd + std::u16string(1, 0) + u"b");
    // An unassigned pair is one unknown character.
    EXPECT_EQ(Cp932ToUtf16("\x85\x40"
                           "x"),
              fffd + u"x");
    EXPECT_EQ(Cp932ToUtf8("\x80"), "\xEF\xBF\xBD");
}

TEST(Cp932Invalid, UnconvertibleUnicodeBecomesQuestionMark)
{
    EXPECT_EQ(Utf8ToCp932("a\xC0\xAF"
                          "b"),
              "a??b");                             // overlong "/"
    EXPECT_EQ(Utf8ToCp932("\x80x"), "?x");         // stray continuation byte
    EXPECT_EQ(Utf8ToCp932("\xED\xA0\x80"), "???"); // encoded surrogate
    EXPECT_EQ(Utf8ToCp932("\xE8\xA8"), "??");      // cut short
    EXPECT_EQ(Utf8ToCp932("😀計"), "?\x8C\x76");    // outside the code page
    EXPECT_EQ(Utf8ToCp932("한"), "?");             // not in the code page
    EXPECT_EQ(Utf16ToCp932(u"😀"), "?");            // a surrogate pair is one character
    EXPECT_EQ(Utf16ToCp932(std::u16string(1, char16_t(0xD800)) + u"a"), "?a");
    EXPECT_EQ(Utf16ToCp932(std::u16string(1, char16_t(0xDC00))), "?");
    EXPECT_EQ(Utf16ToCp932(std::u16string(1, char16_t(0xFFFD))), "?");
}

TEST(Cp932Conversion, EmbeddedZerosAndEmptyTexts)
{
    EXPECT_EQ(Cp932ToUtf8(""), "");
    EXPECT_EQ(Utf8ToCp932(""), "");
    EXPECT_EQ(Utf16ToCp932(u""), "");
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Utf8ToCp932(std::string("\0\xE8\xA8\x88", 4)), std::string("\0\x8C\x76", 3));
}

// The tables are compiled into the program; here they are held against the C library's
// converter itself, for every code and every character of the basic plane.
TEST(Cp932Tables, MatchTheConverterForEveryCode)
{
    auto expected = std::make_unique<cp932_tables::CTables>();
    if (!cp932_tables::BuildFromIconv(*expected))
        GTEST_SKIP() << "the C library has no CP932 converter";
    int decoded = 0;
    for (int code = 0; code < 0x10000; ++code) {
        if (!cp932_tables::IsCharacterCode(code))
            continue;
        const std::u16string u = Decode(code);
        ASSERT_EQ(u.size(), 1u) << std::hex << code;
        ASSERT_EQ(u[0], expected->toUnicode[static_cast<size_t>(code)]) << std::hex << code;
        decoded += u[0] != 0xFFFD;
    }
    EXPECT_GT(decoded, 9000);
    int encoded = 0;
    for (int cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        const int code = cp == 0 ? 0 : expected->fromUnicode[static_cast<size_t>(cp)];
        std::string bytes;
        if (cp != 0 && code == 0)
            bytes = "?";
        else if (code >= 0x100)
            bytes = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        else
            bytes = std::string(1, static_cast<char>(code));
        ASSERT_EQ(Utf16ToCp932(std::u16string(1, static_cast<char16_t>(cp))), bytes) << std::hex << cp;
        encoded += code != 0;
    }
    EXPECT_GT(encoded, 9000);
}

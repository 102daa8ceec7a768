#include "platform/base/Cp932Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A writable zero-terminated copy of a text, for the char* forms.
std::vector<char> Buffer(const CString& text)
{
    std::vector<char> buf(text.c_str(), text.c_str() + text.GetLength() + 1);
    return buf;
}

std::string Converted(int (*convert)(char*), const CString& text, int& result)
{
    std::vector<char> buf = Buffer(text);
    result = convert(buf.data());
    return std::string(buf.data());
}

} // namespace

TEST(Cp932TextTest, FullWidthNumberWithCommaAndPointBecomesAscii)
{
    CString text = "１２，３４５．６"_sj;
    EXPECT_EQ(0, ToHalfWidthNumber(text));
    EXPECT_EQ(CString("12,345.6"), text);

    int result = 1;
    EXPECT_EQ("12,345.6", Converted(ToHalfWidthNumber, "１２，３４５．６"_sj, result));
    EXPECT_EQ(0, result);
}

TEST(Cp932TextTest, FullWidthMinusOneBecomesMinusOne)
{
    CString text = "－１"_sj;
    EXPECT_EQ(0, ToHalfWidthNumber(text));
    EXPECT_EQ(CString("-1"), text);
}

TEST(Cp932TextTest, AsciiDigitAfterFullWidthDigitsIsRefusedAndTextKept)
{
    const CString original = "１２"_sj + "3";
    CString text = original;
    EXPECT_EQ(-1, ToHalfWidthNumber(text));
    EXPECT_EQ(original, text);

    int result = 0;
    EXPECT_EQ(original.str(), Converted(ToHalfWidthNumber, original, result));
    EXPECT_EQ(-1, result);
}

TEST(Cp932TextTest, MixedConverterKeepsAsciiDigits)
{
    CString text = "１２"_sj + "3";
    EXPECT_EQ(0, ToHalfWidthNumberMixed(text));
    EXPECT_EQ(CString("123"), text);

    CString ascii = "89";
    EXPECT_EQ(0, ToHalfWidthNumberMixed(ascii));
    EXPECT_EQ(CString("89"), ascii);

    // Other ASCII characters are still refused, the decimal point among them.
    CString decimal = "1.5";
    EXPECT_EQ(-1, ToHalfWidthNumberMixed(decimal));
    EXPECT_EQ(CString("1.5"), decimal);
}

TEST(Cp932TextTest, BlanksBetweenDigitsAreDropped)
{
    const CString text = "１"_sj + "\x81\x40" + "２"_sj + " " + "３"_sj;
    CString a = text;
    EXPECT_EQ(0, ToHalfWidthNumber(a));
    EXPECT_EQ(CString("123"), a);
    CString b = text;
    EXPECT_EQ(0, ToHalfWidthNumberMixed(b));
    EXPECT_EQ(CString("123"), b);
}

TEST(Cp932TextTest, EverySignOfTheTableConverts)
{
    CString text = "、。，．／＋－×÷＝＊"_sj;
    EXPECT_EQ(0, ToHalfWidthNumber(text));
    EXPECT_EQ(CString(",.,./+-*/=*"), text);

    CString digits = "０１２３４５６７８９"_sj;
    EXPECT_EQ(0, ToHalfWidthNumber(digits));
    EXPECT_EQ(CString("0123456789"), digits);
}

TEST(Cp932TextTest, OtherDoubleByteCharactersAreRefused)
{
    // A full-width letter shares the lead byte 0x82 with the digits; a kanji, a kana and
    // a symbol outside the table must all stop the conversion.
    for (const CString& original : {"１Ａ"_sj, "１円"_sj, "あ"_sj, "１％"_sj, CString("\x82")}) {
        CString text = original;
        EXPECT_EQ(-1, ToHalfWidthNumber(text)) << original.ToUtf8();
        EXPECT_EQ(original, text);
    }
}

TEST(Cp932TextTest, LoneLeadByteAtTheEndIsRefusedWithoutReadingPastTheText)
{
    std::vector<char> buf = {'\x82', '\x4F', '\x81', '\0', 'X', '\0'};
    EXPECT_EQ(-1, ToHalfWidthNumber(buf.data()));
    EXPECT_EQ('\x82', buf[0]);
}

TEST(Cp932TextTest, EmptyAndBlankTextsConvertToEmpty)
{
    CString empty;
    EXPECT_EQ(0, ToHalfWidthNumber(empty));
    EXPECT_TRUE(empty.IsEmpty());
    CString blanks = CString("  ") + "\x81\x40";
    EXPECT_EQ(0, ToHalfWidthNumber(blanks));
    EXPECT_TRUE(blanks.IsEmpty());
}

TEST(Cp932TextTest, ConvertedTextLongerThan255IsRefused)
{
    CString exact;
    for (int i = 0; i < MAX_HALF_WIDTH_NUMBER; ++i)
        exact += "１"_sj;
    CString copy = exact;
    EXPECT_EQ(0, ToHalfWidthNumber(copy));
    EXPECT_EQ(CString(std::string(255, '1')), copy);

    const CString tooLong = exact + "２"_sj;
    CString text = tooLong;
    EXPECT_EQ(-1, ToHalfWidthNumber(text));
    EXPECT_EQ(tooLong, text);

    int result = 0;
    EXPECT_EQ(tooLong.str(), Converted(ToHalfWidthNumberMixed, tooLong, result));
    EXPECT_EQ(-1, result);

    // Blanks do not count: they never reach the output.
    CString padded = CString(std::string(400, ' ')) + "９"_sj;
    EXPECT_EQ(0, ToHalfWidthNumber(padded));
    EXPECT_EQ(CString("9"), padded);
}

TEST(Cp932TextTest, ClassifyLooksAtTheFirstCharacterAfterBlanks)
{
    CString letter = CString("\x81\x40") + "Ａ"_sj;
    const CString letterCopy = letter;
    EXPECT_EQ(1, ClassifyFullWidthText(letter));
    EXPECT_EQ(letterCopy, letter);

    CString plus = "＋"_sj;
    EXPECT_EQ(0, ClassifyFullWidthText(plus));
    CString kana = " あ"_sj;
    EXPECT_EQ(1, ClassifyFullWidthText(kana));
    CString ascii = "abc";
    EXPECT_EQ(-1, ClassifyFullWidthText(ascii));
    EXPECT_EQ(CString("abc"), ascii);
    CString kanji = "見積"_sj;
    EXPECT_EQ(-1, ClassifyFullWidthText(kanji));
}

TEST(Cp932TextTest, ClassifyEmptiesAnAllBlankText)
{
    CString blanks = "   ";
    EXPECT_EQ(0, ClassifyFullWidthText(blanks));
    EXPECT_TRUE(blanks.IsEmpty());

    std::vector<char> buf = {' ', '\x81', '\x40', ' ', '\0'};
    EXPECT_EQ(0, ClassifyFullWidthText(buf.data()));
    EXPECT_EQ('\0', buf[0]);

    CString empty;
    EXPECT_EQ(0, ClassifyFullWidthText(empty));
}

TEST(Cp932TextTest, IsBlankCharTellsHalfAndFullWidthBlanks)
{
    EXPECT_EQ(-1, IsBlankChar(" "));
    EXPECT_EQ(-2, IsBlankChar("\x81\x40"));
    EXPECT_EQ(0, IsBlankChar("\x81\x41"));
    EXPECT_EQ(0, IsBlankChar("a"));
    EXPECT_EQ(0, IsBlankChar(""));
    // A trail byte 0x40 after another lead byte is not a blank.
    EXPECT_EQ(0, IsBlankChar("\x82\x40"));
}

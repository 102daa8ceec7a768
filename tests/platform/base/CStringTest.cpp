#include "platform/base/CString.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace {

// Code page 932 characters whose trail byte is a character that the string functions
// look for: "\" (0x5C) and ASCII letters. The bytes are written out, not converted.
const std::string kHyo = "\x95\x5C";  // 表, trail "\"
const std::string kSo = "\x83\x5C";   // ソ, trail "\"
const std::string kKei = "\x8C\x76";  // 計, trail "v"
const std::string kAtai = "\x92\x6C"; // 値, trail "l"
const std::string kJi = "\x83\x61";   // ヂ, trail "a"
const std::string kHo = "\x83\x7A";   // ホ, trail "z"
const std::string kA = "\x83\x41";    // ア, trail "A"
const std::string kSe = "\x83\x5A";   // セ, trail "Z"
const std::string kKi = "\x8C\x56";   // 祁, trail "V"

CString S(const std::string& bytes)
{
    return CString(bytes);
}

} // namespace

TEST(CStringLiterals, JapaneseLiteralsBecomeCp932Bytes)
{
    EXPECT_EQ("表"_sj.str(), kHyo);
    EXPECT_EQ("ソ"_sj.str(), kSo);
    EXPECT_EQ("計"_sj.str(), kKei);
    EXPECT_EQ("値"_sj.str(), kAtai);
    EXPECT_EQ("ｱ"_sj.str(), "\xB1");
    EXPECT_EQ(CString::FromUtf8("見積 1式").ToUtf8(), "見積 1式");
    // Both "\" and "¥" are the byte 0x5C inside the system.
    EXPECT_EQ(CString::FromUtf8("C:¥MORVEL\\WORK").str(), "C:\\MORVEL\\WORK");
}

TEST(CStringCase, MakeUpperKeepsDoubleByteCharactersWhoseTrailIsALetter)
{
    CString s = S("abc" + kKei + "x" + kAtai + "y" + kJi + kHo + "z");
    s.MakeUpper();
    EXPECT_EQ(s.str(), "ABC" + kKei + "X" + kAtai + "Y" + kJi + kHo + "Z");
    EXPECT_EQ(s.ToUtf8(), "ABC計X値YヂホZ");
}

TEST(CStringCase, MakeLowerKeepsDoubleByteCharactersWhoseTrailIsACapital)
{
    CString s = S("ABC" + kA + "Q" + kSe + kKi + "W");
    s.MakeLower();
    EXPECT_EQ(s.str(), "abc" + kA + "q" + kSe + kKi + "w");
}

TEST(CStringCase, LeadByteAtTheEndIsLeftAlone)
{
    CString s = S("ab\x8C");
    s.MakeUpper();
    EXPECT_EQ(s.str(), "AB\x8C");
}

TEST(CStringCompare, CompareIsByteWiseWithUnsignedBytes)
{
    EXPECT_EQ(S("abc").Compare("abc"), 0);
    EXPECT_LT(S("abc").Compare("abd"), 0);
    EXPECT_GT(S("abcd").Compare("abc"), 0);
    EXPECT_LT(S("abc").Compare(kHyo.c_str()), 0); // 0x95 sorts after ASCII
    EXPECT_TRUE(S(kKei) == kKei.c_str());
    EXPECT_TRUE(S("a") < S("b"));
}

TEST(CStringCompare, CompareNoCaseFoldsOnlySingleByteLetters)
{
    EXPECT_EQ(S("Tanni.MTD").CompareNoCase("TANNI.mtd"), 0);
    EXPECT_EQ(S(kKei + "abc").CompareNoCase((kKei + "ABC").c_str()), 0);
    // 計 (0x8C 0x76) and 祁 (0x8C 0x56) differ only in a trail byte that folding would
    // make equal ("v" and "V"): they are different characters.
    EXPECT_NE(S(kKei).CompareNoCase(kKi.c_str()), 0);
    EXPECT_NE(S(kJi).CompareNoCase(kA.c_str()), 0);
    EXPECT_NE(S("x" + kHo).CompareNoCase(("X" + kSe).c_str()), 0);
}

TEST(CStringCompare, CompareNoCaseOrdersAsLowerCase)
{
    // Letters fold to lower case: "_" (0x5F) sorts before "a" (0x61).
    EXPECT_LT(S("_").CompareNoCase("A"), 0);
    EXPECT_GT(S("B").CompareNoCase("a"), 0);
    EXPECT_LT(S("ab").CompareNoCase("ABC"), 0);
    EXPECT_GT(S("ABC").CompareNoCase("ab"), 0);
    EXPECT_EQ(S("").CompareNoCase(""), 0);
    EXPECT_LT(S("").CompareNoCase("a"), 0);
    // 祁 (trail 0x56) before 計 (trail 0x76): the trail bytes compare unfolded.
    EXPECT_LT(S(kKi).CompareNoCase(kKei.c_str()), 0);
    EXPECT_GT(S(kKei).CompareNoCase(kKi.c_str()), 0);
}

TEST(CStringFind, FindCharacterSkipsTrailBytes)
{
    const CString path = S("C:" + kHyo + "\\" + kSo + "\\x");
    EXPECT_EQ(path.Find('\\'), 4);
    EXPECT_EQ(path.Find('\\', 5), 7);
    EXPECT_EQ(path.Find('\\', 8), -1);
    // A start inside a double-byte character does not expose its trail byte.
    EXPECT_EQ(path.Find('\\', 3), 4);
    EXPECT_EQ(S(kHyo + kSo).Find('\\'), -1);
    EXPECT_EQ(S(kKei + kAtai).Find('v'), -1);
    EXPECT_EQ(S(kKei + kAtai).Find('l'), -1);
    EXPECT_EQ(S(kKei + "v").Find('v'), 2);
    EXPECT_EQ(S("abc").Find('a', -5), 0);
    EXPECT_EQ(S("abc").Find('a', 99), -1);
}

TEST(CStringFind, ReverseFindSkipsTrailBytes)
{
    EXPECT_EQ(S("C:\\" + kHyo + "\\" + kSo).ReverseFind('\\'), 5);
    EXPECT_EQ(S(kHyo).ReverseFind('\\'), -1);
    EXPECT_EQ(S("a" + kJi).ReverseFind('a'), 0);
    EXPECT_EQ(S("").ReverseFind('a'), -1);
}

TEST(CStringFind, FindTextMatchesOnlyAtCharacterStarts)
{
    const CString s = S(kHyo + kKei + "\\" + kKei);
    // "\\" + 0x8C would match bytes 1-2 (inside 表 and the lead of 計) byte-wise.
    EXPECT_EQ(s.Find("\x5C\x8C"), 4);
    EXPECT_EQ(s.Find(kKei.c_str()), 2);
    EXPECT_EQ(s.Find(kKei.c_str(), 3), 5);
    EXPECT_EQ(s.Find("v"), -1);
    EXPECT_EQ(S("abcabc").Find("bc", 2), 4);
    EXPECT_EQ(S("abc").Find(""), 0);
    EXPECT_EQ(S("abc").Find("", 2), 2);
    EXPECT_EQ(S("abc").Find("c", 4), -1);
    EXPECT_EQ(S("abc").Find("abcd"), -1);
}

TEST(CStringFind, FindOneOfMatchesWholeCharacters)
{
    const CString s = S(kHyo + kKei + "=1");
    EXPECT_EQ(s.FindOneOf("\\v="), 4);
    EXPECT_EQ(s.FindOneOf(kKei.c_str()), 2);
    EXPECT_EQ(s.FindOneOf(("x" + kAtai + "1").c_str()), 5);
    EXPECT_EQ(s.FindOneOf(""), -1);
    // A set holding only a trail byte value does not match inside 表.
    EXPECT_EQ(S(kHyo).FindOneOf("\\"), -1);
}

TEST(CStringSplit, MidLeftRightAreByteBasedAndClamp)
{
    const CString s = S("abcdef");
    EXPECT_EQ(s.Mid(2).str(), "cdef");
    EXPECT_EQ(s.Mid(2, 2).str(), "cd");
    EXPECT_EQ(s.Mid(-3, 2).str(), "ab");
    EXPECT_EQ(s.Mid(4, 100).str(), "ef");
    EXPECT_EQ(s.Mid(6).str(), "");
    EXPECT_EQ(s.Mid(100, 2).str(), "");
    EXPECT_EQ(s.Mid(1, -1).str(), "");
    EXPECT_EQ(s.Left(2).str(), "ab");
    EXPECT_EQ(s.Left(-1).str(), "");
    EXPECT_EQ(s.Left(100).str(), "abcdef");
    EXPECT_EQ(s.Right(2).str(), "ef");
    EXPECT_EQ(s.Right(-2).str(), "");
    EXPECT_EQ(s.Right(100).str(), "abcdef");
    EXPECT_EQ(S(kHyo + kKei).Left(2).str(), kHyo);
}

TEST(CStringSplit, SplittingAPathAtTheLastSeparator)
{
    // How the system cuts a folder from a file name: with 表 and ソ (trail "\") in it.
    const CString path = S("C:\\" + kHyo + "\\" + kSo + ".MTD");
    const int pos = path.ReverseFind('\\');
    EXPECT_EQ(path.Left(pos + 1).str(), "C:\\" + kHyo + "\\");
    EXPECT_EQ(path.Mid(pos + 1).str(), kSo + ".MTD");
}

TEST(CStringSplit, SpanIncludingAndExcludingWalkCharacters)
{
    EXPECT_EQ(S(kHyo + "\\abc").SpanExcluding("\\").str(), kHyo);
    EXPECT_EQ(S("123" + kKei).SpanIncluding("0123456789").str(), "123");
    EXPECT_EQ(S(kKei + kKei + "x").SpanIncluding(kKei.c_str()).str(), kKei + kKei);
    // A set with "\" and "v" does not take 表 or 計 apart.
    EXPECT_EQ(S(kHyo).SpanIncluding("\\\x95").str(), "");
    EXPECT_EQ(S(kKei + "v").SpanExcluding("v").str(), kKei);
    EXPECT_EQ(S("abc").SpanExcluding("").str(), "abc");
}

TEST(CStringEdit, ReplaceCharacterLeavesTrailBytes)
{
    CString s = S("a\\" + kHyo + "\\" + kSo);
    EXPECT_EQ(s.Replace('\\', '/'), 2);
    EXPECT_EQ(s.str(), "a/" + kHyo + "/" + kSo);
    CString t = S(kKei + "v");
    EXPECT_EQ(t.Replace('v', 'w'), 1);
    EXPECT_EQ(t.str(), kKei + "w");
    EXPECT_EQ(t.Replace('w', 'w'), 0);
}

TEST(CStringEdit, ReplaceTextMatchesOnlyWholeCharacters)
{
    CString s = S(kHyo + "\\" + kKei + "v");
    EXPECT_EQ(s.Replace("\\", "\\\\"), 1);
    EXPECT_EQ(s.str(), kHyo + "\\\\" + kKei + "v");
    EXPECT_EQ(s.Replace("v", ""), 1);
    EXPECT_EQ(s.str(), kHyo + "\\\\" + kKei);
    CString u = S("m2 m2 m3");
    EXPECT_EQ(u.Replace("m2", "m3"), 2);
    EXPECT_EQ(u.str(), "m3 m3 m3");
    EXPECT_EQ(u.Replace("", "x"), 0);
    // Replacement text containing the searched text is not searched again.
    CString v = S("aa");
    EXPECT_EQ(v.Replace("a", "aa"), 2);
    EXPECT_EQ(v.str(), "aaaa");
}

TEST(CStringEdit, RemoveLeavesTrailBytes)
{
    CString s = S("\\" + kHyo + "\\" + kKei + "v");
    EXPECT_EQ(s.Remove('\\'), 2);
    EXPECT_EQ(s.str(), kHyo + kKei + "v");
    EXPECT_EQ(s.Remove('v'), 1);
    EXPECT_EQ(s.str(), kHyo + kKei);
}

TEST(CStringEdit, MakeReverseKeepsCharactersWhole)
{
    CString s = S("a" + kHyo + "b" + kKei);
    s.MakeReverse();
    EXPECT_EQ(s.str(), kKei + "b" + kHyo + "a");
}

TEST(CStringEdit, InsertAndDeleteClamp)
{
    CString s = S("ace");
    EXPECT_EQ(s.Insert(1, 'b'), 4);
    EXPECT_EQ(s.Insert(3, "d"), 5);
    EXPECT_EQ(s.str(), "abcde");
    EXPECT_EQ(s.Insert(99, "f"), 6);
    EXPECT_EQ(s.Insert(-4, "_"), 7);
    EXPECT_EQ(s.str(), "_abcdef");
    EXPECT_EQ(s.Delete(0), 6);
    EXPECT_EQ(s.Delete(4, 99), 4);
    EXPECT_EQ(s.Delete(99, 1), 4);
    EXPECT_EQ(s.Delete(1, -1), 4);
    EXPECT_EQ(s.str(), "abcd");
}

TEST(CStringTrim, TrimKeepsATrailingDoubleByteCharacter)
{
    CString s = S("C:\\" + kHyo + "\\");
    s.TrimRight('\\');
    EXPECT_EQ(s.str(), "C:\\" + kHyo);
    s.TrimRight('\\');
    EXPECT_EQ(s.str(), "C:\\" + kHyo);
    CString t = S("xx" + kKei + "vv");
    t.TrimRight("v");
    EXPECT_EQ(t.str(), "xx" + kKei);
    t.TrimLeft('x');
    EXPECT_EQ(t.str(), kKei);
}

TEST(CStringTrim, WhiteSpaceAndTargetSets)
{
    CString s = S(" \t" + kHyo + " a \r\n");
    s.Trim();
    EXPECT_EQ(s.str(), kHyo + " a");
    const std::string wideBlank = "\x81\x40";
    CString t = S(wideBlank + " x " + wideBlank);
    t.Trim();
    EXPECT_EQ(t.str(), wideBlank + " x " + wideBlank); // a full-width blank is no white space
    t.Trim((wideBlank + " ").c_str());
    EXPECT_EQ(t.str(), "x");
    CString u = S("   ");
    u.TrimRight();
    EXPECT_TRUE(u.IsEmpty());
    CString v = S("abc");
    v.Trim("");
    EXPECT_EQ(v.str(), "abc");
}

TEST(CStringFormat, PrintfConversions)
{
    CString s;
    s.Format("%d", -42);
    EXPECT_EQ(s.str(), "-42");
    s.Format("%i|%u|%x|%X", 7, 4000000000u, 255, 255);
    EXPECT_EQ(s.str(), "7|4000000000|ff|FF");
    s.Format("%02d:%02d", 5, 123);
    EXPECT_EQ(s.str(), "05:123");
    s.Format("%d%%", 15);
    EXPECT_EQ(s.str(), "15%");
    s.Format("%.10f", 1.0 / 3.0);
    EXPECT_EQ(s.str(), "0.3333333333");
    s.Format("%f", 2.5);
    EXPECT_EQ(s.str(), "2.500000");
    s.Format("%c%c", 'm', '2');
    EXPECT_EQ(s.str(), "m2");
    s.Format("%s=%d", "計"_sj.c_str(), 3);
    EXPECT_EQ(s.str(), kKei + "=3");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringFormat, LongOutputAndOwnTextAsArgument)
{
    CString s;
    const std::string big(5000, 'x');
    s.Format("[%s]", big.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    EXPECT_EQ(s.str().front(), '[');
    EXPECT_EQ(s.str().back(), ']');
    CString t = S("ab");
    t.Format("%s-%s", t.c_str(), t.c_str());
    EXPECT_EQ(t.str(), "ab-ab");
    t.AppendFormat("/%d", 9);
    EXPECT_EQ(t.str(), "ab-ab/9");
}

TEST(CStringFormat, DecimalPointIsAlwaysAPeriod)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ja_JP.UTF-8"};
    bool commaLocale = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    CString s;
    s.Format("%.2f", 1234.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(s.str(), "1234.50");
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer)
{
    CString s = S("abc");
    char* p = s.GetBuffer(10);
    std::strcpy(p, "hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s.str(), "hello");
    EXPECT_EQ(s.GetLength(), 5);
    p = s.GetBuffer(0);
    p[0] = 'j';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s.str(), "jel");
    p = s.GetBufferSetLength(2);
    EXPECT_EQ(s.GetLength(), 2);
    p[1] = 'o';
    s.ReleaseBuffer(99); // a length past the buffer keeps what is there
    EXPECT_EQ(s.str(), "jo");
}

TEST(CStringBasics, ConstructionAndConcatenation)
{
    EXPECT_EQ(CString(static_cast<const char*>(nullptr)).GetLength(), 0);
    EXPECT_EQ(CString('-', 3).str(), "---");
    EXPECT_EQ(CString('-', -3).str(), "");
    EXPECT_EQ(CString("abcdef", 3).str(), "abc");
    CString s = "m"_sj + "3" + '!';
    EXPECT_EQ(s.str(), "m3!");
    s += "計"_sj;
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s.ToUtf8(), "m3!計");
}

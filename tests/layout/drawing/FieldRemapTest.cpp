// Pieces of a text as the text-property dialogs cut and join them, and the rewriting of
// field tokens after a change of form, read the way the item-mapping dialog writes its
// answer: one entry per item of the new form, naming the old item chosen for it.
#include "layout/drawing/FieldRemap.h"
#include "layout/drawing/TextPieces.h"

#include <gtest/gtest.h>

#include <random>

namespace {

CString sj(const char* utf8)
{
    return CString::FromUtf8(utf8);
}

std::vector<CString> Names(std::initializer_list<const char*> names)
{
    std::vector<CString> out;
    for (const char* n : names)
        out.push_back(sj(n));
    return out;
}

CString Remap(const char* text, const CFieldRemap& remap)
{
    return RemapFieldTokens(sj(text), remap);
}

} // namespace

TEST(TextPieces, JoiningThePiecesGivesTheTextBackWhateverItHolds)
{
    std::mt19937 rng(2207);
    // Bytes that matter: "$", "(", ")", ",", "^", digits, a double-byte character whose
    // second byte is "\" (0x95 0x5C) and plain letters.
    const std::vector<std::string> atoms = {"$", "(", ")", ",", "^", "1", "\x95\x5C", "a", "\x8C\xA9", ")$"};
    for (int n = 0; n < 2000; ++n) {
        std::string text;
        const int nLen = static_cast<int>(rng() % 12);
        for (int i = 0; i < nLen; ++i)
            text += atoms[rng() % atoms.size()];
        CString joined;
        for (const CString& piece : TextPieces::Split(CString(text))) {
            EXPECT_FALSE(piece.IsEmpty());
            joined += piece;
        }
        EXPECT_EQ(joined.str(), text);
    }
    EXPECT_EQ(TextPieces::Split(sj("abc$")), (std::vector<CString>{"abc", "$"}));
    EXPECT_TRUE(TextPieces::Split("").empty());
}

TEST(TextPieces, RowsAndNumbersOfFurtherTargets)
{
    const CString est = sj("$見積(");
    EXPECT_EQ(TextPieces::ForTarget(sj("$見積(1,金額,7)$"), 2, est), sj("$見積(1,金額,9)$"));
    EXPECT_EQ(TextPieces::ForTarget(sj("$番号(4)$"), 1, est), sj("$番号(5)$"));
    EXPECT_EQ(TextPieces::ForTarget(sj("$見積(1,金額,x)$"), 3, est), sj("$見積(1,金額,3)$"));
    // The number after the last comma counts, whatever the field holds before it.
    EXPECT_EQ(TextPieces::ForTarget(sj("$見積(1,7)$"), 1, est), sj("$見積(1,8)$"));
    // Not well formed, another family, or a field without a comma: unchanged.
    for (const char* p : {"$見積(1,金額,7", "$部材(1,金額,7)$", "$見積(7)$", "$情報(a)$", "plain"})
        EXPECT_EQ(TextPieces::ForTarget(sj(p), 1, est), sj(p)) << p;
}

TEST(TextPieces, OccurrencesAndInput)
{
    const std::vector<CString> names = Names({"金額", "数量", "金額"});
    EXPECT_EQ(TextPieces::OccurrenceOf(names, 2), 1);
    EXPECT_EQ(TextPieces::OccurrenceOf(names, 0), 0);
    EXPECT_EQ(TextPieces::FindOccurrence(names, sj("金額^1")), 2);
    EXPECT_EQ(TextPieces::FindOccurrence(names, sj("金額")), 0);
    EXPECT_EQ(TextPieces::FindOccurrence(names, sj("金額^2")), -1);
    EXPECT_EQ(TextPieces::ItemWithOccurrence(sj("金額"), 1), sj("金額^1"));
    EXPECT_EQ(TextPieces::ItemWithOccurrence(sj("金額"), 0), sj("金額"));
    CString number;
    for (const char* ok : {"1", " 12 ", "99999999"}) {
        EXPECT_TRUE(TextPieces::ReadFieldNumber(ok, number)) << ok;
        EXPECT_EQ(CString(ok).Trim(), number) << ok;
    }
    // Typed as any number is: full-width digits and separators give the token's digits.
    EXPECT_TRUE(TextPieces::ReadFieldNumber(sj("３"), number));
    EXPECT_EQ("3", number.str());
    EXPECT_TRUE(TextPieces::ReadFieldNumber(sj("１，２００"), number));
    EXPECT_EQ("1200", number.str());
    for (const char* bad : {"", "0", "-1", "1,2", ")$", "1$", "123456789", "x", "1.5", "1e3"})
        EXPECT_FALSE(TextPieces::ReadFieldNumber(bad, number)) << bad;
    EXPECT_TRUE(TextPieces::IsUsableItemName(sj("単価(円)"), true));
    EXPECT_FALSE(TextPieces::IsUsableItemName("a,b", true));
    EXPECT_TRUE(TextPieces::IsUsableItemName("a,b", false));
    EXPECT_FALSE(TextPieces::IsUsableItemName("a$", false));
    EXPECT_FALSE(TextPieces::IsUsableItemName("a^1", false));
    // "^" as the second byte of a double-byte character is no suffix mark.
    EXPECT_TRUE(TextPieces::IsUsableItemName(CString("\x83\x5E"), true));
}

TEST(FieldRemap, TokensFollowTheItemTheUserMappedToThemNotItsInverse)
{
    // Old items a, b, c; new items x, y, z. The user says: x comes from c, y from a, z from
    // b. Read per old item instead, a would go to z: this mapping is not its own inverse.
    CFieldRemap remap;
    remap.oldNames = Names({"a", "b", "c"});
    remap.newNames = Names({"x", "y", "z"});
    remap.sourceOfNew = {2, 0, 1};
    EXPECT_EQ(Remap("$見積(1,a,3)$", remap), sj("$見積(1,y,3)$"));
    EXPECT_EQ(Remap("$見積(1,b,3)$", remap), sj("$見積(1,z,3)$"));
    EXPECT_EQ(Remap("$見積(2,c,9)$", remap), sj("$見積(2,x,9)$"));
    // Text around tokens, other families and unclosed tokens stay byte for byte.
    EXPECT_EQ(Remap("合計 $見積(1,a,2)$ 円 $情報(a)$ $日付()$ $見積(1,a", remap),
              sj("合計 $見積(1,y,2)$ 円 $情報(a)$ $日付()$ $見積(1,a"));
    EXPECT_EQ(Remap("no tokens", remap), sj("no tokens"));
}

TEST(FieldRemap, ItemsWithoutCounterpartLoseTheirTokens)
{
    // Replaced form 名称, 数量, 単価; form in use 品名, 単価, 金額: 品名 from 名称, 単価 from
    // 単価, 金額 from nothing.
    CFieldRemap remap;
    remap.oldNames = Names({"名称", "数量", "単価"});
    remap.newNames = Names({"品名", "単価", "金額"});
    remap.sourceOfNew = {0, 2, -1};
    EXPECT_EQ(Remap("$見積(1,名称,3)$", remap), sj("$見積(1,品名,3)$"));
    EXPECT_EQ(Remap("$見積(1,単価,1)$", remap), sj("$見積(1,単価,1)$"));
    EXPECT_EQ(Remap("合計 $見積(1,数量,2)$ 円", remap), sj("合計  円"));
    EXPECT_EQ(Remap("$見積(1,無い,2)$x", remap), sj("x"));
    // A name the replaced form holds twice: the first decides.
    remap.oldNames = Names({"名称", "名称", "単価"});
    remap.sourceOfNew = {1, 0, 2};
    EXPECT_EQ(Remap("$見積(1,名称,1)$", remap), sj("$見積(1,単価,1)$"));
    EXPECT_EQ(Remap("$見積(1,名称^1,1)$", remap), sj("$見積(1,品名,1)$"));
}

TEST(FieldRemap, OccurrenceSuffixesKeepTheirMeaning)
{
    CFieldRemap remap;
    remap.oldNames = Names({"金額", "数量", "金額"});
    remap.newNames = Names({"金額", "金額", "数量"});
    remap.sourceOfNew = {2, 0, 1};
    // The old first 金額 is now the new second one, which needs "^1"; the old second one
    // is now the first and loses it.
    EXPECT_EQ(Remap("$見積(1,金額,1)$", remap), sj("$見積(1,金額^1,1)$"));
    EXPECT_EQ(Remap("$見積(1,金額^1,1)$", remap), sj("$見積(1,金額,1)$"));
    EXPECT_EQ(Remap("$見積(1,数量,1)$", remap), sj("$見積(1,数量,1)$"));
}

TEST(FieldRemap, SmallerNewFormsShortMappingsAndInformationNames)
{
    // The new form has two items; the old item 2 is mapped by new item 0 and must stay
    // although 2 is not below the new form's count.
    CFieldRemap remap;
    remap.oldNames = Names({"a", "b", "c"});
    remap.newNames = Names({"x", "y"});
    remap.sourceOfNew = {2, 0};
    EXPECT_EQ(Remap("$部材(1,c,1)$", remap), sj("$部材(1,c,1)$")); // not the estimate family
    remap.family = CFieldRemap::familyParts;
    EXPECT_EQ(Remap("$部材(1,c,1)$", remap), sj("$部材(1,x,1)$"));
    // A mapping shorter than the form: the items it does not reach have no source.
    remap.sourceOfNew = {1};
    EXPECT_EQ(Remap("$部材(1,b,1)$|$部材(1,a,1)$", remap), sj("$部材(1,x,1)$|"));
    remap.sourceOfNew.clear();
    EXPECT_EQ(Remap("$部材(1,b,1)$", remap), CString());
    // Information tokens: the item runs up to ")$", so a name with ")" survives.
    CFieldRemap info;
    info.family = CFieldRemap::familyInformation;
    info.oldNames = Names({"工期(日)", "工事名"});
    info.newNames = Names({"件名", "期間(日)"});
    info.sourceOfNew = {1, 0};
    EXPECT_EQ(Remap("$情報(工期(日))$ $情報(工事名)$ $見積(1,工事名,1)$", info),
              sj("$情報(期間(日))$ $情報(件名)$ $見積(1,工事名,1)$"));
}

// The information sheet's value rules without a window: how values read, round, show and
// take their prefixes off, and how the computed and amount items follow their sources and
// the estimate's amounts.
#include "tests/engine/estimate/EstimateEngineTestSupport.h"
#include "tests/engine/estimate/InformationFormTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using InformationValues::Values;

std::string U(const CString& text)
{
    return text.ToUtf8();
}

} // namespace

TEST(InformationValueRules, NumbersShowRoundedFormattedAndPrefixed)
{
    const CTestInformationForm form(SheetItems());
    // Text items stay as typed, whatever they hold.
    EXPECT_EQ("山田建設", U(InformationValues::DisplayText(form, 0, "山田建設"_sj, true)));
    EXPECT_EQ("1000", U(InformationValues::DisplayText(form, 0, "1000", true)));
    // E "2": a yen mark before the number shown in the grid and in the editor; the editor's
    // number has no separators.
    EXPECT_EQ("\\1,000", InformationValues::DisplayText(form, 2, "1000", true).str());
    EXPECT_EQ("1,000", InformationValues::DisplayText(form, 2, "1000", false).str());
    EXPECT_EQ("\\1000", InformationValues::EditText(form, 2, "1000").str());
    // D(-1) cuts the decimals; F(-3) rounds half up at the third decimal; the picture's two
    // decimals then print.
    EXPECT_EQ("1,234", InformationValues::DisplayText(form, 2, "1234.9", false).str());
    EXPECT_EQ("12.35", InformationValues::DisplayText(form, 1, "12.345", false).str());
    // E "3" puts "***" in front.
    EXPECT_EQ("***2,500", InformationValues::DisplayText(form, 3, "2500", true).str());
    // A "数値" item holding a word shows it; an amount item reads a word as 0.
    EXPECT_EQ("未定", U(InformationValues::DisplayText(form, 1, "未定"_sj, true)));
    EXPECT_EQ("\\0", InformationValues::DisplayText(form, 4, "未定"_sj, true).str());
    // Negative values keep their sign.
    EXPECT_EQ("-1,200", InformationValues::DisplayText(form, 2, "-1200.5", false).str());
}

TEST(InformationValueRules, ANumberReadsAsItIsWrittenAndNothingElseReadsAsANumber)
{
    // Written as estimators write amounts: full-width, separators, a yen mark before, "円"
    // after, a sign before or after the mark, blanks around.
    const struct {
        const char* typed;
        const char* plain;
    } numbers[] = {
        {"10,000円", "10000"},
        {"￥１０，０００", "10000"},
        {"\\10,000", "10000"},
        {"¥10,000円", "10000"},
        {"-¥5,000", "-5000"},
        {"¥-5,000", "-5000"},
        {"－５，０００円", "-5000"},
        {"　12.50 ", "12.50"},
        {"+3", "3"},
        {"１２３", "123"},
        {"1,0000", "10000"},
        {"▲1,200", "-1200"},
        {"0.5円", "0.5"},
        {"10,000円 　", "10000"},
        {"10 000", "10000"}, // blanks do not count, as in every number cell
    };
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.typed);
        CString plain;
        ASSERT_TRUE(InformationValues::ReadTypedNumber(CString::FromUtf8(n.typed), plain));
        EXPECT_EQ(n.plain, plain.str());
        EXPECT_DOUBLE_EQ(std::strtod(n.plain, nullptr),
                         InformationValues::ReadValue(CString::FromUtf8(n.typed)));
    }
    for (const char* word : {"一万", "10,000円引", "1e5", "1,,000", ",100", "100,", "1.000,5", "1,1,250",
                             "円", "", "--5", "¥¥5", "5-", "1.2.3", "１２ａ", "約10,000"}) {
        SCOPED_TRACE(word);
        CString plain = "unchanged";
        EXPECT_FALSE(InformationValues::ReadTypedNumber(CString::FromUtf8(word), plain));
        EXPECT_EQ("unchanged", plain.str());
        EXPECT_EQ(0.0, InformationValues::ReadValue(CString::FromUtf8(word)));
    }
    // A value an older file holds as typed is shown as the number it reads as.
    const CTestInformationForm form(SheetItems());
    EXPECT_EQ("\\10,000", InformationValues::DisplayText(form, 2, "10,000円"_sj, true).str());
}

TEST(InformationValueRules, RoundingWorksOnTheSignedValue)
{
    const CTestInformationForm form({
        {"切上", "数値", "10", "###,###", "", "U(-1)", "", ""},    // A 0
        {"四捨五入", "数値", "10", "###.#", "", "F(-2)", "", ""},  // B 1
        {"切捨", "数値", "10", "###,###", "", "D(-1)", "", ""},    // C 2
        {"半分", "計算", "10", "###,###", "A/2", "U(-1)", "", ""}, // D 3
    });
    struct Case {
        int nItem;
        const char* value;
        const char* shown;
    } cases[] = {
        {0, "-1.5", "-1"},    {0, "1.5", "2"},    {0, "-2", "-2"},      {1, "-1.25", "-1.2"},
        {1, "-1.26", "-1.2"}, {1, "1.25", "1.3"}, {1, "-1.24", "-1.2"}, {2, "-1.9", "-1"},
        {1, "-1.29", "-1.2"}, {1, "1.26", "1.3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.shown, InformationValues::DisplayText(form, c.nItem, c.value, false).str())
            << c.nItem << " " << c.value;
    // A computed item rounds its references and its own result the same way: -2.5 is taken
    // as -2, halved to -1 and shown as -1.
    Values values;
    values[0] = "-2.5";
    InformationValues::Recalculate(form, values);
    EXPECT_EQ("-1", InformationValues::DisplayText(form, 3, values[3], false).str());
    values[0] = "-5";
    InformationValues::Recalculate(form, values);
    EXPECT_EQ("-2", InformationValues::DisplayText(form, 3, values[3], false).str());
}

TEST(InformationValueRules, PrefixesAreTakenOffWhatWasTyped)
{
    const CTestInformationForm form(SheetItems());
    EXPECT_EQ("2000", InformationValues::StripPrefix(form, 2, "\\2000").str());
    EXPECT_EQ("2000", InformationValues::StripPrefix(form, 2, "\\\\2000").str());
    EXPECT_EQ("2000", InformationValues::StripPrefix(form, 2, "2000").str());
    EXPECT_EQ("300", InformationValues::StripPrefix(form, 3, "***300").str());
    // Items without a prefix, and text items, keep every character.
    EXPECT_EQ("\\5", InformationValues::StripPrefix(form, 1, "\\5").str());
    EXPECT_EQ("a\\b", InformationValues::StripPrefix(form, 0, "a\\b").str());
    // The second byte of a double-byte character is not a yen mark ("ソ" is 0x83 0x5C).
    const CString so = "ソ1"_sj;
    ASSERT_EQ(0x5C, static_cast<unsigned char>(so[1]));
    EXPECT_EQ(so.str(), InformationValues::StripPrefix(form, 2, so).str());
}

TEST(InformationValueRules, ComputedAndAmountItemsFollowTheirSources)
{
    const CTestInformationForm form(SheetItems());
    Values values;
    values[1] = "2.5";
    values[2] = "1000.7"; // D(-1): 1000 when referenced
    InformationValues::FillAmounts(form, values, "110000.000000", "10000.000000", "100000.000000");
    InformationValues::Recalculate(form, values);
    EXPECT_EQ("110000.000000", values[4].str());
    EXPECT_EQ("10000.000000", values[5].str());
    EXPECT_EQ("100000.000000", values[6].str());
    EXPECT_DOUBLE_EQ(2500.0, atof(values[3].c_str()));
    // A two-letter reference past the form's items reads 0.
    EXPECT_DOUBLE_EQ(1.0, atof(values[7].c_str()));
    // Changing a source changes the computed item.
    values[1] = "4";
    InformationValues::Recalculate(form, values);
    EXPECT_DOUBLE_EQ(4000.0, atof(values[3].c_str()));
}

// The amount items take the estimate's amounts: the total with its tax row in, the tax (the
// first free row's amount) and the total less the tax; the computed items follow them.
TEST(InformationValueRules, AmountItemsTakeTheEstimatesAmounts)
{
    CTestEstimate e({{"文字", "", "", "", "6", ""},
                     {"数値", "#,###", "", "", "3", ""},
                     {"数値", "###,###", "", "", "", ""},
                     {"計 A", "###,###", "B*C", "D(-1)", "", "2"}});
    e.sheet.tax.nRate = 10;
    e.sheet.tax.eRounding = ETaxRounding::down;
    e.AddRow(kindDetail, {"足場", "3", "1,000"});
    e.AddRow(kindDetail, {"型枠", "2", "250"});
    e.AddRow(kindGrandTotal, {});
    e.AddRow(kindFree, {"消費税"});
    e.engine.RecalcAll();
    ASSERT_EQ(350.0, std::atof(e.Cell(3, 3).c_str()));

    const CTestInformationForm form({
        {"税込", "税込見積", "14", "###,###", "", "", "", ""},
        {"税", "消費税", "14", "###,###", "", "", "", ""},
        {"税抜", "税抜見積", "14", "###,###", "", "", "", ""},
        {"差", "計算", "10", "###,###", "A-B", "", "", ""},
    });
    Values values;
    InformationValues::WorkOutForOutput(form, values, e.engine);
    EXPECT_DOUBLE_EQ(3500.0 + 350.0, std::atof(values[0].c_str()));
    EXPECT_EQ(e.Cell(3, 3), values[1].str());
    EXPECT_DOUBLE_EQ(3500.0, std::atof(values[2].c_str()));
    EXPECT_DOUBLE_EQ(3500.0, std::atof(values[3].c_str()));

    // Without an amount column there is no tax and nothing to add up.
    CTestEstimate plain({{"文字", "", "", "", "6", ""}});
    plain.AddRow(kindFree, {"消費税"});
    const InformationValues::CAmounts amounts = InformationValues::WorkOutAmounts(plain.engine);
    EXPECT_EQ("", amounts.strTax.str());
    EXPECT_EQ(0.0, std::atof(amounts.strTotal.c_str()));
}

#include "engine/estimate/CNumberRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

double Round(double value, const char* spec)
{
    return CNumberRules::RoundBySpec(value, spec);
}
std::string Picture(double value, const char* picture, BOOL separators = TRUE)
{
    return CNumberRules::FormatByPicture(value, picture, separators).str();
}
std::string Formula(const char* text)
{
    return CNumberRules::EvaluateFormula(text).str();
}
std::string Normal(const char* text)
{
    return CNumberRules::NormalizeNumber(text).str();
}

} // namespace

// ---- rounding rules -------------------------------------------------------------

TEST(RoundBySpecTest, WorkedExamplesOn1234_5)
{
    EXPECT_DOUBLE_EQ(1235, Round(1234.5, "U(-1)"));
    EXPECT_DOUBLE_EQ(1234, Round(1234.5, "D(-1)"));
    EXPECT_DOUBLE_EQ(1235, Round(1234.5, "F(-1)"));
    EXPECT_DOUBLE_EQ(1240, Round(1234.5, "U(1)"));
    EXPECT_DOUBLE_EQ(1200, Round(1234.5, "D(2)"));
    EXPECT_DOUBLE_EQ(1200, Round(1234.5, "F(2)"));
    EXPECT_DOUBLE_EQ(2000, Round(1234.5, "U(3)"));
    EXPECT_DOUBLE_EQ(0, Round(1234.5, "D(4)"));
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "F(-2)"));
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "U(0)"));
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "U"));
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "X(1)"));
    EXPECT_DOUBLE_EQ(1235, Round(1234.5, "u(-1)"));
}

TEST(RoundBySpecTest, DecimalPlacesAndNegativeValuesRoundTheMagnitude)
{
    EXPECT_DOUBLE_EQ(1234.6, Round(1234.56, "U(-2)"));
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.56, "D(-2)"));
    EXPECT_DOUBLE_EQ(1234.6, Round(1234.56, "F(-2)"));
    EXPECT_DOUBLE_EQ(-1235, Round(-1234.5, "U(-1)"));
    EXPECT_DOUBLE_EQ(-1234, Round(-1234.5, "D(-1)"));
    EXPECT_DOUBLE_EQ(3, Round(2.5, "F(-1)"));
    EXPECT_DOUBLE_EQ(-3, Round(-2.5, "F(-1)"));
}

TEST(RoundBySpecTest, ExactMultiplesStayAndTheNextMultipleIsTakenOtherwise)
{
    EXPECT_DOUBLE_EQ(1230, Round(1230, "U(1)"));
    EXPECT_DOUBLE_EQ(1240, Round(1235, "U(1)"));
    EXPECT_DOUBLE_EQ(1234, Round(1234.0, "U(-1)"));
    EXPECT_DOUBLE_EQ(1, Round(0.0000001, "U(-1)"));
    EXPECT_DOUBLE_EQ(10000, Round(9999.01, "U(-1)")); // the carry runs through every nine
}

TEST(RoundBySpecTest, ValuesWithinTheZeroToleranceAreNeverRounded)
{
    for (const char* spec : {"U(-1)", "D(-1)", "F(-1)", "U(3)", "D(-5)"}) {
        EXPECT_DOUBLE_EQ(0.00000000005, Round(0.00000000005, spec)) << spec;
        EXPECT_DOUBLE_EQ(-0.00000000005, Round(-0.00000000005, spec)) << spec;
    }
    EXPECT_DOUBLE_EQ(1, Round(0.0000000002, "U(-1)"));
}

TEST(RoundBySpecTest, LetterChoiceAndTheNumberBetweenParentheses)
{
    EXPECT_DOUBLE_EQ(1240, Round(1234.5, "DU(1)"));  // U wherever it stands
    EXPECT_DOUBLE_EQ(1230, Round(1234.5, "FD(1)"));  // D before F
    EXPECT_DOUBLE_EQ(1235, Round(1234.5, "U( -1)")); // blanks and a sign
    EXPECT_DOUBLE_EQ(1240, Round(1234.5, "U(+1)"));
    EXPECT_DOUBLE_EQ(1240, Round(1234.5, "U(1x)")); // reading stops at the x
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "U(1")); // no ")"
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "U1)")); // no "("
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, "U()")); // nothing read: 0
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, ""));
}

TEST(RoundBySpecTest, TrailBytesOfDoubleByteCharactersAreNoLetters)
{
    // 0x83 0x64 and 0x83 0x75 are katakana whose second bytes are "d" and "u".
    const std::string spec = std::string("\x83\x64\x83\x75") + "(1)";
    EXPECT_DOUBLE_EQ(1234.5, Round(1234.5, spec.c_str()));
}

TEST(RoundBySpecTest, HalvesAsWrittenRoundUpWithoutBinaryNoise)
{
    // 1.15 is 1.149999... in binary; as written it is a half and goes up.
    EXPECT_DOUBLE_EQ(1.2, Round(1.15, "F(-2)"));
    EXPECT_DOUBLE_EQ(3.5, Round(3 * 1.15, "F(-2)"));
    EXPECT_DOUBLE_EQ(1.01, Round(1.005, "F(-3)"));
    EXPECT_DOUBLE_EQ(0.3, Round(0.1 + 0.2, "U(-2)")); // 0.30000000000000004 is 0.3
}

TEST(RoundBySpecTest, CuttingDownNeverLosesAUnitOfAnExactValue)
{
    EXPECT_DOUBLE_EQ(3495.49, Round(3495.49, "D(-3)"));
    EXPECT_DOUBLE_EQ(12345678.91, Round(12345678.91, "D(-3)"));
    EXPECT_DOUBLE_EQ(0.2, Round(0.29999999999, "D(-2)"));
    EXPECT_DOUBLE_EQ(1234, Round(1234.999999, "D(-1)"));
    EXPECT_DOUBLE_EQ(4.35, Round(4.35, "D(-3)"));
}

TEST(SplitFractionTest, TheFractionThatRoundsUpAtTheTenthPlaceCarries)
{
    double integerPart = -1;
    EXPECT_DOUBLE_EQ(0.0, CNumberRules::SplitFraction(2.99999999995, integerPart));
    EXPECT_DOUBLE_EQ(3.0, integerPart);
    EXPECT_DOUBLE_EQ(0.25, CNumberRules::SplitFraction(1.25, integerPart));
    EXPECT_DOUBLE_EQ(1.0, integerPart);
}

// ---- number pictures ---------------------------------------------------------------------

TEST(FormatByPictureTest, WorkedExamples)
{
    EXPECT_EQ("1,234,568", Picture(1234567.891, "###,###"));
    EXPECT_EQ("1,234.50", Picture(1234.5, "#,###.##"));
    EXPECT_EQ("-1,234.5", Picture(-1234.5, "###,###.#"));
    EXPECT_EQ("5", Picture(5, "#,###"));
    EXPECT_EQ("0.25", Picture(0.25, ".##"));
    EXPECT_EQ("1235", Picture(1234.56, "###,###", FALSE));
    EXPECT_EQ("-0", Picture(-0.4, "###"));
}

TEST(FormatByPictureTest, GroupingRepeatsForLongNumbersAndShortNumbersGetNoLeadingSeparator)
{
    EXPECT_EQ("1,234,567,890,123", Picture(1234567890123.0, "#,###"));
    EXPECT_EQ("123", Picture(123, "###,###"));
    EXPECT_EQ("123,456", Picture(123456, "###,###"));
    EXPECT_EQ("0", Picture(0, "###,###"));
    EXPECT_EQ("0.00", Picture(0, "#,###.##"));
    EXPECT_EQ("1,234,567", Picture(1234567, ",###")) << "a picture that starts with its separator";
}

TEST(FormatByPictureTest, PicturesWithoutDecimalsOrSeparators)
{
    EXPECT_EQ("13", Picture(12.5, "")); // no picture: whole number
    EXPECT_EQ("1234.6", Picture(1234.56, "####.#"));
    EXPECT_EQ("1235", Picture(1234.5, "####.")); // nothing after the point
    EXPECT_EQ("1234.50", Picture(1234.5, "\\#.##"));
}

TEST(FormatByPictureTest, TiesAtTheLastPrintedDecimalGoAwayFromZeroAsWritten)
{
    EXPECT_EQ("2.68", Picture(2.675, "#.##"));
    EXPECT_EQ("-2.68", Picture(-2.675, "#.##"));
    EXPECT_EQ("3", Picture(2.5, "#"));
    EXPECT_EQ("1,000", Picture(999.5, "#,###"));
}

// ---- number texts and the normal form ----------------------------------------------------

TEST(NumberTextTest, NumberTestIgnoresBlanksOnly)
{
    EXPECT_TRUE(CNumberRules::IsNumberText(" 1,200 "));
    EXPECT_TRUE(CNumberRules::IsNumberText("-12.5"));
    // Signs and separators without a number, or where no number has them, are no number.
    for (const char* word : {"+-.,", "-", "12-3", "1,1,250.50", "1e3", "1abc56", "1,2", "1,000,0000"})
        EXPECT_FALSE(CNumberRules::IsNumberText(word)) << word;
    EXPECT_TRUE(CNumberRules::IsNumberText("-1,250,000.5"));
    EXPECT_TRUE(CNumberRules::IsNumberText("1,0000"));
    EXPECT_FALSE(CNumberRules::IsNumberText("12a"));
    EXPECT_FALSE(CNumberRules::IsNumberText("   "));
    EXPECT_FALSE(CNumberRules::IsNumberText(""));
    EXPECT_FALSE(CNumberRules::IsNumberText("1\t2"));
    EXPECT_FALSE(CNumberRules::IsNumberText("１２"));
}

// Every full-width digit an estimator types reads as its own value, the last of the ten as
// well as the first.
TEST(NumberTextTest, EveryFullWidthDigitReadsAsItsValue)
{
    const char* const digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    for (int d = 0; d < 10; ++d) {
        const CString strTyped = CString::FromUtf8(std::string("１") + digits[d]);
        EXPECT_EQ(std::to_string(10 + d) + ".000000", CNumberRules::NormalizeNumber(strTyped).str()) << d;
    }
}

TEST(NumberTextTest, NormalFormIsSixDecimalsWithoutSeparators)
{
    EXPECT_EQ("1234.500000", Normal("1,234.5"));
    EXPECT_EQ("1200.000000", Normal(" 1 200 "));
    EXPECT_EQ("-3.000000", Normal("-3"));
    EXPECT_EQ("0.000000", Normal("12-3")) << "no number reads as nothing";
    EXPECT_EQ("0.000000", Normal("-0"));
    EXPECT_EQ("0.000000", Normal("-"));
    EXPECT_EQ("0.000001", Normal("0.0000005"));
    EXPECT_EQ("0.500000", Normal(".5"));
    // Digits beyond what a double holds are kept as written.
    EXPECT_EQ("123456789012345678.123000", Normal("123456789012345678.123"));
}

TEST(NumberTextTest, FormatNormalOfDoublesDropsBinaryNoise)
{
    EXPECT_EQ("0.300000", CNumberRules::FormatNormal(0.1 + 0.2).str());
    EXPECT_EQ("-8.000000", CNumberRules::FormatNormal(-8.0).str());
    EXPECT_EQ("0.000000", CNumberRules::FormatNormal(-0.00000000005).str());
    EXPECT_EQ("100000000000000000000.000000", CNumberRules::FormatNormal(1e20).str());
}

TEST(NumberTextTest, ReadingStopsAtTheFirstCharacterThatCannotContinueANumber)
{
    EXPECT_DOUBLE_EQ(1, CNumberRules::ReadNumber("1,500"));
    EXPECT_DOUBLE_EQ(-2.5, CNumberRules::ReadNumber("  -2.5)"));
    EXPECT_DOUBLE_EQ(0, CNumberRules::ReadNumber("abc"));
    EXPECT_DOUBLE_EQ(0, CNumberRules::ReadNumber("inf"));
    EXPECT_DOUBLE_EQ(0, CNumberRules::ReadNumber("0x10"));
    EXPECT_DOUBLE_EQ(12, CNumberRules::ReadNumber("12e3"));
    EXPECT_DOUBLE_EQ(std::strtod("\t\r\n 12", nullptr), CNumberRules::ReadNumber("\t\r\n 12"))
        << "blanks first";
}

// ---- formulas ----------------------------------------------------------------------------

TEST(EvaluateFormulaTest, WorkedExamples)
{
    EXPECT_EQ("4500.000000", Formula("3*1500"));
    EXPECT_EQ("8.000000", Formula("10-4/2"));
    EXPECT_EQ("", Formula("5/0"));
    EXPECT_EQ("1.000000", Formula("1+5/0"));
    EXPECT_EQ("-8.000000", Formula("-5-3"));
    EXPECT_EQ("9.000000", Formula("((1+2)*3)"));
    EXPECT_EQ("7.000000", Formula("(1+(2*3))"));
    EXPECT_EQ("8.000000", Formula("5.000000--3.000000"));
}

TEST(EvaluateFormulaTest, PrecedenceAndSignsAfterOperators)
{
    EXPECT_EQ("-15.000000", Formula("5*-3"));
    EXPECT_EQ("8.000000", Formula("5--3"));
    EXPECT_EQ("2.000000", Formula("5+-3"));
    EXPECT_EQ("14.000000", Formula("2+3*4"));
    EXPECT_EQ("20.000000", Formula("(2+3)*4"));
    EXPECT_EQ("2.000000", Formula("8/2/2"));
    EXPECT_EQ("1.000000", Formula("1/3*3"));
    EXPECT_EQ("2.000000", Formula("1,500*2")); // the operand reads as 1
}

TEST(EvaluateFormulaTest, NestedParenthesesCloseWhereTheyMatch)
{
    EXPECT_EQ("20.000000", Formula("2*((1+2)+(3+4))"));
    EXPECT_EQ("2.000000", Formula("(1-(2-3))"));
    EXPECT_EQ("3.000000", Formula("(1+2"));     // an unmatched "(" closes at the end
    EXPECT_EQ("9.000000", Formula("(1+2))*3")); // a stray ")" is passed over
}

TEST(EvaluateFormulaTest, ABlankBeforeAnOperatorDoesNotMakeItASign)
{
    EXPECT_EQ("-1.000000", Formula("2 - 3"));
    EXPECT_EQ("6.000000", Formula(" 2 * 3 "));
    EXPECT_EQ("5.000000", Formula("2 + 3"));
}

TEST(EvaluateFormulaTest, EmptyOperandsAndDroppedTerms)
{
    EXPECT_EQ("0.000000", Formula("*5")); // 1e-11 x 5
    EXPECT_EQ("5.000000", Formula("5+"));
    EXPECT_EQ("-3.000000", Formula("5/0-3"));
    EXPECT_EQ("0.000000", Formula("5/0*3"));
    EXPECT_EQ("", Formula("(5/0)"));
    EXPECT_EQ("", Formula("5/0.00000000001"));
    EXPECT_EQ("", Formula("5/-0.00000000001"));
    EXPECT_EQ("50000000000.000000", Formula("5/0.0000000001"));
}

TEST(EvaluateFormulaTest, IntermediateResultsKeepTheirPrecision)
{
    EXPECT_EQ("0.400000", Formula("0.0000004*1000000"));
    EXPECT_EQ("3.450000", Formula("1.15*3"));
}

TEST(EvaluateFormulaTest, TextsWithoutOperatorsComeBackUnchanged)
{
    EXPECT_EQ("abc", Formula("abc"));
    EXPECT_EQ("1,234", Formula("1,234"));
    EXPECT_EQ("-5", Formula("-5"));
    EXPECT_EQ("", Formula(""));
    EXPECT_EQ("5.000000", Formula("(5)"));
    EXPECT_EQ("0.000000", Formula("abc*2"));
}

namespace {

// The CDecimal way to a stored number: the value taken over with 15 digits, rounded to
// the normal form's six decimals, by the rounding rule and to the picture's decimals.
std::string DecimalWay(double value, const CNumberRules::CRoundSpec& spec, int decimals)
{
    CDecimal d = CDecimal::FromDouble(value);
    d.Round(-6, CDecimal::roundHalfUp);
    CNumberRules::RoundBySpec(d, spec);
    d.Round(-decimals, CDecimal::roundHalfUp);
    return CNumberRules::FormatNormal(d).str();
}

} // namespace

// The whole-number way gives the CDecimal way's text byte for byte, and the number it
// reports is what the text reads as: products of typed numbers (binary noise), exact
// halves at each place, ties at the sixteenth digit, negative values, tiny and huge ones.
TEST(FormatRoundedNormalTest, GivesTheTextOfTheDecimalWayForEverySpecAndPicture)
{
    std::vector<double> values = {0.0,
                                  1.0,
                                  -1.0,
                                  0.5,
                                  1.15 * 3,
                                  2.675,
                                  1.005 * 1000,
                                  0.0000005,
                                  0.00000149,
                                  1234.5,
                                  -1234.5,
                                  0.125,
                                  1e-6,
                                  9.9999999e-7,
                                  1e14 + 0.5,
                                  123456789012344.5,
                                  123456789012345.5,
                                  999999999999999.9,
                                  1e15,
                                  5e15,
                                  -7.0000005,
                                  12.3 * 1234.0,
                                  0.1 + 0.2,
                                  1.0 / 3.0,
                                  -2.0 / 3.0};
    unsigned state = 5;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    for (int i = 0; i < 3000; ++i) {
        // A quantity of up to four decimals times a price of up to two, as the rows make.
        const double quantity = (static_cast<double>(next(2000000)) - 500000) / std::pow(10.0, next(5));
        const double price = static_cast<double>(next(100000000)) / std::pow(10.0, next(3));
        values.push_back(quantity * price);
        values.push_back(quantity / (1 + next(97)));
    }
    const char* const specs[] = {"",      "F(-1)", "D(-1)", "U(-1)", "F(-3)", "D(-4)",
                                 "U(-7)", "F(1)",  "D(2)",  "U(3)",  "F(17)"};
    int compared = 0;
    for (const char* specText : specs) {
        const CNumberRules::CRoundSpec spec = CNumberRules::ParseRoundSpec(specText);
        for (int decimals : {0, 1, 2, 4, 6, 8}) {
            for (double value : values) {
                std::string text;
                double stored = 0.0;
                if (!CNumberRules::FormatRoundedNormal(value, spec, decimals, text, stored)) {
                    // Only values outside the whole-number range take the decimal way.
                    EXPECT_TRUE(std::fabs(value) >= 1e15 || std::fabs(value) < 1e-6 ||
                                std::string(specText) == "F(17)")
                        << value;
                    continue;
                }
                ++compared;
                ASSERT_EQ(text, DecimalWay(value, spec, decimals))
                    << value << " " << specText << " " << decimals;
                ASSERT_EQ(stored, CNumberRules::ReadNumber(text.c_str())) << text;
            }
        }
    }
    EXPECT_GT(compared, 300000);
}

// Plain number texts read as ReadNumber reads them (a correctly rounded decimal, as strtod
// reads it); anything else is no plain number.
TEST(ReadPlainNumberTest, ReadsPlainTextsAsStrtodAndRefusesOthers)
{
    const char* const plain[] = {"0",
                                 "7",
                                 "-0.500000",
                                 "123.450000",
                                 "+12",
                                 "3.",
                                 ".25",
                                 "-.125",
                                 "000120.0",
                                 "100",
                                 "0.000000",
                                 "1.005",
                                 "2.675000",
                                 "999999999999999.990000",
                                 "12345678901234567890.000000",
                                 "0.1234567890123456789",
                                 "1000000000000000000000000",
                                 "123456789012000",
                                 "-100000000000000",
                                 "-0"};
    for (const char* text : plain) {
        double value = -1.0;
        ASSERT_TRUE(CNumberRules::ReadPlainNumber(text, text + std::strlen(text), value)) << text;
        EXPECT_EQ(value, std::strtod(text, nullptr)) << text;
        EXPECT_EQ(std::signbit(value), text[0] == '-') << text;
        EXPECT_EQ(value, CNumberRules::ReadNumber(text)) << text;
    }
    const char* const others[] = {"",      "-",   "+",   ".",   "-.",   "1,500", " 12", "12 ",
                                  "1.2.3", "1e3", "abc", "1-2", "0x10", "12a00", "--1", "1.5.0"};
    for (const char* text : others) {
        double value = 0.0;
        EXPECT_FALSE(CNumberRules::ReadPlainNumber(text, text + std::strlen(text), value)) << text;
    }
}

// A compiled formula evaluated on the numbers of plain texts gives what the formula with
// the texts put in gives, bit for bit; formulas where a text put in would merge with its
// neighbours are not compiled.
TEST(CompiledFormulaTest, EvaluatesAsTheFormulaWithTheTextsPutIn)
{
    // Formulas with references written as "#": the slots.
    const char* const formulas[] = {"#*#",     "#/#",       "#+#",
                                    "#-#",     "(#+#)/#",   "-#*#",
                                    "#*-#",    "#--#",      "# * ( # - 3.5 ) / 2",
                                    "#/(#-#)", "((#))",     "#*#*1000",
                                    "#/0+#",   "-(#)+(-#)", "#*(#+#",
                                    "#)*#",    "2*#/#/#",   "# / # * 0.5"};
    const char* const texts[] = {"1",   "-2.5",         "0",       "0.000000",    "+7", "3.",
                                 ".25", "12345.678000", "-0.0015", "999999999.99"};
    unsigned state = 3;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    for (const char* formula : formulas) {
        std::vector<std::string> segments(1);
        for (const char* p = formula; *p != '\0'; ++p) {
            if (*p == '#')
                segments.emplace_back();
            else
                segments.back().push_back(*p);
        }
        std::string compiled;
        ASSERT_TRUE(CNumberRules::CompileFormula(segments, compiled)) << formula;
        for (int trial = 0; trial < 200; ++trial) {
            std::string expression = segments[0];
            std::vector<double> values;
            for (size_t i = 1; i < segments.size(); ++i) {
                const char* text = texts[next(std::size(texts))];
                double value = 0.0;
                ASSERT_TRUE(CNumberRules::ReadPlainNumber(text, text + std::strlen(text), value));
                values.push_back(value);
                expression += text;
                expression += segments[i];
            }
            double expected = 0.0, actual = 0.0;
            const bool bExpected = CNumberRules::EvaluateExpression(expression.c_str(), expected);
            ASSERT_EQ(CNumberRules::EvaluateCompiled(compiled, values.data(), actual), bExpected)
                << expression;
            if (bExpected) {
                ASSERT_EQ(std::signbit(actual), std::signbit(expected)) << expression;
                ASSERT_TRUE(actual == expected || (std::isnan(actual) && std::isnan(expected))) << expression;
            }
        }
    }
    // A number or a blank and another reference beside a reference would be read with it.
    for (std::vector<std::string> segments : std::vector<std::vector<std::string>>{{"", "1"},
                                                                                   {"2", ""},
                                                                                   {"", " ", ""},
                                                                                   {"", ".5"},
                                                                                   {"", ")", ""},
                                                                                   {"", "*x"},
                                                                                   {"", "%"},
                                                                                   {"(2)", ""}}) {
        std::string compiled;
        EXPECT_FALSE(CNumberRules::CompileFormula(segments, compiled)) << segments[0] << "#" << segments[1];
    }
}

// Values right beside every step the roundings end on (whole multiples and halves of each
// place from millionths to hundred millions, a few units of the last binary digit away,
// and just inside and outside the half millionth the six decimals move a value by), and
// products of typed numbers that are whole in decimal: the quick way on the double and the
// exact way give the decimal way's text.
TEST(FormatRoundedNormalTest, ValuesBesideEveryRoundingStepGiveTheTextOfTheDecimalWay)
{
    unsigned state = 17;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    std::vector<double> values;
    for (int nPlace = -6; nPlace <= 8; ++nPlace) {
        const double step = std::pow(10.0, nPlace);
        for (int i = 0; i < 10; ++i) {
            const double whole = static_cast<double>(1 + next(i < 5 ? 20 : 2000000));
            for (double base : {whole * step, (whole + 0.5) * step}) {
                if (!(base < 1e15))
                    continue;
                double up = base;
                double down = base;
                values.push_back(base);
                for (int k = 0; k < 3; ++k) {
                    up = std::nextafter(up, 1e300);
                    down = std::nextafter(down, 0.0);
                    values.push_back(up);
                    values.push_back(down);
                }
                for (double offset : {4e-7, 5e-7, 6e-7, 1e-6, 2e-6})
                    values.push_back(base + offset), values.push_back(base - offset);
                values.push_back(-base);
            }
        }
    }
    for (int i = 0; i < 400; ++i) {
        // A quantity of one to three decimals times a whole price: often whole in decimal.
        const double quantity = static_cast<double>(next(100000)) / std::pow(10.0, 1 + next(3));
        values.push_back(quantity * static_cast<double>(10 * next(30000)));
        values.push_back(quantity * static_cast<double>(next(300000)) * 1.1);
    }
    // Whole numbers of up to fifteen digits, which round by the rule's step on the whole number.
    for (double whole : {1.0, 9.0, 10.0, 995.0, 1000.0, 123456789012345.0, 999999999999999.0, 999999999999990.0})
        values.push_back(whole), values.push_back(-whole);
    const char* const specs[] = {"", "F(-1)", "D(-1)", "U(-1)", "F(-3)", "D(-4)", "U(-7)", "F(1)", "D(2)", "U(3)", "D(9)"};
    int compared = 0;
    for (const char* specText : specs) {
        const CNumberRules::CRoundSpec spec = CNumberRules::ParseRoundSpec(specText);
        for (int decimals : {0, 1, 2, 3, 6}) {
            for (double value : values) {
                std::string text;
                double stored = 0.0;
                if (!CNumberRules::FormatRoundedNormal(value, spec, decimals, text, stored))
                    continue;
                ++compared;
                ASSERT_EQ(text, DecimalWay(value, spec, decimals))
                    << std::hexfloat << value << " " << specText << " " << decimals;
                ASSERT_EQ(stored, CNumberRules::ReadNumber(text.c_str())) << text;
            }
        }
    }
    EXPECT_GT(compared, 150000);
}

// Texts in the normal form (one to nine whole digits, six decimals), which the reading
// takes in one pass, read as strtod reads them; near misses read the general way or not.
TEST(ReadPlainNumberTest, NormalFormTextsReadAsStrtod)
{
    unsigned state = 23;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text = next(5) == 0 ? "-" : (next(20) == 0 ? "+" : "");
        const unsigned nWhole = 1 + next(9);
        for (unsigned d = 0; d < nWhole; ++d)
            text += static_cast<char>('0' + next(10));
        text += '.';
        for (int d = 0; d < 6; ++d)
            text += static_cast<char>('0' + (next(3) == 0 ? 0 : next(10)));
        double value = -1.0;
        ASSERT_TRUE(CNumberRules::ReadPlainNumber(text.data(), text.data() + text.size(), value)) << text;
        ASSERT_EQ(value, std::strtod(text.c_str(), nullptr)) << text;
        ASSERT_EQ(std::signbit(value), text[0] == '-') << text;
    }
    const char* const nearMisses[] = {"1.0000000", "1234567890.000000", "12.34567", "-0.000000", ".500000",
                                      "0000000001.500000", "12a.000000", "1 .000000", "1.00000a", "1.2.000000",
                                      "-.000000", "+1.000000", "12345678a.000000", "a23456789.000000"};
    for (const char* text : nearMisses) {
        double value = 0.0;
        const bool bPlain = CNumberRules::ReadPlainNumber(text, text + std::strlen(text), value);
        char* pEnd = nullptr;
        const double expected = std::strtod(text, &pEnd);
        EXPECT_EQ(bPlain, *pEnd == '\0' && std::strchr(text, ' ') == nullptr) << text;
        if (bPlain) {
            EXPECT_EQ(value, expected) << text;
            EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
        }
    }
}

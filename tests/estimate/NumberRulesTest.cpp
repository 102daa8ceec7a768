#include "estimate/CNumberRules.h"

#include <gtest/gtest.h>

#include <string>

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

// ---- rounding specifications -------------------------------------------------------------

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
    EXPECT_TRUE(CNumberRules::IsNumberText("+-.,"));
    EXPECT_FALSE(CNumberRules::IsNumberText("12a"));
    EXPECT_FALSE(CNumberRules::IsNumberText("   "));
    EXPECT_FALSE(CNumberRules::IsNumberText(""));
    EXPECT_FALSE(CNumberRules::IsNumberText("1\t2"));
    EXPECT_FALSE(CNumberRules::IsNumberText("１２"));
}

TEST(NumberTextTest, NormalFormIsSixDecimalsWithoutSeparators)
{
    EXPECT_EQ("1234.500000", Normal("1,234.5"));
    EXPECT_EQ("1200.000000", Normal(" 1 200 "));
    EXPECT_EQ("-3.000000", Normal("-3"));
    EXPECT_EQ("12.000000", Normal("12-3"));
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

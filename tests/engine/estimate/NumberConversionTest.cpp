// Reading cell texts into doubles and turning doubles into decimals must give exactly what a
// correctly rounded conversion gives, whichever way the code takes. The references here are
// the C library's strtod and its printf to 15 significant digits.
#include "engine/estimate/CDecimal.h"
#include "engine/estimate/CNumberRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// The decimal printf writes for the value at 15 significant digits, as a plain text with a
// point that CDecimal::Parse reads.
CDecimal PrintedDecimal(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.14e", value);
    const char* pE = std::strchr(buffer, 'e');
    const int nExponent = std::atoi(pE + 1);
    std::string digits;
    bool bNegative = false;
    for (const char* p = buffer; p < pE; ++p) {
        if (*p == '-')
            bNegative = true;
        else if (*p >= '0' && *p <= '9')
            digits.push_back(*p);
    }
    // digits is d.dddddddddddddd times 10^nExponent: place the point.
    const int nPoint = nExponent + 1;
    std::string text = bNegative ? "-" : "";
    if (nPoint <= 0) {
        text += "0." + std::string(static_cast<size_t>(-nPoint), '0') + digits;
    } else if (nPoint >= static_cast<int>(digits.size())) {
        text += digits + std::string(static_cast<size_t>(nPoint) - digits.size(), '0');
    } else {
        text +=
            digits.substr(0, static_cast<size_t>(nPoint)) + "." + digits.substr(static_cast<size_t>(nPoint));
    }
    return CDecimal::Parse(text.c_str());
}

void ExpectSameAsPrinted(double value)
{
    const CDecimal expected = PrintedDecimal(value);
    const CDecimal actual = CDecimal::FromDouble(value);
    EXPECT_TRUE(actual == expected) << value << ": " << actual.ToFixed(20) << " vs " << expected.ToFixed(20);
}

void ExpectSameAsStrtod(const std::string& text)
{
    const double expected = std::strtod(text.c_str(), nullptr);
    const double actual = CNumberRules::ReadNumber(text.c_str());
    EXPECT_EQ(std::signbit(expected), std::signbit(actual)) << text;
    EXPECT_EQ(expected, actual) << text;
}

} // namespace

TEST(NumberConversionTest, FromDoubleOfShortDecimalsAndTheirNeighbours)
{
    const double values[] = {1.0,      0.1,           0.3,      123.4 * 5000, 12.3 * 5000,
                             0.000001, 0.0000015,     999999.5, 1e14,         999999999999999.0,
                             1e15,     1e15 + 2,      1e16,     0.1 + 0.2,    1.0 / 3,
                             2.5e-7,   123456.789012, 5e-324};
    for (double value : values) {
        ExpectSameAsPrinted(value);
        ExpectSameAsPrinted(-value);
        ExpectSameAsPrinted(std::nextafter(value, 0.0));
        ExpectSameAsPrinted(std::nextafter(value, 1e300));
    }
}

TEST(NumberConversionTest, FromDoubleOfRandomAmountsMatchesPrinting)
{
    std::mt19937_64 random(20240601);
    const double scales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7};
    for (int i = 0; i < 200000; ++i) {
        double value = 0.0;
        switch (i % 3) {
        case 0: // a few decimal places
            value = static_cast<double>(random() % 100000000000000ULL) / scales[random() % 8];
            break;
        case 1: // quantity times price, as the row formulas make them
            value = static_cast<double>(random() % 100000) / 10.0 * static_cast<double>(random() % 30000);
            break;
        default: { // any bit pattern
            const uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof(value));
            break;
        }
        }
        if (!std::isfinite(value) || value == 0.0)
            continue;
        ExpectSameAsPrinted(value);
        if (HasFailure())
            return;
    }
}

TEST(NumberConversionTest, ReadNumberOfEdgeTexts)
{
    for (const char* text :
         {"5.", ".5", "-0", "0.", "00012.3400", "61500.000000", "-1234.5", "9007199254740992",
          "9007199254740993", "9007199254740992.5", "0.1", "12345678901234567890", "1.0000000000000000000001",
          "0.0000000000000000000000123", "123456789012345.678901", "4503599627370497.5"})
        ExpectSameAsStrtod(text);
}

TEST(NumberConversionTest, ReadNumberOfRandomDigitTextsMatchesStrtod)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int nLength = 1 + static_cast<int>(random() % 24);
        bool bPoint = false;
        bool bDigit = false;
        for (int j = 0; j < nLength; ++j) {
            if (!bPoint && random() % 6 == 0) {
                text.push_back('.');
                bPoint = true;
            } else {
                text.push_back(static_cast<char>('0' + random() % 10));
                bDigit = true;
            }
        }
        if (!bDigit)
            continue;
        ExpectSameAsStrtod(text);
        if (HasFailure())
            return;
    }
}

TEST(NumberConversionTest, FormulaOperandsReadAsNumbers)
{
    double result = 0.0;
    const std::string text = "12.3*5000+0.1";
    ASSERT_TRUE(CNumberRules::EvaluateExpression(text.data(), text.data() + text.size(), result));
    EXPECT_EQ(12.3 * 5000 + 0.1, result);
    // A NUL byte inside the range ends an operand as an operator would.
    const std::string withNul("7\0"
                              "3",
                              3);
    ASSERT_TRUE(CNumberRules::EvaluateExpression(withNul.data(), withNul.data() + withNul.size(), result));
    EXPECT_EQ(7.0, result);
}

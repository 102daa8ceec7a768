// CDecimal: a decimal number held as its digits, for the places where the estimate's
// numbers must come out exactly as written: rounding by a column's rounding rule,
// printing with a picture's decimals and the six-decimal normal form of a stored number.
//
// The value is (negative ? -1 : 1) x digits x 10^exponent, with the digits free of leading
// and trailing zeros (no digits at all is zero). A binary double is taken over with 15
// significant digits, which is all a double holds reliably: 1.15 stays 1.15 and the
// remainders of binary arithmetic (3 x 1.15 = 3.4499999999999997) fall away.
#pragma once

#include <cstdint>
#include <string>

class CDecimal {
public:
    enum RoundMode {
        roundUp,    // the magnitude goes up to the next multiple unless already one
        roundDown,  // the magnitude is cut to the multiple below
        roundHalfUp // to the nearest multiple, halves away from zero
    };

    CDecimal() = default;

    // Reads a number as the cells are read: leading blanks, one optional sign, digits with
    // an optional decimal point; reading stops at the first other character. A text
    // without digits reads as zero. *ppEnd (when given) receives where reading stopped;
    // *pbDigits whether any digit was read.
    static CDecimal Parse(const char* pText, const char** ppEnd = nullptr, bool* pbDigits = nullptr);
    // The double with 15 significant digits. Infinities and NaN give zero.
    static CDecimal FromDouble(double value);

    // The short form FromDouble finds for most values: when the magnitude (finite, not
    // zero) is nDigits / 10^nPlaces with nDigits below 10^15 and nPlaces at most 6, as a
    // double holds it, sets both and returns true; otherwise FromDouble prints 15 digits.
    static bool FindShortForm(double magnitude, uint64_t& nDigits, int& nPlaces);
    // The value FromDouble takes for a magnitude from 1e-6 up to (not including) 1e15, as
    // nDigits x 10^nExponent, worked out in whole numbers without printing: the magnitude
    // rounded to 15 significant digits as printing rounds it (an exact half to even).
    // False for a magnitude outside that range (or not finite).
    static bool FindSignificantForm(double magnitude, uint64_t& nDigits, int& nExponent);

    double ToDouble() const;
    bool IsZero() const { return m_digits.empty(); }
    bool IsNegative() const { return m_bNegative && !m_digits.empty(); }
    // true when the magnitude is below 10^nPower (zero included).
    bool IsBelowPowerOfTen(int nPower) const
    {
        return m_digits.empty() || m_nExponent + static_cast<long>(m_digits.size()) <= nPower;
    }
    CDecimal Abs() const
    {
        CDecimal result(*this);
        result.m_bNegative = false;
        return result;
    }

    // Rounds the magnitude to a multiple of 10^nPosition (0 whole units, -2 hundredths,
    // 1 tens); the sign is kept.
    void Round(int nPosition, RoundMode mode);

    // The value printed with nDecimals decimals after rounding half away from zero, a
    // leading "-" for a negative value that does not print as zero. With nDecimals 6
    // this is the text "%f" gives.
    std::string ToFixed(int nDecimals) const;
    void AppendFixed(std::string& out, int nDecimals) const;

    bool operator==(const CDecimal& other) const
    {
        return m_digits == other.m_digits &&
               (m_digits.empty() || (m_nExponent == other.m_nExponent && m_bNegative == other.m_bNegative));
    }
    bool operator!=(const CDecimal& other) const { return !(*this == other); }

private:
    // Drops leading and trailing zeros (the exponent follows the trailing ones).
    void Normalize();

    bool m_bNegative = false;
    std::string m_digits;
    int m_nExponent = 0;
};

// The normal form of a rounded number made in whole numbers (CNumberRules::FormatRoundedNormal),
// kept where the recalculation's own code reaches it without a call: a full recalculation
// makes the normal form of two results in every row.
#pragma once

#include "engine/estimate/CDecimal.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/PowersOfTen.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

namespace NumberFormatting {

// Powers of ten that a double holds exactly.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A decimal as a whole number of digits times a power of ten, as CDecimal holds it but
// without a digit string (trailing zeros allowed).
struct CWholeDecimal {
    bool bNegative = false;
    uint64_t nDigits = 0;
    int nExponent = 0;

    // CDecimal::Round in whole numbers.
    void Round(int nPosition, CDecimal::RoundMode mode)
    {
        if (nDigits == 0 || nExponent >= nPosition)
            return;
        const long nDrop = static_cast<long>(nPosition) - nExponent;
        if (nDrop >= static_cast<long>(std::size(kWholePowersOfTen))) {
            // Every digit is dropped and the first dropped place lies above them all.
            nDigits = mode == CDecimal::roundUp ? 1 : 0;
        } else {
            const uint64_t nUnit = kWholePowersOfTen[nDrop];
            const uint64_t nRest = nDigits % nUnit;
            nDigits /= nUnit;
            bool bUp = false;
            if (mode == CDecimal::roundUp)
                bUp = nRest != 0;
            else if (mode == CDecimal::roundHalfUp)
                bUp = nRest >= nUnit / 2;
            if (bUp)
                ++nDigits;
        }
        nExponent = nPosition;
        if (nDigits == 0)
            bNegative = false;
    }
};

// The roundings of FormatRoundedNormal (15 significant digits, half up to six decimals, by
// the rounding rule, half up to the picture's decimals) worked out on the double itself when
// they come to one rounding of the value and the value lies clearly inside one step of it.
// The first two roundings move the value by at most half a unit of its fifteenth digit and
// half a millionth; rounding is monotonic and constant between its boundaries (multiples of
// the step for up and down, the halves between them for half up), so when no boundary lies
// within that distance (doubled, with the error of the one division allowed for), the chain
// of roundings ends where rounding the value once ends. Otherwise false: the caller takes
// the exact way.
__attribute__((always_inline)) inline bool
RoundValueQuickly(double value, const CNumberRules::CRoundSpec& spec, int nDecimals, CWholeDecimal& number)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-6 && magnitude < 1e15))
        return false; // zero, the range the exact way refuses, not a number
    // The roundings that can change a number of six decimals: the rule's above the
    // millionths, the picture's above them; both only when the rule's step is the coarser.
    const int nPictureAt = -std::max(nDecimals, 0);
    const bool bRule = spec.bActive && spec.nPosition > -6;
    const bool bPicture = nPictureAt > -6;
    int nPosition = -6;
    CDecimal::RoundMode mode = CDecimal::roundHalfUp;
    if (bRule) {
        if (bPicture && spec.nPosition < nPictureAt)
            return false; // two roundings
        nPosition = spec.nPosition;
        mode = spec.mode;
    } else if (bPicture) {
        nPosition = nPictureAt;
    }
    if (nPosition > 8)
        return false;
    // The value in steps of the rounding, and how far the roundings before it may move it
    // (in steps, doubled).
    const double steps =
        nPosition >= 0 ? magnitude / kExactPowersOfTen[nPosition] : magnitude * kExactPowersOfTen[-nPosition];
    if (!(steps < 4503599627370496.0)) // 2^52: whole steps stay exact
        return false;
    const double drift = magnitude * 1e-14 + (nPosition > -6 ? 1e-6 : 0.0);
    const double margin =
        (nPosition >= 0 ? drift / kExactPowersOfTen[nPosition] : drift * kExactPowersOfTen[-nPosition]) +
        steps * 0x1p-50;
    const double whole = static_cast<double>(static_cast<uint64_t>(steps)); // floor: steps >= 0
    const double fraction = steps - whole;                                  // exact
    uint64_t nSteps = static_cast<uint64_t>(steps);
    if (mode == CDecimal::roundHalfUp) {
        if (!(std::fabs(fraction - 0.5) > margin))
            return false;
        if (fraction > 0.5)
            ++nSteps;
    } else {
        if (!(fraction > margin && fraction < 1.0 - margin))
            return false;
        if (mode == CDecimal::roundUp)
            ++nSteps;
    }
    number.nDigits = nSteps;
    number.nExponent = nPosition;
    number.bNegative = nSteps != 0 && value < 0;
    return true;
}

// Whether text holds exactly the nLength bytes at p: texts of 8 to 16 bytes (every normal
// form up to nine whole digits) in two word compares instead of a call.
inline bool SameShortText(const std::string& text, const char* p, size_t nLength)
{
    if (text.size() != nLength)
        return false;
    if (nLength < 8 || nLength > 16)
        return std::memcmp(text.data(), p, nLength) == 0;
    uint64_t a = 0;
    uint64_t b = 0;
    uint64_t c = 0;
    uint64_t d = 0;
    std::memcpy(&a, text.data(), 8);
    std::memcpy(&b, p, 8);
    std::memcpy(&c, text.data() + nLength - 8, 8);
    std::memcpy(&d, p + nLength - 8, 8);
    return a == b && c == d;
}

// The eight decimal digits of n (below 10^8, zeros before it) as the bytes 0 to 9 of a
// little-endian word, the first digit in the lowest byte: split into two halves of four
// digits, four lanes of two, eight of one, each division by multiplying (exact for these
// ranges: x / 100 as x * 10486 >> 20 below 43,699, x / 10 as x * 103 >> 10 below 179).
inline uint64_t EightDigits(uint64_t n)
{
    uint64_t x = (n / 10000) | ((n % 10000) << 32);
    uint64_t q = ((x * 10486) >> 20) & 0x0000007F0000007F;
    x = q | ((x - q * 100) << 16);
    q = ((x * 103) >> 10) & 0x000F000F000F000F;
    return q | ((x - q * 10) << 8);
}

// "00" to "99", for writing two digits at a time.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr size_t kFormatBuffer = 48;

// FormatRoundedNormal into the end of buffer: [pText, pText + nLength) is the text, in
// buffer or a constant.
__attribute__((always_inline)) inline bool
FormatRoundedInto(double value, const CNumberRules::CRoundSpec& spec, int nDecimals,
                  char (&buffer)[kFormatBuffer], const char*& pText, size_t& nLength, double& stored)
{
    CWholeDecimal number;
    if (!RoundValueQuickly(value, spec, nDecimals, number)) {
        const double magnitude = std::fabs(value);
        if (magnitude < 1e15 && magnitude == std::floor(magnitude) && value != 0.0) {
            // A whole number of at most 15 digits is its own 15-significant-digit form (an
            // exact rounding on the whole number, which the quick way leaves to this one).
            number.nDigits = static_cast<uint64_t>(magnitude);
            number.nExponent = 0;
            number.bNegative = value < 0;
        } else if (std::isfinite(value) && value != 0.0) {
            if (!CDecimal::FindSignificantForm(magnitude, number.nDigits, number.nExponent))
                return false;
            number.bNegative = value < 0;
        }
        // Each way to a stored number rounds the value to the normal form's six decimals
        // first. What is left is at least 1e-6 or zero, so RoundBySpec's guard for
        // magnitudes below 1e-10 never applies.
        number.Round(-6, CDecimal::roundHalfUp);
        if (spec.bActive)
            number.Round(spec.nPosition, spec.mode);
        number.Round(-std::max(nDecimals, 0), CDecimal::roundHalfUp);
    }

    if (number.nDigits == 0) {
        pText = "0.000000";
        nLength = 8;
        stored = 0.0;
        return true;
    }
    // Written from its right end into a buffer: the six decimals, the point, the whole
    // part, the sign. The whole part has at most 15 digits and the zeros of a positive
    // exponent, which only a rounding position above 10^7 leaves beyond what fits here.
    char* pEnd = buffer + kFormatBuffer;
    char* p = pEnd;
    uint64_t nWhole = number.nDigits;
    if (number.nExponent >= 0) {
        if (number.nExponent > 8)
            return false;
        for (int i = 0; i < 6; ++i)
            *--p = '0';
        *--p = '.';
        for (int i = 0; i < number.nExponent; ++i)
            *--p = '0';
    } else {
        const int nFraction = -number.nExponent; // 1 to 6
        for (int i = nFraction; i < 6; ++i)
            *--p = '0';
        for (int i = 0; i < nFraction; ++i) {
            *--p = static_cast<char>('0' + nWhole % 10);
            nWhole /= 10;
        }
        *--p = '.';
    }
    // The last eight whole digits at once (EightDigits), without the zeros before the
    // first digit when they are all; the digits above them two at a time.
    bool bPairs = true;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kEightDigits = 100000000;
        const uint64_t nLow = nWhole % kEightDigits;
        const uint64_t nDigits = EightDigits(nLow);
        const uint64_t nText = nDigits + 0x3030303030303030;
        p -= 8;
        std::memcpy(p, &nText, sizeof nText);
        nWhole /= kEightDigits;
        if (nWhole == 0) {
            // The zeros before the first digit are the zero bytes at the low end (one
            // digit stays for a whole part of 0).
            p += nLow == 0 ? 7 : std::countr_zero(nDigits) / 8;
            bPairs = false;
        }
    }
    if (bPairs) {
        while (nWhole >= 100) {
            const size_t nPair = static_cast<size_t>(nWhole % 100) * 2;
            nWhole /= 100;
            *--p = kDigitPairs[nPair + 1];
            *--p = kDigitPairs[nPair];
        }
        if (nWhole >= 10) {
            *--p = kDigitPairs[nWhole * 2 + 1];
            *--p = kDigitPairs[nWhole * 2];
        } else {
            *--p = static_cast<char>('0' + nWhole);
        }
    }
    if (number.bNegative)
        *--p = '-';
    pText = p;
    nLength = static_cast<size_t>(pEnd - p);
    // The value the text reads as: the decimal rounded once to a double, as ReadNumber
    // rounds it (an exact whole number and an exact power of ten give that with one
    // operation); other texts are read.
    constexpr uint64_t kMaxExact = uint64_t{1} << 53;
    if (number.nDigits <= kMaxExact && number.nExponent <= 22) {
        const double digits = static_cast<double>(number.nDigits);
        stored = number.nExponent >= 0 ? digits * kExactPowersOfTen[number.nExponent]
                                       : digits / kExactPowersOfTen[-number.nExponent];
        if (number.bNegative)
            stored = -stored;
    } else {
        stored = CNumberRules::ReadNumber(pText, pEnd);
    }
    return true;
}

// CNumberRules::FormatRoundedNormal for a cell that holds current: bSame tells whether the
// text would be current byte for byte, and text is written only when it would not (a
// recalculation mostly gives every cell the text it has).
__attribute__((always_inline)) inline bool FormatRoundedNormal(double value,
                                                               const CNumberRules::CRoundSpec& spec,
                                                               int nDecimals, const std::string& current,
                                                               std::string& text, double& stored, bool& bSame)
{
    char buffer[kFormatBuffer];
    const char* pText = nullptr;
    size_t nLength = 0;
    if (!FormatRoundedInto(value, spec, nDecimals, buffer, pText, nLength, stored))
        return false;
    bSame = SameShortText(current, pText, nLength);
    if (!bSame)
        text.assign(pText, nLength);
    return true;
}

} // namespace NumberFormatting

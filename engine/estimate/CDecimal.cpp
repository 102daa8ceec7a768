#include "engine/estimate/CDecimal.h"
#include "engine/estimate/PowersOfTen.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}
bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Powers of ten for the places FindShortForm tries; all of them exact doubles.
constexpr double kPlaceScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};

} // namespace

// Most amounts are whole or have a few decimal places. A decimal of at most 15 significant
// digits whose nearest double is the value is what printing the value to 15 significant
// digits gives back (15 digits always survive the trip through a double), so it is found
// without printing: digits/10^places is rounded once only, as both are exact doubles, and
// comparing it with the value tells whether that decimal is the value's.
bool CDecimal::FindShortForm(double magnitude, uint64_t& nDigits, int& nPlaces)
{
    for (int k = 0; k < static_cast<int>(std::size(kPlaceScales)); ++k) {
        const double scaled = std::round(magnitude * kPlaceScales[k]);
        if (scaled >= 1e15)
            return false;
        if (scaled / kPlaceScales[k] == magnitude) {
            nDigits = static_cast<uint64_t>(scaled);
            nPlaces = k;
            return true;
        }
    }
    return false;
}

bool CDecimal::FindSignificantForm(double magnitude, uint64_t& nDigits, int& nExponent)
{
    if (!(magnitude >= 1e-6 && magnitude < 1e15))
        return false;
    using Whole = unsigned __int128;
    // magnitude = nMantissa / 2^nShift exactly (a normal double: 52 stored bits and the
    // leading one); below 2^50 the shift is at least 3, from 1e-6 up at most 73.
    const uint64_t nBits = std::bit_cast<uint64_t>(magnitude);
    const uint64_t nMantissa = (nBits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int nBinary = static_cast<int>((nBits >> 52) & 0x7FF) - 1023; // 2^nBinary <= magnitude
    const int nShift = 52 - nBinary;
    // The decimal exponent d (10^d <= magnitude < 10^(d+1)), estimated from the binary one
    // (78913 / 2^18 is just below log10(2)) and set right by exact comparisons; then
    // nScale = 14 - d puts 15 digits before the point:
    // 10^14 x 2^nShift <= nMantissa x 10^nScale < 10^15 x 2^nShift.
    int nDecimal = (nBinary * 78913) >> 18;
    auto powerOfTen = [](int n) -> Whole {
        return n <= 19 ? Whole{kWholePowersOfTen[n]}
                       : Whole{kWholePowersOfTen[n - 19]} * kWholePowersOfTen[19];
    };
    const Whole low = Whole{kWholePowersOfTen[14]} << nShift;
    const Whole high = Whole{kWholePowersOfTen[15]} << nShift;
    Whole scaled = 0;
    for (int nTries = 0; nTries < 3; ++nTries) {
        scaled = Whole{nMantissa} * powerOfTen(14 - nDecimal);
        if (scaled < low)
            --nDecimal;
        else if (scaled >= high)
            ++nDecimal;
        else
            break;
    }
    if (scaled < low || scaled >= high)
        return false;
    Whole whole = scaled >> nShift;
    const Whole rest = scaled & ((Whole{1} << nShift) - 1);
    const Whole half = Whole{1} << (nShift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0))
        ++whole; // may reach 10^15: still the value, one digit longer
    nDigits = static_cast<uint64_t>(whole);
    nExponent = nDecimal - 14;
    return true;
}

CDecimal CDecimal::Parse(const char* pText, const char** ppEnd, bool* pbDigits)
{
    CDecimal result;
    bool bDigits = false;
    const char* p = pText != nullptr ? pText : "";
    while (IsBlank(*p))
        ++p;
    if (*p == '+' || *p == '-') {
        result.m_bNegative = (*p == '-');
        ++p;
    }
    int nFraction = 0;
    bool bPoint = false;
    for (;; ++p) {
        if (IsDigit(*p)) {
            bDigits = true;
            if (!result.m_digits.empty() || *p != '0')
                result.m_digits.push_back(*p);
            if (bPoint)
                ++nFraction;
        } else if (*p == '.' && !bPoint) {
            bPoint = true;
        } else {
            break;
        }
    }
    if (!bDigits) {
        // Nothing was read: zero, and the reading stays at the start of the text.
        result = CDecimal();
        p = pText != nullptr ? pText : "";
    }
    result.m_nExponent = -nFraction;
    result.Normalize();
    if (ppEnd != nullptr)
        *ppEnd = p;
    if (pbDigits != nullptr)
        *pbDigits = bDigits;
    return result;
}

CDecimal CDecimal::FromDouble(double value)
{
    CDecimal result;
    if (!std::isfinite(value) || value == 0.0)
        return result;
    uint64_t nDigits = 0;
    int nPlaces = 0;
    if (FindShortForm(std::fabs(value), nDigits, nPlaces)) {
        char buffer[24];
        const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof(buffer), nDigits);
        result.m_bNegative = value < 0;
        result.m_digits.assign(buffer, r.ptr);
        result.m_nExponent = -nPlaces;
        result.Normalize();
        return result;
    }
    // d.dddddddddddddde[+-]x: 15 significant digits.
    char buffer[64];
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::scientific, 14);
    const char* p = buffer;
    if (*p == '-') {
        result.m_bNegative = true;
        ++p;
    }
    int nMantissaDigits = 0;
    for (; p < r.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            result.m_digits.push_back(*p);
            ++nMantissaDigits;
        }
    }
    int nExponent = 0;
    if (p < r.ptr && *p == 'e') {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, r.ptr, nExponent);
    }
    result.m_nExponent = nExponent - (nMantissaDigits - 1);
    result.Normalize();
    return result;
}

double CDecimal::ToDouble() const
{
    if (m_digits.empty())
        return 0.0;
    std::string text;
    text.reserve(m_digits.size() + 16);
    if (m_bNegative)
        text.push_back('-');
    text += m_digits;
    text.push_back('e');
    text += std::to_string(m_nExponent);
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond the range of a double: the nearest end of it.
        const bool bTiny = m_nExponent < 0;
        value = bTiny ? 0.0 : HUGE_VAL;
        if (m_bNegative)
            value = -value;
    }
    return value;
}

void CDecimal::Normalize()
{
    size_t nLead = 0;
    while (nLead < m_digits.size() && m_digits[nLead] == '0')
        ++nLead;
    if (nLead > 0)
        m_digits.erase(0, nLead);
    size_t nEnd = m_digits.size();
    while (nEnd > 0 && m_digits[nEnd - 1] == '0')
        --nEnd;
    m_nExponent += static_cast<int>(m_digits.size() - nEnd);
    m_digits.resize(nEnd);
    if (m_digits.empty()) {
        m_bNegative = false;
        m_nExponent = 0;
    }
}

void CDecimal::Round(int nPosition, RoundMode mode)
{
    if (m_digits.empty() || m_nExponent >= nPosition)
        return; // already a multiple of 10^nPosition
    const long nLength = static_cast<long>(m_digits.size());
    const long nDrop = static_cast<long>(nPosition) - m_nExponent; // digits below the position
    const long nKeep = nLength - nDrop;
    bool bUp = false;
    switch (mode) {
    case roundUp:
        bUp = true; // something nonzero is dropped: the digits hold no trailing zeros
        break;
    case roundDown:
        bUp = false;
        break;
    case roundHalfUp:
        bUp = nKeep >= 0 && m_digits[static_cast<size_t>(nKeep)] >= '5';
        break;
    }
    if (nKeep > 0)
        m_digits.resize(static_cast<size_t>(nKeep));
    else
        m_digits.clear();
    m_nExponent = nPosition;
    if (bUp) {
        // Add one unit at the position, carrying leftwards.
        long i = static_cast<long>(m_digits.size()) - 1;
        while (i >= 0 && m_digits[static_cast<size_t>(i)] == '9') {
            m_digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i >= 0)
            ++m_digits[static_cast<size_t>(i)];
        else
            m_digits.insert(m_digits.begin(), '1');
    }
    const bool bNegative = m_bNegative;
    Normalize();
    if (!m_digits.empty())
        m_bNegative = bNegative;
}

std::string CDecimal::ToFixed(int nDecimals) const
{
    std::string out;
    AppendFixed(out, nDecimals);
    return out;
}

void CDecimal::AppendFixed(std::string& out, int nDecimals) const
{
    if (nDecimals < 0)
        nDecimals = 0;
    CDecimal value(*this);
    value.Round(-nDecimals, roundHalfUp);
    if (value.IsNegative())
        out.push_back('-');
    const long nLength = static_cast<long>(value.m_digits.size());
    const long nExponent = value.m_nExponent;
    // Integer part.
    if (nLength == 0) {
        out.push_back('0');
    } else if (nExponent >= 0) {
        out += value.m_digits;
        out.append(static_cast<size_t>(nExponent), '0');
    } else if (nLength + nExponent > 0) {
        out.append(value.m_digits, 0, static_cast<size_t>(nLength + nExponent));
    } else {
        out.push_back('0');
    }
    if (nDecimals == 0)
        return;
    out.push_back('.');
    // Fraction: the digits below the point, led by zeros when the number is small.
    long nWritten = 0;
    if (nLength > 0 && nExponent < 0) {
        const long nFraction = -nExponent; // digits after the point that the value has
        const long nLeadZeros = nFraction > nLength ? nFraction - nLength : 0;
        out.append(static_cast<size_t>(nLeadZeros), '0');
        const long nFrom = nLength - (nFraction - nLeadZeros);
        out.append(value.m_digits, static_cast<size_t>(nFrom), std::string::npos);
        nWritten = nFraction;
    }
    if (nWritten < nDecimals)
        out.append(static_cast<size_t>(nDecimals - nWritten), '0');
}

#include "engine/estimate/CNumberRules.h"
#include <bit>

#include "engine/estimate/NumberFormatting.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/TypedNumber.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

using namespace NumberFormatting;

namespace {

// Grouping that replaces whatever stands before a picture's first ",", so that long
// numbers keep getting separators.
const char kGroupTemplate[] = "###,###,###,###,###,###,###";

// Rounding positions beyond these only ever give 0 or a power of ten that no double
// holds; keeping them in range keeps the digit strings small.
constexpr int kMaxRoundPosition = 300;

// Multiplying by an empty operand uses this stand-in value, so that a lone "*5" comes to
// (nearly) nothing instead of failing.
constexpr double kEmptyFactor = 1e-11;

bool IsSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}
bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Reads a decimal number from [p, pEnd) as ReadNumber does. bDigits tells whether any digit
// was read.
double ReadNumberRange(const char* p, const char* pEnd, bool& bDigits)
{
    bDigits = false;
    while (p < pEnd && IsSpace(*p))
        ++p;
    bool bNegative = false;
    if (p < pEnd && (*p == '+' || *p == '-')) {
        bNegative = (*p == '-');
        ++p;
    }
    // The digits are gathered into a whole number on the way, as long as it stays exact.
    constexpr uint64_t kMaxExact = uint64_t{1} << 53;
    uint64_t nMantissa = 0;
    int nFraction = 0;
    bool bExact = true;
    const char* pStart = p;
    bool bPoint = false;
    for (; p < pEnd; ++p) {
        if (IsDigit(*p)) {
            bDigits = true;
            if (bExact) {
                nMantissa = nMantissa * 10 + static_cast<uint64_t>(*p - '0');
                bExact = nMantissa <= kMaxExact;
                if (bPoint)
                    ++nFraction;
            }
        } else if (*p == '.' && !bPoint) {
            bPoint = true;
        } else {
            break;
        }
    }
    if (!bDigits)
        return 0.0;
    double value = 0.0;
    if (bExact && nFraction < static_cast<int>(std::size(kExactPowersOfTen))) {
        // The usual short number: the whole number and the power of ten are both exact
        // doubles, so the one rounding of the division gives the very double a full
        // conversion would.
        value = static_cast<double>(nMantissa) / kExactPowersOfTen[nFraction];
    } else {
        std::from_chars(pStart, p, value, std::chars_format::fixed);
    }
    return bNegative ? -value : value;
}

// An operator ends an operand, and so does a NUL byte inside the range, as it ends a C text.
bool IsOperator(char ch)
{
    return ch == '+' || ch == '-' || ch == '*' || ch == '/' || ch == '\0';
}
bool IsOperandEnd(char ch)
{
    return IsOperator(ch) || ch == '(' || ch == ')';
}

// A slot of a compiled formula: kSlotMark, then kSlotBase + the slot's index. Neither byte
// is a blank, an operator, a parenthesis, a digit or a point.
constexpr char kSlotMark = '\x01';
constexpr int kSlotBase = 0x80;
constexpr size_t kMaxSlots = 0x70;

// Recursive descent over a formula text. Values carry an "empty" mark for an operand with
// no text and for a term dropped by a division by zero.
class CFormulaReader {
public:
    struct CValue {
        double value = 0.0;
        bool bEmpty = true;
    };

    // pSlots: the values of a compiled formula's slots (kSlotMark and an index byte).
    CFormulaReader(const char* pBegin, const char* pEnd, const double* pSlots = nullptr)
        : m_p(pBegin), m_pEnd(pEnd), m_pSlots(pSlots)
    {
    }

    CValue Evaluate() { return Sum(); }
    // TRUE when the formula nests parentheses deeper than MAX_FORMULA_DEPTH; reading stopped
    // there and the formula has no value.
    bool IsTooDeep() const { return m_bTooDeep; }

private:
    CValue Sum()
    {
        CValue first = Product();
        bool bOperator = false;
        double total = first.bEmpty ? 0.0 : first.value;
        for (;;) {
            SkipFill();
            if (m_p >= m_pEnd || (*m_p != '+' && *m_p != '-'))
                break;
            const char op = *m_p++;
            const CValue term = Product();
            const double value = term.bEmpty ? 0.0 : term.value;
            total = (op == '+') ? total + value : total - value;
            bOperator = true;
        }
        if (!bOperator)
            return first;
        return CValue{total, false};
    }

    CValue Product()
    {
        CValue left = Factor();
        for (;;) {
            SkipFill();
            if (m_p >= m_pEnd || (*m_p != '*' && *m_p != '/'))
                break;
            const char op = *m_p++;
            const CValue right = Factor();
            const double a = left.bEmpty ? kEmptyFactor : left.value;
            const double b = right.bEmpty ? kEmptyFactor : right.value;
            if (op == '*') {
                left = CValue{a * b, false};
            } else if (b > -CNumberRules::ZERO_TOLERANCE && b < CNumberRules::ZERO_TOLERANCE) {
                left = CValue{}; // the term a/b is dropped
            } else {
                left = CValue{a / b, false};
            }
        }
        return left;
    }

    CValue Factor()
    {
        SkipBlanks();
        bool bNegative = false;
        bool bSign = false;
        while (m_p < m_pEnd && (*m_p == '+' || *m_p == '-')) {
            if (*m_p == '-')
                bNegative = !bNegative;
            bSign = true;
            ++m_p;
            SkipBlanks();
        }
        CValue result;
        if (m_p < m_pEnd && *m_p == '(') {
            // Each level of parentheses is a level of this reader's recursion: a formula
            // nested beyond any written by hand is refused before it can exhaust the stack.
            if (m_nDepth >= CNumberRules::MAX_FORMULA_DEPTH) {
                m_bTooDeep = true;
                m_p = m_pEnd;
                return CValue{};
            }
            ++m_p;
            ++m_nDepth;
            result = Sum();
            SkipBlanks();
            if (m_p < m_pEnd && *m_p == ')')
                ++m_p;
            --m_nDepth;
            SkipJunk();
        } else if (m_pSlots != nullptr && m_p + 1 < m_pEnd && *m_p == kSlotMark) {
            // A slot stands where a plain number text would stand; its sign, which the
            // loop above would have read, is in the value.
            result = CValue{m_pSlots[static_cast<BYTE>(m_p[1]) - kSlotBase], false};
            m_p += 2;
            while (m_p < m_pEnd && !IsOperandEnd(*m_p))
                ++m_p;
        } else {
            const char* pStart = m_p;
            while (m_p < m_pEnd && !IsOperandEnd(*m_p))
                ++m_p;
            const char* pText = pStart;
            while (pText < m_p && IsSpace(*pText))
                ++pText;
            if (pText < m_p) {
                bool bDigits = false;
                result = CValue{ReadNumberRange(pText, m_p, bDigits), false};
            }
        }
        if (bSign && result.bEmpty)
            result = CValue{0.0, false}; // a lone sign reads as 0
        if (bNegative)
            result.value = -result.value;
        return result;
    }

    void SkipBlanks()
    {
        while (m_p < m_pEnd && IsSpace(*m_p))
            ++m_p;
    }
    // Between operands: blanks, and outside any parentheses also a ")" that closes nothing.
    void SkipFill()
    {
        while (m_p < m_pEnd && (IsSpace(*m_p) || (*m_p == ')' && m_nDepth == 0)))
            ++m_p;
    }
    // After a closing parenthesis: anything up to the next operator (or the ")" of an
    // enclosing group) has no meaning and is passed over.
    void SkipJunk()
    {
        while (m_p < m_pEnd && !IsOperator(*m_p) && !(*m_p == ')' && m_nDepth > 0))
            ++m_p;
    }

    const char* m_p;
    const char* m_pEnd;
    const double* m_pSlots;
    int m_nDepth = 0;
    bool m_bTooDeep = false;
};

} // namespace

bool CNumberRules::ReadTypedNumber(const char* lpszText, std::string& plain)
{
    return ReadTypedNumberText(lpszText, plain);
}

bool CNumberRules::ReadTypedNumber(const char* lpszText, CDecimal& value)
{
    std::string plain;
    if (!ReadTypedNumberText(lpszText, plain))
        return false;
    value = CDecimal::Parse(plain.c_str());
    return true;
}

bool CNumberRules::IsNumberText(const char* lpszText)
{
    return ReadStoredNumberText(lpszText);
}

CDecimal CNumberRules::ReadNumberText(const char* lpszText)
{
    CDecimal value;
    return ReadTypedNumber(lpszText, value) ? value : CDecimal();
}

CString CNumberRules::NormalizeNumber(const char* lpszText)
{
    return FormatNormal(ReadNumberText(lpszText));
}

CString CNumberRules::InputTextKept(const CString& strStored, const CRoundSpec& spec)
{
    CString strKept = strStored;
    ToHalfWidthNumber(strKept);
    if (!IsNumberText(strKept))
        return strKept;
    CDecimal value = ReadNumberText(strKept);
    RoundBySpec(value, spec);
    return FormatNormal(value);
}

double CNumberRules::ReadNumber(const char* lpszText)
{
    if (lpszText == nullptr)
        return 0.0;
    bool bDigits = false;
    return ReadNumberRange(lpszText, lpszText + std::strlen(lpszText), bDigits);
}

double CNumberRules::ReadNumber(const char* pBegin, const char* pEnd)
{
    // Most texts read are plain numbers (the normal form among them).
    double value = 0.0;
    if (ReadPlainNumber(pBegin, pEnd, value))
        return value;
    bool bDigits = false;
    return ReadNumberRange(pBegin, pEnd, bDigits);
}

double CNumberRules::ReadOtherStoredNumber(const char* pBegin, const char* pEnd)
{
    // A NUL byte ends the text, as it ends a C text.
    const std::string text(pBegin, std::find(pBegin, pEnd, '\0'));
    std::string plain;
    if (!ReadStoredNumberText(text.c_str(), &plain))
        return 0.0;
    bool bDigits = false;
    return ReadNumberRange(plain.data(), plain.data() + plain.size(), bDigits);
}

CString CNumberRules::FormatNormal(double value)
{
    return FormatNormal(CDecimal::FromDouble(value));
}

bool CNumberRules::ReadOtherPlainNumber(const char* pBegin, const char* pEnd, double& value)
{
    const char* p = pBegin;
    bool bNegative = false;
    if (p < pEnd && (*p == '+' || *p == '-')) {
        bNegative = (*p == '-');
        ++p;
    }
    const char* pStart = p;
    // Zeros at the end of a fraction do not change the value: they are left out of the
    // digits when a point comes before them (the normal form ends in six decimals).
    const char* pLast = pEnd;
    while (pLast > p && pLast[-1] == '0')
        --pLast;
    uint64_t nMantissa = 0;
    int nDigits = 0;
    for (; p < pLast && static_cast<unsigned char>(*p - '0') <= 9; ++p, ++nDigits)
        nMantissa = nMantissa * 10 + static_cast<uint64_t>(*p - '0');
    int nFraction = 0;
    if (p < pLast && *p == '.') {
        for (++p; p < pLast && static_cast<unsigned char>(*p - '0') <= 9; ++p, ++nFraction)
            nMantissa = nMantissa * 10 + static_cast<uint64_t>(*p - '0');
        if (p != pLast)
            return false; // a second point or another character
        nDigits += nFraction;
        if (nDigits == 0 && pLast == pEnd)
            return false; // "." alone
    } else if (p != pLast) {
        return false; // another character
    } else if (pLast != pEnd) {
        // The zeros at the end are whole digits.
        for (; p < pEnd; ++p, ++nDigits)
            nMantissa = nMantissa * 10;
        if (nDigits > 15)
            nMantissa = 0; // read below the long way
    } else if (nDigits == 0) {
        return false; // a sign alone or nothing
    }
    if (nDigits <= 15) {
        // The whole number is exact (below 10^15 < 2^53) and so is the power of ten, so the
        // one rounding of the division gives what ReadNumber gives: the same decimal, its
        // value rounded once.
        value = static_cast<double>(nMantissa) / kExactPowersOfTen[nFraction];
    } else {
        bool bDigits = false;
        value = std::fabs(ReadNumberRange(pStart, pEnd, bDigits));
    }
    if (bNegative)
        value = -value;
    return true;
}

bool CNumberRules::FormatRoundedNormal(double value, const CRoundSpec& spec, int nDecimals, std::string& text,
                                       double& stored)
{
    char buffer[kFormatBuffer];
    const char* pText = nullptr;
    size_t nLength = 0;
    if (!FormatRoundedInto(value, spec, nDecimals, buffer, pText, nLength, stored))
        return false;
    text.assign(pText, nLength);
    return true;
}

CString CNumberRules::FormatNormal(const CDecimal& value)
{
    CString text;
    value.AppendFixed(text.str(), 6);
    return text;
}

CNumberRules::CRoundSpec CNumberRules::ParseRoundSpec(const char* lpszSpec)
{
    CRoundSpec spec;
    CString strSpec(lpszSpec);
    strSpec.MakeUpper();
    if (strSpec.Find('U') >= 0)
        spec.mode = CDecimal::roundUp;
    else if (strSpec.Find('D') >= 0)
        spec.mode = CDecimal::roundDown;
    else if (strSpec.Find('F') >= 0)
        spec.mode = CDecimal::roundHalfUp;
    else
        return spec;
    const int nOpen = strSpec.Find('(');
    if (nOpen < 0)
        return spec;
    const CString strAfter = strSpec.Mid(nOpen + 1);
    const int nClose = strAfter.Find(')');
    if (nClose < 0)
        return spec;
    // The whole number between them, read as atoi reads: blanks, one sign, digits.
    const CString strNumber = strAfter.Left(nClose);
    const char* p = strNumber;
    while (IsSpace(*p))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-') {
        bNegative = (*p == '-');
        ++p;
    }
    long n = 0;
    for (; IsDigit(*p); ++p) {
        if (n < kMaxRoundPosition * 10)
            n = n * 10 + (*p - '0');
    }
    if (bNegative)
        n = -n;
    if (n == 0)
        return spec;
    if (n < 0)
        ++n; // -1 rounds away the first decimal: whole units remain
    spec.bActive = true;
    spec.nPosition = static_cast<int>(
        std::clamp(n, static_cast<long>(-kMaxRoundPosition), static_cast<long>(kMaxRoundPosition)));
    return spec;
}

double CNumberRules::RoundBySpec(double value, const char* lpszSpec)
{
    if (value > -ZERO_TOLERANCE && value < ZERO_TOLERANCE)
        return value;
    const CRoundSpec spec = ParseRoundSpec(lpszSpec);
    if (!spec.bActive)
        return value;
    CDecimal number = CDecimal::FromDouble(value);
    RoundBySpec(number, spec);
    return number.ToDouble();
}

void CNumberRules::RoundBySpec(CDecimal& value, const CRoundSpec& spec)
{
    if (!spec.bActive || value.IsBelowPowerOfTen(-10))
        return;
    value.Round(spec.nPosition, spec.mode);
}

double CNumberRules::SplitFraction(double value, double& integerPart)
{
    char buffer[400];
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof(buffer), value + 1e-11, std::chars_format::fixed, 10);
    const char* pPoint = std::find(buffer, r.ptr, '.');
    integerPart = 0.0;
    std::from_chars(buffer, pPoint, integerPart, std::chars_format::fixed);
    std::string fraction = "0";
    fraction.append(pPoint, static_cast<size_t>(r.ptr - pPoint));
    double fractionPart = 0.0;
    std::from_chars(fraction.data(), fraction.data() + fraction.size(), fractionPart,
                    std::chars_format::fixed);
    return fractionPart;
}

CNumberRules::CPicture CNumberRules::ParsePicture(const char* lpszPicture)
{
    CPicture picture;
    const CString strPicture(lpszPicture);
    std::string text;
    const int nComma = strPicture.Find(',');
    if (nComma >= 0) {
        text = kGroupTemplate;
        text.append(strPicture.str(), static_cast<size_t>(nComma), std::string::npos);
    } else {
        text = strPicture.str();
    }
    picture.marks.resize(text.size());
    int nPoint = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[text.size() - 1 - i];
        if (ch == ',') {
            picture.marks[i] = ',';
            picture.bSeparators = true;
        } else if (ch == '.') {
            picture.marks[i] = '.';
            if (nPoint < 0)
                nPoint = static_cast<int>(i);
        } else {
            picture.marks[i] = '#';
        }
    }
    picture.nDecimals = nPoint > 0 ? nPoint : 0;
    return picture;
}

CString CNumberRules::FormatByPicture(double value, const char* lpszPicture, bool bSeparators)
{
    return FormatByPicture(CDecimal::FromDouble(value), ParsePicture(lpszPicture), bSeparators);
}

CString CNumberRules::FormatByPicture(const CDecimal& value, const CPicture& picture, bool bSeparators)
{
    std::string digits;
    value.Abs().AppendFixed(digits, picture.nDecimals);
    CString text;
    std::string& out = text.str();
    out.reserve(digits.size() + digits.size() / 3 + 2);
    if (value.IsNegative())
        out.push_back('-');
    if (!bSeparators || !picture.bSeparators) {
        out += digits;
        return text;
    }
    // Walk the printed digits from the right beside the picture read from its right end; a
    // separator of the picture takes a place of its own in front of the digit there.
    std::string reversed;
    reversed.reserve(digits.size() * 2);
    size_t nMark = 0;
    for (size_t i = digits.size(); i-- > 0;) {
        while (nMark < picture.marks.size() && picture.marks[nMark] == ',') {
            reversed.push_back(',');
            ++nMark;
        }
        reversed.push_back(digits[i]);
        ++nMark;
    }
    out.append(reversed.rbegin(), reversed.rend());
    return text;
}

bool CNumberRules::EvaluateExpression(const char* lpszText, double& result)
{
    if (lpszText == nullptr) {
        result = 0.0;
        return FALSE;
    }
    return EvaluateExpression(lpszText, lpszText + std::strlen(lpszText), result);
}

bool CNumberRules::EvaluateExpression(const char* pBegin, const char* pEnd, double& result)
{
    CFormulaReader reader(pBegin, pEnd);
    CFormulaReader::CValue value = reader.Evaluate();
    if (reader.IsTooDeep())
        value = CFormulaReader::CValue{};
    result = value.bEmpty ? 0.0 : value.value;
    return !value.bEmpty;
}

bool CNumberRules::CompileFormula(const std::vector<std::string>& segments, std::string& compiled)
{
    compiled.clear();
    if (segments.empty() || segments.size() - 1 > kMaxSlots)
        return false;
    for (const std::string& segment : segments) {
        for (char ch : segment) {
            if (!IsDigit(ch) && ch != ' ' && ch != '.' && ch != '(' && ch != ')' &&
                !(ch != '\0' && IsOperator(ch)))
                return false;
        }
    }
    const size_t nRefs = segments.size() - 1;
    for (size_t i = 0; i < nRefs; ++i) {
        // Before the reference: the start, an operator or "(" (blanks aside).
        const std::string& before = segments[i];
        size_t n = before.size();
        while (n > 0 && before[n - 1] == ' ')
            --n;
        if (n == 0 ? i > 0 : std::strchr("+-*/(", before[n - 1]) == nullptr)
            return false;
        // After it: the end, an operator or a parenthesis (blanks aside).
        const std::string& after = segments[i + 1];
        size_t k = 0;
        while (k < after.size() && after[k] == ' ')
            ++k;
        if (k == after.size() ? i + 1 < nRefs : std::strchr("+-*/()", after[k]) == nullptr)
            return false;
    }
    // Parentheses stand where an operand does: "(" after the start, an operator or "(",
    // and ")" before the end, an operator or ")" (blanks aside). The text way joins the
    // texts around a parenthesis without an operator ("(B)(C)" becomes "B-C" for a
    // negative C), which the reader does not.
    std::string shape; // the formula with each reference an "R"
    for (size_t i = 0; i < segments.size(); ++i) {
        shape += segments[i];
        if (i < nRefs)
            shape.push_back('R');
    }
    char chBefore = '\0';
    for (size_t i = 0; i < shape.size(); ++i) {
        const char ch = shape[i];
        if (ch == ' ')
            continue;
        if (ch == '(' && chBefore != '\0' && std::strchr("+-*/(", chBefore) == nullptr)
            return false;
        if (chBefore == ')' && std::strchr("+-*/)", ch) == nullptr)
            return false;
        chBefore = ch;
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        compiled += segments[i];
        if (i < nRefs) {
            compiled.push_back(kSlotMark);
            compiled.push_back(static_cast<char>(kSlotBase + static_cast<int>(i)));
        }
    }
    return true;
}

bool CNumberRules::EvaluateCompiled(const std::string& compiled, const double* pValues, double& result)
{
    // The usual row formula, two references and an operator between them with nothing
    // else ("C*E"), is worked out directly, as the reader would: two operands with text.
    if (compiled.size() == 5 && compiled[0] == kSlotMark && compiled[3] == kSlotMark) {
        const double a = pValues[static_cast<BYTE>(compiled[1]) - kSlotBase];
        const double b = pValues[static_cast<BYTE>(compiled[4]) - kSlotBase];
        switch (compiled[2]) {
        case '*':
            result = a * b;
            return true;
        case '+':
            result = a + b;
            return true;
        case '-':
            result = a - b;
            return true;
        case '/':
            if (b > -ZERO_TOLERANCE && b < ZERO_TOLERANCE)
                break; // the term is dropped: nothing is left
            result = a / b;
            return true;
        default:
            break;
        }
    }
    CFormulaReader reader(compiled.data(), compiled.data() + compiled.size(), pValues);
    CFormulaReader::CValue value = reader.Evaluate();
    if (reader.IsTooDeep())
        value = CFormulaReader::CValue{};
    result = value.bEmpty ? 0.0 : value.value;
    return !value.bEmpty;
}

CString CNumberRules::EvaluateFormula(const char* lpszText)
{
    const char* pText = lpszText != nullptr ? lpszText : "";
    const char* pEnd = pText + std::strlen(pText);
    // A text with no operator and no parenthesis is a plain value (or a word) and is
    // handed back as it is. A leading sign alone is no operator either.
    const char* pFirst = pText;
    while (pFirst < pEnd && IsSpace(*pFirst))
        ++pFirst;
    if (pFirst < pEnd && (*pFirst == '+' || *pFirst == '-'))
        ++pFirst;
    if (std::find_if(pFirst, pEnd, [](char ch) { return std::strchr("+-*/()", ch) != nullptr; }) == pEnd)
        return CString(lpszText);
    double value = 0.0;
    if (!EvaluateExpression(pText, pEnd, value))
        return CString();
    return FormatNormal(value);
}

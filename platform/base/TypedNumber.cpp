#include "platform/base/TypedNumber.h"

namespace {

// The characters a number may be written with, ASCII or their code page 932 full-width
// forms.
enum class ENumberMark { none, digit, separator, point, plus, minus, yen, en, blank };

// The mark at p (a digit's value in nDigit) and the bytes it takes. bTyped admits the
// full-width forms and the marks of money; without it only ASCII digits, blanks and
// ". - + ," are marks.
ENumberMark NumberMarkAt(const unsigned char* p, bool bTyped, int& nDigit, int& nBytes)
{
    nBytes = 1;
    const unsigned c = p[0];
    if (c >= '0' && c <= '9') {
        nDigit = static_cast<int>(c - '0');
        return ENumberMark::digit;
    }
    switch (c) {
    case ',':
        return ENumberMark::separator;
    case '.':
        return ENumberMark::point;
    case '+':
        return ENumberMark::plus;
    case '-':
        return ENumberMark::minus;
    case ' ':
        return ENumberMark::blank;
    default:
        break;
    }
    if (!bTyped)
        return ENumberMark::none;
    if (c == '\\')
        return ENumberMark::yen;
    // Every full-width mark has a lead byte of 0x81, 0x82 or 0x89, whose trail byte is
    // never the terminating zero here.
    if ((c != 0x81 && c != 0x82 && c != 0x89) || p[1] == 0)
        return ENumberMark::none;
    nBytes = 2;
    const unsigned code = c << 8 | p[1];
    if (code >= 0x824F && code <= 0x8258) { // "０" to "９"
        nDigit = static_cast<int>(code - 0x824F);
        return ENumberMark::digit;
    }
    switch (code) {
    case 0x8141: // "、"
    case 0x8143: // "，"
        return ENumberMark::separator;
    case 0x8142: // "。"
    case 0x8144: // "．"
        return ENumberMark::point;
    case 0x817B: // "＋"
        return ENumberMark::plus;
    case 0x817C: // "－"
    case 0x81A2: // "△" and "▲": the minus of Japanese accounts
    case 0x81A3:
        return ENumberMark::minus;
    case 0x818F: // "￥"
        return ENumberMark::yen;
    case 0x897E: // "円"
        return ENumberMark::en;
    case 0x8140: // the full-width blank
        return ENumberMark::blank;
    default:
        return ENumberMark::none;
    }
}

// Reads a number text as ReadTypedNumber describes it; pPlain (may be null) receives the
// plain form.
bool ScanNumberText(const char* lpszText, bool bTyped, std::string* pPlain)
{
    if (lpszText == nullptr)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(lpszText);
    // What may come next, in the order a number is written: sign and yen mark (each once,
    // in either order), the digits of the whole part with their separators, the point and
    // the decimals, "円" last. Blanks do not count anywhere: "1 200" is 1200 as "1,200" is.
    enum { lead, whole, fraction, end } part = lead;
    bool bSign = false, bYen = false, bNegative = false, bAnyDigit = false;
    // The whole part's groups between separators: how many, the first one's digits and the
    // digits of the group being read.
    int nGroups = 1, nFirstGroup = 0, nGroupSize = 0, nGroup = 0;
    bool bSeparatorLast = false;
    std::string number;
    while (*p != 0) {
        int nDigit = 0, nBytes = 1;
        const ENumberMark mark = NumberMarkAt(p, bTyped, nDigit, nBytes);
        p += nBytes;
        switch (mark) {
        case ENumberMark::none:
            return false;
        case ENumberMark::blank:
            continue;
        case ENumberMark::plus:
        case ENumberMark::minus:
            if (part != lead || bSign)
                return false;
            bSign = true;
            bNegative = mark == ENumberMark::minus;
            continue;
        case ENumberMark::yen:
            if (part != lead || bYen)
                return false;
            bYen = true;
            continue;
        case ENumberMark::digit:
            if (part == end)
                return false;
            if (part == lead)
                part = whole;
            if (part == whole)
                ++nGroup;
            number += static_cast<char>('0' + nDigit);
            bAnyDigit = true;
            bSeparatorLast = false;
            continue;
        case ENumberMark::separator:
            // Between two digits of the whole part, every later group as long as the second.
            if (part != whole || nGroup == 0)
                return false;
            if (nGroups == 1)
                nFirstGroup = nGroup;
            else if (nGroupSize == 0)
                nGroupSize = nGroup;
            else if (nGroup != nGroupSize)
                return false;
            ++nGroups;
            nGroup = 0;
            bSeparatorLast = true;
            continue;
        case ENumberMark::point:
            if (part != lead && part != whole)
                return false;
            if (bSeparatorLast)
                return false;
            part = fraction;
            number += '.';
            continue;
        case ENumberMark::en:
            if (part != whole && part != fraction)
                return false;
            part = end;
            continue;
        }
    }
    if (!bAnyDigit || bSeparatorLast)
        return false;
    if (nGroups > 1) {
        // The last group ended the whole part (at the point, "円" or the end).
        if (nGroupSize == 0)
            nGroupSize = nGroup;
        else if (nGroup != nGroupSize)
            return false;
        if ((nGroupSize != 3 && nGroupSize != 4) || nFirstGroup > nGroupSize)
            return false;
    }
    if (pPlain != nullptr) {
        if (number.back() == '.')
            number.pop_back();
        *pPlain = bNegative ? "-" + number : number;
    }
    return true;
}

} // namespace

bool ReadTypedNumberText(const char* lpszText, std::string& plain)
{
    return ScanNumberText(lpszText, true, &plain);
}

bool ReadStoredNumberText(const char* lpszText, std::string* pPlain)
{
    return ScanNumberText(lpszText, false, pPlain);
}

#include "platform/base/Cp932Text.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr unsigned char kSymbolLead = 0x81;
constexpr unsigned char kLetterLead = 0x82;
constexpr unsigned char kFullWidthBlankTrail = 0x40;

unsigned char ByteAt(const char* p, size_t i)
{
    return static_cast<unsigned char>(p[i]);
}

// The ASCII character a full-width sign (lead byte 0x81) stands for in a number, or 0.
char SymbolToAscii(unsigned char trail)
{
    switch (trail) {
    case 0x41: // 、
    case 0x43: // ，
        return ',';
    case 0x42: // 。
    case 0x44: // ．
        return '.';
    case 0x5E: // ／
    case 0x80: // ÷
        return '/';
    case 0x7B: // ＋
        return '+';
    case 0x7C: // －
        return '-';
    case 0x7E: // ×
    case 0x96: // ＊
        return '*';
    case 0x81: // ＝
        return '=';
    default:
        return 0;
    }
}

// Skips the blank at text[i], if any, and returns how many bytes it took (0 when the
// character there is not a blank).
size_t BlankLength(const char* text, size_t i)
{
    switch (IsBlankChar(text + i)) {
    case -1:
        return 1;
    case -2:
        return 2;
    default:
        return 0;
    }
}

// The ASCII form of a typed number, or nothing when the text holds a character that
// cannot be part of one (or the result would not fit the converters' limit).
std::optional<std::string> ConvertNumber(const char* text, bool keepAsciiDigits)
{
    std::string out;
    size_t i = 0;
    while (text[i] != '\0') {
        if (const size_t blank = BlankLength(text, i)) {
            i += blank;
            continue;
        }
        const unsigned char lead = ByteAt(text, i);
        if (lead == kLetterLead) {
            const unsigned char trail = ByteAt(text, i + 1);
            if (trail < 0x4F || trail > 0x58)
                return std::nullopt;
            out += static_cast<char>('0' + (trail - 0x4F));
            i += 2;
        } else if (lead == kSymbolLead) {
            // A lone lead byte at the end meets the terminating zero here, which is no
            // table entry, so the walk never steps past the text.
            const char ascii = SymbolToAscii(ByteAt(text, i + 1));
            if (ascii == 0)
                return std::nullopt;
            out += ascii;
            i += 2;
        } else if (keepAsciiDigits && lead >= '0' && lead <= '9') {
            out += static_cast<char>(lead);
            i += 1;
        } else {
            return std::nullopt;
        }
        if (out.size() > static_cast<size_t>(MAX_HALF_WIDTH_NUMBER))
            return std::nullopt;
    }
    return out;
}

int ConvertInPlace(char* text, bool keepAsciiDigits)
{
    if (text == nullptr)
        return -1;
    const std::optional<std::string> converted = ConvertNumber(text, keepAsciiDigits);
    if (!converted)
        return -1;
    // Every converted character takes at most as many bytes as it had, so the result
    // always fits where the text was.
    std::memcpy(text, converted->c_str(), converted->size() + 1);
    return 0;
}

int ConvertString(CString& text, bool keepAsciiDigits)
{
    const std::optional<std::string> converted = ConvertNumber(text.c_str(), keepAsciiDigits);
    if (!converted)
        return -1;
    text = CString(*converted);
    return 0;
}

// Position of the first character that is not a blank.
size_t SkipBlanks(const char* text)
{
    size_t i = 0;
    while (text[i] != '\0') {
        const size_t blank = BlankLength(text, i);
        if (blank == 0)
            break;
        i += blank;
    }
    return i;
}

int Classify(const char* text, bool& allBlank)
{
    const size_t i = SkipBlanks(text);
    allBlank = text[i] == '\0';
    if (allBlank)
        return 0;
    switch (ByteAt(text, i)) {
    case kSymbolLead:
        return 0;
    case kLetterLead:
        return 1;
    default:
        return -1;
    }
}

} // namespace

int IsBlankChar(const char* p)
{
    if (p == nullptr)
        return 0;
    if (p[0] == ' ')
        return -1;
    if (ByteAt(p, 0) == kSymbolLead && ByteAt(p, 1) == kFullWidthBlankTrail)
        return -2;
    return 0;
}

int ToHalfWidthNumber(char* text)
{
    return ConvertInPlace(text, false);
}
int ToHalfWidthNumber(CString& text)
{
    return ConvertString(text, false);
}
int ToHalfWidthNumberMixed(char* text)
{
    return ConvertInPlace(text, true);
}
int ToHalfWidthNumberMixed(CString& text)
{
    return ConvertString(text, true);
}

int ClassifyFullWidthText(char* text)
{
    if (text == nullptr)
        return 0;
    bool allBlank = false;
    const int result = Classify(text, allBlank);
    if (allBlank)
        text[0] = '\0';
    return result;
}

int ClassifyFullWidthText(CString& text)
{
    bool allBlank = false;
    const int result = Classify(text.c_str(), allBlank);
    if (allBlank)
        text.Empty();
    return result;
}

CString TrimBlanks(const CString& text)
{
    // A trail byte is never 0x20, so the blanks can be found byte by byte.
    const std::string& bytes = text.str();
    const size_t nFirst = bytes.find_first_not_of(' ');
    if (nFirst == std::string::npos)
        return CString();
    return CString(bytes.substr(nFirst, bytes.find_last_not_of(' ') + 1 - nFirst));
}

CString RemoveLineBreaks(const CString& text)
{
    std::string bytes = text.str();
    std::erase_if(bytes, [](char ch) { return ch == '\r' || ch == '\n'; });
    return CString(std::move(bytes));
}

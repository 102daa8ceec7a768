// Code page 932 conversions.
//
// The character tables are compiled in (Cp932Tables.inc, written from glibc's "CP932"
// converter by scripts/gen_cp932_tables.sh) and unpacked into two direct lookup tables on
// first use, so a conversion is a table lookup per character: the painting code (that
// converts every cell text it draws) makes no iconv calls and takes no locks, and the first
// text converted in a process costs no more than the unpacking. The encoding keeps the
// converter's choice among duplicate codes (NEC and IBM extensions), so a text read from a
// file and written back comes out as the same characters.
#include "platform/base/Cp932.h"

#include "platform/base/Cp932TableBuild.h"

#include <array>
#include <memory>

namespace {

#include "platform/base/Cp932Tables.inc"

using cp932_tables::IsTrailByte;
using cp932_tables::kReplacement;
constexpr char kUnknownByte = '?';

class CCp932Tables {
public:
    CCp932Tables();

    // Unicode of a single byte, or U+FFFD when the byte is no character on its own.
    char16_t Single(BYTE b) const { return m_t.toUnicode[b]; }
    // Unicode of a lead/trail pair, or U+FFFD when the pair is unassigned.
    char16_t Double(BYTE lead, BYTE trail) const { return m_t.toUnicode[(lead << 8) | trail]; }
    // Code page 932 code of a basic-plane character: one byte (< 0x100) or a pair
    // (lead << 8 | trail); -1 when the character has no code.
    int Encode(char32_t cp) const
    {
        if (cp == 0)
            return 0;
        if (cp > 0xFFFF)
            return -1;
        const WORD code = m_t.fromUnicode[cp];
        return code == 0 ? -1 : code;
    }

private:
    cp932_tables::CTables m_t;
};

CCp932Tables::CCp932Tables()
{
    m_t.toUnicode.fill(kReplacement);
    for (int b = 0; b < 0x100; ++b)
        m_t.toUnicode[static_cast<size_t>(b)] = kCp932Singles[b];
    const char16_t* pPair = kCp932Pairs;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<BYTE>(lead)))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (IsTrailByte(static_cast<BYTE>(trail)))
                m_t.toUnicode[static_cast<size_t>((lead << 8) | trail)] = *pPair++;
        }
    }
    cp932_tables::DeriveEncoding(m_t.toUnicode, m_t.fromUnicode);
    cp932_tables::ApplyYenRule(m_t.fromUnicode);
    for (const auto& exception : kCp932EncodingExceptions)
        m_t.fromUnicode[exception.unicode] = exception.code;
}

const CCp932Tables& Tables()
{
    static const std::unique_ptr<CCp932Tables> tables = std::make_unique<CCp932Tables>();
    return *tables;
}

// Walks code page 932 text and calls emit(char32_t) for each character.
template <typename Emit>
void DecodeCp932(std::string_view s, bool forDisplay, Emit emit)
{
    const CCp932Tables& t = Tables();
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const BYTE b = static_cast<BYTE>(s[i]);
        if (b < 0x80) {
            emit(forDisplay && b == 0x5C ? char32_t(0xA5) : char32_t(b));
            ++i;
        } else if (IsCp932LeadByte(b)) {
            if (i + 1 < n && IsTrailByte(static_cast<BYTE>(s[i + 1]))) {
                emit(t.Double(b, static_cast<BYTE>(s[i + 1])));
                i += 2;
            } else {
                // A lead byte without a proper trail byte: only the lead byte is lost, so
                // that an ASCII character after it survives.
                emit(kReplacement);
                ++i;
            }
        } else {
            emit(t.Single(b));
            ++i;
        }
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendCp932(std::string& out, const CCp932Tables& t, char32_t cp)
{
    const int code = t.Encode(cp);
    if (code < 0) {
        out += kUnknownByte;
    } else if (code < 0x100) {
        out += static_cast<char>(code);
    } else {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
}

// Decodes one UTF-8 sequence at s[i]; returns its length and stores the code point, or
// returns 1 with cp = U+FFFD for a malformed byte (overlong forms, surrogates and values
// beyond U+10FFFF included).
size_t DecodeUtf8(std::string_view s, size_t i, char32_t* cp)
{
    const BYTE b0 = static_cast<BYTE>(s[i]);
    *cp = kReplacement;
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    size_t len;
    char32_t value;
    char32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        value = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        value = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        value = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 1;
    }
    if (i + len > s.size())
        return 1;
    for (size_t k = 1; k < len; ++k) {
        const BYTE b = static_cast<BYTE>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return 1;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 1;
    *cp = value;
    return len;
}

bool IsAsciiWithoutBackslash(std::string_view s)
{
    for (char c : s) {
        if (static_cast<BYTE>(c) >= 0x80 || c == 0x5C)
            return false;
    }
    return true;
}

bool IsAscii(std::string_view s)
{
    for (char c : s) {
        if (static_cast<BYTE>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

int Cp932CharLength(const char* p)
{
    if (!p || *p == '\0')
        return 1;
    if (IsCp932LeadByte(static_cast<BYTE>(p[0])) && p[1] != '\0')
        return 2;
    return 1;
}

std::string Cp932ToUtf8(std::string_view cp932, bool forDisplay)
{
    // Most texts the program handles (numbers, codes, file names) are plain ASCII.
    if (forDisplay ? IsAsciiWithoutBackslash(cp932) : IsAscii(cp932))
        return std::string(cp932);
    std::string out;
    out.reserve(cp932.size() * 3 / 2 + 4);
    DecodeCp932(cp932, forDisplay, [&out](char32_t cp) { AppendUtf8(out, cp); });
    return out;
}

std::u16string Cp932ToUtf16(std::string_view cp932, bool forDisplay)
{
    std::u16string out;
    out.reserve(cp932.size());
    DecodeCp932(cp932, forDisplay, [&out](char32_t cp) { out += static_cast<char16_t>(cp); });
    return out;
}

std::string Utf8ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    const CCp932Tables& t = Tables();
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp;
        i += DecodeUtf8(utf8, i, &cp);
        AppendCp932(out, t, cp);
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view utf16)
{
    const CCp932Tables& t = Tables();
    std::string out;
    out.reserve(utf16.size() * 2);
    size_t i = 0;
    while (i < utf16.size()) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            // A character outside the basic plane: code page 932 has none of them.
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            i += 2;
        } else {
            if (cp >= 0xD800 && cp <= 0xDFFF)
                cp = kReplacement;
            ++i;
        }
        AppendCp932(out, t, cp);
    }
    return out;
}

size_t FindMalformedUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        char32_t cp;
        const size_t n = DecodeUtf8(s, i, &cp);
        // A replacement character that stands in the text is one; one that DecodeUtf8 gives
        // for a malformed byte takes that byte alone.
        if (cp == kReplacement && !(n == 3 && s.substr(i, 3) == "\xEF\xBF\xBD"))
            return i;
        i += n;
    }
    return s.size();
}

size_t FindMalformedCp932(std::string_view s)
{
    const CCp932Tables& t = Tables();
    size_t i = 0;
    while (i < s.size()) {
        const BYTE b = static_cast<BYTE>(s[i]);
        if (b < 0x80) {
            ++i;
        } else if (IsCp932LeadByte(b)) {
            if (i + 1 >= s.size() || !IsTrailByte(static_cast<BYTE>(s[i + 1])) ||
                t.Double(b, static_cast<BYTE>(s[i + 1])) == kReplacement)
                return i;
            i += 2;
        } else {
            if (t.Single(b) == kReplacement)
                return i;
            ++i;
        }
    }
    return s.size();
}

std::string Utf8ToCp932(std::string_view utf8, std::string_view replacement, std::vector<size_t>* pMissing)
{
    const CCp932Tables& t = Tables();
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp;
        const size_t nAt = i;
        i += DecodeUtf8(utf8, i, &cp);
        if (t.Encode(cp) < 0) {
            out += replacement;
            if (pMissing != nullptr)
                pMissing->push_back(nAt);
        } else {
            AppendCp932(out, t, cp);
        }
    }
    return out;
}

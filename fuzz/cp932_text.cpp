// Code page 932 texts: the conversions at the edges of the system (file names, display,
// the clipboard), the character-aware operations of CString and the Shift-JIS number
// helpers of the cell editors. Every byte string is possible in a file. What the user
// relies on:
// - a text shown and typed back is the text shown again (conversion is stable);
//   UTF-8 and UTF-16 agree; what comes back from Unicode is valid CP932;
// - case mapping never alters a double-byte character and keeps the length; searches
//   answer on character boundaries;
// - the number helpers either convert to plain ASCII within their limit or leave the text
//   as it was.
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Cp932.h"
#include "platform/base/Cp932Text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The byte offsets at which characters start (CString's walk: a lead byte takes the next
// byte with it unless that is the end).
std::vector<bool> CharStarts(const std::string& s)
{
    std::vector<bool> starts(s.size() + 1, false);
    size_t i = 0;
    while (i < s.size()) {
        starts[i] = true;
        i += static_cast<size_t>(Cp932CharLength(s.c_str() + i));
    }
    starts[s.size()] = true;
    return starts;
}

bool HasReplacement(const std::string& utf8)
{
    return utf8.find("\xEF\xBF\xBD") != std::string::npos;
}

void CheckConversions(const std::string& bytes)
{
    for (bool bDisplay : {false, true}) {
        const std::string utf8 = Cp932ToUtf8(bytes, bDisplay);
        const std::u16string utf16 = Cp932ToUtf16(bytes, bDisplay);
        // UTF-16 and UTF-8 say the same.
        FUZZ_CHECK(Utf16ToCp932(utf16) == Utf8ToCp932(utf8));
        // Shown, typed back and shown again: the same text.
        const std::string back = Utf8ToCp932(utf8);
        FUZZ_CHECK(Cp932ToUtf8(back, bDisplay) == utf8 || HasReplacement(utf8));
    }
    // Any bytes taken as UTF-8 give valid CP932 ("?" where there is no such character).
    const std::string fromUtf8 = Utf8ToCp932(bytes);
    FUZZ_CHECK(!HasReplacement(Cp932ToUtf8(fromUtf8)) || HasReplacement(bytes));
}

void CheckCString(const std::string& bytes)
{
    // CString texts end at a NUL as C texts do.
    const CString text(bytes.c_str());
    const std::string& s = text.str();
    const std::vector<bool> starts = CharStarts(s);

    CString upper = text;
    upper.MakeUpper();
    CString lower = text;
    lower.MakeLower();
    FUZZ_CHECK(upper.GetLength() == text.GetLength() && lower.GetLength() == text.GetLength());
    for (size_t i = 0; i < s.size(); ++i) {
        const bool bSecond = !starts[i];
        const bool bDouble = starts[i] && i + 1 < s.size() && !starts[i + 1];
        if (bSecond || bDouble) {
            FUZZ_CHECK(upper.str()[i] == s[i] && lower.str()[i] == s[i]);
        }
    }
    for (char ch : {'\\', 'a', 'A', '[', ']', '|', '~', '@'}) {
        const int nFind = text.Find(ch);
        const int nReverse = text.ReverseFind(ch);
        FUZZ_CHECK(nFind < 0 || (starts[static_cast<size_t>(nFind)] && s[static_cast<size_t>(nFind)] == ch));
        FUZZ_CHECK(nReverse < 0 ||
                   (starts[static_cast<size_t>(nReverse)] && s[static_cast<size_t>(nReverse)] == ch));
        FUZZ_CHECK((nFind < 0) == (nReverse < 0) && nFind <= nReverse);
    }
    CString trimmed = text;
    trimmed.Trim();
    FUZZ_CHECK(trimmed.GetLength() <= text.GetLength());
    FUZZ_CHECK(text.CompareNoCase(upper) == 0 && upper.CompareNoCase(lower) == 0);
}

void CheckNumberHelpers(const std::string& bytes)
{
    const CString text(bytes.c_str());
    const CString trimmed = TrimBlanks(text);
    FUZZ_CHECK(trimmed.GetLength() <= text.GetLength());
    if (!text.IsEmpty())
        (void)IsBlankChar(text);

    for (bool bMixed : {false, true}) {
        CString converted = text;
        const int nResult = bMixed ? ToHalfWidthNumberMixed(converted) : ToHalfWidthNumber(converted);
        if (nResult != 0) {
            FUZZ_CHECK(nResult == -1 && converted == text);
        } else {
            FUZZ_CHECK(converted.GetLength() <= MAX_HALF_WIDTH_NUMBER);
            for (char ch : converted.str())
                FUZZ_CHECK(static_cast<unsigned char>(ch) < 0x80);
        }
        // The char* form does the same in place.
        std::vector<char> buffer(bytes.c_str(), bytes.c_str() + std::strlen(bytes.c_str()) + 1);
        const int nInPlace =
            bMixed ? ToHalfWidthNumberMixed(buffer.data()) : ToHalfWidthNumber(buffer.data());
        FUZZ_CHECK(nInPlace == nResult && CString(buffer.data()) == converted);
    }

    CString classified = text;
    const int nClass = ClassifyFullWidthText(classified);
    FUZZ_CHECK(nClass >= -1 && nClass <= 1);
    FUZZ_CHECK(classified == text || (classified.IsEmpty() && nClass == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckConversions(bytes);
    CheckCString(bytes);
    CheckNumberHelpers(bytes);
    return 0;
}

// Code page 932 (Shift-JIS) character rules and conversions to and from Unicode.
#pragma once

#include "Types.h"

#include <string>
#include <string_view>
#include <vector>

// Lead bytes of double-byte characters: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsCp932LeadByte(BYTE b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline BOOL IsDBCSLeadByte(BYTE b)
{
    return IsCp932LeadByte(b) ? TRUE : FALSE;
}

// Length in bytes (1 or 2) of the character starting at p; a lead byte followed by the
// terminating zero counts as one byte so that walks never step past the end.
int Cp932CharLength(const char* p);

// Conversions. Unconvertible bytes become U+FFFD (to Unicode) or "?" (to CP932).
// With forDisplay, the single byte 0x5C is shown as "¥" (U+00A5) as Japanese fonts show
// it; otherwise it stays "\" (file names and other machine text).
std::string Cp932ToUtf8(std::string_view cp932, bool forDisplay = false);
std::u16string Cp932ToUtf16(std::string_view cp932, bool forDisplay = false);
// Both "\" and "¥" become the byte 0x5C.
std::string Utf8ToCp932(std::string_view utf8);
std::string Utf16ToCp932(std::u16string_view utf16);

// The offset of the first byte of s that starts no well-formed UTF-8 character (overlong
// forms, surrogates and values beyond U+10FFFF are not well-formed); s.size() when every
// byte is part of one.
size_t FindMalformedUtf8(std::string_view s);
// The offset of the first byte of s that starts no code page 932 character: a byte that is
// no character alone, or a lead byte whose pair is no assigned character; s.size() when
// there is none.
size_t FindMalformedCp932(std::string_view s);
// Utf8ToCp932 for a text of well-formed UTF-8 whose characters code page 932 lacks become
// replacement; the offset in utf8 of each of them is added to pMissing (which may be null).
std::string Utf8ToCp932(std::string_view utf8, std::string_view replacement, std::vector<size_t>* pMissing);

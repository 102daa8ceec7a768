// Code page 932 (Shift-JIS) character rules and conversions to and from Unicode.
#pragma once

#include "Types.h"

#include <string>
#include <string_view>

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

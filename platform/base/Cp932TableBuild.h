// How the code page 932 character tables are made from the C library's "CP932" converter.
//
// The program does not call the converter at run time: scripts/gen_cp932_tables.sh runs
// these functions once and writes their answers into Cp932Tables.inc, which Cp932.cpp
// compiles in. The test that holds the compiled tables against the converter runs them
// again, character by character.
//
// Decoding: every single byte and every lead/trail pair is decoded. Encoding: every Unicode
// character of the basic plane is encoded, keeping the converter's choice among duplicate
// codes (NEC and IBM extensions), so that a text read from a file and written back comes
// out as the same characters.
#pragma once

#include "platform/base/Cp932.h"

#include <array>
#include <iconv.h>

namespace cp932_tables {

constexpr char16_t kReplacement = 0xFFFD;

struct CTables {
    std::array<char16_t, 0x10000> toUnicode; // code (byte, or lead << 8 | trail) -> Unicode
    std::array<WORD, 0x10000> fromUnicode;   // Unicode -> code; 0: no code
};

inline bool IsTrailByte(BYTE b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// A code that can stand in a text: a single byte that is no lead byte, or a lead byte
// with a trail byte.
inline bool IsCharacterCode(int code)
{
    if (code < 0x100)
        return !IsCp932LeadByte(static_cast<BYTE>(code));
    return IsCp932LeadByte(static_cast<BYTE>(code >> 8)) && IsTrailByte(static_cast<BYTE>(code & 0xFF));
}

// The encoding that the decoding table gives by itself: each character gets the first code
// (in code order) that decodes to it. fromUnicode is overwritten.
inline void DeriveEncoding(const std::array<char16_t, 0x10000>& toUnicode,
                           std::array<WORD, 0x10000>& fromUnicode)
{
    fromUnicode.fill(0);
    for (int code = 1; code < 0x10000; ++code) {
        if (!IsCharacterCode(code))
            continue;
        const char16_t u = toUnicode[static_cast<size_t>(code)];
        if (u == kReplacement || u == 0)
            continue;
        if (fromUnicode[u] == 0)
            fromUnicode[u] = static_cast<WORD>(code);
    }
}

// The last corrections, applied after everything else: both the backslash and the yen
// sign are typed for the byte 0x5C.
inline void ApplyYenRule(std::array<WORD, 0x10000>& fromUnicode)
{
    fromUnicode[0x5C] = 0x5C;
    fromUnicode[0xA5] = 0x5C;
}

// Builds both tables from the converter; false when the C library has no CP932 converter.
inline bool BuildFromIconv(CTables& t)
{
    t.toUnicode.fill(kReplacement);
    t.fromUnicode.fill(0);
    iconv_t decoder = iconv_open("UTF-16LE", "CP932");
    iconv_t encoder = iconv_open("CP932", "UTF-16LE");
    const iconv_t failed = reinterpret_cast<iconv_t>(-1);
    if (decoder == failed || encoder == failed) {
        if (decoder != failed)
            iconv_close(decoder);
        if (encoder != failed)
            iconv_close(encoder);
        return false;
    }
    auto convert = [](iconv_t cd, const char* in, size_t inLen, char* out, size_t outCap, size_t* outLen) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* pIn = const_cast<char*>(in);
        char* pOut = out;
        size_t inLeft = inLen, outLeft = outCap;
        const size_t r = iconv(cd, &pIn, &inLeft, &pOut, &outLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        *outLen = outCap - outLeft;
        return true;
    };
    char out[8];
    size_t outLen = 0;
    auto decode = [&](const char* in, size_t n) -> char16_t {
        if (!convert(decoder, in, n, out, sizeof out, &outLen) || outLen != 2)
            return kReplacement;
        return static_cast<char16_t>(static_cast<BYTE>(out[0]) | (static_cast<BYTE>(out[1]) << 8));
    };

    for (int code = 0; code < 0x10000; ++code) {
        if (!IsCharacterCode(code))
            continue;
        if (code < 0x100) {
            const char in[1] = {static_cast<char>(code)};
            t.toUnicode[static_cast<size_t>(code)] = decode(in, 1);
        } else {
            const char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            t.toUnicode[static_cast<size_t>(code)] = decode(in, 2);
        }
    }

    for (char32_t cp = 1; cp <= 0xFFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        if (cp < 0x80) {
            // glibc keeps ASCII as it is; the table is filled directly to save the calls.
            t.fromUnicode[cp] = static_cast<WORD>(cp);
            continue;
        }
        const char in[2] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
        if (!convert(encoder, in, 2, out, sizeof out, &outLen))
            continue;
        WORD code = 0;
        if (outLen == 1)
            code = static_cast<BYTE>(out[0]);
        else if (outLen == 2)
            code = static_cast<WORD>((static_cast<BYTE>(out[0]) << 8) | static_cast<BYTE>(out[1]));
        else
            continue;
        // Only keep answers that decode back to a character. Some characters are
        // accepted for a code that decodes to a look-alike (the wave dash U+301C for
        // 0x81 0x60, which decodes to U+FF5E): that is what an input method on this
        // desktop types for the character users mean.
        if (t.toUnicode[code] == kReplacement)
            continue;
        t.fromUnicode[cp] = code;
    }
    iconv_close(decoder);
    iconv_close(encoder);

    // Every character that a code decodes to must encode to a code that decodes to the
    // same character again; fill any gap with the first code that produced it.
    for (int code = 1; code < 0x10000; ++code) {
        const char16_t u = t.toUnicode[static_cast<size_t>(code)];
        if (u == kReplacement || u == 0)
            continue;
        if (code < 0x100 && IsCp932LeadByte(static_cast<BYTE>(code)))
            continue;
        const WORD current = t.fromUnicode[u];
        if (current == 0 || t.toUnicode[current] != u)
            t.fromUnicode[u] = static_cast<WORD>(code);
    }
    ApplyYenRule(t.fromUnicode);
    return true;
}

} // namespace cp932_tables

#!/bin/bash
# Writes platform/base/Cp932Tables.inc: the code page 932 character tables as the C
# library's "CP932" converter answers them (platform/base/Cp932TableBuild.h), to be compiled
# into the program. Run it again only to take in another C library's answers; the test
# Cp932Tables.MatchTheConverterForEveryCode says when they differ.
#   scripts/gen_cp932_tables.sh
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d /tmp/gen_cp932-XXXXXX)"
trap 'rm -rf "$work"' EXIT
cat >"$work/gen.cpp" <<'CPP'
#include "platform/base/Cp932TableBuild.h"

#include <cstdio>
#include <memory>

using namespace cp932_tables;

static void PrintRow(const char16_t* values, int n)
{
    for (int i = 0; i < n; ++i)
        std::printf("%s0x%04X,%s", i % 12 == 0 ? "    " : "", values[i], i % 12 == 11 || i == n - 1 ? "\n" : " ");
}

int main()
{
    auto t = std::make_unique<CTables>();
    if (!BuildFromIconv(*t)) {
        std::fprintf(stderr, "gen_cp932_tables: the C library has no CP932 converter\n");
        return 1;
    }
    std::printf("// Code page 932 character tables, written by scripts/gen_cp932_tables.sh from the C\n"
                "// library's CP932 converter. Do not edit by hand.\n\n");
    std::printf("// Unicode of each single byte (U+FFFD: none; lead bytes have none on their own).\n");
    std::printf("constexpr char16_t kCp932Singles[256] = {\n");
    PrintRow(t->toUnicode.data(), 256);
    std::printf("};\n\n");
    std::printf("// Unicode of each lead/trail pair: one row of 188 trail bytes (0x40-0xFC without 0x7F)\n"
                "// per lead byte (0x81-0x9F, 0xE0-0xFC), in code order.\n");
    std::printf("constexpr char16_t kCp932Pairs[60 * 188] = {\n");
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932LeadByte(static_cast<BYTE>(lead)))
            continue;
        char16_t row[188];
        int n = 0;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (IsTrailByte(static_cast<BYTE>(trail)))
                row[n++] = t->toUnicode[static_cast<size_t>((lead << 8) | trail)];
        }
        std::printf("    // 0x%02X\n", lead);
        PrintRow(row, n);
    }
    std::printf("};\n\n");
    auto derived = std::make_unique<std::array<WORD, 0x10000>>();
    DeriveEncoding(t->toUnicode, *derived);
    ApplyYenRule(*derived);
    std::printf("// Characters whose code is not the first code that decodes to them: look-alikes and the\n"
                "// converter's choice among duplicate codes. {Unicode, code}; code 0: no code.\n");
    std::printf("constexpr struct {\n    char16_t unicode;\n    WORD code;\n} kCp932EncodingExceptions[] = {\n");
    int n = 0;
    for (int u = 1; u < 0x10000; ++u) {
        if ((*derived)[static_cast<size_t>(u)] == t->fromUnicode[static_cast<size_t>(u)])
            continue;
        std::printf("%s{0x%04X, 0x%04X},%s", n % 6 == 0 ? "    " : "", u, t->fromUnicode[static_cast<size_t>(u)],
                    n % 6 == 5 ? "\n" : " ");
        ++n;
    }
    std::printf("%s};\n", n % 6 == 0 ? "" : "\n");
    return 0;
}
CPP
g++ -std=c++20 -O1 -I"$root" -o "$work/gen" "$work/gen.cpp"
"$work/gen" >"$work/Cp932Tables.inc"
mv "$work/Cp932Tables.inc" "$root/platform/base/Cp932Tables.inc"
echo "wrote platform/base/Cp932Tables.inc"

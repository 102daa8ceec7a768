// Parts-list files as the parts selection list reads them (the rows matching a filter,
// numbers formatted as listed). What a user relies on:
// - a file that does not read leaves the selection as it was;
// - a file that reads lists at most 100 columns, every listed row has one text per column,
//   and every listed row's first cell matches the filter;
// - the rows listed for a filter are exactly those listed for "*" whose first cell matches.
#include "parts/PartsSelectList.h"
#include "platform/base/MessageBox.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

#define SELECT_CHECK(cond)                                                                                   \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    // The first byte picks a filter; the rest is the file.
    const char* const filters[] = {"*", "", "A*", "AB", "\x8C\x5E*"};
    const CString filter = size > 0 ? CString(filters[data[0] % 5]) : CString("*");
    const std::string_view file(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                                size > 0 ? size - 1 : 0);

    CPartsSelection all;
    all.nColumns = -7; // a sentinel a failed read must leave alone
    const CPartsSelection::Result result = ReadPartsSelection(file, "*", all);
    if (result != CPartsSelection::readOK) {
        SELECT_CHECK(all.nColumns == -7 && all.rows.empty());
        return 0;
    }
    SELECT_CHECK(all.nColumns >= 0 && all.nColumns <= 100);
    for (const auto& row : all.rows)
        SELECT_CHECK(static_cast<int>(row.size()) == (all.nColumns > 0 ? all.nColumns : 1));

    CPartsSelection some;
    SELECT_CHECK(ReadPartsSelection(file, filter, some) == CPartsSelection::readOK);
    size_t nMatching = 0;
    for (const auto& row : all.rows) {
        if (PartsFilterMatches(filter, row[0])) {
            SELECT_CHECK(nMatching < some.rows.size());
            SELECT_CHECK(some.rows[nMatching] == row);
            ++nMatching;
        }
    }
    SELECT_CHECK(nMatching == some.rows.size());
    return 0;
}

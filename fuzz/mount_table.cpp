// The path page's reader of the system's mount table: any bytes give a list of entries
// without crashing, every entry has a device and a mount point, and a table written back
// from the entries (blanks escaped as the kernel does) reads back the same.
#include "setup/DriveList.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string Escape(const std::string& field)
{
    std::string out;
    for (char ch : field) {
        if (std::isspace(static_cast<unsigned char>(ch)) || ch == '\\') {
            const unsigned char u = static_cast<unsigned char>(ch);
            out += '\\';
            out += static_cast<char>('0' + ((u >> 6) & 7));
            out += static_cast<char>('0' + ((u >> 3) & 7));
            out += static_cast<char>('0' + (u & 7));
        } else {
            out += ch;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<CMountEntry> entries = ParseMountTable(text);
    std::string again;
    for (const CMountEntry& e : entries) {
        if (e.device.empty() || e.mountPoint.empty())
            __builtin_trap();
        again += Escape(e.device) + " " + Escape(e.mountPoint) + " type rw 0 0\n";
    }
    const std::vector<CMountEntry> back = ParseMountTable(again);
    if (back.size() != entries.size())
        __builtin_trap();
    for (size_t i = 0; i < back.size(); ++i) {
        if (back[i].device != entries[i].device || back[i].mountPoint != entries[i].mountPoint)
            __builtin_trap();
    }
    return 0;
}

// The settings file (CProfileFile). The input is a change followed by the file:
//   byte     the change: 0 write a text, 1 remove a key, 2 remove a section, 3 write a number
//   3 texts  section, key and value, each one length byte and its bytes
//   rest     the settings file as it lies on disk
// Every section and key name the file mentions is read before and after the change. What
// the user relies on:
// - every setting other than the one changed reads as before;
// - the changed setting reads as written (or as missing after a removal);
// - a write that is refused leaves the file as it was.
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Cp932.h"
#include "platform/base/Profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Trimmed(const std::string& text)
{
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.substr(b, e - b);
}

// A name as the settings file compares names: blanks around it do not count, nor the case
// of ASCII letters outside double-byte characters.
std::string Folded(const std::string& name)
{
    std::string folded = Trimmed(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        const BYTE ch = static_cast<BYTE>(folded[i]);
        if (IsCp932LeadByte(ch) && i + 1 < folded.size()) {
            ++i;
            continue;
        }
        if (ch >= 'a' && ch <= 'z')
            folded[i] = static_cast<char>(ch - 'a' + 'A');
    }
    return folded;
}

// Candidate names: what looks like a section or a key on any line of the file. The scan is
// rough on purpose; a name that is no setting simply reads as missing before and after.
void CollectNames(const std::string& text, std::set<std::string>& sections, std::set<std::string>& keys)
{
    size_t pos = 0;
    while (pos < text.size() && sections.size() < 24 && keys.size() < 24) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Names reach the settings file as C texts: what follows a NUL is not part of them.
        line = std::string(line.c_str());
        const size_t open = line.find('[');
        if (open != std::string::npos) {
            const size_t close = line.rfind(']');
            sections.insert(line.substr(
                open + 1, close != std::string::npos && close > open ? close - open - 1 : std::string::npos));
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            keys.insert(line.substr(0, eq));
        pos = end + 1;
    }
}

std::string ReadField(const uint8_t*& p, const uint8_t* end)
{
    if (p >= end)
        return std::string();
    size_t n = *p++;
    if (n > static_cast<size_t>(end - p))
        n = static_cast<size_t>(end - p);
    std::string field(reinterpret_cast<const char*>(p), n);
    p += n;
    // Names and values reach the settings file as C texts.
    return std::string(field.c_str());
}

const char kMissing[] = "\x01missing";

// A name any user could give: printable ASCII other than the brackets and "=", and whole
// double-byte characters, not blank. Writing such a name must work.
bool IsOrdinaryName(const std::string& name)
{
    if (Trimmed(name).empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const BYTE ch = static_cast<BYTE>(name[i]);
        if (IsCp932LeadByte(ch)) {
            if (i + 1 >= name.size())
                return false;
            const BYTE trail = static_cast<BYTE>(name[i + 1]);
            if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
                return false;
            ++i;
            continue;
        }
        if (ch < 0x20 || ch >= 0x7F || ch == '[' || ch == ']' || ch == '=')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    const int nChange = *p++ % 4;
    const std::string section = ReadField(p, end);
    const std::string key = ReadField(p, end);
    const std::string value = ReadField(p, end);
    const std::string text(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));

    const std::string native = FuzzNativeFolder() + "settings.ini";
    CProfileFile profile(FuzzFolder() + "settings.ini");
    // The parse cache knows a file by its identity, size and times: the file is removed and
    // looked at missing first, so that it is read afresh however quickly it is replaced.
    std::remove(native.c_str());
    (void)profile.GetProfileString("x", "y");
    FuzzWriteNativeFile(native, reinterpret_cast<const uint8_t*>(text.data()), text.size());

    std::set<std::string> sections, keys;
    CollectNames(text, sections, keys);
    sections.insert(section);
    keys.insert(key);
    std::vector<std::pair<std::string, std::string>> queries;
    for (const std::string& s : sections) {
        for (const std::string& k : keys)
            queries.emplace_back(s, k);
    }
    std::vector<CString> before;
    for (const auto& q : queries)
        before.push_back(profile.GetProfileString(q.first.c_str(), q.second.c_str(), kMissing));

    BOOL bWritten = FALSE;
    const int nNumber = static_cast<int>(value.size()) * 1000 - 7;
    switch (nChange) {
    case 0:
        bWritten = profile.WriteProfileString(section.c_str(), key.c_str(), value.c_str());
        break;
    case 1:
        bWritten = profile.WriteProfileString(section.c_str(), key.c_str(), nullptr);
        break;
    case 2:
        bWritten = profile.WriteProfileString(section.c_str(), nullptr, nullptr);
        break;
    default:
        bWritten = profile.WriteProfileInt(section.c_str(), key.c_str(), nNumber);
        break;
    }
    // Ordinary names are always written (a file that exists is rewritten).
    if ((nChange == 0 || nChange == 3) && IsOrdinaryName(section) && IsOrdinaryName(key))
        FUZZ_CHECK(bWritten);
    if (!bWritten) {
        const std::vector<uint8_t> now = FuzzReadNativeFile(native);
        FUZZ_CHECK(std::string(now.begin(), now.end()) == text);
    }

    const std::string changedSection = Folded(section);
    const std::string changedKey = Folded(key);
    for (size_t i = 0; i < queries.size(); ++i) {
        const CString after =
            profile.GetProfileString(queries[i].first.c_str(), queries[i].second.c_str(), kMissing);
        const bool bSameSection = Folded(queries[i].first) == changedSection;
        const bool bSameKey = Folded(queries[i].second) == changedKey;
        if (bWritten && bSameSection && (nChange == 2 || bSameKey)) {
            // The setting changed: it reads as written, or as missing after a removal.
            if (nChange == 1 || nChange == 2) {
                FUZZ_CHECK(after == kMissing);
            } else if (nChange == 3) {
                char expected[16];
                std::snprintf(expected, sizeof expected, "%d", nNumber);
                FUZZ_CHECK(after == expected);
            } else if (value.find_first_of("\r\n") == std::string::npos && Trimmed(value) == value &&
                       !(value.size() >= 2 && value.front() == '"' && value.back() == '"')) {
                FUZZ_CHECK(after == CString(value));
            }
            continue;
        }
        if (after != before[i]) {
            std::fprintf(stderr, "setting [%s] %s changed from \"%s\" to \"%s\"\n", queries[i].first.c_str(),
                         queries[i].second.c_str(), before[i].c_str(), after.c_str());
        }
        FUZZ_CHECK(after == before[i]);
    }
    return 0;
}

// Private profile files. The file is kept as its lines so that a write changes only the one
// line it is about and leaves comments, blank lines, unknown sections and their order alone.
// Start-up reads hundreds of keys from the same file, so the parsed file is cached per path
// and reused for as long as the file on disk is unchanged.
#include "Profile.h"

#include "Cp932.h"
#include "Path.h"
#include "TextLines.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <sys/stat.h>

namespace {

// A name folded for comparison: ASCII letters outside double-byte characters in upper case.
std::string FoldName(std::string_view name)
{
    std::string folded(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        const BYTE b = static_cast<BYTE>(folded[i]);
        if (IsCp932LeadByte(b) && i + 1 < folded.size()) {
            ++i;
            continue;
        }
        if (b >= 'a' && b <= 'z')
            folded[i] = static_cast<char>(b - 'a' + 'A');
    }
    return folded;
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string_view TrimView(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

enum class LineKind { Other, Section, Key };

struct CProfileLine {
    std::string text; // the line as stored, without its line end
    LineKind kind = LineKind::Other;
    std::string name; // folded section or key name
    size_t valueStart = 0;
};

struct CProfileSectionIndex {
    size_t header = 0;                  // line of "[Section]"
    std::map<std::string, size_t> keys; // folded key -> line of its first occurrence
};

// One parsed file. Lookups go through the index; writes work on the lines.
struct CParsedProfile {
    std::vector<CProfileLine> lines;
    std::map<std::string, CProfileSectionIndex> sections; // first occurrence of each section
};

// The first "]" of a text that is a character of its own: a double-byte character whose
// second byte is 0x5D ("ゾ" is 0x83 0x5D) is stepped over whole, as CString steps.
size_t FindCloseBracket(std::string_view text, size_t from)
{
    for (size_t i = from; i < text.size(); ++i) {
        const BYTE b = static_cast<BYTE>(text[i]);
        if (b == ']')
            return i;
        if (IsCp932LeadByte(b) && i + 1 < text.size() && text[i + 1] != '\0')
            ++i;
    }
    return std::string_view::npos;
}

CProfileLine ParseLine(std::string text)
{
    CProfileLine line;
    line.text = std::move(text);
    std::string_view trimmed = TrimView(line.text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        size_t close = FindCloseBracket(trimmed, 1);
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = FoldName(TrimView(trimmed.substr(1, close - 1)));
        }
        return line;
    }
    // The key ends at the first "=": everything after it, "=" included, is the value.
    size_t eq = line.text.find('=');
    if (eq == std::string::npos)
        return line;
    std::string_view key = TrimView(std::string_view(line.text).substr(0, eq));
    if (key.empty())
        return line;
    line.kind = LineKind::Key;
    line.name = FoldName(key);
    line.valueStart = eq + 1;
    return line;
}

void BuildIndex(CParsedProfile& profile)
{
    profile.sections.clear();
    CProfileSectionIndex* current = nullptr;
    for (size_t i = 0; i < profile.lines.size(); ++i) {
        const CProfileLine& line = profile.lines[i];
        if (line.kind == LineKind::Section) {
            auto [it, inserted] = profile.sections.try_emplace(line.name);
            if (inserted)
                it->second.header = i;
            // A repeated section adds nothing: the first occurrence answers, as on Windows.
            current = inserted ? &it->second : nullptr;
        } else if (line.kind == LineKind::Key && current) {
            current->keys.try_emplace(line.name, i);
        }
    }
}

// Splits file bytes into lines; CRLF and LF both end a line.
void ParseText(const std::string& text, CParsedProfile& profile)
{
    profile.lines.clear();
    for (std::string_view line : SplitLines(text))
        profile.lines.push_back(ParseLine(std::string(line)));
    BuildIndex(profile);
}

std::string ValueOf(const CProfileLine& line)
{
    std::string_view value = TrimView(std::string_view(line.text).substr(line.valueStart));
    // A value in double quotes is given without them, as Windows does.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

struct CFileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {};
    struct timespec changed = {};

    bool operator==(const CFileStamp& o) const
    {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

bool StampOf(const std::string& native, CFileStamp& stamp)
{
    struct stat info;
    if (native.empty() || ::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modified = info.st_mtim;
    stamp.changed = info.st_ctim;
    return true;
}

struct CCacheEntry {
    CFileStamp stamp;
    std::shared_ptr<const CParsedProfile> profile;
};

// The process-wide cache of parsed profile files, keyed on the native path. An entry is used
// only while the file's identity, size and times are those it was parsed from; a write
// through this class drops the entry.
class CProfileCache {
public:
    static CProfileCache& Instance()
    {
        static CProfileCache cache;
        return cache;
    }

    // The parsed file, or null when it does not exist or cannot be read.
    std::shared_ptr<const CParsedProfile> Load(const std::string& native)
    {
        CFileStamp stamp;
        if (!StampOf(native, stamp)) {
            Invalidate(native);
            return nullptr;
        }
        {
            std::lock_guard<std::mutex> guard(m_lock);
            auto it = m_entries.find(native);
            if (it != m_entries.end() && it->second.stamp == stamp)
                return it->second.profile;
        }
        // Read again from the file: what a write of it killed part-way left goes first.
        RemoveLeftTemporariesNative(native);
        std::ifstream in(native, std::ios::binary);
        if (!in)
            return nullptr;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad())
            return nullptr;
        auto profile = std::make_shared<CParsedProfile>();
        ParseText(text, *profile);
        // The file may have changed while it was read: cache it only if it is as stamped.
        CFileStamp after;
        std::lock_guard<std::mutex> guard(m_lock);
        if (StampOf(native, after) && after == stamp && static_cast<off_t>(text.size()) == stamp.size)
            m_entries[native] = CCacheEntry{stamp, profile};
        else
            m_entries.erase(native);
        return profile;
    }

    void Invalidate(const std::string& native)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_entries.erase(native);
    }

    // Serialises writers within the process, so that two writes never lose each other's change.
    std::mutex& WriteLock() { return m_writeLock; }

private:
    std::mutex m_lock;
    std::mutex m_writeLock;
    std::map<std::string, CCacheEntry> m_entries;
};

const CProfileLine* FindKey(const CParsedProfile& profile, const char* section, const char* key)
{
    auto sectionIt = profile.sections.find(FoldName(TrimView(section)));
    if (sectionIt == profile.sections.end())
        return nullptr;
    auto keyIt = sectionIt->second.keys.find(FoldName(TrimView(key)));
    if (keyIt == sectionIt->second.keys.end())
        return nullptr;
    return &profile.lines[keyIt->second];
}

// Reads a value; false when the file, the section or the key is missing.
bool ReadValue(const CString& path, const char* section, const char* key, std::string& value)
{
    if (!section || !key || path.IsEmpty())
        return false;
    auto profile = CProfileCache::Instance().Load(NativePath(path));
    if (!profile)
        return false;
    const CProfileLine* line = FindKey(*profile, section, key);
    if (!line)
        return false;
    value = ValueOf(*line);
    return true;
}

// The end of a section's block: the line of the next section header, or the end of file.
size_t SectionEnd(const CParsedProfile& profile, size_t header)
{
    size_t i = header + 1;
    while (i < profile.lines.size() && profile.lines[i].kind != LineKind::Section)
        ++i;
    return i;
}

bool IsBlankLine(const CProfileLine& line)
{
    return TrimView(line.text).empty();
}

std::string Serialize(const CParsedProfile& profile)
{
    std::string text;
    for (const CProfileLine& line : profile.lines) {
        text += line.text;
        text += "\r\n";
    }
    return text;
}

// A name that cannot be stored on one line as what it is would change the file's structure.
// Section names are read by characters: a "]" inside a double-byte character is part of
// the name, a "]" of its own would end it early, and a lead byte left at the end would
// take the closing "]" as its second byte.
bool IsStorableName(std::string_view name, bool isSection)
{
    if (TrimView(name).empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char ch = name[i];
        if (ch == '\r' || ch == '\n')
            return false;
        if (isSection && IsCp932LeadByte(static_cast<BYTE>(ch))) {
            if (i + 1 >= name.size())
                return false;
            if (name[i + 1] == '\r' || name[i + 1] == '\n')
                return false;
            ++i;
            continue;
        }
        if (isSection && ch == ']')
            return false;
        if (!isSection && ch == '=')
            return false;
    }
    return !(!isSection && TrimView(name).front() == '[');
}

// Applies one change to the lines. Returns false when nothing needs to be written.
bool ApplyChange(CParsedProfile& profile, const char* section, const char* key, const char* value)
{
    const std::string sectionName = FoldName(TrimView(section));
    auto sectionIt = profile.sections.find(sectionName);

    if (!key) {
        // Remove the section: every block that carries its name.
        if (sectionIt == profile.sections.end())
            return false;
        std::vector<CProfileLine> kept;
        kept.reserve(profile.lines.size());
        bool removing = false;
        for (CProfileLine& line : profile.lines) {
            if (line.kind == LineKind::Section)
                removing = line.name == sectionName;
            if (!removing)
                kept.push_back(std::move(line));
        }
        profile.lines = std::move(kept);
        return true;
    }

    const std::string keyName = FoldName(TrimView(key));
    if (!value) {
        // Remove the key from the section that answers reads.
        if (sectionIt == profile.sections.end())
            return false;
        const size_t header = sectionIt->second.header;
        const size_t end = SectionEnd(profile, header);
        bool removed = false;
        for (size_t i = end; i-- > header + 1;) {
            if (profile.lines[i].kind == LineKind::Key && profile.lines[i].name == keyName) {
                profile.lines.erase(profile.lines.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
            }
        }
        return removed;
    }

    // A value is one line: a line break in it would start new keys or sections.
    std::string text(value);
    size_t lineBreak = text.find_first_of("\r\n");
    if (lineBreak != std::string::npos)
        text.resize(lineBreak);

    if (sectionIt != profile.sections.end()) {
        auto keyIt = sectionIt->second.keys.find(keyName);
        if (keyIt != sectionIt->second.keys.end()) {
            // Change the value in place; the key keeps its spelling in the file.
            CProfileLine& line = profile.lines[keyIt->second];
            std::string_view stored = TrimView(std::string_view(line.text).substr(0, line.valueStart - 1));
            line = ParseLine(std::string(stored) + "=" + text);
            return true;
        }
        // A new key goes at the end of its section, before the blank lines that separate it
        // from the next one.
        size_t at = SectionEnd(profile, sectionIt->second.header);
        while (at > sectionIt->second.header + 1 && IsBlankLine(profile.lines[at - 1]))
            --at;
        profile.lines.insert(profile.lines.begin() + static_cast<std::ptrdiff_t>(at),
                             ParseLine(std::string(key) + "=" + text));
        return true;
    }

    // A new section at the end of the file, set off by a blank line.
    if (!profile.lines.empty() && !IsBlankLine(profile.lines.back()))
        profile.lines.push_back(ParseLine(std::string()));
    profile.lines.push_back(ParseLine("[" + std::string(section) + "]"));
    profile.lines.push_back(ParseLine(std::string(key) + "=" + text));
    return true;
}

// Windows reads an integer as an optional sign followed by digits; "0x" introduces hex.
// Anything else ends the number, so text that starts with no digit is 0.
UINT ParseProfileInt(const std::string& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    UINT result = 0; // wraps on overflow rather than being undefined
    if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        i += 2;
        for (; i < value.size(); ++i) {
            char ch = value[i];
            UINT digit;
            if (ch >= '0' && ch <= '9')
                digit = static_cast<UINT>(ch - '0');
            else if (ch >= 'a' && ch <= 'f')
                digit = static_cast<UINT>(ch - 'a' + 10);
            else if (ch >= 'A' && ch <= 'F')
                digit = static_cast<UINT>(ch - 'A' + 10);
            else
                break;
            result = result * 16u + digit;
        }
    } else {
        for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
            result = result * 10u + static_cast<UINT>(value[i] - '0');
    }
    return negative ? 0u - result : result;
}

} // namespace

UINT CProfileFile::GetProfileInt(const char* section, const char* key, int nDefault) const
{
    std::string value;
    // A key with nothing after "=" counts as missing, as Windows treats it.
    if (!ReadValue(m_strPath, section, key, value) || value.empty())
        return static_cast<UINT>(nDefault);
    return ParseProfileInt(value);
}

CString CProfileFile::GetProfileString(const char* section, const char* key, const char* lpszDefault) const
{
    std::string value;
    if (!ReadValue(m_strPath, section, key, value))
        return CString(lpszDefault);
    return CString(std::move(value));
}

BOOL CProfileFile::WriteProfileInt(const char* section, const char* key, int nValue)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return WriteProfileString(section, key, text);
}

BOOL CProfileFile::WriteProfileString(const char* section, const char* key, const char* value)
{
    if (!section || m_strPath.IsEmpty() || !IsStorableName(section, true))
        return FALSE;
    if (key && !IsStorableName(key, false))
        return FALSE;
    const std::string native = NativePath(m_strPath);
    if (native.empty())
        return FALSE;

    CProfileCache& cache = CProfileCache::Instance();
    std::lock_guard<std::mutex> guard(cache.WriteLock());
    CParsedProfile profile;
    struct stat info;
    if (::stat(native.c_str(), &info) == 0) {
        auto current = cache.Load(native);
        if (!current)
            return FALSE; // there but unreadable: do not replace it with a fragment
        profile = *current;
    } else if (!key || !value) {
        return TRUE; // nothing to remove from a file that does not exist
    }

    if (!ApplyChange(profile, section, key, value))
        return TRUE;
    const std::string text = Serialize(profile);
    BOOL ok = WriteFileAtomically(m_strPath, text.data(), text.size());
    cache.Invalidate(native);
    return ok;
}

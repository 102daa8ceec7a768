// Mapping of the system's Windows-form paths onto the file system, and the file-system
// operations the system uses. Every path the system hands in is code page 932; it is turned
// into UTF-8 once, at the start, and all splitting happens on the UTF-8 text, where the byte
// 0x5C can only be a separator (in code page 932 it may also be the trail byte of a kanji).
#include "Path.h"

#include "Cp932.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------------------------------
// Drive table

struct CDriveEntry {
    std::string root;
    bool removable = false;
};

struct CDriveTable {
    std::mutex lock;
    bool loaded = false;
    std::map<char, CDriveEntry> drives;
};

CDriveTable& DriveTable()
{
    static CDriveTable table;
    return table;
}

char NormalizeLetter(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return static_cast<char>(letter - 'a' + 'A');
    return letter;
}

bool IsDriveLetter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// A root without trailing separators, except the file-system root itself.
std::string TrimRoot(std::string root)
{
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

std::string TrimBlanks(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// The table as configured: "C:" is the file-system root unless MORVEL_DRIVES says otherwise.
// MORVEL_DRIVES holds comma-separated entries "D=/media/usb"; an entry may end in
// ";removable" to mark media that come and go, and "C=" with no root removes a letter.
void LoadDefaultsLocked(CDriveTable& table)
{
    table.drives.clear();
    table.drives['C'] = CDriveEntry{"/", false};
    if (const char* env = std::getenv("MORVEL_DRIVES")) {
        std::string spec(env);
        size_t pos = 0;
        while (pos <= spec.size()) {
            size_t comma = spec.find(',', pos);
            if (comma == std::string::npos)
                comma = spec.size();
            std::string entry = TrimBlanks(spec.substr(pos, comma - pos));
            pos = comma + 1;
            size_t eq = entry.find('=');
            if (eq == std::string::npos)
                continue;
            std::string letter = TrimBlanks(entry.substr(0, eq));
            if (letter.size() == 2 && letter[1] == ':')
                letter.pop_back();
            if (letter.size() != 1 || !IsDriveLetter(letter[0]))
                continue;
            std::string root = TrimBlanks(entry.substr(eq + 1));
            bool removable = false;
            const std::string flag = ";removable";
            if (root.size() >= flag.size() &&
                root.compare(root.size() - flag.size(), flag.size(), flag) == 0) {
                removable = true;
                root = TrimBlanks(root.substr(0, root.size() - flag.size()));
            }
            if (root.empty())
                table.drives.erase(NormalizeLetter(letter[0]));
            else
                table.drives[NormalizeLetter(letter[0])] = CDriveEntry{TrimRoot(root), removable};
        }
    }
    table.loaded = true;
}

void EnsureLoadedLocked(CDriveTable& table)
{
    if (!table.loaded)
        LoadDefaultsLocked(table);
}

bool LookUpDrive(char letter, CDriveEntry& entry)
{
    CDriveTable& table = DriveTable();
    std::lock_guard<std::mutex> guard(table.lock);
    EnsureLoadedLocked(table);
    auto it = table.drives.find(NormalizeLetter(letter));
    if (it == table.drives.end())
        return false;
    entry = it->second;
    return true;
}

// Whether native path lies at or under root (both without trailing separators, root may be "/").
bool IsUnderRoot(const std::string& path, const std::string& root)
{
    if (root == "/")
        return !path.empty() && path[0] == '/';
    if (path.compare(0, root.size(), root) != 0)
        return false;
    return path.size() == root.size() || path[root.size()] == '/';
}

// The drive whose root holds the native path; the most specific root wins, and among equal
// roots the first letter. 0 when no drive holds it.
char DriveOfNative(const std::string& nativePath, std::string* pRoot = nullptr)
{
    CDriveTable& table = DriveTable();
    std::lock_guard<std::mutex> guard(table.lock);
    EnsureLoadedLocked(table);
    char best = 0;
    size_t bestLength = 0;
    for (const auto& [letter, entry] : table.drives) {
        if (!IsUnderRoot(nativePath, entry.root))
            continue;
        if (best == 0 || entry.root.size() > bestLength) {
            best = letter;
            bestLength = entry.root.size();
            if (pRoot)
                *pRoot = entry.root;
        }
    }
    return best;
}

std::string NativeCurrentDirectory()
{
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()))
            return std::string(buffer.c_str());
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

// The root that a path beginning with a separator (and no drive) starts from: the root of
// the drive holding the current directory, as on Windows; the file-system root otherwise.
std::string CurrentDriveRoot()
{
    std::string root;
    if (DriveOfNative(NativeCurrentDirectory(), &root))
        return root;
    return "/";
}

// ---------------------------------------------------------------------------------------
// Name lookup

bool IsSeparator(char ch)
{
    return ch == '/' || ch == '\\';
}

char FoldAscii(char ch)
{
    if (ch >= 'a' && ch <= 'z')
        return static_cast<char>(ch - 'a' + 'A');
    return ch;
}

// Equal without regard to the case of ASCII letters. On UTF-8 text, ASCII bytes never occur
// inside a multibyte character, so this folds exactly the single-byte letters of the
// code page 932 names and leaves every double-byte character alone.
bool EqualsNoCaseUtf8(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

bool NativeExists(const std::string& nativePath, struct stat* pInfo = nullptr)
{
    struct stat info;
    if (::stat(nativePath.empty() ? "" : nativePath.c_str(), &info) != 0)
        return false;
    if (pInfo)
        *pInfo = info;
    return true;
}

// The entry of folder that matches name without regard to case; empty when none. Several
// candidates (possible on a case-sensitive file system) resolve to the smallest name so
// that the choice does not depend on the directory's order.
std::string FindEntryNoCase(const std::string& folder, const std::string& name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::string();
    std::string best;
    while (struct dirent* entry = ::readdir(dir)) {
        std::string candidate(entry->d_name);
        if (candidate == "." || candidate == "..")
            continue;
        if (EqualsNoCaseUtf8(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    ::closedir(dir);
    return best;
}

struct CSplitPath {
    std::string root;               // "/" or a drive root; empty for a relative path
    std::vector<std::string> parts; // components after "." and ".." are applied
    bool trailingSeparator = false;
    bool valid = true; // false when the drive letter is not mapped
};

// Splits a UTF-8 system path into its root and components.
CSplitPath SplitSystemPath(const std::string& utf8)
{
    CSplitPath split;
    size_t pos = 0;
    if (utf8.size() >= 2 && IsDriveLetter(utf8[0]) && utf8[1] == ':') {
        CDriveEntry drive;
        if (!LookUpDrive(utf8[0], drive)) {
            split.valid = false;
            return split;
        }
        // "C:foo" is taken from the drive's root: the system keeps no current folder per drive.
        split.root = drive.root;
        pos = 2;
    } else if (!utf8.empty() && utf8[0] == '\\') {
        split.root = CurrentDriveRoot();
    } else if (!utf8.empty() && utf8[0] == '/') {
        split.root = "/";
    }

    bool relative = split.root.empty();
    while (pos < utf8.size()) {
        while (pos < utf8.size() && IsSeparator(utf8[pos]))
            ++pos;
        size_t end = pos;
        while (end < utf8.size() && !IsSeparator(utf8[end]))
            ++end;
        if (end == pos)
            break;
        std::string part = utf8.substr(pos, end - pos);
        pos = end;
        if (part == ".")
            continue;
        if (part == "..") {
            if (!split.parts.empty() && split.parts.back() != "..")
                split.parts.pop_back();
            else if (relative)
                split.parts.push_back(part);
            // Above a root there is nothing: stay at the root, as Windows does.
            continue;
        }
        split.parts.push_back(std::move(part));
    }
    split.trailingSeparator = !utf8.empty() && IsSeparator(utf8.back()) && !split.parts.empty();
    return split;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string ResolveParts(const CSplitPath& split, size_t count)
{
    std::string result = split.root;
    for (size_t i = 0; i < count; ++i)
        result = JoinPath(result, split.parts[i]);
    return result;
}

// Resolves a UTF-8 system path to the native path, matching existing names without regard
// to case. With keepLastAsGiven the last component is not matched (a rename to a new case).
std::string ResolveUtf8(const std::string& utf8, bool keepLastAsGiven = false)
{
    if (utf8.empty())
        return std::string();
    CSplitPath split = SplitSystemPath(utf8);
    if (!split.valid)
        return std::string(); // an unmapped drive: nothing there, every operation fails

    std::string direct = ResolveParts(split, split.parts.size());
    if (split.parts.empty())
        return direct.empty() ? std::string(".") : direct;

    // Names the system builds usually exist as given; one stat settles it.
    if (!keepLastAsGiven && NativeExists(direct))
        return split.trailingSeparator ? direct + "/" : direct;

    std::string result = split.root;
    bool parentExists = true;
    const size_t last = split.parts.size() - 1;
    for (size_t i = 0; i < split.parts.size(); ++i) {
        const std::string& part = split.parts[i];
        std::string candidate = JoinPath(result, part);
        if (parentExists && part != ".." && !(keepLastAsGiven && i == last) && !NativeExists(candidate)) {
            std::string match = FindEntryNoCase(result, part);
            if (match.empty())
                parentExists = false; // components below a missing one are kept as given
            else
                candidate = JoinPath(result, match);
        }
        result = std::move(candidate);
    }
    return split.trailingSeparator ? result + "/" : result;
}

std::string ToNative(const char* path)
{
    return path ? NativePath(path) : std::string();
}

bool IsDirectoryNative(const std::string& native)
{
    struct stat info;
    return NativeExists(native, &info) && S_ISDIR(info.st_mode);
}

std::string ParentOfNative(const std::string& native)
{
    size_t slash = native.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return native.substr(0, slash);
}

std::string LastComponent(const std::string& native)
{
    size_t slash = native.find_last_of('/');
    return slash == std::string::npos ? native : native.substr(slash + 1);
}

// Writes everything or fails.
bool WriteAll(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The temporary files of CreateTemporaryBeside below (".NAME.<pid>.<n>.tmp") that a process no
// longer running left beside target: a write killed part-way. A running process's, this
// one's among them, are its own and stay; so do those of a process id the system does not
// let this one ask about.
void RemoveDeadTemporariesBeside(const std::string& target)
{
    const std::string prefix = "." + LastComponent(target) + ".";
    const std::string suffix = ".tmp";
    DIR* dir = ::opendir(ParentOfNative(target).c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        // "<pid>.<n>": two numbers.
        const std::string numbers = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        const size_t dot = numbers.find('.');
        const auto isNumber = [](const std::string& text) {
            return !text.empty() && text.size() <= 9 &&
                   std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        };
        if (dot == std::string::npos || !isNumber(numbers.substr(0, dot)) ||
            !isNumber(numbers.substr(dot + 1)))
            continue;
        const pid_t pid = static_cast<pid_t>(std::atol(numbers.substr(0, dot).c_str()));
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new, exclusively created file beside target, opened for writing. The permissions follow
// the process's umask as for any new file. Every file the program writes through a temporary
// gets it here, so that the temporaries of a write killed part-way go at the next write of
// the same file, whichever writer makes it.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath)
{
    RemoveDeadTemporariesBeside(target);
    static std::atomic<unsigned> counter{0};
    const std::string folder = ParentOfNative(target);
    const std::string base = LastComponent(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(::getpid()),
                      counter.fetch_add(1) + static_cast<unsigned>(attempt) * 7919u);
        tempPath = JoinPath(folder, "." + base + suffix);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Whether the user may replace an existing file: the system's answer for this process, and a
// write bit set at all. The superuser passes the first for every file; a file nobody may
// write is read-only for the superuser as well, as the system's read-only files are.
bool MayReplaceFile(const std::string& native, const struct stat& info)
{
    return (info.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, native.c_str(), W_OK, AT_EACCESS) == 0;
}

// The file a path names: a link is followed, so that the file it names is written.
std::string FollowLink(std::string native)
{
    struct stat info;
    if (::lstat(native.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(native.c_str(), nullptr)) {
            native = real;
            std::free(real);
        }
    }
    return native;
}

void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Moves source onto target without replacing an existing target. Falls back to a check and a
// plain rename where the file system cannot refuse atomically.
bool RenameNoReplace(const std::string& source, const std::string& target)
{
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    struct stat info;
    if (::lstat(target.c_str(), &info) == 0)
        return false;
    return ::rename(source.c_str(), target.c_str()) == 0;
}

// Copies the bytes of source into a fresh file beside target; returns its path or empty.
std::string CopyToTemporary(const std::string& source, const std::string& target)
{
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return std::string();
    struct stat info;
    if (::fstat(in, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(in);
        return std::string();
    }
    std::string tempPath;
    int out = CreateTemporaryBeside(target, tempPath);
    if (out < 0) {
        ::close(in);
        return std::string();
    }
    bool ok = true;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        if (!WriteAll(out, buffer.data(), static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    if (ok) {
        // A copy keeps the permissions and the time of last writing, as the system's copies
        // of master files are expected to.
        ::fchmod(out, info.st_mode & 07777);
        struct timespec times[2] = {info.st_atim, info.st_mtim};
        ::futimens(out, times);
        ok = ::fsync(out) == 0;
    }
    ::close(in);
    if (::close(out) != 0)
        ok = false;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return std::string();
    }
    return tempPath;
}

// ---------------------------------------------------------------------------------------
// Wildcards

int CharLength(const std::string& s, size_t i)
{
    if (i + 1 < s.size() && IsCp932LeadByte(static_cast<BYTE>(s[i])))
        return 2;
    return 1;
}

bool SameChar(const std::string& a, size_t i, int la, const std::string& b, size_t j, int lb)
{
    if (la != lb)
        return false;
    if (la == 1)
        return FoldAscii(a[i]) == FoldAscii(b[j]);
    return a[i] == b[j] && a[i + 1] == b[j + 1];
}

// "*" any run of characters, "?" one character (a double-byte character counts as one);
// letters outside double-byte characters match without regard to case.
bool MatchWildcard(const std::string& pattern, const std::string& name)
{
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        if (p < pattern.size()) {
            int lp = CharLength(pattern, p);
            int ln = CharLength(name, n);
            if ((lp == 1 && pattern[p] == '?') || SameChar(pattern, p, lp, name, n, ln)) {
                p += static_cast<size_t>(lp);
                n += static_cast<size_t>(ln);
                continue;
            }
        }
        if (starP == std::string::npos)
            return false;
        // Let the last "*" take one more character and try again from there.
        starN += static_cast<size_t>(CharLength(name, starN));
        n = starN;
        p = starP;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

// ---------------------------------------------------------------------------------------
// Paths

std::string NativePath(const char* path)
{
    if (!path || !*path)
        return std::string();
    return ResolveUtf8(Cp932ToUtf8(path));
}

CString SystemPathFromNative(const std::string& nativePath)
{
    if (nativePath.empty())
        return CString();
    if (nativePath[0] != '/') {
        // Relative to the current folder: only the separators change.
        std::string relative = nativePath;
        std::replace(relative.begin(), relative.end(), '/', '\\');
        return CString(Utf8ToCp932(relative));
    }
    std::string root;
    char letter = DriveOfNative(nativePath, &root);
    if (!letter)
        return CString(Utf8ToCp932(nativePath));
    std::string rest =
        root == "/" ? nativePath.substr(1) : nativePath.substr(std::min(nativePath.size(), root.size() + 1));
    std::string result;
    result += letter;
    result += ":\\";
    for (char ch : rest)
        result += ch == '/' ? '\\' : ch;
    // Collapse doubled separators that a native path may carry.
    std::string collapsed;
    for (size_t i = 0; i < result.size(); ++i) {
        if (result[i] == '\\' && !collapsed.empty() && collapsed.back() == '\\')
            continue;
        collapsed += result[i];
    }
    return CString(Utf8ToCp932(collapsed));
}

CString DisplayPath(const char* path)
{
    if (!path || !*path)
        return CString();
    return CString(Utf8ToCp932(NativePath(path)));
}

CString SystemPathFromDisplay(const char* shown)
{
    if (!shown || shown[0] != '/')
        return CString(shown ? shown : "");
    return SystemPathFromNative(Cp932ToUtf8(shown));
}

// ---------------------------------------------------------------------------------------
// Drives

void SetDriveRoot(char letter, const std::string& nativeRoot)
{
    if (!IsDriveLetter(letter))
        return;
    CDriveTable& table = DriveTable();
    std::lock_guard<std::mutex> guard(table.lock);
    EnsureLoadedLocked(table);
    if (nativeRoot.empty())
        table.drives.erase(NormalizeLetter(letter));
    else
        table.drives[NormalizeLetter(letter)] = CDriveEntry{TrimRoot(nativeRoot), false};
}

void SetDriveRemovable(char letter, BOOL removable)
{
    CDriveTable& table = DriveTable();
    std::lock_guard<std::mutex> guard(table.lock);
    EnsureLoadedLocked(table);
    auto it = table.drives.find(NormalizeLetter(letter));
    if (it != table.drives.end())
        it->second.removable = removable != FALSE;
}

std::string GetDriveRoot(char letter)
{
    CDriveEntry entry;
    return LookUpDrive(letter, entry) ? entry.root : std::string();
}

CString DisplayDrive(char letter, const char* label)
{
    const std::string root = GetDriveRoot(letter);
    if (root.empty())
        return CString();
    CString text(Utf8ToCp932(root));
    const CString name(Utf8ToCp932(LastComponent(root)));
    if (label != nullptr && *label != '\0' && name.CompareNoCase(label) != 0)
        text += CString(" [") + label + "]";
    return text;
}

void ResetDriveTable()
{
    CDriveTable& table = DriveTable();
    std::lock_guard<std::mutex> guard(table.lock);
    LoadDefaultsLocked(table);
}

char GetCurrentDriveLetter()
{
    return DriveOfNative(NativeCurrentDirectory());
}

namespace {

// The drive letter a root path names ("D:\", "D:", "d:"); the current drive when none is given.
char DriveLetterOf(const char* rootPath)
{
    if (!rootPath || !*rootPath)
        return GetCurrentDriveLetter();
    if (IsDriveLetter(rootPath[0]) && rootPath[1] == ':')
        return NormalizeLetter(rootPath[0]);
    return 0;
}

bool IsRemovableRoot(const std::string& root)
{
    return IsUnderRoot(root, "/media") || IsUnderRoot(root, "/mnt") || IsUnderRoot(root, "/run/media");
}

} // namespace

UINT GetDriveType(const char* rootPath)
{
    char letter = DriveLetterOf(rootPath);
    if (letter) {
        CDriveEntry entry;
        if (!LookUpDrive(letter, entry))
            return DRIVE_NO_ROOT_DIR;
        return entry.removable || IsRemovableRoot(entry.root) ? DRIVE_REMOVABLE : DRIVE_FIXED;
    }
    // A native or drive-less folder: judged by where it lies.
    std::string native = ToNative(rootPath);
    if (!IsDirectoryNative(native))
        return DRIVE_NO_ROOT_DIR;
    return IsRemovableRoot(TrimRoot(native)) ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

BOOL GetVolumeLabel(const char* rootPath, CString& label)
{
    label.Empty();
    char letter = DriveLetterOf(rootPath);
    if (!letter)
        return FALSE;
    CDriveEntry entry;
    if (!LookUpDrive(letter, entry))
        return FALSE;
    // The folder a medium is mounted on carries its name: /media/usb/MORVEL01 -> "MORVEL01".
    std::string name = LastComponent(TrimRoot(entry.root));
    label = CString(Utf8ToCp932(name));
    label.MakeUpper();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Files and folders

BOOL FileExists(const char* path)
{
    struct stat info;
    std::string native = ToNative(path);
    return !native.empty() && NativeExists(native, &info) && !S_ISDIR(info.st_mode);
}

BOOL IsSpecialFile(const char* path)
{
    struct stat info;
    std::string native = ToNative(path);
    return !native.empty() && NativeExists(native, &info) && !S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode);
}

BOOL DirectoryExists(const char* path)
{
    std::string native = ToNative(path);
    return !native.empty() && IsDirectoryNative(native);
}

BOOL CopyFile(const char* existing, const char* target, BOOL failIfExists)
{
    std::string source = ToNative(existing);
    std::string destination = ToNative(target);
    if (source.empty() || destination.empty())
        return FALSE;
    struct stat sourceInfo, targetInfo;
    if (!NativeExists(source, &sourceInfo) || S_ISDIR(sourceInfo.st_mode))
        return FALSE;
    if (::stat(destination.c_str(), &targetInfo) == 0) {
        if (failIfExists || S_ISDIR(targetInfo.st_mode))
            return FALSE;
        // Copying a file onto itself would empty it before reading it.
        if (targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
            return FALSE;
    }
    // The copy is made whole beside the target before it takes the target's name, so an
    // existing target is never left half overwritten.
    std::string temp = CopyToTemporary(source, destination);
    if (temp.empty())
        return FALSE;
    bool ok =
        failIfExists ? RenameNoReplace(temp, destination) : ::rename(temp.c_str(), destination.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return FALSE;
    }
    SyncFolder(ParentOfNative(destination));
    return TRUE;
}

BOOL DeleteFile(const char* path)
{
    std::string native = ToNative(path);
    if (native.empty())
        return FALSE;
    struct stat info;
    if (::lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return FALSE;
    return ::unlink(native.c_str()) == 0 ? TRUE : FALSE;
}

BOOL CreateDirectory(const char* path)
{
    std::string native = ToNative(path);
    if (native.empty())
        return FALSE;
    return ::mkdir(native.c_str(), 0777) == 0 ? TRUE : FALSE;
}

BOOL CreateFolderPath(const char* path)
{
    const std::string native = ToNative(path);
    if (native.empty())
        return FALSE;
    std::error_code error;
    std::filesystem::create_directories(native, error);
    return IsDirectoryNative(native) ? TRUE : FALSE;
}

BOOL RemoveDirectory(const char* path)
{
    std::string native = ToNative(path);
    if (native.empty())
        return FALSE;
    return ::rmdir(native.c_str()) == 0 ? TRUE : FALSE;
}

BOOL MoveFile(const char* existing, const char* target)
{
    std::string source = ToNative(existing);
    if (source.empty() || !target || !*target)
        return FALSE;
    struct stat sourceInfo;
    if (::lstat(source.c_str(), &sourceInfo) != 0)
        return FALSE;
    std::string destination = ToNative(target);
    if (destination.empty())
        return FALSE;
    struct stat targetInfo;
    if (::lstat(destination.c_str(), &targetInfo) == 0) {
        if (targetInfo.st_dev != sourceInfo.st_dev || targetInfo.st_ino != sourceInfo.st_ino)
            return FALSE; // the target exists: Windows refuses to replace it
        // The target is the source under another case: rename to the case given.
        destination = ResolveUtf8(Cp932ToUtf8(target), true);
        if (destination == source)
            return TRUE;
        return ::rename(source.c_str(), destination.c_str()) == 0 ? TRUE : FALSE;
    }
    if (RenameNoReplace(source, destination))
        return TRUE;
    if (errno != EXDEV || S_ISDIR(sourceInfo.st_mode))
        return FALSE;
    // Another file system: copy, then remove the original once the copy is safe.
    std::string temp = CopyToTemporary(source, destination);
    if (temp.empty())
        return FALSE;
    if (!RenameNoReplace(temp, destination)) {
        ::unlink(temp.c_str());
        return FALSE;
    }
    ::unlink(source.c_str());
    return TRUE;
}

BOOL WriteFileAtomically(const char* path, const void* data, size_t size)
{
    std::string target = ToNative(path);
    if (target.empty() || (size > 0 && !data)) {
        errno = EINVAL;
        return FALSE;
    }
    // A link is followed so that the file it names is replaced, not the link.
    target = FollowLink(std::move(target));
    struct stat info;
    bool exists = false;
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return FALSE;
        }
        // The new file would take its place with the folder's permission alone: a file the
        // user may not write is refused here.
        if (!MayReplaceFile(target, info)) {
            errno = EACCES;
            return FALSE;
        }
        exists = true;
    }
    std::string temp;
    int fd = CreateTemporaryBeside(target, temp);
    if (fd < 0)
        return FALSE;
    // The first failure's errno is what the caller reports (a full disk, a read-only
    // folder), whatever the clean-up does to errno afterwards.
    int err = 0;
    bool ok = WriteAll(fd, data, size);
    if (!ok)
        err = errno;
    if (ok && exists)
        ::fchmod(fd, info.st_mode & 07777); // the file keeps its permissions
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = err;
        return FALSE;
    }
    SyncFolder(ParentOfNative(target));
    return TRUE;
}

BOOL CanWriteFileAtomically(const char* path)
{
    std::string target = ToNative(path);
    if (target.empty()) {
        errno = EINVAL;
        return FALSE;
    }
    target = FollowLink(std::move(target));
    struct stat info;
    if (::stat(target.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            errno = EISDIR;
            return FALSE;
        }
        if (!MayReplaceFile(target, info)) {
            errno = EACCES;
            return FALSE;
        }
    }
    // The same temporary file the write makes: what makes it, or fails to, answers.
    std::string temp;
    const int fd = CreateTemporaryBeside(target, temp);
    if (fd < 0)
        return FALSE;
    ::close(fd);
    ::unlink(temp.c_str());
    return TRUE;
}

void RemoveLeftTemporaries(const char* path)
{
    RemoveLeftTemporariesNative(ToNative(path));
}

void RemoveLeftTemporariesNative(const std::string& nativePath)
{
    if (!nativePath.empty())
        RemoveDeadTemporariesBeside(FollowLink(nativePath));
}

CString GetCurrentDirectory()
{
    return SystemPathFromNative(NativeCurrentDirectory());
}

BOOL SetCurrentDirectory(const char* path)
{
    std::string native = ToNative(path);
    if (native.empty())
        return FALSE;
    return ::chdir(native.c_str()) == 0 ? TRUE : FALSE;
}

BOOL IsPathRelative(const char* path)
{
    if (path == nullptr || *path == '\0')
        return FALSE;
    if (IsDriveLetter(path[0]) && path[1] == ':')
        return FALSE;
    if (path[0] == '/')
        return FALSE;
    // "\\server\share" names a root of its own; a single "\" is the current drive's.
    if (path[0] == '\\')
        return path[1] == '\\' ? FALSE : TRUE;
    return TRUE;
}

namespace {

// A full path put together from a root and components: "." dropped and ".." taking the one
// before off (never above the root, as Windows does); the trailing separator of path kept.
CString ResolveComponents(const CString& combined, const char* path)
{
    // Its root ("C:" or "/") and its components. "\" (0x5C) can be the trail byte of a
    // double-byte character, so the text is walked character by character.
    const bool bDrive = combined.GetLength() >= 2 && combined[1] == ':';
    const CString root = bDrive ? combined.Left(2) : CString("/");
    const char separator = bDrive ? '\\' : '/';
    std::vector<CString> parts;
    const char* text = combined.c_str();
    const int length = combined.GetLength();
    int start = bDrive ? 2 : 0;
    auto take = [&](int end) {
        const CString part = combined.Mid(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.IsEmpty() && part != ".") {
            parts.push_back(part);
        }
    };
    int i = start;
    while (i < length) {
        if (text[i] == '\\' || text[i] == '/') {
            take(i);
            start = ++i;
        } else {
            i += Cp932CharLength(text + i);
        }
    }
    take(length);

    CString full = bDrive ? root : CString();
    for (const CString& part : parts) {
        full += separator;
        full += part;
    }
    const char last = path[std::strlen(path) - 1];
    if (parts.empty() || last == '\\' || last == '/')
        full += separator;
    return full;
}

} // namespace

CString GetFullPath(const char* path)
{
    if (path == nullptr || *path == '\0')
        return CString();
    if (!IsPathRelative(path) || path[0] != '\\')
        return GetFullPathFrom(path, GetCurrentDirectory());
    // "\name": the current drive's root.
    const char letter = GetCurrentDriveLetter();
    if (letter == 0)
        return CString(path); // the current folder is on no drive: nothing better to say
    return ResolveComponents(CString(letter) + ":" + path, path);
}

CString GetFullPathFrom(const char* path, const char* lpszFolder)
{
    if (path == nullptr || *path == '\0')
        return CString();
    if (!IsPathRelative(path))
        return CString(path);
    if (path[0] == '\\')
        return GetFullPath(path);
    if (lpszFolder == nullptr || *lpszFolder == '\0')
        return CString(path);
    return ResolveComponents(CString(lpszFolder) + "\\" + path, path);
}

CString GetModuleFileName()
{
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return CString();
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return SystemPathFromNative(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<CFindFileEntry> FindFiles(const char* pattern)
{
    std::vector<CFindFileEntry> result;
    if (!pattern || !*pattern)
        return result;
    std::string utf8 = Cp932ToUtf8(pattern);
    size_t slash = utf8.find_last_of("/\\");
    std::string folderPart = slash == std::string::npos ? std::string() : utf8.substr(0, slash + 1);
    std::string namePart = slash == std::string::npos ? utf8 : utf8.substr(slash + 1);
    // "D:*.MMK" names the drive's root.
    if (slash == std::string::npos && utf8.size() >= 2 && IsDriveLetter(utf8[0]) && utf8[1] == ':') {
        folderPart = utf8.substr(0, 2) + "\\";
        namePart = utf8.substr(2);
    }
    if (namePart.empty())
        return result;
    std::string folder = folderPart.empty() ? std::string(".") : ResolveUtf8(folderPart);
    if (folder.empty())
        return result;
    const std::string namePattern = Utf8ToCp932(namePart);
    const bool matchAll = namePattern == "*.*" || namePattern == "*";

    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return result;
    while (struct dirent* entry = ::readdir(dir)) {
        std::string name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        std::string systemName = Utf8ToCp932(name);
        if (!matchAll && !MatchWildcard(namePattern, systemName))
            continue;
        struct stat info;
        if (::stat(JoinPath(folder, name).c_str(), &info) != 0)
            continue; // a dangling link or a name that vanished meanwhile
        CFindFileEntry found;
        found.name = CString(std::move(systemName));
        found.isDirectory = S_ISDIR(info.st_mode) ? TRUE : FALSE;
        found.size = info.st_size > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<DWORD>(info.st_size);
        result.push_back(std::move(found));
    }
    ::closedir(dir);
    std::sort(result.begin(), result.end(),
              [](const CFindFileEntry& a, const CFindFileEntry& b) { return a.name.str() < b.name.str(); });
    return result;
}

#include "setup/DriveList.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string DecodeOctal(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool IsUnder(const std::string& path, const std::string& root)
{
    if (root == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, root.size(), root) == 0 &&
           (path.size() == root.size() || path[root.size()] == '/');
}

} // namespace

std::vector<CMountEntry> ParseMountTable(const std::string& text)
{
    std::vector<CMountEntry> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        if (!(fields >> device >> mountPoint))
            continue;
        entries.push_back(CMountEntry{DecodeOctal(device), DecodeOctal(mountPoint)});
    }
    return entries;
}

std::vector<CDriveInfo> ListDrives(const std::vector<CMountEntry>& mounts,
                                   const std::vector<std::pair<std::string, std::string>>& labels,
                                   const std::vector<std::string>& mediaFolders)
{
    std::vector<CDriveInfo> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root = GetDriveRoot(letter);
        if (root.empty())
            continue;
        std::error_code error;
        if (!std::filesystem::is_directory(root, error))
            continue; // a drive that cannot be made current is left out
        char rootPath[4] = {letter, ':', '\\', '\0'};
        CDriveInfo info;
        info.letter = letter;
        info.removable = GetDriveType(rootPath) == DRIVE_REMOVABLE;
        // The mount that holds the root: the longest mount point above it.
        const CMountEntry* pMount = nullptr;
        for (const CMountEntry& m : mounts) {
            if (IsUnder(root, m.mountPoint) && (!pMount || m.mountPoint.size() > pMount->mountPoint.size()))
                pMount = &m;
        }
        if (pMount) {
            for (const std::string& media : mediaFolders) {
                if (IsUnder(pMount->mountPoint, media) && pMount->mountPoint != media)
                    info.removable = true;
            }
        }
        bool bLabelled = false;
        if (pMount) {
            for (const auto& [device, label] : labels) {
                if (device == pMount->device) {
                    info.label = CString(Utf8ToCp932(label));
                    bLabelled = true;
                    break;
                }
            }
        }
        if (!bLabelled)
            GetVolumeLabel(rootPath, info.label);
        drives.push_back(info);
    }
    return drives;
}

std::vector<CDriveInfo> ListSystemDrives()
{
    std::vector<CMountEntry> mounts;
    {
        std::ifstream in("/proc/mounts");
        if (in) {
            std::stringstream buffer;
            buffer << in.rdbuf();
            mounts = ParseMountTable(buffer.str());
        }
    }
    std::vector<std::pair<std::string, std::string>> labels;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code e2;
        const std::filesystem::path target = std::filesystem::canonical(it->path(), e2);
        if (!e2)
            labels.emplace_back(target.string(), DecodeOctal(it->path().filename().string()));
    }
    return ListDrives(mounts, labels);
}

// The drives the path page lists: every letter of the platform's drive table whose root
// exists, fixed or removable, with a volume label where one is known.
//
// A drive is removable when the table marks it so (";removable" in MORVEL_DRIVES) or when
// its root lies on a medium the system mounted under /media or /run/media (read from the
// mount table, /proc/mounts). The label is the name the system gives the medium (the
// /dev/disk/by-label link of the mounted device), else the name of the folder the drive
// is mapped to.
#pragma once

#include "platform/base/CString.h"

#include <string>
#include <vector>

struct CMountEntry {
    std::string device;
    std::string mountPoint;
};

struct CDriveInfo {
    char letter = 0;
    bool removable = false;
    CString label;
};

// The entries of a mount table in the kernel's format (device, mount point, type,
// options, two numbers, blank-separated; "\040" and the other octal escapes decoded).
// Lines that do not have at least two fields are skipped.
std::vector<CMountEntry> ParseMountTable(const std::string& text);

// The drives in letter order. mounts: the mount table; labels: (device, label) pairs;
// mediaFolders: where the system mounts removable media ("/media", "/run/media").
std::vector<CDriveInfo> ListDrives(const std::vector<CMountEntry>& mounts,
                                   const std::vector<std::pair<std::string, std::string>>& labels,
                                   const std::vector<std::string>& mediaFolders = {"/media", "/run/media"});
// The same from the running system's mount table and labels.
std::vector<CDriveInfo> ListSystemDrives();

// The file system as the system sees it: Windows-form paths in code page 932.
//
// "\" and "/" both separate. A drive letter maps through the drive table ("C:" is the
// root of the file system unless configured otherwise). POSIX paths pass through. A name
// that does not exist with its exact case is found without regard to case. Names are
// stored on disk in UTF-8.
#pragma once

#include "CString.h"
#include "Types.h"

#include <string>
#include <vector>

// The native (UTF-8) path for a system path. Existing components are matched without
// regard to case; components that do not exist yet are kept as given.
std::string NativePath(const char* path);
// The system path (CP932) for a native path.
CString SystemPathFromNative(const std::string& nativePath);
// A system path as a user of this system sees it (messages, titles, menus): the native path
// ("/home/user/見積.MMD"), in CP932 like every text of the program. Paths are kept and
// stored in the system form; only what is shown is native.
CString DisplayPath(const char* path);
// The system form of a path the user typed or was shown: a native path ("/home/user/work")
// becomes the drive form ("C:\home\user\work") where a drive holds it; a text that is no
// native path ("C:\WORK", "\DATA", a relative name) comes back as it is.
CString SystemPathFromDisplay(const char* shown);

// Drive table. The settings or the environment variable MORVEL_DRIVES
// ("C=/,D=/media/cdrom") configure it; letters without an entry are unavailable.
// "C:" is the file-system root unless the variable names it ("C=" removes it); an entry
// ending in ";removable" ("E=/srv/stick;removable") marks media that come and go.
// A root under /media, /mnt or /run/media counts as removable by itself.
void SetDriveRoot(char letter, const std::string& nativeRoot); // an empty root unmaps the letter
void SetDriveRemovable(char letter, BOOL removable);
std::string GetDriveRoot(char letter); // empty when the letter is not mapped
// A drive as the user's file system shows it: the folder it stands for, followed by the
// medium's name in brackets when that is known and is not the folder's own name already
// ("/media/usb [SUMMER]"). Empty for a letter the table does not map.
CString DisplayDrive(char letter, const char* label);
void ResetDriveTable(); // back to the default and MORVEL_DRIVES
// The letter whose root holds the current directory (the most specific root); 0 when none.
char GetCurrentDriveLetter();

enum DriveType { DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2, DRIVE_FIXED = 3 };
UINT GetDriveType(const char* rootPath);
BOOL GetVolumeLabel(const char* rootPath, CString& label);

BOOL FileExists(const char* path);
// Something is there that is neither a file nor a folder (a named pipe, a device, a socket):
// nothing a document can be read from or written to, and opening it may never return.
BOOL IsSpecialFile(const char* path);
BOOL DirectoryExists(const char* path);
BOOL CopyFile(const char* existing, const char* target, BOOL failIfExists);
BOOL DeleteFile(const char* path);
BOOL CreateDirectory(const char* path); // one level, as Windows does
// Makes the folder with every level above it that is missing; TRUE when the folder is there
// afterwards (made now or before). A path on a drive this machine does not have is FALSE.
BOOL CreateFolderPath(const char* path);
BOOL RemoveDirectory(const char* path);
BOOL MoveFile(const char* existing, const char* target);
// Writes a whole file safely: the bytes go to a temporary file in the same folder that
// then replaces the target, so the old content is never lost before the new one is whole.
// On failure errno says why (ENOSPC for a full disk, EACCES for a file the user may not
// write: one without a write bit counts so for the superuser as well) and the old file is
// untouched. The temporary files a write of the same file killed part-way left are removed
// first (RemoveLeftTemporaries), as by every function here that writes through a temporary
// file (CopyFile, MoveFile, CanWriteFileAtomically's trial).
BOOL WriteFileAtomically(const char* path, const void* data, size_t size);
// Whether WriteFileAtomically could put a file at path now: its folder exists and takes a
// new file (tried for real, so a read-only folder counts even for the superuser's
// permissions as the kernel sees them), path is not a folder, and a file there is one the
// user may write. Nothing is left behind; on FALSE errno says why.
BOOL CanWriteFileAtomically(const char* path);
// Removes the temporary files beside path that a write of it by a process no longer running
// left (".NAME.<pid>.<n>.tmp", a save killed part-way); those of a running process stay.
// Every reader calls it at the opening of a file (CFile::Open, the settings and compound-file
// readers), every writer at the making of its temporary.
void RemoveLeftTemporaries(const char* path);
// The same for a native (UTF-8) path.
void RemoveLeftTemporariesNative(const std::string& nativePath);

// The current folder is the process's, and some commands move it as users expect. No
// reader or writer should depend on it: a path that comes in relative (a command line, a
// typed name) is made full once, where it comes in, with GetFullPath.
CString GetCurrentDirectory();
BOOL SetCurrentDirectory(const char* path);
// Whether a system path means something different in another current folder: it has no
// drive ("C:") and does not start at a root ("\", "/"), or it starts with one separator
// and no drive (the current drive's root).
BOOL IsPathRelative(const char* path);
// The path as it means now: a relative path is put under the current folder (or, for
// "\name", the current drive's root) and its "." and ".." components are resolved; a full
// path comes back exactly as given. Empty for an empty path.
CString GetFullPath(const char* path);
// The same from a folder instead of the current one: a relative path ("..\FORM\", "a.MMP")
// is put under lpszFolder and resolved; "\name" and a full path as GetFullPath takes them.
// A relative path with no folder given comes back as it is.
CString GetFullPathFrom(const char* path, const char* lpszFolder);
CString GetModuleFileName(); // the running program, as a system path

// Directory listing with "*" and "?" wildcards matched without regard to case.
struct CFindFileEntry {
    CString name; // file name only
    BOOL isDirectory;
    DWORD size;
};
std::vector<CFindFileEntry> FindFiles(const char* pattern);

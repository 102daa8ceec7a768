#include "platform/ui/core/CSingleInstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// TRUE when the folder is a real folder (not a link) of this user that nobody else may
// write into; a folder of this user's with too wide rights is narrowed.
bool IsPrivateFolder(const std::string& folder)
{
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return false;
    if ((st.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0)
        return false;
    return true;
}

bool MakePrivateFolder(const std::string& folder)
{
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(folder);
}

} // namespace

CSingleInstanceLock::CSingleInstanceLock(const char* lpszName)
{
    // The name becomes a file name: separators are replaced. The user's number is part of
    // it, so that users sharing one lock folder each have their own lock.
    std::string name = lpszName ? lpszName : "lock";
    for (char& c : name) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    m_strPath = GetLockFolder() + "/" + name + "." + std::to_string(getuid()) + ".lock";
}

CSingleInstanceLock::~CSingleInstanceLock()
{
    Unlock();
}

std::string CSingleInstanceLock::GetLockFolder()
{
    if (const char* env = std::getenv("MORVEL_LOCK_DIR"); env && *env)
        return env;
    // The folder depends on the user alone, never on the session's environment: the same
    // user under su, ssh or cron must meet the lock of the instance already running.
    const std::string uid = std::to_string(getuid());
    const std::string shared = "/tmp/morvel-" + uid;
    if (MakePrivateFolder(shared))
        return shared;
    // Someone else made that name first: the user's home folder (from the user database,
    // not $HOME, which su may keep from the other user).
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        const std::string home = std::string(pw->pw_dir) + "/.morvel-lock";
        if (MakePrivateFolder(home))
            return home;
    }
    return shared;
}

BOOL CSingleInstanceLock::Lock()
{
    if (m_fd >= 0)
        return TRUE;
    const int fd = open(m_strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // A lock file this user cannot open proves nothing about another instance of the
        // user's; refusing to start on it would refuse for good. The program runs unguarded.
        std::fprintf(stderr, "morvel: the single-instance lock %s cannot be opened; running without it\n",
                     m_strPath.c_str());
        m_bUnguarded = true;
        return TRUE;
    }
    // The lock, not the file, tells: a file left by a process that ended holds no lock.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        close(fd);
        if (err == EWOULDBLOCK)
            return FALSE;
        // A file system without locks: as above, nothing shows another instance.
        m_bUnguarded = true;
        return TRUE;
    }
    // Who holds it, for whoever looks.
    if (ftruncate(fd, 0) == 0) {
        const std::string pid = std::to_string(getpid()) + "\n";
        if (write(fd, pid.data(), pid.size()) < 0) {
            // The lock holds without the note.
        }
    }
    m_fd = fd;
    m_bUnguarded = false;
    return TRUE;
}

void CSingleInstanceLock::Unlock()
{
    m_bUnguarded = false;
    if (m_fd < 0)
        return;
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
}

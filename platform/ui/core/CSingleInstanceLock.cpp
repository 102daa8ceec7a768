#include "platform/ui/core/CSingleInstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CSingleInstanceLock::CSingleInstanceLock(const char* lpszName)
{
    // The name becomes a file name: separators are replaced.
    std::string name = lpszName ? lpszName : "lock";
    for (char& c : name) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    m_strPath = GetLockFolder() + "/" + name + ".lock";
}

CSingleInstanceLock::~CSingleInstanceLock()
{
    Unlock();
}

std::string CSingleInstanceLock::GetLockFolder()
{
    if (const char* env = std::getenv("MORVEL_LOCK_DIR"); env && *env)
        return env;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    // A folder of this user's own in the temporary folder.
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/morvel-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return tmp && *tmp ? tmp : "/tmp";
    return folder;
}

BOOL CSingleInstanceLock::Lock()
{
    if (m_fd >= 0)
        return TRUE;
    const int fd = open(m_strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return FALSE;
    // The lock, not the file, tells: a file left by a process that ended holds no lock.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return FALSE;
    }
    // Who holds it, for whoever looks.
    if (ftruncate(fd, 0) == 0) {
        const std::string pid = std::to_string(getpid()) + "\n";
        if (write(fd, pid.data(), pid.size()) < 0) {
            // The lock holds without the note.
        }
    }
    m_fd = fd;
    return TRUE;
}

void CSingleInstanceLock::Unlock()
{
    if (m_fd < 0)
        return;
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
}

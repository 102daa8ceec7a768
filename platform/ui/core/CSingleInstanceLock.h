// CSingleInstanceLock: a named lock that only one process (and one holder) can own at a
// time — what the program uses to refuse a second running instance.
//
// The lock is a file "<name>.lock" in the user's runtime folder ($XDG_RUNTIME_DIR, else a
// private folder under the temporary folder) held with an exclusive flock(). The kernel
// drops the lock when its holder ends, however it ends, so a lock left behind by a process
// that died is simply taken over.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <string>

class CSingleInstanceLock {
public:
    explicit CSingleInstanceLock(const char* lpszName);
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    // TRUE when this object now holds the lock (or already held it); FALSE when another
    // holder has it or the lock file cannot be made.
    BOOL Lock();
    void Unlock();
    BOOL IsLocked() const { return m_fd >= 0; }
    // The lock file (native path).
    const std::string& GetLockPath() const { return m_strPath; }

    // The folder lock files are made in (the environment variable MORVEL_LOCK_DIR overrides,
    // for tests).
    static std::string GetLockFolder();

private:
    std::string m_strPath;
    int m_fd = -1;
};

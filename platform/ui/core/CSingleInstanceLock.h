// CSingleInstanceLock: a named lock that only one process (and one holder) can own at a
// time — what the program uses to refuse a second running instance.
//
// The lock is a file "<name>.<uid>.lock" in a private folder of the user's that does not
// depend on the environment (/tmp/morvel-<uid>, or ~/.morvel-lock when that name is taken
// by someone else), held with an exclusive flock(). The kernel drops the lock when its
// holder ends, however it ends, so a lock left behind by a process that died is simply
// taken over.
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

    // FALSE only when another holder has the lock. TRUE when this object now holds it (or
    // already held it), and also when the lock file cannot be opened or locked at all:
    // then nothing shows another instance, and IsUnguarded() tells.
    BOOL Lock();
    void Unlock();
    BOOL IsLocked() const { return m_fd >= 0; }
    bool IsUnguarded() const { return m_bUnguarded; }
    // The lock file (native path).
    const std::string& GetLockPath() const { return m_strPath; }

    // The folder lock files are made in (the environment variable MORVEL_LOCK_DIR overrides,
    // for tests).
    static std::string GetLockFolder();

private:
    std::string m_strPath;
    int m_fd = -1;
    bool m_bUnguarded = false;
};

// Private profile (.ini) files with the Windows semantics the system relies on: sections
// and keys match without regard to case, values are CP932 texts, missing keys give the
// caller's default, and writing keeps every other line, section and their order.
#pragma once

#include "CString.h"

class CProfileFile {
public:
    CProfileFile() = default;
    explicit CProfileFile(const CString& path) : m_strPath(path) {}

    void SetPath(const CString& path) { m_strPath = path; }
    const CString& GetPath() const { return m_strPath; }

    // Integers are parsed as Windows does: leading digits with an optional sign, the
    // default when the key is missing.
    UINT GetProfileInt(const char* section, const char* key, int nDefault) const;
    CString GetProfileString(const char* section, const char* key, const char* lpszDefault = nullptr) const;
    BOOL WriteProfileInt(const char* section, const char* key, int nValue);
    BOOL WriteProfileString(const char* section, const char* key, const char* value);
    // A null key removes the section; a null value removes the key.

private:
    CString m_strPath;
};

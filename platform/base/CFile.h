// Binary files and in-memory files. Paths are code page 932 texts in Windows form
// ("C:\MORVEL\WORK\TANNI.MTD"); they are mapped to the file system by NativePath.
#pragma once

#include "CException.h"

#include <cstdio>
#include <vector>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens or throws CFileException.
    CFile(const char* fileName, UINT openFlags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Returns FALSE (and fills pError when given) instead of throwing.
    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* pError = nullptr);
    virtual void Close();
    // Closes without throwing, for clean-up paths.
    virtual void Abort();
    BOOL IsOpen() const;

    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual void Flush();
    virtual LONG Seek(LONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD newLength);

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;

    static void Remove(const char* fileName);
    static void Rename(const char* oldName, const char* newName);

protected:
    CString m_strFileName;

private:
    std::FILE* m_fp = nullptr;
};

// A file in memory that grows as it is written; the archive tests and the clipboard
// use it. Attach gives it existing bytes to read.
class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(const BYTE* data, UINT size, UINT growBytes = 0);

    void Attach(const BYTE* data, UINT size, UINT growBytes = 0);
    // Hands the bytes over and leaves the file empty.
    std::vector<BYTE> Detach();
    const std::vector<BYTE>& GetData() const { return m_data; }

    BOOL Open(const char*, UINT, CFileException* = nullptr) override { return FALSE; }
    void Close() override;
    void Abort() override { Close(); }
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void Flush() override {}
    LONG Seek(LONG offset, UINT from) override;
    DWORD GetPosition() const override { return m_position; }
    DWORD GetLength() const override { return static_cast<DWORD>(m_data.size()); }
    void SetLength(DWORD newLength) override;

private:
    std::vector<BYTE> m_data;
    DWORD m_position = 0;
    UINT m_nGrowBytes;
};

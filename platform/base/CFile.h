// Binary files and in-memory files. Paths are code page 932 texts in Windows form
// ("C:\MORVEL\WORK\TANNI.MTD"); they are mapped to the file system by NativePath.
#pragma once

#include "CException.h"

#include <cstdio>
#include <string>
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
    // The bytes from the position to the end, handed out where they lie without a copy, the
    // position moved past them; null where they do not lie in memory (a file on disk). They
    // stay valid until the file is written, closed or given other bytes.
    virtual const BYTE* ReadInPlace(UINT& nBytes)
    {
        nBytes = 0;
        return nullptr;
    }
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
    // Fails when newName already exists, as renaming does on Windows.
    static void Rename(const char* oldName, const char* newName);

    // The cause for an errno value, and the exception for it.
    static int ErrnoToCause(int err);
    [[noreturn]] static void ThrowErrno(int err, const CString& fileName);

protected:
    // The open stream for derived text files. Before reading or writing through it they
    // call PrepareForRead / PrepareForWrite, which keep the C stream's rule that a switch
    // between reading and writing passes through a positioning call.
    std::FILE* GetStream() const { return m_fp; }
    void PrepareForRead();
    void PrepareForWrite();
    void ThrowIfClosed() const;

    CString m_strFileName;
    // Memory files are open from construction on and have no stream.
    bool m_bAlwaysOpen = false;

private:
    enum LastOperation { opNone, opRead, opWrite };

    std::FILE* m_fp = nullptr;
    mutable LastOperation m_lastOp = opNone;
};

// A file in memory that grows as it is written; documents are read from one (an archive
// reads its bytes in place), the clipboard writes into one. Attach gives it a copy of
// existing bytes to read; the constructor from a vector takes the bytes over. A file made with growBytes 0
// keeps its length: writing past its end throws CMemoryException.
class CMemFile : public CFile {
public:
    explicit CMemFile(UINT growBytes = 1024);
    CMemFile(const BYTE* data, UINT size, UINT growBytes = 0);
    // A file of the bytes given, taken over without a copy.
    explicit CMemFile(std::vector<BYTE>&& data, UINT growBytes = 0);

    void Attach(const BYTE* data, UINT size, UINT growBytes = 0);
    // Room for nBytes in all, so that writing up to there does not move the bytes.
    void Reserve(size_t nBytes) { m_data.reserve(nBytes); }
    // Hands the bytes over and leaves the file empty.
    std::vector<BYTE> Detach();
    const std::vector<BYTE>& GetData() const { return m_data; }

    // A memory file is not opened by name.
    BOOL Open(const char*, UINT, CFileException* = nullptr) override { return FALSE; }
    void Close() override;
    void Abort() override { Close(); }
    UINT Read(void* buffer, UINT count) override;
    const BYTE* ReadInPlace(UINT& nBytes) override;
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

// The whole content of a file, read at once; throws CFileException when the file cannot be
// opened or read. Readers parse from memory, so a file is never half read into a document.
std::string ReadWholeFile(const char* lpszPath);
std::vector<BYTE> ReadWholeFileBytes(const char* lpszPath);

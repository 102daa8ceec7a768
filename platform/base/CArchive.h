// CArchive: the framework's binary stream over a CFile. Integers are little-endian;
// strings carry the length prefix of the stored formats (one byte below 255, 0xFF and a
// word up to 65533, 0xFF 0xFFFF and a double word beyond). Objects are written as class
// and object records sharing one index counter, so that files of the original program
// read and the files we write are byte-identical to its files.
#pragma once

#include "CException.h"
#include "Types.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CFile;
class CObject;
struct CRuntimeClass;
class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const;
    CFile* GetFile() const { return m_pFile; }
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // Raw bytes. Read returns how many bytes were available (fewer at the end of the
    // file, without throwing); the typed operators throw CArchiveException::endOfFile.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort();

    CArchive& operator<<(BYTE b);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(short s) { return *this << static_cast<WORD>(s); }
    CArchive& operator<<(char ch) { return *this << static_cast<BYTE>(ch); }
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(const CString& s);
    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }

    CArchive& operator>>(BYTE& b);
    // Inline where the word lies in the buffer: a file's rows are read mostly as words and
    // short texts, a million of them in a large estimate.
    CArchive& operator>>(WORD& w)
    {
        if (m_nBufEnd - m_nBufPos >= 2 && !m_bClosed && m_pFile != nullptr && IsLoading()) {
            w = static_cast<WORD>(m_pLoad[m_nBufPos] | (m_pLoad[m_nBufPos + 1] << 8));
            m_nBufPos += 2;
            return *this;
        }
        return ReadWordFromFile(w);
    }
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(short& s);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(CString& s);
    template <class T>
    CArchive& operator>>(T*& pOb)
    {
        pOb = static_cast<T*>(ReadObject(nullptr));
        return *this;
    }

    // Counts as the collections store them: a word, or 0xFFFF and a double word.
    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    void WriteString(const char* text); // a text line, no prefix, no terminator
    BOOL ReadString(CString& line);     // up to and without the line end

    void WriteObject(const CObject* pOb);
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);

    CDocument* m_pDocument = nullptr;

private:
    void FillBuffer(UINT nBytesNeeded);
    void ReadExact(void* p, UINT n);
    [[noreturn]] void ThrowEndOfFile();
    [[noreturn]] void ThrowArchive(int cause);
    void CheckLoading();
    void CheckStoring();
    void WriteBytes(const void* p, UINT n);
    void WriteBufferToFile();
    // The length prefix of a stored string; bUnicode is set when the 0xFF 0xFFFE marker of
    // a UTF-16 string came first.
    DWORD ReadStringLength(bool& bUnicode);
    void ReadBytesInto(std::string& out, uint64_t nBytes);
    CArchive& ReadWordFromFile(WORD& w);
    DWORD NextMapIndex();

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buffer;
    // The bytes being read: the buffer, or once it is used up over a file whose bytes lie
    // in memory, the rest of the file itself (CFile::ReadInPlace), read without a copy.
    const BYTE* m_pLoad = nullptr;
    bool m_bInPlace = false;
    UINT m_nBufPos = 0; // next byte to read (in m_pLoad), or bytes waiting to be written
    UINT m_nBufEnd = 0; // end of valid bytes when loading
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    bool m_bClosed = false;

    // Object and class bookkeeping: one counter for both kinds of record.
    std::map<const void*, DWORD> m_storeMap;
    std::vector<const void*> m_loadArray; // index -> CRuntimeClass* or CObject*
    std::vector<bool> m_loadIsClass;
    std::vector<UINT> m_loadSchema; // for class entries: the schema the file gave
    DWORD m_nMapCount = 1;
    int m_nUncaughtAtStart = 0;
};

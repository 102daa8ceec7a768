// CArchive: the byte-exact binary stream of the stored files.
//
// Object records: a null pointer is the word 0x0000. An object is preceded by its class:
// the first time a class appears, the word 0xFFFF, the schema word, the name length word
// and the name; later, the word 0x8000 | index of the class. An object written before is
// written again as the word of its index alone. Classes and objects share one index
// counter that starts at 1. An index of 0x7FFF or more is the word 0x7FFF followed by a
// double word (with bit 31 set for a class).

#include "platform/base/CArchive.h"

#include "platform/base/CFile.h"
#include "platform/base/CObject.h"
#include "platform/base/Cp932.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

constexpr WORD kNullTag = 0x0000;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000u;
// Beyond this many records an archive is treated as corrupt.
constexpr DWORD kMaxMapCount = 0x3FFFFFFEu;
// Strings longer than this are read piece by piece, so that a damaged length prefix in a
// short file costs no more than one piece of memory before the end of the file shows.
constexpr uint64_t kStringChunk = 1u << 20;

inline WORD LoadWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
inline DWORD LoadDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}
inline void StoreWord(BYTE* p, WORD w)
{
    p[0] = static_cast<BYTE>(w);
    p[1] = static_cast<BYTE>(w >> 8);
}
inline void StoreDword(BYTE* p, DWORD d)
{
    p[0] = static_cast<BYTE>(d);
    p[1] = static_cast<BYTE>(d >> 8);
    p[2] = static_cast<BYTE>(d >> 16);
    p[3] = static_cast<BYTE>(d >> 24);
}

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* /*lpBuf*/)
    : m_pFile(pFile), m_nMode(nMode), m_nUncaughtAtStart(std::uncaught_exceptions())
{
    // The archive always keeps its own buffer; a caller's buffer only gives its size.
    if (nBufSize <= 0)
        nBufSize = 4096;
    m_buffer.resize(static_cast<size_t>(std::max(nBufSize, 16)));
    m_pLoad = m_buffer.data();
    if (IsLoading()) {
        // Index 0 is the null object.
        m_loadArray.push_back(nullptr);
        m_loadIsClass.push_back(false);
        m_loadSchema.push_back(0);
    }
}

CArchive::~CArchive()
{
    // A storing archive that is destroyed without Close still writes its buffer, unless
    // it goes away because an exception is unwinding the write: a half-built record then
    // stays out of the file. Failures here cannot be reported; callers that need to know
    // call Close.
    if (!m_bClosed && m_pFile != nullptr && IsStoring() && !(m_nMode & bNoFlushOnDelete) &&
        std::uncaught_exceptions() <= m_nUncaughtAtStart) {
        try {
            WriteBufferToFile();
        } catch (...) {
        }
    }
}

void CArchive::ThrowArchive(int cause)
{
    throw CArchiveException(cause, m_pFile != nullptr ? m_pFile->GetFilePath() : CString());
}

void CArchive::ThrowEndOfFile()
{
    ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::CheckLoading()
{
    if (m_bClosed || m_pFile == nullptr)
        ThrowArchive(CArchiveException::genericException);
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring()
{
    if (m_bClosed || m_pFile == nullptr)
        ThrowArchive(CArchiveException::genericException);
    if (!IsStoring())
        ThrowArchive(CArchiveException::readOnly);
}

BOOL CArchive::IsBufferEmpty() const
{
    if (IsLoading())
        return m_nBufPos == m_nBufEnd ? TRUE : FALSE;
    return m_nBufPos == 0 ? TRUE : FALSE;
}

UINT CArchive::GetObjectSchema()
{
    // The schema is handed out once per object, as the framework does.
    const UINT nSchema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nSchema;
}

// ---------------------------------------------------------------------------------------
// Buffer

void CArchive::WriteBufferToFile()
{
    if (m_nBufPos > 0) {
        const UINT n = m_nBufPos;
        m_nBufPos = 0;
        m_pFile->Write(m_buffer.data(), n);
    }
}

void CArchive::WriteBytes(const void* p, UINT n)
{
    const UINT size = static_cast<UINT>(m_buffer.size());
    if (n <= size - m_nBufPos) {
        std::memcpy(m_buffer.data() + m_nBufPos, p, n);
        m_nBufPos += n;
        return;
    }
    WriteBufferToFile();
    if (n >= size) {
        m_pFile->Write(p, n);
    } else {
        std::memcpy(m_buffer.data(), p, n);
        m_nBufPos = n;
    }
}

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    if (m_bInPlace)
        return; // the rest of the file is being read already
    const UINT size = static_cast<UINT>(m_buffer.size());
    UINT avail = m_nBufEnd - m_nBufPos;
    if (avail == 0) {
        UINT nRest = 0;
        if (const BYTE* pRest = m_pFile->ReadInPlace(nRest)) {
            m_pLoad = pRest;
            m_bInPlace = true;
            m_nBufPos = 0;
            m_nBufEnd = nRest;
            return;
        }
    }
    if (avail > 0 && m_nBufPos > 0)
        std::memmove(m_buffer.data(), m_buffer.data() + m_nBufPos, avail);
    m_nBufPos = 0;
    m_nBufEnd = avail;
    const UINT want = std::min(nBytesNeeded, size);
    // Read as much as fits; a file may hand out fewer bytes than asked before its end.
    while (m_nBufEnd < size) {
        const UINT got = m_pFile->Read(m_buffer.data() + m_nBufEnd, size - m_nBufEnd);
        if (got == 0)
            break;
        m_nBufEnd += got;
        if (m_nBufEnd >= want)
            break;
    }
}

void CArchive::ReadExact(void* p, UINT n)
{
    BYTE* out = static_cast<BYTE*>(p);
    UINT avail = m_nBufEnd - m_nBufPos;
    if (avail >= n) {
        std::memcpy(out, m_pLoad + m_nBufPos, n);
        m_nBufPos += n;
        return;
    }
    if (n <= m_buffer.size()) {
        FillBuffer(n);
        avail = m_nBufEnd - m_nBufPos;
        if (avail < n)
            ThrowEndOfFile();
        std::memcpy(out, m_pLoad + m_nBufPos, n);
        m_nBufPos += n;
        return;
    }
    // Larger than the buffer: take what is buffered, then read straight from the file.
    std::memcpy(out, m_pLoad + m_nBufPos, avail);
    m_nBufPos = m_nBufEnd = 0;
    UINT done = avail;
    while (done < n) {
        const UINT got = m_pFile->Read(out + done, n - done);
        if (got == 0)
            ThrowEndOfFile();
        done += got;
    }
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(lpBuf);
    UINT done = std::min(nMax, m_nBufEnd - m_nBufPos);
    std::memcpy(out, m_pLoad + m_nBufPos, done);
    m_nBufPos += done;
    while (done < nMax) {
        const UINT rest = nMax - done;
        if (rest >= m_buffer.size()) {
            const UINT got = m_pFile->Read(out + done, rest);
            if (got == 0)
                break;
            done += got;
        } else {
            FillBuffer(rest);
            const UINT n = std::min(rest, m_nBufEnd - m_nBufPos);
            if (n == 0)
                break;
            std::memcpy(out + done, m_pLoad + m_nBufPos, n);
            m_nBufPos += n;
            done += n;
        }
    }
    return done;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    WriteBytes(lpBuf, nMax);
}

void CArchive::Flush()
{
    if (m_bClosed || m_pFile == nullptr)
        return;
    if (IsStoring()) {
        WriteBufferToFile();
        return;
    }
    // Bytes read ahead but not used go back to the file, so that whoever reads on after
    // the archive starts where the archive stopped.
    const UINT unread = m_nBufEnd - m_nBufPos;
    m_nBufPos = m_nBufEnd = 0;
    m_pLoad = m_buffer.data();
    m_bInPlace = false;
    if (unread > 0) {
        try {
            m_pFile->Seek(-static_cast<LONG>(unread), CFile::current);
        } catch (CFileException&) {
            // A stream that cannot seek back keeps its position; nothing else is lost.
        }
    }
}

void CArchive::Close()
{
    if (m_bClosed)
        return;
    Flush();
    m_bClosed = true;
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_nBufPos = m_nBufEnd = 0;
    m_bClosed = true;
    m_pFile = nullptr;
}

// ---------------------------------------------------------------------------------------
// Numbers

CArchive& CArchive::operator<<(BYTE b)
{
    CheckStoring();
    WriteBytes(&b, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD w)
{
    CheckStoring();
    BYTE bytes[2];
    StoreWord(bytes, w);
    WriteBytes(bytes, 2);
    return *this;
}

CArchive& CArchive::operator<<(LONG l)
{
    return *this << static_cast<DWORD>(l);
}

CArchive& CArchive::operator<<(DWORD dw)
{
    CheckStoring();
    BYTE bytes[4];
    StoreDword(bytes, dw);
    WriteBytes(bytes, 4);
    return *this;
}

CArchive& CArchive::operator<<(float f)
{
    uint32_t bits;
    static_assert(sizeof bits == sizeof f);
    std::memcpy(&bits, &f, sizeof bits);
    return *this << static_cast<DWORD>(bits);
}

CArchive& CArchive::operator<<(double d)
{
    uint64_t bits;
    static_assert(sizeof bits == sizeof d);
    std::memcpy(&bits, &d, sizeof bits);
    CheckStoring();
    BYTE bytes[8];
    StoreDword(bytes, static_cast<DWORD>(bits));
    StoreDword(bytes + 4, static_cast<DWORD>(bits >> 32));
    WriteBytes(bytes, 8);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& b)
{
    CheckLoading();
    if (m_nBufPos < m_nBufEnd) {
        b = m_pLoad[m_nBufPos++];
        return *this;
    }
    ReadExact(&b, 1);
    return *this;
}

CArchive& CArchive::ReadWordFromFile(WORD& w)
{
    CheckLoading();
    BYTE bytes[2];
    ReadExact(bytes, 2);
    w = LoadWord(bytes);
    return *this;
}

CArchive& CArchive::operator>>(DWORD& dw)
{
    CheckLoading();
    BYTE bytes[4];
    if (m_nBufEnd - m_nBufPos >= 4) {
        dw = LoadDword(m_pLoad + m_nBufPos);
        m_nBufPos += 4;
        return *this;
    }
    ReadExact(bytes, 4);
    dw = LoadDword(bytes);
    return *this;
}

CArchive& CArchive::operator>>(LONG& l)
{
    DWORD dw;
    *this >> dw;
    l = static_cast<LONG>(dw);
    return *this;
}

CArchive& CArchive::operator>>(short& s)
{
    WORD w;
    *this >> w;
    s = static_cast<short>(w);
    return *this;
}

CArchive& CArchive::operator>>(char& ch)
{
    BYTE b;
    *this >> b;
    ch = static_cast<char>(b);
    return *this;
}

CArchive& CArchive::operator>>(float& f)
{
    DWORD bits;
    *this >> bits;
    std::memcpy(&f, &bits, sizeof f);
    return *this;
}

CArchive& CArchive::operator>>(double& d)
{
    CheckLoading();
    BYTE bytes[8];
    ReadExact(bytes, 8);
    const uint64_t bits =
        static_cast<uint64_t>(LoadDword(bytes)) | (static_cast<uint64_t>(LoadDword(bytes + 4)) << 32);
    std::memcpy(&d, &bits, sizeof d);
    return *this;
}

// ---------------------------------------------------------------------------------------
// Strings

CArchive& CArchive::operator<<(const CString& s)
{
    CheckStoring();
    const size_t len = s.str().size();
    if (len > 0xFFFFFFFEu)
        ThrowArchive(CArchiveException::genericException);
    BYTE prefix[7];
    UINT nPrefix;
    if (len < 255) {
        prefix[0] = static_cast<BYTE>(len);
        nPrefix = 1;
    } else if (len < 0xFFFE) {
        prefix[0] = 0xFF;
        StoreWord(prefix + 1, static_cast<WORD>(len));
        nPrefix = 3;
    } else {
        prefix[0] = 0xFF;
        StoreWord(prefix + 1, 0xFFFF);
        StoreDword(prefix + 3, static_cast<DWORD>(len));
        nPrefix = 7;
    }
    WriteBytes(prefix, nPrefix);
    WriteBytes(s.str().data(), static_cast<UINT>(len));
    return *this;
}

DWORD CArchive::ReadStringLength(bool& bUnicode)
{
    bUnicode = false;
    for (int pass = 0; pass < 2; ++pass) {
        BYTE b;
        *this >> b;
        if (b < 0xFF)
            return b;
        WORD w;
        *this >> w;
        if (w == 0xFFFE) {
            // A UTF-16 string: the real length prefix follows, counted in characters.
            if (bUnicode)
                break;
            bUnicode = true;
            continue;
        }
        if (w < 0xFFFF)
            return w;
        DWORD dw;
        *this >> dw;
        if (dw == 0xFFFFFFFFu)
            break; // a 64-bit length: no file of this system is that large
        return dw;
    }
    ThrowArchive(CArchiveException::genericException);
}

void CArchive::ReadBytesInto(std::string& out, uint64_t nBytes)
{
    out.clear();
    while (nBytes > 0) {
        const size_t chunk = static_cast<size_t>(std::min(nBytes, kStringChunk));
        const size_t old = out.size();
        out.resize(old + chunk);
        ReadExact(out.data() + old, static_cast<UINT>(chunk));
        nBytes -= chunk;
    }
}

CArchive& CArchive::operator>>(CString& s)
{
    CheckLoading();
    // Most texts are short and lie whole in the buffer, prefix and bytes: they are copied
    // straight into s (which keeps its room) rather than through a string of their own.
    const UINT nAvail = m_nBufEnd - m_nBufPos;
    if (nAvail > 0) {
        const BYTE* p = m_pLoad + m_nBufPos;
        const UINT nLength = p[0];
        if (nLength < 0xFF && nLength < nAvail) {
            s.str().assign(reinterpret_cast<const char*>(p + 1), nLength);
            m_nBufPos += 1 + nLength;
            return *this;
        }
    }
    bool bUnicode = false;
    const DWORD len = ReadStringLength(bUnicode);
    if (!bUnicode) {
        std::string bytes;
        ReadBytesInto(bytes, len);
        s = CString(std::move(bytes));
        return *this;
    }
    std::string raw;
    ReadBytesInto(raw, static_cast<uint64_t>(len) * 2);
    std::u16string text(len, u'\0');
    for (size_t i = 0; i < len; ++i)
        text[i] =
            static_cast<char16_t>(static_cast<BYTE>(raw[2 * i]) | (static_cast<BYTE>(raw[2 * i + 1]) << 8));
    s = CString(Utf16ToCp932(text));
    return *this;
}

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << dwCount;
    }
}

DWORD CArchive::ReadCount()
{
    WORD w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw;
    *this >> dw;
    return dw;
}

void CArchive::WriteString(const char* text)
{
    CheckStoring();
    if (text != nullptr)
        WriteBytes(text, static_cast<UINT>(std::strlen(text)));
}

BOOL CArchive::ReadString(CString& line)
{
    CheckLoading();
    std::string& out = line.str();
    out.clear();
    bool bAny = false;
    for (;;) {
        if (m_nBufPos == m_nBufEnd) {
            FillBuffer(1);
            if (m_nBufPos == m_nBufEnd)
                break;
        }
        bAny = true;
        const BYTE* start = m_pLoad + m_nBufPos;
        const BYTE* endp = m_pLoad + m_nBufEnd;
        const BYTE* nl =
            static_cast<const BYTE*>(std::memchr(start, '\n', static_cast<size_t>(endp - start)));
        if (nl == nullptr) {
            out.append(reinterpret_cast<const char*>(start), static_cast<size_t>(endp - start));
            m_nBufPos = m_nBufEnd;
            continue;
        }
        out.append(reinterpret_cast<const char*>(start), static_cast<size_t>(nl - start));
        m_nBufPos += static_cast<UINT>(nl - start) + 1;
        if (!out.empty() && out.back() == '\r')
            out.pop_back();
        return TRUE;
    }
    if (!out.empty() && out.back() == '\r')
        out.pop_back();
    return bAny ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------
// Objects and classes

DWORD CArchive::NextMapIndex()
{
    if (m_nMapCount >= kMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    return m_nMapCount++;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef == nullptr || (pClassRef->m_wSchema & 0xFFFF) == 0xFFFF ||
        pClassRef->m_lpszClassName == nullptr)
        ThrowArchive(CArchiveException::badClass);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag;
            *this << static_cast<DWORD>(kBigClassTag | index);
        }
        return;
    }
    const size_t nameLen = std::strlen(pClassRef->m_lpszClassName);
    if (nameLen > 0xFFFF)
        ThrowArchive(CArchiveException::badClass);
    *this << kNewClassTag;
    *this << static_cast<WORD>(pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
    *this << static_cast<WORD>(nameLen);
    WriteBytes(pClassRef->m_lpszClassName, static_cast<UINT>(nameLen));
    m_storeMap[pClassRef] = NextMapIndex();
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == nullptr) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag;
            *this << index;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    // The object is known before its fields are written, so that an object that refers
    // back to itself is written as a reference.
    m_storeMap[pOb] = NextMapIndex();
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == kBigObjectTag)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & kClassTag) << 16) | (wTag & ~kClassTag);

    if (!(obTag & kBigClassTag)) {
        // Not a class: a null or an object reference, which only ReadObject accepts.
        if (pObTag == nullptr)
            ThrowArchive(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == kNewClassTag) {
        WORD wSchema, nLen;
        *this >> wSchema >> nLen;
        std::string name(nLen, '\0');
        if (nLen > 0)
            ReadExact(name.data(), nLen);
        // A name with a zero byte inside could match a shorter registered name.
        if (name.empty() || std::strlen(name.c_str()) != name.size())
            ThrowArchive(CArchiveException::badClass);
        pClassRef = CRuntimeClass::FromName(name.c_str());
        if (pClassRef == nullptr)
            ThrowArchive(CArchiveException::badClass);
        nSchema = wSchema;
        const UINT nOwnSchema = pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (nOwnSchema != nSchema && !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            ThrowArchive(CArchiveException::badSchema);
        const DWORD index = NextMapIndex();
        m_loadArray.resize(index + 1, nullptr);
        m_loadIsClass.resize(index + 1, false);
        m_loadSchema.resize(index + 1, 0);
        m_loadArray[index] = pClassRef;
        m_loadIsClass[index] = true;
        m_loadSchema[index] = nSchema;
    } else {
        const DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadIsClass[index])
            ThrowArchive(CArchiveException::badIndex);
        pClassRef = static_cast<CRuntimeClass*>(const_cast<void*>(m_loadArray[index]));
        nSchema = m_loadSchema[index];
    }

    if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchive(CArchiveException::badClass);

    if (pSchema != nullptr)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != nullptr)
        *pObTag = obTag;
    return pClassRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    if (pClassRef == nullptr) {
        // A reference to an object read before (or the null tag, index 0).
        if (obTag >= m_loadArray.size() || m_loadIsClass[obTag])
            ThrowArchive(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(const_cast<void*>(m_loadArray[obTag]));
        if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchive(CArchiveException::badClass);
        return pOb;
    }

    CObject* pOb = pClassRef->CreateObject();
    if (pOb == nullptr)
        ThrowArchive(CArchiveException::badClass);
    DWORD index;
    try {
        index = NextMapIndex();
    } catch (...) {
        delete pOb;
        throw;
    }
    // Known before its fields are read, so that references back to it resolve.
    m_loadArray.resize(index + 1, nullptr);
    m_loadIsClass.resize(index + 1, false);
    m_loadSchema.resize(index + 1, 0);
    m_loadArray[index] = pOb;

    const UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The object never reached the caller: it is ours to free. Its slot is cleared
        // so that nothing can hand it out again.
        m_loadArray[index] = nullptr;
        m_nObjectSchema = nSchemaSave;
        delete pOb;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

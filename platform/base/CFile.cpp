// Binary files over C streams, and memory files.

#include "platform/base/CFile.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <stdio.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The last path component of a system path; both separators count, and a 0x5C that is
// the trail byte of a double-byte character does not.
CString LastComponent(const CString& path)
{
    const char* p = path.c_str();
    const int len = path.GetLength();
    int start = 0;
    for (int i = 0; i < len;) {
        const BYTE b = static_cast<BYTE>(p[i]);
        if (IsCp932LeadByte(b) && i + 1 < len) {
            i += 2;
            continue;
        }
        if (b == '\\' || b == '/' || (b == ':' && i == 1))
            start = i + 1;
        ++i;
    }
    return path.Mid(start);
}

} // namespace

// ---------------------------------------------------------------------------------------
// CFile

CFile::CFile() = default;

CFile::CFile(const char* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    // A destructor cannot report a failure; callers that must know call Close.
    if (m_fp != nullptr)
        Abort();
}

int CFile::ErrnoToCause(int err)
{
    switch (err) {
    case 0:
        return CFileException::none;
    case ENOENT:
        return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return CFileException::badPath;
    case EMFILE:
    case ENFILE:
        return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
        return CFileException::accessDenied;
    case EBADF:
        return CFileException::invalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CFileException::diskFull;
    case EIO:
        return CFileException::hardIO;
    case EBUSY:
    case ETXTBSY:
        return CFileException::sharingViolation;
    case ESPIPE:
    case EOVERFLOW:
        return CFileException::badSeek;
    default:
        return CFileException::genericException;
    }
}

void CFile::ThrowErrno(int err, const CString& fileName)
{
    throw CFileException(ErrnoToCause(err), err, fileName);
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* pError)
{
    if (pError != nullptr)
        *pError = CFileException();
    if (m_fp != nullptr)
        Abort();
    const CString name(fileName);
    auto fail = [&](int cause, int err) {
        if (pError != nullptr)
            *pError = CFileException(cause, err, name);
        return FALSE;
    };
    if (fileName == nullptr || *fileName == '\0')
        return fail(CFileException::badPath, ENOENT);

    int flags = O_CLOEXEC;
    const char* streamMode = "rb";
    switch (openFlags & 3) {
    case modeRead:
        flags |= O_RDONLY;
        streamMode = "rb";
        break;
    case modeWrite:
        flags |= O_WRONLY;
        // fdopen with "w" neither creates nor truncates: that is decided by open below.
        streamMode = "wb";
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        streamMode = "r+b";
        break;
    default:
        return fail(CFileException::genericException, EINVAL);
    }
    // Without modeCreate a missing file is an error and an existing one keeps its bytes:
    // the new content overwrites it from the start.
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }
    // The share modes have no counterpart on this system: other programs do not honour
    // advisory locks, so they are accepted and not enforced.

    const std::string native = NativePath(fileName);
    // What a write of this file killed part-way left beside it goes when the file is opened
    // again (the writers clear it too, at their next write).
    RemoveLeftTemporariesNative(native);
    const int fd = ::open(native.c_str(), flags, 0666);
    if (fd < 0) {
        const int err = errno;
        return fail(ErrnoToCause(err), err);
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        // Windows refuses to open a folder as a file.
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }
    std::FILE* fp = ::fdopen(fd, streamMode);
    if (fp == nullptr) {
        const int err = errno;
        ::close(fd);
        return fail(ErrnoToCause(err), err);
    }
    m_fp = fp;
    m_lastOp = opNone;
    m_strFileName = name;
    return TRUE;
}

BOOL CFile::IsOpen() const
{
    return (m_fp != nullptr || m_bAlwaysOpen) ? TRUE : FALSE;
}

void CFile::ThrowIfClosed() const
{
    if (m_fp == nullptr)
        throw CFileException(CFileException::invalidFile, EBADF, m_strFileName);
}

void CFile::Close()
{
    if (m_fp == nullptr)
        return;
    std::FILE* fp = m_fp;
    m_fp = nullptr;
    m_lastOp = opNone;
    const CString name = m_strFileName;
    m_strFileName.Empty();
    // Buffered bytes reach the disk here; a failure now is a failed write.
    if (std::fclose(fp) != 0)
        ThrowErrno(errno, name);
}

void CFile::Abort()
{
    if (m_fp == nullptr)
        return;
    std::fclose(m_fp);
    m_fp = nullptr;
    m_lastOp = opNone;
    m_strFileName.Empty();
}

void CFile::PrepareForRead()
{
    ThrowIfClosed();
    if (m_lastOp == opWrite) {
        if (std::fflush(m_fp) != 0)
            ThrowErrno(errno, m_strFileName);
        std::fseek(m_fp, 0, SEEK_CUR);
    }
    m_lastOp = opRead;
}

void CFile::PrepareForWrite()
{
    ThrowIfClosed();
    if (m_lastOp == opRead)
        std::fseek(m_fp, 0, SEEK_CUR);
    m_lastOp = opWrite;
}

UINT CFile::Read(void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0)
        return 0;
    PrepareForRead();
    const size_t got = std::fread(buffer, 1, count, m_fp);
    if (got < count && std::ferror(m_fp)) {
        const int err = errno;
        std::clearerr(m_fp);
        ThrowErrno(err != 0 ? err : EIO, m_strFileName);
    }
    return static_cast<UINT>(got);
}

void CFile::Write(const void* buffer, UINT count)
{
    ThrowIfClosed();
    if (count == 0)
        return;
    PrepareForWrite();
    const size_t put = std::fwrite(buffer, 1, count, m_fp);
    if (put < count) {
        const int err = errno;
        std::clearerr(m_fp);
        ThrowErrno(err != 0 ? err : ENOSPC, m_strFileName);
    }
}

void CFile::Flush()
{
    if (m_fp == nullptr)
        return;
    if (std::fflush(m_fp) != 0)
        ThrowErrno(errno, m_strFileName);
}

LONG CFile::Seek(LONG offset, UINT from)
{
    ThrowIfClosed();
    int whence = SEEK_SET;
    if (from == current)
        whence = SEEK_CUR;
    else if (from == end)
        whence = SEEK_END;
    else if (from != begin)
        throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    if (std::fseek(m_fp, offset, whence) != 0) {
        // A position before the start of the file is a bad seek, not a bad path.
        const int err = errno;
        throw CFileException(err == EINVAL ? CFileException::badSeek : ErrnoToCause(err), err, m_strFileName);
    }
    m_lastOp = opNone;
    const long pos = std::ftell(m_fp);
    if (pos < 0)
        ThrowErrno(errno, m_strFileName);
    if (pos > std::numeric_limits<LONG>::max())
        throw CFileException(CFileException::badSeek, EOVERFLOW, m_strFileName);
    return static_cast<LONG>(pos);
}

DWORD CFile::GetPosition() const
{
    ThrowIfClosed();
    const long pos = std::ftell(m_fp);
    if (pos < 0)
        ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(pos);
}

DWORD CFile::GetLength() const
{
    ThrowIfClosed();
    // Bytes still in the stream's buffer belong to the file.
    if (m_lastOp == opWrite && std::fflush(m_fp) != 0)
        ThrowErrno(errno, m_strFileName);
    struct stat st {};
    if (::fstat(::fileno(m_fp), &st) != 0)
        ThrowErrno(errno, m_strFileName);
    return static_cast<DWORD>(st.st_size);
}

void CFile::SetLength(DWORD newLength)
{
    ThrowIfClosed();
    if (std::fflush(m_fp) != 0)
        ThrowErrno(errno, m_strFileName);
    if (::ftruncate(::fileno(m_fp), static_cast<off_t>(newLength)) != 0)
        ThrowErrno(errno, m_strFileName);
    // As on Windows, the position ends at the new end of the file.
    if (std::fseek(m_fp, static_cast<long>(newLength), SEEK_SET) != 0)
        ThrowErrno(errno, m_strFileName);
    m_lastOp = opNone;
}

CString CFile::GetFileName() const
{
    return LastComponent(m_strFileName);
}

void CFile::Remove(const char* fileName)
{
    const std::string native = NativePath(fileName);
    if (::unlink(native.c_str()) != 0)
        ThrowErrno(errno, CString(fileName));
}

void CFile::Rename(const char* oldName, const char* newName)
{
    const std::string from = NativePath(oldName);
    std::string to = NativePath(newName);
    struct stat stFrom {};
    if (::lstat(from.c_str(), &stFrom) != 0)
        ThrowErrno(errno, CString(oldName));
    struct stat stTo {};
    if (::lstat(to.c_str(), &stTo) == 0) {
        if (stTo.st_dev == stFrom.st_dev && stTo.st_ino == stFrom.st_ino) {
            // The new name found the file itself without regard to case: this is a change
            // of letter case only. Rename to the name exactly as given.
            const std::string last = Cp932ToUtf8(LastComponent(CString(newName)).str());
            const size_t slash = to.find_last_of('/');
            to = (slash == std::string::npos ? std::string() : to.substr(0, slash + 1)) + last;
            if (to == from)
                return;
            if (::rename(from.c_str(), to.c_str()) != 0)
                ThrowErrno(errno, CString(oldName));
            return;
        }
        ThrowErrno(EEXIST, CString(newName));
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return;
    const int err = errno;
    if (err != EINVAL && err != ENOSYS)
        ThrowErrno(err, CString(oldName));
    // The file system cannot refuse atomically; the existence check above stands.
    if (::rename(from.c_str(), to.c_str()) != 0)
        ThrowErrno(errno, CString(oldName));
}

// ---------------------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT growBytes) : m_nGrowBytes(growBytes)
{
    m_bAlwaysOpen = true;
}

CMemFile::CMemFile(const BYTE* data, UINT size, UINT growBytes) : m_nGrowBytes(growBytes)
{
    m_bAlwaysOpen = true;
    Attach(data, size, growBytes);
}

CMemFile::CMemFile(std::vector<BYTE>&& data, UINT growBytes)
    : m_data(std::move(data)), m_nGrowBytes(growBytes)
{
    m_bAlwaysOpen = true;
}

void CMemFile::Attach(const BYTE* data, UINT size, UINT growBytes)
{
    if (data != nullptr && size > 0)
        m_data.assign(data, data + size);
    else
        m_data.clear();
    m_position = 0;
    m_nGrowBytes = growBytes;
}

std::vector<BYTE> CMemFile::Detach()
{
    std::vector<BYTE> out;
    out.swap(m_data);
    m_position = 0;
    return out;
}

void CMemFile::Close()
{
    m_data.clear();
    m_data.shrink_to_fit();
    m_position = 0;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (count == 0 || m_position >= m_data.size())
        return 0;
    const size_t n = std::min<size_t>(count, m_data.size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, n);
    m_position += static_cast<DWORD>(n);
    return static_cast<UINT>(n);
}

const BYTE* CMemFile::ReadInPlace(UINT& nBytes)
{
    nBytes = 0;
    if (m_position >= m_data.size())
        return nullptr;
    const BYTE* p = m_data.data() + m_position;
    nBytes = static_cast<UINT>(m_data.size() - m_position);
    m_position = static_cast<DWORD>(m_data.size());
    return p;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    const uint64_t endPos = static_cast<uint64_t>(m_position) + count;
    if (endPos > std::numeric_limits<DWORD>::max())
        throw CFileException(CFileException::diskFull, ENOSPC, m_strFileName);
    if (endPos > m_data.size()) {
        if (m_nGrowBytes == 0)
            throw CMemoryException();
        // growBytes only decides whether the file may grow. It grows fourfold: a file
        // written a little at a time (a saved document) is copied into new memory a few
        // times over its growth, not twice its size, and room not yet written costs no
        // memory.
        if (endPos > m_data.capacity())
            m_data.reserve(std::max(static_cast<size_t>(endPos), 4 * m_data.capacity()));
        m_data.resize(static_cast<size_t>(endPos));
    }
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position = static_cast<DWORD>(endPos);
}

LONG CMemFile::Seek(LONG offset, UINT from)
{
    int64_t base = 0;
    if (from == current)
        base = m_position;
    else if (from == end)
        base = static_cast<int64_t>(m_data.size());
    else if (from != begin)
        throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    const int64_t pos = base + offset;
    if (pos < 0 || pos > std::numeric_limits<LONG>::max())
        throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
    // Seeking past the end is allowed; a later write fills the gap with zeros.
    m_position = static_cast<DWORD>(pos);
    return static_cast<LONG>(pos);
}

void CMemFile::SetLength(DWORD newLength)
{
    if (newLength > m_data.size() && m_nGrowBytes == 0)
        throw CMemoryException();
    m_data.resize(newLength);
    if (m_position > newLength)
        m_position = newLength;
}

namespace {
template <class Bytes>
Bytes ReadWholeFileInto(const char* lpszPath)
{
    CFile file(lpszPath, CFile::modeRead | CFile::shareDenyNone);
    Bytes data(file.GetLength(), 0);
    size_t nRead = 0;
    while (nRead < data.size()) {
        const UINT n = file.Read(data.data() + nRead, static_cast<UINT>(data.size() - nRead));
        if (n == 0)
            break;
        nRead += n;
    }
    data.resize(nRead);
    file.Close();
    return data;
}
} // namespace

std::string ReadWholeFile(const char* lpszPath)
{
    return ReadWholeFileInto<std::string>(lpszPath);
}

std::vector<BYTE> ReadWholeFileBytes(const char* lpszPath)
{
    return ReadWholeFileInto<std::vector<BYTE>>(lpszPath);
}

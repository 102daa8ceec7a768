// Text files: line reading with CR LF handling and a line length limit, line writing
// with CR LF.

#include "platform/base/CStdioFile.h"

#include "platform/base/Cp932.h"

#include <cerrno>
#include <cstring>
#include <stdio.h>
#include <string>

namespace {

constexpr int kCtrlZ = 0x1A;

} // namespace

CStdioFile::CStdioFile(const char* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

BOOL CStdioFile::Open(const char* fileName, UINT openFlags, CFileException* pError)
{
    m_bText = !(openFlags & typeBinary);
    m_bAtEnd = false;
    m_bPendingCR = false;
    return CFile::Open(fileName, openFlags & ~static_cast<UINT>(typeText | typeBinary), pError);
}

BOOL CStdioFile::ReadString(CString& line)
{
    std::string& out = line.str();
    out.clear();
    ThrowIfClosed();
    if (m_bAtEnd)
        return FALSE;
    PrepareForRead();
    std::FILE* fp = GetStream();
    bool bAny = false;
    if (m_bPendingCR) {
        // A lone CR that did not fit the previous piece.
        m_bPendingCR = false;
        out.push_back('\r');
        bAny = true;
    }
    bool bTrailNext = false; // the next byte is the trail byte of a double-byte character
    for (;;) {
        const int c = getc_unlocked(fp);
        if (c == EOF) {
            if (std::ferror(fp)) {
                const int err = errno;
                std::clearerr(fp);
                ThrowErrno(err != 0 ? err : EIO, m_strFileName);
            }
            break;
        }
        if (bTrailNext) {
            bTrailNext = false;
            // A lead byte without a valid trail byte (a damaged file) must not swallow the
            // line end: only real trail bytes are taken as part of the character.
            if (c >= 0x40 && c <= 0xFC && c != 0x7F) {
                out.push_back(static_cast<char>(c));
                continue;
            }
        }
        if (m_bText && c == kCtrlZ) {
            m_bAtEnd = true;
            break;
        }
        bAny = true;
        if (c == '\n')
            return TRUE;
        const bool bFull = static_cast<int>(out.size()) >= kMaxLineLength;
        if (c == '\r') {
            const int next = getc_unlocked(fp);
            if (next == '\n')
                return TRUE;
            if (next != EOF)
                ungetc(next, fp);
            if (bFull) {
                // A line end right after a full piece still ends this line (no empty piece
                // follows); a lone CR there opens the next piece.
                m_bPendingCR = true;
                return TRUE;
            }
            out.push_back('\r');
            continue;
        }
        // The piece is full, or a double-byte character would straddle its end: the byte
        // opens the next piece.
        const bool bLead = IsCp932LeadByte(static_cast<BYTE>(c));
        if (bFull || (bLead && static_cast<int>(out.size()) == kMaxLineLength - 1)) {
            ungetc(c, fp);
            return TRUE;
        }
        out.push_back(static_cast<char>(c));
        bTrailNext = bLead;
    }
    return bAny ? TRUE : FALSE;
}

LONG CStdioFile::Seek(LONG offset, UINT from)
{
    m_bAtEnd = false;
    m_bPendingCR = false;
    return CFile::Seek(offset, from);
}

void CStdioFile::WriteString(const char* text)
{
    ThrowIfClosed();
    if (text == nullptr)
        return;
    const size_t len = std::strlen(text);
    if (!m_bText) {
        Write(text, static_cast<UINT>(len));
        return;
    }
    std::string converted;
    converted.reserve(len + len / 16 + 2);
    for (size_t i = 0; i < len; ++i) {
        if (text[i] == '\n')
            converted.push_back('\r');
        converted.push_back(text[i]);
    }
    Write(converted.data(), static_cast<UINT>(converted.size()));
}

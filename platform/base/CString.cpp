// CString over code page 932 bytes.
//
// Every operation that looks at characters walks the text from its start, a character
// at a time: a lead byte takes the following byte with it. Only that walk knows where
// the characters begin, because a trail byte can be any byte from 0x40 up, including
// "\" and the ASCII letters.
#include "platform/base/CString.h"

#include "platform/base/Cp932.h"

#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

namespace {

// Length of the character at s[i]: 2 for a lead byte that has a following byte, else 1.
// A zero byte never counts as a trail byte.
size_t CharLen(const std::string& s, size_t i)
{
    if (IsCp932LeadByte(static_cast<BYTE>(s[i])) && i + 1 < s.size() && s[i + 1] != '\0')
        return 2;
    return 1;
}

size_t CharLen(std::string_view s, size_t i)
{
    if (IsCp932LeadByte(static_cast<BYTE>(s[i])) && i + 1 < s.size() && s[i + 1] != '\0')
        return 2;
    return 1;
}

bool IsSpaceByte(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char FoldLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the character s[i..i+len) is one of the characters of set (walked the same way).
bool SetContains(std::string_view set, std::string_view s, size_t i, size_t len)
{
    size_t k = 0;
    while (k < set.size()) {
        const size_t setLen = CharLen(set, k);
        if (setLen == len && set.compare(k, len, s.substr(i, len)) == 0)
            return true;
        k += setLen;
    }
    return false;
}

std::string_view View(const char* s)
{
    return s ? std::string_view(s) : std::string_view();
}

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// Numbers are written with the decimal point "." whatever locale the desktop set: the
// stored files and the formulas depend on it.
locale_t ClassicLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

std::string FormatToString(const char* fmt, va_list args)
{
    if (!fmt)
        return std::string();
    const locale_t classic = ClassicLocale();
    const locale_t previous = classic ? uselocale(classic) : static_cast<locale_t>(0);

    std::string result;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        result.assign(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        std::vector<char> big(static_cast<size_t>(n) + 1);
        va_copy(copy, args);
        std::vsnprintf(big.data(), big.size(), fmt, copy);
        va_end(copy);
        result.assign(big.data(), static_cast<size_t>(n));
    }

    if (classic)
        uselocale(previous);
    return result;
}

} // namespace

CString CString::FromUtf8(std::string_view utf8)
{
    return CString(Utf8ToCp932(utf8));
}

std::string CString::ToUtf8() const
{
    return Cp932ToUtf8(m_str, false);
}

char* CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > 0 && static_cast<size_t>(nMinBufLength) > m_str.size())
        m_str.resize(static_cast<size_t>(nMinBufLength), '\0');
    return m_str.data();
}

char* CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(nNewLength > 0 ? static_cast<size_t>(nNewLength) : 0, '\0');
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0) {
        m_str.resize(std::strlen(m_str.c_str()));
    } else if (static_cast<size_t>(nNewLength) < m_str.size()) {
        m_str.resize(static_cast<size_t>(nNewLength));
    }
}

int CString::Compare(const char* s) const
{
    return Sign(std::strcmp(m_str.c_str(), s ? s : ""));
}

int CString::CompareNoCase(const char* s) const
{
    // Both texts are walked byte by byte in step, each keeping track of its own
    // character starts; an ASCII letter is folded to lower case only where it stands as
    // a character of its own, never as the trail byte of a double-byte character.
    const char* a = m_str.c_str();
    const char* b = s ? s : "";
    bool trailA = false, trailB = false;
    for (size_t i = 0;; ++i) {
        BYTE ca = static_cast<BYTE>(a[i]);
        BYTE cb = static_cast<BYTE>(b[i]);
        if (trailA)
            trailA = false;
        else if (IsCp932LeadByte(ca) && a[i + 1] != '\0')
            trailA = true;
        else
            ca = static_cast<BYTE>(FoldLower(static_cast<char>(ca)));
        if (trailB)
            trailB = false;
        else if (IsCp932LeadByte(cb) && b[i + 1] != '\0')
            trailB = true;
        else
            cb = static_cast<BYTE>(FoldLower(static_cast<char>(cb)));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    const int len = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst >= len || nCount == 0)
        return CString();
    if (nCount > len - nFirst)
        nCount = len - nFirst;
    return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0)
        return CString();
    if (nCount >= GetLength())
        return *this;
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Right(int nCount) const
{
    if (nCount <= 0)
        return CString();
    const int len = GetLength();
    if (nCount >= len)
        return *this;
    return CString(m_str.substr(static_cast<size_t>(len - nCount)));
}

CString CString::SpanIncluding(const char* charSet) const
{
    const std::string_view set = View(charSet);
    size_t i = 0;
    while (i < m_str.size()) {
        const size_t len = CharLen(m_str, i);
        if (m_str[i] == '\0' || !SetContains(set, m_str, i, len))
            break;
        i += len;
    }
    return CString(m_str.substr(0, i));
}

CString CString::SpanExcluding(const char* charSet) const
{
    const std::string_view set = View(charSet);
    size_t i = 0;
    while (i < m_str.size()) {
        const size_t len = CharLen(m_str, i);
        if (m_str[i] == '\0' || SetContains(set, m_str, i, len))
            break;
        i += len;
    }
    return CString(m_str.substr(0, i));
}

CString& CString::MakeUpper()
{
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1 && m_str[i] >= 'a' && m_str[i] <= 'z')
            m_str[i] = static_cast<char>(m_str[i] - 'a' + 'A');
        i += len;
    }
    return *this;
}

CString& CString::MakeLower()
{
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1)
            m_str[i] = FoldLower(m_str[i]);
        i += len;
    }
    return *this;
}

CString& CString::MakeReverse()
{
    std::string reversed(m_str.size(), '\0');
    size_t out = m_str.size();
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        out -= len;
        m_str.copy(&reversed[out], len, i);
        i += len;
    }
    m_str.swap(reversed);
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    if (chOld == chNew)
        return 0;
    int count = 0;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1 && m_str[i] == chOld) {
            m_str[i] = chNew;
            ++count;
        }
        i += len;
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    const std::string_view from = View(oldText);
    const std::string_view to = View(newText);
    if (from.empty())
        return 0;
    std::string result;
    int count = 0;
    size_t i = 0;
    while (i < m_str.size()) {
        if (m_str.compare(i, from.size(), from) == 0) {
            result.append(to);
            i += from.size();
            ++count;
        } else {
            const size_t len = CharLen(m_str, i);
            result.append(m_str, i, len);
            i += len;
        }
    }
    if (count > 0)
        m_str.swap(result);
    return count;
}

int CString::Remove(char ch)
{
    std::string result;
    result.reserve(m_str.size());
    int count = 0;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1 && m_str[i] == ch)
            ++count;
        else
            result.append(m_str, i, len);
        i += len;
    }
    if (count > 0)
        m_str.swap(result);
    return count;
}

int CString::Insert(int nIndex, char ch)
{
    const char s[2] = {ch, '\0'};
    if (ch == '\0') {
        // Inserting the terminator itself: keep the byte, as a byte string would.
        const int len = GetLength();
        nIndex = nIndex < 0 ? 0 : (nIndex > len ? len : nIndex);
        m_str.insert(static_cast<size_t>(nIndex), 1, '\0');
        return GetLength();
    }
    return Insert(nIndex, s);
}

int CString::Insert(int nIndex, const char* s)
{
    const int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > len)
        nIndex = len;
    if (s)
        m_str.insert(static_cast<size_t>(nIndex), s);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < len) {
        if (nCount > len - nIndex)
            nCount = len - nIndex;
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    }
    return GetLength();
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsSpaceByte(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    const char set[2] = {ch, '\0'};
    if (ch == '\0')
        return *this;
    return TrimLeft(set);
}

CString& CString::TrimLeft(const char* targets)
{
    const std::string_view set = View(targets);
    if (set.empty())
        return *this;
    size_t i = 0;
    while (i < m_str.size()) {
        const size_t len = CharLen(m_str, i);
        if (!SetContains(set, m_str, i, len))
            break;
        i += len;
    }
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    // The cut is made after the last character that is not white space; a trail byte
    // equal to a white-space byte cannot occur (trail bytes start at 0x40), but the walk
    // keeps to character starts all the same.
    size_t keep = 0;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len != 1 || !IsSpaceByte(m_str[i]))
            keep = i + len;
        i += len;
    }
    m_str.resize(keep);
    return *this;
}

CString& CString::TrimRight(char ch)
{
    const char set[2] = {ch, '\0'};
    if (ch == '\0')
        return *this;
    return TrimRight(set);
}

CString& CString::TrimRight(const char* targets)
{
    const std::string_view set = View(targets);
    if (set.empty())
        return *this;
    size_t keep = 0;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (!SetContains(set, m_str, i, len))
            keep = i + len;
        i += len;
    }
    m_str.resize(keep);
    return *this;
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0)
        nStart = 0;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1 && m_str[i] == ch && i >= static_cast<size_t>(nStart))
            return static_cast<int>(i);
        i += len;
    }
    return -1;
}

int CString::Find(const char* sub, int nStart) const
{
    const std::string_view needle = View(sub);
    if (nStart < 0)
        nStart = 0;
    if (nStart > GetLength())
        return -1;
    if (needle.empty())
        return nStart;
    for (size_t i = 0; i < m_str.size();) {
        if (i >= static_cast<size_t>(nStart) && m_str[i] == needle[0] &&
            m_str.compare(i, needle.size(), needle) == 0)
            return static_cast<int>(i);
        i += CharLen(m_str, i);
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (len == 1 && m_str[i] == ch)
            found = static_cast<int>(i);
        i += len;
    }
    return found;
}

int CString::FindOneOf(const char* charSet) const
{
    const std::string_view set = View(charSet);
    if (set.empty())
        return -1;
    for (size_t i = 0; i < m_str.size();) {
        const size_t len = CharLen(m_str, i);
        if (SetContains(set, m_str, i, len))
            return static_cast<int>(i);
        i += len;
    }
    return -1;
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::FormatV(const char* fmt, va_list args)
{
    // Formatted into a separate string first: an argument may be this string's own text.
    m_str = FormatToString(fmt, args);
}

void CString::AppendFormat(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    std::string text = FormatToString(fmt, args);
    va_end(args);
    m_str += text;
}

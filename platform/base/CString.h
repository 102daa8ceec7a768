// CString: a byte string in code page 932 (Shift-JIS) with the multibyte rules the
// system relies on. Lengths and positions are in bytes; searching, case mapping and
// trimming step over double-byte characters whole, so a trail byte (which may be
// 0x5C or an ASCII letter) is never matched, split or altered.
#pragma once

#include "Types.h"

#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* s) : m_str(s ? s : "") {}
    CString(const char* s, int nLength) : m_str(s, s && nLength > 0 ? static_cast<size_t>(nLength) : 0) {}
    CString(const unsigned char* s) : CString(reinterpret_cast<const char*>(s)) {}
    explicit CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? static_cast<size_t>(nRepeat) : 0, ch) {}
    CString(const std::string& s) : m_str(s) {}
    CString(std::string&& s) : m_str(std::move(s)) {}
    explicit CString(std::string_view s) : m_str(s) {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* s)
    {
        m_str = s ? s : "";
        return *this;
    }
    CString& operator=(char ch)
    {
        m_str.assign(1, ch);
        return *this;
    }

    // Text from / to UTF-8, for the places where the platform meets Unicode.
    // FromUtf8 turns both "\" and "¥" into the byte 0x5C.
    static CString FromUtf8(std::string_view utf8);
    std::string ToUtf8() const;

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
    void SetAt(int i, char ch) { m_str[static_cast<size_t>(i)] = ch; }
    char operator[](int i) const { return GetAt(i); }

    operator const char*() const { return m_str.c_str(); }
    const char* c_str() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }
    std::string& str() { return m_str; }

    // Direct access to the bytes. GetBuffer makes room for at least nMinBufLength bytes
    // plus a terminating zero; ReleaseBuffer(-1) takes the length up to the first zero.
    char* GetBuffer(int nMinBufLength = 0);
    char* GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* s)
    {
        if (s)
            m_str += s;
        return *this;
    }
    CString& operator+=(char ch)
    {
        m_str += ch;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const char* a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(const CString& a, char b)
    {
        CString r(a);
        r += b;
        return r;
    }
    friend CString operator+(char a, const CString& b)
    {
        CString r(a);
        r += b;
        return r;
    }

    // Byte-wise comparison (as strcmp); CompareNoCase folds ASCII letters outside
    // double-byte characters only.
    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
    int Collate(const char* s) const { return Compare(s); }

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(const char* charSet) const;
    CString SpanExcluding(const char* charSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char chOld, char chNew);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, const char* s);
    int Delete(int nIndex, int nCount = 1);

    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* targets);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* targets);
    CString& Trim()
    {
        TrimRight();
        return TrimLeft();
    }
    CString& Trim(char ch)
    {
        TrimRight(ch);
        return TrimLeft(ch);
    }
    CString& Trim(const char* targets)
    {
        TrimRight(targets);
        return TrimLeft(targets);
    }

    // Positions are byte offsets of character starts; -1 when not found.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* sub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* charSet) const;

    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* fmt, va_list args);
    void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

private:
    std::string m_str;
};

inline bool operator==(const CString& a, const CString& b)
{
    return a.str() == b.str();
}
inline bool operator==(const CString& a, const char* b)
{
    return a.Compare(b) == 0;
}
inline bool operator==(const char* a, const CString& b)
{
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
inline bool operator!=(const CString& a, const char* b)
{
    return !(a == b);
}
inline bool operator!=(const char* a, const CString& b)
{
    return !(b == a);
}
inline bool operator<(const CString& a, const CString& b)
{
    return a.Compare(b) < 0;
}
inline bool operator<(const CString& a, const char* b)
{
    return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const CString& b)
{
    return a.Compare(b) > 0;
}
inline bool operator>(const CString& a, const char* b)
{
    return a.Compare(b) > 0;
}
inline bool operator<=(const CString& a, const CString& b)
{
    return a.Compare(b) <= 0;
}
inline bool operator>=(const CString& a, const CString& b)
{
    return a.Compare(b) >= 0;
}

typedef const CString& LPCSTRING;

// Japanese texts in the source are written in UTF-8 and turned into the system's code
// page 932 bytes with this suffix: "単位ﾌｧｲﾙがないか、壊れています。"_sj.
inline CString operator""_sj(const char* s, size_t n)
{
    return CString::FromUtf8(std::string_view(s, n));
}

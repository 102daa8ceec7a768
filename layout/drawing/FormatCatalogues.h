// The format catalogues of field tokens: the pictures with which the time, today's date,
// the page number, the page total, the running number and data fields print. Text objects
// and table cells store the index of the chosen picture, so the order of every catalogue
// belongs to the stored format and never changes.
//
// Where the pictures were once filled with faulty values, they now print what a reader
// expects: years in pictures 9, 10 and 12 to 15 of the date have four digits; 12:00 to
// 12:59 is PM in the 12-hour pictures; the long month name of November is spelled out;
// the era of pictures 0 and 1 follows the date (昭和, 平成, 令和).
#pragma once

#include "platform/base/CString.h"

#include <array>

// A moment as the clock texts give it: the date and the time of day.
struct CClockReading {
    int nYear = 2000; // four digits
    int nMonth = 1;   // 1..12
    int nDay = 1;
    int nHour = 0; // 0..23
    int nMinute = 0;
    int nSecond = 0;

    // The local time now.
    static CClockReading Now();
};

class CTimeFormat {
public:
    static constexpr int COUNT = 8;
    CTimeFormat();

    // The present time in picture nIndex; empty for an index outside 0..7.
    CString FormatNow(int nIndex) const { return Format(nIndex, CClockReading::Now()); }
    CString Format(int nIndex, const CClockReading& when) const;

    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

class CDateFormat {
public:
    static constexpr int COUNT = 16;
    CDateFormat();

    // Today's date in picture nIndex; empty for an index outside 0..15.
    CString FormatToday(int nIndex) const { return Format(nIndex, CClockReading::Now()); }
    CString Format(int nIndex, const CClockReading& when) const;
    // The picture as the list shows it for a date: pictures 0 and 1 name that date's era.
    CString GetPicture(int nIndex, const CClockReading& when) const;

    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

class CPageFormat {
public:
    static constexpr int COUNT = 5;
    CPageFormat();
    // The picture filled with the number; empty for an index outside the catalogue.
    CString Format(int nIndex, int nPage) const;
    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

class CPageTotalFormat {
public:
    static constexpr int COUNT = 6;
    CPageTotalFormat();
    CString Format(int nIndex, int nTotal) const;
    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

class CNumberingFormat {
public:
    static constexpr int COUNT = 4;
    CNumberingFormat();
    CString Format(int nIndex, int nNumber) const;
    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

class CNumberPicture {
public:
    static constexpr int COUNT = 4;
    CNumberPicture();
    // A copy of the picture; empty for an index outside the catalogue.
    CString GetAt(int nIndex) const;
    int m_nCount = COUNT;
    std::array<CString, COUNT> m_strFormat;
};

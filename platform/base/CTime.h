// CTime: a moment in local time, held as seconds since 1970 (time_t), and CTimeSpan,
// the difference between two moments.
#pragma once

#include "CString.h"
#include "Types.h"

#include <cstdint>
#include <ctime>

class CTimeSpan {
public:
    CTimeSpan() = default;
    explicit CTimeSpan(int64_t seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((static_cast<int64_t>(days) * 24 + hours) * 60 + minutes) * 60 + seconds)
    {
    }

    int64_t GetDays() const { return m_span / (24 * 3600); }
    int64_t GetTotalHours() const { return m_span / 3600; }
    int GetHours() const { return static_cast<int>(GetTotalHours() - GetDays() * 24); }
    int64_t GetTotalMinutes() const { return m_span / 60; }
    int GetMinutes() const { return static_cast<int>(GetTotalMinutes() - GetTotalHours() * 60); }
    int64_t GetTotalSeconds() const { return m_span; }
    int GetSeconds() const { return static_cast<int>(m_span - GetTotalMinutes() * 60); }

    CTimeSpan operator+(CTimeSpan o) const { return CTimeSpan(m_span + o.m_span); }
    CTimeSpan operator-(CTimeSpan o) const { return CTimeSpan(m_span - o.m_span); }
    CTimeSpan& operator+=(CTimeSpan o)
    {
        m_span += o.m_span;
        return *this;
    }
    CTimeSpan& operator-=(CTimeSpan o)
    {
        m_span -= o.m_span;
        return *this;
    }
    bool operator==(CTimeSpan o) const { return m_span == o.m_span; }
    bool operator!=(CTimeSpan o) const { return m_span != o.m_span; }
    bool operator<(CTimeSpan o) const { return m_span < o.m_span; }
    bool operator>(CTimeSpan o) const { return m_span > o.m_span; }
    bool operator<=(CTimeSpan o) const { return m_span <= o.m_span; }
    bool operator>=(CTimeSpan o) const { return m_span >= o.m_span; }

private:
    int64_t m_span = 0;
};

class CTime {
public:
    CTime() = default;
    CTime(time_t t) : m_time(t) {}
    // A local date and time; values outside their ranges carry over as the C library's
    // mktime carries them (month 13 is January of the next year). nDST < 0 lets the
    // library decide whether summer time applies.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);

    static CTime GetCurrentTime();

    time_t GetTime() const { return m_time; }
    // The broken-down local time; false when the moment cannot be represented.
    bool GetLocalTm(struct tm* out) const;

    int GetYear() const;
    int GetMonth() const;     // 1 to 12
    int GetDay() const;       // 1 to 31
    int GetHour() const;      // 0 to 23
    int GetMinute() const;    // 0 to 59
    int GetSecond() const;    // 0 to 59
    int GetDayOfWeek() const; // 1 = Sunday to 7 = Saturday

    // The time in a picture of strftime codes (%Y %m %d %H %M %S %y %a %A %b %B %p %j
    // %w %c %x %X %%); "%#d" and the like print without leading zeros. Other bytes,
    // code page 932 characters included, are copied as they are.
    CString Format(const char* pFormat) const;

    CTimeSpan operator-(CTime o) const { return CTimeSpan(static_cast<int64_t>(m_time - o.m_time)); }
    CTime operator+(CTimeSpan s) const { return CTime(static_cast<time_t>(m_time + s.GetTotalSeconds())); }
    CTime operator-(CTimeSpan s) const { return CTime(static_cast<time_t>(m_time - s.GetTotalSeconds())); }
    CTime& operator+=(CTimeSpan s)
    {
        m_time += static_cast<time_t>(s.GetTotalSeconds());
        return *this;
    }
    CTime& operator-=(CTimeSpan s)
    {
        m_time -= static_cast<time_t>(s.GetTotalSeconds());
        return *this;
    }
    bool operator==(CTime o) const { return m_time == o.m_time; }
    bool operator!=(CTime o) const { return m_time != o.m_time; }
    bool operator<(CTime o) const { return m_time < o.m_time; }
    bool operator>(CTime o) const { return m_time > o.m_time; }
    bool operator<=(CTime o) const { return m_time <= o.m_time; }
    bool operator>=(CTime o) const { return m_time >= o.m_time; }

private:
    time_t m_time = 0;
};

// CTime over the C library's local time functions.
#include "platform/base/CTime.h"

#include "platform/base/Cp932.h"

#include <locale.h>
#include <string>

namespace {

// Month and day names come out in English whatever locale the desktop set, so that a
// picture gives the same text on every machine.
locale_t ClassicLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

bool IsNumericCode(char c)
{
    switch (c) {
    case 'd':
    case 'H':
    case 'I':
    case 'j':
    case 'm':
    case 'M':
    case 'S':
    case 'U':
    case 'W':
    case 'y':
    case 'Y':
        return true;
    default:
        return false;
    }
}

} // namespace

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm t = {};
    t.tm_year = nYear - 1900;
    t.tm_mon = nMonth - 1;
    t.tm_mday = nDay;
    t.tm_hour = nHour;
    t.tm_min = nMin;
    t.tm_sec = nSec;
    t.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
    m_time = mktime(&t);
}

CTime CTime::GetCurrentTime()
{
    return CTime(time(nullptr));
}

bool CTime::GetLocalTm(struct tm* out) const
{
    if (!out)
        return false;
    if (!localtime_r(&m_time, out)) {
        *out = {};
        return false;
    }
    return true;
}

int CTime::GetYear() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_year + 1900;
}

int CTime::GetMonth() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_mon + 1;
}

int CTime::GetDay() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_mday;
}

int CTime::GetHour() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_hour;
}

int CTime::GetMinute() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_min;
}

int CTime::GetSecond() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_sec;
}

int CTime::GetDayOfWeek() const
{
    struct tm t;
    GetLocalTm(&t);
    return t.tm_wday + 1;
}

CString CTime::Format(const char* pFormat) const
{
    if (!pFormat)
        return CString();
    struct tm t;
    GetLocalTm(&t);
    const locale_t classic = ClassicLocale();

    std::string out;
    const std::string_view fmt(pFormat);
    size_t i = 0;
    while (i < fmt.size()) {
        if (fmt[i] != '%') {
            // Copy a whole character: a trail byte is never taken for a code.
            const size_t len = static_cast<size_t>(Cp932CharLength(pFormat + i));
            out.append(fmt.substr(i, len));
            i += len;
            continue;
        }
        if (i + 1 >= fmt.size()) {
            out += '%';
            break;
        }
        char code = fmt[i + 1];
        bool noPadding = false;
        size_t consumed = 2;
        if (code == '#' && i + 2 < fmt.size()) {
            noPadding = true;
            code = fmt[i + 2];
            consumed = 3;
        }
        i += consumed;
        if (code == '%') {
            out += '%';
            continue;
        }
        const bool known = std::string_view("aAbBcdHIjmMpSUwWxXyYzZ").find(code) != std::string_view::npos;
        if (!known) {
            // An unknown code is kept as written rather than cut from the text.
            out.append(fmt.substr(i - consumed, consumed));
            continue;
        }
        char spec[4] = {'%', code, '\0', '\0'};
        if (noPadding && IsNumericCode(code)) {
            spec[1] = '-';
            spec[2] = code;
        }
        char buf[128];
        const size_t n =
            classic ? strftime_l(buf, sizeof buf, spec, &t, classic) : strftime(buf, sizeof buf, spec, &t);
        out.append(buf, n);
    }
    return CString(std::move(out));
}

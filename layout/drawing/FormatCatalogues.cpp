#include "layout/drawing/FormatCatalogues.h"

#include <ctime>

namespace {

const char* const kShortMonth[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonth[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};

// The hour and its suffix in the 12-hour pictures: 0:00-11:59 AM (midnight is 0), 12:00 to
// 12:59 is 12 PM, 13:00 on is h - 12 PM.
struct CTwelveHour {
    int nHour;
    const char* lpszSuffix;
};
CTwelveHour TwelveHour(int nHour)
{
    if (nHour < 12)
        return {nHour, "AM"};
    return {nHour == 12 ? 12 : nHour - 12, "PM"};
}

// The era of a date: its initial, its name and the year within it.
struct CEra {
    const char* lpszInitial;
    CString strName;
    int nYear;
};
CEra EraOf(const CClockReading& when)
{
    const int nKey = when.nYear * 10000 + when.nMonth * 100 + when.nDay;
    if (nKey >= 20190501)
        return {"R", "令和"_sj, when.nYear - 2018};
    if (nKey >= 19890108)
        return {"H", "平成"_sj, when.nYear - 1988};
    if (nKey >= 19261225)
        return {"S", "昭和"_sj, when.nYear - 1925};
    return {"T", "大正"_sj, when.nYear - 1911};
}

int MonthIndex(const CClockReading& when)
{
    return when.nMonth >= 1 && when.nMonth <= 12 ? when.nMonth - 1 : 0;
}

} // namespace

CClockReading CClockReading::Now()
{
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CClockReading r;
    r.nYear = local.tm_year + 1900;
    r.nMonth = local.tm_mon + 1;
    r.nDay = local.tm_mday;
    r.nHour = local.tm_hour;
    r.nMinute = local.tm_min;
    r.nSecond = local.tm_sec;
    return r;
}

// ---------------------------------------------------------------------------------------
CTimeFormat::CTimeFormat()
    : m_strFormat{"%d:%d",          "%d:%d %s",    "%d:%d:%d",       "%d:%d:%d %s", "%d/%d/%d %d:%d %s",
                  "%d/%d/%d %d:%d", "%d時%d分"_sj, "%d時%d分%d秒"_sj}
{
}

CString CTimeFormat::Format(int nIndex, const CClockReading& t) const
{
    if (nIndex < 0 || nIndex >= COUNT)
        return CString();
    const char* f = m_strFormat[static_cast<size_t>(nIndex)].c_str();
    const CTwelveHour h12 = TwelveHour(t.nHour);
    CString s;
    switch (nIndex) {
    case 0:
    case 6:
        s.Format(f, t.nHour, t.nMinute);
        break;
    case 1:
        s.Format(f, h12.nHour, t.nMinute, h12.lpszSuffix);
        break;
    case 2:
    case 7:
        s.Format(f, t.nHour, t.nMinute, t.nSecond);
        break;
    case 3:
        s.Format(f, h12.nHour, t.nMinute, t.nSecond, h12.lpszSuffix);
        break;
    case 4:
        s.Format(f, t.nYear, t.nMonth, t.nDay, h12.nHour, t.nMinute, h12.lpszSuffix);
        break;
    case 5:
    default:
        s.Format(f, t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute);
        break;
    }
    return s;
}

// ---------------------------------------------------------------------------------------
CDateFormat::CDateFormat()
    : m_strFormat{"H%d.%d.%d",
                  "平成%d年%d月%d日"_sj,
                  "%d年%d月%d日"_sj,
                  "%d年%d月"_sj,
                  "%d月%d日"_sj,
                  "%d/%d/%d",
                  "%d/%d/%d %d:%d %s",
                  "%d/%d/%d %d:%d",
                  "%d/%d",
                  "%d/%d/%d",
                  "%02d/%02d/%d",
                  "%d-%s",
                  "%d-%s-%d",
                  "%02d-%s-%d",
                  "%s-%d",
                  "%s-%d"}
{
}

CString CDateFormat::GetPicture(int nIndex, const CClockReading& when) const
{
    if (nIndex < 0 || nIndex >= COUNT)
        return CString();
    const CEra era = EraOf(when);
    if (nIndex == 0)
        return CString(era.lpszInitial) + "%d.%d.%d";
    if (nIndex == 1)
        return era.strName + CString("%d年%d月%d日"_sj);
    return m_strFormat[static_cast<size_t>(nIndex)];
}

CString CDateFormat::Format(int nIndex, const CClockReading& t) const
{
    if (nIndex < 0 || nIndex >= COUNT)
        return CString();
    const CString picture = GetPicture(nIndex, t);
    const char* f = picture.c_str();
    const CTwelveHour h12 = TwelveHour(t.nHour);
    const char* lpszShort = kShortMonth[MonthIndex(t)];
    CString s;
    switch (nIndex) {
    case 0:
    case 1:
        s.Format(f, EraOf(t).nYear, t.nMonth, t.nDay);
        break;
    case 2:
    case 5:
        s.Format(f, t.nYear, t.nMonth, t.nDay);
        break;
    case 3:
        s.Format(f, t.nYear, t.nMonth);
        break;
    case 4:
    case 8:
        s.Format(f, t.nMonth, t.nDay);
        break;
    case 6:
        s.Format(f, t.nYear, t.nMonth, t.nDay, h12.nHour, t.nMinute, h12.lpszSuffix);
        break;
    case 7:
        s.Format(f, t.nYear, t.nMonth, t.nDay, t.nHour, t.nMinute);
        break;
    case 9:
    case 10:
        s.Format(f, t.nMonth, t.nDay, t.nYear);
        break;
    case 11:
        s.Format(f, t.nDay, lpszShort);
        break;
    case 12:
    case 13:
        s.Format(f, t.nDay, lpszShort, t.nYear);
        break;
    case 14:
        s.Format(f, lpszShort, t.nYear);
        break;
    case 15:
    default:
        s.Format(f, kLongMonth[MonthIndex(t)], t.nYear);
        break;
    }
    return s;
}

// ---------------------------------------------------------------------------------------
namespace {

template <size_t N>
CString FormatOne(const std::array<CString, N>& pictures, int nIndex, int nValue)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= N)
        return CString();
    CString s;
    s.Format(pictures[static_cast<size_t>(nIndex)].c_str(), nValue);
    return s;
}

} // namespace

CPageFormat::CPageFormat() : m_strFormat{"%d", "- %d -", "P %d", "%d ﾍﾟｰｼﾞ"_sj, "%d ページ"_sj} {}

CString CPageFormat::Format(int nIndex, int nPage) const
{
    return FormatOne(m_strFormat, nIndex, nPage);
}

CPageTotalFormat::CPageTotalFormat()
    : m_strFormat{"%d", "%d ﾍﾟｰｼﾞ"_sj, "%d ページ"_sj, "全 %d ﾍﾟｰｼﾞ"_sj, "全 %d ページ"_sj, "./ %d"}
{
}

CString CPageTotalFormat::Format(int nIndex, int nTotal) const
{
    return FormatOne(m_strFormat, nIndex, nTotal);
}

CNumberingFormat::CNumberingFormat() : m_strFormat{"No. %d", "%d", "%d.", "(%d)"} {}

CString CNumberingFormat::Format(int nIndex, int nNumber) const
{
    return FormatOne(m_strFormat, nIndex, nNumber);
}

CNumberPicture::CNumberPicture() : m_strFormat{"###", "###,###", "#.##", "#.###"} {}

CString CNumberPicture::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= COUNT)
        return CString();
    return m_strFormat[static_cast<size_t>(nIndex)];
}

// The format catalogues on fixed moments: the pictures print the values a reader expects,
// indexes outside a catalogue print nothing, and the catalogue orders stay as stored
// layouts number them.
#include "layout/drawing/FormatCatalogues.h"

#include <gtest/gtest.h>

namespace {

CClockReading At(int y, int mo, int d, int h, int mi, int s)
{
    CClockReading r;
    r.nYear = y;
    r.nMonth = mo;
    r.nDay = d;
    r.nHour = h;
    r.nMinute = mi;
    r.nSecond = s;
    return r;
}

std::string Utf8(const CString& s)
{
    return s.ToUtf8();
}

} // namespace

TEST(FormatCatalogues, TimePictures)
{
    const CTimeFormat times;
    EXPECT_EQ(times.m_nCount, 8);
    EXPECT_EQ(Utf8(times.Format(0, At(2026, 12, 5, 12, 5, 9))), "12:5");
    EXPECT_EQ(Utf8(times.Format(2, At(2026, 12, 5, 12, 5, 9))), "12:5:9");
    EXPECT_EQ(Utf8(times.Format(1, At(2026, 12, 5, 0, 30, 0))), "0:30 AM");
    EXPECT_EQ(Utf8(times.Format(1, At(2026, 12, 5, 23, 59, 0))), "11:59 PM");
    // Noon to one o'clock is afternoon.
    EXPECT_EQ(Utf8(times.Format(1, At(2026, 12, 5, 12, 15, 0))), "12:15 PM");
    EXPECT_EQ(Utf8(times.Format(3, At(2026, 12, 5, 15, 9, 30))), "3:9:30 PM");
    EXPECT_EQ(Utf8(times.Format(4, At(2026, 12, 5, 15, 9, 30))), "2026/12/5 3:9 PM");
    EXPECT_EQ(Utf8(times.Format(7, At(2026, 12, 5, 15, 9, 30))), "15時9分30秒");
    EXPECT_EQ(Utf8(times.Format(8, At(2026, 12, 5, 15, 9, 30))), "");
    EXPECT_EQ(Utf8(times.Format(-1, At(2026, 12, 5, 15, 9, 30))), "");
}

TEST(FormatCatalogues, DatePicturesWithFullYearsAndTheEraOfTheDate)
{
    const CDateFormat dates;
    const CClockReading today = At(2026, 12, 5, 15, 9, 0);
    EXPECT_EQ(dates.m_nCount, 16);
    EXPECT_EQ(Utf8(dates.Format(2, today)), "2026年12月5日");
    EXPECT_EQ(Utf8(dates.Format(3, today)), "2026年12月");
    EXPECT_EQ(Utf8(dates.Format(4, today)), "12月5日");
    EXPECT_EQ(Utf8(dates.Format(5, today)), "2026/12/5");
    EXPECT_EQ(Utf8(dates.Format(6, today)), "2026/12/5 3:9 PM");
    EXPECT_EQ(Utf8(dates.Format(7, today)), "2026/12/5 15:9");
    EXPECT_EQ(Utf8(dates.Format(8, today)), "12/5");
    EXPECT_EQ(Utf8(dates.Format(9, today)), "12/5/2026");
    EXPECT_EQ(Utf8(dates.Format(10, At(2026, 3, 7, 0, 0, 0))), "03/07/2026");
    EXPECT_EQ(Utf8(dates.Format(11, today)), "5-Dec");
    EXPECT_EQ(Utf8(dates.Format(12, today)), "5-Dec-2026");
    EXPECT_EQ(Utf8(dates.Format(13, At(2026, 11, 3, 0, 0, 0))), "03-Nov-2026");
    EXPECT_EQ(Utf8(dates.Format(14, today)), "Dec-2026");
    EXPECT_EQ(Utf8(dates.Format(15, At(2026, 11, 3, 0, 0, 0))), "November-2026");
    EXPECT_EQ(Utf8(dates.Format(9, At(1999, 1, 2, 0, 0, 0))), "1/2/1999");
    EXPECT_EQ(Utf8(dates.Format(16, today)), "");

    // The era follows the date.
    EXPECT_EQ(Utf8(dates.Format(0, today)), "R8.12.5");
    EXPECT_EQ(Utf8(dates.Format(1, today)), "令和8年12月5日");
    EXPECT_EQ(Utf8(dates.Format(1, At(2019, 4, 30, 0, 0, 0))), "平成31年4月30日");
    EXPECT_EQ(Utf8(dates.Format(0, At(2019, 5, 1, 0, 0, 0))), "R1.5.1");
    EXPECT_EQ(Utf8(dates.Format(0, At(1989, 1, 7, 0, 0, 0))), "S64.1.7");
    EXPECT_EQ(Utf8(dates.Format(0, At(1989, 1, 8, 0, 0, 0))), "H1.1.8");
}

TEST(FormatCatalogues, PagesNumbersAndPictures)
{
    const CPageFormat pages;
    const CPageTotalFormat totals;
    const CNumberingFormat numbers;
    const CNumberPicture pictures;
    EXPECT_EQ(Utf8(pages.Format(1, 3)), "- 3 -");
    EXPECT_EQ(Utf8(pages.Format(3, 3)), "3 ﾍﾟｰｼﾞ");
    EXPECT_EQ(Utf8(pages.Format(5, 3)), "");
    EXPECT_EQ(Utf8(totals.Format(3, 12)), "全 12 ﾍﾟｰｼﾞ");
    EXPECT_EQ(Utf8(totals.Format(1, 12)), "12 ﾍﾟｰｼﾞ");
    EXPECT_EQ(Utf8(totals.Format(5, 12)), "./ 12");
    EXPECT_EQ(Utf8(totals.Format(-1, 12)), "");
    EXPECT_EQ(Utf8(numbers.Format(3, 7)), "(7)");
    EXPECT_EQ(Utf8(numbers.Format(1, 5)), "5");
    EXPECT_EQ(Utf8(numbers.Format(4, 5)), "");
    EXPECT_EQ(Utf8(pictures.GetAt(0)), "###");
    EXPECT_EQ(Utf8(pictures.GetAt(3)), "#.###");
    EXPECT_EQ(Utf8(pictures.GetAt(4)), "");
    EXPECT_EQ(Utf8(pictures.GetAt(65535)), "");
}

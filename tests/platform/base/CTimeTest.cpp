#include "platform/base/CTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Runs each test in Japan's time zone (no summer time), so that the moments below have
// fixed values; the zone the machine had is put back afterwards.
class CTimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tz = std::getenv("TZ");
        m_hadTz = tz != nullptr;
        if (tz)
            m_savedTz = tz;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            setenv("TZ", m_savedTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadTz = false;
    std::string m_savedTz;
};

} // namespace

TEST_F(CTimeTest, FieldsOfALocalTime)
{
    const CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(t.GetYear(), 2024);
    EXPECT_EQ(t.GetMonth(), 2);
    EXPECT_EQ(t.GetDay(), 29);
    EXPECT_EQ(t.GetHour(), 13);
    EXPECT_EQ(t.GetMinute(), 5);
    EXPECT_EQ(t.GetSecond(), 9);
    EXPECT_EQ(t.GetDayOfWeek(), 5); // Thursday; Sunday is 1
    EXPECT_EQ(CTime(2023, 1, 1, 0, 0, 0).GetDayOfWeek(), 1);
    EXPECT_EQ(CTime(2023, 1, 7, 0, 0, 0).GetDayOfWeek(), 7);
}

TEST_F(CTimeTest, LocalTimeAndSecondsSince1970)
{
    // 2000-01-01 00:00 in Japan is 1999-12-31 15:00 UTC.
    EXPECT_EQ(CTime(2000, 1, 1, 0, 0, 0).GetTime(), static_cast<time_t>(946652400));
    const CTime t(static_cast<time_t>(0));
    EXPECT_EQ(t.GetYear(), 1970);
    EXPECT_EQ(t.GetHour(), 9);
}

TEST_F(CTimeTest, OutOfRangeFieldsCarryOver)
{
    const CTime t(2023, 13, 1, 0, 0, 0);
    EXPECT_EQ(t.GetYear(), 2024);
    EXPECT_EQ(t.GetMonth(), 1);
    const CTime u(2024, 3, 0, 24, 0, 0); // the day before 1 March, at 24:00
    EXPECT_EQ(u.GetMonth(), 3);
    EXPECT_EQ(u.GetDay(), 1);
    EXPECT_EQ(u.GetHour(), 0);
}

TEST_F(CTimeTest, FormatPictures)
{
    const CTime t(2024, 3, 5, 8, 7, 6);
    EXPECT_EQ(t.Format("%Y/%m/%d %H:%M:%S").str(), "2024/03/05 08:07:06");
    EXPECT_EQ(t.Format("%y%m%d").str(), "240305");
    EXPECT_EQ(t.Format("%#m/%#d %#H:%M").str(), "3/5 8:07");
    EXPECT_EQ(t.Format("%I %p").str(), "08 AM");
    EXPECT_EQ(CTime(2024, 3, 5, 12, 30, 0).Format("%I %p").str(), "12 PM");
    EXPECT_EQ(t.Format("%a %A %b %B").str(), "Tue Tuesday Mar March");
    EXPECT_EQ(t.Format("%j %w").str(), "065 2");
    EXPECT_EQ(t.Format("100%%").str(), "100%");
    EXPECT_EQ(t.Format("").str(), "");
    EXPECT_EQ(t.Format(nullptr).str(), "");
}

TEST_F(CTimeTest, FormatKeepsJapaneseTextAndUnknownCodes)
{
    const CTime t(2024, 3, 5, 8, 7, 6);
    EXPECT_EQ(t.Format("%Y年%#m月%#d日"_sj).ToUtf8(), "2024年3月5日");
    // 表 and ソ end in 0x5C; 計 ends in "v": none of them starts a code.
    EXPECT_EQ(t.Format("表%Yソ計"_sj).ToUtf8(), "表2024ソ計");
    EXPECT_EQ(t.Format("%Q|%").str(), "%Q|%");
}

TEST_F(CTimeTest, DifferencesAndSpans)
{
    const CTime a(2024, 2, 28, 0, 0, 0);
    const CTime b(2024, 3, 1, 6, 30, 15);
    const CTimeSpan d = b - a;
    EXPECT_EQ(d.GetDays(), 2);
    EXPECT_EQ(d.GetHours(), 6);
    EXPECT_EQ(d.GetMinutes(), 30);
    EXPECT_EQ(d.GetSeconds(), 15);
    EXPECT_EQ(d.GetTotalMinutes(), 2 * 24 * 60 + 6 * 60 + 30);
    EXPECT_EQ(d, CTimeSpan(2, 6, 30, 15));
    EXPECT_EQ(a + d, b);
    EXPECT_EQ(b - d, a);
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(b >= a);
    EXPECT_FALSE(a == b);
    CTime c = a;
    c += CTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(c.GetDay(), 29);
}

TEST_F(CTimeTest, CurrentTimeIsNow)
{
    const time_t before = time(nullptr);
    const CTime now = CTime::GetCurrentTime();
    const time_t after = time(nullptr);
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), after);
}

#include "MosaicTest.h"

#include "AfxException.h"
#include "AfxTime.h"

namespace
{
// True when f throws a CInvalidArgException (which is then released).
template <class F>
bool ThrowsInvalidArg(F f)
{
    try
    {
        f();
    }
    catch (CInvalidArgException* e)
    {
        e->Delete();
        return true;
    }
    return false;
}
}

TEST(Time, PartsRoundTripInLocalTime)
{
    // 2024-02-29 is a Thursday.
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(2, t.GetMonth());
    EXPECT_EQ(29, t.GetDay());
    EXPECT_EQ(13, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(9, t.GetSecond());
    EXPECT_EQ(5, t.GetDayOfWeek());

    struct tm parts;
    ASSERT_EQ(&parts, t.GetLocalTm(&parts));
    EXPECT_EQ(124, parts.tm_year);
    EXPECT_EQ(1, parts.tm_mon);
    EXPECT_EQ(29, parts.tm_mday);
    EXPECT_EQ(4, parts.tm_wday);

    // A day that does not exist rolls over, as mktime does.
    CTime rolled(2023, 2, 31, 0, 0, 0);
    EXPECT_EQ(3, rolled.GetMonth());
    EXPECT_EQ(3, rolled.GetDay());
}

TEST(Time, PartsOutOfRangeAreRefused)
{
    struct Case { int y, mo, d, h, mi, s; };
    const Case cases[] = {
        {2024, 0, 1, 0, 0, 0}, {2024, 13, 1, 0, 0, 0}, {2024, 1, 0, 0, 0, 0},
        {2024, 1, 32, 0, 0, 0}, {2024, 1, 1, 24, 0, 0}, {2024, 1, 1, 0, 60, 0},
        {2024, 1, 1, 0, 0, 60}, {1899, 1, 1, 0, 0, 0}, {3001, 1, 1, 0, 0, 0},
        {1969, 6, 1, 0, 0, 0},  // before 1970 in every time zone
    };
    for (const Case& c : cases)
        EXPECT_TRUE(ThrowsInvalidArg([&] { CTime t(c.y, c.mo, c.d, c.h, c.mi, c.s); }))
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
}

TEST(Time, FormatWithStrftimeCodes)
{
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(CString(L"20240229_130509"), t.Format(L"%Y%m%d_%H%M%S"));
    EXPECT_EQ(CString(L"29/02/24 13:05"), t.Format(L"%d/%m/%y %H:%M"));
    EXPECT_EQ(CString(L"29-02-24 13:05"), t.Format(L"%d-%m-%y %H:%M"));
    // %c takes the Microsoft runtime's form, and names are the C locale's.
    EXPECT_EQ(CString(L"02/29/24 13:05:09"), t.Format(L"%c"));
    EXPECT_EQ(CString(L"Thu Thursday Feb February PM 100%"), t.Format(L"%a %A %b %B %p 100%%"));
    // Text around the codes is kept, whatever its characters.
    EXPECT_EQ(CString(L"\x00e9t\x00e9 2024 \x4e2d"), t.Format(L"\x00e9t\x00e9 %Y \x4e2d"));

    // The file-name stamp built from the parts matches the one built by Format.
    CString stamp;
    stamp.Format(L"%04d%02d%02d_%02d%02d%02d", t.GetYear(), t.GetMonth(), t.GetDay(),
                 t.GetHour(), t.GetMinute(), t.GetSecond());
    EXPECT_EQ(t.Format(L"%Y%m%d_%H%M%S"), stamp);
}

TEST(Time, FormatLimitsAndEmptyFormats)
{
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(CString(), t.Format(L""));
    EXPECT_EQ(CString(), t.Format((LPCTSTR)NULL));

    // The result must fit 128 characters with its terminator.
    CString fits(L'x', 123);
    EXPECT_EQ(fits + L"2024", t.Format(fits + L"%Y"));
    CString tooLong(L'x', 124);
    EXPECT_EQ(CString(), t.Format(tooLong + L"%Y"));
}

TEST(Time, TimeWithoutLocalForm)
{
    CTime early((time_t)-200000);
    struct tm parts;
    EXPECT_EQ(nullptr, early.GetLocalTm(&parts));
    EXPECT_EQ(0, early.GetYear());
    EXPECT_EQ(0, early.GetMonth());
    EXPECT_EQ(0, early.GetDay());
    EXPECT_EQ(-1, early.GetHour());
    EXPECT_EQ(-1, early.GetMinute());
    EXPECT_EQ(-1, early.GetSecond());
    EXPECT_EQ(0, early.GetDayOfWeek());
    EXPECT_TRUE(ThrowsInvalidArg([&] { early.Format(L"%Y"); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { CTime(0).GetLocalTm(NULL); }));
}

TEST(Time, FromSystemTimeAndFileTime)
{
    SYSTEMTIME st = {};
    st.wYear = 2021;
    st.wMonth = 7;
    st.wDay = 14;
    st.wHour = 8;
    st.wMinute = 30;
    st.wSecond = 15;
    EXPECT_EQ(CTime(2021, 7, 14, 8, 30, 15), CTime(st));
    st.wYear = 1601;
    EXPECT_EQ(0, CTime(st).GetTime());

    // 2000-01-01 00:00:00 UTC, in 100 ns units since 1601.
    ULONGLONG ticks = (946684800ULL + 11644473600ULL) * 10000000ULL + 9999999ULL;
    FILETIME ft = {(DWORD)ticks, (DWORD)(ticks >> 32)};
    EXPECT_EQ((time_t)946684800, CTime(ft).GetTime());
    FILETIME zero = {0, 0};
    EXPECT_EQ(0, CTime(zero).GetTime());

    // A file's time read back through Win32 gives the same local parts.
    SYSTEMTIME local;
    FILETIME localFt;
    ASSERT_TRUE(FileTimeToLocalFileTime(&ft, &localFt));
    ASSERT_TRUE(FileTimeToSystemTime(&localFt, &local));
    EXPECT_EQ(local.wHour, CTime(ft).GetHour());
    EXPECT_EQ(local.wDay, CTime(ft).GetDay());
}

TEST(Time, ArithmeticWithSpans)
{
    CTime a(2024, 1, 10, 12, 0, 0);
    CTime b(2024, 1, 11, 14, 3, 4);
    CTimeSpan span = b - a;
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_EQ(CTimeSpan(1, 2, 3, 4), span);
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(26, span.GetTotalHours());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_EQ(1563, span.GetTotalMinutes());

    EXPECT_EQ(b, a + span);
    EXPECT_EQ(a, b - span);
    CTime c = a;
    c += CTimeSpan(0, 1, 0, 0);
    EXPECT_EQ(13, c.GetHour());
    c -= CTimeSpan(0, 2, 0, 0);
    EXPECT_EQ(11, c.GetHour());
    EXPECT_TRUE(a < b && b > a && a <= a && b >= a && a != b);
    EXPECT_TRUE(CTimeSpan(5) > CTimeSpan(4));
    EXPECT_EQ(CTimeSpan(-1), CTimeSpan(2) - CTimeSpan(3));

    time_t now = time(NULL);
    time_t current = CTime::GetCurrentTime().GetTime();
    EXPECT_LE(now, current);
    EXPECT_LE(current - now, 2);
}

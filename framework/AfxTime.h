// CTime, a point in time as 64-bit seconds since 1970-01-01 UTC, shown in local time;
// CTimeSpan, a signed number of seconds between two of them.
#pragma once

#include <windows.h>
#include <time.h>

#include "AfxString.h"

// winbase.h makes GetCurrentTime() a macro for GetTickCount(), which would turn
// CTime::GetCurrentTime() into something else.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

static_assert(sizeof(time_t) == 8, "CTime needs a 64-bit time_t");

class CTimeSpan
{
public:
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(time_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
        : m_timeSpan(nSecs + 60 * (nMins + 60 * (nHours + (time_t)24 * lDays))) {}

    LONGLONG GetDays() const { return m_timeSpan / (24 * 3600); }
    LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
    LONG GetHours() const { return (LONG)(GetTotalHours() - GetDays() * 24); }
    LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
    LONG GetMinutes() const { return (LONG)(GetTotalMinutes() - GetTotalHours() * 60); }
    LONGLONG GetTotalSeconds() const { return m_timeSpan; }
    LONG GetSeconds() const { return (LONG)(GetTotalSeconds() - GetTotalMinutes() * 60); }
    time_t GetTimeSpan() const { return m_timeSpan; }

    CTimeSpan operator+(CTimeSpan span) const { return CTimeSpan(m_timeSpan + span.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan span) const { return CTimeSpan(m_timeSpan - span.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan span) { m_timeSpan += span.m_timeSpan; return *this; }
    CTimeSpan& operator-=(CTimeSpan span) { m_timeSpan -= span.m_timeSpan; return *this; }
    bool operator==(CTimeSpan span) const { return m_timeSpan == span.m_timeSpan; }
    bool operator!=(CTimeSpan span) const { return m_timeSpan != span.m_timeSpan; }
    bool operator<(CTimeSpan span) const { return m_timeSpan < span.m_timeSpan; }
    bool operator>(CTimeSpan span) const { return m_timeSpan > span.m_timeSpan; }
    bool operator<=(CTimeSpan span) const { return m_timeSpan <= span.m_timeSpan; }
    bool operator>=(CTimeSpan span) const { return m_timeSpan >= span.m_timeSpan; }

private:
    time_t m_timeSpan;
};

class CTime
{
public:
    static CTime WINAPI GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the C library decide whether daylight saving applies.
    // Parts out of range throw CInvalidArgException, as does a time before 1970 (UTC).
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    // A SYSTEMTIME in local time; a year before 1900 gives the time 0.
    CTime(const SYSTEMTIME& st, int nDST = -1);
    // A FILETIME in UTC, as the file system keeps it, converted exactly (nDST plays no
    // part); one before 1970 gives the time 0.
    CTime(const FILETIME& ft, int nDST = -1);

    CTime& operator=(time_t time) { m_time = time; return *this; }

    CTime& operator+=(CTimeSpan span) { m_time += span.GetTimeSpan(); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTimeSpan(); return *this; }
    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }

    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

    // NULL when the time has no local form (well before 1970 or after the year 3000).
    struct tm* GetLocalTm(struct tm* ptm) const;

    time_t GetTime() const { return m_time; }

    // Local parts; when the time has no local form, 0 (hour, minute and second: -1).
    int GetYear() const;
    int GetMonth() const;       // 1 to 12
    int GetDay() const;         // 1 to 31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;   // 1 = Sunday

    // Local time through the C strftime codes, with the C locale's names and the Microsoft
    // runtime's form of %c ("%m/%d/%y %H:%M:%S"). A result of 128 characters or more comes
    // back empty; a time without local form throws CInvalidArgException.
    CString Format(LPCTSTR pszFormat) const;

private:
    time_t m_time;
};

#include "AfxTime.h"

#include <locale.h>
#include <string.h>

#include "AfxException.h"

namespace
{
// The range in which the Microsoft runtime gives a time a local form: the years 1970 to
// 3000 in UTC, widened by the largest time-zone offsets.
const time_t kMinLocalTime = -12 * 3600;
const time_t kMaxLocalTime = 32535215999LL + 13 * 3600;

// The Microsoft runtime refuses a result that does not fit 128 characters.
const int kMaxTimeBufferSize = 128;

// Seconds from 1601-01-01 (FILETIME's origin) to 1970-01-01, both UTC.
const LONGLONG kFileTimeTo1970 = 11644473600LL;

// A program that never calls setlocale formats in the C locale; the C library's own
// locale may have been set by the host, so the C locale is asked for explicitly.
locale_t CLocale()
{
    static locale_t s_locale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return s_locale;
}

// The wide format as UTF-8 for strftime, with %c spelled out in the Microsoft runtime's
// C-locale form, which differs from glibc's ("Thu Jan  1 00:00:00 1970").
bool FormatToUtf8(LPCWSTR pszFormat, char* pszOut, int nOutSize)
{
    WCHAR szWide[4 * kMaxTimeBufferSize];
    int n = 0;
    const int nMax = (int)(sizeof(szWide) / sizeof(szWide[0])) - 20;
    for (LPCWSTR p = pszFormat; *p != 0; p++)
    {
        if (n >= nMax)
            return false;
        if (p[0] == L'%' && p[1] == L'c')
        {
            static const WCHAR szDateTime[] = L"%m/%d/%y %H:%M:%S";
            for (const WCHAR* q = szDateTime; *q != 0; q++)
                szWide[n++] = *q;
            p++;
        }
        else if (p[0] == L'%' && p[1] != 0)
        {
            szWide[n++] = *p++;
            szWide[n++] = *p;
        }
        else
            szWide[n++] = *p;
    }
    szWide[n] = 0;
    return WideCharToMultiByte(CP_UTF8, 0, szWide, -1, pszOut, nOutSize, NULL, NULL) > 0;
}
}

CTime WINAPI CTime::GetCurrentTime()
{
    return CTime(::time(NULL));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    if (nYear < 1900 || nYear > 3000 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 ||
        nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        AfxThrowInvalidArgException();

    struct tm atm;
    memset(&atm, 0, sizeof(atm));
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    m_time = mktime(&atm);
    if (m_time < 0)
        AfxThrowInvalidArgException();
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
{
    if (st.wYear < 1900)
        m_time = 0;
    else
        *this = CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

CTime::CTime(const FILETIME& ft, int)
{
    ULONGLONG ticks = ((ULONGLONG)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    LONGLONG seconds = (LONGLONG)(ticks / 10000000) - kFileTimeTo1970;
    m_time = seconds < 0 ? 0 : (time_t)seconds;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (ptm == NULL)
        AfxThrowInvalidArgException();
    if (m_time < kMinLocalTime || m_time > kMaxLocalTime)
        return NULL;
    struct tm tmTemp;
    if (localtime_r(&m_time, &tmTemp) == NULL)
        return NULL;
    *ptm = tmTemp;
    return ptm;
}

int CTime::GetYear() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_mday : 0;
}

int CTime::GetHour() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_hour : -1;
}

int CTime::GetMinute() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_min : -1;
}

int CTime::GetSecond() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_sec : -1;
}

int CTime::GetDayOfWeek() const
{
    struct tm ttm;
    return GetLocalTm(&ttm) ? ttm.tm_wday + 1 : 0;
}

CString CTime::Format(LPCTSTR pszFormat) const
{
    if (pszFormat == NULL)
        return CString();

    struct tm ttm;
    if (GetLocalTm(&ttm) == NULL)
        AfxThrowInvalidArgException();

    // UTF-8 takes up to three bytes for a UTF-16 unit.
    char szFormat[12 * kMaxTimeBufferSize];
    char szResult[4 * kMaxTimeBufferSize];
    if (!FormatToUtf8(pszFormat, szFormat, (int)sizeof(szFormat)))
        return CString();
    size_t nBytes = strftime_l(szResult, sizeof(szResult), szFormat, &ttm, CLocale());
    if (nBytes == 0)
        return CString();

    WCHAR szWide[kMaxTimeBufferSize];
    int nWide = MultiByteToWideChar(CP_UTF8, 0, szResult, (int)nBytes + 1, szWide,
                                    kMaxTimeBufferSize);
    if (nWide <= 0)
        return CString();
    return CString(szWide);
}

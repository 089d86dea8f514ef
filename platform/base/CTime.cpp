#include "platform/base/CTime.h"

#include "platform/base/CArchive.h"
#include "platform/base/CArchiveException.h"
#include "platform/base/Clock.h"
#include "platform/base/TimeFormat.h"
#include "platform/base/TimeFunctions.h"

#include <cstdint>
#include <limits>

namespace {

// Clamps a value to the signed 32-bit range of the stored forms; FALSE when it had to.
BOOL ClampToStored32(LONGLONG nValue, LONG* pnStored)
{
    constexpr LONGLONG MIN_STORED = std::numeric_limits<std::int32_t>::min();
    constexpr LONGLONG MAX_STORED = std::numeric_limits<std::int32_t>::max();
    LONGLONG nClamped = nValue < MIN_STORED ? MIN_STORED : (nValue > MAX_STORED ? MAX_STORED : nValue);
    if (pnStored)
        *pnStored = static_cast<LONG>(nClamped);
    return nClamped == nValue;
}

CString FormatOrEmpty(const tm* pTm, LPCTSTR pszFormat)
{
    if (!pTm)
        return CString();
    std::optional<std::string> text = FormatTimeFields(*pTm, pszFormat);
    return text ? CString(text->c_str()) : CString();
}

}

/***************************************************************************
** CTimeSpan
*/

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(((static_cast<LONGLONG>(lDays) * 24 + nHours) * 60 + nMins) * 60 + nSecs)
{
}

BOOL CTimeSpan::GetTimeSpan32(LONG* pnStored) const
{
    return ClampToStored32(m_timeSpan, pnStored);
}

CTimeSpan& CTimeSpan::operator+=(CTimeSpan span)
{
    m_timeSpan += span.m_timeSpan;
    return *this;
}

CTimeSpan& CTimeSpan::operator-=(CTimeSpan span)
{
    m_timeSpan -= span.m_timeSpan;
    return *this;
}

CString CTimeSpan::Format(LPCTSTR pszFormat) const
{
    std::optional<std::string> text = FormatSpanFields(GetDays(), GetHours(), GetMinutes(), GetSeconds(), pszFormat);
    return text ? CString(text->c_str()) : CString();
}

/***************************************************************************
** CTime
*/

CTime CTime::GetCurrentTime()
{
    return CTime(static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
    : m_time(-1)
{
    if (nYear < 1900 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23 || nMin < 0
        || nMin > 59 || nSec < 0 || nSec > 59)
        return;
    tm fields {};
    fields.tm_year = nYear - 1900;
    fields.tm_mon = nMonth - 1;
    fields.tm_mday = nDay;
    fields.tm_hour = nHour;
    fields.tm_min = nMin;
    fields.tm_sec = nSec;
    fields.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
    m_time = mktime(&fields);
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{
}

CTime::CTime(const FILETIME& ft, int)
    : m_time(static_cast<LONGLONG>(FileTimeToUInt64(ft) / FILETIME_UNITS_PER_SECOND)
        - static_cast<LONGLONG>(FILETIME_UNIX_EPOCH_SECONDS))
{
}

BOOL CTime::GetTime32(LONG* pnStored) const
{
    return ClampToStored32(m_time, pnStored);
}

int CTime::GetYear() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_mday : 0;
}

int CTime::GetHour() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_hour : 0;
}

int CTime::GetMinute() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_min : 0;
}

int CTime::GetSecond() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_sec : 0;
}

int CTime::GetDayOfWeek() const
{
    tm fields {};
    return GetLocalTm(&fields) ? fields.tm_wday + 1 : 0;
}

tm* CTime::GetLocalTm(tm* ptm) const
{
    time_t nTime = m_time;
    return ptm ? localtime_r(&nTime, ptm) : nullptr;
}

tm* CTime::GetGmtTm(tm* ptm) const
{
    time_t nTime = m_time;
    return ptm ? gmtime_r(&nTime, ptm) : nullptr;
}

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    tm fields {};
    if (!GetLocalTm(&fields) || fields.tm_year + 1900 < 1601 || fields.tm_year + 1900 > 30827)
        return false;
    st.wYear = static_cast<WORD>(fields.tm_year + 1900);
    st.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    st.wDay = static_cast<WORD>(fields.tm_mday);
    st.wHour = static_cast<WORD>(fields.tm_hour);
    st.wMinute = static_cast<WORD>(fields.tm_min);
    st.wSecond = static_cast<WORD>(fields.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

CTime& CTime::operator+=(CTimeSpan span)
{
    m_time += span.GetTimeSpan();
    return *this;
}

CTime& CTime::operator-=(CTimeSpan span)
{
    m_time -= span.GetTimeSpan();
    return *this;
}

CString CTime::Format(LPCTSTR pszFormat) const
{
    tm fields {};
    return FormatOrEmpty(GetLocalTm(&fields), pszFormat);
}

CString CTime::FormatGmt(LPCTSTR pszFormat) const
{
    tm fields {};
    return FormatOrEmpty(GetGmtTm(&fields), pszFormat);
}

/***************************************************************************
** Archive forms
*/

namespace {

void StoreTime32(CArchive& ar, LONGLONG nValue)
{
    LONG nStored = 0;
    if (!ClampToStored32(nValue, &nStored))
        AfxThrowArchiveException(CArchiveException::genericException, ar.m_strFileName);
    ar << nStored;
}

LONGLONG LoadTime32(CArchive& ar)
{
    LONG nStored = 0;
    ar >> nStored;
    return nStored;
}

}

CArchive& operator<<(CArchive& ar, CTime time)
{
    StoreTime32(ar, time.GetTime());
    return ar;
}

CArchive& operator>>(CArchive& ar, CTime& rtime)
{
    rtime = CTime(LoadTime32(ar));
    return ar;
}

CArchive& operator<<(CArchive& ar, CTimeSpan timeSpan)
{
    StoreTime32(ar, timeSpan.GetTimeSpan());
    return ar;
}

CArchive& operator>>(CArchive& ar, CTimeSpan& rtimeSpan)
{
    rtimeSpan = CTimeSpan(LoadTime32(ar));
    return ar;
}

#include "platform/base/COleDateTime.h"

#include "platform/base/CTime.h"
#include "platform/base/TimeFormat.h"
#include "platform/base/TimeFunctions.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr LONGLONG SECONDS_PER_DAY = 86400;
constexpr DATE MIN_DATE = -657434.0;                     // 0100-01-01 00:00:00
constexpr DATE MAX_DATE = 2958465.0 + 86399.0 / 86400.0; // 9999-12-31 23:59:59
constexpr std::chrono::sys_days DATE_EPOCH_DAY { std::chrono::year { 1899 } / 12 / 30 };

// A DATE's position on a straight time line, in days: before the epoch the
// fraction counts forward from midnight, so it is mirrored here.
double LinearFromDate(DATE dt)
{
    double fDay = std::trunc(dt);
    return dt >= 0 ? dt : 2 * fDay - dt;
}

DATE DateFromLinear(double fLinear)
{
    if (fLinear >= 0)
        return fLinear;
    double fDay = std::floor(fLinear);
    double fFraction = fLinear - fDay;
    return fDay - fFraction;
}

bool IsDateInRange(DATE dt)
{
    return std::isfinite(dt) && dt >= MIN_DATE && dt <= MAX_DATE;
}

// The calendar fields of a valid DATE, rounded to the nearest second.
struct DateFields {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond;
    int nDayOfWeek; // 0 = Sunday
    int nDayOfYear; // 0 = January 1st
};

std::optional<DateFields> FieldsFromDate(DATE dt)
{
    if (!IsDateInRange(dt))
        return std::nullopt;
    auto nSeconds = static_cast<LONGLONG>(std::llround(LinearFromDate(dt) * SECONDS_PER_DAY));
    LONGLONG nDay = nSeconds / SECONDS_PER_DAY - (nSeconds % SECONDS_PER_DAY < 0 ? 1 : 0); // rounded down
    LONGLONG nSecondOfDay = nSeconds - nDay * SECONDS_PER_DAY;

    std::chrono::sys_days day = DATE_EPOCH_DAY + std::chrono::days { nDay };
    std::chrono::year_month_day ymd { day };
    if (static_cast<int>(ymd.year()) > 9999) // rounding 23:59:59.5 on the last day
        return std::nullopt;
    DateFields fields {};
    fields.nYear = static_cast<int>(ymd.year());
    fields.nMonth = static_cast<int>(static_cast<unsigned>(ymd.month()));
    fields.nDay = static_cast<int>(static_cast<unsigned>(ymd.day()));
    fields.nHour = static_cast<int>(nSecondOfDay / 3600);
    fields.nMinute = static_cast<int>(nSecondOfDay / 60 % 60);
    fields.nSecond = static_cast<int>(nSecondOfDay % 60);
    fields.nDayOfWeek = static_cast<int>(std::chrono::weekday { day }.c_encoding());
    fields.nDayOfYear = static_cast<int>((day - std::chrono::sys_days { ymd.year() / 1 / 1 }).count());
    return fields;
}

std::optional<DateFields> ValidFields(const COleDateTime& dt)
{
    return dt.GetStatus() == COleDateTime::valid ? FieldsFromDate(dt.m_dt) : std::nullopt;
}

std::optional<DATE> DateFromFields(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31 || nHour < 0 || nHour > 23
        || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        return std::nullopt;
    std::chrono::year_month_day ymd { std::chrono::year { nYear }, std::chrono::month { static_cast<unsigned>(nMonth) },
        std::chrono::day { static_cast<unsigned>(nDay) } };
    if (!ymd.ok())
        return std::nullopt;
    auto nDays = static_cast<double>((std::chrono::sys_days { ymd } - DATE_EPOCH_DAY).count());
    double fFraction = (nHour * 3600.0 + nMin * 60.0 + nSec) / SECONDS_PER_DAY;
    return nDays >= 0 ? nDays + fFraction : nDays - fFraction;
}

// A span rounded to the second, split into days and the remainders.
struct SpanFields {
    LONG nDays, nHours, nMinutes, nSeconds;
};

SpanFields SplitSpan(double fDays)
{
    auto nTotal = static_cast<LONGLONG>(std::llround(fDays * SECONDS_PER_DAY));
    return SpanFields { static_cast<LONG>(nTotal / SECONDS_PER_DAY), static_cast<LONG>(nTotal / 3600 % 24),
        static_cast<LONG>(nTotal / 60 % 60), static_cast<LONG>(nTotal % 60) };
}

/***************************************************************************
** Parsing
*/

// A cursor over the text being parsed.
class CDateTimeScanner {
public:
    explicit CDateTimeScanner(const char* psz)
        : m_p(psz)
    {
    }

    void SkipSpaces()
    {
        while (std::isspace(static_cast<unsigned char>(*m_p)))
            ++m_p;
    }
    bool AtEnd() const { return *m_p == '\0'; }
    // The character last taken.
    char Previous() const { return m_p[-1]; }
    bool Take(char ch)
    {
        if (*m_p != ch)
            return false;
        ++m_p;
        return true;
    }
    // Reads 1 to nMaxDigits decimal digits.
    std::optional<int> Number(int nMaxDigits)
    {
        int nValue = 0;
        int nDigits = 0;
        while (nDigits < nMaxDigits && std::isdigit(static_cast<unsigned char>(*m_p))) {
            nValue = nValue * 10 + (*m_p++ - '0');
            ++nDigits;
        }
        if (nDigits == 0 || std::isdigit(static_cast<unsigned char>(*m_p)))
            return std::nullopt;
        return nValue;
    }
    // Reads "AM" or "PM" in any case: 0 for AM, 12 for PM.
    std::optional<int> Meridiem()
    {
        char chFirst = static_cast<char>(std::toupper(static_cast<unsigned char>(m_p[0])));
        if ((chFirst != 'A' && chFirst != 'P') || std::toupper(static_cast<unsigned char>(m_p[1])) != 'M')
            return std::nullopt;
        m_p += 2;
        return chFirst == 'P' ? 12 : 0;
    }

private:
    const char* m_p;
};

struct ParsedDate {
    int nYear, nMonth, nDay;
};

struct ParsedTime {
    int nHour, nMinute, nSecond;
};

// The rest of "YYYY-MM-DD" or "MM/DD/YYYY" after the first number and separator.
std::optional<ParsedDate> ParseDate(CDateTimeScanner& scan, int nFirst, char chSeparator)
{
    std::optional<int> nSecond = scan.Number(2);
    if (!nSecond || !scan.Take(chSeparator))
        return std::nullopt;
    std::optional<int> nThird = scan.Number(chSeparator == '-' ? 2 : 4);
    if (!nThird)
        return std::nullopt;
    if (chSeparator == '-')
        return ParsedDate { nFirst, *nSecond, *nThird };
    return ParsedDate { *nThird, nFirst, *nSecond };
}

// "HH:MM" or "HH:MM:SS" after the hour, with an optional AM/PM.
std::optional<ParsedTime> ParseTime(CDateTimeScanner& scan, int nHour)
{
    std::optional<int> nMinute = scan.Number(2);
    if (!nMinute)
        return std::nullopt;
    int nSecond = 0;
    if (scan.Take(':')) {
        std::optional<int> nParsed = scan.Number(2);
        if (!nParsed)
            return std::nullopt;
        nSecond = *nParsed;
    }
    scan.SkipSpaces();
    if (std::optional<int> nHalf = scan.Meridiem()) {
        if (nHour < 1 || nHour > 12)
            return std::nullopt;
        nHour = nHour % 12 + *nHalf;
    }
    return ParsedTime { nHour, *nMinute, nSecond };
}

// The whole text: a date, a time, or a date, spaces and a time. False on anything else.
bool ParseDateAndTime(CDateTimeScanner& scan, std::optional<ParsedDate>& date, std::optional<ParsedTime>& time)
{
    scan.SkipSpaces();
    std::optional<int> nFirst = scan.Number(4);
    if (!nFirst)
        return false;
    if (scan.Take('-') || scan.Take('/')) {
        date = ParseDate(scan, *nFirst, scan.Previous());
        if (!date)
            return false;
        scan.SkipSpaces();
        if (scan.AtEnd())
            return true;
        nFirst = scan.Number(2);
        if (!nFirst)
            return false;
    }
    if (!scan.Take(':'))
        return false;
    time = ParseTime(scan, *nFirst);
    scan.SkipSpaces();
    return time && scan.AtEnd();
}

}

/***************************************************************************
** COleDateTimeSpan
*/

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc)
    : m_span(dblSpanSrc)
    , m_status(std::isfinite(dblSpanSrc) ? valid : invalid)
{
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + (nHours * 3600.0 + nMins * 60.0 + nSecs) / SECONDS_PER_DAY;
    m_status = valid;
}

LONG COleDateTimeSpan::GetDays() const
{
    return SplitSpan(m_span).nDays;
}

LONG COleDateTimeSpan::GetHours() const
{
    return SplitSpan(m_span).nHours;
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return SplitSpan(m_span).nMinutes;
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return SplitSpan(m_span).nSeconds;
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& span) const
{
    COleDateTimeSpan result(m_span + span.m_span);
    if (m_status == invalid || span.m_status == invalid)
        result.m_status = invalid;
    else if (m_status == null || span.m_status == null)
        result.m_status = null;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& span) const
{
    return *this + -span;
}

COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan& span)
{
    *this = *this + span;
    return *this;
}

COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan& span)
{
    *this = *this - span;
    return *this;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& span) const
{
    return m_status == span.m_status && (m_status != valid || m_span == span.m_span);
}

CString COleDateTimeSpan::Format(LPCTSTR pszFormat) const
{
    if (m_status != valid)
        return CString();
    SpanFields fields = SplitSpan(m_span);
    std::optional<std::string> text
        = FormatSpanFields(fields.nDays, fields.nHours, fields.nMinutes, fields.nSeconds, pszFormat);
    return text ? CString(text->c_str()) : CString();
}

/***************************************************************************
** COleDateTime
*/

COleDateTime COleDateTime::GetCurrentTime()
{
    return COleDateTime(CTime::GetCurrentTime().GetTime());
}

COleDateTime::COleDateTime(DATE dtSrc)
    : m_dt(dtSrc)
    , m_status(IsDateInRange(dtSrc) ? valid : invalid)
{
}

COleDateTime::COleDateTime(time_t timeSrc)
{
    tm fields {};
    if (!CTime(timeSrc).GetLocalTm(&fields)) {
        m_status = invalid;
        return;
    }
    SetDateTime(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(
        systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute, systimeSrc.wSecond);
}

COleDateTime::COleDateTime(const FILETIME& filetimeSrc)
    : COleDateTime(CTime(filetimeSrc).GetTime())
{
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    std::optional<DATE> dt = DateFromFields(nYear, nMonth, nDay, nHour, nMin, nSec);
    m_dt = dt.value_or(0);
    m_status = dt ? valid : invalid;
    return dt ? 0 : 1;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay)
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec)
{
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

int COleDateTime::GetYear() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nYear : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMonth() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nMonth : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDay() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nDay : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetHour() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nHour : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetMinute() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nMinute : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetSecond() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nSecond : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfWeek() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nDayOfWeek + 1 : AFX_OLE_DATETIME_ERROR;
}

int COleDateTime::GetDayOfYear() const
{
    std::optional<DateFields> fields = ValidFields(*this);
    return fields ? fields->nDayOfYear + 1 : AFX_OLE_DATETIME_ERROR;
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    std::optional<DateFields> fields = ValidFields(*this);
    if (!fields)
        return false;
    st.wYear = static_cast<WORD>(fields->nYear);
    st.wMonth = static_cast<WORD>(fields->nMonth);
    st.wDayOfWeek = static_cast<WORD>(fields->nDayOfWeek);
    st.wDay = static_cast<WORD>(fields->nDay);
    st.wHour = static_cast<WORD>(fields->nHour);
    st.wMinute = static_cast<WORD>(fields->nMinute);
    st.wSecond = static_cast<WORD>(fields->nSecond);
    st.wMilliseconds = 0;
    return true;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    COleDateTime result;
    if (m_status == invalid || span.GetStatus() == COleDateTimeSpan::invalid) {
        result.m_status = invalid;
    } else if (m_status == null || span.GetStatus() == COleDateTimeSpan::null) {
        result.m_status = null;
    } else {
        result = COleDateTime(DateFromLinear(LinearFromDate(m_dt) + span.GetTotalDays()));
    }
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    return *this + -span;
}

COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& span)
{
    *this = *this + span;
    return *this;
}

COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& span)
{
    *this = *this - span;
    return *this;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan result(LinearFromDate(m_dt) - LinearFromDate(date.m_dt));
    if (m_status == invalid || date.m_status == invalid)
        result.SetStatus(COleDateTimeSpan::invalid);
    else if (m_status == null || date.m_status == null)
        result.SetStatus(COleDateTimeSpan::null);
    return result;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && (m_status != valid || m_dt == date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return LinearFromDate(m_dt) < LinearFromDate(date.m_dt);
}

CString COleDateTime::Format(DWORD dwFlags) const
{
    if (m_status == null)
        return CString();
    std::optional<DateFields> fields = ValidFields(*this);
    if (!fields)
        return CString("Invalid DateTime");

    bool bMidnight = fields->nHour == 0 && fields->nMinute == 0 && fields->nSecond == 0;
    bool bEpochDay = fields->nYear == 1899 && fields->nMonth == 12 && fields->nDay == 30;
    bool bShowDate = !(dwFlags & VAR_TIMEVALUEONLY) && (!bEpochDay || (dwFlags & VAR_DATEVALUEONLY));
    bool bShowTime = !(dwFlags & VAR_DATEVALUEONLY) && (!bMidnight || !bShowDate);

    char szText[32] = "";
    int nLength = 0;
    if (bShowDate)
        nLength = std::snprintf(szText, sizeof szText, "%04d-%02d-%02d", fields->nYear, fields->nMonth, fields->nDay);
    if (bShowTime)
        std::snprintf(szText + nLength, sizeof szText - nLength, "%s%02d:%02d:%02d", bShowDate ? " " : "",
            fields->nHour, fields->nMinute, fields->nSecond);
    return CString(szText);
}

CString COleDateTime::Format(LPCTSTR pszFormat) const
{
    std::optional<DateFields> fields = ValidFields(*this);
    if (!fields)
        return CString();
    tm t {};
    t.tm_year = fields->nYear - 1900;
    t.tm_mon = fields->nMonth - 1;
    t.tm_mday = fields->nDay;
    t.tm_hour = fields->nHour;
    t.tm_min = fields->nMinute;
    t.tm_sec = fields->nSecond;
    t.tm_isdst = -1;
    // Let the C library find the zone and offset of this local time; it
    // normalises a copy, so the fields formatted stay as they are.
    tm zone = t;
    if (mktime(&zone) != -1) {
        t.tm_gmtoff = zone.tm_gmtoff;
        t.tm_zone = zone.tm_zone;
    }
    t.tm_wday = fields->nDayOfWeek;
    t.tm_yday = fields->nDayOfYear;
    std::optional<std::string> text = FormatTimeFields(t, pszFormat);
    return text ? CString(text->c_str()) : CString();
}

bool COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags)
{
    CDateTimeScanner scan(lpszDate ? lpszDate : "");
    std::optional<ParsedDate> date;
    std::optional<ParsedTime> time;
    bool bParsed = ParseDateAndTime(scan, date, time);

    int nResult = 1;
    if (bParsed) {
        ParsedDate d = (date && !(dwFlags & VAR_TIMEVALUEONLY)) ? *date : ParsedDate { 1899, 12, 30 };
        ParsedTime t = (time && !(dwFlags & VAR_DATEVALUEONLY)) ? *time : ParsedTime { 0, 0, 0 };
        COleDateTime parsed;
        nResult = parsed.SetDateTime(d.nYear, d.nMonth, d.nDay, t.nHour, t.nMinute, t.nSecond);
        if (nResult == 0)
            *this = parsed;
    }
    if (nResult != 0)
        m_status = invalid;
    return nResult == 0;
}

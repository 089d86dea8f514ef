#include "platform/base/TimeFormat.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* DAY_NAMES[7] = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
constexpr const char* MONTH_NAMES[12] = { "January", "February", "March", "April", "May", "June", "July", "August",
    "September", "October", "November", "December" };

// Appends `nValue` zero-padded to `nWidth` digits, or unpadded when `bNoPad`.
void AppendNumber(std::string& strOut, long nValue, int nWidth, bool bNoPad)
{
    char szBuffer[32];
    std::snprintf(szBuffer, sizeof szBuffer, "%0*ld", bNoPad ? 1 : nWidth, nValue);
    strOut += szBuffer;
}

// Index into the name tables, kept in range for a malformed tm.
int NameIndex(int nValue, int nCount)
{
    return ((nValue % nCount) + nCount) % nCount;
}

// Appends one conversion; false for an unknown one.
bool AppendConversion(std::string& strOut, const tm& t, char chConversion, bool bAlternate)
{
    const char* pszDay = DAY_NAMES[NameIndex(t.tm_wday, 7)];
    const char* pszMonth = MONTH_NAMES[NameIndex(t.tm_mon, 12)];
    int nHour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    long nYear = static_cast<long>(t.tm_year) + 1900;
    int nMondayBased = (t.tm_wday + 6) % 7;

    // The composite forms format themselves through this same formatter; '#'
    // selects the second form.
    auto appendComposite = [&](const char* pszPlain, const char* pszAlternate) {
        strOut += *FormatTimeFields(t, bAlternate ? pszAlternate : pszPlain);
    };

    switch (chConversion) {
    case 'a':
        strOut.append(pszDay, 3);
        break;
    case 'A':
        strOut += pszDay;
        break;
    case 'b':
    case 'h':
        strOut.append(pszMonth, 3);
        break;
    case 'B':
        strOut += pszMonth;
        break;
    case 'c':
        appendComposite("%m/%d/%y %H:%M:%S", "%A, %B %#d, %Y, %H:%M:%S");
        break;
    case 'x':
        appendComposite(SHORT_DATE_FORM, "%A, %B %#d, %Y");
        break;
    case 'X':
        strOut += *FormatTimeFields(t, "%H:%M:%S");
        break;
    case 'T':
        appendComposite("%H:%M:%S", "%#H:%#M:%#S");
        break;
    case 'D':
        appendComposite(SHORT_DATE_FORM, "%#m/%#d/%#y");
        break;
    case 'F':
        appendComposite("%Y-%m-%d", "%#Y-%#m-%#d");
        break;
    case 'R':
        appendComposite("%H:%M", "%#H:%#M");
        break;
    case 'd':
        AppendNumber(strOut, t.tm_mday, 2, bAlternate);
        break;
    case 'e':
        if (t.tm_mday < 10 && !bAlternate)
            strOut += ' ';
        AppendNumber(strOut, t.tm_mday, 1, true);
        break;
    case 'H':
        AppendNumber(strOut, t.tm_hour, 2, bAlternate);
        break;
    case 'I':
        AppendNumber(strOut, nHour12, 2, bAlternate);
        break;
    case 'j':
        AppendNumber(strOut, t.tm_yday + 1, 3, bAlternate);
        break;
    case 'm':
        AppendNumber(strOut, t.tm_mon + 1, 2, bAlternate);
        break;
    case 'M':
        AppendNumber(strOut, t.tm_min, 2, bAlternate);
        break;
    case 'S':
        AppendNumber(strOut, t.tm_sec, 2, bAlternate);
        break;
    case 'p':
        strOut += t.tm_hour < 12 ? "AM" : "PM";
        break;
    case 'U':
        AppendNumber(strOut, (t.tm_yday + 7 - t.tm_wday) / 7, 2, bAlternate);
        break;
    case 'W':
        AppendNumber(strOut, (t.tm_yday + 7 - nMondayBased) / 7, 2, bAlternate);
        break;
    case 'w':
        AppendNumber(strOut, t.tm_wday, 1, bAlternate);
        break;
    case 'u':
        AppendNumber(strOut, nMondayBased + 1, 1, bAlternate);
        break;
    case 'y':
        AppendNumber(strOut, ((nYear % 100) + 100) % 100, 2, bAlternate);
        break;
    case 'Y':
        AppendNumber(strOut, nYear, 4, bAlternate);
        break;
    case 'z': {
        long nOffset = t.tm_gmtoff;
        strOut += nOffset < 0 ? '-' : '+';
        nOffset = std::labs(nOffset) / 60;
        AppendNumber(strOut, nOffset / 60 * 100 + nOffset % 60, 4, false);
        break;
    }
    case 'Z':
        if (t.tm_zone)
            strOut += t.tm_zone;
        break;
    case 'n':
        strOut += '\n';
        break;
    case 't':
        strOut += '\t';
        break;
    case '%':
        strOut += '%';
        break;
    default:
        return false;
    }
    return true;
}

}

std::optional<std::string> FormatTimeFields(const tm& t, const char* pszFormat)
{
    std::string strOut;
    if (!pszFormat)
        return strOut;
    for (const char* p = pszFormat; *p; ++p) {
        if (*p != '%') {
            strOut += *p;
            continue;
        }
        bool bAlternate = p[1] == '#';
        if (bAlternate)
            ++p;
        if (!p[1] || !AppendConversion(strOut, t, p[1], bAlternate))
            return std::nullopt;
        ++p;
    }
    return strOut;
}

std::optional<std::string> FormatSpanFields(
    LONGLONG nDays, LONG nHours, LONG nMinutes, LONG nSeconds, const char* pszFormat)
{
    std::string strOut;
    if (!pszFormat)
        return strOut;
    for (const char* p = pszFormat; *p; ++p) {
        if (*p != '%') {
            strOut += *p;
            continue;
        }
        switch (*++p) {
        case 'D':
            AppendNumber(strOut, static_cast<long>(nDays), 1, true);
            break;
        case 'H':
            AppendNumber(strOut, nHours, 2, false);
            break;
        case 'M':
            AppendNumber(strOut, nMinutes, 2, false);
            break;
        case 'S':
            AppendNumber(strOut, nSeconds, 2, false);
            break;
        case '%':
            strOut += '%';
            break;
        default:
            return std::nullopt;
        }
    }
    return strOut;
}

#pragma once

// The strftime-style formatter behind CTime::Format, CTime::FormatGmt and
// COleDateTime::Format. Output is the same on every host: names are the "C"
// locale's English ones, and the locale-dependent forms are those of that
// locale on the original platform:
//   %c  "03/14/95 12:41:29"      %#c  "Tuesday, March 14, 1995, 12:41:29"
//   %x  "03/14/95"               %#x  "Tuesday, March 14, 1995"
//   %X  "12:41:29"
// Supported conversions: %a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X
// %y %Y %z (UTC offset, "+0100") %Z (zone abbreviation) %%, and %D %e %F %h %n
// %R %t %T %u. The '#' flag removes leading zeros from %d %H %I %j %m %M %S %U
// %w %W %y %Y (and %D %F %R %T) and the padding space from %e; on the other
// conversions, except %c and %x above, it is ignored.

#include "platform/base/WinTypes.h"

#include <ctime>
#include <optional>
#include <string>

// The short date form that %x and %D give ("03/14/95").
constexpr const char* SHORT_DATE_FORM = "%m/%d/%y";

// Formats the broken-down time `t` (tm_zone may be null: %Z is then empty).
// Returns nothing when the format holds an unknown conversion or ends in a
// lone '%', so that a bad format never yields half a text.
std::optional<std::string> FormatTimeFields(const tm& t, const char* pszFormat);

// Formats a time span given as days and the remainders (all with the span's
// sign): %D days, %H hours, %M minutes, %S seconds (two digits each), %% a
// percent sign. Returns nothing on an unknown conversion or a lone '%'.
std::optional<std::string> FormatSpanFields(
    LONGLONG nDays, LONG nHours, LONG nMinutes, LONG nSeconds, const char* pszFormat);

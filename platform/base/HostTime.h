#pragma once

// The program's FILETIME (100-nanosecond units since 1601, UTC) and the
// host's timespec, converted for the platform's files.

#include "platform/base/WinTypes.h"

#include <ctime>

// The FILETIME of a host time; 0 for a time before 1601.
FILETIME FileTimeFromTimespec(LONGLONG nSeconds, long nNanoseconds);
// The timespec for a FILETIME, or UTIME_OMIT (leave the time as it is) for a
// null pointer and for the FILETIME whose two halves are 0xFFFFFFFF.
timespec TimespecFromFileTime(const FILETIME* pTime);

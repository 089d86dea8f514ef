#include "platform/base/HostTime.h"

#include "platform/base/Clock.h"

#include <sys/stat.h>

FILETIME FileTimeFromTimespec(LONGLONG nSeconds, long nNanoseconds)
{
    LONGLONG nSince1601 = nSeconds + static_cast<LONGLONG>(FILETIME_UNIX_EPOCH_SECONDS);
    ULONGLONG nUnits = nSince1601 < 0
        ? 0
        : static_cast<ULONGLONG>(nSince1601) * FILETIME_UNITS_PER_SECOND + static_cast<ULONGLONG>(nNanoseconds / 100);
    return { static_cast<DWORD>(nUnits & 0xFFFFFFFF), static_cast<DWORD>(nUnits >> 32) };
}

timespec TimespecFromFileTime(const FILETIME* pTime)
{
    timespec ts {};
    if (!pTime || (pTime->dwLowDateTime == 0xFFFFFFFF && pTime->dwHighDateTime == 0xFFFFFFFF)) {
        ts.tv_nsec = UTIME_OMIT;
        return ts;
    }
    const ULONGLONG nUnits = (static_cast<ULONGLONG>(pTime->dwHighDateTime) << 32) | pTime->dwLowDateTime;
    ts.tv_sec
        = static_cast<time_t>(nUnits / FILETIME_UNITS_PER_SECOND) - static_cast<time_t>(FILETIME_UNIX_EPOCH_SECONDS);
    ts.tv_nsec = static_cast<long>(nUnits % FILETIME_UNITS_PER_SECOND) * 100;
    return ts;
}

#include "platform/base/Clock.h"

#include <time.h>

namespace {

class CSystemClock : public CClockSource {
public:
    ULONGLONG UtcNow() override
    {
        timespec ts {};
        clock_gettime(CLOCK_REALTIME, &ts);
        return (static_cast<ULONGLONG>(ts.tv_sec) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND
            + static_cast<ULONGLONG>(ts.tv_nsec) / 100;
    }
    ULONGLONG Ticks() override
    {
        timespec ts {};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<ULONGLONG>(ts.tv_sec) * 1000 + static_cast<ULONGLONG>(ts.tv_nsec) / 1000000;
    }
};

CSystemClock g_systemClock;
std::atomic<CClockSource*> g_pClock { &g_systemClock };

}

CClockSource* SetClockSource(CClockSource* pSource)
{
    CClockSource* pPrevious = g_pClock.exchange(pSource ? pSource : &g_systemClock);
    return pPrevious == &g_systemClock ? nullptr : pPrevious;
}

ULONGLONG ClockUtcNow()
{
    return g_pClock.load()->UtcNow();
}

ULONGLONG ClockTicks()
{
    return g_pClock.load()->Ticks();
}

CManualClock::CManualClock(ULONGLONG nUtcNow, ULONGLONG nTicks)
    : m_nUtcNow(nUtcNow)
    , m_nTicks(nTicks)
{
}

ULONGLONG CManualClock::UtcNow()
{
    return m_nUtcNow;
}

ULONGLONG CManualClock::Ticks()
{
    return m_nTicks;
}

void CManualClock::Advance(ULONGLONG nMilliseconds)
{
    m_nTicks += nMilliseconds;
    m_nUtcNow += nMilliseconds * (FILETIME_UNITS_PER_SECOND / 1000);
}

void CManualClock::SetUtcNow(ULONGLONG nUtcNow)
{
    m_nUtcNow = nUtcNow;
}

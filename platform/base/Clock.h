#pragma once

// The one clock of the program. Every reading of the current time and of the
// millisecond tick count goes through here, so that tests can set the time and
// drive timers from a virtual clock instead of waiting.

#include "platform/base/WinTypes.h"

#include <atomic>

// A source of time. The default source reads the system clocks.
class CClockSource {
public:
    virtual ~CClockSource() = default;

    // UTC now, in 100-nanosecond intervals since 1601-01-01 (the FILETIME scale).
    virtual ULONGLONG UtcNow() = 0;
    // Milliseconds since an arbitrary fixed start; never goes backwards.
    virtual ULONGLONG Ticks() = 0;
};

// Installs `pSource` as the clock of the whole process and returns the previous
// one; nullptr restores the system clock. The caller keeps ownership.
CClockSource* SetClockSource(CClockSource* pSource);

ULONGLONG ClockUtcNow();
ULONGLONG ClockTicks();

// Seconds between 1601-01-01 and 1970-01-01, for converting to and from time_t.
constexpr ULONGLONG FILETIME_UNIX_EPOCH_SECONDS = 11644473600ULL;
constexpr ULONGLONG FILETIME_UNITS_PER_SECOND = 10000000ULL;

// A clock that moves only when told; for tests. Safe to read from any thread.
class CManualClock : public CClockSource {
public:
    explicit CManualClock(ULONGLONG nUtcNow = 0, ULONGLONG nTicks = 0);

    ULONGLONG UtcNow() override;
    ULONGLONG Ticks() override;

    // Moves both the time of day and the tick count forward.
    void Advance(ULONGLONG nMilliseconds);
    // Sets the time of day; the tick count is unaffected, as when a user changes the clock.
    void SetUtcNow(ULONGLONG nUtcNow);

private:
    std::atomic<ULONGLONG> m_nUtcNow;
    std::atomic<ULONGLONG> m_nTicks;
};

// Installs a clock for the lifetime of the guard and restores the previous one after.
class CClockOverride {
public:
    explicit CClockOverride(CClockSource& source)
        : m_pPrevious(SetClockSource(&source))
    {
    }
    ~CClockOverride() { SetClockSource(m_pPrevious); }
    CClockOverride(const CClockOverride&) = delete;
    CClockOverride& operator=(const CClockOverride&) = delete;

private:
    CClockSource* m_pPrevious;
};

#pragma once

// FIXME: Stand-in until the time classes arrive; the file classes use only these members.

#include "platform/base/WinTypes.h"

#include <ctime>

class CTime {
public:
    CTime() = default;
    CTime(time_t nTime)
        : m_time(nTime)
    {
    }

    time_t GetTime() const { return m_time; }

private:
    time_t m_time { 0 };
};

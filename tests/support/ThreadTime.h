#pragma once

// The processor time the calling thread has used, in milliseconds: how long
// a piece of work held its thread, which other programs on a busy machine do
// not lengthen as they lengthen the wall clock.

#include <time.h>

inline double ThreadMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

#include "platform/window/ReplyEvent.h"

#include <cstdint>
#include <ctime>

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) && std::atomic<uint32_t>::is_always_lock_free);

uint32_t* FutexWord(std::atomic<uint32_t>& word)
{
    return reinterpret_cast<uint32_t*>(&word);
}

}

// A set either sees m_bSleeping and wakes the owner, or comes before the
// owner's second look at the count, which then differs from nSeen (both sides
// use sequentially consistent operations, so one of them sees the other). A
// set between that look and the futex call makes the call return at once.
void CReplyEvent::Wait(uint32_t nSeen, Clock::time_point deadline)
{
    timespec until {};
    const timespec* pUntil = nullptr;
    if (deadline != Clock::time_point::max()) {
        // steady_clock is CLOCK_MONOTONIC, the clock FUTEX_WAIT_BITSET measures absolute times on.
        auto nNanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
        until.tv_sec = static_cast<time_t>(nNanoseconds / 1'000'000'000);
        until.tv_nsec = static_cast<long>(nNanoseconds % 1'000'000'000);
        pUntil = &until;
    }
    m_bSleeping.store(true, std::memory_order_seq_cst);
    if (m_nSets.load(std::memory_order_seq_cst) == nSeen)
        syscall(
            SYS_futex, FutexWord(m_nSets), FUTEX_WAIT_BITSET_PRIVATE, nSeen, pUntil, nullptr, FUTEX_BITSET_MATCH_ANY);
    m_bSleeping.store(false, std::memory_order_relaxed);
}

void CReplyEvent::Set()
{
    m_nSets.fetch_add(1, std::memory_order_seq_cst);
    if (m_bSleeping.load(std::memory_order_seq_cst))
        syscall(SYS_futex, FutexWord(m_nSets), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

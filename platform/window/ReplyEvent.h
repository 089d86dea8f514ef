#pragma once

// The event a thread sleeps on while it waits for the answer to a message it
// sent to another thread's window. The answer sets it, and so does every
// message another thread sends to the waiting thread meanwhile, which the
// waiter serves (two threads sending to each other thus never deadlock).
//
// Only the owner thread waits; any thread sets. Neither takes a lock: a set is
// one step of a counter, plus a futex wake when the owner is asleep.

#include <atomic>
#include <chrono>
#include <cstdint>

class CReplyEvent {
public:
    using Clock = std::chrono::steady_clock;

    // The number of sets so far. Read it before looking for what a set
    // reports; Wait with it then sleeps only if nothing was set since.
    uint32_t Sets() const { return m_nSets.load(std::memory_order_seq_cst); }
    // Owner thread: sleeps until the count moves past nSeen or the deadline
    // passes (Clock::time_point::max(): no deadline). May return early.
    void Wait(uint32_t nSeen, Clock::time_point deadline);
    // Any thread.
    void Set();

private:
    std::atomic<uint32_t> m_nSets { 0 };     // the futex word
    std::atomic<bool> m_bSleeping { false }; // the owner is in Wait
};

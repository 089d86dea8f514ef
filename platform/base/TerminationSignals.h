#pragma once

// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP), turned
// into a call on a thread of their own, where the program may post itself a
// message to end as it would at the end of the user's session.
//
// Make the object first thing in main, before any other thread starts: the
// signals are blocked in the calling thread and so in every thread it starts
// later, and only the watching thread takes them.

#include <functional>
#include <memory>

class CTerminationSignals {
public:
    // fnHandler runs on the watching thread with the signal's number, once per
    // signal; it must only do what is safe from any thread (posting a message).
    explicit CTerminationSignals(std::function<void(int nSignal)> fnHandler);
    // Stops watching and gives the signals back their usual effect.
    ~CTerminationSignals();
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

private:
    struct CWatch;
    std::unique_ptr<CWatch> m_pWatch;
};

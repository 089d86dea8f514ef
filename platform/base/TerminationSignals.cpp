#include "platform/base/TerminationSignals.h"

#include <atomic>
#include <thread>

#include <pthread.h>
#include <signal.h>

struct CTerminationSignals::CWatch {
    std::function<void(int)> fnHandler;
    sigset_t signals {};
    sigset_t previousMask {};
    std::atomic<bool> bStopping { false };
    std::thread watcher;

    void Run()
    {
        for (;;) {
            int nSignal = 0;
            if (sigwait(&signals, &nSignal) != 0)
                continue;
            if (bStopping)
                return;
            fnHandler(nSignal);
        }
    }
};

CTerminationSignals::CTerminationSignals(std::function<void(int nSignal)> fnHandler)
    : m_pWatch(std::make_unique<CWatch>())
{
    m_pWatch->fnHandler = std::move(fnHandler);
    sigemptyset(&m_pWatch->signals);
    for (int nSignal : { SIGINT, SIGTERM, SIGHUP })
        sigaddset(&m_pWatch->signals, nSignal);
    pthread_sigmask(SIG_BLOCK, &m_pWatch->signals, &m_pWatch->previousMask);
    m_pWatch->watcher = std::thread([pWatch = m_pWatch.get()] { pWatch->Run(); });
}

CTerminationSignals::~CTerminationSignals()
{
    m_pWatch->bStopping = true;
    pthread_kill(m_pWatch->watcher.native_handle(), SIGHUP);
    m_pWatch->watcher.join();
    pthread_sigmask(SIG_SETMASK, &m_pWatch->previousMask, nullptr);
}

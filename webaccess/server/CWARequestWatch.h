#pragma once

// Watches the communication folder for names that come and go, so that a
// request is run soon after its file arrives rather than at the next scan. A
// thread of its own waits on a change-notification handle and posts one
// message to the given window for a run of changes; the window's handler
// calls Rearm before it scans, and the next change posts again.

#include "platform/base/CString.h"

#include <atomic>
#include <thread>

class CWARequestWatch {
public:
    // Starts watching pszFolder; IsWatching tells whether it could.
    CWARequestWatch(LPCTSTR pszFolder, HWND hNotify, UINT nMessage);
    // Stops the thread and waits for it.
    ~CWARequestWatch();
    CWARequestWatch(const CWARequestWatch&) = delete;
    CWARequestWatch& operator=(const CWARequestWatch&) = delete;

    bool IsWatching() const { return m_hChange != INVALID_HANDLE_VALUE; }
    // The posted message was taken: the next change posts again.
    void Rearm() { m_bPosted = false; }

private:
    void Run();

    HWND m_hNotify;
    UINT m_nMessage;
    HANDLE m_hChange;
    HANDLE m_hStop;
    std::atomic<bool> m_bPosted { false };
    std::thread m_thread;
};

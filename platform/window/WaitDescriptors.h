#pragma once

// Descriptors that a thread's message wait watches besides its queue and the
// display: sockets selected for window notifications, and any other source
// whose readiness becomes posted messages.
//
// A provider tells, for one thread, which descriptors to watch now and for
// which poll events; it must name only those whose readiness it will turn
// into a message (or stop naming), or a wait would wake for nothing and spin.
// GetMessage, PeekMessage, WaitMessage and MsgWaitForMultipleObjects(Ex) ask
// the providers to dispatch before they look at the queue, so a notification
// that has arrived is posted and retrieved like any other message; a blocked
// wait sleeps in a poll over these descriptors and wakes when one is ready.

#include "platform/base/WinTypes.h"

#include <vector>

#include <poll.h>

class CWaitDescriptorProvider {
public:
    virtual ~CWaitDescriptorProvider() = default;
    // Appends the descriptors of thread dwThreadId to watch now. Called with
    // the wait lock held: may take the provider's own lock, must not wait.
    virtual void CollectDescriptors(DWORD dwThreadId, std::vector<pollfd>& fds) = 0;
    // On thread dwThreadId, without blocking: turns what is ready into posted
    // messages. Called with no lock held.
    virtual void DispatchReady(DWORD dwThreadId) = 0;
};

// Adds a provider for the rest of the process; it is never removed.
void AddWaitDescriptorProvider(CWaitDescriptorProvider* pProvider);

/* For the message wait (MessageQueue.cpp). */

// TRUE once any provider has been added.
bool HasWaitDescriptorProviders();
// The calling thread's descriptors of every provider.
void CollectWaitDescriptors(std::vector<pollfd>& fds);
// TRUE when a descriptor of the calling thread is ready now (a poll without waiting).
bool WaitDescriptorsReady();
// Lets every provider dispatch for the calling thread.
void DispatchWaitDescriptors();

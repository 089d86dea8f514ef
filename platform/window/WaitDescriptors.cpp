#include "platform/window/WaitDescriptors.h"

#include "platform/base/Threads.h"

#include <atomic>
#include <mutex>

namespace {

std::mutex g_providersLock;
std::vector<CWaitDescriptorProvider*> g_providers; // Guarded by g_providersLock
std::atomic<bool> g_bAnyProvider { false };

std::vector<CWaitDescriptorProvider*> Providers()
{
    std::lock_guard lock(g_providersLock);
    return g_providers;
}

} // namespace

void AddWaitDescriptorProvider(CWaitDescriptorProvider* pProvider)
{
    std::lock_guard lock(g_providersLock);
    g_providers.push_back(pProvider);
    g_bAnyProvider.store(true, std::memory_order_release);
}

bool HasWaitDescriptorProviders()
{
    return g_bAnyProvider.load(std::memory_order_acquire);
}

void CollectWaitDescriptors(std::vector<pollfd>& fds)
{
    if (!HasWaitDescriptorProviders())
        return;
    const DWORD dwThreadId = GetCurrentThreadId();
    for (CWaitDescriptorProvider* pProvider : Providers())
        pProvider->CollectDescriptors(dwThreadId, fds);
}

bool WaitDescriptorsReady()
{
    if (!HasWaitDescriptorProviders())
        return false;
    std::vector<pollfd> fds;
    CollectWaitDescriptors(fds);
    return !fds.empty() && poll(fds.data(), fds.size(), 0) > 0;
}

void DispatchWaitDescriptors()
{
    if (!HasWaitDescriptorProviders())
        return;
    const DWORD dwThreadId = GetCurrentThreadId();
    for (CWaitDescriptorProvider* pProvider : Providers())
        pProvider->DispatchReady(dwThreadId);
}

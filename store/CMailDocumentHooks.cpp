#include "store/CMailDocumentHooks.h"

#include <atomic>

namespace {
std::atomic<CMailDocumentHooks*> g_pHooks { nullptr };
}

void SetMailDocumentHooks(CMailDocumentHooks* pHooks)
{
    g_pHooks.store(pHooks);
}

CMailDocumentHooks* GetMailDocumentHooks()
{
    return g_pHooks.load();
}

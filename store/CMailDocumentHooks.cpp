#include "store/CMailDocumentHooks.h"

#include <atomic>

std::atomic<BOOL> g_bMailboxReorganizePending { FALSE };

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

#include "webaccess/server/CWAGroupWatch.h"

#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAServer.h"

CWAGroupWatch& CWAGroupWatch::Get()
{
    static CWAGroupWatch s_watch;
    return s_watch;
}

void CWAGroupWatch::Watch(CCatalog* pCatalog)
{
    m_pCatalog = pCatalog;
    if (pCatalog != nullptr)
        pCatalog->SetFreeListener(this);
}

void CWAGroupWatch::DetachServer(const CWAServer* pServer)
{
    if (m_pServer == pServer)
        m_pServer = nullptr;
}

void CWAGroupWatch::OnRecordFreed(CCatalogFile& file, CRecordRef ref, LONG nTableType)
{
    if (nTableType != TABLE_NODE || &file != m_pCatalog)
        return;
    const WA_GROUP_KEY key { static_cast<DWORD>(ref.nBlock), static_cast<DWORD>(ref.nSlot) };
    // Gone from the settings in memory, the grant leaves the registry with
    // the next save that succeeds when this one fails.
    if (CWASettings* pSettings = GetCurrentWebSettings(); pSettings != nullptr && pSettings->ForgetGroup(key))
        static_cast<void>(thePreferences.SaveWebSettings());
    if (m_pServer != nullptr)
        m_pServer->ForgetGroup(key);
}

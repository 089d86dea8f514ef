// The new-document monitor's mail stores: the folder watches on them, the
// store notices of the stores that grew, and the new messages read from them.

#include "monitor/CNewDocMonitor.h"

#include "catalog/DocumentTexts.h"
#include "catalog/FolderWatches.h"
#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "store/CCatalog.h"
#include "store/CMailDocumentHooks.h"
#include "store/CMailStoreRec.h"

#include "platform/base/ChangeNotify.h"

#include <map>

namespace {

// The folder of a store path: without the store's name and without a
// trailing backslash, except at a drive's root.
CString StoreFolder(const CString& strStore)
{
    const int nSlash = strStore.ReverseFind('\\');
    if (nSlash < 0)
        return CString();
    return strStore.Left(nSlash > 0 && strStore[nSlash - 1] == ':' ? nSlash + 1 : nSlash);
}

} // namespace

void CNewDocMonitor::RegisterWatchedFolders()
{
    if (!IsStarted())
        return;
    CloseFolderWatches();
    if (!m_pCatalog->Acquire())
        return;
    // Only mail stores are watched: the other locations are walked by the
    // update, and the watches are few.
    std::map<CString, int> watches; // "kind\folder" -> watch index
    int nIterator = m_pCatalog->GetLocationCount();
    CString strKey;
    while (m_pCatalog->NextLocation(&nIterator, strKey)) {
        const int nKind = m_pCatalog->GetLocationKind(strKey);
        int nIndex = -1;
        if (StoreKindOfLocation(nKind) >= 0) {
            const CString strFolder = StoreFolder(strKey);
            CString strWatch;
            strWatch.Format("%d\\%s", nKind, static_cast<LPCTSTR>(strFolder));
            const auto it = watches.find(strWatch);
            if (it != watches.end()) {
                nIndex = it->second;
            } else {
                const DWORD dwFilter
                    = nKind == LOCATION_OUTLOOK_EXPRESS5 ? FILE_NOTIFY_CHANGE_LAST_WRITE : FILE_NOTIFY_CHANGE_SIZE;
                nIndex = RegisterFolderWatch(strFolder, dwFilter);
                watches.emplace(strWatch, nIndex);
            }
        }
        m_pCatalog->SetLocationEntry(strKey, nIndex);
    }
    m_pCatalog->Release();
}

void CNewDocMonitor::OnNotifyChange(int nWatchIndex)
{
    if (!m_bEnabled || nWatchIndex < 0 || !m_pCatalog->Acquire())
        return;
    BOOL bQueued = FALSE;
    int nIterator = m_pCatalog->GetLocationCount();
    CString strKey;
    while (m_pCatalog->NextLocation(&nIterator, strKey))
        bQueued |= CheckLocationChange(strKey, nWatchIndex);
    m_pCatalog->Release();
    if (bQueued)
        StartDrainTimer();
}

BOOL CNewDocMonitor::CheckLocationChange(const CString& strKey, int nWatchIndex)
{
    if (m_pCatalog->GetLocationWatchIndex(strKey) != nWatchIndex)
        return FALSE;
    const std::string strQueueKey = QueueKey(strKey);
    for (size_t i = static_cast<size_t>(m_nAnnounced); i < m_notices.size(); ++i) {
        if (m_notices[i].IsStoreChange() && QueueKey(m_notices[i].GetPath()) == strQueueKey)
            return FALSE;
    }
    const int nStoreKind = StoreKindOfLocation(m_pCatalog->GetLocationKind(strKey));
    if (nStoreKind < 0)
        return FALSE;
    const LONG nSize = ReadMailStoreSize(strKey, nStoreKind);
    if (nSize < 0)
        return FALSE;
    const LONG nStored = m_pCatalog->GetLocationValue(strKey);
    if (nSize < nStored) {
        // Messages were removed: the stored positions no longer hold.
        g_bMailboxReorganizePending = TRUE;
        return FALSE;
    }
    if (nSize == nStored)
        return FALSE;
    InsertNotice(m_notices.size(), CNewDocNotice(strKey, nStoreKind));
    return TRUE;
}

void CNewDocMonitor::ReadStoreNotice(size_t nIndex)
{
    const CNewDocNotice store = TakeNotice(nIndex);
    const CString& strKey = store.GetPath();
    const int nStoreKind = store.GetStoreKind();
    DWORD dwPosition = static_cast<DWORD>(std::max<LONG>(m_pCatalog->GetLocationValue(strKey), 0));
    size_t nAt = nIndex;
    int nResult = MAIL_OK;
    for (;;) {
        std::unique_ptr<CMailMessage> pReader = NewMailReader(nStoreKind);
        if (!pReader)
            return;
        nResult = ReadNextMessage(*pReader, strKey, dwPosition);
        if (nResult == MAIL_DELETED)
            continue;
        if (nResult != MAIL_OK)
            break;
        CNewDocNotice notice(strKey, nStoreKind, std::move(pReader));
        if (!IsNoticeCatalogued(notice))
            InsertNotice(nAt++, std::move(notice));
    }
    // At the end of the store its size is kept; after a damaged message, the
    // position reached, so the next change reads on from there.
    const LONG nSize = nResult == MAIL_END ? ReadMailStoreSize(strKey, nStoreKind) : static_cast<LONG>(dwPosition);
    if (nSize >= 0)
        (void)m_pCatalog->SetLocationValue(strKey, nSize); // a failed write only makes the next change read again
}

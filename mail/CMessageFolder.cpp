#include "mail/CMessageFolder.h"

#include <algorithm>
#include <unordered_map>

CMessageFolder::~CMessageFolder() = default;

void CMessageFolder::InsertSorted(CMailMessage* pMessage)
{
    if (pMessage == nullptr)
        return;
    auto it = std::upper_bound(m_messages.begin(), m_messages.end(), pMessage->GetOffset(),
        [](DWORD dwOffset, const std::unique_ptr<CMailMessage>& p) { return dwOffset < p->GetOffset(); });
    m_messages.insert(it, std::unique_ptr<CMailMessage>(pMessage));
}

bool CMessageFolder::ReportEvents(
    const std::vector<CSurvivor>& survivors, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext)
{
    std::unordered_map<DWORD, const CSurvivor*> byOldOffset;
    for (const CSurvivor& survivor : survivors)
        byOldOffset.emplace(survivor.dwOldOffset, &survivor);
    for (const auto& pMessage : m_messages) {
        int nEvent = MAILBOX_EVENT_REMOVED;
        auto it = byOldOffset.find(pMessage->GetOffset());
        if (it != byOldOffset.end()) {
            const CSurvivor& survivor = *it->second;
            nEvent = MAILBOX_EVENT_KEPT;
            if (survivor.dwOffset != pMessage->GetOffset() || survivor.dwLength != pMessage->GetLength()
                || survivor.dwStoreId != pMessage->GetStoreId()) {
                pMessage->MoveTo(survivor.dwStoreId, survivor.dwOffset, survivor.dwLength);
                nEvent = MAILBOX_EVENT_MOVED;
            }
        }
        if (pfnProgress && !pfnProgress(nEvent, pMessage.get(), pContext))
            return false;
    }
    return true;
}

#include "mail/COE5Folder.h"

#include "mail/DbxFormat.h"
#include "mail/MailResult.h"

#include <unordered_set>

int COE5Folder::Reorganize(int, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext)
{
    CMailFile dbx;
    if (!dbx.Open(GetPath()))
        return MAIL_ERR_OPEN;
    std::vector<uint32_t> infos;
    if (int nResult = ReadDbxTree(dbx, infos); nResult != MAIL_OK)
        return nResult;
    std::unordered_set<uint32_t> firstChunks;
    for (uint32_t nInfo : infos) {
        CDbxMessageInfo info;
        if (int nResult = ReadDbxMessageInfo(dbx, nInfo, info); nResult != MAIL_OK)
            return nResult;
        firstChunks.insert(info.nFirstChunk);
    }
    std::vector<CSurvivor> survivors;
    for (const auto& pMessage : m_messages) {
        if (firstChunks.count(pMessage->GetOffset()))
            survivors.push_back(
                { pMessage->GetOffset(), pMessage->GetStoreId(), pMessage->GetOffset(), pMessage->GetLength() });
    }
    if (!ReportEvents(survivors, pfnProgress, pContext))
        return MAIL_STOPPED;
    m_dwState = static_cast<DWORD>(infos.size());
    return MAIL_OK;
}

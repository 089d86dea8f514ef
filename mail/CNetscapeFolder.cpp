#include "mail/CNetscapeFolder.h"

#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "platform/base/FileFunctions.h"

#include <limits>

int CNetscapeFolder::Reorganize(int, MAILBOX_PROGRESS_PROC pfnProgress, void* pContext)
{
    CMailFile store;
    if (!store.Open(GetPath()))
        return MAIL_ERR_OPEN;
    if (store.GetLength() > std::numeric_limits<DWORD>::max())
        return MAIL_ERR_FORMAT;
    CMailTempFile temp(store.GetPath());
    if (!temp.IsOpen())
        return MAIL_ERR_FILE;

    std::vector<CSurvivor> survivors;
    uint64_t nOut = 0;
    uint64_t nPosition = 0;
    CMboxEntry entry;
    CMboxReadAhead readAhead;
    for (;;) {
        int nResult = ReadMboxEntry(store, nPosition, entry, readAhead);
        if (nResult == MAIL_END)
            break;
        if (nResult != MAIL_OK)
            return nResult;
        if ((entry.nStatus & MOZILLA_STATUS_EXPUNGED) == 0) {
            // The first message keeps what precedes its separator (a byte order mark).
            uint64_t nFrom = nPosition == 0 ? 0 : entry.nSeparator;
            uint64_t nSeparatorLength = entry.nStart - nFrom;
            std::string strSeparator(static_cast<size_t>(nSeparatorLength), '\0');
            if (!store.ReadExactAt(nFrom, strSeparator.data(), strSeparator.size())
                || !temp.File().WriteAt(nOut, strSeparator.data(), strSeparator.size())
                || !temp.File().WriteAt(nOut + nSeparatorLength, entry.strBytes.data(), entry.strBytes.size()))
                return MAIL_ERR_FILE;
            CSurvivor survivor;
            survivor.dwOldOffset = static_cast<DWORD>(entry.nStart);
            survivor.dwStoreId = static_cast<DWORD>(nOut + (entry.nSeparator - nFrom));
            survivor.dwOffset = static_cast<DWORD>(nOut + nSeparatorLength);
            survivor.dwLength = static_cast<DWORD>(entry.strBytes.size());
            survivors.push_back(survivor);
            nOut += nSeparatorLength + entry.strBytes.size();
        }
        nPosition = entry.nEnd;
    }

    if (!ReportEvents(survivors, pfnProgress, pContext))
        return MAIL_STOPPED;
    CString strStore = store.GetPath();
    store.Close();
    if (!temp.Commit())
        return MAIL_ERR_FILE;
    for (const char* pszSummary : { ".snm", ".msf" })
        DeleteFile(strStore + pszSummary);
    m_dwState = static_cast<DWORD>(nOut);
    return MAIL_OK;
}

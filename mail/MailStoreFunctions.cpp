#include "mail/MailStoreFunctions.h"

#include "mail/DbxFormat.h"
#include "mail/MailFile.h"
#include "mail/MailResult.h"
#include "mail/MboxFormat.h"
#include "mail/Oe4Format.h"

#include <string>
#include <vector>

int DeleteNetscapeStoreMessage(LPCTSTR, LPCTSTR pszStorePath, DWORD dwOffset, DWORD dwLength)
{
    CMailFile file;
    if (!file.Open(pszStorePath, CMailFile::Access::ReadWrite))
        return MAIL_ERR_OPEN;
    std::string strBytes;
    if (int nResult = ReadMboxMessageAt(file, dwOffset, dwLength, strBytes); nResult != MAIL_OK)
        return nResult;
    unsigned nStatus = 0;
    int nDigits = FindMozillaStatus(strBytes, nStatus);
    // Without a status line there is nothing to rewrite in place; removing the
    // message would move every later one, which the catalog records by offset.
    if (nDigits < 0)
        return MAIL_ERR_NO_STATUS;
    std::string strDigits = FormatMozillaStatus(nStatus | MOZILLA_STATUS_EXPUNGED);
    if (!file.WriteAt(uint64_t(dwOffset) + static_cast<unsigned>(nDigits), strDigits.data(), strDigits.size())
        || !file.Sync())
        return MAIL_ERR_FILE;
    return MAIL_OK;
}

int DeleteOE4StoreMessage(LPCTSTR, LPCTSTR pszStorePath, DWORD dwOffset, DWORD dwLength)
{
    CMailFile mbx;
    CMailFile idx;
    if (!mbx.Open(pszStorePath) || !idx.Open(Oe4IndexPath(pszStorePath).c_str(), CMailFile::Access::ReadWrite))
        return MAIL_ERR_OPEN;
    if (int nResult = CheckMbxHeader(mbx); nResult != MAIL_OK)
        return nResult;
    std::vector<COe4IndexItem> items;
    if (int nResult = ReadOe4Index(idx, mbx.GetLength(), items); nResult != MAIL_OK)
        return nResult;
    const std::vector<uint32_t> listed = ListedMbxOffsets(items);
    for (const COe4IndexItem& item : items) {
        if (uint64_t(item.nMbxOffset) + MBX_MESSAGE_HEADER_SIZE != dwOffset)
            continue;
        COe4MbxMessage message;
        if (ReadMbxRecord(mbx, item.nMbxOffset, MbxRecordLimit(mbx, listed, item.nMbxOffset), message) != MAIL_OK
            || message.nTextSize != dwLength)
            return MAIL_ERR_NOT_FOUND;
        // Only the first byte of the flags word holds flags.
        auto chFlags = static_cast<unsigned char>(item.nFlags | IDX_FLAG_DELETED);
        if (!idx.WriteAt(item.nItemOffset, &chFlags, 1) || !idx.Sync())
            return MAIL_ERR_FILE;
        return MAIL_OK;
    }
    return MAIL_ERR_NOT_FOUND;
}

int DeleteOE5StoreMessage(LPCTSTR, LPCTSTR, DWORD, DWORD)
{
    return MAIL_ERR_FILE;
}

DWORD GetOE4StoreDataSize(LPCTSTR pszStorePath)
{
    CMailFile mbx;
    if (!mbx.Open(pszStorePath) || CheckMbxHeader(mbx) != MAIL_OK)
        return 0;
    return static_cast<DWORD>(std::min<uint64_t>(mbx.GetLength(), 0xFFFFFFFFu));
}

DWORD GetOE5StoreDataSize(LPCTSTR pszStorePath)
{
    CMailFile dbx;
    uint32_t nCount = 0;
    if (!dbx.Open(pszStorePath) || ReadDbxHeader(dbx, nCount) != MAIL_OK)
        return 0;
    return static_cast<DWORD>(std::min<uint64_t>(dbx.GetLength(), 0xFFFFFFFFu));
}

int GetOE5MessageCount(LPCTSTR pszStorePath)
{
    CMailFile dbx;
    uint32_t nCount = 0;
    if (!dbx.Open(pszStorePath) || ReadDbxHeader(dbx, nCount) != MAIL_OK || nCount > 0x7FFFFFFF)
        return -1;
    return static_cast<int>(nCount);
}

#include "mail/CNetscapeMessage.h"

#include "mail/MailResult.h"
#include "mail/MboxFormat.h"

#include <limits>

CNetscapeMessage::CNetscapeMessage(
    DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
    : CMailMessage(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath)
{
}

int CNetscapeMessage::GetStoreKind() const
{
    return MAIL_STORE_NETSCAPE;
}

int CNetscapeMessage::Open(LPCTSTR pszStorePath)
{
    m_readAhead = {};
    return CMailMessage::Open(pszStorePath);
}

int CNetscapeMessage::Load(LPCTSTR pszStorePath)
{
    CString strStore = StorePathForLoad(pszStorePath);
    if (int nResult = OpenStoreForScan(strStore, MAIL_MAX_PATH); nResult != MAIL_OK)
        return nResult;
    DWORD dwOffset = GetOffset();
    DWORD dwLength = GetLength();
    // The bytes must still look like a message, or the store has changed under the catalog.
    std::string strBytes;
    if (int nResult = ReadMboxMessageAt(m_file, dwOffset, dwLength, strBytes); nResult != MAIL_OK)
        return Fail(nResult);
    unsigned nStatus = 0;
    FindMozillaStatus(strBytes, nStatus);
    m_tSeparatorDate = ReadSeparatorDate(GetStoreId(), dwOffset);
    SetMessage(GetStoreId(), dwOffset, dwLength, dwOffset + dwLength, std::move(strBytes),
        (nStatus & MOZILLA_STATUS_EXPUNGED) ? TRUE : FALSE);
    return MAIL_OK;
}

int CNetscapeMessage::ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath)
{
    if (int nResult = OpenStoreForScan(pszStorePath, nMaxPath); nResult != MAIL_OK)
        return nResult;
    CMboxEntry entry;
    int nResult = ReadMboxEntry(m_file, dwPosition, entry, m_readAhead);
    if (nResult == MAIL_OK && entry.nEnd > std::numeric_limits<DWORD>::max())
        nResult = MAIL_ERR_FORMAT; // Offsets are 32-bit in the catalog.
    if (nResult != MAIL_OK)
        return nResult == MAIL_END ? nResult : Fail(nResult);
    BOOL bDeleted = (entry.nStatus & MOZILLA_STATUS_EXPUNGED) ? TRUE : FALSE;
    m_tSeparatorDate = entry.tSeparatorDate;
    SetMessage(static_cast<DWORD>(entry.nSeparator), static_cast<DWORD>(entry.nStart),
        static_cast<DWORD>(entry.nEnd - entry.nStart), static_cast<DWORD>(entry.nEnd), std::move(entry.strBytes),
        bDeleted);
    return bDeleted ? MAIL_DELETED : MAIL_OK;
}

time_t CNetscapeMessage::GetDate() const
{
    const time_t tDate = CMailMessage::GetDate();
    return tDate != 0 ? tDate : m_tSeparatorDate;
}

time_t CNetscapeMessage::ReadSeparatorDate(DWORD dwSeparator, DWORD dwOffset) const
{
    if (dwSeparator >= dwOffset || dwOffset - dwSeparator > MBOX_MAX_SEPARATOR_LINE)
        return 0;
    std::string strLine(dwOffset - dwSeparator, '\0');
    if (!m_file.ReadExactAt(dwSeparator, strLine.data(), strLine.size()))
        return 0;
    return MboxSeparatorDate(strLine);
}

#include "mail/COE4Message.h"

#include "mail/MailResult.h"

#include <algorithm>

COE4Message::COE4Message(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
    : CMailMessage(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath)
{
}

int COE4Message::GetStoreKind() const
{
    return MAIL_STORE_OE4;
}

int COE4Message::Load(LPCTSTR pszStorePath)
{
    CString strStore = StorePathForLoad(pszStorePath);
    if (int nResult = OpenStore(strStore, MAIL_MAX_PATH); nResult != MAIL_OK)
        return nResult;
    if (GetOffset() < MBX_HEADER_SIZE + MBX_MESSAGE_HEADER_SIZE)
        return Fail(MAIL_ERR_NOT_FOUND);
    uint64_t nHeader = GetOffset() - MBX_MESSAGE_HEADER_SIZE;
    if (int nResult = IndexDamageAt(nHeader); nResult != MAIL_OK)
        return Fail(nResult);
    COe4MbxMessage message;
    if (ReadMbxRecord(m_file, nHeader, MbxRecordLimit(m_file, m_listedOffsets, nHeader), message) != MAIL_OK
        || message.nNumber != GetStoreId() || message.nTextSize != GetLength())
        return Fail(MAIL_ERR_NOT_FOUND);
    std::string strText(message.nTextSize, '\0');
    if (!m_file.ReadExactAt(GetOffset(), strText.data(), strText.size()))
        return Fail(MAIL_ERR_FILE);
    SetMessage(message.nNumber, GetOffset(), message.nTextSize, message.nOffset + message.nTotalSize,
        std::move(strText), IsListedLive(message.nOffset) ? FALSE : TRUE);
    return MAIL_OK;
}

int COE4Message::ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath)
{
    if (int nResult = OpenStore(pszStorePath, nMaxPath); nResult != MAIL_OK)
        return nResult;
    // Where the resume position holds no record, one with a wrong size came before: the next marker starts the next.
    uint64_t nPos = 0;
    if (int nResult = FindMbxMarker(m_file, std::max<uint64_t>(dwPosition, MBX_HEADER_SIZE), nPos); nResult != MAIL_OK)
        return Fail(nResult);
    if (int nResult = IndexDamageAt(nPos); nResult != MAIL_OK)
        return Fail(nResult);
    if (nPos >= m_file.GetLength())
        return MAIL_END;
    COe4MbxMessage message;
    if (int nResult = ReadMbxRecord(m_file, nPos, MbxRecordLimit(m_file, m_listedOffsets, nPos), message);
        nResult != MAIL_OK)
        return Fail(nResult);
    std::string strText(message.nTextSize, '\0');
    if (!m_file.ReadExactAt(nPos + MBX_MESSAGE_HEADER_SIZE, strText.data(), strText.size()))
        return Fail(MAIL_ERR_FILE);
    BOOL bDeleted = IsListedLive(message.nOffset) ? FALSE : TRUE;
    SetMessage(message.nNumber, static_cast<DWORD>(nPos + MBX_MESSAGE_HEADER_SIZE), message.nTextSize,
        message.nOffset + message.nTotalSize, std::move(strText), bDeleted);
    return bDeleted ? MAIL_DELETED : MAIL_OK;
}

int COE4Message::OpenStore(LPCTSTR pszStorePath, int nMaxPath)
{
    if (int nResult = OpenStoreForScan(pszStorePath, nMaxPath); nResult != MAIL_OK)
        return nResult;
    if (int nResult = CheckMbxHeader(m_file); nResult != MAIL_OK)
        return Fail(nResult);
    CMailFile idx;
    if (!idx.Open(Oe4IndexPath(pszStorePath).c_str()))
        return Fail(MAIL_ERR_OPEN);
    uint64_t nMbxLength = m_file.GetLength();
    if (idx.GetLength() == m_nIndexLength && nMbxLength == m_nIndexMbxLength && m_nIndexLength != 0)
        return MAIL_OK;
    m_flagsByOffset.clear();
    std::vector<COe4IndexItem> items;
    m_nIndexResult = ReadOe4Index(idx, nMbxLength, items);
    m_listedOffsets = ListedMbxOffsets(items);
    m_nIntactEnd = MBX_HEADER_SIZE;
    for (const COe4IndexItem& item : items) {
        m_flagsByOffset.emplace(item.nMbxOffset, item.nFlags);
        m_nIntactEnd = std::max<uint64_t>(m_nIntactEnd, uint64_t(item.nMbxOffset) + item.nMbxSize);
    }
    m_nIndexLength = idx.GetLength();
    m_nIndexMbxLength = nMbxLength;
    return MAIL_OK;
}

int COE4Message::IndexDamageAt(uint64_t nMbxOffset) const
{
    return m_nIndexResult != MAIL_OK && nMbxOffset >= m_nIntactEnd ? m_nIndexResult : MAIL_OK;
}

bool COE4Message::IsListedLive(uint32_t nMbxOffset) const
{
    auto it = m_flagsByOffset.find(nMbxOffset);
    return it != m_flagsByOffset.end() && (it->second & IDX_FLAG_DELETED) == 0;
}

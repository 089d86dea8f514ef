#include "mail/COE5Message.h"

#include "mail/MailResult.h"

#include <algorithm>
#include <cstring>

COE5Message::COE5Message(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
    : CMailMessage(dwStoreId, dwOffset, dwLength, pszFullPath, pszStorePath)
{
}

int COE5Message::GetStoreKind() const
{
    return MAIL_STORE_OE5;
}

int COE5Message::Open(LPCTSTR pszStorePath)
{
    m_segments.clear();
    m_nTreeFileLength = 0;
    if (int nResult = CMailMessage::Open(pszStorePath); nResult != MAIL_OK)
        return nResult;
    uint32_t nCount = 0;
    if (int nResult = ReadDbxHeader(m_file, nCount); nResult != MAIL_OK) {
        Close();
        return Fail(nResult);
    }
    return MAIL_OK;
}

int COE5Message::Seek(DWORD dwOffset)
{
    m_segments.clear();
    m_nSegment = 0;
    m_nSegmentPos = 0;
    if (!m_file.IsOpen())
        return Fail(MAIL_ERR_FILE);
    if (dwOffset >= m_file.GetLength())
        return Fail(MAIL_ERR_SEEK);
    int nResult = ReadDbxChunkChain(m_file, dwOffset, m_segments);
    if (nResult != MAIL_OK) {
        m_segments.clear();
        return Fail(nResult == MAIL_ERR_FORMAT ? MAIL_ERR_SEEK : nResult);
    }
    return MAIL_OK;
}

int COE5Message::Read(void* pBuffer, int nCount)
{
    if (!m_file.IsOpen()) {
        Fail(MAIL_ERR_FILE);
        return 0;
    }
    if (pBuffer == nullptr || nCount <= 0)
        return 0;
    auto* p = static_cast<char*>(pBuffer);
    int nRead = 0;
    while (nRead < nCount && m_nSegment < m_segments.size()) {
        const CDbxSegment& segment = m_segments[m_nSegment];
        uint32_t nTake = std::min<uint32_t>(segment.nLength - m_nSegmentPos, static_cast<uint32_t>(nCount - nRead));
        if (!m_file.ReadExactAt(uint64_t(segment.nOffset) + m_nSegmentPos, p + nRead, nTake)) {
            Fail(MAIL_ERR_FILE);
            return -1;
        }
        nRead += static_cast<int>(nTake);
        m_nSegmentPos += nTake;
        if (m_nSegmentPos == segment.nLength) {
            ++m_nSegment;
            m_nSegmentPos = 0;
        }
    }
    return nRead;
}

int COE5Message::Load(LPCTSTR pszStorePath)
{
    CString strStore = StorePathForLoad(pszStorePath);
    if (int nResult = OpenStoreForScan(strStore, MAIL_MAX_PATH); nResult != MAIL_OK)
        return nResult;
    std::vector<CDbxSegment> segments;
    std::string strText;
    if (ReadDbxChunkChain(m_file, GetOffset(), segments) != MAIL_OK)
        return Fail(MAIL_ERR_NOT_FOUND);
    if (ReadDbxSegments(m_file, segments, strText) != MAIL_OK)
        return Fail(MAIL_ERR_FILE);
    if (strText.size() != GetLength())
        return Fail(MAIL_ERR_NOT_FOUND);
    SetMessage(GetStoreId(), GetOffset(), GetLength(), GetPosition(), std::move(strText), FALSE);
    return MAIL_OK;
}

int COE5Message::ReadNext(LPCTSTR pszStorePath, DWORD dwPosition, int nMaxPath)
{
    if (int nResult = OpenStoreForScan(pszStorePath, nMaxPath); nResult != MAIL_OK)
        return nResult;
    if (int nResult = ReadTree(); nResult != MAIL_OK)
        return Fail(nResult);
    if (dwPosition >= m_infos.size())
        return MAIL_END;
    CDbxMessageInfo info;
    std::vector<CDbxSegment> segments;
    std::string strText;
    if (int nResult = ReadDbxMessageInfo(m_file, m_infos[dwPosition], info); nResult != MAIL_OK)
        return Fail(nResult);
    if (int nResult = ReadDbxChunkChain(m_file, info.nFirstChunk, segments); nResult != MAIL_OK)
        return Fail(nResult);
    if (int nResult = ReadDbxSegments(m_file, segments, strText); nResult != MAIL_OK)
        return Fail(nResult);
    auto dwLength = static_cast<DWORD>(strText.size());
    SetMessage(info.nIndex, info.nFirstChunk, dwLength, dwPosition + 1, std::move(strText), FALSE);
    return MAIL_OK;
}

int COE5Message::ReadTree()
{
    uint64_t nLength = m_file.GetLength();
    if (m_nTreeFileLength == nLength && nLength != 0)
        return MAIL_OK;
    m_nTreeFileLength = 0;
    if (int nResult = ReadDbxTree(m_file, m_infos); nResult != MAIL_OK)
        return nResult;
    m_nTreeFileLength = nLength;
    return MAIL_OK;
}

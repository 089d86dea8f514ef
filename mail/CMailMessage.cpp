#include "mail/CMailMessage.h"

#include "mail/MailMime.h"
#include "mail/MailResult.h"

#include <cstring>

CMailMessage::CMailMessage(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, LPCTSTR pszFullPath, LPCTSTR pszStorePath)
    : m_dwStoreId(dwStoreId)
    , m_dwOffset(dwOffset)
    , m_dwLength(dwLength)
    , m_strFullPath(pszFullPath ? pszFullPath : "")
    , m_strStorePath(pszStorePath ? pszStorePath : "")
{
}

CMailMessage::~CMailMessage() = default;

BOOL CMailMessage::IsValid() const
{
    return m_bLoaded && !m_bDeleted;
}

CString CMailMessage::GetProtection() const
{
    if (m_strProtection)
        return *m_strProtection;
    return CString(Headers().GetProtection().c_str());
}

DWORD CMailMessage::GetStoreId() const
{
    return m_dwStoreId;
}

CString CMailMessage::GetSubject() const
{
    return CString(Headers().GetSubject().c_str());
}

CString CMailMessage::GetText() const
{
    if (!m_strText)
        m_strText = MailTextFromMime(m_strRaw);
    return CString(m_strText->c_str());
}

void CMailMessage::GetExtraField(char* pszBuffer) const
{
    CopyMailText(Headers().GetFrom(), pszBuffer, MAIL_MAX_PATH);
}

void CMailMessage::GetAddressList1(char* pszBuffer, int nLength) const
{
    CopyMailText(Headers().GetFrom(), pszBuffer, nLength);
}

void CMailMessage::GetAddressList2(char* pszBuffer, int nLength) const
{
    CopyMailText(Headers().GetTo(), pszBuffer, nLength);
}

void CMailMessage::GetCcList(char* pszBuffer, int nLength) const
{
    CopyMailText(Headers().GetCc(), pszBuffer, nLength);
}

CString CMailMessage::GetHeaderLines() const
{
    return CString(Headers().GetHeaderLines().c_str());
}

time_t CMailMessage::GetDate() const
{
    return Headers().GetDate();
}

DWORD CMailMessage::GetOffset() const
{
    return m_dwOffset;
}

DWORD CMailMessage::GetLength() const
{
    return m_dwLength;
}

DWORD CMailMessage::GetPosition() const
{
    return m_dwPosition;
}

int CMailMessage::Open(LPCTSTR pszStorePath)
{
    Close();
    if (pszStorePath == nullptr || std::strlen(pszStorePath) >= static_cast<size_t>(MAIL_MAX_PATH)
        || !m_file.Open(pszStorePath))
        return Fail(MAIL_ERR_OPEN);
    m_strOpenPath = pszStorePath;
    m_nReadPos = 0;
    return MAIL_OK;
}

void CMailMessage::Close()
{
    m_file.Close();
    m_strOpenPath.Empty();
    m_nReadPos = 0;
}

int CMailMessage::Seek(DWORD dwOffset)
{
    if (!m_file.IsOpen())
        return Fail(MAIL_ERR_FILE);
    if (dwOffset > m_file.GetLength())
        return Fail(MAIL_ERR_SEEK);
    m_nReadPos = dwOffset;
    return MAIL_OK;
}

int CMailMessage::Read(void* pBuffer, int nCount)
{
    if (!m_file.IsOpen() || pBuffer == nullptr || nCount <= 0) {
        if (!m_file.IsOpen())
            Fail(MAIL_ERR_FILE);
        return 0;
    }
    int64_t n = m_file.ReadAt(m_nReadPos, pBuffer, static_cast<size_t>(nCount));
    if (n < 0) {
        Fail(MAIL_ERR_FILE);
        return -1;
    }
    m_nReadPos += static_cast<uint64_t>(n);
    return static_cast<int>(n);
}

int CMailMessage::GetResult() const
{
    return m_nResult;
}

int CMailMessage::SetProtection(LPCTSTR pszNewPassword, LPCTSTR pszOldPassword)
{
    if (GetProtection().Compare(pszOldPassword ? pszOldPassword : "") != 0)
        return MAIL_ERR_NOT_FOUND;
    m_strProtection = CString(pszNewPassword ? pszNewPassword : "");
    return MAIL_OK;
}

void CMailMessage::MoveTo(DWORD dwStoreId, DWORD dwOffset, DWORD dwLength)
{
    m_dwStoreId = dwStoreId;
    m_dwOffset = dwOffset;
    m_dwLength = dwLength;
}

void CMailMessage::SetMessage(
    DWORD dwStoreId, DWORD dwOffset, DWORD dwLength, DWORD dwPosition, std::string strRaw, BOOL bDeleted)
{
    m_dwStoreId = dwStoreId;
    m_dwOffset = dwOffset;
    m_dwLength = dwLength;
    m_dwPosition = dwPosition;
    m_strRaw = std::move(strRaw);
    m_bDeleted = bDeleted;
    m_bLoaded = TRUE;
    m_headers.reset();
    m_strText.reset();
    m_strProtection.reset();
}

int CMailMessage::Fail(int nResult)
{
    if (m_nResult == MAIL_OK)
        m_nResult = nResult;
    return nResult;
}

int CMailMessage::OpenStoreForScan(LPCTSTR pszStorePath, int nMaxPath)
{
    if (pszStorePath == nullptr || nMaxPath <= 0 || std::strlen(pszStorePath) >= static_cast<size_t>(nMaxPath))
        return Fail(MAIL_ERR_OPEN);
    if (m_file.IsOpen() && m_strOpenPath.Compare(pszStorePath) == 0)
        return MAIL_OK;
    return Open(pszStorePath);
}

CString CMailMessage::StorePathForLoad(LPCTSTR pszStorePath) const
{
    return pszStorePath && *pszStorePath ? CString(pszStorePath) : m_strStorePath;
}

CMailHeaders& CMailMessage::Headers() const
{
    if (!m_headers)
        m_headers.emplace(m_strRaw);
    return *m_headers;
}

void CopyMailText(const std::string& strText, char* pszBuffer, int nLength)
{
    if (pszBuffer == nullptr || nLength <= 0)
        return;
    size_t n = std::min(strText.size(), static_cast<size_t>(nLength - 1));
    // Back off continuation bytes so no character is cut in half.
    if (n < strText.size())
        while (n > 0 && (static_cast<unsigned char>(strText[n]) & 0xC0) == 0x80)
            --n;
    std::memcpy(pszBuffer, strText.data(), n);
    pszBuffer[n] = '\0';
}

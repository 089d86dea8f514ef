#include "mail/MailFile.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/WinError.h"

#include <span>

CMailFile::~CMailFile()
{
    Close();
}

BOOL CMailFile::Open(LPCTSTR pszProgramPath, Access eAccess)
{
    Close();
    if (pszProgramPath == nullptr || *pszProgramPath == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!m_file.Open(pszProgramPath, eAccess == Access::Read ? CHostFile::Access::Read : CHostFile::Access::ReadWrite))
        return FALSE;
    m_strPath = pszProgramPath;
    return TRUE;
}

BOOL CMailFile::CreateUnique(LPCTSTR pszPath, LPCTSTR pszInfix)
{
    Close();
    CString strCreated;
    if (!m_file.CreateUnique(pszPath, pszInfix, strCreated))
        return FALSE;
    m_strPath = strCreated;
    return TRUE;
}

void CMailFile::Close()
{
    m_file.Close();
    m_strPath.Empty();
}

uint64_t CMailFile::GetLength() const
{
    std::int64_t nLength = m_file.GetLength();
    return nLength < 0 ? 0 : static_cast<uint64_t>(nLength);
}

int64_t CMailFile::ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) const
{
    return m_file.ReadAt(static_cast<std::int64_t>(nOffset), std::span(static_cast<BYTE*>(pBuffer), nCount));
}

bool CMailFile::ReadExactAt(uint64_t nOffset, void* pBuffer, size_t nCount) const
{
    return m_file.ReadExactAt(static_cast<std::int64_t>(nOffset), std::span(static_cast<BYTE*>(pBuffer), nCount));
}

bool CMailFile::WriteAt(uint64_t nOffset, const void* pBuffer, size_t nCount)
{
    return m_file.WriteAt(static_cast<std::int64_t>(nOffset), std::span(static_cast<const BYTE*>(pBuffer), nCount));
}

bool CMailFile::Sync()
{
    return m_file.Flush();
}

CMailTempFile::CMailTempFile(LPCTSTR pszStorePath)
    : m_strStorePath(pszStorePath)
{
    if (m_strStorePath.IsEmpty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return;
    }
    if (m_file.CreateUnique(m_strStorePath, ".reorg-"))
        m_strTempPath = m_file.GetPath();
}

CMailTempFile::~CMailTempFile()
{
    m_file.Close();
    if (!m_strTempPath.IsEmpty())
        DeleteFile(m_strTempPath);
}

bool CMailTempFile::Commit()
{
    if (!m_file.IsOpen() || !m_file.Sync())
        return false;
    m_file.Close();
    if (!ReplaceFileDurably(m_strTempPath, m_strStorePath))
        return false;
    m_strTempPath.Empty();
    return true;
}

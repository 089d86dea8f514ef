#include "webaccess/server/CWAChannelFile.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"

CWAChannelFile::~CWAChannelFile()
{
    Close();
}

BOOL CWAChannelFile::CreateNew(LPCTSTR pszPath)
{
    Close();
    HANDLE hFile
        = CreateFile(pszPath, GENERIC_WRITE, 0, OwnerOnlySecurity(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = hFile;
    return TRUE;
}

BOOL CWAChannelFile::OpenRead(LPCTSTR pszPath)
{
    Close();
    HANDLE hFile
        = CreateFile(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = hFile;
    return TRUE;
}

BOOL CWAChannelFile::Write(const void* pBuffer, UINT nCount)
{
    DWORD dwWritten = 0;
    return m_hFile && WriteFile(m_hFile, pBuffer, nCount, &dwWritten, nullptr) && dwWritten == nCount;
}

int CWAChannelFile::Read(void* pBuffer, UINT nCount)
{
    DWORD dwRead = 0;
    if (!m_hFile || !ReadFile(m_hFile, pBuffer, nCount, &dwRead, nullptr))
        return -1;
    return static_cast<int>(dwRead);
}

void CWAChannelFile::Close()
{
    if (m_hFile)
        CloseHandle(m_hFile);
    m_hFile = nullptr;
}

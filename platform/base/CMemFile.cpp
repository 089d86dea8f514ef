#include "platform/base/CMemFile.h"

#include "platform/base/CException.h"
#include "platform/base/CFileException.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    Release();
}

BYTE* CMemFile::Alloc(SIZE_T nBytes)
{
    return static_cast<BYTE*>(std::malloc(nBytes));
}

BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes)
{
    return static_cast<BYTE*>(std::realloc(lpMem, nBytes));
}

void CMemFile::Free(BYTE* lpMem)
{
    std::free(lpMem);
}

void CMemFile::Release()
{
    if (m_bOwnsBuffer)
        Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_bOwnsBuffer = false;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Release();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = lpBuffer ? nBufferSize : 0;
    m_nGrowBytes = nGrowBytes;
    m_nFileSize = nGrowBytes == 0 ? m_nBufferSize : 0;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_bOwnsBuffer = false;
    Release();
    return lpBuffer;
}

void CMemFile::Reserve(std::size_t nNewSize)
{
    if (nNewSize <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    std::size_t nSteps = nNewSize / m_nGrowBytes + (nNewSize % m_nGrowBytes != 0);
    if (nSteps > std::numeric_limits<std::size_t>::max() / m_nGrowBytes)
        AfxThrowMemoryException();
    std::size_t nCapacity = nSteps * m_nGrowBytes;
    BYTE* lpNew = nullptr;
    if (m_bOwnsBuffer) {
        lpNew = Realloc(m_lpBuffer, nCapacity);
    } else {
        lpNew = Alloc(nCapacity);
        if (lpNew && m_nFileSize)
            std::memcpy(lpNew, m_lpBuffer, m_nFileSize);
    }
    if (!lpNew)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = nCapacity;
    m_bOwnsBuffer = true;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize || nCount == 0)
        return 0;
    std::size_t nRead = std::min<std::size_t>(nCount, m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return static_cast<UINT>(nRead);
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    std::size_t nEnd = m_nPosition + nCount;
    if (nEnd < m_nPosition)
        AfxThrowMemoryException();
    Reserve(nEnd);
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    if (nEnd > m_nFileSize)
        m_nFileSize = nEnd;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG nBase = 0;
    if (nFrom == current)
        nBase = static_cast<LONGLONG>(m_nPosition);
    else if (nFrom == end)
        nBase = static_cast<LONGLONG>(m_nFileSize);
    else if (nFrom != begin)
        AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(ERROR_INVALID_PARAMETER));
    LONGLONG nNew = 0;
    if (__builtin_add_overflow(nBase, lOff, &nNew) || nNew < 0)
        AfxThrowFileException(CFileException::badSeek, static_cast<LONG>(ERROR_NEGATIVE_SEEK));
    m_nPosition = static_cast<std::size_t>(nNew);
    return m_nPosition;
}

ULONGLONG CMemFile::GetPosition() const
{
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_nFileSize;
}

void CMemFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > std::numeric_limits<std::size_t>::max())
        AfxThrowMemoryException();
    auto nNewLen = static_cast<std::size_t>(dwNewLen);
    Reserve(nNewLen);
    if (nNewLen > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, nNewLen - m_nFileSize);
    m_nFileSize = nNewLen;
    if (m_nPosition > nNewLen)
        m_nPosition = nNewLen;
}

void CMemFile::LockRange(ULONGLONG, ULONGLONG)
{
    AfxThrowFileException(CFileException::genericException, static_cast<LONG>(ERROR_NOT_SUPPORTED));
}

void CMemFile::UnlockRange(ULONGLONG, ULONGLONG)
{
    AfxThrowFileException(CFileException::genericException, static_cast<LONG>(ERROR_NOT_SUPPORTED));
}

void CMemFile::Close()
{
    Release();
}

void CMemFile::Abort()
{
    Release();
}

#include "platform/base/CStdioFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/TextLines.h"
#include "platform/base/WinError.h"

#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : CFile(lpszFileName, nOpenFlags)
{
}

int CStdioFile::PeekByte()
{
    if (m_nReadAheadPos == m_readAhead.size()) {
        // Emptied before reading, so that a read that throws leaves nothing stale behind.
        m_readAhead.clear();
        m_nReadAheadPos = 0;
        BYTE chunk[READ_AHEAD_SIZE];
        UINT nRead = CFile::Read(chunk, READ_AHEAD_SIZE);
        if (nRead == 0)
            return -1;
        m_readAhead.assign(chunk, chunk + nRead);
    }
    return m_readAhead[m_nReadAheadPos];
}

void CStdioFile::DropReadAhead()
{
    std::size_t nUnread = m_readAhead.size() - m_nReadAheadPos;
    m_readAhead.clear();
    m_nReadAheadPos = 0;
    if (nUnread)
        CFile::Seek(-static_cast<LONGLONG>(nUnread), current);
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::string strLine;
    BOOL bRead = ReadTextLine([this] { return PeekByte(); }, [this] { ++m_nReadAheadPos; }, strLine);
    rString = CString(strLine.data(), static_cast<int>(strLine.size()));
    return bRead;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    bool bRead = ReadTextLineInto([this] { return PeekByte(); }, [this] { ++m_nReadAheadPos; }, lpsz, nMax);
    return bRead ? lpsz : nullptr;
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (!lpsz)
        AfxThrowFileException(
            CFileException::genericException, static_cast<LONG>(ERROR_INVALID_PARAMETER), m_strFileName);
    Write(lpsz, static_cast<UINT>(std::char_traits<char>::length(lpsz)));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    DropReadAhead();
    return CFile::Read(lpBuf, nCount);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    DropReadAhead();
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readAhead.size() - m_nReadAheadPos);
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    DropReadAhead();
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush()
{
    DropReadAhead();
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_readAhead.clear();
    m_nReadAheadPos = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readAhead.clear();
    m_nReadAheadPos = 0;
    CFile::Abort();
}

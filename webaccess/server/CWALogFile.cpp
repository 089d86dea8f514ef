#include "webaccess/server/CWALogFile.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"

namespace {

// Opens the log for appending, made the user's alone when it is new; a link
// in its place is not followed.
HANDLE OpenLog(const CString& strPath, bool& bCreated)
{
    HANDLE hFile = CreateFile(strPath, GENERIC_WRITE, FILE_SHARE_READ, OwnerOnlySecurity(), OPEN_ALWAYS,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    bCreated = hFile != INVALID_HANDLE_VALUE && GetLastError() != ERROR_ALREADY_EXISTS;
    return hFile;
}

} // namespace

void CWALogFile::SetPath(const CString& strPath)
{
    m_strPath = strPath;
    m_bRestricted = false;
}

CString CWALogFile::GetOldPath() const
{
    const int nDot = m_strPath.ReverseFind('.');
    const int nSlash = m_strPath.ReverseFind('\\');
    return (nDot > nSlash ? m_strPath.Left(nDot) : m_strPath) + ".OLD";
}

BOOL CWALogFile::Append(const CString& strLine)
{
    if (m_strPath.IsEmpty())
        return FALSE;
    bool bCreated = false;
    HANDLE hFile = OpenLog(m_strPath, bCreated);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    const CString strText = strLine + "\r\n";
    const auto nLength = static_cast<DWORD>(strText.GetLength());
    const DWORD dwSize = GetFileSize(hFile, nullptr);
    if (dwSize != INVALID_FILE_SIZE && dwSize > 0 && dwSize + static_cast<ULONGLONG>(nLength) > MAX_SIZE) {
        CloseHandle(hFile);
        // A log that cannot be set aside still takes the line: the log never stops the service.
        static_cast<void>(MoveFileEx(m_strPath, GetOldPath(), MOVEFILE_REPLACE_EXISTING));
        hFile = OpenLog(m_strPath, bCreated);
        if (hFile == INVALID_HANDLE_VALUE)
            return FALSE;
    }
    // A log left readable by others by an earlier run is closed to them once.
    if (!m_bRestricted) {
        if (!bCreated)
            static_cast<void>(RestrictToOwner(m_strPath));
        static_cast<void>(RestrictToOwner(GetOldPath())); // fails harmlessly when there is none
        m_bRestricted = true;
    }
    SetFilePointer(hFile, 0, nullptr, FILE_END);
    DWORD dwWritten = 0;
    const BOOL bWritten = WriteFile(hFile, static_cast<LPCTSTR>(strText), nLength, &dwWritten, nullptr);
    CloseHandle(hFile);
    return bWritten && dwWritten == nLength ? TRUE : FALSE;
}

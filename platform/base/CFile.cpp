#include "platform/base/CFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/Clock.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

constexpr UINT ACCESS_MASK = 0x00003;
constexpr UINT SHARE_MASK = 0x00070;

FILETIME FileTimeFromTime(time_t nTime)
{
    return FileTimeFromUInt64(
        (static_cast<ULONGLONG>(nTime) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND);
}

// The CFile::Attribute bits of file attributes (FILE_ATTRIBUTE_NORMAL has none).
BYTE StatusAttribute(DWORD dwAttributes)
{
    return static_cast<BYTE>(dwAttributes & ~FILE_ATTRIBUTE_NORMAL & 0xFF);
}

// Throws the CFileException for the calling thread's last error.
[[noreturn]] void ThrowLastErrorFor(LPCTSTR lpszFileName)
{
    LONG lOsError = static_cast<LONG>(GetLastError());
    if (lOsError == 0)
        AfxThrowFileException(CFileException::genericException, -1, lpszFileName);
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, lpszFileName);
}

}

/*********************************************************************
** Construction and opening
**********************************************************************/

CFile::CFile()
    : m_hFile(hFileNull)
    , m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(HANDLE hFile)
    : m_hFile(hFile)
    , m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags)
    : CFile()
{
    CFileException* pError = new CFileException;
    if (!Open(lpszFileName, nOpenFlags, pError))
        throw pError;
    pError->Delete();
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    auto fail = [&](int nCause, LONG lOsError) {
        if (pError) {
            pError->m_cause = nCause;
            pError->m_lOsError = lOsError;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    };
    if (m_hFile != hFileNull)
        return fail(CFileException::genericException, -1);

    DWORD dwAccess = 0;
    switch (nOpenFlags & ACCESS_MASK) {
    case modeRead:
        dwAccess = GENERIC_READ;
        break;
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        return fail(CFileException::genericException, static_cast<LONG>(ERROR_INVALID_PARAMETER));
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & SHARE_MASK) {
    case shareCompat:
    case shareExclusive:
        break;
    case shareDenyWrite:
        dwShare = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShare = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default:
        return fail(CFileException::genericException, static_cast<LONG>(ERROR_INVALID_PARAMETER));
    }
    DWORD dwDisposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwDisposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        dwFlags |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        dwFlags |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;

    HANDLE hFile = CreateFile(lpszFileName, dwAccess, dwShare, nullptr, dwDisposition, dwFlags, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        LONG lOsError = static_cast<LONG>(GetLastError());
        return fail(CFileException::OsErrorToException(lOsError), lOsError);
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    // FIXME: Relative names are kept as given; GetFilePath should report the full path.
    m_strFileName = lpszFileName;
    return TRUE;
}

void CFile::ThrowLastError() const
{
    ThrowLastErrorFor(m_strFileName);
}

/*********************************************************************
** Reading, writing, position and length
**********************************************************************/

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD nRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        ThrowLastError();
    return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr))
        ThrowLastError();
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LARGE_INTEGER liDistance;
    liDistance.QuadPart = lOff;
    LARGE_INTEGER liNew;
    if (!SetFilePointerEx(m_hFile, liDistance, &liNew, nFrom))
        ThrowLastError();
    return static_cast<ULONGLONG>(liNew.QuadPart);
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

ULONGLONG CFile::SeekToEnd()
{
    return Seek(0, end);
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER liZero {};
    LARGE_INTEGER liNow;
    if (!SetFilePointerEx(m_hFile, liZero, &liNow, FILE_CURRENT))
        ThrowLastError();
    return static_cast<ULONGLONG>(liNow.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(m_hFile, &liSize))
        ThrowLastError();
    return static_cast<ULONGLONG>(liSize.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek(static_cast<LONGLONG>(dwNewLen), begin);
    if (!SetEndOfFile(m_hFile))
        ThrowLastError();
}

void CFile::LockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!LockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
            static_cast<DWORD>(dwCount >> 32)))
        ThrowLastError();
}

void CFile::UnlockRange(ULONGLONG dwPos, ULONGLONG dwCount)
{
    if (!UnlockFile(m_hFile, static_cast<DWORD>(dwPos), static_cast<DWORD>(dwPos >> 32), static_cast<DWORD>(dwCount),
            static_cast<DWORD>(dwCount >> 32)))
        ThrowLastError();
}

/*********************************************************************
** Flushing and closing
**********************************************************************/

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    BOOL bClosed = CloseHandle(m_hFile);
    DWORD dwError = GetLastError();
    CString strFileName = m_strFileName;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (!bClosed)
        CFileException::ThrowOsError(static_cast<LONG>(dwError), strFileName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull) {
        // Errors are of no interest to a caller that is abandoning the file.
        (void)CloseHandle(m_hFile);
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

/*********************************************************************
** Names
**********************************************************************/

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

CString CFile::GetFileName() const
{
    int nStart = m_strFileName.GetLength();
    while (nStart > 0 && m_strFileName[nStart - 1] != '\\' && m_strFileName[nStart - 1] != '/'
        && m_strFileName[nStart - 1] != ':')
        --nStart;
    return m_strFileName.Mid(nStart);
}

CString CFile::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

void CFile::SetFilePath(LPCTSTR lpszNewName)
{
    m_strFileName = lpszNewName;
}

/*********************************************************************
** Status, renaming and removing
**********************************************************************/

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    FILETIME ftCreation, ftAccess, ftWrite;
    LARGE_INTEGER liSize;
    if (!GetFileTime(m_hFile, &ftCreation, &ftAccess, &ftWrite) || !GetFileSizeEx(m_hFile, &liSize))
        return FALSE;
    rStatus.m_ctime = CTime(ftCreation);
    rStatus.m_atime = CTime(ftAccess);
    rStatus.m_mtime = CTime(ftWrite);
    rStatus.m_size = static_cast<ULONGLONG>(liSize.QuadPart);
    DWORD dwAttributes = m_strFileName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributes(m_strFileName);
    rStatus.m_attribute
        = dwAttributes == INVALID_FILE_ATTRIBUTES ? static_cast<BYTE>(normal) : StatusAttribute(dwAttributes);
    rStatus.m_padding = 0;
    lstrcpyn(rStatus.m_szFullName, m_strFileName, MAX_PATH);
    return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!lpszFileName || !GetFileAttributesEx(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    rStatus.m_ctime = CTime(data.ftCreationTime);
    rStatus.m_atime = CTime(data.ftLastAccessTime);
    rStatus.m_mtime = CTime(data.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = StatusAttribute(data.dwFileAttributes);
    rStatus.m_padding = 0;
    // FIXME: Relative names are kept as given instead of being made full paths.
    lstrcpyn(rStatus.m_szFullName, lpszFileName, MAX_PATH);
    return TRUE;
}

void CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status)
{
    DWORD dwAttributes = GetFileAttributes(lpszFileName);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        ThrowLastErrorFor(lpszFileName);
    bool bChangeReadOnly = ((status.m_attribute & readOnly) != 0) != ((dwAttributes & FILE_ATTRIBUTE_READONLY) != 0);
    // A read-only file becomes writable before its times change; a file turning
    // read-only turns after.
    if (bChangeReadOnly && (dwAttributes & FILE_ATTRIBUTE_READONLY)
        && !SetFileAttributes(lpszFileName, status.m_attribute))
        ThrowLastErrorFor(lpszFileName);

    if (status.m_mtime.GetTime() != 0) {
        FILETIME ftWrite = FileTimeFromTime(status.m_mtime.GetTime());
        FILETIME ftAccess = status.m_atime.GetTime() != 0 ? FileTimeFromTime(status.m_atime.GetTime()) : ftWrite;
        HANDLE hFile = CreateFile(lpszFileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            ThrowLastErrorFor(lpszFileName);
        BOOL bSet = SetFileTime(hFile, nullptr, &ftAccess, &ftWrite);
        DWORD dwError = GetLastError();
        CloseHandle(hFile);
        if (!bSet)
            CFileException::ThrowOsError(static_cast<LONG>(dwError), lpszFileName);
    }

    if (bChangeReadOnly && !(dwAttributes & FILE_ATTRIBUTE_READONLY)
        && !SetFileAttributes(lpszFileName, status.m_attribute))
        ThrowLastErrorFor(lpszFileName);
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!MoveFile(lpszOldName, lpszNewName))
        ThrowLastErrorFor(lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName)
{
    if (!DeleteFile(lpszFileName))
        ThrowLastErrorFor(lpszFileName);
}

#include "platform/base/CFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/Clock.h"
#include "platform/base/FileHandle.h"
#include "platform/base/KernelObject.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"

#include <string>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

constexpr UINT ACCESS_MASK = 0x00003;
constexpr UINT SHARE_MASK = 0x00070;

time_t TimeFromFileTime(const FILETIME& ft)
{
    ULONGLONG nUnits = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<time_t>(nUnits / FILETIME_UNITS_PER_SECOND) - static_cast<time_t>(FILETIME_UNIX_EPOCH_SECONDS);
}

// The host path of a program path, or a thrown CFileException.
std::string HostPathOrThrow(LPCTSTR lpszFileName)
{
    std::string strHostPath;
    if (!HostPathFromProgramPath(lpszFileName, strHostPath))
        AfxThrowFileException(CFileException::OsErrorToException(static_cast<LONG>(GetLastError())),
            static_cast<LONG>(GetLastError()), lpszFileName);
    return strHostPath;
}

[[noreturn]] void ThrowErrno(int nErrno, LPCTSTR lpszFileName)
{
    LONG lOsError = static_cast<LONG>(Win32ErrorFromErrno(nErrno));
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, lpszFileName);
}

bool IsReadOnlyMode(mode_t nMode)
{
    return (nMode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
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
    LONG lOsError = static_cast<LONG>(GetLastError());
    if (lOsError == 0)
        AfxThrowFileException(CFileException::genericException, -1, m_strFileName);
    AfxThrowFileException(CFileException::OsErrorToException(lOsError), lOsError, m_strFileName);
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
    CFileStatus named {};
    if (m_strFileName.IsEmpty() || !GetStatus(m_strFileName, named)) {
        named.m_attribute = normal;
        lstrcpyn(named.m_szFullName, m_strFileName, MAX_PATH);
    }
    rStatus.m_ctime = CTime(TimeFromFileTime(ftCreation));
    rStatus.m_atime = CTime(TimeFromFileTime(ftAccess));
    rStatus.m_mtime = CTime(TimeFromFileTime(ftWrite));
    rStatus.m_size = static_cast<ULONGLONG>(liSize.QuadPart);
    rStatus.m_attribute = named.m_attribute;
    rStatus.m_padding = 0;
    lstrcpyn(rStatus.m_szFullName, named.m_szFullName, MAX_PATH);
    return TRUE;
}

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    std::string strHostPath;
    if (!lpszFileName || !HostPathFromProgramPath(lpszFileName, strHostPath))
        return FALSE;
    struct statx stx {};
    if (::statx(AT_FDCWD, strHostPath.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    BYTE nAttribute = normal;
    if (S_ISDIR(stx.stx_mode))
        nAttribute |= directory;
    if (IsReadOnlyMode(stx.stx_mode))
        nAttribute |= readOnly;
    std::string::size_type nSlash = strHostPath.find_last_of('/');
    if (nSlash != std::string::npos && nSlash + 1 < strHostPath.size() && strHostPath[nSlash + 1] == '.')
        nAttribute |= hidden;

    const statx_timestamp& birth = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_mtime;
    rStatus.m_ctime = CTime(static_cast<time_t>(birth.tv_sec));
    rStatus.m_atime = CTime(static_cast<time_t>(stx.stx_atime.tv_sec));
    rStatus.m_mtime = CTime(static_cast<time_t>(stx.stx_mtime.tv_sec));
    rStatus.m_size = S_ISDIR(stx.stx_mode) ? 0 : stx.stx_size;
    rStatus.m_attribute = nAttribute;
    rStatus.m_padding = 0;
    // FIXME: Relative names are kept as given instead of being made full paths.
    lstrcpyn(rStatus.m_szFullName, lpszFileName, MAX_PATH);
    return TRUE;
}

void CFile::SetStatus(LPCTSTR lpszFileName, const CFileStatus& status)
{
    std::string strHostPath = HostPathOrThrow(lpszFileName);
    struct stat st {};
    if (::stat(strHostPath.c_str(), &st) != 0)
        ThrowErrno(errno, lpszFileName);

    // The attribute first: a read-only file must become writable before its times change.
    bool bWantReadOnly = status.m_attribute & readOnly;
    if (bWantReadOnly != IsReadOnlyMode(st.st_mode)) {
        mode_t nMode = bWantReadOnly ? (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
        if (::chmod(strHostPath.c_str(), nMode & 07777) != 0)
            ThrowErrno(errno, lpszFileName);
    }

    timespec times[2] {};
    time_t nWrite = status.m_mtime.GetTime();
    time_t nAccess = status.m_atime.GetTime() != 0 ? status.m_atime.GetTime() : nWrite;
    times[0].tv_sec = nAccess;
    times[0].tv_nsec = nAccess != 0 ? 0 : UTIME_OMIT;
    times[1].tv_sec = nWrite;
    times[1].tv_nsec = nWrite != 0 ? 0 : UTIME_OMIT;
    if (::utimensat(AT_FDCWD, strHostPath.c_str(), times, 0) != 0)
        ThrowErrno(errno, lpszFileName);
}

void CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    std::string strOld = HostPathOrThrow(lpszOldName);
    std::string strNew = HostPathOrThrow(lpszNewName);
    if (::renameat2(AT_FDCWD, strOld.c_str(), AT_FDCWD, strNew.c_str(), RENAME_NOREPLACE) == 0)
        return;
    if (errno != EINVAL)
        ThrowErrno(errno, lpszOldName);
    // The file system cannot refuse to replace by itself; check first instead.
    struct stat st {};
    if (::lstat(strNew.c_str(), &st) == 0)
        ThrowErrno(EEXIST, lpszOldName);
    if (::rename(strOld.c_str(), strNew.c_str()) != 0)
        ThrowErrno(errno, lpszOldName);
}

void CFile::Remove(LPCTSTR lpszFileName)
{
    std::string strHostPath = HostPathOrThrow(lpszFileName);
    struct stat st {};
    if (::lstat(strHostPath.c_str(), &st) != 0)
        ThrowErrno(errno, lpszFileName);
    if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && IsReadOnlyMode(st.st_mode)))
        ThrowErrno(EACCES, lpszFileName);
    if (::unlink(strHostPath.c_str()) != 0)
        ThrowErrno(errno, lpszFileName);
}

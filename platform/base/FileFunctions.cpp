#include "platform/base/FileFunctions.h"

#include "platform/base/Clock.h"
#include "platform/base/HostFile.h"
#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/******************************************************************************
 * Helpers
 ******************************************************************************/

// Parses and finds a program path; FALSE with the last error set.
BOOL MapPath(LPCTSTR pszPath, CHostPath& hostPath, CProgramPath* pPath = nullptr)
{
    CProgramPath path;
    if (!ParseProgramPath(pszPath, path) || !ResolveProgramPath(path, hostPath))
        return FALSE;
    if (pPath)
        *pPath = std::move(path);
    return TRUE;
}

// Sets the last error for a path that does not exist: the file is missing when
// only its last component is, else the path is.
BOOL FailMissing(const CHostPath& hostPath)
{
    SetLastError(hostPath.nExisting + 1 >= hostPath.names.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return FALSE;
}

// Maps an existing path; FALSE with the last error set when it is missing.
BOOL MapExistingPath(LPCTSTR pszPath, CHostPath& hostPath)
{
    if (!MapPath(pszPath, hostPath))
        return FALSE;
    return hostPath.Exists() ? TRUE : FailMissing(hostPath);
}

// Whether we lack write permission, by the permission bits that apply to us
// (the owner's for files we own; root is judged by the owner's bits too, so
// that read-only files stay read-only for it).
bool IsReadOnlyMode(const struct stat& info)
{
    uid_t uid = geteuid();
    if (uid == 0 || uid == info.st_uid)
        return (info.st_mode & S_IWUSR) == 0;
    if (getegid() == info.st_gid)
        return (info.st_mode & S_IWGRP) == 0;
    return (info.st_mode & S_IWOTH) == 0;
}

FILETIME FileTimeFromTimespec(const struct timespec& time)
{
    ULONGLONG nUnits = (static_cast<ULONGLONG>(time.tv_sec) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND
        + static_cast<ULONGLONG>(time.tv_nsec) / 100;
    return FILETIME { static_cast<DWORD>(nUnits), static_cast<DWORD>(nUnits >> 32) };
}

std::string HostFolderOf(const std::string& strHostPath)
{
    size_t nSlash = strHostPath.rfind('/');
    return nSlash == 0 || nSlash == std::string::npos ? std::string("/") : strHostPath.substr(0, nSlash);
}

// Copies a regular file with its permission bits and times. The data goes to a
// temporary file beside the target first, which then replaces the target
// durably, so a failure leaves the target as it was.
BOOL CopyHostFile(const std::string& strSource, const std::string& strTarget)
{
    int fdSource = open(strSource.c_str(), O_RDONLY | O_CLOEXEC);
    if (fdSource < 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    struct stat info { };
    if (fstat(fdSource, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fdSource);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    std::string strTemporary = JoinHostPath(HostFolderOf(strTarget), ".archivora-copy-XXXXXX");
    int fdTarget = mkostemp(strTemporary.data(), O_CLOEXEC);
    if (fdTarget < 0) {
        SetLastErrorFromErrno();
        close(fdSource);
        return FALSE;
    }
    bool bOk = true;
    std::vector<char> buffer(1 << 16);
    while (bOk) {
        ssize_t nRead = read(fdSource, buffer.data(), buffer.size());
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0) {
            bOk = nRead == 0;
            break;
        }
        for (ssize_t nDone = 0; bOk && nDone < nRead;) {
            ssize_t nWritten = write(fdTarget, buffer.data() + nDone, static_cast<size_t>(nRead - nDone));
            if (nWritten < 0 && errno == EINTR)
                continue;
            bOk = nWritten > 0;
            nDone += nWritten > 0 ? nWritten : 0;
        }
    }
    const struct timespec times[2] = { info.st_atim, info.st_mtim };
    bOk = bOk && fchmod(fdTarget, info.st_mode & 07777) == 0 && futimens(fdTarget, times) == 0;
    DWORD dwError = bOk ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    close(fdSource);
    if (close(fdTarget) != 0 && dwError == ERROR_SUCCESS)
        dwError = Win32ErrorFromErrno(errno);
    if (dwError == ERROR_SUCCESS)
        dwError = ReplaceHostFileDurably(strTemporary, strTarget, ReplaceMode::KeepOwnMode);
    if (dwError != ERROR_SUCCESS) {
        unlink(strTemporary.c_str());
        SetLastError(dwError);
        return FALSE;
    }
    return TRUE;
}

bool SameHostFile(const std::string& strFirst, const std::string& strSecond)
{
    struct stat first {
    }, second {};
    return lstat(strFirst.c_str(), &first) == 0 && lstat(strSecond.c_str(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The host path of a program path for C run-time calls, with errno set on failure.
bool CrtHostPath(const char* pszPath, std::string& strHostPath, CProgramPath* pPath = nullptr)
{
    CHostPath hostPath;
    if (!MapPath(pszPath, hostPath, pPath)) {
        errno = GetLastError() == ERROR_INVALID_PARAMETER ? EINVAL : ENOENT;
        return false;
    }
    strHostPath = hostPath.HostPath();
    return true;
}

}

/******************************************************************************
 * Attributes
 ******************************************************************************/

namespace {

// The attributes of a host entry from its lstat: a symbolic link is a reparse
// point, as Windows marks its links, so that walks do not follow it, and shows
// its target's kind (then `info` becomes the target's); `strName` decides the
// hidden attribute.
DWORD HostAttributes(const std::string& strHostPath, std::string_view strName, struct stat& info)
{
    const bool bLink = S_ISLNK(info.st_mode);
    const bool bDangling = bLink && stat(strHostPath.c_str(), &info) != 0;
    DWORD dwAttributes = bDangling ? FILE_ATTRIBUTE_ARCHIVE
        : S_ISDIR(info.st_mode)    ? FILE_ATTRIBUTE_DIRECTORY
        : S_ISREG(info.st_mode)    ? FILE_ATTRIBUTE_ARCHIVE
                                   : FILE_ATTRIBUTE_SYSTEM;
    if (bLink)
        dwAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (IsReadOnlyMode(info))
        dwAttributes |= FILE_ATTRIBUTE_READONLY;
    if (strName.size() > 1 && strName[0] == '.' && strName != "..")
        dwAttributes |= FILE_ATTRIBUTE_HIDDEN;
    return dwAttributes;
}

// The attribute data from an entry's lstat, as ReadHostFileInfo gives it.
void FillHostFileInfo(
    const std::string& strHostPath, std::string_view strName, struct stat& info, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    data.dwFileAttributes = HostAttributes(strHostPath, strName, info);
    data.ftLastAccessTime = FileTimeFromTimespec(info.st_atim);
    data.ftLastWriteTime = FileTimeFromTimespec(info.st_mtim);
    data.ftCreationTime = data.ftLastWriteTime;
    struct statx extended { };
    if (statx(AT_FDCWD, strHostPath.c_str(), 0, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME))
        data.ftCreationTime = FileTimeFromTimespec(
            timespec { static_cast<time_t>(extended.stx_btime.tv_sec), static_cast<long>(extended.stx_btime.tv_nsec) });
    auto nSize = static_cast<ULONGLONG>(S_ISREG(info.st_mode) ? info.st_size : 0);
    data.nFileSizeHigh = static_cast<DWORD>(nSize >> 32);
    data.nFileSizeLow = static_cast<DWORD>(nSize);
}

// Finds an existing program path and reads its lstat: the host path, the
// name that decides the hidden attribute and the lstat. A path that exists as
// written is the entry the lookup name by name would find (an exact name
// wins), so one call serves for both; only other paths are looked up. FALSE
// with the last error set.
BOOL StatExistingPath(LPCTSTR pszPath, std::string& strHostPath, std::string& strName, struct stat& info)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!ParseProgramPath(pszPath, path))
        return FALSE;
    if (!HostPathAsWritten(path, hostPath) || lstat(hostPath.HostPath().c_str(), &info) != 0) {
        if (!ResolveProgramPath(path, hostPath))
            return FALSE;
        if (!hostPath.Exists())
            return FailMissing(hostPath);
        if (lstat(hostPath.HostPath().c_str(), &info) != 0) {
            SetLastErrorFromErrno();
            return FALSE;
        }
    }
    strHostPath = hostPath.HostPath();
    strName = hostPath.names.empty() ? std::string() : hostPath.names.back();
    return TRUE;
}

} // namespace

BOOL ReadHostFileInfo(const std::string& strHostPath, std::string_view strName, WIN32_FILE_ATTRIBUTE_DATA& data)
{
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    FillHostFileInfo(strHostPath, strName, info, data);
    return TRUE;
}

DWORD GetFileAttributes(LPCTSTR lpFileName)
{
    // The attributes alone: no times are read.
    std::string strHostPath;
    std::string strName;
    struct stat info { };
    if (!StatExistingPath(lpFileName, strHostPath, strName, info))
        return INVALID_FILE_ATTRIBUTES;
    return HostAttributes(strHostPath, strName, info);
}

BOOL GetFileAttributesEx(LPCTSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation)
{
    if (fInfoLevelId != GetFileExInfoStandard || !lpFileInformation) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string strHostPath;
    std::string strName;
    struct stat info { };
    if (!StatExistingPath(lpFileName, strHostPath, strName, info))
        return FALSE;
    FillHostFileInfo(strHostPath, strName, info, *static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation));
    return TRUE;
}

BOOL SetFileAttributes(LPCTSTR lpFileName, DWORD dwFileAttributes)
{
    CHostPath hostPath;
    if (!MapExistingPath(lpFileName, hostPath))
        return FALSE;
    std::string strHostPath = hostPath.HostPath();
    struct stat info { };
    if (stat(strHostPath.c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    mode_t mode = info.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else if (IsReadOnlyMode(info))
        mode |= S_IWUSR;
    if (mode != (info.st_mode & 07777) && chmod(strHostPath.c_str(), mode) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

LPSECURITY_ATTRIBUTES OwnerOnlySecurity()
{
    static char s_descriptor; // its address marks the owner-only attributes
    static SECURITY_ATTRIBUTES s_attributes { sizeof(SECURITY_ATTRIBUTES), &s_descriptor, FALSE };
    return &s_attributes;
}

bool IsOwnerOnlySecurity(const SECURITY_ATTRIBUTES* pAttributes)
{
    return pAttributes != nullptr && pAttributes->lpSecurityDescriptor == OwnerOnlySecurity()->lpSecurityDescriptor;
}

BOOL RestrictToOwner(LPCTSTR lpFileName)
{
    CHostPath hostPath;
    if (!MapExistingPath(lpFileName, hostPath))
        return FALSE;
    const std::string strHostPath = hostPath.HostPath();
    // Opened without following a link, so the mode set is the one of what was checked.
    const int fd = open(strHostPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            SetLastError(ERROR_CANT_ACCESS_FILE);
        else
            SetLastErrorFromErrno();
        return FALSE;
    }
    struct stat info { };
    const bool bOk = fstat(fd, &info) == 0 && fchmod(fd, S_ISDIR(info.st_mode) ? 0700 : 0600) == 0;
    if (!bOk)
        SetLastErrorFromErrno();
    close(fd);
    return bOk ? TRUE : FALSE;
}

/******************************************************************************
 * Folders, deleting, moving and copying
 ******************************************************************************/

BOOL CreateDirectory(LPCTSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes)
{
    CHostPath hostPath;
    if (!MapPath(lpPathName, hostPath))
        return FALSE;
    if (hostPath.Exists()) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (hostPath.nExisting + 1 < hostPath.names.size()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (mkdir(hostPath.HostPath().c_str(), IsOwnerOnlySecurity(lpSecurityAttributes) ? 0700 : 0777) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL RemoveDirectory(LPCTSTR lpPathName)
{
    CHostPath hostPath;
    if (!MapExistingPath(lpPathName, hostPath))
        return FALSE;
    std::string strHostPath = hostPath.HostPath();
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    if (hostPath.IsRoot() || rmdir(strHostPath.c_str()) != 0) {
        SetLastError(hostPath.IsRoot()                  ? ERROR_ACCESS_DENIED
                : errno == ENOTEMPTY || errno == EEXIST ? ERROR_DIR_NOT_EMPTY
                                                        : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFile(LPCTSTR lpFileName)
{
    CHostPath hostPath;
    if (!MapExistingPath(lpFileName, hostPath))
        return FALSE;
    std::string strHostPath = hostPath.HostPath();
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    if (S_ISDIR(info.st_mode) || (!S_ISLNK(info.st_mode) && IsReadOnlyMode(info))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (unlink(strHostPath.c_str()) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName)
{
    return MoveFileEx(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL MoveFileEx(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, DWORD dwFlags)
{
    constexpr DWORD KNOWN_FLAGS = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (!lpNewFileName || (dwFlags & ~KNOWN_FLAGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CHostPath source, target;
    CProgramPath targetPath;
    if (!MapExistingPath(lpExistingFileName, source) || !MapPath(lpNewFileName, target, &targetPath))
        return FALSE;
    if (source.IsRoot() || target.IsRoot()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (target.nExisting + 1 < target.names.size()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::string strSource = source.HostPath();
    std::string strTarget = target.HostPath();
    struct stat sourceInfo { };
    if (lstat(strSource.c_str(), &sourceInfo) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    bool bReplace = false;
    if (target.Exists()) {
        if (strSource == strTarget) {
            // The source itself, found by case: rename it to the name as given.
            strTarget = JoinHostPath(target.HostParent(), targetPath.components.back());
            bReplace = true;
        } else if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return FALSE;
        } else {
            struct stat targetInfo { };
            if (lstat(strTarget.c_str(), &targetInfo) != 0 || S_ISDIR(targetInfo.st_mode) || S_ISDIR(sourceInfo.st_mode)
                || IsReadOnlyMode(targetInfo)) {
                SetLastError(ERROR_ACCESS_DENIED);
                return FALSE;
            }
            bReplace = true;
        }
    }
    int nResult = bReplace ? rename(strSource.c_str(), strTarget.c_str())
                           : renameat2(AT_FDCWD, strSource.c_str(), AT_FDCWD, strTarget.c_str(), RENAME_NOREPLACE);
    if (nResult != 0 && !bReplace && (errno == EINVAL || errno == ENOSYS)) // The file system cannot refuse to replace.
        nResult = rename(strSource.c_str(), strTarget.c_str());
    bool bWriteThrough = dwFlags & MOVEFILE_WRITE_THROUGH;
    if (nResult != 0 && errno == EXDEV) {
        if (!(dwFlags & MOVEFILE_COPY_ALLOWED) || S_ISDIR(sourceInfo.st_mode)) {
            SetLastError(ERROR_NOT_SAME_DEVICE);
            return FALSE;
        }
        if (!CopyHostFile(strSource, strTarget))
            return FALSE;
        // A source that cannot be removed stays behind, and the move still succeeds.
        unlink(strSource.c_str());
        return TRUE;
    }
    if (nResult != 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    if (bWriteThrough)
        FlushHostFolderOf(strTarget);
    return TRUE;
}

BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists)
{
    CHostPath source, target;
    if (!MapExistingPath(lpExistingFileName, source) || !MapPath(lpNewFileName, target))
        return FALSE;
    if (target.IsRoot() || (target.nExisting + 1 < target.names.size())) {
        SetLastError(target.IsRoot() ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    std::string strSource = source.HostPath();
    std::string strTarget = target.HostPath();
    if (target.Exists()) {
        struct stat targetInfo { };
        DWORD dwError = bFailIfExists            ? ERROR_FILE_EXISTS
            : SameHostFile(strSource, strTarget) ? ERROR_SHARING_VIOLATION
            : stat(strTarget.c_str(), &targetInfo) != 0 || S_ISDIR(targetInfo.st_mode) || IsReadOnlyMode(targetInfo)
            ? ERROR_ACCESS_DENIED
            : ERROR_SUCCESS;
        if (dwError != ERROR_SUCCESS) {
            SetLastError(dwError);
            return FALSE;
        }
    }
    return CopyHostFile(strSource, strTarget);
}

BOOL CreateHardLink(LPCTSTR lpFileName, LPCTSTR lpExistingFileName, LPSECURITY_ATTRIBUTES)
{
    CHostPath source, target;
    if (!MapExistingPath(lpExistingFileName, source) || !MapPath(lpFileName, target))
        return FALSE;
    if (target.Exists()) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (target.IsRoot() || target.nExisting + 1 < target.names.size()) {
        SetLastError(target.IsRoot() ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (link(source.HostPath().c_str(), target.HostPath().c_str()) == 0)
        return TRUE;
    switch (errno) {
    case EEXIST:
        SetLastError(ERROR_ALREADY_EXISTS);
        break;
    case EPERM: { // a folder, or a file system that refuses links
        struct stat info { };
        bool bFolder = stat(source.HostPath().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        SetLastError(bFolder ? ERROR_ACCESS_DENIED : ERROR_NOT_SUPPORTED);
        break;
    }
    case EXDEV:
        SetLastError(ERROR_NOT_SAME_DEVICE);
        break;
    case EOPNOTSUPP:
        SetLastError(ERROR_NOT_SUPPORTED);
        break;
    default:
        SetLastErrorFromErrno();
        break;
    }
    return FALSE;
}

/******************************************************************************
 * The C run-time's calls
 ******************************************************************************/

int _access(const char* path, int mode)
{
    std::string strHostPath;
    if (mode & ~6) {
        errno = EINVAL;
        return -1;
    }
    if (!CrtHostPath(path, strHostPath))
        return -1;
    struct stat info { };
    if (stat(strHostPath.c_str(), &info) != 0)
        return -1;
    if (((mode & 2) && IsReadOnlyMode(info)) || ((mode & 4) && access(strHostPath.c_str(), R_OK) != 0)) {
        errno = EACCES;
        return -1;
    }
    return 0;
}

int _unlink(const char* filename)
{
    std::string strHostPath;
    if (!CrtHostPath(filename, strHostPath))
        return -1;
    struct stat info { };
    if (lstat(strHostPath.c_str(), &info) != 0)
        return -1;
    if (S_ISDIR(info.st_mode) || (!S_ISLNK(info.st_mode) && IsReadOnlyMode(info))) {
        errno = EACCES;
        return -1;
    }
    return unlink(strHostPath.c_str());
}

int _stat(const char* path, struct _stat* buffer)
{
    std::string strHostPath;
    CProgramPath programPath;
    if (!buffer) {
        errno = EINVAL;
        return -1;
    }
    if (!CrtHostPath(path, strHostPath, &programPath))
        return -1;
    struct stat info { };
    if (stat(strHostPath.c_str(), &info) != 0)
        return -1;
    if (programPath.bTrailingSeparator && !S_ISDIR(info.st_mode)) {
        errno = ENOENT;
        return -1;
    }
    unsigned short nOwner = _S_IREAD;
    if (!IsReadOnlyMode(info))
        nOwner |= _S_IWRITE;
    if (S_ISDIR(info.st_mode) || (info.st_mode & S_IXUSR))
        nOwner |= _S_IEXEC;
    *buffer = {};
    buffer->st_dev = buffer->st_rdev = programPath.chDrive ? static_cast<_dev_t>(programPath.chDrive - 'A') : 0;
    buffer->st_mode = static_cast<unsigned short>(
        (S_ISDIR(info.st_mode) ? _S_IFDIR : _S_IFREG) | nOwner | (nOwner >> 3) | (nOwner >> 6));
    buffer->st_nlink = static_cast<short>(info.st_nlink);
    buffer->st_size = S_ISDIR(info.st_mode) ? 0 : static_cast<_off_t>(info.st_size);
    buffer->st_atime = info.st_atim.tv_sec;
    buffer->st_mtime = info.st_mtim.tv_sec;
    buffer->st_ctime = info.st_ctim.tv_sec;
    return 0;
}

/******************************************************************************
 * Temporary files and searches
 ******************************************************************************/

DWORD GetTempPath(DWORD nBufferLength, LPTSTR lpBuffer)
{
    const char* pszTemp = std::getenv("TMPDIR");
    std::string strPath = ProgramPathFromHostPath(pszTemp && *pszTemp == '/' ? pszTemp : "/tmp");
    if (strPath.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (strPath.back() != '\\')
        strPath += '\\';
    return CopyStringToBuffer(strPath, lpBuffer, nBufferLength);
}

UINT GetTempFileName(LPCTSTR lpPathName, LPCTSTR lpPrefixString, UINT uUnique, LPTSTR lpTempFileName)
{
    if (!lpPathName || !lpTempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string strFolder = lpPathName;
    if (strFolder.empty() || (strFolder.back() != '\\' && strFolder.back() != '/'))
        strFolder += '\\';
    // Up to three characters of the prefix, never part of one.
    std::string_view strPrefix = lpPrefixString ? lpPrefixString : "";
    size_t nCut = 0;
    for (int nChars = 0; nCut < strPrefix.size() && nChars < 3; ++nChars)
        nCut += Utf8CharLength(strPrefix, nCut);
    std::string strStem = strFolder + std::string(strPrefix.substr(0, nCut));
    auto nameFor = [&](UINT uNumber) {
        char szHex[16];
        std::snprintf(szHex, sizeof(szHex), "%X", uNumber);
        return strStem + szHex + ".tmp";
    };
    if (nameFor(0xFFFF).size() + 1 > MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    if (uUnique != 0) {
        uUnique &= 0xFFFF;
        std::string strName = nameFor(uUnique);
        CopyStringToBuffer(strName, lpTempFileName, MAX_PATH);
        return uUnique;
    }

    CHostPath folder;
    if (!MapPath(strFolder.c_str(), folder))
        return 0;
    struct stat info { };
    if (!folder.Exists() || stat(folder.HostPath().c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    UINT uNumber = static_cast<UINT>(ClockTicks() & 0xFFFF);
    for (UINT nTry = 0; nTry < 0xFFFF; ++nTry, uNumber = (uNumber & 0xFFFF) + 1) {
        uNumber = uNumber == 0 || uNumber > 0xFFFF ? 1 : uNumber;
        std::string strName = nameFor(uNumber);
        std::string strHostPath;
        if (!HostPathFromProgramPath(strName.c_str(), strHostPath))
            return 0;
        int fd = open(strHostPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            CopyStringToBuffer(strName, lpTempFileName, MAX_PATH);
            return uNumber;
        }
        if (errno != EEXIST) {
            SetLastErrorFromErrno();
            return 0;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

DWORD SearchPath(
    LPCTSTR lpPath, LPCTSTR lpFileName, LPCTSTR lpExtension, DWORD nBufferLength, LPTSTR lpBuffer, LPTSTR* lpFilePart)
{
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string strName = lpFileName;
    size_t nLastSeparator = strName.find_last_of("\\/:");
    size_t nNameStart = nLastSeparator == std::string::npos ? 0 : nLastSeparator + 1;
    if (lpExtension && strName.find('.', nNameStart) == std::string::npos)
        strName += lpExtension;

    std::vector<std::string> candidates;
    if (nLastSeparator != std::string::npos) {
        candidates.push_back(strName);
    } else {
        std::vector<std::string> folders;
        auto addFolders = [&](std::string_view strList, bool bHost) {
            for (size_t nPos = 0; nPos <= strList.size();) {
                size_t nEnd = strList.find(bHost ? ':' : ';', nPos);
                if (nEnd == std::string_view::npos)
                    nEnd = strList.size();
                std::string strFolder(strList.substr(nPos, nEnd - nPos));
                nPos = nEnd + 1;
                if (bHost)
                    strFolder
                        = strFolder.empty() || strFolder[0] != '/' ? std::string() : ProgramPathFromHostPath(strFolder);
                if (!strFolder.empty())
                    folders.push_back(strFolder);
            }
        };
        if (lpPath) {
            addFolders(lpPath, false);
        } else {
            // A folder outside every drive has no program path and is not searched.
            std::string strProgramFolder = ProgramPathFromHostPath(GetProgramFolderHostPath());
            if (!strProgramFolder.empty())
                folders.push_back(strProgramFolder);
            char szCurrent[4096];
            DWORD nCurrent = GetCurrentDirectory(sizeof(szCurrent), szCurrent);
            if (nCurrent > 0 && nCurrent < sizeof(szCurrent))
                folders.emplace_back(szCurrent);
            if (const char* pszHostPath = std::getenv("PATH"))
                addFolders(pszHostPath, true);
        }
        for (std::string& strFolder : folders) {
            if (strFolder.back() != '\\' && strFolder.back() != '/')
                strFolder += '\\';
            candidates.push_back(strFolder + strName);
        }
    }
    for (const std::string& strCandidate : candidates) {
        CHostPath hostPath;
        if (MapPath(strCandidate.c_str(), hostPath) && hostPath.Exists())
            return GetFullPathName(strCandidate.c_str(), nBufferLength, lpBuffer, lpFilePart);
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

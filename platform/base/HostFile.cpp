#include "platform/base/HostFile.h"

#include "platform/base/CString.h"
#include "platform/base/FolderListing.h"
#include "platform/base/HostTime.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Maps a program path, setting ERROR_INVALID_NAME for an empty one.
bool MapProgramPath(LPCTSTR pszPath, std::string& strHostPath)
{
    if (!pszPath || !*pszPath) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return HostPathFromProgramPath(pszPath, strHostPath);
}

// OpenRegularHostFile relative to the folder descriptor nFolder (AT_FDCWD: the working directory).
int OpenRegularHostFileAt(
    int nFolder, const char* pszPath, int nFlags, unsigned nMode, std::int64_t* pnLength = nullptr)
{
    int fd = ::openat(nFolder, pszPath, nFlags | O_NONBLOCK | O_CLOEXEC, static_cast<mode_t>(nMode));
    if (fd < 0) {
        // A socket, or a device with nothing behind it, does not open at all.
        SetLastError(errno == ENXIO || errno == ENODEV ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(errno));
        return -1;
    }
    // The status flags that F_SETFL sets are those the caller asked for, without O_NONBLOCK.
    // Reading a regular file never waits on O_NONBLOCK, so a plain read-only
    // open keeps it and spares the call (a walk opens every file it catalogues).
    constexpr int SETTABLE_FLAGS = O_APPEND | O_ASYNC | O_DIRECT | O_NOATIME;
    const bool bKeepsFlags = (nFlags & O_ACCMODE) == O_RDONLY && (nFlags & SETTABLE_FLAGS) == 0;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || (!bKeepsFlags && ::fcntl(fd, F_SETFL, nFlags & SETTABLE_FLAGS) != 0)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return -1;
    }
    if (pnLength != nullptr)
        *pnLength = st.st_size;
    return fd;
}

// The flushes that the test seam turned into nothing.
std::atomic<bool> g_bSkipFlushes { false };

} // namespace

void SetHostFlushesSkipped(bool bSkip)
{
    g_bSkipFlushes.store(bSkip);
}

/********************************* CHostFile *********************************/

CHostFile::~CHostFile()
{
    Close();
}

BOOL CHostFile::Open(LPCTSTR pszPath, Access eAccess, Creation eCreation)
{
    int nFlags = eAccess == Access::Read ? O_RDONLY : O_RDWR;
    if (eCreation == Creation::CreateAlways)
        nFlags |= O_CREAT | O_TRUNC;
    else if (eCreation == Creation::CreateNew)
        nFlags |= O_CREAT | O_EXCL;
    std::string strHostPath;
    // A file that opens as written is the one the lookup name by name would
    // find (an exact name wins), so that lookup is left for the others.
    if (eCreation == Creation::OpenExisting && pszPath && *pszPath && !IsOpen()
        && HostPathAsWritten(pszPath, strHostPath) && OpenHost(AT_FDCWD, strHostPath, nFlags))
        return TRUE;
    if (!MapProgramPath(pszPath, strHostPath))
        return FALSE;
    return OpenHost(AT_FDCWD, strHostPath, nFlags);
}

BOOL CHostFile::OpenIn(const CListedFolder& folder, const std::string& strName, Access eAccess)
{
    const int nFlags = eAccess == Access::Read ? O_RDONLY : O_RDWR;
    if (!folder.IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A plain name is the host name of the same bytes in the folder; the
    // lookup by path is left for the names that do not open so.
    if (!IsOpen() && IsPlainProgramName(strName) && OpenHost(folder.m_nFolder, strName, nFlags))
        return TRUE;
    return Open(folder.PathOf(strName), eAccess);
}

BOOL CHostFile::CreateUnique(LPCTSTR pszPath, LPCTSTR pszInfix, CString& strCreated)
{
    std::string strHostPath;
    if (!MapProgramPath(pszPath, strHostPath))
        return FALSE;
    if (IsOpen()) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    std::string strName = strHostPath + (pszInfix ? pszInfix : "") + "XXXXXX";
    int fd = ::mkostemp(strName.data(), O_CLOEXEC);
    if (fd < 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    m_fd = fd;
    m_nLengthAtOpen = 0;
    strCreated = ProgramPathFromHostPath(strName).c_str();
    return TRUE;
}

BOOL CHostFile::OpenHost(int nFolder, const std::string& strHostPath, int nFlags)
{
    if (IsOpen()) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    m_fd = OpenRegularHostFileAt(nFolder, strHostPath.c_str(), nFlags, 0644, &m_nLengthAtOpen);
    return m_fd >= 0 ? TRUE : FALSE;
}

void CHostFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_nLengthAtOpen = -1;
}

std::int64_t CHostFile::ReadAt(std::int64_t nOffset, std::span<BYTE> data) const
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    for (;;) {
        ssize_t n = ::pread(m_fd, data.data(), data.size(), nOffset);
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            SetLastErrorFromErrno();
            return -1;
        }
    }
}

BOOL CHostFile::ReadExactAt(std::int64_t nOffset, std::span<BYTE> data) const
{
    std::size_t nDone = 0;
    while (nDone < data.size()) {
        std::int64_t n = ReadAt(nOffset + static_cast<std::int64_t>(nDone), data.subspan(nDone));
        if (n < 0)
            return FALSE;
        if (n == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return FALSE;
        }
        nDone += static_cast<std::size_t>(n);
    }
    return TRUE;
}

BOOL CHostFile::WriteAt(std::int64_t nOffset, std::span<const BYTE> data)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::size_t nDone = 0;
    while (nDone < data.size()) {
        ssize_t n = ::pwrite(m_fd, data.data() + nDone, data.size() - nDone, nOffset + static_cast<off_t>(nDone));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n < 0)
                SetLastErrorFromErrno();
            else
                SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        nDone += static_cast<std::size_t>(n);
    }
    return TRUE;
}

BOOL CHostFile::Flush()
{
    return FlushWith(::fsync);
}

BOOL CHostFile::FlushData()
{
    return FlushWith(::fdatasync);
}

BOOL CHostFile::FlushWith(int (*pfnFlush)(int))
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!g_bSkipFlushes.load() && pfnFlush(m_fd) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL CHostFile::SetModifiedTime(const FILETIME& ftModified)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const timespec times[2] = { TimespecFromFileTime(nullptr), TimespecFromFileTime(&ftModified) };
    if (::futimens(m_fd, times) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

std::int64_t CHostFile::GetLength() const
{
    struct stat st { };
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    if (::fstat(m_fd, &st) != 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    return st.st_size;
}

std::uint64_t CHostFile::GetIdentity() const
{
    struct stat st { };
    if (!IsOpen() || ::fstat(m_fd, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_ino) ^ (static_cast<std::uint64_t>(st.st_dev) << 48);
}

BOOL GetHostFileStatus(LPCTSTR pszPath, HostFileStatus& status)
{
    status = {};
    std::string strHostPath;
    if (!MapProgramPath(pszPath, strHostPath))
        return FALSE;
    struct stat st { };
    if (::stat(strHostPath.c_str(), &st) != 0) {
        const int nErrno = errno;
        // Nothing there is a status; a link whose target is missing is not.
        if ((nErrno == ENOENT || nErrno == ENOTDIR) && ::lstat(strHostPath.c_str(), &st) != 0)
            return TRUE;
        status.bUnreadable = true;
        SetLastError(nErrno == ENOENT ? ERROR_CANT_RESOLVE_FILENAME : Win32ErrorFromErrno(nErrno));
        return TRUE;
    }
    status.bExists = true;
    status.nSize = st.st_size;
    status.tModified = st.st_mtime;
    status.tChanged = st.st_ctime;
    status.tAccessed = st.st_atime;
    return TRUE;
}

BOOL ResolveFileLink(LPCTSTR pszPath, CString& strFinal)
{
    std::string strHostPath;
    if (!MapProgramPath(pszPath, strHostPath))
        return FALSE;
    std::string strHostFinal;
    if (DWORD dwError = ResolveHostLink(strHostPath, strHostFinal)) {
        SetLastError(dwError);
        return FALSE;
    }
    strFinal = strHostFinal == strHostPath ? CString(pszPath) : CString(ProgramPathFromHostPath(strHostFinal).c_str());
    return TRUE;
}

bool IsMissingFileError(DWORD dwError)
{
    switch (dwError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return true;
    default:
        return false;
    }
}

/***************************** Host paths ****************************/

DWORD ResolveHostLink(const std::string& strHostPath, std::string& strFinal)
{
    struct stat st { };
    if (::lstat(strHostPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        strFinal = strHostPath;
        return ERROR_SUCCESS;
    }
    char* pszFinal = ::realpath(strHostPath.c_str(), nullptr);
    if (pszFinal == nullptr)
        return errno == ENOENT ? ERROR_CANT_RESOLVE_FILENAME : Win32ErrorFromErrno(errno);
    strFinal = pszFinal;
    std::free(pszFinal);
    return ERROR_SUCCESS;
}

int OpenRegularHostFile(const std::string& strHostPath, int nFlags, unsigned nMode)
{
    return OpenRegularHostFileAt(AT_FDCWD, strHostPath.c_str(), nFlags, nMode);
}

DWORD ReadHostFileToEnd(int fd, std::string& strText)
{
    char buffer[65536];
    for (;;) {
        ssize_t nRead = ::read(fd, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            return Win32ErrorFromErrno(errno);
        if (nRead == 0)
            return ERROR_SUCCESS;
        strText.append(buffer, static_cast<size_t>(nRead));
    }
}

/***************************** Durable replacement ****************************/

DWORD ReplaceHostFileDurably(const std::string& strReplacement, const std::string& strTarget, ReplaceMode eMode)
{
    int fd = ::open(strReplacement.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Win32ErrorFromErrno(errno);
    bool bOk = g_bSkipFlushes.load() || ::fsync(fd) == 0;
    if (bOk && eMode == ReplaceMode::KeepTargetMode) {
        struct stat st { };
        if (::stat(strTarget.c_str(), &st) == 0)
            bOk = ::fchmod(fd, st.st_mode & 07777) == 0;
    }
    DWORD dwError = bOk ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    ::close(fd);
    if (dwError == ERROR_SUCCESS && ::rename(strReplacement.c_str(), strTarget.c_str()) != 0)
        dwError = Win32ErrorFromErrno(errno);
    if (dwError == ERROR_SUCCESS)
        FlushHostFolderOf(strTarget);
    return dwError;
}

void FlushHostFolderOf(const std::string& strHostPath)
{
    size_t nSlash = strHostPath.rfind('/');
    std::string strFolder = nSlash == std::string::npos ? std::string(".")
        : nSlash == 0                                   ? std::string("/")
                                                        : strHostPath.substr(0, nSlash);
    if (g_bSkipFlushes.load())
        return;
    int fd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd); // the rename is done either way
        ::close(fd);
    }
}

BOOL FlushFolderOf(LPCTSTR pszPath)
{
    std::string strHostPath;
    if (!MapProgramPath(pszPath, strHostPath))
        return FALSE;
    FlushHostFolderOf(strHostPath);
    return TRUE;
}

BOOL ReplaceFileDurably(LPCTSTR pszReplacement, LPCTSTR pszTarget)
{
    std::string strReplacement, strTarget;
    if (!MapProgramPath(pszReplacement, strReplacement) || !MapProgramPath(pszTarget, strTarget))
        return FALSE;
    DWORD dwError = ReplaceHostFileDurably(strReplacement, strTarget, ReplaceMode::KeepTargetMode);
    SetLastError(dwError);
    return dwError == ERROR_SUCCESS;
}

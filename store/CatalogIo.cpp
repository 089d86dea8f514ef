#include "store/CatalogIo.h"

#include "platform/base/FailureCountdown.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"

#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The catalog write that the test seam picked to fail.
CFailureCountdown g_writeFailure;

}

void SetCatalogWriteFailure(int nWrite)
{
    g_writeFailure.Arm(nWrite);
}

CCatalogIo::~CCatalogIo()
{
    // A flush failure at destruction has no one to report to; the owner closes
    // explicitly whenever it can still report.
    (void)Close();
}

BOOL CCatalogIo::Open(LPCTSTR pszPath, bool bCreate)
{
    return OpenWithFlags(pszPath, bCreate ? O_CREAT | O_TRUNC : 0);
}

BOOL CCatalogIo::CreateNew(LPCTSTR pszPath)
{
    return OpenWithFlags(pszPath, O_CREAT | O_EXCL);
}

BOOL CCatalogIo::OpenWithFlags(LPCTSTR pszPath, int nCreateFlags)
{
    if (IsOpen()) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    std::string strHostPath;
    if (!pszPath || !*pszPath || !HostPathFromProgramPath(pszPath, strHostPath)) {
        if (!pszPath || !*pszPath)
            SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    int nFlags = O_RDWR | O_CLOEXEC | nCreateFlags;
    int fd = ::open(strHostPath.c_str(), nFlags, 0644);
    if (fd < 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    m_fd = fd;
    m_nReads = 0;
    return TRUE;
}

BOOL CCatalogIo::Close()
{
    if (!IsOpen())
        return TRUE;
    BOOL bSynced = Sync();
    ::close(m_fd);
    m_fd = -1;
    return bSynced;
}

BOOL CCatalogIo::ReadAt(std::int64_t nOffset, std::span<BYTE> data)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ++m_nReads;
    std::size_t nDone = 0;
    while (nDone < data.size()) {
        ssize_t n = ::pread(m_fd, data.data() + nDone, data.size() - nDone, nOffset + nDone);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            SetLastErrorFromErrno();
            return FALSE;
        }
        if (n == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return FALSE;
        }
        nDone += static_cast<std::size_t>(n);
    }
    return TRUE;
}

BOOL CCatalogIo::WriteAt(std::int64_t nOffset, std::span<const BYTE> data)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (g_writeFailure.Fire()) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    std::size_t nDone = 0;
    while (nDone < data.size()) {
        ssize_t n = ::pwrite(m_fd, data.data() + nDone, data.size() - nDone, nOffset + nDone);
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

BOOL CCatalogIo::Sync()
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (::fsync(m_fd) != 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

std::int64_t CCatalogIo::GetLength() const
{
    struct stat st { };
    if (!IsOpen() || ::fstat(m_fd, &st) != 0) {
        if (IsOpen())
            SetLastErrorFromErrno();
        else
            SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    return st.st_size;
}

#include "mail/MailFile.h"

#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CMailFile::~CMailFile()
{
    Close();
}

BOOL CMailFile::Open(LPCTSTR pszProgramPath, Access eAccess)
{
    std::string strHost = MailHostPath(pszProgramPath);
    if (strHost.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return OpenHost(strHost, eAccess);
}

BOOL CMailFile::OpenHost(const std::string& strHostPath, Access eAccess)
{
    Close();
    int fd = ::open(strHostPath.c_str(), (eAccess == Access::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC);
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
    m_strHostPath = strHostPath;
    return TRUE;
}

void CMailFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_strHostPath.clear();
}

uint64_t CMailFile::GetLength() const
{
    struct stat st { };
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return 0;
    return static_cast<uint64_t>(st.st_size);
}

int64_t CMailFile::ReadAt(uint64_t nOffset, void* pBuffer, size_t nCount) const
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        ssize_t n = ::pread(m_fd, pBuffer, nCount, static_cast<off_t>(nOffset));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            SetLastErrorFromErrno();
            return -1;
        }
    }
}

bool CMailFile::ReadExactAt(uint64_t nOffset, void* pBuffer, size_t nCount) const
{
    auto* p = static_cast<char*>(pBuffer);
    while (nCount > 0) {
        int64_t n = ReadAt(nOffset, p, nCount);
        if (n <= 0)
            return false;
        p += n;
        nOffset += static_cast<uint64_t>(n);
        nCount -= static_cast<size_t>(n);
    }
    return true;
}

bool CMailFile::WriteAt(uint64_t nOffset, const void* pBuffer, size_t nCount)
{
    const auto* p = static_cast<const char*>(pBuffer);
    while (nCount > 0) {
        ssize_t n = ::pwrite(m_fd, p, nCount, static_cast<off_t>(nOffset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            SetLastErrorFromErrno();
            return false;
        }
        p += n;
        nOffset += static_cast<uint64_t>(n);
        nCount -= static_cast<size_t>(n);
    }
    return true;
}

bool CMailFile::Sync()
{
    if (m_fd < 0 || ::fsync(m_fd) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    return true;
}

std::string MailHostPath(LPCTSTR pszProgramPath)
{
    std::string strHost;
    if (pszProgramPath == nullptr || *pszProgramPath == '\0' || !HostPathFromProgramPath(pszProgramPath, strHost))
        return {};
    return strHost;
}

CMailTempFile::CMailTempFile(const std::string& strStoreHostPath)
    : m_strStoreHostPath(strStoreHostPath)
{
    std::vector<char> name(strStoreHostPath.begin(), strStoreHostPath.end());
    const char suffix[] = ".reorg-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof(suffix));
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        SetLastErrorFromErrno();
        return;
    }
    ::close(fd);
    m_strTempHostPath = name.data();
    if (!m_file.OpenHost(m_strTempHostPath, CMailFile::Access::ReadWrite)) {
        ::unlink(m_strTempHostPath.c_str());
        m_strTempHostPath.clear();
    }
}

CMailTempFile::~CMailTempFile()
{
    m_file.Close();
    if (!m_bCommitted && !m_strTempHostPath.empty())
        ::unlink(m_strTempHostPath.c_str());
}

bool CMailTempFile::Commit()
{
    if (!m_file.IsOpen() || !m_file.Sync())
        return false;
    // The store keeps its permissions across the rewrite.
    struct stat st { };
    if (::stat(m_strStoreHostPath.c_str(), &st) == 0)
        ::chmod(m_strTempHostPath.c_str(), st.st_mode & 07777);
    m_file.Close();
    if (::rename(m_strTempHostPath.c_str(), m_strStoreHostPath.c_str()) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    m_bCommitted = true;
    return true;
}

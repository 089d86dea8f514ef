#include "platform/base/NamedMutex.h"

#include "platform/base/WinError.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Stems longer than this keep a prefix and end in a hash of the whole name.
constexpr size_t MAX_STEM = 180;
constexpr size_t HASHED_PREFIX = 150;
constexpr char OWNED = 1;
constexpr char FREE = 0;

}

std::optional<std::string> CNamedMutexFiles::RuntimeFolder()
{
    std::string strFolder;
    const char* pszRuntime = std::getenv("XDG_RUNTIME_DIR");
    if (pszRuntime && pszRuntime[0] == '/') {
        strFolder = std::string(pszRuntime) + "/archivora";
    } else {
        std::error_code ec;
        std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
        strFolder = (ec ? std::filesystem::path("/tmp") : temp).string() + "/archivora-" + std::to_string(getuid());
    }
    if (mkdir(strFolder.c_str(), 0700) != 0 && errno != EEXIST) {
        SetLastErrorFromErrno();
        return std::nullopt;
    }
    // Someone else's folder (or a link planted in a shared temporary folder)
    // must not hold our locks.
    struct stat st { };
    if (lstat(strFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()
        || (st.st_mode & 077) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    return strFolder;
}

namespace {

int OpenFile(const std::string& strPath)
{
    return open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

int Flock(int fd, int nOperation)
{
    int nResult;
    do
        nResult = flock(fd, nOperation);
    while (nResult != 0 && errno == EINTR);
    return nResult;
}

// Holds the folder's guard lock for its lifetime.
class CGuard {
public:
    explicit CGuard(const std::string& strFolder)
        : m_fd(OpenFile(strFolder + "/guard"))
    {
        if (m_fd >= 0 && Flock(m_fd, LOCK_EX) != 0) {
            close(m_fd);
            m_fd = -1;
        }
    }
    ~CGuard()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CGuard(const CGuard&) = delete;
    CGuard& operator=(const CGuard&) = delete;

    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd;
};

}

std::unique_ptr<CNamedMutexFiles> CNamedMutexFiles::Open(
    std::string_view strName, EOpen eOpen, bool bLockIfCreated, bool* pbExisted)
{
    std::optional<std::string> strFolder = RuntimeFolder();
    if (!strFolder)
        return nullptr;
    CGuard guard(*strFolder);
    if (!guard.IsHeld()) {
        SetLastErrorFromErrno();
        return nullptr;
    }

    // Until the presence lock is shared, the destructor only closes what is
    // open: it must not take the guard, which this call holds.
    std::unique_ptr<CNamedMutexFiles> pFiles(new CNamedMutexFiles);
    pFiles->m_strFolder = *strFolder;
    pFiles->m_strStem = FileStem(strName);
    std::string strBase = pFiles->m_strFolder + "/" + pFiles->m_strStem;
    pFiles->m_fdPresence = OpenFile(strBase + ".present");
    if (pFiles->m_fdPresence < 0) {
        SetLastErrorFromErrno();
        return nullptr;
    }
    // An exclusive lock is granted only when no process holds a shared one.
    bool bExisted = Flock(pFiles->m_fdPresence, LOCK_EX | LOCK_NB) != 0;
    if (!bExisted && eOpen == EOpen::OpenExisting) {
        unlink((strBase + ".present").c_str());
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    pFiles->m_fdOwner = OpenFile(strBase + ".owner");
    if (pFiles->m_fdOwner < 0 || Flock(pFiles->m_fdPresence, LOCK_SH) != 0) {
        SetLastErrorFromErrno();
        return nullptr;
    }
    pFiles->m_bJoined = true;
    // A new mutex starts unowned, whatever a process that died long ago left in the file.
    if (!bExisted)
        pFiles->MarkOwned(false);
    // Nobody else can have the owner lock of a mutex that did not exist.
    if (!bExisted && bLockIfCreated) {
        [[maybe_unused]] ELock eLock = pFiles->TryLock();
    }
    if (pbExisted)
        *pbExisted = bExisted;
    return pFiles;
}

CNamedMutexFiles::~CNamedMutexFiles()
{
    if (!m_bJoined) {
        if (m_fdOwner >= 0)
            close(m_fdOwner);
        if (m_fdPresence >= 0)
            close(m_fdPresence);
        return;
    }
    CGuard guard(m_strFolder);
    close(m_fdOwner);
    // The last process to leave finds no other shared lock and removes the
    // files; the guard keeps anyone from joining meanwhile.
    if (guard.IsHeld() && Flock(m_fdPresence, LOCK_EX | LOCK_NB) == 0) {
        std::string strBase = m_strFolder + "/" + m_strStem;
        unlink((strBase + ".owner").c_str());
        unlink((strBase + ".present").c_str());
    }
    close(m_fdPresence);
}

CNamedMutexFiles::ELock CNamedMutexFiles::TryLock()
{
    if (Flock(m_fdOwner, LOCK_EX | LOCK_NB) != 0)
        return ELock::Busy;
    m_bHeld = true;
    char chState = FREE;
    bool bAbandoned = pread(m_fdOwner, &chState, 1, 0) == 1 && chState == OWNED;
    return bAbandoned ? ELock::AcquiredAbandoned : ELock::Acquired;
}

void CNamedMutexFiles::MarkOwned(bool bOwned)
{
    const char chState = bOwned ? OWNED : FREE;
    // A failed write only loses the abandonment report, never the lock itself.
    [[maybe_unused]] ssize_t nWritten = pwrite(m_fdOwner, &chState, 1, 0);
}

void CNamedMutexFiles::Unlock()
{
    if (!m_bHeld)
        return;
    Flock(m_fdOwner, LOCK_UN);
    m_bHeld = false;
}

std::string CNamedMutexFiles::FileStem(std::string_view strName)
{
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string strStem;
    for (unsigned char ch : strName) {
        bool bPlain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-'
            || ch == '_';
        if (bPlain) {
            strStem += static_cast<char>(ch);
        } else {
            strStem += '%';
            strStem += HEX[ch >> 4];
            strStem += HEX[ch & 0xF];
        }
    }
    if (strStem.size() <= MAX_STEM)
        return strStem;
    // FNV-1a over the whole name keeps shortened stems apart.
    ULONGLONG nHash = 14695981039346656037ULL;
    for (unsigned char ch : strName)
        nHash = (nHash ^ ch) * 1099511628211ULL;
    char szHash[17];
    std::snprintf(szHash, sizeof szHash, "%016llx", static_cast<unsigned long long>(nHash));
    return strStem.substr(0, HASHED_PREFIX) + "~" + szHash;
}

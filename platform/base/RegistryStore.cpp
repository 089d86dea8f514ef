#include "platform/base/RegistryStore.h"

#include "platform/base/Clock.h"
#include "platform/base/HostFile.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/RegistryFormat.h"
#include "platform/base/WinError.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The settings folder holds every password the program keeps: it is made,
// and kept, the user's alone.
void MakeSettingsFolder(const std::string& strFolder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(strFolder, ec);
    const fs::perms perms = fs::status(strFolder, ec).permissions();
    if (!ec && (perms & (fs::perms::group_all | fs::perms::others_all)) != fs::perms::none)
        fs::permissions(strFolder, fs::perms::group_all | fs::perms::others_all, fs::perm_options::remove, ec);
}

// An open descriptor, closed when the object goes.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~CFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;

    int Get() const { return m_fd; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(m_fd, -1); }
    // Closes now, reporting the error a delayed write may surface at close.
    [[nodiscard]] int Close()
    {
        int nResult = ::close(m_fd);
        m_fd = -1;
        return nResult;
    }

private:
    int m_fd;
};

// Opens `strPath` and takes an exclusive lock on it, waiting for other processes.
[[nodiscard]] DWORD LockFile(const std::string& strPath, std::unique_ptr<CFileDescriptor>& pLock)
{
    int fd = ::open(strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Win32ErrorFromErrno(errno);
    pLock = std::make_unique<CFileDescriptor>(fd);
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return Win32ErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

[[nodiscard]] DWORD WriteAll(int fd, const std::string& strText)
{
    for (size_t nDone = 0; nDone < strText.size();) {
        ssize_t nWritten = ::write(fd, strText.data() + nDone, strText.size() - nDone);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
            return nWritten < 0 ? Win32ErrorFromErrno(errno) : ERROR_WRITE_FAULT;
        nDone += static_cast<size_t>(nWritten);
    }
    return ERROR_SUCCESS;
}

ULONGLONG FileTimeFromTimespec(const timespec& time)
{
    return (static_cast<ULONGLONG>(time.tv_sec) + FILETIME_UNIX_EPOCH_SECONDS) * FILETIME_UNITS_PER_SECOND
        + static_cast<ULONGLONG>(time.tv_nsec) / 100;
}

void SetLastWriteTimes(CRegistryNode& node, ULONGLONG nTime)
{
    node.SetLastWriteTime(nTime);
    for (const auto& [strFolded, pSubkey] : node.GetSubkeys())
        SetLastWriteTimes(*pSubkey, nTime);
}

// The current UTC time as "20261206T210500Z", for the names of set-aside files.
std::string TimeStamp()
{
    auto nSeconds = static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
    tm parts {};
    gmtime_r(&nSeconds, &parts);
    char szStamp[32];
    std::strftime(szStamp, sizeof szStamp, "%Y%m%dT%H%M%SZ", &parts);
    return szStamp;
}

struct ProblemList {
    std::mutex mutex;
    std::vector<std::string> problems;
};

ProblemList& Problems()
{
    static ProblemList* pList = new ProblemList; // never destroyed: read during exit
    return *pList;
}

}

/****************************** Store lifecycle ******************************/

CRegistryStore& CRegistryStore::ForRoot(ERegistryRoot eRoot)
{
    // Never destroyed: handles may be used while the process exits.
    static CRegistryStore* pStores[] = {
        new CRegistryStore("ClassesRoot.reg"),
        new CRegistryStore("CurrentUser.reg"),
        new CRegistryStore("LocalMachine.reg"),
    };
    return *pStores[static_cast<int>(eRoot)];
}

CRegistryStore::CRegistryStore(std::string strFileName)
    : m_strFileName(std::move(strFileName))
    , m_pRoot(std::make_shared<CRegistryNode>())
{
}

// Follows the program folder, which tests change between cases.
void CRegistryStore::UpdatePaths()
{
    std::string strFolder = GetProgramFolderHostPath() + "/settings";
    if (strFolder == m_strFolder)
        return;
    m_strFolder = strFolder;
    m_strPath = strFolder + "/" + m_strFileName;
    m_pRoot = std::make_shared<CRegistryNode>();
    m_identity = {};
    m_fileText.reset();
    m_bLoaded = false;
    ++m_nGeneration;
}

CRegistryStore::CFileIdentity CRegistryStore::IdentityOf(const std::string& strPath)
{
    struct stat info { };
    if (::stat(strPath.c_str(), &info) != 0)
        return {};
    auto nanoseconds = [](const timespec& time) { return time.tv_sec * 1000000000LL + time.tv_nsec; };
    return { true, info.st_dev, info.st_ino, info.st_size, nanoseconds(info.st_mtim), nanoseconds(info.st_ctim) };
}

/********************************** Reading **********************************/

DWORD CRegistryStore::Refresh()
{
    UpdatePaths();
    if (m_bLoaded && IdentityOf(m_strPath) == m_identity)
        return ERROR_SUCCESS;
    MakeSettingsFolder(m_strFolder);
    // The lock keeps two processes from setting aside the same damaged file. Files
    // are only ever replaced whole, so reading without it is safe, as it must be
    // when the settings folder is read-only.
    std::unique_ptr<CFileDescriptor> pLock;
    static_cast<void>(LockFile(m_strPath + ".lock", pLock));
    return RefreshLocked();
}

DWORD CRegistryStore::RefreshLocked()
{
    if (m_bLoaded && IdentityOf(m_strPath) == m_identity)
        return ERROR_SUCCESS;
    return Load();
}

DWORD CRegistryStore::Load()
{
    auto pRoot = std::make_shared<CRegistryNode>();
    CFileIdentity identity;
    std::optional<std::string> fileText;
    // A pipe or device in the file's place is an error, never a wait.
    CFileDescriptor file(OpenRegularHostFile(m_strPath, O_RDONLY));
    if (file.Get() < 0 && GetLastError() != ERROR_FILE_NOT_FOUND)
        return GetLastError();
    if (file.Get() >= 0) {
        struct stat info { };
        std::string strText;
        if (::fstat(file.Get(), &info) != 0)
            return Win32ErrorFromErrno(errno);
        if (DWORD dwError = ReadHostFileToEnd(file.Get(), strText))
            return dwError;
        std::string strError;
        if (ParseRegistryText(strText, *pRoot, strError)) {
            identity = IdentityOf(m_strPath);
            SetLastWriteTimes(*pRoot, FileTimeFromTimespec(info.st_mtim));
            fileText = std::move(strText);
        } else {
            pRoot = std::make_shared<CRegistryNode>();
            SetAside(strError);
            identity = IdentityOf(m_strPath);
        }
    }
    m_pRoot = std::move(pRoot);
    m_identity = identity;
    m_fileText = std::move(fileText);
    m_bLoaded = true;
    ++m_nGeneration;
    return ERROR_SUCCESS;
}

// Moves a damaged file out of the way, keeping it for inspection.
void CRegistryStore::SetAside(const std::string& strReason)
{
    std::string strBase = m_strPath + ".damaged-" + TimeStamp();
    std::string strAside = strBase;
    for (int nTry = 2; std::filesystem::exists(strAside); ++nTry)
        strAside = strBase + "-" + std::to_string(nTry);
    std::string strProblem = "The settings file " + m_strPath + " is damaged (" + strReason + ")";
    if (::rename(m_strPath.c_str(), strAside.c_str()) == 0)
        strProblem += "; it was set aside as " + strAside + " and its settings start empty.";
    else
        strProblem += " and could not be set aside; its settings start empty and the next change replaces it.";
    ReportRegistryProblem(strProblem);
}

/********************************** Writing **********************************/

DWORD CRegistryStore::Change(const std::function<DWORD(CRegistryNode& root, bool& bChanged)>& fnChange)
{
    if (m_nBatchDepth > 0) {
        if (m_dwBatchError != ERROR_SUCCESS)
            return m_dwBatchError;
        bool bChanged = false;
        if (DWORD dwError = fnChange(*m_pRoot, bChanged)) {
            if (bChanged)
                m_dwBatchError = dwError;
            return dwError;
        }
        m_bBatchChanged |= bChanged;
        return ERROR_SUCCESS;
    }
    UpdatePaths();
    MakeSettingsFolder(m_strFolder);
    std::unique_ptr<CFileDescriptor> pLock;
    if (DWORD dwError = LockFile(m_strPath + ".lock", pLock))
        return dwError;
    if (DWORD dwError = RefreshLocked())
        return dwError;
    bool bChanged = false;
    if (DWORD dwError = fnChange(*m_pRoot, bChanged)) {
        if (bChanged)
            m_bLoaded = false; // a change that failed halfway is not kept: read the file again
        return dwError;
    }
    if (!bChanged)
        return ERROR_SUCCESS;
    DWORD dwError = Save();
    if (dwError != ERROR_SUCCESS)
        m_bLoaded = false; // the tree holds a change the file does not: read the file again
    return dwError;
}

DWORD CRegistryStore::BeginBatch()
{
    if (m_nBatchDepth++ > 0)
        return ERROR_SUCCESS;
    UpdatePaths();
    MakeSettingsFolder(m_strFolder);
    std::unique_ptr<CFileDescriptor> pLock;
    DWORD dwError = LockFile(m_strPath + ".lock", pLock);
    if (dwError == ERROR_SUCCESS)
        dwError = RefreshLocked();
    if (dwError != ERROR_SUCCESS) {
        m_nBatchDepth = 0;
        return dwError;
    }
    m_fdBatchLock = pLock->Release();
    m_bBatchChanged = false;
    m_dwBatchError = ERROR_SUCCESS;
    return ERROR_SUCCESS;
}

DWORD CRegistryStore::EndBatch()
{
    if (m_nBatchDepth == 0)
        return ERROR_INVALID_FUNCTION;
    if (--m_nBatchDepth > 0)
        return ERROR_SUCCESS;
    DWORD dwError = m_dwBatchError;
    if (dwError == ERROR_SUCCESS && m_bBatchChanged)
        dwError = Save();
    if (dwError != ERROR_SUCCESS)
        m_bLoaded = false; // the tree holds changes the file does not: read the file again
    CFileDescriptor lock(m_fdBatchLock);
    m_fdBatchLock = -1;
    m_bBatchChanged = false;
    m_dwBatchError = ERROR_SUCCESS;
    return dwError;
}

DWORD CRegistryStore::Save()
{
    std::string strText = FormatRegistryText(*m_pRoot);
    // Called under the file lock with the tree up to date, so the file still holds
    // m_fileText: a change that ends where it began (a list rewritten as it was)
    // costs no write and no fsync.
    if (m_fileText == strText)
        return ERROR_SUCCESS;
    // A settings file that is a symbolic link stays one: the file it names is
    // replaced, through a temporary file beside it.
    std::string strTarget;
    if (DWORD dwError = ResolveHostLink(m_strPath, strTarget))
        return dwError;
    std::string strTemp = strTarget + ".tmp";
    CFileDescriptor file(::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (file.Get() < 0)
        return Win32ErrorFromErrno(errno);
    DWORD dwError = WriteAll(file.Get(), strText);
    if (file.Close() != 0 && dwError == ERROR_SUCCESS)
        dwError = Win32ErrorFromErrno(errno);
    if (dwError == ERROR_SUCCESS)
        dwError = ReplaceHostFileDurably(strTemp, strTarget, ReplaceMode::KeepOwnMode);
    if (dwError != ERROR_SUCCESS) {
        ::unlink(strTemp.c_str());
        return dwError;
    }
    m_identity = IdentityOf(m_strPath);
    m_fileText = std::move(strText);
    return ERROR_SUCCESS;
}

/********************************** Problems *********************************/

void ReportRegistryProblem(const std::string& strProblem)
{
    std::fprintf(stderr, "%s\n", strProblem.c_str());
    ProblemList& list = Problems();
    std::lock_guard lock(list.mutex);
    list.problems.push_back(strProblem);
}

std::vector<std::string> GetRegistryProblems()
{
    ProblemList& list = Problems();
    std::lock_guard lock(list.mutex);
    return list.problems;
}

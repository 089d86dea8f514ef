#include "platform/base/FileHandle.h"

#include "platform/base/Clock.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/HostTime.h"
#include "platform/base/KernelObject.h"
#include "platform/base/PathMap.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/*********************************************************************
** Open files of this process: share modes and range locks
**********************************************************************/

class CFileObject;

using FileKey = std::pair<dev_t, ino_t>;

struct OpenRecord {
    const CFileObject* pOwner;
    DWORD dwAccess; // GENERIC_READ and GENERIC_WRITE bits
    DWORD dwShare;
};

struct LockRecord {
    const CFileObject* pOwner;
    ULONGLONG nOffset;
    ULONGLONG nLength;

    bool Overlaps(ULONGLONG nOtherOffset, ULONGLONG nOtherLength) const
    {
        if (nLength == 0 || nOtherLength == 0)
            return false;
        return nOffset < nOtherOffset + nOtherLength && nOtherOffset < nOffset + nLength;
    }
};

struct OpenFile {
    std::vector<OpenRecord> opens;
    std::vector<LockRecord> locks;
};

// Every file this process has open, by device and inode, so that two paths naming
// one file meet here. Guarded by one mutex, held across an open so that the share
// check and the open itself are one step.
struct OpenFileTable {
    std::mutex mutex;
    std::map<FileKey, OpenFile> files;
};

OpenFileTable& Files()
{
    static OpenFileTable* pTable = new OpenFileTable; // never destroyed: handles may close during exit
    return *pTable;
}

bool SharesConflict(const OpenRecord& existing, DWORD dwAccess, DWORD dwShare)
{
    if ((dwAccess & GENERIC_READ) && !(existing.dwShare & FILE_SHARE_READ))
        return true;
    if ((dwAccess & GENERIC_WRITE) && !(existing.dwShare & FILE_SHARE_WRITE))
        return true;
    if ((existing.dwAccess & GENERIC_READ) && !(dwShare & FILE_SHARE_READ))
        return true;
    return (existing.dwAccess & GENERIC_WRITE) && !(dwShare & FILE_SHARE_WRITE);
}

// The object behind a file HANDLE. It owns the descriptor and its place in the
// open-file table; both go when the last handle to it closes.
class CFileObject : public CKernelObject {
public:
    CFileObject(int fd, FileKey key, DWORD dwAccess, std::string strHostPath, DWORD dwFlags, bool bFolder)
        : m_fd(fd)
        , m_key(key)
        , m_dwAccess(dwAccess)
        , m_strHostPath(std::move(strHostPath))
        , m_bDeleteOnClose((dwFlags & FILE_FLAG_DELETE_ON_CLOSE) != 0)
        , m_bOverlapped((dwFlags & FILE_FLAG_OVERLAPPED) != 0)
        , m_bFolder(bFolder)
    {
    }

    ~CFileObject() override
    {
        std::array<std::shared_ptr<CFileAttachment>, ATTACHMENT_KINDS> attachments;
        {
            std::lock_guard lock(m_attachMutex);
            attachments.swap(m_attachments);
        }
        for (const auto& pAttachment : attachments) {
            if (pAttachment)
                pAttachment->OnFileClosed();
        }
        {
            OpenFileTable& table = Files();
            std::lock_guard lock(table.mutex);
            auto it = table.files.find(m_key);
            if (it != table.files.end()) {
                std::erase_if(it->second.opens, [this](const OpenRecord& r) { return r.pOwner == this; });
                std::erase_if(it->second.locks, [this](const LockRecord& r) { return r.pOwner == this; });
                if (it->second.opens.empty())
                    table.files.erase(it);
            }
        }
        if (m_bDeleteOnClose)
            ::unlink(m_strHostPath.c_str());
        ::close(m_fd);
    }

    CFileObject(const CFileObject&) = delete;
    CFileObject& operator=(const CFileObject&) = delete;

    int Fd() const { return m_fd; }
    const FileKey& Key() const { return m_key; }
    bool CanRead() const { return m_dwAccess & GENERIC_READ; }
    bool CanWrite() const { return m_dwAccess & GENERIC_WRITE; }

    // Whether [nOffset, nOffset + nLength) touches a range locked through another object.
    bool RangeLockedByOthers(ULONGLONG nOffset, ULONGLONG nLength) const
    {
        OpenFileTable& table = Files();
        std::lock_guard lock(table.mutex);
        auto it = table.files.find(m_key);
        if (it == table.files.end())
            return false;
        return std::any_of(it->second.locks.begin(), it->second.locks.end(),
            [&](const LockRecord& r) { return r.pOwner != this && r.Overlaps(nOffset, nLength); });
    }

    CFileHandleInfo Info() const { return CFileHandleInfo { m_strHostPath, m_bFolder, m_bOverlapped }; }

    std::shared_ptr<CFileAttachment> Attachment(
        EFileAttachment eKind, const std::function<std::shared_ptr<CFileAttachment>()>& fnMake)
    {
        std::lock_guard lock(m_attachMutex);
        std::shared_ptr<CFileAttachment>& pAttachment = m_attachments[static_cast<size_t>(eKind)];
        if (!pAttachment && fnMake)
            pAttachment = fnMake();
        return pAttachment;
    }

private:
    static constexpr size_t ATTACHMENT_KINDS = 2;

    int m_fd;
    FileKey m_key;
    DWORD m_dwAccess;
    std::string m_strHostPath;
    bool m_bDeleteOnClose;
    bool m_bOverlapped;
    bool m_bFolder;
    std::mutex m_attachMutex;
    std::array<std::shared_ptr<CFileAttachment>, ATTACHMENT_KINDS> m_attachments;
};

std::shared_ptr<CFileObject> LookupFile(HANDLE hFile)
{
    return LookupKernelHandleAs<CFileObject>(hFile);
}

BOOL FailWith(DWORD dwError)
{
    SetLastError(dwError);
    return FALSE;
}

BOOL FailFromErrno()
{
    SetLastErrorFromErrno();
    return FALSE;
}

ULONGLONG Join(DWORD dwLow, DWORD dwHigh)
{
    return (static_cast<ULONGLONG>(dwHigh) << 32) | dwLow;
}

/*********************************************************************
** Opening
**********************************************************************/

DWORD AccessBits(DWORD dwDesiredAccess)
{
    DWORD dwAccess = dwDesiredAccess & (GENERIC_READ | GENERIC_WRITE);
    if (dwDesiredAccess & GENERIC_ALL)
        dwAccess |= GENERIC_READ | GENERIC_WRITE;
    return dwAccess;
}

// ERROR_PATH_NOT_FOUND when the folder that should hold the file is missing, as
// Windows tells a missing folder from a missing file.
DWORD MissingFileError(const std::string& strHostPath)
{
    std::string::size_type nSlash = strHostPath.find_last_of('/');
    if (nSlash == std::string::npos || nSlash == 0)
        return ERROR_FILE_NOT_FOUND;
    struct stat st { };
    std::string strParent = strHostPath.substr(0, nSlash);
    if (::stat(strParent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

HANDLE FailOpen(DWORD dwError)
{
    SetLastError(dwError);
    return INVALID_HANDLE_VALUE;
}

}

HANDLE CreateFile(LPCTSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
    LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    if (!lpFileName || !*lpFileName)
        return FailOpen(ERROR_PATH_NOT_FOUND);
    std::string strHostPath;
    if (!HostPathFromProgramPath(lpFileName, strHostPath))
        return INVALID_HANDLE_VALUE;

    DWORD dwAccess = AccessBits(dwDesiredAccess);
    int nFlags = O_CLOEXEC;
    bool bTruncate = false;
    switch (dwCreationDisposition) {
    case CREATE_NEW:
        nFlags |= O_CREAT | O_EXCL;
        break;
    case CREATE_ALWAYS:
        nFlags |= O_CREAT;
        bTruncate = true;
        break;
    case OPEN_EXISTING:
        break;
    case OPEN_ALWAYS:
        nFlags |= O_CREAT;
        break;
    case TRUNCATE_EXISTING:
        if (!(dwAccess & GENERIC_WRITE))
            return FailOpen(ERROR_INVALID_PARAMETER);
        bTruncate = true;
        break;
    default:
        return FailOpen(ERROR_INVALID_PARAMETER);
    }
    // Truncation needs a writable descriptor even when the caller asked only to read.
    if ((dwAccess & GENERIC_WRITE) || bTruncate)
        nFlags |= (dwAccess & GENERIC_READ) || bTruncate ? O_RDWR : O_WRONLY;
    else
        nFlags |= O_RDONLY;
    if (dwFlagsAndAttributes & FILE_FLAG_WRITE_THROUGH)
        nFlags |= O_DSYNC;
    if (dwFlagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT)
        nFlags |= O_NOFOLLOW;
    mode_t nMode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    if (IsOwnerOnlySecurity(lpSecurityAttributes))
        nMode &= 0600;

    OpenFileTable& table = Files();
    std::lock_guard lock(table.mutex);

    // Check the share modes of the file's other opens before anything changes it.
    struct stat st { };
    bool bExisted = ::stat(strHostPath.c_str(), &st) == 0;
    if (bExisted) {
        auto it = table.files.find(FileKey(st.st_dev, st.st_ino));
        if (it != table.files.end()) {
            for (const OpenRecord& record : it->second.opens) {
                if (SharesConflict(record, dwAccess, dwShareMode))
                    return FailOpen(ERROR_SHARING_VIOLATION);
            }
        }
    }

    // O_NONBLOCK keeps a FIFO or device from holding the open (and the table's
    // lock) until a peer appears; it is cleared again at once below.
    int fd = ::open(strHostPath.c_str(), nFlags | O_NONBLOCK, nMode);
    if (fd < 0) {
        int nErrno = errno;
        if (nErrno == ENOENT)
            return FailOpen(MissingFileError(strHostPath));
        if (nErrno == EEXIST)
            return FailOpen(ERROR_FILE_EXISTS);
        if (nErrno == ELOOP && (dwFlagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT))
            return FailOpen(ERROR_CANT_ACCESS_FILE);
        return FailOpen(Win32ErrorFromErrno(nErrno));
    }
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 || ::fstat(fd, &st) != 0
        || (S_ISDIR(st.st_mode) && !(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS))) {
        DWORD dwError = S_ISDIR(st.st_mode) ? ERROR_ACCESS_DENIED : Win32ErrorFromErrno(errno);
        ::close(fd);
        return FailOpen(dwError);
    }
    if (bTruncate && ::ftruncate(fd, 0) != 0) {
        DWORD dwError = Win32ErrorFromErrno(errno);
        ::close(fd);
        return FailOpen(dwError);
    }

    FileKey key(st.st_dev, st.st_ino);
    auto pObject
        = std::make_shared<CFileObject>(fd, key, dwAccess, strHostPath, dwFlagsAndAttributes, S_ISDIR(st.st_mode));
    table.files[key].opens.push_back({ pObject.get(), dwAccess, dwShareMode });
    bool bReportExisting = bExisted && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(bReportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return CreateKernelHandle(std::move(pObject));
}

/*********************************************************************
** Reading and writing
**********************************************************************/

namespace {

// Fails with ERROR_LOCK_VIOLATION when the transfer at the file pointer would touch
// another handle's locked range.
[[nodiscard]] BOOL CheckTransferUnlocked(const CFileObject& file, DWORD nBytes)
{
    off_t nPosition = ::lseek(file.Fd(), 0, SEEK_CUR);
    if (nPosition < 0)
        return FailFromErrno();
    if (file.RangeLockedByOthers(static_cast<ULONGLONG>(nPosition), nBytes))
        return FailWith(ERROR_LOCK_VIOLATION);
    return TRUE;
}

}

BOOL ReadFile(
    HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = 0;
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToRead))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (!pFile->CanRead())
        return FailWith(ERROR_ACCESS_DENIED);
    if (!CheckTransferUnlocked(*pFile, nNumberOfBytesToRead))
        return FALSE;
    auto* pBytes = static_cast<BYTE*>(lpBuffer);
    DWORD nDone = 0;
    while (nDone < nNumberOfBytesToRead) {
        ssize_t nRead = ::read(pFile->Fd(), pBytes + nDone, nNumberOfBytesToRead - nDone);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            return FailFromErrno();
        if (nRead == 0)
            break;
        nDone += static_cast<DWORD>(nRead);
    }
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = nDone;
    return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
    LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = 0;
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToWrite))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (!pFile->CanWrite())
        return FailWith(ERROR_ACCESS_DENIED);
    if (!CheckTransferUnlocked(*pFile, nNumberOfBytesToWrite))
        return FALSE;
    const auto* pBytes = static_cast<const BYTE*>(lpBuffer);
    DWORD nDone = 0;
    while (nDone < nNumberOfBytesToWrite) {
        ssize_t nWritten = ::write(pFile->Fd(), pBytes + nDone, nNumberOfBytesToWrite - nDone);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten < 0) {
            SetLastErrorFromErrno();
            if (lpNumberOfBytesWritten)
                *lpNumberOfBytesWritten = nDone;
            return FALSE;
        }
        nDone += static_cast<DWORD>(nWritten);
    }
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = nDone;
    return TRUE;
}

/*********************************************************************
** Position and size
**********************************************************************/

BOOL SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer, DWORD dwMoveMethod)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    LONGLONG nBase = 0;
    if (dwMoveMethod == FILE_CURRENT) {
        nBase = ::lseek(pFile->Fd(), 0, SEEK_CUR);
    } else if (dwMoveMethod == FILE_END) {
        struct stat st { };
        nBase = ::fstat(pFile->Fd(), &st) == 0 ? st.st_size : -1;
    } else if (dwMoveMethod != FILE_BEGIN) {
        return FailWith(ERROR_INVALID_PARAMETER);
    }
    if (nBase < 0)
        return FailFromErrno();
    LONGLONG nTarget = 0;
    if (__builtin_add_overflow(nBase, liDistanceToMove.QuadPart, &nTarget))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (nTarget < 0)
        return FailWith(ERROR_NEGATIVE_SEEK);
    if (::lseek(pFile->Fd(), nTarget, SEEK_SET) < 0)
        return FailFromErrno();
    if (lpNewFilePointer)
        lpNewFilePointer->QuadPart = nTarget;
    return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    LARGE_INTEGER liDistance;
    if (lpDistanceToMoveHigh)
        liDistance.QuadPart = static_cast<LONGLONG>(
            Join(static_cast<DWORD>(lDistanceToMove), static_cast<DWORD>(*lpDistanceToMoveHigh)));
    else
        liDistance.QuadPart = lDistanceToMove;

    // Without a high half the new position must fit in 32 bits; check before moving.
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return INVALID_SET_FILE_POINTER;
    off_t nOld = ::lseek(pFile->Fd(), 0, SEEK_CUR);
    LARGE_INTEGER liNew;
    if (!SetFilePointerEx(hFile, liDistance, &liNew, dwMoveMethod))
        return INVALID_SET_FILE_POINTER;
    if (!lpDistanceToMoveHigh && liNew.QuadPart > 0xFFFFFFFFLL) {
        ::lseek(pFile->Fd(), nOld, SEEK_SET);
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<ULONGLONG>(liNew.QuadPart) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(liNew.QuadPart & 0xFFFFFFFF);
}

BOOL SetEndOfFile(HANDLE hFile)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (!pFile->CanWrite())
        return FailWith(ERROR_ACCESS_DENIED);
    off_t nPosition = ::lseek(pFile->Fd(), 0, SEEK_CUR);
    if (nPosition < 0 || ::ftruncate(pFile->Fd(), nPosition) != 0)
        return FailFromErrno();
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (!pFile->CanWrite())
        return FailWith(ERROR_ACCESS_DENIED);
    if (::fsync(pFile->Fd()) != 0)
        return FailFromErrno();
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (!lpFileSize)
        return FailWith(ERROR_INVALID_PARAMETER);
    struct stat st { };
    if (::fstat(pFile->Fd(), &st) != 0)
        return FailFromErrno();
    lpFileSize->QuadPart = st.st_size;
    return TRUE;
}

DWORD GetFileType(HANDLE hFile)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FILE_TYPE_UNKNOWN;
    struct stat st { };
    if (::fstat(pFile->Fd(), &st) != 0) {
        SetLastErrorFromErrno();
        return FILE_TYPE_UNKNOWN;
    }
    SetLastError(NO_ERROR);
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return FILE_TYPE_DISK;
    if (S_ISCHR(st.st_mode))
        return FILE_TYPE_CHAR;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        return FILE_TYPE_PIPE;
    return FILE_TYPE_UNKNOWN;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(hFile, &liSize))
        return INVALID_FILE_SIZE;
    if (lpFileSizeHigh)
        *lpFileSizeHigh = static_cast<DWORD>(static_cast<ULONGLONG>(liSize.QuadPart) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(liSize.QuadPart & 0xFFFFFFFF);
}

/*********************************************************************
** Range locks
**********************************************************************/

BOOL LockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToLockLow,
    DWORD nNumberOfBytesToLockHigh)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    LockRecord record { pFile.get(), Join(dwFileOffsetLow, dwFileOffsetHigh),
        Join(nNumberOfBytesToLockLow, nNumberOfBytesToLockHigh) };
    if (record.nOffset > static_cast<ULONGLONG>(std::numeric_limits<LONGLONG>::max()) - record.nLength)
        return FailWith(ERROR_INVALID_PARAMETER);
    OpenFileTable& table = Files();
    std::lock_guard lock(table.mutex);
    OpenFile& file = table.files[pFile->Key()];
    for (const LockRecord& held : file.locks) {
        if (held.Overlaps(record.nOffset, record.nLength))
            return FailWith(ERROR_LOCK_VIOLATION);
    }
    file.locks.push_back(record);
    return TRUE;
}

BOOL UnlockFile(HANDLE hFile, DWORD dwFileOffsetLow, DWORD dwFileOffsetHigh, DWORD nNumberOfBytesToUnlockLow,
    DWORD nNumberOfBytesToUnlockHigh)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    ULONGLONG nOffset = Join(dwFileOffsetLow, dwFileOffsetHigh);
    ULONGLONG nLength = Join(nNumberOfBytesToUnlockLow, nNumberOfBytesToUnlockHigh);
    OpenFileTable& table = Files();
    std::lock_guard lock(table.mutex);
    OpenFile& file = table.files[pFile->Key()];
    auto it = std::find_if(file.locks.begin(), file.locks.end(),
        [&](const LockRecord& r) { return r.pOwner == pFile.get() && r.nOffset == nOffset && r.nLength == nLength; });
    if (it == file.locks.end())
        return FailWith(ERROR_NOT_LOCKED);
    file.locks.erase(it);
    return TRUE;
}

/*********************************************************************
** Times
**********************************************************************/

BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime, LPFILETIME lpLastWriteTime)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    struct statx stx { };
    if (::statx(pFile->Fd(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &stx) != 0)
        return FailFromErrno();
    if (lpCreationTime) {
        const statx_timestamp& birth = (stx.stx_mask & STATX_BTIME) ? stx.stx_btime : stx.stx_mtime;
        *lpCreationTime = FileTimeFromTimespec(birth.tv_sec, birth.tv_nsec);
    }
    if (lpLastAccessTime)
        *lpLastAccessTime = FileTimeFromTimespec(stx.stx_atime.tv_sec, stx.stx_atime.tv_nsec);
    if (lpLastWriteTime)
        *lpLastWriteTime = FileTimeFromTimespec(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec);
    return TRUE;
}

BOOL SetFileTime(HANDLE hFile, const FILETIME*, const FILETIME* lpLastAccessTime, const FILETIME* lpLastWriteTime)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    if (!pFile->CanWrite())
        return FailWith(ERROR_ACCESS_DENIED);
    timespec times[2] = { TimespecFromFileTime(lpLastAccessTime), TimespecFromFileTime(lpLastWriteTime) };
    if (::futimens(pFile->Fd(), times) != 0)
        return FailFromErrno();
    return TRUE;
}

/*********************************************************************
** Services' state
**********************************************************************/

BOOL GetFileHandleInfo(HANDLE hFile, CFileHandleInfo& info)
{
    auto pFile = LookupFile(hFile);
    if (!pFile)
        return FALSE;
    info = pFile->Info();
    return TRUE;
}

std::shared_ptr<CFileAttachment> GetFileAttachment(
    HANDLE hFile, EFileAttachment eKind, const std::function<std::shared_ptr<CFileAttachment>()>& fnMake)
{
    auto pFile = LookupFile(hFile);
    return pFile ? pFile->Attachment(eKind, fnMake) : nullptr;
}

#include "platform/base/ChangeNotify.h"

#include "platform/base/ChangeWatch.h"
#include "platform/base/FileHandle.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>

#include <sys/stat.h>

namespace {

constexpr DWORD KNOWN_FILTERS = FILE_NOTIFY_CHANGE_ALL;
constexpr size_t ENTRY_HEADER_SIZE = offsetof(FILE_NOTIFY_INFORMATION, FileName);

bool IsValidFilter(DWORD dwFilter)
{
    return dwFilter != 0 && (dwFilter & ~KNOWN_FILTERS) == 0;
}

/******************************************************************************
 * Change-notification handles
 ******************************************************************************/

// Signalled while changes came that no wait has seen since it was armed.
class CChangeNotificationObject
    : public CWaitableObject
    , public CChangeSink {
public:
    bool IsSignalledFor(DWORD) override { return m_nChanges > m_nArmedAt; }
    bool Acquire(DWORD) override
    {
        m_nSeenByWait = m_nChanges;
        return false;
    }
    void OnChanges(const std::vector<CChangeEntry>&, bool) override
    {
        auto lock = LockWaitState();
        ++m_nChanges;
        WakeWaiters();
    }
    void Rearm()
    {
        auto lock = LockWaitState();
        m_nArmedAt = m_nSeenByWait;
    }

    std::shared_ptr<CChangeSubscription> m_pSubscription;

private:
    unsigned long long m_nChanges { 0 };
    unsigned long long m_nSeenByWait { 0 };
    unsigned long long m_nArmedAt { 0 };
};

/******************************************************************************
 * Folder handles read with ReadDirectoryChangesW
 ******************************************************************************/

// The size of an entry in a read buffer, on a 4-byte boundary.
size_t EntrySize(const std::u16string& name)
{
    return (ENTRY_HEADER_SIZE + name.size() * sizeof(WCHAR) + 3) & ~size_t { 3 };
}

class CDirectoryChanges
    : public CFileAttachment
    , public CChangeSink {
public:
    // Starts watching on the first read; false with the last error set.
    bool Start(const std::string& strHostPath, bool bSubtree, DWORD dwFilter, const std::shared_ptr<CChangeSink>& pSelf)
    {
        std::lock_guard lock(m_mutex);
        if (m_pSubscription)
            return true;
        if (m_bClosed) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        m_pSubscription = WatchHostFolder(strHostPath, bSubtree, dwFilter, pSelf);
        m_nLastReadNs = ChangeClockNs();
        return m_pSubscription != nullptr;
    }

    // A synchronous read: waits for changes (or the end of the handle).
    DWORD ReadNow(BYTE* pBuffer, DWORD nLength, DWORD& nBytes)
    {
        std::unique_lock lock(m_mutex);
        unsigned long long nAborts = m_nAborts;
        m_ready.wait(lock, [&] { return !m_queue.empty() || m_bClosed || m_nAborts != nAborts; });
        if (m_queue.empty())
            return ERROR_OPERATION_ABORTED;
        return FillLocked(pBuffer, nLength, nBytes);
    }

    // An overlapped read: completes at once when changes wait, else when they come.
    DWORD ReadLater(BYTE* pBuffer, DWORD nLength, LPOVERLAPPED pOverlapped, const CCompletionTarget& target)
    {
        std::lock_guard lock(m_mutex);
        if (m_pending)
            return ERROR_INVALID_PARAMETER; // one read at a time
        pOverlapped->Internal = ERROR_IO_PENDING;
        pOverlapped->InternalHigh = 0;
        m_pending = CPendingRead { pBuffer, nLength, pOverlapped, target };
        if (!m_queue.empty())
            CompletePendingLocked();
        return ERROR_SUCCESS;
    }

    void Abort()
    {
        std::lock_guard lock(m_mutex);
        AbortLocked();
    }

    void OnFileClosed() override
    {
        std::shared_ptr<CChangeSubscription> pSubscription;
        {
            std::lock_guard lock(m_mutex);
            m_bClosed = true;
            AbortLocked();
            pSubscription.swap(m_pSubscription);
        }
        // The tree goes here, outside the lock its sink takes.
    }

    void OnChanges(const std::vector<CChangeEntry>& entries, bool bRescan) override
    {
        std::lock_guard lock(m_mutex);
        size_t nBound = ChangeQueueBound();
        for (const CChangeEntry& entry : entries) {
            if (entry.dwAction == FILE_ACTION_MODIFIED && !m_queue.empty() && m_queue.back() == entry)
                continue; // repeats merge while unread
            if (m_queue.size() >= nBound && !bRescan) {
                m_bOverflowed = true; // what is dropped comes back with the rescan
                continue;
            }
            m_queue.push_back(entry);
        }
        if (m_pending && !m_queue.empty())
            CompletePendingLocked();
        m_ready.notify_all();
    }

private:
    struct CPendingRead {
        BYTE* pBuffer;
        DWORD nLength;
        LPOVERLAPPED pOverlapped;
        CCompletionTarget target;
    };

    void AbortLocked()
    {
        ++m_nAborts;
        if (m_pending) {
            CompleteOverlapped(m_pending->target, m_pending->pOverlapped, ERROR_OPERATION_ABORTED, 0);
            m_pending.reset();
        }
        m_ready.notify_all();
    }

    void CompletePendingLocked()
    {
        DWORD nBytes = 0;
        DWORD dwError = FillLocked(m_pending->pBuffer, m_pending->nLength, nBytes);
        CompleteOverlapped(m_pending->target, m_pending->pOverlapped, dwError, nBytes);
        m_pending.reset();
    }

    // Moves the entries that fit into the buffer; the rest wait.
    DWORD FillLocked(BYTE* pBuffer, DWORD nLength, DWORD& nBytes)
    {
        nBytes = 0;
        std::u16string first = Utf16FromUtf8(m_queue.front().strName);
        DWORD dwResult = ERROR_SUCCESS;
        if (EntrySize(first) > nLength) {
            m_queue.pop_front(); // an entry no buffer of this size can hold is dropped
            dwResult = ERROR_NOTIFY_ENUM_DIR;
        }
        FILE_NOTIFY_INFORMATION* pPrevious = nullptr;
        while (dwResult == ERROR_SUCCESS && !m_queue.empty()) {
            std::u16string name = Utf16FromUtf8(m_queue.front().strName);
            size_t nSize = EntrySize(name);
            if (nBytes + nSize > nLength)
                break;
            auto* pEntry = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(pBuffer + nBytes);
            std::memset(pEntry, 0, nSize);
            pEntry->Action = m_queue.front().dwAction;
            pEntry->FileNameLength = static_cast<DWORD>(name.size() * sizeof(WCHAR));
            std::memcpy(pEntry->FileName, name.data(), name.size() * sizeof(WCHAR));
            if (pPrevious)
                pPrevious->NextEntryOffset
                    = static_cast<DWORD>(reinterpret_cast<BYTE*>(pEntry) - reinterpret_cast<BYTE*>(pPrevious));
            pPrevious = pEntry;
            nBytes += static_cast<DWORD>(nSize);
            m_queue.pop_front();
        }
        // Once there is room again, what overflowed since the last read comes back as additions.
        if (m_bOverflowed && m_queue.size() < ChangeQueueBound() && m_pSubscription) {
            m_bOverflowed = false;
            m_pSubscription->RequestRescan(m_nLastReadNs - 2'000'000'000);
        }
        m_nLastReadNs = ChangeClockNs();
        return dwResult;
    }

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::shared_ptr<CChangeSubscription> m_pSubscription;
    std::deque<CChangeEntry> m_queue;
    bool m_bOverflowed { false };
    std::int64_t m_nLastReadNs { 0 };
    std::optional<CPendingRead> m_pending;
    unsigned long long m_nAborts { 0 };
    bool m_bClosed { false };
};

} // namespace

HANDLE FindFirstChangeNotification(LPCTSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter)
{
    if (!lpPathName || !IsValidFilter(dwNotifyFilter)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string strHostPath;
    struct stat info { };
    if (!HostPathFromProgramPath(lpPathName, strHostPath) || stat(strHostPath.c_str(), &info) != 0
        || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto pObject = std::make_shared<CChangeNotificationObject>();
    pObject->m_pSubscription = WatchHostFolder(strHostPath, bWatchSubtree != FALSE, dwNotifyFilter, pObject);
    if (!pObject->m_pSubscription)
        return INVALID_HANDLE_VALUE;
    return CreateKernelHandle(std::move(pObject));
}

BOOL FindNextChangeNotification(HANDLE hChangeHandle)
{
    auto pObject = LookupKernelHandleAs<CChangeNotificationObject>(hChangeHandle);
    if (!pObject)
        return FALSE;
    pObject->Rearm();
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE hChangeHandle)
{
    if (!LookupKernelHandleAs<CChangeNotificationObject>(hChangeHandle))
        return FALSE;
    return CloseHandle(hChangeHandle);
}

BOOL ReadDirectoryChangesW(HANDLE hDirectory, LPVOID lpBuffer, DWORD nBufferLength, BOOL bWatchSubtree,
    DWORD dwNotifyFilter, LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped,
    LPOVERLAPPED_COMPLETION_ROUTINE lpCompletionRoutine)
{
    CFileHandleInfo info;
    if (!GetFileHandleInfo(hDirectory, info))
        return FALSE;
    CCompletionTarget target = lpOverlapped ? CompletionTargetOf(hDirectory) : CCompletionTarget {};
    if (!info.bFolder || !lpBuffer || reinterpret_cast<ULONG_PTR>(lpBuffer) % 4 != 0 || lpCompletionRoutine
        || !IsValidFilter(dwNotifyFilter) || (lpOverlapped && !target.pPort) || (!lpOverlapped && !lpBytesReturned)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto pChanges = std::static_pointer_cast<CDirectoryChanges>(GetFileAttachment(
        hDirectory, EFileAttachment::ChangeNotices, [] { return std::make_shared<CDirectoryChanges>(); }));
    if (!pChanges || !pChanges->Start(info.strHostPath, bWatchSubtree != FALSE, dwNotifyFilter, pChanges))
        return FALSE;
    auto* pBuffer = static_cast<BYTE*>(lpBuffer);
    DWORD dwError = ERROR_SUCCESS;
    if (lpOverlapped) {
        dwError = pChanges->ReadLater(pBuffer, nBufferLength, lpOverlapped, target);
    } else {
        DWORD nBytes = 0;
        dwError = pChanges->ReadNow(pBuffer, nBufferLength, nBytes);
        *lpBytesReturned = nBytes;
    }
    if (dwError == ERROR_NOTIFY_ENUM_DIR && !lpOverlapped) {
        SetLastError(dwError); // a success with nothing read: the caller must look at the folder itself
        return TRUE;
    }
    if (dwError != ERROR_SUCCESS) {
        SetLastError(dwError);
        return FALSE;
    }
    return TRUE;
}

BOOL CancelIo(HANDLE hFile)
{
    CFileHandleInfo info;
    if (!GetFileHandleInfo(hFile, info))
        return FALSE;
    if (auto pChanges
        = std::static_pointer_cast<CDirectoryChanges>(GetFileAttachment(hFile, EFileAttachment::ChangeNotices, {})))
        pChanges->Abort();
    return TRUE;
}

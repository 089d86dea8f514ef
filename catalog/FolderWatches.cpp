#include "catalog/FolderWatches.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/KernelObject.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/Threads.h"
#include "platform/base/Wait.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// The table and the thread. A change of the table asks the thread to park
// (bParked) outside its wait, makes the change, and lets it go on.
struct CFolderWatchTable {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<HANDLE> handles;
    int nChangesWaiting { 0 };
    bool bParked { false };
    bool bStop { false };
    HANDLE hWake { nullptr };
    HANDLE hThread { nullptr };
    FOLDERWATCHCALLBACK pfnCallback { nullptr };
};

CFolderWatchTable& Table()
{
    static CFolderWatchTable table;
    return table;
}

// Holds the table for a change: the thread, if it runs, is parked meanwhile.
class CTableChange {
public:
    CTableChange()
        : m_table(Table())
        , m_lock(m_table.mutex)
    {
        if (m_table.hThread == nullptr)
            return;
        ++m_table.nChangesWaiting;
        SetEvent(m_table.hWake);
        m_table.changed.wait(m_lock, [&] { return m_table.bParked; });
    }
    ~CTableChange()
    {
        if (m_table.hThread == nullptr)
            return;
        --m_table.nChangesWaiting;
        m_table.changed.notify_all();
    }
    CTableChange(const CTableChange&) = delete;
    CTableChange& operator=(const CTableChange&) = delete;

    CFolderWatchTable& m_table;

private:
    std::unique_lock<std::mutex> m_lock;
};

DWORD FolderWatchThread(LPVOID)
{
    CFolderWatchTable& table = Table();
    std::vector<HANDLE> waitOn;
    for (;;) {
        {
            std::unique_lock lock(table.mutex);
            while (table.nChangesWaiting > 0 && !table.bStop) {
                table.bParked = true;
                table.changed.notify_all();
                table.changed.wait(lock, [&] { return table.nChangesWaiting == 0 || table.bStop; });
                table.bParked = false;
            }
            if (table.bStop)
                return 0;
            waitOn = table.handles;
            waitOn.push_back(table.hWake);
        }
        // The handles stay open during the wait and the callback: a change waits until the thread parks.
        const DWORD dwResult
            = WaitForMultipleObjects(static_cast<DWORD>(waitOn.size()), waitOn.data(), FALSE, FOLDER_WATCH_WAIT_MS);
        const DWORD nIndex = dwResult - WAIT_OBJECT_0;
        if (nIndex < waitOn.size() - 1) {
            table.pfnCallback(static_cast<int>(nIndex));
            FindNextChangeNotification(waitOn[nIndex]);
        }
    }
}

} // namespace

int RegisterFolderWatch(LPCTSTR pszFolder, DWORD dwFilter)
{
    CTableChange change;
    if (change.m_table.handles.size() >= MAX_FOLDER_WATCHES)
        return -1;
    const HANDLE hWatch = FindFirstChangeNotification(pszFolder, FALSE, dwFilter);
    if (hWatch == INVALID_HANDLE_VALUE)
        return -1;
    change.m_table.handles.push_back(hWatch);
    return static_cast<int>(change.m_table.handles.size()) - 1;
}

void CloseFolderWatches()
{
    CTableChange change;
    for (const HANDLE hWatch : change.m_table.handles)
        FindCloseChangeNotification(hWatch);
    change.m_table.handles.clear();
}

BOOL StartFolderWatchThread(FOLDERWATCHCALLBACK pfnCallback)
{
    CFolderWatchTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.hThread != nullptr || pfnCallback == nullptr)
        return FALSE;
    table.hWake = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    if (table.hWake == nullptr)
        return FALSE;
    table.pfnCallback = pfnCallback;
    table.bStop = false;
    table.hThread = CreateThread(nullptr, 0, FolderWatchThread, nullptr, 0, nullptr);
    if (table.hThread == nullptr) {
        CloseHandle(table.hWake);
        table.hWake = nullptr;
        return FALSE;
    }
    return TRUE;
}

void KillFolderWatchThread()
{
    CFolderWatchTable& table = Table();
    HANDLE hThread = nullptr;
    {
        std::lock_guard lock(table.mutex);
        if (table.hThread == nullptr)
            return;
        table.bStop = true;
        hThread = table.hThread;
        SetEvent(table.hWake);
        table.changed.notify_all();
    }
    WaitForSingleObject(hThread, INFINITE);
    std::lock_guard lock(table.mutex);
    CloseHandle(table.hThread);
    CloseHandle(table.hWake);
    table.hThread = nullptr;
    table.hWake = nullptr;
}

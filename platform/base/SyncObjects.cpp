#include "platform/base/SyncObjects.h"

#include "platform/base/KernelObject.h"
#include "platform/base/NamedMutex.h"
#include "platform/base/Threads.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

/***** The objects. Their state is guarded by the wait lock. *****/

class CEventObject : public CWaitableObject {
public:
    CEventObject(bool bManualReset, bool bSignalled)
        : m_bManualReset(bManualReset)
        , m_bSignalled(bSignalled)
    {
    }

    bool IsSignalledFor(DWORD) override { return m_bSignalled; }
    bool Acquire(DWORD) override
    {
        if (!m_bManualReset)
            m_bSignalled = false;
        return false;
    }

    void Set()
    {
        m_bSignalled = true;
        WakeWaiters();
    }
    void Reset() { m_bSignalled = false; }
    // Granting happens inside Set, so only the threads waiting now are released.
    void Pulse()
    {
        Set();
        m_bSignalled = false;
    }

private:
    const bool m_bManualReset;
    bool m_bSignalled;
};

class CSemaphoreObject : public CWaitableObject {
public:
    CSemaphoreObject(LONG nCount, LONG nMaximum)
        : m_nCount(nCount)
        , m_nMaximum(nMaximum)
    {
    }

    bool IsSignalledFor(DWORD) override { return m_nCount > 0; }
    bool Acquire(DWORD) override
    {
        --m_nCount;
        return false;
    }

    // False, with the count unchanged, when the count would pass the maximum.
    [[nodiscard]] bool Release(LONG nRelease, LONG* pnPrevious)
    {
        if (nRelease > m_nMaximum - m_nCount)
            return false;
        if (pnPrevious)
            *pnPrevious = m_nCount;
        m_nCount += nRelease;
        WakeWaiters();
        return true;
    }

private:
    LONG m_nCount;
    const LONG m_nMaximum;
};

class CMutexObject;

// Every live mutex, so that a thread's end can find those it owns.
std::vector<CMutexObject*>& LiveMutexes()
{
    static auto* pMutexes = new std::vector<CMutexObject*>; // never destroyed, like the wait lock
    return *pMutexes;
}

// A mutex owned by one thread at a time, recursively. A named mutex also holds
// the owner lock of its files while a thread of this process owns it.
class CMutexObject : public CWaitableObject {
public:
    explicit CMutexObject(std::unique_ptr<CNamedMutexFiles> pFiles)
        : m_pFiles(std::move(pFiles))
    {
        auto lock = LockWaitState();
        LiveMutexes().push_back(this);
    }
    ~CMutexObject() override
    {
        auto lock = LockWaitState();
        std::erase(LiveMutexes(), this);
        // Closing the last handle while owning it releases the mutex, not abandons it.
        if (m_dwOwner != 0 && m_pFiles)
            m_pFiles->MarkOwned(false);
    }

    bool IsSignalledFor(DWORD dwThreadId) override
    {
        if (m_dwOwner != 0)
            return m_dwOwner == dwThreadId;
        if (!m_pFiles || m_pFiles->Held())
            return true;
        CNamedMutexFiles::ELock eLock = m_pFiles->TryLock();
        m_bFileAbandoned = eLock == CNamedMutexFiles::ELock::AcquiredAbandoned;
        return eLock != CNamedMutexFiles::ELock::Busy;
    }
    bool Acquire(DWORD dwThreadId) override
    {
        if (m_dwOwner == dwThreadId) {
            ++m_nRecursion;
            return false;
        }
        m_dwOwner = dwThreadId;
        m_nRecursion = 1;
        bool bAbandoned = m_bAbandoned || m_bFileAbandoned;
        m_bAbandoned = m_bFileAbandoned = false;
        if (m_pFiles)
            m_pFiles->MarkOwned(true);
        return bAbandoned;
    }
    void CancelProbe(DWORD) override
    {
        if (m_dwOwner == 0 && m_pFiles) {
            m_pFiles->Unlock();
            m_bFileAbandoned = false;
        }
    }
    bool NeedsPolling() const override { return m_pFiles != nullptr; }

    // False when the thread does not own the mutex.
    [[nodiscard]] bool Release(DWORD dwThreadId)
    {
        if (m_dwOwner != dwThreadId || m_dwOwner == 0)
            return false;
        if (--m_nRecursion == 0) {
            m_dwOwner = 0;
            if (m_pFiles) {
                m_pFiles->MarkOwned(false);
                m_pFiles->Unlock();
            }
            WakeWaiters();
        }
        return true;
    }
    // The owner thread ended. The owner byte of a named mutex stays set, so
    // that the next owner in any process learns of it.
    void AbandonIfOwnedBy(DWORD dwThreadId)
    {
        if (m_dwOwner != dwThreadId)
            return;
        m_dwOwner = 0;
        m_nRecursion = 0;
        m_bAbandoned = true;
        if (m_pFiles)
            m_pFiles->Unlock();
        WakeWaiters();
    }

private:
    DWORD m_dwOwner { 0 }; // thread id; 0 = not owned in this process
    LONG m_nRecursion { 0 };
    bool m_bAbandoned { false };                // the last owner thread ended holding it
    bool m_bFileAbandoned { false };            // the owner lock was found abandoned by another process
    std::unique_ptr<CNamedMutexFiles> m_pFiles; // named mutexes only
};

/***** Names *****/

// The object names of this process. Entries go stale when their object dies
// and are swept on the next insertion.
struct NameTable {
    std::mutex mutex;
    std::unordered_map<std::string, std::weak_ptr<CWaitableObject>> objects;
};

NameTable& Names()
{
    static auto* pTable = new NameTable;
    return *pTable;
}

// The name as the table keys it ("" for an unnamed object), or nullopt with
// the last error set when the name is not valid.
std::optional<std::string> ParseObjectName(LPCTSTR lpName)
{
    if (!lpName)
        return std::string();
    std::string_view name(lpName);
    if (name.size() > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    std::string_view prefix;
    for (std::string_view known : { std::string_view("Local\\"), std::string_view("Global\\") }) {
        if (name.starts_with(known))
            prefix = known;
    }
    std::string_view rest = name.substr(prefix.size());
    if (rest.find('\\') != std::string_view::npos) {
        SetLastError(ERROR_BAD_PATHNAME);
        return std::nullopt;
    }
    return prefix == "Local\\" ? std::string(rest) : std::string(name);
}

// What a maker reports besides the object.
struct Made {
    std::shared_ptr<CWaitableObject> pObject; // nullptr: failed, last error set
    bool bExisted { false };                  // another process already had it
};

// Finds the object named lpName, or makes it with `make(strName)` when there is
// none, and returns a new handle to it. With bCreating, the last error tells
// whether the object existed. Type T is the kind asked for.
template<typename T, typename Maker> HANDLE FindOrMakeObject(LPCTSTR lpName, bool bCreating, Maker make)
{
    std::optional<std::string> strName = ParseObjectName(lpName);
    if (!strName)
        return nullptr;
    std::shared_ptr<CWaitableObject> pObject; // outlives the lock: dropping it may end the object
    bool bExisted = false;
    {
        NameTable& table = Names();
        std::lock_guard lock(table.mutex);
        if (!strName->empty()) {
            auto it = table.objects.find(*strName);
            if (it != table.objects.end())
                pObject = it->second.lock();
        }
        if (pObject) {
            if (!std::dynamic_pointer_cast<T>(pObject)) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            bExisted = true;
        } else {
            Made made = make(*strName);
            if (!made.pObject)
                return nullptr;
            pObject = made.pObject;
            bExisted = made.bExisted;
            if (!strName->empty()) {
                std::erase_if(table.objects, [](const auto& entry) { return entry.second.expired(); });
                table.objects[*strName] = pObject;
            }
        }
    }
    HANDLE hObject = CreateKernelHandle(pObject);
    if (bCreating)
        SetLastError(bExisted ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return hObject;
}

Made NotFound(const std::string&)
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    return {};
}

// Opening by name needs a name; a null or empty one finds nothing.
bool HasName(LPCTSTR lpName)
{
    if (lpName && *lpName)
        return true;
    SetLastError(lpName ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return false;
}

}

/***** Events *****/

HANDLE CreateEvent(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCTSTR lpName)
{
    return FindOrMakeObject<CEventObject>(lpName, true, [&](const std::string&) {
        return Made { std::make_shared<CEventObject>(bManualReset != FALSE, bInitialState != FALSE) };
    });
}

HANDLE OpenEvent(DWORD, BOOL, LPCTSTR lpName)
{
    if (!HasName(lpName))
        return nullptr;
    return FindOrMakeObject<CEventObject>(lpName, false, NotFound);
}

BOOL SetEvent(HANDLE hEvent)
{
    auto pEvent = LookupKernelHandleAs<CEventObject>(hEvent);
    if (!pEvent)
        return FALSE;
    auto lock = LockWaitState();
    pEvent->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent)
{
    auto pEvent = LookupKernelHandleAs<CEventObject>(hEvent);
    if (!pEvent)
        return FALSE;
    auto lock = LockWaitState();
    pEvent->Reset();
    return TRUE;
}

BOOL PulseEvent(HANDLE hEvent)
{
    auto pEvent = LookupKernelHandleAs<CEventObject>(hEvent);
    if (!pEvent)
        return FALSE;
    auto lock = LockWaitState();
    pEvent->Pulse();
    return TRUE;
}

/***** Mutexes *****/

HANDLE CreateMutex(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCTSTR lpName)
{
    return FindOrMakeObject<CMutexObject>(lpName, true, [&](const std::string& strName) -> Made {
        std::unique_ptr<CNamedMutexFiles> pFiles;
        bool bExisted = false;
        if (!strName.empty()) {
            pFiles = CNamedMutexFiles::Open(
                strName, CNamedMutexFiles::EOpen::CreateOrOpen, bInitialOwner != FALSE, &bExisted);
            if (!pFiles)
                return {};
        }
        bool bTakeOwnership = bInitialOwner && (!pFiles || pFiles->Held());
        auto pMutex = std::make_shared<CMutexObject>(std::move(pFiles));
        if (bTakeOwnership) {
            DWORD dwThreadId = GetCurrentThreadId();
            auto lock = LockWaitState();
            if (pMutex->IsSignalledFor(dwThreadId))
                pMutex->Acquire(dwThreadId);
        }
        return Made { pMutex, bExisted };
    });
}

HANDLE OpenMutex(DWORD, BOOL, LPCTSTR lpName)
{
    if (!HasName(lpName))
        return nullptr;
    return FindOrMakeObject<CMutexObject>(lpName, false, [](const std::string& strName) -> Made {
        auto pFiles = CNamedMutexFiles::Open(strName, CNamedMutexFiles::EOpen::OpenExisting, false, nullptr);
        if (!pFiles)
            return {};
        return Made { std::make_shared<CMutexObject>(std::move(pFiles)), true };
    });
}

BOOL ReleaseMutex(HANDLE hMutex)
{
    auto pMutex = LookupKernelHandleAs<CMutexObject>(hMutex);
    if (!pMutex)
        return FALSE;
    DWORD dwThreadId = GetCurrentThreadId();
    auto lock = LockWaitState();
    if (!pMutex->Release(dwThreadId)) {
        SetLastError(ERROR_NOT_OWNER);
        return FALSE;
    }
    return TRUE;
}

void AbandonMutexesOwnedBy(DWORD dwThreadId)
{
    // Abandoning wakes waiters but never creates or destroys a mutex, so the list holds still.
    for (CMutexObject* pMutex : LiveMutexes())
        pMutex->AbandonIfOwnedBy(dwThreadId);
}

/***** Semaphores *****/

HANDLE CreateSemaphore(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCTSTR lpName)
{
    if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return FindOrMakeObject<CSemaphoreObject>(lpName, true,
        [&](const std::string&) { return Made { std::make_shared<CSemaphoreObject>(lInitialCount, lMaximumCount) }; });
}

BOOL ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount)
{
    auto pSemaphore = LookupKernelHandleAs<CSemaphoreObject>(hSemaphore);
    if (!pSemaphore)
        return FALSE;
    if (lReleaseCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto lock = LockWaitState();
    if (!pSemaphore->Release(lReleaseCount, lpPreviousCount)) {
        SetLastError(ERROR_TOO_MANY_POSTS);
        return FALSE;
    }
    return TRUE;
}

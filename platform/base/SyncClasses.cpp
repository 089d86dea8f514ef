#include "platform/base/SyncClasses.h"

#include "platform/base/KernelObject.h"
#include "platform/base/WinError.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)

/***** CSyncObject *****/

CSyncObject::CSyncObject(LPCTSTR) { }

CSyncObject::~CSyncObject()
{
    if (m_hObject)
        CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    DWORD dwResult = WaitForSingleObject(m_hObject, dwTimeout);
    return dwResult == WAIT_OBJECT_0 || dwResult == WAIT_ABANDONED;
}

BOOL CSyncObject::Unlock(LONG, LPLONG)
{
    return TRUE;
}

/***** CSemaphore *****/

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCTSTR pstrName, LPSECURITY_ATTRIBUTES lpsaAttributes)
    : CSyncObject(pstrName)
{
    m_hObject = CreateSemaphore(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
}

BOOL CSemaphore::Unlock()
{
    return Unlock(1, nullptr);
}

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lprevCount)
{
    return ReleaseSemaphore(m_hObject, lCount, lprevCount);
}

/***** CMutex *****/

CMutex::CMutex(BOOL bInitiallyOwn, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = CreateMutex(lpsaAttribute, bInitiallyOwn, lpszName);
}

BOOL CMutex::Unlock()
{
    return ReleaseMutex(m_hObject);
}

/***** CEvent *****/

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCTSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
    : CSyncObject(lpszName)
{
    m_hObject = CreateEvent(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
}

BOOL CEvent::SetEvent()
{
    return ::SetEvent(m_hObject);
}

BOOL CEvent::PulseEvent()
{
    return ::PulseEvent(m_hObject);
}

BOOL CEvent::ResetEvent()
{
    return ::ResetEvent(m_hObject);
}

BOOL CEvent::Unlock()
{
    return TRUE;
}

/***** CCriticalSection *****/

CCriticalSection::CCriticalSection()
    : CSyncObject(nullptr)
{
    InitializeCriticalSection(&m_sect);
}

CCriticalSection::~CCriticalSection()
{
    DeleteCriticalSection(&m_sect);
}

BOOL CCriticalSection::Lock()
{
    EnterCriticalSection(&m_sect);
    return TRUE;
}

BOOL CCriticalSection::Lock(DWORD dwTimeout)
{
    return EnterCriticalSectionTimeout(&m_sect, dwTimeout);
}

BOOL CCriticalSection::Unlock()
{
    LeaveCriticalSection(&m_sect);
    return TRUE;
}

/***** CSingleLock *****/

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock)
    : m_pObject(pObject)
{
    if (bInitialLock)
        Lock();
}

CSingleLock::~CSingleLock()
{
    Unlock();
}

BOOL CSingleLock::Lock(DWORD dwTimeOut)
{
    if (!m_pObject) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!m_bAcquired)
        m_bAcquired = m_pObject->Lock(dwTimeOut);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}

BOOL CSingleLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock(lCount, lPrevCount);
    return !m_bAcquired;
}

/***** CMultiLock *****/

CMultiLock::CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock)
{
    if (ppObjects)
        m_objects.assign(ppObjects, ppObjects + dwCount);
    for (CSyncObject* pObject : m_objects)
        m_handles.push_back(pObject ? pObject->m_hObject : nullptr);
    m_locked.assign(m_objects.size(), false);
    if (bInitialLock)
        Lock();
}

CMultiLock::~CMultiLock()
{
    Unlock();
}

DWORD CMultiLock::Lock(DWORD dwTimeOut, BOOL bWaitForAll, DWORD dwWakeMask)
{
    auto nCount = static_cast<DWORD>(m_handles.size());
    DWORD dwResult = dwWakeMask ? WaitForObjectsOrMessages(nCount, m_handles.data(), bWaitForAll, dwTimeOut, dwWakeMask)
                                : WaitForMultipleObjects(nCount, m_handles.data(), bWaitForAll, dwTimeOut);
    for (DWORD dwBase : { WAIT_OBJECT_0, WAIT_ABANDONED_0 }) {
        if (dwResult >= dwBase && dwResult < dwBase + nCount) {
            if (bWaitForAll)
                m_locked.assign(m_locked.size(), true);
            else
                m_locked[dwResult - dwBase] = true;
        }
    }
    return dwResult;
}

BOOL CMultiLock::Unlock()
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_locked[i])
            m_locked[i] = !m_objects[i]->Unlock();
    }
    return TRUE;
}

BOOL CMultiLock::Unlock(LONG lCount, LPLONG lPrevCount)
{
    BOOL bGotOne = FALSE;
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_locked[i] && m_objects[i]->IsKindOf(RUNTIME_CLASS(CSemaphore))) {
            bGotOne = TRUE;
            m_locked[i] = !m_objects[i]->Unlock(lCount, lPrevCount);
        }
    }
    return bGotOne;
}

BOOL CMultiLock::IsLocked(DWORD dwItem) const
{
    return dwItem < m_locked.size() && m_locked[dwItem];
}

#include "webaccess/server/CWARequestWatch.h"

#include "platform/base/ChangeNotify.h"
#include "platform/base/KernelObject.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/Wait.h"
#include "platform/window/MessageQueue.h"

CWARequestWatch::CWARequestWatch(LPCTSTR pszFolder, HWND hNotify, UINT nMessage)
    : m_hNotify(hNotify)
    , m_nMessage(nMessage)
    , m_hChange(FindFirstChangeNotification(pszFolder, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME))
    , m_hStop(CreateEvent(nullptr, TRUE, FALSE, nullptr))
{
    if (m_hChange != INVALID_HANDLE_VALUE && m_hStop != nullptr)
        m_thread = std::thread([this] { Run(); });
}

CWARequestWatch::~CWARequestWatch()
{
    if (m_thread.joinable()) {
        SetEvent(m_hStop);
        m_thread.join();
    }
    if (m_hChange != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(m_hChange);
    if (m_hStop != nullptr)
        CloseHandle(m_hStop);
}

void CWARequestWatch::Run()
{
    const HANDLE handles[] = { m_hStop, m_hChange };
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        if (!m_bPosted.exchange(true))
            PostMessage(m_hNotify, m_nMessage, 0, 0);
        FindNextChangeNotification(m_hChange);
    }
}

#include "frame/CSingleInstance.h"

#include "platform/base/KernelObject.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/SyncObjects.h"
#include "platform/base/WinError.h"
#include "platform/window/WindowClass.h"

CSingleInstance::~CSingleInstance()
{
    // The channel goes before the mutex, so that a next instance never finds
    // its own channel file removed by this one.
    m_channel.Close();
    if (m_bClassRegistered)
        UnregisterClass(m_strClassName, GetModuleHandle(nullptr));
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

BOOL CSingleInstance::Register(UINT nID)
{
    CString strTitle;
    if (!strTitle.LoadString(nID)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    return Register(strTitle);
}

BOOL CSingleInstance::Register(LPCTSTR pszTitle)
{
    if (m_hMutex || !pszTitle) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString strTitle(pszTitle);
    int nLineEnd = strTitle.FindOneOf("\r\n");
    m_strClassName = (nLineEnd >= 0 ? strTitle.Left(nLineEnd) : strTitle) + " Class";

    m_hMutex = CreateMutex(nullptr, FALSE, m_strClassName);
    if (!m_hMutex)
        return FALSE;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another instance runs: let FindWindowEx reach its main window.
        m_channel.Reach(m_strClassName);
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }

    WNDCLASS wc {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProc;
    // The program's own class: the main frame is made with the program's instance.
    wc.hInstance = GetModuleHandle(nullptr);
    wc.lpszClassName = m_strClassName;
    if (!RegisterClass(&wc))
        return FALSE;
    m_bClassRegistered = TRUE;
    return m_channel.Serve(m_strClassName);
}

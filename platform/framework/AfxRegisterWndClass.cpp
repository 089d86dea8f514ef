// Window classes the class library registers for the program's own windows.

#include "platform/framework/CWnd.h"

#include "platform/framework/CResourceException.h"
#include "platform/framework/CWinThread.h"
#include "platform/window/WindowClass.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    HINSTANCE hInstance = AfxGetInstanceHandle();
    // The name says everything the class is made of, so equal arguments meet the same class.
    char szName[96];
    std::snprintf(szName, sizeof(szName), "Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInstance), nClassStyle,
        static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));

    // Names are kept for the program's life: callers hold on to the pointer.
    static std::mutex s_mutex;
    static auto* s_pNames = new std::set<std::string>;
    std::lock_guard lock(s_mutex);
    auto [it, bNew] = s_pNames->insert(szName);
    WNDCLASS wc {};
    if (::GetClassInfo(hInstance, it->c_str(), &wc))
        return it->c_str();
    wc.style = nClassStyle;
    wc.lpfnWndProc = &::DefWindowProc;
    wc.hInstance = hInstance;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = it->c_str();
    if (!::RegisterClass(&wc)) {
        if (bNew)
            s_pNames->erase(it);
        AfxThrowResourceException();
    }
    return it->c_str();
}

#include "platform/framework/AfxMessageBox.h"

#include "platform/base/CString.h"
#include "platform/base/Threads.h"
#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/window/Focus.h"
#include "platform/window/Window.h"

namespace {

// The caption of the class library's message boxes. Message boxes are made of
// standard controls, so they are registered here too.
LPCTSTR AppCaption()
{
    RegisterStandardControls();
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetAppName() : nullptr;
}

// A shown, enabled window of this thread that hWnd owns; NULL when none.
HWND EnabledOwnedWindow(HWND hWnd)
{
    struct Search {
        HWND hOwner;
        HWND hFound;
    } search { hWnd, nullptr };
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hCandidate, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            if (::GetWindow(hCandidate, GW_OWNER) != pSearch->hOwner || !::IsWindowVisible(hCandidate)
                || !::IsWindowEnabled(hCandidate))
                return TRUE;
            pSearch->hFound = hCandidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

} // namespace

HWND AfxGetMessageBoxOwner()
{
    HWND hWnd = ::GetActiveWindow();
    if (!hWnd) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    }
    // Owner chains are short; the bound keeps a cycle from holding the box.
    constexpr int MAX_CHAIN = 16;
    for (int nDepth = 0; hWnd && !::IsWindowEnabled(hWnd) && nDepth < MAX_CHAIN; ++nDepth) {
        HWND hModal = EnabledOwnedWindow(hWnd);
        if (!hModal)
            break;
        hWnd = hModal;
    }
    return hWnd;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    return ::MessageBox(AfxGetMessageBoxOwner(), lpszText, AppCaption(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, 0);
}

/***** CWnd's message box *****/

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return ::MessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : AppCaption(), nType);
}

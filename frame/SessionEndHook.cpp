#include "frame/SessionEndHook.h"

#include "platform/base/Threads.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CWnd.h"
#include "platform/window/Dialog.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <vector>

namespace {

// A window that cannot be ended would post the end for ever: after this many
// posts in a row it goes on to the application as it is.
constexpr int MAX_DEFERRALS = 100;

thread_local UINT t_nMsgSessionEnd = 0;
thread_local int t_nDeferrals = 0;

LRESULT CALLBACK OnMessageRetrieved(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg && !pMsg->hwnd && pMsg->message == t_nMsgSessionEnd) {
        if (t_nDeferrals < MAX_DEFERRALS && CSessionEndHook::EndModalWindows()) {
            ++t_nDeferrals;
            ::PostThreadMessage(::GetCurrentThreadId(), t_nMsgSessionEnd, pMsg->wParam, pMsg->lParam);
            pMsg->message = WM_NULL;
        } else {
            t_nDeferrals = 0;
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

} // namespace

CSessionEndHook::CSessionEndHook(UINT nMsgSessionEnd)
{
    t_nMsgSessionEnd = nMsgSessionEnd;
    t_nDeferrals = 0;
    m_hHook = ::SetWindowsHookEx(WH_GETMESSAGE, OnMessageRetrieved, nullptr, ::GetCurrentThreadId());
}

CSessionEndHook::~CSessionEndHook()
{
    if (m_hHook)
        ::UnhookWindowsHookEx(m_hHook);
    t_nMsgSessionEnd = 0;
}

bool CSessionEndHook::EndModalWindows()
{
    bool bEnded = ::EndMenu() != FALSE;
    std::vector<HWND> windows;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    // A modal window is one that is shown and takes input while its owner is disabled.
    for (HWND hWnd : windows) {
        HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
        if (!hOwner || ::IsWindowEnabled(hOwner) || !::IsWindowVisible(hWnd) || !::IsWindowEnabled(hWnd))
            continue;
        if (auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd))) {
            // A modeless one (a list window) stays as it is.
            if (!pDialog->IsModalNow())
                continue;
            pDialog->EndDialog(IDCANCEL);
            bEnded = true;
        } else if (::EndDialog(hWnd, IDCANCEL)) {
            bEnded = true;
        }
    }
    return bEnded;
}

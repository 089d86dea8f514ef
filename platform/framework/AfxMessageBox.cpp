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

// The window a message box belongs to: the active one, else the main window;
// when that one is disabled under a modal window of its own (a dialog, a
// wizard), the modal window the chain ends in, whichever window the desktop
// left active. The box then holds the input of the window the user works in,
// and gives it back to that window, not to one a modal loop still holds.
HWND MessageBoxOwner()
{
    HWND hWnd = ::GetActiveWindow();
    if (!hWnd) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    }
    HWND hHolder = hWnd ? ::GetModalHolder(hWnd) : nullptr;
    return hHolder ? hHolder : hWnd;
}

} // namespace

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    return ::MessageBox(MessageBoxOwner(), lpszText, AppCaption(), nType);
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

#include "platform/framework/AfxMessageBox.h"

#include "platform/base/CString.h"
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

} // namespace

HWND AfxGetMessageBoxOwner()
{
    HWND hWnd = ::GetActiveWindow();
    if (!hWnd) {
        CWnd* pMainWnd = AfxGetMainWnd();
        hWnd = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    }
    HWND hHolder = hWnd ? ::GetModalHolder(hWnd) : nullptr;
    return hHolder ? hHolder : hWnd;
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

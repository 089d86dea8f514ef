#include "ui/MainWindowMessages.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/window/WindowClass.h"

void PostToMainWindow(LPCTSTR pszMessage, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pMain = AfxGetMainWnd())
        pMain->PostMessage(RegisterWindowMessage(pszMessage), wParam, lParam);
}

LRESULT SendToMainWindow(LPCTSTR pszMessage, WPARAM wParam, LPARAM lParam)
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->SendMessage(RegisterWindowMessage(pszMessage), wParam, lParam) : 0;
}

#include "frame/StoreMessageBoxes.h"

#include "platform/base/AfxDebug.h"
#include "platform/base/Threads.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "store/CatalogError.h"

#include <atomic>

namespace {

std::atomic<DWORD> g_nUiThread { 0 };

void ShowStoreMessage(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle)
{
    if (!AfxGetApp() || ::GetCurrentThreadId() != g_nUiThread.load()) {
        TRACE("%s: %s (%s)\n", pszTitle, pszText, pszFileName);
        return;
    }
    (void)::MessageBox(AfxGetMessageBoxOwner(), pszText, pszTitle, nStyle | MB_OK);
}

}

void InstallStoreMessageBoxes()
{
    g_nUiThread = ::GetCurrentThreadId();
    (void)SetCatalogErrorHandler(ShowStoreMessage);
}

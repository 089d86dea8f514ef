#include "platform/framework/AfxWinMain.h"

#include "platform/base/Com.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

#include <utility>

namespace {

std::vector<CString>& Arguments()
{
    static std::vector<CString> arguments;
    return arguments;
}

} // namespace

int AfxWinMain(int argc, char** argv)
{
    std::vector<CString> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    AfxSetArguments(std::move(arguments));
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && pApp->m_pMainWnd->GetSafeHwnd())
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

const std::vector<CString>& AfxGetArguments()
{
    return Arguments();
}

void AfxSetArguments(std::vector<CString> arguments)
{
    Arguments() = std::move(arguments);
}

BOOL AfxOleInit()
{
    // Initialisation always succeeds; it is counted so that balanced calls stay balanced.
    return SUCCEEDED(OleInitialize(nullptr)) ? TRUE : FALSE;
}

void AfxEnableControlContainer() { }

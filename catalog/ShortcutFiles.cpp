#include "catalog/ShortcutFiles.h"

#include "platform/base/CodePages.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "platform/shell/ShellLink.h"

#include <cstring>

BOOL IsShortcutFile(LPCTSTR pszPath)
{
    if (!pszPath)
        return FALSE;
    const char* pszDot = std::strrchr(pszPath, '.');
    return pszDot && lstrcmpiA(pszDot + 1, "lnk") == 0;
}

BOOL ReadShortcutTarget(LPCTSTR pszPath, LPCWSTR pwszPath, LPTSTR pszTarget, WIN32_FIND_DATA* pFindData)
{
    if (!pszPath || !pwszPath || !pszTarget || !pFindData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!IsShortcutFile(pszPath)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    pszTarget[0] = 0;
    SetLastError(ERROR_INVALID_DATA);
    CoInitialize(nullptr);
    BOOL bResult = FALSE;
    IShellLinkA* pLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(
            CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(&pLink)))) {
        IPersistFile* pFile = nullptr;
        if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
            if (SUCCEEDED(pFile->Load(pwszPath, STGM_SHARE_DENY_WRITE))
                && SUCCEEDED(pLink->GetPath(pszTarget, MAX_PATH, pFindData, SLGP_RAWPATH)))
                bResult = TRUE;
            pFile->Release();
        }
        pLink->Release();
    }
    CoUninitialize();
    // The shell calls may leave errors of their own; the caller reads ours.
    SetLastError(bResult ? ERROR_SUCCESS : ERROR_INVALID_DATA);
    if (!bResult)
        pszTarget[0] = 0;
    return bResult;
}

LPTSTR ResolveShortcut(LPTSTR pszTarget, LPCTSTR pszPath)
{
    if (!pszPath)
        return nullptr;
    WCHAR wszPath[MAX_PATH] {};
    if (!MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, pszPath, -1, wszPath, MAX_PATH))
        return nullptr;
    WIN32_FIND_DATA findData {};
    return ReadShortcutTarget(pszPath, wszPath, pszTarget, &findData) ? pszTarget : nullptr;
}

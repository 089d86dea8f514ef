// The entry points of the shell namespace: the desktop, special folders, and
// paths and file data of item lists.

#include "platform/shell/ShellFolder.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/WinError.h"
#include "platform/shell/NamespaceFolder.h"
#include "platform/shell/StartMenu.h"

#include <cstring>

HRESULT SHGetDesktopFolder(IShellFolder** ppshf)
{
    if (!ppshf)
        return E_POINTER;
    return CreateShellFolder({}, IID_IShellFolder, reinterpret_cast<void**>(ppshf));
}

HRESULT SHGetSpecialFolderLocation(HWND, int nFolder, LPITEMIDLIST* ppidl)
{
    if (!ppidl)
        return E_POINTER;
    *ppidl = nullptr;
    CItemPath items;
    switch (nFolder) {
    case CSIDL_DRIVES:
        items = { CShellItem::Virtual(EVirtualFolder::MyComputer) };
        break;
    case CSIDL_NETWORK:
        items = { CShellItem::Virtual(EVirtualFolder::Network) };
        break;
    case CSIDL_BITBUCKET:
        items = { CShellItem::Virtual(EVirtualFolder::RecycleBin) };
        break;
    case CSIDL_STARTMENU: {
        // Brought up to date each time, so launchers installed meanwhile are in it.
        PresentStartMenu();
        HRESULT hr = ItemsOfName(ProgramPathFromHostPath(StartMenuHostFolder()), false, items);
        if (FAILED(hr))
            return hr;
        break;
    }
    case CSIDL_COMMON_STARTMENU:
        return E_FAIL;
    default:
        return E_INVALIDARG;
    }
    *ppidl = AllocIdList(items);
    return *ppidl ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST pidl, LPTSTR pszPath)
{
    if (!pszPath)
        return FALSE;
    *pszPath = '\0';
    CItemPath items;
    if (FAILED(DecodeShellItems(pidl, EItemPlace::Desktop, items)))
        return FALSE;
    std::string strPath = ProgramPathOfItems(items);
    if (strPath.empty() || strPath.size() >= MAX_PATH)
        return FALSE;
    std::memcpy(pszPath, strPath.c_str(), strPath.size() + 1);
    return TRUE;
}

HRESULT SHGetDataFromIDList(IShellFolder* psf, LPCITEMIDLIST pidl, int nFormat, void* pv, int cb)
{
    CItemPath folder;
    CItemPath items;
    if (!pv || nFormat != SHGDFIL_FINDDATA || cb < static_cast<int>(sizeof(WIN32_FIND_DATA))
        || !ItemsOfShellFolder(psf, folder))
        return E_INVALIDARG;
    HRESULT hr = AbsoluteItemsOf(folder, pidl, items);
    if (FAILED(hr))
        return hr;
    std::string strPath = ProgramPathOfItems(items);
    if (strPath.empty())
        return E_INVALIDARG;
    WIN32_FIND_DATA data {};
    HANDLE hFind = FindFirstFile(strPath.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    FindClose(hFind);
    std::memcpy(pv, &data, sizeof data);
    return S_OK;
}

#include "catalog/ShellItemEnum.h"

#include "catalog/ShellItemIds.h"
#include "platform/base/CString.h"
#include "platform/base/Volumes.h"

namespace {

// The SHCONTF flags of the drive walks: folders, hidden ones too.
constexpr SHCONTF DRIVE_WALK_FLAGS = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
// What the drive filter asks of each item.
constexpr SFGAOF DRIVE_ATTRIBUTES = SFGAO_FILESYSTEM | SFGAO_REMOVABLE | SFGAO_LINK;

enum class EDriveKind { Fixed, Network, Removable };

// What a drive walk carries through EnumSpecialFolderItems.
struct DriveEnumContext {
    ShellItemCallback pfnCallback;
    void* pUser;
    int nMatches;
    EDriveKind eKind;
};

SFGAOF AttributesOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SFGAOF sfgao)
{
    LPCITEMIDLIST apidl[] = { pidl };
    if (FAILED(pFolder->GetAttributesOf(1, apidl, &sfgao)))
        return 0;
    return sfgao;
}

bool IsDriveOfKind(IShellFolder* pFolder, LPCITEMIDLIST pidl, EDriveKind eKind)
{
    const SFGAOF sfgao = AttributesOf(pFolder, pidl, DRIVE_ATTRIBUTES);
    if (!(sfgao & SFGAO_FILESYSTEM) || (sfgao & SFGAO_LINK))
        return false;
    if (eKind == EDriveKind::Removable)
        return (sfgao & SFGAO_REMOVABLE) != 0;
    if (sfgao & SFGAO_REMOVABLE)
        return false;
    CString strRoot;
    if (FAILED(GetDisplayNameOfPIDL(pFolder, pidl, SHGDN_FORPARSING, strRoot)) || strRoot.GetLength() != 3)
        return false;
    return GetDriveType(strRoot) == (eKind == EDriveKind::Fixed ? DRIVE_FIXED : DRIVE_REMOTE);
}

int DriveFilter(IShellFolder* pFolder, LPCITEMIDLIST pidl, void* pUser)
{
    auto* pContext = static_cast<DriveEnumContext*>(pUser);
    if (!IsDriveOfKind(pFolder, pidl, pContext->eKind))
        return 1;
    ++pContext->nMatches;
    return pContext->pfnCallback ? pContext->pfnCallback(pFolder, pidl, pContext->pUser) : 1;
}

int EnumDrives(EDriveKind eKind, ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    DriveEnumContext context { pfnCallback, pUser, 0, eKind };
    EnumSpecialFolderItems(CSIDL_DRIVES, DRIVE_WALK_FLAGS, DriveFilter, &context, ppidlStopped);
    return context.nMatches;
}

int CountFileSystemItem(IShellFolder* pFolder, LPCITEMIDLIST pidl, void* pUser)
{
    if (AttributesOf(pFolder, pidl, SFGAO_FILESYSTEM) & SFGAO_FILESYSTEM)
        ++*static_cast<int*>(pUser);
    return 1;
}

int AddDriveFolders(IShellFolder* pFolder, LPCITEMIDLIST pidl, void* pUser)
{
    *static_cast<int*>(pUser) += CountFoldersOfFolder(pFolder, pidl) + 1;
    return 1;
}

// Parses a program path through the desktop and runs fnWalk(desktop, item);
// -1 when the path does not parse.
template<class Walk> int WithItemOfPath(LPCTSTR pszPath, Walk fnWalk)
{
    IShellFolder* pDesktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktop)))
        return -1;
    LPITEMIDLIST pidl = nullptr;
    int nResult = -1;
    if (SUCCEEDED(PathToPIDL(pszPath, &pidl, pDesktop)))
        nResult = fnWalk(pDesktop, pidl);
    CoTaskMemFree(pidl);
    pDesktop->Release();
    return nResult;
}

} // namespace

int EnumFolderItems(IShellFolder* pParent, LPCITEMIDLIST pidl, SHCONTF grfFlags, ShellItemCallback pfnCallback,
    void* pUser, LPITEMIDLIST* ppidlStopped)
{
    if (ppidlStopped)
        *ppidlStopped = nullptr;
    if (!pParent)
        return -1;
    IShellFolder* pFolder = nullptr;
    if (FAILED(pParent->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder))))
        return -1;
    IEnumIDList* pEnum = nullptr;
    if (pFolder->EnumObjects(nullptr, grfFlags, &pEnum) != S_OK || !pEnum) {
        pFolder->Release();
        return -1;
    }
    int nPassed = 0;
    LPITEMIDLIST pidlItem = nullptr;
    while (pEnum->Next(1, &pidlItem, nullptr) == S_OK) {
        if (pfnCallback && !pfnCallback(pFolder, pidlItem, pUser)) {
            if (ppidlStopped)
                *ppidlStopped = pidlItem;
            else
                CoTaskMemFree(pidlItem);
            break;
        }
        ++nPassed;
        CoTaskMemFree(pidlItem);
    }
    pEnum->Release();
    pFolder->Release();
    return nPassed;
}

int EnumFolderItemsOfPath(
    LPCTSTR pszPath, SHCONTF grfFlags, ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    if (ppidlStopped)
        *ppidlStopped = nullptr;
    return WithItemOfPath(pszPath, [&](IShellFolder* pDesktop, LPCITEMIDLIST pidl) {
        return EnumFolderItems(pDesktop, pidl, grfFlags, pfnCallback, pUser, ppidlStopped);
    });
}

int EnumSpecialFolderItems(
    int nFolder, SHCONTF grfFlags, ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    if (ppidlStopped)
        *ppidlStopped = nullptr;
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, nFolder, &pidl)))
        return -1;
    IShellFolder* pDesktop = nullptr;
    int nResult = -1;
    if (SUCCEEDED(SHGetDesktopFolder(&pDesktop))) {
        nResult = EnumFolderItems(pDesktop, pidl, grfFlags, pfnCallback, pUser, ppidlStopped);
        pDesktop->Release();
    }
    CoTaskMemFree(pidl);
    return nResult;
}

int EnumFixedDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    return EnumDrives(EDriveKind::Fixed, pfnCallback, pUser, ppidlStopped);
}

int EnumNetworkDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    return EnumDrives(EDriveKind::Network, pfnCallback, pUser, ppidlStopped);
}

int EnumRemovableDrives(ShellItemCallback pfnCallback, void* pUser, LPITEMIDLIST* ppidlStopped)
{
    return EnumDrives(EDriveKind::Removable, pfnCallback, pUser, ppidlStopped);
}

int CountFoldersOfFolder(IShellFolder* pParent, LPCITEMIDLIST pidl)
{
    int nCount = 0;
    EnumFolderItems(pParent, pidl, DRIVE_WALK_FLAGS, CountFileSystemItem, &nCount, nullptr);
    return nCount;
}

int CountFoldersOfPath(LPCTSTR pszPath)
{
    return WithItemOfPath(
        pszPath, [](IShellFolder* pDesktop, LPCITEMIDLIST pidl) { return CountFoldersOfFolder(pDesktop, pidl); });
}

int CountFixedDriveFolders()
{
    int nSum = 0;
    EnumFixedDrives(AddDriveFolders, &nSum, nullptr);
    return nSum;
}

#include "ui/CSysImageList.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ProgramFolder.h"
#include "platform/framework/CImageList.h"
#include "platform/shell/ShellFileInfo.h"

namespace {

// The lists while references exist, and their count.
CImageList* g_pSmallList = nullptr;
CImageList* g_pLargeList = nullptr;
int g_nReferences = 0;

void CreateList(CImageList*& pSlot, BOOL bSmall)
{
    if (pSlot)
        return;
    SHFILEINFO info {};
    const UINT uFlags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (bSmall ? SHGFI_SMALLICON : 0);
    auto hList
        = reinterpret_cast<HIMAGELIST>(SHGetFileInfo(".txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), uFlags));
    if (!hList)
        return;
    pSlot = new CImageList;
    pSlot->Attach(hList);
    pSlot->SetBkColor(CLR_NONE);
}

void ReleaseList(CImageList*& pSlot)
{
    if (!pSlot)
        return;
    pSlot->Detach();
    delete pSlot;
    pSlot = nullptr;
}

int IconIndex(LPCTSTR pszPath, DWORD dwAttributes, UINT uFlags, BOOL bOpen, BOOL bSmall)
{
    SHFILEINFO info {};
    uFlags |= SHGFI_SYSICONINDEX | (bOpen ? SHGFI_OPENICON : 0) | (bSmall ? SHGFI_SMALLICON : 0);
    SHGetFileInfo(pszPath, dwAttributes, &info, sizeof(info), uFlags);
    return info.iIcon;
}

} // namespace

CSysImageList::CSysImageList()
{
    if (g_nReferences == 0) {
        CreateList(g_pSmallList, TRUE);
        CreateList(g_pLargeList, FALSE);
    }
    ++g_nReferences;
}

CSysImageList::~CSysImageList()
{
    if (--g_nReferences == 0) {
        ReleaseList(g_pLargeList);
        ReleaseList(g_pSmallList);
    }
}

CImageList* GetSystemImageList(int nWhich)
{
    return nWhich ? g_pSmallList : g_pLargeList;
}

int GetFileIconIndex(LPCTSTR pszPath, BOOL bOpen, BOOL bSmall)
{
    return IconIndex(pszPath, FILE_ATTRIBUTE_NORMAL, SHGFI_USEFILEATTRIBUTES, bOpen, bSmall);
}

int GetPathIconIndex(LPCTSTR pszPath, BOOL bOpen, BOOL bSmall)
{
    return IconIndex(pszPath, 0, 0, bOpen, bSmall);
}

int GetPIDLIconIndex(LPCITEMIDLIST pidl, BOOL bOpen, BOOL bSmall)
{
    return IconIndex(reinterpret_cast<LPCTSTR>(pidl), 0, SHGFI_PIDL, bOpen, bSmall);
}

int GetSystemFolderIconIndex(BOOL bOpen, BOOL bSmall)
{
    // Asked by attributes, so the folder need not exist.
    TCHAR szFolder[MAX_PATH] {};
    GetSystemDirectory(szFolder, MAX_PATH);
    return IconIndex(szFolder, FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, bOpen, bSmall);
}

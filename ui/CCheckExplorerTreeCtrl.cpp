#include "ui/CCheckExplorerTreeCtrl.h"

#include "catalog/ShellItemIds.h"
#include "platform/base/Volumes.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/CNetDriveMap.h"
#include "store/TextMatch.h"
#include "ui/WindowHelpers.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CCheckExplorerTreeCtrl, CCheckTreeCtrl)

BEGIN_MESSAGE_MAP(CCheckExplorerTreeCtrl, CCheckTreeCtrl)
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CCheckExplorerTreeCtrl::OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_DELETEITEM, &CCheckExplorerTreeCtrl::OnDeleteItem)
END_MESSAGE_MAP()

namespace {

constexpr int STATE_IMAGE_WIDTH = 16;
constexpr COLORREF STATE_IMAGE_MASK = RGB(255, 0, 255);
constexpr SHCONTF FOLDER_ITEMS = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;
constexpr SHCONTF FILE_ITEMS = SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
// How deep the document filter looks below a folder; deeper folders count as
// holding nothing, so a tree that loops back into itself ends the search.
constexpr int MAX_FILTER_DEPTH = 64;
// A drive root's parsing name: "c:\".
constexpr int DRIVE_ROOT_LENGTH = 3;

// Frees an item identifier list the shell handed out.
struct CPidlFree {
    void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using CPidlHolder = std::unique_ptr<ITEMIDLIST, CPidlFree>;

// Releases an interface at the end of a scope.
template<class T> struct CReleaser {
    void operator()(T* p) const { p->Release(); }
};
template<class T> using CInterfaceHolder = std::unique_ptr<T, CReleaser<T>>;

// Hands each item of the folder's enumeration to visit until it returns false.
template<class Visit> void ForEachItem(IShellFolder* pFolder, HWND hWnd, SHCONTF grfFlags, Visit visit)
{
    IEnumIDList* pEnumRaw = nullptr;
    if (!pFolder || pFolder->EnumObjects(hWnd, grfFlags, &pEnumRaw) != S_OK || !pEnumRaw)
        return;
    CInterfaceHolder<IEnumIDList> pEnum(pEnumRaw);
    LPITEMIDLIST pidl = nullptr;
    while (pEnum->Next(1, &pidl, nullptr) == S_OK) {
        CPidlHolder holder(pidl);
        if (!visit(static_cast<LPCITEMIDLIST>(holder.get())))
            break;
    }
}

SFGAOF AttributesOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SFGAOF wanted)
{
    SFGAOF attributes = wanted;
    LPCITEMIDLIST items[] = { pidl };
    return SUCCEEDED(pFolder->GetAttributesOf(1, items, &attributes)) ? attributes & wanted : 0;
}

IShellFolder* BindFolder(IShellFolder* pParent, LPCITEMIDLIST pidl)
{
    IShellFolder* pFolder = nullptr;
    if (FAILED(pParent->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder))))
        return nullptr;
    return pFolder;
}

CString NameOf(IShellFolder* pFolder, LPCITEMIDLIST pidl, SHGDNF uFlags)
{
    CString strName;
    GetDisplayNameOfPIDL(pFolder, pidl, uFlags, strName);
    return strName;
}

// The text after the last backslash.
CString LastComponent(const CString& strPath)
{
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}

} // namespace

/***** Filling *****/

void CCheckExplorerTreeCtrl::InitImageLists()
{
    SetImageList(GetSystemImageList(1), TVSIL_NORMAL);
    m_stateImages.DeleteImageList();
    m_stateImages.Create(IDB_CHECK_STATES, STATE_IMAGE_WIDTH, 0, STATE_IMAGE_MASK);
    SetImageList(&m_stateImages, TVSIL_STATE);
}

void CCheckExplorerTreeCtrl::FillDrives()
{
    IShellFolder* pDesktopRaw = nullptr;
    LPITEMIDLIST pidlDrivesRaw = nullptr;
    if (FAILED(SHGetDesktopFolder(&pDesktopRaw)))
        return;
    CInterfaceHolder<IShellFolder> pDesktop(pDesktopRaw);
    if (FAILED(SHGetSpecialFolderLocation(m_hWnd, CSIDL_DRIVES, &pidlDrivesRaw)))
        return;
    CPidlHolder pidlDrives(pidlDrivesRaw);
    IShellFolder* pDrivesRaw = BindFolder(pDesktop.get(), pidlDrives.get());
    if (!pDrivesRaw)
        return;
    CInterfaceHolder<IShellFolder> pDrives(pDrivesRaw);
    ForEachItem(pDrives.get(), m_hWnd, FOLDER_ITEMS, [&](LPCITEMIDLIST pidl) {
        const CString strRoot = NameOf(pDrives.get(), pidl, SHGDN_FORPARSING);
        if (strRoot.GetLength() == DRIVE_ROOT_LENGTH && GetDriveType(strRoot) == DRIVE_FIXED)
            InsertDriveItem(pDrives.get(), pidl);
        return true;
    });
}

HTREEITEM CCheckExplorerTreeCtrl::InsertDriveItem(IShellFolder* pDrives, LPCITEMIDLIST pidl)
{
    return InsertShellItem(pDrives, pidl, SHGDN_NORMAL, TVI_ROOT, TVI_LAST, STATE_NONE);
}

HTREEITEM CCheckExplorerTreeCtrl::InsertFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidl, HTREEITEM hParent)
{
    const int nState = GetCheckState(hParent) == STATE_CHECKED ? STATE_CHECKED : STATE_UNCHECKED;
    HTREEITEM hItem = InsertShellItem(pFolder, pidl, SHGDN_INFOLDER, hParent, TVI_SORT, nState);
    if (hItem)
        m_bInserted = TRUE;
    return hItem;
}

HTREEITEM CCheckExplorerTreeCtrl::InsertShellItem(
    IShellFolder* pParent, LPCITEMIDLIST pidl, SHGDNF uNameFlags, HTREEITEM hParent, HTREEITEM hInsertAfter, int nState)
{
    const CString strName = NameOf(pParent, pidl, uNameFlags);
    const CString strPath = NameOf(pParent, pidl, SHGDN_FORPARSING);
    IShellFolder* pFolder = BindFolder(pParent, pidl);
    if (!pFolder)
        return nullptr;
    HTREEITEM hItem = InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE, strName,
        GetPathIconIndex(strPath, FALSE, TRUE), GetPathIconIndex(strPath, TRUE, TRUE),
        INDEXTOSTATEIMAGEMASK(static_cast<UINT>(nState)), TVIS_STATEIMAGEMASK, reinterpret_cast<LPARAM>(pFolder),
        hParent, hInsertAfter);
    if (!hItem) {
        pFolder->Release();
        return nullptr;
    }
    AddDummyWhenHasSubfolders(pParent, pidl, hItem);
    return hItem;
}

void CCheckExplorerTreeCtrl::AddDummyWhenHasSubfolders(IShellFolder* pFolder, LPCITEMIDLIST pidl, HTREEITEM hItem)
{
    if (!AttributesOf(pFolder, pidl, SFGAO_HASSUBFOLDER))
        return;
    HTREEITEM hDummy = InsertItem(DUMMY_TEXT, hItem);
    SetCheckState(hDummy, STATE_NONE);
}

void CCheckExplorerTreeCtrl::ExpandOnce(HTREEITEM hItem)
{
    if (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)
        return;
    SetItemState(hItem, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
    std::unique_ptr<CWaitCursor> pWait;
    if (!m_progress.IsShown())
        pWait = std::make_unique<CWaitCursor>();
    if (HTREEITEM hDummy = GetChildItem(hItem); hDummy && !ItemFolder(hDummy))
        DeleteItem(hDummy);
    FillChildren(hItem);
}

void CCheckExplorerTreeCtrl::FillChildren(HTREEITEM hItem)
{
    IShellFolder* pFolder = ItemFolder(hItem);
    const bool bNetwork = ItemDriveType(hItem) == DRIVE_REMOTE;
    ForEachItem(pFolder, m_hWnd, FOLDER_ITEMS, [&](LPCITEMIDLIST pidl) {
        if (m_progress.IsShown()) {
            PumpMessages(&m_progress);
            if (m_pServed)
                PumpMessages(m_pServed);
            if (m_progress.IsCancelled())
                return false;
        }
        if (bNetwork || !m_pExtensions || HasWantedFiles(pFolder, pidl, 0))
            InsertFolderItem(pFolder, pidl, hItem);
        return true;
    });
}

/***** The document filter *****/

BOOL CCheckExplorerTreeCtrl::IsWantedFile(const CString& strName) const
{
    const int nDot = strName.ReverseFind('.');
    if (nDot < 0)
        return FALSE;
    CString strExtension = strName.Mid(nDot + 1);
    strExtension.MakeLower();
    void* pValue = nullptr;
    if (!m_pExtensions->Lookup(strExtension, pValue))
        return FALSE;
    for (int i = 0; i < m_masks.GetSize(); ++i) {
        if (MatchFileMask(strName, m_masks[i]))
            return FALSE;
    }
    return TRUE;
}

int CCheckExplorerTreeCtrl::HasWantedFiles(IShellFolder* pFolder, LPCITEMIDLIST pidl, int nDepth)
{
    if (nDepth > MAX_FILTER_DEPTH || !AttributesOf(pFolder, pidl, SFGAO_FILESYSTEM))
        return 0;
    CString strKey = NameOf(pFolder, pidl, SHGDN_FORPARSING);
    strKey.MakeLower();
    void* pValue = nullptr;
    if (m_leaveOut.Lookup(strKey, pValue))
        return 0;
    if (m_found.Lookup(strKey, pValue))
        return 1;
    IShellFolder* pSubFolderRaw = BindFolder(pFolder, pidl);
    if (!pSubFolderRaw)
        return 0;
    CInterfaceHolder<IShellFolder> pSubFolder(pSubFolderRaw);
    // One pass over the folder: a wanted file ends it; the sub-folders met on
    // the way are searched afterwards, in their order, when none was. A file
    // is judged by its name in the folder (after any backslash the host's name
    // holds, as in a program path), never by its whole path cut to MAX_PATH.
    std::vector<CPidlHolder> subFolders;
    bool bFound = false;
    ForEachItem(pSubFolder.get(), m_hWnd, FOLDER_ITEMS | FILE_ITEMS, [&](LPCITEMIDLIST pidlChild) {
        const SFGAOF attributes = AttributesOf(pSubFolder.get(), pidlChild, SFGAO_FOLDER | SFGAO_FILESYSTEM);
        if (attributes & SFGAO_FOLDER)
            subFolders.emplace_back(CopyPIDL(nullptr, pidlChild));
        else if (attributes & SFGAO_FILESYSTEM)
            bFound = IsWantedFile(LastComponent(NameOf(pSubFolder.get(), pidlChild, SHGDN_INFOLDER | SHGDN_FORPARSING)))
                != FALSE;
        return !bFound;
    });
    for (size_t i = 0; !bFound && i < subFolders.size(); ++i)
        bFound = subFolders[i] && HasWantedFiles(pSubFolder.get(), subFolders[i].get(), nDepth + 1) != 0;
    if (!bFound)
        return 0;
    m_found.SetAt(strKey, nullptr);
    return 1;
}

/***** Paths *****/

CString CCheckExplorerTreeCtrl::GetItemPath(HTREEITEM hItem) const
{
    CString strBelow;
    HTREEITEM hRoot = hItem;
    for (HTREEITEM hParent = GetParentItem(hRoot); hParent; hParent = GetParentItem(hRoot)) {
        strBelow = strBelow.IsEmpty() ? GetItemText(hRoot) : GetItemText(hRoot) + "\\" + strBelow;
        hRoot = hParent;
    }
    const CString strRootText = GetItemText(hRoot);
    const int nColon = strRootText.ReverseFind(':');
    CString strPath = (nColon >= 1 ? strRootText.Mid(nColon - 1, 2) : CString()) + "\\" + strBelow;
    strPath.MakeLower();
    return strPath;
}

UINT CCheckExplorerTreeCtrl::ItemDriveType(HTREEITEM hItem) const
{
    return GetDriveType(GetItemPath(hItem).Left(DRIVE_ROOT_LENGTH));
}

void CCheckExplorerTreeCtrl::CollectStatePaths(CMapStringToPtr& map, int nClass)
{
    map.RemoveAll();
    for (HTREEITEM hItem = FindNextInState(GetRootItem(), nClass); hItem;
         hItem = FindNextInState(GetNextItemPreorder(hItem), nClass)) {
        if (!ItemFolder(hItem))
            continue; // a dummy
        CString strKey = NormalizeUNCPath(NormalizeDrivePath(GetItemPath(hItem)));
        strKey.MakeLower();
        const bool bWhole = nClass == STATE_CHECKED_PARTLY
            && (!(GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) || GetCheckState(hItem) == STATE_CHECKED);
        map.SetAt(strKey, reinterpret_cast<void*>(static_cast<INT_PTR>(bWhole ? 1 : 0)));
    }
}

void CCheckExplorerTreeCtrl::CollectState3Paths(CMapStringToPtr& map)
{
    CollectStatePaths(map, STATE_CHECKED_PARTLY);
}

void CCheckExplorerTreeCtrl::CollectState1Paths(CMapStringToPtr& map)
{
    CollectStatePaths(map, STATE_EXCLUDED);
}

HTREEITEM CCheckExplorerTreeCtrl::FindChild(HTREEITEM hParent, const CString& strText) const
{
    HTREEITEM hChild = hParent == TVI_ROOT ? GetRootItem() : GetChildItem(hParent);
    for (; hChild; hChild = GetNextSiblingItem(hChild)) {
        if (ItemFolder(hChild) && GetItemText(hChild).CompareNoCase(strText) == 0)
            return hChild;
    }
    return nullptr;
}

HTREEITEM CCheckExplorerTreeCtrl::FindOrInsertDrive(const CString& strDrive)
{
    for (HTREEITEM hRoot = GetRootItem(); hRoot; hRoot = GetNextSiblingItem(hRoot)) {
        if (GetItemPath(hRoot).Left(2).CompareNoCase(strDrive) == 0)
            return hRoot;
    }
    LPITEMIDLIST pidlRaw = nullptr;
    if (FAILED(PathToPIDL(strDrive, &pidlRaw, nullptr)))
        return nullptr;
    CPidlHolder pidl(pidlRaw);
    IShellFolder* pDrivesRaw = nullptr;
    LPITEMIDLIST pidlRelativeRaw = nullptr;
    if (FAILED(BindParentFolder(pidl.get(), IID_IShellFolder, reinterpret_cast<void**>(&pDrivesRaw), &pidlRelativeRaw)))
        return nullptr;
    CInterfaceHolder<IShellFolder> pDrives(pDrivesRaw);
    CPidlHolder pidlRelative(pidlRelativeRaw);
    return InsertDriveItem(pDrives.get(), pidlRelative.get());
}

HTREEITEM CCheckExplorerTreeCtrl::FindOrInsertChild(HTREEITEM hParent, const CString& strText)
{
    // A folder never opened is filled first, so that it lists all its folders
    // afterwards, not only the one looked for.
    ExpandOnce(hParent);
    if (HTREEITEM hChild = FindChild(hParent, strText))
        return hChild;
    IShellFolder* pFolder = ItemFolder(hParent);
    LPITEMIDLIST pidlRaw = nullptr;
    if (!pFolder || FAILED(PathToPIDL(strText, &pidlRaw, pFolder)))
        return nullptr;
    CPidlHolder pidl(pidlRaw);
    return InsertFolderItem(pFolder, pidl.get(), hParent);
}

void CCheckExplorerTreeCtrl::RestoreCheckedPaths(CMapStringToPtr& map)
{
    POSITION position = map.GetStartPosition();
    while (position) {
        CString strPath;
        void* pValue = nullptr;
        map.GetNextAssoc(position, strPath, pValue);
        if (strPath.Right(1) != "\\")
            strPath += "\\";
        const int nColon = strPath.Find(':');
        if (nColon != 1)
            continue; // not a drive path
        HTREEITEM hItem = FindOrInsertDrive(strPath.Left(2));
        int nStart = nColon + 2;
        while (hItem && nStart < strPath.GetLength()) {
            const int nEnd = strPath.Find('\\', nStart);
            hItem = FindOrInsertChild(hItem, strPath.Mid(nStart, nEnd - nStart));
            nStart = nEnd + 1;
        }
        if (hItem)
            EnsureVisible(hItem);
    }
}

/***** Checking *****/

BOOL CCheckExplorerTreeCtrl::ApplyCheckAction(HTREEITEM hItem, int nAction)
{
    if (!hItem || ItemDriveType(hItem) == DRIVE_FIXED)
        return CCheckTreeCtrl::ApplyCheckAction(hItem, nAction);
    const BOOL bAllowed = IsExclusionAllowed();
    SetExclusionAllowed(FALSE);
    const BOOL bResult = CCheckTreeCtrl::ApplyCheckAction(hItem, nAction);
    SetExclusionAllowed(bAllowed);
    return bResult;
}

/***** Messages *****/

void CCheckExplorerTreeCtrl::ReleaseFolders(HTREEITEM hFirst)
{
    for (HTREEITEM hItem = hFirst; hItem; hItem = GetNextSiblingItem(hItem)) {
        ReleaseFolders(GetChildItem(hItem));
        if (IShellFolder* pFolder = ItemFolder(hItem)) {
            SetItemData(hItem, 0);
            pFolder->Release();
        }
    }
}

void CCheckExplorerTreeCtrl::OnDestroy()
{
    ReleaseFolders(GetRootItem());
    CCheckTreeCtrl::OnDestroy();
}

void CCheckExplorerTreeCtrl::OnDeleteItem(NMHDR* pNotify, LRESULT* pResult)
{
    if (auto* pFolder = reinterpret_cast<IShellFolder*>(reinterpret_cast<const NMTREEVIEW*>(pNotify)->itemOld.lParam))
        pFolder->Release();
    *pResult = 0;
}

void CCheckExplorerTreeCtrl::OnItemExpanding(NMHDR* pNotify, LRESULT* pResult)
{
    CCheckTreeCtrl::OnItemExpanding(pNotify, pResult);
    if (*pResult)
        return; // an excluded folder stays closed
    const auto* pTree = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    if (pTree->action & TVE_EXPAND)
        ExpandOnce(pTree->itemNew.hItem);
    *pResult = 0;
}

#pragma once

// The fixed drives of My Computer and their folders as a check tree, for
// choosing the folders to catalogue: a checked folder takes its subtree, an
// excluded one (state 1) cuts a folder out of a checked subtree. Folders are
// filled when first expanded; until then a folder that has sub-folders holds
// one dummy child ("AAAAA", no check box). Drive items have no check box.
//
// With an extension map set, only folders holding wanted documents somewhere
// below are listed (on network drives every folder is): a file is wanted when
// its extension is a key of the map and its name matches none of the file
// masks, so masks such as "~*.*" and "*.tmp" leave temporary files out.
// Without an extension map every folder is listed.
//
// Item paths are the drive ("c:") from a root's text, then the texts below
// it, lower-cased: "c:\", "c:\docs\letters". Each drive and folder item holds
// its own folder object, released when the item is deleted or the tree destroyed.
//
// The owner shows the progress dialog around long fills; while it shows, a
// fill pumps its messages (and those of the owner's window, when set) and
// stops as soon as its Cancel was confirmed, leaving the folder partly
// filled. The owner must not destroy the tree while a fill runs.

#include "platform/base/CollectionArrays.h"
#include "platform/base/CollectionMaps.h"
#include "platform/framework/CImageList.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CCheckTreeCtrl.h"
#include "ui/CDlgAnimatedProgress.h"
#include "ui/CSysImageList.h"

class CCheckExplorerTreeCtrl : public CCheckTreeCtrl {
    DECLARE_DYNCREATE(CCheckExplorerTreeCtrl)
    DECLARE_MESSAGE_MAP()

public:
    // The text of the dummy child of a folder not yet filled.
    static constexpr char DUMMY_TEXT[] = "AAAAA";

    CCheckExplorerTreeCtrl() = default;

    /* Filling. */

    // The small system icons as item images, the check states from IDB_CHECK_STATES.
    void InitImageLists();
    // A root item for every fixed drive of My Computer.
    void FillDrives();
    // Walks to every path of map, filling and inserting folders on the way,
    // and makes the last folder of each visible. Paths that are not there end
    // where they stop matching.
    void RestoreCheckedPaths(CMapStringToPtr& map);

    /* Reading the choice. Keys are normalised, lower-cased item paths. */

    // The checked folders: 1 for a folder whose whole subtree is taken
    // (never expanded, or fully checked), 0 for one whose sub-folders decide.
    void CollectState3Paths(CMapStringToPtr& map);
    // The excluded folders, each with 0.
    void CollectState1Paths(CMapStringToPtr& map);
    CString GetItemPath(HTREEITEM hItem) const;

    // On a drive that is not fixed nothing can be excluded.
    BOOL ApplyCheckAction(HTREEITEM hItem, int nAction) override;

    /* What the owner sets. */

    // Lower-cased folder paths never listed.
    CMapStringToPtr& GetLeaveOutMap() { return m_leaveOut; }
    // Lower-cased extensions (without the dot) of wanted documents; null: no
    // filter. Not owned.
    void SetExtensionMap(CMapStringToPtr* pExtensions) { m_pExtensions = pExtensions; }
    // Forgets which folders were found to hold wanted documents (after the wanted extensions changed).
    void ClearFoundCache() { m_found.RemoveAll(); }
    // Masks that leave a file out (MatchFileMask).
    CStringArray& GetFileMasks() { return m_masks; }
    // A map the owner keeps beside the tree.
    CMapStringToPtr& GetOwnerMap() { return m_ownerMap; }
    CDlgAnimatedProgress& GetProgressDialog() { return m_progress; }
    // A window whose messages a fill serves too while its progress shows,
    // such as the owner's buttons that stop the fill; null: none. Not owned.
    void SetServedWindow(CWnd* pWnd) { m_pServed = pWnd; }
    // Whether a folder item was inserted since the owner cleared the flag.
    BOOL IsInserted() const { return m_bInserted; }
    void SetInserted(BOOL bInserted) { m_bInserted = bInserted; }

protected:
    void OnDestroy();
    void OnItemExpanding(NMHDR* pNotify, LRESULT* pResult);
    // An item deleted before the tree gives back its folder object.
    void OnDeleteItem(NMHDR* pNotify, LRESULT* pResult);

private:
    // Inserts a root item for the drive pidl names in My Computer's folder.
    HTREEITEM InsertDriveItem(IShellFolder* pDrives, LPCITEMIDLIST pidl);
    // Inserts a sorted child of hParent for the folder pidl names in pFolder.
    HTREEITEM InsertFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidl, HTREEITEM hParent);
    // Inserts an item for the folder pidl names in pParent, holding its own
    // folder object, with its name by uNameFlags and its system icons.
    HTREEITEM InsertShellItem(IShellFolder* pParent, LPCITEMIDLIST pidl, SHGDNF uNameFlags, HTREEITEM hParent,
        HTREEITEM hInsertAfter, int nState);
    // Adds a dummy child when the item pidl names in pFolder has sub-folders.
    void AddDummyWhenHasSubfolders(IShellFolder* pFolder, LPCITEMIDLIST pidl, HTREEITEM hItem);
    // Replaces the dummy child by the real sub-folders, once.
    void ExpandOnce(HTREEITEM hItem);
    void FillChildren(HTREEITEM hItem);
    // Nonzero when the folder pidl names in pFolder, or one below it, holds a wanted document.
    int HasWantedFiles(IShellFolder* pFolder, LPCITEMIDLIST pidl, int nDepth);
    BOOL IsWantedFile(const CString& strName) const;
    // The drive type of the root an item lies under.
    UINT ItemDriveType(HTREEITEM hItem) const;
    IShellFolder* ItemFolder(HTREEITEM hItem) const { return reinterpret_cast<IShellFolder*>(GetItemData(hItem)); }
    HTREEITEM FindChild(HTREEITEM hParent, const CString& strText) const;
    HTREEITEM FindOrInsertChild(HTREEITEM hParent, const CString& strText);
    HTREEITEM FindOrInsertDrive(const CString& strDrive);
    void CollectStatePaths(CMapStringToPtr& map, int nClass);
    void ReleaseFolders(HTREEITEM hFirst);

    CSysImageList m_systemImages;
    CImageList m_stateImages;
    CDlgAnimatedProgress m_progress;
    CWnd* m_pServed { nullptr };
    BOOL m_bInserted { FALSE };
    CMapStringToPtr m_leaveOut;
    CMapStringToPtr* m_pExtensions { nullptr };
    CMapStringToPtr m_ownerMap;
    CMapStringToPtr m_found; // folders known to hold wanted documents
    CStringArray m_masks;
};

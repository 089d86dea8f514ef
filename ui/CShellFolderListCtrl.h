#pragma once

// A grid list of the items of one shell folder: name, size, type and
// modification time (and the folder holding the item) with the system's small
// icons, folders first, files filtered by a name mask; or of items the owner
// inserts by path. Columns are told apart by their title string
// (IDS_SHELL_LIST_*); the owner inserts the ones it wants. Each row owns a
// CInfoPIDL of its item; texts and icons are asked for when shown.

#include "catalog/CInfoPIDL.h"
#include "ui/CGridListCtrl.h"

class CShellFolderListCtrl : public CGridListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    CShellFolderListCtrl();
    ~CShellFolderListCtrl() override;

    // The grid list's set-up, with image lists shared (the system's are never destroyed).
    BOOL Initialize();
    // Shows the items of the folder (an absolute list, copied): every folder,
    // the files whose names match pszMask (wildcards, any case), only
    // file-system items when bFileSystemOnly.
    void Fill(LPCITEMIDLIST pidlFolder, const CString& strMask, BOOL bFileSystemOnly);
    // Frees every row's item and deletes the rows.
    void ClearItems();
    // Gives the list the system image list of that kind (LVSIL_SMALL or LVSIL_NORMAL).
    void SetSystemImageList(int nWhich);
    // Inserts a row for the item (copies of the lists, a reference on the folder).
    int InsertShellItem(int nIndex, IShellFolder* pParent, LPCITEMIDLIST pidlRelative, LPCITEMIDLIST pidlAbsolute);
    // Inserts a row for the file or folder at the program path, held by the
    // desktop under its absolute list, so that rows of different folders
    // drag together; -1 when the path names no item.
    int InsertPath(int nIndex, LPCTSTR pszPath);
    // The row's item; nullptr for a bad row.
    CInfoPIDL* GetShellItem(int nItem) const;
    const CString& GetMask() const { return m_strMask; }

    // Enter and Esc go to the window at once, ahead of dialog navigation.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    /* Column texts, for a row's item. */

    // The size in whole kilobytes, rounded up, with "KB"; empty for a folder
    // or an item whose file data cannot be read.
    static CString SizeText(ULONGLONG nBytes);

protected:
    void OnGetDispInfo(NMHDR* pNotify, LRESULT* pResult);
    void OnDestroy();

private:
    static int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    static int AddFolderItem(IShellFolder* pFolder, LPCITEMIDLIST pidlItem, void* pUser);
    // The text of a column (by its title string) for a row's item.
    CString ItemText(const CInfoPIDL& item, UINT nTitleID) const;

    CString m_strMask;
    BOOL m_bFileSystemOnly { FALSE };      // during Fill
    IShellFolder* m_pDesktop { nullptr };  // one reference
    LPITEMIDLIST m_pidlFolder { nullptr }; // the folder shown, owned
    IMalloc* m_pMalloc { nullptr };
};

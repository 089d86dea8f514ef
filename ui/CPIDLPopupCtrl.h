#pragma once

// The shell item popup: the folders of one shell folder (My Computer's
// drives, a drive's folders, ...) as cascading rows with their system icons;
// a row with subfolders opens the next level, and choosing a row gives a
// CInfoPIDL of that folder. Opened for a drag, a row takes catalog entries
// and copies or moves the documents' files into its folder. A row's menu
// offers a new folder there (the host's dialog).
//
// The list holds its folder (one reference) and both identifier lists of
// every row, freed with the shell allocator when its window goes; a row
// carries its position in them.

#include "platform/framework/CImageList.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CPopupCtrl.h"
#include "ui/CPopupWnd.h"
#include "ui/CSysImageList.h"
#include "ui/PopupRowLook.h"

#include <vector>

class CPIDLPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CPIDLPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr DWORD MASK_SELF = 0;             // the folder itself, one row
    static constexpr DWORD MASK_ALL = 0xFFFFFFFF;     // every child folder
    static constexpr DWORD MASK_FIXED_NETWORK = 0x18; // drive roots of types 3 and 4 only
    static constexpr DWORD NO_ITEM = 0xFFFFFFFF;

    CPIDLPopupCtrl();
    ~CPIDLPopupCtrl() override;

    // Lists the folder's child folders (hidden ones too); with a mask other
    // than MASK_ALL a drive root ("X:\") is listed only when bit (its drive
    // type) is set. MASK_SELF lists the folder itself. An empty root popup
    // shows one disabled row (IDS_NO_FOLDERS).
    void FillFromPIDL(LPCITEMIDLIST pidlFolder, DWORD dwDriveTypeMask);
    // Appends a row for an item (both lists owned by the list from now on);
    // it has a child when the folder says it has subfolders.
    void AddShellRow(LPCTSTR pszText, LPITEMIDLIST pidlRelative, LPITEMIDLIST pidlAbsolute);
    // The parsing name of a row's item ("c:\work"); empty when none.
    CString GetParsingName(int nIndex) const;

    int GetPopupWidth() override { return m_nWidest; }
    // A new CInfoPIDL of the row (the folder with a reference, copies of the lists), owned by the caller.
    void* GetItemResult(int nIndex) override;
    CPopupWnd* CreateChildPopup(int nIndex) override;
    BOOL OnRightClick() override;
    int OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    int EndDragMode(CKadDragObj* pPayload, int nEffect) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    void OnDestroy();

private:
    struct CItem {
        LPITEMIDLIST pidlRelative { nullptr };
        LPITEMIDLIST pidlAbsolute { nullptr };
    };
    const CItem* Item(int nIndex) const;
    void FreeItems();
    // The folder's attributes of a row's item among dwAsked.
    SFGAOF Attributes(const CItem& item, SFGAOF dwAsked) const;
    // Copies or moves the payload's documents into the folder; the main window is told.
    static void DropDocumentsIn(const CString& strFolder, CKadDragObj* pPayload, int nEffect);

    CSysImageList m_systemImages;
    CImageList* m_pArrows; // shared, null when the bitmap is missing
    CPopupRowLook m_look;
    int m_nWidest { 0 };
    IShellFolder* m_pFolder { nullptr };
    std::vector<CItem> m_items;
    IMalloc* m_pMalloc { nullptr };
};

class CPIDLPopupWnd : public CPopupWnd {
public:
    CPIDLPopupWnd();
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CPIDLPopupCtrl& GetPIDLList() { return m_list; }

private:
    CPIDLPopupCtrl m_list;
};

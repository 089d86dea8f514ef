#pragma once

// A payload of shell items: identifier lists relative to one parent folder,
// which the payload holds a reference on, and a text its builder gives (the
// shell folder list passes its name mask). The payload owns the lists and
// frees them with the shell allocator.

#include "store/DocumentBackup.h"

#include "platform/base/CArray.h"
#include "platform/base/CString.h"
#include "platform/shell/ShellFolder.h"
#include "ui/CKadDragObj.h"

struct ShellDragItem {
    LPITEMIDLIST pidl { nullptr }; // relative to the parent folder
    int nItem { 0 };               // the list row it came from
};

class CKadDragObjPIDL : public CKadDragObj {
    DECLARE_DYNAMIC(CKadDragObjPIDL)

public:
    // Takes a reference on pFolder (may be null).
    CKadDragObjPIDL(IShellFolder* pFolder, LPCTSTR pszText);
    ~CKadDragObjPIDL() override;

    // Takes over pidl, allocated by the shell allocator.
    void AddItem(LPITEMIDLIST pidl, int nItem);
    int GetItemCount() const { return m_items.GetSize(); }
    const ShellDragItem& GetItem(int nIndex) const { return m_items[nIndex]; }
    IShellFolder* GetFolder() const { return m_pFolder; }
    const CString& GetText() const { return m_strText; }
    // The items' program paths (their parsing names), as the catalog's drop
    // runs take them; an item without one is left out.
    CDroppedShellItems GetDroppedItems() const;

private:
    IShellFolder* m_pFolder;
    CArray<ShellDragItem> m_items;
    CString m_strText;
};

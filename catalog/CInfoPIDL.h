#pragma once

// One shell item held together with the folder that contains it: the parent
// folder (one reference), the item's single-level list within it, and its
// absolute list from the desktop. All three are null in an empty record and
// all three are owned by the record's holder, who frees them with
// FreeInfoPIDL before deleting the record. Popups, list controls and drag
// payloads hand such records to their callers.

#include "platform/base/CObject.h"
#include "platform/shell/ShellFolder.h"

class CInfoPIDL : public CObject {
    DECLARE_DYNAMIC(CInfoPIDL)

public:
    CInfoPIDL() = default;

    // Clears the fields (without freeing them) and, for a non-null list, binds
    // its parent folder and copies its last level. The record takes ownership
    // of pidlAbsolute itself.
    void SetFromAbsolutePIDL(LPITEMIDLIST pidlAbsolute);

    IShellFolder* m_pFolder { nullptr }; // parent folder, one reference
    LPITEMIDLIST m_pidlRelative { nullptr };
    LPITEMIDLIST m_pidlAbsolute { nullptr };
};

// Stores pFolder with a reference added and copies of both lists (pMalloc, or
// the shell allocator when null). The record's old fields are not freed.
void FillInfoPIDL(
    IMalloc* pMalloc, CInfoPIDL* pInfo, IShellFolder* pFolder, LPCITEMIDLIST pidlRelative, LPCITEMIDLIST pidlAbsolute);
// Releases the folder and frees both lists; every field becomes null.
void FreeInfoPIDL(IMalloc* pMalloc, CInfoPIDL* pInfo);

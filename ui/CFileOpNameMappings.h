#pragma once

// The renamings a shell file operation reports (SHFILEOPSTRUCT::hNameMappings
// with FOF_WANTMAPPINGHANDLE): walked entry by entry, each giving the old and
// the new path. The holder frees the handle when it goes.

#include "platform/base/CString.h"
#include "platform/shell/FileOperation.h"

class CFileOpNameMappings {
public:
    // Takes over hNameMappings (null: no renamings).
    explicit CFileOpNameMappings(LPVOID hNameMappings);
    virtual ~CFileOpNameMappings();
    CFileOpNameMappings(const CFileOpNameMappings&) = delete;
    CFileOpNameMappings& operator=(const CFileOpNameMappings&) = delete;

    // The first entry; null without a handle or entries.
    LPSHNAMEMAPPINGW GetFirst();
    // The entry after the last one given; null past the end.
    LPSHNAMEMAPPINGW GetNext();

    // An entry's paths as program text, at most MAX_PATH - 1 bytes.
    void GetOldPath(const SHNAMEMAPPINGW* pEntry, CString& strPath) const;
    void GetNewPath(const SHNAMEMAPPINGW* pEntry, CString& strPath) const;

private:
    CString PathText(LPCWSTR pwszPath, int cchPath) const;

    SHNAMEMAPPINGHEADER* m_pMappings;
    UINT m_nIndex { 0 };
    // The paths are UTF-16 on every system but the 9x family.
    BOOL m_bWide;
};

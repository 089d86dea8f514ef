#include "ui/CKadDragObjPIDL.h"

#include "catalog/ShellItemIds.h"

#include "platform/base/Com.h"

IMPLEMENT_DYNAMIC(CKadDragObjPIDL, CKadDragObj)

namespace {

constexpr int ITEM_GROW_BY = 32;

} // namespace

CKadDragObjPIDL::CKadDragObjPIDL(IShellFolder* pFolder, LPCTSTR pszText)
    : CKadDragObj(KIND_SHELL_ITEMS)
    , m_pFolder(pFolder)
    , m_strText(pszText ? pszText : "")
{
    if (m_pFolder)
        m_pFolder->AddRef();
    m_items.SetSize(0, ITEM_GROW_BY);
}

CKadDragObjPIDL::~CKadDragObjPIDL()
{
    LPMALLOC pMalloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&pMalloc)) && pMalloc) {
        for (int i = 0; i < m_items.GetSize(); ++i)
            pMalloc->Free(m_items[i].pidl);
        pMalloc->Release();
    }
    if (m_pFolder)
        m_pFolder->Release();
}

void CKadDragObjPIDL::AddItem(LPITEMIDLIST pidl, int nItem)
{
    m_items.Add(ShellDragItem { pidl, nItem });
}

CDroppedShellItems CKadDragObjPIDL::GetDroppedItems() const
{
    CDroppedShellItems items;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CString strPath;
        if (SUCCEEDED(GetDisplayNameOfPIDL(m_pFolder, m_items[i].pidl, SHGDN_FORPARSING, strPath)))
            items.paths.push_back(strPath);
    }
    return items;
}

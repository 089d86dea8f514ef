#include "catalog/CInfoPIDL.h"

#include "catalog/ShellItemIds.h"

IMPLEMENT_DYNAMIC(CInfoPIDL, CObject)

void CInfoPIDL::SetFromAbsolutePIDL(LPITEMIDLIST pidlAbsolute)
{
    m_pFolder = nullptr;
    m_pidlRelative = nullptr;
    m_pidlAbsolute = nullptr;
    if (!pidlAbsolute)
        return;
    if (FAILED(BindParentFolder(pidlAbsolute, IID_IShellFolder, reinterpret_cast<void**>(&m_pFolder), &m_pidlRelative)))
        m_pFolder = nullptr;
    m_pidlAbsolute = pidlAbsolute;
}

void FillInfoPIDL(
    IMalloc* pMalloc, CInfoPIDL* pInfo, IShellFolder* pFolder, LPCITEMIDLIST pidlRelative, LPCITEMIDLIST pidlAbsolute)
{
    if (!pInfo)
        return;
    pInfo->m_pFolder = pFolder;
    if (pFolder)
        pFolder->AddRef();
    pInfo->m_pidlRelative = CopyPIDL(pMalloc, pidlRelative);
    pInfo->m_pidlAbsolute = CopyPIDL(pMalloc, pidlAbsolute);
}

void FreeInfoPIDL(IMalloc* pMalloc, CInfoPIDL* pInfo)
{
    if (!pInfo)
        return;
    if (pInfo->m_pFolder)
        pInfo->m_pFolder->Release();
    pInfo->m_pFolder = nullptr;
    for (LPITEMIDLIST* ppidl : { &pInfo->m_pidlRelative, &pInfo->m_pidlAbsolute }) {
        if (*ppidl) {
            if (pMalloc)
                pMalloc->Free(*ppidl);
            else
                CoTaskMemFree(*ppidl);
        }
        *ppidl = nullptr;
    }
}

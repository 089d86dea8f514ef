#include "catalog/ShellItemIds.h"

#include "platform/base/CodePages.h"
#include "platform/base/TextFunctions.h"

#include <cstring>
#include <string>

namespace {

// The shell allocator; it lives for the process, so no reference is kept.
IMalloc* ShellMalloc()
{
    IMalloc* pMalloc = nullptr;
    if (FAILED(SHGetMalloc(&pMalloc)))
        return nullptr;
    pMalloc->Release();
    return pMalloc;
}

const SHITEMID* NextItem(const SHITEMID* pItem)
{
    return reinterpret_cast<const SHITEMID*>(reinterpret_cast<const BYTE*>(pItem) + pItem->cb);
}

} // namespace

/********************************* Lists *********************************/

UINT GetPIDLSize(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return 0;
    UINT nSize = sizeof(USHORT);
    for (const SHITEMID* pItem = &pidl->mkid; pItem->cb; pItem = NextItem(pItem))
        nSize += pItem->cb;
    return nSize;
}

LPITEMIDLIST AllocPIDL(UINT nSize)
{
    IMalloc* pMalloc = ShellMalloc();
    if (!pMalloc)
        return nullptr;
    auto* pidl = static_cast<LPITEMIDLIST>(pMalloc->Alloc(nSize));
    if (pidl)
        std::memset(pidl, 0, nSize);
    return pidl;
}

LPITEMIDLIST CopyPIDL(IMalloc* pMalloc, LPCITEMIDLIST pidl)
{
    if (!pidl)
        return nullptr;
    if (!pMalloc)
        pMalloc = ShellMalloc();
    if (!pMalloc)
        return nullptr;
    const UINT nSize = GetPIDLSize(pidl);
    auto* pidlCopy = static_cast<LPITEMIDLIST>(pMalloc->Alloc(nSize));
    if (pidlCopy)
        std::memcpy(pidlCopy, pidl, nSize);
    return pidlCopy;
}

LPITEMIDLIST ConcatPIDLs(LPCITEMIDLIST pidlFirst, LPCITEMIDLIST pidlSecond)
{
    const UINT nFirst = pidlFirst ? GetPIDLSize(pidlFirst) - sizeof(USHORT) : 0;
    const UINT nSecond = pidlSecond ? GetPIDLSize(pidlSecond) : sizeof(USHORT);
    LPITEMIDLIST pidl = AllocPIDL(nFirst + nSecond);
    if (!pidl)
        return nullptr;
    auto* pBytes = reinterpret_cast<BYTE*>(pidl);
    if (nFirst)
        std::memcpy(pBytes, pidlFirst, nFirst);
    if (pidlSecond)
        std::memcpy(pBytes + nFirst, pidlSecond, nSecond);
    return pidl;
}

LPITEMIDLIST CopyParentPIDL(LPCITEMIDLIST pidl)
{
    if (!pidl || !pidl->mkid.cb)
        return nullptr;
    UINT nParent = 0;
    UINT nLast = 0;
    for (const SHITEMID* pItem = &pidl->mkid; pItem->cb; pItem = NextItem(pItem)) {
        nParent += nLast;
        nLast = pItem->cb;
    }
    if (!nParent)
        return nullptr;
    LPITEMIDLIST pidlParent = AllocPIDL(nParent + sizeof(USHORT));
    if (pidlParent)
        std::memcpy(pidlParent, pidl, nParent); // the terminator is already zero
    return pidlParent;
}

/************************** Parsing and binding ***************************/

HRESULT PathToPIDL(LPCTSTR pszPath, LPITEMIDLIST* ppidl, IShellFolder* pFolder)
{
    if (!ppidl)
        return E_POINTER;
    *ppidl = nullptr;
    if (!pszPath)
        return E_INVALIDARG;
    IShellFolder* pDesktop = nullptr;
    if (!pFolder) {
        const HRESULT hr = SHGetDesktopFolder(&pDesktop);
        if (FAILED(hr))
            return hr;
        pFolder = pDesktop;
    }
    std::string strPath = pszPath;
    if (!strPath.empty() && strPath.back() == ':')
        strPath += '\\';
    WCHAR wszPath[MAX_PATH] {};
    // A path longer than the buffer parses as far as it was converted: nothing.
    if (!MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, strPath.c_str(), -1, wszPath, MAX_PATH))
        wszPath[0] = 0;
    ULONG nEaten = 0;
    const HRESULT hr = pFolder->ParseDisplayName(nullptr, nullptr, wszPath, &nEaten, ppidl, nullptr);
    if (pDesktop)
        pDesktop->Release();
    return hr;
}

HRESULT BindParentFolder(LPCITEMIDLIST pidlAbsolute, REFIID riid, void** ppv, LPITEMIDLIST* ppidlRelative)
{
    if (!pidlAbsolute || !ppv)
        return E_INVALIDARG;
    *ppv = nullptr;
    if (ppidlRelative)
        *ppidlRelative = nullptr;
    IShellFolder* pDesktop = nullptr;
    HRESULT hr = SHGetDesktopFolder(&pDesktop);
    if (FAILED(hr))
        return hr;
    LPITEMIDLIST pidlParent = CopyParentPIDL(pidlAbsolute);
    if (!pidlParent) {
        pDesktop->AddRef();
        *ppv = pDesktop;
        if (ppidlRelative)
            *ppidlRelative = CopyPIDL(nullptr, pidlAbsolute);
        hr = S_OK;
    } else {
        if (ppidlRelative) {
            const UINT nParent = GetPIDLSize(pidlParent);
            const UINT nRelative = GetPIDLSize(pidlAbsolute) + sizeof(USHORT) - nParent;
            *ppidlRelative = AllocPIDL(nRelative);
            if (*ppidlRelative)
                std::memcpy(
                    *ppidlRelative, reinterpret_cast<const BYTE*>(pidlAbsolute) + nParent - sizeof(USHORT), nRelative);
        }
        hr = pDesktop->BindToObject(pidlParent, nullptr, riid, ppv);
        CoTaskMemFree(pidlParent);
    }
    pDesktop->Release();
    return hr;
}

/********************************* Names **********************************/

HRESULT GetDisplayNameOfPIDL(IShellFolder* pFolder, LPCITEMIDLIST pidl, SHGDNF uFlags, CString& strName)
{
    strName.Empty();
    if (!pFolder)
        return E_INVALIDARG;
    STRRET name {};
    const HRESULT hr = pFolder->GetDisplayNameOf(pidl, uFlags, &name);
    if (FAILED(hr))
        return hr;
    std::string strText;
    switch (name.uType) {
    case STRRET_WSTR:
        if (name.pOleStr) {
            strText = Utf8FromUtf16(name.pOleStr);
            CoTaskMemFree(name.pOleStr);
        }
        break;
    case STRRET_OFFSET:
        if (pidl)
            strText = reinterpret_cast<const char*>(pidl) + name.uOffset;
        break;
    case STRRET_CSTR:
        strText.assign(name.cStr, strnlen(name.cStr, sizeof(name.cStr)));
        break;
    default:
        break;
    }
    strText.resize(Utf8PrefixLength(strText.c_str(), MAX_PATH - 1));
    strName = strText.c_str();
    return hr;
}

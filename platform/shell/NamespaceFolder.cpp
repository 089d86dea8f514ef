#include "platform/shell/NamespaceFolder.h"

#include "platform/base/ComObject.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/ShellContextMenu.h"

#include <cstring>
#include <iterator>

namespace {

// Our folder objects answer this private interface, so the namespace can
// reach their items.
struct INamespaceFolder : IUnknown {
    virtual const CItemPath& Items() const = 0;

protected:
    ~INamespaceFolder() = default;
};
constexpr IID IID_INamespaceFolder = { 0x6A1C3F20, 0x5D2E, 0x4B7A, { 0x9E, 0x11, 0x3C, 0x52, 0x7D, 0x08, 0xA4, 0x6F } };

class CEnumIdList final : public CComObject<IEnumIDList> {
public:
    explicit CEnumIdList(std::vector<std::string> items)
        : CComObject(IID_IEnumIDList)
        , m_items(std::move(items))
    {
    }

    HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* pceltFetched) override
    {
        if (!rgelt || (celt > 1 && !pceltFetched))
            return E_POINTER;
        ULONG nFetched = 0;
        while (nFetched < celt && m_nNext < m_items.size()) {
            rgelt[nFetched] = AllocIdListOfBytes(m_items[m_nNext]);
            if (!rgelt[nFetched])
                break;
            ++nFetched;
            ++m_nNext;
        }
        if (pceltFetched)
            *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG celt) override
    {
        size_t nLeft = m_items.size() - m_nNext;
        m_nNext += std::min<size_t>(celt, nLeft);
        return celt <= nLeft ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        m_nNext = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumIDList** ppenum) override
    {
        if (!ppenum)
            return E_POINTER;
        auto* pClone = new CEnumIdList(m_items);
        pClone->m_nNext = m_nNext;
        *ppenum = pClone;
        return S_OK;
    }

private:
    std::vector<std::string> m_items; // encoded, each one item
    size_t m_nNext { 0 };
};

class CShellFolder final
    : public CComObject<IShellFolder>
    , public INamespaceFolder {
public:
    explicit CShellFolder(CItemPath items)
        : CComObject(IID_IShellFolder)
        , m_items(std::move(items))
    {
    }

    // IUnknown, reached through either base.
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return CComObject::QueryInterface(riid, ppv); }
    ULONG AddRef() override { return CComObject::AddRef(); }
    ULONG Release() override { return CComObject::Release(); }

    const CItemPath& Items() const override { return m_items; }

    HRESULT ParseDisplayName(
        HWND, LPBC, LPOLESTR pszDisplayName, ULONG* pchEaten, LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override;
    HRESULT EnumObjects(HWND, SHCONTF grfFlags, IEnumIDList** ppenumIDList) override;
    HRESULT BindToObject(LPCITEMIDLIST pidl, LPBC, REFIID riid, void** ppv) override;
    HRESULT BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void** ppv) override { return NotImplemented(ppv); }
    HRESULT CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
    HRESULT CreateViewObject(HWND, REFIID, void** ppv) override { return NotImplemented(ppv); }
    HRESULT GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut) override;
    HRESULT GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid, UINT*, void** ppv) override;
    HRESULT GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName) override;
    HRESULT SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, SHGDNF, LPITEMIDLIST* ppidlOut) override
    {
        if (ppidlOut)
            *ppidlOut = nullptr;
        return E_NOTIMPL;
    }

protected:
    void* QueryOther(REFIID riid) override
    {
        return riid == IID_INamespaceFolder ? static_cast<INamespaceFolder*>(this) : nullptr;
    }

private:
    static HRESULT NotImplemented(void** ppv)
    {
        if (ppv)
            *ppv = nullptr;
        return E_NOTIMPL;
    }

    CItemPath m_items;
};

bool IsFolderItem(const CShellItem& item)
{
    return item.eKind == EItemKind::VirtualFolder || item.eKind == EItemKind::Drive || item.eKind == EItemKind::Share
        || item.eKind == EItemKind::Folder;
}

HRESULT CShellFolder::ParseDisplayName(
    HWND, LPBC, LPOLESTR pszDisplayName, ULONG* pchEaten, LPITEMIDLIST* ppidl, ULONG* pdwAttributes)
{
    if (!ppidl)
        return E_POINTER;
    *ppidl = nullptr;
    if (!pszDisplayName)
        return E_INVALIDARG;
    std::u16string_view wideName = pszDisplayName;
    std::string strName = Utf8FromUtf16(wideName);
    CItemPath absolute;
    HRESULT hr = S_OK;
    bool bAbsolute
        = strName.starts_with("::{") || strName.starts_with("\\\\") || (strName.size() >= 2 && strName[1] == ':');
    if (m_items.empty() || bAbsolute) {
        hr = ItemsOfName(strName, m_items.empty(), absolute);
    } else {
        std::string strFolder = ProgramPathOfItems(m_items);
        if (strFolder.empty() || m_items.back().eKind == EItemKind::Recycled)
            return E_INVALIDARG;
        hr = ItemsOfName(strFolder + "\\" + strName, false, absolute);
    }
    if (FAILED(hr))
        return hr;
    if (absolute.size() < m_items.size() || !std::equal(m_items.begin(), m_items.end(), absolute.begin()))
        return E_INVALIDARG; // the name is not inside this folder
    CItemPath relative(absolute.begin() + static_cast<std::ptrdiff_t>(m_items.size()), absolute.end());
    *ppidl = AllocIdList(relative);
    if (!*ppidl)
        return E_OUTOFMEMORY;
    if (pchEaten)
        *pchEaten = static_cast<ULONG>(wideName.size());
    if (pdwAttributes)
        *pdwAttributes = AttributesOfItems(absolute, *pdwAttributes);
    return S_OK;
}

HRESULT CShellFolder::EnumObjects(HWND, SHCONTF grfFlags, IEnumIDList** ppenumIDList)
{
    if (!ppenumIDList)
        return E_POINTER;
    *ppenumIDList = nullptr;
    std::vector<CShellItem> children;
    HRESULT hr = ChildrenOfItems(m_items, grfFlags, children);
    if (FAILED(hr))
        return hr;
    std::vector<std::string> encoded;
    encoded.reserve(children.size());
    for (const CShellItem& child : children)
        encoded.push_back(EncodeShellItem(child));
    *ppenumIDList = new CEnumIdList(std::move(encoded));
    return S_OK;
}

HRESULT CShellFolder::BindToObject(LPCITEMIDLIST pidl, LPBC, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    CItemPath absolute;
    HRESULT hr = AbsoluteItemsOf(m_items, pidl, absolute);
    if (FAILED(hr))
        return hr;
    if (!absolute.empty() && !IsFolderItem(absolute.back()))
        return E_INVALIDARG;
    return CreateShellFolder(std::move(absolute), riid, ppv);
}

HRESULT CShellFolder::GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, SFGAOF* rgfInOut)
{
    if (!rgfInOut || (cidl && !apidl))
        return E_POINTER;
    SFGAOF sfgao = *rgfInOut;
    if (cidl == 0)
        sfgao = AttributesOfItems(m_items, sfgao);
    for (UINT i = 0; i < cidl; ++i) {
        CItemPath below;
        HRESULT hr = RelativeItemsOf(m_items, apidl[i], below);
        if (FAILED(hr))
            return hr;
        sfgao &= AttributesOfItems(CItemRun(m_items, below), sfgao);
    }
    *rgfInOut = sfgao;
    return S_OK;
}

HRESULT CShellFolder::GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid, UINT*, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (cidl != 1 || !apidl)
        return E_INVALIDARG;
    CItemPath absolute;
    HRESULT hr = AbsoluteItemsOf(m_items, apidl[0], absolute);
    if (FAILED(hr))
        return hr;
    if (riid != IID_IContextMenu)
        return E_NOINTERFACE;
    return CreateItemContextMenu(hwndOwner, absolute, riid, ppv);
}

HRESULT CShellFolder::GetDisplayNameOf(LPCITEMIDLIST pidl, SHGDNF uFlags, STRRET* pName)
{
    if (!pName)
        return E_POINTER;
    CItemPath below;
    HRESULT hr = RelativeItemsOf(m_items, pidl, below);
    if (FAILED(hr))
        return hr;
    return SetStrRet(DisplayNameOfItems(CItemRun(m_items, below), uFlags), pName);
}

} // namespace

HRESULT CreateShellFolder(CItemPath folder, REFIID riid, void** ppv)
{
    return HandOutComObject(new CShellFolder(std::move(folder)), riid, ppv);
}

bool ItemsOfShellFolder(IShellFolder* psf, CItemPath& items)
{
    INamespaceFolder* pFolder = nullptr;
    if (!psf || FAILED(psf->QueryInterface(IID_INamespaceFolder, reinterpret_cast<void**>(&pFolder))))
        return false;
    items = pFolder->Items();
    pFolder->Release();
    return true;
}

HRESULT RelativeItemsOf(const CItemPath& folder, LPCITEMIDLIST pidl, CItemPath& below)
{
    return DecodeShellItems(pidl, PlaceBelow(folder, EItemPlace::Desktop), below);
}

HRESULT AbsoluteItemsOf(const CItemPath& folder, LPCITEMIDLIST pidl, CItemPath& items)
{
    CItemPath below;
    HRESULT hr = RelativeItemsOf(folder, pidl, below);
    if (FAILED(hr))
        return hr;
    items.reserve(folder.size() + below.size());
    items = folder;
    items.insert(items.end(), std::make_move_iterator(below.begin()), std::make_move_iterator(below.end()));
    return S_OK;
}

HRESULT SetStrRet(const std::string& strName, STRRET* pName)
{
    if (strName.size() < sizeof pName->cStr) {
        pName->uType = STRRET_CSTR;
        std::memcpy(pName->cStr, strName.c_str(), strName.size() + 1);
        return S_OK;
    }
    std::u16string wide = Utf16FromUtf8(strName);
    auto* pWide = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
    if (!pWide)
        return E_OUTOFMEMORY;
    std::memcpy(pWide, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    pName->uType = STRRET_WSTR;
    pName->pOleStr = pWide;
    return S_OK;
}

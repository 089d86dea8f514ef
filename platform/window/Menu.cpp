#include "platform/window/Menu.h"

#include "platform/base/ResourceFormat.h"
#include "platform/base/WinError.h"
#include "platform/window/MenuInternal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {

struct CMenuObject {
    std::vector<CMenuItem> items;
    bool bPopup { false };
};

// Handles count up from here and are never reused.
constexpr ULONG_PTR FIRST_MENU_HANDLE = 0x50000;

class CMenuTable {
public:
    static CMenuTable& Instance()
    {
        static CMenuTable table;
        return table;
    }

    std::mutex m_mutex;
    std::map<HMENU, std::unique_ptr<CMenuObject>> m_menus;
    ULONG_PTR m_nNextHandle { FIRST_MENU_HANDLE };

    HMENU Add(bool bPopup)
    {
        HMENU hMenu = reinterpret_cast<HMENU>(m_nNextHandle++);
        auto pMenu = std::make_unique<CMenuObject>();
        pMenu->bPopup = bPopup;
        m_menus.emplace(hMenu, std::move(pMenu));
        return hMenu;
    }
    CMenuObject* Find(HMENU hMenu)
    {
        auto it = m_menus.find(hMenu);
        if (it == m_menus.end()) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return nullptr;
        }
        return it->second.get();
    }
    // Destroys the menu and, depth first, its submenus. The nesting of menus
    // is a tree, so this ends; a submenu already gone is skipped.
    void Destroy(HMENU hMenu)
    {
        auto it = m_menus.find(hMenu);
        if (it == m_menus.end())
            return;
        std::unique_ptr<CMenuObject> pMenu = std::move(it->second);
        m_menus.erase(it);
        for (const CMenuItem& item : pMenu->items) {
            if (item.hSubMenu)
                Destroy(item.hSubMenu);
        }
    }
};

struct CItemRef {
    CMenuObject* pMenu { nullptr };
    size_t nIndex { 0 };
    CMenuItem& Item() const { return pMenu->items[nIndex]; }
};

// The item named by uItem, by position or, depth first, by command ID.
std::optional<CItemRef> FindItem(CMenuTable& table, CMenuObject* pMenu, UINT uItem, bool bByPosition, UINT nDepth = 0)
{
    if (bByPosition) {
        if (uItem >= pMenu->items.size())
            return std::nullopt;
        return CItemRef { pMenu, uItem };
    }
    if (nDepth > MAX_MENU_DEPTH)
        return std::nullopt;
    for (size_t i = 0; i < pMenu->items.size(); ++i) {
        const CMenuItem& item = pMenu->items[i];
        if (item.hSubMenu) {
            CMenuObject* pSub = table.m_menus.count(item.hSubMenu) ? table.m_menus[item.hSubMenu].get() : nullptr;
            if (pSub) {
                if (auto found = FindItem(table, pSub, uItem, false, nDepth + 1))
                    return found;
            }
        } else if (item.wID == uItem && !(item.fType & MFT_SEPARATOR)) {
            return CItemRef { pMenu, i };
        }
    }
    return std::nullopt;
}

// Looks up menu and item together; sets the last error on failure.
std::optional<CItemRef> Lookup(CMenuTable& table, HMENU hMenu, UINT uItem, bool bByPosition)
{
    CMenuObject* pMenu = table.Find(hMenu);
    if (!pMenu)
        return std::nullopt;
    auto ref = FindItem(table, pMenu, uItem, bByPosition);
    if (!ref)
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return ref;
}

// The item that AppendMenu, InsertMenu and ModifyMenu describe.
bool MakeItem(CMenuTable& table, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem, CMenuItem& item)
{
    item.fType = uFlags & (MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_SEPARATOR | MFT_RIGHTJUSTIFY);
    item.fState = uFlags & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if (uFlags & MF_POPUP) {
        item.hSubMenu = reinterpret_cast<HMENU>(uIDNewItem);
        if (!table.Find(item.hSubMenu))
            return false;
        table.m_menus[item.hSubMenu]->bPopup = true;
    } else {
        item.wID = static_cast<UINT>(uIDNewItem);
    }
    if (uFlags & MF_OWNERDRAW)
        item.dwItemData = reinterpret_cast<ULONG_PTR>(lpNewItem);
    else if (!(uFlags & (MF_SEPARATOR | MF_BITMAP)) && lpNewItem)
        item.strText = lpNewItem;
    return true;
}

UINT StateFlags(CMenuTable& table, const CMenuItem& item)
{
    UINT nFlags = item.fType | item.fState;
    if (item.hSubMenu) {
        nFlags |= MF_POPUP;
        if (CMenuObject* pSub = table.Find(item.hSubMenu))
            nFlags |= static_cast<UINT>(std::min<size_t>(pSub->items.size(), 0xFF)) << 8;
    }
    return nFlags;
}

bool BuildFromTemplate(CMenuTable& table, CMenuObject& menu, const std::vector<MenuItemTemplate>& items)
{
    for (const MenuItemTemplate& source : items) {
        CMenuItem item;
        item.fType = source.nFlags & (MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_SEPARATOR);
        item.fState = source.nFlags & (MFS_GRAYED | MFS_CHECKED);
        item.wID = source.nID;
        item.strText = source.strText;
        if (source.nFlags & MF_POPUP) {
            item.hSubMenu = table.Add(true);
            BuildFromTemplate(table, *table.m_menus[item.hSubMenu], source.children);
        }
        menu.items.push_back(std::move(item));
    }
    return true;
}

} // namespace

bool MenuSnapshot(HMENU hMenu, std::vector<CMenuItem>& items)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    CMenuObject* pMenu = table.Find(hMenu);
    if (!pMenu)
        return false;
    items = pMenu->items;
    return true;
}

/***** Creating and destroying *****/

HMENU CreateMenu()
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    return table.Add(false);
}

HMENU CreatePopupMenu()
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    return table.Add(true);
}

BOOL DestroyMenu(HMENU hMenu)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    if (!table.Find(hMenu))
        return FALSE;
    table.Destroy(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    return table.m_menus.count(hMenu) ? TRUE : FALSE;
}

HMENU LoadMenuIndirect(const void* lpMenuTemplate, DWORD cbTemplate)
{
    if (!lpMenuTemplate) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<MenuItemTemplate> items;
    std::string strError;
    if (!ReadMenuTemplate(std::span(static_cast<const BYTE*>(lpMenuTemplate), cbTemplate), items, strError)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    HMENU hMenu = table.Add(false);
    BuildFromTemplate(table, *table.m_menus[hMenu], items);
    return hMenu;
}

HMENU LoadMenu(HINSTANCE hInstance, LPCTSTR lpMenuName)
{
    HMODULE hModule = hInstance ? hInstance : AfxGetResourceHandle();
    HRSRC hResInfo = FindResource(hModule, lpMenuName, RT_MENU);
    if (!hResInfo)
        return nullptr;
    HGLOBAL hData = LoadResource(hModule, hResInfo);
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData)
        return nullptr;
    return LoadMenuIndirect(pData, SizeofResource(hModule, hResInfo));
}

/***** Changing items *****/

BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    CMenuObject* pMenu = table.Find(hMenu);
    if (!pMenu)
        return FALSE;
    CMenuItem item;
    if (!MakeItem(table, uFlags, uIDNewItem, lpNewItem, item))
        return FALSE;
    // A position past the end, or an ID not found, appends to hMenu itself.
    CMenuObject* pTarget = pMenu;
    size_t nIndex = pMenu->items.size();
    if (uPosition != static_cast<UINT>(-1)) {
        if (auto ref = FindItem(table, pMenu, uPosition, (uFlags & MF_BYPOSITION) != 0)) {
            pTarget = ref->pMenu;
            nIndex = ref->nIndex;
        } else if (!(uFlags & MF_BYPOSITION)) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    pTarget->items.insert(pTarget->items.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(item));
    return TRUE;
}

BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem)
{
    return InsertMenu(hMenu, static_cast<UINT>(-1), uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL ModifyMenu(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCTSTR lpNewItem)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMnu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    CMenuItem item;
    if (!MakeItem(table, uFlags, uIDNewItem, lpNewItem, item))
        return FALSE;
    HMENU hOldSub = ref->Item().hSubMenu;
    ref->Item() = std::move(item);
    if (hOldSub && hOldSub != ref->Item().hSubMenu)
        table.Destroy(hOldSub);
    return TRUE;
}

namespace {

BOOL Remove(HMENU hMenu, UINT uPosition, UINT uFlags, bool bDestroySubMenu)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return FALSE;
    HMENU hSub = ref->Item().hSubMenu;
    ref->pMenu->items.erase(ref->pMenu->items.begin() + static_cast<std::ptrdiff_t>(ref->nIndex));
    if (hSub && bDestroySubMenu)
        table.Destroy(hSub);
    return TRUE;
}

} // namespace

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return Remove(hMenu, uPosition, uFlags, true);
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags)
{
    return Remove(hMenu, uPosition, uFlags, false);
}

/***** States *****/

namespace {

// Sets the state bits of nMask that uFlags holds on an item (by command or,
// with MF_BYPOSITION, by position) and returns their former value, or -1
// when there is no such item.
UINT SwapStateBits(HMENU hMenu, UINT uItem, UINT uFlags, UINT nMask)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, uItem, (uFlags & MF_BYPOSITION) != 0);
    if (!ref)
        return static_cast<UINT>(-1);
    CMenuItem& item = ref->Item();
    UINT nOld = item.fState & nMask;
    item.fState = (item.fState & ~nMask) | (uFlags & nMask);
    return nOld;
}

} // namespace

UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    return SwapStateBits(hMenu, uIDEnableItem, uEnable, MFS_GRAYED);
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    return SwapStateBits(hMenu, uIDCheckItem, uCheck, MFS_CHECKED);
}

BOOL CheckMenuRadioItem(HMENU hmenu, UINT idFirst, UINT idLast, UINT idCheck, UINT uFlags)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    bool bByPosition = (uFlags & MF_BYPOSITION) != 0;
    if (idFirst > idLast || idCheck < idFirst || idCheck > idLast) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool bChecked = false;
    for (UINT uItem = idFirst; uItem <= idLast && uItem >= idFirst; ++uItem) {
        auto ref = Lookup(table, hmenu, uItem, bByPosition);
        if (!ref)
            continue;
        CMenuItem& item = ref->Item();
        if (uItem == idCheck) {
            item.fState |= MFS_CHECKED;
            item.fType |= MFT_RADIOCHECK;
            bChecked = true;
        } else {
            item.fState &= ~MFS_CHECKED;
        }
    }
    return bChecked ? TRUE : FALSE;
}

BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    CMenuObject* pMenu = table.Find(hMenu);
    if (!pMenu)
        return FALSE;
    // The default item belongs to this menu only, not to its submenus.
    std::optional<size_t> newIndex;
    if (uItem != static_cast<UINT>(-1)) {
        for (size_t i = 0; i < pMenu->items.size(); ++i) {
            const CMenuItem& item = pMenu->items[i];
            if (fByPos ? i == uItem : (!item.hSubMenu && item.wID == uItem)) {
                newIndex = i;
                break;
            }
        }
        if (!newIndex) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (size_t i = 0; i < pMenu->items.size(); ++i) {
        CMenuItem& item = pMenu->items[i];
        item.fState = newIndex == i ? (item.fState | MFS_DEFAULT) : (item.fState & ~MFS_DEFAULT);
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    CMenuObject* pMenu = table.Find(hMenu);
    for (UINT nDepth = 0; pMenu && nDepth <= MAX_MENU_DEPTH; ++nDepth) {
        auto it = std::find_if(pMenu->items.begin(), pMenu->items.end(),
            [](const CMenuItem& item) { return (item.fState & MFS_DEFAULT) != 0; });
        if (it == pMenu->items.end())
            break;
        if ((it->fState & MFS_GRAYED) && !(gmdiFlags & GMDI_USEDISABLED))
            break;
        if (it->hSubMenu && (gmdiFlags & GMDI_GOINTOPOPUPS)) {
            CMenuObject* pSub = table.Find(it->hSubMenu);
            if (pSub && std::any_of(pSub->items.begin(), pSub->items.end(), [](const CMenuItem& item) {
                    return (item.fState & MFS_DEFAULT) != 0;
                })) {
                pMenu = pSub;
                continue;
            }
        }
        return fByPos ? static_cast<UINT>(it - pMenu->items.begin()) : (it->hSubMenu ? static_cast<UINT>(-1) : it->wID);
    }
    return static_cast<UINT>(-1);
}

/***** Reading *****/

int GetMenuItemCount(HMENU hMenu)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    CMenuObject* pMenu = table.Find(hMenu);
    return pMenu ? static_cast<int>(pMenu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, static_cast<UINT>(nPos), true);
    if (!ref || nPos < 0 || ref->Item().hSubMenu)
        return static_cast<UINT>(-1);
    return ref->Item().wID;
}

HMENU GetSubMenu(HMENU hMenu, int nPos)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, static_cast<UINT>(nPos), true);
    return ref && nPos >= 0 ? ref->Item().hSubMenu : nullptr;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, uId, (uFlags & MF_BYPOSITION) != 0);
    return ref ? StateFlags(table, ref->Item()) : static_cast<UINT>(-1);
}

namespace {

// Copies text as GetMenuString and GetMenuItemInfo do; returns the bytes copied, or the length when lpString is NULL.
int CopyMenuText(const std::string& strText, LPTSTR lpString, int cchMax)
{
    if (!lpString)
        return static_cast<int>(strText.size());
    if (cchMax <= 0)
        return 0;
    size_t nCopy = std::min(strText.size(), static_cast<size_t>(cchMax - 1));
    // Never cut a character in two.
    while (nCopy > 0 && nCopy < strText.size() && (static_cast<BYTE>(strText[nCopy]) & 0xC0) == 0x80)
        --nCopy;
    std::memcpy(lpString, strText.data(), nCopy);
    lpString[nCopy] = '\0';
    return static_cast<int>(nCopy);
}

} // namespace

int GetMenuString(HMENU hMenu, UINT uIDItem, LPTSTR lpString, int cchMax, UINT flags)
{
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hMenu, uIDItem, (flags & MF_BYPOSITION) != 0);
    if (!ref) {
        if (lpString && cchMax > 0)
            lpString[0] = '\0';
        return 0;
    }
    return CopyMenuText(ref->Item().strText, lpString, cchMax);
}

BOOL GetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPosition, LPMENUITEMINFO lpmii)
{
    if (!lpmii || lpmii->cbSize != sizeof(MENUITEMINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hmenu, item, fByPosition != FALSE);
    if (!ref)
        return FALSE;
    const CMenuItem& source = ref->Item();
    if (lpmii->fMask & (MIIM_FTYPE | MIIM_TYPE))
        lpmii->fType = source.fType;
    if (lpmii->fMask & MIIM_STATE)
        lpmii->fState = source.fState;
    if (lpmii->fMask & MIIM_ID)
        lpmii->wID = source.wID;
    if (lpmii->fMask & MIIM_SUBMENU)
        lpmii->hSubMenu = source.hSubMenu;
    if (lpmii->fMask & MIIM_DATA)
        lpmii->dwItemData = source.dwItemData;
    if (lpmii->fMask & (MIIM_STRING | MIIM_TYPE)) {
        int nCopied = CopyMenuText(source.strText, lpmii->dwTypeData, static_cast<int>(lpmii->cch));
        lpmii->cch = lpmii->dwTypeData ? static_cast<UINT>(nCopied) : static_cast<UINT>(source.strText.size());
    }
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU hmenu, UINT item, BOOL fByPositon, LPCMENUITEMINFO lpmii)
{
    if (!lpmii || lpmii->cbSize != sizeof(MENUITEMINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CMenuTable& table = CMenuTable::Instance();
    std::lock_guard lock(table.m_mutex);
    auto ref = Lookup(table, hmenu, item, fByPositon != FALSE);
    if (!ref)
        return FALSE;
    if ((lpmii->fMask & MIIM_SUBMENU) && lpmii->hSubMenu && !table.Find(lpmii->hSubMenu))
        return FALSE;
    CMenuItem& target = ref->Item();
    if (lpmii->fMask & (MIIM_FTYPE | MIIM_TYPE))
        target.fType = lpmii->fType;
    if (lpmii->fMask & MIIM_STATE)
        target.fState = lpmii->fState;
    if (lpmii->fMask & MIIM_ID)
        target.wID = lpmii->wID;
    if (lpmii->fMask & MIIM_SUBMENU)
        target.hSubMenu = lpmii->hSubMenu;
    if (lpmii->fMask & MIIM_DATA)
        target.dwItemData = lpmii->dwItemData;
    if (lpmii->fMask & (MIIM_STRING | MIIM_TYPE))
        target.strText = lpmii->dwTypeData ? lpmii->dwTypeData : "";
    return TRUE;
}

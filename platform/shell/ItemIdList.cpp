#include "platform/shell/ItemIdList.h"

#include "platform/base/Com.h"
#include "platform/base/FileFunctions.h"

#include <cstring>

namespace {

constexpr size_t ITEM_RECYCLED_NAME_OFFSET = 10; // a recycled item's name, after its letter

void PutU32(std::string& strBytes, DWORD dwValue)
{
    for (int i = 0; i < 4; ++i)
        strBytes += static_cast<char>((dwValue >> (8 * i)) & 0xFF);
}

DWORD GetU32(const BYTE* p)
{
    return DWORD { p[0] } | (DWORD { p[1] } << 8) | (DWORD { p[2] } << 16) | (DWORD { p[3] } << 24);
}

// Appends a text with its zero.
void PutText(std::string& strBytes, const std::string& strText)
{
    strBytes += strText;
    strBytes += '\0';
}

// Reads a text that must end with a zero before nEnd; advances nPos past the zero.
bool GetText(const BYTE* pItem, size_t nEnd, size_t& nPos, std::string& strText)
{
    if (nPos >= nEnd)
        return false;
    const void* pZero = std::memchr(pItem + nPos, 0, nEnd - nPos);
    if (!pZero)
        return false;
    size_t nZero = static_cast<const BYTE*>(pZero) - pItem;
    strText.assign(reinterpret_cast<const char*>(pItem + nPos), nZero - nPos);
    nPos = nZero + 1;
    return true;
}

bool IsFolderAttributes(DWORD dwAttributes)
{
    return (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DWORD AttributesOf(const std::string& strName, bool bFolder)
{
    DWORD dwAttributes = bFolder ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (!strName.empty() && strName[0] == '.')
        dwAttributes |= FILE_ATTRIBUTE_HIDDEN;
    return dwAttributes ? dwAttributes : FILE_ATTRIBUTE_NORMAL;
}

bool MayStand(EItemKind eKind, EItemPlace ePlace)
{
    switch (ePlace) {
    case EItemPlace::Desktop:
        return eKind == EItemKind::VirtualFolder || eKind == EItemKind::Folder || eKind == EItemKind::File;
    case EItemPlace::MyComputer:
        return eKind == EItemKind::Drive;
    case EItemPlace::Network:
        return eKind == EItemKind::Share;
    case EItemPlace::RecycleBin:
        return eKind == EItemKind::Recycled;
    case EItemPlace::FileSystem:
        return eKind == EItemKind::Folder || eKind == EItemKind::File;
    case EItemPlace::Nothing:
        return false;
    }
    return false;
}

// Decodes one item of cb bytes whose first two bytes (cb) were checked.
bool DecodeItem(const BYTE* pItem, size_t cb, CShellItem& item)
{
    if (pItem[2] != ITEM_SIGNATURE)
        return false;
    item = CShellItem();
    item.eKind = static_cast<EItemKind>(pItem[3]);
    size_t nPos = ITEM_TEXT_OFFSET;
    switch (item.eKind) {
    case EItemKind::VirtualFolder:
        item.eWhich = static_cast<EVirtualFolder>(pItem[4]);
        return cb == ITEM_MIN_SIZE && pItem[5] == 0 && pItem[4] >= 1 && pItem[4] <= 3;
    case EItemKind::Drive:
        item.chLetter = static_cast<TCHAR>(pItem[4]);
        return cb == ITEM_MIN_SIZE && pItem[5] == 0 && item.chLetter >= 'A' && item.chLetter <= 'Z';
    case EItemKind::Share:
        return cb > ITEM_TEXT_OFFSET && GetU32(pItem + 4) == 0 && GetText(pItem, cb, nPos, item.strServer)
            && GetText(pItem, cb, nPos, item.strName) && !item.strServer.empty() && !item.strName.empty();
    case EItemKind::Folder:
    case EItemKind::File:
        item.dwAttributes = GetU32(pItem + 4);
        return cb > ITEM_TEXT_OFFSET && GetText(pItem, cb, nPos, item.strName) && !item.strName.empty()
            && IsFolderAttributes(item.dwAttributes) == (item.eKind == EItemKind::Folder);
    case EItemKind::Recycled:
        item.dwAttributes = GetU32(pItem + 4);
        item.chLetter = static_cast<TCHAR>(pItem[8]);
        nPos = ITEM_RECYCLED_NAME_OFFSET;
        return cb > ITEM_RECYCLED_NAME_OFFSET && item.chLetter >= 'A' && item.chLetter <= 'Z' && pItem[9] == 0
            && GetText(pItem, cb, nPos, item.strName) && !item.strName.empty();
    }
    return false;
}

} // namespace

CShellItem CShellItem::Virtual(EVirtualFolder eWhich)
{
    CShellItem item;
    item.eKind = EItemKind::VirtualFolder;
    item.eWhich = eWhich;
    return item;
}

CShellItem CShellItem::Drive(TCHAR chLetter)
{
    CShellItem item;
    item.eKind = EItemKind::Drive;
    item.chLetter = chLetter;
    return item;
}

CShellItem CShellItem::Share(std::string strServer, std::string strShare)
{
    CShellItem item;
    item.eKind = EItemKind::Share;
    item.strServer = std::move(strServer);
    item.strName = std::move(strShare);
    return item;
}

CShellItem CShellItem::FileSystem(std::string strName, bool bFolder)
{
    CShellItem item;
    item.eKind = bFolder ? EItemKind::Folder : EItemKind::File;
    item.dwAttributes = AttributesOf(strName, bFolder);
    item.strName = std::move(strName);
    return item;
}

CShellItem CShellItem::Recycled(TCHAR chLetter, std::string strName, bool bFolder)
{
    CShellItem item;
    item.eKind = EItemKind::Recycled;
    item.chLetter = chLetter;
    item.dwAttributes = AttributesOf(strName, bFolder);
    item.strName = std::move(strName);
    return item;
}

EItemPlace PlaceBelow(const CShellItem& item)
{
    switch (item.eKind) {
    case EItemKind::VirtualFolder:
        return item.eWhich == EVirtualFolder::MyComputer ? EItemPlace::MyComputer
            : item.eWhich == EVirtualFolder::Network     ? EItemPlace::Network
                                                         : EItemPlace::RecycleBin;
    case EItemKind::Drive:
    case EItemKind::Share:
    case EItemKind::Folder:
        return EItemPlace::FileSystem;
    case EItemKind::File:
    case EItemKind::Recycled:
        return EItemPlace::Nothing;
    }
    return EItemPlace::Nothing;
}

EItemPlace PlaceBelow(const std::vector<CShellItem>& items, EItemPlace ePlace)
{
    return items.empty() ? ePlace : PlaceBelow(items.back());
}

std::string EncodeShellItem(const CShellItem& item)
{
    std::string strBytes(2, '\0'); // cb, filled in last
    strBytes += static_cast<char>(ITEM_SIGNATURE);
    strBytes += static_cast<char>(item.eKind);
    switch (item.eKind) {
    case EItemKind::VirtualFolder:
        strBytes += static_cast<char>(item.eWhich);
        strBytes += '\0';
        break;
    case EItemKind::Drive:
        strBytes += item.chLetter;
        strBytes += '\0';
        break;
    case EItemKind::Share:
        PutU32(strBytes, 0);
        PutText(strBytes, item.strServer);
        PutText(strBytes, item.strName);
        break;
    case EItemKind::Folder:
    case EItemKind::File:
        PutU32(strBytes, item.dwAttributes);
        PutText(strBytes, item.strName);
        break;
    case EItemKind::Recycled:
        PutU32(strBytes, item.dwAttributes);
        strBytes += item.chLetter;
        strBytes += '\0';
        PutText(strBytes, item.strName);
        break;
    }
    if (strBytes.size() % 2)
        strBytes += '\0';
    strBytes[0] = static_cast<char>(strBytes.size() & 0xFF);
    strBytes[1] = static_cast<char>((strBytes.size() >> 8) & 0xFF);
    return strBytes;
}

HRESULT DecodeShellItems(LPCITEMIDLIST pidl, EItemPlace ePlace, std::vector<CShellItem>& items)
{
    items.clear();
    if (!pidl)
        return E_POINTER;
    const auto* pBytes = reinterpret_cast<const BYTE*>(pidl);
    size_t nPos = 0;
    for (;;) {
        size_t cb = pBytes[nPos] | (size_t { pBytes[nPos + 1] } << 8);
        if (cb == 0)
            return S_OK;
        CShellItem item;
        if (cb < ITEM_MIN_SIZE || cb % 2 || items.size() == IDLIST_MAX_ITEMS || nPos + cb > IDLIST_MAX_BYTES
            || !DecodeItem(pBytes + nPos, cb, item) || !MayStand(item.eKind, ePlace)) {
            items.clear();
            return E_INVALIDARG;
        }
        ePlace = PlaceBelow(item);
        items.push_back(std::move(item));
        nPos += cb;
    }
}

LPITEMIDLIST AllocIdListOfBytes(const std::string& strItems)
{
    auto* pList = static_cast<BYTE*>(CoTaskMemAlloc(strItems.size() + 2));
    if (!pList)
        return nullptr;
    std::memcpy(pList, strItems.data(), strItems.size());
    pList[strItems.size()] = 0;
    pList[strItems.size() + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(pList);
}

LPITEMIDLIST AllocIdList(const std::vector<CShellItem>& items)
{
    std::string strItems;
    for (const CShellItem& item : items)
        strItems += EncodeShellItem(item);
    return AllocIdListOfBytes(strItems);
}

size_t IdListContentSize(LPCITEMIDLIST pidl)
{
    if (!pidl)
        return 0;
    const auto* pBytes = reinterpret_cast<const BYTE*>(pidl);
    size_t nPos = 0;
    for (;;) {
        size_t cb = pBytes[nPos] | (size_t { pBytes[nPos + 1] } << 8);
        if (cb < ITEM_MIN_SIZE || nPos + cb > IDLIST_MAX_BYTES)
            return nPos;
        nPos += cb;
    }
}

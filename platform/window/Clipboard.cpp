#include "platform/window/Clipboard.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/Threads.h"
#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "platform/window/WindowInternal.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct CClipboardData {
    UINT uFormat { 0 };
    HANDLE hMem { nullptr };
    bool bSynthesized { false }; // made from the other text format on request
    bool bFromDesktop { false }; // read from another program's clipboard (or made from what was)
};

struct CClipboard {
    std::mutex mutex;
    DWORD dwOpenThread { 0 }; // 0: closed
    HWND hOpenWindow { nullptr };
    HWND hOwner { nullptr };
    std::vector<CClipboardData> data; // in the order set
    bool bChanged { false };          // emptied or set since it was opened
    // Changes of the desktop's clipboard, applied once nobody has it open
    // (handles given out stay valid until the clipboard is closed).
    bool bDesktopDataStale { false }; // what was read from another program is out of date
    bool bOfferTaken { false };       // another program took the clipboard: the shared formats go
};

CClipboard& Clipboard()
{
    static CClipboard clipboard;
    return clipboard;
}

bool OpenedByCaller(const CClipboard& clipboard)
{
    if (clipboard.dwOpenThread != GetCurrentThreadId()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}

CClipboardData* FindData(CClipboard& clipboard, UINT uFormat)
{
    auto it = std::find_if(clipboard.data.begin(), clipboard.data.end(),
        [&](const CClipboardData& entry) { return entry.uFormat == uFormat; });
    return it == clipboard.data.end() ? nullptr : &*it;
}

// The other text format, for formats that stand in for each other.
UINT TextPartner(UINT uFormat)
{
    return uFormat == CF_TEXT ? CF_UNICODETEXT : uFormat == CF_UNICODETEXT ? CF_TEXT : 0;
}

// Whether the format goes between programs: text and the registered formats.
bool IsShared(UINT uFormat)
{
    return uFormat == CF_TEXT || uFormat == CF_UNICODETEXT || (uFormat >= WM_REGISTERED_FIRST && uFormat <= 0xFFFF);
}

// A shared format's name between programs ("text" for either text format); empty for others.
std::string SharedNameOf(UINT uFormat)
{
    if (uFormat == CF_TEXT || uFormat == CF_UNICODETEXT)
        return "text";
    if (!IsShared(uFormat))
        return std::string();
    auto lock = LockWindows();
    const std::string* pName = AtomNameLocked(static_cast<ATOM>(uFormat));
    return pName ? *pName : std::string();
}

// The formats another program's clipboard holds, as numbers: both text
// formats for text, and the formats the program registered under their names.
std::vector<UINT> DesktopFormats()
{
    std::vector<std::string> names;
    std::vector<UINT> formats;
    if (!DesktopClipboardFormats(&names))
        return formats;
    auto lock = LockWindows();
    for (const std::string& strName : names) {
        if (strName == "text") {
            formats.push_back(CF_TEXT);
            formats.push_back(CF_UNICODETEXT);
        } else if (ATOM nAtom = FindAtomLocked(strName)) {
            formats.push_back(nAtom);
        }
    }
    return formats;
}

// Drops what the desktop's changes made out of date; the clipboard is not open.
void ApplyDesktopChangesLocked(CClipboard& clipboard)
{
    bool bStale = std::exchange(clipboard.bDesktopDataStale, false);
    bool bTaken = std::exchange(clipboard.bOfferTaken, false);
    std::erase_if(clipboard.data, [&](const CClipboardData& entry) {
        bool bDropped = (bStale && entry.bFromDesktop) || (bTaken && IsShared(entry.uFormat));
        if (bDropped)
            GlobalFree(entry.hMem);
        return bDropped;
    });
}

// What the program shares of its clipboard: its text and its registered formats.
std::vector<CClipboardItem> SharedItemsLocked(const CClipboard& clipboard)
{
    std::vector<CClipboardItem> items;
    bool bText = false;
    for (const CClipboardData& entry : clipboard.data) {
        if (entry.bSynthesized || entry.bFromDesktop || !IsShared(entry.uFormat))
            continue;
        auto* pBytes = static_cast<const BYTE*>(GlobalLock(entry.hMem));
        if (!pBytes)
            continue;
        SIZE_T nSize = GlobalSize(entry.hMem);
        CClipboardItem item;
        item.strFormat = SharedNameOf(entry.uFormat);
        if (entry.uFormat == CF_TEXT) {
            const auto* pszText = reinterpret_cast<const char*>(pBytes);
            item.data.assign(pBytes, pBytes + strnlen(pszText, nSize));
        } else if (entry.uFormat == CF_UNICODETEXT) {
            std::u16string wide;
            for (SIZE_T i = 0; i + 1 < nSize && (pBytes[i] | pBytes[i + 1]); i += 2)
                wide.push_back(static_cast<char16_t>(pBytes[i] | (pBytes[i + 1] << 8)));
            std::string strText = Utf8FromUtf16(wide);
            item.data.assign(strText.begin(), strText.end());
        } else {
            item.data.assign(pBytes, pBytes + nSize);
        }
        GlobalUnlock(entry.hMem);
        bool bIsText = item.strFormat == "text";
        if (item.strFormat.empty() || (bIsText && bText))
            continue;
        bText = bText || bIsText;
        items.push_back(std::move(item));
    }
    return items;
}

// A new global block with the data another program gave, as the format keeps it.
HGLOBAL GlobalFromDesktop(UINT uFormat, const std::vector<BYTE>& data)
{
    bool bText = uFormat == CF_TEXT || uFormat == CF_UNICODETEXT;
    HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, data.size() + (bText ? 1 : 0));
    if (auto* pTarget = static_cast<BYTE*>(GlobalLock(hMem))) {
        std::copy(data.begin(), data.end(), pTarget);
        if (bText)
            pTarget[data.size()] = 0;
        GlobalUnlock(hMem);
    }
    return hMem;
}

// The formats EnumClipboardFormats lists: those set, in order, then those of
// another program's clipboard, then a text format that can be made from the other.
std::vector<UINT> ListedFormats(const CClipboard& clipboard, const std::vector<UINT>& desktopFormats)
{
    std::vector<UINT> formats;
    for (const CClipboardData& entry : clipboard.data) {
        if (!entry.bSynthesized)
            formats.push_back(entry.uFormat);
    }
    for (UINT uFormat : desktopFormats) {
        if (std::find(formats.begin(), formats.end(), uFormat) == formats.end())
            formats.push_back(uFormat);
    }
    for (UINT uText : { CF_TEXT, CF_UNICODETEXT }) {
        if (std::find(formats.begin(), formats.end(), uText) == formats.end()
            && std::find(formats.begin(), formats.end(), TextPartner(uText)) != formats.end())
            formats.push_back(uText);
    }
    return formats;
}

// A new global block holding the text of hSource in the format uTarget.
HGLOBAL ConvertText(HANDLE hSource, UINT uTarget)
{
    auto* pSource = static_cast<const BYTE*>(GlobalLock(hSource));
    if (!pSource)
        return nullptr;
    SIZE_T nSize = GlobalSize(hSource);
    std::vector<BYTE> converted;
    if (uTarget == CF_UNICODETEXT) {
        std::string_view text(
            reinterpret_cast<const char*>(pSource), strnlen(reinterpret_cast<const char*>(pSource), nSize));
        std::u16string wide = Utf16FromUtf8(text);
        converted.resize((wide.size() + 1) * sizeof(char16_t));
        std::memcpy(converted.data(), wide.c_str(), converted.size());
    } else {
        std::u16string wide;
        for (SIZE_T i = 0; i + 1 < nSize; i += 2) {
            char16_t ch = static_cast<char16_t>(pSource[i] | (pSource[i + 1] << 8));
            if (ch == 0)
                break;
            wide.push_back(ch);
        }
        std::string text = Utf8FromUtf16(wide);
        converted.assign(text.begin(), text.end());
        converted.push_back(0);
    }
    GlobalUnlock(hSource);
    HGLOBAL hTarget = GlobalAlloc(GMEM_MOVEABLE, converted.size());
    if (void* pTarget = GlobalLock(hTarget)) {
        std::memcpy(pTarget, converted.data(), converted.size());
        GlobalUnlock(hTarget);
    }
    return hTarget;
}

} // namespace

BOOL OpenClipboard(HWND hWndNewOwner)
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (clipboard.dwOpenThread && clipboard.dwOpenThread != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    clipboard.dwOpenThread = GetCurrentThreadId();
    clipboard.hOpenWindow = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return FALSE;
    // A change goes to the desktop, in the order the changes were made: the
    // shared formats as the program's offer, or none (which gives up the
    // desktop's clipboard if the program held it, and leaves another's alone).
    if (std::exchange(clipboard.bChanged, false))
        OfferDesktopClipboard(SharedItemsLocked(clipboard));
    clipboard.dwOpenThread = 0;
    clipboard.hOpenWindow = nullptr;
    ApplyDesktopChangesLocked(clipboard);
    return TRUE;
}

BOOL EmptyClipboard()
{
    CClipboard& clipboard = Clipboard();
    HWND hPreviousOwner = nullptr;
    {
        std::lock_guard lock(clipboard.mutex);
        if (!OpenedByCaller(clipboard))
            return FALSE;
        hPreviousOwner = clipboard.hOwner;
    }
    // The caller has the clipboard open, so nothing changes it meanwhile; the
    // owner may still read what it put there.
    if (hPreviousOwner && IsWindow(hPreviousOwner))
        SendMessage(hPreviousOwner, WM_DESTROYCLIPBOARD, 0, 0);
    std::lock_guard lock(clipboard.mutex);
    for (const CClipboardData& entry : clipboard.data)
        GlobalFree(entry.hMem);
    clipboard.data.clear();
    clipboard.hOwner = clipboard.hOpenWindow;
    clipboard.bChanged = true;
    clipboard.bOfferTaken = false;
    clipboard.bDesktopDataStale = false;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return nullptr;
    if (uFormat == 0 || !hMem) {
        // FIXME: delayed rendering (a NULL handle answered by WM_RENDERFORMAT) is not offered.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // New data replaces the format's old data, and any text made from the other text format.
    for (UINT uReplaced : { uFormat, TextPartner(uFormat) }) {
        CClipboardData* pOld = FindData(clipboard, uReplaced);
        if (pOld && (uReplaced == uFormat || pOld->bSynthesized)) {
            if (pOld->hMem != hMem)
                GlobalFree(pOld->hMem);
            clipboard.data.erase(clipboard.data.begin() + (pOld - clipboard.data.data()));
        }
    }
    clipboard.data.push_back({ uFormat, hMem, false, false });
    clipboard.bChanged = true;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    CClipboard& clipboard = Clipboard();
    std::unique_lock lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return nullptr;
    if (CClipboardData* pEntry = FindData(clipboard, uFormat))
        return pEntry->hMem;
    UINT uPartner = TextPartner(uFormat);
    CClipboardData* pSource = uPartner ? FindData(clipboard, uPartner) : nullptr;
    if (!pSource && IsShared(uFormat)) {
        // Not the program's own: another program's clipboard may have it. The
        // caller has the clipboard open, so nothing changes it meanwhile.
        lock.unlock();
        std::vector<UINT> desktopFormats = DesktopFormats();
        std::vector<BYTE> data;
        UINT uStored = uPartner ? CF_TEXT : uFormat;
        bool bRead = std::find(desktopFormats.begin(), desktopFormats.end(), uFormat) != desktopFormats.end()
            && ReadDesktopClipboard(SharedNameOf(uFormat), &data);
        HGLOBAL hRead = bRead ? GlobalFromDesktop(uStored, data) : nullptr;
        lock.lock();
        if (!hRead)
            return nullptr;
        clipboard.data.push_back({ uStored, hRead, false, true });
        if (uStored == uFormat)
            return hRead;
        pSource = &clipboard.data.back();
    }
    if (!pSource)
        return nullptr;
    bool bFromDesktop = pSource->bFromDesktop;
    HGLOBAL hConverted = ConvertText(pSource->hMem, uFormat);
    if (hConverted)
        clipboard.data.push_back({ uFormat, hConverted, true, bFromDesktop });
    return hConverted;
}

HWND GetClipboardOwner()
{
    CClipboard& clipboard = Clipboard();
    HWND hOwner = nullptr;
    {
        std::lock_guard lock(clipboard.mutex);
        hOwner = clipboard.hOwner;
    }
    // Handles are never reused: one that names no window names a destroyed owner.
    return IsWindow(hOwner) ? hOwner : nullptr;
}

UINT RegisterClipboardFormat(LPCTSTR lpszFormat)
{
    return RegisterWindowMessage(lpszFormat);
}

int GetClipboardFormatName(UINT format, LPTSTR lpszFormatName, int cchMaxCount)
{
    if (!lpszFormatName || cchMaxCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string strName;
    {
        auto lock = LockWindows();
        const std::string* pName = format <= 0xFFFF ? AtomNameLocked(static_cast<ATOM>(format)) : nullptr;
        if (!pName) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        strName = *pName;
    }
    size_t nCopy = std::min(strName.size(), static_cast<size_t>(cchMaxCount - 1));
    while (nCopy > 0 && nCopy < strName.size() && (static_cast<BYTE>(strName[nCopy]) & 0xC0) == 0x80)
        --nCopy;
    std::memcpy(lpszFormatName, strName.data(), nCopy);
    lpszFormatName[nCopy] = '\0';
    return static_cast<int>(nCopy);
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    CClipboard& clipboard = Clipboard();
    {
        std::lock_guard lock(clipboard.mutex);
        UINT uPartner = TextPartner(format);
        if (FindData(clipboard, format) || (uPartner && FindData(clipboard, uPartner)))
            return TRUE;
    }
    // Answered from what the display knows of another program's clipboard, without waiting.
    std::vector<UINT> desktopFormats = IsShared(format) ? DesktopFormats() : std::vector<UINT>();
    return std::find(desktopFormats.begin(), desktopFormats.end(), format) != desktopFormats.end() ? TRUE : FALSE;
}

int CountClipboardFormats()
{
    std::vector<UINT> desktopFormats = DesktopFormats();
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    return static_cast<int>(ListedFormats(clipboard, desktopFormats).size());
}

UINT EnumClipboardFormats(UINT format)
{
    std::vector<UINT> desktopFormats = DesktopFormats();
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return 0;
    const std::vector<UINT> formats = ListedFormats(clipboard, desktopFormats);
    SetLastError(NO_ERROR);
    if (format == 0)
        return formats.empty() ? 0 : formats.front();
    auto it = std::find(formats.begin(), formats.end(), format);
    return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

void DesktopClipboardChanged(EClipboardChange eChange)
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    clipboard.bDesktopDataStale = true;
    if (eChange == EClipboardChange::TakenFromProgram)
        clipboard.bOfferTaken = true;
    if (!clipboard.dwOpenThread)
        ApplyDesktopChangesLocked(clipboard);
}

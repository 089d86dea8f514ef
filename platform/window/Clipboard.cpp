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
#include <vector>

namespace {

struct CClipboardData {
    UINT uFormat { 0 };
    HANDLE hMem { nullptr };
    bool bSynthesized { false }; // made from the other text format on request
};

struct CClipboard {
    std::mutex mutex;
    DWORD dwOpenThread { 0 }; // 0: closed
    HWND hOpenWindow { nullptr };
    HWND hOwner { nullptr };
    std::vector<CClipboardData> data; // in the order set
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

// The formats EnumClipboardFormats lists: those set, in order, then a text
// format that can be made from the other.
std::vector<UINT> ListedFormats(const CClipboard& clipboard)
{
    std::vector<UINT> formats;
    for (const CClipboardData& entry : clipboard.data) {
        if (!entry.bSynthesized)
            formats.push_back(entry.uFormat);
    }
    for (UINT uText : { CF_TEXT, CF_UNICODETEXT }) {
        if (std::find(formats.begin(), formats.end(), uText) == formats.end()
            && std::find(formats.begin(), formats.end(), TextPartner(uText)) != formats.end())
            formats.push_back(uText);
    }
    return formats;
}

// UTF-16 from UTF-8; a byte that starts no valid character becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text)
{
    std::u16string wide;
    for (char32_t ch : Utf32FromUtf8(text)) {
        if (ch >= 0x10000) {
            ch -= 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (ch >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (ch & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(ch));
        }
    }
    return wide;
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
    clipboard.dwOpenThread = 0;
    clipboard.hOpenWindow = nullptr;
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
    clipboard.data.push_back({ uFormat, hMem, false });
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return nullptr;
    if (CClipboardData* pEntry = FindData(clipboard, uFormat))
        return pEntry->hMem;
    UINT uPartner = TextPartner(uFormat);
    CClipboardData* pSource = uPartner ? FindData(clipboard, uPartner) : nullptr;
    if (!pSource)
        return nullptr;
    HGLOBAL hConverted = ConvertText(pSource->hMem, uFormat);
    if (hConverted)
        clipboard.data.push_back({ uFormat, hConverted, true });
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
    std::lock_guard lock(clipboard.mutex);
    UINT uPartner = TextPartner(format);
    return FindData(clipboard, format) || (uPartner && FindData(clipboard, uPartner)) ? TRUE : FALSE;
}

int CountClipboardFormats()
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    return static_cast<int>(ListedFormats(clipboard).size());
}

UINT EnumClipboardFormats(UINT format)
{
    CClipboard& clipboard = Clipboard();
    std::lock_guard lock(clipboard.mutex);
    if (!OpenedByCaller(clipboard))
        return 0;
    const std::vector<UINT> formats = ListedFormats(clipboard);
    SetLastError(NO_ERROR);
    if (format == 0)
        return formats.empty() ? 0 : formats.front();
    auto it = std::find(formats.begin(), formats.end(), format);
    return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

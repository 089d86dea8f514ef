#include "platform/controls/EditClipboard.h"

#include "platform/base/GlobalMemory.h"
#include "platform/window/Clipboard.h"

#include <cstring>

BOOL SetEditClipboardText(HWND hEdit, const std::string& strText)
{
    if (!OpenClipboard(hEdit))
        return FALSE;
    EmptyClipboard();
    BOOL bSet = FALSE;
    if (HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, strText.size() + 1)) {
        std::memcpy(GlobalLock(hText), strText.c_str(), strText.size() + 1);
        GlobalUnlock(hText);
        bSet = SetClipboardData(CF_TEXT, hText) ? TRUE : FALSE;
        if (!bSet)
            GlobalFree(hText);
    }
    CloseClipboard();
    return bSet;
}

std::optional<std::string> GetEditClipboardText(HWND hEdit)
{
    if (!OpenClipboard(hEdit))
        return std::nullopt;
    std::optional<std::string> text;
    if (HANDLE hText = GetClipboardData(CF_TEXT)) {
        if (auto pszText = static_cast<const char*>(GlobalLock(hText))) {
            text = std::string(pszText, strnlen(pszText, GlobalSize(hText)));
            GlobalUnlock(hText);
        }
    }
    CloseClipboard();
    return text;
}

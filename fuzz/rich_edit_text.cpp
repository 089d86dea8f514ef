// Links: platform_controls
// Shows arbitrary bytes in a rich edit as the content preview shows a
// document's text: set as the text, searched for a piece of itself, a part
// coloured, copied out and painted, in a narrow window so lines wrap.

#include "fuzz/FontSystemLeaks.h"
#include "platform/controls/RichEditControl.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    RegisterRichEditClass();
    HWND hEdit = CreateWindowEx(0, RICHEDIT_CLASS, "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
        0, 0, 90, 60, nullptr, nullptr, nullptr, nullptr);
    const std::string strText(reinterpret_cast<const char*>(pData), nSize);
    SetWindowText(hEdit, strText.c_str());
    const LONG nLength = static_cast<LONG>(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0));
    // A piece of the input is the word searched for; every match is coloured.
    const std::string strWord = strText.substr(nSize / 3, nSize % 7 + 1);
    FINDTEXTEX find { { 0, -1 }, strWord.c_str(), { 0, 0 } };
    CHARFORMAT cf { sizeof(CHARFORMAT), CFM_COLOR | CFM_SIZE, 0, static_cast<LONG>(nSize % 600), 0, 0xFF0000, 0, 0,
        {} };
    for (int i = 0;
         i < 50 && SendMessage(hEdit, EM_FINDTEXTEX, FR_DOWN | (nSize & 6), reinterpret_cast<LPARAM>(&find)) >= 0;
         ++i) {
        SendMessage(hEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
        SendMessage(hEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        find.chrg.cpMin = find.chrgText.cpMax;
    }
    CHARRANGE cr { nLength / 4, nLength };
    SendMessage(hEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    std::string strSelected(static_cast<size_t>(nLength) * 4 + 1, '\0');
    SendMessage(hEdit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(strSelected.data()));
    SendMessage(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(strWord.c_str()));
    InvalidateRect(hEdit, nullptr, TRUE);
    UpdateWindow(hEdit);
    DestroyWindow(hEdit);
    return 0;
}

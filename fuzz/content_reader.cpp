// Links: ui platform_controls
// Takes arbitrary bytes as a document file, under a name whose extension the
// first byte picks, and reads it as the preview does: the content reader with
// the preview's buffer, then its text into a rich edit the way the preview
// fills it, or its picture into a zoom window rendered at a small size.
// Whatever the bytes, the code is one the reader documents, the text ends
// inside the buffer, and a picture is named with its format.

#include "fuzz/FontSystemLeaks.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/RichEditControl.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"
#include "store/ContentReader.h"
#include "tests/support/ScratchFolder.h"
#include "ui/CZoomWnd.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int PREVIEW_BYTES = 32000;
constexpr const char* EXTENSIONS[] = { ".txt", ".png", ".jpg", ".gif", ".bmp", ".html", ".doc", ".eml", "" };

bool IsKnownCode(int nCode)
{
    switch (nCode) {
    case CONTENT_TEXT:
    case CONTENT_PROTECTED_FILE:
    case CONTENT_NOT_FOUND:
    case CONTENT_UNREADABLE:
    case CONTENT_EMPTY:
    case CONTENT_NO_PREVIEW:
    case CONTENT_PROTECTED:
    case 11:
    case 12:
    case CONTENT_CONVERTED_TEXT:
    case CONTENT_PICTURE:
        return true;
    default:
        return false;
    }
}

// The preview's plain text: the default size over everything, then the text.
void FillRichEdit(const char* pszText)
{
    RegisterRichEditClass();
    HWND hEdit = CreateWindowEx(0, RICHEDIT_CLASS, "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
        0, 0, 120, 80, nullptr, nullptr, nullptr, nullptr);
    CHARRANGE all { 0, -1 };
    SendMessage(hEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARFORMAT cf { sizeof(CHARFORMAT), CFM_SIZE | CFM_BOLD, 0, 200, 0, 0, 0, 0, {} };
    SendMessage(hEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    SendMessage(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(pszText));
    UpdateWindow(hEdit);
    DestroyWindow(hEdit);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const ScratchFolder folder("content-reader-fuzz-");
    if (!folder.IsValid())
        std::abort();
    const char* pszExtension = EXTENSIONS[nSize > 0 ? pData[0] % std::size(EXTENSIONS) : 0];
    const std::filesystem::path file = folder.Path() / (std::string("document") + pszExtension);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    const std::string strPath = ProgramPathFromHostPath(file.string());
    std::vector<char> buffer(PREVIEW_BYTES, 'x');
    const int nCode = ReadFileContent(strPath.c_str(), buffer.data(), PREVIEW_BYTES);
    if (!IsKnownCode(nCode) || !std::memchr(buffer.data(), '\0', buffer.size()))
        std::abort();
    CString strPicture;
    CString strFormat;
    const BOOL bPicture = GetContentPicture(strPicture, strFormat);
    if (nCode == CONTENT_PICTURE) {
        if (!bPicture || strPicture.IsEmpty() || strFormat.IsEmpty())
            std::abort();
        CZoomWnd zoom;
        zoom.SetPicturePath(strPicture, CZoomWnd::TYPE_BITMAP_FILE);
        if (zoom.SetImage())
            (void)zoom.CopyToClipboard(48, 32); // only crashes and overruns matter here
    } else {
        const bool bText = nCode == CONTENT_TEXT || nCode == 11 || nCode == 12 || nCode == CONTENT_CONVERTED_TEXT;
        if (bPicture || (bText && !IsValidUtf8(buffer.data())))
            std::abort();
        FillRichEdit(buffer.data());
    }
    std::filesystem::remove(file);
    return 0;
}

// Links: platform_controls
// Shows arbitrary bytes as an HTML page, as a view pointed at any file would:
// laid out at two widths, drawn, searched for a link and touched by the mouse.

#include "fuzz/FontSystemLeaks.h"
#include "platform/controls/HtmlBrowser.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static HDC s_hdc = [] {
        HDC hdc = CreateCompatibleDC(nullptr);
        SelectObject(hdc, CreateBitmap(200, 150, 1, 32, nullptr));
        return hdc;
    }();
    auto* pBrowser = new CHtmlBrowser;
    pBrowser->ShowPage("C:\\fuzz\\page.html", std::string_view(reinterpret_cast<const char*>(pData), nSize));
    pBrowser->SetViewSize(60, 40);
    pBrowser->SetViewSize(200, 150);
    const RECT rcClip { 0, 0, 200, 150 };
    pBrowser->Draw(s_hdc, rcClip, pBrowser->GetPageHeight() / 2);
    RECT rcLink {};
    pBrowser->FindLink("link", &rcLink);
    std::optional<CHtmlLink> clicked;
    pBrowser->MouseMove(POINT { 10, 10 });
    pBrowser->ButtonDown(POINT { 10, 10 });
    pBrowser->ButtonUp(POINT { 10, 10 }, &clicked);
    pBrowser->MouseLeave();
    pBrowser->Release();
    return 0;
}

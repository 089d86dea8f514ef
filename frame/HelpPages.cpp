#include "frame/HelpPages.h"

#include "platform/framework/AfxFrameIds.h"

#include <span>

namespace {

struct HelpPage {
    UINT nDialogID;
    LPCTSTR pszPage;
};

// clang-format off
constexpr HelpPage HELP_PAGES[] = {
    { 120, "HP2-5B.HTM" },  { 121, "HP2-4B.HTM" },  { 122, "HP2-4B.HTM" },  { 123, "HP2-5.HTM" },
    { 124, "HP2-1.HTM" },   { 125, "HP2-3.HTM" },   { 280, "HP2.HTM" },     { 283, "HP2-4.HTM" },
    { 285, "HP2-4A.HTM" },  { 320, "HP1-2-7.HTM" }, { 324, "HP1-2-8.HTM" }, { 353, "HP2-2.HTM" },
    { 411, "HP12-1.HTM" },  { 412, "HP12-4.HTM" },  { 453, "HP12-4.HTM" },  { 413, "HP12-5.HTM" },
    { 414, "HP12-6.HTM" },  { 415, "HP12-7.HTM" },  { 416, "HP12-8.HTM" },  { 417, "HP12-9.HTM" },
    { 418, "HP12-10.HTM" }, { 422, "HP12-13.HTM" }, { 423, "HP12-13.HTM" }, { 424, "HP12-13.HTM" },
    { 438, "HP12-3.HTM" },  { 439, "HP12-2.HTM" },  { 440, "HP12-2B.HTM" },
};
// clang-format on

constexpr char GENERAL_PAGE[] = "HELP.GIF";

} // namespace

LPCTSTR HelpPageOfContext(DWORD_PTR dwContext)
{
    for (const HelpPage& page : std::span(HELP_PAGES)) {
        if (dwContext == HID_BASE_RESOURCE + page.nDialogID)
            return page.pszPage;
    }
    return GENERAL_PAGE;
}

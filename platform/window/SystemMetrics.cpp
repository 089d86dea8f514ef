#include "platform/window/SystemMetrics.h"

#include <unordered_map>

namespace {

constexpr int SCREEN_WIDTH = 1280;
constexpr int SCREEN_HEIGHT = 1024;
constexpr int CAPTION_HEIGHT = 19; // includes the line under the caption
constexpr int SMALL_CAPTION_HEIGHT = 15;

}

int GetSystemMetrics(int nIndex)
{
    // clang-format off
    static const std::unordered_map<int, int> metrics {
        { SM_CXSCREEN, SCREEN_WIDTH },       { SM_CYSCREEN, SCREEN_HEIGHT },
        { SM_CXVSCROLL, 16 },                { SM_CYHSCROLL, 16 },
        { SM_CYCAPTION, CAPTION_HEIGHT },    { SM_CXBORDER, 1 },        { SM_CYBORDER, 1 },
        { SM_CXDLGFRAME, 3 },                { SM_CYDLGFRAME, 3 },
        { SM_CYVTHUMB, 16 },                 { SM_CXHTHUMB, 16 },
        { SM_CXICON, 32 },                   { SM_CYICON, 32 },
        { SM_CXCURSOR, 32 },                 { SM_CYCURSOR, 32 },
        { SM_CYMENU, 19 },
        { SM_CXFULLSCREEN, SCREEN_WIDTH },   { SM_CYFULLSCREEN, SCREEN_HEIGHT - CAPTION_HEIGHT },
        { SM_MOUSEPRESENT, 1 },              { SM_CYVSCROLL, 16 },      { SM_CXHSCROLL, 16 },
        { SM_SWAPBUTTON, 0 },
        { SM_CXMIN, 112 },                   { SM_CYMIN, 27 },
        { SM_CXSIZE, 18 },                   { SM_CYSIZE, 18 },
        { SM_CXFRAME, 4 },                   { SM_CYFRAME, 4 },
        { SM_CXMINTRACK, 112 },              { SM_CYMINTRACK, 27 },
        { SM_CXDOUBLECLK, 4 },               { SM_CYDOUBLECLK, 4 },
        { SM_CXICONSPACING, 75 },            { SM_CYICONSPACING, 75 },
        { SM_CMOUSEBUTTONS, 3 },
        { SM_CXEDGE, 2 },                    { SM_CYEDGE, 2 },
        { SM_CXSMICON, 16 },                 { SM_CYSMICON, 16 },
        { SM_CYSMCAPTION, SMALL_CAPTION_HEIGHT },
        { SM_CXMINIMIZED, 160 },             { SM_CYMINIMIZED, 24 },
        { SM_CXMAXTRACK, SCREEN_WIDTH + 12 }, { SM_CYMAXTRACK, SCREEN_HEIGHT + 12 },
        { SM_CXMAXIMIZED, SCREEN_WIDTH + 8 }, { SM_CYMAXIMIZED, SCREEN_HEIGHT + 8 },
        { SM_CXDRAG, 4 },                    { SM_CYDRAG, 4 },
        { SM_CXMENUCHECK, 13 },              { SM_CYMENUCHECK, 13 },
        { SM_MOUSEWHEELPRESENT, 1 },
        { SM_XVIRTUALSCREEN, 0 },            { SM_YVIRTUALSCREEN, 0 },
        { SM_CXVIRTUALSCREEN, SCREEN_WIDTH }, { SM_CYVIRTUALSCREEN, SCREEN_HEIGHT },
        { SM_CMONITORS, 1 },                 { SM_REMOTESESSION, 0 },
    };
    // clang-format on
    auto it = metrics.find(nIndex);
    return it == metrics.end() ? 0 : it->second;
}

#include "platform/window/SystemMetrics.h"

#include "platform/base/WinError.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Text.h"
#include "platform/window/Monitors.h"

#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

constexpr int CAPTION_HEIGHT = 19; // includes the line under the caption
constexpr int SMALL_CAPTION_HEIGHT = 15;

// The metrics that follow from the monitors: the primary's size and work
// area, and the bounding box of them all.
std::optional<int> ScreenMetric(int nIndex)
{
    switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CYSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CXMAXIMIZED:
    case SM_CYMAXIMIZED:
    case SM_CXMAXTRACK:
    case SM_CYMAXTRACK:
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CMONITORS:
        break;
    default:
        return std::nullopt;
    }
    std::vector<CMonitor> monitors = ScreenMonitors();
    const CMonitor& primary = monitors.front();
    RECT rcVirtual = primary.rcMonitor;
    for (const CMonitor& monitor : monitors)
        UnionRect(&rcVirtual, &rcVirtual, &monitor.rcMonitor);
    int cxWork = primary.rcWork.right - primary.rcWork.left;
    int cyWork = primary.rcWork.bottom - primary.rcWork.top;
    int cxVirtual = rcVirtual.right - rcVirtual.left;
    int cyVirtual = rcVirtual.bottom - rcVirtual.top;
    switch (nIndex) {
    case SM_CXSCREEN:
        return primary.rcMonitor.right - primary.rcMonitor.left;
    case SM_CYSCREEN:
        return primary.rcMonitor.bottom - primary.rcMonitor.top;
    case SM_CXFULLSCREEN:
        return cxWork;
    case SM_CYFULLSCREEN:
        return cyWork - CAPTION_HEIGHT;
    case SM_CXMAXIMIZED: // the frame lies outside the work area
        return cxWork + 8;
    case SM_CYMAXIMIZED:
        return cyWork + 8;
    case SM_CXMAXTRACK:
        return cxVirtual + 12;
    case SM_CYMAXTRACK:
        return cyVirtual + 12;
    case SM_XVIRTUALSCREEN:
        return rcVirtual.left;
    case SM_YVIRTUALSCREEN:
        return rcVirtual.top;
    case SM_CXVIRTUALSCREEN:
        return cxVirtual;
    case SM_CYVIRTUALSCREEN:
        return cyVirtual;
    default:
        return static_cast<int>(monitors.size());
    }
}

}

int GetSystemMetrics(int nIndex)
{
    if (std::optional<int> nValue = ScreenMetric(nIndex))
        return *nValue;
    // clang-format off
    static const std::unordered_map<int, int> metrics {
        { SM_CXVSCROLL, 16 },                { SM_CYHSCROLL, 16 },
        { SM_CYCAPTION, CAPTION_HEIGHT },    { SM_CXBORDER, 1 },        { SM_CYBORDER, 1 },
        { SM_CXDLGFRAME, 3 },                { SM_CYDLGFRAME, 3 },
        { SM_CYVTHUMB, 16 },                 { SM_CXHTHUMB, 16 },
        { SM_CXICON, 32 },                   { SM_CYICON, 32 },
        { SM_CXCURSOR, 32 },                 { SM_CYCURSOR, 32 },
        { SM_CYMENU, 19 },
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
        { SM_CXDRAG, 4 },                    { SM_CYDRAG, 4 },
        { SM_CXMENUCHECK, 13 },              { SM_CYMENUCHECK, 13 },
        { SM_MOUSEWHEELPRESENT, 1 },
        { SM_REMOTESESSION, 0 },
    };
    // clang-format on
    auto it = metrics.find(nIndex);
    return it == metrics.end() ? 0 : it->second;
}

BOOL SystemParametersInfo(UINT uiAction, UINT, PVOID pvParam, UINT)
{
    if (!pvParam) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    switch (uiAction) {
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(pvParam) = ScreenMonitors().front().rcWork;
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        auto* pMetrics = static_cast<NONCLIENTMETRICS*>(pvParam);
        // Callers built for older systems pass the size without the last field.
        if (pMetrics->cbSize != sizeof(NONCLIENTMETRICS)
            && pMetrics->cbSize != sizeof(NONCLIENTMETRICS) - sizeof(int)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        LOGFONT lf {};
        GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        LOGFONT lfBold = lf;
        lfBold.lfWeight = FW_BOLD;
        UINT cbSize = pMetrics->cbSize;
        NONCLIENTMETRICS metrics {};
        metrics.cbSize = cbSize;
        metrics.iBorderWidth = GetSystemMetrics(SM_CXFRAME);
        metrics.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
        metrics.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
        metrics.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
        metrics.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
        metrics.lfCaptionFont = lfBold;
        metrics.iSmCaptionWidth = GetSystemMetrics(SM_CXSIZE) - 3;
        metrics.iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
        metrics.lfSmCaptionFont = lf;
        metrics.iMenuWidth = GetSystemMetrics(SM_CYMENU);
        metrics.iMenuHeight = GetSystemMetrics(SM_CYMENU);
        metrics.lfMenuFont = lf;
        metrics.lfStatusFont = lf;
        metrics.lfMessageFont = lf;
        std::memcpy(pMetrics, &metrics, cbSize);
        return TRUE;
    }
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT:
        *static_cast<UINT*>(pvParam) = 4;
        return TRUE;
    case SPI_GETMOUSEHOVERTIME:
        *static_cast<UINT*>(pvParam) = 400;
        return TRUE;
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<UINT*>(pvParam) = 3;
        return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
        *static_cast<BOOL*>(pvParam) = TRUE;
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

#include "platform/display/HeadlessDisplay.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/SysColors.h"

#include <algorithm>

CHeadlessDisplay::CHeadlessDisplay(int nScreenWidth, int nScreenHeight)
    : m_nScreenWidth(nScreenWidth)
    , m_nScreenHeight(nScreenHeight)
    , m_tray(nScreenWidth, nScreenHeight)
{
}

CHeadlessDisplay::~CHeadlessDisplay()
{
    for (auto& [hWnd, window] : m_windows)
        DeleteObject(window.hbmSurface);
}

HBITMAP CHeadlessDisplay::MakeSurface(const RECT& rcWindow)
{
    // A window of no size still gets a pixel, so that every known window has a surface.
    int nWidth = std::max<int>(rcWindow.right - rcWindow.left, 1);
    int nHeight = std::max<int>(rcWindow.bottom - rcWindow.top, 1);
    return CreateBitmap(nWidth, nHeight, 1, 32, nullptr);
}

void CHeadlessDisplay::CreateTopLevel(HWND hWnd, const RECT& rcWindow)
{
    std::lock_guard lock(m_mutex);
    CTopLevel& window = m_windows[hWnd];
    if (window.hbmSurface)
        DeleteObject(window.hbmSurface); // told again of a window it knows: start afresh
    window = CTopLevel {};
    window.rcWindow = rcWindow;
    window.hbmSurface = MakeSurface(rcWindow);
    if (std::find(m_zOrder.begin(), m_zOrder.end(), hWnd) == m_zOrder.end())
        m_zOrder.insert(m_zOrder.begin(), hWnd);
}

void CHeadlessDisplay::DestroyTopLevel(HWND hWnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it == m_windows.end())
        return;
    DeleteObject(it->second.hbmSurface);
    m_windows.erase(it);
    std::erase(m_zOrder, hWnd);
}

void CHeadlessDisplay::MoveTopLevel(HWND hWnd, const RECT& rcWindow)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it == m_windows.end())
        return;
    CTopLevel& window = it->second;
    bool bResized = rcWindow.right - rcWindow.left != window.rcWindow.right - window.rcWindow.left
        || rcWindow.bottom - rcWindow.top != window.rcWindow.bottom - window.rcWindow.top;
    window.rcWindow = rcWindow;
    if (bResized) {
        DeleteObject(window.hbmSurface);
        window.hbmSurface = MakeSurface(rcWindow);
    }
}

void CHeadlessDisplay::ShowTopLevel(HWND hWnd, bool bShow)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it != m_windows.end())
        it->second.bVisible = bShow;
}

void CHeadlessDisplay::RestackTopLevels(const std::vector<HWND>& topFirst)
{
    std::lock_guard lock(m_mutex);
    m_zOrder.clear();
    for (HWND hWnd : topFirst) {
        if (m_windows.count(hWnd))
            m_zOrder.push_back(hWnd);
    }
}

HBITMAP CHeadlessDisplay::SurfaceOf(HWND hWnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    return it == m_windows.end() ? nullptr : it->second.hbmSurface;
}

void CHeadlessDisplay::Present(HWND, const RECT&)
{
    // Nothing to do: the screen is composed when it is captured.
}

HBITMAP CHeadlessDisplay::CaptureScreen()
{
    std::lock_guard lock(m_mutex);
    HBITMAP hbmScreen = CreateBitmap(m_nScreenWidth, m_nScreenHeight, 1, 32, nullptr);
    if (!hbmScreen)
        return nullptr;
    HDC hdcScreen = CreateSurfaceDC(hbmScreen, POINT {}, nullptr);
    RECT rcScreen { 0, 0, m_nScreenWidth, m_nScreenHeight };
    FillRect(hdcScreen, &rcScreen, GetSysColorBrush(COLOR_DESKTOP));
    for (auto it = m_zOrder.rbegin(); it != m_zOrder.rend(); ++it) {
        const CTopLevel& window = m_windows[*it];
        if (!window.bVisible)
            continue;
        HDC hdcWindow = CreateSurfaceDC(window.hbmSurface, POINT {}, nullptr);
        BitBlt(hdcScreen, window.rcWindow.left, window.rcWindow.top, window.rcWindow.right - window.rcWindow.left,
            window.rcWindow.bottom - window.rcWindow.top, hdcWindow, 0, 0, SRCCOPY);
        DeleteDC(hdcWindow);
    }
    DeleteDC(hdcScreen);
    return hbmScreen;
}

std::vector<CMonitor> CHeadlessDisplay::Monitors()
{
    RECT rcScreen { 0, 0, m_nScreenWidth, m_nScreenHeight };
    return { CMonitor { rcScreen, rcScreen, true } };
}

UINT CHeadlessDisplay::DoubleClickTime()
{
    return 500;
}

void CHeadlessDisplay::DescribeTopLevel(HWND hWnd, const CTopLevelLook& look)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it != m_windows.end())
        it->second.look = look;
}

void CHeadlessDisplay::SetTopLevelState(HWND hWnd, ETopLevelState eState)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it != m_windows.end())
        it->second.eState = eState;
}

void CHeadlessDisplay::SetTopLevelCursor(HWND hWnd, HCURSOR hCursor)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    if (it != m_windows.end())
        it->second.hCursor = hCursor;
}

CTopLevelLook CHeadlessDisplay::LookOf(HWND hWnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    return it == m_windows.end() ? CTopLevelLook {} : it->second.look;
}

ETopLevelState CHeadlessDisplay::StateOf(HWND hWnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    return it == m_windows.end() ? ETopLevelState::Normal : it->second.eState;
}

HCURSOR CHeadlessDisplay::CursorOf(HWND hWnd)
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(hWnd);
    return it == m_windows.end() ? nullptr : it->second.hCursor;
}

CTrayHost* CHeadlessDisplay::GetTrayHost()
{
    return m_tray.IsEnabled() ? &m_tray : nullptr;
}

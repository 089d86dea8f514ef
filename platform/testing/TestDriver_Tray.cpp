// CTestDriver: the headless display's recording tray.

#include "platform/testing/TestDriver.h"

#include "platform/display/HeadlessDisplay.h"
#include "platform/window/DisplayLink.h"

std::vector<CTrayIcon> CTestDriver::TrayIcons()
{
    return GetHeadlessDisplay().Tray().GetIcons();
}

BOOL CTestDriver::ClickTrayIcon(HWND hWnd, UINT uID, UINT nMouseMessage)
{
    if (!GetHeadlessDisplay().Tray().Click(hWnd, uID, nMouseMessage))
        return FALSE;
    Pump();
    return TRUE;
}

BOOL CTestDriver::HoverTrayIcon(HWND hWnd, UINT uID, BOOL bOver)
{
    if (!GetHeadlessDisplay().Tray().Hover(hWnd, uID, bOver != FALSE))
        return FALSE;
    Pump();
    return TRUE;
}

void CTestDriver::SetTrayEnabled(BOOL bEnabled)
{
    GetHeadlessDisplay().Tray().SetEnabled(bEnabled != FALSE);
}

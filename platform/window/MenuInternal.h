#pragma once

// The menu objects behind HMENU values, shared by the menu calls, the popup
// tracking and the menu bars. Every call takes the table's lock; the tracking
// code copies what it shows (CMenuItem values) so that it never holds the lock
// across a message the owner handles.

#include "platform/window/Menu.h"

#include <string>
#include <vector>

struct CMenuItem {
    UINT fType { MFT_STRING }; // MFT_*
    UINT fState { 0 };         // MFS_*
    UINT wID { 0 };
    HMENU hSubMenu { nullptr };
    ULONG_PTR dwItemData { 0 };
    std::string strText;
};

// A copy of the menu's items; false (and ERROR_INVALID_MENU_HANDLE) for a bad handle.
[[nodiscard]] bool MenuSnapshot(HMENU hMenu, std::vector<CMenuItem>& items);

// How a tracked menu was opened: from TrackPopupMenu, or from item nIndex of
// a window's menu bar (keyboard openings select the first item at once).
struct CTrackStart {
    bool bFromBar { false };
    int nIndex { 0 };
    bool bSelectFirst { false };
    RECT rcExclude {}; // screen area the first menu keeps clear; empty for none
};
// Runs the menu loop (see TrackPopupMenu); returns the chosen ID, 0 for none.
UINT TrackMenu(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd, const CTrackStart& start);

// The character after the first single '&' of the text, lower-cased; 0 when there is none.
char32_t MenuMnemonic(const std::string& strText);

/* The menu bar's part of the non-client area (MenuBar.cpp), lock not held. */

// The bar's rectangle in window coordinates; empty without a bar.
RECT MenuBarRect(HWND hWnd);
void PaintMenuBar(HWND hWnd, HDC hdcWindow);
// A left button press on the bar at ptScreen.
void ClickMenuBar(HWND hWnd, POINT ptScreen);
// Alt with the character ch: opens the bar item whose mnemonic it is; false when none is.
bool OpenMenuBarByMnemonic(HWND hWnd, char32_t ch);

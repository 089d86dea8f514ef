#pragma once

// The menu objects behind HMENU values, shared by the menu calls and the popup
// tracking. Every call takes the table's lock; the tracking code copies what
// it shows (CMenuItem values) so that it never holds the lock across a
// message the owner handles.

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

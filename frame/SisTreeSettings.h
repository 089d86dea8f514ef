#pragma once

// What a catalog view keeps of its systems tree, in the subkey "SisTree" of
// the view's key:
//
//   "ViewStyle"   DWORD   1 small icons, 0 large (default 0)
//   "ShowOrphan"  DWORD   whether the block-3 top node shows (default 1)
//   "NumPath"     DWORD   how many names the path of the selected system has
//   "Path000"...  string  those names from the top: the catalog root's (empty),
//                         then each system down to the selected one; a fixed
//                         top node is one name, its shown name
//   "NumExpanded" DWORD   how many expanded systems follow
//   "Expanded000"... string array  the path of each system that was shown
//                         expanded, in the same form, parents before children
//
// Damaged values read as their defaults; a path stops at its first missing
// name and at MAX_PATH_NAMES names; at most MAX_EXPANDED paths are kept.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"

#include <vector>

class CRegistryKey;

constexpr char SIS_TREE_KEY_NAME[] = "SisTree";
// The most names of a kept path read or written.
constexpr int MAX_PATH_NAMES = 1000;
// The most expanded systems read or written.
constexpr int MAX_EXPANDED = 1000;

// The names from the top of the tree down to one system.
using CSisTreePath = std::vector<CString>;

struct CSisTreeSettings {
    BOOL bSmallIcons { FALSE };
    BOOL bShowTopNode3 { TRUE };
    CSisTreePath path;                  // the selected system; at most MAX_PATH_NAMES names
    std::vector<CSisTreePath> expanded; // parents before children; at most MAX_EXPANDED
};

// The settings kept in key (the "SisTree" key itself).
CSisTreeSettings ReadSisTreeSettings(CRegistryKey& key);
// Writes the settings under hParent\pszName, creating the key when missing;
// FALSE, with nothing written, when it cannot be had.
BOOL WriteSisTreeSettings(HKEY hParent, LPCTSTR pszName, const CSisTreeSettings& settings);

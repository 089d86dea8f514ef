#pragma once

// Where the window layout lives in the registry, below HKEY_CURRENT_USER:
//
//   ...\Desktop   "Status", "Position"  the main window's show command and place
//                 "Windows", "ActiveFrame"  how many catalog views, which one is active
//                 Child000, Child001 ...    one key per catalog view, in window order
//                 Openbar, Mailbar, Findbar the bars' "Show" and "Width"
//   ...\Settings  "Current Date"          the time of the last daily notice
//
// Both keys are deleted and written afresh by every save. While start-up
// restores the catalog views, the restore key and the current child key name
// tell each view's frame, as it is made, where its own values are.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"
#include "platform/window/WindowPlacement.h"

class CRegistryKey;

constexpr char SETTINGS_KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\Settings";

// The most catalog views a layout keeps; a larger saved count is cut to it.
constexpr int MAX_CHILD_FRAMES = 1000;

// "Child" and the last three digits of nIndex + 1000 (Child000 to Child999),
// in one buffer that the next call overwrites.
LPCTSTR ChildKeyName(int nIndex);

// "Windows" of the Desktop key, 0 to MAX_CHILD_FRAMES (0 when missing or not a
// number), and "ActiveFrame" (0 when missing).
int ReadFrameCount();
int ReadActiveFrame();

// A window's place as a layout keeps it: its show command ("Status") and its
// normal rectangle ("Position", four numbers: left, top, right, bottom).
struct CKeptPlacement {
    bool bStatusKept { false }; // "Status" was there; dwStatus holds the default otherwise
    DWORD dwStatus { 0 };
    bool bRectKept { false }; // "Position" was four numbers with a positive width and height
    RECT rc {};
};
// Reads the place kept in key; damaged values count as missing.
CKeptPlacement ReadKeptPlacement(CRegistryKey& key, DWORD dwDefaultStatus);
// Writes the window's placement; a minimised window is kept as dwMinimizedAs.
void WriteKeptPlacement(CRegistryKey& key, const WINDOWPLACEMENT& placement, DWORD dwMinimizedAs);

// A catalog view's column widths as its key keeps them; -1 for each that is missing.
struct CKeptColumns {
    int cxTree { -1 };    // "LeftFrame"
    int cxList { -1 };    // "RightFrame"
    int cxPreview { -1 }; // "TipViewFrame"
};
CKeptColumns ReadKeptColumns(CRegistryKey& key);

// While a catalog view is restored: the Desktop key, and the name of the
// view's key below it. Null and empty otherwise.
extern HKEY g_hRestoreKey;
extern CString g_strCurrentChildKey;

#pragma once

// Accelerator tables: keys that stand for commands. A message loop passes each
// message to TranslateAccelerator first; a key of the table becomes a
// WM_COMMAND to the window instead of a key message.

#include "platform/base/ResourceFormat.h"
#include "platform/base/ResourceModule.h"
#include "platform/window/WindowTypes.h"

// A table built from `cAccel` entries (at least one); NULL with ERROR_INVALID_PARAMETER otherwise.
HACCEL CreateAcceleratorTable(LPACCEL paccel, int cAccel);
BOOL DestroyAcceleratorTable(HACCEL hAccel);
// The table resource of the module (NULL: the resource handle). The table
// lives as long as the program, as loaded resources do.
HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName);
// Copies at most cAccelEntries entries; with lpAccelDst NULL returns the count.
int CopyAcceleratorTable(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries);

// For WM_KEYDOWN/WM_SYSKEYDOWN (FVIRTKEY entries, matched with the Shift,
// Ctrl and Alt state the message came with) and WM_CHAR/WM_SYSCHAR (character
// entries; FALT must match WM_SYSCHAR): sends WM_COMMAND with the entry's
// command in the low word and 1 in the high word to hWnd and returns TRUE.
// When hWnd's menu has an item for the command, hWnd gets WM_INITMENU and
// WM_INITMENUPOPUP first, as when the user opens the menu; if the item is then
// disabled or grayed the key is taken (TRUE) but no command is sent.
// Returns FALSE for every other message.
int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);

#pragma once

// The clipboard: data in several formats under global memory handles
// (GlobalMemory.h), which one window at a time opens to read or replace.
//
// Text and the registered formats are shared with other programs through the
// display (on X, the CLIPBOARD selection); other formats stay the program's:
// - Closing the clipboard after a change offers its shared formats to the
//   desktop. A change without any gives up the desktop's clipboard when the
//   program held it (its old payload must not stay pasteable elsewhere) and
//   leaves another program's alone.
// - While another program holds the desktop's clipboard, the shared formats
//   are its: IsClipboardFormatAvailable answers from what the display knows
//   without waiting, and GetClipboardData reads from that program (waiting a
//   bounded time; NULL when it fails) into memory the clipboard owns.
// - When another program takes the desktop's clipboard, the program's shared
//   formats go; data read from another program goes when its clipboard changes.
//
// Setting data hands the handle to the clipboard, which frees it when the data
// is replaced or emptied. CF_TEXT (UTF-8) and CF_UNICODETEXT (UTF-16) stand in
// for each other: either is available when the other was set.

#include "platform/base/GlobalMemory.h"
#include "platform/window/WindowTypes.h"

// clang-format off
constexpr UINT CF_TEXT        = 1;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_HDROP       = 15;
// clang-format on

// A clipboard format number, as data objects keep it.
using CLIPFORMAT = WORD;

// Opens the clipboard for the calling thread (hWndNewOwner may be NULL). Fails
// with ERROR_ACCESS_DENIED while another thread has it open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard(); // ERROR_CLIPBOARD_NOT_OPEN unless the calling thread opened it
// Frees all data; the window that opened the clipboard becomes its owner.
// The previous owner, if any, gets WM_DESTROYCLIPBOARD first.
BOOL EmptyClipboard();
// Replaces the data of the format; returns hMem, NULL on failure (the caller keeps hMem then).
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The data of the format, owned by the clipboard; NULL when absent.
HANDLE GetClipboardData(UINT uFormat);
// The window that emptied the clipboard last; NULL when none did or it was destroyed since.
HWND GetClipboardOwner();

/* Formats. These need not open the clipboard. */
// Formats registered by name get numbers from 0xC000 up; a name gets the same
// number each time (regardless of case), shared with RegisterWindowMessage.
UINT RegisterClipboardFormat(LPCTSTR lpszFormat);
// The name of a registered format; 0 for a standard or unknown one.
int GetClipboardFormatName(UINT format, LPTSTR lpszFormatName, int cchMaxCount);
BOOL IsClipboardFormatAvailable(UINT format);
// The number of formats EnumClipboardFormats lists.
int CountClipboardFormats();
// The format after `format` (0 for the first) in the order they were set; 0 at
// the end. The clipboard must be open.
UINT EnumClipboardFormats(UINT format);

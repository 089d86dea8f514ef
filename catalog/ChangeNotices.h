#pragma once

// How the change watchers tell the new-document monitor what changed: a
// notice record per created, removed or renamed file, posted to the monitor's
// window as WM_DRIVER_NOTICE, and a registered message naming the folder
// watch that was signalled. The callbacks run in the watcher threads and
// touch nothing but the one pending record and PostMessage; the record's
// ownership passes with the message to the user-interface thread, which
// frees it with free().

#include "platform/base/WinTypes.h"

#include <cstdint>

/* Notice kinds (DriverNotice::dwKind). */
constexpr DWORD NOTICE_REMOVED = 31;
constexpr DWORD NOTICE_MODIFIED = 33;
constexpr DWORD NOTICE_CREATED = 36;
constexpr DWORD NOTICE_RENAMED = 37;
constexpr DWORD NOTICE_UNKNOWN = 0xFFFFFFFF; // an action the watcher does not know

// The longest path a notice holds, with its terminating zero.
constexpr size_t NOTICE_PATH_SIZE = 260;

// One change, 528 bytes, allocated with malloc.
struct DriverNotice {
    uint32_t dwKind;                     // NOTICE_*
    uint32_t dwReserved;                 // 0
    char szPath[NOTICE_PATH_SIZE];       // the file; for NOTICE_RENAMED its new name
    char szSecondPath[NOTICE_PATH_SIZE]; // NOTICE_RENAMED: the old name; empty otherwise
};
static_assert(sizeof(DriverNotice) == 528);
static_assert(offsetof(DriverNotice, szPath) == 8 && offsetof(DriverNotice, szSecondPath) == 268);

// Posted to the monitor's window: wParam 0, lParam the DriverNotice*, which
// the receiver frees.
constexpr UINT WM_DRIVER_NOTICE = 0x1234;

// The monitor's window, which the callbacks post to; null while it has none.
// Set by the monitor in the user-interface thread, read by the watcher threads.
void SetNoticeWindow(HWND hWnd);
HWND GetNoticeWindow();

// The registered message "DSM Notify Change": wParam 0, lParam the index of
// the folder watch that was signalled.
UINT GetNotifyChangeMessage();

// The notice kind of a directory-change action (FILE_ACTION_*): added 36,
// removed 31, modified 33, either half of a rename 37, NOTICE_UNKNOWN else.
DWORD MapFileActionToNoticeKind(DWORD dwAction);

// The directory watcher's callback for one change of the full path (UTF-16,
// zero-terminated). The old name of a rename is kept in the pending record
// until its new name comes; every other action posts the record to the
// monitor's window. A path whose UTF-8 form does not fit a notice is not
// posted (cut, it would name another file): it is traced and the record is
// kept for the next change. 0 when no record could be allocated, 1 otherwise.
int DirWatchCallback(LPCWSTR pszPath, DWORD dwAction);
// Frees the pending record (the old name of a rename whose new name never
// came), when the directory watcher stops.
void DiscardPendingNotice();

// The folder-watch thread's callback: posts the registered message with the
// watch index to the monitor's window.
void FolderWatchCallback(int nIndex);

// Whether a notice path is one the monitor looks at: a drive path "x:\..." or
// a share path "\\server\...", at least 4 characters, with no empty, "." or
// ".." component and no control character. FALSE (0) otherwise.
BOOL ParseDriveSpec(LPCTSTR pszPath);

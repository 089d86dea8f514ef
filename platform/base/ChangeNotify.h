#pragma once

// Change notices of folders, on inotify: change-notification handles
// (FindFirstChangeNotification), which are waitable objects, and
// ReadDirectoryChangesW on folder handles, synchronous or completing through
// an I/O completion port (IoCompletionPort.h).
//
// What is reported, by filter (FILE_NOTIFY_CHANGE_*):
//   FILE_NAME (files), DIR_NAME (folders): ADDED for a creation or a move in,
//       REMOVED for a deletion or a move out; a move within the watched tree
//       is RENAMED_OLD_NAME then RENAMED_NEW_NAME (its two halves meet within
//       CHANGE_MOVE_PAIR_MS);
//   SIZE, LAST_WRITE: MODIFIED when a file is written (repeats of one name
//       merged while unread); ATTRIBUTES, SECURITY, CREATION: MODIFIED when its
//       attributes change; LAST_ACCESS: MODIFIED when it is read.
// Names are relative to the watched folder, with "\" between folders.
//
// A subtree watch has one inotify watch per folder, added folder by folder;
// the walk crosses no other drive's mount point, no pseudo mount point and no
// symbolic link, and skips folders it cannot read. A folder made inside the
// tree gets its watch at once and what it holds already is reported ADDED; a
// folder moved in gets its watches but its contents are not reported (as a
// move reports only the folder); folders removed or moved out lose theirs.
//
// Nothing is lost, though some changes come differently:
//   - an overflow of the kernel's queue, or of a handle's own queue (it holds
//     CHANGE_QUEUE_BOUND entries), makes a rescan of the tree: every entry
//     whose status changed at or after the last change read, less 2 seconds,
//     is reported ADDED and the watches are brought up to date. A change made
//     in that window then shows as an addition, and removals in it are not
//     reported: no picture of the tree is kept to compare with;
//   - folders for which no watch can be had (the watch limit, or a cap a test
//     sets) are polled every CHANGE_POLL_MS by the same rule, and so is a
//     whole tree on a network drive or share, whose changes made by other
//     machines no watch would see, and every tree started while the system
//     gives the process no inotify instance (a user's programs share a few).
// One engine thread per process reads the watches, all on one inotify
// instance, and polls.

#include "platform/base/IoCompletionPort.h"
#include "platform/base/WinTypes.h"

// clang-format off
constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME   = 0x00000001;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME    = 0x00000002;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES  = 0x00000004;
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE        = 0x00000008;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE  = 0x00000010;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_ACCESS = 0x00000020;
constexpr DWORD FILE_NOTIFY_CHANGE_CREATION    = 0x00000040;
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY    = 0x00000100;
constexpr DWORD FILE_NOTIFY_CHANGE_ALL         = 0x0000017F;

constexpr DWORD FILE_ACTION_ADDED            = 1;
constexpr DWORD FILE_ACTION_REMOVED          = 2;
constexpr DWORD FILE_ACTION_MODIFIED         = 3;
constexpr DWORD FILE_ACTION_RENAMED_OLD_NAME = 4;
constexpr DWORD FILE_ACTION_RENAMED_NEW_NAME = 5;

constexpr DWORD CHANGE_MOVE_PAIR_MS  = 50;    // how long a move's first half waits for its second
constexpr size_t CHANGE_QUEUE_BOUND  = 65536; // entries a handle keeps unread before it rescans
constexpr DWORD CHANGE_POLL_MS       = 5000;  // how often unwatched folders are polled
// clang-format on

// One entry of a read, on a 4-byte boundary; NextEntryOffset 0 ends the run.
struct FILE_NOTIFY_INFORMATION {
    DWORD NextEntryOffset;
    DWORD Action;
    DWORD FileNameLength; // in bytes
    WCHAR FileName[1];    // not NUL-terminated
};
using PFILE_NOTIFY_INFORMATION = FILE_NOTIFY_INFORMATION*;

/* Change-notification handles. */

// A handle that is signalled after a matching change in the folder (and its
// subtree with bWatchSubtree) since it was made or since the last
// FindNextChangeNotification. INVALID_HANDLE_VALUE with ERROR_PATH_NOT_FOUND
// for a missing folder, ERROR_INVALID_PARAMETER for a filter of 0 or unknown bits.
HANDLE FindFirstChangeNotification(LPCTSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter);
// Re-arms the handle: it is signalled again by the next change, or at once
// when one came since the wait that saw it signalled.
BOOL FindNextChangeNotification(HANDLE hChangeHandle);
// Ends the handle, as CloseHandle does.
BOOL FindCloseChangeNotification(HANDLE hChangeHandle);

/* Reading changes from a folder handle (CreateFile with FILE_LIST_DIRECTORY and
   FILE_FLAG_BACKUP_SEMANTICS). Changes are kept from the first call on the
   handle, whose folder, subtree flag and filter count from then on. */

// Fills lpBuffer with the changes waiting, as many whole entries as fit; the
// rest wait for the next call. Without lpOverlapped the call waits for a
// change; with one, on a handle tied to a completion port, it returns TRUE at
// once and the completion reaches the port when there are changes. An entry
// larger than the whole buffer is dropped, and the read completes with 0
// bytes and ERROR_NOTIFY_ENUM_DIR (a synchronous read returns TRUE with that
// last error). Closing the handle or CancelIo ends a
// pending read with ERROR_OPERATION_ABORTED. A completion routine, an
// OVERLAPPED on a handle tied to no port, a buffer not on a 4-byte boundary or
// a filter of 0 are refused with ERROR_INVALID_PARAMETER.
BOOL ReadDirectoryChangesW(HANDLE hDirectory, LPVOID lpBuffer, DWORD nBufferLength, BOOL bWatchSubtree,
    DWORD dwNotifyFilter, LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped,
    LPOVERLAPPED_COMPLETION_ROUTINE lpCompletionRoutine);

// Ends the handle's pending read with ERROR_OPERATION_ABORTED.
BOOL CancelIo(HANDLE hFile);

/* Test seams. Each returns the previous setting. */

// While held, the engine reads no watch (the kernel's queue fills) and polls nothing.
bool HoldChangeEngine(bool bHold);
// The most inotify watches the engine takes (others are polled); 0: no cap.
size_t SetChangeWatchCap(size_t nCap);
// The entries a handle keeps unread before it rescans.
size_t SetChangeQueueBound(size_t nBound);
// How often folders without a watch are polled.
DWORD SetChangePollInterval(DWORD dwMilliseconds);

#pragma once

// The directory watcher: one thread that reads the file-name changes of the
// watched folders, each with all its sub-folders, through one completion
// port, and calls back with the full path and the action (FILE_ACTION_*) of
// every change. Writes are not asked for: only creations, removals and
// renames of files and folders come. A folder that appears (made or moved
// in) also has every file below it reported as created, so nothing moved in
// with it is missed; a file may then come twice.
//
// Life: OpenWatchedDrives -> StartDirWatchThread (the thread runs, suspended)
// -> ResumeDirWatch / SuspendDirWatch, any number of times ->
// KillDirWatchThread -> StopDirWatch. While suspended the thread goes on
// reading and drops what it reads, so that changes made while the monitor is
// off (often the program's own file work) are never offered afterwards.
// One watcher per process; all calls come from one thread.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <vector>

class CCatalog;

// The most folders one watcher reads.
constexpr int MAX_WATCHED_FOLDERS = 8;

// Called in the watcher thread per change: the full path (zero-terminated
// UTF-16) and the action. The return value is not used.
using DIRWATCHCALLBACK = int (*)(LPCWSTR pszPath, DWORD dwAction);

// The folders whose new documents the catalog looks for, as program paths
// ending in "\": every fixed drive's folders (GetFixedDriveFolders) when its
// places include the local disk, and its network locations; at most
// MAX_WATCHED_FOLDERS, folders below another one left out.
std::vector<CString> CollectWatchedFolders(CCatalog* pCatalog);

// Opens the folders for reading their changes (at most MAX_WATCHED_FOLDERS;
// folders that cannot be opened are traced and left out) and ties them to a
// new completion port. The number opened; 0 when none could be, or when a
// watcher is open already.
int OpenWatchedDrives(const std::vector<CString>& folders);
// Starts the thread, suspended, with the callback. Its handle, owned by the
// watcher; INVALID_HANDLE_VALUE when nothing is open or it could not start.
HANDLE StartDirWatchThread(DIRWATCHCALLBACK pfnCallback);
// Switches the callbacks on or off. 0, or -1 when no thread runs.
int ResumeDirWatch();
int SuspendDirWatch();
// Ends the thread and waits for it; the folders stay open.
void KillDirWatchThread();
// Closes the folders and the port (ending the thread first if it runs) and
// frees a rename's pending record (DiscardPendingNotice).
void StopDirWatch();

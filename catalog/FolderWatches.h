#pragma once

// Folder watches: change-notification handles on single folders (not their
// sub-folders), at most MAX_FOLDER_WATCHES, and one thread that waits on them
// and calls back with the index of a folder that changed. The monitor watches
// the folders of the catalog's mail stores this way.
//
// Registrations may change while the thread runs: each change first takes
// the thread out of its wait, so it never waits on a handle being closed.
// One table per process; registrations come from one thread.

#include "platform/base/WinTypes.h"

constexpr int MAX_FOLDER_WATCHES = 8;
// How long the thread waits before it looks at the table again anyway.
constexpr DWORD FOLDER_WATCH_WAIT_MS = 60000;

// Called in the watch thread with the index of a signalled watch.
using FOLDERWATCHCALLBACK = void (*)(int nIndex);

// Watches the folder for the changes of the filter (FILE_NOTIFY_CHANGE_*).
// Its index, or -1 when the table is full or the folder cannot be watched.
int RegisterFolderWatch(LPCTSTR pszFolder, DWORD dwFilter);
// Ends every watch; the thread goes on waiting for new ones.
void CloseFolderWatches();
// Starts the thread with the callback; FALSE when it runs already or could not start.
BOOL StartFolderWatchThread(FOLDERWATCHCALLBACK pfnCallback);
// Ends the thread and waits for it; the watches stay.
void KillFolderWatchThread();

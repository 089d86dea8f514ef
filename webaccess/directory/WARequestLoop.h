#pragma once

// The one way the account dialogs, pages and wizards talk to the directory
// server, and how they store what it granted.
//
// RunRequestLoop calls attempt, which builds a fresh request, sends it and
// returns its result with its message (CWARequest's codes):
//    0  returned at once; the caller takes its success step
//   -3  the message with Retry and Cancel (stop icon): Retry calls attempt
//       again with the same values, Cancel returns -3
//   other non-zero: the message (stop icon), then that result is returned
// The request itself shows the wait cursor while it waits for the server.

#include "platform/base/CString.h"

#include <functional>

// Sends attempt's request until it succeeds, fails or the user cancels; see above.
int RunRequestLoop(const std::function<int(CString& strMessage)>& attempt);

// Saves the web access settings after a success; a failure shows the
// settings-not-saved message (exclamation icon) and the values stay in memory.
// Returns whether they were saved.
BOOL SaveWebSettingsOrWarn();

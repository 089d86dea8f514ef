#pragma once

// The word the open command of a document's menus shows for the document's
// open action: for a mail message what opening it does, for a file how its
// program is found (IDS_OPEN_WITH_SUBMENU where the open-with menu takes the
// command's place). IDS_OPEN for an action outside the kind's range.

#include "platform/base/WinTypes.h"

UINT OpenCommandTextId(BOOL bMail, DWORD dwAction);

#pragma once

// The words of the recycle command (ID_DOC_RECYCLE) for what it does to a
// selection: documents go to the recycle bin, but messages are deleted from
// their mail folders and cannot be restored from it, so a selection holding
// messages names that instead.

#include "platform/base/WinTypes.h"

class CCmdUI;

// Shows the words for a selection of nMessages messages and nOthers other
// entries on the item being updated: a menu item keeps its shortcut, a
// toolbar button takes them as its tip. Without messages a menu keeps its
// own words, unless it still shows those of messages: the usual ones come
// back then, and a button's tip becomes that of the command's string again.
void ShowRecycleCommandWords(CCmdUI* pCmdUI, int nMessages, int nOthers);

#pragma once

// Shell items dropped on a node (a file manager's files and folders dragged
// onto the systems tree or one of its popups) are catalogued into the node by
// the document backup: where they lie on a fixed or network drive, or, from a
// removable or CD drive, as copies in a folder the host's prompt asks for
// (the preference "DefaultDirCopyRem" offered first).

#include "platform/base/WinTypes.h"

class CKadDragObjPIDL;
class CNodeRec;

// TRUE when every item was catalogued; FALSE for a payload without items, a
// cancelled question, or an item that failed.
BOOL BackupDroppedShellItems(CNodeRec& target, const CKadDragObjPIDL& payload);

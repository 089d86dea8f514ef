#pragma once

// What the group dialogs read and write of a node. A fixed group is one of
// the two top nodes the catalog makes with itself (blocks 3 and 4): its
// pages show it but never store into it.
//
// Storing what a node is linked to: its keywords and its folders, each given
// as the whole new set of texts. The new links are made first and the links
// no longer wanted removed after, so a write that fails half-way leaves extra
// links, never a node that lost its keywords or folders. Blank texts are
// skipped; a keyword equal to an existing one without regard to case reuses
// that record, so typing "invoice" never makes a twin of "Invoice".

#include "platform/base/CString.h"

#include <vector>

class CKeywordIndex;
class CNodeRec;

bool IsFixedGroupNode(const CNodeRec& node);

// FALSE when a record could not be read, made or linked.
BOOL StoreNodeKeywords(CNodeRec& node, const std::vector<CString>& keywords);
// The same with the keywords found in and added to index: a save that stores
// many nodes reads the keyword table once.
BOOL StoreNodeKeywords(CNodeRec& node, const std::vector<CString>& keywords, CKeywordIndex& index);
BOOL StoreNodeFolders(CNodeRec& node, const std::vector<CString>& folders);

#pragma once

// A node folder (table 9): a lower-case folder path, or "*" and a mailbox path, in pieces of table 10.

#include "store/CEntryLinkRec.h"
#include "store/CTextEntryRec.h"

class CNodeFolderRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CNodeFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
};

// A piece of the text of a CNodeFolderRec (table 10).
class CNodeFolderTextRec : public CTextPieceRec {
public:
    CNodeFolderTextRec(CCatalog* pCatalog, CRecordRef ref);
};

// A link between a node folder and a node (table 11), on either side.
class CNodeFolderLinkRec : public CEntryLinkRec {
public:
    CNodeFolderLinkRec(CCatalog* pCatalog, CRecordRef ref);
};

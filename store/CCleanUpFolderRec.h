#pragma once

// A clean-up folder (table 16): a folder path, in pieces of table 17.

#include "store/CTextEntryRec.h"

class CCleanUpFolderRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CCleanUpFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
};

// A piece of the text of a CCleanUpFolderRec (table 17).
class CCleanUpFolderTextRec : public CTextPieceRec {
public:
    CCleanUpFolderTextRec(CCatalog* pCatalog, CRecordRef ref);
};

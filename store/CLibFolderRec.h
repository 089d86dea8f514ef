#pragma once

// A file name mask (table 14) such as "*.tmp", in pieces of table 15.

#include "store/CTextEntryRec.h"

class CLibFolderRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CLibFolderRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
};

// A piece of the text of a CLibFolderRec (table 15).
class CLibFolderTextRec : public CTextPieceRec {
public:
    CLibFolderTextRec(CCatalog* pCatalog, CRecordRef ref);
};

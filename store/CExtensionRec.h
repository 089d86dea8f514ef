#pragma once

// A catalogued file name extension (table 12), lower-cased, in 10-byte pieces of table 13.

#include "store/CTextEntryRec.h"

class CExtensionRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CExtensionRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
};

// A piece of the text of a CExtensionRec (table 13).
class CExtensionTextRec : public CTextPieceRec {
public:
    CExtensionTextRec(CCatalog* pCatalog, CRecordRef ref);
};

#pragma once

// A keyword (table 6): its text, in 30-byte pieces of table 7.

#include "store/CEntryLinkRec.h"
#include "store/CTextEntryRec.h"

class CKeywordRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CKeywordRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);
};

// A piece of the text of a CKeywordRec (table 7).
class CKeywordTextRec : public CTextPieceRec {
public:
    CKeywordTextRec(CCatalog* pCatalog, CRecordRef ref);
};

// A link between a keyword and a node (table 8), on either side.
class CKeywordLinkRec : public CEntryLinkRec {
public:
    CKeywordLinkRec(CCatalog* pCatalog, CRecordRef ref);
};

#pragma once

// A location (table 18): a catalogued place the program watches or reads: the
// local disk (kind 0), a network computer or documents folder (kind 1), or a
// mail store (kinds 2 to 4: Netscape, Outlook Express 4, Outlook Express 5).
// Its name lies in pieces of table 19; the record also keeps the stored size,
// position or message count of the place at its last reading.

#include "store/CTextEntryRec.h"

// Location kinds.
constexpr WORD LOCATION_LOCAL_DISK = 0;
constexpr WORD LOCATION_NETWORK = 1; // a network computer or documents folder
constexpr WORD LOCATION_NETSCAPE = 2;
constexpr WORD LOCATION_OUTLOOK_EXPRESS4 = 3;
constexpr WORD LOCATION_OUTLOOK_EXPRESS5 = 4;

class CMailStoreRec : public CTextEntryRec {
public:
    // A cursor on the record at (nBlock, nSlot), loaded.
    CMailStoreRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot);

    WORD GetKind() const;
    void SetKind(WORD wKind);
    DWORD GetValue() const;
    void SetValue(DWORD dwValue);
};

// A piece of the text of a CMailStoreRec (table 19).
class CMailStoreTextRec : public CTextPieceRec {
public:
    CMailStoreTextRec(CCatalog* pCatalog, CRecordRef ref);
};

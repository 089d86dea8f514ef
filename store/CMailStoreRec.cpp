#include "store/CMailStoreRec.h"

#include "store/CCatalog.h"
#include "store/RecordFields.h"

CMailStoreRec::CMailStoreRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_MAIL_STORE, { nBlock, nSlot })
{
}

WORD CMailStoreRec::GetKind() const
{
    return GetWordField(GetData(), OFF_WORD);
}

void CMailStoreRec::SetKind(WORD wKind)
{
    SetWordField(GetData(), OFF_WORD, wKind);
}

DWORD CMailStoreRec::GetValue() const
{
    return static_cast<DWORD>(GetLongField(GetData(), OFF_VALUE));
}

void CMailStoreRec::SetValue(DWORD dwValue)
{
    SetLongField(GetData(), OFF_VALUE, static_cast<LONG>(dwValue));
}

CMailStoreTextRec::CMailStoreTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_MAIL_STORE_TEXT, ref)
{
}

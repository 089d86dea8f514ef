#include "store/CExtensionRec.h"

#include "store/CCatalog.h"

CExtensionRec::CExtensionRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_EXTENSION, { nBlock, nSlot })
{
}

CExtensionTextRec::CExtensionTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_EXTENSION_TEXT, ref)
{
}

#include "store/CKeywordRec.h"

#include "store/CCatalog.h"

CKeywordRec::CKeywordRec(CCatalog* pCatalog, CATBLOCK nBlock, LONG nSlot)
    : CTextEntryRec(pCatalog, TABLE_KEYWORD, { nBlock, nSlot })
{
}

CKeywordTextRec::CKeywordTextRec(CCatalog* pCatalog, CRecordRef ref)
    : CTextPieceRec(pCatalog, TABLE_KEYWORD_TEXT, ref)
{
}

CKeywordLinkRec::CKeywordLinkRec(CCatalog* pCatalog, CRecordRef ref)
    : CEntryLinkRec(pCatalog, TABLE_KEYWORD_LINK, ref)
{
}

#include "store/CLinkRec.h"

#include "store/CCatalogFile.h"
#include "store/RecordFields.h"

CLinkRec::CLinkRec(CCatalogFile* pDatabase, CATBLOCK nBlock, LONG nSlot)
    : CCatalogRecord(pDatabase, TABLE_LINK, { nBlock, nSlot })
{
    m_bValid = Load() != FALSE;
}

CRecordRef CLinkRec::GetDocument() const
{
    return GetRefField(GetData(), OFF_DOCUMENT);
}

void CLinkRec::SetDocument(CRecordRef document)
{
    SetRefField(GetData(), OFF_DOCUMENT, document);
}

CRecordRef CLinkRec::GetNext() const
{
    return GetRefField(GetData(), OFF_NEXT);
}

void CLinkRec::SetNext(CRecordRef next)
{
    SetRefField(GetData(), OFF_NEXT, next);
}

CRecordRef CLinkRec::GetNode() const
{
    CCatalogBlock* pBlock = m_bValid ? GetDatabase()->GetBlock(GetBlock()) : nullptr;
    return pBlock ? pBlock->GetHeader().owner : CRecordRef {};
}

#include "store/CLocationRec.h"

#include "store/RecordFields.h"

static_assert(SlotCount(CLocationRec::RECORD_SIZE) == 16);

CLocationRec::CLocationRec(CCatalogFile* pDatabase, CRecordRef ref)
    : CCatalogRecord(pDatabase, TABLE_LOCATION, ref)
{
}

CRecordRef CLocationRec::GetNext() const
{
    return GetRefField(GetData(), OFF_NEXT);
}

void CLocationRec::SetNext(CRecordRef next)
{
    SetRefField(GetData(), OFF_NEXT, next);
}

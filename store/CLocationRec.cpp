#include "store/CLocationRec.h"

#include "store/RecordFields.h"

static_assert(CLocationRec::TEXT_SIZE * CLocationRec::TEXT_COUNT == CLocationRec::RECORD_SIZE);

CLocationRec::CLocationRec(CCatalogFile* pDatabase, CRecordRef ref)
    : CCatalogRecord(pDatabase, TABLE_LOCATION, ref)
{
}

CString CLocationRec::GetText(int nText) const
{
    if (nText < 0 || nText >= TEXT_COUNT)
        return CString();
    return GetTextField(GetData(), nText * TEXT_SIZE, TEXT_SIZE);
}

void CLocationRec::SetText(int nText, LPCTSTR pszText)
{
    if (nText >= 0 && nText < TEXT_COUNT)
        SetTextField(GetData(), nText * TEXT_SIZE, TEXT_SIZE, pszText);
}

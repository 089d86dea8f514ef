#include "store/CNodeInfoRec.h"

#include "store/CCatalog.h"
#include "store/RecordFields.h"

#include <cstring>

static_assert(CNodeInfoRec::OFF_SEARCH + 4 == CNodeInfoRec::RECORD_SIZE);

void MakeDefaultNames(CNodeInfo* pInfo)
{
    if (pInfo)
        std::memset(pInfo, 0, sizeof(*pInfo));
}

CNodeInfoRec::CNodeInfoRec(CCatalog* pCatalog, CRecordRef ref)
    : CCatalogRecord(pCatalog, TABLE_NODE_INFO, ref)
{
}

CString CNodeInfoRec::GetText() const
{
    return GetTextField(GetData(), OFF_TEXT, TEXT_SIZE);
}

void CNodeInfoRec::SetText(LPCTSTR pszText)
{
    SetTextField(GetData(), OFF_TEXT, TEXT_SIZE, pszText);
}

WORD CNodeInfoRec::GetSearchType() const
{
    return GetWordField(GetData(), OFF_SEARCH);
}

void CNodeInfoRec::SetSearchType(WORD wSearchType)
{
    SetWordField(GetData(), OFF_SEARCH, wSearchType);
}

WORD CNodeInfoRec::GetPlaceChoice() const
{
    return GetWordField(GetData(), OFF_PLACE);
}

void CNodeInfoRec::SetPlaceChoice(WORD wPlace)
{
    SetWordField(GetData(), OFF_PLACE, wPlace);
}

#include "frame/CatalogItem.h"

#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"

std::unique_ptr<CCatalogRecord> CopyCatalogItem(const CCatalogRecord* pItem)
{
    if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(pItem))
        return std::unique_ptr<CCatalogRecord>(pDocument->Clone());
    if (const auto* pNode = dynamic_cast<const CNodeRec*>(pItem))
        return std::unique_ptr<CCatalogRecord>(pNode->Clone());
    return nullptr;
}

bool IsSameCatalogItem(const CCatalogRecord* pItem1, const CCatalogRecord* pItem2)
{
    if (!pItem1 || !pItem2)
        return pItem1 == pItem2;
    return pItem1->GetRef() == pItem2->GetRef() && pItem1->GetTableType() == pItem2->GetTableType();
}

#include "store/CatalogCompare.h"

#include "platform/base/TextFunctions.h"
#include "store/CDocumentRec.h"
#include "store/CatalogColumns.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

int Sign(LONGLONG nValue)
{
    return nValue < 0 ? -1 : nValue > 0 ? 1 : 0;
}

int CompareTexts(const CString& str1, const CString& str2)
{
    return Sign(Utf8CompareNoCase(std::string_view(str1), std::string_view(str2)));
}

// Whether the column sorts documents by one of their texts.
bool IsTextColumn(LONG nColumn)
{
    return nColumn == COLUMN_NAME || nColumn == COLUMN_DESCRIPTION || nColumn == COLUMN_LABEL
        || nColumn == COLUMN_ALT_NAME || nColumn == COLUMN_TYPE;
}

} // namespace

CString DocumentColumnText(const CDocumentRec& document, LONG nColumn)
{
    CString strText;
    switch (nColumn) {
    case COLUMN_NAME:
        document.GetFullPath(strText);
        break;
    case COLUMN_DESCRIPTION:
        document.GetNameWithLocation(strText);
        break;
    case COLUMN_LABEL:
        document.GetLabel(strText);
        break;
    case COLUMN_ALT_NAME:
        document.GetAltNameWithLocation(strText);
        break;
    case COLUMN_TYPE:
        document.GetTypeName(strText);
        break;
    default:
        break;
    }
    return strText;
}

namespace {

// Where a record sorts by its kind: nodes, then documents, then anything else.
int RecordRank(const CCatalogRecord* pRecord)
{
    if (!pRecord)
        return 2;
    switch (pRecord->GetTableType()) {
    case TABLE_NODE:
        return dynamic_cast<const CNodeRec*>(pRecord) ? 0 : 2;
    case TABLE_DOCUMENT:
        return dynamic_cast<const CDocumentRec*>(pRecord) ? 1 : 2;
    default:
        return 2;
    }
}

// Compares two documents by the key's column in ascending order.
int CompareDocuments(const CDocumentRec* pDocument1, const CDocumentRec* pDocument2, const CSortSpec& spec)
{
    if (!pDocument1 || !pDocument2)
        return Sign(LONGLONG { pDocument1 == nullptr } - LONGLONG { pDocument2 == nullptr });
    if (IsTextColumn(spec.nColumn))
        return CompareTexts(
            DocumentColumnText(*pDocument1, spec.nColumn), DocumentColumnText(*pDocument2, spec.nColumn));
    switch (spec.nColumn) {
    case COLUMN_DATE:
    case COLUMN_EXPIRED_DATE:
        return Sign(LONGLONG { pDocument1->GetExpiry() } - pDocument2->GetExpiry());
    case COLUMN_SIZE: {
        LONGLONG nSize1 = pDocument1->LoadState().nSize;
        LONGLONG nSize2 = pDocument2->LoadState().nSize;
        if (spec.bSizeInKB) {
            // Sizes that show the same number of kilobytes sort as equal; unreadable sizes first.
            nSize1 = nSize1 < 0 ? -1 : (nSize1 + 1023) / 1024;
            nSize2 = nSize2 < 0 ? -1 : (nSize2 + 1023) / 1024;
        }
        return Sign(nSize1 - nSize2);
    }
    case COLUMN_MODIFIED:
        return Sign(pDocument1->LoadState().tModified - pDocument2->LoadState().tModified);
    case COLUMN_CREATED:
        return Sign(pDocument1->LoadState().tCreated - pDocument2->LoadState().tCreated);
    case COLUMN_ACCESSED:
        return Sign(pDocument1->LoadState().tAccessed - pDocument2->LoadState().tAccessed);
    case COLUMN_EXPIRY_STATE:
        return Sign(LONGLONG { pDocument1->GetExpiryState(FALSE) } - pDocument2->GetExpiryState(FALSE));
    default:
        return 0;
    }
}

}

int SortDocumentItems(const CDocumentRec* pDocument1, const CDocumentRec* pDocument2, const CSortSpec& spec)
{
    int nOrder = CompareDocuments(pDocument1, pDocument2, spec);
    return spec.bAscending ? nOrder : -nOrder;
}

int CompareRecords(const CCatalogRecord* pRecord1, const CCatalogRecord* pRecord2, const CSortSpec& spec)
{
    int nRank1 = RecordRank(pRecord1);
    int nRank2 = RecordRank(pRecord2);
    int nOrder = 0;
    if (nRank1 != nRank2)
        nOrder = nRank1 < nRank2 ? -1 : 1;
    else if (nRank1 == 0)
        nOrder = CompareTexts(
            static_cast<const CNodeRec*>(pRecord1)->GetName(), static_cast<const CNodeRec*>(pRecord2)->GetName());
    else if (nRank1 == 1)
        nOrder = CompareDocuments(
            static_cast<const CDocumentRec*>(pRecord1), static_cast<const CDocumentRec*>(pRecord2), spec);
    return spec.bAscending ? nOrder : -nOrder;
}

int CompareCatalogRecords(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* pSpec = reinterpret_cast<const CSortSpec*>(lParamSort);
    if (!pSpec)
        return 0;
    return CompareRecords(
        reinterpret_cast<const CCatalogRecord*>(lParam1), reinterpret_cast<const CCatalogRecord*>(lParam2), *pSpec);
}

void SortDocuments(CDocumentRecArray& documents, const CSortSpec& spec)
{
    if (!IsTextColumn(spec.nColumn)) {
        std::stable_sort(documents.begin(), documents.end(),
            [&](const auto& p1, const auto& p2) { return SortDocumentItems(p1.get(), p2.get(), spec) < 0; });
        return;
    }
    // Each document's text is read once, not at every comparison.
    std::vector<std::pair<CString, std::unique_ptr<CDocumentRec>>> keyed;
    keyed.reserve(documents.size());
    for (auto& pDocument : documents) {
        CString strText = pDocument ? DocumentColumnText(*pDocument, spec.nColumn) : CString();
        keyed.emplace_back(std::move(strText), std::move(pDocument));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& item1, const auto& item2) {
        if (!item1.second || !item2.second)
            return SortDocumentItems(item1.second.get(), item2.second.get(), spec) < 0;
        int nOrder = CompareTexts(item1.first, item2.first);
        return (spec.bAscending ? nOrder : -nOrder) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        documents[i] = std::move(keyed[i].second);
}

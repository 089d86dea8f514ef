#include "store/CRecentList.h"

#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <memory>
#include <vector>

CRecordRef CRecentList::FindRecord(CCatalog* pCatalog)
{
    CRecordRef cursor { ROOT_BLOCK_RECENT, NO_SLOT };
    return pCatalog && pCatalog->NextRecord(&cursor) ? cursor : CRecordRef {};
}

CRecentList::CRecentList(CCatalog* pCatalog)
    : CCatalogRecord(pCatalog, TABLE_RECENT, FindRecord(pCatalog))
    , m_pCatalog(pCatalog)
{
    m_bValid = !GetRef().IsNone() && Load();
}

int CRecentList::GetCount() const
{
    return std::min(GetStoredCount(), std::clamp(thePreferences.m_nMostRecents, 1, MAX_ENTRIES));
}

int CRecentList::GetStoredCount() const
{
    if (!m_bValid)
        return 0;
    return std::clamp<int>(GetLongField(GetData(), OFF_COUNT), 0, MAX_ENTRIES);
}

CDocumentRec* CRecentList::CreateItemObject(int i) const
{
    if (i < 0 || i >= GetStoredCount())
        return nullptr;
    CRecordRef ref = GetRefField(GetData(), OFF_ENTRIES + i * 8);
    if (!ref.IsNone() && m_pCatalog->IsPastEnd(ref.nBlock))
        m_pCatalog->ReportDamage(); // a document that is gone leaves its block; a block past the end was never there
    if (ref.IsNone() || !m_pCatalog->CheckRecord(ref.nBlock, ref.nSlot, TABLE_DOCUMENT))
        return nullptr;
    auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, ref.nBlock, ref.nSlot);
    return pDocument->IsValid() ? pDocument.release() : nullptr;
}

BOOL CRecentList::AddEntry(const CDocumentRec& document)
{
    if (!document.IsValid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CRecordRef ref = document.GetRef();
    return AddEntries(std::span<const CRecordRef>(&ref, 1));
}

BOOL CRecentList::AddEntries(std::span<const CRecordRef> refs)
{
    if (!m_bValid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!Load()) // the list as the file has it now
        return FALSE;
    std::span<BYTE> data = GetData();
    int nCount = std::clamp<int>(GetLongField(data, OFF_COUNT), 0, MAX_ENTRIES);
    std::vector<CRecordRef> entries;
    entries.reserve(MAX_ENTRIES);
    // The new ones, each once, then the older entries of other documents.
    const auto isNew = [&](const CRecordRef& ref, std::size_t nNew) {
        return std::find(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(nNew), ref)
            != entries.begin() + static_cast<std::ptrdiff_t>(nNew);
    };
    for (auto it = refs.rbegin(); it != refs.rend() && static_cast<int>(entries.size()) < MAX_ENTRIES; ++it) {
        if (!isNew(*it, entries.size()))
            entries.push_back(*it);
    }
    const std::size_t nNew = entries.size();
    for (int i = 0; i < nCount && static_cast<int>(entries.size()) < MAX_ENTRIES; ++i) {
        CRecordRef ref = GetRefField(data, OFF_ENTRIES + i * 8);
        if (!isNew(ref, nNew))
            entries.push_back(ref);
    }
    SetLongField(data, OFF_COUNT, static_cast<LONG>(entries.size()));
    for (std::size_t i = 0; i < MAX_ENTRIES; ++i)
        SetRefField(data, OFF_ENTRIES + static_cast<int>(i) * 8, i < entries.size() ? entries[i] : CRecordRef {});
    return Save();
}

void CRecentList::InitRecord(std::span<BYTE> data)
{
    std::fill(data.begin(), data.end(), BYTE { 0 });
    for (int i = 0; i < MAX_ENTRIES; ++i)
        SetRefField(data, OFF_ENTRIES + i * 8, {});
}

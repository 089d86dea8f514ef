#include "dialogs/groups/KeywordIndex.h"

#include "platform/base/TextFunctions.h"
#include "store/CCatalog.h"
#include "store/CKeywordRec.h"

#include <memory>

CKeywordIndex::CKeywordIndex(CCatalog* pCatalog)
    : m_pCatalog(pCatalog)
{
}

CKeywordRec* CKeywordIndex::Find(LPCTSTR pszText)
{
    Read();
    const CString strText(pszText ? pszText : "");
    const auto it = m_entries.find(Utf8ToLower(static_cast<LPCTSTR>(strText)));
    if (it == m_entries.end())
        return nullptr;
    const CEntry* pFound = nullptr;
    for (const CEntry& entry : it->second) {
        if (entry.strText == strText) {
            pFound = &entry;
            break;
        }
        if (pFound == nullptr && entry.strText.CompareNoCase(strText) == 0)
            pFound = &entry;
    }
    if (pFound == nullptr)
        return nullptr;
    auto pKeyword = std::make_unique<CKeywordRec>(m_pCatalog, pFound->ref.nBlock, pFound->ref.nSlot);
    return pKeyword->IsValid() ? pKeyword.release() : nullptr;
}

CKeywordRec* CKeywordIndex::Create(LPCTSTR pszText)
{
    Read();
    CKeywordRec* pKeyword = m_pCatalog->CreateKeyword(pszText);
    if (pKeyword != nullptr)
        Add(pKeyword->GetText(), pKeyword->GetRef());
    return pKeyword;
}

void CKeywordIndex::Read()
{
    if (m_bRead)
        return;
    m_bRead = true;
    std::vector<CRecordRef> refs;
    // A damaged table finds nothing, as the catalog's own search does.
    if (!m_pCatalog->ListRootChain(EntryRootBlock(TABLE_KEYWORD), &refs))
        return;
    for (CRecordRef ref : refs) {
        const CKeywordRec keyword(m_pCatalog, ref.nBlock, ref.nSlot);
        if (keyword.IsValid())
            Add(keyword.GetText(), ref);
    }
}

void CKeywordIndex::Add(const CString& strText, CRecordRef ref)
{
    m_entries[Utf8ToLower(static_cast<LPCTSTR>(strText))].push_back({ strText, ref });
}

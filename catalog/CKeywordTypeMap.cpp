#include "catalog/CKeywordTypeMap.h"

#include "store/CCatalog.h"
#include "store/CKeywordRec.h"

#include "platform/base/TextFunctions.h"

#include <vector>

CKeywordTypeMap::CKeywordTypeMap(CCatalog* pCatalog, WORD wMask)
    : m_wMask(wMask)
{
    InitHashTable(HASH_SIZE);
    std::vector<CRecordRef> refs;
    if (!pCatalog->ListRootChain(ROOT_BLOCK_KEYWORD, &refs))
        return;
    for (const CRecordRef& ref : refs) {
        CKeywordRec keyword(pCatalog, ref.nBlock, ref.nSlot);
        if (!keyword.IsValid())
            continue;
        CNodeRecArray nodes;
        for (std::unique_ptr<CNodeRec>& pNode : keyword.GetLinkedNodes()) {
            if ((pNode->GetInfoWord() & wMask) != 0)
                nodes.push_back(std::move(pNode));
        }
        if (nodes.empty())
            continue;
        const CString strKey(Utf8ToLower(static_cast<LPCTSTR>(keyword.GetText())).c_str());
        void* pValue = nullptr;
        if (Lookup(strKey, pValue)) {
            // Two records of one text (in two cases, say) share their key.
            auto* pNodes = static_cast<CNodeRecArray*>(pValue);
            for (std::unique_ptr<CNodeRec>& pNode : nodes)
                pNodes->push_back(std::move(pNode));
            continue;
        }
        SetAt(strKey, new CNodeRecArray(std::move(nodes)));
    }
}

CKeywordTypeMap::~CKeywordTypeMap()
{
    POSITION pos = GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        void* pValue = nullptr;
        GetNextAssoc(pos, strKey, pValue);
        delete static_cast<CNodeRecArray*>(pValue);
    }
    RemoveAll();
}

const CNodeRecArray* CKeywordTypeMap::LookupKeyword(LPCTSTR pszKey) const
{
    void* pValue = nullptr;
    return Lookup(pszKey, pValue) ? static_cast<const CNodeRecArray*>(pValue) : nullptr;
}

#include "catalog/CCatalogFolderMap.h"

#include "store/CCatalog.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeFolderRec.h"

#include <memory>
#include <vector>

CCatalogFolderMap::CCatalogFolderMap(CCatalog* pCatalog)
    : m_pCatalog(pCatalog)
{
    std::vector<CRecordRef> refs;
    if (!pCatalog->ListRootChain(ROOT_BLOCK_NODE_FOLDER, &refs))
        return;
    for (const CRecordRef& ref : refs) {
        CNodeFolderRec folder(pCatalog, ref.nBlock, ref.nSlot);
        if (folder.IsValid())
            AddRecord(folder.GetText(), ref);
    }
}

void CCatalogFolderMap::AddRecord(LPCTSTR pszText, CRecordRef record)
{
    ++m_nRecords;
    const CString strKey = MakeKey(pszText);
    void* pValue = nullptr;
    if (!Lookup(strKey, pValue)) {
        pValue = new CEntry;
        SetAt(strKey, pValue);
    }
    auto* pEntry = static_cast<CEntry*>(pValue);
    pEntry->records.push_back(record);
    // The node list is read again with the new record.
    delete pEntry->pNodes;
    pEntry->pNodes = nullptr;
}

CCatalogFolderMap::~CCatalogFolderMap()
{
    POSITION pos = GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        void* pValue = nullptr;
        GetNextAssoc(pos, strKey, pValue);
        auto* pEntry = static_cast<CEntry*>(pValue);
        delete pEntry->pNodes;
        delete pEntry;
    }
    RemoveAll();
}

const CNodeRecArray* CCatalogFolderMap::LookupFolder(LPCTSTR pszFolder)
{
    void* pValue = nullptr;
    if (!Lookup(MakeKey(NormalizeDrivePath(pszFolder)), pValue))
        return nullptr;
    auto* pEntry = static_cast<CEntry*>(pValue);
    if (pEntry->pNodes == nullptr) {
        pEntry->pNodes = new CNodeRecArray;
        for (const CRecordRef& ref : pEntry->records) {
            CNodeFolderRec folder(m_pCatalog, ref.nBlock, ref.nSlot);
            for (std::unique_ptr<CNodeRec>& pNode : folder.GetLinkedNodes())
                pEntry->pNodes->push_back(std::move(pNode));
        }
    }
    return pEntry->pNodes;
}

CString CCatalogFolderMap::MakeKey(LPCTSTR pszText)
{
    CString strKey(pszText);
    if (!strKey.IsEmpty() && strKey[0] == '*')
        strKey = strKey.Mid(1);
    if (!strKey.IsEmpty() && strKey[strKey.GetLength() - 1] == '\\')
        strKey = strKey.Left(strKey.GetLength() - 1);
    strKey.MakeLower();
    return strKey;
}

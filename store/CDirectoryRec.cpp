#include "store/CDirectoryRec.h"

#include "platform/base/TextFunctions.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/RecordFields.h"

#include <memory>

static_assert(CDirectoryRec::OFF_COUNT + 4 == CDirectoryRec::RECORD_SIZE);

CDirectoryRec::CDirectoryRec(CCatalog* pCatalog, CRecordRef ref)
    : CCatalogRecord(pCatalog, TABLE_DIRECTORY, ref)
    , m_pCatalog(pCatalog)
{
    m_bValid = Load() != FALSE;
}

CString CDirectoryRec::GetPath() const
{
    return GetTextField(GetData(), OFF_PATH, PATH_SIZE);
}

void CDirectoryRec::SetPath(LPCTSTR pszPath)
{
    SetTextField(GetData(), OFF_PATH, PATH_SIZE, pszPath);
}

CATBLOCK CDirectoryRec::GetDocumentBlock() const
{
    return GetLongField(GetData(), OFF_DOCUMENT_BLOCK);
}

void CDirectoryRec::SetDocumentBlock(CATBLOCK nBlock)
{
    SetLongField(GetData(), OFF_DOCUMENT_BLOCK, nBlock);
}

LONG CDirectoryRec::GetStoreKind() const
{
    return GetLongField(GetData(), OFF_STORE_KIND);
}

void CDirectoryRec::SetStoreKind(LONG nKind)
{
    SetLongField(GetData(), OFF_STORE_KIND, nKind);
}

LONG CDirectoryRec::GetDocumentCount() const
{
    return GetLongField(GetData(), OFF_COUNT);
}

void CDirectoryRec::SetDocumentCount(LONG nCount)
{
    SetLongField(GetData(), OFF_COUNT, nCount);
}

CDocumentRec* CDirectoryRec::FirstDocument()
{
    m_cursor = { GetDocumentBlock(), NO_SLOT };
    return NextDocument();
}

CDocumentRec* CDirectoryRec::NextDocument()
{
    if (!m_bValid || m_cursor.nBlock == NO_BLOCK)
        return nullptr;
    CCatalogBlock* pBlock = m_pCatalog->GetBlock(m_cursor.nBlock);
    // The chain must be this directory's documents; anything else is damage.
    if (!pBlock || pBlock->GetTableType() != TABLE_DOCUMENT || pBlock->GetHeader().owner != GetRef()) {
        if (pBlock)
            m_pCatalog->ReportDamage();
        m_cursor = {};
        return nullptr;
    }
    if (!m_pCatalog->NextRecord(&m_cursor)) {
        m_cursor = {};
        return nullptr;
    }
    auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, m_cursor.nBlock, m_cursor.nSlot);
    return pDocument->IsValid() ? pDocument.release() : nullptr;
}

CDocumentRec* CDirectoryRec::FindDocument(LPCTSTR pszPath)
{
    std::string strPath = Utf8ToLower(pszPath ? pszPath : "");
    CString strFolder = GetPath();
    std::size_t nFolder = static_cast<std::size_t>(strFolder.GetLength());
    if (strFolder.IsEmpty() || strPath.size() <= nFolder || strPath.compare(0, nFolder, strFolder) != 0)
        return nullptr;
    return FindDocumentByName(strPath.c_str() + nFolder);
}

CDocumentRec* CDirectoryRec::FindDocumentByName(LPCTSTR pszName)
{
    CString strName(Utf8ToLower(pszName ? pszName : "").c_str());
    for (std::unique_ptr<CDocumentRec> pDocument(FirstDocument()); pDocument; pDocument.reset(NextDocument())) {
        CString strFound;
        pDocument->GetFullPath(strFound, TRUE);
        if (strFound == strName)
            return pDocument.release();
    }
    return nullptr;
}

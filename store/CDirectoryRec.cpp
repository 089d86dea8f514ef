#include "store/CDirectoryRec.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

static_assert(CDirectoryRec::OFF_COUNT + 4 == CDirectoryRec::RECORD_SIZE);

namespace {

// Whether lower-casing may change the text: an ASCII capital or any character beyond ASCII.
bool MayHaveUpperCase(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
        [](char ch) { return (ch >= 'A' && ch <= 'Z') || static_cast<unsigned char>(ch) >= 0x80; });
}

// The most names an index makes room for ahead of its walk.
constexpr LONG MAX_RESERVED_NAMES = 1 << 16;

}

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
    if (!AdvanceCursor())
        return nullptr;
    auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, m_cursor.nBlock, m_cursor.nSlot);
    return pDocument->IsValid() ? pDocument.release() : nullptr;
}

bool CDirectoryRec::AdvanceCursor(const CCatalogFile::RecordMatch& match)
{
    if (!m_bValid || m_cursor.nBlock == NO_BLOCK)
        return false;
    // The chain must be this directory's documents; anything else, a block
    // past the file's end included, is damage. Its first block is checked
    // here; the file's chain walk checks that every later block has the same owner.
    if (m_cursor.nSlot == NO_SLOT) {
        CCatalogBlock* pBlock = m_pCatalog->GetBlock(m_cursor.nBlock);
        if (!pBlock || pBlock->GetTableType() != TABLE_DOCUMENT || pBlock->GetHeader().owner != GetRef()) {
            m_pCatalog->ReportDamage();
            m_cursor = {};
            return false;
        }
    }
    if (!m_pCatalog->FindNextRecord(&m_cursor, match)) {
        m_cursor = {};
        return false;
    }
    return true;
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
    return FindLowerCaseName(Utf8ToLower(pszName ? pszName : ""));
}

CDocumentRec* CDirectoryRec::FindLowerCaseName(std::string_view name)
{
    if (!m_bValid)
        return nullptr;
    CCatalog::NameLookup eLookup = CCatalog::NameLookup::NotIndexed;
    std::unique_ptr<CDocumentRec> pFound(m_pCatalog->FindIndexedName(GetRef(), name, &eLookup));
    if (eLookup == CCatalog::NameLookup::NotIndexed && GetDocumentCount() >= CCatalog::NAME_INDEX_THRESHOLD
        && BuildNameIndex())
        pFound.reset(m_pCatalog->FindIndexedName(GetRef(), name, &eLookup));
    if (eLookup != CCatalog::NameLookup::NotIndexed)
        return pFound.release();
    return WalkForName(name);
}

bool CDirectoryRec::BuildNameIndex()
{
    if (GetDocumentBlock() == NO_BLOCK)
        return false;
    std::uint64_t nChangeCount = m_pCatalog->GetNameChangeCount();
    CCatalog::CNameIndex index;
    // The count only sizes the index: a damaged one must not ask for memory without end.
    index.Reserve(static_cast<std::size_t>(std::clamp<LONG>(GetDocumentCount(), 0, MAX_RESERVED_NAMES)));
    // Each name is read where it lies; only a name that goes on in the
    // location record takes a document object.
    std::string strName;
    bool bContinued = false;
    auto readName = [&](std::span<const BYTE> record) {
        strName = CDocumentRec::NameHead(record, &bContinued);
        return true;
    };
    m_cursor = { GetDocumentBlock(), NO_SLOT };
    while (AdvanceCursor(readName)) {
        if (bContinued) {
            CDocumentRec document(m_pCatalog, m_cursor.nBlock, m_cursor.nSlot);
            CString strFull;
            document.GetFullPath(strFull, TRUE);
            strName.assign(strFull, static_cast<std::size_t>(strFull.GetLength()));
        }
        // Of equal names the first, as a walk finds it. Names are looked up lower-cased.
        index.Add(Utf8ToLower(strName), m_cursor);
    }
    if (GetLastError() != ERROR_NO_MORE_ITEMS)
        return false; // damage: lookups walk the chain, which fails soft
    m_pCatalog->SetNameIndex(GetRef(), std::move(index), nChangeCount);
    return true;
}

CDocumentRec* CDirectoryRec::WalkForName(std::string_view name)
{
    CString strName(name.data(), static_cast<int>(name.size()));
    // Each record's name is compared where it lies; a document object is
    // made only when the record holds the whole name, or its start and the
    // rest follows in its location record.
    // A mail title keeps its case: a stored name is compared lower-cased.
    auto mayMatch = [&](std::span<const BYTE> record) {
        bool bContinued = false;
        std::string_view field = CDocumentRec::NameHead(record, &bContinued);
        std::string strLower;
        if (MayHaveUpperCase(field)) {
            strLower = Utf8ToLower(field);
            field = strLower;
        }
        return bContinued ? name.starts_with(field) : name == field;
    };
    m_cursor = { GetDocumentBlock(), NO_SLOT };
    while (AdvanceCursor(mayMatch)) {
        auto pDocument = std::make_unique<CDocumentRec>(m_pCatalog, m_cursor.nBlock, m_cursor.nSlot);
        if (!pDocument->IsValid())
            return nullptr;
        CString strFound;
        pDocument->GetFullPath(strFound, TRUE);
        if (Utf8ToLower(std::string_view(strFound)) == std::string_view(strName))
            return pDocument.release();
    }
    return nullptr;
}

CString StripLocationMarkers(LPCTSTR pszDirectoryText)
{
    const std::string_view text(pszDirectoryText ? pszDirectoryText : "");
    if (text.size() < 2)
        return CString();
    return CString(std::string(text.substr(1, text.size() - 2)).c_str());
}

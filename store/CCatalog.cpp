#include "store/CCatalog.h"

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/RecordFields.h"

#include <array>
#include <cassert>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

// clang-format off
constexpr std::array<int, CATALOG_TABLE_COUNT> RECORD_SIZES = {
    CNodeRec::RECORD_SIZE,      // 0 nodes
    CNodeInfoRec::RECORD_SIZE,  // 1 node information
    CDocumentRec::RECORD_SIZE,  // 2 documents
    600,                        // 3 locations (long texts)
    CDirectoryRec::RECORD_SIZE, // 4 directories
    16,                         // 5 document links
    16, 40, 16,                 // 6-8 keywords, their texts and node links
    16, 40, 16,                 // 9-11 node folders, their texts and node links
    16, 20,                     // 12-13 extensions and their texts
    16, 40,                     // 14-15 file name masks and their texts
    16, 40,                     // 16-17 clean-up folders and their texts
    16, 40,                     // 18-19 locations and their texts
    404,                        // 20 the recently-catalogued list
};

// The root blocks after the fixed nodes, in the order CreateFile appends them.
constexpr std::array<std::pair<CATBLOCK, LONG>, 18> ROOT_CHAINS = { {
    { ROOT_BLOCK_NODE_INFO, TABLE_NODE_INFO },
    { ROOT_BLOCK_LIB_FOLDER, TABLE_LIB_FOLDER },
    { ROOT_BLOCK_CLEANUP_FOLDER, TABLE_CLEANUP_FOLDER },
    { ROOT_BLOCK_MAIL_STORE, TABLE_MAIL_STORE },
    { ROOT_BLOCK_EXTENSION, TABLE_EXTENSION },
    { ROOT_BLOCK_KEYWORD, TABLE_KEYWORD },
    { ROOT_BLOCK_NODE_FOLDER, TABLE_NODE_FOLDER },
    { ROOT_BLOCK_DIRECTORY, TABLE_DIRECTORY },
    { ROOT_BLOCK_RECENT, TABLE_RECENT },
    { ROOT_BLOCK_KEYWORD_TEXT, TABLE_KEYWORD_TEXT },
    { ROOT_BLOCK_NODE_FOLDER_TEXT, TABLE_NODE_FOLDER_TEXT },
    { ROOT_BLOCK_EXTENSION_TEXT, TABLE_EXTENSION_TEXT },
    { ROOT_BLOCK_LIB_FOLDER_TEXT, TABLE_LIB_FOLDER_TEXT },
    { ROOT_BLOCK_CLEANUP_FOLDER_TEXT, TABLE_CLEANUP_FOLDER_TEXT },
    { ROOT_BLOCK_MAIL_STORE_TEXT, TABLE_MAIL_STORE_TEXT },
    { ROOT_BLOCK_KEYWORD_LINK, TABLE_KEYWORD_LINK },
    { ROOT_BLOCK_NODE_FOLDER_LINK, TABLE_NODE_FOLDER_LINK },
    { ROOT_BLOCK_LOCATION, TABLE_LOCATION },
} };
// clang-format on

FILETIME NowAsFileTime()
{
    ULONGLONG nNow = ClockUtcNow();
    return { static_cast<DWORD>(nNow), static_cast<DWORD>(nNow >> 32) };
}

// Writes the blocks of a new catalog into an open, empty file.
BOOL WriteRootBlocks(CCatalogFile& file)
{
    for (CATBLOCK nBlock = ROOT_BLOCK_NODE; nBlock <= CNodeRec::FIXED_NODE_LAST; ++nBlock) {
        CRecordRef ref;
        if (!file.AllocateRecord(TABLE_NODE, NO_BLOCK, {}, &ref))
            return FALSE;
        assert(ref == (CRecordRef { nBlock, 0 }));
        std::array<BYTE, CNodeRec::RECORD_SIZE> node {};
        SetLongField(node, CNodeRec::OFF_KIND, nBlock);
        SetLongField(node, CNodeRec::OFF_FLAGS, nBlock == ROOT_BLOCK_NODE ? CNodeRec::ROOT_NOT_SET_UP : 0);
        SetLongField(node, CNodeRec::OFF_CHILD_BLOCK, NO_BLOCK);
        SetLongField(node, CNodeRec::OFF_LINK_BLOCK, NO_BLOCK);
        SetRefField(node, CNodeRec::OFF_INFO_REF, {});
        SetLongField(node, CNodeRec::OFF_KEYWORD_BLOCK, NO_BLOCK);
        SetLongField(node, CNodeRec::OFF_FOLDER_BLOCK, NO_BLOCK);
        if (!file.WriteRecord(ref, TABLE_NODE, node))
            return FALSE;
    }
    for (auto [nRoot, nTable] : ROOT_CHAINS) {
        CATBLOCK nBlock = NO_BLOCK;
        if (!file.NewChain(nTable, {}, &nBlock))
            return FALSE;
        assert(nBlock == nRoot);
    }
    return TRUE;
}

}

/******************************************************************************
 * Creating and opening
 ******************************************************************************/

CCatalog::CCatalog(LPCTSTR pszPath, int nInitialise)
    : CCatalogFile(pszPath, RECORD_SIZES)
{
    std::string strHostPath;
    std::error_code ec;
    if (nInitialise == 1 && HostPathFromProgramPath(GetPath(), strHostPath)
        && !std::filesystem::exists(strHostPath, ec) && !CreateFile(FALSE, GetPath(), BLOCK_SIZE))
        return;
    if (!Acquire())
        return;
    if (!LoadDirectoryMap())
        ReportDamage();
}

std::span<const int> CCatalog::RecordSizes()
{
    return RECORD_SIZES;
}

BOOL CCatalog::CreateFile(BOOL bRecycle, LPCTSTR pszPath, int nBlockSize)
{
    if (nBlockSize != BLOCK_SIZE || !pszPath || !*pszPath) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CCatalogFile file(pszPath, RECORD_SIZES);
    if (!file.Create(bRecycle ? CATALOG_KIND_RECYCLE : CATALOG_KIND_MAIN) || !file.Acquire())
        return FALSE;
    BOOL bWritten = WriteRootBlocks(file);
    DWORD dwError = GetLastError();
    BOOL bClosed = file.Release();
    if (!bWritten) {
        SetLastError(dwError);
        return FALSE;
    }
    return bClosed;
}

BOOL CCatalog::Reload()
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return LoadDirectoryMap();
}

BOOL CCatalog::LoadDirectoryMap()
{
    std::map<std::string, CRecordRef> directories;
    CRecordRef cursor { ROOT_BLOCK_DIRECTORY, NO_SLOT };
    while (NextRecord(&cursor)) {
        CDirectoryRec directory(this, cursor);
        if (!directory.IsValid())
            return FALSE;
        CString strPath = directory.GetPath();
        if (!strPath.IsEmpty())
            directories.emplace(std::string(strPath), cursor);
    }
    if (GetLastError() != ERROR_NO_MORE_ITEMS)
        return FALSE;
    std::lock_guard lock(m_mapMutex);
    m_directories = std::move(directories);
    return TRUE;
}

/******************************************************************************
 * Directories
 ******************************************************************************/

CString CCatalog::NormalizeFolder(LPCTSTR pszFolder)
{
    std::string strFolder = Utf8ToLower(pszFolder ? pszFolder : "");
    if (!strFolder.empty() && strFolder.front() != '*' && strFolder.back() != '\\')
        strFolder += '\\';
    return CString(strFolder.c_str());
}

CDirectoryRec* CCatalog::FindDirectory(LPCTSTR pszFolder)
{
    CString strFolder = NormalizeFolder(pszFolder);
    CRecordRef ref;
    {
        std::lock_guard lock(m_mapMutex);
        auto it = m_directories.find(std::string(strFolder));
        if (it == m_directories.end())
            return nullptr;
        ref = it->second;
    }
    auto pDirectory = std::make_unique<CDirectoryRec>(this, ref);
    return pDirectory->IsValid() ? pDirectory.release() : nullptr;
}

CDirectoryRec* CCatalog::FindOrAddDirectory(LPCTSTR pszFolder)
{
    CString strFolder = NormalizeFolder(pszFolder);
    if (strFolder.IsEmpty() || strFolder.GetLength() >= CDirectoryRec::PATH_SIZE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard lock(m_mapMutex);
    CRecordRef ref;
    if (auto it = m_directories.find(std::string(strFolder)); it != m_directories.end()) {
        ref = it->second;
    } else {
        if (!AllocateRecord(TABLE_DIRECTORY, ROOT_BLOCK_DIRECTORY, {}, &ref))
            return nullptr;
        CDirectoryRec directory(this, ref);
        directory.SetPath(strFolder);
        directory.SetDocumentBlock(NO_BLOCK);
        if (!directory.Save()) {
            (void)FreeRecord(ref, TABLE_DIRECTORY); // the file refuses writes now; nothing more to undo
            return nullptr;
        }
        m_directories.emplace(std::string(strFolder), ref);
    }
    auto pDirectory = std::make_unique<CDirectoryRec>(this, ref);
    return pDirectory->IsValid() ? pDirectory.release() : nullptr;
}

/******************************************************************************
 * Documents by path
 ******************************************************************************/

bool CCatalog::SplitDocumentPath(const CString& strPath, CString* pFolder, CString* pName)
{
    int nSlash = strPath.ReverseFind('\\');
    if (nSlash < 0 || nSlash + 1 >= strPath.GetLength())
        return false;
    *pFolder = strPath.Left(nSlash + 1);
    *pName = strPath.Mid(nSlash + 1);
    return true;
}

CDocumentRec* CCatalog::FindPath(LPCTSTR pszPath)
{
    CString strFolder, strName;
    if (!SplitDocumentPath(CString(Utf8ToLower(pszPath ? pszPath : "").c_str()), &strFolder, &strName))
        return nullptr;
    return FindPath(strFolder, strName);
}

CDocumentRec* CCatalog::FindPath(LPCTSTR pszFolder, LPCTSTR pszName)
{
    std::unique_ptr<CDirectoryRec> pDirectory(FindDirectory(pszFolder));
    return pDirectory ? pDirectory->FindDocumentByName(pszName) : nullptr;
}

CDocumentRec* CCatalog::FindOrAddPath(CNodeRec* pNode, LPCTSTR pszPath, BOOL bLink)
{
    CString strFolder, strName;
    if (!SplitDocumentPath(CString(pszPath ? pszPath : ""), &strFolder, &strName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::unique_ptr<CDocumentRec> pDocument(FindOrAddDocument(strFolder, strName, nullptr));
    if (pDocument && pNode && bLink && !pNode->AddDocument(pDocument.get()))
        return nullptr;
    return pDocument.release();
}

CDocumentRec* CCatalog::FindOrAddDocument(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pInfo)
{
    std::string strName = Utf8ToLower(pszName ? pszName : "");
    if (strName.empty() || strName.size() > static_cast<std::size_t>(CDocumentRec::MAX_TEXT)
        || strName.find('\\') != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::unique_ptr<CDirectoryRec> pDirectory(FindOrAddDirectory(pszFolder));
    if (!pDirectory)
        return nullptr;
    if (CDocumentRec* pFound = pDirectory->FindDocumentByName(strName.c_str()))
        return pFound;

    CRecordRef ref;
    CATBLOCK nFirst = pDirectory->GetDocumentBlock();
    if (!AllocateRecord(TABLE_DOCUMENT, nFirst, pDirectory->GetRef(), &ref))
        return nullptr;
    if (nFirst == NO_BLOCK)
        pDirectory->SetDocumentBlock(ref.nBlock);
    pDirectory->SetDocumentCount(pDirectory->GetDocumentCount() + 1);
    if (!pDirectory->Save())
        return nullptr;

    CDocumentRec document(this, ref.nBlock, ref.nSlot);
    CDocumentInfo info {};
    if (pInfo)
        info = *pInfo;
    else
        info.ftCatalogTime = NowAsFileTime();
    Utf8CopyToField(info.szName, sizeof(info.szName), strName.c_str(), FieldEnd::NulTerminated);
    SetRefField(document.GetData(), CDocumentRec::OFF_LOCATION, {});
    SetRefField(document.GetData(), CDocumentRec::OFF_FIRST_LINK, {});
    if (!document.Save() || !document.UpdateInfo(info))
        return nullptr;
    return document.Clone();
}

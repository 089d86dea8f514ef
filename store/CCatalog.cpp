#include "store/CCatalog.h"

#include "platform/base/Clock.h"
#include "platform/base/HostFile.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"
#include "platform/base/WinError.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CExtensionRec.h"
#include "store/CKeywordRec.h"
#include "store/CLibFolderRec.h"
#include "store/CLocationRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeFolderRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/RecordFields.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

namespace {

// clang-format off
constexpr std::array<int, CATALOG_TABLE_COUNT> RECORD_SIZES = {
    CNodeRec::RECORD_SIZE,      // 0 nodes
    CNodeInfoRec::RECORD_SIZE,  // 1 node information
    CDocumentRec::RECORD_SIZE,  // 2 documents
    CLocationRec::RECORD_SIZE,  // 3 the rests of long document names
    CDirectoryRec::RECORD_SIZE, // 4 directories
    16,                         // 5 document links
    16, 40, 16,                 // 6-8 keywords, their texts and node links
    16, 40, 16,                 // 9-11 node folders, their texts and node links
    16, 20,                     // 12-13 extensions and their texts
    16, 40,                     // 14-15 file name masks and their texts
    16, 40,                     // 16-17 clean-up folders and their texts
    16, 40,                     // 18-19 locations and their texts
    CRecentList::RECORD_SIZE,   // 20 the recently-catalogued list
};
// Block 0 holds nodes, and keeps the catalog's identity after them.
static_assert(LeavesIdentityRoom(CNodeRec::RECORD_SIZE));

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
    CRecordRef recent;
    std::array<BYTE, CRecentList::RECORD_SIZE> list;
    CRecentList::InitRecord(list);
    return file.AllocateRecord(TABLE_RECENT, ROOT_BLOCK_RECENT, {}, &recent)
        && file.WriteRecord(recent, TABLE_RECENT, list);
}

}

/******************************************************************************
 * Creating and opening
 ******************************************************************************/

CCatalog::CCatalog(LPCTSTR pszPath, int nInitialise, int nCacheChunks, Durability eDurability)
    : CCatalogFile(pszPath, RECORD_SIZES, nCacheChunks, eDurability)
{
    // Only a missing file is created; a link to nowhere fails to open below, with its report.
    HostFileStatus status;
    const bool bCreate = nInitialise == CREATE_MAIN || nInitialise == CREATE_RECYCLE;
    if (bCreate && GetHostFileStatus(GetPath(), status) && !status.bExists && !status.bUnreadable
        && !CreateFile(nInitialise == CREATE_RECYCLE, GetPath(), BLOCK_SIZE))
        return;
    if (!Acquire())
        return;
    std::lock_guard lock(m_mapMutex);
    if (!LoadMapsLocked() || !LoadPlaceChoice())
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
    file.BeginAction();
    BOOL bWritten = WriteRootBlocks(file);
    bWritten = file.EndAction() && bWritten;
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
    std::lock_guard lock(m_mapMutex);
    return LoadMapsLocked() && LoadPlaceChoice();
}

void CCatalog::ClearRecordCache()
{
    std::lock_guard lock(m_mapMutex);
    m_directories.Clear();
    m_extensions.clear();
    // The location entries stay until the maps are built again, which keeps
    // the folder-watch indexes the monitor stored in them.
    m_extensionWalk.clear();
    m_nExtensionWalk = 0;
    m_bMapsLoaded = false;
}

void CCatalog::EnsureMapsLocked()
{
    if (!m_bMapsLoaded && IsOpen() && !LoadMapsLocked())
        ReportDamage();
}

BOOL CCatalog::LoadPlaceChoice()
{
    CNodeRec root(this, ROOT_BLOCK_NODE, 0);
    if (!root.IsValid())
        return FALSE;
    std::unique_ptr<CNodeInfoRec> pInfo(root.LoadInfoRec());
    m_nPlaceChoice = pInfo ? pInfo->GetPlaceChoice() : PLACE_NONE;
    return TRUE;
}

BOOL CCatalog::SetPlaceChoice(LONG nPlace)
{
    CCatalogAction action(this);
    if (nPlace < PLACE_NONE || nPlace > PLACE_BOTH) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CNodeRec root(this, ROOT_BLOCK_NODE, 0);
    if (!root.IsValid())
        return FALSE;
    std::unique_ptr<CNodeInfoRec> pInfo(root.LoadInfoRec());
    if (!pInfo) {
        // The record is written before the root names it, so a failure leaves the root as it was.
        CRecordRef ref;
        if (!AllocateRecord(TABLE_NODE_INFO, ROOT_BLOCK_NODE_INFO, {}, &ref))
            return FALSE;
        pInfo = std::make_unique<CNodeInfoRec>(this, ref);
        pInfo->SetPlaceChoice(static_cast<WORD>(nPlace));
        SetRefField(root.GetData(), CNodeRec::OFF_INFO_REF, ref);
        if (!pInfo->Save() || !root.Save())
            return FALSE;
    } else {
        pInfo->SetPlaceChoice(static_cast<WORD>(nPlace));
        if (!pInfo->Save())
            return FALSE;
    }
    m_nPlaceChoice = nPlace;
    return action.Finish(TRUE);
}

BOOL CCatalog::StampCatalogTime(BOOL bAdvance)
{
    FILETIME ftNow;
    GetSystemTimeAsFileTime(&ftNow);
    if (bAdvance) {
        // Carried into the high half, so the stamp never goes back.
        ULONGLONG nNow = (static_cast<ULONGLONG>(ftNow.dwHighDateTime) << 32 | ftNow.dwLowDateTime) + 2;
        ftNow = { static_cast<DWORD>(nNow), static_cast<DWORD>(nNow >> 32) };
    }
    return SetTimeStamp(ftNow);
}

BOOL CCatalog::ListRootChain(CATBLOCK nRoot, std::vector<CRecordRef>* pRefs)
{
    pRefs->clear();
    CRecordRef cursor { nRoot, NO_SLOT };
    while (NextRecord(&cursor))
        pRefs->push_back(cursor);
    return GetLastError() == ERROR_NO_MORE_ITEMS;
}

BOOL CCatalog::LoadMapsLocked()
{
    CDirectoryTable directories;
    std::map<std::string, CRecordRef> extensions;
    std::map<std::string, CLocationEntry> locations;
    std::vector<CRecordRef> refs;
    if (!ListRootChain(ROOT_BLOCK_DIRECTORY, &refs))
        return FALSE;
    for (CRecordRef ref : refs) {
        CDirectoryRec directory(this, ref);
        if (!directory.IsValid())
            return FALSE;
        directories.Add(std::string(directory.GetPath()), ref);
    }
    if (!ListRootChain(ROOT_BLOCK_EXTENSION, &refs))
        return FALSE;
    for (CRecordRef ref : refs)
        extensions.emplace(std::string(CExtensionRec(this, ref.nBlock, ref.nSlot).GetText()), ref);
    if (!ListRootChain(ROOT_BLOCK_MAIL_STORE, &refs))
        return FALSE;
    for (CRecordRef ref : refs) {
        CMailStoreRec location(this, ref.nBlock, ref.nSlot);
        std::string strKey = Utf8ToLower(std::string_view(location.GetText()));
        // A watch index lives in memory only: it outlasts a rebuild of the maps.
        const auto itBefore = m_locations.find(strKey);
        const int nWatchIndex = itBefore != m_locations.end() ? itBefore->second.nWatchIndex : -1;
        locations[strKey] = { nWatchIndex, location.GetKind(), static_cast<LONG>(location.GetValue()), ref };
    }
    m_directories = std::move(directories);
    m_extensions = std::move(extensions);
    m_locations = std::move(locations);
    ++m_nNameChanges; // an index being built now was read from what may have been another file
    m_bMapsLoaded = true;
    return TRUE;
}

/******************************************************************************
 * Name indexes of large directories
 ******************************************************************************/

CCatalog::NameLookup CCatalog::LookupDocumentName(CRecordRef directory, std::string_view name, CRecordRef* pRef)
{
    std::lock_guard lock(m_mapMutex);
    CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory);
    if (!pEntry || !pEntry->names)
        return NameLookup::NotIndexed;
    return pEntry->names->Find(name, pRef) ? NameLookup::Found : NameLookup::Absent;
}

CCatalog::NameLookup CCatalog::LookupPath(
    const CString& strFolder, std::string_view name, CRecordRef* pDirectory, CRecordRef* pRef)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    CDirectoryTable::CEntry* pEntry
        = m_directories.FindPath(std::string_view(strFolder, static_cast<std::size_t>(strFolder.GetLength())));
    *pDirectory = pEntry ? pEntry->ref : CRecordRef {};
    if (!pEntry || !pEntry->names)
        return NameLookup::NotIndexed;
    return pEntry->names->Find(name, pRef) ? NameLookup::Found : NameLookup::Absent;
}

CDocumentRec* CCatalog::FindIndexedName(CRecordRef directory, std::string_view name, NameLookup* pLookup)
{
    CRecordRef ref;
    *pLookup = LookupDocumentName(directory, name, &ref);
    return TakeIndexedName(directory, name, ref, pLookup);
}

CDocumentRec* CCatalog::TakeIndexedName(
    CRecordRef directory, std::string_view name, CRecordRef ref, NameLookup* pLookup)
{
    if (*pLookup != NameLookup::Found)
        return nullptr;
    CRecordRef owner;
    auto pDocument = std::make_unique<CDocumentRec>(this, ref, &owner);
    if (pDocument->IsValid() && owner == directory && IsDocumentNamed(*pDocument, name))
        return pDocument.release();
    // The index does not match the file: it goes, and the chain is walked.
    DropNameIndex(directory);
    *pLookup = NameLookup::NotIndexed;
    return nullptr;
}

bool CCatalog::IsDocumentNamed(const CDocumentRec& document, std::string_view name)
{
    CString strFound;
    document.GetFullPath(strFound, TRUE);
    return Utf8ToLower(std::string_view(strFound, static_cast<std::size_t>(strFound.GetLength()))) == name;
}

bool CCatalog::LookupDirectoryPath(CRecordRef directory, CString* pPath)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    const CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory);
    if (!pEntry)
        return false;
    *pPath = pEntry->strPath.c_str();
    return true;
}

std::uint64_t CCatalog::GetNameChangeCount()
{
    std::lock_guard lock(m_mapMutex);
    return m_nNameChanges;
}

void CCatalog::SetNameIndex(CRecordRef directory, CNameIndex index, std::uint64_t nChangeCount)
{
    std::lock_guard lock(m_mapMutex);
    if (nChangeCount != m_nNameChanges)
        return;
    EnsureMapsLocked();
    if (CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory))
        pEntry->names = std::move(index);
}

void CCatalog::DropNameIndex(CRecordRef directory)
{
    std::lock_guard lock(m_mapMutex);
    if (CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory))
        pEntry->names.reset();
}

void CCatalog::AddDocumentName(CRecordRef directory, const std::string& strName, CRecordRef document)
{
    std::lock_guard lock(m_mapMutex);
    ++m_nNameChanges;
    if (CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory); pEntry && pEntry->names)
        pEntry->names->Add(Utf8ToLower(strName), document);
}

void CCatalog::RemoveDocumentName(CRecordRef directory, const std::string& strName, CRecordRef document)
{
    std::lock_guard lock(m_mapMutex);
    ++m_nNameChanges;
    CDirectoryTable::CEntry* pEntry = m_directories.FindRecord(directory);
    if (!pEntry || !pEntry->names)
        return;
    if (pEntry->names->IsAmbiguous())
        pEntry->names.reset(); // another document may answer to the name
    else
        pEntry->names->Remove(Utf8ToLower(strName), document);
}

/******************************************************************************
 * Directories
 ******************************************************************************/

CString CCatalog::NormalizeFolder(LPCTSTR pszFolder)
{
    // Folders on network drive letters are kept in share form, so a document
    // is found whatever letter its share has today.
    CString strFolder = NormalizeDrivePath(pszFolder ? pszFolder : "");
    int nLength = strFolder.GetLength();
    if (nLength > 0 && strFolder[0] != '*' && strFolder[nLength - 1] != '\\')
        strFolder += '\\';
    return strFolder;
}

CRecordRef CCatalog::LookupDirectory(const CString& strFolder)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    const CDirectoryTable::CEntry* pEntry
        = m_directories.FindPath(std::string_view(strFolder, static_cast<std::size_t>(strFolder.GetLength())));
    return pEntry ? pEntry->ref : CRecordRef {};
}

CDirectoryRec* CCatalog::FindDirectory(LPCTSTR pszFolder)
{
    CRecordRef ref = LookupDirectory(NormalizeFolder(pszFolder));
    if (ref.IsNone())
        return nullptr;
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
    EnsureMapsLocked();
    CRecordRef ref;
    if (const CDirectoryTable::CEntry* pEntry
        = m_directories.FindPath(std::string_view(strFolder, static_cast<std::size_t>(strFolder.GetLength())))) {
        ref = pEntry->ref;
    } else {
        // The record is written whole with its slot, never seen without its path.
        std::array<BYTE, CDirectoryRec::RECORD_SIZE> record {};
        SetTextField(record, CDirectoryRec::OFF_PATH, CDirectoryRec::PATH_SIZE, strFolder);
        SetLongField(record, CDirectoryRec::OFF_DOCUMENT_BLOCK, NO_BLOCK);
        if (!AllocateRecord(TABLE_DIRECTORY, ROOT_BLOCK_DIRECTORY, {}, &ref, record))
            return nullptr;
        m_directories.Add(std::string(strFolder), ref);
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
    // An indexed directory answers without its record being read.
    std::string_view name(strName, static_cast<std::size_t>(strName.GetLength()));
    CRecordRef directory, document;
    NameLookup eLookup = LookupPath(NormalizeFolder(strFolder), name, &directory, &document);
    if (directory.IsNone())
        return nullptr;
    std::unique_ptr<CDocumentRec> pFound(TakeIndexedName(directory, name, document, &eLookup));
    if (eLookup != NameLookup::NotIndexed)
        return pFound.release();
    CDirectoryRec record(this, directory);
    return record.IsValid() ? record.FindLowerCaseName(name) : nullptr;
}

CDocumentRec* CCatalog::FindPath(LPCTSTR pszFolder, LPCTSTR pszName)
{
    std::unique_ptr<CDirectoryRec> pDirectory(FindDirectory(pszFolder));
    return pDirectory ? pDirectory->FindDocumentByName(pszName) : nullptr;
}

BOOL FindDocumentByPath(CCatalog* pCatalog, LPCTSTR pszPath)
{
    return pCatalog && std::unique_ptr<CDocumentRec>(pCatalog->FindPath(pszPath)) != nullptr;
}

CDocumentRec* CCatalog::FindOrAddPath(CNodeRec* pNode, LPCTSTR pszPath, BOOL bLink)
{
    CCatalogAction action(this);
    CString strFolder, strName;
    if (!SplitDocumentPath(CString(pszPath ? pszPath : ""), &strFolder, &strName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::unique_ptr<CDocumentRec> pDocument(FindOrAddDocument(strFolder, strName, nullptr));
    if (pDocument && pNode && bLink && !pNode->AddDocument(pDocument.get()))
        return nullptr;
    return action.Finish(pDocument.release());
}

CDocumentRec* CCatalog::FindOrAddDocument(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pInfo)
{
    CCatalogAction action(this);
    // A file's name is kept lower-cased, a mail message's title as written;
    // both are looked up lower-cased.
    const bool bKeepCase = pInfo && pInfo->wType == DOCUMENT_MAIL;
    std::string strName = bKeepCase ? std::string(pszName ? pszName : "") : Utf8ToLower(pszName ? pszName : "");
    if (strName.empty() || strName.size() > static_cast<std::size_t>(CDocumentRec::MAX_NAME)
        || strName.find('\\') != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::unique_ptr<CDirectoryRec> pDirectory(FindOrAddDirectory(pszFolder));
    if (!pDirectory)
        return nullptr;
    CDocumentInfo info {};
    if (pInfo)
        info = *pInfo;
    else
        info.ftCatalogTime = NowAsFileTime();
    Utf8CopyToField(info.szName, sizeof(info.szName), strName.c_str(), FieldEnd::NulTerminated);
    // A document that is there already is made to hold what was asked: an
    // add that was cut short (an expiry date not yet listed) is completed.
    if (std::unique_ptr<CDocumentRec> pFound(pDirectory->FindLowerCaseName(bKeepCase ? Utf8ToLower(strName) : strName));
        pFound) {
        if (pInfo && !pFound->Holds(info) && !pFound->UpdateInfo(info))
            return nullptr;
        return action.Finish(pFound.release());
    }
    return action.Finish(AppendDocument(*pDirectory, info));
}

CDocumentRec* CCatalog::AppendDocument(CDirectoryRec& directory, CDocumentInfo info)
{
    CCatalogAction action(this);
    // The rest of a long name is written first, then the record, whole, with
    // its slot: a record is never seen without all it was given.
    std::array<BYTE, CDocumentRec::RECORD_SIZE> record {};
    SetRefField(record, CDocumentRec::OFF_FIRST_LINK, {});
    std::string strRest;
    CDocumentRec::StoreInfo(record, info, &strRest);
    CRecordRef location;
    if (!strRest.empty() && !CDocumentRec::WriteLocation(this, strRest, &location))
        return nullptr;
    SetRefField(record, CDocumentRec::OFF_LOCATION, location);
    CRecordRef ref;
    CATBLOCK nFirst = directory.GetDocumentBlock();
    if (!AllocateRecord(TABLE_DOCUMENT, nFirst, directory.GetRef(), &ref, record)) {
        DWORD dwError = GetLastError();
        (void)CDocumentRec::FreeLocation(this, location); // belongs to no one; the file may refuse writes now
        SetLastError(dwError);
        return nullptr;
    }
    AddDocumentName(directory.GetRef(), CDocumentRec::StoredName(info), ref);
    if (nFirst == NO_BLOCK)
        directory.SetDocumentBlock(ref.nBlock);
    directory.SetDocumentCount(directory.GetDocumentCount() + 1);
    if (!directory.Save())
        return nullptr;

    auto pDocument = std::make_unique<CDocumentRec>(this, ref.nBlock, ref.nSlot);
    if (!pDocument->IsValid() || (info.nExpiry >= 1 && !pDocument->ListAsExpiring(info.nExpiry)))
        return nullptr;
    return action.Finish(pDocument.release());
}

CDocumentRec* CCatalog::FindMessage(
    const CString& strFolder, const std::string& strTitle, const CDocumentInfo& message, char* pcMarker)
{
    // Characters that tell messages of equal titles in one store apart. A new
    // message takes the first free one; every one is looked at, since a
    // message removed from the catalog frees its marker while later ones stay.
    static constexpr std::string_view MARKERS = "0123456789abcdefghijklmnopqrstuvwxyz";
    *pcMarker = 0;
    for (char cMarker : MARKERS) {
        std::string strName = strTitle + cMarker;
        std::unique_ptr<CDocumentRec> pDocument(FindPath(strFolder, strName.c_str()));
        if (!pDocument) {
            if (!*pcMarker)
                *pcMarker = cMarker;
            continue;
        }
        CDocumentInfo found;
        if (pDocument->GetInfo(&found) && std::memcmp(found.id, message.id, sizeof(found.id)) == 0) {
            *pcMarker = cMarker;
            return pDocument.release();
        }
    }
    return nullptr;
}

CDocumentRec* CCatalog::ResolvePath(LPCTSTR pszFolder, LPCTSTR pszName, const CDocumentInfo* pMessage)
{
    if (!pMessage)
        return FindPath(pszFolder, pszName);
    std::string strStore(pszFolder ? pszFolder : "");
    if (!strStore.empty() && strStore.back() == '\\')
        strStore.pop_back();
    std::string_view name(pszName ? pszName : "");
    if (!name.empty() && name.back() == '*')
        name.remove_suffix(1);
    std::string strTitle = MailTitleOfSubject(name);
    if (strStore.empty() || strTitle.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    char cMarker = 0;
    return FindMessage(NormalizeFolder(("*" + strStore + "*").c_str()), strTitle + "*", *pMessage, &cMarker);
}

CDocumentRec* CCatalog::AddAndLink(CNodeRec* pNode, const CDocumentInfo& message, LPCTSTR pszStorePath)
{
    CCatalogAction action(this);
    std::string strStore(pszStorePath ? pszStorePath : "");
    const std::string strTitle
        = MailTitleOfSubject(std::string_view(message.szName, strnlen(message.szName, sizeof(message.szName)))) + "*";
    if (!pNode || strStore.empty() || strTitle == "*") {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CString strFolder = NormalizeFolder(("*" + strStore + "*").c_str());
    std::unique_ptr<CDirectoryRec> pDirectory(FindOrAddDirectory(strFolder));
    if (!pDirectory)
        return nullptr;
    if (pDirectory->GetStoreKind() != message.nVersion) {
        pDirectory->SetStoreKind(message.nVersion);
        if (!pDirectory->Save())
            return nullptr;
    }
    CDocumentInfo info = message;
    if (info.wType == DOCUMENT_FILE)
        info.wType = DOCUMENT_MAIL;
    char cMarker = 0;
    std::unique_ptr<CDocumentRec> pDocument(FindMessage(strFolder, strTitle, message, &cMarker));
    if (!pDocument && cMarker)
        pDocument.reset(FindOrAddDocument(strFolder, (strTitle + cMarker).c_str(), &info));
    else if (!pDocument)
        SetLastError(ERROR_FILE_EXISTS);
    if (!pDocument)
        return nullptr;
    return action.Finish(pNode->AddDocument(pDocument.get()) ? pDocument.release() : nullptr);
}

CString CCatalog::MakeUniqueName(LPCTSTR pszFolder, LPCTSTR pszName)
{
    // Enough tries for any real folder; a folder that fills them all gets no name.
    constexpr int MAX_TRIES = 10000;
    std::string strName = Utf8ToLower(pszName ? pszName : "");
    if (strName.empty() || strName.find('\\') != std::string::npos) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return CString();
    }
    std::size_t nDot = strName.rfind('.');
    std::string strBase = nDot == std::string::npos || nDot == 0 ? strName : strName.substr(0, nDot);
    std::string strExtension = strBase.size() == strName.size() ? std::string() : strName.substr(nDot);
    std::string strCandidate = strName;
    for (int nTry = 2; nTry <= MAX_TRIES; ++nTry) {
        if (strCandidate.size() > static_cast<std::size_t>(CDocumentRec::MAX_NAME))
            break;
        if (!std::unique_ptr<CDocumentRec>(FindPath(pszFolder, strCandidate.c_str())))
            return CString(strCandidate.c_str());
        strCandidate = strBase + " (" + std::to_string(nTry) + ")" + strExtension;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return CString();
}

/******************************************************************************
 * Entries
 ******************************************************************************/

template<class T> T* CCatalog::NewEntry(LONG nTableType, LPCTSTR pszText)
{
    CRecordRef ref;
    if (!CTextEntryRec::Create(this, nTableType, pszText, &ref))
        return nullptr;
    auto pEntry = std::make_unique<T>(this, ref.nBlock, ref.nSlot);
    return pEntry->IsValid() ? pEntry.release() : nullptr;
}

template<class T> T* CCatalog::FindEntry(LONG nTableType, LPCTSTR pszText, bool bNoCase)
{
    CString strText(pszText ? pszText : "");
    std::vector<CRecordRef> refs;
    if (!ListRootChain(EntryRootBlock(nTableType), &refs))
        return nullptr;
    for (CRecordRef ref : refs) {
        auto pEntry = std::make_unique<T>(this, ref.nBlock, ref.nSlot);
        if (pEntry->IsValid()
            && (bNoCase ? pEntry->GetText().CompareNoCase(strText) == 0 : pEntry->GetText() == strText))
            return pEntry.release();
    }
    return nullptr;
}

BOOL CCatalog::DeleteEntries(LONG nTableType, LPCTSTR pszText, int* pnDeleted)
{
    *pnDeleted = 0;
    std::vector<CRecordRef> refs;
    if (!ListRootChain(EntryRootBlock(nTableType), &refs))
        return FALSE;
    for (CRecordRef ref : refs) {
        CTextEntryRec entry(this, nTableType, ref);
        if (pszText && entry.GetText() != pszText)
            continue;
        if (!entry.Delete())
            return FALSE;
        ++*pnDeleted;
    }
    return TRUE;
}

CKeywordRec* CCatalog::CreateKeyword(LPCTSTR pszText)
{
    CCatalogAction action(this);
    return action.Finish(NewEntry<CKeywordRec>(TABLE_KEYWORD, pszText));
}

CKeywordRec* CCatalog::FindKeyword(LPCTSTR pszText)
{
    return FindEntry<CKeywordRec>(TABLE_KEYWORD, pszText);
}

CKeywordRec* CCatalog::FindKeywordNoCase(LPCTSTR pszText)
{
    CKeywordRec* pKeyword = FindKeyword(pszText);
    return pKeyword != nullptr ? pKeyword : FindEntry<CKeywordRec>(TABLE_KEYWORD, pszText, true);
}

BOOL CCatalog::LoadKeywords(CNodeRec* pNode, const CStringArray& keywords)
{
    CCatalogAction action(this);
    if (!pNode || !pNode->IsValid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (INT_PTR i = 0; i < keywords.GetSize(); ++i) {
        std::unique_ptr<CKeywordRec> pKeyword(FindKeyword(keywords[i]));
        if (!pKeyword)
            pKeyword.reset(CreateKeyword(keywords[i]));
        if (!pKeyword || !pNode->LinkKeyword(pKeyword.get()))
            return FALSE;
    }
    return action.Finish(TRUE);
}

CNodeFolderRec* CCatalog::AddNodeFolder(LPCTSTR pszText)
{
    CCatalogAction action(this);
    return action.Finish(NewEntry<CNodeFolderRec>(TABLE_NODE_FOLDER, pszText));
}

CNodeFolderRec* CCatalog::FindNodeFolder(LPCTSTR pszText)
{
    return FindEntry<CNodeFolderRec>(TABLE_NODE_FOLDER, pszText);
}

BOOL CCatalog::RemoveNodeFolderByName(LPCTSTR pszText)
{
    CCatalogAction action(this);
    int nDeleted = 0;
    return action.Finish(DeleteEntries(TABLE_NODE_FOLDER, pszText ? pszText : "", &nDeleted) && nDeleted > 0);
}

CLibFolderRec* CCatalog::AddLibFolder(LPCTSTR pszPattern)
{
    CCatalogAction action(this);
    return action.Finish(NewEntry<CLibFolderRec>(TABLE_LIB_FOLDER, pszPattern));
}

CCleanUpFolderRec* CCatalog::AddCleanUpFolder(LPCTSTR pszPath)
{
    CCatalogAction action(this);
    return action.Finish(NewEntry<CCleanUpFolderRec>(TABLE_CLEANUP_FOLDER, pszPath));
}

CLibFolderRec* CCatalog::FindLibFolder(LPCTSTR pszPattern)
{
    return FindEntry<CLibFolderRec>(TABLE_LIB_FOLDER, pszPattern);
}

CCleanUpFolderRec* CCatalog::FindCleanUpFolder(LPCTSTR pszPath)
{
    return FindEntry<CCleanUpFolderRec>(TABLE_CLEANUP_FOLDER, pszPath);
}

/******************************************************************************
 * Extensions
 ******************************************************************************/

CExtensionRec* CCatalog::CreateExtension(LPCTSTR pszText)
{
    CCatalogAction action(this);
    std::string strText = Utf8ToLower(pszText ? pszText : "");
    if (!strText.empty() && strText.front() == '.')
        strText.erase(0, 1);
    if (strText.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The table holds each extension once: a known one gives its record.
    CRecordRef existing;
    if (LookupExtension(("." + strText).c_str(), &existing))
        return action.Finish(new CExtensionRec(this, existing.nBlock, existing.nSlot));
    CExtensionRec* pEntry = NewEntry<CExtensionRec>(TABLE_EXTENSION, strText.c_str());
    if (pEntry) {
        std::lock_guard lock(m_mapMutex);
        m_extensions[strText] = pEntry->GetRef();
    }
    return action.Finish(pEntry);
}

BOOL CCatalog::LoadExtensions(LPCTSTR pszText)
{
    CCatalogAction action(this);
    return action.Finish(std::unique_ptr<CExtensionRec>(CreateExtension(pszText)) != nullptr);
}

BOOL CCatalog::ClearExtensions()
{
    CCatalogAction action(this);
    int nDeleted = 0;
    BOOL bDone = DeleteEntries(TABLE_EXTENSION, nullptr, &nDeleted);
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    m_extensions.clear();
    return action.Finish(bDone);
}

CString CCatalog::FirstExtension()
{
    std::vector<CRecordRef> refs;
    if (!ListRootChain(ROOT_BLOCK_EXTENSION, &refs))
        refs.clear();
    m_extensionWalk = std::move(refs);
    m_nExtensionWalk = 0;
    return NextExtension();
}

CString CCatalog::NextExtension()
{
    while (m_nExtensionWalk < m_extensionWalk.size()) {
        CRecordRef ref = m_extensionWalk[m_nExtensionWalk++];
        CExtensionRec entry(this, ref.nBlock, ref.nSlot);
        if (entry.IsValid())
            return entry.GetText();
    }
    return CString();
}

BOOL CCatalog::LookupExtension(LPCTSTR pszName, CRecordRef* pRef)
{
    std::string_view name(pszName ? pszName : "");
    std::size_t nDot = name.rfind('.');
    if (nDot == std::string_view::npos)
        return FALSE;
    std::string strKey = Utf8ToLower(name.substr(nDot + 1));
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_extensions.find(strKey);
    if (it == m_extensions.end())
        return FALSE;
    if (pRef)
        *pRef = it->second;
    return TRUE;
}

/******************************************************************************
 * The location map
 ******************************************************************************/

CMailStoreRec* CCatalog::AddMailStore(WORD wKind, LPCTSTR pszName)
{
    CCatalogAction action(this);
    std::string strKey = Utf8ToLower(pszName ? pszName : "");
    if (strKey.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::unique_ptr<CMailStoreRec> pEntry(NewEntry<CMailStoreRec>(TABLE_MAIL_STORE, pszName));
    if (!pEntry)
        return nullptr;
    pEntry->SetKind(wKind);
    if (!pEntry->Save())
        return nullptr;
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto& entry = m_locations[strKey];
    if (!entry.ref.IsNone()) {
        // The replaced entry's record goes, so the table keeps one record per key.
        CMailStoreRec old(this, entry.ref.nBlock, entry.ref.nSlot);
        if (old.IsValid() && !old.Delete())
            return nullptr;
    }
    entry = { -1, wKind, 0, pEntry->GetRef() };
    return action.Finish(pEntry.release());
}

BOOL CCatalog::ClearLocations()
{
    CCatalogAction action(this);
    int nDeleted = 0;
    BOOL bDone = DeleteEntries(TABLE_MAIL_STORE, nullptr, &nDeleted);
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    m_locations.clear();
    return action.Finish(bDone);
}

int CCatalog::GetLocationCount()
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    return static_cast<int>(m_locations.size());
}

BOOL CCatalog::NextLocation(int* pnIterator, CString& strKey)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    if (!pnIterator || *pnIterator <= 0 || *pnIterator > static_cast<int>(m_locations.size()))
        return FALSE;
    --*pnIterator;
    // Counting down from the count walks the keys in their sorted order.
    auto it = std::next(m_locations.begin(), static_cast<long>(m_locations.size()) - 1 - *pnIterator);
    strKey = it->first.c_str();
    return TRUE;
}

int CCatalog::GetLocationKind(LPCTSTR pszKey)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_locations.find(Utf8ToLower(pszKey ? pszKey : ""));
    return it == m_locations.end() ? -1 : it->second.wKind;
}

LONG CCatalog::GetLocationValue(LPCTSTR pszKey)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_locations.find(Utf8ToLower(pszKey ? pszKey : ""));
    return it == m_locations.end() ? -1 : it->second.nValue;
}

BOOL CCatalog::SetLocationValue(LPCTSTR pszKey, LONG nValue)
{
    CCatalogAction action(this);
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_locations.find(Utf8ToLower(pszKey ? pszKey : ""));
    if (it == m_locations.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CMailStoreRec record(this, it->second.ref.nBlock, it->second.ref.nSlot);
    if (!record.IsValid())
        return FALSE;
    record.SetValue(static_cast<DWORD>(nValue));
    if (!record.Save())
        return FALSE;
    it->second.nValue = nValue;
    return action.Finish(TRUE);
}

BOOL CCatalog::SetLocationEntry(LPCTSTR pszKey, int nWatchIndex)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_locations.find(Utf8ToLower(pszKey ? pszKey : ""));
    if (it == m_locations.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    it->second.nWatchIndex = nWatchIndex;
    return TRUE;
}

int CCatalog::GetLocationWatchIndex(LPCTSTR pszKey)
{
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    auto it = m_locations.find(Utf8ToLower(pszKey ? pszKey : ""));
    return it == m_locations.end() ? -1 : it->second.nWatchIndex;
}

void CCatalog::GetNetworkLocations(CStringArray& paths, CDWordArray* pItemCounts)
{
    paths.RemoveAll();
    if (pItemCounts)
        pItemCounts->RemoveAll();
    std::lock_guard lock(m_mapMutex);
    EnsureMapsLocked();
    for (const auto& [strKey, entry] : m_locations) {
        if (entry.wKind != LOCATION_NETWORK)
            continue;
        paths.Add(CString(strKey.c_str()));
        if (pItemCounts)
            pItemCounts->Add(static_cast<DWORD>(std::max<LONG>(entry.nValue, 0)));
    }
}

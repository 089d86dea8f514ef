#include "store/CatalogCompaction.h"

#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogIo.h"
#include "store/PathHelpers.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/HostFile.h"

#include <array>
#include <memory>
#include <unordered_set>
#include <vector>

// The rebuild's steps and what is on disk after each:
//
//   start ──► copy main ──► copy recycle ──► close copies ──► web settings staged
//                                                                    │
//   web settings settled ◄── main renamed ◄── recycle renamed ◄── folder index deleted ◄── checks
//          │
//        done
//
// Invariants:
// (1) The originals are never written: the copy reads them only.
// (2) A copy is flushed to the disk before it is renamed over its original.
// (3) Until the first rename, a failure deletes both copies and leaves both
//     catalog files as they were (the folder index goes just before it).
// (4) The web settings in force name nodes of the catalog that the main
//     catalog file holds: those moved to the copy are staged under the copy's
//     stamp and put in force only by a settle that finds the copy in place
//     (after the rename, or at the next start when the process stopped).

namespace {

CCompactState g_state;
CompactStepHook g_pfnStepHook = nullptr;

void ReachStep(ECompactStep eStep)
{
    if (g_pfnStepHook)
        g_pfnStepHook(eStep);
}

// The entry tables, in the order they are copied.
constexpr std::array<LONG, 6> ENTRY_TABLES { TABLE_KEYWORD, TABLE_NODE_FOLDER, TABLE_EXTENSION, TABLE_LIB_FOLDER,
    TABLE_CLEANUP_FOLDER, TABLE_MAIL_STORE };

// Deeper trees than this are taken for a loop in a damaged file.
constexpr int MAX_COPY_DEPTH = 256;

std::uint64_t RefKey(CRecordRef ref)
{
    return static_cast<std::uint64_t>(static_cast<DWORD>(ref.nBlock)) << 32 | static_cast<DWORD>(ref.nSlot);
}

// Deletes a file that may not be there, keeping the last error of the failure being handled.
void RemoveFile(LPCTSTR pszPath)
{
    DWORD dwError = GetLastError();
    DeleteFile(pszPath);
    SetLastError(dwError);
}

/******************************************************************************
 * Copying one catalog
 ******************************************************************************/

// Copies a catalog, opened and only read, into a new, empty one.
class CCatalogCopy {
public:
    CCatalogCopy(CCatalog& source, CCatalog& target)
        : m_source(source)
        , m_target(target)
    {
    }

    // FALSE on failure; ERROR_INVALID_DATA when the source was found damaged.
    [[nodiscard]] BOOL Run();

    const CCompactRefMap& GetNodes() const { return m_nodes; }
    const CCompactRefMap& GetDocuments() const { return m_documents; }

private:
    [[nodiscard]] BOOL CopyHeader();
    [[nodiscard]] BOOL CopyEntries(std::size_t nTable);
    [[nodiscard]] BOOL CopyDirectories();
    [[nodiscard]] BOOL CopyDirectory(CRecordRef oldRef);
    [[nodiscard]] BOOL CopyFixedNodes();
    // Copies the links and, depth-first, the children of a node already copied.
    [[nodiscard]] BOOL CopyNodeContents(const CNodeRec& oldNode, CNodeRec& newNode, int nDepth);
    [[nodiscard]] BOOL CopyKeywordLinks(const CNodeRec& oldNode, CNodeRec& newNode);
    // Links newNode to the copies of a node's keywords or node folders.
    template<class TEntry>
    [[nodiscard]] BOOL LinkEntries(CNodeRec& newNode, const std::vector<std::unique_ptr<TEntry>>& oldEntries,
        const CCompactRefMap& map, BOOL (CNodeRec::*pfnLink)(const TEntry*));
    [[nodiscard]] BOOL CopyRecentList();
    // The copy of a record that a reference of the source names. A used record
    // that the walk of its table did not reach lies outside every chain it
    // belongs in: the source is damaged.
    [[nodiscard]] BOOL Copied(const CCompactRefMap& map, CRecordRef oldRef, CRecordRef* pNewRef);
    // FALSE with ERROR_INVALID_DATA when the source refuses writes: it was
    // found damaged (now or before the copy began).
    [[nodiscard]] BOOL CheckSource() const;
    // The failure of a call on the source: the damage it found, or its own error.
    BOOL SourceFailed() const;

    CCatalog& m_source;
    CCatalog& m_target;
    std::array<CCompactRefMap, ENTRY_TABLES.size()> m_entries; // by index in ENTRY_TABLES
    CCompactRefMap m_nodes;
    CCompactRefMap m_documents;
    std::unordered_set<std::uint64_t> m_visited; // old nodes copied, to catch a tree that loops
};

BOOL CCatalogCopy::Run()
{
    if (!m_source.IsOpen() || !m_target.IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!CheckSource() || !CopyHeader())
        return FALSE;
    for (std::size_t nTable = 0; nTable < ENTRY_TABLES.size(); ++nTable) {
        if (!CopyEntries(nTable))
            return FALSE;
    }
    return CopyDirectories() && CopyFixedNodes() && CopyRecentList() && CheckSource();
}

BOOL CCatalogCopy::CheckSource() const
{
    if (m_source.IsWritable())
        return TRUE;
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

BOOL CCatalogCopy::SourceFailed() const
{
    DWORD dwError = GetLastError();
    if (!CheckSource())
        return FALSE;
    SetLastError(dwError == ERROR_SUCCESS ? ERROR_INVALID_DATA : dwError);
    return FALSE;
}

BOOL CCatalogCopy::Copied(const CCompactRefMap& map, CRecordRef oldRef, CRecordRef* pNewRef)
{
    *pNewRef = map.Lookup(oldRef);
    if (!pNewRef->IsNone())
        return TRUE;
    m_source.ReportDamage();
    return CheckSource();
}

BOOL CCatalogCopy::CopyHeader()
{
    return m_target.SetHeaderStrings(m_source.GetHeaderString(0), m_source.GetHeaderString(1))
        && m_target.SetHeaderLinks(m_source.GetHeaderLink(0), m_source.GetHeaderLink(1))
        && m_target.SetTimeStamp(m_source.GetTimeStamp());
}

BOOL CCatalogCopy::CopyEntries(std::size_t nTable)
{
    const LONG nTableType = ENTRY_TABLES[nTable];
    std::vector<CRecordRef> refs;
    if (!m_source.ListRootChain(EntryRootBlock(nTableType), &refs))
        return SourceFailed();
    for (CRecordRef oldRef : refs) {
        CTextEntryRec oldEntry(&m_source, nTableType, oldRef);
        if (!oldEntry.IsValid())
            return SourceFailed();
        CRecordRef newRef;
        if (!CTextEntryRec::Create(&m_target, nTableType, oldEntry.GetText(), &newRef))
            return FALSE;
        if (nTableType == TABLE_MAIL_STORE) {
            CMailStoreRec oldStore(&m_source, oldRef.nBlock, oldRef.nSlot);
            CMailStoreRec newStore(&m_target, newRef.nBlock, newRef.nSlot);
            newStore.SetKind(oldStore.GetKind());
            newStore.SetValue(oldStore.GetValue());
            if (!newStore.Save())
                return FALSE;
        }
        m_entries[nTable].Add(oldRef, newRef);
    }
    return TRUE;
}

BOOL CCatalogCopy::CopyDirectories()
{
    std::vector<CRecordRef> refs;
    if (!m_source.ListRootChain(ROOT_BLOCK_DIRECTORY, &refs))
        return SourceFailed();
    for (CRecordRef oldRef : refs) {
        if (!CopyDirectory(oldRef))
            return FALSE;
    }
    return CheckSource();
}

BOOL CCatalogCopy::CopyDirectory(CRecordRef oldRef)
{
    CDirectoryRec oldDirectory(&m_source, oldRef);
    if (!oldDirectory.IsValid())
        return SourceFailed();
    CRecordRef newRef;
    if (!m_target.AllocateRecord(TABLE_DIRECTORY, ROOT_BLOCK_DIRECTORY, {}, &newRef))
        return FALSE;
    CDirectoryRec newDirectory(&m_target, newRef);
    newDirectory.SetPath(oldDirectory.GetPath());
    newDirectory.SetDocumentBlock(NO_BLOCK);
    newDirectory.SetStoreKind(oldDirectory.GetStoreKind());
    newDirectory.SetDocumentCount(0);
    if (!newDirectory.Save())
        return FALSE;
    for (std::unique_ptr<CDocumentRec> pOld(oldDirectory.FirstDocument()); pOld;
         pOld.reset(oldDirectory.NextDocument())) {
        CDocumentInfo info;
        std::unique_ptr<CDocumentRec> pNew(m_target.AppendDocument(newDirectory, *pOld->GetInfo(&info)));
        if (!pNew)
            return FALSE;
        m_documents.Add(pOld->GetRef(), pNew->GetRef());
    }
    return m_target.CommitIfDue();
}

BOOL CCatalogCopy::CopyFixedNodes()
{
    // Every fixed node first, so that the expiring-documents node is there
    // before the links of the others are made.
    std::vector<std::pair<std::unique_ptr<CNodeRec>, std::unique_ptr<CNodeRec>>> fixed;
    for (LONG nKind = 0; nKind <= CNodeRec::FIXED_NODE_LAST; ++nKind) {
        auto pOld = std::make_unique<CNodeRec>(&m_source, nKind);
        auto pNew = std::make_unique<CNodeRec>(&m_target, nKind);
        if (!pOld->IsValid())
            return SourceFailed();
        CNodeInfo info;
        if (!pNew->IsValid() || !pNew->UpdateInfo(*pOld->GetInfo(&info)))
            return FALSE;
        m_nodes.Add(pOld->GetRef(), pNew->GetRef());
        fixed.emplace_back(std::move(pOld), std::move(pNew));
    }
    // The place choice lives in the root's information record.
    if (m_source.GetPlaceChoice() != CCatalog::PLACE_NONE && !m_target.SetPlaceChoice(m_source.GetPlaceChoice()))
        return FALSE;
    for (auto& [pOld, pNew] : fixed) {
        if (!CopyNodeContents(*pOld, *pNew, 0))
            return FALSE;
    }
    return TRUE;
}

BOOL CCatalogCopy::CopyNodeContents(const CNodeRec& oldNode, CNodeRec& newNode, int nDepth)
{
    if (nDepth > MAX_COPY_DEPTH || !m_visited.insert(RefKey(oldNode.GetRef())).second) {
        m_source.ReportDamage();
        return CheckSource();
    }
    if (!CopyKeywordLinks(oldNode, newNode))
        return FALSE;
    // The expiring-documents node lists exactly the documents with an expiry
    // date, and each copy of one was linked there when it was made: a link of
    // the source that a document without a date kept is not copied.
    const bool bExpiring = oldNode.GetRef() == CRecordRef { CNodeRec::EXPIRING_NODE_BLOCK, 0 };
    for (const auto& pOld : bExpiring ? CDocumentRecArray() : oldNode.GetDocuments()) {
        CRecordRef newRef;
        if (!Copied(m_documents, pOld->GetRef(), &newRef))
            return FALSE;
        CDocumentRec document(&m_target, newRef.nBlock, newRef.nSlot);
        if (!newNode.AddDocument(&document))
            return FALSE;
    }
    for (const auto& pOld : oldNode.GetChildren()) {
        CNodeInfo info;
        std::unique_ptr<CNodeRec> pNew(newNode.AddChild(*pOld->GetInfo(&info)));
        if (!pNew)
            return FALSE;
        m_nodes.Add(pOld->GetRef(), pNew->GetRef());
        if (!CopyNodeContents(*pOld, *pNew, nDepth + 1))
            return FALSE;
    }
    return m_target.CommitIfDue() && CheckSource();
}

BOOL CCatalogCopy::CopyKeywordLinks(const CNodeRec& oldNode, CNodeRec& newNode)
{
    static_assert(ENTRY_TABLES[0] == TABLE_KEYWORD && ENTRY_TABLES[1] == TABLE_NODE_FOLDER);
    return LinkEntries(newNode, oldNode.GetKeywords(), m_entries[0], &CNodeRec::LinkKeyword)
        && LinkEntries(newNode, oldNode.GetNodeFolders(), m_entries[1], &CNodeRec::LinkNodeFolder);
}

template<class TEntry>
BOOL CCatalogCopy::LinkEntries(CNodeRec& newNode, const std::vector<std::unique_ptr<TEntry>>& oldEntries,
    const CCompactRefMap& map, BOOL (CNodeRec::*pfnLink)(const TEntry*))
{
    for (const auto& pOld : oldEntries) {
        CRecordRef newRef;
        if (!Copied(map, pOld->GetRef(), &newRef))
            return FALSE;
        TEntry entry(&m_target, newRef.nBlock, newRef.nSlot);
        if (!(newNode.*pfnLink)(&entry))
            return FALSE;
    }
    return TRUE;
}

BOOL CCatalogCopy::CopyRecentList()
{
    CRecentList oldList(&m_source);
    std::vector<CRecordRef> entries;
    for (int i = 0; i < oldList.GetStoredCount(); ++i) {
        std::unique_ptr<CDocumentRec> pOld(oldList.CreateItemObject(i));
        CRecordRef newRef;
        if (!pOld)
            continue; // the document is gone
        if (!Copied(m_documents, pOld->GetRef(), &newRef))
            return FALSE;
        entries.push_back(newRef);
    }
    // AddEntry puts a document first: the oldest entry goes in first.
    CRecentList newList(&m_target);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        CDocumentRec document(&m_target, it->nBlock, it->nSlot);
        if (!newList.AddEntry(document))
            return FALSE;
    }
    return TRUE;
}

/******************************************************************************
 * The steps
 ******************************************************************************/

// Copies source into a new catalog file at pszTarget, which is closed (and
// flushed) again afterwards. pState, when given, receives the new references.
[[nodiscard]] BOOL CopyCatalogFile(CCatalog& source, LPCTSTR pszTarget, ECompactStep eStep, CCompactState* pState)
{
    if (!source.IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!CCatalog::CreateFile(source.GetKind() == CATALOG_KIND_RECYCLE, pszTarget, BLOCK_SIZE))
        return FALSE;
    // The copy is thrown away unless it is finished: it needs no journal, and
    // is written in batches of a second's work.
    CCatalog target(pszTarget, 0, CCatalogFile::CACHE_CHUNKS, CCatalogFile::Durability::Direct);
    CCatalogCopy copy(source, target);
    CCatalogAction action(&target);
    if (!copy.Run() || !action.End())
        return FALSE;
    ReachStep(eStep);
    if (pState) {
        pState->nodes = copy.GetNodes();
        pState->documents = copy.GetDocuments();
    }
    return target.Release();
}

// A stamp of the catalog's tree of nodes: every node's reference, name and
// parent, depth first from the fixed nodes. Two files of one stamp hold each
// group at the same reference, so references into one name the same groups in
// the other. Every change of the tree changes it (as far as a 64-bit hash can tell).
CString NodeTreeStamp(CCatalog& catalog)
{
    std::uint64_t nHash = 14695981039346656037ULL; // FNV-1a
    auto mix = [&](const void* pData, std::size_t nSize) {
        for (std::size_t n = 0; n < nSize; ++n) {
            nHash ^= static_cast<const BYTE*>(pData)[n];
            nHash *= 1099511628211ULL;
        }
    };
    std::vector<std::pair<std::unique_ptr<CNodeRec>, CRecordRef>> pending; // node, parent
    for (LONG nKind = CNodeRec::FIXED_NODE_LAST; nKind >= 0; --nKind)
        pending.emplace_back(std::make_unique<CNodeRec>(&catalog, nKind), CRecordRef {});
    std::unordered_set<std::uint64_t> visited; // a tree that loops is walked once
    while (!pending.empty()) {
        auto [pNode, parent] = std::move(pending.back());
        pending.pop_back();
        if (!pNode->IsValid() || !visited.insert(RefKey(pNode->GetRef())).second)
            continue;
        const std::uint64_t keys[2] = { RefKey(pNode->GetRef()), RefKey(parent) };
        const CString strName = pNode->GetName();
        mix(keys, sizeof keys);
        mix(static_cast<LPCTSTR>(strName), static_cast<std::size_t>(strName.GetLength()) + 1);
        CNodeRecArray children = pNode->GetChildren();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(std::move(*it), pNode->GetRef());
    }
    CString strStamp;
    strStamp.Format("%016llx", static_cast<unsigned long long>(nHash));
    return strStamp;
}

// Moves the web settings in memory to the records of the copy and stages them
// for it; the settings in force still name the records of `from`. On failure
// the stage is dropped and the settings in memory are those in force again.
[[nodiscard]] BOOL StageWebReferences(CCatalog& from, CCatalog& to)
{
    CPreferenceBlock* pWeb = thePreferences.GetWebSettings();
    if (!pWeb)
        return TRUE;
    pWeb->RemapCatalogReferences(from, to);
    if (thePreferences.StageWebSettings(NodeTreeStamp(to)))
        return TRUE;
    DWORD dwError = GetLastError();
    (void)thePreferences.SettleWebSettings(NodeTreeStamp(from)); // a stage left behind is dropped at the next start
    SetLastError(dwError == ERROR_SUCCESS ? ERROR_WRITE_FAULT : dwError);
    return FALSE;
}

// TRUE when the file at pszPath opens as a catalog file.
[[nodiscard]] BOOL CheckCopy(LPCTSTR pszPath)
{
    CCatalogFile file(pszPath, CCatalog::RecordSizes());
    return file.Acquire() && file.Release();
}

// TRUE when a rename may replace the file at pszPath (or there is none).
[[nodiscard]] BOOL CheckReplaceable(LPCTSTR pszPath)
{
    DWORD dwAttributes = GetFileAttributes(pszPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? TRUE : FALSE;
    if (dwAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return TRUE;
}

// Forces the file's data to the disk.
[[nodiscard]] BOOL FlushFile(LPCTSTR pszPath)
{
    CCatalogIo io;
    if (!io.Open(pszPath, false))
        return FALSE;
    BOOL bSynced = io.Sync();
    return io.Close() && bSynced;
}

} // namespace

/******************************************************************************
 * The compaction state
 ******************************************************************************/

std::uint64_t CCompactRefMap::Key(CRecordRef ref)
{
    return RefKey(ref);
}

void CCompactRefMap::Add(CRecordRef oldRef, CRecordRef newRef)
{
    m_refs[Key(oldRef)] = newRef;
}

CRecordRef CCompactRefMap::Lookup(CRecordRef oldRef) const
{
    auto it = m_refs.find(Key(oldRef));
    return it == m_refs.end() ? CRecordRef {} : it->second;
}

void ResetCompactState()
{
    g_state.nodes.Clear();
    g_state.documents.Clear();
}

const CCompactState& GetCompactState()
{
    return g_state;
}

/******************************************************************************
 * Rebuilding
 ******************************************************************************/

BOOL CompactCatalog(CCatalog& mainCatalog, CCatalog& recycleCatalog, LPCTSTR pszTempMain, LPCTSTR pszTempRecycle)
{
    ResetCompactState();
    CCompactState state;
    BOOL bDone = CopyCatalogFile(mainCatalog, pszTempMain, ECompactStep::MainCopied, &state)
        && CopyCatalogFile(recycleCatalog, pszTempRecycle, ECompactStep::RecycleCopied, nullptr);
    if (bDone) {
        ReachStep(ECompactStep::CopiesClosed);
        CCatalog copy(pszTempMain, 0);
        bDone = copy.IsOpen() && StageWebReferences(mainCatalog, copy);
    }
    if (!bDone) {
        RemoveFile(pszTempMain);
        RemoveFile(pszTempRecycle);
        return FALSE;
    }
    ReachStep(ECompactStep::ReferencesStaged);
    g_state = std::move(state);
    return TRUE;
}

BOOL ReplaceCatalogFiles(LPCTSTR pszTempMain, LPCTSTR pszTempRecycle, LPCTSTR pszMain, LPCTSTR pszRecycle)
{
    CString strFolder, strName;
    SplitPath(pszMain, strFolder, strName);
    CString strFolderIndex = strFolder + "winsch.cat";
    // A catalog file that is a symbolic link keeps its link: the file it names is replaced.
    CString strMainFile, strRecycleFile;
    BOOL bReady = ResolveFileLink(pszMain, strMainFile) && ResolveFileLink(pszRecycle, strRecycleFile)
        && CheckCopy(pszTempMain) && CheckCopy(pszTempRecycle) && CheckReplaceable(strMainFile)
        && CheckReplaceable(strRecycleFile) && FlushFile(pszTempMain) && FlushFile(pszTempRecycle)
        && (DeleteFile(strFolderIndex) || GetLastError() == ERROR_FILE_NOT_FOUND);
    if (bReady) {
        ReachStep(ECompactStep::CopiesChecked);
        constexpr DWORD MOVE_FLAGS = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        if (MoveFileEx(pszTempRecycle, strRecycleFile, MOVE_FLAGS)) {
            ReachStep(ECompactStep::RecycleReplaced);
            if (MoveFileEx(pszTempMain, strMainFile, MOVE_FLAGS)) {
                ReachStep(ECompactStep::MainReplaced);
                // The catalog is replaced: a stage this cannot settle now is settled at the next start.
                (void)SettleRebuildReferences(pszMain);
                ReachStep(ECompactStep::ReferencesSettled);
                return TRUE;
            }
        }
    }
    DWORD dwError = GetLastError();
    (void)SettleRebuildReferences(pszMain); // drops the stage; one that stays is dropped at the next start
    SetLastError(dwError);
    RemoveFile(pszTempMain);
    RemoveFile(pszTempRecycle);
    return FALSE;
}

BOOL RebuildCatalogFiles(LPCTSTR pszMain, LPCTSTR pszRecycle)
{
    CString strTempMain, strTempRecycle;
    {
        // Opened first, a catalog that cannot be opened (a symbolic link that
        // leads nowhere or round in a loop among them) is reported as such.
        CCatalog mainCatalog(pszMain, 0);
        if (!mainCatalog.IsOpen())
            return FALSE;
        CCatalog recycleCatalog(pszRecycle, 0);
        if (!recycleCatalog.IsOpen())
            return FALSE;
        // The copies are made beside the files they replace, which for a
        // catalog that is a symbolic link lie where the link points.
        CString strMainFile, strRecycleFile, strFolder, strName;
        if (!ResolveFileLink(pszMain, strMainFile) || !ResolveFileLink(pszRecycle, strRecycleFile))
            return FALSE;
        SplitPath(strMainFile, strFolder, strName);
        strTempMain = strFolder + COMPACT_TEMP_MAIN_NAME;
        SplitPath(strRecycleFile, strFolder, strName);
        strTempRecycle = strFolder + COMPACT_TEMP_RECYCLE_NAME;
        if (!CompactCatalog(mainCatalog, recycleCatalog, strTempMain, strTempRecycle))
            return FALSE;
    }
    return ReplaceCatalogFiles(strTempMain, strTempRecycle, pszMain, pszRecycle);
}

BOOL SettleRebuildReferences(LPCTSTR pszMain)
{
    if (!thePreferences.HasStagedWebSettings())
        return TRUE;
    CCatalog mainCatalog(pszMain, 0);
    if (!mainCatalog.IsOpen())
        return FALSE;
    return thePreferences.SettleWebSettings(NodeTreeStamp(mainCatalog));
}

void SetCompactStepHook(CompactStepHook pfnHook)
{
    g_pfnStepHook = pfnHook;
}

#include "catalog/CCatalogUpdate.h"

#include "catalog/DocumentTexts.h"

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CLogFile.h"
#include "store/CMailDocumentHooks.h"
#include "store/CMailStoreRec.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeFolderRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TimeFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/framework/AfxMessageBox.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace {

// The catalog's form of a folder (lower-cased, share form) with its trailing backslash.
CString CatalogFolder(const CString& strFolder)
{
    CString strLower = NormalizeDrivePath(strFolder);
    if (strLower.IsEmpty() || strLower[strLower.GetLength() - 1] != '\\')
        strLower += '\\';
    return strLower;
}

// Whether strPath is strFolder or lies below it; both end in a backslash.
bool IsAtOrBelow(const CString& strPath, const CString& strFolder)
{
    return std::string_view(strPath).starts_with(std::string_view(strFolder));
}

// The lower-cased names of a listing's entries, in its order.
std::vector<std::string> LowerNames(const std::vector<CFolderEntry>& entries)
{
    std::vector<std::string> lowerNames;
    lowerNames.reserve(entries.size());
    for (const CFolderEntry& entry : entries)
        lowerNames.push_back(Utf8ToLower(entry.strName));
    return lowerNames;
}

// The lower-cased names that more than one entry of a listing shares: the
// catalog keeps one path for them, which could not tell the files apart.
std::set<std::string, std::less<>> CaseTwinNames(
    const std::vector<CFolderEntry>& entries, const std::vector<std::string>& lowerNames)
{
    std::vector<std::string_view> names;
    names.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsValidUtf8(entries[i].strName))
            names.emplace_back(lowerNames[i]);
    }
    // Sorted, the names that are shared lie side by side.
    std::sort(names.begin(), names.end());
    std::set<std::string, std::less<>> twins;
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i] == names[i - 1])
            twins.emplace(names[i]);
    }
    return twins;
}

} // namespace

CCatalogUpdate::CCatalogUpdate(CCatalog* pCatalog, const CNodeRec* pTarget, int nOptions, HWND hOwner)
    : m_pCatalog(pCatalog)
    , m_pTarget(pTarget != nullptr ? pTarget->Clone() : CNodeRec::NewTopNodeRec3(pCatalog))
    , m_nOptions(nOptions)
    , m_hOwner(hOwner)
{
}

CCatalogUpdate::~CCatalogUpdate() = default;

void CCatalogUpdate::BuildRootMap(const CMapStringToPtr& map)
{
    m_chosenFolders.clear();
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        void* pValue = nullptr;
        map.GetNextAssoc(pos, strKey, pValue);
        if (!strKey.IsEmpty())
            m_chosenFolders[std::string(CatalogFolder(strKey))] = pValue != nullptr;
    }
    m_roots.clear();
    for (const auto& [strFolder, bWhole] : m_chosenFolders) {
        // Sorted, a folder below a root comes right after it or another folder below it.
        const CString strRoot(strFolder.c_str());
        if (m_roots.empty() || !IsAtOrBelow(strRoot, m_roots.back()))
            m_roots.push_back(strRoot);
    }
}

/******************************************************************************
 * The run
 ******************************************************************************/

BOOL CCatalogUpdate::Update(int nMode)
{
    if (!m_pTarget || !m_pCatalog->Acquire())
        return FALSE;
    m_nMode = nMode;
    m_totals = {};
    m_bStopped = m_bFailed = false;
    m_pRules = std::make_unique<CCatalogRules>(m_pCatalog, thePreferences.m_dsDir);
    m_pPlacement = std::make_unique<CDocumentPlacement>(m_pCatalog, m_pTarget.get());
    if (thePreferences.m_dwMostRecentsOption & CPreferences::RECENT_ADD_CATALOGUED)
        m_pRecent = std::make_unique<CRecentList>(m_pCatalog);
    const std::vector<CWalkRoot> roots = CollectRoots(nMode);
    const std::vector<CString> stores = CollectStores();
    Trace(
        "Update: mode %d, options %d, %zu folders, %zu mail stores\n", nMode, m_nOptions, roots.size(), stores.size());
    SetUpProgress(roots, stores.size(), nMode);
    {
        CCatalogAction action(m_pCatalog);
        m_nListedAhead = 0;
        for (const CWalkRoot& root : roots) {
            if (!KeepGoing())
                break;
            Trace("Update: folder %s\n", static_cast<LPCTSTR>(root.strFolder));
            const EScope eScope = m_nMode == MODE_FIRST ? ScopeOf(CatalogFolder(root.strFolder)) : EScope::Whole;
            const int nItems = WalkFolder(root.strFolder, 0, !root.strLocationKey.IsEmpty(), eScope);
            if (!root.strLocationKey.IsEmpty() && KeepGoing())
                m_pCatalog->SetLocationValue(root.strLocationKey, nItems);
        }
        m_pReadAhead.reset();
        for (const CString& strKey : stores) {
            if (!KeepGoing())
                break;
            ReadStore(strKey);
        }
        WriteRecent();
        if (!action.End())
            m_bFailed = true;
    }
    Trace("Update: %s; %d added, %d messages added, %d found, %d rejected, %d skipped, %d stores failed, %d gone, "
          "%d messages deleted, %d messages skipped\n",
        m_bFailed        ? "failed"
            : m_bStopped ? "stopped"
                         : "done",
        m_totals.nAdded, m_totals.nMessagesAdded, m_totals.nFound, m_totals.nRejected, m_totals.nSkipped,
        m_totals.nFailedStores, m_totals.nGone, m_totals.nMessagesDeleted, m_totals.nMessagesSkipped);
    m_pProgress.reset();
    m_pRecent.reset();
    m_folderNodes.clear();
    m_pSystemsParent.reset();
    m_pPlacement.reset();
    m_pRules.reset();
    m_pCatalog->Release();
    return m_bFailed ? FALSE : TRUE;
}

std::vector<CCatalogUpdate::CWalkRoot> CCatalogUpdate::CollectRoots(int nMode) const
{
    std::vector<CWalkRoot> roots;
    if (nMode == MODE_FIRST) {
        // The roots are walked as the disk spells them, so their systems take the folders' own names.
        for (const CString& strRoot : m_roots) {
            std::string strHostPath;
            std::string strSpelled
                = HostPathFromProgramPath(strRoot, strHostPath) ? ProgramPathFromHostPath(strHostPath) : std::string();
            if (strSpelled.empty())
                strSpelled = strRoot;
            if (strSpelled.back() != '\\')
                strSpelled += '\\';
            roots.push_back({ strSpelled.c_str(), {} });
        }
        return roots;
    }
    if (m_nOptions & OPTION_PLACES) {
        const LONG nPlaces = m_pCatalog->GetPlaceChoice();
        int nIterator = m_pCatalog->GetLocationCount();
        for (CString strKey; m_pCatalog->NextLocation(&nIterator, strKey);) {
            const int nKind = m_pCatalog->GetLocationKind(strKey);
            if (nKind == LOCATION_LOCAL_DISK && (nPlaces & CCatalog::PLACE_LOCAL_DISK)) {
                for (const std::string& strFolder : GetFixedDriveFolders())
                    roots.push_back({ strFolder.c_str(), {} });
            } else if (nKind == LOCATION_NETWORK && (nPlaces & CCatalog::PLACE_NETWORK)) {
                roots.push_back({ CatalogFolder(strKey), strKey });
            }
        }
    } else if (m_nOptions & OPTION_FAST_FOLDERS) {
        for (int i = 0; i < thePreferences.m_fastUpdateDir.GetSize(); ++i)
            roots.push_back({ CatalogFolder(thePreferences.m_fastUpdateDir[i]), {} });
    }
    return roots;
}

std::vector<CString> CCatalogUpdate::CollectStores() const
{
    std::vector<CString> stores;
    int nIterator = m_pCatalog->GetLocationCount();
    for (CString strKey; m_pCatalog->NextLocation(&nIterator, strKey);) {
        if (StoreKindOfLocation(m_pCatalog->GetLocationKind(strKey)) >= 0)
            stores.push_back(strKey);
    }
    return stores;
}

void CCatalogUpdate::SetUpProgress(const std::vector<CWalkRoot>& roots, size_t nStores, int nMode)
{
    std::vector<std::string> localFolders;
    int nNetworkRange = 1;
    bool bNetwork = false;
    for (const CWalkRoot& root : roots) {
        if (root.strLocationKey.IsEmpty()) {
            localFolders.emplace_back(root.strFolder);
        } else {
            bNetwork = true;
            nNetworkRange += std::max<LONG>(m_pCatalog->GetLocationValue(root.strLocationKey), 0) + 1;
        }
    }
    const bool bLocal = !localFolders.empty() || nMode == MODE_FIRST;
    CRunProgressSetup setup;
    setup.nStepKind = (bLocal ? CCatalog::PLACE_LOCAL_DISK : 0) | (bNetwork ? CCatalog::PLACE_NETWORK : 0);
    setup.bStepFlag = nStores > 0;
    m_pProgress = CreateRunProgress(ERunProgressKind::Update, m_hOwner, setup);
    // The steps shown take the bars from the top.
    int nBar = CRunProgress::BAR_A;
    auto takeBar = [&](bool bShown, int nRange) {
        if (!bShown)
            return -1;
        m_pProgress->SetRange(nBar, 0, nRange);
        m_pProgress->SetStep(nBar, 1);
        return nBar++;
    };
    m_nLocalBar = takeBar(bLocal, CountSubfolders(localFolders) + 1);
    m_nNetworkBar = takeBar(bNetwork, nNetworkRange);
    m_nStoreBar = takeBar(nStores > 0, static_cast<int>(nStores));
}

/******************************************************************************
 * Folders and files
 ******************************************************************************/

CCatalogUpdate::EScope CCatalogUpdate::ScopeOf(const CString& strLowerFolder) const
{
    const std::string_view strFolder(strLowerFolder);
    const auto it = m_chosenFolders.lower_bound(strFolder);
    if (it == m_chosenFolders.end() || !std::string_view(it->first).starts_with(strFolder))
        return EScope::None;
    if (it->first.size() > strFolder.size())
        return EScope::Through; // the first chosen folder at or after it lies below it
    return it->second ? EScope::Whole : EScope::Own;
}

int CCatalogUpdate::WalkFolder(const CString& strFolder, int nDepth, bool bNetwork, EScope eScope,
    const CFolderFiles* pParent, std::size_t nEntry, std::unique_ptr<CFolderFiles> pListed)
{
    if (pListed) {
        if (nDepth < 2 && m_pProgress->SetText(strFolder))
            ConfirmStop();
    } else {
        pListed = ListFolder(strFolder, nDepth, eScope, pParent, nEntry, false);
        if (!pListed)
            return 0;
    }
    CFolderFiles& files = *pListed;
    const CString& strLowerFolder = files.strLowerFolder;
    const std::vector<CFolderEntry>& entries = files.listed.GetEntries();
    const std::vector<std::string>& lowerNames = files.lowerNames;
    const auto& twins = files.twins;
    // Sub-folders of a folder new to the catalog are listed ahead: their
    // files are most likely new too. An update of a catalogued tree reads
    // nothing ahead and lists each folder as it comes.
    const bool bListsAhead = m_nReadAheadWorkers > 0 && !files.pBefore;
    if (bListsAhead)
        ListAhead(files, 0, nDepth, eScope);
    int nItems = 0;
    int nKnown = 0; // documents of this folder found or added
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CFolderEntry& entry = entries[i];
        if (!KeepGoing())
            return nItems;
        if (!twins.empty() && twins.contains(lowerNames[i])) {
            ++m_totals.nSkipped;
            Trace("Update: %s%s skipped: another name there differs from it only in case\n",
                static_cast<LPCTSTR>(strFolder), entry.strName.c_str());
            continue;
        }
        if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            // A link or another drive's root is not entered: its drive is walked on its own.
            if ((entry.dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                continue;
            if (nDepth + 1 >= MAX_DEPTH) {
                ++m_totals.nSkipped;
                Trace(
                    "Update: folder %s%s skipped: too deep\n", static_cast<LPCTSTR>(strFolder), entry.strName.c_str());
                continue;
            }
            const CString strSubfolder = strFolder + entry.strName.c_str() + "\\";
            const EScope eSubscope = eScope == EScope::Whole ? EScope::Whole : ScopeOf(CatalogFolder(strSubfolder));
            if (eSubscope != EScope::None) {
                std::unique_ptr<CFolderFiles> pSublisted;
                if (auto it = files.listedAhead.find(i); it != files.listedAhead.end()) {
                    pSublisted = std::move(it->second);
                    files.listedAhead.erase(it);
                    --m_nListedAhead;
                }
                if (bListsAhead)
                    ListAhead(files, i + 1, nDepth, eScope);
                nItems += WalkFolder(strSubfolder, nDepth + 1, bNetwork, eSubscope, &files, i, std::move(pSublisted));
            }
            if (nDepth == 0 && !bNetwork && m_nLocalBar >= 0)
                m_pProgress->StepIt(m_nLocalBar);
        } else if ((entry.dwAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0 && eScope != EScope::Through) {
            if (VisitFile(files, i, lowerNames[i]) != EVisit::Left)
                ++nKnown;
            ++nItems;
            if (bNetwork && m_nNetworkBar >= 0)
                m_pProgress->StepIt(m_nNetworkBar);
        }
    }
    if (bNetwork && nDepth == 0 && m_nNetworkBar >= 0)
        m_pProgress->StepIt(m_nNetworkBar);
    WriteRecent();
    // The catalogued documents of this folder the walk did not meet are gone.
    if (std::unique_ptr<CDirectoryRec> pDirectory(
            eScope != EScope::Through ? m_pCatalog->FindDirectory(strLowerFolder) : nullptr);
        pDirectory)
        m_totals.nGone += std::max<LONG>(pDirectory->GetDocumentCount() - nKnown, 0);
    return nItems;
}

std::unique_ptr<CCatalogUpdate::CFolderFiles> CCatalogUpdate::ListFolder(
    const CString& strFolder, int nDepth, EScope eScope, const CFolderFiles* pParent, std::size_t nEntry, bool bAhead)
{
    const CString strLowerFolder = CatalogFolder(strFolder);
    if (const ERejection eRule = m_pRules->CheckFolder(std::string_view(strLowerFolder)); eRule != ERejection::None) {
        if (bAhead)
            return nullptr;
        if (eRule == ERejection::BadName)
            ++m_totals.nSkipped;
        Trace("Update: folder %s left out: %s\n", static_cast<LPCTSTR>(strFolder), CCatalogRules::Describe(eRule));
        return nullptr;
    }
    if (strLowerFolder.GetLength() >= CDirectoryRec::PATH_SIZE) {
        if (bAhead)
            return nullptr;
        ++m_totals.nSkipped;
        Trace("Update: folder %s skipped: path too long\n", static_cast<LPCTSTR>(strFolder));
        return nullptr;
    }
    if (!bAhead && nDepth < 2 && m_pProgress->SetText(strFolder))
        ConfirmStop();
    auto pFiles = std::make_unique<CFolderFiles>();
    CFolderFiles& files = *pFiles;
    files.strFolder = strFolder;
    files.strLowerFolder = strLowerFolder;
    if (!(pParent != nullptr ? files.listed.ListIn(pParent->listed, pParent->listed.GetEntries()[nEntry].strName)
                             : files.listed.List(strFolder))) {
        if (bAhead)
            return nullptr;
        ++m_totals.nSkipped;
        Trace("Update: folder %s skipped: error %lu\n", static_cast<LPCTSTR>(strFolder),
            static_cast<unsigned long>(GetLastError()));
        return nullptr;
    }
    if (pParent != nullptr) {
        files.position = pParent->position;
        files.position.push_back(nEntry);
    }
    // Looked up once for the folder's files. What this walk adds to it is
    // never looked up again: a listing names each file once.
    files.pBefore.reset(m_pCatalog->FindDirectory(strLowerFolder));
    files.lowerNames = LowerNames(files.listed.GetEntries());
    files.twins = CaseTwinNames(files.listed.GetEntries(), files.lowerNames);
    if (m_nReadAheadWorkers > 0 && !files.pBefore && eScope != EScope::Through)
        ReadAhead(files, bAhead ? CDescriptionReadAhead::ETaking::Later : CDescriptionReadAhead::ETaking::Now);
    return pFiles;
}

void CCatalogUpdate::ListAhead(CFolderFiles& files, std::size_t nFrom, int nDepth, EScope eScope)
{
    const std::vector<CFolderEntry>& entries = files.listed.GetEntries();
    for (std::size_t i = std::max(nFrom, files.nListAheadFrom); i < entries.size()
         && files.listedAhead.size() < LIST_AHEAD && m_nListedAhead < MAX_LISTED_AHEAD && !m_bStopped && !m_bFailed;
         ++i) {
        files.nListAheadFrom = i + 1;
        const EScope eSubscope = SubfolderScope(files, i, nDepth, eScope);
        if (eSubscope == EScope::None)
            continue;
        if (std::unique_ptr<CFolderFiles> pSubfolder
            = ListFolder(files.strFolder + entries[i].strName.c_str() + "\\", nDepth + 1, eSubscope, &files, i, true)) {
            ++m_nListedAhead;
            // The walk comes to the sub-folder's own first sub-folders before
            // the next one of this folder: they are listed ahead first.
            ListAhead(*pSubfolder, 0, nDepth + 1, eSubscope);
            files.listedAhead.emplace(i, std::move(pSubfolder));
        }
    }
}

CCatalogUpdate::EScope CCatalogUpdate::SubfolderScope(
    const CFolderFiles& files, std::size_t nEntry, int nDepth, EScope eScope) const
{
    const CFolderEntry& entry = files.listed.GetEntries()[nEntry];
    if ((entry.dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != FILE_ATTRIBUTE_DIRECTORY
        || nDepth + 1 >= MAX_DEPTH || (!files.twins.empty() && files.twins.contains(files.lowerNames[nEntry])))
        return EScope::None;
    return eScope == EScope::Whole ? EScope::Whole
                                   : ScopeOf(CatalogFolder(files.strFolder + entry.strName.c_str() + "\\"));
}

void CCatalogUpdate::ReadAhead(CFolderFiles& files, CDescriptionReadAhead::ETaking eTaking)
{
    const std::vector<CFolderEntry>& entries = files.listed.GetEntries();
    const std::vector<std::string>& lowerNames = files.lowerNames;
    const std::set<std::string, std::less<>>& twins = files.twins;
    std::vector<CDescriptionReadAhead::CFileToRead> toRead;
    files.nameOfEntry.assign(entries.size(), EName::Taken);
    files.readOfEntry.assign(entries.size(), -1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CFolderEntry& entry = entries[i];
        if ((entry.dwAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE)) != FILE_ATTRIBUTE_ARCHIVE)
            continue;
        files.nameOfEntry[i] = CheckFileName(entry.strName, lowerNames[i]);
        if (files.nameOfEntry[i] != EName::Taken || (!twins.empty() && twins.contains(lowerNames[i])))
            continue;
        files.readOfEntry[i] = static_cast<int>(toRead.size());
        toRead.push_back({ entry.strName, files.strFolder + entry.strName.c_str(), i });
    }
    if (toRead.empty())
        return;
    // The workers start with the first new files of the run.
    if (!m_pReadAhead)
        m_pReadAhead = std::make_unique<CDescriptionReadAhead>(m_nReadAheadWorkers);
    files.pReads = m_pReadAhead->Queue(files.listed, std::move(toRead), files.position, eTaking);
}

CCatalogUpdate::EName CCatalogUpdate::CheckFileName(const std::string& strName, const std::string& strLower) const
{
    if (!IsValidUtf8(strName))
        return EName::NotUtf8;
    if (m_pRules->CheckName(std::string_view(strLower)) != ERejection::None)
        return EName::Rejected;
    if (static_cast<int>(strLower.size()) > CDocumentRec::MAX_NAME)
        return EName::TooLong;
    return EName::Taken;
}

CCatalogUpdate::EVisit CCatalogUpdate::VisitFile(CFolderFiles& files, std::size_t nEntry, const std::string& strLower)
{
    const CString& strFolder = files.strFolder;
    const std::string& strName = files.listed.GetEntries()[nEntry].strName;
    // A folder whose files were queued to read ahead had their names checked then.
    switch (files.nameOfEntry.empty() ? CheckFileName(strName, strLower) : files.nameOfEntry[nEntry]) {
    case EName::Taken:
        break;
    case EName::NotUtf8:
        ++m_totals.nSkipped;
        Trace("Update: a name in %s skipped: not UTF-8\n", static_cast<LPCTSTR>(strFolder));
        return EVisit::Left;
    case EName::Rejected:
        ++m_totals.nRejected;
        return EVisit::Left;
    case EName::TooLong:
        ++m_totals.nSkipped;
        Trace("Update: %s%s skipped: name too long\n", static_cast<LPCTSTR>(strFolder), strName.c_str());
        return EVisit::Left;
    }
    const CString strLowerName(strLower.c_str());
    const CString strPath = strFolder + strName.c_str();
    if (std::unique_ptr<CDocumentRec> pDocument(
            files.pBefore ? files.pBefore->FindDocumentByName(strLowerName) : nullptr);
        pDocument) {
        ++m_totals.nFound;
        if (pDocument->GetFirstLink().IsNone())
            CompleteLinks(*pDocument, strPath);
        return EVisit::Found;
    }
    return AddFile(files, nEntry, strPath, strLowerName);
}

CCatalogUpdate::EVisit CCatalogUpdate::AddFile(
    CFolderFiles& files, std::size_t nEntry, const CString& strPath, const CString& strLowerName)
{
    CString strDescription;
    const int nRead = files.pReads ? files.readOfEntry[nEntry] : -1;
    const EFileText eText = nRead >= 0
        ? files.pReads->Take(static_cast<std::size_t>(nRead), strDescription)
        : ReadFileDescription(files.listed, files.listed.GetEntries()[nEntry].strName, strPath, strDescription);
    if (eText == EFileText::NotFound) {
        Trace("Update: %s gone before it was catalogued\n", static_cast<LPCTSTR>(strPath));
        return EVisit::Left;
    }
    if (m_nMode == MODE_FIRST)
        FolderNode(strPath.Left(strPath.ReverseFind('\\')));
    CNodeRecArray nodes;
    m_pPlacement->PlaceFile(strPath, strDescription, nodes);
    CDocumentInfo info {};
    info.wType = DOCUMENT_FILE;
    Utf8CopyToField(info.szDescription, sizeof(info.szDescription), strDescription, FieldEnd::NulTerminated);
    GetSystemTimeAsFileTime(&info.ftCatalogTime);
    std::unique_ptr<CDocumentRec> pDocument(AddDocument(files, strLowerName, info));
    if (!pDocument || !LinkUnder(*pDocument, nodes, 0)) {
        if (!m_pCatalog->IsWritable())
            m_bFailed = true;
        ++m_totals.nSkipped;
        Trace("Update: %s not catalogued: error %lu\n", static_cast<LPCTSTR>(strPath),
            static_cast<unsigned long>(GetLastError()));
        return EVisit::Left;
    }
    ++m_totals.nAdded;
    NoteAdded(*pDocument);
    return EVisit::Added;
}

CDocumentRec* CCatalogUpdate::AddDocument(CFolderFiles& files, const CString& strLowerName, CDocumentInfo& info)
{
    // A name new to the directory record is appended without looking for it
    // there again: the walk takes no name of a listing that another shares
    // but for case, so each is met once. A name the catalog refuses takes the
    // road that looks first.
    if (std::string_view(strLowerName).find('\\') != std::string_view::npos)
        return m_pCatalog->FindOrAddDocument(files.strLowerFolder, strLowerName, &info);
    if (files.pDirectory
            ? !files.pDirectory->Load()
            : (files.pDirectory.reset(m_pCatalog->FindOrAddDirectory(files.strLowerFolder)), !files.pDirectory))
        return nullptr;
    Utf8CopyToField(info.szName, sizeof(info.szName), strLowerName, FieldEnd::NulTerminated);
    return m_pCatalog->AppendDocument(*files.pDirectory, info);
}

void CCatalogUpdate::CompleteLinks(CDocumentRec& document, const CString& strPath)
{
    CString strDescription;
    document.GetNameWithLocation(strDescription);
    CNodeRecArray nodes;
    if (document.IsMail())
        m_pPlacement->PlaceMessage(document.GetDirectoryString(), CMessageTexts {}, nodes);
    else
        m_pPlacement->PlaceFile(strPath, strDescription, nodes);
    if (LinkUnder(document, nodes, 0))
        Trace("Update: %s linked\n", static_cast<LPCTSTR>(strPath));
    else if (!m_pCatalog->IsWritable())
        m_bFailed = true;
}

BOOL CCatalogUpdate::LinkUnder(CDocumentRec& document, const CNodeRecArray& nodes, size_t nFirst)
{
    for (size_t i = nFirst; i < nodes.size(); ++i) {
        if (!nodes[i]->AddDocument(&document))
            return FALSE;
    }
    return CheckCatalog();
}

void CCatalogUpdate::NoteAdded(const CDocumentRec& document)
{
    if (!m_pRecent)
        return;
    m_recentAdded.push_back(document.GetRef());
    if (static_cast<int>(m_recentAdded.size()) >= CRecentList::MAX_ENTRIES)
        WriteRecent();
}

void CCatalogUpdate::WriteRecent()
{
    if (m_pRecent && !m_recentAdded.empty() && !m_pRecent->AddEntries(m_recentAdded) && !m_pCatalog->IsWritable())
        m_bFailed = true;
    m_recentAdded.clear();
}

/******************************************************************************
 * Mail stores
 ******************************************************************************/

void CCatalogUpdate::ReadStore(const CString& strKey)
{
    const int nStoreKind = StoreKindOfLocation(m_pCatalog->GetLocationKind(strKey));
    std::unique_ptr<CMailMessage> pReader = NewMailReader(nStoreKind);
    if (m_pProgress->SetText(strKey))
        ConfirmStop();
    int nAdded = 0;
    int nLeftOut = 0; // deleted or skipped
    int nResult = MAIL_OK;
    DWORD dwPosition = 0;
    while (pReader && KeepGoing()) {
        nResult = ReadNextMessage(*pReader, strKey, dwPosition);
        if (nResult == MAIL_DELETED) {
            ++nLeftOut;
            ++m_totals.nMessagesDeleted;
            Trace("Update: mail store %s: message at %lu left out: deleted or damaged in its store\n",
                static_cast<LPCTSTR>(strKey), static_cast<unsigned long>(pReader->GetOffset()));
            continue;
        }
        if (nResult != MAIL_OK)
            break;
        const CDocumentInfo info = MakeMessageInfo(*pReader, nStoreKind);
        if (std::unique_ptr<CDocumentRec> pFound(m_pCatalog->ResolvePath(strKey, info.szName, &info)); pFound) {
            ++m_totals.nFound;
            LinkWhereShown(*pFound, strKey, *pReader);
            continue;
        }
        CNodeRecArray nodes;
        m_pPlacement->PlaceMessage(strKey, ReadMessageTexts(*pReader), nodes);
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->AddAndLink(nodes.front().get(), info, strKey));
        if (!pDocument || !LinkUnder(*pDocument, nodes, 1)) {
            ++nLeftOut;
            ++m_totals.nMessagesSkipped;
            Trace("Update: mail store %s: message at %lu \"%s\" not catalogued: error %lu\n",
                static_cast<LPCTSTR>(strKey), static_cast<unsigned long>(pReader->GetOffset()), info.szName,
                static_cast<unsigned long>(GetLastError()));
            if (!m_pCatalog->IsWritable()) {
                m_bFailed = true;
                break;
            }
            continue;
        }
        ++nAdded;
        ++m_totals.nMessagesAdded;
        NoteAdded(*pDocument);
    }
    if (nResult != MAIL_OK && nResult != MAIL_DELETED && nResult != MAIL_END) {
        ++m_totals.nFailedStores;
        Trace("Update: mail store %s ends on error %d after %d new messages, %d left out\n",
            static_cast<LPCTSTR>(strKey), nResult, nAdded, nLeftOut);
    } else {
        Trace("Update: mail store %s: %d new messages, %d left out\n", static_cast<LPCTSTR>(strKey), nAdded, nLeftOut);
    }
    if (!m_bStopped && !m_bFailed) {
        const LONG nSize = ReadMailStoreSize(strKey, nStoreKind);
        if (nSize >= 0) {
            if (nSize < m_pCatalog->GetLocationValue(strKey))
                g_bMailboxReorganizePending = TRUE;
            m_pCatalog->SetLocationValue(strKey, nSize);
        }
    }
    WriteRecent();
    if (m_nStoreBar >= 0)
        m_pProgress->StepIt(m_nStoreBar);
}

void CCatalogUpdate::LinkWhereShown(CDocumentRec& document, const CString& strKey, const CMailMessage& message)
{
    const CNodeRecArray linked = document.GetLinkedNodes();
    const bool bShown = std::any_of(linked.begin(), linked.end(), [](const std::unique_ptr<CNodeRec>& pNode) {
        const CATBLOCK nBlock = pNode->GetBlock();
        return !CNodeRec::IsRootRef(pNode->GetRef()) && nBlock != CNodeRec::EXPIRING_NODE_BLOCK
            && nBlock != CNodeRec::FAVOURITES_NODE_BLOCK;
    });
    if (bShown)
        return;
    CNodeRecArray nodes;
    m_pPlacement->PlaceMessage(strKey, ReadMessageTexts(message), nodes);
    bool bLinked = LinkUnder(document, nodes, 0) != FALSE;
    for (const std::unique_ptr<CNodeRec>& pNode : linked) {
        if (bLinked && CNodeRec::IsRootRef(pNode->GetRef()))
            bLinked = pNode->DeleteLinks(&document) != FALSE;
    }
    if (!bLinked) {
        if (!m_pCatalog->IsWritable())
            m_bFailed = true;
        return;
    }
    Trace("Update: mail store %s: message at %lu linked where the tree shows it\n", static_cast<LPCTSTR>(strKey),
        static_cast<unsigned long>(message.GetOffset()));
}

/******************************************************************************
 * A first cataloguing's organisation
 ******************************************************************************/

const CNodeRec* CCatalogUpdate::FolderNode(const CString& strFolder)
{
    const CString strLowerFolder = CatalogFolder(strFolder);
    const std::string strKey(strLowerFolder);
    if (auto it = m_folderNodes.find(strKey); it != m_folderNodes.end())
        return it->second.get();
    const CNodeRec* pParent = nullptr;
    if (std::find(m_roots.begin(), m_roots.end(), strLowerFolder) != m_roots.end()) {
        if (!m_pSystemsParent)
            m_pSystemsParent.reset(CNodeRec::NewRootNodeRec(m_pCatalog));
        pParent = m_pSystemsParent.get();
    } else {
        const int nSlash = strFolder.ReverseFind('\\');
        if (nSlash <= 0)
            return nullptr;
        pParent = FolderNode(strFolder.Left(nSlash));
    }
    if (pParent == nullptr)
        return nullptr;
    if (std::unique_ptr<CNodeRec> pEarlier = EarlierFolderNode(*pParent, strLowerFolder); pEarlier) {
        const CNodeRec* pResult = pEarlier.get();
        m_folderNodes.emplace(strKey, std::move(pEarlier));
        return pResult;
    }
    CNodeInfo info {};
    MakeDefaultNames(&info);
    info.wSearchType = SEARCH_DEFAULT;
    const CString strName = UniqueChildName(*pParent, strFolder.Mid(strFolder.ReverseFind('\\') + 1));
    Utf8CopyToField(info.szName, sizeof(info.szName), strName, FieldEnd::NulTerminated);
    std::unique_ptr<CNodeRec> pNode(const_cast<CNodeRec*>(pParent)->AddChild(info));
    if (!pNode) {
        if (!m_pCatalog->IsWritable())
            m_bFailed = true;
        return nullptr;
    }
    // The folder record makes the placement find the node for every file of the folder.
    std::unique_ptr<CNodeFolderRec> pRecord(m_pCatalog->AddNodeFolder(strLowerFolder));
    if (pRecord && pNode->LinkNodeFolder(pRecord.get()))
        m_pPlacement->GetFolderMap().AddRecord(strLowerFolder, pRecord->GetRef());
    else if (!m_pCatalog->IsWritable())
        m_bFailed = true;
    const CNodeRec* pResult = pNode.get();
    m_folderNodes.emplace(strKey, std::move(pNode));
    return pResult;
}

std::unique_ptr<CNodeRec> CCatalogUpdate::EarlierFolderNode(const CNodeRec& parent, const CString& strLowerFolder)
{
    const CNodeRecArray* pNodes = m_pPlacement->GetFolderMap().LookupFolder(strLowerFolder);
    if (pNodes == nullptr)
        return nullptr;
    for (const auto& pNode : *pNodes) {
        std::unique_ptr<CNodeRec> pParent(pNode->GetParent());
        if (pParent && pParent->GetRef() == parent.GetRef())
            return std::unique_ptr<CNodeRec>(pNode->Clone());
    }
    return nullptr;
}

CString CCatalogUpdate::UniqueChildName(const CNodeRec& parent, const CString& strName) const
{
    const std::size_t nMax = sizeof(CNodeInfo::szName) - 1;
    CString strBase(strName);
    strBase = strBase.Left(static_cast<int>(Utf8PrefixLength(strBase, nMax)));
    CString strCandidate = strBase;
    for (int n = 2; std::unique_ptr<CNodeRec>(parent.FindChildByName(strCandidate)) != nullptr; ++n) {
        CString strSuffix;
        strSuffix.Format(" (%d)", n);
        strCandidate
            = strBase.Left(static_cast<int>(Utf8PrefixLength(strBase, nMax - strSuffix.GetLength()))) + strSuffix;
    }
    return strCandidate;
}

/******************************************************************************
 * Between files
 ******************************************************************************/

BOOL CCatalogUpdate::KeepGoing()
{
    if (m_bStopped || m_bFailed)
        return FALSE;
    if (m_pProgress->PumpAndTestCancel())
        ConfirmStop();
    return m_bStopped ? FALSE : TRUE;
}

void CCatalogUpdate::ConfirmStop()
{
    if (AfxMessageBox(IDS_STOP_QUESTION, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_bStopped = true;
        Trace("Update: stopped by the user\n");
    } else {
        m_pProgress->StartAnimation();
    }
}

BOOL CCatalogUpdate::CheckCatalog()
{
    if (m_pCatalog->IsWritable() && m_pCatalog->CommitIfDue())
        return TRUE;
    m_bFailed = true;
    Trace("Update: a catalog write failed\n");
    return FALSE;
}

void CCatalogUpdate::Trace(const char* pszFormat, ...) const
{
    if (!g_log.IsTracing(LOG_UPDATE))
        return;
    char szLine[CLogFile::MAX_PRINTF_CHARS];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szLine, sizeof(szLine), pszFormat, args);
    va_end(args);
    g_log.Write(szLine);
}

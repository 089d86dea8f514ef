#include "catalog/CCatalogMaintenance.h"

#include "catalog/CRecycleRun.h"
#include "catalog/CRunProgress.h"
#include "catalog/ExpiredDocuments.h"
#include "catalog/RecycleBin.h"

#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNetDriveMap.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/PathHelpers.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/shell/FileOperation.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

// The bars of the single-bar dialogs run to this and start again.
constexpr int BAR_RANGE = 2000;
// The deepest folder the clean-up walk enters.
constexpr int MAX_WALK_DEPTH = 64;

CString LoadText(UINT nID)
{
    CString strText;
    strText.LoadString(nID);
    return strText;
}

CString WithBackslash(CString strFolder)
{
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    return strFolder;
}

} // namespace

CCatalogMaintenance::CCatalogMaintenance(CCatalog* pMain, CCatalog* pBin)
    : m_pMain(pMain)
    , m_pBin(pBin)
    , m_rules(pMain, thePreferences.m_dsDir)
{
}

CCatalogMaintenance::~CCatalogMaintenance() = default;

BOOL CCatalogMaintenance::RunCatalogMaintenance(BOOL bFolders, BOOL bFiles, BOOL bDocuments, BOOL bTidy)
{
    if (bFolders && !m_bCancelled)
        CleanUpFolders();
    if (bFiles && !m_bCancelled)
        CleanUpFiles();
    if (bDocuments && !m_bCancelled)
        RecycleExpired(bTidy);
    if (bTidy && !m_bCancelled)
        FinishBinEntries();
    if (bDocuments) {
        std::unique_ptr<CDocumentSet> pExpired = QueryExpiredDocuments(m_pMain);
        if (pExpired && pExpired->GetCount() > 0)
            AfxMessageBox(IDS_MAINTENANCE_EXPIRED_LEFT, MB_OK);
    }
    return TRUE;
}

void CCatalogMaintenance::ConfirmMaintenanceCancel(BOOL bRequested)
{
    if (!bRequested || m_bCancelled)
        return;
    if (AfxMessageBox(IDS_STOP_QUESTION, MB_YESNO | MB_ICONQUESTION) == IDYES)
        m_bCancelled = true;
    else
        m_pProgress->StartAnimation();
}

BOOL CCatalogMaintenance::IsSafeCleanUpFolder(LPCTSTR pszFolder)
{
    std::string strHost;
    if (!HostPathFromProgramPath(pszFolder, strHost) || strHost.empty())
        return FALSE;
    while (strHost.size() > 1 && strHost.back() == '/')
        strHost.pop_back();
    const CString strRoot = GetPathRoot(pszFolder);
    if (strHost == "/" || WithBackslash(pszFolder).CompareNoCase(WithBackslash(strRoot)) == 0)
        return FALSE;
    // The program's folder, or one above it.
    const std::string strProgram = GetProgramFolderHostPath();
    return strProgram == strHost || strProgram.starts_with(strHost + "/") ? FALSE : TRUE;
}

/******************************************************************************
 * Clean-up folders and files
 ******************************************************************************/

void CCatalogMaintenance::CleanUpFolders()
{
    const std::vector<std::string>& folders = m_rules.GetCleanUpFolders();
    if (folders.empty())
        return;
    m_pProgress = CreateRunProgress(ERunProgressKind::Maintenance);
    m_pProgress->SetRange(CRunProgress::BAR_A, 0, BAR_RANGE);
    m_pProgress->SetStep(CRunProgress::BAR_A, 1);
    m_pProgress->SetTitle(LoadText(IDS_MAINTENANCE_FOLDERS_TITLE));
    for (const std::string& strFolder : folders) {
        if (m_bCancelled)
            break;
        ConfirmMaintenanceCancel(m_pProgress->SetText(strFolder.c_str()));
        if (IsSafeCleanUpFolder(strFolder.c_str())) {
            // Without undo: the folder's contents go for good; a missing folder fails silently.
            SHFILEOPSTRUCT op {};
            const std::string strFrom = strFolder + "\\*.*" + std::string(1, '\0');
            op.wFunc = FO_DELETE;
            op.pFrom = strFrom.c_str();
            op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT;
            static_cast<void>(SHFileOperation(&op));
        }
        m_pProgress->StepIt(CRunProgress::BAR_A);
        if (m_pProgress->IsCancelled())
            m_bCancelled = true;
    }
    m_pProgress.reset();
}

void CCatalogMaintenance::CleanUpFiles()
{
    if (!m_rules.HasNameMasks())
        return;
    const LONG nScope = m_pMain->GetPlaceChoice();
    std::vector<CString> folders;
    if (nScope & CCatalog::PLACE_LOCAL_DISK) {
        for (const std::string& strFolder : GetFixedDriveFolders())
            folders.emplace_back(strFolder.c_str());
    }
    std::vector<CString> network;
    if (nScope & CCatalog::PLACE_NETWORK) {
        int nIterator = m_pMain->GetLocationCount();
        for (CString strKey; m_pMain->NextLocation(&nIterator, strKey);) {
            if (m_pMain->GetLocationKind(strKey) == LOCATION_NETWORK)
                network.push_back(WithBackslash(strKey));
        }
        std::sort(network.begin(), network.end(),
            [](const CString& a, const CString& b) { return std::string_view(a) < std::string_view(b); });
        network.erase(std::unique(network.begin(), network.end()), network.end());
    }
    CRunProgressSetup setup;
    setup.nStepKind = static_cast<int>(nScope & (CCatalog::PLACE_LOCAL_DISK | CCatalog::PLACE_NETWORK));
    m_pProgress = CreateRunProgress(ERunProgressKind::Update, nullptr, setup);
    m_pProgress->SetTitle(LoadText(IDS_MAINTENANCE_FILES_TITLE));
    m_pProgress->SetRange(CRunProgress::BAR_A, 0, static_cast<int>(folders.size()) + 1);
    m_pProgress->SetStep(CRunProgress::BAR_A, 1);
    m_pProgress->SetRange(CRunProgress::BAR_B, 0, static_cast<int>(network.size()) + 1);
    m_pProgress->SetStep(CRunProgress::BAR_B, 1);
    for (const CString& strFolder : folders) {
        if (m_bCancelled)
            break;
        WalkForCleanUp(strFolder, 0);
        m_pProgress->StepIt(CRunProgress::BAR_A);
    }
    for (const CString& strFolder : network) {
        if (m_bCancelled)
            break;
        WalkForCleanUp(strFolder, 0);
        m_pProgress->StepIt(CRunProgress::BAR_B);
    }
    m_pProgress.reset();
}

void CCatalogMaintenance::WalkForCleanUp(const CString& strFolder, int nDepth)
{
    ConfirmMaintenanceCancel(nDepth < 2 ? m_pProgress->SetText(strFolder) : m_pProgress->PumpAndTestCancel());
    std::vector<CFolderEntry> entries;
    if (m_bCancelled || nDepth >= MAX_WALK_DEPTH || !ListFolderEntries(WithBackslash(strFolder), entries))
        return;
    const CString strLowerFolder(Utf8ToLower(LPCTSTR(NormalizeDrivePath(WithBackslash(strFolder)))).c_str());
    for (const CFolderEntry& entry : entries) {
        if (m_bCancelled)
            return;
        const CString strPath = WithBackslash(strFolder) + entry.strName.c_str();
        if ((entry.dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            continue;
        if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            WalkForCleanUp(strPath, nDepth + 1);
            continue;
        }
        if ((entry.dwAttributes & FILE_ATTRIBUTE_ARCHIVE) == 0)
            continue;
        const std::string strLowerName = Utf8ToLower(entry.strName);
        if (!m_rules.MatchesNameMask(strLowerName))
            continue;
        // A catalogued document is never deleted for good here.
        if (std::unique_ptr<CDocumentRec>(m_pMain->FindPath(strLowerFolder, strLowerName.c_str())))
            continue;
        if (DeleteFile(strPath))
            ++m_nDeletedFiles;
    }
}

/******************************************************************************
 * Expired documents and the recycle-bin catalog
 ******************************************************************************/

void CCatalogMaintenance::RecycleExpired(BOOL bTidy)
{
    std::unique_ptr<CDocumentSet> pExpired = QueryExpiredDocuments(m_pMain);
    if (!pExpired || pExpired->documents.empty())
        return;
    if (!bTidy) {
        std::vector<std::unique_ptr<CCatalogRecord>> entries;
        for (auto& pDocument : pExpired->documents)
            entries.push_back(std::move(pDocument));
        // The user's answer to the confirmation decides whether the run goes on.
        if (!MoveToRecycleBin(m_pMain, m_pBin, entries, FALSE))
            m_bCancelled = true;
        return;
    }
    m_pProgress = CreateRunProgress(ERunProgressKind::Maintenance);
    m_pProgress->SetTitle(LoadText(IDS_MAINTENANCE_DOCUMENTS_TITLE));
    m_pProgress->SetRange(CRunProgress::BAR_A, 0, BAR_RANGE);
    m_pProgress->SetStep(CRunProgress::BAR_A, 1);
    {
        CRecycleRun run(m_pMain, m_pBin, m_pProgress.get());
        for (const auto& pDocument : pExpired->documents) {
            if (m_bCancelled || m_pProgress->IsCancelled())
                break;
            CString strName;
            pDocument->GetFullPath(strName);
            ConfirmMaintenanceCancel(m_pProgress->SetText(pDocument->GetDirectoryPath(FALSE) + strName));
            if (CanRecycle(*pDocument))
                static_cast<void>(run.RecycleDocument(*pDocument));
            m_pProgress->StepIt(CRunProgress::BAR_A);
        }
    }
    m_pProgress->SetText(LoadText(IDS_MAINTENANCE_DOCUMENTS_DONE));
    UpdateRecycleBinState(m_pBin);
    m_pProgress.reset();
}

void CCatalogMaintenance::FinishBinEntries()
{
    if (!m_pBin->Acquire())
        return;
    m_pProgress = CreateRunProgress(ERunProgressKind::Maintenance);
    m_pProgress->SetTitle(LoadText(IDS_MAINTENANCE_BIN_TITLE));
    m_pProgress->SetRange(CRunProgress::BAR_A, 0, BAR_RANGE);
    m_pProgress->SetStep(CRunProgress::BAR_A, 1);
    for (auto* pfnTop : { &CNodeRec::NewTopNodeRec3, &CNodeRec::NewTopNodeRec4, &CNodeRec::NewRootNodeRec }) {
        std::unique_ptr<CNodeRec> pTop(pfnTop(m_pBin));
        if (m_bCancelled || !pTop)
            break;
        // Recycled documents keep the groups they had: the whole trees count.
        FinishNodeEntries(*pTop, 0);
    }
    if (m_nFinishedEntries == 0)
        m_pProgress->SetText(LoadText(IDS_MAINTENANCE_BIN_EMPTY));
    UpdateRecycleBinState(m_pBin);
    m_pProgress.reset();
    m_pBin->Release();
}

void CCatalogMaintenance::FinishNodeEntries(const CNodeRec& node, int nDepth)
{
    for (const auto& pDocument : node.GetDocuments()) {
        if (m_bCancelled || m_pProgress->IsCancelled())
            return;
        CString strName;
        pDocument->GetFullPath(strName);
        ConfirmMaintenanceCancel(m_pProgress->SetText(pDocument->GetDirectoryPath(FALSE) + strName));
        static_cast<void>(LixeiraProcessEntry(*pDocument, RECYCLE_DELETE));
        // The entry leaves the bin's catalog with its links.
        if (pDocument->ForEachLinkedNode(-1, -1, FALSE))
            ++m_nFinishedEntries;
        m_pProgress->StepIt(CRunProgress::BAR_A);
    }
    if (nDepth >= MAX_WALK_DEPTH)
        return;
    for (const auto& pChild : node.GetChildren())
        FinishNodeEntries(*pChild, nDepth + 1);
}

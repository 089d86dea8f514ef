#include "catalog/RecycleShellDrops.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CRecycleRun.h"
#include "catalog/CRunProgress.h"

#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/DocumentBackup.h"
#include "store/PathHelpers.h"
#include "store/TextMatch.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/Volumes.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/CWnd.h"
#include "platform/shell/FileOperation.h"
#include "platform/window/WindowClass.h"

#include <string>
#include <vector>

namespace {

// The deepest folder a dropped folder is entered to.
constexpr int MAX_DROP_DEPTH = 64;

bool IsFolder(LPCTSTR pszPath)
{
    const DWORD dwAttributes = GetFileAttributes(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Deletes a file for good, without the bin.
int DeleteForGood(LPCTSTR pszPath)
{
    std::string from(pszPath);
    from.push_back('\0');
    SHFILEOPSTRUCT op {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return SHFileOperation(&op);
}

class CShellDropRun {
public:
    CShellDropRun(CRecycleRun& run, CRunProgress& progress, bool bRemovable, LPCTSTR pszNameMask)
        : m_run(run)
        , m_progress(progress)
        , m_bRemovable(bRemovable)
        , m_strMask(pszNameMask)
    {
    }

    void File(const CString& strPath)
    {
        if (m_bRemovable)
            static_cast<void>(DeleteForGood(strPath));
        else
            static_cast<void>(m_run.RecycleShellFile(strPath, FALSE));
    }

    // The files below the folder that match the mask; the folders stay.
    void Folder(const CString& strFolder, int nDepth)
    {
        std::vector<CFolderEntry> entries;
        if (nDepth >= MAX_DROP_DEPTH || !ListFolderEntries(strFolder, entries))
            return;
        for (const CFolderEntry& entry : entries) {
            if (Stopped())
                return;
            const CString strPath = strFolder + "\\" + entry.strName.c_str();
            m_progress.SetText(CString(Utf8ToLower(LPCTSTR(strPath)).c_str()));
            if ((entry.dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                continue;
            if ((entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                Folder(strPath, nDepth + 1);
            else if (MatchTextNoCase(entry.strName.c_str(), m_strMask))
                File(strPath);
        }
    }

    bool Stopped() { return m_progress.IsCancelled() || m_run.IsStopped(); }

private:
    CRecycleRun& m_run;
    CRunProgress& m_progress;
    const bool m_bRemovable;
    const CString m_strMask;
};

} // namespace

int LixeiraProcessSelection(CCatalog* pMain, CCatalog* pBin, const CDroppedShellItems& items, LPCTSTR pszNameMask)
{
    if (items.paths.empty())
        return 0;
    const CString strFirst(Utf8ToLower(LPCTSTR(items.paths.front())).c_str());
    const UINT uType = GetDriveType(GetPathRoot(strFirst));
    const bool bRemovable = uType == DRIVE_REMOVABLE || uType == DRIVE_CDROM;
    const BOOL bNetwork = uType == DRIVE_REMOTE ? TRUE : FALSE;

    CString strFormat;
    CString strText;
    int nKind = 0;
    if (items.paths.size() == 1) {
        const bool bFolder = IsFolder(items.paths.front());
        strFormat.LoadString(bRemovable ? (bFolder ? IDS_RECYCLE_ASK_REMOVABLE_FOLDER : IDS_RECYCLE_ASK_REMOVABLE_FILE)
                                        : (bFolder ? IDS_RECYCLE_ASK_FOLDER : IDS_RECYCLE_ASK_ITEM));
        strText.Format(strFormat, static_cast<LPCTSTR>(strFirst));
        nKind = bRemovable ? CCatalogPrompts::SELECTION_REMOVABLE_ITEM : CCatalogPrompts::SELECTION_ITEM;
    } else {
        strFormat.LoadString(bRemovable ? IDS_RECYCLE_ASK_REMOVABLE_ITEMS : IDS_RECYCLE_ASK_ITEMS);
        strText.Format(strFormat, static_cast<int>(items.paths.size()));
        nKind = bRemovable ? CCatalogPrompts::SELECTION_REMOVABLE_ITEMS : CCatalogPrompts::SELECTION_ITEMS;
    }
    if (GetCatalogPrompts().ConfirmSelectionAction(nKind, strText, bRemovable ? FALSE : bNetwork, nullptr) != IDOK)
        return 0;

    std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(ERunProgressKind::Operation);
    pProgress->SetRange(CRunProgress::BAR_A, 0, static_cast<int>(items.paths.size()) + 1);
    pProgress->SetStep(CRunProgress::BAR_A, 1);
    {
        CRecycleRun run(pMain, pBin, pProgress.get());
        CShellDropRun drop(run, *pProgress, bRemovable, pszNameMask);
        for (auto it = items.paths.rbegin(); it != items.paths.rend() && !drop.Stopped(); ++it) {
            pProgress->SetText(CString(Utf8ToLower(LPCTSTR(*it)).c_str()));
            if (IsFolder(*it))
                drop.Folder(*it, 0);
            else
                drop.File(*it);
            pProgress->StepIt(CRunProgress::BAR_A);
        }
    }
    pProgress.reset();
    UpdateRecycleBinState(pBin);
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SendMessage(RegisterWindowMessage("APPM Refazer"), 0, 0);
    return 0;
}

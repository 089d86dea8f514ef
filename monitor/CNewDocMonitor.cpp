#include "monitor/CNewDocMonitor.h"

#include "catalog/CCatalogRules.h"
#include "catalog/ChangeNotices.h"
#include "catalog/DirectoryWatcher.h"
#include "catalog/DocumentTexts.h"
#include "catalog/FolderWatches.h"
#include "catalog/ShortcutFiles.h"
#include "mail/CMailMessage.h"
#include "monitor/CCatalogDialog.h"
#include "monitor/CNewDocForm.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNetDriveMap.h"
#include "store/CPreferences.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/Icons.h"
#include "platform/shell/Sound.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowClass.h"

#include <cstdlib>

namespace {

// Frees a notice record the way the watcher allocated it.
struct CFreeRecord {
    void operator()(DriverNotice* pNotice) const { std::free(pNotice); }
};

BOOL PathExists(const CString& strPath)
{
    return _access(strPath, 0) == 0 ? TRUE : FALSE;
}

} // namespace

std::pair<CString, CString> CNewDocMonitor::SplitLowerPath(const CString& strPath)
{
    const CString strLower = NormalizeDrivePath(strPath);
    const int nSlash = strLower.ReverseFind('\\');
    return { strLower.Left(nSlash + 1), strLower.Mid(nSlash + 1) };
}

UINT GetMonitorTrayMessage()
{
    static const UINT uMessage = RegisterWindowMessage("DSM System Tray");
    return uMessage;
}

UINT GetCatalogNewDocMessage()
{
    static const UINT uMessage = RegisterWindowMessage("DSM Cadastrar Doc");
    return uMessage;
}

CNewDocMonitor::CNewDocMonitor(CCatalog* pCatalog, CPendingDocs* pPending)
    : m_pCatalog(pCatalog)
    , m_pPending(pPending)
{
}

CNewDocMonitor::~CNewDocMonitor()
{
    Stop();
}

/******************************************************************************
 * Life
 ******************************************************************************/

BOOL CNewDocMonitor::Start()
{
    if (IsStarted())
        return TRUE;
    if (!m_pCatalog)
        return FALSE;
    if (OpenWatchedDrives(CollectWatchedFolders(m_pCatalog)) > 0) {
        m_hNotifier = StartDirWatchThread(&DirWatchCallback);
        if (m_hNotifier == INVALID_HANDLE_VALUE) {
            StopDirWatch();
            return FALSE;
        }
    }
    m_bStarted = TRUE;
    CloseFolderWatches();
    StartFolderWatchThread(&FolderWatchCallback);
    LPCTSTR pszIcon = MAKEINTRESOURCE(IDI_DOC_MONITOR);
    const HICON hIcon = LoadIcon(AfxFindResourceHandle(pszIcon, RT_GROUP_ICON), pszIcon);
    CString strTip;
    strTip.LoadString(IDS_MONITOR_TIP_NONE);
    if (!Create(nullptr, GetMonitorTrayMessage(), strTip, hIcon, IDR_DOC_MONITOR, FALSE)) {
        Stop();
        return FALSE;
    }
    SetIconFromResource(IDI_DOC_MONITOR_NEW, IDI_DOC_MONITOR_NEW_LIT);
    SetNoticeWindow(GetSafeHwnd());
    UpdateTrayTip();
    return TRUE;
}

void CNewDocMonitor::Stop()
{
    if (!IsStarted())
        return;
    if (m_pDialog)
        m_pDialog->End(IDCANCEL);
    if (m_nDrainTimer != 0) {
        KillTimer(TIMER_DRAIN);
        m_nDrainTimer = 0;
    }
    EnableMonitor(FALSE);
    SetNoticeWindow(nullptr);
    if (m_hNotifier != INVALID_HANDLE_VALUE) {
        KillDirWatchThread();
        StopDirWatch();
        m_hNotifier = INVALID_HANDLE_VALUE;
    }
    m_bStarted = FALSE;
    CloseFolderWatches();
    KillFolderWatchThread();
    if (GetSafeHwnd()) {
        // The watchers have stopped: notices posted but never read are ours to free.
        MSG msg;
        while (::PeekMessage(&msg, GetSafeHwnd(), WM_DRIVER_NOTICE, WM_DRIVER_NOTICE, PM_REMOVE))
            std::free(reinterpret_cast<DriverNotice*>(msg.lParam));
        RemoveIcon();
        DestroyWindow();
    }
    m_bAnimating = FALSE;
}

void CNewDocMonitor::AttachCatalog(CCatalog* pCatalog, CPendingDocs* pPending)
{
    if (IsStarted())
        return;
    m_pCatalog = pCatalog;
    m_pPending = pPending;
    m_pRules.reset();
}

BOOL CNewDocMonitor::EnableMonitor(BOOL bOn)
{
    if (!IsStarted())
        return FALSE;
    if ((bOn != FALSE) == (m_bEnabled != FALSE))
        return TRUE;
    const bool bWatching = m_hNotifier != INVALID_HANDLE_VALUE;
    if (bOn) {
        if (bWatching && ResumeDirWatch() != 0)
            return FALSE;
        m_bEnabled = TRUE;
        RegisterWatchedFolders();
    } else {
        if (bWatching)
            SuspendDirWatch();
        CloseFolderWatches();
        m_bEnabled = FALSE;
    }
    return TRUE;
}

/******************************************************************************
 * The queue
 ******************************************************************************/

std::string CNewDocMonitor::QueueKey(const CString& strPath)
{
    return Utf8ToLower(std::string_view(strPath));
}

void CNewDocMonitor::InsertNotice(size_t nIndex, CNewDocNotice notice)
{
    ++m_queuedPaths[QueueKey(notice.GetPath())];
    m_notices.insert(m_notices.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(notice));
}

CNewDocNotice CNewDocMonitor::TakeNotice(size_t nIndex)
{
    CNewDocNotice notice = std::move(m_notices[nIndex]);
    m_notices.erase(m_notices.begin() + static_cast<std::ptrdiff_t>(nIndex));
    const auto it = m_queuedPaths.find(QueueKey(notice.GetPath()));
    if (it != m_queuedPaths.end() && --it->second == 0)
        m_queuedPaths.erase(it);
    return notice;
}

BOOL CNewDocMonitor::IsQueued(const CString& strPath) const
{
    return m_queuedPaths.contains(QueueKey(strPath)) ? TRUE : FALSE;
}

void CNewDocMonitor::ClearNotices()
{
    m_vanished.clear();
    m_notices.clear();
    m_queuedPaths.clear();
    m_nAnnounced = 0;
    UpdateTrayTip();
}

void CNewDocMonitor::OnCatalogChanged()
{
    m_bCatalogChanged = FALSE;
    m_pRules.reset();
    if (m_pDialog && m_pCatalog->Acquire()) {
        m_pForm->ReloadMaps();
        m_pDialog->ReloadMaps();
        if (m_pForm->DropMissingNodes())
            m_pDialog->DropMissingItems();
        m_pCatalog->Release();
    }
    if (m_nAnnounced < 1 && m_vanished.empty())
        return;
    if (!m_pCatalog->Acquire())
        return;
    bool bRemoved = false;
    for (size_t i = static_cast<size_t>(m_nAnnounced); i-- > 0;) {
        if (IsNoticeCatalogued(m_notices[i])) {
            TakeNotice(i);
            --m_nAnnounced;
            bRemoved = true;
        }
    }
    for (size_t i = m_vanished.size(); i-- > 0;) {
        if (IsNoticeCatalogued(m_vanished[i])) {
            m_vanished.erase(m_vanished.begin() + static_cast<std::ptrdiff_t>(i));
            bRemoved = true;
        }
    }
    m_pCatalog->Release();
    if (bRemoved)
        UpdateTrayTip();
}

BOOL CNewDocMonitor::SkipVanishedNotices()
{
    while (m_nAnnounced > 0) {
        const CNewDocNotice& front = m_notices.front();
        if (PathExists(front.GetPath()) && (!front.GetMessage() || front.GetMessage()->IsValid()))
            return TRUE;
        m_vanished.push_back(TakeNotice(0));
        --m_nAnnounced;
    }
    return FALSE;
}

/******************************************************************************
 * The rules
 ******************************************************************************/

const CCatalogRules& CNewDocMonitor::Rules()
{
    if (!m_pRules)
        m_pRules = std::make_unique<CCatalogRules>(m_pCatalog, thePreferences.m_dsDir);
    return *m_pRules;
}

BOOL CNewDocMonitor::IsRecycledPath(const CString& strPath)
{
    const ERejection eRule = Rules().CheckFile(std::string_view(NormalizeDrivePath(strPath)));
    return eRule == ERejection::RecycleFolder || eRule == ERejection::BadName ? TRUE : FALSE;
}

BOOL CNewDocMonitor::IsCatalogued(const CString& strPath)
{
    if (!m_pCatalog->Acquire())
        return FALSE;
    const auto [strFolder, strName] = SplitLowerPath(strPath);
    const std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindPath(strFolder, strName));
    m_pCatalog->Release();
    return pDocument ? TRUE : FALSE;
}

BOOL CNewDocMonitor::IsNoticeCatalogued(const CNewDocNotice& notice)
{
    const CMailMessage* pMessage = notice.GetMessage();
    if (!pMessage)
        return IsCatalogued(notice.GetPath());
    const CDocumentInfo info = MakeMessageInfo(*pMessage, notice.GetStoreKind());
    if (!m_pCatalog->Acquire())
        return FALSE;
    const std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->ResolvePath(notice.GetPath(), info.szName, &info));
    m_pCatalog->Release();
    return pDocument ? TRUE : FALSE;
}

BOOL CNewDocMonitor::AcceptCreatedFile(const CString& strPath)
{
    if (IsRecycledPath(strPath))
        return FALSE;
    if (IsQueued(strPath))
        return FALSE;
    const std::string strKey = QueueKey(strPath);
    for (size_t i = 0; i < m_vanished.size(); ++i) {
        if (QueueKey(m_vanished[i].GetPath()) == strKey) {
            CNewDocNotice notice = std::move(m_vanished[i]);
            m_vanished.erase(m_vanished.begin() + static_cast<std::ptrdiff_t>(i));
            InsertNotice(static_cast<size_t>(m_nAnnounced), std::move(notice));
            ++m_nAnnounced;
            return FALSE;
        }
    }
    if (IsShortcutFile(strPath))
        return TRUE;
    const auto [strFolder, strName] = SplitLowerPath(strPath);
    if (!thePreferences.IsPathInCatalogScope(m_pCatalog, strFolder))
        return FALSE;
    if (Rules().CheckFile(std::string_view(strFolder + strName)) != ERejection::None)
        return FALSE;
    return IsCatalogued(strPath) ? FALSE : TRUE;
}

BOOL CNewDocMonitor::AcceptRenamedFile(const CString& strNewPath, const CString& strOldPath)
{
    if (IsRecycledPath(strNewPath) || IsRecycledPath(strOldPath))
        return FALSE;
    if (IsCatalogued(strOldPath))
        return FALSE;
    return AcceptCreatedFile(strNewPath);
}

/******************************************************************************
 * Notices and the drain
 ******************************************************************************/

LRESULT CNewDocMonitor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRIVER_NOTICE) {
        OnDriverNotice(lParam);
        return 0;
    }
    if (message == WM_TIMER && wParam == TIMER_DRAIN) {
        DrainNotices();
        return 0;
    }
    if (message == GetNotifyChangeMessage()) {
        OnNotifyChange(static_cast<int>(lParam));
        return 0;
    }
    if (message == GetCatalogNewDocMessage()) {
        OnCatalogNewDoc();
        return 0;
    }
    if (message == GetMonitorTrayMessage())
        return OnTrayNotification(wParam, lParam);
    return CSystemTray::WindowProc(message, wParam, lParam);
}

void CNewDocMonitor::OnDriverNotice(LPARAM lParam)
{
    const std::unique_ptr<DriverNotice, CFreeRecord> pNotice(reinterpret_cast<DriverNotice*>(lParam));
    if (!pNotice)
        return;
    pNotice->szPath[NOTICE_PATH_SIZE - 1] = '\0';
    pNotice->szSecondPath[NOTICE_PATH_SIZE - 1] = '\0';
    const CString strPath(pNotice->szPath);
    if (!ParseDriveSpec(strPath))
        return;
    // The rules and the scope are read from the catalog, which is closed
    // while the program waits in the tray.
    if (!m_pCatalog->Acquire())
        return;
    BOOL bAccepted = FALSE;
    if (pNotice->dwKind == NOTICE_CREATED)
        bAccepted = AcceptCreatedFile(strPath);
    else if (pNotice->dwKind == NOTICE_RENAMED)
        bAccepted = AcceptRenamedFile(strPath, CString(pNotice->szSecondPath));
    m_pCatalog->Release();
    if (!bAccepted)
        return;
    InsertNotice(m_notices.size(), CNewDocNotice(strPath, CNewDocNotice::STORE_NONE));
    StartDrainTimer();
}

void CNewDocMonitor::StartDrainTimer()
{
    m_nDrainTimer = SetTimer(TIMER_DRAIN, DRAIN_DELAY_MS, nullptr);
}

BOOL CNewDocMonitor::ResolveShortcutNotice(size_t nIndex)
{
    TCHAR szTarget[MAX_PATH] = {};
    const CString strShortcut = m_notices[nIndex].GetPath();
    if (ResolveShortcut(szTarget, strShortcut) && PathExists(szTarget) && AcceptCreatedFile(szTarget)) {
        TakeNotice(nIndex);
        InsertNotice(nIndex, CNewDocNotice(szTarget, CNewDocNotice::STORE_NONE));
        return TRUE;
    }
    TakeNotice(nIndex);
    return FALSE;
}

void CNewDocMonitor::DrainNotices()
{
    KillTimer(TIMER_DRAIN);
    m_nDrainTimer = 0;
    const int nAuto = thePreferences.m_nDSAutoCataloguing;
    const BOOL bOpened = m_pCatalog->Acquire();
    std::unique_ptr<CNewDocForm> pAutoForm;
    bool bCatalogued = false;
    for (size_t i = m_notices.size(); i-- > static_cast<size_t>(m_nAnnounced);) {
        CNewDocNotice& notice = m_notices[i];
        if (!PathExists(notice.GetPath())) {
            TakeNotice(i);
            continue;
        }
        if (notice.IsStoreChange()) {
            // Its messages take its place and are examined in this pass.
            const size_t nBefore = m_notices.size();
            ReadStoreNotice(i);
            i += m_notices.size() + 1 - nBefore;
            continue;
        }
        if (notice.GetStoreKind() == CNewDocNotice::STORE_NONE && IsShortcutFile(notice.GetPath())
            && !ResolveShortcutNotice(i))
            continue;
        if (nAuto == 0 || !bOpened)
            continue;
        if (!pAutoForm)
            pAutoForm = std::make_unique<CNewDocForm>(m_pCatalog);
        if (AutoCatalogNotice(*pAutoForm, i, nAuto == 1 ? TRUE : FALSE)) {
            TakeNotice(i);
            bCatalogued = true;
        }
    }
    const bool bKept = m_notices.size() > static_cast<size_t>(m_nAnnounced);
    m_nAnnounced = static_cast<int>(m_notices.size());
    UpdateTrayTip();
    if (bCatalogued) {
        if (m_pDialog) {
            m_pForm->ReloadMaps();
            m_pDialog->ReloadMaps();
        } else {
            PostCatalogChanged();
        }
    }
    if (bKept) {
        if (thePreferences.m_bDSPlaySound)
            PlayNewDocSound();
        if (!m_bAnimating)
            m_bAnimating = Animate(ANIMATION_STEP_MS, -1);
        if (m_pDialog || !thePreferences.m_bDSList)
            PostMessage(GetCatalogNewDocMessage(), 0, 0);
    }
    if (bOpened)
        m_pCatalog->Release();
}

void CNewDocMonitor::UpdateTrayTip()
{
    const int nCount = GetPendingCount();
    CString strTip;
    if (nCount < 1) {
        strTip.LoadString(IDS_MONITOR_TIP_NONE);
        SetMenuDefaultItem(ID_SHOW_MAIN_WINDOW, FALSE);
        if (m_bAnimating) {
            StopAnimation();
            m_bAnimating = FALSE;
        }
    } else if (nCount == 1) {
        strTip.LoadString(IDS_MONITOR_TIP_ONE);
        SetMenuDefaultItem(ID_CATALOG_NEW_DOCUMENT, FALSE);
    } else {
        strTip.Format(IDS_MONITOR_TIP_MANY, nCount);
        SetMenuDefaultItem(ID_CATALOG_NEW_DOCUMENT, FALSE);
    }
    SetTooltipText(strTip);
}

void CNewDocMonitor::PlayNewDocSound()
{
    if (m_strSoundPath.IsEmpty()) {
        TCHAR szModule[MAX_PATH] = {};
        GetModuleFileName(nullptr, szModule, MAX_PATH);
        m_strSoundPath = szModule;
        m_strSoundPath = m_strSoundPath.Left(m_strSoundPath.ReverseFind('\\')) + "\\newdoc.wav";
    }
    if (!sndPlaySound(m_strSoundPath, SND_ASYNC))
        MessageBeep(static_cast<UINT>(-1));
}

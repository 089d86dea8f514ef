#pragma once

// The new-document monitor: a hidden tray window that receives the change
// notices of the directory watcher (WM_DRIVER_NOTICE records) and of the
// folder watches on the catalog's mail stores, keeps the queue of files
// created or renamed and of messages arrived that the catalog would take but
// does not hold yet, and announces them in the tray: the tip counts them, the
// icon blinks and the new-document sound plays. It offers them for
// cataloguing in the cataloguing dialog (CCatalogDialog), or catalogs them at
// once in the automatic modes ("DSAutoCataloguing").
//
//   stopped ──Start──> started, disabled ──EnableMonitor(TRUE)──> enabled
//   enabled ──EnableMonitor(FALSE)──> started, disabled ──Stop──> stopped
//
// Notices are examined in bursts: each accepted notice (re)starts the drain
// timer, so a burst is examined DRAIN_DELAY_MS after its last notice. The
// queue's leading GetAnnouncedCount() notices have been examined and
// announced; those behind them are new. A notice whose file disappeared after
// it was announced moves to the vanished list; a new notice for the same path
// brings it back. The queue survives disabling and stopping.
// All calls come from the thread that owns the window.

#include "catalog/CNewDocNotice.h"
#include "ui/CSystemTray.h"

#include <memory>
#include <string>
#include <unordered_map>

class CCatalog;
class CCatalogDialog;
class CCatalogRules;
class CNewDocForm;
class CPendingDocs;

class CNewDocMonitor : public CSystemTray {
public:
    // The timer that examines a burst of notices, and its delay.
    static constexpr UINT_PTR TIMER_DRAIN = 91;
    static constexpr UINT DRAIN_DELAY_MS = 3000;
    // The animation step while new documents wait.
    static constexpr UINT ANIMATION_STEP_MS = 500;

    // The answers of the cataloguing dialog for the notice it shows.
    static constexpr int RESULT_CATALOG = 1;   // enter it into the catalog
    static constexpr int RESULT_REMOVE = 1292; // drop it without cataloguing
    // (any other result keeps it queued)

    // Watches for the documents of pCatalog (null: none yet, see
    // AttachCatalog). Files given a password while they are catalogued are
    // listed in pPending (may be null).
    explicit CNewDocMonitor(CCatalog* pCatalog = nullptr, CPendingDocs* pPending = nullptr);
    ~CNewDocMonitor() override;

    /* Life. */

    // Opens the catalog's watched folders (CollectWatchedFolders) and starts
    // the watcher thread suspended, starts the folder-watch thread, and
    // creates the tray icon hidden; the window receives the notices from then
    // on. A catalog without a folder to watch (only mail stores, or places
    // out of reach) still starts: its mail stores are watched and its icon
    // leads to the program. FALSE (and stopped) when the watcher thread could
    // not start or the icon could not be created, and without a catalog.
    BOOL Start();
    // Ends the timer and both threads, closes the folders and destroys the
    // window. Nothing when stopped.
    void Stop();
    BOOL IsStarted() const { return m_bStarted; }
    // Sets the catalog of a stopped monitor, or moves it to another (the files
    // were replaced): the queue stays, and what the catalog holds leaves it at
    // OnCatalogChanged.
    void AttachCatalog(CCatalog* pCatalog, CPendingDocs* pPending);
    // Switches the notices on or off (on: the mail stores' folders are
    // watched again). FALSE when stopped or the watcher did not follow; TRUE
    // at once when already in the state asked for.
    BOOL EnableMonitor(BOOL bOn);
    BOOL IsMonitorEnabled() const { return m_bEnabled; }
    // Whether the icon is in the tray.
    BOOL IsIconShown() const { return IsStarted() && !IsHidden() ? TRUE : FALSE; }
    // How many new documents wait: announced, or vanished and not yet told of.
    int GetPendingCount() const { return m_nAnnounced + static_cast<int>(m_vanished.size()); }

    /* The queue. */

    const CNewDocNoticeArray& GetNotices() const { return m_notices; }
    const CNewDocNoticeArray& GetVanished() const { return m_vanished; }
    int GetAnnouncedCount() const { return m_nAnnounced; }
    // Empties the queue and the vanished list and updates the tip.
    void ClearNotices();
    // The catalog or its rules changed outside the monitor ("APPM Refazer"):
    // the rules are read again, an open dialog's form reads its maps again and
    // drops the nodes that are gone, and announced or vanished notices whose
    // document the catalog now holds leave.
    void OnCatalogChanged();
    // Moves announced notices from the front of the queue to the vanished
    // list while their file (or message) is gone. TRUE when a valid front
    // notice remains.
    BOOL SkipVanishedNotices();

    /* Cataloguing. */

    // Asked by the main window before it closes or hides: FALSE when the user
    // chose to catalog the waiting documents first (the dialog then opens),
    // TRUE to go on. Documents that disappeared are told of and forgotten.
    BOOL ShowPendingDocuments();
    // The catalog's organisation was read again ("APPM Reler"): an open
    // dialog's form builds its maps again and the dialog reads them.
    void ReloadCatalogMaps();
    // The cataloguing dialog's answer for the notice it shows, the front of
    // the queue: RESULT_CATALOG enters it with the form's values and removes
    // it, RESULT_REMOVE removes it, anything else keeps it. TRUE when the form
    // now holds the next valid notice, prepared for the dialog to show; FALSE
    // when none is left (the dialog closes).
    BOOL OnCatalogDialogResult(int nCode);
    CCatalogDialog* GetOpenDialog() const { return m_pDialog.get(); }

    /* Mail stores. */

    // Watches the folders of the catalog's mail stores (one watch a folder
    // and kind, at most MAX_FOLDER_WATCHES): a store's size counts for the
    // Netscape and Outlook Express 4 kinds, its folder's last write for
    // Outlook Express 5. Nothing when stopped.
    void RegisterWatchedFolders();

    /* The rules a notice passes. Paths are program paths ("t:\docs\a.txt"). */

    // Whether a created file is a new document to queue: not in the recycle
    // folder, not queued already (a vanished notice of it comes back into the
    // announced part instead), a shortcut (resolved when drained), or else in
    // the catalog's scope, of a catalogued type, not ruled out and not
    // catalogued yet.
    BOOL AcceptCreatedFile(const CString& strPath);
    // Whether a renamed file is a new document: not when either name lies in
    // the recycle folder or the old name is catalogued (the document was only
    // renamed); otherwise as a created file.
    BOOL AcceptRenamedFile(const CString& strNewPath, const CString& strOldPath);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Takes one notice record (and frees it).
    void OnDriverNotice(LPARAM lParam);
    // A watched mail-store folder changed: the stores of that watch that grew
    // are queued as store notices.
    void OnNotifyChange(int nWatchIndex);
    // Opens the cataloguing dialog on the queue, or extends the open one's list.
    void OnCatalogNewDoc();
    // Examines the new part of the queue, from its last notice back.
    void DrainNotices();
    // Queues the store notice's new messages in its place (and drops it).
    void ReadStoreNotice(size_t nIndex);
    // Whether the store at the location key grew since its stored size: TRUE
    // when a store notice was queued for it.
    BOOL CheckLocationChange(const CString& strKey, int nWatchIndex);

    // Enters the notice the form prepared into the catalog with the form's
    // values; FALSE (the notice kept) when the catalog refused a write.
    BOOL CatalogNewDocument(const CNewDocForm& form);
    // Catalogs the notice at nIndex without a window; with bPlacedOnly only
    // when the rules placed it. TRUE when it was entered.
    BOOL AutoCatalogNotice(CNewDocForm& form, size_t nIndex, BOOL bPlacedOnly);
    // Tells the main window once that the monitor changed the catalog.
    void PostCatalogChanged();
    // Resolves the shortcut notice at nIndex: TRUE when its target replaced
    // it, FALSE when it was dropped.
    BOOL ResolveShortcutNotice(size_t nIndex);
    // The tip and the default menu item for the count of waiting documents.
    void UpdateTrayTip();
    void PlayNewDocSound();
    void StartDrainTimer();

    // Whether a path lies in the recycle folder (or cannot be a catalog path).
    BOOL IsRecycledPath(const CString& strPath);
    // Whether the catalog holds a document at the path; the file is held open around the lookup.
    BOOL IsCatalogued(const CString& strPath);
    // Whether the catalog holds the notice's file or message.
    BOOL IsNoticeCatalogued(const CNewDocNotice& notice);
    // The rules, built on first use.
    const CCatalogRules& Rules();

    // The queue with the index of its lower-cased paths.
    void InsertNotice(size_t nIndex, CNewDocNotice notice);
    CNewDocNotice TakeNotice(size_t nIndex);
    BOOL IsQueued(const CString& strPath) const;
    static std::string QueueKey(const CString& strPath);
    // The lower-cased folder (with its trailing backslash) and name of a path.
    static std::pair<CString, CString> SplitLowerPath(const CString& strPath);

    CCatalog* m_pCatalog;
    CPendingDocs* m_pPending;
    std::unique_ptr<CCatalogRules> m_pRules;
    // The open cataloguing dialog and its form, only inside OnCatalogNewDoc.
    std::unique_ptr<CNewDocForm> m_pForm;
    std::unique_ptr<CCatalogDialog> m_pDialog;
    BOOL m_bCatalogChanged { FALSE }; // the monitor entered documents not yet told of
    BOOL m_bStarted { FALSE };
    HANDLE m_hNotifier { INVALID_HANDLE_VALUE }; // the watcher thread, while it runs
    BOOL m_bEnabled { FALSE };
    BOOL m_bAnimating { FALSE };
    UINT_PTR m_nDrainTimer { 0 };
    int m_nAnnounced { 0 };
    CNewDocNoticeArray m_notices;
    CNewDocNoticeArray m_vanished;
    std::unordered_map<std::string, int> m_queuedPaths; // lower-cased path -> notices
    CString m_strSoundPath;
};

// The registered message of the monitor's tray icon ("DSM System Tray").
UINT GetMonitorTrayMessage();
// The registered message that opens the cataloguing dialog on the queue
// ("DSM Cadastrar Doc"); the main window sends it for its tray command.
UINT GetCatalogNewDocMessage();

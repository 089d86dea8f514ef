#pragma once

// The new-document monitor: a hidden tray window that receives the change
// notices of the directory watcher (WM_DRIVER_NOTICE records), keeps the queue
// of files created or renamed that the catalog would take but does not hold
// yet, and announces them in the tray: the tip counts them, the icon blinks
// and the new-document sound plays.
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
class CCatalogRules;

class CNewDocMonitor : public CSystemTray {
public:
    // The timer that examines a burst of notices, and its delay.
    static constexpr UINT_PTR TIMER_DRAIN = 91;
    static constexpr UINT DRAIN_DELAY_MS = 3000;
    // The animation step while new documents wait.
    static constexpr UINT ANIMATION_STEP_MS = 500;

    // Watches for the documents of pCatalog (a reference held).
    explicit CNewDocMonitor(CCatalog* pCatalog);
    ~CNewDocMonitor() override;

    /* Life. */

    // Opens the catalog's watched folders (CollectWatchedFolders), starts the
    // watcher thread suspended and the folder-watch thread, and creates the
    // tray icon hidden; the window receives the notices from then on. FALSE
    // (and stopped) when no folder could be opened, a thread could not start
    // or the icon could not be created.
    BOOL Start();
    // Ends the timer and both threads, closes the folders and destroys the
    // window. Nothing when stopped.
    void Stop();
    BOOL IsStarted() const { return m_hNotifier != INVALID_HANDLE_VALUE ? TRUE : FALSE; }
    // Switches the notices on or off. FALSE when stopped or the watcher did
    // not follow; TRUE at once when already in the state asked for.
    BOOL EnableMonitor(BOOL bOn);
    BOOL IsMonitorEnabled() const { return m_bEnabled; }

    /* The queue. */

    const CNewDocNoticeArray& GetNotices() const { return m_notices; }
    const CNewDocNoticeArray& GetVanished() const { return m_vanished; }
    int GetAnnouncedCount() const { return m_nAnnounced; }
    // Empties the queue and the vanished list and updates the tip.
    void ClearNotices();
    // The catalog or its rules changed outside the monitor: the rules are
    // read again, and announced or vanished notices whose document the
    // catalog now holds leave.
    void OnCatalogChanged();
    // Moves announced notices from the front of the queue to the vanished
    // list while their file (or message) is gone. TRUE when a valid front
    // notice remains.
    BOOL SkipVanishedNotices();

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
    // Examines the new part of the queue, from its last notice back.
    void DrainNotices();
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
    // The rules, built on first use.
    const CCatalogRules& Rules();

    // The queue with the index of its lower-cased paths.
    void InsertNotice(size_t nIndex, CNewDocNotice notice);
    CNewDocNotice TakeNotice(size_t nIndex);
    BOOL IsQueued(const CString& strPath) const;
    static std::string QueueKey(const CString& strPath);

    CCatalog* m_pCatalog;
    std::unique_ptr<CCatalogRules> m_pRules;
    HANDLE m_hNotifier { INVALID_HANDLE_VALUE }; // the watcher thread while started
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

#pragma once

// CArchivoraApp: the application object. It keeps the program to one running
// instance, owns the two catalogs (the main catalog "archiv.cat" and the
// recycle bin's "winrec.cat"), the backup monitor and the find settings, runs
// the start-up (InitInstance) and the teardown (ExitInstance, then the
// destructor), and answers the commands that set up, update, rebuild or
// restore the whole catalog.
//
// One exists at a time; main makes it after registering the program's
// messages and destroys it before returning, so that its teardown runs while
// every service still lives. GetArchivoraApp returns it.
//
// The main catalog's file holds one open reference for the application exactly
// while the main window is shown and not minimised (the main frame acquires
// and releases it as the window changes); work that reads the catalog while
// the window may be hidden takes a reference of its own (CCatalogHold).

#include "frame/CArchivoraCommandLineInfo.h"
#include "frame/CBackupMonitor.h"
#include "frame/CSingleInstance.h"
#include "frame/FindSettings.h"

#include "platform/base/CollectionArrays.h"
#include "platform/framework/CWinApp.h"

#include <memory>

class CCatalog;
class CDocument;
class CDocumentRec;
class CFrameWnd;
class CMainFrame;
class CMultiDocTemplate;
class CPendingDocs;
class CSessionEndHook;
class CWnd;
struct CSetupResults;

class CArchivoraApp : public CWinApp {
    DECLARE_MESSAGE_MAP()

public:
    CArchivoraApp();
    ~CArchivoraApp() override;

    /* The run. */

    BOOL InitInstance() override;
    // The class library's idle work first; then one row of the document lists.
    BOOL OnIdle(LONG lCount) override;
    // Frees the resource module and ends the trace log; runs once, however often called.
    int ExitInstance() override;
    // Ends the program as the end of the user's session does (the answer to a
    // termination signal): the main window saves as for the session's end,
    // asking nothing, hears that the session ends, and goes. Any thread may
    // ask for it by posting g_nMsgSessionEnd to the application's thread; a
    // prompt up at that moment is first ended with its cancel answer.
    void EndSession();
    // Whether the session ends now: nothing may wait for the user.
    BOOL IsEndingSession() const { return m_bEndingSession; }

    /* What the program holds. */

    CCatalog* GetMainCatalog() const { return m_pMainCatalog.get(); }
    CCatalog* GetRecycleCatalog() const { return m_pRecycleCatalog.get(); }
    // The documents opened from the main catalog; null while no catalog is open.
    CPendingDocs* GetPendingDocs() const { return m_pPendingDocs.get(); }
    CBackupMonitor* GetBackupMonitor() const { return m_pBackupMonitor.get(); }
    CFindSettings& GetFindSettings() { return m_findSettings; }
    CMainFrame* GetMainFrame() const;
    // The main window's class, named after the program by the single-instance guard.
    const CString& GetWindowClassName() const { return m_singleInstance.GetClassName(); }
    const CString& GetModuleFolder() const { return m_strModuleFolder; }
    const CString& GetModulePath() const { return m_strModulePath; }
    // Whether this start found the catalog not yet set up.
    BOOL IsFirstRun() const { return m_bFirstRun; }
    // Whether this start found an instance running and handed its switches to it.
    BOOL WasHandedOver() const { return m_bHandedOver; }
    FILETIME GetCatalogTimeStamp() const { return m_ftCatalogStamp; }
    // The folder index of the last search ("winsch.cat" in the program folder).
    const CString& GetFolderIndexPath() const { return m_strFolderIndexPath; }

    /* Services for the frames. */

    // The main window of the instance that runs already gets the start's
    // switches: 32850 when the tray flag is set, then 32848 when the show flag
    // is. FALSE when its main window cannot be found.
    static BOOL NotifyRunningInstance(LPCTSTR pszClassName, const CArchivoraCommandLineInfo& cmdInfo);
    // Writes the time of now (with bAdvance two units later) into the main
    // catalog's header and keeps it.
    void StampCatalogTime(BOOL bAdvance);
    // Replaces the last find's list filter by a copy of filter.
    void SetListFilter(const CListFilter& filter);
    // Empties the program's user settings and sets the backup flag again.
    BOOL ResetProductKey();
    // The preferences' cached default system, looked up again in the catalog.
    void RefreshDefaultSystem();
    // The backup monitor's "MonitorApp" flag is cleared: the run ends cleanly.
    void ClearMonitorFlag();

    /* Set-up and catalog replacement (CArchivoraApp_Setup.cpp). */

    // The set-up wizard, then the catalog set up from its results (bRerun: an
    // existing catalog is replaced). TRUE when finished; a cancelled wizard
    // changes nothing.
    BOOL RunFirstSetup(BOOL bRerun);
    // The active catalog view selects the catalog's first system.
    void SelectFirstSystem();
    // Before the catalog files are replaced: the layout saved, the monitor
    // off, every catalog view closed. *pbIconShown tells whether the
    // monitor's tray icon was shown.
    void PrepareCatalogReplace(BOOL* pbIconShown);
    // After: a new catalog document with the views as the layout kept them.
    void ActivateCatalogDocument(BOOL bIconShown);

    /* Opening (CArchivoraApp_Open.cpp). */

    // Puts the new-document menu in the first place of the Document menu.
    void BuildDynamicMenu();
    // Puts the plain new-document entry there instead: the main frame builds
    // the menu in its place when the Document menu first opens.
    void PlaceNewDocumentEntry();
    // Opens a catalog entry as its record's open action says. A file: 1 with
    // a program the user picks, 2 with the program registered for the type
    // its name gives (a failed start is reported), 3 once the user has
    // chosen a folder, any other action with its own program. A mail message
    // goes to the user's mail client: 1 a reply to all, 2 a forward, 3 sent
    // on as a new message, 4 the client started on its own, any other action
    // a reply. Non-zero when something was opened; a cancelled choice opens
    // nothing.
    BOOL OpenItem(CDocumentRec& document, CWnd* pParent);
    // Opens the entry as the open action dwAction says, whatever its record holds.
    BOOL OpenItemAs(CDocumentRec& document, DWORD dwAction, CWnd* pParent);
    // Opens a file entry with the program of entry nIndex of the start-menu
    // index (built first when it is not). FALSE for an index past the index.
    BOOL OpenWithStartMenuProgram(CDocumentRec& document, int nIndex, CWnd* pParent);
    // The kinds of new document the desktop can make (CFileTypeMap), by
    // description: into first those with an extension the catalog knows, into
    // second the others, each sorted ignoring case. The new-document list
    // (GetNewDocumentTypes) then holds their types in the same order, the
    // first list's before the second's.
    void BuildExtensionMap(CStringArray& first, CStringArray& second);
    // The type (an extension) of each new-document entry, as BuildExtensionMap left them.
    const CStringArray& GetNewDocumentTypes() const { return m_newDocumentTypes; }
    // After a successful open, with the "Minimize" preference on, the main
    // window is minimised and gives back its hold on the main catalog. A
    // window that is hidden or minimised already stays as it is.
    void MinimizeAfterOpen();

protected:
    void OnAppAbout();
    void OnRerunSetup();
    void OnUpdateCatalog();
    void OnCatalogMaintenance();
    void OnRebuildCatalog();
    void OnRestoreBackup();
    void OnNewWindow();
    void OnUpdateNeedsWindow(CCmdUI* pCmdUI);
    void OnSessionEndMessage(WPARAM wParam, LPARAM lParam);

private:
    // Start-up steps that fail by quitting.
    [[nodiscard]] BOOL InitServices();
    // Opens the two catalogs on their files (the recycle bin's released at once);
    // FALSE when the main catalog cannot be read.
    [[nodiscard]] BOOL OpenCatalogs();
    [[nodiscard]] BOOL CreateMainWindow();
    // Makes the catalog document and its views as the layout kept them, or
    // as the command line asks when it kept none. FALSE when no view could be made.
    [[nodiscard]] BOOL RestoreCatalogViews(CDocument* pDocument, CArchivoraCommandLineInfo& cmdInfo);
    // Makes the catalog template's views from the layout; the one that was active, or null.
    CFrameWnd* RestoreChildFrames(CDocument* pDocument, int* pnRestored);
    // Drops every record of the catalogs, then closes both.
    void CloseCatalogs();
    // The catalog from the wizard's results (RunFirstSetup's steps after Finish).
    void SetUpCatalog(const CSetupResults& results, BOOL bRerun);
    // The update mode of the first cataloguing the wizard's results ask for; -1 for none.
    static int FirstUpdateMode(const CSetupResults& results);
    // The first cataloguing: the checked folders as they lie (their
    // organisation built under the root), or the chosen places.
    void RunFirstCataloguing(const CSetupResults& results, int nMode);
    // The root says the catalog is set up; its time stamp moves on.
    void MarkCatalogSetUp();
    // Whether the catalog has a system (a child of its root).
    BOOL HasSystems() const;
    // Before the catalog is replaced by another: the files opened unprotected
    // are protected again and the opened ones no longer followed.
    void ForgetPendingDocuments();
    // Quits a start that failed after the main window was made.
    void AbandonStart(CDocument* pDocument);
    // The mail client composes a message from the catalogued one: nMode 0
    // sends it on as new, 1 forwards it, 2 replies to its sender, 3 to all of
    // its addresses. A protected message needs its password first; a message
    // that cannot be read is reported.
    BOOL OpenMailItem(CDocumentRec& document, int nMode);
    BOOL LaunchMailClient();

    CSingleInstance m_singleInstance;
    HMODULE m_hResourceModule { nullptr };
    CString m_strModuleFolder; // with its final backslash
    CString m_strModulePath;
    CString m_strCatalogPath;
    CString m_strRecyclePath;
    CString m_strFolderIndexPath;
    std::unique_ptr<CCatalog> m_pMainCatalog;
    std::unique_ptr<CCatalog> m_pRecycleCatalog;
    std::unique_ptr<CPendingDocs> m_pPendingDocs; // on m_pMainCatalog
    FILETIME m_ftCatalogStamp {};
    std::unique_ptr<CBackupMonitor> m_pBackupMonitor;
    CFindSettings m_findSettings;
    CStringArray m_newDocumentTypes;
    CMultiDocTemplate* m_pCatalogTemplate { nullptr }; // owned by the class library once added
    BOOL m_bFirstRun { FALSE };
    BOOL m_bHandedOver { FALSE };
    BOOL m_bEndingSession { FALSE };
    std::unique_ptr<CSessionEndHook> m_pSessionEndHook;
    BOOL m_bExited { FALSE };
    int m_nExitCode { 0 };
};

// The application object, or nullptr.
CArchivoraApp* GetArchivoraApp();

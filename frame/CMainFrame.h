#pragma once

// CMainFrame: the program's one top-level window, an MDI frame holding one
// CSplitterFrame per open catalog view, with the toolbar, the status bar and
// the program's dialog bars.
//
// States (the main catalog file is acquired once exactly while shown):
//
//   shown --WM_CLOSE, a tray icon shown--> hidden    (settings saved, timers stopped, released)
//   shown --WM_CLOSE, no tray icon-------> ended     (settings saved)
//   shown --SC_MINIMIZE------------------> minimised (released)
//   minimised --SC_RESTORE/SC_MAXIMIZE---> shown     (acquired)
//   hidden --SC_RESTORE/SC_MAXIMIZE/32848-> shown    (acquired; 32848 then starts normally)
//   hidden --WM_CLOSE--------------------> ended     (at once)
//
// The window closes for good, rather than hiding, whenever no tray icon would
// lead back to it. The end of the user's session (WM_QUERYENDSESSION) saves
// as a close does.
//
// Its registered messages fan program-wide changes out to every window; its
// commands are the program's menus and toolbar but those of a catalog view.

#include "frame/CCatalogBar.h"
#include "frame/CDragBar.h"
#include "frame/CFindBar.h"
#include "frame/CMailBar.h"
#include "monitor/CNewDocMonitor.h"
#include "ui/CKadToolBar.h"
#include "ui/CNewDocMenu.h"
#include "ui/COpenWithMenu.h"

#include "platform/framework/CDialogBar.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "ui/COpenBar.h"

#include <ctime>
#include <memory>

class CCatalog;
class CSplitterFrame;
class CWAServer;

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
    DECLARE_MESSAGE_MAP()

public:
    // Timers of the main frame.
    static constexpr UINT_PTR TIMER_BLINK = 90;   // the list filter's button blinks
    static constexpr UINT_PTR TIMER_PENDING = 92; // the pending documents are checked
    static constexpr UINT_PTR TIMER_NOTICE = 93;  // the daily notice is due
    static constexpr UINT BLINK_INTERVAL = 550;
    static constexpr UINT PENDING_INTERVAL = 5000;
    static constexpr UINT NOTICE_INTERVAL = 300000;
    static constexpr int BLINK_FRAMES = 8;

    CMainFrame();
    ~CMainFrame() override;

    /* Layout (CMainFrame_Layout.cpp). */

    // Writes the whole layout: the main window, every catalog view in window
    // order, the bars, the docking, and the time of the last daily notice.
    void SaveSettings();

    /* Closing and showing (CMainFrame_Close.cpp). */

    // Shows the window as it was kept (a hidden one from the tray); TRUE.
    BOOL ActivateMainWindow();
    // Asks about the documents that belong to no system: IDNO without asking
    // when the warning is off or there are none; IDCANCEL keeps the program.
    int ConfirmExit();
    // Stops the timers and the services and brings the autostart value in
    // line with the preference.
    void UpdateAutoStart();
    // Whether a tray icon leads back to a hidden window.
    BOOL IsTrayIconShown() const;

    /* Timers, idle and the status bar (CMainFrame_Timers.cpp). */

    // Starts (bOn) or stops the list filter button's blinking.
    void AnimateToolbarButton(BOOL bOn);
    void StopTimers();
    // One row of one document list re-checked; TRUE while any list has rows left.
    BOOL IdleRefreshLists();
    CDragBar& GetDragBar() { return m_wndDragBar; }

    /* The drag bar's windows (entries CCoolMenu::ENTRY_RECYCLE_BIN, ENTRY_EXPIRED, ENTRY_SEARCH_RESULTS). */

    // The open windows read the catalog again.
    void RefreshDragBarWindows();
    // Destroys the windows; the entries make them again when next chosen.
    void CloseDragBarWindows();
    // Makes once and shows the window of the entry.
    void ShowDragBarWindow(int nEntry);
    // Whether the entry's window exists and is shown.
    BOOL IsDragBarWindowShown(int nEntry);

    /* Searches (CMainFrame_Timers.cpp). */

    // The content search over pCatalog by the program's find criteria and
    // the last find's list filter, around the search results window: the
    // window goes, the pass runs (its progress dialog can stop it; what was
    // found is kept) and the window comes again with what was found.
    void SearchCatalogIntoResults(CCatalog* pCatalog);
    // Brings a found document before the user: the main window back and in
    // front; with a view, the view active, its list focused and the preview
    // showing the found row at once.
    void PresentFoundResult(CSplitterFrame* pView);
    // Shows the daily notice when the day changed since the last one.
    void ShowDailyNotice();

    /* Menus (CMainFrame_Timers.cpp). */

    // The new-document menu, built anew from the file types, becomes the
    // popup at position nPos of pMenu, named "New".
    void AttachNewDocumentMenu(CMenu* pMenu, UINT nPos);
    // In pMenu, a submenu whose first command opens with a chosen program
    // becomes the plain Open command.
    static void ReplaceMenuItem(CMenu* pMenu);
    // In pMenu, a submenu whose first command makes a new group becomes the
    // new-document menu's place.
    static void ReplaceNewDocumentMenuItem(CMenu* pMenu);
    // The menu of programs a document opens with (commands from ID_OPEN_WITH_FIRST).
    COpenWithMenu& GetOpenWithMenu() { return m_openWithMenu; }

    /* Web access (CMainFrame_WebAccess.cpp). */

    // Whether the web access server serves (its tray icon shows).
    BOOL IsWebServerRunning() const;
    // Starts or stops the server when its state differs; the state before.
    BOOL SetWebServerRunning(BOOL bOn);
    // Ends the web sessions, which hold records of the main catalog, before it closes.
    void EndWebSessions();

    /* The bars. */

    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    /* The new-document monitor, started with the window on the main catalog. */

    CNewDocMonitor& GetMonitor() { return m_wndMonitor; }
    // Starts the monitor again on the main catalog (its places changed, or
    // its files were replaced), its icon shown when bShowIcon, and switches
    // it on.
    void RestartMonitor(BOOL bShowIcon);
    CToolBar& GetToolBar() { return m_wndToolBar; }
    CFindBar& GetFindBar() { return m_wndFindBar; }
    COpenBar& GetOpenBar() { return m_wndOpenBar; }
    CMailBar& GetMailBar() { return m_wndMailBar; }
    CCatalogBar& GetCatalogBar() { return m_wndCatalogBar; }
    void SetMailBarStatusText(LPCTSTR pszText1, LPCTSTR pszText2) { m_wndMailBar.SetStatusText(pszText1, pszText2); }
    // The open bar's protection (ID_DOC_PROTECT) or numbering (ID_DOC_VERSION) text follows bState.
    void UpdateOpenBarText(UINT nID, BOOL bState) { m_wndOpenBar.UpdateToggleText(nID, bState); }
    // The active catalog view, or nullptr.
    CSplitterFrame* GetActiveCatalogFrame() const;

    /* What the frame overrides. */

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void GetMessageString(UINT nID, CString& rMessage) const override;
    // Every help request of the program's windows: the page of the context.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;
    // Opens the help page of a context (HelpPages.h).
    void ShowHelpTopic(DWORD_PTR dwContext);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    BOOL OnQueryEndSession();
    void OnEndSession(BOOL bEnding);
    void OnDestroy();
    BOOL OnQueryNewPalette();
    void OnPaletteChanged(CWnd* pFocusWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);

    /* Registered messages (CMainFrame_Messages.cpp). */

    LRESULT OnRedo(WPARAM wParam, LPARAM lParam);
    LRESULT OnReread(WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeColors(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusBarSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnStatusBarResetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectEntry(WPARAM wParam, LPARAM lParam);
    // Compacts the catalogued mail stores behind a progress dialog; a
    // confirmed stop closes the program, a finished run refreshes every view.
    LRESULT OnReorganizeMailbox(WPARAM wParam, LPARAM lParam);

    /* Commands (CMainFrame_Commands.cpp). */

    void OnToggleBar(UINT nID);
    void OnUpdateToggleBar(CCmdUI* pCmdUI);
    void OnReloadCatalog();
    void OnOrphanCheck();
    void OnUpdateOrphanCheck(CCmdUI* pCmdUI);
    void OnFindNext();
    void OnStartNormal();
    void OnShowMainWindow();
    void OnTrayStart();
    void OnExitFromTray();
    void OnToggleMonitorIcon();
    void OnUpdateToggleMonitorIcon(CCmdUI* pCmdUI);
    void OnCatalogNewDocument();
    void OnUpdateCatalogNewDocument(CCmdUI* pCmdUI);
    void OnExitProgram();
    void OnUpdatePaneNodePath(CCmdUI* pCmdUI);
    void OnUpdatePaneCounts(CCmdUI* pCmdUI);
    void OnUpdateNewDocumentMenu(CCmdUI* pCmdUI);
    void OnFavoritesPopup();
    void OnRecentPopup();
    // The documents opened unprotected: the chosen one's preview.
    void OnUnprotectedPopup();
    void OnNewDocumentPopup();
    void OnUpdateNewDocumentPopup(CCmdUI* pCmdUI);
    void OnUpdateFavoritesPopup(CCmdUI* pCmdUI);
    void OnUpdateUnprotectedPopup(CCmdUI* pCmdUI);
    // The open bar's button switches between its open and collapsed look.
    void OnToggleOpenBarLook() { m_wndOpenBar.Toggle(); }
    void OnSendMail();
    void OnUpdateSendMail(CCmdUI* pCmdUI);
    void OnPreferenceSheet(UINT nID);
    void OnDocumentPreferences();
    void OnKeywordSystemSheet();
    // A sheet's command needs its window.
    void OnUpdateSheetCommand(CCmdUI* pCmdUI);
    void OnToggleWebServer(UINT nID);
    void OnUpdateToggleWebServer(CCmdUI* pCmdUI);
    void OnWebLog();
    void OnWebDialog(UINT nID);
    // The web commands need web access switched on, the dialogs their windows too.
    void OnUpdateWebCommand(CCmdUI* pCmdUI);

    /* The menus of documents and programs (CMainFrame_Launchers.cpp). */

    void OnNewDocumentCommand(UINT nID);
    void OnFavoriteCommand(UINT nID);
    // A pending document: its preview.
    void OnPendingDocumentCommand(UINT nID);
    void OnRecentCommand(UINT nID);
    // Every entry of those menus is enabled.
    void OnUpdateDocumentMenuEntry(CCmdUI* pCmdUI);

private:
    // Drops the document popup TWnd from the button of nID and opens the document chosen.
    template<class TWnd> void OpenFromDocumentPopup(UINT nID);
    // Makes the web access server and its tray window, not serving.
    void CreateWebServer();
    // The bar a toggle command shows and hides; nullptr for another command.
    CControlBar* BarOfCommand(UINT nID);
    // Makes one of the floating dialog bars: hidden, floated where every one starts.
    BOOL CreateFloatingBar(CDialogBar& bar, UINT nIDTemplate, UINT nIDCaption);
    // Reads the main window's place and show command from the layout.
    void ReadLayout(CREATESTRUCT& cs);
    // The message pane takes the place of the node path pane, and back.
    void ShowMessagePane();
    void RestorePanes();
    // Offers the new documents the monitor found when no icon of it would
    // remind the user; FALSE when the user catalogues them first.
    BOOL OfferNewDocuments();
    // Saves the settings and the pending documents, as closing and the session's end do.
    void SaveForClose();
    // Loads the bars' docking kept by the last save and applies it.
    void ApplyDockState();
    // Puts the window above the others and paints it now.
    void BringToTop();

    CStatusBar m_wndStatusBar;
    CKadToolBar m_wndToolBar;
    CDragBar m_wndDragBar;
    COpenBar m_wndOpenBar;
    CMailBar m_wndMailBar;
    CFindBar m_wndFindBar;
    CCatalogBar m_wndCatalogBar;
    CNewDocMonitor m_wndMonitor;
    CNewDocMenu m_newDocumentMenu;
    COpenWithMenu m_openWithMenu;
    std::unique_ptr<CWAServer> m_pWebServer;

    /* The toolbar's blinking filter button and its changing images. */
    int m_nFirstBlinkImage { 0 };
    int m_nBlinkCounter { 0 };
    UINT m_nFilterButtonID { 0 };
    UINT m_nFilterButtonStyle { 0 };
    int m_nFilterButtonImage { 0 };
    int m_nFavoritesImage { 0 };
    int m_nFavoritesFullImage { 0 };
    int m_nWebImage { 0 };
    int m_nWebRunningImage { 0 };

    /* Timers running now (0: not running). */
    UINT_PTR m_nBlinkTimer { 0 };
    UINT_PTR m_nPendingTimer { 0 };
    UINT_PTR m_nNoticeTimer { 0 };

    /* The status bar's panes while the message pane shows (width -1: the normal layout). */
    UINT m_nSavedMessageID { 0 };
    UINT m_nSavedMessageStyle { 0 };
    int m_nSavedMessageWidth { -1 };
    UINT m_nSavedPathStyle { 0 };
    int m_nSavedPathWidth { 0 };

    time_t m_tLastNotice { 0 }; // the last daily notice; 0 before the first
};

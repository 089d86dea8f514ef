#include "frame/CMainFrame.h"

#include "frame/AppGlobals.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CSplitterFrame.h"
#include "mail/CMailClientSet.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"
#include "webaccess/server/CWAServer.h"

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CView.h"
#include "platform/window/MdiClient.h"
#include "platform/window/SystemMetrics.h"

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_WM_QUERYENDSESSION()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_ERASEBKGND()
    ON_WM_SYSCOMMAND()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_SETMESSAGESTRING, &CMainFrame::OnSetMessageString)
    ON_WM_TIMER()
    ON_WM_ENDSESSION()
    ON_REGISTERED_MESSAGE(g_nMsgRedo, &CMainFrame::OnRedo)
    ON_REGISTERED_MESSAGE(g_nMsgReread, &CMainFrame::OnReread)
    ON_REGISTERED_MESSAGE(g_nMsgChangeColors, &CMainFrame::OnChangeColors)
    ON_REGISTERED_MESSAGE(g_nMsgStatusSetText, &CMainFrame::OnStatusBarSetText)
    ON_REGISTERED_MESSAGE(g_nMsgStatusResetText, &CMainFrame::OnStatusBarResetText)
    ON_REGISTERED_MESSAGE(g_nMsgSelectEntry, &CMainFrame::OnSelectEntry)
    ON_REGISTERED_MESSAGE(g_nMsgReorganizeMailbox, &CMainFrame::OnReorganizeMailbox)
    ON_COMMAND_RANGE(ID_VIEW_DRAG_BAR, ID_VIEW_DRAG_BAR, &CMainFrame::OnToggleBar)
    ON_COMMAND_RANGE(ID_VIEW_OPEN_BAR, ID_VIEW_OPEN_BAR, &CMainFrame::OnToggleBar)
    ON_COMMAND_RANGE(ID_VIEW_MAIL_BAR, ID_VIEW_MAIL_BAR, &CMainFrame::OnToggleBar)
    ON_COMMAND_RANGE(ID_VIEW_FIND_BAR, ID_VIEW_FIND_BAR, &CMainFrame::OnToggleBar)
    ON_COMMAND_RANGE(ID_VIEW_CATALOG_BAR, ID_VIEW_CATALOG_BAR, &CMainFrame::OnToggleBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DRAG_BAR, &CMainFrame::OnUpdateToggleBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_OPEN_BAR, &CMainFrame::OnUpdateToggleBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_MAIL_BAR, &CMainFrame::OnUpdateToggleBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FIND_BAR, &CMainFrame::OnUpdateToggleBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_CATALOG_BAR, &CMainFrame::OnUpdateToggleBar)
    ON_COMMAND(ID_CATALOG_RELOAD, &CMainFrame::OnReloadCatalog)
    ON_COMMAND(ID_TOOLS_CHECK_UNSORTED, &CMainFrame::OnOrphanCheck)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_CHECK_UNSORTED, &CMainFrame::OnUpdateOrphanCheck)
    ON_COMMAND(ID_CATALOG_FIND_NEXT, &CMainFrame::OnFindNext)
    ON_COMMAND(ID_START_NORMAL, &CMainFrame::OnStartNormal)
    ON_COMMAND(ID_SHOW_MAIN_WINDOW, &CMainFrame::OnShowMainWindow)
    ON_COMMAND(ID_TRAY_START, &CMainFrame::OnTrayStart)
    ON_COMMAND(ID_EXIT_FROM_TRAY, &CMainFrame::OnExitFromTray)
    ON_COMMAND(ID_TOOLS_MONITOR_ICON, &CMainFrame::OnToggleMonitorIcon)
    ON_COMMAND(ID_CATALOG_NEW_DOCUMENT, &CMainFrame::OnCatalogNewDocument)
    ON_UPDATE_COMMAND_UI(ID_CATALOG_NEW_DOCUMENT, &CMainFrame::OnUpdateCatalogNewDocument)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_MONITOR_ICON, &CMainFrame::OnUpdateToggleMonitorIcon)
    ON_COMMAND(ID_APP_EXIT_PROGRAM, &CMainFrame::OnExitProgram)
    ON_COMMAND_RANGE(ID_NEW_DOCUMENT_FIRST, ID_NEW_DOCUMENT_LAST, &CMainFrame::OnNewDocumentCommand)
    ON_COMMAND_RANGE(ID_FAVORITE_FIRST, ID_FAVORITE_LAST, &CMainFrame::OnFavoriteCommand)
    ON_COMMAND_RANGE(ID_PENDING_FIRST, ID_PENDING_LAST, &CMainFrame::OnPendingDocumentCommand)
    ON_COMMAND_RANGE(ID_RECENT_FIRST, ID_RECENT_LAST, &CMainFrame::OnRecentCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_NEW_DOCUMENT_FIRST, ID_NEW_DOCUMENT_LAST, &CMainFrame::OnUpdateDocumentMenuEntry)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FAVORITE_FIRST, ID_FAVORITE_LAST, &CMainFrame::OnUpdateDocumentMenuEntry)
    ON_UPDATE_COMMAND_UI_RANGE(ID_PENDING_FIRST, ID_PENDING_LAST, &CMainFrame::OnUpdateDocumentMenuEntry)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RECENT_FIRST, ID_RECENT_LAST, &CMainFrame::OnUpdateDocumentMenuEntry)
    ON_UPDATE_COMMAND_UI(ID_NEW_DOCUMENT_MENU, &CMainFrame::OnUpdateNewDocumentMenu)
    ON_UPDATE_COMMAND_UI(ID_FAVORITES_MENU, &CMainFrame::OnUpdateDocumentPlaceMenu)
    ON_UPDATE_COMMAND_UI(ID_PENDING_MENU, &CMainFrame::OnUpdateDocumentPlaceMenu)
    ON_UPDATE_COMMAND_UI(ID_RECENT_MENU, &CMainFrame::OnUpdateDocumentPlaceMenu)
    ON_COMMAND(ID_FAVORITES_POPUP, &CMainFrame::OnFavoritesPopup)
    ON_COMMAND(ID_RECENT_POPUP, &CMainFrame::OnRecentPopup)
    ON_COMMAND(ID_UNPROTECTED_POPUP, &CMainFrame::OnUnprotectedPopup)
    ON_COMMAND(ID_NEW_DOCUMENT_POPUP, &CMainFrame::OnNewDocumentPopup)
    ON_UPDATE_COMMAND_UI(ID_NEW_DOCUMENT_POPUP, &CMainFrame::OnUpdateNewDocumentPopup)
    ON_UPDATE_COMMAND_UI(ID_FAVORITES_POPUP, &CMainFrame::OnUpdateFavoritesPopup)
    ON_UPDATE_COMMAND_UI(ID_UNPROTECTED_POPUP, &CMainFrame::OnUpdateUnprotectedPopup)
    ON_UPDATE_COMMAND_UI(ID_RECENT_POPUP, &CMainFrame::OnUpdateDocumentMenuEntry)
    ON_COMMAND(IDC_OPEN_BAR_TOGGLE, &CMainFrame::OnToggleOpenBarLook)
    ON_COMMAND(ID_TOOLS_SEND_MAIL, &CMainFrame::OnSendMail)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_SEND_MAIL, &CMainFrame::OnUpdateSendMail)
    ON_COMMAND_RANGE(ID_TOOLS_PREFERENCES, ID_TOOLS_PREFERENCES, &CMainFrame::OnPreferenceSheet)
    ON_COMMAND_RANGE(ID_TOOLS_MONITOR_PREFERENCES, ID_TOOLS_MONITOR_PREFERENCES, &CMainFrame::OnPreferenceSheet)
    ON_COMMAND_RANGE(ID_TOOLS_WEB_PREFERENCES, ID_TOOLS_WEB_PREFERENCES, &CMainFrame::OnPreferenceSheet)
    ON_COMMAND(ID_TOOLS_DOCUMENTS, &CMainFrame::OnDocumentPreferences)
    ON_COMMAND(ID_TOOLS_KEYWORDS_SYSTEMS, &CMainFrame::OnKeywordSystemSheet)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_PREFERENCES, &CMainFrame::OnUpdateSheetCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_MONITOR_PREFERENCES, &CMainFrame::OnUpdateSheetCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_WEB_PREFERENCES, &CMainFrame::OnUpdateSheetCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_DOCUMENTS, &CMainFrame::OnUpdateSheetCommand)
    ON_UPDATE_COMMAND_UI(ID_TOOLS_KEYWORDS_SYSTEMS, &CMainFrame::OnUpdateSheetCommand)
    ON_COMMAND_RANGE(ID_WEB_TOGGLE, ID_WEB_TOGGLE, &CMainFrame::OnToggleWebServer)
    ON_COMMAND_RANGE(ID_WEB_TOGGLE_TRAY, ID_WEB_TOGGLE_TRAY, &CMainFrame::OnToggleWebServer)
    ON_UPDATE_COMMAND_UI(ID_WEB_TOGGLE, &CMainFrame::OnUpdateToggleWebServer)
    ON_COMMAND(ID_WEB_LOG, &CMainFrame::OnWebLog)
    ON_COMMAND_RANGE(ID_WEB_CHANGE_USER, ID_WEB_INVITE, &CMainFrame::OnWebDialog)
    ON_UPDATE_COMMAND_UI(ID_WEB_LOG, &CMainFrame::OnUpdateWebCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WEB_CHANGE_USER, ID_WEB_INVITE, &CMainFrame::OnUpdateWebCommand)
    ON_UPDATE_COMMAND_UI(ID_PANE_NODE_PATH, &CMainFrame::OnUpdatePaneNodePath)
    ON_UPDATE_COMMAND_UI(ID_PANE_COUNTS, &CMainFrame::OnUpdatePaneCounts)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The status bar's panes: the message pane (hidden in the normal layout), the
// selected node's path, the counts of the list, and the key indicators.
constexpr UINT INDICATORS[]
    = { ID_SEPARATOR, ID_PANE_NODE_PATH, ID_PANE_COUNTS, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL };

constexpr DWORD STATUS_BAR_STYLE = 0x50008200; // visible child, bottom, sized by its panes
constexpr DWORD TOOLBAR_STYLE = 0x50002800;    // visible child, top, bordered below
constexpr DWORD TOOLBAR_BAR_STYLES = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr DWORD DRAG_BAR_STYLE = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_FLYBY | CBRS_TOOLTIPS;
constexpr DWORD FLOATING_BAR_STYLE = CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr UINT MESSAGE_PANE_HIDDEN = SBPS_NOBORDERS | SBPS_DISABLED;
constexpr UINT PANE_STRETCH = SBPS_NOBORDERS | SBPS_STRETCH;

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

/***************************** Creation and bars *****************************/

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    lpCreateStruct->style |= WS_HSCROLL | WS_VSCROLL;
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);

    if (!m_wndStatusBar.Create(this, STATUS_BAR_STYLE, AFX_IDW_STATUS_BAR)
        || !m_wndStatusBar.SetIndicators(INDICATORS, static_cast<int>(std::size(INDICATORS))))
        return -1;
    m_wndStatusBar.SetPaneInfo(0, 0, MESSAGE_PANE_HIDDEN, 0);
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    m_wndStatusBar.GetPaneInfo(1, nID, nStyle, cxWidth);
    m_wndStatusBar.SetPaneInfo(1, nID, PANE_STRETCH, cxWidth);
    m_wndStatusBar.SetPaneText(2, "");

    if (!m_wndToolBar.Create(this, TOOLBAR_STYLE, AFX_IDW_TOOLBAR) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | TOOLBAR_BAR_STYLES);
    m_wndToolBar.ModifyStyle(0, TBSTYLE_FLAT);
    m_wndToolBar.SetWindowText(GetResString(IDS_TOOLBAR));
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    CToolBarCtrl& toolbar = m_wndToolBar.GetToolBarCtrl();
    m_nFirstBlinkImage = toolbar.AddBitmap(BLINK_FRAMES, IDB_FILTER_BLINK);
    m_nFavoritesFullImage = toolbar.AddBitmap(1, IDB_FAVORITES_FULL);
    m_nWebRunningImage = toolbar.AddBitmap(1, IDB_WEB_RUNNING);
    m_nBlinkCounter = 0;
    UINT nButtonStyle = 0;
    m_wndToolBar.GetButtonInfo(m_wndToolBar.CommandToIndex(ID_CATALOG_LIST_FILTER), m_nFilterButtonID,
        m_nFilterButtonStyle, m_nFilterButtonImage);
    m_wndToolBar.GetButtonInfo(m_wndToolBar.CommandToIndex(ID_FAVORITES_POPUP), nID, nButtonStyle, m_nFavoritesImage);
    m_wndToolBar.GetButtonInfo(m_wndToolBar.CommandToIndex(ID_WEB_TOGGLE), nID, nButtonStyle, m_nWebImage);

    if (!m_wndDragBar.Create(this, IDD_DRAG_BAR, DRAG_BAR_STYLE, IDD_DRAG_BAR))
        return -1;
    // The open bar's look and width as kept, before it is made.
    m_wndOpenBar.LoadState(g_regKeyDesktop);
    if (!CreateFloatingBar(m_wndOpenBar, IDD_OPEN_BAR, IDS_OPEN_BAR))
        return -1;
    if (!CreateFloatingBar(m_wndMailBar, IDD_MAIL_BAR, IDS_MAIL_BAR))
        return -1;
    m_wndMailBar.LoadState(g_regKeyDesktop);
    if (!CreateFloatingBar(m_wndFindBar, IDD_FIND_BAR, IDS_FIND_BAR))
        return -1;
    m_wndFindBar.LoadState(g_regKeyDesktop);
    if (!CreateFloatingBar(m_wndCatalogBar, IDD_CATALOG_BAR, IDS_CATALOG_BAR))
        return -1;
    // The find bar shows by its kept state; the mail bar too, but only where a
    // mail program keeps mailboxes (else nothing could hide it again).
    ShowControlBar(&m_wndFindBar, m_wndFindBar.IsKeptShown(), FALSE);
    ShowControlBar(&m_wndMailBar, m_wndMailBar.IsKeptShown() && GetMailClientSet().HasStores(), FALSE);

    // A monitor that cannot start leaves the window without its tray icon.
    if (CArchivoraApp* pApp = GetArchivoraApp()) {
        m_wndMonitor.AttachCatalog(pApp->GetMainCatalog(), pApp->GetPendingDocs());
        m_wndMonitor.Start();
    }
    CreateWebServer();
    return 0;
}

void CMainFrame::RestartMonitor(BOOL bShowIcon)
{
    m_wndMonitor.Stop();
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    m_wndMonitor.AttachCatalog(pApp->GetMainCatalog(), pApp->GetPendingDocs());
    if (!m_wndMonitor.Start())
        return;
    if (bShowIcon)
        m_wndMonitor.ShowIcon();
    m_wndMonitor.EnableMonitor(TRUE);
}

BOOL CMainFrame::CreateFloatingBar(CDialogBar& bar, UINT nIDTemplate, UINT nIDCaption)
{
    if (!bar.Create(this, nIDTemplate, FLOATING_BAR_STYLE, nIDTemplate))
        return FALSE;
    bar.SetWindowText(GetResString(nIDCaption));
    bar.ModifyStyle(WS_VISIBLE, 0);
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    FloatControlBar(&bar, CPoint(cxScreen / 2, cyScreen / 3), CBRS_ALIGN_TOP);
    ShowControlBar(&bar, FALSE, FALSE);
    return TRUE;
}

CSplitterFrame* CMainFrame::GetActiveCatalogFrame() const
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild && pChild->IsKindOf(RUNTIME_CLASS(CSplitterFrame)) ? static_cast<CSplitterFrame*>(pChild) : nullptr;
}

/***************************** What the frame overrides *****************************/

void CMainFrame::OnUpdateFrameTitle(BOOL)
{
    // The caption is the program's name whatever view is active.
    CString strTitle;
    strTitle.LoadString(AFX_IDS_APP_TITLE);
    SetWindowText(strTitle);
}

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const
{
    if (nID == AFX_IDS_IDLEMESSAGE) {
        rMessage.Empty();
        return;
    }
    CMDIFrameWnd::GetMessageString(nID, rMessage);
}

BOOL CMainFrame::OnQueryNewPalette()
{
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        if (CView* pView = pChild->GetActiveView())
            pView->SendMessage(WM_QUERYNEWPALETTE, 0, 0);
    }
    return FALSE;
}

void CMainFrame::OnPaletteChanged(CWnd*)
{
    const MSG* pMsg = GetCurrentMessage();
    SendMessageToDescendants(WM_PALETTECHANGED, pMsg->wParam, pMsg->lParam, TRUE, FALSE);
}

BOOL CMainFrame::OnEraseBkgnd(CDC*)
{
    // The MDI client and the bars cover the whole window.
    return TRUE;
}

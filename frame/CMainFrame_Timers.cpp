// The main frame's timers, its idle step, the status bar's two layouts and
// the menus' placeholders.

#include "frame/CMainFrame.h"

#include "catalog/CCatalogSearch.h"
#include "catalog/CPendingDocs.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/CArqListView.h"
#include "frame/CSplitterFrame.h"
#include "frame/CatalogHold.h"
#include "frame/DesktopLayout.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CMailDocumentHooks.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "store/DateHelpers.h"
#include "store/ResString.h"

#include "platform/base/CTime.h"
#include "platform/framework/CMenu.h"

#include <algorithm>
#include <memory>

namespace {

// The expired documents: those of the expiring-documents node whose expiry date has passed.
constexpr LONG EXPIRED_QUERY[QUERY_WORDS] = { 1, 1, 0, 1, 1, 4071 };

constexpr UINT MESSAGE_PANE_HIDDEN = SBPS_NOBORDERS | SBPS_DISABLED;
constexpr UINT PANE_STRETCH = SBPS_NOBORDERS | SBPS_STRETCH;

// The placeholder a submenu is turned into while its menu opens, by the
// range of the submenu's first command (a list whose first entries were
// skipped starts past the range's first): the update pass makes a popup of it again.
struct CPlaceholder {
    UINT nFirstID;
    UINT nLastID;
    UINT nPlaceholderID;
    UINT nTextID;
};
constexpr CPlaceholder SUBMENU_PLACEHOLDERS[] = {
    { ID_RECENT_FIRST, ID_RECENT_LAST, ID_RECENT_MENU, IDS_RECENTLY_CATALOGUED },
    { ID_FAVORITE_FIRST, ID_FAVORITE_LAST, ID_FAVORITES_MENU, IDS_FAVORITES },
    { ID_PENDING_FIRST, ID_PENDING_LAST, ID_PENDING_MENU, IDS_PENDING_DOCUMENTS },
    { ID_OPEN_WITH_FIRST, ID_OPEN_WITH_LAST, ID_DOC_OPEN, IDS_OPEN },
};
// The first commands of the open-action submenus, replaced only in the Document menu.
constexpr UINT OPEN_ACTION_FIRST_IDS[] = { 57601, 32816, 1497, 32810, 32811, 32852, 32853, 32854, 32855 };
constexpr UINT DOCUMENT_MENU_INDEX = 1;

} // namespace

/***************************** Timers *****************************/

void CMainFrame::AnimateToolbarButton(BOOL bOn)
{
    if (bOn && !m_nBlinkTimer) {
        m_nBlinkTimer = SetTimer(TIMER_BLINK, BLINK_INTERVAL, nullptr);
    } else if (!bOn && m_nBlinkTimer) {
        KillTimer(m_nBlinkTimer);
        m_nBlinkTimer = 0;
        m_wndToolBar.SetButtonInfo(m_wndToolBar.CommandToIndex(m_nFilterButtonID), m_nFilterButtonID,
            m_nFilterButtonStyle, m_nFilterButtonImage);
    }
}

void CMainFrame::StopTimers()
{
    AnimateToolbarButton(FALSE);
    for (UINT_PTR* pnTimer : { &m_nPendingTimer, &m_nNoticeTimer }) {
        if (*pnTimer)
            KillTimer(*pnTimer);
        *pnTimer = 0;
    }
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_BLINK:
        m_nBlinkCounter %= BLINK_FRAMES;
        m_wndToolBar.SetButtonInfo(m_wndToolBar.CommandToIndex(m_nFilterButtonID), m_nFilterButtonID,
            m_nFilterButtonStyle, m_nFirstBlinkImage + m_nBlinkCounter);
        ++m_nBlinkCounter;
        break;
    case TIMER_PENDING:
        if (CArchivoraApp* pApp = GetArchivoraApp(); pApp && pApp->GetPendingDocs()) {
            CCatalogHold hold(pApp->GetMainCatalog());
            // A changed file changes what the lists show of it.
            if (pApp->GetPendingDocs()->CheckPendingFile())
                SendMessage(g_nMsgReread, 0, 0);
        }
        break;
    case TIMER_NOTICE:
        if (!IsIconic())
            ShowDailyNotice();
        break;
    default:
        CMDIFrameWnd::OnTimer(nIDEvent);
        break;
    }
}

void CMainFrame::ShowDailyNotice()
{
    const time_t tNow = CTime::GetCurrentTime().GetTime();
    if (m_tLastNotice == 0)
        m_tLastNotice = tNow;
    if (GetToday(tNow) == GetToday(m_tLastNotice))
        return;
    m_tLastNotice = tNow;
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    std::unique_ptr<CNodeRec> pExpiring(pCatalog ? new CNodeRec(pCatalog, CNodeRec::EXPIRING_NODE_BLOCK, 0) : nullptr);
    std::unique_ptr<CDocumentSet> pExpired(
        pExpiring && pExpiring->IsValid() ? pExpiring->Query(EXPIRED_QUERY, QUERY_WORDS) : nullptr);
    if (pExpired && pExpired->GetCount() >= 1) {
        const CString strDate = CTime(tNow).Format("%A, %B %d, %Y");
        if (GetFramePrompts().DailyNotice(pExpired->GetCount(), strDate) == IDOK)
            ShowDragBarWindow(CCoolMenu::ENTRY_EXPIRED);
    }
    CRegistryKey settings;
    if (settings.Create(HKEY_CURRENT_USER, SETTINGS_KEY_PATH, KEY_WRITE))
        settings.SetDWORD("Current Date", static_cast<DWORD>(m_tLastNotice));
}

/***************************** The drag bar's windows *****************************/

void CMainFrame::RefreshDragBarWindows()
{
    if (m_wndDragBar.GetList().GetSafeHwnd())
        m_wndDragBar.GetList().OnCatalogChanged();
}

void CMainFrame::CloseDragBarWindows()
{
    m_wndDragBar.GetList().CloseAll();
}

void CMainFrame::ShowDragBarWindow(int nEntry)
{
    if (m_wndDragBar.GetList().GetSafeHwnd())
        m_wndDragBar.GetList().ShowEntryWindow(nEntry);
}

BOOL CMainFrame::IsDragBarWindowShown(int nEntry)
{
    return m_wndDragBar.GetList().IsEntryWindowShown(nEntry);
}

/***************************** Searches *****************************/

void CMainFrame::SearchCatalogIntoResults(CCatalog* pCatalog)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp || !pCatalog)
        return;
    // The window reads the index the pass writes anew.
    if (m_wndDragBar.GetList().GetSafeHwnd())
        m_wndDragBar.GetList().CloseEntryWindow(CCoolMenu::ENTRY_SEARCH_RESULTS);
    CCatalogSearch search(pCatalog, &pApp->GetFindSettings().GetLastFindFilter());
    search.Run(pApp->GetFolderIndexPath(), GetSafeHwnd());
    if (g_bMailboxReorganizePending)
        PostMessage(g_nMsgReorganizeMailbox, 0, 0);
    ShowDragBarWindow(CCoolMenu::ENTRY_SEARCH_RESULTS);
    if (m_wndDragBar.GetList().GetSafeHwnd())
        m_wndDragBar.GetList().UpdateImages();
}

void CMainFrame::PresentFoundResult(CSplitterFrame* pView)
{
    ActivateMainWindow();
    if (!pView)
        return;
    MDIActivate(pView);
    pView->ShowFocusedDocumentNow();
}

/***************************** Idle *****************************/

BOOL CMainFrame::IdleRefreshLists()
{
    // The drag bar's open lists, then the active view's list, then the other views' lists, one row each.
    if (m_wndDragBar.GetList().GetSafeHwnd() && m_wndDragBar.GetList().IdleRefresh())
        return TRUE;
    CSplitterFrame* pActive = GetActiveCatalogFrame();
    auto refresh = [](CSplitterFrame* pFrame) {
        CArqListView* pView = pFrame ? pFrame->GetListView() : nullptr;
        return pView && pView->GetListCtrl().IdleRefreshNextItem();
    };
    if (refresh(pActive))
        return TRUE;
    for (HWND hChild = ::GetWindow(m_hWndMDIClient, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        auto* pFrame = dynamic_cast<CSplitterFrame*>(CWnd::FromHandlePermanent(hChild));
        if (pFrame && pFrame != pActive && refresh(pFrame))
            return TRUE;
    }
    return FALSE;
}

/***************************** The status bar *****************************/

void CMainFrame::ShowMessagePane()
{
    m_wndStatusBar.GetPaneInfo(0, m_nSavedMessageID, m_nSavedMessageStyle, m_nSavedMessageWidth);
    UINT nPathID = 0;
    m_wndStatusBar.GetPaneInfo(1, nPathID, m_nSavedPathStyle, m_nSavedPathWidth);
    m_wndStatusBar.SetPaneInfo(1, nPathID, MESSAGE_PANE_HIDDEN, 0);
    m_wndStatusBar.SetPaneInfo(0, m_nSavedMessageID, PANE_STRETCH, m_nSavedPathWidth);
}

void CMainFrame::RestorePanes()
{
    const UINT nPathID = m_wndStatusBar.GetItemID(1);
    m_wndStatusBar.SetPaneInfo(0, m_nSavedMessageID, m_nSavedMessageStyle, m_nSavedMessageWidth);
    m_wndStatusBar.SetPaneInfo(1, nPathID, m_nSavedPathStyle, m_nSavedPathWidth);
    m_nSavedMessageWidth = -1;
}

LRESULT CMainFrame::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (wParam == AFX_IDS_IDLEMESSAGE) {
        if (m_nSavedMessageWidth != -1)
            RestorePanes();
    } else if (m_nSavedMessageWidth == -1) {
        ShowMessagePane();
    }
    return CMDIFrameWnd::OnSetMessageString(wParam, lParam);
}

/***************************** Menus *****************************/

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (!bSysMenu && pPopupMenu) {
        const UINT nCount = pPopupMenu->GetMenuItemCount();
        for (UINT nPos = 0; nCount != static_cast<UINT>(-1) && nPos < nCount; ++nPos) {
            if (CMenu* pSubMenu = pPopupMenu->GetSubMenu(static_cast<int>(nPos))) {
                const UINT nFirstID = pSubMenu->GetMenuItemID(0);
                for (const CPlaceholder& placeholder : SUBMENU_PLACEHOLDERS) {
                    if (nFirstID >= placeholder.nFirstID && nFirstID <= placeholder.nLastID) {
                        pPopupMenu->ModifyMenu(nPos, MF_BYPOSITION | MF_STRING, placeholder.nPlaceholderID,
                            GetResString(placeholder.nTextID));
                        break;
                    }
                }
                if (nIndex == DOCUMENT_MENU_INDEX
                    && std::find(std::begin(OPEN_ACTION_FIRST_IDS), std::end(OPEN_ACTION_FIRST_IDS), nFirstID)
                        != std::end(OPEN_ACTION_FIRST_IDS))
                    pPopupMenu->ModifyMenu(
                        nPos, MF_BYPOSITION | MF_STRING, ID_DOC_OPEN_WITH_MENU, GetResString(IDS_OPEN_WITH));
                continue;
            }
            const UINT nID = pPopupMenu->GetMenuItemID(static_cast<int>(nPos));
            if (nID == ID_DOC_PROTECT || nID == ID_DOC_PROTECT_MAIL)
                pPopupMenu->ModifyMenu(
                    nPos, MF_BYPOSITION | MF_STRING, ID_DOC_PROTECT_WORDED, GetResString(IDS_PROTECT));
        }
    }
    CMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

namespace {

// Turns the submenu of pMenu whose first command is nFirstID into the plain item nID named by nTextID.
void ReplaceSubmenu(CMenu* pMenu, UINT nFirstID, UINT nID, UINT nTextID)
{
    const UINT nCount = pMenu ? pMenu->GetMenuItemCount() : 0;
    for (UINT nPos = 0; nCount != static_cast<UINT>(-1) && nPos < nCount; ++nPos) {
        CMenu* pSubMenu = pMenu->GetSubMenu(static_cast<int>(nPos));
        if (pSubMenu && pSubMenu->GetMenuItemID(0) == nFirstID) {
            pMenu->ModifyMenu(nPos, MF_BYPOSITION | MF_STRING, nID, GetResString(nTextID));
            return;
        }
    }
}

} // namespace

void CMainFrame::AttachNewDocumentMenu(CMenu* pMenu, UINT nPos)
{
    if (!pMenu)
        return;
    m_newDocumentMenu.Rebuild();
    pMenu->ModifyMenu(nPos, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(m_newDocumentMenu.GetSafeHmenu()),
        GetResString(IDS_NEW_DOCUMENT));
}

void CMainFrame::ReplaceMenuItem(CMenu* pMenu)
{
    ReplaceSubmenu(pMenu, ID_OPEN_WITH_FIRST, ID_DOC_OPEN, IDS_OPEN);
}

void CMainFrame::ReplaceNewDocumentMenuItem(CMenu* pMenu)
{
    ReplaceSubmenu(pMenu, ID_CATALOG_NEW_GROUP, ID_NEW_DOCUMENT_MENU, IDS_NEW_DOCUMENT);
}

void CMainFrame::OnUpdateNewDocumentMenu(CCmdUI* pCmdUI)
{
    if (!IsIconic() && pCmdUI->m_pMenu)
        AttachNewDocumentMenu(pCmdUI->m_pMenu, pCmdUI->m_nIndex);
}

void CMainFrame::OnUpdateDocumentPlaceMenu(CCmdUI* pCmdUI)
{
    if (!pCmdUI->m_pMenu)
        return;
    CArchivoraApp* pApp = GetArchivoraApp();
    // Minimised, the catalog stays closed and the places stay plain.
    CCatalog* pCatalog = pApp && !IsIconic() ? pApp->GetMainCatalog() : nullptr;
    CCatalogHold hold(pCatalog);
    CImageMenu* pPlace = nullptr;
    UINT nTextID = 0;
    BOOL bFilled = FALSE;
    if (hold.IsHeld()) {
        switch (pCmdUI->m_nID) {
        case ID_FAVORITES_MENU:
            pPlace = &m_favoritesMenu;
            nTextID = IDS_FAVORITES;
            bFilled = m_favoritesMenu.BuildFavorites(pCatalog);
            break;
        case ID_PENDING_MENU:
            pPlace = &m_pendingMenu;
            nTextID = IDS_PENDING_DOCUMENTS;
            bFilled = m_pendingMenu.BuildPending(pCatalog, pApp->GetPendingDocs());
            break;
        case ID_RECENT_MENU:
            pPlace = &m_recentMenu;
            nTextID = IDS_RECENTLY_CATALOGUED;
            bFilled = m_recentMenu.Build(pCatalog);
            break;
        default:
            break;
        }
    }
    if (!bFilled) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->m_pMenu->ModifyMenu(pCmdUI->m_nIndex, MF_BYPOSITION | MF_POPUP,
        reinterpret_cast<UINT_PTR>(pPlace->GetSafeHmenu()), GetResString(nTextID));
}

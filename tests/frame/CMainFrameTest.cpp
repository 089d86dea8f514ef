// The main frame's states (shown, minimised, hidden in the tray), its exit
// question, the autostart value, its program-wide messages and its commands.

#include "frame/CMainFrame.h"

#include "tests/frame/AppTestFixture.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CPendingDocs.h"
#include "frame/AppMessages.h"
#include "frame/CCatalogBar.h"
#include "frame/CDlgExpiredDocuments.h"
#include "frame/CSisTreeView.h"
#include "frame/WebAccessServices.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"
#include "store/CRegistryKey.h"
#include "store/PreferenceSheets.h"
#include "store/ResString.h"
#include "tests/store/FlushCounter.h"
#include "ui/CImageMenu.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAServicePrompts.h"

#include "platform/base/Clock.h"
#include "platform/base/PathMap.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"
#include "platform/gdi/Drawing.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr char PREFERENCES[] = "Default\\Preferences";
constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The driver's clock, its time of day moved on by whole days while it lives.
class COffsetClock : public CClockSource {
public:
    COffsetClock()
        : m_pBase(SetClockSource(this))
    {
    }
    ~COffsetClock() override { SetClockSource(m_pBase); }
    ULONGLONG UtcNow() override { return m_pBase->UtcNow() + m_nOffsetSeconds * FILETIME_UNITS_PER_SECOND; }
    ULONGLONG Ticks() override { return m_pBase->Ticks(); }

    ULONGLONG m_nOffsetSeconds { 0 };

private:
    CClockSource* m_pBase;
};

// What an update pass made of one command.
class CRecordedState : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetText(LPCTSTR) override { }

    BOOL m_bEnabled { TRUE };
    int m_nCheck { 0 };
};

// The new-document monitor's list of waiting documents, answered by script.
class CWaitingListPrompts : public CCatalogPrompts {
public:
    int ShowNewDocsSummary(const CNewDocNoticeArray&, HWND) override
    {
        ++m_nAsked;
        return m_nAnswer;
    }

    int m_nAnswer { IDCANCEL };
    int m_nAsked { 0 };
};

class MainFrameTest : public AppTest {
protected:
    // A set-up catalog with one document that belongs to no system.
    void WriteCatalogWithUnsortedDocument()
    {
        WriteCatalog([](CCatalog& catalog, CNodeRec&) {
            std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(&catalog));
            AddDocument(catalog, *pUnsorted, "C:\\docs\\loose.txt");
        });
    }
    CRecordedState Update(UINT nID)
    {
        CRecordedState state;
        state.m_nID = nID;
        state.DoUpdate(MainFrame(), TRUE);
        return state;
    }
    int OpenCount() { return App().GetMainCatalog()->GetOpenCount(); }
    int DocumentsOfNode(LONG nKind)
    {
        CNodeRec node(App().GetMainCatalog(), nKind);
        return node.CountDocuments();
    }
    BOOL Ended() { return App().m_pMainWnd == nullptr; }
    // The flushes of the main catalog's journal so far.
    int JournalFlushes(const CFlushCounter& flushes) const
    {
        auto it = flushes.m_flushes.find(std::string(ProgramPath("archiv.cat.jnl")));
        return it == flushes.m_flushes.end() ? 0 : it->second;
    }
};

} // namespace

/***************************** Closing, hiding, showing *****************************/

TEST_F(MainFrameTest, ClosingWithATrayIconHidesTheWindowAndClosesTheCatalog)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    ASSERT_EQ(CTestDriver::TrayIcons().size(), 1U);
    EXPECT_EQ(OpenCount(), 1);
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    ASSERT_FALSE(Ended());
    EXPECT_FALSE(MainFrame()->IsWindowVisible());
    EXPECT_EQ(OpenCount(), 0);
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 1U);

    // Shown from the tray it opens the catalog again; hidden, a close ends it at once.
    Command(ID_SHOW_MAIN_WINDOW);
    EXPECT_TRUE(MainFrame()->IsWindowVisible());
    EXPECT_EQ(OpenCount(), 1);
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    EXPECT_TRUE(Ended());
}

TEST_F(MainFrameTest, WithoutATrayClosingEndsTheProgram)
{
    CTestDriver::SetTrayEnabled(FALSE);
    WriteCatalog();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    EXPECT_TRUE(Ended());
}

TEST_F(MainFrameTest, WithoutATrayShowMonitorIconSaysSo)
{
    CTestDriver::SetTrayEnabled(FALSE);
    WriteCatalog();
    ASSERT_TRUE(Start());
    CNewDocMonitor& monitor = MainFrame()->GetMonitor();
    ASSERT_TRUE(monitor.IsStarted());
    ASSERT_FALSE(monitor.IsIconShown());
    std::vector<CString> messages;
    m_driver.OnNextDialog([&messages](HWND hBox) {
        messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
        ::EndDialog(hBox, IDOK);
    });
    Command(ID_TOOLS_MONITOR_ICON);
    EXPECT_EQ(messages, std::vector<CString> { GetResString(IDS_MONITOR_NO_TRAY) });
    EXPECT_FALSE(monitor.IsIconShown());
    EXPECT_EQ(Update(ID_TOOLS_MONITOR_ICON).m_nCheck, 0);
}

TEST_F(MainFrameTest, MinimisingClosesTheCatalogAndRestoringOpensItOnce)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    MainFrame()->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    m_driver.Pump();
    EXPECT_TRUE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 0);
    MainFrame()->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    m_driver.Pump();
    EXPECT_FALSE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 1);
}

TEST_F(MainFrameTest, ExitFromTheTrayOnlyHidesTheIconOfAShownWindow)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    Command(ID_EXIT_FROM_TRAY);
    EXPECT_FALSE(Ended());
    EXPECT_TRUE(CTestDriver::TrayIcons().empty());
    // Shown again, hidden, then exit from the tray ends the program.
    Command(ID_TOOLS_MONITOR_ICON);
    ASSERT_EQ(CTestDriver::TrayIcons().size(), 1U);
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    ASSERT_FALSE(MainFrame()->IsWindowVisible());
    Command(ID_EXIT_FROM_TRAY);
    EXPECT_TRUE(Ended());
}

TEST_F(MainFrameTest, ExitAsksFirstAboutTheDocumentsLeftUnprotected)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    App().GetPendingDocs()->AddEntry("c:\\docs\\plan.txt", CPendingDocs::FLAG_UNPROTECTED);
    const auto exitFromTheFileMenu = [this] {
        m_driver.ChooseNextMenuCommand(ID_APP_EXIT_PROGRAM);
        // The keys' release finds no window once the program ended.
        (void)m_driver.PressKey('F', CTestDriver::ALT);
        m_driver.Pump();
    };
    // Cancel keeps the program.
    m_driver.AnswerNextMessageBox(IDCANCEL);
    exitFromTheFileMenu();
    ASSERT_FALSE(Ended());
    EXPECT_TRUE(MainFrame()->IsWindowVisible());
    // No: the program ends with the document still listed for the next start.
    m_driver.AnswerNextMessageBox(IDNO);
    exitFromTheFileMenu();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(ProductValue("Desktop\\PendingDocs", "Count"), 1U);
}

TEST_F(MainFrameTest, TheMonitorsWaitingDocumentsAreOfferedBeforeTheWindowCloses)
{
    // The catalog covers one folder of its own, where a new document appears.
    TempFolder watched;
    const std::string strFolder = ProgramPathFromHostPath(watched.Path().string());
    WriteCatalog([&](CCatalog& catalog, CNodeRec&) {
        ASSERT_TRUE(catalog.LoadExtensions("txt"));
        ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETWORK, strFolder.c_str())));
    });
    CWaitingListPrompts prompts;
    SetCatalogPrompts(&prompts);
    ASSERT_TRUE(Start());
    CNewDocMonitor& monitor = MainFrame()->GetMonitor();
    ASSERT_TRUE(monitor.IsStarted());
    EXPECT_TRUE(monitor.IsMonitorEnabled()) << "switched on once the program started";
    EXPECT_FALSE(Update(ID_CATALOG_NEW_DOCUMENT).m_bEnabled) << "nothing waits";
    Command(ID_TOOLS_MONITOR_ICON);
    ASSERT_FALSE(monitor.IsIconShown());

    watched.WriteFile("report.txt", "new");
    ASSERT_TRUE(m_driver.PumpUntil([&] { return !monitor.GetNotices().empty(); })) << "the watcher saw it";
    m_driver.Advance(CNewDocMonitor::DRAIN_DELAY_MS);
    ASSERT_EQ(monitor.GetPendingCount(), 1);
    EXPECT_TRUE(Update(ID_CATALOG_NEW_DOCUMENT).m_bEnabled);

    // No icon would remind the user: closing asks first, and cataloguing now keeps the window.
    prompts.m_nAnswer = IDOK;
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    EXPECT_EQ(prompts.m_nAsked, 1);
    ASSERT_FALSE(Ended());
    EXPECT_TRUE(MainFrame()->IsWindowVisible());

    // "APPM Refazer": a document catalogued meanwhile leaves the monitor's list.
    {
        std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(App().GetMainCatalog()));
        AddDocument(*App().GetMainCatalog(), *pSystems, (strFolder + "\\report.txt").c_str());
    }
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    EXPECT_EQ(monitor.GetPendingCount(), 0);
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    EXPECT_EQ(prompts.m_nAsked, 1) << "nothing waits any more";
    EXPECT_TRUE(Ended());
    SetCatalogPrompts(nullptr);
}

/***************************** The exit question *****************************/

TEST_F(MainFrameTest, DocumentsWithoutASystemAreOfferedToTheArchiveAtExit)
{
    WriteCatalogWithUnsortedDocument();
    ASSERT_TRUE(Start());
    m_prompts.m_nOrphanAnswer = IDCANCEL;
    Command(ID_APP_EXIT_PROGRAM);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(m_prompts.CountOf("orphan warning"), 1);

    m_prompts.m_nOrphanAnswer = IDYES;
    m_prompts.m_bDontWarn = TRUE;
    Command(ID_APP_EXIT_PROGRAM);
    EXPECT_TRUE(Ended());
    Stop();
    // The document is in the archive now, and the warning is off for the next time.
    ASSERT_TRUE(Start());
    EXPECT_EQ(DocumentsOfNode(4), 1);
    Command(ID_APP_EXIT_PROGRAM);
    EXPECT_EQ(m_prompts.CountOf("orphan warning"), 2);
    EXPECT_EQ(ProductValue(PREFERENCES, "OrphanWarning"), 0U);
}

TEST_F(MainFrameTest, TheCheckOfUnsortedDocumentsIsOfferedOnlyWhenThereAreSome)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Update(ID_TOOLS_CHECK_UNSORTED).m_bEnabled);
    Stop();
    WriteCatalogWithUnsortedDocument();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Update(ID_TOOLS_CHECK_UNSORTED).m_bEnabled);
    Command(ID_TOOLS_CHECK_UNSORTED);
    EXPECT_EQ(m_prompts.CountOf("orphan warning"), 1);
}

/***************************** Autostart and the session *****************************/

TEST_F(MainFrameTest, TheAutostartValueFollowsThePreference)
{
    WriteCatalog();
    SetProductValue(PREFERENCES, "DSAutoIniciar", 1);
    ASSERT_TRUE(Start());
    Command(ID_APP_EXIT_PROGRAM);
    CRegistryKey run;
    CString strValue;
    ASSERT_TRUE(run.Open(HKEY_LOCAL_MACHINE, RUN_KEY, KEY_READ));
    ASSERT_TRUE(run.GetString("DocSentinel", strValue));
    EXPECT_EQ(strValue.Right(4), " -ds");
    EXPECT_EQ(strValue.Left(strValue.GetLength() - 4), App().GetModulePath());
    run.Close();
    Stop();

    // A value that is there is left as it is.
    ASSERT_TRUE(run.Open(HKEY_LOCAL_MACHINE, RUN_KEY));
    ASSERT_TRUE(run.SetString("DocSentinel", "kept"));
    run.Close();
    ASSERT_TRUE(Start());
    Command(ID_APP_EXIT_PROGRAM);
    ASSERT_TRUE(run.Open(HKEY_LOCAL_MACHINE, RUN_KEY, KEY_READ));
    ASSERT_TRUE(run.GetString("DocSentinel", strValue));
    EXPECT_EQ(strValue, "kept");
    run.Close();
    Stop();

    SetProductValue(PREFERENCES, "DSAutoIniciar", 0);
    ASSERT_TRUE(Start());
    Command(ID_APP_EXIT_PROGRAM);
    ASSERT_TRUE(run.Open(HKEY_LOCAL_MACHINE, RUN_KEY, KEY_READ));
    EXPECT_FALSE(run.ValueExists("DocSentinel"));
}

TEST_F(MainFrameTest, TheSessionsEndSavesAndClearsTheRunFlagEvenWhileHidden)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(MainFrame()->SendMessage(WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 1U);
    MainFrame()->SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(ProductValue("Backup", "MonitorApp").has_value());
}

/***************************** Messages *****************************/

TEST_F(MainFrameTest, TheMessagePaneTakesThePathPanesPlaceUntilReset)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    CStatusBar& statusBar = MainFrame()->GetStatusBar();
    auto widths = [&statusBar] {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxMessage = 0;
        int cxPath = 0;
        statusBar.GetPaneInfo(0, nID, nStyle, cxMessage);
        statusBar.GetPaneInfo(1, nID, nStyle, cxPath);
        return std::pair { cxMessage, cxPath };
    };
    const auto normal = widths();
    EXPECT_EQ(normal.first, 0);
    MainFrame()->SendMessage(g_nMsgStatusSetText, 0, reinterpret_cast<LPARAM>("Looking for documents"));
    MainFrame()->SendMessage(g_nMsgStatusSetText, 0, reinterpret_cast<LPARAM>("Still looking"));
    EXPECT_EQ(CTestDriver::StatusPaneText(statusBar.GetSafeHwnd(), 0), "Still looking");
    EXPECT_EQ(widths().second, 0);
    MainFrame()->SendMessage(g_nMsgStatusResetText, 0, 0);
    EXPECT_EQ(widths(), normal);
    EXPECT_EQ(statusBar.GetPaneStyle(1) & SBPS_STRETCH, SBPS_STRETCH);
}

TEST_F(MainFrameTest, ACatalogChangeReachesEveryViewsTree)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    Command(ID_FILE_NEW);
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        AddSystem(*pRoot, "Invoices");
    }
    MainFrame()->SendMessage(g_nMsgRedo, 0, 0);
    for (CSplitterFrame* pView : Views()) {
        HWND hTree = pView->GetTreeView()->GetTreeCtrl().GetSafeHwnd();
        // The new system comes before the fixed top node that shows below the systems.
        EXPECT_EQ(CTestDriver::TreeChildren(hTree, nullptr),
            (std::vector<CString> { "Invoices", GetResString(IDS_TOP_NODE3_NAME) }));
    }
}

/***************************** Commands *****************************/

TEST_F(MainFrameTest, TheBarCommandsShowTheirBarsStateAndTheMailBarNeedsMailboxes)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    EXPECT_EQ(Update(ID_VIEW_FIND_BAR).m_nCheck, 0);
    Command(ID_VIEW_FIND_BAR);
    EXPECT_EQ(Update(ID_VIEW_FIND_BAR).m_nCheck, 1);
    EXPECT_EQ(Update(ID_VIEW_CATALOG_BAR).m_nCheck, 0);
    Command(ID_VIEW_CATALOG_BAR);
    EXPECT_EQ(Update(ID_VIEW_CATALOG_BAR).m_nCheck, 1);
    // No mail program keeps mailboxes here.
    EXPECT_FALSE(Update(ID_VIEW_MAIL_BAR).m_bEnabled);
}

TEST_F(MainFrameTest, OpeningTheDocumentMenuTurnsItsSubmenusIntoPlaces)
{
    WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
        auto pLetters = AddSystem(root, "Letters");
        AddDocument(catalog, *pLetters, "c:\\docs\\recent.txt");
        AddDocument(catalog, *pLetters, "c:\\docs\\open.txt");
        std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(&catalog));
        AddDocument(catalog, *pFavorites, "c:\\docs\\b.txt");
        AddDocument(catalog, *pFavorites, "c:\\docs\\a.txt");
    });
    ASSERT_TRUE(Start());
    CMenu* pMenu = MainFrame()->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    CMenu* pDocument = pMenu->GetSubMenu(1);
    ASSERT_NE(pDocument, nullptr);
    const auto open
        = [&] { MainFrame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pDocument->GetSafeHmenu()), 1); };
    // Start-up leaves the new-document entry plain; the Document menu's first opening puts the
    // new-document menu in its place, and it stays a menu at the next.
    EXPECT_EQ(pDocument->GetMenuItemID(0), static_cast<UINT>(ID_NEW_DOCUMENT_MENU));
    for (int nOpening = 0; nOpening < 2; ++nOpening) {
        open();
        ASSERT_NE(pDocument->GetSubMenu(0), nullptr);
        EXPECT_EQ(pDocument->GetSubMenu(0)->GetMenuItemID(0), static_cast<UINT>(ID_CATALOG_NEW_GROUP));
    }
    auto itemAt = [pDocument](UINT nID) {
        for (UINT i = 0; i < pDocument->GetMenuItemCount(); ++i) {
            if (pDocument->GetMenuItemID(static_cast<int>(i)) == nID)
                return static_cast<int>(i);
        }
        return -1;
    };
    EXPECT_GE(itemAt(ID_DOC_OPEN_WITH_MENU), 0);
    EXPECT_GE(itemAt(ID_DOC_PROTECT_WORDED), 0);
    EXPECT_EQ(itemAt(ID_DOC_PROTECT), -1);
    // A place without documents stays a plain, disabled item.
    for (UINT nID : { ID_PENDING_MENU, ID_RECENT_MENU }) {
        ASSERT_GE(itemAt(nID), 0) << nID;
        EXPECT_TRUE(pDocument->GetMenuState(nID, MF_BYCOMMAND) & MF_GRAYED) << nID;
    }

    // The places show the catalog's documents by their commands, each opening anew.
    using Entries = std::vector<std::pair<UINT, std::string>>;
    const auto place = [pDocument](UINT nFirstID, UINT nLastID) {
        Entries entries;
        for (UINT i = 0; i < pDocument->GetMenuItemCount(); ++i) {
            CMenu* pPlace = pDocument->GetSubMenu(static_cast<int>(i));
            const UINT nID = pPlace ? pPlace->GetMenuItemID(0) : 0;
            if (nID < nFirstID || nID > nLastID)
                continue;
            for (UINT j = 0; j < pPlace->GetMenuItemCount(); ++j) {
                MENUITEMINFO info {};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_DATA | MIIM_ID;
                EXPECT_TRUE(pPlace->GetMenuItemInfo(j, &info, TRUE));
                const auto* pItem = reinterpret_cast<const CImageMenu::CItem*>(info.dwItemData);
                entries.emplace_back(info.wID, pItem ? std::string(pItem->strText) : std::string());
            }
        }
        return entries;
    };
    {
        std::unique_ptr<CDocumentRec> pRecent(App().GetMainCatalog()->FindPath("c:\\docs\\recent.txt"));
        ASSERT_NE(pRecent, nullptr);
        ASSERT_TRUE(CRecentList(App().GetMainCatalog()).AddEntry(*pRecent));
    }
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    App().GetPendingDocs()->AddEntry("c:\\docs\\uncatalogued.txt", CPendingDocs::FLAG_UNPROTECTED);
    App().GetPendingDocs()->AddEntry("c:\\docs\\open.txt", CPendingDocs::FLAG_UNPROTECTED);
    for (int nOpening = 0; nOpening < 2; ++nOpening) {
        open();
        EXPECT_EQ(place(ID_FAVORITE_FIRST, ID_FAVORITE_LAST),
            (Entries { { ID_FAVORITE_FIRST, "c:\\docs\\a.txt" }, { ID_FAVORITE_FIRST + 1, "c:\\docs\\b.txt" } }));
        // Entries are numbered by their place in the pending list, which the catalog need not hold.
        EXPECT_EQ(
            place(ID_PENDING_FIRST, ID_PENDING_LAST), (Entries { { ID_PENDING_FIRST + 1, "c:\\docs\\open.txt" } }));
        EXPECT_EQ(place(ID_RECENT_FIRST, ID_RECENT_LAST), (Entries { { ID_RECENT_FIRST, "c:\\docs\\recent.txt" } }));
    }
    // Minimised, the places stay plain and the catalog closed.
    MainFrame()->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    open();
    EXPECT_EQ(OpenCount(), 0);
    for (UINT nID : { ID_FAVORITES_MENU, ID_PENDING_MENU, ID_RECENT_MENU })
        EXPECT_TRUE(pDocument->GetMenuState(nID, MF_BYCOMMAND) & MF_GRAYED) << nID;
}

TEST_F(MainFrameTest, TheDailyNoticeComesOncePerDayWhenDocumentsExpired)
{
    WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
        auto pLetters = AddSystem(root, "Letters");
        const CRecordRef ref = AddDocument(catalog, *pLetters, "C:\\docs\\contract.txt");
        CDocumentRec document(&catalog, ref.nBlock, ref.nSlot);
        CDocumentInfo info {};
        document.GetInfo(&info);
        info.nExpiry = 86400; // long past
        ASSERT_TRUE(document.UpdateInfo(info));
    });
    // The last notice was long ago.
    SetProductValue("Settings", "Current Date", 86400);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_prompts.CountOf("daily notice"), 1);
    EXPECT_EQ(m_prompts.m_nNoticeCount, 1);
    CCoolMenu& places = MainFrame()->GetDragBar().GetList();
    EXPECT_EQ(places.GetExpiredWindow(), nullptr); // cancelled
    // The timer on the same day shows nothing; after midnight once more, and OK lists the documents.
    COffsetClock clock;
    m_driver.Advance(CMainFrame::NOTICE_INTERVAL);
    EXPECT_EQ(m_prompts.CountOf("daily notice"), 1);
    m_prompts.m_nNoticeAnswer = IDOK;
    clock.m_nOffsetSeconds = 86400;
    m_driver.Advance(CMainFrame::NOTICE_INTERVAL);
    EXPECT_EQ(m_prompts.CountOf("daily notice"), 2);
    CDlgExpiredDocuments* pExpired = places.GetExpiredWindow();
    ASSERT_NE(pExpired, nullptr);
    EXPECT_TRUE(pExpired->IsWindowVisible());
    EXPECT_EQ(pExpired->GetList().GetItemCount(), 1);
    // Minimised, the timer does nothing.
    MainFrame()->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    clock.m_nOffsetSeconds = 2 * 86400;
    m_driver.Advance(CMainFrame::NOTICE_INTERVAL);
    EXPECT_EQ(m_prompts.CountOf("daily notice"), 2);
}

/***************************** The catalog bar *****************************/

// Whether the window shows a pixel of that colour anywhere.
static BOOL ShowsColour(HWND hWnd, COLORREF crWanted)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    HDC hdc = GetDC(hWnd);
    BOOL bFound = FALSE;
    for (int y = rc.top; y < rc.bottom && !bFound; ++y) {
        for (int x = rc.left; x < rc.right && !bFound; ++x)
            bFound = GetPixel(hdc, x, y) == crWanted;
    }
    ReleaseDC(hWnd, hdc);
    return bFound;
}

TEST_F(MainFrameTest, TheCatalogBarShowsAPictureOnEachOfItsSixButtons)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    CCatalogBar& bar = MainFrame()->GetCatalogBar();
    EXPECT_FALSE(bar.IsWindowVisible());
    Command(ID_VIEW_CATALOG_BAR);
    ASSERT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(Update(ID_VIEW_CATALOG_BAR).m_nCheck, 1);

    // Each picture's own colour, on the button of its place.
    const std::pair<UINT, COLORREF> pictures[] = {
        { IDC_CATALOG_BUTTON1, RGB(0x30, 0x60, 0xC0) },
        { IDC_CATALOG_BUTTON6, RGB(0x20, 0x80, 0x30) },
    };
    for (const auto& [nID, crPicture] : pictures) {
        CImageButton* pButton = bar.GetButton(nID);
        ASSERT_NE(pButton, nullptr);
        EXPECT_EQ(pButton->GetSafeHwnd(), CTestDriver::FindChild(bar.GetSafeHwnd(), static_cast<int>(nID)));
        pButton->UpdateWindow();
        EXPECT_TRUE(ShowsColour(pButton->GetSafeHwnd(), crPicture)) << nID;
        EXPECT_FALSE(ShowsColour(pButton->GetSafeHwnd(), RGB(0xFF, 0x00, 0xFF))) << nID << ": the mask shows";
    }
    for (UINT nID : { IDC_CATALOG_BUTTON2, IDC_CATALOG_BUTTON3, IDC_CATALOG_BUTTON4, IDC_CATALOG_BUTTON5 }) {
        ASSERT_NE(bar.GetButton(nID), nullptr);
        EXPECT_EQ(bar.GetButton(nID)->GetSafeHwnd(), CTestDriver::FindChild(bar.GetSafeHwnd(), static_cast<int>(nID)));
    }
}

TEST_F(MainFrameTest, TheFindAndMailBarsShowTheBarsGrey)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    for (CDialogBar* pBar : { static_cast<CDialogBar*>(&MainFrame()->GetFindBar()),
             static_cast<CDialogBar*>(&MainFrame()->GetMailBar()) }) {
        MainFrame()->ShowControlBar(pBar, TRUE, FALSE);
        m_driver.Pump();
        pBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_TRUE(ShowsColour(pBar->GetSafeHwnd(), RGB(0xE0, 0xE0, 0xE0)));
    }
}

/***************************** Sheets *****************************/

TEST_F(MainFrameTest, APreferenceSheetsOkKeepsItsValuesAndACancelChangesNothing)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    thePreferences.m_bMinimize = FALSE;
    m_prompts.m_fnSheet = [](CFramePrompts::ESheet eSheet, void* pData) {
        if (eSheet == CFramePrompts::ESheet::General)
            static_cast<CPreferencesArchivoraSheetData*>(pData)->general.bMinimize = TRUE;
    };
    Command(ID_TOOLS_PREFERENCES);
    EXPECT_FALSE(thePreferences.m_bMinimize);

    m_prompts.m_nSheetAnswer = IDOK;
    Command(ID_TOOLS_PREFERENCES);
    EXPECT_TRUE(thePreferences.m_bMinimize);
    EXPECT_TRUE(m_prompts.m_messages.empty());
    CPreferences stored;
    stored.Load();
    EXPECT_TRUE(stored.m_bMinimize);

    Command(ID_TOOLS_WEB_PREFERENCES);
    EXPECT_EQ(m_prompts.m_eLastSheet, CFramePrompts::ESheet::Web);
    Command(ID_TOOLS_MONITOR_PREFERENCES);
    EXPECT_EQ(m_prompts.m_eLastSheet, CFramePrompts::ESheet::Catalog);
    EXPECT_EQ(OpenCount(), 1);
    thePreferences.m_bMinimize = FALSE;
}

/***************************** Web access *****************************/

namespace {

// The web access dialogs of a user who sets the service up and sees nothing else.
class CSetUpWebPrompts : public CWAServicePrompts {
public:
    BOOL RunSetupWizard(CWASetupConnection&) override { return TRUE; }
    BOOL RunConnectDialog(LPCTSTR, LPCTSTR, LPCTSTR, LPCTSTR, int, CString&) override { return FALSE; }
    void ShowConnectionNotice() override { }
    void ShowLog(std::vector<CString>&) override { }
    void AddLogLine(LPCTSTR) override { }
};

} // namespace

TEST_F(MainFrameTest, WithoutItsSetUpTheWebServiceDoesNotStart)
{
    WriteCatalog();
    ASSERT_TRUE(Start());
    Command(ID_WEB_TOGGLE);
    EXPECT_FALSE(MainFrame()->IsWebServerRunning());
    thePreferences.m_bWebAccessEnabled = FALSE;
    EXPECT_FALSE(Update(ID_WEB_LOG).m_bEnabled);
    thePreferences.m_bWebAccessEnabled = TRUE;
    EXPECT_TRUE(Update(ID_WEB_LOG).m_bEnabled);
    thePreferences.m_bWebAccessEnabled = FALSE;
}

TEST_F(MainFrameTest, AServingWebServiceKeepsTheProgramInTheTrayUntilItStops)
{
    CSetUpWebPrompts prompts;
    InstallWebAccessPrompts(&prompts);
    CWASettings& settings = GetWebAccessSettings();
    WriteCatalog();
    ASSERT_TRUE(Start());
    settings.m_strCatCode = "C0DE42";
    settings.m_strCommFolder = ProgramPath("comm") + "\\";
    settings.m_nWarnConn = 0;
    Command(ID_TOOLS_MONITOR_ICON); // the monitor's icon goes
    Command(ID_WEB_TOGGLE);
    EXPECT_TRUE(MainFrame()->IsWebServerRunning());

    // The server's icon leads back: closing hides the window.
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    ASSERT_FALSE(Ended());
    EXPECT_FALSE(MainFrame()->IsWindowVisible());
    // Stopped from the tray with no other icon, the service ends the program.
    Command(ID_WEB_TOGGLE_TRAY);
    EXPECT_TRUE(Ended());
    InstallWebAccessPrompts(nullptr);
    settings.m_strCatCode.Empty();
    settings.m_strCommFolder.Empty();
}

/***************************** Help *****************************/

TEST_F(MainFrameTest, HelpOpensThePageOfTheDialogOrTheGeneralPage)
{
    const auto pages = Home() / "Archhlp";
    std::filesystem::create_directories(pages);
    for (const char* pszPage : { "HP2-1.HTM", "HP12-13.HTM", "HELP.GIF" })
        std::ofstream(pages / pszPage) << "page";
    WriteCatalog();
    ASSERT_TRUE(Start());

    CLaunchOverride launches;
    MainFrame()->WinHelp(HID_BASE_RESOURCE + 124);
    MainFrame()->WinHelp(HID_BASE_RESOURCE + 423);
    // F1 on the main window, which has no page of its own, and the help topics.
    Command(ID_HELP);
    Command(ID_HELP_FINDER);
    const std::vector<std::vector<std::string>> expected {
        { "xdg-open", (pages / "HP2-1.HTM").string() },
        { "xdg-open", (pages / "HP12-13.HTM").string() },
        { "xdg-open", (pages / "HELP.GIF").string() },
        { "xdg-open", (pages / "HELP.GIF").string() },
    };
    EXPECT_EQ(launches.GetLaunches(), expected);
}

/***************************** Commits *****************************/

// The first setup (the wizard's finish) and the move of the unsorted documents
// to the archive (the answer to the warning) each reach the catalog in one commit.
TEST_F(MainFrameTest, TheFirstSetupAndTheMoveOfUnsortedDocumentsAreOneCommitEach)
{
    {
        CFlushCounter flushes;
        ASSERT_TRUE(Start());
        // Making the empty catalog commits its root blocks and closes it (two
        // flushes of its journal); the whole setup is the third.
        EXPECT_EQ(JournalFlushes(flushes), 3);
    }
    CCatalog* pCatalog = App().GetMainCatalog();
    ASSERT_NE(pCatalog, nullptr);
    std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(pCatalog));
    ASSERT_NE(pUnsorted, nullptr);
    constexpr int DOCUMENTS = 5;
    for (int nDocument = 0; nDocument < DOCUMENTS; ++nDocument) {
        const std::string strName = "orphan" + std::to_string(nDocument) + ".txt";
        std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindOrAddDocument("c:\\orphans\\", strName.c_str(), nullptr));
        ASSERT_NE(pDocument, nullptr);
        ASSERT_TRUE(pUnsorted->AddDocument(pDocument.get()));
    }

    m_prompts.m_nOrphanAnswer = IDYES;
    CFlushCounter flushes;
    Command(ID_TOOLS_CHECK_UNSORTED);
    EXPECT_EQ(m_prompts.CountOf("orphan warning"), 1);
    EXPECT_EQ(JournalFlushes(flushes), 1);
    std::unique_ptr<CNodeRec> pArchive(CNodeRec::NewTopNodeRec4(pCatalog));
    ASSERT_NE(pArchive, nullptr);
    EXPECT_EQ(pArchive->CountDocuments(), DOCUMENTS);
}

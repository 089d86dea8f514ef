// A census of every command the user can reach: each menu, toolbar and key
// table of the resource module, and the document menus the program builds
// from them. The program starts on a catalog with files, a group, a mail
// message, a favourite, an expired document and a pending document; then, with
// a selection in each pane and each list window open, every menu is opened the
// way tracking opens it (WM_INITMENUPOPUP to the window that owns it), and for
// each command the census asks the route its choice takes whether something
// handles it (OnCmdMsg with handler information, which runs nothing) and reads
// whether the item is enabled. A command must be handled and enabled in at
// least one of those states, or be listed below with its reason.
//
// A menu, toolbar or key table with no place in the table of places fails the
// census: each new one needs its place (and its route) here.

#include "tests/frame/AppTestFixture.h"

#include "catalog/CPendingDocs.h"
#include "catalog/CTextSearch.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CContentView.h"
#include "frame/CDlgDocumentList.h"
#include "frame/CDlgExpiredDocuments.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CSisTreeCtrl.h"
#include "mail/CNetscapeMessage.h"
#include "mail/MailResult.h"
#include "monitor/CNewDocMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/CatalogColumns.h"
#include "store/ListFilter.h"
#include "tests/catalog/RecycleBinFixture.h"
#include "tests/frame/CommandStates.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "ui/CDocContextMenu.h"
#include "ui/CSendToMenu.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceFormat.h"
#include "platform/base/ResourceModule.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/******************************************************************************
 * The places of commands and their routes
 ******************************************************************************/

// Where a menu's chosen command goes, and so who must handle it and who sets
// its items' states when it opens.
enum class ERoute {
    MainWindow,       // the main window's routing: the active view, its frame and document, then the main window
    DocumentList,     // a catalog view's list first, then the main window; the list sets the states
    Preview,          // the preview pane of a catalog view
    RecycleBin,       // the recycle bin window (its list first), its rows' menu too
    ExpiredDocuments, // the expired documents window (its list first)
    SearchResults,    // the search results window (its list first)
    SearchRows,       // the search results' rows: their list first, then the window
    OwnDispatch,      // a popup list that acts on the command it gets back itself
    DialogsLayer,     // a window of the dialogs above the frame, which its own tests open
};

// What kind of resource a place is, and which document menus the program builds from it.
enum class EKind {
    Menu,        // a menu bar: every popup of it
    ContextMenu, // a context menu: the first popup of the resource
    FileMenu,    // a document menu built for the selected file (its pair names the mail menu)
    MailMenu,    // the same for a selected mail message
    Toolbar,
    Keys,
};

struct CPlace {
    UINT nResourceId;
    EKind eKind;
    ERoute eRoute;
    const char* pszName;                  // what the failures call it
    UINT nPairId { 0 };                   // for document menus: the other resource of the pair
    const char* pszNotOpened { nullptr }; // why no state of the census opens it
};

// clang-format off
const CPlace PLACES[] = {
    { IDR_MAINFRAME,         EKind::Menu,        ERoute::MainWindow,       "main menu without a catalog view" },
    { IDR_CATALOG_TYPE,      EKind::Menu,        ERoute::MainWindow,       "main menu of a catalog view" },
    { IDR_MAINFRAME,         EKind::Toolbar,     ERoute::MainWindow,       "toolbar" },
    { IDR_MAINFRAME,         EKind::Keys,        ERoute::MainWindow,       "keys without a catalog view" },
    { IDR_CATALOG_TYPE,      EKind::Keys,        ERoute::MainWindow,       "keys of a catalog view" },
    { IDR_WEB_TRAY,          EKind::ContextMenu, ERoute::MainWindow,       "web access tray icon" },
    { IDR_DOC_MONITOR,       EKind::ContextMenu, ERoute::MainWindow,       "new-document monitor's tray icon" },
    { IDR_TREE_NODE_MENU,    EKind::ContextMenu, ERoute::MainWindow,       "tree: a system or group" },
    { IDR_TOP_NODE3_MENU,    EKind::ContextMenu, ERoute::MainWindow,       "tree: the unsorted documents node" },
    { IDR_TOP_NODE4_MENU,    EKind::ContextMenu, ERoute::MainWindow,       "tree: the other documents node" },
    { IDR_TREE_EMPTY_MENU,   EKind::ContextMenu, ERoute::MainWindow,       "tree: empty space" },
    { IDR_LIST_NODE_MENU,    EKind::ContextMenu, ERoute::DocumentList,     "list: a group's row" },
    { IDR_LIST_EMPTY_MENU,   EKind::ContextMenu, ERoute::DocumentList,     "list: empty space" },
    { IDR_LIST_FILE_MENU,    EKind::FileMenu,    ERoute::DocumentList,     "list: a file's row", IDR_LIST_MAIL_MENU },
    { IDR_LIST_MAIL_MENU,    EKind::MailMenu,    ERoute::DocumentList,     "list: a message's row", IDR_LIST_FILE_MENU },
    { IDR_PREVIEW_MENU,      EKind::ContextMenu, ERoute::Preview,          "preview" },
    { IDD_RECYCLE_BIN,       EKind::Menu,        ERoute::RecycleBin,       "recycle bin window" },
    { IDR_BIN_ROW_MENU,      EKind::ContextMenu, ERoute::RecycleBin,       "recycle bin: a row" },
    { IDD_EXPIRED_DOCUMENTS, EKind::Menu,        ERoute::ExpiredDocuments, "expired documents window" },
    { IDD_SEARCH_RESULTS,    EKind::Menu,        ERoute::SearchResults,    "search results window" },
    { IDR_DOC_FILE_MENU,     EKind::FileMenu,    ERoute::SearchRows,       "search results: a file's row", IDR_DOC_MAIL_MENU },
    { IDR_DOC_MAIL_MENU,     EKind::MailMenu,    ERoute::SearchRows,       "search results: a message's row", IDR_DOC_FILE_MENU },
    // The popup lists of favourites, recent and unprotected documents, the
    // folder popups and the systems popup track these themselves and act on
    // the command they get back, outside any routing.
    { IDM_FAVORITE_ROW,      EKind::ContextMenu, ERoute::OwnDispatch,      "favourites popup: a row" },
    { IDM_RECENT_ROW,        EKind::ContextMenu, ERoute::OwnDispatch,      "recently catalogued popup: a row" },
    { IDM_UNPROTECTED_ROW,   EKind::ContextMenu, ERoute::OwnDispatch,      "unprotected documents popup: a row" },
    { IDM_SHELL_FOLDER_ROW,  EKind::ContextMenu, ERoute::OwnDispatch,      "folder popup: a row" },
    { IDR_TREE_NODE_MENU,    EKind::ContextMenu, ERoute::OwnDispatch,      "systems popup: a row" },
    // The Find Files window's list; its one command is tested with that window.
    { IDR_SHELL_LIST_MENU,   EKind::ContextMenu, ERoute::DialogsLayer,     "Find Files: a row" },
};
// clang-format on

/******************************************************************************
 * Commands left without a handler, and commands being wired
 ******************************************************************************/

struct CExemption {
    UINT nResourceId; // 0: in every place
    UINT nCommand;
    const char* pszReason;
};

// Items that stand for a menu the program puts in their place when the menu
// opens; the census checks that some state fills them, and counts what fills them.
// clang-format off
const CExemption PLACES_FILLED[] = {
    { 0, ID_DOC_OPEN_WITH_MENU,  "the list puts the focused document's open actions here" },
    { 0, ID_DOC_PROTECT_WORDED,  "the list names protecting a file or a message here" },
    { 0, ID_NEW_DOCUMENT_MENU,   "the main window puts the new-document programs here" },
    { 0, ID_DOC_LINKED_SYSTEMS,  "the document menu lists the groups the document is in here" },
    { 0, ID_DOC_FILE_COMMANDS,   "the document menu puts the desktop's commands for the file here" },
    { 0, ID_FAVORITES_MENU,      "the Document menu lists the favourites here" },
    { 0, ID_PENDING_MENU,        "the Document menu lists the documents opened unprotected here" },
    { 0, ID_RECENT_MENU,         "the Document menu lists the recently catalogued documents here" },
    { 0, ID_DOC_SEND_TO_MENU,    "the document menus put the send-to places here" },
};
// clang-format on

// Commands the program leaves without a handler, or never enables, on purpose,
// each with its reason.
// clang-format off
const CExemption LEFT_UNHANDLED[] = {
    { IDR_LIST_MAIL_MENU, ID_DOC_SEND_MAIL, "sending by mail attaches files; a message's Send To offers it greyed" },
    { IDR_DOC_MAIL_MENU,  ID_DOC_SEND_MAIL, "sending by mail attaches files; a message's Send To offers it greyed" },
};
// clang-format on

const CExemption* FindExemption(std::span<const CExemption> table, UINT nResourceId, UINT nCommand)
{
    for (const CExemption& exemption : table) {
        if (exemption.nCommand == nCommand && (exemption.nResourceId == 0 || exemption.nResourceId == nResourceId))
            return &exemption;
    }
    return nullptr;
}

/******************************************************************************
 * The census
 ******************************************************************************/

// What the states showed of one command of one place.
struct CCount {
    CString strText;  // the item's path of texts, or the command's number
    int nShown { 0 }; // the times the menu showed it as an item
    BOOL bHandled { FALSE };
    BOOL bEnabled { FALSE };
};

class CommandCensusTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        SetCatalogPrompts(&m_confirm);
        const fs::path docs = Home() / "d" / "docs";
        fs::create_directories(docs);
        ASSERT_TRUE(SetDriveOverride('D', (Home() / "d").c_str(), DRIVE_FIXED));
        for (const char* pszName : { "budget.txt", "letter.txt", "minutes.txt", "old.txt", "loose.txt" })
            std::ofstream(docs / pszName) << "Minutes of the meeting\nPresent: all\n";
        WriteMailProfile();
        // Web access was set up at an earlier run.
        SetProductValue("Default\\Preferences", "WAEnabled", 1);
        m_watched = std::make_unique<TempFolder>();
        WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
            // The monitor watches a folder of its own for new documents.
            ASSERT_TRUE(catalog.LoadExtensions("txt"));
            ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(
                catalog.AddMailStore(LOCATION_NETWORK, ProgramPathFromHostPath(m_watched->Path().string()).c_str())));
            auto pLetters = AddSystem(root, "Letters");
            AddSystem(*pLetters, "Archive");
            for (const char* pszPath : { "D:\\docs\\budget.txt", "D:\\docs\\letter.txt", "D:\\docs\\old.txt" })
                AddDocument(catalog, *pLetters, pszPath);
            const CRecordRef expired = AddDocument(catalog, *pLetters, "D:\\docs\\minutes.txt");
            CDocumentRec minutes(&catalog, expired.nBlock, expired.nSlot);
            CDocumentInfo info {};
            ASSERT_NE(minutes.GetInfo(&info), nullptr);
            info.nExpiry = 86400; // long past
            ASSERT_TRUE(minutes.UpdateInfo(info));
            std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(&catalog));
            ASSERT_NE(pFavorites, nullptr);
            AddDocument(catalog, *pFavorites, "D:\\docs\\budget.txt");
            // budget.txt was catalogued lately.
            std::unique_ptr<CDocumentRec> pBudget(catalog.FindPath("D:\\docs\\budget.txt"));
            ASSERT_NE(pBudget, nullptr);
            ASSERT_TRUE(CRecentList(&catalog).AddEntry(*pBudget));
            std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(&catalog));
            ASSERT_NE(pUnsorted, nullptr);
            AddDocument(catalog, *pUnsorted, "D:\\docs\\loose.txt");
            AddMessage(catalog, *AddSystem(root, "Mail"));
        });
    }
    void TearDown() override
    {
        AppTest::TearDown();
        SetCatalogPrompts(nullptr);
        m_home.reset();
        m_watched.reset();
        SetDriveOverride('D', nullptr, 0);
    }

    // A mail program's profile with one mailbox of one message, for the mail
    // bar and a catalogued message.
    void WriteMailProfile()
    {
        const fs::path home = Home() / "home";
        const fs::path mail = home / ".thunderbird" / "x1.default" / "Mail" / "Local Folders";
        fs::create_directories(mail);
        std::ofstream(home / ".thunderbird" / "profiles.ini")
            << "[Profile0]\nName=default\nIsRelative=1\nPath=x1.default\n";
        std::ofstream(mail / "Inbox") << "From - Mon Jan  2 15:04:05 2006\n"
                                         "From: Ana <ana@example.com>\n"
                                         "To: Bo <bo@example.com>\n"
                                         "Subject: Plans\n"
                                         "Date: Mon, 2 Jan 2006 15:04:05 +0000\n"
                                         "\n"
                                         "We meet on Monday.\n";
        m_strStore = ProgramPathFromHostPath((mail / "Inbox").string());
        m_home = std::make_unique<ScopedVariable>("HOME", home.string());
    }
    void AddMessage(CCatalog& catalog, CNodeRec& node)
    {
        CNetscapeMessage reader;
        ASSERT_EQ(reader.ReadNext(m_strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        std::strcpy(info.szName, "Plans");
        info.nVersion = MAIL_STORE_NETSCAPE;
        info.dwAttributes = static_cast<DWORD>(reader.GetDate());
        const DWORD ids[] = { reader.GetStoreId(), reader.GetOffset(), reader.GetLength() };
        std::memcpy(info.id, ids, sizeof(ids));
        info.id[12] = ' ';
        std::unique_ptr<CDocumentRec> pDocument(catalog.AddAndLink(&node, info, m_strStore.c_str()));
        ASSERT_NE(pDocument, nullptr);
    }

    /* The panes and windows, as a user works them. */

    CSisTreeCtrl& Tree() const { return *ActiveView()->GetTreeCtrl(); }
    CArqListViewCtrl& List() const { return ActiveView()->GetListView()->GetListCtrl(); }
    CCoolMenu& Places() const { return MainFrame()->GetDragBar().GetList(); }

    void ClickSystem(const std::vector<CString>& path)
    {
        ASSERT_TRUE(m_driver.ClickTreeItem(Tree().GetSafeHwnd(), CTestDriver::TreeItem(Tree().GetSafeHwnd(), path)));
        m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    }
    // Clicks the row that shows pszName, in the column nColumnId.
    void ClickRow(CArqListCtrl& list, const char* pszName, LONG nColumnId = COLUMN_NAME)
    {
        const std::vector<std::vector<CString>> rows = CTestDriver::ListRows(list.GetSafeHwnd());
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::vector<CString>& cells) {
            return std::any_of(
                cells.begin(), cells.end(), [&](const CString& strCell) { return strCell.Find(pszName) >= 0; });
        });
        ASSERT_NE(row, rows.end()) << pszName << ::testing::PrintToString(rows);
        ASSERT_TRUE(m_driver.ClickListRow(
            list.GetSafeHwnd(), static_cast<int>(row - rows.begin()), std::max(list.FindColumn(nColumnId), 0)));
        m_driver.Advance(CSplitterFrame::KEYBOARD_DELAY);
    }
    // The monitor sees a new document in its folder.
    void DropNewDocument()
    {
        std::ofstream(m_watched->Path() / "report.txt") << "new";
        CNewDocMonitor& monitor = MainFrame()->GetMonitor();
        ASSERT_TRUE(m_driver.PumpUntil([&] { return !monitor.GetNotices().empty(); }));
        m_driver.Advance(CNewDocMonitor::DRAIN_DELAY_MS);
    }
    // A search for words whose results were listed, as the search keeps them for the results window.
    // Find with its results listed in a window: the words of the letters and
    // of the message, in the documents the list's filter keeps (the letter
    // "l" in their names), which the results keep as their criteria.
    void FindIntoTheResultsWindow()
    {
        m_prompts.m_fnCriteria = [](CListFilter& filter) {
            SetListFilterCondition(&filter, 0, COLUMN_NAME, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, { 0, 0, "l" });
            return IDOK;
        };
        Command(ID_CATALOG_LIST_FILTER);
        FindIntoResultsWindow("meet", CTextSearch::FIELD_CONTENT);
    }

    /* The routes. */

    // The window that sets a route's item states, and whether the route handles a command.
    struct CEnds {
        CWnd* pOwner { nullptr };
        std::function<BOOL(UINT)> handled;
    };
    static BOOL Handles(CCmdTarget* pTarget, UINT nID)
    {
        AFX_CMDHANDLERINFO info {};
        return pTarget && pTarget->OnCmdMsg(nID, CN_COMMAND, nullptr, &info);
    }
    static CEnds WindowEnds(CWnd* pWindow)
    {
        return { pWindow, [pWindow](UINT nID) { return Handles(pWindow, nID); } };
    }
    // A list's menus: the list's own handlers, then the window's.
    static CEnds ListEnds(CArqListCtrl& list, CWnd* pWindow)
    {
        return { &list, [&list, pWindow](UINT nID) { return Handles(&list, nID) || Handles(pWindow, nID); } };
    }
    // The route's ends now; no owner when its window is not there.
    CEnds Ends(ERoute eRoute) const
    {
        CDlgDocumentList* pBin = Places().GetRecycleBinWindow();
        CDlgSearchResults* pFound = Places().GetSearchResultsWindow();
        CDlgExpiredDocuments* pExpired = Places().GetExpiredWindow();
        switch (eRoute) {
        case ERoute::MainWindow:
            return WindowEnds(MainFrame());
        case ERoute::DocumentList:
            return ActiveView() ? ListEnds(List(), MainFrame()) : CEnds {};
        case ERoute::Preview:
            return ActiveView() ? WindowEnds(ActiveView()->GetContentView()) : CEnds {};
        case ERoute::RecycleBin:
            return pBin ? WindowEnds(pBin) : CEnds {};
        case ERoute::ExpiredDocuments:
            return pExpired ? WindowEnds(pExpired) : CEnds {};
        case ERoute::SearchResults:
            return pFound ? WindowEnds(pFound) : CEnds {};
        case ERoute::SearchRows:
            return pFound ? ListEnds(pFound->GetList(), pFound) : CEnds {};
        case ERoute::OwnDispatch:
        case ERoute::DialogsLayer:
            break;
        }
        return {};
    }
    // The document menu acts on some choices itself before any routing: the
    // desktop's commands for the file, and the groups the document is in.
    static BOOL IsDocumentMenuChoice(UINT nID)
    {
        return (nID >= CDocContextMenu::SHELL_COMMAND_FIRST && nID <= CDocContextMenu::SHELL_COMMAND_LAST)
            || (nID >= ID_LINKED_SYSTEM_FIRST && nID <= ID_LINKED_SYSTEM_LAST);
    }
    // The focused row's document of a route's list, when it is of the kind.
    CDocumentRec* FocusedDocument(ERoute eRoute, BOOL bMail) const
    {
        CArqListCtrl* pList = nullptr;
        if (eRoute == ERoute::DocumentList && ActiveView())
            pList = &List();
        else if (eRoute == ERoute::SearchRows && Places().GetSearchResultsWindow())
            pList = &Places().GetSearchResultsWindow()->GetList();
        CDocumentRec* pDocument = pList ? pList->GetRowDocument(pList->GetFocusedRow()) : nullptr;
        return pDocument && pDocument->IsMail() == bMail ? pDocument : nullptr;
    }

    /* Counting. */

    // Opens the popup as tracking does and counts its items, its submenus' too.
    void CountMenu(const CPlace& place, CMenu& popup, UINT nIndex, const CEnds& ends, const CString& strPath)
    {
        ends.pOwner->SendMessage(
            WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.GetSafeHmenu()), MAKELPARAM(nIndex, 0));
        const UINT nCount = popup.GetMenuItemCount();
        for (UINT nPos = 0; nCount != static_cast<UINT>(-1) && nPos < nCount; ++nPos) {
            CString strText;
            popup.GetMenuString(nPos, strText, MF_BYPOSITION);
            const CString strItem = strPath + " > " + strText;
            if (CMenu* pSubMenu = popup.GetSubMenu(static_cast<int>(nPos))) {
                CountMenu(place, *pSubMenu, nPos, ends, strItem);
                continue;
            }
            const UINT nID = popup.GetMenuItemID(static_cast<int>(nPos));
            if (nID == 0)
                continue; // a separator
            CCount& count = m_counts[&place][nID];
            count.strText = strItem;
            ++count.nShown;
            const BOOL bOwnChoice
                = (place.eKind == EKind::FileMenu || place.eKind == EKind::MailMenu) && IsDocumentMenuChoice(nID);
            count.bHandled |= bOwnChoice || ends.handled(nID);
            count.bEnabled |= (popup.GetMenuState(nPos, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
        }
    }
    // Counts a command that no menu shows (a button, a key) as the main window's update pass sets it.
    void CountCommand(const CPlace& place, UINT nID, const CEnds& ends)
    {
        CEnabledState state;
        state.m_nID = nID;
        state.DoUpdate(MainFrame(), TRUE);
        CCount& count = m_counts[&place][nID];
        count.strText.Format("command %u", nID);
        ++count.nShown;
        count.bHandled |= ends.handled(nID);
        count.bEnabled |= state.m_bEnabled;
    }
    // Opens every menu, and asks for every button and key, in the state the program is in.
    void TakeCensus()
    {
        m_driver.Pump();
        for (const CPlace& place : PLACES) {
            const CEnds ends = Ends(place.eRoute);
            if (!ends.pOwner)
                continue;
            switch (place.eKind) {
            case EKind::Menu:
            case EKind::ContextMenu: {
                CMenu menu;
                ASSERT_TRUE(menu.LoadMenu(place.nResourceId)) << place.pszName;
                const UINT nPopups = place.eKind == EKind::Menu ? menu.GetMenuItemCount() : 1;
                for (UINT nPos = 0; nPos < nPopups; ++nPos) {
                    CString strText;
                    menu.GetMenuString(nPos, strText, MF_BYPOSITION);
                    if (CMenu* pPopup = menu.GetSubMenu(static_cast<int>(nPos)))
                        CountMenu(place, *pPopup, nPos, ends, strText);
                }
                ++m_nWalks[&place];
                break;
            }
            case EKind::FileMenu:
            case EKind::MailMenu: {
                // The menu the list builds for its focused document.
                const BOOL bMail = place.eKind == EKind::MailMenu;
                CDocumentRec* pDocument = FocusedDocument(place.eRoute, bMail);
                if (!pDocument)
                    break;
                CSendToMenu sendTo;
                sendTo.Build();
                CDocContextMenu menu(*pDocument, &sendTo);
                ASSERT_TRUE(
                    menu.Build(bMail ? place.nPairId : place.nResourceId, bMail ? place.nResourceId : place.nPairId));
                CountMenu(place, *menu.GetPopup(), 0, ends, menu.GetPopup() ? place.pszName : "");
                ++m_nWalks[&place];
                break;
            }
            case EKind::Toolbar:
                for (WORD nID : ToolbarCommands(place.nResourceId))
                    CountCommand(place, nID, ends);
                break;
            case EKind::Keys:
                for (WORD nID : KeyCommands(place.nResourceId))
                    CountCommand(place, nID, ends);
                break;
            }
        }
    }

    /* The resources. */

    static std::span<const BYTE> ResourceBytes(UINT nId, LPCTSTR pszType)
    {
        HINSTANCE hModule = AfxGetResourceHandle();
        HRSRC hResource = FindResource(hModule, MAKEINTRESOURCE(static_cast<WORD>(nId)), pszType);
        if (!hResource)
            return {};
        const auto* pBytes = static_cast<const BYTE*>(LockResource(LoadResource(hModule, hResource)));
        return { pBytes, SizeofResource(hModule, hResource) };
    }
    static std::vector<WORD> ToolbarCommands(UINT nId)
    {
        ToolbarTemplate toolbar;
        std::string strError;
        EXPECT_TRUE(ReadToolbarTemplate(ResourceBytes(nId, RT_TOOLBAR), toolbar, strError)) << strError;
        std::vector<WORD> commands;
        std::copy_if(toolbar.commands.begin(), toolbar.commands.end(), std::back_inserter(commands),
            [](WORD nID) { return nID != 0; });
        return commands;
    }
    static std::vector<WORD> KeyCommands(UINT nId)
    {
        std::vector<ACCEL> keys;
        std::string strError;
        EXPECT_TRUE(ReadAcceleratorTable(ResourceBytes(nId, RT_ACCELERATOR), keys, strError)) << strError;
        std::vector<WORD> commands;
        for (const ACCEL& key : keys)
            commands.push_back(key.cmd);
        return commands;
    }

    CScriptedSelectionPrompts m_confirm; // the user confirms moving to the recycle bin
    std::string m_strStore;
    std::unique_ptr<ScopedVariable> m_home;
    std::unique_ptr<TempFolder> m_watched;
    std::map<const CPlace*, std::map<UINT, CCount>> m_counts;
    std::map<const CPlace*, int> m_nWalks;
};

TEST_F(CommandCensusTest, EveryMenuToolbarAndKeyTableHasItsPlace)
{
    ASSERT_TRUE(Start());
    const struct {
        LPCTSTR pszType;
        std::vector<EKind> kinds;
        const char* pszName;
    } types[] = {
        { RT_MENU, { EKind::Menu, EKind::ContextMenu, EKind::FileMenu, EKind::MailMenu }, "menu" },
        { RT_TOOLBAR, { EKind::Toolbar }, "toolbar" },
        { RT_ACCELERATOR, { EKind::Keys }, "key table" },
    };
    for (const auto& type : types) {
        for (UINT nId = 1; nId <= 0xFFFF; ++nId) {
            if (!FindResource(AfxGetResourceHandle(), MAKEINTRESOURCE(static_cast<WORD>(nId)), type.pszType))
                continue;
            const bool bPlaced = std::any_of(std::begin(PLACES), std::end(PLACES), [&](const CPlace& place) {
                return place.nResourceId == nId
                    && std::find(type.kinds.begin(), type.kinds.end(), place.eKind) != type.kinds.end();
            });
            EXPECT_TRUE(bPlaced) << "the " << type.pszName << " " << nId
                                 << " has no place in the census: a new one needs its place and route here";
        }
    }
}

TEST_F(CommandCensusTest, EveryCommandIsHandledAndEnabledInSomeState)
{
    ASSERT_TRUE(Start());
    ASSERT_NE(ActiveView(), nullptr);
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    {
        // letter.txt was opened unprotected.
        std::unique_ptr<CDocumentRec> pLetter(App().GetMainCatalog()->FindPath("D:\\docs\\letter.txt"));
        ASSERT_NE(pLetter, nullptr);
        App().GetPendingDocs()->AddEntry(pLetter->GetFilePath(), CPendingDocs::FLAG_UNPROTECTED);
    }
    DropNewDocument();
    TakeCensus(); // nothing selected

    // A selection in each pane of the catalog view.
    ClickSystem({ "Letters" });
    TakeCensus(); // the tree
    ClickRow(List(), "budget.txt", COLUMN_DESCRIPTION);
    TakeCensus(); // a file, at a cell that can be edited
    Command(ID_EDIT_COPY);
    ClickRow(List(), "Archive");
    TakeCensus(); // a group, with documents to paste
    ClickSystem({ "Letters" });
    TakeCensus(); // the tree, with documents to paste
    ClickRow(List(), "letter.txt");
    ActiveView()->GetContentView()->SetFocus();
    TakeCensus(); // the preview
    ClickSystem({ "Mail" });
    ClickRow(List(), "Plans", COLUMN_DESCRIPTION);
    TakeCensus(); // a message
    Command(ID_VIEW_BACK);
    TakeCensus(); // a way back and forward
    ClickSystem({ "Letters" });
    Command(ID_EDIT_COPY);
    TakeCensus(); // a group to paste

    // The drag bar's windows, each with a row selected.
    ClickSystem({ "Letters" });
    ClickRow(List(), "old.txt");
    Command(ID_DOC_RECYCLE);
    FindIntoTheResultsWindow();
    Places().ChooseItem(CCoolMenu::ENTRY_RECYCLE_BIN);
    ClickRow(Places().GetRecycleBinWindow()->GetList(), "old.txt");
    Places().ChooseItem(CCoolMenu::ENTRY_EXPIRED);
    ClickRow(Places().GetExpiredWindow()->GetList(), "minutes.txt", COLUMN_EXPIRED_DATE);
    Places().ChooseItem(CCoolMenu::ENTRY_SEARCH_RESULTS);
    ClickRow(Places().GetSearchResultsWindow()->GetList(), "letter.txt", COLUMN_DESCRIPTION);
    TakeCensus();
    ClickRow(Places().GetSearchResultsWindow()->GetList(), "Plans", COLUMN_DESCRIPTION);
    TakeCensus(); // a message found

    // Every place the census can open was opened in some state.
    for (const CPlace& place : PLACES) {
        if (place.eRoute != ERoute::OwnDispatch && place.eRoute != ERoute::DialogsLayer) {
            EXPECT_NE(m_counts[&place].empty(), place.pszNotOpened == nullptr)
                << place.pszName << " was opened " << (place.pszNotOpened ? "now" : "never");
        }
    }

    for (const auto& [pPlace, counts] : m_counts) {
        for (const auto& [nID, count] : counts) {
            const CString strWhere = CString(pPlace->pszName) + ": " + count.strText;
            if (FindExemption(PLACES_FILLED, pPlace->nResourceId, nID)) {
                EXPECT_LT(count.nShown, m_nWalks[pPlace]) << strWhere << " (" << nID << ") is filled in no state";
                continue;
            }
            const bool bReached = count.bHandled && count.bEnabled;
            if (FindExemption(LEFT_UNHANDLED, pPlace->nResourceId, nID)) {
                EXPECT_FALSE(bReached) << strWhere << " (" << nID
                                       << ") is handled and enabled now: take it out of its table";
                continue;
            }
            EXPECT_TRUE(count.bHandled) << strWhere << " (" << nID << ") has no handler on its route";
            EXPECT_TRUE(count.bEnabled) << strWhere << " (" << nID << ") is enabled in no state";
        }
    }
}

} // namespace

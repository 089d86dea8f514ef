// Opening catalog entries through the application: the program each open
// action starts (recorded, never run), the choices that cancel, and the main
// window minimised afterwards.

#include "tests/frame/AppTestFixture.h"

#include "catalog/CPendingDocs.h"
#include "catalog/CTextSearch.h"
#include "frame/CArqListView.h"
#include "frame/CArqListViewCtrl.h"
#include "frame/CCoolMenu.h"
#include "frame/CDlgSearchResults.h"
#include "frame/CSisTreeView.h"
#include "mail/CNetscapeMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRecentList.h"
#include "store/FileTypeName.h"
#include "store/ResString.h"
#include "tests/support/ScopedVariable.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/PathMap.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/ToolbarControl.h"
#include "platform/framework/CMenu.h"
#include "platform/shell/ProgramLaunch.h"
#include "platform/window/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Executable files stand for documents and programs: the desktop starts an
// executable document itself, so every launch is known without the host's
// file associations.
class OpeningTest : public AppTest {
protected:
    void TearDown() override
    {
        thePreferences.m_bMinimize = FALSE;
        AppTest::TearDown();
    }

    // An executable file of the test's folder; its program path.
    std::string MakeExecutable(const char* pszName)
    {
        const fs::path path = Home() / pszName;
        std::ofstream(path) << "#!/bin/sh\n";
        fs::permissions(path, fs::perms::owner_all);
        return ProgramPathFromHostPath(path.string());
    }
    std::string HostPath(const char* pszName) const { return (Home() / pszName).string(); }

    // Catalogs each named file with its open action, then starts the program.
    void StartWith(std::vector<std::pair<std::string, DWORD>> documents)
    {
        WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
            auto pSystem = AddSystem(root, "Documents");
            for (const auto& [strPath, dwAction] : documents) {
                const CRecordRef ref = AddDocument(catalog, *pSystem, strPath.c_str());
                CDocumentRec document(&catalog, ref.nBlock, ref.nSlot);
                CDocumentInfo info {};
                ASSERT_NE(document.GetInfo(&info), nullptr);
                info.dwOpenAction = dwAction;
                ASSERT_TRUE(document.UpdateInfo(info));
            }
        });
        ASSERT_TRUE(Start());
    }
    // Catalogs a.sh and b.sh as favourites and recent.sh and plan.sh under a system, then starts.
    void StartWithPlaces()
    {
        std::vector<std::string> paths;
        for (const char* pszName : { "a.sh", "b.sh", "recent.sh", "plan.sh" })
            paths.push_back(MakeExecutable(pszName));
        WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
            auto pSystem = AddSystem(root, "Documents");
            AddDocument(catalog, *pSystem, paths[2].c_str());
            AddDocument(catalog, *pSystem, paths[3].c_str());
            std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(&catalog));
            ASSERT_NE(pFavorites, nullptr);
            AddDocument(catalog, *pFavorites, paths[1].c_str());
            AddDocument(catalog, *pFavorites, paths[0].c_str());
        });
        ASSERT_TRUE(Start());
    }
    // Lists the catalogued file of the test's folder as recently catalogued.
    void MakeRecent(const char* pszName)
    {
        std::unique_ptr<CDocumentRec> pRecent(
            App().GetMainCatalog()->FindPath(ProgramPathFromHostPath(HostPath(pszName)).c_str()));
        ASSERT_NE(pRecent, nullptr);
        ASSERT_TRUE(CRecentList(App().GetMainCatalog()).AddEntry(*pRecent));
    }
    BOOL Open(const std::string& strPath)
    {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(strPath.c_str()));
        EXPECT_NE(pDocument, nullptr) << strPath;
        return pDocument ? App().OpenItem(*pDocument, MainFrame()) : FALSE;
    }
    int OpenCount() { return App().GetMainCatalog()->GetOpenCount(); }
};

// A mailbox of one message catalogued once per mail open action, and a mail
// client on the path that is never run.
class MailOpeningTest : public OpeningTest {
protected:
    void SetUp() override
    {
        OpeningTest::SetUp();
        fs::create_directories(Home() / "bin");
        const fs::path client = Home() / "bin" / "thunderbird";
        std::ofstream(client) << "#!/bin/sh\n";
        fs::permissions(client, fs::perms::owner_all);
        m_strClient = client.string();
        m_path.emplace("PATH", (Home() / "bin").string());
        // The compose file goes to the temporary folder: the test's own, as tests run in parallel.
        fs::create_directories(Home() / "tmp");
        m_tempFolder.emplace("TMPDIR", (Home() / "tmp").string());
        thePreferences.m_nMailClient = 0;

        std::ofstream(Home() / "Inbox") << "From - Mon Jan  2 15:04:05 2006\n"
                                           "From: Ana <ana@example.com>\n"
                                           "To: Bo <bo@example.com>\n"
                                           "Cc: Cy <cy@example.com>\n"
                                           "Subject: Plans\n"
                                           "Date: Mon, 2 Jan 2006 15:04:05 +0000\n"
                                           "Content-Type: text/plain; charset=UTF-8\n"
                                           "Content-Transfer-Encoding: 8bit\n"
                                           "\n"
                                        << MessageBody() << "\n";
        m_strStore = ProgramPathFromHostPath((Home() / "Inbox").string());
        CNetscapeMessage reader;
        ASSERT_EQ(reader.ReadNext(m_strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
        WriteCatalog([&](CCatalog& catalog, CNodeRec& root) {
            auto pNode = AddSystem(root, "Mail");
            CDocumentInfo info {};
            info.wType = DOCUMENT_MAIL;
            std::strcpy(info.szName, "Plans");
            info.nVersion = MAIL_STORE_NETSCAPE;
            info.dwAttributes = static_cast<DWORD>(reader.GetDate());
            const DWORD ids[] = { reader.GetStoreId(), reader.GetOffset(), reader.GetLength() };
            std::memcpy(info.id, ids, sizeof(ids));
            info.id[12] = ' ';
            std::unique_ptr<CDocumentRec> pDocument(catalog.AddAndLink(pNode.get(), info, m_strStore.c_str()));
            ASSERT_NE(pDocument, nullptr);
            m_ref = pDocument->GetRef();
        });
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        thePreferences.m_nMailClient = 0;
        OpeningTest::TearDown();
        m_path.reset();
        m_tempFolder.reset();
    }

    virtual std::string MessageBody() const { return "The plan, word for word."; }

    // Answers the next message box, keeping its text.
    void KeepNextMessage()
    {
        m_driver.OnNextDialog([this](HWND hBox) {
            m_messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            ::EndDialog(hBox, IDOK);
        });
    }

    // Opens the message with the open action.
    BOOL OpenMail(DWORD dwAction)
    {
        CDocumentRec document(App().GetMainCatalog(), m_ref.nBlock, m_ref.nSlot);
        CDocumentInfo info {};
        EXPECT_NE(document.GetInfo(&info), nullptr);
        info.dwOpenAction = dwAction;
        EXPECT_TRUE(document.UpdateInfo(info));
        return App().OpenItem(document, MainFrame());
    }
    // The message the client was asked to compose in launch i.
    std::string Composed(const CLaunchOverride& launches, size_t i) const
    {
        const auto& args = launches.GetLaunches().at(i);
        EXPECT_EQ(args.size(), 3U);
        EXPECT_EQ(args[0], m_strClient);
        EXPECT_EQ(args[1], "-compose");
        EXPECT_EQ(fs::path(args.at(2)).parent_path(), Home() / "tmp");
        std::ifstream in(args.at(2), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::string Head(const std::string& strTo, const std::string& strSubject)
    {
        return "To: " + strTo + "\r\nCc: \r\nSubject: " + strSubject + "\r\n";
    }

    std::optional<ScopedVariable> m_path;
    std::optional<ScopedVariable> m_tempFolder;
    std::vector<CString> m_messages; // the message boxes' texts, as KeepNextMessage kept them
    std::string m_strClient;
    std::string m_strStore;
    CRecordRef m_ref;
};

} // namespace

TEST_F(OpeningTest, EachOpenActionStartsItsProgramAndTracksTheDocument)
{
    const std::string strOwn = MakeExecutable("own.sh");
    const std::string strUnknownAction = MakeExecutable("seven.sh");
    const std::string strChosen = MakeExecutable("chosen.sh");
    const std::string strFolder = MakeExecutable("folder.sh");
    const std::string strEditor = MakeExecutable("editor.sh");
    StartWith({ { strOwn, 0 }, { strUnknownAction, 7 }, { strChosen, 1 }, { strFolder, 3 } });
    m_prompts.m_strOpenWithProgram = strEditor.c_str();
    m_prompts.m_nOpenWithAnswer = IDOK;
    m_prompts.m_nChooseFolderAnswer = IDOK;

    CLaunchOverride launches;
    EXPECT_TRUE(Open(strOwn));
    EXPECT_TRUE(Open(strUnknownAction));
    EXPECT_TRUE(Open(strChosen));
    EXPECT_TRUE(Open(strFolder));
    using Args = std::vector<std::string>;
    EXPECT_EQ(launches.GetLaunches(),
        (std::vector<Args> { Args { HostPath("own.sh") }, Args { HostPath("seven.sh") },
            Args { HostPath("editor.sh"), HostPath("chosen.sh") }, Args { HostPath("folder.sh") } }));
    EXPECT_EQ(m_prompts.m_nChooseFolderCaption, static_cast<UINT>(IDS_CHOOSE_PROGRAM_FOLDER));
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    EXPECT_EQ(App().GetPendingDocs()->CountWithFlags(CPendingDocs::FLAG_OPENED), 4);
}

TEST_F(OpeningTest, ACancelledChoiceOrAFailedStartOpensNothing)
{
    const std::string strChosen = MakeExecutable("chosen.sh");
    const std::string strFolder = MakeExecutable("folder.sh");
    const std::string strOwn = MakeExecutable("own.sh");
    const std::string strGone = ProgramPathFromHostPath(HostPath("gone.sh"));
    StartWith({ { strChosen, 1 }, { strFolder, 3 }, { strOwn, 0 }, { strGone, 0 } });
    fs::remove(HostPath("gone.sh"));

    CLaunchOverride launches;
    EXPECT_FALSE(Open(strChosen));
    EXPECT_FALSE(Open(strFolder));
    EXPECT_EQ(m_prompts.CountOf("open with"), 1);
    EXPECT_EQ(m_prompts.CountOf("choose folder"), 1);
    EXPECT_FALSE(Open(strGone));
    EXPECT_TRUE(launches.GetLaunches().empty());

    launches.FailLaunches();
    EXPECT_FALSE(Open(strOwn));
    EXPECT_EQ(App().GetPendingDocs()->GetCount(), 0);
}

TEST_F(OpeningTest, TheRegisteredProgramOfTheEntrysTypeStartsAndAFailureIsReported)
{
    const std::string strViewer = MakeExecutable("viewer.exe");
    SetClassesKey("Sketch\\shell\\open\\command", { { "", "\"" + strViewer + "\" \"%1\"" } });
    const std::string strSketch = ProgramPathFromHostPath((Home() / "Sketch").string());
    const std::string strOther = ProgramPathFromHostPath((Home() / "Unregistered").string());
    StartWith({ { strSketch, 2 }, { strOther, 2 } });

    CLaunchOverride launches;
    EXPECT_TRUE(Open(strSketch));
    ASSERT_EQ(launches.GetLaunches().size(), 1U);
    EXPECT_EQ(launches.GetLaunches()[0], std::vector<std::string> { HostPath("viewer.exe") });
    EXPECT_TRUE(m_prompts.m_messages.empty());

    EXPECT_FALSE(Open(strOther));
    EXPECT_EQ(m_prompts.m_messages, std::vector<UINT> { IDS_LAUNCH_FAILED });
    EXPECT_EQ(launches.GetLaunches().size(), 1U);
}

TEST_F(OpeningTest, MinimisingAfterAnOpenGivesTheCatalogBackOnce)
{
    StartWith({});
    App().MinimizeAfterOpen();
    EXPECT_FALSE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 1);

    thePreferences.m_bMinimize = TRUE;
    App().MinimizeAfterOpen();
    EXPECT_TRUE(MainFrame()->IsIconic());
    EXPECT_EQ(OpenCount(), 0);
    // A second open while minimised leaves the count alone.
    App().MinimizeAfterOpen();
    EXPECT_EQ(OpenCount(), 0);
}

TEST_F(OpeningTest, AWindowHiddenInTheTrayStaysHidden)
{
    WriteCatalog();
    SetProductValue("Default\\Preferences", "DSAutoIniciar", 1);
    ASSERT_TRUE(Start({ "/DS" }));
    thePreferences.m_bMinimize = TRUE;
    App().MinimizeAfterOpen();
    EXPECT_FALSE(MainFrame()->IsWindowVisible());
    EXPECT_EQ(OpenCount(), 0);
}

TEST_F(MailOpeningTest, EachOpenActionComposesItsMessageFromTheCataloguedOne)
{
    CLaunchOverride launches;
    // The client reads one compose file, written again for each message.
    const auto compose = [&](DWORD dwAction) {
        EXPECT_TRUE(OpenMail(dwAction)) << dwAction;
        return launches.GetLaunches().empty() ? std::string() : Composed(launches, launches.GetLaunches().size() - 1);
    };
    const std::string strAna = "Ana <ana@example.com>";
    EXPECT_EQ(compose(0).rfind(Head(strAna, "RE: Plans"), 0), 0U);
    EXPECT_EQ(compose(1).rfind(Head("Bo <bo@example.com>, Cy <cy@example.com>, " + strAna, "RE: Plans"), 0), 0U);
    EXPECT_EQ(compose(3).rfind(Head("", "Plans"), 0), 0U);
    EXPECT_EQ(compose(5).rfind(Head(strAna, "RE: Plans"), 0), 0U);
    const std::string strForward = compose(2);
    EXPECT_EQ(strForward.rfind(Head("", "[Fwd: Plans]"), 0), 0U);
    EXPECT_EQ(launches.GetLaunches().size(), 5U);

    // The original follows its separator, its header lines first.
    const size_t nSeparator = strForward.find("\r\n\r\n-------- Original Message --------\r\n");
    ASSERT_NE(nSeparator, std::string::npos);
    const size_t nFrom = strForward.find("From: " + strAna, nSeparator);
    ASSERT_NE(nFrom, std::string::npos);
    EXPECT_NE(strForward.find("The plan, word for word.", nFrom), std::string::npos);
}

TEST_F(MailOpeningTest, AMessageFoundIntoTheListWindowIsListedThere)
{
    FindIntoResultsWindow("plans", CTextSearch::FIELD_NAME);
    ASSERT_TRUE(MainFrame()->IsDragBarWindowShown(CCoolMenu::ENTRY_SEARCH_RESULTS));
    CArqListCtrl& list = MainFrame()->GetDragBar().GetList().GetSearchResultsWindow()->GetList();
    list.WaitForFill(TRUE);
    EXPECT_TRUE(CDlgSearchResults::HasResults());
    ASSERT_EQ(list.GetItemCount(), 1);
    const auto* pMessage = dynamic_cast<const CDocumentRec*>(list.GetRowRecord(0));
    ASSERT_NE(pMessage, nullptr);
    EXPECT_EQ(pMessage->GetRef(), m_ref);
}

TEST_F(MailOpeningTest, TheClientStartsOnItsOwnAndAnUnknownClientKindStartsNothing)
{
    CLaunchOverride launches;
    EXPECT_TRUE(OpenMail(4));
    EXPECT_EQ(launches.GetLaunches(), std::vector<std::vector<std::string>> { { m_strClient } });

    thePreferences.m_nMailClient = 1;
    KeepNextMessage();
    KeepNextMessage();
    EXPECT_FALSE(OpenMail(4));
    EXPECT_FALSE(OpenMail(0));
    EXPECT_EQ(launches.GetLaunches().size(), 1U);
    const CString strNoProgram = GetResString(IDS_COMPOSE_NO_PROGRAM);
    EXPECT_EQ(m_messages, (std::vector<CString> { strNoProgram, strNoProgram }));
}

TEST_F(MailOpeningTest, WithoutAMailProgramSendMailAndReplyToSenderSayWhy)
{
    // The desktop's mail hand-off is there, but no mail program for e-mail,
    // and no client on the path to compose a reply with.
    fs::remove(m_strClient);
    const fs::path handOff = Home() / "bin" / "xdg-email";
    std::ofstream(handOff) << "#!/bin/sh\nexit 3\n";
    fs::permissions(handOff, fs::perms::owner_all);
    fs::create_directories(Home() / "desktop");
    ScopedVariable dataHome("XDG_DATA_HOME", (Home() / "desktop").string());
    ScopedVariable dataDirs("XDG_DATA_DIRS", (Home() / "desktop").string());
    ScopedVariable configHome("XDG_CONFIG_HOME", (Home() / "desktop").string());
    CLaunchOverride launches;

    // Send Mail, from the Tools menu.
    m_driver.ChooseNextMenuCommand(ID_TOOLS_SEND_MAIL);
    KeepNextMessage();
    ASSERT_TRUE(m_driver.PressKey('T', CTestDriver::ALT));
    m_driver.Pump();
    ASSERT_EQ(m_messages.size(), 1U) << "Send Mail says why nothing opens";
    EXPECT_EQ(m_messages[0], GetResString(IDS_SEND_MAIL_NO_PROGRAM));

    // Open, from the message's menu in the list: its open action replies to the sender.
    CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
    ASSERT_TRUE(m_driver.ClickTreeItem(tree.m_hWnd, CTestDriver::TreeItem(tree.m_hWnd, { "Mail" })));
    m_driver.Advance(CSplitterFrame::CLICK_DELAY);
    CArqListViewCtrl& list = ActiveView()->GetListView()->GetListCtrl();
    list.WaitForFill(TRUE);
    ASSERT_EQ(list.GetItemCount(), 1);
    CRect rcRow;
    ASSERT_TRUE(list.GetItemRect(0, &rcRow, LVIR_LABEL));
    m_driver.ChooseNextMenuCommand(ID_DOC_OPEN);
    KeepNextMessage();
    ASSERT_TRUE(m_driver.RightClick(list.GetSafeHwnd(), rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2));
    m_driver.Pump();
    ASSERT_EQ(m_messages.size(), 2U) << "Reply says why nothing opens";
    EXPECT_EQ(m_messages[1], GetResString(IDS_COMPOSE_NO_PROGRAM));
    EXPECT_TRUE(launches.GetLaunches().empty());
}

TEST_F(MailOpeningTest, AMessageGoneFromItsStoreIsReportedAndComposesNothing)
{
    std::ofstream(Home() / "Inbox", std::ios::trunc) << "";
    CLaunchOverride launches;
    m_driver.AnswerNextMessageBox(IDOK);
    EXPECT_FALSE(OpenMail(0));
    EXPECT_TRUE(launches.GetLaunches().empty());
}

// A message whose text alone passes the body's limit, in two-byte characters.
class LongMailOpeningTest : public MailOpeningTest {
protected:
    std::string MessageBody() const override
    {
        std::string strBody;
        for (int i = 0; i < 20000; ++i)
            strBody += "\xC3\xA9";
        return strBody;
    }
};

TEST_F(LongMailOpeningTest, TheQuotedBodyIsCutToItsLimitBetweenCharacters)
{
    CLaunchOverride launches;
    ASSERT_TRUE(OpenMail(2));
    ASSERT_EQ(launches.GetLaunches().size(), 1U);
    const std::string strComposed = Composed(launches, 0);
    const size_t nBody = strComposed.find("\r\n\r\n-------- Original Message");
    ASSERT_NE(nBody, std::string::npos);
    const std::string strBody = strComposed.substr(nBody);
    EXPECT_LE(strBody.size(), 32000U);
    EXPECT_GE(strBody.size(), 31999U);
    ASSERT_GE(strBody.size(), 2U);
    EXPECT_EQ(strBody.substr(strBody.size() - 2), "\xC3\xA9");
}

TEST_F(OpeningTest, TheFavouritesAndRecentMenusOpenTheirEntryByPosition)
{
    StartWithPlaces();

    CLaunchOverride launches;
    // An empty recent list and a favourite past the list open nothing.
    Command(ID_RECENT_FIRST);
    Command(ID_FAVORITE_FIRST + 2);
    EXPECT_TRUE(launches.GetLaunches().empty());

    // The favourites are listed by name.
    Command(ID_FAVORITE_FIRST + 1);
    Command(ID_FAVORITE_FIRST);
    MakeRecent("recent.sh");
    thePreferences.m_bMinimize = TRUE;
    Command(ID_RECENT_FIRST);
    using Args = std::vector<std::string>;
    EXPECT_EQ(launches.GetLaunches(),
        (std::vector<Args> { Args { HostPath("b.sh") }, Args { HostPath("a.sh") }, Args { HostPath("recent.sh") } }));
    EXPECT_TRUE(MainFrame()->IsIconic());
}

TEST_F(OpeningTest, TheDocumentMenusPlacesOpenTheDocumentChosenThere)
{
    StartWithPlaces();
    MakeRecent("recent.sh");
    const std::string strPlan = ProgramPathFromHostPath(HostPath("plan.sh"));
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    const int nPlan = App().GetPendingDocs()->AddEntry(strPlan.c_str(), CPendingDocs::FLAG_UNPROTECTED);

    // Each entry is chosen in the Document menu of the menu bar, opened from the keyboard.
    CLaunchOverride launches;
    const auto choose = [this](UINT nID) {
        m_driver.ChooseNextMenuCommand(nID);
        ASSERT_TRUE(m_driver.PressKey('D', CTestDriver::ALT));
        m_driver.Pump();
    };
    choose(ID_FAVORITE_FIRST + 1);
    choose(ID_RECENT_FIRST);
    using Args = std::vector<std::string>;
    EXPECT_EQ(
        launches.GetLaunches(), (std::vector<Args> { Args { HostPath("b.sh") }, Args { HostPath("recent.sh") } }));
    // A pending document is offered for confirmation.
    choose(ID_PENDING_FIRST + static_cast<UINT>(nPlan));
    EXPECT_EQ(m_prompts.CountOf("image preview"), 1);
    EXPECT_EQ(m_prompts.m_strPreviewed.CompareNoCase(strPlan.c_str()), 0) << m_prompts.m_strPreviewed;
}

TEST_F(OpeningTest, TheNewDocumentKindsTheCatalogKnowsComeFirstAndStartTheirProgram)
{
    const std::string strWriter = MakeExecutable("writer.exe");
    const std::string strPainter = MakeExecutable("painter.exe");
    SetFileType(".txt", "txtfile", "text document", true);
    SetClassesKey("txtfile\\shell\\open\\command", { { "", "\"" + strWriter + "\" \"%1\"" } });
    SetFileType(".sk", "Sketch", "Drawing", true);
    SetClassesKey("Sketch\\shell\\open\\command", { { "", "\"" + strPainter + "\" \"%1\"" } });
    SetFileType(".zz", "Plain", "Another text", true);
    SetFileType(".log", "logfile", "Log", false);
    WriteCatalog([](CCatalog& catalog, CNodeRec&) { EXPECT_TRUE(catalog.LoadExtensions("txt")); });
    ASSERT_TRUE(Start());

    CStringArray first;
    CStringArray second;
    App().BuildExtensionMap(first, second);
    ASSERT_EQ(first.GetSize(), 1);
    EXPECT_STREQ(first[0], "text document");
    // The desktop's RTF, always a kind that can be made, is among the others.
    ASSERT_EQ(second.GetSize(), 3);
    EXPECT_STREQ(second[0], "Another text");
    EXPECT_STREQ(second[1], "Drawing");
    EXPECT_EQ(second[2], FileTypeNameOfExtension(".rtf"));
    const CStringArray& types = App().GetNewDocumentTypes();
    ASSERT_EQ(types.GetSize(), 4);
    EXPECT_STREQ(types[0], ".txt");
    EXPECT_STREQ(types[2], ".sk");

    CLaunchOverride launches;
    Command(ID_NEW_DOCUMENT_FIRST + 2);
    Command(ID_NEW_DOCUMENT_FIRST);
    Command(ID_NEW_DOCUMENT_FIRST + 4);
    using Args = std::vector<std::string>;
    EXPECT_EQ(launches.GetLaunches(),
        (std::vector<Args> { Args { HostPath("painter.exe") }, Args { HostPath("writer.exe") } }));
}

TEST_F(OpeningTest, TheNewDocumentMenuListsTheKindsAndTheOpenChoiceBecomesOpen)
{
    SetFileType(".txt", "txtfile", "Text Document", true);
    SetFileType(".sk", "Sketch", "Drawing", true);
    WriteCatalog([](CCatalog& catalog, CNodeRec&) { EXPECT_TRUE(catalog.LoadExtensions("txt")); });
    ASSERT_TRUE(Start());
    CMenu* pDocument = MainFrame()->GetMenu()->GetSubMenu(1);
    ASSERT_NE(pDocument, nullptr);
    MainFrame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pDocument->GetSafeHmenu()), 1);
    CMenu* pNew = pDocument->GetSubMenu(0);
    ASSERT_NE(pNew, nullptr);
    std::vector<UINT> ids;
    for (UINT i = 0; i < pNew->GetMenuItemCount(); ++i)
        ids.push_back(pNew->GetMenuItemID(static_cast<int>(i)));
    // The known kind first, the other after a separator.
    const auto first = std::find(ids.begin(), ids.end(), static_cast<UINT>(ID_NEW_DOCUMENT_FIRST));
    ASSERT_NE(first, ids.end());
    ASSERT_LT(first + 2, ids.end());
    EXPECT_EQ(*(first + 1), 0U);
    EXPECT_EQ(*(first + 2), static_cast<UINT>(ID_NEW_DOCUMENT_FIRST + 1));

    // A document's context menu gets the plain Open in place of its program choice.
    CMenu context;
    ASSERT_TRUE(context.CreatePopupMenu());
    CMenu programs;
    ASSERT_TRUE(programs.CreatePopupMenu());
    programs.AppendMenu(MF_STRING, ID_OPEN_WITH_FIRST, "Editor");
    context.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(programs.Detach()), "Open With");
    CMainFrame::ReplaceMenuItem(&context);
    EXPECT_EQ(context.GetMenuItemID(0), static_cast<UINT>(ID_DOC_OPEN));
}

TEST_F(OpeningTest, AFileLeftUnprotectedIsStillListedAfterTheProgramClosedAndStartedAgain)
{
    const std::string strPlan = MakeExecutable("plan.txt");
    StartWith({ { strPlan, 0 } });
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    App().GetPendingDocs()->AddEntry(strPlan.c_str(), CPendingDocs::FLAG_UNPROTECTED);
    // Closing asks about it: kept listed; the window goes to the tray.
    m_driver.AnswerNextMessageBox(IDNO);
    MainFrame()->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    ASSERT_FALSE(MainFrame()->IsWindowVisible());
    Stop();

    // The next start offers to protect it (declined) and still lists it.
    m_driver.AnswerNextMessageBox(IDNO);
    ASSERT_TRUE(Start());
    ASSERT_NE(App().GetPendingDocs(), nullptr);
    EXPECT_GE(App().GetPendingDocs()->FindEntry(strPlan.c_str()), 0);
}

TEST_F(OpeningTest, TheToolbarsPopupsOpenTheChosenEntryWithTheirButtonPressedMeanwhile)
{
    const std::string strA = MakeExecutable("a.sh");
    const std::string strB = MakeExecutable("b.sh");
    const std::string strPainter = MakeExecutable("painter.exe");
    SetFileType(".sk", "Sketch", "Drawing", true);
    SetClassesKey("Sketch\\shell\\open\\command", { { "", "\"" + strPainter + "\" \"%1\"" } });
    WriteCatalog([&](CCatalog& catalog, CNodeRec&) {
        std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(&catalog));
        ASSERT_NE(pFavorites, nullptr);
        AddDocument(catalog, *pFavorites, strB.c_str());
        AddDocument(catalog, *pFavorites, strA.c_str());
    });
    ASSERT_TRUE(Start());
    const HWND hToolbar = MainFrame()->GetToolBar().GetSafeHwnd();

    CLaunchOverride launches;
    int nStateWhileOpen = 0;
    m_driver.OnNextWait([&] {
        nStateWhileOpen = CTestDriver::ToolbarButtonState(hToolbar, ID_FAVORITES_POPUP);
        ASSERT_EQ(CTestDriver::PopupWindows().size(), 1U);
        m_driver.ClickPopupRow(CTestDriver::PopupWindows().at(0), 1); // by path: a.sh, b.sh
    });
    Command(ID_FAVORITES_POPUP);
    EXPECT_TRUE(nStateWhileOpen & TBSTATE_PRESSED);
    EXPECT_FALSE(CTestDriver::ToolbarButtonState(hToolbar, ID_FAVORITES_POPUP) & TBSTATE_PRESSED);
    EXPECT_TRUE(CTestDriver::PopupWindows().empty());

    // The new-document popup: the mail row (when mail can be sent), then the kinds.
    m_driver.OnNextWait([&] {
        HWND hPopup = CTestDriver::PopupWindows().at(0);
        const std::vector<CString> rows = CTestDriver::Items(CTestDriver::PopupList(hPopup));
        const auto it = std::find(rows.begin(), rows.end(), CString("Drawing"));
        ASSERT_NE(it, rows.end());
        // Down to the kind's row, then Enter.
        for (auto row = rows.begin(); row <= it; ++row)
            m_driver.PressKey(VK_DOWN);
        m_driver.PressKey(VK_RETURN);
    });
    Command(ID_NEW_DOCUMENT_POPUP);
    using Args = std::vector<std::string>;
    EXPECT_EQ(
        launches.GetLaunches(), (std::vector<Args> { Args { HostPath("b.sh") }, Args { HostPath("painter.exe") } }));

    // With no document opened unprotected, that popup does not open.
    Command(ID_UNPROTECTED_POPUP);
    EXPECT_FALSE(CTestDriver::ToolbarButtonState(hToolbar, ID_UNPROTECTED_POPUP) & TBSTATE_PRESSED);
}

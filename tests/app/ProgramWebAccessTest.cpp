// Web access in the running program, as a user sets it up and a relay then
// uses it: the program started as its entry starts it (its own catalog
// opening, its own dialogs), web access set up from the Web Access menu
// through the set-up wizard against a directory server on loopback, and the
// relay's requests sent through the request folder and through the socket
// channel, before and after the catalog is restored from its backup.

#include "dialogs/CDialogPrompts.h"
#include "dialogs/documents/CDlgWALog.h"
#include "frame/WebAccessServices.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/ui/ClassesRootBuilder.h"
#include "tests/webaccess/directory/SetupWizardRoad.h"
#include "tools/testpeers/ChannelRelay.h"
#include "tools/testpeers/FakeDirectoryServer.h"
#include "tools/testpeers/FolderRelay.h"
#include "tools/testpeers/RelaySession.h"
#include "webaccess/dialogs/CDlgWACatalogSettings.h"
#include "webaccess/dialogs/CDlgWAChangeUserID.h"
#include "webaccess/dialogs/CDlgWAEditProfile.h"
#include "webaccess/dialogs/CDlgWAProfileInvite.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/base/PathMap.h"
#include "platform/base/ZipReader.h"
#include "platform/net/ConnectedState.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/Menu.h"
#include "platform/window/Messages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char CATALOG_CODE[] = "H0ME42";
constexpr char PROFILE_PASSWORD[] = "guest";
constexpr UINT SCAN_INTERVAL = 1000; // ms, the request scan's default

// How the relay hands the program its requests.
enum class ERelay { Folder, Socket };

std::string ReadHostFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The text of a zip reply file (its one entry); a mark when it is none.
std::string ZipText(const fs::path& path)
{
    CZipReader zip;
    if (!zip.OpenFirstEntry(ProgramPathFromHostPath(path.string()).c_str()))
        return "(not a zip reply)";
    std::string strText;
    char buffer[4096];
    int nRead;
    while ((nRead = zip.Read(buffer, sizeof buffer)) > 0)
        strText.append(buffer, static_cast<size_t>(nRead));
    return nRead == 0 ? strText : "(damaged zip reply)";
}

std::string ErrorOf(const std::string& strReply)
{
    std::smatch match;
    return std::regex_search(strReply, match, std::regex("<#ERR \\|([^|]*)\\|#>")) ? match[1].str() : "";
}

std::string Loaded(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return static_cast<LPCTSTR>(str);
}

class ProgramWebAccessTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        setenv("no_proxy", "127.0.0.1", 1);
        setenv("NO_PROXY", "127.0.0.1", 1);
        m_dialogs.emplace();
        // A document type the catalog does not keep yet: each start offers it.
        SetFileType(".txt", "txtfile", "Text Document", true);
        // The user's documents lie outside the program folder, as the web
        // explorer reaches nothing inside it.
        fs::create_directories(Home() / "uploads");
        m_documents.WriteFile("alpha.txt", "alpha text");
        WriteCatalog([this](CCatalog& catalog, CNodeRec& root) {
            std::unique_ptr<CNodeRec> pProjects = AddSystem(root, "Projects");
            m_projects = pProjects->GetRef();
            AddDocument(catalog, *pProjects, DocumentPath().c_str());
        });
        // What the user keeps in the settings: the directory server to register
        // with, and no connection notice at each start.
        CRegistryKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CString(CPreferences::KEY_PATH) + "\\WA"));
        ASSERT_TRUE(key.SetString("WASite", m_directory.BaseUrl().c_str()));
        ASSERT_TRUE(key.SetDWORD("WarnConn", 0));
    }
    void TearDown() override
    {
        Stop();
        m_dialogs.reset();
        EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
        AppTest::TearDown();
    }

    // Starts the program as its entry does; the offer of new document types declined.
    bool StartProgram()
    {
        m_driver.OnNextDialog([](HWND hDlg) { ::EndDialog(hDlg, IDCANCEL); });
        return Start() != FALSE;
    }

    std::string DocumentPath() const { return ProgramPathFromHostPath((m_documents / "alpha.txt").string()); }

    /* The menus, as the user opens them. */

    // The menu that holds the command as one of its own items, searched
    // from hMenu down (null: from the menu bar).
    HMENU MenuOf(UINT nID, HMENU hMenu = nullptr) const
    {
        if (!hMenu)
            hMenu = ::GetMenu(MainFrame()->GetSafeHwnd());
        for (int i = 0; hMenu && i < ::GetMenuItemCount(hMenu); ++i) {
            if (::GetMenuItemID(hMenu, i) == nID)
                return hMenu;
            HMENU hSub = ::GetSubMenu(hMenu, i);
            if (HMENU hFound = hSub ? MenuOf(nID, hSub) : nullptr)
                return hFound;
        }
        return nullptr;
    }
    // Whether the item shows enabled when its menu opens.
    bool IsOffered(UINT nID) const
    {
        HMENU hMenu = MenuOf(nID);
        if (!hMenu)
            return false;
        MainFrame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
        return (::GetMenuState(hMenu, nID, MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    void Choose(UINT nID)
    {
        ASSERT_TRUE(IsOffered(nID)) << nID;
        Command(nID);
    }

    /* Set-up. */

    // Web Access > Start on a program without web access: the wizard
    // registers an existing account and catalog over a cable link.
    void SetUpWebAccess()
    {
        m_directory.SetReply(std::string("<#WACN |0| |welcome| |x| |") + CATALOG_CODE + "|#>");
        CSetupWizardRoad wizard;
        CDialogScript script;
        // The notice shows its start, though the focus selects all of it.
        LRESULT nNoticeTop = -1;
        wizard.Next(script).Then([&nNoticeTop](HWND hSheet) {
            nNoticeTop
                = ::SendMessage(CTestDriver::FindChild(hSheet, IDC_WA_NOTICE_TEXT), EM_GETFIRSTVISIBLELINE, 0, 0);
        });
        wizard.Next(script);
        wizard.Next(script.Check(IDC_WA_CONN_CABLE));
        wizard.Next(script.Check(IDC_WA_EXISTING_ACCOUNT));
        script.SetText(IDC_WA_ACCOUNT_USER_ID, "ana").SetText(IDC_WA_ACCOUNT_PASSWORD, "pw").Check(IDC_WA_ACCOUNT_KEEP);
        wizard.Next(script);
        wizard.Next(script.Check(IDC_WA_EXISTING_CATALOG));
        script.SetText(IDC_WA_CATALOG_NAME, "Home").SetText(IDC_WA_CATALOG_CODE, CATALOG_CODE);
        script.SetText(IDC_WA_PROFILE_PASSWORD, PROFILE_PASSWORD).SetText(IDC_WA_CONFIRM_PASSWORD, PROFILE_PASSWORD);
        wizard.Next(script);
        wizard.Next(script.SetText(IDC_WA_TARGET_FOLDER, ProgramFolderText(Home() / "uploads")));
        script.Press(ID_WIZFINISH);
        m_driver.AnswerNextDialog(std::move(script));
        Choose(ID_WEB_TOGGLE);
        EXPECT_EQ(wizard.m_pages, (std::vector<int> { 1, 2, 4, 7, 8, 10, 11, 12 }));
        EXPECT_EQ(nNoticeTop, 0);

        std::string strFolder;
        ASSERT_TRUE(HostPathFromProgramPath(GetWebAccessSettings().m_strCommFolder, strFolder));
        m_commFolder = strFolder;
        TakeAnnouncedPort();
    }
    // The relay connects to the port the program last announced to the directory server.
    void TakeAnnouncedPort()
    {
        const std::string strQuery = m_directory.LastQuery();
        const size_t nAt = strQuery.find("Cpor=");
        ASSERT_NE(nAt, std::string::npos) << strQuery;
        m_nPort = std::stoi(strQuery.substr(nAt + 5));
    }
    // Where the relay finds "Projects" now (a rebuild moves the records).
    void FindProjects()
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        ASSERT_NE(pRoot, nullptr);
        for (const auto& pChild : pRoot->GetChildren()) {
            if (std::string(pChild->GetName()) == "Projects")
                m_projects = pChild->GetRef();
        }
    }

    /* The relay. */

    // One request as the relay sends it, with the session key the ID's last
    // login handed out, the server's scan let run; the reply's text, empty
    // when none came (a logout).
    std::string Exchange(ERelay eRelay, const std::string& strId, const std::string& strToken)
    {
        const std::string& strKey = m_keys[strId];
        std::string strReply;
        if (eRelay == ERelay::Folder) {
            EXPECT_TRUE(WriteFolderRequest(m_commFolder, strId, UserLine(strId, strKey) + "\r\n" + strToken + "\r\n"));
            m_driver.Advance(SCAN_INTERVAL);
            // A download's reply is written off the user-interface thread and
            // may come a moment later; a logout gets none.
            if (strToken.rfind("<#LOGOUT ", 0) != 0) {
                EXPECT_TRUE(m_driver.PumpUntil([&] { return fs::exists(m_commFolder / (strId + ".out")); }));
            }
            strReply = TakeFolderReply(strId);
        } else {
            strReply = Relay(ChannelRequest(CATALOG_CODE, strId, { strToken }, strKey), m_commFolder / (strId + ".in"));
        }
        if (std::string strNewKey = SessionKeyOf(strReply); !strNewKey.empty())
            m_keys[strId] = strNewKey;
        return strReply;
    }
    std::string TakeFolderReply(const std::string& strId)
    {
        const fs::path out = m_commFolder / (strId + ".out");
        if (!fs::exists(out))
            return {};
        std::string strReply = ZipText(out);
        fs::remove(out);
        return strReply;
    }
    // Sends the bytes over the socket channel; once the program has put down
    // what they carry (pending), the scan runs and the reply comes back.
    std::string Relay(const std::string& strBytes, const fs::path& pending)
    {
        const int nPort = m_nPort;
        auto peer = std::async(std::launch::async, [=] { return RunChannelExchange(nPort, strBytes); });
        auto done = [&] { return peer.wait_for(0ms) == std::future_status::ready; };
        EXPECT_TRUE(m_driver.PumpUntil([&] { return fs::exists(pending) || done(); }));
        m_driver.Advance(SCAN_INTERVAL);
        EXPECT_TRUE(m_driver.PumpUntil(done));
        const CChannelExchange exchange = peer.get();
        EXPECT_TRUE(exchange.bConnected && exchange.bSent);
        return ReplyText(exchange.strReply);
    }
    // The text of the reply bytes a relay received; empty for none.
    std::string ReplyText(const std::string& strBytes) const
    {
        if (strBytes.empty())
            return {};
        const fs::path scratch = Home() / "relay.zip";
        std::ofstream(scratch, std::ios::binary) << strBytes;
        std::string strReply = ZipText(scratch);
        fs::remove(scratch);
        return strReply;
    }
    // An announced upload's bytes, delivered; the upload's reply.
    std::string Upload(ERelay eRelay, const std::string& strId, const std::string& strBytes)
    {
        const fs::path upl = m_commFolder / (strId + ".upl");
        if (eRelay == ERelay::Folder) {
            std::ofstream(upl, std::ios::binary) << strBytes;
            m_driver.Advance(SCAN_INTERVAL);
            return TakeFolderReply(strId);
        }
        return Relay(
            ChannelUploadLine(CATALOG_CODE, strId, static_cast<long long>(strBytes.size()), 0) + strBytes, upl);
    }
    std::string Login(ERelay eRelay, const std::string& strId)
    {
        return Exchange(eRelay, strId, "<#LOGIN |" + strId + "| |ana| |" + PROFILE_PASSWORD + "| |Mozilla|#>");
    }
    std::string WdirProjects(ERelay eRelay, const std::string& strId)
    {
        return Exchange(eRelay, strId,
            "<#WDIR |" + std::to_string(m_projects.nBlock) + "| |" + std::to_string(m_projects.nSlot) + "|#>");
    }

    // A whole visit: every command a browser sends, each answered from the catalog or the disk.
    void Visit(ERelay eRelay, const std::string& strId, const std::string& strUploadName)
    {
        SCOPED_TRACE(eRelay == ERelay::Folder ? "through the request folder" : "through the socket channel");
        const std::string strLogin = Login(eRelay, strId);
        EXPECT_EQ(ErrorOf(strLogin), "");
        EXPECT_NE(strLogin.find("Projects"), std::string::npos) << strLogin;

        const std::string strFolder = WdirProjects(eRelay, strId);
        EXPECT_EQ(ErrorOf(strFolder), "");
        EXPECT_NE(strFolder.find("alpha.txt"), std::string::npos) << strFolder;

        const std::string strTree = Exchange(eRelay, strId, "<#WTREE#>");
        EXPECT_EQ(ErrorOf(strTree), "");
        EXPECT_NE(strTree.find("Projects"), std::string::npos) << strTree;

        const std::string strFound = Exchange(eRelay, strId, "<#WFIND |alpha| |1W| |NAM|#>");
        EXPECT_EQ(ErrorOf(strFound), "");
        EXPECT_NE(strFound.find("alpha.txt"), std::string::npos) << strFound;

        const std::string strPath = DocumentPath();
        const std::string strDownload = Exchange(eRelay, strId, "<#DOWN2 |" + strPath + "|#>");
        EXPECT_EQ(ErrorOf(strDownload), "");
        EXPECT_NE(strDownload.find("alpha text"), std::string::npos) << strDownload;

        const std::string strAttributes = Exchange(eRelay, strId, "<#ATTR |" + strPath + "|#>");
        EXPECT_EQ(ErrorOf(strAttributes), "");
        EXPECT_NE(strAttributes.find("alpha.txt"), std::string::npos) << strAttributes;

        const std::string strTip = Exchange(eRelay, strId, "<#TIPV |" + strPath + "|#>");
        EXPECT_NE(strTip.find("<#HTML |tipview|#>"), std::string::npos) << strTip;

        EXPECT_EQ(Exchange(eRelay, strId, "<#UPL |" + strUploadName + "| |5|#>"), "\r\n<#END#>");
        EXPECT_EQ(Upload(eRelay, strId, "hello"), "\r\n<#END#>");
        EXPECT_EQ(ReadHostFile(Home() / "uploads" / strUploadName), "hello");

        EXPECT_EQ(Exchange(eRelay, strId, "<#LOGOUT |" + strId + "| |ana|#>"), "");
        // The session is over: the next request is refused for want of one.
        EXPECT_EQ(ErrorOf(WdirProjects(eRelay, strId)), Loaded(IDS_WA_ERR_NO_SESSION));
    }

    TempFolder m_documents; // the user's documents, outside the program folder
    std::optional<CDialogPrompts> m_dialogs;
    CFakeDirectoryServer m_directory;
    CConnectedStateOverride m_connected { TRUE, INTERNET_CONNECTION_LAN };
    CRecordRef m_projects {};
    std::map<std::string, std::string> m_keys; // the session key of each ID, as the relay keeps it
    fs::path m_commFolder;
    int m_nPort { 0 };
};

} // namespace

TEST_F(ProgramWebAccessTest, ARelayIsAnsweredFromTheProgramsCatalogThroughTheFolderAndTheSocket)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_TRUE(MainFrame()->IsWebServerRunning());

    Visit(ERelay::Folder, "u1", "folder.txt");
    Visit(ERelay::Socket, "u2", "socket.txt");
}

TEST_F(ProgramWebAccessTest, ARestoredCatalogIsServedAfterRequestsWaitedForIt)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Folder, "u1")), "");

    // While the backup list shows, nothing has changed: the session is served.
    bool bServedDuringTheList = false;
    CDialogScript list;
    list.Then([&](HWND) { bServedDuringTheList = ErrorOf(WdirProjects(ERelay::Folder, "u1")).empty(); })
        .Select(IDC_BACKUP_GENERATIONS, 0)
        .Press(IDC_BACKUP_CHOOSE);
    m_driver.AnswerNextDialog(std::move(list));
    m_driver.OnNextDialog([](HWND hInfo) { ::EndDialog(hInfo, IDOK); }); // the generation's confirmation
    // While the restore reports its result, the catalog is being replaced: requests wait in the folder.
    bool bAnsweredMeanwhile = true;
    m_driver.OnNextDialog([&](HWND hRestored) {
        EXPECT_TRUE(WriteFolderRequest(m_commFolder, "u1",
            UserLine("u1", m_keys["u1"]) + "\r\n<#WDIR |" + std::to_string(m_projects.nBlock) + "| |"
                + std::to_string(m_projects.nSlot) + "|#>\r\n"));
        EXPECT_TRUE(WriteFolderRequest(
            m_commFolder, "u3", std::string("u3\r\n<#LOGIN |u3| |ana| |") + PROFILE_PASSWORD + "| |x|#>\r\n"));
        m_driver.Advance(3 * SCAN_INTERVAL);
        bAnsweredMeanwhile = fs::exists(m_commFolder / "u1.out") || fs::exists(m_commFolder / "u3.out")
            || !fs::exists(m_commFolder / "u1.in");
        ::EndDialog(hRestored, IDOK);
    });
    Choose(ID_CATALOG_RESTORE);
    EXPECT_TRUE(bServedDuringTheList);
    EXPECT_FALSE(bAnsweredMeanwhile);

    // Served again: the waiting requests are answered from the restored
    // catalog. The session made on the replaced catalog has ended with it.
    m_driver.Advance(SCAN_INTERVAL);
    EXPECT_EQ(ErrorOf(TakeFolderReply("u1")), Loaded(IDS_WA_ERR_NO_SESSION));
    const std::string strLogin = TakeFolderReply("u3");
    EXPECT_EQ(ErrorOf(strLogin), "");
    EXPECT_NE(strLogin.find("Projects"), std::string::npos) << strLogin;

    // Logging in again reaches the restored catalog, through either relay.
    for (ERelay eRelay : { ERelay::Folder, ERelay::Socket }) {
        ASSERT_EQ(ErrorOf(Login(eRelay, "u1")), "");
        EXPECT_NE(WdirProjects(eRelay, "u1").find("alpha.txt"), std::string::npos);
    }
}

// A rebuild stops the service for the copy and brings it back on the new
// files: it connects again with the stored account, and a relay logs in anew.
TEST_F(ProgramWebAccessTest, ARebuiltCatalogIsServedWhenTheServiceComesBack)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Folder, "u1")), "");
    const size_t nRequestsBefore = m_directory.Requests().size();

    Choose(ID_CATALOG_REBUILD);
    EXPECT_TRUE(MainFrame()->IsWebServerRunning());
    ASSERT_GT(m_directory.Requests().size(), nRequestsBefore) << "connected again";
    TakeAnnouncedPort();
    FindProjects();
    EXPECT_EQ(ErrorOf(WdirProjects(ERelay::Folder, "u1")), Loaded(IDS_WA_ERR_NO_SESSION));
    for (ERelay eRelay : { ERelay::Folder, ERelay::Socket }) {
        ASSERT_EQ(ErrorOf(Login(eRelay, "u1")), "");
        EXPECT_NE(WdirProjects(eRelay, "u1").find("alpha.txt"), std::string::npos);
        EXPECT_NE(Exchange(eRelay, "u1", "<#WFIND |alpha| |1W| |NAM|#>").find("alpha.txt"), std::string::npos);
    }
}

TEST_F(ProgramWebAccessTest, TheLogAndAccountCommandsOpenTheirDialogsOnceWebAccessIsSetUp)
{
    const std::vector<std::pair<UINT, std::function<bool(CWnd*)>>> commands = {
        { ID_WEB_LOG, [](CWnd* pDlg) { return dynamic_cast<CDlgWALog*>(pDlg) != nullptr; } },
        { ID_WEB_CHANGE_USER, [](CWnd* pDlg) { return dynamic_cast<CDlgWAChangeUserID*>(pDlg) != nullptr; } },
        { ID_WEB_CATALOG_SETTINGS, [](CWnd* pDlg) { return dynamic_cast<CDlgWACatalogSettings*>(pDlg) != nullptr; } },
        { ID_WEB_ACCOUNT, [](CWnd* pDlg) { return dynamic_cast<CDlgWAEditProfile*>(pDlg) != nullptr; } },
        { ID_WEB_INVITE, [](CWnd* pDlg) { return dynamic_cast<CDlgWAProfileInvite*>(pDlg) != nullptr; } },
    };
    ASSERT_TRUE(StartProgram());
    for (const auto& [nID, isItsDialog] : commands)
        EXPECT_FALSE(IsOffered(nID)) << nID << " before web access is set up";

    SetUpWebAccess();
    for (const auto& [nID, isItsDialog] : commands) {
        bool bShown = false;
        m_driver.OnNextDialog([&, isItsDialog = isItsDialog](HWND hDlg) {
            bShown = isItsDialog(CWnd::FromHandlePermanent(hDlg));
            ::EndDialog(hDlg, IDCANCEL);
        });
        Choose(nID);
        EXPECT_TRUE(bShown) << nID;
    }

    // The set-up is kept: the next start offers the commands at once.
    Stop();
    ASSERT_TRUE(StartProgram());
    for (const auto& [nID, isItsDialog] : commands)
        EXPECT_TRUE(IsOffered(nID)) << nID << " after a new start";
}

/*** Hostile peers against the running program ***/

// A peer that knows another user's ID, through either relay, reaches nothing
// of that user's session; the owner's session goes on.
TEST_F(ProgramWebAccessTest, APeerNamingALoggedInUsersIdWithoutItsKeyReachesNoSession)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Socket, "u1")), "");
    ASSERT_FALSE(m_keys["u1"].empty());
    const std::string strOwnersKey = m_keys["u1"];
    for (ERelay eRelay : { ERelay::Folder, ERelay::Socket }) {
        m_keys["u1"].clear(); // the peer knows the ID only
        EXPECT_EQ(ErrorOf(WdirProjects(eRelay, "u1")), Loaded(IDS_WA_ERR_NO_SESSION));
        EXPECT_EQ(ErrorOf(Exchange(eRelay, "u1", "<#LOGIN |u1| |ana| |wrong| |x|#>")), Loaded(IDS_WA_ERR_NO_PROFILE));
        EXPECT_EQ(Exchange(eRelay, "u1", "<#LOGOUT |u1| |ana|#>"), "");
    }
    m_keys["u1"] = strOwnersKey;
    EXPECT_NE(WdirProjects(ERelay::Socket, "u1").find("alpha.txt"), std::string::npos);
}

// A group the profile granted is deleted and a new one takes its record:
// the relay's user sees nothing of the new group.
TEST_F(ProgramWebAccessTest, AGroupMadeInADeletedGrantedGroupsPlaceIsNotServed)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    CCatalog* pCatalog = App().GetMainCatalog();
    ASSERT_TRUE(pCatalog->Acquire());
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    const CRecordRef shared = AddSystem(*pRoot, "Shared")->GetRef();
    CWAGroupRightsMap rights;
    rights.SetAt({ static_cast<DWORD>(m_projects.nBlock), static_cast<DWORD>(m_projects.nSlot) }, WA_GROUP_WHOLE);
    rights.SetAt({ static_cast<DWORD>(shared.nBlock), static_cast<DWORD>(shared.nSlot) }, WA_GROUP_WHOLE);
    CWASettings& settings = GetWebAccessSettings();
    settings.m_profiles.front()->SetGroupRights(rights);
    ASSERT_TRUE(thePreferences.SaveWebSettings());
    ASSERT_EQ(ErrorOf(Login(ERelay::Folder, "u1")), "");

    CNodeRec projects(pCatalog, m_projects.nBlock, m_projects.nSlot);
    ASSERT_TRUE(projects.DeleteSubtree(TRUE));
    std::unique_ptr<CNodeRec> pSecret = AddSystem(*pRoot, "Secret");
    ASSERT_EQ(pSecret->GetRef(), m_projects) << "the new group must take the deleted one's record";
    const std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindOrAddPath(pSecret.get(), DocumentPath().c_str()));
    ASSERT_NE(pDocument, nullptr);
    ASSERT_TRUE(pCatalog->Release());

    // Neither the session logged in before nor a new one reaches it.
    for (ERelay eRelay : { ERelay::Folder, ERelay::Socket }) {
        EXPECT_EQ(WdirProjects(eRelay, "u1").find("alpha.txt"), std::string::npos);
        EXPECT_EQ(Exchange(eRelay, "u1", "<#WTREE#>").find("Secret"), std::string::npos);
        EXPECT_EQ(Exchange(eRelay, "u1", "<#WFIND |alpha| |1W| |NAM|#>").find("alpha.txt"), std::string::npos);
        ASSERT_EQ(ErrorOf(Login(eRelay, "u1")), "");
    }
    // The grant is gone from what the settings keep, too.
    Stop();
    ASSERT_TRUE(StartProgram());
    WORD wValue = 0;
    EXPECT_FALSE(GetWebAccessSettings().m_profiles.front()->GetGroupRights().Lookup(
        { static_cast<DWORD>(m_projects.nBlock), static_cast<DWORD>(m_projects.nSlot) }, wValue));
}

// A peer that opens an empty upload under a logged-in user's ID and waits
// never receives that user's reply.
TEST_F(ProgramWebAccessTest, AnEmptyUploadUnderAnotherUsersIdGetsNoneOfItsReplies)
{
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Socket, "u1")), "");
    // Nobody announced it: refused before a byte lands, nothing left to take
    // the owner's next reply.
    const int nPort = m_nPort;
    auto thief = std::async(
        std::launch::async, [=] { return RunChannelExchange(nPort, ChannelUploadLine(CATALOG_CODE, "u1", 0, 0)); });
    ASSERT_TRUE(m_driver.PumpUntil([&] { return thief.wait_for(0ms) == std::future_status::ready; }));
    const std::string strStolen = ReplyText(thief.get().strReply);
    EXPECT_EQ(ErrorOf(strStolen), "Upload not allowed!");
    EXPECT_FALSE(fs::exists(m_commFolder / "u1.upl"));
    // The owner goes on as before.
    EXPECT_NE(WdirProjects(ERelay::Socket, "u1").find("alpha.txt"), std::string::npos);
}

// What the service writes is the user's alone and holds no password, and a
// relay's user reaches nothing of the program's own folder, through either
// channel.
TEST_F(ProgramWebAccessTest, TheServicesFilesAreTheUsersAloneAndTheProgramFolderIsOutOfReach)
{
    const auto modeOf = [](const fs::path& path) { return fs::status(path).permissions() & fs::perms::all; };
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Folder, "u1")), "");
    // A login naming another ID than its request's, and one with a password
    // longer than any profile's: both refused, neither password logged.
    EXPECT_NE(ErrorOf(Exchange(ERelay::Folder, "u1", "<#LOGIN |u2| |ana| |Sesame-9| |x|#>")), "");
    EXPECT_NE(ErrorOf(Exchange(ERelay::Socket, "u3", "<#LOGIN |u3| |ana| |ThePasswordIsTooLong| |x|#>")), "");
    const std::string strLog = ReadHostFile(Home() / "WebArch.LOG");
    EXPECT_NE(strLog.find("LOGIN |u2|"), std::string::npos) << strLog;
    EXPECT_EQ(strLog.find("Sesame-9"), std::string::npos) << strLog;
    EXPECT_EQ(strLog.find("ThePasswordIsTooLong"), std::string::npos) << strLog;

    EXPECT_EQ(modeOf(Home() / "WebArch.LOG"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(modeOf(m_commFolder), fs::perms::owner_all);
    EXPECT_EQ(modeOf(Home() / "settings"), fs::perms::owner_all);
    EXPECT_EQ(modeOf(Home() / "settings" / "CurrentUser.reg"), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFolderRequest(m_commFolder, "u1", UserLine("u1", m_keys["u1"]) + "\r\n<#WTREE#>\r\n"));
    m_driver.Advance(SCAN_INTERVAL);
    EXPECT_EQ(modeOf(m_commFolder / "u1.out"), fs::perms::owner_read | fs::perms::owner_write);
    TakeFolderReply("u1");

    // The settings hold every password: no download or listing reaches them.
    const std::string strSettings = ProgramPathFromHostPath((Home() / "settings" / "CurrentUser.reg").string());
    for (ERelay eRelay : { ERelay::Folder, ERelay::Socket }) {
        const std::string strDownload = Exchange(eRelay, "u1", "<#DOWN2 |" + strSettings + "|#>");
        EXPECT_EQ(ErrorOf(strDownload), Loaded(IDS_WA_ERR_MISSING));
        EXPECT_EQ(strDownload.find("WASite"), std::string::npos);
        const std::string strListing
            = Exchange(eRelay, "u1", "<#EDIR |" + ProgramPathFromHostPath(Home().string()) + "|#>");
        EXPECT_EQ(ErrorOf(strListing), Loaded(IDS_WA_ERR_MISSING));
        EXPECT_EQ(strListing.find("CurrentUser"), std::string::npos);
    }
}

TEST_F(ProgramWebAccessTest, RequestsAreAnsweredAsTheyComeAndUploadsKeepToTheSettingsLimit)
{
    // The limit the user keeps in the settings: 1 MiB.
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CString(CPreferences::KEY_PATH) + "\\WA"));
    ASSERT_TRUE(key.SetDWORD("UploadLimitMB", 1));
    key.Close();
    ASSERT_TRUE(StartProgram());
    SetUpWebAccess();
    ASSERT_EQ(ErrorOf(Login(ERelay::Folder, "u1")), "");

    // The clock stands, so the scan timer never fires: the request is
    // answered because its file came.
    ASSERT_TRUE(WriteFolderRequest(m_commFolder, "u1", UserLine("u1", m_keys["u1"]) + "\r\n<#WTREE#>\r\n"));
    ASSERT_TRUE(m_driver.PumpUntil([&] { return fs::exists(m_commFolder / "u1.out"); }));
    EXPECT_NE(TakeFolderReply("u1").find("Projects"), std::string::npos);

    // An announced upload past the limit is refused before it lands.
    EXPECT_EQ(Exchange(ERelay::Folder, "u1", "<#UPL |big.bin| |2097152|#>"), "\r\n<#END#>");
    const int nPort = m_nPort;
    auto big = std::async(std::launch::async,
        [=] { return RunChannelExchange(nPort, ChannelUploadLine(CATALOG_CODE, "u1", 2 * 1024 * 1024, 0)); });
    ASSERT_TRUE(m_driver.PumpUntil([&] { return big.wait_for(0ms) == std::future_status::ready; }));
    EXPECT_EQ(ErrorOf(ReplyText(big.get().strReply)), "Uploaded file too large!");
    EXPECT_FALSE(fs::exists(Home() / "uploads" / "big.bin"));
    // Within it, the same announcement is stored.
    EXPECT_EQ(Upload(ERelay::Socket, "u1", "hello"), "\r\n<#END#>");
    EXPECT_EQ(ReadHostFile(Home() / "uploads" / "big.bin"), "hello");
}

#include "mail/CMailer.h"

#include "mail/CNetscapeMailer.h"
#include "mail/COE4Mailer.h"
#include "mail/COE5Mailer.h"
#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailerFixtures.h"

#include <functional>

namespace {

// "name" for a mailbox, "name/" for a group, children in brackets: "Inbox[Work[Old]],Sent".
std::string Describe(const CMailFolderArray& folders)
{
    std::string strText;
    for (const CMailFolderEntry& entry : folders) {
        if (!strText.empty())
            strText += ",";
        strText += static_cast<LPCTSTR>(entry.strName);
        if (entry.strMailbox.IsEmpty())
            strText += "/";
        if (entry.pSubfolders)
            strText += "[" + Describe(*entry.pSubfolders) + "]";
    }
    return strText;
}

std::vector<std::string> UserNames(const CMailer& mailer)
{
    std::vector<std::string> names;
    for (const CMailerUserEntry& user : mailer.GetUsers())
        names.emplace_back(static_cast<LPCTSTR>(user.strName));
    return names;
}

// Every folder entry of a tree, depth first.
void ForEachFolder(const CMailFolderArray& folders, const std::function<void(const CMailFolderEntry&)>& fn)
{
    for (const CMailFolderEntry& entry : folders) {
        fn(entry);
        if (entry.pSubfolders)
            ForEachFolder(*entry.pSubfolders, fn);
    }
}

} // namespace

/* Netscape users and their mbox folder trees. */

TEST_F(MailerTest, NetscapeFindsTwoUsersWithTheirFolderTrees)
{
    AddNetscapeUser("ana", "ana");
    WriteMbox("ana/Mail/Inbox");
    WriteMbox("ana/Mail/Inbox.sbd/Work");
    WriteMbox("ana/Mail/Inbox.sbd/Work.sbd/Old");
    m_stores.WriteFile("ana/Mail/Sent", "");
    m_stores.WriteFile("ana/Mail/Inbox.msf", "// summary");
    m_stores.WriteFile("ana/Mail/Inbox.snm", "From summary");
    m_stores.WriteFile("ana/Mail/notes.txt", "not a mailbox");
    AddNetscapeUser("bo", "profiles/bo");
    WriteMbox("profiles/bo/Mail/Local Folders/Trash");
    WriteMbox("profiles/bo/ImapMail/imap.example.com/INBOX");
    std::filesystem::create_directories(m_stores / "profiles/bo/Mail/empty account");

    CNetscapeMailer mailer;
    EXPECT_TRUE(mailer.Scan());
    EXPECT_TRUE(mailer.IsScanned());
    ASSERT_EQ(UserNames(mailer), (std::vector<std::string> { "ana", "bo" }));
    EXPECT_EQ(Describe(mailer.GetUsers()[0].pUser->folders), "Inbox[Work[Old]],Sent");
    EXPECT_EQ(Describe(mailer.GetUsers()[1].pUser->folders), "imap.example.com/[INBOX],Local Folders/[Trash]");

    const CMailFolderEntry& work = (*mailer.GetUsers()[0].pUser->folders[0].pSubfolders)[0];
    EXPECT_EQ(work.strMailbox.CompareNoCase(StorePath("ana/Mail/Inbox.sbd/Work").c_str()), 0);
    ForEachFolder(mailer.GetUsers()[0].pUser->folders,
        [](const CMailFolderEntry& entry) { EXPECT_EQ(entry.dwStoreKind, DWORD(MAIL_STORE_NETSCAPE)); });
    // Users entered as Netscape's are Netscape's.
    EXPECT_EQ(mailer.GetClientName(mailer.GetUsers()[0]), "Netscape");
}

TEST_F(MailerTest, NetscapeFindsTheInstalledMozillaProfiles)
{
    auto profile = m_userHome / ".thunderbird/x1.default";
    m_userHome.WriteFile(".thunderbird/profiles.ini", "[Profile0]\nName=default\nIsRelative=1\nPath=x1.default\n");
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Inbox", BuildMbox(FixtureMessages("m", 1)));
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Inbox.sbd/Lists", "");

    CNetscapeMailer mailer;
    ASSERT_TRUE(mailer.Scan());
    ASSERT_EQ(UserNames(mailer), (std::vector<std::string> { "default" }));
    EXPECT_EQ(Describe(mailer.GetUsers()[0].pUser->folders), "Local Folders/[Inbox[Lists]]");
    std::string strInbox = ProgramPath(profile / "Mail/Local Folders/Inbox");
    EXPECT_EQ(mailer.GetStoreUserName(strInbox.c_str()), "default");
    // The profile names the client that wrote it; a store nobody owns names the finder's client.
    EXPECT_EQ(mailer.GetClientName(mailer.GetUsers()[0]), "Thunderbird");
    EXPECT_EQ(mailer.GetStoreClientName(strInbox.c_str()), "Thunderbird");
    EXPECT_EQ(mailer.GetStoreClientName("c:\\no\\such\\box"), "Netscape");
}

TEST_F(MailerTest, NetscapeOffersMailboxesThatBeginWithAByteOrderMark)
{
    const std::string strMbox = BuildMbox(FixtureMessages("m", 1));
    m_userHome.WriteFile(".thunderbird/profiles.ini", "[Profile0]\nName=default\nIsRelative=1\nPath=x1.default\n");
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Marked", "\xEF\xBB\xBF" + strMbox);
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Plain", strMbox);
    // A mark alone, or one before anything but a separator, is no mailbox.
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Mark only", "\xEF\xBB\xBF");
    m_userHome.WriteFile(".thunderbird/x1.default/Mail/Local Folders/Notes", "\xEF\xBB\xBFSome notes\n");

    CNetscapeMailer mailer;
    ASSERT_TRUE(mailer.Scan());
    ASSERT_EQ(UserNames(mailer), (std::vector<std::string> { "default" }));
    EXPECT_EQ(Describe(mailer.GetUsers()[0].pUser->folders), "Local Folders/[Marked,Plain]");
}

TEST_F(MailerTest, NetscapeFollowsNoFolderTreeDeeperThanItsBound)
{
    AddNetscapeUser("deep", "deep");
    std::string strPath = "deep/Mail/f";
    for (int i = 0; i < NETSCAPE_MAX_FOLDER_DEPTH + 4; ++i) {
        WriteMbox(strPath);
        strPath += ".sbd/f";
    }
    CNetscapeMailer mailer;
    ASSERT_TRUE(mailer.Scan());
    int nDepth = 0;
    for (const CMailFolderArray* pLevel = &mailer.GetUsers()[0].pUser->folders; pLevel && !pLevel->empty();
         pLevel = (*pLevel)[0].pSubfolders.get())
        ++nDepth;
    EXPECT_EQ(nDepth, NETSCAPE_MAX_FOLDER_DEPTH - 1);
}

/* Outlook Express stores. */

TEST_F(MailerTest, OutlookExpress4FindsTheStoreOfTheLoggedOnUser)
{
    ScopedVariable user("USERNAME", "carla");
    SetOe4StoreRoot("oe4");
    WriteOe4Store("oe4/Mail/Inbox.mbx");
    WriteOe4Store("oe4/Mail/Sent Items.mbx");
    m_stores.WriteFile("oe4/Mail/Lonely.mbx", BuildOe4Store(FixtureMessages("m", 1)).strMbx); // no .idx
    m_stores.WriteFile("oe4/Mail/Bad.mbx", "JMF5 not a store");
    m_stores.WriteFile("oe4/Mail/Bad.idx", "JMF9");

    COE4Mailer mailer;
    ASSERT_TRUE(mailer.Scan());
    ASSERT_EQ(UserNames(mailer), (std::vector<std::string> { "carla" }));
    EXPECT_EQ(Describe(mailer.GetUsers()[0].pUser->folders), "Inbox,Sent Items");
    EXPECT_EQ(mailer.GetUsers()[0].pUser->folders[0].dwStoreKind, DWORD(MAIL_STORE_OE4));
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("oe4/Mail/Sent Items.mbx").c_str()), "carla");
}

TEST_F(MailerTest, OutlookExpress5FindsTwoIdentities)
{
    AddOe5Identity("{11111111-2222-3333-4444-555555555555}", "Main Identity", "oe5/main");
    WriteDbx("oe5/main/Inbox.dbx");
    WriteDbx("oe5/main/Deleted Items.dbx");
    m_stores.WriteFile(
        "oe5/main/Folders.dbx", std::string("\xCF\xAD\x12\xFE\xC6\xFD\x74\x6F", 8) + std::string(0x2500, '\0'));
    AddOe5Identity("{AAAAAAAA-2222-3333-4444-555555555555}", "Dora", "oe5/dora");
    WriteDbx("oe5/dora/Inbox.dbx");

    COE5Mailer mailer;
    ASSERT_TRUE(mailer.Scan());
    ASSERT_EQ(UserNames(mailer), (std::vector<std::string> { "Dora", "Main Identity" }));
    EXPECT_EQ(Describe(mailer.GetUsers()[1].pUser->folders), "Deleted Items,Inbox");
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("oe5/dora/Inbox.dbx").c_str()), "Dora");
    EXPECT_EQ(mailer.GetStoreUserName(("*" + StorePath("oe5/main/inbox.dbx")).c_str()), "Main Identity");
}

TEST_F(MailerTest, OutlookExpressStoresAreKnownByTheirContentNotTheirNames)
{
    SetOe4StoreRoot("oe4");
    WriteDbx("oe4/Mail/Archive.mbx"); // A message database under the other kind's name
    WriteOe4Store("oe4/Mail/Inbox.mbx");
    AddOe5Identity("{1}", "Eve", "oe5");
    WriteOe4Store("oe5/Old.dbx"); // A .mbx with its Old.idx, named .dbx
    WriteDbx("oe5/Sent");         // No extension at all
    m_stores.WriteFile("oe5/Notes.dbx", std::string(0x3000, 'x'));

    COE4Mailer oe4;
    COE5Mailer oe5;
    const struct {
        CMailer* pMailer;
        const char* pszFolders;
        DWORD dwKinds[2];
    } cases[] = {
        { &oe4, "Archive,Inbox", { MAIL_STORE_OE5, MAIL_STORE_OE4 } },
        { &oe5, "Old,Sent", { MAIL_STORE_OE4, MAIL_STORE_OE5 } },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.pMailer->Scan()) << c.pszFolders;
        const CMailFolderArray& folders = c.pMailer->GetUsers()[0].pUser->folders;
        ASSERT_EQ(Describe(folders), c.pszFolders);
        for (size_t i = 0; i < 2; ++i)
            EXPECT_EQ(folders[i].dwStoreKind, c.dwKinds[i]) << folders[i].strName;
    }
}

TEST_F(MailerTest, StoreRootsWithVariablesAreExpanded)
{
    WriteDbx("oe5/Inbox.dbx");
    ScopedVariable variable("ARCHIVORA_TEST_ROOT", StorePath("oe5"));
    SetRegistryString(HKEY_CURRENT_USER, "Identities\\{1}", "Username", "Eve");
    SetRegistryString(HKEY_CURRENT_USER, "Identities\\{1}\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
        "%ARCHIVORA_TEST_ROOT%", REG_EXPAND_SZ);

    COE5Mailer mailer;
    ASSERT_TRUE(mailer.Scan());
    EXPECT_EQ(Describe(mailer.GetUsers()[0].pUser->folders), "Inbox");
}

/* Scanning once, forgetting, and what the lookups answer. */

TEST_F(MailerTest, ScansOnceUntilTheStoresAreCleared)
{
    AddNetscapeUser("ana", "ana");
    WriteMbox("ana/Mail/Inbox");
    CNetscapeMailer mailer;
    EXPECT_FALSE(mailer.IsScanned());
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("ana/Mail/Inbox").c_str()), "ana");
    EXPECT_TRUE(mailer.IsScanned());

    AddNetscapeUser("bo", "bo");
    WriteMbox("bo/Mail/Inbox");
    EXPECT_TRUE(mailer.ScanOnce());
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("bo/Mail/Inbox").c_str()), "");
    EXPECT_EQ(mailer.GetUsers().size(), 1u);

    mailer.ClearStores();
    EXPECT_FALSE(mailer.IsScanned());
    EXPECT_TRUE(mailer.GetUsers().empty());
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("bo/Mail/Inbox").c_str()), "bo");
    EXPECT_EQ(mailer.GetUsers().size(), 2u);
}

TEST_F(MailerTest, UnknownStoresHaveNoUserAndNoDisplayPath)
{
    AddNetscapeUser("ana", "ana");
    WriteMbox("ana/Mail/Inbox");
    WriteMbox("ana/Mail/Inbox.sbd/Work");
    CNetscapeMailer mailer;
    EXPECT_EQ(mailer.GetStoreUserName(StorePath("ana/Mail/Other").c_str()), "");
    EXPECT_EQ(mailer.GetStoreUserName(""), "");
    EXPECT_EQ(mailer.GetStoreUserName("*"), "");
    EXPECT_EQ(mailer.GetStoreUserName(nullptr), "");
    EXPECT_EQ(mailer.GetMailboxDisplayPath(StorePath("ana/Mail/Other").c_str()), "");
    EXPECT_EQ(mailer.GetMailboxDisplayPath(StorePath("ana/Mail/Inbox.sbd/Work").c_str()), "ana\\Inbox\\Work");
}

TEST_F(MailerTest, NothingInstalledFindsNoUsers)
{
    CNetscapeMailer netscape;
    COE4Mailer oe4;
    COE5Mailer oe5;
    EXPECT_FALSE(netscape.Scan());
    EXPECT_FALSE(oe4.Scan());
    EXPECT_FALSE(oe5.Scan());
    EXPECT_TRUE(netscape.IsScanned());
    EXPECT_FALSE(netscape.HasFound());
}

/* Bad registry contents. */

TEST_F(MailerTest, BadRegistryContentsFindNothingAndDoNotFail)
{
    // A DirRoot of the wrong type, one that names no folder, one that names a file, an empty one.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\num", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
        ERROR_SUCCESS);
    DWORD dwValue = 7;
    ASSERT_EQ(RegSetValueEx(hKey, "DirRoot", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), 4), ERROR_SUCCESS);
    RegCloseKey(hKey);
    SetRegistryString(
        HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\gone", "DirRoot", StorePath("nowhere"));
    m_stores.WriteFile("file", "x");
    SetRegistryString(
        HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\file", "DirRoot", StorePath("file"));
    SetRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\empty", "DirRoot", "");
    SetRegistryString(
        HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\bad", "DirRoot", "C:\\a|b<c>");
    // Outlook Express keys without their values, or with malformed paths.
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Microsoft\\Outlook Express", "Other", "x");
    SetRegistryString(HKEY_CURRENT_USER, "Identities\\{1}", "Username", "NoStore");
    SetRegistryString(
        HKEY_CURRENT_USER, "Identities\\{2}\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root", "\\\\");

    CNetscapeMailer netscape;
    COE4Mailer oe4;
    COE5Mailer oe5;
    EXPECT_FALSE(netscape.Scan());
    EXPECT_FALSE(oe4.Scan());
    EXPECT_FALSE(oe5.Scan());
}

TEST_F(MailerTest, DamagedStoresAreLeftOutOfTheFolders)
{
    AddNetscapeUser("ana", "ana");
    m_stores.WriteFile("ana/Mail/Garbage", std::string("\0\1\2\3\4\5garbage", 13));
    WriteMbox("ana/Mail/Inbox");
    AddOe5Identity("{1}", "Main Identity", "oe5");
    m_stores.WriteFile("oe5/Short.dbx", "\xCF\xAD");
    m_stores.WriteFile("oe5/Wrong.dbx", std::string(0x2600, 'x'));
    WriteDbx("oe5/Inbox.dbx");

    CNetscapeMailer netscape;
    ASSERT_TRUE(netscape.Scan());
    EXPECT_EQ(Describe(netscape.GetUsers()[0].pUser->folders), "Inbox");
    COE5Mailer oe5;
    ASSERT_TRUE(oe5.Scan());
    EXPECT_EQ(Describe(oe5.GetUsers()[0].pUser->folders), "Inbox");
}

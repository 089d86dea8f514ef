#include "mail/CMailClientSet.h"

#include "mail/MailResult.h"
#include "tests/mail/MailerFixtures.h"

TEST_F(MailerTest, TheSetAsksNetscapeThenOutlookExpress4Then5)
{
    CMailClientSet set;
    std::vector<std::string> names;
    for (int i = 0; i < CMailClientSet::MAILER_COUNT; ++i)
        names.emplace_back(static_cast<LPCTSTR>(set.GetAt(i)->GetName()));
    EXPECT_EQ(names, (std::vector<std::string> { "Netscape", "Outlook Express 4", "Outlook Express 5" }));
    EXPECT_EQ(set.GetAt(-1), nullptr);
    EXPECT_EQ(set.GetAt(CMailClientSet::MAILER_COUNT), nullptr);
    EXPECT_EQ(set.ForStoreKind(MAIL_STORE_OE4).GetStoreKind(), MAIL_STORE_OE4);
    EXPECT_EQ(set.ForStoreKind(MAIL_STORE_OE5).GetStoreKind(), MAIL_STORE_OE5);
    EXPECT_EQ(set.ForStoreKind(MAIL_STORE_NETSCAPE).GetStoreKind(), MAIL_STORE_NETSCAPE);
    EXPECT_EQ(set.ForStoreKind(1).GetStoreKind(), MAIL_STORE_NETSCAPE);
}

TEST_F(MailerTest, TheSetHasStoresWhenAnyFinderFoundUsers)
{
    CMailClientSet set;
    EXPECT_FALSE(set.HasStores());
    AddOe5Identity("{1}", "Main Identity", "oe5");
    WriteDbx("oe5/Inbox.dbx");
    EXPECT_FALSE(set.HasStores()); // each finder scanned once already
    set.ClearStores();
    EXPECT_TRUE(set.HasStores());
    EXPECT_FALSE(set.GetAt(0)->HasFound());
    EXPECT_TRUE(set.GetAt(2)->HasFound());
}

TEST_F(MailerTest, MailboxDisplayNamesComeFromTheProgramsSet)
{
    AddNetscapeUser("ana", "ana");
    WriteMbox("ana/Mail/Inbox");
    WriteMbox("ana/Mail/Inbox.sbd/Work");
    AddOe5Identity("{1}", "Main Identity", "oe5");
    WriteDbx("oe5/Inbox.dbx");
    GetMailClientSet().ClearStores();

    std::string strWork = StorePath("ana/Mail/Inbox.sbd/Work");
    EXPECT_EQ(GetMailboxDisplayName(strWork.c_str()), "ana\\Inbox\\Work");
    // Catalogued mail folders are lower-cased and start with '*'.
    CString strCatalogued = ("*" + StorePath("oe5/Inbox.dbx")).c_str();
    strCatalogued.MakeLower();
    EXPECT_EQ(GetMailboxDisplayName(strCatalogued), "Main Identity\\Inbox");
    EXPECT_EQ(GetMailboxDisplayName("*c:\\no\\such\\box"), "*c:\\no\\such\\box");
    EXPECT_EQ(GetMailboxDisplayName(nullptr), "");
}

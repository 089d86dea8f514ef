#include "monitor/CNewDocMonitor.h"

#include "catalog/CDocumentPlacement.h"
#include "mail/CMailMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CMailDocumentHooks.h"
#include "store/CMailStoreRec.h"
#include "tests/mail/MailFixtures.h"
#include "tests/monitor/MonitorFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Mail stores written below T:\mail, catalogued up to their present size.
class CNewDocMonitorMailTest : public MonitorTest {
protected:
    void SetUp() override
    {
        MonitorTest::SetUp();
        g_bMailboxReorganizePending = FALSE;
    }
    void TearDown() override
    {
        g_bMailboxReorganizePending = FALSE;
        MonitorTest::TearDown();
    }

    // An mbox of nCount messages "Old 0"... at T:\mail\<name>, a store of the kind.
    std::string AddStore(const char* pszName, int nCount, WORD wKind = LOCATION_NETSCAPE)
    {
        std::string strStore = WriteOnT(std::string("mail/") + pszName, BuildMbox(FixtureMessages("Old ", nCount)));
        EXPECT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(wKind, strStore.c_str())));
        EXPECT_TRUE(m_pCatalog->SetLocationValue(
            strStore.c_str(), static_cast<LONG>(fs::file_size(HostOnT(std::string("mail/") + pszName)))));
        return strStore;
    }
    void Append(const char* pszName, const std::string& strPrefix, int nCount)
    {
        std::ofstream(HostOnT(std::string("mail/") + pszName), std::ios::app)
            << BuildMbox(FixtureMessages(strPrefix, nCount));
    }
    void PostChange(const std::string& strStore)
    {
        const int nIndex = m_pCatalog->GetLocationWatchIndex(strStore.c_str());
        ASSERT_GE(nIndex, 0);
        PostMessage(GetNoticeWindow(), GetNotifyChangeMessage(), 0, nIndex);
        m_driver.Pump();
    }
    // The subjects of the queued messages, oldest first.
    std::vector<std::string> QueuedSubjects() const
    {
        std::vector<std::string> subjects;
        for (const CNewDocNotice& notice : m_pMonitor->GetNotices())
            subjects.emplace_back(notice.GetMessage() ? LPCTSTR(notice.GetMessage()->GetSubject()) : "(no message)");
        return subjects;
    }
};

TEST_F(CNewDocMonitorMailTest, MailArrivingInAWatchedStoreIsQueuedMessageByMessage)
{
    const std::string strStore = AddStore("inbox", 2);
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    ASSERT_GE(m_pCatalog->GetLocationWatchIndex(strStore.c_str()), 0);

    Append("inbox", "New ", 2);
    EXPECT_TRUE(m_driver.PumpUntil([&] { return !m_pMonitor->GetNotices().empty(); }))
        << "the folder watch reports the store's growth";
    EXPECT_EQ(m_pMonitor->GetNotices().size(), 1U) << "one store notice, however many writes";
    EXPECT_TRUE(m_pMonitor->GetNotices()[0].IsStoreChange());
    Drain();
    EXPECT_EQ(QueuedSubjects(), (std::vector<std::string> { "New 0", "New 1" }));
    EXPECT_EQ(m_pMonitor->GetAnnouncedCount(), 2);
    EXPECT_EQ(m_pCatalog->GetLocationValue(strStore.c_str()), static_cast<LONG>(fs::file_size(HostOnT("mail/inbox"))));
    EXPECT_EQ(ShownIcon()->strTip, "Archivora: 2 new documents");

    // Nothing new: a change that did not grow the store queues nothing.
    PostChange(strStore);
    Drain();
    EXPECT_EQ(m_pMonitor->GetNotices().size(), 2U);
}

TEST_F(CNewDocMonitorMailTest, AShrunkStoreIsNotReadButAsksForReorganising)
{
    const std::string strStore = AddStore("inbox", 3);
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    WriteOnT("mail/inbox", BuildMbox(FixtureMessages("Old ", 1)));
    PostChange(strStore);
    Drain();
    EXPECT_TRUE(m_pMonitor->GetNotices().empty());
    EXPECT_TRUE(g_bMailboxReorganizePending);

    // Switched off, a change is not looked at.
    g_bMailboxReorganizePending = FALSE;
    ASSERT_TRUE(m_pMonitor->EnableMonitor(FALSE));
    m_pCatalog->SetLocationEntry(strStore.c_str(), 0);
    PostChange(strStore);
    EXPECT_FALSE(g_bMailboxReorganizePending);
}

TEST_F(CNewDocMonitorMailTest, StoresOfOneFolderAndKindShareAWatch)
{
    const std::string strInbox = AddStore("inbox", 1);
    const std::string strSent = AddStore("sent", 1);
    const std::string strOther = AddStore("archive.mbx", 1, LOCATION_OUTLOOK_EXPRESS4);
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    const int nInbox = m_pCatalog->GetLocationWatchIndex(strInbox.c_str());
    EXPECT_GE(nInbox, 0);
    EXPECT_EQ(m_pCatalog->GetLocationWatchIndex(strSent.c_str()), nInbox);
    EXPECT_GE(m_pCatalog->GetLocationWatchIndex(strOther.c_str()), 0);
    EXPECT_NE(m_pCatalog->GetLocationWatchIndex(strOther.c_str()), nInbox);
}

TEST_F(CNewDocMonitorMailTest, TheAutomaticModeCataloguesNewMessagesOnce)
{
    thePreferences.m_nDSAutoCataloguing = 2;
    Group("Notes", SEARCH_MAIL_SUBJECT, "new");
    const std::string strStore = AddStore("inbox", 1);
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    Append("inbox", "New ", 1);
    PostChange(strStore);
    Drain();
    EXPECT_TRUE(m_pMonitor->GetNotices().empty());
    const std::set<std::string> picture = CatalogPicture(*m_pCatalog);
    ASSERT_EQ(picture.size(), 1U);
    EXPECT_NE(picture.begin()->find("| Notes"), std::string::npos) << *picture.begin();

    // Read again from an older position: the message catalogued is not queued again.
    ASSERT_TRUE(m_pCatalog->SetLocationValue(strStore.c_str(), 1));
    thePreferences.m_nDSAutoCataloguing = 0;
    PostChange(strStore);
    Drain();
    EXPECT_EQ(QueuedSubjects(), std::vector<std::string> {});
}

TEST_F(CNewDocMonitorMailTest, AMessageWithoutSubjectIsCataloguedUnderTheNoSubjectText)
{
    thePreferences.m_nDSAutoCataloguing = 2;
    const std::string strStore = AddStore("inbox", 1);
    ASSERT_TRUE(m_pMonitor->EnableMonitor(TRUE));
    CFixtureMessage message;
    message.strSubject.clear();
    std::ofstream(HostOnT("mail/inbox"), std::ios::app) << BuildMbox({ message.Text() });
    PostChange(strStore);
    Drain();
    EXPECT_TRUE(m_pMonitor->GetNotices().empty()) << "catalogued, not left to announce";
    CString strNoSubject;
    ASSERT_TRUE(strNoSubject.LoadString(IDS_NOTICE_NO_SUBJECT));
    const std::set<std::string> picture = CatalogPicture(*m_pCatalog);
    ASSERT_EQ(picture.size(), 1U);
    EXPECT_NE(picture.begin()->find("*" + std::string(strNoSubject.MakeLower()) + " | "), std::string::npos)
        << *picture.begin();

    // Read again from an older position: the message is known under that title.
    ASSERT_TRUE(m_pCatalog->SetLocationValue(strStore.c_str(), 1));
    thePreferences.m_nDSAutoCataloguing = 0;
    PostChange(strStore);
    Drain();
    EXPECT_EQ(QueuedSubjects(), std::vector<std::string> {});
}

} // namespace

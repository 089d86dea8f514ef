#include "catalog/CCatalogUpdate.h"

#include "catalog/DocumentTexts.h"
#include "mail/CMailMessage.h"
#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CDirectoryRec.h"
#include "store/CLogFile.h"
#include "store/CMailDocumentHooks.h"
#include "store/CMailStoreRec.h"
#include "tests/catalog/CatalogDriveFixture.h"
#include "tests/mail/MailFixtures.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"
#include "platform/base/TextFunctions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Real mail folders copied onto T: before anything reads them, catalogued as
// the catalog's mail stores.
class CCatalogUpdateMailTest : public CatalogDriveTest {
protected:
    // Copies a shared test folder to T:\mail\<name> and makes it a store of
    // the location kind; empty when the shared folder is absent.
    std::string AddStore(const char* pszShared, const char* pszName, WORD wKind)
    {
        const std::optional<fs::path> source = SharedTestData(fs::path("mail") / pszShared);
        if (!source || !fs::exists(*source))
            return {};
        fs::create_directories(HostOnT("mail"));
        fs::copy_file(*source, HostOnT(std::string("mail/") + pszName));
        std::string strStore = OnT(std::string("mail/") + pszName);
        EXPECT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(wKind, strStore.c_str())));
        return strStore;
    }

    // The live messages a reader finds in a store.
    static int CountMessages(const std::string& strStore, int nStoreKind)
    {
        std::unique_ptr<CMailMessage> pReader = NewMailReader(nStoreKind);
        int nCount = 0;
        for (DWORD dwPosition = 0;;) {
            const int nResult = pReader->ReadNext(strStore.c_str(), dwPosition, MAIL_MAX_PATH);
            if (nResult != MAIL_OK && nResult != MAIL_DELETED)
                return nCount;
            dwPosition = pReader->GetPosition();
            nCount += nResult == MAIL_OK && pReader->IsValid() ? 1 : 0;
        }
    }

    CUpdateTotals Run()
    {
        CCatalogUpdate update(m_pCatalog.get(), nullptr, 0, nullptr);
        EXPECT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
        return update.GetTotals();
    }
    // Runs the update with its trace on; the trace log's text.
    std::string RunTraced(CUpdateTotals& totals)
    {
        const fs::path log = HomeFolder().Path() / "archiv.log";
        g_log.Begin(ProgramPathFromHostPath(log.string()).c_str(), LOG_UPDATE);
        totals = Run();
        g_log.End();
        std::stringstream text;
        text << std::ifstream(log).rdbuf();
        return text.str();
    }
    static int CountOf(const std::string& strText, const std::string& strPart)
    {
        int nCount = 0;
        for (size_t n = strText.find(strPart); n != std::string::npos; n = strText.find(strPart, n + 1))
            ++nCount;
        return nCount;
    }
};

TEST_F(CCatalogUpdateMailTest, MessagesWithoutSubjectAreCataloguedUnderTheNoSubjectText)
{
    CFixtureMessage empty;
    empty.strSubject.clear();
    const std::vector<std::string> messages {
        CFixtureMessage().Text(),
        "From: Ana <ana@example.com>\nTo: Bo <bo@example.com>\nDate: Mon, 2 Jan 2006 15:04:05 +0000\n\nNo header.\n",
        empty.Text(),
    };
    const std::string strStore = WriteOnT("mail/inbox", BuildMbox(messages));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));
    CString strNoSubject;
    ASSERT_TRUE(strNoSubject.LoadString(IDS_NOTICE_NO_SUBJECT));
    const std::string strTitleLine = "*" + std::string(strNoSubject) + " | ";

    CUpdateTotals totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, 3);
    EXPECT_EQ(totals.nMessagesSkipped, 0);
    const std::set<std::string> picture = CatalogPicture(*m_pCatalog);
    EXPECT_EQ(std::count_if(picture.begin(), picture.end(),
                  [&](const std::string& strLine) { return strLine.find(strTitleLine) != std::string::npos; }),
        2)
        << ::testing::PrintToString(picture);

    // Each is the message its record names, for every reader of it.
    std::unique_ptr<CDirectoryRec> pDirectory(
        m_pCatalog->FindDirectory(CCatalog::NormalizeFolder(("*" + strStore + "*").c_str())));
    ASSERT_NE(pDirectory, nullptr);
    int nLoaded = 0;
    for (std::unique_ptr<CDocumentRec> pDocument(pDirectory->FirstDocument()); pDocument;
         pDocument.reset(pDirectory->NextDocument())) {
        std::unique_ptr<CMailMessage> pMessage;
        EXPECT_EQ(LoadCatalogMessage(pDocument->GetMailRef(), pMessage), MAIL_OK);
        ++nLoaded;
    }
    EXPECT_EQ(nLoaded, 3);

    // Read again, each is found under its title: none is catalogued twice.
    totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, 0);
    EXPECT_EQ(totals.nFound, 3);
    EXPECT_EQ(CatalogPicture(*m_pCatalog), picture);
}

TEST_F(CCatalogUpdateMailTest, EveryMessageLeftOutIsCountedAndLogged)
{
    // A deleted message, and more messages of one title than the catalog
    // keeps apart in one store: the last of them cannot be catalogued.
    std::vector<std::string> messages;
    std::vector<unsigned> statuses { 0x0008 };
    for (int i = 0; i <= 36; ++i) {
        CFixtureMessage message;
        message.strSubject = "Same";
        message.strBody = "Message " + std::to_string(i) + ".\n";
        messages.push_back(message.Text());
        statuses.push_back(0x0001);
    }
    messages.insert(messages.begin(), CFixtureMessage().Text());
    const std::string strStore = WriteOnT("mail/inbox", BuildMbox(messages, statuses));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));

    CUpdateTotals totals;
    const std::string strLog = RunTraced(totals);
    EXPECT_EQ(totals.nMessagesAdded, 36);
    EXPECT_EQ(totals.nMessagesDeleted, 1);
    EXPECT_EQ(totals.nMessagesSkipped, 1);
    EXPECT_EQ(CountOf(strLog, "left out: deleted"), 1) << strLog;
    EXPECT_EQ(CountOf(strLog, "\"Same\" not catalogued"), 1) << strLog;
    EXPECT_EQ(CountOf(strLog, "36 new messages, 2 left out"), 1) << strLog;
    EXPECT_EQ(CountOf(strLog, "1 messages deleted, 1 messages skipped"), 1) << strLog;
}

TEST_F(CCatalogUpdateMailTest, EveryLiveMessageIsCataloguedOnceAndTheStoreSizeKept)
{
    const std::string strNetscape = AddStore("netscape-mbox/netscape-folder.mbox", "inbox", LOCATION_NETSCAPE);
    const std::string strDbx = AddStore("oe5-dbx/one-message-a.dbx", "folder.dbx", LOCATION_OUTLOOK_EXPRESS5);
    if (strNetscape.empty() || strDbx.empty())
        GTEST_SKIP() << "the shared mail folders are absent";
    const int nExpected = CountMessages(strNetscape, MAIL_STORE_NETSCAPE) + 1;
    ASSERT_GT(nExpected, 10);

    CUpdateTotals totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, nExpected);
    EXPECT_EQ(totals.nFailedStores, 0);
    EXPECT_EQ(
        m_pCatalog->GetLocationValue(strNetscape.c_str()), static_cast<LONG>(fs::file_size(HostOnT("mail/inbox"))));
    EXPECT_EQ(m_pCatalog->GetLocationValue(strDbx.c_str()), 1);
    const std::set<std::string> picture = CatalogPicture(*m_pCatalog);
    EXPECT_EQ(static_cast<int>(picture.size()), nExpected);
    bool bDbxMessage = false;
    for (const std::string& strLine : picture)
        bDbxMessage |= strLine.find("Please read you won't be sorry") != std::string::npos;
    EXPECT_TRUE(bDbxMessage);

    totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, 0);
    EXPECT_EQ(totals.nFound, nExpected);
}

TEST_F(CCatalogUpdateMailTest, AGrownStoreAddsItsNewMessagesAndAShrunkOneOnlyAsksForReorganising)
{
    const std::string strStore = AddStore("mozilla-mbox/spool-3-messages.mbox", "inbox", LOCATION_NETSCAPE);
    if (strStore.empty())
        GTEST_SKIP() << "the shared mail folders are absent";
    EXPECT_EQ(Run().nMessagesAdded, 3);

    {
        std::ofstream grow(HostOnT("mail/inbox"), std::ios::app | std::ios::binary);
        grow << "From - Wed Oct 03 10:00:00 2007\nX-Mozilla-Status: 0001\nSubject: One more\n"
                "From: ana@example.org\n\nA fourth message.\n\n";
    }
    EXPECT_EQ(Run().nMessagesAdded, 1);
    EXPECT_EQ(CatalogPicture(*m_pCatalog).size(), 4U);

    // The store keeps its first message only, as a compaction that dropped the others leaves it.
    g_bMailboxReorganizePending = FALSE;
    std::stringstream text;
    text << std::ifstream(HostOnT("mail/inbox"), std::ios::binary).rdbuf();
    const size_t nSecond = text.str().find("\nFrom - ");
    ASSERT_NE(nSecond, std::string::npos);
    fs::resize_file(HostOnT("mail/inbox"), nSecond + 1);
    const CUpdateTotals totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, 0);
    EXPECT_TRUE(g_bMailboxReorganizePending);
    EXPECT_EQ(CatalogPicture(*m_pCatalog).size(), 4U);
    g_bMailboxReorganizePending = FALSE;
}

TEST_F(CCatalogUpdateMailTest, ADamagedStoreEndsItsReadingOnly)
{
    WriteOnT("mail/broken.dbx", std::string("\xCF\xAD\x12\xFE\xC5\xFD\x74\x6F", 8) + std::string(600, '\x7F'));
    ASSERT_TRUE(
        std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_OUTLOOK_EXPRESS5, "t:\\mail\\broken.dbx")));
    WriteOnT("mail/good", "From - Wed Oct 03 10:00:00 2007\nSubject: Fine\n\nBody.\n");
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, "t:\\mail\\good")));
    const CUpdateTotals totals = Run();
    EXPECT_EQ(totals.nFailedStores, 1);
    EXPECT_EQ(totals.nMessagesAdded, 1);
}

} // namespace

namespace {

// The first message of a store, read as the update reads it.
std::unique_ptr<CMailMessage> FirstMessage(const std::string& strStore)
{
    std::unique_ptr<CMailMessage> pReader = NewMailReader(MAIL_STORE_NETSCAPE);
    EXPECT_EQ(pReader->ReadNext(strStore.c_str(), 0, MAIL_MAX_PATH), MAIL_OK);
    return pReader;
}

} // namespace

TEST_F(CCatalogUpdateMailTest, AFirstCataloguingPutsMessagesWithTheUnsortedDocuments)
{
    WriteOnT("Projects/top.txt", "top");
    const std::string strStore = WriteOnT("mail/inbox", BuildMbox({ CFixtureMessage().Text() }));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));
    CMapStringToPtr roots;
    roots.SetAt("t:\\projects", reinterpret_cast<void*>(1));
    CCatalogUpdate update(m_pCatalog.get(), nullptr, 0, nullptr);
    update.BuildRootMap(roots);
    ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_FIRST));

    EXPECT_EQ(CatalogPicture(*m_pCatalog),
        (std::set<std::string> {
            "t:\\projects\\top.txt | top | Projects", "t:\\mail\\inbox*Subject | Body text. | (systems)" }));
    // The folder's system is one of the tree's top systems.
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    EXPECT_EQ(NodeNames(pRoot->GetChildren()), std::vector<std::string> { "Projects" });
}

TEST_F(CCatalogUpdateMailTest, AnUpdateMovesAMessageLeftUnderTheRootWhereTheTreeShowsIt)
{
    const std::string strStore = WriteOnT("mail/inbox", BuildMbox({ CFixtureMessage().Text() }));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));
    // As earlier first cataloguings left their messages: under the root alone.
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    const CDocumentInfo info = MakeMessageInfo(*FirstMessage(strStore), MAIL_STORE_NETSCAPE);
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(m_pCatalog->AddAndLink(pRoot.get(), info, strStore.c_str())));

    CUpdateTotals totals = Run();
    EXPECT_EQ(totals.nMessagesAdded, 0);
    EXPECT_EQ(totals.nFound, 1);
    EXPECT_EQ(
        CatalogPicture(*m_pCatalog), (std::set<std::string> { "t:\\mail\\inbox*Subject | Body text. | (systems)" }));
}

TEST_F(CCatalogUpdateMailTest, SubjectsKeepTheirCaseAndTitlesCataloguedLowerCasedAreFoundAgain)
{
    CFixtureMessage report;
    report.strSubject = "Quarterly Report";
    CFixtureMessage accents;
    accents.strSubject = "Über Änderungen";
    const std::string strStore = WriteOnT("mail/inbox", BuildMbox({ report.Text(), accents.Text() }));
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));
    // The first message as earlier versions catalogued it: its title lower-cased.
    CDocumentInfo info = MakeMessageInfo(*FirstMessage(strStore), MAIL_STORE_NETSCAPE);
    const std::string strLower = Utf8ToLower(info.szName);
    Utf8CopyToField(info.szName, sizeof(info.szName), strLower.c_str(), FieldEnd::NulTerminated);
    std::unique_ptr<CNodeRec> pUnsorted(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    ASSERT_TRUE(std::unique_ptr<CDocumentRec>(m_pCatalog->AddAndLink(pUnsorted.get(), info, strStore.c_str())));

    for (int nRun = 0; nRun < 2; ++nRun) {
        const CUpdateTotals totals = Run();
        EXPECT_EQ(totals.nMessagesAdded, nRun == 0 ? 1 : 0);
        EXPECT_EQ(totals.nFound, nRun == 0 ? 1 : 2);
    }
    EXPECT_EQ(CatalogPicture(*m_pCatalog),
        (std::set<std::string> { "t:\\mail\\inbox*quarterly report | Body text. | (systems)",
            "t:\\mail\\inbox*Über Änderungen | Body text. | (systems)" }));
    // Both are the messages their records name, and found by their paths in any case.
    std::unique_ptr<CDirectoryRec> pDirectory(
        m_pCatalog->FindDirectory(CCatalog::NormalizeFolder(("*" + strStore + "*").c_str())));
    ASSERT_NE(pDirectory, nullptr);
    for (std::unique_ptr<CDocumentRec> pDocument(pDirectory->FirstDocument()); pDocument;
         pDocument.reset(pDirectory->NextDocument())) {
        std::unique_ptr<CMailMessage> pMessage;
        EXPECT_EQ(LoadCatalogMessage(pDocument->GetMailRef(), pMessage), MAIL_OK);
        CString strName;
        pDocument->GetFullPath(strName, TRUE);
        EXPECT_TRUE(std::unique_ptr<CDocumentRec>(pDirectory->FindDocumentByName(strName.MakeUpper())));
    }
}

TEST_F(CCatalogUpdateMailTest, AMessageWithoutADateIsCataloguedWithItsSeparatorsDate)
{
    const std::string strStore = WriteOnT(
        "mail/inbox", "From - Tue Oct 02 00:26:47 2007\nFrom: Ana <ana@example.com>\nSubject: Undated\n\nBody.\n");
    ASSERT_TRUE(std::unique_ptr<CMailStoreRec>(m_pCatalog->AddMailStore(LOCATION_NETSCAPE, strStore.c_str())));
    EXPECT_EQ(Run().nMessagesAdded, 1);
    std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindPath(("*" + strStore + "*").c_str(), "undated*0"));
    ASSERT_NE(pDocument, nullptr);
    CMailDocumentRef ref = pDocument->GetMailRef();
    EXPECT_EQ(ref.dwDate, 1191284807u);
    std::unique_ptr<CMailMessage> pMessage;
    EXPECT_EQ(LoadCatalogMessage(ref, pMessage), MAIL_OK);
    // Catalogued without a date before, it is still that message; with another date it is not.
    ref.dwDate = 0;
    EXPECT_EQ(LoadCatalogMessage(ref, pMessage), MAIL_OK);
    ref.dwDate = 1;
    EXPECT_EQ(LoadCatalogMessage(ref, pMessage), MAIL_ERR_NOT_FOUND);
}

// Reorganising the catalogued mail stores: a real Mozilla folder copied into
// the test's folder, catalogued, one message then deleted by its client.

#include "frame/MailboxReorganizer.h"

#include "tests/frame/AppTestFixture.h"

#include "catalog/CCatalogUpdate.h"
#include "frame/AppMessages.h"
#include "mail/CMailMessage.h"
#include "mail/CatalogMessage.h"
#include "mail/MailResult.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CMailDocumentHooks.h"
#include "store/CMailStoreRec.h"
#include "tests/support/TestData.h"

#include "platform/base/PathMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class MailboxReorganizerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        const std::optional<fs::path> source
            = SharedTestData(fs::path("mail") / "mozilla-mbox" / "spool-3-messages.mbox");
        if (!source || !fs::exists(*source))
            GTEST_SKIP() << "the shared mail folders are absent";
        m_store = Home() / "Inbox";
        fs::copy_file(*source, m_store);
        m_strStore = ProgramPathFromHostPath(m_store.string());
        WriteCatalog([&](CCatalog& catalog, CNodeRec&) {
            EXPECT_TRUE(std::unique_ptr<CMailStoreRec>(catalog.AddMailStore(LOCATION_NETSCAPE, m_strStore.c_str())));
        });
        ASSERT_TRUE(Start());
        CCatalogUpdate update(App().GetMainCatalog(), nullptr, 0, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
        ASSERT_EQ(update.GetTotals().nMessagesAdded, 3);
        // The client deletes the second message: its status gets the expunged flag.
        std::string strText = Contents();
        const size_t nStatus = strText.find("X-Mozilla-Status: 0000");
        ASSERT_NE(nStatus, std::string::npos);
        strText.replace(nStatus, 22, "X-Mozilla-Status: 0008");
        std::ofstream(m_store, std::ios::binary | std::ios::trunc) << strText;
    }

    std::string Contents() const
    {
        std::ifstream in(m_store, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every message document of the store: its subject title -> (state character, offset).
    std::map<std::string, std::pair<char, DWORD>> Records()
    {
        std::map<std::string, std::pair<char, DWORD>> records;
        std::unique_ptr<CDirectoryRec> pDirectory(
            App().GetMainCatalog()->FindDirectory(CCatalog::NormalizeFolder(("*" + m_strStore + "*").c_str())));
        EXPECT_NE(pDirectory, nullptr);
        if (!pDirectory)
            return records;
        for (std::unique_ptr<CDocumentRec> pDocument(pDirectory->FirstDocument()); pDocument;
             pDocument.reset(pDirectory->NextDocument())) {
            CDocumentInfo info {};
            EXPECT_NE(pDocument->GetInfo(&info), nullptr);
            const CMailDocumentRef ref = pDocument->GetMailRef();
            records[static_cast<LPCTSTR>(ref.strTitle)] = { static_cast<char>(info.id[12]), ref.dwOffset };
        }
        return records;
    }

    fs::path m_store;
    std::string m_strStore;
};

TEST(StripLocationMarkersTest, TheStorePathLosesItsLeadingStarAndItsMarker)
{
    EXPECT_STREQ(StripLocationMarkers("*t:\\mail\\inbox*"), "t:\\mail\\inbox");
    EXPECT_STREQ(StripLocationMarkers("*"), "");
    EXPECT_STREQ(StripLocationMarkers(""), "");
    EXPECT_STREQ(StripLocationMarkers(nullptr), "");
}

TEST_F(MailboxReorganizerTest, TheDeletedMessageGoesAndTheRecordsFollowTheMovedOnes)
{
    const auto before = Records();
    ASSERT_EQ(before.size(), 3U);
    g_bMailboxReorganizePending = TRUE;
    MainFrame()->SendMessage(g_nMsgReorganizeMailbox, 0, 0);
    m_driver.Pump();

    EXPECT_FALSE(g_bMailboxReorganizePending);
    EXPECT_TRUE(MainFrame()->IsWindowVisible());
    EXPECT_EQ(Contents().find("Hello, did you receive my bugmail?"), std::string::npos);
    EXPECT_EQ(App().GetMainCatalog()->GetLocationValue(m_strStore.c_str()), static_cast<LONG>(fs::file_size(m_store)));
    const auto after = Records();
    int nGone = 0;
    int nMoved = 0;
    for (const auto& [strTitle, record] : after) {
        nGone += record.first == 'x';
        nMoved += record.first == ' ' && record.second < before.at(strTitle).second;
    }
    EXPECT_EQ(nGone, 1);
    EXPECT_EQ(nMoved, 1);
    // Every live record finds its message where it now lies.
    std::unique_ptr<CDirectoryRec> pDirectory(
        App().GetMainCatalog()->FindDirectory(CCatalog::NormalizeFolder(("*" + m_strStore + "*").c_str())));
    ASSERT_NE(pDirectory, nullptr);
    int nFound = 0;
    for (std::unique_ptr<CDocumentRec> pDocument(pDirectory->FirstDocument()); pDocument;
         pDocument.reset(pDirectory->NextDocument())) {
        std::unique_ptr<CMailMessage> pMessage;
        nFound += LoadCatalogMessage(pDocument->GetMailRef(), pMessage) == MAIL_OK;
    }
    EXPECT_EQ(nFound, 2);
}

TEST_F(MailboxReorganizerTest, AStopLeavesTheStoreAndItsRecordsAsTheyWere)
{
    const std::string strBefore = Contents();
    const auto before = Records();
    CMailboxReorganizer reorganizer(App().GetMainCatalog());
    EXPECT_EQ(reorganizer.GetStoreCount(), 1);
    EXPECT_EQ(reorganizer.GetTotalSize(), strBefore.size());
    int nTold = 0;
    EXPECT_EQ(reorganizer.Run([&](LPCTSTR, DWORD) { return ++nTold < 3 ? TRUE : FALSE; }), MAIL_STOPPED);
    EXPECT_EQ(nTold, 3);
    EXPECT_EQ(Contents(), strBefore);
    EXPECT_EQ(Records(), before);
}

} // namespace

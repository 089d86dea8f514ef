#include "catalog/CDocumentPlacement.h"

#include "store/CNodeFolderRec.h"

#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

namespace {

class CDocumentPlacementTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        m_pSystems.reset(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    }

    // The names of the nodes a file is placed under, "*" first when the rules did not place it.
    std::vector<std::string> PlaceFile(const std::string& strPath, const char* pszDescription = "")
    {
        CDocumentPlacement placement(m_pCatalog.get(), m_pSystems.get());
        CNodeRecArray nodes;
        const BOOL bPlaced = placement.PlaceFile(strPath.c_str(), pszDescription, nodes);
        return Result(bPlaced, nodes);
    }

    std::vector<std::string> PlaceMessage(const char* pszStore, const CMessageTexts& texts)
    {
        CDocumentPlacement placement(m_pCatalog.get(), m_pSystems.get());
        CNodeRecArray nodes;
        const BOOL bPlaced = placement.PlaceMessage(pszStore, texts, nodes);
        return Result(bPlaced, nodes);
    }

    static std::vector<std::string> Result(BOOL bPlaced, const CNodeRecArray& nodes)
    {
        std::vector<std::string> names = NodeNames(nodes);
        if (!bPlaced)
            names.insert(names.begin(), "*");
        return names;
    }

    std::unique_ptr<CNodeRec> m_pSystems;
};

TEST_F(CDocumentPlacementTest, TheNearestFolderRecordPlacesAFile)
{
    auto pDocs = Group("Docs", 0);
    auto pReports = Group("Reports", 0);
    auto pOther = Group("Other", 0);
    AssignFolder(*pDocs, "t:\\docs\\");
    AssignFolder(*pReports, "t:\\docs\\reports\\");
    AssignFolder(*pOther, "t:\\docs\\reports\\");
    EXPECT_EQ(PlaceFile("t:\\docs\\reports\\2024\\q1.txt"), (std::vector<std::string> { "Reports", "Other" }));
    EXPECT_EQ(PlaceFile("T:\\Docs\\plan.txt"), std::vector<std::string> { "Docs" });
    // Nothing places a file elsewhere: it goes under the fallback, the systems root.
    EXPECT_EQ(PlaceFile("t:\\music\\song.txt").front(), "*");
    EXPECT_EQ(PlaceFile("t:\\music\\song.txt").size(), 2U);
}

TEST_F(CDocumentPlacementTest, AFolderRecordEnteredDuringARunPlacesTheNextFiles)
{
    auto pDocs = Group("Docs", 0);
    auto pMusic = Group("Music", 0);
    AssignFolder(*pMusic, "t:\\music\\");
    CDocumentPlacement placement(m_pCatalog.get(), m_pSystems.get());
    CNodeRecArray nodes;
    EXPECT_FALSE(placement.PlaceFile("t:\\docs\\a.txt", "", nodes));
    EXPECT_FALSE(placement.PlaceFile("t:\\docs\\b.txt", "", nodes));
    // As a first cataloguing enters the folder records it makes.
    const std::unique_ptr<CNodeFolderRec> pFolder(m_pCatalog->AddNodeFolder("t:\\docs\\"));
    ASSERT_TRUE(pFolder && pDocs->LinkNodeFolder(pFolder.get()));
    placement.GetFolderMap().AddRecord("t:\\docs\\", pFolder->GetRef());
    EXPECT_TRUE(placement.PlaceFile("t:\\docs\\c.txt", "", nodes));
    EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Docs" });
    // Folders taking turns each find their own nodes.
    EXPECT_TRUE(placement.PlaceFile("t:\\music\\d.txt", "", nodes));
    EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Music" });
    EXPECT_TRUE(placement.PlaceFile("t:\\Docs\\Deeper\\e.txt", "", nodes));
    EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Docs" });
    EXPECT_FALSE(placement.PlaceFile("t:\\other\\f.txt", "", nodes));
}

TEST_F(CDocumentPlacementTest, FoldersBelowOneLookedUpFindItsNodesUntilOneOfThemGetsARecord)
{
    auto pMusic = Group("Music", 0);
    auto pLive = Group("Live", 0);
    AssignFolder(*pMusic, "t:\\music\\");
    CDocumentPlacement placement(m_pCatalog.get(), m_pSystems.get());
    CNodeRecArray nodes;
    for (const char* pszPath : { "t:\\music\\live\\2020\\a.txt", "t:\\music\\live\\b.txt",
             "t:\\music\\live\\2021\\c.txt", "t:\\music\\studio\\d.txt" }) {
        EXPECT_TRUE(placement.PlaceFile(pszPath, "", nodes)) << pszPath;
        EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Music" }) << pszPath;
    }
    const std::unique_ptr<CNodeFolderRec> pFolder(m_pCatalog->AddNodeFolder("t:\\music\\live\\"));
    ASSERT_TRUE(pFolder && pLive->LinkNodeFolder(pFolder.get()));
    placement.GetFolderMap().AddRecord("t:\\music\\live\\", pFolder->GetRef());
    for (const char* pszPath : { "t:\\music\\live\\2020\\e.txt", "t:\\music\\live\\f.txt" }) {
        EXPECT_TRUE(placement.PlaceFile(pszPath, "", nodes)) << pszPath;
        EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Live" }) << pszPath;
    }
    EXPECT_TRUE(placement.PlaceFile("t:\\music\\studio\\g.txt", "", nodes));
    EXPECT_EQ(NodeNames(nodes), std::vector<std::string> { "Music" });
}

TEST_F(CDocumentPlacementTest, EachFileBitLooksInItsOwnText)
{
    auto pName = Group("ByName", SEARCH_FILE_NAME, "budget");
    auto pFolder = Group("ByFolder", SEARCH_FILE_FOLDER, "finance");
    auto pDescription = Group("ByDescription", SEARCH_FILE_DESCRIPTION, "quarterly");
    auto pContent = Group("ByContent", SEARCH_FILE_CONTENT, "confidential");

    EXPECT_EQ(PlaceFile("t:\\x\\Budget 2024.txt"), std::vector<std::string> { "ByName" });
    // A keyword inside a longer word is no hit.
    EXPECT_EQ(PlaceFile("t:\\x\\budgetary.txt").front(), "*");
    EXPECT_EQ(PlaceFile("t:\\Finance\\a.txt"), std::vector<std::string> { "ByFolder" });
    EXPECT_EQ(PlaceFile("t:\\x\\a.txt", "The Quarterly figures"), std::vector<std::string> { "ByDescription" });
    // The whole content is read, beyond the description's length.
    const std::string strPath = WriteOnT("x/secret.txt", std::string(200000, ' ') + "CONFIDENTIAL.");
    EXPECT_EQ(PlaceFile(strPath), std::vector<std::string> { "ByContent" });
    // The name does not count for the content bit.
    EXPECT_EQ(PlaceFile("t:\\x\\confidential.txt").front(), "*");
}

TEST_F(CDocumentPlacementTest, FolderNodesComeBeforeKeywordNodesAndNoneTwice)
{
    auto pDocs = Group("Docs", SEARCH_FILE_NAME, "plan");
    AssignFolder(*pDocs, "t:\\docs");
    auto pPlans = Group("Plans", SEARCH_FILE_NAME, "plan");
    EXPECT_EQ(PlaceFile("t:\\docs\\plan.txt"), (std::vector<std::string> { "Docs", "Plans" }));
}

TEST_F(CDocumentPlacementTest, EachMailBitLooksInItsOwnText)
{
    auto pSubject = Group("BySubject", SEARCH_MAIL_SUBJECT, "invoice");
    auto pSender = Group("BySender", SEARCH_MAIL_SENDER, "ana");
    auto pRecipients = Group("ByRecipients", SEARCH_MAIL_RECIPIENTS, "team");
    auto pBody = Group("ByBody", SEARCH_MAIL_BODY, "urgent");
    auto pFileOnly = Group("FileOnly", SEARCH_FILE_NAME, "invoice");
    auto pStore = Group("Store", 0);
    AssignFolder(*pStore, "*t:\\mail\\inbox");

    CMessageTexts texts;
    texts.strSubject = "Invoice for March";
    EXPECT_EQ(PlaceMessage("t:\\mail\\other", texts), std::vector<std::string> { "BySubject" });
    texts = {};
    texts.strSender = "Ana Pérez <ana@example.org>";
    EXPECT_EQ(PlaceMessage("t:\\mail\\other", texts), std::vector<std::string> { "BySender" });
    texts = {};
    texts.strRecipients = "team@example.org";
    EXPECT_EQ(PlaceMessage("t:\\mail\\other", texts), std::vector<std::string> { "ByRecipients" });
    texts = {};
    texts.strBody = "This is URGENT.";
    EXPECT_EQ(PlaceMessage("t:\\mail\\other", texts), std::vector<std::string> { "ByBody" });
    // The store's folder record places every message of the store.
    EXPECT_EQ(PlaceMessage("t:\\mail\\inbox", {}), std::vector<std::string> { "Store" });
}

} // namespace

#include "catalog/RecycleDrops.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CDocumentPlacement.h"
#include "store/CDocumentRec.h"
#include "store/DocumentOperations.h"
#include "tests/catalog/RecycleBinFixture.h"

#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

using RecycleDropsTest = RecycleBinDriveTest;

TEST_F(RecycleDropsTest, EachDroppedItemTellsWhatBecameOfIt)
{
    WriteOnT("d/here.txt", "x");
    WriteOnT("g/inside.txt", "x");
    std::unique_ptr<CNodeRec> pDocs = Group("Docs", SEARCH_FILE_NAME);
    std::unique_ptr<CNodeRec> pEmpty = Group("Empty", SEARCH_FILE_NAME);
    std::unique_ptr<CNodeRec> pKeeps = Group("Keeps", SEARCH_FILE_NAME);
    CCatalogPayload payload;
    payload.items.push_back(AddDocument(*m_pCatalog, pDocs.get(), OnT("d/here.txt").c_str())->GetRef());
    payload.items.push_back(AddDocument(*m_pCatalog, pDocs.get(), OnT("d/missing.txt").c_str())->GetRef());
    payload.items.push_back(pEmpty->GetRef());
    // A group holding a document whose file is missing cannot leave.
    ASSERT_TRUE(AddDocument(*m_pCatalog, pKeeps.get(), OnT("g/gone.txt").c_str()));
    payload.items.push_back(pKeeps->GetRef());
    payload.items.push_back({ 9999, 3 });

    // The run tells that an item stayed.
    CTestDriver driver;
    driver.AnswerNextMessageBox(IDOK);
    std::vector<LONG> status;
    EXPECT_TRUE(LixeiraDropItems(m_pCatalog.get(), m_pBin.get(), payload, &status));
    EXPECT_EQ(status, (std::vector<LONG> { DROP_MOVED, DROP_REFUSED, DROP_MOVED, DROP_STAYED, DROP_REFUSED }));
    EXPECT_EQ(m_prompts.m_nKind, CCatalogPrompts::SELECTION_ITEMS);
    EXPECT_FALSE(fs::exists(HostOnT("d/here.txt")));
    EXPECT_FALSE(std::unique_ptr<CNodeRec>(
        std::unique_ptr<CNodeRec>(CNodeRec::NewTopNodeRec3(m_pCatalog.get()))->FindChildByName("Empty")));
}

TEST_F(RecycleDropsTest, NothingRecyclableAsksNothing)
{
    std::unique_ptr<CNodeRec> pDocs = Group("Docs", SEARCH_FILE_NAME);
    CCatalogPayload payload;
    payload.items.push_back(AddDocument(*m_pCatalog, pDocs.get(), OnT("d/missing.txt").c_str())->GetRef());
    std::vector<LONG> status;
    EXPECT_FALSE(LixeiraDropItems(m_pCatalog.get(), m_pBin.get(), payload, &status));
    EXPECT_EQ(status, std::vector<LONG> { DROP_REFUSED });
    EXPECT_EQ(m_prompts.m_nAsked, 0);
}

} // namespace

// Lookups in a directory large enough for an index of its documents' names:
// the index follows additions, renames and removals, and an index that
// disagrees with the file never hides or invents a document.

#include "store/CDirectoryRec.h"
#include "store/RecordFields.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

constexpr const char* FOLDER = "c:\\big\\";
// Enough that the directory stays indexed after the 100 removals below.
constexpr int COUNT = CCatalog::NAME_INDEX_THRESHOLD + 120;

std::string Path(int nDocument)
{
    return FOLDER + std::to_string(nDocument) + ".txt";
}

class CatalogNameIndexTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        for (int n = 0; n < COUNT; ++n)
            ASSERT_TRUE(std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddPath(nullptr, Path(n).c_str())));
    }

    std::unique_ptr<CDocumentRec> Find(const std::string& strPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(strPath.c_str()));
    }

    // Gives a document a new name through its information.
    void Rename(CDocumentRec& document, const char* pszName)
    {
        CDocumentInfo info;
        document.GetInfo(&info);
        std::strcpy(info.szName, pszName);
        ASSERT_TRUE(document.UpdateInfo(info));
    }

    std::unique_ptr<CCatalog> m_pCatalog;
};

TEST_F(CatalogNameIndexTest, LookupsFollowAdditionsRenamesAndRemovals)
{
    auto pSeven = Find(Path(7)); // the first lookup builds the index
    ASSERT_TRUE(pSeven);
    ASSERT_NO_FATAL_FAILURE(Rename(*pSeven, "seven.txt"));
    EXPECT_FALSE(Find(Path(7)));
    auto pRenamed = Find(std::string(FOLDER) + "seven.txt");
    ASSERT_TRUE(pRenamed);
    EXPECT_EQ(pRenamed->GetRef(), pSeven->GetRef());

    auto pNine = Find(Path(9));
    ASSERT_TRUE(pNine);
    ASSERT_TRUE(pNine->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    EXPECT_FALSE(Find(Path(9)));

    auto pAdded = AddDocument(*m_pCatalog, nullptr, Path(COUNT).c_str());
    auto pFound = Find(Path(COUNT));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pAdded->GetRef());
    // Adding a document that is there finds it instead.
    EXPECT_EQ(AddDocument(*m_pCatalog, nullptr, Path(3).c_str())->GetRef(), Find(Path(3))->GetRef());

    // A catalog opened again builds its index from the file.
    m_pCatalog = OpenCatalog();
    EXPECT_TRUE(Find(std::string(FOLDER) + "seven.txt"));
    EXPECT_FALSE(Find(Path(7)));
    EXPECT_FALSE(Find(Path(9)));
    EXPECT_TRUE(Find(Path(COUNT)));
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CatalogNameIndexTest, AnIndexThatDisagreesWithTheFileIsBuiltAgain)
{
    auto pFive = Find(Path(5));
    ASSERT_TRUE(pFive);
    // The record's name changes behind the catalog's back: "5.txt" becomes "6.txt"'s twin "x.txt".
    std::vector<BYTE> data(CDocumentRec::RECORD_SIZE);
    ASSERT_TRUE(m_pCatalog->ReadRecord(pFive->GetRef(), TABLE_DOCUMENT, data));
    data[CDocumentRec::OFF_NAME] = 'x';
    ASSERT_TRUE(m_pCatalog->WriteRecord(pFive->GetRef(), TABLE_DOCUMENT, data));
    EXPECT_FALSE(Find(Path(5)));
    auto pFound = Find(std::string(FOLDER) + "x.txt");
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pFive->GetRef());
    EXPECT_TRUE(Find(Path(6)));
}

TEST_F(CatalogNameIndexTest, OfTwoDocumentsWithOneNameTheOtherStaysFoundWhenOneGoes)
{
    auto pOne = Find(Path(1));
    auto pTwo = Find(Path(2));
    ASSERT_TRUE(pOne && pTwo);
    ASSERT_NO_FATAL_FAILURE(Rename(*pTwo, "1.txt"));
    ASSERT_TRUE(pOne->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    auto pFound = Find(Path(1));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pTwo->GetRef());
}

// Another thread drops the index again and again, so that lookups on both
// threads keep building it while documents are added: every document added
// is found at once and afterwards (and the threads share the index cleanly
// under ThreadSanitizer).
TEST_F(CatalogNameIndexTest, DocumentsAddedWhileTheIndexIsBuiltAreFound)
{
    // New documents take the slots freed at the start of the chain, which a
    // walk building the index may have passed already.
    for (int n = 0; n < 100; ++n)
        ASSERT_TRUE(Find(Path(n))->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE));
    std::atomic<bool> bDone { false };
    std::atomic<int> nMissing { 0 };
    std::thread reader([&] {
        while (!bDone) {
            m_pCatalog->ClearRecordCache();
            if (!Find(Path(COUNT - 1)))
                ++nMissing;
        }
    });
    for (int n = COUNT; n < COUNT + 100; ++n) {
        AddDocument(*m_pCatalog, nullptr, Path(n).c_str());
        for (int m = COUNT; m <= n; ++m)
            nMissing += Find(Path(m)) ? 0 : 1;
    }
    bDone = true;
    reader.join();
    EXPECT_EQ(nMissing, 0);
    for (int n = COUNT; n < COUNT + 100; ++n)
        EXPECT_TRUE(Find(Path(n))) << Path(n);
    EXPECT_EQ(m_errors.Count(), 0u);
}

}

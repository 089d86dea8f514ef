#include "store/CatalogCompare.h"

#include "store/CDocumentRec.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>

using ::testing::ElementsAre;

class CatalogCompareTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }

    // The rows of a node (children, then documents), sorted with the comparator.
    std::vector<std::string> SortedRows(CRecordRef node, CSortSpec spec)
    {
        auto pNode = Node(*m_pCatalog, node);
        CNodeRecArray children = pNode->GetChildren();
        CDocumentRecArray documents = pNode->GetDocuments();
        std::vector<CCatalogRecord*> rows;
        for (auto& p : documents)
            rows.push_back(p.get());
        for (auto& p : children)
            rows.push_back(p.get());
        std::stable_sort(rows.begin(), rows.end(), [&](CCatalogRecord* p1, CCatalogRecord* p2) {
            return CompareCatalogRecords(
                       reinterpret_cast<LPARAM>(p1), reinterpret_cast<LPARAM>(p2), reinterpret_cast<LPARAM>(&spec))
                < 0;
        });
        std::vector<std::string> names;
        for (CCatalogRecord* pRow : rows) {
            if (auto* pChild = dynamic_cast<CNodeRec*>(pRow))
                names.emplace_back(pChild->GetName());
            else
                names.push_back(FullPath(*static_cast<CDocumentRec*>(pRow)));
        }
        return names;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};

TEST_F(CatalogCompareTest, NodesComeBeforeDocumentsAndAfterThemWhenDescending)
{
    auto pProjects = Node(*m_pCatalog, m_tree.projects);
    std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddPath(pProjects.get(), "c:\\z\\plan.txt"));
    std::unique_ptr<CDocumentRec>(m_pCatalog->FindOrAddPath(pProjects.get(), "c:\\z\\Budget.txt"));

    EXPECT_THAT(SortedRows(m_tree.projects, { 4101, 1, 1 }),
        ElementsAre("Alpha", "beta", "Gamma", "c:\\z\\budget.txt", "c:\\z\\plan.txt"));
    EXPECT_THAT(SortedRows(m_tree.projects, { 4101, 0, 1 }),
        ElementsAre("c:\\z\\plan.txt", "c:\\z\\budget.txt", "Gamma", "beta", "Alpha"));
}

TEST_F(CatalogCompareTest, NodesSortByNameWhateverTheColumn)
{
    EXPECT_THAT(SortedRows(m_tree.projects, { 4103, 1, 1 }), ElementsAre("Alpha", "beta", "Gamma"));
}

TEST_F(CatalogCompareTest, DocumentsSortByTheColumnsValue)
{
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    auto setDescription = [&](CRecordRef ref, const char* pszText) {
        auto pDocument = Document(*m_pCatalog, ref);
        CDocumentInfo info;
        pDocument->GetInfo(&info);
        strcpy(info.szDescription, pszText);
        ASSERT_TRUE(pDocument->UpdateInfo(info));
    };
    setDescription(m_tree.aTxt, "zebra");
    setDescription(m_tree.bTxt, "Apple");
    setDescription(m_tree.readme, "mango");
    EXPECT_THAT(SortedRows(m_tree.alpha, { 4102, 1, 1 }),
        ElementsAre("c:\\work\\b.txt", "c:\\docs\\readme.md", "c:\\work\\a.txt"));
    EXPECT_THAT(SortedRows(m_tree.alpha, { 4101, 1, 1 }),
        ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
    // An unknown column leaves the documents in link order, whichever direction.
    EXPECT_THAT(SortedRows(m_tree.alpha, { 4104, 0, 1 }),
        ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
}

TEST_F(CatalogCompareTest, SizesInKilobytesTieWithinAKilobyte)
{
    auto pNode = AddNode(*Root(*m_pCatalog), "Sizes");
    auto addFile = [&](const char* pszName, std::size_t nSize) {
        std::ofstream(HostPath(pszName)) << std::string(nSize, 'x');
        return AddDocument(*m_pCatalog, pNode.get(), ProgramPath(pszName).c_str());
    };
    auto pBig = addFile("big.bin", 1500);
    auto pSmall = addFile("small.bin", 1100);
    EXPECT_GT(SortDocumentItems(pBig.get(), pSmall.get(), { 4103, 1, 0 }), 0);
    EXPECT_EQ(SortDocumentItems(pBig.get(), pSmall.get(), { 4103, 1, 1 }), 0);
    // A descending key turns the comparison round, ties staying ties.
    EXPECT_LT(SortDocumentItems(pBig.get(), pSmall.get(), { 4103, 0, 0 }), 0);
    EXPECT_EQ(SortDocumentItems(pBig.get(), pSmall.get(), { 4103, 0, 1 }), 0);
    EXPECT_LT(SortDocumentItems(pSmall.get(), pBig.get(), { 4101, 0, 1 }), 0);

    CDocumentRecArray documents = pNode->GetFilteredDocuments(nullptr, nullptr);
    SortDocuments(documents, { 4103, 1, 0 });
    EXPECT_EQ(documents.front()->GetRef(), pSmall->GetRef());
}

TEST_F(CatalogCompareTest, FilteredDocumentsComeSorted)
{
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    const CSortSpec byNameDescending { 4101, 0, 1 };
    EXPECT_THAT(Paths(pAlpha->GetFilteredDocuments(&byNameDescending, nullptr)),
        ElementsAre("c:\\docs\\readme.md", "c:\\work\\b.txt", "c:\\work\\a.txt"));
    EXPECT_THAT(Paths(pAlpha->GetDocumentSet(nullptr, nullptr)),
        ElementsAre("c:\\work\\a.txt", "c:\\work\\b.txt", "c:\\docs\\readme.md"));
}

TEST_F(CatalogCompareTest, MissingRecordsAndKeysFailSoft)
{
    auto pAlpha = Node(*m_pCatalog, m_tree.alpha);
    CSortSpec spec { 4101, 1, 1 };
    EXPECT_EQ(
        CompareCatalogRecords(reinterpret_cast<LPARAM>(pAlpha.get()), reinterpret_cast<LPARAM>(pAlpha.get()), 0), 0);
    EXPECT_LT(CompareCatalogRecords(reinterpret_cast<LPARAM>(pAlpha.get()), 0, reinterpret_cast<LPARAM>(&spec)), 0);
}

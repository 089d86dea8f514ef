// A catalog with 50 000 documents in one directory, all linked under one
// node: the document chain and the node's link chain run to thousands of
// blocks, removals leave free slots all along them, and the directory's
// documents are found through its name index.

#include "store/CDirectoryRec.h"
#include "tests/store/CatalogBuilder.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace {

constexpr int COUNT = 50000;
constexpr const char* FOLDER = "c:\\bulk\\";

// Every 50th name is long enough to continue in a location record.
std::string Name(int nDocument)
{
    char szName[32];
    std::snprintf(szName, sizeof(szName), "doc-%05d.txt", nDocument);
    return nDocument % 50 == 0 ? std::string(CDocumentRec::TEXT_SIZE, 'l') + szName : szName;
}

std::string Path(int nDocument)
{
    return FOLDER + Name(nDocument);
}

// The description of a document in a round of additions; every 50th fills its field.
std::string Description(int nDocument, int nRound)
{
    std::string strText = "round " + std::to_string(nRound) + " of " + std::to_string(nDocument);
    if (nDocument % 50 == 0)
        strText.resize(CDocumentRec::MAX_TEXT, 'd');
    return strText;
}

// Removed: every third document; added back: every sixth.
bool IsPresent(int nDocument)
{
    return nDocument % 3 != 0 || nDocument % 6 == 0;
}
int RoundOf(int nDocument)
{
    return nDocument % 6 == 0 ? 1 : 0;
}

class CatalogScaleTest : public CatalogTest {
protected:
    void Add(CCatalog& catalog, CNodeRec& node, int nDocument, int nRound)
    {
        CDocumentInfo info {};
        std::strcpy(info.szDescription, Description(nDocument, nRound).c_str());
        std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddDocument(FOLDER, Name(nDocument).c_str(), &info));
        ASSERT_TRUE(pDocument);
        ASSERT_TRUE(node.AddDocument(pDocument.get()));
    }

    // Every document is found by its path exactly when it is there, with the
    // texts of the round that added it; the node's and the directory's walks
    // list each document there once.
    void ExpectContents(CCatalog& catalog, CNodeRec& node)
    {
        std::set<std::string> expected;
        for (int n = 0; n < COUNT; ++n) {
            std::unique_ptr<CDocumentRec> pDocument(catalog.FindPath(Path(n).c_str()));
            ASSERT_EQ(pDocument != nullptr, IsPresent(n)) << Path(n);
            if (!pDocument)
                continue;
            expected.insert(Name(n));
            CString strText;
            pDocument->GetNameWithLocation(strText);
            ASSERT_EQ(std::string(strText), Description(n, RoundOf(n))) << Path(n);
        }

        std::set<std::string> linked;
        CDocumentRecArray documents = node.GetDocuments();
        for (const auto& pDocument : documents) {
            CString strName;
            pDocument->GetFullPath(strName);
            linked.insert(std::string(strName));
        }
        EXPECT_EQ(documents.size(), expected.size());
        EXPECT_EQ(linked, expected);

        std::unique_ptr<CDirectoryRec> pDirectory(catalog.FindDirectory(FOLDER));
        ASSERT_TRUE(pDirectory);
        EXPECT_EQ(pDirectory->GetDocumentCount(), static_cast<LONG>(expected.size()));
        std::size_t nWalked = 0;
        for (std::unique_ptr<CDocumentRec> p(pDirectory->FirstDocument()); p; p.reset(pDirectory->NextDocument()))
            ++nWalked;
        EXPECT_EQ(nWalked, expected.size());
        EXPECT_TRUE(catalog.CheckInvariants());
    }
};

TEST_F(CatalogScaleTest, FiftyThousandDocumentsInOneDirectoryUnderOneNode)
{
    auto pCatalog = NewMainCatalog();
    auto pRoot = Root(*pCatalog);
    auto pNode = AddNode(*pRoot, "Bulk");
    for (int n = 0; n < COUNT; ++n)
        ASSERT_NO_FATAL_FAILURE(Add(*pCatalog, *pNode, n, 0));
    CATBLOCK nFilled = pCatalog->GetLastBlock();

    for (int n = 0; n < COUNT; n += 3) {
        std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindPath(Path(n).c_str()));
        ASSERT_TRUE(pDocument);
        ASSERT_TRUE(pDocument->ForEachLinkedNode(NO_BLOCK, NO_SLOT, FALSE)); // the last link gone, the document goes
    }
    for (int n = 0; n < COUNT; n += 6)
        ASSERT_NO_FATAL_FAILURE(Add(*pCatalog, *pNode, n, 1));
    // The documents, links and location records added back took freed slots.
    EXPECT_EQ(pCatalog->GetLastBlock(), nFilled);
    ASSERT_NO_FATAL_FAILURE(ExpectContents(*pCatalog, *pNode));
    CRecordRef node = pNode->GetRef();
    pNode.reset();
    pRoot.reset();
    pCatalog.reset();

    auto pReopened = OpenCatalog();
    ASSERT_TRUE(pReopened->IsOpen());
    ExpectContents(*pReopened, *Node(*pReopened, node));
    EXPECT_EQ(m_errors.Count(), 0u);
}

}

#include "store/CCatalogFile.h"

#include "platform/base/WinError.h"
#include "store/CCatalog.h"
#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/store/CatalogBuilder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

/* FindNextRecord: the chain walk that looks at records in place. */

TEST_F(CatalogFileTest, FindNextRecordStopsOnlyAtMatchingRecordsAcrossBlocks)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    // Records are filled with their number plus 1; pick 2, 9 and 20 (three blocks).
    auto isPicked = [](std::span<const BYTE> record) { return record[0] == 2 || record[0] == 9 || record[0] == 20; };
    std::vector<BYTE> found;
    CRecordRef cursor { sample.nDocuments, NO_SLOT };
    while (pFile->FindNextRecord(&cursor, isPicked)) {
        std::vector<BYTE> data(static_cast<std::size_t>(pFile->GetRecordSize(TABLE_DOCUMENT)));
        ASSERT_TRUE(pFile->ReadRecord(cursor, TABLE_DOCUMENT, data));
        found.push_back(data[0]);
    }
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(found, (std::vector<BYTE> { 2, 9, 20 }));
}

TEST_F(CatalogFileTest, FindNextRecordWithoutAMatchLeavesTheCursorAlone)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    CRecordRef cursor { sample.nDocuments, 2 };
    EXPECT_FALSE(pFile->FindNextRecord(&cursor, [](std::span<const BYTE>) { return false; }));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(cursor, (CRecordRef { sample.nDocuments, 2 }));
}

/* Documents by name and by node. */

class CatalogLookupTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_pNode = AddNode(*Root(*m_pCatalog), "Papers");
    }

    std::unique_ptr<CDocumentRec> Find(const std::string& strPath)
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(strPath.c_str()));
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CNodeRec> m_pNode;
};

TEST_F(CatalogLookupTest, FindPathFindsEveryDocumentOfAManyBlockDirectory)
{
    // 30 documents take five blocks of the directory's chain.
    std::vector<CRecordRef> refs;
    for (int n = 0; n < 30; ++n)
        refs.push_back(
            AddDocument(*m_pCatalog, m_pNode.get(), ("c:\\many\\File" + std::to_string(n)).c_str())->GetRef());
    for (int n = 0; n < 30; ++n) {
        auto pFound = Find("C:\\Many\\file" + std::to_string(n));
        ASSERT_TRUE(pFound) << n;
        EXPECT_EQ(pFound->GetRef(), refs[static_cast<std::size_t>(n)]);
    }
    EXPECT_FALSE(Find("c:\\many\\file30"));
    EXPECT_FALSE(Find("c:\\many\\file"));
}

TEST_F(CatalogLookupTest, FindPathComparesTheWholeOfALongName)
{
    // Both names share the 60 bytes the record keeps; the rest lies in location records.
    const std::string strHead(60, 'n');
    auto pFirst = AddDocument(*m_pCatalog, m_pNode.get(), ("c:\\long\\" + strHead + "-first.txt").c_str());
    auto pSecond = AddDocument(*m_pCatalog, m_pNode.get(), ("c:\\long\\" + strHead + "-second.txt").c_str());
    auto pShort = AddDocument(*m_pCatalog, m_pNode.get(), ("c:\\long\\" + strHead).c_str());
    ASSERT_NE(pFirst->GetRef(), pSecond->GetRef());

    auto pFound = Find("c:\\long\\" + strHead + "-second.txt");
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pSecond->GetRef());
    pFound = Find("c:\\long\\" + strHead);
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pShort->GetRef());
    EXPECT_FALSE(Find("c:\\long\\" + strHead + "-third.txt"));
    EXPECT_FALSE(Find("c:\\long\\" + strHead.substr(1)));
}

TEST_F(CatalogLookupTest, FindDocumentByNameSkipsOtherDirectories)
{
    AddDocument(*m_pCatalog, m_pNode.get(), "c:\\one\\same.txt");
    auto pTwo = AddDocument(*m_pCatalog, m_pNode.get(), "c:\\two\\same.txt");
    std::unique_ptr<CDirectoryRec> pDirectory(m_pCatalog->FindDirectory("c:\\two"));
    ASSERT_TRUE(pDirectory);
    std::unique_ptr<CDocumentRec> pFound(pDirectory->FindDocumentByName("SAME.TXT"));
    ASSERT_TRUE(pFound);
    EXPECT_EQ(pFound->GetRef(), pTwo->GetRef());
    EXPECT_FALSE(std::unique_ptr<CDocumentRec>(pDirectory->FindDocumentByName("other.txt")));
}

TEST_F(CatalogLookupTest, ARowReadsItsDocumentButNotItsDirectory)
{
    for (int n = 0; n < 20; ++n)
        AddDocument(*m_pCatalog, m_pNode.get(), ("c:\\folder" + std::to_string(n) + "\\a.txt").c_str());
    // With a cache of one chunk, every move to another pair of blocks is a read.
    m_pNode.reset();
    m_pCatalog = std::make_unique<CCatalog>(ProgramPath("archiv.cat").c_str(), 0, 1);
    CDocumentRecArray rows = AddNode(*Root(*m_pCatalog), "Papers")->GetDocuments();
    ASSERT_EQ(rows.size(), 20u);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        unsigned nReads = m_pCatalog->GetReadCount();
        EXPECT_EQ(rows[n]->GetDirectoryPath(FALSE), ("c:\\folder" + std::to_string(n) + "\\").c_str());
        EXPECT_EQ(m_pCatalog->GetReadCount(), nReads);
    }
}

TEST_F(CatalogLookupTest, GetDocumentsStopsAfterTheCountAskedFor)
{
    for (const char* pszPath : { "c:\\a\\1.txt", "c:\\b\\2.txt", "c:\\a\\3.txt", "c:\\c\\4.txt" })
        AddDocument(*m_pCatalog, m_pNode.get(), pszPath);
    EXPECT_THAT(Paths(m_pNode->GetDocuments(2)), ElementsAre("c:\\a\\1.txt", "c:\\b\\2.txt"));
    EXPECT_THAT(Paths(m_pNode->GetDocuments(0)), IsEmpty());
    EXPECT_EQ(m_pNode->GetDocuments(10).size(), 4u);
    EXPECT_EQ(m_pNode->GetDocuments().size(), 4u);
}

/* AllocateRecord with the record's first contents. */

TEST_F(CatalogFileTest, AllocateRecordWritesInitialContentsInEveryWayASlotIsFound)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    std::vector<BYTE> initial(16, 0xA5);
    // A new chain, a free slot in the links' block, then a block linked after the last.
    CRecordRef first, inBlock, linked;
    ASSERT_TRUE(pFile->AllocateRecord(TABLE_LINK, NO_BLOCK, { sample.nNodes, 0 }, &first, initial));
    ASSERT_TRUE(pFile->AllocateRecord(TABLE_LINK, sample.nLinks, {}, &inBlock, initial));
    EXPECT_EQ(inBlock.nBlock, sample.nLinks);
    std::vector<BYTE> data(260, 0x5A);
    // The documents' chain has one free slot; fill it and one more block of 7.
    for (int n = 0; n < 8; ++n)
        ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, sample.nDocuments, {}, &linked));
    ASSERT_TRUE(pFile->AllocateRecord(TABLE_DOCUMENT, sample.nDocuments, {}, &linked, data));
    EXPECT_EQ(linked.nSlot, 0); // the first slot of a new block
    ASSERT_TRUE(pFile->Release());

    ASSERT_TRUE(pFile->Acquire());
    std::vector<BYTE> read(16);
    for (CRecordRef ref : { first, inBlock }) {
        ASSERT_TRUE(pFile->ReadRecord(ref, TABLE_LINK, read));
        EXPECT_EQ(read, initial);
    }
    read.resize(260);
    ASSERT_TRUE(pFile->ReadRecord(linked, TABLE_DOCUMENT, read));
    EXPECT_EQ(read, data);
    EXPECT_TRUE(pFile->CheckInvariants());
}

TEST_F(CatalogFileTest, AllocateRecordRefusesInitialContentsOfAnotherSize)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    CATBLOCK nLast = pFile->GetLastBlock();
    std::vector<BYTE> wrong(15, 1);
    CRecordRef ref;
    EXPECT_FALSE(pFile->AllocateRecord(TABLE_LINK, sample.nLinks, {}, &ref, wrong));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ReadChain(*pFile, sample.nLinks, TABLE_LINK).size(), 5u);
    EXPECT_EQ(pFile->GetLastBlock(), nLast);
}

TEST_F(CatalogLookupTest, FindOrAddDocumentStoresTheWholeInformationOfANewDocument)
{
    CDocumentInfo info {};
    info.nVersion = 3;
    info.ftCatalogTime = { 7, 9 };
    std::snprintf(info.szDescription, sizeof(info.szDescription), "short");
    std::unique_ptr<CDocumentRec> pPlain(m_pCatalog->FindOrAddDocument("c:\\in", "plain.txt", &info));
    ASSERT_TRUE(pPlain);

    // The longest secondary text, and an expiry date, which needs a link under node 1.
    const std::string strLong(CDocumentRec::MAX_TEXT, 's');
    std::snprintf(info.szSecondary, sizeof(info.szSecondary), "%s", strLong.c_str());
    info.nExpiry = 1000;
    std::unique_ptr<CDocumentRec> pFull(m_pCatalog->FindOrAddDocument("c:\\in", "full.txt", &info));
    ASSERT_TRUE(pFull);

    auto pReopened = Find("c:\\in\\plain.txt");
    ASSERT_TRUE(pReopened);
    CDocumentInfo read;
    pReopened->GetInfo(&read);
    EXPECT_STREQ(read.szName, "plain.txt");
    EXPECT_STREQ(read.szDescription, "short");
    EXPECT_EQ(read.nVersion, 3);
    EXPECT_EQ(read.ftCatalogTime.dwHighDateTime, 9u);
    EXPECT_FALSE(pReopened->HasLinks());

    pReopened = Find("c:\\in\\full.txt");
    ASSERT_TRUE(pReopened);
    CString strSecondary;
    pReopened->GetAltNameWithLocation(strSecondary);
    EXPECT_EQ(std::string(strSecondary), strLong);
    EXPECT_EQ(pReopened->GetExpiry(), 1000);
    CNodeRecArray nodes = pReopened->GetLinkedNodes();
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->GetRef(), (CRecordRef { 1, 0 }));
}

#include "store/CatalogCompaction.h"

#include "store/CDirectoryRec.h"
#include "store/CPreferences.h"
#include "store/CatalogIo.h"
#include "tests/store/CompactionFixture.h"

#include "platform/base/FileFunctions.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class CatalogCompactionFaultTest : public CompactionTest {
protected:
    void SetUp() override
    {
        CompactionTest::SetUp();
        BuildCatalogs(20);
        m_main = FileBytes(MAIN_NAME);
        m_recycle = FileBytes(RECYCLE_NAME);
    }

    BOOL Rebuild() { return RebuildCatalogFiles(MainPath().c_str(), RecyclePath().c_str()); }
    BOOL CompactOpenCatalogs()
    {
        auto pMain = OpenCatalog(MAIN_NAME);
        auto pRecycle = OpenCatalog(RECYCLE_NAME);
        return CompactCatalog(*pMain, *pRecycle, TempMainPath().c_str(), TempRecyclePath().c_str());
    }
    BOOL Replace()
    {
        return ReplaceCatalogFiles(
            TempMainPath().c_str(), TempRecyclePath().c_str(), MainPath().c_str(), RecyclePath().c_str());
    }

    // The originals hold exactly the bytes they held, and no copy is left.
    void ExpectOriginalsUntouched()
    {
        EXPECT_EQ(FileBytes(MAIN_NAME), m_main);
        EXPECT_EQ(FileBytes(RECYCLE_NAME), m_recycle);
        EXPECT_FALSE(Exists("ArchTemp.cat"));
        EXPECT_FALSE(Exists("ArchTemp.rec"));
    }

    // The byte offset of a node record's field in the main catalog.
    std::int64_t NodeFieldOffset(CRecordRef node, int nField) const
    {
        return BlockOffset(node.nBlock) + BLOCK_HEADER_SIZE + SlotCount(CNodeRec::RECORD_SIZE)
            + std::int64_t { node.nSlot } * CNodeRec::RECORD_SIZE + nField;
    }
    CRecordRef FindAlpha()
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog.get()));
        std::unique_ptr<CNodeRec> pProjects(pRoot->FindChildByName("Projects"));
        std::unique_ptr<CNodeRec> pAlpha(pProjects->FindChildByName("Alpha"));
        return pAlpha->GetRef();
    }

    std::vector<BYTE> m_main;
    std::vector<BYTE> m_recycle;
};

} // namespace

TEST_F(CatalogCompactionFaultTest, DamagedSourceAbortsWithOriginalsUntouched)
{
    CRecordRef alpha = FindAlpha();
    CATBLOCK nWorkDocuments = NO_BLOCK;
    CRecordRef work;
    {
        auto pCatalog = OpenCatalog(MAIN_NAME);
        std::unique_ptr<CDirectoryRec> pWork(pCatalog->FindDirectory("c:\\work\\"));
        ASSERT_TRUE(pWork);
        nWorkDocuments = pWork->GetDocumentBlock();
        work = pWork->GetRef();
        // Another directory follows it in its block, whose highest used slot then stays.
        std::unique_ptr<CDirectoryRec> pDocs(pCatalog->FindDirectory("c:\\docs\\"));
        ASSERT_TRUE(pDocs && pDocs->GetBlock() == work.nBlock && pDocs->GetSlot() > work.nSlot);
    }
    const std::vector<std::pair<const char*, std::function<void()>>> damages {
        { "a node's child chain belongs to its parent",
            [&] { PokeLong(NodeFieldOffset(alpha, CNodeRec::OFF_CHILD_BLOCK), alpha.nBlock, MAIN_NAME); } },
        { "a node's link chain is a block of documents",
            [&] { PokeLong(NodeFieldOffset(alpha, CNodeRec::OFF_LINK_BLOCK), nWorkDocuments, MAIN_NAME); } },
        { "a document block has a bad slot flag",
            [&] { PokeByte(BlockOffset(nWorkDocuments) + BLOCK_HEADER_SIZE + 3, 0x42, MAIN_NAME); } },
        { "a directory whose documents are linked is marked free",
            [&] { PokeByte(BlockOffset(work.nBlock) + BLOCK_HEADER_SIZE + work.nSlot, SLOT_FREE, MAIN_NAME); } },
        { "a node's child chain points past the file",
            [&] { PokeLong(NodeFieldOffset(alpha, CNodeRec::OFF_CHILD_BLOCK), 1 << 20, MAIN_NAME); } },
    };
    for (const auto& [pszDamage, damage] : damages) {
        SCOPED_TRACE(pszDamage);
        WriteFileBytes(m_main, MAIN_NAME);
        damage();
        m_main = FileBytes(MAIN_NAME);
        std::size_t nReports = m_errors.Count();

        EXPECT_FALSE(Rebuild());
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
        EXPECT_GT(m_errors.Count(), nReports);
        ExpectOriginalsUntouched();
    }
}

TEST_F(CatalogCompactionFaultTest, WriteFailureAtAnyPointLeavesOriginals)
{
    std::string strBefore = SnapshotBoth();
    int nFailures = 0;
    for (int nWrite = 1;; ++nWrite) {
        SCOPED_TRACE(nWrite);
        SetCatalogWriteFailure(nWrite);
        BOOL bRebuilt = Rebuild();
        SetCatalogWriteFailure(0);
        if (bRebuilt)
            break;
        ++nFailures;
        // The failed write, or a write after it that the copy then refused.
        DWORD dwError = GetLastError();
        EXPECT_TRUE(dwError == ERROR_WRITE_FAULT || dwError == ERROR_WRITE_PROTECT) << dwError;
        ExpectOriginalsUntouched();
        ASSERT_LT(nWrite, 1000000);
    }
    EXPECT_GT(nFailures, 4);
    EXPECT_EQ(SnapshotBoth(), strBefore);
}

TEST_F(CatalogCompactionFaultTest, ReplaceRefusesAReadOnlyOriginal)
{
    ASSERT_TRUE(CompactOpenCatalogs());
    ASSERT_TRUE(SetFileAttributes(RecyclePath().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(Replace());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(SetFileAttributes(RecyclePath().c_str(), FILE_ATTRIBUTE_NORMAL));
    ExpectOriginalsUntouched();
}

TEST_F(CatalogCompactionFaultTest, ReplaceRefusesMissingOrUnreadableCopies)
{
    EXPECT_FALSE(Replace()); // no copies at all
    ExpectOriginalsUntouched();

    ASSERT_TRUE(CompactOpenCatalogs());
    std::vector<BYTE> garbage(4096, 0x5A);
    WriteFileBytes(garbage, "ArchTemp.cat");
    EXPECT_FALSE(Replace());
    ExpectOriginalsUntouched();

    ASSERT_TRUE(CompactOpenCatalogs());
    std::vector<BYTE> copy = FileBytes("ArchTemp.rec");
    copy.resize(copy.size() / 2); // a copy cut short: its header counts blocks it lacks
    WriteFileBytes(copy, "ArchTemp.rec");
    EXPECT_FALSE(Replace());
    ExpectOriginalsUntouched();
}

TEST_F(CatalogCompactionFaultTest, UnopenedCatalogIsRefused)
{
    auto pMain = OpenCatalog(MAIN_NAME);
    CCatalog missing(ProgramPath("nothing.cat").c_str(), 0);
    ASSERT_FALSE(missing.IsOpen());
    EXPECT_FALSE(CompactCatalog(*pMain, missing, TempMainPath().c_str(), TempRecyclePath().c_str()));
    EXPECT_FALSE(Exists("ArchTemp.cat"));
    EXPECT_FALSE(Exists("ArchTemp.rec"));
}

#include "store/CCatalogFile.h"

#include "store/CatalogIo.h"
#include "store/CatalogJournal.h"
#include "tests/store/CatalogFixture.h"
#include "tests/store/FlushCounter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class CCatalogFileJournalTest : public CatalogFileTest {
protected:
    bool JournalExists(const std::string& strName = "test.cat") const
    {
        return std::filesystem::exists(HostPath(strName + ".jnl"));
    }
    // Leaves a batch in the journal that the file lacks: its writing in place fails.
    void LeaveBatchInJournal(CCatalogFile& file, const SampleCatalog& sample, BYTE bFill)
    {
        file.BeginAction();
        AddRecord(file, TABLE_LINK, sample.nLinks, bFill);
        SetCatalogWriteFailure(2);
        EXPECT_TRUE(file.EndAction()); // the journal took it
        SetCatalogWriteFailure(0);
        ASSERT_FALSE(file.IsWritable());
        file.Release();
        ASSERT_TRUE(JournalExists());
    }
};

} // namespace

TEST_F(CCatalogFileJournalTest, AnActionReachesTheFileWholeWithOneFlushOfTheJournal)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    const std::vector<BYTE> before = FileBytes();
    const std::string strJournal = ProgramPath("test.cat.jnl");
    CFlushCounter flushes;

    pFile->BeginAction();
    for (BYTE bFill = 1; bFill <= 40; ++bFill)
        AddRecord(*pFile, TABLE_DOCUMENT, sample.nDocuments, bFill); // new blocks too
    ASSERT_TRUE(pFile->SetHeaderLinks(3, 4));
    EXPECT_EQ(FileBytes(), before); // nothing reaches the file before the action ends
    EXPECT_TRUE(flushes.m_flushes.empty());
    ASSERT_TRUE(pFile->EndAction());
    EXPECT_EQ(flushes.m_flushes[strJournal], 1);
    std::vector<std::vector<BYTE>> records = ReadAll(*pFile);
    ASSERT_TRUE(pFile->Release());
    EXPECT_FALSE(JournalExists()); // a clean close removes it

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(ReadAll(*pReopened), records);
    EXPECT_EQ(pReopened->GetHeaderLink(0), 3);
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
}

TEST_F(CCatalogFileJournalTest, ABatchTheFileLacksIsReplayedAtTheNextOpening)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    std::vector<BYTE> lacking = FileBytes();

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_GT(pReopened->GetReplayedBatches(), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_NE(FileBytes(), lacking);
    std::vector<std::vector<BYTE>> links = ReadChain(*pReopened, sample.nLinks, TABLE_LINK);
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links.back(), std::vector<BYTE>(16, 0x5A));
    EXPECT_TRUE(pReopened->CheckInvariants());
    EXPECT_EQ(m_errors.Count(), 0u);
}

TEST_F(CCatalogFileJournalTest, AJournalOfAnotherFileIsDroppedUnread)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    // A file made the same way but another takes the name, as a restore
    // would rename it there, while the journal lies beside it.
    auto pOther = NewCatalog("other.cat");
    BuildSample(*pOther);
    pOther->Release();
    std::filesystem::rename(HostPath("other.cat"), HostPath("test.cat"));
    const std::vector<BYTE> other = FileBytes();

    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
    EXPECT_FALSE(JournalExists());
    EXPECT_EQ(FileBytes(), other);
}

TEST_F(CCatalogFileJournalTest, ABackupOfAClosedCatalogSettlesItsJournalFirst)
{
    auto pFile = NewCatalog();
    SampleCatalog sample = BuildSample(*pFile);
    LeaveBatchInJournal(*pFile, sample, 0x5A);
    ASSERT_TRUE(SettleCatalogJournal(ProgramPath("test.cat").c_str()));
    EXPECT_FALSE(JournalExists());
    auto pReopened = OpenObject();
    ASSERT_TRUE(pReopened->Acquire());
    EXPECT_EQ(pReopened->GetReplayedBatches(), 0);
    EXPECT_EQ(ReadChain(*pReopened, sample.nLinks, TABLE_LINK).back(), std::vector<BYTE>(16, 0x5A));
}

TEST_F(CCatalogFileJournalTest, AnActionTooLargeForOneBatchIsCommittedInParts)
{
    auto pFile = NewCatalog();
    BuildSample(*pFile);
    const std::string strJournal = ProgramPath("test.cat.jnl");
    CFlushCounter flushes;
    pFile->BeginAction();
    CATBLOCK nFirst = pFile->GetLastBlock() + 1;
    while (pFile->GetLastBlock() < nFirst + CCatalogFile::MAX_BATCH_BLOCKS) {
        CATBLOCK nBlock = NO_BLOCK;
        ASSERT_TRUE(pFile->NewChain(TABLE_KEYWORD, {}, &nBlock));
    }
    const int nInside = flushes.m_flushes[strJournal];
    EXPECT_GE(nInside, 1);
    ASSERT_TRUE(pFile->EndAction());
    EXPECT_GT(flushes.m_flushes[strJournal], nInside);
    EXPECT_TRUE(pFile->CheckInvariants());
}
